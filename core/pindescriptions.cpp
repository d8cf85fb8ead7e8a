#include "pindescriptions.h"

#include "chipfacts.h"

namespace {

const char *const kPinsF103[] = {
    "VBAT", "PC13", "PC14", "PC15", "PD0",   "PD1",  "NRST", "PC0",  "PC1",  "PC2",  "PC3",
    "VSSA", "VDDA", "PA0",  "PA1",  "PA2",   "PA3",  "VSS4", "VDD4", "PA4",  "PA5",  "PA6",
    "PA7",  "PC4",  "PC5",  "PB0",  "PB1",   "PB2",  "PB10", "PB11", "VSS1", "VDD1", "PB12",
    "PB13", "PB14", "PB15", "PC6",  "PC7",   "PC8",  "PC9",  "PA8",  "PA9",  "PA10", "PA11",
    "PA12", "PA13", "VSS2", "VDD2", "PA14",  "PA15", "PC10", "PC11", "PC12", "PD2",  "PB3",
    "PB4",  "PB5",  "PB6",  "PB7",  "BOOT0", "PB8",  "PB9",  "VSS3", "VDD3"};

const char *const kPinsF407[] = {
    "PE2",  "PE3",  "PE4",  "PE5",  "PE6",    "VBAT",  "PC13",   "PC14", "PC15", "PF0",   "PF1",
    "PF2",  "PF3",  "PF4",  "PF5",  "VSS",    "VDD",   "PF6",    "PF7",  "PF8",  "PF9",   "PF10",
    "PH0",  "PH1",  "NRST", "PC0",  "PC1",    "PC2",   "PC3",    "VDD",  "VSSA", "VREF+", "VDDA",
    "PA0",  "PA1",  "PA2",  "PA3",  "VSS",    "VDD",   "PA4",    "PA5",  "PA6",  "PA7",   "PC4",
    "PC5",  "PB0",  "PB1",  "PB2",  "PF11",   "PF12",  "VSS",    "VDD",  "PF13", "PF14",  "PF15",
    "PG0",  "PG1",  "PE7",  "PE8",  "PE9",    "VSS",   "VDD",    "PE10", "PE11", "PE12",  "PE13",
    "PE14", "PE15", "PB10", "PB11", "VCAP_1", "VDD",   "PB12",   "PB13", "PB14", "PB15",  "PD8",
    "PD9",  "PD10", "PD11", "PD12", "PD13",   "VSS",   "VDD",    "PD14", "PD15", "PG2",   "PG3",
    "PG4",  "PG5",  "PG6",  "PG7",  "PG8",    "VSS",   "VDD",    "PC6",  "PC7",  "PC8",   "PC9",
    "PA8",  "PA9",  "PA10", "PA11", "PA12",   "PA13",  "VCAP_2", "VSS",  "VDD",  "PA14",  "PA15",
    "PC10", "PC11", "PC12", "PD0",  "PD1",    "PD2",   "PD3",    "PD4",  "PD5",  "VSS",   "VDD",
    "PD6",  "PD7",  "PG9",  "PG10", "PG11",   "PG12",  "PG13",   "PG14", "VSS",  "VDD",   "PG15",
    "PB3",  "PB4",  "PB5",  "PB6",  "PB7",    "BOOT0", "PB8",    "PB9",  "PE0",  "PE1",   "PDR_ON",
    "VDD"};

// PA0..PA15, PB0..PB15, PC0..PC15, PD0..PD2 of STM32F103RE.
QVector<QStringList> f103AlternateFunctionTable()
{
    return {
        {"WKUP", "USART2_CTS", "ADC123_IN0", "TIM2_CH1_ETR", "TIM5_CH1", "TIM8_ETR"},
        {"USART2_RTS", "ADC123_IN1", "TIM5_CH2", "TIM2_CH2"},
        {"USART2_TX", "TIM5_CH3", "ADC123_IN2", "TIM2_CH3"},
        {"USART2_RX", "TIM5_CH4", "ADC123_IN3", "TIM2_CH4"},
        {"SPI1_NSS", "USART2_CK", "DAC_OUT1", "ADC12_IN4"},
        {"SPI1_SCK", "DAC_OUT2", "ADC12_IN5"},
        {"SPI1_MISO", "TIM8_BKIN", "ADC12_IN6", "TIM3_CH1"},
        {"SPI1_MOSI", "TIM8_CH1N", "ADC12_IN7", "TIM3_CH2"},
        {"USART1_CK", "TIM1_CH1", "MCO"},
        {"USART1_TX", "TIM1_CH2"},
        {"USART1_RX", "TIM1_CH3"},
        {"USART1_CTS", "USBDM", "CAN_RX", "TIM1_CH4"},
        {"USART1_RTS", "USBDP", "CAN_TX", "TIM1_ETR"},
        {"JTMS-SWDIO"},
        {"JTCK-SWCLK"},
        {"SPI3_NSS", "I2S3_WS"},
        // Port B
        {"ADC12_IN8", "TIM3_CH3", "TIM8_CH2N"},
        {"ADC12_IN9", "TIM3_CH4", "TIM8_CH3N"},
        {},
        {"SPI3_SCK", "I2S3_CK"},
        {"SPI3_MISO"},
        {"SPI3_MOSI", "I2C1_SMBA", "I2S3_SD"},
        {"I2C1_SCL", "TIM4_CH1"},
        {"I2C1_SDA", "FSMC_NADV", "TIM4_CH2"},
        {"TIM4_CH3", "SDIO_D4"},
        {"TIM4_CH4", "SDIO_D5"},
        {"I2C2_SCL", "USART3_TX"},
        {"I2C2_SDA", "USART3_RX"},
        {"SPI2_NSS", "I2S2_WS", "I2C2_SMBA", "USART3_CK", "TIM1_BKIN"},
        {"SPI2_SCK", "I2S2_CK", "USART3_CTS", "TIM1_CH1N"},
        {"SPI2_MISO", "TIM1_CH2N", "USART3_RTS"},
        {"SPI2_MOSI", "I2S2_SD", "TIM1_CH3N"},
        // Port C
        {"ADC123_IN10"},
        {"ADC123_IN11"},
        {"ADC123_IN12"},
        {"ADC123_IN13"},
        {"ADC12_IN14"},
        {"ADC12_IN15"},
        {"I2S2_MCK", "TIM8_CH1", "SDIO_D6"},
        {"I2S3_MCK", "TIM8_CH2", "SDIO_D7"},
        {"TIM8_CH3", "SDIO_D0"},
        {"TIM8_CH4", "SDIO_D1"},
        {"UART4_TX", "SDIO_D2"},
        {"UART4_RX", "SDIO_D3"},
        {"UART5_TX", "SDIO_CK"},
        {"TAMPER-RTC"},
        {"OSC32_IN"},
        {"OSC32_OUT"},
        // Port D
        {},
        {},
        {"TIM3_ETR", "UART5_RX", "SDIO_CMD"},
    };
}

const struct
{
    const char *pin;
    const char *function;
} kExternalBusF407[] = {
    {"PD14", "FSMC_D0"},  {"PD15", "FSMC_D1"},  {"PD0", "FSMC_D2"},   {"PD1", "FSMC_D3"},
    {"PE7", "FSMC_D4"},   {"PE8", "FSMC_D5"},   {"PE9", "FSMC_D6"},   {"PE10", "FSMC_D7"},
    {"PE11", "FSMC_D8"},  {"PE12", "FSMC_D9"},  {"PE13", "FSMC_D10"}, {"PE14", "FSMC_D11"},
    {"PE15", "FSMC_D12"}, {"PD8", "FSMC_D13"},  {"PD9", "FSMC_D14"},  {"PD10", "FSMC_D15"},
    {"PF0", "FSMC_A0"},   {"PF1", "FSMC_A1"},   {"PF2", "FSMC_A2"},   {"PF3", "FSMC_A3"},
    {"PF4", "FSMC_A4"},   {"PF5", "FSMC_A5"},   {"PF12", "FSMC_A6"},  {"PF13", "FSMC_A7"},
    {"PF14", "FSMC_A8"},  {"PF15", "FSMC_A9"},  {"PG0", "FSMC_A10"},  {"PG1", "FSMC_A11"},
    {"PG2", "FSMC_A12"},  {"PG3", "FSMC_A13"},  {"PG4", "FSMC_A14"},  {"PG5", "FSMC_A15"},
    {"PD11", "FSMC_A16"}, {"PD12", "FSMC_A17"}, {"PD13", "FSMC_A18"}, {"PG12", "FSMC_NE4"},
    {"PD5", "FSMC_NWE"},  {"PD4", "FSMC_NOE"},  {"PE0", "FSMC_NBL0"}, {"PE1", "FSMC_NBL1"}};

QStringList toList(const char *const *names, int count)
{
    QStringList list;
    list.reserve(count);
    for (int i = 0; i < count; ++i)
        list << QString::fromLatin1(names[i]);
    return list;
}

} // namespace

CPinDescriptions::CPinDescriptions(bool useExternalRam, QObject *parent)
    : QObject(parent), chipF103(ChipFacts::F103), chipF407(ChipFacts::F407),
      externalRam(useExternalRam)
{
    pinNamesF103 = toList(kPinsF103, int(sizeof kPinsF103 / sizeof *kPinsF103));
    pinNamesF407 = toList(kPinsF407, int(sizeof kPinsF407 / sizeof *kPinsF407));

    const QStringList common = commonFunctions();

    portPinFunctionsF103 = f103AlternateFunctionTable();
    for (int i = 0; i < portPinFunctionsF103.size(); ++i) {
        if (i == 18 || i == 48 || i == 49) // PB2 (BOOT1), PD0 and PD1 (oscillator)
            continue;
        portPinFunctionsF103[i] += common;
    }

    QStringList busPins;
    for (const auto &entry : kExternalBusF407)
        busPins << QString::fromLatin1(entry.pin);
    portPinFunctionsF407 = f407AlternateFunctionTable();
    portPinFunctionsF407.resize(112);
    for (int i = 0; i < portPinFunctionsF407.size(); ++i) {
        const QString name = QStringLiteral("P%1%2").arg(QChar('A' + i / 16)).arg(i % 16);
        if (i == 18 || (externalRam && busPins.contains(name)))
            portPinFunctionsF407[i].clear();
        else
            portPinFunctionsF407[i] += common;
    }

    for (int spiNo = 1; spiNo <= 3; ++spiNo)
        for (int cs = 1; cs <= 3; ++cs)
            spiChipSelects << QStringLiteral("SPI%1_CS%2").arg(spiNo).arg(cs);
    for (const char *board : {"DI", "DO", "AI", "AO"})
        for (int cs = 1; cs <= 4; ++cs)
            boardChipSelects << QStringLiteral("%1_CS%2").arg(QLatin1String(board)).arg(cs);
    for (int a = 0; a <= 18; ++a)
        externalBusNames << QStringLiteral("FSMC_A%1").arg(a);
    externalBusNames << "FSMC_NE4"
                     << "FSMC_NWE"
                     << "FSMC_NOE"
                     << "FSMC_NBL0"
                     << "FSMC_NBL1";
    for (int d = 0; d <= 15; ++d)
        externalBusNames << QStringLiteral("FSMC_D%1").arg(d);

    for (int n = 1; n <= 6; ++n) {
        sectionUsart << QStringLiteral("USART%1").arg(n);
        sectionWireless << QStringLiteral("USART%1_WIRELESSMODBULE").arg(n);
    }
    for (int n = 1; n <= 3; ++n) {
        sectionSpi << QStringLiteral("SPI%1").arg(n);
        sectionNetwork << QStringLiteral("SPI%1_NETWORK").arg(n);
    }
    usartNames = QStringList{"USART1", "USART2", "USART3", "UART4", "UART5", "USART6"};
    spiNames = QStringList{"SPI1", "SPI2", "SPI3"};
    for (int t = 1; t <= 8; ++t)
        timerNames << QStringLiteral("TIM%1").arg(t);
    for (const QString &port : qAsConst(usartNames)) {
        usartTxNames << port + "_TX";
        usartRxNames << port + "_RX";
    }
    for (const QString &port : qAsConst(spiNames)) {
        spiSckNames << port + "_SCK";
        spiMisoNames << port + "_MISO";
        spiMosiNames << port + "_MOSI";
    }
}

QStringList CPinDescriptions::commonFunctions()
{
    return QStringList{"Normal_DI",  "Normal_DO",    "EXIT",         "SYS_INIT",
                       "SYS_RunLed", "SYS_FaultLed", "SYS_WatchDog", "ClearPin"};
}

int CPinDescriptions::portPinIndex(const QString &pinName)
{
    static const QStringList ports{"PA", "PB", "PC", "PD", "PE", "PF", "PG"};
    const int port = ports.indexOf(pinName.left(2));
    if (port < 0)
        return 112;
    bool ok = false;
    const int number = pinName.mid(2).toInt(&ok);
    if (!ok || number < 0 || number > 15)
        return 112;
    return port * 16 + number;
}

bool CPinDescriptions::isKnownChip(const QString &chipModel) const
{
    return ChipFacts::isKnown(chipModel);
}

QStringList CPinDescriptions::pinNames(const QString &chipModel) const
{
    if (chipModel == chipF103)
        return pinNamesF103;
    if (chipModel == chipF407)
        return pinNamesF407;
    return {};
}

int CPinDescriptions::pinCount(const QString &chipModel) const
{
    return ChipFacts::pinCount(chipModel);
}

QStringList CPinDescriptions::functionsOf(const QString &chipModel, const QString &pinName) const
{
    const int index = portPinIndex(pinName);
    const QVector<QStringList> *table = nullptr;
    if (chipModel == chipF103)
        table = &portPinFunctionsF103;
    else if (chipModel == chipF407)
        table = &portPinFunctionsF407;
    if (!table || index < 0 || index >= table->size())
        return {};
    return table->at(index);
}

QStringList CPinDescriptions::alternateFunctionsOf(const QString &chipModel,
                                                   const QString &pinName) const
{
    QStringList list = functionsOf(chipModel, pinName);
    const QStringList common = commonFunctions();
    if (list.size() >= common.size() && list.mid(list.size() - common.size()) == common)
        list.erase(list.end() - common.size(), list.end());
    return list;
}

QVector<QPair<int, QString>> CPinDescriptions::fixedPins(const QString &chipModel) const
{
    if (chipModel == chipF103)
        return {{4, ocsIn}, {5, ocsOut}, {6, nrst}, {27, boot1}, {59, boot0}};
    if (chipModel == chipF407)
        return {{22, ocsIn}, {23, ocsOut}, {24, nrst}, {47, boot1}, {137, boot0}};
    return {};
}

QVector<QPair<int, QString>> CPinDescriptions::externalBusPins() const
{
    QVector<QPair<int, QString>> pins;
    for (const auto &entry : kExternalBusF407)
        pins.append({int(pinNamesF407.indexOf(QString::fromLatin1(entry.pin))),
                     QString::fromLatin1(entry.function)});
    return pins;
}

QVector<int> CPinDescriptions::powerPins(const QString &chipModel) const
{
    QVector<int> pins;
    if (chipModel == chipF103) {
        for (int number : {1, 12, 13, 18, 19, 31, 32, 47, 48, 63, 64})
            pins << number - 1;
    } else if (chipModel == chipF407) {
        static const QStringList supply{"VBAT", "VSS",    "VDD",    "VSSA",  "VREF+",
                                        "VDDA", "VCAP_1", "VCAP_2", "PDR_ON"};
        for (int i = 0; i < pinNamesF407.size(); ++i)
            if (supply.contains(pinNamesF407.at(i)))
                pins << i;
    }
    return pins;
}
