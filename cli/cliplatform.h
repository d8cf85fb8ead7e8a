#pragma once

#include <QByteArray>
#include <QString>

// Everything mirel-cli asks of the operating system beyond the core, in one
// place: the console, the signals that end a run, and files named by bytes
// that are not text. Each build compiles one implementation,
// cliplatform_posix.cpp or cliplatform_portable.cpp (Qt and the C++ library
// alone, with Windows' own calls under Q_OS_WIN). The classes StopSignal and
// Cli::TerminationHold are defined there too.
namespace CliPlatform {

// Whether stdout is a terminal (a progress line may then be redrawn).
bool stdoutIsTerminal();
// The width of the terminal on stdout in characters; 0 when unknown.
int terminalColumns();

// A table file opened without waiting on what is not a file (a named pipe
// is refused, never opened for reading): its bytes, at most maxSize.
enum class TableFile
{
    Read,
    Failed,   // see reason
    NotAFile, // a pipe, a device, a folder
    TooLarge  // *size says how large
};
TableFile readFile(const QString &path, qint64 maxSize, QByteArray *bytes, qint64 *size,
                   QString *reason);

// Names that are bytes rather than text (written under another encoding)
// are reached through descriptors: /proc/self/fd/N. False where that is not
// possible; such names are then refused with a message.
bool reachesNamesByBytes();
// A path that reaches what the name's bytes name without opening it for
// reading; empty when nothing has that name.
QString reach(const QByteArray &name);
// The file a name that exists leads to (links followed); *isFile false for
// what is no file. Empty when nothing has that name.
QByteArray resolved(const QByteArray &name, bool *isFile);
// The folder of bytes held open: its descriptor (-1 and *reason on failure).
int openFolder(const QByteArray &folder, QString *reason);
// The path through which a descriptor reaches its file or folder.
QString descriptorPath(int fd);
// Renames from to to in the held folder; *written false when nothing was
// written under from. On failure from is removed.
bool renameInFolder(int folder, const QByteArray &from, const QByteArray &to, bool *written,
                    QString *reason);
// Makes the file of these bytes, empty, when it is missing.
bool makeFile(const QByteArray &name, QString *reason);

} // namespace CliPlatform
