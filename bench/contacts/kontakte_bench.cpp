// The contact overview of a club with 5,000 contacts in 20 categories (the largest, the active
// members, with 1,200): the start-up set-up of the overview, and expanding the largest category.
// For comparison, the same queries through sqlite3's C API on the same file.
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdlib>

namespace {

constexpr int Kontakte = 5000;
constexpr int Kategorien = 20;
constexpr int Mitglieder = 1200; // in category 1, the largest

void legeKontakteAn()
{
    dao::Database &db = gv().dbDaten;
    dao::Workspace &ws = *gv().wsDaten;
    ws.BeginTrans();
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
    ws.CommitTrans();
}

// The database is made once, on first use, for every run of the benchmarks.
void oeffneClubdaten()
{
    static QTemporaryDir home;
    if (gv().dbDaten.IsOpen())
        return;
    qputenv("TORVANA_HOME", home.path().toUtf8());
    schema::CreateStarterDatabase(modStart::Datenbankpfad());
    modStart::OeffneDatenbank();
    legeKontakteAn();
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
    for (auto _ : state) {
        modKontakt::InitialisiereKontaktUebers();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(u.tblKUebers->top().rowCount());
    }
    state.counters["categories"] = u.tblKUebers->top().rowCount();
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

sqlite3 *oeffneRoh()
{
    oeffneClubdaten();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(modStart::Datenbankpfad()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    return db;
}

void BM_Sqlite3_UebersichtLaden(benchmark::State &state)
{
    sqlite3 *db = oeffneRoh();
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
    sqlite3 *db = oeffneRoh();
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail FROM Kontakt "
                       "WHERE KategoNr = ? ORDER BY KNr",
                       -1, &st, nullptr);
    long long zeilen = 0;
    for (auto _ : state) {
        sqlite3_reset(st);
        sqlite3_bind_int64(st, 1, 1);
        zeilen = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 9; ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            ++zeilen;
        }
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
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        state.SkipWithError("sqlite3 shell not installed");
        return;
    }
    const QStringList args = {modStart::Datenbankpfad(),
                              QStringLiteral("SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail "
                                             "FROM Kontakt WHERE KategoNr = 1 ORDER BY KNr")};
    qint64 bytes = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(shell, args);
        p.waitForFinished(-1);
        bytes = p.readAllStandardOutput().size();
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_Sqlite3Shell_GroessteKategorie)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    forms::unloadAll();
    gv().dbDaten.Close();
    return 0;
}
