#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// A file that several programs add to at once, a few lines at a time: each
// takes the file alone while it reads the start and appends, so that no
// addition is lost or mixed with another, whoever writes. The one place that
// writes a file without the atomic writer: a line is added to what is there,
// never the whole file written again.
//
// Every writer of one build takes the same lock (Platform::LockedFile); a
// program killed while it holds the lock blocks nobody.
class AppendFile
{
public:
    explicit AppendFile(const QString &path);
    ~AppendFile(); // lets the lock go
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;

    // Opens the file for reading and appending and takes its lock. A file
    // that is missing is made, empty; a missing folder is not. Refused
    // without opening it when the path names a folder, a device, a named
    // pipe or a socket (also through a link). Waits at most lockWaitMs() for
    // another holder of the lock. False with a message naming the file and
    // the reason.
    bool open(QString *error);
    // As open(), but never waits: while another holds the lock, false with
    // *busy set.
    bool tryOpen(QString *error, bool *busy);
    // The file's length now; -1 when it cannot be told.
    qint64 size() const;
    // At most length bytes from offset.
    bool read(qint64 offset, int length, QByteArray *bytes, QString *error) const;
    // Adds bytes at the end in one write and waits until they are on disk.
    // False with a message, the file cut back to the length it had.
    bool append(const QByteArray &bytes, QString *error);

    // How long open() waits for a lock that another holds.
    static int lockWaitMs();
    static void setLockWaitMs(int ms);

private:
    bool openWaiting(int waitMs, QString *error, bool *busy);

    struct Handle;
    QString m_path;
    std::unique_ptr<Handle> m_handle;
};
