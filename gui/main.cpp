#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int code = 0;
    {
        MainWindow window;
        window.show();
        window.setWindowTitle(QStringLiteral("Mirel"));
        window.setWindowState(Qt::WindowMaximized);
        code = app.exec();
    }
    return code;
}
