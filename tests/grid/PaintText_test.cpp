// How cell texts land in their cells: vertical alignment of wrapped and single-line texts,
// plain texts drawn as written, header texts.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Host {
    QWidget window;
    TVerIvovavOzed* grid;
    Host() : grid(new TVerIvovavOzed(&window))
    {
        grid->Loaded();
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(120);
        grid->resize(400, 220);
        window.resize(400, 220);
    }
};

// Rows (top, bottom) of the dark pixels inside a cell, (-1, -1) when none.
std::pair<int, int> InkRows(const QImage& img, const TRect& r)
{
    int top = -1, bottom = -1;
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
        for (int x = r.Left + 1; x < r.Right - 2; ++x)
            if (qGray(img.pixel(x, y)) < 110) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

// Number of columns holding dark pixels inside a cell.
int InkColumns(const QImage& img, const TRect& r)
{
    int n = 0;
    for (int x = r.Left + 1; x < r.Right - 2; ++x)
        for (int y = r.Top + 1; y < r.Bottom - 1; ++y)
            if (qGray(img.pixel(x, y)) < 110) {
                ++n;
                break;
            }
    return n;
}

} // namespace

TEST(PaintText, VerticalAlignmentHoldsWithAndWithoutWordWrap)
{
    struct Case { TVAlignment va; bool ww; };
    const Case cases[] = {{vtaCenter, true}, {vtaCenter, false}, {vtaBottom, true}, {vtaBottom, false},
                          {vtaTop, true}};
    for (const Case& c : cases) {
        Host h;
        h.grid->SetRowHeights(1, 60);
        h.grid->SetWordWrap(c.ww);
        h.grid->SetVAlignment(c.va);
        h.grid->SetCells(1, 1, QStringLiteral("Middle"));
        const QImage img = h.grid->grab().toImage();
        const TRect r = h.grid->CellRect(1, 1);
        const auto [top, bottom] = InkRows(img, r);
        ASSERT_GE(top, 0) << c.va << c.ww;
        const int above = top - r.Top, below = r.Bottom - bottom;
        if (c.va == vtaCenter)
            EXPECT_LE(std::abs(above - below), 8) << "ww " << c.ww << " above " << above << " below " << below;
        else if (c.va == vtaBottom)
            EXPECT_LT(below, above) << "ww " << c.ww;
        else
            EXPECT_LT(above, below);
    }
}

TEST(PaintText, PlainTextKeepsAmpersands)
{
    Host h;
    h.grid->SetCells(1, 1, QStringLiteral("a&b"));
    h.grid->SetCells(1, 2, QStringLiteral("ab"));
    h.grid->SetCells(1, 0, QStringLiteral("a&b"));
    h.grid->SetCells(2, 0, QStringLiteral("ab"));
    const QImage img = h.grid->grab().toImage();
    EXPECT_GT(InkColumns(img, h.grid->CellRect(1, 1)), InkColumns(img, h.grid->CellRect(1, 2)) + 2);
    EXPECT_GT(InkColumns(img, h.grid->CellRect(1, 0)), InkColumns(img, h.grid->CellRect(2, 0)) + 2);
}

namespace {
class DesignedGrid : public TVerIvovavOzed {
public:
    using TVerIvovavOzed::TVerIvovavOzed;
    void IsDesigning(bool& Designing) override { Designing = true; }
};
} // namespace

TEST(PaintText, DesignHelperAndBackgroundAreaAfterTheCells)
{
    // The quick-configuration panel shows only in a grid being designed.
    for (bool designing : {false, true}) {
        QWidget window;
        TVerIvovavOzed* g = designing ? new DesignedGrid(&window) : new TVerIvovavOzed(&window);
        g->Loaded();
        g->SetColCount(2);
        g->SetRowCount(2);
        g->resize(400, 200);
        const QImage img = g->grab().toImage();
        const TColor panel = FromQColor(img.pixelColor(g->ClientWidth() - 100, g->ClientHeight() - 8));
        EXPECT_EQ(panel == ColorToRGB(clInfoBk), designing);
    }
    // A gradient background fills the room right of the last column and below the last row.
    Host h;
    h.grid->SetColCount(2);
    h.grid->SetRowCount(2);
    h.grid->BackGround().SetColor(0x0000FF);
    h.grid->BackGround().SetColorTo(0x0000FF);
    h.grid->BackGround().SetDisplay(bdGradientVert);
    const QImage img = h.grid->grab().toImage();
    const TRect last = h.grid->CellRect(1, 1);
    EXPECT_EQ(FromQColor(img.pixelColor(last.Right + 20, 5)), 0x0000FF);
    EXPECT_EQ(FromQColor(img.pixelColor(5, last.Bottom + 20)), 0x0000FF);
}

// Every painted cell is classified without a copy of its text: a tag start is "<" and a
// character that upper-cases to B, I or C (the dotless i among them), wherever it stands.
TEST(PaintText, HtmlTagStartsAsTheUpperCasedTextHasThem)
{
    struct Case { const char16_t* text; int kind; };
    const Case cases[] = {
        {u"<", ctkPlain},          {u"a<", ctkPlain},      {u"<<b", ctkHtml},   {u"x <B> y", ctkHtml},
        {u"<\u0131>", ctkHtml},   {u"<d>", ctkPlain},     {u"< b", ctkPlain},  {u"a <c", ctkHtml},
        {u"\u00df<i", ctkHtml},   {u"=<b>", ctkFormula},  {u"|\\<b>", ctkEncoded},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        EXPECT_EQ(ClassifyCellText(text, true), c.kind) << text.toStdString();
        EXPECT_EQ(ClassifyCellText(text, false), c.kind == ctkHtml ? int(ctkPlain) : c.kind) << text.toStdString();
    }
}
