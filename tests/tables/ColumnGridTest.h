#pragma once
// Row helpers for the tests of the column-grid table dialogs: put a row's data cells from a list,
// read them back as one.
#include "grid/AdvCGrid.h"

#include <QString>
#include <QStringList>

namespace table_test {

// Cells 1, 2, ... of row r get the texts of the list (a shorter list leaves the rest alone).
inline void Put_Row(TVerIvovavOzed* g, int r, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        g->SetCells(c + 1, r, cells[c]);
}

// The data cells 1 .. ColCount - 1 of row r.
inline QStringList Row_Of(TVerIvovavOzed* g, int r)
{
    QStringList l;
    for (int c = 1; c < g->ColCount(); ++c)
        l << g->Cells(c, r);
    return l;
}

inline QStringList Headers_Of(TVerIvovavOzed* g)
{
    QStringList l;
    for (int c = 0; c < g->ColCount(); ++c)
        l << g->Cells(c, 0);
    return l;
}

inline QList<int> Widths_Of(TVerIvovavOzed* g)
{
    QList<int> l;
    for (int c = 0; c < g->ColCount(); ++c)
        l << g->ColWidths(c);
    return l;
}

} // namespace table_test
