#include <gtest/gtest.h>

#include "GeneratorFixture.h"

#include "TestSupport.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/UProfibus_GSD.h"
#include "platform/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class GsdTest : public kt_test::GeneratorTest {
protected:
    void ParGen(const QString& fixture) { Put(fixture, File_ParGen); }
};

TEST_F(GsdTest, WritesTheFixedTextWithModulesFromTheCounts)
{
    ParGen("ParGen_bacnet.xml"); // PROFINET_NB_OUT 100, PROFINET_NB_IN " $40"
    S.SaveDialogAnswers << Out("device");
    Create_GSD_File();

    Expect_Save_Dialog("Generic Station Description (*.gsd)|*.gsd", "");
    EXPECT_TRUE(S.MessageBoxes.isEmpty());
    EXPECT_EQ(GSD_NB_Out, 100);
    EXPECT_EQ(GSD_NB_In, 64);
    EXPECT_EQ(kt_test::ReadFile(Out("device.gsd")), kt_test::ExpectedGenerated("gsd_out100_in64.gsd"));
}

TEST_F(GsdTest, MissingOrNonNumericCountsGiveNoModules)
{
    ParGen("ParGen_plain.xml"); // PROFINET_NB_OUT "abc", no PROFINET_NB_IN
    S.SaveDialogAnswers << Out("zero.gsd");
    Create_GSD_File();
    EXPECT_EQ(kt_test::ReadFile(Out("zero.gsd")), kt_test::ExpectedGenerated("gsd_zero.gsd"));
}

TEST_F(GsdTest, WithoutParGenOnlyTheErrorIsShown)
{
    Create_GSD_File();
    ASSERT_EQ(S.MessageBoxes.size(), 1);
    EXPECT_EQ(S.MessageBoxes[0].Text,
              "Error! Please set the Set Communication Parameter before to create the GSD file");
    EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
    EXPECT_EQ(S.MessageBoxes[0].Buttons, platform::TMsgDlgButtons(platform::mbOK));
    EXPECT_TRUE(S.SaveDialogs.isEmpty());
}

TEST_F(GsdTest, OverwriteIsAskedAndOnlyYesReplaces)
{
    ParGen("ParGen_plain.xml");
    for (platform::TModalResult answer : {platform::mrNo, platform::mrYes}) {
        SCOPED_TRACE(answer);
        QByteArray now;
        Answer_Overwrite(answer, Out("dev.gsd"), Out("dev"), Create_GSD_File,
                         "File already exists! Do you want to overwrite the file?", platform::mbYes | platform::mbNo, now);
        EXPECT_EQ(now, answer == platform::mrYes ? kt_test::ExpectedGenerated("gsd_zero.gsd") : QByteArray("old"));
    }
}

TEST(GsdFileName, GsdIsAppendedUnlessItsFirstOccurrenceEndsTheName)
{
    const struct {
        const char* Chosen;
        const char* Used;
    } cases[] = {
        {"/p/a.gsd", "/p/a.gsd"},          {"/p/a.GSD", "/p/a.GSD"},
        {"/p/a", "/p/a.gsd"},              {"/p/a.gsd.txt", "/p/a.gsd.txt.gsd"},
        {"/p/a.gsd.gsd", "/p/a.gsd.gsd.gsd"}, {"/p/a.gs", "/p/a.gs.gsd"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GSD_File_Name(c.Chosen), c.Used) << c.Chosen;
}

// The module lines (definition, number, end) of a text.
QStringList ModuleLines(const QStringList& lines)
{
    QStringList r;
    for (const QString& l : lines)
        if (l.startsWith("Module=") || l.startsWith("Slot("))
            r << l;
    return r;
}

TEST(GsdLines, ModulesSplitEachDirectionIntoBlocksOf64Bytes)
{
    const struct {
        int Out, In;
        QStringList Modules;
        const char* Lengths;
    } cases[] = {
        {65, 0,
         {"Module=\"DI  (PORT1)    \" 0x42,0x3F,0x00,0x01", "Module=\"DI  (PORT2)    \" 0x42,0x00,0x00,0x02",
          "Slot(1) = \"Slot 1\" 1 1", "Slot(2) = \"Slot 2\" 2 2"},
         "Max_Input_Len=65|Max_Output_Len=0|Max_Data_Len=65"},
        {0, 129,
         {"Module=\"DO  (PORT1)    \" 0x82,0x3F,0x00,0x01", "Module=\"DO  (PORT2)    \" 0x82,0x3F,0x00,0x02",
          "Module=\"DO  (PORT3)    \" 0x82,0x00,0x00,0x03", "Slot(1) = \"Slot 1\" 1 1", "Slot(2) = \"Slot 2\" 2 2",
          "Slot(3) = \"Slot 3\" 3 3"},
         "Max_Input_Len=0|Max_Output_Len=129|Max_Data_Len=129"},
        {-5, 1, {"Module=\"DO  (PORT1)    \" 0x82,0x00,0x00,0x01", "Slot(1) = \"Slot 1\" 1 1"},
         "Max_Input_Len=-5|Max_Output_Len=1|Max_Data_Len=-4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Out << "/" << c.In);
        const QStringList lines = GSD_Lines(c.Out, c.In);
        EXPECT_EQ(ModuleLines(lines), c.Modules);
        for (const QString& l : QString(c.Lengths).split('|'))
            EXPECT_TRUE(lines.contains(l)) << l.toStdString();
        // The module number follows its definition, then EndModule.
        const qsizetype first = lines.indexOf(c.Modules[0]);
        EXPECT_EQ(lines[first + 1], "1");
        EXPECT_EQ(lines[first + 2], "EndModule");
    }
    // Module 10 carries its number in hexadecimal with two digits.
    EXPECT_TRUE(GSD_Lines(640, 0).contains("Module=\"DI  (PORT10)    \" 0x42,0x3F,0x00,0x0A"));
}

TEST_F(GsdTest, CountsBeyondWhatAFileCanDescribeOrABrokenParGenWriteNothing)
{
    const struct {
        const char* ParGen;
        bool Written;
    } cases[] = {
        {"<ParGen><PROFINET_NB_OUT>16320</PROFINET_NB_OUT></ParGen>", true}, // 255 modules
        {"<ParGen><PROFINET_NB_OUT>16320</PROFINET_NB_OUT><PROFINET_NB_IN>1</PROFINET_NB_IN></ParGen>", false},
        {"<ParGen><PROFINET_NB_OUT>2147483647</PROFINET_NB_OUT></ParGen>", false},
        {"<ParGen><PROFINET_NB_OUT>1</PROFINET_NB_OUT>", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ParGen);
        QFile::remove(Out("big.gsd"));
        kt_test::WriteText(File_ParGen, c.ParGen);
        S.MessageBoxes.clear();
        S.SaveDialogAnswers = {Out("big.gsd")};
        Create_GSD_File();
        EXPECT_EQ(QFile::exists(Out("big.gsd")), c.Written);
        EXPECT_EQ(S.MessageBoxes.size(), c.Written ? 0 : 1);
        if (!c.Written) {
            EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
        }
    }
    EXPECT_TRUE(GSD_Lines(16320, 0).contains("Slot(255) = \"Slot 255\" 255 255"));
}

} // namespace
