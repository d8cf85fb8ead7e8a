// mirel-cli station against stand-ins that come and go as symbolic links
// (mirel-sim --link), the ports it may write to, and the usage of the
// production-line commands.

#include "batchrecord.h"
#include "clirun.h"
#include "portmatch.h"
#include "projectcheck.h"
#include "projectdata.h"
#include "projectfile.h"
#include "projectsync.h"
#include "simprocess.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

namespace {

int rowsOf(const QList<QStringList> &rows, const QString &port, const QString &outcome)
{
    int n = 0;
    for (const QStringList &row : rows)
        n += row.value(1) == port && row.value(6) == outcome ? 1 : 0;
    return n;
}

} // namespace

class TestStation : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void programsOnceUntilBack_data();
    void programsOnceUntilBack();
    void stopWaitsForTheRunningTransfer_data();
    void stopWaitsForTheRunningTransfer();
    void matchesDevicesOnly_data();
    void matchesDevicesOnly();
    void refusedBeforeAnyPort_data();
    void refusedBeforeAnyPort();

private:
    QString folder(const QString &name) const;

    QTemporaryDir m_dir;
    QString m_project;
    QByteArray m_table; // as the station sends it
};

void TestStation::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_project = m_dir.filePath("station.cpro");
    QString error;
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured("STM32F103RE"), m_project, &error),
             qPrintable(error));
    ProjectData project;
    QVERIFY2(ProjectSync::readCurrent(m_project, &project, &error), qPrintable(error));
    QVERIFY2(ProjectCheck::buildTable(project, &m_table, &error), qPrintable(error));
}

QString TestStation::folder(const QString &name) const
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(path);
    return path;
}

void TestStation::programsOnceUntilBack_data()
{
    QTest::addColumn<bool>("includePresent");
    QTest::addColumn<bool>("verify");
    QTest::newRow("present port left alone") << false << false;
    QTest::newRow("present port included, verified") << true << true;
}

void TestStation::programsOnceUntilBack()
{
    QFETCH(bool, includePresent);
    QFETCH(bool, verify);
    const QString tag = QTest::currentDataTag();
    const QString links = folder(tag + "/links");
    const QString saves = folder(tag + "/saves");
    const QString record = m_dir.filePath(tag + "/record.csv");
    const QString a = links + "/a", b = links + "/b", c = links + "/c";

    SimProcess present({"--link", a, "--save", saves + "/a.bin"});
    QVERIFY2(!present.device().isEmpty(), qPrintable(present.error()));
    QStringList args{"station",       "--project", m_project,  "--match", links + "/*",
                     "--interval-ms", "50",        "--record", record};
    if (includePresent)
        args << "--include-present";
    if (!verify)
        args << "--no-verify";
    CliRun station(args);
    QVERIFY2(station.waitFor("waiting for controllers"), qPrintable(station.err()));
    if (includePresent)
        QVERIFY2(station.waitFor(a + ": ok"), qPrintable(station.out()));
    else
        QVERIFY2(station.waitFor("left alone until they come back: " + a),
                 qPrintable(station.out()));

    auto sim = std::make_unique<SimProcess>(QStringList{"--link", b, "--save", saves + "/b1.bin"});
    QVERIFY2(station.waitFor(b + ": ok"), qPrintable(station.out()));
    QCOMPARE(TestFiles::read(saves + "/b1.bin"), m_table);
    // Another arrival takes more looks at the ports: b, still there, is
    // not programmed again meanwhile.
    SimProcess other({"--link", c, "--save", saves + "/c.bin"});
    QVERIFY2(station.waitFor(c + ": ok"), qPrintable(station.out()));
    // b goes away and comes back: programmed again.
    sim.reset();
    QVERIFY2(station.waitFor(b + ": gone"), qPrintable(station.out()));
    sim = std::make_unique<SimProcess>(QStringList{"--link", b, "--save", saves + "/b2.bin"});
    QVERIFY2(station.waitFor(b + ": ok", 2), qPrintable(station.out()));
    QCOMPARE(TestFiles::read(saves + "/b2.bin"), m_table);

    station.signal(SIGINT);
    QCOMPARE(station.finish(), 0);
    QCOMPARE(station.out().count(b + ": programming"), 2);
    QCOMPARE(station.out().count(c + ": programming"), 1);
    QCOMPARE(station.out().count(a + ": programming"), includePresent ? 1 : 0);
    QCOMPARE(QFile::exists(saves + "/a.bin"), includePresent);
    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), includePresent ? 5 : 4);
    QCOMPARE(rows.first().join(','), BatchRecord::header());
    QCOMPARE(rowsOf(rows, b, "ok"), 2);
    QCOMPARE(rowsOf(rows, c, "ok"), 1);
    for (int i = 1; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).value(3), m_project);
        QCOMPARE(rows.at(i).value(8), verify ? QStringLiteral("same") : QStringLiteral("off"));
    }
}

void TestStation::stopWaitsForTheRunningTransfer_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("timeoutMs");
    QTest::addColumn<int>("interrupts");
    QTest::addColumn<QString>("outcome");
    // The middle packet goes unanswered once: the transfer runs on for the
    // wait of 1.5 s, then its repeat is answered.
    QTest::newRow("Ctrl+C: the transfer ends first")
        << QStringList{"--drop", "2"} << "1500" << 1 << "ok";
    QTest::newRow("Ctrl+C twice: the transfer is cancelled")
        << QStringList{"--drop", "2-"} << "60000" << 2 << "failed: 传输已取消";
}

void TestStation::stopWaitsForTheRunningTransfer()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, timeoutMs);
    QFETCH(int, interrupts);
    QFETCH(QString, outcome);
    const QString tag = QTest::currentDataTag();
    const QString links = folder(tag + "/links");
    const QString record = m_dir.filePath(tag + "/record.csv");
    const QString port = links + "/x";
    CliRun station({"station", "--project", m_project, "--match", links + "/*", "--interval-ms",
                    "50", "--record", record, "--timeout-ms", timeoutMs, "--verbose"});
    QVERIFY2(station.waitFor("waiting for controllers"), qPrintable(station.err()));
    SimProcess sim(simArgs + QStringList{"--link", port});
    QVERIFY2(station.waitFor(port + ": ") && station.waitFor("激活成功"),
             qPrintable(station.out()));
    station.signal(SIGINT);
    QVERIFY2(station.waitFor("stopping once the running transfers end"), qPrintable(station.out()));
    if (interrupts == 2)
        station.signal(SIGINT);
    QCOMPARE(station.finish(), 0);
    QVERIFY2(station.out().contains(port + ": " + outcome), qPrintable(station.out()));
    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).value(6), outcome);
}

void TestStation::matchesDevicesOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("taken");
    QTest::newRow("a link to a pseudo-terminal") << "tty-link" << true;
    QTest::newRow("a regular file") << "tty-file" << false;
    QTest::newRow("a link to a regular file") << "tty-filelink" << false;
    QTest::newRow("a link to nothing") << "tty-dangling" << false;
    QTest::newRow("a link to the pseudo-terminal multiplexer") << "tty-ptmx" << false;
}

void TestStation::matchesDevicesOnly()
{
    QFETCH(QString, name);
    QFETCH(bool, taken);
    const QString dir = folder("match");
    SimProcess sim({"--link", dir + "/tty-link"});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    QFile file(dir + "/tty-file");
    QVERIFY(file.exists() || (file.open(QIODevice::WriteOnly) && file.write("x") == 1));
    file.close();
    QFile::link(dir + "/tty-file", dir + "/tty-filelink");
    QFile::link(dir + "/nothing", dir + "/tty-dangling");
    QFile::link("/dev/ptmx", dir + "/tty-ptmx");
    PortMatch match;
    QString error;
    QVERIFY2(match.parse(dir + "/tty-*", &error), qPrintable(error));
    QCOMPARE(match.present().contains(dir + "/" + name), taken);
    // The multiplexer is no port even when a pattern names it.
    QVERIFY(match.parse("/dev/pt*", &error));
    QVERIFY(!match.present().contains("/dev/ptmx"));
}

void TestStation::refusedBeforeAnyPort_data()
{
    // %P: the project, %F: a file, %L: a link to it, %N: a link to /dev/null
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("mention");
    QTest::newRow("station without --match")
        << QStringList{"station", "--project", "%P"} << 2 << "--match";
    QTest::newRow("station without --project")
        << QStringList{"station", "--match", "%F"} << 2 << "--project";
    QTest::newRow("station with a bad vid:pid")
        << QStringList{"station", "--project", "%P", "--match", "12345:1"} << 2 << "vid:pid";
    QTest::newRow("station recording over its project")
        << QStringList{"station", "--project", "%P", "--match", "%F", "--record", "%P"} << 2
        << "same file";
    QTest::newRow("station with a record of another kind")
        << QStringList{"station", "--project", "%P", "--match", "%F", "--record", "%F"} << 1
        << BatchRecord::header();
    QTest::newRow("station with a device as its record")
        << QStringList{"station", "--project", "%P", "--match", "%F", "--record", "/dev/null"} << 2
        << "/dev/null 是设备";
    QTest::newRow("station with a link to a device as its record")
        << QStringList{"station", "--project", "%P", "--match", "%F", "--record", "%N"} << 2
        << "null-link 是设备";
    QTest::newRow("station with a record through a regular file")
        << QStringList{"station", "--project", "%P", "--match", "%F", "--record", "%F/r.csv"} << 1
        << "not-a-record.csv/r.csv";
    QTest::newRow("download naming a port twice, once through a link")
        << QStringList{"download", "--port", "%F", "--port", "%L", "%P"} << 2 << "given twice";
}

void TestStation::refusedBeforeAnyPort()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, mention);
    const QString dir = folder("refused");
    const QString file = dir + "/not-a-record.csv";
    const QByteArray foreign("a,b\n1,2\n");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(foreign) == foreign.size());
    f.close();
    QFile::link(file, dir + "/link");
    QFile::link("/dev/null", dir + "/null-link");
    args.replaceInStrings("%P", m_project).replaceInStrings("%F", file);
    args.replaceInStrings("%L", dir + "/link").replaceInStrings("%N", dir + "/null-link");
    const CliResult r = runCli(args, 30000);
    QVERIFY2(r.finished, "mirel-cli waited");
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY2(r.err.contains(mention), qPrintable(r.err));
    QCOMPARE(TestFiles::read(file), foreign);
}

QTEST_GUILESS_MAIN(TestStation)
#include "tst_station.moc"
