// The catch evaluation on the large club (50,000 catches over ten years, 12 fish species,
// 8 waters): the search of one year and of all years as the evaluation window runs it (query,
// count and sums, grid filled and shown), beside its floor: the same result query and sums
// through sqlite3's C API, the rows held as the grid's cells.
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

namespace club = benchsupport::club;

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
        w.cboFJahr->setCurrentText(QString::number(club::Jahr));
    return w;
}

void sucheAus(benchmark::State &state, bool nurJahr)
{
    benchsupport::OeffneGrossenClub();
    Fangauswertung &w = fenster(nurJahr);
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    const std::string von = " FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr";
    const std::string filter = nurJahr ? " AND fa.FangJahr = ?" : "";
    const std::string auswahl = "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht" +
                                von + filter + " ORDER BY fa.FangNr";
    const std::string summen = "SELECT COUNT(fa.FangNr), SUM(fa.Anzahl), SUM(fa.Gewicht)" + von + filter;
    sqlite3_stmt *a = benchsupport::Bereite(state, db, auswahl.c_str());
    sqlite3_stmt *s = a ? benchsupport::Bereite(state, db, summen.c_str()) : nullptr;
    benchsupport::Zeilen zeilen;
    QString texte[3];
    if (a && s)
        benchsupport::MitBoden(
            state,
            [&] {
                modFAuswert::LadeAuswahl();
                w.tblFAusw->current().flush();
            },
            [&] {
                for (sqlite3_stmt *st : {a, s}) {
                    sqlite3_reset(st);
                    if (nurJahr)
                        sqlite3_bind_int(st, 1, club::Jahr);
                }
                if (sqlite3_step(s) == SQLITE_ROW)
                    for (int c = 0; c < 3; ++c)
                        texte[c] = QString::number(sqlite3_column_int64(s, c));
                zeilen.clear();
                zeilen.reserve(std::size_t(texte[0].toLongLong()));
                while (sqlite3_step(a) == SQLITE_ROW) {
                    const int monat = sqlite3_column_int(a, 4);
                    zeilen.push_back({benchsupport::Zelle(a, 0), benchsupport::Zelle(a, 1), benchsupport::Zelle(a, 2),
                                      benchsupport::Monatsname(monat), benchsupport::Zelle(a, 3),
                                      benchsupport::Zelle(a, 5), benchsupport::Zelle(a, 6)});
                }
            },
            [] { QCoreApplication::processEvents(); });
    benchsupport::ZeigtZeilen(state, w.tblFAusw->top(), zeilen);
    state.counters["rows"] = double(zeilen.size());
    sqlite3_finalize(a);
    sqlite3_finalize(s);
    sqlite3_close(db);
}

void BM_EvaluationYear(benchmark::State &state)
{
    sucheAus(state, true);
}
BENCHMARK(BM_EvaluationYear)->Unit(benchmark::kMillisecond);

void BM_EvaluationAll(benchmark::State &state)
{
    sucheAus(state, false);
}
BENCHMARK(BM_EvaluationAll)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
