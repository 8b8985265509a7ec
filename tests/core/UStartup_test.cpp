// The program's start-up routine: the main window comes up alone, every other window is made the
// first time it is needed, and a window made after a language switch looks exactly like one made
// at start and re-texted by the switch.
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "core/UAbout.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UNew_Project.h"
#include "core/UOpenConf.h"
#include "core/UParGen.h"
#include "core/USoftOptions.h"
#include "core/UStartup.h"
#include "core/UVelmoraeFirmWare.h"
#include "grid/AdvGrid.h"
#include "platform/ScriptedServices.h"
#include "render/LbButton.h"
#include "tables/UOPC_UA_Server_Access.h"
#include "tables/US7_Protocol_Set_Access.h"
#include "tables/USet_PDO_Access.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QApplication>
#include <gtest/gtest.h>

#include <memory>

using platform::ScopedServices;
using platform::ScriptedServices;

namespace {

class Startup : public Program_Folder_Test {
protected:
    void TearDown() override
    {
        // The windows made so far are children of the main window; the makers not run go with it.
        for (const char* name : Language_Order)
            Unregister_Window(name);
        delete FMain;
        FMain = nullptr;
        FAbout = nullptr;
        FNew_Project = nullptr;
        FOpenConf = nullptr;
        FSoftOptions = nullptr;
        FParGen = nullptr;
        EXPECT_EQ(Need_Window("FParGen"), nullptr);
        for (const char* step : {"Create_GSD_File", "Build_EDS_File", "Build_MIB_File", "BACnet_EDE_File"})
            Unregister_Step(step);
        platform::TForm::SetMainForm(nullptr);
        Restore_Program();
    }
    void Start()
    {
        FMain = StartProgram();
        FMain->Show_Modal_Hook = [this](platform::TForm* form) {
            Shown << form->objectName();
            if (form->OnShow)
                form->OnShow();
            return platform::mrCancel;
        };
    }
    void Open_Configuration()
    {
        ASSERT_TRUE(QDir().mkpath(Projects_Dir + "/Plant"));
        Active_Conf_Path = Projects_Dir + "/Plant";
        FMain->Set_Files();
    }
};

// Every text a user can read on a window: its title, labels, button captions, hints, tab texts and
// the header rows of its grids, by the name of the control.
QStringList Texts(QWidget* window)
{
    QStringList out{"title=" + window->windowTitle()};
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!w->toolTip().isEmpty())
            out << name + ".hint=" + w->toolTip();
        if (auto* label = qobject_cast<QLabel*>(w))
            out << name + ".text=" + label->text();
        if (auto* button = dynamic_cast<TLbButton*>(w))
            out << name + ".caption=" + button->Caption();
        if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                out << name + QString(".tab%1=").arg(i) + tabs->tabText(i);
        if (auto* grid = dynamic_cast<TVerIvovavOzed*>(w))
            for (int c = 0; c < grid->ColCount(); ++c)
                out << name + QString(".header%1=").arg(c) + grid->Cells(c, 0);
    }
    return out;
}

// A language that changes every text of the table: entry n reads "Tn".
void Write_Full_Language(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    for (int n = 0; n < Lang_Table_Entries; ++n)
        f.write(QStringLiteral("STR%1 =T%1\r\n").arg(n).toLatin1());
}

} // namespace

TEST_F(Startup, OnlyTheMainWindowIsMadeAtStart)
{
    Start();
    EXPECT_EQ(FVelmoraeFirmWare, FMain);
    EXPECT_EQ(platform::TForm::MainForm(), FMain);
    EXPECT_TRUE(FMain->isVisible());
    EXPECT_EQ(Find_Window("FVelmoraeFirmWare")->Form, FMain);
    for (const char* name : Language_Order) {
        if (QLatin1String(name) != QLatin1String("FVelmoraeFirmWare")) {
            EXPECT_EQ(Find_Window(name), nullptr) << name;
        }
    }
    EXPECT_EQ(FAbout, nullptr);
    EXPECT_EQ(FSoftOptions, nullptr);

    // A language switch with nothing else made re-texts the main window alone.
    FMain->Change_Language();
    EXPECT_EQ(FMain->Btn_New->Caption(), "New Configuration");
}

TEST_F(Startup, WindowsAreMadeWhenFirstNeededAndKept)
{
    Start();
    // The step guard still answers first: a refused step makes no window.
    FMain->Btn_Click(FMain->Btn_Prm_Gen);
    ASSERT_EQ(FServices.MessageBoxes.size(), 1);
    EXPECT_EQ(FServices.MessageBoxes[0].Text, "Error! Project not Valid");
    EXPECT_EQ(FParGen, nullptr);
    EXPECT_TRUE(Shown.isEmpty());

    // The dialogs of the unguarded buttons.
    FMain->Btn_Click(FMain->Btn_Info);
    FMain->Btn_Click(FMain->Btn_Opz);
    FMain->Btn_Click(FMain->Btn_New);
    FMain->Btn_Click(FMain->Btn_Open);
    EXPECT_EQ(Shown, QStringList({"FAbout", "FSoftOptions", "FNew_Project", "FOpenConf"}));
    for (platform::TForm* form : std::initializer_list<platform::TForm*>{FAbout, FSoftOptions, FNew_Project, FOpenConf}) {
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->parentWidget(), FMain);
        EXPECT_TRUE(form->Created());
    }
    EXPECT_EQ(FNew_Project->Caption(), "Create New Configuration");

    // A guarded step with a configuration makes its window once and shows the same one again.
    Open_Configuration();
    Shown.clear();
    FMain->Btn_Click(FMain->Btn_Prm_Gen);
    TFParGen* first = FParGen;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Find_Window("FParGen")->Form, first);
    FMain->Btn_Click(FMain->Btn_Prm_Gen);
    EXPECT_EQ(FParGen, first);
    EXPECT_EQ(Shown, QStringList({"FParGen", "FParGen"}));
}

TEST_F(Startup, TheUpdateCheckMakesTheOptionsWindowItAsks)
{
    Start();
    FMain->Timer_UpdateTimer();
    ASSERT_NE(FSoftOptions, nullptr);
    EXPECT_EQ(Find_Window("FSoftOptions")->Form, FSoftOptions);
    EXPECT_FALSE(FMain->LL_Update->isVisible());
    EXPECT_TRUE(FMain->Timer_Update->isActive());
    EXPECT_EQ(FMain->Timer_Update->interval(), 7200000);
}

TEST_F(Startup, AWindowMadeAfterALanguageSwitchLooksLikeOneMadeAtStart)
{
    Write_Full_Language(FDir.filePath("LANGUAGE/Tutto.lng"));
    Start();
    Open_Configuration();

    // Made "at start": before the switch, in English, then re-texted by the switch as every
    // window of the program used to be.
    std::unique_ptr<TFS7_Protocol_Set_Access> s7(new TFS7_Protocol_Set_Access(nullptr));
    std::unique_ptr<TFOPC_UA_Server_Access> opc(new TFOPC_UA_Server_Access(nullptr));
    std::unique_ptr<TFSet_PDO_Access> pdo(new TFSet_PDO_Access(nullptr));
    std::unique_ptr<TFParGen> parGen(new TFParGen(nullptr));
    std::unique_ptr<TFNew_Project> newProject(new TFNew_Project(nullptr));
    for (platform::TForm* early : std::initializer_list<platform::TForm*>{s7.get(), opc.get(), pdo.get(), parGen.get(), newProject.get()})
        early->Create();

    Active_Language = "Tutto";
    Load_Language();
    FMain->Change_Language();
    s7->Set_Lang();
    opc->Set_Lang();
    pdo->Set_Lang();
    parGen->Set_Lang();
    newProject->Set_Lang();
    EXPECT_EQ(FMain->Btn_New->Caption(), "T15");

    // Made now, by their steps.
    FMain->Btn_Click(FMain->Btn_S7_Protocol_Access);
    FMain->Btn_Click(FMain->Btn_OPC_UA_Server_Access);
    FMain->Btn_Click(FMain->Btn_PDO_CANopen);
    FMain->Btn_Click(FMain->Btn_Prm_Gen);
    FMain->Btn_Click(FMain->Btn_New);
    EXPECT_EQ(Shown, QStringList({"FS7_Protocol_Set_Access", "FOPC_UA_Server_Access", "FSet_PDO_Access", "FParGen",
                                  "FNew_Project"}));
    const struct { platform::TForm* early; platform::TForm* late; } pairs[] = {
        {s7.get(), FS7_Protocol_Set_Access}, {opc.get(), FOPC_UA_Server_Access}, {pdo.get(), FSet_PDO_Access},
        {parGen.get(), FParGen}, {newProject.get(), FNew_Project},
    };
    for (const auto& p : pairs) {
        ASSERT_NE(p.late, nullptr);
        SCOPED_TRACE(p.late->objectName().toStdString());
        const QStringList late = Texts(p.late);
        EXPECT_EQ(late, Texts(p.early));
        EXPECT_FALSE(late.filter(QRegularExpression("=T[0-9]+$")).isEmpty());
        EXPECT_EQ(p.late->size(), p.early->size());
    }
    EXPECT_EQ(FS7_Protocol_Set_Access->Caption(), "T1200");
}

TEST_F(Startup, EscapeClosesNoDialog)
{
    // No dialog of the program has a button that Escape clicks: shown modally and given Escape in
    // the control that has the keyboard, each stays open.
    Start();
    Open_Configuration();
    for (const char* name : Language_Order) {
        if (QLatin1String(name) == QLatin1String("FVelmoraeFirmWare"))
            continue;
        SCOPED_TRACE(name);
        platform::TForm* form = Need_Window(QString::fromLatin1(name));
        ASSERT_NE(form, nullptr);
        bool open_after_escape = false;
        QTimer::singleShot(0, form, [form, &open_after_escape] {
            QApplication::setActiveWindow(form);
            QCoreApplication::processEvents();
            QWidget* target = QApplication::focusWidget();
            QTest::keyClick(target && form->isAncestorOf(target) ? target : form, Qt::Key_Escape);
            QCoreApplication::processEvents();
            open_after_escape = form->isVisible() && form->ModalResult() == platform::mrNone;
            form->done(platform::mrOk);
        });
        form->ShowModal();
        EXPECT_TRUE(open_after_escape);
    }
}
