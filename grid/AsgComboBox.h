#pragma once
// TAsgCustomCombo / TAsgComboBox: the system combo box with an owner-drawn look. A flat mode that
// takes the parent's colour, border colours for the normal and the focused state, a coloured or
// visual-style drop-down button that tracks the pointer, a focus colour, and a caption label that
// sits at one of 13 places around the box and turns bold while the box has the focus. The grid's
// combo cell editors derive from it.
//
// The whole control is painted through TCanvas: the plain (classic) combo first, and over it the
// owner-drawn button and borders where the settings ask for them.
#include "grid/AsgButtonEdit.h"
#include "platform/Property.h"

#include <QComboBox>
#include <QStringList>

class QProxyStyle;

#ifndef KT_TCOMBOBOXSTYLE_DEFINED
#define KT_TCOMBOBOXSTYLE_DEFINED
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
#endif

#ifndef KT_TEDITCHARCASE_DEFINED
#define KT_TEDITCHARCASE_DEFINED
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
#endif

namespace AsgCombo {

// Top-left corner of a label of size labelSize (caption width textWidth) beside a control whose
// bounds are `box`, `margin` pixels away.
TPoint LabelOrigin(TLabelPosition position, const TRect& box, const TSize& labelSize, int textWidth, int margin);

// Width and height of a caption as a label shows it (single text block, "&" prefixes hidden).
TSize LabelTextSize(const QString& caption, const TFont& font);

// Visual styles are there and switched on (the themed drawing branches apply).
bool VisualStylesActive();

// The colour a control shows behind itself: its parent's background (clBtnFace without parent).
TColor ParentBrushColor(const QWidget* control);

} // namespace AsgCombo

class TAsgCustomCombo : public QComboBox, public TAsgButtonColors, public TAsgEditEvents, public TAsgCaptionLabel {
    Q_OBJECT
public:
    explicit TAsgCustomCombo(QWidget* AOwner = nullptr);
    ~TAsgCustomCombo() override;

    // ---- designed properties ----
    KT_PROPERTY(bool, AutoFocus)
    KT_PROPERTY_CHANGE(TColor, BorderColor, update)
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value); // 14..32, other values are ignored
    KT_PROPERTY(bool, DisabledBorder)
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    KT_PROPERTY_NOTIFY(TColor, FlatLineColor, update)
    KT_PROPERTY_NOTIFY(bool, FlatParentColor, update)
    KT_PROPERTY_CHANGE(bool, Etched, update)
    KT_PROPERTY(bool, FocusBorder)
    KT_PROPERTY(TColor, FocusBorderColor)
    KT_PROPERTY(TColor, FocusColor)
    int DropWidth() const { return FDropWidth; }
    void SetDropWidth(int Value);
    void SetLabelCaption(const QString& Value);
    void SetLabelAlwaysEnabled(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool Value) { setEnabled(Value); }
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool Value) { setVisible(Value); }

    QLabel* ComboLabel() const { return FLabel; }
    KT_PROPERTY(bool, IsWinXP)
    KT_PROPERTY(bool, IsVista)

    // ---- the usual combo box properties ----
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle Value);
    QStringList Items() const;
    void SetItems(const QStringList& Value); // copies; sorted when Sorted
    void AddItem(const QString& Value);
    void ClearItems();
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int Value);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool Value);
    int DropDownCount() const { return maxVisibleItems(); }
    void SetDropDownCount(int Value) { setMaxVisibleItems(Value < 1 ? 1 : Value); }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    QString Text() const;
    // Edit styles take the text; the list style selects the item with that text (none when absent).
    void SetText(const QString& Value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value); // 0: no limit
    KT_PROPERTY(bool, AutoComplete)
    KT_PROPERTY(int, AutoCompleteDelay)
    bool DroppedDown() const { return FDroppedDown; }
    void SetDroppedDown(bool Value);
    KT_PROPERTY_NOTIFY(bool, Ctl3D, update)
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool Value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool Value);
    TFont Font() const { return TFont::FromQFont(font()); }
    void SetFont(const TFont& Value);
    KT_PROPERTY(bool, Loading)

    // ---- operations ----
    // The designed-defaults pass after set-up.
    virtual void Loaded();
    // Takes the present colour as the one shown while the box has no focus.
    virtual void Init();
    // Selects the first item equal to AString; nothing when there is none.
    void SelectItem(const QString& AString);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    // ---- state, for the grid and for tests ----
    bool HasFocus() const { return FHasFocus; }
    bool MouseInControl() const { return FMouseInControl; }
    bool ButtonHover() const { return FButtonHover; }
    TColor NormalColor() const { return FNormalColor; }
    TColor LoadedColor() const { return FLoadedColor; }
    // Paints the control as the screen shows it onto a canvas of its size.
    void PaintTo(TCanvas& Canvas);

    // ---- events (fired by user actions only; OnChange, OnEnter, OnExit, OnKeyDown and
    // OnKeyPress are the typed control's) ----
    TNotifyEvent OnSelect;
    TNotifyEvent OnClick;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TNotifyEvent OnDropUp;
    std::function<void(QObject* sender, Word& Key, TShiftState Shift)> OnKeyUp;

    void showPopup() override;
    void hidePopup() override;
    void setVisible(bool visible) override;

protected:
    // Key steps, as a key arrives: key-down, then its character. A handler that zeroes the key
    // keeps it from the combo's own handling.
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    virtual void KeyUp(Word& Key, TShiftState Shift);
    virtual void Change();
    virtual void Select();
    virtual void Click();
    virtual void DropDown();
    virtual void CloseUp();
    // Focus gained and lost.
    virtual void DoEnter();
    virtual void DoExit();
    // The pointer entering and leaving.
    virtual void CMMouseEnter();
    virtual void CMMouseLeave();

    // Painting steps.
    virtual void PaintInherited(TCanvas& Canvas);
    void DrawButton(TCanvas& Canvas);
    void DrawBorders(TCanvas& Canvas);
    void DrawControlBorder(TCanvas& Canvas);
    void DrawButtonBorder(TCanvas& Canvas);

    // The label follows the box.
    void UpdateLabel() override;
    void LabelFontChange();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyColor();
    void ApplyMaxLength();
    void ConnectEdit();
    void Activated(int index);
    void EditTextEdited(const QString& text);
    bool ListAutoComplete(QChar ch);
    void EditAutoComplete();
    void SetLabelBold(bool bold);
    bool OwnerDrawn() const;
    bool Active() const;
    void PopupClosed();
    void InvalidateButtonArea();

    bool FAutoFocus = false;
    bool FFlat = false;
    bool FEtched = false;
    TColor FOldColor = clWindow;
    TColor FLoadedColor = clWindow;
    bool FOldParentColor = false;
    int FButtonWidth = 19;
    bool FFocusBorder = false;
    bool FMouseInControl = false;
    int FDropWidth = 0;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FButtonHover = false;
    TColor FFlatLineColor = clNone;
    bool FFlatParentColor = true;
    TColor FFocusColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FBorderColor = clNone;
    bool FDisabledBorder = true;
    TColor FNormalColor = clWindow;
    bool FHasFocus = false;
    bool FIsVista = false;

    // The usual combo state.
    TColor FColor = clWindow;
    TComboBoxStyle FStyle = csDropDown;
    bool FSorted = false;
    TEditCharCase FCharCase = ecNormal;
    int FMaxLength = 0;
    // The edit text before its latest change, for the length limit of typed and pasted text.
    QString FPrevEditText;
    QString FCurEditText;
    bool FAutoComplete = true;
    int FAutoCompleteDelay = 500;
    QString FSearchText;
    uint32_t FLastKeyTick = 0;
    bool FDroppedDown = false;
    bool FMouseDown = false;
    bool FCtl3D = true;
    bool FParentFont = true;
    bool FParentColor = false;
    bool FLoading = false;
    bool FDestroying = false;
    bool FEditKeyDeletes = false;
    std::unique_ptr<QProxyStyle> FGeometry;
};

// The published form of the combo.
class TAsgComboBox : public TAsgCustomCombo {
    Q_OBJECT
public:
    explicit TAsgComboBox(QWidget* AOwner = nullptr) : TAsgCustomCombo(AOwner) {}
};
