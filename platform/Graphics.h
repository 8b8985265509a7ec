#pragma once
// Colours, points and rectangles as the drawing code of the program speaks of them.
//
// A TColor is $00BBGGRR; a value with the high byte $FF is a system colour whose low byte indexes
// one fixed table (ColorToRGB). Rectangles have exclusive right and bottom edges: Width() is
// Right - Left. Convert to Qt only at the Qt call (ToQRect), never do geometry with QRect::right().
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <cstdint>

using TColor = std::int32_t;

// Fixed colours ($00BBGGRR).
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clWebSnow = 0xFAFAFF;

// "No colour" (never drawn) and "the control's default".
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours: $FF000000 or'ed with the system colour index.
constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);
constexpr TColor SysColor(int index) { return static_cast<TColor>(0xFF000000u | static_cast<unsigned>(index)); }
constexpr TColor clScrollBar = SysColor(0);
constexpr TColor clBackground = SysColor(1);
constexpr TColor clActiveCaption = SysColor(2);
constexpr TColor clInactiveCaption = SysColor(3);
constexpr TColor clMenu = SysColor(4);
constexpr TColor clWindow = SysColor(5);
constexpr TColor clWindowFrame = SysColor(6);
constexpr TColor clMenuText = SysColor(7);
constexpr TColor clWindowText = SysColor(8);
constexpr TColor clCaptionText = SysColor(9);
constexpr TColor clActiveBorder = SysColor(10);
constexpr TColor clInactiveBorder = SysColor(11);
constexpr TColor clAppWorkSpace = SysColor(12);
constexpr TColor clHighlight = SysColor(13);
constexpr TColor clHighlightText = SysColor(14);
constexpr TColor clBtnFace = SysColor(15);
constexpr TColor clBtnShadow = SysColor(16);
constexpr TColor clGrayText = SysColor(17);
constexpr TColor clBtnText = SysColor(18);
constexpr TColor clInactiveCaptionText = SysColor(19);
constexpr TColor clBtnHighlight = SysColor(20);
constexpr TColor cl3DDkShadow = SysColor(21);
constexpr TColor cl3DLight = SysColor(22);
constexpr TColor clInfoText = SysColor(23);
constexpr TColor clInfoBk = SysColor(24);
constexpr TColor clHotLight = SysColor(26);
constexpr TColor clGradientActiveCaption = SysColor(27);
constexpr TColor clGradientInactiveCaption = SysColor(28);
constexpr TColor clMenuHighlight = SysColor(29);
constexpr TColor clMenuBar = SysColor(30);

// RGB parts of a plain colour.
constexpr TColor RGB(int r, int g, int b)
{
    return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// The plain colour of a system colour, through the fixed table; any other value is returned
// unchanged (clNone and clDefault included). An index outside the table gives black.
TColor ColorToRGB(TColor color);

// The Qt colour of a TColor (system colours resolved). clNone gives a fully transparent colour so
// that it never paints anything; clDefault paints as clWindow.
QColor ToQColor(TColor color);
// The TColor of a Qt colour (alpha dropped).
TColor FromQColor(const QColor& color);

struct TPoint {
    int X = 0;
    int Y = 0;
    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}
    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;
    constexpr TSize() = default;
    constexpr TSize(int w, int h) : cx(w), cy(h) {}
    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    constexpr TRect() = default;
    constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
    constexpr TRect(TPoint topLeft, TPoint bottomRight)
        : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr TPoint TopLeft() const { return {Left, Top}; }
    constexpr TPoint BottomRight() const { return {Right, Bottom}; }
    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

// True when the rectangle has no area (Right <= Left or Bottom <= Top).
bool IsRectEmpty(const TRect& r);
// Grows the rectangle by dx on the left and right and dy at the top and bottom (negative shrinks).
bool InflateRect(TRect& r, int dx, int dy);
bool OffsetRect(TRect& r, int dx, int dy);
// dst := the common part of a and b; an empty result is (0, 0, 0, 0) and gives false.
bool IntersectRect(TRect& dst, const TRect& a, const TRect& b);
// dst := the smallest rectangle holding a and b (an empty one is ignored); false when both are empty.
bool UnionRect(TRect& dst, const TRect& a, const TRect& b);
// Left and top edges inside, right and bottom edges outside.
bool PtInRect(const TRect& r, const TPoint& p);
bool EqualRect(const TRect& a, const TRect& b);

// Qt conversions: QRect(L, T, R - L, B - T) and back.
QRect ToQRect(const TRect& r);
TRect FromQRect(const QRect& r);
inline QPoint ToQPoint(const TPoint& p) { return {p.X, p.Y}; }
inline TPoint FromQPoint(const QPoint& p) { return {p.x(), p.y()}; }
