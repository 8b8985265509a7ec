// Header clicks that sort: ascending, descending and back to the first order, Shift-clicks that
// build the index list, a refusal by the application, and clicks on a header filter button.
#include "GridFixture.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct HeaderSortHost : kt_test::GridFixture {
    QStringList clicked;
    HeaderSortHost() : GridFixture(4, 7)
    {
        grid->SortSettings().SetShow(true);
        const QStringList a({"c", "a", "e", "b", "d", "a"});
        const QStringList b({"1", "2", "3", "4", "5", "6"});
        for (int i = 0; i < a.size(); ++i) {
            grid->SetCells(1, i + 1, a[i]);
            grid->SetCells(2, i + 1, b[i]);
        }
        grid->OnClickSort = [this](QObject*, int c) { clicked << QString::number(c); };
        Pump();
    }
    void HeaderClick(int col, Qt::KeyboardModifiers mods = Qt::NoModifier, int fromRight = -1)
    {
        const TRect r = grid->CellRect(col, 0);
        const int x = fromRight < 0 ? (r.Left + r.Right) / 2 : r.Right - fromRight;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, QPoint(x, (r.Top + r.Bottom) / 2));
        Pump();
    }
    QStringList Col(int c) const
    {
        QStringList out;
        for (int r = 1; r < grid->RowCount(); ++r)
            out << grid->Cells(c, r);
        return out;
    }
};

TEST(HeaderSort, ClicksSortAscendingDescendingThenUndo)
{
    HeaderSortHost h;
    h.grid->SortSettings().SetUndoSort(true);
    h.HeaderClick(1);
    EXPECT_EQ(h.Col(1), QStringList({"a", "a", "b", "c", "d", "e"}));
    EXPECT_EQ(h.grid->SortSettings().Column(), 1);
    h.HeaderClick(1);
    EXPECT_EQ(h.Col(1), QStringList({"e", "d", "c", "b", "a", "a"}));
    EXPECT_EQ(h.grid->SortSettings().Direction(), sdDescending);
    h.HeaderClick(1);
    EXPECT_EQ(h.Col(2), QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(h.grid->SortSettings().Column(), -1);
    EXPECT_EQ(h.clicked, QStringList({"1", "1", "-1"}));
}

TEST(HeaderSort, ShiftClicksBuildTheIndexList)
{
    HeaderSortHost h;
    h.grid->SortSettings().SetIndexShow(true);
    h.HeaderClick(1);
    h.HeaderClick(2, Qt::ShiftModifier);
    EXPECT_EQ(h.grid->SortSettings().SaveToString(), "i;u1;u2");
    EXPECT_EQ(h.Col(1), QStringList({"a", "a", "b", "c", "d", "e"}));
    EXPECT_EQ(h.Col(2).mid(0, 2), QStringList({"2", "6"}));
    h.HeaderClick(2, Qt::ShiftModifier); // reverses its entry
    EXPECT_EQ(h.grid->SortSettings().SaveToString(), "i;u1;d2");
    EXPECT_EQ(h.Col(2).mid(0, 2), QStringList({"6", "2"}));
    h.HeaderClick(2); // without the key: this column alone
    EXPECT_EQ(h.grid->SortSettings().SaveToString(), "i;u2");
    EXPECT_EQ(h.grid->SortSettings().Column(), 2);

    // The index sort indicators, looked at.
    h.grid->SortSettings().LoadFromString("i;d1;u2");
    QDir().mkpath("grabs");
    EXPECT_TRUE(h.window.grab().save("grabs/sort_index_indicators.png"));
}

TEST(HeaderSort, RefusedIgnoredAndFilterButtonClicksDoNotSort)
{
    HeaderSortHost h;
    const QStringList before = h.Col(1);
    int asked = -1;
    h.grid->OnCanSort = [&](QObject*, int c, bool& doSort) {
        asked = c;
        doSort = false;
    };
    h.HeaderClick(1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(h.Col(1), before);
    h.grid->OnCanSort = nullptr;

    h.grid->IgnoreColumns().Add(1);
    h.HeaderClick(1);
    EXPECT_EQ(h.Col(1), before);
    h.grid->IgnoreColumns().Clear();

    h.Column(1)->Filter().Add("a");
    h.HeaderClick(1, Qt::NoModifier, 8);
    EXPECT_EQ(h.Col(1), before);
    EXPECT_TRUE(h.clicked.isEmpty());
    h.HeaderClick(1); // away from the button it sorts
    EXPECT_EQ(h.Col(1), QStringList({"a", "a", "b", "c", "d", "e"}));
}

} // namespace
