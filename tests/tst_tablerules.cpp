#include "chipfacts.h"
#include "projectdata.h"
#include "tablefixtures.h"
#include "tablerules.h"

#include <QtTest>

using D = CPinDescriptions;

class TestTableRules : public QObject
{
    Q_OBJECT
private slots:
    void rowsFollowThePinFunctions();
    void chipSelectCandidatesOfEachKind();
    void candidatesAreGroupedByPortAndNumber();
    void serialPortPinsPerChip();
    void spiPortPinsPerChip();
    void usedBitsCountsFromTheHighestBit();
    void overlapOfTerminalRanges();
    void startTerminalCheckAndCorrection();
    void wholeNumbersAndAddresses();
};

void TestTableRules::rowsFollowThePinFunctions()
{
    const ProjectData p = TableFixtures::projectWith("STM32F103RE",
                                                     {{"PA0", "Normal_DI"},
                                                      {"PC13", "Normal_DI"},
                                                      {"PA1", "Normal_DO"},
                                                      {"PA2", "ADC123_IN2"},
                                                      {"PA4", "DAC_OUT1"},
                                                      {"PB0", "EXIT"},
                                                      {"PB1", "SYS_RunLed"},
                                                      {"PB5", "SYS_WatchDog"},
                                                      {"PB6", "DI_CS1"}},
                                                     " ");
    // Rows come in chip-pin order: PC13 is package pin 2, PA0 pin 14.
    TableRules::TableRows di = TableRules::rowsOfTable(D::DlgDI, p.pinNames, p.pinFunctions);
    QCOMPARE(di.pins, QStringList({"PC13", "PA0"}));
    QCOMPARE(TableRules::rowsOfTable(D::DlgDO, p.pinNames, p.pinFunctions).pins,
             QStringList{"PA1"});
    QCOMPARE(TableRules::rowsOfTable(D::DlgAI, p.pinNames, p.pinFunctions).pins,
             QStringList{"PA2"});
    QCOMPARE(TableRules::rowsOfTable(D::DlgAO, p.pinNames, p.pinFunctions).pins,
             QStringList{"PA4"});
    QCOMPARE(TableRules::rowsOfTable(D::DlgEXIT, p.pinNames, p.pinFunctions).pins,
             QStringList{"PB0"});
    const TableRules::TableRows sys =
        TableRules::rowsOfTable(D::DlgSYS, p.pinNames, p.pinFunctions);
    QCOMPARE(sys.pins, QStringList({"PB1", "PB5"}));
    QCOMPARE(sys.functions, QStringList({"SYS_RunLed", "SYS_WatchDog"}));
    // Serial and SPI tables have no pin rows; a short function list limits the rows.
    QVERIFY(TableRules::rowsOfTable(D::DlgUSART1, p.pinNames, p.pinFunctions).pins.isEmpty());
    QCOMPARE(TableRules::rowsOfTable(D::DlgDI, p.pinNames, p.pinFunctions.mid(0, 5)).pins,
             QStringList{"PC13"});
}

void TestTableRules::chipSelectCandidatesOfEachKind()
{
    const ProjectData p = TableFixtures::projectWith("STM32F103RE",
                                                     {{"PC13", " "},
                                                      {"PD0", " "},
                                                      {"PD1", " "},
                                                      {"PA2", " "},
                                                      {"PB2", " "},
                                                      {"PB12", "DI_CS2"},
                                                      {"PB13", "DO_CS1"},
                                                      {"PB14", "SPI2_CS1"},
                                                      {"PA10", " "},
                                                      {"VBAT", " "},
                                                      {"BOOT0", " "}},
                                                     "Normal_DO");
    QCOMPARE(ChipFacts::chipSelectPrefix(D::DlgDI), QStringLiteral("DI_CS"));
    QCOMPARE(ChipFacts::chipSelectPrefix(D::DlgSPI2), QStringLiteral("SPI2_CS"));
    QVERIFY(ChipFacts::chipSelectPrefix(D::DlgEXIT).isEmpty());

    // Free port pins and the kind's own chip selects, in chip-pin order;
    // PB2, PD0, PD1 and the non-port pins are never offered.
    QCOMPARE(TableRules::chipSelectCandidates(p.pinNames, p.pinFunctions, "DI_CS"),
             QStringList({"PC13", "PA2", "PB12", "PA10"}));
    QCOMPARE(TableRules::chipSelectCandidates(p.pinNames, p.pinFunctions, "DO_CS"),
             QStringList({"PC13", "PA2", "PB13", "PA10"}));
    QCOMPARE(TableRules::chipSelectCandidates(p.pinNames, p.pinFunctions, "SPI2_CS"),
             QStringList({"PC13", "PA2", "PB14", "PA10"}));
    QVERIFY(TableRules::chipSelectCandidates(p.pinNames, p.pinFunctions, QString()).isEmpty());

    // PDR_ON of the larger package is not a port pin either.
    const ProjectData big =
        TableFixtures::projectWith("STM32F407ZG", {{"PDR_ON", " "}}, "Normal_DI");
    QVERIFY(TableRules::chipSelectCandidates(big.pinNames, big.pinFunctions, "AI_CS").isEmpty());
}

void TestTableRules::candidatesAreGroupedByPortAndNumber()
{
    QCOMPARE(TableRules::groupedByPort({"PC13", "PA10", "PB2", "PA2", "PG1", "PA0", "VDD", "PB12"}),
             QStringList({"PA0", "PA2", "PA10", "PB2", "PB12", "PC13", "PG1"}));
    QVERIFY(TableRules::groupedByPort({}).isEmpty());
}

void TestTableRules::serialPortPinsPerChip()
{
    // STM32F103RE: one group per port; USART6 has none.
    ProjectData small = TableFixtures::projectWith("STM32F103RE",
                                                   {{"PA9", "USART1_TX"},
                                                    {"PA10", "USART1_RX"},
                                                    {"PC12", "UART5_TX"},
                                                    {"PD2", "UART5_RX"},
                                                    {"PA2", "USART2_TX"}},
                                                   " ");
    TableRules::PortPins usart1 =
        TableRules::usartPins(small.currentChip, 1, small.pinNames, small.pinFunctions);
    QVERIFY(usart1.assigned);
    QCOMPARE(usart1.names, QStringList({"PA9", "PA10"}));
    QVERIFY(
        TableRules::usartPins(small.currentChip, 5, small.pinNames, small.pinFunctions).assigned);
    const TableRules::PortPins usart2 =
        TableRules::usartPins(small.currentChip, 2, small.pinNames, small.pinFunctions);
    QVERIFY(!usart2.assigned);
    QCOMPARE(usart2.names, QStringList({"", ""}));
    QVERIFY(
        !TableRules::usartPins(small.currentChip, 6, small.pinNames, small.pinFunctions).assigned);
    QVERIFY(!TableRules::usartPins("STM32F100", 1, small.pinNames, small.pinFunctions).assigned);
    QVERIFY(
        !TableRules::usartPins(small.currentChip, 7, small.pinNames, small.pinFunctions).assigned);

    // STM32F407ZG: first group, alternative group, and the alternative wins
    // when both are complete.
    ProjectData big = TableFixtures::projectWith("STM32F407ZG",
                                                 {{"PC6", "USART6_TX"},
                                                  {"PC7", "USART6_RX"},
                                                  {"PD5", "USART2_TX"},
                                                  {"PD6", "USART2_RX"},
                                                  {"PD8", "USART3_TX"},
                                                  {"PD9", "USART3_RX"},
                                                  {"PB10", "USART3_TX"},
                                                  {"PB11", "USART3_RX"}},
                                                 " ");
    QCOMPARE(TableRules::usartPins(big.currentChip, 6, big.pinNames, big.pinFunctions).names,
             QStringList({"PC6", "PC7"}));
    QCOMPARE(TableRules::usartPins(big.currentChip, 2, big.pinNames, big.pinFunctions).names,
             QStringList({"PD5", "PD6"}));
    QCOMPARE(TableRules::usartPins(big.currentChip, 3, big.pinNames, big.pinFunctions).names,
             QStringList({"PB10", "PB11"}));
    QVERIFY(!TableRules::usartPins(big.currentChip, 5, big.pinNames, big.pinFunctions).assigned);
}

void TestTableRules::spiPortPinsPerChip()
{
    ProjectData small = TableFixtures::projectWith(
        "STM32F103RE",
        {{"PB3", "SPI3_SCK"}, {"PB4", "SPI3_MISO"}, {"PB5", "SPI3_MOSI"}, {"PA5", "SPI1_SCK"}},
        " ");
    const TableRules::PortPins spi3 =
        TableRules::spiPins(small.currentChip, 3, small.pinNames, small.pinFunctions);
    QVERIFY(spi3.assigned);
    QCOMPARE(spi3.names, QStringList({"PB3", "PB4", "PB5"}));
    const TableRules::PortPins spi1 =
        TableRules::spiPins(small.currentChip, 1, small.pinNames, small.pinFunctions);
    QVERIFY(!spi1.assigned);
    QCOMPARE(spi1.names, QStringList({"", "", ""}));

    // On STM32F407ZG SPI3's first group is PC10..PC12; PB3..PB5 is the alternative.
    ProjectData big = TableFixtures::projectWith("STM32F407ZG",
                                                 {{"PB3", "SPI3_SCK"},
                                                  {"PB4", "SPI3_MISO"},
                                                  {"PB5", "SPI3_MOSI"},
                                                  {"PB10", "SPI2_SCK"},
                                                  {"PC2", "SPI2_MISO"},
                                                  {"PC3", "SPI2_MOSI"}},
                                                 " ");
    QCOMPARE(TableRules::spiPins(big.currentChip, 3, big.pinNames, big.pinFunctions).names,
             QStringList({"PB3", "PB4", "PB5"}));
    QCOMPARE(TableRules::spiPins(big.currentChip, 2, big.pinNames, big.pinFunctions).names,
             QStringList({"PB10", "PC2", "PC3"}));
    QVERIFY(!TableRules::spiPins(big.currentChip, 1, big.pinNames, big.pinFunctions).assigned);
}

void TestTableRules::usedBitsCountsFromTheHighestBit()
{
    const QString none = QStringLiteral("无");
    QCOMPARE(TableRules::usedBits({none, none, none, none}, none), 0);
    QCOMPARE(TableRules::usedBits({none, none, none, "PA1"}, none), 1);
    QCOMPARE(TableRules::usedBits({none, none, "PA2", "PA1"}, none), 2);
    QCOMPARE(TableRules::usedBits({none, "PA3", "PA2", "PA1"}, none), 3);
    QCOMPARE(TableRules::usedBits({"PA4", "PA3", "PA2", "PA1"}, none), 4);
    QCOMPARE(TableRules::usedBits({"", "", "", ""}, none), 0);
}

void TestTableRules::overlapOfTerminalRanges()
{
    using R = TableRules::TerminalRange;
    QCOMPARE((R{5, 0}.end()), 5);
    QCOMPARE((R{5, 3}.end()), 12);
    QVERIFY(!TableRules::rangesOverlap(R{1, 0}, R{2, 0}));
    QVERIFY(TableRules::rangesOverlap(R{1, 1}, R{2, 0}));
    QVERIFY(TableRules::rangesOverlap(R{2, 0}, R{1, 1}));
    // Enclosure both ways: 1..4 around 2..2.
    QVERIFY(TableRules::rangesOverlap(R{2, 0}, R{1, 2}));
    QVERIFY(TableRules::rangesOverlap(R{1, 2}, R{2, 0}));
    QVERIFY(!TableRules::rangesOverlap(R{1, 2}, R{5, 2}));
    QVERIFY(TableRules::rangesOverlap(R{1, 2}, R{4, 2}));
}

void TestTableRules::startTerminalCheckAndCorrection()
{
    using R = TableRules::TerminalRange;
    QVector<QPair<int, int>> asked;
    auto answer = [&asked](bool yes) {
        return [&asked, yes](int row, int earlier) {
            asked.append({row, earlier});
            return yes;
        };
    };

    // Two rows with bit 0 used at 1 and 2: the second row is reported; Yes moves it to 3.
    QVector<R> rows{{1, 1}, {2, 1}};
    QCOMPARE(TableRules::checkStartTerminals(rows, answer(true)), 1);
    QCOMPARE(asked, (QVector<QPair<int, int>>{{1, 0}}));
    QCOMPARE(rows.at(1).start, 3);

    // Cancel keeps the value and goes on with the next earlier row.
    asked.clear();
    rows = {{1, 1}, {3, 0}, {2, 2}};
    QCOMPARE(TableRules::checkStartTerminals(rows, answer(false)), 2);
    QCOMPARE(asked, (QVector<QPair<int, int>>{{2, 0}, {2, 1}}));
    QCOMPARE(rows.at(2).start, 2);

    // A row whose range encloses an earlier one is reported and moved behind it.
    asked.clear();
    rows = {{2, 0}, {1, 2}};
    QCOMPARE(TableRules::checkStartTerminals(rows, answer(true)), 1);
    QCOMPARE(rows.at(1).start, 3);

    // After a correction the later comparisons see the moved row.
    asked.clear();
    rows = {{10, 2}, {10, 0}, {14, 0}};
    QCOMPARE(TableRules::checkStartTerminals(rows, answer(true)), 2);
    QCOMPARE(rows.at(1).start, 14);
    QCOMPARE(rows.at(2).start, 15);

    // Default starts 1..N without bits never overlap.
    asked.clear();
    rows = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
    QCOMPARE(TableRules::checkStartTerminals(rows, answer(true)), 0);
    QVERIFY(asked.isEmpty());

    // The corrected start never lies before the first row's start.
    QCOMPARE(TableRules::correctedStart({{20, 0}, {1, 0}, {5, 0}}, 2), 21);
    QCOMPARE(TableRules::correctedStart({{20, 0}, {1, 4}, {5, 0}}, 2), 21);
    QCOMPARE(TableRules::correctedStart({{20, 0}, {30, 2}, {5, 0}}, 2), 34);
}

void TestTableRules::wholeNumbersAndAddresses()
{
    int value = -1;
    QVERIFY(TableRules::parseWholeNumber("0", 0, 65535, &value));
    QCOMPARE(value, 0);
    QVERIFY(TableRules::parseWholeNumber("65535", 0, 65535, &value));
    QCOMPARE(value, 65535);
    QVERIFY(!TableRules::parseWholeNumber("65536", 0, 65535));
    QVERIFY(!TableRules::parseWholeNumber("256", 0, 255));
    for (const char *bad : {"", "-1", "+1", " 1", "1 ", "abc", "1.5", "12a", "99999999999"})
        QVERIFY2(!TableRules::parseWholeNumber(bad, 0, 65535), bad);

    QVERIFY(TableRules::isDottedAddress("192.168.1.10"));
    QVERIFY(TableRules::isDottedAddress("0.0.0.0"));
    QVERIFY(TableRules::isDottedAddress("255.255.255.0"));
    for (const char *bad : {"", "192.168", "192.168.1", "192.168.1.", "192.168.1.256", "1.2.3.4.5",
                            "a.b.c.d", "1..2.3", "1000.1.1.1"})
        QVERIFY2(!TableRules::isDottedAddress(bad), bad);
}

QTEST_GUILESS_MAIN(TestTableRules)
#include "tst_tablerules.moc"
