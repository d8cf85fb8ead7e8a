#include "chipfacts.h"
#include "commands.h"

#include "atomicfile.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "projectfile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>

namespace {

const char kTableHelp[] =
    "Usage: mirel-cli table PROJECT.cpro -o TABLE.bin [--raw]\n"
    "\n"
    "Writes the configuration table of a project.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   the table file to write (replaced whole or left untouched)\n"
    "  --raw               write the transfer form (the bytes sent to the controller)\n"
    "                      instead of the file form (sixteen length-prefixed sections)\n"
    "  -h, --help          show this help\n";

const char kDecodeHelp[] =
    "Usage: mirel-cli decode TABLE.bin --chip MODEL -o PROJECT.cpro\n"
    "\n"
    "Turns a configuration table (file form or transfer form) back into a project.\n"
    "\n"
    "Options:\n"
    "  --chip MODEL        the controller's chip: STM32F103RE or STM32F407ZG\n"
    "  -o, --output FILE   the project file to write (replaced whole or left untouched)\n"
    "  -h, --help          show this help\n";

// One line on stderr: the command, the file concerned (unless the message
// already names it) and the problem.
int failure(const char *command, const QString &file, QString message, int status = 1)
{
    message.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!file.isEmpty() && !message.contains(file))
        message = file + QStringLiteral(": ") + message;
    std::fprintf(stderr, "mirel-cli %s: %s\n", command, qPrintable(message));
    return status;
}

int usageError(const char *command, const QString &message)
{
    return failure(command, QString(), message + QStringLiteral(" (try --help)"), 2);
}

// Parses the arguments of a sub-command; false with a message on bad usage.
bool parse(QCommandLineParser &parser, const QStringList &args, QString *message)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("mirel-cli")} + args)) {
        *message = parser.errorText();
        return false;
    }
    return true;
}

// Holds back the signals that end a run from the terminal or the system while
// it lives. A writer makes a temporary folder and a temporary file beside its
// output and removes them on every return, but the default action of SIGINT
// or SIGTERM would end the program in between and leave them behind; held
// back, the signal takes effect once they are gone.
class TerminationHold
{
public:
    TerminationHold()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
            sigaddset(&set, signal);
        pthread_sigmask(SIG_BLOCK, &set, &previous);
    }
    ~TerminationHold() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }
    TerminationHold(const TerminationHold &) = delete;
    TerminationHold &operator=(const TerminationHold &) = delete;

private:
    sigset_t previous;
};

} // namespace

int runTable(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    const QCommandLineOption raw(QStringLiteral("raw"), QString());
    parser.addOptions({help, output, raw});
    QString message;
    if (!parse(parser, args, &message))
        return usageError("table", message);
    if (parser.isSet(help)) {
        std::fputs(kTableHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError("table", QStringLiteral("expected one project file"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return usageError("table", QStringLiteral("no output file given (-o TABLE.bin)"));
    const QString projectPath = positional.first();
    const QString tablePath = parser.value(output);

    ProjectData project;
    if (!ProjectFile::read(projectPath, &project, &message))
        return failure("table", projectPath, message);
    QList<QByteArray> sections;
    if (!ConfigTable::buildSections(project, &sections, &message))
        return failure("table", projectPath, message);
    QByteArray bytes;
    if (parser.isSet(raw)) {
        for (const QByteArray &section : qAsConst(sections))
            bytes += section;
    } else {
        bytes = ConfigTable::fileForm(sections);
    }
    const TerminationHold hold;
    if (!AtomicFile::write(tablePath, bytes, &message))
        return failure("table", tablePath, message);
    return 0;
}

int runDecode(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    const QCommandLineOption chip(QStringLiteral("chip"), QString(), QStringLiteral("MODEL"));
    parser.addOptions({help, output, chip});
    QString message;
    if (!parse(parser, args, &message))
        return usageError("decode", message);
    if (parser.isSet(help)) {
        std::fputs(kDecodeHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError("decode", QStringLiteral("expected one table file"));
    if (!parser.isSet(chip))
        return usageError("decode", QStringLiteral("no chip model given (--chip MODEL)"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return usageError("decode", QStringLiteral("no output file given (-o PROJECT.cpro)"));
    const QString chipModel = parser.value(chip);
    if (!ChipFacts::isKnown(chipModel))
        return usageError("decode", QStringLiteral("unknown chip model \"%1\" (%2)")
                                        .arg(chipModel, ChipFacts::models().join(" or ")));
    const QString tablePath = positional.first();
    const QString projectPath = parser.value(output);

    QFile file(tablePath);
    if (!QFileInfo(tablePath).isFile())
        return failure("decode", tablePath, QStringLiteral("no such file"));
    if (!file.open(QIODevice::ReadOnly))
        return failure("decode", tablePath, file.errorString());
    const QByteArray data = file.readAll();
    QByteArray table;
    if (!ConfigTable::toTransferForm(data, &table, &message))
        return failure("decode", tablePath, message);
    ProjectData project;
    if (!CAnalyzeBinFileToConfigure::decode(table, chipModel, &project, &message))
        return failure("decode", tablePath, message);
    const TerminationHold hold;
    if (!CAnalyzeBinFileToConfigure::writeProject(project, projectPath, &message))
        return failure("decode", projectPath, message);
    return 0;
}
