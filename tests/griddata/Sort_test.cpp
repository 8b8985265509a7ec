// Sorting of grid rows: the compare of each style, the whole-grid, indexed, group and undo sorts
// with the settings that keep cells in place, the row exchange, and the sort state text.
#include "grid/AdvGrid.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>
#include <memory>
#include <random>
#include <stdexcept>

namespace {

struct TSortGrid : TVerIvovavOzed {
    using TVerIvovavOzed::CompareCells;
};

struct SortHost {
    std::unique_ptr<TSortGrid> grid = std::make_unique<TSortGrid>();
    platform::TFormatSettings saved = platform::FormatSettings();
    explicit SortHost(int cols = 4, int rows = 6)
    {
        grid->Loaded();
        grid->SetColCount(cols);
        grid->SetRowCount(rows);
        grid->SetFixedCols(0);
        grid->SetFixedRows(1);
        platform::TFormatSettings& fs = platform::FormatSettings();
        fs.DateSeparator = '/';
        fs.TimeSeparator = ':';
        fs.DecimalSeparator = '.';
        fs.ThousandSeparator = ',';
        fs.ShortDateFormat = "dd/mm/yyyy";
        fs.LongTimeFormat = "hh:nn:ss";
        fs.ShortTimeFormat = "hh:nn";
    }
    ~SortHost() { platform::FormatSettings() = saved; }
    // Writes the normal rows of a column.
    void Column(int c, const QStringList& texts)
    {
        for (int i = 0; i < texts.size(); ++i)
            grid->SetCells(c, grid->FixedRows() + i, texts[i]);
    }
    QStringList Col(int c) const
    {
        QStringList out;
        for (int r = grid->FixedRows(); r < grid->RowCount() - grid->FixedFooters(); ++r)
            out << grid->Cells(c, r);
        return out;
    }
};

// ---- compares --------------------------------------------------------------------------------

struct CompareCase {
    const char* name;
    bool autoFormat;
    TSortStyle style; // used when autoFormat is off
    QString prefix, suffix;
    QString t1, t2;
    int expected;
};

TEST(SortCompare, EachStyleOnAPairOfTexts)
{
    const CompareCase cases[] = {
        {"auto numbers", true, ssAutomatic, "", "", "10", "9", 1},
        {"auto numbers 2", true, ssAutomatic, "", "", "9", "100", -1},
        {"auto ordinal upper first", true, ssAutomatic, "", "", "a", "A", 1},
        {"auto ordinal", true, ssAutomatic, "", "", "b", "a", 1},
        {"auto date", true, ssAutomatic, "", "", "01/02/2020", "03/01/2020", 1},
        {"auto time", true, ssAutomatic, "", "", "10:30", "9:15", 1},
        {"auto date needs a separator in both", true, ssAutomatic, "", "", "01/02/2020", "3", -1},
        {"alphabetic", false, ssAlphabetic, "", "", "B", "a", -1},
        {"no case", false, ssAlphaNoCase, "", "", "a", "A", 0},
        {"no case order", false, ssAlphaNoCase, "", "", "b", "A", 1},
        {"locale no case", false, ssAnsiAlphaNoCase, "", "", "a", "B", -1},
        {"html stripped", false, ssHTML, "", "", "<b>b</b>", "a", 1},
        {"prefix", false, ssNumeric, "$", "", "$5", "$40", -1},
        {"suffix", false, ssNumeric, "", " kg", "5 kg", "40 kg", -1},
        {"thousands under numeric", false, ssNumeric, "", "", "1,234", "5", -1},
        {"thousands under financial", false, ssFinancial, "", "", "1,234", "5", 1},
        {"leading number with sign", false, ssNumeric, "", "", "-5x", "-4", -1},
        {"leading number with decimals", false, ssNumeric, "", "", "1.5kg", "1.4", 1},
        {"both not numbers", false, ssNumeric, "", "", "abc", "xyz", 0},
        {"leading zeros and plus", false, ssNumeric, "", "", "+007", "7", 0},
        {"fifteen digits", false, ssNumeric, "", "", "999999999999999", "999999999999998", 1},
        {"sixteen digits", false, ssNumeric, "", "", "-1000000000000001", "-1000000000000000", -1},
        {"minus zero", false, ssNumeric, "", "", "-0", "0", 0},
        {"empty counts 0", false, ssNumeric, "", "", "", "-1", 1},
        {"short date EU", false, ssShortDateEU, "", "", "02/01/2020", "01/02/2020", -1},
        {"short date US", false, ssShortDateUS, "", "", "02/01/2020", "01/02/2020", 1},
        {"short date impossible is 0", false, ssShortDateEU, "", "", "31/02/2020", "01/01/1990", -1},
        {"date", false, ssDate, "", "", "", "01/01/2001", -1},
        {"time", false, ssTime, "", "", "23:00", "7:00", 1},
        {"alphanumeric numbers", false, ssAlphaNumeric, "", "", "10", "9", 1},
        {"alphanumeric texts", false, ssAlphaNumeric, "", "", "x10", "x9", -1},
        {"custom without handler", false, ssCustom, "", "", "a", "b", 0},
    };
    for (const CompareCase& c : cases) {
        SortHost h;
        h.grid->SortSettings().SetAutoFormat(c.autoFormat);
        if (!c.autoFormat)
            h.grid->OnGetFormat = [&c](QObject*, int, TSortStyle& s, QString& p, QString& x) {
                s = c.style;
                p = c.prefix;
                x = c.suffix;
            };
        h.grid->SetCells(1, 1, c.t1);
        h.grid->SetCells(1, 2, c.t2);
        EXPECT_EQ(h.grid->CompareCells(1, 1, sdAscending, 2), c.expected) << c.name;
    }
}

TEST(SortCompare, BlanksGoWhereBlankPosSaysInBothDirections)
{
    struct Case {
        TSortBlankPosition pos;
        TSortDirection dir;
        int emptyFirstRow;
    } cases[] = {{blLast, sdAscending, 1}, {blLast, sdDescending, -1}, {blFirst, sdAscending, -1},
                 {blFirst, sdDescending, 1}};
    for (const Case& c : cases) {
        SortHost h;
        h.grid->SortSettings().SetIgnoreBlanks(true);
        h.grid->SortSettings().SetBlankPos(c.pos);
        h.grid->SetCells(1, 2, "a");
        EXPECT_EQ(h.grid->CompareCells(1, 1, c.dir, 2), c.emptyFirstRow);
        EXPECT_EQ(h.grid->CompareCells(1, 2, c.dir, 1), -c.emptyFirstRow);
    }
    // Without the rule an empty text is simply the smallest.
    SortHost h;
    h.grid->SetCells(1, 2, "a");
    EXPECT_EQ(h.grid->CompareCells(1, 1, sdAscending, 2), -1);
}

TEST(SortCompare, CustomRawCheckBoxAndImages)
{
    SortHost h;
    h.grid->SortSettings().SetAutoFormat(false);
    TSortStyle style = ssCustom;
    h.grid->OnGetFormat = [&](QObject*, int, TSortStyle& s, QString&, QString&) { s = style; };
    QString seen;
    h.grid->OnCustomCompare = [&](QObject*, const QString& a, const QString& b, int& r) {
        seen = a + "|" + b;
        r = -1;
    };
    h.grid->SetCells(1, 1, "x");
    h.grid->SetCells(1, 2, "y");
    EXPECT_EQ(h.grid->CompareCells(1, 1, sdAscending, 2), -1);
    EXPECT_EQ(seen, "x|y");

    style = ssRaw;
    h.grid->OnRawCompare = [](QObject*, int c, int r1, int r2, int& r) { r = c * 100 + r1 * 10 + r2 > 0 ? 1 : 0; };
    EXPECT_EQ(h.grid->CompareCells(1, 1, sdAscending, 2), 1);

    style = ssCheckBox;
    h.grid->AddCheckBox(2, 1, true, false);
    h.grid->AddCheckBox(2, 2, false, false);
    EXPECT_EQ(h.grid->CompareCells(2, 1, sdAscending, 2), 1);
    EXPECT_EQ(h.grid->CompareCells(2, 2, sdAscending, 1), -1);

    style = ssImages;
    h.grid->CreateCellGraphic(3, 1)->SetImageIdx(4, haLeft, vaTop);
    h.grid->CreateCellGraphic(3, 2)->SetImageIdx(2, haLeft, vaTop);
    EXPECT_EQ(h.grid->CompareCells(3, 1, sdAscending, 2), 1);
    EXPECT_EQ(h.grid->CompareCells(3, 3, sdAscending, 2), -1); // no picture: -1
}

TEST(SortCompare, AutomaticDetectsACheckBoxColumn)
{
    SortHost h;
    h.grid->AddCheckBox(1, 1, false, false);
    h.grid->AddCheckBox(1, 2, true, false);
    h.grid->SetCells(1, 1, "zzz"); // the text would order the rows the other way
    EXPECT_EQ(h.grid->CompareCells(1, 1, sdAscending, 2), -1);
}

// ---- whole-grid sorts ------------------------------------------------------------------------

TEST(Sort, AscendingDescendingAndNoColumn)
{
    SortHost h;
    h.Column(1, {"10", "9", "100", "1", "55"});
    h.Column(2, {"a", "b", "c", "d", "e"});
    h.grid->SortSettings().SetColumn(-1);
    h.grid->QSort();
    EXPECT_EQ(h.Col(1), QStringList({"10", "9", "100", "1", "55"}));
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.Col(1), QStringList({"1", "9", "10", "55", "100"}));
    EXPECT_EQ(h.Col(2), QStringList({"d", "b", "a", "e", "c"}));
    EXPECT_EQ(h.grid->SortDir, 1);
    h.grid->Sort(1, sdDescending);
    EXPECT_EQ(h.Col(1), QStringList({"100", "55", "10", "9", "1"}));
    EXPECT_EQ(h.grid->SortDir, -1);
    EXPECT_GT(h.grid->Compares, 0);
    // The frame leaves no scratch rows or widened columns behind.
    EXPECT_EQ(h.grid->RowCount(), 6);
    EXPECT_EQ(h.grid->ColCount(), 4);
}

TEST(Sort, EqualRowsAreNeverExchanged)
{
    SortHost h(3, 8);
    h.Column(1, {"x", "x", "x", "x", "x", "x", "x"});
    h.Column(2, {"1", "2", "3", "4", "5", "6", "7"});
    h.grid->SortSettings().SetFull(false);
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.grid->Swaps, 0);
    EXPECT_EQ(h.Col(2), QStringList({"1", "2", "3", "4", "5", "6", "7"}));
}

TEST(Sort, FullBreaksTiesByTheColumnsToTheRight)
{
    SortHost h;
    h.Column(0, {"z", "y", "x", "w", "v"}); // left of the sort column: never decides
    h.Column(1, {"b", "a", "b", "a", "c"});
    h.Column(2, {"2", "9", "1", "3", "0"});
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.Col(1), QStringList({"a", "a", "b", "b", "c"}));
    EXPECT_EQ(h.Col(2), QStringList({"3", "9", "1", "2", "0"}));
    // Ignored columns count as equal.
    h.grid->IgnoreColumns().Add(1);
    h.grid->Sort(1, sdDescending);
    EXPECT_EQ(h.Col(2), QStringList({"9", "3", "2", "1", "0"}));
}

TEST(Sort, IndexedListOrdersByEachEntryInItsDirection)
{
    SortHost h;
    h.Column(1, {"1", "2", "3", "4", "5"});
    h.Column(2, {"b", "a", "b", "a", "a"});
    h.grid->SortIndexes().AddIndex(2, true);
    h.grid->SortIndexes().AddIndex(1, false);
    h.grid->QSortIndexed();
    EXPECT_EQ(h.Col(2), QStringList({"a", "a", "a", "b", "b"}));
    EXPECT_EQ(h.Col(1), QStringList({"5", "4", "2", "3", "1"}));
    EXPECT_EQ(h.grid->SortIndexes().Count(), 2); // kept

    // Without Full only the first entry decides.
    h.grid->SortSettings().SetFull(false);
    h.grid->QSortIndexed();
    EXPECT_EQ(h.Col(2), QStringList({"a", "a", "a", "b", "b"}));

    h.grid->SortIndexes().Clear();
    try {
        h.grid->QSortIndexed();
        FAIL() << "no error";
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), "No indexes specified for indexed sort");
    }
    // A single-column sort clears the list.
    h.grid->SortIndexes().AddIndex(2, true);
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.grid->SortIndexes().Count(), 0);
}

TEST(Sort, NormalCellsOnlyKeepsColumnZeroAndFootersStay)
{
    SortHost h(3, 7);
    h.grid->SetFixedCols(1);
    h.grid->SetFixedFooters(1);
    for (int r = 1; r < 7; ++r)
        h.grid->SetCells(0, r, QString::number(r));
    h.Column(1, {"c", "a", "b", "e", "d"});
    h.grid->SetCells(1, 6, "A footer");
    h.grid->SortSettings().SetNormalCellsOnly(true);
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.Col(1), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(h.Col(0), QStringList({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(h.grid->Cells(1, 6), "A footer");
    EXPECT_EQ(h.grid->Cells(0, 6), "6");
}

TEST(Sort, HiddenColumnsTravelWithTheirRows)
{
    SortHost h(4, 6);
    h.Column(1, {"c", "a", "d", "b", "e"});
    h.Column(2, {"C", "A", "D", "B", "E"});
    h.Column(3, {"3", "1", "4", "2", "5"});
    h.grid->HideColumn(2);
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.grid->ColCount(), 3);
    h.grid->UnHideColumnsAll();
    EXPECT_EQ(h.Col(1), QStringList({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(h.Col(2), QStringList({"A", "B", "C", "D", "E"}));
    EXPECT_EQ(h.Col(3), QStringList({"1", "2", "3", "4", "5"}));
}

TEST(Sort, UnSortAfterSeveralSortsRestoresTheRecordedOrder)
{
    SortHost h(3, 9);
    const QStringList start({"5", "3", "8", "1", "3", "7", "2", "6"});
    h.Column(1, start);
    h.Column(2, {"e", "c", "h", "a", "c", "g", "b", "f"});
    h.grid->Sort(1, sdAscending);
    h.grid->Sort(2, sdDescending);
    h.grid->Sort(1, sdDescending);
    h.grid->QUnSort();
    EXPECT_EQ(h.Col(1), start);
    for (int i = 0; i < h.grid->RowCount(); ++i)
        EXPECT_EQ(h.grid->SortRowXRef().GetInteger(i), i);
}

TEST(Sort, SingleColumnMovesOnlyTheStoredTextsOfTheSortColumn)
{
    SortHost h;
    h.Column(1, {"c", "a", "b", "e", "d"});
    h.Column(2, {"1", "2", "3", "4", "5"});
    // The display hook shows other texts; the stored ones move.
    h.grid->OnGetDisplText = [](QObject*, int c, int, QString& v) {
        if (c == 1)
            v = v.toUpper();
    };
    h.grid->SortSettings().SetSingleColumn(true);
    h.grid->Sort(1, sdAscending);
    EXPECT_EQ(h.grid->GetGridCell(1, 1), "a");
    EXPECT_EQ(h.grid->GetGridCell(1, 5), "e");
    EXPECT_EQ(h.Col(2), QStringList({"1", "2", "3", "4", "5"}));
}

TEST(Sort, DisplayedOrStoredTextsDecide)
{
    for (bool displayed : {true, false}) {
        SortHost h;
        h.Column(1, {"2", "3", "1", "5", "4"});
        // Shown as letters in the reverse order of the stored numbers.
        h.grid->OnGetDisplText = [](QObject*, int c, int, QString& v) {
            if (c == 1 && !v.isEmpty())
                v = QString(QChar(u'z' - v.toInt()));
        };
        h.grid->SortSettings().SetSortOnVirtualCells(displayed);
        h.grid->Sort(1, sdAscending);
        QStringList stored;
        for (int r = 1; r < 6; ++r)
            stored << h.grid->GetGridCell(1, r);
        EXPECT_EQ(stored, displayed ? QStringList({"5", "4", "3", "2", "1"}) : QStringList({"1", "2", "3", "4", "5"}));
    }
}

TEST(Sort, QuickSortOrdersOnlyTheGivenRows)
{
    SortHost h;
    h.Column(1, {"e", "d", "c", "b", "a"});
    h.grid->QuickSort(1, 2, 4);
    EXPECT_EQ(h.Col(1), QStringList({"e", "b", "c", "d", "a"}));
    EXPECT_EQ(h.grid->RowCount(), 6);
}

TEST(Sort, AnExceptionFromACompareLeavesTheGridAsItWas)
{
    SortHost h;
    h.grid->HideColumn(3);
    h.Column(1, {"c", "a", "b", "e", "d"});
    h.grid->SortSettings().SetAutoFormat(false);
    h.grid->OnGetFormat = [](QObject*, int, TSortStyle& s, QString&, QString&) { s = ssCustom; };
    h.grid->OnCustomCompare = [](QObject*, const QString&, const QString&, int&) {
        throw std::runtime_error("compare failed");
    };
    h.grid->SortSettings().SetColumn(1);
    EXPECT_THROW(h.grid->QSort(), std::runtime_error);
    EXPECT_EQ(h.grid->RowCount(), 6);
    EXPECT_EQ(h.grid->ColCount(), 3);
    for (int r = 6; r < 9; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_TRUE(h.grid->GetGridCell(c, r).isEmpty());
    // The update lock was given back: a later sort repaints and works.
    h.grid->OnGetFormat = nullptr;
    h.grid->SortSettings().SetAutoFormat(true);
    h.grid->QSort();
    EXPECT_EQ(h.Col(1), QStringList({"a", "b", "c", "d", "e"}));
}

TEST(Sort, GroupSortOrdersOnlyTheChildrenOfTheDeepestOpenNodes)
{
    SortHost h(3, 10);
    // Rows: node 1 with children 2..4, node 5 with children 6..8, then row 9 outside.
    const QStringList texts({"N1", "c", "a", "b", "N2", "z", "x", "y", "0"});
    h.Column(1, texts);
    h.grid->AddNode(1, 4);
    h.grid->AddNode(5, 4);
    h.grid->SortSettings().SetColumn(1);
    h.grid->QSortGroup();
    EXPECT_EQ(h.Col(1), QStringList({"N1", "a", "b", "c", "N2", "x", "y", "z", "0"}));

    h.grid->SortSettings().SetDirection(sdDescending);
    h.grid->ContractNode(5);
    h.grid->QSortGroup();
    EXPECT_EQ(h.grid->Cells(1, 2), "c");
    EXPECT_EQ(h.grid->Cells(1, 4), "a");
}

// ---- sort state text -------------------------------------------------------------------------

TEST(SortState, SavedAndLoadedBetweenGrids)
{
    SortHost a, b;
    EXPECT_EQ(a.grid->SortSettings().SaveToString(), "u-1");
    a.Column(3, {"1", "5", "3", "4", "2"});
    b.Column(3, {"7", "9", "8", "6", "5"});
    a.grid->Sort(3, sdDescending);
    const QString text = a.grid->SortSettings().SaveToString();
    EXPECT_EQ(text, "d3");
    b.grid->SortSettings().LoadFromString(text);
    EXPECT_TRUE(b.grid->SortSettings().Show());
    EXPECT_EQ(b.Col(3), QStringList({"9", "8", "7", "6", "5"}));

    a.grid->SortSettings().SetIndexShow(true);
    a.grid->SortIndexes().AddIndex(2, true);
    a.grid->SortIndexes().AddIndex(5, false);
    EXPECT_EQ(a.grid->SortSettings().SaveToString(), "i;u2;d5");

    b.Column(1, {"1", "2", "3", "4", "5"});
    b.Column(2, {"b", "a", "b", "a", "a"});
    b.grid->SortSettings().LoadFromString("i;u2;d1");
    EXPECT_TRUE(b.grid->SortSettings().IndexShow());
    EXPECT_EQ(b.Col(1), QStringList({"5", "4", "2", "3", "1"}));
}

TEST(SortState, LoadingOddTexts)
{
    SortHost h;
    h.Column(1, {"b", "a", "c", "e", "d"});
    h.grid->SortSettings().LoadFromString("");
    EXPECT_FALSE(h.grid->SortSettings().Show());

    h.grid->SortSettings().LoadFromString("i;");
    EXPECT_TRUE(h.grid->SortSettings().IndexShow());
    EXPECT_EQ(h.Col(1), QStringList({"b", "a", "c", "e", "d"}));

    try {
        h.grid->SortSettings().LoadFromString("u");
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid sort settings specifier");
    }

    h.grid->SortSettings().SetDirection(sdDescending);
    h.grid->SortSettings().SetColumn(2);
    h.grid->SortSettings().LoadFromString("ux");
    EXPECT_EQ(h.grid->SortSettings().Direction(), sdAscending);
    EXPECT_FALSE(h.grid->SortSettings().IndexShow());
    EXPECT_EQ(h.grid->SortSettings().Column(), 2);
    EXPECT_EQ(h.Col(1), QStringList({"b", "a", "c", "e", "d"}));
}

TEST(SortState, SettingsAssignRemoveAndRow)
{
    SortHost a, b;
    TSortSettings& s = a.grid->SortSettings();
    s.SetIgnoreCase(true);
    s.SetSortOnVirtualCells(false);
    s.SetColumn(2);
    s.SetFull(false);
    s.SetIndexColor(clRed);
    b.grid->SortSettings().Assign(s);
    EXPECT_FALSE(b.grid->SortSettings().IgnoreCase());
    EXPECT_TRUE(b.grid->SortSettings().SortOnVirtualCells());
    EXPECT_EQ(b.grid->SortSettings().Column(), 2);
    EXPECT_FALSE(b.grid->SortSettings().Full());
    EXPECT_EQ(b.grid->SortSettings().IndexColor(), clRed);

    a.Column(1, {"b", "a", "c", "e", "d"});
    a.grid->Sort(1, sdAscending);
    a.grid->SortIndexes().AddIndex(1, true);
    s.Remove();
    EXPECT_EQ(s.Column(), -1);
    EXPECT_EQ(a.grid->SortIndexes().Count(), 0);
    EXPECT_EQ(a.Col(1), QStringList({"a", "b", "c", "d", "e"}));

    EXPECT_NO_THROW(s.SetRow(1));
    EXPECT_NO_THROW(s.SetRow(-1));
    try {
        s.SetRow(2);
        FAIL() << "no error";
    } catch (const platform::Exception& e) {
        EXPECT_EQ(e.Message(), "Sort row should be smaller than number of fixed rows");
    }
    EXPECT_EQ(s.Row(), -1);
}

} // namespace

// The current row after a sort: it stays at its index, or it follows its row with MoveRowOnSort;
// only a sort that leaves the row at its index reports it as a row update of its own.
TEST(Sort, CurrentRowStaysOrFollowsItsRow)
{
    for (const bool follow : {false, true}) {
        SortHost h(2, 5);
        h.Column(0, {"d", "c", "b", "a"});
        h.grid->SetRow(1); // "d"
        h.grid->Navigation().SetMoveRowOnSort(follow);
        std::vector<std::pair<int, int>> updates;
        h.grid->OnRowUpdate = [&](QObject*, int OldRow, int NewRow) { updates.emplace_back(OldRow, NewRow); };
        h.grid->Sort(0, sdAscending);
        EXPECT_EQ(h.Col(0), QStringList({"a", "b", "c", "d"}));
        const bool reported = std::find(updates.begin(), updates.end(), std::make_pair(1, 1)) != updates.end();
        if (follow) {
            EXPECT_EQ(h.grid->Row(), 4) << "the row that was current";
            EXPECT_FALSE(reported);
        } else {
            EXPECT_EQ(h.grid->Row(), 1);
            EXPECT_TRUE(reported);
        }
    }
}

// The designed partition decides where equal keys land and how many compares and exchanges a sort
// takes; rows carry their other cells, their heights and the current row along.
TEST(Sort, TiesLandWhereThePartitionPutsThem)
{
    struct Case {
        const char* name;
        TSortDirection dir;
        bool full;
        bool indexed;
        bool storedPastCount; // a row stores a cell right of the column count
        const char* order;    // the tags of the rows after the sort
        int compares, swaps;
    };
    const Case cases[] = {
        {"ascending", sdAscending, false, false, false, "12,13,9,6,4,1,5,11,8,2,0,7,3,10", 69, 9},
        {"descending", sdDescending, false, false, false, "3,7,10,0,11,5,2,8,1,9,6,4,13,12", 66, 7},
        {"full", sdAscending, true, false, false, "12,1,6,13,4,9,0,5,11,2,8,10,7,3", 138, 9},
        {"indexed", sdAscending, true, true, false, "12,4,9,13,6,1,8,2,11,5,0,3,7,10", 96, 15},
        {"stored past the count", sdAscending, false, false, true, "12,13,9,6,4,1,5,11,8,2,0,7,3,10", 69, 9},
    };
    const QStringList keys = {"b", "a", "b", "c", "a", "b", "a", "c", "b", "a", "c", "b", "", "a"};
    for (const Case& c : cases) {
        SortHost h(4, 15);
        h.Column(1, keys);
        QStringList tags;
        for (int i = 0; i < keys.size(); ++i)
            tags << QString::number(i % 5);
        h.Column(2, tags);
        for (int i = 0; i < keys.size(); ++i)
            h.grid->SetCells(3, i + 1, QString::number(i));
        h.grid->SetRowHeights(3, 40); // key 2
        if (c.storedPastCount)
            h.grid->SetCells(6, 2, QStringLiteral("stays"));
        h.grid->SortSettings().SetFull(c.full);
        h.grid->Navigation().SetMoveRowOnSort(true);
        h.grid->SetRow(5);
        h.grid->Compares = h.grid->Swaps = 0;
        if (c.indexed) {
            h.grid->SortIndexes().Clear();
            h.grid->SortIndexes().AddIndex(1, true);
            h.grid->SortIndexes().AddIndex(2, false);
            h.grid->QSortIndexed();
        } else {
            h.grid->Sort(1, c.dir);
        }
        EXPECT_EQ(h.Col(3).join(','), QString::fromLatin1(c.order)) << c.name;
        EXPECT_EQ(h.grid->Compares, c.compares) << c.name;
        EXPECT_EQ(h.grid->Swaps, c.swaps) << c.name;
        // Each row kept its own cells, its height and the current row.
        for (int r = 1; r <= keys.size(); ++r) {
            const int i = h.grid->Cells(3, r).toInt();
            EXPECT_EQ(h.grid->Cells(1, r), keys[i]) << c.name;
            EXPECT_EQ(h.grid->Cells(2, r), tags[i]) << c.name;
            EXPECT_EQ(h.grid->RowHeights(r), i == 2 ? 40 : h.grid->DefaultRowHeight()) << c.name;
        }
        EXPECT_EQ(h.grid->Cells(3, h.grid->Row()), QStringLiteral("4")) << c.name;
        if (c.storedPastCount) {
            EXPECT_EQ(h.grid->Cells(6, 2), QStringLiteral("stays"));
        }
    }
}

// A column of plain texts sorts from the texts' leading code units where they differ; texts alike
// in those units, shorter than them, blank, or holding surrogates and the units above them must
// land, with the same compares and exchanges, where the general compare puts them (the
// alphanumeric style on texts that are no numbers compares the same texts one by one).
TEST(Sort, PlainTextColumnLandsAsTheGeneralCompareDoes)
{
    const QStringList texts = {
        "abcd",  "abcde", "abc",   "",      "abcd",  QString(QChar(0xFFFF)) + "a",
        QString::fromUtf16(u"\U00010000b"), "ab",  QString::fromUtf16(u"a\U00010000"), "a\uFFFF",
        "abce",  QString(QChar(0)) + "x", "abcda", "Z",     "",      "abcd"};
    const int n = int(texts.size());
    QStringList ties;
    for (int i = 0; i < n; ++i)
        ties << QString::number((i * 7) % n);
    for (const bool blanks : {false, true})
        for (const TSortDirection dir : {sdAscending, sdDescending}) {
            auto sorted = [&](bool general) {
                SortHost h(3, n + 1);
                h.Column(1, texts);
                h.Column(2, ties);
                h.grid->SortSettings().SetIgnoreBlanks(blanks);
                if (general) {
                    h.grid->SortSettings().SetAutoFormat(false);
                    h.grid->OnGetFormat = [](QObject*, int, TSortStyle& s, QString&, QString&) {
                        s = ssAlphaNumeric;
                    };
                }
                h.grid->Compares = h.grid->Swaps = 0;
                h.grid->Sort(1, dir);
                return std::make_tuple(h.Col(1), h.Col(2), h.grid->Compares, h.grid->Swaps);
            };
            const auto plain = sorted(false);
            EXPECT_EQ(plain, sorted(true)) << "blanks " << blanks << " dir " << int(dir);
            // And the texts are in ordinal order.
            const QStringList got = std::get<0>(plain);
            for (int i = 1; i < n; ++i) {
                if (blanks && (got[i - 1].isEmpty() || got[i].isEmpty()))
                    continue;
                const int c = QString::compare(got[i - 1], got[i], Qt::CaseSensitive);
                EXPECT_TRUE(dir == sdAscending ? c <= 0 : c >= 0) << i;
            }
        }
}

// A sort may order keys by ranks of their values (found once per distinct value) instead of
// comparing their cells. Rows must land exactly where the cell compares put them, ties included,
// with the same compares and exchanges: the reference styles below compare the same values cell by
// cell. The later columns hold few values too, so ties go on to them.
TEST(Sort, RankedKeysLandAsCellComparesDo)
{
    struct Case {
        const char* name;
        QStringList pool;
        bool autoFormat;
        TSortStyle style; // when autoFormat is off
        bool ignoreCase;
        bool blanks;
        TSortBlankPosition blankPos;
        TSortStyle reference;
    };
    const QStringList texts = {"b", "B", "a", "ab", "abc", "Ab", "aBc", "a b", "", "abcde"};
    const QStringList numbers = {"10", "010", "10.0", "-3", "2.5", "0", "7", "-0"};
    const QStringList numbersAndBlank = {"10", "010", "-3", "2.5", "", "0", "7"};
    const Case cases[] = {
        {"automatic texts", texts, true, ssAutomatic, false, false, blFirst, ssAlphaNumeric},
        {"automatic texts, blanks last", texts, true, ssAutomatic, false, true, blLast, ssAlphaNumeric},
        {"alphabetic", texts, false, ssAlphabetic, false, true, blFirst, ssAlphaNumeric},
        {"automatic, no case", texts, true, ssAutomatic, true, false, blFirst, ssAlphaNumericNoCase},
        {"no case, blanks last", texts, false, ssAlphaNoCase, false, true, blLast, ssAlphaNumericNoCase},
        {"automatic numbers", numbers, true, ssAutomatic, false, false, blFirst, ssAlphaNumeric},
        {"numeric with blanks", numbersAndBlank, false, ssNumeric, false, true, blFirst, ssAlphaNumeric},
        {"numeric, blanks last", numbersAndBlank, false, ssNumeric, false, true, blLast, ssAlphaNumeric},
    };
    const int n = 300;
    std::mt19937 gen(97);
    auto draw = [&](const QStringList& pool) {
        QStringList out;
        std::uniform_int_distribution<int> pick(0, int(pool.size()) - 1);
        for (int i = 0; i < n; ++i)
            out << pool[pick(gen)];
        return out;
    };
    const QStringList tieNumbers = {"1", "01", "2", "3"};
    const QStringList tieTexts = {"x", "y", "z"};
    for (const Case& c : cases) {
        const QStringList keys = draw(c.pool), second = draw(tieNumbers), third = draw(tieTexts);
        QStringList tags;
        for (int i = 0; i < n; ++i)
            tags << QStringLiteral("t%1").arg(i, 3, 10, QLatin1Char('0'));
        for (const TSortDirection dir : {sdAscending, sdDescending})
            for (const bool indexed : {false, true}) {
                auto sorted = [&](bool reference) {
                    SortHost h(5, n + 1);
                    h.Column(1, keys);
                    h.Column(2, second);
                    h.Column(3, third);
                    h.Column(4, tags);
                    TSortSettings& ss = h.grid->SortSettings();
                    ss.SetIgnoreBlanks(c.blanks);
                    ss.SetBlankPos(c.blankPos);
                    ss.SetIgnoreCase(c.ignoreCase);
                    ss.SetAutoFormat(c.autoFormat && !reference);
                    if (reference)
                        h.grid->OnGetFormat = [&](QObject*, int col, TSortStyle& s, QString&, QString&) {
                            s = col == 1 ? c.reference : ssAlphaNumeric;
                        };
                    else if (!c.autoFormat)
                        h.grid->OnGetFormat = [&](QObject*, int col, TSortStyle& s, QString&, QString&) {
                            s = col == 1 ? c.style : ssAutomatic;
                        };
                    h.grid->Compares = h.grid->Swaps = 0;
                    if (indexed) {
                        h.grid->SortIndexes().Clear();
                        h.grid->SortIndexes().AddIndex(1, dir == sdAscending);
                        h.grid->SortIndexes().AddIndex(2, dir != sdAscending);
                        h.grid->SortIndexes().AddIndex(3, true);
                        h.grid->SortIndexes().AddIndex(4, true);
                        h.grid->QSortIndexed();
                    } else {
                        h.grid->Sort(1, dir);
                    }
                    return std::make_tuple(h.Col(4), h.grid->Compares, h.grid->Swaps);
                };
                const auto ranked = sorted(false);
                const auto reference = sorted(true);
                EXPECT_EQ(std::get<0>(ranked), std::get<0>(reference))
                    << c.name << " dir " << int(dir) << " indexed " << indexed;
                EXPECT_EQ(std::get<1>(ranked), std::get<1>(reference)) << c.name;
                EXPECT_EQ(std::get<2>(ranked), std::get<2>(reference)) << c.name;
            }
    }
}
