#include "platform/StringList.h"
#include "platform/SysUtils.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace platform;

namespace {

TStringList ListOf(const QStringList& items)
{
    TStringList l;
    l.Assign(items);
    return l;
}

} // namespace

TEST(StringList, SortedAddUnderEachDuplicatesRule)
{
    struct Case {
        TDuplicates dup;
        bool raises;
        int count;
        int index;  // what Add("b") answers
    };
    const Case cases[] = {{dupIgnore, false, 3, 1}, {dupAccept, false, 4, 1}, {dupError, true, 3, -1}};
    for (const Case& c : cases) {
        TStringList l;
        l.SetSorted(true);
        l.SetDuplicates(c.dup);
        l.Add("c");
        l.Add("a");
        l.Add("B");
        if (c.raises) {
            EXPECT_THROW(l.Add("b"), EStringListError);
        } else {
            EXPECT_EQ(l.Add("b"), c.index);
        }
        EXPECT_EQ(l.Count(), c.count);
        EXPECT_EQ(l.Strings(0), "a");
        EXPECT_EQ(l.Strings(l.Count() - 1), "c");
    }
    TStringList l;
    l.SetSorted(true);
    l.Add("m");
    EXPECT_THROW(l.Insert(0, "a"), EStringListError);
    EXPECT_THROW(l.SetStrings(0, "a"), EStringListError);
    int at = -1;
    EXPECT_FALSE(l.Find("z", at));
    EXPECT_EQ(at, 1);
    EXPECT_EQ(l.IndexOf("M"), 0);  // case ignored by default
}

TEST(StringList, SortMatchesTheComparisonOnAnyInput)
{
    std::mt19937 rng(7);
    QStringList words;
    for (int i = 0; i < 300; ++i)
        words << QString::number(rng() % 60, 36) + (rng() % 2 ? "a" : "A");
    for (bool caseSensitive : {false, true}) {
        TStringList l = ListOf(words);
        l.SetCaseSensitive(caseSensitive);
        l.Sort();
        ASSERT_EQ(l.Count(), words.size());
        for (int i = 1; i < l.Count(); ++i)
            EXPECT_LE(l.CompareStrings(l.Strings(i - 1), l.Strings(i)), 0) << i;
        QStringList sorted = l.ToStringList(), orig = words;
        std::sort(sorted.begin(), sorted.end());
        std::sort(orig.begin(), orig.end());
        EXPECT_EQ(sorted, orig);  // nothing lost or doubled
    }
    // Objects travel with their strings.
    TStringList l;
    int one = 1, two = 2;
    l.AddObject("z", &one);
    l.AddObject("y", &two);
    l.SetSorted(true);
    EXPECT_EQ(l.Objects(0), &two);
    EXPECT_EQ(l.IndexOfObject(&one), 1);
}

TEST(StringList, CommaAndDelimitedText)
{
    struct Case {
        QStringList items;
        const char* text;
    };
    const Case written[] = {
        {{"a", "b c", "", "d\"e"}, "a,\"b c\",,\"d\"\"e\""},
        {{""}, "\"\""},
        {{}, ""},
        {{"x,y", "z"}, "\"x,y\",z"},
    };
    for (const Case& c : written)
        EXPECT_EQ(ListOf(c.items).CommaText(), QString::fromLatin1(c.text)) << c.text;

    const Case read[] = {
        {{"a", "b c", "d"}, "a, \"b c\" ,d"},
        {{"a", ""}, "a,"},
        {{"a", "b"}, "a b"},
        {{"d\"e", "x"}, "\"d\"\"e\",x"},
        {{"open"}, "\"open"},
        {{"", "a"}, ",a"},
        {{}, "   "},
    };
    for (const Case& c : read) {
        TStringList l;
        l.SetCommaText(QString::fromLatin1(c.text));
        EXPECT_EQ(l.ToStringList(), c.items) << c.text;
    }

    TStringList l;
    l.SetDelimiter(';');
    l.SetStrictDelimiter(true);
    l.SetDelimitedText(" a b ;c");
    EXPECT_EQ(l.ToStringList(), QStringList({" a b ", "c"}));
    EXPECT_EQ(l.DelimitedText(), " a b ;c");
}

TEST(StringList, NamesValuesAndText)
{
    TStringList l;
    l.SetText("Port=10\r\nHost=a=b\nFlag\rEnd=");
    ASSERT_EQ(l.Count(), 4);
    EXPECT_EQ(l.Names(1), "Host");
    EXPECT_EQ(l.Values("host"), "a=b");
    EXPECT_EQ(l.Names(2), "");
    EXPECT_EQ(l.ValueFromIndex(2), "");  // no separator: no value, nothing cut off
    EXPECT_EQ(l.Values("Missing"), "");
    l.SetValues("Port", "11");
    l.SetValues("New", "1");
    l.SetValues("End", "");
    EXPECT_EQ(l.Text(), "Port=11\r\nHost=a=b\r\nFlag\r\nNew=1\r\n");
    l.SetText("a\r\n\r\nb\r\n");
    EXPECT_EQ(l.ToStringList(), QStringList({"a", "", "b"}));

    try {
        l.Strings(3);
        FAIL();
    } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (3)");
    }
    l.Move(0, 2);
    EXPECT_EQ(l.ToStringList(), QStringList({"", "b", "a"}));
    l.Exchange(0, 2);
    EXPECT_EQ(l.ToStringList(), QStringList({"a", "b", ""}));
}

TEST(StringList, ChangeEventsAndUpdates)
{
    TStringList l;
    int changing = 0, changed = 0;
    l.OnChanging = [&] { ++changing; };
    l.OnChange = [&] {
        ++changed;
        EXPECT_EQ(changing, changed);  // always paired, changing first
    };
    l.Add("a");
    l.Delete(0);
    EXPECT_EQ(changed, 2);
    l.BeginUpdate();
    l.Add("x");
    l.Add("y");
    l.BeginUpdate();
    l.Clear();
    l.EndUpdate();
    EXPECT_EQ(changed, 2);
    l.EndUpdate();
    EXPECT_EQ(changed, 3);
    l.SetCommaText("a,b,c");
    EXPECT_EQ(changed, 4);
}

TEST(StringList, FilesRoundTripAndBadPaths)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("list.txt");
    const QStringList items = {QString::fromUtf8("Grüße €"), "", "last"};
    struct Case {
        TTextEncoding enc;
        QByteArray head;
    };
    const Case cases[] = {
        {TTextEncoding::Default, QByteArray("Gr\xFC\xDF" "e \x80\r\n", 9)},
        {TTextEncoding::UTF8, "\xEF\xBB\xBFGr"},
        {TTextEncoding::Unicode, QByteArray("\xFF\xFEG\0", 4)},
    };
    for (const Case& c : cases) {
        ListOf(items).SaveToFile(path, c.enc);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        EXPECT_TRUE(bytes.startsWith(c.head)) << bytes.toHex().constData();
        EXPECT_TRUE(bytes.endsWith(QByteArray("last\r\n")) || bytes.endsWith(QByteArray("l\0a\0s\0t\0\r\0\n\0", 12)));
        TStringList back;
        back.LoadFromFile(path);  // the byte-order mark decides
        EXPECT_EQ(back.ToStringList(), items);
    }
    // A failed save leaves the old file; a missing file raises on load.
    EXPECT_THROW(ListOf(items).SaveToFile(dir.filePath("no/such/dir/x.txt")), EFCreateError);
    TStringList l;
    l.Add("keep");
    EXPECT_THROW(l.LoadFromFile(dir.filePath("missing.txt")), EFOpenError);
    EXPECT_EQ(l.Count(), 1);
}
