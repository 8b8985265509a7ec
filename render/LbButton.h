#pragma once
// TLbButton: the owner-drawn push button of every dialog. It keeps its own pressed and hot
// state, draws its face off screen in one of six styles, blends towards a hot-track colour while
// the pointer is over it and, with SlowDecease, lets that colour fade out after the pointer left.
#include "platform/Canvas.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Services.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QTimer;

#ifndef KT_TALIGNMENT_DEFINED
#define KT_TALIGNMENT_DEFINED
// Horizontal alignment of a text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
#endif

enum TLbButtonStyle { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };
enum TLbColorStyle {
    lcsCustom, lcsGold, lcsChrome, lcsBlue, lcsRed, lcsUltraFlat1, lcsUltraFlat2, lcsUltraFlatXP,
    lcsAqua, lcsDefault, lcsQuicken
};
enum TLbButtonKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TLbButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

using TNotifyEvent = std::function<void(QObject* sender)>;

// ---- face drawing (stateless) ----

// The key colour of the transparent styles: pixels of this colour let the parent show through.
constexpr TColor LbKeyColor = 0xFF00FF;

// Colour blended from `color` towards `hotTrackColor` by step eighths (0..8), channels truncated.
TColor BlendHotTrackColor(TColor color, TColor hotTrackColor, int step);
// 32 horizontal bands from `from` to `to` over (left, top, right, bottom); the pen style is kept.
void DrawLbGradient(TCanvas& canvas, TColor from, TColor to, int left, int top, int right, int bottom);
// One frame (index) of a strip of numGlyphs frames, drawn transparently at (x, y); an index past
// the strip draws the first frame.
void DrawTransparentGlyph(TCanvas& canvas, int x, int y, int index, const TBitmap& glyph, int numGlyphs);
// The whole face of the button on `canvas` at size w x h.
void DrawLbButton(TCanvas& canvas, int w, int h, int step, int numGlyphs, const TBitmap& glyph,
                  bool pressed, bool hot, bool enabled, bool flat, bool wordWrap, bool popup,
                  TLbButtonStyle style, TColor color, TColor colorWhenDown, TColor hotTrackColor,
                  TColor lightColor, TColor shadowColor, const TFont& font, TLbButtonLayout layout,
                  const QString& caption, TAlignment alignment);
// The button's own pictures by resource name ("LBOK" ... "LBALL", "LBARROW"); empty when unknown.
TBitmap LbResourceBitmap(const QString& name);

// The colours and look of a face, set at once by a colour preset.
struct TLbPalette {
    TColor Color = clBtnFace;
    TColor Light = clWhite;
    TColor Shadow = 0x808080;
    TColor Down = clNone;
    TColor HotTrack = clNone;
    bool Flat = false;
    TLbButtonStyle Style = bsNormal;
};

// The styles drawn on the key colour, so that the parent shows through their corners.
inline bool IsKeyedLbStyle(TLbButtonStyle style) { return style == bsModern || style == bsShape || style == bsQuicken; }

// ---- the button ----

class TLbButton : public QWidget, public platform::IDialogButton {
    Q_OBJECT
public:
    explicit TLbButton(QWidget* aOwner = nullptr);
    ~TLbButton() override;

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { Repainted(FAlignment, value); }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    TColor Color() const { return FFace.Color; }
    void SetColor(TColor value) { Updated(FFace.Color, value); }
    // Reads lcsCustom whatever was written; writing applies a colour preset.
    TLbColorStyle ColorStyle() const { return FDummyStyle; }
    void SetColorStyle(TLbColorStyle value);
    TColor ColorWhenDown() const { return FFace.Down; }
    void SetColorWhenDown(TColor value) { FFace.Down = value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value);
    bool Flat() const { return FFace.Flat; }
    void SetFlat(bool value) { Repainted(FFace.Flat, value); }
    const TBitmap& Glyph() const { return FGlyph; }
    // Copies the bitmap (null: no glyph); NumGlyphs := width div height; Kind := bkCustom.
    void SetGlyph(const TBitmap* value);
    TColor HotTrackColor() const { return FFace.HotTrack; }
    void SetHotTrackColor(TColor value) { FFace.HotTrack = value; }
    TFont& HotTrackFont() { return FHTFont; }
    void SetHotTrackFont(const TFont& value) { FHTFont.Assign(value); }
    TLbButtonKind Kind() const { return FKind; }
    void SetKind(TLbButtonKind value);
    TLbButtonLayout Layout() const { return FLayout; }
    void SetLayout(TLbButtonLayout value) { Repainted(FLayout, value); }
    TColor LightColor() const { return FFace.Light; }
    void SetLightColor(TColor value) { Repainted(FFace.Light, value); }
    platform::TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(platform::TModalResult value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value) { Updated(FNumGlyphs, value); }
    TColor ShadowColor() const { return FFace.Shadow; }
    void SetShadowColor(TColor value) { Repainted(FFace.Shadow, value); }
    bool SlowDecease() const { return FSlowDecease; }
    void SetSlowDecease(bool value);
    TLbButtonStyle Style() const { return FFace.Style; }
    void SetStyle(TLbButtonStyle value);
    bool UseHotTrackFont() const { return FUseHTFont; }
    void SetUseHotTrackFont(bool value) { FUseHTFont = value; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value) { Repainted(FWordWrap, value); }
    // The caption font (taken from the owner's font at creation).
    TFont& Font() { return FFont; }
    void SetFont(const TFont& value);
    // Dropped below the button after a click; not owned.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { Updated(FPopupMenu, menu); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    bool Visible() const { return isVisible(); }

    TNotifyEvent OnClick;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    // Presses and releases the button: bDown, then the click action.
    virtual void Click();

    // State as the face shows it.
    bool Down() const { return bDown; }
    bool CursorOnButton() const { return bCursorOnButton; }
    int HotTrackStep() const { return FHotTrackStep; }
    // True while the slow fade-out is running.
    bool Fading() const;
    // One tick of the fade-out (what the 30 ms timer runs).
    void FadeStep();
    // The accelerator of the caption: the character after a single "&" (null when none).
    QChar Accelerator() const;
    // A dialog character reaching the button; true when it was its accelerator and clicked it.
    bool DialogChar(QChar ch);

    // Enter (default button) and Escape (cancel button) from the form.
    bool CanClickAsDialogKey() override;
    void ClickAsDialogKey() override;

    // Draws the face as the paint operation does, at once.
    void Paint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

    // The pointer entering and leaving the button.
    virtual void CMMouseEnter();
    virtual void CMMouseLeave();

private:
    void RepaintNow();
    // A property that only changes the face: stored, then the face is drawn again at once
    // (Repainted) or with the next paint (Updated).
    template <class T, class V>
    void Repainted(T& field, const V& value)
    {
        field = value;
        RepaintNow();
    }
    template <class T, class V>
    void Updated(T& field, const V& value)
    {
        field = value;
        update();
    }
    void ClickAction();
    bool ParentShowing() const;
    platform::TForm* ParentForm() const;
    void RegisterDialogButtons();
    void UpdateShortcut();
    void StopFade();

    TAlignment FAlignment = taCenter;
    bool FWordWrap = false;
    TBitmap FGlyph;
    TFont FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    platform::TModalResult FModalResult = 0;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    // The key (Enter or Space) whose press on this button set bDown; only its release clicks, so an
    // Enter pressed in another window (a message box closing) does not click here on its release.
    int FPressKey = 0;
    bool bCursorOnButton = false;
    // The fade-out timer (30 ms, GUI thread); absent while SlowDecease is off.
    std::unique_ptr<QTimer> FThread;
    int FHotTrackStep = 0;

    QString FCaption;
    TLbPalette FFace;
    TFont FFont;
    QPointer<QMenu> FPopupMenu;
    int FShortcutId = 0;
    bool FDestroying = false;
};
