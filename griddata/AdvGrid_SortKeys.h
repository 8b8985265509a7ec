// The sort keys of a set of rows: each cell a sort compares is read once, and each column's
// compare style (with its prefix and suffix) is asked once, the first time the column is compared.
// Keys are numbered as the rows they were read from are given; a compare of two keys answers as a
// compare of their rows' cells would.
#pragma once

#include "grid/AdvGrid.h"

#include <memory>
#include <optional>
#include <vector>

class TVerIvovavOzed::TSortKeys {
public:
    TSortKeys(TVerIvovavOzed& Grid, std::vector<int> Rows);
    ~TSortKeys();

    int Row(int K) const { return FRows[size_t(K)]; }
    // The text of key K in the column, as compares read it.
    const QString& Text(int ACol, int K);
    // Whether every compare of two keys in the column is a case-sensitive compare of their texts
    // as they stand, the blank rule aside (no numbers, dates, times or check boxes among them).
    bool PlainOrdinal(int ACol);
    // 1 when key K1's row belongs after key K2's in ascending order by the column, 0 when equal,
    // -1 otherwise; empty cells placed by the blank settings whatever the direction.
    int CompareCells(int ACol, int K1, TSortDirection Direction, int K2);
    // Ties go to the columns on the right when the sort is full.
    int CompareRows(int ACol, int K1, int K2);
    // By the sort index list, each entry with its own direction.
    int CompareRowsIndexed(int K1, int K2);

private:
    struct Column;
    Column& Keys(int ACol);
    Column* FLast = nullptr; // the column compared last
    const QString& Upper(Column& c, int K);
    double Number(Column& c, int K, bool& ok);
    double Date(Column& c, int K, TSortStyle Style);
    const QString& Stripped(Column& c, int K);
    bool Checked(Column& c, int K);
    std::intptr_t Picture(Column& c, int K);

    TVerIvovavOzed& G;
    std::vector<int> FRows;
    std::vector<std::unique_ptr<Column>> FCols; // by column, read when first compared
};
