#pragma once
// The drop-down edit: a single-line typed edit with a drop-down button at its right edge and a
// borderless pop-up window that shows a control of the descendant's choosing, optionally between
// a header strip and a footer strip. Descendants (calculator, time picker, item pickers, the
// grid's drop-down editors) build on its virtual operations.
//
// The pop-up is a Qt popup window: Qt's own closes (a press outside it, the application losing
// the activation) arrive in its closeEvent and run the same hide path as a deactivation.
#include "dropdown/AdvDropDown.h"

#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "render/AdvStyleIF.h"
#include "platform/Property.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

class TAdvCustomDropDown;
class TItemAppearance;

using TNotifyEvent = std::function<void(QObject* sender)>;

#ifndef KT_TBORDERSTYLE_DEFINED
#define KT_TBORDERSTYLE_DEFINED
enum TBorderStyle { bsNone, bsSingle };
#endif

enum TDropPosition { dpAuto, dpDown, dpUp };

enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom, lpTopRight,
    lpBottomRight
};

enum TDropDownEditType {
    etString, etNumeric, etFloat, etUppercase, etMixedCase, etLowerCase, etPassword, etMoney, etRange, etHex,
    etAlphaNumeric, etValidChars
};

using TDropDownEvent = std::function<void(QObject* Sender, bool& acceptdrop)>;
using TDropUpEvent = std::function<void(QObject* Sender, bool Cancelled)>;
using TClipboardEvent = std::function<void(QObject* Sender, const QString& value, bool& allow)>;
using TDrawBackGroundEvent = std::function<void(QObject* Sender, TCanvas& ACanvas, TRect ARect)>;
using TGetTextEvent = std::function<void(QObject* Sender, QString& Text)>;
using TDropDownButtonItemClick = std::function<void(QObject* Sender, int ButtonIndex)>;

// ---- number texts of the typed input --------------------------------------------------------

QChar ThousandSeparatorChar();
QChar DecimalSeparatorChar();
// True for ",", "-" and ";".
bool IsRangeSeparator(QChar Ch);
// 0 integer, 1 float, 5 hexadecimal, 2 anything else (an empty text too).
int ClassifyEditNumberText(const QString& S);
QString StripThousandSeparators(const QString& S);
// 0-9 for "0".."9", 10-15 for "A".."F" and "a".."f", 0 for anything else.
int HexDigitValue(QChar Ch);
// Hexadecimal digits to a 32-bit value (wrapping); other characters count 0.
int HexToInt(const QString& S);
QString CaseText(const QString& S, bool KeepCase);

// ---- header, footer and button appearances -----------------------------------------------------

enum TButtonAlignment { baLeft, baRight };
enum TAdvButtonStyle { tasButton, tasCheck };
enum TAdvButtonState { absUp, absDisabled, absDown, absDropDown, absExclusive };

// One button of a header or footer. Caption, Enabled and Width writes report a change.
class TDropDownStripButton {
public:
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    KT_PROPERTY(int, ImageIndex)
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int Width() const { return FWidth; }
    void SetWidth(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; } // no notification
    int ModalResult() const { return FModalResult; } // footer buttons
    void SetModalResult(int Value) { FModalResult = Value; }
    void Assign(const TDropDownStripButton& Source);

    TNotifyEvent OnChanged; // set by the collection

private:
    QString FCaption;
    int FImageIndex = -1;
    bool FEnabled = true;
    int FHeight = 0;
    int FWidth = 0;
    int FModalResult = 0;
};
using THeaderButton = TDropDownStripButton;
using TFooterButton = TDropDownStripButton;

// The buttons of one header or footer. Adding, deleting or moving items reports nothing; the
// item writes above fire OnChange.
class TDropDownStripButtons {
public:
    int Count() const { return int(FItems.size()); }
    TDropDownStripButton* Add();
    TDropDownStripButton* Insert(int Index);
    TDropDownStripButton* Items(int Index) const { return FItems.at(size_t(Index)).get(); }
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    void Assign(const TDropDownStripButtons& Source);

    TNotifyEvent OnChange;

private:
    void Hook(TDropDownStripButton* item);
    std::vector<std::unique_ptr<TDropDownStripButton>> FItems;
};
using THeaderButtons = TDropDownStripButtons;
using TFooterButtons = TDropDownStripButtons;

// Settings of the strip above (header) or below (footer) the pop-up's control.
class TDropDownStripAppearance {
public:
    explicit TDropDownStripAppearance(bool footer);
    TDropDownStripAppearance(const TDropDownStripAppearance&) = delete;
    TDropDownStripAppearance& operator=(const TDropDownStripAppearance&) = delete;
    // Copies from the same kind (header or footer) only; another kind is ignored.
    void Assign(const TDropDownStripAppearance& Source);
    // Colours, font and gradient direction only.
    void AssignColors(const TDropDownStripAppearance& Source);
    bool IsFooter() const { return FFooter; }

    bool Visible() const { return FVisible; }
    void SetVisible(bool Value); // fires OnChange when it changes
    KT_PROPERTY(int, Height)
    KT_PROPERTY(int, BorderWidth)
    bool SizeGrip() const { return FSizeGrip; } // the footer's
    void SetSizeGrip(bool Value) { FSizeGrip = Value; }
    KT_PROPERTY(int, ImageIndex)
    KT_PROPERTY(QString, Caption)
    KT_PROPERTY(TColor, Color)
    KT_PROPERTY(TColor, ColorTo)
    KT_PROPERTY(TColor, BorderColor)
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    void SetFont(const TFont& Value) { FFont.Assign(Value); }
    KT_PROPERTY(TGradientDirection, GradientDirection)
    KT_PROPERTY(TButtonAlignment, ButtonAlignment)
    TDropDownStripButtons& Buttons() { return FButtons; }
    const TDropDownStripButtons& Buttons() const { return FButtons; }

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonsChanged;

private:
    bool FFooter;
    bool FVisible = true;
    int FHeight = 22;
    int FBorderWidth = 1;
    bool FSizeGrip = true;
    int FImageIndex = -1;
    QString FCaption;
    TColor FColorTo = 0xFFFFFF;
    TColor FColor = 0xC0C0C0;
    TColor FBorderColor = 0x000000;
    TFont FFont;
    TDropDownStripButtons FButtons;
    TGradientDirection FGradientDirection = gdVertical;
    TButtonAlignment FButtonAlignment = baRight;
};

class THeaderAppearance : public TDropDownStripAppearance {
public:
    THeaderAppearance() : TDropDownStripAppearance(false) {}
};

class TFooterAppearance : public TDropDownStripAppearance {
public:
    TFooterAppearance() : TDropDownStripAppearance(true) {}
};

// Colours of the header and footer buttons. Every write that changes a value fires OnChange.
class TAdvButtonAppearance {
public:
    TAdvButtonAppearance();
    TAdvButtonAppearance(const TAdvButtonAppearance&) = delete;
    TAdvButtonAppearance& operator=(const TAdvButtonAppearance&) = delete;
    // Copies the colours and the gradient (not the font).
    void Assign(const TAdvButtonAppearance& Source);
    // The fourteen colours a component style gives, through the writes.
    void SetColors(const TDropDownButtonAppearanceColors& Value);
    const TDropDownButtonAppearanceColors& Colors() const { return FColors; }
    TColor BorderColorDisabled() const { return FBorderColorDisabled; }
    void SetBorderColorDisabled(TColor Value);
    TGradientDirection Gradient() const { return FGradient; }
    void SetGradient(TGradientDirection Value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }

    TNotifyEvent OnChange;

private:
    TDropDownButtonAppearanceColors FColors;
    TColor FBorderColorDisabled = 0x808080;
    TGradientDirection FGradient = gdVertical;
    TFont FFont;
};

// ---- the drop-down button ----------------------------------------------------------------------

class TDropDownEditButton;

// The speed button inside the holder; it paints the arrow (or push-button) face.
class TAdvDropDownSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TAdvDropDownSpeedButton(TDropDownEditButton* AOwner);

    TButtonStyle ButtonStyle() const { return FButtonStyle; }
    void SetButtonStyle(TButtonStyle Value);
    bool Etched() const { return FEtched; }
    void SetEtched(bool Value);
    bool Focused() const { return FFocused; }
    void SetFocused(bool Value);
    bool Hot() const { return FHot; }
    bool Down() const { return FDown; }
    void SetUp() { FUp = true; }
    TBitmap& Glyph() { return FGlyph; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);

    void PaintTo(TCanvas& Canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TDropDownEditButton* FHolder;
    bool FEtched = false;
    bool FFocused = false;
    bool FHot = false;
    bool FUp = false;
    bool FDown = false;
    TButtonStyle FButtonStyle = bsDropDown;
    TBitmap FGlyph;
    QString FCaption;
};

// The windowed holder at the right edge of the edit; its width is always FBWidth.
class TDropDownEditButton : public QWidget {
    Q_OBJECT
public:
    explicit TDropDownEditButton(TAdvCustomDropDown* AOwner);

    TAdvDropDownSpeedButton* Button() const { return FButton; }
    TAdvCustomDropDown* Edit() const { return FEdit; }
    KT_PROPERTY(int, BWidth)
    // Places the holder; the width is forced to FBWidth and the speed button fills it.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetCaption(Value); }

    TDropDownButtonColors Colors;

    // A left-button release on the speed button.
    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TAdvCustomDropDown* FEdit;
    TAdvDropDownSpeedButton* FButton;
    QPointer<QWidget> FFocusControl;
    int FBWidth = 16;
};

// ---- the header and footer strips --------------------------------------------------------------

class TDropDownForm;

// A button of a header or footer, coloured by the drop-down's button appearance.
class TAdvButton : public QWidget {
    Q_OBJECT
public:
    explicit TAdvButton(QWidget* AOwner);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value) { FCaption = Value; update(); }
    void SetAppearance(TAdvButtonAppearance* Value) { FAppearance = Value; update(); }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    KT_PROPERTY(int, ImageIndex)
    KT_PROPERTY(int, ModalResult)
    void SetDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    KT_PROPERTY(int, Tag)
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    bool MouseInControl() const { return FMouseInControl; }
    // Width and height of caption or image, plus 8 and 4.
    void AdjustToContent();
    void DrawButton(TCanvas& Canvas);
    // A click: the pop-up's modal result, the closing results close the drop-down, then OnClick
    // (not for a click from the keyboard).
    void Click();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString FCaption;
    bool FDown = false;
    bool FMouseInControl = false;
    bool FMouseDownInControl = false;
    bool FDragging = false;
    bool FInternalClick = false;
    TAdvButtonStyle FStyle = tasButton;
    int FGroupIndex = 0;
    TAdvButtonAppearance* FAppearance = nullptr;
    TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FModalResult = 0;
    QPointer<TAdvCustomDropDown> FAdvDropDown;
    int FTag = 0;
};

// The strip above (header) or below (footer) the pop-up's control: background, border, image,
// marked-up caption, buttons and (footer) the size grip.
class TAdvDropDownStrip : public QWidget {
    Q_OBJECT
public:
    TAdvDropDownStrip(QWidget* AOwner, bool footer);

    // Links the strip and copies the drop-down's header (footer) settings into its own.
    void SetDropDown(TAdvCustomDropDown* Value);
    TAdvCustomDropDown* DropDown() const { return FAdvDropDown; }
    TDropDownStripAppearance& Appearance() { return *FAppearance; }
    TCustomImageList* Images() const { return FImages; }
    bool IsFooter() const { return FFooter; }
    // The drop-down's button items; nullptr when not linked.
    TDropDownStripButtons* Buttons() const;
    int ButtonCount() const { return int(FButtonList.size()); }
    TAdvButton* ButtonAt(int Index) const { return FButtonList.at(size_t(Index)); }

    void UpdateButtons();
    virtual void CreateButtons();
    virtual void ClearButtons();
    virtual void ArrangeButtons();
    virtual void RefreshButtons();
    TRect GetButtonArea() const;
    TRect GetCaptionLimit() const;
    bool HasSizeGrip() const;
    // True for a point of the footer's sizing corner.
    bool InSizingZone(int X, int Y) const;
    void PaintTo(TCanvas& Canvas);

    TDrawBackGroundEvent OnDrawBackGround;
    TGetTextEvent OnGetText;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void AppearanceChanged();
    void ButtonClick(QObject* Sender);
    void DrawSizeGrip(TCanvas& Canvas, const TRect& R);

    bool FFooter;
    std::unique_ptr<TDropDownStripAppearance> FAppearance;
    TCustomImageList* FImages = nullptr;
    QPointer<TAdvCustomDropDown> FAdvDropDown;
    std::vector<TAdvButton*> FButtonList;
    bool FSizing = false;
    QPoint FSizeStart;
    QSize FSizeStartSize;
};

class TAdvHeader : public TAdvDropDownStrip {
    Q_OBJECT
public:
    explicit TAdvHeader(QWidget* AOwner) : TAdvDropDownStrip(AOwner, false) {}
};

class TAdvFooter : public TAdvDropDownStrip {
    Q_OBJECT
public:
    explicit TAdvFooter(QWidget* AOwner) : TAdvDropDownStrip(AOwner, true) {}
};

// ---- the pop-up form ---------------------------------------------------------------------------

class TDropDownForm : public QWidget {
    Q_OBJECT
public:
    explicit TDropDownForm(QWidget* AOwner);
    ~TDropDownForm() override;

    KT_PROPERTY(bool, BlockActivate)
    uint32_t DeActivateTime() const { return FDeActivate; }
    QWidget* ScrollBox() const { return nullptr; }
    KT_PROPERTY(bool, Sizeable)
    KT_PROPERTY(bool, Shadow)
    TAdvHeader* Header() const { return FHeader; }
    TAdvFooter* Footer() const { return FFooter; }
    KT_PROPERTY(bool, CancelOnDeActivate)
    TAdvCustomDropDown* AdvDropDown() const { return FAdvDropDown; }
    void SetAdvDropDown(TAdvCustomDropDown* Value) { FAdvDropDown = Value; }
    // Set by footer buttons; the pop-up is not modal, so nothing waits for it.
    KT_PROPERTY(int, ModalResult)
    // Resizing from the bottom-right corner, as the size grip starts it.
    void BeginSizing(QPoint globalPos);
    void SizeTo(QPoint globalPos);
    void EndSizing() { FSizing = false; }

    // Creates or refreshes the header and footer for the drop-down's current settings.
    void InitializeAndUpdate();
    virtual void UpdateSize() {}
    // The client area inside the drop-down's frame.
    TRect AdjustedClientRect() const;
    // 17 (bottom-right sizing corner) for a point of the sizing grip, else 0.
    int HitTest(int X, int Y) const;
    // The activation left the pop-up for `other` (nullptr: another application); closes it
    // unless `other` lies inside the pop-up.
    void Deactivated(QWidget* other);
    void PaintBackground(TCanvas& Canvas);
    // Header at the top, footer at the bottom and the control in between, inside the frame.
    void LayoutChildren();

    TNotifyEvent OnSizing;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    std::function<void(Word& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(Word& Key, TShiftState Shift)> OnKeyUp;
    std::function<void(QChar& Key)> OnKeyPress;
    std::function<void(TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelDown;
    std::function<void(TShiftState Shift, TPoint MousePos, bool& Handled)> OnMouseWheelUp;

    // The key event last handed on by the pop-up's control, so that its propagation to the form
    // is not delivered twice.
    const QKeyEvent* FForwardedKey = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool ForwardToEdit(QMouseEvent* event);
    uint32_t FDeActivate = 0;
    bool FShadow = true;
    TAdvFooter* FFooter = nullptr;
    TAdvHeader* FHeader = nullptr;
    TAdvCustomDropDown* FAdvDropDown = nullptr;
    bool FSizeable = false;
    bool FCancelOnDeActivate = true;
    bool FBlockActivate = false;
    int FModalResult = 0;
    bool FSizing = false;
    QPoint FSizeStart;
    QSize FSizeStartSize;
};

// ---- the drop-down edit ------------------------------------------------------------------------

class TAdvCustomDropDown : public QLineEdit, public IOrlexStyle, public IOrlexTones {
    Q_OBJECT
public:
    explicit TAdvCustomDropDown(QWidget* AOwner = nullptr);
    ~TAdvCustomDropDown() override;

    // Second construction phase (the steps that call virtual operations); run once by New.
    virtual void Create();
    template <class T>
    static T* New(QWidget* AOwner = nullptr)
    {
        T* d = new T(AOwner);
        d->Create();
        return d;
    }

    // ---- public operations ----
    void ShowDropDown() { DoShowDropDown(); }
    void HideDropDown(bool CancelChanges) { DoHideDropDown(CancelChanges); }
    TOrlexStyle GetComponentStyle() const { return FOrlexStyle; }
    void SetComponentStyle(TOrlexStyle AStyle) override;
    void SetColorTones(const TColorTones& ATones) override;
    void SelectAll();
    void SelectBeforeDecimal();
    void SelectAfterDecimal();
    virtual void Assign(const TAdvCustomDropDown& Source);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual void Loaded();

    TDropDownEditButton* Button() const { return FButton; }
    bool DroppedDown() const { return FDroppedDown; }
    TDropDownForm* DropDownForm() const { return FDropDownForm; }

    // ---- properties ----
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    bool DisabledBorder() const { return FDisabledBorder; }
    void SetDisabledBorder(bool Value);
    KT_PROPERTY(TColor, FocusBorderColor)
    // The edit's background while enabled.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    KT_PROPERTY(TColor, DropDownColor)
    KT_PROPERTY(TColor, DropDownColorTo)
    KT_PROPERTY(TGradientDirection, DropDownGradient)
    KT_PROPERTY(TColor, DropDownBorderColor)
    KT_PROPERTY(int, DropDownBorderWidth)
    KT_PROPERTY(bool, DropDownShadow)
    KT_PROPERTY(TDropPosition, DropPosition)
    KT_PROPERTY(bool, DropDownSizeable)
    KT_PROPERTY(bool, DropDownEnabled)
    int DropDownWidth() const { return FDropDownWidth; }
    void SetDropDownWidth(int Value);
    int DropDownHeight() const { return FDropDownHeight; }
    void SetDropDownHeight(int Value);
    int UserDropDownWidth() const { return FUserDropDownWidth; }
    int UserDropDownHeight() const { return FUserDropDownHeight; }
    int DropDownButtonWidth() const { return FButtonWidth; }
    void SetDropDownButtonWidth(int Value);
    QString DropDownButtonHint() const { return FButtonHint; }
    void SetDropDownButtonHint(const QString& Value);
    TBitmap* DropDownButtonGlyph() const;
    void SetDropDownButtonGlyph(const TBitmap& Value);
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value) { FImages = Value; }
    QString Version() const;
    void SetVersion(const QString&) {}
    TAdvButtonAppearance& ButtonAppearance() { return *FButtonAppearance; }
    THeaderAppearance& DropDownHeader() { return *FDropDownHeader; }
    TFooterAppearance& DropDownFooter() { return *FDropDownFooter; }
    void SetButtonAppearance(const TAdvButtonAppearance& Value) { FButtonAppearance->Assign(Value); }
    void SetDropDownHeader(const THeaderAppearance& Value) { FDropDownHeader->Assign(Value); }
    void SetDropDownFooter(const TFooterAppearance& Value) { FDropDownFooter->Assign(Value); }
    QString LabelCaption() const;
    void SetLabelCaption(const QString& Value);
    TLabelPosition LabelPosition() const { return FLabelPosition; }
    void SetLabelPosition(TLabelPosition Value);
    int LabelMargin() const { return FLabelMargin; }
    void SetLabelMargin(int Value);
    bool LabelTransparent() const { return FLabelTransparent; }
    void SetLabelTransparent(bool Value);
    KT_PROPERTY(bool, LabelAlwaysEnabled)
    TFont& LabelFont() { return *FLabelFont; }
    void SetLabelFont(const TFont& Value);
    QLabel* Label() const { return FLabel; }
    KT_PROPERTY(TColor, SelectionColor)
    KT_PROPERTY(TColor, SelectionColorTo)
    TSelectionColorStyle SelectionColorStyle() const { return FSelectionColorStyle; }
    bool Flat() const { return FFlat; }
    bool Etched() const { return FEtched; }
    KT_PROPERTY(bool, FocusDraw)
    KT_PROPERTY(bool, ForceShadow)
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    QWidget* Control() const { return FControl; }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool Value);
    KT_PROPERTY(bool, AutoSelect)
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool Value);
    KT_PROPERTY(bool, ParentFont)
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value); // 0: no limit
    TRect GetEditRect() const { return FEditRect; }

    // ---- typed input ----
    QString Text() const;
    void SetEditText(const QString& Value); // the window text as it is
    TDropDownEditType EditType() const { return FEditType; }
    void SetEditType(TDropDownEditType Value);
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    double FloatValue() { return GetFloatValue(); }
    void SetFloatValue(double Value);
    void SetIntValue(int Value);
    bool IsModified() const { return FIsModified; }
    void SetModified(bool Value);
    KT_PROPERTY(QString, Prefix)
    KT_PROPERTY(QString, Suffix)
    int LengthLimit() const { return FLengthLimit; }
    void SetLengthLimit(int Value) { FLengthLimit = int16_t(Value); }
    KT_PROPERTY(bool, Signed)
    KT_PROPERTY(bool, ReturnIsTab)
    KT_PROPERTY(bool, AllowNumericNullValue)
    KT_PROPERTY(bool, DefaultHandling)
    KT_PROPERTY(bool, CanUndo)
    KT_PROPERTY(bool, ExcelStyleDecimalSeparator)
    KT_PROPERTY(QString, ValidChars)
    KT_PROPERTY(bool, AutoThousandSeparator)
    QString OldString() const { return FOldString; }
    QString OldText() const { return FOldText; }

    // Selection in window-text positions (0-based); a length of 0 puts the caret at start.
    int SelStart() const;
    int SelLength() const;
    void SetSel(int start, int length);

    // Clipboard commands (Ctrl+X, Ctrl+C, Ctrl+V and the context menu).
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();

    // The key messages the edit handles: the key-down part and the character part. The pop-up
    // and its control hand their keys on to these.
    virtual void PerformKeyDown(Word Key, TShiftState Shift);
    virtual void PerformChar(QChar Key, TShiftState Shift, bool keypadDecimal = false);

    // ---- events ----
    TNotifyEvent OnBeforeDropDown;
    TDropDownEvent OnDropDown;
    TDropUpEvent OnDropUp;
    TNotifyEvent OnBeforeDropUp;
    TDropDownButtonItemClick OnDropDownHeaderButtonClick;
    TDropDownButtonItemClick OnDropDownFooterButtonClick;
    TDrawBackGroundEvent OnDrawHeader;
    TDrawBackGroundEvent OnDrawFooter;
    TGetTextEvent OnGetHeaderText;
    TGetTextEvent OnGetFooterText;
    TNotifyEvent OnLabelClick;
    TNotifyEvent OnLabelDblClick;
    TClipboardEvent OnClipboardCopy;
    TClipboardEvent OnClipboardPaste;
    TClipboardEvent OnClipboardCut;
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    std::function<void(QObject* Sender, QChar& Key)> OnKeyPress;
    std::function<void(QObject* Sender, Word& Key, TShiftState Shift)> OnKeyDown;

    // ---- virtual operations ----
    virtual void DoLabelClick();
    virtual void DoLabelDblClick();
    virtual int GetVersionNr() { return 0x01020304; }
    virtual void CreateDropDownForm();
    virtual void CreateDropDownButton();
    virtual void UpdateDropDownButton();
    virtual void BeforeDropDown();
    virtual void AdjustDropDownHeight(int& Height) { (void)Height; }
    virtual void FocusDropDownControl();
    virtual void DoShowDropDown();
    virtual void SetupDropDownControl();
    virtual void UpdateDropDownSize();
    virtual void DoHideDropDown(bool Cancelled);
    virtual void DropDownClosed();
    virtual void DropDownFormDestroyed() {}
    virtual void WheelSelectNext(TShiftState Shift, TPoint MousePos, bool& Handled);
    virtual void WheelSelectPrevious(TShiftState Shift, TPoint MousePos, bool& Handled);
    virtual void FormKeyPress(QChar& Key);
    virtual void FormKeyDown(Word& Key, TShiftState Shift);
    virtual void FormKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyDown(Word& Key, TShiftState Shift);
    virtual void ControlKeyUp(Word& Key, TShiftState Shift);
    virtual void ControlKeyPress(QChar& Key);
    virtual void PrepareDropDownContent() {}
    virtual void SelectNextValue() {}
    virtual void SelectPreviousValue() {}
    virtual void DrawFocusedText(TCanvas& Canvas);
    virtual void SetEditRect();
    virtual void AdjustHeight();
    virtual void SetText(const QString& Value);
    virtual void SetSelectionColorStyle(TSelectionColorStyle Value);
    virtual void DrawSelectionBackground(TCanvas& Canvas, const TRect& R, TColor BackgroundColor, int Shape);
    virtual void DrawGradient(TCanvas& Canvas, TColor FromColor, TColor ToColor, int Steps, const TRect& R,
                              bool Vertical);

    // The frame as it is painted over the edit (also used by the grab tests).
    void DrawControlBorder(TCanvas& Canvas);
    // Milliseconds that must pass after the pop-up lost the activation before a button click
    // opens it again.
    static constexpr uint32_t ReopenGuard = 250;
    // The button's click: opens the pop-up unless it was closed just now.
    void ShowFromClick();
    // The text height the edit needs for its font.
    int GetTextHeight() const;
    int ClientWidth() const { return width() - 2 * FrameWidth(); }
    int ClientHeight() const { return height() - 2 * FrameWidth(); }

protected:
    // Hands over the control the pop-up shows.
    void SetControl(QWidget* Value);
    // Makes the pop-up and, the first time, the descendant's control on it (First finishes a new
    // one); the control, nullptr when there is no pop-up.
    template <class TPointer, class TFirst>
    auto CreateDropDownControl(TPointer& Control, TFirst&& First)
    {
        using TControl = std::remove_reference_t<decltype(*Control)>;
        TAdvCustomDropDown::CreateDropDownForm();
        if (!DropDownForm())
            return static_cast<TControl*>(nullptr);
        if (!Control) {
            auto* created = new TControl(DropDownForm());
            Control = created;
            First(*created);
        }
        return static_cast<TControl*>(Control);
    }
    // Renews the value a cancelled close restores (for descendants whose pop-up work should
    // survive Escape).
    void SetOldText(const QString& Value) { FOldText = Value; }
    // Colours an item appearance of the item pickers for a component style; nothing for nullptr
    // and for tsCustom.
    void ApplyItemAppearanceStyle(TItemAppearance* Appearance, TOrlexStyle AStyle);
    // Keys of the masked edit itself (navigation, editing); called as the inherited step.
    virtual void HandleKeyDown(Word& Key, TShiftState Shift);
    virtual void HandleKeyPress(QChar& Key);
    // Enter moves on like Tab: the closed edit then keeps Enter from the window's default button.
    virtual bool EnterActsAsTab() const { return FReturnIsTab; }
    // The text changed (not for a change the typed-input layer swallows): fires OnChange.
    virtual void HandleChange();
    // The focus came into the edit from elsewhere / left it for elsewhere. Opening and closing
    // its own pop-up, and the window losing or regaining the activation, count as neither.
    virtual void DoEnter();
    virtual void DoExit();
    // A left press on the edit is held (a drag begun on the edit, which the open pop-up hands on).
    bool EditMouseDown() const { return FEditMouseDown; }
    int FrameWidth() const;
    // The value: the window text without prefix and suffix.
    QString Value() const { return Text(); }
    double GetFloatValue();
    void FormatMoney();

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;


private:
    friend class TDropDownForm;
    void HeaderChanged();
    void FooterChanged();
    void CreateLabel();
    void UpdateLabelPosition();
    void DrawBorder(TCanvas& Canvas);
    bool IsHotOrFocused() const;
    void InsertChar(QChar ch);
    void TypeStep(QChar Key, TShiftState Shift);
    void ToggleSign(bool wholeSelected);
    int IntegerPartLength(const QString& value) const;
    int DecimalPosition() const;
    bool DecimalsFull(const QString& value, int caret) const;
    bool ThousandSeparatorMisplaced(const QString& value, int caret) const;
    double TextToFloat(const QString& S) const;
    void SetWindowText(const QString& text);

    QPointer<QLabel> FLabel;
    bool FParentFnt = false;
    int FDropDownWidth = 0;
    int FDropDownHeight = 0;
    int FUserDropDownWidth = -1;
    int FUserDropDownHeight = -1;
    bool FEditorEnabled = true;
    TDropPosition FDropPosition = dpAuto;
    bool FFlat = false;
    TCustomImageList* FImages = nullptr;
    bool FDropDownShadow = true;
    int FDropDownBorderWidth = 1;
    QString FButtonHint;
    TColor FDropDownColorTo = clNone;
    TColor FDropDownColor = clWhite;
    TColor FDropDownBorderColor = 0;
    int FButtonWidth = 17;
    bool FMouseInControl = false;
    bool FEtched = false;
    QPointer<QWidget> FFocusControl;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TAdvButtonAppearance> FButtonAppearance;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    QPointer<QWidget> FControl;
    TGradientDirection FDropDownGradient = gdHorizontal;
    bool FDropDownSizeable = true;
    TColor FSelectionColor = clNone;
    TColor FSelectionColorTo = clNone;
    TSelectionColorStyle FSelectionColorStyle = scOffice2007;
    TDropDownEditType FEditType = etString;
    int16_t FLengthLimit = 0;
    int16_t FPrecision = 0;
    QString FPrefix;
    QString FSuffix;
    QString FOldString;
    bool FSigned = false;
    bool FReturnIsTab = false;
    bool FIsWinXP = false;
    bool FIsThemed = false;
    bool FBlockChange = false;
    bool FAllowNumericNullValue = false;
    bool FDefaultHandling = true;
    bool FCanUndo = true;
    bool FExcelStyleDecimalSeparator = false;
    QString FValidChars;
    bool FBlockCopy = false;
    bool FButtonDown = false;
    bool FAutoThousandSeparator = true;
    bool FIsModified = false;
    TRect FEditRect;
    bool FDropDownEnabled = false;
    bool FDroppedDown = false;
    bool FFocusDraw = true;
    bool FForceShadow = false;
    TOrlexStyle FOrlexStyle = tsOffice2007Luna;
    int FLabelMargin = 0;
    TLabelPosition FLabelPosition = lpLeftTop;
    bool FLabelAlwaysEnabled = false;
    bool FLabelTransparent = false;
    std::unique_ptr<TFont> FLabelFont;
    TColor FBorderColor = clNone;
    TColor FFocusBorderColor = clNone;
    TColor FColor = clWindow;
    bool FDisabledBorder = true;
    TDropDownForm* FDropDownForm = nullptr;
    TDropDownEditButton* FButton = nullptr;
    QString FOldText;

    // Settings of the edit window itself.
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    bool FParentFont = false;
    int FMaxLength = 0;
    bool FLoading = false;
    bool FCreated = false;
    bool FDestroying = false;
    int FChangeCount = 0; // change notifications delivered
    bool FEditMouseDown = false;
};

// ---- screens, as the pop-up's placement sees them -----------------------------------------------

struct TDropDownScreen {
    QRect Geometry;  // the whole monitor
    QRect WorkArea;  // without task bars and docks
};
// The monitors, the primary one first; by default the application's screens. Tests install
// their own layout (nullptr goes back to the default).
using TDropDownScreenQuery = std::function<std::vector<TDropDownScreen>()>;
void SetDropDownScreenQuery(TDropDownScreenQuery query);
std::vector<TDropDownScreen> DropDownScreens();
