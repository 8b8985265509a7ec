#include "gridedit/AdvInplaceEdit.h"

#include "grid/AdvGrid.h"
#include "platform/Guarded.h"
#include "platform/Messages.h"
#include "platform/SysUtils.h"
#include "render/RuvOdid.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>

using platform::Guarded;

namespace {

// Sizes the current row with the column sizing's grid synch off (back as it was afterwards, also
// after an error), then tells the grid's end-of-row-size event.
template <class F>
void SizeRowUnsynched(TVerIvovavOzed* g, F&& size)
{
    const bool synch = g->ColumnSize().SynchWithGrid();
    g->ColumnSize().SetSynchWithGrid(false);
    try {
        size();
    } catch (...) {
        g->ColumnSize().SetSynchWithGrid(synch);
        throw;
    }
    g->ColumnSize().SetSynchWithGrid(synch);
    if (g->OnEndRowSize)
        g->OnEndRowSize(g, g->Row());
}

bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// A character of a valid-characters cell: one of the grid's ValidChars, or any character up to
// 255 when that set is empty.
bool IsValidChar(const QString& valid, QChar c) { return valid.isEmpty() ? c.unicode() <= 255 : valid.contains(c); }

} // namespace

TAdvInplaceEdit::TAdvInplaceEdit(TVerIvovavOzed* AOwner) : TInplaceEdit(AOwner), FGrid(AOwner)
{
    setContextMenuPolicy(Qt::NoContextMenu);
    FWordWrap = AOwner->WordWrap();
    // Only the user's edits count as changes: texts the grid or the editor set themselves are
    // neither written through nor reported.
    connect(this, &QLineEdit::textEdited, this, [this](const QString&) { Guarded([&] { TextChangedByUser(); }); });
}

void TAdvInplaceEdit::SetVAlign(bool Value)
{
    FValign = Value;
    setAlignment(Value ? (Qt::AlignRight | Qt::AlignVCenter) : (Qt::AlignLeft | Qt::AlignVCenter));
}

// ---- loading and placing ---------------------------------------------------------------------

void TAdvInplaceEdit::UpdateContents()
{
    if (!FGrid) {
        TInplaceEdit::UpdateContents();
        return;
    }
    FLoading = true;
    try {
        if (FGrid->FNoEditChange)
            TInplaceEdit::UpdateContents();
        else {
            // The text comes from the grid's edit text of the cell either way.
            TInplaceEdit::UpdateContents();
        }
    } catch (...) {
        FLoading = false;
        throw;
    }
    FLoading = false;
    FGrid->FNoEditChange = false;
    FLengthLimit = qint16(FGrid->GetEditLimit());
    const int c = FGrid->Col(), r = FGrid->Row();
    TGridDrawState state;
    TBrush brush;
    brush.SetColor(FGrid->Color());
    TFont font;
    font.Assign(FGrid->Font());
    TColor colorTo = clNone, mirror = clNone, mirrorTo = clNone;
    TAlignment ha = taLeftJustify;
    TVAlignment va = vtaTop;
    bool ww = false;
    TCellGradientDirection gd = GradientVertical;
    FGrid->GetVisualProperties(c, r, state, false, false, true, brush, colorTo, mirror, mirrorTo, font, ha, va, ww, gd);
    QPalette pal = palette();
    if (brush.Color() != clNone)
        pal.setColor(QPalette::Base, ToQColor(brush.Color()));
    if (font.Color() != clNone)
        pal.setColor(QPalette::Text, ToQColor(font.Color()));
    setPalette(pal);
    setFont(font.ToQFont());
    SetVAlign(ha == taRightJustify);
    if (FGrid->GetCurrentEditor() == edPassword)
        setEchoMode(QLineEdit::Password);
    else
        setEchoMode(QLineEdit::Normal);
    FColE = c;
    FRowE = r;
    FGrid->DoGetEditorProp(FGrid->RealColIndex(c), r, nullptr);
}

void TAdvInplaceEdit::BoundsChanged()
{
    if (!FGrid)
        return;
    // One pixel less than the cell each way, leaving the grid line.
    const TRect r = FGrid->CellRect(FGrid->Col(), FGrid->Row());
    if (r.Right - r.Left > 1 && r.Bottom - r.Top > 1)
        setGeometry(r.Left, r.Top, r.Right - r.Left - 1, r.Bottom - r.Top - 1);
}

// ---- focus -----------------------------------------------------------------------------------

void TAdvInplaceEdit::focusInEvent(QFocusEvent* event)
{
    TInplaceEdit::focusInEvent(event);
    if (!FGrid)
        return;
    Guarded([&] {
        FGotFocus = true;
        FGrid->FNoEditChange = false;
        FLengthLimit = qint16(FGrid->GetEditLimit());
        // (Setting the same limit again would reload the text and lose the selection.)
        if (MaxLength() != std::max(0, int(FLengthLimit)))
            SetMaxLength(FLengthLimit);
        if (!EditMask().isEmpty() && !FGrid->LButFlg && FGrid->Navigation().ImproveMaskSel()) {
            setSelection(0, 1);
            return;
        }
        // After the last character; a masked text counts its blanks and literals as shown.
        if (!FGrid->Navigation().EditSelectAll())
            setCursorPosition(int(displayText().size()));
        if (FGrid->LButFlg) {
            const QPoint p = mapFromGlobal(QCursor::pos());
            if (p.x() >= 0 && p.x() <= width() && p.y() >= 0 && p.y() <= height()) {
                setCursorPosition(cursorPositionAt(p));
                FGrid->LButFlg = false;
            }
        }
    });
}

void TAdvInplaceEdit::focusOutEvent(QFocusEvent* event)
{
    TInplaceEdit::focusOutEvent(event);
    if (!FGrid || FGrid->TearingDown())
        return;
    // The window losing its activation or a pop-up opening is no focus change within the form.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return;
    QPointer<TAdvInplaceEdit> self(this);
    Guarded([&] {
        TVerIvovavOzed* g = FGrid;
        g->FStartEditChar = QChar();
        if (g->LookupHistory() && !text().isEmpty() && g->LookupItems().IndexOf(text()) < 0)
            g->LookupItems().Add(text());
        if (FAltBack)
            return;
        const QWidget* next = QApplication::focusWidget();
        const bool toGrid = next && (next == g || next == g->viewport());
        if (!toGrid) {
            // The value is validated and written; the editor goes even when validation raises.
            try {
                g->ValidateCell(text());
                if (self)
                    SetText(g->CurrentCell());
            } catch (...) {
                g->HideEditor();
                g->FEditing = false;
                g->EditMode = false;
                throw;
            }
            g->HideEditor();
            g->FEditing = false;
            g->EditMode = false;
            g->AcceptCellSelection(FColE, FRowE);
        }
        if (!self)
            return;
        if (g->FNoEditChange)
            SetText(g->CurrentCell());
        g->FNoEditChange = false;
        if (FGotFocus) {
            FGotFocus = false;
            g->SignalEditDone(g->RealColIndex(FColE), FRowE);
        }
    });
}

// ---- keys ------------------------------------------------------------------------------------

void TAdvInplaceEdit::RefuseEdit(const QString& OldCellText)
{
    SetText(FGrid->FNewCellText);
    if (FGrid->Navigation().EditSelectAll())
        selectAll();
    else
        setCursorPosition(int(text().size()));
    update();
    FGrid->FOldCellText = OldCellText;
}

bool TAdvInplaceEdit::WMKeyDown(Word Key, TShiftState Shift)
{
    TVerIvovavOzed* g = FGrid;
    FOldSelStart = SelStart();
    if (Key == VK_ESCAPE) {
        SetText(g->FCellCache);
        g->HideInplaceEdit();
        return false; // the standard key-down hands it on to the grid
    }
    if (Key == 'A' && (Shift & ssCtrl) && !(Shift & ssAlt)) {
        selectAll();
        return true;
    }
    if (Key == VK_RETURN && (Shift & ssCtrl) &&
        !(g->Navigation().AllowCtrlEnter() && (g->WordWrap() || g->Multilinecells())))
        return true;
    const QString T = text();
    const QString S = g->FOldCellText;
    if (Key == VK_TAB && g->HasCellValidation()) {
        if (g->ValidateCell(T)) {
            SetText(g->FNewCellText);
            g->HideInplaceEdit();
            if (g->Options() & goTabs) {
                Word k = VK_TAB;
                g->KeyDown(k, Shift);
                return true;
            }
            QCoreApplication::postEvent(g, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
            return true;
        }
        RefuseEdit(S);
        return true;
    }
    if (g->Navigation().CursorWalkEditor() && (Shift & ssShift) &&
        ((Key == VK_LEFT && SelStart() == 0) || (Key == VK_RIGHT && SelStart() == int(T.size())))) {
        g->FValidating = true;
        g->SetCurrentCell(T);
        g->FValidating = false;
        if (g->ValidateCell(T)) {
            SetText(g->FNewCellText);
            g->HideInplaceEdit();
            g->SetFocus();
        } else
            RefuseEdit(S);
        return true;
    }
    if (Key == VK_UP || Key == VK_DOWN) {
        // One line: the caret is always on the first and on the last line.
        g->FValidating = true;
        g->SetCurrentCell(T);
        g->FValidating = false;
        if (!g->ValidateCell(T)) {
            RefuseEdit(S);
            return true;
        }
        SetText(g->FNewCellText);
        return false;
    }
    if (Key == VK_RETURN && !g->Navigation().LineFeedOnEnter() && !(Shift & ssCtrl)) {
        if (!g->ValidateCell(T)) {
            SetText(g->FNewCellText);
            if (g->Navigation().EditSelectAll())
                selectAll();
            else
                setCursorPosition(int(text().size()));
            g->FOldCellText = S;
            return true;
        }
        SetText(g->FNewCellText);
        return false;
    }
    if (Key == VK_HOME && !(Shift & (ssCtrl | ssShift))) {
        setCursorPosition(0);
        return true;
    }
    if (Key == VK_END && !(Shift & (ssCtrl | ssShift))) {
        setCursorPosition(int(text().size()));
        return true;
    }
    return false;
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    FSelKeyDown = SelStart();
    if (Key == VK_BACK || Key == VK_DELETE)
        Workmode = false;
    else if (Key != VK_RETURN && Key != VK_UP && Key != VK_DOWN)
        Workmode = true;
    if (Key == VK_RETURN && !FGrid->Navigation().AllowCtrlEnter() && (FGrid->WordWrap() || FGrid->Multilinecells()))
        FGrid->FEditing = false;
    // Ctrl+Enter and Shift+Enter start a new line: a row that sizes while typing grows for it.
    if (Key == VK_RETURN && (Shift & (ssCtrl | ssShift)) && FGrid->SizeWhileTyping().Height() &&
        FGrid->Multilinecells()) {
        TVerIvovavOzed* g = FGrid;
        SizeRowUnsynched(g, [&] {
            const int row = g->Row();
            const int lines = int((text() + QStringLiteral("\r\n ")).count(QLatin1Char('\n'))) + 1;
            if (lines < g->MaxLinesInRow(row))
                g->AutoSizeRow(row, 0);
            else
                g->SizeRowToLines(row, lines, g->XYOffset().Y);
        });
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

bool TAdvInplaceEdit::FilterChar(QChar& Ch, bool Keypad, bool& AutoAdvance)
{
    TVerIvovavOzed* g = FGrid;
    AutoAdvance = false;
    const char16_t c = Ch.unicode();
    if (c == '.' && Keypad && g->ExcelStyleDecimalSeparator())
        Ch = platform::FormatSettings().DecimalSeparator;
    if (c == 1)
        return false;
    if (c == 10 && !(g->Navigation().AllowCtrlEnter() && (g->WordWrap() || g->Multilinecells())))
        return false;
    if (FLengthLimit > 0 && text().size() >= FLengthLimit && !hasSelectedText() && c != 8 && c != 27 && c != 13)
        return false;
    const TEditorType t = g->GetCurrentEditor();
    const bool control = c == 8 || c == 9 || c == 13 || c == 27;
    auto beep = [] { QApplication::beep(); };
    switch (t) {
    case edNormal:
    case edPassword: break;
    case edNumeric:
        if (!(control || IsDigit(Ch) ||
              (c == '-' && !text().contains(QLatin1Char('-')) && SelStart() == 0))) {
            beep();
            return false;
        }
        break;
    case edPositiveNumeric:
        if (!(control || IsDigit(Ch))) {
            beep();
            return false;
        }
        break;
    case edFloat:
    case edPositiveFloat: {
        const QChar dec = platform::FormatSettings().DecimalSeparator;
        const QChar thou = platform::FormatSettings().ThousandSeparator;
        if (Ch == thou && Ch != dec)
            return false;
        if (Ch == dec) {
            if (text().contains(dec) && !selectedText().contains(dec))
                return false;
            break;
        }
        if (c == '-' && t == edFloat) {
            if ((SelStart() == 0 && !text().contains(QLatin1Char('-'))) || selectedText().contains(QLatin1Char('-')))
                break;
            beep();
            return false;
        }
        if (control || IsDigit(Ch) || c == ',' || c == '.')
            break;
        if (QApplication::keyboardModifiers() & Qt::ControlModifier)
            break;
        return false;
    }
    case edCapital:
    case edUpperCase: Ch = Ch.toUpper(); break;
    case edLowerCase: Ch = Ch.toLower(); break;
    case edMixedCase: break;
    case edValidChars: {
        bool ok = c == 8 || c == 13;
        if (!ok)
            ok = IsValidChar(g->ValidChars(), Ch);
        if (!ok) {
            beep();
            return false;
        }
        break;
    }
    default: return false;
    }
    AutoAdvance = true;
    return true;
}

void TAdvInplaceEdit::Insert(QChar Ch)
{
    if (isReadOnly())
        return;
    const char16_t c = Ch.unicode();
    if (c == 8)
        backspace();
    else if (c >= 32)
        insert(QString(Ch));
    if (FGrid && FGrid->GetCurrentEditor() == edMixedCase && c >= 32) {
        const int pos = cursorPosition();
        const QString proper = ProperCaseText(text());
        if (proper != text()) {
            setText(proper);
            setCursorPosition(pos);
            TextChangedByUser();
        }
    }
}

void TAdvInplaceEdit::DeliverChar(QChar Ch, bool Keypad)
{
    if (!FGrid) {
        TypeChar(Ch);
        return;
    }
    QPointer<TAdvInplaceEdit> self(this);
    TVerIvovavOzed* g = FGrid;
    const char16_t c = Ch.unicode();
    // Enter inserts a line break in the text types with line feeds on Enter; a single-line
    // editor has none to insert, so the key ends here.
    if (c == 13 && g->Navigation().LineFeedOnEnter()) {
        const TEditorType t = g->GetCurrentEditor();
        if (t == edNormal || t == edCapital || t == edMixedCase || t == edLowerCase || t == edUpperCase ||
            t == edValidChars)
            return;
    }
    bool autoAdvance = false;
    QChar ch = Ch;
    if (!FilterChar(ch, Keypad, autoAdvance))
        return;
    KeyPress(ch);
    if (!self || ch.isNull())
        return;
    Insert(ch);
    if (!self || !autoAdvance)
        return;
    const int maxLen = g->MaxEditLength();
    if (g->Navigation().AdvanceAuto() && g->Navigation().AdvanceOnEnter() && maxLen > 0 &&
        text().size() == maxLen && !hasSelectedText() && cursorPosition() == maxLen) {
        QChar enter(13);
        g->KeyPress(enter);
    }
}

void TAdvInplaceEdit::KeyPress(QChar& Key)
{
    if (!FGrid) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    if (Key.unicode() == 13 && !FGrid->Navigation().LineFeedOnEnter()) {
        if (!FGrid->ValidateCell(text())) {
            SetText(FGrid->CurrentCell());
            Key = QChar();
            return;
        }
    }
    TInplaceEdit::KeyPress(Key);
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift)
{
    if (!FGrid) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    TVerIvovavOzed* g = FGrid;
    const bool noMod = !(Shift & (ssShift | ssCtrl | ssAlt));
    if (g->Navigation().CursorWalkEditor() && noMod && (Key == VK_LEFT || Key == VK_RIGHT)) {
        const QString T = text();
        bool walked = false;
        if (Key == VK_LEFT && !hasSelectedText() && FSelKeyDown == 0 && SelStart() == 0) {
            Key = 0;
            if (g->Col() > g->FixedCols() && g->IsControlCell(g->RealColIndex(g->Col() - 1), g->Row())) {
                if (g->ValidateCell(T)) {
                    g->HideInplaceEdit();
                    g->SetCol(g->Col() - 1);
                }
                return;
            }
            if (g->ValidateCell(T))
                g->HideInplaceEdit();
            const TAdvanceDirection dir = g->Navigation().AdvanceDirection();
            g->Navigation().SetAdvanceDirection(adLeftRight);
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, false, true, true);
            g->Navigation().SetAdvanceDirection(dir);
            walked = true;
        } else if (Key == VK_RIGHT && !hasSelectedText() && FOldSelStart == int(T.size())) {
            Key = 0;
            const int span = g->CellSpan(g->RealCol(), g->Row()).X;
            if (g->Col() < g->ColCount() - g->FixedRightCols() - 1 &&
                g->IsControlCell(g->RealColIndex(g->Col() + span + 1), g->Row())) {
                if (g->ValidateCell(T)) {
                    g->HideInplaceEdit();
                    g->SetCol(g->Col() + span + 1);
                }
                return;
            }
            const TAdvanceDirection dir = g->Navigation().AdvanceDirection();
            g->Navigation().SetAdvanceDirection(adLeftRight);
            g->AdvanceToNextCell(g->Col(), g->Row(), true, false, true, true, true);
            g->Navigation().SetAdvanceDirection(dir);
            walked = true;
        } else {
            return;
        }
        if (walked && !g->Navigation().CursorWalkAlwaysEdit())
            g->HideInplaceEdit();
        return;
    }
    QPointer<TAdvInplaceEdit> self(this);
    TInplaceEdit::KeyUp(Key, Shift);
    if (!self || !FGrid)
        return;
    DoChange();
    // The cell's size follows the text while typing.
    if (!self || !FGrid || !isVisible())
        return;
    if (g->SizeWhileTyping().Width())
        g->AutoSizeColumnWidth(g->Col(), true);
    if (g->SizeWhileTyping().Height() && g->WordWrap()) {
        SizeRowUnsynched(g, [g] { g->AutoSizeRow(g->Row(), 0); });
    }
}

void TAdvInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    if (!FGrid) {
        TInplaceEdit::keyPressEvent(event);
        return;
    }
    QPointer<TAdvInplaceEdit> self(this);
    bool done = false;
    try {
        const platform::TKeyStroke stroke = platform::TranslateKey(event);
        Word key = stroke.Key;
        const TShiftState shift = stroke.Shift;
        // Clipboard keys run the editor's own copy, cut and paste.
        const bool ctrl = shift & ssCtrl;
        if ((ctrl && key == 'V') || ((shift & ssShift) && key == VK_INSERT)) {
            PasteText();
            done = true;
        } else if (ctrl && (key == 'C' || key == VK_INSERT)) {
            done = CopyOrCut(false);
        } else if ((ctrl && key == 'X') || ((shift & ssShift) && key == VK_DELETE)) {
            done = CopyOrCut(true);
        }
        bool keyUsed = done;
        if (!done && key) {
            if (WMKeyDown(key, shift)) {
                // The key ended here (a refused value, a consumed shortcut): its character too.
                done = true;
            } else if (self && FGrid) {
                KeyDown(key, shift);
                keyUsed = key == 0;
            }
        }
        if (!done && self && FGrid) {
            const QChar ch = stroke.Char;
            if (!ch.isNull() && !keyUsed) {
                DeliverChar(ch, event->modifiers() & Qt::KeypadModifier);
                done = true;
            } else if (!ch.isNull() && keyUsed && (ch.unicode() == 13 || ch.unicode() == 27 || ch.unicode() == 9)) {
                // A key the key-down step used still reaches the grid's key-press handling.
                QChar c = ch;
                if (ch.unicode() != 9)
                    TInplaceEdit::KeyPress(c);
                done = true;
            } else if (!ch.isNull() || keyUsed) {
                done = true;
            }
        }
    } catch (...) {
        done = true;
    }
    if (!self)
        return;
    event->accept();
    if (done || !isVisible())
        return;
    QLineEdit::keyPressEvent(event);
}

void TAdvInplaceEdit::keyReleaseEvent(QKeyEvent* event)
{
    if (!FGrid) {
        TInplaceEdit::keyReleaseEvent(event);
        return;
    }
    Guarded([&] {
        Word key = platform::VirtualKeyOf(event->key(), event->modifiers());
        if (key)
            KeyUp(key, platform::ShiftStateOf(event->modifiers()));
    });
    event->accept();
}

void TAdvInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    TInplaceEdit::mouseDoubleClickEvent(event);
    if (FGrid && FGrid->OnDblClickCell)
        Guarded([&] { FGrid->OnDblClickCell(FGrid, FGrid->Row(), FGrid->Col()); });
}

void TAdvInplaceEdit::contextMenuEvent(QContextMenuEvent* event) { event->ignore(); }

// ---- change and completion -------------------------------------------------------------------

void TAdvInplaceEdit::TextChangedByUser()
{
    if (!FGrid || FLoading)
        return;
    FGrid->InplaceTextChanged(text());
    if (!FGrid->FNoEditChange)
        FGrid->DoEditChange(FGrid->Col(), FGrid->Row(), text());
}

void CompleteFromLookup(QLineEdit& Edit, TVerIvovavOzed& Grid)
{
    if (!Grid.Lookup() || Grid.LookupItems().Count() == 0)
        return;
    const bool cs = Grid.LookupCaseSensitive();
    const int len = Edit.cursorPosition();
    QString p = Edit.text().left(len);
    if (p.isEmpty())
        return;
    if (!cs)
        p = p.toUpper();
    for (int i = 0; i < Grid.LookupItems().Count(); ++i) {
        const QString item = Grid.LookupItems().Strings(i);
        if ((cs ? item : item.toUpper()).startsWith(p)) {
            const QString completed = Edit.text().left(len) + item.mid(len, 255);
            Edit.setText(completed);
            Edit.setSelection(len, int(completed.size()) - len);
            return;
        }
    }
}

void TAdvInplaceEdit::DoChange()
{
    if (!FGrid || !Workmode || hasSelectedText())
        return;
    TVerIvovavOzed* g = FGrid;
    CompleteFromLookup(*this, *g);
}

// ---- clipboard -------------------------------------------------------------------------------

bool TAdvInplaceEdit::CopyOrCut(bool Cut)
{
    bool allow = true;
    if (Cut && FGrid->OnClipboardCut)
        FGrid->OnClipboardCut(this, selectedText(), allow);
    if (!Cut && FGrid->OnClipboardCopy)
        FGrid->OnClipboardCopy(this, selectedText(), allow);
    if (allow) {
        if (Cut && FGrid->CanEditModify())
            cut();
        else if (!Cut)
            copy();
    }
    return true;
}

void TAdvInplaceEdit::PasteText()
{
    TVerIvovavOzed* g = FGrid;
    QString v;
    if (!ClipboardTextToPaste(g, this, v) || isReadOnly())
        return;
    if (FLengthLimit > 0 && v.size() > FLengthLimit)
        return;
    DropFinalLineBreak(v);
    const bool sel = hasSelectedText();
    const int start = SelStart();
    QString c = text();
    c.replace(start, SelLength(), v);
    const int newStart = sel ? start : start + int(v.size());
    const int newLen = sel ? int(v.size()) : 0;
    if (FLengthLimit > 0 && c.size() > FLengthLimit)
        return;
    const TEditorType t = g->GetCurrentEditor();
    const QString dec = QString(platform::FormatSettings().DecimalSeparator);
    const int kind = ClassifyNumberText(c);
    bool take = true;
    switch (t) {
    case edNumeric: take = kind == 0; break;
    case edPositiveNumeric: take = kind == 0 && !c.contains(QLatin1Char('-')); break;
    case edFloat: take = kind == 0 || kind == 1; break;
    case edPositiveFloat: take = (kind == 0 || kind == 1) && !c.contains(QLatin1Char('-')); break;
    case edMixedCase: c = ProperCaseText(c); break;
    case edLowerCase: c = c.toLower(); break;
    case edCapital:
    case edUpperCase: c = c.toUpper(); break; // pasting obeys the case rule typing does
    case edValidChars: {
        // An empty character set lets through what typing lets through.
        const QString valid = g->ValidChars();
        for (QChar ch : c)
            if (!IsValidChar(valid, ch))
                take = false;
        break;
    }
    default: break;
    }
    if (!take)
        return;
    SetText(c);
    g->StoreEditText(g->Col(), g->Row(), c);
    if (newLen > 0)
        setSelection(newStart, newLen);
    else
        setCursorPosition(newStart);
    if (g->OnClipboardAfterPasteCell)
        g->OnClipboardAfterPasteCell(this, g->Col(), g->Row(), text());
}
