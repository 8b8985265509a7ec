#pragma once
// The row filter conditions and the header filter drop-down settings of the string grid.
#include "grid/BaseGrid.h"
#include "platform/Canvas.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TVerIvovavOzed;
class TDropList;
class TDropCheckList;

// How a condition combines with the result of the conditions before it. foSHORT takes the
// condition's outcome and rejects the row at once when it is false.
enum TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
// Which text of the cell a condition tests: the shown text, the stored text, the shown text
// without markup, the formula result, or all texts of the row joined by line breaks.
enum TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// The condition language, or exact equality with the condition.
enum TFilterMethod { fmExpression, fmLiteral };

// One filter condition of a column.
class TFilterData {
public:
    // Everything but Method.
    void Assign(const TFilterData& Source);

    int16_t Column = 0;
    QString Condition;
    bool CaseSensitive = true;
    QString Suffix;
    QString Prefix;
    TFilterOperation Operation = foSHORT;
    TFilterCells Data = fcVirtual;
    TFilterMethod Method = fmExpression;
};

class TFilter {
public:
    explicit TFilter(TVerIvovavOzed* AOwner) : FGrid(AOwner) {}
    TFilter(const TFilter&) = delete;
    TFilter& operator=(const TFilter&) = delete;
    void Assign(const TFilter& Source);

    int Count() const { return int(FItems.size()); }
    TFilterData* Items(int i) const { return FItems.at(size_t(i)).get(); }
    TFilterData* GetItem(int Index) const { return Items(Index); }
    void SetItem(int Index, const TFilterData& Value) { Items(Index)->Assign(Value); }
    // Appends a condition: foNONE when it is the only one, foAND after others.
    TFilterData* Add();
    // A new condition at Index, combining as created (foSHORT).
    TFilterData* Insert(int Index);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    // The first condition of a column, added (Column := Col) when the column has none.
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const;
    // Drops every condition of the column and repaints its header cell.
    void RemoveColumnFilter(int Col);

private:
    TVerIvovavOzed* FGrid;
    std::vector<std::unique_ptr<TFilterData>> FItems;
};

// Looks of the header filter list and the pictures of the filter buttons.
class TFilterDropDown {
public:
    TFilterDropDown();
    TFilterDropDown(const TFilterDropDown&) = delete;
    TFilterDropDown& operator=(const TFilterDropDown&) = delete;
    // Everything but AutoSize; fires nothing.
    void Assign(const TFilterDropDown& Source);

    TBitmap& Glyph() { return FGlyph; }
    const TBitmap& Glyph() const { return FGlyph; }
    void SetGlyph(const TBitmap& Value);
    // The button picture of a column that has a filter.
    TBitmap& GlyphActive() { return FGlyphActive; }
    const TBitmap& GlyphActive() const { return FGlyphActive; }
    void SetGlyphActive(const TBitmap& Value);

    bool AutoSize = false;
    int Height = 150;
    int Width = 150;
    TColor Color = clWindow;
    TFont Font;
    bool ColumnWidth = false;
    // Fired when either picture changes.
    std::function<void()> OnChange;

private:
    TBitmap FGlyph;
    TBitmap FGlyphActive;
};
