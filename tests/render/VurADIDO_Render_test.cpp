// The renderer: layout measured against QFontMetrics, anchors and controls hit-tested, pictures
// placed, and a painted sample to look at.
#include "render/PictureContainer.h"
#include "render/VurADIDO.h"

#include "TestSupport.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"

#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include <memory>

namespace {

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FImage.fill(Qt::white);
        FCanvas = std::make_unique<TCanvas>(&FImage);
        FCanvas->Font().SetName(QStringLiteral("DejaVu Sans"));
        FCanvas->Font().SetSize(10);
        FCanvas->Font().SetColor(clBlack);
        FCanvas->Brush().SetColor(clWhite);
        TPictureItem* bar = FContainer.Items().Add();
        bar->SetName(QStringLiteral("bar"));
        bar->Picture().LoadFromFile(kt_test::FixturePath(QStringLiteral("pictures/solid_100x40.bmp")));
    }

    QFontMetrics Fm(TFontStyles style = {}, int points = 10) const
    {
        TFont f(FCanvas->Font());
        f.SetStyle(style);
        f.SetSize(points);
        return QFontMetrics(f.ToQFont(), &FImage);
    }
    int Adv(const QString& s, TFontStyles style = {}) const { return Fm(style).horizontalAdvance(s); }
    int H() const { return Fm().height(); }

    TMarkupRenderResult Run(const QString& text, TMarkupRenderParams p, TRect r = TRect(10, 10, 390, 290))
    {
        p.PictureContainer = &FContainer;
        p.PictureCache = &FCache;
        TMarkupRenderResult out;
        FHit = RenderMarkupText(*FCanvas, text, r, p, out);
        return out;
    }
    TMarkupRenderResult Measure(const QString& text, TRect r = TRect(10, 10, 390, 290), bool wrap = true)
    {
        TMarkupRenderParams p;
        p.MeasureOnly = true;
        p.WordWrap = wrap;
        return Run(text, p, r);
    }
    TMarkupRenderResult HitTest(const QString& text, int x, int y, TRect r = TRect(10, 10, 390, 290))
    {
        TMarkupRenderParams p;
        p.HitTestOnly = true;
        p.HitX = x;
        p.HitY = y;
        return Run(text, p, r);
    }
    TMarkupRenderResult Paint(const QString& text, TMarkupRenderParams p = {}, TRect r = TRect(10, 10, 390, 290))
    {
        return Run(text, p, r);
    }

    // Pixels of a colour family inside a rectangle of the image.
    int CountPixels(const TRect& r, bool (*pred)(const QColor&)) const
    {
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if (pred(FImage.pixelColor(x, y))) ++n;
        return n;
    }

    // Pixels of the image that are not white outside a rectangle of it.
    int PixelsOutside(const TRect& r) const
    {
        int n = 0;
        for (int y = 0; y < FImage.height(); ++y)
            for (int x = 0; x < FImage.width(); ++x)
                if (!PtInRect(r, TPoint(x, y)) && FImage.pixelColor(x, y) != QColor(Qt::white)) ++n;
        return n;
    }

    QImage FImage{400, 300, QImage::Format_RGB32};
    std::unique_ptr<TCanvas> FCanvas;
    TPictureContainer FContainer;
    THTMLPictureCache FCache;
    bool FHit = false;
};

bool IsRed(const QColor& c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
bool IsDark(const QColor& c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool IsBlue(const QColor& c) { return c.blue() > 180 && c.red() < 90 && c.green() < 90; }

TEST_F(RenderTest, EmptyTextHasOneLineOfHeight)
{
    for (bool measure : {true, false}) {
        TMarkupRenderParams p;
        p.MeasureOnly = measure;
        const TMarkupRenderResult r = Run(QString(), p);
        EXPECT_EQ(r.Width, 0);
        EXPECT_EQ(r.Height, H());
        EXPECT_EQ(r.AnchorCount, 0);
        EXPECT_EQ(r.MouseAnchor, -1);
        EXPECT_FALSE(FHit);
    }
}

TEST_F(RenderTest, SizesOfTagsAndEntities)
{
    const int h = H();
    const struct {
        QString text;
        int width;
        int height;
        QString plain;
    } cases[] = {
        {"abc", Adv("abc"), h, "abc"},
        {"<b>bold</B>", Adv("bold", fsBold), h, "bold"},
        {"<BIG>x", Adv("x"), h, "x"},
        {"a<BR>bb", Adv("bb"), 2 * h, "a\rbb"},
        {"a\r\nbb", Adv("bb"), 2 * h, "a\rbb"},
        {"a &lt;b&gt; c", Adv("a ") + Adv("<b> ") + Adv("c"), h, "a <b> c"},
        {"&AMP;", Adv("&"), h, "&&"},
        {"&amp;lt;", Adv("&lt;"), h, "&&lt;"},
        {"x<y", Adv("x"), h, "x"},
        {"<#1>", Adv("#1"), h, "#1"},
        {"a<IND x=\"50\">b", 50 + Adv("b"), h, "ab"},
        {"a<Z>hidden</Z>b", Adv("a") + Adv("b"), h, "ahiddenb"},
        {"a<SUB>2</SUB>", Adv("a") + Adv("2"), h + h / 4, "a2"},
        {"a<SUP>2</SUP>", Adv("a") + Adv("2"), h + h / 4, "a2"},
        {"<FONT SIZE=\"3\">x</FONT>", Fm({}, 12).horizontalAdvance("x"), Fm({}, 12).height(), "x"},
        {"<FONT SIZE=\"7\">x</FONT>", Fm({}, 7).horizontalAdvance("x"), std::max(h, Fm({}, 7).height()), "x"},
        {"<FONT SIZE=5 COLOR=\"4\">x", Fm({}, 14).horizontalAdvance("x"), Fm({}, 14).height(), "x"},
    };
    for (const auto& c : cases) {
        const TMarkupRenderResult r = Measure(c.text);
        EXPECT_EQ(r.Width, c.width) << c.text.toStdString();
        EXPECT_EQ(r.Height, c.height) << c.text.toStdString();
        EXPECT_EQ(r.PlainText, c.plain) << c.text.toStdString();
    }
}

// A font size no screen shows is drawn at the largest size markup draws with; the text is
// kept as written.
TEST_F(RenderTest, HugeFontSizeIsDrawnAtTheLargestSize)
{
    const QString text = QString::fromUtf8(kt_test::ReadFile(kt_test::FixturePath("html/big_font.html")));
    ASSERT_TRUE(text.contains("size=\"2400\""));
    const TRect huge(0, 0, 100000, 100000);
    const TMarkupRenderResult m = Measure(text, huge, false);
    EXPECT_EQ(m.Width, Fm({}, 500).horizontalAdvance("Ab"));
    EXPECT_EQ(m.Height, Fm({}, 500).height());
    EXPECT_EQ(m.PlainText, "Ab");
    const TMarkupRenderResult bound = Measure("<font size=\"500\">Ab</font>", huge, false);
    EXPECT_EQ(m.Width, bound.Width);
    TMarkupRenderParams p;
    EXPECT_EQ(Run(text, p, huge).Width, m.Width);
}

TEST_F(RenderTest, WordWrapAndItsAbsence)
{
    const int h = H();
    // The third word does not fit behind the first two: a second line.
    const int ww = Adv("aaa ") + Adv("bbb ") + Adv("ccc") - 1;
    const TRect narrow(0, 0, ww + 1, 200);
    TMarkupRenderResult r = Measure("aaa bbb ccc", narrow);
    EXPECT_EQ(r.Height, 2 * h);
    EXPECT_EQ(r.Width, std::max(Adv("aaa ") + Adv("bbb ") - Adv(" "), Adv("ccc")));

    // Without word wrap everything is one line, measured in full.
    r = Measure("aaa bbb ccc", narrow, false);
    EXPECT_EQ(r.Height, h);
    EXPECT_EQ(r.Width, Adv("aaa bbb ccc"));

    // A word wider than the rectangle stays on its line, alone or behind other text.
    const TRect tiny(0, 0, 21, 200);
    EXPECT_EQ(Measure("xxxxxxxxxxxxxxxx", tiny).Height, h);
    EXPECT_EQ(Measure("a xxxxxxxxxxxxxxxx", tiny).Height, h);
}

// Without word wrap the run that crosses the right edge is the last thing on the line: what
// follows it (text, tags, pictures, controls, line breaks) is neither laid out, measured nor
// painted, and no pixel lands outside the rectangle.
TEST_F(RenderTest, WithoutWordWrapTheCrossingRunEndsTheText)
{
    const int h = H();
    const QString b10 = "bbbbbbbbbb";
    const int wa = Adv("aaa "), wb = Adv(b10, fsBold);
    // About 100 pixels: "aaa " fits, the bold run alone fits, both together cross the edge.
    const int room = wb + wa / 2;
    const TRect box(10, 10, 10 + room + 1, 10 + 3 * h);
    ASSERT_LT(wa, room);
    ASSERT_LT(wb, room);
    ASSERT_GE(wa + wb, room);
    const QString b30 = b10 + b10 + b10;
    const int wb30 = Adv(b30, fsBold);
    ASSERT_GT(wb30, room);

    const struct {
        QString text;
        QString plain;
        int width;
        int lines;
    } cases[] = {
        {"aaa <b>" + b10 + "</b>x<i>yyy</i>", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><BR>next", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b></P>next", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><UL><LI>item</LI></UL>", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><IMG src=\"bar\" width=\"10\">yyy", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><IND x=\"300\">yyy", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><CONTROL TYPE=\"EDIT\" WIDTH=\"20\" ID=\"e\">", "aaa " + b10, wa + wb, 1},
        {"aaa <b>" + b10 + "</b><a href=\"x\">link</a>", "aaa " + b10, wa + wb, 1},
        // The crossing run continues a word split by a tag.
        {"aaa<b>" + b10 + "</b>x<BR>y", "aaa" + b10, Adv("aaa") + wb, 1},
        // The crossing run is alone wider than the rectangle.
        {"<b>" + b30 + "</b>x<BR>y", b30, wb30, 1},
        {"aaa " + b30 + "<b>x</b>", "aaa " + b30, Adv("aaa " + b30), 1},
        // A line break before the crossing run still starts a line.
        {"a<BR>aaa <b>" + b10 + "</b>x", "a\raaa " + b10, wa + wb, 2},
        // Text that fits is laid out in full.
        {"aaa <b>bb</b>x<i>yyy</i>", "aaa bbxyyy", wa + Adv("bb", fsBold) + Adv("x") + Adv("yyy", fsItalic), 1},
    };
    for (const auto& c : cases) {
        const std::string name = c.text.toStdString();
        const TMarkupRenderResult m = Measure(c.text, box, false);
        EXPECT_EQ(m.PlainText.toStdString(), c.plain.toStdString()) << name;
        EXPECT_EQ(m.Width, c.width) << name;
        EXPECT_EQ(m.Height, c.lines * h) << name;
        EXPECT_EQ(m.AnchorCount, 0) << name;

        FImage.fill(Qt::white);
        TMarkupRenderParams p;
        p.WordWrap = false;
        const TMarkupRenderResult r = Paint(c.text, p, box);
        EXPECT_EQ(r.Width, c.width) << name;
        EXPECT_EQ(r.Height, c.lines * h) << name;
        EXPECT_GT(CountPixels(box, IsDark), 0) << name;
        EXPECT_EQ(PixelsOutside(box), 0) << name;
    }
}

// Shadow and error mark of the run at the edge stay inside the rectangle, and runs that an indent
// pushes past the right edge are not painted.
TEST_F(RenderTest, WithoutWordWrapNothingIsPaintedRightOfTheRectangle)
{
    const int room = Adv("aaa ") + Adv("bbbbbbbbbb") / 2;
    const TRect box(10, 10, 10 + room + 1, 10 + 2 * H());
    const QString texts[] = {
        "aaa <SHAD>bbbbbbbbbb</SHAD>x",
        "aaa <E>bbbbbbbbbb</E>x",
        "<E>aaa bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb</E>",
        "<SHAD><E>bbbbbbbbbbbbbbbbbbbbbbbbbbbbbb</E></SHAD>",
        QStringLiteral("<P indent=\"%1\">aaa <b>bb</b>x<i>yyy</i> <E>zz</E>").arg(room - Adv("aaa ") / 2),
    };
    for (const QString& t : texts) {
        FImage.fill(Qt::white);
        TMarkupRenderParams p;
        p.WordWrap = false;
        p.ShadowColor = clBlack;
        p.ShadowOffset = 3;
        Paint(t, p, box);
        EXPECT_GT(CountPixels(box, IsDark) + CountPixels(box, IsRed), 0) << t.toStdString();
        EXPECT_EQ(PixelsOutside(box), 0) << t.toStdString();
    }
}

// A run that the line has pushed to or past the right edge has no room to show in, with or
// without word wrap.
TEST_F(RenderTest, RunsPastTheRightEdgeAreNotPainted)
{
    const TRect box(10, 10, 110, 10 + 2 * H());
    for (bool wrap : {true, false}) {
        for (const char* t : {"<IND x=\"200\">text", "a<IND x=\"200\">text", "a<IND x=\"99\">text"}) {
            FImage.fill(Qt::white);
            TMarkupRenderParams p;
            p.WordWrap = wrap;
            Paint(t, p, box);
            EXPECT_EQ(PixelsOutside(box), 0) << t << " wrap " << wrap;
        }
    }
}

TEST_F(RenderTest, PaintingCutsLinesThatDoNotFit)
{
    const int h = H();
    const QString ten = "1<BR>2<BR>3<BR>4<BR>5<BR>6<BR>7<BR>8<BR>9<BR>10";
    const TRect three(10, 10, 200, 10 + 3 * h);
    EXPECT_EQ(Paint(ten, {}, three).Height, 3 * h);
    EXPECT_EQ(Measure(ten, three).Height, 10 * h);
    EXPECT_EQ(CountPixels(TRect(10, 10 + 3 * h, 200, 10 + 4 * h), IsDark), 0);
    EXPECT_GT(CountPixels(TRect(10, 10 + 2 * h, 200, 10 + 3 * h), IsDark), 0);
}

TEST_F(RenderTest, AnchorsAreHitTested)
{
    const QString text = "x <a href=\"one\" title=\"First\">first</a> y <a href=\"two\">second</a>";
    const int left = 10 + 1, top = 10, h = H();
    const int start2 = Adv("x ") + Adv("first") + Adv(" ") + Adv("y ");

    TMarkupRenderResult r = HitTest(text, left + start2 + Adv("second") / 2, top + h / 2);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.AnchorValue, "two");
    EXPECT_EQ(r.MouseAnchor, 2);
    EXPECT_EQ(r.AnchorCount, 2);
    EXPECT_EQ(r.HoverRect, TRect(left + start2, top, left + start2 + Adv("second"), top + h));

    r = HitTest(text, left + Adv("x ") + 2, top + h / 2);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.AnchorValue, "one");
    EXPECT_EQ(r.AnchorTitle, "First");
    EXPECT_EQ(r.MouseAnchor, 1);

    r = HitTest(text, left + 1, top + h / 2);  // over "x"
    EXPECT_FALSE(FHit);
    EXPECT_EQ(r.MouseAnchor, -1);
    EXPECT_EQ(r.AnchorValue, "");

    r = HitTest(text, left + start2 + 2, top + h + 5);  // below the line
    EXPECT_FALSE(FHit);
}

TEST_F(RenderTest, ParagraphAlignmentPlacesTheLine)
{
    const TRect box(10, 10, 310, 200);
    const int w = Adv("abc"), h = H();
    const struct {
        const char* align;
        int left;
    } cases[] = {
        {"left", box.Left + 1},
        {"right", box.Right - w},  // the trailing blank does not count
        {"center", box.Left + 1 + (box.Width() - 1 - w) / 2},
    };
    for (const auto& c : cases) {
        const QString text = QStringLiteral("<P align=\"%1\"><a href=\"x\">abc</a> </P>").arg(c.align);
        const TMarkupRenderResult r = HitTest(text, c.left + w / 2, box.Top + h / 2, box);
        EXPECT_TRUE(FHit) << c.align;
        EXPECT_EQ(r.HoverRect.Left, c.left) << c.align;
    }
    // A list item is indented by 12 pixels per level.
    const TMarkupRenderResult r =
        HitTest("<UL><LI><a href=\"o\">one</a></LI><LI>two</LI></UL>", box.Left + 1 + 12 + 3, box.Top + h + h / 2, box);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.HoverRect.Left, box.Left + 1 + 12);
    EXPECT_EQ(Measure("<UL><LI>one</LI><LI>two</LI></UL>", box).Height, 4 * h);
}

TEST_F(RenderTest, HoverOnlyUnderlinesTheHoveredAnchor)
{
    TMarkupRenderParams p;
    p.HoverOnly = true;
    p.HoverAnchor = 2;
    p.AnchorColor = clBlue;
    Paint("<a href=\"a\">aaaa</a> <a href=\"b\">bbbb</a>", p);
    const int left = 11, top = 10, h = H();
    const int w1 = Adv("aaaa"), start2 = w1 + Adv(" "), w2 = Adv("bbbb");
    auto underlined = [&](int x0, int x1) {
        for (int y = top; y < top + h; ++y) {
            int blue = 0;
            for (int x = x0 + 1; x < x1 - 1; ++x) blue += IsBlue(FImage.pixelColor(x, y)) ? 1 : 0;
            if (blue >= (x1 - x0 - 2) * 9 / 10) return true;
        }
        return false;
    };
    EXPECT_FALSE(underlined(left, left + w1));
    EXPECT_TRUE(underlined(left + start2, left + start2 + w2));
    EXPECT_GT(CountPixels(TRect(left, top, left + w1, top + h), IsBlue), 0);  // still in the anchor colour
}

TEST_F(RenderTest, FontColours)
{
    Paint("<FONT COLOR=\"#ff0000\">XXXX</FONT>");
    EXPECT_GT(CountPixels(TRect(10, 10, 100, 40), IsRed), 10);
    FImage.fill(Qt::white);
    Paint("<FONT COLOR=\"Red\">XXXX</FONT>");
    EXPECT_EQ(CountPixels(TRect(10, 10, 100, 40), IsRed), 0);
    EXPECT_GT(CountPixels(TRect(10, 10, 100, 40), IsDark), 10);
    FImage.fill(Qt::white);
    Paint("<FONT COLOR=\"clred\">XXXX</FONT>");
    EXPECT_GT(CountPixels(TRect(10, 10, 100, 40), IsRed), 10);
    FImage.fill(Qt::white);
    TMarkupRenderParams hidden;
    hidden.BlinkVisible = false;
    Paint("<BLINK>XXXX</BLINK>", hidden);  // blinking text in its hidden phase takes the background colour
    EXPECT_EQ(CountPixels(TRect(10, 10, 100, 40), IsDark), 0);
    // The canvas gets its font, pen and brush back.
    EXPECT_EQ(FCanvas->Font().Color(), clBlack);
    EXPECT_EQ(FCanvas->Brush().Color(), clWhite);
}

TEST_F(RenderTest, ParagraphBandsAndAnimatedPictures)
{
    const int h = H();
    Paint("<P bgcolor=\"clyellow\">a<BR>b</P>c");
    auto yellow = [](const QColor& c) { return c == QColor(255, 255, 0); };
    EXPECT_TRUE(yellow(FImage.pixelColor(380, 10 + h / 2)));      // band of the first line
    EXPECT_TRUE(yellow(FImage.pixelColor(380, 10 + h + h / 2)));  // and of the next one
    EXPECT_FALSE(yellow(FImage.pixelColor(380, 10 + 2 * h + h / 2)));  // the closing P ended it

    // An animated picture without size: its whole area in the background colour, then the
    // current frame at its offset.
    TPictureItem* anim = FContainer.Items().Add();
    anim->SetName(QStringLiteral("anim"));
    anim->Picture().LoadFromFile(kt_test::FixturePath(QStringLiteral("pictures/anim3.gif")));
    anim->Picture().SetFrame(2);
    FImage.fill(Qt::white);
    FCanvas->Brush().SetColor(clAqua);
    const TMarkupRenderResult r = Paint("<IMG src=\"anim\">");
    EXPECT_EQ(r.Width, 8);
    const int top = 10, left = 11;
    EXPECT_EQ(FImage.pixelColor(left, top), QColor(0, 255, 255));
    EXPECT_EQ(FImage.pixelColor(left + 7, top + 5), QColor(0, 255, 255));
    EXPECT_EQ(FImage.pixelColor(left + 2, top + 1), QColor(0, 255, 0));
    EXPECT_EQ(FImage.pixelColor(left + 5, top + 3), QColor(0, 255, 0));
    EXPECT_EQ(FImage.pixelColor(left + 6, top + 3), QColor(0, 255, 255));
}

TEST_F(RenderTest, PicturesTakeTheirPlace)
{
    const int h = H();
    const struct {
        const char* text;
        int width, height;
    } cases[] = {
        {"<IMG src=\"bar\">", 100, std::max(h, 40)},
        {"<IMG src=\"BAR\" width=\"50\">", 50, std::max(h, 20)},
        {"<IMG src=\"bar\" height=\"20\">", 50, std::max(h, 20)},
        {"<IMG src=\"bar\" width=\"30\" height=\"30\">", 30, std::max(h, 30)},
        {"<IMG src=\"missing\">", 0, h},
        {"<IMG src=\"idx:0\">", 16, std::max(h, 16)},
        {"<IMG src=\"idx:1\">", 0, h},
        {"<IMG src=\"no:where\">", 0, h},
        {"<IMG src=\"ssys:/tmp\">", 16, std::max(h, 16)},
        {"<IMG src=\"LSYS:/tmp/x.txt\">", 32, std::max(h, 32)},
    };
    TCustomImageList images(16, 16);
    QImage square(16, 16, QImage::Format_RGB32);
    square.fill(Qt::green);
    images.AddImage(square);
    for (const auto& c : cases) {
        TMarkupRenderParams p;
        p.MeasureOnly = true;
        p.Images = &images;
        const TMarkupRenderResult r = Run(c.text, p);
        EXPECT_EQ(r.Width, c.width) << c.text;
        EXPECT_EQ(r.Height, c.height) << c.text;
    }

    // By address: loaded into the cache once, with the path as written.
    const QString url = "file://" + kt_test::FixturePath("pictures/dot_10x10.png");
    EXPECT_EQ(Measure("<IMG src=\"" + url + "\"><IMG src=\"" + url + "\">").Width, 20);
    EXPECT_EQ(FCache.Count(), 1);

    // A picture inside an anchor is hit.
    const TMarkupRenderResult r = HitTest("<a href=\"pic\"><IMG src=\"bar\"></a>", 11 + 50, 10 + 20);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.AnchorValue, "pic");
}

TEST_F(RenderTest, InTextControls)
{
    const int left = 11, top = 10;
    TMarkupRenderResult r = HitTest("<CONTROL TYPE=\"CHECK\" WIDTH=\"15\" ID=\"c1\" VALUE=\"TRUE\">", left + 8, top + 8);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.AnchorValue, "ctrl");
    EXPECT_EQ(r.ControlType, "CHECK");
    EXPECT_EQ(r.ControlValue, "TRUE");
    EXPECT_EQ(r.ControlID, "c1");
    EXPECT_EQ(r.ControlRect, TRect(left, top, left + 16, top + 16));

    EXPECT_EQ(Measure("<CONTROL TYPE=\"EDIT\" ID=\"e\">").Width, 0);  // no WIDTH: nothing at all
    EXPECT_EQ(Measure("<CONTROL TYPE=\"EDIT\" WIDTH=\"40\" ID=\"e\">").Width, 40);

    TMarkupRenderParams p;
    p.HitTestOnly = true;
    p.ControlID = "e2";
    r = Run("a<CONTROL TYPE=\"EDIT\" WIDTH=\"40\" ID=\"e2\" VALUE=\"x&amp;y\">", p);
    EXPECT_TRUE(FHit);
    EXPECT_EQ(r.ControlValue, "x&y");
    EXPECT_EQ(r.ControlRect.Left, left + Adv("a"));
    EXPECT_EQ(r.ControlRect.Width(), 40);
}

TEST_F(RenderTest, NestedRotationsAndBrokenTagsAreSafe)
{
    // Closing the inner R gives back the outer rotation, closing the outer one the plain font:
    // the Z run stands upright above the line, the W run lies on it.
    const TRect box(10, 150, 390, 290);
    Paint("<R a=\"90\"><R a=\"45\">y</R>ZZZZZZZZ</R>WWWWWWWW", {}, box);
    EXPECT_GT(CountPixels(TRect(10, 150 - 80, 60, 150 - 25), IsDark), 20);
    const int wStart = 11 + Adv("y") + Adv("ZZZZZZZZ");
    EXPECT_GT(CountPixels(TRect(wStart, 150, wStart + Adv("WWWWWWWW"), 150 + H()), IsDark), 20);
    EXPECT_EQ(CountPixels(TRect(wStart, 0, 390, 149), IsDark), 0);

    const char* texts[] = {"<R a=\"90\">x<R a=\"45\">y</R>z</R>w</R></R>", "<", "<b", "</b", "</", "<a href=\"x",
                           "<IMG src=\"bar\" width=\"", "<FONT size=\"0\">x", "<P indent=\"-20\">x",
                           "<IMG src=\"ssys:/tmp\"><IMG src=\"lsys:3\">", "<CONTROL TYPE=\"COMBO\" WIDTH=\"x\">",
                           "<CONTROL TYPE=\"BUTTON\" WIDTH=\"60\" HEIGHT=\"40\" VALUE=\"Go\">"};
    for (const char* t : texts) {
        EXPECT_NO_THROW(Paint(QString::fromLatin1(t))) << t;
        EXPECT_EQ(FCanvas->Font().Orientation(), 0) << t;
        EXPECT_EQ(FCanvas->Font().Size(), 10) << t;
    }
}

TEST_F(RenderTest, SampleToLookAt)
{
    QImage img(480, 250, QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas cv(&img);
    cv.Font().SetName(QStringLiteral("DejaVu Sans"));
    cv.Font().SetSize(9);
    cv.Font().SetColor(clBlack);
    cv.Brush().SetColor(clWhite);
    const QString sample =
        "<P align=\"center\"><FONT size=\"4\" color=\"clNavy\"><B>HTML sample</B></FONT></P>"
        "<P align=\"left\">Normal, <B>bold</B>, <I>italic</I>, <U>underline</U>, <S>strike</S>, "
        "<FONT color=\"#C00000\">red</FONT>, <FONT bgcolor=\"clYellow\">marked</FONT>, <FONT size=\"5\">big</FONT>, "
        "<HI>highlight</HI><BR>"
        "<IMG src=\"bar\" width=\"60\" align=\"middle\"> picture, H<SUB>2</SUB>O, x<SUP>2</SUP>, "
        "<SHAD>shadow</SHAD>, <E>misspeled</E>"
        "<UL><LI>first item</LI><LI>second item <CONTROL TYPE=\"CHECK\" WIDTH=\"16\" VALUE=\"TRUE\"></LI></UL>"
        "A link: <A href=\"http://example\">anchor text</A> &amp; more &lt;text&gt;<HR>"
        "<P align=\"right\"><FONT face=\"DejaVu Serif\" color=\"clGreen\">right aligned</FONT></P>";
    TMarkupRenderParams p;
    p.PictureContainer = &FContainer;
    p.FocusAnchor = 0;
    TMarkupRenderResult r;
    RenderMarkupText(cv, sample, TRect(4, 4, 476, 246), p, r);
    EXPECT_EQ(r.AnchorCount, 1);
    EXPECT_EQ(r.FocusAnchorValue, "http://example");
    EXPECT_TRUE(img.save(kt_test::GrabPath(QStringLiteral("html_sample.png"))));
}

} // namespace
