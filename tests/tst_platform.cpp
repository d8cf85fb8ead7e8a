// What the program asks of the operating system, the same in every build:
// port patterns matched and expanded as a shell does, port names as users
// type them, the lock that holds a record alone (and a try that never
// waits), and a run of the command line stopped by a signal.

#include "appendfile.h"
#include "clirun.h"
#include "platform.h"
#include "portmatch.h"
#include "portname.h"
#include "projectfile.h"
#include "smalltmpfs.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

class TestPlatformDoor : public QObject
{
    Q_OBJECT

private slots:
    void patternsMatchAsAShellDoes_data();
    void patternsMatchAsAShellDoes();
    void pathPatternsExpandLikeAShell();
    void portNamesAsTyped_data();
    void portNamesAsTyped();
    void recordLockIsHeldAlone();
    void appendCutShortLeavesTheFileAsItWas();
    void signalStopsACommandInGoodOrder_data();
    void signalStopsACommandInGoodOrder();
};

void TestPlatformDoor::patternsMatchAsAShellDoes_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("escapes");
    QTest::addColumn<bool>("matches");
    const auto row = [](const char *tag, const char *pattern, const char *name, bool matches,
                        bool escapes = true) {
        QTest::newRow(tag) << QString::fromUtf8(pattern) << QString::fromUtf8(name) << escapes
                           << matches;
    };
    row("star", "ttyUSB*", "ttyUSB0", true);
    row("star takes nothing", "COM*", "COM", true);
    row("case counts", "ttyUSB*", "ttyusb0", false);
    row("question, one character", "COM?", "COM3", true);
    row("question, not two", "COM?", "COM12", false);
    row("question, the tenth port", "COM1?", "COM12", true);
    row("set", "tty[AU]*", "ttyACM0", true);
    row("set, not in it", "tty[AU]*", "ttyS0", false);
    row("negated set", "tty[!U]*", "ttyUSB0", false);
    row("negated set, caret", "tty[^U]*", "ttyACM0", true);
    row("range, its last", "ttyS[0-3]", "ttyS3", true);
    row("range, past its end", "ttyS[0-3]", "ttyS4", false);
    row("a bracket first in a set", "[]x]", "]", true);
    row("a bracket first in a negated set", "[!]]", "]", false);
    row("an unclosed set is a bracket", "[ab", "[ab", true);
    row("a closed set is no bracket", "[ab]", "[ab]", false);
    row("star never takes a slash", "*", "a/b", false);
    row("question never takes a slash", "a?b", "a/b", false);
    row("a set never takes a slash", "a[/x]b", "a/b", false);
    row("star goes back", "a*b*c", "abxbyc", true);
    row("star, more after the end", "a*b", "axxbc", false);
    row("escaped star", "\\*", "*", true);
    row("escaped star is no star", "\\*", "x", false);
    row("empty", "", "", true);
    row("empty, a name", "", "a", false);
    row("Windows device name", "\\\\.\\COM1?", "\\\\.\\COM12", true, false);
    row("Windows device name, with escapes", "\\\\.\\COM1?", "\\\\.\\COM12", false, true);
    row("Windows port name", "COM?", "COM7", true, false);
}

void TestPlatformDoor::patternsMatchAsAShellDoes()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, escapes);
    QFETCH(bool, matches);
    QCOMPARE(PortMatch::matches(pattern, name, escapes), matches);
}

void TestPlatformDoor::pathPatternsExpandLikeAShell()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = QDir(dir.path()).canonicalPath();
    for (const char *file : {"a/tty1", "a/tty2", "b/tty1", ".hidden/tty1", "a/.tty3", "c/other"}) {
        const QString path = root + '/' + file;
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(TestFiles::write(path, "x"));
    }
    QCOMPARE(PortMatch::expand(root + "/*/tty*"),
             QStringList({root + "/a/tty1", root + "/a/tty2", root + "/b/tty1"}));
    QCOMPARE(PortMatch::expand(root + "/.*/tty1"), QStringList({root + "/.hidden/tty1"}));
    QCOMPARE(PortMatch::expand(root + "/a/.tty*"), QStringList({root + "/a/.tty3"}));
    QCOMPARE(PortMatch::expand(root + "/a/tty[2-9]"), QStringList({root + "/a/tty2"}));
    QCOMPARE(PortMatch::expand(root + "//b//tty1"), QStringList({root + "/b/tty1"}));
    QCOMPARE(PortMatch::expand(root + "/missing/*"), QStringList());
    QCOMPARE(PortMatch::expand(root + "/a/tty9"), QStringList());
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(root));
    const QStringList relative = PortMatch::expand(QStringLiteral("b/tty?"));
    QVERIFY(QDir::setCurrent(before));
    QCOMPARE(relative, QStringList({"b/tty1"}));

    // Only devices are ports; never the multiplexer of pseudo-terminals.
    PortMatch files;
    QString error;
    QVERIFY(files.parse(root + "/*/tty*", &error));
    QCOMPARE(files.present(), QStringList());
    if (!QFileInfo(QStringLiteral("/dev/null")).exists())
        QSKIP("no /dev here");
    PortMatch devices;
    QVERIFY(devices.parse(QStringLiteral("/dev/nul?"), &error));
    QCOMPARE(devices.present(), QStringList({"/dev/null"}));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), root + "/c/null-link"));
    QVERIFY(QFile::link(QStringLiteral("/dev/ptmx"), root + "/c/ptmx-link"));
    QVERIFY(devices.parse(root + "/c/*-link", &error));
    QCOMPARE(devices.present(), QStringList({root + "/c/null-link"}));
    QVERIFY(!Platform::isSerialDevice(QStringLiteral("/dev/ptmx")));
}

void TestPlatformDoor::portNamesAsTyped_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("identity");
    const int win = PortName::Windows, other = PortName::Unix;
    const QString here = QDir::currentPath();
    QTest::newRow("COM3") << win << "COM3"
                          << "COM3"
                          << "COM3";
    QTest::newRow("com3, spaced") << win << " com3 "
                                  << "COM3"
                                  << "COM3";
    QTest::newRow("the twelfth by its device name") << win << "\\\\.\\COM12"
                                                    << "\\\\.\\COM12"
                                                    << "COM12";
    QTest::newRow("a device name with slashes") << win << "//./com12"
                                                << "\\\\.\\COM12"
                                                << "COM12";
    QTest::newRow("another name on Windows") << win << "CNCA0"
                                             << "CNCA0"
                                             << "CNCA0";
    QTest::newRow("a device path") << other << "/dev/ttyUSB0"
                                   << "/dev/ttyUSB0"
                                   << "/dev/ttyUSB0";
    QTest::newRow("a relative path")
        << other << "links/tty1" << here + "/links/tty1" << here + "/links/tty1";
    QTest::newRow("a bare name") << other << "ttyUSB0"
                                 << "ttyUSB0"
                                 << "ttyUSB0";
    QTest::newRow("COM3 elsewhere") << other << " COM3"
                                    << "COM3"
                                    << "COM3";
}

void TestPlatformDoor::portNamesAsTyped()
{
    QFETCH(int, style);
    QFETCH(QString, typed);
    QFETCH(QString, opened);
    QFETCH(QString, identity);
    QCOMPARE(PortName::toOpen(typed, PortName::Style(style)), opened);
    QCOMPARE(PortName::identity(typed, PortName::Style(style)), identity);
}

// One holder at a time, whichever way it asks; the lock goes with the holder.
void TestPlatformDoor::recordLockIsHeldAlone()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("record.csv"));
    const int wait = AppendFile::lockWaitMs();
    AppendFile::setLockWaitMs(600000);
    auto restore = qScopeGuard([wait] { AppendFile::setLockWaitMs(wait); });

    auto first = std::make_unique<AppendFile>(path);
    QString error;
    QVERIFY2(first->open(&error), qPrintable(error));
    QVERIFY(first->append("one\n", &error));

    AppendFile second(path);
    bool busy = false;
    QElapsedTimer asked;
    asked.start();
    QVERIFY(!second.tryOpen(&error, &busy));
    QVERIFY(busy);
    QVERIFY2(asked.elapsed() < 60000, "a try waited for the lock");
    QVERIFY2(error.contains(path), qPrintable(error));
    // Reached by a link, it is the same file and the same lock.
    const QString link = dir.filePath(QStringLiteral("link.csv"));
    QVERIFY(QFile::link(path, link));
    AppendFile linked(link);
    QVERIFY(!linked.tryOpen(&error, &busy));
    QVERIFY(busy);
    Platform::LockedFile third;
    QString reason;
    QCOMPARE(third.open(path, 50, &reason), Platform::LockedFile::Busy);
    QVERIFY(!third.isOpen());

    first.reset();
    QVERIFY2(second.tryOpen(&error, &busy), qPrintable(error));
    QVERIFY(!busy);
    QVERIFY(second.append("two\n", &error));
    QCOMPARE(second.size(), qint64(8));
    QByteArray bytes;
    QVERIFY(second.read(2, 100, &bytes, &error));
    QCOMPARE(bytes, QByteArray("e\ntwo\n"));
    QVERIFY(second.read(8, 10, &bytes, &error));
    QCOMPARE(bytes, QByteArray());
    QCOMPARE(TestFiles::read(path), QByteArray("one\ntwo\n"));
}

// A disk that fills up in the middle of a row: the row goes, the file is
// as it was.
void TestPlatformDoor::appendCutShortLeavesTheFileAsItWas()
{
    SmallTmpfs disk(8); // two pages
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.filePath(QStringLiteral("record.csv"));
    const QByteArray before(4000, 'r');
    QVERIFY(TestFiles::write(path, before));
    AppendFile file(path);
    QString error;
    QVERIFY2(file.open(&error), qPrintable(error));
    // What the lock left of the disk is filled, the first page's end aside.
    QFile filler(disk.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    filler.write(QByteArray(16384, 'f'));
    filler.close();
    QVERIFY(!file.append(QByteArray(500, 'x'), &error));
    QVERIFY2(error.contains(path), qPrintable(error));
    QCOMPARE(file.size(), qint64(before.size()));
    QCOMPARE(TestFiles::read(path), before);
}

void TestPlatformDoor::signalStopsACommandInGoodOrder_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

// A station waiting for controllers ends when asked, as it would when one
// is programmed: its summary said, exit 0.
void TestPlatformDoor::signalStopsACommandInGoodOrder()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("station.cpro"));
    QString error;
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), project, &error),
             qPrintable(error));
    CliRun station(
        {"station", "--project", project, "--match", dir.filePath("none*"), "--interval-ms", "50"});
    QVERIFY2(station.waitFor("waiting for controllers"), qPrintable(station.err()));
    if (!station.signal(signal))
        QSKIP("no signals to other programs here");
    QCOMPARE(station.finish(), 0);
    QVERIFY2(station.out().contains("stopped; 0 programmed, 0 failed"), qPrintable(station.out()));
}

QTEST_GUILESS_MAIN(TestPlatformDoor)
#include "tst_platform.moc"
