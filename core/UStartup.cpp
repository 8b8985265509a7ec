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

namespace {

// Leaves a window to be made when it is first needed, by its own creation routine, as a child of
// the main window.
template <class T>
void Make_On_Need(const char* Name, T* (*Create)(QWidget*), TFVelmoraeFirmWare* Main)
{
    Register_Window_Maker(QString::fromLatin1(Name), [Create, Main]() -> platform::TForm* { return Create(Main); });
}

} // namespace

TFVelmoraeFirmWare* StartProgram()
{
    platform::InstallDesignFonts();

    // The main window is created first and runs its create handler at once: the language table,
    // the folders, the settings and the configuration paths are ready before any other window
    // exists.
    TFVelmoraeFirmWare* main = Create_FVelmoraeFirmWare();
    platform::TForm::SetMainForm(main);

    // The other windows are made when first needed (a step, a picker, the update check), each by
    // its own creation routine, so it comes up as it would have at start: its create handler runs
    // then and applies the texts of the language in use. Nothing depends on them earlier: their
    // create handlers read only what the main window set up, and a language switch re-texts the
    // windows that exist. Listed here in their designed order.
    Make_On_Need("FAbout", &Create_FAbout, main);
    Make_On_Need("FNew_Project", &Create_FNew_Project, main);
    Make_On_Need("FOpenConf", &Create_FOpenConf, main);
    Make_On_Need("FSoftOptions", &Create_FSoftOptions, main);
    Make_On_Need("FParGen", &Create_FParGen, main);
    Make_On_Need("FBoot", &Create_FBoot, main);
    Make_On_Need("FS7_Protocol_Set_Access", &Create_FS7_Protocol_Set_Access, main);
    Make_On_Need("FKNXAccess", &Create_FKNXAccess, main);
    Make_On_Need("FIEC61850_Variables", &Create_FIEC61850_Variables, main);
    Make_On_Need("FTLS_Server_Known_Cert", &Create_FTLS_Server_Known_Cert, main);
    Make_On_Need("FReceiveCAN", &Create_FReceiveCAN, main);
    Make_On_Need("FTransmitCAN", &Create_FTransmitCAN, main);
    Make_On_Need("FSet_PDO_Access", &Create_FSet_PDO_Access, main);
    Make_On_Need("FSet_SDO_Client_Access", &Create_FSet_SDO_Client_Access, main);
    Make_On_Need("FSet_SDO_Server_Access", &Create_FSet_SDO_Server_Access, main);
    Make_On_Need("FSNMP_Trap_Access", &Create_FSNMP_Trap_Access, main);
    Make_On_Need("FMQTT_Set_Topic", &Create_FMQTT_Set_Topic, main);
    Make_On_Need("FTopicTemplate", &Create_FTopicTemplate, main);
    Make_On_Need("FBACnet_Eng_Unit", &Create_FBACnet_Eng_Unit, main);
    Make_On_Need("FBACnetSlaveSetAccess", &Create_FBACnetSlaveSetAccess, main);
    Make_On_Need("FOPC_UA_Server_Access", &Create_FOPC_UA_Server_Access, main);

    // The generators are commands of the main window's dispatcher, not windows of their own.
    Register_UProfibus_GSD();
    Register_UEds();
    Register_USNMP_MIB();
    Register_UBACnet_EDE_File();

    main->Show();
    return main;
}
