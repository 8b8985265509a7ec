#pragma once
// Date and time pickers with the owner-drawn look of the combo box editor (border colours for the
// normal and the focused state, a coloured drop-down button with hover tracking, a disabled
// border), shown in their metro mode, and a one-pixel flat border when Ctl3D is off.
// TAsgDateTimePicker is the base of the grid's date cell editor; TAdvDateTimePicker (on
// TCustomDateTimePicker) shows a date and a time side by side through an embedded time picker,
// advances to the next field while digits are typed (AutoTab) and carries a caption label.
#include "grid/AsgComboBox.h"
#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QDateTimeEdit>
#include <QEvent>

enum TDateTimeKind { dtkDate, dtkTime };
// A date picker opens a calendar (dmComboBox) or steps its fields with up-down buttons (dmUpDown).
enum TDTDateMode { dmComboBox, dmUpDown };
enum TAdvDateTimeKind { dkDate, dkTime, dkDateTime };

namespace AsgDatePicker {
// The picker's display format (d dd ddd dddd M MM MMM MMMM yy yyyy h hh H HH m mm s ss t tt) as a
// Qt display format.
QString PickerFormatToQt(const QString& format);
// The locale's short date and long time formats (FormatSettings tokens) as Qt display formats.
QString ShortDateFormatToQt(const QString& format);
QString TimeFormatToQt(const QString& format);
// Day-count date-times and Qt's.
QDateTime ToQDateTime(platform::TDateTime value);
platform::TDateTime FromQDateTime(const QDateTime& value);
// The fields of a picker's value.
struct TPickerFields {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0, MSec = 0;
};
TPickerFields FieldsOf(const QDateTime& Value);
// Where the caret goes after a typed digit changed a picker's value from Before to After: nowhere,
// on to the next field, or past the last field of the date (each picker decides what that means).
// A time moves on when its hour, minute or second changed. A date whose Format ends in the letter
// of the field that changed has had its last field typed; any other change moves on. Without a
// Format a changed day or month moves on and a change of the year alone is the last field.
enum TFieldAdvance { faNone, faNextField, faLastField };
TFieldAdvance FieldAdvance(bool TimeKind, const TPickerFields& Before, const TPickerFields& After,
                           const QString& Format);
// The message a picker posts to itself after a typed digit.
QEvent::Type DTPShiftFocusMessage();
} // namespace AsgDatePicker

// The platform's date-time picker: a date or a time field with a calendar drop-down for dates,
// Right and Left moving between the fields. Both pickers below share its fields and look.
class TDateTimePickerControl : public QDateTimeEdit, public TAsgButtonColors, public TAsgEditEvents {
    Q_OBJECT
public:
    explicit TDateTimePickerControl(QWidget* AOwner = nullptr);
    ~TDateTimePickerControl() override;

    // ---- the platform picker's properties ----
    KT_PROPERTY_NOTIFY(TDateTimeKind, PickerKind, ApplyFormat)
    // Display format in the picker's notation; empty: the locale's short date or long time.
    KT_PROPERTY_NOTIFY(QString, Format, ApplyFormat)
    platform::TDateTime PickerDateTime() const;
    void SetPickerDateTime(platform::TDateTime Value);
    platform::TDateTime PickerDate() const;
    void SetPickerDate(platform::TDateTime Value);
    platform::TDateTime PickerTime() const;
    void SetPickerTime(platform::TDateTime Value);
    KT_PROPERTY_NOTIFY(TDTDateMode, DateMode, ApplyFormat)
    // The range a user may pick in; 0 leaves that end open.
    KT_PROPERTY(platform::TDateTime, MinDate)
    KT_PROPERTY(platform::TDateTime, MaxDate)
    KT_PROPERTY(bool, ShowCheckbox)
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // The field the caret stands in (0 = the first of the format).
    int CurrentField() const { return currentSectionIndex(); }
    bool DroppedDown() const;
    // Opens the calendar of a date picker.
    void DropDown();

    // ---- the shared look ----
    KT_PROPERTY_CHANGE(TColor, BorderColor, update)
    KT_PROPERTY(TColor, FocusBorderColor)
    KT_PROPERTY(bool, DisabledBorder)
    KT_PROPERTY(bool, FocusBorder)
    int ButtonWidth() const { return FButtonWidth; }
    KT_PROPERTY_CHANGE(bool, MetroStyle, update)
    // The version number's four bytes from the highest down.
    QString Version() const;
    void SetVersion(const QString&) {}
    bool HasFocus() const { return FHasFocus; }
    bool MouseInControl() const { return FMouseInControl; }
    bool ButtonHover() const { return FButtonHover; }

    // Paints what the screen shows onto a canvas of the control's size.
    void PaintTo(TCanvas& Canvas);

    // Events besides the typed control's: OnChange fires on the user's changes only.
    TNotifyEvent OnClick;

    // Key steps (key-down, then its character); a zeroed key is not handled further.
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);

protected:
    virtual unsigned VersionNumber() const { return 0x01000000; }
    // The owner-drawn look applies.
    virtual bool MetroMode() const { return FMetroStyle; }
    // The plain picker of the time kind (no drop-down button).
    virtual bool PlainTimeKind() const { return FPickerKind == dtkTime; }
    // The base of the date-and-time picker (the flat border of its own when Ctl3D is off).
    virtual bool IsCustomPicker() const { return false; }
    virtual TBorderStyle PickerBorderStyle() const { return bsNone; }
    // The user changed the value.
    virtual void Change();
    // The inherited key handling (the field editing of the platform picker).
    void InheritedKey(QKeyEvent* event);
    // A digit typed into the field under the caret; false when that field takes no digits.
    bool TypeDigit(int Digit);

    void DrawDropButton(TCanvas& Canvas);
    void DrawBorders(TCanvas& Canvas);
    TColor FlatPenColor() const;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool FSetting = false; // a programmatic write is under way
    // The field digits are being typed into and the digits typed there so far.
    int FTypedSection = -1;
    QString FTypedDigits;
    bool FMouseDown = false;
    TBorderStyle FBorderStyle = bsNone;
    TColor FBorderColor = clNone;
    bool FIsThemed = false;
    int FButtonWidth = 19;
    bool FButtonHover = false;
    bool FMouseInControl = false;
    bool FIsWinXP = false;
    bool FMetroStyle = false;
    TColor FFocusBorderColor = clNone;
    bool FDisabledBorder = false;
    bool FHasFocus = false;
    bool FFocusBorder = false;

private:
    void ApplyFormat();
    void UserChanged();
    TDateTimeKind FPickerKind = dtkDate;
    TDTDateMode FDateMode = dmComboBox;
    platform::TDateTime FMinDate = 0;
    platform::TDateTime FMaxDate = 0;
    QString FFormat;
    bool FShowCheckbox = false;
    bool FChecked = true;
    bool FCtl3D = true;
    TColor FColor = clWindow;
};

// The base of the grid's date cell editor.
class TAsgDateTimePicker : public TDateTimePickerControl {
    Q_OBJECT
public:
    explicit TAsgDateTimePicker(QWidget* AOwner = nullptr);
    TDateTimeKind Kind() const { return PickerKind(); }
    void SetKind(TDateTimeKind Value) { SetPickerKind(Value); }
    platform::TDateTime DateTime() const { return PickerDateTime(); }
    void SetDateTime(platform::TDateTime Value) { SetPickerDateTime(Value); }
    platform::TDateTime Date() const { return PickerDate(); }
    void SetDate(platform::TDateTime Value) { SetPickerDate(Value); }
    platform::TDateTime Time() const { return PickerTime(); }
    void SetTime(platform::TDateTime Value) { SetPickerTime(Value); }
};

// The picker the date-and-time picker and its embedded time picker stand on.
class TCustomDateTimePicker : public TDateTimePickerControl {
    Q_OBJECT
public:
    explicit TCustomDateTimePicker(QWidget* AOwner = nullptr);
    ~TCustomDateTimePicker() override;

    KT_PROPERTY(bool, AutoTab)
    KT_PROPERTY_CHANGE(TBorderStyle, BorderStyle, update)

    void KeyPress(QChar& Key) override;

protected:
    bool MetroMode() const override { return false; }
    bool IsCustomPicker() const override { return true; }
    TBorderStyle PickerBorderStyle() const override { return FBorderStyle; }
    // The message posted after a typed digit arrived.
    virtual void DTPShiftFocus();
    // Remembers the time before a typed digit.
    void RememberTime();
    // The value's fields with the time before the last typed digit.
    AsgDatePicker::TPickerFields FieldsBefore() const;
    void PostNextField();
    bool event(QEvent* e) override;

    bool FAutoTab = false;
    uint16_t Fh = 0, Fm = 0, Fs = 0, Fms = 0;
};

class TAdvDateTimePicker : public TCustomDateTimePicker, public TAsgCaptionLabel {
    Q_OBJECT
public:
    explicit TAdvDateTimePicker(QWidget* AOwner = nullptr);
    ~TAdvDateTimePicker() override;

    TAdvDateTimeKind Kind() const { return FKind; }
    void SetKind(TAdvDateTimeKind Value);
    platform::TDateTime DateTime() const;
    void SetDateTime(platform::TDateTime Value);
    platform::TDateTime Date() const { return PickerDate(); }
    void SetDate(platform::TDateTime Value);
    platform::TDateTime Time() const;
    void SetTime(platform::TDateTime Value);
    QString TimeFormat() const { return FTimeFormat; }
    void SetTimeFormat(const QString& Value);
    void SetChecked(bool Value) override;

    // The embedded time picker (null unless the kind is date and time).
    TCustomDateTimePicker* TimePicker() const { return FTimePicker; }

    // Caption label.
    void SetLabelCaption(const QString& Value);
    void SetLabelAlwaysEnabled(bool Value);
    QLabel* PickerLabel() const { return FLabel; }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // The designed-defaults pass after set-up.
    void Loaded();

    TNotifyEvent OnTimeChange;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;

protected:
    unsigned VersionNumber() const override { return 0x01020000; }
    bool MetroMode() const override { return FMetroStyle; }
    bool PlainTimeKind() const override { return FKind == dkTime; }
    void Change() override;
    void DTPShiftFocus() override;
    // Keys typed in the time picker (nothing here; descendants take them).
    virtual void TimePickerKeyPress(QChar& Key);

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateTimePicker();
    void UpdateTimePicker();
    void UpdateLabel() override;
    void SetLabelBold(bool bold);

    TAdvDateTimeKind FKind = dkDate;
    QString FTimeFormat;
    uint16_t Fy = 0, Fmo = 0, Fd = 0;
    bool FLoading = false;
    QPointer<TCustomDateTimePicker> FTimePicker;
};
