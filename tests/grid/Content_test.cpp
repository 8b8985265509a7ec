// Content operations of the string grid: removal by check box, selection and duplicates; hiding by
// selection; removing and joining columns; clearing the selection; trimming and colouring
// rectangles; merging and splitting runs of equal cells; the two cell queries. Each row carries a
// tag, a colour, a height and a check box, and every case checks that they stay with their rows.
#include "grid/AdvGrid.h"

#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Texts = std::vector<QString>;

struct GridHost {
    QWidget window;
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&window)) { grid->Loaded(); }
};

// One fixed row ("h"), then one normal row per value in column 1. Column 2 holds the row's tag
// (r1, r2, ...), whose colour, height and check box (column 3, checked on odd rows) go with it.
// ---- clearing, colouring, trimming -----------------------------------------------------------

TEST(Content, ClearSelectionClearsWhatIsSelected)
{
    enum Mode { Rect, Rows, Cols };
    struct Case {
        const char* what;
        Mode mode;
        int hide;
        std::vector<QPoint> cleared; // (real column, row)
    } cases[] = {
        {"rectangle", Rect, -1, {{2, 2}, {3, 2}, {2, 3}, {3, 3}}},
        {"rectangle past a hidden column", Rect, 2, {{3, 2}, {4, 2}, {3, 3}, {4, 3}}},
        {"disjunct rows", Rows, -1, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {"disjunct columns", Cols, -1, {{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}},
        {"disjunct columns past a hidden column", Cols, 2, {{4, 0}, {4, 1}, {4, 2}, {4, 3}, {4, 4}}},
    };
    for (const Case& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 5; ++col)
                g.SetCells(col, r, "x");
        if (c.hide >= 0)
            g.HideColumn(c.hide);
        if (c.mode == Rect)
            g.SetSelection({2, 2, 3, 3});
        else if (c.mode == Rows) {
            g.MouseActions().SetDisjunctRowSelect(true);
            g.SetRowSelect(2, true);
            g.SetRowSelect(4, true);
        } else {
            g.MouseActions().SetDisjunctColSelect(true);
            g.SetColSelect(3, true);
        }
        g.ClearSelection();
        for (int r = 0; r < 5; ++r)
            for (int col = 0; col < 5; ++col) {
                const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), QPoint(col, r)) != c.cleared.end();
                EXPECT_EQ(g.Cells(col, r), cleared ? "" : "x") << c.what << " " << col << "," << r;
            }
    }
}

TEST(Content, ColorRectColoursTheInclusiveRectangleOnly)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.ColorRect(1, 2, 2, 3, 0x0000FF);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 5; ++c) {
            const bool in = c >= 1 && c <= 2 && r >= 2 && r <= 3;
            EXPECT_EQ(g.GetColors(c, r), in ? TColor(0x0000FF) : clNone) << c << "," << r;
        }
}

TEST(Content, TrimmingRemovesBlanksAndControlCharactersAtBothEnds)
{
    struct Case {
        QString in, out;
    } texts[] = {
        {"  a  ", "a"}, {"\tb\r\n", "b"}, {"c", "c"}, {"   ", ""}, {"a  b", "a  b"}, {QString(QChar(1)) + "d", "d"},
    };
    for (const Case& t : texts) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetCells(2, 3, t.in);
        g.TrimAll();
        EXPECT_EQ(g.Cells(2, 3), t.out) << t.in.toStdString();
    }

    // The ranges of the three forms.
    struct Range {
        const char* what;
        std::function<void(TVerIvovavOzed&)> call;
        std::function<bool(int, int)> inside;
    } ranges[] = {
        {"column", [](TVerIvovavOzed& g) { g.TrimColumn(2); }, [](int c, int) { return c == 2; }},
        {"row", [](TVerIvovavOzed& g) { g.TrimRow(3); }, [](int, int r) { return r == 3; }},
        {"rectangle", [](TVerIvovavOzed& g) { g.TrimRect(1, 1, 2, 2); },
         [](int c, int r) { return c >= 1 && c <= 2 && r >= 1 && r <= 2; }},
    };
    for (const Range& range : ranges) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(5);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                g.SetCells(c, r, " t ");
        range.call(g);
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 5; ++c)
                EXPECT_EQ(g.Cells(c, r), range.inside(c, r) ? "t" : " t ") << range.what << " " << c << "," << r;
    }
}

} // namespace
