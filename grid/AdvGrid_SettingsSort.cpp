// The sort settings of the string grid.
#include "grid/AdvGrid_SettingsSort.h"

#include "grid/AdvGrid.h"

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


void TSortSettings::RepaintHeader()
{
    if (FGrid && FGrid->FixedRows() > 0)
        FGrid->RepaintRow(FGrid->FixedRows() - 1);
}

void TSortSettings::SetHeaderColor(TColor Value)
{
    if (Value == FHeaderColor)
        return;
    FHeaderColor = Value;
    RepaintHeader();
}

void TSortSettings::SetHeaderColorTo(TColor Value)
{
    if (Value == FHeaderColorTo)
        return;
    FHeaderColorTo = Value;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColor(TColor Value)
{
    if (Value == FHeaderMirrorColor)
        return;
    FHeaderMirrorColor = Value;
    RepaintHeader();
}

void TSortSettings::SetHeaderMirrorColorTo(TColor Value)
{
    if (Value == FHeaderMirrorColorTo)
        return;
    FHeaderMirrorColorTo = Value;
    RepaintHeader();
}
