// TVerIvovavOzed: check boxes, radio buttons and radio groups in cells.
//
// A plain check box keeps its state in the cell object, a data (or virtual) check box in the cell
// text compared with the cell's check-true text, a row check box in the disjunct row selection and
// a tri-state box in the object's check-box state.
#include "grid/AdvGrid.h"
#include "grid/UndoRedo.h"

#include <utility>


namespace {

bool IsToggleType(TCellType t)
{
    return t == ctCheckBox || t == ctDataCheckBox || t == ctVirtCheckBox || t == ctRowCheckBox ||
           t == ctTriStateCheckBox;
}

} // namespace

// ---- type tests ------------------------------------------------------------------------------

bool TVerIvovavOzed::HasCellObjectOfType(int ACol, int ARow, std::initializer_list<TCellType> Types)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    const TCellType t = GetCellType(b.X, b.Y);
    for (TCellType x : Types)
        if (x == t)
            return true;
    return false;
}

bool TVerIvovavOzed::HasDataCheckBox(int ACol, int ARow)
{
    return HasCellObjectOfType(ACol, ARow, {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox});
}

bool TVerIvovavOzed::CellHoldsDataGraphic(int ACol, int ARow)
{
    return HasCellObjectOfType(ACol, ARow, {ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox});
}

bool TVerIvovavOzed::HasRadioButton(int ACol, int ARow) { return HasCellObjectOfType(ACol, ARow, {ctRadioButton}); }

bool TVerIvovavOzed::IsRadio(int ACol, int ARow) { return HasCellObjectOfType(ACol, ARow, {ctRadio}); }

// ---- helpers ---------------------------------------------------------------------------------

TCellGraphic* TVerIvovavOzed::CheckObjectOf(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (NumHiddenRows() > 0)
        if (auto* p = dynamic_cast<TCellProperties*>(GetObjectOfRealRow(ACol, ARow).get()))
            if (auto* g = dynamic_cast<TCellGraphic*>(p->GraphicObject().get()))
                return g;
    return GetCellGraphic(ACol, ARow);
}

// The can-edit test a user's toggle asks, started from "may be edited".
bool TVerIvovavOzed::CanUserChange(int ACol, int ARow)
{
    bool canEdit = true;
    IsReadOnlyCell(ACol, ARow, canEdit);
    return canEdit;
}

// ---- check boxes -----------------------------------------------------------------------------

void TVerIvovavOzed::RemoveCheckBox(int ACol, int ARow)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return;
    const TCellType t = g->CellType();
    if (t != ctCheckBox && t != ctDataCheckBox && t != ctTriStateCheckBox)
        return;
    if (g->CellAngle() == 1) {
        g->SetCellAngle(0);
        g->CellBitmap().Reset();
    }
    RemoveCellGraphic(ACol, ARow);
    RepaintCell(DisplColIndex(ACol), ARow);
}

void TVerIvovavOzed::RemoveCheckBoxColumn(int ACol)
{
    const int first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (int r = first; r < RowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

bool TVerIvovavOzed::IsInCheckBox(int ACol, int ARow, int XPos, int YPos)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    const TCellType t = g->CellType();
    if (!IsToggleType(t) && t != ctRadioButton)
        return false;
    if (!FMouseActions->PreciseCheckBoxCheck())
        return true;
    const TRect R = CellRect(DisplColIndex(ACol), ARow);
    const int S = FControlLook->CheckSize();
    int top = R.Top + 2;
    switch (g->CellVAlign()) {
    case vaBottom:
        top = R.Bottom - S - 2;
        break;
    case vaCenter:
        top = R.Top + (R.Bottom - R.Top - S) / 2;
        break;
    default:
        break;
    }
    // The box sits at the side of the cell its text is aligned to.
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    GetCellAlignment(ACol, ARow, ha, va);
    int left = R.Left + 2;
    if (ha == taRightJustify) {
        left = R.Right - S - 2;
        if (!Cells(ACol, ARow).isEmpty())
            left -= GetCellTextSize(ACol, ARow, false, false).cx;
    } else if (ha == taCenter) {
        left = R.Left + (R.Right - R.Left - S) / 2;
    }
    return XPos >= left && XPos < left + S && YPos >= top && YPos < top + S;
}

bool TVerIvovavOzed::SetCheckBoxState(int ACol, int ARow, TCheckBoxState State)
{
    TCellGraphic* g = CheckObjectOf(ACol, ARow);
    if (!g || g->CellType() != ctTriStateCheckBox)
        return false;
    g->SetCellCheckBoxState(State);
    RepaintCell(DisplColIndex(ACol), DisplRowIndex(ARow));
    return true;
}

bool TVerIvovavOzed::SetCellCheckState(int ACol, int ARow, bool Value)
{
    if (NumHiddenRows() > 0)
        ARow = RealRowIndex(ARow);
    TCellGraphic* g = CheckObjectOf(ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType()) {
    case ctCheckBox:
        if (Value != g->CellBoolean()) {
            g->SetCellBoolean(Value);
            DoCheckBoxChange(ACol, ARow, Value);
            RepaintCell(DisplColIndex(ACol), ARow);
        }
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        QString t, f;
        GetCheckTrue(ACol, ARow, t);
        GetCheckFalse(ACol, ARow, f);
        const bool was = Cells(ACol, ARow) == t;
        SetCellEx(ACol, ARow, Value ? t : f);
        if (was != Value)
            DoCheckBoxChange(ACol, ARow, Value);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        if (RowSelect(ARow) != Value) {
            SetRowSelect(ARow, Value);
            DoCheckBoxChange(ACol, ARow, Value);
        }
        return true;
    default:
        return false;
    }
}

void TVerIvovavOzed::CheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellCheckState(ACol, r, true);
    if (NumHiddenColumns() > 0)
        RepaintCol(DisplColIndex(ACol));
}

void TVerIvovavOzed::UnCheckAll(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetCellCheckState(ACol, r, false);
}


bool TVerIvovavOzed::ToggleCellCheck(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    // The group the row belongs to, noted before anything changes: the node row itself, or the
    // node row above that holds it.
    const bool autoGroup = FGrouping->AutoCheckGroup;
    const bool nodeRow = autoGroup && IsNode(ARow);
    const int parent = autoGroup && !nodeRow ? GetParentRow(ARow) : -1;
    if (!IsToggleType(g->CellType()))
        return false;
    if (FromUser && !FControlLook->CheckAlwaysActive && !CanUserChange(ACol, ARow))
        return false;
    bool state = false;
    // What the cell held before the toggle is what an undo must bring back.
    const QString before = GetCellEx(ACol, ARow);
    switch (g->CellType()) {
    case ctCheckBox:
        g->SetCellBoolean(!g->CellBoolean());
        state = g->CellBoolean();
        break;
    case ctTriStateCheckBox:
        if (nodeRow) {
            // A group's box goes to checked from unchecked and from grayed.
            g->SetCellCheckBoxState(g->CellCheckBoxState() == cbChecked ? cbUnchecked : cbChecked);
            state = g->CellCheckBoxState() == cbChecked;
            break;
        }
        // Unchecked, grayed, checked, and round again.
        switch (g->CellCheckBoxState()) {
        case cbUnchecked:
            g->SetCellCheckBoxState(cbGrayed);
            break;
        case cbGrayed:
            g->SetCellCheckBoxState(cbChecked);
            break;
        default:
            g->SetCellCheckBoxState(cbUnchecked);
            break;
        }
        state = g->CellCheckBoxState() == cbChecked;
        break;
    default: {
        QString t, f;
        GetCheckTrue(ACol, ARow, t);
        GetCheckFalse(ACol, ARow, f);
        state = Cells(ACol, ARow) != t;
        SetCellEx(ACol, ARow, state ? t : f);
        break;
    }
    }
    RepaintCell(DisplColIndex(ACol), ARow);
    DoCheckBoxChange(ACol, ARow, state);
    if (nodeRow) {
        // Every row of the group follows the node's box (by real row: the group may be contracted).
        const int first = RealRowIndex(ARow);
        const int end = NodeEndReal(ARow);
        for (int r = first + 1; r < end; ++r)
            SetCheckBoxState(ACol, r, state);
    } else if (parent >= 0) {
        // The node's box tells whether its rows agree: checked, unchecked, or grayed when mixed.
        const int first = RealRowIndex(parent);
        const int end = NodeEndReal(parent);
        auto read = [&](int real) {
            TCheckBoxState st = cbUnchecked;
            if (!GetCheckBoxState(ACol, real, st)) {
                bool b = false;
                if (GetCheckBoxState(ACol, real, b))
                    st = BoolToCheckBoxState(b);
            }
            return st;
        };
        const TCheckBoxState reference = read(first + 1);
        bool same = true;
        for (int r = first + 1; r < end && same; ++r)
            same = read(r) == reference;
        SetCheckBoxState(ACol, first, same ? reference : cbGrayed);
    }
    if (RUvaVoviVareReda* undo = UndoRedo()) {
        switch (g->CellType()) {
        case ctDataCheckBox: case ctVirtCheckBox: case ctRowCheckBox:
            // The state lives in the text: record the text it had and the one it has now.
            undo->RegisterChange(ACol, ARow, before, GetCellEx(ACol, ARow));
            break;
        default: {
            QString t, f;
            GetCheckTrue(ACol, ARow, t);
            GetCheckFalse(ACol, ARow, f);
            if (g->CellBoolean())
                undo->RegisterChange(ACol, ARow, f, t);
            else
                undo->RegisterChange(ACol, ARow, t, f);
            break;
        }
        }
    }
    return true;
}

void TVerIvovavOzed::DoCheckBoxChange(int ACol, int ARow, bool State)
{
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

// ---- radio buttons ---------------------------------------------------------------------------

void TVerIvovavOzed::AddRadioButton(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + NumHiddenColumns() || ARow >= RowCount() + NumHiddenRows())
        throw ZUzeRodoRediv("Invalid cell");
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetRadioButton(State, true, haBeforeText, CellVAlignOf(FVAlignment));
    g->SetCellAngle(0);
    g->SetCellBoolean(State);
}

void TVerIvovavOzed::RemoveRadioButton(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) == ctRadioButton) {
        RemoveCellGraphic(ACol, ARow);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
}

void TVerIvovavOzed::AddRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TVerIvovavOzed::RemoveRadioButtonColumn(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r))
            RemoveRadioButton(ACol, r);
}

bool TVerIvovavOzed::IsRadioButtonChecked(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    return g && g->CellType() == ctRadioButton && g->CellBoolean();
}

bool TVerIvovavOzed::SetRadioButtonState(int ACol, int ARow, bool State)
{
    if (ACol < 0 || ARow < 0)
        return false;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (g->CellBoolean() != State) {
        g->SetCellBoolean(State);
        RepaintCell(DisplColIndex(ACol), ARow);
    }
    return true;
}

void TVerIvovavOzed::SetRadioButtonColumnIndex(int ACol, int Index)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

int TVerIvovavOzed::GetRadioButtonColumnIndex(int ACol)
{
    for (int r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

bool TVerIvovavOzed::ClickCellRadioButton(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadioButton)
        return false;
    if (FromUser && !FControlLook->CheckAlwaysActive && !CanUserChange(ACol, ARow))
        return false;
    if (!g->CellBoolean()) {
        g->SetCellBoolean(true);
        RepaintCell(DisplColIndex(ACol), ARow);
        for (int r = 0; r < RowCount(); ++r) {
            if (r == ARow)
                continue;
            TCellGraphic* o = GetCellGraphic(ACol, r);
            if (o && o->CellType() == ctRadioButton && o->CellBoolean()) {
                o->SetCellBoolean(false);
                RepaintCell(DisplColIndex(ACol), r);
            }
        }
    }
    return true;
}

// ---- radio groups ----------------------------------------------------------------------------

void TVerIvovavOzed::AddRadio(int ACol, int ARow, int DirRadio, int IdxRadio, platform::TStringList* sl)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellAngle(sl ? sl->Count() : 0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    g->CellBitmap().Lend(sl);
}

platform::TStringList* TVerIvovavOzed::CreateRadio(int ACol, int ARow, int DirRadio, int IdxRadio)
{
    TCellGraphic* g = CreateCellGraphic(ACol, ARow);
    g->SetCellType(ctRadio);
    g->SetCellAngle(0);
    g->SetCellBoolean(DirRadio != 0);
    g->SetCellIndex(IdxRadio);
    auto list = std::make_unique<platform::TStringList>();
    platform::TStringList* result = list.get();
    g->CellBitmap().Own(std::move(list));
    return result;
}

bool TVerIvovavOzed::GetRadioIdx(int ACol, int ARow, int& IdxRadio)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    IdxRadio = g->CellIndex();
    return g->CellType() == ctRadio;
}

bool TVerIvovavOzed::SetRadioIdx(int ACol, int ARow, int IdxRadio)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g)
        return false;
    g->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCellEx(ACol, ARow, QString());
    RepaintCell(DisplColIndex(ACol), ARow);
    return g->CellType() == ctRadio;
}

platform::TStringList* TVerIvovavOzed::GetRadioStrings(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint b = BaseCell(ACol, ARow);
    TCellGraphic* g = GetCellGraphic(b.X, b.Y);
    if (!g || g->CellType() != ctRadio)
        return nullptr;
    return g->CellBitmap().As<platform::TStringList>();
}

void TVerIvovavOzed::RemoveRadio(int ACol, int ARow)
{
    if (GetCellType(ACol, ARow) == ctRadio)
        RemoveCellGraphic(ACol, ARow);
}

void TVerIvovavOzed::CycleCellRadio(int ACol, int ARow, bool FromUser)
{
    TCellGraphic* g = GetCellGraphic(ACol, ARow);
    if (!g || g->CellType() != ctRadio)
        return;
    if (FromUser && !FControlLook->RadioAlwaysActive && !CanUserChange(ACol, ARow))
        return;
    const platform::TStringList* list = g->CellBitmap().As<platform::TStringList>();
    const int count = list ? list->Count() : 0;
    if (count == 0)
        return;
    const int current = g->CellIndex() >= 0 ? g->CellIndex() : list->IndexOf(Cells(ACol, ARow));
    int next = current + 1;
    if (next >= count)
        next = 0;
    // A group whose index is below -1 stays driven by its cell text.
    if (g->CellIndex() >= -1)
        g->SetCellIndex(next);
    g->SetCellVar(next);
    SetCellEx(ACol, ARow, list->Strings(next));
}
