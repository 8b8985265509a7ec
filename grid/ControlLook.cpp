// TControlLook: settings of the in-cell controls and the header hover and pressed colours.
#include "grid/ControlLook.h"

#include "grid/AdvGrid.h"
#include "dropdown/AdvDropDown_Edit.h"

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
    FCheckSize = Source.FCheckSize;
    FRadioSize = Source.FRadioSize;
    FControlStyle = Source.FControlStyle;
    FCheckedGlyph.Assign(Source.FCheckedGlyph);
    FUnCheckedGlyph.Assign(Source.FUnCheckedGlyph);
    FRadioOnGlyph.Assign(Source.FRadioOnGlyph);
    FRadioOffGlyph.Assign(Source.FRadioOffGlyph);
    FProgressMarginX = Source.FProgressMarginX;
    FProgressMarginY = Source.FProgressMarginY;
    FCommentColor = Source.FCommentColor;
    FColor = Source.FColor;
    FProgressBorderColor = Source.FProgressBorderColor;
    CheckAlwaysActive = Source.CheckAlwaysActive;
    RadioAlwaysActive = Source.RadioAlwaysActive;
    FFixedGradientTo = Source.FFixedGradientTo;
    FFixedGradientFrom = Source.FFixedGradientFrom;
    FFixedGradientMirrorTo = Source.FFixedGradientMirrorTo;
    FFixedGradientMirrorFrom = Source.FFixedGradientMirrorFrom;
    FFixedGradientHoverTo = Source.FFixedGradientHoverTo;
    FFixedGradientHoverFrom = Source.FFixedGradientHoverFrom;
    FFixedGradientHoverMirrorTo = Source.FFixedGradientHoverMirrorTo;
    FFixedGradientHoverMirrorFrom = Source.FFixedGradientHoverMirrorFrom;
    FFixedGradientHoverBorder = Source.FFixedGradientHoverBorder;
    FFixedGradientDownTo = Source.FFixedGradientDownTo;
    FFixedGradientDownFrom = Source.FFixedGradientDownFrom;
    FFixedGradientDownMirrorTo = Source.FFixedGradientDownMirrorTo;
    FFixedGradientDownMirrorFrom = Source.FFixedGradientDownMirrorFrom;
    FFixedGradientDownBorder = Source.FFixedGradientDownBorder;
    FDropDownAlwaysVisible = Source.FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = Source.FSpinButtonsAlwaysVisible;
    DropDownCount = Source.DropDownCount;
    FDropDownFooter->Assign(*Source.FDropDownFooter);
    FDropDownHeader->Assign(*Source.FDropDownHeader);
    HintMaxWidth = Source.HintMaxWidth;
}

void TControlLook::SetCheckSize(int Value) { FCheckSize = Value; Invalidate(); }
void TControlLook::SetUnCheckedGlyph(const TBitmap& Value) { FUnCheckedGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetCheckedGlyph(const TBitmap& Value) { FCheckedGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetControlStyle(TControlStyle Value) { FControlStyle = Value; Invalidate(); }
void TControlLook::SetColor(TColor Value) { FColor = Value; Invalidate(); }
void TControlLook::SetRadioSize(int Value) { FRadioSize = Value; Invalidate(); }
void TControlLook::SetRadioOffGlyph(const TBitmap& Value) { FRadioOffGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetRadioOnGlyph(const TBitmap& Value) { FRadioOnGlyph.Assign(Value); Invalidate(); }
void TControlLook::SetFlatButton(bool Value) { FFlatButton = Value; Invalidate(); }
void TControlLook::SetProgressMarginY(int Value) { FProgressMarginY = Value; Invalidate(); }
void TControlLook::SetProgressMarginX(int Value) { FProgressMarginX = Value; Invalidate(); }
void TControlLook::SetProgressXP(bool Value) { FProgressXP = Value; Invalidate(); }
void TControlLook::SetDropDownAlwaysVisible(bool Value) { FDropDownAlwaysVisible = Value; Invalidate(); }
void TControlLook::SetSpinButtonsAlwaysVisible(bool Value) { FSpinButtonsAlwaysVisible = Value; Invalidate(); }
void TControlLook::SetNoDisabledCheckRadioLook(bool Value) { FNoDisabledCheckRadioLook = Value; Invalidate(); }
void TControlLook::SetNoDisabledButtonLook(bool Value) { FNoDisabledButtonLook = Value; Invalidate(); }
void TControlLook::SetCommentColor(TColor Value) { FCommentColor = Value; Invalidate(); }

void TControlLook::SetFixedGradientFrom(TColor Value)
{
    FFixedGradientFrom = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientFrom(Value);
}

void TControlLook::SetFixedGradientTo(TColor Value)
{
    FFixedGradientTo = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientTo(Value);
}

void TControlLook::SetFixedGradientMirrorFrom(TColor Value)
{
    FFixedGradientMirrorFrom = Value;
    if (FGrid)
        FGrid->SetOrlexGradientMirrorFrom(Value);
}

void TControlLook::SetFixedGradientMirrorTo(TColor Value)
{
    FFixedGradientMirrorTo = Value;
    if (FGrid)
        FGrid->SetOrlexGradientMirrorTo(Value);
}

void TControlLook::SetFixedGradientHoverFrom(TColor Value)
{
    FFixedGradientHoverFrom = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientHoverFrom(Value);
}

void TControlLook::SetFixedGradientHoverTo(TColor Value)
{
    FFixedGradientHoverTo = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientHoverTo(Value);
}

void TControlLook::SetFixedGradientHoverMirrorFrom(TColor Value)
{
    FFixedGradientHoverMirrorFrom = Value;
    if (FGrid)
        FGrid->SetOrlexGradientHoverMirrorFrom(Value);
}

void TControlLook::SetFixedGradientHoverMirrorTo(TColor Value)
{
    FFixedGradientHoverMirrorTo = Value;
    if (FGrid)
        FGrid->SetOrlexGradientHoverMirrorTo(Value);
}

void TControlLook::SetFixedGradientHoverBorder(TColor Value)
{
    FFixedGradientHoverBorder = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientHoverBorder(Value);
}

void TControlLook::SetFixedGradientDownFrom(TColor Value)
{
    FFixedGradientDownFrom = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientDownFrom(Value);
}

void TControlLook::SetFixedGradientDownTo(TColor Value)
{
    FFixedGradientDownTo = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientDownTo(Value);
}

void TControlLook::SetFixedGradientDownMirrorFrom(TColor Value)
{
    FFixedGradientDownMirrorFrom = Value;
    if (FGrid)
        FGrid->SetOrlexGradientDownMirrorFrom(Value);
}

void TControlLook::SetFixedGradientDownMirrorTo(TColor Value)
{
    FFixedGradientDownMirrorTo = Value;
    if (FGrid)
        FGrid->SetOrlexGradientDownMirrorTo(Value);
}

void TControlLook::SetFixedGradientDownBorder(TColor Value)
{
    FFixedGradientDownBorder = Value;
    if (Value != clNone && FGrid)
        FGrid->SetOrlexGradientDownBorder(Value);
}
