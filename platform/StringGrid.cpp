// TStringGrid: cell store, counts, geometry, current cell and selection, scrolling and painting.
// Keyboard, mouse, focus and the in-place editor are in StringGrid_Input.cpp.
#include "platform/StringGrid.h"
#include "platform/StringGrid_Axis.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimerEvent>
#include <QToolTip>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

namespace {

// a * b / c in 64 bits, rounded half away from zero; 0 for a zero divisor.
int ScaleDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long p = static_cast<long long>(a) * b;
    long long q = p / c;
    const long long r = p % c;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -c : c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(q);
}

TRect Normalised(const TGridRect& r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

} // namespace

TStringGrid::Axis TStringGrid::ColAxis() const
{
    return {&FColWidths, FDefaultColWidth, FColCount, FFixedCols, FLeftCol, FGridLineWidth, ClientWidth()};
}

TStringGrid::Axis TStringGrid::RowAxis() const
{
    return {&FRowHeights, FDefaultRowHeight, FRowCount, FFixedRows, FTopRow, FGridLineWidth, ClientHeight()};
}

// ---- construction ----------------------------------------------------------------------------

TStringGrid::TStringGrid(QWidget* parent) : QAbstractScrollArea(parent), FCanvas(std::make_unique<TCanvas>())
{
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    FFont.SetName(font().family());
    FCurrent = {FFixedCols, FFixedRows};
    FAnchor = FCurrent;
    for (int bar = 0; bar < 2; ++bar) {
        FScrollInfo[bar].nMin = 0;
        FScrollInfo[bar].nMax = GridScrollMax;
    }
    FFont.OnChange = [this] { InvalidateGrid(); };
    connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ScrollBarAction(false, action); });
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this](int action) { ScrollBarAction(true, action); });
    connect(horizontalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
        const int pos = horizontalScrollBar()->sliderPosition();
        ScrollAction(false, SB_THUMBPOSITION, pos);
        ScrollAction(false, SB_ENDSCROLL, pos);
    });
    connect(verticalScrollBar(), &QAbstractSlider::sliderReleased, this, [this] {
        const int pos = verticalScrollBar()->sliderPosition();
        ScrollAction(true, SB_THUMBPOSITION, pos);
        ScrollAction(true, SB_ENDSCROLL, pos);
    });
    resize(400, 250);
}

TStringGrid::~TStringGrid()
{
    FFont.OnChange = nullptr;
}

// ---- cell store ------------------------------------------------------------------------------

TStringGrid::RowStore* TStringGrid::StoreRow(int ARow, int minCols)
{
    if (ARow >= int(FRows.size()))
        FRows.resize(size_t(ARow) + 1);
    RowStore& r = FRows[size_t(ARow)];
    if (int(r.Texts.size()) < minCols)
        r.Texts.resize(std::max(minCols, FColCount)); // a whole row at once, not cell by cell
    return &r;
}

QString TStringGrid::Cells(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ARow >= int(FRows.size()))
        return QString();
    const RowStore& r = FRows[size_t(ARow)];
    if (ACol >= int(r.Texts.size()))
        return QString();
    return r.Texts.at(ACol);
}

void TStringGrid::SetCells(int ACol, int ARow, const QString& Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (Value.isEmpty() && Cells(ACol, ARow).isEmpty())
        return; // nothing to store, and no row is made for it
    RowStore* r = StoreRow(ARow, ACol + 1);
    r->Texts[ACol] = Value;
    InvalidateCell(ACol, ARow);
    if (FInplaceEdit && FInplaceCol == ACol && FInplaceRow == ARow && !FInEditUpdate)
        InvalidateEditor();
}

TGridObject TStringGrid::Objects(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || ARow >= int(FRows.size()))
        return nullptr;
    const RowStore& r = FRows[size_t(ARow)];
    if (ACol >= int(r.Objects.size()))
        return nullptr;
    return r.Objects[size_t(ACol)];
}

void TStringGrid::SetObjects(int ACol, int ARow, TGridObject Value)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (!Value && !Objects(ACol, ARow))
        return;
    RowStore* r = StoreRow(ARow, 0);
    if (int(r->Objects.size()) <= ACol)
        r->Objects.resize(size_t(ACol) + 1);
    r->Objects[size_t(ACol)] = std::move(Value);
}

TGridStrings TStringGrid::Rows(int ARow) const
{
    TGridStrings s;
    if (ARow < 0)
        return s;
    for (int c = 0; c < FColCount; ++c)
        s.Add(Cells(c, ARow), Objects(c, ARow));
    return s;
}

void TStringGrid::SetRows(int ARow, const TGridStrings& Value)
{
    if (ARow < 0)
        return;
    const TGridStrings copy = Value; // the source may be this very row
    for (int c = 0; c < FColCount; ++c) {
        SetCells(c, ARow, QString());
        SetObjects(c, ARow, nullptr);
    }
    for (int c = 0; c < copy.Count(); ++c) {
        SetCells(c, ARow, copy.Strings[c]);
        SetObjects(c, ARow, c < int(copy.Objects.size()) ? copy.Objects[size_t(c)] : nullptr);
    }
}

TGridStrings TStringGrid::Cols(int ACol) const
{
    TGridStrings s;
    if (ACol < 0)
        return s;
    for (int r = 0; r < FRowCount; ++r)
        s.Add(Cells(ACol, r), Objects(ACol, r));
    return s;
}

void TStringGrid::SetCols(int ACol, const TGridStrings& Value)
{
    if (ACol < 0)
        return;
    const TGridStrings copy = Value;
    for (int r = 0; r < FRowCount; ++r) {
        SetCells(ACol, r, QString());
        SetObjects(ACol, r, nullptr);
    }
    for (int r = 0; r < copy.Count(); ++r) {
        SetCells(ACol, r, copy.Strings[r]);
        SetObjects(ACol, r, r < int(copy.Objects.size()) ? copy.Objects[size_t(r)] : nullptr);
    }
}

namespace {

// Moves item `from` of v to index `to`, the items between shifting by one.
template <class V>
void MoveItem(V& v, int from, int to)
{
    const int need = std::max(from, to) + 1;
    if (int(v.size()) < need) {
        if (from >= int(v.size()))
            return; // nothing stored at `from`: only items between shift
        v.resize(size_t(need));
    }
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else if (from > to)
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

// The same when `from` holds nothing: the items from..to shift towards `from` and `to` empties.
template <class V>
void MoveItemOrShift(V& v, int from, int to)
{
    if (from == to)
        return;
    const int need = std::max(from, to) + 1;
    if (int(v.size()) < need)
        v.resize(size_t(need));
    MoveItem(v, from, to);
}

int AdjustIndex(int i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (from > to && i >= to && i < from)
        return i + 1;
    return i;
}

} // namespace

void TStringGrid::MoveColumn(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FColCount || ToIndex >= FColCount || FromIndex == ToIndex)
        return;
    HideEdit();
    if (!FColWidths.empty())
        MoveItem(FColWidths, FromIndex, ToIndex);
    FCurrent.X = AdjustIndex(FCurrent.X, FromIndex, ToIndex);
    FAnchor.X = AdjustIndex(FAnchor.X, FromIndex, ToIndex);
    ColumnMoved(FromIndex, ToIndex);
    if (!FColWidths.empty())
        ColWidthsChanged();
    InvalidateGrid();
}

void TStringGrid::MoveRow(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= FRowCount || ToIndex >= FRowCount || FromIndex == ToIndex)
        return;
    HideEdit();
    if (!FRowHeights.empty())
        MoveItem(FRowHeights, FromIndex, ToIndex);
    FCurrent.Y = AdjustIndex(FCurrent.Y, FromIndex, ToIndex);
    FAnchor.Y = AdjustIndex(FAnchor.Y, FromIndex, ToIndex);
    RowMoved(FromIndex, ToIndex);
    if (!FRowHeights.empty())
        RowHeightsChanged();
    InvalidateGrid();
}

void TStringGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (FromIndex >= 0 && ToIndex >= 0 && FromIndex != ToIndex) {
        for (RowStore& r : FRows) {
            if (int(r.Texts.size()) > std::min(FromIndex, ToIndex))
                MoveItemOrShift(r.Texts, FromIndex, ToIndex);
            if (int(r.Objects.size()) > std::min(FromIndex, ToIndex))
                MoveItemOrShift(r.Objects, FromIndex, ToIndex);
        }
        InvalidateGrid();
    }
    if (OnColumnMoved)
        OnColumnMoved(this, FromIndex, ToIndex);
}

void TStringGrid::RowMoved(int FromIndex, int ToIndex)
{
    if (FromIndex >= 0 && ToIndex >= 0 && FromIndex != ToIndex && std::min(FromIndex, ToIndex) < int(FRows.size())) {
        MoveItemOrShift(FRows, FromIndex, ToIndex);
        InvalidateGrid();
    }
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);
}

void TStringGrid::DeleteRow(int ARow)
{
    if (ARow < 0 || ARow >= FRowCount)
        return;
    const int last = FRowCount - 1;
    const TGridCoord current = FCurrent, anchor = FAnchor;
    MoveRow(ARow, last);
    // The removed row now stands last; empty it so that a later larger RowCount shows no ghost.
    if (last < int(FRows.size()))
        FRows[size_t(last)] = RowStore();
    // The current cell keeps its place instead of travelling with the removed row.
    FCurrent.Y = current.Y;
    FAnchor.Y = anchor.Y;
    SetRowCount(FRowCount - 1);
}

namespace {

template <class Row> bool StoresNothingFrom(const Row& r, int Cols)
{
    for (qsizetype c = Cols; c < r.Texts.size(); ++c)
        if (!r.Texts.at(c).isEmpty())
            return false;
    for (size_t c = size_t(Cols); c < r.Objects.size(); ++c)
        if (r.Objects[c])
            return false;
    return true;
}

} // namespace

bool TStringGrid::ShiftStoredRows(int First, int Last, int Shift, int Cols)
{
    if (First < 0 || Last < First || Shift == 0 || Cols < 0)
        return true;
    const int storedEnd = std::min(Last + 1, int(FRows.size()));
    for (int i = First; i < storedEnd; ++i)
        if (!StoresNothingFrom(FRows[size_t(i)], Cols))
            return false;
    // A cell-by-cell copy reloads the editor when its cell is written with a text or loses one.
    const bool editorIn = FInplaceEdit && !FInEditUpdate && FInplaceCol >= 0 && FInplaceCol < Cols &&
                          FInplaceRow >= First && FInplaceRow <= Last;
    const bool editorWasEmpty = editorIn && Cells(FInplaceCol, FInplaceRow).isEmpty();
    if (storedEnd > First) {
        const size_t oldSize = FRows.size();
        if (int(FRows.size()) <= Last)
            FRows.resize(size_t(Last) + 1);
        const int k = std::min(std::abs(Shift), Last - First + 1);
        const auto b = FRows.begin() + First;
        const auto e = FRows.begin() + Last + 1;
        if (Shift > 0) {
            std::rotate(b, e - k, e);
            std::fill(b, b + k, RowStore());
        } else {
            std::rotate(b, b + k, e);
            std::fill(e - k, e, RowStore());
        }
        // Rows made only to hold the move are let go again.
        while (FRows.size() > oldSize && StoresNothingFrom(FRows.back(), 0))
            FRows.pop_back();
    }
    InvalidateGrid();
    if (editorIn && !(editorWasEmpty && Cells(FInplaceCol, FInplaceRow).isEmpty()))
        InvalidateEditor();
    return true;
}

bool TStringGrid::PermuteStoredRows(int First, const std::vector<int>& Order, int Cols)
{
    const int n = int(Order.size());
    if (First < 0 || n == 0 || Cols < 0)
        return true;
    const int Last = First + n - 1;
    const int storedEnd = std::min(Last + 1, int(FRows.size()));
    for (int i = First; i < storedEnd; ++i)
        if (!StoresNothingFrom(FRows[size_t(i)], Cols))
            return false;
    if (storedEnd > First) {
        const size_t oldSize = FRows.size();
        if (int(FRows.size()) <= Last)
            FRows.resize(size_t(Last) + 1);
        std::vector<RowStore> moved(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            moved[size_t(i)] = std::move(FRows[size_t(First + Order[size_t(i)])]);
        std::move(moved.begin(), moved.end(), FRows.begin() + First);
        while (FRows.size() > oldSize && StoresNothingFrom(FRows.back(), 0))
            FRows.pop_back();
    }
    InvalidateGrid();
    if (FInplaceEdit && !FInEditUpdate && FInplaceCol >= 0 && FInplaceCol < Cols && FInplaceRow >= First &&
        FInplaceRow <= Last)
        InvalidateEditor();
    return true;
}

void TStringGrid::TakeStoredRow(int ARow, int Cols, TGridStrings& Value)
{
    Value = TGridStrings();
    if (Cols <= 0)
        return;
    if (ARow < 0 || ARow >= int(FRows.size())) {
        Value.Strings.resize(Cols);
        return;
    }
    RowStore& r = FRows[size_t(ARow)];
    if (StoresNothingFrom(r, Cols)) {
        // The row's own lists go over whole; what lies right of Cols is empty.
        Value.Strings = std::exchange(r.Texts, QStringList());
        Value.Objects = std::exchange(r.Objects, {});
        Value.Strings.resize(Cols);
        if (!Value.Objects.empty())
            Value.Objects.resize(size_t(Cols));
    } else {
        Value.Strings.resize(Cols);
        if (!r.Objects.empty())
            Value.Objects.resize(size_t(Cols));
        const qsizetype nt = std::min(r.Texts.size(), qsizetype(Cols));
        for (qsizetype c = 0; c < nt; ++c)
            Value.Strings[c] = std::exchange(r.Texts[c], QString());
        const size_t no = std::min(r.Objects.size(), size_t(Cols));
        for (size_t c = 0; c < no; ++c)
            Value.Objects[c] = std::exchange(r.Objects[c], nullptr);
    }
    if (FInplaceEdit && FInplaceRow == ARow && FInplaceCol >= 0 && FInplaceCol < Cols && !FInEditUpdate)
        InvalidateEditor();
}

bool TStringGrid::TakeOutStoredRows(int First, int Count, const std::vector<int>& Out, int Cols,
                                    const std::function<TGridStrings&(size_t)>& Target)
{
    if (First < 0 || Count <= 0 || Cols < 0)
        return true;
    const int Last = First + Count - 1;
    const int storedEnd = std::min(Last + 1, int(FRows.size()));
    for (int i = First; i < storedEnd; ++i)
        if (!StoresNothingFrom(FRows[size_t(i)], Cols))
            return false;
    size_t k = 0;
    int to = First;
    for (int i = First; i < storedEnd; ++i) {
        RowStore& r = FRows[size_t(i)];
        if (k < Out.size() && Out[k] == i) {
            TGridStrings& v = Target(k++);
            v.Strings = std::exchange(r.Texts, QStringList());
            v.Objects = std::exchange(r.Objects, {});
            if (v.Strings.size() != Cols) // asked first: the list's own block is not read then
                v.Strings.resize(Cols);
            if (!v.Objects.empty()) // a row without objects keeps none: no list to make
                v.Objects.resize(size_t(Cols));
        } else {
            if (to != i)
                FRows[size_t(to)] = std::exchange(r, RowStore());
            ++to;
        }
    }
    for (; k < Out.size(); ++k) { // listed rows below the stored ones hold nothing
        TGridStrings& v = Target(k);
        v = TGridStrings();
        v.Strings.resize(Cols);
    }
    InvalidateGrid();
    if (FInplaceEdit && !FInEditUpdate && FInplaceCol >= 0 && FInplaceCol < Cols && FInplaceRow >= First &&
        FInplaceRow <= Last)
        InvalidateEditor();
    return true;
}

void TStringGrid::DeleteColumn(int ACol)
{
    if (ACol < 0 || ACol >= FColCount)
        return;
    const int last = FColCount - 1;
    const TGridCoord current = FCurrent, anchor = FAnchor;
    MoveColumn(ACol, last);
    FCurrent.X = current.X;
    FAnchor.X = anchor.X;
    for (RowStore& r : FRows) {
        if (last < int(r.Texts.size()))
            r.Texts[last].clear();
        if (last < int(r.Objects.size()))
            r.Objects[size_t(last)].reset();
    }
    SetColCount(FColCount - 1);
}

// ---- counts and geometry ---------------------------------------------------------------------

void TStringGrid::ChangeSize(int NewColCount, int NewRowCount)
{
    const int oldCols = FColCount;
    const int oldRows = FRowCount;
    if (NewColCount == oldCols && NewRowCount == oldRows)
        return;
    HideEdit();
    FColCount = NewColCount;
    FRowCount = NewRowCount;
    if (FFixedCols >= FColCount)
        FFixedCols = std::max(0, FColCount - 1);
    if (FFixedRows >= FRowCount)
        FFixedRows = std::max(0, FRowCount - 1);
    if (!FColWidths.empty())
        FColWidths.resize(size_t(FColCount), FDefaultColWidth);
    if (!FRowHeights.empty())
        FRowHeights.resize(size_t(FRowCount), FDefaultRowHeight);
    // The current cell and the anchor stay inside the grid.
    auto clampCoord = [this](TGridCoord& c) {
        if (FColCount > 0)
            c.X = std::clamp(c.X, 0, FColCount - 1);
        if (FRowCount > 0)
            c.Y = std::clamp(c.Y, 0, FRowCount - 1);
    };
    if (FCurrent.X < oldCols && FCurrent.Y < oldRows) { // a hidden selection stays hidden
        clampCoord(FCurrent);
        clampCoord(FAnchor);
    }
    ClampTopLeft(true);
    UpdateScrollRange();
    InvalidateGrid();
    SizeChanged(oldCols, oldRows);
    if (FEditorMode)
        UpdateEdit();
}

void TStringGrid::SetColCount(int Value)
{
    if (Value < 0)
        return;
    ChangeSize(Value, FRowCount);
}

void TStringGrid::SetRowCount(int Value)
{
    if (Value < 0)
        return;
    ChangeSize(FColCount, Value);
}

void TStringGrid::SetFixedCols(int Value)
{
    if (Value < 0 || (Value > 0 && Value >= FColCount))
        return;
    HideEdit();
    FFixedCols = Value;
    FLeftCol = Value;
    FCurrent.X = std::min(Value, std::max(0, FColCount - 1));
    FAnchor.X = FCurrent.X;
    ClampTopLeft(false);
    UpdateScrollRange();
    InvalidateGrid();
}

void TStringGrid::SetFixedRows(int Value)
{
    if (Value < 0 || (Value > 0 && Value >= FRowCount))
        return;
    HideEdit();
    FFixedRows = Value;
    FTopRow = Value;
    FCurrent.Y = std::min(Value, std::max(0, FRowCount - 1));
    FAnchor.Y = FCurrent.Y;
    ClampTopLeft(false);
    UpdateScrollRange();
    InvalidateGrid();
}

void TStringGrid::SetDefaultColWidth(int Value)
{
    if (Value < 0)
        return;
    FDefaultColWidth = Value;
    FColWidths.clear();
    ClampTopLeft(true);
    ColWidthsChanged();
}

void TStringGrid::SetDefaultRowHeight(int Value)
{
    if (Value < 0)
        return;
    FDefaultRowHeight = Value;
    FRowHeights.clear();
    ClampTopLeft(true);
    RowHeightsChanged();
}

namespace {

// Sets the size of line i (a column's width or a row's height) and says whether it changed.
// The sizes stay unstored while every line has the default size; a negative size counts as 0.
bool Put_Line_Size(std::vector<int>& sizes, int count, int defaultSize, int i, int value)
{
    if (i < 0 || i >= count)
        return false;
    value = std::max(0, value);
    if (sizes.empty()) {
        if (value == defaultSize)
            return false;
        sizes.assign(size_t(count), defaultSize);
    }
    if (sizes[size_t(i)] == value)
        return false;
    sizes[size_t(i)] = value;
    return true;
}

} // namespace

int TStringGrid::ColWidths(int ACol) const { return ColAxis().Size(ACol); }

void TStringGrid::SetColWidths(int ACol, int Value)
{
    if (!Put_Line_Size(FColWidths, FColCount, FDefaultColWidth, ACol, Value))
        return;
    ClampTopLeft(true);
    ColWidthsChanged();
}

int TStringGrid::RowHeights(int ARow) const
{
    // Read as the row axis reads it, without building the axis (which asks for the client size):
    // loops over every row ask for each height.
    return ARow >= 0 && ARow < int(FRowHeights.size()) ? FRowHeights[size_t(ARow)] : FDefaultRowHeight;
}

void TStringGrid::SetRowHeights(int ARow, int Value)
{
    if (Put_Line_Size(FRowHeights, FRowCount, FDefaultRowHeight, ARow, Value)) {
        ClampTopLeft(true);
        RowHeightsChanged();
    }
}

void TStringGrid::SetGridLineWidth(int Value)
{
    if (Value < 0 || Value == FGridLineWidth)
        return;
    FGridLineWidth = Value;
    ClampTopLeft(true);
    UpdateScrollRange();
    if (FInplaceEdit && FInplaceCol >= 0)
        FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
    InvalidateGrid();
}

void TStringGrid::SizeChanged(int, int) {}

void TStringGrid::ColWidthsChanged()
{
    UpdateScrollRange();
    if (FInplaceEdit && FInplaceCol >= 0)
        FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
    InvalidateGrid();
}

// Rows and columns changing size move the same things: the scroll range, the editor, the view.
void TStringGrid::RowHeightsChanged() { TStringGrid::ColWidthsChanged(); }

int TStringGrid::ClientWidth() const { return viewport()->width(); }
int TStringGrid::ClientHeight() const { return viewport()->height(); }
int TStringGrid::GridWidth() const { return ColAxis().UsedExtent(); }
int TStringGrid::GridHeight() const { return RowAxis().UsedExtent(); }
int TStringGrid::VisibleColCount() const { return ColAxis().VisibleCount(); }
int TStringGrid::VisibleRowCount() const { return RowAxis().VisibleCount(); }
int TStringGrid::MaxLeftCol() const { return ColAxis().MaxFirst(); }
int TStringGrid::MaxTopRow() const { return RowAxis().MaxFirst(); }
int TStringGrid::ColAtX(int X) const { return ColAxis().At(X); }
int TStringGrid::RowAtY(int Y) const { return RowAxis().At(Y); }

TRect TStringGrid::CellRect(int ACol, int ARow) const
{
    const Axis ca = ColAxis();
    const Axis ra = RowAxis();
    const int x = ca.Start(ACol);
    const int y = ra.Start(ARow);
    if (x == INT_MIN || y == INT_MIN || x >= ca.Extent || y >= ra.Extent)
        return TRect();
    return TRect(x, y, x + ca.Size(ACol), y + ra.Size(ARow));
}

void TStringGrid::MouseToCell(int X, int Y, int& ACol, int& ARow) const
{
    const TGridCoord c = MouseCoord(X, Y);
    ACol = c.X;
    ARow = c.Y;
}

TGridCoord TStringGrid::MouseCoord(int X, int Y) const
{
    TGridCoord c{ColAtX(X), RowAtY(Y)};
    if (c.X < 0 || c.Y < 0)
        c = {-1, -1};
    return c;
}

// ---- scroll position -------------------------------------------------------------------------

void TStringGrid::ClampTopLeft(bool notify)
{
    const int oldLeft = FLeftCol;
    const int oldTop = FTopRow;
    FLeftCol = std::clamp(FLeftCol, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    FTopRow = std::clamp(FTopRow, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (FLeftCol != oldLeft || FTopRow != oldTop) {
        UpdateScrollPos();
        InvalidateGrid();
        if (notify)
            TopLeftChanged();
    }
}

void TStringGrid::MoveTopLeft(int ALeft, int ATop)
{
    ALeft = std::clamp(ALeft, FFixedCols, std::max(FFixedCols, MaxLeftCol()));
    ATop = std::clamp(ATop, FFixedRows, std::max(FFixedRows, MaxTopRow()));
    if (ALeft == FLeftCol && ATop == FTopRow)
        return;
    FLeftCol = ALeft;
    FTopRow = ATop;
    UpdateScrollPos();
    InvalidateGrid();
    TopLeftChanged();
}

void TStringGrid::SetLeftCol(int Value)
{
    if (Value < 0)
        return;
    MoveTopLeft(Value, FTopRow);
}

void TStringGrid::SetTopRow(int Value)
{
    if (Value < 0)
        return;
    MoveTopLeft(FLeftCol, Value);
}

void TStringGrid::TopLeftChanged()
{
    if (FInplaceEdit && FInplaceCol >= 0)
        FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}

void TStringGrid::ScrollIntoView(int ACol, int ARow)
{
    int left = FLeftCol;
    int top = FTopRow;
    if (ACol >= FFixedCols && ACol < FColCount) {
        if (ACol < left)
            left = ACol;
        else {
            Axis a = ColAxis();
            while (left < ACol) {
                a.First = left;
                if (a.LastFullVisible() >= ACol)
                    break;
                ++left;
            }
        }
    }
    if (ARow >= FFixedRows && ARow < FRowCount) {
        if (ARow < top)
            top = ARow;
        else {
            Axis a = RowAxis();
            // Jump close to the target first so that a far move does not walk every row.
            a.First = top;
            if (ARow - top > 2 * std::max(1, a.VisibleCount()))
                top = std::max(top, ARow - 2 * std::max(1, a.VisibleCount()));
            while (top < ARow) {
                a.First = top;
                if (a.LastFullVisible() >= ARow)
                    break;
                ++top;
            }
        }
    }
    MoveTopLeft(left, top);
}

// ---- current cell and selection --------------------------------------------------------------

TGridRect TStringGrid::Selection() const
{
    const TRect n = Normalised({FAnchor.X, FAnchor.Y, FCurrent.X, FCurrent.Y});
    TGridRect r{n.Left, n.Top, n.Right, n.Bottom};
    if (FOptions & goRowSelect) {
        r.Left = FFixedCols;
        r.Right = FColCount - 1;
    }
    return r;
}

void TStringGrid::SetSelection(const TGridRect& Value)
{
    const TGridCoord oldCurrent = FCurrent;
    InvalidateCellRect(TRect());
    FAnchor = {Value.Left, Value.Top};
    FCurrent = {Value.Right, Value.Bottom};
    InvalidateGrid();
    if (!(FCurrent == oldCurrent) && FInplaceCol >= 0) {
        HideEdit();
        if (FEditorMode && (FOptions & goAlwaysShowEditor))
            UpdateEdit();
        else
            FEditorMode = false;
    }
}

void TStringGrid::MoveColRow(int ACol, int ARow, bool MoveAnchor, bool Show)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        return;
    if (!SelectCell(ACol, ARow))
        return;
    if (ACol >= FColCount || ARow >= FRowCount) // SelectCell may have changed the grid
        return;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCurrent = FCurrent;
    FCurrent = {ACol, ARow};
    if (MoveAnchor || !(FOptions & goRangeSelect))
        FAnchor = FCurrent;
    if (Show)
        ScrollIntoView(ACol, ARow);
    const TGridRect newSel = Selection();
    if (!(oldSel == newSel) || !(oldCurrent == FCurrent)) {
        const TRect o = Normalised(oldSel);
        const TRect n = Normalised(newSel);
        InvalidateCellRect({std::min(o.Left, n.Left), std::min(o.Top, n.Top), std::max(o.Right, n.Right),
                        std::max(o.Bottom, n.Bottom)});
    }
    if (!(oldCurrent == FCurrent) && FInplaceCol >= 0) {
        // The edit of the cell left is stored; the editor follows only when it always shows.
        HideEdit();
        if (FEditorMode && (FOptions & goAlwaysShowEditor))
            UpdateEdit();
        else
            FEditorMode = false;
    }
}

void TStringGrid::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        return;
    const TGridCoord before = FCurrent;
    MoveColRow(ACol, ARow, MoveAnchor, true);
    if (!(FCurrent == before) || (ACol == FCurrent.X && ARow == FCurrent.Y))
        Click();
}

void TStringGrid::SetCol(int Value)
{
    if (Value == FCurrent.X)
        return;
    FocusCell(Value, FCurrent.Y, true);
}

void TStringGrid::SetRow(int Value)
{
    if (Value == FCurrent.Y)
        return;
    FocusCell(FCurrent.X, Value, true);
}

bool TStringGrid::SelectCell(int ACol, int ARow)
{
    bool can = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, can);
    return can;
}

void TStringGrid::SetOptions(TGridOptions Value)
{
    if (Value == FOptions)
        return;
    const TGridOptions old = FOptions;
    FOptions = Value;
    if (!(Value & goEditing) || (Value & goRowSelect)) {
        HideEditor();
    } else if ((Value & goAlwaysShowEditor) && !(old & goAlwaysShowEditor)) {
        FEditorMode = true;
        UpdateEdit();
    }
    if ((Value & goRowSelect) != (old & goRowSelect))
        FAnchor.X = FCurrent.X;
    Invalidate();
}

void TStringGrid::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars)
        return;
    FScrollBars = Value;
    UpdateScrollRange();
}

void TStringGrid::SetColor(TColor Value)
{
    FColor = Value;
    InvalidateGrid();
}

void TStringGrid::SetFixedColor(TColor Value)
{
    FFixedColor = Value;
    InvalidateGrid();
}

void TStringGrid::SetDefaultDrawing(bool Value)
{
    FDefaultDrawing = Value;
    InvalidateGrid();
}

// ---- invalidation ----------------------------------------------------------------------------

void TStringGrid::InvalidateCell(int ACol, int ARow)
{
    // Cheap answers for the rows far from the view (bulk writes hit these).
    if (ARow >= FFixedRows && ARow < FTopRow)
        return;
    if (ARow >= FFixedRows && FRowHeights.empty() &&
        ARow - FTopRow > ClientHeight() / std::max(1, FDefaultRowHeight + FGridLineWidth) + 1)
        return;
    const TRect r = CellRect(ACol, ARow);
    if (!IsRectEmpty(r))
        viewport()->update(ToQRect({r.Left, r.Top, r.Right + FGridLineWidth, r.Bottom + FGridLineWidth}));
}

void TStringGrid::InvalidateRow(int ARow)
{
    const TRect r = CellRect(FFixedCols > 0 ? 0 : FLeftCol, ARow);
    if (!IsRectEmpty(r))
        viewport()->update(0, r.Top, ClientWidth(), r.Height() + FGridLineWidth);
}

void TStringGrid::InvalidateCol(int ACol)
{
    const TRect r = CellRect(ACol, FFixedRows > 0 ? 0 : FTopRow);
    if (!IsRectEmpty(r))
        viewport()->update(r.Left, 0, r.Width() + FGridLineWidth, ClientHeight());
}

void TStringGrid::InvalidateGrid() { viewport()->update(); }

void TStringGrid::Invalidate() { InvalidateGrid(); }

// Repaints the cells of a cell rectangle (inclusive cell co-ordinates); an empty one repaints all.
void TStringGrid::InvalidateCellRect(const TRect& r)
{
    if (r.Left == 0 && r.Top == 0 && r.Right == 0 && r.Bottom == 0) {
        InvalidateGrid();
        return;
    }
    const Axis ca = ColAxis();
    const Axis ra = RowAxis();
    const int l = std::max(r.Left, 0);
    const int t = std::max(r.Top, 0);
    const int rr = std::min(r.Right, std::max(ca.LastVisible(), ca.Fixed - 1));
    const int bb = std::min(r.Bottom, std::max(ra.LastVisible(), ra.Fixed - 1));
    if (rr < l || bb < t)
        return;
    // Whole visible rows of the range; the columns are cheap to cover in full.
    int top = INT_MAX, bottom = INT_MIN;
    for (int row : {t, bb}) {
        int y = ra.Start(row);
        if (y == INT_MIN)
            y = ra.FixedExtent();
        top = std::min(top, y);
        bottom = std::max(bottom, std::min(ra.Extent, y + ra.Size(row) + ra.Line));
    }
    if (top < bottom)
        viewport()->update(0, top, ClientWidth(), bottom - top);
}

void TStringGrid::SuspendRedraw()
{
    if (FRedrawLock++ == 0)
        viewport()->setUpdatesEnabled(false);
}

void TStringGrid::ResumeRedraw()
{
    if (FRedrawLock <= 0)
        return;
    if (--FRedrawLock == 0) {
        viewport()->setUpdatesEnabled(true);
        InvalidateGrid();
    }
}

// ---- scroll bars -----------------------------------------------------------------------------

bool TStringGrid::GetScrollInfo(int Bar, TScrollInfo& Info) const
{
    if (Bar != SB_HORZ && Bar != SB_VERT)
        return false;
    const TScrollInfo& s = FScrollInfo[Bar];
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = s.nMin;
        Info.nMax = s.nMax;
    }
    if (Info.fMask & SIF_PAGE)
        Info.nPage = s.nPage;
    if (Info.fMask & SIF_POS)
        Info.nPos = s.nPos;
    if (Info.fMask & SIF_TRACKPOS)
        Info.nTrackPos = s.nTrackPos;
    return true;
}

int TStringGrid::SetScrollInfo(int Bar, const TScrollInfo& Info, bool)
{
    if (Bar != SB_HORZ && Bar != SB_VERT)
        return 0;
    TScrollInfo& s = FScrollInfo[Bar];
    if (Info.fMask & SIF_RANGE) {
        s.nMin = Info.nMin;
        s.nMax = std::max(Info.nMin, Info.nMax);
    }
    if (Info.fMask & SIF_PAGE)
        s.nPage = Info.nPage;
    if (Info.fMask & SIF_POS)
        s.nPos = Info.nPos;
    const int hi = s.nPage > 0 ? std::max(s.nMin, s.nMax - int(s.nPage) + 1) : s.nMax;
    s.nPos = std::clamp(s.nPos, s.nMin, hi);
    ApplyScrollInfo(Bar);
    return s.nPos;
}

int TStringGrid::GetScrollPos(int Bar) const
{
    if (Bar != SB_HORZ && Bar != SB_VERT)
        return 0;
    return FScrollInfo[Bar].nPos;
}

void TStringGrid::ShowScrollBar(int Bar, bool Show)
{
    for (int b : {SB_HORZ, SB_VERT}) {
        if (Bar != b && Bar != SB_BOTH)
            continue;
        FScrollBarForced[b] = Show;
        FScrollBarHidden[b] = !Show;
    }
    UpdateScrollRange();
}

void TStringGrid::EnableScrollBar(int Bar, bool Enable)
{
    if (Bar == SB_HORZ || Bar == SB_BOTH)
        horizontalScrollBar()->setEnabled(Enable);
    if (Bar == SB_VERT || Bar == SB_BOTH)
        verticalScrollBar()->setEnabled(Enable);
}

bool TStringGrid::ScrollBarVisible(int Bar) const
{
    if (Bar != SB_HORZ && Bar != SB_VERT)
        return false;
    return FScrollBarShown[Bar];
}

QScrollBar* TStringGrid::ScrollBarControl(int Bar) const
{
    return Bar == SB_VERT ? verticalScrollBar() : Bar == SB_HORZ ? horizontalScrollBar() : nullptr;
}

void TStringGrid::ApplyScrollInfo(int Bar)
{
    QScrollBar* sb = ScrollBarControl(Bar);
    const TScrollInfo& s = FScrollInfo[Bar];
    const bool was = FInScrollUpdate;
    FInScrollUpdate = true;
    const int hi = s.nPage > 0 ? std::max(s.nMin, s.nMax - int(s.nPage) + 1) : s.nMax;
    sb->setRange(s.nMin, hi);
    sb->setPageStep(s.nPage > 0 ? int(s.nPage) : 1);
    sb->setSingleStep(1);
    if (!sb->isSliderDown())
        sb->setValue(s.nPos);
    FInScrollUpdate = was;
}

void TStringGrid::UpdateScrollPos()
{
    const int maxLeft = MaxLeftCol();
    const int maxTop = MaxTopRow();
    FScrollInfo[SB_HORZ].nPos =
        maxLeft > FFixedCols ? ScaleDiv(FLeftCol - FFixedCols, GridScrollMax, maxLeft - FFixedCols) : 0;
    FScrollInfo[SB_VERT].nPos =
        maxTop > FFixedRows ? ScaleDiv(FTopRow - FFixedRows, GridScrollMax, maxTop - FFixedRows) : 0;
    for (int bar : {SB_HORZ, SB_VERT}) {
        FScrollInfo[bar].nPos = std::clamp(FScrollInfo[bar].nPos, 0, GridScrollMax);
        ApplyScrollInfo(bar);
    }
}

void TStringGrid::UpdateScrollRange()
{
    if (FInScrollUpdate)
        return;
    FInScrollUpdate = true;
    // Two passes: showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 2; ++pass) {
        const bool needH = MaxLeftCol() > FFixedCols;
        const bool needV = MaxTopRow() > FFixedRows;
        const bool wantH = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
        const bool wantV = FScrollBars == ssVertical || FScrollBars == ssBoth;
        const bool showH = !FScrollBarHidden[SB_HORZ] && ((wantH && needH) || FScrollBarForced[SB_HORZ]);
        const bool showV = !FScrollBarHidden[SB_VERT] && ((wantV && needV) || FScrollBarForced[SB_VERT]);
        if (showH != FScrollBarShown[SB_HORZ]) {
            FScrollBarShown[SB_HORZ] = showH;
            setHorizontalScrollBarPolicy(showH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        }
        if (showV != FScrollBarShown[SB_VERT]) {
            FScrollBarShown[SB_VERT] = showV;
            setVerticalScrollBarPolicy(showV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        }
    }
    for (int bar : {SB_HORZ, SB_VERT}) {
        TScrollInfo& s = FScrollInfo[bar];
        if (s.nPage == 0) { // a proportional range set by a derived grid stays
            s.nMin = 0;
            s.nMax = GridScrollMax;
        }
    }
    FInScrollUpdate = false;
    ClampTopLeft(true);
    UpdateScrollPos();
}

void TStringGrid::ScrollBarAction(bool vertical, int action)
{
    if (FInScrollUpdate)
        return;
    QScrollBar* sb = vertical ? verticalScrollBar() : horizontalScrollBar();
    int code = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
    default: return;
    }
    const int pos = sb->sliderPosition();
    ScrollAction(vertical, code, pos);
    if (code != SB_THUMBTRACK) {
        ScrollAction(vertical, SB_ENDSCROLL, pos);
        const bool was = FInScrollUpdate;
        FInScrollUpdate = true;
        sb->setSliderPosition(FScrollInfo[vertical ? SB_VERT : SB_HORZ].nPos);
        FInScrollUpdate = was;
    }
}

void TStringGrid::ScrollAction(bool vertical, int code, int pos)
{
    FScrollInfo[vertical ? SB_VERT : SB_HORZ].nTrackPos = pos;
    try {
        if (vertical)
            VScroll(code, pos);
        else
            HScroll(code, pos);
    } catch (...) {
        // A scroll handler never lets an error out of the event loop.
    }
}

namespace {

// The first scrolled index a scroll action leads to on an axis whose first scrolled index is
// `first`; the thumb's position `pos` scales to the indexes from `fixed` to `maxFirst`.
int Scrolled_First(int code, int pos, int first, int fixed, int visible, int maxFirst, bool thumbTracking)
{
    const auto posToIndex = [&] { return ScaleDiv(pos, maxFirst - fixed, GridScrollMax) + fixed; };
    switch (code) {
    case SB_LINEUP: return first - 1;
    case SB_LINEDOWN: return first + 1;
    case SB_PAGEUP: return first - std::max(1, visible);
    case SB_PAGEDOWN: return first + std::max(1, visible);
    case SB_THUMBPOSITION: return posToIndex();
    case SB_THUMBTRACK: return thumbTracking ? posToIndex() : first;
    case SB_TOP: return fixed;
    case SB_BOTTOM: return maxFirst;
    default: return first;
    }
}

} // namespace

void TStringGrid::HScroll(int ScrollCode, int Pos)
{
    const int left = Scrolled_First(ScrollCode, Pos, FLeftCol, FFixedCols, VisibleColCount(), MaxLeftCol(),
                                    FOptions.testFlag(goThumbTracking));
    MoveTopLeft(left, FTopRow);
    if (ScrollCode != SB_THUMBTRACK)
        UpdateScrollPos();
}

void TStringGrid::VScroll(int ScrollCode, int Pos)
{
    const int top = Scrolled_First(ScrollCode, Pos, FTopRow, FFixedRows, VisibleRowCount(), MaxTopRow(),
                                   FOptions.testFlag(goThumbTracking));
    MoveTopLeft(FLeftCol, top);
    if (ScrollCode != SB_THUMBTRACK)
        UpdateScrollPos();
}

void TStringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollRange();
    if (FInplaceEdit && FInplaceCol >= 0)
        FInplaceEdit->UpdateLoc(CellRect(FInplaceCol, FInplaceRow));
}

// ---- painting --------------------------------------------------------------------------------

void TStringGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    FCanvas->SetPainter(&painter);
    try {
        Paint();
    } catch (...) {
        // Painting never lets an error out of the event loop.
    }
    FCanvas->SetPainter(nullptr);
}

void TStringGrid::PaintTo(QPainter& painter)
{
    FCanvas->SetPainter(&painter);
    try {
        Paint();
    } catch (...) {
    }
    FCanvas->SetPainter(nullptr);
}

void TStringGrid::Paint()
{
    QPainter* painter = FCanvas->Painter();
    if (!painter)
        return;
    const QRect clip = painter->hasClipping() ? painter->clipBoundingRect().toAlignedRect()
                                              : QRect(0, 0, ClientWidth(), ClientHeight());
    PaintCells(*painter, clip, true);
    PaintSizingLine(*painter);
}

void TStringGrid::PaintCells(QPainter& painter, const QRect& clip, bool)
{
    const Axis ca = ColAxis();
    const Axis ra = RowAxis();
    const int lw = FGridLineWidth;
    const bool active = IsActiveControl();
    const TRect sel = Normalised(Selection());

    // Visible columns and rows with their positions.
    struct Span { int Index, Pos, Size; };
    auto spans = [](const Axis& a) {
        std::vector<Span> v;
        int p = 0;
        for (int i = 0; i < a.Fixed && i < a.Count && p < a.Extent; ++i) {
            v.push_back({i, p, a.Size(i)});
            p += a.Size(i) + a.Line;
        }
        for (int i = a.First; i < a.Count && p < a.Extent; ++i) {
            v.push_back({i, p, a.Size(i)});
            p += a.Size(i) + a.Line;
        }
        return std::pair<std::vector<Span>, int>(std::move(v), p);
    };
    const auto [cols, usedW] = spans(ca);
    const auto [rows, usedH] = spans(ra);

    // The area beyond the last cell.
    const QColor back = ToQColor(FColor);
    if (usedW < ca.Extent)
        painter.fillRect(QRect(usedW, 0, ca.Extent - usedW, ra.Extent), back);
    if (usedH < ra.Extent)
        painter.fillRect(QRect(0, usedH, std::min(usedW, ca.Extent), ra.Extent - usedH), back);

    const QColor fixedLine = ToQColor(clBtnShadow);
    const QColor normalLine = ToQColor(clSilver);
    for (const Span& r : rows) {
        if (r.Pos >= clip.bottom() + 1 || r.Pos + r.Size + lw <= clip.top())
            continue;
        for (const Span& c : cols) {
            if (c.Pos >= clip.right() + 1 || c.Pos + c.Size + lw <= clip.left())
                continue;
            const TRect rect(c.Pos, r.Pos, c.Pos + c.Size, r.Pos + r.Size);
            const bool fixed = IsFixedCellIndex(c.Index, r.Index);
            TGridDrawState state;
            if (fixed)
                state |= gdFixed;
            else {
                if (c.Index >= sel.Left && c.Index <= sel.Right && r.Index >= sel.Top && r.Index <= sel.Bottom)
                    state |= gdSelected;
                if (active && c.Index == FCurrent.X && r.Index == FCurrent.Y)
                    state |= gdFocused;
            }
            if (FDefaultDrawing) {
                TColor bg = fixed ? FFixedColor : FColor;
                TColor fg = FFont.Color();
                if ((state & gdSelected) &&
                    (!(state & gdFocused) || (FOptions & (goDrawFocusSelected | goRowSelect)))) {
                    bg = clHighlight;
                    fg = clHighlightText;
                }
                FCanvas->Brush().SetColor(bg);
                FCanvas->Brush().SetStyle(bsSolid);
                FCanvas->FillRect(rect);
                FCanvas->Font().Assign(FFont);
                FCanvas->Font().SetColor(fg);
            }
            try {
                DrawCell(c.Index, r.Index, rect, state);
            } catch (...) {
                // One broken cell does not stop the others from painting.
            }
            if (FDefaultDrawing) {
                if (fixed && lw > 0) {
                    TRect edge = rect;
                    DrawEdge(*FCanvas, edge, BDR_RAISEDINNER, BF_RECT);
                }
                if ((state & gdFocused) && !(FOptions & goRowSelect) && !(FInplaceEdit && FInplaceEdit->isVisible()))
                    FCanvas->DrawFocusRect(rect);
            }
            if (lw > 0) {
                const bool vert = fixed ? bool(FOptions & goFixedVertLine) : bool(FOptions & goVertLine);
                const bool horz = fixed ? bool(FOptions & goFixedHorzLine) : bool(FOptions & goHorzLine);
                const QColor& lc = fixed ? fixedLine : normalLine;
                if (vert)
                    painter.fillRect(QRect(rect.Right, rect.Top, lw, rect.Height() + lw), lc);
                else
                    painter.fillRect(QRect(rect.Right, rect.Top, lw, rect.Height() + lw), back);
                if (horz)
                    painter.fillRect(QRect(rect.Left, rect.Bottom, rect.Width(), lw), lc);
                else
                    painter.fillRect(QRect(rect.Left, rect.Bottom, rect.Width(), lw), back);
            }
        }
    }
    // The focus frame of a selected row.
    if (FDefaultDrawing && active && (FOptions & goRowSelect) && FCurrent.Y >= FFixedRows) {
        const int y = ra.Start(FCurrent.Y);
        if (y != INT_MIN && y < ra.Extent && !cols.empty()) {
            const int x0 = ca.FixedExtent();
            FCanvas->DrawFocusRect(TRect(x0, y, usedW - lw, y + ra.Size(FCurrent.Y)));
        }
    }
}

// The line that shows where a column or row border goes while the user drags it.
void TStringGrid::PaintSizingLine(QPainter& painter)
{
    if (FGridState == gsColSizing)
        painter.fillRect(QRect(FSizingPos, 0, 1, ClientHeight()), ToQColor(clWindowText));
    else if (FGridState == gsRowSizing)
        painter.fillRect(QRect(0, FSizingPos, ClientWidth(), 1), ToQColor(clWindowText));
    else if ((FGridState == gsColMoving || FGridState == gsRowMoving) && FMovePos >= 0 && FMovePos != FMoveIndex) {
        const bool col = FGridState == gsColMoving;
        const TRect r = col ? CellRect(FMovePos, FTopRow) : CellRect(FLeftCol, FMovePos);
        if (!IsRectEmpty(r)) {
            if (col) {
                const int x = FMovePos > FMoveIndex ? r.Right : r.Left;
                painter.fillRect(QRect(x - 1, 0, 3, ClientHeight()), ToQColor(clHighlight));
            } else {
                const int y = FMovePos > FMoveIndex ? r.Bottom : r.Top;
                painter.fillRect(QRect(0, y - 1, ClientWidth(), 3), ToQColor(clHighlight));
            }
        }
    }
}

void TStringGrid::DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState)
{
    if (FDefaultDrawing)
        FCanvas->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

// ---- timers ----------------------------------------------------------------------------------

void TStringGrid::SetTimer(int ID, int Interval)
{
    KillTimer(ID);
    FTimers[ID] = startTimer(std::max(1, Interval));
}

void TStringGrid::KillTimer(int ID)
{
    auto it = FTimers.find(ID);
    if (it == FTimers.end())
        return;
    killTimer(it->second);
    FTimers.erase(it);
}

void TStringGrid::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : FTimers) {
        if (qtId == event->timerId()) {
            const int ours = id;
            try {
                WMTimer(ours);
            } catch (...) {
                // Timers never let an error out of the event loop.
            }
            return;
        }
    }
    QAbstractScrollArea::timerEvent(event);
}

// Timer 1 scrolls while the mouse selects beyond the cells.
void TStringGrid::WMTimer(int ID)
{
    if (ID != 1)
        return;
    if (FGridState != gsSelecting) {
        KillTimer(1);
        return;
    }
    const Axis ca = ColAxis();
    const Axis ra = RowAxis();
    int left = FLeftCol, top = FTopRow;
    int col = FCurrent.X, row = FCurrent.Y;
    if (FLastMouse.X < ca.FixedExtent() && left > FFixedCols) {
        --left;
        col = left;
    } else if (FLastMouse.X >= ca.UsedExtent() && ca.LastVisible() < FColCount - 1) {
        ++left;
        col = std::min(FColCount - 1, ca.LastFullVisible() + 1);
    }
    if (FLastMouse.Y < ra.FixedExtent() && top > FFixedRows) {
        --top;
        row = top;
    } else if (FLastMouse.Y >= ra.UsedExtent() && ra.LastVisible() < FRowCount - 1) {
        ++top;
        row = std::min(FRowCount - 1, ra.LastFullVisible() + 1);
    }
    MoveTopLeft(left, top);
    if (col != FCurrent.X || row != FCurrent.Y)
        MoveColRow(col, row, false, true);
}
