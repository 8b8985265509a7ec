// TVerIvovavOzed: cell object queries and the measured size of cell objects.
#include "grid/AdvGrid.h"
#include "render/RuvOdid.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace {

bool BesideText(TCellHAlign h) { return h == haBeforeText || h == haAfterText; }
bool AboveOrUnder(TCellVAlign v) { return v == vaUnderText || v == vaAboveText; }

} // namespace

bool TVerIvovavOzed::RemoveCellGraphicOfType(int ACol, int ARow, TCellType CellType)
{
    if (GetCellType(ACol, ARow) != CellType)
        return false;
    return RemoveCellGraphic(ACol, ARow);
}

TIntList* TVerIvovavOzed::GetCellImages(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && g->CellType() == ctImages ? g->Images() : nullptr;
}

TPoint TVerIvovavOzed::GetCellGraphicSize(int ACol, int ARow)
{
    TPoint size;
    CalcCellGraphicSize(ACol, ARow, size, 0);
    return size;
}

void TVerIvovavOzed::CalcCellGraphicSize(int ACol, int ARow, TPoint& Size, int ExtraHeight)
{
    Size = TPoint();
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    const QFontMetrics fm(Font().ToQFont());
    const TRect cell = CellRect(DisplColIndex(ACol), ARow);
    const TCellHAlign ha = g->CellHAlign();
    const TCellVAlign va = g->CellVAlign();
    int W = 0, H = 0;
    switch (g->CellType()) {
    case ctBitmap:
        if (const TBitmap* b = g->Bitmap()) {
            W = BesideText(ha) || !hasText ? b->Width() : 0;
            H = AboveOrUnder(va) || !hasText ? b->Height() : 0;
        }
        break;
    case ctIcon:
        if (const TIcon* i = g->Icon()) {
            W = BesideText(ha) || !hasText ? i->Width() : 0;
            H = i->Height();
        }
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        W = H = FControlLook->CheckSize();
        break;
    case ctRadioButton:
        W = H = FControlLook->RadioSize();
        break;
    case ctRadio: {
        const platform::TStringList* list = g->CellBitmap().As<platform::TStringList>();
        const int n = list ? list->Count() : 0;
        const int th = fm.boundingRect(QStringLiteral("gh")).height();
        if (g->CellBoolean()) {
            for (int i = 0; i < n; ++i)
                W += fm.horizontalAdvance(list->Strings(i)) + 12;
            H = th;
        } else {
            W = 12;
            for (int i = 0; i < n; ++i)
                W = std::max(W, fm.horizontalAdvance(list->Strings(i)) + 12);
            H = std::max(16, th) * n;
        }
        break;
    }
    case ctPicture:
    case ctFilePicture: {
        // The insets of the cell's text stay free.
        const int cw = cell.Width() - AutoSizeInsetX() - 1;
        const int rh = cell.Height() - AutoSizeInsetY() - ExtraHeight - 1;
        const TPoint p = g->GetPictureSize(cw, rh, hasText);
        W = p.X;
        H = p.Y;
        break;
    }
    case ctButton:
    case ctBitButton: {
        W = g->CellIndex() & 0xFFFF;
        H = (g->CellIndex() >> 16) & 0xFFFF;
        if (hasText) {
            if (ha == haCenter)
                W = 0;
            else if (ha == haFull)
                W = fm.horizontalAdvance(g->CellText()) + 4;
            if (AboveOrUnder(va))
                W = 0;
            else
                H = 0;
        } else if (ha == haFull) {
            W = fm.horizontalAdvance(g->CellText()) + 4;
        }
        break;
    }
    case ctProgressPie:
        W = H = 20;
        break;
    case ctRating:
        W = g->CellAngle() * 18;
        H = 16;
        break;
    default:
        break;
    }
    if (va == vaFull)
        H = cell.Height();
    const bool captionButton = (g->CellType() == ctButton || g->CellType() == ctBitButton) && !hasText &&
                               !g->CellText().isEmpty();
    if (ha == haFull && g->CellType() != ctRating && !captionButton)
        W = cell.Width();
    Size = {W, H};
}

void TVerIvovavOzed::CalcPrintCellGraphicSize(int ACol, int ARow, TPoint& Size, double Scale, int MaxWidth,
                                              int MaxHeight)
{
    Size = TPoint();
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    const bool hasText = !Cells(ACol, ARow).isEmpty();
    switch (g->CellType()) {
    case ctBitmap:
        if (const TBitmap* b = g->Bitmap())
            Size = {b->Width(), b->Height()};
        break;
    case ctIcon:
        if (const TIcon* i = g->Icon())
            Size = {i->Width(), i->Height()};
        break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox:
        Size = {FControlLook->CheckSize(), FControlLook->CheckSize()};
        break;
    case ctRadioButton:
        Size = {FControlLook->RadioSize(), FControlLook->RadioSize()};
        break;
    case ctNode:
    case ctProgressPie:
        Size = {20, 20};
        break;
    case ctRadio:
    case ctImages:
        CalcCellGraphicSize(ACol, ARow, Size, 0);
        break;
    case ctPicture:
    case ctFilePicture: {
        const TPoint p = g->GetPictureSize(MaxWidth, MaxHeight, hasText);
        const double s = Scale > 0 ? Scale : 1.0;
        Size = {int(std::nearbyint(p.X / s)), int(std::nearbyint(p.Y / s))};
        break;
    }
    case ctProgress:
    case ctXPProgress: {
        const int dc = DisplColIndex(ACol);
        Size = {ColWidths(dc), RowHeights(ARow)};
        break;
    }
    case ctButton:
    case ctBitButton:
        Size = {g->CellIndex() & 0xFFFF, (g->CellIndex() >> 16) & 0xFFFF};
        break;
    case ctShape: {
        const int side = RowHeights(ARow) - 2 * XYOffset().Y;
        Size = {side, side};
        break;
    }
    default:
        break;
    }
}

void TVerIvovavOzed::GetDisplText(int ACol, int ARow, QString& Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (URLShowInText()) {
        // Only the first scheme found becomes a link.
        static const char* const schemes[] = {"HTTP://", "WWW.", "MAILTO:", "HTTPS://", "NNTP://", "FILE://", "FTP://"};
        for (const char* s : schemes) {
            QString linked;
            if (TextUrlsToAnchors(Value, QString::fromLatin1(s), linked)) {
                Value = linked;
                break;
            }
        }
    }
    GroupCountDisplText(ACol, ARow, Value);
}

bool TVerIvovavOzed::HasNodes()
{
    // A node lives in the properties of its row's first column, so a first column holding no
    // object at all has none; the store answers that without asking each row for its cell type.
    bool objects = false;
    const int rows = std::min(RowCount(), StoredRowCount());
    for (int r = 0; r < rows && !objects; ++r)
        objects = TStringGrid::Objects(0, r) != nullptr;
    if (!objects)
        return false;
    for (int r = 0; r < RowCount(); ++r)
        if (IsNode(r))
            return true;
    return false;
}

int TVerIvovavOzed::GetCellIndent(int ARow)
{
    if (ARow < 0 || !HasCellProperties(0, ARow) || !HasNodes())
        return 0;
    return CellPropertiesOf(0, ARow)->NodeLevel() * FCellNode->NodeIndent();
}

bool TVerIvovavOzed::IsSortIndicatorCell(int ACol, int ARow)
{
    int row = ARow;
    if (IsMergedCell(ACol, ARow))
        row += CellSpan(ACol, ARow).Y;
    return row == FSortSettings->Row() && FSortSettings->Show() && RowCount() > FixedRows() + 1;
}
