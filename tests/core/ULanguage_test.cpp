// Language table: the built-in texts, the language file lines and the loading order.
#include "core/UComon.h"
#include "core/ULanguage.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A program folder of its own with an empty LANGUAGE folder.
class LanguageFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        Language_Dir = FDir.path() + "/LANGUAGE";
        QDir().mkpath(Language_Dir);
        Active_Language = "English";
    }
    void TearDown() override
    {
        Active_Language = "English";
        Load_Default_Language();
    }
    QString Lng(const QString& name) const { return Language_Dir + "/" + name + ".lng"; }
    QTemporaryDir FDir;
};

} // namespace

TEST(LanguageTable, BuiltInTextsHaveTheirIndexesAndFillers)
{
    Load_Default_Language();
    ASSERT_EQ(Lang_Table.Count(), 2800);
    EXPECT_EQ(Lang_Table_Size, 2800);
    const struct { int index; const char* text; } cases[] = {
        {0, "Begin"},
        {8, "Step 8"},
        {9, "None Configuration Opened "},
        {18, "Error! Project not Valid"},
        {60, "Create the GSDML File for PROFINET"},
        {61, " "},
        {105, "Error! Name project is not valid"},
        {207, "Cancel open of Configuration"},
        {304, "Selected Language : "},
        {318, "?"},
        {409, "Insert Second byte of IP Address"},
        {424, " "},  // a hidden family panel's caption
        {795, "Insert Fourth byte of IP Address"},
        {827, "Error OPC UA Server!! Port must be between 0 and 65535, and different from 10000"},
        {1037, "Error!!! Check the Ip Address"},
        {1102, "Error!!! Copy a valid row before Paste it"},
        {1105, "File already exists. Do you want to overwrite?"},
        {1277, "!! [S7comm Read] Position must be between 0 and "},
        {1457, "!! [KNX in Write] Bit Mode must be \"No\" or between 0 and 7"},
        {1742, "Insert the position of array where put the byte 8 of CAN frame"},
        {1759, " "},
        {1989, "!! [Transmit PDO] Address Byte8 must be between 0 and "},
        {2131, "Add Byte3"},
        {2201, "Set SNMP Trap Access"},
        {2279, "!! [SNMP Write] Descrtiption is not correct (allowed characters are \"a\"..\"z\", \"A\"..\"Z\" and "
               "\"0\"..\"9\"). First character must be a letter and must be lowercase"},
        {2409, " "},
        {2531, "Mnemonic"},
        {2727, "Error row %d!! Position Must be Between 0 and %d"},
        {2730, "Select the access of Var, Read Only or Read/Write for OPC UA Server Variable"},
        {2731, " "},
        {2799, " "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lang_Table[c.index], QString::fromUtf8(c.text)) << "index " << c.index;
    // Every index holds something: a text or the one-blank filler, never an empty string.
    for (int i = 0; i < 2800; ++i)
        EXPECT_FALSE(Lang_Table[i].isEmpty()) << "index " << i;
    // Reads outside the table give an empty text instead of undefined behaviour.
    EXPECT_EQ(Lang_Table[-1], QString());
    EXPECT_EQ(Lang_Table[2800], QString());
}

TEST(LanguageTable, LanguageFileLines)
{
    const QString pilcrow(QChar(0x00B6));
    const struct {
        QString line;
        int index;      // entry that changes, -1 when the line is ignored
        QString text;
    } cases[] = {
        {"STR0018 =Some text", 18, "Some text"},
        {"STR18\t=Some text", 18, "Some text"},
        {"STR18=Some text", 1, "Some text"},  // the 8 is the separator
        {"STR 18 = Some text /#/ a note", 18, "Some text"},
        {"STR18 =" + pilcrow + "   Some text  " + pilcrow, 18, "   Some text  "},
        {"STR18 =" + pilcrow + "x" + pilcrow + "tail", 18, "x"},
        {"  STR5 =a=b  ", 5, "a=b"},
        {"STR$12 =hex", 18, "hex"},
        {"STRx12 =hex", 18, "hex"},
        {"STR2799 =last", 2799, "last"},
        {"STR18 =", -1, ""},
        {"STR18 = /#/ a note", -1, ""},
        {"STR2800 =x", -1, ""},
        {"STR-1 =x", -1, ""},
        {"STRx =y", -1, ""},
        {"str18 =x", -1, ""},
        {"# STR18 =x", -1, ""},
        {"STR18 x", -1, ""},
        {"STR=x", -1, ""},
    };
    for (const auto& c : cases) {
        Load_Default_Language();
        const QStringList before = [] {
            QStringList all;
            for (int i = 0; i < 2800; ++i)
                all << Lang_Table[i];
            return all;
        }();
        const bool applied = Apply_Language_Line(c.line);
        EXPECT_EQ(applied, c.index >= 0) << c.line.toStdString();
        for (int i = 0; i < 2800; ++i) {
            const QString expected = i == c.index ? c.text : before[i];
            if (Lang_Table[i] != expected) {
                ADD_FAILURE() << c.line.toStdString() << ": entry " << i << " is \""
                              << Lang_Table[i].toStdString() << "\"";
                break;
            }
        }
    }
}

TEST_F(LanguageFolder, MissingFileFallsBackToEnglish)
{
    Active_Language = "Klingon";
    Load_Language();
    EXPECT_EQ(Active_Language, "English");
    EXPECT_EQ(Lang_Table[18], "Error! Project not Valid");

    // An English.lng, when present, is applied in the fallback.
    WriteBytes(Lng("English"), "STR18 =Project missing\r\n");
    Active_Language = "Klingon";
    Load_Language();
    EXPECT_EQ(Active_Language, "English");
    EXPECT_EQ(Lang_Table[18], "Project missing");
}

TEST_F(LanguageFolder, ReloadKeepsNothingOfTheEarlierLanguage)
{
    WriteBytes(Lng("Full"), "STR0 =Anfang\r\nSTR18 =Projekt ungueltig\r\n");
    WriteBytes(Lng("Few"), "STR0 =Inizio\n");
    Active_Language = "Full";
    Load_Language();
    EXPECT_EQ(Lang_Table[0], "Anfang");
    EXPECT_EQ(Lang_Table[18], "Projekt ungueltig");
    Active_Language = "Few";
    Load_Language();
    EXPECT_EQ(Active_Language, "Few");
    EXPECT_EQ(Lang_Table[0], "Inizio");
    EXPECT_EQ(Lang_Table[18], "Error! Project not Valid");
    EXPECT_EQ(Lang_Table[1], "Step 1");
}

TEST_F(LanguageFolder, EncodingsAndLineEnds)
{
    const struct {
        const char* name;
        QByteArray bytes;
        QString text0;
        QString text1;
    } cases[] = {
        // no mark: the system code page (Windows-1252), CR line ends
        {"Ansi", QByteArray("STR0 =Caf\xE9\rSTR1 =\x80uro\r"), QString::fromUtf8("Café"), QString::fromUtf8("€uro")},
        {"Utf8", QByteArray("\xEF\xBB\xBFSTR0 =Caf\xC3\xA9\nSTR1 =\xE2\x82\xAC\n"), QString::fromUtf8("Café"),
         QString::fromUtf8("€")},
        {"Utf16le", QByteArray("\xFF\xFES\0T\0R\0""0\0 \0=\0\xE9\0\r\0\n\0", 20), QString::fromUtf8("é"),
         "Step 1"},
        {"Utf16be", QByteArray("\xFE\xFF\0S\0T\0R\0""1\0 \0=\0\xE9", 16), "Begin", QString::fromUtf8("é")},
    };
    for (const auto& c : cases) {
        WriteBytes(Lng(c.name), c.bytes);
        Active_Language = c.name;
        Load_Language();
        EXPECT_EQ(Lang_Table[0], c.text0) << c.name;
        EXPECT_EQ(Lang_Table[1], c.text1) << c.name;
    }
}
