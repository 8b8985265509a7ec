// Creates the application and the windows in their order, then runs the loop.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("KT40917 - OPC UA Server / S7comm - Converter"));
    w.resize(640, 480);
    w.show();
    return app.exec();
}
