// Node glyphs, text turned by an angle and the toned cell buttons of the cell painter.
#include "grid/AdvGrid.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class NodeGrid : public TVerIvovavOzed {
public:
    explicit NodeGrid(QWidget* p) : TVerIvovavOzed(p) {}
    bool HasNodes() override { return true; }
};

struct NodeHost {
    QWidget window;
    NodeGrid* grid;
    NodeHost() : grid(new NodeGrid(&window))
    {
        grid->Loaded();
        grid->SetColCount(3);
        grid->SetRowCount(5);
        grid->SetFixedCols(0);
        grid->resize(300, 200);
        window.resize(300, 200);
    }
    void Node(int row, bool collapsed)
    {
        TCellGraphic* g = grid->CreateCellGraphic(0, row);
        g->SetCellType(ctNode);
        g->SetCellBoolean(collapsed);
        grid->GetCellProperties(0, row)->SetNodeLevel(1);
    }
    QImage Grab() { return grid->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

QRgb Rgb(TColor c) { return ToQColor(c).rgb() & 0xFFFFFF; }

} // namespace

TEST(PaintNode, FlatNodeShowsPlusOnlyWhenCollapsed)
{
    NodeHost h;
    NodeGrid& g = *h.grid;
    g.CellNode().SetNodeType(cnFlat);
    g.CellNode().SetNodeColor(0x0000FF);
    g.CellNode().SetShowTree(false);
    h.Node(1, true);
    h.Node(2, false);
    QImage img = h.Grab();
    img.save(kt_test::GrabPath("paint_nodes.png"));
    const QRgb red = Rgb(0x0000FF);
    for (int row : {1, 2}) {
        const TRect c = g.CellRect(0, row);
        SCOPED_TRACE(row);
        // the 8 x 8 box's top-left corner: first box pixel of the cell
        int L = -1, T = -1;
        for (int y = c.Top; y < c.Bottom && L < 0; ++y)
            for (int x = c.Left; x < c.Left + 20 && L < 0; ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == red)
                    L = x, T = y;
        ASSERT_GE(L, 0);
        // level 1 (indent 12): the box sits 6 pixels into the content, centred vertically
        EXPECT_LE(std::abs(L - (c.Left + 6)), 1);
        EXPECT_LE(std::abs(T - (c.Top + (c.Bottom - c.Top - 8) / 2)), 1);
        EXPECT_EQ(img.pixel(L + 7, T + 7) & 0xFFFFFF, red);           // box corner
        EXPECT_EQ(img.pixel(L + 3, T + 4) & 0xFFFFFF, red);           // minus sign
        EXPECT_EQ((img.pixel(L + 4, T + 2) & 0xFFFFFF) == red, row == 1); // plus bar
    }
}

// Column 0 of a grid with nodes is painted without its horizontal grid lines. The stock grid
// has nodes only where its first column holds one; a grid class that answers HasNodes itself is
// asked, whatever its first column holds.
TEST(PaintNode, FirstColumnLinesFollowHasNodes)
{
    enum Setup { Plain, ColourInFirstColumn, NodeInFirstColumn, OwnHasNodes };
    for (Setup setup : {Plain, ColourInFirstColumn, NodeInFirstColumn, OwnHasNodes}) {
        SCOPED_TRACE(int(setup));
        QWidget window;
        TVerIvovavOzed* g = setup == OwnHasNodes ? new NodeGrid(&window) : new TVerIvovavOzed(&window);
        g->Loaded();
        g->SetColCount(3);
        g->SetRowCount(6);
        g->SetFixedCols(0);
        g->resize(300, 200);
        if (setup == ColourInFirstColumn)
            g->SetColors(0, 4, clWhite);
        if (setup == NodeInFirstColumn) {
            g->CreateCellGraphic(0, 4)->SetCellType(ctNode);
            g->GetCellProperties(0, 4)->SetNodeLevel(1);
        }
        const QImage img = g->grab().toImage().convertToFormat(QImage::Format_RGB32);
        img.save(kt_test::GrabPath(QStringLiteral("paint_node_lines_%1.png").arg(int(setup))));
        const QPoint o = g->viewport()->pos(); // cells are placed in the viewport, inside the frame
        const TRect c = g->CellRect(0, 2);
        const bool line =
            (img.pixel(o.x() + (c.Left + c.Right) / 2, o.y() + c.Bottom - 1) & 0xFFFFFF) == Rgb(g->GridLineColor());
        EXPECT_EQ(line, setup == Plain || setup == ColourInFirstColumn);
        // the other columns keep their lines
        const TRect d = g->CellRect(1, 2);
        EXPECT_EQ(img.pixel(o.x() + (d.Left + d.Right) / 2, o.y() + d.Bottom - 1) & 0xFFFFFF, Rgb(g->GridLineColor()));
    }
}

TEST(PaintNode, PictureNodesDrawTheirResource)
{
    for (TNodeType t : {cnLeaf, cnXP}) {
        NodeHost h;
        h.grid->CellNode().SetNodeType(t);
        h.grid->CellNode().SetShowTree(false);
        h.Node(1, true);
        h.Node(2, false);
        const QImage img = h.Grab();
        const TRect a = h.grid->CellRect(0, 1), b = h.grid->CellRect(0, 2);
        const int hgt = a.Bottom - a.Top;
        // the collapsed and the expanded picture differ, and both leave the cell's background
        bool differs = false, drawn = false;
        for (int x = a.Left; x < a.Left + 24; ++x)
            for (int y = 0; y < hgt; ++y) {
                differs |= img.pixel(x, a.Top + y) != img.pixel(x, b.Top + y);
                drawn |= (img.pixel(x, a.Top + y) & 0xFFFFFF) != Rgb(h.grid->Color());
            }
        EXPECT_TRUE(differs) << t;
        EXPECT_TRUE(drawn) << t;
    }
}

TEST(PaintNode, RotatedStartPointByQuadrantAndAlignment)
{
    NodeHost h;
    QImage img(10, 10, QImage::Format_RGB32);
    TCanvas c(&img);
    c.Font().Assign(h.grid->Font());
    const QString text = QStringLiteral("Turned");
    const TSize e = c.TextExtent(text);
    const int W = e.cx, H = e.cy;
    const TRect box(10, 20, 210, 320); // shrunk by 2: 12, 22, 208, 318
    struct Case {
        int angle;
        TAlignment ha;
        TVAlignment va;
        int left, top;
    } cases[] = {
        {0, taLeftJustify, vtaTop, 12, 22},
        {0, taRightJustify, vtaBottom, 208 - W, 318 - H},
        {90, taLeftJustify, vtaTop, 12, 22 + W},
        {90, taRightJustify, vtaBottom, 208 - H, 318},
        {90, taCenter, vtaCenter, 12 + (196 - H) / 2, 22 + W - (W + 22 - 318) / 2},
        {270, taLeftJustify, vtaTop, 12 + H, 22},
        {270, taRightJustify, vtaBottom, 208, 318 - W},
    };
    for (const Case& k : cases) {
        TRect r = box;
        h.grid->DrawRotatedCellText(c, r, k.angle, k.va, k.ha, text);
        EXPECT_EQ(r.Left, k.left) << k.angle << " " << k.ha << " " << k.va;
        EXPECT_EQ(r.Top, k.top) << k.angle << " " << k.ha << " " << k.va;
    }
}

TEST(PaintNode, RotatedCellAndTonedButtonPaint)
{
    NodeHost h;
    NodeGrid& g = *h.grid;
    g.SetColWidths(1, 80);
    g.SetRowHeights(1, 80);
    g.SetCells(1, 1, QStringLiteral("Up"));
    TCellGraphic* rg = g.CreateCellGraphic(1, 1);
    rg->SetCellType(ctRotated);
    rg->SetAngle(90);
    // a flat grid with tones draws its cell buttons in the tone colours
    TColorTones tones;
    tones.Background = {0x00C000, 0x004000, 0xFFFFFF};
    tones.Hover = {0xC00000, 0x400000, 0xFFFFFF};
    tones.Selected = tones.Disabled = tones.Background;
    g.SetColorTones(tones);
    g.SetFlat(true);
    g.SetColWidths(2, 80);
    TCellGraphic* bg = g.CreateCellGraphic(2, 3);
    bg->SetCellType(ctButton);
    bg->SetCellIndex((20 << 16) | 60);
    const QImage img = h.Grab();
    img.save(kt_test::GrabPath("paint_rotated_button.png"));
    // the turned text is tall and narrow
    const TRect rc = g.CellRect(1, 1);
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    const QRgb back = img.pixel(rc.Right - 3, rc.Bottom - 3);
    for (int y = rc.Top + 1; y < rc.Bottom - 1; ++y)
        for (int x = rc.Left + 1; x < rc.Right - 1; ++x)
            if (img.pixel(x, y) != back) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    EXPECT_GT(maxY - minY, maxX - minX);
    // the button frame takes the background tone's border colour
    const TRect bc = g.CellRect(2, 3);
    bool toned = false;
    for (int x = bc.Left; x < bc.Right; ++x)
        toned |= (img.pixel(x, bc.Top + (bc.Bottom - bc.Top) / 2) & 0xFFFFFF) == Rgb(0x004000);
    EXPECT_TRUE(toned);
}

TEST(PaintNode, BackgroundPictureShowsInCoveredCellsOnly)
{
    struct Case {
        TBackGroundDisplay display;
        bool ownColor;  // cell (1, 2) has a colour of its own
        bool shows;     // the picture shows in cell (1, 2)
    } cases[] = {{bdFixed, false, false}, {bdTile, false, true}, {bdTile, true, false}};
    for (const Case& k : cases) {
        NodeHost h;
        NodeGrid& g = *h.grid;
        TBitmap pic;
        pic.SetSize(40, 200);
        pic.Canvas().Brush().SetColor(0x00FFFF);
        pic.Canvas().FillRect(TRect(0, 0, 40, 200));
        g.BackGround().SetBitmap(pic);
        g.BackGround().SetDisplay(k.display);
        g.BackGround().SetCells(bcAll);
        if (k.ownColor)
            g.SetColors(1, 2, 0x00FF00);
        const QImage img = h.Grab();
        // column 1 starts beyond the 40-pixel picture placed at (0, 0); a tiled one repeats
        const TRect c = g.CellRect(1, 2);
        const bool yellow = (img.pixel(c.Left + 3, c.Top + 3) & 0xFFFFFF) == Rgb(0x00FFFF);
        EXPECT_EQ(yellow, k.shows) << k.display << k.ownColor;
        const TRect c0 = g.CellRect(0, 2);
        EXPECT_EQ(img.pixel(c0.Left + 3, c0.Top + 3) & 0xFFFFFF, Rgb(0x00FFFF)) << k.display << k.ownColor;
    }
}
