#pragma once
// Types of the grid's cell painting.
#include "grid/BaseGrid.h"
#include "grid/GridSettings.h"
#include "platform/Canvas.h"

class TCellGraphic;

// What the cell painter keeps while it paints one cell and hands to its steps (background, text,
// graphic, borders). Everything here is rebuilt for each cell.
struct TCellPaintValues {
    int Col = 0;      // display column
    int RCol = 0;     // real column
    int Row = 0;
    int SelRow = 0;   // row used for the row-selection lookups
    TRect R;          // content rectangle
    TGridDrawState State;
    TColor BaseBrush = clNone; // brush and font colours after the visual properties
    TColor BaseFont = clNone;
    TAlignment HA = taLeftJustify;
    TVAlignment VA = vtaTop;
    bool WW = false;
    TColor ColorTo = clNone;
    TColor MirrorColor = clNone;
    TColor MirrorColorTo = clNone;
    TCellGradientDirection GD = GradientVertical;
    TCellGraphic* Graphic = nullptr;
    int GraphicW = 0;
    int GraphicH = 0;
    TCellHAlign GraphicHAlign = haLeft;
    TCellVAlign GraphicVAlign = vaTop;
    bool DrawText = true;
    bool Fixed = false;
    bool Styled = false;
    bool FilterGlyph = false;
    int ScrollPos = 0;
    int TextWidth = 0;  // width + 2 of the text drawn beside a graphic
    int TextHeight = 0;
    TColor LinkColor = clNone;
};
