// The commands that talk to the controller: download, upload, ports.

#include "commandline.h"
#include "commands.h"

#include "atomicfile.h"
#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "linklog.h"
#include "projectcheck.h"
#include "projectdata.h"
#include "projectfile.h"
#include "projectsync.h"
#include "serial.h"
#include "transfer.h"
#include "transferdriver.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;
// No table file comes near this: the largest table is some 41 KB.
constexpr qint64 MaxTableFileSize = 16 * 1024 * 1024;

int usageError(const char *command, const QString &message)
{
    std::fprintf(stderr, "mirel-cli %s: %s (try --help)\n", command, qPrintable(message));
    return ExitUsage;
}

int failure(const char *command, const QString &message)
{
    std::fprintf(stderr, "mirel-cli %s: %s\n", command, qPrintable(message));
    return ExitFailed;
}

void addLinkOptions(QCommandLineParser &parser)
{
    parser.addHelpOption();
    parser.addOptions({
        {"port", "Serial port name or device path.", "DEVICE"},
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

// Reads --port, --timeout-ms, --retries and --debug into the driver.
bool applyLinkOptions(const QCommandLineParser &parser, CTransferDriver *driver, QString *port,
                      QString *error)
{
    LinkLog::setEnabled(parser.isSet("debug"));
    *port = parser.value("port");
    if (port->isEmpty()) {
        *error = "--port DEVICE is required";
        return false;
    }
    bool ok = true;
    if (parser.isSet("timeout-ms")) {
        const int ms = parser.value("timeout-ms").toInt(&ok);
        if (!ok || ms <= 0) {
            *error = "--timeout-ms: expected a positive number of milliseconds";
            return false;
        }
        driver->setResponseTimeout(ms);
    }
    if (parser.isSet("retries")) {
        const int retries = parser.value("retries").toInt(&ok);
        if (!ok || retries < 0) {
            *error = "--retries: expected a number, 0 or more";
            return false;
        }
        driver->setRetries(retries);
    }
    return true;
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

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

// Opens the port and prints the driver's log lines as the window shows them.
bool openLink(const char *command, CTransferDriver &driver, CSerial &serial, const QString &port)
{
    serial.setControllerSettings();
    QString error;
    if (!serial.open(port, &error)) {
        failure(command, error);
        return false;
    }
    driver.attach(&serial);
    QObject::connect(&driver, &CTransferDriver::logLine, &printLine);
    // A port that goes away ends the transfer at once, naming the port.
    QObject::connect(&serial, &CSerial::portLost, &driver, &CTransferDriver::fail);
    return true;
}

// Runs the transfer to its end. Returns whether it succeeded.
bool runTransfer(const char *command, CTransferDriver &driver, CTransfer *transfer,
                 const QByteArray &firstRequest)
{
    bool success = false;
    QEventLoop loop;
    const auto connection =
        QObject::connect(&driver, &CTransferDriver::finished, &loop, [&](bool ok) {
            success = ok;
            loop.quit();
        });
    if (!driver.start(transfer, firstRequest)) {
        QObject::disconnect(connection);
        failure(command, "nothing to transfer");
        return false;
    }
    loop.exec();
    QObject::disconnect(connection);
    return success;
}

// Reads a regular file; a FIFO, a device or a folder is refused without
// being waited on, and so is a file too large to be a table.
bool readTableFile(const QString &path, QByteArray *bytes, QString *error)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *error = QStringLiteral("cannot read %1: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info = {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        *error = QStringLiteral("%1 is not a regular file").arg(path);
        return false;
    }
    if (info.st_size > MaxTableFileSize) {
        ::close(fd);
        *error = QStringLiteral("%1 is too large for a table (%2 bytes)")
                     .arg(path)
                     .arg(qint64(info.st_size));
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    return true;
}

// What to send; false with a message, and *usage set when the command was
// given wrongly (exit 2) rather than failing on a file (exit 1).
bool loadTable(const QCommandLineParser &parser, QByteArray *table, QString *chip, QString *error,
               bool *usage)
{
    *usage = true;
    if (parser.isSet("table") || parser.isSet("raw-table")) {
        const bool raw = parser.isSet("raw-table");
        const QString path = parser.value(raw ? "raw-table" : "table");
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
        if (!readTableFile(path, &bytes, error))
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
    const QFileInfo info(positional.first());
    if (info.exists() && !info.isFile()) {
        *error = QStringLiteral("%1 is not a regular file").arg(positional.first());
        return false;
    }
    ProjectData project;
    if (!ProjectSync::readCurrent(positional.first(), &project, error))
        return false;
    *chip = project.currentChip;
    return ProjectCheck::buildTable(project, table, error);
}

} // namespace

int runDownload(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Send a project's configuration table to the controller.");
    addLinkOptions(parser);
    parser.addOptions({
        {"table", "Send this table file (file or transfer form) instead of a project.", "FILE"},
        {"raw-table", "Send FILE's bytes as they are instead of a project.", "FILE"},
        {"chip", "Chip model for --table / --raw-table.", "MODEL"},
        {"verify",
         "Read the table back after the download and compare it byte for byte with what was "
         "sent; a difference fails the command."},
    });
    parser.addPositionalArgument("PROJECT.cpro", "The project whose table is sent.");
    int exitCode = 0;
    if (!parseArguments(parser, "download", args, &exitCode))
        return exitCode;

    CTransferDriver driver;
    QString port, error;
    if (!applyLinkOptions(parser, &driver, &port, &error))
        return usageError("download", error);
    QByteArray table;
    QString chip;
    bool usage = false;
    if (!loadTable(parser, &table, &chip, &error, &usage))
        return usage ? usageError("download", error) : failure("download", error);
    if (table.isEmpty())
        return failure("download", "the configuration table is empty");

    CSerial serial;
    if (!openLink("download", driver, serial, port))
        return ExitFailed;
    CDownloadTransfer transfer;
    if (!runTransfer("download", driver, &transfer, transfer.start(chip, table)))
        return ExitFailed;
    if (!parser.isSet("verify"))
        return 0;

    CUploadTransfer readBack;
    if (!runTransfer("download", driver, &readBack, readBack.start(chip)))
        return ExitFailed;
    QString message;
    const bool same = CReadBack::compare(table, readBack.uploadBuffer(), &message);
    printLine(CTransferDriver::timestamp() + message);
    return same ? 0 : ExitFailed;
}

int runUpload(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Read the controller's configuration table into a project.");
    addLinkOptions(parser);
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
    if (!parseArguments(parser, "upload", args, &exitCode))
        return exitCode;

    CTransferDriver driver;
    QString port, error;
    if (!applyLinkOptions(parser, &driver, &port, &error))
        return usageError("upload", error);
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

    CSerial serial;
    CUploadTransfer transfer;
    const int failed = compare.isEmpty() ? ExitFailed : ExitUsage; // 1 means "differs" then
    if (!openLink("upload", driver, serial, port))
        return failed;
    if (!runTransfer("upload", driver, &transfer, transfer.start(chip)))
        return failed;
    serial.close();

    const QByteArray table = transfer.uploadBuffer();
    if (!rawOut.isEmpty() && !AtomicFile::write(rawOut, table, &error)) {
        failure("upload", error);
        return failed;
    }
    if (!output.isEmpty()) {
        ProjectData project;
        QStringList warnings;
        bool written = CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error, &warnings);
        for (const QString &note : qAsConst(warnings))
            Cli::warning("upload", output, note);
        if (!written)
            error = QStringLiteral("the table read back cannot be decoded: %1").arg(error);
        else
            written = ProjectFile::write(project, output, &error);
        if (!written) {
            failure("upload", error);
            return failed;
        }
    }
    return compare.isEmpty() ? 0 : compareWithProject(table, chip, compare);
}

int runPorts(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("List the serial ports of this system.");
    int exitCode = 0;
    parser.addHelpOption();
    if (!parseArguments(parser, "ports", args, &exitCode))
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
