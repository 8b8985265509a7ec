#pragma once
// The communication parameters dialog: the gateway's addresses on the S7comm and OPC UA networks,
// the OPC UA server port and the NTP time source, kept in ParGen.xml of the active configuration.
//
// The window is shared by the whole gateway family: its panel group holds one panel per protocol
// any family member configures, and each device shows, loads, checks and stores only its own.
// This device shows S7comm, OPC UA server and NTP; the other panels are built, translated and
// hidden (UParGen_Family.cpp).
#include "core/UParGen_CategoryPanel.h"
#include "core/XMLDocument.h"
#include "platform/Form.h"

#include <QHash>
#include <QPixmap>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWheelEvent;
class TLbButton;

class TFParGen : public platform::TForm {
    Q_OBJECT
public:
    explicit TFParGen(QWidget* parent = nullptr);
    ~TFParGen() override;

    // ---- components ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    TCategoryPanelGroup* CPG = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TXMLDocument XML1;
    QPixmap ImageList1[2];

    // The family's 20 panels.
    TCategoryPanel* CP_S7_Protocol = nullptr;
    TCategoryPanel* CP_Modbus_TCP_Slave = nullptr;
    TCategoryPanel* CP_PROFIBUS = nullptr;
    TCategoryPanel* CP_Serial = nullptr;
    TCategoryPanel* CP_Modbus_Slave = nullptr;
    TCategoryPanel* CP_CAN = nullptr;
    TCategoryPanel* CP_CANopen = nullptr;
    TCategoryPanel* CP_DeviceNet_Slave = nullptr;
    TCategoryPanel* CP_SNMP_Agent = nullptr;
    TCategoryPanel* CP_EtherNetIP = nullptr;
    TCategoryPanel* CP_KNX = nullptr;
    TCategoryPanel* CP_MQTT = nullptr;
    TCategoryPanel* CP_Ethernet = nullptr;
    TCategoryPanel* CP_TLS = nullptr;
    TCategoryPanel* CP_NTP = nullptr;
    TCategoryPanel* CP_BACnet_Slave = nullptr;
    TCategoryPanel* CP_OPC_UA_Server = nullptr;
    TCategoryPanel* CP_PROFINET = nullptr;
    TCategoryPanel* CP_IEC61850_Server = nullptr;
    TCategoryPanel* CP_TLS_Server = nullptr;

    // S7comm panel.
    QLabel* L_S7_Protocol_IP = nullptr;
    QLabel* L_S7_Protocol_SM = nullptr;
    QLineEdit* E_S7_Protocol_IP1 = nullptr;
    QLineEdit* E_S7_Protocol_IP2 = nullptr;
    QLineEdit* E_S7_Protocol_IP3 = nullptr;
    QLineEdit* E_S7_Protocol_IP4 = nullptr;
    QLineEdit* E_S7_Protocol_SM1 = nullptr;
    QLineEdit* E_S7_Protocol_SM2 = nullptr;
    QLineEdit* E_S7_Protocol_SM3 = nullptr;
    QLineEdit* E_S7_Protocol_SM4 = nullptr;
    QCheckBox* CB_S7_Protocol_En_GAT = nullptr;
    QLineEdit* E_S7_Protocol_GAT1 = nullptr;
    QLineEdit* E_S7_Protocol_GAT2 = nullptr;
    QLineEdit* E_S7_Protocol_GAT3 = nullptr;
    QLineEdit* E_S7_Protocol_GAT4 = nullptr;

    // OPC UA server panel.
    QLabel* L_OPC_UA_Server_IP = nullptr;
    QLabel* L_OPC_UA_Server_SM = nullptr;
    QLabel* L_OPC_UA_Server_Port = nullptr;
    QLineEdit* E_OPC_UA_Server_IP1 = nullptr;
    QLineEdit* E_OPC_UA_Server_IP2 = nullptr;
    QLineEdit* E_OPC_UA_Server_IP3 = nullptr;
    QLineEdit* E_OPC_UA_Server_IP4 = nullptr;
    QLineEdit* E_OPC_UA_Server_SM1 = nullptr;
    QLineEdit* E_OPC_UA_Server_SM2 = nullptr;
    QLineEdit* E_OPC_UA_Server_SM3 = nullptr;
    QLineEdit* E_OPC_UA_Server_SM4 = nullptr;
    QCheckBox* CB_OPC_UA_Server_En_GAT = nullptr;
    QLineEdit* E_OPC_UA_Server_GAT1 = nullptr;
    QLineEdit* E_OPC_UA_Server_GAT2 = nullptr;
    QLineEdit* E_OPC_UA_Server_GAT3 = nullptr;
    QLineEdit* E_OPC_UA_Server_GAT4 = nullptr;
    QCheckBox* CB_OPC_UA_Server_En_DNS = nullptr;
    QLineEdit* E_OPC_UA_Server_DNS1 = nullptr;
    QLineEdit* E_OPC_UA_Server_DNS2 = nullptr;
    QLineEdit* E_OPC_UA_Server_DNS3 = nullptr;
    QLineEdit* E_OPC_UA_Server_DNS4 = nullptr;
    QLineEdit* E_OPC_UA_Server_Port = nullptr;

    // NTP panel.
    QLabel* L_NTP_Server_URL = nullptr;
    QLabel* L_NTP_Poll_Time = nullptr;
    QLineEdit* E_NTP_Server_URL = nullptr;
    QLineEdit* E_NTP_Poll_Time = nullptr;

    // ---- handlers ----
    void FormCreate();
    void FormShow();
    void FormResize();
    // True when the wheel turn was taken (the pointer is over the panel group).
    bool FormMouseWheel(QWheelEvent* event);
    void Btn_OKClick(QObject* Sender);
    // The full stop key of the octet edits; a key set to 0 is not typed.
    void KeyPress(QObject* Sender, QChar& Key);
    void On_Change(QObject* Sender);
    void On_Click(QObject* Sender);

    // ---- methods ----
    void Set_Lang();
    bool Controllo_Dati();
    void Order_TAB_Panels();
    void Move_GroupBoxs();

    // The family: one ordering and one layout routine per device, one height routine per panel.
    void Order_TAB_Panels_40917();
    void RePosition_Objects_40917();
    void RePosition_Object_S7_Protocol();
    void RePosition_Object_Modbus_TCP_Slave();
    void RePosition_Object_PROFIBUS();
    void RePosition_Object_Serial();
    void RePosition_Object_Modbus_Slave();
    void RePosition_Object_CAN();
    void RePosition_Object_CANopen();
    void RePosition_Object_DeviceNet_Slave();
    void RePosition_Object_SNMP_Agent();
    void RePosition_Object_EtherNetIP();
    void RePosition_Object_KNX();
    void RePosition_Object_MQTT();
    void RePosition_Object_Ethernet();
    void RePosition_Object_TLS();
    void RePosition_Object_NTP();
    void RePosition_Object_BACnet_Slave();
    void RePosition_Object_OPC_UA_Server();
    void RePosition_Object_PROFINET();
    void RePosition_Object_IEC61850_Server();
    void RePosition_Object_TLS_Server();

    // True when the text holds a character other than a digit or an ASCII letter.
    bool Check_Device_Name(const QString& Text) const;
    void CP_Expand(QObject* Sender);

    // Any control of the window by its design name (hidden panels included); nullptr if unknown.
    QWidget* Control(const QString& Name) const;

    // The default text of the NTP server field.
    static const char* const Default_NTP_Server;

protected:
    void Loaded() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build_Window();
    void Build_Panels();
    void Bind_Device_Fields();
    void Set_Lang_Panels();
    void Caption_Device_Panels();
    void Set_Tab_Order();
    void Load_Fields(bool fromFile);
    void Panel_Height(TCategoryPanel* Panel, QWidget* Anchor);
    void Show_Row(const QString& RowName, bool Visible);
    void Place_Row(const QString& RowName, int LabelTop);
    QCheckBox* Check(const QString& Name) const;
    QComboBox* Combo(const QString& Name) const;

    QHash<QString, QWidget*> FControls;
    QHash<QString, QList<QWidget*>> FRowWidgets;
    bool FInResize = false;
};

extern TFParGen* FParGen;

// Creates the window the first time it is needed (its create handler runs here), sets FParGen and
// registers the window with the main window, which shows it from its step and re-texts it on a
// language change.
TFParGen* Create_FParGen(QWidget* parent = nullptr);
