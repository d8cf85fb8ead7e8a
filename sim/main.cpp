// mirel-sim: a stand-in controller on a pseudo-terminal, for trying the
// program and the command-line tool without hardware, and for tests.

#include "atomicfile.h"
#include "configtable.h"
#include "ptyline.h"
#include "simcontroller.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_stopPipe[2] = {-1, -1};

void requestStop(int)
{
    const char c = 's';
    [[maybe_unused]] ssize_t n = ::write(g_stopPipe[1], &c, 1);
}

int fail(const QString &message)
{
    std::fprintf(stderr, "mirel-sim: %s\n", qPrintable(message));
    return 2;
}

bool parseNumbers(QCommandLineParser &parser, const QString &name, RequestNumbers *numbers,
                  QString *error)
{
    if (!parser.isSet(name))
        return true;
    if (numbers->parse(parser.value(name)))
        return true;
    *error = QStringLiteral("--%1: expected request numbers such as 3, 2,5, 4-6 or 4-, got '%2'")
                 .arg(name, parser.value(name));
    return false;
}

bool parseUInt(const QString &text, qint64 min, qint64 max, qint64 *value)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok, 0);
    if (!ok || v < min || v > max)
        return false;
    *value = v;
    return true;
}

// Removes the symlink when the program ends, whichever way it returns.
struct LinkGuard
{
    QString path;
    ~LinkGuard()
    {
        if (!path.isEmpty())
            ::unlink(QFile::encodeName(path).constData());
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("mirel-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Stand-in controller on a pseudo-terminal. Prints the device path on the first line of "
        "standard output and answers download and upload requests until SIGTERM or SIGINT.\n"
        "Request numbers count every request received, from 1; LIST is e.g. 3, 2,5, 4-6 or 4-.");
    parser.addHelpOption();
    parser.addOptions({
        {"link", "Create a symlink to the device at PATH (removed at exit).", "PATH"},
        {"save", "Write each completed download (transfer form) to FILE.", "FILE"},
        {"table", "Answer uploads from this table file (file form or transfer form).", "FILE"},
        {"raw-table", "Answer uploads from FILE's bytes as they are.", "FILE"},
        {"buffer-space", "Free buffer space announced to downloads (default 43008).", "BYTES"},
        {"baud-pace", "Take the time of a 115200 baud 8N1 line (11520 bytes/s) both ways."},
        {"bad-crc", "Answer these requests with a wrong checksum.", "LIST"},
        {"drop", "Do not answer these requests.", "LIST"},
        {"split", "Answer these requests in two pieces with a pause between.", "LIST"},
        {"split-pause", "The pause between the pieces (default 60).", "MS"},
        {"garbage", "Put stray bytes in front of the answers to these requests.", "LIST"},
        {"fail-status", "Report a buffer failure to these download middle/end packets.", "LIST"},
        {"buffer-full", "Announce less buffer space than each download needs."},
        {"upload-length", "Announce this table length to uploads (e.g. 0, -1, 2000000).", "LENGTH"},
        {"never-answer", "Read every request, answer none."},
        {"delay-ms",
         "Answer this long after the request has arrived (every answer, or those "
         "of --delay / --delay-from).",
         "MS"},
        {"delay",
         "Answer these requests late (with --delay-ms). A repeat the program sends "
         "meanwhile is answered too, right behind the late answer.",
         "LIST"},
        {"delay-from", "Answer request K and every later one late (with --delay-ms).", "K"},
        {"trickle-ms", "Send every answer one byte at a time, this far apart.", "MS"},
        {"latency-ms",
         "Hand the answers to the program in batches, every MS milliseconds, as a "
         "USB serial adapter with that latency timer does.",
         "MS"},
        {"flood", "Answer these requests with bytes that never end.", "LIST"},
        {"corrupt-store", "Store the downloaded byte at this offset wrong.", "OFFSET"},
        {"stats", "At the end of each transfer, report its time on the line and the program's "
                  "turnaround on standard error."},
        {"verbose", "Report each request on standard error."},
    });
    parser.process(app);

    SimController controller;
    FaultPlan faults;
    QString error;
    if (!parseNumbers(parser, "bad-crc", &faults.badCrc, &error) ||
        !parseNumbers(parser, "drop", &faults.drop, &error) ||
        !parseNumbers(parser, "split", &faults.split, &error) ||
        !parseNumbers(parser, "garbage", &faults.garbage, &error) ||
        !parseNumbers(parser, "fail-status", &faults.failStatus, &error) ||
        !parseNumbers(parser, "delay", &faults.delay, &error) ||
        !parseNumbers(parser, "flood", &faults.flood, &error))
        return fail(error);
    qint64 number = 0;
    if (parser.isSet("delay-from")) {
        if (parser.isSet("delay"))
            return fail("--delay-from and --delay cannot be given together");
        if (!parseUInt(parser.value("delay-from"), 1, 0x7FFFFFFF, &number) ||
            !faults.delay.parse(QStringLiteral("%1-").arg(number)))
            return fail("--delay-from: expected a request number, 1 or more");
    }
    const struct
    {
        const char *name;
        int *value;
    } durations[] = {{"delay-ms", &faults.delayMs}, {"trickle-ms", &faults.trickleMs}};
    for (const auto &d : durations) {
        if (!parser.isSet(d.name))
            continue;
        if (!parseUInt(parser.value(d.name), 0, 600000, &number))
            return fail(QStringLiteral("--%1: expected milliseconds from 0 to 600000")
                            .arg(QLatin1String(d.name)));
        *d.value = int(number);
    }
    if ((parser.isSet("delay") || parser.isSet("delay-from")) && faults.delayMs == 0)
        return fail("--delay and --delay-from need --delay-ms");
    if (parser.isSet("corrupt-store")) {
        if (!parseUInt(parser.value("corrupt-store"), 0, SimController::StoreLimit - 1, &number))
            return fail("--corrupt-store: expected a byte offset");
        faults.corruptStore = number;
    }
    int latencyMs = 0;
    if (parser.isSet("latency-ms")) {
        if (!parseUInt(parser.value("latency-ms"), 1, 1000, &number))
            return fail("--latency-ms: expected milliseconds from 1 to 1000");
        latencyMs = int(number);
    }
    if (parser.isSet("split-pause")) {
        if (!parseUInt(parser.value("split-pause"), 0, 60000, &number))
            return fail("--split-pause: expected milliseconds from 0 to 60000");
        faults.splitPauseMs = int(number);
    }
    if (parser.isSet("upload-length")) {
        if (!parseUInt(parser.value("upload-length"), -0x80000000LL, 0xFFFFFFFFLL, &number))
            return fail("--upload-length: expected a 32-bit number");
        faults.uploadLength = quint32(number);
    }
    faults.bufferFull = parser.isSet("buffer-full");
    faults.neverAnswer = parser.isSet("never-answer");
    controller.setFaults(faults);
    if (parser.isSet("buffer-space")) {
        if (!parseUInt(parser.value("buffer-space"), 0, 0xFFFFFFFFLL, &number))
            return fail("--buffer-space: expected a number of bytes");
        controller.setBufferSpace(quint32(number));
    }

    if (parser.isSet("table") || parser.isSet("raw-table")) {
        const bool raw = parser.isSet("raw-table");
        const QString path = parser.value(raw ? "raw-table" : "table");
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        QByteArray table = file.readAll();
        if (!raw) {
            QByteArray transfer;
            if (!ConfigTable::toTransferForm(table, &transfer, &error))
                return fail(QStringLiteral("%1: %2").arg(path, error));
            table = transfer;
        }
        controller.setTable(table);
    }
    const bool verbose = parser.isSet("verbose");
    if (verbose)
        controller.onLog(
            [](const QString &text) { std::fprintf(stderr, "mirel-sim: %s\n", qPrintable(text)); });
    const QString savePath = parser.value("save");
    controller.onDownloadComplete([savePath, verbose](const QByteArray &table) {
        if (savePath.isEmpty())
            return;
        QString why;
        if (!AtomicFile::write(savePath, table, &why))
            std::fprintf(stderr, "mirel-sim: %s\n", qPrintable(why));
        else if (verbose)
            std::fprintf(stderr, "mirel-sim: saved %d bytes to %s\n", int(table.size()),
                         qPrintable(savePath));
    });

    PtyLine line;
    line.setPaced(parser.isSet("baud-pace"));
    line.setLatencyMs(latencyMs);
    if (parser.isSet("stats"))
        line.onStats(
            [](const QString &text) { std::fprintf(stderr, "mirel-sim: %s\n", qPrintable(text)); });
    if (!line.open(&error))
        return fail(error);

    LinkGuard link;
    if (parser.isSet("link")) {
        const QString path = parser.value("link");
        const QByteArray native = QFile::encodeName(path);
        const QFileInfo existing(path);
        if (existing.isSymLink())
            ::unlink(native.constData());
        else if (existing.exists())
            return fail(QStringLiteral("%1 exists and is not a symlink").arg(path));
        if (::symlink(QFile::encodeName(line.slavePath()).constData(), native.constData()) != 0)
            return fail(QStringLiteral("cannot create the symlink %1").arg(path));
        link.path = path;
    }

    if (::pipe(g_stopPipe) != 0)
        return fail("cannot create a pipe");
    fcntl(g_stopPipe[1], F_SETFL, fcntl(g_stopPipe[1], F_GETFL) | O_NONBLOCK);
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    std::printf("%s\n", qPrintable(line.slavePath()));
    std::fflush(stdout);

    const int status = line.run(controller, g_stopPipe[0]);
    if (verbose)
        std::fprintf(stderr, "mirel-sim: stopping after %lld requests\n",
                     controller.requestCount());
    return status;
}
