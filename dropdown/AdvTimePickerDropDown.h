#pragma once
// The time picker drop-down and its analog clock.
//
// VIzuZevaz is a clock face: a click inside the dial sets the hour, a click in the margin the
// minute, a click on the AM/PM box switches the half of the day; hands move to a new value in
// small animated steps. In automatic mode it is a running clock. TAdvTimePickerDropDown shows it
// in its pop-up (optionally with a time edit below it) and keeps the edit's text, the clock and
// its Time in step.
#include "dropdown/AdvDropDown_Edit.h"

#include "platform/SysUtils.h"
#include "platform/Property.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QTimeEdit;

enum TWatchShape { wsCircle, wsRect, wsRoundRect };
enum TWatchBorderStyle { wbLine, wbDoubleLine, wbNone };
enum THourMarkStyle { hmsLine, hmsQuartDblLine };
enum TTickMarks { tmAll, tmHours, tmQuartHours, tmNone };
enum TPointerStyle { psLine, psShortLine, psPointer, psLineArrow };
enum TAMPMFrame { apRect, apRoundRect };
enum TWatchGradient { wgRadial, wgVertical, wgDiagonalForward, wgDiagonalBackward };
enum TWatchStyle {
    wsClassic, wsTower, wsFluorescent, wsEmerald, wsBlueStar, wsFuchsia, wsBlack, wsBlackWhite, wsGray, wsSuperNova,
    wsSports, wsSmooth
};

// Looks of the clock. Every write that changes a value fires OnChange (AMPMColor and
// AMPMBorderColor are plain); the fonts and the picture are copied and always fire it.
class TWatchAppearance {
public:
    TWatchAppearance();
    TWatchAppearance(const TWatchAppearance&) = delete;
    TWatchAppearance& operator=(const TWatchAppearance&) = delete;
    void Assign(const TWatchAppearance& Source);
    // The defaults of a new appearance, without notification.
    void SetDefaults();

#define KT_WATCH_PROP(Type, Name, Field)                                                                    \
    Type Name() const { return Field; }                                                                     \
    void Set##Name(Type Value)                                                                              \
    {                                                                                                       \
        if (Field == Value)                                                                                 \
            return;                                                                                         \
        Field = Value;                                                                                      \
        Changed();                                                                                          \
    }
    KT_WATCH_PROP(int, Size, FSize)
    KT_WATCH_PROP(TColor, HourPointer, FHourPointer)
    KT_WATCH_PROP(TColor, BackgroundColor, FBackgroundColor)
    KT_WATCH_PROP(TColor, MinutePointerShadow, FMinutePointerShadow)
    KT_WATCH_PROP(TColor, BackgroundColorTo, FBackgroundColorTo)
    KT_WATCH_PROP(TColor, HourPointerShadow, FHourPointerShadow)
    KT_WATCH_PROP(TColor, SecondPointer, FSecondPointer)
    KT_WATCH_PROP(TColor, BorderColor, FBorderColor)
    KT_WATCH_PROP(TColor, MinutePointer, FMinutePointer)
    KT_WATCH_PROP(TAMPMFrame, AMPMFrame, FAMPMFrame)
    KT_WATCH_PROP(TWatchShape, Shape, FWatchShape)
    KT_WATCH_PROP(TPointerStyle, PointerStyle, FPointerStyle)
    KT_WATCH_PROP(int, HourPointerSize, FHourPointerSize)
    KT_WATCH_PROP(int, SecondPointerSize, FSecondPointerSize)
    KT_WATCH_PROP(int, MinutePointerSize, FMinutePointerSize)
    KT_WATCH_PROP(TColor, HourColor, FHourColor)
    KT_WATCH_PROP(TColor, MinuteColor, FMinuteColor)
    KT_WATCH_PROP(int, CenterPointSize, FCenterPointSize)
    KT_WATCH_PROP(TColor, CenterPointColor, FCenterPointColor)
    KT_WATCH_PROP(TColor, CenterPointBorderColor, FCenterPointBorderColor)
    KT_WATCH_PROP(TWatchGradient, BackgroundGradient, FBackgroundGradient)
    KT_WATCH_PROP(int, HourMarkLength, FHourMarkLength)
    KT_WATCH_PROP(int, HourMarkWidth, FHourMarkWidth)
    KT_WATCH_PROP(int, MinuteMarkLength, FMinuteMarkLength)
    KT_WATCH_PROP(int, MinuteMarkWidth, FMinuteMarkWidth)
    KT_WATCH_PROP(int, BorderWidth, FBorderWidth)
    KT_WATCH_PROP(TColor, CenterPointOuterBorderColor, FCenterPointOuterBorderColor)
    KT_WATCH_PROP(TTickMarks, TickMarks, FTickMarks)
    KT_WATCH_PROP(THourMarkStyle, HourMarkStyle, FHourMarkStyle)
#undef KT_WATCH_PROP
    KT_PROPERTY(TColor, AMPMColor)
    KT_PROPERTY(TColor, AMPMBorderColor)
    TFont& HourFont() { return FHourFont; }
    const TFont& HourFont() const { return FHourFont; }
    void SetHourFont(const TFont& Value);
    TFont& AMPMFont() { return FAMPMFont; }
    const TFont& AMPMFont() const { return FAMPMFont; }
    void SetAMPMFont(const TFont& Value);
    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    void SetPicture(const TPicture& Value);

    TNotifyEvent OnChange;

private:
    void Changed();
    bool FSilent = false;
    int FSize;
    TColor FHourPointer, FBackgroundColor, FMinutePointerShadow, FBackgroundColorTo, FHourPointerShadow,
        FSecondPointerShadow, FSecondPointer, FBorderColor, FMinutePointer;
    TFont FHourFont, FAMPMFont;
    TPicture FPicture;
    TAMPMFrame FAMPMFrame;
    TWatchShape FWatchShape;
    TPointerStyle FPointerStyle;
    TWatchBorderStyle FBorderStyle;
    int FHourPointerSize, FSecondPointerSize, FMinutePointerSize;
    TColor FHourColor, FMinuteColor;
    int FCenterPointSize;
    TColor FCenterPointColor, FCenterPointBorderColor;
    TWatchGradient FBackgroundGradient;
    int FRounding;
    int FHourMarkLength, FHourMarkWidth, FMinuteMarkLength, FMinuteMarkWidth, FBorderWidth;
    TColor FAMPMColor, FAMPMBorderColor, FCenterPointOuterBorderColor;
    TTickMarks FTickMarks;
    THourMarkStyle FHourMarkStyle;
};

// The component-style colours of the clock, written into an appearance.
void ApplyWatchComponentStyle(TWatchAppearance& Appearance, TOrlexStyle AStyle);

// The clock's mode: a running clock (Auto) with or without second hand, offset in minutes.
class TWatchSettings {
public:
    bool Auto() const { return FAuto; }
    void SetAuto(bool Value);
    bool Second() const { return FSeconds; }
    void SetSecond(bool Value);
    int TimeOffset() const { return FTimeOffset; }
    void SetTimeOffset(int Value);
    void Assign(const TWatchSettings& Source);

    TNotifyEvent OnChange;

private:
    void Changed();
    bool FAuto = false;
    bool FSeconds = true;
    int FTimeOffset = 0;
};

// The analog clock.
class VIzuZevaz : public QWidget {
    Q_OBJECT
public:
    explicit VIzuZevaz(QWidget* AOwner = nullptr);
    ~VIzuZevaz() override;

    TWatchAppearance& Appearance() { return *FAppearance; }
    void SetAppearance(const TWatchAppearance& Value) { FAppearance->Assign(Value); }
    TWatchSettings& Settings() { return *FSettings; }
    void SetSettings(const TWatchSettings& Value) { FSettings->Assign(Value); }
    platform::TDateTime Time() const { return FTime; }
    // Shows another time at once; fires no OnChange.
    void SetTime(platform::TDateTime Value);
    KT_PROPERTY(bool, Animation)
    KT_PROPERTY(int, AnimationFactor)
    bool ShowAMPM() const { return FShowAMPM; }
    void SetShowAMPM(bool Value);
    bool ShowNumbers() const { return FShowNumbers; }
    void SetShowNumbers(bool Value);
    TWatchStyle Style() const { return FStyle; }
    // A named look: the appearance back to its defaults, then the look's values.
    void SetStyle(TWatchStyle Value);
    bool AM() const { return FAM; }
    bool Animating() const { return FAnimationTimer.isActive(); }
    QTimer& WatchTimer() { return FWatchTimer; }
    QTimer& AnimationTimer() { return FAnimationTimer; }

    // Sets the hour (0..23) or minute (0..59) of the shown time, animated or at once; OnChange
    // fires when the value set is the animation's target. A minute of 60 or more raises
    // "Invalid time".
    void SetHour(int Value);
    void SetMinute(int Value);
    void SetTimeInternal(platform::TDateTime Value);
    // Keys: A, P, Page Up/Down, Home, End, Left, Right (nothing in automatic mode).
    void HandleKey(Word Key);
    void SetComponentStyle(TOrlexStyle AStyle) { ApplyWatchComponentStyle(*FAppearance, AStyle); }

    // Geometry of the dial for the current size.
    TRect DialRect() const;
    TPoint Center() const;
    int PointToMinute(int X, int Y) const;
    int PointToHour(int X, int Y) const;
    TRect GetAMPMRect() const;
    // What a click released at (X, Y) does.
    void ClickAt(int X, int Y);

    // The timers' steps (tests call them directly).
    void AnimationTick();
    void WatchTimerTick() { RepaintHands(); }
    void SettingsChanged();

    // The face without hands (the cache) and the whole clock, drawn into images.
    QImage FaceImage();
    QImage ClockImage();

    TNotifyEvent OnChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetAM(bool Value);
    void RepaintHands();
    void PaintWatch();
    void DrawBackground(TCanvas& Canvas);
    void DrawTicks(TCanvas& Canvas);
    void DrawNumbers(TCanvas& Canvas);
    void DrawAMPM(TCanvas& Canvas, const QString& Text);
    void DrawHands(TCanvas& Canvas);
    void FireChange();
    platform::TDateTime ShownTime() const;
    double Radius() const;

    std::unique_ptr<TWatchAppearance> FAppearance;
    std::unique_ptr<TWatchSettings> FSettings;
    platform::TDateTime FTime = 0;
    QImage FBKGCache;
    bool FFaceValid = false;
    QImage FRollFrame; // a frame of the AM/PM roll while it runs
    int FOldHour = 0, FOldMinute = 0, FOldSecond = 0;
    QTimer FWatchTimer;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    QTimer FAnimationTimer;
    int FCurrentHourTo = 0;
    int FCurrentMinuteTo = 0;
    int FMinuteFrom = 0;
    bool FHourAnimating = false;
    bool FInternalCall = false;
    bool FAM = true;
    bool FShowAMPM = true;
    bool FShowNumbers = true;
    bool FInternalSet = false;
    TWatchStyle FStyle = wsClassic;
};

// The time picker drop-down.
class TAdvTimePickerDropDown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    explicit TAdvTimePickerDropDown(QWidget* AOwner = nullptr);
    void Create() override;

    platform::TDateTime Time() const { return FTime; }
    void SetTime(platform::TDateTime Value);
    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool Value);
    KT_PROPERTY(bool, ShowTimePicker)
    TWatchAppearance& WatchAppearance() { return *FWatchAppearance; }
    void SetWatchAppearance(const TWatchAppearance& Value) { FWatchAppearance->Assign(Value); }
    TWatchSettings& WatchSettings() { return *FWatchSettings; }
    void SetWatchSettings(const TWatchSettings& Value) { FWatchSettings->Assign(Value); }
    KT_PROPERTY(bool, ShowWatchAMPM)
    KT_PROPERTY(bool, ShowWatchNumbers)
    KT_PROPERTY(bool, Animation)
    KT_PROPERTY(int, AnimationFactor)
    // The edit mask of the time text (stored; typing follows its digit places).
    QString EditMask() const { return FEditMask; }

    void SetHourValue(int Value);
    void SetMinuteValue(int Value);
    void SetSecondValue(int Value);

    VIzuZevaz* Watch() const { return FAdvWatch; }
    QTimeEdit* TimePicker() const { return FDateTimePicker; }
    QWidget* Panel() const { return FPanelCtrl; }

    void SetComponentStyle(TOrlexStyle AStyle) override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownClosed() override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    void FormKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;
    void ControlKeyUp(Word& Key, TShiftState Shift) override;
    void ControlKeyPress(QChar& Key) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;

    TNotifyEvent OnTimeChange;

protected:
    void HandleChange() override;
    void HandleKeyPress(QChar& Key) override;

private:
    QString TimeText(platform::TDateTime Value) const;
    void SetEditMask(const QString& Mask);
    void RebuildText();
    void WatchChanged();
    void PickerChanged();
    bool BlockedFormKey(Word Key, TShiftState Shift) const;
    void SetWindowTextKeepingCaret(const QString& Text, int Caret);

    bool FShowTimePicker = false;
    VIzuZevaz* FAdvWatch = nullptr;
    QTimeEdit* FDateTimePicker = nullptr;
    QWidget* FPanelCtrl = nullptr;
    std::unique_ptr<TWatchAppearance> FWatchAppearance;
    bool FShowWatchAMPM = true;
    bool FShowWatchNumbers = true;
    bool FAnimation = true;
    int FAnimationFactor = 10;
    platform::TDateTime FTime = 0;
    std::unique_ptr<TWatchSettings> FWatchSettings;
    bool FInternalCall = false;
    bool FShowSeconds = true;
    QString FEditMask;
};
