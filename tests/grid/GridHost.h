#pragma once
// A grid in a window of its own, loaded as a form loads it.
#include "grid/AdvGrid.h"

#include <QApplication>
#include <QSize>
#include <QTest>
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

// Shows the window, makes it the active one and gives the widget the focus; false when the
// window did not become active.
inline bool Show_Focused(QWidget& Form, QWidget* Focus)
{
    Form.show();
    Form.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&Form);
    Focus->setFocus();
    QApplication::processEvents();
    return active;
}

} // namespace kt_test
