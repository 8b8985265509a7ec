#include <gtest/gtest.h>
#include <QWidget>

TEST(Smoke, OffscreenWidgetGrabs)
{
    QWidget w;
    w.resize(20, 10);
    EXPECT_EQ(w.grab().size(), QSize(20, 10));
}
