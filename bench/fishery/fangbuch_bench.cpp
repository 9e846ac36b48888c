// Filling the catch log's grid for one month of the large club (50,000 catches over ten years,
// 12 fish species, 8 waters), as a year or month change in the catch log does, beside its floor:
// the same query through sqlite3's C API, its rows held as the grid's cells.
#include "core/modGVar.h"
#include "core/modStart.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QProgressBar>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

namespace {

namespace club = benchsupport::club;

void BM_MonthList(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    // The grid and its progress bar in one window, as in the catch log.
    QWidget fenster;
    auto *layout = new QVBoxLayout(&fenster);
    auto *tabelle = new forms::ListGrid;
    auto *balken = new QProgressBar;
    layout->addWidget(tabelle);
    layout->addWidget(balken);
    fenster.resize(800, 600);
    fenster.show();
    forms::ListGrid &grid = *tabelle;
    QProgressBar &pb = *balken;
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = benchsupport::Bereite(state, db,
                                             "SELECT fa.FangNr, f.FName, g.GName, fa.FangMonat, fa.Anzahl, fa.Gewicht "
                                             "FROM Fang fa, Fisch f, Gewaesser g "
                                             "WHERE fa.FangJahr = ? AND fa.FangMonat = ? AND fa.FischNr = f.FNr AND "
                                             "fa.GNr = g.GNr ORDER BY fa.FangNr");
    benchsupport::Zeilen zeilen;
    if (st)
        benchsupport::MitBoden(
            state,
            [&] {
                modStart::loadTblFList(grid, &pb);
                grid.current().flush();
            },
            [&] {
                zeilen.clear();
                sqlite3_reset(st);
                sqlite3_bind_int(st, 1, club::Jahr);
                sqlite3_bind_int(st, 2, club::Monat);
                while (sqlite3_step(st) == SQLITE_ROW) {
                    const int monat = sqlite3_column_int(st, 3);
                    zeilen.push_back({benchsupport::Zelle(st, 0), benchsupport::Zelle(st, 1),
                                      benchsupport::Zelle(st, 2), benchsupport::Monatsname(monat),
                                      benchsupport::Zelle(st, 4), benchsupport::Zelle(st, 5)});
                }
            },
            [] { QCoreApplication::processEvents(); });
    benchsupport::ZeigtZeilen(state, grid.top(), zeilen);
    state.counters["rows"] = grid.rowCount();
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_MonthList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
