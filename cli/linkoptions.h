#pragma once

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// What the commands that talk to controllers share: the link options, the
// parsing of a command's arguments with --help, and the table to send.
namespace LinkOptions {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

struct Settings
{
    int timeoutMs;
    int retries;
};

// One line on stderr: "mirel-cli COMMAND: MESSAGE (try --help)"; returns 2.
int usageError(const char *command, const QString &message);
// One line on stderr: "mirel-cli COMMAND: MESSAGE"; returns 1.
int failure(const char *command, const QString &message);

// --help, --timeout-ms, --retries, --debug, and --port when withPort.
void add(QCommandLineParser &parser, bool withPort = true);
// Parses the arguments; false with *exitCode set on a usage error or --help.
bool parseArguments(QCommandLineParser &parser, const char *command, const QStringList &args,
                    int *exitCode);
// Reads --timeout-ms, --retries and --debug; false with a message on a bad value.
bool read(const QCommandLineParser &parser, Settings *settings, QString *error);

// The table to send from --table / --raw-table with --chip, or from the one
// positional PROJECT.cpro, each read by the bytes of its name; source is the
// file's argument, as the record shows it. False with a
// message, and *usage set when the command was given wrongly (exit 2) rather
// than failing on a file (exit 1).
bool loadTable(const QCommandLineParser &parser, QByteArray *table, QString *chip, QString *source,
               QString *error, bool *usage);
// The table of the project named by argument (read by the bytes of its
// name), read as the window opens it.
bool projectTable(const QString &argument, QByteArray *table, QString *chip, QString *error);

// Refuses (exit 2) an output that names a folder, a device, a named pipe or a
// socket, also through a link, before any port is opened: it is never opened.
// Empty outputs are not given. False with *exitCode set and the message said.
bool outputsAreFiles(const char *command, const QStringList &outputs, int *exitCode);

// The record named by argument, made ready before any port is opened: it is
// not the project's file (exit 2), it opens for appending (made, empty, when
// missing) and is empty or a record (exit 1 otherwise). *path is where to
// append. False with *exitCode set and the message said.
bool prepareRecord(const char *command, const QString &argument, const QString &project,
                   const QByteArray &table, QString *path, int *exitCode);

} // namespace LinkOptions
