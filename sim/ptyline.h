#pragma once

#include "simcontroller.h"

#include <QByteArray>
#include <QString>
#include <deque>

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

    // Serves the controller until stopFd becomes readable. Returns 0, or 1
    // when the pseudo-terminal failed.
    int run(SimController &controller, int stopFd);

private:
    struct Out
    {
        QByteArray bytes;
        qint64 pauseUs;          // quiet time before the first byte
        qint64 readyUs;          // the request it answers is in by then
        qint64 notBeforeUs = -1; // set once the piece before it is out
        bool started = false;
    };
    void queue(const QList<SimController::Chunk> &chunks, qint64 readyUs);
    // When paced, the time the bytes just read would have taken on the line.
    qint64 arrivalEnd(int bytes, qint64 nowUs);
    // Writes what may go out now; returns microseconds until more may.
    qint64 writeSome(qint64 nowUs);

    int m_master = -1;
    int m_slave = -1; // kept open so the line survives the program closing its port
    QString m_slavePath;
    bool m_paced = false;
    std::deque<Out> m_out;
    double m_nextByteUs = 0;  // paced output: earliest time of the next byte
    double m_inputFreeUs = 0; // paced input: when the line is free again
    qint64 m_stuckSinceUs = -1;
};
