#include "appfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace AppFolders {

namespace {

QString programDirectory()
{
    return QCoreApplication::applicationDirPath();
}

QString installedShare()
{
    return QDir::cleanPath(programDirectory() + QStringLiteral("/../share/mirel"));
}

QString userLocation(QStandardPaths::StandardLocation location)
{
    const QString folder = QStandardPaths::writableLocation(location);
    QDir().mkpath(folder);
    return folder;
}

} // namespace

bool besideProgram()
{
    if (QFileInfo(installedShare() + QStringLiteral("/translations")).isDir())
        return false;
    return QFileInfo(programDirectory()).isWritable();
}

QString dataDirectory()
{
    return besideProgram() ? programDirectory() : userLocation(QStandardPaths::AppDataLocation);
}

QString settingsDirectory()
{
    return besideProgram() ? programDirectory() : userLocation(QStandardPaths::AppConfigLocation);
}

QString translationsDirectory()
{
    const QString installed = installedShare() + QStringLiteral("/translations");
    return QFileInfo(installed).isDir() ? installed : programDirectory();
}

QString guideDirectory()
{
    const QString installed = installedShare() + QStringLiteral("/doc");
    return QFileInfo(installed).isDir() ? installed : programDirectory() + QStringLiteral("/doc");
}

} // namespace AppFolders
