// The parameters window as the family window it is: the 20 protocol panels of the gateway family,
// their controls and texts, the device's ordering and layout routines and the height routines of
// every panel. This device shows three of the panels; the others are built and translated so that
// the language table keeps the indexes of the whole family, but they are never shown, loaded,
// checked or saved.
#include "core/UParGen.h"

#include "core/ULanguage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QValidator>

namespace {

enum class RowKind {
    Addr,    // label, four octet edits with "." labels between them
    ChkAddr, // check box, four octet edits
    Edit,    // label, edit
    Rich,    // label, rich edit
    Combo,   // label, combo box
    Check,   // check box
    ChkEdit, // check box, edit
    Version, // label, three check boxes "1", "2", "3"
};

// One row of a panel, top to bottom. Texts start at `Text`: the caption of the row's label or check
// box, then the hints of its controls (a check box's hint first, then its edits).
struct RowSpec {
    RowKind Kind;
    const char* Name;  // label/edit base (Addr, Version), edit, combo or check box
    const char* Name2; // octet base (ChkAddr) or the edit of a ChkEdit
    int Text;
};

struct PanelSpec {
    const char* Name;
    int NameText;
    std::vector<RowSpec> Rows;
};

using K = RowKind;

// The family's panels in the order the group holds them.
const std::vector<PanelSpec>& Family_Panels()
{
    static const std::vector<PanelSpec> panels = {
        {"CP_S7_Protocol", 406,
         {{K::Addr, "S7_Protocol_IP", nullptr, 407},
          {K::Addr, "S7_Protocol_SM", nullptr, 412},
          {K::ChkAddr, "CB_S7_Protocol_En_GAT", "S7_Protocol_GAT", 417}}},
        {"CP_Modbus_TCP_Slave", 423,
         {{K::Addr, "ModbusTCPSlave_IP", nullptr, 424},
          {K::Addr, "ModbusTCPSlave_SM", nullptr, 429},
          {K::ChkAddr, "CB_ModbusTCPSlave_En_GAT", "ModbusTCPSlave_GAT", 434},
          {K::Edit, "E_ModbusTCPSlave_Port", nullptr, 440}}},
        {"CP_PROFIBUS", 442,
         {{K::Edit, "E_PROFIBUS_IDDevice", nullptr, 443},
          {K::Combo, "CB_PROFIBUS_Baudrate", nullptr, 445},
          {K::Edit, "E_PROFIBUS_NByte_In", nullptr, 447},
          {K::Edit, "E_PROFIBUS_NByte_Out", nullptr, 449}}},
        {"CP_Serial", 479,
         {{K::Combo, "CB_Serial_Serial", nullptr, 480},
          {K::Combo, "CB_Serial_Baudrate", nullptr, 482},
          {K::Combo, "Cb_Serial_Parity", nullptr, 484},
          {K::Combo, "CB_Serial_StopBits", nullptr, 486}}},
        {"CP_Modbus_Slave", 489,
         {{K::Combo, "CB_ModbusSlave_Serial", nullptr, 490},
          {K::Combo, "CB_ModbusSlave_Baudrate", nullptr, 492},
          {K::Combo, "CB_ModbusSlave_Parity", nullptr, 494},
          {K::Combo, "CB_ModbusSlave_StopBits", nullptr, 496},
          {K::Edit, "E_ModbusSlave_IDDevice", nullptr, 498},
          {K::Check, "CB_ModbusSlave_ReadInput", nullptr, 500}}},
        {"CP_CAN", 504, {{K::Combo, "CB_CAN_Baudrate", nullptr, 505}}},
        {"CP_CANopen", 507,
         {{K::Edit, "E_CANopen_IDDevice", nullptr, 508},
          {K::Combo, "CB_CANopen_Baudrate", nullptr, 510},
          {K::Check, "CB_CANopen_SetOpe", nullptr, 512},
          {K::ChkEdit, "CB_CANopen_NetOpe", "E_CANopen_NetOpe_Delay", 514},
          {K::Edit, "E_CANopen_SDO_Timeout", nullptr, 517}}},
        {"CP_DeviceNet_Slave", 522,
         {{K::Edit, "E_DeviceNet_Slave_IDDevice", nullptr, 523},
          {K::Combo, "CB_DeviceNet_Slave_Baudrate", nullptr, 525},
          {K::Edit, "E_DeviceNet_Slave_NumByteIn", nullptr, 527},
          {K::Edit, "E_DeviceNet_Slave_NumByteOut", nullptr, 529}}},
        {"CP_SNMP_Agent", 534,
         {{K::Addr, "SNMP_Agent_IP", nullptr, 535},
          {K::Addr, "SNMP_Agent_SM", nullptr, 540},
          {K::ChkAddr, "CB_SNMP_Agent_GAT", "SNMP_Agent_GAT", 545},
          {K::Edit, "E_SNMP_Agent_NameStation", nullptr, 551},
          {K::Edit, "E_SNMP_Agent_Contact", nullptr, 553},
          {K::Edit, "E_SNMP_Agent_Location", nullptr, 555},
          {K::Version, "SNMP_Agent_Version", nullptr, 557},
          {K::Edit, "E_SNMP_Agent_User", nullptr, 561},
          {K::Combo, "CB_SNMP_Agent_SecurityLevel", nullptr, 563},
          {K::Edit, "E_SNMP_Agent_Authority", nullptr, 565},
          {K::Combo, "CB_SNMP_Agent_AuthorityMode", nullptr, 567},
          {K::Edit, "E_SNMP_Agent_Privacy", nullptr, 569},
          {K::Combo, "CB_SNMP_Agent_PrivacyMode", nullptr, 571}}},
        {"CP_EtherNetIP", 585,
         {{K::Addr, "EtherNetIP_IP", nullptr, 586},
          {K::Addr, "EtherNetIP_SM", nullptr, 591},
          {K::ChkAddr, "CB_EtherNetIP_GAT", "EtherNetIP_GAT", 596},
          {K::Edit, "E_EtherNetIP_TunnelPort", nullptr, 602},
          {K::Edit, "E_EtherNetIP_NByte_In", nullptr, 604},
          {K::Edit, "E_EtherNetIP_NByte_Out", nullptr, 606}}},
        {"CP_KNX", 627,
         {{K::Combo, "CB_KNX_Type", nullptr, 628},
          {K::Edit, "E_KNX_IDDevice", nullptr, 630}}},
        {"CP_MQTT", 633,
         {{K::Edit, "E_MQTT_Server", nullptr, 634},
          {K::Edit, "E_MQTT_Server_Port", nullptr, 636},
          {K::Edit, "E_MQTT_Client_ID", nullptr, 638},
          {K::Edit, "E_MQTT_Keep_Alive", nullptr, 640},
          {K::Check, "CB_MQTT_Clean_Session", nullptr, 642},
          {K::Check, "CB_MQTT_WillFlag", nullptr, 644},
          {K::Edit, "E_MQTT_Will_TopicName", nullptr, 646},
          {K::Edit, "E_MQTT_Will_Message", nullptr, 648},
          {K::Check, "CB_MQTT_Will_Retained", nullptr, 650},
          {K::Combo, "CB_MQTT_Will_QoS", nullptr, 652},
          {K::Edit, "E_MQTT_Username", nullptr, 654},
          {K::Rich, "E_MQTT_Password", nullptr, 656},
          {K::Edit, "E_MQTT_ASync_Send_Time", nullptr, 658}}},
        {"CP_Ethernet", 660,
         {{K::Addr, "Ethernet_IP", nullptr, 661},
          {K::Addr, "Ethernet_SM", nullptr, 666},
          {K::ChkAddr, "CB_Ethernet_En_GAT", "Ethernet_GAT", 671},
          {K::ChkAddr, "CB_Ethernet_DNS", "Ethernet_DNS", 677},
          {K::Edit, "E_Ethernet_TCP_Port", nullptr, 683},
          {K::Edit, "E_Ethernet_UDP_Port", nullptr, 685}}},
        {"CP_TLS", 705,
         {{K::Check, "CB_TLS_Enable", nullptr, 706},
          {K::Check, "CB_TLS_En_Server_Auth", nullptr, 708},
          {K::Rich, "E_TLS_Server_Cert", nullptr, 710},
          {K::Check, "CB_TLS_En_Client_Auth", nullptr, 712},
          {K::Rich, "E_TLS_Client_Cert", nullptr, 714},
          {K::Rich, "E_TLS_Client_Cert_Key", nullptr, 716},
          {K::Edit, "E_TLS_Client_Cert_Key_Pass", nullptr, 718}}},
        {"CP_NTP", 720,
         {{K::Edit, "E_NTP_Server_URL", nullptr, 721},
          {K::Edit, "E_NTP_Poll_Time", nullptr, 723}}},
        {"CP_BACnet_Slave", 726,
         {{K::Combo, "CB_BACnet_Slave_Type", nullptr, 727},
          {K::Addr, "BACnet_IP_Slave_IP", nullptr, 729},
          {K::Addr, "BACnet_IP_Slave_SM", nullptr, 734},
          {K::ChkAddr, "CB_BACnet_IP_Slave_GAT", "BACnet_IP_Slave_GAT", 739},
          {K::Edit, "E_BACnet_IP_Slave_Port", nullptr, 745},
          {K::Edit, "E_BACnet_IP_Slave_Device_Name", nullptr, 747},
          {K::Edit, "E_BACnet_IP_Slave_Device_Identifier", nullptr, 749},
          {K::Combo, "CB_BACnet_MSTP_Slave_Baudrate", nullptr, 751},
          {K::Combo, "CB_BACnet_MSTP_Slave_Parity", nullptr, 753},
          {K::Edit, "E_BACnet_MSTP_Slave_Device_Name", nullptr, 755},
          {K::Edit, "E_BACnet_MSTP_Slave_MAC_Address", nullptr, 757},
          {K::Edit, "E_BACnet_MSTP_Slave_Max_Master", nullptr, 759},
          {K::Edit, "E_BACnet_MSTP_Slave_Max_Info_Frame", nullptr, 761},
          {K::Edit, "E_BACnet_MSTP_Slave_Device_Instance", nullptr, 763},
          {K::Edit, "E_BACnet_MSTP_Slave_Network", nullptr, 765},
          {K::Check, "CB_BACnet_Slave_Desc_32_Chars", nullptr, 767}}},
        {"CP_OPC_UA_Server", 790,
         {{K::Addr, "OPC_UA_Server_IP", nullptr, 791},
          {K::Addr, "OPC_UA_Server_SM", nullptr, 796},
          {K::ChkAddr, "CB_OPC_UA_Server_En_GAT", "OPC_UA_Server_GAT", 801},
          {K::ChkAddr, "CB_OPC_UA_Server_En_DNS", "OPC_UA_Server_DNS", 807},
          {K::Edit, "E_OPC_UA_Server_Port", nullptr, 813}}},
        {"CP_PROFINET", 828,
         {{K::Addr, "PROFINET_IP", nullptr, 829},
          {K::Addr, "PROFINET_SM", nullptr, 834},
          {K::ChkAddr, "CB_PROFINET_GAT", "PROFINET_GAT", 839},
          {K::Edit, "E_PROFINET_TunnelPort", nullptr, 845},
          {K::Edit, "E_PROFINET_NameStation", nullptr, 847},
          {K::Edit, "E_PROFINET_NByte_In", nullptr, 849},
          {K::Edit, "E_PROFINET_NByte_Out", nullptr, 851},
          {K::ChkEdit, "CB_PROFINET_Diagnostic", "E_PROFINET_Diagnostic", 853}}},
        // The port and password texts come before the address texts, the DNS texts at the end
        // of the block.
        {"CP_IEC61850_Server", 872,
         {{K::Addr, "IEC61850_Server_IP", nullptr, 877},
          {K::Addr, "IEC61850_Server_SM", nullptr, 882},
          {K::ChkAddr, "CB_IEC61850_Server_En_GAT", "IEC61850_Server_GAT", 887},
          {K::ChkAddr, "CB_IEC61850_Server_En_DNS", "IEC61850_Server_DNS", 919},
          {K::Edit, "E_IEC61850_Server_Port", nullptr, 873},
          {K::Edit, "E_IEC61850_Server_Password", nullptr, 875}}},
        {"CP_TLS_Server", 906,
         {{K::Check, "CB_TLS_Server_Enable", nullptr, 907},
          {K::Rich, "E_TLS_Server_Key", nullptr, 909},
          {K::Edit, "E_TLS_Server_Key_Pass", nullptr, 911},
          {K::Rich, "E_TLS_Server_Server_Cert", nullptr, 913},
          {K::Rich, "E_TLS_Server_Root_Cert", nullptr, 915},
          {K::Check, "CB_TLS_Server_En_Known_Cert", nullptr, 917}}},
    };
    return panels;
}

// Row tops inside a panel: 9, 37, 66, 94, 121, then every 28 pixels.
int Row_Top(int index)
{
    static const int first[] = {9, 37, 66, 94, 121};
    return index < 5 ? first[index] : 121 + 28 * (index - 4);
}

constexpr int Label_Left = 14;
constexpr int Field_Left = 191;
constexpr int Field_Width = 238;
constexpr int Field_Height = 21;
constexpr int Octet_Width = 55;
constexpr int Octet_Left[4] = {191, 252, 313, 374};
constexpr int Dot_Left[3] = {247, 308, 369};
constexpr int Check_Width = 175;
constexpr int Check_Height = 17;
constexpr int Label_Height = 15;

// Station and device names are typed in lower case.
class TLowerCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toLower();
        return Acceptable;
    }
};

QString Octet_Name(const QString& base, int i) { return "E_" + base + QString::number(i + 1); }

} // namespace

const char* const TFParGen::Default_NTP_Server = "pool.ntp.org";

void TFParGen::Build_Panels()
{
    QFont fieldFont("Verdana");
    fieldFont.setPixelSize(11);

    auto remember = [this](QWidget* w, const QString& name) {
        w->setObjectName(name);
        FControls.insert(name, w);
    };
    auto addLabel = [&](QWidget* parent, const QString& name, int x, int top, int w) {
        auto* l = new QLabel(parent);
        remember(l, name);
        l->setGeometry(x, top, w, Label_Height);
        return l;
    };
    auto addEdit = [&](QWidget* parent, const QString& name, int x, int top, int w) {
        auto* e = new QLineEdit(parent);
        remember(e, name);
        e->setGeometry(x, top, w, Field_Height);
        connect(e, &QLineEdit::textChanged, this, [this, e] { On_Change(e); });
        return e;
    };
    auto addCheck = [&](QWidget* parent, const QString& name, int x, int top, int w) {
        auto* c = new QCheckBox(parent);
        remember(c, name);
        c->setGeometry(x, top, w, Check_Height);
        connect(c, &QCheckBox::clicked, this, [this, c] { On_Click(c); });
        return c;
    };

    const auto& panels = Family_Panels();
    for (const PanelSpec& spec : panels) {
        auto* panel = new TCategoryPanel(CPG, spec.Name);
        FControls.insert(spec.Name, panel);
        panel->SetCaption(Lang_Table[spec.NameText]);
        QWidget* s = panel->Surface();
        s->setFont(fieldFont);
        QPalette pal = s->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        s->setPalette(pal);

        int index = 0;
        for (const RowSpec& row : spec.Rows) {
            const int top = Row_Top(index++);
            const QString name = row.Name;
            QList<QWidget*> widgets;
            auto octets = [&](const QString& base) {
                for (int i = 0; i < 4; ++i) {
                    auto* e = addEdit(s, Octet_Name(base, i), Octet_Left[i], top, Octet_Width);
                    e->installEventFilter(this);
                    widgets << e;
                }
                for (int i = 0; i < 3; ++i) {
                    auto* dot = addLabel(s, "L_" + base + "_Dot" + QString::number(i + 1),
                                         Dot_Left[i], top + 3, 5);
                    dot->setText(".");
                    widgets << dot;
                }
            };
            switch (row.Kind) {
            case K::Addr:
                widgets << addLabel(s, "L_" + name, Label_Left, top + 3, Check_Width);
                octets(name);
                break;
            case K::ChkAddr:
                widgets << addCheck(s, name, Label_Left, top + 2, Check_Width);
                octets(row.Name2);
                break;
            case K::Edit: {
                widgets << addLabel(s, "L_" + name.mid(2), Label_Left, top + 3, Check_Width);
                widgets << addEdit(s, name, Field_Left, top, Field_Width);
                break;
            }
            case K::Rich: {
                widgets << addLabel(s, "L_" + name.mid(2), Label_Left, top + 3, Check_Width);
                auto* r = new QTextEdit(s);
                remember(r, name);
                r->setGeometry(Field_Left, top, Field_Width, Field_Height);
                r->setAcceptRichText(false);
                connect(r, &QTextEdit::textChanged, this, [this, r] { On_Change(r); });
                widgets << r;
                break;
            }
            case K::Combo: {
                widgets << addLabel(s, "L_" + name.mid(3), Label_Left, top + 3, Check_Width);
                auto* c = new QComboBox(s);
                remember(c, name);
                c->setGeometry(Field_Left, top, Field_Width, Field_Height);
                connect(c, &QComboBox::currentIndexChanged, this, [this, c] { On_Change(c); });
                widgets << c;
                break;
            }
            case K::Check:
                widgets << addCheck(s, name, Label_Left, top + 2, Check_Width);
                break;
            case K::ChkEdit:
                widgets << addCheck(s, name, Label_Left, top + 2, Check_Width);
                widgets << addEdit(s, row.Name2, Field_Left, top, Field_Width);
                break;
            case K::Version:
                widgets << addLabel(s, "L_" + name, Label_Left, top + 3, Check_Width);
                for (int i = 0; i < 3; ++i) {
                    auto* c = addCheck(s, "CB_" + name + QString::number(i + 1), Octet_Left[i],
                                       top + 2, Octet_Width);
                    c->setText(QString::number(i + 1));
                    widgets << c;
                }
                break;
            }
            FRowWidgets.insert(name, widgets);
        }
    }

    CP_S7_Protocol = static_cast<TCategoryPanel*>(Control("CP_S7_Protocol"));
    CP_Modbus_TCP_Slave = static_cast<TCategoryPanel*>(Control("CP_Modbus_TCP_Slave"));
    CP_PROFIBUS = static_cast<TCategoryPanel*>(Control("CP_PROFIBUS"));
    CP_Serial = static_cast<TCategoryPanel*>(Control("CP_Serial"));
    CP_Modbus_Slave = static_cast<TCategoryPanel*>(Control("CP_Modbus_Slave"));
    CP_CAN = static_cast<TCategoryPanel*>(Control("CP_CAN"));
    CP_CANopen = static_cast<TCategoryPanel*>(Control("CP_CANopen"));
    CP_DeviceNet_Slave = static_cast<TCategoryPanel*>(Control("CP_DeviceNet_Slave"));
    CP_SNMP_Agent = static_cast<TCategoryPanel*>(Control("CP_SNMP_Agent"));
    CP_EtherNetIP = static_cast<TCategoryPanel*>(Control("CP_EtherNetIP"));
    CP_KNX = static_cast<TCategoryPanel*>(Control("CP_KNX"));
    CP_MQTT = static_cast<TCategoryPanel*>(Control("CP_MQTT"));
    CP_Ethernet = static_cast<TCategoryPanel*>(Control("CP_Ethernet"));
    CP_TLS = static_cast<TCategoryPanel*>(Control("CP_TLS"));
    CP_NTP = static_cast<TCategoryPanel*>(Control("CP_NTP"));
    CP_BACnet_Slave = static_cast<TCategoryPanel*>(Control("CP_BACnet_Slave"));
    CP_OPC_UA_Server = static_cast<TCategoryPanel*>(Control("CP_OPC_UA_Server"));
    CP_PROFINET = static_cast<TCategoryPanel*>(Control("CP_PROFINET"));
    CP_IEC61850_Server = static_cast<TCategoryPanel*>(Control("CP_IEC61850_Server"));
    CP_TLS_Server = static_cast<TCategoryPanel*>(Control("CP_TLS_Server"));

    // What the family's design gives the hidden panels' controls.
    Combo("CB_PROFIBUS_Baudrate")->setEnabled(false);
    Combo("CB_KNX_Type")->setEnabled(false);
    Combo("CB_SNMP_Agent_SecurityLevel")
        ->addItems({"NoAuthority NoPrivacy", "Authority NoPrivacy", "Authority Privacy"});
    Combo("CB_BACnet_Slave_Type")->addItems({"BACnet/IP", "BACnet MS/TP"});
    for (const char* name : {"E_SNMP_Agent_NameStation", "E_PROFINET_NameStation",
                             "E_BACnet_IP_Slave_Device_Name", "E_BACnet_MSTP_Slave_Device_Name",
                             "E_BACnet_MSTP_Slave_Max_Master", "E_BACnet_MSTP_Slave_Device_Instance"}) {
        auto* e = static_cast<QLineEdit*>(Control(name));
        e->setValidator(new TLowerCaseValidator(e));
        e->setMaxLength(15);
    }
    const std::pair<const char*, int> limits[] = {
        {"E_SNMP_Agent_Contact", 16}, {"E_SNMP_Agent_Location", 16}, {"E_SNMP_Agent_User", 19},
        {"E_SNMP_Agent_Authority", 15}, {"E_SNMP_Agent_Privacy", 15}};
    for (const auto& [name, limit] : limits)
        static_cast<QLineEdit*>(Control(name))->setMaxLength(limit);
}

void TFParGen::Set_Lang_Panels()
{
    auto T = [](int index) { return Lang_Table[index]; };
    for (const PanelSpec& spec : Family_Panels()) {
        for (const RowSpec& row : spec.Rows) {
            const QString name = row.Name;
            const int t = row.Text;
            switch (row.Kind) {
            case K::Addr:
                static_cast<QLabel*>(Control("L_" + name))->setText(T(t));
                for (int i = 0; i < 4; ++i)
                    Control(Octet_Name(name, i))->setToolTip(T(t + 1 + i));
                break;
            case K::ChkAddr:
                Check(name)->setText(T(t));
                Check(name)->setToolTip(T(t + 1));
                for (int i = 0; i < 4; ++i)
                    Control(Octet_Name(row.Name2, i))->setToolTip(T(t + 2 + i));
                break;
            case K::Edit:
            case K::Rich:
                static_cast<QLabel*>(Control("L_" + name.mid(2)))->setText(T(t));
                Control(name)->setToolTip(T(t + 1));
                break;
            case K::Combo:
                static_cast<QLabel*>(Control("L_" + name.mid(3)))->setText(T(t));
                Control(name)->setToolTip(T(t + 1));
                break;
            case K::Check:
                Check(name)->setText(T(t));
                Check(name)->setToolTip(T(t + 1));
                break;
            case K::ChkEdit:
                Check(name)->setText(T(t));
                Check(name)->setToolTip(T(t + 1));
                Control(row.Name2)->setToolTip(T(t + 2));
                break;
            case K::Version:
                static_cast<QLabel*>(Control("L_" + name))->setText(T(t));
                for (int i = 0; i < 3; ++i)
                    Control("CB_" + name + QString::number(i + 1))->setToolTip(T(t + 1 + i));
                break;
            }
        }
    }
}

QWidget* TFParGen::Control(const QString& Name) const
{
    return FControls.value(Name, nullptr);
}

QCheckBox* TFParGen::Check(const QString& Name) const
{
    return qobject_cast<QCheckBox*>(Control(Name));
}

QComboBox* TFParGen::Combo(const QString& Name) const
{
    return qobject_cast<QComboBox*>(Control(Name));
}

// ---- device selection ----

namespace {
// This device's panels, in the order it shows them; a panel's caption is its position, a full
// stop, a blank and its name text.
struct DevicePanel {
    TCategoryPanel* TFParGen::*Panel;
    int NameText;
};
const DevicePanel Panels_40917[] = {
    {&TFParGen::CP_S7_Protocol, 406},
    {&TFParGen::CP_OPC_UA_Server, 790},
    {&TFParGen::CP_NTP, 720},
};
} // namespace

void TFParGen::Order_TAB_Panels()
{
    Order_TAB_Panels_40917();
}

void TFParGen::Move_GroupBoxs()
{
    RePosition_Objects_40917();
}

void TFParGen::Order_TAB_Panels_40917()
{
    int top = 0;
    int order = 0;
    for (const DevicePanel& p : Panels_40917) {
        TCategoryPanel* panel = this->*p.Panel;
        panel->SetPanelVisible(true);
        panel->SetTop(top);
        top += panel->Height();
        panel->SetCaption(QString("%1. ").arg(order + 1) + Lang_Table[p.NameText]);
        panel->SetTabOrder(order++);
    }
    Set_Tab_Order();
}

// The device's panel captions are composed with every other text, so that a change of language
// re-translates them too.
void TFParGen::Caption_Device_Panels()
{
    int position = 1;
    for (const DevicePanel& p : Panels_40917)
        (this->*p.Panel)->SetCaption(QString("%1. ").arg(position++) + Lang_Table[p.NameText]);
}

void TFParGen::RePosition_Objects_40917()
{
    RePosition_Object_S7_Protocol();
    RePosition_Object_OPC_UA_Server();
    RePosition_Object_NTP();
}

// ---- height routines ----

void TFParGen::Panel_Height(TCategoryPanel* Panel, QWidget* Anchor)
{
    Panel->SetHeight(Anchor->y() + Anchor->height() + TCategoryPanelGroup::HeaderHeight + 12);
}

void TFParGen::Show_Row(const QString& RowName, bool Visible)
{
    for (QWidget* w : FRowWidgets.value(RowName))
        w->setVisible(Visible);
}

// Moves a row: its label (or check box) to `LabelTop`, its fields 3 pixels above the label.
void TFParGen::Place_Row(const QString& RowName, int LabelTop)
{
    const QList<QWidget*> widgets = FRowWidgets.value(RowName);
    for (int i = 0; i < widgets.size(); ++i) {
        QWidget* w = widgets[i];
        const bool field = i > 0 && !qobject_cast<QLabel*>(w) && !qobject_cast<QCheckBox*>(w);
        w->move(w->x(), field ? LabelTop - 3 : LabelTop);
    }
}

void TFParGen::RePosition_Object_S7_Protocol() { Panel_Height(CP_S7_Protocol, Control("E_S7_Protocol_GAT4")); }
void TFParGen::RePosition_Object_Modbus_TCP_Slave() { Panel_Height(CP_Modbus_TCP_Slave, Control("E_ModbusTCPSlave_Port")); }
void TFParGen::RePosition_Object_PROFIBUS() { Panel_Height(CP_PROFIBUS, Control("E_PROFIBUS_NByte_Out")); }
void TFParGen::RePosition_Object_Serial() { Panel_Height(CP_Serial, Control("CB_Serial_StopBits")); }
void TFParGen::RePosition_Object_Modbus_Slave() { Panel_Height(CP_Modbus_Slave, Control("CB_ModbusSlave_ReadInput")); }
void TFParGen::RePosition_Object_CAN() { Panel_Height(CP_CAN, Control("CB_CAN_Baudrate")); }
void TFParGen::RePosition_Object_CANopen() { Panel_Height(CP_CANopen, Control("E_CANopen_SDO_Timeout")); }
void TFParGen::RePosition_Object_DeviceNet_Slave() { Panel_Height(CP_DeviceNet_Slave, Control("E_DeviceNet_Slave_NumByteOut")); }
void TFParGen::RePosition_Object_EtherNetIP() { Panel_Height(CP_EtherNetIP, Control("E_EtherNetIP_NByte_Out")); }
void TFParGen::RePosition_Object_KNX() { Panel_Height(CP_KNX, Control("E_KNX_IDDevice")); }
void TFParGen::RePosition_Object_NTP() { Panel_Height(CP_NTP, Control("E_NTP_Poll_Time")); }
void TFParGen::RePosition_Object_OPC_UA_Server() { Panel_Height(CP_OPC_UA_Server, Control("E_OPC_UA_Server_Port")); }
void TFParGen::RePosition_Object_IEC61850_Server() { Panel_Height(CP_IEC61850_Server, Control("E_IEC61850_Server_Password")); }

void TFParGen::RePosition_Object_SNMP_Agent()
{
    const char* const authority[] = {"E_SNMP_Agent_Authority", "CB_SNMP_Agent_AuthorityMode"};
    const char* const privacy[] = {"E_SNMP_Agent_Privacy", "CB_SNMP_Agent_PrivacyMode"};
    QWidget* anchor;
    if (!Check("CB_SNMP_Agent_Version3")->isChecked()) {
        for (const char* row : {"E_SNMP_Agent_User", "CB_SNMP_Agent_SecurityLevel"})
            Show_Row(row, false);
        for (const char* row : authority)
            Show_Row(row, false);
        for (const char* row : privacy)
            Show_Row(row, false);
        anchor = Control("CB_SNMP_Agent_Version3");
    } else {
        Show_Row("E_SNMP_Agent_User", true);
        Show_Row("CB_SNMP_Agent_SecurityLevel", true);
        const int level = Combo("CB_SNMP_Agent_SecurityLevel")->currentIndex();
        for (const char* row : authority)
            Show_Row(row, level != 0);
        for (const char* row : privacy)
            Show_Row(row, level != 0 && level != 1);
        anchor = Control(level == 0   ? "CB_SNMP_Agent_SecurityLevel"
                         : level == 1 ? "CB_SNMP_Agent_AuthorityMode"
                                      : "CB_SNMP_Agent_PrivacyMode");
    }
    Panel_Height(CP_SNMP_Agent, anchor);
}

void TFParGen::RePosition_Object_MQTT()
{
    const bool will = Check("CB_MQTT_WillFlag")->isChecked();
    for (const char* row : {"E_MQTT_Will_TopicName", "E_MQTT_Will_Message", "CB_MQTT_Will_Retained",
                            "CB_MQTT_Will_QoS"})
        Show_Row(row, will);
    const int userTop = will ? Control("L_MQTT_Will_QoS")->y() + 28 : Control("L_MQTT_Will_TopicName")->y();
    Place_Row("E_MQTT_Username", userTop);
    Place_Row("E_MQTT_Password", userTop + 28);
    Show_Row("E_MQTT_ASync_Send_Time", false);
    Panel_Height(CP_MQTT, Control("E_MQTT_Password"));
}

void TFParGen::RePosition_Object_Ethernet()
{
    Show_Row("E_Ethernet_TCP_Port", false);
    Show_Row("E_Ethernet_UDP_Port", false);
    Panel_Height(CP_Ethernet, Control("E_Ethernet_DNS4"));
}

void TFParGen::RePosition_Object_TLS()
{
    const char* const clientRows[] = {"E_TLS_Client_Cert", "E_TLS_Client_Cert_Key",
                                      "E_TLS_Client_Cert_Key_Pass"};
    QWidget* anchor;
    if (!Check("CB_TLS_Enable")->isChecked()) {
        for (const char* row : {"CB_TLS_En_Server_Auth", "E_TLS_Server_Cert", "CB_TLS_En_Client_Auth"})
            Show_Row(row, false);
        for (const char* row : clientRows)
            Show_Row(row, false);
        anchor = Control("CB_TLS_Enable");
    } else {
        Show_Row("CB_TLS_En_Server_Auth", true);
        const bool server = Check("CB_TLS_En_Server_Auth")->isChecked();
        Show_Row("E_TLS_Server_Cert", server);
        const int clientTop = server ? Control("E_TLS_Server_Cert")->y() + 28
                                     : Control("CB_TLS_En_Server_Auth")->y() + 28;
        Place_Row("CB_TLS_En_Client_Auth", clientTop);
        Show_Row("CB_TLS_En_Client_Auth", true);
        const bool client = Check("CB_TLS_En_Client_Auth")->isChecked();
        int offset = 28;
        for (const char* row : clientRows) {
            Show_Row(row, client);
            if (client)
                Place_Row(row, clientTop + offset);
            offset += 28;
        }
        anchor = Control(client ? "E_TLS_Client_Cert_Key_Pass" : "CB_TLS_En_Client_Auth");
    }
    Panel_Height(CP_TLS, anchor);
}

void TFParGen::RePosition_Object_BACnet_Slave()
{
    const char* const ipRows[] = {"BACnet_IP_Slave_IP", "BACnet_IP_Slave_SM", "CB_BACnet_IP_Slave_GAT",
                                  "E_BACnet_IP_Slave_Port", "E_BACnet_IP_Slave_Device_Name",
                                  "E_BACnet_IP_Slave_Device_Identifier"};
    const char* const mstpRows[] = {"CB_BACnet_MSTP_Slave_Baudrate", "CB_BACnet_MSTP_Slave_Parity",
                                    "E_BACnet_MSTP_Slave_Device_Name", "E_BACnet_MSTP_Slave_MAC_Address",
                                    "E_BACnet_MSTP_Slave_Max_Master", "E_BACnet_MSTP_Slave_Max_Info_Frame",
                                    "E_BACnet_MSTP_Slave_Device_Instance", "E_BACnet_MSTP_Slave_Network"};
    const int type = Combo("CB_BACnet_Slave_Type")->currentIndex();
    if (type == 0) {
        for (const char* row : ipRows)
            Show_Row(row, true);
        for (const char* row : mstpRows)
            Show_Row(row, false);
        Place_Row("CB_BACnet_Slave_Desc_32_Chars", Control("L_BACnet_IP_Slave_Device_Identifier")->y() + 28);
    } else if (type == 1) {
        for (const char* row : ipRows)
            Show_Row(row, false);
        int top = Control("L_BACnet_IP_Slave_IP")->y();
        for (const char* row : mstpRows) {
            Show_Row(row, true);
            Place_Row(row, top);
            top += 28;
        }
        Place_Row("CB_BACnet_Slave_Desc_32_Chars", top);
    }
    Panel_Height(CP_BACnet_Slave, Control("CB_BACnet_Slave_Desc_32_Chars"));
}

void TFParGen::RePosition_Object_PROFINET()
{
    Show_Row("CB_PROFINET_Diagnostic", false);
    Panel_Height(CP_PROFINET, Control("E_PROFINET_NByte_Out"));
}

void TFParGen::RePosition_Object_TLS_Server()
{
    const bool enabled = Check("CB_TLS_Server_Enable")->isChecked();
    for (const char* row : {"E_TLS_Server_Key", "E_TLS_Server_Key_Pass", "E_TLS_Server_Server_Cert",
                            "E_TLS_Server_Root_Cert", "CB_TLS_Server_En_Known_Cert"})
        Show_Row(row, enabled);
    Panel_Height(CP_TLS_Server, Control(enabled ? "CB_TLS_Server_En_Known_Cert" : "CB_TLS_Server_Enable"));
}

// ---- re-layout triggers and the family's small routines ----

void TFParGen::On_Change(QObject* Sender)
{
    if (Sender && (Sender == Control("CB_SNMP_Agent_SecurityLevel") || Sender == Control("CB_BACnet_Slave_Type")))
        Move_GroupBoxs();
}

void TFParGen::On_Click(QObject* Sender)
{
    if (!Sender)
        return;
    for (const char* name : {"CB_SNMP_Agent_Version3", "CB_MQTT_WillFlag", "CB_TLS_Enable",
                             "CB_TLS_En_Server_Auth", "CB_TLS_En_Client_Auth", "CB_TLS_Server_Enable"})
        if (Sender == Control(name)) {
            Move_GroupBoxs();
            return;
        }
}

bool TFParGen::Check_Device_Name(const QString& Text) const
{
    for (QChar c : Text) {
        const ushort u = c.unicode();
        const bool plain = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        if (!plain)
            return true;
    }
    return false;
}

void TFParGen::CP_Expand(QObject*)
{
    Move_GroupBoxs();
}
