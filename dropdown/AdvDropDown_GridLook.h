#pragma once
// The header and line look of a drop-down's column grid, which the column drop-downs keep and
// hand to their grids; and what the column drop-downs add to size the grid and its rows.
#include "platform/Canvas.h"
#include "platform/Graphics.h"

class TDropDownGridLook {
public:
    TDropDownGridLook(TColor LineColor, TColor FixedLineColor) : FLineColor(LineColor), FFixedLineColor(FixedLineColor) {}

    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value) { FHeaderColor = Value; }
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value) { FHeaderColorTo = Value; }
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int Value) { FHeaderHeight = Value; }
    TFont& HeaderFont() { return FHeaderFont; }
    void SetHeaderFont(const TFont& Value) { FHeaderFont.Assign(Value); }
    TColor LineColor() const { return FLineColor; }
    void SetLineColor(TColor Value) { FLineColor = Value; }
    TColor FixedLineColor() const { return FFixedLineColor; }
    void SetFixedLineColor(TColor Value) { FFixedLineColor = Value; }

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
    TColor SelectionTextColor() const { return FSelectionTextColor; }
    void SetSelectionTextColor(TColor Value) { FSelectionTextColor = Value; }
    int DropDownRowHeight() const { return FDropDownRowHeight; }
    void SetDropDownRowHeight(int Value) { FDropDownRowHeight = Value; }
    bool DropDownAutoWidth() const { return FDropDownAutoWidth; }
    void SetDropDownAutoWidth(bool Value) { FDropDownAutoWidth = Value; }
    bool ColumnSizeWithDropDown() const { return FColumnSizeWithDropDown; }
    void SetColumnSizeWithDropDown(bool Value) { FColumnSizeWithDropDown = Value; }

protected:
    TColor FSelectionTextColor = 0x000000;
    int FDropDownRowHeight = 22;
    bool FDropDownAutoWidth = true;
    bool FColumnSizeWithDropDown = true;
};
