#include "tabledraft.h"

#include "chipfacts.h"
#include "dlgdescription.h"
#include "projectsync.h"
#include "projecttexts.h"
#include "settingsrules.h"
#include "tablerules.h"

#include <QCoreApplication>

using D = CPinDescriptions;

namespace {

const QString kNone = QStringLiteral("0"); // a bit or film without a pin
const QChar kSeparator(0x1f);              // between a row's pin and a column key

bool isPortTable(D::DlgType type)
{
    return type >= D::DlgUSART1 && type <= D::DlgSPI3;
}

bool isSpiTable(D::DlgType type)
{
    return type >= D::DlgSPI1 && type <= D::DlgSPI3;
}

QString takenProblem(const ProjectData &project, const QString &pin)
{
    const QString function = project.pinFunctions.value(project.pinNames.indexOf(pin));
    return QCoreApplication::translate("TableDraft", "片选引脚 %1 已被占用（%2），请另选一个引脚。")
        .arg(pin, function.trimmed());
}

// An option cell: the stored index when it names an entry, else `fallback`.
DraftCell optionCell(const QString &key, const QStringList &entries, const QString &value,
                     const QString &fallback)
{
    DraftCell cell;
    cell.kind = DraftCell::Options;
    cell.key = key;
    cell.entries = entries;
    int index = 0;
    if (!TableRules::parseWholeNumber(value, 0, int(entries.size()) - 1, &index) &&
        !TableRules::parseWholeNumber(fallback, 0, int(entries.size()) - 1, &index))
        index = entries.isEmpty() ? -1 : 0;
    cell.index = index;
    cell.value = index < 0 ? kNone : QString::number(index);
    cell.enabled = !entries.isEmpty();
    return cell;
}

// A chip-select cell: the none text, then the offered pins grouped by port;
// a chosen pin that is no longer offered stays, with the reason.
DraftCell chipSelectCell(const QString &key, const QString &value, const QStringList &offered,
                         const QStringList &taken, const CDlgDescription &text,
                         const ProjectData &project)
{
    DraftCell cell;
    cell.kind = DraftCell::ChipSelect;
    cell.key = key;
    QStringList pins = offered;
    for (const QString &pin : taken)
        if (pin != value)
            pins.removeAll(pin);
    const bool chosen = value != kNone && !value.isEmpty();
    if (chosen && !offered.contains(value)) {
        pins << value;
        cell.problem = takenProblem(project, value);
    }
    cell.entries = QStringList{text.noneText} + TableRules::groupedByPort(pins);
    cell.value = chosen ? value : kNone;
    cell.index = chosen ? int(cell.entries.indexOf(value)) : 0;
    return cell;
}

DraftCell fixedCell(const QString &key, const QString &value)
{
    DraftCell cell;
    cell.kind = DraftCell::Fixed;
    cell.key = key;
    cell.value = value;
    cell.enabled = false;
    return cell;
}

QString shownPin(const DraftCell &cell, const CDlgDescription &text)
{
    return cell.value == kNone || cell.value.isEmpty() ? text.noneText : cell.value;
}

// The eight sockets of a port that never had them set.
// The values of `list` (alternating keys and values) whose keys were typed.
bool overlay(QStringList &list, const QHash<QString, QString> &typed)
{
    bool any = false;
    for (int i = 0; i + 1 < list.size(); i += 2) {
        const auto found = typed.constFind(list.at(i));
        if (found != typed.constEnd()) {
            list[i + 1] = found.value();
            any = true;
        }
    }
    return any;
}

QHash<QString, QString> pairsOf(const QStringList &list)
{
    QHash<QString, QString> pairs;
    for (int i = 0; i + 1 < list.size(); i += 2)
        pairs.insert(list.at(i), list.at(i + 1));
    return pairs;
}

// A key of a film's network settings or of a socket.
bool isSettingsKey(const QString &key)
{
    int unit = 0;
    SettingsRules::NetworkField network{};
    SettingsRules::SocketField socket{};
    return SettingsRules::networkKeyField(key, &unit, &network) ||
           SettingsRules::socketKeyField(key, &unit, &socket);
}

bool typesAny(const QHash<QString, QString> &typed, const QStringList &keys)
{
    for (const QString &key : keys)
        if (typed.contains(key))
            return true;
    return false;
}

} // namespace

const DraftCell *DraftTable::cell(int row, int column) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= rows.at(row).size())
        return nullptr;
    return &rows.at(row).at(column);
}

bool DraftTable::operator==(const DraftTable &o) const
{
    return type == o.type && information == o.information &&
           networkInformation == o.networkInformation &&
           wirelessInformation == o.wirelessInformation && chipSelects == o.chipSelects;
}

TableDraft::TableDraft(QObject *parent) : QObject(parent) {}

void TableDraft::open(CPinDescriptions::DlgType type)
{
    if (type != kind)
        typed.clear();
    kind = type;
    rebuild();
}

void TableDraft::close()
{
    typed.clear();
    kind = D::DlgNone;
    rebuild();
}

void TableDraft::follow(const ProjectData &project)
{
    base = project;
    rebuild();
}

void TableDraft::rebuild()
{
    shown = derive(true);
    emit changed();
}

DraftTable TableDraft::unedited() const
{
    return derive(false);
}

bool TableDraft::hasEdits() const
{
    if (typed.isEmpty() || !isOpen())
        return false;
    if (!(shown == unedited()))
        return true;
    // Values of rows (or a port's pins) that are gone come back with them.
    if (isPortTable(kind))
        return !shown.portAssigned;
    for (auto it = typed.constBegin(); it != typed.constEnd(); ++it)
        if (!shown.rowPins.contains(it.key().section(kSeparator, 0, 0)))
            return true;
    return false;
}

DraftTable TableDraft::derive(bool withTyped) const
{
    if (!isOpen() || base.pinNames.isEmpty())
        return DraftTable();
    return isPortTable(kind) ? derivePort(withTyped) : deriveRows(withTyped);
}

DraftTable TableDraft::deriveRows(bool withTyped) const
{
    const CDlgDescription text;
    // The rules were applied once, to the stored and the typed values alike;
    // what is left here is how each cell shows its value.
    const ProjectSync::DerivedTable model =
        ProjectSync::deriveTable(kind, base, withTyped ? typed : ProjectSync::TypedValues());
    const QStringList keys = rowKeys(kind);
    const int columns = int(keys.size());
    DraftTable table;
    table.type = kind;
    table.rowPins = model.rowPins;
    const QStringList headers = ProjectTexts::rowHeaders(text, kind);
    const int enableColumn = int(keys.indexOf(QStringLiteral("SliceSelectPinIsEnble")));
    const auto bitColumn = [enableColumn](int bit) { return enableColumn + 4 - bit; };

    for (int r = 0; r < table.rowPins.size(); ++r) {
        QVector<DraftCell> cells;
        for (int c = 0; c < columns; ++c) {
            const QString &key = keys.at(c);
            const QString value = recordValue(model.information, r, c, columns);
            switch (rowCellOf(key)) {
            case RowCell::Pin:
            case RowCell::Description:
                cells << fixedCell(key, value);
                break;
            case RowCell::Options:
                cells << optionCell(key, ProjectTexts::optionsOf(text, kind, key), value, value);
                break;
            case RowCell::Enable: {
                const QStringList entries = ProjectTexts::optionsOf(text, kind, key);
                cells << optionCell(
                    key, entries.mid(0, TableRules::enableOptionCount(r, int(entries.size()))),
                    value, value);
                break;
            }
            case RowCell::Number: {
                DraftCell cell;
                cell.kind = DraftCell::Number;
                cell.key = key;
                cell.value = value;
                cell.problem = TableRules::numberProblem(kind, r + 1, headers.value(c), value);
                cells << cell;
                break;
            }
            case RowCell::Bit:
                cells << DraftCell(); // below, once the row's bits are known
                break;
            }
        }
        if (enableColumn >= 0) {
            QStringList lowFirst;
            for (int bit = 0; bit <= 3; ++bit)
                lowFirst << recordValue(model.information, r, bitColumn(bit), columns);
            const bool enabled = cells.at(enableColumn).value != kNone;
            for (int bit = 0; bit <= 3; ++bit) {
                QStringList others = lowFirst;
                others.removeAt(bit);
                DraftCell cell = chipSelectCell(keys.at(bitColumn(bit)), lowFirst.at(bit),
                                                model.chipSelectCandidates, others, text, base);
                cell.enabled = TableRules::bitChoosable(lowFirst, enabled, bit, kNone);
                cells[bitColumn(bit)] = cell;
            }
            for (int bit = 3; bit >= 0; --bit)
                table.chipSelects << shownPin(cells.at(bitColumn(bit)), text);
        }
        for (int c = 0; c < columns; ++c)
            table.information << QString::number(r + 1) + keys.at(c) << cells.at(c).value;
        table.rows << cells;
    }
    return table;
}

DraftTable TableDraft::derivePort(bool withTyped) const
{
    const CDlgDescription text;
    const ProjectSync::DerivedTable model =
        ProjectSync::deriveTable(kind, base, withTyped ? typed : ProjectSync::TypedValues());
    const bool spi = isSpiTable(kind);
    const int port = spi ? kind - D::DlgSPI1 + 1 : kind - D::DlgUSART1 + 1;
    const QStringList &keys = spi ? text.spiKeys : text.usartKeys;
    const TableRules::PortPins pins =
        spi ? TableRules::spiPins(base.currentChip, port, base.pinNames, base.pinFunctions)
            : TableRules::usartPins(base.currentChip, port, base.pinNames, base.pinFunctions);
    const int pinRows = spi ? TableRules::spiPinRows : TableRules::usartPinRows;
    DraftTable table;
    table.type = kind;
    table.portAssigned = pins.assigned;

    QStringList values;
    for (int r = 0; r < keys.size(); ++r)
        values << recordValue(model.information, r, 0);
    for (int r = 0; r < keys.size(); ++r) {
        if (r < pinRows)
            table.rows << QVector<DraftCell>{fixedCell(keys.at(r), values.at(r))};
        else if (!(spi && TableRules::isSpiChipSelectRow(r)))
            table.rows << QVector<DraftCell>{optionCell(
                keys.at(r),
                pins.assigned ? ProjectTexts::optionsOf(text, kind, keys.at(r)) : QStringList(),
                values.at(r), values.at(r))};
        else
            table.rows << QVector<DraftCell>{DraftCell()}; // below, with the films
    }
    const auto inUse = [&table](int film) {
        return table.rows.at(TableRules::spiApplicationRow(film)).at(0).index > 0;
    };
    QStringList applications;
    QStringList filmPins;
    for (int film = 1; spi && film <= TableRules::spiFilmCount; ++film) {
        applications << table.rows.at(TableRules::spiApplicationRow(film)).at(0).value;
        filmPins << values.at(TableRules::spiChipSelectRow(film));
    }
    for (int film = 1; spi && film <= TableRules::spiFilmCount; ++film) {
        const int row = TableRules::spiChipSelectRow(film);
        // A film in use may not take a pin that another film in use shows.
        QStringList taken;
        for (int other = 1; inUse(film) && other <= TableRules::spiFilmCount; ++other)
            if (other != film && inUse(other) &&
                values.at(TableRules::spiChipSelectRow(other)) != kNone)
                taken << values.at(TableRules::spiChipSelectRow(other));
        DraftCell cell = optionCell(keys.at(row), QStringList(), kNone, kNone);
        if (pins.assigned) {
            cell = chipSelectCell(keys.at(row), values.at(row), model.chipSelectCandidates, taken,
                                  text, base);
            cell.enabled = inUse(film);
            if (cell.problem.isEmpty() &&
                TableRules::filmSharingChipSelect(applications, filmPins, film) > 0)
                cell.problem =
                    QCoreApplication::translate(
                        "TableDraft", "软片%1与另一个软片使用同一个片选引脚 %2，请另选一个引脚。")
                        .arg(film)
                        .arg(cell.value);
        }
        table.rows[row][0] = cell;
        table.chipSelects << shownPin(cell, text);
    }
    for (int r = 0; r < keys.size(); ++r)
        table.information << keys.at(r) << table.rows.at(r).at(0).value;

    if (spi) {
        // The network settings go round the three films, a third each.
        QStringList network = model.networkInformation;
        if (withTyped && typesAny(typed, text.networkKeys)) {
            // A list missing films is made whole: what it has, fresh settings for the rest.
            if (network.size() != 2 * text.networkKeys.size()) {
                network = ProjectData::freshNetwork();
                overlay(network, pairsOf(model.networkInformation));
            }
            overlay(network, typed);
        }
        table.networkInformation = network;
    } else {
        QStringList sockets = base.wirelessInformation.at(port - 1);
        if (withTyped && typesAny(typed, text.socketKeys)) {
            if (sockets.size() != 2 * text.socketKeys.size())
                sockets = SettingsRules::defaultSockets();
            overlay(sockets, typed);
        }
        table.wirelessInformation = sockets;
    }
    return table;
}

QString TableDraft::anchor(int row, int column) const
{
    if (isPortTable(kind)) {
        const DraftCell *cell = shown.cell(row, 0);
        return cell && cell->kind != DraftCell::Fixed ? cell->key : QString();
    }
    const DraftCell *cell = shown.cell(row, column);
    if (!cell || cell->kind == DraftCell::Fixed)
        return QString();
    return shown.rowPins.at(row) + kSeparator + cell->key;
}

void TableDraft::setValue(int row, int column, const QString &value)
{
    const QString at = anchor(row, column);
    if (at.isEmpty())
        return;
    typed.insert(at, value);
    const DraftCell *cell = shown.cell(row, column);
    if (!isPortTable(kind) && cell->key == QLatin1String("SliceSelectPinIsEnble") &&
        value == QLatin1String("2") && row > 0) {
        // "同上": the chip selects of the row above.
        for (int c = 0; c < shown.rows.at(row - 1).size(); ++c) {
            const DraftCell &above = shown.rows.at(row - 1).at(c);
            if (above.kind == DraftCell::ChipSelect)
                typed.insert(shown.rowPins.at(row) + kSeparator + above.key, above.value);
        }
    }
    rebuild();
}

void TableDraft::setSettings(const QStringList &keysAndValues)
{
    if (!isOpen())
        return;
    for (int i = 0; i + 1 < keysAndValues.size(); i += 2)
        typed.insert(keysAndValues.at(i), keysAndValues.at(i + 1));
    rebuild();
}

void TableDraft::beginSettings()
{
    settingsFound.clear();
    for (auto it = typed.constBegin(); it != typed.constEnd(); ++it)
        if (isSettingsKey(it.key()))
            settingsFound.insert(it.key(), it.value());
}

void TableDraft::cancelSettings()
{
    if (!isOpen())
        return;
    for (auto it = typed.begin(); it != typed.end();)
        it = isSettingsKey(it.key()) ? typed.erase(it) : std::next(it);
    for (auto it = settingsFound.constBegin(); it != settingsFound.constEnd(); ++it)
        typed.insert(it.key(), it.value());
    rebuild();
}

QStringList TableDraft::sockets() const
{
    const CDlgDescription text;
    const QStringList &list = shown.wirelessInformation;
    return list.size() == 2 * text.socketKeys.size() ? list : SettingsRules::defaultSockets();
}

QStringList TableDraft::filmNetwork(int film) const
{
    const QStringList &network = shown.networkInformation;
    const int third = network.size() >= 3 ? int(network.size()) / 3 : 0;
    if (film < 1 || film > TableRules::spiFilmCount)
        return {};
    return network.mid((film - 1) * third, third);
}

int TableDraft::filmApplication(int film) const
{
    if (!isSpiTable(kind) || film < 1 || film > TableRules::spiFilmCount)
        return -1;
    const DraftCell *cell = shown.cell(TableRules::spiApplicationRow(film), 0);
    return cell ? cell->index : -1;
}

int TableDraft::portApplication() const
{
    if (kind < D::DlgUSART1 || kind > D::DlgUSART6)
        return -1;
    const DraftCell *cell = shown.cell(TableRules::usartApplicationRow, 0);
    return cell ? cell->index : -1;
}

QString TableDraft::firstProblem(int *row, int *column) const
{
    for (int r = 0; r < shown.rows.size(); ++r) {
        for (int c = 0; c < shown.rows.at(r).size(); ++c) {
            const QString &problem = shown.rows.at(r).at(c).problem;
            if (problem.isEmpty())
                continue;
            if (row)
                *row = r;
            if (column)
                *column = c;
            return problem;
        }
    }
    return QString();
}

int TableDraft::checkStartTerminals(const std::function<bool(const Overlap &)> &askToCorrect)
{
    const QStringList keys = rowKeys(kind);
    const int numberColumn = int(keys.indexOf(QStringLiteral("Index")));
    const int enableColumn = int(keys.indexOf(QStringLiteral("SliceSelectPinIsEnble")));
    if (numberColumn < 0 || enableColumn < 0)
        return 0;
    const CDlgDescription text;
    QVector<TableRules::TerminalRange> ranges;
    for (int r = 0; r < shown.rows.size(); ++r)
        ranges << TableRules::TerminalRange{
            shown.rows.at(r).at(numberColumn).value.toInt(),
            TableRules::usedBits(shown.chipSelects.mid(4 * r, 4), text.noneText)};
    const QVector<TableRules::TerminalRange> before = ranges;
    const int overlaps = TableRules::checkStartTerminals(ranges, [&](int row, int earlier) {
        return askToCorrect && askToCorrect({row, earlier, ranges.at(row).start,
                                             TableRules::correctedStart(ranges, row)});
    });
    bool moved = false;
    for (int r = 0; r < ranges.size(); ++r) {
        if (ranges.at(r).start == before.at(r).start)
            continue;
        typed.insert(anchor(r, numberColumn), QString::number(ranges.at(r).start));
        moved = true;
    }
    if (moved)
        rebuild();
    return overlaps;
}

QStringList TableDraft::storedChipSelects() const
{
    if (!isSpiTable(kind))
        return unedited().chipSelects;
    // The pins the project's list names, also those of films without an
    // application, which confirming frees.
    const CDlgDescription text;
    QStringList pins;
    for (const QString &pin : ProjectSync::deriveTable(kind, base).shownChipSelects)
        pins << (pin == kNone || pin.isEmpty() ? text.noneText : pin);
    return pins;
}
