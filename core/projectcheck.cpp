#include "projectcheck.h"

#include "configtable.h"
#include "dlgdescription.h"
#include "projecttexts.h"
#include "tablerules.h"

#include <QCoreApplication>

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
    const int maximum =
        type == D::DlgEXIT ? TableRules::maxTaskNumber : TableRules::maxStartTerminal;
    const QString title = ProjectTexts::rowHeaders(text, type).value(numberColumn);
    const QVector<ChipSelectRow> selects = chipSelectRows(project, type);
    QVector<TableRules::TerminalRange> ranges;
    for (int row = 1; numberColumn >= 0 && row * perRow <= list.size(); ++row) {
        const QString prefix = QString::number(row);
        const QString value = valueOf(list, prefix + keys.at(numberColumn));
        if (!TableRules::parseWholeNumber(value, 0, maximum)) {
            ProjectProblem problem;
            problem.table = type;
            problem.row = row;
            problem.column = numberColumn;
            problem.columnTitle = title;
            problem.value = value;
            problem.maximum = maximum;
            problem.message =
                QCoreApplication::translate(
                    "ProjectCheck", "%1 表第%2行的%3“%4”写不进配置表：必须是%5到%6之间的整数")
                    .arg(ProjectTexts::tableName(type))
                    .arg(row)
                    .arg(title, value)
                    .arg(0)
                    .arg(maximum);
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
    if (errors.isEmpty()) {
        QByteArray built;
        QString message;
        if (ConfigTable::buildConfigurationTable(project, &built, &message)) {
            if (table)
                *table = built;
        } else {
            ProjectProblem problem;
            problem.message = message;
            errors << problem;
        }
    }
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

} // namespace ProjectCheck
