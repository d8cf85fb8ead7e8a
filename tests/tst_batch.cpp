// Downloads to several controllers at once: mirel-cli download with several
// --port against stand-ins on pseudo-terminals, its record, and BatchDownload
// itself.

#include "batchdownload.h"
#include "batchrecord.h"
#include "clirun.h"
#include "commonfunction.h"
#include "simprocess.h"
#include "testfiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace {

const QString kChip = QStringLiteral("STM32F103RE");

QByteArray pattern(int size, int seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 37 + seed * 11 + (i >> 7)) & 0xFF);
    return out;
}

// The record's row of a port.
QStringList rowOf(const QList<QStringList> &rows, const QString &port)
{
    for (const QStringList &row : rows) {
        if (row.value(1) == port)
            return row;
    }
    return {};
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void everyPortExact_data();
    void everyPortExact();
    void onePortFailsAlone_data();
    void onePortFailsAlone();
    void recordKeepsEveryRun_data();
    void recordKeepsEveryRun();
    void cancelEndsEveryPort_data();
    void cancelEndsEveryPort();
    void concurrentDownloadsKeepEveryRow_data();
    void concurrentDownloadsKeepEveryRow();
    void interruptRecordsTheStoppedTransfer_data();
    void interruptRecordsTheStoppedTransfer();
    void unwritableRecordRefusedBeforeAnyPort_data();
    void unwritableRecordRefusedBeforeAnyPort();
    void unopenedPortsReportFromTheEventLoop();

private:
    QStringList downloadArgs(const QStringList &ports) const;

    QTemporaryDir m_dir;
    QString m_table; // 1300 bytes: activation, two middle packets, an end packet
    QByteArray m_bytes;
};

void TestBatch::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_bytes = pattern(1300, 3);
    m_table = m_dir.filePath("table.bin");
    QVERIFY(TestFiles::write(m_table, m_bytes));
}

QStringList TestBatch::downloadArgs(const QStringList &ports) const
{
    QStringList args{"download"};
    for (const QString &port : ports)
        args << "--port" << port;
    return args << "--raw-table" << m_table << "--chip" << kChip;
}

void TestBatch::everyPortExact_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("oneProcess"); // mirel-sim --count, or a process per port
    QTest::addColumn<bool>("verify");
    QTest::newRow("two stand-ins") << 2 << false << false;
    QTest::newRow("three stand-ins, verified") << 3 << false << true;
    QTest::newRow("four links of one stand-in") << 4 << true << false;
    QTest::newRow("four links of one stand-in, verified") << 4 << true << true;
}

void TestBatch::everyPortExact()
{
    QFETCH(int, count);
    QFETCH(bool, oneProcess);
    QFETCH(bool, verify);
    const QString tag = QTest::currentDataTag();
    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList ports, saved;
    if (oneProcess) {
        const QString link = m_dir.filePath(tag + "-link");
        const QString save = m_dir.filePath(tag + "-saved.bin");
        sims.push_back(std::make_unique<SimProcess>(
            QStringList{"--count", QString::number(count), "--link", link, "--save", save}));
        for (int i = 1; i <= count; ++i) {
            ports << link + QString::number(i);
            saved << m_dir.filePath(tag + "-saved" + QString::number(i) + ".bin");
        }
    } else {
        for (int i = 1; i <= count; ++i) {
            saved << m_dir.filePath(tag + "-saved" + QString::number(i) + ".bin");
            sims.push_back(std::make_unique<SimProcess>(QStringList{"--save", saved.last()}));
            ports << sims.back()->device();
        }
    }
    QVERIFY2(!sims.front()->device().isEmpty(), qPrintable(sims.front()->error()));

    QStringList args = downloadArgs(ports) << "--timeout-ms"
                                           << "300";
    if (!verify)
        args << "--no-verify";
    const CliResult r = runCli(args);
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    for (int i = 0; i < count; ++i) {
        QCOMPARE(TestFiles::read(saved.at(i)), m_bytes);
        // Not a terminal: the driver's lines, each with its port in front.
        QVERIFY2(r.out.contains(ports.at(i) + ": "), qPrintable(r.out));
        const QRegularExpression summary("^" + QRegularExpression::escape(ports.at(i)) +
                                             " +ok +[0-9.]+  " + (verify ? "same" : "off") + "$",
                                         QRegularExpression::MultilineOption);
        QVERIFY2(summary.match(r.out).hasMatch(), qPrintable(r.out));
    }
}

void TestBatch::onePortFailsAlone_data()
{
    QTest::addColumn<QStringList>("simArgs"); // empty: the port does not exist
    QTest::addColumn<bool>("killMidway");
    QTest::addColumn<bool>("verify");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<QString>("reason"); // %1: the port
    QTest::addColumn<QString>("verifyColumn");
    QTest::newRow("port missing") << QStringList() << false << false << 300 << "Cannot open %1"
                                  << "off";
    // Its requests after the activation go unanswered: it is killed while
    // the program waits for an answer long enough not to give up first.
    QTest::newRow("controller killed midway")
        << QStringList{"--drop", "2-"} << true << true << 60000 << "串口%1连接已断开"
        << "not read back";
    QTest::newRow("controller never answers")
        << QStringList{"--never-answer"} << false << false << 300 << "控制器无有效响应"
        << "off";
    QTest::newRow("table stored wrong")
        << QStringList{"--corrupt-store", "700"} << false << true << 300 << "偏移700"
        << "differs at 700";
}

void TestBatch::onePortFailsAlone()
{
    QFETCH(QStringList, simArgs);
    QFETCH(bool, killMidway);
    QFETCH(bool, verify);
    QFETCH(int, timeoutMs);
    QFETCH(QString, reason);
    QFETCH(QString, verifyColumn);
    const QString tag = QTest::currentDataTag();
    const QStringList saved = {m_dir.filePath(tag + "-a.bin"), m_dir.filePath(tag + "-b.bin")};
    SimProcess first({"--save", saved.at(0)});
    SimProcess last({"--save", saved.at(1)});
    std::unique_ptr<SimProcess> faulty;
    // A name a CSV field must quote.
    QString port = m_dir.filePath("no,such \"tty\"");
    if (!simArgs.isEmpty()) {
        faulty = std::make_unique<SimProcess>(simArgs);
        port = faulty->device();
        QVERIFY2(!port.isEmpty(), qPrintable(faulty->error()));
    }
    QVERIFY2(!first.device().isEmpty() && !last.device().isEmpty(), qPrintable(first.error()));
    const QStringList ports = {first.device(), port, last.device()};
    const QString record = m_dir.filePath(tag + ".csv");

    QStringList args = downloadArgs(ports)
                       << "--timeout-ms" << QString::number(timeoutMs) << "--retries"
                       << "1"
                       << "--record" << record;
    if (!verify)
        args << "--no-verify";
    CliRun cli(args);
    if (killMidway) {
        QVERIFY2(cli.waitFor(port + ": "), qPrintable(cli.out()));
        faulty.reset();
    }
    QCOMPARE(cli.finish(), 1);
    QCOMPARE(TestFiles::read(saved.at(0)), m_bytes);
    QCOMPARE(TestFiles::read(saved.at(1)), m_bytes);
    const QString why = reason.contains("%1") ? reason.arg(port) : reason;
    QVERIFY2(cli.out().contains(why), qPrintable(cli.out()));
    QVERIFY2(cli.err().contains("1 of 3 ports failed"), qPrintable(cli.err()));

    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0).join(','), BatchRecord::header());
    const QString tableCrc =
        QStringLiteral("%1").arg(CCommonFunction::crc16(m_bytes), 4, 16, QLatin1Char('0'));
    const QRegularExpression isoTime(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d$");
    for (const QString &p : ports) {
        const QStringList row = rowOf(rows, p);
        QCOMPARE(row.size(), 9);
        QVERIFY2(isoTime.match(row.at(0)).hasMatch(), qPrintable(row.at(0)));
        QCOMPARE(row.at(3), m_table);
        QCOMPARE(row.at(4), QString::number(m_bytes.size()));
        QCOMPARE(row.at(5).toLower(), tableCrc);
        bool number = false;
        QVERIFY(row.at(7).toDouble(&number) >= 0 && number);
        if (p == port) {
            QVERIFY2(row.at(6).startsWith("failed: ") && row.at(6).contains(why),
                     qPrintable(row.at(6)));
            QCOMPARE(row.at(8), verifyColumn);
        } else {
            QCOMPARE(row.at(6), QStringLiteral("ok"));
            QCOMPARE(row.at(8), verify ? QStringLiteral("same") : QStringLiteral("off"));
        }
    }
}

void TestBatch::recordKeepsEveryRun_data()
{
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("rowsAfter"); // header included
    const QByteArray header = BatchRecord::header().toUtf8();
    QTest::newRow("new file") << QByteArray() << 0 << 2;
    QTest::newRow("empty file") << QByteArray("") << 0 << 2;
    QTest::newRow("a record without its last line end")
        << QByteArray(header + "\n2024-01-01T00:00:00+08:00,COM3,,a.cpro,10,ABCD,ok,1.000,off") << 0
        << 3;
    QTest::newRow("another CSV file") << QByteArray("a,b,c\n1,2,3\n") << 1 << 2;
}

void TestBatch::recordKeepsEveryRun()
{
    // One port: the download prints as it always has, and records too.
    QFETCH(QByteArray, before);
    QFETCH(int, exitCode);
    QFETCH(int, rowsAfter);
    const QString record = m_dir.filePath(QString(QTest::currentDataTag()) + ".csv");
    if (!before.isNull())
        QVERIFY(TestFiles::write(record, before));
    const QString saved = m_dir.filePath(QString(QTest::currentDataTag()) + ".bin");
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const CliResult r = runCli(downloadArgs({sim.device()}) << "--record" << record);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(readCsv(record).size(), rowsAfter);
    if (exitCode != 0) {
        // Refused before the port was opened; the file left as it was.
        QVERIFY2(r.err.contains(record) && r.err.contains(BatchRecord::header()),
                 qPrintable(r.err));
        QCOMPARE(TestFiles::read(record), before);
        QVERIFY(!QFile::exists(saved));
        return;
    }
    // The download's four lines, the read-back's six, nothing more.
    QCOMPARE(r.out.count('\n'), 10);
    QVERIFY(r.out.contains(": 控制器接收完毕，下载成功！\n"));
    QVERIFY(r.out.endsWith("与下载的相同\n"));
    const QStringList row = readCsv(record).last();
    QCOMPARE(row.value(1), sim.device());
    QCOMPARE(row.value(6), QStringLiteral("ok"));
    QCOMPARE(row.value(8), QStringLiteral("same"));
    QCOMPARE(TestFiles::read(saved), m_bytes);
}

void TestBatch::cancelEndsEveryPort_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("cancelAt"); // a log line; empty: right after start()
    QTest::addColumn<bool>("queued");      // cancel from the event loop, not inside the line
    // Requests: 1 activation, 2 and 3 middle packets, 4 end, 5 read-back activation.
    QTest::newRow("during the download") << QStringList{"--never-answer"} << "" << false;
    QTest::newRow("as the download ends") << QStringList{"--drop", "6-"} << "下载成功" << false;
    QTest::newRow("before the read-back") << QStringList{"--drop", "6-"} << "下载成功" << true;
    QTest::newRow("during the read-back") << QStringList{"--drop", "6-"} << "即将读取" << true;
}

void TestBatch::cancelEndsEveryPort()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, cancelAt);
    QFETCH(bool, queued);
    SimProcess a(simArgs), b(simArgs);
    QVERIFY2(!a.device().isEmpty() && !b.device().isEmpty(), qPrintable(a.error()));
    BatchDownload batch;
    batch.setTable(kChip, m_bytes);
    batch.setVerify(true);
    batch.setLink(60000, 3); // nothing ends by itself
    QMap<QString, QString> logs;
    bool asked = false;
    connect(&batch, &BatchDownload::portLog, this, [&](const QString &port, const QString &line) {
        logs[port] += line;
        if (cancelAt.isEmpty() || asked || !line.contains(cancelAt))
            return;
        asked = true;
        if (queued)
            QTimer::singleShot(0, &batch, [&batch] { batch.cancel(); });
        else
            batch.cancel();
    });
    QSignalSpy finished(&batch, &BatchDownload::finished);
    QVERIFY(batch.start({a.device(), b.device()}));
    if (cancelAt.isEmpty())
        batch.cancel();
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), false);
    const QList<BatchPortResult> results = batch.results();
    QCOMPARE(results.size(), 2);
    for (const BatchPortResult &result : results) {
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, QStringLiteral("传输已取消"));
        QVERIFY2(logs.value(result.port).contains("传输已取消"), qPrintable(logs[result.port]));
    }
    QVERIFY(!batch.isRunning());
}

void TestBatch::unopenedPortsReportFromTheEventLoop()
{
    // A window connects after start() as well as before: a port that does
    // not open is announced from the event loop, in the order given.
    BatchDownload batch;
    batch.setTable(kChip, m_bytes);
    QSignalSpy ports(&batch, &BatchDownload::portFinished);
    QSignalSpy finished(&batch, &BatchDownload::finished);
    const QStringList missing = {m_dir.filePath("gone-1"), m_dir.filePath("gone-2")};
    QVERIFY(batch.start(missing));
    QVERIFY(batch.isRunning());
    QVERIFY(!batch.start(missing)); // one batch at a time
    QCOMPARE(ports.count(), 0);
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(ports.count(), 2);
    for (int i = 0; i < 2; ++i) {
        const auto result = ports.at(i).first().value<BatchPortResult>();
        QCOMPARE(result.port, missing.at(i));
        QVERIFY2(result.reason.contains(missing.at(i)), qPrintable(result.reason));
    }
}

void TestBatch::concurrentDownloadsKeepEveryRow_data()
{
    QTest::addColumn<int>("downloads");
    QTest::addColumn<int>("portsEach");
    QTest::newRow("two downloads of one port") << 2 << 1;
    QTest::newRow("twelve downloads of one port") << 12 << 1;
    QTest::newRow("three downloads of four ports") << 3 << 4;
}

void TestBatch::concurrentDownloadsKeepEveryRow()
{
    // Separate mirel-cli processes on one record, all starting on a new file.
    QFETCH(int, downloads);
    QFETCH(int, portsEach);
    const QString tag = QTest::currentDataTag();
    const int count = downloads * portsEach;
    const QString link = m_dir.filePath(tag + "-link");
    SimProcess sim({"--count", QString::number(count), "--link", link});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const QString record = m_dir.filePath(tag + ".csv");
    std::vector<std::unique_ptr<CliRun>> runs;
    QStringList ports;
    for (int d = 0; d < downloads; ++d) {
        QStringList mine;
        for (int p = 1; p <= portsEach; ++p)
            mine << link + QString::number(d * portsEach + p);
        ports << mine;
        runs.push_back(std::make_unique<CliRun>(downloadArgs(mine) << "--record" << record));
    }
    for (auto &run : runs)
        QVERIFY2(run->finish() == 0, qPrintable(run->out() + run->err()));
    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), 1 + count);
    QCOMPARE(rows.first().join(','), BatchRecord::header());
    for (const QString &port : ports) {
        QCOMPARE(rowOf(rows, port).value(6), QStringLiteral("ok"));
    }
    QCOMPARE(TestFiles::read(record).count(BatchRecord::header().toUtf8()), 1);
}

void TestBatch::interruptRecordsTheStoppedTransfer_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("verify");
    QTest::newRow("one port, Ctrl+C") << 1 << int(SIGINT) << false;
    QTest::newRow("one port, SIGTERM") << 1 << int(SIGTERM) << false;
    QTest::newRow("one port verified, Ctrl+C") << 1 << int(SIGINT) << true;
    QTest::newRow("two ports, Ctrl+C") << 2 << int(SIGINT) << false;
}

void TestBatch::interruptRecordsTheStoppedTransfer()
{
    QFETCH(int, count);
    QFETCH(int, signal);
    QFETCH(bool, verify);
    const QString tag = QTest::currentDataTag();
    // The activation is answered, the next request only after a minute.
    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList ports;
    for (int i = 0; i < count; ++i) {
        sims.push_back(
            std::make_unique<SimProcess>(QStringList{"--delay-from", "2", "--delay-ms", "60000"}));
        QVERIFY2(!sims.back()->device().isEmpty(), qPrintable(sims.back()->error()));
        ports << sims.back()->device();
    }
    const QString record = m_dir.filePath(tag + ".csv");
    QStringList args = downloadArgs(ports) << "--record" << record << "--timeout-ms"
                                           << "60000";
    if (!verify)
        args << "--no-verify";
    CliRun cli(args);
    QVERIFY2(cli.waitFor("激活成功", count), qPrintable(cli.out() + cli.err()));
    cli.signal(signal);
    QCOMPARE(cli.finish(30000), 1);
    QVERIFY2(cli.err().contains("cancelling the transfer"), qPrintable(cli.err()));
    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), 1 + count);
    for (const QString &port : ports) {
        const QStringList row = rowOf(rows, port);
        QCOMPARE(row.value(6), QStringLiteral("failed: 传输已取消"));
        QCOMPARE(row.value(8), verify ? QStringLiteral("not read back") : QStringLiteral("off"));
    }
}

void TestBatch::unwritableRecordRefusedBeforeAnyPort_data()
{
    QTest::addColumn<QString>("name");   // %D: the test's folder
    QTest::addColumn<QString>("linkTo"); // the record is a link to this; empty: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mention");
    QTest::newRow("a path through a regular file") << "%D/table.bin/record.csv"
                                                   << "" << 1 << "table.bin/record.csv";
    QTest::newRow("a link into a missing folder") << "%D/dangling.csv"
                                                  << "%D/missing/record.csv" << 1 << "dangling.csv";
    QTest::newRow("a device") << "/dev/null"
                              << "" << 2 << "/dev/null 是设备";
    QTest::newRow("a link to a device") << "%D/null.csv"
                                        << "/dev/null" << 2 << "null.csv 是设备";
    QTest::newRow("a folder") << "%D"
                              << "" << 2 << "是文件夹";
}

void TestBatch::unwritableRecordRefusedBeforeAnyPort()
{
    QFETCH(QString, name);
    QFETCH(QString, linkTo);
    QFETCH(int, exitCode);
    QFETCH(QString, mention);
    const QString record = QString(name).replace("%D", m_dir.path());
    if (!linkTo.isEmpty()) {
        QFile::remove(record);
        QVERIFY(QFile::link(QString(linkTo).replace("%D", m_dir.path()), record));
    }
    const QString saved = m_dir.filePath(QString(QTest::currentDataTag()) + ".bin");
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const CliResult r = runCli(downloadArgs({sim.device()}) << "--record" << record, 30000);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(mention), qPrintable(r.err));
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out)); // no port was opened
    QVERIFY(!QFile::exists(saved));
    QVERIFY(!QFile::exists(m_dir.filePath("missing")));
    QCOMPARE(TestFiles::read(m_table), m_bytes);
}

QTEST_GUILESS_MAIN(TestBatch)
#include "tst_batch.moc"
