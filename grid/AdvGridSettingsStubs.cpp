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

void TBackGround::Assign(const TBackGround& Source)
{
    FTop = Source.FTop;
    FLeft = Source.FLeft;
    FDisplay = Source.FDisplay;
    FCells = Source.FCells;
    FColorTo = Source.FColorTo;
    FColor = Source.FColor;
}

void TGridProgressAppearance::Assign(const TGridProgressAppearance& Source)
{
    auto keep = OnChange;
    UnCompleteFontColor = Source.UnCompleteFontColor;
    CompleteColor = Source.CompleteColor;
    UnCompleteColor = Source.UnCompleteColor;
    CompleteFontColor = Source.CompleteFontColor;
    Stacked = Source.Stacked;
    ShowPercentage = Source.ShowPercentage;
    ShowBorder = Source.ShowBorder;
    CompletionSmooth = Source.CompletionSmooth;
    ShowGradient = Source.ShowGradient;
    Level2Perc = Source.Level2Perc;
    Level1Perc = Source.Level1Perc;
    Steps = Source.Steps;
    Level3Color = Source.Level3Color;
    Level1Color = Source.Level1Color;
    Level0Color = Source.Level0Color;
    Level3ColorTo = Source.Level3ColorTo;
    Level2ColorTo = Source.Level2ColorTo;
    Level0ColorTo = Source.Level0ColorTo;
    Level1ColorTo = Source.Level1ColorTo;
    BorderColor = Source.BorderColor;
    Level2Color = Source.Level2Color;
    Style = Source.Style;
    OnChange = keep;
}

void TControlLook::Assign(const TControlLook& Source)
{
    FCheckSize = Source.FCheckSize;
    FControlStyle = Source.FControlStyle;
    FColor = Source.FColor;
    FRadioSize = Source.FRadioSize;
    FFlatButton = Source.FFlatButton;
    FProgressMarginY = Source.FProgressMarginY;
    FProgressMarginX = Source.FProgressMarginX;
    FProgressXP = Source.FProgressXP;
    FDropDownAlwaysVisible = Source.FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = Source.FSpinButtonsAlwaysVisible;
    FNoDisabledCheckRadioLook = Source.FNoDisabledCheckRadioLook;
    FNoDisabledButtonLook = Source.FNoDisabledButtonLook;
    FCommentColor = Source.FCommentColor;
    FProgressBorderColor = Source.FProgressBorderColor;
    FFixedGradientFrom = Source.FFixedGradientFrom;
    FFixedGradientTo = Source.FFixedGradientTo;
    FFixedGradientMirrorFrom = Source.FFixedGradientMirrorFrom;
    FFixedGradientMirrorTo = Source.FFixedGradientMirrorTo;
    FixedGradientHoverFrom = Source.FixedGradientHoverFrom;
    FixedGradientHoverTo = Source.FixedGradientHoverTo;
    FixedGradientHoverMirrorFrom = Source.FixedGradientHoverMirrorFrom;
    FixedGradientHoverMirrorTo = Source.FixedGradientHoverMirrorTo;
    FixedGradientHoverBorder = Source.FixedGradientHoverBorder;
    FixedGradientDownFrom = Source.FixedGradientDownFrom;
    FixedGradientDownTo = Source.FixedGradientDownTo;
    FixedGradientDownMirrorFrom = Source.FixedGradientDownMirrorFrom;
    FixedGradientDownMirrorTo = Source.FixedGradientDownMirrorTo;
    FixedGradientDownBorder = Source.FixedGradientDownBorder;
    FixedDropDownButton = Source.FixedDropDownButton;
    CheckAlwaysActive = Source.CheckAlwaysActive;
    RadioAlwaysActive = Source.RadioAlwaysActive;
    DropDownCount = Source.DropDownCount;
    HintMaxWidth = Source.HintMaxWidth;
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

void TBalloonSettings::Assign(const TBalloonSettings& Source)
{
    FEnable = Source.FEnable;
    TextColor = Source.TextColor;
    BackgroundColor = Source.BackgroundColor;
    AutoHideDelay = Source.AutoHideDelay;
    InitialDelay = Source.InitialDelay;
    ReshowDelay = Source.ReshowDelay;
    Transparency = Source.Transparency;
}

void TBalloonSettings::SetEnable(bool Value)
{
    if (Value == FEnable)
        return;
    FEnable = Value;
    if (OnEnableChange)
        OnEnableChange();
}

void TShowModified::Assign(const TShowModified& Source)
{
    FEnabled = Source.FEnabled;
    FColor = Source.FColor;
}
