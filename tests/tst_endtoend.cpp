// mirel-cli against mirel-sim through a real pseudo-terminal.

#include "commonfunction.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "projectdata.h"
#include "projectfile.h"
#include "serial.h"
#include "simprocess.h"
#include "tablefixtures.h"
#include "tablelayout.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

namespace {

// Short waits keep failing cases quick; three repeats as in the program.
const QStringList kLinkOptions = {"--timeout-ms", "300", "--retries", "3"};

QByteArray pattern(int size, int seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 31 + seed * 7 + (i >> 8)) & 0xFF);
    return out;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rawTableThereAndBack();
    void downloadRecoversFromFaults_data();
    void downloadRecoversFromFaults();
    void uploadRecoversFromFaults_data();
    void uploadRecoversFromFaults();
    void hopelessCasesFailClearly_data();
    void hopelessCasesFailClearly();
    void slowControllersWithTheDefaults_data();
    void slowControllersWithTheDefaults();
    void uploadsNeverShift_data();
    void uploadsNeverShift();
    void vanishedControllerEndsTheTransfer();
    void verifyReadsTheTableBack_data();
    void verifyReadsTheTableBack();
    void tablesRefusedBeforeThePort_data();
    void tablesRefusedBeforeThePort();
    void standInTakesAnyBufferSpace();
    void usageAndPortErrors();
    void standInServesTableFiles();
    void projectThereAndBack_data();
    void projectThereAndBack();

private:
    QTemporaryDir m_dir;
    QString m_table; // 1300 bytes: activation, two middle packets, one end packet
    QByteArray m_bytes;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_bytes = pattern(1300, 1);
    m_table = m_dir.filePath("table.bin");
    QVERIFY(TestFiles::write(m_table, m_bytes));
}

void TestEndToEnd::rawTableThereAndBack()
{
    const QString saved = m_dir.filePath("saved.bin");
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));

    CliResult r = runCli(QStringList{"download", "--port", sim.device(), "--raw-table", m_table,
                                     "--chip", "STM32F407ZG"} +
                         kLinkOptions);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    // The download, then by default its read-back: announced, four lines of
    // the upload, the comparison.
    QCOMPARE(lines.size(), 10);
    QVERIFY(lines.at(0).endsWith(": 下载Mirel配置信息时，激活成功，即将下载配置信息！"));
    QVERIFY(lines.at(1).endsWith(": 正在发送..."));
    QVERIFY(lines.at(2).endsWith(": 正在发送..."));
    QVERIFY(lines.at(3).endsWith(": 控制器接收完毕，下载成功！"));
    QVERIFY(lines.at(9).contains(": 校验一致："));
    r = runCli(QStringList{"download", "--port", sim.device(), "--raw-table", m_table, "--chip",
                           "STM32F407ZG", "--no-verify"} +
               kLinkOptions);
    QCOMPARE(r.exitCode, 0);
    lines = r.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QVERIFY(lines.at(3).endsWith(": 控制器接收完毕，下载成功！"));
    QVERIFY(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: ")
                .match(lines.at(0))
                .hasMatch());
    QCOMPARE(TestFiles::read(saved), m_bytes);

    // The controller now holds the table: read it back.
    const QString back = m_dir.filePath("back.bin");
    r = runCli(
        QStringList{"upload", "--port", sim.device(), "--chip", "STM32F407ZG", "--raw-out", back} +
        kLinkOptions);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(": 上载Mirel配置信息完成，正在生成文件！\n"));
    QCOMPARE(r.out.count(": 上载Mirel配置信息时，正在读取...\n"), 2);
    QCOMPARE(TestFiles::read(back), m_bytes);
    QVERIFY(sim.stop());
}

void TestEndToEnd::downloadRecoversFromFaults_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("expected"); // a line that must appear on the way
    // Whether the download is read back to confirm it, though not asked to.
    QTest::addColumn<bool>("confirmed");
    // Requests: 1 activation, 2 and 3 middle packets, 4 end packet.
    QTest::newRow("wrong checksum") << QStringList{"--bad-crc", "2"} << ": 校验码错误！" << true;
    QTest::newRow("no answer") << QStringList{"--drop", "1"} << "重发" << true;
    QTest::newRow("answer in two pieces")
        << QStringList{"--split", "1-", "--split-pause", "60"} << "" << false;
    QTest::newRow("stray bytes") << QStringList{"--garbage", "3"} << ": 校验码错误！" << false;
    QTest::newRow("buffer failure in the middle")
        << QStringList{"--fail-status", "2"} << ": 控制器缓存失败！" << true;
    QTest::newRow("buffer failure at the end")
        << QStringList{"--fail-status", "4"} << ": 控制器缓存失败！" << true;
    QTest::newRow("no answer at the end") << QStringList{"--drop", "4,5"} << "重发" << true;
}

void TestEndToEnd::downloadRecoversFromFaults()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, expected);
    QFETCH(bool, confirmed);
    const QString saved = m_dir.filePath("saved-fault.bin");
    QFile::remove(saved);
    SimProcess sim(simArgs + QStringList{"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const CliResult r = runCli(QStringList{"download", "--port", sim.device(), "--raw-table",
                                           m_table, "--chip", "STM32F103RE", "--no-verify"} +
                               kLinkOptions);
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY(r.out.contains(": 控制器接收完毕，下载成功！\n"));
    // What went other than planned is confirmed by a read-back.
    QVERIFY2(r.out.endsWith(confirmed ? QStringLiteral("与下载的相同\n")
                                      : QStringLiteral(": 控制器接收完毕，下载成功！\n")),
             qPrintable(r.out));
    if (expected.isEmpty())
        QCOMPARE(r.out.count('\n'), 4); // nothing but the four normal lines
    else
        QVERIFY2(r.out.contains(expected), qPrintable(r.out));
    QCOMPARE(TestFiles::read(saved), m_bytes);
}

void TestEndToEnd::uploadRecoversFromFaults_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("expected");
    // Requests: 1 activation, 2 and 3 middle requests, 4 end request.
    QTest::newRow("wrong checksum") << QStringList{"--bad-crc", "1"} << ": 校验码错误！";
    QTest::newRow("no answer") << QStringList{"--drop", "3"} << "重发";
    QTest::newRow("519 bytes in two pieces")
        << QStringList{"--split", "2", "--split-pause", "60"} << "";
    QTest::newRow("end in two pieces") << QStringList{"--split", "4"} << "";
    QTest::newRow("stray bytes") << QStringList{"--garbage", "4"} << ": 校验码错误！";
}

void TestEndToEnd::uploadRecoversFromFaults()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, expected);
    SimProcess sim(simArgs + QStringList{"--raw-table", m_table});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const QString back = m_dir.filePath("back-fault.bin");
    QFile::remove(back);
    const CliResult r = runCli(
        QStringList{"upload", "--port", sim.device(), "--chip", "STM32F103RE", "--raw-out", back} +
        kLinkOptions);
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    if (expected.isEmpty())
        QCOMPARE(r.out.count('\n'), 4);
    else
        QVERIFY2(r.out.contains(expected), qPrintable(r.out));
    QCOMPARE(TestFiles::read(back), m_bytes);
}

void TestEndToEnd::hopelessCasesFailClearly_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("lastLine");
    const QString noAnswer = ": 控制器无有效响应（已重发3次），传输失败！";
    QTest::newRow("download, never answered")
        << "download" << QStringList{"--never-answer"} << noAnswer;
    QTest::newRow("download, middle never stored")
        << "download" << QStringList{"--fail-status", "2-"} << noAnswer;
    QTest::newRow("download, checksum always wrong")
        << "download" << QStringList{"--bad-crc", "1-"} << noAnswer;
    QTest::newRow("download, no room")
        << "download" << QStringList{"--buffer-full"} << ": 控制器缓存空间不够，下载失败！";
    QTest::newRow("upload, never answered")
        << "upload" << QStringList{"--never-answer"} << noAnswer;
    QTest::newRow("upload, end never answered")
        << "upload" << QStringList{"--drop", "4-"} << noAnswer;
    QTest::newRow("download, bytes without end")
        << "download" << QStringList{"--flood", "2"} << "超过1038字节";
    QTest::newRow("upload, bytes without end")
        << "upload" << QStringList{"--flood", "1", "--baud-pace"} << "超过1038字节";
    QTest::newRow("upload, length 0")
        << "upload" << QStringList{"--upload-length", "0"} << "长度无效（0字节）";
    QTest::newRow("upload, negative length")
        << "upload" << QStringList{"--upload-length", "-1"} << "长度无效（-1字节）";
    const QString beyond = QString::number(TableLayout::maxTableSize() + 1);
    QTest::newRow("upload, length beyond the largest table")
        << "upload" << QStringList{"--upload-length", beyond} << "长度无效（" + beyond + "字节）";
    // Every answer arrives within its wait and the line time of its bytes:
    // a controller that trickles fails, saying why, after its repeats.
    const QString tooSlow = ": 控制器发送过慢：响应没有在限定时间内收全（已重发3次），传输失败！";
    QTest::newRow("upload, a byte every 50 ms")
        << "upload" << QStringList{"--trickle-ms", "50"} << tooSlow;
    QTest::newRow("download, a byte every 50 ms")
        << "download" << QStringList{"--trickle-ms", "50"} << tooSlow;
}

void TestEndToEnd::hopelessCasesFailClearly()
{
    QFETCH(QString, command);
    QFETCH(QStringList, simArgs);
    QFETCH(QString, lastLine);
    SimProcess sim(simArgs + QStringList{"--raw-table", m_table});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    QStringList args{command, "--port", sim.device(), "--chip", "STM32F103RE"};
    if (command == "download")
        args << "--raw-table" << m_table;
    else
        args << "--raw-out" << m_dir.filePath("never.bin");
    const CliResult r = runCli(args + kLinkOptions);
    QVERIFY2(r.finished, "mirel-cli hung");
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QVERIFY(!lines.isEmpty());
    QVERIFY2(lines.last().contains(lastLine), qPrintable(r.out));
    if (simArgs.contains(QStringLiteral("--trickle-ms")))
        QVERIFY2(r.out.contains(QStringLiteral("控制器发送过慢")), qPrintable(r.out));
    QVERIFY(!QFile::exists(m_dir.filePath("never.bin")));
}

void TestEndToEnd::slowControllersWithTheDefaults_data()
{
    // No link options: the program's own time-out and repeats.
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("seen");   // a line that must appear
    QTest::addColumn<QString>("unseen"); // and one that must not
    // 600 bytes: activation, one middle packet, the end packet.
    QTest::newRow("every answer after 2.1 s")
        << "download" << QStringList{"--delay-ms", "2100"} << "迟到"
        << "错误";
    QTest::newRow("one answer 2.3 s late")
        << "download" << QStringList{"--delay-ms", "2300", "--delay", "2"} << "迟到"
        << "错误";
    QTest::newRow("answers trickling in, a byte every 2 ms")
        << "upload" << QStringList{"--trickle-ms", "2"} << "上载Mirel配置信息完成"
        << "重发";
}

void TestEndToEnd::slowControllersWithTheDefaults()
{
    QFETCH(QString, command);
    QFETCH(QStringList, simArgs);
    QFETCH(QString, seen);
    QFETCH(QString, unseen);
    const QString table = m_dir.filePath("slow.bin");
    QVERIFY(TestFiles::write(table, m_bytes.left(600)));
    const QString out = m_dir.filePath("slow-out.bin");
    QFile::remove(out);
    SimProcess sim(simArgs + QStringList{"--raw-table", table, "--save", out});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    QStringList args{command, "--port", sim.device(), "--chip", "STM32F103RE"};
    args << (command == "download" ? "--raw-table" : "--raw-out")
         << (command == "download" ? table : out);
    const CliResult r = runCli(args);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(seen) && !r.out.contains(unseen), qPrintable(r.out));
    QTRY_COMPARE_WITH_TIMEOUT(TestFiles::read(out), m_bytes.left(600), 5000);
}

void TestEndToEnd::uploadsNeverShift_data()
{
    // Requests: 1 activation, 2 and 3 middle requests, 4 end request; a
    // repeat takes the next number. The program's own time-out (2 s).
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("seen");
    const QStringList late{"--delay", "2", "--delay-ms", "2300"};
    QTest::newRow("a late answer, the repeat answered too") << late << "迟到";
    QTest::newRow("a late answer, then a lost one") << late + QStringList{"--drop", "4"} << "迟到";
    QTest::newRow("a late answer whose duplicate is lost")
        << late + QStringList{"--drop", "3"} << "没有到达";
    QTest::newRow("two corrupt answers") << QStringList{"--bad-crc", "2,3"} << "校验码错误";
}

void TestEndToEnd::uploadsNeverShift()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, seen);
    // No two blocks alike, so a block taken for another shows.
    QByteArray bytes = pattern(1300, 3);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(bytes.at(i) ^ (i >> 8));
    const QString table = m_dir.filePath("unique.bin");
    QVERIFY(TestFiles::write(table, bytes));
    SimProcess sim(simArgs + QStringList{"--raw-table", table});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const QString back = m_dir.filePath("unique-back.bin");
    QFile::remove(back);
    const CliResult r = runCli(
        {"upload", "--port", sim.device(), "--chip", "STM32F103RE", "--raw-out", back, "--debug"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(seen), qPrintable(r.out));
    // --debug shows every frame, both ways.
    QVERIFY2(r.err.contains("-> 7 32 01 00 01 01") && r.err.contains("<- 11 32 01 00 01"),
             qPrintable(r.err));
    QCOMPARE(TestFiles::read(back), bytes);
}

void TestEndToEnd::vanishedControllerEndsTheTransfer()
{
    // A controller that goes away mid-transfer: the transfer ends naming the
    // port, not after the repeats have run out.
    auto sim = std::make_unique<SimProcess>(QStringList{"--never-answer"});
    const QString device = sim->device();
    QVERIFY2(!device.isEmpty(), qPrintable(sim->error()));
    QProcess cli;
    cli.start(TestFiles::inBinDir(QStringLiteral("mirel-cli")),
              {"upload", "--port", device, "--chip", "STM32F103RE", "--raw-out",
               m_dir.filePath("gone.bin")});
    QVERIFY(cli.waitForStarted());
    QTest::qWait(300);
    sim.reset();
    QVERIFY(cli.waitForFinished(30000));
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    QCOMPARE(cli.exitCode(), 1);
    QVERIFY2(out.contains("串口" + device + "连接已断开"), qPrintable(out));
    QVERIFY2(!out.contains("重发"), qPrintable(out));
}

void TestEndToEnd::verifyReadsTheTableBack_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("lastLine");
    QTest::newRow("stored as sent") << QStringList() << 0 << ": 校验一致";
    QTest::newRow("one byte stored wrong") << QStringList{"--corrupt-store", "700"} << 1
                                           << ": 校验不一致：第一个不同的字节在偏移700处";
}

void TestEndToEnd::verifyReadsTheTableBack()
{
    QFETCH(QStringList, simArgs);
    QFETCH(int, exitCode);
    QFETCH(QString, lastLine);
    SimProcess sim(simArgs);
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const CliResult r = runCli(QStringList{"download", "--port", sim.device(), "--raw-table",
                                           m_table, "--chip", "STM32F103RE", "--verify"} +
                               kLinkOptions);
    QCOMPARE(r.exitCode, exitCode);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QVERIFY2(!lines.isEmpty() && lines.last().mid(19).startsWith(lastLine), qPrintable(r.out));
    QVERIFY(r.out.contains(": 控制器接收完毕，下载成功！"));
}

void TestEndToEnd::tablesRefusedBeforeThePort_data()
{
    QTest::addColumn<QString>("file"); // in the test folder
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QString>("mention");
    QTest::addColumn<int>("exitCode"); // 2: the command was given wrongly
    QTest::newRow("unknown chip") << "f103.bin"
                                  << "STM32F999"
                                  << "unknown chip model" << 2;
    QTest::newRow("not a table") << "table.bin"
                                 << "STM32F103RE"
                                 << "不是配置表" << 1;
    QTest::newRow("another chip's table") << "f103.bin"
                                          << "STM32F407ZG"
                                          << "not a table for" << 1;
    QTest::newRow("a FIFO") << "fifo"
                            << "STM32F103RE"
                            << "not a regular file" << 1;
}

void TestEndToEnd::tablesRefusedBeforeThePort()
{
    QFETCH(QString, file);
    QFETCH(QString, chip);
    QFETCH(QString, mention);
    QFETCH(int, exitCode);
    QString error;
    QVERIFY(ConfigTable::writeTableFile(TableFixtures::fullyConfigured("STM32F103RE"),
                                        m_dir.filePath("f103.bin"), &error));
    const QString fifo = m_dir.filePath("fifo");
    QVERIFY(QFile::exists(fifo) || ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    // The port does not exist: a refusal that names the table came first.
    const CliResult r = runCli(
        {"download", "--port", "/nonexistent/tty", "--table", m_dir.filePath(file), "--chip", chip},
        10000);
    QVERIFY2(r.finished, "mirel-cli waited");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(mention), qPrintable(r.err));
}

void TestEndToEnd::standInTakesAnyBufferSpace()
{
    // All the space a 32-bit length can announce, and a download that
    // claims nearly all of it: the stand-in answers and goes on.
    SimProcess sim({"--buffer-space", "4294967295"});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    CSerial link;
    link.setControllerSettings();
    QVERIFY(link.open(sim.device()));
    QSignalSpy received(&link, &CSerial::serialReturnData);
    link.write(CCommonFunction::downloadActivation("STM32F103RE", 0x7FFFFFFF));
    QTRY_VERIFY_WITH_TIMEOUT(!received.isEmpty(), 5000);
    link.close();
    const CliResult r = runCli(QStringList{"download", "--port", sim.device(), "--raw-table",
                                           m_table, "--chip", "STM32F103RE"} +
                               kLinkOptions);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QVERIFY(sim.stop());
}

void TestEndToEnd::usageAndPortErrors()
{
    CliResult r = runCli({"download", "--raw-table", m_table, "--chip", "STM32F103RE"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains("--port"));
    r = runCli({"upload", "--port", "/nonexistent/tty", "--chip", "STM32F999", "-o", "x.cpro"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains("--chip"));
    r = runCli({"upload", "--port", "/nonexistent/tty", "--chip", "STM32F103RE", "-o",
                m_dir.filePath("x.cpro")});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("/nonexistent/tty"));
    QVERIFY(r.out.isEmpty());
    r = runCli({"download", "--port", "/dev/null", "--timeout-ms", "0", "--raw-table", m_table,
                "--chip", "STM32F103RE"});
    QCOMPARE(r.exitCode, 2);
    r = runCli({"download", "--port", "/dev/null", "--raw-table", m_dir.filePath("missing.bin"),
                "--chip", "STM32F103RE"});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("missing.bin"));
    r = runCli({"ports"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.finished);
    r = runCli({"ports", "extra"});
    QCOMPARE(r.exitCode, 2);

    // Usage errors are 2, found before the port is opened; an output never
    // replaces the project compared with.
    const QString project = m_dir.filePath("kept.cpro");
    QVERIFY(TestFiles::write(project, "[Chip]\n"));
    const QList<QStringList> wrong = {
        {"download", "--port", "/dev/null"},
        {"download", "--port", "/dev/null", "--table", m_table},
        {"download", "--port", "/dev/null", "--raw-table", m_table, "--chip", "X"},
        {"download", "--port", "/dev/null", "--raw-table", m_table, "--chip", "STM32F103RE",
         project},
        {"upload", "--port", "/dev/null", "--chip", "STM32F103RE", "--compare", project, "-o",
         project},
        {"upload", "--port", "/dev/null", "--chip", "STM32F103RE", "-o", project, "--raw-out",
         project}};
    for (const QStringList &args : wrong) {
        r = runCli(args);
        QVERIFY2(r.exitCode == 2, qPrintable(args.join(' ') + ": " + r.err));
    }
    QCOMPARE(TestFiles::read(project), QByteArray("[Chip]\n"));
}

void TestEndToEnd::standInServesTableFiles()
{
    // The stand-in answers uploads from a table file in either form.
    const ProjectData project = TableFixtures::fullyConfigured("STM32F103RE");
    QByteArray transfer;
    QString error;
    QVERIFY2(ConfigTable::buildConfigurationTable(project, &transfer, &error), qPrintable(error));
    const QString fileForm = m_dir.filePath("file-form.bin");
    QVERIFY2(ConfigTable::writeTableFile(project, fileForm, &error), qPrintable(error));
    QVERIFY(TestFiles::read(fileForm) != transfer);
    const QString transferForm = m_dir.filePath("transfer-form.bin");
    QVERIFY(TestFiles::write(transferForm, transfer));
    for (const QString &path : {fileForm, transferForm}) {
        SimProcess sim({"--table", path});
        QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
        const QString back = m_dir.filePath("served.bin");
        QFile::remove(back);
        const CliResult r = runCli(QStringList{"upload", "--port", sim.device(), "--chip",
                                               "STM32F103RE", "--raw-out", back} +
                                   kLinkOptions);
        QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
        QCOMPARE(TestFiles::read(back), transfer);
    }
    // Anything else is refused before the line is opened.
    SimProcess refused({"--table", m_table});
    QVERIFY(refused.device().isEmpty());
    QVERIFY(refused.error().contains(m_table));
    SimProcess badOption({"--drop", "0"});
    QVERIFY(badOption.device().isEmpty());
    QVERIFY(badOption.error().contains("--drop"));
}

void TestEndToEnd::projectThereAndBack_data()
{
    QTest::addColumn<QString>("chip");
    QTest::newRow("STM32F103RE") << "STM32F103RE";
    QTest::newRow("STM32F407ZG") << "STM32F407ZG";
}

void TestEndToEnd::projectThereAndBack()
{
    // A project using every table, written as a file and read as the tool would.
    QFETCH(QString, chip);
    QString error;
    const QString projectPath = m_dir.filePath("original.cpro");
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured(chip), projectPath, &error),
             qPrintable(error));
    ProjectData original;
    QVERIFY2(ProjectFile::read(projectPath, &original, &error), qPrintable(error));

    const QString saved = m_dir.filePath("project-saved.bin");
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    CliResult r =
        runCli(QStringList{"download", "--port", sim.device(), projectPath} + kLinkOptions);
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    QByteArray expected;
    QVERIFY(ConfigTable::buildConfigurationTable(original, &expected, &error));
    QCOMPARE(TestFiles::read(saved), expected);

    const QString uploaded = m_dir.filePath("uploaded.cpro");
    QFile::remove(uploaded);
    // Read back as the other chip, the table cannot be decoded: a clear
    // message and no project file.
    const QString other = chip == "STM32F103RE" ? "STM32F407ZG" : "STM32F103RE";
    r = runCli(QStringList{"upload", "--port", sim.device(), "--chip", other, "-o", uploaded} +
               kLinkOptions);
    QVERIFY(r.finished);
    QCOMPARE(r.exitCode, 1);
    QVERIFY(r.err.contains("cannot be decoded"));
    QVERIFY(!QFile::exists(uploaded));

    r = runCli(QStringList{"upload", "--port", sim.device(), "--chip", chip, "-o", uploaded} +
               kLinkOptions);
    QVERIFY(r.finished);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));
    ProjectData back;
    QVERIFY2(ProjectFile::read(uploaded, &back, &error), qPrintable(error));
    QCOMPARE(back.currentChip, original.currentChip);
    QCOMPARE(back.pinFunctions, original.pinFunctions);
    QCOMPARE(back.fsmcInformation, original.fsmcInformation);
    QCOMPARE(back.diInformation, original.diInformation);
    QCOMPARE(back.doInformation, original.doInformation);
    QCOMPARE(back.aiInformation, original.aiInformation);
    QCOMPARE(back.aoInformation, original.aoInformation);
    QCOMPARE(back.exitInformation, original.exitInformation);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(back.usartInformation[i], original.usartInformation[i]);
        QCOMPARE(back.wirelessInformation[i], original.wirelessInformation[i]);
    }
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(back.spiInformation[i], original.spiInformation[i]);
        QCOMPARE(back.networkInformation[i], original.networkInformation[i]);
    }
    QCOMPARE(back.sysInformation, original.sysInformation);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
