// Drawing one part through a visual-style table: the library is asked to open the class's style,
// draw the part and close the style again; without a table or a style nothing is drawn.
#include "render/AdvXPVS.h"

#include <QImage>
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

namespace {

std::vector<QString> gCalls;
int gTheme = 1;

HTHEME FakeOpen(QWidget*, const char16_t* cls)
{
    gCalls.push_back(QStringLiteral("open ") + QString::fromUtf16(cls));
    return cls == std::u16string_view(u"none") ? nullptr : &gTheme;
}
HRESULT FakeClose(HTHEME theme)
{
    gCalls.push_back(theme == &gTheme ? QStringLiteral("close") : QStringLiteral("close ?"));
    return S_OK;
}
HRESULT FakeDraw(HTHEME theme, TCanvas*, int part, int state, const TRect* r, const TRect* clip)
{
    gCalls.push_back(QStringLiteral("draw %1 %2 %3,%4,%5,%6%7%8")
                         .arg(part)
                         .arg(state)
                         .arg(r->Left)
                         .arg(r->Top)
                         .arg(r->Right)
                         .arg(r->Bottom)
                         .arg(clip ? QStringLiteral(" clipped") : QString())
                         .arg(theme == &gTheme ? QString() : QStringLiteral(" ?")));
    return S_OK;
}

} // namespace

TEST(VisualStyleTable, DrawPart)
{
    QImage img(20, 20, QImage::Format_ARGB32);
    TCanvas canvas(&img);
    TVisualStyleTable t;
    t.Entries[0] = reinterpret_cast<void*>(&FakeOpen);
    t.Entries[1] = reinterpret_cast<void*>(&FakeClose);
    t.Entries[2] = reinterpret_cast<void*>(&FakeDraw);

    gCalls.clear();
    EXPECT_FALSE(t.DrawPart(nullptr, canvas, u"button", 1, 2, TRect(1, 2, 3, 4)));  // not loaded
    EXPECT_TRUE(gCalls.empty());

    t.Loaded = true;
    EXPECT_TRUE(t.DrawPart(nullptr, canvas, u"button", 1, 2, TRect(1, 2, 3, 4)));
    EXPECT_EQ(gCalls, (std::vector<QString>{"open button", "draw 1 2 1,2,3,4", "close"}));

    gCalls.clear();
    EXPECT_FALSE(t.DrawPart(nullptr, canvas, u"none", 1, 2, TRect(1, 2, 3, 4)));  // no such style
    EXPECT_EQ(gCalls, (std::vector<QString>{"open none"}));
}
