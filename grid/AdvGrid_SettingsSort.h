#pragma once
// The sort settings of the string grid: which column is sorted and how, how header clicks sort,
// how the sort indicator looks, and the short text a sort is stored as.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "platform/Property.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;

// How two cells of a column compare (values in this order).
enum TSortStyle {
    ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU, ssShortDateUS,
    ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML, ssImages, ssCheckBox, ssDateTime,
    ssTime, ssAlphaNumeric, ssAlphaNumericNoCase
};
enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };
enum TIndexSortKey { ikShift, ikCtrl };

// The values TSortSettings::Assign copies, kept together so that one assignment copies them all.
struct TSortSettingsValues {
    bool FShow = false;
    bool FIndexShow = false;
    bool FFull = true;
    bool FSingleColumn = false;
    bool FIgnoreBlanks = false;
    TSortBlankPosition FBlankPos = blFirst;
    bool FAutoFormat = true;
    TSortDirection FDirection = sdAscending;
    bool FNormalCellsOnly = false;
    bool FFixedCols = false;
    int FColumn = -1;
    int FRow = 0;
    bool FAutoColumnMerge = false;
    TColor FIndexColor = clYellow;
    TSortDirection FInitSortDirection = sdAscending;
    bool FUndoSort = false;
    bool FAutoSortForGrouping = true;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    TIndexSortKey FIndexSortKey = ikShift;
};

class TSortSettings : private TSortSettingsValues {
public:
    explicit TSortSettings(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TSortSettings(const TSortSettings&) = delete;
    TSortSettings& operator=(const TSortSettings&) = delete;
    // Copies every setting but IgnoreCase and SortOnVirtualCells; glyphs by content.
    void Assign(const TSortSettings& Source);

    // The present sort as text: "u<col>" / "d<col>", or "i;" and the index list's text.
    QString SaveToString() const;
    // Applies such a text and sorts the grid. Raises platform::Exception "Invalid sort settings
    // specifier" for a one-character text.
    void LoadFromString(const QString& Value);
    // Forgets the sort; the rows stay as they are.
    void Remove();
    void ToggleDirection();

    bool Show() const { return FShow; }
    void SetShow(bool Value);
    KT_PROPERTY(bool, IndexShow)
    KT_PROPERTY(bool, Full)
    KT_PROPERTY(bool, SingleColumn)
    KT_PROPERTY(bool, IgnoreBlanks)
    KT_PROPERTY(TSortBlankPosition, BlankPos)
    KT_PROPERTY(bool, AutoFormat)
    KT_PROPERTY(TSortDirection, Direction)
    KT_OBJECT_PROPERTY(TBitmap, UpGlyph)
    KT_OBJECT_PROPERTY(TBitmap, DownGlyph)
    KT_OBJECT_PROPERTY(TBitmap, IndexUpGlyph)
    KT_OBJECT_PROPERTY(TBitmap, IndexDownGlyph)
    KT_PROPERTY(bool, NormalCellsOnly)
    KT_PROPERTY(bool, FixedCols)
    KT_PROPERTY(int, Column)
    int Row() const { return FRow; }
    // Raises platform::Exception "Sort row should be smaller than number of fixed rows" for a row
    // above the grid's fixed rows; the row is kept then.
    void SetRow(int Value);
    KT_PROPERTY(bool, AutoColumnMerge)
    KT_PROPERTY(TColor, IndexColor)
    KT_PROPERTY(TSortDirection, InitSortDirection)
    KT_PROPERTY(bool, UndoSort)
    KT_PROPERTY(bool, AutoSortForGrouping)
    KT_PROPERTY(bool, SortOnVirtualCells)
    KT_PROPERTY(bool, IgnoreCase)
    KT_PROPERTY_CHANGE(TColor, HeaderColor, RepaintHeader)
    KT_PROPERTY_CHANGE(TColor, HeaderColorTo, RepaintHeader)
    KT_PROPERTY_CHANGE(TColor, HeaderMirrorColor, RepaintHeader)
    KT_PROPERTY_CHANGE(TColor, HeaderMirrorColorTo, RepaintHeader)
    KT_PROPERTY(TIndexSortKey, IndexSortKey)

private:
    void RepaintHeader();
    TVerIvovavOzed* FGrid;
    TBitmap FUpGlyph;
    TBitmap FDownGlyph;
    TBitmap FIndexUpGlyph;
    TBitmap FIndexDownGlyph;
    bool FSortOnVirtualCells = true;
    bool FIgnoreCase = false;
};
