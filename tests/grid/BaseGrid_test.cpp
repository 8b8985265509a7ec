// The cell store: texts through merged ranges, properties made on first use, display hooks,
// refused indexes, navigation over merged ranges and what a destroyed grid lets go of.
#include "grid/BaseGrid.h"
#include "grid/GridSettings.h"
#include "render/RuvOdid.h"

#include "TestSupport.h"

#include <QApplication>
#include <QPaintEvent>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

class Grid : public TBaseGrid {
public:
    explicit Grid(QWidget* parent = nullptr) : TBaseGrid(parent)
    {
        SetColCount(6);
        SetRowCount(6);
    }
    int lastRowChanges = 0;
    std::vector<std::pair<int, int>> textChanged;
    void LastRowChanged() override { ++lastRowChanges; }
    void CellTextChanged(int c, int r) override { textChanged.emplace_back(c, r); }
};

TEST(BaseGrid, NewGridReadsWithoutMakingProperties)
{
    Grid g;
    EXPECT_EQ(g.Cells(1, 1), QString());
    EXPECT_EQ(g.GetObjectEx(1, 1), nullptr);
    EXPECT_EQ(g.GetGraphicObjectEx(1, 1), nullptr);
    EXPECT_FALSE(g.IsMergedCell(1, 1));
    EXPECT_EQ(g.CellSpan(1, 1), TPoint(0, 0));
    EXPECT_FALSE(g.HasCellProperties(1, 1));
    EXPECT_FALSE(g.HasCellProps());
    // A cell beyond the counts still reads as empty.
    EXPECT_EQ(g.Cells(50, 70), QString());
    EXPECT_EQ(g.GridLineWidth(), 1);
    EXPECT_EQ(g.TStringGrid::GridLineWidth(), 0);
    EXPECT_FALSE(g.TStringGrid::DefaultDrawing());
}

TEST(BaseGrid, ObjectOnEmptyCellKeepsTextEmpty)
{
    Grid g;
    int user = 7;
    g.SetObjectEx(2, 3, &user);
    EXPECT_EQ(g.GetGridCell(2, 3), QString());
    EXPECT_EQ(g.Cells(2, 3), QString());
    EXPECT_EQ(g.GetObjectEx(2, 3), &user);
    EXPECT_TRUE(g.HasCellProperties(2, 3));
    // Clearing the cell drops the slot.
    g.ClearCell(2, 3);
    EXPECT_EQ(g.GetObjectEx(2, 3), nullptr);
}

// A grid that hands out its own defaults for new cell properties.
class DefaultsGrid : public Grid {
public:
    void GetCellDefaultProps(int c, int r, TFont& f, TBrush& b, TColor& to, TColor& m, TColor& mt, TAlignment& a,
                             TVAlignment& va, bool& ww, TCellGradientDirection& gd) override
    {
        TBaseGrid::GetCellDefaultProps(c, r, f, b, to, m, mt, a, va, ww, gd);
        a = taRightJustify;
        va = vtaBottom;
        to = 0x123456;
        gd = GradientHorizontal;
    }
};

TEST(BaseGrid, PropertiesMadeOnFirstUseWithTheGridsDefaults)
{
    Grid g;
    g.SetColor(0x00AABBCC);
    g.Font().SetName(QStringLiteral("DejaVu Sans"));
    g.Font().SetSize(13);
    g.Font().SetStyle(fsBold | fsItalic);
    g.Font().SetColor(clRed);
    g.SetWordWrap(false);

    TCellProperties* p = g.GetCellProperties(2, 1);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(g.GetCellProperties(2, 1), p); // made once
    EXPECT_TRUE(g.HasCellProps());
    EXPECT_EQ(p->OwnerCol(), 2);
    EXPECT_EQ(p->OwnerRow(), 1);
    EXPECT_EQ(p->BrushColor(), 0x00AABBCC);
    EXPECT_EQ(p->BrushColorTo(), clNone);
    EXPECT_EQ(p->FontName(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(p->FontSize(), 13);
    EXPECT_EQ(p->FontStyle(), fsBold | fsItalic);
    EXPECT_EQ(p->FontColor(), clRed);
    EXPECT_FALSE(p->WordWrap());
    EXPECT_EQ(p->Alignment(), taLeftJustify);
    EXPECT_EQ(p->VAlignment(), vtaTop);
    EXPECT_TRUE(p->IsBaseCell());
    EXPECT_EQ(p->CellSpanX(), -1);
    EXPECT_EQ(p->CellSpanY(), -1);
    EXPECT_EQ(p->Editor(), edNormal);
    EXPECT_FALSE(p->ReadOnly());

    DefaultsGrid d;
    TCellProperties* q = d.GetCellProperties(1, 1);
    EXPECT_EQ(q->Alignment(), taRightJustify);
    EXPECT_EQ(q->VAlignment(), vtaBottom);
    EXPECT_EQ(q->BrushColorTo(), 0x123456);
    EXPECT_EQ(q->GradientDirection(), GradientHorizontal);
}

TEST(BaseGrid, PropertiesAssignCopiesCellSettingsOnly)
{
    Grid g;
    TCellProperties* src = g.GetCellProperties(1, 1);
    src->SetBrushColor(clYellow);
    src->SetBrushColorTo(clBlue);
    src->SetReadOnly(true);
    src->SetEditor(edComboList);
    src->SetGradientDirection(GradientHorizontal);
    src->SetCalcType(acSUM);
    src->SetGraphicObject(std::make_shared<TCellGraphic>());
    TCellProperties dst(&g, 4, 4);
    dst.Assign(*src);
    EXPECT_EQ(dst.BrushColor(), clYellow);
    EXPECT_TRUE(dst.ReadOnly());
    EXPECT_EQ(dst.Editor(), edComboList);
    EXPECT_EQ(dst.OwnerCol(), 1);
    EXPECT_EQ(dst.BrushColorTo(), clNone);
    EXPECT_EQ(dst.GradientDirection(), GradientVertical);
    EXPECT_EQ(dst.CalcType(), acNONE);
    EXPECT_EQ(dst.GraphicObject(), nullptr);
}

TEST(BaseGrid, MergedCellsReadAndWriteThroughTheirBaseCell)
{
    Grid g;
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 6; ++r)
            g.SetCells(c, r, QStringLiteral("%1,%2").arg(c).arg(r));
    g.MergeCells(1, 1, 3, 2);
    EXPECT_EQ(g.MergeCount(), 1);

    EXPECT_EQ(g.Cells(3, 2), QStringLiteral("1,1"));
    EXPECT_EQ(g.GetGridCell(3, 2), QStringLiteral("3,2")); // the other texts stay stored
    g.textChanged.clear();
    g.SetCells(2, 2, QStringLiteral("merged"));
    EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("merged"));
    EXPECT_EQ(g.GetGridCell(2, 2), QStringLiteral("2,2"));
    EXPECT_EQ(g.textChanged, (std::vector<std::pair<int, int>>{{1, 1}}));

    struct Case {
        int c, r;
        TPoint span, ext, base;
        bool merged, nonBase, x, y;
    };
    const Case cases[] = {
        {1, 1, {2, 1}, {2, 1}, {1, 1}, true, false, true, true},
        {2, 1, {2, 1}, {1, 1}, {1, 1}, true, true, true, true},
        {3, 2, {2, 1}, {0, 0}, {1, 1}, true, true, true, true},
        {1, 2, {2, 1}, {2, 0}, {1, 1}, true, true, true, true},
        {4, 1, {0, 0}, {0, 0}, {4, 1}, false, false, false, false},
        {0, 0, {0, 0}, {0, 0}, {0, 0}, false, false, false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(QStringLiteral("cell %1,%2").arg(k.c).arg(k.r).toStdString());
        EXPECT_EQ(g.CellSpan(k.c, k.r), k.span);
        EXPECT_EQ(g.CellExt(k.c, k.r), k.ext);
        EXPECT_EQ(g.BaseCell(k.c, k.r), k.base);
        EXPECT_EQ(g.IsMergedCell(k.c, k.r), k.merged);
        EXPECT_EQ(g.IsMergedNonBaseCell(k.c, k.r), k.nonBase);
        EXPECT_EQ(g.IsXMergedCell(k.c, k.r), k.x);
        EXPECT_EQ(g.IsYMergedCell(k.c, k.r), k.y);
        int bc = -9, br = -9;
        EXPECT_EQ(g.ResolveBaseCell(k.c, k.r, bc, br), !k.nonBase);
        EXPECT_EQ(TPoint(bc, br), k.base);
    }
    EXPECT_EQ(g.FullCell(3, 2), TRect(1, 1, 3, 2));
    EXPECT_EQ(g.MinRowSpan(1), 1);
    EXPECT_EQ(g.MaxRowSpan(1), 1);
    EXPECT_EQ(g.MinRowSpan(4), g.RowCount());

    g.SetColWidths(2, 40);
    g.SetRowHeights(2, 30);
    const TRect whole = g.CellRect(1, 1);
    EXPECT_EQ(g.CellRect(3, 2), whole);
    EXPECT_EQ(whole.Width(), g.ColWidths(1) + 40 + g.ColWidths(3));
    EXPECT_EQ(whole.Height(), g.RowHeights(1) + 30);
    EXPECT_EQ(whole.Left, g.ColWidths(0));
    EXPECT_EQ(g.CellSize(2, 2), TPoint(whole.Width(), whole.Height()));

    // Splitting from any cell of the range gives every cell back its own text.
    g.SplitCells(2, 2);
    EXPECT_EQ(g.MergeCount(), 0);
    for (int c = 1; c <= 3; ++c)
        for (int r = 1; r <= 2; ++r) {
            const TCellProperties* p = g.CellPropertiesOf(c, r);
            ASSERT_NE(p, nullptr);
            EXPECT_TRUE(p->IsBaseCell());
            EXPECT_EQ(p->CellSpanX(), -1);
            EXPECT_EQ(p->CellSpanY(), -1);
        }
    EXPECT_EQ(g.Cells(3, 2), QStringLiteral("3,2"));
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("merged"));
}

TEST(BaseGrid, MergeCountMovesOnlyForMergesAndSplitsThatHappened)
{
    Grid g;
    g.MergeCells(1, 1, 1, 1); // a 1 x 1 range: spans 0, 0 and not merged
    EXPECT_EQ(g.MergeCount(), 1);
    EXPECT_EQ(g.CellPropertiesOf(1, 1)->CellSpanX(), 0);
    EXPECT_EQ(g.CellPropertiesOf(1, 1)->CellSpanY(), 0);
    EXPECT_FALSE(g.IsMergedCell(1, 1));
    EXPECT_EQ(g.CellSpan(1, 1), TPoint(0, 0));

    g.MergeCells(2, 2, 0, 3); // nothing to merge
    g.MergeCells(2, 2, 3, -1);
    EXPECT_EQ(g.MergeCount(), 1);
    EXPECT_FALSE(g.HasCellProperties(2, 2));

    g.SplitCells(1, 1);
    EXPECT_EQ(g.MergeCount(), 0);
    g.SplitCells(1, 1); // no longer merged
    g.SplitCells(4, 4); // never merged
    EXPECT_EQ(g.MergeCount(), 0);
}

TEST(BaseGrid, SpanComparisonsOfRowsAndColumns)
{
    Grid g;
    EXPECT_FALSE(g.RowSpanIdentical(1, 2));
    EXPECT_FALSE(g.ColSpanIdentical(1, 2));
    g.MergeCells(1, 1, 2, 2); // columns 1-2, rows 1-2
    EXPECT_TRUE(g.RowSpanIdentical(1, 2));
    EXPECT_TRUE(g.ColSpanIdentical(1, 2));
    EXPECT_FALSE(g.ColSpanIdentical(2, 3)); // merged against plain in the same row
    g.MergeCells(4, 3, 1, 2); // column 4, rows 3-4: base rows differ from those of rows 2 and 3
    EXPECT_FALSE(g.RowSpanIdentical(2, 3));
    EXPECT_TRUE(g.RowSpanIdentical(3, 4));
}

TEST(BaseGrid, DisplayHooksApplyOnlyBelowTheNormalRowCount)
{
    Grid g;
    g.SetCells(1, 1, QStringLiteral("stored"));
    g.SetCells(1, 5, QStringLiteral("scratch"));
    g.OnGetDisplText = [](QObject*, int c, int r, QString& v) { v = QStringLiteral("<%1:%2:%3>").arg(c).arg(r).arg(v); };
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("stored")); // no normal rows yet
    g.SetNormalRowCount(5);
    EXPECT_EQ(g.Cells(1, 1), QStringLiteral("<1:1:stored>"));
    EXPECT_EQ(g.GetGridCell(1, 1), QStringLiteral("stored"));
    EXPECT_EQ(g.Cells(1, 5), QStringLiteral("scratch"));

    // The wide hook sees the decoded text and its answer comes back encoded.
    g.OnGetDisplText = nullptr;
    g.OnGetDisplWideText = [](QObject*, int, int, QString& v) { v += QChar(0x20AC); };
    const QString shown = g.Cells(1, 1);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("|\\")));
    EXPECT_EQ(DecodeUnicodeCell(shown), QStringLiteral("stored") + QChar(0x20AC));
}

TEST(BaseGrid, WritingTheHiddenLastRowReportsIt)
{
    Grid g;
    g.SetCells(1, 5, QStringLiteral("x"));
    EXPECT_EQ(g.lastRowChanges, 0); // only with the last row hidden
    g.SetHideLastRow(true);
    g.SetCells(1, 5, QStringLiteral("y"));
    g.SetCells(1, 4, QStringLiteral("z"));
    EXPECT_EQ(g.lastRowChanges, 1);
}

TEST(BaseGrid, NegativeIndexesAreRefusedWithoutTouchingTheStore)
{
    Grid g;
    const std::vector<std::pair<const char*, std::function<void()>>> writes = {
        {"SetCells col", [&] { g.SetCells(-1, 1, QStringLiteral("x")); }},
        {"SetCells row", [&] { g.SetCells(1, -1, QStringLiteral("x")); }},
        {"SetGridCell", [&] { g.SetGridCell(-3, 0, QStringLiteral("x")); }},
        {"GetCellProperties", [&] { g.GetCellProperties(-1, 0); }},
        {"SetCellProperties", [&] { g.SetCellProperties(0, -2, nullptr); }},
        {"SetObjectEx", [&] { g.SetObjectEx(-1, -1, nullptr); }},
        {"SetGraphicObjectEx", [&] { g.SetGraphicObjectEx(1, -5, nullptr); }},
        {"MergeCells", [&] { g.MergeCells(-1, 1, 2, 2); }},
        {"SplitCells", [&] { g.SplitCells(1, -1); }},
        {"ClearRowCells", [&] { g.ClearRowCells(-1); }},
        {"ClearColCells", [&] { g.ClearColCells(-1); }},
    };
    for (const auto& [name, call] : writes) {
        SCOPED_TRACE(name);
        EXPECT_THROW(call(), ZUzeRodoRediv);
    }
    try {
        g.SetCells(-1, 1, QStringLiteral("x"));
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid column accessed"));
    }
    try {
        g.SetCells(1, -1, QStringLiteral("x"));
    } catch (const ZUzeRodoRediv& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid row accessed"));
    }
    EXPECT_EQ(g.MergeCount(), 0);
    EXPECT_FALSE(g.HasCellProps());
    // Reads and queries answer as for an empty, plain cell.
    EXPECT_EQ(g.Cells(-1, -1), QString());
    EXPECT_EQ(g.GetObjectEx(-1, 2), nullptr);
    EXPECT_FALSE(g.IsMergedCell(-1, 2));
    EXPECT_TRUE(g.IsBaseCell(2, -1));
    EXPECT_EQ(g.BaseCell(-4, 2), TPoint(-4, 2));
}

TEST(BaseGrid, ArrowKeysStepOverMergedRanges)
{
    Grid g;
    g.resize(600, 400);
    g.MergeCells(2, 2, 2, 2); // columns 2-3, rows 2-3
    struct Case {
        const char* name;
        TGridCoord from;
        Word key;
        TGridCoord to;
    };
    const Case cases[] = {
        {"right enters on the base", {1, 2}, VK_RIGHT, {2, 2}},
        {"right leaves at the far side", {2, 2}, VK_RIGHT, {4, 2}},
        {"down leaves at the far side", {2, 2}, VK_DOWN, {2, 4}},
        {"left enters on the base", {4, 3}, VK_LEFT, {2, 2}},
        {"up enters on the base", {3, 4}, VK_UP, {2, 2}},
        {"left leaves the range", {2, 2}, VK_LEFT, {1, 2}},
        // From a non-base cell the key ends on the base cell, not past it.
        {"left from a non-base cell", {3, 3}, VK_LEFT, {2, 2}},
        {"up from a non-base cell", {3, 3}, VK_UP, {2, 2}},
        {"left from the base column below the base", {2, 3}, VK_LEFT, {1, 3}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        // Place the current cell without the keys' own step to the base.
        g.MoveColRow(k.from.X, k.from.Y, true, true);
        ASSERT_EQ(TGridCoord({g.Col(), g.Row()}), k.from);
        Word key = k.key;
        g.KeyDown(key, TShiftState());
        EXPECT_EQ(TGridCoord({g.Col(), g.Row()}), k.to);
    }
}

TEST(BaseGrid, WritingAPlainCellRepaintsItsDisplayedPosition)
{
    // A grid whose stored column 3 shows at column 2 (as with column 2 hidden).
    class Shifted : public Grid {
    public:
        int DisplColIndex(int c) const override { return c >= 3 ? c - 1 : c; }
    };
    Shifted g;
    QRegion painted;
    struct Filter : QObject {
        QRegion* out;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                *out += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } filter;
    filter.out = &painted;
    g.viewport()->installEventFilter(&filter);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    QApplication::processEvents();
    painted = QRegion();
    g.SetCells(3, 1, QStringLiteral("x"));
    QApplication::processEvents();
    const TRect shown = g.CellRect(2, 1);
    EXPECT_TRUE(painted.contains(ToQRect(shown))) << "displayed cell not repainted";
}

TEST(BaseGrid, WritesOutOfViewScheduleNoRepaint)
{
    Grid g;
    g.SetRowCount(5000);
    g.resize(300, 200);
    int paints = 0;
    struct Filter : QObject {
        int* out;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                ++*out;
            return false;
        }
    } filter;
    filter.out = &paints;
    g.viewport()->installEventFilter(&filter);
    g.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.SetTopRow(100);
    QApplication::processEvents();
    struct Case {
        const char* name;
        int col, row;
        bool repainted;
    };
    const Case cases[] = {
        {"a cell in view", 1, 101, true},
        {"a cell far below the view", 1, 4000, false},
        {"a cell just below the view", 1, 100 + g.VisibleRowCount() + 3, false},
        {"a cell scrolled out above", 1, 50, false},
        {"a cell right of the view", 5, 101, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        paints = 0;
        g.SetCells(k.col, k.row, QStringLiteral("written"));
        QApplication::processEvents();
        EXPECT_EQ(paints > 0, k.repainted);
        EXPECT_EQ(g.Cells(k.col, k.row), QStringLiteral("written"));
    }
    // A merged range that reaches into the view repaints from a base cell above it.
    g.MergeCells(2, 99, 1, 3);
    QApplication::processEvents();
    paints = 0;
    g.SetCells(2, 99, QStringLiteral("merged"));
    QApplication::processEvents();
    EXPECT_GT(paints, 0);
}

TEST(BaseGrid, DestroyingAGridFreesItsCellGraphicsButNotTheCallersObjects)
{
    std::weak_ptr<TGridCellObject> graphic;
    auto picture = std::make_shared<TGridCellObject>();
    {
        Grid g;
        auto cg = std::make_shared<TCellGraphic>();
        graphic = cg;
        g.SetGraphicObjectEx(1, 1, cg);
        cg.reset();
        g.SetGraphicObjectEx(2, 2, picture);
        EXPECT_EQ(g.GetGraphicObjectEx(1, 1).get(), graphic.lock().get());
        EXPECT_FALSE(graphic.expired());
    }
    EXPECT_TRUE(graphic.expired());
    EXPECT_EQ(picture.use_count(), 1);
}

TEST(BaseGrid, FreeingARectangleDropsOnlyItsProperties)
{
    Grid g;
    g.GetCellProperties(1, 1);
    g.GetCellProperties(2, 2);
    g.GetCellProperties(4, 4);
    g.SetCells(2, 2, QStringLiteral("kept"));
    g.FreeCellPropertiesRect(1, 1, 2, 2);
    EXPECT_FALSE(g.HasCellProperties(1, 1));
    EXPECT_FALSE(g.HasCellProperties(2, 2));
    EXPECT_TRUE(g.HasCellProperties(4, 4));
    EXPECT_EQ(g.Cells(2, 2), QStringLiteral("kept"));
}

TEST(BaseGrid, MergedRangePaintsAsOneCell)
{
    Grid g;
    g.resize(420, 200);
    g.SetCells(1, 1, QStringLiteral("Merged range"));
    g.SetCells(3, 3, QStringLiteral("plain"));
    g.MergeCells(1, 1, 2, 2);
    g.grab().save(kt_test::GrabPath("basegrid_merged.png"));
    const QImage img = g.viewport()->grab().toImage();
    // Inside the range, where the line between its columns would be, the background goes on.
    const TRect r = g.CellRect(1, 1);
    const int x = r.Left + g.ColWidths(1) - 1;
    const int y = r.Top + 3;
    EXPECT_EQ(FromQColor(img.pixelColor(x, y)), ColorToRGB(g.Color()));
    // Fixed cells take the fixed colour and their line colour at the right edge.
    const TRect f = g.CellRect(0, 2);
    EXPECT_EQ(FromQColor(img.pixelColor(f.Left + 3, f.Top + 3)), ColorToRGB(g.FixedColor()));
    EXPECT_EQ(FromQColor(img.pixelColor(f.Right - 1, f.Top + 3)), ColorToRGB(g.GridFixedLineColor()));
}

} // namespace
