// The core's operating-system calls on Unix.

#include "platform.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

namespace {

// The file may be replaced between the opening and the lock (saved again by
// another program): it is opened again, a few times at most.
constexpr int MaxOpenings = 8;

QString reasonOf(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool statOf(const QString &path, struct stat *info)
{
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), info) == 0;
}

// Whether fd is still the file path names.
bool stillNamed(int fd, const QString &path)
{
    struct stat opened = {}, named = {};
    return ::fstat(fd, &opened) == 0 && statOf(path, &named) && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

} // namespace

const char *name()
{
    return "posix";
}

FileKind::Kind kindOf(const QString &path)
{
    struct stat info = {};
    if (!statOf(path, &info))
        return FileKind::Missing;
    if (S_ISREG(info.st_mode))
        return FileKind::File;
    if (S_ISDIR(info.st_mode))
        return FileKind::Folder;
    if (S_ISFIFO(info.st_mode))
        return FileKind::Pipe;
    if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode))
        return FileKind::Device;
    if (S_ISSOCK(info.st_mode))
        return FileKind::Socket;
    return FileKind::Other;
}

bool sameFile(const QString &a, const QString &b)
{
    struct stat first = {}, second = {};
    return statOf(a, &first) && statOf(b, &second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

// The lock is the system's lock on the opened file (flock): it goes with the
// descriptor, so a program killed while it holds the lock blocks nobody.
struct LockedFile::Handle
{
    int fd = -1;
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd); // the lock goes with it
    }
};

LockedFile::LockedFile() = default;

LockedFile::~LockedFile() = default;

LockedFile::Opening LockedFile::open(const QString &path, int waitMs, QString *reason)
{
    m_handle.reset();
    auto handle = std::make_unique<Handle>();
    const QByteArray encoded = QFile::encodeName(path);
    QElapsedTimer waited;
    waited.start();
    for (int opening = 1;; ++opening) {
        int fd = -1;
        do {
            fd = ::open(encoded.constData(),
                        O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            *reason = reasonOf(errno);
            return Failed;
        }
        handle->fd = fd;
        struct stat opened = {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode))
            return NotAFile;
        int pauseMs = 1;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            if (code == EINTR)
                continue;
            if (code != EWOULDBLOCK) {
                *reason = reasonOf(code);
                return LockFailed;
            }
            if (waited.elapsed() >= waitMs)
                return Busy;
            QThread::msleep(ulong(pauseMs));
            pauseMs = qMin(pauseMs * 2, 20);
        }
        if (stillNamed(fd, path) || opening == MaxOpenings)
            break;
        ::close(fd);
        handle->fd = -1;
    }
    m_handle = std::move(handle);
    return Opened;
}

qint64 LockedFile::size() const
{
    struct stat info = {};
    return m_handle && ::fstat(m_handle->fd, &info) == 0 ? qint64(info.st_size) : -1;
}

bool LockedFile::readAt(qint64 offset, int length, QByteArray *bytes, QString *reason) const
{
    bytes->resize(qMax(0, length));
    int done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::pread(m_handle->fd, bytes->data() + done, size_t(bytes->size() - done),
                                  offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            *reason = reasonOf(errno);
            bytes->clear();
            return false;
        }
        if (n == 0)
            break; // the end of the file
        done += int(n);
    }
    bytes->resize(done);
    return true;
}

bool LockedFile::appendSynced(const QByteArray &bytes, QString *reason)
{
    const qint64 before = size();
    const int fd = m_handle->fd;
    // One write takes the whole: the lock keeps every other writer out, so
    // a write the system takes only in part (a disk filling up) goes on
    // from where it stopped, or fails with the system's reason.
    int code = 0;
    for (qint64 done = 0; done < bytes.size() && code == 0;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            code = errno;
        else if (n == 0)
            code = ENOSPC;
    }
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (code == 0)
        return true;
    [[maybe_unused]] const int cut = ::ftruncate(fd, before);
    *reason = reasonOf(code);
    return false;
}

bool isSerialDevice(const QString &path)
{
    struct stat info = {};
    if (!statOf(path, &info) || !S_ISCHR(info.st_mode))
        return false;
    // Opening the multiplexer would make a new pseudo-terminal.
    return QFileInfo(path).canonicalFilePath() != QLatin1String("/dev/ptmx") &&
           QFileInfo(path).fileName() != QLatin1String("ptmx");
}

bool lineHungUp(qintptr handle)
{
    pollfd fd = {int(handle), POLLIN, 0};
    return ::poll(&fd, 1, 0) > 0 && (fd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool processGone(qint64 pid)
{
    // Another user's process answers EPERM: it runs.
    return pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

bool isOwnFolder(const QString &path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid();
}

} // namespace Platform
