// Row, cell-text and notification hooks, plain property setters and appearance writers of
// TVerIvovavOzed.
#include "grid/AdvGrid.h"
#include "gridedit/AdvInplaceEdit.h"
#include "render/AdvStyleIF.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"
#include "platform/Property.h"

// ---- notification hooks ----------------------------------------------------------------------

void TVerIvovavOzed::ExportNotification(TGridExportState, int) {}

void TVerIvovavOzed::ImportNotification(TGridImportState, int) {}

void TVerIvovavOzed::SelectionChanged(int ALeft, int ATop, int ARight, int ABottom)
{
    // These looks draw the selection with shapes that span cells.
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007) {
        const TGridRect s = Selection();
        RepaintRect(TRect{s.Left, s.Top, s.Right, s.Bottom});
    }
    FSelChange = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TVerIvovavOzed::InsertRowAt(int ARow)
{
    // Child rows of nodes are not kept by this grid: a node grid inserts a normal row.
    if (HasNodes())
        InsertNormalRow(ARow);
    else
        InsertRows(ARow, 1, true);
}

void TVerIvovavOzed::DeleteRowAt(int ARow)
{
    if (HasNodes())
        RemoveNormalRow(ARow);
    else if (RowCount() - FixedRows() - FixedFooters() <= 1 && !FixedRowAlways())
        ClearRows(ARow, 1);
    else
        RemoveRows(ARow, 1);
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, ARow);
}

void TVerIvovavOzed::DoFixedEdit(int ACol, int ARow, TGridFixedCellEditor AEditor, platform::TStringList& Values)
{
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, AEditor, Values);
}

void TVerIvovavOzed::EvaluateFormula(int ACol, int ARow, QString& Value) { Value = GetCellEx(ACol, ARow); }

void TVerIvovavOzed::GetSaveCellText(int ACol, int ARow, QString& Value)
{
    Value = SaveVirtCells() ? GetFormattedCell(ACol, ARow) : GetGridCell(ACol, ARow);

    if (Value.isEmpty()) {
        const TCellType t = GetCellType(ACol, ARow);
        if (t == ctCheckBox) {
            bool state = false;
            GetCheckBoxState(ACol, ARow, state);
            if (state)
                GetCheckTrue(ACol, ARow, Value);
            else
                GetCheckFalse(ACol, ARow, Value);
        } else if (t == ctTriStateCheckBox) {
            TCheckBoxState state = cbUnchecked;
            GetCheckBoxState(ACol, ARow, state);
            if (state == cbChecked)
                GetCheckTrue(ACol, ARow, Value);
            else
                GetCheckFalse(ACol, ARow, Value);
        }
    }

    switch (ClassifyCellText(Value, true)) {
    case ctkHtml:
        if (!SaveWithHTML())
            Value = MarkupToPlainText(Value);
        break;
    case ctkRtf:
        if (FSaveWithRTF) {
            Value.remove(QLatin1Char('\r'));
            Value.remove(QLatin1Char('\n'));
        } else {
            Value = RichCellPlainText(Value);
        }
        break;
    default: break;
    }

    if (OnSaveCell)
        OnSaveCell(this, ACol, ARow, Value);
}

void TVerIvovavOzed::LoadCellText(int ACol, int ARow, const QString& Value)
{
    QString v = Value;
    if (OnLoadCell)
        OnLoadCell(this, ACol, ARow, v);
    SetGridCell(ACol, ARow, v);
}

// ---- plain property setters ------------------------------------------------------------------

void TVerIvovavOzed::SetMaxEditLength(int Value)
{
    FMaxEditLength = Value;
    if (TAdvInplaceEdit* ed = NormalEdit())
        ed->SetLengthLimit(Value);
}

void TVerIvovavOzed::SetSpreadSheet(bool Value)
{
    FSpreadSheet = Value;
    if (!Value)
        return;
    SetSelectionRectangle(true);
    SetSelectionResizer(true);
    FNavigation->SetAllowSmartClipboard(true);
    SetOptions(Options() | goRangeSelect | goEditing);
    FMouseActions->SetRangeSelectAndEdit(true);
}

void TVerIvovavOzed::SetVAlignment(TVAlignment Value)
{
    FVAlignment = Value;
    switch (Value) {
    case vtaTop: FVAlign = 0; break;
    case vtaCenter: FVAlign = 4; break;
    case vtaBottom: FVAlign = 8; break;
    }
    if (FUpdateCount == 0)
        Invalidate();
}

void TVerIvovavOzed::SetAutoSize(bool Value)
{
    FAutoSize = Value;
    if (Value && !Loading())
        AutoSizeColumns(false, 10);
}

void TVerIvovavOzed::SetFlat(bool Value)
{
    FFlat = Value;
    if (!Loading())
        Invalidate();
}

// ---- appearance writers ----------------------------------------------------------------------

void TVerIvovavOzed::SetProgressAppearance(const TGridProgressAppearance& Value)
{
    FProgressAppearance->Assign(Value);
    Invalidate(); // what its change notice does
}

void TVerIvovavOzed::SetRowIndicator(const TBitmap& Value)
{
    FRowIndicator.Assign(Value);
    RepaintCell(0, Row());
}

void TVerIvovavOzed::SetBackGround(const TBackGround& Value)
{
    FBackGround->Assign(Value);
    Invalidate();
}

void TVerIvovavOzed::SetHighlightColor(TColor Value)
{
    if (!platform::Change(FHighlightColor, Value))
        return;
    SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TVerIvovavOzed::SetHighlightTextColor(TColor Value)
{
    if (!platform::Change(FHighlightTextColor, Value))
        return;
    SetMarkupHighlightColors(FHighlightColor, FHighlightTextColor);
    Invalidate();
}

void TVerIvovavOzed::SetAutoThemeAdapt(bool Value)
{
    if (!platform::Change(FAutoThemeAdapt, Value))
        return;
    FSearchFooter->SetAutoThemeAdapt(Value);
    if (Value) {
        FollowOfficeTheme();
        Invalidate();
    }
    if (Loading())
        return;
    if (TThemeNotifier* n = GetThemeNotifier(nullptr)) {
        if (Value)
            n->RegisterWindow(this);
        else
            n->UnRegisterWindow(this);
    }
}

void TVerIvovavOzed::SetActiveCellFont(const TFont& Value)
{
    FActiveCellFont.Assign(Value);
    Invalidate();
}

void TVerIvovavOzed::SetFixedFont(const TFont& Value)
{
    FFixedFont.Assign(Value);
    Invalidate();
}

void TVerIvovavOzed::UpdateXYOffset(int X, int Y) { FXYOffset = TPoint{X, Y}; }

void TVerIvovavOzed::SetLookupItems(const platform::TStringList* Value)
{
    if (Value)
        FLookupItems.Assign(*Value);
}

void TVerIvovavOzed::IsDesigning(bool& Designing) { Designing = false; }

void TVerIvovavOzed::RemoveEditingOption() { SetOptions(Options() & ~TGridOptions(goEditing)); }

bool TVerIvovavOzed::CellIsPassword(int ACol, int ARow)
{
    bool isPassword = false;
    IsPasswordCell(ACol, ARow, isPassword);
    return isPassword;
}
