#pragma once
// The colour picker drop-down: a pick-only edit that holds one colour and shows it as a colour
// box followed by its name or value. Its pop-up shows a list of named colours, a palette, a
// colour cube or a spectrum picture.
#include "dropdown/AdvColorPickerDropDown_Panels.h"
#include "dropdown/AdvDropDown_Edit.h"
#include "dropdown/AdvDropDown_Selector.h"
#include "platform/Property.h"

#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

enum TColorSelectionStyle { csList, csDiscrete, csColorCube, csSpectrum };
enum TColorValueText { cvtNone, cvtHex, cvtWebName, cvtRGB, cvtHTML };

// The web colour name of a colour ("clWebSnow"), else "#RRGGBB", red first.
QString ColorToWebColorName(TColor Color);

class TColorItems;

class TColorItem : public itemlist::TListItem<TColorItems> {
public:
    using TListItem::TListItem;
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { Change(FColor, Value); }
    KT_PROPERTY(QString, Hint)
    KT_PROPERTY(bool, Enabled)
    // Caption, colour, enabled flag and hint.
    void Assign(const TColorItem& Source);

private:
    TColor FColor = clNone;
    QString FHint;
    bool FEnabled = true;
};

class TColorItems : public itemlist::TItemList<TColorItem, TColorItems, TNotifyEvent> {
public:
    using TItemList::TItemList;
};

class TAdvColorPickerDropDown : public TAdvCustomDropDown {
    Q_OBJECT
public:
    explicit TAdvColorPickerDropDown(QWidget* AOwner = nullptr);
    ~TAdvColorPickerDropDown() override;
    void Create() override;

    // The 16 standard colours, "Black" to "White".
    void AddDefaultColors();

    TColorItems& Colors() { return *FColors; }
    void SetColors(const TColorItems& Value) { FColors->Assign(Value); }
    int ItemIndex() const { return FItemIndex; }
    // Values from the colour count up change nothing; every other write fires OnSelect.
    void SetItemIndex(int Value);
    TColor SelectedColor() const { return FSelectedColor; }
    void SetSelectedColor(TColor Value);
    TColorSelectionStyle ColorSelectionStyle() const { return FColorSelectionStyle; }
    void SetColorSelectionStyle(TColorSelectionStyle Value);
    TColorValueText ColorValueText() const { return FColorValueText; }
    void SetColorValueText(TColorValueText Value) { FColorValueText = Value; update(); }
    bool ShowText() const { return FShowText; }
    void SetShowText(bool Value);
    KT_PROPERTY(int, Columns)
    int ColorBoxWidth() const { return FColorBoxWidth; }
    void SetColorBoxWidth(int Value) { FColorBoxWidth = Value; update(); }
    int ColorBoxHeight() const { return FColorBoxHeight; }
    void SetColorBoxHeight(int Value) { FColorBoxHeight = Value; update(); }
    KT_PROPERTY(TItemLayout, Layout)
    TItemAppearance& ItemAppearance() { return *FItemAppearance; }
    void SetItemAppearance(const TItemAppearance& Value) { FItemAppearance->Assign(Value); }

    TAdvCustomItemSelector* ItemSelector() const { return FItemSelector; }
    TCustomColorSelector* ColorSelector() const { return FColorSelector; }
    TAdvColorCubePanel* ColorCubePanel() const { return FColorCubePanel; }
    TAdvColorSpectrumPanel* SpectrumPanel() const { return FSpectrumPanel; }
    QTimer* KeyTimer() const { return FKeyTimer; }
    QString CurSearch() const { return FCurSearch; }
    // The type-ahead timer's expiry: the search text starts again.
    void KeyTimerExpired();

    // The text after the colour box.
    virtual QString ColorDisplayText();

    void CreateDropDownForm() override;
    void BeforeDropDown() override;
    void SetupDropDownControl() override;
    void FocusDropDownControl() override;
    void UpdateDropDownSize() override;
    void DoHideDropDown(bool Cancelled) override;
    void DropDownFormDestroyed() override;
    void SelectNextValue() override;
    void SelectPreviousValue() override;
    void DrawFocusedText(TCanvas& Canvas) override;
    void SetSelectionColorStyle(TSelectionColorStyle Value) override;
    void SetComponentStyle(TOrlexStyle AStyle) override;
    void PerformKeyDown(Word Key, TShiftState Shift) override;
    void ControlKeyDown(Word& Key, TShiftState Shift) override;

    TNotifyEvent OnSelect;
    TOnDrawSelectedItem OnDrawSelectedColor;
    TDrawItemEvent OnDrawColor;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void MakeContentReady(TColorSelectionStyle Style);
    void PrepareContent(TColorSelectionStyle Style);
    void PrepareList();
    void SetListIndex(int Index);
    void ListItemSelected();
    void PaletteSelected();
    void PanelSelected(TColor Color);
    void DrawSelectedColor(TCanvas& Canvas);
    QWidget* CurrentContent() const;

    std::unique_ptr<TColorItems> FColors;
    std::unique_ptr<TItemAppearance> FItemAppearance;
    QPointer<TAdvCustomItemSelector> FItemSelector;
    QPointer<TCustomColorSelector> FColorSelector;
    QPointer<TAdvColorCubePanel> FColorCubePanel;
    QPointer<TAdvColorSpectrumPanel> FSpectrumPanel;
    QTimer* FKeyTimer = nullptr;
    QString FCurSearch;
    QString FKeyText;      // the text of the key being handled, when it came from a key event
    bool FKeyTextKnown = false;
    bool FInternalCall = false;
    bool FListOpened = false;
    bool FDestroyingPicker = false;
    int FOldItemIndex = -1;
    TColor FOldSelectedColor = clNone;
    int FItemIndex = -1;
    TColor FSelectedColor = clNone;
    TColorSelectionStyle FColorSelectionStyle = csList;
    TColorValueText FColorValueText = cvtNone;
    bool FShowText = true;
    int FColumns = 1;
    int FColorBoxWidth = 14;
    int FColorBoxHeight = 14;
    TItemLayout FLayout = ilCaptionRight;
};
