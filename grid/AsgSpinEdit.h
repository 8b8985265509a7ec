#pragma once
// TAsgSpinEdit: a single-line edit with a spin button at its right edge that edits an integer, a
// floating-point number, a date or a time. The buttons, the arrow keys and Page Up/Page Down step
// the value (dates and times by the part of the text the caret stands in); typed characters are
// filtered by the spin type and the locale's separators. The grid's spin cell editors derive from
// it and override SpinUp and SpinDown.
#include "grid/AsgButtonEdit.h"
#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QFlags>
#include <memory>

class QTimer;

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateFlag { tbFocusRect = 0x1, tbAllowTimer = 0x2 };
Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTimeBtnState)

class TAsgSpinButton;

// One button of the spin button: a speed button that repeats its click while held.
class TAdvTimerSpeedButton : public TAsgGlyphButton {
    Q_OBJECT
public:
    explicit TAdvTimerSpeedButton(QWidget* AOwner = nullptr);
    ~TAdvTimerSpeedButton() override;

    KT_PROPERTY(TTimeBtnState, TimeBtnState)
    KT_PROPERTY_NOTIFY(TButtonDirection, ButtonDirection, update)
    bool HasMouse() const { return FHot; }
    KT_PROPERTY_NOTIFY(bool, Transparent, update)
    // The repeat timer (null until the first press).
    QTimer* RepeatTimer() const { return FRepeatTimer.get(); }

    // Clicks the button (fires OnClick).
    virtual void Click();
    // One tick of the repeat timer.
    void TimerExpired();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TAsgSpinButton* SpinOwner() const;
    std::unique_ptr<QTimer> FRepeatTimer;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FTransparent = false;
};

// The pair of up and down buttons.
class TAsgSpinButton : public TAsgButtonControl {
    Q_OBJECT
public:
    explicit TAsgSpinButton(QWidget* AOwner = nullptr);

    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    // Glyphs; writing an empty bitmap puts the button's own arrow back.
    const TBitmap& UpGlyph() const { return FUpButton->Glyph(); }
    void SetUpGlyph(const TBitmap* Value);
    const TBitmap& DownGlyph() const { return FDownButton->Glyph(); }
    void SetDownGlyph(const TBitmap* Value);
    int UpNumGlyphs() const { return FUpButton->NumGlyphs(); }
    void SetUpNumGlyphs(int Value) { FUpButton->SetNumGlyphs(Value); }
    int DownNumGlyphs() const { return FDownButton->NumGlyphs(); }
    void SetDownNumGlyphs(int Value) { FDownButton->SetNumGlyphs(Value); }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    TAdvTimerSpeedButton* UpButton() const { return FUpButton; }
    TAdvTimerSpeedButton* DownButton() const { return FDownButton; }
    TAdvTimerSpeedButton* FocusedButton() const { return FFocusedButton; }
    void SetFocusedButton(TAdvTimerSpeedButton* Value);

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

    // Places the two buttons inside.
    void AdjustSize();

protected:
    void ButtonColorChanged() override { update(); }
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class TAdvTimerSpeedButton;
    void BtnMouseDown(TAdvTimerSpeedButton* button);
    void BtnClick(TAdvTimerSpeedButton* button);

    TAdvTimerSpeedButton* FUpButton;
    TAdvTimerSpeedButton* FDownButton;
    TAdvTimerSpeedButton* FFocusedButton;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
};

class TAsgSpinEdit : public TAsgButtonEdit {
    Q_OBJECT
public:
    explicit TAsgSpinEdit(QWidget* AOwner = nullptr);

    int Value() const;
    void SetValue(int Value);
    double FloatValue() const;
    void SetFloatValue(double Value);
    platform::TDateTime DateValue() const;
    void SetDateValue(platform::TDateTime Value);
    platform::TDateTime TimeValue() const;
    void SetTimeValue(platform::TDateTime Value);
    TAsgSpinType SpinType() const { return FSpinType; }
    void SetSpinType(TAsgSpinType Value);
    KT_PROPERTY(int, MinValue)
    KT_PROPERTY(int, MaxValue)
    KT_PROPERTY(double, MinFloatValue)
    KT_PROPERTY(double, MaxFloatValue)
    KT_PROPERTY(platform::TDateTime, MinDateValue)
    KT_PROPERTY(platform::TDateTime, MaxDateValue)
    KT_PROPERTY(int, Increment)
    KT_PROPERTY(double, IncrementFloat)
    KT_PROPERTY(double, IncrementFloatPage)
    KT_PROPERTY(int, IncrementHours)
    KT_PROPERTY(int, IncrementMinutes)
    KT_PROPERTY(int, IncrementSeconds)
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    KT_PROPERTY(bool, ShowSeconds)
    KT_PROPERTY(bool, ReturnIsTab)
    KT_PROPERTY(bool, ExcelStyleDecimalSeparator)
    KT_PROPERTY(bool, AllowEmptyValue)
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    TAsgSpinButton* Button() const { return FButton; }
    void SetIsWinXP(bool Value);
    KT_PROPERTY(bool, Loading)
    virtual void Loaded();

    // Steps; SpinUp and SpinDown step once without page (what the buttons do).
    virtual void UpClick(bool Page);
    virtual void DownClick(bool Page);
    virtual bool IsValidChar(QChar Key);
    virtual void SpinUp();
    virtual void SpinDown();

    // The text rectangle inside the client area.
    TRect EditRect() const override;

protected:
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    bool TakeKey(QKeyEvent* event) override;
    bool KeyEndsAfterKeyDown(Word Before, Word After) const override;
    void MapTypedChar(QKeyEvent* event, QChar& Ch) override;
    Qt::KeyboardModifiers ChangedCharModifiers(Qt::KeyboardModifiers Modifiers) const override;
    bool TypingBlocked(QChar) const override { return false; }
    int MinHeightExtra() const override;
    bool SelectsOnMouseEntry() const override { return !FEditorEnabled; }
    void BeforeExit() override { ClampOnExit(); }

private:
    void Beep();
    void DateStep(int sign);
    void TimeStep(int sign);
    void ClampOnExit();
    void WriteCaretKept(const QString& text);

    int FMinValue = 0;
    int FMaxValue = 100;
    double FMinFloatValue = 0;
    double FMaxFloatValue = 100;
    platform::TDateTime FMinDateValue = 0;
    platform::TDateTime FMaxDateValue = 0;
    platform::TDateTime FDateValue = 0;
    platform::TDateTime FTimeValue = 0;
    int FIncrement = 1;
    double FIncrementFloat = 0.1;
    TAsgSpinButton* FButton = nullptr;
    TSpinDirection FDirection = spVertical;
    TAsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FReturnIsTab = false;
    bool FExcelStyleDecimalSeparator = false;
    bool FMonthFirst = false;
    bool FShowSeconds = true;
    int FIncrementSeconds = 1;
    int FIncrementMinutes = 1;
    int FIncrementHours = 1;
    TEditAlign FEditAlign = eaLeft;
    bool FSpinFlat = false;
    bool FSpinTransparent = false;
    bool FAllowEmptyValue = false;
    double FIncrementFloatPage = 1.0;
    bool FLoading = false;
};
