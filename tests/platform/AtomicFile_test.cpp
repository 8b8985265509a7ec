#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old content, longer than the new"));
    ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
}


TEST(AtomicFile, MissingFolderFails)
{
    QTemporaryDir dir;
    EXPECT_FALSE(platform::WriteFileAtomic(dir.filePath("no/such/a.xml"), "x"));
}

namespace {

// Installs a fault hook for one test and removes it again.
struct ScopedFaultHook {
    explicit ScopedFaultHook(platform::TFileFaultHook hook) { platform::SetFileFaultHook(std::move(hook)); }
    ~ScopedFaultHook() { platform::SetFileFaultHook({}); }
};

// What a process killed at a step leaves behind.
struct Killed {};

QStringList Entries(const QString& path)
{
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

QString Set(const QString& folder)
{
    QStringList parts;
    for (const QString& name : Entries(folder))
        parts << name + "=" + QString::fromLatin1(kt_test::ReadFile(QDir(folder).filePath(name)));
    return parts.join(" ");
}

const std::vector<std::pair<QString, QByteArray>> New_Set = {{"b1", "new 1"}, {"b2", "new 2"}, {"b3", "new 3"}};

} // namespace

TEST(AtomicFile, WriteErrorsNameTheirCause)
{
    struct Case {
        platform::TFileStep step;
        int err;
    } cases[] = {{platform::TFileStep::Create, EACCES},
                 {platform::TFileStep::Write, ENOSPC},
                 {platform::TFileStep::Sync, ENOSPC},
                 {platform::TFileStep::Sync, EDQUOT},
                 {platform::TFileStep::Rename, EROFS}};
    for (const Case& c : cases) {
        SCOPED_TRACE(strerror(c.err));
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
        ScopedFaultHook hook([&c](platform::TFileStep step, const QString&) { return step == c.step ? c.err : 0; });
        QString error;
        EXPECT_FALSE(platform::WriteFileAtomic(path, "new", &error));
        EXPECT_EQ(error, QString::fromLocal8Bit(strerror(c.err)));
        EXPECT_EQ(kt_test::ReadFile(path), QByteArray("old"));
        EXPECT_EQ(Entries(dir.path()), QStringList{"a.xml"});
    }
}

TEST(AtomicFile, FolderSwapLeavesTheOldOrTheNewSetWhereverItStops)
{
    // Stop the run at each step in turn, once by an error and once as if the process died there.
    for (const bool kill : {false, true}) {
        for (int stop = 0;; ++stop) {
            SCOPED_TRACE(testing::Message() << (kill ? "killed" : "failed") << " at step " << stop);
            QTemporaryDir dir;
            const QString bin = dir.filePath("bin");
            ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, {{"b1", "old 1"}, {"b2", "old 2"}, {"b3", "old 3"}}));
            {
                QFile note(QDir(bin).filePath("note.txt"));
                ASSERT_TRUE(note.open(QIODevice::WriteOnly));
                note.write("mine");
            }
            const QString oldSet = Set(bin);
            int step = 0;
            bool stopped = false;
            bool ok = false;
            {
                ScopedFaultHook hook([&](platform::TFileStep, const QString&) {
                    if (step++ != stop)
                        return 0;
                    stopped = true;
                    if (kill)
                        throw Killed{};
                    return EIO;
                });
                try {
                    ok = platform::ReplaceFolderAtomic(bin, New_Set);
                } catch (const Killed&) {
                }
            }
            const QString newSet = "b1=new 1 b2=new 2 b3=new 3 note.txt=mine";
            if (!stopped) {
                EXPECT_TRUE(ok);
                EXPECT_EQ(Set(bin), newSet);
                break;
            }
            const QString now = Set(bin);
            EXPECT_TRUE(now == oldSet || now == newSet) << now.toStdString();
            if (!kill && now == oldSet) {
                EXPECT_FALSE(ok);
            }
            // The next run cleans up whatever was left and puts the new set in place.
            ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, New_Set));
            EXPECT_EQ(Set(bin), newSet);
            EXPECT_EQ(Entries(dir.path()), QStringList{"bin"});
        }
    }
}

TEST(AtomicFile, FolderSwapWithoutExchangeSupportAndOnFolderNames)
{
    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    // No folder yet: it is made.
    ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, New_Set));
    EXPECT_EQ(Set(bin), "b1=new 1 b2=new 2 b3=new 3");
    // A file system that cannot exchange two names still gets the whole set.
    {
        ScopedFaultHook hook(
            [](platform::TFileStep step, const QString&) { return step == platform::TFileStep::Exchange ? EINVAL : 0; });
        ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, {{"b1", "x"}, {"b2", "y"}, {"b3", "z"}}));
    }
    EXPECT_EQ(Set(bin), "b1=x b2=y b3=z");
    EXPECT_EQ(Entries(dir.path()), QStringList{"bin"});
    // A folder under a file's name is not replaced, nor is a file under the folder's name.
    ASSERT_TRUE(QFile::remove(QDir(bin).filePath("b2")));
    ASSERT_TRUE(QDir(bin).mkpath("b2/inner"));
    QString error;
    EXPECT_FALSE(platform::ReplaceFolderAtomic(bin, New_Set, &error));
    EXPECT_TRUE(error.contains("b2")) << error.toStdString();
    EXPECT_TRUE(QFileInfo(QDir(bin).filePath("b2/inner")).isDir());
    const QString file = dir.filePath("plain");
    ASSERT_TRUE(platform::WriteFileAtomic(file, "data"));
    EXPECT_FALSE(platform::ReplaceFolderAtomic(file, New_Set, &error));
    EXPECT_EQ(kt_test::ReadFile(file), QByteArray("data"));
}

namespace {

mode_t ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void SetMode(const QString& path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

} // namespace

TEST(AtomicFile, ReadOnlyFileOrFolderIsRefusedAndKept)
{
    // A read-only file is refused though its folder would let the rename replace it; a read-only
    // folder is refused too. Both hold for the superuser as well, whom the bits do not stop.
    for (const bool folderReadOnly : {false, true}) {
        SCOPED_TRACE(folderReadOnly ? "read-only folder" : "read-only file");
        QTemporaryDir dir;
        const QString path = dir.filePath("a.xml");
        ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
        const QString target = folderReadOnly ? dir.path() : path;
        const mode_t mode = folderReadOnly ? 0555 : 0444;
        SetMode(target, mode);
        QString error;
        const bool ok = platform::WriteFileAtomic(path, "new", &error);
        const QStringList left = Entries(dir.path());
        SetMode(dir.path(), 0700);
        EXPECT_FALSE(ok);
        EXPECT_EQ(error, QString::fromLocal8Bit(strerror(EACCES)));
        EXPECT_EQ(kt_test::ReadFile(path), QByteArray("old"));
        EXPECT_EQ(left, QStringList{"a.xml"});
        if (!folderReadOnly) {
            EXPECT_EQ(ModeOf(path), 0444u);
        }
    }
}

TEST(AtomicFile, ReplacedFileKeepsModeAndOwner)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
    SetMode(path, 0640);
    ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
    EXPECT_EQ(ModeOf(path), 0640u);
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a file to another user needs the superuser";
    // A file of another user that we may write stays theirs.
    SetMode(path, 0666);
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    ASSERT_TRUE(platform::WriteFileAtomic(path, "newer"));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0666u);
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("newer"));
}

TEST(AtomicFile, NextSaveRemovesTemporariesOfKilledSaves)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("S7_Protocol.xml");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
    // A save killed while writing leaves its temporary behind; the next one removes it, though
    // killed in turn it leaves its own.
    for (int i = 0; i < 2; ++i) {
        ScopedFaultHook hook([](platform::TFileStep step, const QString&) -> int {
            if (step == platform::TFileStep::Sync)
                throw Killed{};
            return 0;
        });
        EXPECT_THROW(platform::WriteFileAtomic(path, "half"), Killed);
        ASSERT_EQ(Entries(dir.path()).size(), 2);
    }
    // Names that only look alike, and another file's temporary, are not this file's leftovers.
    for (const char* other : {"S7_Protocol.xml.tmp-notes.txt", "S7_Protocol.xml.tmp-", "Other.xml.tmp-abc123"})
        ASSERT_TRUE(platform::WriteFileAtomic(dir.filePath(other), "keep"));
    ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("new"));
    EXPECT_EQ(Entries(dir.path()), (QStringList{"Other.xml.tmp-abc123", "S7_Protocol.xml", "S7_Protocol.xml.tmp-",
                                                "S7_Protocol.xml.tmp-notes.txt"}));
}

TEST(AtomicFile, ReadOnlyFolderSetIsRefusedAndKept)
{
    for (const bool fileReadOnly : {false, true}) {
        SCOPED_TRACE(fileReadOnly ? "read-only file in the set" : "read-only folder");
        QTemporaryDir dir;
        const QString bin = dir.filePath("bin");
        ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, {{"b1", "old 1"}, {"b2", "old 2"}, {"b3", "old 3"}}));
        const QString target = fileReadOnly ? QDir(bin).filePath("b2") : bin;
        SetMode(target, fileReadOnly ? 0444 : 0555);
        QString error;
        EXPECT_FALSE(platform::ReplaceFolderAtomic(bin, New_Set, &error));
        EXPECT_TRUE(error.endsWith(QString::fromLocal8Bit(strerror(EACCES)))) << error.toStdString();
        EXPECT_EQ(Set(bin), "b1=old 1 b2=old 2 b3=old 3");
        EXPECT_EQ(ModeOf(target), fileReadOnly ? 0444u : 0555u);
        EXPECT_EQ(Entries(dir.path()), QStringList{"bin"});
        SetMode(bin, 0700);
    }
    // A writable folder is replaced by one of the same mode, its files keep theirs.
    QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, New_Set));
    SetMode(bin, 0710);
    SetMode(QDir(bin).filePath("b1"), 0600);
    ASSERT_TRUE(platform::ReplaceFolderAtomic(bin, {{"b1", "x"}, {"b2", "y"}, {"b3", "z"}}));
    EXPECT_EQ(Set(bin), "b1=x b2=y b3=z");
    EXPECT_EQ(ModeOf(bin), 0710u);
    EXPECT_EQ(ModeOf(QDir(bin).filePath("b1")), 0600u);
}
