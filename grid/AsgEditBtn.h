#pragma once
// TAsgEditBtn: a single-line edit with a small push button inside its right edge; the button or
// F4 fires OnClickBtn. TAsgUnitEditBtn adds a unit shown right of the text, chosen from a list
// through the button's popup menu; TextAndUnit joins and splits number and unit. The grid's
// edit-with-button and unit cell editors derive from them.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/Picture.h"
#include "platform/StringList.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include <QMenu>

using TNotifyEvent = std::function<void(QObject* sender)>;
using TUnitChangeEvent = std::function<void(QObject* Sender, const QString& NewUnit)>;

#ifndef KT_TBORDERSTYLE_DEFINED
#define KT_TBORDERSTYLE_DEFINED
enum TBorderStyle { bsNone, bsSingle };
#endif

class TAsgEditButton;

// The push button face inside the button control.
class TAdvSpeedButton : public QWidget {
    Q_OBJECT
public:
    explicit TAdvSpeedButton(QWidget* AOwner = nullptr);

    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Hot() const { return FHot; }
    bool Down() const { return FDown; }
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& Value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);

    // Paints the face onto a canvas of the button's size.
    void PaintTo(TCanvas& Canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TAsgEditButton* ButtonOwner() const;
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
    bool FDown = false;
    TBitmap FGlyph;
    int FNumGlyphs = 1;
    QString FCaption;
};

// The button control: one speed button that always fills it.
class TAsgEditButton : public QWidget {
    Q_OBJECT
public:
    explicit TAsgEditButton(QWidget* AOwner = nullptr);

    TAdvSpeedButton* Button() const { return FButton; }
    const TBitmap& Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& Value) { FButton->SetGlyph(Value); }
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int Value) { FButton->SetNumGlyphs(Value); }
    QString ButtonCaption() const { return FButton->Caption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetCaption(Value); }
    QWidget* FocusControl() const { return FFocusControl; }
    void SetFocusControl(QWidget* Value) { FFocusControl = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
    void SetTabStop(bool Value) { setFocusPolicy(Value ? Qt::StrongFocus : Qt::NoFocus); }
    bool Loading() const { return FLoading; }
    void SetLoading(bool Value);

    TColor ButtonColor() const { return FButtonColor; }
    void SetButtonColor(TColor Value) { FButtonColor = Value; FButton->update(); }
    TColor ButtonColorHot() const { return FButtonColorHot; }
    void SetButtonColorHot(TColor Value) { FButtonColorHot = Value; }
    TColor ButtonColorDown() const { return FButtonColorDown; }
    void SetButtonColorDown(TColor Value) { FButtonColorDown = Value; }
    TColor ButtonBorderColor() const { return FButtonBorderColor; }
    void SetButtonBorderColor(TColor Value) { FButtonBorderColor = Value; }
    TColor ButtonTextColor() const { return FButtonTextColor; }
    void SetButtonTextColor(TColor Value) { FButtonTextColor = Value; }
    TColor ButtonTextColorHot() const { return FButtonTextColorHot; }
    void SetButtonTextColorHot(TColor Value) { FButtonTextColorHot = Value; }
    TColor ButtonTextColorDown() const { return FButtonTextColorDown; }
    void SetButtonTextColorDown(TColor Value) { FButtonTextColorDown = Value; }

    // A press released over the speed button: OnClick, then the focus moves.
    void Press();

    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TAdvSpeedButton* FButton;
    QPointer<QWidget> FFocusControl;
    bool FFlat = false;
    bool FLoading = false;
    TColor FButtonColorDown = clNone;
    TColor FButtonBorderColor = clNone;
    TColor FButtonTextColor = clNone;
    TColor FButtonTextColorHot = clNone;
    TColor FButtonColor = clNone;
    TColor FButtonColorHot = clNone;
    TColor FButtonTextColorDown = clNone;
};

class TAsgEditBtn : public QLineEdit {
    Q_OBJECT
public:
    explicit TAsgEditBtn(QWidget* AOwner = nullptr);
    ~TAsgEditBtn() override;

    QString Text() const { return text(); }
    void SetText(const QString& Value) { setText(Value); }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    bool RightAlign() const { return FRightAlign; }
    void SetRightAlign(bool Value);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int Value);
    QString ButtonCaption() const { return FButton->ButtonCaption(); }
    void SetButtonCaption(const QString& Value) { FButton->SetButtonCaption(Value); }
    const TBitmap& Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const TBitmap& Value) { FButton->SetGlyph(Value); }
    bool IsWinXP() const { return FIsWinXP; }
    void SetIsWinXP(bool Value);
    TAsgEditButton* Button() const { return FButton; }

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

    // The button click; sender is the button control after a mouse press, the edit after F4.
    virtual void BtnClick(QObject* Sender);

    // The least height the edit may have.
    int GetMinHeight() const;
    // The text rectangle, in client coordinates.
    TRect EditRect() const;
    // Paints the frame and background (what the edit shows behind its text).
    void PaintTo(TCanvas& Canvas);

    TNotifyEvent OnClickBtn;
    TNotifyEvent OnChange;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    std::function<void(QObject* sender, Word& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* sender, QChar& Key)> OnKeyPress;

protected:
    virtual void KeyDown(Word& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    // Paints over the edit after its own painting (the unit edit's unit text).
    virtual void PaintOver(TCanvas& Canvas);
    int BorderWidth() const;
    int ClientWidth() const { return width() - 2 * BorderWidth(); }
    int ClientHeight() const { return height() - 2 * BorderWidth(); }
    void SetEditRect();

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

    int FUnitSize = 0;

private:
    void PlaceButton();
    bool ClipboardEditAllowed() const { return FEditorEnabled && !isReadOnly(); }

    bool FRightAlign = false;
    TAsgEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    int FButtonWidth = 18;
    bool FIsWinXP = false;

    bool FAutoSelect = true;
    TBorderStyle FBorderStyle = bsSingle;
    bool FCtl3D = true;
    TColor FColor = clWindow;
    int FMaxLength = 0;
};

class TAsgUnitEditBtn : public TAsgEditBtn {
    Q_OBJECT
public:
    explicit TAsgUnitEditBtn(QWidget* AOwner = nullptr);
    ~TAsgUnitEditBtn() override;

    const platform::TStringList& Units() const { return FUnits; }
    void SetUnits(const platform::TStringList* Value); // copies; none does nothing
    void SetUnits(const QStringList& Value);
    QString UnitID() const { return FUnitID; }
    void SetUnitID(const QString& Value);
    int UnitSpace() const { return FUnitSize; }
    void SetUnitSpace(int Value);
    // The text followed by the unit; writing splits off the first unit the value ends with.
    QString TextAndUnit() const;
    void SetTextAndUnit(const QString& Value);

    void BtnClick(QObject* Sender) override;
    // A command of the unit menu: identifiers 1..count pick a unit, others are ignored.
    void UnitMenuCommand(int ID);
    // The unit menu while it is open (null otherwise).
    QMenu* UnitMenu() const { return FMenu; }

    TUnitChangeEvent OnUnitChanged;

protected:
    void PaintOver(TCanvas& Canvas) override;

private:
    QString FUnitID;
    platform::TStringList FUnits;
    QPointer<QMenu> FMenu;
};
