#include "grid/AdvGrid.h"

DEriRevaDodo* TVerIvovavOzed::RichEdit() { return FRichEdit; }

DEriRevaDodo* TVerIvovavOzed::InplaceRichEdit() { return FInplaceRichEdit; }

void TVerIvovavOzed::ShowRichEditor(int ACol, int ARow, const TRect& R, TColor CellColor)
{
    (void)ACol;
    (void)ARow;
    (void)R;
    (void)CellColor;
}

void TVerIvovavOzed::TakeBackRichEditor(int ACol, int ARow)
{
    (void)ACol;
    (void)ARow;
}
