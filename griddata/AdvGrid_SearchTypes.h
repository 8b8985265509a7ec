#pragma once
// Types of the grid's find, replace and search footer.
#include <QFlags>

// How a find runs; stored as a 16-bit set, bit n for the element of value n.
enum TFindParameters {
    fnMatchCase = 0x0001,            // case-sensitive; otherwise both sides are upper-cased
    fnMatchFull = 0x0002,            // the whole cell text must equal the search text
    fnMatchRegular = 0x0004,         // the search text is a filter condition
    fnDirectionLeftRight = 0x0008,   // along rows; otherwise down columns
    fnMatchStart = 0x0010,           // the text must stand at the start of the cell
    fnFindInCurrentRow = 0x0020,     // only the current row
    fnFindInCurrentCol = 0x0040,     // only the current column
    fnIncludeFixed = 0x0080,         // fixed rows, fixed columns and footer rows too
    fnAutoGoto = 0x0100,             // a found cell becomes current
    fnIgnoreHTMLTags = 0x0200,       // tags are removed before the test
    fnBackward = 0x0400,             // the search runs backwards
    fnIncludeHiddenColumns = 0x0800, // hidden columns too; column indexes are real
    fnFindInPresetCol = 0x1000,      // only the preset column
    fnFindInPresetRow = 0x2000,      // only the preset row
    fnSelectedCells = 0x4000,        // only the selected range
    fnIncludeHiddenRows = 0x8000     // hidden rows too; row indexes are real
};
Q_DECLARE_FLAGS(TFindParams, TFindParameters)
Q_DECLARE_OPERATORS_FOR_FLAGS(TFindParams)

// What the search footer just did (reported through OnSearchFooterAction).
enum TSearchAction { saFindFirst, saFindPrevious, saFindNext };

class TSearchPanel;
