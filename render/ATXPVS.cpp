// The visual-style entry-point table of the drop-down controls.
#include "render/ATXPVS.h"

namespace ATXPVS {

static TUnitVisualStyles Styles;  // constant-initialised; the table loads on first use
TVisualStyleTable& Table() { return Styles.Table(); }
void Reload() { Styles.Reload(); }
bool ThemesAvailable() { return Styles.ThemesAvailable(); }

} // namespace ATXPVS
