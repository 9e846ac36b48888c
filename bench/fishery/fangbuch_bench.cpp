// Filling the catch log's grid for one month of a club database with 50,000 catches (ten
// years, 12 fish species, 8 waters), as a year or month change in the catch log does.
#include "core/modGVar.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QApplication>
#include <QProgressBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

constexpr int Faenge = 50000;

void legeFaengeAn()
{
    dao::Database &db = gv().dbDaten;
    dao::Workspace &ws = *gv().wsDaten;
    ws.BeginTrans();
    for (int i = 1; i <= 12; ++i)
        db.Execute("INSERT INTO Fisch (FName) VALUES (?)", {QStringLiteral("Fischart %1").arg(i)});
    for (int i = 1; i <= 8; ++i)
        db.Execute("INSERT INTO Gewaesser (GName) VALUES (?)", {QStringLiteral("Gewässer %1").arg(i)});
    for (int i = 0; i < Faenge; ++i)
        db.Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {2015 + i % 10, 1 + (i / 10) % 12, 1 + i % 12, 1 + i % 8, QString(), 1 + i % 5, 250 + i % 4000});
    ws.CommitTrans();
}

// The database is made once, on first use, for every run of the benchmark.
void oeffneClubdaten()
{
    static QTemporaryDir home;
    if (gv().dbDaten.IsOpen())
        return;
    qputenv("TORVANA_HOME", home.path().toUtf8());
    schema::CreateStarterDatabase(modStart::Datenbankpfad());
    modStart::OeffneDatenbank();
    legeFaengeAn();
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
    for (auto _ : state) {
        modStart::loadTblFList(grid, &pb);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(grid.rowCount());
    }
    state.counters["rows"] = grid.rowCount();
}
BENCHMARK(BM_LoadTblFListMonth)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    gv().dbDaten.Close();
    return 0;
}
