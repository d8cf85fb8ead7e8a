#include "projectdiff.h"

#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "projectcheck.h"
#include "projecttexts.h"

#include <QMap>

namespace {

const QString kArrow = QStringLiteral(" \u2192 ");

QString shown(const QString &value, const CDlgDescription &text)
{
    return value.trimmed().isEmpty() ? text.noneText : value;
}

QString change(const QString &what, const QString &before, const QString &after)
{
    return what + QStringLiteral(": ") + before + kArrow + after;
}

ProjectDifference valueChange(ProjectDifference::Kind kind, const QString &before,
                              const QString &after, const CDlgDescription &text)
{
    ProjectDifference difference;
    difference.kind = kind;
    difference.projectValue = shown(before, text);
    difference.controllerValue = shown(after, text);
    return difference;
}

// A difference in a row of a table, the row named by its first cell and,
// in a table of pins, by its pin.
ProjectDifference inRow(ProjectDifference::Kind kind, const ProjectTexts::Table &table, int row,
                        const QStringList &cells)
{
    ProjectDifference difference;
    difference.kind = kind;
    difference.table = table.type;
    difference.tableName = table.name;
    difference.row = row;
    difference.rowName = cells.value(0);
    const int pinColumn = int(rowKeys(table.type).indexOf(QStringLiteral("Pin")));
    if (pinColumn >= 0)
        difference.pin = cells.value(pinColumn);
    return difference;
}

// The cells of a row after the first, each with its header.
QString cellsOf(const ProjectTexts::Table &table, const QStringList &row,
                const CDlgDescription &text)
{
    QStringList cells;
    for (int c = 1; c < row.size(); ++c)
        cells << table.headers.value(c) + QLatin1Char(' ') + shown(row.at(c), text);
    return cells.join(QStringLiteral(", "));
}

// The cells of one row that differ. A two-column table names the row alone
// ("USART2 波特率"), a wider one the row and the column ("DI PA1 输入模式").
void cellDifferences(const ProjectTexts::Table &table, int row, const QStringList &before,
                     const QStringList &after, const CDlgDescription &text,
                     QVector<ProjectDifference> *differences)
{
    for (int c = 1; c < before.size() && c < after.size(); ++c) {
        if (before.at(c) == after.at(c))
            continue;
        ProjectDifference difference = inRow(ProjectDifference::Cell, table, row, before);
        difference.column = c;
        if (table.headers.size() > 2)
            difference.field = table.headers.value(c);
        difference.projectValue = shown(before.at(c), text);
        difference.controllerValue = shown(after.at(c), text);
        *differences << difference;
    }
}

// Rows are matched by the cell that names them: a pin, a parameter, a
// channel or a film. The value is the row's number (1-based).
QMap<QString, int> byFirstCell(const QVector<QStringList> &rows)
{
    QMap<QString, int> map;
    for (int r = 0; r < rows.size(); ++r)
        map.insert(rows.at(r).value(0), r + 1);
    return map;
}

void tableDifferences(const ProjectTexts::Table &a, const ProjectTexts::Table &b,
                      const CDlgDescription &text, QVector<ProjectDifference> *differences)
{
    const QMap<QString, int> aRows = byFirstCell(a.rows);
    const QMap<QString, int> bRows = byFirstCell(b.rows);
    for (int r = 0; r < a.rows.size(); ++r) {
        const QStringList &row = a.rows.at(r);
        if (bRows.contains(row.first()))
            continue;
        ProjectDifference removed = inRow(ProjectDifference::RowRemoved, a, r + 1, row);
        removed.projectValue = cellsOf(a, row, text);
        *differences << removed;
    }
    for (const QStringList &row : b.rows) {
        const int at = aRows.value(row.first());
        if (at > 0) {
            cellDifferences(a, at, a.rows.at(at - 1), row, text, differences);
            continue;
        }
        ProjectDifference added = inRow(ProjectDifference::RowAdded, b, 0, row);
        added.controllerValue = cellsOf(b, row, text);
        *differences << added;
    }
}

bool blank(const QByteArray &table)
{
    return table.count(char(0xFF)) == table.size();
}

} // namespace

QString ProjectDifference::line() const
{
    switch (kind) {
    case Chip:
        return change(QCoreApplication::translate("ProjectDiff", "芯片"), projectValue,
                      controllerValue);
    case ExternalRam:
        return change(QCoreApplication::translate("ProjectDiff", "外部RAM"), projectValue,
                      controllerValue);
    case PinFunction:
        return change(pin, projectValue, controllerValue);
    case RowAdded:
        return QCoreApplication::translate("ProjectDiff", "%1 %2: 新增此行 (%3)")
            .arg(tableName, rowName, controllerValue);
    case RowRemoved:
        return QCoreApplication::translate("ProjectDiff", "%1 %2: 删除此行")
            .arg(tableName, rowName);
    case Cell:
        break;
    }
    QString what = tableName + QLatin1Char(' ') + rowName;
    if (!field.isEmpty())
        what += QLatin1Char(' ') + field;
    return change(what, projectValue, controllerValue);
}

bool ProjectDiff::controllerForm(const ProjectData &project, ProjectData *held, QString *error)
{
    QByteArray table;
    return ConfigTable::buildConfigurationTable(project, &table, error) &&
           CAnalyzeBinFileToConfigure::decode(table, project.currentChip, held, error);
}

QVector<ProjectDifference> ProjectDiff::compare(const ProjectData &project,
                                                const ProjectData &controller,
                                                const CDlgDescription &text)
{
    if (project.currentChip != controller.currentChip)
        return {valueChange(ProjectDifference::Chip, project.currentChip, controller.currentChip,
                            text)};
    QVector<ProjectDifference> differences;
    if (project.useExternalRam() != controller.useExternalRam()) {
        const auto onOff = [&text](bool on) { return text.enableOptions.value(on ? 0 : 1); };
        differences << valueChange(ProjectDifference::ExternalRam, onOff(project.useExternalRam()),
                                   onOff(controller.useExternalRam()), text);
    }
    for (int i = 0; i < project.pinNames.size() && i < controller.pinFunctions.size(); ++i) {
        const QString a = project.pinFunctions.value(i).trimmed();
        const QString b = controller.pinFunctions.value(i).trimmed();
        if (a == b)
            continue;
        ProjectDifference difference = valueChange(ProjectDifference::PinFunction, a, b, text);
        difference.pin = project.pinNames.at(i);
        differences << difference;
    }
    const QVector<ProjectTexts::Table> projectTables = ProjectTexts::tablesOf(project, text);
    const QVector<ProjectTexts::Table> controllerTables = ProjectTexts::tablesOf(controller, text);
    for (int t = 0; t < projectTables.size() && t < controllerTables.size(); ++t)
        tableDifferences(projectTables.at(t), controllerTables.at(t), text, &differences);
    return differences;
}

QStringList ProjectDiff::differences(const ProjectData &before, const ProjectData &after,
                                     const CDlgDescription &text)
{
    QStringList lines;
    for (const ProjectDifference &difference : compare(before, after, text))
        lines << difference.line();
    return lines;
}

ProjectDiff::ControllerComparison ProjectDiff::withController(const ProjectData &project,
                                                              const QByteArray &table,
                                                              const CDlgDescription &text)
{
    ControllerComparison result;
    // Nothing, or flash never written.
    if (blank(table)) {
        result.outcome = ControllerComparison::NoTable;
        result.message = tr("控制器中没有配置表");
        return result;
    }
    QByteArray written;
    ProjectData wanted;
    if (!ProjectCheck::buildTable(project, &written, &result.message) ||
        !CAnalyzeBinFileToConfigure::decode(written, project.currentChip, &wanted,
                                            &result.message)) {
        result.outcome = ControllerComparison::ProjectRefused;
        return result;
    }
    ProjectData held;
    QString unreadable;
    if (CAnalyzeBinFileToConfigure::decode(table, project.currentChip, &held, &unreadable)) {
        result.differences = compare(wanted, held, text);
        result.outcome = result.differences.isEmpty() ? ControllerComparison::Equal
                                                      : ControllerComparison::Differs;
        return result;
    }
    // A pin field of another chip's address map does not decode for this one.
    for (const QString &chip : ChipFacts::models()) {
        if (chip == project.currentChip || !CAnalyzeBinFileToConfigure::decode(table, chip, &held))
            continue;
        result.outcome = ControllerComparison::OtherChip;
        result.message =
            tr("控制器中的配置表属于 %1，工程的芯片是 %2").arg(chip, project.currentChip);
        result.differences = compare(wanted, held, text);
        return result;
    }
    result.outcome = ControllerComparison::Unreadable;
    result.message = unreadable;
    return result;
}

QString ProjectDiff::verdict(const QString &projectName, int differences)
{
    if (differences == 0)
        return tr("控制器中的配置与 %1 相同").arg(projectName);
    return tr("控制器中的配置与 %1 有 %n 处不同：", nullptr, differences).arg(projectName);
}
