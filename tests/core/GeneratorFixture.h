#pragma once
// Shared set-up of the generator tests: a temporary configuration folder made active, the scripted
// services, the built-in language, and the hand-made fixtures of tests/fixtures/generators.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "core/UComon.h"
#include "core/ULanguage.h"
#include "platform/ScriptedServices.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

namespace kt_test {

// The hand-made expected text, with CR LF line ends whatever the checkout did to it.
inline QByteArray ExpectedGenerated(const QString& name)
{
    QByteArray b = ReadFile(FixturePath("generators/" + name));
    EXPECT_FALSE(b.isEmpty()) << name.toStdString();
    b.replace("\r\n", "\n");
    b.replace("\n", "\r\n");
    return b;
}

inline void WriteText(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

class GeneratorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Scope = std::make_unique<platform::ScopedServices>(S);
        Load_Default_Language();
        Active_Conf_Name = QStringLiteral("Plant1");
        Active_Conf_Path = Dir.path();
        Set_Conf_File_Paths();
    }
    void TearDown() override
    {
        Active_Conf_Name.clear();
        Active_Conf_Path.clear();
        Set_Conf_File_Paths();
    }
    // Puts a fixture file at `path`, replacing what is there.
    void Put(const QString& fixture, const QString& path)
    {
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(FixturePath("generators/" + fixture), path));
    }
    QString Out(const QString& name) const { return Dir.filePath(name); }
    // One save dialog was offered, in the configuration folder, with this filter and extension.
    void Expect_Save_Dialog(const QString& filter, const QString& ext) const
    {
        ASSERT_EQ(S.SaveDialogs.size(), 1);
        EXPECT_EQ(S.SaveDialogs[0].InitialDir, Dir.path());
        EXPECT_EQ(S.SaveDialogs[0].Filter, filter);
        EXPECT_EQ(S.SaveDialogs[0].DefaultExt, ext);
    }
    // A file "old" stands at `file` and the save dialog picks `chosen`: the generator asks once, as
    // a confirmation with those buttons, before it overwrites; `now` gets what the file holds after
    // the question is answered with `answer`.
    void Answer_Overwrite(platform::TModalResult answer, const QString& file, const QString& chosen,
                          void (*Generate)(), const QString& question, platform::TMsgDlgButtons buttons,
                          QByteArray& now)
    {
        WriteText(file, "old");
        S.MessageBoxes.clear();
        S.MessageBoxAnswers = {answer};
        S.SaveDialogAnswers = {chosen};
        Generate();
        ASSERT_EQ(S.MessageBoxes.size(), 1);
        EXPECT_EQ(S.MessageBoxes[0].Text, question);
        EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtConfirmation);
        EXPECT_EQ(S.MessageBoxes[0].Buttons, buttons);
        now = ReadFile(file);
    }

    QTemporaryDir Dir;
    platform::ScriptedServices S;
    std::unique_ptr<platform::ScopedServices> Scope;
};

} // namespace kt_test
