#include <gtest/gtest.h>

#include "GeneratorFixture.h"

#include "TestSupport.h"
#include "core/UBACnet_EDE_File.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "platform/ScriptedServices.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class EdeTest : public kt_test::GeneratorTest {
protected:
    void SetUp() override
    {
        GeneratorTest::SetUp();
        S.Clock = QDateTime(QDate(2021, 2, 3), QTime(9, 5, 7));
    }
};

TEST_F(EdeTest, ObjectsOfBothTablesWithShortNamesAndNoDeviceInstance)
{
    Put("BACnet_Slave.xml", File_BACnet_Slave);
    S.SaveDialogAnswers << Out("objects");
    BACnet_EDE_File();

    Expect_Save_Dialog("CSV (MS-DOS) (*.csv)|*.csv", "");
    EXPECT_TRUE(S.MessageBoxes.isEmpty());
    EXPECT_EQ(kt_test::ReadFile(Out("objects.csv")), kt_test::ExpectedGenerated("ede_short.csv"));
    EXPECT_TRUE(EDE_Objects.empty());
}

TEST_F(EdeTest, ParametersGiveTheDeviceInstanceAndLongNamesForThatRunOnly)
{
    Put("BACnet_Slave.xml", File_BACnet_Slave);
    Put("ParGen_bacnet.xml", File_ParGen); // BACnet_Type 1, serial instance 4711, limit "1"
    ASSERT_TRUE(Build_EDE_File(Out("long.csv")));
    EXPECT_EQ(kt_test::ReadFile(Out("long.csv")), kt_test::ExpectedGenerated("ede_long.csv"));

    // The next generation starts afresh: counters from 0, short names, no instance.
    QFile::remove(File_ParGen);
    ASSERT_TRUE(Build_EDE_File(Out("short.csv")));
    EXPECT_EQ(kt_test::ReadFile(Out("short.csv")), kt_test::ExpectedGenerated("ede_short.csv"));
}

TEST_F(EdeTest, DeviceInstanceAndNameLengthFromTheParameters)
{
    const struct {
        const char* ParGen;
        const char* Instance;
        bool Long;
    } cases[] = {
        {"<ParGen><BACnet_Type>1</BACnet_Type><BACnet_Ser_DEV_IDE> 7 </BACnet_Ser_DEV_IDE>"
         "<BACnet_DEV_IDE>9</BACnet_DEV_IDE></ParGen>",
         " 7 ", false},
        {"<ParGen><BACnet_Type>2</BACnet_Type><BACnet_Ser_DEV_IDE>7</BACnet_Ser_DEV_IDE>"
         "<BACnet_DEV_IDE>9</BACnet_DEV_IDE><BACnet_Desc_Chars_Limit>1</BACnet_Desc_Chars_Limit></ParGen>",
         "9", true},
        {"<ParGen><BACnet_Type>one</BACnet_Type><BACnet_DEV_IDE>9</BACnet_DEV_IDE></ParGen>", "9", false},
        {"<ParGen><BACnet_Type>0x1</BACnet_Type><BACnet_DEV_IDE>9</BACnet_DEV_IDE></ParGen>", "", false},
        {"<ParGen><BACnet_Desc_Chars_Limit>1 </BACnet_Desc_Chars_Limit></ParGen>", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ParGen);
        kt_test::WriteText(File_ParGen, c.ParGen);
        Load_BACnet_Parameters();
        EXPECT_EQ(BACnet_Dev_Instance, c.Instance);
        EXPECT_EQ(EDE_Long_Names, c.Long);
    }
}

TEST(EdeObjectType, TypeTextsGiveTheStandardNumbers)
{
    const struct {
        const char* Text;
        int Code;
    } cases[] = {
        {"ANALOG INPUT", 0},       {"ANALOG OUT", 1},          {"ANALOG VALUE", 2},
        {"BINARY INPUT", 3},       {"BINARY OUT", 4},          {"BINARY VALUE", 5},
        {"MULTI STATE INPUT", 13}, {"MULTI STATE OUTPUT", 14}, {"MULTI STATE VALUE", 19},
        {"LIFE SAFETY POINT", 21}, {"LIFE SAFETY ZONE", 22},   {"ACCUMULATOR", 23},
        {"ACCESS DOOR", 30},       {"CHARACTERSTRING VALUE", 40}, {"DATETIME VALUE", 44},
        {"INTEGER VALUE", 45},     {"LARGE ANALOG VALUE", 46}, {"POSITIVE INTEGER VALUE", 48},
        {"OCTET STRING", 0},       {"Analog Out", 0},          {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BACnet_Object_Type_Code(c.Text), c.Code) << c.Text;
}

TEST_F(EdeTest, EachTypeCountsItsOwnInstances)
{
    Reset_Instance_Counters();
    EXPECT_EQ(Next_Object_Instance(19), 0);
    EXPECT_EQ(Next_Object_Instance(19), 1);
    EXPECT_EQ(Next_Object_Instance(0), 0);
    EXPECT_EQ(Next_Object_Instance(19), 2);
    Reset_Instance_Counters();
    EXPECT_EQ(Next_Object_Instance(19), 0);
}

TEST(EdeFileName, CsvIsAppendedUnlessTheNameEndsInIt)
{
    const struct {
        const char* Chosen;
        const char* Used;
    } cases[] = {{"/p/a", "/p/a.csv"},         {"/p/a.txt", "/p/a.txt.csv"}, {"/p/a.csv", "/p/a.csv"},
                 {"/p/a.CSV", "/p/a.CSV"},     {"/p/a.Csv", "/p/a.Csv"},     {"/p/a.csv.bak", "/p/a.csv.bak.csv"},
                 {"/p/acsv", "/p/acsv.csv"}};
    for (const auto& c : cases)
        EXPECT_EQ(EDE_File_Name(c.Chosen), c.Used) << c.Chosen;
}

TEST_F(EdeTest, OverwriteIsAskedWithCancelAndOnlyYesReplaces)
{
    for (platform::TModalResult answer : {platform::mrNo, platform::mrCancel, platform::mrYes}) {
        SCOPED_TRACE(answer);
        QByteArray now;
        Answer_Overwrite(answer, Out("list.csv"), Out("list.csv"), BACnet_EDE_File,
                         "File already exists. Do you want to overwrite?",
                         platform::mbYes | platform::mbNo | platform::mbCancel, now);
        if (answer == platform::mrYes) {
            // No table: the header lines only, and nothing of the old file.
            EXPECT_TRUE(now.startsWith("PROJECT_NAME; Norvane--Plant1;;;;;;\r\n"));
            EXPECT_EQ(now.count("\r\n"), 7);
            EXPECT_FALSE(now.contains("old"));
        } else {
            EXPECT_EQ(now, "old");
        }
    }
}

TEST_F(EdeTest, AnInputThatCannotBeUsedLeavesTheOldFile)
{
    const struct {
        const char* Name;
        const char* ParGen;
        const char* Table;
    } cases[] = {
        {"parameters not well-formed", "<ParGen>", "<BACnet_to_Modbus><BACnet_in_Read/><BACnet_in_Write/></BACnet_to_Modbus>"},
        {"write section missing", nullptr, "<BACnet_to_Modbus><BACnet_in_Read/></BACnet_to_Modbus>"},
        {"row without Mnemonic", nullptr,
         "<BACnet_to_Modbus><BACnet_in_Read><row Data_Type=\"Analog Input\" Eng_Unit=\"62\"/></BACnet_in_Read>"
         "<BACnet_in_Write/></BACnet_to_Modbus>"},
        {"table not well-formed", nullptr, "<BACnet_to_Modbus"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::remove(File_ParGen);
        if (c.ParGen)
            kt_test::WriteText(File_ParGen, c.ParGen);
        kt_test::WriteText(File_BACnet_Slave, c.Table);
        kt_test::WriteText(Out("list.csv"), "old");
        S.MessageBoxes.clear();
        EXPECT_FALSE(Build_EDE_File(Out("list.csv")));
        EXPECT_EQ(kt_test::ReadFile(Out("list.csv")), "old");
        ASSERT_EQ(S.MessageBoxes.size(), 1);
        EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
        EXPECT_TRUE(EDE_Objects.empty());
    }
}

TEST(EdeTimestamp, TimeThenDayMonthYear)
{
    EXPECT_EQ(EDE_Timestamp(QDateTime(QDate(2021, 2, 3), QTime(9, 5, 7))), "09:05:07 03/02/2021");
    EXPECT_EQ(EDE_Timestamp(QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58))), "23:59:58 31/12/1999");
}

} // namespace
