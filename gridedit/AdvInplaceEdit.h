#pragma once
// TAdvInplaceEdit: the text editor the grid places over the current cell for the plain-text
// editor types. On top of the string grid's in-place edit it filters typed characters by editor
// type, pastes by the same rules (writing the cell at once), completes typed text from the grid's
// lookup list, validates the value on the keys that leave the cell, walks to the neighbour cell
// with the arrow keys at the ends of the text, and ends the edit when it loses the focus.
#include "platform/StringGrid.h"
#include "platform/Property.h"

class TVerIvovavOzed;

// Completes the text before the caret from the grid's lookup list (the first item it begins,
// in or without case as the grid says), selecting the completed part.
void CompleteFromLookup(QLineEdit& Edit, TVerIvovavOzed& Grid);

class TAdvInplaceEdit : public TInplaceEdit {
    Q_OBJECT
public:
    explicit TAdvInplaceEdit(TVerIvovavOzed* AOwner);

    bool VAlign() const { return FValign; }
    void SetVAlign(bool Value);
    KT_PROPERTY(bool, WordWrap)
    // Maximum text length; 0 or less: no limit.
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = qint16(Value); }
    int ColE() const { return FColE; }
    int RowE() const { return FRowE; }
    bool GotFocus() const { return FGotFocus; }
    // The grid is going: the editor stops reporting to it.
    void Detach() { FGrid = nullptr; }

    void UpdateContents() override;
    void BoundsChanged() override;
    // Completion of the typed text from the grid's lookup list.
    void DoChange();
    // Delivers one typed character as the keyboard does: filter, key-press step, insertion.
    void DeliverChar(QChar Ch, bool Keypad = false);
    // The paste of the editor: the clipboard text under the rules of the editor type.
    void PasteText();

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The steps of one key press; true when the key went no further.
    bool WMKeyDown(Word Key, TShiftState Shift);
    // The typing filter; false when the character is dropped.
    bool FilterChar(QChar& Ch, bool Keypad, bool& AutoAdvance);
    void Insert(QChar Ch);
    void RefuseEdit(const QString& OldCellText);
    void TextChangedByUser();
    bool CopyOrCut(bool Cut);

    int FSelKeyDown = 0;
    int FOldSelStart = 0;
    qint16 FLengthLimit = 0;
    bool FValign = false;
    bool FWordWrap = false;
    bool FGotFocus = false;
    bool Workmode = true;
    TVerIvovavOzed* FGrid;
    int FColE = -1;
    int FRowE = -1;
    bool FAltBack = false;
    bool FLoading = false;
};
