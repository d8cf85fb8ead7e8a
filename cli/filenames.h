#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// File names as the system gives them. A name is bytes; Qt turns it into
// text through the locale and back, which loses the bytes that do not decode
// (a name written under another encoding). Such a name is kept with its bytes
// and reached through a descriptor opened on them: /proc/self/fd/N names the
// file, /proc/self/fd/N/part a file made in its folder, which is then renamed
// to the name's own bytes. Messages show the name with each byte that does
// not decode as \xNN.
namespace Cli {

// The arguments of the program: text where the bytes and the text turn into
// each other, the shown form (with \xNN) otherwise, its bytes remembered.
// argv as main() received it, before the application took any.
QStringList arguments(const QByteArrayList &argv);

// The first argument kept with its bytes when this build cannot reach such
// names; empty when there is none or they can be reached.
QString unreachableName();

// What to open for an input named by argument: the argument itself, or for a
// name kept with its bytes /proc/self/fd/N of the file (a pipe is not
// waited on). The argument again when nothing has that name.
QString inputPath(const QString &argument);

// Where to write an output named by argument: the argument itself, or a
// file in the folder of the name's bytes, which finishOutputs() renames to
// them. False with a message when the folder cannot be reached.
bool outputPath(const QString &argument, QString *path, QString *error);

// Where to append to an output named by argument (a file written in place,
// such as a record): the argument itself, or for a name kept with its bytes
// /proc/self/fd/N of the file, which is made here, empty, when it is missing.
// False with a message when it cannot be made.
bool appendPath(const QString &argument, QString *path, QString *error);

// Why the output named by argument can never be written as a file: it is a
// folder, a device, a named pipe or a socket (also through a link). Empty for
// a file or nothing. Asked without opening it.
QString whyNotOutput(const QString &argument);

// Gives the outputs written through outputPath() their names. False with a
// message when one cannot be renamed (it is then removed).
bool finishOutputs(QString *error);

// The message with every path this file made replaced by the argument it
// stands for.
QString shown(QString message);

} // namespace Cli
