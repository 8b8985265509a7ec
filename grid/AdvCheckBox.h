#pragma once
// TAdvCheckBox: the owner-drawn check box of the grid's search panel (match case and the like).
// It raises its click itself, after the toggle, on a release over the control or on Space.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "grid/GridSettings.h"
#include "platform/Property.h"

#include <QString>
#include <QWidget>
#include <functional>

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TAdvCheckBox : public QWidget {
public:
    explicit TAdvCheckBox(QWidget* AOwner = nullptr);
    ~TAdvCheckBox() override;

    virtual void Toggle();
    virtual void Click();
    virtual void Paint(TCanvas& ACanvas);
    virtual void MouseDown(Qt::MouseButton Button, int X, int Y);
    virtual void MouseMove(int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, int X, int Y);
    virtual void KeyDown(int Key);
    virtual void KeyUp(int Key);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);

    KT_PROPERTY_CHANGE(TAlignment, Alignment, update)
    TTextLayout ButtonVertAlign() const { return FBtnVAlign; }
    void SetButtonVertAlign(TTextLayout Value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& Value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool Value);
    KT_PROPERTY_CHANGE(bool, Ellipsis, update)
    KT_PROPERTY(bool, ReadOnly)
    KT_PROPERTY(bool, ReturnIsTab)
    KT_PROPERTY_CHANGE(TCheckBoxState, State, InvalidateBox)
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TFont& Font() { return FFont; }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value)
    {
        FColor = Value;
        update();
    }
    // The box is shown pressed.
    bool IsDown() const { return FDown; }

    std::function<void(QObject* Sender)> OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void InvalidateBox();

    bool FDown = false;
    TCheckBoxState FState = cbUnchecked;
    bool FFocused = false;
    bool FReturnIsTab = false;
    TTextLayout FBtnVAlign = tlTop;
    TAlignment FAlignment = taLeftJustify;
    bool FEllipsis = false;
    QString FCaption = QStringLiteral("TAdvCheckBox");
    bool FIsWinXP = false;
    bool FHot = false;
    [[maybe_unused]] bool FClicksDisabled = false;
    bool FReadOnly = false;
    bool FMouseDown = false;
    TBitmap FBkgBmp;
    [[maybe_unused]] bool FBkgCache = false;
    [[maybe_unused]] bool FTransparentCaching = false;
    bool FTransparent = false;

    TFont FFont;
    TColor FColor = clBtnFace;
};
