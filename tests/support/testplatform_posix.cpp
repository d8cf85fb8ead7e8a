#include "testplatform.h"

#include <QFile>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace TestPlatform {

bool makePipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool hardLink(const QString &existing, const QString &link)
{
    return ::link(QFile::encodeName(existing).constData(), QFile::encodeName(link).constData()) ==
           0;
}

quint64 fileId(const QString &path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? quint64(info.st_ino) : 0;
}

bool sendSignal(qint64 pid, int signal)
{
    return pid > 0 && ::kill(pid_t(pid), signal) == 0;
}

bool isRoot()
{
    return ::geteuid() == 0;
}

} // namespace TestPlatform
