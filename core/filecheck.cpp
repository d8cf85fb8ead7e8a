#include "filecheck.h"

#include "chipfacts.h"
#include "dlgdescription.h"
#include "projectfile.h"
#include "projectsync.h"
#include "projecttexts.h"
#include "tablerules.h"

#include <QCoreApplication>

using D = CPinDescriptions;

namespace {

// "0" (or nothing) is what the lists store for a bit or film without a pin
// and for a film without an application.
bool isSet(const QString &value)
{
    return !value.isEmpty() && value != QLatin1String("0");
}

// What became of a stored value.
enum class Fate
{
    NotChipSelect, // the pin was not offered as a chip select
    NotAnOption,   // the index is outside the option list
    Dropped,       // gone for another reason (no pin, no application, ...)
    Replaced       // something else stands there now
};

// One stored value that opening changed.
struct Change
{
    D::DlgType type = D::DlgNone;
    int row = 0; // 1-based
    int column = -1;
    QString title;
    QString key; // without the row number
    QString stored;
    QString opened;
};

// A warning at the changed cell, still without its message.
ProjectProblem warningAt(const Change &change)
{
    ProjectProblem problem;
    problem.severity = ProjectProblem::Warning;
    problem.table = change.type;
    problem.row = change.row;
    problem.column = change.column;
    problem.columnTitle = change.title;
    problem.value = change.stored;
    return problem;
}

ProjectProblem warningOf(const Change &change, Fate fate, const CDlgDescription &text)
{
    ProjectProblem problem = warningAt(change);
    const QString table = ProjectTexts::tableName(change.type);
    const QString row = QString::number(change.row);
    const QString now = ProjectTexts::valueText(text, change.type, change.key, change.opened);
    switch (fate) {
    case Fate::NotChipSelect:
        problem.message = QCoreApplication::translate(
                              "ProjectCheck", "%1 表第%2行的%3“%4”不能作片选引脚，打开时去掉了")
                              .arg(table, row, change.title, change.stored);
        break;
    case Fate::NotAnOption:
        problem.message = QCoreApplication::translate(
                              "ProjectCheck", "%1 表第%2行的%3“%4”不在选项之内，打开时换成了“%5”")
                              .arg(table, row, change.title, change.stored, now);
        break;
    case Fate::Dropped:
        problem.message =
            QCoreApplication::translate("ProjectCheck", "%1 表第%2行的%3“%4”打开时去掉了")
                .arg(table, row, change.title, change.stored);
        break;
    case Fate::Replaced:
        problem.message =
            QCoreApplication::translate("ProjectCheck", "%1 表第%2行的%3“%4”打开时换成了“%5”")
                .arg(table, row, change.title, change.stored, now);
        break;
    }
    return problem;
}

// Whether the stored text is an index into a list of count entries.
bool isOption(const QString &stored, int count)
{
    return TableRules::parseWholeNumber(stored, 0, count - 1);
}

// The values of each whole record of a row table's list, in list order.
QVector<QStringList> recordsOf(const QStringList &list, int columns)
{
    QVector<QStringList> records;
    for (int r = 0; r < recordCount(list, columns); ++r) {
        QStringList values;
        for (int c = 0; c < columns; ++c)
            values << recordValue(list, r, c, columns);
        records << values;
    }
    return records;
}

// Why a stored chip-select bit is not in the opened row: bits count from bit
// 0 upward and only while the row's chip selects are on, so a bit goes with
// a lower bit that went or with the enable switched off; otherwise its pin
// was not offered.
Fate bitFate(const QStringList &keys, const QStringList &opened, int column)
{
    if (isSet(opened.value(column)))
        return Fate::Replaced;
    const int enableColumn = int(keys.indexOf(QStringLiteral("SliceSelectPinIsEnble")));
    if (opened.value(enableColumn) == QLatin1String("0"))
        return Fate::Dropped;
    const QString bitKey = QStringLiteral("SliceSelectPin_%1Bit");
    for (int bit = 0; bit < 4; ++bit) {
        const int at = int(keys.indexOf(bitKey.arg(bit)));
        if (at == column)
            return Fate::NotChipSelect;
        if (!isSet(opened.value(at)))
            return Fate::Dropped;
    }
    return Fate::Dropped;
}

void compareRowTable(D::DlgType type, const ProjectData &file, const ProjectData &opened,
                     const CDlgDescription &text, QVector<ProjectProblem> *warnings)
{
    const QStringList keys = rowKeys(type);
    const int columns = int(keys.size());
    const int pinColumn = int(keys.indexOf(QStringLiteral("Pin")));
    const QStringList *storedList = file.tableList(type);
    const QStringList *openedList = opened.tableList(type);
    if (pinColumn < 0 || !storedList || !openedList)
        return;
    const QStringList headers = ProjectTexts::rowHeaders(text, type);
    const QVector<QStringList> stored = recordsOf(*storedList, columns);
    const QVector<QStringList> now = recordsOf(*openedList, columns);
    QStringList openedPins;
    for (const QStringList &values : now)
        openedPins << values.at(pinColumn);

    for (int i = 0; i < stored.size(); ++i) {
        const QStringList &values = stored.at(i);
        const QString &pin = values.at(pinColumn);
        Change change;
        change.type = type;
        change.row = i + 1;
        change.column = pinColumn;
        change.title = headers.value(pinColumn);
        change.stored = pin;
        const int at = int(openedPins.indexOf(pin));
        if (at < 0) {
            // A record of nothing but empty texts stored nothing.
            bool storedSomething = false;
            for (const QString &value : values)
                storedSomething = storedSomething || !value.isEmpty();
            if (storedSomething) {
                ProjectProblem problem = warningAt(change);
                problem.message =
                    QCoreApplication::translate(
                        "ProjectCheck", "%1 表第%2行的引脚 %3 没有%1功能，打开时去掉了这一行")
                        .arg(ProjectTexts::tableName(type), QString::number(i + 1), pin);
                *warnings << problem;
            }
            continue;
        }
        const QStringList &kept = now.at(at);
        // A later record of the same pin takes its place.
        int later = -1;
        for (int j = i + 1; j < stored.size(); ++j)
            if (stored.at(j).at(pinColumn) == pin)
                later = j;
        if (later >= 0) {
            bool lost = false;
            for (int c = 0; c < columns; ++c)
                lost = lost || (!values.at(c).isEmpty() && values.at(c) != kept.at(c));
            if (lost) {
                ProjectProblem problem = warningAt(change);
                problem.otherRow = later + 1;
                problem.message =
                    QCoreApplication::translate(
                        "ProjectCheck", "%1 表第%2行与第%3行都是引脚 %4，打开时只保留了第%3行")
                        .arg(ProjectTexts::tableName(type), QString::number(i + 1),
                             QString::number(later + 1), pin);
                *warnings << problem;
            }
            continue;
        }
        for (int c = 0; c < columns; ++c) {
            const QString &value = values.at(c);
            if (c == pinColumn || value.isEmpty() || value == kept.at(c))
                continue;
            change.column = c;
            change.title = headers.value(c);
            change.key = keys.at(c);
            change.stored = value;
            change.opened = kept.at(c);
            Fate fate = Fate::Replaced;
            switch (rowCellOf(keys.at(c))) {
            case RowCell::Options:
                fate = isOption(value, int(ProjectTexts::optionsOf(text, type, keys.at(c)).size()))
                           ? Fate::Replaced
                           : Fate::NotAnOption;
                break;
            case RowCell::Enable: // "同上" only below the first row
                fate = isOption(value,
                                at > 0 ? int(ProjectTexts::optionsOf(text, type, keys.at(c)).size())
                                       : 2)
                           ? Fate::Replaced
                           : Fate::NotAnOption;
                break;
            case RowCell::Bit:
                fate = bitFate(keys, kept, c);
                break;
            default:
                break;
            }
            *warnings << warningOf(change, fate, text);
        }
    }
}

// A serial or SPI table, key by key. The port's own pins follow the drawing;
// an SPI film's chip select goes with the port's pins, with the film's
// application, or because its pin was not offered.
void comparePortTable(D::DlgType type, const QStringList &keys, const QStringList &headers,
                      const ProjectData &file, const ProjectData &opened,
                      const CDlgDescription &text, QVector<ProjectProblem> *warnings)
{
    const QStringList *storedList = file.tableList(type);
    const QStringList *openedList = opened.tableList(type);
    if (!storedList || !openedList || !ChipFacts::hasTable(file.currentChip, type))
        return;
    const bool spi = type >= D::DlgSPI1 && type <= D::DlgSPI3;
    const bool portHasPins = isSet(valueOf(*openedList, keys.value(0)));
    for (int r = 0; r < int(keys.size()); ++r) {
        const QString &key = keys.at(r);
        const QString stored = valueOf(*storedList, key);
        const QString now = valueOf(*openedList, key);
        if (stored.isEmpty() || stored == now)
            continue;
        const Change change{type, r + 1, 1, headers.value(r), key, stored, now};
        const QStringList options = ProjectTexts::optionsOf(text, type, key);
        Fate fate = Fate::Replaced;
        if (!options.isEmpty()) {
            fate = isOption(stored, int(options.size())) ? Fate::Replaced : Fate::NotAnOption;
        } else if (!isSet(now)) {
            fate = Fate::Dropped;
            for (int film = 1; spi && portHasPins && film <= 3; ++film)
                if (key == QStringLiteral("SliceSelect%1Pin").arg(film) &&
                    isSet(valueOf(*openedList, QStringLiteral("Film%1Application").arg(film))))
                    fate = Fate::NotChipSelect;
        }
        *warnings << warningOf(change, fate, text);
    }
}

QVector<ProjectProblem> compare(const ProjectData &file, const ProjectData &opened)
{
    const CDlgDescription text;
    QVector<ProjectProblem> warnings;
    for (const D::DlgType type : {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT})
        compareRowTable(type, file, opened, text, &warnings);
    for (int port = 0; port < int(file.usartInformation.size()); ++port)
        comparePortTable(D::DlgType(D::DlgUSART1 + port), text.usartKeys, text.headersUSART, file,
                         opened, text, &warnings);
    for (int port = 0; port < int(file.spiInformation.size()); ++port)
        comparePortTable(D::DlgType(D::DlgSPI1 + port), text.spiKeys, text.headersSPI, file, opened,
                         text, &warnings);
    compareRowTable(D::DlgSYS, file, opened, text, &warnings);
    return warnings;
}

} // namespace

namespace FileCheck {

QVector<ProjectProblem> readWarnings(const ProjectData &file)
{
    return compare(file, ProjectSync::current(file));
}

QVector<ProjectProblem> asWarnings(const QStringList &notes)
{
    QVector<ProjectProblem> warnings;
    for (const QString &note : notes) {
        ProjectProblem problem;
        problem.severity = ProjectProblem::Warning;
        problem.message = note;
        warnings << problem;
    }
    return warnings;
}

bool readCurrent(const QString &filePath, ProjectData *project, QVector<ProjectProblem> *warnings,
                 QString *error)
{
    ProjectData file;
    QStringList notes;
    if (!ProjectFile::read(filePath, &file, error, &notes))
        return false;
    *project = ProjectSync::current(file);
    if (warnings) {
        *warnings = compare(file, *project);
        *warnings += asWarnings(notes);
    }
    return true;
}

} // namespace FileCheck
