// Work hours of the large club (2,000 members, 100,000 entries over ten years): loading one
// member's year into the work-hours window, and the yearly carry-over of every member's balance
// (written in one transaction and taken back after each run), each beside its floor: the same
// queries and the same rows or entries through sqlite3's C API on the same file. The first click on
// a navigation item, beside a later one.
#include "workhours/Arbeit.h"
#include "workhours/modArbeit.h"

#include "bereiche.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QCoreApplication>
#include <QDate>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>

namespace {

namespace club = benchsupport::club;

const qlonglong Mitglied = club::Mitglieder() / 2 + 1;
constexpr int Jahr = club::ErstesJahr + 2;

void BM_WorkHoursMember(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    Arbeit &f = workhours::ArbeitFenster();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = benchsupport::Bereite(
        state, db, "SELECT ArbNr, KNr, ArbStd, Datum FROM Arbeit WHERE KNr = ? AND Jahr = ? ORDER BY ArbNr");
    sqlite3_stmt *su =
        st ? benchsupport::Bereite(state, db, "SELECT SUM(ArbStd) FROM Arbeit WHERE KNr = ? AND Jahr = ?") : nullptr;
    benchsupport::Zeilen zeilen;
    double summe = 0;
    if (su)
        benchsupport::MitBoden(
            state,
            [&] {
                benchmark::DoNotOptimize(modArbeit::loadTblArbeit(Mitglied, Jahr));
                f.tblArbStd->current().flush();
            },
            [&] {
                zeilen.clear();
                for (sqlite3_stmt *s : {st, su}) {
                    sqlite3_reset(s);
                    sqlite3_bind_int64(s, 1, Mitglied);
                    sqlite3_bind_int(s, 2, Jahr);
                }
                while (sqlite3_step(st) == SQLITE_ROW)
                    zeilen.push_back({benchsupport::Zelle(st, 0), benchsupport::Zelle(st, 1),
                                      benchsupport::Zahl(sqlite3_column_double(st, 2)),
                                      benchsupport::Datum(sqlite3_column_double(st, 3))});
                summe = sqlite3_step(su) == SQLITE_ROW ? sqlite3_column_double(su, 0) : 0;
                benchmark::DoNotOptimize(summe);
            },
            [] { QCoreApplication::processEvents(); });
    benchsupport::ZeigtZeilen(state, f.tblArbStd->top(), zeilen);
    state.counters["rows"] = f.tblArbStd->rowCount();
    sqlite3_finalize(st);
    sqlite3_finalize(su);
    sqlite3_close(db);
}
BENCHMARK(BM_WorkHoursMember)->Unit(benchmark::kMicrosecond);

// The carry-over from the year before the current one into the current one; the floor reads the
// same members with their sums and writes the same entries in one transaction. The program reads
// the required hours from the system table's record set and books each entry through its own
// statement text; the floor keeps one prepared insert. Both commit one transaction.
void BM_CarryOver(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    forms::ScriptedMsgBox boxes;
    long alt = club::Jahr - 1;
    long neu = club::Jahr;
    sqlite3 *db = benchsupport::OeffneRoh(state, true);
    if (!db)
        return;
    sqlite3_stmt *mitglieder =
        benchsupport::Bereite(state, db,
                              "SELECT k.KNr, (SELECT SUM(a.ArbStd) FROM Arbeit a WHERE a.KNr = k.KNr AND a.Jahr = ?) "
                              "FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr AND m.Befreit = 0 ORDER BY k.KNr");
    sqlite3_stmt *pflicht = mitglieder ? benchsupport::Bereite(state, db, "SELECT PflichtStd FROM System") : nullptr;
    sqlite3_stmt *neuerEintrag =
        pflicht ? benchsupport::Bereite(state, db,
                                        "INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, ?)")
                : nullptr;
    sqlite3_stmt *lies =
        neuerEintrag ? benchsupport::Bereite(state, db,
                                             "SELECT KNr, Jahr, Datum, ArbStd, Notiz FROM Arbeit "
                                             "WHERE Datum = ? AND Notiz COLLATE BINARY IN (?, ?) ORDER BY KNr, ArbNr")
                     : nullptr;
    const QByteArray mehr = QStringLiteral("Mehrleistungsübertrag aus Arbeitsjahr %1").arg(alt).toUtf8();
    const QByteArray minder = QStringLiteral("Minderleistungsübertrag aus Arbeitsjahr %1").arg(alt).toUtf8();
    const double neujahr = dao::ToOleDate(QDate(int(neu), 1, 1));
    long long geschrieben = 0;
    auto programm = [&] { benchmark::DoNotOptimize(modArbeit::UebernehmeStunden(alt)); };
    auto boden = [&] {
        geschrieben = 0;
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_reset(pflicht);
        const double soll = sqlite3_step(pflicht) == SQLITE_ROW ? sqlite3_column_double(pflicht, 0) : 0;
        sqlite3_reset(pflicht); // no read left open on the file
        sqlite3_reset(mitglieder);
        sqlite3_bind_int64(mitglieder, 1, alt);
        while (sqlite3_step(mitglieder) == SQLITE_ROW) {
            const double saldo = std::round((sqlite3_column_double(mitglieder, 1) - soll) * 100) / 100;
            const QByteArray &notiz = saldo > 0 ? mehr : minder;
            sqlite3_reset(neuerEintrag);
            sqlite3_bind_int64(neuerEintrag, 1, sqlite3_column_int64(mitglieder, 0));
            sqlite3_bind_int64(neuerEintrag, 2, neu);
            sqlite3_bind_double(neuerEintrag, 3, neujahr);
            sqlite3_bind_double(neuerEintrag, 4, saldo);
            sqlite3_bind_text(neuerEintrag, 5, notiz.constData(), int(notiz.size()), SQLITE_STATIC);
            if (sqlite3_step(neuerEintrag) == SQLITE_DONE)
                ++geschrieben;
        }
        sqlite3_reset(mitglieder);
        sqlite3_reset(neuerEintrag);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    };
    auto aufraeumen = [&] {
        modArbeit::Ueberpruefe_auf_Uebertrag(neu);
        boxes.clear();
    };
    // The carry-over's entries as the file holds them.
    auto eintraege = [&] {
        benchsupport::Zeilen z;
        sqlite3_reset(lies);
        sqlite3_bind_double(lies, 1, neujahr);
        sqlite3_bind_text(lies, 2, mehr.constData(), int(mehr.size()), SQLITE_STATIC);
        sqlite3_bind_text(lies, 3, minder.constData(), int(minder.size()), SQLITE_STATIC);
        while (sqlite3_step(lies) == SQLITE_ROW)
            z.push_back({benchsupport::Zelle(lies, 0), benchsupport::Zelle(lies, 1), benchsupport::Zelle(lies, 2),
                         benchsupport::Zelle(lies, 3), benchsupport::Zelle(lies, 4)});
        sqlite3_reset(lies);
        return z;
    };
    benchsupport::Zeilen vomProgramm, vomBoden;
    if (lies) {
        benchsupport::MitBoden(state, programm, boden, aufraeumen);
        // Outside the timed part: each once more, what it wrote read back before it is taken back.
        programm();
        vomProgramm = eintraege();
        aufraeumen();
        boden();
        vomBoden = eintraege();
        aufraeumen();
    }
    const long long erwartet = club::Mitglieder() - club::Mitglieder() / 10;
    if (geschrieben != erwartet || vomBoden.size() != std::size_t(erwartet))
        state.SkipWithError("the floor did not write every member's entry");
    else if (vomProgramm != vomBoden)
        state.SkipWithError("the program did not write the floor's entries");
    state.counters["members"] = double(geschrieben);
    sqlite3_finalize(mitglieder);
    sqlite3_finalize(pflicht);
    sqlite3_finalize(neuerEintrag);
    sqlite3_finalize(lies);
    sqlite3_close(db);
}
BENCHMARK(BM_CarryOver)->Unit(benchmark::kMillisecond);

// The first click on a navigation item after login, beside a later click on the same item: the
// windows the login loads are loaded (each iteration starts from fresh windows and the login's
// load, untimed), the click hides every content window and shows the item's. x_later is the first
// click's time over the later one's (x_later_cpu: processor time); on the large club's 100,000
// work-hours entries a click that loads windows it does not show, or reads the year lists by
// scanning the entries, shows here.
void BM_FirstClick(benchmark::State &state, const char *key)
{
    benchsupport::OeffneGrossenClub();
    static const bool registriert = [] {
        RegistriereBereiche();
        return true;
    }();
    (void)registriert;
    const QString schluessel = QString::fromLatin1(key);
    auto klicke = [](const QString &k) {
        if (forms::Form *f = modMain::ZeigeFenster(k))
            f->Show();
        QCoreApplication::processEvents();
    };
    const QString anderer =
        schluessel == QLatin1String("Fangbuch") ? QStringLiteral("Kontakte") : QStringLiteral("Fangbuch");
    // A click on the item, its wall and processor time added to z.
    struct Zeit
    {
        std::chrono::duration<double> wand{0};
        double cpu = 0;
    } erster, spaeter;
    auto gemessen = [&](Zeit &z) {
        const double c0 = benchsupport::Prozessorzeit();
        const auto t0 = std::chrono::steady_clock::now();
        klicke(schluessel);
        z.wand += std::chrono::steady_clock::now() - t0;
        z.cpu += benchsupport::Prozessorzeit() - c0;
    };
    for (auto _ : state) {
        state.PauseTiming();
        forms::unloadAll();
        modStart::LadeAlleTabellen();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        gemessen(erster);
        state.PauseTiming();
        klicke(anderer);
        gemessen(spaeter);
        state.ResumeTiming();
    }
    forms::Form *f = core::GeladenesFenster(schluessel);
    if (!f || !f->isVisible())
        state.SkipWithError("the item's window is not shown");
    state.counters["x_later"] = spaeter.wand.count() > 0 ? erster.wand.count() / spaeter.wand.count() : 0.0;
    state.counters["x_later_cpu"] = spaeter.cpu > 0 ? erster.cpu / spaeter.cpu : 0.0;
    forms::unloadAll();
}
BENCHMARK_CAPTURE(BM_FirstClick, Fangbuch, "Fangbuch")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_FirstClick, Kontakte, "Kontakte")->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_FirstClick, Arbeit, "Arbeit")->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
