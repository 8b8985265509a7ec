#include "platform/Canvas.h"
#include "platform/Picture.h"

#include "TestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A white picture with a canvas on it.
struct Surface {
    QImage image;
    std::unique_ptr<TCanvas> canvas;
    explicit Surface(int w = 120, int h = 60) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        canvas = std::make_unique<TCanvas>(&image);
    }
    TColor At(int x, int y) const { return FromQColor(image.pixelColor(x, y)); }
    // Pixels differing from white inside r (device pixels).
    int Ink(const TRect& r) const
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (image.valid(x, y) && image.pixel(x, y) != qRgb(255, 255, 255))
                    ++n;
        return n;
    }
    TRect InkBox() const
    {
        TRect box(image.width(), image.height(), -1, -1);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
        return box;
    }
};

QFontMetrics Metrics(const TCanvas& c)
{
    return QFontMetrics(c.Font().ToQFont());
}

// Text drawn straight with QPainter at a device position, for pixel comparisons.
QImage Reference(const TCanvas& c, int w, int h, int x, int top, const QString& text, const QRect& clip = QRect())
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    if (clip.isValid())
        p.setClipRect(clip); // DrawText clips to its box: a fractional advance may cross the edge
    const QFont f = c.Font().ToQFont();
    p.setFont(f);
    p.setPen(ToQColor(c.Font().Color()));
    p.drawText(QPoint(x, top + QFontMetrics(f, &img).ascent()), text);
    return img;
}

} // namespace

namespace {
// A widget that paints through a canvas on its paint event's painter.
class CanvasWidget : public QWidget {
public:
    TRect seenClip;
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        TCanvas c(&painter);
        seenClip = c.ClipRect();
        c.Brush().SetColor(clHighlight);
        c.FillRect(Rect(0, 0, 10, 10));
        c.MoveTo(0, 20);
        c.LineTo(50, 20);
    }
};
} // namespace

TEST(Canvas, PaintsOnAWidgetThroughItsPainter)
{
    CanvasWidget w;
    w.resize(50, 30);
    const QImage img = w.grab().toImage();
    EXPECT_EQ(w.seenClip, Rect(0, 0, 50, 30));
    EXPECT_EQ(FromQColor(img.pixelColor(9, 9)), ColorToRGB(clHighlight));
    EXPECT_EQ(FromQColor(img.pixelColor(10, 9)), FromQColor(w.palette().color(QPalette::Window)));
    EXPECT_EQ(FromQColor(img.pixelColor(49, 20)), clBlack);
}

TEST(Canvas, FontSizeAndHeightStayInStep)
{
    struct Case {
        int size;
        int height;
    };
    const Case cases[] = {{8, -11}, {9, -12}, {10, -13}, {12, -16}, {0, 0}};
    for (const Case& c : cases) {
        TFont f;
        f.SetSize(c.size);
        EXPECT_EQ(f.Height(), c.height) << c.size;
        TFont g;
        g.SetHeight(c.height);
        EXPECT_EQ(g.Size(), c.size) << c.height;
    }
    TFont f;
    EXPECT_EQ(f.ToQFont().pixelSize(), 11);
    // A positive height is the whole cell: ascent plus descent.
    f.SetHeight(30);
    EXPECT_NEAR(QFontMetrics(f.ToQFont()).height(), 30, 1);
    int changes = 0;
    f.OnChange = [&] { ++changes; };
    TFont bold;
    bold.SetStyle(fsBold | fsUnderline);
    bold.SetColor(clRed);
    f.Assign(bold);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(f == bold);
    const QFont q = f.ToQFont();
    EXPECT_TRUE(q.bold() && q.underline() && !q.italic() && !q.strikeOut());
}

// A copy takes every attribute but not the OnChange hook; assigning keeps the target's hook and
// fires it once, assigning a tool to itself fires nothing.
TEST(Canvas, ToolsCopyAttributesButNotTheirHook)
{
    int sourceChanges = 0;
    int changes = 0;
    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    font.SetPixelsPerInch(120);
    font.SetSize(10);
    font.SetStyle(fsItalic);
    font.SetColor(clRed);
    font.SetOrientation(900);
    font.SetPitch(fpFixed);
    font.OnChange = [&] { ++sourceChanges; };
    TFont fontCopy(font);
    EXPECT_FALSE(fontCopy.OnChange);
    EXPECT_TRUE(fontCopy == font);
    EXPECT_EQ(fontCopy.PixelsPerInch(), 120);
    TFont fontTarget;
    fontTarget.OnChange = [&] { ++changes; };
    fontTarget = font;
    EXPECT_TRUE(fontTarget == font);
    EXPECT_EQ(fontTarget.PixelsPerInch(), 120);
    EXPECT_EQ(fontTarget.Size(), 10);
    fontTarget.Assign(fontTarget);
    EXPECT_EQ(changes, 1);

    TBrush brush;
    brush.SetStyle(bsCross);
    brush.SetColor(clBlue);
    brush.OnChange = [&] { ++sourceChanges; };
    TBrush brushCopy(brush);
    EXPECT_FALSE(brushCopy.OnChange);
    EXPECT_EQ(brushCopy.Color(), clBlue);
    EXPECT_EQ(brushCopy.Style(), bsCross);
    TBrush brushTarget;
    brushTarget.OnChange = [&] { ++changes; };
    brushTarget = brush;
    brushTarget.Assign(brushTarget);
    EXPECT_EQ(brushTarget.Color(), clBlue);
    EXPECT_EQ(brushTarget.Style(), bsCross);
    EXPECT_EQ(changes, 2);

    TPen pen;
    pen.SetColor(clGreen);
    pen.SetWidth(3);
    pen.SetStyle(psDot);
    pen.SetMode(pmXor);
    pen.OnChange = [&] { ++sourceChanges; };
    TPen penCopy(pen);
    EXPECT_FALSE(penCopy.OnChange);
    TPen penTarget;
    penTarget.OnChange = [&] { ++changes; };
    penTarget.Assign(pen);
    penTarget.Assign(penTarget);
    for (const TPen* p : {&penCopy, &penTarget}) {
        EXPECT_EQ(p->Color(), clGreen);
        EXPECT_EQ(p->Width(), 3);
        EXPECT_EQ(p->Style(), psDot);
        EXPECT_EQ(p->Mode(), pmXor);
    }
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(sourceChanges, 0);
}

// Ellipses and rounded rectangles fill with the brush and leave out the box's right and bottom
// edges, as rectangles do; the rounded corners stay unpainted.
TEST(Canvas, EllipseAndRoundRectStayInsideTheirBox)
{
    for (bool round : {true, false}) {
        Surface s;
        s.canvas->Pen().SetColor(clBlack);
        s.canvas->Brush().SetColor(clRed);
        if (round)
            s.canvas->RoundRect(10, 10, 50, 40, 16, 16);
        else
            s.canvas->Ellipse(10, 10, 50, 40);
        EXPECT_EQ(s.At(30, 25), clRed) << round;
        EXPECT_EQ(s.At(10, 10), clWhite) << round;
        EXPECT_EQ(s.At(49, 39), clWhite) << round;
        EXPECT_GT(s.Ink(TRect(0, 10, 120, 11)), 0) << round;
        EXPECT_GT(s.Ink(TRect(49, 0, 50, 60)), 0) << round;
        EXPECT_EQ(s.Ink(TRect(50, 0, 120, 60)), 0) << round;
        EXPECT_EQ(s.Ink(TRect(0, 40, 120, 60)), 0) << round;
        EXPECT_EQ(s.InkBox(), TRect(10, 10, 50, 40)) << round;
    }
}

// A pie is filled and closed by its radii; an arc over the same box is the bare outline.
TEST(Canvas, PieFillsItsWedgeAndArcDrawsOnlyTheCurve)
{
    for (bool pie : {true, false}) {
        Surface s;
        s.canvas->Pen().SetColor(clBlack);
        s.canvas->Brush().SetColor(clRed);
        // The upper right quarter of the circle in (10, 10, 50, 50).
        if (pie)
            s.canvas->Pie(10, 10, 50, 50, 50, 30, 30, 10);
        else
            s.canvas->Arc(10, 10, 50, 50, 50, 30, 30, 10);
        EXPECT_EQ(s.At(38, 22), pie ? clRed : clWhite) << pie;
        EXPECT_EQ(s.Ink(TRect(32, 29, 46, 31)) > 0, pie) << pie; // the radius along the x axis
        EXPECT_EQ(s.At(22, 38), clWhite) << pie;                 // the opposite quarter
        EXPECT_GT(s.Ink(TRect(30, 10, 51, 31)), 20) << pie;
        EXPECT_EQ(s.Ink(TRect(0, 31, 120, 60)), 0) << pie;
        EXPECT_EQ(s.Ink(TRect(0, 0, 29, 60)), 0) << pie;
    }
}

TEST(Canvas, LineToLeavesOutItsEndPoint)
{
    struct Case {
        TPoint from, to;
    };
    const Case cases[] = {{{5, 5}, {25, 5}}, {{30, 40}, {30, 10}}, {{10, 10}, {40, 30}}, {{50, 50}, {20, 20}}, {{60, 5}, {61, 5}}};
    for (const Case& c : cases) {
        Surface s;
        s.canvas->Pen().SetColor(clBlack);
        s.canvas->MoveTo(c.from.X, c.from.Y);
        s.canvas->LineTo(c.to.X, c.to.Y);
        EXPECT_EQ(s.At(c.from.X, c.from.Y), clBlack);
        EXPECT_EQ(s.At(c.to.X, c.to.Y), clWhite) << c.to.X << "," << c.to.Y;
        const int steps = std::max(std::abs(c.to.X - c.from.X), std::abs(c.to.Y - c.from.Y));
        EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), steps);
        EXPECT_EQ(s.canvas->PenPos(), c.to);
    }
}

TEST(Canvas, DottedPenLeavesGaps)
{
    Surface s;
    s.canvas->Pen().SetStyle(psDot);
    s.canvas->MoveTo(0, 3);
    s.canvas->LineTo(60, 3);
    const int ink = s.Ink(Rect(0, 3, 60, 4));
    EXPECT_GT(ink, 20);
    EXPECT_LT(ink, 40);
    s.canvas->Pen().SetStyle(psClear);
    s.canvas->LineTo(60, 50);
    EXPECT_EQ(s.Ink(Rect(60, 0, 61, 60)), 0);
}

TEST(Canvas, RectangleFillAndFrameFollowTheExclusiveEdges)
{
    {
        Surface s;
        s.canvas->Brush().SetColor(clRed);
        s.canvas->Rectangle(10, 10, 20, 16);
        EXPECT_EQ(s.At(10, 10), clBlack);
        EXPECT_EQ(s.At(19, 15), clBlack);
        EXPECT_EQ(s.At(20, 15), clWhite);
        EXPECT_EQ(s.At(19, 16), clWhite);
        EXPECT_EQ(s.At(15, 13), clRed);
        EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 10 * 6);
    }
    {
        // Without a pen the filled area is one pixel smaller.
        Surface s;
        s.canvas->Brush().SetColor(clRed);
        s.canvas->Pen().SetStyle(psClear);
        s.canvas->Rectangle(10, 10, 20, 16);
        EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 9 * 5);
    }
    {
        // A clear brush leaves the inside alone.
        Surface s;
        s.canvas->Brush().SetStyle(bsClear);
        s.canvas->Rectangle(10, 10, 20, 16);
        EXPECT_EQ(s.At(15, 13), clWhite);
        EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 2 * 10 + 2 * 4);
    }
    {
        Surface s;
        s.canvas->Brush().SetColor(clBlue);
        s.canvas->FillRect(Rect(5, 5, 8, 9));
        EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 3 * 4);
        s.canvas->Brush().SetColor(clLime);
        s.canvas->FrameRect(Rect(20, 20, 25, 25));
        EXPECT_EQ(s.Ink(Rect(20, 20, 26, 26)), 16);
        EXPECT_EQ(s.At(22, 22), clWhite);
        EXPECT_EQ(s.At(24, 24), clLime);
    }
}

TEST(Canvas, FocusRectangleTwiceRestoresThePicture)
{
    Surface s;
    s.canvas->Brush().SetColor(clYellow);
    s.canvas->FillRect(Rect(0, 0, 60, 60));
    const QImage before = s.image.copy();
    s.canvas->DrawFocusRect(Rect(5, 5, 40, 30));
    EXPECT_NE(s.image, before);
    s.canvas->DrawFocusRect(Rect(5, 5, 40, 30));
    EXPECT_EQ(s.image, before);
}

TEST(Canvas, DrawTextPlacesLinesLikeTheFontMetrics)
{
    const QString text = QStringLiteral("Cell text");
    const TRect box(10, 5, 110, 45);
    struct Case {
        unsigned flags;
        char h; // l, c, r
        char v; // t, c, b
    };
    const Case cases[] = {
        {DT_LEFT | DT_SINGLELINE, 'l', 't'},
        {DT_CENTER | DT_SINGLELINE | DT_VCENTER, 'c', 'c'},
        {DT_RIGHT | DT_SINGLELINE | DT_BOTTOM, 'r', 'b'},
        // Vertical placement applies to single lines only.
        {DT_RIGHT | DT_VCENTER, 'r', 't'},
    };
    for (const Case& c : cases) {
        Surface s;
        s.canvas->Brush().SetStyle(bsClear);
        const QFontMetrics fm = Metrics(*s.canvas);
        const int w = fm.horizontalAdvance(text), h = fm.height();
        const int x = c.h == 'l' ? box.Left : c.h == 'c' ? (box.Left + box.Right - w) / 2 : box.Right - w;
        const int y = c.v == 't' ? box.Top : c.v == 'c' ? (box.Top + box.Bottom - h) / 2 : box.Bottom - h;
        TRect r = box;
        const int got = DrawText(*s.canvas, text, r, c.flags);
        EXPECT_EQ(s.image, Reference(*s.canvas, 120, 60, x, y, text, QRect(10, 5, 100, 40))) << std::hex << c.flags;
        EXPECT_EQ(got, (c.v == 't' ? 0 : y - box.Top) + h);
        EXPECT_EQ(r, box); // only DT_CALCRECT changes the rectangle
    }
}

// Text in a large font is drawn as it is in a small one, without learning its glyphs' ink on
// pictures that grow with the square of the size.
TEST(Canvas, LargeFontTextCostsNoLargeInkPicture)
{
    for (const int points : {10, 300}) {
        SCOPED_TRACE(points);
        const QString text = QStringLiteral("Ab");
        Surface clipped(1000, 600), free(1000, 600);
        for (Surface* s : {&clipped, &free}) {
            s->canvas->Font().SetName(QStringLiteral("DejaVu Sans"));
            s->canvas->Font().SetSize(points);
            s->canvas->Brush().SetStyle(bsClear);
        }
        platform::LargestInkPicture(true);
        TRect r(5, 5, 995, 595);
        DrawText(*clipped.canvas, text, r, DT_LEFT | DT_SINGLELINE);
        EXPECT_LE(platform::LargestInkPicture(), 5 * 160 * 4 * 160);
        r = TRect(5, 5, 995, 595);
        DrawText(*free.canvas, text, r, DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
        EXPECT_EQ(clipped.image, free.image);
        EXPECT_GT(clipped.Ink(TRect(0, 0, 1000, 600)), 0);
    }
}

TEST(Canvas, DrawTextCalcRect)
{
    TCanvas c; // measuring needs no surface
    const QFontMetrics fm = Metrics(c);
    const int lh = fm.height();
    auto W = [&](const char* s) { return fm.horizontalAdvance(QString::fromUtf8(s)); };
    const int tab = 8 * fm.averageCharWidth();
    const int narrow = W("aaa bbb") + 1;
    struct Case {
        const char* text;
        int width;
        unsigned flags;
        int expectW;
        int expectH;
    };
    const Case cases[] = {
        {"Hello", 500, DT_SINGLELINE, W("Hello"), lh},
        {"aaa bbb ccc", narrow, DT_WORDBREAK, std::max(W("aaa bbb"), W("ccc")), 2 * lh},
        {"one\r\ntwo\nthree", 500, 0, W("three"), 3 * lh},
        {"one\r\ntwo", 500, DT_SINGLELINE, W("onetwo"), lh},
        // A word longer than the line stays whole, unless the text behaves as an edit control.
        {"abcdefghijkl", W("abcd"), DT_WORDBREAK, W("abcdefghijkl"), lh},
        {"&File", 500, DT_SINGLELINE, W("File"), lh},
        {"&File", 500, DT_SINGLELINE | DT_NOPREFIX, W("&File"), lh},
        {"a&&b", 500, DT_SINGLELINE, W("a&b"), lh},
        {"a\tb", 500, DT_SINGLELINE | DT_EXPANDTABS, tab + W("b"), lh},
        {"", 500, DT_SINGLELINE, 0, 0},
    };
    for (const Case& k : cases) {
        TRect r(7, 3, 7 + k.width, 5);
        const int h = DrawText(c, QString::fromUtf8(k.text), r, k.flags | DT_CALCRECT);
        EXPECT_EQ(r.Left, 7);
        EXPECT_EQ(r.Top, 3);
        EXPECT_EQ(r.Width(), k.expectW) << k.text;
        EXPECT_EQ(r.Height(), k.expectH) << k.text;
        EXPECT_EQ(h, k.expectH) << k.text;
    }
    // Edit-control breaking splits the long word into lines that each fit.
    TRect r(0, 0, W("abcd"), 0);
    const int h = DrawText(c, QStringLiteral("abcdefghijkl"), r, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    EXPECT_GE(h, 3 * lh);
    EXPECT_LE(r.Width(), W("abcd"));
}

TEST(Canvas, EllipsesShortenToTheWidth)
{
    TCanvas c;
    const QFontMetrics fm = Metrics(c);
    const QString text = QStringLiteral("A rather long cell text");
    const int width = fm.horizontalAdvance(QStringLiteral("A rather l"));
    const QString end = platform::EndEllipsis(text, fm, width);
    EXPECT_TRUE(end.endsWith(QStringLiteral("...")));
    EXPECT_LE(fm.horizontalAdvance(end), width);
    // The longest prefix that fits: one more character would not.
    const QString prefix = end.chopped(3);
    EXPECT_GT(fm.horizontalAdvance(text.left(prefix.size() + 1) + QStringLiteral("...")), width);
    EXPECT_EQ(platform::EndEllipsis(QStringLiteral("short"), fm, 500), QStringLiteral("short"));

    const QString path = QStringLiteral("C:\\Projects\\Gateway\\Configurations\\ParGen.xml");
    const QString shortPath = platform::PathEllipsis(path, fm, fm.horizontalAdvance(QStringLiteral("C:\\Pro...\\ParGen.xml")));
    EXPECT_TRUE(shortPath.endsWith(QStringLiteral("...\\ParGen.xml"))) << shortPath.toStdString();
    EXPECT_TRUE(shortPath.startsWith(QStringLiteral("C:"))) << shortPath.toStdString();

    // Drawn with DT_END_ELLIPSIS the picture is that of the shortened text.
    Surface s;
    s.canvas->Brush().SetStyle(bsClear);
    TRect r(0, 0, width, 30);
    DrawText(*s.canvas, text, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    EXPECT_EQ(s.image, Reference(*s.canvas, 120, 60, 0, 0, end));
}

TEST(Canvas, PrefixUnderlinesAndStrips)
{
    int u = -2;
    EXPECT_EQ(platform::StripPrefix(QStringLiteral("&Open"), &u), QStringLiteral("Open"));
    EXPECT_EQ(u, 0);
    EXPECT_EQ(platform::StripPrefix(QStringLiteral("Save &as"), &u), QStringLiteral("Save as"));
    EXPECT_EQ(u, 5);
    EXPECT_EQ(platform::StripPrefix(QStringLiteral("R&&D"), &u), QStringLiteral("R&D"));
    EXPECT_EQ(u, -1);
    EXPECT_EQ(platform::StripPrefix(QStringLiteral("end&"), &u), QStringLiteral("end"));

    // The marked character gets a line under it; DT_HIDEPREFIX drops the line.
    Surface a, b;
    for (Surface* s : {&a, &b})
        s->canvas->Brush().SetStyle(bsClear);
    TRect r(0, 0, 100, 30);
    DrawText(*a.canvas, QStringLiteral("&Open"), r, DT_SINGLELINE);
    DrawText(*b.canvas, QStringLiteral("&Open"), r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_EQ(b.image, Reference(*b.canvas, 120, 60, 0, 0, QStringLiteral("Open")));
    EXPECT_GT(a.Ink(Rect(0, 0, 120, 60)), b.Ink(Rect(0, 0, 120, 60)));
}

TEST(Canvas, TextBackgroundFollowsTheBrush)
{
    Surface s;
    s.canvas->Brush().SetColor(clYellow);
    TRect r(0, 0, 100, 30);
    DrawText(*s.canvas, QStringLiteral("x"), r, DT_SINGLELINE);
    EXPECT_EQ(s.At(0, 0), clYellow); // opaque: the text cell is filled
    Surface t;
    t.canvas->Brush().SetColor(clYellow);
    t.canvas->SetBkMode(TRANSPARENT);
    DrawText(*t.canvas, QStringLiteral("x"), r, DT_SINGLELINE);
    EXPECT_EQ(t.At(0, 0), clWhite);
    // A brush change sets the mode again from the brush style.
    t.canvas->Brush().SetStyle(bsSolid);
    EXPECT_EQ(t.canvas->BkMode(), OPAQUE);
    t.canvas->Brush().SetStyle(bsClear);
    EXPECT_EQ(t.canvas->BkMode(), TRANSPARENT);
}

TEST(Canvas, ClippingAndSavedStates)
{
    Surface s;
    s.canvas->Brush().SetColor(clRed);
    const int saved = s.canvas->SaveDC();
    s.canvas->SetClipRect(Rect(10, 10, 20, 20));
    EXPECT_EQ(s.canvas->ClipRect(), Rect(10, 10, 20, 20));
    s.canvas->ExcludeClipRect(Rect(10, 10, 20, 15));
    s.canvas->Brush().SetColor(clBlue);
    s.canvas->FillRect(Rect(0, 0, 120, 60));
    EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 10 * 5);
    EXPECT_EQ(s.At(15, 17), clBlue);
    EXPECT_TRUE(s.canvas->RestoreDC(saved));
    EXPECT_FALSE(s.canvas->HasClip());
    EXPECT_EQ(s.canvas->Brush().Color(), clRed);
    EXPECT_EQ(s.canvas->ClipRect(), Rect(0, 0, 120, 60));

    // Text is clipped to its rectangle unless DT_NOCLIP.
    Surface t;
    t.canvas->Brush().SetStyle(bsClear);
    TRect r(0, 0, 8, 30);
    DrawText(*t.canvas, QStringLiteral("WWWW"), r, DT_SINGLELINE);
    EXPECT_EQ(t.Ink(Rect(8, 0, 120, 60)), 0);
    EXPECT_GT(t.Ink(Rect(0, 0, 8, 60)), 0);
    DrawText(*t.canvas, QStringLiteral("WWWW"), r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(t.Ink(Rect(8, 0, 120, 60)), 0);

    // A region clip (device pixels) and its removal.
    Surface u;
    const QRegion ellipse = CreateEllipticRgn(0, 0, 40, 40);
    u.canvas->SelectClipRgn(&ellipse);
    u.canvas->Brush().SetColor(clBlack);
    u.canvas->FillRect(Rect(0, 0, 120, 60));
    EXPECT_EQ(u.At(0, 0), clWhite);
    EXPECT_EQ(u.At(20, 20), clBlack);
    u.canvas->SelectClipRgn(nullptr);
    u.canvas->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(u.At(0, 0), clBlack);

    // After clipping was switched off, each way of setting a clip takes effect again.
    for (int way = 0; way < 3; ++way) {
        Surface v;
        v.canvas->SelectClipRgn(&ellipse);
        v.canvas->SelectClipRgn(nullptr);
        if (way == 0)
            v.canvas->SetClipRect(Rect(10, 10, 20, 20));
        else if (way == 1)
            v.canvas->IntersectClipRect(Rect(10, 10, 20, 20));
        else
            v.canvas->ExcludeClipRect(Rect(0, 0, 120, 10));
        v.canvas->Brush().SetColor(clBlack);
        v.canvas->FillRect(Rect(0, 0, 120, 60));
        EXPECT_EQ(v.At(5, 5), clWhite) << "way " << way;
    }
}

// Nested saved states bring back the clip each of them saw, whichever clip changes came between.
TEST(Canvas, NestedSavedStatesKeepTheirClips)
{
    Surface s;
    s.canvas->SetClipRect(Rect(0, 0, 100, 50));
    const int outer = s.canvas->SaveDC();
    const int middle = s.canvas->SaveDC();
    s.canvas->IntersectClipRect(Rect(10, 10, 60, 40));
    const int inner = s.canvas->SaveDC();
    s.canvas->SetClipRect(Rect(20, 20, 30, 30));
    EXPECT_EQ(s.canvas->ClipRect(), Rect(20, 20, 30, 30));
    EXPECT_TRUE(s.canvas->RestoreDC(inner));
    EXPECT_EQ(s.canvas->ClipRect(), Rect(10, 10, 60, 40));
    EXPECT_TRUE(s.canvas->RestoreDC(middle));
    EXPECT_EQ(s.canvas->ClipRect(), Rect(0, 0, 100, 50));
    // A state restored without a clip change in between leaves the clip as it is.
    const int quiet = s.canvas->SaveDC();
    EXPECT_TRUE(s.canvas->RestoreDC(quiet));
    EXPECT_EQ(s.canvas->ClipRect(), Rect(0, 0, 100, 50));
    s.canvas->SelectClipRgn(nullptr);
    EXPECT_TRUE(s.canvas->RestoreDC(outer));
    EXPECT_TRUE(s.canvas->HasClip());
    EXPECT_EQ(s.canvas->ClipRect(), Rect(0, 0, 100, 50));
}

// Measuring and drawing with one formatting gives what a DT_CALCRECT call and a drawing call give,
// pixel for pixel, also when the same text is drawn again.
TEST(Canvas, MeasuredDrawingMatchesMeasureThenDraw)
{
    const QString texts[] = {QStringLiteral("plain"), QStringLiteral("two words that wrap in the box"),
                             QStringLiteral("Averyverylongwordwithoutblanks"), QStringLiteral("one\ntwo\r\nthree"),
                             QStringLiteral("tab\tin text"), QStringLiteral("  blanks  around  "), QString()};
    const unsigned flagSets[] = {DT_SINGLELINE, DT_SINGLELINE | DT_VCENTER | DT_RIGHT,
                                 DT_SINGLELINE | DT_END_ELLIPSIS | DT_CENTER, DT_WORDBREAK | DT_EDITCONTROL,
                                 DT_WORDBREAK | DT_EDITCONTROL | DT_VCENTER | DT_CENTER,
                                 DT_WORDBREAK | DT_EDITCONTROL | DT_BOTTOM | DT_RIGHT | DT_END_ELLIPSIS};
    for (const QString& text : texts)
        for (unsigned flags : flagSets) {
            flags |= DT_NOPREFIX | DT_EXPANDTABS;
            const TRect box(4, 3, 96, 57);
            Surface a, b;
            a.canvas->Brush().SetStyle(bsClear);
            b.canvas->Brush().SetStyle(bsClear);
            TRect m1 = box;
            DrawTextEx(*a.canvas, text, m1, flags | DT_CALCRECT);
            TRect at = box;
            if (!(flags & DT_SINGLELINE) && (flags & (DT_VCENTER | DT_BOTTOM)) && m1.Height() < box.Height())
                at.Top += (flags & DT_VCENTER) ? (box.Height() - m1.Height()) / 2 : box.Height() - m1.Height();
            DrawTextEx(*a.canvas, text, at, flags);
            for (int round = 0; round < 3; ++round) {
                b.image.fill(Qt::white);
                TRect m2 = box;
                DrawTextMeasured(*b.canvas, text, box, flags, m2, true);
                EXPECT_EQ(m2, m1) << text.toStdString() << " flags " << flags;
                EXPECT_TRUE(a.image == b.image) << text.toStdString() << " flags " << flags << " round " << round;
            }
        }
}

TEST(Canvas, MetricModeForPrinting)
{
    Surface s(120, 60);
    // 254 dots per inch: one tenth of a millimetre is one pixel, y pointing up.
    s.canvas->SetResolutionOverride(254, 254);
    s.canvas->SetMapMode(mmLoMetric);
    EXPECT_EQ(s.canvas->ClipRect(), Rect(0, 0, 120, -60));
    s.canvas->Brush().SetColor(clBlack);
    s.canvas->FillRect(Rect(10, -10, 20, -30));
    EXPECT_EQ(s.Ink(Rect(0, 0, 120, 60)), 10 * 20);
    EXPECT_EQ(s.At(10, 10), clBlack);
    EXPECT_EQ(s.At(19, 29), clBlack);

    // At 508 dots per inch a unit is two pixels; text measures in units.
    Surface t(120, 60);
    t.canvas->SetResolutionOverride(508, 508);
    t.canvas->SetMapMode(mmLoMetric);
    t.canvas->Font().SetHeight(-20);
    const QFontMetrics fm(t.canvas->Font().ToQFont(2.0));
    EXPECT_EQ(t.canvas->TextHeight(QStringLiteral("gh")), int(std::lround(fm.height() / 2.0)));
    TRect r(0, 0, 500, 0);
    const int h = DrawText(*t.canvas, QStringLiteral("gh"), r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Bottom, -h); // lines go down the page: towards negative y
    // Text is upright (not mirrored): the ink lies below the top edge.
    t.canvas->Brush().SetStyle(bsClear);
    t.canvas->TextOut(0, 0, QStringLiteral("T"));
    const TRect ink = t.InkBox();
    EXPECT_GE(ink.Top, 0);
    EXPECT_LE(ink.Bottom, fm.height());
    // The crossbar of the T is at the top of its ink.
    int topRow = 0, lowRow = 0;
    for (int x = 0; x < 120; ++x) {
        topRow += t.image.pixel(x, ink.Top) != qRgb(255, 255, 255);
        lowRow += t.image.pixel(x, ink.Bottom - 1) != qRgb(255, 255, 255);
    }
    EXPECT_GT(topRow, lowRow);
}

TEST(Canvas, PrintsToPdfInTenthsOfAMillimetre)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        TCanvas c(&pdf);
        c.SetMapMode(mmLoMetric);
        const TRect page = c.ClipRect();
        EXPECT_EQ(page.Left, 0);
        EXPECT_EQ(page.Top, 0);
        EXPECT_NEAR(page.Right, 2100, 2);
        EXPECT_NEAR(page.Bottom, -2970, 2);
        c.Font().SetHeight(-42); // about 12 points
        TRect r(100, -100, 1000, -300);
        // Centring happens in printer pixels; back in tenths of a millimetre it may round either way.
        EXPECT_NEAR(DrawText(c, QStringLiteral("Printed"), r, DT_SINGLELINE | DT_VCENTER),
                    (200 + c.TextHeight(QStringLiteral("Printed"))) / 2, 1);
        c.Rectangle(100, -100, 1000, -300);
        c.DrawFocusRect(Rect(100, -400, 500, -500));
    }
    EXPECT_GT(QFile(path).size(), 0);
}

TEST(Canvas, RotatedFontRunsUpwardFromThePoint)
{
    Surface s(80, 120);
    s.canvas->Brush().SetStyle(bsClear);
    s.canvas->Font().SetSize(12);
    s.canvas->Font().SetOrientation(900);
    s.canvas->TextOut(20, 100, QStringLiteral("Rotated"));
    const TRect ink = s.InkBox();
    EXPECT_GT(ink.Height(), 2 * ink.Width());
    EXPECT_LE(ink.Bottom, 101);
    EXPECT_GE(ink.Left, 20);
}

TEST(Canvas, TransparentBitmapLeavesItsKeyColourOut)
{
    TBitmap bmp(4, 4);
    bmp.Canvas().Brush().SetColor(clFuchsia);
    bmp.Canvas().FillRect(Rect(0, 0, 4, 4));
    bmp.Canvas().SetPixels(1, 1, clBlack);
    EXPECT_EQ(bmp.TransparentColor(), clFuchsia); // automatic: the bottom-left pixel
    Surface s;
    s.canvas->Brush().SetColor(clRed);
    s.canvas->FillRect(Rect(0, 0, 20, 20));
    bmp.SetTransparent(true);
    s.canvas->Draw(2, 2, bmp);
    EXPECT_EQ(s.At(3, 3), clBlack);
    EXPECT_EQ(s.At(2, 2), clRed);
    bmp.SetTransparent(false);
    s.canvas->StretchDraw(Rect(10, 10, 18, 18), bmp);
    EXPECT_EQ(s.At(10, 10), clFuchsia);
    EXPECT_EQ(s.At(12, 12), clBlack); // pixel (1, 1) doubled
    EXPECT_EQ(s.At(13, 13), clBlack);
    s.canvas->Draw(0, 0, static_cast<const TGraphic*>(nullptr)); // nothing, no crash

    // BrushCopy puts the brush colour where the key colour was; CopyRect copies pixels as they are.
    Surface t;
    t.canvas->Brush().SetColor(clLime);
    t.canvas->BrushCopy(Rect(0, 0, 4, 4), bmp, Rect(0, 0, 4, 4), clFuchsia);
    EXPECT_EQ(t.At(0, 0), clLime);
    EXPECT_EQ(t.At(1, 1), clBlack);
    t.canvas->CopyRect(Rect(10, 0, 12, 2), bmp.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(t.At(10, 0), clFuchsia);
    EXPECT_EQ(t.At(11, 1), clBlack);
    EXPECT_EQ(t.At(12, 1), clWhite);
}

TEST(Canvas, EdgesUseTheThreeDimensionalColours)
{
    struct Case {
        unsigned edge;
        TColor outerTL, innerTL, innerBR, outerBR;
    };
    const Case cases[] = {
        {EDGE_RAISED, cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow},
        {EDGE_SUNKEN, clBtnShadow, cl3DDkShadow, cl3DLight, clBtnHighlight},
        {EDGE_ETCHED, clBtnShadow, clBtnHighlight, clBtnShadow, clBtnHighlight},
    };
    for (const Case& c : cases) {
        Surface s;
        TRect r(0, 0, 10, 10);
        EXPECT_TRUE(DrawEdge(*s.canvas, r, c.edge, BF_RECT | BF_ADJUST));
        EXPECT_EQ(r, Rect(2, 2, 8, 8));
        EXPECT_EQ(s.At(0, 5), ColorToRGB(c.outerTL));
        EXPECT_EQ(s.At(1, 5), ColorToRGB(c.innerTL));
        EXPECT_EQ(s.At(8, 5), ColorToRGB(c.innerBR));
        EXPECT_EQ(s.At(9, 5), ColorToRGB(c.outerBR));
        EXPECT_EQ(s.At(5, 9), ColorToRGB(c.outerBR));
        EXPECT_EQ(s.At(9, 0), ColorToRGB(c.outerBR)); // the bottom-right colour owns the far corners
    }
    // Only the sides asked for, and a flat border in the shadow colour.
    Surface s;
    TRect r(0, 0, 10, 10);
    DrawEdge(*s.canvas, r, BDR_SUNKENOUTER, BF_TOP | BF_FLAT | BF_ADJUST);
    EXPECT_EQ(r, Rect(0, 1, 10, 10));
    EXPECT_EQ(s.Ink(Rect(0, 0, 10, 10)), 10);
    EXPECT_EQ(s.At(4, 0), ColorToRGB(clBtnShadow));
}

TEST(Canvas, FrameControlsShowTheirState)
{
    const TRect box(0, 0, 13, 13);
    auto draw = [&](unsigned type, unsigned state) {
        Surface s(13, 13);
        EXPECT_TRUE(DrawFrameControl(*s.canvas, box, type, state));
        return s.image;
    };
    const QImage unchecked = draw(DFC_BUTTON, DFCS_BUTTONCHECK);
    const QImage checked = draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_NE(unchecked, checked);
    EXPECT_EQ(FromQColor(unchecked.pixelColor(6, 6)), ColorToRGB(clWindow));
    EXPECT_EQ(FromQColor(checked.pixelColor(0, 0)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(FromQColor(draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE).pixelColor(6, 6)), ColorToRGB(clBtnFace));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONRADIO), draw(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONPUSH), draw(DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    EXPECT_NE(draw(DFC_SCROLL, DFCS_SCROLLUP), draw(DFC_SCROLL, DFCS_SCROLLDOWN));
    Surface s(13, 13);
    EXPECT_FALSE(DrawFrameControl(*s.canvas, box, DFC_CAPTION, 0));
}

TEST(Canvas, GrabOfTheDrawingServices)
{
    Surface s(360, 120);
    TCanvas& c = *s.canvas;
    c.Brush().SetColor(clBtnFace);
    c.FillRect(Rect(0, 0, 360, 120));

    c.Pen().SetColor(clBlack);
    c.Brush().SetColor(clWindow);
    c.Rectangle(8, 8, 128, 48);
    TRect tr(10, 10, 126, 46);
    c.Brush().SetStyle(bsClear);
    DrawText(c, QStringLiteral("Text wrapped in a rectangle"), tr, DT_WORDBREAK | DT_CENTER);

    DrawFrameControl(c, Bounds(140, 10, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK);
    DrawFrameControl(c, Bounds(160, 10, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    DrawFrameControl(c, Bounds(180, 10, 13, 13), DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
    DrawFrameControl(c, Bounds(200, 10, 13, 13), DFC_BUTTON, DFCS_BUTTONRADIO);
    DrawFrameControl(c, Bounds(220, 10, 13, 13), DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    DrawFrameControl(c, Bounds(240, 10, 16, 16), DFC_SCROLL, DFCS_SCROLLUP);
    DrawFrameControl(c, Bounds(260, 10, 16, 16), DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    DrawFrameControl(c, Bounds(280, 10, 16, 16), DFC_SCROLL, DFCS_SCROLLRIGHT | DFCS_INACTIVE);

    const TRect push = Bounds(140, 40, 80, 24);
    DrawFrameControl(c, push, DFC_BUTTON, DFCS_BUTTONPUSH);
    TRect pt = push;
    DrawText(c, QStringLiteral("&Push"), pt, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    DrawFrameControl(c, Bounds(230, 40, 80, 24), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);

    TRect raised = Bounds(8, 60, 60, 40);
    DrawEdge(c, raised, EDGE_RAISED, BF_RECT);
    TRect sunken = Bounds(80, 60, 60, 40);
    DrawEdge(c, sunken, EDGE_SUNKEN, BF_RECT | BF_MIDDLE);
    TRect etched = Bounds(150, 74, 60, 26);
    DrawEdge(c, etched, EDGE_ETCHED, BF_RECT);
    c.DrawFocusRect(Bounds(220, 74, 60, 20));
    c.Font().SetOrientation(900);
    c.TextOut(300, 110, QStringLiteral("Rotated"));

    EXPECT_TRUE(s.image.save(kt_test::GrabPath(QStringLiteral("canvas.png"))));
}
