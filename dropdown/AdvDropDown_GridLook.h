#pragma once
// The header and line look of a drop-down's column grid, which the column drop-downs keep and
// hand to their grids; and what the column drop-downs add to size the grid and its rows.
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Property.h"

class TDropDownGridLook {
public:
    TDropDownGridLook(TColor LineColor, TColor FixedLineColor) : FLineColor(LineColor), FFixedLineColor(FixedLineColor) {}

    KT_PROPERTY(TColor, HeaderColor)
    KT_PROPERTY(TColor, HeaderColorTo)
    KT_PROPERTY(int, HeaderHeight)
    TFont& HeaderFont() { return FHeaderFont; }
    void SetHeaderFont(const TFont& Value) { FHeaderFont.Assign(Value); }
    KT_PROPERTY(TColor, LineColor)
    KT_PROPERTY(TColor, FixedLineColor)

protected:
    TColor FHeaderColor = 0xFFFFFF;
    TColor FHeaderColorTo = 0x808080;
    int FHeaderHeight = 25;
    TFont FHeaderFont;
    TColor FLineColor;
    TColor FFixedLineColor;
};

class TDropDownGridSizing {
public:
    KT_PROPERTY(TColor, SelectionTextColor)
    KT_PROPERTY(int, DropDownRowHeight)
    KT_PROPERTY(bool, DropDownAutoWidth)
    KT_PROPERTY(bool, ColumnSizeWithDropDown)

protected:
    TColor FSelectionTextColor = 0x000000;
    int FDropDownRowHeight = 22;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
};
