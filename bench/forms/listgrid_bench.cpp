// Filling the list grid: 100,000 catch rows appended one by one, as the list loaders do,
// into a grid that is on screen, until the view shows them all.
#include "bench/bench_support.h"
#include "forms/fields.h"
#include "forms/listgrid.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

namespace {

void BM_FillListGrid(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    forms::ListGrid grid;
    grid.resize(800, 600);
    grid.show();
    benchsupport::LadeJeDurchlauf(
        state, nullptr,
        [&] {
            grid.clear();
            for (int i = 0; i < rows; ++i)
                grid.addRow(QVariantList{i, QStringLiteral("Hecht"), QStringLiteral("Baggersee Nord"),
                                         QStringLiteral("Juli"), i % 7, 1.25 * (i % 13)});
        },
        [&grid] { return grid.view()->model()->rowCount(); });
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_FillListGrid)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same fill in a window whose count label follows the grid, as the windows' counts do.
void BM_FillListGridWithCount(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    QWidget fenster;
    auto *layout = new QVBoxLayout(&fenster);
    forms::ListGrid *grid =
        forms::grid(QStringLiteral("tbl"), &fenster, {QStringLiteral("Nr."), QStringLiteral("Name")});
    layout->addWidget(grid, 1);
    QLabel *anzahl = forms::label(QStringLiteral("lblAnzahl"), QString(), &fenster);
    layout->addLayout(forms::countRow(forms::label(QString(), QStringLiteral("Anzahl:"), &fenster), anzahl));
    forms::followRowCount(anzahl, grid->top());
    fenster.resize(800, 600);
    fenster.show();
    benchsupport::LadeJeDurchlauf(
        state, nullptr,
        [&] {
            grid->clear();
            for (int i = 0; i < rows; ++i)
                grid->addRow(QVariantList{i, QStringLiteral("Hecht"), QStringLiteral("Baggersee Nord"),
                                          QStringLiteral("Juli"), i % 7, 1.25 * (i % 13)});
        },
        [grid, anzahl] {
            return anzahl->text() == QString::number(grid->rowCount()) ? grid->view()->model()->rowCount() : -1;
        });
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_FillListGridWithCount)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindInColumn(benchmark::State &state)
{
    forms::GridList list;
    for (int i = 0; i < 100000; ++i)
        list.addRow(QVariantList{i, QStringLiteral("Name %1").arg(i)});
    const QString last = QStringLiteral("Name 99999");
    for (auto _ : state)
        benchmark::DoNotOptimize(list.find(1, last));
}
BENCHMARK(BM_FindInColumn)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv);
}
