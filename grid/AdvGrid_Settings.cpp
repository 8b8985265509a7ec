// The small settings objects of the string grid: copies and the few writes with an effect.
#include "grid/AdvGrid_Settings.h"

#include "grid/AdvGrid.h"
#include "grid/OleDragDrop.h"

void TDragDropSettings::Assign(const TDragDropSettings& Source)
{
    TDragDropSettingsValues::operator=(Source);
}

void TDragDropSettings::SetOleDropRTF(bool Value)
{
    FOleDropRTF = Value;
    SetDropRTFAllowed(Value);
}

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (FGrid)
        FGrid->SetOleDropTargetRegistered(Value);
}

void TDragScrollOptions::Assign(const TDragScrollOptions& Source)
{
    Active = Source.Active;
    FDelays = Source.FDelays;
    FMargins = Source.FMargins;
}
