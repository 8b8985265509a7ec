// Text helpers of the mini-language: colours, plain text, escaping, highlighting, CONTROL tags.
#include "render/VurADIDO.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct ColorCase {
    const char* text;
    TColor expected;
};

TEST(MarkupColors, NamesAndHexValues)
{
    const ColorCase names[] = {
        {"clred", 0x0000FF},          {"clnavy", 0x800000},   {"clmaroon", 0x000080},
        {"clbtnface", clBtnFace},     {"clinfobk", clInfoBk}, {"cl3ddkshadow", cl3DDkShadow},
        {"red", 0},                   {"", 0},
    };
    for (const ColorCase& c : names)
        EXPECT_EQ(MarkupColorFromName(QString::fromLatin1(c.text)), c.expected) << c.text;

    const ColorCase hex[] = {
        {"#FF0000", 0x0000FF}, {"#00FF00", 0x00FF00}, {"#0000FF", 0xFF0000},
        {"#123456", 0x563412}, {"#12", 0x000012},     {"#", 0},
    };
    for (const ColorCase& c : hex)
        EXPECT_EQ(MarkupHexColor(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(MarkupNumbers, IntegerAtTheStart)
{
    const struct {
        const char* text;
        int expected;
    } cases[] = {{" 12x", 12}, {"-3", -3}, {"+7 pt", 7}, {"abc", 0}, {"", 0}, {"99999999999", INT_MAX},
                 {"-99999999999", INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(MarkupStrToInt(QString::fromLatin1(c.text)), c.expected) << c.text;
}

TEST(MarkupSearch, PositionsAreOneBased)
{
    EXPECT_EQ(MarkupPos("b", "abc"), 2);
    EXPECT_EQ(MarkupPos("x", "abc"), 0);
    EXPECT_EQ(MarkupPosUpper("<BR>", "a<br>"), 2);
    EXPECT_EQ(MarkupPosNoCase("bR", "a<Br>"), 3);
    EXPECT_EQ(FindFrom("b", "abcb", 2, true), 4);
    EXPECT_EQ(FindFrom("B", "abcb", 0, false), 2);
    EXPECT_EQ(FindFrom("B", "abcb", 0, true), 0);
    EXPECT_EQ(FindFrom("", "abc", 0, true), 0);
    QString s = "a<Br>b<br>";
    EXPECT_TRUE(ReplaceFirstNoCase("<BR>", "|", s));
    EXPECT_EQ(s, "a|b<br>");
    EXPECT_FALSE(ReplaceFirstNoCase("<HR>", "|", s));
}

TEST(MarkupPlainText, TagsBreaksAndStrayBrackets)
{
    const struct {
        const char* in;
        const char* plain;
        const char* stripped;
    } cases[] = {
        {"a<BR>b<hr>c", "a\r\nb\r\nc", "abc"},
        {"<b>bold</b> text", "bold text", "bold text"},
        {"x<y", "x<y", "x<y"},
        {"a<b>c<d", "ac<d", "ac<d"},
        {"1 > 0 <i>yes</i>", "1 > 0 yes", "1 > 0 yes"},  // a stray ">" before the first tag stays
        {"a &amp; b", "a &amp; b", "a &amp; b"},        // entities are not decoded
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkupToPlainText(QString::fromLatin1(c.in)), QString::fromLatin1(c.plain)) << c.in;
        EXPECT_EQ(MarkupStripTags(QString::fromLatin1(c.in)), QString::fromLatin1(c.stripped)) << c.in;
    }
}

TEST(MarkupPlainText, LineEndsAndHashTags)
{
    EXPECT_EQ(MarkupLineEndsToBreaks("a\r\nb\nc", true), "a<BR>bc");
    EXPECT_EQ(MarkupLineEndsToBreaks("a\r\nb", false), "ab");
    EXPECT_EQ(UnwrapHashTags("<#1>"), "#1");
    EXPECT_EQ(UnwrapHashTags("a<#b>c<#d>e"), "a#bc#de");
    EXPECT_EQ(UnwrapHashTags("<#x"), "#x");
    EXPECT_EQ(MarkupSpaceToNbsp("a b "), "a&nbsp;b&nbsp;");
}

TEST(MarkupEscaping, EscapeAndUnescape)
{
    const struct {
        QString in;
        bool table;
        QString escaped;
    } cases[] = {
        {"a&b", false, "a&amp;b"},
        {"<a href=\"x\">", false, "&lt;a href=&quot;x&quot;&gt;"},
        {"*amp;", false, "*amp;"},
        {"&amp;", false, "&amp;amp;"},
        {QString::fromUtf8("é&É"), true, "&eacute;&amp;&Eacute;"},
        {QString::fromUtf8("é"), false, QString::fromUtf8("é")},
        {QString::fromUtf8("€ © « »"), true, "&euro; &copy; &laquo; &raquo;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MarkupEscape(c.in, c.table), c.escaped) << c.in.toStdString();
        EXPECT_EQ(MarkupUnescape(c.escaped, c.table), c.in) << c.in.toStdString();  // round trip
    }
    EXPECT_EQ(MarkupUnescape("&amp;quot;", false), "&quot;");
    EXPECT_EQ(MarkupUnescape("&Eacute;&eacute;", true), QString::fromUtf8("Éé"));
    EXPECT_EQ(MarkupUnescape("&EACUTE;&eacute;", false), "&EACUTE;&eacute;");
    EXPECT_EQ(MarkupUnescape("&unknown; &", true), "&unknown; &");
}

TEST(MarkupEscaping, RendererEntitiesDecodeOnce)
{
    EXPECT_EQ(MarkupDecodeTextEntities("&AMP; &quot;x&QUOT; &euro;&trade;&sect;&para;&permil;&reg;&copy;"),
              QString::fromUtf8("&& \"x\" €™§¶‰®©"));
    // "&amp;lt;" is the text "&lt;", never "<".
    EXPECT_EQ(MarkupDecodeRunEntities(MarkupDecodeTextEntities("&amp;lt;")), "&&lt;");
    EXPECT_EQ(MarkupDecodeRunEntities("a&nbsp;&LT;b&gt;"), "a <b>");
    EXPECT_EQ(MarkupDecodeRunEntities("&bogus;"), "&bogus;");
    // Attribute values inside tags stay escaped for their readers.
    EXPECT_EQ(MarkupDecodeTextEntities("&amp;<C VALUE=\"a&quot;b&amp;c\">&quot;"), "&&<C VALUE=\"a&quot;b&amp;c\">\"");
}

TEST(MarkupHighlighting, WrapsEveryHitSeparately)
{
    const struct {
        const char* text;
        const char* search;
        bool caseSensitive;
        const char* expected;
    } cases[] = {
        {"abab", "ab", true, "<hi>ab</hi><hi>ab</hi>"},
        {"aaaa", "aa", true, "<hi>aa</hi><hi>aa</hi>"},
        {"xaaax", "aa", true, "x<hi>aa</hi>ax"},
        {"<b>abc</b>", "b", true, "<b>a<hi>b</hi>c</b>"},
        {"<b>ab</b>cd", "bc", true, "<b>a<hi>b</b>c</hi>d"},
        {"ABab", "ab", false, "<hi>AB</hi><hi>ab</hi>"},
        {"ABab", "ab", true, "AB<hi>ab</hi>"},
        {"abc", "", true, "abc"},
        {"abc", "x", true, "abc"},
        {"a<b", "a", true, "<hi>a</hi>&lt;b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MarkupHighlight(QString::fromLatin1(c.text), QString::fromLatin1(c.search), "hi", c.caseSensitive),
                  QString::fromLatin1(c.expected))
            << c.text << " / " << c.search;
}

TEST(MarkupHighlighting, UnhighlightGivesTheTextBack)
{
    for (const char* text : {"abab", "<b>abc</b> and ab", "no hit here"}) {
        const QString t = QString::fromLatin1(text);
        EXPECT_EQ(MarkupUnhighlight(MarkupHighlight(t, "ab", "hi", true), "HI"), t) << text;
    }
    EXPECT_EQ(MarkupUnhighlight("<HI>a</hi>&lt;b", "hi"), "a<b");
}

TEST(MarkupHighlighting, VisibleCharPosCountsOutsideTags)
{
    const QString t = "ab<b>cd";
    EXPECT_EQ(VisibleCharPos(t, 1), 1);
    EXPECT_EQ(VisibleCharPos(t, 3), 3);  // right after "b": the "<" of the tag
    EXPECT_EQ(VisibleCharPos(t, 4), 7);
    EXPECT_EQ(VisibleCharPos(t, 5), 8);  // past the end
    EXPECT_EQ(VisibleCharPos(t, 6), 0);
}

const QString kControls =
    "Pick <CONTROL TYPE=\"CHECK\" WIDTH=\"15\" ID=\"ck\" VALUE=\"TRUE\"> "
    "<control type=\"edit\" width=\"80\" id=\"ed\" value=\"a&lt;b&amp;c\" maxlen=\"12\" prop=\"p&eacute;\"> "
    "<CONTROL TYPE=\"RADIO\" WIDTH=\"15\" ID=\"r1\" VALUE=\"TRUE\" PROP=\"x\" MAXLEN=\"3\" HEIGHT=\"20\" EXTRA=\"y\"> "
    "<CONTROL TYPE=\"COMBO\" WIDTH=\"60\" ID=\"cb\" VALUE=\"one\"> "
    "<CONTROL TYPE=\"RADIO\" WIDTH=\"15\" ID=\"r2\" VALUE=\"TRUE\"> end";

TEST(MarkupControls, ReadValuesPropsAndOrder)
{
    EXPECT_TRUE(HasControlTag(kControls));
    EXPECT_FALSE(HasControlTag("<b>x</b>"));

    QString type, id, value, width, height, prop, maxlen;
    ParseControlTag("<control type=\"edit\" WIDTH=\"80\" id=\"E1\" value=\"x &quot;y&quot;\" height=\"30\">", type, id,
                    value, width, height, prop, maxlen);
    EXPECT_EQ(type, "EDIT");
    EXPECT_EQ(id, "E1");
    EXPECT_EQ(value, "x \"y\"");
    EXPECT_EQ(width, "80");
    EXPECT_EQ(height, "30");
    EXPECT_EQ(prop, "");
    EXPECT_EQ(maxlen, "");

    QString v = "unchanged";
    EXPECT_TRUE(GetControlTagValue(kControls, "ed", v));
    EXPECT_EQ(v, "a<b&c");
    EXPECT_FALSE(GetControlTagValue(kControls, "ED", v));  // IDs keep their case
    EXPECT_EQ(v, "a<b&c");
    EXPECT_EQ(GetControlTagProp(kControls, "ed"), QString::fromUtf8("pé"));
    EXPECT_EQ(GetControlTagProp(kControls, "ck"), "");
    EXPECT_EQ(GetControlTagMaxLen(kControls, "ed"), 12);
    EXPECT_EQ(GetControlTagMaxLen(kControls, "zz"), 0);

    const struct {
        const char* from;
        const char* next;
    } order[] = {{"", "ed"}, {"ck", "ed"}, {"ed", "cb"}, {"r1", "cb"}, {"cb", ""}, {"missing", ""}};
    for (const auto& o : order)
        EXPECT_EQ(NextControlTagID(kControls, QString::fromLatin1(o.from)), QString::fromLatin1(o.next)) << o.from;
}

TEST(MarkupControls, RewriteKeepsKnownAttributes)
{
    QString t = kControls;
    EXPECT_TRUE(SetControlTagText(t, "r1", "FALSE"));
    EXPECT_TRUE(t.contains("<CONTROL ID=\"r1\" VALUE=\"FALSE\" WIDTH=\"15\" TYPE=\"RADIO\" PROP=\"x\" MAXLEN=\"3\" "
                           "HEIGHT=\"20\">"))
        << t.toStdString();
    EXPECT_FALSE(t.contains("EXTRA"));
    EXPECT_TRUE(t.startsWith("Pick <CONTROL TYPE=\"CHECK\""));
    EXPECT_TRUE(t.endsWith("> end"));

    EXPECT_TRUE(SetControlTagText(t, "ed", QString::fromUtf8("<é & \">")));
    QString v;
    EXPECT_TRUE(GetControlTagValue(t, "ed", v));
    EXPECT_EQ(v, QString::fromUtf8("<é & \">"));
    EXPECT_EQ(GetControlTagProp(t, "ed"), QString::fromUtf8("pé"));
    EXPECT_EQ(GetControlTagMaxLen(t, "ed"), 12);

    const QString before = t;
    EXPECT_FALSE(SetControlTagText(t, "nope", "x"));
    EXPECT_EQ(t, before);

    const QString cleared = ClearRadioGroup(kControls);
    for (const char* id : {"r1", "r2"}) {
        EXPECT_TRUE(GetControlTagValue(cleared, id, v));
        EXPECT_EQ(v, "FALSE") << id;
    }
    EXPECT_TRUE(GetControlTagValue(cleared, "ck", v));
    EXPECT_EQ(v, "TRUE");  // check boxes are not part of the group
}

TEST(MarkupUnitState, XPVersionTest)
{
    EXPECT_FALSE(IsWinXPOrLaterVersion(5, 0));
    EXPECT_TRUE(IsWinXPOrLaterVersion(5, 1));
    EXPECT_TRUE(IsWinXPOrLaterVersion(6, 0));
    EXPECT_FALSE(IsWinXPOrLaterVersion(4, 90));
}

} // namespace
