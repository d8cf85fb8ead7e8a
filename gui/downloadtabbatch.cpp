// The firmware tab's port list kept up to date, and its batch window.

#include "batchpanel.h"
#include "downloadtab.h"
#include "serial.h"
#include "ui_downloadtab.h"

#include <QAbstractItemView>
#include <QTimer>

namespace {

constexpr int PortPollMs = 1000;

} // namespace

void CDownloadTab::setUpPollAndBatch()
{
    m_portPoll = new QTimer(this);
    connect(m_portPoll, &QTimer::timeout, this, &CDownloadTab::pollPorts);
    m_portPoll->start(PortPollMs);
    connect(ui->pushButtonBatch, &QPushButton::clicked, this, &CDownloadTab::openBatchPanel);
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
