#include "downloadtab.h"

#include "batchpanel.h"
#include "batchrecordrows.h"

#include "chipfacts.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "flatbutton.h"
#include "linktrace.h"
#include "messages.h"
#include "mycombobox.h"
#include "progressbar.h"
#include "serial.h"
#include "transferdriver.h"
#include "transfersettings.h"
#include "ui_downloadtab.h"

#include <QFileInfo>
#include <QTextCursor>
#include <utility>

const QColor CDownloadTab::ActiveColor = QColor(85, 169, 255);
const QColor CDownloadTab::InactiveColor = QColor(225, 225, 225);

namespace {

// The log lines of what the decoding of a table passed over.
QString warningLines(const QStringList &warnings)
{
    QString lines;
    for (const QString &warning : warnings)
        lines += CTransferDriver::timestamp() + CDownloadTab::tr(": 注意：%1\n").arg(warning);
    return lines;
}

} // namespace

CDownloadTab::CDownloadTab(Hooks hooks, QWidget *parent)
    : QWidget(parent), ui(new Ui::CDownloadTab), m_hooks(std::move(hooks)),
      m_serial(new CSerial(this)), m_driver(new CTransferDriver(this)),
      m_job(new CTransferJob(m_driver, this)), m_trace(new LinkTrace(this))
{
    ui->setupUi(this);
    m_driver->attach(m_serial);
    connect(m_driver, &CTransferDriver::blockReceived, this, &CDownloadTab::showRawBlock);
    connect(m_job, &CTransferJob::logLine, this, &CDownloadTab::appendLog);
    connect(m_job, &CTransferJob::ended, this, &CDownloadTab::showTransferEnd);
    connect(m_job, &CTransferJob::finished, this, &CDownloadTab::transferFinished);
    connect(m_job, &CTransferJob::phaseChanged, this, &CDownloadTab::showPhase);
    connect(m_serial, &CSerial::portLost, this, &CDownloadTab::portLost);
    connect(m_job, &CTransferJob::progress, this, [this](qint64 done, qint64 total) {
        if (m_progress)
            m_progress->setProgress(done, total);
    });
    connect(m_driver, &CTransferDriver::waitChanged, this, &CDownloadTab::showWait);
    connect(m_trace, &LinkTrace::line, this,
            [this](const QString &text) { appendLog(text + QLatin1Char('\n')); });
    connectWidgets();
    setUpPollAndBatch();
    showMarking();
}

CDownloadTab::~CDownloadTab()
{
    m_driver->abort();
    // The port, the driver and the job are deleted with the tab's widgets,
    // after the form: nothing they say reaches the tab any more.
    m_serial->disconnect(this);
    m_driver->disconnect(this);
    m_job->disconnect(this);
    delete ui;
}

void CDownloadTab::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showWait();
        showMarking();
    }
    QWidget::changeEvent(event);
}

void CDownloadTab::followProjectChip()
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    if (!ChipFacts::isKnown(chip) || chip == m_followedChip)
        return;
    m_followedChip = chip;
    ui->comboBoxChipModel->setCurrentText(chip);
}

void CDownloadTab::focusDownload()
{
    ui->pushButtonConfigureMirelHardwareInformation->setFocus();
}

void CDownloadTab::focusUpload()
{
    ui->pushButtonUploadBinFile->setFocus();
}

void CDownloadTab::setConfigTablePath(const QString &path)
{
    ui->lineEditPathConf->setText(path);
}

void CDownloadTab::connectWidgets()
{
    m_kinds[KindConf] = {ui->lineEditPathConf, ui->pushButtonFileComf, ui->pushButtonConf};
    m_kinds[KindFirmware] = {ui->lineEditPathFirmware, ui->pushButtonFileFirmware,
                             ui->pushButtonFirmware};
    m_kinds[KindSAlgorithm] = {ui->lineEditPathSAlgorithm, ui->pushButtonFileSAlgorithm,
                               ui->pushButtonSAlgorithm};
    m_kinds[KindCAlgorithm] = {ui->lineEditPahtCAlgorithm, ui->pushButtonFileCAlgorithm,
                               ui->pushButtonCAlgorithm};
    m_kinds[KindDrive] = {ui->lineEditPathDrive, ui->pushButtonFileDrive, ui->pushButtonDrive};
    m_kinds[KindProgram] = {ui->lineEditPathProgram, ui->pushButtonFileProgram,
                            ui->pushButtonProgram};
    for (int k = 0; k < KindCount; ++k) {
        connect(m_kinds[k].picker, &QPushButton::clicked, this, [this, k] { pickFile(k); });
        connect(m_kinds[k].mark, &QPushButton::clicked, this, [this, k] { markKind(k); });
    }
    connect(ui->pushButtonConfigureMirelHardwareInformation, &QPushButton::clicked, this,
            &CDownloadTab::startDownload);
    connect(ui->pushButtonUploadBinFile, &QPushButton::clicked, this, &CDownloadTab::startUpload);
    connect(ui->pushButtonCompare, &QPushButton::clicked, this, &CDownloadTab::startCompare);
    connect(ui->pushButtonClearText, &QPushButton::clicked, this, &CDownloadTab::clearLog);
    connect(ui->pushButtonClearText_2, &QPushButton::clicked, this, &CDownloadTab::clearRawView);
    connect(ui->pushButtonCancel, &QPushButton::clicked, this, &CDownloadTab::clearMarking);
    connect(ui->pushButton, &QPushButton::clicked, this, &CDownloadTab::analyzeDownloadData);

    // A device path can be typed as well as picked (e.g. a pseudo-terminal).
    ui->comboBoxComNo->setEditable(true);
    connect(ui->comboBoxComNo, &CMyComboBox::Clicked, this, &CDownloadTab::refreshPorts);
    refreshPorts();
    ui->comboBoxChipModel->clear();
    ui->comboBoxChipModel->addItems(ChipFacts::models());
    connect(ui->pushButtonOpenCom, &QPushButton::clicked, this, &CDownloadTab::openPort);
    connect(ui->pushButtonCloseCom, &QPushButton::clicked, this, &CDownloadTab::closePort);
    paint(ui->pushButtonCloseCom, ActiveColor); // the port starts closed
    ui->spinBoxResponseTimeout->setRange(TransferSettings::MinTimeoutMs,
                                         TransferSettings::MaxTimeoutMs);
    ui->spinBoxResponseTimeout->setSingleStep(100);
    ui->spinBoxResponseTimeout->setKeyboardTracking(false);
    ui->spinBoxRetries->setRange(0, TransferSettings::MaxRetries);
    ui->spinBoxRetries->setKeyboardTracking(false);
    loadSettings();
    // Connected once the stored values are shown: a change is the user's.
    connect(ui->spinBoxResponseTimeout, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this](int ms) {
                m_driver->setResponseTimeout(ms);
                saveSettings();
            });
    connect(ui->spinBoxRetries, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int n) {
        m_driver->setRetries(n);
        showWait();
        saveSettings();
    });
    connect(ui->checkBoxLinkTrace, &QCheckBox::toggled, m_trace, &LinkTrace::setEnabled);
    showWait();
    connect(ui->checkBoxVerifyDownload, &QCheckBox::toggled, this, &CDownloadTab::saveSettings);
    // The offline update folds away: its files are picked and marked, not sent.
    connect(ui->toolButtonOffline, &QToolButton::toggled, this, [this](bool shown) {
        ui->widgetOffline->setVisible(shown);
        ui->toolButtonOffline->setArrowType(shown ? Qt::DownArrow : Qt::RightArrow);
    });
    ui->widgetOffline->setVisible(ui->toolButtonOffline->isChecked());
    // The log is read more than the raw bytes.
    ui->splitterLogs->setStretchFactor(0, 3);
    ui->splitterLogs->setStretchFactor(1, 2);
}

void CDownloadTab::setResponseTimeout(int ms)
{
    ui->spinBoxResponseTimeout->setValue(ms);
}

void CDownloadTab::setRetries(int retries)
{
    ui->spinBoxRetries->setValue(retries);
}

void CDownloadTab::setVerifyAfterDownload(bool verify)
{
    ui->checkBoxVerifyDownload->setChecked(verify);
}

int CDownloadTab::state() const
{
    return m_driver->state();
}

CProgressBar *CDownloadTab::progressWindow() const
{
    return m_progress;
}

// ------------------------------------------------------------- transfers

void CDownloadTab::startDownload()
{
    if (!m_hooks.hasProject || !m_hooks.hasProject()) {
        Messages::warning(this, tr("警告"), tr("没有打开的工程：请先新建或打开工程，再下载配置"));
        return;
    }
    if (m_hooks.settleTable && !m_hooks.settleTable(tr("下载")))
        return;
    if (!portIsOpen()) {
        Messages::warning(this, tr("警告"), tr("串口未打开！"));
        return;
    }
    QByteArray table;
    QString error;
    if (!m_hooks.buildTable || !m_hooks.buildTable(&table, &error) || table.isEmpty()) {
        if (error.isEmpty())
            error = tr("没有可下载的配置信息");
        appendLog(CTransferDriver::timestamp() + tr(": 配置表生成失败：%1\n").arg(error));
        return;
    }
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    m_readingBack = false;
    if (!m_job->startDownload(chip, table, ui->checkBoxVerifyDownload->isChecked()))
        return;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("下载配置文件"));
}

void CDownloadTab::startUpload()
{
    if (!portIsOpen()) {
        Messages::warning(this, tr("警告"), tr("串口通讯未打开，无法进行配置文件的上传！"));
        return;
    }
    // The open project stays until the controller's table has arrived and
    // been decoded; the window then asks before it replaces the project.
    const QString chip = ui->comboBoxChipModel->currentText();
    m_readingBack = false;
    if (!m_job->startUpload(chip))
        return;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("上传配置文件"));
}

void CDownloadTab::startCompare()
{
    if (!m_hooks.hasProject || !m_hooks.hasProject()) {
        Messages::warning(this, tr("警告"),
                          tr("没有打开的工程：请先新建或打开工程，再与控制器比较"));
        return;
    }
    if (!portIsOpen()) {
        Messages::warning(this, tr("警告"), tr("串口未打开！"));
        return;
    }
    // Read as the open project's chip: a table of the other chip's pins is
    // said to be one.
    m_readingBack = false;
    if (!m_job->startUpload(m_hooks.currentChip ? m_hooks.currentChip() : QString()))
        return;
    m_comparing = true;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("与控制器比较"));
}

void CDownloadTab::startDownloadThenCompare()
{
    startDownload();
    m_compareAfterDownload = m_job->isRunning();
}

void CDownloadTab::transferFinished(bool success)
{
    setTransferButtonsEnabled(true);
    m_readingBack = false;
    if (m_comparing) {
        m_comparing = false;
        if (m_progress) // the comparison says how it went
            m_progress->hide();
        emit controllerRead(success ? m_job->table() : QByteArray(), m_job->heldNoTable(),
                            success ? QString() : m_job->reason());
        return;
    }
    if (std::exchange(m_compareAfterDownload, false) && success)
        QMetaObject::invokeMethod(this, &CDownloadTab::startCompare, Qt::QueuedConnection);
    if (!success || m_job->kind() == CTransferJob::Download)
        return;
    QString error;
    QStringList warnings;
    const bool made = m_hooks.analyzeUpload &&
                      m_hooks.analyzeUpload(m_job->table(), m_job->chip(), &error, &warnings);
    if (!made) {
        appendLog(CTransferDriver::timestamp() +
                  tr(": 上载的配置信息无法生成工程：%1\n").arg(error));
        // Read whole, but no project: the transfer did not give what was asked.
        if (m_progress)
            m_progress->showEnded(
                tr("上传的配置信息无法生成工程：%1\n请确认所选芯片型号与控制器一致。").arg(error));
    }
    appendLog(warningLines(warnings));
}

// The first transfer of a job has its window up already; what confirms it
// says so in the window.
void CDownloadTab::showPhase(CTransferJob::Phase phase)
{
    const bool confirming = m_readingBack;
    m_readingBack = phase != CTransferJob::Sending;
    if (phase == CTransferJob::ReadingBack)
        showProgressWindow(tr("读回校验"));
    else if (confirming)
        showProgressWindow(phase == CTransferJob::Sending ? tr("重新下载配置文件")
                                                          : tr("再次读取以确认"));
}

void CDownloadTab::analyzeDownloadData()
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    QString error;
    QStringList warnings;
    const bool made = m_hooks.makeProjectOfDownload &&
                      m_hooks.makeProjectOfDownload(m_job->downloadMachine().downloadData(), chip,
                                                    &error, &warnings);
    if (!made)
        appendLog(CTransferDriver::timestamp() + tr(": 配置信息无法生成工程：%1\n").arg(error));
    appendLog(warningLines(warnings));
}

void CDownloadTab::showProgressWindow(const QString &label)
{
    if (!m_progress) {
        m_progress = new CProgressBar(this);
        connect(m_progress, &CProgressBar::cancelRequested, this, &CDownloadTab::cancelTransfer);
    }
    m_progress->begin(label);
    showWait();
    m_progress->show();
    m_progress->raise();
}

void CDownloadTab::showWait()
{
    const int waitMs = m_driver->currentTimeout();
    const int giveUpS = (m_driver->silentControllerMs() + 999) / 1000;
    ui->labelWait->setText(tr("当前等待响应%1 ms；").arg(waitMs) + QLatin1Char('\n') +
                           tr("控制器无响应时约%1秒后放弃").arg(giveUpS));
    if (m_progress && m_progress->isRunning())
        m_progress->setWaitText(tr("等待每个响应最长%1 ms").arg(waitMs));
}

void CDownloadTab::setTransferButtonsEnabled(bool enabled)
{
    ui->pushButtonConfigureMirelHardwareInformation->setEnabled(enabled);
    ui->pushButtonUploadBinFile->setEnabled(enabled);
    ui->pushButtonCompare->setEnabled(enabled);
}

void CDownloadTab::cancelTransfer()
{
    m_job->cancel();
}

bool CDownloadTab::mayQuit()
{
    if (!m_job->isRunning() && !batchRunning())
        return !m_batchPanel || m_batchPanel->recordRows()->mayQuit();
    // The controller knows no abort: stopping leaves it mid-transfer.
    const auto answer = Messages::question(
        this, tr("退出"), tr("正在与控制器传输数据。现在退出会中止传输，控制器将停在传输中途。"),
        QMessageBox::Yes | QMessageBox::No,
        {{QMessageBox::Yes, tr("中止传输并退出")}, {QMessageBox::No, tr("继续传输")}},
        QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    cancelTransfer();
    cancelBatch();
    return true;
}

void CDownloadTab::showTransferEnd(CTransferDriver::Outcome outcome, const QString &reason)
{
    if (!m_progress)
        return;
    const bool upload = m_job->kind() == CTransferJob::Upload;
    const bool readBack = m_job->phase() == CTransferJob::Done && !upload && m_readingBack;
    switch (outcome) {
    case CTransferDriver::Succeeded:
        m_progress->showSucceeded();
        break;
    case CTransferDriver::Failed:
        if (readBack)
            m_progress->showEnded(tr("读回校验失败：%1").arg(reason));
        else
            m_progress->showEnded(upload ? tr("上传失败：%1").arg(reason)
                                         : tr("下载失败：%1").arg(reason));
        break;
    case CTransferDriver::Cancelled:
        if (readBack)
            m_progress->showEnded(tr("读回校验已取消"));
        else
            m_progress->showEnded(upload ? tr("上传已取消") : tr("下载已取消"));
        break;
    }
}

// ------------------------------------------------------------ log views

void CDownloadTab::appendLog(const QString &line)
{
    // Added at the end: the text before stays as it is, however long.
    ui->textEditInform->moveCursor(QTextCursor::End);
    ui->textEditInform->insertPlainText(line);
    ui->textEditInform->ensureCursorVisible();
}

void CDownloadTab::showRawBlock(const QByteArray &block)
{
    // One block a line, in hex: answers are binary.
    ui->textEdit->moveCursor(QTextCursor::End);
    ui->textEdit->insertPlainText(QString::fromLatin1(block.toHex(' ')).toUpper() +
                                  QLatin1Char('\n'));
}

void CDownloadTab::clearLog()
{
    ui->textEditInform->clear();
}

void CDownloadTab::clearRawView()
{
    ui->textEdit->clear();
}

// ------------------------------------------------------------ file kinds

void CDownloadTab::paint(QWidget *widget, const QColor &color)
{
    if (auto *button = qobject_cast<QPushButton *>(widget)) {
        FlatButton::paint(button, color);
        return;
    }
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
