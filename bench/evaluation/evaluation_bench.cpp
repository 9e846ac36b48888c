// The catch evaluation on a club database with 50,000 catches (ten years, 12 fish species,
// 8 waters): the search of one year and of all years as the evaluation window runs it (query,
// count and sums, grid filled and shown), beside the same query and sums run through SQLite's
// own interface on the same file, which is the floor the evaluation is measured against.
#include "fishery/Fangauswertung.h"
#include "fishery/modFAuswert.h"

#include "core/modGVar.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"

#include <QCheckBox>
#include <QComboBox>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>

namespace {

constexpr int Faenge = 50000;
constexpr int Jahr = 2020;

void legeFaengeAn(dao::Database &db)
{
    benchsupport::LegeFaengeAn(db, Faenge);
}

// The database is made once, on first use, for every run of the benchmarks.
void oeffneClubdaten()
{
    if (!benchsupport::OeffneClubdaten(legeFaengeAn))
        return;
    gv().intJahr = Jahr;
    gv().intMonat = 7;
}

// The evaluation window on screen, with only the year filter ticked (or none).
Fangauswertung &fenster(bool nurJahr)
{
    Fangauswertung &w = forms::form<Fangauswertung>();
    if (!w.isVisible()) {
        w.resize(1000, 700);
        w.Show();
    }
    w.chkArchiv->setChecked(nurJahr);
    if (nurJahr)
        w.cboFJahr->setCurrentText(QString::number(Jahr));
    return w;
}

void sucheAus(benchmark::State &state, bool nurJahr)
{
    oeffneClubdaten();
    Fangauswertung &w = fenster(nurJahr);
    benchsupport::LadeJeDurchlauf(state, "rows", modFAuswert::LadeAuswahl, [&w] { return w.tblFAusw->rowCount(); });
}

void BM_LadeAuswahlEinJahr(benchmark::State &state)
{
    sucheAus(state, true);
}
BENCHMARK(BM_LadeAuswahlEinJahr)->Unit(benchmark::kMillisecond);

void BM_LadeAuswahlAlleJahre(benchmark::State &state)
{
    sucheAus(state, false);
}
BENCHMARK(BM_LadeAuswahlAlleJahre)->Unit(benchmark::kMillisecond);

// The same result query and the same count and sums, straight through SQLite, every column
// of every row read.
void sqliteAus(benchmark::State &state, bool nurJahr)
{
    oeffneClubdaten();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    const std::string von = " FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr";
    const std::string filter = nurJahr ? " AND fa.FangJahr = ?" : "";
    const std::string auswahl = "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht" +
                                von + filter + " ORDER BY fa.FangNr";
    const std::string summen = "SELECT COUNT(fa.FangNr), SUM(fa.Anzahl), SUM(fa.Gewicht)" + von + filter;
    sqlite3_stmt *a = nullptr;
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, auswahl.c_str(), -1, &a, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, summen.c_str(), -1, &s, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_finalize(a);
        sqlite3_finalize(s);
        sqlite3_close(db);
        return;
    }
    long long zeilen = 0;
    for (auto _ : state) {
        zeilen = 0;
        long long pruef = 0;
        for (sqlite3_stmt *st : {a, s}) {
            sqlite3_reset(st);
            if (nurJahr)
                sqlite3_bind_int(st, 1, Jahr);
        }
        while (sqlite3_step(a) == SQLITE_ROW) {
            pruef += sqlite3_column_int64(a, 0);
            pruef += sqlite3_column_bytes(a, 1) + sqlite3_column_bytes(a, 2);
            benchmark::DoNotOptimize(sqlite3_column_text(a, 1));
            benchmark::DoNotOptimize(sqlite3_column_text(a, 2));
            for (int c = 3; c < 7; ++c)
                pruef += sqlite3_column_int64(a, c);
            ++zeilen;
        }
        if (sqlite3_step(s) == SQLITE_ROW)
            pruef += sqlite3_column_int64(s, 0) + sqlite3_column_int64(s, 1) + sqlite3_column_int64(s, 2);
        benchmark::DoNotOptimize(pruef);
    }
    state.counters["rows"] = double(zeilen);
    sqlite3_finalize(a);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

void BM_SqliteEinJahr(benchmark::State &state)
{
    sqliteAus(state, true);
}
BENCHMARK(BM_SqliteEinJahr)->Unit(benchmark::kMillisecond);

void BM_SqliteAlleJahre(benchmark::State &state)
{
    sqliteAus(state, false);
}
BENCHMARK(BM_SqliteAlleJahre)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
