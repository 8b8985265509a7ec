// The row filter: conditions against cell texts, how conditions combine, filter levels with
// FilterActive and RemoveAllFilters, narrowing while typing, and node rows that stay.
#include "grid/AdvGrid.h"
#include "render/RuvOdid_Filter.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct FilterGrid {
    QWidget window;
    TVerIvovavOzed* grid;
    platform::TFormatSettings saved = platform::FormatSettings();
    explicit FilterGrid(const std::vector<QString>& column1 = {}) : grid(new TVerIvovavOzed(&window))
    {
        grid->Loaded();
        platform::FormatSettings() = platform::TFormatSettings::Invariant();
        grid->SetColCount(3);
        grid->SetRowCount(1 + int(column1.size()));
        for (size_t i = 0; i < column1.size(); ++i) {
            grid->SetCells(1, int(i) + 1, column1[i]);
            grid->SetCells(2, int(i) + 1, QStringLiteral("r%1").arg(i + 1));
        }
    }
    ~FilterGrid() { platform::FormatSettings() = saved; }
    // The texts of column 1 of the rows shown.
    std::vector<QString> Shown() const
    {
        std::vector<QString> v;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            v.push_back(grid->Cells(1, r));
        return v;
    }
};

using Texts = std::vector<QString>;

TEST(Filter, ConditionsAgainstCellTexts)
{
    enum Locale { Dot, Comma, DottedDates };
    struct Case {
        const char* condition;
        const char* cell;
        bool want;
        Locale locale = Dot;
        bool caseSensitive = true;
        TFilterMethod method = fmExpression;
        const char* prefix = "";
        const char* suffix = "";
    } cases[] = {
        {">10&<20", "15", true},
        {">10&<20", "20", false},
        {">10&<20", "10", false},
        {">=10", "10", true},
        {">10", " 11 ", true}, // the cell text is trimmed
        {"A*|*Z", "Apple", true},
        {"A*|*Z", "fizZ", true},
        {"A*|*Z", "Mid", false},
        {"A*", "apple", false},
        {"A*", "apple", true, Dot, false},
        {"!A*", "Apple", false},
        {"!A*", "Banana", true},
        {"a?c", "abc", true},
        {"(A*|B*)&*x", "Bx", true},
        {"(A*|B*)&*x", "Cx", false},
        {"A*|B*&*x", "A1", false}, // left to right: (A* or B*) and *x
        {"f(x)", "f(x)", true},    // a parenthesis inside a term is a plain character
        {"f(x)", "f", false},
        {">5", ">5", true},        // a failed comparison is then a pattern of itself
        {"\"a b\"", "a b", true},
        {"", "anything", true},
        {"<1/15/2021", "1/2/2021", true},         // as dates, not as texts
        {">\"1/2/2021 10:00\"", "1/2/2021 10:30", true},
        {">1,5", "1,6", true, Comma},
        {">1,5", "1,4", false, Comma},
        {">1,5", "2", true, Comma},
        {">01.02.2020", "02.01.2020", false, DottedDates}, // a date, though "." groups thousands
        {">01.02.2020", "03.02.2020", true, DottedDates},
        {"a*", "a*", true, Dot, true, fmLiteral},
        {"a*", "ab", false, Dot, true, fmLiteral},
        {"A", "a", false, Dot, false, fmLiteral}, // literal ignores CaseSensitive
        {">5", "$7", true, Dot, true, fmExpression, "$"},
        {">5", "7 kg", true, Dot, true, fmExpression, "", " kg"},
        {"7", "7 kg kg", false, Dot, true, fmExpression, "", " kg"}, // its first occurrence must end the text
    };
    for (const Case& c : cases) {
        FilterGrid t({QString::fromUtf8(c.cell)});
        platform::TFormatSettings& fs = platform::FormatSettings();
        if (c.locale != Dot) {
            fs.DecimalSeparator = ',';
            fs.ThousandSeparator = '.';
        }
        if (c.locale == DottedDates) {
            fs.ShortDateFormat = "dd.MM.yyyy";
            fs.DateSeparator = '.';
        }
        TFilterData* d = t.grid->Filter().Add();
        d->Column = 1;
        d->Condition = QString::fromUtf8(c.condition);
        d->CaseSensitive = c.caseSensitive;
        d->Method = c.method;
        d->Prefix = QString::fromUtf8(c.prefix);
        d->Suffix = QString::fromUtf8(c.suffix);
        EXPECT_EQ(t.grid->RowMatchesFilter(1), c.want) << c.condition << " on " << c.cell;
    }
}

// A condition is read once per filter and a plain wildcard is matched on the cell text in place:
// every row must fare as the full condition matcher says, for each form a condition can take
// (plain, negated, quoted, with "?", case ignored with letters that change length when
// upper-cased, comparisons, groups, several terms), and again after the condition changes.
TEST(Filter, EachRowFaresAsTheConditionMatcherSays)
{
    const Texts texts = {"a7b", "77", "7", "x", "", "  7 ", "\t7\u00a0", "7 x", "A7B", "straße7", "STRASSE7", "ab?c", "a\"b",
                         "12", "007", "ab", "abab", "7x7", "Ǆ7", "ǆ7"};
    const char* conditions[] = {"*7*",  "7*",     "*7",     "7",        "?7?",   "!*7*",   "*a*b*", "a*b",
                                "*b",   "a??",    "\"a b\"", "*SS*",   "*ß*",   "STRA?SE7", "*ǅ*", "= *7*",
                                ">10",  "<20&*1*", "(*a*|*x*)", "*a*;7", "!7", "**", "*", "?", "a\"*"};
    for (const bool cs : {true, false})
        for (const char* c : conditions) {
            SCOPED_TRACE(testing::Message() << c << (cs ? " case" : " no case"));
            FilterGrid f(texts);
            TFilterData* d = f.grid->Filter().Add();
            d->Column = 1;
            d->Condition = QString::fromUtf8(c);
            d->CaseSensitive = cs;
            f.grid->ApplyFilter();
            Texts expected;
            for (const QString& t : texts)
                if (MatchFilterCondition(d->Condition, t.trimmed(), cs))
                    expected.push_back(t);
            // A grid left without shown rows keeps one empty row.
            EXPECT_EQ(f.grid->NumHiddenRows(), int(texts.size() - expected.size()));
            if (!expected.empty()) {
                EXPECT_EQ(f.Shown(), expected);
            }
            // The same grid with another condition reads the new one.
            f.grid->RemoveLastFilter();
            d->Condition = QStringLiteral("*b*");
            f.grid->ApplyFilter();
            Texts withB;
            for (const QString& t : texts)
                if (MatchFilterCondition(d->Condition, t.trimmed(), cs))
                    withB.push_back(t);
            EXPECT_EQ(f.grid->NumHiddenRows(), int(texts.size() - withB.size()));
            EXPECT_EQ(f.Shown(), withB);
        }
}

TEST(Filter, ConditionLanguageOperands)
{
    platform::TFormatSettings saved = platform::FormatSettings();
    platform::FormatSettings() = platform::TFormatSettings::Invariant();
    EXPECT_TRUE(MatchFilterCondition(">a\"b", "a\"c", true)) << "a quote inside the operand is kept";
    EXPECT_FALSE(MatchFilterCondition(">a\"b", "a\"a", true));
    // Operands are cut to 255 characters: a longer value equal on those compares as equal.
    const QString operand(300, u'm');
    EXPECT_FALSE(MatchFilterCondition(">" + operand, QString(256, u'm'), true));
    EXPECT_TRUE(MatchFilterCondition(">=" + operand, QString(255, u'm'), true));
    platform::FormatSettings() = saved;
}

TEST(Filter, OperationsCombineInOrder)
{
    struct Case {
        TFilterOperation second;
        const char* first;
        const char* secondCond;
        bool want;
    } cases[] = {
        {foOR, "x", "r1", true},
        {foAND, "x", "r1", false},
        {foXOR, "a", "r1", false},
        {foXOR, "x", "r1", true},
    };
    for (const Case& c : cases) {
        FilterGrid t({"a"});
        TFilterData* d1 = t.grid->Filter().Add();
        d1->Column = 1;
        d1->Condition = QString::fromUtf8(c.first);
        EXPECT_EQ(d1->Operation, foNONE);
        TFilterData* d2 = t.grid->Filter().Add();
        EXPECT_EQ(d2->Operation, foAND);
        d2->Column = 2;
        d2->Condition = QString::fromUtf8(c.secondCond);
        d2->Operation = c.second;
        EXPECT_EQ(t.grid->RowMatchesFilter(1), c.want) << c.first << " " << int(c.second);
    }

    // foSHORT rejects at once, even when a later foOR condition would hold.
    FilterGrid t({"a"});
    TFilterData* s = t.grid->Filter().Insert(0);
    EXPECT_EQ(s->Operation, foSHORT);
    s->Column = 1;
    s->Condition = "x";
    TFilterData* o = t.grid->Filter().Add();
    o->Column = 2;
    o->Condition = "r1";
    o->Operation = foOR;
    EXPECT_FALSE(t.grid->RowMatchesFilter(1));
    s->Operation = foNONE;
    EXPECT_TRUE(t.grid->RowMatchesFilter(1));

    // OnCustomFilter has the last word.
    t.grid->OnCustomFilter = [](QObject*, int ARow, bool& Accept) { Accept = !Accept && ARow == 1; };
    EXPECT_FALSE(t.grid->RowMatchesFilter(1));
}

TEST(Filter, FilterActiveLevelsAndRemoveAll)
{
    FilterGrid t({"1", "5", "12", "30"});
    TVerIvovavOzed& g = *t.grid;
    std::vector<int> progress;
    g.OnFilterProgress = [&](QObject*, int p) { progress.push_back(p); };
    TFilterData* d = g.Filter().Add();
    d->Column = 1;
    d->Condition = ">4";
    g.SetFilterActive(true);
    EXPECT_EQ(t.Shown(), (Texts{"5", "12", "30"}));
    EXPECT_EQ(progress, (std::vector<int>{25, 50, 75, 100, 100}));
    EXPECT_EQ(g.FilterLevel(), 1);

    // Off shows the rows again but keeps the level; the next application stacks above it.
    g.SetFilterActive(false);
    EXPECT_EQ(t.Shown(), (Texts{"1", "5", "12", "30"}));
    EXPECT_EQ(g.FilterLevel(), 1);
    d->Condition = "<20";
    g.SetFilterActive(true);
    EXPECT_EQ(t.Shown(), (Texts{"1", "5", "12"}));
    EXPECT_EQ(g.FilterLevel(), 2);
    g.SetFilterActive(false);
    EXPECT_EQ(t.Shown(), (Texts{"1", "5", "12", "30"}));

    // Two stacked levels: RemoveAllFilters shows every row, the last level too, and keeps the
    // conditions; with nothing stacked it clears them.
    g.SetFilterLevel(0);
    g.ApplyFilter();
    d->Condition = ">3";
    g.ApplyFilter();
    EXPECT_EQ(t.Shown(), (Texts{"5", "12"}));
    EXPECT_FALSE(g.RemoveLastFilter()) << "one level left";
    EXPECT_EQ(t.Shown(), (Texts{"1", "5", "12"}));
    g.ApplyFilter();
    g.RemoveAllFilters();
    EXPECT_EQ(t.Shown(), (Texts{"1", "5", "12", "30"}));
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(g.NumHiddenRows(), 0);
    EXPECT_EQ(g.Filter().Count(), 1);
    g.RemoveAllFilters();
    EXPECT_EQ(g.Filter().Count(), 0);
    EXPECT_FALSE(g.RemoveLastFilter());

    // A filter without conditions hides nothing; FilterRow hides one row without a level.
    g.ApplyFilter();
    EXPECT_EQ(t.Shown().size(), 4u);
    g.RemoveLastFilter();
    d = g.Filter().Add();
    d->Column = 1;
    d->Condition = "5";
    g.FilterRow(1);
    g.FilterRow(1);
    EXPECT_EQ(t.Shown(), (Texts{"5", "12", "30"}));
    EXPECT_EQ(g.FilterLevel(), 0);
}

TEST(Filter, NarrowDownStacksOneLevelPerCharacter)
{
    FilterGrid t({"xa", "Ab1", "ab c", "abcd", "b"});
    TVerIvovavOzed& g = *t.grid;
    g.NarrowDown("a", 1);
    EXPECT_EQ(t.Shown(), (Texts{"xa", "Ab1", "ab c", "abcd"}));
    g.NarrowDown("ab", 1);
    EXPECT_EQ(t.Shown(), (Texts{"Ab1", "ab c", "abcd"}));
    g.NarrowDown("abc", 1);
    EXPECT_EQ(t.Shown(), (Texts{"abcd"}));
    EXPECT_EQ(g.FilterLevel(), 3);
    g.NarrowDown("ab", 1);
    EXPECT_EQ(t.Shown(), (Texts{"Ab1", "ab c", "abcd"})) << "exactly the rows abc hid";
    EXPECT_EQ(g.FilterLevel(), 2);
    EXPECT_TRUE(g.FixedRowAlways());

    // A blank stays part of the text, for an extended text as for a first one.
    g.NarrowDown("ab ", 1);
    EXPECT_EQ(t.Shown(), (Texts{"ab c"}));
    g.NarrowDown("b c", 1);
    EXPECT_EQ(t.Shown(), (Texts{"ab c"}));
    EXPECT_EQ(g.Filter().Items(0)->Condition, "\"*b c*\"");

    g.NarrowDown("", 1);
    EXPECT_EQ(t.Shown().size(), 5u);
    EXPECT_EQ(g.FilterLevel(), 0);
    EXPECT_EQ(g.LastFilter(), "");

    // Column -1: some cell of the row contains the text, letters a to z without case.
    g.NarrowDown("R4", -1);
    EXPECT_EQ(t.Shown(), (Texts{"abcd"}));
    EXPECT_EQ(g.Filter().Items(0)->Data, fcRow);
}

// What a grid holds, shown and hidden: every stored cell of the shown rows with its height and
// whether it holds an object, and each hidden row's record by real index.
std::vector<std::string> Picture(TVerIvovavOzed& g)
{
    std::vector<std::string> v;
    const int cols = g.TotalColCount() + 1; // one column beyond, where a stray text may sit
    v.push_back(QStringLiteral("rows %1 hidden %2 level %3")
                    .arg(g.RowCount())
                    .arg(g.NumHiddenRows())
                    .arg(g.FilterLevel())
                    .toStdString());
    for (int r = 0; r < g.RowCount(); ++r) {
        QString line = QStringLiteral("%1 h%2:").arg(r).arg(g.RowHeights(r));
        for (int c = 0; c < cols; ++c)
            line += QLatin1Char('|') + g.GetGridCell(c, r) + (g.GetGridObject(c, r) ? QStringLiteral("*") : QString());
        v.push_back(line.toStdString());
    }
    for (int real = 0; real < g.TotalRowCount() + 2; ++real)
        if (const TGridStrings* s = g.GetHiddenRowItems(real)) {
            QString line = QStringLiteral("hidden %1 (%2):").arg(real).arg(s->Count());
            for (int c = 0; c < s->Count(); ++c)
                line += QLatin1Char('|') + s->Strings[c] + (s->Object(c) ? QStringLiteral("*") : QString());
            v.push_back(line.toStdString());
        }
    return v;
}

// ApplyFilter moves whole rows into the hidden-row records; HideRowList (the general path) with
// the rows that fail the same test gives the reference: the same shown rows, heights, records,
// objects and levels, and the same grid after the level is taken back.
TEST(Filter, HidingLeavesTheGridAsTheGeneralHidePathDoes)
{
    const Texts texts = {"a7", "b", "c7", "d", "e", "f7", "g", "h"};
    struct Case {
        const char* name;
        std::function<void(TVerIvovavOzed&)> setUp;
    };
    const Case cases[] = {
        {"plain", [](TVerIvovavOzed&) {}},
        {"heights", [](TVerIvovavOzed& g) {
             g.SetRowHeights(2, 40);
             g.SetRowHeights(3, 31);
             g.SetRowHeights(8, 17);
         }},
        {"objects", [](TVerIvovavOzed& g) {
             g.AddCheckBox(2, 2, true, false);
             g.AddCheckBox(2, 3, false, false);
         }},
        {"a row hidden by a node before", [](TVerIvovavOzed& g) {
             g.AddNode(4, 2);
             g.ContractNode(4);
         }},
        {"a text right of the last column", [](TVerIvovavOzed& g) { g.SetGridCell(3, 6, "stray"); }},
        {"no row fails", [](TVerIvovavOzed& g) {
             for (int r = 1; r < g.RowCount(); ++r)
                 g.SetCells(1, r, "7");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilterGrid ours(texts), general(texts);
        for (FilterGrid* f : {&ours, &general}) {
            c.setUp(*f->grid);
            TFilterData* d = f->grid->Filter().Add();
            d->Column = 1;
            d->Condition = "*7*";
        }
        TVerIvovavOzed& g = *general.grid;
        TIntList failing;
        for (int r = g.FixedRows(); r < g.RowCount(); ++r)
            if (!(g.IsNode(r) || g.IsSummary(r)) && !g.RowMatchesFilter(r)) // node rows stay
                failing.Add(r);
        const std::vector<std::string> before = Picture(*ours.grid);
        ours.grid->ApplyFilter();
        g.HideRowList(failing);
        EXPECT_EQ(Picture(*ours.grid), Picture(g));
        ours.grid->RemoveLastFilter();
        g.UnHideRowList();
        g.SetFilterLevel(g.FilterLevel() - 1);
        EXPECT_EQ(Picture(*ours.grid), Picture(g));
        EXPECT_EQ(Picture(*ours.grid), before);
    }
}

// The filter reads a cell's shown text: a display hook, a merged range and a derived grid's own
// display text all count, whether the text is read in place or made.
TEST(Filter, ReadsTheTextACellShows)
{
    struct Shouting : TVerIvovavOzed {
        using TVerIvovavOzed::TVerIvovavOzed;
        void GetDisplText(int ACol, int ARow, QString& Value) override
        {
            TVerIvovavOzed::GetDisplText(ACol, ARow, Value);
            if (ACol == 1 && Value == "x")
                Value = "x7";
        }
    };
    FilterGrid t({"x", "7", "y", "z7"});
    TVerIvovavOzed& g = *t.grid;
    TFilterData* d = g.Filter().Add();
    d->Column = 1;
    d->Condition = "*7*";
    g.ApplyFilter();
    EXPECT_EQ(t.Shown(), (Texts{"7", "z7"}));
    g.RemoveLastFilter();

    g.OnGetDisplText = [](QObject*, int c, int, QString& v) {
        if (c == 1 && v == "y")
            v += "7";
    };
    g.ApplyFilter();
    EXPECT_EQ(t.Shown(), (Texts{"7", "y7", "z7"}));
    g.RemoveLastFilter();
    g.OnGetDisplText = nullptr;

    g.MergeCells(1, 1, 1, 2); // "x" over the row of "7": both rows show "x"
    g.ApplyFilter();
    EXPECT_EQ(t.Shown(), (Texts{"z7"}));
    g.RemoveLastFilter();
    g.SplitCells(1, 1);

    QWidget window;
    Shouting s(&window);
    s.Loaded();
    s.SetColCount(3);
    s.SetRowCount(3);
    s.SetCells(1, 1, "x");
    s.SetCells(1, 2, "y");
    TFilterData* sd = s.Filter().Add();
    sd->Column = 1;
    sd->Condition = "*7*";
    s.ApplyFilter();
    ASSERT_EQ(s.RowCount(), 2);
    EXPECT_EQ(s.GetGridCell(1, 1), "x");
}

TEST(Filter, NodeAndSummaryRowsStay)
{
    FilterGrid t({"group", "keep", "drop", "sum", "drop"});
    TVerIvovavOzed& g = *t.grid;
    g.AddNode(1, 3);
    g.SetSummaryRow(4);
    TFilterData* d = g.Filter().Add();
    d->Column = 1;
    d->Condition = "keep";
    g.SetFilterActive(true);
    EXPECT_EQ(t.Shown(), (Texts{"group", "keep", "sum"}));
    g.SetFilterActive(false);
    g.SetFilterNormalCellsOnly(false);
    g.SetFilterActive(true);
    EXPECT_EQ(t.Shown(), (Texts{"keep"}));
    g.SetFilterActive(false);

    // Switching the filter off after every level was taken back leaves a contracted node shut.
    g.ContractNode(1);
    EXPECT_EQ(t.Shown(), (Texts{"group", "sum", "drop"}));
    g.SetFilterActive(true);
    g.RemoveAllFilters();
    g.SetFilterActive(false);
    EXPECT_EQ(t.Shown(), (Texts{"group", "sum", "drop"}));
}

} // namespace
