// The small settings objects of the string grid: copies and the few writes with an effect.
#include "grid/AdvGrid_Settings.h"

#include "grid/AdvGrid.h"
#include "grid/OleDragDrop.h"

void TDragDropSettings::Assign(const TDragDropSettings& Source)
{
    FOleDropRTF = Source.FOleDropRTF;
    FOleAcceptText = Source.FOleAcceptText;
    FOleEntireRows = Source.FOleEntireRows;
    FOleDropSource = Source.FOleDropSource;
    FOleRemoveRows = Source.FOleRemoveRows;
    FOleAcceptFiles = Source.FOleAcceptFiles;
    FOleAcceptURLs = Source.FOleAcceptURLs;
    FOleDropTarget = Source.FOleDropTarget;
    FOleInsertRows = Source.FOleInsertRows;
    FOleAppendRows = Source.FOleAppendRows;
    FOleCopyAlways = Source.FOleCopyAlways;
    FOleColumnDragDrop = Source.FOleColumnDragDrop;
    FOleColumnReorder = Source.FOleColumnReorder;
    FOleColumnsOnly = Source.FOleColumnsOnly;
    FShowCells = Source.FShowCells;
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
