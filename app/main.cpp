// Creates the application, starts the program (its windows in their order) and runs the loop.
#include "core/UStartup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    StartProgram();
    return app.exec();
}
