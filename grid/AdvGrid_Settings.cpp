// The small settings objects of the string grid: copies and the few writes with an effect.
#include "grid/AdvGrid_Settings.h"

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
