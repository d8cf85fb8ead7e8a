#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <memory>

// What the commands of mirel-cli share: one-line messages on stderr, the
// parsing of a command's arguments, output in UTF-8, and holding back the
// termination signals while a file is written.
namespace Cli {

// One line on stderr: the command, the file concerned (unless the message
// already names it) and the problem. Returns status.
int failure(const char *command, const QString &file, QString message, int status = 1);
// A line on stderr about something passed over: the command, the file and
// the note.
void warning(const char *command, const QString &file, const QString &note);
// A usage problem: one line ending in "(try --help)"; returns 2.
int usageError(const char *command, const QString &message);
// Parses the arguments of a sub-command; false with a message on bad usage.
bool parse(QCommandLineParser &parser, const QStringList &args, QString *message);
// A usage problem when output names the file input names, also through a
// symbolic or a hard link: the run would replace its own input. Empty when
// they are different files.
QString outputOverInput(const QString &output, const QString &input);
// Writes text to stdout as UTF-8, whatever the locale.
void print(const QString &text);

// Holds back the signals that end a run from the terminal or the system while
// it lives. A writer makes a temporary folder and a temporary file beside its
// output and removes them on every return, but the default action of SIGINT
// or SIGTERM would end the program in between and leave them behind; held
// back, the signal takes effect once they are gone. Defined with the rest of
// the program's system calls (cliplatform_*.cpp).
class TerminationHold
{
public:
    TerminationHold();
    ~TerminationHold();
    TerminationHold(const TerminationHold &) = delete;
    TerminationHold &operator=(const TerminationHold &) = delete;

private:
    struct Held; // what the system needs to let the signals through again
    std::unique_ptr<Held> m_held;
};

} // namespace Cli
