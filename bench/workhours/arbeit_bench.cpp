// Work hours of a large club: 2,000 members with 100,000 entries over five years. The yearly
// carry-over of every member's balance (written in one transaction and taken back after each
// run), and loading one member's year into the work-hours window.
#include "workhours/Arbeit.h"
#include "workhours/modArbeit.h"

#include "core/modGVar.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int Mitglieder = 2000;
constexpr int Eintraege = 100000;
constexpr int ErstesJahr = 2019;
constexpr int Jahre = 5;

void legeClubAn(dao::Database &db)
{
    db.Execute("UPDATE System SET PflichtStd = 20");
    for (int i = 0; i < Mitglieder; ++i)
        db.Execute("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES (?, 1, ?, ?)",
                   {i + 1, QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname %1").arg(i)});
    // Every tenth member is exempt.
    db.Execute("INSERT INTO Mitglied (KNr, Befreit) SELECT KNr, KNr % 10 = 0 FROM Kontakt");
    for (int i = 0; i < Eintraege; ++i)
        db.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, 'Arbeitseinsatz')",
                   {1 + i % Mitglieder, ErstesJahr + (i / Mitglieder) % Jahre, 43500.0 + i % 1800,
                    0.25 * (1 + i % 16)});
}

// The database is made once, on first use, for every run of the benchmarks.
void oeffneClubdaten()
{
    if (benchsupport::OeffneClubdaten(legeClubAn))
        gv().intJahr = ErstesJahr + Jahre;
}

void BM_Uebertrag(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ScriptedMsgBox boxes;
    long alt = ErstesJahr + Jahre - 1;
    long neu = ErstesJahr + Jahre;
    for (auto _ : state) {
        benchmark::DoNotOptimize(modArbeit::UebernehmeStunden(alt));
        state.PauseTiming();
        modArbeit::Ueberpruefe_auf_Uebertrag(neu);
        boxes.clear();
        state.ResumeTiming();
    }
    state.counters["members"] = Mitglieder;
}
BENCHMARK(BM_Uebertrag)->Unit(benchmark::kMillisecond);

void BM_JahrEinesMitgliedsLaden(benchmark::State &state)
{
    oeffneClubdaten();
    Arbeit &f = workhours::ArbeitFenster();
    double summe = 0;
    for (auto _ : state) {
        summe = modArbeit::loadTblArbeit(Mitglieder / 2 + 1, ErstesJahr + 2);
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(summe);
    }
    state.counters["rows"] = f.tblArbStd->rowCount();
}
BENCHMARK(BM_JahrEinesMitgliedsLaden)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
