#pragma once

#include <QString>

// What a path names, asked of the system without opening it (a named pipe is
// never waited on), and the sentence that says why it cannot be read or
// written as a file. Every reader and writer of the program asks here first.
namespace FileKind {

enum Kind
{
    Missing,
    File,
    Folder,
    Pipe,
    Device,
    Socket,
    Other
};

// The kind of what path names; a symbolic link counts as what it points to
// (Missing when it points nowhere).
Kind of(const QString &path);

// Why path cannot be read as a file: that it is missing, a folder, a named
// pipe, a device...; empty for a file (which may still refuse to open).
QString whyNotReadable(const QString &path);

// Why path cannot be replaced by a file: no name, a folder, a named pipe, a
// device...; empty for a file or nothing at the path.
QString whyNotWritable(const QString &path);

// Whether a and b name one file once links are followed: a symbolic or a
// hard link to a file is that file. False when either is missing.
bool sameFile(const QString &a, const QString &b);

} // namespace FileKind
