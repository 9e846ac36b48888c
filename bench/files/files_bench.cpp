// The catch list file FANG.csv of 50,000 catches (the evaluation of all years on a club database
// of ten years, 12 fish species and 8 waters), written from the evaluation grid as the file key
// writes it, beside the same rows read through SQLite's own interface and written as CSV the way
// the sqlite3 shell's csv mode writes them, which is the floor the file is measured against.
#include "fishery/Fangauswertung.h"
#include "fishery/modFAuswert.h"
#include "fishery/modFAuswertDatei.h"

#include "core/modGVar.h"
#include "core/modStart.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "office/fakeoffice.h"

#include <QCheckBox>
#include <QDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <cstdio>
#include <string>

namespace {

constexpr int Faenge = 50000;

void legeFaengeAn(dao::Database &db)
{
    benchsupport::LegeFaengeAn(db, Faenge);
}

// The database and the evaluation of all years are made once, on first use.
Fangauswertung &auswertung()
{
    if (!benchsupport::OeffneClubdaten(legeFaengeAn))
        return forms::form<Fangauswertung>();
    QDir(benchsupport::Programmordner()).mkdir(QStringLiteral("SeqData"));
    gv().intJahr = 2020;
    gv().intMonat = 7;
    Fangauswertung &w = forms::form<Fangauswertung>();
    w.resize(1000, 700);
    w.Show();
    w.chkArchiv->setChecked(false);
    modFAuswert::LadeAuswahl();
    return w;
}

void BM_ErzeugeFangDatei(benchmark::State &state)
{
    Fangauswertung &w = auswertung();
    office::FakeOffice office;
    forms::ScriptedMsgBox boxes;
    for (auto _ : state) {
        boxes.clear();
        boxes.answer(forms::vbOK);
        boxes.answer(forms::vbNo); // no spreadsheet program
        modFAuswert::ErzeugeFangDatei(*w.tblFAusw);
    }
    if (boxes.count() != 2 || boxes.boxes()[0].flags != forms::vbOKOnly + forms::vbInformation)
        state.SkipWithError("the file was not written");
    state.counters["rows"] = w.tblFAusw->rowCount();
}
BENCHMARK(BM_ErzeugeFangDatei)->Unit(benchmark::kMillisecond);

// A CSV field as the sqlite3 shell writes it: quoted when it holds a quote, a separator, a
// blank or a line break.
void schreibeFeld(std::FILE *f, const unsigned char *text, int laenge)
{
    bool quote = false;
    for (int i = 0; i < laenge && !quote; ++i)
        quote = text[i] == '"' || text[i] == ';' || text[i] == ' ' || text[i] == '\r' || text[i] == '\n';
    if (!quote) {
        std::fwrite(text, 1, std::size_t(laenge), f);
        return;
    }
    std::fputc('"', f);
    for (int i = 0; i < laenge; ++i) {
        if (text[i] == '"')
            std::fputc('"', f);
        std::fputc(text[i], f);
    }
    std::fputc('"', f);
}

void BM_SqliteCsv(benchmark::State &state)
{
    auswertung();
    const QByteArray ziel = (modStart::Programmordner() + QStringLiteral("/SeqData/sqlite.csv")).toUtf8();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    const char *sql = "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht "
                      "FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr "
                      "ORDER BY fa.FangNr";
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    long long zeilen = 0;
    for (auto _ : state) {
        std::FILE *f = std::fopen(ziel.constData(), "wb");
        if (!f) {
            state.SkipWithError("file not opened");
            break;
        }
        zeilen = 0;
        sqlite3_reset(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < 7; ++c) {
                if (c > 0)
                    std::fputc(';', f);
                schreibeFeld(f, sqlite3_column_text(st, c), sqlite3_column_bytes(st, c));
            }
            std::fputs("\r\n", f);
            ++zeilen;
        }
        std::fclose(f);
    }
    state.counters["rows"] = double(zeilen);
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_SqliteCsv)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // A box shown by mistake is answered rather than waited for.
    forms::ScriptedMsgBox boxes;
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
