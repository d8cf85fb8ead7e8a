#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Byte layout of the configuration table shared by the generator and the
// reader: section order and tags, row and record sizes, the option codes of
// both chips and the walk that splits a transfer-form table into sections.
namespace TableLayout {

enum Section
{
    Fsmc,
    DI,
    DO,
    AI,
    AO,
    Exit,
    Usart1,
    Usart2,
    Usart3,
    Usart4,
    Usart5,
    Usart6,
    Spi1,
    Spi2,
    Spi3,
    Sys,
    SectionCount
};

// The tag as written in the table ("FSMC", "DI", ..., "USART4", "SYS").
QByteArray tag(int section);
QString sectionName(int section);
bool isRowSection(int section);
// Declared row size of a row section (34, 35, 33, 33, 12, 9), 0 for others.
int rowSize(int section);

constexpr int pinFieldSize = 6;
constexpr int usartFixedSize = 22;
constexpr int socketCount = 8;
constexpr char socketMarker = '6';
// A socket: its application digit (absent when none is chosen), the marker,
// then the address (4 bytes) and the port (LE16).
constexpr int socketAddressSize = 6;
constexpr int socketMaxSize = 2 + socketAddressSize;
constexpr int spiRecordSize = 152;
constexpr int filmCount = 3;
constexpr int filmBlockSize = 39;
constexpr int networkBlockSize = 32;
constexpr int maxRows = 255;

// Where one section's body lies in a transfer-form table: bytes [begin, end).
struct SectionSpan
{
    int section = -1;
    int begin = 0;
    int end = 0;
};

// Walks a transfer-form table section by section, in table order, by the
// length-prefixed tags. Every section is there (the generator always writes
// all sixteen), in order, each once; the SYS section closes the table. After
// it only padding may follow: a run of 0xFF or of 0x00 bytes, as a controller
// sends that rounds the table up to its flash write unit. Every count and size
// is checked against the bytes left; the spans returned lie inside the table
// and never cover the padding.
bool splitSections(const QByteArray &table, QVector<SectionSpan> *spans, QString *error);

// The length of the largest table the generator can write: every row section
// with its most rows, every serial port with all its sockets, every SPI port
// configured.
int maxTableSize();

// GPIO port base address of a port index (1 = port A) on a chip; false for
// an unknown chip or a port the chip's address map does not have.
bool portBase(const QString &chipModel, int portIndex, quint32 *base);
// Highest port index of a chip's address map (7 = G, 11 = K), 0 when unknown.
int lastPortIndex(const QString &chipModel);

// Option codes, indexed by the option index stored in the project. Chip
// dependent lists are empty for an unknown chip.
QVector<int> inputModeCodes(const QString &chipModel);
QVector<int> outputModeCodes(const QString &chipModel);
QVector<int> speedCodes(const QString &chipModel);
QVector<int> triggerModeCodes();
QVector<int> triggerWayCodes();
QVector<int> baudRates();
QVector<int> dataBitCodes();
QVector<int> stopBitCodes();
QVector<int> parityCodes();
QVector<int> portApplicationCodes();
QVector<int> spiDirectionCodes();
QVector<int> spiModeCodes();
QVector<int> spiDataSizeCodes();
QVector<int> spiPolarityCodes();
QVector<int> spiPhaseCodes();
QVector<int> spiChipSelectCodes();
QVector<int> spiPrescalerCodes();
QVector<int> spiFirstBitCodes();
QVector<int> spiCrcCodes();
QVector<int> filmApplicationCodes();
// Function texts of the SYS table, code 1 first.
QStringList systemFunctions();
// Number of socket applications (the socket application index runs below it).
constexpr int socketApplicationCount = 4;

// The option index whose code is `code` (the last one when several share a
// code), or -1.
int optionOf(const QVector<int> &codes, int code);

} // namespace TableLayout
