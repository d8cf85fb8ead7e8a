// The commands that talk to the controller: download, upload, ports.

#include "commands.h"

#include "atomicfile.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "projectdata.h"
#include "projectfile.h"
#include "serial.h"
#include "transfer.h"
#include "transferdriver.h"

#include <QCommandLineParser>
#include <QEventLoop>
#include <QFile>
#include <cstdio>

namespace {

constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

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
         "Wait this long for each answer before repeating the request "
         "(default 2000).",
         "MS"},
        {"retries", "Repeat an unanswered request at most this often (default 3).", "N"},
    });
}

// Reads --port, --timeout-ms and --retries into the driver.
bool applyLinkOptions(const QCommandLineParser &parser, CTransferDriver *driver, QString *port,
                      QString *error)
{
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

// Opens the port, runs the transfer to its end, printing the log lines as
// the window shows them. Returns whether the transfer succeeded.
bool runTransfer(const char *command, CTransferDriver &driver, CSerial &serial, const QString &port,
                 CTransfer *transfer, const QByteArray &firstRequest)
{
    serial.setControllerSettings();
    QString error;
    if (!serial.open(port, &error)) {
        failure(command, error);
        return false;
    }
    driver.attach(&serial);
    QObject::connect(&driver, &CTransferDriver::logLine, [](const QString &line) {
        std::fputs(line.toUtf8().constData(), stdout);
        std::fflush(stdout);
    });
    bool success = false;
    QEventLoop loop;
    QObject::connect(&driver, &CTransferDriver::finished, &loop, [&](bool ok) {
        success = ok;
        loop.quit();
    });
    if (!driver.start(transfer, firstRequest)) {
        failure(command, "nothing to transfer");
        return false;
    }
    loop.exec();
    serial.close();
    return success;
}

bool loadTable(const QCommandLineParser &parser, QByteArray *table, QString *chip, QString *error)
{
    if (parser.isSet("table") || parser.isSet("raw-table")) {
        const bool raw = parser.isSet("raw-table");
        const QString path = parser.value(raw ? "raw-table" : "table");
        *chip = parser.value("chip");
        if (chip->isEmpty()) {
            *error = "--chip MODEL is required with a table file";
            return false;
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
            return false;
        }
        const QByteArray bytes = file.readAll();
        if (raw) {
            *table = bytes;
            return true;
        }
        return ConfigTable::toTransferForm(bytes, table, error);
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1) {
        *error = "expected one PROJECT.cpro (or --table FILE --chip MODEL)";
        return false;
    }
    ProjectData project;
    if (!ProjectFile::read(positional.first(), &project, error))
        return false;
    *chip = project.currentChip;
    return ConfigTable::buildConfigurationTable(project, table, error);
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
    if (!loadTable(parser, &table, &chip, &error))
        return failure("download", error);
    if (table.isEmpty())
        return failure("download", "the configuration table is empty");

    CSerial serial;
    CDownloadTransfer transfer;
    const QByteArray first = transfer.start(chip, table);
    return runTransfer("download", driver, serial, port, &transfer, first) ? 0 : ExitFailed;
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
    if (chip != QLatin1String("STM32F103RE") && chip != QLatin1String("STM32F407ZG"))
        return usageError("upload", "--chip must be STM32F103RE or STM32F407ZG");
    const QString output = parser.value("output");
    const QString rawOut = parser.value("raw-out");
    const QString compare = parser.value("compare");
    if (output.isEmpty() && rawOut.isEmpty() && compare.isEmpty())
        return usageError("upload", "-o PROJECT.cpro is required");
    if (!parser.positionalArguments().isEmpty())
        return usageError("upload", "unexpected argument " + parser.positionalArguments().first());

    CSerial serial;
    CUploadTransfer transfer;
    const QByteArray first = transfer.start(chip);
    const int failed = compare.isEmpty() ? ExitFailed : ExitUsage; // 1 means "differs" then
    if (!runTransfer("upload", driver, serial, port, &transfer, first))
        return failed;

    const QByteArray table = transfer.uploadBuffer();
    if (!rawOut.isEmpty() && !AtomicFile::write(rawOut, table, &error)) {
        failure("upload", error);
        return failed;
    }
    if (!output.isEmpty()) {
        ProjectData project;
        bool written = CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error);
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
