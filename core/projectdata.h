#pragma once

#include "pindescriptions.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The project in memory: the chip, the pin functions and one information list
// (alternating key and value strings) per project-file section.
struct ProjectData
{
    QString currentChip;
    QStringList chipInformation;
    QStringList fsmcInformation;
    QStringList pinNames;     // package pin names, pin 1 first
    QStringList pinFunctions; // function text of each pin, " " when none
    QStringList diInformation;
    QStringList doInformation;
    QStringList aiInformation;
    QStringList aoInformation;
    QStringList exitInformation;
    std::array<QStringList, 6> usartInformation;
    std::array<QStringList, 6> wirelessInformation;
    std::array<QStringList, 3> spiInformation;
    std::array<QStringList, 3> networkInformation;
    QStringList sysInformation;

    bool useExternalRam() const;
    int pinCount() const { return pinNames.size(); }

    // A fresh project for a chip: the defaults a new project starts with.
    // Pin names come from the catalogue; pin functions are left empty (the
    // drawing fills them).
    static ProjectData fresh(const QString &chipModel, bool useExternalRam);
    // The network list of an SPI port in a fresh project: films 1..3,
    // automatic addressing, no addresses.
    static QStringList freshNetwork();

    // The information list of a table kind (DI..SYS), or nullptr for DlgNone.
    QStringList *tableList(CPinDescriptions::DlgType type);
    const QStringList *tableList(CPinDescriptions::DlgType type) const;

    bool operator==(const ProjectData &other) const;
    bool operator!=(const ProjectData &other) const { return !(*this == other); }
};

// Strings per row of the row tables (DI, DO, AI, AO, EXIT, SYS).
int stringsPerRow(CPinDescriptions::DlgType type);

// The keys of one row of a row table (DI, DO, AI, AO, EXIT, SYS), in the
// order the table writes them; empty for other kinds.
QStringList rowKeys(CPinDescriptions::DlgType type);

// What a column of a row table holds, by its key: the row's pin, the
// function text of a system pin, an option index, a start terminal or task
// number, the chip-select enable, or one chip-select bit.
enum class RowCell
{
    Pin,
    Description,
    Options,
    Number,
    Enable,
    Bit
};
RowCell rowCellOf(const QString &key);

// Reads of the information lists by key, never by position in the list.

// The value of key in an alternating key/value list; empty when absent.
QString valueOf(const QStringList &list, const QString &key);
// Sets the value of key; a key not in the list is appended with its value.
void setValueOf(QStringList &list, const QString &key, const QString &value);
// Lists of equal records (a row table: one record of `fields` keys a row; a
// port table: one key a row): the value of field `field` (0-based) of record
// `record` (0-based), empty when the list is shorter. Where a value stands
// is known here alone.
QString recordValue(const QStringList &list, int record, int field, int fields = 1);
// The number of whole records of `fields` keys in the list.
int recordCount(const QStringList &list, int fields);

// One row of a board table (DI, DO, AI, AO): its pin and the pins of its four
// chip-select bits, bit 3 first; an empty text where a bit has no pin.
struct ChipSelectRow
{
    QString pin;
    QStringList bitPins;
};
QVector<ChipSelectRow> chipSelectRows(const ProjectData &project, CPinDescriptions::DlgType type);

// The chip-select pins of the three films of an SPI port (1..3); an empty
// text where a film has none.
QStringList spiChipSelectPins(const ProjectData &project, int port);

// Every chip-select pin a table's list uses (board tables and SPI ports).
QStringList chipSelectPinsInUse(const ProjectData &project, CPinDescriptions::DlgType type);

// The network settings of one film (1..3) of an SPI port (1..3): its six
// keys and values, in the order the network dialog shows them.
QStringList networkBlock(const ProjectData &project, int port, int film);
