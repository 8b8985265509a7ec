// TVerIvovavOzed: the key-down and character processing of the grid.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"
#include "render/RuvOdid.h"
#include "render/VurADIDO.h"

namespace {

bool IsPageOrArrow(Word k) { return k >= VK_PRIOR && k <= VK_DOWN; }

} // namespace

// A cell whose HTML text holds form controls is operated with the mouse only.
bool TVerIvovavOzed::IsControlTagCell(int ARealCol, int ARow)
{
    const QString text = Cells(ARealCol, ARow);
    return ClassifyCellText(text, EnableHTML()) == 1 && text.toUpper().contains(QLatin1String("<CONTROL"));
}

void TVerIvovavOzed::ReportSelectionChange()
{
    const TGridRect s = Selection();
    SelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
}

void TVerIvovavOzed::HandleKeyDownMessage(TWMKey& Msg)
{
    const Word key = Msg.CharCode;
    if (key == 0)
        return;
    // A key ends wheel panning and then goes its usual way.
    if (FWheelPan)
        EndPanning();
    // Step 0: the state at the moment the key arrives.
    FMoveSelection = Selection();
    const TShiftState shift = Msg.Shift;
    const bool ctrl = shift & ssCtrl;
    const bool shiftDown = shift & ssShift;
    const bool alt = shift & ssAlt;
    const int realCol = DisplToRealCol(Col());
    const int oldRow = Row();
    const int oldLeft = LeftCol();
    const bool keepScroll = (key == VK_PRIOR || key == VK_NEXT || key == VK_UP || key == VK_DOWN) &&
                            (Options() & goRowSelect) && LeftCol() != FixedCols() && FNavigation->KeepHorizScroll();
    const bool enterOrF2 = key == VK_RETURN || key == VK_F2;
    auto fireKeyDown = [&] {
        if (OnKeyDown) {
            Word copy = key;
            OnKeyDown(this, copy, shift);
        }
    };
    auto swallow = [&] {
        Msg.CharCode = 0;
        Msg.Result = 1;
    };
    const int lastNormal = RowCount() - FixedFooters() - 1;

    // Step 1: scroll-only mode.
    if (FNavigation->MoveScrollOnly() &&
        (key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME || key == VK_UP || key == VK_DOWN)) {
        const int vis = VisibleRowCount();
        switch (key) {
        case VK_PRIOR:
            SetTopRow(vis + FixedRows() < TopRow() ? TopRow() - vis : FixedRows());
            break;
        case VK_NEXT:
            if (TopRow() + vis < RowCount())
                SetTopRow(TopRow() + vis);
            break;
        case VK_END:
            SetTopRow(RowCount() - vis);
            break;
        case VK_HOME:
            SetTopRow(FixedRows());
            break;
        case VK_UP:
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - 1);
            break;
        default:
            if (TopRow() + vis < RowCount())
                SetTopRow(TopRow() + 1);
            break;
        }
        Msg.Result = 1;
        return;
    }

    // Steps 2 and 3: Enter and F2 may switch editing on.
    if (enterOrF2 && FMouseActions->EditOnDblClickOnly() && !(Options() & goEditing)) {
        const bool was = FMouseActions->RangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(realCol, Row());
        FMouseActions->SetRangeSelectAndEdit(was);
        if (editable)
            SetOptions(Options() | goEditing);
    }
    if (enterOrF2 && FMouseActions->RangeSelectAndEdit() && !(Options() & goEditing)) {
        if (!IsEditable(realCol, Row())) {
            fireKeyDown();
            swallow();
            return;
        }
        SetOptions(Options() | goEditing);
        ShowInplaceEdit();
    }

    // Step 4: Ctrl+F puts the focus into the shown search footer's field; the key goes on.
    if (ctrl && key == 'F' && FSearchFooter->Visible())
        if (TSearchPanel* panel = SearchPanel())
            panel->EditControl()->setFocus();
    // Alt with a character: the accelerators of the shown search footer's buttons.
    if (alt && !ctrl && FSearchFooter->Visible() && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
        TWMKey dialogChar;
        dialogChar.CharCode = key;
        if (HandleDialogChar(dialogChar) == 1) {
            swallow();
            return;
        }
    }

    // Step 5.
    if (enterOrF2) {
        if ((Options() & goEditing) && !IsEditable(realCol, Row())) {
            fireKeyDown();
            swallow();
            return;
        }
        if (IsControlTagCell(realCol, Row())) {
            Msg.Result = 1;
            return;
        }
    }

    // Step 6: Enter on a cell that may not be edited goes no further.
    if (key == VK_RETURN && !IsEditable(realCol, Row())) {
        fireKeyDown();
        swallow();
        return;
    }

    // Step 7: space and Enter on a cell holding a control.
    if ((key == VK_SPACE || key == VK_RETURN) && IsControlCell(realCol, Row())) {
        bool canChange = (Options() & goEditing) || FMouseActions->RangeSelectAndEdit();
        IsReadOnlyCell(realCol, Row(), canChange);
        if (key == VK_SPACE) {
            if ((canChange || FControlLook->CheckAlwaysActive) && HasCheckBox(realCol, Row())) {
                if (ToggleCellCheck(realCol, Row(), true)) {
                    if (FShowModified->Enabled()) {
                        SetRowModified(Row(), true);
                        RepaintCell(0, Row());
                    }
                    bool state = false;
                    GetCheckBoxState(realCol, RealRowIndex(Row()), state);
                    DoCheckBoxClick(realCol, Row(), state);
                }
            }
            if ((canChange || FControlLook->RadioAlwaysActive) && IsRadio(realCol, Row())) {
                CycleCellRadio(realCol, Row(), true);
                int idx = -1;
                GetRadioIdx(realCol, Row(), idx);
                if (OnRadioClick)
                    OnRadioClick(this, realCol, Row(), idx);
            }
            if ((canChange || FControlLook->RadioAlwaysActive) && HasRadioButton(realCol, Row())) {
                SetRadioButtonColumnIndex(realCol, Row());
                if (OnRadioButtonClick)
                    OnRadioButtonClick(this, realCol, Row());
            }
        }
        if (canChange && HasCellObjectOfType(realCol, Row(), {ctButton, ctBitButton}))
            DoButtonClick(realCol, Row());
        RepaintCell(Col(), Row());
    }

    // Step 8: Home and End.
    if (key == VK_HOME || key == VK_END) {
        const THomeEndAction he = FNavigation->HomeEndKey();
        const bool baseOnly = FFixedRowAlways && RowCount() == 1;
        bool handled = false;
        auto rowSelection = [&] {
            if (!shiftDown) {
                if (FMouseActions->DisjunctRowSelect()) {
                    ClearRowSelect();
                    SelectionToRowSelect(false);
                }
            } else {
                SetSelection({0, std::min(oldRow, Row()), ColCount() - 1, std::max(oldRow, Row())});
                if (FMouseActions->DisjunctRowSelect()) {
                    ClearRowSelect();
                    SelectionToRowSelect(false);
                }
            }
        };
        auto keepLeft = [&] {
            if ((Options() & goRowSelect) && FNavigation->KeepHorizScroll()) {
                BeginUpdate();
                SetLeftCol(oldLeft);
                EndUpdate();
            }
        };
        // A row without a tab stop leaves the current column where it is.
        auto firstStop = [&](int r) {
            const int c = FirstTabStopCol(r);
            return c >= FixedCols() ? c : Col();
        };
        if (he == heFirstLastCell && !ctrl) {
            if (key == VK_HOME) {
                SetCol(FixedCols());
                SetRow(FixedRows());
            } else {
                SetCol(ColCount() - 1);
                SetRow(RowCount() - 1);
            }
            GotoBaseCell();
            handled = true;
        } else if (he == heFirstLastRow && !ctrl && !baseOnly) {
            if (key == VK_HOME) {
                SetRow(FixedRows());
            } else {
                const bool footer = FFloatingFooter->Visible();
                if (FixedFooters() > 0 && !footer)
                    SetTopRow(RowCount() - VisibleRowCount());
                SetRow(footer && RowCount() > 2 ? RowCount() - 2 : lastNormal);
                GotoBaseCell();
                rowSelection();
                if (footer)
                    SetTopRow(RowCount() - VisibleRowCount());
                keepLeft();
                fireKeyDown();
                Msg.Result = 0;
                return;
            }
            GotoBaseCell();
            rowSelection();
            keepLeft();
            handled = true;
        } else if (he == heFirstLastColumn && key == VK_HOME && ctrl) {
            SetRow(FixedRows());
            SetCol(firstStop(Row()));
            GotoBaseCell();
            SetLeftCol(NavigationFixedCols());
            handled = true;
        } else if (he == heFirstLastColumn && !ctrl && !(Options() & goRowSelect) && !baseOnly) {
            if (key == VK_HOME) {
                if (shiftDown) {
                    SetSelection({FixedCols(), Row(), Col(), Row()});
                    RepaintRow(Row());
                } else {
                    SetCol(firstStop(Row()));
                    GotoBaseCell();
                    SetLeftCol(NavigationFixedCols());
                }
            } else {
                if (shiftDown) {
                    SetSelection({Col(), Row(), ColCount() - FixedRightCols() - 1, Row()});
                    RepaintRow(Row());
                } else {
                    SetCol(ColCount() - 1);
                    GotoBaseCell();
                    SetLeftCol(ColCount() - VisibleColCount());
                }
            }
            handled = true;
        }
        if (handled) {
            fireKeyDown();
            Msg.Result = 0;
            return;
        }
    }

    // Step 9: Right opens and Left closes the node of a merged node row; the key goes on.
    if ((key == VK_LEFT || key == VK_RIGHT) && IsNode(Row()) && IsMergedCell(Col(), Row()))
        KeyNode(Row(), key == VK_RIGHT);

    // Step 10: horizontal scrolling in row-select mode.
    if ((key == VK_LEFT || key == VK_RIGHT) && (Options() & goRowSelect) && !IsNode(Row()) &&
        VisibleColCount() < ColCount()) {
        auto scroll = [&] {
            if (key == VK_LEFT && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            else if (key == VK_RIGHT && LeftCol() + VisibleColCount() < ColCount())
                SetLeftCol(LeftCol() + 1);
        };
        if (FNavigation->LeftRightRowSelect()) {
            if (ctrl)
                scroll();
        } else {
            scroll();
            fireKeyDown();
            Msg.Result = 0;
            return;
        }
    }

    // Step 11: Tab.
    if (key == VK_TAB && (Options() & goTabs)) {
        TabNavigate(shiftDown);
        if (!(Selection() == FMoveSelection))
            ReportSelectionChange();
        Msg.CharCode = 0;
        return;
    }

    // Step 12: arrows jump over fixed cells.
    if (FNavigation->SkipFixedCells() && IsPageOrArrow(key) && key >= VK_LEFT) {
        bool skipped = false;
        const int c0 = Col(), r0 = Row();
        if (key == VK_LEFT && c0 > FixedCols() && IsFixed(c0 - 1, r0)) {
            for (int c = c0 - 1; c >= FixedCols(); --c)
                if (!IsFixed(c, r0)) {
                    SetCol(c);
                    break;
                }
            skipped = true;
        } else if (key == VK_RIGHT && c0 < ColCount() - FixedRightCols() && c0 + 1 < ColCount() &&
                   IsFixed(c0 + 1, r0)) {
            for (int c = c0 + 1; c < ColCount() - FixedRightCols(); ++c)
                if (!IsFixed(c, r0)) {
                    SetCol(c);
                    break;
                }
            skipped = true;
        } else if (key == VK_UP && r0 > FixedRows() && IsFixed(c0, r0 - 1)) {
            if (Options() & goRowSelect)
                SetRow(r0 - 1);
            else
                for (int r = r0 - 1; r >= FixedRows(); --r)
                    if (!IsFixed(c0, r)) {
                        SetRow(r);
                        break;
                    }
            skipped = true;
        } else if (key == VK_DOWN && r0 < RowCount() - FixedFooters() && r0 + 1 < RowCount() && IsFixed(c0, r0 + 1)) {
            if (Options() & goRowSelect)
                SetRow(r0 + 1);
            else
                for (int r = r0 + 1; r < RowCount() - FixedFooters(); ++r)
                    if (!IsFixed(c0, r)) {
                        SetRow(r);
                        break;
                    }
            skipped = true;
        }
        if (skipped) {
            fireKeyDown();
            Msg.CharCode = 0;
        }
    }

    // Step 13: Down on the last normal row appends one.
    if (key == VK_DOWN && IsOnLastNormalRow() && FNavigation->AppendOnArrowDown())
        AppendRowAtEnd();

    // Step 14.
    if (!(Selection() == FMoveSelection) && SelectionRectangle()) {
        const TGridRect s = Selection();
        TRect r1 = CellRect(s.Left, s.Top), r2 = CellRect(s.Right, s.Bottom), u;
        UnionRect(u, r1, r2);
        viewport()->update(ToQRect(u));
        FMoveSelection = s;
    }

    // Steps 16 to 19: the base grid's navigation.
    if (keepScroll)
        BeginUpdate();
    if (Msg.CharCode != 0)
        TBaseGrid::WMKeyDown(Msg);
    if (keepScroll) {
        SetLeftCol(oldLeft);
        EndUpdate();
    }

    // The base grid's move into a disabled row is refused; Up and Down go on to the nearest
    // enabled row in their direction instead, and stay put when there is none.
    if ((key == VK_UP || key == VK_DOWN) && FUseEnabledRows && FNavigation->SkipDisabledRows() && Row() == oldRow) {
        const int step = key == VK_UP ? -1 : 1;
        for (int r = oldRow + step; r >= FixedRows() && r <= lastNormal; r += step)
            if (RowEnabled(r)) {
                SetRow(r);
                break;
            }
    }

    // Step 20.
    const int selRow =
        FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent() ? DisplToRealRow(Row()) : Row();

    // Step 21: the clipboard shortcuts; the first that matches acts, and the key goes no further.
    if (FNavigation->AllowClipboardShortCuts()) {
        TClipboardKey clip = ckNone;
        if (ctrl && key == 'X')
            clip = ckCut;
        else if (ctrl && key == 'V')
            clip = ckPaste;
        else if (ctrl && (key == VK_INSERT || key == 'C'))
            clip = ckCopy;
        else if (shiftDown && key == VK_INSERT)
            clip = ckPaste;
        else if (shiftDown && key == VK_DELETE)
            clip = ckCut;
        if (clip != ckNone) {
            ClipboardShortCut(clip);
            return;
        }
    }

    // Step 22: Insert adds a row.
    if (key == VK_INSERT && FNavigation->AllowInsertRow() && !ctrl && !shiftDown && !alt)
        InsertRowByKey();

    // Step 23: select all.
    if (key == 'A' && ctrl) {
        if (Options() & (goRowSelect | goRangeSelect))
            SelectAllByKey();
    } else {
        // Steps 24 and 25: the disjunct selections.
        if (IsPageOrArrow(key)) {
            if (FMouseActions->DisjunctRowSelect()) {
                if (!shiftDown && !ctrl)
                    ClearRowSelect();
                if (shiftDown)
                    SelectionToRowSelect(true);
                else
                    SetRowSelect(selRow, true);
            }
            if (FMouseActions->DisjunctColSelect()) {
                if (!shiftDown && !ctrl)
                    ClearColSelect();
                if (shiftDown)
                    SelectionToColSelect(true);
                else
                    SetColSelect(Col(), true);
            }
        }
        if (key == VK_SPACE) {
            if (FMouseActions->DisjunctRowSelect())
                SetRowSelect(selRow, !RowSelect(selRow));
            if (FMouseActions->DisjunctColSelect())
                SetColSelect(Col(), !ColSelect(Col()));
        }
        // Step 26: Delete removes a row.
        if (key == VK_DELETE && FNavigation->AllowDeleteRow() && !alt && lastNormal >= FixedRows())
            DeleteRowByKey();
        // Step 27.
        if (enterOrF2)
            RememberCellText(Col(), Row());
    }

    // Step 28.
    if (!(Selection() == FMoveSelection)) {
        ReportSelectionChange();
        FMoveSelection = Selection();
    }
}

void TVerIvovavOzed::InsertRowByKey()
{
    bool canInsert = true;
    if (OnCanInsertRow)
        OnCanInsertRow(this, Row(), canInsert);
    if (!canInsert)
        return;
    const bool filter = FilterActive();
    SetFilterActive(false);
    int newRow = Row();
    const int r = RealRowIndex(Row());
    if (r < RowCount())
        SetRow(r);
    int at;
    if (FNavigation->InsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && FixedRows() == RowCount()) {
            at = RealRowIndex(Row());
            newRow = 1;
        } else if (Row() < RowCount()) {
            at = RealRowIndex(Row() + 1);
            if (newRow + 1 < RowCount())
                ++newRow;
        } else {
            at = RealRowIndex(Row());
        }
    } else {
        at = RealRowIndex(Row());
    }
    InsertRows(DisplRowIndex(at), 1);
    if (OnAutoInsertRow)
        OnAutoInsertRow(this, at);
    FGridModified = true;
    SetFilterActive(filter);
    SetRow(newRow);
    CalcFooter(-1);
}

void TVerIvovavOzed::DeleteRowByKey()
{
    const int r = RealRowIndex(Row());
    const bool filter = FilterActive();
    SetFilterActive(false);
    bool canDelete = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(this, r, canDelete);
    if (!canDelete) {
        SetFilterActive(filter);
        return;
    }
    // The only normal row is emptied rather than removed.
    if (RowCount() - FixedFooters() - FixedRows() == 1 && !FFixedRowAlways)
        ClearRows(DisplRowIndex(r), 1);
    else
        RemoveRows(DisplRowIndex(r), 1);
    if (OnAutoDeleteRow)
        OnAutoDeleteRow(this, r);
    SetFilterActive(filter);
    if (FFloatingFooter->Visible() && Row() == RowCount() - 1)
        SetRow(RowCount() - 2);
    RememberCellText(Col(), Row());
    FGridModified = true;
    CalcFooter(-1);
}

void TVerIvovavOzed::SelectAllByKey()
{
    const int lastNormal = RowCount() - FixedFooters() - 1;
    const int lastCol = ColCount() - FixedRightCols() - 1;
    const TGridRect all{NavigationFixedCols(), FixedRows(), lastCol, lastNormal};
    if (FMouseActions->DisjunctRowSelect())
        for (int r = FixedRows(); r <= lastNormal; ++r)
            SetRowSelect(r, true);
    SetSelection(all);
    FocusCell(lastCol, lastNormal);
    const TRect cell = CellRect(lastCol, lastNormal);
    MouseDown(mbLeft, TShiftState(), cell.Left + 2, cell.Top + 2);
    MouseUp(mbLeft, TShiftState(), cell.Left + 2, cell.Top + 2);
    FocusCell(lastCol, lastNormal);
    SetSelection(all);
}

void TVerIvovavOzed::HandleCharMessage(TWMKey& Msg)
{
    QChar ch(Msg.CharCode);
    if (ch.isNull())
        return;
    const int realCol = DisplToRealCol(Col());
    const bool ctrl = Msg.Shift & ssCtrl;

    // Step 1.
    if (IsControlTagCell(realCol, Row())) {
        Msg.Result = 1;
        return;
    }
    // Step 2.
    if (FMouseActions->EditOnDblClickOnly()) {
        bool canEdit = true;
        IsReadOnlyCell(realCol, Row(), canEdit);
        if (canEdit)
            SetOptions(Options() | goEditing);
    }
    // Step 3: the clipboard control characters are not typed.
    const char16_t code = ch.unicode();
    if (FNavigation->AllowClipboardShortCuts() && ctrl && (code == 3 || code == 22 || code == 24)) {
        Msg.CharCode = 0;
        return;
    }
    // Step 4: range select and edit.
    if (FMouseActions->RangeSelectAndEdit() && !IsControlCell(realCol, Row()) && IsEditable(realCol, Row()) &&
        code != 9 && code != 27 && !ctrl) {
        if (OnKeyPress) {
            QChar copy = ch;
            OnKeyPress(this, copy);
        }
        FStartEditChar = ch;
        SetOptions(Options() | goEditing);
        const bool inView = LeftCol() <= Col() && Col() <= LeftCol() + VisibleColCount() && TopRow() <= Row() &&
                            Row() <= TopRow() + VisibleRowCount();
        if (!inView)
            ScrollInView(Col(), Row());
        const TRect cell = CellRect(Col(), Row());
        MouseDown(mbLeft, TShiftState(), cell.Left + 2, cell.Top + 2);
        TBaseGrid::WMChar(Msg);
        return;
    }
    // Step 5.
    if (ch == QLatin1Char('.') && Msg.Keypad && ExcelStyleDecimalSeparator()) {
        ch = platform::FormatSettings().DecimalSeparator;
        Msg.CharCode = ch.unicode();
    }
    bool done = false;
    if (IsControlCell(realCol, Row()) && code == 13 && FNavigation->AdvanceOnEnter()) {
        TBaseGrid::WMChar(Msg);
        done = true;
    }
    const char16_t c = ch.unicode();
    if ((Options() & goEditing) && c != 9 && (c == 8 || (c >= 32 && c != 127))) {
        if (OnKeyPress)
            OnKeyPress(this, ch);
        Msg.CharCode = ch.unicode();
        // A handler that clears the character stops it.
        if (ch.isNull())
            return;
        FStartEditChar = ch;
        if (!IsControlCell(realCol, Row()))
            ShowEditorChar(ch);
        return;
    }
    // The typing lookup of sorted grids: the typed text moves to the first row starting with it.
    // Escape and an Enter the grid's key-press step uses itself are not typed text.
    const bool enterUsed = c == 13 && ((!FNavigation->AdvanceOnEnter() && !IsEditable(realCol, Row())) ||
                                       EditorMode() || IsControlCell(realCol, Row()));
    if (!done && !(Options() & goEditing) && FNavigation->AutoGotoWhenSorted() && c != 27 && !enterUsed)
        IncrementalSearchKey(ch);
    if (!done)
        TBaseGrid::WMChar(Msg);
}
