#include "chipfacts.h"
#include "configtable.h"
#include "projectcheck.h"
#include "projectdiff.h"
#include "tablefixtures.h"

#include <QtTest>

using D = CPinDescriptions;
using Comparison = ProjectDiff::ControllerComparison;
using TableFixtures::saved;
using TableFixtures::setValue;

Q_DECLARE_METATYPE(ProjectData)

namespace {

const QString F103 = ChipFacts::F103;
const QString F407 = ChipFacts::F407;

QByteArray tableOf(const ProjectData &project)
{
    QByteArray table;
    if (!ConfigTable::buildConfigurationTable(project, &table))
        qFatal("no table");
    return table;
}

// A difference as the rows give it: kind, table window, table, row and its
// name, column and its header, pin, the project's value, the controller's.
QString said(const ProjectDifference &d)
{
    const char *kinds[] = {"chip", "ram", "pin", "cell", "added", "removed"};
    return QStringList{kinds[d.kind],  QString::number(int(d.table)),
                       d.tableName,    QString::number(d.row),
                       d.rowName,      QString::number(d.column),
                       d.field,        d.pin,
                       d.projectValue, d.controllerValue}
        .join(QLatin1Char('|'));
}

} // namespace

// What `diff` and `upload --compare` say of two configurations.
class TestProjectDiff : public QObject
{
    Q_OBJECT
private slots:
    void externalRamIsNamedAsItIs_data();
    void externalRamIsNamedAsItIs();
    void controllerTableAgainstProject_data();
    void controllerTableAgainstProject();
};

void TestProjectDiff::externalRamIsNamedAsItIs_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");
    QTest::addColumn<QStringList>("said"); // the lines about the external RAM
    QTest::newRow("switched on") << false << true << QStringList{"外部RAM: 关 → 开"};
    QTest::newRow("switched off") << true << false << QStringList{"外部RAM: 开 → 关"};
    QTest::newRow("on both") << true << true << QStringList();
    QTest::newRow("off both") << false << false << QStringList();
}

void TestProjectDiff::externalRamIsNamedAsItIs()
{
    QFETCH(bool, before);
    QFETCH(bool, after);
    QFETCH(QStringList, said);
    const auto held = [](bool ram) {
        ProjectData project = ProjectData::fresh(ChipFacts::F407, ram);
        TableFixtures::setFunction(project, "PA0", "Normal_DI");
        ProjectData form;
        QString error;
        if (!ProjectDiff::controllerForm(project, &form, &error))
            qFatal("%s", qPrintable(error));
        return form;
    };
    const QStringList lines =
        ProjectDiff::differences(held(before), held(after), CDlgDescription());
    QCOMPARE(lines.filter(QStringLiteral("外部RAM")), said);
}

void TestProjectDiff::controllerTableAgainstProject_data()
{
    QTest::addColumn<ProjectData>("project");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("differences");
    using Edit = std::function<void(ProjectData &)>;
    const auto row = [](const char *name, const QString &chip, const Edit &edit, int outcome,
                        const QStringList &differences) {
        ProjectData controller = saved(chip);
        edit(controller);
        QTest::newRow(name) << saved(chip) << tableOf(controller) << outcome << differences;
    };
    row("equal", F407, [](ProjectData &) {}, Comparison::Equal, {});
    row("pin function and rows", F407,
        [](ProjectData &p) {
            TableFixtures::setFunction(p, "PB1", "Normal_DI");
            p.aiInformation.clear();
            p.diInformation +=
                TableFixtures::row(D::DlgDI, 3, {"PB1", "1", "3", "0", "0", "0", "0", "0"});
        },
        Comparison::Differs,
        {"pin|0||0||-1||PB1|ADC|Normal_DI",
         "added|1|DI|0|PB1|-1||PB1||输入模式 上拉输入, X起始端子 3, 片选脚使能位 关, 片选脚第3位 "
         "无, "
         "片选脚第2位 无, 片选脚第1位 无, 片选脚第0位 无",
         "removed|3|AI|1|PB1|-1||PB1|XA起始端子 1, 片选脚使能位 关, 片选脚第3位 无, 片选脚第2位 "
         "无, 片选脚第1位 无, 片选脚第0位 无|"});
    row("row value", F407, [](ProjectData &p) { setValue(p.doInformation, "1Mode", "1"); },
        Comparison::Differs, {"cell|2|DO|1|PB0|1|输出模式|PB0|推挽输出|开漏输出"});
    row("chip select", F407,
        [](ProjectData &p) { setValue(p.diInformation, "2SliceSelectPin_0Bit", "PF9"); },
        Comparison::Differs,
        {"pin|0||0||-1||PF9|无|DI_CS1", "pin|0||0||-1||PC0|DI_CS1|无",
         "cell|1|DI|2|PA1|7|片选脚第0位|PA1|PC0|PF9"});
    row("port setting", F407, [](ProjectData &p) { setValue(p.usartInformation[1], "Baud", "4"); },
        Comparison::Differs, {"cell|7|USART2|3|波特率|1|||115200bits/s|9600bits/s"});
    row("network", F407,
        [](ProjectData &p) {
            setValue(p.networkInformation[0], "FilmApplication1IPAddr", "192.168.0.11");
        },
        Comparison::Differs, {"cell|12|SPI1 以太网|1|软片1|2|IP地址||192.168.0.10|192.168.0.11"});
    row("wireless", F103,
        [](ProjectData &p) { setValue(p.wirelessInformation[0], "PortOfSocket2", "602"); },
        Comparison::Differs, {"cell|6|USART1 无线模块|2|通道2|3|端口号||502|602"});
    row("external RAM", F103, [](ProjectData &p) { p.fsmcInformation[1] = "1"; },
        Comparison::Differs, {"ram|0||0||-1|||关|开"});
    QTest::newRow("other chip") << saved(F407) << tableOf(saved(F103)) << int(Comparison::OtherChip)
                                << QStringList{"chip|0||0||-1|||STM32F407ZG|STM32F103RE"};
    QTest::newRow("nothing held") << saved(F407) << QByteArray() << int(Comparison::NoTable)
                                  << QStringList();
    QTest::newRow("erased") << saved(F103) << QByteArray(64, char(0xFF)) << int(Comparison::NoTable)
                            << QStringList();
    QTest::newRow("cut short") << saved(F407) << tableOf(saved(F407)).left(100)
                               << int(Comparison::Unreadable) << QStringList();
    ProjectData shared = saved(F407);
    setValue(shared.spiInformation[0], "SliceSelect2Pin",
             valueOf(shared.spiInformation[0], "SliceSelect1Pin"));
    QTest::newRow("project refused")
        << shared << tableOf(saved(F407)) << int(Comparison::ProjectRefused) << QStringList();
}

// Only a table holding what the project writes compares equal; every other
// outcome says what it is, with the differences or the reason.
void TestProjectDiff::controllerTableAgainstProject()
{
    QFETCH(ProjectData, project);
    QFETCH(QByteArray, table);
    QFETCH(int, outcome);
    QFETCH(QStringList, differences);
    const Comparison result = ProjectDiff::withController(project, table, CDlgDescription());
    QStringList found;
    for (const ProjectDifference &difference : result.differences)
        found << said(difference);
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(found, differences);
    QCOMPARE(result.message.isEmpty(), outcome <= Comparison::Differs);
    if (outcome == Comparison::ProjectRefused)
        QCOMPARE(result.message, ProjectCheck::firstError(ProjectCheck::problems(project)).message);
}

QTEST_GUILESS_MAIN(TestProjectDiff)
#include "tst_projectdiff.moc"
