#pragma once
// A program folder of its own for the tests of the main window and the start: the program options
// at their defaults, no configuration open and the scripted services; all of it put back after.
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/ScriptedServices.h"

#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class Program_Folder_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        Set_Program_Folder_Override(FDir.path());
        Reset_Program_Options();
        Active_Conf_Path.clear();
    }
    // The last step of a tear-down: the executable's folder, default options and texts again.
    static void Restore_Program()
    {
        Set_Program_Folder_Override(QString());
        Reset_Program_Options();
        Active_Conf_Path.clear();
        Load_Default_Language();
    }

    QTemporaryDir FDir;
    platform::ScriptedServices FServices;
    platform::ScopedServices FScope{FServices};
    TFVelmoraeFirmWare* FMain = nullptr;
    QStringList Shown;
};
