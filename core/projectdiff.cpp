#include "projectdiff.h"

#include "configanalyzer.h"
#include "configtable.h"
#include "projecttexts.h"

#include <QMap>

namespace {

const QString kArrow = QStringLiteral(" \u2192 ");

QString shown(const QString &value, const CDlgDescription &text)
{
    return value.trimmed().isEmpty() ? text.noneText : value;
}

QString change(const QString &what, const QString &before, const QString &after,
               const CDlgDescription &text)
{
    return what + QStringLiteral(": ") + shown(before, text) + kArrow + shown(after, text);
}

// The cells of one row that differ. A two-column table names the row alone
// ("USART2 波特率"), a wider one the row and the column ("DI PA1 输入模式").
QStringList cellDifferences(const ProjectTexts::Table &table, const QStringList &before,
                            const QStringList &after, const CDlgDescription &text)
{
    QStringList lines;
    for (int c = 1; c < before.size() && c < after.size(); ++c) {
        if (before.at(c) == after.at(c))
            continue;
        QString what = table.name + QLatin1Char(' ') + before.first();
        if (table.headers.size() > 2)
            what += QLatin1Char(' ') + table.headers.value(c);
        lines << change(what, before.at(c), after.at(c), text);
    }
    return lines;
}

QMap<QString, QStringList> byFirstCell(const QVector<QStringList> &rows)
{
    QMap<QString, QStringList> map;
    for (const QStringList &row : rows)
        map.insert(row.value(0), row);
    return map;
}

} // namespace

bool ProjectDiff::controllerForm(const ProjectData &project, ProjectData *held, QString *error)
{
    QByteArray table;
    return ConfigTable::buildConfigurationTable(project, &table, error) &&
           CAnalyzeBinFileToConfigure::decode(table, project.currentChip, held, error);
}

QStringList ProjectDiff::differences(const ProjectData &before, const ProjectData &after,
                                     const CDlgDescription &text)
{
    if (before.currentChip != after.currentChip)
        return {change(tr("芯片"), before.currentChip, after.currentChip, text)};
    QStringList lines;
    if (before.useExternalRam() != after.useExternalRam()) {
        const auto onOff = [&text](bool on) { return text.enableOptions.value(on ? 0 : 1); };
        lines << change(tr("外部RAM"), onOff(before.useExternalRam()),
                        onOff(after.useExternalRam()), text);
    }
    for (int i = 0; i < before.pinNames.size() && i < after.pinFunctions.size(); ++i) {
        const QString a = before.pinFunctions.value(i).trimmed();
        const QString b = after.pinFunctions.value(i).trimmed();
        if (a != b)
            lines << change(before.pinNames.at(i), a, b, text);
    }

    const QVector<ProjectTexts::Table> beforeTables = ProjectTexts::tablesOf(before, text);
    const QVector<ProjectTexts::Table> afterTables = ProjectTexts::tablesOf(after, text);
    for (int t = 0; t < beforeTables.size() && t < afterTables.size(); ++t) {
        // Rows are matched by the cell that names them: a pin, a parameter,
        // a channel or a film.
        const ProjectTexts::Table &a = beforeTables.at(t);
        const ProjectTexts::Table &b = afterTables.at(t);
        const QMap<QString, QStringList> aRows = byFirstCell(a.rows);
        const QMap<QString, QStringList> bRows = byFirstCell(b.rows);
        for (const QStringList &row : a.rows)
            if (!bRows.contains(row.first()))
                lines << tr("%1 %2: 删除此行").arg(a.name, row.first());
        for (const QStringList &row : b.rows) {
            if (aRows.contains(row.first())) {
                lines += cellDifferences(a, aRows.value(row.first()), row, text);
                continue;
            }
            QStringList cells;
            for (int c = 1; c < row.size(); ++c)
                cells << b.headers.value(c) + QLatin1Char(' ') + shown(row.at(c), text);
            lines << tr("%1 %2: 新增此行 (%3)")
                         .arg(b.name, row.first(), cells.join(QStringLiteral(", ")));
        }
    }
    return lines;
}

QString ProjectDiff::verdict(const QString &projectName, int differences)
{
    if (differences == 0)
        return tr("控制器中的配置与 %1 相同").arg(projectName);
    return tr("控制器中的配置与 %1 有 %n 处不同：", nullptr, differences).arg(projectName);
}
