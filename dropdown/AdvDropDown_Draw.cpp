// Free drawing and colour routines of the drop-down unit.
#include "dropdown/AdvDropDown.h"

#include "platform/SysUtils.h"
#include "render/VurADIDO.h"

#include <algorithm>

namespace {

int Channel(double v)
{
    return std::clamp(int(platform::Round(v)), 0, 255);
}

} // namespace

void DrawDropDownGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, TRect r, bool horizontal)
{
    if (steps <= 0)
        steps = 1;
    const TColor c1 = ColorToRGB(fromColor);
    const TColor c2 = ColorToRGB(toColor);
    const int r1 = GetRValue(c1), g1 = GetGValue(c1), b1 = GetBValue(c1);
    const int dr = GetRValue(c2) - r1, dg = GetGValue(c2) - g1, db = GetBValue(c2) - b1;

    double d;
    if (horizontal) {
        r.Right -= 1;
        d = double(r.Right - r.Left) / steps;
    } else {
        r.Bottom -= 1;
        d = double(r.Bottom - r.Top) / steps;
    }
    const int band = int(platform::Round(d));
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(bsSolid);
    for (int i = 0; i < steps; ++i) {
        const TColor c = RGB(r1 + int(platform::Round(double(i) * dr / steps)),
                             g1 + int(platform::Round(double(i) * dg / steps)),
                             b1 + int(platform::Round(double(i) * db / steps)));
        canvas.Pen().SetColor(c);
        canvas.Brush().SetColor(c);
        const int start = int(platform::Round(i * d));
        if (horizontal)
            canvas.Rectangle(r.Left + start, r.Top, r.Left + start + band + 1, r.Bottom);
        else
            canvas.Rectangle(r.Left, r.Top + start, r.Right, r.Top + start + band + 1);
    }
}

TColor BlendColor(TColor color1, TColor color2, int percent)
{
    if (percent >= 100)
        return color1;
    if (percent <= 0)
        return color2;
    const double p = percent / 100.0;
    const TColor c1 = ColorToRGB(color1), c2 = ColorToRGB(color2);
    return RGB(Channel(p * GetRValue(c1) + (1 - p) * GetRValue(c2)),
               Channel(p * GetGValue(c1) + (1 - p) * GetGValue(c2)),
               Channel(p * GetBValue(c1) + (1 - p) * GetBValue(c2)));
}

TColor ColorOffset(TColor color, int dRed, int dGreen, int dBlue)
{
    const TColor c = ColorToRGB(color);
    auto shift = [](int channel, int delta) {
        if (channel == 0)
            return std::clamp(delta, 0, 255);
        // A darkening of more than 100 % would give a negative channel that spills into its
        // neighbours; it stops at black instead.
        return Channel(std::min(100, 100 + delta) / 100.0 * channel);
    };
    return RGB(shift(GetRValue(c), dRed), shift(GetGValue(c), dGreen), shift(GetBValue(c), dBlue));
}

void DrawDropDownRect(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor borderColor,
                      int borderWidth, TGradientDirection direction)
{
    if (!canvas)
        return;
    if (colorTo != clNone) {
        DrawDropDownGradient(*canvas, color, colorTo, 80, r, direction == gdHorizontal);
    } else if (color != clNone) {
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(color);
        canvas->FillRect(r);
    }
    if (borderColor != clNone && borderWidth > 0) {
        canvas->Brush().SetStyle(bsClear);
        canvas->Pen().SetStyle(psSolid);
        canvas->Pen().SetWidth(borderWidth);
        canvas->Pen().SetColor(borderColor);
        canvas->Rectangle(r);
    }
}

void DrawDropDownContent(TCanvas* canvas, TRect r, const QString& caption, const TCustomImageList* images,
                         int imageIndex)
{
    if (!canvas)
        return;
    bool imageDrawn = false;
    if (imageIndex >= 0 && images) {
        images->Draw(*canvas, r.Left + 4, r.Top + (r.Height() - images->Height()) / 2, imageIndex, true);
        r.Left += images->Width() + 8;
        imageDrawn = true;
    }
    if (caption.isEmpty())
        return;
    unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (!imageDrawn)
        flags |= DT_CENTER;
    DrawText(*canvas, caption, r, flags);
}

void DrawTransparentGlyph(TCanvas& canvas, const TBitmap& bitmap, TColor backColor, const TRect& r)
{
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0)
        return;
    TBitmap copy(bitmap.Width(), bitmap.Height());
    copy.Canvas().Brush().SetStyle(bsSolid);
    copy.Canvas().Brush().SetColor(backColor);
    // Only the part of the bitmap that exists is copied: a rectangle larger than the glyph does
    // not pull in pixels from outside it.
    const TRect area(0, 0, std::min(r.Width(), bitmap.Width()), std::min(r.Height(), bitmap.Height()));
    if (area.Width() <= 0 || area.Height() <= 0)
        return;
    const TColor transparent = FromQColor(bitmap.Image().pixelColor(0, 0));
    copy.Canvas().BrushCopy(area, bitmap, area, transparent);
    canvas.CopyRect(TRect(r.Left, r.Top, r.Left + area.Right, r.Top + area.Bottom), copy.Canvas(), area);
}

TSize MeasureTextSize(TCanvas& canvas, const QString& text)
{
    if (text.isEmpty())
        return TSize(0, 0);
    TRect r(0, 0, 1000, 500);
    DrawText(canvas, text, r, DT_CALCRECT | DT_SINGLELINE);
    return TSize(r.Right, r.Bottom);
}

QString FitText(TCanvas& canvas, const QString& text, int maxWidth, bool ellipsis)
{
    if (canvas.TextWidth(text) <= maxWidth)
        return text;
    const QString tail = ellipsis ? QStringLiteral("...") : QString();
    for (int cut = 1; cut <= text.size(); ++cut) {
        const QString s = text.left(text.size() - cut) + tail;
        if (canvas.TextWidth(s) < maxWidth)
            return s;
    }
    return text;
}

TSize DrawMarkupCaption(TCanvas& canvas, const QString& text, const TRect& r, TCustomImageList* images, bool draw,
                        QWidget* window)
{
    if (text.isEmpty())
        return TSize(0, 0);
    TMarkupRenderParams p;
    p.Images = images;
    p.AnchorColor = clBlue;
    p.HoverColor = clNone;
    p.HoverTextColor = clNone;
    p.ShadowColor = clGray;
    p.ShadowOffset = 1;
    p.FocusAnchor = -1;
    p.WordWrap = false;
    p.Selected = true;
    p.MeasureOnly = !draw;
    p.Window = window;
    TMarkupRenderResult result;
    RenderMarkupText(canvas, text, r, p, result);
    return TSize(result.Width, result.Height);
}
