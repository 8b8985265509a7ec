// The item selector: items, item appearance, the panel's layout, painting and pointer handling,
// and the outer scrolling control.
#include "dropdown/AdvDropDown_Selector.h"

#include "dropdown/AdvDropDown_Edit.h"

#include "platform/SysUtils.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"
#include "platform/Property.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>

using namespace platform;

// ---- items -------------------------------------------------------------------------------------

void TSelectorItem::Assign(const TSelectorItem& Source)
{
    SetCaption(Source.FCaption);
    SetColor(Source.FColor);
    SetImageIndex(Source.FImageIndex);
    FImage.Assign(Source.FImage);
    FEnabled = Source.FEnabled;
    FHint = Source.FHint;
}

// ---- item appearance ---------------------------------------------------------------------------

TItemAppearance::TItemAppearance(QObject* AOwner) : FOwner(AOwner)
{
    ColorMirrorHotTo = BorderColor = ColorMirrorHot = ColorSelectedTo = ColorSelected = EdgeColor = ColorHotTo =
        BorderColorBottom = ColorHot = BorderColorTop = ColorMirrorSelectedTo = ColorMirrorSelected = clNone;
    FFont.SetName(QStringLiteral("Tahoma"));
    SetColorStyle(scOffice2007);
    ColorSelectedText = 0x000000;
    ColorHotText = 0x000000;
    BorderColorHot = clNone;
    BorderColorSelected = clNone;
}

void TItemAppearance::SetColorStyle(TSelectionColorStyle Value)
{
    if (!platform::Change(FColorStyle, Value))
        return;
    switch (Value) {
    case scOffice2007:
        ColorHot = 0xD7FFFD;
        ColorHotTo = 0x58D4FC;
        ColorMirrorHot = 0x58D4FC;
        ColorMirrorHotTo = 0xB3F1FC;
        BorderColorTop = 0xF4FEFF;
        BorderColorBottom = 0xCAF8FF;
        BorderColor = 0x8DD7D3;
        EdgeColor = 0xC3D9DF;
        ColorSelected = 0xA6FFFB;
        ColorSelectedTo = 0x04B9F4;
        ColorMirrorSelected = 0x15C1FB;
        ColorMirrorSelectedTo = 0x68E3F9;
        break;
    case scWindowsVista:
        ColorHot = 0xFDF8F1;
        ColorHotTo = 0xFCEFD5;
        ColorMirrorHot = clNone;
        ColorMirrorHotTo = clNone;
        BorderColorTop = 0xFDFBF6;
        BorderColorBottom = 0xFDF5E7;
        BorderColor = 0xFDDE99;
        EdgeColor = 0xFCEDCB;
        ColorSelected = 0xFAEEDE;
        ColorSelectedTo = 0xFAE3B4;
        ColorMirrorSelected = clNone;
        ColorMirrorSelectedTo = clNone;
        break;
    case scWindows7:
        ColorHot = 0xFCEBDC;
        ColorHotTo = 0xFCDBC1;
        ColorMirrorHot = clNone;
        ColorMirrorHotTo = clNone;
        BorderColorTop = 0xFDF4EB;
        BorderColorBottom = 0xFDEADB;
        BorderColor = 0xCEA27D;
        EdgeColor = 0xE0C5AE;
        ColorSelected = 0xF9D8B9;
        ColorSelectedTo = 0xFBCAA2;
        ColorMirrorSelected = clNone;
        ColorMirrorSelectedTo = clNone;
        break;
    case scCustom:
        break;
    }
}

void TItemAppearance::Assign(const TItemAppearance& Source)
{
    if (&Source == this)
        return;
    // The style goes first so that its presets never overwrite the colours copied after it.
    SetColorStyle(Source.FColorStyle);
    ColorMirrorHotTo = Source.ColorMirrorHotTo;
    BorderColor = Source.BorderColor;
    ColorMirrorHot = Source.ColorMirrorHot;
    ColorSelectedTo = Source.ColorSelectedTo;
    ColorSelected = Source.ColorSelected;
    EdgeColor = Source.EdgeColor;
    ColorHotTo = Source.ColorHotTo;
    BorderColorBottom = Source.BorderColorBottom;
    ColorHot = Source.ColorHot;
    BorderColorTop = Source.BorderColorTop;
    ColorMirrorSelectedTo = Source.ColorMirrorSelectedTo;
    ColorMirrorSelected = Source.ColorMirrorSelected;
    FFont.Assign(Source.FFont);
    ColorSelectedText = Source.ColorSelectedText;
    BorderColorHot = Source.BorderColorHot;
    BorderColorSelected = Source.BorderColorSelected;
}

// ---- the panel ---------------------------------------------------------------------------------

namespace {

QWidget* CheckedSelectorOwner(QWidget* owner)
{
    if (!qobject_cast<TAdvCustomItemSelector*>(owner))
        throw Exception(QStringLiteral("Invalid parent"));
    return owner;
}

} // namespace

TCustomItemSelector::TCustomItemSelector(QWidget* AOwner)
    : QWidget(CheckedSelectorOwner(AOwner)), FAdvItemSelector(static_cast<TAdvCustomItemSelector*>(AOwner))
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int TCustomItemSelector::Columns() const { return FAdvItemSelector->Columns(); }
TSelectorItems& TCustomItemSelector::Items() const { return FAdvItemSelector->Items(); }
TSelectorType TCustomItemSelector::SelectorType() const { return FAdvItemSelector->SelectorType(); }
TItemLayout TCustomItemSelector::ItemLayout() const { return FAdvItemSelector->ItemLayout(); }
TCustomImageList* TCustomItemSelector::Images() const { return FAdvItemSelector->Images(); }
int TCustomItemSelector::ColorBoxHeight() const { return FAdvItemSelector->ColorBoxHeight(); }
int TCustomItemSelector::ColorBoxWidth() const { return FAdvItemSelector->ColorBoxWidth(); }
TSelectionColorStyle TCustomItemSelector::ItemColorStyle() const
{
    return FAdvItemSelector->ItemAppearance().ColorStyle();
}
TColor TCustomItemSelector::ItemColorHot() const { return FAdvItemSelector->ItemAppearance().ColorHot; }
TColor TCustomItemSelector::ItemColorHotTo() const { return FAdvItemSelector->ItemAppearance().ColorHotTo; }
TColor TCustomItemSelector::ItemColorSelected() const { return FAdvItemSelector->ItemAppearance().ColorSelected; }
TColor TCustomItemSelector::ItemColorSelectedTo() const
{
    return FAdvItemSelector->ItemAppearance().ColorSelectedTo;
}

void TCustomItemSelector::GetItemArea(TRect& R) const
{
    R = TRect(FOffSetX, FOffSetY, width() - FOffSetX, height() - FOffSetY);
}

void TCustomItemSelector::GetItemSize(TSize& Size)
{
    if (FAdvItemSelector->OnItemSize) {
        FAdvItemSelector->OnItemSize(this, Size);
        return;
    }
    int bw = 0, bh = 0;
    if (SelectorType() == stColor) {
        bw = ColorBoxWidth();
        bh = ColorBoxHeight();
    }
    TCanvas canvas;
    canvas.SetFont(FAdvItemSelector->ItemAppearance().Font());
    int cw = 0, ch = 0;
    TSelectorItems& items = Items();
    TCustomImageList* images = Images();
    for (int i = 0; i < items.Count(); ++i) {
        const TSelectorItem* item = items.Items(i);
        if (SelectorType() == stImage) {
            if (!item->Image().Empty()) {
                bw = std::max(bw, item->Image().Width());
                bh = std::max(bh, item->Image().Height());
            } else if (images && item->ImageIndex() >= 0) {
                bw = std::max(bw, images->Width());
                bh = std::max(bh, images->Height());
            }
        }
        const TSize c = DrawMarkupCaption(canvas, item->Caption(), TRect(0, 0, 1000, 500), images, false, this);
        cw = std::max(cw, c.cx);
        ch = std::max(ch, c.cy);
    }
    if (cw > 0)
        cw += 4;
    switch (ItemLayout()) {
    case ilCaptionLeft:
    case ilCaptionRight:
        Size.cx = 2 * FItemOffSetX + (bw > 0 ? bw : 0) + (bw > 0 && cw > 0 ? FCaptionGap : 0) + (cw > 0 ? cw : 0);
        Size.cy = std::max(ch, bh) + 2 * FItemOffSetY;
        break;
    case ilCaptionTop:
    case ilCaptionBottom:
        Size.cx = std::max(cw, bw) + 2 * FItemOffSetX;
        Size.cy = 2 * FItemOffSetY + (bh > 0 ? bh : 0) + (bh > 0 && ch >= 1 ? FCaptionGap : 0) + (ch >= 1 ? ch : 0);
        break;
    }
}

void TCustomItemSelector::UpdateLayout()
{
    TSelectorItems& items = Items();
    if (items.Count() == 0) {
        resize(100, 50);
        return;
    }
    FItemHot = -1;
    TSize size;
    GetItemSize(size);
    const int W = size.cx, H = size.cy;
    TRect A;
    GetItemArea(A);
    int x = A.Left, y = A.Top, col = 0, maxX = 0;
    const int columns = std::max(1, Columns());
    for (int i = 0; i < items.Count(); ++i) {
        items.Items(i)->FRect = TRect(x, y, x + W, y + H);
        ++col;
        if (i == items.Count() - 1)
            break;
        if (col < columns) {
            x += W;
        } else {
            maxX = std::max(maxX, x);
            y += H;
            x = A.Left;
            col = 0;
        }
    }
    resize(std::max(0, std::max(maxX, x) + W + A.Left), std::max(0, y + H + A.Top));
    update();
}

int TCustomItemSelector::ItemAtPos(int X, int Y) const
{
    TSelectorItems& items = Items();
    for (int i = 0; i < items.Count(); ++i)
        if (PtInRect(items.Items(i)->FRect, TPoint(X, Y)))
            return i;
    return -1;
}

TRect TCustomItemSelector::GetItemRect(int Index) const
{
    const TSelectorItem* item = Items().Items(Index);
    return item ? item->FRect : TRect(-1, -1, -1, -1);
}

void TCustomItemSelector::InvalidateItem(int Index)
{
    const TSelectorItem* item = Items().Items(Index);
    if (item)
        update(QRect(item->FRect.Left, item->FRect.Top, item->FRect.Width(), item->FRect.Height()));
}

void TCustomItemSelector::SetItemIndex(int Value)
{
    const TSelectorItem* item = Items().Items(Value);
    if (item && !item->FEnabled)
        return;
    if (FItemIndex >= 0 && Value != FItemIndex) {
        const int old = FItemIndex;
        FItemIndex = -1;
        InvalidateItem(old);
    }
    FItemIndex = Value;
    if (Value < 0)
        return;
    // Drawn at once: the next paint shows it.
    InvalidateItem(Value);
    if (OnItemSelect)
        OnItemSelect(this);
}

void TCustomItemSelector::SetItemHot(int Index)
{
    const TSelectorItem* item = Items().Items(Index);
    if (Index == FItemHot || (item && !item->FEnabled))
        return;
    if (FItemHot >= 0) {
        const int old = FItemHot;
        FItemHot = -1;
        InvalidateItem(old);
    }
    FItemHot = Index;
    if (Index >= 0)
        InvalidateItem(Index);
}

void TCustomItemSelector::SelectFirst()
{
    if (Items().Count() > 0)
        SetItemIndex(0);
}

void TCustomItemSelector::SelectLast()
{
    if (Items().Count() > 0)
        SetItemIndex(Items().Count() - 1);
}

void TCustomItemSelector::SelectNext()
{
    if (Items().Count() == 0)
        return;
    const int candidate = FItemIndex < 0 ? 0 : FItemIndex + 1;
    if (candidate < Items().Count())
        SetItemIndex(candidate);
}

void TCustomItemSelector::SelectPrevious()
{
    if (Items().Count() == 0)
        return;
    const int candidate = FItemIndex < 0 ? 0 : FItemIndex - 1;
    if (candidate >= 0)
        SetItemIndex(candidate);
}

void TCustomItemSelector::HotNext()
{
    if (Items().Count() == 0)
        return;
    const int candidate = FItemHot < 0 ? 0 : FItemHot + 1;
    if (candidate < Items().Count())
        SetItemHot(candidate);
}

void TCustomItemSelector::HotPrevious()
{
    if (Items().Count() == 0)
        return;
    const int candidate = FItemHot < 0 ? 0 : FItemHot - 1;
    if (candidate >= 0)
        SetItemHot(candidate);
}

bool TCustomItemSelector::LookupItem(const QString& S)
{
    // An empty search text would match every item: it finds nothing.
    if (S.isEmpty())
        return false;
    TSelectorItems& items = Items();
    for (int i = 0; i < items.Count(); ++i) {
        const QString plain = CaseText(MarkupToPlainText(items.Items(i)->Caption()).trimmed(), false);
        if (plain.startsWith(S)) {
            SetItemIndex(i);
            return true;
        }
    }
    return false;
}

void TCustomItemSelector::DrawItems(TCanvas& Canvas)
{
    for (int i = 0; i < Items().Count(); ++i)
        DrawItem(i, Canvas);
}

void TCustomItemSelector::DrawItem(int Index, TCanvas& Canvas)
{
    TSelectorItem* item = Items().Items(Index);
    if (!item || !FAdvItemSelector)
        return;
    TRect R = item->FRect;
    if (R.Left < 0 && R.Right < 0)
        return;
    const TItemAppearance& a = FAdvItemSelector->ItemAppearance();
    const TColor panelColor = FAdvItemSelector->Color();
    TColor border = a.BorderColor, topLine = a.BorderColorTop, bottomLine = a.BorderColorBottom, edge = a.EdgeColor;
    TColor face1 = clNone, face2 = clNone, mirror1 = clNone, mirror2 = clNone;
    const bool hot = Index == FItemHot;
    const bool selected = Index == FItemIndex;
    if (hot) {
        face1 = a.ColorHot;
        face2 = a.ColorHotTo;
        mirror1 = a.ColorMirrorHot;
        mirror2 = a.ColorMirrorHotTo;
        if (a.BorderColorHot != clNone) {
            border = a.BorderColorHot;
            topLine = bottomLine = edge = clNone;
        }
    }
    if (selected) {
        face1 = a.ColorSelected;
        face2 = a.ColorSelectedTo;
        mirror1 = a.ColorMirrorSelected;
        mirror2 = a.ColorMirrorSelectedTo;
        if (a.BorderColorSelected != clNone) {
            border = a.BorderColorSelected;
            topLine = bottomLine = edge = clNone;
        }
    }
    if (!hot && !selected) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(panelColor);
        Canvas.FillRect(R);
    } else if (topLine == clNone) {
        DrawDropDownRect(&Canvas, R, face1, face2, border, 1, gdVertical);
    } else {
        DrawTabShape(Canvas, face1, face2, mirror1, mirror2, topLine, bottomLine, border, edge, panelColor, R, 0);
    }
    if (FAdvItemSelector->OnDrawItem) {
        FAdvItemSelector->OnDrawItem(this, Canvas, R, Index);
        return;
    }

    // What stands beside the caption: a colour box, the item's picture or an image of the list.
    TCustomImageList* images = Images();
    const bool colorBox = SelectorType() == stColor;
    const bool picture = !colorBox && !item->Image().Empty();
    const bool listImage = !colorBox && !picture && images && item->ImageIndex() >= 0;
    int w = 0, h = 0;
    if (colorBox) {
        w = ColorBoxWidth();
        h = ColorBoxHeight();
    } else if (picture) {
        w = item->Image().Width();
        h = item->Image().Height();
    } else if (listImage) {
        w = images->Width();
        h = images->Height();
    }
    const bool content = colorBox || picture || listImage;
    auto drawContent = [&](int x, int y) {
        if (colorBox) {
            Canvas.Pen().SetStyle(psSolid);
            Canvas.Pen().SetWidth(1);
            Canvas.Pen().SetColor(clBlack);
            Canvas.Brush().SetStyle(bsSolid);
            Canvas.Brush().SetColor(item->Color() == clNone ? panelColor : item->Color());
            if (item->Color() == clNone)
                Canvas.Brush().SetStyle(bsClear);
            Canvas.Rectangle(x, y, x + w, y + h);
        } else if (picture) {
            Canvas.Draw(x, y, item->Image().Graphic());
        } else if (listImage) {
            images->Draw(Canvas, x, y, item->ImageIndex(), item->FEnabled);
        }
    };

    TRect T = R;
    T.Left += FItemOffSetX;
    T.Right -= FItemOffSetX;
    T.Top += FItemOffSetY;
    T.Bottom -= FItemOffSetY;
    TRect P = T;
    Canvas.SetFont(a.Font());
    if (selected)
        Canvas.Font().SetColor(a.ColorSelectedText);
    else if (hot)
        Canvas.Font().SetColor(a.ColorHotText);
    Canvas.Brush().SetStyle(bsClear);
    const QString caption = item->Caption();
    auto centredCaption = [&](TRect& r) -> TSize {
        const TSize m = DrawMarkupCaption(Canvas, caption, r, images, false, this);
        if (m.cy < r.Height())
            r.Top += (r.Height() - m.cy) / 2;
        DrawMarkupCaption(Canvas, caption, r, images, true, this);
        return m;
    };
    const int vCentre = P.Top + (P.Height() - h) / 2;

    switch (ItemLayout()) {
    case ilCaptionLeft: {
        if (!caption.isEmpty()) {
            T.Right -= w;
            const TSize m = centredCaption(T);
            P.Left = T.Left + m.cx + FCaptionGap;
        }
        if (content)
            drawContent(P.Left, colorBox ? P.Top : vCentre);
        break;
    }
    case ilCaptionRight:
        if (content) {
            drawContent(P.Left, colorBox ? P.Top : vCentre);
            T.Left = P.Left + w + FCaptionGap;
        }
        if (!caption.isEmpty())
            centredCaption(T);
        break;
    case ilCaptionTop:
        P.Left += (P.Width() - w) / 2;
        if (!caption.isEmpty()) {
            T.Bottom -= h;
            const TSize m = DrawMarkupCaption(Canvas, caption, T, images, true, this);
            P.Top = T.Top + m.cy + FCaptionGap;
        } else {
            P.Top += (P.Height() - h) / 2;
        }
        if (content)
            drawContent(P.Left, P.Top);
        break;
    case ilCaptionBottom:
        if (caption.isEmpty())
            P.Top += (P.Height() - h) / 2;
        P.Left += (P.Width() - w) / 2;
        if (content) {
            drawContent(P.Left, P.Top);
            T.Top = P.Top + h + FCaptionGap;
        }
        if (!caption.isEmpty())
            DrawMarkupCaption(Canvas, caption, T, images, true, this);
        break;
    }
}

void TCustomItemSelector::paintEvent(QPaintEvent* event)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        canvas.Brush().SetColor(FAdvItemSelector->Color());
        const QRect exposed = event->rect();
        canvas.FillRect(TRect(exposed.left(), exposed.top(), exposed.left() + exposed.width(),
                              exposed.top() + exposed.height()));
        // Only the cells the paint reaches: a long list scrolls a small window over a tall panel.
        TSelectorItems& items = Items();
        for (int i = 0; i < items.Count(); ++i) {
            const TRect& r = items.Items(i)->FRect;
            if (exposed.intersects(QRect(r.Left, r.Top, r.Width(), r.Height())))
                DrawItem(i, canvas);
        }
    } catch (...) {
    }
}

void TCustomItemSelector::mousePressEvent(QMouseEvent* event)
{
    QWidget::mousePressEvent(event);
    try {
        const QPoint p = event->position().toPoint();
        const int i = ItemAtPos(p.x(), p.y());
        const TSelectorItem* item = Items().Items(i);
        if (item && item->FEnabled)
            SetItemIndex(i);
    } catch (...) {
    }
}

void TCustomItemSelector::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    try {
        const QPoint p = event->position().toPoint();
        const int i = ItemAtPos(p.x(), p.y());
        const TSelectorItem* item = Items().Items(i);
        if (item && i != FItemHot) {
            SetItemHot(item->FEnabled ? i : -1);
            setToolTip(item->Hint());
            QToolTip::hideText();
        } else if (!item && FItemHot >= 0) {
            SetItemHot(-1);
        }
    } catch (...) {
    }
}

void TCustomItemSelector::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (FItemHot >= 0)
        SetItemHot(-1);
}

// ---- the outer selector ------------------------------------------------------------------------

TAdvCustomItemSelector::TAdvCustomItemSelector(QWidget* AOwner) : QScrollArea(AOwner)
{
    FItems = std::make_unique<TSelectorItems>(this);
    FItems->OnChange = [this](QObject*) { UpdateSelectorPanel(); };
    FItemAppearance = std::make_unique<TItemAppearance>(this);
    FItemAppearance->OnChange = [](QObject*) {};
    setWidgetResizable(false);
    setFrameShape(QFrame::NoFrame);
    SetColor(FColor);
    CreateSelectorPanel();
    UpdateSelectorPanel();
}

TAdvCustomItemSelector::~TAdvCustomItemSelector()
{
    // The panel reads the items while it goes; it goes first.
    delete takeWidget();
    FItemSelectorPanel = nullptr;
}

void TAdvCustomItemSelector::CreateSelectorPanel()
{
    if (FItemSelectorPanel)
        return;
    FItemSelectorPanel = new TCustomItemSelector(this);
    FItemSelectorPanel->OnItemSelect = [this](QObject*) {
        if (OnItemSelect)
            OnItemSelect(this);
    };
    setWidget(FItemSelectorPanel);
}

void TAdvCustomItemSelector::UpdateSelectorPanel()
{
    if (FItemSelectorPanel)
        FItemSelectorPanel->UpdateLayout();
}

void TAdvCustomItemSelector::SetSelectorType(TSelectorType Value)
{
    if (platform::Change(FSelectorType, Value))
        UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColumns(int Value)
{
    if (Value <= 0 || FColumns == Value)
        return;
    FColumns = Value;
    UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxWidth(int Value)
{
    if (platform::Change(FColorBoxWidth, Value))
        UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColorBoxHeight(int Value)
{
    if (platform::Change(FColorBoxHeight, Value))
        UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetImages(TCustomImageList* Value)
{
    if (platform::Change(FImages, Value))
        UpdateSelectorPanel();
}

void TAdvCustomItemSelector::SetColor(TColor Value)
{
    FColor = Value;
    QPalette p = viewport()->palette();
    p.setColor(QPalette::Window, ToQColor(Value));
    viewport()->setPalette(p);
    viewport()->setAutoFillBackground(true);
    if (FItemSelectorPanel)
        FItemSelectorPanel->update();
}

int TAdvCustomItemSelector::ItemIndex() const
{
    return FItemSelectorPanel ? FItemSelectorPanel->ItemIndex() : -1;
}

void TAdvCustomItemSelector::SetItemIndex(int Value)
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SetItemIndex(Value);
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

int TAdvCustomItemSelector::ItemHot() const
{
    return FItemSelectorPanel ? FItemSelectorPanel->ItemHot() : -1;
}

void TAdvCustomItemSelector::SelectFirst()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SelectFirst();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectLast()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SelectLast();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectNext()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SelectNext();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TAdvCustomItemSelector::SelectPrevious()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->SelectPrevious();
    ScrollItemInView(FItemSelectorPanel->ItemIndex());
}

void TAdvCustomItemSelector::HotNext()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->HotNext();
    ScrollItemInView(FItemSelectorPanel->ItemHot());
}

void TAdvCustomItemSelector::HotPrevious()
{
    if (!FItemSelectorPanel)
        return;
    FItemSelectorPanel->HotPrevious();
    ScrollItemInView(FItemSelectorPanel->ItemHot());
}

bool TAdvCustomItemSelector::LookupItem(const QString& S)
{
    return FItemSelectorPanel ? FItemSelectorPanel->LookupItem(S) : false;
}

void TAdvCustomItemSelector::ScrollItemInView(int Index)
{
    QScrollBar* bar = verticalScrollBar();
    if (!FItemSelectorPanel || !FItems->Items(Index) || bar->maximum() <= 0 ||
        verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
        return;
    TRect R = FItemSelectorPanel->GetItemRect(Index);
    R.Top -= FScrollMargin;
    R.Bottom += FScrollMargin;
    OffsetRect(R, FItemSelectorPanel->x(), FItemSelectorPanel->y());
    const int clientHeight = viewport()->height();
    if (R.Top < 0) {
        bar->setValue(bar->value() + R.Top);
    } else if (R.Bottom > clientHeight) {
        if (R.Height() > clientHeight)
            R.Bottom = R.Top + clientHeight;
        bar->setValue(bar->value() + R.Bottom - clientHeight);
    }
}

int TAdvCustomItemSelector::GetVisibleItemCount() const
{
    if (!FItemSelectorPanel || FItems->Count() == 0)
        return 0;
    int h = height();
    // The horizontal scroll bar is taken as 20 pixels high.
    if (horizontalScrollBar()->maximum() > 0 && horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        h -= 20;
    const int itemHeight = FItems->Items(0)->FRect.Height();
    if (itemHeight <= 0)
        return 0;
    return (h / itemHeight) * FColumns;
}

void TAdvCustomItemSelector::GetSelectorSize(TSize& Size) const
{
    if (!FItemSelectorPanel) {
        Size = TSize(100, 50);
        return;
    }
    Size = TSize(FItemSelectorPanel->width(), FItemSelectorPanel->height());
}

// ---- item colours of a component style ---------------------------------------------------------

void TAdvCustomDropDown::ApplyItemAppearanceStyle(TItemAppearance* Appearance, TOrlexStyle AStyle)
{
    if (!Appearance || AStyle == tsCustom || int(AStyle) < 0 || int(AStyle) > 15)
        return;
    TItemAppearance& a = *Appearance;
    a.BorderColorHot = clNone;
    a.BorderColorSelected = clNone;
    a.ColorSelectedText = 0;
    a.ColorHotText = 0;
    auto faces = [&](TColor hot, TColor hotTo, TColor mHot, TColor mHotTo, TColor sel, TColor selTo, TColor mSel,
                     TColor mSelTo, TColor border) {
        a.ColorHot = hot;
        a.ColorHotTo = hotTo;
        a.ColorMirrorHot = mHot;
        a.ColorMirrorHotTo = mHotTo;
        a.ColorSelected = sel;
        a.ColorSelectedTo = selTo;
        a.ColorMirrorSelected = mSel;
        a.ColorMirrorSelectedTo = mSelTo;
        a.BorderColor = border;
        a.BorderColorTop = clNone;
        a.BorderColorBottom = clNone;
        a.EdgeColor = clNone;
    };
    switch (AStyle) {
    case tsOffice2003Blue:
    case tsOffice2003Silver:
    case tsOffice2003Olive:
    case tsWhidbey:
        faces(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE);
        break;
    case tsOffice2007Luna:
    case tsOffice2007Obsidian:
    case tsOffice2007Silver:
        faces(0xEBFDFF, 0xACECFF, 0x59DAFF, 0xA4E9FF, 0xAAD9FF, 0x6EBBFF, 0x42AEFE, 0x7AE1FE, 0x42AEFE);
        a.BorderColorTop = 0xF4FEFF;
        a.BorderColorBottom = 0xCAF8FF;
        a.EdgeColor = 0xC3D9DF;
        break;
    case tsOffice2003Classic:
        faces(0xD2BDB6, 0xD2BDB6, clNone, clNone, 0xB59285, 0xB59285, clNone, clNone, 0x808080);
        break;
    case tsWindowsXP:
        faces(0xEFD3C6, 0xEFD3C6, clNone, clNone, clHighlight, clNone, clNone, clNone, clHighlight);
        a.ColorSelectedText = clHighlightText;
        break;
    case tsWindowsVista:
        faces(0xFFFDF9, 0xFFFAF0, clNone, clNone, 0xFEF9F0, 0xFDF0D7, clNone, clNone, 0xFEDF9A);
        a.BorderColorTop = 0xFDFBF6;
        a.BorderColorBottom = 0xFDF5E7;
        a.EdgeColor = 0xFCEDCB;
        break;
    case tsWindows7:
        faces(0xFDFBFA, 0xFDF3EB, clNone, clNone, 0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xCEA27D);
        a.BorderColorTop = 0xFDF4EB;
        a.BorderColorBottom = 0xFDEADB;
        a.EdgeColor = 0xE0C5AE;
        break;
    case tsTerminal:
        faces(0xC0C0C0, 0xC0C0C0, clNone, clNone, clHighlight, clNone, clNone, clNone, 0x808080);
        a.ColorSelectedText = clHighlightText;
        break;
    case tsOffice2010Blue:
    case tsOffice2010Silver:
    case tsOffice2010Black:
        faces(0xD9F9FD, 0x8AE3FD, 0x8AE3FD, 0xD9F9FD, 0x7BEEFF, 0x6CD0FF, 0x6CD0FF, 0x7BEEFF, 0x308AC2);
        break;
    case tsCustom:
        break;
    }
}
