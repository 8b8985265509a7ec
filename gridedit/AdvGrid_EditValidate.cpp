// TVerIvovavOzed: the remembered cell text, validation, the update lock, and the click, enter,
// exit and focus steps around an edit.
#include "grid/AdvGrid.h"

#include "grid/UndoRedo.h"
#include "platform/Guarded.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QToolTip>

using platform::Guarded;

// ---- remembered text and validation ----------------------------------------------------------

void TVerIvovavOzed::RememberCellText(int ACol, int ARow)
{
    FOldCol = ACol;
    FOldRow = ARow;
    const int c = DisplToRealCol(ACol);
    FOldCellText = GetGridCell(c, ARow);
    FOldCellTextWide = FOldCellText;
    FOldModifiedValue = FGridModified;
}

template <class Step>
std::optional<bool> TVerIvovavOzed::ValidateEditedCell(const QString& NewValue, Step&& step)
{
    if (!FEditing || FValidating || TearingDown())
        return std::nullopt;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    FNewCellText = NewValue;
    try {
        step(DisplToRealCol(FOldCol), FOldRow, valid);
    } catch (...) {
        RememberCellText(Col(), Row());
        FValidating = false;
        throw;
    }
    RememberCellText(Col(), Row());
    FValidating = false;
    return valid;
}

bool TVerIvovavOzed::ValidateCell(const QString& NewValue)
{
    const std::optional<bool> outcome = ValidateEditedCell(NewValue, [&](const int C, const int R, bool& valid) {
        if (NewValue == FOldCellText && !FAlwaysValidate)
            return;
        const bool changed = NewValue != FOldCellText;
        const bool advance = FNavigation->AdvanceOnEnter();
        FNavigation->SetAdvanceOnEnter(false);
        QString value = NewValue;
        try {
            if (OnCellValidate)
                OnCellValidate(this, C, R, value, valid);
        } catch (...) {
            FNavigation->SetAdvanceOnEnter(advance);
            throw;
        }
        FNavigation->SetAdvanceOnEnter(advance);
        FNewCellText = value;
        // Recorded as (text before, text after), so that an undo brings back what the cell
        // held before the edit.
        if (valid && UndoRedo())
            UndoRedo()->RegisterChange(C, R, FOldCellText, value);
        if (valid) {
            SetCells(C, R, value);
            int bc = C, br = R;
            if (!ResolveBaseCell(C, R, bc, br))
                SetCells(bc, br, value);
        } else {
            FLastValidation = false;
            // The old text, or the handler's replacement, goes back and the editor opens again
            // on the cell, so that nothing the cell held is lost.
            const QString back = value != NewValue ? value : FOldCellText;
            // The editors reopen on what the cell holds again, not on the refused text.
            FNewCellText = back;
            HideEditor();
            SetCells(C, R, back);
            if (FOldCol >= 0 && FOldRow >= 0 && FOldCol < ColCount() && FOldRow < RowCount() &&
                (FOldCol != Col() || FOldRow != Row()))
                FocusCell(FOldCol, FOldRow);
            FValidating = false;
            FEditing = true;
            ShowInplaceEdit();
            FValidating = true;
            SetModified(FOldModifiedValue);
            if (!InvalidEntryTitle().isEmpty() || !InvalidEntryText().isEmpty()) {
                QWidget* at = nullptr;
                if (EditCtrl && (FSpecialEditor || !EditMode))
                    at = EditCtrl;
                else
                    at = NormalEdit();
                if (auto* cb = qobject_cast<QComboBox*>(at); cb && cb->isEditable() && cb->lineEdit())
                    at = cb->lineEdit();
                ShowInvalidEntryBalloon(at);
            }
        }
        // What the cell holds now decides whether anything changed.
        const bool stored = GetGridCell(C, R) != FOldCellText;
        if (stored) {
            FGridModified = true;
            if (FixedCols() > 0) {
                SetRowModified(RealRowIndex(R), true);
                if (FShowModified->Enabled())
                    RepaintCell(0, R);
            }
        }
        if (valid) {
            CalcColumnFooter(C);
            if (changed)
                DoCellsChanged(TRect(C, R, C, R));
        }
        FOldCellText = GetGridCell(C, R);
    });
    if (!outcome)
        return true;
    if (*outcome)
        HideFocusFrame();
    return *outcome;
}

void TVerIvovavOzed::ShowInvalidEntryBalloon(QWidget* AEdit)
{
    FInvalidEntryBalloon.Title = InvalidEntryTitle();
    FInvalidEntryBalloon.Text = InvalidEntryText();
    FInvalidEntryBalloon.Icon = InvalidEntryIcon();
    FInvalidEntryBalloon.At = AEdit;
    FInvalidEntryBalloon.Shown = AEdit != nullptr;
    if (!AEdit)
        return;
    QString html;
    if (!FInvalidEntryBalloon.Title.isEmpty())
        html = QStringLiteral("<b>%1</b>").arg(FInvalidEntryBalloon.Title.toHtmlEscaped());
    if (!FInvalidEntryBalloon.Text.isEmpty()) {
        if (!html.isEmpty())
            html += QStringLiteral("<br>");
        html += FInvalidEntryBalloon.Text.toHtmlEscaped().replace(u'\n', QStringLiteral("<br>"));
    }
    // The tip hangs below the edit field, as an edit control's balloon does.
    QToolTip::showText(AEdit->mapToGlobal(QPoint(qMin(8, AEdit->width() / 2), AEdit->height())), html, AEdit);
}

bool TVerIvovavOzed::ValidateCellWide(const QString& NewValue)
{
    return ValidateEditedCell(NewValue, [&](const int C, const int R, bool& valid) {
        if (NewValue == FOldCellTextWide && !FAlwaysValidate)
            return;
        CalcColumnFooter(C);
        QString value = NewValue;
        if (OnCellValidateWide)
            OnCellValidateWide(this, C, R, value, valid);
        if (NewValue != FOldCellTextWide)
            FGridModified = true;
        FNewCellText = value;
        if (valid) {
            SetWideCells(C, R, value);
        } else {
            FLastValidation = false;
            SetWideCells(C, R, value != NewValue ? value : FOldCellTextWide);
            if (FOldCol >= 0 && FOldRow >= 0 && FOldCol < ColCount() && FOldRow < RowCount())
                FocusCell(FOldCol, FOldRow);
        }
        if (GetGridCell(C, R) != FOldCellTextWide && FShowModified->Enabled() && FixedCols() > 0)
            SetRowModified(FOldRow, true);
        FOldCellTextWide = GetGridCell(C, R);
    }).value_or(true);
}

// ---- update lock -----------------------------------------------------------------------------

// A grid that is hidden paints nothing anyway: the lock counts only on a grid that is not hidden
// itself (its window may still be unshown), so a bracket opened while hidden and closed while
// shown just repaints.
bool TVerIvovavOzed::ShownForUpdate() const
{
    return parentWidget() ? isVisibleTo(parentWidget()) : isVisible();
}

void TVerIvovavOzed::BeginUpdate()
{
    if (!ShownForUpdate())
        return;
    ++FUpdateCount;
    SuspendRedraw();
}

void TVerIvovavOzed::EndUpdate()
{
    if (!ShownForUpdate())
        return;
    if (FUpdateCount > 0) {
        --FUpdateCount;
        ResumeRedraw();
    }
    if (FUpdateCount == 0 && !FDestroying) {
        FSelChange = false;
        InvalidateGrid();
    }
}

void TVerIvovavOzed::paintEvent(QPaintEvent* event)
{
    // A paint asked for before the lock was taken still arrives; under the lock it paints nothing.
    if (FUpdateCount >= 1)
        return;
    TBaseGrid::paintEvent(event);
    // A grid outside the tab order sets up its proportional scroll bar once, at its first paint.
    if (!(focusPolicy() & Qt::TabFocus) && FPaintCount == 0) {
        FPaintCount = 1;
        UpdateVScrollBar();
    }
}

void TVerIvovavOzed::SetLockUpdate(bool Value)
{
    if (Value)
        BeginUpdate();
    else
        EndUpdate();
}

// ---- click, enter, exit, focus ---------------------------------------------------------------

void TVerIvovavOzed::Click()
{
    TBaseGrid::Click();
    FEntered = false;
    RememberCellText(Col(), Row());
}

void TVerIvovavOzed::DoEnter()
{
    if (FBlockFocus)
        return;
    try {
        TBaseGrid::DoEnter();
        if ((Options() & goEditing) || FMouseActions->RangeSelectAndEdit())
            AcceptCellSelection(Col(), Row());
    } catch (...) {
        RememberCellText(Col(), Row());
        throw;
    }
    RememberCellText(Col(), Row());
}

void TVerIvovavOzed::DoExit()
{
    if (FBlockKill)
        return;
    if (FSelChange && FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    FSelChange = false;
    TBaseGrid::DoExit();
}

void TVerIvovavOzed::focusInEvent(QFocusEvent* event)
{
    if (InvokedFocusChange)
        return;
    TBaseGrid::focusInEvent(event);
    Guarded([&] {
        if (HasCheckBox(RealCol(), Row()))
            return;
        const bool inView = Col() >= LeftCol() && Col() < LeftCol() + VisibleColCount() && Row() >= TopRow() &&
                            Row() < TopRow() + VisibleRowCount();
        if (!FNavigation->AlwaysEdit() || GridState() != gsNormal || !inView)
            return;
        bool canEdit = true;
        IsReadOnlyCell(RealCol(), Row(), canEdit);
        if (!canEdit)
            return;
        TAdvInplaceEdit* e = NormalEdit();
        if (e) {
            if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
                return;
            TEditorType editor = DefaultEditor();
            GetCellEditor(RealCol(), Row(), editor);
            if (editor == edNormal)
                ShowInplaceEdit();
        } else if (!FMouseActions->DirectEdit() && !FControlLook->DropDownAlwaysVisible() &&
                   HasComboBox(RealCol(), Row())) {
            ShowInplaceEdit();
        }
    });
}

void TVerIvovavOzed::focusOutEvent(QFocusEvent* event)
{
    if (FBlockKill)
        return;
    TBaseGrid::focusOutEvent(event);
    Guarded([&] {
        // A merged current cell draws its focus over the whole range, which must go too.
        if (IsMergedCell(RealCol(), Row()))
            RepaintCell(Col(), Row());
        // A held BUTTON control of an HTML cell comes up when the focus leaves, as on release.
        if (FCtrlDown) {
            FCtrlDown = false;
            if (FCtrlXY.Y >= 0 && FCtrlXY.Y < RowCount())
                RepaintCell(DisplColIndex(FCtrlXY.X), FCtrlXY.Y);
        }
    });
}
