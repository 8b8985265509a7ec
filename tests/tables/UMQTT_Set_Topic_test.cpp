// The MQTT topics dialog: the columns its show hides and shows, the file with its required and
// defaulted attributes and the columns it does not keep, the rules of OK over the shown columns,
// the template picker on a double click, and the row buttons of the tab in front.
#include "ColumnGridTest.h"
#include "TableTest.h"

#include "core/UComon.h"
#include "grid/AdvCGrid.h"
#include "render/LbButton.h"
#include "tables/UMQTT_Set_Topic.h"
#include "tables/UTopicTemplate.h"

#include <QApplication>
#include <QFileInfo>
#include <QTabWidget>

#include <memory>

using namespace platform;
using namespace table_test;

namespace {

// Real columns 1 .. 17 of a publish row and 1 .. 14 of a subscribe row that pass every rule.
const QStringList Good_Pub = {"plant/a", "N", "0", "Int", "2", "0", "", "", "$VALUE$", "N", "", "N", "", "", "N", "N",
                              "pub"};
const QStringList Good_Sub = {"cmd/a", "N", "1", "Float", "4", "10", "", "", "", "", "$VALUE$", "N", "N", "sub"};

// The picker as a test drives it: records what it was given and answers at once.
class Scripted_Picker : public TFTopicTemplate {
public:
    TModalResult Answer = mrOk;
    QString Typed;  // the field's text when it closes with OK
    QString Given;
    int Shown = 0;
    TModalResult ShowModal() override
    {
        ++Shown;
        Given = Topic_Text();
        FormShow();
        if (Answer == mrOk)
            Set_Topic_Text(Typed);
        else
            Set_Topic_Text(QStringLiteral("edited, then cancelled"));
        return Answer;
    }
};

class MqttTopics : public Dialog_Test<TFMQTT_Set_Topic> {
protected:
    void SetUp() override
    {
        Open(File_MQTT_Set_Topic, "MQTT_Set_Topic.xml", "UMQTT_Set_Topic");
        Pub = Form->ACG_Pub;
        Sub = Form->ACG_Sub;
        Picker = std::make_unique<Scripted_Picker>();
        Picker->Create();
        FTopicTemplate = Picker.get();
    }
    void TearDown() override
    {
        FTopicTemplate = nullptr;
        Double_Click_Auto_Size = false;
    }
    static QStringList Row(TZidIzavodUraz* g, int r) { return Row_With_Hidden(g, r); }
    static QList<int> Hidden(TZidIzavodUraz* g, int count)
    {
        QList<int> l;
        for (int c = 0; c < count; ++c)
            if (g->IsHiddenColumn(c))
                l << c;
        return l;
    }

    std::unique_ptr<Scripted_Picker> Picker;
    TZidIzavodUraz* Pub = nullptr;
    TZidIzavodUraz* Sub = nullptr;
};

} // namespace

TEST_F(MqttTopics, WindowGridsAndTexts)
{
    Expect_Window(*Form, 1100, 337, "Set MQTT Topics");
    EXPECT_EQ(Tab_Texts(Form->PageControl1), (QStringList{"MQTT Publish", "MQTT Subscribe"}));
    EXPECT_EQ(Form->Btn_DelRow->toolTip(), "Delete the Selected Row in the table");
    struct Grid {
        TZidIzavodUraz* g;
        QStringList headers;
        QList<int> widths;
        QList<int> checks, lists, edits;
    } grids[] = {
        {Pub,
         {"N", "Topic", "Retained", "QoS", "Data Type", "Dimension", "Position", "IP Address", "Input Template",
          "Template", "OnChange", "OnCMD", "OnTimer", "Time(ms)", "Channel", "Swap", "Swap Word", "Mnemonic"},
         {40, 300, 60, 80, 80, 80, 80, 100, 120, 130, 75, 55, 64, 70, 60, 40, 80, 170},
         {2, 10, 11, 12, 15, 16},
         {3, 4, 14},
         {9}},
        {Sub,
         {"N", "Topic", "Retained", "QoS", "Data Type", "Dimension", "Position", "IP Address", "Port", "Type",
          "Input Template", "Template", "Swap", "Swap Word", "Mnemonic"},
         {40, 300, 60, 80, 80, 80, 80, 100, 50, 64, 130, 130, 40, 80, 220},
         {2, 12, 13},
         {3, 4, 9},
         {11}},
    };
    for (const Grid& k : grids) {
        SCOPED_TRACE(k.g->objectName().toStdString());
        Expect_Headers_And_Widths(k.g, k.headers, k.widths, Item_Headers);
        Expect_Editors(k.g, k.checks, k.lists, k.edits);
        EXPECT_EQ(k.g->Columns().Items(4)->ComboItems().Strings(3), "Base64");
    }
    EXPECT_EQ(Pub->Columns().Items(14)->ComboItems().Count(), 65);
    EXPECT_EQ(Pub->Columns().Items(14)->ComboItems().Strings(64), "All");
    EXPECT_EQ(Pub->Columns().Items(9)->ComboItems().Strings(0), "$VALUE$");
    EXPECT_EQ(Sub->Columns().Items(9)->ComboItems().Strings(1), "UDP");
    EXPECT_EQ(Pub->Columns().Items(1)->Color(), 0xFEFAE0);
    EXPECT_EQ(Pub->Columns().Items(6)->Color(), 0xF4D6FC);
    EXPECT_EQ(Sub->Columns().Items(11)->Color(), 0xA8FFFF);
    EXPECT_EQ(Sub->Columns().Items(2)->Alignment(), taCenter);
    ASSERT_EQ(Form->Hint_MQTT_Set_Topic_Pub.size(), 17);
    ASSERT_EQ(Form->Hint_MQTT_Set_Topic_Sub.size(), 14);
}

TEST_F(MqttTopics, ShowLeavesThisDevicesColumnsWhateverWasShownBefore)
{
    // Another working mode could have left other columns shown or hidden.
    Pub->HideColumn(10);
    Pub->HideColumn(13);
    Form->PageControl1->setCurrentIndex(1);
    for (int i = 0; i < 2; ++i) {
        Form->FormShow();
        EXPECT_EQ(Hidden(Pub, 18), (QList<int>{7, 8, 11, 14, 15, 16}));
        EXPECT_EQ(Hidden(Sub, 15), (QList<int>{2, 7, 8, 9, 10, 12, 13}));
        EXPECT_EQ(Pub->ColCount(), 12);
        EXPECT_EQ(Sub->ColCount(), 8);
        EXPECT_EQ(Pub->RowCount(), 1025);
        EXPECT_EQ(Sub->RowCount(), 1025);
        EXPECT_EQ(Pub->ColWidths(Pub->DisplColIndex(9)), 130);
        EXPECT_EQ(Pub->ColWidths(Pub->DisplColIndex(13)), 70);
        EXPECT_EQ(Form->PageControl1->currentIndex(), 0);
        EXPECT_EQ(Form->Working_Mode, 1);
        EXPECT_EQ(Form->Byte_IN, 1500);
        EXPECT_EQ(Form->Byte_OUT, 1500);
        Form->PageControl1->setCurrentIndex(1);
    }
    // Hints follow the real column under a header cell.
    QString hint = "cell";
    Form->ACG_MQTT_GridHint(Pub, 0, Pub->DisplColIndex(9), hint);
    EXPECT_EQ(hint, "Insert the Template");
    Form->ACG_MQTT_GridHint(Sub, 0, Sub->DisplColIndex(14), hint);
    EXPECT_EQ(hint, "Description of MQTT Topic");
    hint = "cell";
    Form->ACG_MQTT_GridHint(Sub, 5, 1, hint);
    EXPECT_EQ(hint, "cell");
}

TEST_F(MqttTopics, ShowWithoutFileThenOkWritesEmptySections)
{
    Put_Row(Pub, 3, Good_Pub);  // left from an earlier showing
    Form->FormShow();
    EXPECT_EQ(Row(Pub, 3), QStringList(17, ""));
    EXPECT_EQ(Pub->Cells(0, 1024), "1024");
    Expect_Ok_Writes(Fix("MQTT_Set_Topic_empty.xml"));
}

TEST_F(MqttTopics, LoadedFileIsSavedBackWithItsDefaults)
{
    Show_Fixture("MQTT_Set_Topic_load.xml");
    Expect_No_Messages();
    EXPECT_EQ(Row(Pub, 2), (QStringList{"plant/t2", "N", "0", "String", "10", "5", "", "", "", "N", "", "N", "", "",
                                        "N", "N", "m"}));
    EXPECT_EQ(Pub->Cells(17, 1), "tank\nlevel");
    EXPECT_EQ(Row(Sub, 2), (QStringList{"cmd/x", "Y", "0", "Base64", "200", "3", "", "", "", "", "", "N", "N", ""}));
    EXPECT_EQ(Row(Pub, 3), QStringList(17, ""));  // rows not in the file keep no fixed values

    // Hidden columns with bad values are neither checked nor changed.
    Pub->SetCells(11, 1, "Y");
    Pub->SetCells(14, 1, "7");
    Pub->SetCells(15, 1, "Y");
    Expect_Ok_Writes(Fix("MQTT_Set_Topic_saved.xml"));

    // What OnCMD, Channel and Swap held is not kept.
    Form->FormShow();
    EXPECT_EQ(Pub->Cells(11, 1), "");
    EXPECT_EQ(Pub->Cells(14, 1), "");
    EXPECT_EQ(Pub->Cells(15, 1), "N");
    EXPECT_EQ(Pub->Cells(16, 1), "N");
}

TEST_F(MqttTopics, RowsWithoutARequiredAttributeStopTheLoad)
{
    const QByteArray file =
        "<MQTT_Set_Topic><MQTT_Publish>"
        "<row Topic=\"a\" Retained=\"N\" QoS=\"0\" Mnemonic=\"1\"/>"
        "<row Topic=\"b\" Retained=\"N\" QoS=\"0\" DataType=\"Int\"/>"
        "<row Topic=\"c\" Retained=\"N\" QoS=\"0\" Mnemonic=\"3\"/>"
        "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>";
    Show_File(file);
    Expect_Refused_File(file, "row 2 of \"MQTT_Publish\" has no attribute \"Mnemonic\".");
    EXPECT_EQ(Pub->Cells(17, 1), "1");
    EXPECT_EQ(Pub->Cells(1, 2), "");  // the half-read row is dropped whole
    EXPECT_EQ(Pub->Cells(4, 2), "");
    EXPECT_EQ(Pub->Cells(1, 3), "");
}

TEST_F(MqttTopics, TemplatesPairTheirDollarSigns)
{
    struct Case {
        const char* text;
        bool error;
    } cases[] = {{"", false}, {"plain", false}, {"$VALUE$", false}, {"$", true}, {"$A$ $B$", false},
                 {"$A$ $", true}, {"$$$", true}};
    for (const Case& k : cases)
        EXPECT_EQ(TFMQTT_Set_Topic::Error_In_Topic_Template(k.text), k.error) << k.text;
}

TEST_F(MqttTopics, ValidationStopsAtTheFirstBrokenRule)
{
    const QString p = "Error row 1!! [MQTT Publish] ";
    const QString s = "Error row 1!! [MQTT Subscribe] ";
    const Two_Grid_Rule_Case cases[] = {
        {"good rows", false, {}, ""},
        {"only a topic", false, {{3, ""}, {4, ""}, {5, ""}, {6, ""}, {9, ""}}, p + "Data Type must be selected"},
        {"int of 3", false, {{5, "3"}}, p + "Dimension must be equal to 1 or 2 or 4 or 8"},
        {"int of 8, lower case with blanks", false, {{4, " int "}, {5, "8"}}, ""},
        {"float of 2", true, {{5, "2"}}, s + "Dimension must be equal to 4 or 8"},
        {"float of 8", false, {{4, "Float"}, {5, "8"}}, ""},
        {"string of 0", false, {{4, "String"}, {5, "0"}}, p + "Dimension must be major of 0"},
        {"string without dimension", true, {{4, "String"}, {5, ""}}, s + "Dimension must be major of 0"},
        {"base64 of 200", true, {{4, "Base64"}, {5, "200"}}, ""},
        {"position 1499", false, {{6, "1499"}}, ""},
        {"position 1500", false, {{6, "1500"}}, p + "Position must be beetween 0 and 1499"},
        {"empty position", true, {{6, ""}}, s + "Position must be beetween 0 and 1499"},
        {"template with one $", false, {{9, "$VALUE"}}, p + "Template not Correct, Check the Keywords"},
        {"subscribe template with one $", true, {{11, "x$"}}, s + "Template not Correct, Check the Keywords"},
        {"template without $", true, {{11, "raw"}}, ""},
        {"timer 999999999", false, {{12, "Y"}, {13, "999999999"}}, ""},
        {"timer 1000000000", false, {{12, " y "}, {13, "1000000000"}}, p + "Time(ms) must be between 1 and 1000000000"},
        {"timer without time", false, {{12, "Y"}, {13, ""}}, p + "Time(ms) must be between 1 and 1000000000"},
        {"no timer, no time", false, {{12, "N"}, {13, ""}}, ""},
        {"hidden IP, port and input template", true, {{7, "1.2.3"}, {8, "70000"}, {10, "$"}}, ""},
        {"hidden publish input template", false, {{7, "x"}, {8, "$"}}, ""},
        {"unchecked cells", false, {{2, "maybe"}, {3, "9"}, {17, ""}}, ""},
    };
    Expect_Row_1_Rules(cases, Pub, Good_Pub, Sub, Good_Sub);

    // Shown columns of another working mode are checked: the rules follow the visibility.
    struct Shown {
        const char* name;
        bool sub;
        int col;
        QString value, message;
    } shown[] = {
        {"publish IP", false, 7, "192.168.2.300", p + "IP Address must be a Valid IP Address (Ex. 192.168.2.167)"},
        {"publish input template", false, 8, "$x", p + "Input Template not Correct, Check the Keywords"},
        {"subscribe IP", true, 7, " 10.0.0.1 ", ""},
        {"subscribe port", true, 8, "65536", s + "Port must be between 0 and 65535"},
        {"subscribe input template", true, 10, "$", s + "Input Template not Correct, Check the Keywords"},
    };
    Expect_Rule_Cases(shown, [&](const Shown& k) {
        Put_Row(Pub, 1, Good_Pub);
        Put_Row(Sub, 1, Good_Sub);
        TZidIzavodUraz* g = k.sub ? Sub : Pub;
        g->SetCells(7, 1, "10.0.0.1");
        if (k.sub)
            g->SetCells(8, 1, "502");
        g->UnHideColumn(k.col);
        g->SetCells(k.col, 1, k.value);
    });

    // An error in row 5 of the subscribe grid reports row 5; OK leaves the file alone.
    Form->FormShow();
    for (int r = 1; r <= 5; ++r) {
        Put_Row(Pub, r, Good_Pub);
        Put_Row(Sub, r, Good_Sub);
    }
    Sub->SetCells(5, 5, "3");
    Pub->SetCells(1, 3, " ");
    Pub->SetCells(5, 4, "3");  // below the first blank topic: neither checked nor saved
    Services.MessageBoxes.clear();
    Form->Btn_OKClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error row 5!! [MQTT Subscribe] Dimension must be equal to 4 or 8"});
    EXPECT_FALSE(QFileInfo::exists(File_MQTT_Set_Topic));
}

TEST_F(MqttTopics, DoubleClickOnATemplateOpensThePicker)
{
    Form->FormShow();
    Put_Row(Pub, 2, Good_Pub);
    Put_Row(Sub, 3, Good_Sub);
    struct Case {
        const char* name;
        TZidIzavodUraz* g;
        int row, col;  // real column of the double-clicked cell
        TModalResult answer;
        int shown;
        int topic_template, pub_sub;
        QString cell;
    } cases[] = {
        {"publish template, OK", Pub, 2, 9, mrOk, 1, 1, 0, "$A$\nsecond line"},
        {"subscribe template, Cancel", Sub, 3, 11, mrCancel, 1, 1, 1, "$VALUE$"},
        {"subscribe template, OK", Sub, 3, 11, mrOk, 1, 1, 1, "$A$\nsecond line"},
        {"another column", Pub, 2, 1, mrOk, 0, 0, 0, "plant/a"},
    };
    Picker->Typed = "$A$\nsecond line";
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Picker->Shown = 0;
        Picker->Answer = k.answer;
        const QString before = k.g->Cells(k.col, k.row);
        // A double click on a data cell has already made it the current cell.
        k.g->SetRow(k.row);
        k.g->SetCol(k.g->DisplColIndex(k.col));
        Form->ACG_MQTT_DblClickCell(k.g, k.row, k.g->DisplColIndex(k.col));
        EXPECT_EQ(Picker->Shown, k.shown);
        if (k.shown) {
            EXPECT_EQ(Picker->Given, before);
            EXPECT_EQ(Picker->TopicTemplate, k.topic_template);
            EXPECT_EQ(Picker->Pub_Sub, k.pub_sub);
            EXPECT_EQ(Picker->Working_Mode, 1);
            EXPECT_EQ(Picker->Caption(), "Set Template");
        }
        EXPECT_EQ(k.g->Cells(k.col, k.row), k.cell);
    }
}

TEST_F(MqttTopics, RowButtonsWorkOnTheTabInFront)
{
    Form->FormShow();
    Put_Row(Pub, 1, Good_Pub);
    Put_Row(Sub, 1, Good_Sub);
    Put_Row(Sub, 2, Good_Sub);
    Sub->SetCells(14, 2, "second");

    // Insert on the subscribe tab: an empty row there, the publish grid untouched.
    Form->PageControl1->setCurrentWidget(Form->TS_MQTT_Subscribe);
    Sub->SetRow(1);
    Form->Btn_InsRowClick(nullptr);
    EXPECT_EQ(Row(Sub, 1), QStringList(14, ""));
    EXPECT_EQ(Sub->Cells(14, 3), "second");
    EXPECT_EQ(Row(Pub, 1), Good_Pub);

    Sub->SetRow(1);
    Services.MessageBoxAnswers = {mrYes};
    Form->Btn_DelRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Are you sure to delete the Row number 1"});
    EXPECT_EQ(Row(Sub, 1), Good_Sub);

    // Copy and paste move hidden columns along; a subscribe row does not paste into the publish grid.
    Sub->SetCells(8, 1, "502");
    Form->Btn_CopyRowClick(nullptr);
    EXPECT_TRUE(Form->Do_Copy_Sub);
    EXPECT_FALSE(Form->Do_Copy_Pub);
    Sub->SetRow(5);
    Services.MessageBoxes.clear();
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(Sub->Cells(8, 5), "502");
    Form->PageControl1->setCurrentWidget(Form->TS_MQTT_Publish);
    Pub->SetRow(4);
    Form->Btn_PasteRowClick(nullptr);
    EXPECT_EQ(Messages(), QStringList{"Error!!! Copy a valid row before Paste it"});
}

TEST_F(MqttTopics, Grab)
{
    Grab_Loaded("MQTT_Set_Topic_load.xml", "UMQTT_Set_Topic.png");
}
