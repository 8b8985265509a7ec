#include <gtest/gtest.h>

#include "GeneratorFixture.h"

#include "TestSupport.h"
#include "core/UComon.h"
#include "core/UEds.h"
#include "core/ULanguage.h"
#include "platform/ScriptedServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace {

class EdsTest : public kt_test::GeneratorTest {};

TEST_F(EdsTest, DescribesThePdosAndSdoServerObjectsOfTheTables)
{
    Put("PDO_CANopen.xml", File_PDO_CANopen);
    Put("SDO_Server_CANopen.xml", File_SDO_Server_CANopen);
    S.Clock = QDateTime(QDate(2021, 3, 7), QTime(12, 30));
    kt_test::WriteText(Out("dev.eds"), "an older sheet");
    S.SaveDialogAnswers << Out("dev.eds");
    Build_EDS_File();

    Expect_Save_Dialog("Electronic Data Sheet (*.eds)|*.eds", "*.eds");
    EXPECT_FALSE(S.SaveDialogs[0].OverwritePrompt);
    EXPECT_TRUE(S.MessageBoxes.isEmpty()); // an existing file is replaced without a question
    EXPECT_EQ(kt_test::ReadFile(Out("dev.eds")), kt_test::ExpectedGenerated("eds_full_half_past_noon.eds"));
}

TEST_F(EdsTest, WithoutTablesOnlyTheFixedObjectsAreWritten)
{
    S.Clock = QDateTime(QDate(2020, 12, 31), QTime(12, 0));
    S.SaveDialogAnswers << Out("empty.eds");
    Build_EDS_File();
    EXPECT_EQ(kt_test::ReadFile(Out("empty.eds")), kt_test::ExpectedGenerated("eds_empty_noon.eds"));
}

TEST_F(EdsTest, CancelWritesNothing)
{
    Build_EDS_File();
    EXPECT_EQ(S.SaveDialogs.size(), 1);
    EXPECT_TRUE(QDir(Dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(EdsTimeText, TwelveHourFormAndMonthFirstDate)
{
    const struct {
        int H, M;
        const char* Text;
    } cases[] = {{0, 0, "12:00AM"},  {0, 30, "12:30AM"},  {11, 59, "11:59AM"}, {12, 0, "12:00PM"},
                 {12, 30, "12:30PM"}, {13, 0, "01:00PM"}, {23, 59, "11:59PM"}, {9, 7, "09:07AM"}};
    for (const auto& c : cases)
        EXPECT_EQ(EDS_Time_Text(QDateTime(QDate(2021, 1, 1), QTime(c.H, c.M))), c.Text) << c.H << ":" << c.M;
    EXPECT_EQ(EDS_Date_Text(QDateTime(QDate(2021, 3, 7), QTime(1, 0))), "03-07-2021");
    EXPECT_EQ(EDS_Date_Text(QDateTime(QDate(2021, 11, 25), QTime(1, 0))), "11-25-2021");
}

TEST(EdsSort, SubEntriesAscendWithEqualOnesInTheirOrder)
{
    SDO_List.clear();
    SDO_Index e;
    e.Index = 0x2000;
    for (auto [sub, quantity] : {std::pair{3, 1}, {1, 2}, {3, 4}, {2, 1}, {0, 2}})
        e.Sub_Indexs.push_back({uint8_t(sub), uint8_t(quantity), true, {}});
    SDO_List.push_back(e);
    Sort_SDO_Sub_Indexs();
    QStringList order;
    for (const SDO_Sub_Type& s : SDO_List[0].Sub_Indexs)
        order << QStringLiteral("%1/%2").arg(s.Sub).arg(s.Quantity);
    EXPECT_EQ(order, QStringList({"0/2", "1/2", "2/1", "3/1", "3/4"}));
    SDO_List.clear();
}

TEST_F(EdsTest, NonNumericPdoValuesTakeTheirDefaultsAndRepeatedSubIndexesRepeat)
{
    kt_test::WriteText(File_PDO_CANopen,
              "<PDO_CANopen><Receive_PDO><row COB-ID=\"x\" Dimension=\"\"/></Receive_PDO>"
              "<Transmit_PDO/></PDO_CANopen>");
    kt_test::WriteText(File_SDO_Server_CANopen,
              "<SDO_Server_CANopen><SDO_Read><row Index=\"0x2000\" SubIndex=\"1\" NByte=\"1\"/></SDO_Read>"
              "<SDO_Write><row Index=\"0x2000\" SubIndex=\"1\" NByte=\"3\"/></SDO_Write></SDO_Server_CANopen>");
    ASSERT_TRUE(Write_EDS_File(Out("d.eds")));
    EXPECT_EQ(Num_RX_PDO, 1);
    EXPECT_EQ(PDO_List[0].COB_ID, 0);
    EXPECT_EQ(PDO_List[0].Dimension, 8);

    const QStringList lines = QString::fromLatin1(kt_test::ReadFile(Out("d.eds"))).split("\r\n");
    EXPECT_TRUE(lines.contains("[7000sub8]"));
    // Both rows of index 0x2000 sub-index 1 get their section, in table order; a size other than
    // 1 or 2 is a 32-bit value.
    const qsizetype first = lines.indexOf("[2000sub1]");
    const qsizetype second = lines.indexOf("[2000sub1]", first + 1);
    ASSERT_GT(first, 0);
    ASSERT_GT(second, first);
    EXPECT_EQ(lines[first - 12], "SubNumber=3"); // two sub-entries and the generated sub-index 0
    EXPECT_EQ(lines[first + 3], "DataType=0x0005");
    EXPECT_EQ(lines[first + 7], "AccessType=ro");
    EXPECT_EQ(lines[second + 3], "DataType=0x0007");
    EXPECT_EQ(lines[second + 7], "AccessType=rw");
}

TEST_F(EdsTest, ATableThatCannotBeUsedStopsBeforeAnythingIsWritten)
{
    const QByteArray goodPdo = "<PDO_CANopen><Receive_PDO/><Transmit_PDO/></PDO_CANopen>";
    const QByteArray goodSdo = "<SDO_Server_CANopen><SDO_Read/><SDO_Write/></SDO_Server_CANopen>";
    QByteArray manyRows = "<PDO_CANopen><Receive_PDO>";
    for (int i = 0; i < 31; ++i)
        manyRows += "<row COB-ID=\"1\" Dimension=\"1\"/>";
    manyRows += "</Receive_PDO><Transmit_PDO/></PDO_CANopen>";
    const struct {
        const char* Name;
        QByteArray Pdo, Sdo;
    } cases[] = {
        {"PDO not well-formed", "<PDO_CANopen><Receive_PDO>", goodSdo},
        {"PDO section missing", "<PDO_CANopen><Receive_PDO/></PDO_CANopen>", goodSdo},
        {"PDO attribute missing",
         "<PDO_CANopen><Receive_PDO><row COB-ID=\"1\"/></Receive_PDO><Transmit_PDO/></PDO_CANopen>", goodSdo},
        {"more than 30 PDOs", manyRows, goodSdo},
        {"dimension beyond a byte",
         "<PDO_CANopen><Receive_PDO/><Transmit_PDO><row COB-ID=\"1\" Dimension=\"256\"/></Transmit_PDO></PDO_CANopen>",
         goodSdo},
        {"SDO index no number", goodPdo,
         "<SDO_Server_CANopen><SDO_Read><row Index=\"zz\" SubIndex=\"1\" NByte=\"1\"/></SDO_Read><SDO_Write/>"
         "</SDO_Server_CANopen>"},
        {"SDO section missing", goodPdo, "<SDO_Server_CANopen><SDO_Read/></SDO_Server_CANopen>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        kt_test::WriteText(File_PDO_CANopen, c.Pdo);
        kt_test::WriteText(File_SDO_Server_CANopen, c.Sdo);
        kt_test::WriteText(Out("keep.eds"), "kept");
        S.MessageBoxes.clear();
        S.SaveDialogAnswers = {Out("keep.eds")};
        Build_EDS_File();
        EXPECT_EQ(kt_test::ReadFile(Out("keep.eds")), "kept");
        ASSERT_EQ(S.MessageBoxes.size(), 1);
        EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
    }
}

TEST_F(EdsTest, AnUnwritablePathIsReported)
{
    EXPECT_FALSE(Write_EDS_File(Out("no_such_folder/x.eds")));
    ASSERT_EQ(S.MessageBoxes.size(), 1);
    EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
}

} // namespace
