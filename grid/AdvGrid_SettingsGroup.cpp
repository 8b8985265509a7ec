// The grouping settings of the string grid.
#include "grid/AdvGrid_SettingsGroup.h"

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

