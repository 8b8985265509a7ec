// An item selector of 10,000 captioned items (layout, a paint of the view scrolled half way, a
// lookup by caption) beside a QListWidget in icon mode holding the same items, in the same run.
#include "dropdown/AdvDropDown_Selector.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kItems = 10000;

// A selector filled with the change notice held back: each caption write would lay the whole
// panel out again.
std::unique_ptr<TAdvCustomItemSelector> FilledSelector()
{
    auto selector = std::make_unique<TAdvCustomItemSelector>();
    selector->resize(400, 300);
    selector->SetColumns(4);
    auto notify = std::move(selector->Items().OnChange);
    selector->Items().OnChange = nullptr;
    for (int i = 0; i < kItems; ++i)
        selector->Items().Add()->SetCaption(QString("Item <b>%1</b>").arg(i));
    selector->Items().OnChange = std::move(notify);
    return selector;
}

std::unique_ptr<QListWidget> FilledList()
{
    auto list = std::make_unique<QListWidget>();
    list->setViewMode(QListView::IconMode);
    list->resize(400, 300);
    for (int i = 0; i < kItems; ++i)
        list->addItem(QString("Item %1").arg(i));
    return list;
}

void BM_SelectorLayout(benchmark::State& state)
{
    auto selector = FilledSelector();
    for (auto _ : state)
        selector->UpdateSelectorPanel();
}

void BM_ListWidgetLayout(benchmark::State& state)
{
    auto list = FilledList();
    for (auto _ : state)
        list->doItemsLayout();
}

// Paints the control, its layout done and scrolled half way down, into an image.
void PaintHalfway(benchmark::State& state, QAbstractScrollArea* area)
{
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum() / 2);
    QImage target(area->size(), QImage::Format_RGB32);
    for (auto _ : state)
        area->render(&target);
}

void BM_SelectorPaint(benchmark::State& state)
{
    auto selector = FilledSelector();
    selector->UpdateSelectorPanel();
    PaintHalfway(state, selector.get());
}

void BM_ListWidgetPaint(benchmark::State& state)
{
    auto list = FilledList();
    list->doItemsLayout();
    PaintHalfway(state, list.get());
}

void BM_SelectorLookup(benchmark::State& state)
{
    auto selector = FilledSelector();
    selector->UpdateSelectorPanel();
    for (auto _ : state)
        benchmark::DoNotOptimize(selector->LookupItem("ITEM 9999"));
}

void BM_ListWidgetLookup(benchmark::State& state)
{
    auto list = FilledList();
    for (auto _ : state)
        benchmark::DoNotOptimize(list->findItems("Item 9999", Qt::MatchStartsWith));
}

BENCHMARK(BM_SelectorLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWidgetLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectorPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWidgetPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectorLookup)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListWidgetLookup)->Unit(benchmark::kMillisecond);

} // namespace
