#include "comparewindow.h"

#include "screenplace.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    TableColumn,
    RowColumn,
    FieldColumn,
    ProjectColumn,
    ControllerColumn,
    ColumnCount
};

} // namespace

CompareWindow::CompareWindow(QWidget *parent)
    : QDialog(parent), said(new QLabel), table(new QTableWidget(0, ColumnCount)),
      download(new QPushButton), open(new QPushButton), close(new QPushButton)
{
    setObjectName(QStringLiteral("compareWindow"));
    said->setObjectName(QStringLiteral("labelVerdict"));
    said->setWordWrap(true);
    said->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table->setObjectName(QStringLiteral("differenceList"));
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    for (int c = TableColumn; c < ControllerColumn; ++c)
        table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    download->setObjectName(QStringLiteral("pushButtonDownloadProject"));
    open->setObjectName(QStringLiteral("pushButtonOpenController"));
    close->setObjectName(QStringLiteral("pushButtonClose"));
    // No default button: Enter activates a difference in the list.

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(download);
    buttons->addWidget(open);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(said);
    layout->addWidget(table, 1);
    layout->addLayout(buttons);

    connect(download, &QPushButton::clicked, this, &CompareWindow::downloadRequested);
    connect(open, &QPushButton::clicked, this, &CompareWindow::openRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(table, &QTableWidget::itemActivated, this, [this](QTableWidgetItem *item) {
        if (item && item->row() >= 0 && item->row() < shown.size())
            emit differenceActivated(shown.at(item->row()));
    });
    retranslate();
    ScreenPlace::fit(this, QSize(760, 420));
}

void CompareWindow::compare(const ProjectData &project, const QByteArray &held,
                            const QString &projectName)
{
    compared = project;
    heldTable = held;
    name = projectName;
    failure.clear();
    outdated = false;
    present();
}

void CompareWindow::showFailure(const QString &reason)
{
    heldTable.clear();
    failure = reason;
    outdated = false;
    present();
}

void CompareWindow::present()
{
    using C = ProjectDiff::ControllerComparison;
    if (!failure.isEmpty()) {
        shown.clear();
        readable = false;
        said->setText(tr("没有读到控制器中的配置，无法比较：%1").arg(failure));
        fill();
        return;
    }
    const C comparison = ProjectDiff::withController(compared, heldTable, CDlgDescription());
    shown = comparison.differences;
    readable = comparison.outcome == C::Equal || comparison.outcome == C::Differs;
    switch (comparison.outcome) {
    case C::Equal:
    case C::Differs:
        said->setText(ProjectDiff::verdict(name, int(shown.size())));
        break;
    case C::NoTable:
        said->setText(tr("控制器中没有配置表：它还没有下载过配置。"));
        break;
    case C::OtherChip:
        said->setText(tr("控制器中的配置表属于另一种芯片，不能与 %1 逐项比较：%2")
                          .arg(name, comparison.message));
        break;
    case C::Unreadable:
        said->setText(tr("控制器中的配置表无法解读：%1").arg(comparison.message));
        break;
    case C::ProjectRefused:
        said->setText(tr("工程无法生成配置表，不能比较：%1").arg(comparison.message));
        break;
    }
    fill();
    if (outdated)
        said->setText(tr("（工程已修改，以下是修改前的比较）") + QLatin1Char('\n') + said->text());
}

void CompareWindow::markOutdated()
{
    if (outdated || said->text().isEmpty())
        return;
    outdated = true;
    said->setText(tr("（工程已修改，以下是修改前的比较）") + QLatin1Char('\n') + said->text());
}

QString CompareWindow::verdict() const
{
    return said->text();
}

void CompareWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        retranslate();
        if (!name.isEmpty() || !failure.isEmpty())
            present();
    }
    QDialog::changeEvent(event);
}

void CompareWindow::retranslate()
{
    setWindowTitle(tr("与控制器比较"));
    table->setHorizontalHeaderLabels(
        {tr("表格"), tr("行"), tr("字段"), tr("工程中的值"), tr("控制器中的值")});
    download->setText(tr("下载工程到控制器"));
    download->setToolTip(tr("把当前工程的配置表写入控制器"));
    open->setText(tr("打开控制器中的配置"));
    open->setToolTip(tr("把控制器中的配置作为新工程打开"));
    close->setText(tr("关闭"));
}

void CompareWindow::fill()
{
    table->setRowCount(int(shown.size()));
    for (int r = 0; r < shown.size(); ++r) {
        const ProjectDifference &d = shown.at(r);
        const QString row =
            d.row > 0 ? QString::number(d.row) + QLatin1Char(' ') + d.rowName : d.rowName;
        const QStringList cells{d.tableName.isEmpty() ? d.pin : d.tableName, row, d.field,
                                d.projectValue, d.controllerValue};
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(d.line());
            table->setItem(r, c, item);
        }
    }
    table->setVisible(!shown.isEmpty());
    open->setEnabled(readable);
}
