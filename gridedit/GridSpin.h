#pragma once
// TGridSpin: the spin editor the grid shows over the current cell for the integer, float, time and
// date spin editor types. The grid creates it on first use and places, fills, shows and hides it
// for each edit; the editor decides which keys end the edit, validates the value on the keys that
// commit it, and reports its steps to the grid's spin events.
// The column grid copies a column's spin limits onto it when it answers the editor type.
#include "grid/AsgSpinEdit.h"

class TVerIvovavOzed;

class TGridSpin : public TAsgSpinEdit {
    Q_OBJECT
public:
    explicit TGridSpin(TVerIvovavOzed* AOwner);

    // Settings that act when a window is made act at once here; kept for the callers that
    // recreate the editor before placing it.
    void ReCreate() {}

    // Set while Escape ends the edit: the cell keeps the text it had when the edit began.
    bool KeepCellText() const { return FKeepCellText; }

    void SpinUp() override;
    void SpinDown() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool Editing() const;
    // The value keys (Page Up, Page Down, Home, End); true when the key is used up.
    bool ValueKey(Word Key);
    // Tab, Enter, Escape, Up and Down: ends the edit.
    void EndKey(Word Key, TShiftState Shift);
    void FireSpinClick(bool UpDown);

    TVerIvovavOzed* FGrid;
    bool FKeepCellText = false;
};
