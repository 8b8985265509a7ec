#pragma once
// The grid's OLE drop source and drop target: what a grid does when its cells, rows or a column
// are dragged out of it, and when columns, cell streams, rich text, text, files or links are
// dropped on it.
#include "grid/AdvGrid.h"

class TGridDropTarget {
public:
    explicit TGridDropTarget(TVerIvovavOzed* AGrid) : FGrid(AGrid) {}
    virtual ~TGridDropTarget() = default;
    TVerIvovavOzed* Grid() const { return FGrid; }

private:
    TVerIvovavOzed* FGrid;
};
