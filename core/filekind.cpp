#include "filekind.h"

#include "platform.h"

#include <QCoreApplication>

namespace FileKind {

namespace {

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
    return Platform::kindOf(path);
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
    return Platform::sameFile(a, b);
}

} // namespace FileKind
