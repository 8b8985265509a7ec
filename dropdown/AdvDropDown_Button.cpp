// Painting of the speed button inside the drop-down button: the arrow look of a drop-down and the
// push-button look, each with the visual-style, custom-colour, flat and standard variants.
#include "dropdown/AdvDropDown.h"

#include "platform/PlatformInfo.h"
#include "render/ATXPVS.h"

#include <algorithm>

namespace {

TColor FirstSet(TColor a, TColor b, TColor c = clNone)
{
    if (a != clNone)
        return a;
    return b != clNone ? b : c;
}

int ThemeState(bool enabled, bool pressed, bool hot)
{
    if (!enabled)
        return 4;
    if (pressed)
        return 3;
    return hot ? 2 : 1;
}

// The glyph as a disabled button shows it: its dark pixels embossed in white and grey.
TBitmap DisabledGlyph(const TBitmap& glyph)
{
    const QImage src = glyph.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = src.pixel(0, src.height() - 1);
    QImage out(src.size(), QImage::Format_RGB32);
    out.fill(key);
    const QRgb shadow = ToQColor(clBtnShadow).rgb(), light = ToQColor(clBtnHighlight).rgb();
    for (int pass = 0; pass < 2; ++pass)
        for (int y = 0; y < src.height(); ++y)
            for (int x = 0; x < src.width(); ++x) {
                const QRgb p = src.pixel(x, y);
                if (p == key || qGray(p) > 192)
                    continue;
                const int dx = pass == 0 ? 1 : 0;
                if (x + dx < out.width() && y + dx < out.height())
                    out.setPixel(x + dx, y + dx, pass == 0 ? light : shadow);
            }
    return TBitmap(out);
}

void DrawGlyphAuto(TCanvas& canvas, int x, int y, const TBitmap& glyph, bool enabled)
{
    TBitmap b = enabled ? glyph : DisabledGlyph(glyph);
    b.SetTransparentMode(tmAuto);
    b.SetTransparent(true);
    canvas.Draw(x, y, b);
}

void DrawCaption(TCanvas& canvas, const QString& caption, TRect r, unsigned flags, bool enabled)
{
    canvas.SetBkMode(TRANSPARENT);
    if (!enabled) {
        // The usual engraved look of a disabled caption.
        TRect light = r;
        OffsetRect(light, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawText(canvas, caption, light, flags);
        canvas.Font().SetColor(clBtnShadow);
    }
    DrawText(canvas, caption, r, flags);
}

// The standard speed button: a face in the button colour, raised (or sunken while pressed; flat
// buttons only while hot or pressed), with the glyph and the caption centred side by side.
void PaintStandardButton(TCanvas& canvas, int width, int height, const TDropDownButtonFace& face, bool enabled,
                         bool pressed)
{
    TRect r(0, 0, width, height);
    if (!face.Flat) {
        unsigned state = DFCS_BUTTONPUSH;
        if (pressed)
            state |= DFCS_PUSHED;
        if (!enabled)
            state |= DFCS_INACTIVE;
        DrawFrameControl(canvas, r, DFC_BUTTON, state);
    } else {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(r);
        TRect e = r;
        if (pressed)
            DrawEdge(canvas, e, BDR_SUNKENOUTER, BF_RECT);
        else if (face.Hot && enabled)
            DrawEdge(canvas, e, BDR_RAISEDINNER, BF_RECT);
    }
    const int shift = pressed ? 1 : 0;
    const bool hasGlyph = face.Glyph && !face.Glyph->Empty();
    const int gw = hasGlyph ? face.Glyph->Width() : 0;
    const int tw = face.Caption.isEmpty() ? 0 : canvas.TextWidth(face.Caption);
    const int gap = hasGlyph && tw > 0 ? 4 : 0;
    int x = (width - gw - gap - tw) / 2 + shift;
    if (hasGlyph) {
        DrawGlyphAuto(canvas, x, (height - face.Glyph->Height()) / 2 + shift, *face.Glyph, enabled);
        x += gw + gap;
    }
    if (tw > 0) {
        canvas.Font().SetColor(clBtnText);
        DrawCaption(canvas, face.Caption, TRect(x, shift, x + tw, height + shift), DT_SINGLELINE | DT_VCENTER,
                    enabled);
    }
}

void SetPenBrush(TCanvas& canvas, TColor color)
{
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(color);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
}

void Arrow(TCanvas& canvas, TColor color)
{
    SetPenBrush(canvas, color);
    canvas.Polygon({{5, 7}, {11, 7}, {8, 10}});
}

void PaintDropDownStyle(TCanvas& canvas, int width, int height, const TDropDownButtonFace& face)
{
    const bool pressed = face.Down && !face.Up;
    const TDropDownButtonColors& c = face.Colors;
    const TRect client(0, 0, width, height);

    if (c.ButtonColor != clNone) {
        // A hot or pressed colour (or a text colour) left unset falls back to the normal one, and
        // the arrow to black, so that the button never loses its face or its arrow.
        TColor fill = c.ButtonColor;
        TColor text = FirstSet(c.ButtonTextColor, clBlack);
        if (face.Hot) {
            fill = FirstSet(c.ButtonColorHot, fill);
            text = FirstSet(c.ButtonTextColorHot, text);
        }
        if (pressed) {
            fill = FirstSet(c.ButtonColorDown, fill);
            text = FirstSet(c.ButtonTextColorDown, text);
        }
        SetPenBrush(canvas, fill);
        canvas.FillRect(client);
        if (face.EditBorderColor != clNone) {
            canvas.Pen().SetColor(face.EditBorderColor);
            canvas.MoveTo(0, 0);
            canvas.LineTo(0, height);
        }
        Arrow(canvas, text);
        return;
    }

    if (face.Glyph && !face.Glyph->Empty()) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBtnFace);
        canvas.Pen().SetStyle(psSolid);
        canvas.Pen().SetWidth(1);
        canvas.Pen().SetColor(clGray);
        canvas.Rectangle(client);
        DrawGlyphAuto(canvas, 0, 0, *face.Glyph, true);
        return;
    }

    const bool enabled = face.EditEnabled && !face.EditReadOnly;
    if (DropDownButtonThemed()) {
        TRect r = client;
        if (HasLocaleInfoEx()) {
            r.Left += 1;
        } else {
            InflateRect(r, 1, 1);
            r.Left += 2;
        }
        if (ATXPVS::Table().DrawPart(face.Window, canvas, u"combobox", 1, ThemeState(enabled, pressed, face.Hot), r))
            return;
    }

    TDropDownButtonFace plain = face;
    plain.Glyph = nullptr;
    plain.Caption.clear();
    PaintStandardButton(canvas, width, height, plain, enabled, pressed);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(clBtnFace);
    canvas.MoveTo(width - 2, 0);
    canvas.LineTo(0, 0);
    canvas.LineTo(0, height - 1);
    canvas.Pen().SetColor(clWhite);
    canvas.MoveTo(width - 3, 1);
    canvas.LineTo(1, 1);
    canvas.LineTo(1, height - 2);
    Arrow(canvas, clBlack);
}

void PaintButtonStyle(TCanvas& canvas, int width, int height, const TDropDownButtonFace& face)
{
    if (face.EditFont)
        canvas.Font().Assign(*face.EditFont);
    const bool pressed = face.Down && !face.Up;
    const bool enabled = face.Enabled;
    const bool hasGlyph = face.Glyph && !face.Glyph->Empty();
    const bool hasCaption = !face.Caption.isEmpty();
    const TRect client(0, 0, width, height);

    if (DropDownButtonThemed()) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(client);
        if (ATXPVS::Table().DrawPart(face.Window, canvas, u"button", 1, ThemeState(enabled, pressed, face.Hot),
                                       TRect(0, 0, width + 1, height + 1))) {
            const int shift = face.Down ? 1 : 0;
            TRect g = client;
            InflateRect(g, -2, -2);
            int glyphRight = g.Left;
            if (hasGlyph) {
                const TBitmap& b = *face.Glyph;
                int x = g.Left, y = g.Top;
                if (!hasCaption && b.Width() < g.Width())
                    x = g.Left + (g.Width() - b.Width()) / 2;
                if (b.Height() < g.Height())
                    y = g.Top + (g.Height() - b.Height()) / 2;
                DrawGlyphAuto(canvas, x + shift, y + shift, b, enabled);
                glyphRight = x + b.Width();
            }
            if (hasCaption) {
                if (!hasGlyph) {
                    TRect t(3 + shift, 1 + shift, width - 3 + shift, height - 1 + shift);
                    DrawCaption(canvas, face.Caption, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER, enabled);
                } else {
                    TRect t(glyphRight + 2, -1, width, height - 1);
                    DrawCaption(canvas, face.Caption, t, DT_SINGLELINE | DT_VCENTER | DT_LEFT, enabled);
                }
            }
            return;
        }
    }

    if (face.Flat) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clBtnFace);
        canvas.FillRect(client);
        TRect r(0, 0, width + 1, height + 1);
        DrawEdge(canvas, r, face.Etched ? EDGE_ETCHED : EDGE_RAISED, BF_RECT | (face.Down ? BF_FLAT : 0u));
        const int shift = face.Down ? 1 : 0;
        if (hasGlyph) {
            TRect g(3 + shift, 3 + shift, width - 3 + shift, height - 3 + shift);
            DrawTransparentGlyph(canvas, *face.Glyph, clBtnFace, g);
        }
        if (hasCaption) {
            TRect t(3 + shift, 1 + shift, width - 3 + shift, height - 1 + shift);
            DrawCaption(canvas, face.Caption, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER, enabled);
        }
        return;
    }

    PaintStandardButton(canvas, width, height, face, enabled, pressed);
}

} // namespace

bool DropDownButtonThemed()
{
    if (!platform::PlatformInfo().IsComCtl6OrLater())
        return false;
    const TVisualStyleTable& t = ATXPVS::Table();
    return t.Loaded && t.IsThemeActive() && t.IsThemeActive()();
}

void PaintDropDownButton(TCanvas& canvas, int width, int height, const TDropDownButtonFace& face)
{
    if (width <= 0 || height <= 0)
        return;
    if (face.ButtonStyle == bsDropDown)
        PaintDropDownStyle(canvas, width, height, face);
    else
        PaintButtonStyle(canvas, width, height, face);
}
