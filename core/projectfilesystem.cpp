#include "projectfilesystem.h"

#include <QDir>
#include <QFileInfo>

bool removeDirectoryTree(const QString &directoryPath)
{
    if (directoryPath.isEmpty())
        return false;
    QDir dir(directoryPath);
    if (!dir.exists())
        return true;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Dirs | QDir::Files | QDir::Drives | QDir::Hidden | QDir::System |
                          QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() && !entry.isSymLink())
            removeDirectoryTree(entry.absoluteFilePath());
        else
            dir.remove(entry.fileName());
    }
    // Only the folder itself: its parents belong to the user or the program.
    return QDir().rmdir(dir.absolutePath());
}
