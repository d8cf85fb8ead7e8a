#include "atomicfile.h"
#include "inifile.h"
#include "platform.h"
#include "projectfile.h"
#include "settingshelpers.h"
#include "smalltmpfs.h"
#include "tablefixtures.h"
#include "testplatform.h"

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

namespace {

enum Writer
{
    Bytes,
    Ini,
    Project
};

const QByteArray kPayload(16 * 1024, 'n');

// About twelve kilobytes: more than the small disk holds, less than Qt's
// write buffer, so that only the flush meets the full disk.
void writeLargeSection(QSettings *settings)
{
    for (int i = 0; i < 300; ++i)
        writeValue(settings, QStringLiteral("LARGE"), QString::number(i), QString(32, 'v'));
}

bool writeWith(int writer, const QString &path, QString *error)
{
    switch (writer) {
    case Bytes:
        return AtomicFile::write(path, kPayload, error);
    case Ini:
        return IniFile::update(path, writeLargeSection, error);
    default:
        return ProjectFile::write(TableFixtures::fullyConfigured(QStringLiteral("STM32F407ZG")),
                                  path, error);
    }
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Every file and folder below path, relative to it.
QStringList entriesBelow(const QString &path)
{
    QStringList entries;
    QDirIterator it(path, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(path).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT
private slots:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void linkWritesItsTarget_data();
    void linkWritesItsTarget();
    void folderOrDeviceIsRefused_data();
    void folderOrDeviceIsRefused();
    void scratchOfAKilledWriterGoes();
};

void TestAtomicFile::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<int>("writer");
    // Where IniFile makes its temporary folder; the file written is then on
    // a roomy disk.
    QTest::addColumn<bool>("scratchOnFullDisk");
    QTest::newRow("bytes") << int(Bytes) << false;
    QTest::newRow("ini") << int(Ini) << false;
    QTest::newRow("ini, its temporary copy cut short") << int(Ini) << true;
    QTest::newRow("project") << int(Project) << false;
}

void TestAtomicFile::fullDiskKeepsTheOldFile()
{
    QFETCH(int, writer);
    QFETCH(bool, scratchOnFullDisk);
    // Two pages. The old file takes one and leaves 4096 bytes for a new one.
    // As a scratch disk: the copy of the old file takes one and the lock file
    // of QSettings the other; QSettings reports no error for its cut file.
    // (/dev/full cannot stand in without root: the writers never write into
    // an existing device, they replace a file.)
    SmallTmpfs disk(8);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    QTemporaryDir roomy;
    const QString target =
        (scratchOnFullDisk ? roomy.path() : disk.path()) + QStringLiteral("/old.ini");
    const QByteArray old = "[OLD]\nkey=kept\n";
    QVERIFY(writePlain(target, old));
    const QString tempRoot =
        (scratchOnFullDisk ? disk.path() : roomy.path()) + QStringLiteral("/tmp");
    QVERIFY(QDir().mkpath(tempRoot));

    const QByteArray tmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tempRoot));
    QString error;
    const bool written = writeWith(writer, target, &error);
    if (tmpDir.isNull())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", tmpDir);

    QVERIFY(!written);
    QVERIFY2(error.contains(target), qPrintable(error));
    if (!scratchOnFullDisk)
        QVERIFY2(error.contains(qt_error_string(ENOSPC)), qPrintable(error));
    QCOMPARE(contents(target), old);
    // No temporary file or folder is left on either disk.
    QStringList left = entriesBelow(disk.path()) + entriesBelow(roomy.path());
    left.sort();
    QCOMPARE(left, (QStringList{"old.ini", "tmp"}));
}

void TestAtomicFile::linkWritesItsTarget_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<bool>("targetExists");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("bytes, to a file") << int(Bytes) << true << kPayload;
    QTest::newRow("bytes, to no file yet") << int(Bytes) << false << kPayload;
    QTest::newRow("project, to a file") << int(Project) << true << QByteArray("[CHIP]");
}

void TestAtomicFile::linkWritesItsTarget()
{
    QFETCH(int, writer);
    QFETCH(bool, targetExists);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("link"));
    const QString target = dir.filePath(QStringLiteral("target"));
    if (targetExists)
        QVERIFY(writePlain(target, "[OLD]\nkey=kept\n"));
    QVERIFY(QFile::link(QStringLiteral("target"), link));

    QString error;
    QVERIFY2(writeWith(writer, link, &error), qPrintable(error));
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(contents(target).contains(written));
    QCOMPARE(entriesBelow(dir.path()), (QStringList{"link", "target"}));
}

void TestAtomicFile::folderOrDeviceIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("a folder") << "folder"
                              << "是文件夹";
    QTest::newRow("a pipe") << "pipe"
                            << "是命名管道（FIFO）";
    QTest::newRow("a device") << "device"
                              << "是设备";
}

// Neither written nor read, and the message says what is there; a pipe is
// not waited on.
void TestAtomicFile::folderOrDeviceIsRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("there"));
    QVERIFY(kind == "pipe"     ? TestPlatform::makePipe(path)
            : kind == "device" ? QFile::link(QStringLiteral("/dev/null"), path)
                               : QDir().mkpath(path + QStringLiteral("/inside")));
    const QStringList before = entriesBelow(dir.path());

    QString error;
    QVERIFY(!AtomicFile::write(path, kPayload, &error));
    QVERIFY2(error.contains(path + " " + says), qPrintable(error));
    QVERIFY(!ProjectFile::write(TableFixtures::fullyConfigured("STM32F103RE"), path, &error));
    QVERIFY2(error.contains(path + " " + says), qPrintable(error));
    ProjectData project;
    QVERIFY(!ProjectFile::read(path, &project, &error));
    QVERIFY2(error.contains(path + " " + says), qPrintable(error));
    QVERIFY(!QFileInfo(path).isFile());
    QCOMPARE(entriesBelow(dir.path()), before);
}

// An INI writer killed while it saves leaves its scratch folder behind; the
// next write removes it, but never the folder of a process that still runs.
void TestAtomicFile::scratchOfAKilledWriterGoes()
{
    if (QByteArray(Platform::name()) == "portable")
        QSKIP("the portable build cannot tell here that a program has ended: the scratch stays");
    QProcess gone, running;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0")});
    running.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    QVERIFY(gone.waitForStarted() && running.waitForStarted());
    const qint64 gonePid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QTemporaryDir temp;
    const QStringList left{QStringLiteral("mirel-ini-%1-Ab1234").arg(gonePid),
                           QStringLiteral("mirel-ini-%1-Cd5678").arg(running.processId())};
    for (const QString &folder : left)
        QVERIFY(QDir(temp.path()).mkpath(folder) &&
                writePlain(temp.filePath(folder + "/draft.ini"), "[A]\nk=1\n"));

    const QByteArray tmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    QString error;
    const bool written = writeWith(Ini, temp.filePath(QStringLiteral("s.ini")), &error);
    tmpDir.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpDir);
    running.kill();
    running.waitForFinished();
    QVERIFY2(written, qPrintable(error));
    QCOMPARE(entriesBelow(temp.path()),
             (QStringList{left.at(1), left.at(1) + "/draft.ini", QStringLiteral("s.ini")}));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
