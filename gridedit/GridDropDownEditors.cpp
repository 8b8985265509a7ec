#include "gridedit/GridDropDownEditors.h"

#include "grid/AdvGrid.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPointer>

template <class Base>
TGridDropDownEditor<Base>::TGridDropDownEditor(TVerIvovavOzed* AOwner)
    : Base(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    this->setEnabled(false);
    this->hide();
}

template <class Base>
bool TGridDropDownEditor<Base>::Editing() const
{
    return FGrid && FGrid->EditMode && !FGrid->TearingDown() && FGrid->EditCtrl == this;
}

template <class Base>
bool TGridDropDownEditor<Base>::IsGridKey(Word Key, TShiftState Shift) const
{
    if (Key == VK_DOWN && Shift.testFlag(ssAlt))
        return false;
    // The open pop-up holds the keyboard: its list moves with the arrow and page keys and Alt+Up
    // closes it; Tab, Enter and Escape end the edit from there as well.
    if (this->DroppedDown())
        return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
           Key == VK_END || Key == VK_UP || Key == VK_DOWN;
}

template <class Base>
void TGridDropDownEditor<Base>::PerformKeyDown(Word Key, TShiftState Shift)
{
    if (!Editing() || !IsGridKey(Key, Shift)) {
        Base::PerformKeyDown(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<QWidget> self(this);
    const bool dropped = this->DroppedDown();

    if (Key == VK_ESCAPE) {
        if (dropped)
            this->HideDropDown(true);
        if (!self)
            return;
        SetEscapeText(g->CurrentCell());
        FEscaping = true;
        try {
            g->HideInplaceEdit();
        } catch (...) {
            if (self)
                FEscaping = false;
            throw;
        }
        if (self)
            FEscaping = false;
        FocusGridQuietly(g);
        return;
    }
    // The value picked on the open pop-up is the value the key commits.
    if (dropped)
        this->HideDropDown(false);
    if (!self)
        return;
    if (IsValidateKey(Key)) {
        BeforeValidate(Key);
        const QString t = EditorText();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                SetEditorText(g->FNewCellText);
                this->selectAll();
                this->update();
            }
            g->FNoAutoAdvance = true;
            return;
        }
        if (!self)
            return;
        if (EditorText() != g->CurrentCell())
            SetEditorText(g->CurrentCell());
    }
    if (Key == VK_TAB) {
        if (!g->HasCellValidation())
            return;
        const QString t = EditorText();
        g->SetCurrentCell(t);
        if (!g->ValidateCell(t)) {
            if (self) {
                SetEditorText(g->FNewCellText);
                this->end(false);
                this->update();
            }
            return;
        }
        if (!self)
            return;
        if (EditorText() != g->CurrentCell())
            SetEditorText(g->CurrentCell());
        if (g->Options() & goTabs) {
            g->HideInplaceEdit();
            FocusGridQuietly(g);
            g->TabNavigate(Shift.testFlag(ssShift));
            return;
        }
        QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }
    Word passed = Key;
    if (dropped) {
        g->HideInplaceEdit();
        if (Key == VK_PRIOR || Key == VK_NEXT || (Key >= VK_LEFT && Key <= VK_DOWN))
            passed = 0;
    } else if (Key == VK_END) {
        Base::PerformKeyDown(Key, Shift);
        return;
    }
    g->DoneInplaceEdit(passed, Shift);
    if (g->Navigation().AdvanceOnEnter() && g->Navigation().AdvanceAutoEdit() && passed == VK_RETURN)
        g->ShowInplaceEdit();
}

template <class Base>
bool TGridDropDownEditor<Base>::KeyPressStep(QChar& Key)
{
    QPointer<QWidget> self(this);
    // The grid's key event names the editor that has the key.
    if (FGrid && FGrid->OnKeyPress)
        FGrid->OnKeyPress(this, Key);
    if (!self)
        return false;
    const char16_t c = Key.unicode();
    return !(c == 0 || c == 27 || c == 13 || c == 9);
}

template <class Base>
void TGridDropDownEditor<Base>::keyPressEvent(QKeyEvent* event)
{
    if (!Editing()) {
        Base::keyPressEvent(event);
        return;
    }
    event->accept();
    try {
        QPointer<QWidget> self(this);
        const platform::TKeyStroke stroke = platform::TranslateKey(event);
        if (stroke.Key != 0 && IsGridKey(stroke.Key, stroke.Shift)) {
            // Enter, Escape and Tab end the edit here, whatever the drop-down's own share of them.
            PerformKeyDown(stroke.Key, stroke.Shift);
            if (self && !stroke.Char.isNull()) {
                QChar ch = stroke.Char;
                if (KeyPressStep(ch) && self && Editing())
                    this->PerformChar(ch, stroke.Shift);
            }
            return;
        }
        if (stroke.Char.isNull()) {
            Base::keyPressEvent(event);
            return;
        }
        QChar ch = stroke.Char;
        const bool keep = KeyPressStep(ch);
        if (!self)
            return;
        if (keep && MemberKeyPress(ch))
            return;
        if (keep && ch == stroke.Char) {
            Base::keyPressEvent(event);
            return;
        }
        // The handler took or changed the character: the key part runs, then what is left.
        if (stroke.Key != 0)
            PerformKeyDown(stroke.Key, stroke.Shift);
        if (self && keep)
            this->PerformChar(ch, stroke.Shift);
    } catch (...) {
    }
}

template <class Base>
bool TGridDropDownEditor<Base>::event(QEvent* event)
{
    if (Editing()) {
        // Tab reaches the key steps instead of moving the focus while the grid validates on Tab.
        if (QKeyEvent* ke = platform::PlainTabPress(event); ke && FGrid->HasCellValidation()) {
            keyPressEvent(ke);
            return true;
        }
        // Enter and Escape end the edit; they are no shortcuts of the window meanwhile.
        if (event->type() == QEvent::ShortcutOverride) {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->key() == Qt::Key_Escape || ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
                event->accept();
                return true;
            }
        }
    }
    return Base::event(event);
}

template <class Base>
void TGridDropDownEditor<Base>::focusInEvent(QFocusEvent* event)
{
    Base::focusInEvent(event);
    if (!FGrid || !CaretUnderMouse() || !FGrid->LButFlg)
        return;
    const QPoint p = this->mapFromGlobal(QCursor::pos());
    if (this->rect().contains(p)) {
        const int i = this->cursorPositionAt(p);
        if (i != -1)
            this->setCursorPosition(i);
        FGrid->LButFlg = false;
    }
}

template <class Base>
void TGridDropDownEditor<Base>::HandleChange()
{
    QPointer<QWidget> self(this);
    Base::HandleChange();
    if (self && Editing())
        FGrid->DoEditChange(FGrid->Col(), FGrid->Row(), EditorText());
}

template <class Base>
void TGridDropDownEditor<Base>::DoExit()
{
    QPointer<QWidget> self(this);
    if (FGrid && !FGrid->TearingDown())
        FGrid->HideInplaceEdit();
    if (self)
        Base::DoExit();
}

template class TGridDropDownEditor<TAdvTrackBarDropDown>;
template class TGridDropDownEditor<TAdvMemoDropDown>;
template class TGridDropDownEditor<TAdvCalculatorDropdown>;
template class TGridDropDownEditor<TAdvTimePickerDropDown>;
template class TGridDropDownEditor<TAdvDetailDropDown>;
template class TGridDropDownEditor<TAdvMultiColumnDropDown>;
template class TGridDropDownEditor<TCustomAdvGridDropDown>;
template class TGridDropDownEditor<TAdvColorPickerDropDown>;
template class TGridDropDownEditor<TAdvImagePickerDropDown>;

// ---- the members' own steps ----------------------------------------------------------------------

namespace {

// Text as memo lines joined by CR LF; the start text itself when it holds the same lines, so that
// an edit that changed nothing gives the cell back its own bytes (other line breaks, a last one).
QString JoinedLines(const QString& raw, const QString& start)
{
    auto lines = [](const QString& t) {
        platform::TStringList l;
        l.SetText(t);
        QStringList parts;
        for (int i = 0; i < l.Count(); ++i)
            parts << l.Strings(i);
        return parts;
    };
    const QStringList now = lines(raw);
    return now == lines(start) ? start : now.join(QStringLiteral("\r\n"));
}

} // namespace

QString TGridMemoDropDown::LinesText() const
{
    auto& lines = const_cast<TGridMemoDropDown*>(this)->MemoText();
    QStringList parts;
    for (int i = 0; i < lines.Count(); ++i)
        parts << lines.Strings(i);
    return JoinedLines(parts.join(QStringLiteral("\r\n")), FStartText);
}

QString TGridMemoDropDown::EditorText() const
{
    // While the pop-up is open the memo holds the newest lines.
    if (DroppedDown() && Memo())
        return JoinedLines(Memo()->Text(), FStartText);
    return LinesText();
}

void TGridMemoDropDown::SetEditorText(const QString& Value)
{
    platform::TStringList lines;
    lines.SetText(Value);
    SetMemoText(lines);
    if (DroppedDown() && Memo())
        Memo()->SetLines(lines);
}

void TGridMemoDropDown::SetEscapeText(const QString& Value)
{
    const QString cached = FGrid ? FGrid->FCellCache : Value;
    SetStartText(cached);
    SetEditorText(cached);
}

bool TGridCalculatorDropDown::MemberKeyPress(QChar& Key)
{
    if (DroppedDown() || !QStringLiteral("+*/%=Cc").contains(Key))
        return false;
    HandleKeyPress(Key);
    return true;
}

TVerIvovavOzed* TGridAdvGridDropDown::Grid() const { return GetGrid(); }

QString TGridImageDropDown::EditorText() const
{
    if (!FGrid)
        return Text();
    if (FGrid->GetCellType(FGrid->RealCol(), FGrid->Row()) == ctDataImage)
        return QString::number(ImageIndex());
    return FGrid->CurrentCell();
}

bool TGridColorDropDown::IsGridKey(Word Key, TShiftState Shift) const
{
    if (Key == VK_DOWN && Shift.testFlag(ssAlt))
        return false;
    if (DroppedDown())
        return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE;
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
           Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN;
}
