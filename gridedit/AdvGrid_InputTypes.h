#pragma once
// Types of the grid's keyboard, mouse and check-box handling.
#include "platform/Keys.h"

#include <QCursor>
#include <QTimer>

#include <initializer_list>

class QLineEdit;
class QComboBox;
class TBalloonWindow;
struct TMarkupRenderResult;

// A mouse message as it reaches the grid, before the base grid handles it: the point in client
// co-ordinates of the grid's cell area, the buttons and modifiers held. A handler may set Result.
struct TWMMouse {
    int XPos = 0;
    int YPos = 0;
    TShiftState Keys;
    int Result = 0;
};

// How the next left press selects, as the pointer position decides it: over the top-left fixed
// corner every cell, over a header cell a whole column, over a row header a whole row, on the
// selection's grip a resize. Normal is the core's `msNormal`.
enum TMouseSelectArea { msColumn = 16, msRow, msAll, msURL, msResize };
