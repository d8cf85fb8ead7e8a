#pragma once

#include "filekind.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

// Everything the core asks of the operating system, in one place. Each build
// compiles one implementation: platform_posix.cpp (system calls of Unix) or
// platform_portable.cpp (Qt and the C++ library alone, with the few calls
// Windows needs of its own). Nothing else in the core includes a system
// header.
namespace Platform {

// The implementation this build was made with: "posix" or "portable".
const char *name();

// What path names, a symbolic link counting as what it points to. Asked
// without opening it: a named pipe is never waited on.
FileKind::Kind kindOf(const QString &path);
// Whether a and b are one file once links are followed; false when either
// is missing.
bool sameFile(const QString &a, const QString &b);

// A file opened for reading and appending and held alone: every writer of a
// build takes the same lock, so that no addition is lost or mixed with
// another. A holder that is killed blocks nobody.
class LockedFile
{
public:
    enum Opening
    {
        Opened,
        Busy,       // another held the lock for the whole wait
        NotAFile,   // what the path names is no file (a device, a pipe...)
        LockFailed, // the lock itself could not be taken; see reason
        Failed      // the file could not be opened or made; see reason
    };

    LockedFile();
    ~LockedFile(); // lets the lock go
    LockedFile(const LockedFile &) = delete;
    LockedFile &operator=(const LockedFile &) = delete;

    // Opens path (made, empty, when missing) and takes its lock, waiting at
    // most waitMs for another holder; with 0 it tries once and never sleeps.
    Opening open(const QString &path, int waitMs, QString *reason);
    bool isOpen() const { return m_handle != nullptr; }
    // The length now; -1 when it cannot be told.
    qint64 size() const;
    // At most length bytes from offset (fewer at the end of the file).
    bool readAt(qint64 offset, int length, QByteArray *bytes, QString *reason) const;
    // Adds bytes at the end and waits until they are on disk where the
    // system can be asked to; on failure the file is cut back to before.
    bool appendSynced(const QByteArray &bytes, QString *reason);

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};

// Whether path is a serial device a port may be opened on: a character
// device, never the multiplexer that makes pseudo-terminals.
bool isSerialDevice(const QString &path);

// Whether the serial line open on handle has been hung up (the adapter
// unplugged, the other end of a pseudo-terminal closed). False where the
// system cannot be asked.
bool lineHungUp(qintptr handle);

// Whether the process pid surely runs no more; false while it runs and
// where it cannot be told.
bool processGone(qint64 pid);
// Whether path is a folder (not a link to one) that belongs to this user.
bool isOwnFolder(const QString &path);

} // namespace Platform
