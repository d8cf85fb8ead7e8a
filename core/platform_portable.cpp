// The core's operating-system calls made through Qt and the C++ library
// alone, for systems without the Unix calls; the few that Windows needs of
// its own stand under Q_OS_WIN.

#include "platform.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace Platform {

namespace {

namespace fs = std::filesystem;

fs::path pathOf(const QString &path)
{
#ifdef Q_OS_WIN
    return fs::path(path.toStdWString());
#else
    return fs::path(QFile::encodeName(path).toStdString());
#endif
}

// The one name of the file path leads to: through links, and through a
// folder reached by a link when the file is not there yet.
QString canonicalName(const QString &path, int links = 0)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink() && links < 8)
        return canonicalName(info.symLinkTarget(), links + 1);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

// The lock every writer of this build takes: a lock file beside the file,
// whichever name it is reached by. (Two hard links of one file are two names
// here: nothing in Qt tells them apart.)
QString lockPathOf(const QString &path)
{
    return canonicalName(path) + QStringLiteral(".lock");
}

// Waits until what was written is on disk, where the system can be asked.
bool syncToDisk(QFile &file)
{
#ifdef Q_OS_WIN
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    return handle != INVALID_HANDLE_VALUE && ::FlushFileBuffers(handle) != 0;
#else
    // The C++ library has no call for it: the bytes are handed to the
    // system, which writes them in its own time.
    Q_UNUSED(file)
    return true;
#endif
}

} // namespace

const char *name()
{
    return "portable";
}

FileKind::Kind kindOf(const QString &path)
{
    if (path.isEmpty())
        return FileKind::Missing;
    std::error_code error;
    const fs::file_status status = fs::status(pathOf(path), error);
    switch (status.type()) {
    case fs::file_type::regular:
        return FileKind::File;
    case fs::file_type::directory:
        return FileKind::Folder;
    case fs::file_type::fifo:
        return FileKind::Pipe;
    case fs::file_type::character:
    case fs::file_type::block:
        return FileKind::Device;
    case fs::file_type::socket:
        return FileKind::Socket;
    case fs::file_type::not_found:
    case fs::file_type::none:
        return FileKind::Missing;
    default:
        return error ? FileKind::Missing : FileKind::Other;
    }
}

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    std::error_code error;
    return fs::equivalent(pathOf(a), pathOf(b), error) && !error;
}

// The lock is a lock file beside the file, which names its holder: a lock
// whose holder no longer runs is taken over, however long it was held.
struct LockedFile::Handle
{
    explicit Handle(const QString &path) : lock(lockPathOf(path)), file(path) {}
    QLockFile lock;
    QFile file;
};

LockedFile::LockedFile() = default;

LockedFile::~LockedFile() = default;

LockedFile::Opening LockedFile::open(const QString &path, int waitMs, QString *reason)
{
    m_handle.reset();
    auto handle = std::make_unique<Handle>(path);
    // Only a holder that no longer runs is stale, never one that is slow.
    // (Qt also keeps a system lock on the lock file where it can, which
    // guards a live holder on its own.)
    handle->lock.setStaleLockTime(0);
    // Tried again and again with short pauses: QLockFile's own wait doubles
    // its pauses up to seconds, and a writer among many would starve.
    QElapsedTimer waited;
    waited.start();
    for (int pauseMs = 1; !handle->lock.tryLock(0); pauseMs = qMin(pauseMs * 2, 20)) {
        switch (handle->lock.error()) {
        case QLockFile::LockFailedError:
            break;
        case QLockFile::PermissionError:
            *reason = QStringLiteral("permission denied on the lock file %1").arg(lockPathOf(path));
            return LockFailed;
        default:
            *reason = QStringLiteral("the lock file %1 cannot be made").arg(lockPathOf(path));
            return LockFailed;
        }
        if (waited.elapsed() >= waitMs)
            return Busy;
        QThread::msleep(ulong(pauseMs));
    }
    // Taken under the lock: a file put in its place meanwhile is the one
    // opened.
    const FileKind::Kind kind = kindOf(path);
    if (kind != FileKind::File && kind != FileKind::Missing)
        return NotAFile;
    // Unbuffered: a row the disk takes only in part is not kept back in a
    // buffer, which would keep the file from being cut back to before it.
    if (!handle->file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        *reason = handle->file.errorString();
        return Failed;
    }
    m_handle = std::move(handle);
    return Opened;
}

qint64 LockedFile::size() const
{
    return m_handle ? m_handle->file.size() : -1;
}

bool LockedFile::readAt(qint64 offset, int length, QByteArray *bytes, QString *reason) const
{
    bytes->clear();
    QFile &file = m_handle->file;
    if (!file.seek(offset)) {
        *reason = file.errorString();
        return false;
    }
    while (bytes->size() < length) {
        const QByteArray part = file.read(length - bytes->size());
        if (part.isEmpty() && file.error() != QFileDevice::NoError) {
            *reason = file.errorString();
            bytes->clear();
            return false;
        }
        if (part.isEmpty())
            break; // the end of the file
        bytes->append(part);
    }
    return true;
}

bool LockedFile::appendSynced(const QByteArray &bytes, QString *reason)
{
    QFile &file = m_handle->file;
    const qint64 before = file.size();
    if (file.write(bytes) == bytes.size() && file.flush() && syncToDisk(file))
        return true;
    *reason = file.errorString();
    file.resize(before);
    return false;
}

bool isSerialDevice(const QString &path)
{
    std::error_code error;
    if (!fs::is_character_file(pathOf(path), error))
        return false;
    // Opening the multiplexer would make a new pseudo-terminal.
    return QFileInfo(path).canonicalFilePath() != QLatin1String("/dev/ptmx") &&
           QFileInfo(path).fileName() != QLatin1String("ptmx");
}

bool lineHungUp(qintptr handle)
{
    // Qt reports an unplugged adapter as a resource error on its own.
    Q_UNUSED(handle)
    return false;
}

bool processGone(qint64 pid)
{
#ifdef Q_OS_WIN
    if (pid <= 0)
        return false;
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER; // no such process
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return ended;
#else
    // No call of Qt or the C++ library tells it: nothing is taken for gone.
    Q_UNUSED(pid)
    return false;
#endif
}

bool isOwnFolder(const QString &path)
{
    // The owner cannot be asked here; the temporary folder of a Windows
    // user is that user's own.
    std::error_code error;
    return fs::symlink_status(pathOf(path), error).type() == fs::file_type::directory;
}

} // namespace Platform
