// The visual-style entry-point table of the grid and its editors, and the shared loader.
#include "render/AdvXPVS.h"

#include "platform/PlatformInfo.h"

#include <QLibrary>
#include <cstring>
#include <memory>

const char* const VisualStyleEntryNames[VisualStyleEntryCount] = {
    "OpenThemeData", "CloseThemeData", "DrawThemeBackground", "DrawThemeText",
    "GetThemeBackgroundContentRect", "GetThemeBackgroundExtent", "GetThemeTextExtent", "GetThemeTextMetrics",
    "GetThemeBackgroundRegion", "HitTestThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent", "GetThemeColor", "GetThemeMetric",
    "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
    "GetThemeRect", "GetThemeMargins", "GetThemeIntList", "SetWindowTheme", "GetThemeFilename",
    "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool", "GetThemeSysSize", "GetThemeSysFont",
    "GetThemeSysString", "GetThemeSysInt", "IsThemeActive", "IsAppThemed", "GetWindowTheme",
    "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled", "GetThemeAppProperties",
    "SetThemeAppProperties", "GetCurrentThemeName", "GetThemeDocumentationProperty",
    "DrawThemeParentBackground", "EnableTheming",
};

void* TVisualStyleTable::Entry(const char* name) const
{
    for (int i = 0; i < VisualStyleEntryCount; ++i)
        if (std::strcmp(VisualStyleEntryNames[i], name) == 0)
            return Entries[i];
    return nullptr;
}

void LoadVisualStyleTable(TVisualStyleTable& table, const TVisualStyleResolver& resolve)
{
    if (table.Loaded)
        return;
    if (!resolve)
        return;
    void* found[VisualStyleEntryCount] = {};
    for (int i = 0; i < VisualStyleEntryCount; ++i) {
        found[i] = resolve(VisualStyleEntryNames[i]);
        // An incomplete library counts as no visual styles at all.
        if (!found[i])
            return;
    }
    std::memcpy(table.Entries, found, sizeof(found));
    table.Loaded = true;
}

void UnloadVisualStyleTable(TVisualStyleTable& table)
{
    table = TVisualStyleTable();
}

namespace {

TVisualStyleResolver& TestResolver()
{
    static TVisualStyleResolver resolver;
    return resolver;
}

} // namespace

bool TVisualStyleTable::DrawPart(QWidget* window, TCanvas& canvas, const char16_t* cls, int part, int state,
                                 const TRect& r) const
{
    if (!Loaded)
        return false;
    HTHEME theme = OpenThemeData()(window, cls);
    if (!theme)
        return false;
    DrawThemeBackground()(theme, &canvas, part, state, &r, nullptr);
    CloseThemeData()(theme);
    return true;
}

TVisualStyleResolver SystemVisualStyleResolver()
{
    if (TestResolver())
        return TestResolver();
    if (!platform::PlatformInfo().VisualStylesAvailable)
        return {};
    auto lib = std::make_shared<QLibrary>(QStringLiteral("uxtheme"));
    if (!lib->load())
        return {};
    return [lib](const char* name) -> void* {
        return reinterpret_cast<void*>(lib->resolve(name));
    };
}

void SetVisualStyleResolverForTest(const TVisualStyleResolver& resolve)
{
    TestResolver() = resolve;
}

TVisualStyleTable& TUnitVisualStyles::Table()
{
    if (!started_) {
        started_ = true;
        LoadVisualStyleTable(table_, SystemVisualStyleResolver());
    }
    return table_;
}

void TUnitVisualStyles::Reload()
{
    TVisualStyleTable& t = Table();
    UnloadVisualStyleTable(t);
    LoadVisualStyleTable(t, SystemVisualStyleResolver());
}

namespace AdvXPVS {

static TUnitVisualStyles Styles;  // constant-initialised; the table loads on first use
TVisualStyleTable& Table() { return Styles.Table(); }
void Reload() { Styles.Reload(); }
bool ThemesAvailable() { return Styles.ThemesAvailable(); }

} // namespace AdvXPVS
