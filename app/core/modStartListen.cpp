#include "core/modStart.h"
#include "core/Besatzung.h"
#include "core/Katego.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/trap.h"
#include "core/plugins.h"

#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QComboBox>

namespace modStart {

namespace {

const QString Suffix = QStringLiteral(" -> Systemkategorie <-");
const QString Aktiv = QStringLiteral("Mitglieder (aktiv)");
const QString Passiv = QStringLiteral("Mitglieder (passiv)");

} // namespace

void loadTblKatego()
{
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("loadTblKatego"));
    forms::ListGrid &tbl = *forms::form<Katego>().tblKatego;
    dao::Recordset rs;
    trap.step([&] { rs = gv().dbDaten.OpenRecordset("SELECT * FROM Katego", dao::dbOpenDynaset); });
    if (!rs.IsOpen())
        return;
    trap.step([&] {
        while (!rs.Eof()) {
            QString name = rs.Fields(QStringLiteral("Kategorie")).Value().toString();
            if (name == Aktiv || name == Passiv)
                name += Suffix;
            tbl.addRow(QVariantList{rs.Fields(QStringLiteral("KategoNr")).Value(), name});
            rs.MoveNext();
        }
    });
    trap.step([&] { rs.Close(); });
}

void loadTblBList()
{
    auto &g = gv();
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("loadTblBList"));
    forms::ListGrid &tbl = *forms::form<Besatzung>().tblBList;
    dao::Recordset rs;
    // The names come with the entries; a species or water without a record gives "".
    trap.step([&] {
        rs = g.dbDaten.OpenRecordset(
            "SELECT b.BNr, COALESCE(f.FName, '') AS FName, COALESCE(w.GName, '') AS GName, b.Zeit, b.Menge "
            "FROM Besatzung b LEFT JOIN Fisch f ON f.FNr = b.FNr LEFT JOIN Gewaesser w ON w.GNr = b.GNr "
            "WHERE b.BJahr = ? ORDER BY b.BNr",
            dao::dbOpenDynaset, {g.intJahr});
    });
    trap.step([&] { tbl.clear(); });
    if (!rs.IsOpen())
        return;
    trap.step([&] {
        if (rs.RecordCount() == 0) {
            if (!g.blnStartLaden)
                forms::MsgBox(QStringLiteral("Keine Einträge für dieses Jahr vorhanden !"),
                              forms::vbOKOnly + forms::vbInformation, modRun::Titel);
            return;
        }
        while (!rs.Eof()) {
            tbl.addRow(QVariantList{rs.Fields(0).Value(), rs.Fields(1).Value().toString(),
                                    rs.Fields(2).Value().toString(), rs.Fields(3).Value().toString(),
                                    modRun::FormatZahl(rs.Fields(4).Value().toDouble()), QString()});
            rs.MoveNext();
        }
    });
    trap.step([&] { rs.Close(); });
}

void loadTblKUebers()
{
    if (const auto &init = core::einstiege().ladeschritte.InitialisiereKontaktUebers)
        init();
}

void loadcboKatego(QComboBox &cbo)
{
    const forms::ListGrid &tbl = *forms::form<Katego>().tblKatego;
    const int anzahl = tbl.rowCount();
    if (anzahl == cbo.count())
        return;
    cbo.clear();
    for (int i = 0; i < anzahl; ++i) {
        QString name = tbl.text(i, 1);
        if (name == Aktiv + Suffix)
            name = Aktiv;
        else if (name == Passiv + Suffix)
            name = Passiv;
        cbo.addItem(name);
    }
}

} // namespace modStart
