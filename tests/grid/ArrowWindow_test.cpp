// The arrow windows shown while a column or row is dragged.
#include "grid/ArrowWindow.h"

#include <QWidget>
#include <gtest/gtest.h>

TEST(ArrowWindow, ShapeColourAndVisibilityByDirection)
{
    // Inside: near the tip; outside: a corner of the bounding box beside the tip.
    struct Case { TArrowDirection dir; QPoint inside, outside; };
    const Case cases[] = {
        {arrUp, {5, 1}, {0, 0}},
        {arrDown, {5, 7}, {0, 8}},
        {arrLeft, {7, 5}, {8, 0}}, // its tip points right
        {arrRight, {1, 5}, {0, 0}}, // its tip points left
    };
    QWidget owner;
    for (const Case& c : cases) {
        TArrowWindow w(&owner, c.dir);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.parentWidget(), &owner);
        EXPECT_EQ(w.Color(), 0x00FF00);
        EXPECT_TRUE(w.mask().contains(c.inside)) << c.dir;
        EXPECT_FALSE(w.mask().contains(c.outside)) << c.dir;
    }
}
