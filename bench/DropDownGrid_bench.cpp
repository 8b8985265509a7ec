// Narrowing the grid drop-down's list while typing, on 20,000 entries, beside its peer:
//   the drop-down's type-ahead with lmNarrowDown, one keystroke after the other ("1", "12",
//   "123", "1234"; each keystroke narrows the rows still shown), then the filter taken away;
//   QSortFilterProxyModel::setFilterFixedString on a QStandardItemModel of the same texts, with
//   the same four growing strings and the empty string at the end.
// Items processed are keystrokes; compare the times per keystroke.
#include "dropdown/AdvCustomGridDropDown.h"

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kEntries = 20000;
const QString kTyped = QStringLiteral("1234");

QString Entry(int i) { return QStringLiteral("entry %1").arg((i * 7919) % 100000); }

struct DropDownHost {
    QWidget host;
    TCustomAdvGridDropDown* dd;
    DropDownHost() : dd(TAdvCustomDropDown::New<TCustomAdvGridDropDown>(&host))
    {
        dd->Columns().Add()->Header = QStringLiteral("Name");
        dd->Columns().Add()->Header = QStringLiteral("No");
        for (int i = 0; i < kEntries; ++i)
            dd->Items().Add()->Text = QStringList{Entry(i), QString::number(i)};
        dd->EndUpdate();
        dd->SetLookupMethod(lmNarrowDown);
        dd->GetGrid()->SetupFromDropDown(dd);
        dd->GetGrid()->FillFromItems();
    }
};

void BM_GridDropDownNarrowDown(benchmark::State& state)
{
    DropDownHost h;
    for (auto _ : state) {
        for (QChar c : kTyped)
            h.dd->TypeAhead(c);
        benchmark::DoNotOptimize(h.dd->GetGrid()->RowCount());
        h.dd->GetGrid()->RemoveAllFilters();
        // Back to an empty typed text for the next round (not timed).
        state.PauseTiming();
        while (!h.dd->LookupEntry().isEmpty())
            h.dd->TypeAhead(QChar(8));
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * (kTyped.size() + 1));
}
BENCHMARK(BM_GridDropDownNarrowDown)->Unit(benchmark::kMillisecond);

void BM_ProxyFixedStringFilter(benchmark::State& state)
{
    QStandardItemModel model(kEntries, 2);
    for (int i = 0; i < kEntries; ++i) {
        model.setItem(i, 0, new QStandardItem(Entry(i)));
        model.setItem(i, 1, new QStandardItem(QString::number(i)));
    }
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setFilterKeyColumn(0);
    proxy.setFilterCaseSensitivity(Qt::CaseInsensitive);
    for (auto _ : state) {
        for (int n = 1; n <= kTyped.size(); ++n)
            proxy.setFilterFixedString(kTyped.left(n));
        benchmark::DoNotOptimize(proxy.rowCount());
        proxy.setFilterFixedString(QString());
    }
    state.SetItemsProcessed(state.iterations() * (kTyped.size() + 1));
}
BENCHMARK(BM_ProxyFixedStringFilter)->Unit(benchmark::kMillisecond);

} // namespace
