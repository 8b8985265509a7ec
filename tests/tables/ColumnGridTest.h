#pragma once
// Row helpers for the tests of the column-grid table dialogs: put a row's data cells from a list,
// read them back as one.
#include "grid/AdvCGrid.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

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

// The data cells of row r, those of hidden columns included, in the order of the real columns.
inline QStringList Row_With_Hidden(TZidIzavodUraz* g, int r)
{
    QStringList l;
    for (int c = 1; c < g->ColCount() + g->NumHiddenColumns(); ++c)
        l << g->Cells(c, r);
    return l;
}

// Cells 1 .. n of column c.
inline QStringList Column_Of(TVerIvovavOzed* g, int c, int n)
{
    QStringList l;
    for (int r = 1; r <= n; ++r)
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

// Whether the check box of row r's Enable column (1) is there and checked.
inline bool Row_Enabled(TVerIvovavOzed* g, int r)
{
    bool s = false;
    return g->GetCheckBoxState(1, r, s) && s;
}

// A row of n data cells, empty but for its Enable cell "Y".
inline QStringList Enabled_Empty_Row(int n)
{
    QStringList l(n, QString());
    l[0] = "Y";
    return l;
}

// What a check of a grid's columns takes in beside what it always checks.
enum Column_Checks { Plain = 0, Empty_Lists = 1, Item_Headers = 2 };

// The header row and the widths of g, column by column; with Item_Headers the texts are the
// columns' own as well.
inline void Expect_Headers_And_Widths(TZidIzavodUraz* g, const QStringList& headers, const QList<int>& widths,
                                      int Checks = Plain)
{
    ASSERT_EQ(g->ColCount(), headers.size());
    EXPECT_EQ(Headers_Of(g), headers);
    for (int c = 0; c < headers.size() && (Checks & Item_Headers); ++c)
        EXPECT_EQ(g->Columns().Items(c)->Header(), headers[c]) << c;
    EXPECT_EQ(Widths_Of(g), widths);
}

// The columns of g with a check box, a fixed list and an editable list; the others have none.
inline void Expect_Editors(TZidIzavodUraz* g, const QList<int>& checks, const QList<int>& lists,
                           const QList<int>& edits = {})
{
    for (int c = 0; c < g->ColCount(); ++c) {
        const TEditorType e = g->Columns().Items(c)->Editor();
        EXPECT_EQ(e == edDataCheckBox, checks.contains(c)) << c;
        EXPECT_EQ(e == edComboList, lists.contains(c)) << c;
        EXPECT_EQ(e == edComboEdit, edits.contains(c)) << c;
    }
}

// A column of a grid as made: header, width, editor, colour (not of column 0) and list items.
struct Column_Case {
    QString header;
    int width;
    TEditorType editor;
    TColor colour;
    QStringList items;
};

// Every column of g as the cases give it; check boxes are centred, the rest left. With Empty_Lists
// a column without items is checked to have none, with Item_Headers the header is the column's own.
inline void Expect_Columns(TZidIzavodUraz* g, const QList<Column_Case>& cols, int Checks)
{
    ASSERT_EQ(g->ColCount(), cols.size());
    for (int c = 0; c < cols.size(); ++c) {
        SCOPED_TRACE(c);
        TGridColumnItem* item = g->Columns().Items(c);
        EXPECT_EQ(g->Cells(c, 0), cols[c].header);
        if (Checks & Item_Headers) {
            EXPECT_EQ(item->Header(), cols[c].header);
        }
        EXPECT_EQ(g->ColWidths(c), cols[c].width);
        EXPECT_EQ(item->Editor(), cols[c].editor);
        if (c > 0) {
            EXPECT_EQ(item->Color(), cols[c].colour);
        }
        EXPECT_EQ(item->Alignment(), cols[c].editor == edDataCheckBox ? taCenter : taLeftJustify);
        if (cols[c].items.isEmpty() && !(Checks & Empty_Lists))
            continue;
        const platform::TStringList& items = item->ComboItems();
        ASSERT_EQ(items.Count(), cols[c].items.size());
        for (int i = 0; i < items.Count(); ++i)
            EXPECT_EQ(items.Strings(i), cols[c].items[i]);
    }
}

} // namespace table_test
