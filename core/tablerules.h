#pragma once

#include "pindescriptions.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

// The rules behind the parameter tables that need no widgets: which pins a
// table shows, which pins a chip-select cell may offer, the serial and SPI pin
// groups, and the terminal ranges of the board tables.
namespace TableRules {

// The rows of the port tables: a serial port's TX and RX come first and its
// application last; an SPI port's SCK, MISO and MOSI come first, and film k
// (1..3) has its application in row 10 + 2k with its chip select below.
constexpr int usartPinRows = 2;
constexpr int usartApplicationRow = 6;
constexpr int spiPinRows = 3;
constexpr int spiFilmCount = 3;
constexpr int spiApplicationRow(int film)
{
    return 10 + 2 * film;
}
constexpr int spiChipSelectRow(int film)
{
    return 11 + 2 * film;
}
constexpr bool isSpiChipSelectRow(int row)
{
    return row > 12 && row % 2 == 1;
}

// Two films of an SPI port in use never share a chip select. Given the
// films' stored applications and chip-select pins (films 1..3; "0" or empty
// for none), the first other film in use on the same pin as `film` (1..3);
// 0 when there is none or `film` is not in use.
int filmSharingChipSelect(const QStringList &applications, const QStringList &pins, int film);

// Start terminals are 16-bit numbers on the controller, task numbers one byte.
constexpr int maxStartTerminal = 65535;
constexpr int maxTaskNumber = 255;
// The largest number of a row table's number column: an interrupt's task
// number, any other table's start terminal.
constexpr int numberMaximum(CPinDescriptions::DlgType type)
{
    return type == CPinDescriptions::DlgEXIT ? maxTaskNumber : maxStartTerminal;
}
// Why the number of a row (1-based) cannot be stored, naming the table, the
// row and the column; empty when it can.
QString numberProblem(CPinDescriptions::DlgType type, int row, const QString &columnTitle,
                      const QString &value);

// The pins that become the rows of a row table (DI, DO, AI, AO, EXIT, SYS), in
// chip-pin order, with each pin's function text.
struct TableRows
{
    QStringList pins;
    QStringList functions;
};
TableRows rowsOfTable(CPinDescriptions::DlgType type, const QStringList &pinNames,
                      const QStringList &pinFunctions);

// Port pins that may serve as chip selects of a kind, in chip-pin order: free
// pins and pins already carrying that kind's chip-select function. PB2, PD0,
// PD1 and PDR_ON are never offered.
QStringList chipSelectCandidates(const QStringList &pinNames, const QStringList &pinFunctions,
                                 const QString &chipSelectName);

// Groups pins by port (PA first, PG last) and sorts each port by pin number.
// Names outside PA..PG are dropped.
QStringList groupedByPort(const QStringList &pins);

// The pins of a serial or SPI port as the table shows them. `names` always
// holds one entry per signal (empty texts when the port is not assigned).
struct PortPins
{
    QStringList names;
    bool assigned = false;
};
// port: 1..6 (USART1, USART2, USART3, UART4, UART5, USART6) -> TX, RX.
PortPins usartPins(const QString &chipModel, int port, const QStringList &pinNames,
                   const QStringList &pinFunctions);
// port: 1..3 -> SCK, MISO, MOSI.
PortPins spiPins(const QString &chipModel, int port, const QStringList &pinNames,
                 const QStringList &pinFunctions);

// The enable options a row offers: "同上" (the row above's chip selects)
// only below the first row.
constexpr int enableOptionCount(int row, int count)
{
    return row > 0 ? count : (count < 2 ? count : 2);
}

// Whether bit `bit` (0..3) of a board row can be chosen: the row's chip
// selects are on and every bit below it has a pin. bitsLowFirst: bit 0 first.
bool bitChoosable(const QStringList &bitsLowFirst, bool enabled, int bit, const QString &none);

// Number of chip-select bits a board row uses, from its bit texts (bit 3
// first): bits are filled from bit 0 upward, so the highest used bit counts.
int usedBits(const QStringList &bitTextsHighFirst, const QString &noneText);

// The chip-select bits of a board row are used from bit 0 upward, and none
// while the row's chip selects are off: every bit above the first one at
// `none` (all of them when off) becomes `none`. bitsLowFirst: bit 0 first.
void cascadeBits(QStringList &bitsLowFirst, bool enabled, const QString &none);

// The terminals a board row occupies: start .. start + 2^bits - 1.
struct TerminalRange
{
    int start = 0;
    int bits = 0;
    int end() const { return start + (1 << bits) - 1; }
};
bool rangesOverlap(const TerminalRange &a, const TerminalRange &b);
// The first start behind every earlier row (never before the first row's start).
int correctedStart(const QVector<TerminalRange> &rows, int row);
// Compares every row with each earlier row; for an overlap asks
// askToCorrect(row, earlierRow) (0-based) and, when it agrees, moves the row
// to correctedStart(). Returns the number of overlaps found.
int checkStartTerminals(QVector<TerminalRange> &rows,
                        const std::function<bool(int row, int earlierRow)> &askToCorrect);

// A decimal whole number within [minimum, maximum], nothing else (no sign,
// no blanks).
bool parseWholeNumber(const QString &text, int minimum, int maximum, int *value = nullptr);
// Four dot-separated decimal parts, each 0..255.
bool isDottedAddress(const QString &text);

} // namespace TableRules
