// The in-memory INI file against hand-made files: names without case, values as written, order,
// comments and blank lines kept, CR LF on writing, encodings, a missing file and write failures.
#include "TestSupport.h"
#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cerrno>

using namespace platform;

namespace {

QString CopyFixture(const QTemporaryDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    QFile::copy(kt_test::FixturePath("griddata/layout/" + name), path);
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TEST(IniFile, ReadsNamesWithoutCaseAndValuesAsWritten)
{
    QTemporaryDir dir;
    const TMemIniFile ini(CopyFixture(dir, "hand.ini"));
    EXPECT_TRUE(ini.SectionExists("COLS"));
    EXPECT_TRUE(ini.SectionExists("print")) << "blanks inside the brackets are not part of the name";
    EXPECT_FALSE(ini.SectionExists("Other"));

    EXPECT_EQ(ini.ReadInteger("cols", "COL0", -1), 64) << "the first of two equal sections is read";
    EXPECT_EQ(ini.ReadInteger("Cols", "Col1", -1), 80) << "blanks around a number are allowed";
    EXPECT_EQ(ini.ReadString("Cols", "Col1", ""), " 80 ");
    EXPECT_EQ(ini.ReadInteger("Cols", "Col2", -1), -1) << "not a number: the default";
    EXPECT_EQ(ini.ReadInteger("Cols", "Col9", 7), 7);
    EXPECT_FALSE(ini.ValueExists("Cols", "; widths above"));

    // No escapes, no quoting, no lists: the text after "=" as it stands.
    EXPECT_EQ(ini.ReadString("Print", "TitleLines", ""), "A\\nB\\n");
    EXPECT_EQ(ini.ReadString("Print", "TitleText", ""), " x, y , z");
    EXPECT_EQ(ini.ReadString("Print", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Nowhere", "Centered", "dflt"), "dflt");
}

TEST(IniFile, WritesInPlaceKeepsOrderAndRewritesWholeInCrLf)
{
    QTemporaryDir dir;
    const QString path = CopyFixture(dir, "hand.ini");
    TMemIniFile ini(path);
    ini.WriteInteger("COLS", "COL1", 90);     // replaced where it stands, under its own name
    ini.WriteInteger("cols", "Col3", 100);    // after the section's last entry, before its comment
    ini.WriteString("Print", "TitleText", "one\r\ntwo"); // a line break would start a new line
    ini.WriteString("New", "K", "v");         // a new section at the end, after a blank line
    EXPECT_EQ(ini.ReadString("print", "titletext", ""), "one two");
    ini.UpdateFile();
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/layout/hand_changed.ini")));

    // Read back, nothing changed: the same bytes again.
    TMemIniFile again(path);
    again.UpdateFile();
    EXPECT_EQ(kt_test::ReadFile(path), kt_test::ReadFile(kt_test::FixturePath("griddata/layout/hand_changed.ini")));
}

TEST(IniFile, MissingFileIsEmptyAndCreatedOnlyByUpdate)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("new.ini");
    {
        TMemIniFile ini(path);
        EXPECT_FALSE(ini.SectionExists("A"));
        EXPECT_EQ(ini.Text(), "");
        EXPECT_FALSE(QFile::exists(path));
        ini.UpdateFile();
    }
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray());

    TMemIniFile ini(path);
    ini.WriteInteger("A", "x", -5);
    ini.WriteString("B", "y", "");
    ini.UpdateFile();
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("[A]\r\nx=-5\r\n\r\n[B]\r\ny=\r\n"));
}

TEST(IniFile, KeepsUnicodeFilesAndCharactersOutsideTheCodePage)
{
    QTemporaryDir dir;
    // Plain code page text stays code page text.
    const QString ansi = dir.filePath("ansi.ini");
    WriteBytes(ansi, "[S]\r\nName=Caf\xE9\r\n");
    {
        TMemIniFile ini(ansi);
        EXPECT_EQ(ini.ReadString("S", "Name", ""), QString::fromUtf8("Caf\xC3\xA9"));
        ini.WriteString("S", "Euro", QString::fromUtf8("\xE2\x82\xAC"));
        ini.UpdateFile();
        EXPECT_EQ(kt_test::ReadFile(ansi), QByteArray("[S]\r\nName=Caf\xE9\r\nEuro=\x80\r\n"));
    }
    // A character the code page lacks is not turned into "?": the file becomes UTF-8.
    {
        TMemIniFile ini(ansi);
        ini.WriteString("S", "Name", QString::fromUtf8("\xE6\x97\xA5"));
        ini.UpdateFile();
        EXPECT_EQ(kt_test::ReadFile(ansi), QByteArray("\xEF\xBB\xBF[S]\r\nName=\xE6\x97\xA5\r\nEuro=\xE2\x82\xAC\r\n"));
        EXPECT_EQ(TMemIniFile(ansi).ReadString("s", "name", ""), QString::fromUtf8("\xE6\x97\xA5"));
    }
    // A UTF-16 file is written back as UTF-16.
    const QString wide = dir.filePath("wide.ini");
    WriteBytes(wide, QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 22));
    {
        TMemIniFile ini(wide);
        EXPECT_EQ(ini.ReadString("S", "K", ""), "v");
        ini.WriteString("S", "k", "w");
        ini.UpdateFile();
        EXPECT_EQ(kt_test::ReadFile(wide), QByteArray("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0w\0\r\0\n\0", 22));
    }
}

TEST(IniFile, FailuresRaiseAndLeaveTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.ini");
    WriteBytes(path, "[S]\r\nk=1\r\n");
    TMemIniFile ini(path);
    ini.WriteInteger("S", "k", 2);
    SetFileFaultHook([](TFileStep step, const QString&) { return step == TFileStep::Rename ? ENOSPC : 0; });
    EXPECT_THROW(ini.UpdateFile(), EFCreateError);
    SetFileFaultHook({});
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("[S]\r\nk=1\r\n"));

    EXPECT_THROW(TMemIniFile(dir.filePath("no/such/folder.ini")).UpdateFile(), EFCreateError);

    const QString locked = dir.filePath("locked.ini");
    WriteBytes(locked, "[S]\r\n");
    QFile(locked).setPermissions(QFileDevice::Permissions());
    if (!QFile(locked).open(QIODevice::ReadOnly)) { // running as root reads anyway
        EXPECT_THROW(TMemIniFile{locked}, EFOpenError);
    }
}

} // namespace
