#include "gridedit/GridCheckBox.h"

#include "grid/AdvGrid.h"

TGridCheckBox::TGridCheckBox(TVerIvovavOzed* AOwner) : QCheckBox(AOwner ? AOwner->viewport() : nullptr), FGrid(AOwner)
{
    setEnabled(false);
    hide();
}
