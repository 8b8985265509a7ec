// Main window: start-up in a program folder of its own, the step guard, the configuration
// dialogs, the options and the language switch, the update timer.
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/USoftOptions.h"
#include "core/UVelmoraeFirmWare.h"
#include "platform/ScriptedServices.h"
#include "render/LbButton.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using platform::ScopedServices;
using platform::ScriptedServices;

namespace {

// A temporary program folder, the scripted services and the five windows of this unit, created
// in their order. Dialogs shown modally run through the hook: `Answer` decides how each ends.
class MainWindow : public Program_Folder_Test {
protected:
    void Start()
    {
        FMain = Create_FVelmoraeFirmWare();
        Create_FAbout(FMain);
        Create_FNew_Project(FMain);
        Create_FOpenConf(FMain);
        Create_FSoftOptions(FMain);
        FMain->Show_Modal_Hook = [this](platform::TForm* form) {
            Shown << form->objectName();
            if (form->OnShow)
                form->OnShow();
            return Answer ? Answer(form) : platform::mrCancel;
        };
    }
    void TearDown() override
    {
        for (const char* name : {"FNew_Project", "FOpenConf", "FSoftOptions", "FVelmoraeFirmWare", "FKNXAccess"})
            Unregister_Window(name);
        delete FMain;  // the dialogs are its children
        FMain = nullptr;
        FAbout = nullptr;
        FNew_Project = nullptr;
        FOpenConf = nullptr;
        FSoftOptions = nullptr;
        Restore_Program();
    }
    void WriteSettings(const QByteArray& xml)
    {
        QFile f(FDir.filePath("Velmora.xml"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(xml);
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const auto& m : FServices.MessageBoxes)
            texts << m.Text;
        return texts;
    }

    std::function<platform::TModalResult(platform::TForm*)> Answer;
};

} // namespace

// The small dialogs share one frame: a fixed-size dialog title bar, the window look, OK and
// Cancel at the foot (Cancel ends the dialog by itself) and, but for About, a registration
// that reaches them on a language switch.
TEST_F(MainWindow, SmallDialogsShareTheirFrame)
{
    Start();
    QWidget fixedDialog;  // the flags as Qt completes them
    fixedDialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                               | Qt::MSWindowsFixedSizeDialogHint);
    for (platform::TForm* form : std::initializer_list<platform::TForm*>{FAbout, FNew_Project, FOpenConf, FSoftOptions})
        EXPECT_EQ(form->windowFlags(), fixedDialog.windowFlags()) << form->objectName().toStdString();
    EXPECT_EQ(FAbout->objectName(), "FAbout");
    EXPECT_EQ(Find_Window("FAbout"), nullptr);
    struct Frame {
        platform::TForm* Form;
        const char* Name;
        QWidget* Panel;
        TLbButton* OK;
        TLbButton* Cancel;
        platform::TModalResult OK_Result;
    };
    const Frame frames[] = {
        {FNew_Project, "FNew_Project", FNew_Project->P_Button, FNew_Project->Btn_OK, FNew_Project->Btn_Cancel, 0},
        {FOpenConf, "FOpenConf", FOpenConf->P_Button, FOpenConf->Btn_OK, FOpenConf->Btn_Cancel, platform::mrOk},
        {FSoftOptions, "FSoftOptions", FSoftOptions->P_Button, FSoftOptions->Btn_OK, FSoftOptions->Btn_Cancel, 0},
    };
    for (const Frame& f : frames) {
        SCOPED_TRACE(f.Name);
        EXPECT_EQ(f.Form->objectName(), f.Name);
        EXPECT_EQ(f.Form->palette().color(QPalette::Window), QColor(0xF8, 0xF7, 0xED));
        EXPECT_EQ(f.Panel->objectName(), "P_Button");
        EXPECT_EQ(f.Panel->parentWidget(), f.Form);
        EXPECT_EQ(f.OK->objectName(), "Btn_OK");
        EXPECT_EQ(f.OK->parentWidget(), f.Panel);
        EXPECT_EQ(f.OK->geometry(), QRect(16, 6, 110, 28));
        EXPECT_EQ(f.OK->ModalResult(), f.OK_Result);
        EXPECT_EQ(f.Cancel->objectName(), "Btn_Cancel");
        EXPECT_EQ(f.Cancel->parentWidget(), f.Panel);
        EXPECT_EQ(f.Cancel->geometry(), QRect(134, 6, 110, 28));
        EXPECT_EQ(f.Cancel->ModalResult(), platform::mrCancel);
        const TRegisteredWindow* reg = Find_Window(f.Name);
        ASSERT_NE(reg, nullptr);
        EXPECT_EQ(reg->Form, f.Form);
        EXPECT_TRUE(reg->Set_Lang);
        EXPECT_FALSE(reg->Show);
    }
}

TEST_F(MainWindow, FirstStart)
{
    Start();
    for (const char* folder : {"MASTER", "PROJECTS", "LANGUAGE"})
        EXPECT_TRUE(QFileInfo(FDir.filePath(folder)).isDir()) << folder;
    EXPECT_EQ(Exe_Dir, QDir::cleanPath(FDir.path()));
    EXPECT_EQ(Projects_Dir, Exe_Dir + "/PROJECTS");
    EXPECT_FALSE(Conf_Is_Active());
    EXPECT_EQ(Active_Language, "English");
    EXPECT_EQ(FMain->Caption(), "Norvane - Configurator KT40917 - OPC UA Server / S7comm ");
    EXPECT_EQ(FMain->L_SW_Code->text(), "KT40917");
    EXPECT_EQ(FMain->L_Name_Conf->text(), "None Configuration Opened ");
    EXPECT_EQ(FMain->L_Name_Conf_L2->text(), "Use Step1 to open or create new configuration");
    EXPECT_EQ(FMain->Btn_New->Caption(), "New Configuration");
    EXPECT_EQ(FMain->Btn_BACnet_SetAccess->Caption(), "Set BACnet Access");
    EXPECT_FALSE(FMain->Timer_Update->isActive());
    EXPECT_EQ(FMain->ClientWidth(), 694);
    EXPECT_EQ(FMain->ClientHeight(), 440);
    EXPECT_EQ(FMain->Shape1->geometry(), QRect(10, 339, 674, 1));
    EXPECT_FALSE(FMain->Btn_KNX_Access->isVisibleTo(FMain));
    EXPECT_TRUE(FMain->Btn_CreateBin->isVisibleTo(FMain));
    EXPECT_FALSE(FMain->LL_Update->isVisibleTo(FMain));
    EXPECT_EQ(File_ParGen, "/ParGen.xml");
    EXPECT_TRUE(Row_Clipboard.isEmpty());

    FMain->Show();
    FMain->grab().save(kt_test::GrabPath("main_window.png"));
}

TEST_F(MainWindow, StepGuard)
{
    Start();
    struct Step { TLbButton* button; bool guarded; };
    const Step steps[] = {
        {FMain->Btn_New, false}, {FMain->Btn_Open, false}, {FMain->Btn_Info, false}, {FMain->Btn_Opz, false},
        {FMain->Btn_Prm_Gen, true}, {FMain->Btn_S7_Protocol_Access, true}, {FMain->Btn_PROFIBUS_GSD, true},
        {FMain->Btn_KNX_Access, true}, {FMain->Btn_TLS_List_Certificates, true},
        {FMain->Btn_IEC61850_Access, true}, {FMain->Btn_CAN_Rec_Frame, true}, {FMain->Btn_CAN_Send_Frame, true},
        {FMain->Btn_PDO_CANopen, true}, {FMain->Btn_SDO_Client_CANopen, true},
        {FMain->Btn_SDO_Server_CANopen, true}, {FMain->Btn_CANopen_EDS, true}, {FMain->Btn_SNMP_Trap, true},
        {FMain->Btn_SNMP_MIB, true}, {FMain->Btn_MQTT_Set_Topic, true}, {FMain->Btn_BACnet_SetAccess, true},
        {FMain->Btn_BACnet_EDE_File, true}, {FMain->Btn_OPC_UA_Server_Access, true},
        {FMain->Btn_CreateBin, true}, {FMain->Btn_PROFINET_XML, true},
    };
    for (const Step& s : steps) {
        FServices.MessageBoxes.clear();
        FMain->Btn_Click(s.button);
        if (s.guarded) {
            ASSERT_EQ(FServices.MessageBoxes.size(), 1) << s.button->objectName().toStdString();
            EXPECT_EQ(FServices.MessageBoxes[0].Text, "Error! Project not Valid");
            EXPECT_EQ(FServices.MessageBoxes[0].Type, platform::mtError);
            EXPECT_EQ(FServices.MessageBoxes[0].Buttons, platform::TMsgDlgButtons(platform::mbOK));
        } else {
            EXPECT_TRUE(FServices.MessageBoxes.isEmpty()) << s.button->objectName().toStdString();
        }
    }
    EXPECT_EQ(Shown, QStringList({"FNew_Project", "FOpenConf", "FAbout", "FSoftOptions"}));

    // With a configuration, a hidden step runs like a visible one, and PROFINET XML does nothing.
    ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/Plant"));
    Active_Conf_Path = Projects_Dir + "/Plant";
    platform::TForm knx;
    knx.setObjectName("FKNXAccess");
    Register_Window("FKNXAccess", {&knx, nullptr, nullptr});
    Shown.clear();
    FServices.MessageBoxes.clear();
    FMain->Btn_Click(FMain->Btn_KNX_Access);
    FMain->Btn_Click(FMain->Btn_PROFINET_XML);
    EXPECT_EQ(Shown, QStringList({"FKNXAccess"}));
    EXPECT_TRUE(FServices.MessageBoxes.isEmpty());
}

TEST_F(MainWindow, RememberedConfiguration)
{
    const QByteArray xml = "<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj></Conf_Settings>";
    for (bool present : {true, false}) {
        SCOPED_TRACE(present ? "folder present" : "folder missing");
        WriteSettings(xml);
        QDir(FDir.filePath("PROJECTS/Plant_A")).removeRecursively();
        if (present) {
            ASSERT_TRUE(QDir().mkpath(FDir.filePath("PROJECTS/Plant_A")));
        }
        Start();
        EXPECT_EQ(Active_Conf_Name, "Plant_A");
        EXPECT_EQ(Conf_Is_Active(), present);
        EXPECT_EQ(FMain->L_Name_Conf->text(),
                  present ? "Opened Configuration of the Converter : " : "None Configuration Opened ");
        EXPECT_EQ(FMain->L_Name_Conf_L2->text(),
                  present ? "Plant_A" : "Use Step1 to open or create new configuration");
        if (present) {
            EXPECT_EQ(File_S7_Protocol, Projects_Dir + "/Plant_A/S7_Protocol.xml");
        }
        // The remembered name goes back to the file at close, whether or not its folder exists.
        QFile::remove(FDir.filePath("Velmora.xml"));
        FMain->FormClose();
        EXPECT_TRUE(kt_test::ReadFile(FDir.filePath("Velmora.xml")).contains("<projectname>Plant_A</projectname>"));
        TearDown();
        SetUp();
    }
}

TEST_F(MainWindow, UnreadableSettingsAreToldAndKept)
{
    // A damaged file: told once at start, the defaults are used, and the file is kept as it was
    // before the settings are written again.
    const QByteArray damaged = "<Conf_Settings><lastproj><projectname>Plant_A</projectname></lastproj><lastipadd><ipad";
    WriteSettings(damaged);
    ASSERT_TRUE(QDir().mkpath(FDir.filePath("PROJECTS/Plant_A")));
    Start();
    ASSERT_EQ(FServices.MessageBoxes.size(), 1);
    EXPECT_EQ(FServices.MessageBoxes[0].Type, platform::mtWarning);
    const QString path = QDir::toNativeSeparators(QDir::cleanPath(FDir.path()) + "/Velmora.xml");
    EXPECT_TRUE(FServices.MessageBoxes[0].Text.startsWith("The settings file \"" + path + "\" could not be read: "))
        << FServices.MessageBoxes[0].Text.toStdString();
    EXPECT_TRUE(FServices.MessageBoxes[0].Text.endsWith(
        "The program starts with the default settings. The file will be kept as \"" + path + ".bak\" when the "
        "settings are saved."));
    EXPECT_FALSE(Conf_Is_Active());
    EXPECT_EQ(Last_IP_Address, "192.168.2.205");

    FMain->FormClose();
    EXPECT_EQ(kt_test::ReadFile(FDir.filePath("Velmora.xml.bak")), damaged);
    EXPECT_TRUE(kt_test::ReadFile(FDir.filePath("Velmora.xml")).contains("<ipaddress>192.168.2.205</ipaddress>"));
    // Kept once: a later save does not replace the kept file with the new one.
    FMain->FormClose();
    EXPECT_EQ(kt_test::ReadFile(FDir.filePath("Velmora.xml.bak")), damaged);
    EXPECT_EQ(FServices.MessageBoxes.size(), 1);
    TearDown();
    SetUp();

    // A missing file is no damage: nothing is told or kept.
    FServices.MessageBoxes.clear();
    QFile::remove(FDir.filePath("Velmora.xml"));
    QFile::remove(FDir.filePath("Velmora.xml.bak"));
    Start();
    EXPECT_TRUE(FServices.MessageBoxes.isEmpty());
    FMain->FormClose();
    EXPECT_FALSE(QFileInfo::exists(FDir.filePath("Velmora.xml.bak")));
    TearDown();
    SetUp();

    // When the damaged file cannot be kept, it is not overwritten either.
    WriteSettings(damaged);
    ASSERT_TRUE(QDir().mkpath(FDir.filePath("Velmora.xml.bak/in_the_way")));
    Start();
    FServices.MessageBoxes.clear();
    EXPECT_FALSE(FMain->Save_Setting());
    ASSERT_EQ(FServices.MessageBoxes.size(), 1);
    EXPECT_EQ(FServices.MessageBoxes[0].Type, platform::mtError);
    EXPECT_EQ(kt_test::ReadFile(FDir.filePath("Velmora.xml")), damaged);
}

TEST_F(MainWindow, NamesFromTheSettingsFileStayInTheirFolders)
{
    // A projectname of ".." would make the program folder the configuration; a language with a
    // path would load a file from outside LANGUAGE. Both count as absent.
    ASSERT_TRUE(QDir().mkpath(FDir.filePath("outside")));
    {
        QFile f(FDir.filePath("outside/evil.lng"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("STR15 =Evil\r\n");
    }
    WriteSettings("<Conf_Settings><lastproj><projectname>..</projectname></lastproj>"
                  "<lastlang><language>../outside/evil</language></lastlang></Conf_Settings>");
    Start();
    EXPECT_FALSE(Conf_Is_Active());
    EXPECT_TRUE(Active_Conf_Name.isEmpty());
    EXPECT_EQ(Active_Language, "English");
    EXPECT_EQ(FMain->Btn_New->Caption(), "New Configuration");
    EXPECT_TRUE(FServices.MessageBoxes.isEmpty());
}

TEST_F(MainWindow, NewConfiguration)
{
    Start();
    ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/Exists"));
    const struct { QString name; int message; } refused[] = {
        {"", 107}, {"Exists", 106}, {"a/b", 105}, {"a\\b", 105}, {"..", 105}, {".", 105},
        // Names the settings file could not give back at the next start.
        {"   ", 105}, {"\t", 105}, {"Line\n2", 105}, {QString("a") + QChar(0x7F), 105},
        {QString("a") + QChar(0x85), 105}, {QString("a") + QChar(0xFFFE), 105}, {QString("a") + QChar(0xD800), 105},
    };
    for (const auto& r : refused) {
        FServices.MessageBoxes.clear();
        FNew_Project->FormShow();
        FNew_Project->E_New_Proj->setText(r.name);
        FNew_Project->Btn_OKClick();
        ASSERT_EQ(FServices.MessageBoxes.size(), 1) << r.name.toStdString();
        EXPECT_EQ(FServices.MessageBoxes[0].Text, Lang_Table[r.message]);
        EXPECT_EQ(FServices.MessageBoxes[0].Type, platform::mtError);
        EXPECT_NE(FNew_Project->ModalResult(), platform::mrOk);
        EXPECT_FALSE(Conf_Is_Active());
    }
    EXPECT_EQ(QDir(Projects_Dir).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList({"Exists"}));

    // Through the main window's step: the dialog creates the folder and its bin folder.
    Answer = [](platform::TForm* form) {
        auto* dialog = static_cast<TFNew_Project*>(form);
        dialog->E_New_Proj->setText("Line 2");
        dialog->Btn_OKClick();
        return dialog->ModalResult();
    };
    FServices.MessageBoxes.clear();
    FMain->Btn_Click(FMain->Btn_New);
    EXPECT_TRUE(FServices.MessageBoxes.isEmpty());
    EXPECT_TRUE(QFileInfo(Projects_Dir + "/Line 2/bin").isDir());
    EXPECT_TRUE(QDir(Projects_Dir + "/Line 2").entryList(QDir::Files).isEmpty());
    EXPECT_EQ(Active_Conf_Name, "Line 2");
    EXPECT_EQ(Active_Conf_Path, Projects_Dir + "/Line 2");
    EXPECT_EQ(File_BACnet_Slave, Projects_Dir + "/Line 2/BACnet_Slave.xml");
    EXPECT_EQ(FMain->L_Name_Conf_L2->text(), "Line 2");
}

TEST_F(MainWindow, OpenConfiguration)
{
    Start();
    // An empty PROJECTS folder: nothing listed, OK leaves no configuration active.
    Answer = [](platform::TForm*) { return platform::mrOk; };
    FMain->Btn_Click(FMain->Btn_Open);
    EXPECT_EQ(FOpenConf->ListBox1->count(), 0);
    EXPECT_FALSE(Conf_Is_Active());
    EXPECT_EQ(FMain->L_Name_Conf->text(), "None Configuration Opened ");

    for (const char* name : {"Plant_A", "Beta", "Gamma"})
        ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/" + name));
    QFile(Projects_Dir + "/file.txt").open(QIODevice::WriteOnly);

    // No configuration active: item 0 is chosen; the listing holds the folders only.
    FOpenConf->FormShow();
    EXPECT_EQ(FOpenConf->Folder_Names().size(), 3);
    EXPECT_EQ(FOpenConf->ListBox1->currentRow(), 0);
    EXPECT_EQ(FOpenConf->Name_Conf, FOpenConf->ListBox1->item(0)->text());

    // The active configuration is found whatever its letter case.
    Active_Conf_Path = Projects_Dir + "/PLANT_A";
    FOpenConf->FormShow();
    EXPECT_EQ(FOpenConf->ListBox1->currentItem()->text(), "Plant_A");
    EXPECT_EQ(FOpenConf->Name_Conf, "Plant_A");

    // Choosing another one and confirming activates it.
    Answer = [](platform::TForm*) {
        FOpenConf->ListBox1->setCurrentRow(FOpenConf->Folder_Names().indexOf("Gamma"));
        FOpenConf->ListBox1Click();
        return platform::mrOk;
    };
    FMain->Btn_Click(FMain->Btn_Open);
    EXPECT_EQ(Active_Conf_Path, Projects_Dir + "/Gamma");
    EXPECT_EQ(FMain->L_Name_Conf_L2->text(), "Gamma");

    // A folder removed after the list was made is not activated.
    Answer = [](platform::TForm*) {
        FOpenConf->ListBox1->setCurrentRow(FOpenConf->Folder_Names().indexOf("Beta"));
        FOpenConf->ListBox1Click();
        QDir(Projects_Dir + "/Beta").removeRecursively();
        return platform::mrOk;
    };
    FMain->Btn_Click(FMain->Btn_Open);
    EXPECT_FALSE(Conf_Is_Active());
    EXPECT_EQ(FMain->L_Name_Conf->text(), "None Configuration Opened ");

    // Cancel changes nothing.
    Active_Conf_Path = Projects_Dir + "/Gamma";
    Answer = [](platform::TForm*) { return platform::mrCancel; };
    FMain->Btn_Click(FMain->Btn_Open);
    EXPECT_EQ(Active_Conf_Path, Projects_Dir + "/Gamma");
}

TEST_F(MainWindow, OptionsOkWritesSettingsAndArmsTheTimer)
{
    Start();
    const QString settings = FDir.filePath("Velmora.xml");
    Answer = [](platform::TForm*) {
        FSoftOptions->CB_En_Con->setChecked(true);
        FSoftOptions->CB_Update->setChecked(true);
        return platform::mrCancel;
    };
    FMain->Btn_Click(FMain->Btn_Opz);
    EXPECT_FALSE(QFile::exists(settings));
    EXPECT_FALSE(FMain->Timer_Update->isActive());

    Answer = [](platform::TForm*) {
        FSoftOptions->CB_En_Con->setChecked(true);
        FSoftOptions->CB_Update->setChecked(true);
        FSoftOptions->Btn_OKClick();
        return FSoftOptions->ModalResult();
    };
    FMain->Btn_Click(FMain->Btn_Opz);
    EXPECT_TRUE(kt_test::ReadFile(settings).contains("<enable_update>1</enable_update>"));
    EXPECT_TRUE(FMain->Timer_Update->isActive());
    EXPECT_EQ(FMain->Timer_Update->interval(), 60000);
}

TEST_F(MainWindow, TimerArmedAtStartOnlyWithBothOptions)
{
    const struct { const char* internet; const char* update; bool armed; } cases[] = {
        {"1", "1", true}, {"1", "0", false}, {"0", "1", false},
    };
    for (const auto& c : cases) {
        WriteSettings(QByteArray("<Conf_Settings><lastinternet><enable_internet>") + c.internet
                      + "</enable_internet><enable_update>" + c.update + "</enable_update></lastinternet></Conf_Settings>");
        Start();
        EXPECT_EQ(FMain->Timer_Update->isActive(), c.armed) << c.internet << c.update;
        EXPECT_EQ(FMain->Timer_Update->interval(), 60000);
        TearDown();
        SetUp();
    }
}

TEST_F(MainWindow, TimerTickShowsTheLinkAndWaitsTwoHours)
{
    Start();
    FMain->Show();
    FServices.HttpAnswers = {{true, 200, "VER. 1.002", {}}, {true, 200, "VER. 1.000", {}}};
    FMain->Timer_UpdateTimer();
    ASSERT_EQ(FServices.HttpRequests.size(), 1);
    EXPECT_TRUE(FServices.HttpRequests[0].Url.endsWith("/home/download/GetversionSW.asp?nomesw=KT40917"));
    EXPECT_TRUE(FMain->LL_Update->isVisible());
    EXPECT_TRUE(FMain->LL_Update->text().contains("/Home/download/download.asp#GX40917\">"
                                                  "New Version Available. Click Here for more Details</a>"));
    EXPECT_TRUE(FMain->Timer_Update->isActive());
    EXPECT_EQ(FMain->Timer_Update->interval(), 7200000);
    FMain->Timer_UpdateTimer();
    EXPECT_FALSE(FMain->LL_Update->isVisible());
    EXPECT_TRUE(FServices.MessageBoxes.isEmpty());
}

TEST_F(MainWindow, LanguageChangeRetextsEveryWindow)
{
    QDir().mkpath(FDir.filePath("LANGUAGE"));
    QFile f(FDir.filePath("LANGUAGE/Italiano.lng"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("STR9 =Nessuna Configurazione\r\nSTR15 =Nuova\r\nSTR100 =Crea\r\nSTR200 =Apri\r\nSTR300 =Opzioni\r\n");
    f.close();
    Start();
    int others = 0;
    platform::TForm knx;
    Register_Window("FKNXAccess", {&knx, [&others] { ++others; }, nullptr});

    FSoftOptions->FormShow();
    FServices.MessageBoxAnswers = {platform::mrNo, platform::mrYes};
    FSoftOptions->LangClick(1);  // No: nothing changes
    EXPECT_EQ(FMain->Btn_New->Caption(), "New Configuration");
    EXPECT_EQ(FServices.MessageBoxes[0].Text, "Do you want to change the Language from English to Italiano?");
    FSoftOptions->LangClick(1);
    EXPECT_EQ(FMain->Btn_New->Caption(), "Nuova");
    EXPECT_EQ(FMain->L_Name_Conf->text(), "Nessuna Configurazione");
    EXPECT_EQ(FNew_Project->Caption(), "Crea");
    EXPECT_EQ(FOpenConf->Caption(), "Apri");
    EXPECT_EQ(FSoftOptions->Caption(), "Opzioni");
    EXPECT_EQ(others, 1);
    EXPECT_EQ(FSoftOptions->L_Sel_Lang->text(), "Selected Language : Italiano");
    // The option itself changes only with OK; the about box keeps its English labels.
    EXPECT_EQ(Active_Language, "English");
    FAbout->FormShow();
    EXPECT_EQ(FAbout->Label6->text(), "Software Code : ");
}

TEST_F(MainWindow, AboutBox)
{
    Start();
    FAbout->FormShow();
    EXPECT_EQ(FAbout->Caption(), "About...");
    EXPECT_EQ(FAbout->Label2->text(), "OPC UA Server / S7comm - Converter");
    EXPECT_EQ(FAbout->Label9->text(), "KT40917");
    EXPECT_EQ(FAbout->Label10->text(), "1.000");
    EXPECT_EQ(FAbout->Label12->text(), "DM40917");
    EXPECT_EQ(FAbout->ClientWidth(), 425);
    EXPECT_EQ(FAbout->ClientHeight(), 148);
    // The picture and the address open the same page.
    FAbout->Label4Click();
    FMain->L_NorvaneClick();
    ASSERT_EQ(FServices.OpenedUrls.size(), 2);
    EXPECT_EQ(FServices.OpenedUrls[0], FServices.OpenedUrls[1]);
    EXPECT_TRUE(FServices.OpenedUrls[0].endsWith("/HOME/default.asp?frompg=KT40917"));
    FAbout->Show();
    FAbout->grab().save(kt_test::GrabPath("about_box.png"));
    FAbout->Hide();
}
