// Completion while typing over 20,000 lookup entries: the multi-column and grid drop-downs typing one
// character into an empty edit (the walk finds the entry near the end of the list), beside a
// QCompleter over a QStringListModel of the same texts asked for the same prefix, in the same run.
// The ratio of the two times is what to read, not the times themselves.
#include "dropdown/AdvCustomGridDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"

#include <QApplication>
#include <QCompleter>
#include <QStringListModel>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kEntries = 20000;

QStringList Texts()
{
    QStringList texts;
    texts.reserve(kEntries);
    // Every text begins with a letter from a..y; the last one alone begins with z.
    for (int i = 0; i < kEntries - 1; ++i)
        texts.append(QString("%1item %2").arg(QChar('a' + i % 25)).arg(i, 5, 10, QChar('0')));
    texts.append("zebra");
    return texts;
}

// Types "z" into the emptied drop-down, which completes to the last entry; the list is ended
// (filled) before the clock runs.
template <class DropDown>
void TypeZ(benchmark::State& state, DropDown* dd)
{
    dd->EndUpdate();
    for (auto _ : state) {
        dd->SetText(QString());
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
        QApplication::sendEvent(dd, &press);
        benchmark::DoNotOptimize(dd->ItemIndex());
    }
    if (dd->text() != "zebra")
        state.SkipWithError("completion did not reach the last entry");
}

void BM_MultiColumnCompletion(benchmark::State& state)
{
    QWidget host;
    auto* dd = TAdvCustomDropDown::New<TAdvMultiColumnDropDown>(&host);
    dd->Columns().Add()->SetHeader("Name");
    for (const QString& t : Texts())
        dd->Items().Add()->Text().Add(t);
    TypeZ(state, dd);
}
BENCHMARK(BM_MultiColumnCompletion)->Unit(benchmark::kMicrosecond);

// The same typing into the grid drop-down, which completes from its own lookup list.
void BM_GridDropDownCompletion(benchmark::State& state)
{
    QWidget host;
    auto* dd = TAdvCustomDropDown::New<TCustomAdvGridDropDown>(&host);
    dd->Columns().Add()->Header = "Name";
    for (const QString& t : Texts())
        dd->Items().Add()->Text = QStringList{t};
    TypeZ(state, dd);
}
BENCHMARK(BM_GridDropDownCompletion)->Unit(benchmark::kMicrosecond);

void BM_QCompleterCompletion(benchmark::State& state)
{
    QStringListModel model(Texts());
    // A fresh completer each time: one kept would answer the prefix from its cache of the last
    // answer, where the drop-downs search their lists anew.
    QString found;
    for (auto _ : state) {
        QCompleter completer(&model);
        completer.setCaseSensitivity(Qt::CaseInsensitive);
        completer.setModelSorting(QCompleter::UnsortedModel);
        completer.setCompletionPrefix("z");
        found = completer.currentCompletion();
        benchmark::DoNotOptimize(found);
    }
    if (found != "zebra")
        state.SkipWithError("the completer found another entry");
}
BENCHMARK(BM_QCompleterCompletion)->Unit(benchmark::kMicrosecond);

} // namespace
