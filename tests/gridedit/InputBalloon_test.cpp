// Balloons: one window of our own whatever the Enable switch went through, the settings' copy
// and defaults, the balloon of the cell under the mouse; the modified-cell marking's repaint.
#include "tests/gridedit/GridFixture.h"

#include "gridedit/BalloonWindow.h"

#include <QDir>
#include <gtest/gtest.h>

using kt_test::GridFixture;

TEST(InputBalloon, OneWindowAfterEnableOffAndOn)
{
    GridFixture f(4, 5);
    EXPECT_EQ(f.grid->BalloonWindow(), nullptr);
    f.grid->Balloon().SetEnable(true);
    ASSERT_NE(f.grid->BalloonWindow(), nullptr);
    EXPECT_TRUE(f.grid->BalloonWindow()->windowFlags().testFlag(Qt::ToolTip));
    f.grid->Balloon().SetEnable(false);
    EXPECT_EQ(f.grid->BalloonWindow(), nullptr);
    EXPECT_TRUE(f.grid->findChildren<QWidget*>(QStringLiteral("GridBalloon")).isEmpty());
    f.grid->Balloon().SetEnable(true);
    f.grid->BalloonInit(); // a second start changes nothing
    EXPECT_EQ(f.grid->findChildren<QWidget*>(QStringLiteral("GridBalloon")).size(), 1);
    f.grid->Balloon().SetEnable(false);
    f.grid->Balloon().SetEnable(true);
    EXPECT_EQ(f.grid->findChildren<QWidget*>(QStringLiteral("GridBalloon")).size(), 1);
}

TEST(InputBalloon, SettingsDefaultsAndCopy)
{
    TBalloonSettings a, b;
    EXPECT_EQ(a.InitialDelay, -1);
    EXPECT_EQ(a.ReshowDelay, -1);
    EXPECT_EQ(a.AutoHideDelay, -1);
    EXPECT_FALSE(a.Enable());
    int calls = 0;
    b.OnEnableChange = [&] { ++calls; };
    a.SetEnable(true);
    a.Transparency = 40;
    a.InitialDelay = 10;
    b.Assign(a);
    EXPECT_TRUE(b.Enable());
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(b.Transparency, 0);
    EXPECT_EQ(b.InitialDelay, 10);

    TShowModified m;
    int changes = 0;
    m.OnChange = [&] { ++changes; };
    m.SetEnabled(true);
    EXPECT_EQ(changes, 0); // the switch alone repaints nothing
    m.SetColor(0x00FF00);
    EXPECT_EQ(changes, 1);
}

TEST(InputBalloon, TheCellUnderTheMouseShowsItsBalloon)
{
    GridFixture f(4, 5);
    f.grid->SetCells(2, 2, "A longer cell text shown in a balloon");
    f.grid->OnCellBalloon = [](QObject*, int, int, QString& title, QString&, int& icon) {
        title = "Cell";
        icon = 1;
    };
    f.grid->Balloon().InitialDelay = 0;
    f.grid->Balloon().Transparency = 0;
    f.grid->Balloon().SetEnable(true);
    auto* balloon = static_cast<TBalloonWindow*>(f.grid->BalloonWindow());
    ASSERT_NE(balloon, nullptr);
    const TRect r = f.grid->CellRect(2, 2);
    QTest::mouseMove(f.grid->viewport(), QPoint(r.Left + 10, r.Top + 5));
    QTest::qWait(30);
    GridFixture::Pump();
    ASSERT_TRUE(balloon->isVisible());
    EXPECT_EQ(balloon->Text(), "A longer cell text shown in a balloon");
    EXPECT_EQ(balloon->Title(), "Cell");
    QDir().mkpath("/tmp/grabs18b");
    EXPECT_TRUE(balloon->grab().toImage().save("/tmp/grabs18b/balloon.png"));
    // Leaving the cell closes it.
    const TRect o = f.grid->CellRect(1, 3);
    QTest::mouseMove(f.grid->viewport(), QPoint(o.Left + 10, o.Top + 5));
    GridFixture::Pump();
    EXPECT_FALSE(balloon->isVisible());
}
