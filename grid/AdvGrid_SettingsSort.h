#pragma once
// The sort settings of the string grid: which column is sorted and how, how header clicks sort,
// how the sort indicator looks, and the short text a sort is stored as.
#include "grid/BaseGrid.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

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

class TSortSettings {
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
    bool IndexShow() const { return FIndexShow; }
    void SetIndexShow(bool Value) { FIndexShow = Value; }
    bool Full() const { return FFull; }
    void SetFull(bool Value) { FFull = Value; }
    bool SingleColumn() const { return FSingleColumn; }
    void SetSingleColumn(bool Value) { FSingleColumn = Value; }
    bool IgnoreBlanks() const { return FIgnoreBlanks; }
    void SetIgnoreBlanks(bool Value) { FIgnoreBlanks = Value; }
    TSortBlankPosition BlankPos() const { return FBlankPos; }
    void SetBlankPos(TSortBlankPosition Value) { FBlankPos = Value; }
    bool AutoFormat() const { return FAutoFormat; }
    void SetAutoFormat(bool Value) { FAutoFormat = Value; }
    TSortDirection Direction() const { return FDirection; }
    void SetDirection(TSortDirection Value) { FDirection = Value; }
    TBitmap& UpGlyph() { return FUpGlyph; }
    const TBitmap& UpGlyph() const { return FUpGlyph; }
    void SetUpGlyph(const TBitmap& Value) { FUpGlyph.Assign(Value); }
    TBitmap& DownGlyph() { return FDownGlyph; }
    const TBitmap& DownGlyph() const { return FDownGlyph; }
    void SetDownGlyph(const TBitmap& Value) { FDownGlyph.Assign(Value); }
    TBitmap& IndexUpGlyph() { return FIndexUpGlyph; }
    const TBitmap& IndexUpGlyph() const { return FIndexUpGlyph; }
    void SetIndexUpGlyph(const TBitmap& Value) { FIndexUpGlyph.Assign(Value); }
    TBitmap& IndexDownGlyph() { return FIndexDownGlyph; }
    const TBitmap& IndexDownGlyph() const { return FIndexDownGlyph; }
    void SetIndexDownGlyph(const TBitmap& Value) { FIndexDownGlyph.Assign(Value); }
    bool NormalCellsOnly() const { return FNormalCellsOnly; }
    void SetNormalCellsOnly(bool Value) { FNormalCellsOnly = Value; }
    bool FixedCols() const { return FFixedCols; }
    void SetFixedCols(bool Value) { FFixedCols = Value; }
    int Column() const { return FColumn; }
    void SetColumn(int Value) { FColumn = Value; }
    int Row() const { return FRow; }
    // Raises platform::Exception "Sort row should be smaller than number of fixed rows" for a row
    // above the grid's fixed rows; the row is kept then.
    void SetRow(int Value);
    bool AutoColumnMerge() const { return FAutoColumnMerge; }
    void SetAutoColumnMerge(bool Value) { FAutoColumnMerge = Value; }
    TColor IndexColor() const { return FIndexColor; }
    void SetIndexColor(TColor Value) { FIndexColor = Value; }
    TSortDirection InitSortDirection() const { return FInitSortDirection; }
    void SetInitSortDirection(TSortDirection Value) { FInitSortDirection = Value; }
    bool UndoSort() const { return FUndoSort; }
    void SetUndoSort(bool Value) { FUndoSort = Value; }
    bool AutoSortForGrouping() const { return FAutoSortForGrouping; }
    void SetAutoSortForGrouping(bool Value) { FAutoSortForGrouping = Value; }
    bool SortOnVirtualCells() const { return FSortOnVirtualCells; }
    void SetSortOnVirtualCells(bool Value) { FSortOnVirtualCells = Value; }
    bool IgnoreCase() const { return FIgnoreCase; }
    void SetIgnoreCase(bool Value) { FIgnoreCase = Value; }
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);
    TIndexSortKey IndexSortKey() const { return FIndexSortKey; }
    void SetIndexSortKey(TIndexSortKey Value) { FIndexSortKey = Value; }

private:
    void RepaintHeader();
    TVerIvovavOzed* FGrid;
    bool FShow = false;
    bool FIndexShow = false;
    bool FFull = true;
    bool FSingleColumn = false;
    bool FIgnoreBlanks = false;
    TSortBlankPosition FBlankPos = blFirst;
    bool FAutoFormat = true;
    TSortDirection FDirection = sdAscending;
    TBitmap FUpGlyph;
    TBitmap FDownGlyph;
    TBitmap FIndexUpGlyph;
    TBitmap FIndexDownGlyph;
    bool FNormalCellsOnly = false;
    bool FFixedCols = false;
    int FColumn = -1;
    int FRow = 0;
    bool FAutoColumnMerge = false;
    TColor FIndexColor = clYellow;
    TSortDirection FInitSortDirection = sdAscending;
    bool FUndoSort = false;
    bool FAutoSortForGrouping = true;
    bool FSortOnVirtualCells = true;
    bool FIgnoreCase = false;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
    TIndexSortKey FIndexSortKey = ikShift;
};
