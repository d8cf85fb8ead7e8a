// mirel-cli pins, report and diff on saved projects and tables, and upload
// --compare against the stand-in controller.

#include "configtable.h"
#include "projectfile.h"
#include "simprocess.h"
#include "tablefixtures.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString F103 = QStringLiteral("STM32F103RE");
const QString F407 = QStringLiteral("STM32F407ZG");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The F407 project with one pin and one option changed, its tables following
// the drawing as a save leaves them: PB1 from ADC to Normal_DI, USART2 from
// 115200 to 9600 bits/s.
ProjectData changedProject()
{
    using D = CPinDescriptions;
    ProjectData project = TableFixtures::fullyConfigured(F407);
    TableFixtures::setFunction(project, "PB1", "Normal_DI");
    project.aiInformation.clear();
    project.diInformation +=
        TableFixtures::row(D::DlgDI, 3, {"PB1", "1", "3", "0", "0", "0", "0", "0"});
    project.usartInformation[1][5] = "4";
    return project;
}

} // namespace

class TestCliPinout : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void pinsListEveryPin_data();
    void pinsListEveryPin();
    void reportHoldsEverySection_data();
    void reportHoldsEverySection();
    void diffNamesTheChanges_data();
    void diffNamesTheChanges();
    void uploadComparesWithAProject_data();
    void uploadComparesWithAProject();

private:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestCliPinout::initTestCase()
{
    QVERIFY(dir.isValid());
    QString error;
    for (const QString &chip : {F103, F407})
        QVERIFY2(
            ProjectFile::write(TableFixtures::fullyConfigured(chip), path(chip + ".cpro"), &error),
            qPrintable(error));
    QVERIFY(ProjectFile::write(ProjectData::fresh(F103, false), path("empty.cpro"), &error));
    QVERIFY(ProjectFile::write(changedProject(), path("changed.cpro"), &error));
    // A function no table carries: the same table as the full project.
    ProjectData drawn = TableFixtures::fullyConfigured(F407);
    TableFixtures::setFunction(drawn, "PA12", "CAN1_TX");
    QVERIFY(ProjectFile::write(drawn, path("drawn.cpro"), &error));
    // Both DI rows on the chip selects PC1 and PC0.
    ProjectData shared = TableFixtures::fullyConfigured(F407);
    shared.diInformation = TableFixtures::row(CPinDescriptions::DlgDI, 1,
                                              {"PA0", "1", "1", "1", "0", "0", "PC1", "PC0"}) +
                           shared.diInformation.mid(16);
    QVERIFY(ProjectFile::write(shared, path("shared.cpro"), &error));
    // Two DO rows on the same terminals.
    ProjectData overlap = TableFixtures::saved(F103);
    QVERIFY(TableFixtures::setValue(overlap.doInformation, "2Index", "17"));
    QVERIFY(ProjectFile::write(overlap, path("overlap.cpro"), &error));
    QVERIFY(
        ConfigTable::writeTableFile(TableFixtures::fullyConfigured(F407), path("407.bin"), &error));
    QVERIFY(runCli({"table", path(F407 + ".cpro"), "-o", path("407.raw"), "--raw"}).exitCode == 0);
}

void TestCliPinout::pinsListEveryPin_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("STM32F103RE text") << F103 + ".cpro" << QStringList() << "pins-STM32F103RE.txt";
    QTest::newRow("STM32F407ZG text") << F407 + ".cpro" << QStringList() << "pins-STM32F407ZG.txt";
    QTest::newRow("STM32F407ZG CSV, chip selects of two rows")
        << "shared.cpro" << QStringList{"--csv"} << "pins-STM32F407ZG.csv";
    QTest::newRow("STM32F103RE JSON")
        << F103 + ".cpro" << QStringList{"--json"} << "pins-STM32F103RE.json";
}

void TestCliPinout::pinsListEveryPin()
{
    QFETCH(QString, project);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const CliResult r = runCli(QStringList{"pins", path(project)} + options);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QString stored = QString::fromUtf8(
        contents(QStringLiteral(MIREL_SOURCE_DIR "/tests/data/pinout/") + expected));
    QVERIFY(!stored.isEmpty());
    QCOMPARE(r.out, stored);
}

void TestCliPinout::reportHoldsEverySection_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    // On A4 with the fonts the setup installs: the drawing, then the tables.
    QTest::newRow("empty project, PDF")
        << QStringList{"empty.cpro", "-o", "empty.pdf"} << 3 << QStringList() << QStringList();
    QTest::newRow("STM32F407ZG, PDF")
        << QStringList{F407 + ".cpro", "-o", "407.pdf"} << 9 << QStringList() << QStringList();
    QTest::newRow("STM32F407ZG, HTML") << QStringList{F407 + ".cpro", "-o", "407.html"} << 0
                                       << QStringList{"<svg",
                                                      ">34:PA0<",
                                                      "芯片: STM32F407ZG",
                                                      "引脚表",
                                                      "片选脚第0位 (PA1)",
                                                      "DI — 数字量输入",
                                                      "下拉输入",
                                                      "EXIT — 外部中断",
                                                      "双边沿触发",
                                                      "USART2",
                                                      "115200bits/s",
                                                      "USART1 无线模块",
                                                      "10.0.3.203",
                                                      "SPI1 以太网",
                                                      "使用下面的IP地址",
                                                      "192.168.0.10",
                                                      "SPI3",
                                                      "SYS — 系统特殊引脚配置",
                                                      "工程没有问题"}
                                       << QStringList{"USART1 无线模块 — 无线模块", "未使用的表"};
    // Its problems as the window lists them.
    QTest::newRow("terminals overlapping, HTML")
        << QStringList{"overlap.cpro", "-o", "overlap.html"} << 0
        << QStringList{"警告", "DO 第2行 Y起始端子", "与第1行的端子重叠"}
        << QStringList{"工程没有问题", "错误"};
    QTest::newRow("STM32F103RE, HTML in English")
        << QStringList{F103 + ".cpro", "-o", "103.html", "--lang", "en"} << 0
        << QStringList{"Digital input", "Pull-up input", "Baud rate", "9600bits/s", "USART6"}
        << QStringList{"上拉输入", "USART6 无线模块"};
}

void TestCliPinout::reportHoldsEverySection()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, pages);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    arguments[0] = path(arguments.at(0));
    arguments[2] = path(arguments.at(2));
    const CliResult r = runCli(QStringList{"report"} + arguments);
    QVERIFY2(r.exitCode == 0, qPrintable(r.err));
    const QByteArray written = contents(arguments.at(2));
    if (pages > 0) {
        QVERIFY(written.startsWith("%PDF-"));
        const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
        QCOMPARE(int(QString::fromLatin1(written.constData(), written.size()).count(page)), pages);
    }
    const QString html = QString::fromUtf8(written);
    for (const QString &text : present)
        QVERIFY2(html.contains(text), qPrintable(text));
    for (const QString &text : absent)
        QVERIFY2(!html.contains(text), qPrintable(text));
}

void TestCliPinout::diffNamesTheChanges_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::newRow("a project and its table file")
        << QStringList{F407 + ".cpro", "407.bin"} << QStringList() << 0 << QString();
    QTest::newRow("the transfer form and the project")
        << QStringList{"407.raw", F407 + ".cpro"} << QStringList() << 0 << QString();
    QTest::newRow("projects that write the same table")
        << QStringList{F407 + ".cpro", "drawn.cpro"} << QStringList() << 0 << QString();
    QTest::newRow("two tables") << QStringList{"407.raw", "407.bin"} << QStringList{"--chip", F407}
                                << 0 << QString();
    QTest::newRow("one pin and one option")
        << QStringList{F407 + ".cpro", "changed.cpro"} << QStringList() << 1
        << "PB1: ADC → Normal_DI\n"
           "DI PB1: 新增此行 (输入模式 上拉输入, X起始端子 3, 片选脚使能位 关, 片选脚第3位 无, "
           "片选脚第2位 无, 片选脚第1位 无, 片选脚第0位 无)\n"
           "AI PB1: 删除此行\n"
           "USART2 波特率: 115200bits/s → 9600bits/s\n";
    QTest::newRow("two chips") << QStringList{F103 + ".cpro", F407 + ".cpro"} << QStringList() << 1
                               << "芯片: STM32F103RE → STM32F407ZG\n";
    QTest::newRow("a table without its chip")
        << QStringList{"407.raw", "407.bin"} << QStringList() << 2 << QString();
    QTest::newRow("a missing file")
        << QStringList{F407 + ".cpro", "none.cpro"} << QStringList() << 2 << QString();
}

void TestCliPinout::diffNamesTheChanges()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    const CliResult r = runCli(QStringList{"diff", path(files.at(0)), path(files.at(1))} + options);
    QCOMPARE(r.exitCode, exitCode);
    QCOMPARE(r.out, out);
    QCOMPARE(r.err.isEmpty(), exitCode < 2);
}

void TestCliPinout::uploadComparesWithAProject_data()
{
    QTest::addColumn<QString>("project");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("verdict");
    QTest::newRow("what the project writes")
        << F407 + ".cpro" << 0 << "控制器中的配置与 STM32F407ZG.cpro 相同\n";
    QTest::newRow("another project")
        << "changed.cpro" << 1
        << "控制器中的配置与 changed.cpro 有 4 处不同：\n"
           "PB1: Normal_DI → ADC\n"
           "DI PB1: 删除此行\n"
           "AI PB1: 新增此行 (XA起始端子 1, 片选脚使能位 关, 片选脚第3位 无, 片选脚第2位 无, "
           "片选脚第1位 无, 片选脚第0位 无)\n"
           "USART2 波特率: 9600bits/s → 115200bits/s\n";
    // Not 1: that would say the controller differs.
    QTest::newRow("no controller on the port") << F407 + ".cpro" << 2 << QString();
}

void TestCliPinout::uploadComparesWithAProject()
{
    QFETCH(QString, project);
    QFETCH(int, exitCode);
    QFETCH(QString, verdict);
    SimProcess sim({"--table", path("407.bin")});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    const QString port = verdict.isEmpty() ? QStringLiteral("/nonexistent/tty") : sim.device();
    const CliResult r = runCli({"upload", "--port", port, "--chip", F407, "--compare",
                                path(project), "--timeout-ms", "300"});
    QCOMPARE(r.exitCode, exitCode);
    if (verdict.isEmpty())
        return;
    const int at = int(r.out.indexOf(QStringLiteral("控制器中的配置")));
    QVERIFY2(at >= 0, qPrintable(r.out + r.err));
    QCOMPARE(r.out.mid(at), verdict);
}

QTEST_GUILESS_MAIN(TestCliPinout)
#include "tst_cli_pinout.moc"
