// What the generators share: the text written in the system code page with CR LF line ends, one
// error box when it cannot be written, and the message a broken input table raises.
#include "GeneratorFixture.h"

#include "core/UGen_Files.h"
#include "core/XMLDocument.h"

namespace {

using GenFilesTest = kt_test::GeneratorTest;

TEST_F(GenFilesTest, WritesLinesInTheCodePageOrOneErrorBox)
{
    const QString path = Out("out.txt");
    EXPECT_TRUE(Gen_Write_Lines(path, {QStringLiteral("a\u00e9"), QString(), QStringLiteral("end")}));
    EXPECT_EQ(kt_test::ReadFile(path), QByteArray("a\xe9\r\n\r\nend\r\n"));
    EXPECT_TRUE(S.MessageBoxes.isEmpty());

    const QString bad = Out("missing/out.txt");
    EXPECT_FALSE(Gen_Write_Lines(bad, {QStringLiteral("x")}));
    ASSERT_EQ(S.MessageBoxes.size(), 1);
    EXPECT_EQ(S.MessageBoxes[0].Type, platform::mtError);
    EXPECT_TRUE(S.MessageBoxes[0].Text.startsWith(QStringLiteral("Error! The file \"%1\" cannot be written: ").arg(bad)))
        << S.MessageBoxes[0].Text.toStdString();
}

TEST_F(GenFilesTest, BrokenInputNamesTheFileWithoutItsFolder)
{
    const QString path = Out("broken.xml");
    kt_test::WriteText(path, "<root><row></root>");
    TXMLDocument doc;
    try {
        Gen_Load(doc, path);
        FAIL() << "a broken file was read";
    } catch (const EXMLError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Error! The file \"broken.xml\" cannot be read: ")))
            << e.Message().toStdString();
    }
    // A table the configuration lacks is no error; one it holds broken is.
    EXPECT_FALSE(Gen_Load_Existing(doc, Out("missing.xml")));
    EXPECT_THROW(Gen_Load_Existing(doc, path), EXMLError);
    kt_test::WriteText(path, "<root/>");
    EXPECT_TRUE(Gen_Load_Existing(doc, path));
    EXPECT_EQ(doc.DocumentElement().NodeName(), QStringLiteral("root"));
    EXPECT_EQ(Gen_Upper(QStringLiteral("int \u00e9x")), QStringLiteral("INT \u00e9X"));
}

} // namespace
