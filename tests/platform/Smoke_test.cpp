#include <gtest/gtest.h>
#include <QWidget>

TEST(Smoke, OffscreenWidgetGrabs)
{
    QWidget w;
    w.resize(20, 10);
    EXPECT_EQ(w.grab().size(), QSize(20, 10));
}

#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>

namespace {
int InkOf(const QFont& font)
{
    QImage img(200, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(2, 30, QStringLiteral("Header Mnemonic"));
    }
    int ink = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            ink += 255 - qGray(img.pixel(x, y));
    return ink;
}
} // namespace

TEST(Smoke, BoldTahomaIsDrawnBolder)
{
    // Header rows and current cells are drawn in bold Tahoma: the bold must show.
    platform::InstallDesignFonts();
    if (!QFontDatabase::families().contains(QStringLiteral("Tahoma")))
        GTEST_SKIP() << "Tahoma is not installed";
    QFont regular(QStringLiteral("Tahoma"));
    regular.setPixelSize(11);
    QFont bold = regular;
    bold.setBold(true);
    EXPECT_GT(InkOf(bold), InkOf(regular) * 6 / 5);
}
