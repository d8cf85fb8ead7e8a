#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "projectcompare.h"
#include "projectfile.h"
#include "tablefixtures.h"
#include "tablelayout.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace TableFixtures;
using D = CPinDescriptions;
namespace L = TableLayout;

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

// What a saved project of a fresh chip holds: the fixed pins drawn, the
// external bus too when it is used.
ProjectData freshAsDrawn(const QString &chip, bool ram)
{
    ProjectData p = ProjectData::fresh(chip, ram);
    const CPinDescriptions catalogue(ram);
    for (const auto &fixed : catalogue.fixedPins(chip))
        p.pinFunctions[fixed.first] = fixed.second;
    if (ram && chip == F407)
        for (const auto &bus : catalogue.externalBusPins())
            p.pinFunctions[bus.first] = bus.second;
    // Unused ports read back as their tables store ports without pins.
    const CDlgDescription keys;
    for (auto &usart : p.usartInformation)
        for (int i = 0; i < keys.usartKeys.size(); ++i)
            usart << keys.usartKeys.at(i) << (i < 2 ? QString() : QString("0"));
    for (auto &spi : p.spiInformation)
        for (int i = 0; i < keys.spiKeys.size(); ++i)
            spi << keys.spiKeys.at(i) << (i < 3 ? QString() : QString("0"));
    return p;
}

QList<QByteArray> emptySections(const QString &chip)
{
    QList<QByteArray> sections;
    ConfigTable::buildSections(ProjectData::fresh(chip, false), &sections);
    return sections;
}

// The empty table of a chip with one section replaced.
QByteArray tableWith(const QString &chip, int section, const QByteArray &bytes)
{
    QList<QByteArray> sections = emptySections(chip);
    sections[section] = bytes;
    return sections.join();
}

QByteArray tableOf(const ProjectData &project)
{
    QByteArray table;
    QString error;
    if (!ConfigTable::buildConfigurationTable(project, &table, &error))
        qWarning() << "cannot build:" << error;
    return table;
}

QString pinFunction(const ProjectData &p, const QString &pin)
{
    return p.pinFunctions.value(p.pinNames.indexOf(pin));
}

// The decode error of bytes that must be refused ("" when they were accepted).
QString refusal(const QByteArray &table, const QString &chip)
{
    ProjectData untouched = ProjectData::fresh(chip, false);
    ProjectData project = untouched;
    QString error;
    if (CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error))
        return QString();
    if (project != untouched)
        return QStringLiteral("project changed on failure");
    return error.isEmpty() ? QStringLiteral("no message") : error;
}

} // namespace

class TestConfigAnalyzer : public QObject
{
    Q_OBJECT
private slots:
    void emptyTablesReadBackAsFreshProjects();
    void digitalInputRowVector();
    void chipSelectCountGivesTheEnable();
    void codesOfBothGenerationsAreRead();
    void serialRecordsAndSockets();
    void spiRecordAndNetworkBlock();
    void fullyConfiguredProjectsRoundTrip();
    void absentSectionsAreRefused_data();
    void absentSectionsAreRefused();
    void paddingAfterTheTable_data();
    void paddingAfterTheTable();
    void truncatedTablesAreRefused();
    void wrongCountsSizesAndTagsAreRefused();
    void garbageIsRefusedAndWhatIsReadCanBeWrittenAgain();
    void analyzeWritesTheUploadProjectWhole();
};

void TestConfigAnalyzer::emptyTablesReadBackAsFreshProjects()
{
    for (const QString &chip : {F103, F407}) {
        for (bool ram : {false, true}) {
            QByteArray table = tableOf(ProjectData::fresh(chip, ram));
            QCOMPARE(table.size(), 99);
            ProjectData project;
            QString error;
            QVERIFY2(CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error),
                     qPrintable(error));
            COMPARE_PROJECTS(project, freshAsDrawn(chip, ram));
            QCOMPARE(project.chipInformation, QStringList({"Type", chip}));
            QCOMPARE(project.fsmcInformation.value(1), ram ? QString("1") : QString("0"));
            // The flag as a binary byte means the same.
            table[5] = ram ? '\x01' : '\x00';
            QVERIFY(CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error));
            QCOMPARE(project.fsmcInformation.value(1), ram ? QString("1") : QString("0"));
        }
    }
    QByteArray table = tableOf(ProjectData::fresh(F103, false));
    table[5] = '2';
    const QString message = refusal(table, F103);
    QVERIFY2(message.contains("FSMC") && message.contains("0x32"), qPrintable(message));
}

void TestConfigAnalyzer::digitalInputRowVector()
{
    const QByteArray di = hex("02 44 49 01 22 40 01 08 00 00 01 48 01 00 01") + QByteArray(24, 0);
    ProjectData project;
    QString error;
    QVERIFY2(CAnalyzeBinFileToConfigure::decode(tableWith(F103, L::DI, di), F103, &project, &error),
             qPrintable(error));
    QCOMPARE(project.diInformation, row(D::DlgDI, 1, {"PA0", "1", "1", "0", "0", "0", "0", "0"}));
    QCOMPARE(pinFunction(project, "PA0"), QString("Normal_DI"));
    QVERIFY(project.doInformation.isEmpty());

    // The same bytes on the other chip are not a pin there.
    const QString message = refusal(tableWith(F407, L::DI, di), F407);
    QVERIFY2(message.contains("DI") && message.contains("第1行") && message.contains("Pin"),
             qPrintable(message));
}

void TestConfigAnalyzer::chipSelectCountGivesTheEnable()
{
    for (const QString &chip : {F103, F407}) {
        ProjectData p = ProjectData::fresh(chip, false);
        p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "PB1", "PB0"});
        p.aiInformation = row(D::DlgAI, 1, {"PA2", "3", "1", "PC3", "PC2", "PC1", "PC0"}) +
                          row(D::DlgAI, 2, {"PA3", "19", "1", "0", "0", "0", "PC4"});
        ProjectData project;
        QVERIFY(CAnalyzeBinFileToConfigure::decode(tableOf(p), chip, &project));
        QCOMPARE(project.diInformation, p.diInformation);
        QCOMPARE(project.aiInformation, p.aiInformation);
        QCOMPARE(pinFunction(project, "PB0"), QString("DI_CS1"));
        QCOMPARE(pinFunction(project, "PB1"), QString("DI_CS2"));
        QCOMPARE(pinFunction(project, "PC0"), QString("AI_CS1"));
        QCOMPARE(pinFunction(project, "PC3"), QString("AI_CS4"));
        QCOMPARE(pinFunction(project, "PC4"), QString("AI_CS1"));
        QCOMPARE(pinFunction(project, "PA2"), QString("ADC"));

        // Enable off with pins left over: the count says one chip, the enable
        // reads "关" and the leftover pins are no chip selects.
        p.diInformation[7] = "0";
        QVERIFY(CAnalyzeBinFileToConfigure::decode(tableOf(p), chip, &project));
        QCOMPARE(project.diInformation.value(7), QString("0"));
        QCOMPARE(pinFunction(project, "PB0"), QString(" "));
    }

    // A count that no bits give, and a count whose bits are missing.
    QByteArray di = tableOf([] {
        ProjectData p = ProjectData::fresh(F103, false);
        p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "PB1", "PB0"});
        return p;
    }());
    const int countAt = di.indexOf("\x02"
                                   "DI") +
                        5 + 9;
    QCOMPARE(int(di.at(countAt)), 4);
    di[countAt] = 3;
    QVERIFY(refusal(di, F103).contains("片选数3"));
    di[countAt] = 8;
    QVERIFY(refusal(di, F103).contains("第2位没有引脚"));
}

void TestConfigAnalyzer::codesOfBothGenerationsAreRead()
{
    // Interrupt trigger: 0x00 is what the generator writes, 0x01 what older
    // tables of the smaller chip hold; both read back as "中断触发".
    ProjectData p = ProjectData::fresh(F103, false);
    p.exitInformation = row(D::DlgEXIT, 1, {"PA3", "1", "0", "2", "3", "1", "200"});
    QByteArray table = tableOf(p);
    ProjectData project;
    QVERIFY(CAnalyzeBinFileToConfigure::decode(table, F103, &project));
    QCOMPARE(project.exitInformation, p.exitInformation);
    QCOMPARE(pinFunction(project, "PA3"), QString("EXIT"));
    const int triggerAt = table.indexOf("EXIT") + 4 + 2 + 7;
    QCOMPARE(int(table.at(triggerAt)), 0);
    table[triggerAt] = 0x01;
    QVERIFY(CAnalyzeBinFileToConfigure::decode(table, F103, &project));
    QCOMPARE(project.exitInformation.value(5), QString("0"));
    p.currentChip = F407;
    p.chipInformation[1] = F407;
    table = tableOf(p);
    table[triggerAt] = 0x01;
    QVERIFY(refusal(table, F407).contains("TriggerMode"));

    // Output speed on the smaller chip: "快速50MHz" and "高速100MHz" share a
    // code, which reads back as the faster.
    p = ProjectData::fresh(F103, false);
    p.doInformation = row(D::DlgDO, 1, {"PA1", "1", "2", "9", "0", "0", "0", "0", "0"});
    QVERIFY(CAnalyzeBinFileToConfigure::decode(tableOf(p), F103, &project));
    p.doInformation[5] = "3";
    QCOMPARE(project.doInformation, p.doInformation);
    QCOMPARE(pinFunction(project, "PA1"), QString("Normal_DO"));

    // System pins: function name, pin, mode and speed.
    p.sysInformation = row(D::DlgSYS, 1, {"SYS_WatchDog", "PC13", "1", "0"}) +
                       row(D::DlgSYS, 2, {"SYS_INIT", "PB9", "0", "1"});
    table = tableOf(p);
    QVERIFY(CAnalyzeBinFileToConfigure::decode(table, F103, &project));
    QCOMPARE(project.sysInformation, p.sysInformation);
    QCOMPARE(pinFunction(project, "PC13"), QString("SYS_WatchDog"));
    QCOMPARE(pinFunction(project, "PB9"), QString("SYS_INIT"));
    table[table.indexOf("\x03SYS") + 6] = 5;
    QVERIFY(refusal(table, F103).contains("系统功能"));
}

void TestConfigAnalyzer::serialRecordsAndSockets()
{
    QList<QStringList> values;
    for (int n = 1; n <= 8; ++n)
        values << QStringList{QString::number(n % 4), QStringLiteral("172.16.0.%1").arg(n),
                              QString::number(6000 + n)};
    // Every port application code reads back, on every port (USART6 too).
    for (int application = 0; application < 12; ++application) {
        const int port = application % 6;
        ProjectData p = ProjectData::fresh(F407, false);
        p.usartInformation[port] =
            usart("PC6", "PC7",
                  {QString::number(application % 7), QString::number(port % 2), "3",
                   QString::number(application % 3), QString::number(application)});
        p.wirelessInformation[port] = application % 2 ? sockets(values) : QStringList();
        ProjectData project;
        QString error;
        QVERIFY2(CAnalyzeBinFileToConfigure::decode(tableOf(p), F407, &project, &error),
                 qPrintable(error));
        QCOMPARE(project.usartInformation.at(port), p.usartInformation.at(port));
        QCOMPARE(project.wirelessInformation.at(port), p.wirelessInformation.at(port));
        const QString name = CPinDescriptions(false).usartNames.at(port);
        QCOMPARE(pinFunction(project, "PC6"), name + "_TX");
        QCOMPARE(pinFunction(project, "PC7"), name + "_RX");
    }

    // The record of the documented vector: "ModbusRTU驱动" is code 0x10.
    const QByteArray record = hex("06 55 53 41 52 54 36 16 40 02 08 00 00 40 40 02 08 00 00 80 00 "
                                  "25 80 10 00 20 00 06 00 10") +
                              hex("31 36 0A 00 00 07 F6 01").repeated(8);
    ProjectData project;
    QString error;
    QVERIFY2(CAnalyzeBinFileToConfigure::decode(tableWith(F407, L::Usart6, record), F407, &project,
                                                &error),
             qPrintable(error));
    QCOMPARE(project.usartInformation.at(5), usart("PC6", "PC7", {"4", "1", "2", "2", "3"}));
    QList<QStringList> same;
    for (int n = 1; n <= 8; ++n)
        same << QStringList{"1", "10.0.0.7", "502"};
    QCOMPARE(project.wirelessInformation.at(5), sockets(same));

    // Older tables number the first six applications 0x00-0x05.
    for (int code = 0; code <= 5; ++code) {
        QByteArray older = record;
        older[29] = char(code);
        QVERIFY(
            CAnalyzeBinFileToConfigure::decode(tableWith(F407, L::Usart6, older), F407, &project));
        QCOMPARE(project.usartInformation.at(5).value(13), QString::number(code));
    }

    // Codes outside the tables are refused with the place named.
    QByteArray bad = record;
    bad[29] = 0x12;
    QString message = refusal(tableWith(F407, L::Usart6, bad), F407);
    QVERIFY2(message.contains("USART6") && message.contains("PortApplication") &&
                 message.contains("0x12"),
             qPrintable(message));
    bad = record;
    bad[22] = 0x81;
    QVERIFY(refusal(tableWith(F407, L::Usart6, bad), F407).contains("Baud"));
    bad = record;
    bad[30] = '4'; // application digit outside the socket list
    QVERIFY(refusal(tableWith(F407, L::Usart6, bad), F407).contains("通道1"));
}

void TestConfigAnalyzer::spiRecordAndNetworkBlock()
{
    ProjectData p = ProjectData::fresh(F103, false);
    p.spiInformation[1] = spi({"PB13", "PB14", "PB15", "2", "0", "1", "0", "1", "0", "7", "1", "1",
                               "2", "PC0", "0", "0", "3", "PC1"});
    p.networkInformation[1] =
        network(1, {"0", "192.168.0.10", "255.255.0.0", "192.168.0.1", "8.8.8.8", "8000"}) +
        network(2, {"1", "", "", "", "", ""}) +
        network(3, {"2", "10.0.0.2", "255.0.0.0", "10.0.0.1", "", "65000"});
    ProjectData project;
    QString error;
    QVERIFY2(CAnalyzeBinFileToConfigure::decode(tableOf(p), F103, &project, &error),
             qPrintable(error));
    QCOMPARE(project.spiInformation.at(1), p.spiInformation.at(1));
    // Addressing value 0 (not chosen) reads back empty; the rest of the
    // documented block as it was.
    QCOMPARE(project.networkInformation.at(1).mid(0, 24),
             network(1, {"", "192.168.0.10", "255.255.0.0", "192.168.0.1", "8.8.8.8", "8000"}) +
                 p.networkInformation.at(1).mid(12, 12));
    // Film 3's empty DNS leaves the address it follows as entered.
    QCOMPARE(project.networkInformation.at(1).mid(24),
             network(3, {"2", "10.0.0.2", "255.0.0.0", "10.0.0.1", "", "65000"}));
    QCOMPARE(project.networkInformation.at(1).value(3), QString("192.168.0.10"));
    QCOMPARE(project.networkInformation.at(1).value(5), QString("255.255.0.0"));
    QCOMPARE(project.networkInformation.at(1).value(11), QString("8000"));
    QCOMPARE(pinFunction(project, "PB13"), QString("SPI2_SCK"));
    QCOMPARE(pinFunction(project, "PB14"), QString("SPI2_MISO"));
    QCOMPARE(pinFunction(project, "PB15"), QString("SPI2_MOSI"));
    QCOMPARE(pinFunction(project, "PC0"), QString("SPI2_CS1"));
    QCOMPARE(pinFunction(project, "PC1"), QString("SPI2_CS3"));
    // Ports left unused read back without pins and with every option "0",
    // and with the network lists of a new project.
    const ProjectData fresh = ProjectData::fresh(F103, false);
    QCOMPARE(project.spiInformation.at(0).mid(0, 8),
             QStringList({"SCKPinName", "", "MISOPinName", "", "MOSIPinName", "",
                          "CommunicationMode", "0"}));
    QCOMPARE(project.spiInformation.at(0).last(), QString("0"));
    QCOMPARE(project.networkInformation.at(0), fresh.networkInformation.at(0));
    QCOMPARE(project.networkInformation.at(2), fresh.networkInformation.at(2));

    // An addressing byte other than 0, 1, 2 and an unknown option code.
    QByteArray table = tableOf(p);
    const int record = table.indexOf("SPI2") + 5;
    QByteArray bad = table;
    bad[record + 42] = 3;
    QVERIFY(refusal(bad, F103).contains("软片1"));
    bad = table;
    bad[record + 20] = 0x05;
    QString message = refusal(bad, F103);
    QVERIFY2(message.contains("SPI2") && message.contains("WorkMode"), qPrintable(message));
    bad = table;
    bad[record + 34] = 8;
    QVERIFY(refusal(bad, F103).contains("CRCPolynomials"));
}

void TestConfigAnalyzer::fullyConfiguredProjectsRoundTrip()
{
    for (const QString &chip : {F103, F407}) {
        const ProjectData original = fullyConfigured(chip);
        const QByteArray table = tableOf(original);
        QVERIFY(table.size() > 99);
        ProjectData project;
        QString error;
        QVERIFY2(CAnalyzeBinFileToConfigure::decode(table, chip, &project, &error),
                 qPrintable(error));
        COMPARE_PROJECTS(project, original);
        // And the decoded project encodes to the very same table.
        QCOMPARE(tableOf(project), table);
        // Read for the other chip, it names the chip it is of.
        const QString other = chip == F103 ? F407 : F103;
        QVERIFY(!CAnalyzeBinFileToConfigure::decode(table, other, &project, &error));
        QVERIFY2(error.contains(QStringLiteral("这个配置表是%1的，不是%2的").arg(chip, other)),
                 qPrintable(error));
    }
}

void TestConfigAnalyzer::absentSectionsAreRefused_data()
{
    QTest::addColumn<int>("absent");
    QTest::newRow("FSMC") << int(L::Fsmc);
    QTest::newRow("AI") << int(L::AI);
    QTest::newRow("USART4") << int(L::Usart4);
    QTest::newRow("SPI3") << int(L::Spi3);
}

void TestConfigAnalyzer::absentSectionsAreRefused()
{
    // The generator writes every section: a table without one is not its.
    QFETCH(int, absent);
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(fullyConfigured(F103), &sections));
    sections.removeAt(absent);
    const QString message = refusal(sections.join(), F103);
    QVERIFY2(message.contains("缺少" + L::sectionName(absent) + "段"), qPrintable(message));
}

void TestConfigAnalyzer::paddingAfterTheTable_data()
{
    QTest::addColumn<QByteArray>("tail");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0x00") << QByteArray(1, '\0') << true;
    QTest::newRow("0xFF up to a flash unit") << QByteArray(45, char(0xFF)) << true;
    QTest::newRow("mixed fill") << QByteArray("\xFF\x00", 2) << false;
    QTest::newRow("other byte") << QByteArray("\xFF\xFF\x01") << false;
}

void TestConfigAnalyzer::paddingAfterTheTable()
{
    // A controller that rounds the table up to its flash write unit sends
    // the fill bytes along.
    QFETCH(QByteArray, tail);
    QFETCH(bool, accepted);
    const QByteArray table = tableOf(fullyConfigured(F407));
    const QString message = refusal(table + tail, F407);
    QVERIFY2(message.isEmpty() == accepted, qPrintable(message));
    if (!accepted) {
        QVERIFY2(message.contains("不是填充"), qPrintable(message));
        return;
    }
    ProjectData plain, padded;
    QVERIFY(CAnalyzeBinFileToConfigure::decode(table, F407, &plain));
    QVERIFY(CAnalyzeBinFileToConfigure::decode(table + tail, F407, &padded));
    QVERIFY(padded == plain);
}

void TestConfigAnalyzer::truncatedTablesAreRefused()
{
    for (const QString &chip : {F103, F407}) {
        const QByteArray table = tableOf(fullyConfigured(chip));
        QVERIFY(table.size() > 1000);
        for (int length = 0; length < table.size(); ++length) {
            const QString message = refusal(table.left(length), chip);
            QVERIFY2(!message.isEmpty(), qPrintable(QStringLiteral("length %1").arg(length)));
        }
        // One byte too many.
        QVERIFY(refusal(table + 'x', chip).contains("字节"));
    }
}

void TestConfigAnalyzer::wrongCountsSizesAndTagsAreRefused()
{
    const ProjectData p = fullyConfigured(F103);
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(p, &sections));
    const auto changed = [&](int section, int at, char value) {
        QList<QByteArray> copy = sections;
        copy[section][at] = value;
        return copy.join();
    };
    struct Case
    {
        const char *what;
        QByteArray table;
        QStringList mentions;
    };
    QList<QByteArray> doFirst = sections;
    doFirst.swapItemsAt(L::DI, L::DO);
    QList<QByteArray> twice = sections;
    twice.insert(L::AI, sections.at(L::AI));
    const QList<Case> cases{
        {"more DI rows than bytes", changed(L::DI, 3, char(255)), {"DI", "255行"}},
        {"DI rows of the wrong size", changed(L::DI, 4, 33), {"DI", "33"}},
        {"SYS rows without bytes", changed(L::Sys, 4, char(200)), {"SYS", "200行"}},
        {"serial record of the wrong size", changed(L::Usart1, 7, 0x17), {"USART1", "23"}},
        {"SPI record of the wrong size", changed(L::Spi1, 5, char(0x97)), {"SPI1", "151"}},
        {"socket without its marker", changed(L::Usart1, 31, 0x35), {"USART1", "通道1"}},
        {"unknown tag", changed(L::DO, 1, 'X'), {"XO"}},
        {"tag without length", changed(L::AI, 0, 0), {"没有段标记"}},
        {"tag longer than the table", changed(L::Sys, 0, 100), {"字节"}},
        {"sections out of order", doFirst.join(), {"DI", "顺序不对"}},
        {"a section twice", twice.join(), {"AI", "重复"}},
        {"no SYS section", sections.mid(0, L::Sys).join(), {"SYS"}},
        {"bytes after SYS", sections.join() + sections.at(L::Sys), {"SYS"}},
        {"unknown pin address", changed(L::DI, 5, 0x41), {"DI", "第1行", "Pin", "0x41010800"}},
        {"pin mask of two bits", changed(L::DI, 10, 3), {"DI", "第1行", "掩码0x0003"}},
        {"unknown input mode", changed(L::DI, 11, char(0x99)), {"DI", "第1行", "Mode", "0x99"}},
    };
    for (const Case &c : cases) {
        const QString message = refusal(c.table, F103);
        QVERIFY2(!message.isEmpty(), c.what);
        for (const QString &mention : c.mentions)
            QVERIFY2(
                message.contains(mention),
                qPrintable(QStringLiteral("%1: \"%2\" lacks %3").arg(c.what, message, mention)));
    }
    QVERIFY(refusal(sections.join(), "STM32F030").contains("STM32F030"));
    QVERIFY(refusal(sections.join(), QString()).contains("chip"));
}

void TestConfigAnalyzer::garbageIsRefusedAndWhatIsReadCanBeWrittenAgain()
{
    QRandomGenerator random(20240607);
    for (int i = 0; i < 2000; ++i) {
        QByteArray bytes(int(random.bounded(1, 600)), '\0');
        for (char &b : bytes)
            b = char(random.bounded(256));
        QVERIFY(!refusal(bytes, i % 2 ? F103 : F407).isEmpty());
    }
    // Single-byte changes to real tables: whatever is accepted is a project
    // that the generator can write again.
    int accepted = 0;
    for (const QString &chip : {F103, F407}) {
        const QByteArray table = tableOf(fullyConfigured(chip));
        for (int at = 0; at < table.size(); ++at) {
            QByteArray changed = table;
            changed[at] = char(random.bounded(256));
            ProjectData project;
            if (!CAnalyzeBinFileToConfigure::decode(changed, chip, &project))
                continue;
            ++accepted;
            QString error;
            QByteArray again;
            QVERIFY2(ConfigTable::buildConfigurationTable(project, &again, &error),
                     qPrintable(QStringLiteral("byte %1: %2").arg(at).arg(error)));
            ProjectData twice;
            QVERIFY(CAnalyzeBinFileToConfigure::decode(again, chip, &twice));
            QVERIFY(twice == project);
        }
    }
    QVERIFY(accepted > 0);
}

void TestConfigAnalyzer::analyzeWritesTheUploadProjectWhole()
{
    QTemporaryDir appDir;
    QVERIFY(appDir.isValid());
    CAnalyzeBinFileToConfigure analyzer;
    QSignalSpy written(&analyzer, &CAnalyzeBinFileToConfigure::UploadBinFileToConfigureSignal);
    const ProjectData original = fullyConfigured(F407);
    const QString expectedPath =
        appDir.path() + "/config/uploadConfigureFile/uploadConfigureFile.cpro";

    // An older upload file with a section of its own is replaced, not merged.
    QVERIFY(QDir().mkpath(appDir.path() + "/config/uploadConfigureFile"));
    {
        QFile old(expectedPath);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("[LEFTOVER]\nKey=1\n");
    }
    QString path;
    QString error;
    QVERIFY2(analyzer.analyze(tableOf(original), F407, appDir.path(), &path, &error),
             qPrintable(error));
    QCOMPARE(path, expectedPath);
    QCOMPARE(written.count(), 1);
    QCOMPARE(written.at(0).at(0).toString(), expectedPath);
    QFile file(expectedPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    QVERIFY(!content.contains("LEFTOVER"));
    // It reads back as the project itself does after a save and an open.
    ProjectData reread;
    QVERIFY2(ProjectFile::read(expectedPath, &reread, &error), qPrintable(error));
    ProjectData saved;
    const QString savedPath = appDir.path() + "/saved.cpro";
    QVERIFY(ProjectFile::write(original, savedPath, &error));
    QVERIFY(ProjectFile::read(savedPath, &saved, &error));
    COMPARE_PROJECTS(reread, saved);

    // A table that cannot be read leaves the file and sends nothing.
    QVERIFY(!analyzer.analyze(tableOf(original).left(500), F407, appDir.path(), &path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(written.count(), 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    file.close();

    // The chip model is the caller's: the same bytes for the other chip fail.
    QVERIFY(!analyzer.analyze(tableOf(original), F103, appDir.path(), &path, &error));
    QCOMPARE(written.count(), 1);

    // A folder that cannot be made is reported as a failure.
    QTemporaryDir blocked;
    QFile blocker(blocked.path() + "/config");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    error.clear();
    QVERIFY(!analyzer.analyze(tableOf(original), F407, blocked.path(), &path, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(written.count(), 1);
    QVERIFY(!analyzer.analyze(tableOf(original), F407, QString(), &path, &error));
}

QTEST_GUILESS_MAIN(TestConfigAnalyzer)
#include "tst_configanalyzer.moc"
