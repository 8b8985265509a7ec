// The palette, the colour cube and the spectrum of the colour picker's pop-up.
#include "dropdown/AdvColorPickerDropDown_Panels.h"
#include "platform/Property.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <stdexcept>

void TAdvCustomColorSelectorPanel::PaintBackground(TCanvas& Canvas)
{
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FColor);
    Canvas.FillRect(TRect(0, 0, width(), height()));
}

void TAdvCustomColorSelectorPanel::Picked()
{
    update();
    if (OnSelect)
        OnSelect(this);
}

// ---- palette items ------------------------------------------------------------------------------

void TColorBoxItem::SetColor(TColor Value)
{
    if (!platform::Change(FColor, Value))
        return;
    if (FCollection && FCollection->OnChange)
        FCollection->OnChange(FCollection->GetOwner());
}

void TColorBoxItem::Assign(const TColorBoxItem& Source)
{
    FColor = Source.FColor;
    FEnabled = Source.FEnabled;
}

TColorBoxItem* TColorBoxItems::Add()
{
    FItems.push_back(std::make_unique<TColorBoxItem>(this));
    return FItems.back().get();
}

TColorBoxItem* TColorBoxItems::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    FItems.insert(FItems.begin() + Index, std::make_unique<TColorBoxItem>(this));
    return FItems[size_t(Index)].get();
}

TColorBoxItem* TColorBoxItems::Items(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw std::out_of_range(QStringLiteral("List index out of bounds (%1)").arg(Index).toStdString());
    return FItems[size_t(Index)].get();
}

void TColorBoxItems::Assign(const TColorBoxItems& Source)
{
    if (&Source == this)
        return;
    FItems.clear();
    for (const auto& s : Source.FItems) {
        TColorBoxItem* d = Add();
        d->Assign(*s);
        d->SetColorBoxPos(s->ColorBoxPos());
    }
}

// ---- palette ------------------------------------------------------------------------------------

TCustomColorSelector::TCustomColorSelector(QWidget* AOwner)
    : TAdvCustomColorSelectorPanel(AOwner), FItems(std::make_unique<TColorBoxItems>(this))
{
    setMouseTracking(true);
    resize(100, 50);
}

void TCustomColorSelector::AddDefaultColors()
{
    static const TColor colors[6][10] = {
        {0xFFFFFF, 0x000000, 0xE1ECEE, 0x7D491F, 0xBD814F, 0x4D50C0, 0x59BB9B, 0xA26480, 0xC6AC4B, 0x4696F7},
        {0xF2F2F2, 0x7F7F7F, 0xC3D9DD, 0xDACEC2, 0xF1E5DB, 0xDBDCF2, 0xDDF1EB, 0xECE0E5, 0xF3EEDB, 0xDAEAFD},
        {0xD8D8D8, 0x595959, 0x97BDC4, 0xE2B38D, 0xE4CCB8, 0xB7B9E5, 0xBCE3D7, 0xD9C1CC, 0xE8DDB7, 0xB5D5FB},
        {0xBFBFBF, 0x3F3F3F, 0x538993, 0xD48D54, 0xD7B395, 0x9496D9, 0x9BD6C3, 0xC7A2B2, 0xDCCD92, 0x8FC0FA},
        {0xA5A5A5, 0x262626, 0x294449, 0x5D3617, 0x926036, 0x343795, 0x3C9276, 0x7A495F, 0x9B8531, 0x096CE3},
        {0x7F7F7F, 0x0C0C0C, 0x101B1D, 0x3E240F, 0x614024, 0x232463, 0x28614F, 0x51313F, 0x675820, 0x064897},
    };
    static const TItemPos pos[6] = {ipStandAlone, ipTop, ipMiddle, ipMiddle, ipMiddle, ipBottom};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 10; ++c) {
            TColorBoxItem* item = FItems->Add();
            item->SetColor(colors[r][c]);
            item->SetColorBoxPos(pos[r]);
        }
}

void TCustomColorSelector::SetColumns(int Value)
{
    if (platform::Change(FColumns, Value))
        SetItemsPosition();
}

void TCustomColorSelector::SetColumnGap(int Value)
{
    if (platform::Change(FColumnGap, Value))
        SetItemsPosition();
}

void TCustomColorSelector::SetColorBoxWidth(int Value)
{
    if (platform::Change(FColorBoxWidth, Value))
        SetItemsPosition();
}

void TCustomColorSelector::SetColorBoxHeight(int Value)
{
    if (platform::Change(FColorBoxHeight, Value))
        SetItemsPosition();
}

void TCustomColorSelector::SetItemColorStyle(TSelectionColorStyle Value)
{
    FItemColorStyle = Value;
    if (Value == scCustom)
        return;
    FColorBoxAppearance.OuterBorderColorSelected = 0x0000FF;
    FColorBoxAppearance.InnerBorderColorSelected = 0x94E2FF;
    FColorBoxAppearance.OuterBorderColorHot = 0x3694F2;
    FColorBoxAppearance.InnerBorderColorHot = 0x94E2FF;
    FColorBoxAppearance.BorderColor = 0xC5C5C5;
    update();
}

void TCustomColorSelector::SetItemsPosition()
{
    const int n = FItems->Count();
    if (n == 0) {
        resize(100, 50);
        return;
    }
    FHotIndex = -1;
    const int x0 = FOffSetX, y0 = FOffSetY;
    int x = x0, y = y0, maxX = x0, inRow = 0;
    bool rowStandAlone = false;
    for (int i = 0; i < n; ++i) {
        TColorBoxItem* item = FItems->Items(i);
        item->SetRect(Bounds(x, y, FColorBoxWidth, FColorBoxHeight));
        maxX = std::max(maxX, x);
        rowStandAlone = rowStandAlone || item->ColorBoxPos() == ipStandAlone;
        ++inRow;
        if (i == n - 1)
            break;
        if (inRow >= FColumns) {
            y += FColorBoxHeight + (rowStandAlone ? FColumnGap : 0);
            x = x0;
            inRow = 0;
            rowStandAlone = false;
        } else {
            x += FColorBoxWidth + FColumnGap;
        }
    }
    resize(maxX + FColorBoxWidth + FOffSetX + 1, y + FColorBoxHeight + FOffSetY);
    update();
}

void TCustomColorSelector::SetItemIndex(int Value)
{
    // An index past the boxes names no box: ignore it rather than fail.
    if (Value >= FItems->Count())
        return;
    if (Value >= 0 && !FItems->Items(Value)->Enabled())
        return;
    FItemIndex = Value < 0 ? -1 : Value;
    update();
    if (FItemIndex >= 0) {
        FSelectedColor = FItems->Items(FItemIndex)->Color();
        if (OnItemSelect)
            OnItemSelect(this);
    }
}

void TCustomColorSelector::SetSelectedColor(TColor Value)
{
    if (!platform::Change(FSelectedColor, Value))
        return;
    int found = -1;
    if (Value != clNone)
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->Color() == Value) {
                found = i;
                break;
            }
    SetItemIndex(found);
}

int TCustomColorSelector::ItemAtPos(int X, int Y) const
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (PtInRect(FItems->Items(i)->Rect(), TPoint(X, Y)))
            return i;
    return -1;
}

void TCustomColorSelector::SetHotIndex(int Index)
{
    if (Index >= 0 && !FItems->Items(Index)->Enabled())
        Index = -1;
    if (Index == FHotIndex)
        return;
    FHotIndex = Index;
    update();
}

void TCustomColorSelector::HotNext()
{
    const int next = FHotIndex < 0 ? 0 : FHotIndex + 1;
    if (next < FItems->Count())
        SetHotIndex(next);
}

void TCustomColorSelector::HotPrevious()
{
    if (FHotIndex - 1 >= 0)
        SetHotIndex(FHotIndex - 1);
}

void TCustomColorSelector::HandleKey(Word Key, bool EditorEnabled, bool DroppedDown)
{
    if (!isEnabled() || Key < 33 || Key > 40)
        return;
    const int n = FItems->Count();
    if (n == 0)
        return;
    auto previous = [&] {
        if (FItemIndex > 0)
            SetItemIndex(FItemIndex - 1);
    };
    auto next = [&] {
        const int i = FItemIndex < 0 ? 0 : FItemIndex + 1;
        if (i < n)
            SetItemIndex(i);
    };
    switch (Key) {
    case VK_NEXT:
    case VK_END: SetItemIndex(n - 1); break;
    case VK_PRIOR:
    case VK_HOME: SetItemIndex(0); break;
    case VK_LEFT:
        if (DroppedDown || !EditorEnabled)
            previous();
        break;
    case VK_RIGHT:
        if (DroppedDown || !EditorEnabled)
            next();
        break;
    case VK_UP:
        if (!DroppedDown)
            previous();
        else {
            const int i = FItemIndex < 0 ? 0 : FItemIndex - FColumns;
            if (i >= 0)
                SetItemIndex(i);
        }
        break;
    case VK_DOWN:
        if (!DroppedDown)
            next();
        else {
            const int i = FItemIndex < 0 ? 0 : FItemIndex + FColumns;
            if (i < n)
                SetItemIndex(i);
        }
        break;
    default: break;
    }
}

void TCustomColorSelector::DrawItem(TCanvas& Canvas, int Index)
{
    const TColorBoxItem* item = FItems->Items(Index);
    TRect r = item->Rect();
    if (item->Color() != clNone) {
        Canvas.Brush().SetStyle(bsSolid);
        Canvas.Brush().SetColor(item->Color());
        Canvas.Pen().SetColor(item->Color());
        Canvas.Rectangle(r);
    }
    const bool selected = Index == FItemIndex;
    const bool hot = Index == FHotIndex;
    if (selected || hot) {
        const TColor outer = selected ? FColorBoxAppearance.OuterBorderColorSelected : FColorBoxAppearance.OuterBorderColorHot;
        const TColor inner = selected ? FColorBoxAppearance.InnerBorderColorSelected : FColorBoxAppearance.InnerBorderColorHot;
        Canvas.Brush().SetStyle(bsClear);
        if (outer != clNone) {
            Canvas.Pen().SetColor(outer);
            Canvas.Rectangle(r);
        }
        InflateRect(r, -1, -1);
        if (inner != clNone) {
            Canvas.Pen().SetColor(inner);
            Canvas.Rectangle(r);
        }
        return;
    }
    Canvas.Pen().SetColor(FColorBoxAppearance.BorderColor);
    const int L = r.Left, T = r.Top, R = r.Right - 1, B = r.Bottom - 1;
    switch (item->ColorBoxPos()) {
    case ipStandAlone:
        Canvas.Brush().SetStyle(bsClear);
        Canvas.Rectangle(item->Rect());
        break;
    case ipTop:
        Canvas.MoveTo(L, B + 1);
        Canvas.LineTo(L, T);
        Canvas.LineTo(R, T);
        Canvas.LineTo(R, B + 1);
        break;
    case ipMiddle:
        Canvas.MoveTo(L, T);
        Canvas.LineTo(L, B + 1);
        Canvas.MoveTo(R, T);
        Canvas.LineTo(R, B + 1);
        break;
    case ipBottom:
        Canvas.MoveTo(L, T);
        Canvas.LineTo(L, B);
        Canvas.LineTo(R, B);
        Canvas.MoveTo(R, T);
        Canvas.LineTo(R, B + 1);
        break;
    }
}

void TCustomColorSelector::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintBackground(canvas);
        for (int i = 0; i < FItems->Count(); ++i)
            DrawItem(canvas, i);
    } catch (...) {
    }
}

void TCustomColorSelector::mousePressEvent(QMouseEvent* event)
{
    try {
        const int i = ItemAtPos(int(event->position().x()), int(event->position().y()));
        if (i >= 0 && FItems->Items(i)->Enabled())
            SetItemIndex(i);
    } catch (...) {
    }
}

void TCustomColorSelector::mouseMoveEvent(QMouseEvent* event)
{
    try {
        SetHotIndex(ItemAtPos(int(event->position().x()), int(event->position().y())));
    } catch (...) {
    }
}

void TCustomColorSelector::leaveEvent(QEvent*)
{
    SetHotIndex(-1);
}

// ---- colour cube ----------------------------------------------------------------------------------

TAdvColorCubePanel::TAdvColorCubePanel(QWidget* AOwner) : TAdvCustomColorSelectorPanel(AOwner)
{
    setMouseTracking(true);
    SetupCells();
    SetPanelSize();
}

void TAdvColorCubePanel::SetupCells()
{
    static const TColor colors[127] = {
        0x663300, 0x996633, 0xCC6633, 0x993300, 0x990000, 0xCC0000, 0x660000,
        0x666600, 0x996600, 0xCC9900, 0xCC6600, 0xCC3300, 0xFF0000, 0xFF3333, 0x993333,
        0x808000, 0x999900, 0xCCCC33, 0xFFCC00, 0xFF9900, 0xFF6600, 0xFF6633, 0xCC3333, 0x996666,
        0x669933, 0x99CC00, 0xCCFF00, 0xFFFF00, 0xFFCC33, 0xFF9933, 0xFF9966, 0xFF6666, 0xFF0066, 0xCC0066,
        0x339933, 0x66CC00, 0x99FF00, 0xCCFF66, 0xFFFF66, 0xFFCC66, 0xFFCC99, 0xFF9999, 0xFF6699, 0xFF3399, 0xFF0099,
        0x006600, 0x00CC00, 0x00FF00, 0x99FF66, 0xCCFF99, 0xFFFFCC, 0xFFECCC, 0xFFCCCC, 0xFF99CC, 0xFF66CC, 0xFF00CC,
        0xCC0099,
        0x003300, 0x008000, 0x33CC33, 0x66FF66, 0x99FF99, 0xCCFFCC, 0xFFFFFF, 0xFFCCFF, 0xFF99FF, 0xFF66FF, 0xFF00FF,
        0xCC00CC, 0x660066,
        0x006633, 0x009900, 0x33FF66, 0x66FF99, 0x99FFCC, 0xCCFFFF, 0xCCCCFF, 0xCC99FF, 0xCC66FF, 0xCC33FF, 0x9900CC,
        0x800080,
        0x003333, 0x009966, 0x33FF99, 0x66FFCC, 0x99FFFF, 0x99CCFF, 0x9999FF, 0x9966FF, 0x9933FF, 0x9933CC, 0x990099,
        0x336666, 0x00CC99, 0x33FFCC, 0x66FFFF, 0x66CCFF, 0x6699FF, 0x807CFF, 0x6600FF, 0x9300D6, 0x663399,
        0x008080, 0x00CCCC, 0x00FFFF, 0x00CCFF, 0x3399FF, 0x0066FF, 0x5050FF, 0x6600CC, 0x330066,
        0x336699, 0x0099CC, 0x0099FF, 0x0066CC, 0x0033FF, 0x0000FF, 0x0000CC, 0x330099,
        0x003366, 0x006699, 0x0033CC, 0x003399, 0x000099, 0x000080, 0x2100A5,
    };
    FCubeCells.assign(128, TCubeCell());
    int n = 1;
    for (int r = 1; r <= 13; ++r) {
        const int count = r <= 7 ? 6 + r : 20 - r;
        const int x0 = r <= 7 ? 55 - 6 * (r - 1) : 19 + 6 * (r - 7);
        for (int i = 0; i < count; ++i, ++n) {
            FCubeCells[size_t(n)].X = x0 + 12 * i;
            FCubeCells[size_t(n)].Y = 20 + 10 * (r - 1);
            FCubeCells[size_t(n)].Color = colors[n - 1];
        }
    }
    // The selection follows the colour into the renewed cells.
    SetSelectedColor(FSelectedColor);
}

void TAdvColorCubePanel::SetSelectedColor(TColor Value)
{
    FSelectedColor = Value;
    FSelectedIndex = -1;
    for (int i = 1; i < int(FCubeCells.size()); ++i)
        if (FCubeCells[size_t(i)].Color == Value) {
            FSelectedIndex = i;
            break;
        }
    update();
}

void TAdvColorCubePanel::SetShowRGBHint(bool Value)
{
    FShowRGBHint = Value;
    setAttribute(Qt::WA_AlwaysShowToolTips, Value);
}

int TAdvColorCubePanel::PtOnColor(int X, int Y) const
{
    const int r2 = FCubeSize.X * FCubeSize.X;
    for (int i = 1; i < int(FCubeCells.size()); ++i) {
        const int dx = X - FCubeCells[size_t(i)].X, dy = Y - FCubeCells[size_t(i)].Y;
        if (dx * dx + dy * dy <= r2)
            return i;
    }
    return -1;
}

QString TAdvColorCubePanel::RGBHint(TColor Color)
{
    return QStringLiteral("Red: %1,  Green: %2,  Blue: %3")
        .arg(GetRValue(Color))
        .arg(GetGValue(Color))
        .arg((Color >> 16) & 0xFF);
}

void TAdvColorCubePanel::DrawHexagon(TCanvas& Canvas, int Index, int A, int B)
{
    const TCubeCell& c = FCubeCells[size_t(Index)];
    Canvas.Polygon({TPoint(c.X - A, c.Y - B), TPoint(c.X, c.Y - 2 * B), TPoint(c.X + A, c.Y - B),
                    TPoint(c.X + A, c.Y + B), TPoint(c.X, c.Y + 2 * B), TPoint(c.X - A, c.Y + B)});
}

void TAdvColorCubePanel::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintBackground(canvas);
        canvas.Pen().SetStyle(psSolid);
        for (int i = 1; i < int(FCubeCells.size()); ++i) {
            canvas.Brush().SetStyle(bsSolid);
            canvas.Brush().SetColor(FCubeCells[size_t(i)].Color);
            canvas.Pen().SetColor(FCubeCells[size_t(i)].Color);
            DrawHexagon(canvas, i, FCubeSize.X, FCubeSize.Y);
        }
        auto frame = [&](int index, TColor outer) {
            if (index < 1 || index >= int(FCubeCells.size()))
                return;
            canvas.Brush().SetStyle(bsClear);
            canvas.Pen().SetColor(outer);
            DrawHexagon(canvas, index, 5, 3);
            canvas.Pen().SetColor(clWhite);
            DrawHexagon(canvas, index, 4, 2);
        };
        frame(FHotIndex, 0x0000FF);
        frame(FSelectedIndex, clBlack);
    } catch (...) {
    }
}

void TAdvColorCubePanel::mouseMoveEvent(QMouseEvent* event)
{
    try {
        const int i = PtOnColor(int(event->position().x()), int(event->position().y()));
        if (i < 0) {
            if (FShowRGBHint)
                setToolTip(QString());
            return;
        }
        if (i == FHotIndex)
            return;
        FHotIndex = i;
        update();
        if (FShowRGBHint) {
            setToolTip(RGBHint(FCubeCells[size_t(i)].Color));
            QToolTip::hideText();
        }
    } catch (...) {
    }
}

void TAdvColorCubePanel::mousePressEvent(QMouseEvent* event)
{
    try {
        const int i = PtOnColor(int(event->position().x()), int(event->position().y()));
        if (i < 0)
            return;
        FSelectedColor = FCubeCells[size_t(i)].Color;
        FSelectedIndex = i;
        Picked();
    } catch (...) {
    }
}

// ---- spectrum -------------------------------------------------------------------------------------

TAdvColorSpectrumPanel::TAdvColorSpectrumPanel(QWidget* AOwner) : TAdvCustomColorSelectorPanel(AOwner)
{
    FSelectedColor = 0xFFFFFF;
    setMouseTracking(true);
    try {
        FSpectrum.LoadFromResourceName(QStringLiteral("ORLEX_SPECTRUM"));
    } catch (...) {
        // Without the picture the panel still shows its frames and boxes.
    }
    SetItemsPosition();
}

QCursor TAdvColorSpectrumPanel::SpectrumCursor()
{
    TBitmap b;
    try {
        b.LoadFromResourceName(QStringLiteral("ORLEX_POINTER"));
    } catch (...) {
        return QCursor(Qt::CrossCursor);
    }
    b.SetTransparent(true);
    const QImage img = b.ToImage();
    return QCursor(QPixmap::fromImage(img), img.width() / 2, img.height() / 2);
}

void TAdvColorSpectrumPanel::SetItemsPosition()
{
    resize(150, 174);
    const int left = (150 - 128) / 2, top = 10;
    FImageRect = Bounds(left, top, 128, 128);
    FSelectedRect = TRect(left - 1, FImageRect.Bottom + 8, left + 128 / 2 - 2, FImageRect.Bottom + 28);
    FHotRect = TRect(FSelectedRect.Right + 4, FSelectedRect.Top, left + 128 + 1, FSelectedRect.Bottom);
    FHotColor = clNone;
    update();
}

TColor TAdvColorSpectrumPanel::PixelAt(int X, int Y) const
{
    const QImage img = FSpectrum.ToImage();
    const int x = X - FImageRect.Left, y = Y - FImageRect.Top;
    if (img.isNull() || x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return clNone;
    return FromQColor(img.pixelColor(x, y));
}

void TAdvColorSpectrumPanel::paintEvent(QPaintEvent*)
{
    try {
        QPainter painter(this);
        TCanvas canvas(&painter);
        PaintBackground(canvas);
        canvas.Draw(FImageRect.Left, FImageRect.Top, FSpectrum);
        canvas.Brush().SetStyle(bsClear);
        canvas.Pen().SetStyle(psSolid);
        TRect r = FImageRect;
        InflateRect(r, 1, 1);
        canvas.Pen().SetColor(clWhite);
        canvas.Rectangle(r);
        InflateRect(r, 1, 1);
        canvas.Pen().SetColor(0x808080);
        canvas.Rectangle(r);
        for (const auto& [box, color] : {std::pair{FSelectedRect, FSelectedColor}, std::pair{FHotRect, FHotColor}}) {
            TRect o = box;
            InflateRect(o, 1, 1);
            canvas.Brush().SetStyle(bsClear);
            canvas.Pen().SetColor(0x808080);
            canvas.Rectangle(o);
            canvas.Pen().SetColor(clWhite);
            if (color != clNone) {
                canvas.Brush().SetColor(color);
                canvas.Brush().SetStyle(bsSolid);
            }
            canvas.Rectangle(box);
        }
    } catch (...) {
    }
}

void TAdvColorSpectrumPanel::mouseMoveEvent(QMouseEvent* event)
{
    try {
        const TPoint p(int(event->position().x()), int(event->position().y()));
        if (!PtInRect(FImageRect, p)) {
            unsetCursor();
            return;
        }
        setCursor(SpectrumCursor());
        FHotColor = PixelAt(p.X, p.Y);
        update();
    } catch (...) {
    }
}

void TAdvColorSpectrumPanel::mousePressEvent(QMouseEvent* event)
{
    try {
        const TPoint p(int(event->position().x()), int(event->position().y()));
        if (!PtInRect(FImageRect, p))
            return;
        FHotColor = PixelAt(p.X, p.Y);
        FSelectedColor = FHotColor;
        Picked();
    } catch (...) {
    }
}
