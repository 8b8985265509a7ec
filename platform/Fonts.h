#pragma once
// The fonts the windows were designed for. Column widths, header heights and window sizes were
// made for the metrics of the design's UI font (Tahoma); a much wider stand-in cuts header texts.
#include <QString>
#include <QStringList>

namespace platform {


// Folders searched for the Tahoma files when fontconfig does not know the family.
QStringList DefaultFontDirs();

// Makes the design's font names resolve: registers a metric-compatible Tahoma from the system's
// font folders when fontconfig does not list one, and maps the names of the design's other UI
// fonts onto the nearest installed face. Call once after the application object exists.
// Returns the family that "Tahoma" now resolves to.
QString InstallDesignFonts(const QStringList& searchDirs = DefaultFontDirs());

} // namespace platform
