// The search footer's layout as the grid drop-down sizes its list by it. Kept apart: the
// footer's buttons and the drop-down's own button styles share enumerator names.
#include "grid/AdvGrid.h"
#include "griddata/SearchPanel.h"

#include <algorithm>

namespace AdvCustomGridDropDown {

int SearchFooterControlsRight(TVerIvovavOzed& Grid)
{
    TSearchPanel* panel = Grid.SearchPanel();
    int right = 0;
    if (panel)
        for (QWidget* c : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!c->isHidden())
                right = std::max(right, c->geometry().right() + 1);
    return right;
}

} // namespace AdvCustomGridDropDown
