// The firmware tab's serial link: the port opened, closed, lost, its list
// kept up to date; the link's settings kept; and the batch window.

#include "appfolders.h"
#include "batchpanel.h"
#include "downloadtab.h"
#include "messages.h"
#include "serial.h"
#include "transferdriver.h"
#include "transfersettings.h"
#include "ui_downloadtab.h"

#include <QAbstractItemView>
#include <QTimer>

namespace {

constexpr int PortPollMs = 1000;

} // namespace

void CDownloadTab::refreshPorts()
{
    // A typed device path is not a listed port; it survives the refresh.
    const QString previous = ui->comboBoxComNo->currentText();
    const bool typed = !previous.isEmpty() && !m_listedPorts.contains(previous);
    m_listedPorts = CSerial::availablePorts();
    ui->comboBoxComNo->clear();
    ui->comboBoxComNo->addItems(m_listedPorts);
    if (typed)
        ui->comboBoxComNo->setEditText(previous);
    else if (m_listedPorts.contains(previous))
        ui->comboBoxComNo->setCurrentIndex(m_listedPorts.indexOf(previous));
}

void CDownloadTab::openPort()
{
    const QString name = ui->comboBoxComNo->currentText().trimmed();
    const bool wasOpen = m_serial->isOpen();
    m_serial->setControllerSettings();
    QString error;
    if (!m_serial->open(name, &error)) {
        appendLog(CTransferDriver::timestamp() + tr(": 打开串口失败：%1\n").arg(error));
        if (wasOpen) {
            // Reopening closed the port that was open: show it closed.
            m_job->fail(tr("串口已关闭"));
            setTransferButtonsEnabled(true);
            paint(ui->pushButtonCloseCom, ActiveColor);
            paint(ui->pushButtonOpenCom, InactiveColor);
        }
        Messages::warning(this, tr("警告"), tr("打开串口失败"));
        return;
    }
    paint(ui->pushButtonOpenCom, ActiveColor);
    paint(ui->pushButtonCloseCom, InactiveColor);
    appendLog(CTransferDriver::timestamp() + tr(": 串口 %1 已打开\n").arg(name));
    if (name != m_lastPort) {
        m_lastPort = name;
        saveSettings();
    }
}

void CDownloadTab::closePort()
{
    m_job->fail(tr("串口已关闭"));
    setTransferButtonsEnabled(true);
    if (m_serial->close()) {
        paint(ui->pushButtonCloseCom, ActiveColor);
        paint(ui->pushButtonOpenCom, InactiveColor);
    }
}

void CDownloadTab::portLost(const QString &message)
{
    if (m_job->isRunning())
        m_job->fail(message);
    else
        appendLog(CTransferDriver::timestamp() + QStringLiteral(": ") + message +
                  QLatin1Char('\n'));
    setTransferButtonsEnabled(true);
    paint(ui->pushButtonCloseCom, ActiveColor);
    paint(ui->pushButtonOpenCom, InactiveColor);
}

bool CDownloadTab::portIsOpen() const
{
    return m_serial->isOpen();
}

QString CDownloadTab::settingsFolder() const
{
    // The start-up settings file sits beside the program's data, or, for an
    // installed program, in the user's configuration folder.
    const QString appDir = m_hooks.appDir ? m_hooks.appDir() : QString();
    if (!appDir.isEmpty() && appDir == AppFolders::dataDirectory())
        return AppFolders::settingsDirectory();
    return appDir;
}

void CDownloadTab::loadSettings()
{
    const TransferSettings stored = TransferSettings::load(settingsFolder());
    m_driver->setResponseTimeout(stored.timeoutMs);
    m_driver->setRetries(stored.retries);
    ui->spinBoxResponseTimeout->setValue(stored.timeoutMs);
    ui->spinBoxRetries->setValue(stored.retries);
    ui->checkBoxVerifyDownload->setChecked(stored.verify);
    m_lastPort = stored.lastPort;
    if (m_listedPorts.contains(m_lastPort))
        ui->comboBoxComNo->setCurrentIndex(m_listedPorts.indexOf(m_lastPort));
    else if (!m_lastPort.isEmpty())
        ui->comboBoxComNo->setEditText(m_lastPort);
}

void CDownloadTab::saveSettings()
{
    const QString folder = settingsFolder();
    if (folder.isEmpty())
        return;
    TransferSettings settings;
    settings.timeoutMs = m_driver->responseTimeout();
    settings.retries = m_driver->retries();
    settings.verify = ui->checkBoxVerifyDownload->isChecked();
    settings.lastPort = m_lastPort;
    QString error;
    if (!settings.save(folder, &error))
        appendLog(CTransferDriver::timestamp() + tr(": 传输设置没有保存：%1\n").arg(error));
}

void CDownloadTab::setUpPollAndBatch()
{
    // The list is kept up to date while the tab is shown: a hidden tab costs
    // the window nothing, and quitting never waits for an enumeration.
    m_portPoll = new QTimer(this);
    m_portPoll->setInterval(PortPollMs);
    connect(m_portPoll, &QTimer::timeout, this, &CDownloadTab::pollPorts);
    connect(ui->pushButtonBatch, &QPushButton::clicked, this, &CDownloadTab::openBatchPanel);
}

void CDownloadTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    pollPorts(); // adapters that came or went while the tab was hidden
    m_portPoll->start();
}

void CDownloadTab::hideEvent(QHideEvent *event)
{
    m_portPoll->stop();
    QWidget::hideEvent(event);
}

void CDownloadTab::pollPorts()
{
    // Left alone while its list is open: the user is choosing.
    if (ui->comboBoxComNo->view() && ui->comboBoxComNo->view()->isVisible())
        return;
    if (CSerial::availablePorts() != m_listedPorts)
        refreshPorts();
}

void CDownloadTab::openBatchPanel()
{
    if (!m_batchPanel) {
        m_batchPanel = new BatchPanel(m_hooks, this);
        m_batchPanel->setWindowFlag(Qt::Window);
        m_batchPanel->setVerify(ui->checkBoxVerifyDownload->isChecked());
    }
    // The link as the single transfer has it now.
    m_batchPanel->setLink(m_driver->responseTimeout(), m_driver->retries());
    m_batchPanel->refreshPorts(); // its list was left alone while it was closed
    m_batchPanel->show();
    m_batchPanel->raise();
    m_batchPanel->activateWindow();
}

bool CDownloadTab::batchRunning() const
{
    return m_batchPanel && m_batchPanel->isRunning();
}

void CDownloadTab::cancelBatch()
{
    if (m_batchPanel)
        m_batchPanel->cancel();
}

BatchPanel *CDownloadTab::batchPanel() const
{
    return m_batchPanel;
}
