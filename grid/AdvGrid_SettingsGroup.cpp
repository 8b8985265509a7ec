// The grouping settings of the string grid.
#include "grid/AdvGrid_SettingsGroup.h"

void TGrouping::Assign(const TGrouping& Source)
{
    if (&Source == this)
        return;
    GroupCountFormat = Source.GroupCountFormat;
    HeaderColor = Source.HeaderColor;
    HeaderColorTo = Source.HeaderColorTo;
    HeaderTextColor = Source.HeaderTextColor;
    HeaderUnderline = Source.HeaderUnderline;
    MergeHeader = Source.MergeHeader;
    MergeSummary = Source.MergeSummary;
    ShowGroupCount = Source.ShowGroupCount;
    SummaryColor = Source.SummaryColor;
    SummaryColorTo = Source.SummaryColorTo;
    SummaryTextColor = Source.SummaryTextColor;
    SummaryLine = Source.SummaryLine;
    AutoCheckGroup = Source.AutoCheckGroup;
    AutoSelectGroup = Source.AutoSelectGroup;
}
