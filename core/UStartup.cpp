#include "core/UStartup.h"

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
#include "tables/UBACnetSlaveSetAccess.h"
#include "tables/UBACnet_Eng_Unit.h"
#include "tables/UIEC61850_Variables.h"
#include "tables/UKNXAccess.h"
#include "tables/UMQTT_Set_Topic.h"
#include "tables/UOPC_UA_Server_Access.h"
#include "tables/UReceiveCAN.h"
#include "tables/US7_Protocol_Set_Access.h"
#include "tables/USNMP_Trap_Access.h"
#include "tables/USet_PDO_Access.h"
#include "tables/USet_SDO_Client_Access.h"
#include "tables/USet_SDO_Server_Access.h"
#include "tables/UTLS_Server_Known_Cert.h"
#include "tables/UTopicTemplate.h"
#include "tables/UTransmitCAN.h"

#include "platform/Fonts.h"

TFVelmoraeFirmWare* StartProgram()
{
    platform::InstallDesignFonts();

    // The windows are created in their fixed order, each create handler running before the next
    // window exists: the main window first, so the language table, the folders, the settings and
    // the configuration paths are ready when the others apply their texts. A window of a later
    // unit is created here in its place and registers itself with the main window.
    TFVelmoraeFirmWare* main = Create_FVelmoraeFirmWare();
    platform::TForm::SetMainForm(main);
    Create_FAbout(main);
    Create_FNew_Project(main);
    Create_FOpenConf(main);
    Create_FSoftOptions(main);
    Create_FParGen(main);
    Create_FBoot(main);
    Create_FS7_Protocol_Set_Access(main);
    Create_FKNXAccess(main);
    Create_FIEC61850_Variables(main);
    Create_FTLS_Server_Known_Cert(main);
    Create_FReceiveCAN(main);
    Create_FTransmitCAN(main);
    Create_FSet_PDO_Access(main);
    Create_FSet_SDO_Client_Access(main);
    Create_FSet_SDO_Server_Access(main);
    Create_FSNMP_Trap_Access(main);
    Create_FMQTT_Set_Topic(main);
    Create_FTopicTemplate(main);
    Create_FBACnet_Eng_Unit(main);
    Create_FBACnetSlaveSetAccess(main);
    Create_FOPC_UA_Server_Access(main);

    // The generators are commands of the main window's dispatcher, not windows of their own.
    Register_UProfibus_GSD();
    Register_UEds();
    Register_USNMP_MIB();
    Register_UBACnet_EDE_File();

    main->Show();
    return main;
}
