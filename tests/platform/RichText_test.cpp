// The RTF codec: reading text and formats, writing and reading back, the plain text checked against
// an independent reader, and damaged input.
#include "platform/RichText.h"

#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray Fixture(const char* name)
{
    QFile f(QStringLiteral(KT_FIXTURES_DIR "/rtf/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// The fragments of a document as (text, format) pairs, paragraphs in order.
struct TextRun {
    QString Text;
    QTextCharFormat Format;
    Qt::Alignment Align;
};

QVector<TextRun> Runs(const QTextDocument& doc)
{
    QVector<TextRun> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.append({it.fragment().text(), it.fragment().charFormat(),
                        b.blockFormat().alignment() & Qt::AlignHorizontal_Mask});
    return out;
}

const TextRun* Find(const QVector<TextRun>& runs, const QString& text)
{
    for (const TextRun& r : runs)
        if (r.Text == text)
            return &r;
    return nullptr;
}

const QString kFormatsPlain = QStringLiteral("Plain bold italic under gone\r\nRed and marked\r\nH2O x2 s b\r\n"
                                             "caf\u00e9 \u20ac \u2122 tab\tend\r\nnext  done");

} // namespace

TEST(RichText, ReadsTextOfTheSubsetSkippingDestinations)
{
    const QByteArray rtf = Fixture("formats.rtf");
    ASSERT_FALSE(rtf.isEmpty());
    EXPECT_TRUE(IsRtf(rtf));
    EXPECT_EQ(RtfToPlainText(rtf), kFormatsPlain);
    QTextDocument doc;
    EXPECT_TRUE(RtfToDocument(rtf, doc));
    EXPECT_EQ(doc.blockCount(), 4); // the closing \par adds no empty paragraph
    QString expected = kFormatsPlain;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(doc.toPlainText(), expected);
    EXPECT_EQ(RtfToPlainText(Fixture("minimal.rtf")), QStringLiteral("Hello"));
}

TEST(RichText, ReadsCharacterAndParagraphFormats)
{
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument(Fixture("formats.rtf"), doc));
    const QVector<TextRun> runs = Runs(doc);
    auto at = [&](const char* t) {
        const TextRun* r = Find(runs, QString::fromUtf8(t));
        EXPECT_TRUE(r) << t;
        static TextRun none;
        return r ? *r : none;
    };
    const TextRun plain = at("Plain ");
    EXPECT_EQ(plain.Format.fontFamilies().toStringList(), QStringList{QStringLiteral("Tahoma")});
    EXPECT_EQ(plain.Format.fontPointSize(), 10.0);
    EXPECT_FALSE(plain.Format.fontWeight() >= QFont::DemiBold);
    EXPECT_EQ(at("bold").Format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(at("italic").Format.fontItalic());
    EXPECT_TRUE(at("under").Format.fontUnderline());
    EXPECT_TRUE(at("gone").Format.fontStrikeOut());
    EXPECT_FALSE(at("gone").Format.fontUnderline());

    const TextRun red = at("Red");
    EXPECT_EQ(red.Align, Qt::AlignHCenter);
    EXPECT_EQ(red.Format.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
    EXPECT_EQ(red.Format.fontPointSize(), 14.0);
    EXPECT_EQ(red.Format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(at(" and ").Format.foreground().style(), Qt::NoBrush);
    EXPECT_EQ(at("marked").Format.background().color(), QColor(255, 255, 0));

    // \dn4 and \up4 are 40 twips below and above the baseline.
    EXPECT_EQ(at("H").Align, Qt::AlignRight);
    int down = 0, up = 0;
    for (const TextRun& r : runs)
        if (r.Text == QLatin1String("2")) {
            const int t = r.Format.intProperty(RtfOffsetProperty);
            (t < 0 ? down : up) = t;
        }
    EXPECT_EQ(down, -40);
    EXPECT_EQ(up, 40);
    EXPECT_EQ(at("O x").Format.intProperty(RtfOffsetProperty), 0);
    EXPECT_EQ(at("s").Format.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(at("b").Format.verticalAlignment(), QTextCharFormat::AlignSubScript);
}

TEST(RichText, WriteReadRoundTripKeepsTextAndFormats)
{
    QTextDocument doc;
    ASSERT_TRUE(RtfToDocument(Fixture("formats.rtf"), doc));
    const QByteArray out = DocumentToRtf(doc);
    // ASCII only: one byte per character in a cell.
    for (char c : out)
        ASSERT_TRUE(uchar(c) >= 0x20 && uchar(c) < 0x80) << int(uchar(c));
    EXPECT_TRUE(out.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    EXPECT_TRUE(out.contains("\\'e9"));
    EXPECT_TRUE(out.contains("\\'80")); // the euro sign is in Windows-1252
    EXPECT_TRUE(out.contains("\\up4") && out.contains("\\dn4"));

    QTextDocument back;
    ASSERT_TRUE(RtfToDocument(out, back));
    EXPECT_EQ(back.toPlainText(), doc.toPlainText());
    EXPECT_EQ(RtfToPlainText(out), kFormatsPlain);
    const QVector<TextRun> a = Runs(doc), b = Runs(back);
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        SCOPED_TRACE(a[i].Text.toStdString());
        EXPECT_EQ(b[i].Text, a[i].Text);
        EXPECT_EQ(b[i].Align, a[i].Align);
        const QTextCharFormat& x = a[i].Format;
        const QTextCharFormat& y = b[i].Format;
        EXPECT_EQ(y.fontFamilies(), x.fontFamilies());
        EXPECT_EQ(y.fontPointSize(), x.fontPointSize());
        EXPECT_EQ(y.fontWeight(), x.fontWeight());
        EXPECT_EQ(y.fontItalic(), x.fontItalic());
        EXPECT_EQ(y.fontUnderline(), x.fontUnderline());
        EXPECT_EQ(y.fontStrikeOut(), x.fontStrikeOut());
        EXPECT_EQ(y.foreground(), x.foreground());
        EXPECT_EQ(y.background(), x.background());
        EXPECT_EQ(y.intProperty(RtfOffsetProperty), x.intProperty(RtfOffsetProperty));
        EXPECT_EQ(y.verticalAlignment(), x.verticalAlignment());
    }
    // Writing what was read back gives the same bytes.
    EXPECT_EQ(DocumentToRtf(back), out);
}

TEST(RichText, WriterEscapesSpecialCharacters)
{
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("a{b}c\\d\te\u00a0f\u0001g\u4e2d"));
    const QByteArray out = DocumentToRtf(doc);
    EXPECT_TRUE(out.contains("a\\{b\\}c\\\\d\\tab e\\~fg\\u20013?")) << out.constData();
    EXPECT_EQ(RtfToPlainText(out), QStringLiteral("a{b}c\\d\te\u00a0fg\u4e2d"));
    // Empty paragraphs survive, the last one too.
    doc.setPlainText(QStringLiteral("\n\nx\n\n"));
    ASSERT_EQ(doc.blockCount(), 5);
    QTextDocument back;
    ASSERT_TRUE(RtfToDocument(DocumentToRtf(doc), back));
    EXPECT_EQ(back.blockCount(), 5);
    EXPECT_EQ(RtfToPlainText(DocumentToRtf(doc)), QStringLiteral("\r\n\r\nx\r\n\r\n"));
    // Above U+7FFF the parameter is the signed 16-bit value.
    doc.setPlainText(QStringLiteral("\uffe5"));
    EXPECT_TRUE(DocumentToRtf(doc).contains("\\u-27?"));
    EXPECT_EQ(RtfToPlainText(DocumentToRtf(doc)), QStringLiteral("\uffe5"));
}

// The plain text of our output, as an independent reader sees it.
TEST(RichText, IndependentReaderSeesOurPlainText)
{
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    if (unrtf.isEmpty())
        GTEST_SKIP() << "unrtf is not installed (scripts/install-deps.sh installs it)";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto normal = [](QString s) {
        s.replace(QChar(0xA0), QLatin1Char(' '));
        return s.simplified();
    };
    for (const char* name : {"unrtf.rtf", "minimal.rtf"}) {
        SCOPED_TRACE(name);
        QTextDocument doc;
        ASSERT_TRUE(RtfToDocument(Fixture(name), doc));
        const QByteArray ours = DocumentToRtf(doc);
        const QString path = dir.filePath(QStringLiteral("out.rtf"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(ours);
        f.close();
        QProcess p;
        p.start(unrtf, {QStringLiteral("--text"), path});
        ASSERT_TRUE(p.waitForFinished(20000));
        ASSERT_EQ(p.exitCode(), 0);
        // unrtf writes its own header lines first, then a rule of dashes.
        const QString all = QString::fromLatin1(p.readAllStandardOutput());
        QStringList lines = all.split(QLatin1Char('\n'));
        int start = 0;
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(QLatin1String("-----"))) {
                start = i + 1;
                break;
            }
        const QString theirs = lines.mid(start).join(QLatin1Char('\n'));
        EXPECT_EQ(normal(theirs), normal(RtfToPlainText(ours)));
        EXPECT_FALSE(normal(theirs).isEmpty());
    }
}

TEST(RichText, MalformedInputKeepsTheTextReadSoFar)
{
    const QByteArray deep = "{\\rtf1 ok" + QByteArray(100000, '{') + "lost" + QByteArray(100000, '}') + "}";
    struct Case {
        QByteArray Rtf;
        QString Plain;
        bool Ok;
    };
    const Case cases[] = {
        {"{\\rtf1 open", QStringLiteral("open"), false},
        {"{\\rtf1 {\\b nested", QStringLiteral("nested"), false},
        {"{\\rtf1 one} two}", QStringLiteral("one"), true},  // text after the document's group is not read
        {"}{\\rtf1 x}", QString(), false},
        {deep, QStringLiteral("ok"), false},
        {"{\\rtf1 a\\fs99999999999999999999 b}", QStringLiteral("a"), false},
        {"{\\rtf1 a\\fs2147483647 b\\up-2147483647 c\\u99999 ?d}", QStringLiteral("abc?d"), true},
        {"{\\rtf1 a\\uc99999999\\u65 bcd}", QStringLiteral("aA"), true},
        {"{\\rtf1 a\\'", QStringLiteral("a"), false},
        {"{\\rtf1 a\\'zz b}", QStringLiteral("azz b"), true},
        {"{\\rtf1 a\\", QStringLiteral("a"), false},
        {"{\\rtf1 a\\bin999999999 b}", QStringLiteral("a"), false},
        {"{\\rtf1 {\\*\\x {\\y hidden}} {\\fonttbl {\\f0 F;}}x}", QStringLiteral(" x"), true},
        {QByteArray("{\\rtf1 a\0b}", 11), QStringLiteral("ab"), true},
        {"{\\rtf1 a\\u0 ?b\\'0dc\\u}", QStringLiteral("abc"), true}, // control characters are no text
        {"", QString(), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Rtf.left(60).toStdString());
        EXPECT_EQ(RtfToPlainText(c.Rtf), c.Plain);
        QTextDocument doc;
        EXPECT_EQ(RtfToDocument(c.Rtf, doc), c.Ok);
        QString p = c.Plain;
        EXPECT_EQ(doc.toPlainText(), p.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
}
