#include "chipfacts.h"
#include "pinbench.h"
#include "pinrules.h"

#include <QtTest>

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

// The serial port put on its pins as a menu choice does: TX chosen, RX filled.
void completePort(PinBench &bench, const QStringList &pins, const QStringList &signalNames)
{
    bench.choose(pins.at(0), signalNames.at(0));
    QCOMPARE(bench.text(pins.at(1)), signalNames.at(1));
}

} // namespace

// What the menus of the pins offer, what they grey and the words they say.
class TestPinMenus : public QObject
{
    Q_OBJECT
private slots:
    void greyedEntriesOfCompletePorts_data();
    void greyedEntriesOfCompletePorts();
    void greyedEntriesSayWhy_data();
    void greyedEntriesSayWhy();
    void pinsWithoutFunctionsSayWhatTheyAre_data();
    void pinsWithoutFunctionsSayWhatTheyAre();
    void busSignalsOnlyOnAChipWithTheBus();
    void spiChipSelectsChangeUntilTheirSpiIsComplete_data();
    void spiChipSelectsChangeUntilTheirSpiIsComplete();
};

void TestPinMenus::greyedEntriesOfCompletePorts_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QStringList>("pins");
    QTest::addColumn<QStringList>("signalNames");
    QTest::addColumn<QStringList>("greyed"); // every greyed entry of the board

    const auto row = [](const char *name, const QString &chip, const QStringList &pins,
                        const QStringList &signalNames, const QStringList &greyed) {
        QTest::newRow(name) << chip << pins << signalNames << greyed;
    };
    const QStringList usart2{"PA2 USART2_TX", "PA3 USART2_RX", "PD5 USART2_TX", "PD6 USART2_RX"};
    row("F407 USART2 on PD5/PD6", F407, {"PD5", "PD6"}, {"USART2_TX", "USART2_RX"}, usart2);
    row("F407 USART2 on PA2/PA3", F407, {"PA2", "PA3"}, {"USART2_TX", "USART2_RX"}, usart2);
    row("F407 USART3 on PB10/PB11", F407, {"PB10", "PB11"}, {"USART3_TX", "USART3_RX"},
        {"PB10 USART3_TX", "PB11 USART3_RX", "PD8 USART3_TX", "PD9 USART3_RX"});
    row("F407 UART4 on PC10/PC11", F407, {"PC10", "PC11"}, {"UART4_TX", "UART4_RX"},
        {"PA0 UART4_TX", "PA1 UART4_RX", "PC10 UART4_TX", "PC11 UART4_RX"});
    row("F407 USART6 on PG14/PG9", F407, {"PG14", "PG9"}, {"USART6_TX", "USART6_RX"},
        {"PC6 USART6_TX", "PC7 USART6_RX", "PG9 USART6_RX", "PG14 USART6_TX"});
    row("F407 UART5 on PC12/PD2", F407, {"PC12", "PD2"}, {"UART5_TX", "UART5_RX"},
        {"PC12 UART5_TX", "PD2 UART5_RX"});
    row("F407 USART1 on PB6/PB7", F407, {"PB6", "PB7"}, {"USART1_TX", "USART1_RX"},
        {"PA9 USART1_TX", "PA10 USART1_RX"});
    row("F407 USART1 on PA9/PA10", F407, {"PA9", "PA10"}, {"USART1_TX", "USART1_RX"},
        {"PB6 USART1_TX", "PB7 USART1_RX"});
    // The F103's ports have one group each and stay offered.
    row("F103 USART2 on PA2/PA3", F103, {"PA2", "PA3"}, {"USART2_TX", "USART2_RX"}, {});
    row("F103 USART3 on PB10/PB11", F103, {"PB10", "PB11"}, {"USART3_TX", "USART3_RX"}, {});
    row("F103 UART4 on PC10/PC11", F103, {"PC10", "PC11"}, {"UART4_TX", "UART4_RX"}, {});
    row("F103 UART5 on PC12/PD2", F103, {"PC12", "PD2"}, {"UART5_TX", "UART5_RX"}, {});
}

void TestPinMenus::greyedEntriesOfCompletePorts()
{
    QFETCH(QString, chip);
    QFETCH(QStringList, pins);
    QFETCH(QStringList, signalNames);
    QFETCH(QStringList, greyed);
    PinBench bench(chip);
    QCOMPARE(bench.disabledEntries(), QStringList());
    completePort(bench, pins, signalNames);
    QCOMPARE(bench.disabledEntries(), greyed);
}

void TestPinMenus::greyedEntriesSayWhy_data()
{
    QTest::addColumn<QStringList>("pins");
    QTest::addColumn<QStringList>("signalNames");
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("reason");

    const auto row = [](const char *name, const QStringList &pins, const QStringList &signalNames,
                        const QString &pin, const QString &entry, const QString &reason) {
        QTest::newRow(name) << pins << signalNames << pin << entry << reason;
    };
    const QStringList usart2{"USART2_TX", "USART2_RX"};
    row("USART2 own group", {"PD5", "PD6"}, usart2, "PD5", "USART2_TX",
        "USART2 已在本组引脚 PD5/PD6 上");
    row("USART2 other group", {"PD5", "PD6"}, usart2, "PA3", "USART2_RX",
        "USART2 已用在另一组引脚上");
    row("USART2 own first group", {"PA2", "PA3"}, usart2, "PA3", "USART2_RX",
        "USART2 已在本组引脚 PA2/PA3 上");
    row("USART3 own group", {"PB10", "PB11"}, {"USART3_TX", "USART3_RX"}, "PB11", "USART3_RX",
        "USART3 已在本组引脚 PB10/PB11 上");
    row("UART4 own group", {"PC10", "PC11"}, {"UART4_TX", "UART4_RX"}, "PC10", "UART4_TX",
        "UART4 已在本组引脚 PC10/PC11 上");
    row("UART4 other group", {"PC10", "PC11"}, {"UART4_TX", "UART4_RX"}, "PA0", "UART4_TX",
        "UART4 已用在另一组引脚上");
    row("USART6 own group", {"PG14", "PG9"}, {"USART6_TX", "USART6_RX"}, "PG9", "USART6_RX",
        "USART6 已在本组引脚 PG14/PG9 上");
    row("UART5 only group", {"PC12", "PD2"}, {"UART5_TX", "UART5_RX"}, "PD2", "UART5_RX",
        "UART5 已在本组引脚 PC12/PD2 上");
    row("USART1 first group wins", {"PA9", "PA10"}, {"USART1_TX", "USART1_RX"}, "PB6", "USART1_TX",
        "USART1 已用在另一组引脚上");
    row("unique system function", {"PA0"}, {"SYS_RunLed"}, "PC0", "SYS_RunLed",
        "SYS_RunLed 已分配在 PA0 上");
}

void TestPinMenus::greyedEntriesSayWhy()
{
    QFETCH(QStringList, pins);
    QFETCH(QStringList, signalNames);
    QFETCH(QString, pin);
    QFETCH(QString, entry);
    QFETCH(QString, reason);
    PinBench bench(F407);
    for (int i = 0; i < pins.size(); ++i)
        bench.choose(pins.at(i), signalNames.at(i));
    QVERIFY(!bench.enabled(pin, entry));
    QCOMPARE(bench.entry(pin, entry).reason, reason);
}

void TestPinMenus::pinsWithoutFunctionsSayWhatTheyAre_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<bool>("ram");
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("role");

    QTest::newRow("F103 supply") << F103 << false << "VDD1"
                                 << "电源引脚";
    QTest::newRow("F103 battery") << F103 << false << "VBAT"
                                  << "电源引脚";
    QTest::newRow("F103 oscillator") << F103 << false << "PD0"
                                     << "晶振引脚 OCS_IN";
    QTest::newRow("F103 reset") << F103 << false << "NRST"
                                << "复位引脚 NRST";
    QTest::newRow("F103 boot") << F103 << false << "PB2"
                               << "启动引脚 BOOT1";
    QTest::newRow("F407 capacitor") << F407 << false << "VCAP_1"
                                    << "电源引脚";
    QTest::newRow("F407 oscillator") << F407 << false << "PH1"
                                     << "晶振引脚 OCS_OUT";
    QTest::newRow("F407 boot") << F407 << false << "BOOT0"
                               << "启动引脚 BOOT0";
    QTest::newRow("F407 bus data") << F407 << true << "PD14"
                                   << "外部总线引脚 FSMC_D0";
    QTest::newRow("F407 bus select") << F407 << true << "PG12"
                                     << "外部总线引脚 FSMC_NE4";
    QTest::newRow("F407 without RAM") << F407 << false << "PD14"
                                      << "";
    QTest::newRow("F103 port pin") << F103 << false << "PA9"
                                   << "";
}

void TestPinMenus::pinsWithoutFunctionsSayWhatTheyAre()
{
    QFETCH(QString, chip);
    QFETCH(bool, ram);
    QFETCH(QString, pin);
    QFETCH(QString, role);
    PinBench bench(chip, ram);
    QCOMPARE(bench.board.roleOf(bench.at(pin)), role);
    // Every pin of the package has a menu or says what it is, never both.
    for (int i = 0; i < bench.board.pinCount(); ++i)
        QVERIFY2(bench.board.menuEntries(i).isEmpty() != bench.board.roleOf(i).isEmpty(),
                 qPrintable(bench.board.pinName(i)));
}

void TestPinMenus::busSignalsOnlyOnAChipWithTheBus()
{
    PinBench f103(F103);
    QStringList offered = f103.catalogue.functionsOf(F103, "PB7");
    QVERIFY(offered.removeAll("FSMC_NADV") == 1); // the catalogue keeps the datasheet's list
    QCOMPARE(f103.menuTexts("PB7"), offered);
    // Entries behind the one left out are applied as shown.
    f103.choose("PB7", "TIM4_CH2");
    QCOMPARE(f103.text("PB7"), QString("TIM4_CH2"));
    for (const QString &pin : f103.board.pinNames())
        for (const QString &text : f103.menuTexts(pin))
            QVERIFY2(!text.startsWith("FSMC_"), qPrintable(pin + " " + text));

    // A stored bus signal stays on the pin; the menu still leaves it out.
    f103.set("PB7", "FSMC_NADV");
    QCOMPARE(f103.text("PB7"), QString("FSMC_NADV"));
    QVERIFY(!f103.menuTexts("PB7").contains("FSMC_NADV"));

    PinBench f407(F407);
    QCOMPARE(f407.menuTexts("PB7"), f407.catalogue.functionsOf(F407, "PB7").mid(0, 20));
}

void TestPinMenus::spiChipSelectsChangeUntilTheirSpiIsComplete_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("spi");
    QTest::addColumn<QStringList>("pins"); // SCK, MISO, MOSI
    QTest::newRow("F103 SPI1") << F103 << 1 << QStringList{"PA5", "PA6", "PA7"};
    QTest::newRow("F103 SPI2") << F103 << 2 << QStringList{"PB13", "PB14", "PB15"};
    QTest::newRow("F103 SPI3") << F103 << 3 << QStringList{"PB3", "PB4", "PB5"};
    QTest::newRow("F407 SPI1") << F407 << 1 << QStringList{"PA5", "PA6", "PA7"};
    QTest::newRow("F407 SPI2") << F407 << 2 << QStringList{"PB13", "PB14", "PB15"};
    QTest::newRow("F407 SPI3") << F407 << 3 << QStringList{"PC10", "PC11", "PC12"};
}

// A chip select of an SPI port, unlike a board's, is the user's to change on
// the drawing until its port is complete; then it stays.
void TestPinMenus::spiChipSelectsChangeUntilTheirSpiIsComplete()
{
    QFETCH(QString, chip);
    QFETCH(int, spi);
    QFETCH(QStringList, pins);
    PinBench bench(chip);
    for (int film = 1; film <= 3; ++film)
        bench.set(QStringList{"PB0", "PB1", "PC1"}.at(film - 1),
                  QStringLiteral("SPI%1_CS%2").arg(spi).arg(film));
    for (const QString pin : {"PB0", "PB1", "PC1"}) {
        QVERIFY(!bench.menu(pin).isEmpty());
        QCOMPARE(bench.enabledCount(pin), bench.menu(pin).size());
    }
    bench.choose("PB1", "Normal_DO");
    QCOMPARE(bench.text("PB1"), QString("Normal_DO"));

    const QString port = QStringLiteral("SPI%1").arg(spi);
    bench.set(pins, {port + "_SCK", port + "_MISO", port + "_MOSI"});
    for (const QString pin : {"PB0", "PC1"})
        QCOMPARE(bench.enabledCount(pin), 0);
}

QTEST_GUILESS_MAIN(TestPinMenus)
#include "tst_pinmenus.moc"
