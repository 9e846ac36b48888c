#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/trap.h"

#include "common/vberror.h"
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

forms::ListGrid *KategoListe()
{
    const auto &kategoListe = core::einstiege().kategoListe;
    return kategoListe ? &kategoListe() : nullptr;
}

void loadTblKatego()
{
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("loadTblKatego"));
    forms::ListGrid *grid = nullptr;
    if (!trap.step([&] {
            const auto &kategoListe = core::einstiege().kategoListe;
            if (!kategoListe)
                throw vb::Error(91, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
            grid = &kategoListe();
        }))
        return;
    forms::ListGrid &tbl = *grid;
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
    forms::ListGrid *tbl = nullptr;
    trap.step([&] {
        const auto &tblBList = core::einstiege().besatzListe.tblBList;
        if (!tblBList)
            throw vb::Error(91, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
        tbl = &tblBList();
    });
    if (!tbl)
        return;
    const int jahr = g.intJahr;
    dao::Recordset rs;
    // The names come with the entries; a species or water without a record gives "".
    trap.step([&] {
        rs = g.dbDaten.OpenRecordset(
            "SELECT b.BNr, COALESCE(f.FName, '') AS FName, COALESCE(w.GName, '') AS GName, b.Zeit, b.Menge "
            "FROM Besatzung b LEFT JOIN Fisch f ON f.FNr = b.FNr LEFT JOIN Gewaesser w ON w.GNr = b.GNr "
            "WHERE b.BJahr = ? ORDER BY b.BNr",
            dao::dbOpenDynaset, {jahr});
    });
    if (!trap.step([&] { tbl->clear(); }))
        return;
    if (const auto &geladen = core::einstiege().besatzListe.geladen)
        geladen(jahr);
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
            tbl->addRow(QVariantList{rs.Fields(0).Value(), rs.Fields(1).Value().toString(),
                                     rs.Fields(2).Value().toString(), rs.Fields(3).Value().toString(),
                                     modRun::FormatZahl(rs.Fields(4).Value().toDouble())});
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
    const forms::ListGrid *tbl = KategoListe();
    QStringList namen;
    for (int i = 0; tbl && i < tbl->top().rowCount(); ++i) {
        QString name = tbl->top().text(i, 1);
        if (name == Aktiv + Suffix)
            name = Aktiv;
        else if (name == Passiv + Suffix)
            name = Passiv;
        namen << name;
    }
    bool gleich = namen.size() == cbo.count();
    for (int i = 0; gleich && i < namen.size(); ++i)
        gleich = cbo.itemText(i) == namen[i];
    if (gleich)
        return;
    cbo.clear();
    cbo.addItems(namen);
}

} // namespace modStart
