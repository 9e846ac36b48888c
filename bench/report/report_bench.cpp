// A member list of 5,000 members written to PDF: the whole print-out (the grid copied into the
// print table, the report read and laid out, every page written), and the report alone.
#include "workhours/modMitglListDruck.h"

#include "core/Info.h"
#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "report/fakeprinters.h"
#include "report/report.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>

namespace {

constexpr int Mitglieder = 5000;

QTemporaryDir &home()
{
    static QTemporaryDir dir;
    return dir;
}

// The program folder with its database and the club address, made once for every run.
void oeffneClubdaten()
{
    if (gv().dbDaten.IsOpen())
        return;
    qputenv("TORVANA_HOME", home().path().toUtf8());
    schema::CreateStarterDatabase(modStart::Datenbankpfad());
    modStart::OeffneDatenbank();
    Info &info = forms::form<Info>();
    info.lblVerein->setText(QStringLiteral("Angelsportverein Petri Heil e.V."));
    info.lblStrasse->setText(QStringLiteral("Uferweg 3"));
    info.lblPLZ->setText(QStringLiteral("12345"));
    info.lblOrt->setText(QStringLiteral("Fischbach"));
    info.lblTelefon->setText(QStringLiteral("0123 4567"));
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
    drucker.pdfPath = home().filePath(QStringLiteral("mitglieder.pdf"));
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
    const QString pdf = home().filePath(QStringLiteral("bericht.pdf"));
    for (auto _ : state)
        r.ExportPdf(pdf);
    state.counters["rows"] = r.rowCount();
}
BENCHMARK(BM_MitglListeReportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    modDruck::VerwerfeBerichte();
    forms::unloadAll();
    gv().dbDaten.Close();
    return 0;
}
