// Test entry: one QApplication on the offscreen platform for every suite.
#include "platform/Fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // The windows and grids are measured with the design's fonts, as the program runs them.
    platform::InstallDesignFonts();
    return RUN_ALL_TESTS();
}
