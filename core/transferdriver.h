#pragma once

#include "responsetimeout.h"
#include "transfer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class CSerial;

// Runs one transfer at a time over a link: writes its requests, feeds it the
// bytes as they arrive and the silences of the line, repeats a request when
// no acceptable answer arrives within the response time-out, and reports
// every step as a timestamped log line ("yyyy-MM-dd hh:mm:ss" then the
// message).
//
// The machine says when its wait ends (from the request, and again from each
// byte of an answer); the driver keeps the wait in force: never below the
// configured time-out, longer when answers come late (CResponseTimeout),
// twice as long while a request is repeated. The estimate is kept from one
// transfer to the next.
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

    static constexpr int DefaultTimeoutMs = CResponseTimeout::DefaultMs;
    using Writer = std::function<void(const QByteArray &)>;

    explicit CTransferDriver(QObject *parent = nullptr);

    // Writes through the serial link and takes its bytes and silences.
    void attach(CSerial *serial);
    // Writes through any function; bytes are then given to onBytes and
    // onSilence, or whole blocks to onBlock.
    void setWriter(Writer writer) { m_writer = std::move(writer); }

    // The configured response time-out: the least the driver waits; never
    // less than CTransfer::leastWaitMs().
    void setResponseTimeout(int ms);
    int responseTimeout() const { return m_timeout.floor(); }
    // The wait for the next answer, as adapted to the controller.
    int currentTimeout() const { return m_timeout.currentMs(); }
    // How long a controller that never answers is waited for before the
    // transfer fails: the first wait and every repeat's.
    int silentControllerMs() const;
    const CResponseTimeout &timeoutEstimate() const { return m_timeout; }
    void setRetries(int retries) { m_retries = retries < 0 ? 0 : retries; }
    int retries() const { return m_retries; }
    // A job of several transfers begins: what one job learnt of a slow
    // place in the controller does not hold for the next.
    void beginJob() { m_timeout.endJob(); }
    // Discards what waits on the line before the next transfer (a retry
    // after a failure); the link's own rule, when attached to one.
    void cleanLine();

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
    // Bytes from the link as they arrive; ignored while no transfer runs.
    void onBytes(const QByteArray &bytes);
    // The link has been quiet for its silence time.
    void onSilence();
    // A block cut by silence: its bytes, then the silence.
    void onBlock(const QByteArray &block);

signals:
    // Every answer judged while a transfer runs (taken, dropped as late, or
    // refused), as received.
    void blockReceived(QByteArray block);
    void logLine(QString line);
    void progress(qint64 done, qint64 total);
    // The wait in force changed (it grows for a late controller, doubles
    // while a request is repeated).
    void waitChanged(int ms);
    // The transfer ended, and how; reason says what went wrong (empty on
    // success and cancel). Not emitted by abort().
    void ended(CTransferDriver::Outcome outcome, QString reason);
    // The transfer ended; emitted right after ended(), success when it
    // succeeded. Not emitted by abort().
    void finished(bool success);

private:
    void apply(const CTransfer::Step &step);
    void stop(Outcome outcome, const QString &reason, const QString &message);
    void onTimeout();
    void write(const QByteArray &request);
    // Hands the wait in force to the machine, says when it changed, and
    // sets the timer for the machine's deadline.
    void rearm();
    qint64 nowUs() const { return m_clock.nsecsElapsed() / 1000; }

    Writer m_writer;
    std::function<void()> m_cleaner;
    QTimer m_timer;
    QElapsedTimer m_clock;
    CTransfer *m_transfer = nullptr;
    CResponseTimeout m_timeout;
    int m_shownWaitMs = -1;
    int m_retries = CTransfer::DefaultRetries;
};
