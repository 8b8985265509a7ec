// Typed cell values, highlighting, checking, fills, save and load hooks, row hooks and appearance
// writers of the string grid.
#include "GridHost.h"
#include "grid/AdvGrid.h"
#include "platform/SysUtils.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using kt_test::GridHost;

// Switches the program's format settings for one test.
struct LocaleScope {
    platform::TFormatSettings saved = platform::FormatSettings();
    LocaleScope(QChar dec, QChar thou)
    {
        platform::FormatSettings().DecimalSeparator = dec;
        platform::FormatSettings().ThousandSeparator = thou;
    }
    ~LocaleScope() { platform::FormatSettings() = saved; }
};

TEST(Values, IntsReadTheCellText)
{
    GridHost h;
    struct Case {
        const char* text;
        int want;
        bool raises;
    } cases[] = {
        {" 12 ", 12, false}, {"", 0, false}, {"-", 0, false}, {"$1F", 31, false},
        {"<b>7</b>", 7, false}, {"12a", 0, true}, {"x", 0, true},
    };
    for (const Case& c : cases) {
        h.grid->SetCells(1, 1, c.text);
        if (c.raises)
            EXPECT_THROW(h.grid->Ints(1, 1), ZUzeRodoRediv) << c.text;
        else
            EXPECT_EQ(h.grid->Ints(1, 1), c.want) << c.text;
    }
    h.grid->SetCells(1, 1, "12a");
    try {
        h.grid->Ints(1, 1);
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_STREQ(e.what(), "Cell does not contain integer value");
    }
    h.grid->SetInts(2, 2, -5);
    EXPECT_EQ(h.grid->Cells(2, 2), "-5");
}

TEST(Values, FloatsFollowTheLocale)
{
    GridHost h;
    {
        LocaleScope l(',', '.');
        h.grid->SetCells(1, 1, "1.234,5");
        EXPECT_DOUBLE_EQ(h.grid->Floats(1, 1), 1234.5);
        h.grid->SetFloats(1, 2, 3.14159);
        EXPECT_EQ(h.grid->Cells(1, 2), "3,14");
    }
    LocaleScope l('.', ',');
    struct Case {
        const char* text;
        double want;
    } cases[] = {{"(3.5)", -3.5}, {"", 0}, {"-", 0}, {"$ 2.5", 2.5}, {"abc", 0}};
    for (const Case& c : cases) {
        h.grid->SetCells(1, 1, c.text);
        EXPECT_DOUBLE_EQ(h.grid->Floats(1, 1), c.want) << c.text;
    }
    h.grid->SetFloats(1, 2, 3.14159);
    EXPECT_EQ(h.grid->Cells(1, 2), "3.14");
    h.grid->SetCells(1, 1, "1.2.3");
    EXPECT_THROW(h.grid->Floats(1, 1), ZUzeRodoRediv);
}

TEST(Values, NullDatesAndTimes)
{
    GridHost h;
    h.grid->SetCells(1, 1, "old");
    h.grid->SetShowNullDates(false);
    h.grid->SetDates(1, 1, 0);
    EXPECT_EQ(h.grid->Cells(1, 1), "");
    h.grid->SetShowNullDates(true);
    h.grid->SetDates(1, 1, 0);
    EXPECT_FALSE(h.grid->Cells(1, 1).isEmpty());

    h.grid->SetDates(1, 2, 45000);
    EXPECT_DOUBLE_EQ(h.grid->Dates(1, 2), 45000);
    h.grid->SetTimes(1, 3, 0.5);
    EXPECT_DOUBLE_EQ(h.grid->Times(1, 3), 0.5);
    h.grid->SetCells(1, 4, "no date");
    EXPECT_THROW(h.grid->Dates(1, 4), platform::EConvertError);
}

TEST(Values, ComboItemList)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.ClearComboString();
    g.AddComboString("S7300");
    g.AddComboString("S7400");
    EXPECT_EQ(g.GetComboCount(), 2);
    g.SetCells(2, 1, "S7400");
    EXPECT_EQ(g.ComboIndex(2, 1), 1);
    g.SetCells(2, 1, "other");
    EXPECT_EQ(g.ComboIndex(2, 1), -1);
    g.SetComboIndex(2, 1, 0);
    EXPECT_EQ(g.Cells(2, 1), "S7300");
    EXPECT_ANY_THROW(g.SetComboIndex(2, 1, 5));
    EXPECT_EQ(g.Cells(2, 1), "S7300"); // unchanged after the error
    EXPECT_TRUE(g.RemoveComboString("s7300")); // the list's match ignores case
    EXPECT_FALSE(g.RemoveComboString("S7300"));
    EXPECT_EQ(g.GetComboCount(), 1);
}

TEST(Values, HighlightAndMarkRoundTrip)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetCells(1, 1, "Abc ab");
    g.HilightInCell(false, 1, 1, "ab");
    EXPECT_EQ(g.Cells(1, 1), "<hi>Ab</hi>c <hi>ab</hi>");
    g.UnHilightInCell(1, 1);
    EXPECT_EQ(g.Cells(1, 1), "Abc ab");

    g.SetCells(1, 1, "Abc ab");
    g.HilightInCell(true, 1, 1, "ab");
    EXPECT_EQ(g.Cells(1, 1), "Abc <hi>ab</hi>");

    g.SetCells(2, 2, "a<b");
    g.HilightInCell(false, 2, 2, "<");
    EXPECT_EQ(g.Cells(2, 2), "a<hi>&lt;</hi>b");
    g.UnHilightInCell(2, 2);
    EXPECT_EQ(g.Cells(2, 2), "a<b");

    // Column form: fixed row left alone without DoFixed.
    g.SetCells(3, 0, "x");
    g.SetCells(3, 1, "x");
    g.MarkInCol(false, false, 3, "x");
    EXPECT_EQ(g.Cells(3, 0), "x");
    EXPECT_EQ(g.Cells(3, 1), "<e>x</e>");
    g.UnMarkInCol(false, 3);
    EXPECT_EQ(g.Cells(3, 1), "x");
}

// A checker that corrects to upper case and marks everything.
class UpperChecker : public TVerIvovavOzedCheck {
public:
    QString Correct(int, int, const QString& s) override { return s.toUpper(); }
    QString MarkError(int, int, const QString& s) override { return "<e>" + s + "</e>"; }
    int starts = 0, stops = 0;
    void StartCheck() override { ++starts; }
    void StopCheck() override { ++stops; }
};

TEST(Values, CheckCells)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    EXPECT_TRUE(g.CheckCell(1, 1)); // no checker

    TVerIvovavOzedCheck plain;
    g.SetCellChecker(&plain);
    g.SetCells(1, 1, "ok");
    g.SetCells(2, 1, "was <e>bad</e>");
    EXPECT_TRUE(g.CheckCells(1, 1, 2, 1));
    EXPECT_EQ(g.Cells(1, 1), "ok");
    EXPECT_EQ(g.Cells(2, 1), "was bad"); // earlier marks removed

    UpperChecker upper;
    upper.SetUseCorrect(true);
    g.SetCellChecker(&upper);
    g.SetCells(1, 2, "ab");
    g.SetCells(2, 2, "CD");
    EXPECT_FALSE(g.CheckCells(1, 2, 2, 2));
    EXPECT_EQ(g.Cells(1, 2), "AB");
    EXPECT_EQ(g.Cells(2, 2), "CD");
    EXPECT_EQ(upper.starts, 1);
    EXPECT_EQ(upper.stops, 1);

    upper.SetUseMarkError(true); // the mark replaces the correction
    g.SetCells(1, 3, "ab");
    EXPECT_FALSE(g.CheckCell(1, 3));
    EXPECT_EQ(g.Cells(1, 3), "<e>ab</e>");

    {
        TVerIvovavOzedCheck gone;
        g.SetCellChecker(&gone);
    }
    EXPECT_EQ(g.CellChecker(), nullptr); // a freed checker is forgotten
    EXPECT_TRUE(g.CheckGrid(false));
}

TEST(Values, FillsAndSwap)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.LinearFill(false);
    EXPECT_EQ(g.Cells(1, 1), "1:1");
    EXPECT_EQ(g.Cells(0, 0), "");
    EXPECT_EQ(g.Cells(g.ColCount() - 1, g.RowCount() - 1),
              QString("%1:%2").arg(g.ColCount() - 1).arg(g.RowCount() - 1));
    g.FormatFill(true, "%d-%d");
    EXPECT_EQ(g.Cells(0, 0), "0-0");
    EXPECT_EQ(g.Cells(2, 3), "2-3");
    g.RandomFill(false, 3);
    for (int r = 1; r < g.RowCount(); ++r)
        EXPECT_LT(g.Ints(1, r), 3);
    g.TextFill(false, "t");
    EXPECT_EQ(g.Cells(1, 1), "t");
    EXPECT_EQ(g.Cells(0, 1), "0-1");

    g.SetCells(1, 1, "a");
    g.SetCells(2, 2, "b");
    g.SwapCells({1, 1}, {2, 2});
    EXPECT_EQ(g.Cells(1, 1), "b");
    EXPECT_EQ(g.Cells(2, 2), "a");
}

TEST(Values, RowHeadersAndPrintRange)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetCells(0, 3, "old");
    platform::TStringList l;
    l.Add("");
    l.Add("one\\ntwo");
    g.SetRowHeaders(l);
    EXPECT_EQ(g.Cells(0, 1), "one\ntwo");
    EXPECT_EQ(g.Cells(0, 3), ""); // cleared first
    EXPECT_THROW(g.PrintColWidth(512), ZUzeRodoRediv);
    EXPECT_THROW(g.PrintColOffset(-1), ZUzeRodoRediv);
    EXPECT_EQ(g.PrintColWidth(511), 0);
}

TEST(Values, SaveAndLoadCellText)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.AddCheckBox(1, 1, true, false);
    QString v;
    g.GetSaveCellText(1, 1, v);
    EXPECT_EQ(v, "Y");

    g.SetCells(2, 1, "<b>x</b>");
    g.GetSaveCellText(2, 1, v);
    EXPECT_EQ(v, "<b>x</b>");
    g.SetSaveWithHTML(false);
    g.GetSaveCellText(2, 1, v);
    EXPECT_EQ(v, "x");

    g.OnSaveCell = [](QObject*, int, int, QString& s) { s += "!"; };
    g.GetSaveCellText(2, 1, v);
    EXPECT_EQ(v, "x!");

    g.OnLoadCell = [](QObject*, int, int, QString& s) { s = s.toUpper(); };
    g.LoadCellText(3, 1, "abc");
    EXPECT_EQ(g.Cells(3, 1), "ABC");
}

TEST(Values, DeleteRowAtKeepsTheOnlyNormalRow)
{
    for (bool always : {false, true}) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetRowCount(2);
        g.SetFixedRowAlways(always);
        g.SetCells(1, 1, "x");
        int reported = -1;
        g.OnAutoDeleteRow = [&](QObject*, int r) { reported = r; };
        g.DeleteRowAt(1);
        EXPECT_EQ(reported, 1);
        if (always) {
            EXPECT_EQ(g.RowCount(), 1);
        } else {
            EXPECT_EQ(g.RowCount(), 2);
            EXPECT_EQ(g.Cells(1, 1), "");
        }
    }
    GridHost h;
    h.grid->SetCells(1, 2, "next");
    h.grid->InsertRowAt(2);
    EXPECT_EQ(h.grid->RowCount(), 11);
    EXPECT_EQ(h.grid->Cells(1, 3), "next");
}

TEST(Values, SpreadSheetAndWriters)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetSpreadSheet(true);
    EXPECT_TRUE(g.Options().testFlag(goEditing));
    EXPECT_TRUE(g.Options().testFlag(goRangeSelect));
    EXPECT_TRUE(g.SelectionRectangle());
    EXPECT_TRUE(g.SelectionResizer());
    EXPECT_TRUE(g.Navigation().AllowSmartClipboard());
    EXPECT_TRUE(g.MouseActions().RangeSelectAndEdit());
    g.RemoveEditingOption();
    EXPECT_FALSE(g.Options().testFlag(goEditing));

    platform::TStringList items;
    items.Add("a");
    g.SetLookupItems(&items);
    g.SetLookupItems(nullptr);
    EXPECT_EQ(g.LookupItems().Count(), 1);

    g.SetVAlignment(vtaBottom);
    EXPECT_EQ(g.VAlignment(), vtaBottom);

    int selChanged = 0;
    g.OnSelectionChanged = [&](QObject*, int, int, int, int) { ++selChanged; };
    g.SelectionChanged(1, 1, 2, 2);
    EXPECT_EQ(selChanged, 1);
    EXPECT_TRUE(g.SelectionChangedFlag());

    bool password = false;
    g.OnIsPasswordCell = [&](QObject*, int, int, bool& p) { p = password; };
    EXPECT_FALSE(g.CellIsPassword(1, 1));
    password = true;
    EXPECT_TRUE(g.CellIsPassword(1, 1));
}

} // namespace

#include "grid/AdvCGrid.h"
#include <QSettings>
#include <QTemporaryDir>

namespace {

TEST(Values, ColumnPositionsInIniFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("pos.ini");
    auto make = [] {
        auto w = std::make_unique<QWidget>();
        auto* g = new TZidIzavodUraz(w.get());
        g->Loaded();
        g->SetColCount(3);
        for (int i = 0; i < 3; ++i)
            g->Columns().Items(i)->SetDefIdx(i);
        for (int i = 0; i < 3; ++i)
            g->SetCells(i, 1, QString("c%1").arg(i));
        return std::pair{std::move(w), g};
    };
    auto [w1, g1] = make();
    g1->MoveColumn(0, 2);
    g1->SaveColumnPositions(ini, "S");
    QSettings s(ini, QSettings::IniFormat);
    EXPECT_EQ(s.value("S/CP0").toInt(), 1);
    EXPECT_EQ(s.value("S/CP1").toInt(), 2);
    EXPECT_EQ(s.value("S/CP2").toInt(), 0);

    auto [w2, g2] = make();
    g2->LoadColumnPositions(ini, "S");
    EXPECT_EQ(g2->Cells(2, 1), "c0");
    EXPECT_EQ(g2->Cells(0, 1), "c1");

    auto [w3, g3] = make();
    g3->LoadColumnPositions(ini, "Missing"); // no CP keys: nothing changes
    EXPECT_EQ(g3->Cells(0, 1), "c0");
}

} // namespace
