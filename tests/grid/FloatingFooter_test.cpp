// The floating footer: which row it takes from the grid, its calculations, the template preview,
// clicks and hints over its columns, copying its settings, its place below the viewport and how
// each style looks.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"
#include "TestSupport.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A shown grid: header row 0, data rows 1..9 (column 1 a name, column 2 the row number), the
// footer row 10; four columns, the first fixed.
struct FooterHost {
    QWidget window;
    TVerIvovavOzed* grid;
    explicit FooterHost(int rows = 11) : grid(new TVerIvovavOzed(&window))
    {
        grid->Loaded();
        grid->SetColCount(4);
        grid->SetRowCount(rows);
        for (int r = 1; r < rows - 1; ++r) {
            grid->SetCells(1, r, QStringLiteral("Item %1").arg(r));
            grid->SetCells(2, r, QString::number(r));
        }
        grid->setGeometry(0, 0, 400, 200);
        window.resize(420, 220);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    TFloatingFooter& footer() { return grid->FloatingFooter(); }
    TFooterPanel* panel() { return grid->FooterPanel(); }
    int footerRow() { return grid->RowCount() - 1; }
};

} // namespace

TEST(FloatingFooter, StyleAndVisibilityDecideTheFooterRow)
{
    struct Case {
        const char* name;
        bool visible;
        TFooterStyle style;
        bool styleLast; // style written after Visible
        int fixedFooters;
        bool hideLastRow;
    };
    const Case cases[] = {
        {"last row shown", true, fsFixedLastRow, false, 1, true},
        {"column preview shown", true, fsColumnPreview, false, 0, false},
        {"last row hidden", false, fsFixedLastRow, false, 0, false},
        {"style switched to last row while shown", true, fsFixedLastRow, true, 1, true},
        {"style switched to preview while shown", true, fsColumnPreview, true, 0, false},
        {"style switched to last row while hidden", false, fsFixedLastRow, true, 0, false},
    };
    for (const Case& c : cases) {
        FooterHost h;
        if (c.styleLast) {
            h.footer().SetFooterStyle(c.style == fsFixedLastRow ? fsColumnPreview : fsFixedLastRow);
            h.footer().SetVisible(c.visible);
            h.footer().SetFooterStyle(c.style);
        } else {
            h.footer().SetFooterStyle(c.style);
            h.footer().SetVisible(c.visible);
        }
        EXPECT_EQ(h.grid->FixedFooters(), c.fixedFooters) << c.name;
        EXPECT_EQ(h.grid->HideLastRow(), c.hideLastRow) << c.name;
    }
}

TEST(FloatingFooter, PanelTakesItsRoomBelowTheViewport)
{
    FooterHost h;
    int created = 0;
    // The panel's creation is reported once, at the grid's first show.
    QWidget window;
    auto* g = new TVerIvovavOzed(&window);
    g->Loaded();
    g->OnCreatedFloatingFooter = [&](QObject* s) {
        EXPECT_EQ(s, g);
        ++created;
    };
    window.show();
    window.hide();
    window.show();
    EXPECT_EQ(created, 1);

    const int before = h.grid->ClientHeight();
    const int rowsBefore = h.grid->VisibleRowCount();
    const int height = h.footer().Height();
    ASSERT_GT(height, 1);
    h.footer().SetVisible(true);
    ASSERT_TRUE(h.panel()->isVisible());
    EXPECT_EQ(h.panel()->height(), height - 1);
    EXPECT_EQ(h.grid->ClientHeight(), before - (height - 1));
    EXPECT_LE(h.grid->VisibleRowCount(), rowsBefore);
    const QRect vp = h.grid->viewport()->geometry();
    EXPECT_EQ(h.panel()->geometry(), QRect(vp.left(), vp.top() + vp.height(), vp.width(), height - 1));

    // Height 0 or 1 never gives a negative panel; hiding gives the room back.
    h.footer().SetHeight(0);
    h.footer().SetVisible(true);
    EXPECT_EQ(h.panel()->height(), 0);
    h.footer().SetHeight(30);
    EXPECT_EQ(h.panel()->height(), 29);
    h.footer().SetVisible(false);
    EXPECT_FALSE(h.panel()->isVisible());
    EXPECT_EQ(h.grid->ClientHeight(), before);
}

TEST(FloatingFooter, ColumnCalculations)
{
    struct Case {
        const char* name;
        TColumnCalcType calc;
        int hidden;       // rows hidden (a 13-row grid then shows 11)
        bool calcHidden;  // CalculateHiddenRows
        QString expected; // footer cell (2, RowCount - 1)
    };
    const Case cases[] = {
        {"sum", acSUM, 0, true, "45.00"},
        {"average", acAVG, 0, true, "5.00"},
        {"minimum", acMIN, 0, true, "1.00"},
        {"maximum", acMAX, 0, true, "9.00"},
        {"distinct", acDISTINCT, 0, true, "9.00"},
        {"count", acCOUNT, 0, true, "9"},
        {"count with hidden rows", acCOUNT, 2, true, "11"},
        {"count without hidden rows", acCOUNT, 2, false, "9"},
        {"sum with hidden rows", acSUM, 2, true, "66.00"},
        {"sum without hidden rows", acSUM, 2, false, "45.00"},
        {"custom without an event", acCUSTOM, 0, true, ""},
        {"spread", acSPREAD, 0, true, "before"},
    };
    for (const Case& c : cases) {
        // With hidden rows: rows 1..11 hold 1..11 and the last two data rows are hidden.
        FooterHost h(c.hidden ? 13 : 11);
        h.footer().SetVisible(true);
        h.footer().SetCalculateHiddenRows(c.calcHidden);
        if (c.hidden)
            h.grid->HideRows(12 - c.hidden, 11);
        ASSERT_EQ(h.grid->RowCount(), 11) << c.name;
        h.grid->SetCells(2, h.footerRow(), "before");
        h.footer().SetColumnCalc(2, c.calc);
        EXPECT_EQ(h.footer().ColumnCalc(2), c.calc) << c.name;
        EXPECT_EQ(h.grid->Cells(2, h.footerRow()), c.expected) << c.name;
    }
}

TEST(FloatingFooter, CalculationsOnlyWhereAndWhenEnabled)
{
    FooterHost h;
    h.footer().SetVisible(true);
    EXPECT_EQ(h.footer().ColumnCalc(3), acNONE);
    h.footer().SetColumnCalc(2, acSUM);
    ASSERT_EQ(h.grid->Cells(2, 10), "45.00");

    // Off: a changed cell leaves the footer row as it is.
    h.footer().SetEnableCalculation(false);
    h.grid->SetCells(2, 1, "101");
    h.grid->DoCellsChanged(TRect{2, 1, 2, 1});
    EXPECT_EQ(h.grid->Cells(2, 10), "45.00");
    h.footer().SetEnableCalculation(true);
    h.grid->DoCellsChanged(TRect{2, 1, 2, 1});
    EXPECT_EQ(h.grid->Cells(2, 10), "145.00");

    // Only a shown last-row footer calculates.
    h.footer().SetFooterStyle(fsColumnPreview);
    h.grid->SetCells(2, 1, "1");
    h.grid->CalcFooter(-1);
    EXPECT_EQ(h.grid->Cells(2, 10), "145.00");

    // The grid's event wins over the footer's; both get the footer row (hidden rows counted).
    h.footer().SetFooterStyle(fsFixedLastRow);
    std::vector<QString> calls;
    h.footer().OnCalcFooter = [&](QObject*, int c, int r, QString& v) {
        calls.push_back(QStringLiteral("footer %1,%2").arg(c).arg(r));
        v = "F";
    };
    h.footer().SetColumnCalc(3, acCUSTOM);
    EXPECT_EQ(h.grid->Cells(3, 10), "F");
    h.grid->OnFooterCalc = [&](QObject* s, int c, int r, QString& v) {
        EXPECT_EQ(s, h.grid);
        calls.push_back(QStringLiteral("grid %1,%2").arg(c).arg(r));
        v = "G";
    };
    h.grid->CalcFooter(3);
    EXPECT_EQ(h.grid->Cells(3, 10), "G");
    EXPECT_EQ(calls, (std::vector<QString>{"footer 3,10", "grid 3,10"}));

    // A column that does not read as numbers keeps its footer text; nothing escapes.
    h.grid->SetCells(2, 1, "1e5e5");
    EXPECT_NO_THROW(h.footer().SetColumnCalc(2, acSTDDEV));
    EXPECT_EQ(h.grid->Cells(2, 10), "145.00");
}

TEST(FloatingFooter, TemplateFieldsTakeTheCurrentRow)
{
    FooterHost h;
    h.grid->SetRow(5);
    struct Case {
        const char* templ;
        const char* shown;
    };
    const Case cases[] = {
        {"Name: <#1>", "Name: Item 5"},
        {"<#1> = <#2>", "Item 5 = 5"},
        {"Name: <#x>!", "Name: !"},    // a letter is no column
        {"<#99>|<#-1>|", "||"},         // columns outside the grid vanish
        {"open <#1 field", "open <#1 field"}, // an unclosed field stays text
        {"plain", "plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(h.panel()->ExpandTemplate(QString::fromUtf8(c.templ)), QString::fromUtf8(c.shown)) << c.templ;
}

TEST(FloatingFooter, ClicksAndHintsNameTheColumnUnderThePointer)
{
    FooterHost h;
    h.footer().SetVisible(true);
    int clicks = 0;
    std::vector<QString> cells;
    h.grid->OnClick = [&](QObject*) { ++clicks; };
    h.grid->OnClickCell = [&](QObject*, int r, int c) { cells.push_back(QStringLiteral("%1,%2").arg(r).arg(c)); };
    struct Case {
        int cols;     // fixed column 40 wide, the others 50
        int leftCol;
        int x;
        const char* cell; // "" when no cell is reported
    };
    const Case cases[] = {
        {10, 3, 10, "10,0"},            // the fixed column, also while scrolled
        {10, 3, 60, "10,3"},            // first scrolled column
        {10, 3, 40 + 100 + 10, "10,5"}, // third scrolled column
        {3, 1, 40 + 100 + 30, ""},      // beyond the last column
    };
    for (const Case& c : cases) {
        h.grid->SetColCount(c.cols);
        h.grid->SetColWidths(0, 40);
        for (int i = 1; i < c.cols; ++i)
            h.grid->SetColWidths(i, 50);
        h.grid->SetLeftCol(c.leftCol);
        ASSERT_EQ(h.grid->LeftCol(), c.leftCol);
        cells.clear();
        const int before = clicks;
        QTest::mouseClick(h.panel(), Qt::LeftButton, Qt::NoModifier, QPoint(c.x, 2));
        EXPECT_EQ(clicks, before + 1) << c.x;
        EXPECT_EQ(cells, c.cell[0] ? std::vector<QString>{QString::fromLatin1(c.cell)} : std::vector<QString>{})
            << c.x;
    }
    h.grid->SetColCount(10);
    for (int i = 1; i < 10; ++i)
        h.grid->SetColWidths(i, 50);
    h.grid->SetLeftCol(3);

    // Hints: OnGridHint is asked for the footer cell; the column is remembered only while the
    // panel shows hints, and leaving the panel forgets it.
    std::vector<QString> asked;
    h.grid->OnGridHint = [&](QObject*, int r, int c, QString& s) {
        asked.push_back(QStringLiteral("%1,%2").arg(r).arg(c));
        s = "hint";
    };
    QString text;
    EXPECT_FALSE(h.panel()->HintShow(160, text));
    EXPECT_EQ(h.panel()->LastHintX(), -1);
    h.footer().SetShowHint(true);
    text.clear();
    EXPECT_TRUE(h.panel()->HintShow(160, text));
    EXPECT_EQ(text, "hint");
    EXPECT_EQ(h.panel()->LastHintX(), 5);
    EXPECT_EQ(asked, (std::vector<QString>{"10,5", "10,5"}));
    QTest::mouseMove(h.panel(), QPoint(60, 2));
    EXPECT_EQ(h.panel()->LastHintX(), 3);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(h.panel(), &leave);
    EXPECT_EQ(h.panel()->LastHintX(), -1);
}

TEST(FloatingFooter, AssignCopiesTheShownSettingsOnly)
{
    FooterHost a, b;
    TFloatingFooter& s = a.footer();
    s.SetCalculateHiddenRows(false);
    s.SetColor(clRed);
    s.SetColumn(2);
    s.SetCustomTemplate("T <#1>");
    s.SetFooterStyle(fsCustomPreview);
    s.SetVisible(true);
    s.SetShowHint(true);
    s.SetBorderColor(clBlue);
    s.SetHeight(40);
    s.SetEnableCalculation(false);
    s.OnCalcFooter = [](QObject*, int, int, QString&) {};

    TFloatingFooter& d = b.footer();
    const int height = d.Height();
    d.Assign(s);
    EXPECT_FALSE(d.CalculateHiddenRows());
    EXPECT_EQ(d.Color(), clRed);
    EXPECT_EQ(d.Column(), 2);
    EXPECT_EQ(d.CustomTemplate(), "T <#1>");
    EXPECT_EQ(d.FooterStyle(), fsCustomPreview);
    EXPECT_TRUE(d.Visible());
    EXPECT_TRUE(b.panel()->isVisible());
    EXPECT_TRUE(d.ShowHint());
    EXPECT_TRUE(b.panel()->ShowHint());
    EXPECT_EQ(d.BorderColor(), clNone);
    EXPECT_EQ(d.Height(), height);
    EXPECT_TRUE(d.EnableCalculation());
    EXPECT_FALSE(d.OnCalcFooter);
    EXPECT_EQ(b.grid->FixedFooters(), 0);

    // The last-row style through Assign makes the grid's last row the footer row.
    s.SetFooterStyle(fsFixedLastRow);
    d.Assign(s);
    EXPECT_EQ(b.grid->FixedFooters(), 1);
    EXPECT_TRUE(b.grid->HideLastRow());
}

TEST(FloatingFooter, LastRowNeverBecomesCurrentAndRowsStayAboveThePanel)
{
    FooterHost h(40);
    h.footer().SetVisible(true);
    h.grid->SetRow(39);
    EXPECT_NE(h.grid->Row(), 39);
    // Walking down to the last data row keeps each row fully in the viewport.
    for (int r = 2; r <= 38; ++r) {
        h.grid->SetRow(r);
        ASSERT_EQ(h.grid->Row(), r);
        const TRect rc = h.grid->CellRect(1, r);
        EXPECT_LE(rc.Bottom, h.grid->ClientHeight()) << r;
        EXPECT_GE(rc.Top, 0) << r;
    }

    // With the search bar too, rows stay above the bar that lies over the viewport's bottom.
    FooterHost s(40);
    s.footer().SetVisible(true);
    s.grid->SearchFooter().SetVisible(true);
    TSearchPanel* bar = nullptr;
    for (QObject* child : s.grid->children())
        if (auto* p = dynamic_cast<TSearchPanel*>(child))
            bar = p;
    ASSERT_TRUE(bar && bar->height() > 0);
    // (The last data row stops where the grid cannot scroll further: its blank footer row is
    // already the last row in view.)
    for (int r = 2; r <= 37; ++r) {
        s.grid->SetRow(r);
        ASSERT_EQ(s.grid->Row(), r);
        EXPECT_LE(s.grid->CellRect(1, r).Bottom, s.grid->ClientHeight() - bar->height() + 2) << r;
    }
}

TEST(FloatingFooter, StylesPaintedAndGrabbed)
{
    FooterHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColWidths(0, 30);
    g.SetColWidths(1, 90);
    g.SetColWidths(2, 70);
    g.SetColWidths(3, 90);
    g.SetOptions(g.Options() | goFixedVertLine | goFixedHorzLine);
    g.SetRow(4);
    h.footer().SetColor(0xE0F0F0);
    h.footer().SetBorderColor(clRed);
    h.footer().SetVisible(true);
    h.footer().SetColumnCalc(2, acSUM);
    g.SetCells(1, 10, "Total");

    int painted = 0;
    TRect paintRect;
    int paintColumn = -1;
    struct Shot {
        TFooterStyle style;
        const char* file;
    };
    const Shot shots[] = {
        {fsFixedLastRow, "footer_fixed_last_row.png"},
        {fsColumnPreview, "footer_column_preview.png"},
        {fsCustomPreview, "footer_custom_preview.png"},
        {fsCustomPaint, "footer_custom_paint.png"},
    };
    h.footer().SetColumn(1);
    h.footer().SetCustomTemplate("<b>Name:</b> <#1>, value <#2>");
    for (const Shot& s : shots) {
        h.footer().SetFooterStyle(s.style);
        if (s.style == fsCustomPaint)
            g.OnFooterPaint = [&](QObject* sender, int col, TCanvas& c, const TRect& r) {
                EXPECT_EQ(sender, h.panel());
                ++painted;
                paintRect = r;
                paintColumn = col;
                c.Brush().SetColor(0x80FF80);
                c.FillRect(r);
            };
        const QImage grid = h.window.grab().toImage();
        ASSERT_TRUE(grid.save(kt_test::GrabPath(QString::fromLatin1(s.file))));
        const QImage panel = h.panel()->grab().toImage();
        ASSERT_FALSE(panel.isNull());
        // The border line runs along the top over the columns.
        EXPECT_EQ(FromQColor(panel.pixelColor(5, 0)), clRed) << s.file;
        // Beyond the columns the grid's own colour.
        EXPECT_EQ(FromQColor(panel.pixelColor(panel.width() - 2, panel.height() / 2)),
                  s.style == fsCustomPaint ? 0x80FF80 : ColorToRGB(g.Color()))
            << s.file;
    }
    EXPECT_GE(painted, 1);
    EXPECT_EQ(paintRect, TRect(0, 0, h.panel()->width(), h.panel()->height()));
    EXPECT_EQ(paintColumn, 1);

    // A preview column outside the grid paints the frame only.
    g.OnFooterPaint = nullptr;
    h.footer().SetFooterStyle(fsColumnPreview);
    h.footer().SetColumn(42);
    const QImage frame = h.panel()->grab().toImage();
    EXPECT_EQ(FromQColor(frame.pixelColor(40, frame.height() / 2)), 0xE0F0F0);
}
