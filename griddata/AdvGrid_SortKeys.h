// The sort keys of a set of rows: each cell a sort compares is read once, and each column's
// compare style (with its prefix and suffix) is asked once, the first time the column is compared.
// Keys are numbered as the rows they were read from are given; a compare of two keys answers as a
// compare of their rows' cells would.
#pragma once

#include "grid/AdvGrid.h"

#include <QStringView>

#include <memory>
#include <optional>
#include <vector>

// The first four code units of a text packed so that a smaller head means a smaller text in the
// ordinal compare, and equal heads decide nothing: units past the end count 0, and from the first
// unit at or above 0xD800 on every place counts 0xFFFF, so no order among surrogates and the units
// after them is assumed.
inline quint64 OrdinalHead(QStringView s)
{
    quint64 head = 0;
    bool high = false;
    for (qsizetype i = 0; i < 4; ++i) {
        quint64 u = 0;
        if (high || (i < s.size() && s[i].unicode() >= 0xD800)) {
            high = true;
            u = 0xFFFF;
        } else if (i < s.size()) {
            u = s[i].unicode();
        }
        head = (head << 16) | u;
    }
    return head;
}

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
    // Whether most texts of the column differ in their heads (OrdinalHead), judged from a sample
    // spread over the keys.
    bool HeadsMostlyDiffer(int ACol);
    // 1 when key K1's row belongs after key K2's in ascending order by the column, 0 when equal,
    // -1 otherwise; empty cells placed by the blank settings whatever the direction.
    // Self: K1 is K2 and the style is known to find them equal (SelfCompare).
    int CompareCells(int ACol, int K1, TSortDirection Direction, int K2, bool Self = false);
    // Ties go to the columns on the right when the sort is full.
    int CompareRows(int ACol, int K1, int K2);
    // By the sort index list, each entry with its own direction.
    int CompareRowsIndexed(int K1, int K2);
    // The keys of the column ranked for the direction: keys that compare equal share a rank, and
    // a key that compares before another has the smaller rank, so the sign of the difference of
    // two ranks is what CompareCells answers. Empty when the column's compare is no one order of
    // each key's own value (its style differs by pair of keys, or an event compares). Count, when
    // given, receives how many ranks there are at most.
    const std::vector<int>& Ranks(int ACol, TSortDirection Direction, int* Count = nullptr);

private:
    struct Column;
    // The column with its compare style, prefix and suffix; Keys reads its cells too.
    Column& Format(int ACol);
    Column& Keys(int ACol);
    bool SelfCompare(int ACol, int K1, int K2);
    Column* FLast = nullptr; // the column compared last
    const QString& Upper(Column& c, int K);
    double Number(Column& c, int K, bool& ok);
    double Date(Column& c, int K, TSortStyle Style);
    const QString& Stripped(Column& c, int K);
    bool Checked(Column& c, int K);
    std::intptr_t Picture(Column& c, int K);
    void Rank(Column& c, TSortDirection Direction);

    TVerIvovavOzed& G;
    std::vector<int> FRows;
    std::vector<std::unique_ptr<Column>> FCols; // by column, read when first compared
};
