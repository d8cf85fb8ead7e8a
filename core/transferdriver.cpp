#include "transferdriver.h"

#include "serial.h"

#include <QDateTime>

CTransferDriver::CTransferDriver(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CTransferDriver::onTimeout);
}

void CTransferDriver::attach(CSerial *serial)
{
    m_writer = [serial](const QByteArray &frame) { serial->write(frame); };
    connect(serial, &CSerial::serialReturnData, this, &CTransferDriver::onBlock);
}

bool CTransferDriver::start(CTransfer *transfer, const QByteArray &firstRequest)
{
    // The machine has already been started for this transfer; only another
    // one that still runs is ended.
    m_timer.stop();
    if (m_transfer && m_transfer != transfer)
        m_transfer->abort();
    m_transfer = nullptr;
    if (!transfer || firstRequest.isEmpty() || !transfer->isRunning())
        return false;
    m_transfer = transfer;
    m_transfer->setRetries(m_retries);
    emit progress(0, m_transfer->progressTotal());
    if (m_writer)
        m_writer(firstRequest);
    m_timer.start(m_timeoutMs);
    return true;
}

void CTransferDriver::abort()
{
    m_timer.stop();
    if (m_transfer)
        m_transfer->abort();
}

void CTransferDriver::cancel()
{
    if (isRunning())
        stop(Cancelled, QString(), tr(": 传输已取消！\n"));
}

void CTransferDriver::fail(const QString &reason)
{
    if (isRunning())
        stop(Failed, reason, tr(": 传输中断：%1\n").arg(reason));
}

void CTransferDriver::stop(Outcome outcome, const QString &reason, const QString &message)
{
    abort();
    emit logLine(timestamp() + message);
    emit ended(outcome, reason);
    emit finished(false);
}

bool CTransferDriver::isRunning() const
{
    return m_transfer && m_transfer->isRunning();
}

int CTransferDriver::state() const
{
    return m_transfer ? m_transfer->state() : CTransfer::Idle;
}

QString CTransferDriver::timestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

void CTransferDriver::onBlock(const QByteArray &block)
{
    if (!isRunning())
        return;
    emit blockReceived(block);
    const QString stamp = timestamp();
    apply(m_transfer->receive(block), stamp);
}

void CTransferDriver::onTimeout()
{
    if (!isRunning())
        return;
    apply(m_transfer->timeout(), timestamp());
}

void CTransferDriver::apply(const CTransfer::Step &step, const QString &stamp)
{
    for (const QString &message : step.messages)
        emit logLine(stamp + message);
    if (!m_transfer->isRunning()) {
        m_timer.stop();
        const bool success = m_transfer->succeeded();
        if (success) {
            emit progress(m_transfer->progressTotal(), m_transfer->progressTotal());
            emit ended(Succeeded, QString());
        } else {
            // The machine's last message says why, e.g. ": 控制器缓存空间不够，下载失败！\n".
            QString reason = step.messages.isEmpty() ? tr("传输失败") : step.messages.last();
            if (reason.startsWith(QLatin1String(": ")))
                reason.remove(0, 2);
            emit ended(Failed, reason.trimmed());
        }
        emit finished(success);
        return;
    }
    if (!step.request.isEmpty()) {
        if (m_writer)
            m_writer(step.request);
        m_timer.start(m_timeoutMs);
    }
    emit progress(m_transfer->progressDone(), m_transfer->progressTotal());
}
