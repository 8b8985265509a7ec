// Text, number, date and search helpers shared by the grid.
#include "render/RuvOdid.h"

#include <gtest/gtest.h>

namespace {

// Sets the locale separators for one test and puts the old ones back.
class LocaleScope {
public:
    LocaleScope(QChar decimal, QChar thousand, QChar date = u'/')
        : FOld(platform::FormatSettings())
    {
        auto& fs = platform::FormatSettings();
        fs.DecimalSeparator = decimal;
        fs.ThousandSeparator = thousand;
        fs.DateSeparator = date;
    }
    ~LocaleScope() { platform::FormatSettings() = FOld; }

private:
    platform::TFormatSettings FOld;
};

QString Chars(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s += QChar(char16_t(c));
    return s;
}

TEST(RuvOdidCells, EncodeDecodeRoundTrip)
{
    const QString wide = QStringLiteral("A") + QChar(0x03A9);
    const QString enc = EncodeUnicodeCell(wide);
    EXPECT_EQ(enc, QStringLiteral("|\\") + Chars({0, 'A', 3, 0xA9}));
    EXPECT_EQ(DecodeUnicodeCell(enc), wide);
    EXPECT_EQ(DecodeUnicodeCell(QStringLiteral("plain")), QStringLiteral("plain"));
    // An odd last character is dropped.
    EXPECT_EQ(DecodeUnicodeCell(enc + QChar(5)), wide);
    // Every code unit survives, surrogates included.
    const QString all = QString::fromUtf16(u"\u00e9\u20ac\U0001F600\uFFFF");
    EXPECT_EQ(DecodeUnicodeCell(EncodeUnicodeCell(all)), all);
}

TEST(RuvOdidCells, ClassifyCellText)
{
    struct Case { const char* text; bool html; int kind; };
    const Case cases[] = {
        {"", true, 0},
        {"=A1+1", true, 3},
        {"{\\rtf1 x}", true, 2},
        {"|\\\x01\x02", true, 5},
        {"a</b>", true, 1},
        {"a</b>", false, 0},
        {"<b>x", true, 1},
        {"x<i>", true, 1},
        {"<c", true, 1},
        {"a < b", true, 0},
        {"plain", true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyCellText(QString::fromLatin1(c.text), c.html), c.kind) << c.text << c.html;
}

TEST(RuvOdidCells, CharToHexCodeIsLowByteFirst)
{
    EXPECT_EQ(CharToHexCode(0x0263A), QStringLiteral("3A2600"));
    EXPECT_EQ(CharToHexCode(255), QStringLiteral("FF0000"));
    EXPECT_EQ(CharToHexCode(0xABCDEF), QStringLiteral("EFCDAB"));
}

// Reads the number after `key` in the clipboard header.
int HeaderValue(const QString& text, const QString& key)
{
    const qsizetype p = text.indexOf(key);
    return p < 0 ? -1 : text.mid(p + key.size(), 8).toInt();
}

TEST(RuvOdidClipboard, HtmlHeaderOffsets)
{
    QString s = QStringLiteral("0123456789");
    BuildHtmlClipboard(s);
    EXPECT_TRUE(s.startsWith(QStringLiteral("Version:1.0\r\nStartHTML:00000097\r\n")));
    EXPECT_EQ(HeaderValue(s, "EndHTML:"), 316);
    EXPECT_EQ(HeaderValue(s, "StartFragment:"), 274);
    EXPECT_EQ(HeaderValue(s, "EndFragment:"), 284);
    EXPECT_EQ(s.size(), 316);
    EXPECT_EQ(s.indexOf(QStringLiteral("<!DOCTYPE")), 97);
    EXPECT_EQ(s.mid(274, 10), QStringLiteral("0123456789"));
    EXPECT_TRUE(s.endsWith(QStringLiteral("<!--EndFragment--></body></html>")));
}

TEST(RuvOdidClipboard, HtmlOffsetsCountEncodedBytes)
{
    // Non-ASCII characters take more than one byte on the clipboard; the offsets must still
    // point at the fragment's bytes.
    const QString fragment = QString::fromUtf16(u"<td>Gr\u00fc\u00dfe \u20ac</td>");
    QString s = fragment;
    BuildHtmlClipboard(s);
    const QByteArray bytes = s.toUtf8();
    const int start = HeaderValue(s, "StartFragment:");
    const int end = HeaderValue(s, "EndFragment:");
    EXPECT_EQ(bytes.mid(start, end - start), fragment.toUtf8());
    EXPECT_EQ(HeaderValue(s, "EndHTML:"), bytes.size());
    EXPECT_EQ(bytes.mid(HeaderValue(s, "StartHTML:"), 9), QByteArray("<!DOCTYPE"));
}

TEST(RuvOdidClipboard, LineEndCodings)
{
    QString csv = QStringLiteral("a\r\nb");
    CsvQuoteMultiline(csv);
    EXPECT_EQ(csv, QStringLiteral("\"a") + QChar(11) + QStringLiteral("b\""));
    VtToCrLf(csv);
    EXPECT_EQ(csv, QStringLiteral("\"a\r\nb\""));

    const QString withNul = QStringLiteral("a\r\nb") + QChar(0) + QStringLiteral("c");
    const QString tabbed = CrLfToTab(withNul);
    EXPECT_EQ(tabbed, QStringLiteral("a\t") + QChar(8) + QStringLiteral("b") + QChar(1) + QStringLiteral("c"));
    EXPECT_EQ(TabToCrLf(tabbed, true), withNul);
    EXPECT_EQ(TabToCrLf(tabbed, false), QStringLiteral("a"));
    EXPECT_EQ(CrLfToTab(QStringLiteral("a\tb")), QStringLiteral("a\tb"));  // no CR: unchanged

    QString tilde = QStringLiteral("x\r\ny");
    CrLfToTilde(tilde);
    EXPECT_EQ(tilde, QStringLiteral("x~y"));
    TildeToCrLf(tilde);
    EXPECT_EQ(tilde, QStringLiteral("x\r\ny"));
    QString caret = QStringLiteral("^");
    TildeToCrLf(caret);
    EXPECT_EQ(caret, QString());

    const QString lit = CrLfToLiteralNewline(QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(lit, QStringLiteral("a\\nb\\nc"));
    EXPECT_EQ(LiteralNewlineToCrLf(lit), QStringLiteral("a\r\nb\r\nc"));

    EXPECT_EQ(CrToBreakTag(QStringLiteral("a\r\nb")), QStringLiteral("a<br>\nb"));
    QString crlf = QStringLiteral("a\r\nb\rc\nd");
    RemoveCrLf(crlf);
    EXPECT_EQ(crlf, QStringLiteral("a\nb\rc\nd"));
    EXPECT_EQ(RemoveCrChars(QStringLiteral("a\r\nb\r")), QStringLiteral("a\nb"));
    EXPECT_EQ(CrToLf(QStringLiteral("a\rb\r\n")), QStringLiteral("a\nb\n\n"));
}

TEST(RuvOdidText, QuotesAndUnpairedChars)
{
    EXPECT_EQ(DoubleQuotes(QStringLiteral("a\"b\"\"")), QStringLiteral("a\"\"b\"\"\"\""));
    EXPECT_EQ(UndoubleChar(u'"', QStringLiteral("a\"\"b\"\"\"c\"")), QStringLiteral("a\"b\"\"c\""));

    struct Case { const char* text; int position; int count; };
    const Case cases[] = {
        {"", 0, 0},
        {"abc", 0, 0},
        {"ab\"c", 3, 1},
        {"a\"\"b\"c", 5, 1},        // the doubled quote is skipped
        {"a\"\"", 3, 1},            // a run at the end counts whatever its length
        {"\"\"\"x", 3, 1},
        {"x\"y\"z\"", 2, 3},
        {"\"\"a\"\"b", 0, 0},
    };
    for (const Case& c : cases) {
        int pos = -1;
        EXPECT_EQ(FindUnpairedChar(u'"', QString::fromLatin1(c.text), pos), c.position) << c.text;
        EXPECT_EQ(pos, c.position) << c.text;
        EXPECT_EQ(CountUnpairedChars(u'"', QString::fromLatin1(c.text)), c.count) << c.text;
    }
}

TEST(RuvOdidText, FirstLineAndLineCount)
{
    struct Case { const char* text; bool keep; const char* line; const char* rest; };
    const Case cases[] = {
        {"one\r\ntwo\r\nthree", true, "one", "two\r\nthree"},
        {"one\rtwo", true, "one", "two"},
        {"one\r\ntwo", false, "one", ""},
        {"single", true, "single", ""},
        {"", true, "", ""},
    };
    for (const Case& c : cases) {
        QString s = QString::fromLatin1(c.text);
        EXPECT_EQ(FirstLine(s, c.keep), QString::fromLatin1(c.line)) << c.text;
        EXPECT_EQ(s, QString::fromLatin1(c.rest)) << c.text;
    }
    EXPECT_EQ(LineCount(QStringLiteral("a\r\nb\r\nc"), true), 3);
    EXPECT_EQ(LineCount(QStringLiteral("a\r\nb\r\nc"), false), 1);
    EXPECT_EQ(LineCount(QString(), true), 1);
    EXPECT_EQ(JoinListStrings({QStringLiteral("a"), QStringLiteral("bc"), QString()}), QStringLiteral("abc"));
}

TEST(RuvOdidNumbers, ClassifyWithCommaThousands)
{
    LocaleScope scope(u'.', u',');
    struct Case { const char* text; int kind; };
    const Case cases[] = {
        {"1,234.5", 1},
        {"1,23,456", 2},      // thousand separators only 3 apart
        {"1,234,567", 1},
        {"-12", 0},
        {"12-", 2},
        {"0", 0},
        {"1.5E-3", 5},
        {"-1.5e-3", 5},
        {"1E", 2},
        {"E5", 2},
        {"1e5e5", 2},
        {"1.2.3", 2},
        {"--1", 2},
        {"", 2},
        {"-", 2},
        {".", 2},
        {"12a", 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyNumberText(QString::fromLatin1(c.text)), c.kind) << c.text;
}

TEST(RuvOdidNumbers, NormalizeWithDecimalComma)
{
    LocaleScope scope(u',', u'.');
    struct Case { const char* text; const char* normal; };
    const Case cases[] = {
        {"(1.234,56)", "-1234.56"},
        {"1.234,56", "1234.56"},
        {"-5", "-5"},
        {"$ 12,5 EUR", "12.5"},
        {"1,5e+3", "1.5e+3"},
        {"12abc", "12"},
        {"", ""},
        {"x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NumberTextNormalize(QString::fromLatin1(c.text)), QString::fromLatin1(c.normal)) << c.text;
}

TEST(RuvOdidNumbers, ClampToLimits)
{
    struct Case { int value, lower, upper, result; };
    const Case cases[] = {
        {50, 10, 10, 50},   // equal limits: no clamping
        {50, 0, 20, 20},
        {5, 10, 20, 10},
        {-5, 0, 20, -5},    // a lower limit of 0 is no limit
        {50, 0, 0, 50},
        {50, 10, 0, 50},    // an upper limit of 0 is no limit
        {15, 10, 20, 15},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampToLimits(c.value, c.lower, c.upper), c.result) << c.value << " " << c.lower << " " << c.upper;
    EXPECT_EQ(MaxInt2(3, -4), 3);
    EXPECT_EQ(MinInt2(3, -4), -4);
}

platform::TDateTime D(int y, int m, int d)
{
    return platform::EncodeDate(y, m, d);
}

TEST(RuvOdidDates, ParseDates)
{
    struct Case { const char* text; bool mdy; platform::TDateTime date; };
    const Case cases[] = {
        {"12/31/99", true, D(1999, 12, 31)},
        {"1/2/25", true, D(2025, 1, 2)},
        {"1/2/26", true, D(1926, 1, 2)},
        {"1/2/2021", true, D(2021, 1, 2)},   // four-digit year as written
        {"3.4.1850", true, D(1850, 3, 4)},
        {"31-12-2021", false, D(2021, 12, 31)},
        {"31.12.99", false, D(1999, 12, 31)},
        {"2/1/0", false, D(2000, 1, 2)},
        {"1/2", true, 0},
        {"a/2/3", true, 0},
        {"", true, 0},
    };
    for (const Case& c : cases) {
        const QString s = QString::fromLatin1(c.text);
        EXPECT_EQ(c.mdy ? ParseDateMDY(s) : ParseDateDMY(s), c.date) << c.text;
    }
    EXPECT_THROW(ParseDateMDY(QStringLiteral("2/30/2021")), platform::EConvertError);
    EXPECT_THROW(ParseDateDMY(QStringLiteral("1/13/2021")), platform::EConvertError);
}

TEST(RuvOdidDates, HasTwoSeparators)
{
    LocaleScope scope(u'.', u',', u'/');
    EXPECT_TRUE(HasTwoSeparators(QStringLiteral("1/2/3")));
    EXPECT_FALSE(HasTwoSeparators(QStringLiteral("1//3")));
    EXPECT_FALSE(HasTwoSeparators(QStringLiteral("/2/3")));
    EXPECT_FALSE(HasTwoSeparators(QStringLiteral("1/23")));
}

TEST(RuvOdidDates, DateAddParts)
{
    struct Case { short y, m, d; double fallback; platform::TDateTime from, to; };
    const Case cases[] = {
        {0, 0, 10, 0, D(2021, 1, 25), D(2021, 2, 4)},
        {0, 0, -25, 0, D(2021, 1, 25), D(2020, 12, 31)},
        {2, 0, 0, 0, D(2021, 3, 15), D(2023, 3, 15)},
        {0, 1, 0, 0, D(2021, 1, 31), D(2021, 2, 28)},      // day kept to the month's end
        {0, 1, 0, 0, D(2020, 1, 31), D(2020, 2, 29)},
        {0, -1, 0, 0, D(2021, 1, 15), D(2020, 12, 15)},
        {0, 12, 0, 0, D(2021, 5, 15), D(2022, 5, 15)},
        {0, 30, 0, 0, D(2021, 11, 30), D(2024, 5, 30)},     // across several years
        {0, -25, 0, 0, D(2021, 3, 31), D(2019, 2, 28)},
        {1, 1, 0, 7, D(2021, 1, 1), D(2021, 1, 8)},         // a mix: the fallback step
        {0, 0, 0, 3, D(2021, 1, 1), D(2021, 1, 4)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateAddParts(c.y, c.m, c.d, c.fallback, c.from), c.to) << c.y << " " << c.m << " " << c.d;
    // The time of day stays.
    EXPECT_DOUBLE_EQ(DateAddParts(0, 1, 0, 0, D(2021, 1, 31) + 0.25), D(2021, 2, 28) + 0.25);
    EXPECT_THROW(DateAddParts(1, 0, 0, 0, D(2020, 2, 29)), platform::EConvertError);
}

TEST(RuvOdidSearch, PositionsAndTokens)
{
    int p = 99;
    EXPECT_EQ(CharPos(u'b', QStringLiteral("abc"), p), 2);
    EXPECT_EQ(p, 2);
    EXPECT_EQ(CharPos(u'z', QStringLiteral("abc"), p), 0);
    EXPECT_EQ(p, 2);  // untouched when absent
    EXPECT_EQ(CharPosOf(u'c', QStringLiteral("abc")), 3);
    EXPECT_EQ(PosNoCase(QStringLiteral("BC"), QStringLiteral("abc")), 2);
    EXPECT_EQ(PosWithIndex(QStringLiteral("x"), QStringLiteral("abc"), p), 0);
    EXPECT_EQ(p, 0);
    EXPECT_EQ(WidePos(QStringLiteral("c"), QStringLiteral("abc")), 3);
    EXPECT_EQ(SubTextCount(u'a', QStringLiteral("banana")), 3);

    QString s = QStringLiteral("key=value=x");
    EXPECT_EQ(CutFirstToken(s, QStringLiteral("=")), QStringLiteral("key"));
    EXPECT_EQ(s, QStringLiteral("value=x"));
    EXPECT_EQ(CutFirstToken(s, QStringLiteral(";")), QString());
    EXPECT_EQ(s, QStringLiteral("value=x"));

    QString f = QStringLiteral("secret");
    FillWithChar(f, u'*');
    EXPECT_EQ(f, QStringLiteral("******"));

    const TRect g(1, 2, 3, 4);
    EXPECT_TRUE(PointInGridRect(g, 1, 2));
    EXPECT_TRUE(PointInGridRect(g, 3, 4));
    EXPECT_FALSE(PointInGridRect(g, 4, 4));
    EXPECT_FALSE(PointInGridRect(g, 0, 3));
}

TEST(RuvOdidSearch, CellReference)
{
    struct Case { const char* text; bool ok; int col, row; };
    const Case cases[] = {
        {"R12C3", true, 3, 12},
        {"r1c10", true, 10, 1},
        {"R1C", false, 0, 0},
        {"RC12", false, 0, 0},
        {"X1C2", false, 0, 0},
        {"R1X2", false, 0, 0},
        {"R1Cx", false, 0, 0},
    };
    for (const Case& c : cases) {
        TPoint cell(-1, -1);
        EXPECT_EQ(ParseCellReference(QString::fromLatin1(c.text), cell), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(cell, TPoint(c.col, c.row)) << c.text;
        }
    }
}

TEST(RuvOdidSearch, Urls)
{
    EXPECT_TRUE(IsUrl(QStringLiteral("see http://x.org")));
    EXPECT_TRUE(IsUrl(QStringLiteral("mailto:a@b.c")));
    EXPECT_FALSE(IsUrl(QStringLiteral("www.x.org")));
    QString u = QStringLiteral("https://x.org/a");
    StripUrlScheme(u);
    EXPECT_EQ(u, QStringLiteral("x.org/a"));
    u = QStringLiteral("mailto:a@b.c");
    StripUrlScheme(u);
    EXPECT_EQ(u, QStringLiteral("a@b.c"));

    QString out = QStringLiteral("unchanged");
    EXPECT_FALSE(TextUrlsToAnchors(QStringLiteral("no link"), QStringLiteral("HTTP://"), out));
    EXPECT_EQ(out, QStringLiteral("unchanged"));
    EXPECT_TRUE(TextUrlsToAnchors(QStringLiteral("a<b> see Http://x.org/p_1?q and http://y"),
                                  QStringLiteral("HTTP://"), out));
    EXPECT_EQ(out, QStringLiteral("a&lt;b&gt; see <a href=\"Http://x.org/p_1\">Http://x.org/p_1</a>?q and http://y"));
    EXPECT_TRUE(TextUrlsToAnchors(QStringLiteral("www.x.org<br>"), QStringLiteral("WWW."), out));
    EXPECT_EQ(out, QStringLiteral("<a href=\"www.x.org\">www.x.org</a>&lt;br&gt;"));
}

TEST(RuvOdidText, ProperCase)
{
    struct Case { const char* text; const char* proper; };
    const Case cases[] = {
        {"mcdonald iii", "McDonald III"},
        {"john mcenroe", "John McEnroe"},
        {"henry viii", "Henry Viii"},
        {"louis ii", "Louis II"},
        {"HELLO wORLD", "Hello World"},
        {"o'neil-smith,jr.x", "O'Neil-Smith,Jr.X"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProperCaseText(QString::fromLatin1(c.text)), QString::fromLatin1(c.proper)) << c.text;
}

} // namespace

// ---- drawing helpers ----

namespace {

TColor At(TBitmap& b, int x, int y)
{
    return FromQColor(b.Image().pixelColor(x, y));
}

TBitmap White(int w, int h)
{
    TBitmap b(w, h);
    b.Canvas().Brush().SetColor(clWhite);
    b.Canvas().FillRect(TRect(0, 0, w, h));
    return b;
}

TEST(RuvOdidDraw, GradientRectEdges)
{
    TBitmap b = White(11, 3);
    DrawGradientRect(b.Canvas(), clBlack, clWhite, true, TRect(0, 0, 11, 3), 256);
    EXPECT_EQ(At(b, 0, 1), clBlack);
    EXPECT_EQ(At(b, 10, 1), clWhite);
    for (int x = 1; x < 11; ++x)  // one stripe per pixel, brighter each time
        EXPECT_GT(GetRValue(At(b, x, 1)), GetRValue(At(b, x - 1, 1))) << x;

    TBitmap v = White(4, 20);
    DrawGradientRect(v.Canvas(), 0x0000FF, 0xFF0000, false, TRect(0, 20, 4, 0), 4);  // inverted: swapped
    EXPECT_EQ(At(v, 1, 0), 0x0000FF);
    EXPECT_EQ(At(v, 1, 19), 0xFF0000);

    TBitmap s = White(5, 5);
    DrawGradientRect(s.Canvas(), clNone, 0x00FF00, true, TRect(0, 0, 5, 5), 16);
    EXPECT_EQ(At(s, 0, 0), 0x00FF00);
    EXPECT_EQ(At(s, 4, 4), 0x00FF00);
    TBitmap one = White(1, 1);  // no length: no division by zero
    DrawGradientRect(one.Canvas(), clBlack, clWhite, true, TRect(0, 0, 1, 1), 0);
    EXPECT_EQ(At(one, 0, 0), clWhite);
}

TEST(RuvOdidDraw, ColourArithmetic)
{
    struct Case { TColor color; int percent; TColor shaded; };
    const Case cases[] = {
        {0xC8C8C8, 50, 0xFFFFFF},   // clamped, not wrapped
        {0x646464, 50, 0x969696},
        {0xC8C8C8, -50, 0x646464},
        {0x102030, -200, 0x000000},
        {clBtnFace, 0, 0xF0F0F0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShadeColor(c.color, c.percent), c.shaded) << std::hex << c.color << " " << std::dec << c.percent;
    EXPECT_EQ(HalfColor(0xFF8001), 0x7F4000);
    EXPECT_EQ(HalfColor(clWhite), 0x7F7F7F);
    EXPECT_EQ(BlendColorStep(0x000000, clNone, 0, 5, 10), 0x000000);
    EXPECT_EQ(BlendColorStep(0x000000, 0xC8C8C8, 0, 5, 10), 0x646464);
    EXPECT_EQ(BlendColorStep(0x000000, 0xC8C8C8, 0, 10, 10), 0xC8C8C8);
    EXPECT_EQ(BlendColorStep(0x102030, 0xC8C8C8, 4, 4, 4), 0x102030);  // empty span
}

TEST(RuvOdidDraw, CellShapes)
{
    // A circle in 30 x 20 is a 20 x 20 circle.
    TBitmap b = White(40, 30);
    DrawCellShape(b.Canvas(), 0, 0, clBlack, clRed, csCircle, 20, 30);
    EXPECT_EQ(At(b, 10, 10), clRed);
    EXPECT_EQ(At(b, 25, 10), clWhite);
    // Every shape draws inside its box; a shape number past the last draws nothing.
    for (int shape = csRectangle; shape <= csHalfStar + 1; ++shape) {
        TBitmap s = White(30, 30);
        DrawCellShape(s.Canvas(), 5, 5, clBlack, clRed, shape, 16, 16);
        int inked = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                if (At(s, x, y) != clWhite) {
                    ++inked;
                    EXPECT_TRUE(x >= 5 && x <= 21 && y >= 5 && y <= 21) << shape << " at " << x << "," << y;
                }
        if (shape <= csHalfStar)
            EXPECT_GT(inked, 0) << shape;
        else
            EXPECT_EQ(inked, 0);
    }
}

// Width of the run of `color` along row y from the left edge of r.
int RunFrom(TBitmap& b, int x0, int y, TColor color)
{
    int x = x0;
    while (x < b.Width() && At(b, x, y) == color)
        ++x;
    return x - x0;
}

TEST(RuvOdidDraw, ProgressBar)
{
    struct Case { const char* format; double min, max, value; int donePixels; };
    const Case cases[] = {
        {"%d", 0, 200, 150, 75},
        {"", 0, 100, 120, 100},      // no format: the value is the percentage, kept to 100
        {"", 0, 100, -5, 0},
        {"%d %s", 0, 100, 40, 40},   // a format wanting two arguments still draws
        {"%.1f", 10, 10, 10, 100},   // empty range: no division by zero
    };
    for (const Case& c : cases) {
        TBitmap b = White(120, 20);
        b.Canvas().Font().SetColor(clBlack);
        DrawProgressBar(b.Canvas(), TRect(10, 0, 110, 20), clBlue, clBlue, 0x00FF00, 0x00FF00, clNone,
                        QString::fromLatin1(c.format), c.min, c.max, c.value, 0, 0, false);
        // The text is drawn in the part's own colour, so the part's row is one colour.
        EXPECT_EQ(RunFrom(b, 10, 10, clBlue), c.donePixels) << c.format << " " << c.value;
    }
}

TEST(RuvOdidDraw, LevelBarStackedSegments)
{
    TLevelBarAppearance a;
    a.Stacked = true;
    a.ShowGradient = false;
    a.ShowPercentage = false;
    a.Level1Perc = 30;
    a.Level2Perc = 70;
    a.Level0Color = 0x0000FF;
    a.Level1Color = 0x00FF00;
    a.Level2Color = 0x00FFFF;
    a.Level3Color = 0xFF0000;
    a.UnCompleteColor = clWhite;
    TBitmap b = White(102, 10);  // L = 100
    DrawLevelProgressBar(b.Canvas(), TRect(0, 0, 102, 10), 80, a);
    EXPECT_EQ(RunFrom(b, 1, 5, 0x0000FF), 30);
    EXPECT_EQ(RunFrom(b, 31, 5, 0x00FF00), 40);
    EXPECT_EQ(RunFrom(b, 71, 5, 0xFF0000), 10);  // level 3 colours, not level 2
    EXPECT_EQ(At(b, 81, 5), clWhite);
}

TEST(RuvOdidDraw, TabShapeAndSmallArrow)
{
    TBitmap b = White(40, 20);
    DrawTabShape(b.Canvas(), 0xD7FFFD, 0x58D4FC, 0x58D4FC, 0xB3F1FC, 0xF4FEFF, 0xCAF8FF, 0x8DD7D3, 0xC3D9DF,
                 0x123456, TRect(0, 0, 40, 20), 0);
    EXPECT_EQ(At(b, 0, 0), 0x123456);    // outer corner
    EXPECT_EQ(At(b, 1, 0), 0xC3D9DF);    // corner pixel
    EXPECT_EQ(At(b, 10, 0), 0x8DD7D3);   // outer line
    EXPECT_EQ(At(b, 10, 1), 0xF4FEFF);   // upper inner line
    EXPECT_EQ(At(b, 0, 8), 0x8DD7D3);    // rounded left side
    EXPECT_EQ(At(b, 10, 2), 0xD7FFFD);   // fill starts with its first colour

    TBitmap a = White(10, 10);
    DrawSmallArrow(a.Canvas(), 5, 2, clRed);
    EXPECT_EQ(At(a, 5, 3), clRed);
    EXPECT_EQ(At(a, 5, 7), clWhite);
}

TEST(RuvOdidDraw, PieAndCentredBar)
{
    TBitmap pie = White(21, 21);
    DrawPieValue(pie.Canvas(), TRect(0, 0, 21, 21), clRed, false, 25);
    EXPECT_EQ(At(pie, 15, 6), clRed);     // the first quarter, clockwise from the top
    EXPECT_EQ(At(pie, 5, 6), clWhite);
    EXPECT_EQ(At(pie, 15, 15), clWhite);

    TBitmap bar = White(44, 10);
    DrawCenteredValueBar(bar.Canvas(), TRect(0, 0, 44, 10), -50, clBlue, clRed, false, 100);
    EXPECT_EQ(At(bar, 21, 5), clRed);     // left of the centre
    EXPECT_EQ(At(bar, 25, 5), clWhite);
    TBitmap none = White(44, 10);
    DrawCenteredValueBar(none.Canvas(), TRect(0, 0, 44, 10), 5, clBlue, clRed, false, 0);  // no maximum
    EXPECT_EQ(At(none, 22, 5), clWhite);
}

TEST(RuvOdidDraw, ThemedPartsWithTones)
{
    TColorTones tones;
    tones.Background = {0x00FF00, 0x0000FF, clBlack};
    tones.Hover = {0xFFFF00, 0x0000FF, clBlack};
    TBitmap b = White(40, 20);
    DrawThemedButton(b.Canvas(), nullptr, TRect(0, 0, 40, 20), tones, 1, 3);
    EXPECT_EQ(At(b, 10, 10), 0xFFFF00);
    EXPECT_EQ(At(b, 0, 10), 0x0000FF);
    // Without visual styles, kind 0 takes the classic look instead of failing.
    TBitmap c = White(40, 20);
    DrawThemedComboButton(c.Canvas(), nullptr, TRect(0, 0, 40, 20), tones, 0, 0);
    EXPECT_NE(At(c, 30, 10), clWhite);
    EXPECT_FALSE(CallSetLayeredWindowAttributes(nullptr, clNone, 128, LWA_ALPHA));
}

TEST(RuvOdidText, OemConversions)
{
    QString s = QString::fromUtf16(u"\u00c4rger");
    AnsiToOemText(s);
    EXPECT_EQ(s[0].unicode(), 0x017D);  // OEM byte $8E read as a system code page character
    OemToAnsiText(s);
    EXPECT_EQ(s, QString::fromUtf16(u"\u00c4rger"));
}

} // namespace
