#include "platform/ScriptedServices.h"
#include "platform/SysUtils.h"

#include <QLocale>

#include <gtest/gtest.h>
#include <climits>
#include <cmath>
#include <limits>

using namespace platform;

namespace {

// Sets the program's locale settings for one test and puts the old ones back.
class SettingsScope {
public:
    explicit SettingsScope(const TFormatSettings& fs) : FOld(FormatSettings()) { FormatSettings() = fs; }
    ~SettingsScope() { FormatSettings() = FOld; }

private:
    TFormatSettings FOld;
};

TFormatSettings CommaDecimal()
{
    TFormatSettings fs = TFormatSettings::Invariant();
    fs.DecimalSeparator = ',';
    fs.ThousandSeparator = '.';
    fs.DateSeparator = '.';
    fs.ShortDateFormat = "dd.mm.yyyy";
    return fs;
}

} // namespace

TEST(SysUtils, NumberParser)
{
    struct Case {
        const char* text;
        int expected;  // -777 stands for "the default"
    };
    const Case cases[] = {
        {"5", 5}, {" 5", 5}, {"   -12", -12}, {"+7", 7}, {"5 ", -777}, {"", -777}, {" ", -777},
        {"$1F", 31}, {"x1F", 31}, {"0x1F", 31}, {"0X1f", 31}, {"X1f", 31}, {"-$10", -16},
        {"$FFFFFFFF", -1}, {"$80000000", INT_MIN}, {"$100000000", -777},
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", -777}, {"99999999999", -777},
        {"$", -777}, {"0x", -777}, {"x", -777}, {"-", -777}, {"1a", -777}, {"1.5", -777}, {"$G", -777},
        {"007", 7}, {"1 2", -777},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StrToIntDef(QString::fromLatin1(c.text), -777), c.expected) << '"' << c.text << '"';

    int v = 99;
    EXPECT_FALSE(TryStrToInt("abc", v));
    EXPECT_EQ(v, 99);  // untouched on failure
    EXPECT_EQ(StrToInt(" $A"), 10);
    try {
        StrToInt("12x");
        FAIL() << "no error raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("'12x' is not a valid integer value"));
    }
    int64_t big = 0;
    EXPECT_TRUE(TryStrToInt64("99999999999", big));
    EXPECT_EQ(big, 99999999999LL);
}

TEST(SysUtils, RoundingAndMulDiv)
{
    const std::pair<double, int64_t> rounds[] = {
        {2.5, 2}, {3.5, 4}, {0.5, 0}, {1.5, 2}, {-2.5, -2}, {-3.5, -4}, {2.4, 2}, {2.6, 3}, {-2.6, -3}, {7.0, 7},
    };
    for (const auto& [in, out] : rounds)
        EXPECT_EQ(Round(in), out) << in;
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_EQ(Trunc(2.7), 2);
    EXPECT_EQ(-7 / 2, -3);  // the design's div truncates toward zero, as C++ does

    struct Case {
        int a, b, c, expected;
    };
    const Case cases[] = {
        {10, 3, 4, 8},   {-10, 3, 4, -8}, {10, -3, 4, -8}, {-10, -3, 4, 8}, {7, 1, 2, 4}, {-7, 1, 2, -4},
        {1, 1, 3, 0},    {5, 5, 0, -1},   {INT_MAX, 2, 1, -1}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {96, 120, 96, 120},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(SysUtils, FormatSpecifiers)
{
    SettingsScope scope(TFormatSettings::Invariant());
    struct Case {
        const char* fmt;
        std::vector<FormatArg> args;
        const char* expected;
    };
    const Case cases[] = {
        {"%d", {42}, "42"},
        {"[%5d]", {42}, "[   42]"},
        {"[%-5d]", {42}, "[42   ]"},
        {"%.4d", {42}, "0042"},
        {"%.4d", {-42}, "-0042"},
        {"%u", {-1}, "4294967295"},
        {"%x", {255}, "FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%.4x", {255}, "00FF"},
        {"%s and %s", {"a", QStringLiteral("b")}, "a and b"},
        {"%.2s", {"abc"}, "ab"},
        {"[%8.3f]", {3.14159}, "[   3.142]"},
        {"%f", {2.0}, "2.00"},
        {"%f", {2}, "2.00"},
        {"%.2f", {0.125}, "0.13"},
        {"%.0f", {2.5}, "3"},
        {"%.2f", {-0.001}, "0.00"},
        {"%g", {0.1}, "0.1"},
        {"%g", {100.0}, "100"},
        {"%g", {1e20}, "1E20"},
        {"%g", {1.5e-7}, "1.5E-7"},
        {"%g", {0.0001}, "0.0001"},
        {"%g", {-2.5}, "-2.5"},
        {"%g", {1.0 / 3.0}, "0.333333333333333"},
        {"%e", {1.5}, "1.50000000000000E+000"},
        {"%.3e", {-12345.678}, "-1.23E+004"},
        {"%n", {1234567.891}, "1,234,567.89"},
        {"%.0n", {999.5}, "1,000"},
        {"%m", {-3.5}, "-$3.50"},
        {"100%%", {}, "100%"},
        {"%1:s %0:s %s", {"a", "b"}, "b a b"},
        {"[%*d]", {5, 42}, "[   42]"},
        {"%d%%", {5}, "5%"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(QString::fromLatin1(c.fmt), c.args.data(), int(c.args.size())), QString::fromUtf8(c.expected))
            << c.fmt;

    // A width from the arguments is bounded like one in digits, not taken as billions of blanks.
    EXPECT_EQ(Format("%-*g", {int64_t(0x7FFFFFFF), 2.5}).size(), 100000);
    EXPECT_EQ(Format("%*d", {int64_t(-0x7FFFFFFFLL - 5), 7}), "7");

    const TFormatSettings comma = CommaDecimal();
    EXPECT_EQ(Format("%.2f", {1.5}, comma), "1,50");
    EXPECT_EQ(Format("%n", {1234.5}, comma), "1.234,50");
    EXPECT_EQ(Format("%g", {0.5}, comma), "0,5");
}

TEST(SysUtils, FormatMismatchRaisesInsteadOfReadingGarbage)
{
    struct Case {
        const char* fmt;
        std::vector<FormatArg> args;
    };
    const Case cases[] = {
        {"%d", {"x"}}, {"%s", {5}}, {"%d", {}}, {"%d %d", {1}}, {"%y", {5}}, {"abc%", {1}}, {"%d", {1.5}},
        {"%5:d", {1}}, {"%n", {"1"}},
    };
    for (const Case& c : cases) {
        try {
            Format(QString::fromLatin1(c.fmt), c.args.data(), int(c.args.size()));
            ADD_FAILURE() << "no error for " << c.fmt;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Format '%1' invalid or incompatible with argument").arg(c.fmt));
        }
    }
}

TEST(SysUtils, FloatTextBothWays)
{
    const TFormatSettings dot = TFormatSettings::Invariant();
    const TFormatSettings comma = CommaDecimal();
    struct Case {
        const char* text;
        bool commaSettings;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"1.5", false, true, 1.5},  {" 1.5 ", false, true, 1.5}, {"-.5", false, true, -0.5},
        {"+2.", false, true, 2.0},  {"1e3", false, true, 1000},  {"2.5E-2", false, true, 0.025},
        {"1,5", false, false, 0},   {"1,5", true, true, 1.5},    {"1.5", true, false, 0},
        {"1E", false, false, 0},    {".", false, false, 0},      {"", false, false, 0},
        {"1.5.2", false, false, 0}, {"1 000", false, false, 0},  {"1e999", false, false, 0},
        {"abc", false, false, 0},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(TryStrToFloat(QString::fromLatin1(c.text), v, c.commaSettings ? comma : dot), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(v, c.value) << c.text;
        }
    }
    EXPECT_THROW(StrToFloat("x", dot), EConvertError);

    EXPECT_EQ(FloatToStr(1.5, dot), "1.5");
    EXPECT_EQ(FloatToStr(1.5, comma), "1,5");
    EXPECT_EQ(FloatToStr(0.1 + 0.2, dot), "0.3");
    EXPECT_EQ(FloatToStr(123456789012345678.0, dot), "1.23456789012346E17");
    EXPECT_EQ(FloatToStr(0.00001, dot), "1E-5");
    EXPECT_EQ(FloatToStr(0, dot), "0");
}

TEST(SysUtils, DatesUnderTheSettings)
{
    ScriptedServices services;  // "now" is 15 January 2024, 12:00
    ScopedServices scope(services);
    const TFormatSettings dmy = CommaDecimal();
    TFormatSettings mdy = TFormatSettings::Invariant();

    const TDateTime d = EncodeDate(2024, 1, 15);
    EXPECT_DOUBLE_EQ(d, 45306.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(Date(), d);
    EXPECT_EQ(DayOfWeek(d), 2);  // a Monday
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);

    const TDateTime dt = d + EncodeTime(13, 5, 9, 0);
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", dt, dmy), "2024.01.15 13:05:09");
    EXPECT_EQ(FormatDateTime("d mmm yy, h:mm am/pm", dt, mdy), "15 Jan 24, 1:05 pm");
    EXPECT_EQ(DateToStr(d, dmy), "15.01.2024");
    EXPECT_EQ(DateToStr(d, mdy), "1/15/2024");
    EXPECT_EQ(TimeToStr(dt, mdy), "13:05:09");

    struct Case {
        const char* text;
        bool dmyOrder;
        bool ok;
        int y, m, dd;
    };
    const Case cases[] = {
        {"15.01.2024", true, true, 2024, 1, 15}, {" 3.2.2020 ", true, true, 2020, 2, 3},
        {"1/15/2024", false, true, 2024, 1, 15}, {"15.1", true, true, 2024, 1, 15},
        {"1.1.30", true, true, 2030, 1, 1},      {"1.1.99", true, true, 1999, 1, 1},
        {"31.02.2024", true, false, 0, 0, 0},    {"15/01/2024", true, false, 0, 0, 0},
        {"a.b.c", true, false, 0, 0, 0},         {"", true, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        TDateTime v = 0;
        EXPECT_EQ(TryStrToDate(QString::fromLatin1(c.text), v, c.dmyOrder ? dmy : mdy), c.ok) << c.text;
        if (c.ok) {
            int y = 0, m = 0, day = 0;
            DecodeDate(v, y, m, day);
            EXPECT_EQ(y * 10000 + m * 100 + day, c.y * 10000 + c.m * 100 + c.dd) << c.text;
        }
    }
    EXPECT_THROW(StrToDate("31.02.2024", dmy), EConvertError);

    TDateTime t = 0;
    ASSERT_TRUE(TryStrToTime("1:05 PM", t, mdy));
    EXPECT_EQ(FormatDateTime("hh:nn", t, mdy), "13:05");
    ASSERT_TRUE(TryStrToTime("12:00:30 am", t, mdy));
    EXPECT_EQ(FormatDateTime("hh:nn:ss", t, mdy), "00:00:30");
    EXPECT_FALSE(TryStrToTime("25:00", t, mdy));
    EXPECT_FALSE(TryStrToTime("13:05 PM", t, mdy));
}

// Every letter of a date-time format at each of its lengths; m after an hour stands for minutes.
TEST(SysUtils, FormatDateTimeLetterRuns)
{
    const TFormatSettings fs = TFormatSettings::Invariant();
    const TDateTime v = EncodeDate(2024, 1, 5) + EncodeTime(0, 4, 7, 8);  // a Friday
    const std::pair<const char*, const char*> cases[] = {
        {"d|dd|ddd|dddd", "5|05|Fri|Friday"},
        {"ddddd", "1/5/2024"},
        {"dddddd", "Friday, January 5, 2024"},
        {"y|yy|yyy|yyyy", "24|24|2024|2024"},
        {"m|mm|mmm|mmmm", "1|01|Jan|January"},
        {"h:m h:mm hh hh:mmm", "0:4 0:04 00 00:Jan"},
        {"n|nn|s|ss|z|zz|zzz", "4|04|7|07|8|8|008"},
        {"t|tt", "0:04|0:04:07"},
        {"h hh am/pm", "12 12 am"},
    };
    for (const auto& [format, text] : cases)
        EXPECT_EQ(FormatDateTime(QString::fromLatin1(format), v, fs), QString::fromLatin1(text)) << format;
}

// The throwing conversions give the value or an error that names the text and what it is not.
TEST(SysUtils, StrToDateAndTimeNameTheBadText)
{
    const TFormatSettings fs = TFormatSettings::Invariant();
    EXPECT_DOUBLE_EQ(StrToDate("1/5/2024", fs), EncodeDate(2024, 1, 5));
    EXPECT_DOUBLE_EQ(StrToTime("3:04 PM", fs), EncodeTime(15, 4, 0, 0));
    EXPECT_DOUBLE_EQ(StrToTime("3:04 a", fs), EncodeTime(3, 4, 0, 0));
    const std::pair<TDateTime (*)(const QString&, const TFormatSettings&), const char*> cases[] = {
        {&StrToDate, "'%2 x' is not a valid date"},
        {&StrToTime, "'%2 x' is not a valid time"},
    };
    for (const auto& [convert, message] : cases) {
        try {
            convert(QStringLiteral("%2 x"), fs);
            ADD_FAILURE() << message;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(message));
        }
    }
}

// Values past what the target type holds raise the conversion error instead of converting to
// whatever the machine gives.
TEST(SysUtils, OutOfRangeConversionsRaise)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value;
        bool fits;
    } integers[] = {
        {1e20, false},  {-1e20, false}, {9223372036854775808.0, false}, {inf, false}, {-inf, false}, {nan, false},
        {-9223372036854775808.0, true}, {9223372036854774784.0, true},  {-1e18, true},
    };
    for (const auto& c : integers) {
        SCOPED_TRACE(c.value);
        if (c.fits) {
            EXPECT_EQ(double(Trunc(c.value)), std::trunc(c.value));
            EXPECT_EQ(double(Round(c.value)), std::trunc(c.value));
        } else {
            EXPECT_THROW(Trunc(c.value), EConvertError);
            EXPECT_THROW(Round(c.value), EConvertError);
        }
    }

    const TFormatSettings fs = TFormatSettings::Invariant();
    const struct {
        double value;
        const char* text;  // nullptr: refused
    } dates[] = {
        {1e13, nullptr},      {-1e13, nullptr}, {inf, nullptr}, {nan, nullptr}, {2958466.0, nullptr},
        {-693594.0, nullptr}, {-693593.0, "Jan 1 0001"},        {2958465.99, "Dec 31 9999"},
    };
    for (const auto& c : dates) {
        SCOPED_TRACE(c.value);
        if (c.text) {
            EXPECT_EQ(FormatDateTime("mmm d yyyy", c.value, fs), c.text);
            continue;
        }
        EXPECT_THROW(FormatDateTime("mmm", c.value, fs), EConvertError);
        EXPECT_THROW(DayOfWeek(c.value), EConvertError);
        int a = 0, b = 0, d = 0, e = 0;
        EXPECT_THROW(DecodeDate(c.value, a, b, d), EConvertError);
        EXPECT_THROW(DecodeTime(c.value, a, b, d, e), EConvertError);
    }
}

TEST(SysUtils, StringHelpers)
{
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft("  a "), "a ");
    EXPECT_EQ(TrimRight("  a "), "  a");
    EXPECT_EQ(UpperCase(QString::fromUtf8("aäz")), QString::fromUtf8("AäZ"));  // only a..z
    EXPECT_EQ(AnsiUpperCase(QString::fromUtf8("aäz")), QString::fromUtf8("AÄZ"));
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(AnsiCompareStr("a", "A"), 0);  // lower case first among equal letters
    EXPECT_LT(AnsiCompareStr("A", "b"), 0);  // but letters decide before case
    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");
    EXPECT_EQ(AnsiDequotedStr("\"a\"\"b\"", '"'), "a\"b");
    EXPECT_EQ(AnsiDequotedStr("\"open", '"'), "\"open");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", true, true), "a-b-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", false, false), "aXb-c");
}

TEST(SysUtils, SettingsFromALocaleKeepDatesNumericAndWhole)
{
    struct Case {
        const char* locale;
        char dec, thousand, dateSep;
        const char* shortDate;
    };
    const Case cases[] = {
        {"de_DE", ',', '.', '.', "dd.mm.yyyy"},
        {"en_US", '.', ',', '/', "m/d/yyyy"},
        {"C", '.', ',', '/', "M/d/yyyy"},  // month names in the short form: numeric defaults
    };
    for (const Case& c : cases) {
        const TFormatSettings fs = TFormatSettings::FromLocale(QLocale(QString::fromLatin1(c.locale)));
        EXPECT_EQ(fs.DecimalSeparator, QChar(c.dec)) << c.locale;
        EXPECT_EQ(fs.ThousandSeparator, QChar(c.thousand)) << c.locale;
        EXPECT_EQ(fs.DateSeparator, QChar(c.dateSep)) << c.locale;
        EXPECT_EQ(fs.ShortDateFormat, QString::fromLatin1(c.shortDate)) << c.locale;
        const TDateTime d = EncodeDate(2024, 3, 5);
        TDateTime back = 0;
        EXPECT_TRUE(TryStrToDate(DateToStr(d, fs), back, fs) && back == d) << c.locale;
    }
}
