#pragma once
// Visual-style entry points, looked up by name at start-up from the visual-style library.
//
// Two units keep a table each (AdvXPVS for the grid and its editors, ATXPVS for the drop-down
// buttons and the calculator); both are loaded the same way. Where the library or any one of its
// entry points is missing the table stays unloaded and every entry point empty: callers draw
// their unthemed branch. Test Loaded() (or ThemesAvailable()) before calling an entry point.
#include "platform/Canvas.h"
#include "platform/Graphics.h"

#include <QString>
#include <functional>

class QWidget;

// Stand-ins for the handle types of the visual-style library.
using HTHEME = void*;
using HRESULT = long;
constexpr HRESULT S_OK = 0;

// The entry points the drawing code calls, with stand-in types; the others are kept as plain
// addresses, looked up to decide whether the library is complete.
using TOpenThemeData = HTHEME (*)(QWidget* window, const char16_t* classList);
using TCloseThemeData = HRESULT (*)(HTHEME theme);
using TDrawThemeBackground = HRESULT (*)(HTHEME theme, TCanvas* canvas, int part, int state, const TRect* rect,
                                         const TRect* clip);
using TIsThemeActive = bool (*)();
using TGetCurrentThemeName = HRESULT (*)(char16_t* fileName, int fileChars, char16_t* colorName, int colorChars,
                                         char16_t* sizeName, int sizeChars);

// Number of entry points of a table, and their names in lookup order.
constexpr int VisualStyleEntryCount = 45;
extern const char* const VisualStyleEntryNames[VisualStyleEntryCount];

// Finds an entry point of the visual-style library by name; null when absent.
using TVisualStyleResolver = std::function<void*(const char* name)>;

struct TVisualStyleTable {
    bool Loaded = false;
    void* Entries[VisualStyleEntryCount] = {};

    // Typed views of the entry points the drawing code uses (null while not loaded).
    TOpenThemeData OpenThemeData() const { return reinterpret_cast<TOpenThemeData>(Entries[0]); }
    TCloseThemeData CloseThemeData() const { return reinterpret_cast<TCloseThemeData>(Entries[1]); }
    TDrawThemeBackground DrawThemeBackground() const { return reinterpret_cast<TDrawThemeBackground>(Entries[2]); }
    TIsThemeActive IsThemeActive() const { return reinterpret_cast<TIsThemeActive>(Entries[34]); }
    TGetCurrentThemeName GetCurrentThemeName() const
    {
        return reinterpret_cast<TGetCurrentThemeName>(Entries[41]);
    }
    void* Entry(const char* name) const;
    // Draws a part of a window class's visual style into r of the canvas; false when the table
    // is not loaded or the class has no style.
    bool DrawPart(QWidget* window, TCanvas& canvas, const char16_t* cls, int part, int state, const TRect& r) const;
};

// Fills `table` through `resolve` unless it is loaded already. A missing library (null resolver)
// or a missing entry point leaves the table unloaded with every entry empty.
void LoadVisualStyleTable(TVisualStyleTable& table, const TVisualStyleResolver& resolve);
// Clears the table (the unit's shut-down).
void UnloadVisualStyleTable(TVisualStyleTable& table);

// The resolver of the system's visual-style library: empty when the platform has none. Tests put
// a fake library in place (and take it away with an empty function).
TVisualStyleResolver SystemVisualStyleResolver();
void SetVisualStyleResolverForTest(const TVisualStyleResolver& resolve);

// The table of one unit, loaded through the system resolver on first use.
class TUnitVisualStyles {
public:
    TVisualStyleTable& Table();
    // Loads the table again from the current resolver (tests).
    void Reload();
    bool ThemesAvailable() { return Table().Loaded; }

private:
    TVisualStyleTable table_;
    bool started_ = false;
};

namespace AdvXPVS {
// The table of this unit, loaded on first use.
TVisualStyleTable& Table();
// Loads the table again from the current resolver (tests).
void Reload();
bool ThemesAvailable();
} // namespace AdvXPVS
