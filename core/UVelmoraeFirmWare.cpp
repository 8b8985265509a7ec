#include "core/UVelmoraeFirmWare.h"

#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/UEthernetUpdate.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USaveBincc.h"
#include "core/USettings.h"
#include "core/USoftOptions.h"
#include "platform/Graphics.h"
#include "platform/Picture.h"
#include "render/LbButton.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMap>
#include <QPainter>
#include <QTimer>

#include <map>
#include <memory>

TFVelmoraeFirmWare* FVelmoraeFirmWare = nullptr;

// ---- registry of the windows and steps ----

namespace {

QMap<QString, TRegisteredWindow>& Windows()
{
    static QMap<QString, TRegisteredWindow> windows;
    return windows;
}

QMap<QString, std::function<platform::TForm*()>>& Makers()
{
    static QMap<QString, std::function<platform::TForm*()>> makers;
    return makers;
}

QMap<QString, std::function<void()>>& Steps()
{
    static QMap<QString, std::function<void()>> steps;
    return steps;
}

// Main window look.
const TColor Main_Color = 15595512; // $EDF7F8
const int Check_Interval_Ms = 7200000;
const int First_Check_Ms = 60000;

} // namespace

void Register_Window(const QString& Name, const TRegisteredWindow& Window)
{
    Windows().insert(Name, Window);
}

void Unregister_Window(const QString& Name)
{
    Windows().remove(Name);
}

const TRegisteredWindow* Find_Window(const QString& Name)
{
    auto it = Windows().constFind(Name);
    return it == Windows().constEnd() ? nullptr : &it.value();
}

void Register_Window_Maker(const QString& Name, std::function<platform::TForm*()> Make)
{
    Makers().insert(Name, std::move(Make));
}

void Clear_Window_Makers()
{
    Makers().clear();
}

platform::TForm* Need_Window(const QString& Name)
{
    if (const TRegisteredWindow* w = Find_Window(Name); w && w->Form)
        return w->Form;
    auto it = Makers().find(Name);
    if (it == Makers().end() || !it.value())
        return nullptr;
    // Taken out first: a window is made once, even when its create handler asks for itself.
    const std::function<platform::TForm*()> make = std::move(it.value());
    Makers().erase(it);
    platform::TForm* made = make();
    if (const TRegisteredWindow* w = Find_Window(Name); w && w->Form)
        return w->Form;
    return made;
}

void Register_Step(const QString& Name, std::function<void()> Action)
{
    Steps().insert(Name, std::move(Action));
}

void Unregister_Step(const QString& Name)
{
    Steps().remove(Name);
}

const char* const Language_Order[21] = {
    "FVelmoraeFirmWare", "FNew_Project", "FOpenConf", "FSoftOptions", "FBoot", "FParGen",
    "FS7_Protocol_Set_Access", "FKNXAccess", "FIEC61850_Variables", "FTLS_Server_Known_Cert",
    "FReceiveCAN", "FTransmitCAN", "FSet_PDO_Access", "FSet_SDO_Client_Access", "FSet_SDO_Server_Access",
    "FSNMP_Trap_Access", "FMQTT_Set_Topic", "FTopicTemplate", "FBACnetSlaveSetAccess", "FBACnet_Eng_Unit",
    "FOPC_UA_Server_Access",
};

QList<QPair<QByteArray, QByteArray>> THTTPClient::Request_Headers() const
{
    return {{"Accept", Accept}, {"User-Agent", User_Agent}};
}

// ---- the window ----

TFVelmoraeFirmWare::TFVelmoraeFirmWare(QWidget* parent)
    : platform::TForm(parent)
{
    setObjectName(QStringLiteral("FVelmoraeFirmWare"));
    // A fixed single-border window with only the system menu.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                   | Qt::MSWindowsFixedSizeDialogHint);
    QFont f(QStringLiteral("Verdana"));
    f.setPixelSize(11);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ToQColor(Main_Color));
    setPalette(pal);
    setAutoFillBackground(true);

    auto label = [this](const char* name) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    L_SW_Code = label("L_SW_Code");
    Set_Title_Look(L_SW_Code, 27);
    L_SW_Desc = label("L_SW_Desc");
    Set_Title_Look(L_SW_Desc, 13);
    L_Begin = label("L_Begin");
    L_Begin->setFont(Title_Font(13));
    Shape2 = new QFrame(this);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    Shape2->setFrameShape(QFrame::Box);
    Shape2->setStyleSheet(QStringLiteral("QFrame#Shape2 { border: 1px solid #A0A0A0; background: #FFFFFF; }"));
    Shape2->resize(598, 36);
    L_Name_Conf = label("L_Name_Conf");
    L_Name_Conf_L2 = label("L_Name_Conf_L2");
    QFont boldSmall(QStringLiteral("Verdana"));
    boldSmall.setPixelSize(11);
    boldSmall.setBold(true);
    L_Name_Conf_L2->setFont(boldSmall);
    for (int k = 0; k < 8; ++k) {
        L_Step[k] = label(QStringLiteral("L_Step_%1").arg(k + 1).toLatin1().constData());
        L_Step[k]->setFont(boldSmall);
    }
    L_Norvane = label("L_Norvane");
    L_Norvane->setText(Maker_Web_Host);
    L_Norvane->setCursor(Qt::PointingHandCursor);
    L_Norvane->setStyleSheet(QStringLiteral("color: #0000FF; text-decoration: underline"));
    L_Norvane->installEventFilter(this);
    LL_Update = label("LL_Update");
    LL_Update->setTextFormat(Qt::RichText);
    LL_Update->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    LL_Update->setOpenExternalLinks(false);
    connect(LL_Update, &QLabel::linkActivated, this, [this](const QString& link) { LL_UpdateLinkClick(link); });
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setStyleSheet(QStringLiteral("QFrame#Shape1 { background: #A0A0A0; }"));

    // Nine pictures serve the 25 buttons: each is read once.
    std::map<QString, std::unique_ptr<TBitmap>> glyphs;
    auto Make_Button = [this, &glyphs](const char* Name, const char* Glyph, int W, int H) {
        std::unique_ptr<TBitmap>& glyph = glyphs[QString::fromLatin1(Glyph)];
        if (!glyph) {
            glyph = std::make_unique<TBitmap>();
            try {
                glyph->LoadFromResourceName(QString::fromLatin1(Glyph));
            } catch (const std::exception&) {
                glyph->SetHeight(0);  // a missing picture leaves the button without a glyph
            }
        }
        return this->Make_Button(Name, glyph->Height() > 0 ? glyph.get() : nullptr, W, H);
    };
    Btn_Info = Make_Button("Btn_Info", "GLYPH_INFO", 50, 50);
    Btn_Opz = Make_Button("Btn_Opz", "GLYPH_OPTIONS", 50, 50);
    Btn_Close = Make_Button("Btn_Close", "GLYPH_CLOSE", 50, 50);
    Btn_New = Make_Button("Btn_New", "GLYPH_NEW", 170, 36);
    Btn_Open = Make_Button("Btn_Open", "GLYPH_OPEN", 170, 36);
    Btn_Prm_Gen = Make_Button("Btn_Prm_Gen", "GLYPH_PARAMS", 170, 36);
    Btn_S7_Protocol_Access = Make_Button("Btn_S7_Protocol_Access", "GLYPH_TABLE", 170, 36);
    Btn_OPC_UA_Server_Access = Make_Button("Btn_OPC_UA_Server_Access", "GLYPH_TABLE", 170, 36);
    Btn_CreateBin = Make_Button("Btn_CreateBin", "GLYPH_UPDATE", 170, 36);
    Btn_PROFIBUS_GSD = Make_Button("Btn_PROFIBUS_GSD", "GLYPH_FILE", 170, 36);
    Btn_KNX_Access = Make_Button("Btn_KNX_Access", "GLYPH_TABLE", 170, 36);
    Btn_IEC61850_Access = Make_Button("Btn_IEC61850_Access", "GLYPH_TABLE", 170, 36);
    Btn_TLS_List_Certificates = Make_Button("Btn_TLS_List_Certificates", "GLYPH_TABLE", 170, 36);
    Btn_CAN_Rec_Frame = Make_Button("Btn_CAN_Rec_Frame", "GLYPH_TABLE", 170, 36);
    Btn_CAN_Send_Frame = Make_Button("Btn_CAN_Send_Frame", "GLYPH_TABLE", 170, 36);
    Btn_SDO_Server_CANopen = Make_Button("Btn_SDO_Server_CANopen", "GLYPH_TABLE", 170, 36);
    Btn_SDO_Client_CANopen = Make_Button("Btn_SDO_Client_CANopen", "GLYPH_TABLE", 170, 36);
    Btn_PDO_CANopen = Make_Button("Btn_PDO_CANopen", "GLYPH_TABLE", 170, 36);
    Btn_CANopen_EDS = Make_Button("Btn_CANopen_EDS", "GLYPH_FILE", 170, 36);
    Btn_SNMP_Trap = Make_Button("Btn_SNMP_Trap", "GLYPH_TABLE", 170, 36);
    Btn_SNMP_MIB = Make_Button("Btn_SNMP_MIB", "GLYPH_FILE", 170, 36);
    Btn_MQTT_Set_Topic = Make_Button("Btn_MQTT_Set_Topic", "GLYPH_TABLE", 170, 36);
    Btn_BACnet_SetAccess = Make_Button("Btn_BACnet_SetAccess", "GLYPH_TABLE", 170, 36);
    Btn_BACnet_SetAccess->SetCaption(QStringLiteral("Set BACnet Access"));
    Btn_BACnet_EDE_File = Make_Button("Btn_BACnet_EDE_File", "GLYPH_FILE", 170, 36);
    Btn_BACnet_EDE_File->SetCaption(QStringLiteral("BACnet EDE File"));
    Btn_PROFINET_XML = Make_Button("Btn_PROFINET_XML", "GLYPH_FILE", 170, 36);

    Timer_Update = new QTimer(this);
    Timer_Update->setObjectName(QStringLiteral("Timer_Update"));
    Timer_Update->setInterval(First_Check_Ms);
    connect(Timer_Update, &QTimer::timeout, this, [this] {
        // No exception ever leaves a timer event.
        try {
            Timer_UpdateTimer();
        } catch (...) {
        }
    });

    SD1.DefaultExt = QStringLiteral("csv");
    SaveEDS.DefaultExt = QStringLiteral("eds");
    SaveMIB.DefaultExt = QStringLiteral("mib");

    OnCreate = [this] { FormCreate(); };
    OnClose = [this](platform::TCloseAction&) { FormClose(); };
}

TFVelmoraeFirmWare::~TFVelmoraeFirmWare()
{
    if (FVelmoraeFirmWare == this) {
        FVelmoraeFirmWare = nullptr;
        // The windows not made yet would have been this window's children.
        Clear_Window_Makers();
    }
}

TLbButton* TFVelmoraeFirmWare::Make_Button(const char* Name, const TBitmap* Glyph, int W, int H)
{
    auto* b = new TLbButton(this);
    b->setObjectName(QString::fromLatin1(Name));
    b->resize(W, H);
    b->Font().SetName(QStringLiteral("Verdana"));
    b->Font().SetHeight(-11);
    b->SetHotTrackColor(0xFFCC99);
    if (Glyph) {
        b->SetGlyph(Glyph);
        b->SetNumGlyphs(1);
    }
    b->SetLayout(blGlyphLeft);
    b->OnClick = [this](QObject* sender) { Btn_Click(sender); };
    return b;
}

bool TFVelmoraeFirmWare::eventFilter(QObject* Watched, QEvent* Event)
{
    if (Watched == L_Norvane && Event->type() == QEvent::MouseButtonRelease) {
        L_NorvaneClick();
        return true;
    }
    return platform::TForm::eventFilter(Watched, Event);
}

// Positions and visibility of every component, then the client size.
void TFVelmoraeFirmWare::Lay_Out()
{
    auto place = [](QWidget* w, bool visible, int top, int left) {
        w->move(left, top);
        w->setVisible(visible);
    };
    place(L_SW_Code, true, 8, 16);
    place(L_SW_Desc, true, 42, 16);
    place(L_Begin, true, 84, 16);
    place(Shape2, true, 70, 80);
    place(L_Name_Conf, true, 75, 87);
    place(L_Name_Conf_L2, true, 88, 87);
    place(Btn_Info, true, 8, 516);
    place(Btn_Opz, true, 8, 574);
    place(Btn_Close, true, 8, 632);
    for (int k = 0; k < 8; ++k)
        place(L_Step[k], k < 5, 128 + 44 * k, 16);
    place(Btn_New, true, 112, 80);
    place(Btn_Open, true, 112, 258);
    place(Btn_Prm_Gen, true, 156, 80);
    place(Btn_S7_Protocol_Access, true, 200, 80);
    place(Btn_OPC_UA_Server_Access, true, 244, 80);
    place(Btn_CreateBin, true, 288, 80);
    place(L_Norvane, true, L_Step[4]->y(), 565);
    for (TLbButton* b : {Btn_PROFIBUS_GSD, Btn_KNX_Access, Btn_IEC61850_Access, Btn_TLS_List_Certificates,
                         Btn_CAN_Rec_Frame, Btn_CAN_Send_Frame, Btn_SDO_Server_CANopen, Btn_SDO_Client_CANopen,
                         Btn_PDO_CANopen, Btn_CANopen_EDS, Btn_SNMP_Trap, Btn_SNMP_MIB, Btn_MQTT_Set_Topic,
                         Btn_BACnet_SetAccess, Btn_BACnet_EDE_File, Btn_PROFINET_XML})
        b->setVisible(false);
    Shape1->setGeometry(10, Btn_CreateBin->y() + 51, 674, 1);
    Shape1->setVisible(true);
    LL_Update->move(258, 262);
    LL_Update->setVisible(false);
    L_Name_Conf->resize(580, 13);
    L_Name_Conf_L2->resize(580, 14);
    SetClientWidth(694);
    SetClientHeight(Btn_CreateBin->y() + 152);
    setFixedSize(ClientWidth(), ClientHeight());
}

void TFVelmoraeFirmWare::FormCreate()
{
    FVelmoraeFirmWare = this;
    Lang_Table.Clear();
    Lay_Out();

    Exe_Dir = QDir::cleanPath(Program_Folder());
    Master_Dir = Exe_Dir + QStringLiteral("/MASTER");
    QDir().mkdir(Master_Dir);
    Projects_Dir = Exe_Dir + QStringLiteral("/PROJECTS");
    QDir().mkdir(Projects_Dir);
    Language_Dir = Exe_Dir + QStringLiteral("/LANGUAGE");
    QDir().mkdir(Language_Dir);

    Active_Conf_Name.clear();
    Last_Read_Back = true;
    Last_Update_Option = 0;
    const QString Settings_Path = Exe_Dir + QLatin1Char('/') + Settings_File_Name;
    QString Settings_Error;
    Read_Settings(XML1, Settings_Path, &Settings_Error);
    FSettings_Unreadable = !Settings_Error.isEmpty();

    Timer_Update->setInterval(First_Check_Ms);
    Timer_Update->setSingleShot(false);
    Arm_Update_Timer();

    Main_Caption = QStringLiteral("Norvane - Configurator KT40917 - OPC UA Server / S7comm ");
    Shown_SW_Code = SW_Code;
    Shown_SW_Desc = SW_Desc;
    SetCaption(Main_Caption);
    L_SW_Code->setText(Shown_SW_Code);
    L_SW_Code->adjustSize();
    L_SW_Desc->setText(Shown_SW_Desc);
    L_SW_Desc->adjustSize();

    Load_Language();

    if (!Active_Conf_Name.isEmpty() && QFileInfo(Projects_Dir + QLatin1Char('/') + Active_Conf_Name).isDir())
        Active_Conf_Path = Projects_Dir + QLatin1Char('/') + Active_Conf_Name;
    else
        Active_Conf_Path.clear();

    Set_Lang();
    Set_Files();

    Row_Clipboard.clear();
    MIB_Lines_A.clear();
    MIB_Lines_B.clear();

    Register_Window(QStringLiteral("FVelmoraeFirmWare"), {this, [this] { Set_Lang(); }, nullptr});

    if (FSettings_Unreadable)
        platform::MessageDlg(QStringLiteral("The settings file \"%1\" could not be read: %2\n"
                                            "The program starts with the default settings. The file will be kept as "
                                            "\"%3\" when the settings are saved.")
                                 .arg(QDir::toNativeSeparators(Settings_Path), Settings_Error,
                                      QDir::toNativeSeparators(Settings_Backup_Name(Settings_Path))),
                             platform::mtWarning, platform::mbOK, this);
}

void TFVelmoraeFirmWare::FormClose()
{
    Save_Setting();
}

void TFVelmoraeFirmWare::Arm_Update_Timer()
{
    if (Enable_Internet && Enable_Update) {
        if (!Timer_Update->isActive())
            Timer_Update->start();
    } else {
        Timer_Update->stop();
    }
}

void TFVelmoraeFirmWare::Show_Conf_Labels()
{
    if (Conf_Is_Active()) {
        L_Name_Conf->setText(Lang_Table[11]);
        L_Name_Conf_L2->setText(Active_Conf_Name);
    } else {
        L_Name_Conf->setText(Lang_Table[9]);
        L_Name_Conf_L2->setText(Lang_Table[10]);
    }
}

void TFVelmoraeFirmWare::Set_Lang()
{
    L_Begin->setText(Lang_Table[0]);
    L_Begin->adjustSize();
    for (int k = 0; k < 8; ++k) {
        L_Step[k]->setText(Lang_Table[1 + k]);
        L_Step[k]->adjustSize();
    }
    Btn_Info->setToolTip(Lang_Table[12]);
    Btn_Opz->setToolTip(Lang_Table[13]);
    Btn_Close->setToolTip(Lang_Table[14]);
    Btn_New->SetCaption(Lang_Table[15]);
    Btn_Open->SetCaption(Lang_Table[16]);
    Btn_CreateBin->SetCaption(Lang_Table[17]);
    LL_Update->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(Download_Page_URL(), Lang_Table[19].toHtmlEscaped()));
    LL_Update->adjustSize();
    Btn_Prm_Gen->SetCaption(Lang_Table[20]);
    Btn_S7_Protocol_Access->SetCaption(Lang_Table[21]);
    Btn_New->setToolTip(Lang_Table[22]);
    Btn_Open->setToolTip(Lang_Table[23]);
    Btn_Prm_Gen->setToolTip(Lang_Table[24]);
    Btn_S7_Protocol_Access->setToolTip(Lang_Table[25]);
    Btn_CreateBin->setToolTip(Lang_Table[26]);
    const struct { TLbButton* b; int caption; } family[] = {
        {Btn_PROFIBUS_GSD, 27}, {Btn_KNX_Access, 29}, {Btn_IEC61850_Access, 31}, {Btn_TLS_List_Certificates, 33},
        {Btn_SDO_Server_CANopen, 43}, {Btn_SDO_Client_CANopen, 45}, {Btn_PDO_CANopen, 47}, {Btn_CANopen_EDS, 49},
        {Btn_SNMP_Trap, 51}, {Btn_SNMP_MIB, 53}, {Btn_MQTT_Set_Topic, 55}, {Btn_OPC_UA_Server_Access, 57},
        {Btn_PROFINET_XML, 59},
    };
    for (const auto& f : family) {
        f.b->SetCaption(Lang_Table[f.caption]);
        f.b->setToolTip(Lang_Table[f.caption + 1]);
    }
    Btn_CAN_Rec_Frame->SetCaption(Lang_Table[35]);
    Btn_CAN_Send_Frame->SetCaption(Lang_Table[36]);
    Btn_CAN_Rec_Frame->setToolTip(Lang_Table[37]);
    Btn_CAN_Send_Frame->setToolTip(Lang_Table[38]);
    Show_Conf_Labels();
}

void TFVelmoraeFirmWare::Set_Files()
{
    Set_Conf_File_Paths();
}

platform::TModalResult TFVelmoraeFirmWare::Show_Modal(platform::TForm* Form)
{
    if (!Form)
        return platform::mrNone;
    if (Show_Modal_Hook)
        return Show_Modal_Hook(Form);
    return Form->ShowModal();
}

bool TFVelmoraeFirmWare::Run_Window(const char* Name)
{
    Need_Window(QString::fromLatin1(Name));
    const TRegisteredWindow* w = Find_Window(QString::fromLatin1(Name));
    if (!w || !w->Form)
        return false;  // the window's unit is not part of this build yet
    if (w->Show && !Show_Modal_Hook)
        w->Show();
    else
        Show_Modal(w->Form);
    return true;
}

void TFVelmoraeFirmWare::Run_Step(const char* Name)
{
    auto it = Steps().constFind(QString::fromLatin1(Name));
    if (it != Steps().constEnd() && it.value())
        it.value()();
}

void TFVelmoraeFirmWare::Btn_Click(QObject* Sender)
{
    if (Sender == Btn_New) {
        Create_New_Project();
        return;
    }
    if (Sender == Btn_Open) {
        Open_Project();
        return;
    }
    if (Sender == Btn_Close) {
        Close();
        return;
    }
    if (Sender == Btn_Info) {
        Show_Modal(Need_Window(FAbout, "FAbout"));
        return;
    }
    if (Sender == Btn_Opz) {
        if (Need_Window(FSoftOptions, "FSoftOptions") && Show_Modal(FSoftOptions) == platform::mrOk) {
            Save_Setting();
            Arm_Update_Timer();
        }
        return;
    }
    // Every other step needs an open configuration.
    if (!Conf_Is_Active()) {
        platform::MessageDlg(Lang_Table[18], platform::mtError, platform::mbOK, this);
        return;
    }
    if (Sender == Btn_Prm_Gen)
        Run_Window("FParGen");
    else if (Sender == Btn_S7_Protocol_Access)
        Run_Window("FS7_Protocol_Set_Access");
    else if (Sender == Btn_PROFIBUS_GSD)
        Run_Step("Create_GSD_File");
    else if (Sender == Btn_KNX_Access)
        Run_Window("FKNXAccess");
    else if (Sender == Btn_TLS_List_Certificates)
        Run_Window("FTLS_Server_Known_Cert");
    else if (Sender == Btn_IEC61850_Access)
        Run_Window("FIEC61850_Variables");
    else if (Sender == Btn_CAN_Rec_Frame)
        Run_Window("FReceiveCAN");
    else if (Sender == Btn_CAN_Send_Frame)
        Run_Window("FTransmitCAN");
    else if (Sender == Btn_PDO_CANopen)
        Run_Window("FSet_PDO_Access");
    else if (Sender == Btn_SDO_Client_CANopen)
        Run_Window("FSet_SDO_Client_Access");
    else if (Sender == Btn_SDO_Server_CANopen)
        Run_Window("FSet_SDO_Server_Access");
    else if (Sender == Btn_CANopen_EDS)
        Run_Step("Build_EDS_File");
    else if (Sender == Btn_SNMP_Trap)
        Run_Window("FSNMP_Trap_Access");
    else if (Sender == Btn_SNMP_MIB)
        Run_Step("Build_MIB_File");
    else if (Sender == Btn_MQTT_Set_Topic)
        Run_Window("FMQTT_Set_Topic");
    else if (Sender == Btn_BACnet_SetAccess)
        Run_Window("FBACnetSlaveSetAccess");
    else if (Sender == Btn_BACnet_EDE_File)
        Run_Step("BACnet_EDE_File");
    else if (Sender == Btn_OPC_UA_Server_Access)
        Run_Window("FOPC_UA_Server_Access");
    else if (Sender == Btn_CreateBin)
        Update_Device();
    // Btn_PROFINET_XML: nothing.
}

void TFVelmoraeFirmWare::Open_Project()
{
    if (!Need_Window(FOpenConf, "FOpenConf") || Show_Modal(FOpenConf) != platform::mrOk)
        return;
    Active_Conf_Name = FOpenConf->Name_Conf;
    // A configuration becomes active only when its folder is there (it may have gone since the
    // list was made, or the name is one kept from an earlier showing).
    const QString folder = Projects_Dir + QLatin1Char('/') + Active_Conf_Name;
    if (!Active_Conf_Name.isEmpty() && Is_Plain_Conf_Name(Active_Conf_Name) && QFileInfo(folder).isDir())
        Active_Conf_Path = folder;
    else
        Active_Conf_Path.clear();
    Show_Conf_Labels();
    Set_Files();
}

void TFVelmoraeFirmWare::Create_New_Project()
{
    if (!Need_Window(FNew_Project, "FNew_Project") || Show_Modal(FNew_Project) != platform::mrOk)
        return;
    Show_Conf_Labels();
}

bool TFVelmoraeFirmWare::Save_Setting()
{
    const QString path = Exe_Dir + QLatin1Char('/') + Settings_File_Name;
    QString error;
    if (FSettings_Unreadable && QFileInfo::exists(path)) {
        const QString bak = Settings_Backup_Name(path);
        if (!Keep_File_Copy(path, bak, &error)) {
            platform::MessageDlg(QStringLiteral("Error! The settings file \"%1\" could not be read and cannot be kept "
                                                "as \"%2\": %3. The settings were not saved.")
                                     .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(bak), error),
                                 platform::mtError, platform::mbOK, this);
            return false;
        }
    }
    FSettings_Unreadable = false;
    if (Write_Settings(XML1, path, &error))
        return true;
    // The old file stays as it was; say why the new one could not be written.
    platform::MessageDlg(QStringLiteral("Error! The settings could not be saved: ") + error, platform::mtError,
                         platform::mbOK, this);
    return false;
}

void TFVelmoraeFirmWare::Change_Language()
{
    for (const char* name : Language_Order) {
        if (QLatin1String(name) == QLatin1String("FVelmoraeFirmWare")) {
            Set_Lang();
            continue;
        }
        const TRegisteredWindow* w = Find_Window(QString::fromLatin1(name));
        if (w && w->Set_Lang)
            w->Set_Lang();
    }
}

void TFVelmoraeFirmWare::Update_Device()
{
    if (!Compile_Banks() || !Save_Banks())
        return;
    // The update dialog registers how it opens for an update over Ethernet (Form_Type 1).
    Run_Window("FBoot");
}

platform::TProgramResult TFVelmoraeFirmWare::Start_Program(const QString& Program, const QString& Parameters,
                                                           bool Hidden, int Timeout_Ms)
{
    return ::Start_Program(Program, Parameters, Hidden, Timeout_Ms);
}

void TFVelmoraeFirmWare::Timer_UpdateTimer()
{
    Timer_Update->stop();
    const bool newer = Need_Window(FSoftOptions, "FSoftOptions") && FSoftOptions->Check_Version();
    LL_Update->setVisible(newer);
    Timer_Update->setInterval(Check_Interval_Ms);
    Timer_Update->start();
}

void TFVelmoraeFirmWare::LL_UpdateLinkClick(const QString& Link)
{
    platform::TheServices().OpenUrl(Link);
}

void TFVelmoraeFirmWare::L_NorvaneClick()
{
    platform::TheServices().OpenUrl(Home_Page_URL());
}

TFVelmoraeFirmWare* Create_FVelmoraeFirmWare()
{
    auto* w = new TFVelmoraeFirmWare();
    w->Create();
    return w;
}
