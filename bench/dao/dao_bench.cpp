// Opening the database and reading a large catch list, on a club database with 50,000 catches.
#include "core/testing/program_folder.h"
#include "schema/schema.h"

#include "bench/bench_support.h"
#include "dao/dao.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kCatches = 50000;

// The starter database in a program folder of its own, with the catches, made once on first use.
const QString &databasePath()
{
    static apptest::Programmordner ordner;
    static const QString path = [] {
        ordner.richteEin();
        const QString p = ordner.dbPfad();
        dao::Database db = dao::DBEngine::Workspaces(0).OpenDatabase(
            p, false, false, QStringLiteral(";pwd=") + QString::fromLatin1(schema::kProgramPassword));
        db.Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander'), ('Barsch'), ('Karpfen'), "
                   "('Schleie'), ('Aal'), ('Brasse'), ('Rotauge')");
        db.Execute("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Mühlbach'), ('Altarm'), "
                   "('Weiher'), ('Kanal')");
        db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                   "INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) "
                   "SELECT 2000 + i % 25, 1 + i % 12, 1 + i % 8, 1 + i % 5, 'Fang Nr. ' || i, "
                   "1 + i % 7, 250 + i % 5000 FROM n",
                   {kCatches});
        db.Close();
        return p;
    }();
    return path;
}

const QString kConnect = QStringLiteral(";pwd=") + QString::fromLatin1(schema::kProgramPassword);

void BM_OpenDatabase(benchmark::State &state)
{
    const QString &path = databasePath();
    for (auto _ : state) {
        dao::Database db = dao::DBEngine::Workspaces(0).OpenDatabase(path, false, false, kConnect);
        benchmark::DoNotOptimize(db.IsOpen());
        db.Close();
    }
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond);

// The catches read through a dynaset (copied when opened) or forward (read as SQLite hands them
// out), the full count asked for after the walk.
void readCatches(benchmark::State &state, dao::RecordsetTypeEnum type)
{
    dao::Database db = dao::DBEngine::Workspaces(0).OpenDatabase(databasePath(), false, false, kConnect);
    for (auto _ : state) {
        dao::Recordset rs =
            db.OpenRecordset("SELECT fa.FangNr, f.FName, g.GName, fa.FangMonat, fa.Anzahl, fa.Gewicht, fa.Notiz "
                             "FROM Fang fa, Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr",
                             type);
        long long sum = 0;
        while (!rs.Eof()) {
            sum += rs("FangNr").Value().toLongLong() + rs("Gewicht").Value().toLongLong();
            benchmark::DoNotOptimize(rs("FName").Value());
            benchmark::DoNotOptimize(rs("Notiz").Value());
            rs.MoveNext();
        }
        benchmark::DoNotOptimize(sum);
        if (rs.RecordCount() != kCatches)
            state.SkipWithError("unexpected row count");
    }
    state.SetItemsProcessed(state.iterations() * kCatches);
}

void BM_ReadCatchDynaset(benchmark::State &state)
{
    readCatches(state, dao::dbOpenDynaset);
}
BENCHMARK(BM_ReadCatchDynaset)->Unit(benchmark::kMillisecond);

void BM_ReadCatchForward(benchmark::State &state)
{
    readCatches(state, dao::dbOpenForwardOnly);
}
BENCHMARK(BM_ReadCatchForward)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv);
}
