// The member list of the large club (2,000 members, 100,000 work-hours entries over ten years):
// every member with the required hours, the hours done and the balance of one year, beside its
// floor (the same query through sqlite3's C API, the rows held as the grid's cells); and the same
// query through the sqlite3 shell.
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

#include <cmath>

namespace {

namespace club = benchsupport::club;

// The query the list runs for the hours of a year, as the shell and the C API run it: an exempt
// member's balance is his hours against none required, so the list reads Befreit too.
const char *const Abfrage = "SELECT k.KNr, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, k.Tel1, k.GebDatum, "
                            "(SELECT SUM(a.ArbStd) FROM Arbeit a WHERE a.KNr = k.KNr AND a.Jahr = 2020) AS Expr1000, "
                            "m.Befreit FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr";

// The list window with the work-hours list of the year switched on.
MitglList &zeigeListe()
{
    MitglList &w = forms::form<MitglList>();
    w.resize(1000, 700);
    w.show();
    w.chkArbAnz->setChecked(true);
    w.cboArbJahr->setCurrentText(QString::number(club::Jahr));
    return w;
}

void BM_MemberList(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    MitglList &w = zeigeListe();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = benchsupport::Bereite(state, db, Abfrage);
    sqlite3_stmt *pflicht = st ? benchsupport::Bereite(state, db, "SELECT PflichtStd FROM System") : nullptr;
    benchsupport::Zeilen zeilen;
    if (st && pflicht)
        benchsupport::MitBoden(
            state,
            [&] {
                modMitglList::LadeAuswahl();
                w.tblMList->current().flush();
            },
            [&] {
                zeilen.clear();
                sqlite3_reset(st);
                sqlite3_reset(pflicht);
                const double soll = sqlite3_step(pflicht) == SQLITE_ROW ? sqlite3_column_double(pflicht, 0) : 0;
                const QString sollText = benchsupport::Zahl(soll);
                const QString nullText = benchsupport::Zahl(0);
                while (sqlite3_step(st) == SQLITE_ROW) {
                    QVariantList z;
                    z.reserve(11);
                    z << benchsupport::Zelle(st, 0);
                    for (int c = 1; c <= 6; ++c)
                        z << benchsupport::Zelle(st, c).toString();
                    z << benchsupport::Datum(sqlite3_column_double(st, 7));
                    const double geleistet = std::round(sqlite3_column_double(st, 8) * 100) / 100;
                    if (sqlite3_column_int(st, 9))
                        z << nullText << benchsupport::Zahl(geleistet) << benchsupport::Zahl(geleistet);
                    else
                        z << sollText << benchsupport::Zahl(geleistet) << benchsupport::Zahl(geleistet - soll);
                    zeilen.push_back(std::move(z));
                }
            },
            [] { QCoreApplication::processEvents(); });
    benchsupport::ZeigtZeilen(state, w.tblMList->top(), zeilen);
    state.counters["members"] = double(zeilen.size());
    sqlite3_finalize(st);
    sqlite3_finalize(pflicht);
    sqlite3_close(db);
}
BENCHMARK(BM_MemberList)->Unit(benchmark::kMillisecond);

// With the filter on the hours done: every member's hours are compared with the required ones.
void BM_MitgliederMitGeleistetenStunden(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
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

// One run of the sqlite3 shell per iteration, its start included, output thrown away.
void BM_Sqlite3Shell_MitgliederlisteMitStunden(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    benchsupport::Sqlite3Shell(state, QString::fromLatin1(Abfrage));
}
BENCHMARK(BM_Sqlite3Shell_MitgliederlisteMitStunden)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
