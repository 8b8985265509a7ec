// TGridProgressAppearance: copies of the progress-bar settings.
#include "grid/GridProgressAppearance.h"

void TGridProgressAppearance::Assign(const TGridProgressAppearance& Source)
{
    if (&Source == this)
        return;
    TGridProgressAppearanceValues::operator=(Source);
    Changed();
}
