#pragma once
// The device update dialog: the last step of an update. The user types the device's address,
// chooses what to transfer and whether to read it back; the update button pings the device,
// remembers the choices, writes the update job file and runs the external update program.
#include "platform/Form.h"
#include "platform/Services.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;
class TLbButton;

class TFBoot : public platform::TForm {
    Q_OBJECT
public:
    explicit TFBoot(QWidget* parent = nullptr);
    ~TFBoot() override;

    // 1: update over Ethernet (what the main window's update step sets); 0: the serial layout.
    int Form_Type = 1;
    // Result of the last echo: 0 no reply event yet, 1 a reply with data, 2 a reply without data.
    int ping_res = 0;

    // ---- components, top to bottom ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;

    QWidget* P_IP_Address = nullptr;
    QLabel* L_IP_Address = nullptr;
    QLineEdit* E_IP1 = nullptr;
    QLineEdit* E_IP2 = nullptr;
    QLineEdit* E_IP3 = nullptr;
    QLineEdit* E_IP4 = nullptr;

    // Device search: never shown, the search has no action.
    QWidget* P_Eth_Search = nullptr;
    QLabel* L_List_Device = nullptr;
    TLbButton* Btn_Search = nullptr;
    QCheckBox* CB_Find_All_Norvane = nullptr;

    QWidget* P_Options = nullptr;
    QLabel* L_Update_Option = nullptr;
    QComboBox* CB_Update_Options = nullptr;
    QCheckBox* CB_Update_Option_Read_Back = nullptr;

    // Serial port choice, shown only with Form_Type 0.
    QWidget* P_Serial = nullptr;
    QLabel* L_COM_Port = nullptr;
    QComboBox* CB_COM_Port = nullptr;
    TLbButton* Btn_COM_List = nullptr;

    QWidget* P_Button = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_Update = nullptr;

    // ---- the echo client's settings ----
    static constexpr int Ping_Packet_Size = 1024;
    static constexpr int Ping_Receive_Timeout_Ms = 400;
    static constexpr int Ping_Total_Ms = 5000;
    static constexpr int Ping_Poll_Ms = 10;

    // ---- handlers and methods ----
    void FormShow();
    // The full stop of the octet fields: swallowed, and moves on to the next field. A key set to
    // 0 is not typed.
    void KeyPress(QObject* Sender, QChar& Key);
    void Btn_UpdateClick(QObject* Sender);
    void Btn_COM_ListClick(QObject* Sender);
    // The echo client's reply event.
    void PingReply(QObject* Sender, const platform::TPingReply& Reply);
    // True when the device answered.
    bool Send_Ping();
    void Set_Lang();
    void update_ComPort();
    // Writes the job file from the dialog's current fields; false when it could not be written.
    bool Compile_XML_Parameter_New_Boot();

    // The four octet fields joined with "." as typed.
    QString IP_Address_Text() const;
    // The address to ping: four decimal octets 0..255 (blanks around each allowed) in plain
    // dotted form; empty when the fields hold anything else.
    static QString Ping_Address(const QString& E1, const QString& E2, const QString& E3, const QString& E4);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Stack_Panels(std::initializer_list<QWidget*> Top);
    bool FUpdating = false;
};

extern TFBoot* FBoot;

// Creates the window the first time it is needed.
// Sets FBoot and registers it with the main window: the update step
// shows it modally for an update over Ethernet, and a language change re-texts it.
TFBoot* Create_FBoot(QWidget* parent = nullptr);
