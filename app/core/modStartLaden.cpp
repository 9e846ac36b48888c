#include "core/Basis.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/trap.h"

#include "common/vberror.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/progress.h"
#include "forms/services.h"

#include <QComboBox>
#include <QProgressBar>

#include <vector>

namespace modStart {

namespace {

using modRun::Trap;

// Appends key and name of every record of the query to the grid.
void ladeNamen(forms::ListGrid &grid, const QString &routine, dao::Sql sql, const char *nr, const char *name)
{
    Trap t(QStringLiteral("modStart"), routine);
    dao::Recordset rs;
    t.step([&] { rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset); });
    t.step([&] {
        if (rs.RecordCount() > 0) {
            rs.MoveFirst();
            while (!rs.Eof()) {
                grid.addRow(QVariantList{rs(QString::fromLatin1(nr)).Value(), rs(QString::fromLatin1(name)).Value()});
                rs.MoveNext();
            }
        }
    });
    t.step([&] { rs.Close(); });
}

void fuelleCombo(const forms::ListGrid &grid, QComboBox &cbo)
{
    const int anzahl = grid.rowCount();
    cbo.clear();
    for (int r = 0; r < anzahl; ++r)
        cbo.addItem(grid.text(r, 1));
}

} // namespace

void loadTblFBasis()
{
    ladeNamen(*forms::form<Basis>().tblFBasis, QStringLiteral("loadTblFBasis"), "SELECT * FROM Fisch", "FNr", "FName");
}

void loadTblGBasis()
{
    ladeNamen(*forms::form<Basis>().tblGBasis, QStringLiteral("loadTblGBasis"), "SELECT GNr, GName FROM Gewaesser",
              "GNr", "GName");
}

void loadTblFList(forms::ListGrid &tblFList, QProgressBar *pb)
{
    Trap t(QStringLiteral("modStart"), QStringLiteral("loadTblFList"));
    dao::Recordset rs;
    bool offen = false;
    // Year and month go in as bound numbers; the grid shows the catches in the order they
    // were entered. The rows are read forward and moved into the grid at once.
    t.step([&] {
        rs = gv().dbDaten.OpenRecordset(
            "SELECT fa.FangNr, f.FName, g.GName, fa.FangMonat, fa.Anzahl, fa.Gewicht "
            "FROM Fang fa, Fisch f, Gewaesser g "
            "WHERE fa.FangJahr = ? AND fa.FangMonat = ? AND fa.FischNr = f.FNr AND fa.GNr = g.GNr "
            "ORDER BY fa.FangNr",
            dao::dbOpenForwardOnly, {gv().intJahr, gv().intMonat});
        offen = true;
    });
    // A month is read in a few milliseconds: the bar shows (with the counted catches as its
    // maximum) only when a load lasts long enough to be seen, and the window is not laid out anew
    // for a bar nobody sees. It holds the rows read afterwards, also when a row failed.
    forms::LateProgress fortschritt(pb, [&] { return rs.RecordCount(); });
    std::vector<QVariantList> zeilen;
    const bool gelesen = t.step([&] {
        if (!offen)
            return;
        for (; !rs.Eof(); rs.MoveNext()) {
            zeilen.push_back(QVariantList{rs(0).Value(), rs(1).Value(), rs(2).Value(),
                                          modRun::ErmittleMonatsname(rs(3).Value().toInt()), rs(4).Value(),
                                          rs(5).Value()});
            fortschritt.advance(qlonglong(zeilen.size()));
        }
    });
    rs.Close();
    // A month whose reading failed is no empty month.
    const bool keine = zeilen.empty() && gelesen;
    // What was read, also when a row failed; an empty month empties the grid.
    t.step([&] { tblFList.setRows(std::move(zeilen)); });
    if (keine && offen && !gv().blnStartLaden)
        t.step([&] {
            forms::MsgBox(QStringLiteral("Keine Einträge für diesen Monat vorhanden !"),
                          forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        });
    fortschritt.finish();
}

void loadTblFList(QProgressBar *pb)
{
    forms::ListGrid *grid = nullptr;
    {
        Trap t(QStringLiteral("modStart"), QStringLiteral("loadTblFList"));
        t.step([&] {
            const auto &fangListe = core::einstiege().fangListe;
            if (!fangListe)
                throw vb::Error(91, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
            grid = &fangListe();
        });
    }
    if (grid)
        loadTblFList(*grid, pb);
}

forms::ListGrid *FangListe()
{
    const auto &fangListe = core::einstiege().fangListe;
    return fangListe ? &fangListe() : nullptr;
}

void loadcboFArt(QComboBox &cbo)
{
    fuelleCombo(*forms::form<Basis>().tblFBasis, cbo);
}

void loadcboGName(QComboBox &cbo)
{
    fuelleCombo(*forms::form<Basis>().tblGBasis, cbo);
}

} // namespace modStart
