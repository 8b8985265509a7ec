#pragma once
// TGridCombo: the combo box the grid shows over the current cell for the list-only and the
// free-text combo editor types. The grid fills, places, shows and hides it for each edit; the
// combo decides which keys end the edit, validates the value on the keys that commit it and
// reports its selection changes to the grid.
//
// Items is the grid's item list for the next edit (texts and their objects); the box shows a copy
// of it, made each time the grid sets the editor up.
#include "grid/AsgComboBox.h"
#include "platform/StringList.h"

class TVerIvovavOzed;

class TGridCombo : public TAsgComboBox {
    Q_OBJECT
public:
    explicit TGridCombo(TVerIvovavOzed* AOwner);

    // The list the next edit offers (the column grid copies its column's list into it).
    platform::TStringList Items;
    // Loads Items into the box (texts only; the objects stay in Items).
    void LoadItems();

    // False after a Backspace or Delete key-down, True after any other key; completion runs only
    // while it is True.
    bool WorkMode = true;
    // Fired when Enter is pressed in the editor.
    TNotifyEvent OnReturnKey;

    // Completion of the typed text from the items and then from the grid's lookup list.
    void DoChange();
    // Widens the list so that every item fits.
    void SizeDropDownWidth();
    // The width the list drops down with (0: the box's width).
    int DroppedWidth() const { return FDroppedWidth; }
    bool IsListStyle() const { return Style() == csDropDownList; }
    // Runs the change step (change events) for a value the grid chose, not the user.
    void RunChangeStep();
    // Set while Escape ends the edit: the cell keeps its own text.
    bool KeepCellText() const { return FKeepCellText; }

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void KeyUp(Word& Key, TShiftState Shift) override;
    void Change() override;
    void Select() override;
    void DropDown() override;
    void CloseUp() override;
    void DoEnter() override;
    void DoExit() override;
    void wheelEvent(QWheelEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The grid keys of the present style and list state.
    bool IsGridKey(Word Key, TShiftState Shift) const;
    bool Editing() const;
    void SelectCurrentCellItem(bool clearWhenAbsent);
    void CaretToEnd();
    void SelectAllText();

    TVerIvovavOzed* FGrid;
    int FDroppedWidth = 0;
    bool FInSelect = false;
    bool FSilentChange = false;
    bool FKeepCellText = false;
};
