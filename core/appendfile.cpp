#include "appendfile.h"

#include "filekind.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace {

int g_lockWaitMs = 10000;

// The file may be replaced between the opening and the lock (saved again by
// another program): it is opened again, a few times at most.
constexpr int MaxOpenings = 8;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("AppendFile", "无法写入%1：%2").arg(path, reason);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("AppendFile", "无法读取%1：%2").arg(path, reason);
}

QString held(const QString &path, int waitMs)
{
    if (waitMs <= 0)
        return QCoreApplication::translate("AppendFile", "%1被另一个程序锁住").arg(path);
    return QCoreApplication::translate("AppendFile", "%1被另一个程序锁住，%2秒后仍未放开")
        .arg(path)
        .arg((waitMs + 999) / 1000);
}

#ifdef Q_OS_UNIX
QString reason(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

// Whether fd is still the file path names.
bool stillNamed(int fd, const QString &path)
{
    struct stat opened = {}, named = {};
    return ::fstat(fd, &opened) == 0 && ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}
#endif

} // namespace

struct AppendFile::Handle
{
#ifdef Q_OS_UNIX
    int fd = -1;
    ~Handle()
    {
        if (fd >= 0)
            ::close(fd); // the lock goes with it
    }
#else
    std::unique_ptr<QLockFile> lock;
    QFile file;
#endif
};

AppendFile::AppendFile(const QString &path) : m_path(path) {}

AppendFile::~AppendFile() = default;

int AppendFile::lockWaitMs()
{
    return g_lockWaitMs;
}

void AppendFile::setLockWaitMs(int ms)
{
    g_lockWaitMs = qMax(0, ms);
}

bool AppendFile::open(QString *error)
{
    bool busy = false;
    return openWaiting(g_lockWaitMs, error, &busy);
}

bool AppendFile::tryOpen(QString *error, bool *busy)
{
    return openWaiting(0, error, busy);
}

bool AppendFile::openWaiting(int waitMs, QString *error, bool *busy)
{
    *busy = false;
    m_handle.reset();
    // A device is never opened: opening a serial port alone changes its lines.
    const QString why = FileKind::whyNotWritable(m_path);
    if (!why.isEmpty())
        return fail(error, why);
    const QFileInfo info(m_path);
    if (!info.isSymLink() && !info.absoluteDir().exists())
        return fail(error,
                    cannotWrite(m_path, QCoreApplication::translate("AppendFile", "文件夹%1不存在")
                                            .arg(info.absolutePath())));
    auto handle = std::make_unique<Handle>();
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(m_path);
    QElapsedTimer waited;
    waited.start();
    for (int opening = 1;; ++opening) {
        int fd = -1;
        do {
            fd = ::open(name.constData(),
                        O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0)
            return fail(error, cannotWrite(m_path, reason(errno)));
        handle->fd = fd;
        struct stat opened = {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            const QString kind = FileKind::whyNotWritable(m_path);
            return fail(error,
                        !kind.isEmpty()
                            ? kind
                            : QCoreApplication::translate("FileKind", "%1 不是文件").arg(m_path));
        }
        int pauseMs = 1;
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int code = errno;
            if (code == EINTR)
                continue;
            if (code != EWOULDBLOCK)
                return fail(error, QCoreApplication::translate("AppendFile", "无法锁定%1：%2")
                                       .arg(m_path, reason(code)));
            if (waited.elapsed() >= waitMs) {
                *busy = true;
                return fail(error, held(m_path, waitMs));
            }
            QThread::msleep(ulong(pauseMs));
            pauseMs = qMin(pauseMs * 2, 20);
        }
        if (stillNamed(fd, m_path) || opening == MaxOpenings)
            break;
        ::close(fd);
        handle->fd = -1;
    }
#else
    handle->lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    if (!handle->lock->tryLock(waitMs)) {
        *busy = true;
        return fail(error, held(m_path, waitMs));
    }
    handle->file.setFileName(m_path);
    if (!handle->file.open(QIODevice::ReadWrite | QIODevice::Append))
        return fail(error, cannotWrite(m_path, handle->file.errorString()));
#endif
    m_handle = std::move(handle);
    return true;
}

qint64 AppendFile::size() const
{
    if (!m_handle)
        return -1;
#ifdef Q_OS_UNIX
    struct stat info = {};
    return ::fstat(m_handle->fd, &info) == 0 ? qint64(info.st_size) : -1;
#else
    return m_handle->file.size();
#endif
}

bool AppendFile::read(qint64 offset, int length, QByteArray *bytes, QString *error) const
{
    bytes->clear();
    if (!m_handle)
        return fail(error, cannotRead(m_path, QStringLiteral("not open")));
#ifdef Q_OS_UNIX
    bytes->resize(qMax(0, length));
    int done = 0;
    while (done < bytes->size()) {
        const ssize_t n = ::pread(m_handle->fd, bytes->data() + done, size_t(bytes->size() - done),
                                  offset + done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int code = errno;
            bytes->clear();
            return fail(error, cannotRead(m_path, reason(code)));
        }
        if (n == 0)
            break; // the end of the file
        done += int(n);
    }
    bytes->resize(done);
    return true;
#else
    if (!m_handle->file.seek(offset))
        return fail(error, cannotRead(m_path, m_handle->file.errorString()));
    *bytes = m_handle->file.read(length);
    return true;
#endif
}

bool AppendFile::append(const QByteArray &bytes, QString *error)
{
    if (!m_handle)
        return fail(error, cannotWrite(m_path, QStringLiteral("not open")));
    const qint64 before = size();
    if (before < 0)
        return fail(error, cannotWrite(m_path, QStringLiteral("no length")));
#ifdef Q_OS_UNIX
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
    if (code != 0) {
        [[maybe_unused]] const int cut = ::ftruncate(fd, before);
        return fail(error, cannotWrite(m_path, reason(code)));
    }
    return true;
#else
    QFile &file = m_handle->file;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = file.errorString();
        file.resize(before);
        return fail(error, cannotWrite(m_path, why));
    }
    return true;
#endif
}
