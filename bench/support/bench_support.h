#pragma once
// What the benchmarks share: the main program of a benchmark run, the program folder with the
// club's database made once on first use, the catches of a club, the load loop of a list window,
// and the same queries through sqlite3's C API and its shell on the same file.
#include "dao/dao.h"

#include <QCoreApplication>
#include <QString>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace benchsupport {

// The main program of a benchmark: a Qt application (offscreen unless $QT_QPA_PLATFORM says
// otherwise), the benchmarks chosen on the command line, then nachher while the application still
// stands. Returns the exit code.
int Hauptprogramm(int argc, char **argv, void (*nachher)() = nullptr);

// Unloads every window and closes the program's database: the end of a run on the club's data.
void SchliesseProgramm();

// The program folder of the run (a temporary folder, $TORVANA_HOME) with the starter database,
// opened as the program opens it at start-up; fuelle then writes the club's data in one
// transaction. Done once, on first use, for every benchmark of the run: true when this call did it
// (the caller then sets what goes with the data, such as the current year).
bool OeffneClubdaten(void (*fuelle)(dao::Database &db));

// The program folder of the run.
QString Programmordner();

// 12 fish species ("Fischart 1" to "Fischart 12"), 8 waters ("Gewässer 1" to "Gewässer 8") and
// anzahl catches spread over the ten years from 2015, the months, the species and the waters.
void LegeFaengeAn(dao::Database &db, int anzahl);

// Loads a list once an iteration and lets the events of the grid run, as on screen; zeilen() is
// read after each load so that nothing is optimised away, and reported under zaehler (none when
// zaehler is nullptr).
template <class Lade, class Zeilen>
void LadeJeDurchlauf(benchmark::State &state, const char *zaehler, Lade lade, Zeilen zeilen)
{
    for (auto _ : state) {
        lade();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(zeilen());
    }
    if (zaehler)
        state.counters[zaehler] = double(zeilen());
}

// The program's database through sqlite3's C API, read-only; nullptr (the benchmark skipped with
// an error) when it cannot be opened.
sqlite3 *OeffneRoh(benchmark::State &state);

// Steps once through the rows of a statement that was reset (and bound), reading each of its first
// spalten columns as text; returns the number of rows.
inline long long LiesZeilen(sqlite3_stmt *st, int spalten)
{
    long long zeilen = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < spalten; ++c)
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        ++zeilen;
    }
    return zeilen;
}

// The sqlite3 shell running abfrage on the program's database, output thrown away: one run of the
// shell an iteration, its start included; the bytes it wrote in counters["bytes"]. Skipped with an
// error when the shell is not installed.
void Sqlite3Shell(benchmark::State &state, const QString &abfrage);

} // namespace benchsupport
