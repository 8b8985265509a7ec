#pragma once
// The main window: program start-up (folders, settings, language, remembered configuration), the
// step buttons with their one dispatcher, the language switch of every window and the periodic
// update check.
#include "core/XMLDocument.h"
#include "platform/Form.h"
#include "platform/Services.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QTimer;
class TBitmap;
class TLbButton;

// ---- the program's windows ----
// Every window of the program registers itself here when it is created, so the main window can
// show it from its step and re-text it on a language change without knowing its class. Windows of
// later units simply register under their instance name ("FParGen", "FBoot", ...).
struct TRegisteredWindow {
    platform::TForm* Form = nullptr;
    std::function<void()> Set_Lang;                 // applies the window's language texts
    std::function<platform::TModalResult()> Show;   // how a step shows it (default: ShowModal)
};
void Register_Window(const QString& Name, const TRegisteredWindow& Window);
void Unregister_Window(const QString& Name);
const TRegisteredWindow* Find_Window(const QString& Name);

// Makes a dialog under `parent`, keeps it in `Global`, runs its creation and registers it under
// its object name, so that a language switch reaches it and a step shows it modally.
template <class TDialog>
TDialog* Create_Registered(QWidget* parent, TDialog*& Global)
{
    auto* w = new TDialog(parent);
    Global = w;
    w->Create();
    Register_Window(w->objectName(), {w, [w] { w->Set_Lang(); }, nullptr});
    return w;
}

// A window may be left to be made when it is first needed: `Make` creates it (its create handler
// runs then, so it takes the texts of the language in use, as a language switch would give it)
// and returns it. Until then nothing depends on it: a language switch has nothing to re-text.
void Register_Window_Maker(const QString& Name, std::function<platform::TForm*()> Make);
// Forgets every maker not run yet (the windows they would make belong to a main window going away).
void Clear_Window_Makers();
// The window of that name: the registered one, or the one its maker makes now; nullptr when
// there is neither.
platform::TForm* Need_Window(const QString& Name);
// The same for a window kept in an instance variable (`FAbout`, `FTopicTemplate`, ...).
template <class T>
T* Need_Window(T*& Instance, const char* Name)
{
    if (!Instance)
        Need_Window(QString::fromLatin1(Name));
    return Instance;
}

// Steps that open no window of their own (the generators, the device update): registered by the
// unit that implements them under the name of the routine ("Create_GSD_File", "Build_EDS_File",
// "Build_MIB_File", "BACnet_EDE_File").
void Register_Step(const QString& Name, std::function<void()> Action);
void Unregister_Step(const QString& Name);

// The windows that Change_Language re-texts, in their order (the main window first).
extern const char* const Language_Order[21];

// The HTTP client of the update check: HTTP/1.0, no cookies, these request headers.
struct THTTPClient {
    QList<QPair<QByteArray, QByteArray>> Request_Headers() const;
    QByteArray Accept = "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
    QByteArray User_Agent = "Mozilla/3.0 (compatible; Indy Library)";
};

class TFVelmoraeFirmWare : public platform::TForm {
    Q_OBJECT
public:
    explicit TFVelmoraeFirmWare(QWidget* parent = nullptr);
    ~TFVelmoraeFirmWare() override;

    // Handlers.
    void FormCreate();
    void FormClose();
    void Btn_Click(QObject* Sender);
    void Timer_UpdateTimer();
    void LL_UpdateLinkClick(const QString& Link);
    void L_NorvaneClick();

    // Own methods.
    void Set_Lang();
    void Set_Files();
    void Open_Project();
    void Create_New_Project();
    bool Save_Setting();
    void Change_Language();
    void Update_Device();
    // Runs an external program and waits for it (the update dialog's transfer).
    platform::TProgramResult Start_Program(const QString& Program, const QString& Parameters, bool Hidden,
                                           int Timeout_Ms = 150000);

    // Shows a dialog modally; tests replace this to run a dialog's handlers without a person.
    std::function<platform::TModalResult(platform::TForm*)> Show_Modal_Hook;
    platform::TModalResult Show_Modal(platform::TForm* Form);

    // Components.
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* L_Begin = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* L_Name_Conf = nullptr;
    QLabel* L_Name_Conf_L2 = nullptr;
    QLabel* L_Step[8] = {};  // L_Step_1 ... L_Step_8
    QLabel* L_Norvane = nullptr;
    QLabel* LL_Update = nullptr;
    QFrame* Shape1 = nullptr;

    TLbButton* Btn_Info = nullptr;
    TLbButton* Btn_Opz = nullptr;
    TLbButton* Btn_Close = nullptr;
    TLbButton* Btn_New = nullptr;
    TLbButton* Btn_Open = nullptr;
    TLbButton* Btn_Prm_Gen = nullptr;
    TLbButton* Btn_S7_Protocol_Access = nullptr;
    TLbButton* Btn_OPC_UA_Server_Access = nullptr;
    TLbButton* Btn_CreateBin = nullptr;
    TLbButton* Btn_PROFIBUS_GSD = nullptr;
    TLbButton* Btn_KNX_Access = nullptr;
    TLbButton* Btn_IEC61850_Access = nullptr;
    TLbButton* Btn_TLS_List_Certificates = nullptr;
    TLbButton* Btn_CAN_Rec_Frame = nullptr;
    TLbButton* Btn_CAN_Send_Frame = nullptr;
    TLbButton* Btn_SDO_Server_CANopen = nullptr;
    TLbButton* Btn_SDO_Client_CANopen = nullptr;
    TLbButton* Btn_PDO_CANopen = nullptr;
    TLbButton* Btn_CANopen_EDS = nullptr;
    TLbButton* Btn_SNMP_Trap = nullptr;
    TLbButton* Btn_SNMP_MIB = nullptr;
    TLbButton* Btn_MQTT_Set_Topic = nullptr;
    TLbButton* Btn_BACnet_SetAccess = nullptr;
    TLbButton* Btn_BACnet_EDE_File = nullptr;
    TLbButton* Btn_PROFINET_XML = nullptr;

    QTimer* Timer_Update = nullptr;
    TXMLDocument XML1;
    THTTPClient HTTP1;
    platform::TSaveDialogRequest SD1;
    platform::TSaveDialogRequest SaveEDS;
    platform::TSaveDialogRequest SaveMIB;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    TLbButton* Make_Button(const char* Name, const TBitmap* Glyph, int W, int H);
    void Lay_Out();
    void Show_Conf_Labels();
    void Arm_Update_Timer();
    bool Run_Window(const char* Name);
    void Run_Step(const char* Name);

    // The settings file was there at start but could not be read: before it is written again it
    // is kept as its backup, so that what the user had is not lost to the defaults.
    bool FSettings_Unreadable = false;
};

extern TFVelmoraeFirmWare* FVelmoraeFirmWare;

// Creates the main window and runs its create handler (the first window of the program).
TFVelmoraeFirmWare* Create_FVelmoraeFirmWare();
