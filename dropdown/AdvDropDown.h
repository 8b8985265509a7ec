#pragma once
// Unit AdvDropDown, the shared part of every drop-down control: its enumerations, the free
// drawing and colour routines its classes, the grid and the header and footer strips share, the
// painting of the drop-down button, and the colour sets of the component styles.
//
// The drop-down edit control itself builds on these; none of them keeps state.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "render/AdvStyleIF.h"

#include <QString>
#include <optional>

class QWidget;

// ---- enumerations ------------------------------------------------------------------------------

enum TGradientDirection { gdHorizontal, gdVertical };

// Colour presets of selected and hot items.
enum TSelectionColorStyle { scCustom, scOffice2007, scWindowsVista, scWindows7 };

// Where an item's caption stands beside its image or colour box (items of the selector, buttons
// of the calculator pad).
enum TItemLayout { ilCaptionLeft, ilCaptionRight, ilCaptionTop, ilCaptionBottom };

// Look of the speed button in the drop-down button: a push button or the arrow of a drop-down.
enum TButtonStyle { bsButton, bsDropDown };

// ---- drawing and colour routines ---------------------------------------------------------------

// Stepped gradient over r from FromColor to ToColor in Steps bands (0 counts as 1), left to right
// when Horizontal, else top to bottom. Neighbouring bands overlap by one pixel; the last band is
// one step short of ToColor.
void DrawDropDownGradient(TCanvas& canvas, TColor fromColor, TColor toColor, int steps, TRect r, bool horizontal);

// Percent >= 100 gives color1 as it is, <= 0 color2 as it is; between, each channel is
// round(p * c1 + (1 - p) * c2) of the plain colours.
TColor BlendColor(TColor color1, TColor color2, int percent);

// Per channel of the plain colour: a non-zero channel is scaled by min(100, 100 + d) percent
// (negative d darkens, positive d leaves it); a zero channel becomes d (at least 0). Every
// channel stays within 0..255.
TColor ColorOffset(TColor color, int dRed, int dGreen, int dBlue);

// A gradient (80 bands) when colorTo is set, else a plain fill when color is set; then a frame
// of borderWidth in borderColor when it is set. Nothing without a canvas.
void DrawDropDownRect(TCanvas* canvas, const TRect& r, TColor color, TColor colorTo, TColor borderColor,
                      int borderWidth, TGradientDirection direction);

// An image of the list at the left (4 pixels in, vertically centred) and the caption on one line,
// vertically centred with an end ellipsis; the caption is centred only when no image was drawn.
void DrawDropDownContent(TCanvas* canvas, TRect r, const QString& caption, const TCustomImageList* images,
                         int imageIndex);

// The part of the bitmap that fits r, copied onto r with its top-left pixel's colour shown as
// backColor.
void DrawTransparentGlyph(TCanvas& canvas, const TBitmap& bitmap, TColor backColor, const TRect& r);

// Size of the text on one line in the canvas font; (0, 0) for an empty text.
TSize MeasureTextSize(TCanvas& canvas, const QString& text);

// The text when it is at most maxWidth wide; else the text cut by as few characters from its end
// as makes it narrower than maxWidth ("..." appended with ellipsis); the text when nothing fits.
QString FitText(TCanvas& canvas, const QString& text, int maxWidth, bool ellipsis);

// Draws (or with draw off only measures) a marked-up caption in r; its size, (0, 0) when empty.
TSize DrawMarkupCaption(TCanvas& canvas, const QString& text, const TRect& r, TCustomImageList* images, bool draw,
                        QWidget* window);

// ---- the drop-down button ----------------------------------------------------------------------

// Colours of the button holder; clNone leaves the button to its standard look.
struct TDropDownButtonColors {
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonColorDown = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonTextColorDown = clNone;
    TColor ButtonBorderColor = clNone;
};

// Everything the speed button of a drop-down reads while it paints: its own state, its holder's
// colours and what it needs of the drop-down edit.
struct TDropDownButtonFace {
    TButtonStyle ButtonStyle = bsDropDown;
    bool Down = false;       // the button's state is down (or exclusive)
    bool Up = false;         // forced to draw as not pressed
    bool Hot = false;        // the pointer is over the button
    bool Flat = false;
    bool Etched = false;
    bool Enabled = true;     // the button's own enabled state
    bool EditEnabled = true; // the drop-down edit's
    bool EditReadOnly = false;
    TColor EditBorderColor = clNone;
    const TFont* EditFont = nullptr;
    TDropDownButtonColors Colors;
    const TBitmap* Glyph = nullptr;
    QString Caption;
    QWidget* Window = nullptr; // window whose visual style is asked for
};

// True when the visual styles apply to drop-down buttons: common controls 6 and an active theme.
bool DropDownButtonThemed();

// Paints the speed button of a drop-down over (0, 0, width, height) of the canvas.
void PaintDropDownButton(TCanvas& canvas, int width, int height, const TDropDownButtonFace& face);

// ---- component styles and colour tones ---------------------------------------------------------

// Colours of the header and footer buttons (and of the calculator's pad buttons).
struct TDropDownButtonAppearanceColors {
    TColor Color = clNone, ColorTo = clNone, BorderColor = clNone;
    TColor ColorHot = clNone, ColorHotTo = clNone, BorderColorHot = clNone;
    TColor ColorDown = clNone, ColorDownTo = clNone, BorderColorDown = clNone;
    TColor ColorDisabled = clNone, ColorDisabledTo = clNone;
    TColor ColorChecked = clNone, ColorCheckedTo = clNone, BorderColorChecked = clNone;
};

// The colours one component style gives a drop-down.
struct TDropDownStyleColors {
    TColor DropDownColor = clNone;
    TColor DropDownColorTo = clNone;
    std::optional<TColor> DropDownBorderColor; // empty: the style leaves it as it is
    TColor HeaderColor = clNone, HeaderColorTo = clNone, HeaderBorderColor = clNone;
    TColor FooterColor = clNone, FooterColorTo = clNone, FooterBorderColor = clNone;
    TColor FontColor = clNone; // of header and footer
    TDropDownButtonAppearanceColors Buttons;
};

// The colours of a component style; false for tsCustom (and any value outside the styles), which
// changes nothing.
bool GetDropDownStyleColors(TOrlexStyle style, TDropDownStyleColors& colors);

// The selection pair of a selection colour style; false for scCustom, which keeps the colours.
bool GetSelectionColors(TSelectionColorStyle style, TColor& selectionColor, TColor& selectionColorTo);

// The drop-down button's colours taken from a set of colour tones (the metro look).
void ApplyColorTonesToButton(const TColorTones& tones, TDropDownButtonColors& colors);

// The background of a selected item: a plain fill for scCustom, else the style's tab shape from
// selectionColor to selectionColorTo, backgroundColor behind its corners.
void DrawSelectionBackground(TCanvas& canvas, const TRect& r, TColor backgroundColor, int shape,
                             TSelectionColorStyle style, TColor selectionColor, TColor selectionColorTo);
