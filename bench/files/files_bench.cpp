// The catch list file FANG.csv of the large club's 50,000 catches: the evaluation of all years
// searched and the file written from its grid as the file key writes it, beside its floor: the
// same queries through sqlite3's C API and the same lines written.
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
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <string>

namespace {

// The evaluation window on screen, every year.
Fangauswertung &auswertung()
{
    benchsupport::OeffneGrossenClub();
    QDir(benchsupport::Programmordner()).mkdir(QStringLiteral("SeqData"));
    Fangauswertung &w = forms::form<Fangauswertung>();
    if (!w.isVisible()) {
        w.resize(1000, 700);
        w.Show();
    }
    w.chkArchiv->setChecked(false);
    return w;
}

// A field of FANG.csv as the file quotes it, followed by its separator.
void feld(QByteArray &zeile, const char *text, int laenge)
{
    bool quote = false;
    for (int i = 0; i < laenge && !quote; ++i)
        quote = text[i] == '"' || text[i] == ';' || text[i] == '\r' || text[i] == '\n';
    if (!quote) {
        zeile.append(text, laenge);
    } else {
        zeile += '"';
        for (int i = 0; i < laenge; ++i) {
            if (text[i] == '"')
                zeile += '"';
            zeile += text[i];
        }
        zeile += '"';
    }
    zeile += ';';
}

void feld(QByteArray &zeile, const QString &text)
{
    const QByteArray l = text.toLatin1();
    feld(zeile, l.constData(), int(l.size()));
}

// Text of a column without trailing blanks, cut after breite characters.
QString spalte(sqlite3_stmt *st, int c, int breite)
{
    QString s =
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
    qsizetype n = std::min<qsizetype>(s.size(), breite);
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    s.truncate(n);
    return s;
}

// FANG.csv of all catches, from the search ("Suchen") to the file written by the file key; the
// floor runs the evaluation's queries and writes the same lines, as the program must to keep the
// old file on a failure: into a temporary file, synced to the disk and renamed over its own. The
// floor does less than the program has to: it fills no grid (the program writes the file from the
// grid the user sees). x_floor_cpu leaves the wait for the disk out.
void BM_FangCsv(benchmark::State &state)
{
    Fangauswertung &w = auswertung();
    office::FakeOffice office;
    forms::ScriptedMsgBox boxes;
    const QString bodenDatei = modStart::Programmordner() + QStringLiteral("/SeqData/floor.csv");
    benchsupport::EntferneDateien(modFAuswert::FangDateiPfad(), bodenDatei);
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    const char *const Von = " FROM Fang fa , Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr";
    const std::string auswahl =
        std::string("SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht") + Von +
        " ORDER BY fa.FangNr";
    const std::string summen = std::string("SELECT COUNT(fa.FangNr), SUM(fa.Anzahl), SUM(fa.Gewicht)") + Von;
    sqlite3_stmt *st = benchsupport::Bereite(state, db, auswahl.c_str());
    sqlite3_stmt *su = st ? benchsupport::Bereite(state, db, summen.c_str()) : nullptr;
    long long zeilen = 0;
    if (su)
        benchsupport::MitBoden(
            state,
            [&] {
                boxes.clear();
                boxes.answer(forms::vbOK);
                boxes.answer(forms::vbNo); // no spreadsheet program
                modFAuswert::LadeAuswahl();
                modFAuswert::ErzeugeFangDatei(*w.tblFAusw);
            },
            [&] {
                sqlite3_reset(su);
                if (sqlite3_step(su) == SQLITE_ROW)
                    benchmark::DoNotOptimize(sqlite3_column_int64(su, 1) + sqlite3_column_int64(su, 2));
                benchsupport::Datei datei = benchsupport::OeffneDatei(bodenDatei);
                std::FILE *f = datei.f;
                if (!f)
                    return;
                std::fputs("FangNr;Fischart;Gew\xe4sser;Fangdatum(jjjj.m);Anzahl;Gewicht;\r\n", f);
                zeilen = 0;
                QByteArray zeile;
                sqlite3_reset(st);
                while (sqlite3_step(st) == SQLITE_ROW) {
                    zeile.clear();
                    char nr[32];
                    std::snprintf(nr, sizeof nr, "%-15lld", static_cast<long long>(sqlite3_column_int64(st, 0)));
                    feld(zeile, nr, int(std::strlen(nr)));
                    feld(zeile, spalte(st, 1, 50));
                    feld(zeile, spalte(st, 2, 50));
                    char datum[32];
                    std::snprintf(datum, sizeof datum, "%d.%02d", sqlite3_column_int(st, 3), sqlite3_column_int(st, 4));
                    feld(zeile, datum, int(std::strlen(datum)));
                    feld(zeile, reinterpret_cast<const char *>(sqlite3_column_text(st, 5)),
                         sqlite3_column_bytes(st, 5));
                    feld(zeile, reinterpret_cast<const char *>(sqlite3_column_text(st, 6)),
                         sqlite3_column_bytes(st, 6));
                    zeile += "\r\n";
                    std::fwrite(zeile.constData(), 1, std::size_t(zeile.size()), f);
                    ++zeilen;
                }
                if (!benchsupport::SchliesseDatei(datei))
                    zeilen = -1;
            });
    if (boxes.count() != 2 || boxes.boxes()[0].flags != forms::vbOKOnly + forms::vbInformation)
        state.SkipWithError("the file was not written");
    if (zeilen != w.tblFAusw->rowCount())
        state.SkipWithError("floor and program differ in rows");
    else if (!benchsupport::GleicheDateien(modFAuswert::FangDateiPfad(), bodenDatei))
        state.SkipWithError("the program did not write the floor's file");
    state.counters["rows"] = double(zeilen);
    sqlite3_finalize(st);
    sqlite3_finalize(su);
    sqlite3_close(db);
}
BENCHMARK(BM_FangCsv)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // A box shown by mistake is answered rather than waited for.
    forms::ScriptedMsgBox boxes;
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
