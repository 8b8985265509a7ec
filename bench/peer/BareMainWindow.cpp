// The start-up benchmark's peer: a program of its own, linked with Qt Widgets alone, that shows a
// QMainWindow holding one label and reports, as the benchmark's children do, the CPU it spent
// before main and up to the window's first paint ("<before main> <to first paint>" in ms).
#include "../main/StartChild.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QLabel>
#include <QMainWindow>

#include <cstdio>

#include <unistd.h>

using bench::PaintWatch;
using bench::ProcessCpuMs;

int main(int argc, char** argv)
{
    const double atMain = ProcessCpuMs();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1; // the benchmark's arguments are not Qt's
    QApplication app(qtArgc, argv);
    (void)argc;
    QMainWindow window;
    auto* label = new QLabel(QStringLiteral("Ready"), &window);
    window.setCentralWidget(label);
    PaintWatch watch;
    label->installEventFilter(&watch); // the text drawn: the font list is loaded
    window.show();
    QElapsedTimer limit;
    limit.start();
    while (!watch.Painted && limit.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("%.3f %.3f\n", atMain, ProcessCpuMs());
    std::fflush(stdout);
    _exit(watch.Painted ? 0 : 2);
}
