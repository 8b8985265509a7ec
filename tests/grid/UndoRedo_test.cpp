// The undo list of cell edits: recording, undo and redo of single changes and sequences, trimming,
// and the links between the list and its grid.
#include "grid/AdvGrid.h"
#include "grid/UndoRedo.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct UndoHost {
    QWidget window;
    TVerIvovavOzed* grid;
    RUvaVoviVareReda undo;
    UndoHost() : grid(new TVerIvovavOzed(&window))
    {
        grid->Loaded();
        grid->SetUndoRedo(&undo); // links the list to the grid as well
    }
    // Writes a cell as an edit does and records it.
    void Edit(int c, int r, const QString& v)
    {
        undo.RegisterChange(c, r, grid->Cells(c, r), v);
        grid->SetCells(c, r, v);
    }
};

TEST(UndoRedo, UndoAndRedoSingleChangesStepByStep)
{
    UndoHost h;
    h.Edit(1, 1, "A");
    h.Edit(2, 2, "B");
    h.Edit(3, 3, "C");
    h.undo.Undo();
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(1, 1), "A");
    EXPECT_EQ(h.grid->Cells(2, 2), "");
    EXPECT_EQ(h.grid->Cells(3, 3), "");
    EXPECT_EQ(h.undo.Level(), 1);
    EXPECT_TRUE(h.undo.CanRedo());
    EXPECT_EQ(h.grid->Col(), 2); // the cell taken back is made current
    EXPECT_EQ(h.grid->Row(), 2);

    h.undo.Redo();
    EXPECT_EQ(h.grid->Cells(2, 2), "B");
    EXPECT_EQ(h.grid->Cells(3, 3), "");
    EXPECT_EQ(h.undo.Level(), 2);
}

TEST(UndoRedo, SequenceIsOneStep)
{
    UndoHost h;
    h.Edit(1, 1, "before");
    h.undo.StartSequence();
    h.Edit(1, 2, "A");
    h.Edit(1, 3, "B");
    h.undo.StopSequence();
    ASSERT_EQ(h.undo.Items().Count(), 5);
    EXPECT_EQ(h.undo.Items().Item(1)->Col(), -1);
    EXPECT_TRUE(h.undo.Items().Item(1)->SequenceStart());
    EXPECT_TRUE(h.undo.Items().Item(4)->SequenceStop());

    std::vector<QString> order;
    h.undo.OnUndo = [&](QObject*, TBaseGrid*, int, int r, const QString& cur, const QString& nv) {
        order.push_back(QString("%1:%2>%3").arg(r).arg(cur, nv));
    };
    h.undo.Undo();
    EXPECT_EQ(order, (std::vector<QString>{"3:B>", "2:A>"})); // B first
    EXPECT_EQ(h.grid->Cells(1, 2), "");
    EXPECT_EQ(h.grid->Cells(1, 3), "");
    EXPECT_EQ(h.grid->Cells(1, 1), "before");
    EXPECT_EQ(h.undo.Level(), 1); // index of the opening marker

    h.undo.Redo();
    EXPECT_EQ(h.grid->Cells(1, 2), "A");
    EXPECT_EQ(h.grid->Cells(1, 3), "B");
    EXPECT_EQ(h.undo.Level(), 5);
    EXPECT_FALSE(h.undo.CanRedo());
}

TEST(UndoRedo, UnbalancedMarkersNeverWriteOutsideTheGrid)
{
    // An open sequence and a sequence whose opening marker was trimmed away: undo and redo stay
    // within the list and write no cell (-1, -1).
    UndoHost h;
    h.undo.StartSequence();
    h.Edit(1, 1, "A");
    EXPECT_NO_THROW(h.undo.Undo());
    EXPECT_EQ(h.grid->Cells(1, 1), "");
    EXPECT_NO_THROW(h.undo.Undo()); // the lone opening marker
    EXPECT_EQ(h.undo.Level(), 0);
    EXPECT_NO_THROW(h.undo.Redo()); // redoes the open sequence, its last change included
    EXPECT_EQ(h.grid->Cells(1, 1), "A");
    EXPECT_EQ(h.undo.Level(), 2);

    UndoHost t;
    t.undo.SetMaxLevel(2);
    t.undo.StartSequence();
    t.Edit(1, 1, "A");
    t.Edit(1, 2, "B"); // trims the opening marker
    t.undo.StopSequence();
    t.undo.Undo();
    EXPECT_EQ(t.undo.Level(), 0);
    EXPECT_EQ(t.grid->Cells(1, 1), "");
    EXPECT_EQ(t.grid->Cells(1, 2), "");
}

TEST(UndoRedo, MaxLevelKeepsTheNewestChanges)
{
    UndoHost h;
    h.undo.SetMaxLevel(2);
    h.Edit(1, 1, "A");
    h.Edit(1, 2, "B");
    h.Edit(1, 3, "C");
    ASSERT_EQ(h.undo.Items().Count(), 2);
    EXPECT_EQ(h.undo.Items().Item(0)->Value(), "B");
    EXPECT_EQ(h.undo.Items().Item(1)->Value(), "C");
    EXPECT_EQ(h.undo.Level(), 2);
}

TEST(UndoRedo, NewChangeAfterUndoDropsTheUndoneItems)
{
    UndoHost h;
    h.Edit(1, 1, "A");
    h.Edit(1, 2, "B");
    h.undo.Undo();
    h.Edit(1, 3, "C");
    ASSERT_EQ(h.undo.Items().Count(), 2);
    EXPECT_EQ(h.undo.Items().Item(1)->Value(), "C");
    EXPECT_EQ(h.undo.Level(), 2);
    EXPECT_FALSE(h.undo.CanRedo());
    // Two undos take back C and A; the undone B is never written back.
    h.grid->SetCells(1, 2, "kept");
    h.undo.Undo();
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(1, 1), "");
    EXPECT_EQ(h.grid->Cells(1, 2), "kept");
    EXPECT_EQ(h.grid->Cells(1, 3), "");
    EXPECT_FALSE(h.undo.CanUndo());

    // A sequence started after an undo drops the undone items as well.
    h.undo.Redo();
    h.undo.StartSequence();
    h.Edit(2, 1, "X");
    h.undo.StopSequence();
    EXPECT_EQ(h.undo.Items().Count(), 4);
    h.undo.Undo();
    h.undo.Undo();
    EXPECT_EQ(h.grid->Cells(2, 1), "");
    EXPECT_EQ(h.grid->Cells(1, 1), "");
}

TEST(UndoRedo, NoGridOrResetDoesNothing)
{
    RUvaVoviVareReda u;
    u.RegisterChange(1, 1, "x", "y");
    u.Undo();
    EXPECT_EQ(u.Level(), 1);
    u.Reset();
    EXPECT_FALSE(u.CanUndo());
    EXPECT_FALSE(u.CanRedo());
    EXPECT_EQ(u.Items().Count(), 0);
}

TEST(UndoRedo, EitherSideMayBeDestroyedFirst)
{
    {
        auto window = std::make_unique<QWidget>();
        auto* grid = new TVerIvovavOzed(window.get());
        RUvaVoviVareReda u;
        u.SetGrid(grid);
        u.RegisterChange(1, 1, "", "x");
        window.reset();
        EXPECT_EQ(u.Grid(), nullptr);
        EXPECT_NO_THROW(u.Undo());
    }
    {
        QWidget window;
        auto* grid = new TVerIvovavOzed(&window);
        auto u = std::make_unique<RUvaVoviVareReda>();
        grid->SetUndoRedo(u.get());
        EXPECT_EQ(u->Grid(), grid);
        u.reset();
        EXPECT_EQ(grid->UndoRedo(), nullptr);
    }
}

} // namespace
