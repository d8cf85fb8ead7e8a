#pragma once

#include "transfer.h"

#include <QObject>
#include <QTimer>
#include <functional>

class CSerial;

// Runs one transfer at a time over a link: writes its requests, feeds it the
// received blocks, repeats a request when no acceptable answer arrives within
// the response time-out, and reports every step as a timestamped log line
// ("yyyy-MM-dd hh:mm:ss" then the message).
class CTransferDriver : public QObject
{
    Q_OBJECT
public:
    // How a transfer ended.
    enum Outcome
    {
        Succeeded,
        Failed,
        Cancelled
    };
    Q_ENUM(Outcome)

    static constexpr int DefaultTimeoutMs = 2000;
    using Writer = std::function<void(const QByteArray &)>;

    explicit CTransferDriver(QObject *parent = nullptr);

    // Writes through the serial link and takes its blocks.
    void attach(CSerial *serial);
    // Writes through any function; blocks are then given to onBlock.
    void setWriter(Writer writer) { m_writer = std::move(writer); }

    void setResponseTimeout(int ms) { m_timeoutMs = ms > 0 ? ms : DefaultTimeoutMs; }
    int responseTimeout() const { return m_timeoutMs; }
    void setRetries(int retries) { m_retries = retries < 0 ? 0 : retries; }
    int retries() const { return m_retries; }

    // Runs a machine that has just been started and returned firstRequest
    // (the machine is not owned and must outlive the transfer). Another
    // transfer still running is ended. An empty first request means the
    // machine refused to start: nothing is sent and false is returned.
    bool start(CTransfer *transfer, const QByteArray &firstRequest);
    // Ends the running transfer without a word.
    void abort();
    // Ends the running transfer at the user's wish: a log line, then
    // ended(Cancelled) and finished(false). Does nothing while idle.
    void cancel();
    // Ends the running transfer because the link failed (port closed or
    // gone): the reason as a log line, then ended(Failed, reason) and
    // finished(false). Does nothing while idle.
    void fail(const QString &reason);

    bool isRunning() const;
    int state() const;
    CTransfer *transfer() const { return m_transfer; }

    static QString timestamp();

public slots:
    // A block from the link; ignored while no transfer runs.
    void onBlock(const QByteArray &block);

signals:
    // Every block received while a transfer runs, before it is looked at.
    void blockReceived(QByteArray block);
    void logLine(QString line);
    void progress(qint64 done, qint64 total);
    // The transfer ended, and how; reason says what went wrong (empty on
    // success and cancel). Not emitted by abort().
    void ended(CTransferDriver::Outcome outcome, QString reason);
    // The transfer ended; emitted right after ended(), success when it
    // succeeded. Not emitted by abort().
    void finished(bool success);

private:
    void apply(const CTransfer::Step &step, const QString &stamp);
    void stop(Outcome outcome, const QString &reason, const QString &message);
    void onTimeout();

    Writer m_writer;
    QTimer m_timer;
    CTransfer *m_transfer = nullptr;
    int m_timeoutMs = DefaultTimeoutMs;
    int m_retries = CTransfer::DefaultRetries;
};
