#pragma once

#include "batchportresult.h"
#include "serial.h"
#include "transfer.h"
#include "transferdriver.h"
#include "transferjob.h"

#include <QElapsedTimer>
#include <QObject>

// One port of a batch download: its own link (CSerial and CTransferDriver)
// and the download job of the table, read back and compared with verify
// (and whenever the transfer went other than planned). Runs on the event loop beside the other
// ports' jobs; says what happens on the link through its signals and ends with finished(), after
// which result() holds the outcome.
class BatchPortJob : public QObject
{
    Q_OBJECT
public:
    explicit BatchPortJob(const QString &port, QObject *parent = nullptr);

    // The least wait for an answer and the repeats of an unanswered request.
    void setLink(int timeoutMs, int retries);
    void setSerialNumber(const QString &serialNumber) { m_result.serialNumber = serialNumber; }

    // Opens the port and starts the download. False when the port cannot be
    // opened or nothing can be sent: result() then says why, and no signal
    // follows.
    bool start(const QString &chip, const QByteArray &table, bool verify);
    // Ends the running transfer as the driver's cancel does; the job fails.
    void cancel();
    bool isRunning() const { return m_job.isRunning(); }
    BatchPortResult result() const { return m_result; }
    QString port() const { return m_result.port; }

signals:
    // The port is open; the download begins.
    void started();
    // The download and then the read-back, as one count of bytes.
    void progress(qint64 done, qint64 total);
    // The driver's timestamped lines ("yyyy-MM-dd hh:mm:ss: ...\n").
    void logLine(QString line);
    void finished();

private:
    void onEnded(CTransferDriver::Outcome outcome, const QString &reason);
    void onPortLost(const QString &reason);
    void finish(bool ok, const QString &reason);

    CSerial m_serial;
    CTransferDriver m_driver;
    CTransferJob m_job;
    bool m_started = false;
    QElapsedTimer m_clock;
    BatchPortResult m_result;
};
