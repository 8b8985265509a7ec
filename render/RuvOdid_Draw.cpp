// Drawing helpers: gradients, tab frames, shapes, progress and value bars, transparent bitmaps,
// themed parts, colour arithmetic and layered windows.
#include "render/RuvOdid.h"

#include "render/AdvXPVS.h"
#include "render/LbButton.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>
#include <cmath>

using platform::Round;

namespace {

int Clamp255(double v)
{
    return int(std::clamp<double>(v, 0, 255));
}

void SetPenBrush(TCanvas& c, TColor color)
{
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(color);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color);
}

void Pixel(TCanvas& c, int x, int y, TColor color)
{
    if (color != clNone)
        c.SetPixels(x, y, color);
}

void HLine(TCanvas& c, TColor color, int x1, int x2, int y)
{
    if (color == clNone)
        return;
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(color);
    c.MoveTo(x1, y);
    c.LineTo(x2, y);
}

void VLine(TCanvas& c, TColor color, int x, int y1, int y2)
{
    if (color == clNone)
        return;
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(color);
    c.MoveTo(x, y1);
    c.LineTo(x, y2);
}

} // namespace

// ---- gradients and fills ----

void DrawGradientRect(TCanvas& canvas, TColor from, TColor to, bool horizontal, TRect r, int steps)
{
    if (r.Top == r.Bottom)
        return;
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    from = ColorToRGB(from);
    to = ColorToRGB(to);
    if (from == clNone || to == clNone) {
        const TColor c = from == clNone ? to : from;
        if (c == clNone)
            return;
        SetPenBrush(canvas, c);
        canvas.FillRect(r);
        return;
    }
    const int length = horizontal ? r.Width() - 1 : r.Height() - 1;
    steps = std::max(1, std::min(steps, length));
    const double stripe = double(length) / steps;
    const int dr = GetRValue(to) - GetRValue(from);
    const int dg = GetGValue(to) - GetGValue(from);
    const int db = GetBValue(to) - GetBValue(from);
    for (int i = 0; i <= steps; ++i) {
        const TColor c = RGB(GetRValue(from) + int(Round(i * (double(dr) / steps))),
                             GetGValue(from) + int(Round(i * (double(dg) / steps))),
                             GetBValue(from) + int(Round(i * (double(db) / steps))));
        SetPenBrush(canvas, c);
        const int offset = int(std::trunc(i * stripe));
        const int extent = int(std::trunc(stripe + 1));
        if (horizontal)
            canvas.FillRect(TRect(r.Left + offset, r.Top, std::min(r.Right, r.Left + offset + extent), r.Bottom));
        else
            canvas.FillRect(TRect(r.Left, r.Top + offset, r.Right, std::min(r.Bottom, r.Top + offset + extent)));
    }
}

void DrawGradientFrame(TCanvas& canvas, TRect r, TColor color, TColor colorTo, TColor mirrorFrom, TColor mirrorTo,
                       bool fill, TColor borderColor, bool sidesOnly, bool vertical)
{
    if (fill && color != clNone) {
        if (mirrorFrom == clNone && colorTo == clNone) {
            SetPenBrush(canvas, color);
            canvas.FillRect(TRect(r.Left, r.Top, r.Right, r.Bottom + 1));
        } else if (mirrorFrom == clNone) {
            DrawGradientRect(canvas, color, colorTo, !vertical, r, 128);
        } else if (vertical) {
            const int mid = r.Top + r.Height() / 2;
            DrawGradientRect(canvas, color, colorTo, false, TRect(r.Left, r.Top, r.Right, mid), 128);
            DrawGradientRect(canvas, mirrorFrom, mirrorTo, false, TRect(r.Left, mid, r.Right, r.Bottom), 128);
        } else {
            const int mid = r.Left + r.Width() / 2;
            DrawGradientRect(canvas, color, colorTo, true, TRect(r.Left, r.Top, mid, r.Bottom), 128);
            DrawGradientRect(canvas, mirrorFrom, mirrorTo, true, TRect(mid, r.Top, r.Right, r.Bottom), 128);
        }
    }
    if (borderColor != clNone) {
        if (sidesOnly) {
            VLine(canvas, borderColor, r.Left, r.Top, r.Bottom);
            VLine(canvas, borderColor, r.Right - 1, r.Top, r.Bottom);
        } else {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(borderColor);
            canvas.FrameRect(r);
        }
    }
}

void FillRectColor(TCanvas& canvas, const TRect& r, TColor color)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(r);
}

void DrawTabShape(TCanvas& canvas, TColor fillFrom, TColor fillTo, TColor mirrorFrom, TColor mirrorTo,
                  TColor upperInner, TColor lowerInner, TColor outerLine, TColor corner, TColor outerCorner,
                  TRect r, int sides)
{
    r.Bottom -= 2;
    r.Right -= 1;
    const bool leftRound = sides == 0 || sides == 1;
    const bool rightRound = sides == 0 || sides == 2;
    const int li = (sides == 2 || sides == 3) ? 0 : 2;
    const int ri = (sides == 1 || sides == 3) ? 0 : 2;
    const int mid = (r.Top + r.Bottom) / 2;

    // 5 first, so that the lines and corners lie on top of the fill.
    const TRect inside(r.Left + li, r.Top + 2, r.Right - ri, r.Bottom - 1);
    if (fillTo == clNone) {
        if (fillFrom != clNone)
            FillRectColor(canvas, inside, fillFrom);
    } else if (mirrorFrom == clNone) {
        DrawGradientRect(canvas, fillFrom, fillTo, false, inside, 16);
    } else {
        const int half = inside.Top + inside.Height() / 2;
        DrawGradientRect(canvas, fillFrom, fillTo, false, TRect(inside.Left, inside.Top, inside.Right, half), 16);
        DrawGradientRect(canvas, mirrorFrom, mirrorTo, false, TRect(inside.Left, half, inside.Right, inside.Bottom),
                         16);
    }
    // 1. Upper inner lines.
    HLine(canvas, upperInner, r.Left, r.Right, r.Top + 1);
    if (leftRound)
        VLine(canvas, upperInner, r.Left + 1, r.Top + 1, mid);
    if (rightRound)
        VLine(canvas, upperInner, r.Right - 2, r.Top + 1, mid);
    // 2. Lower inner lines.
    HLine(canvas, lowerInner, r.Left, r.Right, r.Bottom - 1);
    if (leftRound)
        VLine(canvas, lowerInner, r.Left + 1, mid, r.Bottom - 1);
    if (rightRound)
        VLine(canvas, lowerInner, r.Right - 2, mid, r.Bottom - 1);
    // 3. Outer lines.
    HLine(canvas, outerLine, r.Left + li, r.Right - ri, r.Top);
    HLine(canvas, outerLine, r.Left + li, r.Right - ri, r.Bottom);
    if (leftRound)
        VLine(canvas, outerLine, r.Left, r.Top + 2, r.Bottom - 1);
    if (rightRound)
        VLine(canvas, outerLine, r.Right - 1, r.Top + 2, r.Bottom - 1);
    // 4. Corner pixels.
    auto corners = [&](int inner, int outer) {
        Pixel(canvas, inner, r.Top, corner);
        Pixel(canvas, inner, r.Top + 1, corner);
        Pixel(canvas, outer, r.Top + 1, corner);
        Pixel(canvas, inner, r.Bottom, corner);
        Pixel(canvas, inner, r.Bottom - 1, corner);
        Pixel(canvas, outer, r.Bottom - 1, corner);
        Pixel(canvas, outer, r.Top, outerCorner);
        Pixel(canvas, outer, r.Bottom, outerCorner);
    };
    if (leftRound)
        corners(r.Left + 1, r.Left);
    if (rightRound)
        corners(r.Right - 2, r.Right - 1);
}

// ---- shapes and symbols ----

void DrawCellShape(TCanvas& canvas, int left, int top, TColor penColor, TColor brushColor, int shape, int height,
                   int width)
{
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(penColor);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(brushColor);
    if (shape == csCircle || shape == csSquare || shape == csRoundSquare)
        width = height = std::min(width, height);
    const int x = left, y = top, w = width, h = height;
    const int cx = x + w / 2, cy = y + h / 2;
    auto starPoint = [&](int degrees, bool outer) {
        const double a = degrees * M_PI / 180.0;
        const double rx = outer ? w / 2.0 : w / 6.0;
        const double ry = outer ? h / 2.0 : h / 6.0;
        return TPoint(cx + int(Round(std::cos(a) * rx)), cy - int(Round(std::sin(a) * ry)));
    };
    switch (shape) {
    case csRectangle:
    case csSquare:
        canvas.Rectangle(x + 1, y + 1, x + w - 1, y + h - 1);
        break;
    case csCircle:
    case csEllips:
        canvas.Ellipse(x, y, x + w, y + h);
        break;
    case csTriangleLeft:
        canvas.Polygon({{x + w, y}, {x + w, y + h}, {x, y + h / 2}});
        break;
    case csTriangleRight:
        canvas.Polygon({{x, y}, {x, y + h}, {x + w, y + h / 2}});
        break;
    case csTriangleUp:
        canvas.Polygon({{x, y + h}, {x + w, y + h}, {x + w / 2, y}});
        break;
    case csTriangleDown:
        canvas.Polygon({{x, y}, {x + w, y}, {x + w / 2, y + h}});
        break;
    case csDiamond:
        canvas.Polygon({{x, y + h / 2}, {x + w / 2, y}, {x + 2 * (w / 2), y + h / 2}, {x + w / 2, y + 2 * (h / 2)}});
        break;
    case csLineVert:
        canvas.MoveTo(x + w / 2, y);
        canvas.LineTo(x + w / 2, y + h);
        break;
    case csLineHorz:
        canvas.MoveTo(x, y + h / 2);
        canvas.LineTo(x + w, y + h / 2);
        break;
    case csRoundRect:
    case csRoundSquare:
        canvas.RoundRect(x, y, x + w, y + h, 10, 10);
        break;
    case csStar: {
        std::vector<TPoint> pts;
        for (int i = 0; i < 10; ++i)
            pts.push_back(starPoint(i * 36, i % 2 == 0));
        canvas.Polygon(pts);
        break;
    }
    case csHalfStar:
        canvas.Polygon({starPoint(0, true), starPoint(324, false), starPoint(288, true), starPoint(252, false),
                        starPoint(216, true), TPoint(cx, cy)});
        break;
    case csArrowUp:
    case csArrowDown: {
        const int q = (w / 4) & ~1;
        if (shape == csArrowUp)
            canvas.Polygon({{x + w / 2, y}, {x + w, y + h / 2}, {x + w - q, y + h / 2}, {x + w - q, y + h},
                            {x + q, y + h}, {x + q, y + h / 2}, {x, y + h / 2}});
        else
            canvas.Polygon({{x + w / 2, y + h}, {x + w, y + h / 2}, {x + w - q, y + h / 2}, {x + w - q, y},
                            {x + q, y}, {x + q, y + h / 2}, {x, y + h / 2}});
        break;
    }
    case csArrowLeft:
    case csArrowRight: {
        const int q = (h / 4) & ~1;
        if (shape == csArrowLeft)
            canvas.Polygon({{x, y + h / 2}, {x + w / 2, y}, {x + w / 2, y + q}, {x + w, y + q}, {x + w, y + h - q},
                            {x + w / 2, y + h - q}, {x + w / 2, y + h}});
        else
            canvas.Polygon({{x + w, y + h / 2}, {x + w / 2, y}, {x + w / 2, y + q}, {x, y + q}, {x, y + h - q},
                            {x + w / 2, y + h - q}, {x + w / 2, y + h}});
        break;
    }
    default:
        break;
    }
}

void DrawSmallArrow(TCanvas& canvas, int x, int y, TColor color)
{
    SetPenBrush(canvas, color);
    canvas.Polygon({{x - 3, y}, {x + 3, y}, {x, y + 3}});
}

void DrawPieValue(TCanvas& canvas, const TRect& r, TColor fillColor, bool /*flipped*/, double value)
{
    const double v = std::clamp(value, 0.0, 100.0);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(0x808080);
    canvas.Brush().SetStyle(bsClear);
    canvas.Ellipse(r);
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    // The share runs clockwise from the top; the pie is drawn from the ray of its end
    // counter-clockwise back to the top.
    const double a = (90.0 - v * 3.6) * M_PI / 180.0;
    const int ex = cx + int(Round((r.Width() + 1) / 2.0 * std::cos(a)));
    const int ey = cy - int(Round((r.Height() + 1) / 2.0 * std::sin(a)));
    if (v > 0) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(fillColor);
        if (v >= 100)
            canvas.Ellipse(r);
        else
            canvas.Pie(r.Left, r.Top, r.Right, r.Bottom, ex, ey, cx, r.Top);
    }
    canvas.MoveTo(cx, r.Top);
    canvas.LineTo(cx, cy);
    canvas.LineTo(ex, ey);
}

void DrawCenteredValueBar(TCanvas& canvas, const TRect& rect, int value, TColor positiveColor, TColor negativeColor,
                          bool showText, int maximum)
{
    TRect r = rect;
    InflateRect(r, -2, -2);
    if (maximum <= 0 || r.Width() <= 0)
        return;
    value = std::clamp(value, -maximum, maximum);
    const int half = r.Width() / 2;
    const int centre = r.Left + half;
    const int x = int(Round(double(half) * value / maximum));
    if (value < 0) {
        SetPenBrush(canvas, negativeColor);
        canvas.FillRect(TRect(centre + x, r.Top, centre, r.Bottom));
    } else if (value > 0) {
        SetPenBrush(canvas, positiveColor);
        canvas.FillRect(TRect(centre, r.Top, centre + x, r.Bottom));
    }
    if (showText) {
        canvas.SetBkMode(TRANSPARENT);
        canvas.Brush().SetStyle(bsClear);
        TRect tr = r;
        DrawText(canvas, platform::IntToStr(value), tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void DrawProgressBar(TCanvas& canvas, TRect r, TColor barColor, TColor doneTextColor, TColor restColor,
                     TColor restTextColor, TColor frameColor, const QString& format, double minimum, double maximum,
                     double value, int marginX, int marginY, bool flip)
{
    const TColor oldBrush = canvas.Brush().Color();
    QString text;
    int percentage;
    if (!format.isEmpty()) {
        // A format typed by the user gets exactly one argument; one it cannot take shows the
        // plain percentage text instead.
        try {
            if (format.contains(u'd') || format.contains(u'u'))
                text = platform::Format(format, {platform::FormatArg(Round(value))});
            else
                text = platform::Format(format, {platform::FormatArg(value)});
        } catch (const std::exception&) {
            text = platform::IntToStr(Round(value)) + u'%';
        }
        const double span = maximum - minimum;
        if (span != 0)
            percentage = int(Round((value - minimum) * 100 / span));
        else
            percentage = value >= maximum ? 100 : 0;
    } else {
        text = platform::IntToStr(Round(value)) + u'%';
        percentage = int(Round(value));
    }
    percentage = std::clamp(percentage, 0, 100);

    InflateRect(r, -marginX, -marginY);
    const int doneRight = r.Left + int(Round(percentage * r.Width() / 100.0));
    const int tw = canvas.TextWidth(text);
    const int th = canvas.TextHeight(text) * (flip ? -1 : 1);
    const int tx = r.Left + (r.Width() - tw) / 2;
    const int ty = r.Top + (r.Height() - th) / 2;

    const TRect done(r.Left, r.Top, doneRight, r.Bottom);
    SetPenBrush(canvas, barColor);
    canvas.FillRect(done);
    canvas.Font().SetColor(doneTextColor);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(done, tx, ty, text);

    const TRect rest(doneRight, r.Top, r.Right, r.Bottom);
    SetPenBrush(canvas, restColor);
    canvas.FillRect(rest);
    canvas.Font().SetColor(restTextColor);
    canvas.Brush().SetStyle(bsClear);
    canvas.TextRect(rest, tx, ty, text);

    canvas.Brush().SetStyle(bsSolid);
    if (frameColor != clNone) {
        TRect f = r;
        InflateRect(f, 1, 1);
        canvas.Brush().SetColor(frameColor);
        canvas.FrameRect(f);
    }
    TRect outer = r;
    InflateRect(outer, 2, 2);
    canvas.Brush().SetColor(oldBrush);
    canvas.FrameRect(outer);
}

void DrawLevelProgressBar(TCanvas& canvas, const TRect& r, int percentage, const TLevelBarAppearance& a)
{
    const bool vertical = a.Vertical;
    const int length = (vertical ? r.Height() : r.Width()) - 2;
    const TColor frameColor = a.ShowBorder ? a.BorderColor : a.UnCompleteColor;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(a.UnCompleteColor);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(frameColor);
    canvas.Rectangle(r);
    percentage = std::clamp(percentage, 0, 100);

    // A segment from `from` to `to` pixels along the bar, `inset` pixels inside the frame.
    auto segmentRect = [&](int from, int to, int inset) {
        if (vertical)
            return TRect(r.Left + inset, r.Bottom - 1 - to, r.Right - inset, r.Bottom - 1 - from);
        return TRect(r.Left + 1 + from, r.Top + inset, r.Left + 1 + to, r.Bottom - inset);
    };
    auto paint = [&](const TRect& s, TColor color, TColor colorTo) {
        if (s.Width() <= 0 || s.Height() <= 0)
            return;
        if (a.ShowGradient) {
            // Two halves across the thickness: ColorTo -> Color, then Color -> ColorTo.
            if (vertical) {
                const int mid = s.Left + s.Width() / 2;
                DrawGradientRect(canvas, colorTo, color, true, TRect(s.Left, s.Top, mid, s.Bottom), a.Steps);
                DrawGradientRect(canvas, color, colorTo, true, TRect(mid, s.Top, s.Right, s.Bottom), a.Steps);
            } else {
                const int mid = s.Top + s.Height() / 2;
                DrawGradientRect(canvas, colorTo, color, false, TRect(s.Left, s.Top, s.Right, mid), a.Steps);
                DrawGradientRect(canvas, color, colorTo, false, TRect(s.Left, mid, s.Right, s.Bottom), a.Steps);
            }
        } else {
            FillRectColor(canvas, s, color);
        }
    };
    auto pixels = [&](int perc) { return perc >= 100 ? length : length * perc / 100; };

    if (percentage > 0) {
        if (a.Stacked) {
            paint(segmentRect(0, pixels(std::min(percentage, a.Level1Perc)), 1), a.Level0Color, a.Level0ColorTo);
            if (percentage > a.Level1Perc)
                paint(segmentRect(pixels(a.Level1Perc), pixels(std::min(percentage, a.Level2Perc)), 1),
                      a.Level1Color, a.Level1ColorTo);
            if (percentage > a.Level2Perc)
                paint(segmentRect(pixels(a.Level2Perc), pixels(percentage), 1), a.Level3Color, a.Level3ColorTo);
        } else {
            TColor c = a.Level2Color, cTo = a.Level2ColorTo;
            if (percentage < a.Level1Perc)
                c = a.Level0Color, cTo = a.Level0ColorTo;
            else if (percentage < a.Level2Perc)
                c = a.Level1Color, cTo = a.Level1ColorTo;
            else if (percentage > 99)
                c = a.Level3Color, cTo = a.Level3ColorTo;
            const int done = pixels(percentage);
            if (a.CompletionSmooth) {
                paint(segmentRect(0, done, 1), c, cTo);
            } else if (done >= 2 && done <= 9) {
                paint(segmentRect(1, 1 + std::min(done, 7), 2), c, cTo);
            } else {
                int pos = 0;
                while (pos + 7 <= done) {
                    paint(segmentRect(pos + 1, pos + 8, 2), c, cTo);
                    pos += 9;
                }
                if (done - pos > 2)
                    paint(segmentRect(pos + 1, done, 2), c, cTo);
            }
        }
    }
    if (a.ShowPercentage) {
        TFont font;
        font.Assign(a.Font);
        font.SetColor(a.CompleteFontColor);
        if (vertical)
            font.SetOrientation(900);
        canvas.Font().Assign(font);
        canvas.Brush().SetStyle(bsClear);
        const QString text = platform::IntToStr(percentage) + u'%';
        const int tw = canvas.TextWidth(text), th = canvas.TextHeight(text);
        if (vertical)
            canvas.TextOut(r.Left + (r.Width() - th) / 2, r.Top + (r.Height() + tw) / 2, text);
        else
            canvas.TextOut(r.Left + (r.Width() - tw) / 2, r.Top + (r.Height() - th) / 2, text);
    }
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(frameColor);
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(r);
}

// ---- bitmaps and marks ----

void DrawBitmapTransparent(TCanvas& canvas, const TBitmap& bitmap, TColor background, const TRect& r)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    TBitmap copy(bitmap.Width(), bitmap.Height());
    copy.Canvas().Brush().SetStyle(bsSolid);
    copy.Canvas().Brush().SetColor(background);
    const TColor transparent = FromQColor(bitmap.Image().pixelColor(0, 0));
    const TRect all(0, 0, bitmap.Width(), bitmap.Height());
    copy.Canvas().BrushCopy(all, bitmap, all, transparent);
    canvas.CopyRect(TRect(r.Left, r.Top, r.Left + bitmap.Width(), r.Top + bitmap.Height()), copy.Canvas(), all);
}

void DrawResourceBitmap(TCanvas& canvas, TColor background, const TRect& r, const QString& name)
{
    TBitmap b;
    try {
        b.LoadFromResourceName(name);
    } catch (...) {
        // Our own button pictures stand in for a resource that is not among the assets.
        b = LbResourceBitmap(name);
    }
    DrawBitmapTransparent(canvas, b, background, r);
}

void DrawTextRangeErrorMark(QWidget* /*owner*/, TCanvas& canvas, const QString& text, int length, int start,
                            int yOffset, const TRect& r)
{
    // Character positions as a one-line edit lays the text out in the canvas's font.
    auto posOf = [&](int index) {
        if (index >= text.size())
            return canvas.TextWidth(text) + 4;
        return canvas.TextWidth(text.left(std::max(index, 0)));
    };
    const int x0 = start >= text.size() ? canvas.TextWidth(text) + 4 : posOf(start);
    const int last = start + length - 1;
    const int x1 = last >= text.size() ? (text.isEmpty() ? 0 : posOf(int(text.size()) - 1)) + 4 : posOf(last);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(0x0000FF);
    canvas.Pen().SetWidth(2);
    int x = r.Left + x0;
    const int y = r.Top + yOffset + 3;
    const int end = r.Left + x1;
    canvas.MoveTo(x, y);
    bool up = true;
    while (x < end) {
        x = std::min(x + 3, end);
        canvas.LineTo(x, up ? y - 3 : y);
        up = !up;
    }
    canvas.Pen().SetWidth(1);
}

// ---- themed parts ----

namespace {

const TColorTone& ToneOf(const TColorTones& tones, int state)
{
    switch (state) {
    case 1: return tones.Hover;
    case 2: return tones.Selected;
    case 3: return tones.Disabled;
    default: return tones.Background;
    }
}

// Draws a part with the visual styles; false when there are none.
bool DrawStyled(QWidget* window, TCanvas& canvas, const char16_t* cls, int part, int state, const TRect& r)
{
    return AdvXPVS::Table().DrawPart(window, canvas, cls, part, state, r);
}

unsigned FrameFlags(int kind, int state)
{
    unsigned f = state == 3 ? DFCS_INACTIVE : 0;
    if (kind == 2)
        f |= DFCS_FLAT;
    return f;
}

void FrameRectFilled(TCanvas& canvas, const TRect& r, const TColorTone& tone)
{
    canvas.Brush().SetStyle(tone.BrushColor == clNone ? bsClear : bsSolid);
    if (tone.BrushColor != clNone)
        canvas.Brush().SetColor(tone.BrushColor);
    canvas.Pen().SetStyle(tone.BorderColor == clNone ? psClear : psSolid);
    if (tone.BorderColor != clNone)
        canvas.Pen().SetColor(tone.BorderColor);
    canvas.Rectangle(r);
    canvas.Pen().SetStyle(psSolid);
}

} // namespace

void DrawThemedComboButton(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                           int kind)
{
    TRect area(r.Right - 17, r.Top + 1, r.Right, r.Bottom - 1);
    OffsetRect(area, -2, 0);
    if (kind == 0 && DrawStyled(window, canvas, u"combobox", 1, state == 3 ? 4 : 1, area))
        return;
    if (kind <= 2) {
        DrawFrameControl(canvas, area, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | FrameFlags(kind, state));
        return;
    }
    const TColorTone& tone = ToneOf(colors, state);
    area.Left += 3;
    if (tone.BrushColor != clNone)
        FillRectColor(canvas, area, tone.BrushColor);
    VLine(canvas, tone.BorderColor, area.Left + 1, area.Top, area.Bottom);
    const int l = area.Left, t = area.Top;
    if (tone.TextColor != clNone) {
        SetPenBrush(canvas, tone.TextColor);
        canvas.Polygon({{l + 5, t + 8}, {l + 11, t + 8}, {l + 8, t + 11}});
    }
}

void DrawThemedButton(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                      int kind)
{
    if (kind == 0 && DrawStyled(window, canvas, u"button", 1, state + 1, r))
        return;
    if (kind <= 2) {
        unsigned f = DFCS_BUTTONPUSH;
        if (state == 1)
            f |= DFCS_HOT;
        else if (state == 2)
            f |= DFCS_PUSHED;
        else if (state == 3)
            f |= DFCS_INACTIVE;
        if (kind == 2)
            f |= DFCS_FLAT;
        DrawFrameControl(canvas, r, DFC_BUTTON, f);
        return;
    }
    FrameRectFilled(canvas, r, ToneOf(colors, state));
}

void DrawThemedSpinButtons(TCanvas& canvas, QWidget* window, const TRect& r, const TColorTones& colors, int state,
                           int kind)
{
    TRect area(r.Right - 15, r.Top, r.Right, r.Bottom);
    OffsetRect(area, -1, -1);
    const int mid = (area.Top + area.Bottom) / 2;
    const TRect upper(area.Left, area.Top, area.Right, mid);
    const TRect lower(area.Left, mid + 1, area.Right, area.Bottom);
    if (kind == 0) {
        const int s = state == 3 ? 4 : 1;
        if (DrawStyled(window, canvas, u"spin", 1, s, upper)) {
            DrawStyled(window, canvas, u"spin", 2, s, lower);
            return;
        }
    }
    if (kind <= 2) {
        DrawFrameControl(canvas, upper, DFC_SCROLL, DFCS_SCROLLUP | FrameFlags(kind, state));
        DrawFrameControl(canvas, lower, DFC_SCROLL, DFCS_SCROLLDOWN | FrameFlags(kind, state));
        return;
    }
    const TColorTone& tone = ToneOf(colors, state);
    FrameRectFilled(canvas, upper, tone);
    FrameRectFilled(canvas, lower, tone);
    SetPenBrush(canvas, clBlack);
    const int l = area.Left, t = upper.Top, tl = lower.Top;
    canvas.Polygon({{l + 5, t + 5}, {l + 9, t + 5}, {l + 7, t + 3}});
    canvas.Polygon({{l + 5, tl + 1}, {l + 9, tl + 1}, {l + 7, tl + 3}});
}

// ---- colour arithmetic ----

TColor HalfColor(TColor color)
{
    const TColor c = ColorToRGB(color);
    return RGB(GetRValue(c) / 2, GetGValue(c) / 2, GetBValue(c) / 2);
}

TColor ShadeColor(TColor color, int percent)
{
    const TColor c = ColorToRGB(color);
    // Each channel is kept within 0..255: brightening never wraps round to a dark value.
    auto shade = [percent](int v) { return Clamp255(double(Round(v + v * double(percent) / 100.0))); };
    return RGB(shade(GetRValue(c)), shade(GetGValue(c)), shade(GetBValue(c)));
}

TColor BlendColorStep(TColor from, TColor to, int first, int step, int last)
{
    if (to == clNone)
        return from;
    const TColor f = ColorToRGB(from);
    const TColor t = ColorToRGB(to);
    if (last == first)
        return f;
    auto blend = [&](int a, int b) {
        return Clamp255(double(a + Round(double(b - a) / (last - first) * step)));
    };
    return RGB(blend(GetRValue(f), GetRValue(t)), blend(GetGValue(f), GetGValue(t)), blend(GetBValue(f), GetBValue(t)));
}

// ---- layered windows ----

bool CallSetLayeredWindowAttributes(QWidget* window, TColor /*colorKey*/, int alpha, unsigned flags)
{
    if (!window)
        return false;
    if (!(flags & LWA_ALPHA))
        return false;  // a colour key alone cannot be applied to a window here
    window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
    return true;
}

bool CallUpdateLayeredWindow(QWidget* window, const TPoint* position, const TSize* size, int alpha)
{
    if (!window)
        return false;
    if (position)
        window->move(position->X, position->Y);
    if (size)
        window->resize(size->cx, size->cy);
    window->setWindowOpacity(std::clamp(alpha, 0, 255) / 255.0);
    return true;
}
