#include "transfer.h"

using CF = CCommonFunction;

namespace {
// The bytes as the log shows them: hex pairs, the first 64 only.
QString hexOf(const QByteArray &bytes)
{
    constexpr int Shown = 64;
    QString text = QString::fromLatin1(bytes.left(Shown).toHex(' ')).toUpper();
    if (bytes.size() > Shown)
        text += QStringLiteral(" …");
    return text;
}

bool headerAt(const QByteArray &bytes, int at, quint8 command, quint8 kind)
{
    return quint8(bytes.at(at)) == command &&
           (at + 1 >= bytes.size() || quint8(bytes.at(at + 1)) == kind);
}

// A whole frame of this protocol: a command byte, room for a header, and a
// good checksum over everything.
bool wholeFrame(const QByteArray &bytes)
{
    return bytes.size() >= CF::HeaderSize + CF::ChecksumSize && CF::isFrameStart(bytes.at(0)) &&
           CF::checksumOk(bytes);
}
} // namespace

void CTransfer::requestSent(qint64 atUs)
{
    m_sent = {atUs};
    m_heard = 0;
    m_heardUs = -1;
    m_startedUs = -1;
    m_early = m_pending.size();
}

CTransfer::Step CTransfer::receive(const QByteArray &bytes, qint64 nowUs)
{
    if (!isRunning() || bytes.isEmpty())
        return {};
    m_heardAnything = true;
    m_pending.append(bytes);
    Step step;
    process(step, nowUs);
    if (!isRunning())
        return step;
    if (m_pending.size() > ReceiveLimit) {
        // Whatever this is, no answer is that long: the line babbles.
        step.answers << m_pending;
        step.messages
            << tr(": 控制器发来的数据超过%1字节仍不是有效的响应，传输失败！\n").arg(ReceiveLimit);
        finish(false);
        return step;
    }
    // An answer is on its way: the wait runs from its last byte.
    if (openStart() >= 0) {
        if (m_sent.isEmpty() || m_startedUs < m_sent.last())
            m_startedUs = nowUs;
        m_heardUs = nowUs;
    }
    return step;
}

CTransfer::Step CTransfer::silence(qint64 nowUs)
{
    if (!isRunning() || m_pending.isEmpty())
        return {};
    // What no answer can complete is judged now; a start of one is kept.
    const int start = openStart();
    const QByteArray judged = start < 0 ? m_pending : m_pending.left(start);
    if (judged.isEmpty())
        return {};
    dropFront(judged.size());
    Step step;
    if (wholeFrame(judged)) {
        // A real answer, but not the one expected now.
        step.answers << judged;
        step.messages << formatError();
        finish(false);
        return step;
    }
    const int heardBefore = m_heard;
    refuse(step, judged, nowUs);
    if (m_heard > heardBefore && m_heard >= m_sent.size())
        allHeard(step, nowUs);
    return step;
}

qint64 CTransfer::lineAllowanceUs(int size)
{
    // Ten bits a byte at 115200 baud.
    return 2 * qint64(qMax(0, size)) * 10 * 1000000 / 115200 + 20000;
}

int CTransfer::leastWaitMs()
{
    constexpr int longestRequest = CF::HeaderSize + 4 + CF::MaxBlockSize + CF::ChecksumSize;
    return int((lineAllowanceUs(longestRequest + CF::DownloadAnswerSize) + 999) / 1000);
}

qint64 CTransfer::deadlineUs() const
{
    if (!isRunning() || m_sent.isEmpty())
        return -1;
    const qint64 last = m_sent.last();
    const int size = m_draining ? m_taken.size() : expectedSize();
    // The wait runs again from each byte of an answer on its way, but no
    // answer takes longer than its due time and the line time of its bytes.
    const qint64 due = m_draining ? qMax(m_waitUs, m_takenAfterUs) : m_waitUs;
    if (m_draining) {
        const qint64 bound = last + due + lineAllowanceUs(size);
        return qMin(bound, qMax(last + due, m_heardUs + m_waitUs));
    }
    // Nothing heard since the last copy went out: a controller known to be
    // slow is given its time for the first byte.
    if (m_heardUs < last)
        return last + qMax(m_waitUs, m_firstByteWaitUs);
    // An answer under way arrives whole within the line time of its bytes
    // from when it was due, or from its first byte when that came later.
    const qint64 bound = qMax(last + due, m_startedUs) + lineAllowanceUs(size);
    return qMin(bound, m_heardUs + m_waitUs);
}

CTransfer::Step CTransfer::timeout(qint64 nowUs)
{
    if (!isRunning())
        return {};
    Step step;
    if (m_draining) {
        step.messages << tr(": 重发请求的重复响应没有到达，继续...\n");
        release(step, nowUs);
        return step;
    }
    // Part of an answer came, but not all of it in time.
    const QString partial =
        m_pending.isEmpty() || openStart() < 0
            ? QString()
            : tr(": 控制器的响应在限定时间内只收到%1字节（应为%2字节），控制器发送过慢\n")
                  .arg(m_pending.size() - openStart())
                  .arg(expectedSize());
    clearHeld();
    m_partialAnswer = m_partialAnswer || !partial.isEmpty();
    step = repeat(nowUs, false);
    if (!partial.isEmpty())
        step.messages.prepend(partial);
    if (!isRunning() && m_partialAnswer) {
        m_tooSlow = true;
        step.messages.last() =
            tr(": 控制器发送过慢：响应没有在限定时间内收全（已重发%1次），传输失败！\n")
                .arg(m_retries);
    }
    return step;
}

void CTransfer::abort()
{
    clearHeld();
    m_draining = false;
    m_state = Idle;
}

CTransfer::Found CTransfer::findAnswer() const
{
    const bool former = m_formerOwed > 0 && !m_draining && !m_former.isEmpty();
    // An upload's answers of one header differ only in their table bytes:
    // the owed duplicate is the one identical to the answer taken.
    const bool formerByBytes = former && command() == CF::CommandUpload;
    const quint8 command = m_draining ? quint8(m_taken.at(0)) : quint8(this->command());
    const quint8 kind = m_draining ? quint8(m_taken.at(1)) : quint8(expectedKind());
    const int size = m_draining ? m_taken.size() : expectedSize();
    for (int at = 0; at + 1 < m_pending.size(); ++at) {
        if (formerByBytes && m_pending.mid(at, m_former.size()) == m_former)
            return {at, int(m_former.size()), true};
        if ((m_draining || at >= m_early) && headerAt(m_pending, at, command, kind) &&
            m_pending.size() - at >= size && CF::checksumOk(m_pending.mid(at, size)))
            return {at, size, false};
        if (former && (quint8(m_former.at(0)) != command || quint8(m_former.at(1)) != kind) &&
            headerAt(m_pending, at, quint8(m_former.at(0)), quint8(m_former.at(1))) &&
            m_pending.size() - at >= m_former.size() &&
            CF::checksumOk(m_pending.mid(at, m_former.size())))
            return {at, int(m_former.size()), true};
    }
    return {};
}

int CTransfer::openStart() const
{
    const quint8 command = m_draining ? quint8(m_taken.at(0)) : quint8(this->command());
    const quint8 kind = m_draining ? quint8(m_taken.at(1)) : quint8(expectedKind());
    const int size = m_draining ? m_taken.size() : expectedSize();
    const int from = m_draining ? 0 : m_early;
    for (int at = qMax(0, m_pending.size() - size + 1); at < m_pending.size(); ++at) {
        if (at >= from && headerAt(m_pending, at, command, kind))
            return at;
    }
    return -1;
}

void CTransfer::process(Step &step, qint64 nowUs)
{
    while (isRunning() && !m_pending.isEmpty()) {
        const Found found = findAnswer();
        if (found.at < 0)
            return;
        if (found.at > 0) {
            // Noise in front of the answer costs nothing else.
            const QByteArray noise = m_pending.left(found.at);
            dropFront(found.at);
            refuse(step, noise, nowUs);
        }
        const QByteArray frame = m_pending.left(found.size);
        dropFront(found.size);
        step.answers << frame;
        m_heardUs = nowUs;
        if (found.former) {
            // Owed to the request before: nothing of the current answer
            // has been heard.
            m_heardUs = m_startedUs = -1;
            m_irregular = true;
            --m_formerOwed;
            step.messages << tr(": 收到已作答或已重发请求的迟到响应，已丢弃\n");
        } else if (m_draining) {
            duplicate(step, frame, nowUs);
        } else {
            take(step, frame, nowUs);
        }
    }
}

void CTransfer::take(Step &step, const QByteArray &answer, qint64 nowUs)
{
    const bool once = m_sent.size() == 1 && m_heard == 0;
    ++m_heard;
    const Step taken = takeAnswer(answer);
    const qint64 tookUs = m_sent.isEmpty() ? 0 : qMax<qint64>(0, nowUs - m_sent.first());
    // An answer that only the raised wait for a slow place let in is that
    // place's, as a late answer is: it moves no estimate of the others.
    const bool slowPlace = tookUs > m_waitUs && m_firstByteWaitUs > m_waitUs;
    if (once && !slowPlace)
        step.answerUs = tookUs;
    else if (m_sent.size() > 1 || slowPlace)
        step.lateUs = tookUs;
    if (!isRunning() || (taken.request.isEmpty() && !m_heldComplete)) {
        // Ended, or the controller refused the request and has it again.
        m_irregular = m_irregular || isRunning();
        step.messages += taken.messages;
        return;
    }
    m_held = taken.request;
    // The word that the transfer is done comes when it is.
    if (m_heldComplete)
        m_heldMessages = taken.messages;
    else
        step.messages += taken.messages;
    if (m_heard < m_sent.size()) {
        // Copies of the request are still unanswered: their answers would
        // be taken for the next one. Drain them first.
        m_draining = true;
        m_taken = answer;
        m_takenAfterUs = nowUs - m_sent.first();
        return;
    }
    release(step, nowUs);
}

void CTransfer::duplicate(Step &step, const QByteArray &answer, qint64 nowUs)
{
    m_irregular = true;
    ++m_heard;
    if (sameReading(m_taken, answer)) {
        step.messages << tr(": 收到已作答或已重发请求的迟到响应，已丢弃\n");
    } else if (command() == CF::CommandUpload) {
        step.messages << tr(": 上载Mirel配置信息时，同一请求的两次响应内容不同，"
                            "无法确定哪一次正确，上载失败！\n");
        finish(false);
        return;
    } else {
        step.messages << tr(": 同一请求的重复响应内容不同（状态0x%1），以先收到的响应为准\n")
                             .arg(quint8(answer.at(CF::HeaderSize)), 2, 16, QLatin1Char('0'));
    }
    if (m_heard >= m_sent.size())
        release(step, nowUs);
}

bool CTransfer::sameReading(const QByteArray &first, const QByteArray &again) const
{
    // What is read of an answer: its size, bytes 0 and 1, and the field
    // after the header (the status byte of a download block answer, the
    // length or space of an activation, the table bytes of an upload).
    if (first.size() != again.size() || first.left(2) != again.left(2))
        return false;
    const bool statusOnly =
        command() == CF::CommandDownload && quint8(first.at(1)) != CF::PacketActivation;
    const int field = statusOnly ? 1 : first.size() - CF::HeaderSize - CF::ChecksumSize;
    return first.mid(CF::HeaderSize, field) == again.mid(CF::HeaderSize, field);
}

void CTransfer::refuse(Step &step, const QByteArray &bytes, qint64 nowUs)
{
    step.answers << bytes;
    step.messages << tr(": 校验码错误！\n")
                  << tr(": 无效数据（%1字节）：%2\n").arg(bytes.size()).arg(hexOf(bytes));
    m_refused = bytes;
    // A block of an answer's length is the controller's answer, damaged on
    // the way. One of the request before, still owed, is taken for that.
    const int size = m_draining ? m_taken.size() : expectedSize();
    if (bytes.size() != size)
        return; // stray bytes: the answer is still to come
    m_irregular = true;
    if (m_formerOwed > 0 && !m_draining && bytes.size() == m_former.size()) {
        --m_formerOwed;
        return;
    }
    ++m_heard;
    m_heardUs = nowUs;
}

void CTransfer::allHeard(Step &step, qint64 nowUs)
{
    if (m_draining) {
        release(step, nowUs);
        return;
    }
    // Every copy answered, none well: no use waiting any longer.
    const Step again = repeat(nowUs, true);
    step.messages += again.messages;
    step.request = again.request;
}

void CTransfer::release(Step &step, qint64 nowUs)
{
    m_formerOwed = qMax(0, m_sent.size() - m_heard);
    m_former = m_draining ? m_taken : QByteArray();
    m_draining = false;
    m_taken.clear();
    const QByteArray next = m_held;
    m_held.clear();
    if (m_heldComplete) {
        step.messages += m_heldMessages;
        m_heldMessages.clear();
        m_heldComplete = false;
        finish(true);
        return;
    }
    step.request = next;
    requestSent(nowUs);
}

CTransfer::Step CTransfer::repeat(qint64 nowUs, bool refused)
{
    Step step;
    m_irregular = true;
    if (m_repeatsUsed < m_retries) {
        ++m_repeatsUsed;
        m_repeated = true;
        m_sent << nowUs;
        step.messages << (refused
                              ? tr(": 响应有误，第%1次重发请求...\n").arg(m_repeatsUsed)
                              : tr(": 等待控制器响应超时，第%1次重发请求...\n").arg(m_repeatsUsed));
        step.request = m_lastRequest;
        return step;
    }
    finish(false);
    if (m_refused.isEmpty())
        step.messages << tr(": 控制器无有效响应（已重发%1次），传输失败！\n").arg(m_retries);
    else
        step.messages
            << tr(": 控制器无有效响应（已重发%1次），传输失败！最后收到的是%2字节无效数据：%3\n")
                   .arg(m_retries)
                   .arg(m_refused.size())
                   .arg(hexOf(m_refused));
    return step;
}

void CTransfer::dropFront(int count)
{
    m_pending.remove(0, count);
    m_early = qMax(0, m_early - count);
}

void CTransfer::clearHeld()
{
    m_pending.clear();
    m_early = 0;
}

QByteArray CTransfer::send(const QByteArray &request)
{
    m_lastRequest = request;
    m_repeatsUsed = 0;
    m_partialAnswer = false;
    return request;
}

void CTransfer::begin(int state)
{
    clearHeld();
    m_succeeded = false;
    m_state = state;
    m_irregular = false;
    m_controllerRefused = false;
    m_heardAnything = false;
    m_repeated = false;
    m_tooSlow = false;
    m_partialAnswer = false;
    m_sent.clear();
    m_heard = 0;
    m_heardUs = -1;
    m_startedUs = -1;
    m_draining = false;
    m_taken.clear();
    m_held.clear();
    m_heldComplete = false;
    m_heldMessages.clear();
    m_formerOwed = 0;
    m_former.clear();
    m_refused.clear();
}

void CTransfer::complete()
{
    m_heldComplete = true;
}

void CTransfer::finishRefused()
{
    finish(false);
    m_controllerRefused = true;
}

void CTransfer::finish(bool success)
{
    m_controllerRefused = false;
    clearHeld();
    m_draining = false;
    m_heldComplete = false;
    m_succeeded = success;
    m_state = Idle;
}
