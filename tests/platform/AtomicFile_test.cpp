#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>

TEST(AtomicFile, ReplacesWholeFileAndLeavesNoTemporary)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old content, longer than the new"));
    ASSERT_TRUE(platform::WriteFileAtomic(path, "new"));
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("new"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.xml"});
}

TEST(AtomicFile, FailedWriteKeepsOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.xml");
    ASSERT_TRUE(platform::WriteFileAtomic(path, "old"));
    // A read-only folder: the temporary cannot be created, so nothing may change.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    const bool ok = platform::WriteFileAtomic(path, "new", &error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (ok)
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("old"));
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
