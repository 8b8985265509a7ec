// TBackGround: copies of the background settings.
#include "grid/BackGround.h"

void TBackGround::Assign(const TBackGround& Source)
{
    if (&Source == this)
        return;
    FTop = Source.FTop;
    FLeft = Source.FLeft;
    FDisplay = Source.FDisplay;
    FCells = Source.FCells;
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
    FBitmap.Assign(Source.FBitmap);
}
