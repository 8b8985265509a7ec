// Node rows: contracting and expanding (nested, span 0, ExpandOne, beside rows a filter hid), the
// parent lookup, child rows keeping spans, the hit test of the glyph, the node work the mouse and
// keys call, and automatic group checking.
#include "grid/AdvGrid.h"

#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <utility>

namespace {

struct NodeGrid {
    QWidget window;
    TVerIvovavOzed* grid;

    explicit NodeGrid(int rows = 13)
    {
        window.resize(360, 420);
        grid = new TVerIvovavOzed(&window);
        grid->setGeometry(0, 0, 360, 420);
        grid->Loaded();
        grid->SetColCount(3);
        grid->SetRowCount(rows);
        grid->SetDefaultRowHeight(20);
        for (int r = 0; r < rows; ++r) {
            grid->SetCells(1, r, QStringLiteral("r%1").arg(r));
            grid->SetRowHeights(r, 20);
        }
    }

    // The real rows in display order, by their texts ("r<real>").
    QString Shown() const
    {
        QStringList s;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r)
            s << grid->Cells(1, r).mid(1);
        return s.join(QLatin1Char(' '));
    }

    int Level(int displ) const
    {
        const TCellProperties* p = grid->CellPropertiesOf(0, displ);
        return p ? p->NodeLevel() : 0;
    }

    QImage Grab() { return grid->grab().toImage(); }
};

QString GrabFile(const QString& name)
{
    QDir dir(QDir::current().filePath(QStringLiteral("grabs")));
    dir.mkpath(QStringLiteral("."));
    return dir.filePath(name);
}

} // namespace

// A table of node operations, each from a fresh grid of rows r0 (fixed) .. r12, checked by the
// rows shown afterwards and the nodes' states.
TEST(Nodes, ContractExpandTable)
{
    struct Case {
        const char* name;
        std::function<void(TVerIvovavOzed&)> act;
        const char* shown;
        std::function<void(TVerIvovavOzed&)> check;
    };
    const std::vector<Case> cases = {
        {"contract one", [](TVerIvovavOzed& g) { g.AddNode(1, 3); g.ContractNode(1); },
         "1 4 5 6 7 8 9 10 11 12", [](TVerIvovavOzed& g) { EXPECT_TRUE(g.GetNodeState(1)); }},
        {"contract then expand", [](TVerIvovavOzed& g) { g.AddNode(1, 3); g.ContractNode(1); g.ExpandNode(1); },
         "1 2 3 4 5 6 7 8 9 10 11 12", [](TVerIvovavOzed& g) { EXPECT_FALSE(g.GetNodeState(1)); }},
        {"nested: inner then outer contracted",
         [](TVerIvovavOzed& g) { g.AddNode(1, 6); g.AddNode(3, 3); g.ContractNode(3); g.ContractNode(1); },
         "1 7 8 9 10 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_TRUE(g.GetNodeState(1));
             // the inner node, hidden with the outer block, is marked open
             g.ExpandNode(1);
             EXPECT_FALSE(g.GetNodeState(3));
         }},
        {"nested: outer expanded again shows the whole subtree",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 6);
             g.AddNode(3, 3);
             g.ContractNode(3);
             g.ContractNode(1);
             g.ExpandNode(1);
         },
         "1 2 3 4 5 6 7 8 9 10 11 12", nullptr},
        {"nested: inner contracted alone", [](TVerIvovavOzed& g) { g.AddNode(1, 6); g.AddNode(3, 3); g.ContractNode(3); },
         "1 2 3 6 7 8 9 10 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_TRUE(g.GetNodeState(3));
             EXPECT_FALSE(g.GetNodeState(1));
         }},
        {"span 0 reaches the next node row",
         [](TVerIvovavOzed& g) { g.AddNode(1, 0); g.AddNode(5, 0); g.ContractNode(1); },
         "1 5 6 7 8 9 10 11 12", nullptr},
        {"span 0 of the last node reaches the end",
         [](TVerIvovavOzed& g) { g.AddNode(1, 0); g.AddNode(9, 0); g.ContractNode(9); }, "1 2 3 4 5 6 7 8 9",
         nullptr},
        {"ExpandOne contracts the other open nodes",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 3);
             g.AddNode(4, 3);
             g.AddNode(7, 3);
             g.ContractNode(4);
             g.CellNode().SetExpandOne(true);
             g.ExpandNode(4);
         },
         "1 4 5 6 7 10 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_TRUE(g.GetNodeState(1));
             EXPECT_FALSE(g.GetNodeState(2));
             EXPECT_TRUE(g.GetNodeState(5));
         }},
        {"ExpandOne keeps the enclosing node open",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 6);
             g.AddNode(3, 3);
             g.ContractNode(3);
             g.CellNode().SetExpandOne(true);
             g.ExpandNode(3);
         },
         "1 2 3 4 5 6 7 8 9 10 11 12", nullptr},
        {"a row a filter hid beside the group stays hidden",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 3);
             TIntList filtered;
             filtered.Add(4); // displayed row 4 = r4, just below the group
             g.HideRowList(filtered);
             g.ContractNode(1);
             g.ExpandNode(1);
         },
         "1 2 3 5 6 7 8 9 10 11 12", [](TVerIvovavOzed& g) { EXPECT_TRUE(g.IsHiddenRow(4)); }},
        {"a row hidden inside the group stays hidden",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 4);
             g.HideRow(2);
             g.ContractNode(1);
             g.ExpandNode(1);
         },
         "1 3 4 5 6 7 8 9 10 11 12", [](TVerIvovavOzed& g) { EXPECT_TRUE(g.IsHiddenRow(2)); }},
        {"removing the filter leaves a contracted group closed",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 3);
             g.ContractNode(1);
             TIntList filtered;
             filtered.Add(3); // displayed row 3 = r5
             g.HideRowList(filtered);
             g.UnHideRowList();
         },
         "1 4 5 6 7 8 9 10 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_TRUE(g.GetNodeState(1));
             EXPECT_FALSE(g.IsHiddenRow(5));
         }},
        {"ContractAll closes the top nodes, nested ones stay marked open",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 6);
             g.AddNode(3, 3);
             g.AddNode(8, 3);
             g.ContractAll();
         },
         "1 7 8 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_TRUE(g.GetNodeState(1));
             EXPECT_TRUE(g.GetNodeState(3));
             g.ExpandNode(1);
             EXPECT_FALSE(g.GetNodeState(3));
         }},
        {"ExpandAll opens nodes hidden inside contracted groups",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 6);
             g.AddNode(3, 3);
             g.ContractNode(3);
             g.ContractNode(1);
             g.AddNode(8, 3);
             g.ContractNode(8);
             g.ExpandAll();
         },
         "1 2 3 4 5 6 7 8 9 10 11 12",
         [](TVerIvovavOzed& g) {
             for (int r = 1; r < g.RowCount(); ++r)
                 EXPECT_FALSE(g.GetNodeState(r)) << r;
         }},
        {"ExpandAll leaves a filtered row hidden",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 3);
             TIntList filtered;
             filtered.Add(5); // r5
             g.HideRowList(filtered);
             g.ContractAll();
             g.ExpandAll();
         },
         "1 2 3 4 6 7 8 9 10 11 12", nullptr},
        {"RemoveAllNodes opens and removes nested contracted nodes",
         [](TVerIvovavOzed& g) {
             g.AddNode(1, 6);
             g.AddNode(3, 3);
             g.ContractNode(3);
             g.ContractNode(1);
             g.RemoveAllNodes();
         },
         "1 2 3 4 5 6 7 8 9 10 11 12",
         [](TVerIvovavOzed& g) {
             EXPECT_EQ(g.NodeCount(), 0);
             for (int r = 0; r < g.RowCount(); ++r) {
                 EXPECT_FALSE(g.IsNode(r)) << r;
                 const TCellProperties* p = g.CellPropertiesOf(0, r);
                 EXPECT_EQ(p ? p->NodeLevel() : 0, 0) << r;
             }
         }},
        {"SetNodeState contracts and expands by displayed row",
         [](TVerIvovavOzed& g) {
             g.AddNode(4, 3);
             g.SetNodeState(4, true);
         },
         "1 2 3 4 7 8 9 10 11 12", [](TVerIvovavOzed& g) { EXPECT_TRUE(g.GetNodeState(4)); }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        NodeGrid f;
        k.act(*f.grid);
        EXPECT_EQ(f.Shown(), QString::fromLatin1(k.shown));
        if (k.check)
            k.check(*f.grid);
    }
}

TEST(Nodes, AddNodeLevelsAndQueries)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.SetFixedCols(0);
    g.SetCol(0);
    ASSERT_EQ(g.Col(), 0);
    g.AddNode(1, 3);
    g.AddNode(2, 2);
    EXPECT_EQ(g.Col(), 1); // the current column leaves the node column
    EXPECT_EQ(g.NodeCount(), 2);
    EXPECT_EQ(f.Level(1), 1);
    EXPECT_EQ(f.Level(2), 2);
    EXPECT_EQ(f.Level(3), 2);
    EXPECT_EQ(f.Level(4), 0);
    EXPECT_EQ(g.GetNodeLevel(2), 2);
    EXPECT_EQ(g.GetNodeLevel(3), -1);
    EXPECT_EQ(g.GetNodeSpan(1), 3);
    EXPECT_EQ(g.GetNodeSpan(4), -1);
    EXPECT_EQ(g.GetSubNodeCount(4), 0);
    EXPECT_FALSE(g.GetNodeState(1));
    EXPECT_FALSE(g.GetNodeState(5));
    EXPECT_EQ(g.GetNodeSpanType(1), 0);
    EXPECT_EQ(g.GetNodeSpanType(2), 0);
    EXPECT_EQ(g.GetNodeSpanType(3), 1); // the next row is outside the group
    g.RemoveNode(2);
    EXPECT_EQ(g.NodeCount(), 1);
    EXPECT_EQ(f.Level(2), 1);
    EXPECT_EQ(f.Level(3), 1);
    EXPECT_EQ(g.GetNodeSpanType(2), 2);
}

TEST(Nodes, ParentRow)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    EXPECT_EQ(g.GetParentRow(3), -1); // no node at all
    g.AddNode(1, 3);  // r1 .. r3
    g.AddNode(4, 6);  // r4 .. r9
    g.AddNode(5, 2);  // r5 .. r6, inside r4
    EXPECT_EQ(g.GetParentRow(2), 1);
    EXPECT_EQ(g.GetParentRow(6), 5);
    EXPECT_EQ(g.GetParentRow(7), 4);
    EXPECT_EQ(g.GetParentRow(10), -1);
    EXPECT_EQ(g.GetParentRow(5), 4); // a nested node's parent
    EXPECT_EQ(g.GetParentRow(4), 4); // a top node answers itself
    // past a closed sibling above: r7 now shows at displayed row 5 (r2, r3, r5, r6 hidden)
    g.ContractNode(1);
    g.ContractNode(5);
    ASSERT_EQ(f.Shown(), QStringLiteral("1 4 5 7 8 9 10 11 12"));
    EXPECT_EQ(g.GetParentRow(4), 2); // r7 in r4, past the closed r5
    EXPECT_EQ(g.GetParentRow(3), 2); // r5 in r4
    EXPECT_EQ(g.GetParentRow(6), 2); // r9, the group's last row
    EXPECT_EQ(g.GetParentRow(7), -1); // r10
}

TEST(Nodes, ChildRowsKeepSpansAndCounts)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.AddNode(1, 6); // r1 .. r6
    g.AddNode(3, 3); // r3 .. r5
    g.InsertChildRow(4, 1); // below r4, inside the inner group
    EXPECT_EQ(g.GetNodeSpan(3), 4);
    EXPECT_EQ(g.GetNodeSpan(1), 7);
    EXPECT_EQ(g.GetSubNodeCount(3), 1);
    EXPECT_EQ(g.GetSubNodeCount(1), 1);
    EXPECT_EQ(f.Level(5), 2);
    EXPECT_EQ(g.Cells(1, 5), QString());
    EXPECT_EQ(g.GetParentRow(5), 3);
    g.ContractNode(1);
    EXPECT_EQ(f.Shown(), QStringLiteral("1 7 8 9 10 11 12"));
    g.ExpandNode(1);
    g.RemoveChildRow(5);
    EXPECT_EQ(g.GetNodeSpan(3), 3);
    EXPECT_EQ(g.GetNodeSpan(1), 6);
    EXPECT_EQ(g.GetSubNodeCount(3), 0);
    EXPECT_EQ(g.GetSubNodeCount(1), 0);
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
    g.ContractNode(1);
    EXPECT_EQ(f.Shown(), QStringLiteral("1 7 8 9 10 11 12"));

    // a child inserted at the node row itself takes over the node row's texts
    NodeGrid h;
    h.grid->AddNode(2, 3);
    h.grid->InsertChildRow(2, 0);
    EXPECT_EQ(h.grid->Cells(1, 2), QString());
    EXPECT_EQ(h.grid->Cells(1, 3), QStringLiteral("r2"));
    EXPECT_TRUE(h.grid->IsNode(2));
    EXPECT_EQ(h.grid->GetNodeSpan(2), 4);
}

TEST(Nodes, NodeButtonHitTestByType)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.AddNode(1, 2);
    g.AddNode(2, 1); // level 2
    TBitmap glyph(16, 16);
    struct Case {
        TNodeType type;
        bool withGlyph;
        int row;
        int inFrom, inTo; // X inside the open interval (inFrom - 1, inTo + 1)
    } cases[] = {
        {cnFlat, false, 1, 5, 15},  {cnXP, false, 1, 5, 15},   {cn3D, false, 1, 1, 17},
        {cnLeaf, false, 1, 3, 19},  {cnGlyph, false, 1, 1, 11}, {cnGlyph, true, 1, 3, 19},
        {cnFlat, false, 2, 17, 27}, {cnLeaf, false, 2, 15, 31},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "type " << k.type << " glyph " << k.withGlyph << " row " << k.row);
        g.CellNode().SetNodeType(k.type);
        g.CellNode().SetExpandGlyph(k.withGlyph ? glyph : TBitmap());
        EXPECT_FALSE(g.IsInNodeButton(k.row, k.inFrom - 1));
        EXPECT_TRUE(g.IsInNodeButton(k.row, k.inFrom));
        EXPECT_TRUE(g.IsInNodeButton(k.row, k.inTo));
        EXPECT_FALSE(g.IsInNodeButton(k.row, k.inTo + 1));
    }
    g.MouseActions().SetPreciseNodeClick(false);
    EXPECT_TRUE(g.IsInNodeButton(1, 300));
}

TEST(Nodes, ClickAndKeyNodeWork)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.AddNode(2, 4);
    QStringList log;
    bool allow = true;
    g.OnBeforeContractNode = [&](QObject*, int r, int real, bool& a) {
        log << QStringLiteral("before contract %1 %2").arg(r).arg(real);
        a = allow;
    };
    g.OnContractNode = [&](QObject*, int r, int real) { log << QStringLiteral("contract %1 %2").arg(r).arg(real); };
    g.OnBeforeExpandNode = [&](QObject*, int r, int real, bool&) {
        log << QStringLiteral("before expand %1 %2").arg(r).arg(real);
    };
    g.OnExpandNode = [&](QObject*, int r, int real) { log << QStringLiteral("expand %1 %2").arg(r).arg(real); };
    allow = false;
    EXPECT_FALSE(g.ClickNode(2));
    EXPECT_FALSE(g.GetNodeState(2));
    allow = true;
    EXPECT_TRUE(g.ClickNode(2));
    EXPECT_TRUE(g.GetNodeState(2));
    EXPECT_TRUE(g.ClickNode(2));
    EXPECT_FALSE(g.GetNodeState(2));
    EXPECT_EQ(log, QStringList({"before contract 2 2", "before contract 2 2", "contract 2 2", "before expand 2 2",
                                "expand 2 2"}));
    EXPECT_FALSE(g.ClickNode(3)); // not a node row

    // Left contracts, Right expands; a second press in the same direction does nothing
    EXPECT_TRUE(g.KeyNode(2, false));
    EXPECT_FALSE(g.KeyNode(2, false));
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 6 7 8 9 10 11 12"));
    EXPECT_TRUE(g.KeyNode(2, true));
    EXPECT_FALSE(g.KeyNode(7, true));

    // MoveRowOnNodeClick makes the clicked node row current
    g.MouseActions().SetMoveRowOnNodeClick(true);
    g.SetRow(8);
    g.ClickNode(2);
    EXPECT_EQ(g.Row(), 2);

    // the header node toggles every node of the grid
    NodeGrid h;
    h.grid->AddNode(0, 1);
    h.grid->AddNode(1, 3);
    h.grid->AddNode(4, 3);
    h.grid->ClickHeaderNode(0);
    EXPECT_EQ(h.Shown(), QStringLiteral("1 4 7 8 9 10 11 12"));
    EXPECT_TRUE(h.grid->GetNodeState(0));
    h.grid->ClickHeaderNode(0);
    EXPECT_EQ(h.Shown(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
    EXPECT_FALSE(h.grid->GetNodeState(0));
}

// The node glyph pressed with the mouse, Left and Right on a merged node row, and a release on
// an open node row selecting its group.
TEST(Nodes, GlyphClicksArrowKeysAndGroupSelection)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.CellNode().SetNodeType(cnFlat);
    g.SetColWidths(0, 40);
    g.AddNode(2, 4); // r2 node, r3 .. r5
    g.AddNode(7, 3); // r7 node, r8 .. r9
    f.window.show();
    QStringList log;
    g.OnClickCell = [&](QObject*, int r, int c) { log << QStringLiteral("click %1 %2").arg(r).arg(c); };
    g.OnContractNode = [&](QObject*, int r, int real) { log << QStringLiteral("contract %1 %2").arg(r).arg(real); };
    g.OnExpandNode = [&](QObject*, int r, int real) { log << QStringLiteral("expand %1 %2").arg(r).arg(real); };
    auto press = [&](int col, int row, int dx) {
        const TRect r = g.CellRect(col, row);
        QTest::mouseClick(g.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(r.Left + dx, r.Top + 10));
    };

    press(0, 2, 10); // on the glyph
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 6 7 8 9 10 11 12"));
    press(0, 2, 30); // beside it: reported, nothing opens
    EXPECT_TRUE(g.GetNodeState(2));
    press(0, 2, 10);
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
    EXPECT_EQ(log, QStringList({"click 2 0", "contract 2 2", "click 2 0", "click 2 0", "expand 2 2"}));

    // Left closes and Right opens the node of a merged node row; an unmerged one keeps its keys.
    g.MergeCells(1, 2, 2, 1);
    g.SetRow(2);
    g.SetCol(1);
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_TRUE(g.GetNodeState(2));
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 6 7 8 9 10 11 12"));
    QTest::keyClick(&g, Qt::Key_Right);
    EXPECT_FALSE(g.GetNodeState(2));
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12"));
    g.SetRow(7);
    g.SetCol(1);
    QTest::keyClick(&g, Qt::Key_Left);
    EXPECT_FALSE(g.GetNodeState(7));

    // AutoSelectGroup: a release on an open node row (past column 0) selects its rows.
    g.Grouping().AutoSelectGroup = true;
    press(1, 2, 20);
    EXPECT_EQ(g.Selection().Top, 3);
    EXPECT_EQ(g.Selection().Bottom, 5);
    EXPECT_EQ(g.Selection().Left, g.FixedCols());
    EXPECT_EQ(g.Selection().Right, g.ColCount() - 1);
    g.ContractNode(7);
    press(1, 7, 20); // a closed node: only the cell
    EXPECT_EQ(g.Selection().Top, 7);
    EXPECT_EQ(g.Selection().Bottom, 7);
    g.ExpandNode(7);
    g.MouseActions().SetDisjunctRowSelect(true);
    press(1, 7, 20);
    EXPECT_TRUE(g.RowSelect(8));
    EXPECT_TRUE(g.RowSelect(9));
    EXPECT_FALSE(g.RowSelect(10));
}

TEST(Nodes, AutoCheckGroup)
{
    NodeGrid f;
    TVerIvovavOzed& g = *f.grid;
    g.AddNode(1, 4); // r1 node, r2 .. r4 its rows
    g.AddNode(5, 3); // r5 node, r6 .. r7
    g.AddCheckBoxColumn(2);
    g.Grouping().AutoCheckGroup = true;
    TCheckBoxState st = cbUnchecked;

    // the node's box sets its rows
    ASSERT_TRUE(g.ToggleCheckBox(2, 1));
    ASSERT_TRUE(g.GetCheckBoxState(2, 1, st));
    EXPECT_EQ(st, cbChecked);
    for (int r = 2; r <= 4; ++r)
        EXPECT_TRUE(g.IsChecked(2, r)) << r;
    EXPECT_FALSE(g.IsChecked(2, 6)); // the other group is untouched

    // mixed rows gray the node; all equal again checks it
    g.ToggleCheckBox(2, 3);
    g.GetCheckBoxState(2, 1, st);
    EXPECT_EQ(st, cbGrayed);
    g.ToggleCheckBox(2, 3);
    g.GetCheckBoxState(2, 1, st);
    EXPECT_EQ(st, cbChecked);
    // a grayed node goes to checked (not through the tri-state round)
    g.ToggleCheckBox(2, 2);
    g.GetCheckBoxState(2, 1, st);
    ASSERT_EQ(st, cbGrayed);
    g.ToggleCheckBox(2, 1);
    g.GetCheckBoxState(2, 1, st);
    EXPECT_EQ(st, cbChecked);
    EXPECT_TRUE(g.IsChecked(2, 2));
    // every row unchecked: the node unchecks
    g.ToggleCheckBox(2, 1);
    g.GetCheckBoxState(2, 1, st);
    EXPECT_EQ(st, cbUnchecked);

    // a contracted node sets its hidden rows too
    g.ContractNode(1);
    g.ToggleCheckBox(2, 1);
    g.ExpandNode(1);
    for (int r = 2; r <= 4; ++r)
        EXPECT_TRUE(g.IsChecked(2, r)) << r;

    // a row outside every group changes nothing else
    g.ToggleCheckBox(2, 9);
    g.GetCheckBoxState(2, 5, st);
    EXPECT_EQ(st, cbUnchecked);

    // without the setting the node's box runs the tri-state round and the rows stay
    g.Grouping().AutoCheckGroup = false;
    g.ToggleCheckBox(2, 5);
    g.GetCheckBoxState(2, 5, st);
    EXPECT_EQ(st, cbGrayed);
    EXPECT_FALSE(g.IsChecked(2, 6));
}

TEST(Nodes, GrabOpenAndClosed)
{
    NodeGrid f(10);
    TVerIvovavOzed& g = *f.grid;
    g.SetFixedCols(0);
    g.SetColWidths(0, 60);
    g.CellNode().SetNodeType(cnFlat);
    g.AddNode(1, 5);
    g.AddNode(3, 2);
    g.AddNode(6, 3);
    for (int r = 1; r < 10; ++r)
        g.SetCells(0, r, QStringLiteral("n%1").arg(r));
    f.window.show();
    const QImage open = f.Grab();
    open.save(GrabFile("nodes_open.png"));
    g.ContractNode(3);
    g.ContractNode(6);
    const QImage closed = f.Grab();
    closed.save(GrabFile("nodes_closed.png"));
    EXPECT_EQ(f.Shown(), QStringLiteral("1 2 3 5 6 9"));
    EXPECT_NE(open, closed);
}
