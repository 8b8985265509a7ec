// The floating footer settings: copies and the writes with an effect.
#include "grid/FloatingFooter.h"

void TFloatingFooter::Assign(const TFloatingFooter& Source)
{
    FHeight = Source.FHeight;
    FVisible = Source.FVisible;
    FColor = Source.FColor;
    FFooterStyle = Source.FFooterStyle;
    FColumn = Source.FColumn;
    FCustomTemplate = Source.FCustomTemplate;
    FCalculateHiddenRows = Source.FCalculateHiddenRows;
    FEnableCalculation = Source.FEnableCalculation;
    FShowHint = Source.FShowHint;
    FBorderColor = Source.FBorderColor;
}

void TFloatingFooter::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    if (OnVisibleChange)
        OnVisibleChange();
}
