#include "filekind.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace FileKind {

namespace {

#ifdef Q_OS_UNIX
bool statOf(const QString &path, struct stat *info)
{
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), info) == 0;
}
#endif

// "is a folder", "is a named pipe"... of what is not a file.
QString notAFile(const QString &path, Kind kind)
{
    switch (kind) {
    case Missing:
        return QCoreApplication::translate("FileKind", "%1 不存在").arg(path);
    case Folder:
        return QCoreApplication::translate("FileKind", "%1 是文件夹，不是文件").arg(path);
    case Pipe:
        return QCoreApplication::translate("FileKind", "%1 是命名管道（FIFO），不是文件").arg(path);
    case Device:
        return QCoreApplication::translate("FileKind", "%1 是设备，不是文件").arg(path);
    case Socket:
        return QCoreApplication::translate("FileKind", "%1 是套接字，不是文件").arg(path);
    case Other:
        return QCoreApplication::translate("FileKind", "%1 不是文件").arg(path);
    case File:
        break;
    }
    return QString();
}

} // namespace

Kind of(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    if (!statOf(path, &info))
        return Missing;
    if (S_ISREG(info.st_mode))
        return File;
    if (S_ISDIR(info.st_mode))
        return Folder;
    if (S_ISFIFO(info.st_mode))
        return Pipe;
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return Device;
    if (S_ISSOCK(info.st_mode))
        return Socket;
    return Other;
#else
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Missing;
    return info.isFile() ? File : info.isDir() ? Folder : Other;
#endif
}

QString whyNotReadable(const QString &path)
{
    if (path.isEmpty())
        return QCoreApplication::translate("FileKind", "没有给出文件名");
    return notAFile(path, of(path));
}

QString whyNotWritable(const QString &path)
{
    if (path.isEmpty())
        return QCoreApplication::translate("FileKind", "没有给出文件名");
    const Kind kind = of(path);
    return kind == Missing ? QString() : notAFile(path, kind);
}

bool sameFile(const QString &a, const QString &b)
{
#ifdef Q_OS_UNIX
    struct stat first = {}, second = {};
    return statOf(a, &first) && statOf(b, &second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

} // namespace FileKind
