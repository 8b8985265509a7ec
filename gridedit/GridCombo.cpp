#include "gridedit/GridCombo.h"

#include "grid/AdvGrid.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWheelEvent>

TGridCombo::TGridCombo(TVerIvovavOzed* AOwner) : TAsgComboBox(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    SetButtonWidth(16);
    setEnabled(false);
    hide();
}

void TGridCombo::LoadItems()
{
    QStringList list;
    for (int i = 0; i < Items.Count(); ++i)
        list.append(Items.Strings(i));
    SetItems(list);
}

void TGridCombo::RunChangeStep()
{
    const bool was = FSilentChange;
    FSilentChange = true;
    try {
        Change();
    } catch (...) {
        FSilentChange = was;
        throw;
    }
    FSilentChange = was;
}

bool TGridCombo::Editing() const { return FGrid && FGrid->EditMode && !FGrid->TearingDown(); }

bool TGridCombo::IsGridKey(Word Key, TShiftState Shift) const
{
    if (Key == VK_DOWN && (Shift & ssAlt))
        return false;
    if (IsListStyle() || DroppedDown())
        return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_LEFT || Key == VK_RIGHT;
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
           Key == VK_END || Key == VK_UP || Key == VK_DOWN;
}

void TGridCombo::SelectCurrentCellItem(bool clearWhenAbsent)
{
    const int i = findText(FGrid->CurrentCell(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0 || clearWhenAbsent)
        SetItemIndex(i);
}

void TGridCombo::CaretToEnd()
{
    if (QLineEdit* e = lineEdit())
        e->setCursorPosition(int(e->text().size()));
}

void TGridCombo::SelectAllText()
{
    if (QLineEdit* e = lineEdit())
        e->selectAll();
}

// The grid takes the focus with its always-edit navigation off, so that no editor reopens.
void TGridCombo::KeyDown(Word& Key, TShiftState Shift)
{
    if (!Editing()) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridCombo> self(this);
    const bool list = IsListStyle();
    const bool dropped = DroppedDown();
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);

    if ((Key == VK_UP || Key == VK_DOWN) && !g->Navigation().ComboGetUpDown() && !dropped && !(Shift & ssAlt)) {
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        Word k = Key;
        g->KeyDown(k, Shift);
        Key = 0;
        return;
    }
    if (!IsGridKey(Key, Shift)) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    if (Key == VK_ESCAPE) {
        SetText(g->CurrentCell());
        if (list)
            SelectCurrentCellItem(false);
        // The cell keeps the text it holds, also one the list does not offer.
        FKeepCellText = true;
        try {
            g->HideInplaceEdit();
        } catch (...) {
            FKeepCellText = false;
            throw;
        }
        FKeepCellText = false;
        FocusGridQuietly(g);
        Key = 0;
        return;
    }
    if (Key == VK_RETURN || ((Key == VK_UP || Key == VK_DOWN) && !list && !dropped)) {
        const QString t = Text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                SetText(g->FNewCellText);
                if (!list)
                    SelectAllText();
                update();
            }
            g->FNoAutoAdvance = true;
            Key = 0;
            return;
        }
        if (list)
            SelectCurrentCellItem(false);
        else
            SetText(g->CurrentCell());
    }
    if (Key == VK_TAB) {
        if (!g->HasCellValidation()) {
            Key = 0;
            return;
        }
        const QString t = Text();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                SetText(g->FNewCellText);
                CaretToEnd();
                update();
            }
            Key = 0;
            return;
        }
        if (list)
            SelectCurrentCellItem(true);
        else
            SetText(g->CurrentCell());
        if (g->Options() & goTabs) {
            g->HideInplaceEdit();
            FocusGridQuietly(g);
            Word k = VK_TAB;
            g->KeyDown(k, Shift);
            Key = 0;
            return;
        }
        QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }
    // Ending the edit.
    Word passed = Key;
    if (list || dropped) {
        const bool directClose = g->MouseActions().DirectComboClose();
        g->MouseActions().SetDirectComboClose(false);
        try {
            g->HideInplaceEdit();
        } catch (...) {
            g->MouseActions().SetDirectComboClose(directClose);
            throw;
        }
        g->MouseActions().SetDirectComboClose(directClose);
        if (Key == VK_LEFT || Key == VK_RIGHT) {
            FocusGridQuietly(g);
            Word k = Key;
            g->KeyDown(k, Shift);
        }
        if (Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_LEFT && Key <= VK_DOWN))
            passed = 0;
    } else if (Key == VK_END) {
        TAsgComboBox::KeyDown(Key, Shift);
        return;
    }
    g->DoneInplaceEdit(passed, Shift);
    if (g->Navigation().AdvanceOnEnter() && g->Navigation().AdvanceAutoEdit() && passed == VK_RETURN)
        g->ShowInplaceEdit();
    Key = 0;
}

void TGridCombo::KeyPress(QChar& Key)
{
    if (!FGrid || FGrid->TearingDown()) {
        TAsgComboBox::KeyPress(Key);
        return;
    }
    // The grid's key event names the grid: its handlers act on the grid (the table dialogs
    // move its current cell), not on the editor that happens to hold the key.
    QPointer<TGridCombo> self(this);
    if (FGrid->OnKeyPress)
        FGrid->OnKeyPress(FGrid, Key);
    if (!self)
        return;
    const char16_t c = Key.unicode();
    if (c == 27) {
        Key = QChar();
        return;
    }
    if (c == 13 && OnReturnKey)
        OnReturnKey(this);
    if (c == 13 || c == 9) {
        Key = QChar();
        return;
    }
    // The selection changes this key makes are reported by the change notice, once.
    TAsgComboBox::KeyPress(Key);
}

void TGridCombo::KeyUp(Word& Key, TShiftState Shift)
{
    if (FGrid)
        FGrid->FNoAutoAdvance = false;
    if (Key != VK_RETURN)
        TAsgComboBox::KeyUp(Key, Shift);
    DoChange();
}

void TGridCombo::DoChange()
{
    if (!FGrid || !WorkMode || !FGrid->Lookup() || IsListStyle())
        return;
    QLineEdit* e = lineEdit();
    if (!e)
        return;
    const bool cs = FGrid->LookupCaseSensitive();
    const int len = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
    QString p = e->text().left(len);
    if (p.isEmpty())
        return;
    if (!cs)
        p = p.toUpper();
    auto complete = [&](const QString& item, int index) {
        const QString completed = e->text().left(len) + item.mid(len, 255);
        if (index >= 0) {
            const QSignalBlocker block(this);
            setCurrentIndex(index);
        }
        e->setText(completed);
        e->setSelection(len, int(completed.size()) - len);
    };
    for (int i = 0; i < count(); ++i)
        if ((cs ? itemText(i) : itemText(i).toUpper()).startsWith(p)) {
            complete(itemText(i), i);
            return;
        }
    const platform::TStringList& lookup = FGrid->LookupItems();
    for (int i = 0; i < lookup.Count(); ++i)
        if ((cs ? lookup.Strings(i) : lookup.Strings(i).toUpper()).startsWith(p)) {
            complete(lookup.Strings(i), -1);
            return;
        }
}

void TGridCombo::SizeDropDownWidth()
{
    int w = width();
    const QFontMetrics fm(FGrid ? FGrid->Font().ToQFont() : font());
    const bool scroll = count() > DropDownCount();
    for (int i = 0; i < count(); ++i) {
        const int t = fm.horizontalAdvance(itemText(i));
        if (scroll) {
            if (w - 25 < t)
                w = t + 25;
        } else if (w - 5 < t) {
            w = t + 8;
        }
    }
    FDroppedWidth = w;
    SetDropWidth(w);
}

void TGridCombo::Change()
{
    TAsgComboBox::Change();
    if (!Editing())
        return;
    FGrid->DoEditChange(FGrid->Col(), FGrid->Row(), Text());
    if (!FInSelect && !FSilentChange)
        FGrid->ComboSelChange(true);
}

void TGridCombo::Select()
{
    FInSelect = true;
    try {
        if (Editing())
            FGrid->ComboSelChange(false);
        TAsgComboBox::Select();
    } catch (...) {
        FInSelect = false;
        throw;
    }
    FInSelect = false;
}

void TGridCombo::DropDown()
{
    TAsgComboBox::DropDown();
    if (Editing())
        FGrid->ComboDropDown();
}

void TGridCombo::CloseUp()
{
    TAsgComboBox::CloseUp();
    if (Editing())
        FGrid->ComboCloseUp();
}

void TGridCombo::DoEnter()
{
    TAsgComboBox::DoEnter();
    if (!FGrid || IsListStyle())
        return;
    if (!FGrid->Navigation().EditSelectAll())
        CaretToEnd();
}

void TGridCombo::DoExit()
{
    if (FGrid && !FGrid->TearingDown()) {
        const QString t = Text();
        if (FGrid->LookupHistory() && !t.isEmpty() && findText(t, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
            AddItem(t);
            Items.Add(t);
        }
        FGrid->HideInplaceEdit();
    }
    TAsgComboBox::DoExit();
}

void TGridCombo::wheelEvent(QWheelEvent* event)
{
    if (!Editing() || count() == 0) {
        TAsgComboBox::wheelEvent(event);
        return;
    }
    event->accept();
    try {
        const int delta = event->angleDelta().y();
        const int i = ItemIndex();
        if (delta < 0 && i < count() - 1)
            SetItemIndex(i + 1);
        else if (delta > 0 && i > 0)
            SetItemIndex(i - 1);
        const int n = ItemIndex();
        const QString text = n >= 0 ? itemText(n) : QString();
        if (FGrid->OnEditChange)
            FGrid->OnEditChange(FGrid, FGrid->RealCol(), FGrid->Row(), text);
        FGrid->ComboSelChange(false);
    } catch (...) {
    }
}

bool TGridCombo::event(QEvent* event)
{
    // Tab reaches the key steps instead of moving the focus while the grid validates on Tab.
    if (QKeyEvent* ke = platform::PlainTabPress(event); ke && FGrid && Editing() && FGrid->HasCellValidation()) {
        keyPressEvent(ke);
        return true;
    }
    return TAsgComboBox::event(event);
}
