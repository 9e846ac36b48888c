// A member list of 5,000 members written to PDF: the whole print-out (the grid copied into the
// print table, the report read and laid out, every page written), and the report alone.
#include "workhours/modMitglListDruck.h"

#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/testing/program_folder.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"
#include "report/fakeprinters.h"
#include "report/report.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Mitglieder = 5000;

// The program folder with its database and the club address, made once for every run.
void oeffneClubdaten()
{
    if (benchsupport::OeffneClubdaten([](dao::Database &) {}))
        apptest::Vereinsadresse(QStringLiteral("Angelsportverein Petri Heil e.V."));
}

QString imProgrammordner(const QString &datei)
{
    return QDir(benchsupport::Programmordner()).filePath(datei);
}

// The member list's grid as the member query fills it.
void fuelle(forms::ListGrid &grid)
{
    for (int i = 1; i <= Mitglieder; ++i)
        grid.addRow(QVariantList{qlonglong(i), QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname"),
                                 QStringLiteral("Hauptstraße %1").arg(i % 200), QStringLiteral("%1").arg(10000 + i % 90000),
                                 QStringLiteral("Fischbach"), QStringLiteral("0123 %1").arg(i),
                                 i % 7 ? QStringLiteral("14.02.1980") : QString(), QStringLiteral("20,00"),
                                 QStringLiteral("%1,50").arg(i % 40), QStringLiteral("-3,50")});
}

void BM_DruckeMitglListePdf(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelle(grid);
    report::FakePrinters drucker({QStringLiteral("Laser")});
    drucker.pdfPath = imProgrammordner(QStringLiteral("mitglieder.pdf"));
    for (auto _ : state)
        modMitglList::DruckeMitglListe(QStringLiteral("drucken"), grid, QString::number(Mitglieder), QString());
    state.counters["rows"] = Mitglieder;
    state.counters["pages"] = modMitglList::rpt_MitglList().PageCount(600);
}
BENCHMARK(BM_DruckeMitglListePdf)->Unit(benchmark::kMillisecond);

void BM_MitglListeReportPdf(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelle(grid);
    {
        report::FakePrinters drucker({QStringLiteral("Laser")});
        modMitglList::DruckeMitglListe(QStringLiteral("drucken"), grid, QString::number(Mitglieder), QString());
    }
    const report::Report &r = modMitglList::rpt_MitglList();
    const QString pdf = imProgrammordner(QStringLiteral("bericht.pdf"));
    for (auto _ : state)
        r.ExportPdf(pdf);
    state.counters["rows"] = r.rowCount();
}
BENCHMARK(BM_MitglListeReportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, [] {
        modDruck::VerwerfeBerichte();
        benchsupport::SchliesseProgramm();
    });
}
