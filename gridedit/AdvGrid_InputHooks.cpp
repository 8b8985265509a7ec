// TVerIvovavOzed: the grid's one-event hooks that other features call (each fires its event when
// set), and the bookkeeping of an OLE column drag.
#include "grid/AdvGrid.h"

void TVerIvovavOzed::DoClickSort(int ACol)
{
    if (OnClickSort)
        OnClickSort(this, ACol);
}

void TVerIvovavOzed::DoPrintGetPageNum(int PageNum, int PageColNum, QString& PageNumString)
{
    if (OnPrintGetPageNum)
        OnPrintGetPageNum(this, PageNum, PageColNum, PageNumString);
}

bool TVerIvovavOzed::CanShowFixedDropDown(int ACol)
{
    bool canShow = true;
    if (OnCanShowFixedDropDown)
        OnCanShowFixedDropDown(this, ACol, canShow);
    return canShow;
}

void TVerIvovavOzed::DoStartBlockFocus()
{
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TVerIvovavOzed::DoEndBlockFocus()
{
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}

void TVerIvovavOzed::DoScrollCell(int ACol, int ARow, int Position, int Min, int Max)
{
    if (OnScrollCell)
        OnScrollCell(this, ACol, ARow, Position, Min, Max);
}

void TVerIvovavOzed::OleColumnDragStart(int ACol, int AIndex, QWidget* AList)
{
    FOleDragCol = ACol;
    FOleDragIndex = AIndex;
    FOleDragList = AList;
}
