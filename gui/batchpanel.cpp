#include "batchpanel.h"

#include "batchdownload.h"
#include "batchrecordrows.h"
#include "filedialogs.h"
#include "messages.h"
#include "portname.h"
#include "serial.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {

enum Column
{
    PortColumn = 0,
    ProgressColumn,
    OutcomeColumn,
    ColumnCount
};

} // namespace

BatchPanel::BatchPanel(CDownloadTab::Hooks hooks, QWidget *parent)
    : QDialog(parent), m_hooks(std::move(hooks)), m_batch(new BatchDownload(this)),
      m_poll(new QTimer(this)), m_record(new BatchRecordRows(this))
{
    setObjectName(QStringLiteral("BatchPanel"));
    buildForm();
    retranslate();
    connect(m_batch, &BatchDownload::portProgress, this, &BatchPanel::onProgress);
    connect(m_batch, &BatchDownload::portFinished, this, &BatchPanel::onPortFinished);
    connect(m_batch, &BatchDownload::finished, this, &BatchPanel::onFinished);
    connect(m_poll, &QTimer::timeout, this, [this] { // only while it is on show
        if (isVisible())
            refreshPorts();
    });
    // Rows written late, or failing: the status says so.
    connect(m_record, &BatchRecordRows::changed, this, [this] {
        const QString record = m_record->state();
        if (!isRunning() && !m_batch->results().isEmpty())
            m_status->setText(summary());
        else if (!record.isEmpty())
            m_status->setText(record);
    });
    m_poll->start(PollIntervalMs);
    refreshPorts();
}

BatchPanel::~BatchPanel()
{
    m_batch->cancel();
    m_batch->disconnect(this);
}

void BatchPanel::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    m_tableView = new QTableWidget(0, ColumnCount, this);
    m_tableView->setObjectName(QStringLiteral("tablePorts"));
    m_tableView->verticalHeader()->hide();
    m_tableView->setSelectionMode(QAbstractItemView::NoSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->horizontalHeader()->setSectionResizeMode(PortColumn,
                                                          QHeaderView::ResizeToContents);
    m_tableView->horizontalHeader()->setSectionResizeMode(ProgressColumn, QHeaderView::Stretch);
    // A failure's reason is read whole; the progress bars give way to it.
    m_tableView->horizontalHeader()->setSectionResizeMode(OutcomeColumn,
                                                          QHeaderView::ResizeToContents);
    layout->addWidget(m_tableView, 1);

    auto *typed = new QHBoxLayout;
    m_portEdit = new QLineEdit(this);
    m_portEdit->setObjectName(QStringLiteral("lineEditPort"));
    m_addPort = new QPushButton(this);
    m_addPort->setObjectName(QStringLiteral("pushButtonAddPort"));
    typed->addWidget(m_portEdit, 1);
    typed->addWidget(m_addPort);
    layout->addLayout(typed);
    connect(m_addPort, &QPushButton::clicked, this, &BatchPanel::addTypedPort);
    connect(m_portEdit, &QLineEdit::returnPressed, this, &BatchPanel::addTypedPort);

    m_verify = new QCheckBox(this);
    m_verify->setObjectName(QStringLiteral("checkBoxVerify"));
    layout->addWidget(m_verify);

    auto *record = new QHBoxLayout;
    m_recordLabel = new QLabel(this);
    m_recordEdit = new QLineEdit(this);
    m_recordEdit->setObjectName(QStringLiteral("lineEditRecord"));
    m_recordPick = new QPushButton(this);
    m_recordPick->setObjectName(QStringLiteral("pushButtonRecord"));
    record->addWidget(m_recordLabel);
    record->addWidget(m_recordEdit, 1);
    record->addWidget(m_recordPick);
    layout->addLayout(record);
    connect(m_recordPick, &QPushButton::clicked, this, &BatchPanel::pickRecord);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("labelStatus"));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    auto *buttons = new QHBoxLayout;
    m_start = new QPushButton(this);
    m_start->setObjectName(QStringLiteral("pushButtonStart"));
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("pushButtonCancel"));
    m_cancel->setEnabled(false);
    buttons->addStretch(1);
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_start, &QPushButton::clicked, this, [this] { start(); });
    connect(m_cancel, &QPushButton::clicked, this, &BatchPanel::cancel);
    resize(640, 420); // fits beside the window at 1366x768
}

void BatchPanel::retranslate()
{
    setWindowTitle(tr("批量下载"));
    m_tableView->setHorizontalHeaderLabels({tr("串口"), tr("进度"), tr("结果")});
    // No column narrower than its title: the progress gives way to a long
    // result only down to that.
    QHeaderView *header = m_tableView->horizontalHeader();
    int widest = 0;
    for (int c = 0; c < ColumnCount; ++c)
        widest = std::max(widest, header->fontMetrics().horizontalAdvance(
                                      m_tableView->horizontalHeaderItem(c)->text()));
    header->setMinimumSectionSize(widest + 2 * style()->pixelMetric(QStyle::PM_HeaderMargin) + 8);
    m_portEdit->setPlaceholderText(PortName::hint());
    m_addPort->setText(tr("添加"));
    m_verify->setText(tr("下载后读回校验"));
    m_recordLabel->setText(tr("记录文件："));
    m_recordEdit->setPlaceholderText(tr("可选：每个串口的结果追加一行（CSV）"));
    m_recordPick->setText(tr("选择…"));
    m_start->setText(tr("开始"));
    m_cancel->setText(tr("取消"));
    // How the last batch ended, said again in the new language.
    if (!m_batch->isRunning() && !m_batch->results().isEmpty()) {
        for (const BatchPortResult &result : m_batch->results()) {
            const int row = rowOf(result.port);
            if (row >= 0) {
                outcomeAt(row)->setText(outcomeText(result));
                outcomeAt(row)->setToolTip(outcomeText(result));
            }
        }
        m_status->setText(summary());
    }
}

QString BatchPanel::outcomeText(const BatchPortResult &result) const
{
    if (!result.ok)
        return tr("失败：%1").arg(result.reason);
    return result.verify == QLatin1String("same") ? tr("成功，读回校验一致") : tr("成功");
}

QString BatchPanel::summary() const
{
    const QList<BatchPortResult> results = m_batch->results();
    int failed = 0;
    for (const BatchPortResult &result : results)
        failed += result.ok ? 0 : 1;
    QString text = failed == 0 ? tr("全部%n个串口下载成功", nullptr, results.size())
                               : tr("%1个串口中有%2个失败").arg(results.size()).arg(failed);
    const QString record = m_record->state(); // rows not written yet
    if (!record.isEmpty())
        text += QLatin1Char('\n') + record;
    return text;
}

void BatchPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void BatchPanel::setLink(int timeoutMs, int retries)
{
    m_batch->setLink(timeoutMs, retries);
}

void BatchPanel::setVerify(bool verify)
{
    m_verify->setChecked(verify);
}

void BatchPanel::setRecordPath(const QString &path)
{
    m_recordEdit->setText(path);
}

// ------------------------------------------------------------------ ports
QStringList BatchPanel::ports() const
{
    QStringList names;
    for (const Row &row : m_rows)
        names << row.port;
    return names;
}

int BatchPanel::rowOf(const QString &port) const
{
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).port == port)
            return i;
    }
    return -1;
}

QProgressBar *BatchPanel::barAt(int row) const
{
    return qobject_cast<QProgressBar *>(m_tableView->cellWidget(row, ProgressColumn));
}

QTableWidgetItem *BatchPanel::outcomeAt(int row) const
{
    return m_tableView->item(row, OutcomeColumn);
}

void BatchPanel::addRow(const QString &port, bool typed, bool ticked)
{
    const int row = m_tableView->rowCount();
    m_tableView->insertRow(row);
    auto *item = new QTableWidgetItem(port);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    m_tableView->setItem(row, PortColumn, item);
    auto *bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    m_tableView->setCellWidget(row, ProgressColumn, bar);
    m_tableView->setItem(row, OutcomeColumn, new QTableWidgetItem);
    m_rows.append({port, typed});
}

bool BatchPanel::addPort(const QString &path)
{
    const QString port = path.trimmed();
    if (port.isEmpty() || rowOf(port) >= 0)
        return false;
    addRow(port, true, true); // typed to be used: ticked
    return true;
}

void BatchPanel::addTypedPort()
{
    if (addPort(m_portEdit->text()))
        m_portEdit->clear();
}

void BatchPanel::setTicked(const QString &port, bool ticked)
{
    const int row = rowOf(port);
    if (row >= 0)
        m_tableView->item(row, PortColumn)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

bool BatchPanel::isTicked(const QString &port) const
{
    const int row = rowOf(port);
    return row >= 0 && m_tableView->item(row, PortColumn)->checkState() == Qt::Checked;
}

QStringList BatchPanel::tickedPorts() const
{
    QStringList names;
    for (const Row &row : m_rows) {
        if (isTicked(row.port))
            names << row.port;
    }
    return names;
}

int BatchPanel::progressOf(const QString &port) const
{
    const int row = rowOf(port);
    return row >= 0 ? barAt(row)->value() : -1;
}

QString BatchPanel::outcomeOf(const QString &port) const
{
    const int row = rowOf(port);
    return row >= 0 ? outcomeAt(row)->text() : QString();
}

QString BatchPanel::statusText() const
{
    return m_status->text();
}

void BatchPanel::refreshPorts()
{
    if (isRunning())
        return; // the rows of a running batch stay where they are
    const QStringList listed = CSerial::availablePorts();
    if (listed != m_listed)
        setPorts(listed);
}

void BatchPanel::setPorts(const QStringList &listed)
{
    m_listed = listed;
    // Gone adapters leave; a typed path stays whatever comes and goes.
    for (int i = m_rows.size() - 1; i >= 0; --i) {
        if (!m_rows.at(i).typed && !listed.contains(m_rows.at(i).port)) {
            m_tableView->removeRow(i);
            m_rows.removeAt(i);
        }
    }
    for (const QString &port : listed) {
        if (rowOf(port) < 0)
            addRow(port, false, false);
    }
}

void BatchPanel::pickRecord()
{
    const QString path =
        FileDialogs::getSaveFileName(this, tr("选择记录文件"), m_recordEdit->text(),
                                     tr("CSV 文件 (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        m_recordEdit->setText(path);
}

// ------------------------------------------------------------------ batch

void BatchPanel::refuse(const QString &message)
{
    m_status->setText(message);
    Messages::warning(this, tr("批量下载"), message);
}

bool BatchPanel::start()
{
    if (isRunning())
        return false;
    if (!m_hooks.hasProject || !m_hooks.hasProject()) {
        refuse(tr("没有打开的工程：请先新建或打开工程，再批量下载配置"));
        return false;
    }
    const QStringList ports = tickedPorts();
    if (ports.isEmpty()) {
        refuse(tr("没有勾选串口：请至少勾选一个串口"));
        return false;
    }
    if (m_hooks.settleTable && !m_hooks.settleTable(tr("批量下载")))
        return false;
    QByteArray table;
    QString error;
    if (!m_hooks.buildTable || !m_hooks.buildTable(&table, &error) || table.isEmpty()) {
        if (error.isEmpty())
            error = tr("没有可下载的配置信息");
        refuse(tr("配置表生成失败：%1").arg(error));
        return false;
    }
    m_table = table;
    m_project = m_hooks.projectPath ? m_hooks.projectPath() : QString();
    if (!m_record->prepare(m_recordEdit->text().trimmed(), m_project, table, &error)) {
        refuse(error);
        return false;
    }
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    m_batch->setTable(chip, table);
    m_batch->setVerify(m_verify->isChecked());
    for (int i = 0; i < m_rows.size(); ++i) {
        const bool ticked = ports.contains(m_rows.at(i).port);
        barAt(i)->setValue(0);
        outcomeAt(i)->setText(ticked ? tr("等待开始") : QString());
    }
    if (!m_batch->start(ports)) {
        refuse(m_batch->errorString());
        return false;
    }
    m_status->setText(tr("正在向%n个串口下载...", nullptr, ports.size()));
    setRunning(true);
    return true;
}

void BatchPanel::cancel()
{
    m_batch->cancel();
}

bool BatchPanel::isRunning() const
{
    return m_batch->isRunning();
}

void BatchPanel::setRunning(bool running)
{
    m_start->setEnabled(!running);
    m_cancel->setEnabled(running);
    m_addPort->setEnabled(!running);
    m_verify->setEnabled(!running);
    m_recordEdit->setEnabled(!running);
    m_recordPick->setEnabled(!running);
}

void BatchPanel::onProgress(const QString &port, qint64 done, qint64 total)
{
    const int row = rowOf(port);
    if (row < 0 || total <= 0)
        return;
    barAt(row)->setValue(int(qMin<qint64>(100, done * 100 / total)));
    if (done < total)
        outcomeAt(row)->setText(m_verify->isChecked() && 2 * done >= total ? tr("正在读回校验...")
                                                                           : tr("正在下载..."));
}

void BatchPanel::onPortFinished(const BatchPortResult &result)
{
    const int row = rowOf(result.port);
    const QString text = outcomeText(result);
    if (row >= 0) {
        if (result.ok)
            barAt(row)->setValue(100);
        outcomeAt(row)->setText(text);
        outcomeAt(row)->setToolTip(text);
    }
    if (!m_recordEdit->text().trimmed().isEmpty())
        m_record->add(result);
}

void BatchPanel::reject()
{
    if (isRunning() || m_record->mayClose())
        QDialog::reject();
}

void BatchPanel::onFinished(bool allSucceeded)
{
    setRunning(false);
    m_status->setText(summary());
    emit batchFinished(allSucceeded);
    refreshPorts(); // adapters that came or went meanwhile
}
