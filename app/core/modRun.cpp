#include "core/modRun.h"

#include "common/datetext.h"
#include "common/numbers.h"
#include "common/vberror.h"
#include "dao/oledate.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace modRun {

using forms::MsgBox;

namespace {

const QString Monate[12] = {
    QStringLiteral("Januar"),    QStringLiteral("Februar"), QStringLiteral("März"),     QStringLiteral("April"),
    QStringLiteral("Mai"),       QStringLiteral("Juni"),    QStringLiteral("Juli"),     QStringLiteral("August"),
    QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember"),
};

// "Freistag" is the program's own spelling and stays.
const QString Wochentage[7] = {
    QStringLiteral("Sonntag"),    QStringLiteral("Montag"),   QStringLiteral("Dienstag"), QStringLiteral("Mittwoch"),
    QStringLiteral("Donnerstag"), QStringLiteral("Freistag"), QStringLiteral("Samstag"),
};

const QString MonatZeile2 = QStringLiteral("Bitte ändern Sie den Datensatz um diesen fehler zu vermeiden !");

bool ziffer(int k)
{
    return k >= '0' && k <= '9';
}

int verweigere()
{
    forms::Beep();
    return 0;
}

} // namespace

// ---- message boxes -------------------------------------------------------------------------

void ZeigeDSFehlt()
{
    MsgBox(QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !"),
           forms::vbOKOnly + forms::vbCritical, Titel);
}

void ZeigeKeineDSGefunden()
{
    MsgBox(QStringLiteral("Keine passenden Datensätze gefunden, bitte versuchen Sie es erneut!"),
           forms::vbOKOnly + forms::vbInformation, Titel);
}

void ZeigeEingabeFehler(const QStringList &felder)
{
    QString text = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
    if (!felder.isEmpty())
        text += Umbruch + Umbruch + QStringLiteral("Bitte prüfen: ") + felder.join(QStringLiteral(", "));
    MsgBox(text, forms::vbOKOnly + forms::vbInformation, Titel);
}

bool MeldePruefung(Pruefung ergebnis, const QStringList &felder)
{
    if (ergebnis == Pruefung::Ungueltig)
        ZeigeEingabeFehler(felder);
    return ergebnis == Pruefung::Gueltig;
}

void ZeigeKeinZugriff()
{
    MsgBox(QStringLiteral("Sie haben keine Zugriffsberechtigung auf diese Funktion !"),
           forms::vbOKOnly + forms::vbInformation, Titel);
}

// ---- converters ----------------------------------------------------------------------------

double ErmittleDatum(const QString &text)
{
    // Day, month and year separated by full stops; a two-digit year is 1930-2029 (fullYear).
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,2})\\.(\\d{1,2})\\.(\\d{2}|\\d{4})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return KeinDatum;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year = datetext::fullYear(year);
    const QDate date(year, m.captured(2).toInt(), m.captured(1).toInt());
    if (!date.isValid())
        return KeinDatum;
    return dao::ToOleDate(date);
}

double ErmittleDatum(const QLineEdit &box)
{
    return ErmittleDatum(box.text());
}

QString ErmittleDatumTextOhneNull(const QVariant &field)
{
    return !field.isValid() || field.isNull() ? QString() : ErmittleDatumText(field);
}

QString ErmittleDatumText(const QVariant &field)
{
    if (!field.isValid() || field.isNull())
        throw vb::Error(94, QStringLiteral("Unzulässige Verwendung von Null"));
    QDate date;
    switch (field.typeId()) {
    case QMetaType::QDate: date = field.toDate(); break;
    case QMetaType::QDateTime: date = field.toDateTime().date(); break;
    default: {
        bool ok = false;
        const double ole = field.toDouble(&ok);
        if (!ok)
            throw vb::Error(13, QStringLiteral("Typen unverträglich"));
        if (ole == KeinDatum)
            return QString();
        date = dao::OleDateToDate(ole);
        if (!date.isValid())
            throw vb::Error(6, QStringLiteral("Überlauf"));
    }
    }
    // The day KeinDatum stands for (a time on it too) reads as no date.
    return datetext::date(date, datetext::DayZero::Empty);
}

bool ErmittleChkWert(const QCheckBox &box)
{
    return box.checkState() == Qt::Checked;
}

int SetzeChkWert(const QVariant &field)
{
    if (!field.isValid() || field.isNull())
        return 0;
    if (field.typeId() == QMetaType::Bool)
        return field.toBool() ? 1 : 0;
    bool ok = false;
    const double v = field.toDouble(&ok);
    return ok && v != 0.0 ? 1 : 0;
}

bool ErmittleOptWert(const QRadioButton &button)
{
    return button.isChecked();
}

// ---- names ---------------------------------------------------------------------------------

QString ErmittleMonatsname(int monat)
{
    if (monat >= 1 && monat <= 12)
        return Monate[monat - 1];
    MsgBox(QStringLiteral("FEHLER: Monatsbezeichnung fehlerhaft ! Es wird Standartmonat - Januar - eingesetzt.") +
               Umbruch + MonatZeile2,
           forms::vbOKOnly + forms::vbCritical, Titel);
    return Monate[0];
}

int ErmittleMonatsNr(const QString &name)
{
    for (int i = 0; i < 12; ++i)
        if (name == Monate[i])
            return i + 1;
    MsgBox(QStringLiteral("FEHLER: Monatsbezeichnung fehlerhaft ! Es wird Standartmonat - 1 - eingesetzt.") + Umbruch +
               MonatZeile2,
           forms::vbOKOnly + forms::vbCritical, Titel);
    return 1;
}

QString ErmittleWochentag(int tag)
{
    if (tag >= 1 && tag <= 7)
        return Wochentage[tag - 1];
    return QString();
}

// ---- key filters ---------------------------------------------------------------------------

int PruefeTasteZahl(int &KeyAscii)
{
    const int k = KeyAscii;
    if (ziffer(k) || k == forms::vbKeyBack || k == forms::vbKeyReturn)
        return k;
    return verweigere();
}

int PruefeTasteKomma(int &KeyAscii)
{
    const int k = KeyAscii;
    if (ziffer(k) || k == forms::vbKeyBack || k == forms::vbKeyReturn || k == ',')
        return k;
    return verweigere();
}

int PruefeTasteTel(int &KeyAscii)
{
    const int k = KeyAscii;
    if (ziffer(k) || k == forms::vbKeyBack || k == '-' || k == ' ')
        return k;
    KeyAscii = 0;
    return verweigere();
}

int PruefeTasteDatum(int &KeyAscii)
{
    const int k = KeyAscii;
    if (ziffer(k) || k == forms::vbKeyBack || k == '.')
        return k;
    return verweigere();
}

int PruefeTasteSuch(int &KeyAscii)
{
    // Every letter, not only a to z: names hold umlauts, "ß" and letters such as "Ł" or "č".
    const int k = KeyAscii;
    if (ziffer(k) || (k > 0 && QChar::isLetter(char32_t(k))) || k == forms::vbKeyBack || k == '*' || k == ' ')
        return k;
    return verweigere();
}

// ---- list grids ----------------------------------------------------------------------------

void SetzeTblFarben(forms::GridAppearance &appearance)
{
    appearance.setBackColor(0xFFFFFF);
    appearance.setForeColor(0);
    appearance.setGridLines(1);
}

void AktualisiereTbl(forms::GridList &list, const forms::GridColumn &suchSpalte, int spalte, const QString &wert,
                     const QString &modus, const QString &schluessel)
{
    if (modus == QLatin1String("LOESCHEN")) {
        // The rows below a removed one move up: search again from the removed row's place.
        for (int p = suchSpalte.find(wert, -1); p >= 0; p = suchSpalte.find(wert, p - 1))
            list.removeRow(p);
    }
    if (modus == QLatin1String("UPDATE")) {
        // Search on after the updated row, so an unchanged value is written once per row.
        for (int p = suchSpalte.find(schluessel, -1); p >= 0; p = suchSpalte.find(schluessel, p))
            list.setText(p, spalte, wert);
    }
}

void AktualisiereTbl(forms::ListGrid &grid, const forms::GridColumn &suchSpalte, int spalte, const QString &wert,
                     const QString &modus, const QString &schluessel)
{
    AktualisiereTbl(grid.current(), suchSpalte, spalte, wert, modus, schluessel);
}

// ---- figures and dates ---------------------------------------------------------------------

double Runde(double wert, int stellen)
{
    return numbers::roundHalfAway(wert, stellen);
}

QString FormatZahl(double wert)
{
    const double gerundet = Runde(wert, 2);
    if (std::fabs(gerundet) < 1e13) {
        // The cents written digit by digit: what the general formatting below writes for them.
        const long long cent = std::llround(gerundet * 100);
        const unsigned long long betrag = static_cast<unsigned long long>(cent < 0 ? -cent : cent);
        char16_t ziffern[24];
        int n = 0;
        ziffern[n++] = char16_t(u'0' + betrag % 10);
        ziffern[n++] = char16_t(u'0' + betrag / 10 % 10);
        ziffern[n++] = u',';
        unsigned long long ganz = betrag / 100;
        do {
            ziffern[n++] = char16_t(u'0' + ganz % 10);
            ganz /= 10;
        } while (ganz > 0);
        if (cent < 0)
            ziffern[n++] = u'-';
        std::reverse(ziffern, ziffern + n);
        return QString(reinterpret_cast<const QChar *>(ziffern), n);
    }
    QString text = QString::number(gerundet, 'f', 2);
    if (text == QLatin1String("-0.00"))
        text = QStringLiteral("0.00");
    text.replace(u'.', u',');
    return text;
}

bool IstName(const QString &text)
{
    return !text.trimmed().isEmpty() && IstFeldtext(text);
}

bool IstFeldtext(QStringView text, bool mehrzeilig)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        if (c.isSurrogate())
            return false;
        if (c.category() == QChar::Other_Control && !(mehrzeilig && (c == u'\n' || c == u'\t')))
            return false;
    }
    return true;
}

double LeseZahl(const QString &text, bool *ok)
{
    static const QRegularExpression form(QStringLiteral("^\\s*-?(\\d+(,\\d*)?|,\\d+)\\s*$"));
    if (!form.match(text).hasMatch()) {
        if (ok)
            *ok = false;
        return 0.0;
    }
    QString c = text.trimmed();
    c.replace(u',', u'.');
    bool good = false;
    const double v = c.toDouble(&good);
    if (ok)
        *ok = good;
    return good ? v : 0.0;
}

} // namespace modRun
