// Filling the catch log's grid for one month of a club database with 50,000 catches (ten
// years, 12 fish species, 8 waters), as a year or month change in the catch log does.
#include "core/modGVar.h"
#include "core/modStart.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QProgressBar>
#include <benchmark/benchmark.h>

namespace {

constexpr int Faenge = 50000;

void legeFaengeAn(dao::Database &db)
{
    benchsupport::LegeFaengeAn(db, Faenge);
}

// The database is made once, on first use, for every run of the benchmark.
void oeffneClubdaten()
{
    benchsupport::OeffneClubdaten(legeFaengeAn);
}

void BM_LoadTblFListMonth(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    grid.resize(800, 600);
    grid.show();
    QProgressBar pb;
    gv().intJahr = 2020;
    gv().intMonat = 7;
    benchsupport::LadeJeDurchlauf(
        state, "rows", [&] { modStart::loadTblFList(grid, &pb); }, [&grid] { return grid.rowCount(); });
}
BENCHMARK(BM_LoadTblFListMonth)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
