#pragma once
// TBackGround: the picture or gradient shown in the part of a grid's client area that no cell
// covers (and, tiled, under the cells when the painter asks for it).
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <functional>

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

// The values TBackGround::Assign copies, kept together so that one assignment copies them all.
struct TBackGroundValues {
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
};

class TBackGround : private TBackGroundValues {
public:
    TBackGround() = default;
    TBackGround(const TBackGround&) = delete;
    TBackGround& operator=(const TBackGround&) = delete;
    void Assign(const TBackGround& Source);

    KT_PROPERTY_NOTIFY(int, Top, Changed)
    KT_PROPERTY_NOTIFY(int, Left, Changed)
    KT_PROPERTY_NOTIFY(TBackGroundDisplay, Display, Changed)
    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const TBitmap& Value) { FBitmap.Assign(Value); Changed(); }
    KT_PROPERTY_NOTIFY(TBackGroundCells, Cells, Changed)
    KT_PROPERTY_NOTIFY(TColor, ColorTo, Changed)
    KT_PROPERTY_NOTIFY(TColor, Color, Changed)

    // The owning grid's repaint.
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    TBitmap FBitmap;
};
