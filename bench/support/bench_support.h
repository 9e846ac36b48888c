#pragma once
// What the benchmarks share: the main program of a benchmark run, the program folder with the
// club's database made once on first use, the catches of a club, the load loop of a list window,
// and the same queries through sqlite3's C API and its shell on the same file.
#include "dao/dao.h"

#include <QCoreApplication>
#include <QString>
#include <QVariantList>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace forms {
class GridList;
}

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

// How many times the large club the run's data is: $TORVANA_BENCH_FAKTOR, a whole number from 1 to
// 64 (1 when unset). Read once; any other value ends the run with a message, so that a mistyped
// size is never measured as the usual one. The run's context names it ("club_faktor").
int Faktor();

// The large club every list benchmark runs on, at Faktor() 1: 5,000 contacts in 20 categories (the
// largest, category 1, with 1,500; category 2 with 500), the 2,000 contacts of categories 1 and 2
// members (every tenth exempt from work hours); the catches of LegeFaengeAn, 50,000 of them;
// 100,000 work-hours entries (ten years from 2015, five entries per member and year); 20 required
// hours. At a larger factor the contacts, both categories' contacts, the members, the catches and
// so the work-hours entries grow by it; the categories, years, species and waters stay.
namespace club {
inline constexpr int Kategorien = 20;
inline constexpr int ErstesJahr = 2015;
inline constexpr int Jahre = 10;
inline constexpr int EintraegeJeJahr = 5;
inline constexpr int Jahr = 2020; // the current year of the run
inline constexpr int Monat = 7;
inline int Kontakte()
{
    return 5000 * Faktor();
}
inline int GroessteKategorie()
{
    return 1500 * Faktor();
}
inline int Mitglieder()
{
    return 2000 * Faktor();
}
inline int Faenge()
{
    return 50000 * Faktor();
}
} // namespace club
void LegeGrossenClubAn(dao::Database &db);
// OeffneClubdaten with the large club, the current year club::Jahr and month club::Monat.
void OeffneGrossenClub();

// The rows a list shows, as a minimal program holds them.
using Zeilen = std::vector<QVariantList>;
// A date as the program shows it, "dd.MM.yyyy", from an OLE date; empty for 0.
QString Datum(double ole);
// A month's German name (1 January); a figure as the lists show it, two decimals after a comma.
const QString &Monatsname(int monat);
QString Zahl(double wert);

// The processor time of the calling thread so far, in seconds.
inline double Prozessorzeit()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Runs the program's procedure once an iteration and, between iterations with the clock stopped,
// its floor: the same query and the same output through sqlite3's C API (and Qt's containers).
// Both are timed on the wall clock; counters["x_floor"] is the program's time over the floor's,
// counters["x_floor_cpu"] the same for the processor time of the thread that runs them (without
// the waits for the disk, such as an fsync, and for the other programs on a busy machine).
// A list's procedure is timed until its grid's model holds the rows (GridList::flush); the
// painting that follows on the event loop is Qt's, the same for any way of filling, and runs
// untimed in aufraeumen.
// The floors read each cell the cheapest way, one sqlite3_column_value taken once, as the program
// does; the connections of both are opened without SQLite's own mutex (each is used from one
// thread).
// aufraeumen, when given, runs untimed after each of the two (to take back what they wrote).
template <class Programm, class Boden, class Aufraeumen>
void MitBoden(benchmark::State &state, Programm programm, Boden boden, Aufraeumen aufraeumen)
{
    using Uhr = std::chrono::steady_clock;
    std::chrono::duration<double> zeitProgramm{0}, zeitBoden{0};
    double cpuProgramm = 0, cpuBoden = 0;
    for (auto _ : state) {
        const double c0 = Prozessorzeit();
        const auto t0 = Uhr::now();
        programm();
        const auto t1 = Uhr::now();
        const double c1 = Prozessorzeit();
        state.PauseTiming();
        aufraeumen();
        const double c2 = Prozessorzeit();
        const auto t2 = Uhr::now();
        boden();
        const auto t3 = Uhr::now();
        const double c3 = Prozessorzeit();
        aufraeumen();
        state.ResumeTiming();
        zeitProgramm += t1 - t0;
        zeitBoden += t3 - t2;
        cpuProgramm += c1 - c0;
        cpuBoden += c3 - c2;
    }
    state.counters["x_floor"] = zeitBoden.count() > 0 ? zeitProgramm.count() / zeitBoden.count() : 0.0;
    state.counters["x_floor_cpu"] = cpuBoden > 0 ? cpuProgramm / cpuBoden : 0.0;
}
template <class Programm, class Boden>
void MitBoden(benchmark::State &state, Programm programm, Boden boden)
{
    MitBoden(state, programm, boden, [] {});
}

// A statement on db prepared for the floor; nullptr (the benchmark skipped with the error) when it
// cannot be prepared.
sqlite3_stmt *Bereite(benchmark::State &state, sqlite3 *db, const char *sql);

// A column of the current row as a grid cell holds it: NULL invalid, integers qlonglong, reals
// double, text QString; the value taken from SQLite once.
inline QVariant Zelle(sqlite3_stmt *st, int c)
{
    sqlite3_value *v = sqlite3_column_value(st, c);
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_value_int64(v)));
    case SQLITE_FLOAT: return QVariant(sqlite3_value_double(v));
    case SQLITE_TEXT:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v)));
    case SQLITE_NULL: return QVariant();
    default: return QVariant(QByteArray(static_cast<const char *>(sqlite3_value_blob(v)), sqlite3_value_bytes(v)));
    }
}

// True when the list shows the floor's rows: as many rows, and in each of the floor's columns the
// same text (what the user reads). Else the benchmark is skipped with an error naming the first
// cell that differs: a program that shows wrong values fails instead of looking fast.
bool ZeigtZeilen(benchmark::State &state, const forms::GridList &liste, const Zeilen &zeilen);

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

// Lets the events run until w has received a paint event (or nothing is left to run); nothing
// when w is nullptr.
void BisGemalt(QWidget *w);

// The bytes the program holds on the heap now (of the main thread's allocations).
long long HeapBelegt();

// The program's database through sqlite3's C API (read-only unless schreiben); nullptr (the benchmark skipped with
// an error) when it cannot be opened.
sqlite3 *OeffneRoh(benchmark::State &state, bool schreiben = false);

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

// A floor's file written as the program must write it to keep the old file on a failure: into a
// temporary file beside ziel (OeffneDatei), then flushed, synced to the disk and renamed over ziel
// (SchliesseDatei, false when a step failed).
struct Datei
{
    QByteArray ziel;
    QByteArray temp;
    std::FILE *f = nullptr;
};
Datei OeffneDatei(const QString &ziel);
bool SchliesseDatei(Datei &datei);

// True when the files programm and boden both exist and hold the same bytes: the check, outside
// the timed part, that the program wrote what its floor wrote. Each file is removed first by
// EntferneDateien, so that one left from before cannot pass for the program's.
bool GleicheDateien(const QString &programm, const QString &boden);
void EntferneDateien(const QString &programm, const QString &boden);

// The sqlite3 shell running abfrage on the program's database, output thrown away: one run of the
// shell an iteration, its start included; the bytes it wrote in counters["bytes"]. Skipped with an
// error when the shell is not installed.
void Sqlite3Shell(benchmark::State &state, const QString &abfrage);

} // namespace benchsupport
