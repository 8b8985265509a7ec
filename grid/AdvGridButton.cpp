#include "grid/AdvGridButton.h"

#include "platform/PlatformInfo.h"
#include "platform/Property.h"

#include <QCursor>
#include <QEnterEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace {

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

int Channel(TColor c, int shift) { return (ColorToRGB(c) >> shift) & 0xFF; }

} // namespace

void DrawButtonGradient(TCanvas& Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R, int Steps,
                        TColor BorderColor)
{
    if (Steps == 0)
        Steps = 1;
    const int size = Horizontal ? R.Right - R.Left : R.Bottom - R.Top;
    for (int i = 0; i < Steps; ++i) {
        int rgb[3];
        for (int k = 0; k < 3; ++k) {
            const int from = Channel(FromColor, 8 * k), to = Channel(ToColor, 8 * k);
            rgb[k] = from + RoundHalfEven(double(i) * (to - from) / Steps);
        }
        const TColor c = TColor(rgb[0] | (rgb[1] << 8) | (rgb[2] << 16));
        const int start = RoundHalfEven(double(i) * size / Steps);
        const int len = RoundHalfEven(double(size) / Steps) + 1;
        TRect band = Horizontal ? TRect(R.Left + start, R.Top, R.Left + start + len, R.Bottom)
                                : TRect(R.Left, R.Top + start, R.Right, R.Top + start + len);
        Canvas.Pen().SetColor(c);
        Canvas.Brush().SetColor(c);
        Canvas.FillRect(band);
    }
    if (BorderColor != clNone) {
        Canvas.Brush().SetStyle(bsClear);
        Canvas.Pen().SetColor(BorderColor);
        Canvas.Rectangle(R);
        Canvas.Brush().SetStyle(bsSolid);
    }
}

bool IsThemedDrawingActive()
{
    const platform::TPlatformInfo& pi = platform::PlatformInfo();
    return pi.IsWinXPOrLater() && pi.VisualStylesAvailable && pi.ThemeActive && pi.IsComCtl6OrLater();
}

int CurrentXPColorScheme()
{
    // The platform reports no colour scheme name for its visual styles, so an active style
    // counts as an unknown scheme.
    return 0;
}

TAdvGridButton::TAdvGridButton(QWidget* AOwner) : QWidget(AOwner)
{
    resize(22, 23);
    FIsComCtl6 = platform::PlatformInfo().IsComCtl6OrLater();
    setMouseTracking(true);
}

TAdvGridButton::~TAdvGridButton() = default;

void TAdvGridButton::Loaded()
{
    FLoading = false;
    if (FShaded)
        BuildShade();
    if (FAutoThemeAdapt)
        SetLook(CurrentXPColorScheme() ? CurrentXPColorScheme() + 1 : 1);
}

void TAdvGridButton::Click()
{
    if (OnClick)
        OnClick(this);
}

void TAdvGridButton::SetShaded(bool Value)
{
    FShaded = Value;
    if (Value && !FLoading)
        BuildShade();
}

void TAdvGridButton::SetMargin(int Value)
{
    if (FMargin != Value && Value >= -1) {
        FMargin = Value;
        update();
    }
}

void TAdvGridButton::SetDown(bool Value)
{
    if (FGroupIndex == 0 && FStyle == tasButton)
        Value = false;
    if (FStyle == tasCheck) {
        FDown = Value;
        update();
        return;
    }
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    if (Value) {
        if (FState == bsUp)
            update();
        FState = bsExclusive;
    } else {
        FState = bsUp;
        update();
    }
    if (Value)
        UpdateExclusive();
}

void TAdvGridButton::SetGlyph(const TBitmap& Value)
{
    FGlyph.Assign(Value);
    if (FGlyphDisabled.Empty() && !FGlyph.Empty()) {
        QImage img = FGlyph.Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) {
                const int v = (((qRed(line[x]) + qGreen(line[x]) + qBlue(line[x])) / 3) / 2 + 96) & 0xFF;
                line[x] = qRgb(v, v, v);
            }
        }
        FGlyphDisabled.SetImage(img);
    }
    update();
}

void TAdvGridButton::BuildShade()
{
    if (FGlyph.Empty()) {
        FGlyphShade.SetImage(QImage());
        return;
    }
    const QImage src = FGlyph.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = src.pixel(0, src.height() - 1) & 0xFFFFFF;
    QImage shade(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            shade.setPixel(x, y, (src.pixel(x, y) & 0xFFFFFF) != key ? qRgb(0x80, 0x80, 0x80) : qRgb(0, 0, 0));
    FGlyphShade.SetImage(shade);
}

void TAdvGridButton::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    if (Value)
        SetLook(CurrentXPColorScheme() ? CurrentXPColorScheme() + 1 : 1);
}

void TAdvGridButton::SetDropDownMenu(QMenu* Value)
{
    FDropDownMenu = Value;
    if (Value)
        QObject::connect(Value, &QObject::destroyed, this, [this, Value] {
            if (FDropDownMenu == Value)
                FDropDownMenu = nullptr;
        });
}

void TAdvGridButton::SetLook(int Look)
{
    struct Row {
        TColor color, colorTo, hot, hotTo, down, downTo, checked, checkedTo, borderDown, borderHot;
    };
    static const Row looks[] = {
        {15593969, 14674923, 16448764, 15068397, 14739175, 14213345, 16777215, clNone, 11507834, 12832462},
        {clBtnFace, clNone, 15651521, clNone, 14857624, clNone, 15263457, clNone, 12937777, 12937777},
        {16640730, 14986888, 13432063, 9556223, 5149182, 9360383, 9360383, 5615103, 0, 0},
        {13627626, 9224369, 13432063, 9556223, 5149182, 9360383, 9360383, 5615103, 0, 0},
        {15524577, 11769496, 13432063, 9556223, 5149182, 9360383, 9360383, 5615103, 0, 0},
        {clBtnFace, clNone, clBtnFace, clNone, 14210002, clNone, 13289415, clNone, clNone, clNone},
        {13303807, 10944511, 11071741, 8186364, 5103867, 8055292, 11921138, 10280429, 8421504, 8421504},
    };
    if (Look < 0 || Look > 6)
        return;
    FLook = Look;
    const Row& r = looks[Look];
    FColor = r.color;
    FColorTo = r.colorTo;
    FColorHot = r.hot;
    FColorHotTo = r.hotTo;
    FColorDown = r.down;
    FColorDownTo = r.downTo;
    FColorChecked = r.checked;
    FColorCheckedTo = r.checkedTo;
    FBorderDownColor = r.borderDown;
    FBorderHotColor = r.borderHot;
    if (Look == 0) {
        FRounded = true;
    } else {
        FBorderColor = clNone;
        FRounded = false;
    }
    FFlat = true;
    update();
}

// ---- group and tracking ----------------------------------------------------------------------

void TAdvGridButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || !parentWidget())
        return;
    for (TAdvGridButton* b : parentWidget()->findChildren<TAdvGridButton*>(Qt::FindDirectChildrenOnly))
        if (b != this)
            b->ButtonPressed(FGroupIndex, this);
}

void TAdvGridButton::ButtonPressed(int Group, TAdvGridButton* Sender)
{
    if (Group != FGroupIndex || Sender == this)
        return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = bsUp;
        update();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TAdvGridButton::UpdateTracking()
{
    if (!FFlat || !isEnabled())
        return;
    const bool over = rect().contains(mapFromGlobal(QCursor::pos())) && isVisible();
    FMouseInControl = !over;
    if (over)
        CMMouseEnter();
    else
        CMMouseLeave();
}

void TAdvGridButton::CMMouseEnter()
{
    if (isEnabled() && !QWidget::mouseGrabber()) {
        FMouseInControl = true;
        update();
    }
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TAdvGridButton::CMMouseLeave()
{
    FMouseInControl = false;
    if (!FDragging)
        update();
    if (OnMouseLeave)
        OnMouseLeave(this);
}

// ---- mouse -----------------------------------------------------------------------------------

void TAdvGridButton::MouseDown(Qt::MouseButton Button, int X, int /*Y*/)
{
    if (Button != Qt::LeftButton || !isEnabled())
        return;
    if (FDropDownButton && X >= width() - 12) {
        FState = bsUp;
        if (OnDropDown)
            OnDropDown(this);
        if (FDropDownMenu)
            FDropDownMenu->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (!FDown) {
        FState = bsDown;
        update();
    }
    if (FStyle == tasCheck) {
        FState = bsDown;
        repaint();
    }
    FDragging = true;
}

void TAdvGridButton::MouseMove(int X, int Y)
{
    if (FDragging) {
        TButtonState s = FDown ? bsExclusive : bsUp;
        if (X >= 0 && X < width() && Y >= 0 && Y < height())
            s = FDown ? bsExclusive : bsDown;
        if (FStyle == tasCheck && FDown)
            s = bsDown;
        if (s != FState) {
            FState = s;
            update();
        }
    } else if (!FMouseInControl) {
        UpdateTracking();
    }
}

void TAdvGridButton::MouseUp(Qt::MouseButton /*Button*/, int X, int Y)
{
    if (!FDragging)
        return;
    FDragging = false;
    const bool inside = X >= 0 && X <= width() && Y >= 0 && Y <= height();
    if (FGroupIndex == 0) {
        FState = bsUp;
        FMouseInControl = false;
        if (FStyle == tasCheck && inside) {
            SetDown(!FDown);
            FState = bsUp;
        }
        if (inside)
            update();
    } else if (inside) {
        SetDown(!FDown);
        if (FDown)
            update();
    } else {
        if (FDown)
            FState = bsExclusive;
        update();
    }
    if (inside)
        Click();
    UpdateTracking();
}

void TAdvGridButton::mousePressEvent(QMouseEvent* e)
{
    MouseDown(e->button(), int(e->position().x()), int(e->position().y()));
}

void TAdvGridButton::mouseMoveEvent(QMouseEvent* e) { MouseMove(int(e->position().x()), int(e->position().y())); }

void TAdvGridButton::mouseReleaseEvent(QMouseEvent* e)
{
    MouseUp(e->button(), int(e->position().x()), int(e->position().y()));
}

void TAdvGridButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    mousePressEvent(e);
    if (FDown && OnDblClick)
        OnDblClick(this);
}

void TAdvGridButton::enterEvent(QEnterEvent*) { CMMouseEnter(); }

void TAdvGridButton::leaveEvent(QEvent*) { CMMouseLeave(); }

void TAdvGridButton::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        UpdateTracking();
        update();
    }
    QWidget::changeEvent(e);
}

// ---- painting --------------------------------------------------------------------------------

void TAdvGridButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    TCanvas canvas(&painter);
    try {
        Paint(canvas);
    } catch (const std::exception&) {
    }
}

void TAdvGridButton::Paint(TCanvas& ACanvas)
{
    TRect r(0, 0, width(), height());
    if (!isEnabled()) {
        FState = bsDisabled;
        FDragging = false;
    } else if (FState == bsDisabled) {
        FState = (FDown && FGroupIndex != 0) ? bsExclusive : bsUp;
    }
    if (FStyle == tasCheck && FDown)
        FState = bsDown;
    ACanvas.SetFont(FFont);
    const bool hot = FMouseInControl && isEnabled();
    const bool downCheck = FStyle == tasCheck && FDown;

    if (FFlat) {
        if (FBorderDownColor == clNone || FRounded)
            InflateRect(r, -1, -1);
        if (!hot) {
            ACanvas.Pen().SetWidth(1);
            if (downCheck) {
                ACanvas.Pen().SetColor(FBorderDownColor);
                ACanvas.Brush().SetColor(FColorChecked);
                if (FColorCheckedTo == clNone) {
                    if (FBorderDownColor == clNone)
                        ACanvas.Pen().SetColor(FColorChecked);
                    ACanvas.Rectangle(r);
                } else {
                    DrawButtonGradient(ACanvas, FColorChecked, FColorCheckedTo, false, r, 16, FBorderDownColor);
                }
            } else {
                ACanvas.Brush().SetColor(FColor);
                if (FColorTo == clNone) {
                    ACanvas.FillRect(r);
                } else {
                    TColor pen = FDown ? FBorderDownColor : FBorderColor;
                    if (FRounded)
                        pen = clNone;
                    DrawButtonGradient(ACanvas, FColor, FColorTo, false, r, 16, pen);
                }
            }
            if (FBorderColor != clNone) {
                if (FRounded) {
                    InflateRect(r, 1, 1);
                    ACanvas.Pen().SetWidth(1);
                    ACanvas.Pen().SetColor(FBorderColor);
                    ACanvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
                } else {
                    ACanvas.Brush().SetStyle(bsClear);
                    ACanvas.Pen().SetColor(FBorderColor);
                    ACanvas.Rectangle(r);
                    ACanvas.Brush().SetStyle(bsSolid);
                }
            }
        } else {
            TColor brush = FColorHot, end = FColorHotTo, pen = FBorderHotColor;
            if (FState == bsDown) {
                brush = FColorDown;
                end = FColorDownTo;
                pen = FBorderDownColor;
            }
            if (downCheck && FState != bsDown) {
                brush = FColorChecked;
                end = FColorCheckedTo;
                pen = FBorderDownColor;
            }
            if (FRounded)
                pen = clNone;
            ACanvas.Pen().SetWidth(1);
            ACanvas.Brush().SetColor(brush);
            if (end == clNone) {
                ACanvas.Pen().SetColor(pen == clNone ? brush : pen);
                ACanvas.Rectangle(r);
            } else {
                DrawButtonGradient(ACanvas, brush, end, false, r, 16, pen);
            }
            const TColor outline = FState == bsDown ? FBorderDownColor : FBorderHotColor;
            if (FRounded) {
                InflateRect(r, 1, 1);
                ACanvas.Brush().SetStyle(bsClear);
                ACanvas.Pen().SetColor(outline);
                ACanvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, 8, 8);
                ACanvas.Brush().SetStyle(bsSolid);
            }
            if (FDropDownButton && outline != clNone) {
                ACanvas.Pen().SetColor(outline);
                ACanvas.MoveTo(r.Right - 12, r.Top);
                ACanvas.LineTo(r.Right - 12, r.Bottom);
            }
        }
        InflateRect(r, -1, -1);
    } else {
        const bool pushed = FState == bsDown || FState == bsExclusive;
        DrawFrameControl(ACanvas, r, DFC_BUTTON, pushed ? 0x2210 : 0x2010);
    }

    TPoint offset(0, 0);
    if (FState == bsDown || FState == bsExclusive) {
        if (FState == bsExclusive && (!FFlat || !hot)) {
            TRect g = r;
            InflateRect(g, 1, 1);
            const TColor pen = FDown ? FBorderDownColor : FBorderColor;
            ACanvas.Brush().SetColor(FColorChecked);
            if (FColorCheckedTo != clNone) {
                DrawButtonGradient(ACanvas, FColorChecked, FColorCheckedTo, false, g, 16, pen);
            } else {
                ACanvas.FillRect(g);
            }
        }
        if (!FFlat)
            offset = TPoint(1, 1);
    }
    if (FFlat && hot && FShaded && FState != bsDown)
        offset = TPoint(-1, -1);

    if (FDropDownButton) {
        const int m = r.Top + (r.Bottom - r.Top) / 2 - 1;
        ACanvas.Brush().SetColor(FFont.Color());
        ACanvas.Pen().SetColor(FFont.Color());
        ACanvas.Polygon({{r.Right - 8, m}, {r.Right - 4, m}, {r.Right - 6, m + 2}});
        r.Right -= 12;
    }
    DrawButtonContent(ACanvas, r, offset, (FDown && FGroupIndex != 0) ? bsDown : FState);
}

void TAdvGridButton::DrawButtonContent(TCanvas& ACanvas, TRect R, TPoint Offset, TButtonState AState)
{
    const bool hot = FMouseInControl && isEnabled();
    const bool pressed = AState == bsDown || AState == bsExclusive;
    const TBitmap* glyph = &FGlyph;
    if (hot && !pressed && !FGlyphHot.Empty())
        glyph = &FGlyphHot;
    if (pressed && !FGlyphDown.Empty())
        glyph = &FGlyphDown;
    if (!isEnabled() && !FGlyphDisabled.Empty())
        glyph = &FGlyphDisabled;

    const int cw = R.Right - R.Left, ch = R.Bottom - R.Top;
    const int gw = glyph->Width(), gh = glyph->Height();
    int tw = 0, th = 0;
    const QString caption = FShowCaption ? FCaption : QString();
    if (!caption.isEmpty()) {
        TRect m(0, 0, cw, 0);
        DrawText(ACanvas, caption, m, DT_CALCRECT | DT_SINGLELINE);
        tw = m.Right - m.Left;
        th = m.Bottom - m.Top;
    }
    const bool horizontal = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const int C = horizontal ? cw : ch, G = horizontal ? gw : gh, T = horizontal ? tw : th;
    int margin = FMargin, spacing = (caption.isEmpty() || glyph->Empty()) ? 0 : FSpacing;
    if (margin == -1 && spacing == -1) {
        margin = spacing = (C - G - T) / 3;
    } else if (margin == -1) {
        margin = (C - G - spacing - T + 1) / 2;
    } else if (spacing == -1) {
        spacing = (C - margin - G - T) / 2;
    }
    TPoint gp, tp;
    if (horizontal) {
        gp.Y = (ch - gh + 1) / 2;
        tp.Y = (ch - th + 1) / 2;
        if (FLayout == blGlyphLeft) {
            gp.X = margin;
            tp.X = margin + G + spacing;
        } else {
            gp.X = C - margin - G;
            tp.X = gp.X - spacing - T;
        }
    } else {
        gp.X = (cw - gw + 1) / 2;
        tp.X = (cw - tw + 1) / 2;
        if (FLayout == blGlyphTop) {
            gp.Y = margin;
            tp.Y = margin + G + spacing;
        } else {
            gp.Y = C - margin - G;
            tp.Y = gp.Y - spacing - T;
        }
    }
    gp.X += R.Left + Offset.X;
    gp.Y += R.Top + Offset.Y;
    tp.X += R.Left + Offset.X;
    tp.Y += R.Top + Offset.Y;
    if (caption.isEmpty())
        gp = TPoint(0, 0);

    if (!glyph->Empty()) {
        if (hot && FShaded && isEnabled() && AState != bsDown && !FGlyphShade.Empty()) {
            TBitmap shade(FGlyphShade);
            shade.SetTransparent(true);
            ACanvas.Draw(gp.X + 2, gp.Y + 2, shade);
        }
        TBitmap g(*glyph);
        g.SetTransparent(true);
        ACanvas.Draw(gp.X, gp.Y, g);
    }
    if (!caption.isEmpty()) {
        TRect tr(tp.X, tp.Y, tp.X + tw, tp.Y + th);
        if (FFlat && hot && FShaded && isEnabled() && !pressed)
            OffsetRect(tr, 1, 1);
        ACanvas.Brush().SetStyle(bsClear);
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!isEnabled()) {
            TRect hl = tr;
            OffsetRect(hl, 1, 1);
            ACanvas.Font().SetColor(clBtnHighlight);
            DrawText(ACanvas, caption, hl, flags);
            ACanvas.Font().SetColor(clBtnShadow);
        }
        DrawText(ACanvas, caption, tr, flags);
        ACanvas.Brush().SetStyle(bsSolid);
    }
}
