#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/UEthernetUpdate.h"
#include "core/XMLDocument.h"
#include "platform/ScriptedServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/types.h>

namespace {

const QString kMaster = QStringLiteral("/opt/kt40917/MASTER");
const QString kConf = QStringLiteral("/opt/kt40917/PROJECTS/Plant 1");

// The tree of a document as one line per element: its path, and its text when it has no child
// elements. Two documents that give the same lines have the same elements, order and texts.
void Flatten(const TXMLNode& node, const QString& path, QStringList& out)
{
    const QString here = path + '/' + node.NodeName();
    const auto children = node.ChildElements();
    if (children.empty())
        out << here + '=' + node.Text();
    else
        out << here;
    for (const TXMLNode& c : children)
        Flatten(c, here, out);
}

QStringList Parsed(TXMLDocument& doc)
{
    QStringList lines;
    EXPECT_FALSE(doc.DocumentElement().IsNull());
    if (!doc.DocumentElement().IsNull())
        Flatten(doc.DocumentElement(), QString(), lines);
    return lines;
}

QStringList ParsedFile(const QString& path)
{
    TXMLDocument doc;
    EXPECT_TRUE(doc.LoadFromFile(path)) << path.toStdString();
    return Parsed(doc);
}

void WriteScript(const QString& path, const QByteArray& body)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner | QFile::ExeUser);
}

} // namespace

TEST(UEthernetUpdate, JobFileForEveryOptionAndReadBackChoice)
{
    struct Case {
        int option;
        const char* fixture;  // written with read back on
    };
    const Case cases[] = {
        {Update_Firmware_And_Configuration, "job_firmware_and_configuration.xml"},
        {Update_Firmware, "job_firmware.xml"},
        {Update_Configuration, "job_configuration.xml"},
    };
    QTemporaryDir exeDir;
    for (const Case& c : cases) {
        const QStringList withReadBack = ParsedFile(kt_test::FixturePath("compiler/" + QString(c.fixture)));
        for (bool readBack : {true, false}) {
            SCOPED_TRACE(std::string(c.fixture) + (readBack ? " read back" : " no read back"));
            QStringList expected = withReadBack;
            if (!readBack)
                expected.replaceInStrings("/Ope_Read_Back=1", "/Ope_Read_Back=0");
            platform::ScriptedServices services;
            platform::ScopedServices scoped(services);
            ASSERT_TRUE(Compile_XML_Parameter_New_Boot(exeDir.path(), kMaster, kConf, "192.168.2.205", c.option,
                                                       readBack));
            EXPECT_EQ(ParsedFile(exeDir.filePath("Ethernet_Update.xml")), expected);
            EXPECT_TRUE(services.MessageBoxes.isEmpty());
        }
    }
}

TEST(UEthernetUpdate, JobFileKeepsAddressTextAsTypedAndOnlyTheLastOperationGoesToTheApplication)
{
    TXMLDocument doc;
    doc.AddChild("left over from an earlier job");
    Build_Ethernet_Update_Job(doc, " 192.168.002.205", Update_Firmware_And_Configuration, true, kMaster, kConf);
    EXPECT_EQ(doc.DocumentElement().FindNode("IP_Address_Dev").Text(), " 192.168.002.205");
    EXPECT_EQ(doc.ChildNodes().size(), 1u);
    QStringList after;
    for (const TXMLNode& op : doc.DocumentElement().FindNode("Operations").ChildElements())
        after << op.FindNode("Ope_GoToApp_After").Text();
    EXPECT_EQ(after, (QStringList{"0", "0", "0", "1"}));
    // No option chosen: no operation.
    Build_Ethernet_Update_Job(doc, "1.2.3.4", -1, true, kMaster, kConf);
    EXPECT_TRUE(doc.DocumentElement().FindNode("Operations").ChildNodes().empty());
}

TEST(UEthernetUpdate, UnwritableJobFileShowsOneErrorAndKeepsTheOldFile)
{
    platform::ScriptedServices services;
    platform::ScopedServices scoped(services);
    QTemporaryDir dir;
    EXPECT_FALSE(Compile_XML_Parameter_New_Boot(dir.filePath("missing"), kMaster, kConf, "1.2.3.4", 0, true));
    ASSERT_EQ(services.MessageBoxes.size(), 1);
    EXPECT_EQ(services.MessageBoxes[0].Type, platform::mtError);

    // A folder standing in the job file's place cannot be replaced.
    QDir(dir.path()).mkpath("Ethernet_Update.xml/keep");
    EXPECT_FALSE(Compile_XML_Parameter_New_Boot(dir.path(), kMaster, kConf, "1.2.3.4", 0, true));
    EXPECT_EQ(services.MessageBoxes.size(), 2);
    EXPECT_TRUE(QDir(dir.filePath("Ethernet_Update.xml/keep")).exists());
}

TEST(UEthernetUpdate, StartProgramPassesItsArgumentsAndTheLimit)
{
    platform::ScriptedServices services;
    platform::ScopedServices scoped(services);
    services.ProgramAnswers << platform::TProgramResult{platform::TProgramRun::Finished, 0};
    Start_Program("/p/Ethernet_Update.exe", "", false);
    Start_Program("/p/other", "-x", true, 500);
    ASSERT_EQ(services.Programs.size(), 2);
    EXPECT_EQ(services.Programs[0].Program, "/p/Ethernet_Update.exe");
    EXPECT_EQ(services.Programs[0].Parameters, "");
    EXPECT_FALSE(services.Programs[0].Hidden);
    EXPECT_EQ(services.Programs[0].TimeoutMs, 150000);
    EXPECT_TRUE(services.Programs[1].Hidden);
    EXPECT_EQ(services.Programs[1].TimeoutMs, 500);
}

// The real process start: a script stands in for the update program in a temporary program folder.
TEST(UEthernetUpdate, RunnerStartsWaitsAndReadsTheExitCode)
{
    QTemporaryDir exeDir;
    const QString program = Ethernet_Update_Program(exeDir.path());
    EXPECT_EQ(Start_Program(program, "", false, 5000).Run, platform::TProgramRun::NotStarted);

    // The program finds the job file beside itself and reports it through its exit code.
    WriteScript(program, "cd \"$(dirname \"$0\")\" && grep -q '<Version>1000</Version>' Ethernet_Update.xml && exit 7\n"
                         "exit 1\n");
    ASSERT_TRUE(Compile_XML_Parameter_New_Boot(exeDir.path(), kMaster, kConf, "10.0.0.1", Update_Firmware, false));
    const platform::TProgramResult done = Start_Program(program, "", false, 60000);
    EXPECT_EQ(done.Run, platform::TProgramRun::Finished);
    EXPECT_EQ(done.ExitCode, 7);
}

TEST(UEthernetUpdate, ProgramOutlivingTheLimitIsLeftRunning)
{
    QTemporaryDir exeDir;
    const QString program = Ethernet_Update_Program(exeDir.path());
    const QString pidFile = exeDir.filePath("pid");
    WriteScript(program, "echo $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 30\n");
    const platform::TProgramResult r = Start_Program(program, "", false, 1000);
    EXPECT_EQ(r.Run, platform::TProgramRun::StillRunning);
    for (int i = 0; i < 1000 && kt_test::ReadFile(pidFile).isEmpty(); ++i)
        QThread::msleep(10);
    const pid_t pid = pid_t(QString::fromLatin1(kt_test::ReadFile(pidFile)).trimmed().toInt());
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), 0) << "the update program was stopped";
    ::kill(pid, SIGKILL);  // our own test program: end it by its id
}
