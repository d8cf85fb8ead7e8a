#include "mainwindow.h"
#include "projectpaths.h"

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
        // `mirel FILE.cpro` opens that project instead of the last one.
        MainWindow window(ProjectPaths::fromArguments(QApplication::arguments().mid(1)));
        window.show();
        window.setWindowState(Qt::WindowMaximized);
        code = app.exec();
    }
    return code;
}
