#pragma once
// TAdvGridButton: the owner-drawn push button of the grid's search panel (find next, find
// previous, highlight), with flat gradient looks, a glyph in several states, check and group
// behaviour and an optional drop-down part.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class QMenu;

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
enum TAdvGridButtonStyle { tasButton, tasCheck };

// Fills R with Steps colour bands from FromColor to ToColor (left to right when Horizontal, else
// top to bottom), then frames it in BorderColor unless that is clNone.
void DrawButtonGradient(TCanvas& Canvas, TColor FromColor, TColor ToColor, bool Horizontal, const TRect& R,
                        int Steps, TColor BorderColor);
// The colour scheme of the active visual style: 1 NormalColor, 2 HomeStead, 3 Metallic, else 0.
int CurrentXPColorScheme();
bool IsThemedDrawingActive();

class TAdvGridButton : public QWidget {
public:
    explicit TAdvGridButton(QWidget* AOwner = nullptr);
    ~TAdvGridButton() override;
    // The pass after the button is set up: rebuilds the shade glyph and adapts the colours.
    virtual void Loaded();
    virtual void Click();
    virtual void Paint(TCanvas& ACanvas);
    virtual void MouseDown(Qt::MouseButton Button, int X, int Y);
    virtual void MouseMove(int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, int X, int Y);
    // The mouse entered or left the button (hot tracking).
    void CMMouseEnter();
    void CMMouseLeave();
    // Another button of the parent went down in group GroupIndex.
    void ButtonPressed(int Group, TAdvGridButton* Sender);
    void SetLook(int Look);

    KT_PROPERTY_NOTIFY(QString, Caption, update)
    TFont& Font() { return FFont; }
    KT_PROPERTY_NOTIFY(TColor, Color, update)
#define KT_BTN_COLOR(Name)                                                                                            \
    TColor Name() const { return F##Name; }                                                                          \
    void Set##Name(TColor Value)                                                                                     \
    {                                                                                                                \
        F##Name = Value;                                                                                             \
        update();                                                                                                    \
    }
    KT_BTN_COLOR(ColorTo)
    KT_BTN_COLOR(ColorHot)
    KT_BTN_COLOR(ColorHotTo)
    KT_BTN_COLOR(ColorDown)
    KT_BTN_COLOR(ColorDownTo)
    KT_BTN_COLOR(ColorChecked)
    KT_BTN_COLOR(ColorCheckedTo)
    KT_BTN_COLOR(BorderColor)
    KT_BTN_COLOR(BorderDownColor)
    KT_BTN_COLOR(BorderHotColor)
#undef KT_BTN_COLOR
    KT_PROPERTY_CHANGE(bool, Flat, update)
    bool Shaded() const { return FShaded; }
    void SetShaded(bool Value);
    KT_PROPERTY_CHANGE(bool, ShowCaption, update)
    KT_PROPERTY_CHANGE(int, Spacing, update)
    int Margin() const { return FMargin; }
    void SetMargin(int Value);
    KT_PROPERTY_CHANGE(TButtonLayout, Layout, update)
    KT_PROPERTY_NOTIFY(TAdvGridButtonStyle, Style, update)
    KT_PROPERTY_NOTIFY(bool, Rounded, update)
    KT_PROPERTY_NOTIFY(bool, DropDownButton, update)
    KT_PROPERTY_CHANGE(int, GroupIndex, UpdateExclusive)
    KT_PROPERTY_CHANGE(bool, AllowAllUp, UpdateExclusive)
    bool Down() const { return FDown; }
    void SetDown(bool Value);
    TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(const TBitmap& Value);
    TBitmap& GlyphHot() { return FGlyphHot; }
    void SetGlyphHot(const TBitmap& Value) { FGlyphHot.Assign(Value); }
    TBitmap& GlyphDown() { return FGlyphDown; }
    void SetGlyphDown(const TBitmap& Value) { FGlyphDown.Assign(Value); }
    TBitmap& GlyphDisabled() { return FGlyphDisabled; }
    void SetGlyphDisabled(const TBitmap& Value) { FGlyphDisabled.Assign(Value); }
    const TBitmap& GlyphShade() const { return FGlyphShade; }
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    KT_PROPERTY(bool, AutoXPStyle)
    QMenu* DropDownMenu() const { return FDropDownMenu; }
    void SetDropDownMenu(QMenu* Value);
    TButtonState State() const { return FState; }
    bool MouseInControl() const { return FMouseInControl; }
    int Look() const { return FLook; }

    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender)> OnDropDown;
    std::function<void(QObject* Sender)> OnMouseEnter;
    std::function<void(QObject* Sender)> OnMouseLeave;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateExclusive();
    void UpdateTracking();
    void BuildShade();
    void DrawButtonContent(TCanvas& ACanvas, TRect R, TPoint Offset, TButtonState AState);

    bool FIsComCtl6 = true;
    int FGroupIndex = 0;
    TBitmap FGlyph;
    bool FDown = false;
    bool FDragging = false;
    bool FAllowAllUp = false;
    TButtonLayout FLayout = blGlyphLeft;
    int FSpacing = 4;
    [[maybe_unused]] bool FTransparent = true;
    int FMargin = -1;
    bool FFlat = true;
    bool FMouseInControl = false;
    TColor FColorTo = clNone;
    TColor FColorHot = 0xCAC7C7;
    TColor FColorHotTo = clNone;
    TColor FColorDown = 0xD8D2D2;
    TColor FColorDownTo = clNone;
    TColor FBorderColor = clNone;
    TColor FBorderDownColor = clNone;
    TColor FBorderHotColor = clNone;
    TBitmap FGlyphDisabled;
    TBitmap FGlyphHot;
    TBitmap FGlyphDown;
    TBitmap FGlyphShade;
    bool FShaded = true;
    TColor FColorChecked = 0x808080;
    TColor FColorCheckedTo = clNone;
    TAdvGridButtonStyle FStyle = tasButton;
    int FLook = 0;
    bool FRounded = false;
    bool FDropDownButton = false;
    bool FAutoThemeAdapt = false;
    bool FAutoXPStyle = false;
    QMenu* FDropDownMenu = nullptr;
    bool FShowCaption = true;
    TButtonState FState = bsUp;

    QString FCaption;
    TFont FFont;
    TColor FColor = clBtnFace;
    bool FLoading = true;
};
