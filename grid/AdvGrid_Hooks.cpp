// TVerIvovavOzed: the per-cell decision hooks, cell graphics and the check-box operations.
//
// Each hook starts from the value it is given, applies the grid's own rule and then fires the
// matching event; a descendant puts its own settings first by overriding the hook.
#include "griddata/FilterList.h"
#include "grid/AdvGrid.h"

#include <QCursor>
#include <functional>

// ---- cell graphics ---------------------------------------------------------------------------

TCellGraphic* TVerIvovavOzed::GetCellGraphic(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (ACol == 0 && FMouseActions->HotmailRowSelect()) {
        // The shared row check box carries the row selection: the header's box is checked when
        // every row is selected and greyed when only some are.
        TCellGraphic* g = FCellGraphic.get();
        g->SetCellType(ctRowCheckBox);
        g->SetCellTransparent(FControlLook->ControlStyle() == csFlat);
        if (ARow == 0) {
            const int normal = RowCount() - FixedRows();
            const int selected = RowSelectCount();
            g->SetCellAngle(selected > 0 && selected < normal ? 1 : 0);
            g->SetCellBoolean(selected >= normal);
        } else {
            g->SetCellAngle(0);
            g->SetCellBoolean(ARow < RowCount() && RowSelect(RealRowIndex(ARow)));
        }
        return g;
    }
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p)
        return nullptr;
    return dynamic_cast<TCellGraphic*>(p->GraphicObject().get());
}

TCellType TVerIvovavOzed::GetCellType(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return ctEmpty;
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        return ctRowCheckBox;
    const TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p)
        return ctEmpty;
    if (auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject().get()))
        return g->CellType();
    return ctEmpty;
}

TCellGraphic* TVerIvovavOzed::CreateCellGraphic(int ACol, int ARow)
{
    auto g = std::make_shared<TCellGraphic>();
    // The new record replaces any earlier one; the cell text stays as it is.
    SetGraphicObjectEx(ACol, ARow, g);
    return g.get();
}

bool TVerIvovavOzed::RemoveCellGraphic(int ACol, int ARow)
{
    TCellProperties* p = CellPropertiesOf(ACol, ARow);
    if (!p || !dynamic_cast<TCellGraphic*>(p->GraphicObject().get()))
        return false;
    p->SetGraphicObject(nullptr);
    if (!FDestroying)
        RepaintCell(DisplColIndex(ACol), ARow);
    return true;
}

namespace {

bool IsCheckType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

} // namespace

bool TVerIvovavOzed::HasCheckBox(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    return IsCheckType(GetCellType(b.X, b.Y));
}

bool TVerIvovavOzed::IsControlCell(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellType t = GetCellType(b.X, b.Y);
    return t == ctCheckBox || t == ctDataCheckBox || t == ctRadio || t == ctButton || t == ctVirtCheckBox ||
           t == ctRowCheckBox || t == ctRadioButton || t == ctTriStateCheckBox;
}

bool TVerIvovavOzed::IsNode(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctNode; }

bool TVerIvovavOzed::IsSummary(int ARow) { return ARow >= 0 && GetCellType(0, ARow) == ctSummary; }

// ---- check boxes -----------------------------------------------------------------------------

void TVerIvovavOzed::AddCheckBox(int ACol, int ARow, TCheckBoxState State)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw ZUzeRodoRediv("Invalid cell");
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCheckBox(State, true, haBeforeText, CellVAlignOf(FVAlignment));
}

void TVerIvovavOzed::AddCheckBox(int ACol, int ARow, bool State, bool Data)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw ZUzeRodoRediv("Invalid cell");
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCheckBox(State, Data, true, haBeforeText, CellVAlignOf(FVAlignment));
    g->SetCellAngle(0);
    g->SetCellBoolean(State);
    if (Data) {
        const QString t = GetCellEx(ACol, ARow);
        if (t != FCheckTrue && t != FCheckFalse)
            SetCellEx(ACol, ARow, State ? FCheckTrue : FCheckFalse);
    }
}

void TVerIvovavOzed::AddCheckBoxColumn(int ACol, bool State, bool Data)
{
    const int first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r) {
        if (IsSummary(r))
            continue;
        if (IsNode(r))
            AddCheckBox(ACol, r, cbUnchecked);
        else
            AddCheckBox(ACol, r, State, Data);
    }
}

void TVerIvovavOzed::AddTriStateCheckBoxColumn(int ACol, TCheckBoxState state)
{
    const int first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        AddCheckBox(ACol, r, state);
}

namespace {

// The graphic behind a cell of the real row while rows are hidden (null without one).
TCellGraphic* RealRowGraphic(TVerIvovavOzed& grid, int ACol, int ARow)
{
    if (grid.NumHiddenRows() == 0)
        return nullptr;
    auto* p = dynamic_cast<TCellProperties*>(grid.GetObjectOfRealRow(ACol, ARow).get());
    return p ? dynamic_cast<TCellGraphic*>(p->GraphicObject().get()) : nullptr;
}

} // namespace

bool TVerIvovavOzed::GetCheckBoxState(int ACol, int ARow, TCheckBoxState& state)
{
    // The state one graphic shows; text reads the cell text a data check box compares.
    auto read = [&](TCellGraphic* g, const std::function<QString()>& text) {
        switch (g->CellType()) {
        case ctCheckBox:
            state = BoolToCheckBoxState(g->CellBoolean());
            return true;
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            const QString value = text();
            QString t;
            GetCheckTrue(ACol, ARow, t);
            state = value == t ? cbChecked : cbUnchecked;
            return true;
        }
        case ctTriStateCheckBox:
            state = g->CellCheckBoxState();
            return true;
        case ctRowCheckBox:
            if (ACol != 0)
                return false;
            state = BoolToCheckBoxState(RowSelect(ARow));
            return true;
        default:
            return false;
        }
    };
    if (TCellGraphic* g = RealRowGraphic(*this, ACol, ARow))
        return read(g, [&] { return GetCellsEx(ACol, ARow); });
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && read(g, [&] { return GetCellEx(ACol, ARow); });
}

bool TVerIvovavOzed::GetCheckBoxState(int ACol, int ARow, bool& state)
{
    // The state one graphic shows; text reads the cell text a data check box (and, where
    // triStateAsData, a tri-state one) compares with the checked text.
    auto read = [&](TCellGraphic* g, bool triStateAsData, const std::function<QString()>& text) {
        switch (g->CellType()) {
        case ctCheckBox:
            state = g->CellBoolean();
            return true;
        case ctTriStateCheckBox:
            if (!triStateAsData)
                return false;
            [[fallthrough]];
        case ctDataCheckBox:
        case ctVirtCheckBox: {
            const QString value = text();
            QString t;
            GetCheckTrue(ACol, ARow, t);
            state = value == t;
            return true;
        }
        case ctRowCheckBox:
            if (ACol != 0)
                return false;
            state = RowSelect(ARow);
            return true;
        default:
            return false;
        }
    };
    if (NumHiddenRows() > 0) {
        if (TCellGraphic* g = RealRowGraphic(*this, ACol, ARow))
            return read(g, true, [&] { return GetCellsEx(ACol, ARow); });
        // While rows are hidden a shown cell's own graphic answers for row and data check boxes
        // only.
        TCellGraphic* g = GetCellGraphic(ACol, ARow);
        return g && g->CellType() != ctCheckBox && read(g, false, [&] { return GetCellEx(ACol, ARow); });
    }
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    return g && read(g, false, [&] { return GetCellEx(ACol, ARow); });
}

bool TVerIvovavOzed::SetCheckBoxState(int ACol, int ARow, bool state)
{
    TCellGraphic* g = RealRowGraphic(*this, ACol, ARow);
    if (!g)
        g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        g->SetCellBoolean(state);
        RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString t;
        if (state)
            GetCheckTrue(ACol, ARow, t);
        else
            GetCheckFalse(ACol, ARow, t);
        SetCellEx(ACol, ARow, t);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRowSelect(ARow, state);
        return true;
    default:
        return false;
    }
}

bool TVerIvovavOzed::IsChecked(int ACol, int ARow)
{
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

// ---- decision hooks --------------------------------------------------------------------------

void TVerIvovavOzed::GetCellDefaultProps(int ACol, int ARow, TFont& AFont, TBrush& ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, TAlignment& AAlignment,
                                         TVAlignment& AVAlignment, bool& AWordWrap,
                                         TCellGradientDirection& AGradientDirection)
{
    TBaseGrid::GetCellDefaultProps(ACol, ARow, AFont, ABrush, AColorTo, AMirrorColor, AMirrorColorTo, AAlignment,
                                   AVAlignment, AWordWrap, AGradientDirection);
    AAlignment = FDefaultAlignment;
    AVAlignment = FVAlignment;
    TGridDrawState state;
    GetVisualProperties(ACol, ARow, state, false, false, false, ABrush, AColorTo, AMirrorColor, AMirrorColorTo,
                        AFont, AAlignment, AVAlignment, AWordWrap, AGradientDirection);
    if (IsFixed(DisplColIndex(ACol), ARow) || FBands->Active() ||
        FBackGround->Display() == bdGradientHorz || FBackGround->Display() == bdGradientVert ||
        (state & gdSelected)) {
        ABrush.SetColor(clNone);
        AColorTo = clNone;
    }
}

void TVerIvovavOzed::DoGridHint(int ACol, int ARow, QString& WideHint, QString& Hint)
{
    if (OnGridHint)
        OnGridHint(this, ARow, ACol, Hint);
    if (OnGridWideHint) {
        OnGridWideHint(this, ARow, ACol, WideHint);
        if (!WideHint.isEmpty())
            Hint = WideHint;
    }
}

void TVerIvovavOzed::GetCellColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont)
{
    if (FActiveCellShow) {
        if ((ACol == FixedCols() - 1 && ARow == Row()) || (ARow == FixedRows() - 1 && ACol == RealCol())) {
            AFont.Assign(FActiveCellFont);
            ABrush.SetColor(FActiveCellColor);
        }
    }
    if (const TCellProperties* p = HasCellProperties(ACol, ARow) ? CellPropertiesOf(ACol, ARow) : nullptr) {
        const TCellType t = GetCellType(ACol, ARow);
        if ((t == ctIcon || t == ctNone || t == ctImageList || t == ctEmpty || t == ctImages || t == ctComment) &&
            p->BrushColor() != clNone)
            ABrush.SetColor(p->BrushColor());
        p->ApplyFont(AFont);
    }
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVerIvovavOzed::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TBrush& ABrush, TFont& AFont)
{
    if (OnGetCellPrintColor)
        OnGetCellPrintColor(this, ARow, ACol, AState, ABrush, AFont);
}

void TVerIvovavOzed::GetCellBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (ACol > 0) {
        if (IsNode(ARow) && FGrouping->HeaderUnderline) {
            Borders = cbBottom;
            APen.SetColor(FGrouping->HeaderLineColor);
            APen.SetWidth(FGrouping->HeaderLineWidth);
        } else if (IsSummary(ARow) && FGrouping->SummaryLine) {
            Borders = cbTop;
            APen.SetColor(FGrouping->SummaryLineColor);
            APen.SetWidth(FGrouping->SummaryLineWidth);
        }
    }
    if (OnGetCellBorder)
        OnGetCellBorder(this, ARow, ACol, APen, Borders);
}

void TVerIvovavOzed::GetCellPrintBorder(int ACol, int ARow, TPen& APen, TCellBorders& Borders)
{
    if (OnGetCellPrintBorder)
        OnGetCellPrintBorder(this, ARow, ACol, APen, Borders);
}

void TVerIvovavOzed::GetCellAlign(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (ACol == 0 && FMouseActions->HotmailRowSelect())
        HAlign = taCenter;
    if (OnGetAlignment)
        OnGetAlignment(this, ARow, ACol, HAlign, VAlign);
}

void TVerIvovavOzed::GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)
{
    if (OnGetFormat)
        OnGetFormat(this, ACol, AStyle, aPrefix, aSuffix);
}

void TVerIvovavOzed::GetEditorType(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

void TVerIvovavOzed::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (OnGetEditorType)
        OnGetEditorType(this, ACol, ARow, AEditor);
}

bool TVerIvovavOzed::IsNoEditorCell(int ACol, int ARow)
{
    if (!OnGetEditorType)
        return false;
    TEditorType e = edNormal;
    OnGetEditorType(this, ACol, ARow, e);
    return e == edNone;
}

void TVerIvovavOzed::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    IsFixed = IsFixed || ACol < FixedCols() || ARow < FixedRows() ||
              (FFixedRowAlways && RowCount() <= FFixedRowsMin && ARow < FFixedRowsMin) ||
              (FFixedColAlways && ColCount() <= FFixedColsMin && ACol < FFixedColsMin);
    if (!IsFixed && OnIsFixedCell)
        OnIsFixedCell(this, ARow, ACol, IsFixed);
}

void TVerIvovavOzed::IsReadOnlyCell(int ACol, int ARow, bool& CanEdit)
{
    int bc = ACol, br = ARow;
    ResolveBaseCell(ACol, ARow, bc, br);
    if (HasCellProperties(bc, br) && CanEdit)
        CanEdit = !CellPropertiesOf(bc, br)->ReadOnly() &&
                  ((Options() & goEditing) || FEditDisable || FMouseActions->RangeSelectAndEdit());
    if (bc < TotalColCount())
        DoCanEditCell(bc, br, CanEdit);
    else
        CanEdit = true;
}

void TVerIvovavOzed::DoCanEditCell(int ACol, int ARow, bool& CanEdit)
{
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, CanEdit);
}

void TVerIvovavOzed::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (OnIsPasswordCell)
        OnIsPasswordCell(this, ARow, ACol, IsPassword);
}

void TVerIvovavOzed::GetCellWordWrap(int ACol, int ARow, bool& AWordWrap)
{
    if (OnGetWordWrap)
        OnGetWordWrap(this, ACol, ARow, AWordWrap);
}

bool TVerIvovavOzed::HasComboBox(int ACol, int ARow)
{
    if (OnHasComboBox) {
        bool res = false;
        OnHasComboBox(this, ACol, ARow, res);
        return res;
    }
    if (FControlLook->DropDownAlwaysVisible()) {
        TEditorType e = FDefaultEditor;
        GetCellEditor(ACol, ARow, e);
        return e == edComboEdit || e == edComboList;
    }
    return false;
}

bool TVerIvovavOzed::HasSpinEdit(int ACol, int ARow)
{
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (OnHasSpinEdit) {
        bool res = false;
        OnHasSpinEdit(this, ACol, ARow, res);
        return res;
    }
    if (FControlLook->SpinButtonsAlwaysVisible()) {
        TEditorType e = FDefaultEditor;
        GetEditorType(ACol, ARow, e);
        return e == edSpinEdit || e == edFloatSpinEdit || e == edTimeSpinEdit || e == edDateSpinEdit;
    }
    return false;
}

void TVerIvovavOzed::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    Value = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TVerIvovavOzed::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    Value = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

void TVerIvovavOzed::GetCellCursor(int ACol, int ARow, int X, int Y)
{
    if (!OnGetCellCursor)
        return;
    int c = int(cursor().shape());
    OnGetCellCursor(this, ACol, ARow, X, Y, c);
    if (c >= 0 && c <= int(Qt::LastCursor))
        viewport()->setCursor(QCursor(Qt::CursorShape(c)));
}

void TVerIvovavOzed::DoSearchFooterAction(const QString& Value, int ACol, int ARow, int SearchAction)
{
    if (OnSearchFooterAction)
        OnSearchFooterAction(this, Value, ACol, ARow, SearchAction);
}

void TVerIvovavOzed::DoButtonClick(int ACol, int ARow)
{
    if (OnButtonClick)
        OnButtonClick(this, ACol, ARow);
}

void TVerIvovavOzed::DoExpandClick(int ACol, int ARow, bool Expanded)
{
    if (OnExpandClick)
        OnExpandClick(this, ACol, ARow, Expanded);
}

void TVerIvovavOzed::DoComboCloseUp(int ACol, int ARow)
{
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TVerIvovavOzed::DoComboDropDown(int ACol, int ARow)
{
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

bool TVerIvovavOzed::FillFilterDropDown(int ACol)
{
    FFilterList.Clear();
    if (FFilterDropDownAuto && (ACol >= FixedCols() || FFilterDropDownColumns == fdAll)) {
        FillFilterValues(ACol);
        if (!FFilterDropDownClear.isEmpty())
            FFilterList.Insert(0, FFilterDropDownClear);
    }
    if (OnGetColumnFilter)
        OnGetColumnFilter(this, ACol, FFilterList);
    return FFilterList.Count() > 0;
}

void TVerIvovavOzed::DoFilterSelect(int ItemIndex)
{
    setFocus();
    const int shown = FDropList ? FDropList->count() : 0;
    if (FFilterCol >= 0 && FFilterCol < AllColCount() && ItemIndex >= 0 && ItemIndex < shown) {
        const int col = FFilterCol;
        FillFilterDropDown(col);
        if (ItemIndex < FFilterList.Count()) {
            const QString entry = FFilterList.Strings(ItemIndex);
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            const QString name = eq >= 0 ? entry.left(eq) : entry;
            if (FAutoFilterUpdate)
                SetFilterActive(false);
            QString condition = eq >= 0 ? entry.mid(eq + 1) : entry;
            if (condition == FFilterDropDownClear)
                condition.clear();
            if (OnFilterSelect)
                OnFilterSelect(this, col, ItemIndex, name, condition);
            if (!condition.isEmpty())
                FFilter->GetColFilter(col)->Condition = condition;
            else
                FFilter->RemoveColumnFilter(col);
            if (FAutoFilterUpdate) {
                SetFixedRowAlways(true);
                SetFilterActive(true);
                if (RowCount() > FixedRows())
                    SetRow(FixedRows());
                DoFilterDone();
            }
        }
    }
    FFilterCol = -1;
}

void TVerIvovavOzed::DoFilterDone()
{
    if (OnFilterDone)
        OnFilterDone(this);
}

QString TVerIvovavOzed::GetDefaultFloatFormat(int) { return FFloatFormat; }

void TVerIvovavOzed::DoUpdateColumnSize(int ACol, int& AWidth) { DoUpdateColumnSizeEx(ACol, AWidth); }

void TVerIvovavOzed::DoUpdateColumnSizeEx(int ACol, int& AWidth)
{
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

bool TVerIvovavOzed::CanChangeCell(int NewCol, int NewRow, bool& Allow)
{
    if (NewRow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging)
        OnColChanging(this, Col(), NewCol, Allow);
    if ((NewRow != Row() || NewCol != Col()) && OnCellChanging && !FDisableChange)
        OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
    return Allow;
}

void TVerIvovavOzed::DoCanAddRow(bool& CanAdd)
{
    if (OnCanAddRow)
        OnCanAddRow(this, CanAdd);
}
