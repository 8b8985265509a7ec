#pragma once
// What the grid's editor controls share. The colours of a button face, the events of a typed
// control, the caption label beside a box; the button face with a glyph (TAsgGlyphButton) and the
// control that holds such faces and hands the focus on (TAsgButtonControl); and TAsgButtonEdit, the
// single-line edit with a button control at its right edge that the edit-with-button and the spin
// edit stand on. Each control keeps its own behaviour through the few virtual steps declared here.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

using TNotifyEvent = std::function<void(QObject* sender)>;

#ifndef KT_TBORDERSTYLE_DEFINED
#define KT_TBORDERSTYLE_DEFINED
enum TBorderStyle { bsNone, bsSingle };
#endif

namespace AsgCombo {

// The caption-label places of the combo and the date pickers. Kept in their own scope: the
// drop-down edit has a longer list of its own under the same name.
enum TLabelPosition {
    lpLeftTop, lpLeftCenter, lpLeftBottom, lpTopLeft, lpBottomLeft, lpLeftTopLeft, lpLeftCenterLeft,
    lpLeftBottomLeft, lpTopCenter, lpBottomCenter, lpRightTop, lpRightCenter, lpRighBottom
};

// Fills (frames) r with color; clNone paints nothing.
void FillColor(TCanvas& canvas, const TRect& r, TColor color);
void FrameColor(TCanvas& canvas, const TRect& r, TColor color);
// The border of a box with a drop-down button when no border colour is set: raised (Look3D, a
// sunken edge in face colour round the Inner colour) or flat (Outer round the box and round the
// text part left of ButtonWidth, then Inner). R ends inside what was framed.
void FrameBoxBorder(TCanvas& canvas, TRect& r, bool look3D, TColor outer, TColor inner, int buttonWidth);

} // namespace AsgCombo

// The colours of a button's face and text, normal, hot and down, and of its border.
// ButtonTextColorHot is kept but not drawn.
class TAsgButtonColors {
public:
    virtual ~TAsgButtonColors() = default;

    KT_PROPERTY_NOTIFY(TColor, ButtonColor, ButtonColorChanged)
    KT_PROPERTY(TColor, ButtonColorHot)
    KT_PROPERTY(TColor, ButtonColorDown)
    KT_PROPERTY(TColor, ButtonBorderColor)
    KT_PROPERTY(TColor, ButtonTextColor)
    KT_PROPERTY(TColor, ButtonTextColorHot)
    KT_PROPERTY(TColor, ButtonTextColorDown)

    // A face in the button colour (down, hot or normal, none when that one is clNone); false,
    // painting nothing, while no button colour is set.
    bool PaintColoredFace(TCanvas& Canvas, const TRect& R, bool Down, bool Hot) const;
    // The coloured drop-down button of the combo and the date picker: the fill in the hot or down
    // colour while the pointer is over it, the border line at its left and the arrow ArrowInset
    // pixels in from At.
    void PaintColoredDropButton(TCanvas& Canvas, const TRect& Fill, const TRect& At, int ArrowInset, bool Hover,
                                bool MouseDown) const;

protected:
    // The face colour was written (the button repaints).
    virtual void ButtonColorChanged() {}

    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

// The state of the drop-down button in the visual styles' combo-box part.
int DropButtonThemeState(bool Enabled, bool MouseDown, bool Hover, bool DroppedDown);

// The events of a typed control.
struct TAsgEditEvents {
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    std::function<void(QObject* sender, Word& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* sender, QChar& Key)> OnKeyPress;
};

// The caption label beside a box: its text, place, margin, look and font. The box places it.
class TAsgCaptionLabel {
public:
    virtual ~TAsgCaptionLabel() = default;

    QString LabelCaption() const { return FLabel ? FLabel->text() : QString(); }
    KT_PROPERTY_NOTIFY(AsgCombo::TLabelPosition, LabelPosition, UpdateLabel)
    KT_PROPERTY_NOTIFY(int, LabelMargin, UpdateLabel)
    KT_PROPERTY_NOTIFY(bool, LabelTransparent, UpdateLabel)
    bool LabelAlwaysEnabled() const { return FLabelAlwaysEnabled; }
    TFont& LabelFont() { return *FLabelFont; }
    // The font's change handler places the label again.
    void SetLabelFont(const TFont& Value) { FLabelFont->Assign(Value); }
    KT_PROPERTY(bool, FocusLabel)

protected:
    // Places and shows the label beside the box.
    virtual void UpdateLabel() {}

    QPointer<QLabel> FLabel;
    std::unique_ptr<TFont> FLabelFont;
    AsgCombo::TLabelPosition FLabelPosition = AsgCombo::lpLeftTop;
    int FLabelMargin = 4;
    bool FLabelTransparent = false;
    bool FLabelAlwaysEnabled = false;
    bool FFocusLabel = false;
};

// A push face with a glyph of NumGlyphs frames side by side; it tracks the pointer (Hot) and the
// left button (Down).
class TAsgGlyphButton : public QWidget {
    Q_OBJECT
public:
    explicit TAsgGlyphButton(QWidget* AOwner = nullptr);

    KT_PROPERTY_NOTIFY(bool, IsWinXP, update)
    KT_PROPERTY_NOTIFY(bool, Flat, update)
    bool Hot() const { return FHot; }
    bool Down() const { return FDown; }
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);

protected:
    // Draws frame Index of the glyph centred, Shift pixels down and right; the frame's transparent
    // colour is the glyph's own or (KeyFromCorner) the frame's bottom-left pixel. False without a
    // glyph.
    bool DrawGlyph(TCanvas& Canvas, int Index, int Shift, bool KeyFromCorner) const;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
    bool FDown = false;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
};

// The windowed holder of an edit's button faces. A press on a face takes the focus to the focus
// control (else, when it is a tab stop, to the holder).
class TAsgButtonControl : public QWidget, public TAsgButtonColors {
    Q_OBJECT
public:
    explicit TAsgButtonControl(QWidget* AOwner = nullptr);

    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool Value) { setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus); }

protected:
    // Moves the focus after a press on a face.
    void TakeFocus();

private:
    QPointer<QWidget> FFocusControl;
};

// A single-line edit with a button control at its right edge: the frame, the text rectangle left
// of the button, the least height, the usual edit properties, and the key and focus plumbing.
class TAsgButtonEdit : public QLineEdit, public TAsgEditEvents {
    Q_OBJECT
public:
    explicit TAsgButtonEdit(QWidget* AOwner = nullptr);
    ~TAsgButtonEdit() override;

    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }
    KT_PROPERTY(bool, EditorEnabled)
    bool IsWinXP() const { return FIsWinXP; }

    // The usual edit properties.
    KT_PROPERTY(bool, AutoSelect)
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

    // The least height the edit may have.
    int GetMinHeight() const;
    // The text rectangle, in client coordinates.
    virtual TRect EditRect() const = 0;
    // Paints the frame and background (what the edit shows behind its text).
    void PaintTo(TCanvas& Canvas);

protected:
    // Takes the button control in and sizes and lays out the edit (the control's constructor,
    // once its button is made).
    void SetButtonControl(QWidget* Value);

    // Key steps, as a key arrives: key-down, then its character. A handler that zeroes the key
    // keeps it from the edit's own handling.
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    // A key the control takes before the key steps (true: taken).
    virtual bool TakeKey(QKeyEvent*) { return false; }
    // The key-down step turned Key into After and nothing more of the key is done.
    virtual bool KeyEndsAfterKeyDown(Word, Word) const { return false; }
    // The character the key types, before the character step.
    virtual void MapTypedChar(QKeyEvent*, QChar&) {}
    // Modifiers of a key whose character a handler changed.
    virtual Qt::KeyboardModifiers ChangedCharModifiers(Qt::KeyboardModifiers Modifiers) const { return Modifiers; }
    // A typed character (backspace too) is kept from the text before a handler's change is typed.
    virtual bool TypingBlocked(QChar Ch) const;
    // What the least height adds to the font's.
    virtual int MinHeightExtra() const { return 0; }
    // The focus came in by a left press: the text is selected all the same.
    virtual bool SelectsOnMouseEntry() const { return false; }
    // The focus left, before OnExit.
    virtual void BeforeExit() {}
    // Paints over the edit after its own painting.
    virtual void PaintOver(TCanvas&) {}

    int BorderWidth() const;
    int ClientWidth() const { return width() - 2 * BorderWidth(); }
    int ClientHeight() const { return height() - 2 * BorderWidth(); }
    void SetEditRect();
    void PlaceButton();
    bool ClipboardEditAllowed() const { return FEditorEnabled && !isReadOnly(); }

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool FIsWinXP = false;
    bool FEditorEnabled = true;

private:
    QWidget* FButtonControl = nullptr;
    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TColor FColor = clWindow;
    int FMaxLength = 0;
};
