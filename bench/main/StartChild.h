// What a cold start measured by the start-up benchmark shares with its bare peer program: the
// CPU the process has spent, and the watch for the window's first paint.
#pragma once

#include <QEvent>
#include <QObject>

#include <sys/resource.h>

namespace bench {

inline double ProcessCpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Notes the first paint of the watched window.
class PaintWatch : public QObject {
public:
    bool Painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace bench
