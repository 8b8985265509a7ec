#pragma once
// TGridEditBtn: the edit with a button the grid shows over a cell of the edit-with-button types
// (text, numeric, float, masked). The button (or F4) passes the text through the grid's
// ellipsis-click step; Tab, Enter, Up and Down validate and end the edit, Escape gives the start
// text back; typed characters follow the numeric and float rules of the text editor.
#include "grid/AsgEditBtn.h"
#include "platform/Property.h"

class TVerIvovavOzed;

class TGridEditBtn : public TAsgEditBtn {
    Q_OBJECT
public:
    explicit TGridEditBtn(TVerIvovavOzed* AOwner);

    // False after a Backspace or Delete key-down, True after any other key.
    bool WorkMode = true;
    // The edit ends once the button's answer is in the text.
    KT_PROPERTY(bool, StopEditAfterClick)
    // Settings that act when a window is made act at once here; kept for the callers that
    // recreate the editor before placing it.
    void ReCreate() {}

    void BtnClick(QObject* Sender) override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool Editing() const;
    static bool IsGridKey(Word Key);
    // Paste from the clipboard under the clipboard events, the length limit and, for the numeric
    // and float types, their number rules; a pasted text is written into the cell at once.
    void PasteText();
    // Completes the text before the caret from the grid's lookup list, the completion selected.
    void Complete();

    TVerIvovavOzed* FGrid;
    int FSelKeyDown = 0;
    bool FStopEditAfterClick = false;
};

// TGridUnitEditBtn: the edit with a unit the grid shows over a cell of the unit types (text,
// numeric, float value followed by a unit). The cell holds the value and the unit as one text.
class TGridUnitEditBtn : public TAsgUnitEditBtn {
    Q_OBJECT
public:
    explicit TGridUnitEditBtn(TVerIvovavOzed* AOwner);

    void ReCreate() {}
    // Splits a cell text into value and unit; a text that ends with no known unit is all value.
    void LoadCellText(const QString& Value);

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool Editing() const;

    TVerIvovavOzed* FGrid;
};
