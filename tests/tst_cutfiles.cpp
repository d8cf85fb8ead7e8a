// mirel-cli reads a project as the window does: a file this program wrote
// that has lost part of itself is refused, naming the file and the section
// that falls short; a file without the mark is read as it always was.

#include "cutfiles.h"
#include "projectfile.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestCutFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void tableRefusesACutFile_data();
    void tableRefusesACutFile();
};

void TestCutFiles::initTestCase()
{
    QVERIFY(QFile::exists(TestFiles::inBinDir(QStringLiteral("mirel-cli"))));
}

void TestCutFiles::tableRefusesACutFile_data()
{
    QTest::addColumn<QString>("chip");
    // The cut falls inside it; empty: not cut; "last value": inside the
    // file's last value, which still reads as a value (5008 cut to 50).
    QTest::addColumn<QString>("section");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<int>("exitCode");
    for (const QString chip : {"STM32F103RE", "STM32F407ZG"}) {
        const auto row = [&](const char *what) -> QTestData & {
            return QTest::newRow(qPrintable(chip + QStringLiteral(", ") + what));
        };
        row("whole") << chip << QString() << true << 0;
        row("cut inside [SPI1]") << chip << "SPI1" << true << 1;
        row("cut inside [USART2]") << chip << "USART2" << true << 1;
        row("cut inside [DESC]") << chip << "DESC" << true << 1;
        row("cut inside [DI]") << chip << "DI" << true << 1;
        row("cut inside its last value") << chip << "last value" << true << 1;
        // Without the mark the sections after the cut read as empty, as for
        // any file written by hand or by another program.
        row("cut inside [SPI1], no mark") << chip << "SPI1" << false << 0;
        row("cut inside [USART2], no mark") << chip << "USART2" << false << 0;
        row("cut inside its last value, no mark") << chip << "last value" << false << 0;
    }
}

void TestCutFiles::tableRefusesACutFile()
{
    QFETCH(QString, chip);
    QFETCH(QString, section);
    QFETCH(bool, marked);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    const QString whole = dir.filePath("whole.cpro");
    QString error;
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured(chip), whole, &error),
             qPrintable(error));
    QByteArray bytes = TestFiles::read(whole);
    if (section == QLatin1String("last value")) {
        bytes.chop(1); // the line end, and the value's last character if any
        if (!bytes.endsWith('='))
            bytes.chop(1);
        const int header = bytes.lastIndexOf("\n[") + 2;
        section = QString::fromUtf8(bytes.mid(header, bytes.indexOf(']', header) - header));
    } else if (!section.isEmpty()) {
        bytes = CutFiles::cutInside(bytes, section);
    }
    if (!marked)
        bytes = CutFiles::withoutKey(bytes, "CHIP", ProjectFile::markKey());
    QVERIFY(!bytes.isEmpty());
    const QString project = dir.filePath("project.cpro");
    const QString table = dir.filePath("table.bin");
    QVERIFY(TestFiles::write(project, bytes));

    QProcess cli;
    cli.start(TestFiles::inBinDir(QStringLiteral("mirel-cli")), {"table", project, "-o", table});
    QVERIFY(cli.waitForFinished(60000));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QVERIFY2(cli.exitCode() == exitCode, qPrintable(err));
    QCOMPARE(QFile::exists(table), exitCode == 0);
    if (exitCode != 0) {
        QVERIFY2(err.contains(project) && err.contains('[' + section + ']'), qPrintable(err));
        QCOMPARE(err.count('\n'), 1);
    }
}

QTEST_GUILESS_MAIN(TestCutFiles)
#include "tst_cutfiles.moc"
