#pragma once
// The calculator drop-down: a floating-point edit whose pop-up is a calculator pad of 28
// buttons (digits, the four operations, equals, percent, square root, reciprocal, sign,
// backspace, clear and four memory keys). The edit's text is the entry and the result; Enter on
// the open pad computes the pending operation and closes it.
#include "dropdown/AdvDropDown_Edit.h"
#include "platform/Property.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class TAdvCalculatorDropdown;

// One pad button; its rectangle is in pad coordinates and Tag is its key code.
class TButtonItem {
public:
    KT_PROPERTY(QString, Caption)
    KT_PROPERTY(TColor, CaptionColor)
    KT_PROPERTY(int, ImageIndex)
    TPicture& Image() { return FImage; }
    const TPicture& Image() const { return FImage; }
    void SetImage(const TPicture& Value) { FImage.Assign(Value); }
    KT_PROPERTY(int, Tag)
    KT_PROPERTY(bool, Enabled)
    KT_PROPERTY(QString, Name)
    KT_PROPERTY(bool, Special)
    // Caption, caption colour, tag, image index, image, enabled flag and name.
    void Assign(const TButtonItem& Source);
    TRect GetRect() const { return TRect(FLeft, FTop, FLeft + FWidth, FTop + FHeight); }
    void SetRect(int Left, int Top, int Width, int Height);

private:
    QString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    TPicture FImage;
    int FTag = 0;
    int FHeight = 0, FLeft = 0, FWidth = 0, FTop = 0;
    QString FName;
    TColor FCaptionColor = clWhite;
    bool FSpecial = false;
};

class TButtonItems {
public:
    explicit TButtonItems(QObject* Owner = nullptr) : FMyOwner(Owner) {}
    QObject* GetOwner() const { return FMyOwner; }
    int Count() const { return int(FItems.size()); }
    TButtonItem* Add();
    TButtonItem* Insert(int Index);
    // The item, or nullptr outside the items.
    TButtonItem* Items(int Index) const;
    void SetItems(int Index, const TButtonItem& Value);
    void Clear() { FItems.clear(); }
    void Assign(const TButtonItems& Source);

    TNotifyEvent OnChange; // never fired by the collection itself

private:
    QObject* FMyOwner;
    std::vector<std::unique_ptr<TButtonItem>> FItems;
};

// Colours and font of the pad buttons. Writes that change a value fire OnChange (ShineColor only
// stores).
class TButtonAppearance {
public:
    TButtonAppearance();
    TButtonAppearance(const TButtonAppearance&) = delete;
    TButtonAppearance& operator=(const TButtonAppearance&) = delete;
    void Assign(const TButtonAppearance& Source);

#define KT_BUTTON_APPEARANCE_COLOR(Name)                                                                    \
    TColor Name() const { return F##Name; }                                                                 \
    void Set##Name(TColor Value)                                                                            \
    {                                                                                                       \
        if (F##Name == Value)                                                                               \
            return;                                                                                         \
        F##Name = Value;                                                                                    \
        Changed();                                                                                          \
    }
    KT_BUTTON_APPEARANCE_COLOR(BorderColor)
    KT_BUTTON_APPEARANCE_COLOR(BorderColorHot)
    KT_BUTTON_APPEARANCE_COLOR(BorderColorDown)
    KT_BUTTON_APPEARANCE_COLOR(BorderColorChecked)
    KT_BUTTON_APPEARANCE_COLOR(Color)
    KT_BUTTON_APPEARANCE_COLOR(ColorTo)
    KT_BUTTON_APPEARANCE_COLOR(ColorDown)
    KT_BUTTON_APPEARANCE_COLOR(ColorDownTo)
    KT_BUTTON_APPEARANCE_COLOR(ColorHot)
    KT_BUTTON_APPEARANCE_COLOR(ColorHotTo)
    KT_BUTTON_APPEARANCE_COLOR(ColorCheckedTo)
    KT_BUTTON_APPEARANCE_COLOR(ColorDisabled)
    KT_BUTTON_APPEARANCE_COLOR(ColorDisabledTo)
    KT_BUTTON_APPEARANCE_COLOR(ColorChecked)
    KT_BUTTON_APPEARANCE_COLOR(TextColor)
    KT_BUTTON_APPEARANCE_COLOR(SpecialTextColor)
#undef KT_BUTTON_APPEARANCE_COLOR
    KT_PROPERTY(TColor, ShineColor)
    KT_PROPERTY(TColor, GlowColorHot)
    KT_PROPERTY(TColor, GlowColorDown)
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }

    TNotifyEvent OnChange;

private:
    void Changed();
    TColor FBorderColor = 0, FBorderColorHot = 0, FBorderColorDown = 0, FBorderColorChecked = 0xFF0000;
    TColor FColor = 0x9A915F, FColorTo = 0xB0A170, FColorDown = 0x4B2F08, FColorDownTo = 0xADB514;
    TColor FColorHot = 0x9F6F1C, FColorHotTo = 0xD5C244;
    TColor FColorCheckedTo, FColorDisabled, FColorDisabledTo, FColorChecked;
    TFont FFont;
    TColor FShineColor = 0xFFFFFF;
    TColor FGlowColorHot = 0xD5C244, FGlowColorDown = 0xD5C244;
    TColor FTextColor = 0, FSpecialTextColor = 0x000080;
};

enum TButtonPanelType { plCalculator, plCustom };

// The pad: a panel of buttons laid out as a calculator (or where the items say, plCustom).
class TCustomButtonPanel : public QWidget {
    Q_OBJECT
public:
    explicit TCustomButtonPanel(QWidget* AOwner = nullptr);

    TButtonItems& Buttons() { return FButtons; }
    void SetButtons(const TButtonItems& Value) { FButtons.Assign(Value); }
    TButtonAppearance& ButtonAppearance() { return FButtonAppearance; }
    void SetButtonAppearance(const TButtonAppearance& Value) { FButtonAppearance.Assign(Value); }
    KT_PROPERTY(TItemLayout, ButtonLayout)
    TButtonPanelType ButtonPanelType() const { return FButtonPanelType; }
    void SetButtonPanelType(TButtonPanelType Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    KT_PROPERTY(TSelectionColorStyle, ItemColorStyle)
    QWidget* Edit() const { return FEdit; }
    void SetEdit(QWidget* Value) { FEdit = Value; }
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int ButtonHot() const { return FButtonHot; }
    int ButtonDown() const { return FButtonDown; }
    int OffSetX() const { return FOffSetX; }
    int OffSetY() const { return FOffSetY; }
    // The button under the point, -1 for none.
    int ButtonAtPos(int X, int Y) const;
    void Loaded();

    virtual void DrawButton(int Index, TCanvas& Canvas);
    virtual void GetButtonArea(TRect& R) const;
    virtual void GetButtonSize(int& W, int& H);
    virtual void ClearButtons();
    virtual void RebuildButtons();
    virtual void CreateButtons();
    virtual void LayoutButtons();
    virtual void InvalidateButton(int Index);
    virtual void DoButtonClick(int Index);

    std::function<void(QObject* Sender, int Index)> OnButtonClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void SetButtonHot(int Index);
    void SetButtonDownIndex(int Index);

    TButtonItems FButtons;
    TItemLayout FButtonLayout = ilCaptionRight;
    TSelectionColorStyle FItemColorStyle = scOffice2007;
    int FButtonHot = -1;
    int FOffSetX = 8;
    int FOffSetY = 8;
    int FButtonOffSetX = 4;
    int FButtonOffSetY = 4;
    TCustomImageList* FImages = nullptr;
    int FCaptionGap = 0;
    QPointer<QWidget> FEdit;
    TButtonPanelType FButtonPanelType = plCalculator;
    TButtonAppearance FButtonAppearance;
    int FButtonDown = -1;
    QPointer<TAdvCustomDropDown> FAdvDropDown;
    TColor FColor = clBtnFace;
};

class TAdvCalculatorDropdown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    explicit TAdvCalculatorDropdown(QWidget* AOwner = nullptr);
    void Create() override;

    TButtonAppearance& CalcButtonAppearance() { return *FCalcButtonAppearance; }
    void SetCalcButtonAppearance(const TButtonAppearance& Value) { FCalcButtonAppearance->Assign(Value); }
    bool ShowThousandSeparator() const { return FShowThousandSeparator; }
    void SetShowThousandSeparator(bool Value);
    // The text as a number ("0" first written into an empty text); 0 when it is none.
    double Value();
    void SetValue(double Value);
    // The equals operation, for callers that accept the value without the pad.
    void CalcResult() { OpEquals(); }
    TCustomButtonPanel* ButtonPanel() const { return FAdvButtonPanel; }
    double Memory() const { return FMVal; }
    double Accumulator() const { return FPrevval; }
    int PendingOperation() const { return FPrevop; }

    // The pad's buttons, by their collection index.
    void ButtonClick(QObject* Sender, int Index);

    void SetComponentStyle(TOrlexStyle AStyle) override;
    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownClosed() override;
    void FormKeyPress(QChar& Key) override;
    void FormKeyDown(Word& Key, TShiftState Shift) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;
    // A typed character reaches the calculator's key step before the number input's filter, so
    // the operation characters are not refused as text.
    void PerformChar(QChar Key, TShiftState Shift, bool keypadDecimal = false) override;

    virtual void BeforeCalculatorInput() {}

protected:
    void HandleKeyPress(QChar& Key) override;

private:
    void FormKeyPressCalc(QChar& Key);
    // The entry as a number: thousand separators removed; 0 for anything that is no number.
    double EntryValue() const;
    void Calculate();
    void OpEquals();
    void OpPercent();
    void OpAdd();
    void OpSubtract();
    void OpMultiply();
    void OpDivide();
    void ClearAll();
    bool PadOpen() const;

    TCustomButtonPanel* FAdvButtonPanel = nullptr;
    int FDecim = 0;
    bool FNewval = false;
    double FPrevval = 0;
    int FPrevop = -1;
    bool FCalcClosed = true;
    std::unique_ptr<TButtonAppearance> FCalcButtonAppearance;
    double FMVal = 0;
    bool FShowThousandSeparator = false;
    // Set while a character the key step has already seen goes through the number filter.
    bool FKeyStepDone = false;
};
