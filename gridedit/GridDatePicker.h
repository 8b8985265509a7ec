#pragma once
// The grid's date and time editors. TGridDatePicker edits date cells (with a calendar drop-down or
// up-down buttons) and time cells; TGridDateTimePicker edits date-and-time cells with a date field
// and a time field side by side. The grid makes each on first use and places, fills, shows and
// hides it for every edit; the editors decide which keys end the edit.
#include "grid/AsgDateTimePicker.h"
#include "platform/Property.h"

class TVerIvovavOzed;

class TGridDatePicker : public TAsgDateTimePicker {
    Q_OBJECT
public:
    explicit TGridDatePicker(TVerIvovavOzed* AOwner);

    // Settings that act when a window is made act at once here; kept for the callers that
    // recreate the editor before placing it.
    void ReCreate() {}

    // Calendar looks applied when the calendar opens.
    bool Weeknumbers() const { return FWeekNumbers; }
    void SetWeeknumbers(bool Value)
    {
        FWeekNumbers = Value;
        ApplyCalendarLooks();
    }
    KT_PROPERTY(bool, ShowToday)
    KT_PROPERTY(bool, ShowTodayCircle)

    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;

protected:
    // The caret moves on after a typed digit that filled a field; past the last field it stays.
    virtual void FieldAdvance();
    bool event(QEvent* e) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool Editing() const;
    // Reads a cell text into the picker: a time for the time kind, else a date; today's date when
    // the text is neither.
    void LoadText(const QString& Text);
    void ApplyCalendarLooks();

    AsgDatePicker::TPickerFields FBefore;
    bool FWeekNumbers = false;
    bool FShowToday = true;
    bool FShowTodayCircle = true;
    TVerIvovavOzed* FGrid;
};

class TGridDateTimePicker : public TAdvDateTimePicker {
    Q_OBJECT
public:
    explicit TGridDateTimePicker(TVerIvovavOzed* AOwner);

    void KeyDown(Word& Key, TShiftState Shift) override;

    // The date and time the edit started with; Escape gives it back.
    KT_PROPERTY(platform::TDateTime, OriginalDateTime)

protected:
    bool event(QEvent* e) override;

private:
    bool Editing() const;
    platform::TDateTime FOriginalDateTime = 0;
    TVerIvovavOzed* FGrid;
};
