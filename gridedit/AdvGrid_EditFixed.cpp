// TVerIvovavOzed: editing of fixed (header) cells through the fixed-cell edit and combo.
#include "grid/AdvGrid.h"

TGridTransEdit* NewGridTransEdit(TVerIvovavOzed* Grid) { return new TGridTransEdit(Grid); }

TGridTransCombo* NewGridTransCombo(TVerIvovavOzed* Grid) { return new TGridTransCombo(Grid); }

void TVerIvovavOzed::StartFixedCellEdit(int ACol, int ARow)
{
    if (FEditTrans->isVisible() && !FEditTrans->StopEdit())
        return;
    if (FComboTrans->isVisible() && !FComboTrans->StopEdit())
        return;
    bool canEdit = true;
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, canEdit);
    if (!canEdit)
        return;
    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    TGridFixedCellEditor kind = ACol == 0 ? FMouseActions->FixedColsEditor() : FMouseActions->FixedRowsEditor();
    platform::TStringList values;
    values.Assign(FMouseActions->FixedComboValues());
    if (OnFixedEdit)
        OnFixedEdit(this, ACol, ARow, kind, values);
    TRect r = CellRect(ACol, ARow);
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
    r.Bottom -= 1;
    const int realCol = RealColIndex(ACol);
    const QString text = Cells(realCol, ARow);
    if (kind == fceComboEdit || kind == fceComboList) {
        TGridTransCombo* cb = FComboTrans;
        cb->hide();
        cb->clear();
        for (int i = 0; i < values.Count(); ++i)
            cb->addItem(values.Strings(i));
        cb->setEditable(kind == fceComboEdit);
        cb->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
        cb->SetCol(realCol);
        cb->SetRow(ARow);
        if (kind == fceComboEdit)
            cb->setEditText(text);
        else
            cb->setCurrentIndex(cb->findText(text));
        cb->show();
        cb->raise();
        cb->setFocus(Qt::OtherFocusReason);
    } else {
        TGridTransEdit* e = FEditTrans;
        e->hide();
        e->setGeometry(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
        e->SetCol(realCol);
        e->SetRow(ARow);
        e->setText(text);
        e->show();
        e->raise();
        e->setFocus(Qt::OtherFocusReason);
    }
}

void TVerIvovavOzed::FixedEditChange(const QString& Value)
{
    if (OnEditChange)
        OnEditChange(this, FFixedColEdit, FFixedRowEdit, Value);
}

bool TVerIvovavOzed::FixedCellEditOnPress(int ACol, int ARow, TMouseButton Button, int X, int Y)
{
    if (ACol < 0 || ARow < 0)
        return false;
    TRect inner = CellRect(ACol, ARow);
    inner.Left += 4;
    inner.Top += 4;
    inner.Right -= 4;
    inner.Bottom -= 4;
    const bool inside = X >= inner.Left && X < inner.Right && Y >= inner.Top && Y < inner.Bottom;
    auto starts = [&](TGridFixedCellEdit setting, TGridOption sizing) {
        if (Button == mbLeft && setting == fceLeftClick)
            return !(Options() & sizing) || inside;
        return Button == mbRight && setting == fceRightClick;
    };
    if ((ARow < FixedRows() && starts(FMouseActions->FixedRowsEdit(), goColSizing)) ||
        (ACol < FixedCols() && starts(FMouseActions->FixedColsEdit(), goRowSizing))) {
        StartFixedCellEdit(ACol, ARow);
        return true;
    }
    return false;
}

bool TVerIvovavOzed::FixedCellEditOnDblClick(int ACol, int ARow)
{
    if (ACol < 0 || ARow < 0)
        return false;
    if ((ARow < FixedRows() && FMouseActions->FixedRowsEdit() == fceDblClick) ||
        (ACol < FixedCols() && FMouseActions->FixedColsEdit() == fceDblClick)) {
        StartFixedCellEdit(ACol, ARow);
        return true;
    }
    return false;
}
