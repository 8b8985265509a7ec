// Filter conditions and the filter drop-down settings.
#include "grid/AdvGrid_SettingsFilter.h"

#include "grid/AdvGrid.h"

void TFilter::Assign(const TFilter& Source)
{
    FItems.clear();
    for (const auto& d : Source.FItems)
        FItems.push_back(std::make_unique<TFilterData>(*d));
}

TFilterData* TFilter::Add()
{
    FItems.push_back(std::make_unique<TFilterData>());
    return FItems.back().get();
}

TFilterData* TFilter::GetColFilter(int Col)
{
    for (const auto& d : FItems)
        if (d->Column == Col)
            return d.get();
    TFilterData* d = Add();
    d->Column = Col;
    return d;
}

bool TFilter::HasFilter(int Col) const
{
    for (const auto& d : FItems)
        if (d->Column == Col)
            return true;
    return false;
}

void TFilterDropDown::Assign(const TFilterDropDown& Source)
{
    Color = Source.Color;
    Height = Source.Height;
    Width = Source.Width;
}

