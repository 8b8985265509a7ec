// The smart paste after a selection paste: fills, series of numbers, decimals and dates (forwards,
// backwards, over a year end), repeats with and without a final line end, line repeats, read-only
// cells inside a series, and the one undo step of the fill.
#include "GridDataFixture.h"
#include "grid/AdvGrid.h"
#include "grid/UndoRedo.h"
#include "platform/SysUtils.h"

#include <QApplication>
#include <QClipboard>
#include <gtest/gtest.h>

namespace {

struct SmartHost {
    griddatatest::DayFirstFormat format;
    std::unique_ptr<TVerIvovavOzed> grid;
    SmartHost(int cols = 4, int rows = 8) : grid(griddatatest::MakeGrid(cols, rows))
    {
        grid->SetOptions(grid->Options() | goEditing | goRangeSelect);
        grid->Navigation().SetAllowSmartClipboard(true);
    }
    void Paste(const QString& text, int l, int t, int r, int b)
    {
        QApplication::clipboard()->setText(text);
        grid->SetSelection(TGridRect{l, t, r, b});
        grid->PasteSelectionFromClipboard();
    }
    QStringList Column(int c, int from, int to)
    {
        QStringList l;
        for (int r = from; r <= to; ++r)
            l << grid->Cells(c, r);
        return l;
    }
};

} // namespace

TEST(SmartPaste, OneValueFillsTheSelection)
{
    SmartHost h;
    RUvaVoviVareReda undo;
    h.grid->SetUndoRedo(&undo);
    h.Paste("v", 0, 0, 2, 2);
    for (int c = 0; c <= 2; ++c)
        EXPECT_EQ(h.Column(c, 0, 3), QStringList({"v", "v", "v", ""}));
    // The text paste and the fill are one undo step each.
    undo.Undo();
    EXPECT_EQ(h.grid->Cells(0, 0), "v");
    EXPECT_EQ(h.grid->Cells(2, 2), "");
    undo.Undo();
    EXPECT_EQ(h.grid->Cells(0, 0), "");
    EXPECT_FALSE(undo.CanUndo());
}

TEST(SmartPaste, SeriesContinueOverTheSelection)
{
    struct Case {
        QString text;
        bool row;
        QStringList expect;
    };
    const Case cases[] = {
        {"1\r\n3\r\n", false, {"1", "3", "5", "7", "9"}},
        {"10\r\n7", false, {"10", "7", "4", "1", "-2"}},
        {"1.5\t2", true, {"1.50", "2.00", "2.50", "3.00", "3.50"}},
        // Months back over a year end, on the same day of each month.
        {"15/02/2027\r\n15/01/2027\r\n", false, {"15/02/2027", "15/01/2027", "15/12/2026", "15/11/2026", "15/10/2026"}},
        {"02/01/2027\r\n01/01/2027\r\n", false, {"02/01/2027", "01/01/2027", "31/12/2026", "30/12/2026", "29/12/2026"}},
        {"30/11/2026\r\n30/12/2026\r\n", false, {"30/11/2026", "30/12/2026", "30/01/2027", "28/02/2027", "28/03/2027"}},
        {"10:00\r\n10:30\r\n", false, {"10:00", "10:30", "11:00", "11:30", "12:00"}},
    };
    for (const Case& c : cases) {
        SmartHost h(6, 6);
        if (c.row) {
            h.Paste(c.text, 0, 0, 4, 0);
            QStringList got;
            for (int col = 0; col <= 4; ++col)
                got << h.grid->Cells(col, 0);
            EXPECT_EQ(got, c.expect) << c.text.toStdString();
        } else {
            h.Paste(c.text, 1, 0, 1, 4);
            EXPECT_EQ(h.Column(1, 0, 4), c.expect) << c.text.toStdString();
        }
    }
}

TEST(SmartPaste, ReadOnlyCellInASeriesKeepsItsTextAndTheSeriesMovesOn)
{
    SmartHost h;
    h.grid->SetReadOnly(0, 2, true);
    h.grid->SetCells(0, 2, "ro");
    h.Paste("1\r\n2\r\n", 0, 0, 0, 4);
    EXPECT_EQ(h.Column(0, 0, 4), QStringList({"1", "2", "ro", "4", "5"}));
}

TEST(SmartPaste, RepeatsThePastedLinesWithAndWithoutAFinalLineEnd)
{
    for (const QString& text : {QString("A\r\nB\r\n"), QString("A\r\nB")}) {
        SmartHost h;
        h.Paste(text, 0, 0, 0, 5);
        EXPECT_EQ(h.Column(0, 0, 6), QStringList({"A", "B", "A", "B", "A", "B", ""})) << text.toStdString();
    }
    for (const QString& text : {QString("x\ty\r\n"), QString("x\ty")}) {
        SmartHost h(6, 2);
        h.Paste(text, 0, 0, 4, 0);
        QStringList got;
        for (int c = 0; c <= 5; ++c)
            got << h.grid->Cells(c, 0);
        EXPECT_EQ(got, QStringList({"x", "y", "x", "y", "x", ""})) << text.toStdString();
    }
}

TEST(SmartPaste, OneLineRepeatsDownAndAnExactBlockDoesNoFill)
{
    SmartHost h;
    h.Paste("a\tb\tc", 0, 0, 2, 3);
    for (int r = 0; r <= 3; ++r)
        EXPECT_EQ(h.grid->Cells(0, r) + h.grid->Cells(1, r) + h.grid->Cells(2, r), "abc") << r;
    EXPECT_EQ(h.grid->Cells(0, 4), "");

    SmartHost e;
    e.Paste("p\r\nq\r\n", 0, 0, 0, 1);
    EXPECT_EQ(e.Column(0, 0, 2), QStringList({"p", "q", ""}));
}
