// Visual services of the string grid: background of the empty area, balloon texts, selection
// colour writes, the focus frame, the hint window, the soft looks' border and the frame imaging.
#include "GridHost.h"
#include "grid/AdvCGrid.h"
#include "grid/GridAlphaMask.h"
#include "tests/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct GridHost : kt_test::ShownGridHost {
    GridHost() : ShownGridHost(500, 400, QSize(400, 300)) {}
};

QImage Surface(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

TEST(VisualServices, SelectionColourWrites)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    const struct { int in, stored; } mixer[] = {{150, 100}, {-3, 0}, {70, 70}};
    for (const auto& c : mixer) {
        g.SetSelectionColorMixerFactor(c.in);
        EXPECT_EQ(g.SelectionColorMixerFactor(), c.stored) << c.in;
    }
    g.SetShowSelection(false);
    EXPECT_FALSE(g.ShowSelection());
    EXPECT_FALSE(g.ShowSel());
}

TEST(VisualServices, BalloonTexts)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    const TRect r = g.CellRect(1, 1);
    QString title, text;
    int icon = 0;
    g.SetCells(1, 1, QString(3000, u'x'));
    EXPECT_FALSE(g.BalloonText(r.Left + 2, r.Top + 2, title, text, icon)); // balloons off
    g.Balloon().SetEnable(true);
    ASSERT_TRUE(g.BalloonText(r.Left + 2, r.Top + 2, title, text, icon));
    EXPECT_EQ(text.size(), 2048);
    EXPECT_TRUE(text.endsWith(QStringLiteral("x...")));
    EXPECT_EQ(title, " ");
    EXPECT_EQ(icon, 1);
    EXPECT_EQ(g.LastBalloonCell().X, 1);

    const struct { const char* cell; const char* shown; } cases[] = {
        {"\t\r\n\t", ""},
        {"\r\nline\tone", "line one"},
        {"<b>bold</b> text", "bold text"},
    };
    for (const auto& c : cases) {
        g.SetCells(1, 1, QString::fromLatin1(c.cell));
        ASSERT_TRUE(g.BalloonText(r.Left + 2, r.Top + 2, title, text, icon));
        EXPECT_EQ(text, QString::fromLatin1(c.shown)) << c.cell;
    }
    g.OnCellBalloon = [](QObject*, int, int, QString& ATitle, QString& AText, int& AIcon) {
        ATitle = QString(120, u't');
        AText = QStringLiteral("own");
        AIcon = 3;
    };
    ASSERT_TRUE(g.BalloonText(r.Left + 2, r.Top + 2, title, text, icon));
    EXPECT_EQ(title.size(), 100);
    EXPECT_TRUE(title.endsWith(QStringLiteral("t...")));
    EXPECT_EQ(text, "own");
    EXPECT_EQ(icon, 3);
}

TEST(VisualServices, BackgroundOfTheEmptyArea)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    g.SetColCount(3);
    g.SetRowCount(3);
    QImage tile(10, 10, QImage::Format_RGB32);
    tile.fill(QColor(0, 128, 0));
    g.BackGround().SetBitmap(TBitmap(tile));
    g.BackGround().SetDisplay(bdTile);
    QImage img = Surface(g.ClientWidth(), g.ClientHeight());
    {
        TCanvas canvas(&img);
        g.PaintBackgroundArea(canvas);
    }
    const TRect lastCol = g.CellRect(2, 0);
    const TRect lastRow = g.CellRect(0, 2);
    // Tiles start at the first normal cell's corner: right of the last column and below the last
    // row, but not beside the header row or below the row-number column.
    EXPECT_EQ(img.pixelColor(lastCol.Right + 5, lastRow.Top + 2), QColor(0, 128, 0));
    EXPECT_EQ(img.pixelColor(lastCol.Left + 2, lastRow.Bottom + 5), QColor(0, 128, 0));
    EXPECT_EQ(img.pixelColor(lastCol.Right + 5, 5), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(5, lastRow.Bottom + 5), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(lastCol.Left + 2, lastRow.Top + 2), QColor(Qt::white)); // the cells stay

    // A gradient whose end colour is clNone paints nothing; with an end colour it fills.
    g.BackGround().SetBitmap(TBitmap());
    g.BackGround().SetDisplay(bdGradientVert);
    g.BackGround().SetColor(0x0000FF);
    g.BackGround().SetColorTo(clNone);
    img = Surface(g.ClientWidth(), g.ClientHeight());
    {
        TCanvas canvas(&img);
        g.PaintBackgroundArea(canvas);
    }
    EXPECT_EQ(img.pixelColor(lastCol.Right + 5, 5), QColor(Qt::white));
    g.BackGround().SetColorTo(0x0000FF);
    {
        TCanvas canvas(&img);
        g.PaintBackgroundArea(canvas);
    }
    EXPECT_EQ(img.pixelColor(lastCol.Right + 5, 5), QColor(255, 0, 0));
}

TEST(VisualServices, FocusFrameRing)
{
    GridHost h;
    TVerIvovavOzed& g = *h.grid;
    h.window.show();
    g.ShowFocusFrame(TRect{10, 10, 74, 30}); // a 64 x 20 cell
    TGridFocusWindow* w = g.FocusWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->width(), 73);
    EXPECT_EQ(w->height(), 29);
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), &g);
    const QRegion ring = w->mask();
    const struct { int x, y; bool in; } probes[] = {
        {3, 3, true}, {4, 4, false}, {67, 23, false}, {68, 24, true}, {72, 28, true}, {36, 2, true}, {36, 26, true},
    };
    for (const auto& p : probes)
        EXPECT_EQ(ring.contains(QPoint(p.x, p.y)), p.in) << p.x << "," << p.y;
    g.HideFocusFrame();
    EXPECT_EQ(TVerIvovavOzed::ActiveFocusFrameGrid(), nullptr);
    EXPECT_FALSE(w->isVisible());
}

TEST(VisualServices, FrameImaging)
{
    EXPECT_EQ(ClampToByte(0, 255, 255.0), 255);
    EXPECT_EQ(ClampToByte(0, 255, -0.5), 0);
    EXPECT_EQ(ClampToByte(0, 255, 254.9), 254);
    const auto k = MakeGaussianKernel(3.0);
    double sum = 0;
    for (double v : k)
        sum += v;
    EXPECT_NEAR(sum, 1.0, 1e-9);
    EXPECT_EQ(k.size() % 2, 1u);

    TBitmap mask;
    MakeFocusFrameMask(mask, 73, 29, 4, 5, 3.0);
    EXPECT_EQ(mask.Width(), 73);
    const int outline = qRed(mask.Image().pixel(36, 4));
    EXPECT_GT(outline, 100);                                  // on the outline, softened
    EXPECT_LT(qRed(mask.Image().pixel(36, 14)), outline / 2); // inside the outline
    EXPECT_LT(qRed(mask.Image().pixel(36, 0)), outline);      // outside it

    TBitmap wrong(QImage(30, 30, QImage::Format_ARGB32));
    try {
        BlurBitmap(wrong, 3.0);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Blur only works for 24-bit bitmaps");
    }
    // A 30 x 30 picture: every row and column lies near an edge, so a lone white pixel spreads
    // both ways.
    QImage dot(30, 30, QImage::Format_RGB888);
    dot.fill(Qt::black);
    dot.setPixel(15, 15, qRgb(255, 255, 255));
    TBitmap b(dot);
    BlurBitmap(b, 3.0);
    EXPECT_GT(qRed(b.Image().pixel(15, 17)), 0);
    EXPECT_GT(qRed(b.Image().pixel(17, 15)), 0);
    EXPECT_LT(qRed(b.Image().pixel(15, 15)), 255);

    TGridAlphaMask am;
    QImage colour(4, 4, QImage::Format_RGB888);
    colour.fill(QColor(200, 100, 50));
    QImage half(4, 4, QImage::Format_RGB888);
    half.fill(QColor(128, 0, 0));
    am.MergeMask(TBitmap(half), TBitmap(colour), 0);
    EXPECT_EQ(qAlpha(am.Image().pixel(1, 1)), 128);
    EXPECT_EQ(qRed(am.Image().pixel(1, 1)), 100); // 200 x 128 / 255 rounded, premultiplied
    TGridAlphaMask untouched;
    untouched.MergeMask(TBitmap(half), TBitmap(QImage(4, 4, QImage::Format_ARGB32)), 0);
    EXPECT_TRUE(untouched.Empty());
}

TEST(VisualServices, HintPlacementOnTheMonitor)
{
    const TRect monitor{0, 0, 1024, 768};
    const TRect wide = THTMLHintWindow::FitOnMonitor(TRect{900, 100, 1100, 120}, monitor, 16);
    EXPECT_EQ(wide.Right, 1022);
    EXPECT_EQ(wide.Left, 822);
    const TRect low = THTMLHintWindow::FitOnMonitor(TRect{100, 760, 200, 780}, monitor, 16);
    EXPECT_EQ(low.Bottom, 766);
    EXPECT_EQ(low.Top, 746);
    const TRect fits = THTMLHintWindow::FitOnMonitor(TRect{100, 100, 200, 120}, monitor, 16);
    EXPECT_EQ(fits.Left, 100);
    EXPECT_EQ(fits.Bottom, 120);
}

TEST(VisualServices, ProgressAppearanceTellsOnlyChanges)
{
    TGridProgressAppearance a;
    int changes = 0;
    a.OnChange = [&] { ++changes; };
    a.SetLevel2Perc(90);
    EXPECT_EQ(changes, 0);
    a.SetLevel2Perc(80);
    a.SetStyle(psClassic);
    EXPECT_EQ(changes, 2);
    TGridProgressAppearance b;
    b.Assign(a);
    EXPECT_EQ(b.Level2Perc(), 80);
    EXPECT_EQ(b.Style(), psClassic);
}

TEST(VisualServices, BorderOfTheSoftLooks)
{
    const struct { TGridLook look; bool flat; bool drawn; } cases[] = {
        {glXP, false, true}, {glStandard, false, false}, {glXP, true, false}, {glWin7, false, true},
    };
    for (const auto& c : cases) {
        GridHost h;
        TVerIvovavOzed& g = *h.grid;
        g.SetLook(c.look);
        g.SetFlat(c.flat);
        QImage img = Surface(50, 40);
        {
            TCanvas canvas(&img);
            g.PaintBorder(canvas, 50, 40);
        }
        const bool drawn = img.pixelColor(1, 10) == ToQColor(g.BorderColor());
        EXPECT_EQ(drawn, c.drawn) << int(c.look) << c.flat;
    }
}

TEST(VisualServices, HintOverACell)
{
    QWidget window;
    window.resize(360, 170);
    auto* g = new TZidIzavodUraz(&window);
    g->Loaded();
    g->setGeometry(0, 0, 360, 170);
    g->SetColCount(3);
    g->SetRowCount(5);
    g->Columns().Items(1)->SetHeader(QStringLiteral("Address"));
    g->Columns().Items(2)->SetHeader(QStringLiteral("Type"));
    for (int r = 1; r < 5; ++r) {
        g->SetCells(1, r, QStringLiteral("DB%1.DBW%2").arg(r).arg(r * 2));
        g->SetCells(2, r, QStringLiteral("S7300"));
    }
    window.show();
    QImage shot = window.grab().toImage();
    THTMLHintWindow hint;
    hint.SetColor(clInfoBk);
    const TRect cell = g->CellRect(1, 2);
    const QPoint origin = g->viewport()->mapTo(&window, QPoint(cell.Left + 10, cell.Bottom + 4));
    hint.ActivateHint(TRect{origin.x(), origin.y(), origin.x(), origin.y()},
                      QStringLiteral("<b>DB2.DBW4</b><br>Word 4 of data block 2"));
    EXPECT_GT(hint.TextWidth(), 0);
    EXPECT_GT(hint.TextHeight(), 0);
    QImage face(hint.width(), hint.height(), QImage::Format_RGB32);
    {
        TCanvas canvas(&face);
        hint.PaintOn(canvas, face.width(), face.height());
    }
    hint.hide();
    {
        QPainter p(&shot);
        p.drawImage(origin, face);
    }
    EXPECT_TRUE(shot.save(kt_test::GrabPath(QStringLiteral("grid_hint.png"))));
}

} // namespace
