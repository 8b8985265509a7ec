#pragma once
// The drop-down cell editors: each drop-down control, made fit to edit a cell of its grid. They
// share one grid behaviour, written once in TGridDropDownEditor: which keys end the edit, the
// validation and write-back on the keys that commit the value, the grid's change and key-press
// events, and the end of the edit when the focus leaves. The nine classes below add only what
// sets each member apart.
#include "dropdown/AdvCalculatorDropdown.h"
#include "dropdown/AdvColorPickerDropDown.h"
#include "dropdown/AdvCustomGridDropDown.h"
#include "dropdown/AdvDetailDropDown.h"
#include "dropdown/AdvImagePickerDropDown.h"
#include "dropdown/AdvMemoDropDown.h"
#include "dropdown/AdvMultiColumnDropDown.h"
#include "dropdown/AdvTimePickerDropDown.h"
#include "dropdown/AdvTrackBarDropDown.h"

class TVerIvovavOzed;

template <class Base>
class TGridDropDownEditor : public Base {
public:
    // The owner must be a grid; the editor lives on its viewport, hidden and disabled.
    explicit TGridDropDownEditor(TVerIvovavOzed* AOwner);

    TVerIvovavOzed* OwnerGrid() const { return FGrid; }
    // Set while Escape ends the edit: the cell keeps what it holds.
    bool Escaping() const { return FEscaping; }

    // The value the grid validates and writes: the drop-down's text (without prefix and suffix).
    virtual QString EditorText() const { return Base::Text(); }
    // Sets that value as it is, without the edit-type, prefix and suffix handling.
    virtual void SetEditorText(const QString& Value) { Base::SetEditText(Value); }

    // The key-down step: the keys that end the edit go to the grid, the others to the
    // drop-down. The pop-up hands its keys on to it as well.
    void PerformKeyDown(Word Key, TShiftState Shift) override;

protected:
    // Keys that end the edit, in the present list state (Alt+Down opens the list instead).
    virtual bool IsGridKey(Word Key, TShiftState Shift) const;
    // Keys that validate and store the value: Enter, Up and Down.
    virtual bool IsValidateKey(Word Key) const { return Key == VK_RETURN || Key == VK_UP || Key == VK_DOWN; }
    // Run before a validating key reads the value.
    virtual void BeforeValidate(Word Key) { (void)Key; }
    // The text Escape shows: the value the cell still holds.
    virtual void SetEscapeText(const QString& Value) { SetEditorText(Value); }
    // A member's own handling of a typed character; true when it used the character up.
    virtual bool MemberKeyPress(QChar& Key)
    {
        (void)Key;
        return false;
    }
    // After the focus came in from a click: the caret goes to the character under the mouse.
    virtual bool CaretUnderMouse() const { return false; }

    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void HandleChange() override;
    void DoExit() override;

    bool Editing() const;
    // The key-press step: the grid's OnKeyPress, then Escape, Enter and Tab are dropped. False
    // when the key is used up.
    bool KeyPressStep(QChar& Key);

    TVerIvovavOzed* FGrid;
    bool FEscaping = false;
};

class TGridTrackbarDropDown : public TGridDropDownEditor<TAdvTrackBarDropDown> {
public:
    explicit TGridTrackbarDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}

protected:
    void SetEscapeText(const QString& Value) override { SetText(Value); }
    bool CaretUnderMouse() const override { return true; }
};

class TGridMemoDropDown : public TGridDropDownEditor<TAdvMemoDropDown> {
public:
    explicit TGridMemoDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
    // The value of a memo is all of its lines, joined by line breaks.
    QString EditorText() const override;
    void SetEditorText(const QString& Value) override;
    // The lines joined; the text the edit began with when the lines are still its lines, so that
    // an untouched edit gives the cell back its bytes.
    QString LinesText() const;
    void SetStartText(const QString& Value) { FStartText = Value; }

protected:
    bool CaretUnderMouse() const override { return true; }
    // The memo has written itself into the cell while typing: Escape brings back the text the
    // cell had when the edit began.
    void SetEscapeText(const QString& Value) override;

private:
    QString FStartText;
};

class TGridCalculatorDropDown : public TGridDropDownEditor<TAdvCalculatorDropdown> {
public:
    explicit TGridCalculatorDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
    // Forgets a calculation left pending by an earlier edit, as the calculator's clear key does.
    void ClearCalculation()
    {
        QChar c(QLatin1Char('C'));
        HandleKeyPress(c);
    }

protected:
    // Enter first computes the pending calculation.
    void BeforeValidate(Word Key) override
    {
        if (Key == VK_RETURN)
            CalcResult();
    }
    // With the pad closed the operator keys go to the calculator's key handling (the edit's
    // number rules would refuse them).
    bool MemberKeyPress(QChar& Key) override;
    bool CaretUnderMouse() const override { return true; }
};

class TGridTimepickerDropDown : public TGridDropDownEditor<TAdvTimePickerDropDown> {
public:
    explicit TGridTimepickerDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) { SetFocusDraw(false); }
};

class TGridDetailPickerDropDown : public TGridDropDownEditor<TAdvDetailDropDown> {
public:
    explicit TGridDetailPickerDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
};

class TGridGridDropDown : public TGridDropDownEditor<TAdvMultiColumnDropDown> {
public:
    explicit TGridGridDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
};

class TGridAdvGridDropDown : public TGridDropDownEditor<TCustomAdvGridDropDown> {
public:
    explicit TGridAdvGridDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
    // The drop-down's list grid.
    TVerIvovavOzed* Grid() const;
};

class TGridColorDropDown : public TGridDropDownEditor<TAdvColorPickerDropDown> {
public:
    explicit TGridColorDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
    // The text of the selected colour, as the cell receives it.
    QString EditorText() const override { return const_cast<TGridColorDropDown*>(this)->ColorDisplayText(); }

protected:
    // Open: Tab, Enter and Escape; closed: also PageUp, PageDown, End, Home, Up and Down.
    bool IsGridKey(Word Key, TShiftState Shift) const override;
    bool IsValidateKey(Word Key) const override { return Key == VK_RETURN; }
};

class TGridImageDropDown : public TGridDropDownEditor<TAdvImagePickerDropDown> {
public:
    explicit TGridImageDropDown(TVerIvovavOzed* AOwner) : TGridDropDownEditor(AOwner) {}
    // The text the cell gets: the image index of a data-image cell; any other cell keeps its
    // own text (an image-list cell changes only its image).
    QString EditorText() const override;
    // The picker shows its image, not a text.
    void SetEditorText(const QString& Value) override { (void)Value; }
};
