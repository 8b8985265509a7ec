// The font a cell's own properties put on the painting font: each setting only where the cell
// sets it, so an unset one leaves the grid's font as it is.
#include "grid/BaseGrid.h"

#include "TestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace {

TFont BaseFont()
{
    TFont f;
    f.SetName(QStringLiteral("Tahoma"));
    f.SetSize(8);
    f.SetColor(clBlack);
    f.SetStyle(TFontStyles());
    return f;
}

TEST(CellFont, UnsetPropertiesLeaveTheFont)
{
    TCellProperties p(nullptr, 1, 1);
    TFont f = BaseFont();
    p.ApplyFont(f);
    EXPECT_EQ(f.Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Color(), clBlack);
    EXPECT_EQ(f.Style(), TFontStyles());
}

TEST(CellFont, EachSetPropertyReplacesItsPartOnly)
{
    struct Case {
        const char* name;
        std::function<void(TCellProperties&)> set;
        std::function<void(const TFont&)> check;
    };
    const std::vector<Case> cases = {
        {"color", [](TCellProperties& p) { p.SetFontColor(clRed); },
         [](const TFont& f) {
             EXPECT_EQ(f.Color(), clRed);
             EXPECT_EQ(f.Size(), 8);
         }},
        {"style", [](TCellProperties& p) { p.SetFontStyle(TFontStyles(fsBold)); },
         [](const TFont& f) {
             EXPECT_EQ(f.Style(), TFontStyles(fsBold));
             EXPECT_EQ(f.Color(), clBlack);
         }},
        {"size", [](TCellProperties& p) { p.SetFontSize(14); },
         [](const TFont& f) {
             EXPECT_EQ(f.Size(), 14);
             EXPECT_EQ(f.Name(), QStringLiteral("Tahoma"));
         }},
        {"name", [](TCellProperties& p) { p.SetFontName(QStringLiteral("Courier New")); },
         [](const TFont& f) {
             EXPECT_EQ(f.Name(), QStringLiteral("Courier New"));
             EXPECT_EQ(f.Style(), TFontStyles());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCellProperties p(nullptr, 1, 1);
        c.set(p);
        TFont f = BaseFont();
        p.ApplyFont(f);
        c.check(f);
    }
}

} // namespace
