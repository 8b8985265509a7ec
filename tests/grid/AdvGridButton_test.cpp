// The search panel's push button: check and group behaviour, glyph derivatives, looks, painting.
#include "grid/AdvGridButton.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

QRgb Rgb(TColor c) { return ToQColor(c).rgb() & 0xFFFFFF; }

QImage Render(TAdvGridButton& b)
{
    QImage img(b.width(), b.height(), QImage::Format_RGB32);
    img.fill(Qt::black);
    TCanvas c(&img);
    b.Paint(c);
    return img;
}

} // namespace

TEST(AdvGridButton, CheckStyleTogglesOnlyOnClicksInside)
{
    QWidget parent;
    auto* b = new TAdvGridButton(&parent);
    b->Loaded();
    b->SetStyle(tasCheck);
    int clicks = 0;
    b->OnClick = [&](QObject*) { ++clicks; };
    b->MouseDown(Qt::LeftButton, 5, 5);
    EXPECT_EQ(b->State(), bsDown);
    b->MouseUp(Qt::LeftButton, 5, 5);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 1);
    Render(*b);
    EXPECT_EQ(b->State(), bsDown); // a down check button shows pressed
    b->MouseDown(Qt::LeftButton, 5, 5);
    b->MouseUp(Qt::LeftButton, 50, 50); // released outside
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(clicks, 1);
    b->MouseDown(Qt::LeftButton, 5, 5);
    b->MouseUp(Qt::LeftButton, b->width(), b->height()); // right and bottom edges count as inside
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(clicks, 2);
    // a plain button never stays down
    TAdvGridButton plain(&parent);
    plain.SetDown(true);
    EXPECT_FALSE(plain.Down());
}

TEST(AdvGridButton, GroupedButtonsExcludeEachOther)
{
    QWidget parent;
    auto* a = new TAdvGridButton(&parent);
    auto* b = new TAdvGridButton(&parent);
    auto* other = new TAdvGridButton(&parent);
    for (TAdvGridButton* x : {a, b, other})
        x->Loaded();
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    other->SetGroupIndex(2);
    other->SetDown(true);
    a->MouseDown(Qt::LeftButton, 3, 3);
    a->MouseUp(Qt::LeftButton, 3, 3);
    EXPECT_TRUE(a->Down());
    EXPECT_EQ(a->State(), bsExclusive);
    b->MouseDown(Qt::LeftButton, 3, 3);
    b->MouseUp(Qt::LeftButton, 3, 3);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_EQ(a->State(), bsUp);
    EXPECT_TRUE(other->Down()); // another group is left alone
    // without AllowAllUp a down button stays down when clicked again
    b->MouseDown(Qt::LeftButton, 3, 3);
    b->MouseUp(Qt::LeftButton, 3, 3);
    EXPECT_TRUE(b->Down());
    b->SetAllowAllUp(true);
    EXPECT_TRUE(a->AllowAllUp()); // the group takes the sender's setting
    b->MouseDown(Qt::LeftButton, 3, 3);
    b->MouseUp(Qt::LeftButton, 3, 3);
    EXPECT_FALSE(b->Down());
}

TEST(AdvGridButton, GlyphMakesGreyDisabledCopyAndShade)
{
    TAdvGridButton b;
    b.Loaded();
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(qRgb(0, 0, 0)); // bottom-left black: the transparent colour
    img.setPixel(0, 0, qRgb(255, 255, 255));
    img.setPixel(1, 0, qRgb(30, 60, 90));
    b.SetGlyph(TBitmap(img));
    const QImage dis = b.GlyphDisabled().Image();
    EXPECT_EQ(dis.pixel(0, 0) & 0xFFFFFF, qRgb(223, 223, 223) & 0xFFFFFF);
    EXPECT_EQ(dis.pixel(1, 0) & 0xFFFFFF, qRgb(126, 126, 126) & 0xFFFFFF); // 60 / 2 + 96
    EXPECT_EQ(dis.pixel(2, 1) & 0xFFFFFF, qRgb(96, 96, 96) & 0xFFFFFF);
    b.SetShaded(true);
    const QImage shade = b.GlyphShade().Image();
    EXPECT_EQ(shade.pixel(0, 0) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(shade.pixel(2, 0) & 0xFFFFFF, 0u);
}

TEST(AdvGridButton, MarginAndLooks)
{
    TAdvGridButton b;
    b.SetMargin(-2);
    EXPECT_EQ(b.Margin(), -1);
    b.SetMargin(3);
    EXPECT_EQ(b.Margin(), 3);
    // without visual styles the theme adaptation picks look 1
    b.SetAutoThemeAdapt(true);
    EXPECT_EQ(b.Look(), 1);
    EXPECT_EQ(b.ColorHot(), 15651521);
    EXPECT_EQ(b.BorderHotColor(), 12937777);
    b.SetLook(0);
    EXPECT_TRUE(b.Rounded());
    EXPECT_EQ(b.ColorTo(), 14674923);
    b.SetLook(6);
    EXPECT_FALSE(b.Rounded());
    EXPECT_EQ(b.ColorCheckedTo(), 10280429);
    b.SetLook(9); // unknown looks change nothing
    EXPECT_EQ(b.Look(), 6);
}

TEST(AdvGridButton, FlatFaceWithBorder)
{
    TAdvGridButton b;
    b.Loaded();
    b.resize(30, 20);
    b.SetColor(0x00C000);
    b.SetBorderColor(0x0000C0);
    b.SetCaption(QStringLiteral("Go"));
    const QImage img = Render(b);
    img.save(kt_test::GrabPath("advgridbutton_flat.png"));
    // BorderDownColor clNone shrinks the face by 1: border at 1, face inside, outside untouched
    EXPECT_EQ(img.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(img.pixel(1, 10) & 0xFFFFFF, Rgb(0x0000C0));
    EXPECT_EQ(img.pixel(28, 10) & 0xFFFFFF, Rgb(0x0000C0));
    EXPECT_EQ(img.pixel(3, 3) & 0xFFFFFF, Rgb(0x00C000));
}

TEST(AdvGridButton, GradientBands)
{
    QImage img(16, 32, QImage::Format_RGB32);
    img.fill(Qt::black);
    TCanvas c(&img);
    DrawButtonGradient(c, 0x000000, 0x0000FF, false, TRect(0, 0, 16, 32), 16, clNone);
    // band i: red = round(i * 255 / 16), rows from round(i * 2)
    EXPECT_EQ(qRed(img.pixel(5, 0)), 0);
    EXPECT_EQ(qRed(img.pixel(5, 2)), 16);
    EXPECT_EQ(qRed(img.pixel(5, 31)), 239);
    DrawButtonGradient(c, 0xFFFFFF, 0xFFFFFF, true, TRect(0, 0, 16, 32), 0, 0x00FF00);
    EXPECT_EQ(img.pixel(0, 5) & 0xFFFFFF, Rgb(0x00FF00));
    EXPECT_EQ(img.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);
}
