// The small settings objects of the string grid: copies and the few writes with an effect.
#include "grid/AdvGridSettingsStubs.h"

void TFloatingFooter::Assign(const TFloatingFooter& Source)
{
    FHeight = Source.FHeight;
    FVisible = Source.FVisible;
    FColor = Source.FColor;
    FFooterStyle = Source.FFooterStyle;
    FColumn = Source.FColumn;
    FCustomTemplate = Source.FCustomTemplate;
    FCalculateHiddenRows = Source.FCalculateHiddenRows;
    FEnableCalculation = Source.FEnableCalculation;
    FShowHint = Source.FShowHint;
    FBorderColor = Source.FBorderColor;
}

void TSortSettings::Assign(const TSortSettings& Source)
{
    FShow = Source.FShow;
    FRow = Source.FRow;
    FColumn = Source.FColumn;
    FHeaderColor = Source.FHeaderColor;
    FHeaderColorTo = Source.FHeaderColorTo;
    FHeaderMirrorColor = Source.FHeaderMirrorColor;
    FHeaderMirrorColorTo = Source.FHeaderMirrorColorTo;
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

void TGrouping::Assign(const TGrouping& Source)
{
    HeaderUnderline = Source.HeaderUnderline;
    HeaderLineColor = Source.HeaderLineColor;
    HeaderLineWidth = Source.HeaderLineWidth;
    SummaryLine = Source.SummaryLine;
    SummaryLineColor = Source.SummaryLineColor;
    SummaryLineWidth = Source.SummaryLineWidth;
    GroupColumn = Source.GroupColumn;
    AutoCheckGroup = Source.AutoCheckGroup;
    AutoSelectGroup = Source.AutoSelectGroup;
}

void TFilterDropDown::Assign(const TFilterDropDown& Source)
{
    Color = Source.Color;
    Height = Source.Height;
    Width = Source.Width;
}

void TDragDropSettings::Assign(const TDragDropSettings& Source)
{
    OleAcceptFiles = Source.OleAcceptFiles;
    OleAcceptText = Source.OleAcceptText;
    OleAcceptURLs = Source.OleAcceptURLs;
    OleDropTarget = Source.OleDropTarget;
    OleDropSource = Source.OleDropSource;
    OleEntireRows = Source.OleEntireRows;
    OleInsertRows = Source.OleInsertRows;
    OleRemoveRows = Source.OleRemoveRows;
    OleColumnDragDrop = Source.OleColumnDragDrop;
    OleCopyAlways = Source.OleCopyAlways;
    OleColumnReorder = Source.OleColumnReorder;
    OleDropRTF = Source.OleDropRTF;
    ShowCells = Source.ShowCells;
}

void TDragScrollOptions::Assign(const TDragScrollOptions& Source)
{
    Active = Source.Active;
    FDelays = Source.FDelays;
    FMargins = Source.FMargins;
}
