#include "problemsdock.h"

#include "projectcontroller.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    SeverityColumn,
    PlaceColumn,
    MessageColumn,
    ColumnCount
};

} // namespace

ProblemsDock::ProblemsDock(ProjectController *project, QWidget *parent)
    : QDockWidget(parent), model(project), key(new QAction(this)),
      table(new QTableWidget(0, ColumnCount)), none(new QLabel), counts(new QLabel)
{
    key->setCheckable(true);
    key->setShortcut(QKeySequence(Qt::Key_F8));
    connect(key, &QAction::triggered, this, &ProblemsDock::keyPressed);
    connect(this, &QDockWidget::visibilityChanged, key, [this] { key->setChecked(isVisible()); });
    setObjectName(QStringLiteral("problemsDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    table->setObjectName(QStringLiteral("problemList"));
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setWordWrap(false);
    table->horizontalHeader()->setSectionResizeMode(SeverityColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(PlaceColumn, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    none->setObjectName(QStringLiteral("labelNoProblem"));
    none->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    none->setMargin(6);
    none->setFocusPolicy(Qt::StrongFocus); // F8 reaches it when nothing is listed
    counts->setObjectName(QStringLiteral("labelProblemCounts"));
    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table);
    layout->addWidget(none);
    setWidget(content);
    connect(table, &QTableWidget::itemActivated, this, [this](QTableWidgetItem *item) {
        if (item && item->row() >= 0 && item->row() < shown.size())
            emit problemActivated(shown.at(item->row()));
    });
    for (auto signal : {&ProjectController::projectChanged, &ProjectController::projectRestored,
                        &ProjectController::projectReplaced})
        connect(model, signal, this, &ProblemsDock::check);
    retranslate();
}

void ProblemsDock::keyPressed()
{
    QWidget *focus = QApplication::focusWidget();
    if (isVisible() && focus && (focus == this || isAncestorOf(focus))) {
        hide();
    } else {
        show();
        raise();
        QWidget *target = table->isVisible() ? static_cast<QWidget *>(table) : none;
        if (table->isVisible() && table->currentRow() < 0 && table->rowCount() > 0)
            table->setCurrentCell(0, 0);
        target->setFocus(Qt::ShortcutFocusReason);
    }
    key->setChecked(isVisible());
}

void ProblemsDock::check()
{
    shown = model->isOpen() ? model->problems() : QVector<ProjectProblem>();
    fill();
    emit problemsChanged(shown);
}

void ProblemsDock::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDockWidget::changeEvent(event);
}

void ProblemsDock::retranslate()
{
    setWindowTitle(tr("问题"));
    table->setHorizontalHeaderLabels({tr("级别"), tr("位置"), tr("问题")});
    // The messages are made again in the new language.
    check();
}

void ProblemsDock::fill()
{
    table->setRowCount(int(shown.size()));
    const QIcon errorIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warningIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (int r = 0; r < shown.size(); ++r) {
        const ProjectProblem &problem = shown.at(r);
        const bool error = problem.severity == ProjectProblem::Error;
        table->setItem(
            r, SeverityColumn,
            new QTableWidgetItem(error ? errorIcon : warningIcon, error ? tr("错误") : tr("警告")));
        table->setItem(r, PlaceColumn, new QTableWidgetItem(ProjectCheck::place(problem)));
        auto *message = new QTableWidgetItem(problem.message);
        message->setToolTip(problem.message);
        table->setItem(r, MessageColumn, message);
    }
    table->setVisible(!shown.isEmpty());
    none->setVisible(shown.isEmpty());
    // Nothing to check is not a project without problems.
    none->setText(model->isOpen() ? tr("工程没有问题：配置表可以生成和下载。")
                                  : tr("没有打开的工程。"));
    int errors = 0;
    for (const ProjectProblem &problem : shown)
        errors += problem.severity == ProjectProblem::Error;
    counts->setText(shown.isEmpty()
                        ? tr("没有问题")
                        : tr("%1 个错误，%2 个警告").arg(errors).arg(int(shown.size()) - errors));
}
