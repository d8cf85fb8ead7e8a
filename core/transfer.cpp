#include "transfer.h"

#include "tablelayout.h"

using CF = CCommonFunction;

// ---------------------------------------------------------------- CTransfer

void CTransfer::requestSent(qint64 atUs)
{
    m_sent = {atUs};
    m_heard = 0;
    m_early = m_pending.size();
}

CTransfer::Step CTransfer::receive(const QByteArray &bytes, qint64 nowUs)
{
    if (!isRunning() || bytes.isEmpty())
        return {};
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
    // The bytes held are the start of an answer (not stray bytes waiting
    // for the silence): the controller is still answering.
    if (!m_pending.isEmpty() && CF::isFrameStart(m_pending.at(0)))
        step.heard = true;
    return step;
}

CTransfer::Step CTransfer::silence(qint64 nowUs)
{
    Q_UNUSED(nowUs)
    if (!isRunning() || m_pending.isEmpty())
        return {};
    // After process() the held bytes are stray bytes, a start of an answer,
    // or an answer of its full length whose checksum is wrong.
    bool late = false;
    const bool start = CF::isFrameStart(m_pending.at(0)) &&
                       (m_pending.size() < 2 || m_pending.size() < headSize(&late));
    if (start) {
        if (m_cuts.isEmpty() || m_cuts.last() != m_pending.size())
            m_cuts << m_pending.size();
        return {};
    }
    Step step;
    step.answers << m_pending;
    step.messages << tr(": 校验码错误！\n");
    clearHeld();
    return step;
}

CTransfer::Step CTransfer::timeout(qint64 nowUs)
{
    if (!isRunning())
        return {};
    clearHeld();
    Step step;
    if (m_repeatsUsed < m_retries) {
        ++m_repeatsUsed;
        m_sent << nowUs;
        step.messages << tr(": 等待控制器响应超时，第%1次重发请求...\n").arg(m_repeatsUsed);
        step.request = m_lastRequest;
        return step;
    }
    finish(false);
    step.messages << tr(": 控制器无有效响应（已重发%1次），传输失败！\n").arg(m_retries);
    return step;
}

void CTransfer::abort()
{
    clearHeld();
    m_state = Idle;
}

int CTransfer::headSize(bool *late) const
{
    *late = false;
    if (m_pending.size() < 2)
        return 0;
    const quint8 command = quint8(m_pending.at(0));
    const quint8 kind = quint8(m_pending.at(1));
    const bool expected = command == this->command() && kind == expectedKind();
    const bool formerHeader = command == m_lateCommand && kind == m_lateKind;
    // An answer that began before the current request went out, or that
    // carries the header of the request before, is a late one if any is
    // owed; otherwise it is of the wrong form.
    if (expected && m_early == 0)
        return expectedSize();
    if (m_owed > 0 && (formerHeader || expected)) {
        *late = true;
        return formerHeader ? m_lateSize : expectedSize();
    }
    return 0;
}

void CTransfer::process(Step &step, qint64 nowUs)
{
    while (isRunning() && !m_pending.isEmpty()) {
        // Stray bytes wait for the silence that ends them.
        if (!CF::isFrameStart(m_pending.at(0)) || m_pending.size() < 2)
            return;
        bool late = false;
        const int size = headSize(&late);
        if (size == 0) {
            if (refuse(step))
                continue;
            return;
        }
        if (m_pending.size() < size)
            return; // the rest is on its way
        const QByteArray frame = m_pending.left(size);
        if (!CF::checksumOk(frame)) {
            // At the expected length a silence tells a wrong checksum from a
            // longer answer; more bytes already tell it is longer.
            if (m_pending.size() == size)
                return;
            if (refuse(step))
                continue;
            return;
        }
        dropFront(size);
        step.answers << frame;
        step.heard = true;
        if (late || arrivesWhenLateAnswerIsDue(nowUs)) {
            --m_owed;
            step.messages << tr(": 收到已作答或已重发请求的迟到响应，已丢弃\n");
            continue;
        }
        accept(step, frame, nowUs);
    }
}

void CTransfer::accept(Step &step, const QByteArray &answer, qint64 nowUs)
{
    const QVector<qint64> sent = m_sent;
    const int heardBefore = m_heard++;
    const Step taken = takeAnswer(answer);
    step.messages += taken.messages;
    if (sent.size() == 1 && heardBefore == 0) {
        step.answerUs = qMax<qint64>(0, nowUs - sent.first());
        if (m_shortestUs < 0 || step.answerUs < m_shortestUs)
            m_shortestUs = step.answerUs;
    }
    if (taken.request.isEmpty())
        return;
    // A new request goes out now. The copies of this one that were not
    // answered yet may still be: each would be due as long after the new
    // request as the copy went out after the first.
    m_owed = qMax(0, sent.size() - m_heard);
    m_lateCommand = quint8(answer.at(0));
    m_lateKind = quint8(answer.at(1));
    m_lateSize = answer.size();
    m_lateDueUs.clear();
    for (int i = 1; i < sent.size(); ++i)
        m_lateDueUs << sent.at(i) - sent.first();
    m_answerGapUs = sent.isEmpty() ? 0 : nowUs - sent.last();
    step.request = taken.request;
    requestSent(nowUs);
}

bool CTransfer::arrivesWhenLateAnswerIsDue(qint64 nowUs) const
{
    if (m_owed <= 0 || m_sent.isEmpty())
        return false;
    const qint64 since = nowUs - m_sent.first();
    // Quicker than the controller has answered at all: not this request's.
    if (m_shortestUs > 0 && since < m_shortestUs / 2)
        return true;
    // A controller slow by a steady amount answers each copy that long after
    // it; the answer to the new request would come as long after it as the
    // answer before took after its last copy.
    const qint64 toAnswer = qAbs(since - m_answerGapUs);
    for (qint64 due : m_lateDueUs) {
        if (qAbs(since - due) < toAnswer)
            return true;
    }
    return false;
}

bool CTransfer::refuse(Step &step)
{
    if (!m_cuts.isEmpty()) {
        // A start kept over a silence that the bytes after it do not
        // complete: a short answer.
        const int cut = m_cuts.first();
        step.answers << m_pending.left(cut);
        step.messages << tr(": 校验码错误！\n");
        dropFront(cut);
        return true;
    }
    step.answers << m_pending;
    step.messages << formatError();
    finish(false);
    return false;
}

void CTransfer::dropFront(int count)
{
    m_pending.remove(0, count);
    m_early = qMax(0, m_early - count);
    QVector<int> cuts;
    for (int cut : qAsConst(m_cuts)) {
        if (cut > count)
            cuts << cut - count;
    }
    m_cuts = cuts;
}

void CTransfer::clearHeld()
{
    m_pending.clear();
    m_cuts.clear();
    m_early = 0;
}

QByteArray CTransfer::send(const QByteArray &request)
{
    m_lastRequest = request;
    m_repeatsUsed = 0;
    return request;
}

void CTransfer::begin(int state)
{
    clearHeld();
    m_succeeded = false;
    m_state = state;
    m_sent.clear();
    m_heard = 0;
    m_owed = 0;
    m_lateCommand = m_lateKind = 0;
    m_lateSize = 0;
    m_lateDueUs.clear();
    m_answerGapUs = 0;
    m_shortestUs = -1;
}

void CTransfer::finish(bool success)
{
    clearHeld();
    m_succeeded = success;
    m_state = Idle;
}

// -------------------------------------------------------- CDownloadTransfer

QByteArray CDownloadTransfer::start(const QString &chipModel, const QByteArray &data)
{
    abort();
    m_chip = chipModel;
    m_table = data;
    m_data = data;
    m_block.clear();
    m_offset = 0;
    m_total = data.size();
    if (data.isEmpty())
        return {};
    begin(DownloadActivationSent);
    return send(CF::downloadActivation(m_chip, m_total));
}

qint64 CDownloadTransfer::progressDone() const
{
    // Bytes the controller has confirmed; the block in flight is not yet.
    if (succeeded())
        return m_total;
    return m_offset - (isRunning() ? m_block.size() : 0);
}

QByteArray CDownloadTransfer::nextBlock()
{
    const int n = qMin(m_data.size(), CF::MaxBlockSize);
    const bool last = m_data.size() <= CF::MaxBlockSize;
    setState(last ? DownloadEndSent : DownloadMiddleSent);
    m_block = m_data.left(n);
    const QByteArray frame = last ? CF::downloadEnd(m_chip, m_offset, m_block)
                                  : CF::downloadMiddle(m_chip, m_offset, m_block);
    m_offset += n;
    m_data.remove(0, n);
    return send(frame);
}

int CDownloadTransfer::expectedSize() const
{
    return state() == DownloadActivationSent ? CF::ActivationAnswerSize : CF::DownloadAnswerSize;
}

QString CDownloadTransfer::formatError() const
{
    switch (state()) {
    case DownloadMiddleSent:
        return tr(": 中间包的响应数据错误！\n");
    case DownloadEndSent:
        return tr(": 结尾包的响应数据错误！\n");
    default:
        return tr(": 激活的响应数据错误！\n");
    }
}

CCommonFunction::PacketKind CDownloadTransfer::expectedKind() const
{
    switch (state()) {
    case DownloadMiddleSent:
        return CF::PacketMiddle;
    case DownloadEndSent:
        return CF::PacketEnd;
    default:
        return CF::PacketActivation;
    }
}

CTransfer::Step CDownloadTransfer::takeAnswer(const QByteArray &answer)
{
    Step step;
    switch (state()) {
    case DownloadActivationSent: {
        if (!CF::isAnswer(answer, CF::CommandDownload, CF::PacketActivation,
                          CF::ActivationAnswerSize)) {
            step.messages << formatError();
            finish(false);
            break;
        }
        const quint32 space = CF::readUInt32(answer, 5);
        if (qint64(space) < qint64(m_data.size())) {
            step.messages << tr(": 控制器缓存空间不够，下载失败！\n");
            finish(false);
            break;
        }
        step.messages << tr(": 下载Mirel配置信息时，激活成功，即将下载配置信息！\n");
        step.request = nextBlock();
        break;
    }
    case DownloadMiddleSent:
        if (!CF::isAnswer(answer, CF::CommandDownload, CF::PacketMiddle, CF::DownloadAnswerSize)) {
            step.messages << formatError();
            finish(false);
        } else if (answer.at(5) != 0x01) {
            step.messages << tr(": 控制器缓存失败！\n");
        } else {
            step.messages << tr(": 正在发送...\n");
            step.request = nextBlock();
        }
        break;
    case DownloadEndSent:
        if (!CF::isAnswer(answer, CF::CommandDownload, CF::PacketEnd, CF::DownloadAnswerSize)) {
            step.messages << formatError();
            finish(false);
        } else if (answer.at(5) != 0x01) {
            step.messages << tr(": 控制器缓存失败！\n");
        } else {
            step.messages << tr(": 控制器接收完毕，下载成功！\n");
            finish(true);
        }
        break;
    default:
        break;
    }
    return step;
}

// ---------------------------------------------------------- CUploadTransfer

int CUploadTransfer::maxTableLength()
{
    return TableLayout::maxTableSize();
}

QByteArray CUploadTransfer::start(const QString &chipModel)
{
    abort();
    m_chip = chipModel;
    m_buffer.clear();
    m_total = 0;
    m_offset = 0;
    m_endLength = 0;
    begin(UploadActivationSent);
    return send(CF::uploadActivation(m_chip));
}

QByteArray CUploadTransfer::nextRequest()
{
    if (m_offset >= m_total)
        return {};
    const int remaining = m_total - m_offset;
    if (remaining > CF::MaxBlockSize) {
        const QByteArray frame = CF::uploadMiddleRequest(m_chip, m_offset);
        m_offset += CF::MaxBlockSize;
        setState(UploadMiddleSent);
        return send(frame);
    }
    m_endLength = remaining;
    setState(UploadEndSent);
    return send(CF::uploadEndRequest(m_chip, m_offset));
}

int CUploadTransfer::expectedSize() const
{
    switch (state()) {
    case UploadMiddleSent:
        return CF::UploadMiddleAnswerSize;
    case UploadEndSent:
        return m_endLength + CF::HeaderSize + CF::ChecksumSize;
    default:
        return CF::ActivationAnswerSize;
    }
}

QString CUploadTransfer::formatError() const
{
    switch (state()) {
    case UploadMiddleSent:
        return tr(": 上载Mirel配置信息时，中间包的响应数据错误！\n");
    case UploadEndSent:
        return tr(": 上载Mirel配置信息时，结尾包的响应数据错误！\n");
    default:
        return tr(": 上载Mirel配置信息时，激活的响应数据错误！\n");
    }
}

CCommonFunction::PacketKind CUploadTransfer::expectedKind() const
{
    switch (state()) {
    case UploadMiddleSent:
        return CF::PacketMiddle;
    case UploadEndSent:
        return CF::PacketEnd;
    default:
        return CF::PacketActivation;
    }
}

CTransfer::Step CUploadTransfer::takeAnswer(const QByteArray &answer)
{
    Step step;
    switch (state()) {
    case UploadActivationSent: {
        if (!CF::isAnswer(answer, CF::CommandUpload, CF::PacketActivation,
                          CF::ActivationAnswerSize)) {
            step.messages << formatError();
            finish(false);
            break;
        }
        // The length is a uint32 on the line; read as a signed int a huge
        // value is negative. Neither that, nor 0, nor more than the largest
        // table can be right.
        const qint32 announced = qint32(CF::readUInt32(answer, 5));
        if (announced <= 0 || announced > maxTableLength()) {
            step.messages << tr(": 上载Mirel配置信息时，控制器报告的配置信息长度无效（%1字节），"
                                "上载失败！\n")
                                 .arg(announced);
            finish(false);
            break;
        }
        step.messages << tr(": 上载Mirel配置信息时，激活成功，即将读取配置信息！\n");
        m_total = announced;
        step.request = nextRequest();
        break;
    }
    case UploadMiddleSent:
        if (!CF::isAnswer(answer, CF::CommandUpload, CF::PacketMiddle,
                          CF::UploadMiddleAnswerSize)) {
            step.messages << formatError();
            finish(false);
            break;
        }
        step.messages << tr(": 上载Mirel配置信息时，正在读取...\n");
        m_buffer.append(answer.mid(CF::HeaderSize, CF::MaxBlockSize));
        step.request = nextRequest();
        break;
    case UploadEndSent:
        if (!CF::isAnswer(answer, CF::CommandUpload, CF::PacketEnd, expectedSize())) {
            step.messages << formatError();
            finish(false);
            break;
        }
        step.messages << tr(": 上载Mirel配置信息完成，正在生成文件！\n");
        m_buffer.append(answer.mid(CF::HeaderSize, m_endLength));
        finish(true);
        break;
    default:
        break;
    }
    return step;
}

// ---------------------------------------------------------------- CReadBack

bool CReadBack::compare(const QByteArray &sent, const QByteArray &back, QString *message)
{
    const int common = qMin(sent.size(), back.size());
    int at = 0;
    while (at < common && sent.at(at) == back.at(at))
        ++at;
    if (at == sent.size()) {
        const QByteArray rest = back.mid(at);
        const bool padding =
            rest.isEmpty() || ((rest.at(0) == char(0xFF) || rest.at(0) == char(0x00)) &&
                               rest.count(rest.at(0)) == rest.size());
        if (padding) {
            *message = rest.isEmpty()
                           ? tr(": 校验一致：控制器中的%1字节与下载的相同\n").arg(sent.size())
                           : tr(": 校验一致：控制器中的%1字节与下载的相同，其后是%2字节填充\n")
                                 .arg(sent.size())
                                 .arg(rest.size());
            return true;
        }
    }
    if (at < common) {
        *message = tr(": 校验不一致：第一个不同的字节在偏移%1处（下载0x%2，读回0x%3）\n")
                       .arg(at)
                       .arg(quint8(sent.at(at)), 2, 16, QLatin1Char('0'))
                       .arg(quint8(back.at(at)), 2, 16, QLatin1Char('0'));
    } else {
        *message = tr(": 校验不一致：下载了%1字节，读回%2字节，第一个不同的字节在偏移%3处\n")
                       .arg(sent.size())
                       .arg(back.size())
                       .arg(at);
    }
    return false;
}
