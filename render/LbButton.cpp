// The owner-drawn push button: face drawing, presets, state and the slow fade-out.
#include "render/LbButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcutEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

// =============================================================================================
// Face drawing
// =============================================================================================

TColor BlendHotTrackColor(TColor color, TColor hotTrackColor, int step)
{
    const TColor a = ColorToRGB(color);
    const TColor b = ColorToRGB(hotTrackColor);
    const double c = step / 8.0;
    auto mix = [c](int x, int y) { return int(std::trunc(x * (1.0 - c) + y * c)); };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void DrawLbGradient(TCanvas& canvas, TColor from, TColor to, int left, int top, int right, int bottom)
{
    const TColor f = ColorToRGB(from);
    const TColor t = ColorToRGB(to);
    const double dr = (GetRValue(t) - GetRValue(f)) / 31.0;
    const double dg = (GetGValue(t) - GetGValue(f)) / 31.0;
    const double db = (GetBValue(t) - GetBValue(f)) / 31.0;
    const TPenStyle oldPen = canvas.Pen().Style();
    canvas.Pen().SetStyle(psClear);
    const int span = bottom - top;
    const int band = span / 31 + 1;
    for (int i = 0; i <= 31; ++i) {
        const int start = top + i * span / 31;
        const int end = std::min(start + band, bottom);
        const TColor c = RGB(int(std::trunc(GetRValue(f) + dr * i)), int(std::trunc(GetGValue(f) + dg * i)),
                             int(std::trunc(GetBValue(f) + db * i)));
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(c);
        if (end > start && right > left)
            canvas.FillRect(TRect(left, start, right, end));
    }
    canvas.Pen().SetStyle(oldPen);
}

void DrawTransparentGlyph(TCanvas& canvas, int x, int y, int index, const TBitmap& glyph, int numGlyphs)
{
    if (numGlyphs <= 0 || glyph.Width() <= 0 || glyph.Height() <= 0)
        return;
    const int gw = glyph.Width() / numGlyphs;
    const int gh = glyph.Height();
    if (gw <= 0)
        return;
    // A frame past the strip (the disabled frame of a one-frame glyph) keeps the first frame.
    const int sx = (index >= 0 && (index + 1) * gw <= glyph.Width()) ? index * gw : 0;
    TBitmap frame(glyph.Image().copy(sx, 0, gw, gh));
    frame.SetTransparentMode(tmAuto);
    frame.SetTransparent(true);
    canvas.Draw(x, y, &frame);
}

namespace {

void Line(TCanvas& c, TColor color, int x1, int y1, int x2, int y2)
{
    c.Pen().SetColor(color);
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

void LineOn(TCanvas& c, TColor color, int x, int y)
{
    c.Pen().SetColor(color);
    c.LineTo(x, y);
}

} // namespace

void DrawLbButton(TCanvas& canvas, int w, int h, int step, int numGlyphs, const TBitmap& glyph,
                  bool pressed, bool hot, bool enabled, bool flat, bool wordWrap, bool popup,
                  TLbButtonStyle style, TColor color, TColor colorWhenDown, TColor hotTrackColor,
                  TColor lightColor, TColor shadowColor, const TFont& font, TLbButtonLayout layout,
                  const QString& caption, TAlignment alignment)
{
    if (!enabled)
        pressed = false;
    const int off = (pressed && style != bsEncarta) ? 1 : 0;

    // 1. Face colour.
    TColor face = ColorToRGB(color);
    if (enabled && hotTrackColor != clNone)
        face = BlendHotTrackColor(color, hotTrackColor, step);
    if (pressed && colorWhenDown != clNone)
        face = colorWhenDown;

    // 2. Background.
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Brush().SetStyle(bsSolid);
    switch (style) {
    case bsShape:
        canvas.Brush().SetColor(LbKeyColor);
        canvas.FillRect(TRect(0, 0, w, h));
        break;
    case bsNormal:
    case bsEncarta:
    case bsOld:
        canvas.Brush().SetColor(face);
        canvas.FillRect(TRect(0, 0, w, h));
        break;
    case bsModern:
        DrawLbGradient(canvas, lightColor, face, 2, 2, w - 2, h / 4 + off);
        DrawLbGradient(canvas, face, lightColor, 2, h / 4 + off, w - 2, h - 1);
        break;
    case bsQuicken:
        break;
    }
    canvas.Brush().SetStyle(bsClear);

    // 3. Bevel borders.
    if (style == bsNormal || style == bsEncarta || style == bsOld) {
        const bool border = (enabled && (!flat || hot || pressed)) || (!enabled && !flat);
        if (border) {
            if (style != bsOld) {
                Line(canvas, pressed ? shadowColor : lightColor, 0, h - 1, 0, 0);
                canvas.LineTo(w - 1, 0);
                LineOn(canvas, pressed ? lightColor : shadowColor, w - 1, h - 1);
                canvas.LineTo(0, h - 1);
            } else if (!pressed) {
                Line(canvas, shadowColor, w - 2, 0, w - 2, h - 2);
                canvas.LineTo(0, h - 2);
                Line(canvas, lightColor, 0, h - 1, 0, 0);
                canvas.LineTo(w - 1, 0);
                LineOn(canvas, cl3DDkShadow, w - 1, h - 1);
                canvas.LineTo(-1, h - 1);
            } else {
                Line(canvas, shadowColor, 1, h - 3, 1, 1);
                canvas.LineTo(w - 2, 1);
                Line(canvas, cl3DDkShadow, 0, h - 1, 0, 0);
                canvas.LineTo(w - 1, 0);
                LineOn(canvas, lightColor, w - 1, h - 1);
                canvas.LineTo(-1, h - 1);
            }
        }
    }
    // 4. Modern frame and rounded outline.
    if (style == bsModern) {
        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetColor(pressed ? shadowColor : face);
        canvas.Rectangle(1, 1, w - 1, h - 1);
        canvas.Pen().SetColor(shadowColor);
        canvas.RoundRect(0, 0, w, h, 6, 6);
    }
    // 5. Quicken face.
    if (style == bsQuicken) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(face);
        canvas.Pen().SetStyle(psClear);
        canvas.RoundRect(0, 1, w, h, 4, 4);
        canvas.Pen().SetStyle(psSolid);
        Line(canvas, shadowColor, 4, 0, w - 5, 0);
        Line(canvas, shadowColor, 4, h - 1, w - 5, h - 1);
        canvas.Brush().SetStyle(bsClear);
    }

    // 6. Font.
    canvas.Font().Assign(font);
    if (style == bsEncarta && pressed)
        canvas.Font().SetStyle(canvas.Font().Style() | fsBold);
    canvas.Brush().SetStyle(bsClear);

    // 7. Glyph frame.
    const int gw = numGlyphs > 0 ? glyph.Width() / numGlyphs : 0;
    const int gh = glyph.Height();
    int frameIndex = 0;
    if (!enabled)
        frameIndex = 1;
    else if (pressed && numGlyphs >= 3)
        frameIndex = 2;
    else if (hot && numGlyphs >= 4)
        frameIndex = 3;
    const bool hasGlyph = gw > 0 && gh > 0;

    // 8. Text format.
    unsigned format = DT_WORDBREAK;
    switch (alignment) {
    case taLeftJustify: format |= DT_LEFT; break;
    case taRightJustify: format |= DT_RIGHT; break;
    case taCenter: format |= DT_CENTER; break;
    }

    // 9. Room for the text and its size.
    int room = w - 8;
    if (style != bsShape && (layout == blGlyphLeft || layout == blGlyphRight) && gw > 0)
        room -= gw + 4;
    room = std::max(room, 0);
    QString text = caption;
    if (!wordWrap) {
        while (!text.isEmpty() && canvas.TextWidth(text) > room)
            text.chop(1);
    }
    TRect calc(0, 0, room, 0);
    DrawText(canvas, text, calc, DT_CALCRECT | DT_WORDBREAK);
    const int tw = calc.Width();
    const int th = text.isEmpty() ? 0 : calc.Height();

    if (style == bsShape) {
        // 10. Shape: glyph and caption centred, caption in the font's own colour.
        if (hasGlyph)
            DrawTransparentGlyph(canvas, (w - gw) / 2, (h - gh) / 2, frameIndex, glyph, numGlyphs);
        TRect r(off, (h - th) / 2 + off, w, h);
        DrawText(canvas, text, r, DT_CENTER | DT_WORDBREAK);
    } else {
        int textLeft = off + 4, textTop = 0, glyphLeft = 0, glyphTop = 0;
        if (layout == blGlyphLeft || layout == blGlyphRight) {
            // 11. Glyph beside the text.
            textTop = (h - th) / 2 + off;
            if (layout == blGlyphLeft && gw > 0)
                textLeft += gw + 4;
            glyphTop = (h - gh) / 2 + off;
            const int b = text.isEmpty() ? 0 : tw + 4;
            if (layout == blGlyphLeft) {
                if (wordWrap || alignment == taLeftJustify)
                    glyphLeft = off + 4;
                else if (alignment == taRightJustify)
                    glyphLeft = w - 4 - gw - b + off;
                else
                    glyphLeft = (w - gw) / 2 + off - b / 2;
            } else {
                if (wordWrap || alignment == taLeftJustify)
                    glyphLeft = off + 4 + b;
                else if (alignment == taRightJustify)
                    glyphLeft = w - 4 - gw + off;
                else
                    glyphLeft = (w - gw) / 2 + off + b / 2;
            }
        } else {
            // 12. Glyph above or below the text.
            const int k = th + (gh > 0 ? gh + 4 : 0);
            if (layout == blGlyphTop) {
                glyphTop = (h - k) / 2 + off;
                textTop = (h - k) / 2 + gh + off;
            } else {
                textTop = (h - k) / 2 + off;
                glyphTop = (h - k) / 2 + th + off;
            }
            if (alignment == taLeftJustify)
                glyphLeft = off + 4;
            else if (alignment == taRightJustify)
                glyphLeft = w - gw - 4 + off;
            else
                glyphLeft = (w - gw) / 2 + off;
        }
        // 13. Caption, then glyph.
        if (!enabled)
            canvas.Font().SetColor(0x808080);
        TRect r(textLeft, textTop, textLeft + room, textTop + th);
        DrawText(canvas, text, r, format);
        if (hasGlyph)
            DrawTransparentGlyph(canvas, glyphLeft, glyphTop, frameIndex, glyph, numGlyphs);
    }

    // 14. Drop-down arrow of a button with a popup menu.
    if (popup) {
        const TBitmap arrow = LbResourceBitmap(QStringLiteral("LBARROW"));
        DrawTransparentGlyph(canvas, w - 11, h / 2 - 1, 0, arrow, 1);
    }
}

// =============================================================================================
// The button's own pictures
// =============================================================================================

namespace {

// Background of our glyph pictures; the bottom-left pixel tells it to the transparent drawing.
const QColor GlyphBack(0x80, 0x80, 0x00);

QPen GlyphPen(const QColor& c, int width)
{
    QPen p(c, width);
    p.setCapStyle(Qt::SquareCap);
    p.setJoinStyle(Qt::MiterJoin);
    return p;
}

void DrawCheck(QPainter& p, const QColor& c, int dx, int dy)
{
    p.setPen(GlyphPen(c, 2));
    p.drawPolyline(QPolygon({QPoint(3 + dx, 9 + dy), QPoint(7 + dx, 13 + dy), QPoint(14 + dx, 4 + dy)}));
}

void DrawCross(QPainter& p, const QColor& c)
{
    p.setPen(GlyphPen(c, 2));
    p.drawLine(4, 4, 13, 13);
    p.drawLine(13, 4, 4, 13);
}

// Draws the normal frame of one glyph into an 18 x h area.
void DrawGlyphFrame(QPainter& p, const QString& name)
{
    const QColor green(0x00, 0x80, 0x00), red(0xC0, 0x00, 0x00), blue(0x00, 0x00, 0xC0);
    const QColor white(0xFF, 0xFF, 0xFF), brown(0x80, 0x40, 0x00), yellow(0xFF, 0xFF, 0x00);
    if (name == u"LBOK" || name == u"LBYES") {
        DrawCheck(p, green, 0, 0);
    } else if (name == u"LBCANCEL" || name == u"LBABORT") {
        if (name == u"LBABORT") {
            p.setPen(Qt::NoPen);
            p.setBrush(red);
            p.drawPolygon(QPolygon({QPoint(6, 1), QPoint(11, 1), QPoint(16, 6), QPoint(16, 11), QPoint(11, 16),
                                    QPoint(6, 16), QPoint(1, 11), QPoint(1, 6)}));
            p.fillRect(QRect(4, 8, 10, 2), white);
        } else {
            DrawCross(p, red);
        }
    } else if (name == u"LBHELP") {
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawEllipse(QRect(1, 1, 16, 16));
        p.setPen(GlyphPen(white, 2));
        p.drawPolyline(QPolygon({QPoint(6, 6), QPoint(7, 4), QPoint(10, 4), QPoint(12, 6), QPoint(12, 7),
                                 QPoint(9, 9), QPoint(9, 10)}));
        p.fillRect(QRect(8, 12, 2, 2), white);
    } else if (name == u"LBNO") {
        p.setBrush(Qt::NoBrush);
        p.setPen(GlyphPen(red, 2));
        p.drawEllipse(QRect(2, 2, 13, 13));
        p.drawLine(5, 12, 12, 5);
    } else if (name == u"LBCLOSE") {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(brown);
        p.drawRect(QRect(4, 1, 10, 15));
        p.fillRect(QRect(11, 8, 2, 2), yellow);
    } else if (name == u"LBRETRY") {
        p.setBrush(Qt::NoBrush);
        p.setPen(GlyphPen(green, 2));
        p.drawArc(QRect(3, 3, 12, 12), 90 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        p.drawPolygon(QPolygon({QPoint(8, 0), QPoint(12, 3), QPoint(8, 6)}));
    } else if (name == u"LBIGNORE") {
        p.setPen(GlyphPen(blue, 2));
        p.drawLine(2, 9, 13, 9);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPolygon(QPolygon({QPoint(11, 4), QPoint(16, 9), QPoint(11, 14)}));
    } else if (name == u"LBALL") {
        DrawCheck(p, green, -1, -2);
        DrawCheck(p, green, 1, 3);
    }
}

QImage MakeGlyphStrip(const QString& name)
{
    const int fh = name == u"LBALL" ? 19 : 18;
    QImage frame(18, fh, QImage::Format_RGB32);
    frame.fill(GlyphBack);
    {
        QPainter p(&frame);
        p.setRenderHint(QPainter::Antialiasing, false);
        DrawGlyphFrame(p, name);
    }
    // The disabled frame: the picture embossed in grey and white.
    QImage disabled(18, fh, QImage::Format_RGB32);
    disabled.fill(GlyphBack);
    const QRgb back = GlyphBack.rgb();
    for (int pass = 0; pass < 2; ++pass) {
        const int d = pass == 0 ? 1 : 0;
        const QRgb ink = pass == 0 ? qRgb(0xFF, 0xFF, 0xFF) : qRgb(0x80, 0x80, 0x80);
        for (int y = 0; y < fh; ++y)
            for (int x = 0; x < 18; ++x)
                if (frame.pixel(x, y) != back && x + d < 18 && y + d < fh)
                    disabled.setPixel(x + d, y + d, ink);
    }
    QImage strip(36, fh, QImage::Format_RGB32);
    QPainter p(&strip);
    p.drawImage(0, 0, frame);
    p.drawImage(18, 0, disabled);
    return strip;
}

} // namespace

TBitmap LbResourceBitmap(const QString& name)
{
    const QString upper = name.toUpper();
    static const QStringList known = {"LBOK", "LBCANCEL", "LBHELP", "LBYES", "LBNO", "LBCLOSE",
                                      "LBABORT", "LBRETRY", "LBIGNORE", "LBALL", "LBARROW"};
    if (!known.contains(upper))
        return TBitmap();
    if (!platform::FindAsset(upper).isEmpty()) {
        TBitmap b;
        try {
            b.LoadFromResourceName(upper);
            return b;
        } catch (...) {
            // fall back to the pictures drawn here
        }
    }
    if (upper == u"LBARROW") {
        QImage img(5, 3, QImage::Format_RGB32);
        img.fill(GlyphBack);
        for (int y = 0; y < 3; ++y)
            for (int x = y; x < 5 - y; ++x)
                img.setPixel(x, y, qRgb(0, 0, 0));
        return TBitmap(img);
    }
    return TBitmap(MakeGlyphStrip(upper));
}

// =============================================================================================
// TLbButton
// =============================================================================================

TLbButton::TLbButton(QWidget* aOwner) : QWidget(aOwner)
{
    resize(100, 23);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setMouseTracking(false);
    FFont = TFont::FromQFont(font());
    if (aOwner && qobject_cast<platform::TForm*>(aOwner))
        FHTFont = TFont::FromQFont(aOwner->font());
    // The fade-out timer exists from the start, stopped until the pointer leaves.
    FThread = std::make_unique<QTimer>();
    FThread->setInterval(30);
    QObject::connect(FThread.get(), &QTimer::timeout, this, [this] { FadeStep(); });
}

TLbButton::~TLbButton()
{
    FDestroying = true;
    StopFade();
    FThread.reset();
}

bool TLbButton::Fading() const
{
    return FThread && FThread->isActive();
}

void TLbButton::StopFade()
{
    if (FThread)
        FThread->stop();
}

void TLbButton::RepaintNow()
{
    if (FDestroying)
        return;
    if (isVisible())
        repaint();
}

bool TLbButton::ParentShowing() const
{
    return parentWidget() && parentWidget()->isVisible();
}

platform::TForm* TLbButton::ParentForm() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* f = qobject_cast<platform::TForm*>(w))
            return f;
    return nullptr;
}

void TLbButton::RegisterDialogButtons()
{
    platform::TForm* form = ParentForm();
    if (!form)
        return;
    if (FDefault)
        form->SetDefaultButton(this);
    else if (form->DefaultButton() == this)
        form->SetDefaultButton(nullptr);
    if (FCancel)
        form->SetCancelButton(this);
    else if (form->CancelButton() == this)
        form->SetCancelButton(nullptr);
}

// ---- properties ----

void TLbButton::SetCancel(bool value)
{
    FCancel = value;
    RegisterDialogButtons();
}

void TLbButton::SetCaption(const QString& value)
{
    FCaption = value;
    setAccessibleName(platform::StripPrefix(value));
    UpdateShortcut();
    update();
}

void TLbButton::SetColorStyle(TLbColorStyle value)
{
    struct Preset {
        TLbPalette face;
        TColor font;
    };
    Preset p{};
    switch (value) {
    case lcsCustom: return;
    case lcsGold: p = {{0x00C0C0, 0x00FFFF, 0x008080, clNone, 0x00DFDF, false, bsModern}, clBlack}; break;
    case lcsChrome: p = {{0xC0C0C0, 0xFFFFFF, 0x808080, clNone, clNone, false, bsModern}, clBlack}; break;
    case lcsBlue: p = {{0xFF8000, 0xFFFF00, 0xFF0000, clNone, clNone, false, bsModern}, clBlack}; break;
    case lcsRed: p = {{0x0000FF, 0xC0C0FF, 0x0000C0, clNone, clNone, false, bsModern}, clBlack}; break;
    case lcsUltraFlat1: p = {{clBtnFace, 0xB59284, 0xB59284, 0xB59284, 0xDED3D6, true, bsNormal}, clBlack}; break;
    case lcsUltraFlat2: p = {{clBtnFace, 0x000000, 0x000000, 0x24DABC, 0x8CF6E4, true, bsNormal}, clBlack}; break;
    case lcsUltraFlatXP: p = {{0xD1D8DB, 0xB59284, 0xB59285, 0xB59285, 0xD2BDB6, true, bsNormal}, clBlack}; break;
    case lcsAqua: p = {{0xECCE94, 0xFCE6D4, 0x000000, clNone, clNone, false, bsModern}, clBlack}; break;
    case lcsDefault: p = {{clBtnFace, 0xFFFFFF, 0x808080, clNone, clNone, false, bsNormal}, clBlack}; break;
    case lcsQuicken: p = {{0x603000, 0xC0C0C0, 0xC0C0C0, 0xAD6529, 0xCEAE9C, false, bsQuicken}, clWhite}; break;
    default: return;
    }
    FFace = p.face;  // the style as a field, not through SetStyle: the preset is a palette
    FFont.SetColor(p.font);
    setAttribute(Qt::WA_OpaquePaintEvent, !IsKeyedLbStyle(FFace.Style));
    RepaintNow();
}

void TLbButton::SetDefault(bool value)
{
    FDefault = value;
    RegisterDialogButtons();
}

void TLbButton::SetEnabled(bool value)
{
    setEnabled(value);
    bDown = false;
    RepaintNow();
}

void TLbButton::SetGlyph(const TBitmap* value)
{
    if (value) {
        FGlyph.Assign(*value);
        FNumGlyphs = FGlyph.Height() > 0 ? FGlyph.Width() / FGlyph.Height() : 0;
    } else {
        FGlyph.SetHeight(0);
        FNumGlyphs = 0;
    }
    FKind = bkCustom;
    update();
}

void TLbButton::SetKind(TLbButtonKind value)
{
    struct KindPreset {
        TLbButtonKind kind;
        platform::TModalResult result;
        const char* resource;
        const char16_t* caption;
    };
    static const KindPreset presets[] = {
        {bkOK, 1, "LBOK", u"OK"},
        {bkCancel, 2, "LBCANCEL", u"Abbrechen"},
        {bkHelp, 0, "LBHELP", u"Hilfe"},
        {bkYes, 6, "LBYES", u"Ja"},
        {bkNo, 7, "LBNO", u"Nein"},
        {bkClose, 0, "LBCLOSE", u"Schlie\u00dfen"},
        {bkAbort, 3, "LBABORT", u"Abbrechen"},
        {bkRetry, 4, "LBRETRY", u"Wiederholen"},
        {bkIgnore, 5, "LBIGNORE", u"Ignorieren"},
        {bkAll, 12, "LBALL", u"Alle"},
    };
    for (const KindPreset& p : presets) {
        if (p.kind != value)
            continue;
        FNumGlyphs = 2;
        FModalResult = p.result;
        FGlyph.Assign(LbResourceBitmap(QString::fromLatin1(p.resource)));
        SetCaption(QString::fromUtf16(p.caption));
        break;
    }
    FKind = value;
    update();
}

void TLbButton::SetModalResult(platform::TModalResult value)
{
    FModalResult = value;
    FKind = bkCustom;
}

void TLbButton::SetSlowDecease(bool value)
{
    FSlowDecease = value;
    if (value) {
        if (!FThread) {
            FThread = std::make_unique<QTimer>();
            FThread->setInterval(30);
            QObject::connect(FThread.get(), &QTimer::timeout, this, [this] { FadeStep(); });
        }
    } else if (FThread) {
        FHotTrackStep = 0;
        FThread->stop();
        FThread.reset();
    }
    update();
}

void TLbButton::SetStyle(TLbButtonStyle value)
{
    FFace.Style = value;
    setAttribute(Qt::WA_OpaquePaintEvent, !IsKeyedLbStyle(value));
    update();
}

void TLbButton::SetFont(const TFont& value)
{
    FFont.Assign(value);
    update();
}


// ---- accelerator ----

QChar TLbButton::Accelerator() const
{
    int index = -1;
    const QString plain = platform::StripPrefix(FCaption, &index);
    if (index < 0 || index >= plain.size())
        return QChar();
    return plain[index];
}

void TLbButton::UpdateShortcut()
{
    if (FShortcutId != 0) {
        releaseShortcut(FShortcutId);
        FShortcutId = 0;
    }
    const QChar acc = Accelerator();
    if (!acc.isNull())
        FShortcutId = grabShortcut(QKeySequence(Qt::ALT | Qt::Key(acc.toUpper().unicode())));
}

bool TLbButton::DialogChar(QChar ch)
{
    const QChar acc = Accelerator();
    if (acc.isNull() || acc.toUpper() != ch.toUpper())
        return false;
    if (isHidden() || !isEnabled() || !ParentShowing())
        return false;
    bDown = true;
    Click();
    return true;
}

// ---- clicking ----

void TLbButton::Click()
{
    bDown = true;
    ClickAction();
}

void TLbButton::ClickAction()
{
    if (isHidden() || !isEnabled() || !bDown)
        return;
    bDown = false;
    QPointer<TLbButton> self(this);
    if (OnClick)
        OnClick(this);
    if (!self)
        return;
    if (FModalResult != 0) {
        if (platform::TForm* form = ParentForm())
            form->SetModalResult(FModalResult);
    }
    if (self && FPopupMenu)
        FPopupMenu->popup(mapToGlobal(QPoint(0, height())));
}

bool TLbButton::CanClickAsDialogKey()
{
    // A hidden or disabled button leaves the key to the rest of the dialog.
    return !isHidden() && isEnabled();
}

void TLbButton::ClickAsDialogKey()
{
    bDown = true;
    Click();
}

// ---- fade-out ----

void TLbButton::FadeStep()
{
    if (FDestroying)
        return;
    --FHotTrackStep;
    if (FHotTrackStep <= 0) {
        StopFade();
        FHotTrackStep = 0;
    }
    RepaintNow();
}

// ---- events ----

void TLbButton::CMMouseEnter()
{
    if (!isEnabled() || isHidden() || !ParentShowing())
        return;
    bCursorOnButton = true;
    FHotTrackStep = 8;
    // Coming back during a fade shows the full hot colour and keeps it.
    StopFade();
    RepaintNow();
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TLbButton::CMMouseLeave()
{
    bCursorOnButton = false;
    if (FSlowDecease) {
        if (FThread && !FThread->isActive() && FHotTrackStep > 0)
            FThread->start();
    } else {
        FHotTrackStep = 0;
        RepaintNow();
    }
    if (isEnabled() && !isHidden() && ParentShowing() && OnMouseExit)
        OnMouseExit(this);
}

void TLbButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    CMMouseEnter();
}

void TLbButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    CMMouseLeave();
}

void TLbButton::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    if (isEnabled() && event->button() == Qt::LeftButton) {
        bDown = true;
        setFocus(Qt::MouseFocusReason);
        RepaintNow();
    }
    event->accept();
}

void TLbButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a press like the first.
    mousePressEvent(event);
}

void TLbButton::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    event->accept();
    QPointer<TLbButton> self(this);
    if (bDown) {
        // Releasing outside the button takes the press back.
        if (rect().contains(event->position().toPoint()))
            Click();
    }
    if (!self)
        return;
    bDown = false;
    RepaintNow();
}

namespace {

bool IsPressKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

} // namespace

void TLbButton::keyPressEvent(QKeyEvent* event)
{
    if (!IsPressKey(event->key()) || event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        event->ignore();
        return;
    }
    event->accept();
    if (isEnabled() && !event->isAutoRepeat()) {
        bDown = true;
        FPressKey = event->key();
        RepaintNow();
    }
}

void TLbButton::keyReleaseEvent(QKeyEvent* event)
{
    if (!IsPressKey(event->key()) || event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    event->accept();
    // The release of another key leaves the press standing: only its own key's release ends it.
    const bool ownKey = FPressKey == event->key();
    const bool pressedHere = ownKey && bDown;
    if (ownKey)
        FPressKey = 0;
    QPointer<TLbButton> self(this);
    if (pressedHere)
        Click();
    if (self)
        RepaintNow();
}

void TLbButton::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    RepaintNow();
}

void TLbButton::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    // A key held while the focus moves away is no press of this button any more.
    if (FPressKey) {
        FPressKey = 0;
        bDown = false;
    }
    RepaintNow();
}

void TLbButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        bDown = false;
        RepaintNow();
    } else if (event->type() == QEvent::ParentChange) {
        RegisterDialogButtons();
    }
}

void TLbButton::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // A window that hides while the pointer rests on the button sends no leave: the hot state
    // ends here, or the button shows hot when the window comes back with the pointer elsewhere.
    if (bCursorOnButton || FHotTrackStep > 0) {
        bCursorOnButton = false;
        FHotTrackStep = 0;
        if (FThread)
            FThread->stop();
    }
    bDown = false;
    FPressKey = 0;
}

void TLbButton::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    RegisterDialogButtons();
}

bool TLbButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        auto* se = static_cast<QShortcutEvent*>(event);
        if (se->shortcutId() == FShortcutId) {
            DialogChar(Accelerator());
            return true;
        }
    }
    if (event->type() == QEvent::ParentChange)
        RegisterDialogButtons();
    return QWidget::event(event);
}

// ---- painting ----

void TLbButton::Paint()
{
    RepaintNow();
}

void TLbButton::paintEvent(QPaintEvent*)
{
    if (FDestroying)
        return;
    try {
        const int w = width(), h = height();
        if (w <= 0 || h <= 0)
            return;
        TBitmap face(w, h);
        TCanvas& c = face.Canvas();
        const bool hot = bCursorOnButton || hasFocus();
        const TFont& font = (FUseHTFont && hot) ? FHTFont : FFont;
        const bool keyed = IsKeyedLbStyle(FFace.Style);
        if (keyed) {
            c.Brush().SetStyle(bsSolid);
            c.Brush().SetColor(LbKeyColor);
            c.FillRect(TRect(0, 0, w, h));
        }
        const bool popup = !FPopupMenu.isNull();
        if (FFace.Style == bsOld && hasFocus()) {
            DrawLbButton(c, w - 2, h - 2, FHotTrackStep, FNumGlyphs, FGlyph, bDown, hot, isEnabled(), FFace.Flat,
                         FWordWrap, popup, FFace.Style, FFace.Color, FFace.Down, FFace.HotTrack,
                         bDown ? FFace.Shadow : FFace.Light, FFace.Shadow, font, FLayout, FCaption, FAlignment);
            const QImage drawn = face.Image().copy();
            QImage shifted = drawn;
            {
                QPainter p(&shifted);
                p.drawImage(1, 1, drawn);
            }
            face.SetImage(shifted);
            TCanvas& c2 = face.Canvas();
            c2.Brush().SetStyle(bsClear);
            c2.Pen().SetStyle(psSolid);
            c2.Pen().SetWidth(1);
            c2.Pen().SetColor(clBlack);
            c2.Rectangle(0, 0, w, h);
        } else {
            DrawLbButton(c, w, h, FHotTrackStep, FNumGlyphs, FGlyph, bDown, hot, isEnabled(), FFace.Flat, FWordWrap,
                         popup, FFace.Style, FFace.Color, FFace.Down, FFace.HotTrack, FFace.Light, FFace.Shadow, font,
                         FLayout, FCaption, FAlignment);
        }
        if (hasFocus() && isEnabled() && FFace.Style != bsShape)
            face.Canvas().DrawFocusRect(TRect(4, 4, w - 4, h - 4));

        QImage image = face.Image().convertToFormat(QImage::Format_ARGB32);
        if (keyed) {
            const QRgb key = qRgb(0xFF, 0x00, 0xFF);
            for (int y = 0; y < image.height(); ++y) {
                auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
                for (int x = 0; x < image.width(); ++x)
                    if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                        line[x] = 0;
            }
        }
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    } catch (...) {
        // Nothing may leave a paint handler; the face stays as it was.
    }
}
