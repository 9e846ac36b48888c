// The start-up load after login on a large club's data: 5,000 contacts (half of them members),
// 50,000 catches over five years, 20 fish species, 12 waters, 600 stocking entries.
#include "core/Eroef.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_folder.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <memory>

namespace {

constexpr int Jahr = 2024;
constexpr int Monat = 5;

void fuelleDatenbank(dao::Database &db, dao::Workspace &ws)
{
    ws.BeginTrans();
    db.Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten'), (4, 'Behörden')");
    for (int i = 1; i <= 20; ++i)
        db.Execute("INSERT INTO Fisch (FName) VALUES (?)", {QStringLiteral("Fischart %1").arg(i)});
    for (int i = 1; i <= 12; ++i)
        db.Execute("INSERT INTO Gewaesser (GName) VALUES (?)", {QStringLiteral("Gewässer %1").arg(i)});
    for (int k = 1; k <= 5000; ++k) {
        const int kategorie = k % 4 + 1;
        db.Execute(
            "INSERT INTO Kontakt (KategoNr, Nachname, Vorname, Ort) VALUES (?, ?, ?, ?)",
            {kategorie, QStringLiteral("Name %1").arg(k), QStringLiteral("Vorname %1").arg(k), QStringLiteral("Ort")});
        if (kategorie <= 2)
            db.Execute("INSERT INTO Mitglied (KNr, Befreit) VALUES (?, ?)", {k, k % 10 == 0});
    }
    // 50,000 catches: five years of twelve months, spread evenly.
    for (int f = 0; f < 50000; ++f)
        db.Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Anzahl, Gewicht) VALUES (?, ?, ?, ?, ?, ?)",
                   {Jahr - f % 5, (f / 5) % 12 + 1, f % 20 + 1, f % 12 + 1, f % 7 + 1, 250 + f % 3000});
    for (int b = 0; b < 600; ++b)
        db.Execute("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES (?, ?, ?, 'Frühjahr', ?)",
                   {Jahr - b % 5, b % 20 + 1, b % 12 + 1, 10.5 + b});
    ws.CommitTrans();
}

void BM_LadeAlleTabellen(benchmark::State &state)
{
    apptest::Programmordner ordner;
    ordner.richteEin();
    modGVar::resetGv();
    modStart::OeffneDatenbank();
    fuelleDatenbank(gv().dbDaten, *gv().wsDaten);
    forms::ScriptedMsgBox boxes;

    std::unique_ptr<forms::ListGrid> fangListe;
    core::einstiege().fangListe = [&]() -> forms::ListGrid & { return *fangListe; };
    long long zeilen = 0;
    for (auto _ : state) {
        state.PauseTiming();
        forms::unloadAll(); // every loader starts from fresh windows, as after login
        fangListe = std::make_unique<forms::ListGrid>();
        gv().intJahr = Jahr;
        gv().intMonat = Monat;
        state.ResumeTiming();

        modStart::LadeAlleTabellen();
        zeilen = fangListe->rowCount();
    }
    state.counters["Fangzeilen"] = double(zeilen);
    state.counters["Meldungen"] = double(boxes.count());
    core::einstiege().fangListe = {};
    forms::unloadAll();
    fangListe.reset();
    gv().dbDaten.Close();
    modGVar::resetGv();
}
BENCHMARK(BM_LadeAlleTabellen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv);
}
