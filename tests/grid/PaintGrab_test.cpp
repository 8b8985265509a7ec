// A table as the configurator's dialogs show it, grabbed for a person to look at: data check
// boxes, merged cells, an HTML cell, a sort indicator and a filter glyph.
#include "FeatureGrid.h"
#include "TestSupport.h"

#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

TEST(PaintGrab, GridFeatures)
{
    QWidget window;
    TZidIzavodUraz* g = kt_test::Feature_Grid(&window, "Tank level");

    const QImage img = g->grab().toImage();
    ASSERT_TRUE(img.save(kt_test::GrabPath("grid_features.png")));
    // Coarse samples: the selected cell in the selection colour, a plain cell white.
    const TRect sel = g->CellRect(2, 5);
    EXPECT_EQ(FromQColor(img.pixelColor(sel.Right - 4, sel.Bottom - 4)), 0xEACAB6);
    const TRect plain = g->CellRect(4, 5);
    EXPECT_EQ(FromQColor(img.pixelColor(plain.Right - 4, plain.Bottom - 4)), 0xFFFFFF);
}
