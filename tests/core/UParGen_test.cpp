// The communication parameters dialog: loading ParGen.xml with its defaults, the checks of OK,
// the file OK writes, the full stop key of the octet edits, Cancel, the language and the family
// panels. Dialogs run without a person: the show handler and the button handlers are called
// directly and message boxes are answered by the scripted services.
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UParGen.h"
#include "platform/ScriptedServices.h"
#include "render/LbButton.h"

#include "TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <memory>
#include <utility>
#include <vector>

using namespace platform;

namespace {

using Pairs = std::vector<std::pair<QString, QString>>;

// The parameters document as (element, text) pairs of the root's children, plus the root's name
// and the comment that follows it. Whitespace between elements is not kept.
struct ParsedParGen {
    bool Ok = false;
    QString Root;
    QString Comment;
    Pairs Children;
    bool OnlyElements = true;
};

ParsedParGen Parse(const QByteArray& bytes)
{
    ParsedParGen out;
    pugi::xml_document doc;
    // Keep whitespace text so that the writer is seen to add none.
    if (!doc.load_buffer(bytes.constData(), bytes.size(), pugi::parse_default | pugi::parse_comments))
        return out;
    out.Ok = true;
    const pugi::xml_node root = doc.document_element();
    out.Root = root.name();
    for (pugi::xml_node n = root.next_sibling(); n; n = n.next_sibling())
        if (n.type() == pugi::node_comment)
            out.Comment = n.value();
    for (pugi::xml_node n : root.children()) {
        if (n.type() != pugi::node_element) {
            out.OnlyElements = false;
            continue;
        }
        out.Children.emplace_back(QString::fromUtf8(n.name()), QString::fromUtf8(n.child_value()));
    }
    return out;
}

class ParGenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Load_Default_Language();
        Shown_SW_Code = "KT40917";
        File_ParGen = Dir.filePath("ParGen.xml");
        Form = std::make_unique<TFParGen>();
        Form->Create();
    }

    void TearDown() override { Load_Default_Language(); }

    QLineEdit* Edit(const char* name) { return qobject_cast<QLineEdit*>(Form->Control(name)); }
    QCheckBox* Box(const char* name) { return qobject_cast<QCheckBox*>(Form->Control(name)); }

    void WriteParGen(const QByteArray& bytes)
    {
        QFile f(File_ParGen);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    // Sets a field: an edit gets the text, a check box is ticked by "1".
    void Set(const QString& name, const QString& text)
    {
        QWidget* w = Form->Control(name);
        ASSERT_NE(w, nullptr) << name.toStdString();
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(text == "1");
        else
            qobject_cast<QLineEdit*>(w)->setText(text);
    }

    QString Value(const QString& name)
    {
        QWidget* w = Form->Control(name);
        if (auto* box = qobject_cast<QCheckBox*>(w))
            return box->isChecked() ? "1" : "0";
        return qobject_cast<QLineEdit*>(w)->text();
    }

    QTemporaryDir Dir;
    ScriptedServices Services;
    ScopedServices UseServices{Services};
    std::unique_ptr<TFParGen> Form;
};

// The 34 fields in file order with the texts a missing file gives them.
const std::vector<std::pair<const char*, const char*>> Defaults = {
    {"E_S7_Protocol_IP1", "192"}, {"E_S7_Protocol_IP2", "168"}, {"E_S7_Protocol_IP3", "0"},
    {"E_S7_Protocol_IP4", "5"}, {"E_S7_Protocol_SM1", "255"}, {"E_S7_Protocol_SM2", "255"},
    {"E_S7_Protocol_SM3", "255"}, {"E_S7_Protocol_SM4", "0"}, {"E_S7_Protocol_GAT1", "192"},
    {"E_S7_Protocol_GAT2", "168"}, {"E_S7_Protocol_GAT3", "0"}, {"E_S7_Protocol_GAT4", "1"},
    {"CB_S7_Protocol_En_GAT", "0"}, {"E_NTP_Server_URL", "pool.ntp.org"}, {"E_NTP_Poll_Time", "1000"},
    {"E_OPC_UA_Server_IP1", "192"}, {"E_OPC_UA_Server_IP2", "168"}, {"E_OPC_UA_Server_IP3", "0"},
    {"E_OPC_UA_Server_IP4", "10"}, {"E_OPC_UA_Server_SM1", "255"}, {"E_OPC_UA_Server_SM2", "255"},
    {"E_OPC_UA_Server_SM3", "255"}, {"E_OPC_UA_Server_SM4", "0"}, {"E_OPC_UA_Server_GAT1", "192"},
    {"E_OPC_UA_Server_GAT2", "168"}, {"E_OPC_UA_Server_GAT3", "0"}, {"E_OPC_UA_Server_GAT4", "1"},
    {"CB_OPC_UA_Server_En_GAT", "0"}, {"E_OPC_UA_Server_DNS1", "8"}, {"E_OPC_UA_Server_DNS2", "8"},
    {"E_OPC_UA_Server_DNS3", "8"}, {"E_OPC_UA_Server_DNS4", "8"}, {"CB_OPC_UA_Server_En_DNS", "0"},
    {"E_OPC_UA_Server_Port", "4840"},
};

TEST_F(ParGenTest, MissingFileShowsDefaultsAndOkWritesTheDefaultFile)
{
    // Something typed before must not survive the next opening.
    Set("E_S7_Protocol_IP1", "7");
    Set("CB_OPC_UA_Server_En_DNS", "1");
    Form->FormShow();
    for (const auto& [name, text] : Defaults)
        EXPECT_EQ(Value(name), text) << name;
    EXPECT_TRUE(Services.MessageBoxes.isEmpty());

    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    EXPECT_TRUE(Services.MessageBoxes.isEmpty());

    const ParsedParGen written = Parse(kt_test::ReadFile(File_ParGen));
    const ParsedParGen fixture = Parse(kt_test::ReadFile(kt_test::FixturePath("pargen/ParGen_defaults.xml")));
    ASSERT_TRUE(written.Ok);
    ASSERT_TRUE(fixture.Ok);
    ASSERT_EQ(fixture.Children.size(), 34u);
    EXPECT_EQ(written.Root, "Par_Gen");
    EXPECT_EQ(written.Comment, "SW_VERSION = 1.000");
    EXPECT_EQ(written.Children, fixture.Children);
    EXPECT_TRUE(written.OnlyElements) << "no whitespace text between the elements";
    EXPECT_FALSE(kt_test::ReadFile(File_ParGen).startsWith("<?xml")) << "no declaration";
}

TEST_F(ParGenTest, FileValuesLoadEachOnItsOwnAndUnknownElementsAreDropped)
{
    // A declaration and a comment before the root change nothing: the root is the document element.
    WriteParGen("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept by hand -->\n"
                "<Par_Gen>"
                "<S7_Protocol_IP1>10</S7_Protocol_IP1>"
                "<S7_Protocol_IP2><x>1</x></S7_Protocol_IP2>" // not a text: default
                "<S7_Protocol_IP3></S7_Protocol_IP3>"         // empty: empty field
                "<S7_Protocol_IP4> 7</S7_Protocol_IP4>"       // kept as written
                "<PROFINET_NB_IN>4</PROFINET_NB_IN>"          // another family member's element
                "<OPC_UA_Server_Port>0x1F90</OPC_UA_Server_Port>"
                "<OPC_UA_Server_EN_DNS>1</OPC_UA_Server_EN_DNS>"
                "<OPC_UA_Server_DNS1>300</OPC_UA_Server_DNS1>"
                "</Par_Gen>");
    Form->FormShow();
    EXPECT_EQ(Value("E_S7_Protocol_IP1"), "10");
    EXPECT_EQ(Value("E_S7_Protocol_IP2"), "168");
    EXPECT_EQ(Value("E_S7_Protocol_IP3"), "");
    EXPECT_EQ(Value("E_S7_Protocol_IP4"), " 7");
    EXPECT_EQ(Value("E_OPC_UA_Server_Port"), "0x1F90");
    EXPECT_EQ(Value("CB_OPC_UA_Server_En_DNS"), "1");
    EXPECT_EQ(Value("E_NTP_Poll_Time"), "1000");
    EXPECT_EQ(Value("E_OPC_UA_Server_IP4"), "10");

    // The empty octet fails its check first.
    Form->Btn_OKClick(Form->Btn_OK);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[453]);
    Services.MessageBoxes.clear();

    // Once mended, the ticked DNS box checks its octets too.
    Set("E_S7_Protocol_IP3", "0");
    Form->Btn_OKClick(Form->Btn_OK);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[929]);
    Services.MessageBoxes.clear();

    Set("E_OPC_UA_Server_DNS1", "9");
    Form->Btn_OKClick(Form->Btn_OK);
    EXPECT_EQ(Form->ModalResult(), mrOk);
    const ParsedParGen written = Parse(kt_test::ReadFile(File_ParGen));
    ASSERT_EQ(written.Children.size(), 34u);
    for (const auto& [element, text] : written.Children)
        EXPECT_NE(element, "PROFINET_NB_IN");
    EXPECT_EQ(written.Children[3], std::make_pair(QString("S7_Protocol_IP4"), QString(" 7")));
    EXPECT_EQ(written.Children[33], std::make_pair(QString("OPC_UA_Server_Port"), QString("0x1F90")));
}

TEST_F(ParGenTest, OnlyTheExactTextOneTicksABox)
{
    const std::pair<const char*, bool> cases[] = {
        {"1", true}, {"true", false}, {"01", false}, {" 1", false}, {"", false}, {"0", false}};
    for (const auto& [text, ticked] : cases) {
        WriteParGen(QByteArray("<Par_Gen><S7_Protocol_EN_GAT>") + text + "</S7_Protocol_EN_GAT></Par_Gen>");
        Box("CB_S7_Protocol_En_GAT")->setChecked(!ticked);
        Form->FormShow();
        EXPECT_EQ(Box("CB_S7_Protocol_En_GAT")->isChecked(), ticked) << "'" << text << "'";
    }
}

struct CheckCase {
    std::vector<std::pair<const char*, const char*>> Fields; // set after the defaults
    int Message;   // language index of the expected message, 0 when OK passes
    const char* Element = nullptr; // when OK passes: this element holds
    const char* Stored = nullptr;  // ... this text
};

TEST_F(ParGenTest, EachCheckRefusesWithItsTextAndWritesNothing)
{
    const CheckCase cases[] = {
        {{{"E_S7_Protocol_IP1", ""}}, 451},
        {{{"E_S7_Protocol_IP1", "256"}}, 451},
        {{{"E_S7_Protocol_IP2", "x"}}, 452},
        {{{"E_S7_Protocol_IP3", "5 "}}, 453},
        {{{"E_S7_Protocol_IP3", " 5"}}, 0, "S7_Protocol_IP3", " 5"},
        {{{"E_S7_Protocol_IP4", "-1"}}, 454},
        {{{"E_S7_Protocol_SM1", "$100"}}, 455},
        {{{"E_S7_Protocol_SM2", "300"}}, 456},
        {{{"E_S7_Protocol_SM4", "256"}}, 458},
        {{{"E_S7_Protocol_SM3", "999"}, {"E_OPC_UA_Server_Port", "10000"}}, 457},
        {{{"CB_S7_Protocol_En_GAT", "1"}, {"E_S7_Protocol_GAT1", "256"}}, 459},
        {{{"CB_S7_Protocol_En_GAT", "1"}, {"E_S7_Protocol_GAT2", "999"}}, 460},
        {{{"CB_S7_Protocol_En_GAT", "1"}, {"E_S7_Protocol_GAT3", ""}}, 461},
        {{{"CB_S7_Protocol_En_GAT", "1"}, {"E_S7_Protocol_GAT4", "x"}}, 462},
        {{{"E_S7_Protocol_GAT2", "999"}}, 0, "S7_Protocol_GAT2", "999"},
        {{{"E_NTP_Poll_Time", "10000001"}}, 725},
        {{{"E_NTP_Poll_Time", "-5"}}, 725},
        {{{"E_NTP_Poll_Time", "0"}}, 0, "NTP_Poll_Time", "0"},
        {{{"E_NTP_Poll_Time", "10000000"}}, 0, "NTP_Poll_Time", "10000000"},
        {{{"E_NTP_Server_URL", ""}}, 0, "NTP_Server_URL", ""},
        {{{"E_OPC_UA_Server_IP1", "256"}}, 815},
        {{{"E_OPC_UA_Server_IP2", "256"}}, 816},
        {{{"E_OPC_UA_Server_IP3", "256"}}, 817},
        {{{"E_OPC_UA_Server_IP4", ""}}, 818},
        {{{"E_OPC_UA_Server_SM1", "256"}}, 819},
        {{{"E_OPC_UA_Server_SM2", "256"}}, 820},
        {{{"E_OPC_UA_Server_SM3", "256"}}, 821},
        {{{"E_OPC_UA_Server_SM4", "256"}}, 822},
        {{{"CB_OPC_UA_Server_En_GAT", "1"}, {"E_OPC_UA_Server_GAT1", "256"}}, 823},
        {{{"CB_OPC_UA_Server_En_GAT", "1"}, {"E_OPC_UA_Server_GAT2", "256"}}, 824},
        {{{"CB_OPC_UA_Server_En_GAT", "1"}, {"E_OPC_UA_Server_GAT3", "256"}}, 825},
        {{{"CB_OPC_UA_Server_En_GAT", "1"}, {"E_OPC_UA_Server_GAT4", "256"}}, 826},
        {{{"E_OPC_UA_Server_GAT4", "999"}}, 0, "OPC_UA_Server_GAT4", "999"},
        {{{"CB_OPC_UA_Server_En_DNS", "1"}, {"E_OPC_UA_Server_DNS1", "300"}}, 929},
        {{{"CB_OPC_UA_Server_En_DNS", "1"}, {"E_OPC_UA_Server_DNS2", "-1"}}, 930},
        {{{"CB_OPC_UA_Server_En_DNS", "1"}, {"E_OPC_UA_Server_DNS3", ""}}, 931},
        {{{"CB_OPC_UA_Server_En_DNS", "1"}, {"E_OPC_UA_Server_DNS4", "256"}}, 932},
        {{{"E_OPC_UA_Server_DNS3", "300"}}, 0, "OPC_UA_Server_DNS3", "300"},
        {{{"CB_OPC_UA_Server_En_DNS", "1"}, {"E_OPC_UA_Server_DNS4", "255"}}, 0, "OPC_UA_Server_EN_DNS", "1"},
        {{{"E_OPC_UA_Server_Port", "10000"}}, 827},
        {{{"E_OPC_UA_Server_Port", "65536"}}, 827},
        {{{"E_OPC_UA_Server_Port", ""}}, 827},
        {{{"E_OPC_UA_Server_Port", "0"}}, 0, "OPC_UA_Server_Port", "0"},
        {{{"E_OPC_UA_Server_Port", "65535"}}, 0, "OPC_UA_Server_Port", "65535"},
        {{{"E_OPC_UA_Server_Port", "0x1F90"}}, 0, "OPC_UA_Server_Port", "0x1F90"},
    };
    for (const CheckCase& c : cases) {
        const std::string label = c.Fields.back().first + std::string("='") + c.Fields.back().second + "'";
        QFile::remove(File_ParGen);
        Services.MessageBoxes.clear();
        Form->SetModalResult(mrNone);
        Form->FormShow();
        for (const auto& [name, text] : c.Fields)
            Set(name, text);
        Form->Btn_OKClick(Form->Btn_OK);
        if (c.Message) {
            ASSERT_EQ(Services.MessageBoxes.size(), 1) << label;
            EXPECT_EQ(Services.MessageBoxes[0].Text, Lang_Table[c.Message]) << label;
            EXPECT_EQ(Services.MessageBoxes[0].Type, mtError) << label;
            EXPECT_EQ(Services.MessageBoxes[0].Buttons, TMsgDlgButtons(mbOK)) << label;
            EXPECT_NE(Form->ModalResult(), mrOk) << label;
            EXPECT_FALSE(QFile::exists(File_ParGen)) << label;
            // The fields stay as typed.
            EXPECT_EQ(Value(c.Fields.back().first), c.Fields.back().second) << label;
        } else {
            EXPECT_TRUE(Services.MessageBoxes.isEmpty()) << label;
            EXPECT_EQ(Form->ModalResult(), mrOk) << label;
            bool found = false;
            for (const auto& [element, text] : Parse(kt_test::ReadFile(File_ParGen)).Children)
                if (element == c.Element) {
                    found = true;
                    EXPECT_EQ(text, c.Stored) << label;
                }
            EXPECT_TRUE(found) << label;
        }
    }
    // The built-in wording of a few of the messages.
    EXPECT_EQ(Lang_Table[451], "Error S7comm!! IP Address 1 must be between 0 and 255");
    EXPECT_EQ(Lang_Table[725], "Error NTP!! Poll Time must be between 0 and 10000000 seconds");
    EXPECT_EQ(Lang_Table[827], "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000");
}

TEST_F(ParGenTest, FullStopMovesAlongTheOctetChains)
{
    Form->show();
    Form->FormShow();
    struct StopCase {
        const char* From;
        const char* To; // nullptr: the focus stays
    };
    const StopCase cases[] = {
        {"E_S7_Protocol_IP1", "E_S7_Protocol_IP2"},
        {"E_S7_Protocol_IP4", "E_S7_Protocol_SM1"},
        {"E_S7_Protocol_SM4", "E_S7_Protocol_GAT1"}, // the gateway box is clear; still editable
        {"E_S7_Protocol_GAT4", nullptr},
        {"E_OPC_UA_Server_IP4", "E_OPC_UA_Server_SM1"},
        {"E_OPC_UA_Server_GAT4", "E_OPC_UA_Server_DNS1"},
        {"E_OPC_UA_Server_DNS4", nullptr},
        {"E_ModbusTCPSlave_IP1", nullptr}, // a hidden panel: the "." is only discarded
    };
    for (const StopCase& c : cases) {
        QLineEdit* from = Edit(c.From);
        ASSERT_NE(from, nullptr) << c.From;
        from->setText("12");
        from->setFocus();
        QWidget* before = Form->focusWidget();
        QTest::keyClick(from, '.');
        EXPECT_EQ(from->text(), "12") << c.From << ": the full stop is never typed";
        EXPECT_EQ(Form->focusWidget(), c.To ? Form->Control(c.To) : before) << c.From;
    }
    // Other characters reach the octet edit, and a full stop is plain text in the other fields.
    Edit("E_S7_Protocol_IP1")->setText("");
    QTest::keyClick(Edit("E_S7_Protocol_IP1"), '7');
    EXPECT_EQ(Edit("E_S7_Protocol_IP1")->text(), "7");
    for (const char* name : {"E_NTP_Server_URL", "E_NTP_Poll_Time", "E_OPC_UA_Server_Port"}) {
        Edit(name)->setText("a");
        Edit(name)->setFocus();
        QTest::keyClick(Edit(name), '.');
        EXPECT_EQ(Edit(name)->text(), "a.") << name;
    }
    Form->hide();
}

TEST_F(ParGenTest, CancelLeavesTheFileAsItWas)
{
    const QByteArray original = "<Par_Gen><S7_Protocol_IP1>10</S7_Protocol_IP1></Par_Gen>";
    WriteParGen(original);
    Form->FormShow();
    Set("E_S7_Protocol_IP1", "11");
    Set("E_OPC_UA_Server_Port", "502");
    Form->Btn_Cancel->Click();
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    EXPECT_EQ(kt_test::ReadFile(File_ParGen), original);
    Form->FormShow();
    EXPECT_EQ(Value("E_S7_Protocol_IP1"), "10");
    EXPECT_EQ(Value("E_OPC_UA_Server_Port"), "4840");
}

TEST_F(ParGenTest, BrokenOrUnwritableFileIsReportedAndNothingIsLost)
{
    // A file that is not well-formed: one error box, the defaults, the file untouched.
    const QByteArray broken = "<Par_Gen><S7_Protocol_IP1>10</S7_Protocol_IP1>";
    WriteParGen(broken);
    Form->FormShow();
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_EQ(Value("E_S7_Protocol_IP1"), "192");
    EXPECT_EQ(kt_test::ReadFile(File_ParGen), broken);

    // A save that cannot be written: an error box, the dialog stays open with the user's values.
    Services.MessageBoxes.clear();
    File_ParGen = Dir.filePath("missing-folder/ParGen.xml");
    Set("E_S7_Protocol_IP1", "11");
    Form->Btn_OKClick(Form->Btn_OK);
    ASSERT_EQ(Services.MessageBoxes.size(), 1);
    EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
    EXPECT_NE(Form->ModalResult(), mrOk);
    EXPECT_EQ(Value("E_S7_Protocol_IP1"), "11");
}

TEST_F(ParGenTest, ThreePanelsShownInOrderAndTheRestOfTheFamilyHidden)
{
    const std::vector<TCategoryPanel*> shown = Form->CPG->StackedPanels();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], Form->CP_S7_Protocol);
    EXPECT_EQ(shown[1], Form->CP_OPC_UA_Server);
    EXPECT_EQ(shown[2], Form->CP_NTP);
    EXPECT_EQ(Form->CP_S7_Protocol->Height(), 123);
    EXPECT_EQ(Form->CP_OPC_UA_Server->Height(), 178);
    EXPECT_EQ(Form->CP_NTP->Height(), 94);
    EXPECT_EQ(Form->CP_S7_Protocol->Caption(), "1. S7comm");
    EXPECT_EQ(Form->CP_OPC_UA_Server->Caption(), "2. OPC UA Server");
    EXPECT_EQ(Form->CP_NTP->Caption(), "3. NTP (Network Time Protocol)");
    EXPECT_EQ(Form->CPG->Panels().size(), 20u);
    EXPECT_EQ(Form->windowTitle(), "Set Communication");
    EXPECT_EQ(Form->L_SW_Code->text(), "KT40917");
    EXPECT_EQ(Form->Btn_OK->Caption(), "OK");
    EXPECT_EQ(Form->Btn_Cancel->Caption(), "Cancel");
    EXPECT_EQ(Form->ClientWidth(), 460);
    EXPECT_EQ(Form->ClientHeight(), 700);
}

TEST_F(ParGenTest, LanguageChangeReTextsTheVisibleWindowOnly)
{
    Lang_Table.Set(406, "S7comm (de)");
    Lang_Table.Set(720, "NTP (de)");
    Lang_Table.Set(402, "Bestaetigen");
    Lang_Table.Set(417, "Gateway (de)");
    Lang_Table.Set(422, "Byte 4 (de)");
    Lang_Table.Set(423, "Modbus (de)");   // a hidden panel's name
    Lang_Table.Set(424, "IP (de)");       // a hidden panel's label
    Lang_Table.Set(463, "Fehler Modbus"); // a hidden panel's message
    Form->Set_Lang();
    Form->FormShow();
    EXPECT_EQ(Form->CP_S7_Protocol->Caption(), "1. S7comm (de)");
    EXPECT_EQ(Form->CP_NTP->Caption(), "3. NTP (de)");
    EXPECT_EQ(Form->Btn_OK->Caption(), "Bestaetigen");
    EXPECT_EQ(Form->CB_S7_Protocol_En_GAT->text(), "Gateway (de)");
    EXPECT_EQ(Form->E_S7_Protocol_GAT4->toolTip(), "Byte 4 (de)");
    EXPECT_EQ(qobject_cast<QLabel*>(Form->Control("L_ModbusTCPSlave_IP"))->text(), "IP (de)");
    const std::vector<TCategoryPanel*> shown = Form->CPG->StackedPanels();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_FALSE(Form->CP_Modbus_TCP_Slave->PanelVisible());
    EXPECT_NE(Form->CP_Modbus_TCP_Slave->Caption(), "Modbus (de)");
}

TEST_F(ParGenTest, FamilyRoutines)
{
    const std::pair<const char*, bool> names[] = {
        {"", false}, {"abc123XYZ", false}, {"a-b", true}, {"a b", true}, {"\xC3\xA8", true}};
    for (const auto& [text, result] : names)
        EXPECT_EQ(Form->Check_Device_Name(QString::fromUtf8(text)), result) << text;

    // The SNMP rule: the anchor follows the version 3 box and the security level.
    auto* v3 = qobject_cast<QCheckBox*>(Form->Control("CB_SNMP_Agent_Version3"));
    auto* level = qobject_cast<QComboBox*>(Form->Control("CB_SNMP_Agent_SecurityLevel"));
    auto expectAnchor = [&](const char* anchor) {
        Form->RePosition_Object_SNMP_Agent();
        QWidget* a = Form->Control(anchor);
        EXPECT_EQ(Form->CP_SNMP_Agent->Height(), a->y() + a->height() + 24 + 12) << anchor;
    };
    v3->setChecked(false);
    expectAnchor("CB_SNMP_Agent_Version3");
    v3->setChecked(true);
    level->setCurrentIndex(0);
    expectAnchor("CB_SNMP_Agent_SecurityLevel");
    level->setCurrentIndex(1);
    expectAnchor("CB_SNMP_Agent_AuthorityMode");
    level->setCurrentIndex(2);
    expectAnchor("CB_SNMP_Agent_PrivacyMode");

    // A trigger lays out only this device's panels: the hidden ones stay hidden.
    Form->On_Click(v3);
    Form->On_Change(level);
    EXPECT_EQ(Form->CPG->StackedPanels().size(), 3u);
}

TEST_F(ParGenTest, WheelOverThePanelsScrollsThem)
{
    Form->SetClientHeight(300);
    Form->show();
    Form->FormShow();
    QScrollBar* bar = Form->CPG->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    const QPoint local(50, 50);
    QWheelEvent down(local, Form->CPG->viewport()->mapToGlobal(local), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Form->CPG->viewport(), &down);
    EXPECT_EQ(bar->value(), std::min(bar->maximum(), QApplication::wheelScrollLines() * bar->singleStep()));
    Form->hide();
}

TEST_F(ParGenTest, GrabOfTheShownDialog)
{
    WriteParGen("<Par_Gen><S7_Protocol_EN_GAT>1</S7_Protocol_EN_GAT></Par_Gen>");
    Form->show();
    Form->FormShow();
    QApplication::processEvents();
    const QImage image = Form->grab().toImage();
    EXPECT_EQ(image.width(), 460);
    EXPECT_TRUE(image.save(kt_test::GrabPath("pargen.png")));
    Form->hide();
}

} // namespace

TEST_F(ParGenTest, LoadErrorNamesTheFile)
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("<Par_Gen><E_NTP_Poll_Time>5</Par_Gen>")}) {
        Services.MessageBoxes.clear();
        WriteParGen(bytes);
        Form->FormShow();
        ASSERT_EQ(Services.MessageBoxes.size(), 1);
        EXPECT_EQ(Services.MessageBoxes[0].Type, mtError);
        EXPECT_TRUE(Services.MessageBoxes[0].Text.startsWith(
            "Error! The file \"" + QDir::toNativeSeparators(File_ParGen) + "\" cannot be loaded: "))
            << Services.MessageBoxes[0].Text.toStdString();
        EXPECT_EQ(Value("E_NTP_Poll_Time"), "1000") << "the defaults are shown";
    }
}

namespace {

// True when the panel's header shows a red chevron.
bool Red_Chevron(TCategoryPanel* panel)
{
    const QImage image = panel->grab(QRect(0, 0, panel->width(), TCategoryPanelGroup::HeaderHeight)).toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = image.width() - 30; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 110 && c.blue() < 110)
                return true;
        }
    return false;
}

} // namespace

TEST_F(ParGenTest, ChevronIsRedOnlyWhileThePointerIsOnItsHeader)
{
    Form->show();
    Form->FormShow();
    QApplication::setActiveWindow(Form.get());
    QApplication::processEvents();
    TCategoryPanel* s7 = Form->CP_S7_Protocol;
    TCategoryPanel* opc = Form->CP_OPC_UA_Server;
    auto move = [](TCategoryPanel* panel, int y) {
        QTest::mouseMove(panel, QPoint(60, y));
        QApplication::processEvents();
    };
    auto red = [&] {
        QStringList r;
        for (TCategoryPanel* p : Form->CPG->StackedPanels())
            if (Red_Chevron(p))
                r << p->objectName();
        return r;
    };
    ASSERT_TRUE(red().isEmpty());
    move(s7, 10);
    EXPECT_EQ(red(), QStringList({s7->objectName()}));
    // Down into the panel's fields: the header is no longer under the pointer.
    move(s7, TCategoryPanelGroup::HeaderHeight + 30);
    EXPECT_TRUE(red().isEmpty());
    move(opc, 10);
    EXPECT_EQ(red(), QStringList({opc->objectName()}));
    // Closed while hot, the pointer then elsewhere: the next showing starts with no red chevron.
    Form->hide();
    QApplication::processEvents();
    QWidget elsewhere;
    elsewhere.setGeometry(Form->geometry().right() + 50, 0, 100, 100);
    elsewhere.show();
    QTest::mouseMove(&elsewhere, QPoint(50, 50));
    QApplication::processEvents();
    Form->show();
    Form->FormShow();
    QApplication::processEvents();
    EXPECT_TRUE(red().isEmpty());
    move(s7, 10);
    EXPECT_EQ(red(), QStringList({s7->objectName()}));
    Form->hide();
}
