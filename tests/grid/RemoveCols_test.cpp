// Removing columns from the store: every stored row (also rows below the row count) loses the
// removed cells, texts and objects alike, the cells to their right move left, cells stored right
// of the last column stay where they are, and the removed objects are let go.
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace {

struct GridHost {
    QWidget window;
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&window)) { grid->Loaded(); }
};

struct Tag : TGridCellObject {};

constexpr int Cols = 6;      // columns 0 .. 5
constexpr int Rows = 5;      // rows 0 .. 4; rows 5 and 6 are stored below the count
constexpr int StoredRows = 7;

QString Text(int c, int r) { return QStringLiteral("%1,%2").arg(c).arg(r); }

// Texts in every cell, a cell right of the last column in every row, a plain object in every cell
// of the odd rows and a coloured cell (properties) in each column of row 2.
struct Filled {
    std::map<std::pair<int, int>, TGridObject> objects;

    explicit Filled(TVerIvovavOzed& g)
    {
        g.SetColCount(Cols + 1);
        g.SetRowCount(StoredRows);
        for (int r = 0; r < StoredRows; ++r) {
            for (int c = 0; c <= Cols; ++c)
                g.SetGridCell(c, r, Text(c, r));
            if (r % 2 == 1)
                for (int c = 0; c < Cols; ++c) {
                    auto o = std::make_shared<Tag>();
                    g.SetGridObject(c, r, o);
                    objects[{c, r}] = o;
                }
        }
        for (int c = 0; c < Cols; ++c)
            g.SetColors(c, 2, TColor(c + 1));
        g.SetColCount(Cols);
        g.SetRowCount(Rows);
    }
};

TEST(RemoveCols, RemovedCellsLeaveEveryStoredRowAndTheRestMoveLeft)
{
    struct Case {
        int index, count;
    } cases[] = {{1, 1}, {1, 2}, {0, 1}, {4, 2}, {5, 1}, {2, 3}, {3, 9}};
    for (const Case& k : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        std::vector<std::weak_ptr<TGridCellObject>> removed;
        {
            Filled f(g);
            const int n = std::min(k.count, Cols - k.index);
            for (auto& [at, o] : f.objects)
                if (at.first >= k.index && at.first < k.index + n)
                    removed.push_back(o);
            std::map<std::pair<int, int>, TGridCellObject*> before;
            for (auto& [at, o] : f.objects)
                before[at] = o.get();
            int columnMoves = 0;
            g.OnColumnMoved = [&](QObject*, int, int) { ++columnMoves; };
            QStringList changed;
            g.OnCellsChanged = [&](QObject*, TRect R) {
                changed << QStringLiteral("%1,%2,%3,%4").arg(R.Left).arg(R.Top).arg(R.Right).arg(R.Bottom);
            };

            g.RemoveCols(k.index, k.count);

            const QString what = QStringLiteral("remove %1 x %2").arg(k.index).arg(k.count);
            EXPECT_EQ(g.ColCount(), Cols - n) << qPrintable(what);
            EXPECT_EQ(columnMoves, 0) << qPrintable(what);
            EXPECT_EQ(changed, (QStringList{QStringLiteral("%1,0,%2,4").arg(k.index).arg(k.index + n - 1),
                                            QStringLiteral("%1,0,%2,4").arg(k.index).arg(k.index + n)}))
                << qPrintable(what);
            for (int r = 0; r < StoredRows; ++r) {
                for (int c = 0; c < Cols; ++c) {
                    const int from = c < k.index ? c : c + n;
                    const QString at = what + QStringLiteral(" cell %1,%2").arg(c).arg(r);
                    if (from >= Cols) {
                        EXPECT_EQ(g.GetGridCell(c, r), QString()) << qPrintable(at);
                        EXPECT_EQ(g.GetGridObject(c, r), nullptr) << qPrintable(at);
                        continue;
                    }
                    EXPECT_EQ(g.GetGridCell(c, r), Text(from, r)) << qPrintable(at);
                    if (r % 2 == 1) {
                        EXPECT_EQ(g.GetGridObject(c, r).get(), (before[{from, r}])) << qPrintable(at);
                    }
                    if (r == 2) {
                        EXPECT_EQ(g.GetColors(c, 2), TColor(from + 1)) << qPrintable(at);
                    }
                }
                EXPECT_EQ(g.GetGridCell(Cols, r), Text(Cols, r)) << qPrintable(what) << " right of the last column";
            }
        }
        for (const auto& w : removed)
            EXPECT_TRUE(w.expired()) << "a removed object is let go (" << k.index << " x " << k.count << ")";
    }
}

// With hidden cells saved, a hidden column before the removed one must not shift the clearing
// onto the column that moves in.
TEST(RemoveCols, HiddenColumnBeforeTheRemovedOneKeepsTheNextColumnsCells)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColCount(5);
    g.SetRowCount(3);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 3; ++r)
            g.SetCells(c, r, Text(c, r));
    g.HideColumn(1);
    g.SetSaveHiddenCells(true);
    g.RemoveCols(2, 1);
    EXPECT_EQ(g.TotalColCount(), 4);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(g.GetGridCell(1, r), Text(1, r)) << r;
        EXPECT_EQ(g.GetGridCell(2, r), Text(3, r)) << r;
        EXPECT_EQ(g.GetGridCell(3, r), Text(4, r)) << r;
    }
}

// Removing a hidden column leaves the columns shown and an open editor open; the editor's cell
// then holds what moved in, so the editor shows that, as after any write of its cell.
TEST(RemoveCols, AnOpenEditorShowsTheTextThatMovedIntoItsCell)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    h.window.resize(500, 300);
    g.SetOptions(g.Options() | goEditing);
    g.SetColCount(5);
    g.SetRowCount(3);
    for (int c = 0; c < 5; ++c)
        for (int r = 0; r < 3; ++r)
            g.SetCells(c, r, Text(c, r));
    h.window.show();
    QApplication::setActiveWindow(&h.window);
    g.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    g.HideColumn(1);
    g.FocusCell(2, 1);
    g.ShowEditor();
    ASSERT_TRUE(g.InplaceEditor() && g.InplaceEditor()->isVisible());
    g.InplaceEditor()->setText(QStringLiteral("typed"));
    g.RemoveCols(1, 1);
    ASSERT_TRUE(g.InplaceEditor()->isVisible());
    EXPECT_EQ(g.InplaceEditor()->text(), Text(3, 1));
}

} // namespace
