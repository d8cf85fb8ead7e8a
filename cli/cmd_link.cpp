// The commands that talk to the controller: download, upload, ports.

#include "batchrun.h"
#include "commandline.h"
#include "commands.h"
#include "filenames.h"
#include "linkoptions.h"

#include "atomicfile.h"
#include "chipfacts.h"
#include "configanalyzer.h"
#include "filekind.h"
#include "projectdata.h"
#include "projectfile.h"
#include "serial.h"
#include "transfer.h"
#include "transferdriver.h"
#include "transferjob.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFileInfo>
#include <cstdio>
#include <utility>

using LinkOptions::ExitFailed;
using LinkOptions::ExitUsage;
using LinkOptions::failure;
using LinkOptions::usageError;

namespace {

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// Opens the port and prints the job's log lines as the window shows them.
bool openLink(const char *command, CTransferJob &job, CTransferDriver &driver, CSerial &serial,
              const QString &port)
{
    serial.setControllerSettings();
    QString error;
    if (!serial.open(port, &error)) {
        failure(command, error);
        return false;
    }
    driver.attach(&serial);
    QObject::connect(&job, &CTransferJob::logLine, &printLine);
    // A port that goes away ends the transfer at once, naming the port.
    QObject::connect(&serial, &CSerial::portLost, &job, &CTransferJob::fail);
    return true;
}

// Reads the controller's table to the end of the job: read again when the
// line misbehaved, until two reads agree. Returns whether it succeeded.
bool runUpload(const char *command, CTransferJob &job, const QString &chip)
{
    bool success = false;
    QEventLoop loop;
    const auto connection = QObject::connect(&job, &CTransferJob::finished, &loop, [&](bool ok) {
        success = ok;
        loop.quit();
    });
    if (!job.startUpload(chip)) {
        QObject::disconnect(connection);
        failure(command, job.reason());
        return false;
    }
    loop.exec();
    QObject::disconnect(connection);
    return success;
}

// The ports of --port, each once; false with a message when one is named twice.
bool readPorts(const QCommandLineParser &parser, QStringList *ports, QString *error)
{
    *ports = parser.values("port");
    if (ports->isEmpty() || ports->contains(QString())) {
        *error = "--port DEVICE is required";
        return false;
    }
    QStringList seen;
    for (const QString &port : std::as_const(*ports)) {
        const QString canonical = QFileInfo(port).canonicalFilePath();
        const QString id = canonical.isEmpty() ? port : canonical;
        if (seen.contains(id)) {
            *error = QStringLiteral("--port %1 is given twice").arg(port);
            return false;
        }
        seen << id;
    }
    return true;
}

// Writes the table read from the controller to rawOut (as read) and the
// project it holds to output, each through its target from
// Cli::outputPath(), then gives them their names. False with a message.
bool writeUpload(const QByteArray &table, const QString &chip, const QString &output,
                 const QString &outputTarget, const QString &rawOut, const QString &rawTarget,
                 QString *error)
{
    const Cli::TerminationHold hold;
    bool written = rawOut.isEmpty() || AtomicFile::write(rawTarget, table, error);
    if (written && !output.isEmpty()) {
        ProjectData project;
        QStringList warnings;
        written = CAnalyzeBinFileToConfigure::decode(table, chip, &project, error, &warnings);
        for (const QString &note : qAsConst(warnings))
            Cli::warning("upload", output, note);
        if (!written)
            *error = QStringLiteral("the table read back cannot be decoded: %1").arg(*error);
        else
            written = ProjectFile::write(project, outputTarget, error);
    }
    // What was written gets its name, also when the other failed.
    QString naming;
    if (!Cli::finishOutputs(&naming) && written) {
        *error = naming;
        written = false;
    }
    return written;
}

} // namespace

int runDownload(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Send a project's configuration table to the controller. With several --port, to "
        "every one of them at once: a line per port, then a table of the outcomes; the exit "
        "status is 0 only when every port succeeded.");
    LinkOptions::add(parser);
    parser.addOptions({
        {"table", "Send this table file (file or transfer form) instead of a project.", "FILE"},
        {"raw-table", "Send FILE's bytes as they are instead of a project.", "FILE"},
        {"chip", "Chip model for --table / --raw-table.", "MODEL"},
        {"no-verify",
         "Do not read the table back after the download. By default it is read back and "
         "compared byte for byte with what was sent, and a difference fails the command; a "
         "transfer in which anything was repeated, refused or late is read back all the same."},
        {"verify", "Read the table back and compare it (the default)."},
        {"record",
         "Append a row per port to this CSV file (time, port, serial number, project, table "
         "length and CRC, outcome, seconds, verify); the header row starts a new file.",
         "FILE.csv"},
    });
    parser.addPositionalArgument("PROJECT.cpro", "The project whose table is sent.");
    int exitCode = 0;
    if (!LinkOptions::parseArguments(parser, "download", args, &exitCode))
        return exitCode;

    BatchRun run;
    QString error;
    if (!readPorts(parser, &run.ports, &error) || !LinkOptions::read(parser, &run.link, &error))
        return usageError("download", error);
    if (!LinkOptions::outputsAreFiles("download", {parser.value("record")}, &exitCode))
        return exitCode;
    bool usage = false;
    if (!LinkOptions::loadTable(parser, &run.table, &run.chip, &run.project, &error, &usage))
        return usage ? usageError("download", error) : failure("download", error);
    if (run.table.isEmpty())
        return failure("download", "the configuration table is empty");
    run.verify = !parser.isSet("no-verify");
    const QString record = parser.value("record");
    if (!record.isEmpty() && !LinkOptions::prepareRecord("download", record, run.project, run.table,
                                                         &run.recordPath, &exitCode))
        return exitCode;
    return runBatch(run);
}

int runUpload(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Read the controller's configuration table into a project.");
    LinkOptions::add(parser);
    parser.addOptions({
        {"chip", "Chip model of the controller: STM32F103RE or STM32F407ZG.", "MODEL"},
        {{"o", "output"}, "The project file to write.", "PROJECT.cpro"},
        {"raw-out", "Also write the table as read (transfer form) to FILE.", "FILE"},
        {"compare",
         "Say whether the controller holds what PROJECT would write, and what differs "
         "(exit 0 when it does, 1 when it differs, 2 on an error); --lang en for English.",
         "PROJECT.cpro"},
    });
    int exitCode = 0;
    if (!LinkOptions::parseArguments(parser, "upload", args, &exitCode))
        return exitCode;

    CTransferDriver driver;
    const QString port = parser.value("port");
    QString error;
    LinkOptions::Settings link;
    if (port.isEmpty())
        return usageError("upload", "--port DEVICE is required");
    if (!LinkOptions::read(parser, &link, &error))
        return usageError("upload", error);
    driver.setResponseTimeout(link.timeoutMs);
    driver.setRetries(link.retries);
    const QString chip = parser.value("chip");
    if (!ChipFacts::isKnown(chip))
        return usageError("upload", "--chip must be one of " +
                                        ChipFacts::models().join(QStringLiteral(", ")));
    const QString output = parser.value("output");
    const QString rawOut = parser.value("raw-out");
    const QString compare = parser.value("compare");
    if (output.isEmpty() && rawOut.isEmpty() && compare.isEmpty())
        return usageError("upload", "-o PROJECT.cpro is required");
    if (!parser.positionalArguments().isEmpty())
        return usageError("upload", "unexpected argument " + parser.positionalArguments().first());
    // Neither output may replace the project compared with, nor each other.
    for (const auto &pair :
         {qMakePair(output, compare), qMakePair(rawOut, compare), qMakePair(rawOut, output)}) {
        if (pair.first.isEmpty() || pair.second.isEmpty())
            continue;
        const QString clash = Cli::outputOverInput(pair.first, pair.second);
        if (!clash.isEmpty())
            return Cli::usageError("upload", clash);
        if (QFileInfo(pair.first).absoluteFilePath() == QFileInfo(pair.second).absoluteFilePath())
            return Cli::usageError("upload", QStringLiteral("%1 is named twice").arg(pair.first));
    }
    if (!LinkOptions::outputsAreFiles("upload", {output, rawOut}, &exitCode))
        return exitCode;
    const int failed = compare.isEmpty() ? ExitFailed : ExitUsage; // 1 means "differs" then
    // What the transfer's end needs is there before it begins: the project to
    // compare with, and the folders of names kept with their bytes.
    if (!compare.isEmpty()) {
        error = FileKind::whyNotReadable(Cli::inputPath(compare));
        if (!error.isEmpty())
            return Cli::failure("upload", compare, error, ExitUsage);
    }
    QString outputTarget, rawTarget;
    if ((!output.isEmpty() && !Cli::outputPath(output, &outputTarget, &error)) ||
        (!rawOut.isEmpty() && !Cli::outputPath(rawOut, &rawTarget, &error)))
        return Cli::failure("upload", QString(), error, failed);

    CSerial serial;
    CTransferJob job(&driver);
    if (!openLink("upload", job, driver, serial, port))
        return failed;
    if (!runUpload("upload", job, chip)) {
        // A controller that holds no table is a difference, not a failed read.
        if (!compare.isEmpty() && job.heldNoTable())
            return compareWithProject(QByteArray(), compare);
        return failed;
    }
    serial.close();

    const QByteArray table = job.table();
    if (!writeUpload(table, chip, output, outputTarget, rawOut, rawTarget, &error))
        return Cli::failure("upload", QString(), error, failed);
    return compare.isEmpty() ? 0 : compareWithProject(table, compare);
}

int runPorts(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("List the serial ports of this system.");
    int exitCode = 0;
    parser.addHelpOption();
    if (!LinkOptions::parseArguments(parser, "ports", args, &exitCode))
        return exitCode;
    if (!parser.positionalArguments().isEmpty())
        return usageError("ports", "unexpected argument " + parser.positionalArguments().first());
    const QStringList ports = CSerial::availablePorts();
    for (const QString &name : ports)
        std::printf("%s\n", qPrintable(name));
    if (ports.isEmpty())
        std::fputs("mirel-cli ports: no serial ports found\n", stderr);
    return 0;
}
