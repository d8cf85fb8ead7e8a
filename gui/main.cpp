#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mirel"));
    QApplication::setDesktopFileName(QStringLiteral("com.mirel.Mirel"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ico/PindleLogo.png")));
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
