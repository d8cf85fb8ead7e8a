#pragma once

#include "pindescriptions.h"
#include "projectdata.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>

// One value cell of a table as the window shows it.
struct DraftCell
{
    enum Kind
    {
        Fixed,     // a pin name or a system pin's function: not editable
        Options,   // an option index into `entries`
        Number,    // a start terminal or a task number, typed
        ChipSelect // "0" for none or a pin name; `entries` starts with the none text
    };
    Kind kind = Fixed;
    QString key;         // the table's key of the cell ("Mode", "BaudRate", ...)
    QString value;       // the stored form: text, option index, "0" or a pin
    QStringList entries; // what the drop-down offers
    int index = -1;      // the entry shown; -1 while the drop-down is empty
    bool enabled = true;
    QString problem; // why the value cannot be confirmed; empty when it can
};

// A table as it stands: the project's values with the typed ones in their
// place and every rule applied. Row tables have one row per pin, one cell per
// column; the serial and SPI tables one row per parameter, one cell each.
struct DraftTable
{
    CPinDescriptions::DlgType type = CPinDescriptions::DlgNone;
    QStringList rowPins; // row tables: the pin of every row
    QVector<QVector<DraftCell>> rows;
    bool portAssigned = false; // serial and SPI: the port's pins carry its signals
    // What confirming stores.
    QStringList information;
    QStringList networkInformation;  // SPI: the lists of films 1, 2 and 3 in turn
    QStringList wirelessInformation; // serial: the eight sockets
    // The chip-select pins the cells show (none text where none): per row
    // bits 3..0, or films 1..3.
    QStringList chipSelects;

    const DraftCell *cell(int row, int column) const;
    bool operator==(const DraftTable &other) const;
};

// The table a user edits: what was typed into it and not yet confirmed, kept
// by what it belongs to (a row's pin and column, a port's parameter, a
// socket or film setting), never by row number. The table it shows is always
// derived anew from the project it follows, so typed values outlive pin
// changes, undo and rebuilt windows: a value of a row that went away comes
// back with the row. Confirming hands out the lists; giving up forgets the
// typed values.
class TableDraft : public QObject
{
    Q_OBJECT
public:
    explicit TableDraft(QObject *parent = nullptr);

    CPinDescriptions::DlgType type() const { return kind; }
    bool isOpen() const { return kind != CPinDescriptions::DlgNone; }

    // Starts editing a table; another table's typed values are given up.
    void open(CPinDescriptions::DlgType type);
    // Ends editing: the typed values are given up.
    void close();
    // The project changed (a pin, an undo, a confirmed table, a new
    // language): the table follows it, the typed values stay.
    void follow(const ProjectData &project);
    const ProjectData &project() const { return base; }

    // The table as it stands, and as the project alone makes it.
    const DraftTable &table() const { return shown; }
    DraftTable unedited() const;
    // True when what was typed changes the table.
    bool hasEdits() const;
    // Typed values whose row or port is gone count as well: they come back.
    bool holdsTypedValues() const { return !typed.isEmpty(); }

    // The user chose or typed a value (the stored form, as DraftCell::value)
    // in a cell. "同上" takes the chip selects of the row above.
    void setValue(int row, int column, const QString &value);
    // The wireless sockets or a film's network settings as their window
    // confirmed them (alternating keys and values).
    void setSettings(const QStringList &keysAndValues);
    // A settings window opened on the table: what it hands over goes into
    // the draft as it is typed. Giving the window up brings back the
    // settings it found; the table's own typed values stay.
    void beginSettings();
    void cancelSettings();
    // The eight sockets of the serial port as they stand; their first
    // settings when the port never had them set.
    QStringList sockets() const;
    // A film's (1..3) network list as it stands.
    QStringList filmNetwork(int film) const;
    // The film (1..3) or port application in its option list; -1 when none.
    int filmApplication(int film) const;
    int portApplication() const;

    // The first value that cannot be confirmed, with the words saying why.
    QString firstProblem(int *row = nullptr, int *column = nullptr) const;
    // Two rows of a board table whose terminals overlap (rows 0-based): the
    // row's start, and the start behind the rows before it.
    struct Overlap
    {
        int row = 0;
        int earlierRow = 0;
        int start = 0;
        int corrected = 0;
    };
    // Board tables: compares every row's terminals with the rows before it;
    // for an overlap asks askToCorrect and, when it agrees, moves the row to
    // the corrected start. Returns the overlaps found.
    int checkStartTerminals(const std::function<bool(const Overlap &)> &askToCorrect);

    // The chip selects the project's own list shows (handed to the drawing
    // with the chosen ones on confirming).
    QStringList storedChipSelects() const;

signals:
    // The shown table changed: another table, typed values or the project.
    void changed();

private:
    void rebuild();
    DraftTable derive(bool withTyped) const;
    DraftTable deriveRows(bool withTyped) const;
    DraftTable derivePort(bool withTyped) const;
    QString anchor(int row, int column) const;

    CPinDescriptions::DlgType kind = CPinDescriptions::DlgNone;
    ProjectData base;
    QHash<QString, QString> typed;
    QHash<QString, QString> settingsFound; // typed settings when a window opened
    DraftTable shown;
};
