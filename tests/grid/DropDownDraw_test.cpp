// Drawing and colour routines of the drop-down unit, the drop-down button's faces and the colour
// sets of the component styles.
#include "dropdown/AdvDropDown.h"

#include "platform/PlatformInfo.h"
#include "render/ATXPVS.h"

#include "TestSupport.h"

#include <QPainter>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

namespace {

const TColor Back = RGB(10, 200, 30);

// A bitmap filled with Back to draw on.
TBitmap Surface(int w, int h)
{
    TBitmap b(w, h);
    b.Canvas().Brush().SetColor(Back);
    b.Canvas().FillRect(TRect(0, 0, w, h));
    return b;
}

TColor At(const TBitmap& b, int x, int y)
{
    return FromQColor(b.Image().pixelColor(x, y));
}

TEST(DropDownDraw, GradientBands)
{
    // Horizontal over 41 pixels in 4 bands: R.Right - 1 = 40, band width 10, each band 11 wide
    // (overlapping the next by one), the last one step short of the end colour.
    TBitmap b = Surface(60, 20);
    DrawDropDownGradient(b.Canvas(), RGB(0, 0, 0), RGB(200, 100, 40), 4, TRect(0, 0, 41, 10), true);
    struct Sample {
        int x;
        TColor c;
    };
    const Sample h[] = {{0, RGB(0, 0, 0)},     {9, RGB(0, 0, 0)},        {10, RGB(50, 25, 10)},
                        {29, RGB(100, 50, 20)}, {30, RGB(150, 75, 30)}, {40, RGB(150, 75, 30)},
                        {41, Back}};
    for (const Sample& s : h)
        EXPECT_EQ(At(b, s.x, 5), s.c) << s.x;
    EXPECT_EQ(At(b, 5, 9), RGB(0, 0, 0));
    EXPECT_EQ(At(b, 5, 10), Back);

    // Vertical: R.Bottom - 1, bands top to bottom; 3 steps over 10 pixels with rounding of the
    // band start (halves to even) and of the channel steps.
    TBitmap v = Surface(10, 20);
    DrawDropDownGradient(v.Canvas(), RGB(0, 0, 0), RGB(90, 0, 3), 3, TRect(0, 0, 10, 11), false);
    EXPECT_EQ(At(v, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(At(v, 0, 3), RGB(30, 0, 1));  // band 1 starts at round(3.33) = 3
    EXPECT_EQ(At(v, 0, 7), RGB(60, 0, 2));  // band 2 at round(6.67) = 7
    EXPECT_EQ(At(v, 0, 10), RGB(60, 0, 2)); // 7 + 3 + 1 reaches the rectangle's bottom
    EXPECT_EQ(At(v, 0, 11), Back);

    // Steps 0 counts as one band of the start colour over the whole rectangle.
    TBitmap one = Surface(30, 10);
    DrawDropDownGradient(one.Canvas(), clBtnFace, clBlack, 0, TRect(2, 2, 22, 8), true);
    EXPECT_EQ(At(one, 2, 2), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(one, 21, 7), ColorToRGB(clBtnFace));
    EXPECT_EQ(At(one, 22, 5), Back);
    EXPECT_EQ(At(one, 5, 8), Back);
}

TEST(DropDownDraw, BlendColorAndColorOffset)
{
    struct Blend {
        TColor a, b;
        int percent;
        TColor result;
    };
    const Blend blends[] = {
        {clRed, clBlue, 100, clRed},
        {clBtnFace, clBlue, 120, clBtnFace},           // not converted
        {clRed, clBtnFace, 0, clBtnFace},
        {clRed, clBlue, -5, clBlue},
        {RGB(255, 1, 3), RGB(0, 0, 0), 50, RGB(128, 0, 2)}, // 127.5 -> 128, 0.5 -> 0, 1.5 -> 2
        {clBtnFace, clWhite, 50, RGB(248, 248, 248)},    // system colour resolved: $F0 and $FF
        {RGB(100, 0, 0), RGB(0, 0, 0), 25, RGB(25, 0, 0)},
    };
    for (const Blend& c : blends)
        EXPECT_EQ(BlendColor(c.a, c.b, c.percent), c.result) << std::hex << c.a << " " << c.b << " " << c.percent;

    struct Offset {
        TColor color;
        int d;
        TColor result;
    };
    const Offset offsets[] = {
        {RGB(200, 200, 200), -10, RGB(180, 180, 180)},
        {RGB(200, 200, 200), 20, RGB(200, 200, 200)},
        {RGB(0, 200, 0), 20, RGB(20, 200, 20)},
        {RGB(0, 200, 0), -5, RGB(0, 190, 0)},
        {RGB(200, 100, 0), -150, RGB(0, 0, 0)},   // stops at black
        {RGB(0, 0, 0), 300, RGB(255, 255, 255)},  // stops at white
    };
    for (const Offset& c : offsets)
        EXPECT_EQ(ColorOffset(c.color, c.d, c.d, c.d), c.result) << std::hex << c.color << std::dec << " " << c.d;
    EXPECT_EQ(ColorOffset(RGB(100, 100, 100), -50, 0, 10), RGB(50, 100, 100));
}

TEST(DropDownDraw, RectContentAndGlyph)
{
    DrawDropDownRect(nullptr, TRect(0, 0, 5, 5), clRed, clBlue, clBlack, 1, gdVertical); // nothing, no crash

    TBitmap b = Surface(40, 40);
    DrawDropDownRect(&b.Canvas(), TRect(0, 0, 20, 20), clRed, clNone, clBlack, 1, gdHorizontal);
    EXPECT_EQ(At(b, 10, 10), clRed);
    EXPECT_EQ(At(b, 0, 10), clBlack);
    EXPECT_EQ(At(b, 19, 19), clBlack);
    EXPECT_EQ(At(b, 20, 20), Back);
    DrawDropDownRect(&b.Canvas(), TRect(20, 20, 40, 40), clNone, clNone, clNone, 1, gdHorizontal);
    EXPECT_EQ(At(b, 30, 30), Back);
    DrawDropDownRect(&b.Canvas(), TRect(20, 0, 40, 20), clBlack, clWhite, clNone, 3, gdVertical);
    // Vertical, 80 bands over 19 rows: later bands overwrite the rows they share with earlier ones.
    EXPECT_LT(GetRValue(At(b, 30, 0)), 16);
    EXPECT_GT(GetRValue(At(b, 30, 19)), 230);
    EXPECT_EQ(At(b, 30, 19), At(b, 21, 19));

    // The glyph's top-left colour shows the background; only the part of r the glyph covers.
    TBitmap glyph(4, 4);
    glyph.Canvas().Brush().SetColor(clFuchsia);
    glyph.Canvas().FillRect(TRect(0, 0, 4, 4));
    glyph.Canvas().Brush().SetColor(clNavy);
    glyph.Canvas().FillRect(TRect(1, 1, 3, 3));
    TBitmap g = Surface(20, 20);
    DrawTransparentGlyph(g.Canvas(), glyph, clYellow, TRect(2, 2, 15, 15));
    EXPECT_EQ(At(g, 2, 2), clYellow);
    EXPECT_EQ(At(g, 3, 3), clNavy);
    EXPECT_EQ(At(g, 5, 5), clYellow);
    EXPECT_EQ(At(g, 6, 6), Back);  // beyond the glyph nothing is copied
    DrawTransparentGlyph(g.Canvas(), glyph, clYellow, TRect(10, 10, 12, 12)); // cut to r
    EXPECT_EQ(At(g, 11, 11), clNavy);
    EXPECT_EQ(At(g, 12, 12), Back);
    DrawTransparentGlyph(g.Canvas(), TBitmap(), clYellow, TRect(0, 0, 20, 20)); // empty: nothing
    EXPECT_EQ(At(g, 0, 0), Back);

    // Content: a caption alone is centred; after an image it starts right of it.
    TCustomImageList images(8, 8);
    TBitmap red(8, 8);
    red.Canvas().Brush().SetColor(clRed);
    red.Canvas().FillRect(TRect(0, 0, 8, 8));
    images.Add(red);
    TBitmap c = Surface(120, 20);
    c.Canvas().Font().SetColor(clBlack);
    DrawDropDownContent(&c.Canvas(), TRect(0, 0, 120, 20), QStringLiteral("Wi"), &images, 0);
    EXPECT_EQ(At(c, 4, 6), clRed);
    auto firstInk = [](const TBitmap& bmp) {
        for (int x = 0; x < bmp.Width(); ++x)
            for (int y = 0; y < bmp.Height(); ++y)
                if (const TColor ink = At(bmp, x, y);
                    (ink & 0xFF) < 0x80 && ((ink >> 8) & 0xFF) < 0x80 && ((ink >> 16) & 0xFF) < 0x80)
                    return x; // a dark pixel: smoothed glyph edges are grey, not black
        return -1;
    };
    const int withImage = firstInk(c);
    EXPECT_GE(withImage, 16); // the caption starts 8 pixels right of the 8-pixel image
    EXPECT_LT(withImage, 24);
    TBitmap d = Surface(120, 20);
    d.Canvas().Font().SetColor(clBlack);
    DrawDropDownContent(&d.Canvas(), TRect(0, 0, 120, 20), QStringLiteral("Wi"), &images, -1);
    EXPECT_GT(firstInk(d), 45);
    DrawDropDownContent(nullptr, TRect(0, 0, 5, 5), QStringLiteral("x"), &images, 0);
}

TEST(DropDownDraw, TextMeasureAndFit)
{
    TBitmap b(10, 10);
    TCanvas& cv = b.Canvas();
    EXPECT_EQ(MeasureTextSize(cv, QString()), TSize(0, 0));
    const TSize s = MeasureTextSize(cv, QStringLiteral("Hello"));
    EXPECT_EQ(s.cx, cv.TextWidth(QStringLiteral("Hello")));
    EXPECT_EQ(s.cy, cv.TextHeight(QStringLiteral("Hello")));

    const QString text = QStringLiteral("A rather long caption");
    const int full = cv.TextWidth(text);
    EXPECT_EQ(FitText(cv, text, full, true), text); // fits: unchanged even with the ellipsis
    const QString cut = FitText(cv, text, full / 2, true);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_LT(cv.TextWidth(cut), full / 2);
    EXPECT_TRUE(text.startsWith(cut.chopped(3)));
    // The longest shortening that fits is taken.
    EXPECT_GE(cv.TextWidth(text.left(cut.size() - 3 + 1) + QStringLiteral("...")), full / 2);
    const QString plain = FitText(cv, text, full / 2, false);
    EXPECT_FALSE(plain.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(text.startsWith(plain));
    EXPECT_EQ(FitText(cv, text, 0, true), text); // nothing fits

    EXPECT_EQ(DrawMarkupCaption(cv, QString(), TRect(0, 0, 100, 20), nullptr, false, nullptr), TSize(0, 0));
    const TSize bold = DrawMarkupCaption(cv, QStringLiteral("<b>Hello</b> you"), TRect(0, 0, 10, 20), nullptr,
                                         false, nullptr);
    EXPECT_GT(bold.cx, 10); // one line, never wrapped into the narrow rectangle
    EXPECT_EQ(bold.cy, DrawMarkupCaption(cv, QStringLiteral("x"), TRect(0, 0, 10, 20), nullptr, false, nullptr).cy);
}

TEST(DropDownStyles, ColourSets)
{
    TDropDownStyleColors c;
    c.DropDownColor = clRed;
    EXPECT_FALSE(GetDropDownStyleColors(tsCustom, c));
    EXPECT_EQ(c.DropDownColor, clRed); // the custom style changes nothing

    struct Case {
        TOrlexStyle style;
        TColor dropDown, dropDownTo;
        std::optional<TColor> border;
        TColor header, footerTo, font, headerBorder, footerBorder;
        TColor buttonColor, buttonHot, buttonDownTo;
    };
    const Case cases[] = {
        {tsOffice2003Blue, 0xFFFFFF, clNone, std::nullopt, 0xFCE1CB, 0xE0A57D, 0, 0, 0x962D00, 0xFCE1CB, 0xEBFDFF,
         0x6EBBFF},
        {tsOffice2007Luna, 0xF3E5DA, 0xF0DED0, clNone, 0xFFEFE3, 0xFFD2AF, 0x723708, 0xFFD2AF, 0xFFD2AF, 0xFFEFE3,
         0xEBFDFF, 0x6EBBFF},
        {tsWindowsXP, 0xFFFFFF, clNone, std::nullopt, 0xFFFFFF, clBtnFace, 0, 0x808080, 0x808080, 0xFFFFFF, 0xEFD3C6,
         clActiveCaption},
        {tsWindowsVista, 0xFFFFFF, 0xFFFFFF, 0x979797, 0xFFFDF9, 0xFFFDF9, 0, 0xFCF2DA, 0xFCF2DA, 0xFFFDF9, 0xFEF9F0,
         0xFDF0D7},
        {tsTerminal, 0xFFFFFF, 0xFFFFFF, 0x808080, clBtnFace, clBtnFace, 0, clNone, clNone, clBtnFace, 0xC0C0C0,
         clHighlight},
        {tsOffice2010Black, 0xFFFFFF, 0xF1EFED, 0xEDEDEC, 0xBFBFBF, 0x919191, 0xD7D7D6, 0x6D6D6D, 0x6D6D6D, 0xBFBFBF,
         0x8AE3FD, clNone},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(int(k.style));
        TDropDownStyleColors s;
        ASSERT_TRUE(GetDropDownStyleColors(k.style, s));
        EXPECT_EQ(s.DropDownColor, k.dropDown);
        EXPECT_EQ(s.DropDownColorTo, k.dropDownTo);
        EXPECT_EQ(s.DropDownBorderColor, k.border);
        EXPECT_EQ(s.HeaderColor, k.header);
        EXPECT_EQ(s.FooterColorTo, k.footerTo);
        EXPECT_EQ(s.FontColor, k.font);
        EXPECT_EQ(s.HeaderBorderColor, k.headerBorder);
        EXPECT_EQ(s.FooterBorderColor, k.footerBorder);
        EXPECT_EQ(s.Buttons.Color, k.buttonColor);
        EXPECT_EQ(s.Buttons.ColorHot, k.buttonHot);
        EXPECT_EQ(s.Buttons.ColorDownTo, k.buttonDownTo);
    }
    // Windows Vista runs the header and footer gradients in opposite directions.
    TDropDownStyleColors v;
    GetDropDownStyleColors(tsWindowsVista, v);
    EXPECT_EQ(v.HeaderColorTo, v.FooterColor);
    // Every style but the custom one gives a set.
    for (int i = 0; i < 16; ++i) {
        TDropDownStyleColors s;
        EXPECT_EQ(GetDropDownStyleColors(TOrlexStyle(i), s), i != tsCustom) << i;
    }

    struct Sel {
        TSelectionColorStyle style;
        bool set;
        TColor from, to;
    };
    const Sel sels[] = {{scOffice2007, true, 0xD7FFFD, 0x58D4FC},
                        {scWindowsVista, true, 0xFDF8F1, 0xFCEFD5},
                        {scWindows7, true, 0xFCEBDC, 0xFCDBC1},
                        {scCustom, false, clRed, clBlue}};
    for (const Sel& s : sels) {
        TColor a = clRed, b = clBlue;
        EXPECT_EQ(GetSelectionColors(s.style, a, b), s.set);
        EXPECT_EQ(a, s.from);
        EXPECT_EQ(b, s.to);
    }
}

TEST(DropDownStyles, SelectionBackground)
{
    TBitmap b = Surface(40, 20);
    DrawSelectionBackground(b.Canvas(), TRect(0, 0, 40, 20), clWhite, 0, scCustom, clRed, clBlue);
    EXPECT_EQ(At(b, 0, 0), clRed);
    EXPECT_EQ(At(b, 39, 19), clRed);

    TBitmap t = Surface(40, 20);
    DrawSelectionBackground(t.Canvas(), TRect(0, 0, 40, 20), clWhite, 0, scWindows7, 0xFCEBDC, 0xFCDBC1);
    EXPECT_EQ(At(t, 0, 0), clWhite);          // the outermost corner pixel: the background
    EXPECT_EQ(At(t, 1, 0), TColor(0xE0C5AE)); // next to it the style's corner colour
    EXPECT_EQ(At(t, 5, 0), TColor(0xCEA27D)); // the outer frame
    EXPECT_EQ(At(t, 5, 1), TColor(0xFDF4EB)); // the inner upper line
}

// ---- the drop-down button ---------------------------------------------------------------------

// A stand-in visual-style library that records the parts it is asked to draw and fills them.
struct ThemeCall {
    QString cls;
    int part, state;
    TRect r;
};
std::vector<ThemeCall> gCalls;
QString gOpenClass;
HTHEME FakeOpen(QWidget*, const char16_t* cls)
{
    gOpenClass = QString::fromUtf16(cls);
    return reinterpret_cast<HTHEME>(1);
}
HRESULT FakeClose(HTHEME) { return S_OK; }
HRESULT FakeDraw(HTHEME, TCanvas* canvas, int part, int state, const TRect* r, const TRect*)
{
    gCalls.push_back({gOpenClass, part, state, *r});
    canvas->Brush().SetColor(clTeal);
    canvas->FillRect(*r);
    return S_OK;
}
bool FakeActive() { return true; }
void FakeEntry() {}

class ThemeScope {
public:
    ThemeScope()
    {
        gCalls.clear();
        SetVisualStyleResolverForTest([](const char* name) -> void* {
            if (std::strcmp(name, "OpenThemeData") == 0)
                return reinterpret_cast<void*>(&FakeOpen);
            if (std::strcmp(name, "CloseThemeData") == 0)
                return reinterpret_cast<void*>(&FakeClose);
            if (std::strcmp(name, "DrawThemeBackground") == 0)
                return reinterpret_cast<void*>(&FakeDraw);
            if (std::strcmp(name, "IsThemeActive") == 0)
                return reinterpret_cast<void*>(&FakeActive);
            return reinterpret_cast<void*>(&FakeEntry);
        });
        platform::PlatformInfo().VisualStylesAvailable = true;
        ATXPVS::Reload();
    }
    ~ThemeScope()
    {
        SetVisualStyleResolverForTest({});
        platform::PlatformInfo().Reset();
        ATXPVS::Reload();
    }
};

TBitmap PaintButton(const TDropDownButtonFace& face, int w = 17, int h = 21)
{
    TBitmap b = Surface(w, h);
    PaintDropDownButton(b.Canvas(), w, h, face);
    return b;
}

TEST(DropDownButton, ClassicArrow)
{
    ASSERT_FALSE(DropDownButtonThemed()); // our platform has no visual styles
    for (bool down : {false, true}) {
        TDropDownButtonFace f;
        f.Down = down;
        const TBitmap b = PaintButton(f);
        EXPECT_EQ(At(b, 8, 9), clBlack) << down; // the arrow (5, 7), (11, 7), (8, 10)
        EXPECT_EQ(At(b, 5, 7), clBlack) << down;
        EXPECT_EQ(At(b, 3, 0), ColorToRGB(clBtnFace)) << down; // the light lines at the top left
        EXPECT_EQ(At(b, 3, 1), clWhite) << down;
        EXPECT_EQ(At(b, 1, 5), clWhite) << down;
        EXPECT_EQ(At(b, 8, 15), ColorToRGB(clBtnFace)) << down;
    }
    // A face with a glyph: grey frame and the glyph at (0, 0).
    TBitmap glyph(8, 8);
    glyph.Canvas().Brush().SetColor(clFuchsia);
    glyph.Canvas().FillRect(TRect(0, 0, 8, 8));
    glyph.Canvas().Brush().SetColor(clNavy);
    glyph.Canvas().FillRect(TRect(2, 2, 6, 6));
    TDropDownButtonFace g;
    g.Glyph = &glyph;
    const TBitmap gb = PaintButton(g);
    EXPECT_EQ(At(gb, 16, 20), clGray);
    EXPECT_EQ(At(gb, 3, 3), clNavy);
    EXPECT_EQ(At(gb, 1, 1), ColorToRGB(clBtnFace)); // the glyph's transparent colour
}

TEST(DropDownButton, CustomColoursFromTones)
{
    TColorTones tones;
    tones.Background = {RGB(240, 240, 240), RGB(90, 90, 90), clBlack};
    tones.Hover = {RGB(200, 220, 250), clNone, clNone};
    tones.Selected = {RGB(80, 120, 200), clNone, clWhite};
    TDropDownButtonFace f;
    ApplyColorTonesToButton(tones, f.Colors);
    EXPECT_EQ(f.Colors.ButtonBorderColor, RGB(90, 90, 90));
    f.EditBorderColor = RGB(90, 90, 90);
    struct Case {
        bool hot, down, up;
        TColor fill;
    };
    const Case cases[] = {
        {false, false, false, RGB(240, 240, 240)},
        {true, false, false, RGB(200, 220, 250)},
        {true, true, false, RGB(80, 120, 200)},  // pressed wins
        {false, true, true, RGB(240, 240, 240)}, // forced up: not drawn pressed
    };
    for (const Case& c : cases) {
        f.Hot = c.hot;
        f.Down = c.down;
        f.Up = c.up;
        const TBitmap b = PaintButton(f);
        EXPECT_EQ(At(b, 14, 3), c.fill) << c.hot << c.down << c.up;
        EXPECT_EQ(At(b, 0, 12), RGB(90, 90, 90)); // the edit's border colour along the left edge
        EXPECT_EQ(At(b, 8, 9), clBlack);          // unset text colours: a black arrow
    }
    f.Colors.ButtonTextColor = clRed;
    f.Colors.ButtonTextColorDown = clWhite;
    f.Hot = false;
    f.Down = false;
    f.Up = false;
    EXPECT_EQ(At(PaintButton(f), 8, 9), clRed);
    f.Down = true;
    EXPECT_EQ(At(PaintButton(f), 8, 9), clWhite);
}

TEST(DropDownButton, ThemedStates)
{
    ThemeScope theme;
    ASSERT_TRUE(DropDownButtonThemed());
    struct Case {
        bool editEnabled, readOnly, down, hot;
        int state;
    };
    const Case cases[] = {
        {true, false, false, false, 1}, {true, false, false, true, 2}, {true, false, true, true, 3},
        {false, false, true, true, 4},  {true, true, false, false, 4},
    };
    for (const Case& c : cases) {
        gCalls.clear();
        TDropDownButtonFace f;
        f.EditEnabled = c.editEnabled;
        f.EditReadOnly = c.readOnly;
        f.Down = c.down;
        f.Hot = c.hot;
        const TBitmap b = PaintButton(f);
        ASSERT_EQ(gCalls.size(), 1u);
        EXPECT_EQ(gCalls[0].cls, QStringLiteral("combobox"));
        EXPECT_EQ(gCalls[0].part, 1);
        EXPECT_EQ(gCalls[0].state, c.state);
        EXPECT_EQ(gCalls[0].r, TRect(1, 0, 17, 21)); // one pixel in at the left on newer systems
        EXPECT_EQ(At(b, 0, 5), Back);
    }
    // Older systems: grown by one on every side, then two in at the left.
    platform::PlatformInfo().MajorVersion = 5;
    gCalls.clear();
    PaintButton(TDropDownButtonFace());
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].r, TRect(1, -1, 18, 22));

    // Without common controls 6 the classic face is drawn.
    platform::PlatformInfo().ComCtl32VersionMS = 0x00050052u;
    gCalls.clear();
    EXPECT_EQ(At(PaintButton(TDropDownButtonFace()), 8, 9), clBlack);
    EXPECT_TRUE(gCalls.empty());
    platform::PlatformInfo().ComCtl32VersionMS = 0x0006000Au;

    // The push-button look: the "button" part over the bounds grown by one.
    TDropDownButtonFace p;
    p.ButtonStyle = bsButton;
    p.Caption = QStringLiteral("...");
    gCalls.clear();
    PaintButton(p, 30, 20);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_EQ(gCalls[0].cls, QStringLiteral("button"));
    EXPECT_EQ(gCalls[0].r, TRect(0, 0, 31, 21));
}

TEST(DropDownButton, SheetForTheEye)
{
    // Rows: classic arrow, arrow with tones, themed arrow, push button, flat and etched push
    // buttons; columns: normal, hot, pressed, disabled.
    const int w = 17, h = 21, zoom = 4, gap = 8;
    QImage sheet(4 * (w * zoom + gap) + gap, 6 * (h * zoom + gap) + gap, QImage::Format_RGB32);
    sheet.fill(QColor(255, 255, 255));
    QPainter p(&sheet);
    TColorTones tones;
    tones.Background = {RGB(245, 245, 245), RGB(150, 150, 150), clBlack};
    tones.Hover = {RGB(210, 230, 252), clNone, clNone};
    tones.Selected = {RGB(40, 110, 210), clNone, clWhite};
    TBitmap glyph;
    glyph.LoadFromResourceName(QStringLiteral("AsgSpinDown"));
    for (int row = 0; row < 6; ++row) {
        std::unique_ptr<ThemeScope> theme;
        if (row == 2)
            theme = std::make_unique<ThemeScope>();
        for (int col = 0; col < 4; ++col) {
            TDropDownButtonFace f;
            f.Hot = col == 1;
            f.Down = col == 2;
            f.EditEnabled = col != 3;
            f.Enabled = col != 3;
            if (row == 1) {
                ApplyColorTonesToButton(tones, f.Colors);
                f.EditBorderColor = tones.Background.BorderColor;
            }
            if (row >= 3) {
                f.ButtonStyle = bsButton;
                f.Glyph = &glyph;
                f.Flat = row >= 4;
                f.Etched = row == 5;
            }
            TBitmap b(w, h);
            b.Canvas().Brush().SetColor(clWhite);
            b.Canvas().FillRect(TRect(0, 0, w, h));
            PaintDropDownButton(b.Canvas(), w, h, f);
            p.drawImage(QRect(gap + col * (w * zoom + gap), gap + row * (h * zoom + gap), w * zoom, h * zoom),
                        b.Image());
        }
    }
    p.end();
    EXPECT_TRUE(sheet.save(kt_test::GrabPath(QStringLiteral("dropdown_buttons.png"))));
}

} // namespace
