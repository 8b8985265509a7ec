// The visual-style entry-point table of the drop-down controls.
#include "render/ATXPVS.h"

namespace ATXPVS {

TVisualStyleTable& Table()
{
    static TVisualStyleTable table;
    static bool started = false;
    if (!started) {
        started = true;
        LoadVisualStyleTable(table, SystemVisualStyleResolver());
    }
    return table;
}

void Reload()
{
    TVisualStyleTable& t = Table();
    UnloadVisualStyleTable(t);
    LoadVisualStyleTable(t, SystemVisualStyleResolver());
}

bool ThemesAvailable()
{
    return Table().Loaded;
}

} // namespace ATXPVS
