// The top-level window a benchmarked control sits alone in, shown at the benchmark's size.
#pragma once

#include <QApplication>
#include <QWidget>

namespace bench {

template <int Width, int Height>
struct ShownWindow {
    QWidget host;
    ShownWindow() { host.resize(Width, Height); }
    // Puts the control over the whole window and shows it, its first paint done.
    void Show(QWidget* w)
    {
        w->setGeometry(0, 0, Width, Height);
        host.show();
        QApplication::processEvents();
    }
};

} // namespace bench
