#pragma once
// TControlLook: the look of in-cell controls (check boxes, radio buttons, buttons, progress bars)
// of a string grid and the colours of its header cells while hovered or pressed.
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <memory>

class TVerIvovavOzed;
class THeaderAppearance;
class TFooterAppearance;

enum TControlStyle { csClassic, csFlat, csWinXP, csBorland, csOrlex, csGlyph, csTheme };

// The values TControlLook::Assign copies, kept together so that one assignment copies them all.
struct TControlLookValues {
    int FCheckSize = 15;
    TControlStyle FControlStyle = csTheme;
    TColor FColor = clBlack;
    int FRadioSize = 10;
    int FProgressMarginY = 2;
    int FProgressMarginX = 2;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    TColor FCommentColor = 0x0000FF;
    TColor FProgressBorderColor = 0x808080;
    TColor FFixedGradientTo = clNone;
    TColor FFixedGradientFrom = clNone;
    TColor FFixedGradientMirrorTo = clNone;
    TColor FFixedGradientMirrorFrom = clNone;
    TColor FFixedGradientHoverTo = 0xFFFFFF;
    TColor FFixedGradientHoverFrom = 0x808080;
    TColor FFixedGradientHoverMirrorTo = clNone;
    TColor FFixedGradientHoverMirrorFrom = clNone;
    TColor FFixedGradientHoverBorder = 0xC0C0C0;
    TColor FFixedGradientDownTo = 0xC0C0C0;
    TColor FFixedGradientDownFrom = 0x808080;
    TColor FFixedGradientDownMirrorTo = clNone;
    TColor FFixedGradientDownMirrorFrom = clNone;
    TColor FFixedGradientDownBorder = 0x808080;
};

class TControlLook : private TControlLookValues {
public:
    explicit TControlLook(TVerIvovavOzed* AOwner);
    ~TControlLook();
    TControlLook(const TControlLook&) = delete;
    TControlLook& operator=(const TControlLook&) = delete;

    // Resets the colours to the values of a new object. The hover and pressed mirror colours go
    // through their setters (so the grid's become clNone too); the others are only stored.
    void Init();
    // Copies the settings of another control look; the grid's painting colours stay as they are.
    void Assign(const TControlLook& Source);

    KT_PROPERTY_NOTIFY(int, CheckSize, Invalidate)
    TBitmap& UnCheckedGlyph() { return FUnCheckedGlyph; }
    void SetUnCheckedGlyph(const TBitmap& Value);
    TBitmap& CheckedGlyph() { return FCheckedGlyph; }
    void SetCheckedGlyph(const TBitmap& Value);
    KT_PROPERTY_NOTIFY(TControlStyle, ControlStyle, Invalidate)
    KT_PROPERTY_NOTIFY(TColor, Color, Invalidate)
    KT_PROPERTY_NOTIFY(int, RadioSize, Invalidate)
    TBitmap& RadioOffGlyph() { return FRadioOffGlyph; }
    void SetRadioOffGlyph(const TBitmap& Value);
    TBitmap& RadioOnGlyph() { return FRadioOnGlyph; }
    void SetRadioOnGlyph(const TBitmap& Value);
    KT_PROPERTY_NOTIFY(bool, FlatButton, Invalidate)
    KT_PROPERTY_NOTIFY(int, ProgressMarginY, Invalidate)
    KT_PROPERTY_NOTIFY(int, ProgressMarginX, Invalidate)
    KT_PROPERTY_NOTIFY(bool, ProgressXP, Invalidate)
    KT_PROPERTY_NOTIFY(bool, DropDownAlwaysVisible, Invalidate)
    KT_PROPERTY_NOTIFY(bool, SpinButtonsAlwaysVisible, Invalidate)
    KT_PROPERTY_NOTIFY(bool, NoDisabledCheckRadioLook, Invalidate)
    KT_PROPERTY_NOTIFY(bool, NoDisabledButtonLook, Invalidate)
    KT_PROPERTY_NOTIFY(TColor, CommentColor, Invalidate)
    KT_PROPERTY(TColor, ProgressBorderColor)

    // Fixed-cell gradient. From/To (and the hover and pressed colours) reach the grid only when
    // not clNone; the mirror colours always do.
    TColor FixedGradientTo() const { return FFixedGradientTo; }
    void SetFixedGradientTo(TColor Value);
    TColor FixedGradientFrom() const { return FFixedGradientFrom; }
    void SetFixedGradientFrom(TColor Value);
    TColor FixedGradientMirrorTo() const { return FFixedGradientMirrorTo; }
    void SetFixedGradientMirrorTo(TColor Value);
    TColor FixedGradientMirrorFrom() const { return FFixedGradientMirrorFrom; }
    void SetFixedGradientMirrorFrom(TColor Value);
    TColor FixedGradientHoverTo() const { return FFixedGradientHoverTo; }
    void SetFixedGradientHoverTo(TColor Value);
    TColor FixedGradientHoverFrom() const { return FFixedGradientHoverFrom; }
    void SetFixedGradientHoverFrom(TColor Value);
    TColor FixedGradientHoverMirrorTo() const { return FFixedGradientHoverMirrorTo; }
    void SetFixedGradientHoverMirrorTo(TColor Value);
    TColor FixedGradientHoverMirrorFrom() const { return FFixedGradientHoverMirrorFrom; }
    void SetFixedGradientHoverMirrorFrom(TColor Value);
    TColor FixedGradientHoverBorder() const { return FFixedGradientHoverBorder; }
    void SetFixedGradientHoverBorder(TColor Value);
    TColor FixedGradientDownTo() const { return FFixedGradientDownTo; }
    void SetFixedGradientDownTo(TColor Value);
    TColor FixedGradientDownFrom() const { return FFixedGradientDownFrom; }
    void SetFixedGradientDownFrom(TColor Value);
    TColor FixedGradientDownMirrorTo() const { return FFixedGradientDownMirrorTo; }
    void SetFixedGradientDownMirrorTo(TColor Value);
    TColor FixedGradientDownMirrorFrom() const { return FFixedGradientDownMirrorFrom; }
    void SetFixedGradientDownMirrorFrom(TColor Value);
    TColor FixedGradientDownBorder() const { return FFixedGradientDownBorder; }
    void SetFixedGradientDownBorder(TColor Value);

    // The header and footer the drop-down cell editors take when an edit starts.
    THeaderAppearance& DropDownHeader() { return *FDropDownHeader; }
    void SetDropDownHeader(const THeaderAppearance& Value);
    TFooterAppearance& DropDownFooter() { return *FDropDownFooter; }
    void SetDropDownFooter(const TFooterAppearance& Value);

    // Plain values read by the painter and the editors.
    bool FixedDropDownButton = false;
    bool CheckAlwaysActive = false;
    bool RadioAlwaysActive = false;
    int DropDownCount = 8;
    int HintMaxWidth = 0;

private:
    void Invalidate();
    TVerIvovavOzed* FGrid;
    std::unique_ptr<THeaderAppearance> FDropDownHeader;
    std::unique_ptr<TFooterAppearance> FDropDownFooter;
    TBitmap FUnCheckedGlyph;
    TBitmap FCheckedGlyph;
    TBitmap FRadioOffGlyph;
    TBitmap FRadioOnGlyph;
    bool FFlatButton = false;
    bool FProgressXP = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
};
