#pragma once

#include "simcontroller.h"

#include <QByteArray>
#include <QString>
#include <deque>
#include <functional>

// The controller's end of a pseudo-terminal: the program opens the slave
// side as its serial port. Runs the read-answer loop until a stop request
// arrives on the stop descriptor.
class PtyLine
{
public:
    // 115200 baud, 8N1: ten bit times per byte.
    static constexpr double LineBytesPerSecond = 11520.0;

    PtyLine() = default;
    ~PtyLine();
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    // Opens the pair in raw mode; false with a reason on failure.
    bool open(QString *error);
    QString slavePath() const { return m_slavePath; }

    // Makes both directions take line time: an answer is not sent before
    // its request would have arrived, nor faster than the line rate.
    void setPaced(bool paced) { m_paced = paced; }
    // Delivers the answers the way a USB serial adapter does: what has come
    // over the line is handed to the program in batches, every ms
    // milliseconds (its latency timer). 0: byte by byte as it comes.
    void setLatencyMs(int ms) { m_latencyUs = qint64(ms) * 1000; }
    // Called with a line of figures at the end of each transfer: how long
    // it took from its first request byte to its last answer byte, and the
    // program's turnaround (last answer byte out to next request byte in).
    void onStats(std::function<void(const QString &)> f) { m_stats = std::move(f); }

    // Serves the controller until stopFd becomes readable. Returns 0, or 1
    // when the pseudo-terminal failed.
    int run(SimController &controller, int stopFd);

private:
    struct Out
    {
        QByteArray bytes;
        qint64 pauseUs = 0;      // quiet time after the piece before
        qint64 dueUs = 0;        // not before: the request is in (and any delay passed)
        qint64 notBeforeUs = -1; // set once the piece before it is out
        bool started = false;
        bool endless = false;
        QString transfer; // set on the answer that ends a transfer
    };
    void queue(const QList<SimController::Chunk> &chunks, qint64 readyUs);
    // When paced, the time the bytes just read would have taken on the line.
    qint64 arrivalEnd(int bytes, qint64 nowUs);
    // Puts on the line what may go now; returns microseconds until more may.
    qint64 schedule(qint64 nowUs);
    // Hands what is on the line to the program (at the adapter's ticks);
    // returns microseconds until it should be tried again.
    qint64 flush(qint64 nowUs);
    void inputArrived(qint64 nowUs);
    void answerOut(qint64 nowUs, const QString &transfer);

    int m_master = -1;
    int m_slave = -1; // kept open so the line survives the program closing its port
    QString m_slavePath;
    bool m_paced = false;
    qint64 m_latencyUs = 0;
    std::deque<Out> m_out;
    QByteArray m_wire;        // over the line, not yet handed to the program
    double m_nextByteUs = 0;  // paced output: earliest time of the next byte
    double m_inputFreeUs = 0; // paced input: when the line is free again
    qint64 m_stuckSinceUs = -1;
    qint64 m_wireSinceUs = 0; // when the bytes on the line started to gather

    std::function<void(const QString &)> m_stats;
    QString m_endsTransfer;        // the answer on the line ends a transfer
    qint64 m_transferStartUs = -1; // first request byte of the transfer
    qint64 m_lastOutUs = -1;       // last answer byte handed over
    int m_turnarounds = 0;
    qint64 m_turnaroundSumUs = 0;
    qint64 m_turnaroundMaxUs = 0;
};
