// The search panel's check box: toggling by mouse and keys, read-only, state writes.
#include "grid/AdvCheckBox.h"
#include "platform/Keys.h"
#include "TestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace platform::keys;

TEST(AdvCheckBox, MouseAndSpaceToggleThenClick)
{
    TAdvCheckBox cb;
    EXPECT_EQ(cb.Caption(), QStringLiteral("TAdvCheckBox"));
    EXPECT_EQ(cb.width(), 98);
    std::vector<bool> seen;
    cb.OnClick = [&](QObject*) { seen.push_back(cb.Checked()); };
    cb.MouseDown(Qt::LeftButton, 5, 5);
    EXPECT_TRUE(cb.IsDown());
    cb.MouseMove(500, 5);
    EXPECT_FALSE(cb.IsDown()); // pressed look only inside
    cb.MouseUp(Qt::LeftButton, 98, 20); // edges count as inside
    cb.MouseDown(Qt::LeftButton, 5, 5);
    cb.MouseUp(Qt::LeftButton, 200, 5); // outside: nothing
    cb.MouseUp(Qt::LeftButton, 5, 5);   // no press began here: nothing
    cb.KeyDown(VK_SPACE);
    EXPECT_TRUE(cb.IsDown());
    cb.KeyUp(VK_SPACE);
    EXPECT_EQ(seen, (std::vector<bool>{true, false})); // the toggle comes before the click
}

TEST(AdvCheckBox, ReadOnlyKeepsStateButClicks)
{
    TAdvCheckBox cb;
    cb.SetState(cbGrayed);
    EXPECT_FALSE(cb.Checked());
    cb.SetReadOnly(true);
    int clicks = 0;
    cb.OnClick = [&](QObject*) { ++clicks; };
    cb.MouseDown(Qt::LeftButton, 5, 5);
    cb.MouseUp(Qt::LeftButton, 5, 5);
    EXPECT_EQ(cb.State(), cbGrayed);
    EXPECT_EQ(clicks, 1);
    cb.SetChecked(true);
    EXPECT_EQ(cb.State(), cbChecked);
    cb.SetCaption(QStringLiteral("Match case"));
    QImage img(cb.width(), cb.height(), QImage::Format_RGB32);
    TCanvas c(&img);
    cb.Paint(c);
    img.save(kt_test::GrabPath("advcheckbox.png"));
}
