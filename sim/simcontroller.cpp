#include "simcontroller.h"

#include "commonfunction.h"

#include <QStringList>

using CF = CCommonFunction;

namespace {
constexpr int MaxDownloadEnd = CF::HeaderSize + 4 + CF::MaxBlockSize + CF::ChecksumSize;
const char kGarbage[] = "\xA5\x5A\xFF\x00\x13";
} // namespace

// ---------------------------------------------------------- RequestNumbers

bool RequestNumbers::parse(const QString &text)
{
    m_ranges.clear();
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    for (const QString &raw : parts) {
        const QString part = raw.trimmed();
        bool ok = false;
        Range r{0, 0};
        const int dash = part.indexOf(QLatin1Char('-'));
        if (dash < 0) {
            r.first = r.last = part.toLongLong(&ok);
        } else {
            r.first = part.left(dash).toLongLong(&ok);
            const QString tail = part.mid(dash + 1);
            if (ok && tail.isEmpty()) {
                r.last = -1;
            } else if (ok) {
                r.last = tail.toLongLong(&ok);
                ok = ok && r.last >= r.first;
            }
        }
        if (!ok || r.first < 1)
            return false;
        m_ranges << r;
    }
    return true;
}

bool RequestNumbers::contains(qint64 n) const
{
    for (const Range &r : m_ranges) {
        if (n >= r.first && (r.last < 0 || n <= r.last))
            return true;
    }
    return false;
}

// ------------------------------------------------------------ SimController

void SimController::log(const QString &text) const
{
    if (m_log)
        m_log(text);
}

int SimController::frameLength() const
{
    if (m_rx.size() < 2)
        return 0;
    const quint8 command = quint8(m_rx.at(0));
    const quint8 kind = quint8(m_rx.at(1));
    if (command == CF::CommandDownload) {
        switch (kind) {
        case CF::PacketActivation:
            return 11;
        case CF::PacketMiddle:
            return CF::HeaderSize + 4 + CF::MaxBlockSize + CF::ChecksumSize;
        case CF::PacketEnd: {
            bool ok = false;
            const quint32 offset = CF::readUInt32(m_rx, CF::HeaderSize, &ok);
            if (!ok)
                return 0;
            const qint64 rest = m_incomingTotal - qint64(offset);
            if (m_receiving && rest >= 1 && rest <= CF::MaxBlockSize)
                return int(CF::HeaderSize + 4 + rest + CF::ChecksumSize);
            return 0; // length unknown: taken whole when the line falls quiet
        }
        default:
            return -1;
        }
    }
    if (command == CF::CommandUpload) {
        switch (kind) {
        case CF::PacketActivation:
            return 7;
        case CF::PacketMiddle:
        case CF::PacketEnd:
            return 11;
        default:
            return -1;
        }
    }
    return -1;
}

QList<SimController::Chunk> SimController::feed(const QByteArray &bytes)
{
    m_rx.append(bytes);
    QList<Chunk> out;
    for (;;) {
        const int length = frameLength();
        if (length < 0) {
            m_rx.remove(0, 1); // not a request: look for the next start
            continue;
        }
        if (length == 0 || m_rx.size() < length) {
            if (m_rx.size() > MaxDownloadEnd)
                m_rx.remove(0, 1);
            else
                break;
            continue;
        }
        const QByteArray frame = m_rx.left(length);
        if (!CF::checksumOk(frame)) {
            m_rx.remove(0, 1);
            continue;
        }
        m_rx.remove(0, length);
        out += handle(frame);
    }
    return out;
}

QList<SimController::Chunk> SimController::silence()
{
    QList<Chunk> out;
    if (m_rx.size() > 11 && quint8(m_rx.at(0)) == CF::CommandDownload &&
        quint8(m_rx.at(1)) == CF::PacketEnd && CF::checksumOk(m_rx)) {
        out = handle(m_rx);
    } else if (!m_rx.isEmpty()) {
        log(QStringLiteral("dropped %1 stray bytes").arg(m_rx.size()));
    }
    m_rx.clear();
    return out;
}

QList<SimController::Chunk> SimController::handle(const QByteArray &frame)
{
    ++m_requests;
    m_ends.clear();
    const QByteArray reply = answer(frame);
    if (m_faults.neverAnswer || m_faults.drop.contains(m_requests)) {
        log(QStringLiteral("request %1: not answered").arg(m_requests));
        return {};
    }
    return deliver(reply, m_ends);
}

QByteArray SimController::answer(const QByteArray &frame)
{
    const quint8 command = quint8(frame.at(0));
    const quint8 kind = quint8(frame.at(1));
    const quint8 chip = quint8(frame.at(4));
    const quint32 value = CF::readUInt32(frame, CF::HeaderSize);
    const QByteArray payload = frame.mid(CF::HeaderSize + 4, frame.size() - 11);
    const bool fail = m_faults.failStatus.contains(m_requests);

    if (command == CF::CommandDownload && kind == CF::PacketActivation) {
        const qint64 total = value;
        const quint32 space =
            m_faults.bufferFull ? quint32(qMax<qint64>(0, total - 1)) : m_bufferSpace;
        // What does not fit in memory is not taken, whatever space is announced.
        m_receiving = total > 0 && total <= space && total <= StoreLimit;
        m_incomingTotal = m_receiving ? total : 0;
        m_incoming = m_receiving ? QByteArray(int(total), '\0') : QByteArray();
        log(QStringLiteral("request %1: download of %2 bytes, %3 bytes free")
                .arg(m_requests)
                .arg(total)
                .arg(space));
        return CF::downloadActivationAnswer(chip, space);
    }
    if (command == CF::CommandDownload) {
        const qint64 offset = value;
        const bool fits = m_receiving && offset + payload.size() <= m_incomingTotal;
        const bool last = kind == CF::PacketEnd;
        bool stored = !fail && fits && (!last || offset + payload.size() == m_incomingTotal);
        if (stored) {
            m_incoming.replace(int(offset), payload.size(), payload);
            const qint64 wrong = m_faults.corruptStore.value_or(-1);
            if (wrong >= offset && wrong < offset + payload.size())
                m_incoming[int(wrong)] = char(m_incoming.at(int(wrong)) ^ 0xFF);
        }
        log(QStringLiteral("request %1: %2 packet, %3 bytes at %4, %5")
                .arg(m_requests)
                .arg(last ? "end" : "middle")
                .arg(payload.size())
                .arg(offset)
                .arg(stored ? "stored" : "refused"));
        if (!last)
            return CF::downloadMiddleAnswer(chip, stored ? 1 : 0);
        if (stored) {
            m_table = m_incoming;
            m_ends = QStringLiteral("download of %1 bytes").arg(m_table.size());
            if (m_complete)
                m_complete(m_table);
        }
        return CF::downloadEndAnswer(chip, stored ? 1 : 0);
    }
    // Upload.
    if (kind == CF::PacketActivation) {
        const quint32 length = m_faults.uploadLength.value_or(quint32(m_table.size()));
        log(QStringLiteral("request %1: upload, %2 bytes announced").arg(m_requests).arg(length));
        return CF::uploadActivationAnswer(chip, length);
    }
    const qint64 offset = value;
    QByteArray block = offset < m_table.size() ? m_table.mid(int(offset)) : QByteArray();
    log(QStringLiteral("request %1: upload %2 at %3")
            .arg(m_requests)
            .arg(kind == CF::PacketMiddle ? "middle" : "end")
            .arg(offset));
    if (kind == CF::PacketMiddle) {
        block = block.left(CF::MaxBlockSize);
        block.append(QByteArray(CF::MaxBlockSize - block.size(), '\0'));
        return CF::uploadMiddleAnswer(chip, block);
    }
    m_ends = QStringLiteral("upload of %1 bytes").arg(offset + block.size());
    return CF::uploadEndAnswer(chip, block);
}

namespace {
SimController::Chunk piece(const QByteArray &bytes, int pauseBeforeMs, int delayMs)
{
    SimController::Chunk chunk;
    chunk.bytes = bytes;
    chunk.pauseBeforeMs = pauseBeforeMs;
    chunk.delayMs = delayMs;
    return chunk;
}
} // namespace

QList<SimController::Chunk> SimController::deliver(QByteArray reply, const QString &ends)
{
    const bool late =
        m_faults.delayMs > 0 && (m_faults.delay.isEmpty() || m_faults.delay.contains(m_requests));
    const int delayMs = late ? m_faults.delayMs : 0;
    if (m_faults.flood.contains(m_requests)) {
        log(QStringLiteral("request %1: answered by bytes without end").arg(m_requests));
        Chunk endless =
            piece(QByteArray(kGarbage, int(sizeof kGarbage) - 1).repeated(64), 0, delayMs);
        endless.endless = true;
        return {endless};
    }
    if (m_faults.badCrc.contains(m_requests))
        reply[reply.size() - 1] = char(reply.at(reply.size() - 1) ^ 0xFF);
    if (m_faults.garbage.contains(m_requests))
        reply.prepend(QByteArray(kGarbage, int(sizeof kGarbage) - 1));
    QList<Chunk> chunks;
    if (m_faults.trickleMs > 0) {
        for (int i = 0; i < reply.size(); ++i)
            chunks << piece(reply.mid(i, 1), i == 0 ? 0 : m_faults.trickleMs, delayMs);
    } else if (m_faults.split.contains(m_requests) && reply.size() >= 2) {
        const int half = reply.size() / 2;
        chunks << piece(reply.left(half), 0, delayMs)
               << piece(reply.mid(half), m_faults.splitPauseMs, delayMs);
    } else {
        chunks << piece(reply, 0, delayMs);
    }
    if (late)
        log(QStringLiteral("request %1: answered %2 ms late").arg(m_requests).arg(delayMs));
    chunks.last().transfer = ends;
    return chunks;
}
