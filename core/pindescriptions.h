#pragma once

#include "dlgdescription.h"

#include <QObject>
#include <QStringList>
#include <QVector>

// Fixed knowledge about the two supported chips: package pin lists, the
// functions each port pin may carry, and the names the rest of the program
// compares against. Built entirely in the constructor.
class CPinDescriptions : public QObject
{
    Q_OBJECT
public:
    enum DlgType
    {
        DlgNone = 0,
        DlgDI = 1,
        DlgDO = 2,
        DlgAI = 3,
        DlgAO = 4,
        DlgEXIT = 5,
        DlgUSART1 = 6,
        DlgUSART2 = 7,
        DlgUSART3 = 8,
        DlgUART4 = 9,
        DlgUART5 = 10,
        DlgUSART6 = 11,
        DlgSPI1 = 12,
        DlgSPI2 = 13,
        DlgSPI3 = 14,
        DlgSYS = 15
    };
    Q_ENUM(DlgType)

    explicit CPinDescriptions(bool useExternalRam, QObject *parent = nullptr);

    // Port-pin index: "PA".."PG" give 0, 16, ..., 96 plus the pin number;
    // anything else gives 112 or more (no function list).
    static int portPinIndex(const QString &pinName);

    // The package pin names of a chip model, pin 1 first; empty for an unknown model.
    QStringList pinNames(const QString &chipModel) const;
    int pinCount(const QString &chipModel) const;
    // Selectable functions of a pin (datasheet part, then the eight common
    // entries); empty for power, fixed and unknown pins.
    QStringList functionsOf(const QString &chipModel, const QString &pinName) const;
    // Only the datasheet alternate functions of a pin (without the common entries).
    QStringList alternateFunctionsOf(const QString &chipModel, const QString &pinName) const;
    bool isKnownChip(const QString &chipModel) const;
    bool useExternalRam() const { return externalRam; }

    // Fixed pin functions and external-bus functions as (0-based pin index, function).
    QVector<QPair<int, QString>> fixedPins(const QString &chipModel) const;
    QVector<QPair<int, QString>> externalBusPins() const; // STM32F407ZG only
    // Power and supply pins (0-based indexes) of a chip model.
    QVector<int> powerPins(const QString &chipModel) const;

    QStringList pinNamesF103;
    QVector<QStringList> portPinFunctionsF103; // 51 lists
    QStringList pinNamesF407;
    QVector<QStringList> portPinFunctionsF407; // 112 lists
    CDlgDescription descriptions;

    // Chip models.
    const QString chipF103; // the models as ChipFacts names them
    const QString chipF407;
    // Pin functions.
    const QString normalDI = QStringLiteral("Normal_DI");
    const QString normalDO = QStringLiteral("Normal_DO");
    const QString adc = QStringLiteral("ADC");
    const QString dac = QStringLiteral("DAC");
    const QString exit = QStringLiteral("EXIT");
    const QString clearPin = QStringLiteral("ClearPin");
    const QString sysInit = QStringLiteral("SYS_INIT");
    const QString sysRunLed = QStringLiteral("SYS_RunLed");
    const QString sysFaultLed = QStringLiteral("SYS_FaultLed");
    const QString sysWatchDog = QStringLiteral("SYS_WatchDog");
    // Chip selects.
    QStringList spiChipSelects;   // SPI1_CS1 .. SPI3_CS3
    QStringList boardChipSelects; // DI_CS1..4, DO_CS1..4, AI_CS1..4, AO_CS1..4
    // Fixed pins.
    const QString ocsIn = QStringLiteral("OCS_IN");
    const QString ocsOut = QStringLiteral("OCS_OUT");
    const QString nrst = QStringLiteral("NRST");
    const QString boot1 = QStringLiteral("BOOT1");
    const QString boot0 = QStringLiteral("BOOT0");
    QStringList externalBusNames; // FSMC_A0..A18, NE4, NWE, NOE, NBL0, NBL1, D0..D15
    // Project sections.
    const QString sectionChip = QStringLiteral("CHIP");
    const QString sectionChipModel = QStringLiteral("CHIPMODEL");
    const QString sectionFsmc = QStringLiteral("FSMC");
    const QString sectionDesc = QStringLiteral("DESC");
    const QString sectionDI = QStringLiteral("DI");
    const QString sectionDO = QStringLiteral("DO");
    const QString sectionAI = QStringLiteral("AI");
    const QString sectionAO = QStringLiteral("AO");
    const QString sectionExit = QStringLiteral("EXIT");
    QStringList sectionUsart;    // USART1..USART6
    QStringList sectionWireless; // USART1_WIRELESSMODBULE..USART6_WIRELESSMODBULE
    QStringList sectionSpi;      // SPI1..SPI3
    const QString sectionSys = QStringLiteral("SYS");
    QStringList sectionNetwork; // SPI1_NETWORK..SPI3_NETWORK
    // Peripheral names.
    QStringList usartNames; // USART1 USART2 USART3 UART4 UART5 USART6
    const QString usart = QStringLiteral("USART");
    const QString uart = QStringLiteral("UART");
    QStringList spiNames; // SPI1 SPI2 SPI3
    const QString spi = QStringLiteral("SPI");
    QStringList timerNames; // TIM1..TIM8
    const QString sys = QStringLiteral("SYS");
    // Serial and SPI signals.
    QStringList usartTxNames;
    QStringList usartRxNames;
    QStringList spiSckNames;
    QStringList spiMisoNames;
    QStringList spiMosiNames;
    const QString sck = QStringLiteral("SCK");
    const QString miso = QStringLiteral("MISO");
    const QString mosi = QStringLiteral("MOSI");

    static QStringList commonFunctions();

private:
    bool externalRam;
};

// Datasheet alternate functions of STM32F407ZG (LQFP144), PA0..PG15 (112 lists).
QVector<QStringList> f407AlternateFunctionTable();
