// Filter conditions: patterns, comparisons, operators and groups, dates and locale numbers.
#include "render/RuvOdid_Filter.h"

#include <gtest/gtest.h>

namespace {

// Every test starts from fixed settings (M/d/yyyy, "." decimal, "," thousands) and restores the
// program's own afterwards.
class FilterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = platform::FormatSettings();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
    }
    void TearDown() override { platform::FormatSettings() = FSaved; }
    platform::TFormatSettings FSaved;
};

struct Case {
    const char* condition;
    const char* value;
    bool caseSensitive;
    bool expected;
};

void CheckAll(std::initializer_list<Case> cases)
{
    for (const Case& c : cases)
        EXPECT_EQ(MatchFilterCondition(QString::fromUtf8(c.condition), QString::fromUtf8(c.value), c.caseSensitive),
                  c.expected)
            << "condition " << c.condition << " value " << c.value;
}

TEST_F(FilterTest, PatternsAndNegation)
{
    CheckAll({
        {"A*", "Apple", true, true},     {"A*", "apple", true, false},   {"A*", "apple", false, true},
        {"!A*", "Apple", true, false},   {"!A*", "Banana", true, true},  {"??", "ab", true, true},
        {"??", "a", true, false},        {"??", "abc", true, false},     {"a?c", "abc", true, true},
        {"*", "", true, true},           {"*b*", "abc", true, true},     {"*b*", "acd", true, false},
        {"a*b*c", "aXbYc", true, true},  {"a*b*c", "aXcYb", true, false}, {"abc", "abc", true, true},
        {"abc", "abcd", true, false},    {"=abc", "abc", true, true},    {"  a b ", "ab", true, true},
        {"\"a b\"", "a b", true, true},  {"*c", "cc", true, true},       {"a**", "a", true, true},
    });
}

TEST_F(FilterTest, ComparisonsAndOperators)
{
    CheckAll({
        {">10&<20", "15", true, true},   {">10&<20", "20", true, false},  {">=10&<=20", "20", true, true},
        {">=10&<=20", "10", true, true}, {">=10&<=20", "9", true, false}, {">10", "9.5", true, false},
        {">10", "100", true, true},      {"<10|>20", "25", true, true},   {"<10;>20", "15", true, false},
        {"<10^>20", "5", true, true},    {">abc", "abd", true, true},     {">abc", "abb", true, false},
        {">1,000", "1500", true, true},  {"<\"b c\"", "b b", true, true}, {"<\"b c\"", "b d", true, false},
    });
}

TEST_F(FilterTest, GroupsRunLeftToRight)
{
    CheckAll({
        {"(A*|B*)&*x", "Bx", true, true},
        {"(A*|B*)&*x", "Ax1", true, false},
        {"(A*|B*)&*x", "Cx", true, false},
        {"*x&(A*|B*)", "Ax", true, true},
        {"A*|B*&*x", "A1", true, false},   // no precedence: (A* or B*) and *x
        {"(A*|B*", "B1", true, true},      // an unclosed group runs to the end
        {"(A*|(B*", "B1", true, true},
        {"((((((((((A*", "A", true, true},
    });
}

TEST_F(FilterTest, DatesAndLocaleNumbers)
{
    CheckAll({
        {">1/1/2020", "3/5/2021", true, true},
        {">1/1/2020", "12/31/2019", true, false},
        {"<\"3/5/2021 12:00\"", "3/5/2021 10:30", true, true},
        {">\"3/5/2021 10:29:59\"", "3/5/2021 10:30", true, true},
        {">\"3/5/2021 10:31\"", "3/5/2021 10:30", true, false},
    });

    platform::FormatSettings().DecimalSeparator = ',';
    platform::FormatSettings().ThousandSeparator = '.';
    CheckAll({{">10", "9,5", true, false}, {">9", "9,5", true, true}, {"<1.000", "999,9", true, true}});

    platform::FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    platform::FormatSettings().DateSeparator = '.';
    CheckAll({{">01.02.2020", "02.01.2020", true, false}, {">01.02.2020", "01.03.2020", true, true}});
}

TEST_F(FilterTest, ParseDateTimeText)
{
    using platform::TDateTime;
    const struct {
        const char* text;
        bool ok;
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    } cases[] = {
        {"3/5/2021", true, 2021, 3, 5, 0, 0, 0},
        {"3/5/2021 10:30", true, 2021, 3, 5, 10, 30, 0},
        {"3/5/2021 10:30:15", true, 2021, 3, 5, 10, 30, 15},
        {"3/5/2021 24:00", false, 0, 0, 0, 0, 0, 0},
        {"3/5/2021 10:60", false, 0, 0, 0, 0, 0, 0},
        {"3/5/2021 10:30:59", true, 2021, 3, 5, 10, 30, 59},
        {"3/5/2021 10:30:60", false, 0, 0, 0, 0, 0, 0},
        {"12/31/2020 10:30:60", false, 0, 0, 0, 0, 0, 0},
        {"3/5/2021 10:30:61", false, 0, 0, 0, 0, 0, 0},
        {"3/5/2021 1030", false, 0, 0, 0, 0, 0, 0},
        {"13/5/2021", false, 0, 0, 0, 0, 0, 0},
        {"2/32/2021", false, 0, 0, 0, 0, 0, 0},
        {"2/30/2021", false, 0, 0, 0, 0, 0, 0},
        {"3/5", false, 0, 0, 0, 0, 0, 0},
        {"a/5/2021", false, 0, 0, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        TDateTime v = -1;
        ASSERT_EQ(ParseDateTimeText(QString::fromLatin1(c.text), v), c.ok) << c.text;
        if (!c.ok) continue;
        TDateTime d = 0, t = 0;
        ASSERT_TRUE(platform::TryEncodeDate(c.y, c.mo, c.d, d));
        ASSERT_TRUE(platform::TryEncodeTime(c.h, c.mi, c.s, 0, t));
        EXPECT_DOUBLE_EQ(v, d + t) << c.text;
    }
}

TEST_F(FilterTest, HelperRoutines)
{
    int p = -1;
    EXPECT_EQ(FindOperatorOutsideQuotes("\"a&b\"|c", p), QChar(u'|'));
    EXPECT_EQ(p, 6);
    EXPECT_TRUE(FindOperatorOutsideQuotes("abc", p).isNull());
    EXPECT_EQ(p, 0);
    EXPECT_EQ(MatchingParenPos("(a(b)c)d"), 7);
    EXPECT_EQ(MatchingParenPos("(a(b)"), 0);
    EXPECT_EQ(RemoveBlanksOutsideQuotes(" a \" b \" c"), "a\" b \"c");
    EXPECT_EQ(NormalizeDecimalText("1,234.5x"), "1234.5x");
}

TEST_F(FilterTest, LongStarPatternsFinishAtOnce)
{
    // Many stars against a long text that almost matches: a backtracking matcher needs longer
    // than the age of the universe here.
    QString pattern;
    for (int i = 0; i < 2000; ++i) pattern += "*a";
    pattern += "*b";
    const QString value(20000, u'a');
    EXPECT_FALSE(MatchFilterCondition(pattern, value, true));
    EXPECT_TRUE(MatchFilterCondition(pattern, value + "b", true));
    EXPECT_FALSE(MatchFilterCondition(pattern, QString(1999, u'a') + "b", true));

    QString deep(5000, u'(');
    EXPECT_TRUE(MatchFilterCondition(deep + "A*", "A", true));
}

} // namespace
