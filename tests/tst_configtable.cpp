#include "chipfacts.h"
#include "configtable.h"
#include "tablefixtures.h"
#include "tablelayout.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace TableFixtures;
using D = CPinDescriptions;

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

QByteArray section(bool (*encoder)(const ProjectData &, QByteArray *, QString *),
                   const ProjectData &project)
{
    QByteArray bytes;
    QString error;
    if (!encoder(project, &bytes, &error))
        qWarning() << "encoder failed:" << error;
    return bytes;
}

QByteArray usartSection(const ProjectData &project, int port)
{
    QByteArray bytes;
    QString error;
    if (!ConfigTable::encodeUsartSection(project, port, &bytes, &error))
        qWarning() << "encoder failed:" << error;
    return bytes;
}

QByteArray spiSection(const ProjectData &project, int port)
{
    QByteArray bytes;
    QString error;
    if (!ConfigTable::encodeSpiSection(project, port, &bytes, &error))
        qWarning() << "encoder failed:" << error;
    return bytes;
}

// The message of a build that must fail, empty when it succeeded.
QString refusal(const ProjectData &project)
{
    QByteArray table("untouched");
    QString error;
    if (ConfigTable::buildConfigurationTable(project, &table, &error))
        return QString();
    if (table != "untouched")
        return QStringLiteral("output changed on failure");
    return error;
}

ProjectData spiProject(const QString &chip)
{
    ProjectData p = ProjectData::fresh(chip, false);
    p.spiInformation[0] = spi({"PA5", "PA6", "PA7", "0", "0", "0", "0", "0", "0", "7", "0", "1",
                               "2", "PB0", "0", "0", "3", "PB1"});
    p.networkInformation[0] =
        network(1, {"0", "192.168.0.10", "255.255.0.0", "192.168.0.1", "8.8.8.8", "8000"}) +
        network(2, {"1", "", "", "", "", ""}) +
        network(3, {"2", "10.1.2.3", "255.0.0.0", "10.1.2.254", "1.1.1.1", "65528"});
    return p;
}

} // namespace

class TestConfigTable : public QObject
{
    Q_OBJECT
private slots:
    void emptyProjectGivesSixteenBareSections();
    void pinFieldsFollowEachChipsAddressMap();
    void digitalInputRow();
    void chipSelectCountFollowsBitsAndEnable();
    void outputAndSystemCodesPerChip();
    void interruptRow();
    void serialRecordAndSockets();
    void spiRecordFilmsAndNetworkBlocks();
    void refusesWhatCannotBeEncoded();
    void networkAddressesKeepTheirPlacement();
    void tableFileIsWrittenWholeOrNotAtAll();
    void transferFormFromEitherForm();
    void largestTableHasTheComputedLength();
};

void TestConfigTable::emptyProjectGivesSixteenBareSections()
{
    for (const QString &chip : {F103, F407}) {
        const ProjectData project = ProjectData::fresh(chip, false);
        QByteArray table;
        QString error;
        QVERIFY2(ConfigTable::buildConfigurationTable(project, &table, &error), qPrintable(error));
        QByteArray expected("\x04"
                            "FSMC0\x02"
                            "DI\x00\x02"
                            "DO\x00\x02"
                            "AI\x00\x02"
                            "AO\x00\x04"
                            "EXIT\x00",
                            28);
        for (int port = 1; port <= 6; ++port)
            expected += "\x06USART" + QByteArray::number(port) + QByteArray(1, '\0');
        for (int port = 1; port <= 3; ++port)
            expected += "\x04SPI" + QByteArray::number(port) + QByteArray(1, '\0');
        expected += QByteArray("\x03SYS\x00", 5);
        QCOMPARE(table.size(), 99);
        QCOMPARE(table.toHex(' '), expected.toHex(' '));

        ProjectData withRam = ProjectData::fresh(chip, true);
        QVERIFY(ConfigTable::buildConfigurationTable(withRam, &table));
        QCOMPARE(table.at(5), '1');
        QCOMPARE(table.mid(6), expected.mid(6));

        QList<QByteArray> sections;
        QVERIFY(ConfigTable::buildSections(project, &sections));
        QCOMPARE(sections.size(), 16);
        const QByteArray file = ConfigTable::fileForm(sections);
        QCOMPARE(file.size(), 163);
        QCOMPARE(file.left(11).toHex(' '), hex("00 00 00 06 04 46 53 4D 43 30 00").toHex(' '));
        QDataStream in(file);
        QByteArray joined;
        for (int i = 0; i < 16; ++i) {
            QByteArray block;
            in >> block;
            QCOMPARE(block, sections.at(i));
            joined += block;
        }
        QVERIFY(in.atEnd());
        QCOMPARE(joined, expected);
    }
}

void TestConfigTable::pinFieldsFollowEachChipsAddressMap()
{
    using ConfigTable::encodePin;
    QCOMPARE(encodePin(F103, "PA0").toHex(' '), hex("40 01 08 00 00 01").toHex(' '));
    QCOMPARE(encodePin(F103, "PC13").toHex(' '), hex("40 01 10 00 20 00").toHex(' '));
    QCOMPARE(encodePin(F103, "PG15").toHex(' '), hex("40 01 20 00 80 00").toHex(' '));
    QCOMPARE(encodePin(F407, "PB15").toHex(' '), hex("40 02 04 00 80 00").toHex(' '));
    QCOMPARE(encodePin(F407, "PA0").toHex(' '), hex("40 02 00 00 00 01").toHex(' '));
    QCOMPARE(encodePin(F407, "PH1").toHex(' '), hex("40 02 1C 00 00 02").toHex(' '));
    QCOMPARE(encodePin(F407, "PK7").toHex(' '), hex("40 02 28 00 00 80").toHex(' '));
    QCOMPARE(encodePin(F103, "0"), QByteArray(6, '\0'));
    QCOMPARE(encodePin(F407, "0"), QByteArray(6, '\0'));
    // Beyond the address map, beyond 15, or not a pin name at all: no bytes.
    for (const char *bad : {"PH1", "PA16", "PA01", "PA", "PA1x", "QA1", "P@1", "", " ", "无"})
        QVERIFY2(encodePin(F103, bad).isEmpty(), bad);
    QVERIFY(encodePin(F407, "PL0").isEmpty());
    QVERIFY(encodePin("STM32F030", "PA0").isEmpty());
    QVERIFY(encodePin(QString(), "0").isEmpty());
}

void TestConfigTable::digitalInputRow()
{
    ProjectData p = ProjectData::fresh(F103, false);
    p.diInformation = row(D::DlgDI, 1, {"PA0", "1", "1", "0", "0", "0", "0", "0"});
    const QByteArray rowBytes = hex("40 01 08 00 00 01 48 01 00 01") + QByteArray(24, '\0');
    QCOMPARE(section(ConfigTable::encodeDiSection, p).toHex(' '),
             QByteArray(hex("02 44 49 01 22") + rowBytes).toHex(' '));

    // Same row on the other chip: its own address and input-mode code; the
    // terminal is little-endian.
    p = ProjectData::fresh(F407, false);
    p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "258", "0", "0", "0", "0", "0"}) +
                      row(D::DlgDI, 2, {"PB15", "1", "3", "0", "0", "0", "0", "0"});
    const QByteArray two = section(ConfigTable::encodeDiSection, p);
    QCOMPARE(two.size(), 5 + 2 * 34);
    QCOMPARE(two.mid(3, 2).toHex(' '), hex("02 22").toHex(' '));
    QCOMPARE(two.mid(5, 10).toHex(' '), hex("40 02 00 00 00 01 02 02 01 01").toHex(' '));
    QCOMPARE(two.mid(39, 10).toHex(' '), hex("40 02 04 00 80 00 01 03 00 01").toHex(' '));

    // A partial row at the end of the list does not count.
    p.diInformation << "3Pin"
                    << "PA3";
    QCOMPARE(section(ConfigTable::encodeDiSection, p).size(), 5 + 2 * 34);
}

void TestConfigTable::chipSelectCountFollowsBitsAndEnable()
{
    ProjectData p = ProjectData::fresh(F103, false);
    // Bits 0 and 1 set: four chips; the pins are written bit 0 first.
    p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "PB1", "PB0"});
    QByteArray di = section(ConfigTable::encodeDiSection, p);
    QCOMPARE(int(di.at(5 + 9)), 4);
    QCOMPARE(di.mid(5 + 10, 12).toHex(' '), hex("40 01 0C 00 00 01 40 01 0C 00 00 02").toHex(' '));
    QCOMPARE(di.mid(5 + 22), QByteArray(12, '\0'));

    // All four set: sixteen; bit 3 last.
    p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "PB3", "PB2", "PB1", "PB0"});
    di = section(ConfigTable::encodeDiSection, p);
    QCOMPARE(int(di.at(5 + 9)), 16);
    QCOMPARE(di.mid(5 + 28).toHex(' '), hex("40 01 0C 00 00 08").toHex(' '));

    // Enable off, by index or by text: one chip, although pins are left over.
    for (const char *off : {"0", "关"}) {
        p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", off, "0", "0", "PB1", "PB0"});
        QCOMPARE(int(section(ConfigTable::encodeDiSection, p).at(5 + 9)), 1);
    }
    // "同上" counts the bits like "开".
    p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "2", "0", "PB2", "PB1", "PB0"});
    QCOMPARE(int(section(ConfigTable::encodeDiSection, p).at(5 + 9)), 8);
    // A gap at bit 1 stops the count at two.
    p.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "PB2", "0", "PB0"});
    QCOMPARE(int(section(ConfigTable::encodeDiSection, p).at(5 + 9)), 2);

    // DO, AI and AO place the count at their own offsets, with the same rule.
    p.doInformation = row(D::DlgDO, 1, {"PA1", "0", "0", "1", "1", "0", "0", "0", "PB0"});
    QCOMPARE(int(section(ConfigTable::encodeDoSection, p).at(5 + 10)), 2);
    p.aiInformation = row(D::DlgAI, 1, {"PA2", "1", "1", "PB3", "PB2", "PB1", "PB0"});
    QCOMPARE(int(section(ConfigTable::encodeAiSection, p).at(5 + 8)), 16);
    p.aoInformation = row(D::DlgAO, 1, {"PA4", "1", "0", "0", "0", "PB1", "PB0"});
    const QByteArray ao = section(ConfigTable::encodeAoSection, p);
    QCOMPARE(int(ao.at(5 + 8)), 1);
    QCOMPARE(ao.size(), 5 + 33);
}

void TestConfigTable::outputAndSystemCodesPerChip()
{
    struct Case
    {
        QString chip;
        QString mode;
        QString speed;
        QByteArray codes; // mode code, speed code
    };
    const QList<Case> cases{{F103, "0", "0", hex("10 01")}, {F407, "0", "0", hex("00 00")},
                            {F103, "1", "3", hex("14 03")}, {F407, "1", "3", hex("01 03")},
                            {F103, "0", "1", hex("10 02")}, {F407, "0", "1", hex("00 01")},
                            {F103, "0", "2", hex("10 03")}, {F407, "0", "2", hex("00 02")}};
    for (const Case &c : cases) {
        ProjectData p = ProjectData::fresh(c.chip, false);
        p.doInformation = row(D::DlgDO, 1, {"PA1", c.mode, c.speed, "7", "0", "0", "0", "0", "0"});
        const QByteArray bytes = section(ConfigTable::encodeDoSection, p);
        QCOMPARE(bytes.size(), 5 + 35);
        QCOMPARE(bytes.mid(5 + 6, 5).toHex(' '), QByteArray(c.codes + hex("07 00 01")).toHex(' '));
        p.sysInformation = row(D::DlgSYS, 1, {"SYS_FaultLed", "PA1", c.mode, c.speed}) +
                           row(D::DlgSYS, 2, {"SYS_WatchDog", "PA2", c.mode, c.speed});
        const QByteArray sys = section(ConfigTable::encodeSysSection, p);
        QCOMPARE(sys.left(6).toHex(' '), hex("03 53 59 53 02 09").toHex(' '));
        QCOMPARE(int(sys.at(6)), 3);
        QCOMPARE(sys.mid(13, 2), c.codes);
        QCOMPARE(int(sys.at(15)), 4);
    }
    ProjectData p = ProjectData::fresh(F103, false);
    p.sysInformation = row(D::DlgSYS, 1, {"SYS_INIT", "PC13", "0", "0"});
    QCOMPARE(section(ConfigTable::encodeSysSection, p).toHex(' '),
             hex("03 53 59 53 01 09 01 40 01 10 00 20 00 10 01").toHex(' '));
}

void TestConfigTable::interruptRow()
{
    for (const QString &chip : {F103, F407}) {
        ProjectData p = ProjectData::fresh(chip, false);
        p.exitInformation = row(D::DlgEXIT, 1, {"PA3", "1", "1", "2", "3", "1", "255"}) +
                            row(D::DlgEXIT, 2, {"PA4", "0", "0", "0", "0", "0", "12"});
        const QByteArray bytes = section(ConfigTable::encodeExitSection, p);
        QCOMPARE(bytes.left(7).toHex(' '), hex("04 45 58 49 54 02 0C").toHex(' '));
        const QByteArray pin3 = ConfigTable::encodePin(chip, "PA3");
        const QByteArray pin4 = ConfigTable::encodePin(chip, "PA4");
        const QByteArray pullUp = chip == F103 ? hex("48") : hex("01");
        const QByteArray pullDown = chip == F103 ? hex("28") : hex("02");
        QCOMPARE(bytes.mid(7).toHex(' '), QByteArray(pin3 + pullUp + hex("04 10 03 01 FF") + pin4 +
                                                     pullDown + hex("00 08 00 00 0C"))
                                              .toHex(' '));
    }
}

void TestConfigTable::serialRecordAndSockets()
{
    ProjectData p = ProjectData::fresh(F103, false);
    // 9600 bits/s, 9 data bits, 2 stop bits, odd parity, "ModbusRTU驱动".
    p.usartInformation[0] = usart("PA9", "PA10", {"4", "1", "2", "2", "3"});
    QByteArray bytes = usartSection(p, 1);
    const QByteArray head = hex("06 55 53 41 52 54 31 16 40 01 08 00 02 00 40 01 08 00 04 00");
    QCOMPARE(bytes.left(head.size()).toHex(' '), head.toHex(' '));
    QCOMPARE(bytes.mid(20, 10).toHex(' '), hex("00 25 80 10 00 20 00 06 00 10").toHex(' '));
    // No socket list: each socket is the marker, the default address with its
    // first byte cleared, and port 0.
    QCOMPARE(bytes.size(), 30 + 8 * 7);
    for (int s = 0; s < 8; ++s)
        QCOMPARE(bytes.mid(30 + 7 * s, 7).toHex(' '), hex("36 00 A8 FA 01 00 00").toHex(' '));

    // Socket 1: application 1, 10.0.0.7, port 502; socket 2 a short address
    // keeps the default tail; the other sockets as the dialog leaves them.
    QList<QStringList> values{{"1", "10.0.0.7", "502"}, {"0", "172.16", "65535"}};
    for (int n = 3; n <= 8; ++n)
        values << QStringList{"3", QStringLiteral("192.168.1.%1").arg(n),
                              QString::number(4999 + n)};
    p.wirelessInformation[0] = sockets(values);
    bytes = usartSection(p, 1);
    QCOMPARE(bytes.size(), 30 + 8 * 8);
    QCOMPARE(bytes.mid(30, 8).toHex(' '), hex("31 36 0A 00 00 07 F6 01").toHex(' '));
    QCOMPARE(bytes.mid(38, 8).toHex(' '), hex("30 36 AC 10 FA 01 FF FF").toHex(' '));
    QCOMPARE(bytes.right(8).toHex(' '), hex("33 36 C0 A8 01 08 8F 13").toHex(' '));

    // Baud 115200, the first port application codes and the last.
    const QList<QPair<QString, int>> applications{
        {"0", 0x00}, {"1", 0x01}, {"2", 0x02}, {"4", 0x11},  {"5", 0x20}, {"6", 0x21},
        {"7", 0x30}, {"8", 0x31}, {"9", 0x40}, {"10", 0x41}, {"11", 0x50}};
    for (const auto &application : applications) {
        p.usartInformation[3] = usart("PC10", "PC11", {"0", "0", "0", "1", application.first});
        bytes = usartSection(p, 4);
        QCOMPARE(bytes.left(7), QByteArray("\x06USART4"));
        QCOMPARE(bytes.mid(20, 10).toHex(' '), QByteArray(hex("01 C2 00 00 00 00 00 04 00") +
                                                          QByteArray(1, char(application.second)))
                                                   .toHex(' '));
    }

    // An unused or half-filled port is the single 0x00 byte.
    p.usartInformation[1] = usart("", "", {"0", "0", "0", "0", "0"});
    QCOMPARE(usartSection(p, 2).toHex(' '), hex("06 55 53 41 52 54 32 00").toHex(' '));
    p.usartInformation[1] = usart("PA2", "PA3", {"0", "0", "0", "0", "0"}).mid(0, 12);
    QCOMPARE(usartSection(p, 2).size(), 8);
    QByteArray unused;
    QVERIFY(!ConfigTable::encodeUsartSection(p, 7, &unused));
    QVERIFY(!ConfigTable::encodeUsartSection(p, 0, &unused));
}

void TestConfigTable::spiRecordFilmsAndNetworkBlocks()
{
    const ProjectData p = spiProject(F103);
    const QByteArray bytes = spiSection(p, 1);
    QCOMPARE(bytes.size(), 6 + 152);
    QCOMPARE(bytes.left(6).toHex(' '), hex("04 53 50 49 31 98").toHex(' '));
    const QByteArray record = bytes.mid(6);
    QCOMPARE(record.left(18), ConfigTable::encodePin(F103, "PA5") +
                                  ConfigTable::encodePin(F103, "PA6") +
                                  ConfigTable::encodePin(F103, "PA7"));
    // Full duplex, master, 8 bits, idle high, first edge, soft select,
    // prescaler 256, MSB first, CRC 16.
    QCOMPARE(record.mid(18, 17).toHex(' '),
             hex("00 00 01 04 00 00 00 02 00 00 02 00 00 38 00 00 10").toHex(' '));
    // Film 1: free driver, chip select PB0, the documented network block.
    QCOMPARE(record.mid(35, 7).toHex(' '), hex("10 40 01 0C 00 00 01").toHex(' '));
    QCOMPARE(record.mid(42, 32).toHex(' '),
             QByteArray(hex("00 C0 A8 00 0A FF FF 00 00 C0 A8 00 01 08 08 08 08 40 1F") +
                        QByteArray(13, 0))
                 .toHex(' '));
    // Film 2: none, no chip select; automatic addressing with empty fields
    // clears the first four bytes and leaves the rest at their defaults.
    QCOMPARE(record.mid(74, 7), QByteArray(7, '\0'));
    QCOMPARE(record.mid(81, 32).toHex(' '),
             QByteArray(hex("01 00 00 00 00 FF FF FF 00 C0 A8 01 01 00 00 00 00 00 00") +
                        QByteArray(13, 0))
                 .toHex(' '));
    // Film 3: the fourth application, PB1, manual addressing.
    QCOMPARE(record.mid(113, 7).toHex(' '), hex("11 40 01 0C 00 00 02").toHex(' '));
    QCOMPARE(record.mid(120, 19).toHex(' '),
             hex("02 0A 01 02 03 FF 00 00 00 0A 01 02 FE 01 01 01 01 F8 FF").toHex(' '));

    // Other option codes, one by one.
    const QList<QPair<int, QByteArray>> options{
        {3, hex("00 00 04 00 80 00 C0 00")},
        {4, hex("01 04 00 00")},
        {5, hex("00 00 08 00")},
        {6, hex("00 02 00 00")},
        {7, hex("00 00 00 01")},
        {8, hex("02 00 00 00")},
        {9, hex("00 00 00 08 00 10 00 18 00 20 00 28 00 30 00 38")},
        {10, hex("00 00 00 80")}};
    for (const auto &option : options) {
        const int values = option.second.size() / 2;
        for (int index = 0; index < values; ++index) {
            ProjectData q = p;
            q.spiInformation[0][2 * option.first + 1] = QString::number(index);
            QCOMPARE(spiSection(q, 1).mid(6 + 18 + 2 * (option.first - 3), 2),
                     option.second.mid(2 * index, 2));
        }
    }
    ProjectData q = p;
    q.spiInformation[0][23] = "0";
    QCOMPARE(int(spiSection(q, 1).at(6 + 34)), 7);
    q.spiInformation[0][25] = "1";
    QCOMPARE(int(spiSection(q, 1).at(6 + 35)), 1);

    // A port never configured, or with any value missing, is the 0x00 byte.
    QCOMPARE(spiSection(p, 2).toHex(' '), hex("04 53 50 49 32 00").toHex(' '));
    q = p;
    q.spiInformation[0][27] = "";
    QCOMPARE(spiSection(q, 1).toHex(' '), hex("04 53 50 49 31 00").toHex(' '));
    q.spiInformation[0] = p.spiInformation[0].mid(0, 34);
    QCOMPARE(spiSection(q, 1).size(), 6);
    const ProjectData empty = ProjectData::fresh(F103, false);
    QCOMPARE(spiSection(empty, 1).toHex(' '), hex("04 53 50 49 31 00").toHex(' '));

    // The same record on the other chip differs only in the pin fields.
    const QByteArray other = spiSection(spiProject(F407), 1);
    QCOMPARE(other.size(), bytes.size());
    QCOMPARE(other.mid(6, 6), ConfigTable::encodePin(F407, "PA5"));
    QCOMPARE(other.mid(6 + 18, 17), bytes.mid(6 + 18, 17));
}

void TestConfigTable::refusesWhatCannotBeEncoded()
{
    const ProjectData good = fullyConfigured(F103);
    QVERIFY(refusal(good).isEmpty());

    struct Case
    {
        const char *what;
        std::function<void(ProjectData &)> spoil;
        QStringList mentions;
    };
    const QList<Case> cases{
        {"pin beyond the address map",
         [](ProjectData &p) { p.diInformation[1] = "PH1"; },
         {"DI", "第1行", "PH1"}},
        {"chip-select pin beyond the address map",
         [](ProjectData &p) { p.doInformation[18 + 17] = "PH1"; },
         {"DO", "第2行", "SliceSelectPin_0Bit", "PH1"}},
        {"input mode index outside its list",
         [](ProjectData &p) { p.diInformation[16 + 3] = "2"; },
         {"DI", "第2行", "Mode", "“2”"}},
        {"speed index not a number",
         [](ProjectData &p) { p.doInformation[5] = "快速"; },
         {"DO", "第1行", "Speed"}},
        {"enable outside its list",
         [](ProjectData &p) { p.aiInformation[5] = "3"; },
         {"AI", "第1行", "SliceSelectPinIsEnble"}},
        {"terminal beyond 16 bits",
         [](ProjectData &p) { p.aoInformation[3] = "65536"; },
         {"AO", "第1行", "Index", "65536"}},
        {"negative terminal", [](ProjectData &p) { p.diInformation[5] = "-1"; }, {"DI", "Index"}},
        {"interrupt task beyond a byte",
         [](ProjectData &p) { p.exitInformation[13] = "256"; },
         {"EXIT", "第1行", "Index", "256"}},
        {"priority outside its list",
         [](ProjectData &p) { p.exitInformation[9] = "4"; },
         {"EXIT", "PrePriority"}},
        {"trigger edge outside its list",
         [](ProjectData &p) { p.exitInformation[7] = "3"; },
         {"EXIT", "TriggerWay"}},
        {"unknown system function",
         [](ProjectData &p) { p.sysInformation[1] = "SYS_Beeper"; },
         {"SYS", "第1行", "SystemPin", "SYS_Beeper"}},
        {"baud index outside its list",
         [](ProjectData &p) { p.usartInformation[0][5] = "7"; },
         {"USART1", "Baud", "“7”"}},
        {"port application outside its list",
         [](ProjectData &p) { p.usartInformation[2][13] = "12"; },
         {"USART3", "PortApplication"}},
        {"socket application outside its list",
         [](ProjectData &p) { p.wirelessInformation[0][6 * 3 + 1] = "4"; },
         {"USART1", "ApplicationOfSocket4"}},
        {"socket address part above 255",
         [](ProjectData &p) { p.wirelessInformation[0][3] = "10.0.0.256"; },
         {"USART1", "IPOfSocket1", "10.0.0.256"}},
        {"socket port beyond 16 bits",
         [](ProjectData &p) { p.wirelessInformation[0][5] = "70000"; },
         {"USART1", "PortOfSocket1"}},
        {"socket port not a number",
         [](ProjectData &p) { p.wirelessInformation[0][6 * 2 + 5] = "5O00"; },
         {"USART1", "PortOfSocket3", "5O00"}},
        {"SPI TX pin not a pin",
         [](ProjectData &p) { p.spiInformation[1][1] = "PB"; },
         {"SPI2", "SCKPinName"}},
        {"film application outside its list",
         [](ProjectData &p) { p.spiInformation[2][25] = "4"; },
         {"SPI3", "Film1Application"}},
        {"prescaler outside its list",
         [](ProjectData &p) { p.spiInformation[0][19] = "8"; },
         {"SPI1", "BaudRatePrefrequencyValue"}},
        {"address with eight parts",
         [](ProjectData &p) { p.networkInformation[0][3] = "1.2.3.4.5.6.7.8"; },
         {"SPI1", "FilmApplication1IPAddr", "七"}},
        {"address part above 255",
         [](ProjectData &p) { p.networkInformation[0][5] = "255.256.0.0"; },
         {"SPI1", "FilmApplication1SubnetMas"}},
        {"address part not a number",
         [](ProjectData &p) { p.networkInformation[0][12 + 9] = "8.8.x.8"; },
         {"SPI1", "FilmApplication2PreferredDNS"}},
        {"address with an empty part",
         [](ProjectData &p) { p.networkInformation[0][7] = "192.168..1"; },
         {"SPI1", "FilmApplication1DefaultGeteway"}},
        {"addressing value outside 1 and 2",
         [](ProjectData &p) { p.networkInformation[0][1] = "3"; },
         {"SPI1", "FilmApplication1UseAutoGetIP"}},
        {"local port beyond 16 bits",
         [](ProjectData &p) { p.networkInformation[0][11] = "65536"; },
         {"SPI1", "FilmApplication1LocalStartPort"}},
        {"local port not a number",
         [](ProjectData &p) { p.networkInformation[1][12 + 11] = "abc"; },
         {"SPI2", "FilmApplication2LocalStartPort", "abc"}},
        {"external-RAM flag neither 0 nor 1",
         [](ProjectData &p) { p.fsmcInformation[1] = "yes"; },
         {"FSMC", "yes"}},
        {"unknown chip", [](ProjectData &p) { p.currentChip = "STM32F030"; }, {"STM32F030"}},
        {"more rows than the count byte holds",
         [](ProjectData &p) {
             p.diInformation.clear();
             for (int r = 1; r <= 256; ++r)
                 p.diInformation += row(D::DlgDI, r, {"PA0", "0", "1", "0", "0", "0", "0", "0"});
         },
         {"DI", "256行", "255"}},
    };
    for (const Case &c : cases) {
        ProjectData p = good;
        c.spoil(p);
        const QString message = refusal(p);
        QVERIFY2(!message.isEmpty(), c.what);
        for (const QString &mention : c.mentions)
            QVERIFY2(
                message.contains(mention),
                qPrintable(QStringLiteral("%1: \"%2\" lacks %3").arg(c.what, message, mention)));
        QTemporaryDir dir;
        const QString path = dir.filePath("table.bin");
        QString error;
        QVERIFY(!ConfigTable::writeTableFile(p, path, &error));
        QCOMPARE(error, message);
        QVERIFY(!QFile::exists(path));
    }

    // 255 rows is the most a count byte holds, and it is accepted.
    ProjectData p = ProjectData::fresh(F103, false);
    for (int r = 1; r <= 255; ++r)
        p.diInformation +=
            row(D::DlgDI, r, {"PA0", "0", QString::number(r), "0", "0", "0", "0", "0"});
    const QByteArray di = section(ConfigTable::encodeDiSection, p);
    QCOMPARE(di.size(), 5 + 255 * 34);
    QCOMPARE(quint8(di.at(3)), quint8(255));
}

void TestConfigTable::networkAddressesKeepTheirPlacement()
{
    ProjectData p = spiProject(F103);
    // Two-part addresses put address a at 1 + 2a; seven parts reach byte 28
    // and stay inside the block.
    p.networkInformation[0] = network(1, {"2", "1.2", "3.4", "5.6", "7.8", "1"}) +
                              network(2, {"2", "", "", "", "1.2.3.4.5.6.7", ""}) +
                              network(3, {"1", "", "", "", "", ""});
    const QByteArray record = spiSection(p, 1).mid(6);
    QCOMPARE(record.mid(42, 19).toHex(' '),
             hex("02 01 02 03 04 05 06 07 08 C0 A8 01 01 00 00 00 00 01 00").toHex(' '));
    const QByteArray second = record.mid(81, 32);
    QCOMPARE(second.size(), 32);
    QCOMPARE(second.mid(22, 7).toHex(' '), hex("01 02 03 04 05 06 07").toHex(' '));
    QCOMPARE(second.mid(29), QByteArray(3, '\0'));
    // Nothing spills into the next film.
    QCOMPARE(record.mid(113, 1).toHex(), QByteArray("11"));
}

void TestConfigTable::tableFileIsWrittenWholeOrNotAtAll()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const ProjectData project = fullyConfigured(F407);
    const QString path = dir.filePath("bin/STM32F407ZG/02Configure_0x8007800.bin");
    QString error;
    QVERIFY2(ConfigTable::writeTableFile(project, path, &error), qPrintable(error));
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(project, &sections));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), ConfigTable::fileForm(sections));
    file.close();

    // A project that cannot be encoded leaves the old file as it was.
    ProjectData broken = project;
    broken.usartInformation[0][5] = "9";
    QVERIFY(!ConfigTable::writeTableFile(broken, path, &error));
    QVERIFY(error.contains("USART1"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), ConfigTable::fileForm(sections));
    file.close();

    // A folder that cannot exist (a file stands in its way) is reported.
    QFile blocker(dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    error.clear();
    QVERIFY(!ConfigTable::writeTableFile(project, dir.filePath("blocker/table.bin"), &error));
    QVERIFY(error.contains("blocker"));
    // The target being a folder is reported too.
    error.clear();
    QVERIFY(!ConfigTable::writeTableFile(project, dir.filePath("bin"), &error));
    QVERIFY(!error.isEmpty());
}

void TestConfigTable::transferFormFromEitherForm()
{
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(fullyConfigured(F103), &sections));
    QByteArray transfer;
    for (const QByteArray &s : qAsConst(sections))
        transfer += s;
    const QByteArray file = ConfigTable::fileForm(sections);

    QByteArray out;
    QString error;
    QVERIFY2(ConfigTable::toTransferForm(file, &out, &error), qPrintable(error));
    QCOMPARE(out, transfer);
    out.clear();
    QVERIFY2(ConfigTable::toTransferForm(transfer, &out, &error), qPrintable(error));
    QCOMPARE(out, transfer);

    // A file form with one byte too many or too few, or a block that is not
    // its section, is neither form.
    QVERIFY(!ConfigTable::toTransferForm(file + '\0', &out, &error));
    QVERIFY(!ConfigTable::toTransferForm(file.left(file.size() - 1), &out, &error));
    QByteArray swapped = file;
    swapped[7] = 'X'; // inside the FSMC tag
    QVERIFY(!ConfigTable::toTransferForm(swapped, &out, &error));
    QVERIFY2(error.contains("块"), qPrintable(error));
    QVERIFY(!ConfigTable::toTransferForm(QByteArray(), &out, &error));
    QVERIFY(!ConfigTable::toTransferForm(QByteArray("hello, world"), &out, &error));
    QVERIFY(!error.isEmpty());
    // Sixteen empty blocks fill their data but form no table.
    QVERIFY(!ConfigTable::toTransferForm(QByteArray(64, '\0'), &out, &error));
}

QTEST_GUILESS_MAIN(TestConfigTable)
#include "tst_configtable.moc"

void TestConfigTable::largestTableHasTheComputedLength()
{
    // Every row section with its most rows (each row its first one again),
    // every serial port with all its sockets, every SPI port: the generator
    // writes exactly the largest length an upload may announce.
    ProjectData p = fullyConfigured(F407);
    const QList<QPair<D::DlgType, QStringList *>> tables = {
        {D::DlgDI, &p.diInformation},     {D::DlgDO, &p.doInformation},
        {D::DlgAI, &p.aiInformation},     {D::DlgAO, &p.aoInformation},
        {D::DlgEXIT, &p.exitInformation}, {D::DlgSYS, &p.sysInformation}};
    for (const auto &table : tables) {
        const int strings = 2 * rowKeys(table.first).size();
        QStringList values;
        for (int v = 1; v < strings; v += 2)
            values << table.second->at(v);
        table.second->clear();
        for (int r = 1; r <= TableLayout::maxRows; ++r)
            *table.second += row(table.first, r, values);
    }
    for (int port = 0; port < 6; ++port)
        p.wirelessInformation[port] = p.wirelessInformation[0];
    QByteArray table;
    QString error;
    QVERIFY2(ConfigTable::buildConfigurationTable(p, &table, &error), qPrintable(error));
    QCOMPARE(table.size(), TableLayout::maxTableSize());
    // One row more is not a table.
    p.sysInformation += row(D::DlgSYS, TableLayout::maxRows + 1, {"SYS_INIT", "PE2", "0", "0"});
    QVERIFY(!refusal(p).isEmpty());
}
