// TVerIvovavOzed: the selection queries, the disjunct cell selection (kept as
// (column, row) pairs) and the picture of a cell range (SelectionToForm).
#include "grid/AdvGrid.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

// ---- the list of selected cells --------------------------------------------------------------

bool TVerIvovavOzed::SelectedCellListed(int ACol, int ARow) const
{
    return std::any_of(FSelCells.begin(), FSelCells.end(),
                       [&](const TPoint& p) { return p.X == ACol && p.Y == ARow; });
}

void TVerIvovavOzed::AddSelCell(int ACol, int ARow, bool Always)
{
    if (Always || !SelectedCellListed(ACol, ARow))
        FSelCells.push_back(TPoint{ACol, ARow});
}

bool TVerIvovavOzed::RemoveSelCell(int ACol, int ARow)
{
    const auto it = std::find_if(FSelCells.begin(), FSelCells.end(),
                                 [&](const TPoint& p) { return p.X == ACol && p.Y == ARow; });
    if (it == FSelCells.end())
        return false;
    FSelCells.erase(it);
    RepaintCell(ACol, ARow);
    return true;
}

void TVerIvovavOzed::RepaintSelCells()
{
    for (const TPoint& p : FSelCells)
        if (p.X < ColCount() && p.Y < RowCount())
            RepaintCell(p.X, p.Y);
}

void TVerIvovavOzed::SyncPackedCells()
{
    // The painter still reads the packed form (row * 65536 + column); rows past 32767 do not fit
    // it and are left out of it (they are listed as pairs all the same).
    FSelectedCells.Clear();
    for (const TPoint& p : FSelCells)
        if (p.Y >= 0 && p.Y < 32768 && p.X >= 0 && p.X < 65536)
            FSelectedCells.Add(p.Y * 65536 + p.X);
}

// ---- selection queries -----------------------------------------------------------------------

void TVerIvovavOzed::SelectCells(int FromCol, int FromRow, int ToCol, int ToRow)
{
    SetSelection({FromCol, FromRow, ToCol, ToRow});
}

QString TVerIvovavOzed::SelectedText()
{
    TGridRect s = Selection();
    if ((Options() & goRowSelect) && DragDropSettings().OleEntireRows()) {
        s.Left = 0;
        s.Right = ColCount() - 1;
    }
    std::vector<int> rows;
    if (FMouseActions->DisjunctRowSelect()) {
        for (int r = FixedRows(); r < RowCount(); ++r)
            if (RowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(r) : r))
                rows.push_back(r);
    } else {
        for (int r = s.Top; r <= s.Bottom; ++r)
            rows.push_back(r);
    }
    QString result;
    for (size_t i = 0; i < rows.size(); ++i) {
        const int r = rows[i];
        for (int c = s.Left; c <= s.Right; ++c) {
            result += Cells(RealColIndex(c), r);
            if (c < s.Right)
                result += QLatin1Char('\t');
        }
        if (r != s.Bottom)
            result += QStringLiteral("\r\n");
    }
    return result;
}

bool TVerIvovavOzed::IsSelected(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return SelectedCellListed(ACol, ARow);
    if (FMouseActions->DisjunctRowSelect())
        return RowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    if (FMouseActions->DisjunctColSelect())
        return ColSelect(ACol);
    const TGridRect s = Selection();
    return ACol >= s.Left && ACol <= s.Right && ARow >= s.Top && ARow <= s.Bottom;
}

bool TVerIvovavOzed::GetSelectedCells(int i, int j)
{
    if (FMouseActions->DisjunctCellSelect())
        return SelectedCellListed(i, j);
    const TGridRect s = Selection();
    return i >= std::min(s.Left, s.Right) && i <= std::max(s.Left, s.Right) && j >= std::min(s.Top, s.Bottom) &&
           j <= std::max(s.Top, s.Bottom);
}

void TVerIvovavOzed::SetSelectedCells(int i, int j, bool Value)
{
    if (Value) {
        if (!SelectedCellListed(i, j)) {
            AddSelCell(i, j, true);
            RepaintCell(i, j);
        }
    } else {
        RemoveSelCell(i, j);
    }
    SyncPackedCells();
}

TGridCoord TVerIvovavOzed::GetSelectedCell(int i)
{
    if (i < 0 || i >= int(FSelCells.size()))
        return TGridCoord{-1, -1};
    return TGridCoord{FSelCells[size_t(i)].X, FSelCells[size_t(i)].Y};
}

int TVerIvovavOzed::SelectedCellsCount()
{
    if (!FMouseActions->DisjunctCellSelect()) {
        FSelCells.clear();
        const TGridRect s = Selection();
        if (s.Left == s.Right && s.Top == s.Bottom) {
            FSelCells.push_back(TPoint{Col(), Row()});
        } else {
            for (int c = s.Left; c <= s.Right; ++c)
                for (int r = s.Top; r <= s.Bottom; ++r)
                    FSelCells.push_back(TPoint{c, r});
        }
        SyncPackedCells();
    }
    return int(FSelCells.size());
}

int TVerIvovavOzed::SelectedColCount()
{
    if (FMouseActions->DisjunctColSelect())
        return ColSelectCount();
    const TGridRect s = Selection();
    if (IsMergedCell(s.Left, s.Top) && s.Right < s.Left + CellSpan(s.Left, s.Top).X)
        return CellSpan(s.Left, s.Top).X + 1;
    if (IsMergedCell(s.Right, s.Top))
        return std::abs(s.Left - s.Right) + CellSpan(s.Right, s.Top).X + 1;
    return std::abs(s.Left - s.Right) + 1;
}

int TVerIvovavOzed::SelectedRowCount()
{
    if (FMouseActions->DisjunctRowSelect())
        return RowSelectCount();
    const TGridRect s = Selection();
    const int B = std::min(s.Bottom, RowCount() - FixedFooters() - 1);
    if (IsMergedCell(s.Left, s.Top))
        return B < s.Top + CellSpan(s.Left, s.Top).Y ? CellSpan(s.Left, s.Top).Y + 1 : std::abs(s.Top - B) + 1;
    if (IsMergedCell(s.Left, B))
        return std::abs(s.Top - B) + CellSpan(s.Left, B).Y + 1;
    return std::abs(s.Top - B) + 1;
}

int TVerIvovavOzed::GetSelectedRow(int i)
{
    if (FMouseActions->DisjunctRowSelect()) {
        if (i < 0 || i >= SelectedRows().Count())
            return -1;
        return SelectedRows().Items(i);
    }
    const TGridRect s = Selection();
    const int lo = std::min(s.Top, s.Bottom), hi = std::max(s.Top, s.Bottom);
    if (i < 0 || lo + i > hi)
        return -1;
    return lo + i;
}

void TVerIvovavOzed::ClearSelectedCells()
{
    SetSelection({FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    RepaintSelCells();
    FSelCells.clear();
    SyncPackedCells();
}

void TVerIvovavOzed::ClearModifiedRows()
{
    FModifiedRows.Clear();
    InvalidateGrid();
}

// ---- the disjunct cell selection of a left release -------------------------------------------

bool TVerIvovavOzed::DisjunctCellRelease(int X, int Y, TShiftState Shift)
{
    if (!FMouseActions->DisjunctCellSelect())
        return true;
    int ACol = -1, ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return true;
    const TPoint b = BaseCell(ACol, ARow);
    const bool fixed = b.X < FixedCols() || b.Y < FixedRows() || IsFixed(b.X, b.Y);
    if (!fixed) {
        bool canSelect = true;
        if (OnSelectCell)
            OnSelectCell(this, b.X, b.Y, canSelect);
        if (!canSelect)
            return false;
        if (Shift & ssShift) {
            AddSelCell(b.X, b.Y, false);
        } else if (Shift & ssCtrl) {
            if (!RemoveSelCell(b.X, b.Y))
                AddSelCell(b.X, b.Y, false);
        } else {
            RepaintSelCells();
            FSelCells.clear();
            AddSelCell(b.X, b.Y, false);
        }
    } else if (!(Shift & ssCtrl)) {
        RepaintSelCells();
        FSelCells.clear();
    }
    const TGridRect s = Selection();
    if (s.Left == s.Right && s.Top == s.Bottom) {
        RepaintCell(b.X, b.Y);
    } else {
        for (int c = std::min(s.Left, s.Right); c <= std::max(s.Left, s.Right); ++c)
            for (int r = std::min(s.Top, s.Bottom); r <= std::max(s.Top, s.Bottom); ++r)
                AddSelCell(c, r, false);
        RepaintSelCells();
    }
    SyncPackedCells();
    return true;
}

// ---- picture of a cell range -----------------------------------------------------------------

QWidget* TVerIvovavOzed::SelectionToForm(TGridRect ARect)
{
    // Step 1: the whole grid painted into a picture of its size.
    const QPixmap whole = viewport()->grab();
    // Step 2.
    TRect R1 = CellRect(ARect.Left, ARect.Top);
    TRect R2 = CellRect(ARect.Right, ARect.Bottom);
    if (R2.Left < R1.Left)
        std::swap(R1, R2);
    if (R2.Bottom < R1.Bottom) {
        std::swap(R1.Top, R2.Top);
        std::swap(R1.Bottom, R2.Bottom);
    }
    // Step 3.
    const int w = std::max(1, R2.Right - R1.Left + 1);
    const int h = std::max(1, R2.Bottom - R1.Top + 1);
    QPixmap pic(w, h);
    pic.fill(Qt::white);
    {
        QPainter p(&pic);
        p.drawPixmap(0, 0, whole, R1.Left + 1, R1.Top + 1, R2.Right + 2 - (R1.Left + 1), R2.Bottom + 2 - (R1.Top + 1));
        // The vertical edge goes with goFixedVertLine, the horizontal one with goFixedHorzLine.
        p.setPen(ToQColor(GridFixedLineColor()));
        if (std::min(ARect.Left, ARect.Right) == 0 && FixedCols() > 0 && (Options() & goFixedVertLine))
            p.drawLine(0, 0, 0, h - 1);
        if (std::min(ARect.Top, ARect.Bottom) == 0 && FixedRows() > 0 && (Options() & goFixedHorzLine))
            p.drawLine(0, 0, w - 1, 0);
    }
    // Step 5.
    auto* form = new QWidget(this, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                       Qt::WindowDoesNotAcceptFocus);
    form->setAttribute(Qt::WA_ShowWithoutActivating);
    form->setObjectName(QStringLiteral("SelectionForm"));
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* image = new QLabel(form);
    image->setObjectName(QStringLiteral("SelectionImage"));
    image->setPixmap(pic);
    layout->addWidget(image);
    form->resize(w, h);
    form->setWindowOpacity(192.0 / 255.0);
    return form;
}
