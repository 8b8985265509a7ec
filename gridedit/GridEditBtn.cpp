#include "gridedit/GridEditBtn.h"

#include "grid/AdvGrid.h"
#include "gridedit/AdvInplaceEdit.h"
#include "platform/Services.h"
#include "platform/SysUtils.h"
#include "render/RuvOdid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <memory>

TGridEditBtn::TGridEditBtn(TVerIvovavOzed* AOwner) : TAsgEditBtn(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    // The cell's grid lines frame the editor; its button shows "...".
    SetBorderStyle(bsNone);
    SetButtonCaption(QStringLiteral("..."));
    setEnabled(false);
    hide();
    connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
        try {
            if (!Editing() || !FGrid->EditMode)
                return;
            QPointer<TGridEditBtn> self(this);
            FGrid->InplaceTextChanged(t);
            if (self && Editing() && FGrid->EditMode)
                FGrid->DoEditChange(FGrid->Col(), FGrid->Row(), t);
        } catch (...) {
        }
    });
}

bool TGridEditBtn::Editing() const { return FGrid && !FGrid->TearingDown(); }

bool TGridEditBtn::IsGridKey(Word Key)
{
    return Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR || Key == VK_NEXT ||
           Key == VK_UP || Key == VK_DOWN;
}

void TGridEditBtn::BtnClick(QObject* Sender)
{
    TAsgEditBtn::BtnClick(Sender);
    if (!Editing())
        return;
    QPointer<TGridEditBtn> self(this);
    QString result;
    FGrid->DoEllipsClick(text(), result);
    if (!self)
        return;
    setText(result);
    selectAll();
    update();
    if (FStopEditAfterClick && FGrid->EditMode) {
        FGrid->HideInplaceEdit();
        FGrid->SetFocus();
    }
}

// The grid takes the focus with its always-edit navigation off, so that no editor reopens.
void TGridEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    if (!Editing() || !FGrid->EditMode) {
        TAsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridEditBtn> self(this);
    const bool gridKey = IsGridKey(Key);
    if (!gridKey && g->OnKeyDown) {
        g->OnKeyDown(g, Key, Shift);
        if (!self)
            return;
    }
    WorkMode = !(Key == VK_BACK || Key == VK_DELETE);
    FSelKeyDown = hasSelectedText() ? selectionStart() : cursorPosition();
    if (Shift.testFlag(ssCtrl) || !gridKey || Key == 0) {
        TAsgEditBtn::KeyDown(Key, Shift);
        return;
    }
    if (OnKeyDown) {
        OnKeyDown(this, Key, Shift);
        if (!self || Key == 0)
            return;
    }
    const TEditorType e = g->EditControl;
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        g->SetCurrentCell(text());
        const bool valid = g->ValidateCell(text());
        if (!self)
            return;
        setText(g->FNewCellText);
        if (!valid) {
            selectAll();
            update();
            Key = 0;
            g->EditControl = e;
            return;
        }
    }
    if (Key == VK_TAB) {
        if (!g->HasCellValidation()) {
            Key = 0;
            return;
        }
        if (g->Options() & goTabs) {
            g->HideInplaceEdit();
            FocusGridQuietly(g);
            g->TabNavigate(Shift.testFlag(ssShift));
            Key = 0;
            return;
        }
        QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
    }
    if (Key == VK_ESCAPE)
        setText(g->FCellCache);
    const Word k = Key;
    Key = 0;
    g->DoneInplaceEdit(k, Shift);
}

void TGridEditBtn::KeyPress(QChar& Key)
{
    if (!Editing() || !FGrid->EditMode) {
        TAsgEditBtn::KeyPress(Key);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridEditBtn> self(this);
    if (g->OnKeyPress) {
        g->OnKeyPress(g, Key);
        if (!self)
            return;
    }
    const char16_t c = Key.unicode();
    if (c == 9 || c == 13 || c == 27) {
        Key = QChar();
        return;
    }
    const bool control = c == 8;
    auto refuse = [&](bool beep) {
        if (beep)
            platform::TheServices().Beep();
        Key = QChar();
    };
    const QString t = text();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    switch (g->EditControl) {
    case edEditBtn:
    case edMaskEditBtn:
    case edUnitEditBtn: break;
    case edNumericEditBtn:
    case edNumericUnitEditBtn:
        if (!(control || (c >= '0' && c <= '9') || (c == '-' && !t.contains(QLatin1Char('-')) && selStart == 0)))
            return refuse(true);
        break;
    case edFloatEditBtn:
    case edFloatUnitEditBtn: {
        const QChar dec = platform::FormatSettings().DecimalSeparator;
        const QChar thou = platform::FormatSettings().ThousandSeparator;
        if (Key == thou && Key != dec)
            return refuse(false);
        if (Key == dec) {
            if (t.contains(dec) && !selectedText().contains(dec))
                return refuse(false);
            break;
        }
        if (c == '-') {
            if ((selStart == 0 && !t.contains(QLatin1Char('-'))) || selectedText().contains(QLatin1Char('-')))
                break;
            return refuse(true);
        }
        if (control || (c >= '0' && c <= '9') || c == ',' || c == '.')
            break;
        if (QApplication::keyboardModifiers() & Qt::ControlModifier)
            break;
        return refuse(false);
    }
    default: return refuse(false);
    }
    TAsgEditBtn::KeyPress(Key);
}

void TGridEditBtn::PasteText()
{
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridEditBtn> self(this);
    QString v;
    const bool allow = ClipboardTextToPaste(g, this, v);
    if (!self || !allow || isReadOnly())
        return;
    DropFinalLineBreak(v);
    const bool sel = hasSelectedText();
    const int start = sel ? selectionStart() : cursorPosition();
    QString c = text();
    c.replace(start, sel ? int(selectedText().size()) : 0, v);
    // The length limit holds for pasted text as for typed text.
    if (MaxLength() > 0 && c.size() > MaxLength())
        return;
    const int kind = ClassifyNumberText(c);
    switch (g->EditControl) {
    case edNumericEditBtn:
        if (kind != 0)
            return;
        break;
    case edFloatEditBtn:
        if (kind != 0 && kind != 1)
            return;
        break;
    default: break;
    }
    setText(c);
    g->StoreEditText(g->Col(), g->Row(), c);
    if (sel && !v.isEmpty())
        setSelection(start, int(v.size()));
    else
        setCursorPosition(start + int(v.size()));
}

void TGridEditBtn::keyReleaseEvent(QKeyEvent* event)
{
    if (!Editing() || !FGrid->EditMode) {
        TAsgEditBtn::keyReleaseEvent(event);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridEditBtn> self(this);
    const platform::TKeyStroke stroke = platform::TranslateKey(event);
    Word key = stroke.Key;
    const TShiftState shift = stroke.Shift;
    try {
        if (g->OnKeyUp) {
            g->OnKeyUp(g, key, shift);
            if (!self)
                return;
        }
        const bool noMod = !(shift & (ssShift | ssCtrl | ssAlt));
        if (g->Navigation().CursorWalkEditor() && noMod && (key == VK_LEFT || key == VK_RIGHT) &&
            !hasSelectedText() &&
            ((key == VK_RIGHT && cursorPosition() == int(text().size())) || (key == VK_LEFT && FSelKeyDown == 0))) {
            event->accept();
            const bool right = key == VK_RIGHT;
            const int target = right ? g->Col() + g->CellSpan(g->RealCol(), g->Row()).X + 1 : g->Col() - 1;
            const bool room = right ? g->Col() < g->ColCount() - g->FixedRightCols() - 1 : g->Col() > g->FixedCols();
            // A neighbour with a check box or button is made current without an editor.
            if (room && g->IsControlCell(g->RealColIndex(target), g->Row())) {
                if (g->ValidateCell(text())) {
                    g->HideInplaceEdit();
                    g->SetCol(target);
                }
                return;
            }
            FocusGridQuietly(g);
            const TAdvanceDirection dir = g->Navigation().AdvanceDirection();
            g->Navigation().SetAdvanceDirection(adLeftRight);
            try {
                g->AdvanceToNextCell(g->Col(), g->Row(), true, false, right, true, true);
            } catch (...) {
                g->Navigation().SetAdvanceDirection(dir);
                throw;
            }
            g->Navigation().SetAdvanceDirection(dir);
            // The walk ends in the neighbour's editor only with CursorWalkAlwaysEdit.
            if (!g->Navigation().CursorWalkAlwaysEdit()) {
                g->HideInplaceEdit();
                FocusGridQuietly(g);
            } else if (!g->EditMode) {
                g->ShowInplaceEdit();
            }
            return;
        }
    } catch (...) {
        event->accept();
        return;
    }
    if (!self)
        return;
    if (key != VK_RETURN)
        TAsgEditBtn::keyReleaseEvent(event);
    Complete();
}

void TGridEditBtn::Complete()
{
    TVerIvovavOzed* g = FGrid;
    if (!WorkMode || hasSelectedText())
        return;
    CompleteFromLookup(*this, *g);
}

void TGridEditBtn::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPointer<TGridEditBtn> self(this);
    TAsgEditBtn::mouseDoubleClickEvent(event);
    if (!self || !Editing() || !FGrid->EditMode || !FGrid->OnDblClickCell)
        return;
    try {
        FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col());
    } catch (...) {
    }
}

void TGridEditBtn::contextMenuEvent(QContextMenuEvent* event)
{
    if (!Editing() || !FGrid->EditMode) {
        TAsgEditBtn::contextMenuEvent(event);
        return;
    }
    // The menu's paste goes through the same rules as the keyboard's.
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    for (QAction* a : menu->actions()) {
        if (a->objectName() != QLatin1String("edit-paste"))
            continue;
        a->disconnect();
        if (!EditorEnabled() || isReadOnly())
            a->setEnabled(false);
        connect(a, &QAction::triggered, this, [this] {
            try {
                PasteText();
            } catch (...) {
            }
        });
    }
    menu->exec(event->globalPos());
}

bool TGridEditBtn::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && Editing() && FGrid->EditMode &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        event->accept();
        if (EditorEnabled() && !isReadOnly()) {
            try {
                PasteText();
            } catch (...) {
            }
        }
        return true;
    }
    // Tab reaches the key steps instead of moving the focus while the grid handles it.
    if (QKeyEvent* ke = platform::PlainTabPress(event);
        ke && Editing() && FGrid->EditMode && FGrid->HasCellValidation()) {
        keyPressEvent(ke);
        return true;
    }
    return TAsgEditBtn::event(event);
}

void TGridEditBtn::focusOutEvent(QFocusEvent* event)
{
    TAsgEditBtn::focusOutEvent(event);
    EndEditOnFocusOut(FGrid, event, Editing() && FGrid->EditMode);
}

// ---- TGridUnitEditBtn --------------------------------------------------------------------------

TGridUnitEditBtn::TGridUnitEditBtn(TVerIvovavOzed* AOwner)
    : TAsgUnitEditBtn(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    SetBorderStyle(bsNone);
    SetButtonCaption(QStringLiteral("..."));
    setEnabled(false);
    hide();
    OnClickBtn = [this](QObject*) {
        if (!Editing())
            return;
        QString result;
        FGrid->DoEllipsClick(text(), result);
        setText(result);
        selectAll();
        update();
    };
    // A unit picked from the editor's menu is the grid's unit change of the current cell.
    OnUnitChanged = [this](QObject* Sender, const QString& NewUnit) {
        if (Editing() && FGrid->OnUnitChanged)
            FGrid->OnUnitChanged(Sender, FGrid->Col(), FGrid->Row(), NewUnit);
    };
}

bool TGridUnitEditBtn::Editing() const { return FGrid && !FGrid->TearingDown() && FGrid->EditMode; }

void TGridUnitEditBtn::LoadCellText(const QString& Value)
{
    SetUnitID(QString());
    SetText(QString());
    SetTextAndUnit(Value);
    // The value is never dropped for want of a unit.
    if (UnitID().isEmpty())
        SetText(Value);
}

void TGridUnitEditBtn::KeyDown(Word& Key, TShiftState Shift)
{
    const bool gridKey = Key == VK_TAB || Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_PRIOR ||
                         Key == VK_NEXT || Key == VK_UP || Key == VK_DOWN;
    if (!Editing() || !gridKey) {
        TAsgUnitEditBtn::KeyDown(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    QPointer<TGridUnitEditBtn> self(this);
    if (Key == VK_TAB || Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN) {
        const QString t = TextAndUnit();
        g->SetCurrentCell(t);
        const bool valid = g->ValidateCell(t);
        if (!self)
            return;
        if (!valid) {
            // The key is not consumed: the edit keeps its own handling of it.
            SetText(g->CurrentCell());
            return;
        }
        LoadCellText(g->CurrentCell());
    }
    if (Key == VK_RETURN && g->Navigation().AdvanceOnEnter()) {
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        Key = 0;
        g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, true, false);
        return;
    }
    if (Key == VK_TAB && (g->Options() & goTabs)) {
        g->HideInplaceEdit();
        FocusGridQuietly(g);
        Key = 0;
        g->TabNavigate(Shift.testFlag(ssShift));
        return;
    }
    if (Key == VK_ESCAPE) {
        SetUnitID(QString());
        SetText(g->CurrentCell());
    }
    const Word k = Key;
    Key = 0;
    g->DoneInplaceEdit(k, Shift);
}

void TGridUnitEditBtn::KeyPress(QChar& Key)
{
    if (!Editing()) {
        TAsgUnitEditBtn::KeyPress(Key);
        return;
    }
    const char16_t c = Key.unicode();
    if (c == 13 || c == 9 || c == 27) {
        Key = QChar();
        return;
    }
    const QString t = text();
    const int selStart = hasSelectedText() ? selectionStart() : cursorPosition();
    const TEditorType e = FGrid->EditControl;
    if (e == edNumericUnitEditBtn) {
        if (!(c == 8 || (c >= '0' && c <= '9') || (c == '-' && !t.contains(QLatin1Char('-')) && selStart == 0))) {
            platform::TheServices().Beep();
            Key = QChar();
            return;
        }
    } else if (e == edFloatUnitEditBtn) {
        const QChar dec = platform::FormatSettings().DecimalSeparator;
        const QChar thou = platform::FormatSettings().ThousandSeparator;
        bool ok = c == 8 || (c >= '0' && c <= '9') || c == ',' || c == '.' ||
                  (QApplication::keyboardModifiers() & Qt::ControlModifier);
        if (Key == thou && Key != dec)
            ok = false;
        else if (Key == dec)
            ok = !t.contains(dec) || selectedText().contains(dec);
        else if (c == '-') {
            ok = (selStart == 0 && !t.contains(QLatin1Char('-'))) || selectedText().contains(QLatin1Char('-'));
            if (!ok)
                platform::TheServices().Beep();
        }
        if (!ok) {
            Key = QChar();
            return;
        }
    }
    TAsgUnitEditBtn::KeyPress(Key);
}

bool TGridUnitEditBtn::event(QEvent* event)
{
    // Tab reaches the key steps only when the grid tabs between cells.
    if (QKeyEvent* ke = platform::PlainTabPress(event); ke && Editing() && (FGrid->Options() & goTabs)) {
        keyPressEvent(ke);
        return true;
    }
    return TAsgUnitEditBtn::event(event);
}

void TGridUnitEditBtn::focusOutEvent(QFocusEvent* event)
{
    TAsgUnitEditBtn::focusOutEvent(event);
    EndEditOnFocusOut(FGrid, event, Editing());
}
