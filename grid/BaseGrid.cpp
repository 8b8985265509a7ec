#include "grid/BaseGrid.h"

#include "grid/UndoRedo.h"
#include "render/RuvOdid.h"
#include "platform/Property.h"

#include <QWidget>
#include <algorithm>

// ---- TCellProperties -------------------------------------------------------------------------

TCellProperties::TCellProperties(TBaseGrid* AOwner, int ACol, int ARow)
    : FOwnerGrid(AOwner)
{
    FOwnerCol = ACol;
    FOwnerRow = ARow;
    if (AOwner) {
        FWordWrap = AOwner->FWordWrap;
        AOwner->FHasCellProps = true;
    }
}

void TCellProperties::Assign(const TCellProperties& Source)
{
    TCellPropertiesValues::operator=(Source);
}

void TCellProperties::ApplyFont(TFont& AFont) const
{
    if (FFontColor != clNone)
        AFont.SetColor(FFontColor);
    if (FFontStyle != TFontStyles())
        AFont.SetStyle(FFontStyle);
    if (FFontSize != 0)
        AFont.SetSize(FFontSize);
    if (!FFontName.isEmpty())
        AFont.SetName(FFontName);
}

void TCellProperties::Repaint()
{
    if (FOwnerGrid)
        FOwnerGrid->RepaintCell(FOwnerGrid->DisplColIndex(FOwnerCol), FOwnerRow);
}

void TCellProperties::SetBrushColor(TColor Value)
{
    FBrushColor = Value;
    Repaint();
}

void TCellProperties::SetBrushColorTo(TColor Value)
{
    FBrushColorTo = Value;
    Repaint();
}

void TCellProperties::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    Repaint();
}

void TCellProperties::SetWordWrap(bool Value)
{
    FWordWrap = Value;
    Repaint();
}

TPoint TCellProperties::GetBaseCell(int c, int r) const
{
    if (!FIsBaseCell && FCellSpanX != -1 && FCellSpanY != -1)
        return {c - FCellSpanX, r - FCellSpanY};
    return {c, r};
}

// ---- TBaseGrid: construction -----------------------------------------------------------------

TBaseGrid::TBaseGrid(QWidget* AOwner) : TObjStringGrid(AOwner)
{
    // This class draws the lines and the cells itself.
    SetGridLineWidth(1);
    SetDefaultDrawing(false);
}

TBaseGrid::~TBaseGrid()
{
    FDestroying = true;
    FreeAllCellProperties();
}

void TBaseGrid::CheckIndexes(int ACol, int ARow)
{
    if (ACol < 0)
        throw ZUzeRodoRediv(QStringLiteral("Invalid column accessed"));
    if (ARow < 0)
        throw ZUzeRodoRediv(QStringLiteral("Invalid row accessed"));
}

TCellProperties* TBaseGrid::StoredProperties(int c, int r) const
{
    if (c < 0 || r < 0)
        return nullptr;
    return dynamic_cast<TCellProperties*>(TStringGrid::Objects(c, r).get());
}

// ---- cell text -------------------------------------------------------------------------------

QString TBaseGrid::GetCellEx(int c, int r) const
{
    if (c < 0 || r < 0)
        return QString();
    int bx = c, by = r;
    if (const TCellProperties* p = CellPropertiesOf(c, r)) {
        const TPoint b = p->GetBaseCell(c, r);
        if (b.X >= 0 && b.Y >= 0) {
            bx = b.X;
            by = b.Y;
        }
    }
    QString text = TStringGrid::Cells(bx, by);
    if (by < FNormalRowCount) {
        // The display hooks may fire events; they do not change the store.
        auto* self = const_cast<TBaseGrid*>(this);
        self->GetDisplText(bx, by, text);
        if (OnGetDisplWideText) {
            QString wide = DecodeUnicodeCell(text);
            self->GetDisplWideText(bx, by, wide);
            text = EncodeUnicodeCell(wide);
        }
    }
    return text;
}

void TBaseGrid::SetCellEx(int c, int r, const QString& Value)
{
    CheckIndexes(c, r);
    if (const TCellProperties* p = CellPropertiesOf(c, r)) {
        TPoint b = p->GetBaseCell(c, r);
        if (b.X < 0 || b.Y < 0)
            b = {c, r};
        TStringGrid::SetCells(b.X, b.Y, Value);
        CellTextChanged(b.X, b.Y);
        // The store repaints the cell at its stored column; the cell shows at its displayed one,
        // and a merged range or a cell control shows beyond it.
        RepaintCell(DisplColIndex(c), r);
    } else {
        TStringGrid::SetCells(c, r, Value);
        // A plain cell shown where it is stored was repainted by the store, whose rectangle takes
        // in the grid line too; one shown at another column (hidden columns before it) is
        // repainted there.
        const int dc = DisplColIndex(c);
        if (dc != c)
            RepaintCell(dc, r);
    }
    if (FHideLastRow && r == RowCount() - 1)
        LastRowChanged();
}

QString TBaseGrid::GetGridCell(int c, int r) const { return TStringGrid::Cells(c, r); }

void TBaseGrid::SetGridCell(int c, int r, const QString& Value)
{
    CheckIndexes(c, r);
    TStringGrid::SetCells(c, r, Value);
}

TGridObject TBaseGrid::GetGridObject(int c, int r) const { return TStringGrid::Objects(c, r); }

void TBaseGrid::SetGridObject(int c, int r, TGridObject Value)
{
    CheckIndexes(c, r);
    TStringGrid::SetObjects(c, r, std::move(Value));
}

// ---- cell properties -------------------------------------------------------------------------

bool TBaseGrid::HasCellProperties(int ACol, int ARow) const
{
    return CellPropertiesOf(ACol, ARow) != nullptr;
}

TCellProperties* TBaseGrid::CellPropertiesOf(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ACol >= TotalColCount() || ARow >= RowCount())
        return nullptr;
    return StoredProperties(ACol, ARow);
}

TCellProperties* TBaseGrid::GetCellProperties(int c, int r)
{
    CheckIndexes(c, r);
    if (TCellProperties* p = StoredProperties(c, r))
        return p;
    // The store keeps object slots by themselves, so no text is needed to hold the object.
    auto props = std::make_shared<TCellProperties>(this, c, r);
    TCellProperties* p = props.get();
    TStringGrid::SetObjects(c, r, props);

    TFont font;
    TBrush brush;
    TColor colorTo = clNone, mirrorColor = clNone, mirrorColorTo = clNone;
    TAlignment alignment = taLeftJustify;
    TVAlignment vAlignment = vtaTop;
    bool wordWrap = FWordWrap;
    TCellGradientDirection gradient = GradientVertical;
    GetCellDefaultProps(c, r, font, brush, colorTo, mirrorColor, mirrorColorTo, alignment, vAlignment, wordWrap,
                        gradient);
    p->SetCalcType(acNONE);
    p->SetAlignment(alignment);
    p->SetVAlignment(vAlignment);
    p->SetWordWrap(wordWrap);
    p->SetFontName(font.Name());
    p->SetFontSize(font.Size());
    p->SetFontStyle(font.Style());
    p->SetFontColor(font.Color());
    p->SetBrushColor(brush.Color());
    p->SetBrushColorTo(colorTo);
    p->SetGradientDirection(gradient);
    return p;
}

void TBaseGrid::SetCellProperties(int c, int r, std::shared_ptr<TCellProperties> Value)
{
    CheckIndexes(c, r);
    TStringGrid::SetObjects(c, r, std::move(Value));
}

void TBaseGrid::FreeCellProperties(int ACol, int ARow)
{
    CheckIndexes(ACol, ARow);
    if (StoredProperties(ACol, ARow))
        TStringGrid::SetObjects(ACol, ARow, nullptr);
}

void TBaseGrid::FreeCellPropertiesRect(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!FHasCellProps)
        return;
    // Nothing is stored beyond the store's rows.
    const int lastRow = std::min(ARow2, StoredRowCount() - 1);
    for (int r = std::max(0, ARow1); r <= lastRow; ++r)
        for (int c = std::max(0, ACol1); c <= ACol2; ++c)
            if (StoredProperties(c, r)) {
                // Dropping the reference frees the properties and, with them, a cell graphic of
                // theirs; a picture object the caller holds stays the caller's.
                TStringGrid::SetObjects(c, r, nullptr);
            }
}

void TBaseGrid::FreeAllCellProperties() { FreeCellPropertiesRect(0, 0, ColCount() - 1, RowCount() - 1); }

void TBaseGrid::ClearRowCells(int ARow)
{
    CheckIndexes(0, ARow);
    for (int c = 0; c < ColCount(); ++c) {
        TStringGrid::SetObjects(c, ARow, nullptr);
        SetCellEx(c, ARow, QString());
    }
}

void TBaseGrid::ClearColCells(int ACol)
{
    CheckIndexes(ACol, 0);
    for (int r = 0; r < RowCount(); ++r) {
        TStringGrid::SetObjects(ACol, r, nullptr);
        SetCellEx(ACol, r, QString());
    }
}

void TBaseGrid::ClearCell(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, QString());
    TStringGrid::SetObjects(ACol, ARow, nullptr);
}

// ---- cell objects ----------------------------------------------------------------------------

void* TBaseGrid::GetObjectEx(int c, int r) const
{
    const TCellProperties* p = StoredProperties(c, r);
    return p ? p->CellObject() : nullptr;
}

void TBaseGrid::SetObjectEx(int c, int r, void* Value)
{
    GetCellProperties(c, r)->SetCellObject(Value);
}

TGridObject TBaseGrid::GetGraphicObjectEx(int c, int r) const
{
    const TCellProperties* p = StoredProperties(c, r);
    return p ? p->GraphicObject() : nullptr;
}

void TBaseGrid::SetGraphicObjectEx(int c, int r, TGridObject Value)
{
    if (FDestroying)
        return;
    GetCellProperties(c, r)->SetGraphicObject(std::move(Value));
}

TGridObject TBaseGrid::CellPropertiesGraphic(const TCellProperties* Props)
{
    return Props ? Props->GraphicObject() : nullptr;
}

// ---- merged cells ----------------------------------------------------------------------------

void TBaseGrid::MergeCells(int c, int r, int spanx, int spany)
{
    CheckIndexes(c, r);
    if (spanx < 1 || spany < 1)
        return;
    ++FMergeCount;
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j) {
            TCellProperties* p = GetCellProperties(i, j);
            const bool base = i == c && j == r;
            p->SetIsBaseCell(base);
            p->SetCellSpanX(base ? spanx - 1 : i - c);
            p->SetCellSpanY(base ? spany - 1 : j - r);
        }
    for (int i = c; i < c + spanx; ++i)
        for (int j = r; j < r + spany; ++j)
            RepaintCell(i, j);
}

void TBaseGrid::SplitCells(int c, int r)
{
    CheckIndexes(c, r);
    TCellProperties* p = GetCellProperties(c, r);
    TPoint b = p->GetBaseCell(c, r);
    if (b.X < 0 || b.Y < 0)
        b = {c, r};
    const TCellProperties* bp = StoredProperties(b.X, b.Y);
    if (!bp)
        return;
    const int sx = bp->CellSpanX();
    const int sy = bp->CellSpanY();
    if (sx < 0 || sy < 0)
        return; // not merged: nothing to split
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j) {
            TCellProperties* q = GetCellProperties(i, j);
            q->SetIsBaseCell(true);
            q->SetCellSpanX(-1);
            q->SetCellSpanY(-1);
        }
    for (int i = b.X; i <= b.X + sx; ++i)
        for (int j = b.Y; j <= b.Y + sy; ++j)
            RepaintCell(i, j);
    FMergeCount = std::max(0, FMergeCount - 1);
}

bool TBaseGrid::IsMergedCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    return p && (p->CellSpanX() > 0 || p->CellSpanY() > 0);
}

bool TBaseGrid::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !CellPropertiesOf(ACol, ARow)->IsBaseCell();
}

bool TBaseGrid::IsXMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = StoredProperties(b.X, b.Y);
    return bp && bp->CellSpanX() > 0;
}

bool TBaseGrid::IsYMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = StoredProperties(b.X, b.Y);
    return bp && bp->CellSpanY() > 0;
}

bool TBaseGrid::IsBaseCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    return !p || p->IsBaseCell();
}

TPoint TBaseGrid::BaseCell(int ACol, int ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p)
        return {ACol, ARow};
    const TPoint b = p->GetBaseCell(ACol, ARow);
    if (b.X < 0 || b.Y < 0)
        return {ACol, ARow};
    return b;
}

bool TBaseGrid::ResolveBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const
{
    const TPoint b = BaseCell(ACol, ARow);
    BaseCol = b.X;
    BaseRow = b.Y;
    return IsBaseCell(ACol, ARow);
}

TPoint TBaseGrid::CellSpan(int ACol, int ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return {0, 0};
    const TPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = StoredProperties(b.X, b.Y);
    if (!bp)
        return {0, 0};
    return {bp->CellSpanX(), bp->CellSpanY()};
}

TPoint TBaseGrid::CellExt(int ACol, int ARow) const
{
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || p->CellSpanX() == -1 || p->CellSpanY() == -1)
        return {0, 0};
    const TPoint b = BaseCell(ACol, ARow);
    const TPoint s = CellSpan(ACol, ARow);
    return {b.X + s.X - ACol, b.Y + s.Y - ARow};
}

TRect TBaseGrid::FullCell(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    return {b.X, b.Y, b.X + s.X, b.Y + s.Y};
}

int TBaseGrid::MinRowSpan(int ARow) const
{
    int result = RowCount();
    for (int c = 0; c < ColCount(); ++c) {
        const int y = CellSpan(c, ARow).Y;
        if (y > 0 && y < result)
            result = y;
    }
    return result;
}

int TBaseGrid::MaxRowSpan(int ARow) const
{
    int result = 0;
    for (int c = 0; c < ColCount(); ++c)
        result = std::max(result, CellSpan(c, ARow).Y);
    return result;
}

bool TBaseGrid::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool any = false;
    for (int c = 0; c < ColCount(); ++c) {
        if (CellSpan(c, ARow1).Y > 0 && CellSpan(c, ARow2).Y > 0) {
            if (BaseCell(c, ARow1).Y != BaseCell(c, ARow2).Y)
                return false;
            any = true;
        }
    }
    return any;
}

bool TBaseGrid::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool matched = false;
    for (int r = 0; r < RowCount(); ++r) {
        const int x1 = CellSpan(ACol1, r).X;
        const int x2 = CellSpan(ACol2, r).X;
        if (x1 > 0 && x2 > 0) {
            if (BaseCell(ACol1, r).X != BaseCell(ACol2, r).X)
                return false;
            matched = true;
        } else if (x1 != x2) {
            return false;
        }
    }
    return matched;
}

// ---- geometry --------------------------------------------------------------------------------

TRect TBaseGrid::CalcCellRect(int ACol, int ARow) const
{
    int x = 0;
    for (int i = 0; i < ACol; ++i)
        x += ColWidths(i);
    int y = 0;
    for (int j = 0; j < ARow; ++j)
        y += RowHeights(j);
    if (ACol >= FixedCols()) {
        for (int i = 0; i < LeftCol(); ++i)
            x -= ColWidths(i);
        x += FixedColsWidth();
    }
    if (ARow >= FixedRows()) {
        for (int j = 0; j < TopRow(); ++j)
            y -= RowHeights(j);
        y += FixedRowsHeight();
    }
    return Bounds(x, y, ColWidths(ACol), RowHeights(ARow));
}

TRect TBaseGrid::CellRect(int c, int r) const
{
    if (const TCellProperties* p = CellPropertiesOf(c, r)) {
        if (p->CellSpanX() != -1 || p->CellSpanY() != -1) {
            const TPoint b = BaseCell(c, r);
            const TCellProperties* bp = StoredProperties(b.X, b.Y);
            const int sx = bp ? std::max(0, bp->CellSpanX()) : 0;
            const int sy = bp ? std::max(0, bp->CellSpanY()) : 0;
            TRect r1 = CalcCellRect(b.X, b.Y);
            if (r1.Width() <= 0)
                ++r1.Right;
            TRect r2 = CalcCellRect(b.X + sx, b.Y + sy);
            if (r2.Width() <= 0)
                --r2.Left;
            return {std::min(r1.Left, r2.Left), std::min(r1.Top, r2.Top), std::max(r1.Right, r2.Right),
                    std::max(r1.Bottom, r2.Bottom)};
        }
        if (p->Control())
            return CalcCellRect(c, r);
    }
    TRect rect = TStringGrid::CellRect(c, r);
    rect.Right = rect.Left + ColWidths(c);
    rect.Bottom = rect.Top + RowHeights(r);
    return rect;
}

TPoint TBaseGrid::CellSize(int c, int r) const
{
    const TPoint b = BaseCell(c, r);
    const TPoint s = CellSpan(c, r);
    const TRect r1 = CalcCellRect(b.X, b.Y);
    const TRect r2 = CalcCellRect(b.X + s.X, b.Y + s.Y);
    return {r2.Right - r1.Left, r2.Bottom - r1.Top};
}

int TBaseGrid::FixedColsWidth() const
{
    int w = 0;
    for (int i = 0; i < FixedCols(); ++i)
        w += ColWidths(i);
    return w;
}

int TBaseGrid::FixedRowsHeight() const
{
    int h = 0;
    for (int j = 0; j < FixedRows(); ++j)
        h += RowHeights(j);
    return h;
}

void TBaseGrid::RepaintCell(int c, int r)
{
    if (!isVisible() || c < 0 || r < 0)
        return;
    // CellRect gives a plain cell out of view a rectangle at the origin; such a cell has nothing
    // on screen, and bulk writes far from the view must not each schedule an update. Only a
    // merged range or a cell control can show from a cell that is itself out of view.
    const TCellProperties* p = CellPropertiesOf(c, r);
    const bool plain = !p || (p->CellSpanX() == -1 && p->CellSpanY() == -1 && !p->Control());
    if (plain && IsRectEmpty(TStringGrid::CellRect(c, r)))
        return;
    const TRect rect = CellRect(c, r);
    if (!IsRectEmpty(rect))
        viewport()->update(ToQRect(rect));
}

// ---- navigation ------------------------------------------------------------------------------

void TBaseGrid::GotoBaseCell()
{
    if (!HasCellProperties(Col(), Row()))
        return;
    const TPoint b = BaseCell(Col(), Row());
    SetCol(b.X);
    SetRow(b.Y);
}

void TBaseGrid::KeyDown(Word& Key, TShiftState Shift)
{
    const bool has = HasCellProperties(Col(), Row());
    TPoint b{Col(), Row()};
    int spanX = -1, spanY = -1;
    if (has) {
        b = BaseCell(Col(), Row());
        if (const TCellProperties* bp = StoredProperties(b.X, b.Y)) {
            spanX = bp->CellSpanX();
            spanY = bp->CellSpanY();
        }
    }
    switch (Key) {
    case VK_NEXT:
        if (VisibleRowCount() + TopRow() - FixedRows() == RowCount() - 1 && FHideLastRow && RowCount() > 1)
            SetRow(RowCount() - 2);
        break;
    case VK_LEFT:
        // From a cell right of the base: one step left of the base's right neighbour, so that
        // the move below ends on the base cell itself.
        if (has && b.X < Col() && Col() > FixedCols())
            SetCol(b.X + 1);
        break;
    case VK_UP:
        if (has && b.Y < Row() && Row() > FixedRows())
            SetRow(b.Y + 1);
        break;
    case VK_RIGHT:
        if (has) {
            const int e = b.X + spanX;
            if (e >= Col() && Col() < ColCount() - 1 && b.X < ColCount() - 1 && e < ColCount())
                SetCol(e);
        }
        break;
    case VK_DOWN:
        if (has) {
            const int e = b.Y + spanY;
            if (e >= Row() && Row() < RowCount() - 1 && b.Y < RowCount() - 1 && e < RowCount())
                SetRow(e);
        }
        break;
    default:
        break;
    }
    TObjStringGrid::KeyDown(Key, Shift);
    GotoBaseCell();
}

bool TBaseGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    const bool result = TObjStringGrid::DoMouseWheelDown(Shift, MousePos);
    if (FHideLastRow && VisibleRowCount() < Row() - TopRow() && Row() < RowCount() - 1)
        SetTopRow(TopRow() + 1);
    GotoBaseCell();
    return result;
}

bool TBaseGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    const bool result = TObjStringGrid::DoMouseWheelUp(Shift, MousePos);
    GotoBaseCell();
    return result;
}

bool TBaseGrid::SelectCell(int ACol, int ARow)
{
    RepaintCell(Col(), Row());
    const bool result = TObjStringGrid::SelectCell(ACol, ARow);
    RepaintCell(ACol, ARow);
    return result;
}

void TBaseGrid::TopLeftChanged()
{
    TObjStringGrid::TopLeftChanged();
    RepaintMergedFixedCols();
    RepaintMergedFixedRows();
}

void TBaseGrid::RepaintMergedFixedCols()
{
    if (FixedCols() <= 0)
        return;
    for (int r = TopRow(); r <= TopRow() + VisibleRowCount(); ++r)
        for (int c = 0; c < FixedCols(); ++c)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
}

void TBaseGrid::RepaintMergedFixedRows()
{
    if (FixedRows() <= 0)
        return;
    for (int c = LeftCol(); c <= LeftCol() + VisibleColCount(); ++c)
        for (int r = 0; r < FixedRows(); ++r)
            if (IsMergedCell(c, r))
                RepaintCell(c, r);
}

// ---- properties ------------------------------------------------------------------------------

void TBaseGrid::SetDefaultDrawing(bool Value)
{
    FDefaultDrawing = Value;
    TObjStringGrid::SetDefaultDrawing(false);
}

void TBaseGrid::SetGridLineWidth(int Value)
{
    FGridLineWidth = Value;
    TObjStringGrid::SetGridLineWidth(0);
    Invalidate();
}

// ---- new virtual operations: base behaviour --------------------------------------------------

bool TBaseGrid::IsFixed(int, int) { return false; }
int TBaseGrid::GetCellIndent(int) { return 0; }
bool TBaseGrid::HasNodes() { return false; }

void TBaseGrid::DrawGridCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState)
{
    ACanvas.Brush().SetStyle(bsClear);
    DrawText(ACanvas, GetCellEx(ACol, ARow), ARect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void TBaseGrid::LastRowChanged() {}

void TBaseGrid::GetDisplText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplText)
        OnGetDisplText(this, ACol, ARow, Value);
}

void TBaseGrid::GetDisplWideText(int ACol, int ARow, QString& Value)
{
    if (OnGetDisplWideText)
        OnGetDisplWideText(this, ACol, ARow, Value);
}

void TBaseGrid::GetCellDefaultProps(int, int, TFont& AFont, TBrush& ABrush, TColor& AColorTo, TColor& AMirrorColor,
                                    TColor& AMirrorColorTo, TAlignment& AAlignment, TVAlignment& AVAlignment,
                                    bool& AWordWrap, TCellGradientDirection& AGradientDirection)
{
    AFont.Assign(Font());
    ABrush.SetColor(Color());
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;
    AAlignment = taLeftJustify;
    AVAlignment = vtaTop;
    AWordWrap = FWordWrap;
    AGradientDirection = GradientVertical;
}

void TBaseGrid::CellTextChanged(int, int) {}
bool TBaseGrid::HasCustomCellBorders() { return false; }
bool TBaseGrid::UsesVCLStyles() { return false; }

void TBaseGrid::GetVisualProperties(int, int, TGridDrawState&, bool, bool, bool, TBrush&, TColor&, TColor&, TColor&,
                                    TFont&, TAlignment&, TVAlignment&, bool&, TCellGradientDirection&)
{
}

int TBaseGrid::DisplColIndex(int ACol) const { return ACol; }
int TBaseGrid::TotalColCount() const { return ColCount(); }

// ---- painting --------------------------------------------------------------------------------

void TBaseGrid::Paint()
{
    TObjStringGrid::Paint();
    ++FPaintID;
}

void TBaseGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    PaintCellFrame(Canvas(), ACol, true, AState, ARect, ARow);
}

void TBaseGrid::PaintCell(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, true, AState, ARect, ARow);
}

void TBaseGrid::PaintCellExt(TCanvas& ACanvas, int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    PaintCellFrame(ACanvas, ACol, false, AState, ARect, ARow);
}

bool TBaseGrid::PaintHasNodes()
{
    if (FNodesPaintID != FPaintID) {
        FNodesPaintID = FPaintID;
        FNodesInPaint = HasNodes();
    }
    return FNodesInPaint;
}

void TBaseGrid::PaintCellFrame(TCanvas& ACanvas, int ACol, bool Normal, TGridDrawState AState, TRect ARect,
                               int ARow)
{
    if (FHideLastRow && ARow == RowCount() - 1) {
        ACanvas.Brush().SetStyle(bsSolid);
        ACanvas.Brush().SetColor(Color());
        ACanvas.Pen().SetColor(Color());
        ACanvas.Rectangle(ARect);
        return;
    }

    // A merged range is painted once per paint cycle, through its base cell.
    int bc = ACol, br = ARow;
    if (!ResolveBaseCell(ACol, ARow, bc, br)) {
        if (TCellProperties* bp = StoredProperties(bc, br)) {
            if (bp->PaintID() != FPaintID) {
                bp->SetPaintID(FPaintID);
                PaintCell(ACanvas, bc, br, ARect, AState);
            }
        }
        return;
    }
    if (IsMergedCell(ACol, ARow))
        StoredProperties(ACol, ARow)->SetPaintID(FPaintID);

    if (Normal && IsFixed(ACol, ARow)) {
        AState |= gdFixed;
        AState &= ~TGridDrawState(gdSelected);
    }
    if (Normal)
        ARect = CellRect(ACol, ARow);
    const bool fixed = AState & gdFixed;

    // Scrolled cells stay out of the frozen area.
    const int w = ACol >= FixedCols() ? FixedColsWidth() : 0;
    const int h = ARow >= FixedRows() ? FixedRowsHeight() : 0;
    int saved = 0;
    const bool clip = (ACol >= FixedCols() && FixedCols() > 0 && ARect.Left < w) ||
                      (ARow >= FixedRows() && FixedRows() > 0 && ARect.Top < h);
    if (clip) {
        saved = ACanvas.SaveDC();
        ACanvas.IntersectClipRect(TRect(w, h, GridWidth(), GridHeight()));
    }

    ACanvas.Pen().SetWidth(1);
    ACanvas.Font().Assign(Font());
    ACanvas.Brush().SetStyle(bsSolid);
    ACanvas.Brush().SetColor(fixed ? FixedColor() : Color());
    TColor colorTo = clNone, mirrorColor = clNone, mirrorColorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = FWordWrap;
    TCellGradientDirection gd = GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, true, ACanvas.Brush(), colorTo, mirrorColor, mirrorColorTo,
                        ACanvas.Font(), ha, va, ww, gd);
    ACanvas.Pen().SetColor(ACanvas.Brush().Color());

    if (FHoverRow && ARow == FHoverRowIdx &&
        !((AState & gdSelected) && !(FHoverRowCells & hcSelected)) &&
        !((AState & gdFixed) && !(FHoverRowCells & hcFixed))) {
        ACanvas.Brush().SetColor(FHoverRowColor);
        colorTo = FHoverRowColorTo;
        mirrorColor = clNone;
        mirrorColorTo = clNone;
        gd = GradientVertical;
    }
    if ((FActiveRowShow && ARow == Row() && ACol >= FixedCols() && (ACol != Col() || !FShowSel)) ||
        (!Normal && (AState & gdSelected))) {
        ACanvas.Brush().SetColor(FActiveRowColor);
        colorTo = FActiveRowColorTo;
        mirrorColor = FActiveRowMirrorColor;
        mirrorColorTo = FActiveRowMirrorColorTo;
    }
    ACanvas.Pen().SetColor(ACanvas.Brush().Color());

    const TGridOptions options = Options();
    if ((AState & gdSelected) && FSelectionStyle != ssDefault && FShowSel) {
        const TGridRect sel = Selection();
        const int l = std::min(sel.Left, sel.Right);
        const int r = std::max(sel.Left, sel.Right);
        int pos = 0;
        if (r > l) {
            if (ACol == l)
                pos = 1;
            else if (ACol == r)
                pos = 2;
            else if (ACol > l && ACol < r)
                pos = 3;
        }
        TRect sr = ARect;
        if (!(options & goHorzLine))
            ++sr.Bottom;
        if (!(options & goVertLine))
            ++sr.Right;
        struct Colours { TColor c[8]; };
        static const Colours vista{{0xFDF8F1, 0xFCEFD5, clNone, clNone, 0xFDFBF6, 0xFDF5E7, 0xFDDE99, 0xFCEDCB}};
        static const Colours win7{{0xFCEBDC, 0xFCDBC1, clNone, clNone, 0xFDF4EB, 0xFDEADB, 0xCEA27D, 0xE0C5AE}};
        static const Colours office{{0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF}};
        static const Colours unfocused{{0xF8F8F8, 0xE5E5E5, clNone, clNone, 0xFBFAFA, 0xF0F0F0, 0xD9D9D9, 0xEFEFEF}};
        const bool focused = IsActiveControl() || (options & goDrawFocusSelected);
        const Colours& k = !focused                         ? unfocused
                           : FSelectionStyle == ssVista      ? vista
                           : FSelectionStyle == ssWin7       ? win7
                                                             : office;
        DrawTabShape(ACanvas, k.c[0], k.c[1], k.c[2], k.c[3], k.c[4], k.c[5], k.c[6], k.c[7], Color(), sr, pos);
    } else if (!(UsesVCLStyles() && (AState & (gdFixed | gdSelected)))) {
        if (mirrorColorTo == clNone)
            DrawGradientRect(ACanvas, ACanvas.Brush().Color(), colorTo, gd == GradientHorizontal, ARect, 64);
        else
            DrawGradientFrame(ACanvas, ARect, ACanvas.Brush().Color(), colorTo, mirrorColor, mirrorColorTo, true,
                              clNone, false, true);
    }

    int half = 0;
    if (fixed) {
        ACanvas.Pen().SetColor(FGridFixedLineColor);
        ACanvas.Pen().SetWidth(1);
        half = 1;
    } else if (FGridLineWidth > 0) {
        ACanvas.Pen().SetColor(FGridLineColor);
        ACanvas.Pen().SetWidth(FGridLineWidth);
        half = (FGridLineWidth + 1) / 2;
    }
    const int baseCol = BaseCell(ACol, ARow).X;
    if (half > 0 && !(baseCol == 0 && PaintHasNodes())) {
        if (((options & goHorzLine) && !fixed) || ((options & goFixedHorzLine) && fixed)) {
            ACanvas.MoveTo(ARect.Left - half + 1, ARect.Bottom - half);
            ACanvas.LineTo(ARect.Right - half + 1, ARect.Bottom - half);
        }
    }
    if (half > 0 && (((options & goVertLine) && !fixed) || ((options & goFixedVertLine) && fixed))) {
        ACanvas.MoveTo(ARect.Right - half, ARect.Bottom - half);
        ACanvas.LineTo(ARect.Right - half, ARect.Top - half);
    }

    TRect content = ARect;
    if (fixed) {
        content.Right -= 1;
        content.Bottom -= 2;
    } else {
        InflateRect(content, -FGridLineWidth, -FGridLineWidth);
    }
    if (Normal)
        DrawGridCell(ACanvas, ACol, ARow, content, AState);

    if (clip)
        ACanvas.RestoreDC(saved);
    ACanvas.Brush().SetStyle(bsSolid);
    ACanvas.Pen().SetStyle(psSolid);
}

void TBaseGrid::SetUndoRedo(RUvaVoviVareReda* Value)
{
    FUndoRedo = Value;
    if (Value)
        Value->SetGrid(this);
}
