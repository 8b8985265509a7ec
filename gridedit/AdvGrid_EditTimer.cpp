// TVerIvovavOzed: the grid timer's tick (search text expiry, hovering, blinking texts), columns that
// follow the grid's width, and presses on always-shown cell spin buttons.
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QCursor>
#include <cmath>

// ---- grid timer --------------------------------------------------------------------------------

void TVerIvovavOzed::GridTimerTick()
{
    ++FTimerTicks;

    // The typed search text is forgotten at the fourth tick without a character (about 2 s).
    if (FNavigation->AutoGotoIncremental()) {
        if (SearchTics++ == 3) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }

    // Hovering makes the normal cell under the mouse current.
    if (Hovering() && isVisible()) {
        const QPoint global = QCursor::pos();
        QWidget* under = QApplication::widgetAt(global);
        if (under == viewport() || under == this) {
            const QPoint p = viewport()->mapFromGlobal(global);
            if (viewport()->rect().contains(p)) {
                const TGridCoord cell = MouseCoord(p.x(), p.y());
                if (cell.X >= FixedCols() && cell.Y >= FixedRows() && cell.X < ColCount() && cell.Y < RowCount()) {
                    SetFocus();
                    SetRow(cell.Y);
                    SetCol(cell.X);
                }
            }
        }
    }

    // Blinking texts: every cell in view that holds "<BLI" repaints in the other phase.
    if (EnableBlink()) {
        FGridBlink = !FGridBlink;
        auto blink = [this](int c, int r) {
            if (c < 0 || r < 0 || c >= ColCount() || r >= RowCount())
                return;
            if (Cells(RealColIndex(c), r).contains(QLatin1String("<BLI"), Qt::CaseInsensitive))
                RepaintCell(c, r);
        };
        const int lastRow = TopRow() + VisibleRowCount() - 1;
        const int lastCol = LeftCol() + VisibleColCount() - 1;
        for (int r = TopRow(); r <= lastRow; ++r)
            for (int c = LeftCol(); c <= lastCol; ++c)
                blink(c, r);
        for (int r = 0; r < FixedRows(); ++r)
            for (int c = LeftCol(); c <= lastCol; ++c)
                blink(c, r);
        for (int c = 0; c < FixedCols(); ++c)
            for (int r = TopRow(); r <= lastRow; ++r)
                blink(c, r);
    }
}

// ---- columns that follow the grid's width ------------------------------------------------------

void TVerIvovavOzed::InitOrigColSizes()
{
    FOrigColSizes.Clear();
    for (int c = 0; c < ColCount(); ++c)
        FOrigColSizes.Add(ColWidths(c));
    FOldSize = width();
}

bool TVerIvovavOzed::SizeColumnsToGrid()
{
    const TColumnSize& cs = *FColumnSize;
    if (cs.SynchWithGrid() && FOldSize > 0) {
        HideInplaceEdit();
        // The base widths belong to the outer width; a single border takes one pixel each side.
        const int inner = width() - 2 * frameWidth();
        const double factor = BorderStyle() == bsSingle ? double(inner + 2) / FOldSize : double(inner) / FOldSize;
        int from = 0, to = ColCount() - 1;
        if (cs.SynchNormalCellsOnly()) {
            from = FixedCols();
            to = ColCount() - FixedRightCols() - 1;
        }
        for (int c = from; c <= to && c < FOrigColSizes.Count(); ++c)
            SetColWidths(c, int(std::trunc(FOrigColSizes.Items(c) * factor)));
    }

    bool widened = false;
    if (cs.Stretch() && (ScrollBarAlways() == saNone || ScrollBarAlways() == saVert)) {
        const int sc = cs.StretchColumn() == -1 ? ColCount() - 1 : cs.StretchColumn();
        if (sc < 0 || sc >= ColCount())
            return false;
        int sum = 0;
        for (int c = 0; c < ColCount(); ++c)
            if (c != sc)
                sum += ColWidths(c);
        if (sum < width()) {
            StretchColumn(cs.StretchColumn());
            widened = true;
        }
        if ((ScrollBars() == ssHorizontal || ScrollBars() == ssBoth) && ScrollBarAlways() == saNone)
            FlatShowScrollBar(SB_HORZ, ClientWidth() < sum + ColWidths(sc));
        if (ScrollBars() == ssVertical || ScrollBars() == ssBoth)
            FlatShowScrollBar(SB_VERT, VisibleRowCount() < RowCount() - FixedRows());
        if (widened && ScrollBarAlways() == saNone && OnResize)
            OnResize(this);
    }
    return widened;
}

// ---- always-shown spin buttons -----------------------------------------------------------------

bool TVerIvovavOzed::SpinButtonPress(int ACol, int ARow, int X, int Y)
{
    FSpinUpClick = false;
    FSpinDnClick = false;
    if (!FControlLook->SpinButtonsAlwaysVisible() || ACol < 0 || ARow < 0)
        return false;
    if (!HasSpinEdit(RealColIndex(ACol), ARow))
        return false;
    const TRect R = CellRect(ACol, ARow);
    if (X < R.Right - 18 || X >= R.Right)
        return false;
    if (Y > R.Top + (R.Bottom - R.Top) / 2)
        FSpinDnClick = true;
    else
        FSpinUpClick = true;
    return true;
}
