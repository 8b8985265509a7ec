// The device update dialog: its layout when shown, the remembered choices, the reachability test
// with a scripted echo client and clock, the job file and the start of the update program. The
// dialog runs without a person: it is shown non-modally (its show handler runs), fields are set,
// the button handler is called and the scripted services answer and record.
#include "core/UBoot.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UVelmoraeFirmWare.h"
#include "core/XMLDocument.h"
#include "platform/RealServices.h"
#include "platform/ScriptedServices.h"
#include "render/LbButton.h"

#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace platform;

namespace {

// A document as one line per element: its path, and its text when it has no child elements.
void Flatten(const TXMLNode& node, const QString& path, QStringList& out)
{
    const QString here = path + '/' + node.NodeName();
    const auto children = node.ChildElements();
    out << (children.empty() ? here + '=' + node.Text() : here);
    for (const TXMLNode& c : children)
        Flatten(c, here, out);
}

QStringList ParsedFile(const QString& path)
{
    TXMLDocument doc;
    QStringList lines;
    if (doc.LoadFromFile(path) && !doc.DocumentElement().IsNull())
        Flatten(doc.DocumentElement(), QString(), lines);
    return lines;
}

TPingReply Echo(int bytes = 1032)
{
    TPingReply r;
    r.Status = TPingStatus::Echo;
    r.BytesReceived = bytes;
    r.TimeMs = 1;
    return r;
}

TPingReply Status(TPingStatus s)
{
    TPingReply r;
    r.Status = s;
    return r;
}

class BootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Load_Default_Language();
        Shown_SW_Code = "KT40917";
        Exe_Dir = Dir.path();
        Master_Dir = "/opt/kt40917/MASTER";
        Active_Conf_Path = "/opt/kt40917/PROJECTS/Plant 1";
        Last_IP_Address = "192.168.2.205";
        Last_Update_Option = 0;
        Last_Read_Back = true;
        Form = std::make_unique<TFBoot>();
        Form->Create();
    }

    void TearDown() override
    {
        Form.reset();
        Exe_Dir.clear();
        Master_Dir.clear();
        Active_Conf_Path.clear();
        Load_Default_Language();
    }

    void SetAddress(const QString& a, const QString& b, const QString& c, const QString& d)
    {
        Form->E_IP1->setText(a);
        Form->E_IP2->setText(b);
        Form->E_IP3->setText(c);
        Form->E_IP4->setText(d);
    }

    QStringList Fields() const
    {
        return {Form->E_IP1->text(), Form->E_IP2->text(), Form->E_IP3->text(), Form->E_IP4->text()};
    }

    QString JobFile() const { return Dir.filePath("Ethernet_Update.xml"); }

    QTemporaryDir Dir;
    ScriptedServices Services;
    ScopedServices UseServices{Services};
    std::unique_ptr<TFBoot> Form;
};

} // namespace

// The reachability test: at most 5000 ms of 400 ms requests (each followed by one 10 ms pause
// that serves window messages), stopping at the second reply with data; the last reply decides.
TEST_F(BootTest, PingLoopCountsRequestsAndLetsTheLastReplyDecide)
{
    struct Case {
        const char* name;
        QList<TPingReply> answers;
        TPingReply otherwise;
        bool ok;
        int pings;
        int ping_res;
        int pauses;  // 10 ms pauses that served window messages
    };
    const Case cases[] = {
        {"always answers", {}, Echo(), true, 2, 1, 2},
        // 13 x 410 ms is the first total past 5000 ms.
        {"never answers", {}, Status(TPingStatus::TimedOut), false, 13, 2, 13},
        // 10 ms for the first, then 410 ms each: the 14th ends past 5000 ms.
        {"answers once, then silent", {Echo()}, Status(TPingStatus::TimedOut), false, 14, 2, 14},
        {"answers, misses, answers", {Echo(), Status(TPingStatus::TimedOut)}, Echo(), true, 3, 1, 3},
        {"reply without data", {Echo(0), Echo(0), Echo()}, Echo(), true, 4, 1, 4},
        {"no socket", {}, Status(TPingStatus::Failed), false, 1, 0, 0},
        {"silent, then the socket fails", {Status(TPingStatus::TimedOut)}, Status(TPingStatus::Failed), false, 2, 2, 1},
    };
    SetAddress("192", "168", "2", "205");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServices s;
        ScopedServices use(s);
        s.PingAnswers = c.answers;
        s.PingDefault = c.otherwise;
        EXPECT_EQ(Form->Send_Ping(), c.ok);
        EXPECT_EQ(s.Pings.size(), c.pings);
        EXPECT_EQ(Form->ping_res, c.ping_res);
        ASSERT_FALSE(s.Pings.isEmpty());
        EXPECT_EQ(s.Pings[0].Address, "192.168.2.205");
        EXPECT_EQ(s.Pings[0].TimeoutMs, 400);
        EXPECT_EQ(s.Pings[0].DataSize, 1024);
        EXPECT_EQ(s.Pings[0].Sequence, 0);
        EXPECT_EQ(s.ProcessMessagesCalls, c.pauses);
        EXPECT_EQ(s.Sleeps, c.pauses);
    }
}

// Failures tell the user which way the test failed and leave everything as it was.
TEST_F(BootTest, FailedPingShowsItsMessageAndStoresNothing)
{
    struct Case {
        const char* name;
        TPingStatus status;
        int text;
        TMsgDlgType type;
    };
    const Case cases[] = {
        {"device silent", TPingStatus::TimedOut, 1036, mtWarning},
        {"no reply event", TPingStatus::Failed, 1037, mtError},
    };
    Form->Show();
    SetAddress("10", "0", "0", "9");
    Form->CB_Update_Options->setCurrentIndex(1);
    Form->CB_Update_Option_Read_Back->setChecked(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedServices s;
        ScopedServices use(s);
        s.PingDefault = Status(c.status);
        Form->Btn_Update->Click();
        ASSERT_EQ(s.MessageBoxes.size(), 1);
        EXPECT_EQ(s.MessageBoxes[0].Text, Lang_Table[c.text]);
        EXPECT_EQ(s.MessageBoxes[0].Type, c.type);
        EXPECT_EQ(s.MessageBoxes[0].Buttons, TMsgDlgButtons(mbOK));
        EXPECT_TRUE(s.Programs.isEmpty());
        EXPECT_FALSE(QFile::exists(JobFile()));
        EXPECT_EQ(Last_IP_Address, "192.168.2.205");
        EXPECT_EQ(Last_Update_Option, 0);
        EXPECT_TRUE(Last_Read_Back);
        EXPECT_TRUE(Form->isVisible());  // the dialog stays open
    }
    EXPECT_EQ(Lang_Table[1036], "Device Not Found!");
    EXPECT_EQ(Lang_Table[1037], "Error!!! Check the Ip Address");
}

// Only four decimal octets 0..255 are pinged (blanks around them allowed); anything else is an
// address error without any echo or name lookup.
TEST_F(BootTest, OnlyDottedDecimalAddressesArePinged)
{
    struct Case {
        QStringList fields;
        const char* pinged;  // nullptr: no echo at all
    };
    const Case cases[] = {
        {{"192", "168", "2", "205"}, "192.168.2.205"},
        {{" 10", "0 ", "002", " 7 "}, "10.0.2.7"},
        {{"255", "255", "255", "255"}, "255.255.255.255"},
        {{"256", "1", "1", "1"}, nullptr},
        {{"1", "1", "1", ""}, nullptr},
        {{"1", "1", "1", " "}, nullptr},
        {{"1", "1", "1", "-1"}, nullptr},
        {{"1", "1", "1", "1 0"}, nullptr},
        {{"1", "1", "1", "$FF"}, nullptr},
        {{"1", "1", "1", "0x1"}, nullptr},
        {{"1", "1", "1", "0001"}, nullptr},
        {{"1", "1", "1", "1.2"}, nullptr},
        {{"device", "local", "lan", "x"}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fields.join('|').toStdString());
        ScriptedServices s;
        ScopedServices use(s);
        s.PingDefault = Echo();
        s.ProgramAnswers << TProgramResult{TProgramRun::Finished, 0};
        SetAddress(c.fields[0], c.fields[1], c.fields[2], c.fields[3]);
        Form->Btn_UpdateClick(Form->Btn_Update);
        if (c.pinged) {
            ASSERT_FALSE(s.Pings.isEmpty());
            EXPECT_EQ(s.Pings[0].Address, c.pinged);
            EXPECT_TRUE(s.MessageBoxes.isEmpty());
        } else {
            EXPECT_TRUE(s.Pings.isEmpty());
            ASSERT_EQ(s.MessageBoxes.size(), 1);
            EXPECT_EQ(s.MessageBoxes[0].Text, Lang_Table[1037]);
            EXPECT_TRUE(s.Programs.isEmpty());
        }
    }
}

// A device that answers: the choices are remembered, the job file describes the transfer and the
// update program runs from the program folder, waited for at most 150 s.
TEST_F(BootTest, SuccessfulPingWritesTheJobAndRunsTheUpdater)
{
    Form->Show();
    SetAddress("192", "168", "002", "205");  // texts as typed go to the job
    Form->CB_Update_Options->setCurrentIndex(2);
    Form->CB_Update_Option_Read_Back->setChecked(false);
    Services.PingDefault = Echo();
    Services.ProgramAnswers << TProgramResult{TProgramRun::StillRunning, 0};
    Form->Btn_Update->Click();

    EXPECT_TRUE(Services.MessageBoxes.isEmpty());
    EXPECT_EQ(Last_IP_Address, "192.168.002.205");
    EXPECT_EQ(Last_Update_Option, 2);
    EXPECT_FALSE(Last_Read_Back);
    const QStringList expected = ParsedFile(kt_test::FixturePath("boot/job_configuration_no_read_back.xml"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(ParsedFile(JobFile()), expected);
    ASSERT_EQ(Services.Programs.size(), 1);
    EXPECT_EQ(Services.Programs[0].Program, Dir.path() + "/Ethernet_Update.exe");
    EXPECT_EQ(Services.Programs[0].Parameters, "");
    EXPECT_FALSE(Services.Programs[0].Hidden);
    EXPECT_EQ(Services.Programs[0].TimeoutMs, 150000);
    // The job file is written before the program starts.
    EXPECT_EQ(Services.Log.last(), "StartProgram: " + Dir.path() + "/Ethernet_Update.exe");
    EXPECT_TRUE(Form->isVisible());

    // Shown again later in the same run: the remembered choices come back.
    Form->Hide();
    SetAddress("1", "1", "1", "1");
    Form->Show();
    EXPECT_EQ(Fields(), (QStringList{"192", "168", "002", "205"}));
    EXPECT_EQ(Form->CB_Update_Options->currentIndex(), 2);
    EXPECT_FALSE(Form->CB_Update_Option_Read_Back->isChecked());
}

// An update program that cannot be started is told, with where it was looked for; one that
// starts, whether it ends in time or not, is not.
TEST_F(BootTest, UpdaterThatCannotStartIsTold)
{
    SetAddress("127", "0", "0", "1");
    Services.PingDefault = Echo();
    Services.ProgramAnswers << TProgramResult{TProgramRun::NotStarted, 0}
                            << TProgramResult{TProgramRun::Finished, 3}
                            << TProgramResult{TProgramRun::StillRunning, 0};
    Form->Btn_UpdateClick(Form->Btn_Update);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_EQ(Services.MessageBoxes[0].Text,
              QString("Error! The update program \"Ethernet_Update.exe\" could not be started. It was looked for "
                      "in the folder \"%1\".")
                  .arg(QDir::toNativeSeparators(Dir.path())));
    EXPECT_TRUE(QFileInfo::exists(JobFile())) << "the job stays written";
    Form->Btn_UpdateClick(Form->Btn_Update);
    Form->Btn_UpdateClick(Form->Btn_Update);
    EXPECT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.Programs.size(), 3);
}

// A job file that cannot be written stops the update before the program starts.
TEST_F(BootTest, UnwritableJobFileKeepsTheUpdaterFromRunning)
{
    Exe_Dir = Dir.filePath("missing");
    SetAddress("10", "0", "0", "1");
    Services.PingDefault = Echo();
    Form->Btn_UpdateClick(Form->Btn_Update);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_TRUE(Services.Programs.isEmpty());
}

// The ping test serves window messages; a second press meanwhile starts nothing.
TEST_F(BootTest, PressDuringThePingTestIsIgnored)
{
    SetAddress("10", "0", "0", "1");
    Services.PingDefault = Echo();
    Services.OnProcessMessages = [this] { Form->Btn_UpdateClick(Form->Btn_Update); };
    Form->Btn_UpdateClick(Form->Btn_Update);
    EXPECT_EQ(Services.Pings.size(), 2);
    EXPECT_EQ(Services.Programs.size(), 1);
}

// The dialog as shown for an update over Ethernet, and the serial layout it keeps.
TEST_F(BootTest, ShowLaysOutTheDialogAndRestoresTheLastChoices)
{
    // A stored address that the address check refuses leaves the fields as they were.
    Last_IP_Address = "300.1.2.3";
    Form->Show();
    EXPECT_EQ(Fields(), (QStringList{"0", "0", "0", "0"}));
    Form->Hide();

    Last_IP_Address = "192.168.2.205";
    Last_Update_Option = 1;
    Last_Read_Back = false;
    Form->Show();
    EXPECT_EQ(Form->Caption(), "Update Device by Ethernet (UDP)");
    EXPECT_EQ(Form->L_SW_Desc->text(), "Update Device Using the Ethernet Port");
    EXPECT_EQ(Form->L_SW_Code->text(), "KT40917");
    EXPECT_EQ(Form->size(), QSize(449, 230));
    EXPECT_TRUE(Form->P_IP_Address->isVisible());
    EXPECT_TRUE(Form->P_Options->isVisible());
    EXPECT_FALSE(Form->P_Serial->isVisible());
    EXPECT_FALSE(Form->P_Eth_Search->isVisible());
    EXPECT_EQ(Form->P_IP_Address->y(), 69);
    EXPECT_EQ(Form->P_Options->y(), 118);
    EXPECT_EQ(Form->P_Button->y(), 190);
    EXPECT_EQ(Fields(), (QStringList{"192", "168", "2", "205"}));
    ASSERT_EQ(Form->CB_Update_Options->count(), 3);
    EXPECT_EQ(Form->CB_Update_Options->itemText(0), "Firmware + Configuration");
    EXPECT_EQ(Form->CB_Update_Options->itemText(1), "Firmware");
    EXPECT_EQ(Form->CB_Update_Options->itemText(2), "Configuration");
    EXPECT_EQ(Form->CB_Update_Options->currentIndex(), 1);
    EXPECT_FALSE(Form->CB_Update_Options->isEditable());
    EXPECT_FALSE(Form->CB_Update_Option_Read_Back->isChecked());
    EXPECT_EQ(Form->focusWidget(), Form->E_IP1);
    Form->Hide();

    // The serial layout: the port list instead of the address; update only remembers.
    Services.ExistingSerialPorts = {3, 7};
    Form->Form_Type = 0;
    Form->Show();
    EXPECT_EQ(Form->Caption(), "Update Device by Serial");
    EXPECT_TRUE(Form->P_Serial->isVisible());
    EXPECT_FALSE(Form->P_IP_Address->isVisible());
    EXPECT_EQ(Form->size(), QSize(449, 230));
    EXPECT_EQ(Form->P_Serial->y(), 69);
    ASSERT_EQ(Form->CB_COM_Port->count(), 2);
    EXPECT_EQ(Form->CB_COM_Port->itemText(0), "COM3");
    EXPECT_EQ(Form->CB_COM_Port->itemText(1), "COM7");
    EXPECT_EQ(Form->CB_COM_Port->currentIndex(), 0);
    Form->CB_Update_Options->setCurrentIndex(2);
    Form->CB_Update_Option_Read_Back->setChecked(true);
    Form->Btn_UpdateClick(Form->Btn_Update);
    EXPECT_EQ(Last_Update_Option, 2);
    EXPECT_TRUE(Last_Read_Back);
    EXPECT_TRUE(Services.Pings.isEmpty());
    EXPECT_TRUE(Services.Programs.isEmpty());
    EXPECT_TRUE(Services.MessageBoxes.isEmpty());
}

// Each text of the dialog's block lands on its control, and a new language replaces it.
TEST_F(BootTest, LanguageTextsReachTheirControls)
{
    const QList<QPair<int, std::function<QString()>>> texts = {
        {1002, [this] { return Form->Caption(); }},
        {1003, [this] { return Form->L_SW_Desc->text(); }},
        {1006, [this] { return Form->L_IP_Address->text(); }},
        {1014, [this] { return Form->L_Update_Option->text(); }},
        {1016, [this] { return Form->CB_Update_Options->itemText(1); }},
        {1018, [this] { return Form->CB_Update_Option_Read_Back->text(); }},
        {1019, [this] { return Form->Btn_Cancel->Caption(); }},
        {1020, [this] { return Form->Btn_Update->Caption(); }},
        {1021, [this] { return Form->E_IP1->toolTip(); }},
        {1024, [this] { return Form->E_IP4->toolTip(); }},
        {1032, [this] { return Form->CB_Update_Options->toolTip(); }},
        {1033, [this] { return Form->CB_Update_Option_Read_Back->toolTip(); }},
        {1034, [this] { return Form->Btn_Cancel->toolTip(); }},
        {1035, [this] { return Form->Btn_Update->toolTip(); }},
    };
    Form->Set_Lang();
    for (const auto& t : texts)
        EXPECT_EQ(t.second(), Lang_Table[t.first]) << t.first;
    for (const auto& t : texts)
        Lang_Table.Set(t.first, QStringLiteral("T%1").arg(t.first));
    Form->CB_Update_Options->setCurrentIndex(2);
    Form->Set_Lang();
    for (const auto& t : texts)
        EXPECT_EQ(t.second(), QStringLiteral("T%1").arg(t.first));
    EXPECT_EQ(Form->CB_Update_Options->currentIndex(), 0);
}

// "." moves from octet to octet and is never typed; other keys are not filtered.
TEST_F(BootTest, FullStopMovesToTheNextOctetField)
{
    Form->Show();
    SetAddress("", "", "", "");
    QLineEdit* fields[4] = {Form->E_IP1, Form->E_IP2, Form->E_IP3, Form->E_IP4};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        fields[k]->setFocus();
        QTest::keyClicks(fields[k], "1a");
        QTest::keyClick(fields[k], '.');
        EXPECT_EQ(fields[k]->text(), "1a");
        EXPECT_EQ(Form->focusWidget(), fields[k < 3 ? k + 1 : 3]);
    }
}

// The update step shows the dialog modally for an update over Ethernet; Cancel ends it.
TEST(Boot, RegisteredShowOpensTheEthernetLayout)
{
    ScriptedServices services;
    ScopedServices use(services);
    Load_Default_Language();
    std::unique_ptr<TFBoot> form(Create_FBoot());
    ASSERT_EQ(FBoot, form.get());
    const TRegisteredWindow* w = Find_Window("FBoot");
    ASSERT_TRUE(w && w->Show && w->Set_Lang);
    EXPECT_EQ(w->Form, form.get());

    form->Form_Type = 0;
    int typeWhileShown = -1;
    bool addressShown = false;
    QTimer::singleShot(0, form.get(), [&] {
        typeWhileShown = form->Form_Type;
        addressShown = form->P_IP_Address->isVisible();
        form->Btn_Cancel->Click();
    });
    EXPECT_EQ(w->Show(), mrCancel);
    EXPECT_EQ(typeWhileShown, 1);
    EXPECT_TRUE(addressShown);
    EXPECT_FALSE(form->isVisible());

    form.reset();
    EXPECT_EQ(FBoot, nullptr);
    EXPECT_EQ(Find_Window("FBoot"), nullptr);
}

// One real echo through the real services, to this machine only; skipped where the system
// gives no ICMP socket.
TEST(Boot, RealEchoToLoopback)
{
    RealServices real;
    if (real.Ping("127.0.0.1", 400, 8).Status == TPingStatus::Failed)
        GTEST_SKIP() << "no ICMP socket on this machine";
    ScopedServices use(real);
    Load_Default_Language();
    TFBoot form;
    form.Create();
    form.E_IP1->setText("127");
    form.E_IP2->setText("0");
    form.E_IP3->setText("0");
    form.E_IP4->setText("1");
    EXPECT_TRUE(form.Send_Ping());
    EXPECT_EQ(form.ping_res, 1);
}

TEST_F(BootTest, GrabOfTheDialog)
{
    Form->Show();
    SetAddress("192", "168", "2", "205");
    const QImage image = Form->grab().toImage();
    EXPECT_EQ(image.size(), QSize(449, 230));
    EXPECT_TRUE(image.save(kt_test::GrabPath("boot.png")));
}
