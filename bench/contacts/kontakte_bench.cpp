// The contact overview of a club with 5,000 contacts in 20 categories (the largest, the active
// members, with 1,200): the start-up set-up of the overview, and expanding the largest category.
// For comparison, the same queries through sqlite3's C API on the same file.
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Kontakte = 5000;
constexpr int Kategorien = 20;
constexpr int Mitglieder = 1200; // in category 1, the largest

void legeKontakteAn(dao::Database &db)
{
    for (int k = 3; k <= Kategorien; ++k)
        db.Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (?, ?)", {k, QStringLiteral("Kategorie %1").arg(k)});
    for (int i = 0; i < Kontakte; ++i) {
        const int kategorie = i < Mitglieder ? 1 : 2 + (i - Mitglieder) % (Kategorien - 1);
        db.Execute("INSERT INTO Kontakt (KategoNr, Anrede, Nachname, Vorname, Strasse, PLZ, Ort, Tel1, Fax, GebDatum, "
                   "EMail, Firma) VALUES (?, 'Herr', ?, ?, 'Uferweg 1', '28195', 'Bremen', '0421 123456', '', ?, ?, ?)",
                   {kategorie, QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname %1").arg(i),
                    double(20000 + i % 15000), QStringLiteral("kontakt%1@verein.de").arg(i),
                    i % 3 ? QString() : QStringLiteral("Firma %1").arg(i)});
    }
    db.Execute("INSERT INTO Mitglied (KNr) SELECT KNr FROM Kontakt WHERE KategoNr IN (1, 2)");
}

// The database is made once, on first use, for every run of the benchmarks.
void oeffneClubdaten()
{
    benchsupport::OeffneClubdaten(legeKontakteAn);
}

KontaktUebers &zeigeUebersicht()
{
    KontaktUebers &u = forms::form<KontaktUebers>();
    u.resize(1000, 700);
    u.show();
    return u;
}

void BM_UebersichtLaden(benchmark::State &state)
{
    oeffneClubdaten();
    KontaktUebers &u = zeigeUebersicht();
    benchsupport::LadeJeDurchlauf(state, "categories", modKontakt::InitialisiereKontaktUebers,
                                  [&u] { return u.tblKUebers->top().rowCount(); });
}
BENCHMARK(BM_UebersichtLaden)->Unit(benchmark::kMillisecond);

void BM_GroessteKategorieAufklappen(benchmark::State &state)
{
    oeffneClubdaten();
    KontaktUebers &u = zeigeUebersicht();
    modKontakt::InitialisiereKontaktUebers();
    forms::GridList &top = u.tblKUebers->top();
    for (auto _ : state) {
        // A click on the expander: the grid switches the row's flag, the overview reads the contacts.
        top.setExpanded(0, true);
        u.tblKUebers_Expand(0, forms::ExpanderColumn);
        QCoreApplication::processEvents();
        state.PauseTiming();
        top.setExpanded(0, false);
        u.tblKUebers_Expand(0, forms::ExpanderColumn);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["contacts"] = top.child(0) ? top.child(0)->rowCount() : 0;
}
BENCHMARK(BM_GroessteKategorieAufklappen)->Unit(benchmark::kMillisecond);

// ---- the same queries through sqlite3's C API ----------------------------------------------------

void BM_Sqlite3_UebersichtLaden(benchmark::State &state)
{
    oeffneClubdaten();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *kat = nullptr, *anzahl = nullptr;
    sqlite3_prepare_v2(db, "SELECT KategoNr, Kategorie FROM Katego ORDER BY KategoNr", -1, &kat, nullptr);
    sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM Kontakt WHERE KategoNr = ?", -1, &anzahl, nullptr);
    long long summe = 0;
    for (auto _ : state) {
        sqlite3_reset(kat);
        while (sqlite3_step(kat) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_text(kat, 1));
            sqlite3_reset(anzahl);
            sqlite3_bind_int64(anzahl, 1, sqlite3_column_int64(kat, 0));
            if (sqlite3_step(anzahl) == SQLITE_ROW)
                summe += sqlite3_column_int64(anzahl, 0);
        }
    }
    benchmark::DoNotOptimize(summe);
    sqlite3_finalize(kat);
    sqlite3_finalize(anzahl);
    sqlite3_close(db);
}
BENCHMARK(BM_Sqlite3_UebersichtLaden)->Unit(benchmark::kMillisecond);

void BM_Sqlite3_GroessteKategorie(benchmark::State &state)
{
    oeffneClubdaten();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail FROM Kontakt "
                       "WHERE KategoNr = ? ORDER BY KNr",
                       -1, &st, nullptr);
    long long zeilen = 0;
    for (auto _ : state) {
        sqlite3_reset(st);
        sqlite3_bind_int64(st, 1, 1);
        zeilen = benchsupport::LiesZeilen(st, 9);
    }
    state.counters["contacts"] = double(zeilen);
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_Sqlite3_GroessteKategorie)->Unit(benchmark::kMillisecond);

// The sqlite3 shell running the same query on the same file, output thrown away: one run of the
// shell per iteration, its start included.
void BM_Sqlite3Shell_GroessteKategorie(benchmark::State &state)
{
    oeffneClubdaten();
    benchsupport::Sqlite3Shell(state,
                               QStringLiteral("SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, "
                                              "EMail FROM Kontakt WHERE KategoNr = 1 ORDER BY KNr"));
}
BENCHMARK(BM_Sqlite3Shell_GroessteKategorie)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
