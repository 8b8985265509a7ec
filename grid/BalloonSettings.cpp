// Copies of the balloon and modified-cell settings, and the balloon switch that tells the grid.
#include "grid/BalloonSettings.h"
#include "platform/Property.h"

void TBalloonSettings::Assign(const TBalloonSettings& Source)
{
    FEnable = Source.FEnable;
    TextColor = Source.TextColor;
    BackgroundColor = Source.BackgroundColor;
    AutoHideDelay = Source.AutoHideDelay;
    InitialDelay = Source.InitialDelay;
    ReshowDelay = Source.ReshowDelay;
    // Transparency is not copied.
}

void TBalloonSettings::SetEnable(bool Value)
{
    if (!platform::Change(FEnable, Value))
        return;
    if (OnEnableChange)
        OnEnableChange();
}

void TShowModified::Assign(const TShowModified& Source)
{
    FEnabled = Source.FEnabled;
    FColor = Source.FColor;
}
