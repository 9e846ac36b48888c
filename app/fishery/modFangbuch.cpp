#include "fishery/modFangbuch.h"
#include "fishery/Fangbuch.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/listgrid.h"
#include "forms/statusbar.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <type_traits>

namespace modFangbuch {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modFangbuch");

// The entry of the window's fields, checked and resolved to numbers.
struct Eingabe
{
    int jahr = 0;
    int monat = 0;
    qint32 fischNr = 0;
    qint32 gNr = 0;
    QString notiz;
    qint32 anzahl = 0;
    qint32 gewicht = 0;
};

// A whole number of up to nine digits (so that it fits the column), nothing else.
bool ganzeZahl(const QString &text, qint32 &wert)
{
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,9}$"));
    if (!ziffern.match(text).hasMatch())
        return false;
    wert = text.toInt();
    return true;
}

// The month field: one or two digits, 1 to 12.
bool monatsZahl(const QString &text, int &monat)
{
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,2}$"));
    if (!ziffern.match(text).hasMatch())
        return false;
    monat = text.toInt();
    return monat >= 1 && monat <= 12;
}

using modRun::Pruefung;

// Reads and checks the fields; shows no message of its own. An unknown species or water is
// refused here, so that no catch is stored with 0 in its place. falsch receives the captions of
// the empty or wrong fields, in the order of entry.
Pruefung leseEingabe(const Fangbuch &f, Eingabe &e, QStringList &falsch)
{
    bool jahrOk = false;
    e.jahr = f.cboFJahr->currentText().toInt(&jahrOk);
    if (!jahrOk)
        falsch << QStringLiteral("Fangjahr");
    // A lookup that fails (a database in use by another program) is no wrong input.
    bool fehler = false;
    const QString fisch = f.cboFArt->currentText();
    e.fischNr = fisch.isEmpty() ? 0 : ErmittleFischNr(fisch, &fehler);
    if (fehler)
        return Pruefung::Fehler;
    if (e.fischNr == 0)
        falsch << QStringLiteral("Fischart");
    const QString gewaesser = f.cboGName->currentText();
    e.gNr = gewaesser.isEmpty() ? 0 : ErmittleGewaesserNr(gewaesser, &fehler);
    if (fehler)
        return Pruefung::Fehler;
    if (e.gNr == 0)
        falsch << QStringLiteral("Gewässer");
    if (!monatsZahl(f.txtMonNr->text(), e.monat))
        falsch << QStringLiteral("Fangmonat");
    if (!ganzeZahl(f.txtAnzahl->text(), e.anzahl))
        falsch << QStringLiteral("Anzahl");
    if (!ganzeZahl(f.txtGewicht->text(), e.gewicht))
        falsch << QStringLiteral("Gewicht");
    e.notiz = f.txtNotiz->text();
    if (!modRun::IstFeldtext(e.notiz))
        falsch << QStringLiteral("Notizen");
    return falsch.isEmpty() ? Pruefung::Gueltig : Pruefung::Ungueltig;
}

// The fields checked; false after the input-error box, which names the fields to correct, or a
// failed lookup's box.
bool pruefe(const Fangbuch &f, Eingabe &e)
{
    QStringList falsch;
    const Pruefung ergebnis = leseEingabe(f, e, falsch);
    return modRun::MeldePruefung(ergebnis, falsch);
}

// The grid row of a stored catch, with the stored names.
QVariantList gridZeile(qlonglong nr, const Eingabe &e)
{
    return QVariantList{nr,
                        ErmittleFischname(e.fischNr),
                        ErmittleGewaessername(e.gNr),
                        modRun::ErmittleMonatsname(e.monat),
                        qlonglong(e.anzahl),
                        qlonglong(e.gewicht)};
}

// Whether the grid shows year jahr and month monat.
bool gridZeigt(const Fangbuch &f, int jahr, int monat)
{
    return f.cboFJahr->currentText() == QString::number(jahr) &&
           f.cboSelMonat->currentText() == modRun::ErmittleMonatsname(monat);
}

void schreibeFelder(dao::Recordset &rs, const Eingabe &e)
{
    rs("FangMonat") = e.monat;
    rs("FischNr") = e.fischNr;
    rs("GNr") = e.gNr;
    rs("Notiz") = e.notiz;
    rs("Anzahl") = e.anzahl;
    rs("Gewicht") = e.gewicht;
}

} // namespace

void MarkiereGespeichert(forms::ListGrid &grid, qlonglong nr)
{
    const int zeile = grid.find(0, QString::number(nr));
    grid.rowRange(0, grid.rowCount(), false);
    if (zeile < 0)
        return;
    grid.setRowSelected(zeile, true);
    grid.setPosition(zeile, 0);
}

void LoeseMarkeBeiWahl(forms::ListGrid &grid)
{
    QObject::connect(&grid, &forms::ListGrid::rowChosen, &grid, [&grid](int row) {
        if (row < 0 || row >= grid.rowCount() || !grid.top().isRowSelected(row))
            grid.rowRange(0, grid.rowCount(), false);
    });
}

bool SpeicherFang()
{
    Fangbuch &f = forms::form<Fangbuch>();
    Eingabe e;
    if (!pruefe(f, e))
        return false;
    Trap t(Modul, QStringLiteral("SpeicherFang"));
    qlonglong neu = 0;
    const bool ok = t.write(*gv().wsDaten, [&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Fang", dao::dbOpenTable);
        rs.AddNew();
        rs("FangJahr") = e.jahr;
        schreibeFelder(rs, e);
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs("FangNr").Value().toLongLong();
        rs.Close();
    });
    if (!ok)
        return false;

    // The grid shows the year in cboFJahr, from which the entry's year was taken.
    if (gridZeigt(f, e.jahr, e.monat)) {
        f.tblFList->addRow(gridZeile(neu, e));
        MarkiereGespeichert(*f.tblFList, neu);
    }
    LeereFangFelder();
    f.cboFArt->setFocus();
    f.lblGesAnz->setText(Ermittle_DSAnzahl());
    return true;
}

bool UpdateFang(int position)
{
    Fangbuch &f = forms::form<Fangbuch>();
    Eingabe e;
    if (!pruefe(f, e))
        return false;
    const qlonglong schluessel = forms::labelNumber(*f.lblFNr);
    Trap t(Modul, QStringLiteral("UpdateFang"));
    const Trap::Satz satz = t.writeRecord("Fang", schluessel, [&](dao::Recordset &rs) {
        // The catch keeps the year it was stored with: one opened from the evaluation may
        // belong to another year than the one the catch log shows.
        e.jahr = rs("FangJahr").Value().toInt();
        rs.Edit();
        schreibeFelder(rs, e);
        rs.Update();
    });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Fehlt) {
        modRun::ZeigeDSFehlt();
        LeereFangFelder();
        return true;
    }

    forms::ListGrid &grid = *f.tblFList;
    const int zeile = grid.findKey(schluessel, position);
    if (zeile >= 0)
        grid.removeRow(zeile);
    if (gridZeigt(f, e.jahr, e.monat)) {
        grid.insertRow(zeile >= 0 ? zeile : grid.rowCount(), gridZeile(schluessel, e));
        MarkiereGespeichert(grid, schluessel);
    }
    LeereFangFelder();
    f.lblGesAnz->setText(Ermittle_DSAnzahl());
    return true;
}

bool LoescheFang(int position)
{
    Fangbuch &f = forms::form<Fangbuch>();
    const qlonglong schluessel = forms::labelNumber(*f.lblFNr);
    Trap t(Modul, QStringLiteral("LoescheFang"));
    const Trap::Satz satz = t.writeRecord("Fang", schluessel, [](dao::Recordset &rs) { rs.Delete(); });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Geschrieben) {
        const int zeile = f.tblFList->findKey(schluessel, position);
        if (zeile >= 0)
            f.tblFList->removeRow(zeile);
    } else {
        modRun::ZeigeDSFehlt();
    }
    LeereFangFelder();
    f.cboFArt->setFocus();
    f.lblGesAnz->setText(Ermittle_DSAnzahl());
    return true;
}

void loadFang(const forms::ListGrid &grid, int position)
{
    Fangbuch &f = forms::form<Fangbuch>();
    Trap t(Modul, QStringLiteral("loadFang"));
    qlonglong nr = 0;
    if (!t.step([&] { nr = grid.text(position, 0).toLongLong(); }))
        return;
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht, fa.Notiz "
            "FROM Fang fa, Fisch f, Gewaesser g WHERE fa.FangNr = ? AND fa.FischNr = f.FNr AND fa.GNr = g.GNr",
            dao::dbOpenDynaset, {nr});
        if (rs.RecordCount() != 1) {
            rs.Close();
            modRun::ZeigeDSFehlt();
            return;
        }
        const int monat = rs("FangMonat").Value().toInt();
        // A catch opened from the evaluation may be of another year and month: the window shows
        // its own beside "Fangjahr:", and its row in the grid.
        f.ZeigeMonat(rs("FangJahr").Value().toInt(), monat);
        f.lblFNr->setText(rs("FangNr").Value().toString());
        f.cboFArt->setCurrentText(rs("FName").Value().toString());
        f.cboGName->setCurrentText(rs("GName").Value().toString());
        f.txtAnzahl->setText(rs("Anzahl").Value().toString());
        f.txtGewicht->setText(rs("Gewicht").Value().toString());
        f.txtNotiz->setText(rs("Notiz").Value().toString());
        f.txtMonNr->setText(monat <= 9 ? QStringLiteral("0") + QString::number(monat) : QString::number(monat));
        f.txtFangMonat->setText(modRun::ErmittleMonatsname(monat));
        if (!gv().blnDSGewaehlt)
            f.cboFArt->setFocus();
        rs.Close();
    });
}

void LeereFangFelder()
{
    forms::form<Fangbuch>().LeereFangFelder();
}

bool PruefeFangEingabe()
{
    Eingabe e;
    return pruefe(forms::form<Fangbuch>(), e);
}

QString Ermittle_DSAnzahl()
{
    Fangbuch &f = forms::form<Fangbuch>();
    Trap t(Modul, QStringLiteral("Ermittle_DSAnzahl"));
    QString ergebnis = QStringLiteral("0");
    bool ok = false;
    const int jahr = f.cboFJahr->currentText().toInt(&ok);
    if (!ok)
        return ergebnis;
    t.step([&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT COUNT(fa.FangNr) AS Expr1000 FROM Fang fa WHERE fa.FangJahr = ?", dao::dbOpenDynaset, {jahr});
        const QVariant v = rs("Expr1000").Value();
        if (v.isValid() && v.toLongLong() != 0)
            ergebnis = QString::number(v.toLongLong());
        rs.Close();
    });
    return ergebnis;
}

qint32 ErmittleFischNr(const QString &name, bool *fehler)
{
    return modRun::einWert<qint32>(Modul, QStringLiteral("ErmittleFischNr"), "SELECT FNr FROM Fisch WHERE FName = ?",
                                   name, 0, fehler);
}

QString ErmittleFischname(qint32 nr)
{
    return modRun::einWert<QString>(Modul, QStringLiteral("ErmittleFischname"), "SELECT FName FROM Fisch WHERE FNr = ?",
                                    nr, QString(), nullptr);
}

qint32 ErmittleGewaesserNr(const QString &name, bool *fehler)
{
    return modRun::einWert<qint32>(Modul, QStringLiteral("ErmittleGewaesserNr"),
                                   "SELECT GNr FROM Gewaesser WHERE GName = ?", name, 0, fehler);
}

QString ErmittleGewaessername(qint32 nr)
{
    return modRun::einWert<QString>(Modul, QStringLiteral("ErmittleGewaessername"),
                                    "SELECT GName FROM Gewaesser WHERE GNr = ?", nr, QString(), nullptr);
}

bool FangbuchZugriff_Erlaubt()
{
    Trap t(Modul, QStringLiteral("FangbuchZugriff_Erlaubt"));
    bool erlaubt = false;
    t.step([&] { erlaubt = modStart::GruppeHatRecht(modStart::Recht::Fangbuch); });
    return erlaubt;
}

} // namespace modFangbuch
