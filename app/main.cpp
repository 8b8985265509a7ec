// Creates the application and the windows in their order, then runs the loop.
#include "core/UAbout.h"
#include "core/UBACnet_EDE_File.h"
#include "core/UBoot.h"
#include "core/UEds.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/UProfibus_GSD.h"
#include "core/USNMP_MIB.h"
#include "core/USoftOptions.h"
#include "core/UVelmoraeFirmWare.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);

    // The windows are created in their fixed order, each create handler running before the next
    // window exists: the main window first, so the language table, the folders, the settings and
    // the configuration paths are ready when the others apply their texts. A window of a later
    // unit is created here in its place and registers itself with the main window.
    TFVelmoraeFirmWare* main = Create_FVelmoraeFirmWare();
    Create_FAbout(main);
    Create_FNew_Project(main);
    Create_FOpenConf(main);
    Create_FSoftOptions(main);
    Create_FParGen(main);
    Create_FBoot(main);

    // The generators are commands of the main window's dispatcher, not windows of their own.
    Register_UProfibus_GSD();
    Register_UEds();
    Register_USNMP_MIB();
    Register_UBACnet_EDE_File();

    main->Show();
    return app.exec();
}
