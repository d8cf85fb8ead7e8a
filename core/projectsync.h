#pragma once

#include "pindescriptions.h"
#include "projectdata.h"

#include <QHash>
#include <QStringList>

class PinBoard;
class TableDraft;

// The stored information lists always follow the drawing: each table's list
// is derived from the pins and the values stored for them, by the rules the
// table window applies when it is opened and confirmed. Nothing here asks
// anybody anything: a row the drawing adds takes defaults (its start
// terminal behind the rows before it), a stored value is kept as stored.
namespace ProjectSync {

// One table as the derivation sees it.
struct DerivedTable
{
    QStringList information; // the list the table would store
    // Board tables: the pin of every row and, per row, the chip-select pins
    // of bits 3..0 ("0" where none). SPI: the chip selects of films 1..3,
    // as the stored list showed them and as confirmed (none for a film
    // without an application).
    QStringList rowPins;
    QStringList shownChipSelects;
    QStringList chosenChipSelects;
    // SPI: the network list, film 1, 2 and 3 in turn.
    QStringList networkInformation;
    // Board and SPI tables: the pins a chip-select cell may offer.
    QStringList chipSelectCandidates;
};

// What a user typed into a table and has not confirmed: a row table's values
// by the row's pin and the column's key (cellKey), a port table's by key.
using TypedValues = QHash<QString, QString>;
QString cellKey(const QString &pin, const QString &key);

// The list of one table (DI..SYS) for the project's current pins; the
// project is not changed. With typed values, the table as it stands with
// them in their place: each rule is applied once, to stored and typed values
// alike. A typed start terminal stays where it was typed, and a typed chip
// select stays even where the pins no longer offer it (the table refuses it,
// saying why).
DerivedTable deriveTable(CPinDescriptions::DlgType type, const ProjectData &project,
                         const TypedValues &typed = TypedValues());

// The order in which refresh() derives the tables. The SPI tables come twice:
// their chip selects compete with those of the boards and their pins with
// the serial ports.
const QVector<CPinDescriptions::DlgType> &refreshOrder();

// Derives every table of the project in refresh order and places the chip
// selects each names on the board (freeing those no list names any more);
// project.pinFunctions follows the board. The board must hold the project's
// chip. Returns true when anything changed.
bool refresh(ProjectData &project, PinBoard &board);

// Confirms a table: the chip selects the open draft of that table shows
// land on the board first (none when `draft` is null or holds another
// table), then the lists are stored. The caller derives the project after.
void confirmTable(ProjectData &project, PinBoard &board, const TableDraft *draft,
                  CPinDescriptions::DlgType type, const QStringList &information,
                  const QStringList &networkInformation, const QStringList &wirelessInformation);

// Puts a project read from a file on a board of its chip: the file's pin
// functions where the drawing allows them (fixed and external-bus pins keep
// their own), the chip selects the lists name, then refresh(). Returns the
// chip-select pins that the file carried without a list naming them, freed,
// as "PB0 (SPI1_CS1)".
QStringList load(const ProjectData &file, ProjectData *project, PinBoard *board);

// The project as the window would hold it after opening the file: what every
// command builds its table, report and comparison from.
ProjectData current(const ProjectData &file);
// Reads a project file and returns current() of it.
bool readCurrent(const QString &filePath, ProjectData *project, QString *error = nullptr);

} // namespace ProjectSync
