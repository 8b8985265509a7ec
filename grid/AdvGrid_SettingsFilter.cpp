// Filter conditions and the filter drop-down settings.
#include "grid/AdvGrid_SettingsFilter.h"

#include "grid/AdvGrid.h"

#include <algorithm>

void TFilterData::Assign(const TFilterData& Source)
{
    Column = Source.Column;
    Condition = Source.Condition;
    CaseSensitive = Source.CaseSensitive;
    Data = Source.Data;
    Prefix = Source.Prefix;
    Suffix = Source.Suffix;
    Operation = Source.Operation;
}

void TFilter::Assign(const TFilter& Source)
{
    FItems.clear();
    for (const auto& d : Source.FItems)
        FItems.push_back(std::make_unique<TFilterData>(*d));
}

TFilterData* TFilter::Add()
{
    FItems.push_back(std::make_unique<TFilterData>());
    TFilterData* d = FItems.back().get();
    d->Operation = FItems.size() == 1 ? foNONE : foAND;
    return d;
}

TFilterData* TFilter::Insert(int Index)
{
    Index = std::clamp(Index, 0, Count());
    auto it = FItems.insert(FItems.begin() + Index, std::make_unique<TFilterData>());
    return it->get();
}

void TFilter::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FItems.erase(FItems.begin() + Index);
}

TFilterData* TFilter::GetColFilter(int Col)
{
    for (const auto& d : FItems)
        if (d->Column == Col)
            return d.get();
    TFilterData* d = Add();
    d->Column = int16_t(Col);
    return d;
}

bool TFilter::HasFilter(int Col) const
{
    for (const auto& d : FItems)
        if (d->Column == Col)
            return true;
    return false;
}

void TFilter::RemoveColumnFilter(int Col)
{
    std::erase_if(FItems, [Col](const std::unique_ptr<TFilterData>& d) { return d->Column == Col; });
    if (FGrid)
        FGrid->RepaintCell(FGrid->DisplColIndex(Col), 0);
}

TFilterDropDown::TFilterDropDown() = default;

void TFilterDropDown::SetGlyph(const TBitmap& Value)
{
    FGlyph.Assign(Value);
    if (OnChange)
        OnChange();
}

void TFilterDropDown::SetGlyphActive(const TBitmap& Value)
{
    FGlyphActive.Assign(Value);
    if (OnChange)
        OnChange();
}

void TFilterDropDown::Assign(const TFilterDropDown& Source)
{
    Color = Source.Color;
    ColumnWidth = Source.ColumnWidth;
    Font.Assign(Source.Font);
    Height = Source.Height;
    Width = Source.Width;
    FGlyph.Assign(Source.FGlyph);
    FGlyphActive.Assign(Source.FGlyphActive);
}
