#pragma once
// The second visual-style entry-point table, used by the drop-down buttons and the calculator
// drop-down; loaded the same way as the first (see AdvXPVS.h).
#include "render/AdvXPVS.h"

namespace ATXPVS {
TVisualStyleTable& Table();
void Reload();
bool ThemesAvailable();
} // namespace ATXPVS
