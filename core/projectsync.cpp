#include "projectsync.h"

#include "chipfacts.h"
#include "dlgdescription.h"
#include "pinrules.h"
#include "projectfile.h"
#include "projecttexts.h"
#include "tabledraft.h"
#include "tablerules.h"

#include <algorithm>

using D = CPinDescriptions;

namespace {

const QString kNone = QStringLiteral("0"); // a bit or film without a pin

// "0" stands for no pin in the lists; the board takes names only.
QStringList asPinNames(const QStringList &values)
{
    QStringList names;
    for (const QString &value : values)
        names << (value == kNone ? QString() : value);
    return names;
}

// The stored option index when it names an entry of a list of `count`,
// otherwise the fallback (what the list showed before).
QString storedIndex(const QString &stored, int count, const QString &fallback)
{
    int index = 0;
    return TableRules::parseWholeNumber(stored, 0, count - 1, &index) ? QString::number(index)
                                                                      : fallback;
}

// A stored pin is shown when it is among the offered pins; anything else
// shows (and stores) no pin.
QString storedPin(const QString &stored, const QStringList &offered)
{
    return stored != kNone && offered.contains(stored) ? stored : kNone;
}

using Cell = RowCell;

ProjectSync::DerivedTable deriveRowTable(D::DlgType type, const ProjectData &project,
                                         const CDlgDescription &text,
                                         const ProjectSync::TypedValues &typed)
{
    ProjectSync::DerivedTable derived;
    const QStringList keys = rowKeys(type);
    const int columns = int(keys.size());
    const TableRules::TableRows rows =
        TableRules::rowsOfTable(type, project.pinNames, project.pinFunctions);
    const QString prefix = ChipFacts::chipSelectPrefix(type);
    const QStringList offered =
        prefix.isEmpty()
            ? QStringList()
            : TableRules::chipSelectCandidates(project.pinNames, project.pinFunctions, prefix);
    const int pinColumn = int(keys.indexOf(QStringLiteral("Pin")));
    int enableColumn = -1;
    QVector<Cell> cells;
    QVector<int> optionCounts;
    for (int c = 0; c < columns; ++c) {
        cells << rowCellOf(keys.at(c));
        optionCounts << int(ProjectTexts::optionsOf(text, type, keys.at(c)).size());
        if (cells.last() == Cell::Enable)
            enableColumn = c;
    }

    // Defaults: options at their first entry, start terminals 1..N, no bits.
    QVector<QStringList> values;
    QVector<bool> restored(rows.pins.size(), false);
    for (int r = 0; r < rows.pins.size(); ++r) {
        QStringList row;
        for (int c = 0; c < columns; ++c) {
            switch (cells.at(c)) {
            case Cell::Pin:
                row << rows.pins.at(r);
                break;
            case Cell::Description:
                row << rows.functions.at(r);
                break;
            case Cell::Number:
                row << QString::number(r + 1);
                break;
            default:
                row << kNone;
                break;
            }
        }
        values << row;
    }

    // The stored records, matched to rows by pin; a later record of the same
    // pin wins, a record whose pin has no row is dropped.
    const QStringList *stored = project.tableList(type);
    for (int record = 0; stored && record < recordCount(*stored, columns); ++record) {
        const int r = int(rows.pins.indexOf(recordValue(*stored, record, pinColumn, columns)));
        if (r < 0)
            continue;
        restored[r] = true;
        QStringList &row = values[r];
        for (int c = 0; c < columns; ++c) {
            const QString value = recordValue(*stored, record, c, columns);
            switch (cells.at(c)) {
            case Cell::Options:
                row[c] = storedIndex(value, optionCounts.at(c), row.at(c));
                break;
            case Cell::Enable:
                row[c] = storedIndex(value, TableRules::enableOptionCount(r, optionCounts.at(c)),
                                     row.at(c));
                break;
            case Cell::Number:
                row[c] = value;
                break;
            case Cell::Bit:
                row[c] = storedPin(value, offered);
                break;
            case Cell::Pin:
            case Cell::Description:
                break;
            }
        }
    }

    const bool usesChipSelects = enableColumn >= 0;
    const auto bitColumn = [enableColumn](int bit) { return enableColumn + 4 - bit; };
    // The chip-select bits of a row, bit 3 first, cascaded: used from bit 0
    // upward, and none while the row's chip selects are off.
    const auto cascadedBits = [&](QStringList &row) {
        QStringList lowFirst;
        for (int bit = 0; bit <= 3; ++bit)
            lowFirst << row.at(bitColumn(bit));
        TableRules::cascadeBits(lowFirst, row.at(enableColumn) != kNone, kNone);
        QStringList bits;
        for (int bit = 3; bit >= 0; --bit) {
            row[bitColumn(bit)] = lowFirst.at(bit);
            bits << lowFirst.at(bit);
        }
        return bits;
    };
    QVector<TableRules::TerminalRange> ranges;
    const int numberColumn = int(cells.indexOf(Cell::Number));
    for (int r = 0; usesChipSelects && r < values.size(); ++r)
        ranges << TableRules::TerminalRange{values.at(r).at(numberColumn).toInt(),
                                            TableRules::usedBits(cascadedBits(values[r]), kNone)};
    // A new row moves behind the rows before it when it would share their
    // terminals; stored starts stay as the user (or the file) left them.
    const QVector<TableRules::TerminalRange> before = ranges;
    TableRules::checkStartTerminals(ranges, [&](int row, int) { return !restored.at(row); });
    // A new row drawn in front of stored rows may still share theirs: it
    // goes behind every row of the table.
    for (int r = 0; r < ranges.size(); ++r) {
        if (restored.at(r))
            continue;
        int behind = 0;
        bool shared = false;
        for (int other = 0; other < ranges.size(); ++other) {
            if (other == r)
                continue;
            shared = shared || TableRules::rangesOverlap(ranges.at(r), ranges.at(other));
            behind = std::max(behind, ranges.at(other).end() + 1);
        }
        if (shared)
            ranges[r].start = behind;
    }
    for (int r = 0; r < ranges.size(); ++r)
        if (ranges.at(r).start != before.at(r).start)
            values[r][numberColumn] = QString::number(ranges.at(r).start);

    // What was typed, in its row and column, over the rows as the drawing
    // and the file leave them: a typed chip select stays even where it is no
    // longer offered, and overlaps of typed terminals are the user's to
    // settle when confirming.
    for (int r = 0; !typed.isEmpty() && r < values.size(); ++r) {
        QStringList &row = values[r];
        for (int c = 0; c < columns; ++c) {
            const auto found = typed.constFind(ProjectSync::cellKey(rows.pins.at(r), keys.at(c)));
            if (found == typed.constEnd())
                continue;
            switch (cells.at(c)) {
            case Cell::Options:
                row[c] = storedIndex(found.value(), optionCounts.at(c), row.at(c));
                break;
            case Cell::Enable:
                row[c] = storedIndex(
                    found.value(), TableRules::enableOptionCount(r, optionCounts.at(c)), row.at(c));
                break;
            case Cell::Number:
                row[c] = found.value();
                break;
            case Cell::Bit:
                row[c] = found.value().isEmpty() ? kNone : found.value();
                break;
            case Cell::Pin:
            case Cell::Description:
                break;
            }
        }
    }
    for (int r = 0; usesChipSelects && r < values.size(); ++r)
        derived.chosenChipSelects += cascadedBits(values[r]);

    for (int r = 0; r < values.size(); ++r)
        for (int c = 0; c < columns; ++c)
            derived.information << QString::number(r + 1) + keys.at(c) << values.at(r).at(c);
    derived.rowPins = rows.pins;
    derived.chipSelectCandidates = offered;
    return derived;
}

// Entries of a port table's option cell: none while the port lacks its pins.
int portOptionCount(const CDlgDescription &text, D::DlgType type, const QString &key, bool assigned)
{
    return assigned ? int(ProjectTexts::optionsOf(text, type, key).size()) : 0;
}

ProjectSync::DerivedTable deriveUsartTable(int port, const ProjectData &project,
                                           const CDlgDescription &text,
                                           const ProjectSync::TypedValues &typed)
{
    ProjectSync::DerivedTable derived;
    const auto type = D::DlgType(D::DlgUSART1 + port - 1);
    const TableRules::PortPins pins =
        TableRules::usartPins(project.currentChip, port, project.pinNames, project.pinFunctions);
    const QStringList &stored = project.usartInformation.at(port - 1);
    const QStringList &keys = text.usartKeys;
    const bool restore = stored.size() >= 2 * keys.size();
    for (int r = 0; r < keys.size(); ++r) {
        QString value;
        if (r < TableRules::usartPinRows) {
            value = pins.names.value(r);
        } else {
            const int count = portOptionCount(text, type, keys.at(r), pins.assigned);
            value = restore ? storedIndex(recordValue(stored, r, 0), count, kNone) : kNone;
            const auto found = typed.constFind(keys.at(r));
            if (found != typed.constEnd())
                value = storedIndex(found.value(), count, value);
        }
        derived.information << keys.at(r) << value;
    }
    return derived;
}

ProjectSync::DerivedTable deriveSpiTable(int port, const ProjectData &project,
                                         const CDlgDescription &text,
                                         const ProjectSync::TypedValues &typed)
{
    ProjectSync::DerivedTable derived;
    const auto type = D::DlgType(D::DlgSPI1 + port - 1);
    const TableRules::PortPins pins =
        TableRules::spiPins(project.currentChip, port, project.pinNames, project.pinFunctions);
    const QStringList offered =
        pins.assigned ? TableRules::chipSelectCandidates(project.pinNames, project.pinFunctions,
                                                         ChipFacts::chipSelectPrefix(type))
                      : QStringList();
    const QStringList &stored = project.spiInformation.at(port - 1);
    const QStringList &keys = text.spiKeys;
    const bool restore = stored.size() >= 2 * keys.size();

    QStringList values;
    for (int r = 0; r < keys.size(); ++r) {
        if (r < TableRules::spiPinRows) {
            values << pins.names.value(r);
        } else if (TableRules::isSpiChipSelectRow(r)) {
            values << (restore && pins.assigned ? storedPin(recordValue(stored, r, 0), offered)
                                                : kNone);
        } else {
            const int count = portOptionCount(text, type, keys.at(r), pins.assigned);
            values << (restore ? storedIndex(recordValue(stored, r, 0), count, kNone) : kNone);
        }
    }
    for (int film = 1; film <= TableRules::spiFilmCount; ++film)
        derived.shownChipSelects << values.at(TableRules::spiChipSelectRow(film));
    // What was typed; a typed chip select even where it is no longer offered.
    for (int r = TableRules::spiPinRows; !typed.isEmpty() && r < keys.size(); ++r) {
        const auto found = typed.constFind(keys.at(r));
        if (found == typed.constEnd())
            continue;
        if (TableRules::isSpiChipSelectRow(r))
            values[r] = pins.assigned && !found.value().isEmpty() ? found.value() : kNone;
        else
            values[r] =
                storedIndex(found.value(), portOptionCount(text, type, keys.at(r), pins.assigned),
                            values.at(r));
    }
    for (int film = 1; film <= TableRules::spiFilmCount; ++film) {
        const int chipSelectRow = TableRules::spiChipSelectRow(film);
        // A film without an application has no chip select.
        if (values.at(TableRules::spiApplicationRow(film)) == kNone)
            values[chipSelectRow] = kNone;
        derived.chosenChipSelects << values.at(chipSelectRow);
    }
    for (int r = 0; r < keys.size(); ++r)
        derived.information << keys.at(r) << values.at(r);

    // The network list goes round the three films: three equal thirds.
    const QStringList &network = project.networkInformation.at(port - 1);
    const int third = network.size() >= 3 ? int(network.size()) / 3 : 0;
    for (int film = 0; film < 3; ++film)
        derived.networkInformation += network.mid(film * third, third);
    derived.chipSelectCandidates = offered;
    return derived;
}

ProjectSync::DerivedTable derive(D::DlgType type, const ProjectData &project,
                                 const CDlgDescription &text,
                                 const ProjectSync::TypedValues &typed = {})
{
    if (project.pinNames.isEmpty() || project.pinFunctions.size() < project.pinNames.size())
        return {};
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
        return deriveUsartTable(type - D::DlgUSART1 + 1, project, text, typed);
    if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
        return deriveSpiTable(type - D::DlgSPI1 + 1, project, text, typed);
    if (type > D::DlgNone && type <= D::DlgSYS)
        return deriveRowTable(type, project, text, typed);
    return {};
}

const QVector<D::DlgType> &chipSelectTables()
{
    static const QVector<D::DlgType> tables{D::DlgDI,   D::DlgDO,   D::DlgAI,  D::DlgAO,
                                            D::DlgSPI1, D::DlgSPI2, D::DlgSPI3};
    return tables;
}

bool isBoardTable(D::DlgType type)
{
    return type == D::DlgDI || type == D::DlgDO || type == D::DlgAI || type == D::DlgAO;
}

} // namespace

namespace ProjectSync {

QString cellKey(const QString &pin, const QString &key)
{
    return pin + QChar(0x1f) + key;
}

DerivedTable deriveTable(CPinDescriptions::DlgType type, const ProjectData &project,
                         const TypedValues &typed)
{
    const CDlgDescription text;
    return derive(type, project, text, typed);
}

const QVector<CPinDescriptions::DlgType> &refreshOrder()
{
    static const QVector<D::DlgType> order{
        D::DlgDI,    D::DlgDO,     D::DlgAI,     D::DlgAO,     D::DlgSPI1,   D::DlgSPI2,
        D::DlgSPI3,  D::DlgEXIT,   D::DlgUSART1, D::DlgUSART2, D::DlgUSART3, D::DlgUART4,
        D::DlgUART5, D::DlgUSART6, D::DlgSPI1,   D::DlgSPI2,   D::DlgSPI3,   D::DlgSYS};
    return order;
}

void confirmTable(ProjectData &project, PinBoard &board, const TableDraft *draft, D::DlgType type,
                  const QStringList &information, const QStringList &networkInformation,
                  const QStringList &wirelessInformation)
{
    if (!project.tableList(type))
        return;
    if (draft && draft->isOpen() && draft->type() == type) {
        const DraftTable &confirmed = draft->table();
        const QStringList stored = draft->storedChipSelects();
        if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
            board.placeSpiChipSelects(type, confirmed.chipSelects, stored);
        else if (type >= D::DlgDI && type <= D::DlgAO)
            board.placeBoardChipSelects(type, confirmed.chipSelects, stored, confirmed.rowPins);
    }
    *project.tableList(type) = information;
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
        project.wirelessInformation[type - D::DlgUSART1] = wirelessInformation;
    else if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
        project.networkInformation[type - D::DlgSPI1] = networkInformation;
}

bool refresh(ProjectData &project, PinBoard &board)
{
    if (project.pinNames != board.pinNames())
        return false;
    const ProjectData before = project;
    const CDlgDescription text;
    project.pinFunctions = board.functions();
    for (const D::DlgType type : refreshOrder()) {
        const DerivedTable derived = derive(type, project, text);
        *project.tableList(type) = derived.information;
        if (type >= D::DlgSPI1 && type <= D::DlgSPI3) {
            project.networkInformation[type - D::DlgSPI1] = derived.networkInformation;
            board.placeSpiChipSelects(type, asPinNames(derived.chosenChipSelects),
                                      asPinNames(derived.shownChipSelects));
        } else if (isBoardTable(type)) {
            // A pin a board no longer names is freed with the others below.
            board.placeBoardChipSelects(type, asPinNames(derived.chosenChipSelects), QStringList(),
                                        derived.rowPins);
        }
        project.pinFunctions = board.functions();
    }
    // A chip select whose row has gone is no table's any more.
    for (const D::DlgType type : chipSelectTables())
        board.releaseUnusedChipSelects(type, chipSelectPinsInUse(project, type));
    project.pinFunctions = board.functions();
    return project != before;
}

QStringList load(const ProjectData &file, ProjectData *project, PinBoard *board)
{
    *project = ProjectData::fresh(file.currentChip, file.useExternalRam());
    const CPinDescriptions &catalogue = board->catalogue();
    for (int i = 0; i < board->pinCount() && i < file.pinFunctions.size(); ++i) {
        const QString &function = file.pinFunctions.at(i);
        if (function.trimmed().isEmpty() || !board->isFree(i) ||
            catalogue.functionsOf(board->chipModel(), board->pinName(i)).isEmpty())
            continue;
        board->setFunction(i, function);
    }
    const QStringList pinNames = project->pinNames;
    *project = file;
    project->pinNames = pinNames;

    // Chip selects no list names go first; then each list's are placed.
    QStringList released;
    for (const D::DlgType type : chipSelectTables()) {
        const QStringList before = board->functions();
        for (const QString &pin :
             board->releaseUnusedChipSelects(type, chipSelectPinsInUse(*project, type)))
            released << QStringLiteral("%1 (%2)").arg(pin, before.value(board->indexOfPin(pin)));
    }
    for (const D::DlgType type : chipSelectTables()) {
        if (isBoardTable(type)) {
            QStringList chipSelects, rowPins;
            for (const ChipSelectRow &row : chipSelectRows(*project, type)) {
                rowPins << row.pin;
                chipSelects += row.bitPins;
            }
            board->placeBoardChipSelects(type, chipSelects, QStringList(), rowPins);
        } else if (!project->tableList(type)->isEmpty()) {
            board->placeSpiChipSelects(type, spiChipSelectPins(*project, type - D::DlgSPI1 + 1),
                                       QStringList());
        }
    }
    refresh(*project, *board);
    return released;
}

ProjectData current(const ProjectData &file)
{
    if (!ChipFacts::isKnown(file.currentChip))
        return file;
    PinBoard board(file.currentChip, file.useExternalRam());
    ProjectData project;
    load(file, &project, &board);
    return project;
}

bool readCurrent(const QString &filePath, ProjectData *project, QString *error)
{
    ProjectData file;
    if (!ProjectFile::read(filePath, &file, error))
        return false;
    *project = current(file);
    return true;
}

} // namespace ProjectSync
