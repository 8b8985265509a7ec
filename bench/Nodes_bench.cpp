// 100,000 rows in 10,000 node groups (each a node row and 9 child rows) in a shown 1200 x 800
// window: ContractAll then ExpandAll of the string grid beside collapseAll then expandAll of a
// QTreeView over a QStandardItemModel holding the same tree (10,000 top items of 9 children each,
// 100,000 items in all). One iteration is the pair of calls on the same control; the ratio of the
// two lines is the figure.
#include "bench/main/ShownWindow.h"
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QStandardItemModel>
#include <QTreeView>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kGroups = 10000;
constexpr int kSpan = 10; // the node row and its 9 rows
constexpr int kRows = kGroups * kSpan;
constexpr int kWidth = 1200;
constexpr int kHeight = 800;

using Window = bench::ShownWindow<kWidth, kHeight>;

struct GridHost : Window {
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&host))
    {
        grid->Loaded();
        grid->SetColCount(3);
        grid->SetRowCount(kRows + 1); // one fixed row above the groups
        for (int r = 1; r <= kRows; ++r) {
            grid->SetGridCell(1, r, QString::number(r));
            grid->SetGridCell(2, r, QStringLiteral("item"));
        }
        for (int g = 0; g < kGroups; ++g)
            grid->AddNode(1 + g * kSpan, kSpan);
        Show(grid);
    }
};

struct TreeHost : Window {
    QStandardItemModel model;
    QTreeView* tree;
    TreeHost() : tree(new QTreeView(&host))
    {
        model.setColumnCount(2);
        QStandardItem* root = model.invisibleRootItem();
        for (int g = 0; g < kGroups; ++g) {
            const int first = 1 + g * kSpan;
            QList<QStandardItem*> node{new QStandardItem(QString::number(first)), new QStandardItem("item")};
            for (int k = 1; k < kSpan; ++k)
                node[0]->appendRow({new QStandardItem(QString::number(first + k)), new QStandardItem("item")});
            root->appendRow(node);
        }
        tree->setModel(&model);
        tree->setUniformRowHeights(true);
        tree->expandAll();
        Show(tree);
    }
};

void BM_ContractExpandAll_AdvGrid(benchmark::State& state)
{
    GridHost h;
    for (auto _ : state) {
        h.grid->ContractAll();
        h.grid->ExpandAll();
        QApplication::processEvents();
    }
    if (h.grid->RowCount() != kRows + 1)
        state.SkipWithError("rows lost");
}

void BM_ContractExpandAll_QTreeView(benchmark::State& state)
{
    TreeHost h;
    for (auto _ : state) {
        h.tree->collapseAll();
        h.tree->expandAll();
        QApplication::processEvents();
    }
}

// The halves alone, each measured from the other state.
void BM_ContractAll_AdvGrid(benchmark::State& state)
{
    GridHost h;
    for (auto _ : state) {
        h.grid->ContractAll();
        // The repaint it asked for is processed, as the tree's is.
        QApplication::processEvents();
        state.PauseTiming();
        h.grid->ExpandAll();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_ContractAll_QTreeView(benchmark::State& state)
{
    TreeHost h;
    for (auto _ : state) {
        h.tree->collapseAll();
        QApplication::processEvents();
        state.PauseTiming();
        h.tree->expandAll();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

BENCHMARK(BM_ContractExpandAll_QTreeView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContractExpandAll_AdvGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContractAll_QTreeView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContractAll_AdvGrid)->Unit(benchmark::kMillisecond);

} // namespace
