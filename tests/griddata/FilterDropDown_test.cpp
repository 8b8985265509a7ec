// The header filter list: its values, opening under the header button, choosing by click and
// Enter, the clear entry, the check list, and closing by a second click or a click outside.
#include "grid/AdvGrid.h"
#include "griddata/FilterList.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace {

using Texts = std::vector<QString>;

struct DropGrid {
    QWidget window;
    QPushButton* outside;
    TVerIvovavOzed* grid;
    DropGrid(const Texts& column1, const Texts& column2 = {})
    {
        grid = new TVerIvovavOzed(&window);
        grid->Loaded();
        outside = new QPushButton("outside", &window);
        outside->setGeometry(10, 320, 80, 24);
        grid->setGeometry(0, 0, 400, 300);
        grid->SetColCount(3);
        grid->SetRowCount(1 + int(column1.size()));
        for (int c = 0; c < 3; ++c)
            grid->SetColWidths(c, 100);
        grid->SetCells(1, 0, "City");
        grid->SetCells(2, 0, "Kind");
        for (size_t i = 0; i < column1.size(); ++i) {
            grid->SetCells(1, int(i) + 1, column1[i]);
            grid->SetCells(2, int(i) + 1, i < column2.size() ? column2[i] : QString());
        }
        grid->SetFilterDropDownAuto(true);
        window.resize(420, 360);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    // The middle of the filter button of a header cell.
    QPoint Button(int ACol) const
    {
        const TRect R = grid->CellRect(ACol, 0);
        return {R.Right - 9, R.Top + 5};
    }
    bool Open(int ACol) { return grid->FilterDropDownMouseUp(Button(ACol).x(), Button(ACol).y()); }
    Texts Entries(QListWidget* l) const
    {
        Texts v;
        for (int i = 0; i < l->count(); ++i)
            v.push_back(l->item(i)->text());
        return v;
    }
    Texts Shown() const
    {
        Texts v;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            v.push_back(grid->Cells(1, r));
        return v;
    }
    void ClickEntry(QListWidget* l, int i)
    {
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(i)).center());
    }
};

TEST(FilterDropDown, ValueListSortedUniqueWithClearFirst)
{
    DropGrid t({"a", "b", " a ", "", "New York"});
    TVerIvovavOzed& g = *t.grid;
    ASSERT_TRUE(g.FillFilterDropDown(1));
    EXPECT_EQ(g.FilterList().ToStringList(),
              (QStringList{"(All)", "", "a", "b", "New York=\"New York\""}));

    // A list asked again follows edits and hidden rows.
    g.SetCells(1, 2, "c");
    ASSERT_TRUE(g.FillFilterDropDown(1));
    EXPECT_EQ(g.FilterList().ToStringList(), (QStringList{"(All)", "", "a", "c", "New York=\"New York\""}));
    g.HideRow(1);
    g.SetFilterIncremental(true);
    ASSERT_TRUE(g.FillFilterDropDown(1));
    EXPECT_EQ(g.FilterList().ToStringList(), (QStringList{"(All)", "", "a", "c", "New York=\"New York\""}));
    g.SetCells(1, 2, "d"); // the shown " a "; the hidden row's a is left out
    ASSERT_TRUE(g.FillFilterDropDown(1));
    EXPECT_EQ(g.FilterList().ToStringList(), (QStringList{"(All)", "", "c", "d", "New York=\"New York\""}));
    g.SetFilterIncremental(false);
    ASSERT_TRUE(g.FillFilterDropDown(1));
    EXPECT_EQ(g.FilterList().ToStringList(), (QStringList{"(All)", "", "a", "c", "d", "New York=\"New York\""}));
    g.UnHideRow(1);

    // OnGetColumnFilter has the last word; without values or clear entry there is no list.
    g.SetFilterDropDownClear("");
    g.OnGetColumnFilter = [](QObject*, int Col, platform::TStringList& L) {
        if (Col == 2) L.Add("Big=>100");
    };
    EXPECT_EQ(g.FillFilterDropDown(1), true);
    EXPECT_EQ(g.FilterList().Strings(0), "");
    g.SetFilterDropDownAuto(false);
    EXPECT_FALSE(g.FillFilterDropDown(1));
    EXPECT_TRUE(g.FillFilterDropDown(2));
    EXPECT_EQ(g.FilterList().ToStringList(), QStringList{"Big=>100"});
}

TEST(FilterDropDown, ValueListAsSortedInsertsWouldGiveIt)
{
    const Texts values{"b", "B", "a b", "A", "a", "A B", "Zed", "zed ", "10", "9", "_x", "é", "E"};
    DropGrid t(values);
    platform::TStringList want;
    want.SetSorted(true);
    want.SetDuplicates(platform::dupIgnore);
    for (const QString& v : values) {
        const QString s = v.trimmed();
        want.Add(s.contains(' ') ? s + "=\"" + s + "\"" : s);
    }
    t.grid->SetFilterDropDownClear("");
    ASSERT_TRUE(t.grid->FillFilterDropDown(1));
    EXPECT_EQ(t.grid->FilterList().ToStringList(), want.ToStringList());
}

TEST(FilterDropDown, OpenedByMouseChosenByClickAndEnter)
{
    DropGrid t({"Paris", "New York", "Paris", "Rome"});
    TVerIvovavOzed& g = *t.grid;
    int done = 0;
    g.OnFilterDone = [&](QObject*) { ++done; };

    // A release outside the button zone opens nothing.
    const TRect R = g.CellRect(1, 0);
    EXPECT_FALSE(g.FilterDropDownMouseUp(R.Left + 5, R.Top + 5));
    EXPECT_FALSE(g.FilterDropDownMouseUp(t.Button(1).x(), R.Top + 19));

    ASSERT_TRUE(t.Open(1));
    TDropList* list = g.DropList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(g.FilterCol(), 1);
    EXPECT_EQ(t.Entries(list), (Texts{"(All)", "New York", "Paris", "Rome"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(list->parentWidget(), &g);
    EXPECT_EQ(list->size(), QSize(150, 150));
    const QPoint topLeft = g.viewport()->mapTo(&g, QPoint(R.Right - 16, R.Top + 16));
    EXPECT_EQ(list->pos(), topLeft);

    // A click on "New York": the quoted condition keeps the blank.
    t.ClickEntry(list, 1);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(g.FilterCol(), -1);
    EXPECT_EQ(t.Shown(), (Texts{"New York"}));
    EXPECT_EQ(g.Filter().GetColFilter(1)->Condition, "\"New York\"");
    EXPECT_TRUE(g.FilterActive());
    EXPECT_EQ(done, 1);

    // Enter on "Rome"; the list offers every value, hidden rows included.
    ASSERT_TRUE(t.Open(1));
    EXPECT_EQ(t.Entries(list).size(), 4u);
    list->setCurrentRow(3);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(t.Shown(), (Texts{"Rome"}));

    // (All) removes the column's condition and shows every row.
    ASSERT_TRUE(t.Open(1));
    t.ClickEntry(list, 0);
    EXPECT_EQ(t.Shown(), (Texts{"Paris", "New York", "Paris", "Rome"}));
    EXPECT_FALSE(g.Filter().HasFilter(1));
    EXPECT_EQ(done, 3);
}

TEST(FilterDropDown, ClosedBySecondClickOrClickOutside)
{
    DropGrid t({"a", "b"});
    TVerIvovavOzed& g = *t.grid;
    ASSERT_TRUE(t.Open(1));
    TDropList* list = g.DropList();
    // A press on the grid is left to the grid's release: the second click closes.
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, t.Button(1));
    EXPECT_TRUE(list->isVisible());
    EXPECT_FALSE(t.Open(1));
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(g.FilterCol(), -1);
    EXPECT_EQ(g.NumHiddenRows(), 0) << "closed without a choice";

    // Another column's button opens that column's list.
    ASSERT_TRUE(t.Open(1));
    ASSERT_TRUE(t.Open(2));
    EXPECT_EQ(g.FilterCol(), 2);

    // A click outside the grid.
    QTest::mouseClick(t.outside, Qt::LeftButton);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(g.FilterCol(), -1);
    EXPECT_EQ(g.NumHiddenRows(), 0);

    // A release elsewhere in the grid hides the list.
    ASSERT_TRUE(t.Open(1));
    const TRect cell = g.CellRect(1, 1);
    EXPECT_FALSE(g.FilterDropDownMouseUp(cell.Left + 3, cell.Top + 3));
    EXPECT_FALSE(list->isVisible());
}

TEST(FilterDropDown, CheckListJoinsCheckedValuesWithOr)
{
    DropGrid t({"a", "b", "c", "a"}, {"x", "y", "x", "y"});
    TVerIvovavOzed& g = *t.grid;
    g.SetFilterDropDownCheck(true);
    TFilterData* other = g.Filter().Add();
    other->Column = 2;
    other->Condition = "x";
    g.SetFilterActive(true);
    EXPECT_EQ(t.Shown(), (Texts{"a", "c"}));
    g.Filter().GetColFilter(1)->Condition = "c"; // shown checked

    ASSERT_TRUE(t.Open(1));
    TDropCheckList* list = g.DropCheckList();
    ASSERT_TRUE(list && list->isVisible());
    EXPECT_EQ(t.Entries(list), (Texts{"(All)", "a", "b", "c"}));
    EXPECT_FALSE(list->Checked(1));
    EXPECT_TRUE(list->Checked(3));
    list->SetChecked(3, false);
    list->SetChecked(1, true);
    list->SetChecked(2, true);
    // Every other column's condition is gone; the list stays open.
    EXPECT_EQ(t.Shown(), (Texts{"a", "b", "a"}));
    ASSERT_EQ(g.Filter().Count(), 2);
    EXPECT_EQ(g.Filter().Items(0)->Operation, foNONE);
    EXPECT_EQ(g.Filter().Items(1)->Operation, foOR);
    EXPECT_EQ(g.Filter().Items(1)->Column, 1);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(g.FilterCol(), 1);

    QDir().mkpath("grabs");
    t.window.grab().save("grabs/filter_checklist.png");
    QTest::mouseClick(t.outside, Qt::LeftButton);
    EXPECT_FALSE(list->isVisible());
}

TEST(FilterDropDown, SettingsAndPlacement)
{
    DropGrid t({"alpha", "beta"});
    TVerIvovavOzed& g = *t.grid;
    TFilterDropDown& f = g.FilterDropDown();
    EXPECT_FALSE(f.AutoSize);
    EXPECT_EQ(f.Width, 150);
    EXPECT_EQ(f.Height, 150);
    EXPECT_EQ(f.Color, clWindow);
    g.SetFilterDropDownRow(2);
    EXPECT_EQ(g.FilterDropDownRow(), 0) << "not a fixed row";

    int changes = 0;
    f.OnChange = [&] { ++changes; };
    TBitmap b;
    b.SetSize(8, 8);
    f.SetGlyph(b);
    f.SetGlyphActive(b);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(f.GlyphActive().Width(), 8);

    // AutoSize fits the entries; the last column's list moves left to stay in the grid.
    f.AutoSize = true;
    f.Color = 0x00E0FFFF;
    ASSERT_TRUE(t.Open(2));
    TDropList* list = g.DropList();
    EXPECT_EQ(list->height(), list->count() * list->sizeHintForRow(0) + 4);
    f.AutoSize = false;
    f.Width = 200;
    ASSERT_TRUE(t.Open(1));
    ASSERT_TRUE(t.Open(2));
    const TRect head = g.CellRect(2, 0);
    EXPECT_EQ(list->x(), g.viewport()->mapTo(&g, QPoint(head.Right - 200, 0)).x());

    f.ColumnWidth = true;
    ASSERT_TRUE(t.Open(1));
    const TRect c1 = g.CellRect(1, 0);
    EXPECT_EQ(list->width(), c1.Right - c1.Left);
    QDir().mkpath("grabs");
    t.window.grab().save("grabs/filter_list.png");
}

} // namespace
