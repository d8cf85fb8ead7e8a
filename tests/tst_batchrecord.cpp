// The production-line record shared by several writers: rows appended under
// the file's lock by separate processes (this program started again as a
// writer), the header decided once, the file's bytes kept as they were, and
// the records that cannot be written refused before anything is sent.

#include "appendfile.h"
#include "batchrecord.h"
#include "clirun.h"
#include "recordqueue.h"
#include "smalltmpfs.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char kAppendMode[] = "--append-rows";
const char kHoldMode[] = "--hold-lock";

BatchPortResult resultOf(const QString &port, int number)
{
    BatchPortResult result;
    result.port = port;
    result.ok = number % 3 != 0;
    result.reason = result.ok ? QString() : QStringLiteral("控制器无有效响应");
    result.seconds = number / 10.0;
    result.verify = QStringLiteral("off");
    result.serialNumber = QString::number(number);
    return result;
}

// A writer: --append-rows RECORD ROWS PORT GO appends ROWS rows of PORT once
// the file GO exists, so that every writer starts at once.
int appendRows(char *argv[])
{
    const QString record = QString::fromLocal8Bit(argv[2]);
    const int rows = QByteArray(argv[3]).toInt();
    const QString port = QString::fromLocal8Bit(argv[4]);
    const QByteArray go = argv[5];
    std::puts("ready");
    std::fflush(stdout);
    while (!QFileInfo::exists(QFile::decodeName(go)))
        QThread::usleep(200);
    const BatchRecord writer(record, QStringLiteral("line.cpro"), QByteArray(300, '\x5A'));
    for (int i = 0; i < rows; ++i) {
        QString error;
        if (!writer.append(resultOf(port, i), &error)) {
            std::fprintf(stderr, "%s\n", error.toUtf8().constData());
            return 1;
        }
    }
    return 0;
}

// A holder: --hold-lock RECORD takes the record's lock and keeps it until it
// is killed.
int holdLock(char *argv[])
{
    AppendFile file(QString::fromLocal8Bit(argv[2]));
    QString error;
    if (!file.open(&error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return 1;
    }
    std::puts("held");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

// This program started again in one of its modes.
std::unique_ptr<QProcess> startMode(const QStringList &arguments)
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QCoreApplication::applicationFilePath());
    process->setArguments(arguments);
    process->start();
    return process;
}

bool waitForLine(QProcess *process, const QByteArray &line)
{
    while (!process->canReadLine()) {
        if (!process->waitForReadyRead(20000))
            return false;
    }
    return process->readLine().trimmed() == line;
}

QByteArray header()
{
    return BatchRecord::header().toUtf8();
}

QByteArray oldRow()
{
    return "2024-01-01T00:00:00+08:00,COM3,,a.cpro,10,ABCD,ok,1.000,off";
}

quint64 inodeOf(const QString &path)
{
    return TestPlatform::fileId(path);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

class TestBatchRecord : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void concurrentWritersKeepEveryRow_data();
    void concurrentWritersKeepEveryRow();
    void appendAddsOnlyTheRow_data();
    void appendAddsOnlyTheRow();
    void otherFilesRefused_data();
    void otherFilesRefused();
    void unwritableRecordsRefused_data();
    void unwritableRecordsRefused();
    void checkMakesAMissingRecordEmpty_data();
    void checkMakesAMissingRecordEmpty();
    void lockOfAKilledHolderIsLetGo();
    void lockHeldTooLongRefused();
    void queuedRowsWaitForTheLock_data();
    void queuedRowsWaitForTheLock();
    void recordReplacedMeanwhileGetsTheRow();
    void fullDiskLeavesTheRecordAsItWas();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

void TestBatchRecord::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestBatchRecord::concurrentWritersKeepEveryRow_data()
{
    QTest::addColumn<int>("writers");
    QTest::addColumn<int>("rows");          // each
    QTest::addColumn<QByteArray>("before"); // null: no file
    QTest::newRow("two writers, new file") << 2 << 60 << QByteArray();
    QTest::newRow("eight writers, new file") << 8 << 15 << QByteArray();
    QTest::newRow("twelve writers, new file") << 12 << 10 << QByteArray();
    QTest::newRow("twelve writers, empty file") << 12 << 10 << QByteArray("");
    QTest::newRow("four writers, a record") << 4 << 25 << QByteArray(header() + '\n' + oldRow());
}

void TestBatchRecord::concurrentWritersKeepEveryRow()
{
    QFETCH(int, writers);
    QFETCH(int, rows);
    QFETCH(QByteArray, before);
    const QString tag = QTest::currentDataTag();
    const QString record = path(tag + ".csv");
    const QString go = path(tag + ".go");
    if (!before.isNull())
        QVERIFY(TestFiles::write(record, before));
    std::vector<std::unique_ptr<QProcess>> started;
    for (int w = 0; w < writers; ++w) {
        started.push_back(startMode(
            {kAppendMode, record, QString::number(rows), QStringLiteral("port-%1").arg(w), go}));
        QVERIFY2(waitForLine(started.back().get(), "ready"),
                 qPrintable(started.back()->readAllStandardError()));
    }
    QVERIFY(TestFiles::write(go, "go"));
    for (auto &writer : started) {
        QVERIFY(writer->waitForFinished(60000));
        QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                 writer->readAllStandardError().constData());
    }

    const QByteArray bytes = TestFiles::read(record);
    QVERIFY(bytes.endsWith('\n'));
    if (!before.isEmpty())
        QVERIFY(bytes.startsWith(QByteArray(before + '\n')));
    const QList<QByteArray> lines = bytes.split('\n').mid(0, bytes.count('\n'));
    const int kept = before.isEmpty() ? 0 : 1;
    QCOMPARE(lines.size(), 1 + kept + writers * rows);
    QCOMPARE(lines.first(), header());
    QCOMPARE(lines.count(header()), 1);
    // Every row of every writer, whole, once.
    const QList<QStringList> table = readCsv(record).mid(1 + kept);
    QCOMPARE(table.size(), writers * rows);
    QMap<QString, QSet<QString>> numbers;
    for (const QStringList &row : table) {
        QCOMPARE(row.size(), 9);
        QCOMPARE(row.at(3), QStringLiteral("line.cpro"));
        QCOMPARE(row.at(8), QStringLiteral("off"));
        numbers[row.at(1)].insert(row.at(2));
    }
    QCOMPARE(numbers.size(), writers);
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it)
        QVERIFY2(it.value().size() == rows, qPrintable(it.key()));
}

void TestBatchRecord::appendAddsOnlyTheRow_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("between"); // what comes before the row
    const QByteArray bom("\xEF\xBB\xBF");
    // Bytes that are no text, far beyond the first line: never read, kept.
    QByteArray tail;
    for (int i = 0; i < 200000; ++i)
        tail += char((i * 7) & 0xFF) == '\n' ? ' ' : char((i * 7) & 0xFF);
    QTest::newRow("empty file") << QByteArray("") << QByteArray(header() + '\n');
    QTest::newRow("the header alone") << QByteArray(header() + '\n') << QByteArray();
    QTest::newRow("the header without its line end") << header() << QByteArray("\n");
    QTest::newRow("a spreadsheet's header, CR LF")
        << QByteArray(bom + header() + "\r\n" + oldRow() + "\r\n") << QByteArray();
    QTest::newRow("rows, the last without its line end")
        << QByteArray(header() + '\n' + oldRow()) << QByteArray("\n");
    QTest::newRow("a long record of other bytes")
        << QByteArray(header() + '\n' + tail + '\n') << QByteArray();
}

void TestBatchRecord::appendAddsOnlyTheRow()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, between);
    const QString record = path(QString(QTest::currentDataTag()) + ".csv");
    const QString link = record + ".hardlink";
    QVERIFY(TestFiles::write(record, before));
    if (!TestPlatform::hardLink(record, link))
        QSKIP("no hard links here");
    const quint64 inode = inodeOf(record);
    const BatchRecord writer(record, QStringLiteral("a,b.cpro"), QByteArray(10, '\1'));
    QString error;
    QVERIFY2(writer.check(&error), qPrintable(error));
    QCOMPARE(TestFiles::read(record), before); // check writes nothing
    const BatchPortResult result = resultOf(QStringLiteral("/dev/ttyUSB0"), 7);
    QVERIFY2(writer.append(result, &error), qPrintable(error));
    const QByteArray after = TestFiles::read(record);
    // The row alone was added, to the same file (a hard link sees it too).
    QVERIFY(after.startsWith(QByteArray(before + between)));
    const QByteArray added = after.mid(before.size() + between.size());
    QVERIFY2(added.endsWith('\n') && added.count('\n') == 1, added.constData());
    QVERIFY(added.contains(",\"a,b.cpro\",10,"));
    QVERIFY(added.contains(",7,"));
    QCOMPARE(inodeOf(record), inode);
    QCOMPARE(TestFiles::read(link), after);
}

void TestBatchRecord::otherFilesRefused_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("another CSV file") << QByteArray("a,b,c\n1,2,3\n");
    QTest::newRow("the header and more on its line") << QByteArray(header() + ",extra\n");
    QTest::newRow("the header and more, no line end") << QByteArray(header() + "x");
    QTest::newRow("the header cut short") << header().left(header().size() - 1);
    QTest::newRow("an empty first line") << QByteArray("\n" + header() + '\n');
    QTest::newRow("a long first line") << QByteArray(5000, 'a');
}

void TestBatchRecord::otherFilesRefused()
{
    QFETCH(QByteArray, before);
    const QString record = path(QString(QTest::currentDataTag()) + ".csv");
    QVERIFY(TestFiles::write(record, before));
    const BatchRecord writer(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    QString error;
    QVERIFY(!writer.check(&error));
    QVERIFY2(error.contains(record) && error.contains(BatchRecord::header()), qPrintable(error));
    error.clear();
    QVERIFY(!writer.append(resultOf(QStringLiteral("COM1"), 1), &error));
    QVERIFY2(error.contains(record), qPrintable(error));
    QCOMPARE(TestFiles::read(record), before);
}

void TestBatchRecord::unwritableRecordsRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("mention"); // in the message besides the name
    // What root cannot write either.
    QTest::newRow("a path through a regular file") << "through-file"
                                                   << "";
    QTest::newRow("a link into a missing folder") << "dangling"
                                                  << "";
    QTest::newRow("in a missing folder") << "missing-folder"
                                         << "不存在";
    QTest::newRow("a folder") << "folder"
                              << "文件夹";
    QTest::newRow("a device") << "device"
                              << "设备";
    QTest::newRow("a link to a device") << "device-link"
                                        << "设备";
    QTest::newRow("a named pipe") << "fifo"
                                  << "FIFO";
    QTest::newRow("an immutable record") << "immutable"
                                         << "";
    QTest::newRow("a record on a read-only mount") << "read-only"
                                                   << "";
    QTest::newRow("a new record on a read-only mount") << "read-only-new"
                                                       << "";
}

void TestBatchRecord::unwritableRecordsRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, mention);
    const QString base = path(setup);
    QDir().mkpath(base);
    QString record;
    QByteArray before = header() + '\n';
    std::unique_ptr<SmallTmpfs> mount;
    bool immutable = false;
    if (setup == "through-file") {
        QVERIFY(TestFiles::write(base + "/file.txt", "text"));
        record = base + "/file.txt/record.csv";
        before.clear();
    } else if (setup == "dangling") {
        record = base + "/record.csv";
        QVERIFY(QFile::link(base + "/missing/record.csv", record));
        before.clear();
    } else if (setup == "missing-folder") {
        record = base + "/missing/record.csv";
        before.clear();
    } else if (setup == "folder") {
        record = base;
        before.clear();
    } else if (setup == "device") {
        record = QStringLiteral("/dev/null");
        before.clear();
    } else if (setup == "device-link") {
        record = base + "/record.csv";
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), record));
        before.clear();
    } else if (setup == "fifo") {
        record = base + "/record.csv";
        if (!TestPlatform::makePipe(record))
            QSKIP("no named pipes here");
        before.clear();
    } else if (setup == "immutable") {
        record = base + "/record.csv";
        QVERIFY(TestFiles::write(record, before));
        if (!run(QStringLiteral("chattr"), {QStringLiteral("+i"), record}))
            QSKIP("chattr +i is not possible here");
        immutable = true;
    } else {
        mount = std::make_unique<SmallTmpfs>(64);
        if (!mount->isMounted())
            QSKIP(qPrintable(mount->why()));
        record = mount->filePath(QStringLiteral("record.csv"));
        if (setup == "read-only")
            QVERIFY(TestFiles::write(record, before));
        else
            before.clear();
        QVERIFY(run(QStringLiteral("mount"),
                    {QStringLiteral("-o"), QStringLiteral("remount,ro"), mount->path()}));
    }
    const BatchRecord writer(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    QString error;
    const bool checked = writer.check(&error);
    QString appendError;
    const bool appended = writer.append(resultOf(QStringLiteral("COM1"), 1), &appendError);
    if (immutable)
        run(QStringLiteral("chattr"), {QStringLiteral("-i"), record});
    QVERIFY(!checked);
    QVERIFY2(error.contains(record) && error.contains(mention), qPrintable(error));
    QVERIFY(!appended);
    QVERIFY2(appendError.contains(record), qPrintable(appendError));
    if (!before.isEmpty())
        QCOMPARE(TestFiles::read(record), before);
    else if (setup != "device" && setup != "device-link")
        QVERIFY(!QFileInfo(record).isFile());
    QVERIFY(!QFile::exists(base + "/missing"));
}

void TestBatchRecord::checkMakesAMissingRecordEmpty_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("beside") << "record.csv" << false;
    QTest::newRow("through a link to nothing") << "linked.csv" << true;
}

void TestBatchRecord::checkMakesAMissingRecordEmpty()
{
    QFETCH(QString, name);
    QFETCH(bool, throughLink);
    const QString base = path(QStringLiteral("missing-") + QTest::currentDataTag());
    QVERIFY(QDir().mkpath(base));
    QString record = base + '/' + name;
    QString file = record;
    if (throughLink) {
        file = base + "/target.csv";
        QVERIFY(QFile::link(file, record));
    }
    const BatchRecord writer(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    QString error;
    QVERIFY2(writer.check(&error), qPrintable(error));
    QVERIFY(QFileInfo(file).isFile());
    QCOMPARE(TestFiles::read(file), QByteArray());
    QVERIFY2(writer.check(&error), qPrintable(error)); // empty: still a record to be
    QVERIFY2(writer.append(resultOf(QStringLiteral("COM1"), 1), &error), qPrintable(error));
    QVERIFY2(writer.append(resultOf(QStringLiteral("COM2"), 2), &error), qPrintable(error));
    const QList<QStringList> rows = readCsv(file);
    QCOMPARE(rows.size(), 3);
    QCOMPARE(rows.at(0).join(','), BatchRecord::header());
    QCOMPARE(rows.at(1).value(1), QStringLiteral("COM1"));
    QCOMPARE(rows.at(2).value(1), QStringLiteral("COM2"));
    QCOMPARE(QFileInfo(record).isSymLink(), throughLink);
}

void TestBatchRecord::lockOfAKilledHolderIsLetGo()
{
    const QString record = path(QStringLiteral("held.csv"));
    const QString go = path(QStringLiteral("held.go"));
    QVERIFY(TestFiles::write(record, header() + '\n'));
    QVERIFY(TestFiles::write(go, "go"));
    auto holder = startMode({kHoldMode, record});
    QVERIFY2(waitForLine(holder.get(), "held"), holder->readAllStandardError().constData());
    auto writer = startMode({kAppendMode, record, QStringLiteral("3"), QStringLiteral("COM9"), go});
    QVERIFY(waitForLine(writer.get(), "ready"));
    // The writer waits for the lock...
    QVERIFY(!writer->waitForFinished(700));
    QCOMPARE(TestFiles::read(record), QByteArray(header() + '\n'));
    // ...which goes with the holder, even when it is killed.
    holder->kill();
    QVERIFY(holder->waitForFinished(10000));
    QVERIFY(writer->waitForFinished(20000));
    QCOMPARE(writer->exitCode(), 0);
    QCOMPARE(readCsv(record).size(), 4);
}

void TestBatchRecord::lockHeldTooLongRefused()
{
    const QString record = path(QStringLiteral("stuck.csv"));
    QVERIFY(TestFiles::write(record, header() + '\n'));
    auto holder = startMode({kHoldMode, record});
    QVERIFY2(waitForLine(holder.get(), "held"), holder->readAllStandardError().constData());
    const int saved = AppendFile::lockWaitMs();
    AppendFile::setLockWaitMs(300);
    const BatchRecord writer(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    QString error;
    QElapsedTimer timer;
    timer.start();
    const bool appended = writer.append(resultOf(QStringLiteral("COM1"), 1), &error);
    const qint64 waited = timer.elapsed();
    AppendFile::setLockWaitMs(saved);
    holder->kill();
    holder->waitForFinished(10000);
    QVERIFY(!appended);
    QVERIFY2(error.contains(record) && error.contains(QStringLiteral("锁住")), qPrintable(error));
    QVERIFY2(waited >= 300 && waited < 5000, qPrintable(QString::number(waited)));
    QCOMPARE(TestFiles::read(record), QByteArray(header() + '\n'));
}

void TestBatchRecord::queuedRowsWaitForTheLock_data()
{
    QTest::addColumn<int>("giveUpMs"); // 0: for ever
    QTest::addColumn<bool>("written");
    QTest::newRow("the lock comes free: every row, in order") << 0 << true;
    QTest::newRow("given up: the rows kept") << 300 << false;
}

// Rows of ports that end while another program holds the lock wait in the
// queue: nothing sleeps, the event loop runs on, and no row is lost.
void TestBatchRecord::queuedRowsWaitForTheLock()
{
    QFETCH(int, giveUpMs);
    QFETCH(bool, written);
    const QString record = path(QStringLiteral("queued-%1.csv").arg(giveUpMs));
    QVERIFY(TestFiles::write(record, header() + '\n'));
    auto holder = startMode({kHoldMode, record});
    QVERIFY2(waitForLine(holder.get(), "held"), holder->readAllStandardError().constData());
    const BatchRecord held(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    RecordQueue queue(held);
    queue.setGiveUpMs(giveUpMs);
    QSignalSpy failed(&queue, &RecordQueue::failed);
    QElapsedTimer timer;
    timer.start();
    // Its first line is read without the lock: a record, ready at once.
    QString error;
    QVERIFY2(held.check(&error), qPrintable(error));
    for (int port = 1; port <= 3; ++port)
        queue.add(resultOf(QStringLiteral("COM%1").arg(port), port));
    QVERIFY(timer.elapsed() < 200); // added at once, whoever holds the lock
    QCOMPARE(queue.waitingRows().size(), 3);
    QVERIFY(queue.isWaitingForLock());
    QTest::qWait(500);
    QCOMPARE(TestFiles::read(record), QByteArray(header() + '\n'));
    QCOMPARE(failed.size(), written ? 0 : 1);
    holder->kill();
    holder->waitForFinished(10000);
    if (!written) {
        QVERIFY(queue.error().contains(record));
        QVERIFY(!queue.isWaitingForLock());
        QCOMPARE(queue.waitingRows().size(), 3);
        QTest::qWait(200);
        QCOMPARE(TestFiles::read(record), QByteArray(header() + '\n'));
        queue.flush(); // asked again: the lock is free now
    }
    QTRY_VERIFY(queue.isEmpty());
    const QList<QByteArray> lines = TestFiles::read(record).split('\n');
    QCOMPARE(lines.size(), 5); // the header, three rows, the end
    for (int port = 1; port <= 3; ++port)
        QVERIFY(lines.at(port).contains(QByteArray(",COM" + QByteArray::number(port) + ",")));
}

void TestBatchRecord::recordReplacedMeanwhileGetsTheRow()
{
    // Saved again by another program (a new file renamed over it) while a
    // writer waits for the lock: the row goes to the file of that name.
    const QString record = path(QStringLiteral("replaced.csv"));
    const QString go = path(QStringLiteral("replaced.go"));
    QVERIFY(TestFiles::write(record, header() + '\n' + oldRow() + '\n'));
    QVERIFY(TestFiles::write(go, "go"));
    auto holder = startMode({kHoldMode, record});
    QVERIFY2(waitForLine(holder.get(), "held"), holder->readAllStandardError().constData());
    auto writer = startMode({kAppendMode, record, QStringLiteral("1"), QStringLiteral("COM5"), go});
    QVERIFY(waitForLine(writer.get(), "ready"));
    QVERIFY(!writer->waitForFinished(500));
    const QString saved = path(QStringLiteral("replaced.new"));
    QVERIFY(TestFiles::write(saved, header() + '\n'));
    QVERIFY(std::rename(QFile::encodeName(saved).constData(),
                        QFile::encodeName(record).constData()) == 0);
    holder->kill();
    QVERIFY(holder->waitForFinished(10000));
    QVERIFY(writer->waitForFinished(20000));
    QCOMPARE(writer->exitCode(), 0);
    const QList<QStringList> rows = readCsv(record);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).value(1), QStringLiteral("COM5"));
}

void TestBatchRecord::fullDiskLeavesTheRecordAsItWas()
{
    SmallTmpfs disk(8); // two pages
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    // The record nearly fills the first page, another file the second: the
    // row starts in the record's page and cannot go on.
    QByteArray before = header() + '\n';
    while (before.size() + oldRow().size() + 1 < 4090)
        before += oldRow() + '\n';
    const QString record = disk.filePath(QStringLiteral("record.csv"));
    QVERIFY(TestFiles::write(record, before));
    TestFiles::write(disk.filePath(QStringLiteral("filler")), QByteArray(16384, 'f'));
    const BatchRecord writer(record, QStringLiteral("p.cpro"), QByteArray(4, '\0'));
    QString error;
    QVERIFY(!writer.append(resultOf(QStringLiteral("COM1"), 1), &error));
    QVERIFY2(error.contains(record), qPrintable(error));
    QCOMPARE(TestFiles::read(record), before);
}

int main(int argc, char *argv[])
{
    if (argc == 6 && qstrcmp(argv[1], kAppendMode) == 0)
        return appendRows(argv);
    if (argc == 3 && qstrcmp(argv[1], kHoldMode) == 0)
        return holdLock(argv);
    QCoreApplication app(argc, argv);
    TestBatchRecord test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_batchrecord.moc"
