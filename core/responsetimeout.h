#pragma once

#include <QtGlobal>

// How long to wait for an answer, adapted to the controller the way a
// retransmission timer is: the answer times measured on requests that went
// out once are smoothed (SRTT) together with their variation (RTTVAR), and
// the wait is SRTT + 4 RTTVAR, never below the configured time-out. Answers
// to repeated requests are not measured (Karn's rule): nobody knows which
// copy they answer. While a request is repeated the wait is doubled, once,
// until an answer to a request sent once is measured again.
class CResponseTimeout
{
public:
    static constexpr int DefaultMs = 2000;
    static constexpr int MaxMs = 600000;

    explicit CResponseTimeout(int floorMs = DefaultMs) { setFloor(floorMs); }

    // The configured time-out: the wait never falls below it.
    void setFloor(int ms) { m_floorMs = ms > 0 ? qMin(ms, MaxMs) : DefaultMs; }
    int floor() const { return m_floorMs; }

    // An answer to a request sent once took this long.
    void addSample(qint64 us);
    // A request went unanswered and is repeated.
    void backOff() { m_backedOff = true; }
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
};
