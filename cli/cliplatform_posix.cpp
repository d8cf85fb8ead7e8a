// mirel-cli's operating-system calls on Unix.

#include "cliplatform.h"
#include "commandline.h"
#include "stopsignal.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reasonOf(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

#ifdef O_PATH
constexpr int kReach = O_PATH | O_CLOEXEC; // names a file without opening it
#else
constexpr int kReach = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
#endif

// Where the signal handler tells the event loop: a pipe it writes a byte to.
int g_pipe[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 's';
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

} // namespace

namespace CliPlatform {

bool stdoutIsTerminal()
{
    return ::isatty(STDOUT_FILENO) == 1;
}

int terminalColumns()
{
    winsize size = {};
    return ::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 ? int(size.ws_col) : 0;
}

TableFile readFile(const QString &path, qint64 maxSize, QByteArray *bytes, qint64 *size,
                   QString *reason)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *reason = reasonOf(errno);
        return TableFile::Failed;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return TableFile::NotAFile;
    }
    *size = qint64(info.st_size);
    if (*size > maxSize) {
        ::close(fd);
        return TableFile::TooLarge;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *reason = file.errorString();
        return TableFile::Failed;
    }
    *bytes = file.readAll();
    return TableFile::Read;
}

bool reachesNamesByBytes()
{
    return QFileInfo(QStringLiteral("/proc/self/fd")).isDir();
}

QString reach(const QByteArray &name)
{
    const int fd = ::open(name.constData(), kReach);
    return fd < 0 ? QString() : descriptorPath(fd);
}

QByteArray resolved(const QByteArray &name, bool *isFile)
{
    struct stat info = {};
    *isFile = false;
    if (::stat(name.constData(), &info) != 0)
        return QByteArray();
    *isFile = S_ISREG(info.st_mode);
    char target[PATH_MAX]; // through a link, the file it points to
    return *isFile && ::realpath(name.constData(), target) ? QByteArray(target) : name;
}

int openFolder(const QByteArray &folder, QString *reason)
{
    const int fd = ::open(folder.constData(), kReach | O_DIRECTORY);
    if (fd < 0)
        *reason = reasonOf(errno);
    return fd;
}

QString descriptorPath(int fd)
{
    return QStringLiteral("/proc/self/fd/%1").arg(fd);
}

bool renameInFolder(int folder, const QByteArray &from, const QByteArray &to, bool *written,
                    QString *reason)
{
    struct stat info = {};
    *written = ::fstatat(folder, from.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0;
    if (!*written)
        return true;
    if (::renameat(folder, from.constData(), folder, to.constData()) == 0)
        return true;
    *reason = reasonOf(errno);
    ::unlinkat(folder, from.constData(), 0);
    return false;
}

bool makeFile(const QByteArray &name, QString *reason)
{
    struct stat info = {};
    if (::stat(name.constData(), &info) == 0)
        return true;
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0) {
        *reason = reasonOf(errno);
        return false;
    }
    ::close(fd);
    return true;
}

} // namespace CliPlatform

// SIGINT and SIGTERM reach the event loop through a pipe that the handler
// writes to.
StopSignal::StopSignal(QObject *parent) : QObject(parent)
{
    if (g_pipe[0] >= 0 || ::pipe(g_pipe) != 0)
        return;
    for (int fd : g_pipe) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    m_watch = notifier;
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        ssize_t n = 0;
        while ((n = ::read(g_pipe[0], bytes, sizeof bytes)) > 0)
            for (ssize_t i = 0; i < n; ++i)
                emit requested(++m_count);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

StopSignal::~StopSignal()
{
    if (!m_watch)
        return;
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    delete m_watch;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

namespace Cli {

struct TerminationHold::Held
{
    sigset_t previous;
};

TerminationHold::TerminationHold() : m_held(std::make_unique<Held>())
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaddset(&set, signal);
    pthread_sigmask(SIG_BLOCK, &set, &m_held->previous);
}

TerminationHold::~TerminationHold()
{
    pthread_sigmask(SIG_SETMASK, &m_held->previous, nullptr);
}

} // namespace Cli
