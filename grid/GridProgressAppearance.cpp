// TGridProgressAppearance: copies of the progress-bar settings.
#include "grid/GridProgressAppearance.h"

void TGridProgressAppearance::Assign(const TGridProgressAppearance& Source)
{
    if (&Source == this)
        return;
    FUnCompleteFontColor = Source.FUnCompleteFontColor;
    FCompleteColor = Source.FCompleteColor;
    FUnCompleteColor = Source.FUnCompleteColor;
    FCompleteFontColor = Source.FCompleteFontColor;
    FStacked = Source.FStacked;
    FShowPercentage = Source.FShowPercentage;
    FShowBorder = Source.FShowBorder;
    FCompletionSmooth = Source.FCompletionSmooth;
    FShowGradient = Source.FShowGradient;
    FLevel2Perc = Source.FLevel2Perc;
    FLevel1Perc = Source.FLevel1Perc;
    FSteps = Source.FSteps;
    FLevel3Color = Source.FLevel3Color;
    FLevel1Color = Source.FLevel1Color;
    FLevel0Color = Source.FLevel0Color;
    FLevel3ColorTo = Source.FLevel3ColorTo;
    FLevel2ColorTo = Source.FLevel2ColorTo;
    FLevel0ColorTo = Source.FLevel0ColorTo;
    FLevel1ColorTo = Source.FLevel1ColorTo;
    FBorderColor = Source.FBorderColor;
    FLevel2Color = Source.FLevel2Color;
    FStyle = Source.FStyle;
    Changed();
}
