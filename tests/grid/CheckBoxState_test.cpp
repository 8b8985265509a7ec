// Reading a check box's state back, with rows shown and with rows hidden: a plain, a data and a
// tri-state check box, and a cell without one, through both readers.
#include "grid/AdvGrid.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct CheckGrid {
    QWidget window;
    TVerIvovavOzed* grid;
    CheckGrid() : grid(new TVerIvovavOzed(&window))
    {
        grid->Loaded();
        for (int r = 1; r < grid->RowCount(); ++r) {
            grid->AddCheckBox(1, r, true, false);
            grid->AddCheckBox(2, r, false, true);
            grid->SetCells(2, r, r % 2 ? QStringLiteral("Y") : QStringLiteral("N"));
            grid->AddCheckBox(3, r, cbGrayed);
        }
    }
};

// "-" no check box read, else the state read: "1"/"0" for the bool reader, "C"/"U"/"G" for the other.
QString Read(TVerIvovavOzed& g, int col, int row)
{
    QString out;
    bool b = false;
    out += g.GetCheckBoxState(col, row, b) ? (b ? "1" : "0") : "-";
    TCheckBoxState s = cbUnchecked;
    out += g.GetCheckBoxState(col, row, s) ? (s == cbChecked ? "C" : s == cbGrayed ? "G" : "U") : "-";
    return out;
}

} // namespace

TEST(CheckBoxState, ReadWithRowsShownAndHidden)
{
    CheckGrid h;
    TVerIvovavOzed& g = *h.grid;
    struct Case { bool hidden; int col, row; const char* want; } cases[] = {
        {false, 1, 3, "1C"}, {false, 2, 3, "1C"}, {false, 2, 4, "0U"}, {false, 3, 3, "-G"}, {false, 4, 3, "--"},
        {true, 1, 3, "1C"}, {true, 2, 3, "1C"}, {true, 2, 4, "0U"}, {true, 3, 3, "0G"}, {true, 4, 3, "--"},
        {true, 1, 5, "1C"}, {true, 2, 5, "1C"}, {true, 3, 6, "0G"},
    };
    for (const Case& k : cases) {
        if (k.hidden && g.NumHiddenRows() == 0)
            g.HideRow(2);
        EXPECT_EQ(Read(g, k.col, k.row), QString(k.want)) << k.hidden << " " << k.col << "," << k.row;
    }
}
