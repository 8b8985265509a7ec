#pragma once
// A grid in a window of its own, loaded as a form loads it.
#include "grid/AdvGrid.h"

#include <QSize>
#include <QWidget>

namespace kt_test {

struct GridHost {
    QWidget window;
    TVerIvovavOzed* grid;
    GridHost() : grid(new TVerIvovavOzed(&window)) { grid->Loaded(); }
};

// The same in a shown window of the given size, so that the viewport takes its size and the
// visible cells are known; the grid takes Grid_Size first where one is given.
struct ShownGridHost : GridHost {
    explicit ShownGridHost(int Width = 600, int Height = 400, QSize Grid_Size = QSize())
    {
        window.resize(Width, Height);
        if (Grid_Size.isValid())
            grid->resize(Grid_Size);
        window.show();
    }
};

} // namespace kt_test
