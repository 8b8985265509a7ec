#pragma once
// TBackGround: the picture or gradient shown in the part of a grid's client area that no cell
// covers (and, tiled, under the cells when the painter asks for it).
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <functional>

enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
enum TBackGroundCells { bcNormal, bcFixed, bcAll };

class TBackGround {
public:
    TBackGround() = default;
    TBackGround(const TBackGround&) = delete;
    TBackGround& operator=(const TBackGround&) = delete;
    void Assign(const TBackGround& Source);

    int Top() const { return FTop; }
    void SetTop(int Value) { FTop = Value; Changed(); }
    int Left() const { return FLeft; }
    void SetLeft(int Value) { FLeft = Value; Changed(); }
    TBackGroundDisplay Display() const { return FDisplay; }
    void SetDisplay(TBackGroundDisplay Value) { FDisplay = Value; Changed(); }
    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }
    void SetBitmap(const TBitmap& Value) { FBitmap.Assign(Value); Changed(); }
    TBackGroundCells Cells() const { return FCells; }
    void SetCells(TBackGroundCells Value) { FCells = Value; Changed(); }
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value) { FColorTo = Value; Changed(); }
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { FColor = Value; Changed(); }

    // The owning grid's repaint.
    std::function<void()> OnChange;

private:
    void Changed() { if (OnChange) OnChange(); }
    int FTop = 0;
    int FLeft = 0;
    TBackGroundDisplay FDisplay = bdTile;
    TBackGroundCells FCells = bcNormal;
    TColor FColorTo = clBtnFace;
    TColor FColor = clWindow;
    TBitmap FBitmap;
};
