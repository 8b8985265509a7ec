// TControlLook: settings of the in-cell controls and the header hover and pressed colours.
#include "grid/ControlLook.h"

#include "grid/AdvGrid.h"
#include "dropdown/AdvDropDown_Edit.h"

namespace {

// Keeps the colour and hands it on to the grid's header look; clNone is handed on only where it
// means "none" there as well (`Pass_None`).
void Pass_Colour(TColor& Field, TColor Value, TVerIvovavOzed* Grid, void (TVerIvovavOzed::*Set)(TColor), bool Pass_None)
{
    Field = Value;
    if ((Pass_None || Value != clNone) && Grid)
        (Grid->*Set)(Value);
}

} // namespace

TControlLook::TControlLook(TVerIvovavOzed* AOwner)
    : FGrid(AOwner), FDropDownHeader(std::make_unique<THeaderAppearance>()),
      FDropDownFooter(std::make_unique<TFooterAppearance>())
{
    Init();
}

TControlLook::~TControlLook() = default;

void TControlLook::SetDropDownHeader(const THeaderAppearance& Value) { FDropDownHeader->Assign(Value); }
void TControlLook::SetDropDownFooter(const TFooterAppearance& Value) { FDropDownFooter->Assign(Value); }

void TControlLook::Invalidate()
{
    if (FGrid)
        FGrid->Invalidate();
}

void TControlLook::Init()
{
    FColor = clBlack;
    FCommentColor = 0x0000FF;
    FProgressBorderColor = 0x808080;
    FFixedGradientTo = clNone;
    FFixedGradientFrom = clNone;
    FFixedGradientMirrorTo = clNone;
    FFixedGradientMirrorFrom = clNone;
    FFixedGradientHoverTo = 0xFFFFFF;
    FFixedGradientHoverFrom = 0x808080;
    SetFixedGradientHoverMirrorTo(clNone);
    SetFixedGradientHoverMirrorFrom(clNone);
    FFixedGradientHoverBorder = 0xC0C0C0;
    FFixedGradientDownTo = 0xC0C0C0;
    FFixedGradientDownFrom = 0x808080;
    SetFixedGradientDownMirrorTo(clNone);
    SetFixedGradientDownMirrorFrom(clNone);
    FFixedGradientDownBorder = 0x808080;
}

void TControlLook::Assign(const TControlLook& Source)
{
    if (&Source == this)
        return;
    TControlLookValues::operator=(Source);
    FCheckedGlyph.Assign(Source.FCheckedGlyph);
    FUnCheckedGlyph.Assign(Source.FUnCheckedGlyph);
    FRadioOnGlyph.Assign(Source.FRadioOnGlyph);
    FRadioOffGlyph.Assign(Source.FRadioOffGlyph);
    CheckAlwaysActive = Source.CheckAlwaysActive;
    RadioAlwaysActive = Source.RadioAlwaysActive;
    DropDownCount = Source.DropDownCount;
    FDropDownFooter->Assign(*Source.FDropDownFooter);
    FDropDownHeader->Assign(*Source.FDropDownHeader);
    HintMaxWidth = Source.HintMaxWidth;
}

void TControlLook::SetUnCheckedGlyph(const TBitmap& Value) { FUnCheckedGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetCheckedGlyph(const TBitmap& Value) { FCheckedGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetRadioOffGlyph(const TBitmap& Value) { FRadioOffGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetRadioOnGlyph(const TBitmap& Value) { FRadioOnGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetFixedGradientFrom(TColor Value) { Pass_Colour(FFixedGradientFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientFrom, false); }
void TControlLook::SetFixedGradientTo(TColor Value) { Pass_Colour(FFixedGradientTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientTo, false); }
void TControlLook::SetFixedGradientMirrorFrom(TColor Value) { Pass_Colour(FFixedGradientMirrorFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientMirrorFrom, true); }
void TControlLook::SetFixedGradientMirrorTo(TColor Value) { Pass_Colour(FFixedGradientMirrorTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientMirrorTo, true); }
void TControlLook::SetFixedGradientHoverFrom(TColor Value) { Pass_Colour(FFixedGradientHoverFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientHoverFrom, false); }
void TControlLook::SetFixedGradientHoverTo(TColor Value) { Pass_Colour(FFixedGradientHoverTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientHoverTo, false); }
void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value) { Pass_Colour(FFixedGradientHoverMirrorFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientHoverMirrorFrom, true); }
void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value) { Pass_Colour(FFixedGradientHoverMirrorTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientHoverMirrorTo, true); }
void TControlLook::SetFixedGradientHoverBorder(TColor Value) { Pass_Colour(FFixedGradientHoverBorder, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientHoverBorder, false); }
void TControlLook::SetFixedGradientDownFrom(TColor Value) { Pass_Colour(FFixedGradientDownFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientDownFrom, false); }
void TControlLook::SetFixedGradientDownTo(TColor Value) { Pass_Colour(FFixedGradientDownTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientDownTo, false); }
void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value) { Pass_Colour(FFixedGradientDownMirrorFrom, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientDownMirrorFrom, true); }
void TControlLook::SetFixedGradientDownMirrorTo(TColor Value) { Pass_Colour(FFixedGradientDownMirrorTo, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientDownMirrorTo, true); }
void TControlLook::SetFixedGradientDownBorder(TColor Value) { Pass_Colour(FFixedGradientDownBorder, Value, FGrid, &TVerIvovavOzed::SetOrlexGradientDownBorder, false); }
