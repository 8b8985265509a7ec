#include <gtest/gtest.h>

#include "GeneratorFixture.h"

#include "TestSupport.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "core/USNMP_MIB.h"
#include "platform/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class MibTest : public kt_test::GeneratorTest {
protected:
    void TearDown() override
    {
        GeneratorTest::TearDown();
        MIB_Lines_A.clear();
        MIB_Lines_B.clear();
    }
};

TEST_F(MibTest, EnabledVariablesBecomeObjectsAndReadOnesTraps)
{
    // Read rows: temp1 Int; a disabled row; "y"/"int" without description; "Int " with a
    // trailing blank; a row without Enable. Write rows: setp1 String; one without Type and
    // Description.
    ASSERT_TRUE(QFile::copy(kt_test::FixturePath("generators/SNMP_Trap.xml"), File_SNMP_Trap));
    S.SaveDialogAnswers << Out("agent.mib");
    Build_MIB_File();

    Expect_Save_Dialog("Management Information Base (*.mib)|*.mib", "*.mib");
    EXPECT_TRUE(S.MessageBoxes.isEmpty());
    EXPECT_EQ(MIB_Lines_A, QStringList({"temp1", "", "hum3"}));
    EXPECT_EQ(MIB_Lines_B, QStringList({"setp1", ""}));
    EXPECT_EQ(kt_test::ReadFile(Out("agent.mib")), kt_test::ExpectedGenerated("mib_full.mib"));
}

TEST_F(MibTest, WithoutTableOnlyTheFixedPartsAreWritten)
{
    MIB_Lines_A << "left over";
    S.SaveDialogAnswers << Out("agent.mib");
    Build_MIB_File();
    EXPECT_TRUE(MIB_Lines_A.isEmpty());
    EXPECT_EQ(kt_test::ReadFile(Out("agent.mib")), kt_test::ExpectedGenerated("mib_empty.mib"));
}

TEST_F(MibTest, ASecondRunAsksBeforeReplacingAndOnlyYesReplaces)
{
    S.SaveDialogAnswers << Out("agent.mib");
    Build_MIB_File();
    EXPECT_TRUE(S.MessageBoxes.isEmpty());

    for (platform::TModalResult answer : {platform::mrNo, platform::mrYes}) {
        SCOPED_TRACE(answer);
        QByteArray now;
        Answer_Overwrite(answer, Out("agent.mib"), Out("agent.mib"), Build_MIB_File,
                         "File already exists. Do you want to overwrite?", platform::mbYes | platform::mbNo, now);
        EXPECT_EQ(now, answer == platform::mrYes ? kt_test::ExpectedGenerated("mib_empty.mib") : QByteArray("old"));
    }
}

TEST_F(MibTest, CancelReadsAndWritesNothing)
{
    MIB_Lines_A << "kept";
    Build_MIB_File();
    EXPECT_EQ(MIB_Lines_A, QStringList({"kept"}));
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(MibTest, ATableThatCannotBeUsedStopsBeforeAnythingIsWritten)
{
    QByteArray tooMany = "<SNMP_Trap><SNMP_Trap_Read>";
    for (int i = 0; i <= MIB_Max_Variables; ++i)
        tooMany += "<row Enable=\"Y\" Type=\"Int\" Description=\"v\"/>";
    tooMany += "</SNMP_Trap_Read><SNMP_Trap_Write/></SNMP_Trap>";
    const struct {
        const char* Name;
        QByteArray Table;
    } cases[] = {
        {"not well-formed", "<SNMP_Trap><SNMP_Trap_Read>"},
        {"write section missing", "<SNMP_Trap><SNMP_Trap_Read/></SNMP_Trap>"},
        {"read section missing", "<SNMP_Trap><SNMP_Trap_Write/></SNMP_Trap>"},
        {"more enabled rows than a section holds", tooMany},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        kt_test::WriteText(File_SNMP_Trap, c.Table);
        QFile::remove(Out("agent.mib"));
        S.MessageBoxes.clear();
        S.SaveDialogAnswers = {Out("agent.mib")};
        Build_MIB_File();
        EXPECT_FALSE(QFile::exists(Out("agent.mib")));
        ASSERT_EQ(S.MessageBoxes.size(), 1);
        EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
    }
}

TEST_F(MibTest, TextIsWrittenInTheSystemCodePage)
{
    kt_test::WriteText(File_SNMP_Trap, "<SNMP_Trap><SNMP_Trap_Read/><SNMP_Trap_Write>"
                              "<row Enable=\"Y\" Type=\"Int\" Description=\"caf\xC3\xA9\"/>"
                              "</SNMP_Trap_Write></SNMP_Trap>");
    S.SaveDialogAnswers << Out("agent.mib");
    Build_MIB_File();
    EXPECT_TRUE(kt_test::ReadFile(Out("agent.mib"))
                    .contains("caf\xE9 OBJECT-TYPE SYNTAX INTEGER MAX-ACCESS read-write STATUS current DESCRIPTION "
                              "\"caf\xE9\" ::= { bufferoutval 1 }\r\ntraps"));
}

} // namespace
