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
// positional PROJECT.cpro; source says which file it came from. False with a
// message, and *usage set when the command was given wrongly (exit 2) rather
// than failing on a file (exit 1).
bool loadTable(const QCommandLineParser &parser, QByteArray *table, QString *chip, QString *source,
               QString *error, bool *usage);
// The table of a project, read as the window opens it.
bool projectTable(const QString &path, QByteArray *table, QString *chip, QString *error);

} // namespace LinkOptions
