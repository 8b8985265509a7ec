// The change notice: the application's event first, then the notifiers in registration order,
// each once; notifiers destroyed before or after their grids.
#include "grid/AdvGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Recorder : TGridChangeNotifier {
    QStringList* log;
    QString name;
    std::function<void()> then;
    Recorder(QStringList* l, QString n) : log(l), name(std::move(n)) {}
    void CellsChanged(const TRect& R) override
    {
        *log << QStringLiteral("%1 %2,%3-%4,%5").arg(name).arg(R.Left).arg(R.Top).arg(R.Right).arg(R.Bottom);
        if (then)
            then();
    }
};

struct NotifierHost {
    QWidget window;
    TVerIvovavOzed* grid = new TVerIvovavOzed(&window);
    QStringList log;
    NotifierHost()
    {
        grid->Loaded();
        grid->OnCellsChanged = [this](QObject*, TRect R) { log << QStringLiteral("event %1").arg(R.Top); };
    }
};

TEST(Notifier, EventThenNotifiersInRegistrationOrderOnce)
{
    NotifierHost h;
    Recorder a(&h.log, "a"), b(&h.log, "b");
    h.grid->DoCellsChanged(TRect{1, 2, 3, 4});
    EXPECT_EQ(h.log, QStringList{"event 2"});
    h.log.clear();
    h.grid->RegisterNotifier(&b);
    h.grid->RegisterNotifier(&a);
    h.grid->RegisterNotifier(&b);
    h.grid->RegisterNotifier(nullptr);
    h.grid->UnRegisterNotifier(nullptr);
    h.grid->DoCellsChanged(TRect{1, 2, 3, 4});
    EXPECT_EQ(h.log, (QStringList{"event 2", "b 1,2-3,4", "a 1,2-3,4"}));
    h.log.clear();
    h.grid->UnRegisterNotifier(&b);
    h.grid->UnRegisterNotifier(&b); // not registered: nothing changes
    h.grid->InsertRows(1, 1);       // an operation that reports its cells
    EXPECT_EQ(h.log.size(), 2);
    EXPECT_TRUE(h.log.value(1).startsWith("a ")) << h.log.join('|').toStdString();
    TGridChangeNotifier plain; // the base class does nothing with a notice
    h.grid->RegisterNotifier(&plain);
    h.grid->DoCellsChanged(TRect{0, 0, 0, 0});
}

TEST(Notifier, ADestroyedNotifierIsNeverCalled)
{
    NotifierHost h;
    NotifierHost other;
    auto* a = new Recorder(&h.log, "a");
    Recorder b(&h.log, "b"), c(&h.log, "c");
    h.grid->RegisterNotifier(a);
    other.grid->RegisterNotifier(a);
    h.grid->RegisterNotifier(&b);
    delete a; // leaves both grids
    h.grid->DoCellsChanged(TRect{0, 1, 0, 1});
    other.grid->DoCellsChanged(TRect{0, 1, 0, 1});
    EXPECT_EQ(h.log, (QStringList{"event 1", "b 0,1-0,1"}));
    EXPECT_EQ(other.log, QStringList{"event 1"});

    // One notifier destroys a later one while the grid tells them.
    h.log.clear();
    auto* d = new Recorder(&h.log, "d");
    h.grid->RegisterNotifier(d);
    h.grid->RegisterNotifier(&c);
    b.then = [&] {
        delete d;
        d = nullptr;
    };
    h.grid->DoCellsChanged(TRect{0, 5, 0, 5});
    EXPECT_EQ(h.log, (QStringList{"event 5", "b 0,5-0,5", "c 0,5-0,5"}));
}

TEST(Notifier, AGridDestroyedFirstIsForgotten)
{
    QStringList log;
    auto n = std::make_unique<Recorder>(&log, "n");
    {
        QWidget window;
        auto* grid = new TVerIvovavOzed(&window);
        grid->Loaded();
        grid->RegisterNotifier(n.get());
        // A notifier owned by the grid goes with it.
        auto* owned = new Recorder(&log, "owned");
        owned->setParent(grid);
        grid->RegisterNotifier(owned);
    }
    n.reset(); // must not reach the grid that is gone
    SUCCEED();
}

} // namespace
