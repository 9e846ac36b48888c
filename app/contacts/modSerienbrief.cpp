// modKontakt: the serial-letter file SERI.txt of the expanded categories, and the form letters
// made from it for the word processor.
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "common/savefile.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "office/office.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>

#include <algorithm>
#include <exception>

namespace modKontakt {

namespace {

const QStringList Kopf = {
    QStringLiteral("Mitgl.-Nr"),
    QStringLiteral("Firma"),
    QStringLiteral("Anrede"),
    QStringLiteral("Nachname"),
    QStringLiteral("Vorname"),
    QStringLiteral("Strasse"),
    QStringLiteral("PLZ"),
    QStringLiteral("Ort"),
    QStringLiteral("Telefon [privat]"),
    QStringLiteral("Telefon [geschftl.]"),
    QStringLiteral("Fax"),
    QStringLiteral("Mobil"),
    QStringLiteral("Geb.-Datum"),
    QStringLiteral("Eintritt"),
    QStringLiteral("EMail"),
};

const QString Uebergangen = QStringLiteral("Kategorie wird daher bei der Erzeugung der Serienbriefdatei übergangen !");

void info(const QString &text)
{
    forms::MsgBox(text, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
}

QString ohneEndblanks(const QVariant &v)
{
    QString s = v.toString();
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    s.truncate(n);
    return s;
}

QString datum(const QVariant &v)
{
    return modRun::ErmittleDatumTextOhneNull(v);
}

long long anzahl(dao::Sql sql, const QVariantList &params)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenForwardOnly, params);
    const QVariant n = rs(QStringLiteral("Expr1000")).Value();
    rs.Close();
    return n.isNull() ? 0 : n.toLongLong();
}

// The critical box for a file of the letters that could not be written, with the cause.
void zeigeSchreibfehler(const QString &pfad, const QString &grund)
{
    forms::MsgBox(QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - ") +
                      QFileInfo(pfad).fileName() + QStringLiteral(" - auf !") + modRun::Umbruch + grund,
                  forms::vbOKOnly + forms::vbCritical, modRun::Titel);
}

// Whether Windows-1252 holds every character of text (SERI.txt is written in it).
bool passtInCodepage(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            continue;
        if (office::toWindows1252(QString(c)) == "?")
            return false;
    }
    return true;
}

// What was written to SERI.txt: its records as stored (header first), for the letters, and the
// contacts whose letters the file could not hold whole.
struct Geschrieben
{
    QList<QStringList> saetze;
    QStringList verlustig; // "Nr. KNr: Nachname, Vorname"
};

// One line per record, read forward as SQLite hands the rows out; mitEintritt: the query has
// Mitglied's Eintritt as its 14th column.
void schreibe(office::DelimitedFile &datei, dao::Sql sql, const QVariantList &params, bool mitEintritt, Geschrieben &g)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenForwardOnly, params);
    QStringList z;
    z.reserve(15);
    for (; !rs.Eof(); rs.MoveNext()) {
        z.clear();
        const QVariant knr = rs(0).Value();
        z << (knr.isNull() ? QString() : QString::number(knr.toLongLong()));
        for (int i = 1; i <= 11; ++i)
            z << ohneEndblanks(rs(i).Value());
        z << datum(rs(12).Value());
        z << (mitEintritt ? datum(rs(13).Value()) : QString());
        z << ohneEndblanks(rs(mitEintritt ? 14 : 13).Value());
        datei.writeRow(z);
        if (!std::all_of(z.cbegin(), z.cend(), passtInCodepage))
            g.verlustig << QStringLiteral("Nr. ") + z[0] + QStringLiteral(": ") + z[3] + QStringLiteral(", ") + z[4];
        g.saetze << z;
    }
    rs.Close();
}

// The box that names the contacts whose letters SERI.txt could not hold whole.
void meldeVerluste(const QStringList &verlustig)
{
    constexpr qsizetype Hoechstens = 15;
    QString liste = verlustig.mid(0, Hoechstens).join(modRun::Umbruch);
    if (verlustig.size() > Hoechstens)
        liste += modRun::Umbruch + QStringLiteral("... und %1 weitere").arg(verlustig.size() - Hoechstens);
    forms::MsgBox(QStringLiteral("ACHTUNG: Die Datei - SERI.txt - ist im Zeichensatz Windows-1252 geschrieben, der "
                                 "nicht alle Buchstaben kennt. Bei folgenden Kontakten steht dort ein \"?\" an Stelle "
                                 "eines Buchstabens:") +
                      modRun::Umbruch + liste + modRun::Umbruch +
                      QStringLiteral("Die Serienbriefe von Torvana zeigen die Namen vollständig."),
                  forms::vbOKOnly + forms::vbExclamation, modRun::Titel);
}

// The address block of one letter, line by line, from a record of SERI.txt.
QStringList adressblock(const QStringList &kopf, const QStringList &satz)
{
    auto feld = [&](const char *name) {
        const qsizetype i = kopf.indexOf(QString::fromLatin1(name));
        return i >= 0 && i < satz.size() ? satz[i] : QString();
    };
    return {QStringLiteral("An"), feld("Firma"), feld("Anrede") + u' ' + feld("Vorname") + u' ' + feld("Nachname"),
            feld("Strasse"),      QString(),     feld("PLZ") + u' ' + feld("Ort")};
}

} // namespace

QString SeriDateiPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/SERI.txt");
}

QString SerienbriefPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/SERI.odt");
}

void ErzeugeSeriDatei()
{
    QString grund;
    if (!modStart::SichereOrdnerFuer(SeriDateiPfad(), &grund)) {
        zeigeSchreibfehler(SeriDateiPfad(), grund);
        return;
    }
    Geschrieben geschrieben;
    geschrieben.saetze << Kopf;
    try {
        office::DelimitedFile datei(SeriDateiPfad());
        datei.open();
        datei.writeRow(Kopf);
        const forms::GridList &top = forms::form<KontaktUebers>().tblKUebers->top();
        for (int r = 0; r < top.rowCount(); ++r) {
            if (top.text(r, 1) != QLatin1String("-"))
                continue; // collapsed
            const qlonglong nr = top.value(r, 0).toLongLong();
            if (nr == 1 || nr == 2) {
                const QString name = nr == 1 ? QStringLiteral("aktiv") : QStringLiteral("passiv");
                const long long n = nr == 1 ? anzahl("SELECT COUNT(k.KNr) AS Expr1000 FROM Kontakt k, Mitglied m "
                                                     "WHERE k.KNr = m.KNr AND k.KategoNr = 1",
                                                     {})
                                            : anzahl("SELECT COUNT(k.KNr) AS Expr1000 FROM Kontakt k, Mitglied m "
                                                     "WHERE k.KNr = m.KNr AND k.KategoNr = 2",
                                                     {});
                if (n == 0) {
                    info(QStringLiteral("ACHTUNG: Kategorie - Mitglieder (") + name +
                         QStringLiteral(") - enthält noch keine Mitgliederdaten !") + modRun::Umbruch + Uebergangen);
                    continue;
                }
                if (nr == 1)
                    schreibe(datei,
                             "SELECT k.KNr, k.Firma, k.Anrede, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, "
                             "k.Tel2, k.Fax, k.Mobil, k.GebDatum, m.Eintritt, k.EMail FROM Kontakt k, Mitglied m "
                             "WHERE k.KNr = m.KNr AND k.KategoNr = 1",
                             {}, true, geschrieben);
                else
                    schreibe(datei,
                             "SELECT k.KNr, k.Firma, k.Anrede, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, "
                             "k.Tel2, k.Fax, k.Mobil, k.GebDatum, m.Eintritt, k.EMail FROM Kontakt k, Mitglied m "
                             "WHERE k.KNr = m.KNr AND k.KategoNr = 2",
                             {}, true, geschrieben);
                continue;
            }
            if (anzahl("SELECT COUNT(k.KNr) AS Expr1000 FROM Kontakt k WHERE k.KategoNr = ?", {nr}) == 0) {
                info(QStringLiteral("ACHTUNG: Kontakt - Kategorie - ") + ErmittleKategoName(qint32(nr)) +
                     QStringLiteral(" - enthält noch keine Kontaktdaten !") + modRun::Umbruch + Uebergangen);
                continue;
            }
            schreibe(datei,
                     "SELECT k.KNr, k.Firma, k.Anrede, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, k.Tel2, "
                     "k.Fax, k.Mobil, k.GebDatum, k.EMail FROM Kontakt k WHERE k.KategoNr = ?",
                     {nr}, false, geschrieben);
        }
        datei.commit();
    } catch (const std::exception &) {
        // The file is left as it was before (or absent): nothing half written. The box says
        // what stood in the way.
        zeigeSchreibfehler(SeriDateiPfad(), modStart::Schreibhindernis(SeriDateiPfad()));
        return;
    }
    info(modStart::ErstelltMeldung(QString(), SeriDateiPfad()));
    if (!geschrieben.verlustig.isEmpty())
        meldeVerluste(geschrieben.verlustig);
    const int antwort = forms::MsgBox(
        QStringLiteral(
            "Möchten Sie jetzt Word starten ? Dabei wird Ihnen von Torvana automatisch ein Std.- Serienbrief "
            "Dokument") +
            modRun::Umbruch + QStringLiteral("erstellt. Möchten Sie Word starten um einen Seriendruck zu erstellen ? "),
        forms::vbYesNo, modRun::Titel);
    if (antwort == forms::vbYes)
        StarteWordSerienbrief(geschrieben.saetze);
}

bool ErstelleSerienbriefe(const QString &seriPfad, const QString &dokumentPfad, int *briefe)
{
    QFile quelle(seriPfad);
    if (!quelle.open(QIODevice::ReadOnly))
        return false;
    const QList<QStringList> saetze = office::parseDelimited(office::fromWindows1252(quelle.readAll()));
    quelle.close();
    return ErstelleSerienbriefe(saetze, dokumentPfad, briefe);
}

bool ErstelleSerienbriefe(const QList<QStringList> &saetze, const QString &dokumentPfad, int *briefe)
{
    if (saetze.isEmpty())
        return false;
    const QStringList &kopf = saetze.first();

    QTextDocument dokument;
    QTextCursor c(&dokument);
    int n = 0;
    for (qsizetype s = 1; s < saetze.size(); ++s) {
        if (saetze[s].isEmpty() || (saetze[s].size() == 1 && saetze[s][0].isEmpty()))
            continue; // an empty line is no record
        const QStringList zeilen = adressblock(kopf, saetze[s]);
        for (qsizetype z = 0; z < zeilen.size(); ++z) {
            QTextBlockFormat format;
            if (z == 0 && n > 0)
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            if (z == 0 && n == 0)
                c.setBlockFormat(format);
            else
                c.insertBlock(format);
            c.insertText(zeilen[z]);
        }
        ++n;
    }
    if (briefe)
        *briefe = n;
    if (n == 0)
        return true;

    // The package is built in memory (the writer closes its device when done), then written
    // under a temporary name and renamed.
    QBuffer paket;
    paket.open(QIODevice::WriteOnly);
    QTextDocumentWriter writer(&paket, QByteArrayLiteral("odf"));
    if (!writer.write(&dokument))
        return false;
    // The letters carry members' addresses: the owner's alone.
    return savefile::writeWhole(dokumentPfad, paket.data(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void StarteWordSerienbrief(const QList<QStringList> &saetze)
{
    // Each step depends on the one before: the first that fails says so once and ends.
    int briefe = 0;
    if (!ErstelleSerienbriefe(saetze, SerienbriefPfad(), &briefe)) {
        zeigeSchreibfehler(SerienbriefPfad(), modStart::Schreibhindernis(SerienbriefPfad()));
        return;
    }
    if (briefe == 0) {
        info(QStringLiteral("Die Datei - SERI.txt - enthält keine Adressen, es wurde kein Serienbrief erstellt !"));
        return;
    }
    if (!office::Office().Open(office::Program::WordProcessor, SerienbriefPfad()))
        info(QStringLiteral("Es ist kein Word verfügbar !"));
}

} // namespace modKontakt
