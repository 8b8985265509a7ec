#pragma once
// Types of the grid's looks, visual services and scrolling.
#include "grid/BackGround.h"
#include "grid/ControlLook.h"
#include "grid/GridFocusWindow.h"
#include "grid/GridProgressAppearance.h"
#include "grid/HTMLHintWindow.h"
#include "grid/HeaderDragButton.h"
#include "grid/ScrollControl.h"
#include "render/AdvStyleIF.h"

#include <QTimer>

// The grid's own style numbers, one for each component style, in the same order.
enum ROzaDedeRevoz {
    gsOffice2003Blue, gsOffice2003Silver, gsOffice2003Olive, gsOffice2003Classic, gsOffice2007Luna,
    gsOffice2007Obsidian, gsWindowsXP, gsWhidbey, gsCustom, gsOffice2007Silver, gsWindowsVista, gsWindows7,
    gsTerminal, gsOffice2010Blue, gsOffice2010Silver, gsOffice2010Black
};

enum TXPColorScheme { xpNone, xpBlue, xpGreen, xpGray, vistaAero };

enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };

// Directions of drag scrolling; a direction set is an OR of these bits.
enum TDragScrollDirections { dsdUp = 1, dsdDown = 2, dsdLeft = 4, dsdRight = 8 };
using TDragScrollDirection = int;

// Phase of a drag over the grid.
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
