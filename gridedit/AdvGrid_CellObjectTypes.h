#pragma once
// Value types of the grid's cell objects: the shape of a ctShape cell, the icon of a
// balloon, the range and page of an in-cell scroll bar.
#include "render/RuvOdid.h" // TCellShape (csRectangle .. csHalfStar)

enum TBalloonIcon { biNone, biInfo, biWarning, biError };

struct TScrollProp {
    int Range = 0;
    int PageSize = 0;
};
