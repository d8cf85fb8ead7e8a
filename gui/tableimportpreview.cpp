#include "tableimportpreview.h"

#include "screenplace.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget *listOf(const QStringList &headers, const QVector<QStringList> &rows)
{
    auto *list = new QTableWidget(int(rows.size()), int(headers.size()));
    list->setHorizontalHeaderLabels(headers);
    list->verticalHeader()->hide();
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setWordWrap(false);
    for (int c = 0; c + 1 < headers.size(); ++c)
        list->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    list->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < headers.size(); ++c) {
            auto *item = new QTableWidgetItem(rows.at(r).value(c));
            item->setToolTip(rows.at(r).join(QLatin1Char(' ')));
            list->setItem(r, c, item);
        }
    list->setVisible(!rows.isEmpty());
    return list;
}

} // namespace

TableImportPreview::TableImportPreview(const QVector<ProjectDifference> &differences,
                                       const QVector<TableCsv::Refusal> &refused, QWidget *parent)
    : QDialog(parent), said(new QLabel)
{
    setObjectName(QStringLiteral("tableImportPreview"));
    setWindowTitle(tr("导入表格"));
    QVector<QStringList> changed;
    for (const ProjectDifference &d : differences)
        changed << QStringList{d.tableName.isEmpty() ? d.pin : d.tableName,
                               d.row > 0 ? QString::number(d.row) + QLatin1Char(' ') + d.rowName
                                         : d.rowName,
                               d.field, d.projectValue, d.controllerValue};
    changes =
        listOf({tr("表格"), tr("行"), tr("字段"), tr("工程中的值"), tr("文件中的值")}, changed);
    changes->setObjectName(QStringLiteral("differenceList"));
    QVector<QStringList> notTaken;
    for (const TableCsv::Refusal &r : refused)
        notTaken << QStringList{r.file, r.line > 0 ? QString::number(r.line) : QString(),
                                r.column > 0 ? QString::number(r.column) : QString(), r.message};
    refusals = listOf({tr("文件"), tr("行"), tr("列"), tr("没有导入的原因")}, notTaken);
    refusals->setObjectName(QStringLiteral("refusalList"));

    QString text = differences.isEmpty()
                       ? tr("导入不会改变工程。")
                       : tr("导入将改变工程中的%n处：确定后作为一步修改，可以撤销。", nullptr,
                            int(differences.size()));
    if (!refused.isEmpty())
        text += QLatin1Char('\n') +
                tr("%n个值没有导入（见下表）：表格窗口不会接受它们，工程保留原来的值。", nullptr,
                   int(refused.size()));
    said->setText(text);
    said->setWordWrap(true);
    said->setObjectName(QStringLiteral("labelImport"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("确定"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!differences.isEmpty());
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(said);
    layout->addWidget(changes, 2);
    layout->addWidget(refusals, 1);
    layout->addWidget(buttons);
    if (differences.isEmpty() && refused.isEmpty())
        adjustSize(); // a line and the buttons
    else
        ScreenPlace::fit(this, QSize(760, 460));
}
