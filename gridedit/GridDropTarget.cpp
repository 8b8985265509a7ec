// The grid's drop source and drop target.
#include "gridedit/GridDropTarget.h"

#include "grid/ArrowWindow.h"
#include "platform/Services.h"

#include <QBuffer>
#include <QCursor>
#include <QListWidget>

#include <algorithm>

// ---- TGridDropSource -------------------------------------------------------------------------

TGridDropSource::TGridDropSource(TVerIvovavOzed* aGrid) : FGrid(aGrid) {}

void TGridDropSource::CurrentEffect(int dwEffect)
{
    if (dwEffect == DROPEFFECT_COPY || dwEffect == DROPEFFECT_MOVE)
        FLastEffect = dwEffect;
}

void TGridDropSource::QueryDrag()
{
    if (!FGrid)
        return;
    const QPoint cursor = QCursor::pos();
    if (FGrid->DragDropSettings().ShowCells()) {
        if (QWidget* image = FGrid->FDragImage)
            image->move(cursor + QPoint(4, 4));
    } else if (QWidget* button = FGrid->HeaderDragButton()) {
        // The button's bottom-left corner follows the cursor.
        button->move(cursor.x(), cursor.y() - button->height());
    }
}

void TGridDropSource::DragDropEnded()
{
    if (FGrid && FGrid->DragDropSettings().ShowCells() && FGrid->FDragImage)
        delete FGrid->FDragImage.data();
}

// ---- TGridDropTarget: dragging over ----------------------------------------------------------

TGridDropTarget::TGridDropTarget(TVerIvovavOzed* AGrid) : FGrid(AGrid) {}

HRESULT TGridDropTarget::DragEnter(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt,
                                   int& dwEffect)
{
    if (FGrid) {
        const TDragDropSettings& dd = FGrid->DragDropSettings();
        SetAcceptText(dd.OleAcceptText());
        SetAcceptFiles(dd.OleAcceptFiles());
        SetAcceptURLs(dd.OleAcceptURLs());
        SetAcceptCols(dd.OleColumnDragDrop());
    }
    return TASGDropTarget::DragEnter(dataObj, grfKeyState, pt, dwEffect);
}

HRESULT TGridDropTarget::Drop(const std::shared_ptr<IDataObject>& dataObj, int grfKeyState, TPoint pt, int& dwEffect)
{
    FLanded = false;
    const HRESULT hr = TASGDropTarget::Drop(dataObj, grfKeyState, pt, dwEffect);
    if (!FLanded)
        dwEffect = DROPEFFECT_NONE;
    else if ((DropFormats() & dfFile) && dwEffect == DROPEFFECT_MOVE)
        dwEffect = DROPEFFECT_COPY; // a file is read, never taken: its source must not remove it
    return hr;
}

void TGridDropTarget::DropCell(TPoint pt, bool ColumnDrag, int& ACol, int& ARow, bool& Append)
{
    TVerIvovavOzed& g = *FGrid;
    g.ScreenToCell(pt, ACol, ARow);
    Append = false;
    const TDragDropSettings& dd = g.DragDropSettings();
    if (ColumnDrag || ARow != -1 || !dd.OleEntireRows() || !dd.OleAppendRows() || g.RowCount() <= 0)
        return;
    const QPoint p = g.viewport()->mapFromGlobal(QPoint(pt.X, pt.Y));
    const TRect last = g.CellRect(std::min(g.FixedCols(), g.ColCount() - 1), g.RowCount() - 1);
    if (last.Bottom > last.Top && p.y() >= last.Bottom) {
        ARow = g.RowCount() - 1;
        ACol = g.FixedCols();
        Append = true;
    }
}

void TGridDropTarget::DragMouseMove(TPoint pt, bool& Allow, TDropFormats DropFormats)
{
    if (!FGrid) {
        Allow = false;
        return;
    }
    TVerIvovavOzed& g = *FGrid;
    const TDragDropSettings& dd = g.DragDropSettings();
    const bool columnDrag = DropFormats.testFlag(dfCol);
    int ACol = -1, ARow = -1;
    bool append = false;
    DropCell(pt, columnDrag, ACol, ARow, append);
    const QPoint p = g.viewport()->mapFromGlobal(QPoint(pt.X, pt.Y));

    Allow = ACol >= 0 && ARow >= 0;

    // Near the edges the grid scrolls towards the hidden rows and columns.
    if (!columnDrag && Allow && !append) {
        if ((ARow == 0 && g.TopRow() > g.FixedRows()) || (g.FixedRows() == 0 && p.y() < 8 && g.TopRow() > 0))
            g.SetTopRow(g.TopRow() - 1);
        else if (ARow == g.TopRow() + g.VisibleRowCount() && g.TopRow() + g.VisibleRowCount() < g.RowCount())
            g.SetTopRow(g.TopRow() + 1);
        // Columns scroll at every second drag-over only: they are wide.
        if (g.FTimerTicks % 2 == 0) {
            if (ACol == 0 && g.LeftCol() > g.FixedCols())
                g.SetLeftCol(g.LeftCol() - 1);
            else if (ACol == g.LeftCol() + g.VisibleColCount() && g.LeftCol() + g.VisibleColCount() < g.ColCount())
                g.SetLeftCol(g.LeftCol() + 1);
        }
        ++g.FTimerTicks;
    }

    if (!columnDrag) {
        if (ARow >= 0 && ARow < g.FixedRows() && !(g.RowCount() == 1 && g.FixedRowAlways()))
            Allow = false;
    } else if (ACol == -1 && p.x() >= 0) {
        // Right of the last column: the column goes to the end.
        ACol = g.ColCount();
        ARow = 0;
        Allow = true;
    } else {
        Allow = Allow && ARow < g.FixedRows() && ACol >= g.FixedCols();
    }

    if (DropFormats & (dfFile | dfGridCells))
        Allow = true;
    if (g.OnOleDragOver)
        g.OnOleDragOver(&g, ARow, ACol, Allow);
    const bool onCell = ACol >= 0 && ARow >= 0;
    if (!DropFormats.testFlag(dfFile))
        Allow = Allow && onCell;

    // Markers: where the column or the rows will land.
    if (!Allow || !onCell) {
        g.HideDragArrows();
        return;
    }
    if (columnDrag) {
        TRect R;
        if (ACol >= g.ColCount()) {
            R = g.CellRect(g.ColCount() - 1, ARow);
            R.Left = R.Right;
        } else {
            R = g.CellRect(ACol, ARow);
        }
        g.ShowDragArrow(arrDown, R.Left - 5, R.Top - 8);
        g.ShowDragArrow(arrUp, R.Left - 5, R.Bottom);
        g.HideDragArrow(arrLeft);
        g.HideDragArrow(arrRight);
        return;
    }
    int targetRow = ARow;
    int shift = 0;
    if (append)
        shift = 1;
    else if (ARow == 0 && g.FixedRowAlways() && g.RowCount() == 1)
        shift = 1;
    const int firstCol = dd.OleEntireRows() ? std::min(g.FixedCols(), g.ColCount() - 1) : ACol;
    TRect R = g.CellRect(firstCol, targetRow);
    if (shift) {
        const int h = R.Bottom - R.Top;
        R.Top += h;
        R.Bottom += h;
    }
    g.ShowDragArrow(arrLeft, R.Left - 10, R.Top + (R.Bottom - R.Top) / 2 - 5);
    g.HideDragArrow(arrUp);
    g.HideDragArrow(arrDown);
    g.HideDragArrow(arrRight);
}

void TGridDropTarget::DragMouseLeave()
{
    if (FGrid)
        FGrid->HideDragArrows();
}

void TGridDropTarget::HideCellMarkers()
{
    if (!FGrid)
        return;
    FGrid->HideDragArrow(arrLeft);
    FGrid->HideDragArrow(arrDown);
    FGrid->HideHeaderDragButton();
}

// ---- TGridDropTarget: drops ------------------------------------------------------------------

void TGridDropTarget::DropCol(TPoint pt, int Col)
{
    if (!FGrid)
        return;
    TVerIvovavOzed& g = *FGrid;
    FLanded = true; // a column's source keeps it whatever the effect
    int ACol = -1, ARow = -1;
    g.ScreenToCell(pt, ACol, ARow);
    const QPoint p = g.viewport()->mapFromGlobal(QPoint(pt.X, pt.Y));
    int target = ACol;
    if (ACol == -1 && p.x() >= 0)
        target = g.ColCount();
    g.HideDragArrow(arrUp);
    g.HideDragArrow(arrDown);
    g.HideHeaderDragButton();

    if (g.FOleDragCol >= 0) {
        // A column dragged in from an external list: its entry goes, the column shows again.
        const int real = g.FOleDragCol;
        if (auto* list = qobject_cast<QListWidget*>(g.FOleDragList))
            if (g.FOleDragIndex >= 0 && g.FOleDragIndex < list->count())
                delete list->takeItem(g.FOleDragIndex);
        g.UnHideColumn(real);
        if (target >= 0) {
            const int from = g.RealToDisplCol(real);
            const bool enh = g.EnhRowColMove();
            g.SetEnhRowColMove(true);
            try {
                g.MoveColumn(from, std::min(target, g.ColCount() - 1));
            } catch (...) {
                g.SetEnhRowColMove(enh);
                throw;
            }
            g.SetEnhRowColMove(enh);
        }
        g.FOleDragCol = -1;
        g.FOleDragIndex = -1;
        g.FOleDragList = nullptr;
    } else if (g.DragDropSettings().OleColumnReorder()) {
        const int from = g.RealToDisplCol(Col);
        const int to = std::min(target, g.ColCount() - 1);
        if (from >= 0 && to >= 0 && from != to)
            g.MoveColumn(from, to);
    }
    if (g.OnOleDropCol)
        g.OnOleDropCol(&g, ARow, Col, target);
}

void TGridDropTarget::DropStream(TPoint pt, const QByteArray& ms)
{
    if (!FGrid)
        return;
    TVerIvovavOzed& g = *FGrid;
    int ACol = -1, ARow = -1;
    g.ScreenToCell(pt, ACol, ARow);
    QByteArray data = ms;
    QBuffer stream(&data);
    stream.open(QIODevice::ReadOnly);
    if (ACol >= 0 && ARow >= 0) {
        g.LoadAtPointFromBinStream(TPoint{ACol, ARow}, stream);
        FLanded = true;
    }
    HideCellMarkers();
    if (g.OnOleDropped)
        g.OnOleDropped(&g, g.Selection());
}

void TGridDropTarget::DropText(TPoint pt, const QString& s)
{
    if (!FGrid)
        return;
    TVerIvovavOzed& g = *FGrid;
    const TDragDropSettings& dd = g.DragDropSettings();
    int ACol = -1, ARow = -1;
    bool append = false;
    DropCell(pt, false, ACol, ARow, append);

    int W = 0, L = 0;
    g.TextBlockSize(s, W, L);
    L += 1;
    if (g.Options() & goRowSelect)
        ACol = dd.OleEntireRows() ? 0 : g.FixedCols();

    bool allow = true;
    if (g.OnOleDrop)
        g.OnOleDrop(&g, ARow, ACol, s, allow);
    if (!allow) {
        // Nothing was dropped: the selection stays as it was.
        HideCellMarkers();
        if (g.OnOleDropped)
            g.OnOleDropped(&g, g.Selection());
        return;
    }
    if (ARow < 0 || ACol < 0) {
        HideCellMarkers();
        return;
    }

    if (ARow == 0 && g.RowCount() == 1 && g.FixedRowAlways())
        ARow = 1;

    if (dd.OleInsertRows()) {
        const int top = g.TopRow();
        if (append) {
            g.SetRowCount(g.RowCount() + L);
            ++ARow;
        } else {
            // Rows dragged out of this grid below the drop row move down with the insertion, so
            // that the source's removal after the drop takes the dragged rows.
            if (g.FDropSelection.Top >= ARow && dd.OleRemoveRows()) {
                g.FDropSelection.Top += L;
                g.FDropSelection.Bottom += L;
            }
            g.InsertRows(ARow, L, true);
        }
        g.SetTopRow(top > g.FixedRows() ? top + 1 : top);
    }

    int rows = 0, cols = 0;
    if (g.PasteTextBlock(ACol, ARow, rows, cols, s) > 0)
        FLanded = true;

    const int left = std::max(ACol, g.FixedCols());
    const int right = (g.Options() & goRowSelect) ? left + W - g.FixedCols() : left + W - 1;
    const TGridRect sel{left, ARow, right, ARow + L - 1};
    g.SetSelection(sel);

    HideCellMarkers();
    if (g.OnOleDropped)
        g.OnOleDropped(&g, sel);
}

void TGridDropTarget::DropIntoCell(TPoint pt, const QString& s, bool Url)
{
    if (!FGrid)
        return;
    TVerIvovavOzed& g = *FGrid;
    int ACol = -1, ARow = -1;
    g.ScreenToCell(pt, ACol, ARow);
    bool allow = true;
    if (Url) {
        if (g.OnOleDropURL)
            g.OnOleDropURL(&g, ARow, ACol, s, allow);
    } else if (g.OnOleDrop) {
        g.OnOleDrop(&g, ARow, ACol, s, allow);
    }
    if (allow && ACol >= 0 && ARow >= 0 && ACol < g.ColCount() && ARow < g.RowCount()) {
        g.SetCellEx(g.RealColIndex(ACol), ARow, s);
        FLanded = true;
    }
    g.HideDragArrow(arrLeft);
    g.HideDragArrow(arrDown);
}

void TGridDropTarget::DropRTF(TPoint pt, const QString& s) { DropIntoCell(pt, s, false); }

void TGridDropTarget::DropURL(TPoint pt, const QString& s) { DropIntoCell(pt, s, true); }

bool TGridDropTarget::LoadDroppedFile(const std::function<void()>& Load)
{
    // A drop has no caller to raise to: a file that cannot be loaded is told to the user.
    try {
        Load();
        return true;
    } catch (const platform::Exception& e) {
        platform::MessageDlg(e.Message(), platform::mtError, platform::mbOK, FGrid);
    } catch (const std::exception& e) {
        platform::MessageDlg(QString::fromUtf8(e.what()), platform::mtError, platform::mbOK, FGrid);
    }
    return false;
}

void TGridDropTarget::DropFiles(TPoint pt, const platform::TStringList& files)
{
    if (!FGrid)
        return;
    TVerIvovavOzed& g = *FGrid;
    g.HideDragArrow(arrLeft);
    g.HideDragArrow(arrDown);
    if (files.Count() != 1)
        return;
    int ACol = -1, ARow = -1;
    g.ScreenToCell(pt, ACol, ARow);
    const QString name = files.Strings(0);
    bool allow = true;
    if (g.OnOleDropFile)
        g.OnOleDropFile(&g, ARow, ACol, name, allow);
    if (!allow)
        return;
    const QString upper = name.toUpper();
    if (upper.contains(QLatin1String(".CSV"))) {
        allow = true;
        if (g.OnOleDrop)
            g.OnOleDrop(&g, -1, -1, name, allow);
        if (allow && LoadDroppedFile([&] { g.LoadFromCSV(name, -1); }))
            FLanded = true;
    }
    if (upper.contains(QLatin1String(".XLS"))) {
        allow = true;
        if (g.OnOleDrop)
            g.OnOleDrop(&g, -1, -1, name, allow);
        if (allow && LoadDroppedFile([&] { g.LoadFromXLS(name); }))
            FLanded = true;
    }
}
