// TBackGround: copies of the background settings.
#include "grid/BackGround.h"

void TBackGround::Assign(const TBackGround& Source)
{
    if (&Source == this)
        return;
    TBackGroundValues::operator=(Source);
    FBitmap.Assign(Source.FBitmap);
}
