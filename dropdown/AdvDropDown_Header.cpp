// Header and footer of the drop-down pop-up: their settings objects, the button appearance, the
// strips themselves with their buttons and the footer's size grip.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/Services.h"
#include "platform/Property.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstring>

using namespace platform;

// ---- button items ------------------------------------------------------------------------------

void TDropDownStripButton::SetCaption(const QString& Value)
{
    if (!platform::Change(FCaption, Value))
        return;
    if (OnChanged)
        OnChanged(nullptr);
}

void TDropDownStripButton::SetEnabled(bool Value)
{
    if (!platform::Change(FEnabled, Value))
        return;
    if (OnChanged)
        OnChanged(nullptr);
}

void TDropDownStripButton::SetWidth(int Value)
{
    if (!platform::Change(FWidth, Value))
        return;
    if (OnChanged)
        OnChanged(nullptr);
}

void TDropDownStripButton::Assign(const TDropDownStripButton& Source)
{
    SetCaption(Source.FCaption);
    SetImageIndex(Source.FImageIndex);
    SetModalResult(Source.FModalResult);
    SetEnabled(Source.FEnabled);
    SetWidth(Source.FWidth);
    SetHeight(Source.FHeight);
}

void TDropDownStripButtons::Hook(TDropDownStripButton* item)
{
    item->OnChanged = [this](QObject*) {
        if (OnChange)
            OnChange(nullptr);
    };
}

TDropDownStripButton* TDropDownStripButtons::Add()
{
    return Insert(Count());
}

TDropDownStripButton* TDropDownStripButtons::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    auto item = std::make_unique<TDropDownStripButton>();
    Hook(item.get());
    TDropDownStripButton* p = item.get();
    FItems.insert(FItems.begin() + Index, std::move(item));
    return p;
}

void TDropDownStripButtons::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

void TDropDownStripButtons::Assign(const TDropDownStripButtons& Source)
{
    if (&Source == this)
        return;
    FItems.clear();
    for (const auto& src : Source.FItems) {
        TDropDownStripButton* item = Add();
        item->OnChanged = nullptr; // copying reports nothing
        item->Assign(*src);
        Hook(item);
    }
}

// ---- strip appearances -------------------------------------------------------------------------

TDropDownStripAppearance::TDropDownStripAppearance(bool footer) : FFooter(footer)
{
    // The header's font is named; the footer keeps the default face.
    if (!footer)
        FFont.SetName(QStringLiteral("Tahoma"));
    FButtons.OnChange = [this](QObject*) {
        if (OnButtonsChanged)
            OnButtonsChanged(nullptr);
    };
}

void TDropDownStripAppearance::Assign(const TDropDownStripAppearance& Source)
{
    if (&Source == this || Source.FFooter != FFooter)
        return;
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
    FBorderColor = Source.FBorderColor;
    FCaption = Source.FCaption;
    FFont.Assign(Source.FFont);
    FImageIndex = Source.FImageIndex;
    FBorderWidth = Source.FBorderWidth;
    FGradientDirection = Source.FGradientDirection;
    FSizeGrip = Source.FSizeGrip;
    FHeight = Source.FHeight;
    SetVisible(Source.FVisible);
    FButtonAlignment = Source.FButtonAlignment;
    FButtons.Assign(Source.FButtons);
}

void TDropDownStripAppearance::AssignColors(const TDropDownStripAppearance& Source)
{
    if (&Source == this || Source.FFooter != FFooter)
        return;
    FColor = Source.FColor;
    FColorTo = Source.FColorTo;
    FBorderColor = Source.FBorderColor;
    FFont.Assign(Source.FFont);
    FGradientDirection = Source.FGradientDirection;
}

void TDropDownStripAppearance::SetVisible(bool Value)
{
    if (!platform::Change(FVisible, Value))
        return;
    if (OnChange)
        OnChange(nullptr);
}

// ---- button appearance -------------------------------------------------------------------------

TAdvButtonAppearance::TAdvButtonAppearance()
{
    FFont.SetName(QStringLiteral("Tahoma"));
    FColors.BorderColor = clNone;
    FColors.BorderColorHot = 0x808080;
    FColors.BorderColorDown = 0x800000;
    FColors.BorderColorChecked = 0xFF0000;
    FColors.Color = clNone;
    FColors.ColorTo = clNone;
    FColors.ColorDown = 0xF5D8CA;
    FColors.ColorDownTo = 0xF9BDA0;
    FColors.ColorHot = 0xF5F0E1;
    FColors.ColorHotTo = 0xF9D2B2;
    FColors.ColorDisabled = 0xF2F2F2;
    FColors.ColorDisabledTo = clNone;
    // The checked face: the hot colours with red and green at 90 %.
    FColors.ColorChecked = ColorOffset(FColors.ColorHot, -10, -10, 0);
    FColors.ColorCheckedTo = ColorOffset(FColors.ColorHotTo, -10, -10, 0);
}

void TAdvButtonAppearance::Assign(const TAdvButtonAppearance& Source)
{
    if (&Source == this)
        return;
    SetColors(Source.FColors);
    SetBorderColorDisabled(Source.FBorderColorDisabled);
    SetGradient(Source.FGradient);
}

void TAdvButtonAppearance::SetColors(const TDropDownButtonAppearanceColors& Value)
{
    const bool changed = std::memcmp(&FColors, &Value, sizeof Value) != 0;
    FColors = Value;
    if (changed && OnChange)
        OnChange(nullptr);
}

void TAdvButtonAppearance::SetBorderColorDisabled(TColor Value)
{
    if (!platform::Change(FBorderColorDisabled, Value))
        return;
    if (OnChange)
        OnChange(nullptr);
}

void TAdvButtonAppearance::SetGradient(TGradientDirection Value)
{
    if (!platform::Change(FGradient, Value))
        return;
    if (OnChange)
        OnChange(nullptr);
}

// ---- header and footer buttons -----------------------------------------------------------------

TAdvButton::TAdvButton(QWidget* AOwner) : QWidget(AOwner)
{
    setGeometry(0, 0, 23, 22);
    setAttribute(Qt::WA_Hover);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void TAdvButton::SetDown(bool Value)
{
    // A plain button outside any group never stays down.
    if (FGroupIndex == 0 && FStyle == tasButton)
        Value = false;
    if (platform::Change(FDown, Value))
        update();
}

void TAdvButton::AdjustToContent()
{
    if (!FAppearance)
        return;
    TBitmap scratch(1, 1);
    scratch.Canvas().Font().Assign(FAppearance->Font());
    TSize sz = MeasureTextSize(scratch.Canvas(), FCaption);
    int w = sz.cx, h = sz.cy;
    if (FImages && FImageIndex >= 0) {
        w = std::max(w, FImages->Width());
        h = std::max(h, FImages->Height());
    }
    resize(w + 8, h + 4);
}

void TAdvButton::DrawButton(TCanvas& Canvas)
{
    if (!FAppearance)
        return;
    const TDropDownButtonAppearanceColors& a = FAppearance->Colors();
    TColor from, to, border;
    if (!isEnabled()) {
        from = a.ColorDisabled;
        to = a.ColorDisabledTo;
        border = FAppearance->BorderColorDisabled();
    } else if (FMouseDownInControl && FMouseInControl) {
        from = to = a.ColorDown;
        border = a.BorderColorDown;
    } else if (FDown) {
        from = to = a.ColorChecked;
        border = a.BorderColorChecked;
    } else if (FMouseInControl || hasFocus()) {
        from = to = a.ColorHot;
        border = a.BorderColorHot;
    } else {
        from = a.Color;
        to = a.ColorTo;
        border = a.BorderColor;
    }
    const TRect r(0, 0, width(), height());
    DrawDropDownRect(&Canvas, r, from, to, border, 1, FAppearance->Gradient());
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().Assign(FAppearance->Font());
    DrawDropDownContent(&Canvas, r, FCaption, FImages, FImageIndex);
}

void TAdvButton::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        DrawButton(canvas);
    } catch (...) {
    }
}

void TAdvButton::Click()
{
    QPointer<TAdvButton> self(this);
    for (QWidget* w = parentWidget(); w; w = w->parentWidget()) {
        if (auto* form = qobject_cast<TDropDownForm*>(w)) {
            form->SetModalResult(FModalResult);
            break;
        }
    }
    if (FAdvDropDown) {
        switch (FModalResult) {
        case mrOk:
        case mrYes:
        case mrAll:
        case mrYesToAll:
            FAdvDropDown->DoHideDropDown(false);
            break;
        case mrCancel:
        case mrAbort:
        case mrIgnore:
        case mrNo:
        case mrNoToAll:
            FAdvDropDown->DoHideDropDown(true);
            break;
        default:
            break;
        }
    }
    if (self && !FInternalClick && OnClick)
        OnClick(this);
}

void TAdvButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    FMouseDownInControl = true;
    FDragging = true;
    update();
}

void TAdvButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging)
        return;
    const QPoint p = event->position().toPoint();
    const bool inside = p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
    if (inside != FMouseInControl) {
        FMouseInControl = inside;
        update();
    }
}

void TAdvButton::mouseReleaseEvent(QMouseEvent* event)
{
    const bool wasDragging = FDragging;
    FMouseDownInControl = false;
    FDragging = false;
    update();
    if (!wasDragging || event->button() != Qt::LeftButton)
        return;
    if (rect().contains(event->position().toPoint())) {
        try {
            Click();
        } catch (...) {
        }
    }
}

void TAdvButton::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    FMouseInControl = true;
    update();
}

void TAdvButton::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    FMouseInControl = false;
    update();
}

void TAdvButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
        // A click from the keyboard sets the result and may close, but reports no click.
        FInternalClick = true;
        try {
            Click();
        } catch (...) {
        }
        FInternalClick = false;
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TAdvButton::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            FDragging = false;
        update();
    }
}

// ---- header and footer strips ------------------------------------------------------------------

TAdvDropDownStrip::TAdvDropDownStrip(QWidget* AOwner, bool footer) : QWidget(AOwner), FFooter(footer)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(footer);
    if (footer)
        FAppearance = std::make_unique<TFooterAppearance>();
    else
        FAppearance = std::make_unique<THeaderAppearance>();
    FAppearance->OnChange = [this](QObject*) { AppearanceChanged(); };
}

void TAdvDropDownStrip::AppearanceChanged()
{
    setVisible(FAppearance->Visible());
    resize(width(), FAppearance->Height());
}

void TAdvDropDownStrip::SetDropDown(TAdvCustomDropDown* Value)
{
    FAdvDropDown = Value;
    if (!Value) {
        FImages = nullptr;
        return;
    }
    FImages = Value->Images();
    FAppearance->Assign(FFooter ? static_cast<TDropDownStripAppearance&>(Value->DropDownFooter())
                                : static_cast<TDropDownStripAppearance&>(Value->DropDownHeader()));
    update();
}

TDropDownStripButtons* TAdvDropDownStrip::Buttons() const
{
    if (!FAdvDropDown)
        return nullptr;
    return FFooter ? &FAdvDropDown->DropDownFooter().Buttons() : &FAdvDropDown->DropDownHeader().Buttons();
}

void TAdvDropDownStrip::UpdateButtons()
{
    if (FAdvDropDown)
        CreateButtons();
}

void TAdvDropDownStrip::ClearButtons()
{
    // A button's own click handler may rebuild the buttons (renaming an item does): the buttons
    // leave the strip now and are freed once the event that runs the handler has ended.
    for (auto it = FButtonList.rbegin(); it != FButtonList.rend(); ++it) {
        (*it)->hide();
        (*it)->OnClick = nullptr;
        (*it)->deleteLater();
    }
    FButtonList.clear();
}

void TAdvDropDownStrip::CreateButtons()
{
    TDropDownStripButtons* items = Buttons();
    if (!items)
        return;
    ClearButtons();
    const int maxH = GetButtonArea().Height();
    for (int i = 0; i < items->Count(); ++i) {
        const TDropDownStripButton* item = items->Items(i);
        auto* b = new TAdvButton(this);
        b->SetAppearance(&FAdvDropDown->ButtonAppearance());
        b->SetCaption(item->Caption());
        b->SetImages(FImages);
        b->SetImageIndex(item->ImageIndex());
        b->setEnabled(item->Enabled());
        if (FFooter) {
            b->SetDropDown(FAdvDropDown);
            b->SetModalResult(item->ModalResult());
        }
        b->AdjustToContent();
        if (item->Width() > 0)
            b->resize(item->Width(), b->height());
        if (item->Height() > 0)
            b->resize(b->width(), item->Height());
        if (b->height() > maxH)
            b->resize(b->width(), std::max(0, maxH));
        b->SetTag(i);
        b->OnClick = [this](QObject* sender) { ButtonClick(sender); };
        b->show();
        FButtonList.push_back(b);
    }
    ArrangeButtons();
}

void TAdvDropDownStrip::RefreshButtons()
{
    TDropDownStripButtons* items = Buttons();
    if (!items)
        return;
    for (int i = 0; i < ButtonCount(); ++i) {
        TAdvButton* b = FButtonList[size_t(i)];
        b->SetAppearance(&FAdvDropDown->ButtonAppearance());
        b->SetImages(FImages);
        if (i < items->Count()) {
            b->SetCaption(items->Items(i)->Caption());
            b->SetImageIndex(items->Items(i)->ImageIndex());
            b->setEnabled(items->Items(i)->Enabled());
        }
    }
    ArrangeButtons();
}

bool TAdvDropDownStrip::HasSizeGrip() const
{
    return FFooter && FAppearance->SizeGrip() && FAdvDropDown && FAdvDropDown->DropDownSizeable();
}

TRect TAdvDropDownStrip::GetButtonArea() const
{
    TRect r(0, 0, width(), height());
    r.Left += 2;
    r.Top += 2;
    if (FFooter) {
        r.Bottom -= 2;
        r.Right -= HasSizeGrip() ? 14 : 2;
    } else {
        r.Right -= 2;
        r.Bottom -= 3;
    }
    return r;
}

void TAdvDropDownStrip::ArrangeButtons()
{
    if (FButtonList.empty())
        return;
    const TRect r = GetButtonArea();
    int x = FAppearance->ButtonAlignment() == baRight ? r.Right : r.Left;
    for (TAdvButton* b : FButtonList) {
        const int top = std::max(r.Top, (r.Bottom - b->height()) / 2);
        if (FAppearance->ButtonAlignment() == baRight) {
            b->move(x - b->width(), top);
            x = b->x();
        } else {
            b->move(x, top);
            x = b->x() + b->width();
        }
    }
}

TRect TAdvDropDownStrip::GetCaptionLimit() const
{
    if (FButtonList.empty())
        return TRect(-1, -1, -1, -1);
    TRect r = GetButtonArea();
    r.Right = FButtonList.back()->x() - 2;
    return r;
}

void TAdvDropDownStrip::ButtonClick(QObject* Sender)
{
    auto* b = qobject_cast<TAdvButton*>(Sender);
    if (!b || !FAdvDropDown)
        return;
    const TDropDownButtonItemClick& handler =
        FFooter ? FAdvDropDown->OnDropDownFooterButtonClick : FAdvDropDown->OnDropDownHeaderButtonClick;
    if (handler)
        handler(FAdvDropDown, b->Tag());
}

void TAdvDropDownStrip::DrawSizeGrip(TCanvas& Canvas, const TRect& R)
{
    const int L = R.Left, B = R.Bottom;
    struct Dot {
        int x1, y1, x2, y2;
    };
    const Dot light[6] = {{5, -2, 7, -4},   {9, -2, 11, -4},  {13, -2, 15, -4},
                          {13, -6, 15, -8}, {13, -10, 15, -12}, {9, -6, 11, -8}};
    const TColor lightColor = BlendColor(clWhite, clWhite, 50);
    const TColor darkColor = FAppearance->BorderColor();
    for (int pass = 0; pass < 2; ++pass) {
        const TColor c = pass == 0 ? lightColor : darkColor;
        if (c == clNone)
            continue;
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetWidth(1);
        Canvas.Pen().SetColor(c);
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(c);
        const int d = pass == 0 ? 0 : -1; // the dark dots sit one pixel up and left
        for (const Dot& p : light)
            Canvas.Rectangle(L + p.x1 + d, B + std::min(p.y1, p.y2) + d, L + p.x2 + d, B + std::max(p.y1, p.y2) + d);
    }
}

void TAdvDropDownStrip::PaintTo(TCanvas& Canvas)
{
    const TDropDownStripAppearance& a = *FAppearance;
    TRect R(0, 0, width(), height());
    if (OnDrawBackGround) {
        OnDrawBackGround(this, Canvas, R);
        return;
    }
    if (a.ColorTo() == clNone) {
        if (a.Color() != clNone) {
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(a.Color());
            Canvas.FillRect(R);
        }
    } else {
        DrawDropDownGradient(Canvas, a.Color(), a.ColorTo(), 80, R, a.GradientDirection() == gdHorizontal);
    }
    const int bw = a.BorderWidth();
    if (a.BorderColor() != clNone && bw > 0) {
        Canvas.Pen().SetStyle(psSolid);
        Canvas.Pen().SetWidth(bw);
        Canvas.Pen().SetColor(a.BorderColor());
        const bool ownBorder = FAdvDropDown && FAdvDropDown->DropDownBorderWidth() > 0 &&
                               FAdvDropDown->DropDownBorderColor() != clNone;
        if (!FFooter) {
            Canvas.MoveTo(R.Left, R.Bottom - 1);
            Canvas.LineTo(R.Right, R.Bottom - 1);
            if (!ownBorder) {
                Canvas.MoveTo(R.Left, R.Bottom - 1);
                Canvas.LineTo(R.Left, R.Top);
                Canvas.LineTo(R.Right, R.Top);
                Canvas.MoveTo(R.Right, R.Top);
                Canvas.LineTo(R.Right, R.Bottom - 1);
            }
        } else {
            Canvas.MoveTo(R.Left, R.Top);
            Canvas.LineTo(R.Right, R.Top);
            if (!ownBorder) {
                Canvas.MoveTo(R.Left, R.Top);
                Canvas.LineTo(R.Left, R.Bottom);
                Canvas.MoveTo(R.Left, R.Bottom);
                Canvas.LineTo(R.Right, R.Bottom);
                Canvas.MoveTo(R.Right, R.Bottom);
                Canvas.LineTo(R.Right, R.Top);
            }
        }
        Canvas.Pen().SetWidth(1);
        Canvas.Brush().SetStyle(bsClear);
        Canvas.Pen().SetColor(BlendColor(a.BorderColor(), clWhite, 20));
        TRect inner = R;
        if (FFooter)
            inner.Top += bw;
        else
            inner.Bottom -= bw;
        Canvas.Rectangle(inner);
    }
    TRect T = R;
    InflateRect(T, -bw, -bw);
    if (a.ImageIndex() >= 0 && FImages) {
        FImages->Draw(Canvas, T.Left + 4, T.Top + (T.Height() - FImages->Height()) / 2, a.ImageIndex(), true);
        T.Left += FImages->Width() + 8;
    }
    QString text = a.Caption();
    if (OnGetText)
        OnGetText(this, text);
    if (!text.isEmpty()) {
        if (!FButtonList.empty())
            T.Right = GetCaptionLimit().Right;
        Canvas.Font().Assign(a.Font());
        Canvas.Brush().SetStyle(bsClear);
        const TSize sz = DrawMarkupCaption(Canvas, text, T, FImages, false, this);
        if (sz.cy < T.Height())
            T.Top += (T.Height() - sz.cy) / 2;
        DrawMarkupCaption(Canvas, text, T, FImages, true, this);
    }
    if (HasSizeGrip())
        DrawSizeGrip(Canvas, TRect(R.Right - bw - 16, 1, R.Right - bw - 1, R.Bottom));
}

void TAdvDropDownStrip::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintTo(canvas);
    } catch (...) {
    }
}

void TAdvDropDownStrip::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ArrangeButtons();
}

bool TAdvDropDownStrip::InSizingZone(int X, int Y) const
{
    return HasSizeGrip() && X > width() - 12 && Y > height() - 15;
}

void TAdvDropDownStrip::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton && InSizingZone(p.x(), p.y())) {
        if (auto* form = qobject_cast<TDropDownForm*>(parentWidget())) {
            FSizing = true;
            form->BeginSizing(event->globalPosition().toPoint());
        }
    }
}

void TAdvDropDownStrip::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (FSizing) {
        if (auto* form = qobject_cast<TDropDownForm*>(parentWidget()))
            form->SizeTo(event->globalPosition().toPoint());
        return;
    }
    if (InSizingZone(p.x(), p.y()))
        setCursor(Qt::SizeFDiagCursor);
    else
        unsetCursor();
}

void TAdvDropDownStrip::mouseReleaseEvent(QMouseEvent*)
{
    if (FSizing) {
        FSizing = false;
        if (auto* form = qobject_cast<TDropDownForm*>(parentWidget()))
            form->EndSizing();
    }
    unsetCursor();
}
