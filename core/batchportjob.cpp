#include "batchportjob.h"

#include <QCoreApplication>

BatchPortJob::BatchPortJob(const QString &port, QObject *parent)
    : QObject(parent), m_serial(this), m_driver(this), m_job(&m_driver)
{
    m_result.port = port;
    m_result.verify = QStringLiteral("off");
    m_driver.attach(&m_serial);
    connect(&m_job, &CTransferJob::logLine, this, &BatchPortJob::logLine);
    connect(&m_job, &CTransferJob::progress, this, &BatchPortJob::progress);
    connect(&m_job, &CTransferJob::ended, this, &BatchPortJob::onEnded);
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
    m_started = false;
    m_result.verify = verify ? QStringLiteral("not read back") : QStringLiteral("off");
    m_serial.setControllerSettings();
    QString error;
    if (!m_serial.open(m_result.port, &error)) {
        finish(false, error);
        return false;
    }
    m_started = true;
    emit started();
    if (!m_job.startDownload(chip, table, verify)) {
        m_started = false;
        finish(false, m_job.reason());
        return false;
    }
    return true;
}

void BatchPortJob::cancel()
{
    m_job.cancel();
}

void BatchPortJob::onEnded(CTransferDriver::Outcome outcome, const QString &reason)
{
    m_result.verify = m_job.verify();
    finish(outcome == CTransferDriver::Succeeded, reason);
}

void BatchPortJob::onPortLost(const QString &reason)
{
    m_job.fail(reason); // its log line, then onEnded(Failed)
}

void BatchPortJob::finish(bool ok, const QString &reason)
{
    m_result.ok = ok;
    m_result.reason = reason;
    m_result.seconds = double(m_clock.nsecsElapsed()) / 1e9;
    m_driver.abort();
    m_serial.close();
    // A port that never opened says nothing.
    if (m_started) {
        m_started = false;
        emit finished();
    }
}
