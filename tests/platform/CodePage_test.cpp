#include "platform/CodePage.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(CodePage, EveryByteSurvivesARoundTrip)
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    for (TCodePage cp : {TCodePage::Ansi, TCodePage::Oem}) {
        const QString text = FromCodePage(all, cp);
        ASSERT_EQ(text.size(), 256);
        EXPECT_EQ(ToCodePage(text, cp), all) << (cp == TCodePage::Ansi ? "ansi" : "oem");
        for (int i = 0; i < 128; ++i)
            EXPECT_EQ(text[i].unicode(), i);  // ASCII in both code pages
    }
}

TEST(CodePage, KnownCharactersAndOutsiders)
{
    struct Case {
        TCodePage cp;
        const char* utf8;
        QByteArray bytes;
    };
    const Case cases[] = {
        {TCodePage::Ansi, "€", "\x80"},       {TCodePage::Ansi, "é", "\xE9"},
        {TCodePage::Ansi, "Ÿ", "\x9F"},       {TCodePage::Ansi, "Ł", "?"},
        {TCodePage::Ansi, "😀x", "?x"},        {TCodePage::Oem, "Ç", "\x80"},
        {TCodePage::Oem, "é", "\x82"},        {TCodePage::Oem, "░", "\xB0"},
        {TCodePage::Oem, "€", "?"},           {TCodePage::Oem, "a\tb", "a\tb"},
        {TCodePage::Oem, "µμ", "\xE6\xE6"},  // micro sign and Greek mu share a byte
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToCodePage(QString::fromUtf8(c.utf8), c.cp), c.bytes) << c.utf8;
    // A character in one page but not the other, converted in place as text.
    EXPECT_EQ(AnsiToOemText(QString::fromUtf8("é")), FromAnsi("\x82"));
    EXPECT_EQ(OemToAnsiText(FromAnsi("\x82")), QString::fromUtf8("é"));
}

TEST(CodePage, BuiltInTablesAgreeWithTheSystemConverters)
{
    for (TCodePage cp : {TCodePage::Ansi, TCodePage::Oem}) {
        if (!CodePageFromSystem(cp))
            continue;  // the built-in table is what we use anyway
        for (int b = 128; b < 256; ++b) {
            if (cp == TCodePage::Oem && b == 0xE6)
                continue;  // tables differ here: micro sign or Greek mu
            EXPECT_EQ(BuiltInUpperHalf(cp, uchar(b)), FromCodePage(QByteArray(1, char(b)), cp)[0]) << b;
        }
    }
}
