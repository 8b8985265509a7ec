#pragma once
// Internal to TStringGrid: the layout of the cells along one direction.
#include "platform/StringGrid.h"

#include <algorithm>
#include <climits>
#include <vector>

// Columns (or rows) laid out along one axis: the fixed ones from 0, then the scrolled ones from
// First. Each takes its size plus the grid line width.
struct TStringGrid::Axis {
    const std::vector<int>* Sizes = nullptr;
    int Default = 0;
    int Count = 0;
    int Fixed = 0;
    int First = 0;
    int Line = 0;
    int Extent = 0; // client size along the axis

    int Size(int i) const
    {
        if (Sizes && i >= 0 && i < int(Sizes->size()))
            return (*Sizes)[i];
        return Default;
    }
    int FixedExtent() const
    {
        int e = 0;
        for (int i = 0; i < Fixed && i < Count; ++i)
            e += Size(i) + Line;
        return e;
    }
    // Client position of cell i, or INT_MIN when it is scrolled out before the view.
    int Start(int i) const
    {
        if (i < 0 || i >= Count)
            return INT_MIN;
        int p = 0;
        if (i < Fixed) {
            for (int j = 0; j < i; ++j)
                p += Size(j) + Line;
            return p;
        }
        if (i < First)
            return INT_MIN;
        p = FixedExtent();
        for (int j = First; j < i && p < Extent; ++j)
            p += Size(j) + Line;
        if (p >= Extent)
            return Extent; // beyond the view
        return p;
    }
    // Last cell that shows at least partly; First - 1 when none.
    int LastVisible() const
    {
        int p = FixedExtent();
        int i = First;
        int last = First - 1;
        while (i < Count && p < Extent) {
            last = i;
            p += Size(i) + Line;
            ++i;
        }
        return last;
    }
    int LastFullVisible() const
    {
        int p = FixedExtent();
        int i = First;
        int last = First - 1;
        while (i < Count) {
            if (p + Size(i) > Extent)
                break;
            last = i;
            p += Size(i) + Line;
            ++i;
        }
        return last;
    }
    int VisibleCount() const
    {
        if (Count <= Fixed)
            return 0;
        return std::max(1, LastFullVisible() - First + 1);
    }
    // Largest First that still fills the view (the last cell fully shown).
    int MaxFirst() const
    {
        if (Count <= Fixed)
            return Fixed;
        const int avail = Extent - FixedExtent();
        int sum = 0;
        int i = Count - 1;
        while (i >= Fixed) {
            sum += Size(i) + Line;
            if (sum - Line > avail)
                break;
            --i;
        }
        return std::clamp(i + 1, Fixed, Count - 1);
    }
    // Cell at a client position (a grid line belongs to the cell before it); -1 outside.
    int At(int pos) const
    {
        if (pos < 0 || pos >= Extent)
            return -1;
        int p = 0;
        for (int i = 0; i < Fixed && i < Count; ++i) {
            p += Size(i) + Line;
            if (pos < p)
                return i;
        }
        for (int i = First; i < Count && p < Extent; ++i) {
            p += Size(i) + Line;
            if (pos < p)
                return i;
        }
        return -1;
    }
    // End of the shown cells (at most Extent).
    int UsedExtent() const
    {
        int p = FixedExtent();
        for (int i = First; i < Count && p < Extent; ++i)
            p += Size(i) + Line;
        return std::min(p, Extent);
    }
};

