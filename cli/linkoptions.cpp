#include "linkoptions.h"

#include "batchrecord.h"
#include "chipfacts.h"
#include "cliplatform.h"
#include "commandline.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "filecheck.h"
#include "filekind.h"
#include "filenames.h"
#include "linklog.h"
#include "projectcheck.h"
#include "projectdata.h"
#include "transfer.h"
#include "transferdriver.h"

#include <QFile>
#include <cstdio>

namespace LinkOptions {

namespace {

// No table file comes near this: the largest table is some 41 KB.
constexpr qint64 MaxTableFileSize = 16 * 1024 * 1024;

// Reads a regular file; a FIFO, a device or a folder is refused without
// being waited on, and so is a file too large to be a table.
bool readTableFile(const QString &path, QByteArray *bytes, QString *error)
{
    qint64 size = 0;
    QString reason;
    switch (CliPlatform::readFile(path, MaxTableFileSize, bytes, &size, &reason)) {
    case CliPlatform::TableFile::Read:
        return true;
    case CliPlatform::TableFile::Failed:
        *error = QStringLiteral("cannot read %1: %2").arg(path, reason);
        return false;
    case CliPlatform::TableFile::NotAFile:
        *error = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    case CliPlatform::TableFile::TooLarge:
        *error = QStringLiteral("%1 is too large for a table (%2 bytes)").arg(path).arg(size);
        return false;
    }
    return false;
}

} // namespace

int usageError(const char *command, const QString &message)
{
    return Cli::usageError(command, message);
}

int failure(const char *command, const QString &message)
{
    return Cli::failure(command, QString(), message, ExitFailed);
}

void add(QCommandLineParser &parser, bool withPort)
{
    parser.addHelpOption();
    if (withPort)
        parser.addOption({"port", "Serial port name or device path.", "DEVICE"});
    parser.addOptions({
        {"timeout-ms",
         "Wait at least this long for an answer, from the request or its last byte, before "
         "repeating the request (default 2000). The wait grows when the controller answers "
         "later.",
         "MS"},
        {"retries", "Repeat an unanswered request at most this often (default 3).", "N"},
        {"debug", "Log every frame on the link in hex, with its direction and time, on "
                  "standard error."},
    });
}

bool parseArguments(QCommandLineParser &parser, const char *command, const QStringList &args,
                    int *exitCode)
{
    if (!parser.parse(QStringList{QStringLiteral("mirel-cli")} + args)) {
        *exitCode = usageError(command, parser.errorText());
        return false;
    }
    if (parser.isSet("help")) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        *exitCode = 0;
        return false;
    }
    return true;
}

bool read(const QCommandLineParser &parser, Settings *settings, QString *error)
{
    LinkLog::setEnabled(parser.isSet("debug"));
    settings->timeoutMs = CTransferDriver::DefaultTimeoutMs;
    settings->retries = CTransfer::DefaultRetries;
    bool ok = true;
    if (parser.isSet("timeout-ms")) {
        const int ms = parser.value("timeout-ms").toInt(&ok);
        if (!ok || ms <= 0) {
            *error = "--timeout-ms: expected a positive number of milliseconds";
            return false;
        }
        settings->timeoutMs = ms;
        // The driver raises it; the user hears of it here.
        if (ms < CTransfer::leastWaitMs()) {
            std::fputs(QStringLiteral("mirel-cli: --timeout-ms %1 is shorter than the line time "
                                      "of the longest request and its answer; waiting %2 ms\n")
                           .arg(ms)
                           .arg(CTransfer::leastWaitMs())
                           .toUtf8()
                           .constData(),
                       stderr);
        }
    }
    if (parser.isSet("retries")) {
        const int retries = parser.value("retries").toInt(&ok);
        if (!ok || retries < 0) {
            *error = "--retries: expected a number, 0 or more";
            return false;
        }
        settings->retries = retries;
    }
    return true;
}

namespace {

// The table of the project named by argument; what opening the file dropped
// is told on stderr in the command's name.
bool projectTableFor(const char *command, const QString &argument, QByteArray *table, QString *chip,
                     QString *error)
{
    const QString path = Cli::inputPath(argument);
    *error = FileKind::whyNotReadable(path); // a pipe is not waited on
    if (!error->isEmpty())
        return false;
    ProjectData project;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(path, &project, &dropped, error))
        return false;
    for (const ProjectProblem &warning : qAsConst(dropped))
        Cli::warning(command, argument, warning.message);
    *chip = project.currentChip;
    return ProjectCheck::buildTable(project, table, error);
}

} // namespace

// The station reads its project here, the download through loadTable().
bool projectTable(const QString &argument, QByteArray *table, QString *chip, QString *error)
{
    return projectTableFor("station", argument, table, chip, error);
}

bool loadTable(const QCommandLineParser &parser, QByteArray *table, QString *chip, QString *source,
               QString *error, bool *usage)
{
    *usage = true;
    if (parser.isSet("table") || parser.isSet("raw-table")) {
        const bool raw = parser.isSet("raw-table");
        const QString path = parser.value(raw ? "raw-table" : "table");
        *source = path;
        *chip = parser.value("chip");
        if (chip->isEmpty()) {
            *error = "--chip MODEL is required with a table file";
            return false;
        }
        if (!ChipFacts::isKnown(*chip)) {
            *error = QStringLiteral("unknown chip model \"%1\" (known: %2)")
                         .arg(*chip, ChipFacts::models().join(QStringLiteral(", ")));
            return false;
        }
        if (!parser.positionalArguments().isEmpty()) {
            *error = "a table file and a project cannot be sent together";
            return false;
        }
        *usage = false;
        QByteArray bytes;
        if (!readTableFile(Cli::inputPath(path), &bytes, error))
            return false;
        if (raw) {
            *table = bytes;
            return true;
        }
        if (!ConfigTable::toTransferForm(bytes, table, error))
            return false;
        QString why;
        if (!CAnalyzeBinFileToConfigure::decode(*table, *chip, nullptr, &why)) {
            *error = QStringLiteral("%1 is not a table for %2: %3").arg(path, *chip, why);
            return false;
        }
        return true;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        *error = "expected one PROJECT.cpro (or --table FILE --chip MODEL)";
        return false;
    }
    *usage = false;
    *source = positional.first();
    return projectTableFor("download", positional.first(), table, chip, error);
}

bool outputsAreFiles(const char *command, const QStringList &outputs, int *exitCode)
{
    for (const QString &output : outputs) {
        const QString why = output.isEmpty() ? QString() : Cli::whyNotOutput(output);
        if (!why.isEmpty()) {
            *exitCode = Cli::failure(command, output, why, ExitUsage);
            return false;
        }
    }
    return true;
}

bool prepareRecord(const char *command, const QString &argument, const QString &project,
                   const QByteArray &table, QString *path, int *exitCode)
{
    const QString clash = Cli::outputOverInput(argument, project);
    if (!clash.isEmpty()) {
        *exitCode = usageError(command, clash);
        return false;
    }
    QString error;
    if (!Cli::appendPath(argument, path, &error) ||
        !BatchRecord(*path, project, table).check(&error)) {
        *exitCode = Cli::failure(command, argument, error, ExitFailed);
        return false;
    }
    return true;
}

} // namespace LinkOptions
