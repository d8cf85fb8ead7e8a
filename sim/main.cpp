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
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <thread>
#include <unistd.h>
#include <vector>

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

// The links of one process: no more than a bench has adapters.
constexpr int MaxLines = 64;

// One link of the process: its controller, its line and its symlink.
struct SimLine
{
    SimController controller;
    PtyLine line;
    LinkGuard link;
};

// With several links, the path of link i (from 0): its number (from 1) goes
// before the extension of the file name, or at its end: /tmp/sim gives
// /tmp/sim1, saved.bin gives saved1.bin.
QString numbered(const QString &path, int i, int count)
{
    if (path.isEmpty() || count == 1)
        return path;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    const int at = dot > slash + 1 ? dot : path.size();
    return path.left(at) + QString::number(i + 1) + path.mid(at);
}

bool makeLink(const QString &path, const QString &target, QString *error)
{
    const QByteArray native = QFile::encodeName(path);
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        ::unlink(native.constData());
    } else if (existing.exists()) {
        *error = QStringLiteral("%1 exists and is not a symlink").arg(path);
        return false;
    }
    if (::symlink(QFile::encodeName(target).constData(), native.constData()) != 0) {
        *error = QStringLiteral("cannot create the symlink %1").arg(path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("mirel-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Stand-in controller on a pseudo-terminal. Prints the device path on the first line of "
        "standard output (one line per link with --count) and answers download and upload requests "
        "until SIGTERM or SIGINT.\n"
        "Request numbers count every request received, from 1; LIST is e.g. 3, 2,5, 4-6 or 4-.");
    parser.addHelpOption();
    parser.addOptions({
        {"link", "Create a symlink to the device at PATH (removed at exit).", "PATH"},
        {"save", "Write each completed download (transfer form) to FILE.", "FILE"},
        {"count",
         "Serve N links at once, each its own controller with the options given, and print "
         "the N device paths, one per line. --link and --save then number their paths from 1, "
         "before the extension: --link /tmp/sim gives /tmp/sim1 ... /tmp/simN, --save out.bin "
         "gives out1.bin ... outN.bin.",
         "N"},
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
    int count = 1;
    if (parser.isSet("count")) {
        if (!parseUInt(parser.value("count"), 1, MaxLines, &number))
            return fail(
                QStringLiteral("--count: expected a number of links from 1 to %1").arg(MaxLines));
        count = int(number);
    }

    // Each link its own controller, configured alike, and its own line.
    std::vector<std::unique_ptr<SimLine>> lines;
    for (int i = 0; i < count; ++i) {
        auto sim = std::make_unique<SimLine>();
        sim->controller = controller;
        const QByteArray tag = count == 1 ? QByteArray("mirel-sim")
                                          : QStringLiteral("mirel-sim[%1]").arg(i + 1).toUtf8();
        if (verbose)
            sim->controller.onLog([tag](const QString &text) {
                std::fprintf(stderr, "%s: %s\n", tag.constData(), qPrintable(text));
            });
        const QString savePath = numbered(parser.value("save"), i, count);
        sim->controller.onDownloadComplete([savePath, verbose, tag](const QByteArray &table) {
            if (savePath.isEmpty())
                return;
            QString why;
            if (!AtomicFile::write(savePath, table, &why))
                std::fprintf(stderr, "%s: %s\n", tag.constData(), qPrintable(why));
            else if (verbose)
                std::fprintf(stderr, "%s: saved %d bytes to %s\n", tag.constData(),
                             int(table.size()), qPrintable(savePath));
        });
        sim->line.setPaced(parser.isSet("baud-pace"));
        sim->line.setLatencyMs(latencyMs);
        if (parser.isSet("stats"))
            sim->line.onStats([tag](const QString &text) {
                std::fprintf(stderr, "%s: %s\n", tag.constData(), qPrintable(text));
            });
        if (!sim->line.open(&error))
            return fail(error);
        if (parser.isSet("link")) {
            const QString path = numbered(parser.value("link"), i, count);
            if (!makeLink(path, sim->line.slavePath(), &error))
                return fail(error);
            sim->link.path = path;
        }
        lines.push_back(std::move(sim));
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

    for (const auto &sim : lines)
        std::printf("%s\n", qPrintable(sim->line.slavePath()));
    std::fflush(stdout);

    // Every line serves in its own thread; a stop request ends them all (the
    // byte stays in the pipe for each to see).
    std::vector<int> status(lines.size(), 0);
    std::vector<std::thread> threads;
    for (size_t i = 1; i < lines.size(); ++i)
        threads.emplace_back([&lines, &status, i] {
            status[i] = lines[i]->line.run(lines[i]->controller, g_stopPipe[0]);
        });
    status[0] = lines[0]->line.run(lines[0]->controller, g_stopPipe[0]);
    for (std::thread &thread : threads)
        thread.join();
    if (verbose) {
        for (size_t i = 0; i < lines.size(); ++i)
            std::fprintf(stderr, "%s: stopping after %lld requests\n",
                         count == 1 ? "mirel-sim"
                                    : qPrintable(QStringLiteral("mirel-sim[%1]").arg(i + 1)),
                         lines[i]->controller.requestCount());
    }
    return *std::max_element(status.begin(), status.end());
}
