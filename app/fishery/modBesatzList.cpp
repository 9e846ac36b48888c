#include "fishery/modBesatzList.h"
#include "fishery/Besatzung.h"
#include "fishery/modFangbuch.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/fields.h"
#include "forms/listgrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace modBesatzList {

namespace {

using modRun::Trap;

const QString Modul = QStringLiteral("modBesatzList");

// The entry of the window's fields, checked and resolved to numbers.
struct Eingabe
{
    int jahr = 0;
    qint32 fNr = 0;
    qint32 gNr = 0;
    QString zeit;
    double menge = 0.0;
};

using modRun::Pruefung;

// Reads and checks the fields without a message of its own. An unknown species or water is
// refused here, so that no entry is stored with 0 in its place; a lookup that fails (the
// database in use by another program) is no wrong input.
Pruefung leseEingabe(const Besatzung &w, Eingabe &e)
{
    const QString fisch = w.cboFArt->currentText();
    const QString gewaesser = w.cboGName->currentText();
    if (fisch.isEmpty() || gewaesser.isEmpty() || w.cboBJahr->currentText().isEmpty() || w.txtMenge->text().isEmpty())
        return Pruefung::Ungueltig;
    bool jahrOk = false;
    e.jahr = w.cboBJahr->currentText().toInt(&jahrOk);
    if (!jahrOk || !LeseMenge(w.txtMenge->text(), e.menge))
        return Pruefung::Ungueltig;
    bool fehler = false;
    e.fNr = modFangbuch::ErmittleFischNr(fisch, &fehler);
    if (fehler)
        return Pruefung::Fehler;
    if (e.fNr == 0)
        return Pruefung::Ungueltig;
    e.gNr = modFangbuch::ErmittleGewaesserNr(gewaesser, &fehler);
    if (fehler)
        return Pruefung::Fehler;
    if (e.gNr == 0)
        return Pruefung::Ungueltig;
    e.zeit = w.txtZeit->text();
    if (!modRun::IstFeldtext(e.zeit))
        return Pruefung::Ungueltig;
    return Pruefung::Gueltig;
}

// The fields checked; false after the input-error box or a failed lookup's box.
bool pruefe(const Besatzung &w, Eingabe &e)
{
    return modRun::MeldePruefung(leseEingabe(w, e));
}

void schreibeFelder(dao::Recordset &rs, const Eingabe &e)
{
    rs("BJahr") = e.jahr;
    rs("FNr") = e.fNr;
    rs("GNr") = e.gNr;
    rs("Zeit") = e.zeit;
    rs("Menge") = e.menge;
}

// The grid row of a stored entry, in gv().varListe: BNr, the stored names, Zeit, Menge.
const QVariantList &gridZeile(qlonglong nr, const Eingabe &e)
{
    QVariantList &zeile = gv().varListe;
    zeile = QVariantList{nr, modFangbuch::ErmittleFischname(e.fNr), modFangbuch::ErmittleGewaessername(e.gNr), e.zeit,
                         modRun::FormatZahl(e.menge)};
    return zeile;
}

} // namespace

bool LeseMenge(const QString &text, double &menge)
{
    // Fifteen significant digits are what the REAL column keeps exactly: thirteen before the
    // comma and the two after it. A larger quantity would be stored and shown as another one.
    constexpr double Grenze = 1e13;
    bool ok = false;
    const double wert = modRun::LeseZahl(text, &ok);
    if (!ok || !std::isfinite(wert) || wert < 0.0)
        return false;
    const double gerundet = modRun::Runde(wert, 2);
    if (!(gerundet < Grenze))
        return false;
    menge = gerundet;
    return true;
}

void LeereBesatzFelder()
{
    forms::form<Besatzung>().LeereBesatzFelder();
}

bool PruefeBesatzEingabe()
{
    Eingabe e;
    return pruefe(forms::form<Besatzung>(), e);
}

bool SpeicherEintrag()
{
    Besatzung &w = forms::form<Besatzung>();
    Eingabe e;
    if (!pruefe(w, e))
        return false;
    Trap t(Modul, QStringLiteral("SpeicherEintrag"));
    qlonglong neu = 0;
    const bool ok = t.write(*gv().wsDaten, [&] {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("Besatzung", dao::dbOpenTable);
        rs.AddNew();
        schreibeFelder(rs, e);
        rs.Update();
        rs.Index(QStringLiteral("PrimaryKey"));
        rs.MoveLast();
        neu = rs("BNr").Value().toLongLong();
        rs.Close();
    });
    if (!ok)
        return false;

    // The grid holds one year's plan: an entry of another year is not shown in it.
    forms::ListGrid &grid = *w.tblBList;
    if (e.jahr == w.intGridJahr) {
        grid.addRow(gridZeile(neu, e));
        modFangbuch::MarkiereGespeichert(grid, neu);
    }
    LeereBesatzFelder();
    return true;
}

bool UpdateEintrag(int row)
{
    Besatzung &w = forms::form<Besatzung>();
    Eingabe e;
    if (!pruefe(w, e))
        return false;
    const qlonglong schluessel = forms::labelNumber(*w.lblBNr);
    Trap t(Modul, QStringLiteral("UpdateEintrag"));
    const Trap::Satz satz = t.writeRecord("Besatzung", schluessel, [&](dao::Recordset &rs) {
        rs.Edit();
        schreibeFelder(rs, e);
        rs.Update();
    });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Fehlt) {
        modRun::ZeigeDSFehlt();
        LeereBesatzFelder();
        return true;
    }

    forms::ListGrid &grid = *w.tblBList;
    const int zeile = grid.findKey(schluessel, row);
    if (zeile >= 0)
        grid.removeRow(zeile);
    if (e.jahr == w.intGridJahr) {
        grid.insertRow(zeile >= 0 ? zeile : grid.rowCount(), gridZeile(schluessel, e));
        modFangbuch::MarkiereGespeichert(grid, schluessel);
    }
    LeereBesatzFelder();
    return true;
}

void loadEintrag(const forms::ListGrid &grid, int row)
{
    Besatzung &w = forms::form<Besatzung>();
    Trap t(Modul, QStringLiteral("loadEintrag"));
    qlonglong nr = 0;
    if (!t.step([&] { nr = grid.text(row, 0).toLongLong(); }))
        return;
    const int jahr = w.cboBJahr->currentText().toInt();
    t.step([&] {
        // An entry whose species or water has gone loads with that name empty, so that it
        // can still be changed or deleted.
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT b.BNr, f.FName, g.GName, b.Zeit, b.Menge FROM Besatzung b "
                                       "LEFT JOIN Fisch f ON f.FNr = b.FNr LEFT JOIN Gewaesser g ON g.GNr = b.GNr "
                                       "WHERE b.BNr = ? AND b.BJahr = ?",
                                       dao::dbOpenDynaset, {nr, jahr});
        if (rs.RecordCount() != 1) {
            rs.Close();
            modRun::ZeigeDSFehlt();
            return;
        }
        w.lblBNr->setText(rs("BNr").Value().toString());
        w.cboFArt->setCurrentText(rs("FName").Value().toString());
        w.cboGName->setCurrentText(rs("GName").Value().toString());
        w.txtZeit->setText(rs("Zeit").Value().toString());
        w.txtMenge->setText(modRun::FormatZahl(rs("Menge").Value().toDouble()));
        rs.Close();
    });
}

bool LoescheEintrag(int row)
{
    Besatzung &w = forms::form<Besatzung>();
    const qlonglong schluessel = forms::labelNumber(*w.lblBNr);
    Trap t(Modul, QStringLiteral("LoescheEintrag"));
    const Trap::Satz satz = t.writeRecord("Besatzung", schluessel, [](dao::Recordset &rs) { rs.Delete(); });
    if (satz == Trap::Satz::Fehler)
        return false;
    if (satz == Trap::Satz::Geschrieben) {
        forms::ListGrid &grid = *w.tblBList;
        const int zeile = grid.findKey(schluessel, row);
        if (zeile >= 0)
            grid.removeRow(zeile);
    } else {
        modRun::ZeigeDSFehlt();
    }
    LeereBesatzFelder();
    return true;
}

} // namespace modBesatzList
