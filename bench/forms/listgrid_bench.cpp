// Filling the list grid: 100,000 catch rows appended one by one, as the list loaders do,
// into a grid that is on screen, until the view shows them all.
#include "bench/bench_support.h"
#include "forms/listgrid.h"

#include <QTableView>
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
