#include "batchportjob.h"

#include <QCoreApplication>

BatchPortJob::BatchPortJob(const QString &port, QObject *parent)
    : QObject(parent), m_serial(this), m_driver(this)
{
    m_result.port = port;
    m_result.verify = QStringLiteral("off");
    m_driver.attach(&m_serial);
    connect(&m_driver, &CTransferDriver::logLine, this, &BatchPortJob::logLine);
    connect(&m_driver, &CTransferDriver::progress, this, &BatchPortJob::onProgress);
    connect(&m_driver, &CTransferDriver::ended, this, &BatchPortJob::onEnded);
    connect(&m_serial, &CSerial::portLost, this, &BatchPortJob::onPortLost);
}

void BatchPortJob::setLink(int timeoutMs, int retries)
{
    m_driver.setResponseTimeout(timeoutMs);
    m_driver.setRetries(retries);
}

bool BatchPortJob::start(const QString &chip, const QByteArray &table, bool verify)
{
    m_clock.start();
    m_chip = chip;
    m_table = table;
    m_verify = verify;
    m_result.verify = verify ? QStringLiteral("not read back") : QStringLiteral("off");
    m_serial.setControllerSettings();
    QString error;
    if (!m_serial.open(m_result.port, &error)) {
        finish(false, error);
        return false;
    }
    m_phase = Downloading;
    emit started();
    if (!m_driver.start(&m_download, m_download.start(chip, table))) {
        m_phase = Idle;
        finish(false, tr("没有可发送的内容"));
        return false;
    }
    return true;
}

void BatchPortJob::cancel()
{
    if (!isRunning())
        return;
    if (m_driver.isRunning()) {
        m_driver.cancel(); // its log line, then onEnded(Cancelled)
        return;
    }
    // The download has just ended (its last word being said) or the
    // read-back is about to start: no read-back then.
    m_cancelRequested = true;
    if (m_phase == BetweenTransfers)
        cancelled();
}

void BatchPortJob::cancelled()
{
    emit logLine(
        CTransferDriver::timestamp() +
        QCoreApplication::translate("CTransferDriver", ": 传输已取消！控制器停在传输中途。\n"));
    finish(false, tr("传输已取消"));
}

void BatchPortJob::onEnded(CTransferDriver::Outcome outcome, const QString &reason)
{
    if (outcome == CTransferDriver::Cancelled) {
        finish(false, tr("传输已取消"));
    } else if (outcome == CTransferDriver::Failed) {
        finish(false, reason);
    } else if (m_phase == Downloading && m_verify && m_cancelRequested) {
        cancelled();
    } else if (m_phase == Downloading && m_verify) {
        // The read-back starts once the driver has finished with the
        // download's end.
        m_phase = BetweenTransfers;
        QMetaObject::invokeMethod(this, &BatchPortJob::startReadBack, Qt::QueuedConnection);
    } else if (m_phase == ReadingBack) {
        compareReadBack();
    } else {
        finish(true, QString());
    }
}

void BatchPortJob::onProgress(qint64 done, qint64 total)
{
    const qint64 size = m_table.size();
    if (!m_verify) {
        emit progress(done, total);
    } else if (m_phase == Downloading) {
        emit progress(done, 2 * size);
    } else if (m_phase == ReadingBack) {
        const qint64 read = total > 0 ? qMin(size, done * size / total) : 0;
        emit progress(size + read, 2 * size);
    }
}

void BatchPortJob::onPortLost(const QString &reason)
{
    if (m_driver.isRunning()) {
        m_driver.fail(reason); // its log line, then onEnded(Failed)
    } else if (isRunning()) {
        emit logLine(
            CTransferDriver::timestamp() +
            QCoreApplication::translate("CTransferDriver", ": 传输中断：%1\n").arg(reason));
        finish(false, reason);
    }
}

void BatchPortJob::startReadBack()
{
    if (m_phase != BetweenTransfers)
        return; // cancelled or lost meanwhile
    m_phase = ReadingBack;
    if (!m_driver.start(&m_readBack, m_readBack.start(m_chip)))
        finish(false, tr("无法开始读回"));
}

void BatchPortJob::compareReadBack()
{
    const QByteArray back = m_readBack.uploadBuffer();
    QString message;
    const bool same = CReadBack::compare(m_table, back, &message);
    emit logLine(CTransferDriver::timestamp() + message);
    if (same) {
        m_result.verify = QStringLiteral("same");
        finish(true, QString());
        return;
    }
    int at = 0;
    const int common = qMin(m_table.size(), back.size());
    while (at < common && m_table.at(at) == back.at(at))
        ++at;
    m_result.verify = QStringLiteral("differs at %1").arg(at);
    QString reason = message.trimmed();
    if (reason.startsWith(QLatin1String(": ")))
        reason.remove(0, 2);
    finish(false, reason);
}

void BatchPortJob::finish(bool ok, const QString &reason)
{
    const bool started = m_phase != Idle; // a port that never opened says nothing
    m_phase = Done;
    m_result.ok = ok;
    m_result.reason = reason;
    m_result.seconds = double(m_clock.nsecsElapsed()) / 1e9;
    m_driver.abort();
    m_serial.close();
    if (started)
        emit finished();
}
