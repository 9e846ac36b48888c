// The member list of a club with 2,000 members and 100,000 work-hours entries (ten years, five
// entries per member and year): every member with the required hours, the hours done and the
// balance of one year. For comparison, the same query through sqlite3's C API and the sqlite3
// shell on the same file.
#include "workhours/MitglList.h"
#include "workhours/modMitglList.h"

#include "core/modGVar.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int Mitglieder = 2000;
constexpr int Jahre = 10;
constexpr int EintraegeJeJahr = 5; // 2,000 x 10 x 5 = 100,000 entries
constexpr int ErstesJahr = 2015;
constexpr int Jahr = 2020;

// The query the list runs for the hours of a year, as the shell and the C API run it.
const char *const Abfrage =
    "SELECT k.KNr, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, k.GebDatum, "
    "(SELECT SUM(a.ArbStd) FROM Arbeit a WHERE a.KNr = k.KNr AND a.Jahr = 2020) AS Expr1000 "
    "FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr";

void legeClubAn(dao::Database &db)
{
    db.Execute("UPDATE System SET PflichtStd = 20");
    for (int i = 0; i < Mitglieder; ++i)
        db.Execute("INSERT INTO Kontakt (KategoNr, Nachname, Vorname, Strasse, PLZ, Ort, Tel1, GebDatum) "
                   "VALUES (?, ?, ?, 'Uferweg 1', '28195', 'Bremen', '0421 123456', ?)",
                   {1 + i % 2, QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname %1").arg(i),
                    i % 10 ? double(20000 + i % 15000) : 0.0});
    db.Execute("INSERT INTO Mitglied (KNr, Geschlecht, Bezahlt) SELECT KNr, KNr % 2, KNr % 3 = 0 FROM Kontakt");
    // Entries in the order they are booked: year by year, member after member.
    for (int j = 0; j < Jahre; ++j)
        for (int e = 0; e < EintraegeJeJahr; ++e)
            for (int k = 1; k <= Mitglieder; ++k)
                db.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, '')",
                           {k, ErstesJahr + j, 42000.0 + j * 365 + e, 0.5 + (k + e) % 9 * 0.75});
}

// The database is made once, on first use, for every run of the benchmarks.
void oeffneClubdaten()
{
    if (benchsupport::OeffneClubdaten(legeClubAn))
        gv().intJahr = Jahr;
}

// The list window with the work-hours list of the year switched on.
MitglList &zeigeListe()
{
    MitglList &w = forms::form<MitglList>();
    w.resize(1000, 700);
    w.show();
    w.chkArbAnz->setChecked(true);
    w.cboArbJahr->setCurrentText(QString::number(Jahr));
    return w;
}

void BM_MitgliederlisteMitStunden(benchmark::State &state)
{
    oeffneClubdaten();
    MitglList &w = zeigeListe();
    benchsupport::LadeJeDurchlauf(state, "members", modMitglList::LadeAuswahl, [&w] { return w.tblMList->rowCount(); });
}
BENCHMARK(BM_MitgliederlisteMitStunden)->Unit(benchmark::kMillisecond);

// With the filter on the hours done: every member's hours are compared with the required ones.
void BM_MitgliederMitGeleistetenStunden(benchmark::State &state)
{
    oeffneClubdaten();
    MitglList &w = zeigeListe();
    w.chkArbStd->setChecked(true);
    w.optStdJa->setChecked(true);
    benchsupport::LadeJeDurchlauf(
        state, "members",
        [&w] {
            w.tblMList->top().clear();
            modMitglList::LadeAuswahl();
        },
        [&w] { return w.tblMList->rowCount(); });
    w.chkArbStd->setChecked(false);
}
BENCHMARK(BM_MitgliederMitGeleistetenStunden)->Unit(benchmark::kMillisecond);

// ---- the same query through sqlite3's C API and its shell --------------------------------------

void BM_Sqlite3_MitgliederlisteMitStunden(benchmark::State &state)
{
    oeffneClubdaten();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, Abfrage, -1, &st, nullptr);
    long long zeilen = 0;
    for (auto _ : state) {
        sqlite3_reset(st);
        zeilen = benchsupport::LiesZeilen(st, 9);
    }
    state.counters["members"] = double(zeilen);
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_Sqlite3_MitgliederlisteMitStunden)->Unit(benchmark::kMillisecond);

// One run of the shell per iteration, its start included, output thrown away.
void BM_Sqlite3Shell_MitgliederlisteMitStunden(benchmark::State &state)
{
    oeffneClubdaten();
    benchsupport::Sqlite3Shell(state, QString::fromLatin1(Abfrage));
}
BENCHMARK(BM_Sqlite3Shell_MitgliederlisteMitStunden)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
