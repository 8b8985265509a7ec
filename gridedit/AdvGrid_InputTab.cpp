// TVerIvovavOzed: the Tab move and the row helpers the keyboard shares with it.
#include "grid/AdvGrid.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <set>
#include <utility>

// ---- tab stops -------------------------------------------------------------------------------

bool TVerIvovavOzed::IsTabStopCell(int ACol, int ARow)
{
    bool stop = (Options() & goEditing) ? IsEditable(DisplToRealCol(ACol), ARow) : !IsFixed(ACol, ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, stop);
    return stop;
}

int TVerIvovavOzed::FirstTabStopCol(int ARow)
{
    for (int c = 0; c < ColCount(); ++c)
        if (IsTabStopCell(c, ARow))
            return c;
    return -1;
}

int TVerIvovavOzed::LastTabStopCol(int ARow)
{
    for (int c = ColCount() - 1; c >= 0; --c)
        if (IsTabStopCell(c, ARow))
            return c;
    return -1;
}

void TVerIvovavOzed::GotoFirstNormalRow() { SetRow(FixedRows()); }

bool TVerIvovavOzed::IsOnLastNormalRow()
{
    return Row() == RowCount() - FixedFooters() - 1 || (FFloatingFooter->Visible() && Row() == RowCount() - 2);
}

void TVerIvovavOzed::AppendRowAtEnd()
{
    bool canAdd = true;
    DoCanAddRow(canAdd);
    if (!canAdd)
        return;
    auto emptyRow = [this](int r) {
        for (int c = 0; c < AllColCount(); ++c) {
            SetGridObject(c, r, nullptr);
            SetGridCell(c, r, QString());
        }
    };
    if (FFloatingFooter->Visible()) {
        // The footer row stays last: its texts move into the new last row.
        QStringList footer;
        const int last = RowCount() - 1;
        for (int c = 0; c < AllColCount(); ++c)
            footer.append(GetGridCell(c, last));
        SetRowCount(RowCount() + 1);
        emptyRow(RowCount() - 2);
        for (int c = 0; c < AllColCount(); ++c)
            SetGridCell(c, RowCount() - 1, footer.at(c));
    } else {
        SetRowCount(RowCount() + 1);
        emptyRow(RowCount() - 1);
    }
    if (FFloatingFooter->Visible() || FixedFooters() > 0)
        SetRow(Row() + 1);
    if (FFloatingFooter->Visible())
        CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
}

// ---- the Tab move ----------------------------------------------------------------------------

void TVerIvovavOzed::HandOverTab(bool& Result, bool& HandedOver)
{
    if (!parentWidget() || !FNavigation->TabToNextAtEnd())
        return;
    // The window moves the focus on, as it does for a Tab it receives itself.
    if (!HandedOver)
        QCoreApplication::postEvent(parentWidget(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    HandedOver = true;
    Result = false;
}

bool TVerIvovavOzed::TabNavigate(bool Backward)
{
    if (OnKeyDown) {
        Word key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState(ssShift) : TShiftState());
        if (key != VK_TAB)
            return true;
    }
    bool result = true;
    bool handedOver = false;
    // Cells that must be left again (not a base cell, not editable) are skipped in a loop; it
    // ends when a step cannot leave its cell or comes back to a cell already passed.
    std::set<std::pair<int, int>> passed;
    for (;;) {
        if (Col() == FLastTabCol && Row() == FLastTabRow)
            break;
        if (!passed.insert({Col(), Row()}).second)
            break;
        FLastTabCol = Col();
        FLastTabRow = Row();
        bool repeat = false;
        TabStep(Backward, result, repeat, handedOver);
        if (!repeat && (Options() & goEditing) && !IsEditable(DisplToRealCol(Col()), Row()))
            repeat = true;
        if (!repeat)
            break;
    }
    if (FNavigation->AdvanceAutoEdit() && !IsControlCell(DisplToRealCol(Col()), Row()))
        ClickCellSilently(Col(), Row());
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (FNavigation->AlwaysEdit())
        SetFocus();
    return result;
}

void TVerIvovavOzed::TabStep(bool Backward, bool& Result, bool& Repeat, bool& HandedOver)
{
    const int rightEdge = ColCount() - VisibleFixedRightCols();
    const int leftEdge = NavigationFixedCols();
    const int lastNormal = RowCount() - FixedFooters() - 1;
    const TPoint span = CellSpan(Col(), Row());
    const bool leftRight = FNavigation->TabAdvanceDirection() == adLeftRight;
    auto selectSingle = [this](int c, int r) {
        if (FIsDBVersion) {
            SetRow(r);
            SetCol(c);
        } else {
            SetSelection({c, r, c, r});
        }
    };
    // A row without a tab stop never moves the current column off the normal columns.
    auto firstStopOr = [this](int r) {
        const int c = FirstTabStopCol(r);
        return c >= FixedCols() ? c : FixedCols();
    };

    if (!Backward && !leftRight) {
        if (Row() + span.Y + 1 < RowCount() - FixedFooters()) {
            SetRow(Row() + span.Y + 1);
        } else {
            GotoFirstNormalRow();
            if (Col() < rightEdge - 1) {
                SetCol(Col() + 1);
            } else {
                SetCol(leftEdge);
                HandOverTab(Result, HandedOver);
            }
        }
        return;
    }

    if (!Backward && Col() + span.X + 1 < rightEdge) {
        int c = 1;
        while (Col() + span.X + c < rightEdge && !IsTabStopCell(Col() + span.X + c, Row()))
            ++c;
        if (Col() + span.X + c < rightEdge) {
            SetCol(Col() + span.X + c);
            Repeat = !IsBaseCell(Col(), Row());
            return;
        }
        FForceSel = true;
        if (Row() < lastNormal) {
            const int newCol = FirstTabStopCol(Row() + 1);
            bool allow = true;
            if (OnRowChanging)
                OnRowChanging(this, Row(), Row() + 1, allow);
            if (OnCellChanging)
                OnCellChanging(this, Row(), Col(), Row() + 1, newCol, allow);
            if (OnColChanging)
                OnColChanging(this, Col(), newCol, allow);
            if (allow) {
                SetCol(newCol >= FixedCols() ? newCol : FixedCols());
                SetRow(Row() + 1);
            }
        } else {
            const int newCol = FirstTabStopCol(FixedRows());
            if (newCol >= FixedCols())
                selectSingle(newCol, FixedRows());
            HandOverTab(Result, HandedOver);
        }
        FForceSel = false;
        return;
    }

    if (!Backward) {
        // The current cell is the last one of its row.
        if (Row() < lastNormal) {
            int found = -1;
            for (int c = leftEdge; c < rightEdge && found < 0; ++c)
                if (IsBaseCell(c, Row() + 1) && IsTabStopCell(c, Row() + 1))
                    found = c;
            if (found >= 0) {
                FForceSel = true;
                SetCol(found);
                SetRow(Row() + 1);
                FForceSel = false;
                return;
            }
            for (int r = Row() + 2; r < RowCount(); ++r) {
                const int c = FirstTabStopCol(r);
                if (c >= FixedCols()) {
                    SetRow(r);
                    SetCol(c);
                    return;
                }
            }
            SetRow(RowCount() - 1);
            SetCol(ColCount() - 1);
            Repeat = true;
            return;
        }
        if (FNavigation->TabToNextAtEnd() || !FNavigation->AdvanceInsert()) {
            GotoFirstNormalRow();
        } else {
            bool canAdd = true;
            DoCanAddRow(canAdd);
            if (canAdd) {
                if (FFloatingFooter->Visible()) {
                    InsertRows(RowCount() - 1, 1);
                    SetRow(RowCount() - 2);
                } else {
                    SetRowCount(RowCount() + 1);
                    SetRow(RowCount() - 1);
                }
                if (OnAutoAddRow)
                    OnAutoAddRow(this, RowCount() - FixedFooters() - 1);
            } else {
                GotoFirstNormalRow();
            }
        }
        SetCol(firstStopOr(Row()));
        HandOverTab(Result, HandedOver);
        return;
    }

    if (!leftRight) {
        if (Row() > FixedRows()) {
            SetRow(Row() - 1);
        } else {
            SetRow(lastNormal);
            SetCol(Col() > leftEdge ? Col() - 1 : rightEdge - 1);
        }
        return;
    }

    if (Col() > leftEdge) {
        int b = 1;
        while (Col() - b >= leftEdge && !(IsTabStopCell(Col() - b, Row()) && IsBaseCell(Col() - b, Row())))
            ++b;
        if (Col() - b >= leftEdge) {
            SetCol(Col() - b);
            return;
        }
        if (Row() > FixedRows()) {
            const int c = LastTabStopCol(Row() - 1);
            if (c >= FixedCols())
                selectSingle(c, Row() - 1);
        } else {
            const int c = LastTabStopCol(lastNormal);
            if (c >= FixedCols()) {
                selectSingle(c, lastNormal);
                ScrollInView(c, lastNormal);
            }
        }
        if (!IsBaseCell(Col(), Row()))
            GotoBaseCell();
        return;
    }

    int c = rightEdge - 1;
    while (c >= FixedCols() && !IsTabStopCell(c, Row()))
        --c;
    SetCol(c >= FixedCols() ? c : FixedCols());
    SetRow(Row() > FixedRows() ? Row() - 1 : lastNormal);
}
