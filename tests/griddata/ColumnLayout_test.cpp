// Column layout kept from run to run: the column-state text, "Col"/"Pos" values in an INI file and
// in the registry store, the column grid's "CP" values, broken texts and stores.
#include "TestSupport.h"
#include "grid/AdvCGrid.h"
#include "grid/AdvGrid.h"
#include "platform/IniFile.h"
#include "platform/SysUtils.h"
#include "render/AdvStyleIF.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A loaded grid of `cols` columns whose row 0 names each column by its first place.
std::unique_ptr<TVerIvovavOzed> MakeGrid(int cols)
{
    auto g = std::make_unique<TVerIvovavOzed>();
    g->SetColCount(cols);
    g->SetRowCount(3);
    g->Loaded();
    for (int c = 0; c < cols; ++c)
        g->SetCells(c, 0, QStringLiteral("c%1").arg(c));
    return g;
}

// The names of the shown columns, then "|" and those of the hidden ones (real order).
QString Layout(TVerIvovavOzed& g)
{
    QStringList shown, hidden;
    for (int c = 0; c < g.AllColCount(); ++c)
        (g.IsHiddenColumn(c) ? hidden : shown) << g.GetCellsEx(c, 0);
    return shown.join(',') + '|' + hidden.join(',');
}

// The grid keeps its column layout under that key and section.
void StoreLayoutAt(TVerIvovavOzed& g, TColumnSizeLocation Location, const QString& Key, const QString& Section)
{
    TColumnSize& settings = g.ColumnSize();
    settings.SetLocation(Location);
    settings.SetKey(Key);
    settings.SetSection(Section);
}

// A grid keeping its layout in "grid.ini" of a fresh folder, under the section.
struct IniLayout {
    QTemporaryDir dir;
    QString ini = dir.filePath("grid.ini");
    std::unique_ptr<TVerIvovavOzed> g;
    IniLayout(int cols, const char* section) : g(MakeGrid(cols)) { StoreLayoutAt(*g, clIniFile, ini, section); }
    // Another grid of the same columns with the same settings.
    std::unique_ptr<TVerIvovavOzed> Reader() const
    {
        auto h = MakeGrid(g->ColCount());
        h->ColumnSize().Assign(g->ColumnSize());
        return h;
    }
};

QString Widths(TVerIvovavOzed& g)
{
    QStringList w;
    for (int c = 0; c < g.ColCount(); ++c)
        w << QString::number(g.ColWidths(c));
    return w.join(',');
}

// A registry store of the test's own.
class RegistryScope {
public:
    RegistryScope() { SetRegistryStorePath(FDir.filePath(QStringLiteral("registry.ini"))); }
    ~RegistryScope() { SetRegistryStorePath(QString()); }
    QString Path() const { return FDir.filePath(QStringLiteral("registry.ini")); }

private:
    QTemporaryDir FDir;
};

TEST(ColumnLayout, StateTextCountsHiddenColumns)
{
    auto g = MakeGrid(4);
    for (int c = 0; c < 4; ++c)
        g->SetColWidths(c, 40 + 10 * c);
    g->HideColumn(2);
    // The hidden column's place in the widths is taken by the default width at the end.
    EXPECT_EQ(g->ColumnStatesToString(), "4#40,50,70,64#0,1,2,3#1,1,0,1");

    auto fresh = std::make_unique<TVerIvovavOzed>();
    fresh->SetColCount(3);
    EXPECT_EQ(fresh->ColumnStatesToString(), "3#64,64,64#0,1,2#1,1,1") << "no order list yet";
}

TEST(ColumnLayout, StateTextRestoresWidthsOrderAndHiddenColumns)
{
    auto g = MakeGrid(5);
    g->MoveColumn(0, 3);
    g->MoveColumn(4, 1);
    g->HideColumn(2);
    g->SetColWidths(0, 30);
    g->SetColWidths(3, 90);
    const QString saved = g->ColumnStatesToString();
    const QString layout = Layout(*g), widths = Widths(*g);
    EXPECT_EQ(layout, "c1,c4,c3,c0|c2");

    // The user goes on changing the layout; the text brings the saved one back.
    g->UnHideColumnsAll();
    g->MoveColumn(2, 0);
    g->HideColumn(1);
    g->SetColWidths(0, 12);
    g->StringToColumnStates(saved);
    EXPECT_EQ(Layout(*g), layout);
    EXPECT_EQ(Widths(*g), widths);
    EXPECT_EQ(g->ColumnStatesToString(), saved);

    // And on the next run, a grid fresh from its set-up.
    auto next = MakeGrid(5);
    next->StringToColumnStates(saved);
    EXPECT_EQ(Layout(*next), layout);
    EXPECT_EQ(Widths(*next), widths);
    EXPECT_EQ(next->ColumnStatesToString(), saved);
}

TEST(ColumnLayout, StateTextWithStretchKeepsStretchOn)
{
    auto g = MakeGrid(3);
    g->ColumnSize().SetStretch(true);
    g->StringToColumnStates("3#20,30,40#0,1,2#1,1,1");
    EXPECT_TRUE(g->ColumnSize().Stretch());
    EXPECT_EQ(g->ColWidths(0), 20);
    EXPECT_EQ(g->ColWidths(1), 30);
}

TEST(ColumnLayout, BrokenStateTexts)
{
    struct Case {
        const char* Text;
        bool Changes; // false: the grid is left exactly as it was
    };
    const Case cases[] = {
        {"3,64,64,64", false},          // no "#": not a state text
        {"x#64,64,64#0,1,2#1,1,1", false}, // count no number
        {"4#64,64,64#0,1,2,3#1,1,1,1", false}, // more columns than widths
        {"0##", false},
    };
    for (const Case& c : cases) {
        auto g = MakeGrid(3);
        g->MoveColumn(0, 2);
        g->SetColWidths(0, 33);
        const QString before = g->ColumnStatesToString();
        if (QString(c.Text).contains('#'))
            EXPECT_ANY_THROW(g->StringToColumnStates(c.Text)) << c.Text;
        else
            g->StringToColumnStates(c.Text);
        EXPECT_EQ(g->ColumnStatesToString(), before) << c.Text;
        EXPECT_EQ(Layout(*g), "c1,c2,c0|") << c.Text;
    }

    // Entries that fail once the text is being applied: the message names the fault.
    const std::pair<const char*, const char*> failing[] = {
        {"3#10,abc,30#0,1,2#1,1,1", "'abc' is not a valid integer value"},
        {"3#10,20,30#0,x,2#1,1,1", "'x' is not a valid integer value"},
        {"3#10,20,30#0,1#1,1,1", "List index out of bounds (2)"},
        {"3#10,20,30#0,0,2#1,1,1", "Invalid column order 0,0,2"},
        {"3#10,20,30#0,1,7#1,1,1", "Invalid column order 0,1,7"},
    };
    for (const auto& [text, message] : failing) {
        auto g = MakeGrid(3);
        try {
            g->StringToColumnStates(text);
            ADD_FAILURE() << text;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), message) << text;
        }
        EXPECT_EQ(g->ColCount(), 3);
    }
}

TEST(ColumnLayout, ColSizesInAnIniFile)
{
    IniLayout t(3, "Cols");
    t.g->SetColWidths(0, 40);
    t.g->SetColWidths(1, 50);
    t.g->SetColWidths(2, 60);
    t.g->SaveColSizes();
    EXPECT_EQ(kt_test::ReadFile(t.ini), kt_test::ReadFile(kt_test::FixturePath("griddata/layout/colsizes.ini")));

    auto h = t.Reader();
    h->LoadColSizes();
    EXPECT_EQ(Widths(*h), "40,50,60");

    // A hand-edited file: names in any case, a width that is no number keeps the present one, a
    // missing one too; the file is written back as it was read.
    const QString edited = t.dir.filePath("edited.ini");
    QFile::copy(kt_test::FixturePath("griddata/layout/colsizes_in.ini"), edited);
    QFile(edited).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    h->ColumnSize().SetKey(edited);
    h->LoadColSizes();
    EXPECT_EQ(Widths(*h), "33,50,60");
    EXPECT_EQ(kt_test::ReadFile(edited), kt_test::ReadFile(kt_test::FixturePath("griddata/layout/colsizes_in.ini")));

    // Without a file or a section name nothing is read or written.
    const QString none = t.dir.filePath("none.ini");
    h->ColumnSize().SetKey(none);
    h->ColumnSize().SetSection("");
    h->SaveColSizes();
    h->LoadColSizes();
    h->SaveColPositions();
    h->LoadColPositions();
    EXPECT_FALSE(QFile::exists(none));
}

TEST(ColumnLayout, ColPositionsInAnIniFile)
{
    IniLayout t(4, "Pos");
    t.g->MoveColumn(0, 2);
    t.g->SaveColPositions();
    EXPECT_EQ(kt_test::ReadFile(t.ini), QByteArray("[Pos]\r\nPos0=1\r\nPos1=2\r\nPos2=0\r\nPos3=3\r\n"));

    auto h = t.Reader();
    h->HideColumn(0); // hidden before the load, hidden after it where the order put it
    h->LoadColPositions();
    EXPECT_EQ(Layout(*h), "c1,c2,c3|c0");
    EXPECT_EQ(h->ColumnOrder().StrValue(), "1,2,0,3");

    // Stores that do not fit leave the grid alone.
    const std::pair<const char*, const char*> stores[] = {
        {"no Pos0", "[Pos]\r\nPos1=0\r\n"},
        {"a column twice", "[Pos]\r\nPos0=1\r\nPos1=1\r\nPos2=0\r\nPos3=3\r\n"},
        {"a column the grid lacks", "[Pos]\r\nPos0=1\r\nPos1=9\r\nPos2=0\r\nPos3=3\r\n"},
        {"fewer columns", "[Pos]\r\nPos0=1\r\nPos1=0\r\n"},
        {"no numbers", "[Pos]\r\nPos0=a\r\nPos1=b\r\n"},
    };
    for (const auto& [what, text] : stores) {
        QFile f(t.ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        f.close();
        auto k = MakeGrid(4);
        k->ColumnSize().Assign(t.g->ColumnSize());
        k->LoadColPositions();
        EXPECT_EQ(Layout(*k), "c0,c1,c2,c3|") << what;
        EXPECT_EQ(k->ColumnOrder().StrValue(), "0,1,2,3") << what;
    }

    // A grid that never had an order list writes no positions.
    auto bare = std::make_unique<TVerIvovavOzed>();
    bare->ColumnSize().Assign(t.g->ColumnSize());
    bare->ColumnSize().SetSection("Bare");
    bare->SaveColPositions();
    EXPECT_FALSE(platform::TMemIniFile(t.ini).SectionExists("Bare"));
}

TEST(ColumnLayout, ColSizesAndPositionsInTheRegistry)
{
    RegistryScope scope;
    auto g = MakeGrid(3);
    StoreLayoutAt(*g, clRegistry, "Software\\KT40917\\Grids", "Orders");
    g->SetColWidths(0, 25);
    g->SetColWidths(2, 75);
    g->MoveColumn(2, 0);
    g->SaveColSizes();
    g->SaveColPositions();

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KT40917\\Grids\\Orders"));
    EXPECT_EQ(reg.ReadInteger("Col0"), 75);
    EXPECT_EQ(reg.ReadInteger("Col1"), 25);
    EXPECT_EQ(reg.ReadInteger("Pos0"), 2);
    reg.CloseKey();

    auto h = MakeGrid(3);
    h->ColumnSize().Assign(g->ColumnSize());
    h->LoadColPositions();
    h->LoadColSizes();
    EXPECT_EQ(Layout(*h), "c2,c0,c1|");
    EXPECT_EQ(Widths(*h), "75,25,64");

    // A value of another letter case is replaced, not doubled.
    ASSERT_TRUE(reg.OpenKey("Software\\KT40917\\Grids\\Orders", false));
    reg.WriteInteger("COL2", 99);
    reg.CloseKey();
    h->LoadColSizes();
    EXPECT_EQ(h->ColWidths(2), 99);
    EXPECT_EQ(kt_test::ReadFile(scope.Path()).count("ol2="), 1);

    // A key that was never written reads nothing.
    auto k = MakeGrid(3);
    k->ColumnSize().Assign(g->ColumnSize());
    k->ColumnSize().SetSection("Other");
    k->LoadColSizes();
    k->LoadColPositions();
    EXPECT_EQ(Widths(*k), "64,64,64");
    EXPECT_EQ(Layout(*k), "c0,c1,c2|");
}

TEST(ColumnLayout, RegistryThatCannotBeWrittenRaises)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SetRegistryStorePath(blocker + "/registry.ini"); // a folder that is a file
    auto g = MakeGrid(2);
    g->ColumnSize().SetKey("Software\\KT40917");
    g->ColumnSize().SetSection("S");
    EXPECT_THROW(g->SaveColSizes(), Exception);
    SetRegistryStorePath(QString());
}

// The column grid keeps its definitions' order as "CP" values in an INI file; in the registry it
// uses the string grid's values.
TEST(ColumnLayout, ColumnGridPositions)
{
    QTemporaryDir dir;
    auto make = [] {
        auto g = std::make_unique<TZidIzavodUraz>();
        g->SetColCount(3);
        g->Loaded();
        for (int c = 0; c < 3; ++c)
            g->SetCells(c, 0, QStringLiteral("c%1").arg(c));
        return g;
    };
    const QString ini = dir.filePath("cols.ini");
    auto g = make();
    StoreLayoutAt(*g, clIniFile, ini, "Columns");
    g->MoveColumn(0, 2);
    g->SaveColPositions();
    EXPECT_EQ(kt_test::ReadFile(ini), QByteArray("[Columns]\r\nCP0=1\r\nCP1=2\r\nCP2=0\r\n"));
    auto h = make();
    h->ColumnSize().Assign(g->ColumnSize());
    h->LoadColPositions();
    EXPECT_EQ(Layout(*h), "c1,c2,c0|");

    RegistryScope scope;
    g->ColumnSize().SetLocation(clRegistry);
    g->ColumnSize().SetKey("Software\\KT40917");
    g->SaveColPositions();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\KT40917\\Columns"));
    EXPECT_TRUE(reg.ValueExists("Pos0"));
    EXPECT_FALSE(reg.ValueExists("CP0"));
}

TEST(ColumnLayout, ScaleChangeScalesFixedAndActiveCellFonts)
{
    auto g = MakeGrid(2);
    g->FixedFont().SetSize(8);
    g->ActiveCellFont().SetSize(9);
    g->ChangeScale(144, 96);
    EXPECT_EQ(g->FixedFont().Size(), 12);
    EXPECT_EQ(g->ActiveCellFont().Size(), 14) << "13.5 rounds away from zero";
}

} // namespace
