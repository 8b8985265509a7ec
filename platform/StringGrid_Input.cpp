// TStringGrid: keyboard, mouse, wheel, focus, hints and the in-place editor.
#include "platform/StringGrid.h"

#include "platform/EditMask.h"
#include "platform/StringGrid_Axis.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <climits>

namespace {

// Runs an event handler's work; no error leaves an event handler.
template <class F>
void Guarded(F&& f)
{
    try {
        f();
    } catch (...) {
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers m, Qt::MouseButtons b = Qt::NoButton)
{
    return platform::ShiftStateOf(m, b);
}

TMouseButton ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

bool IsEditChar(QChar ch) { return ch.unicode() == 8 || (ch.unicode() >= 32 && ch.unicode() != 127); }

} // namespace

// ---- keyboard --------------------------------------------------------------------------------

bool TStringGrid::WantsKey(Word Key, TShiftState Shift)
{
    switch (Key) {
    case VK_TAB: return (FOptions & goTabs) && !(Shift & (ssCtrl | ssAlt));
    case VK_RETURN:
    case VK_ESCAPE: return false; // the editor, when open, wants them; the grid itself does not
    default: return true;
    }
}

// Gives a key the grid does not want to its dialog first (default and cancel buttons); true when
// the dialog used it.
bool TStringGrid::OfferDialogKey(QKeyEvent* event)
{
    QWidget* w = window();
    if (!w || w == this)
        return false;
    QKeyEvent copy(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                   ushort(event->count()));
    copy.setAccepted(false);
    QCoreApplication::sendEvent(w, &copy);
    return copy.isAccepted();
}

bool TStringGrid::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
            WantsKey(VK_TAB, ShiftOf(ke->modifiers()))) {
            keyPressEvent(ke);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TStringGrid::focusNextPrevChild(bool next)
{
    // The editor is part of the grid: Tab leaves the grid as a whole.
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void TStringGrid::keyPressEvent(QKeyEvent* event)
{
    const Word vk = platform::VirtualKeyOf(event->key(), event->modifiers());
    if (vk && !WantsKey(vk, ShiftOf(event->modifiers())) && OfferDialogKey(event)) {
        event->accept();
        return;
    }
    event->accept();
    DispatchKey(event, true);
}

void TStringGrid::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
    DispatchKey(event, false);
}

void TStringGrid::DispatchKey(QKeyEvent* event, bool press)
{
    QPointer<TStringGrid> self(this);
    Guarded([&] {
        const platform::TKeyStroke stroke = platform::TranslateKey(event);
        const Word vk = stroke.Key;
        TWMKey msg;
        msg.CharCode = vk;
        msg.Shift = ShiftOf(event->modifiers());
        msg.Keypad = event->modifiers() & Qt::KeypadModifier;
        if (!press) {
            if (vk)
                WMKeyUp(msg);
            return;
        }
        if (vk)
            WMKeyDown(msg);
        if (!self)
            return;
        // The character comes even when the key-down step zeroed the key.
        const QChar ch = stroke.Char;
        if (!ch.isNull()) {
            TWMKey cm;
            cm.CharCode = ch.unicode();
            cm.Shift = msg.Shift;
            cm.Keypad = msg.Keypad;
            WMChar(cm);
        }
    });
}

void TStringGrid::WMKeyDown(TWMKey& Msg)
{
    Word k = Msg.CharCode;
    if (k) {
        KeyDown(k, Msg.Shift);
        Msg.CharCode = k;
    }
}

void TStringGrid::WMChar(TWMKey& Msg)
{
    QChar ch(Msg.CharCode);
    if (ch.isNull())
        return;
    if ((FOptions & goEditing) && IsEditChar(ch)) {
        ShowEditorChar(ch);
        return;
    }
    KeyPress(ch);
    Msg.CharCode = ch.unicode();
}

void TStringGrid::WMKeyUp(TWMKey& Msg)
{
    Word k = Msg.CharCode;
    if (k) {
        KeyUp(k, Msg.Shift);
        Msg.CharCode = k;
    }
}

void TStringGrid::KeyDown(Word& Key, TShiftState Shift)
{
    if (OnKeyDown)
        OnKeyDown(this, Key, Shift);
    if (Key != 0)
        KeyNavigate(Key, Shift);
}

void TStringGrid::KeyNavigate(Word Key, TShiftState Shift)
{
    const bool rowSelect = FOptions & goRowSelect;
    TGridCoord cur = FCurrent;
    int left = FLeftCol;
    int top = FTopRow;
    const int pageH = std::max(1, VisibleRowCount());
    const int pageW = std::max(1, VisibleColCount());
    if (Shift & ssCtrl) {
        switch (Key) {
        case VK_UP: --top; break;
        case VK_DOWN: ++top; break;
        case VK_LEFT:
            if (!rowSelect) {
                cur.X -= pageW;
                left -= pageW;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                cur.X += pageW;
                left += pageW;
            }
            break;
        case VK_PRIOR: cur.Y = FTopRow; break;
        case VK_NEXT: cur.Y = std::max(FTopRow, RowAxis().LastFullVisible()); break;
        case VK_HOME:
            cur.X = FFixedCols;
            cur.Y = FFixedRows;
            break;
        case VK_END:
            cur.X = FColCount - 1;
            cur.Y = FRowCount - 1;
            break;
        default: return;
        }
    } else {
        switch (Key) {
        case VK_UP: --cur.Y; break;
        case VK_DOWN: ++cur.Y; break;
        case VK_LEFT:
            if (rowSelect)
                --left;
            else
                --cur.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++left;
            else
                ++cur.X;
            break;
        case VK_NEXT:
            cur.Y += pageH;
            top += pageH;
            break;
        case VK_PRIOR:
            cur.Y -= pageH;
            top -= pageH;
            break;
        case VK_HOME:
            if (rowSelect)
                cur.Y = FFixedRows;
            else
                cur.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                cur.Y = FRowCount - 1;
            else
                cur.X = FColCount - 1;
            break;
        case VK_TAB:
            if ((FOptions & goTabs) && !(Shift & ssAlt) && FColCount > FFixedCols && FRowCount > FFixedRows) {
                if (Shift & ssShift) {
                    if (--cur.X < FFixedCols) {
                        cur.X = FColCount - 1;
                        if (--cur.Y < FFixedRows)
                            cur.Y = FRowCount - 1;
                    }
                    Shift &= ~TShiftState(ssShift); // Shift+Tab does not extend the selection
                } else if (++cur.X >= FColCount) {
                    cur.X = FFixedCols;
                    if (++cur.Y >= FRowCount)
                        cur.Y = FFixedRows;
                }
            }
            break;
        case VK_F2: SetEditorMode(true); return;
        default: return;
        }
    }
    if (left != FLeftCol || top != FTopRow)
        MoveTopLeft(left, top);
    if (FColCount <= FFixedCols || FRowCount <= FFixedRows)
        return;
    cur.X = std::clamp(cur.X, FFixedCols, FColCount - 1);
    cur.Y = std::clamp(cur.Y, FFixedRows, FRowCount - 1);
    if (!(cur == FCurrent))
        FocusCell(cur.X, cur.Y, !(Shift & ssShift));
}

void TStringGrid::KeyPress(QChar& Key)
{
    if (OnKeyPress)
        OnKeyPress(this, Key);
    if (!(FOptions & goAlwaysShowEditor) && Key.unicode() == 13) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = QChar();
    }
}

void TStringGrid::KeyUp(Word& Key, TShiftState Shift)
{
    if (OnKeyUp)
        OnKeyUp(this, Key, Shift);
}

// ---- mouse -----------------------------------------------------------------------------------

// The column (isCol) or row whose trailing border lies under the point, for sizing; -1 when none.
int TStringGrid::SizingHit(int X, int Y, bool& isCol) const
{
    const Axis ca = ColAxis();
    const Axis ra = RowAxis();
    auto borderNear = [](const Axis& a, int pos) {
        int p = 0;
        auto test = [&](int i) {
            p += a.Size(i) + a.Line;
            const int border = p - a.Line;
            return std::abs(pos - border) <= 3;
        };
        for (int i = 0; i < a.Fixed && i < a.Count; ++i)
            if (test(i))
                return i;
        for (int i = a.First; i < a.Count && p < a.Extent; ++i)
            if (test(i))
                return i;
        return -1;
    };
    if ((FOptions & goColSizing) && FFixedRows > 0 && Y >= 0 && Y < ra.FixedExtent()) {
        const int c = borderNear(ca, X);
        if (c >= 0) {
            isCol = true;
            return c;
        }
    }
    if ((FOptions & goRowSizing) && FFixedCols > 0 && X >= 0 && X < ca.FixedExtent()) {
        const int r = borderNear(ra, Y);
        if (r >= 0) {
            isCol = false;
            return r;
        }
    }
    return -1;
}

void TStringGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    FPressed = true;
    Guarded([&] {
        MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    });
    event->accept();
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    FPressed = true;
    Guarded([&] {
        MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()) | ssDouble, p.x(), p.y());
    });
    event->accept();
}

void TStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    Guarded([&] { MouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y()); });
    event->accept();
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    FPressed = false;
    Guarded([&] {
        MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
    });
    event->accept();
}

void TStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    if (!IsActiveControl())
        SetFocus();
    if (Button == mbLeft && (Shift & ssDouble)) {
        DblClick();
    } else if (Button == mbLeft) {
        bool isCol = false;
        const int sizing = SizingHit(X, Y, isCol);
        if (sizing >= 0) {
            const Axis a = isCol ? ColAxis() : RowAxis();
            const int start = a.Start(sizing);
            const int border = start + a.Size(sizing);
            FGridState = isCol ? gsColSizing : gsRowSizing;
            FSizingIndex = sizing;
            FSizingOfs = border - (isCol ? X : Y);
            FSizingPos = border;
            viewport()->update();
        } else {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= FFixedCols && cell.Y >= FFixedRows) {
                if (FOptions & goEditing) {
                    if (cell == FCurrent)
                        ShowEditor();
                    else
                        MoveColRow(cell.X, cell.Y, true, true);
                    Click();
                } else {
                    const bool extend = (Shift & ssShift) && (FOptions & goRangeSelect);
                    MoveColRow(cell.X, cell.Y, !extend, true);
                    FGridState = gsSelecting;
                    SetTimer(1, 60);
                }
            } else if ((FOptions & goColMoving) && cell.Y >= 0 && cell.Y < FFixedRows && cell.X >= FFixedCols) {
                FGridState = gsColMoving;
                FMoveIndex = cell.X;
                FMovePos = cell.X;
            } else if ((FOptions & goRowMoving) && cell.X >= 0 && cell.X < FFixedCols && cell.Y >= FFixedRows) {
                FGridState = gsRowMoving;
                FMoveIndex = cell.Y;
                FMovePos = cell.Y;
            }
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, Button, Shift, X, Y);
}

void TStringGrid::MouseMove(TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    switch (FGridState) {
    case gsSelecting: {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
            MoveColRow(cell.X, cell.Y, false, true);
        break;
    }
    case gsColSizing:
    case gsRowSizing: {
        const bool col = FGridState == gsColSizing;
        const Axis a = col ? ColAxis() : RowAxis();
        const int start = a.Start(FSizingIndex);
        FSizingPos = std::max(start == INT_MIN ? 0 : start, (col ? X : Y) + FSizingOfs);
        viewport()->update();
        break;
    }
    case gsColMoving:
    case gsRowMoving: {
        const bool col = FGridState == gsColMoving;
        int idx = col ? ColAtX(std::clamp(X, 0, std::max(0, ClientWidth() - 1)))
                      : RowAtY(std::clamp(Y, 0, std::max(0, ClientHeight() - 1)));
        const int fixed = col ? FFixedCols : FFixedRows;
        const int count = col ? FColCount : FRowCount;
        if (idx < 0)
            idx = count - 1;
        idx = std::clamp(idx, fixed, std::max(fixed, count - 1));
        if (idx != FMovePos) {
            FMovePos = idx;
            viewport()->update();
        }
        break;
    }
    default: {
        bool isCol = false;
        const int hit = SizingHit(X, Y, isCol);
        viewport()->setCursor(hit < 0 ? Qt::ArrowCursor : isCol ? Qt::SplitHCursor : Qt::SplitVCursor);
        break;
    }
    }
    if (OnMouseMove)
        OnMouseMove(this, Shift, X, Y);
}

void TStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FLastMouse = {X, Y};
    const TGridState state = FGridState;
    FGridState = gsNormal;
    switch (state) {
    case gsSelecting:
        KillTimer(1);
        {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell.X >= FFixedCols && cell.Y >= FFixedRows && !(cell == FCurrent))
                MoveColRow(cell.X, cell.Y, false, true);
        }
        Click();
        break;
    case gsColSizing:
    case gsRowSizing: {
        const bool col = state == gsColSizing;
        const Axis a = col ? ColAxis() : RowAxis();
        const int start = a.Start(FSizingIndex);
        const int size = std::max(0, FSizingPos - (start == INT_MIN ? 0 : start));
        viewport()->update();
        if (col)
            SetColWidths(FSizingIndex, size);
        else
            SetRowHeights(FSizingIndex, size);
        FSizingIndex = -1;
        break;
    }
    case gsColMoving:
    case gsRowMoving:
        viewport()->update();
        if (FMovePos >= 0 && FMoveIndex >= 0 && FMovePos != FMoveIndex) {
            if (state == gsColMoving)
                MoveColumn(FMoveIndex, FMovePos);
            else
                MoveRow(FMoveIndex, FMovePos);
        }
        FMoveIndex = FMovePos = -1;
        break;
    default: break;
    }
    if (OnMouseUp)
        OnMouseUp(this, Button, Shift, X, Y);
}

void TStringGrid::Click()
{
    if (OnClick)
        OnClick(this);
}

void TStringGrid::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

// ---- wheel -----------------------------------------------------------------------------------

void TStringGrid::wheelEvent(QWheelEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int delta = event->angleDelta().y();
    bool handled = false;
    Guarded([&] {
        handled = DoMouseWheel(ShiftOf(event->modifiers(), event->buttons()), delta, {p.x(), p.y()});
    });
    event->setAccepted(handled);
}

bool TStringGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled)
        return true;
    FWheelRest += WheelDelta;
    bool any = false;
    while (FWheelRest >= 120 || FWheelRest <= -120) {
        if (FWheelRest < 0) {
            FWheelRest += 120;
            any = DoMouseWheelDown(Shift, MousePos) || any;
        } else {
            FWheelRest -= 120;
            any = DoMouseWheelUp(Shift, MousePos) || any;
        }
    }
    return any || WheelDelta != 0;
}

bool TStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (!handled && FCurrent.Y < FRowCount - 1)
        SetRow(FCurrent.Y + 1);
    return true;
}

bool TStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (!handled && FCurrent.Y > FFixedRows)
        SetRow(FCurrent.Y - 1);
    return true;
}

// ---- focus -----------------------------------------------------------------------------------

bool TStringGrid::IsActiveControl() const
{
    const QWidget* w = window();
    const QWidget* f = w ? w->focusWidget() : nullptr;
    return f && (f == this || f == viewport() || (FInplaceEdit && f == FInplaceEdit));
}

bool TStringGrid::Focused() const { return hasFocus(); }

void TStringGrid::SetFocus() { setFocus(Qt::OtherFocusReason); }

void TStringGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Guarded([&] { FocusChanged(true, event, false); });
}

void TStringGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Guarded([&] { FocusChanged(false, event, false); });
}

void TStringGrid::FocusChanged(bool in, QFocusEvent* event, bool fromEditor)
{
    viewport()->update();
    if (in) {
        if (!FInside) {
            FInside = true;
            DoEnter();
        }
        if (!fromEditor && !FHidingEdit)
            UpdateEdit();
        return;
    }
    const QWidget* next = QApplication::focusWidget();
    if (next && (next == this || isAncestorOf(next)))
        return; // between the grid and its editor
    if (event && (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason))
        return;
    if (FInside) {
        FInside = false;
        DoExit();
    }
}

void TStringGrid::DoEnter()
{
    if (OnEnter)
        OnEnter(this);
}

void TStringGrid::DoExit()
{
    if (OnExit)
        OnExit(this);
    if (!(FOptions & goAlwaysShowEditor))
        HideEditor();
}

// ---- hints -----------------------------------------------------------------------------------

void TStringGrid::PrepareHint(QString& HintStr, bool& CanShow, THintInfo&)
{
    HintStr = FHint;
    CanShow = FShowHint && !FHint.isEmpty();
}

bool TStringGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(event);
        Guarded([&] {
            THintInfo info;
            info.CursorPos = {he->pos().x(), he->pos().y()};
            const TGridCoord cell = MouseCoord(he->pos().x(), he->pos().y());
            info.CursorRect = cell.X >= 0 ? CellRect(cell.X, cell.Y) : TRect(0, 0, ClientWidth(), ClientHeight());
            info.HintPos = {he->pos().x(), he->pos().y() + 20};
            QString text;
            bool canShow = false;
            PrepareHint(text, canShow, info);
            if (canShow && !text.isEmpty())
                QToolTip::showText(viewport()->mapToGlobal(ToQPoint(info.HintPos)), text, viewport(),
                                   ToQRect(info.CursorRect), info.HideTimeout);
            else
                QToolTip::hideText();
        });
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

// ---- in-place editor host --------------------------------------------------------------------

TInplaceEdit* TStringGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TStringGrid::CanEditShow()
{
    return (FOptions & (goEditing | goRowSelect)) == TGridOptions(goEditing) && FEditorMode &&
           ((FOptions & goAlwaysShowEditor) || IsActiveControl());
}

bool TStringGrid::CanEditModify() { return FOptions & goEditing; }

bool TStringGrid::CanEditAcceptKey(QChar) { return true; }

QString TStringGrid::GetEditText(int ACol, int ARow)
{
    QString s = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, s);
    return s;
}

void TStringGrid::SetEditText(int ACol, int ARow, const QString& Value)
{
    {
        const bool was = FInEditUpdate;
        FInEditUpdate = true;
        if (Value != Cells(ACol, ARow))
            SetCells(ACol, ARow, Value);
        FInEditUpdate = was;
    }
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, Value);
}

QString TStringGrid::GetEditMask(int ACol, int ARow)
{
    QString s;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, s);
    return s;
}

int TStringGrid::GetEditLimit() { return 0; }

void TStringGrid::SetEditorMode(bool Value)
{
    if (!Value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit && FInplaceCol >= 0)
        FInplaceEdit->Deselect();
}

void TStringGrid::ShowEditor()
{
    FEditorMode = true;
    UpdateEdit();
}

void TStringGrid::HideEditor()
{
    FEditorMode = false;
    HideEdit();
}

void TStringGrid::ShowEditorChar(QChar Ch)
{
    ShowEditor();
    if (FInplaceEdit && FInplaceCol >= 0 && FInplaceEdit->isVisible())
        FInplaceEdit->TypeChar(Ch);
}

void TStringGrid::InvalidateEditor()
{
    const int c = FInplaceCol, r = FInplaceRow;
    FInplaceCol = -1;
    FInplaceRow = -1;
    UpdateEdit();
    // An editor that could not be reloaded just now (a validation writing its own cell) still
    // belongs to that cell: the next move must store its text there and hide it, not leave it
    // open over the cell moved to.
    if (FInplaceCol < 0 && FInplaceEdit && FInplaceEdit->isVisible()) {
        FInplaceCol = c;
        FInplaceRow = r;
    }
}

void TStringGrid::LoadEditor()
{
    FInplaceCol = FCurrent.X;
    FInplaceRow = FCurrent.Y;
    FInplaceEdit->UpdateContents();
    FInplaceEdit->SelectAll();
}

void TStringGrid::UpdateEdit()
{
    if (FCurrent.X < 0 || FCurrent.Y < 0 || FCurrent.X >= FColCount || FCurrent.Y >= FRowCount)
        return;
    if (!CanEditShow())
        return;
    if (!FInplaceEdit) {
        FInplaceEdit = CreateEditor();
        if (!FInplaceEdit)
            return;
        FInplaceEdit->setParent(viewport());
        FInplaceEdit->hide();
        LoadEditor();
    } else if (FInplaceCol != FCurrent.X || FInplaceRow != FCurrent.Y) {
        HideEdit();
        LoadEditor();
    }
    if (CanEditShow())
        FInplaceEdit->ShowAt(CellRect(FCurrent.X, FCurrent.Y), IsActiveControl());
}

void TStringGrid::UpdateText()
{
    if (!FInplaceEdit || FInplaceCol < 0 || FInplaceRow < 0)
        return;
    SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TStringGrid::HideEdit()
{
    if (!FInplaceEdit || FHidingEdit)
        return;
    FHidingEdit = true;
    Guarded([&] {
        const int c = FInplaceCol;
        const int r = FInplaceRow;
        FInplaceCol = FInplaceRow = -1;
        if (c >= 0 && r >= 0)
            SetEditText(c, r, FInplaceEdit->Text());
    });
    if (FInplaceEdit->isVisible()) {
        const QWidget* w = window();
        if (w && w->focusWidget() == FInplaceEdit)
            setFocus(Qt::OtherFocusReason);
        FInplaceEdit->hide();
    }
    FHidingEdit = false;
    InvalidateCell(FCurrent.X, FCurrent.Y);
}

// ---- TInplaceEdit ----------------------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TStringGrid* grid) : QLineEdit(nullptr), FGrid(grid)
{
    setFrame(false);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setFont(FGrid->Font().ToQFont());
    QPalette pal = palette();
    pal.setColor(QPalette::Base, ToQColor(FGrid->Color()));
    pal.setColor(QPalette::Text, ToQColor(FGrid->Font().Color()));
    setPalette(pal);
    setTextMargins(1, 0, 1, 0);
}

TInplaceEdit::~TInplaceEdit() = default;

int TInplaceEdit::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }
int TInplaceEdit::SelLength() const { return hasSelectedText() ? int(selectedText().size()) : 0; }
void TInplaceEdit::SetSelStart(int pos) { setCursorPosition(std::clamp(pos, 0, int(displayText().size()))); }

void TInplaceEdit::SetSelLength(int len)
{
    const int start = SelStart();
    if (len <= 0)
        setCursorPosition(start);
    else
        setSelection(start, len);
}

// The end of the text as shown: a masked text counts its blanks and literals (text() leaves the
// blanks out, which would put the caret among them).
void TInplaceEdit::Deselect()
{
    deselect();
    setCursorPosition(int(displayText().size()));
}

void TInplaceEdit::SetEditMask(const QString& mask)
{
    FEditMask = mask;
    setInputMask(platform::QtInputMask(mask));
}

void TInplaceEdit::SetMaxLength(int len)
{
    FMaxLength = std::max(0, len);
    setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TInplaceEdit::UpdateContents()
{
    const int c = FGrid->Col();
    const int r = FGrid->Row();
    // The mask first: the text is then fitted to it.
    SetEditMask(FGrid->GetEditMask(c, r));
    setText(FGrid->GetEditText(c, r));
    SetMaxLength(FGrid->GetEditLimit());
    setReadOnly(!FGrid->CanEditModify());
    setFont(FGrid->Font().ToQFont());
    setModified(false);
}

void TInplaceEdit::UpdateLoc(const TRect& loc)
{
    if (IsRectEmpty(loc)) {
        if (isVisible()) {
            const QWidget* w = window();
            if (w && w->focusWidget() == this)
                FGrid->setFocus(Qt::OtherFocusReason);
            hide();
        }
        return;
    }
    setGeometry(ToQRect(loc));
    BoundsChanged();
    if (!isVisible() && FGrid->FInplaceCol >= 0 && FGrid->FEditorMode) {
        const bool focus = FGrid->IsActiveControl();
        show();
        raise();
        if (focus)
            setFocus(Qt::OtherFocusReason);
    }
}

void TInplaceEdit::ShowAt(const TRect& loc, bool focus)
{
    if (IsRectEmpty(loc))
        return;
    setGeometry(ToQRect(loc));
    BoundsChanged();
    show();
    raise();
    if (focus)
        setFocus(Qt::OtherFocusReason);
}

void TInplaceEdit::HideEdit() { FGrid->HideEdit(); }

bool TInplaceEdit::WantsGridKey(Word key, TShiftState shift) const
{
    const bool atStart = !hasSelectedText() && cursorPosition() == 0;
    const bool atEnd = !hasSelectedText() && cursorPosition() == int(text().size());
    const bool always = FGrid->Options() & goAlwaysShowEditor;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE: return true;
    case VK_TAB: return !(shift & ssAlt);
    case VK_INSERT: return !(shift & (ssShift | ssCtrl | ssAlt));
    case VK_DELETE: return shift & ssCtrl;
    case VK_LEFT:
    case VK_HOME: return always && ((shift & ssCtrl) || atStart);
    case VK_RIGHT:
    case VK_END: return always && ((shift & ssCtrl) || atEnd);
    default: return false;
    }
}

void TInplaceEdit::KeyDown(Word& key, TShiftState shift)
{
    if (WantsGridKey(key, shift)) {
        FGrid->KeyDown(key, shift);
        key = 0;
        return;
    }
    if (key == VK_F2) {
        Deselect();
        key = 0;
        return;
    }
    if (FGrid->OnKeyDown)
        FGrid->OnKeyDown(FGrid, key, shift);
}

void TInplaceEdit::KeyPress(QChar& key)
{
    FGrid->KeyPress(key);
    const char16_t c = key.unicode();
    if (c >= 32 && c != 127 && !FGrid->CanEditAcceptKey(key)) {
        QApplication::beep();
        key = QChar();
        return;
    }
    if (c == 9 || c == 27) {
        key = QChar();
    } else if (c == 13) {
        if (hasSelectedText() && selectedText() == text())
            Deselect();
        else
            selectAll();
        key = QChar();
    } else if ((c == 8 || (c >= 32 && c != 127)) && !FGrid->CanEditModify()) {
        key = QChar();
    }
}

void TInplaceEdit::KeyUp(Word& key, TShiftState shift) { FGrid->KeyUp(key, shift); }

void TInplaceEdit::TypeChar(QChar ch)
{
    KeyPress(ch);
    if (ch.isNull() || isReadOnly())
        return;
    if (ch.unicode() == 8)
        backspace();
    else if (ch.unicode() >= 32)
        insert(QString(ch));
}

bool TInplaceEdit::event(QEvent* event)
{
    if (QKeyEvent* ke = platform::PlainTabPress(event); ke && (FGrid->Options() & goTabs)) {
        keyPressEvent(ke);
        return true;
    }
    return QLineEdit::event(event);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    QPointer<TInplaceEdit> self(this);
    bool done = false;
    Guarded([&] {
        const platform::TKeyStroke stroke = platform::TranslateKey(event);
        Word key = stroke.Key;
        const TShiftState shift = stroke.Shift;
        bool keyUsed = false;
        if (key) {
            KeyDown(key, shift);
            keyUsed = key == 0;
        }
        if (!self)
            return;
        const QChar ch = stroke.Char;
        if (!ch.isNull()) {
            QChar typed = ch;
            KeyPress(typed);
            if (!self)
                return;
            if (typed.isNull()) {
                done = true;
                return;
            }
            if (typed != ch || keyUsed) {
                if (!isReadOnly()) {
                    if (typed.unicode() == 8)
                        backspace();
                    else if (typed.unicode() >= 32)
                        insert(QString(typed));
                }
                done = true;
                return;
            }
        } else if (keyUsed) {
            done = true;
        }
    });
    if (!self)
        return;
    if (done || !isVisible()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
    event->accept(); // keys of the editor never reach the dialog
}

void TInplaceEdit::keyReleaseEvent(QKeyEvent* event)
{
    Guarded([&] {
        Word key = platform::VirtualKeyOf(event->key(), event->modifiers());
        if (key)
            KeyUp(key, ShiftOf(event->modifiers()));
    });
    QLineEdit::keyReleaseEvent(event);
}

void TInplaceEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    Guarded([&] { FGrid->FocusChanged(true, event, true); });
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    Guarded([&] { FGrid->FocusChanged(false, event, true); });
}
