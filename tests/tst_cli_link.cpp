// The files the link commands of mirel-cli (download, upload, station) name:
// names that are not UTF-8 read and written by their bytes against the
// stand-in, outputs that are devices refused before anything is sent, and
// the messages about a bad project in the language chosen.

#include "clirun.h"
#include "projectcheck.h"
#include "projectdata.h"
#include "projectfile.h"
#include "projectsync.h"
#include "ptypair.h"
#include "simprocess.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

const QString F103 = QStringLiteral("STM32F103RE");

using Run = CliResult;

// A file by the bytes of its name; empty when it cannot be read.
QByteArray rawContents(const QByteArray &name)
{
    QFile file;
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
               ? file.readAll()
               : QByteArray();
}

bool writeRaw(const QByteArray &name, const QByteArray &bytes)
{
    QFile file;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    return fd >= 0 && file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           file.write(bytes) == bytes.size();
}

// The rows of a CSV file named by bytes.
QList<QStringList> rawCsv(const QByteArray &name, const QString &scratch)
{
    return TestFiles::write(scratch, rawContents(name)) ? readCsv(scratch) : QList<QStringList>();
}

// Every entry of a folder, by the bytes of its name (QDir passes over names
// that are not text).
QList<QByteArray> entries(const QString &folder)
{
    QList<QByteArray> names;
    if (DIR *dir = ::opendir(QFile::encodeName(folder).constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names << name;
        }
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class TestCliLink : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void downloadAndRecordByTheirBytes_data();
    void downloadAndRecordByTheirBytes();
    void uploadWritesByTheirBytes();
    void stationByTheirBytes();
    void devicesRefusedBeforeTheTransfer_data();
    void devicesRefusedBeforeTheTransfer();
    void badProjectInTheChosenLanguage_data();
    void badProjectInTheChosenLanguage();

private:
    // A new folder for one test.
    QString folder(const QString &name) const;

    QTemporaryDir m_dir;
    QByteArray m_project; // the file's bytes
    QByteArray m_table;   // as download sends it
};

void TestCliLink::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString path = m_dir.filePath("source.cpro");
    QString error;
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured(F103), path, &error),
             qPrintable(error));
    m_project = TestFiles::read(path);
    ProjectData project;
    QVERIFY2(ProjectSync::readCurrent(path, &project, &error), qPrintable(error));
    QVERIFY2(ProjectCheck::buildTable(project, &m_table, &error), qPrintable(error));
}

void TestCliLink::cleanupTestCase()
{
    // QTemporaryDir cannot remove names that are not text.
    QProcess::execute(QStringLiteral("rm"), {QStringLiteral("-rf"), m_dir.path()});
}

QString TestCliLink::folder(const QString &name) const
{
    const QString path = m_dir.filePath(name);
    QDir().mkpath(path);
    return path;
}

void TestCliLink::downloadAndRecordByTheirBytes_data()
{
    QTest::addColumn<QByteArray>("input"); // written under this name
    QTest::addColumn<QString>("source");   // the shell's words naming it
    QTest::addColumn<QString>("shown");    // the record's project column
    QTest::newRow("a project") << QByteArray("p\xFF\xFE.cpro") << "\"$(n 'p\\377\\376.cpro')\""
                               << "p\\xFF\\xFE.cpro";
    QTest::newRow("a raw table") << QByteArray("t\xE9.bin")
                                 << "--raw-table \"$(n 't\\351.bin')\" --chip STM32F103RE"
                                 << "t\\xE9.bin";
}

void TestCliLink::downloadAndRecordByTheirBytes()
{
    QFETCH(QByteArray, input);
    QFETCH(QString, source);
    QFETCH(QString, shown);
    const QString dir = folder(QStringLiteral("download-") + QTest::currentDataTag());
    const QByteArray bytes = QFile::encodeName(dir) + '/';
    QVERIFY(writeRaw(bytes + input, input.endsWith(".bin") ? m_table : m_project));
    const QString saved = m_dir.filePath(QStringLiteral("saved-") + QTest::currentDataTag());
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const QString command =
        "c download --port " + sim.device() + ' ' + source + " --record \"$(n 'r\\377\\376.csv')\"";
    for (int run = 1; run <= 2; ++run) {
        const Run r = runCliInShell(dir, command);
        QVERIFY2(r.exitCode == 0, qPrintable(r.err));
        QCOMPARE(TestFiles::read(saved), m_table);
        QFile::remove(saved);
    }
    const QList<QStringList> rows =
        rawCsv(bytes + "r\xFF\xFE.csv", m_dir.filePath(QStringLiteral("scratch.csv")));
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).join(','), QString("time,port,serial_number,project,table_bytes,"
                                           "table_crc16,outcome,seconds,verify"));
    for (int i = 1; i <= 2; ++i) {
        QCOMPARE(rows.at(i).value(3), shown);
        QCOMPARE(rows.at(i).value(6), QStringLiteral("ok"));
    }
    // Nothing else: no name made of the shown text, nothing left over.
    QList<QByteArray> expected{input, "r\xFF\xFE.csv"};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(entries(dir), expected);
}

void TestCliLink::uploadWritesByTheirBytes()
{
    const QString dir = folder(QStringLiteral("upload"));
    const QByteArray bytes = QFile::encodeName(dir) + '/';
    const QString table = m_dir.filePath(QStringLiteral("controller.bin"));
    QVERIFY(TestFiles::write(table, m_table));
    SimProcess sim({"--raw-table", table});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Run r =
        runCliInShell(dir, "c upload --port " + sim.device() +
                               " --chip STM32F103RE -o \"$(n 'u\\377\\376.cpro')\" --raw-out \"$(n "
                               "'t\\377\\376.bin')\"");
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QCOMPARE(rawContents(bytes + "t\xFF\xFE.bin"), m_table);
    // The project written holds the controller's table.
    const QString copy = m_dir.filePath(QStringLiteral("uploaded.cpro"));
    QVERIFY(TestFiles::write(copy, rawContents(bytes + "u\xFF\xFE.cpro")));
    ProjectData project;
    QByteArray rebuilt;
    QVERIFY(ProjectSync::readCurrent(copy, &project));
    QVERIFY(ProjectCheck::buildTable(project, &rebuilt));
    QCOMPARE(rebuilt, m_table);
    QCOMPARE(entries(dir), (QList<QByteArray>{"t\xFF\xFE.bin", "u\xFF\xFE.cpro"}));
    // Compared with by its bytes too.
    r = runCliInShell(dir, "c upload --port " + sim.device() +
                               " --chip STM32F103RE --compare \"$(n 'u\\377\\376.cpro')\"");
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains("u\\xFF\\xFE.cpro"), qPrintable(r.out));
}

void TestCliLink::stationByTheirBytes()
{
    const QString dir = folder(QStringLiteral("station"));
    const QString links = folder(QStringLiteral("station-links"));
    const QByteArray bytes = QFile::encodeName(dir) + '/';
    QVERIFY(writeRaw(bytes + "s\xFF.cpro", m_project));
    const QString saved = m_dir.filePath(QStringLiteral("station-saved.bin"));
    SimProcess sim({"--link", links + "/a", "--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    QProcess station;
    station.start(QStringLiteral("/bin/sh"),
                  cliShellArguments(dir, "exec \"$0\" station --project \"$(n 's\\377.cpro')\" "
                                         "--match '" +
                                             links +
                                             "/*' --include-present --interval-ms 50 "
                                             "--record \"$(n 'log\\376.csv')\""));
    QByteArray out;
    while (!out.contains(": ok") && station.waitForReadyRead(30000))
        out += station.readAllStandardOutput();
    QVERIFY2(out.contains(": ok"), out.constData());
    ::kill(pid_t(station.processId()), SIGINT);
    QVERIFY(station.waitForFinished(30000));
    QCOMPARE(station.exitCode(), 0);
    QCOMPARE(TestFiles::read(saved), m_table);
    const QList<QStringList> rows =
        rawCsv(bytes + "log\xFE.csv", m_dir.filePath(QStringLiteral("scratch.csv")));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).value(1), links + "/a");
    QCOMPARE(rows.at(1).value(3), QStringLiteral("s\\xFF.cpro"));
    QCOMPARE(entries(dir), (QList<QByteArray>{"log\xFE.csv", "s\xFF.cpro"}));
}

void TestCliLink::devicesRefusedBeforeTheTransfer_data()
{
    // %PORT: a pseudo-terminal nobody answers on, %P: a project, %L: a link
    // to /dev/null, %B: a link to it named by bytes (d\377).
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("named"); // as the message names it
    QTest::newRow("download --record /dev/null") << "c download --port %PORT %P --record /dev/null"
                                                 << "/dev/null";
    QTest::newRow("download --record a link to /dev/null")
        << "c download --port %PORT %P --record %L"
        << "%L";
    QTest::newRow("download --record the port itself")
        << "c download --port %PORT %P --record %PORT"
        << "%PORT";
    QTest::newRow("download --record a link by bytes")
        << "c download --port %PORT %P --record \"$(n 'd\\377')\""
        << "d\\xFF";
    QTest::newRow("upload -o /dev/null") << "c upload --port %PORT --chip STM32F103RE -o /dev/null"
                                         << "/dev/null";
    QTest::newRow("upload -o a link to /dev/null")
        << "c upload --port %PORT --chip STM32F103RE -o %L"
        << "%L";
    QTest::newRow("upload -o a link by bytes")
        << "c upload --port %PORT --chip STM32F103RE -o \"$(n 'd\\377')\""
        << "d\\xFF";
    QTest::newRow("upload --raw-out the port itself")
        << "c upload --port %PORT --chip STM32F103RE -o x.cpro --raw-out %PORT"
        << "%PORT";
    QTest::newRow("upload --raw-out /dev/null beside a good -o")
        << "c upload --port %PORT --chip STM32F103RE -o x.cpro --raw-out /dev/null"
        << "/dev/null";
    QTest::newRow("station --record /dev/null")
        << "c station --project %P --match %PORT --record /dev/null"
        << "/dev/null";
}

void TestCliLink::devicesRefusedBeforeTheTransfer()
{
    QFETCH(QString, command);
    QFETCH(QString, named);
    const QString dir = folder(QStringLiteral("devices"));
    const QString project = dir + "/p.cpro";
    const QString link = dir + "/null-link";
    QVERIFY(TestFiles::write(project, m_project));
    QFile::link(QStringLiteral("/dev/null"), link);
    ::symlink("/dev/null", QByteArray(QFile::encodeName(dir) + "/d\xFF").constData());
    PtyPair pty;
    QVERIFY(pty.isValid());
    for (QString *text : {&command, &named})
        text->replace("%PORT", pty.slavePath()).replace("%P", project).replace("%L", link);
    const Run r = runCliInShell(dir, command + " --timeout-ms 200 --retries 0");
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(named + " 是设备，不是文件"), qPrintable(r.err));
    QCOMPARE(r.err.count('\n'), 1);
    QVERIFY2(r.out.isEmpty(), qPrintable(r.out));
    QCOMPARE(pty.readMaster(), QByteArray()); // nothing was sent
    QVERIFY(!QFile::exists(dir + "/x.cpro"));
}

void TestCliLink::badProjectInTheChosenLanguage_data()
{
    QTest::addColumn<QString>("command"); // %PORT: a pseudo-terminal, %X: the bad project
    QTest::addColumn<QString>("problem"); // missing, folder, bytes (a missing name by bytes)
    QTest::addColumn<QString>("lang");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message"); // after "mirel-cli COMMAND: "
    const QString download = QStringLiteral("c %LANG download --port %PORT %X");
    const QString station = QStringLiteral("c %LANG station --project %X --match %PORT");
    const QString compare =
        QStringLiteral("c %LANG upload --port %PORT --chip STM32F103RE --compare %X");
    const struct
    {
        const char *name;
        QString command;
        int exitCode;
    } commands[] = {
        {"download", download, 1}, {"station", station, 1}, {"upload --compare", compare, 2}};
    for (const auto &c : commands) {
        QTest::addRow("%s, missing, Chinese", c.name) << c.command << "missing"
                                                      << "" << c.exitCode << "gone.cpro 不存在";
        QTest::addRow("%s, missing, English", c.name)
            << c.command << "missing"
            << "en" << c.exitCode << "gone.cpro does not exist";
        QTest::addRow("%s, a folder, Chinese", c.name)
            << c.command << "folder"
            << "zh" << c.exitCode << "folder.cpro 是文件夹，不是文件";
        QTest::addRow("%s, a folder, English", c.name)
            << c.command << "folder"
            << "en" << c.exitCode << "folder.cpro is a folder, not a file";
        QTest::addRow("%s, missing by bytes, English", c.name)
            << c.command << "bytes"
            << "en" << c.exitCode << "gone\\xE9.cpro does not exist";
    }
}

void TestCliLink::badProjectInTheChosenLanguage()
{
    QFETCH(QString, command);
    QFETCH(QString, problem);
    QFETCH(QString, lang);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString dir = folder(QStringLiteral("bad-project"));
    QDir().mkpath(dir + "/folder.cpro");
    PtyPair pty;
    QVERIFY(pty.isValid());
    const QString bad = problem == "missing"  ? QStringLiteral("gone.cpro")
                        : problem == "folder" ? QStringLiteral("folder.cpro")
                                              : QStringLiteral("\"$(n 'gone\\351.cpro')\"");
    command.replace("%LANG", lang.isEmpty() ? QString() : "--lang " + lang)
        .replace("%PORT", pty.slavePath())
        .replace("%X", bad);
    const Run r = runCliInShell(dir, command + " --timeout-ms 200 --retries 0");
    QCOMPARE(r.exitCode, exitCode);
    const QString name = command.split(' ', Qt::SkipEmptyParts).at(lang.isEmpty() ? 1 : 3);
    QCOMPARE(r.err, QStringLiteral("mirel-cli %1: %2\n").arg(name, message));
    QCOMPARE(pty.readMaster(), QByteArray()); // refused before anything was sent
}

QTEST_GUILESS_MAIN(TestCliLink)
#include "tst_cli_link.moc"
