// The wide-text validation of an open edit: its event may refuse or replace the value; with no
// edit open, or nothing changed, it asks nothing and answers valid.
#include "tests/gridedit/GridFixture.h"

#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;

TEST(GridValidateWide, EventAcceptsRefusesOrReplaces)
{
    GridFixture f;
    std::vector<QString> asked;
    QString replacement;
    bool accept = true;
    f.grid->OnCellValidateWide = [&](QObject*, int c, int r, QString& v, bool& valid) {
        asked.push_back(QString("%1,%2 %3").arg(c).arg(r).arg(v));
        if (!replacement.isEmpty())
            v = replacement;
        valid = accept;
    };
    f.grid->SetCells(2, 1, "old");
    EXPECT_TRUE(f.grid->ValidateCellWide("new"));  // no edit open
    EXPECT_TRUE(asked.empty());

    auto openEdit = [&] {
        f.GoTo(2, 1);
        f.Key(Qt::Key_F2);
        ASSERT_TRUE(f.grid->GetEditMode());
    };
    openEdit();
    EXPECT_TRUE(f.grid->ValidateCellWide("old"));  // unchanged: not asked
    EXPECT_TRUE(asked.empty());
    f.Key(Qt::Key_Escape);

    openEdit();
    EXPECT_TRUE(f.grid->ValidateCellWide("new"));
    EXPECT_EQ(asked, (std::vector<QString>{"2,1 new"}));
    EXPECT_EQ(f.grid->Cells(2, 1), "new");
    EXPECT_TRUE(f.grid->ValidateCellWide("again"));  // one validation per edit
    EXPECT_EQ(asked.size(), 1u);
    f.Key(Qt::Key_Escape);

    // Refused: the old text goes back; refused with a replacement: the replacement stays.
    f.grid->SetCells(2, 1, "old");
    accept = false;
    openEdit();
    EXPECT_FALSE(f.grid->ValidateCellWide("bad"));
    EXPECT_EQ(f.grid->Cells(2, 1), "old");
    f.Key(Qt::Key_Escape);
    replacement = "fixed";
    openEdit();
    EXPECT_FALSE(f.grid->ValidateCellWide("bad"));
    EXPECT_EQ(f.grid->Cells(2, 1), "fixed");
    f.Key(Qt::Key_Escape);
}
