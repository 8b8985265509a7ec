// The row of a word-wrapped cell grows with the text while it is typed, and the grid's
// end-of-row-size event hears of it; the column sizing's synch setting is left as it was.
#include "tests/gridedit/GridFixture.h"

#include <gtest/gtest.h>
#include <vector>

using kt_test::GridFixture;

TEST(GridTypingRowSize, WrappedCellGrowsWhileTyping)
{
    GridFixture f(5, 4);
    f.grid->SetColWidths(2, 40);
    f.grid->SetWordWrap(true);
    f.grid->SizeWhileTyping().SetHeight(true);
    f.grid->ColumnSize().SetSynchWithGrid(true);
    std::vector<int> sized;
    f.grid->OnEndRowSize = [&](QObject*, int r) { sized.push_back(r); };
    const int before = f.grid->RowHeights(2);
    f.GoTo(2, 2);
    f.Type("some words that wrap");
    EXPECT_TRUE(f.grid->GetEditMode());
    EXPECT_GT(f.grid->RowHeights(2), before);
    ASSERT_FALSE(sized.empty());
    EXPECT_EQ(sized.back(), 2);
    EXPECT_TRUE(f.grid->ColumnSize().SynchWithGrid());
    f.Key(Qt::Key_Return);
}
