#include "transfer.h"

#include "tablelayout.h"

using CF = CCommonFunction;

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
            finishRefused();
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
            complete();
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
    m_noTable = false;
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
            m_noTable = announced == 0;
            step.messages << tr(": 上载Mirel配置信息时，控制器报告的配置信息长度无效（%1字节），"
                                "上载失败！\n")
                                 .arg(announced);
            finishRefused();
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
        complete();
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
