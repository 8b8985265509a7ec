#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
