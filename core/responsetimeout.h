#pragma once

#include <QtGlobal>

// How long to wait for an answer, adapted to the controller the way a
// retransmission timer is: the answer times measured on requests that went
// out once are smoothed (SRTT) together with their variation (RTTVAR), and
// the wait is SRTT + 4 RTTVAR, never below the configured time-out. Answers
// to repeated requests are not measured (Karn's rule): nobody knows which
// copy they answer. While a request is repeated the wait is doubled, once,
// until an answer to a request sent once is measured again.
//
// A controller that is slow in one place answers a repeated request late,
// and Karn's rule leaves that answer out: the same request would be repeated
// on every read. So an answer taken late, after its request was repeated,
// raises the least wait for the first byte of later answers to the time it
// took (and a quarter more for the jitter), at most MaxFirstByteMs, until
// the next job.
class CResponseTimeout
{
public:
    static constexpr int DefaultMs = 2000;
    static constexpr int MaxMs = 600000;
    static constexpr int MaxFirstByteMs = 10000;

    explicit CResponseTimeout(int floorMs = DefaultMs) { setFloor(floorMs); }

    // The configured time-out: the wait never falls below it.
    void setFloor(int ms) { m_floorMs = ms > 0 ? qMin(ms, MaxMs) : DefaultMs; }
    int floor() const { return m_floorMs; }

    // An answer to a request sent once took this long.
    void addSample(qint64 us);
    // A request went unanswered and is repeated.
    void backOff() { m_backedOff = true; }
    // An answer came this long after the first copy of its repeated request.
    void addLateAnswer(qint64 us);
    // The least wait for the first byte of an answer, in microseconds.
    qint64 firstByteUs() const { return m_firstByteUs; }
    // A new job starts: the first byte is waited for as any answer.
    void endJob() { m_firstByteUs = 0; }
    // A new transfer starts: what was measured stays, the doubling ends.
    void restart() { m_backedOff = false; }
    // Forgets what was measured (another controller).
    void reset();

    // The wait for the next answer, in milliseconds.
    int currentMs() const;
    bool hasEstimate() const { return m_smoothedUs >= 0; }
    qint64 smoothedUs() const { return m_smoothedUs; }
    qint64 variationUs() const { return m_variationUs; }

private:
    int m_floorMs = DefaultMs;
    qint64 m_smoothedUs = -1;
    qint64 m_variationUs = 0;
    bool m_backedOff = false;
    qint64 m_firstByteUs = 0;
};
