#pragma once
// TAsgSpinEdit: a single-line edit with a spin button at its right edge that edits an integer, a
// floating-point number, a date or a time. The buttons, the arrow keys and Page Up/Page Down step
// the value (dates and times by the part of the text the caret stands in); typed characters are
// filtered by the spin type and the locale's separators. The grid's spin cell editors derive from
// it and override SpinUp and SpinDown.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "platform/SysUtils.h"

#include <QFlags>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QTimer;

using TNotifyEvent = std::function<void(QObject* sender)>;

#ifndef KT_TBORDERSTYLE_DEFINED
#define KT_TBORDERSTYLE_DEFINED
enum TBorderStyle { bsNone, bsSingle };
#endif

enum TAsgSpinType { sptNormal, sptFloat, sptDate, sptTime };
enum TSpinDirection { spVertical, spHorizontal };
enum TEditAlign { eaLeft, eaRight, eaCenter };
enum TButtonDirection { bdLeft, bdRight, bdUp, bdDown };
enum TTimeBtnStateFlag { tbFocusRect = 0x1, tbAllowTimer = 0x2 };
Q_DECLARE_FLAGS(TTimeBtnState, TTimeBtnStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TTimeBtnState)

class TAsgSpinButton;

// One button of the spin button: a speed button that repeats its click while held.
class TAdvTimerSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TAdvTimerSpeedButton(QWidget* AOwner = nullptr);
    ~TAdvTimerSpeedButton() override;

    TTimeBtnState TimeBtnState() const { return FTimeBtnState; }
    void SetTimeBtnState(TTimeBtnState Value) { FTimeBtnState = Value; }
    TButtonDirection ButtonDirection() const { return FButtonDirection; }
    void SetButtonDirection(TButtonDirection Value);
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool HasMouse() const { return FHasMouse; }
    bool Down() const { return FDown; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
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
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TAsgSpinButton* SpinOwner() const;
    std::unique_ptr<QTimer> FRepeatTimer;
    TTimeBtnState FTimeBtnState;
    TButtonDirection FButtonDirection = bdUp;
    bool FIsWinXP = false;
    bool FHasMouse = false;
    bool FDown = false;
    bool FFlat = false;
    bool FTransparent = false;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

// The pair of up and down buttons.
class TAsgSpinButton : public QWidget {
    Q_OBJECT
public:
    explicit TAsgSpinButton(QWidget* AOwner = nullptr);

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { FButtonColor = Value; update(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
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
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool Value) { setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus); }
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
    QPointer<QWidget> FFocusControl;
    TSpinDirection FDirection = spVertical;
    bool FIsWinXP = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

class TAsgSpinEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TAsgSpinEdit(QWidget* AOwner = nullptr);
    ~TAsgSpinEdit() override;

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
    int MinValue() const { return FMinValue; }
    void SetMinValue(int Value) { FMinValue = Value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int Value) { FMaxValue = Value; }
    double MinFloatValue() const { return FMinFloatValue; }
    void SetMinFloatValue(double Value) { FMinFloatValue = Value; }
    double MaxFloatValue() const { return FMaxFloatValue; }
    void SetMaxFloatValue(double Value) { FMaxFloatValue = Value; }
    platform::TDateTime MinDateValue() const { return FMinDateValue; }
    void SetMinDateValue(platform::TDateTime Value) { FMinDateValue = Value; }
    platform::TDateTime MaxDateValue() const { return FMaxDateValue; }
    void SetMaxDateValue(platform::TDateTime Value) { FMaxDateValue = Value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int Value) { FIncrement = Value; }
    double IncrementFloat() const { return FIncrementFloat; }
    void SetIncrementFloat(double Value) { FIncrementFloat = Value; }
    double IncrementFloatPage() const { return FIncrementFloatPage; }
    void SetIncrementFloatPage(double Value) { FIncrementFloatPage = Value; }
    int IncrementHours() const { return FIncrementHours; }
    void SetIncrementHours(int Value) { FIncrementHours = Value; }
    int IncrementMinutes() const { return FIncrementMinutes; }
    void SetIncrementMinutes(int Value) { FIncrementMinutes = Value; }
    int IncrementSeconds() const { return FIncrementSeconds; }
    void SetIncrementSeconds(int Value) { FIncrementSeconds = Value; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value) { FShowSeconds = Value; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool ReturnIsTab() const { return FReturnIsTab; }
    void SetReturnIsTab(bool Value) { FReturnIsTab = Value; }
    bool ExcelStyleDecimalSeparator() const { return FExcelStyleDecimalSeparator; }
    void SetExcelStyleDecimalSeparator(bool Value) { FExcelStyleDecimalSeparator = Value; }
    bool AllowEmptyValue() const { return FAllowEmptyValue; }
    void SetAllowEmptyValue(bool Value) { FAllowEmptyValue = Value; }
    TSpinDirection Direction() const { return FDirection; }
    void SetDirection(TSpinDirection Value);
    TEditAlign EditAlign() const { return FEditAlign; }
    void SetEditAlign(TEditAlign Value);
    bool SpinFlat() const { return FSpinFlat; }
    void SetSpinFlat(bool Value);
    bool SpinTransparent() const { return FSpinTransparent; }
    void SetSpinTransparent(bool Value);
    TAsgSpinButton* Button() const { return FButton; }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);

    // The usual edit properties.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value); // 0: no limit
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool Value) { setReadOnly(Value); }
    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }
    bool Loading() const { return FLoading; }
    void SetLoading(bool Value) { FLoading = Value; }
    virtual void Loaded();

    // Steps; SpinUp and SpinDown step once without page (what the buttons do).
    virtual void UpClick(bool Page);
    virtual void DownClick(bool Page);
    virtual bool IsValidChar(QChar Key);
    virtual void SpinUp();
    virtual void SpinDown();

    // The least height the edit may have.
    int GetMinHeight() const;
    // The text rectangle inside the client area.
    TRect EditRect() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    std::function<void(QObject* sender, Word& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* sender, QChar& Key)> OnKeyPress;

protected:
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int BorderWidth() const;
    void SetEditRect();
    void PlaceButton();
    void Beep();
    void DateStep(int sign);
    void TimeStep(int sign);
    void ClampOnExit();
    void WriteCaretKept(const QString& text);
    bool ClipboardEditAllowed() const { return FEditorEnabled && !isReadOnly(); }

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
    bool FEditorEnabled = true;
    TSpinDirection FDirection = spVertical;
    TAsgSpinType FSpinType = sptNormal;
    int FPrecision = 0;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
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

    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TColor FColor = clWindow;
    int FMaxLength = 0;
    bool FLoading = false;
    bool FMouseEntry = false;
};
