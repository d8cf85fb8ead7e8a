#pragma once

#include "pindescriptions.h"

#include <QString>
#include <QStringList>
#include <QVector>

// What the program knows about the two chips of the controller, each fact
// written here once: the models, their codes on the serial line, package
// sizes, the pins of every serial and SPI port, the pins that can carry a
// chip select, and which table a pin function belongs to. Every other file
// asks here.
namespace ChipFacts {

inline const QString F103 = QStringLiteral("STM32F103RE");
inline const QString F407 = QStringLiteral("STM32F407ZG");

// The known models, in the order lists offer them.
const QStringList &models();
bool isKnown(const QString &model);
// Package pins: 64, 144; 0 for an unknown model.
constexpr int pinCountF103 = 64;
constexpr int pinCountF407 = 144;
int pinCount(const QString &model);
// The chip's code in transfer frames: 0x01, 0x10; 0x00 for an unknown model.
quint8 code(const QString &model);
// Only the STM32F407ZG has a memory bus for external RAM.
bool hasExternalBus(const QString &model);

// The serial ports USART1, USART2, USART3, UART4, UART5, USART6 and the SPI
// ports SPI1..SPI3, in table order.
const QStringList &serialPorts();
const QStringList &spiPorts();

// One set of pins a serial port (TX, RX) or an SPI port (SCK, MISO, MOSI)
// can sit on. Variant 'A' is the port's first set of pins, 'B' its
// alternative set (STM32F407ZG only).
struct PortGroup
{
    QString port;
    QChar variant;
    QStringList pins;
    QStringList signalNames; // "USART1_TX", "USART1_RX"; "SPI1_SCK", ...
};
// Every first group in port order, then every alternative group.
QVector<PortGroup> serialGroups(const QString &model);
QVector<PortGroup> spiGroups(const QString &model);
// The first and the alternative group of one port; variant 'A' or 'B'. An
// empty group (no pins) when the chip has no such port or set of pins.
PortGroup serialGroup(const QString &model, int port, QChar variant); // port 1..6
PortGroup spiGroup(const QString &model, int port, QChar variant);    // port 1..3

// Whether the chip has the peripheral a table sets up: every table but the
// serial port of a chip without it (the STM32F103RE has no USART6).
bool hasTable(const QString &model, CPinDescriptions::DlgType type);

// Port pins that never carry a chip select.
const QStringList &chipSelectExcluded();
// The chip-select function prefix of a table: "DI_CS" ... "AO_CS",
// "SPI1_CS" ... "SPI3_CS"; empty for tables without chip selects.
QString chipSelectPrefix(CPinDescriptions::DlgType type);
// The table whose chip-select prefix a function carries ("DI_CS3" -> DI,
// "SPI2_CS1" -> SPI2); DlgNone for other functions.
CPinDescriptions::DlgType chipSelectTableOf(const QString &function);

// The table a pin function is a row or a port of: Normal_DI -> DI, ADC... ->
// AI, USART2_TX -> USART2, SPI1_SCK -> SPI1, SYS_RunLed -> SYS; DlgNone for
// functions without a table, chip selects included.
CPinDescriptions::DlgType tableOf(const QString &function);

} // namespace ChipFacts
