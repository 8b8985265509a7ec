// The table file of every rule-table dialog: the dialog is shown on the file, then OK runs its
// checks and, when they pass, writes the file again. Nothing may crash or escape the handlers.
#include "FuzzSupport.h"

#include "core/UComon.h"
#include "tables/UBACnetSlaveSetAccess.h"
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
#include "tables/UTransmitCAN.h"

#include <memory>
#include <vector>

namespace {

struct TTable {
    const char* Root;  // the root element of its file: an input goes to the table it names
    QString* Path;
    std::unique_ptr<TFTable_Frame> Form;
};

std::vector<TTable> Tables;

template <class T>
void Add(const char* root, QString* path, const char* file)
{
    *path = kt_fuzz::Path(QLatin1String(file));
    auto form = std::make_unique<T>();
    form->Create();
    Tables.push_back({root, path, std::move(form)});
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    Shown_SW_Code = QStringLiteral("KT40917");
    File_ParGen = kt_fuzz::Path(QStringLiteral("ParGen.xml"));  // never there: the sizes' defaults
    Add<TFS7_Protocol_Set_Access>("S7_Protocol", &File_S7_Protocol, "S7_Protocol.xml");
    Add<TFKNXAccess>("BACnet_to_KNX", &File_KNX_SetAccess, "KNX_SetAccess.xml");
    Add<TFIEC61850_Variables>("IEC61850_Variables", &File_IEC61850_Variables, "IEC61850_Variables.xml");
    Add<TFTLS_Server_Known_Cert>("TLS_Server_Known_Cert", &File_TLS_Known_Cert, "TLS_Known_Cert.xml");
    Add<TFReceiveCAN>("Receive_Frames", &File_CAN_Rec_Frames, "CAN_Rec_Frames.xml");
    Add<TFTransmitCAN>("Transmit_Frames", &File_CAN_Send_Frames, "CAN_Send_Frames.xml");
    Add<TFSet_PDO_Access>("PDO_CANopen", &File_PDO_CANopen, "PDO_CANopen.xml");
    Add<TFSet_SDO_Client_Access>("SDO_Client_CANopen", &File_SDO_Client_CANopen, "SDO_Client_CANopen.xml");
    Add<TFSet_SDO_Server_Access>("SDO_Server_CANopen", &File_SDO_Server_CANopen, "SDO_Server_CANopen.xml");
    Add<TFSNMP_Trap_Access>("SNMP_Trap", &File_SNMP_Trap, "SNMP_Trap.xml");
    Add<TFMQTT_Set_Topic>("MQTT_Set_Topic", &File_MQTT_Set_Topic, "MQTT_Set_Topic.xml");
    Add<TFBACnetSlaveSetAccess>("BACnet_to_Modbus", &File_BACnet_Slave, "BACnet_Slave.xml");
    Add<TFOPC_UA_Server_Access>("OPC_UA_Server", &File_OPC_UA_Server, "OPC_UA_Server.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = kt_fuzz::Bytes(data, size);
    TTable* table = &Tables[size % Tables.size()];
    for (TTable& t : Tables)
        if (bytes.contains(QByteArray("<") + t.Root)) {
            table = &t;
            break;
        }
    kt_fuzz::Clear_Services();
    kt_fuzz::Put(*table->Path, bytes);
    table->Form->SetModalResult(platform::mrNone);
    table->Form->FormShow();
    table->Form->Btn_OKClick(nullptr);
    return 0;
}
