#pragma once

#include <QByteArray>
#include <QString>

// Every file the program writes goes through here: the file on disk is
// either the old one or the complete new one, never a part of it.
namespace AtomicFile {

// Writes bytes to filePath through a temporary file beside it that replaces
// the old file in one step; creates the folder when it is missing. A write
// through a symbolic link writes the file it points to and leaves the link.
// Returns true only when the whole content is on disk under filePath;
// otherwise false with a message naming the file and the reason (a full
// disk, no permission, a folder or device at the path), the old file left as
// it was and the temporary file removed.
bool write(const QString &filePath, const QByteArray &bytes, QString *error = nullptr);

// Whether filePath names a file that write() could replace: not empty, not a
// folder, not a device or pipe. False with a message otherwise.
bool isWritableTarget(const QString &filePath, QString *error = nullptr);

} // namespace AtomicFile
