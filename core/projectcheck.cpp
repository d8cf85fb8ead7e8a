#include "projectcheck.h"

#include "configtable.h"
#include "dlgdescription.h"
#include "projecttexts.h"
#include "settingsrules.h"
#include "tablelayout.h"
#include "tablerules.h"

#include <QCoreApplication>
#include <algorithm>
#include <climits>
#include <tuple>

using D = CPinDescriptions;

namespace {

// The start terminals (task numbers) of a row table: each must fit its
// field; the terminal ranges of a board's rows should not overlap.
void checkRowTable(const ProjectData &project, D::DlgType type, const CDlgDescription &text,
                   QVector<ProjectProblem> *errors, QVector<ProjectProblem> *warnings)
{
    const QStringList keys = rowKeys(type);
    const int numberColumn = int(keys.indexOf(QStringLiteral("Index")));
    const QStringList &list = *project.tableList(type);
    const int perRow = 2 * int(keys.size());
    const int maximum = TableRules::numberMaximum(type);
    const QString title = ProjectTexts::rowHeaders(text, type).value(numberColumn);
    const QVector<ChipSelectRow> selects = chipSelectRows(project, type);
    QVector<TableRules::TerminalRange> ranges;
    for (int row = 1; numberColumn >= 0 && row * perRow <= list.size(); ++row) {
        const QString prefix = QString::number(row);
        const QString value = valueOf(list, prefix + keys.at(numberColumn));
        const QString wrong = TableRules::numberProblem(type, row, title, value);
        if (!wrong.isEmpty()) {
            ProjectProblem problem;
            problem.table = type;
            problem.row = row;
            problem.column = numberColumn;
            problem.columnTitle = title;
            problem.value = value;
            problem.maximum = maximum;
            problem.message = wrong;
            *errors << problem;
        }
        if (row <= selects.size())
            ranges << TableRules::TerminalRange{
                value.toInt(), TableRules::usedBits(selects.at(row - 1).bitPins, QString())};
    }
    TableRules::checkStartTerminals(ranges, [&](int row, int earlier) {
        ProjectProblem problem;
        problem.severity = ProjectProblem::Warning;
        problem.table = type;
        problem.row = row + 1;
        problem.column = numberColumn;
        problem.columnTitle = title;
        problem.value = QString::number(ranges.at(row).start);
        problem.otherRow = earlier + 1;
        problem.message =
            QCoreApplication::translate("ProjectCheck", "%1 表第%2行的%3起始端子与第%4行的端子重叠")
                .arg(ProjectTexts::tableName(type))
                .arg(row + 1)
                .arg(ProjectTexts::terminalLetter(type))
                .arg(earlier + 1);
        *warnings << problem;
        return false;
    });
}

// Two films of an SPI port that both have an application cannot share a
// chip select: the controller would address both at once. Each later film is
// named with the first earlier film on its pin.
void checkSpiChipSelects(const ProjectData &project, int port, const CDlgDescription &text,
                         QVector<ProjectProblem> *errors)
{
    const auto type = D::DlgType(D::DlgSPI1 + port - 1);
    const QStringList &list = project.spiInformation.at(port - 1);
    const auto chipSelectKey = [](int film) {
        return QStringLiteral("SliceSelect%1Pin").arg(film);
    };
    QStringList applications;
    QStringList pins;
    for (int film = 1; film <= TableRules::spiFilmCount; ++film) {
        applications << valueOf(list, QStringLiteral("Film%1Application").arg(film));
        pins << valueOf(list, chipSelectKey(film));
    }
    for (int later = 2; later <= TableRules::spiFilmCount; ++later) {
        const int earlier = TableRules::filmSharingChipSelect(applications, pins, later);
        if (earlier == 0 || earlier >= later)
            continue;
        const QString &pin = pins.at(later - 1);
        // The window shows the value of key index r in row r (0-based).
        const int index = int(text.spiKeys.indexOf(chipSelectKey(later)));
        ProjectProblem problem;
        problem.table = type;
        problem.row = index + 1;
        problem.column = 1;
        problem.columnTitle = text.headersSPI.value(index);
        problem.value = pin;
        problem.otherRow = int(text.spiKeys.indexOf(chipSelectKey(earlier))) + 1;
        problem.message = QCoreApplication::translate("ProjectCheck",
                                                      "%1 表的软片%2与软片%3使用同一个片选引脚 %4")
                              .arg(ProjectTexts::tableName(type), QString::number(earlier),
                                   QString::number(later), pin);
        *errors << problem;
    }
}

bool complete(const QStringList &list, const QStringList &keys)
{
    for (const QString &key : keys)
        if (valueOf(list, key).isEmpty())
            return false;
    return true;
}

// A value of a film's network settings or of a wireless socket, at the row of
// the film's or the port's application.
ProjectProblem settingsProblem(D::DlgType type, int unit, int field, const QString &fieldName,
                               const CDlgDescription &text)
{
    const bool spi = type >= D::DlgSPI1 && type <= D::DlgSPI3;
    const QString applicationKey =
        spi ? QStringLiteral("Film%1Application").arg(unit) : QStringLiteral("PortApplication");
    ProjectProblem problem;
    problem.table = type;
    problem.unit = unit;
    problem.field = field;
    problem.row = int((spi ? text.spiKeys : text.usartKeys).indexOf(applicationKey)) + 1;
    problem.column = 1;
    problem.columnTitle = fieldName;
    return problem;
}

void addSettingsProblem(ProjectProblem problem, const SettingsRules::FieldProblem &found,
                        const QString &value, QVector<ProjectProblem> *errors,
                        QVector<ProjectProblem> *warnings)
{
    if (found.isEmpty())
        return;
    problem.severity = found.error ? ProjectProblem::Error : ProjectProblem::Warning;
    problem.value = value;
    const QString table = ProjectTexts::tableName(problem.table);
    problem.message =
        (problem.table >= D::DlgSPI1
             ? QCoreApplication::translate("ProjectCheck", "%1 表软片%2的网络属性：%3")
                   .arg(table)
                   .arg(problem.unit)
                   .arg(found.message)
             : QCoreApplication::translate("ProjectCheck", "%1 表的无线模块：%2")
                   .arg(table, found.message));
    (found.error ? errors : warnings)->append(problem);
}

// The network settings of the films that use them, and the sockets of the
// serial ports that drive a wireless module, by the rules of their windows.
// The rules of one kind of settings window: where a field's value is kept,
// its name, and what is wrong with it.
template <typename Field> struct UnitRules
{
    QString (*keyOf)(int unit, Field field);
    QString (*nameOf)(Field field);
    SettingsRules::FieldProblem (*problemOf)(const QStringList &values, int unit, Field field);
};

// Every field of one film or socket in use, by the rules of its window.
template <typename Field>
void checkUnit(D::DlgType table, int unit, int fields, const QStringList &values,
               const UnitRules<Field> &rules, const CDlgDescription &text,
               QVector<ProjectProblem> *errors, QVector<ProjectProblem> *warnings)
{
    for (int f = 0; f < fields; ++f) {
        const auto field = Field(f);
        addSettingsProblem(settingsProblem(table, unit, f, rules.nameOf(field), text),
                           rules.problemOf(values, unit, field),
                           valueOf(values, rules.keyOf(unit, field)), errors, warnings);
    }
}

void checkSettings(const ProjectData &project, const CDlgDescription &text,
                   QVector<ProjectProblem> *errors, QVector<ProjectProblem> *warnings)
{
    using namespace SettingsRules;
    for (int port = 1; port <= int(project.spiInformation.size()); ++port) {
        const QStringList &spi = project.spiInformation.at(port - 1);
        if (!complete(spi, text.spiKeys))
            continue;
        const QStringList &network = project.networkInformation.at(port - 1);
        for (int film = 1; film <= filmCount; ++film) {
            int application = 0;
            if (!TableRules::parseWholeNumber(
                    valueOf(spi, QStringLiteral("Film%1Application").arg(film)),
                    ProjectTexts::firstNetworkApplication, 99, &application))
                continue;
            checkUnit(D::DlgType(D::DlgSPI1 + port - 1), film, networkFieldCount, network,
                      UnitRules<NetworkField>{&networkKey, &networkFieldName, &networkProblem},
                      text, errors, warnings);
        }
    }
    for (int port = 1; port <= int(project.usartInformation.size()); ++port) {
        const QStringList &usart = project.usartInformation.at(port - 1);
        if (!complete(usart, text.usartKeys) ||
            !TableRules::parseWholeNumber(valueOf(usart, QStringLiteral("PortApplication")),
                                          ProjectTexts::firstWirelessApplication, 99))
            continue;
        const QStringList &sockets = project.wirelessInformation.at(port - 1);
        for (int socket = 1; socket <= socketCount; ++socket) {
            const QString application =
                valueOf(sockets, socketKey(socket, SocketField::Application));
            if (application.isEmpty() || application == QLatin1String("0"))
                continue;
            checkUnit(D::DlgType(D::DlgUSART1 + port - 1), socket, socketFieldCount, sockets,
                      UnitRules<SocketField>{&socketKey, &socketFieldName, &socketProblem}, text,
                      errors, warnings);
        }
    }
}

// The table sections follow the order of the table windows.
static_assert(int(TableLayout::DI) == int(D::DlgDI) && int(TableLayout::Exit) == int(D::DlgEXIT) &&
                  int(TableLayout::Usart1) == int(D::DlgUSART1) &&
                  int(TableLayout::Spi1) == int(D::DlgSPI1) &&
                  int(TableLayout::Sys) == int(D::DlgSYS),
              "a section and its table window share their number");

// A value the encoder refused, at the cell of the table window that shows
// it: a row table's row and the column of its key, a serial or SPI table's
// row of the key. A value of the wireless or network window and a table
// refused whole name the table alone; the external RAM, the chip and the
// project as a whole name none.
ProjectProblem refusedValue(const ConfigTable::Refusal &refusal, const CDlgDescription &text)
{
    ProjectProblem problem;
    problem.value = refusal.value;
    problem.message = refusal.message;
    if (refusal.section <= TableLayout::Fsmc || refusal.section >= TableLayout::SectionCount)
        return problem;
    const auto type = D::DlgType(refusal.section);
    problem.table = type;
    int unit = 0;
    SettingsRules::NetworkField networkField{};
    SettingsRules::SocketField socketField{};
    if (SettingsRules::networkKeyField(refusal.key, &unit, &networkField) ||
        SettingsRules::socketKeyField(refusal.key, &unit, &socketField)) {
        const bool spi = type >= D::DlgSPI1;
        ProjectProblem located =
            settingsProblem(type, unit, spi ? int(networkField) : int(socketField),
                            spi ? SettingsRules::networkFieldName(networkField)
                                : SettingsRules::socketFieldName(socketField),
                            text);
        located.value = problem.value;
        located.message = problem.message;
        return located;
    }
    const QStringList keys = rowKeys(type);
    if (!keys.isEmpty()) {
        const int column = int(keys.indexOf(refusal.key));
        if (column < 0 || refusal.row <= 0)
            return problem;
        problem.row = refusal.row;
        problem.column = column;
        problem.columnTitle = ProjectTexts::rowHeaders(text, type).value(column);
        return problem;
    }
    const bool spi = type >= D::DlgSPI1;
    const int at = int((spi ? text.spiKeys : text.usartKeys).indexOf(refusal.key));
    if (at >= 0) {
        problem.row = at + 1;
        problem.column = 1;
        problem.columnTitle = (spi ? text.headersSPI : text.headersUSART).value(at);
    }
    return problem;
}

bool sameCell(const ProjectProblem &a, const ProjectProblem &b)
{
    return a.row > 0 && a.table == b.table && a.row == b.row && a.column == b.column &&
           a.unit == b.unit && (a.unit == 0 || a.columnTitle == b.columnTitle);
}

// Table order: the project as a whole, then table by table, row by row,
// column by column, the values without a cell after the cells of their table.
bool comesBefore(const ProjectProblem &a, const ProjectProblem &b)
{
    const auto place = [](const ProjectProblem &p) {
        return std::make_tuple(int(p.table), p.row > 0 ? p.row : INT_MAX, p.column, p.unit);
    };
    return place(a) < place(b);
}

} // namespace

namespace ProjectCheck {

QVector<ProjectProblem> problems(const ProjectData &project, QByteArray *table)
{
    const CDlgDescription text;
    QVector<ProjectProblem> errors;
    QVector<ProjectProblem> warnings;
    for (const D::DlgType type : {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT})
        checkRowTable(project, type, text, &errors, &warnings);
    for (int port = 1; port <= int(project.spiInformation.size()); ++port)
        checkSpiChipSelects(project, port, text, &errors);
    checkSettings(project, text, &errors, &warnings);
    QByteArray built;
    QVector<ConfigTable::Refusal> refusals;
    ConfigTable::buildConfigurationTable(project, &built, nullptr, &refusals);
    const int checked = int(errors.size());
    for (const ConfigTable::Refusal &refusal : qAsConst(refusals)) {
        const ProjectProblem problem = refusedValue(refusal, text);
        // A cell the checks above found wrong is told of once, in their words.
        const auto told = [&problem](const ProjectProblem &e) { return sameCell(e, problem); };
        if (std::none_of(errors.cbegin(), errors.cbegin() + checked, told))
            errors << problem;
    }
    std::stable_sort(errors.begin(), errors.end(), comesBefore);
    if (errors.isEmpty() && table)
        *table = built;
    return errors + warnings;
}

ProjectProblem firstError(const QVector<ProjectProblem> &problems)
{
    for (const ProjectProblem &problem : problems)
        if (problem.severity == ProjectProblem::Error)
            return problem;
    ProjectProblem none;
    none.severity = ProjectProblem::Warning;
    return none;
}

bool hasError(const QVector<ProjectProblem> &problems)
{
    return firstError(problems).severity == ProjectProblem::Error;
}

QStringList warnings(const QVector<ProjectProblem> &problems)
{
    QStringList messages;
    for (const ProjectProblem &problem : problems)
        if (problem.severity == ProjectProblem::Warning)
            messages << problem.message;
    return messages;
}

bool buildTable(const ProjectData &project, QByteArray *table, QString *error)
{
    const ProjectProblem problem = firstError(problems(project, table));
    if (problem.severity != ProjectProblem::Error)
        return true;
    if (error)
        *error = problem.message;
    return false;
}

QString place(const ProjectProblem &problem)
{
    QStringList parts{ProjectTexts::tableName(problem.table)};
    const bool spi = problem.table >= D::DlgSPI1 && problem.table <= D::DlgSPI3;
    if (problem.unit > 0)
        return parts.first() + QLatin1Char(' ') +
               (spi ? QCoreApplication::translate("ProjectCheck", "软片%1")
                    : QCoreApplication::translate("ProjectCheck", "通道%1"))
                   .arg(problem.unit) +
               QLatin1Char(' ') + problem.columnTitle;
    if (problem.row > 0)
        parts << QCoreApplication::translate("ProjectCheck", "第%1行").arg(problem.row);
    if (problem.row > 0 && problem.column >= 0)
        parts << problem.columnTitle;
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

} // namespace ProjectCheck
