#include "chipfacts.h"
#include "pindescriptions.h"

#include <QRegularExpression>
#include <QtTest>

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

QString portPinName(int index)
{
    return QStringLiteral("P%1%2").arg(QChar('A' + index / 16)).arg(index % 16);
}

// Every SPI and serial signal that the pin menus must offer, with its pin.
struct Placed
{
    const char *pin;
    const char *signal;
};

const Placed kGroupSignalsF103[] = {
    {"PA5", "SPI1_SCK"},   {"PA6", "SPI1_MISO"},  {"PA7", "SPI1_MOSI"},  {"PB13", "SPI2_SCK"},
    {"PB14", "SPI2_MISO"}, {"PB15", "SPI2_MOSI"}, {"PB3", "SPI3_SCK"},   {"PB4", "SPI3_MISO"},
    {"PB5", "SPI3_MOSI"},  {"PA9", "USART1_TX"},  {"PA10", "USART1_RX"}, {"PA2", "USART2_TX"},
    {"PA3", "USART2_RX"},  {"PB10", "USART3_TX"}, {"PB11", "USART3_RX"}, {"PC10", "UART4_TX"},
    {"PC11", "UART4_RX"},  {"PC12", "UART5_TX"},  {"PD2", "UART5_RX"}};

const Placed kGroupSignalsF407[] = {
    {"PA5", "SPI1_SCK"},   {"PA6", "SPI1_MISO"},  {"PA7", "SPI1_MOSI"},  {"PB3", "SPI1_SCK"},
    {"PB4", "SPI1_MISO"},  {"PB5", "SPI1_MOSI"},  {"PB13", "SPI2_SCK"},  {"PB14", "SPI2_MISO"},
    {"PB15", "SPI2_MOSI"}, {"PB10", "SPI2_SCK"},  {"PC2", "SPI2_MISO"},  {"PC3", "SPI2_MOSI"},
    {"PC10", "SPI3_SCK"},  {"PC11", "SPI3_MISO"}, {"PC12", "SPI3_MOSI"}, {"PB3", "SPI3_SCK"},
    {"PB4", "SPI3_MISO"},  {"PB5", "SPI3_MOSI"},  {"PA9", "USART1_TX"},  {"PA10", "USART1_RX"},
    {"PA2", "USART2_TX"},  {"PA3", "USART2_RX"},  {"PD8", "USART3_TX"},  {"PD9", "USART3_RX"},
    {"PC10", "UART4_TX"},  {"PC11", "UART4_RX"},  {"PC12", "UART5_TX"},  {"PD2", "UART5_RX"},
    {"PC6", "USART6_TX"},  {"PC7", "USART6_RX"},  {"PB6", "USART1_TX"},  {"PB7", "USART1_RX"},
    {"PD5", "USART2_TX"},  {"PD6", "USART2_RX"},  {"PB10", "USART3_TX"}, {"PB11", "USART3_RX"},
    {"PA0", "UART4_TX"},   {"PA1", "UART4_RX"},   {"PG14", "USART6_TX"}, {"PG9", "USART6_RX"}};

QStringList busPinNames(const CPinDescriptions &catalogue)
{
    QStringList names;
    for (const auto &pin : catalogue.externalBusPins())
        names << catalogue.pinNamesF407.value(pin.first);
    return names;
}

} // namespace

class TestPinData : public QObject
{
    Q_OBJECT
private slots:
    void tellingRowsOfTheF407Table();
    void groupSignalsSitAtTheirPins();
    void everyMenuFitsTwentyEntries();
    void f407NamesAreSpelledAsTheDatasheet();
    void externalRamEmptiesTheBusPins();
    void boot1AndOscillatorPins();
    void portPinIndexRule();
    void f103TableRows();
    void packageLists();
};

void TestPinData::tellingRowsOfTheF407Table()
{
    const QVector<QStringList> table = f407AlternateFunctionTable();
    QCOMPARE(table.size(), 112);
    auto row = [&](const QString &pin) { return table.at(CPinDescriptions::portPinIndex(pin)); };
    QCOMPARE(row("PA9"), QStringList({"USART1_TX", "TIM1_CH2", "I2C3_SMBA", "DCMI_D0", "EVENTOUT",
                                      "OTG_FS_VBUS"}));
    QCOMPARE(row("PB5"),
             QStringList({"I2C1_SMBA", "CAN2_RX", "OTG_HS_ULPI_D7", "ETH_PPS_OUT", "TIM3_CH2",
                          "SPI1_MOSI", "SPI3_MOSI", "DCMI_D10", "I2S3_SD", "EVENTOUT"}));
    QCOMPARE(row("PC10"), QStringList({"SPI3_SCK", "I2S3_CK", "UART4_TX", "SDIO_D2", "DCMI_D8",
                                       "USART3_TX", "EVENTOUT"}));
    QCOMPARE(row("PC12"), QStringList({"UART5_TX", "SDIO_CK", "DCMI_D9", "SPI3_MOSI", "I2S3_SD",
                                       "USART3_CK", "EVENTOUT"}));
    QCOMPARE(row("PG14"),
             QStringList({"FSMC_A25", "USART6_TX", "ETH_MII_TXD1", "ETH_RMII_TXD1", "EVENTOUT"}));
    QVERIFY(row("PB2").isEmpty());

    // The catalogue appends the common entries after the datasheet part.
    CPinDescriptions catalogue(false);
    QCOMPARE(catalogue.functionsOf(F407, "PA9"), row("PA9") + CPinDescriptions::commonFunctions());
    QCOMPARE(catalogue.alternateFunctionsOf(F407, "PG14"), row("PG14"));
}

void TestPinData::groupSignalsSitAtTheirPins()
{
    const QVector<QStringList> table = f407AlternateFunctionTable();
    for (bool ram : {false, true}) {
        CPinDescriptions catalogue(ram);
        const QStringList bus = busPinNames(catalogue);
        for (const Placed &p : kGroupSignalsF103) {
            const QStringList list = catalogue.functionsOf(F103, p.pin);
            QVERIFY2(list.contains(p.signal), p.pin);
        }
        for (const Placed &p : kGroupSignalsF407) {
            QVERIFY2(table.at(CPinDescriptions::portPinIndex(p.pin)).contains(p.signal), p.pin);
            const QStringList list = catalogue.functionsOf(F407, p.pin);
            if (ram && bus.contains(p.pin))
                QVERIFY2(list.isEmpty(), p.pin); // PD5, PD8, PD9 carry the memory bus
            else
                QVERIFY2(list.contains(p.signal), p.pin);
        }
    }
}

void TestPinData::everyMenuFitsTwentyEntries()
{
    const QVector<QStringList> table = f407AlternateFunctionTable();
    for (int i = 0; i < table.size(); ++i) {
        const QStringList &list = table.at(i);
        QVERIFY2(list.size() + CPinDescriptions::commonFunctions().size() <= 20,
                 qPrintable(portPinName(i)));
        QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
    }
    for (bool ram : {false, true}) {
        CPinDescriptions catalogue(ram);
        for (const QString &chip : {F103, F407})
            for (const QString &pin : catalogue.pinNames(chip))
                QVERIFY2(catalogue.functionsOf(chip, pin).size() <= 20, qPrintable(pin));
    }
}

void TestPinData::f407NamesAreSpelledAsTheDatasheet()
{
    // Combined ADC inputs, short USB names and no GPIO, EXTI or tool-only entries.
    const QRegularExpression singleAdc("^ADC[12]_IN");
    const QVector<QStringList> table = f407AlternateFunctionTable();
    for (int i = 0; i < table.size(); ++i) {
        for (const QString &name : table.at(i)) {
            const QByteArray where = (portPinName(i) + ": " + name).toUtf8();
            QVERIFY2(!name.startsWith("USB_") && !name.startsWith("SYS_") &&
                         !name.startsWith("RCC_") && !name.contains("EXTI") && name != "GPIO" &&
                         !singleAdc.match(name).hasMatch() && !name.contains("FSMC_DA"),
                     where.constData());
        }
    }
    auto row = [&](const QString &pin) { return table.at(CPinDescriptions::portPinIndex(pin)); };
    QVERIFY(row("PA0").contains("ADC123_IN0"));
    QVERIFY(row("PA4").contains("ADC12_IN4"));
    QVERIFY(row("PF3").contains("ADC3_IN9"));
    QVERIFY(row("PA5").contains("TIM2_CH1_ETR"));
    QVERIFY(row("PA11").contains("OTG_FS_DM"));
    QVERIFY(row("PA7").contains("ETH_RMII_CRS_DV"));
    QVERIFY(row("PF9").contains("ADC3_IN7"));
    QVERIFY(!row("PF9").contains("DAC_EXTI9"));
}

void TestPinData::externalRamEmptiesTheBusPins()
{
    CPinDescriptions without(false);
    CPinDescriptions with(true);
    const QStringList bus = busPinNames(with);
    QCOMPARE(bus.size(), 40);
    QCOMPARE(QSet<QString>(bus.begin(), bus.end()).size(), 40);
    const QStringList common = CPinDescriptions::commonFunctions();
    for (const QString &pin : bus) {
        QVERIFY2(with.functionsOf(F407, pin).isEmpty(), qPrintable(pin));
        const QStringList list = without.functionsOf(F407, pin);
        QVERIFY2(list.mid(list.size() - common.size()) == common, qPrintable(pin));
    }
    QCOMPARE(with.externalBusPins().first(), qMakePair(84, QString("FSMC_D0"))); // pin 85 = PD14
    QCOMPARE(with.pinNamesF407.at(84), QString("PD14"));

    // Every other port pin is unaffected by the flag, and F103 too.
    for (int i = 0; i < 112; ++i) {
        const QString pin = portPinName(i);
        if (!bus.contains(pin))
            QCOMPARE(with.functionsOf(F407, pin), without.functionsOf(F407, pin));
    }
    for (const QString &pin : with.pinNamesF103)
        QCOMPARE(with.functionsOf(F103, pin), without.functionsOf(F103, pin));
    QVERIFY(with.functionsOf(F407, "PE7").isEmpty());
    QCOMPARE(without.functionsOf(F407, "PE7").mid(0, 3),
             QStringList({"FSMC_D4", "TIM1_ETR", "EVENTOUT"}));
}

void TestPinData::boot1AndOscillatorPins()
{
    for (bool ram : {false, true}) {
        CPinDescriptions catalogue(ram);
        QVERIFY(catalogue.functionsOf(F103, "PB2").isEmpty());
        QVERIFY(catalogue.functionsOf(F407, "PB2").isEmpty());
        QVERIFY(catalogue.functionsOf(F103, "PD0").isEmpty());
        QVERIFY(catalogue.functionsOf(F103, "PD1").isEmpty());
        QVERIFY(catalogue.functionsOf(F407, "PH0").isEmpty());
        QVERIFY(catalogue.functionsOf(F407, "PH1").isEmpty());
        // On F407 PD0/PD1 are ordinary port pins, part of the memory bus.
        QCOMPARE(catalogue.functionsOf(F407, "PD0").isEmpty(), ram);
        QCOMPARE(catalogue.functionsOf(F407, "PD1").isEmpty(), ram);
    }
}

void TestPinData::portPinIndexRule()
{
    QCOMPARE(CPinDescriptions::portPinIndex("PA0"), 0);
    QCOMPARE(CPinDescriptions::portPinIndex("PA15"), 15);
    QCOMPARE(CPinDescriptions::portPinIndex("PB2"), 18);
    QCOMPARE(CPinDescriptions::portPinIndex("PD2"), 50);
    QCOMPARE(CPinDescriptions::portPinIndex("PG15"), 111);
    QVERIFY(CPinDescriptions::portPinIndex("PH0") >= 112);
    QVERIFY(CPinDescriptions::portPinIndex("VDD") >= 112);
    QVERIFY(CPinDescriptions::portPinIndex("") >= 112);
    QVERIFY(CPinDescriptions::portPinIndex("PA") >= 112);
    QVERIFY(CPinDescriptions::portPinIndex("PAx") >= 112);
    QVERIFY(CPinDescriptions::portPinIndex("PA16") >= 112);

    CPinDescriptions catalogue(false);
    QVERIFY(catalogue.functionsOf(F407, "VDD").isEmpty());
    QVERIFY(catalogue.functionsOf(F407, "VREF+").isEmpty());
    // Indexes beyond PD2 do not exist on F103.
    QVERIFY(catalogue.functionsOf(F103, "PD3").isEmpty());
    QVERIFY(catalogue.functionsOf(F103, "PE0").isEmpty());
    QVERIFY(catalogue.functionsOf("STM32F100", "PA0").isEmpty());
}

void TestPinData::f103TableRows()
{
    CPinDescriptions catalogue(false);
    QCOMPARE(catalogue.portPinFunctionsF103.size(), 51);
    QCOMPARE(
        catalogue.alternateFunctionsOf(F103, "PA0"),
        QStringList({"WKUP", "USART2_CTS", "ADC123_IN0", "TIM2_CH1_ETR", "TIM5_CH1", "TIM8_ETR"}));
    QCOMPARE(catalogue.alternateFunctionsOf(F103, "PB12"),
             QStringList({"SPI2_NSS", "I2S2_WS", "I2C2_SMBA", "USART3_CK", "TIM1_BKIN"}));
    QCOMPARE(catalogue.alternateFunctionsOf(F103, "PC13"), QStringList({"TAMPER-RTC"}));
    QCOMPARE(catalogue.alternateFunctionsOf(F103, "PC5"), QStringList({"ADC12_IN15"}));
    QCOMPARE(catalogue.functionsOf(F103, "PD2"), QStringList({"TIM3_ETR", "UART5_RX", "SDIO_CMD"}) +
                                                     CPinDescriptions::commonFunctions());
    QCOMPARE(CPinDescriptions::commonFunctions(),
             QStringList({"Normal_DI", "Normal_DO", "EXIT", "SYS_INIT", "SYS_RunLed",
                          "SYS_FaultLed", "SYS_WatchDog", "ClearPin"}));
    for (int i = 0; i < 51; ++i) {
        const QStringList list = catalogue.portPinFunctionsF103.at(i);
        const bool bare = i == 18 || i == 48 || i == 49;
        QCOMPARE(list.isEmpty(), bare);
        if (!bare)
            QVERIFY(list.endsWith("ClearPin") && list.contains("Normal_DI"));
    }
}

void TestPinData::packageLists()
{
    CPinDescriptions catalogue(false);
    const QStringList f103 = catalogue.pinNames(F103);
    const QStringList f407 = catalogue.pinNames(F407);
    QCOMPARE(f103.size(), 64);
    QCOMPARE(f407.size(), 144);
    QCOMPARE(catalogue.pinCount(F103), 64);
    QCOMPARE(catalogue.pinCount(F407), 144);
    QCOMPARE(f103.at(0), QString("VBAT"));
    QCOMPARE(f103.at(8), QString("PC1"));
    QCOMPARE(f103.at(16), QString("PA3"));
    QCOMPARE(f103.at(32), QString("PB12"));
    QCOMPARE(f103.at(48), QString("PA14"));
    QCOMPARE(f103.at(59), QString("BOOT0"));
    QCOMPARE(f103.at(63), QString("VDD3"));
    QCOMPARE(f407.at(0), QString("PE2"));
    QCOMPARE(f407.at(22), QString("PH0"));
    QCOMPARE(f407.at(47), QString("PB2"));
    QCOMPARE(f407.at(128), QString("PG14"));
    QCOMPARE(f407.at(137), QString("BOOT0"));
    QCOMPARE(f407.at(142), QString("PDR_ON"));
    QCOMPARE(f407.at(143), QString("VDD"));

    // Every port pin of F407 appears once in the package, PH0/PH1 aside.
    for (int i = 0; i < 112; ++i)
        QCOMPARE(f407.count(portPinName(i)), 1);

    QVector<int> power;
    for (int n : {1, 12, 13, 18, 19, 31, 32, 47, 48, 63, 64})
        power << n - 1;
    QCOMPARE(catalogue.powerPins(F103), power);
    power.clear();
    for (int n : {6,  16, 17, 30, 31, 32,  33,  38,  39,  51,  52,  61,  62,  71,
                  72, 83, 84, 94, 95, 106, 107, 108, 120, 121, 130, 131, 143, 144})
        power << n - 1;
    QCOMPARE(catalogue.powerPins(F407), power);
}

QTEST_GUILESS_MAIN(TestPinData)
#include "tst_pindata.moc"
