// The grouping settings of the string grid.
#include "grid/AdvGrid_SettingsGroup.h"

void TGrouping::Assign(const TGrouping& Source)
{
    if (&Source == this)
        return;
    TGroupingValues::operator=(Source);
}
