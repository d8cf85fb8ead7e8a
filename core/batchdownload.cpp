#include "batchdownload.h"

#include "batchportjob.h"
#include "portname.h"
#include "transferdriver.h"

#include <QSerialPortInfo>
#include <QSet>

namespace {

// A port named twice (by a link and by its own path, or as COM12 and
// \\.\COM12) is one.
QString identity(const QString &port)
{
    return PortName::identity(port);
}

} // namespace

BatchDownload::BatchDownload(QObject *parent)
    : QObject(parent), m_timeoutMs(CTransferDriver::DefaultTimeoutMs),
      m_retries(CTransfer::DefaultRetries)
{
    qRegisterMetaType<BatchPortResult>("BatchPortResult");
}

BatchDownload::~BatchDownload()
{
    for (Entry &entry : m_entries) {
        if (entry.job)
            entry.job->disconnect(this);
    }
}

void BatchDownload::setTable(const QString &chip, const QByteArray &table)
{
    m_chip = chip;
    m_table = table;
}

void BatchDownload::setVerify(bool verify)
{
    m_verify = verify;
}

void BatchDownload::setLink(int timeoutMs, int retries)
{
    m_timeoutMs = timeoutMs;
    m_retries = retries;
}

QString BatchDownload::serialNumberOf(const QString &port)
{
    return serialNumberIn(QSerialPortInfo::availablePorts(), port);
}

QString BatchDownload::serialNumberIn(const QList<QSerialPortInfo> &infos, const QString &port)
{
    const QString path = identity(port);
    for (const QSerialPortInfo &info : infos) {
        if (info.portName() == port || info.systemLocation() == port ||
            info.systemLocation() == path || info.portName() == path)
            return info.serialNumber();
    }
    return QString();
}

bool BatchDownload::start(const QStringList &ports)
{
    m_error.clear();
    if (m_running)
        m_error = tr("批量下载正在进行");
    else if (m_table.isEmpty())
        m_error = tr("没有要下载的配置表");
    else if (ports.isEmpty())
        m_error = tr("没有选择串口");
    QSet<QString> seen;
    for (const QString &port : ports) {
        if (!m_error.isEmpty())
            break;
        const QString id = identity(port);
        if (seen.contains(id))
            m_error = tr("串口%1重复").arg(port);
        seen.insert(id);
    }
    if (!m_error.isEmpty())
        return false;

    m_entries.clear();
    m_running = true;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QString &port : ports) {
        Entry entry;
        entry.port = port;
        m_entries.append(entry);
    }
    for (int i = 0; i < m_entries.size(); ++i) {
        auto *job = new BatchPortJob(m_entries.at(i).port, this);
        job->setLink(m_timeoutMs, m_retries);
        job->setSerialNumber(serialNumberIn(infos, m_entries.at(i).port));
        const QString port = m_entries.at(i).port;
        connect(job, &BatchPortJob::progress, this,
                [this, port](qint64 done, qint64 total) { emit portProgress(port, done, total); });
        connect(job, &BatchPortJob::logLine, this,
                [this, port](const QString &line) { emit portLog(port, line); });
        connect(job, &BatchPortJob::started, this, [this, port] { emit portStarted(port); });
        connect(job, &BatchPortJob::finished, this, [this, i] { onJobFinished(i); });
        m_entries[i].job = job;
        if (!job->start(m_chip, m_table, m_verify)) {
            m_entries[i].result = job->result();
            m_entries[i].job = nullptr;
            job->deleteLater();
        }
    }
    m_announcing = true;
    // Announced from the event loop, so that finished() never comes from
    // inside start(), even when no port opens.
    QMetaObject::invokeMethod(this, &BatchDownload::announceUnopened, Qt::QueuedConnection);
    return true;
}

void BatchDownload::announceUnopened()
{
    m_announcing = false;
    for (Entry &entry : m_entries) {
        if (!entry.job && !entry.ended) {
            entry.ended = true;
            emit portFinished(entry.result);
        }
    }
    checkDone();
}

void BatchDownload::onJobFinished(int index)
{
    Entry &entry = m_entries[index];
    BatchPortJob *job = entry.job;
    entry.result = job->result();
    entry.job = nullptr;
    job->deleteLater();
    if (m_announcing)
        return; // announced with the ports that did not open, in their order
    entry.ended = true;
    emit portFinished(entry.result);
    checkDone();
}

void BatchDownload::checkDone()
{
    if (!m_running)
        return;
    bool allOk = true;
    for (const Entry &entry : m_entries) {
        if (!entry.ended)
            return;
        allOk = allOk && entry.result.ok;
    }
    m_running = false;
    emit finished(allOk);
}

void BatchDownload::cancel()
{
    for (const Entry &entry : m_entries) {
        if (entry.job)
            entry.job->cancel();
    }
}

QList<BatchPortResult> BatchDownload::results() const
{
    QList<BatchPortResult> list;
    for (const Entry &entry : m_entries) {
        if (entry.ended)
            list.append(entry.result);
    }
    return list;
}
