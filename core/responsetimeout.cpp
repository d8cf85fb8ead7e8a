#include "responsetimeout.h"

void CResponseTimeout::addSample(qint64 us)
{
    if (us < 0)
        return;
    if (m_smoothedUs < 0) {
        m_smoothedUs = us;
        m_variationUs = us / 2;
    } else {
        // RTTVAR = 3/4 RTTVAR + 1/4 |SRTT - R|, then SRTT = 7/8 SRTT + 1/8 R.
        m_variationUs = (3 * m_variationUs + qAbs(m_smoothedUs - us)) / 4;
        m_smoothedUs = (7 * m_smoothedUs + us) / 8;
    }
    m_backedOff = false;
}

void CResponseTimeout::addLateAnswer(qint64 us)
{
    if (us <= 0)
        return;
    const qint64 raised = qMin<qint64>(us + us / 4, qint64(MaxFirstByteMs) * 1000);
    m_firstByteUs = qMax(m_firstByteUs, raised);
}

void CResponseTimeout::reset()
{
    m_firstByteUs = 0;
    m_smoothedUs = -1;
    m_variationUs = 0;
    m_backedOff = false;
}

int CResponseTimeout::currentMs() const
{
    qint64 ms = m_floorMs;
    if (m_smoothedUs >= 0) {
        // At least a millisecond for the variation, rounded up.
        const qint64 estimateUs = m_smoothedUs + qMax<qint64>(1000, 4 * m_variationUs);
        ms = qMax<qint64>(ms, (estimateUs + 999) / 1000);
    }
    if (m_backedOff)
        ms *= 2;
    return int(qMin<qint64>(ms, MaxMs));
}
