// Settings file: reading with defaults per value, and writing it whole.
#include "TestSupport.h"
#include "core/UComon.h"
#include "core/USettings.h"
#include "core/XMLDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Options {
    QString conf, ip, language;
    bool internet, update, jump, autosize;
};

Options Current()
{
    return {Active_Conf_Name, Last_IP_Address, Active_Language, Enable_Internet, Enable_Update,
            Enable_Jump_Field_Tables, Double_Click_Auto_Size};
}

void ExpectOptions(const Options& e, const std::string& what)
{
    const Options a = Current();
    EXPECT_EQ(a.conf, e.conf) << what;
    EXPECT_EQ(a.ip, e.ip) << what;
    EXPECT_EQ(a.language, e.language) << what;
    EXPECT_EQ(a.internet, e.internet) << what;
    EXPECT_EQ(a.update, e.update) << what;
    EXPECT_EQ(a.jump, e.jump) << what;
    EXPECT_EQ(a.autosize, e.autosize) << what;
}

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }
    void TearDown() override { Reset_Program_Options(); }
    QString Path() const { return FDir.filePath("Velmora.xml"); }
    void Write(const QByteArray& text)
    {
        QFile f(Path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir FDir;
    TXMLDocument FDoc;
};

} // namespace

TEST_F(SettingsFile, HandMadeFileIsRead)
{
    Active_Conf_Path = "something";
    ASSERT_TRUE(Read_Settings(FDoc, kt_test::FixturePath("settings/Velmora.xml")));
    ExpectOptions({"Plant_A", "10.0.0.7", "Italiano", true, false, true, true}, "fixture");
}

TEST_F(SettingsFile, MissingOrBrokenFileGivesDefaults)
{
    const Options defaults{"", "192.168.2.205", "English", false, false, false, false};
    Active_Conf_Name = "Old";
    Active_Conf_Path = "/x/PROJECTS/Old";
    Enable_Internet = true;
    EXPECT_FALSE(Read_Settings(FDoc, Path()));
    ExpectOptions(defaults, "missing");
    EXPECT_TRUE(Active_Conf_Path.isEmpty());

    Write("<Conf_Settings><lastproj>");
    Enable_Update = true;
    EXPECT_FALSE(Read_Settings(FDoc, Path()));
    ExpectOptions(defaults, "not well-formed");
}

TEST_F(SettingsFile, OnlyAFileThereButUnreadableGivesAReason)
{
    QString why;
    EXPECT_FALSE(Read_Settings(FDoc, Path(), &why));
    EXPECT_TRUE(why.isEmpty()) << "missing";
    Write("");
    EXPECT_FALSE(Read_Settings(FDoc, Path(), &why));
    EXPECT_FALSE(why.isEmpty()) << "empty";
    why.clear();
    Write("<Conf_Settings/>");
    EXPECT_TRUE(Read_Settings(FDoc, Path(), &why));
    EXPECT_TRUE(why.isEmpty());
}

TEST_F(SettingsFile, NamesThatAreNoPlainNamesCountAsMissing)
{
    const struct {
        QString conf, language;
        bool plain;
    } cases[] = {
        {"Plant_A", "Italiano", true},
        {"Line 3", "Deutsch (CH)", true},
        {"..", "..", false},
        {".", ".", false},
        {"../outside", "../../outside/evil", false},
        {"a\\b", "a\\b", false},
        {"/etc", "/etc/passwd", false},
        {"a&#x85;b", "a&#x7f;", false},
        {"a&#x9;b", "a&#10;b", false},
        {"&#160;", "&#x2003;", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.conf.toStdString());
        Write(QStringLiteral("<Conf_Settings><lastproj><projectname>%1</projectname></lastproj>"
                             "<lastlang><language>%2</language></lastlang></Conf_Settings>")
                  .arg(c.conf, c.language)
                  .toUtf8());
        ASSERT_TRUE(Read_Settings(FDoc, Path()));
        if (c.plain) {
            EXPECT_EQ(Active_Conf_Name, c.conf);
            EXPECT_EQ(Active_Language, c.language);
        } else {
            EXPECT_TRUE(Active_Conf_Name.isEmpty()) << Active_Conf_Name.toStdString();
            EXPECT_EQ(Active_Language, "English");
        }
    }
}

TEST_F(SettingsFile, EachValueFallsBackOnItsOwn)
{
    const struct {
        const char* name;
        QByteArray xml;
        Options expected;
    } cases[] = {
        {"declaration and comment before the root",
         "<?xml version=\"1.0\"?><!-- kept --><Conf_Settings><lastproj><projectname>P</projectname></lastproj>"
         "<lastinternet><enable_internet>1</enable_internet><enable_update>1</enable_update></lastinternet>"
         "</Conf_Settings>",
         {"P", "192.168.2.205", "English", true, true, false, false}},
        {"root of another name",
         "<Other><lastlang><language>Deutsch</language></lastlang></Other>",
         {"", "192.168.2.205", "Deutsch", false, false, false, false}},
        {"lastinternet missing",
         "<Conf_Settings><lastipadd><ipaddress>1.2.3.4</ipaddress></lastipadd></Conf_Settings>",
         {"", "1.2.3.4", "English", false, false, false, false}},
        {"enable_update missing",
         "<Conf_Settings><lastinternet><enable_internet>1</enable_internet>"
         "<Double_Click_Auto_Size>1</Double_Click_Auto_Size></lastinternet></Conf_Settings>",
         {"", "192.168.2.205", "English", true, false, false, true}},
        {"flags true only for exactly 1",
         "<Conf_Settings><lastinternet><enable_internet>true</enable_internet><enable_update> 1</enable_update>"
         "<enable_jump_field_tables>01</enable_jump_field_tables><Double_Click_Auto_Size/></lastinternet>"
         "</Conf_Settings>",
         {"", "192.168.2.205", "English", false, false, false, false}},
        {"names match with their case",
         "<Conf_Settings><LastLang><language>Deutsch</language></LastLang><lastinternet>"
         "<double_click_auto_size>1</double_click_auto_size></lastinternet></Conf_Settings>",
         {"", "192.168.2.205", "English", false, false, false, false}},
        {"empty element is an empty text; element with children gives the default",
         "<Conf_Settings><lastproj><projectname/></lastproj><lastipadd><ipaddress><a/></ipaddress></lastipadd>"
         "</Conf_Settings>",
         {"", "192.168.2.205", "English", false, false, false, false}},
    };
    for (const auto& c : cases) {
        Write(c.xml);
        Active_Conf_Name = "stale";
        Last_IP_Address = "stale";
        EXPECT_TRUE(Read_Settings(FDoc, Path())) << c.name;
        ExpectOptions(c.expected, c.name);
    }
}

TEST_F(SettingsFile, WrittenFileHasTheDesignedShapeAndReadsBack)
{
    Active_Conf_Name = "Line 3";
    Last_IP_Address = "192.168.2.17";
    Active_Language = "Italiano";
    Enable_Internet = true;
    Enable_Update = false;
    Enable_Jump_Field_Tables = false;
    Double_Click_Auto_Size = true;
    ASSERT_TRUE(Write_Settings(FDoc, Path()));
    const QByteArray first = kt_test::ReadFile(Path());

    // Shape: one root, the four groups in order, each leaf with its text; no declaration.
    EXPECT_FALSE(first.contains("<?xml"));
    TXMLDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(Path()));
    ASSERT_EQ(doc.ChildNodes().size(), 1u);
    const TXMLNode root = doc.DocumentElement();
    EXPECT_EQ(root.NodeName(), "Conf_Settings");
    QStringList shape;
    for (const TXMLNode& group : root.ChildElements())
        for (const TXMLNode& leaf : group.ChildElements())
            shape << group.NodeName() + "/" + leaf.NodeName() + "=" + leaf.Text();
    EXPECT_EQ(shape, QStringList({"lastproj/projectname=Line 3", "lastipadd/ipaddress=192.168.2.17",
                                  "lastlang/language=Italiano", "lastinternet/enable_internet=1",
                                  "lastinternet/enable_update=0", "lastinternet/enable_jump_field_tables=0",
                                  "lastinternet/Double_Click_Auto_Size=1"}));

    Reset_Program_Options();
    ASSERT_TRUE(Read_Settings(FDoc, Path()));
    ExpectOptions({"Line 3", "192.168.2.17", "Italiano", true, false, false, true}, "read back");

    // Writing again without changes gives the same bytes.
    ASSERT_TRUE(Write_Settings(FDoc, Path()));
    EXPECT_EQ(kt_test::ReadFile(Path()), first);
}

TEST_F(SettingsFile, FailedWriteKeepsTheOldFile)
{
    Write("<Conf_Settings/>");
    QString error;
    EXPECT_FALSE(Write_Settings(FDoc, FDir.filePath("missing/Velmora.xml"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(kt_test::ReadFile(Path()), QByteArray("<Conf_Settings/>"));
}
