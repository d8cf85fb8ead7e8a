#include "commonfunction.h"

#include "chipfacts.h"

quint16 CCommonFunction::crc16(const QByteArray &data)
{
    quint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit) {
            if (crc & 0x0001)
                crc = quint16((crc >> 1) ^ 0xA001);
            else
                crc = quint16(crc >> 1);
        }
    }
    return crc;
}

QByteArray CCommonFunction::checksum(const QByteArray &data)
{
    const quint16 crc = crc16(data);
    QByteArray out;
    out.append(char(crc & 0xFF));
    out.append(char(crc >> 8));
    return out;
}

QByteArray CCommonFunction::withChecksum(const QByteArray &data)
{
    return data + checksum(data);
}

bool CCommonFunction::checksumOk(const QByteArray &block)
{
    if (block.size() <= ChecksumSize)
        return false;
    const QByteArray body = block.left(block.size() - ChecksumSize);
    return checksum(body) == block.right(ChecksumSize);
}

QByteArray CCommonFunction::intToBytes(qint32 value)
{
    const quint32 v = quint32(value);
    QByteArray out;
    for (int i = 0; i < 4; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

quint32 CCommonFunction::readUInt32(const QByteArray &data, int offset, bool *ok)
{
    const bool inRange = offset >= 0 && offset <= data.size() - 4;
    if (ok)
        *ok = inRange;
    if (!inRange)
        return 0;
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(data.at(offset + i));
    return v;
}

QByteArray CCommonFunction::chipCode(const QString &chipModel)
{
    return QByteArray(1, char(ChipFacts::code(chipModel)));
}

QByteArray CCommonFunction::header(Command command, PacketKind kind, quint8 code)
{
    QByteArray out;
    out.append(char(command));
    out.append(char(kind));
    out.append(char(0x00));
    out.append(char(kind));
    out.append(char(code));
    return out;
}

QByteArray CCommonFunction::header(Command command, PacketKind kind, const QString &chipModel)
{
    return header(command, kind, quint8(chipCode(chipModel).at(0)));
}

QByteArray CCommonFunction::downloadActivation(const QString &chipModel, qint32 totalLength)
{
    return withChecksum(header(CommandDownload, PacketActivation, chipModel) +
                        intToBytes(totalLength));
}

QByteArray CCommonFunction::downloadMiddle(const QString &chipModel, qint32 offset,
                                           const QByteArray &block)
{
    return withChecksum(header(CommandDownload, PacketMiddle, chipModel) + intToBytes(offset) +
                        block);
}

QByteArray CCommonFunction::downloadEnd(const QString &chipModel, qint32 offset,
                                        const QByteArray &lastBlock)
{
    return withChecksum(header(CommandDownload, PacketEnd, chipModel) + intToBytes(offset) +
                        lastBlock);
}

QByteArray CCommonFunction::uploadActivation(const QString &chipModel)
{
    return withChecksum(header(CommandUpload, PacketActivation, chipModel));
}

QByteArray CCommonFunction::uploadMiddleRequest(const QString &chipModel, qint32 offset)
{
    return withChecksum(header(CommandUpload, PacketMiddle, chipModel) + intToBytes(offset));
}

QByteArray CCommonFunction::uploadEndRequest(const QString &chipModel, qint32 offset)
{
    return withChecksum(header(CommandUpload, PacketEnd, chipModel) + intToBytes(offset));
}

QByteArray CCommonFunction::downloadActivationAnswer(quint8 code, quint32 freeSpace)
{
    return withChecksum(header(CommandDownload, PacketActivation, code) +
                        intToBytes(qint32(freeSpace)));
}

QByteArray CCommonFunction::downloadMiddleAnswer(quint8 code, quint8 status)
{
    return withChecksum(header(CommandDownload, PacketMiddle, code) + char(status));
}

QByteArray CCommonFunction::downloadEndAnswer(quint8 code, quint8 status)
{
    return withChecksum(header(CommandDownload, PacketEnd, code) + char(status));
}

QByteArray CCommonFunction::uploadActivationAnswer(quint8 code, quint32 tableLength)
{
    return withChecksum(header(CommandUpload, PacketActivation, code) +
                        intToBytes(qint32(tableLength)));
}

QByteArray CCommonFunction::uploadMiddleAnswer(quint8 code, const QByteArray &block512)
{
    return withChecksum(header(CommandUpload, PacketMiddle, code) + block512);
}

QByteArray CCommonFunction::uploadEndAnswer(quint8 code, const QByteArray &lastBlock)
{
    return withChecksum(header(CommandUpload, PacketEnd, code) + lastBlock);
}

bool CCommonFunction::isAnswer(const QByteArray &block, Command command, PacketKind kind,
                               int expectedSize)
{
    return block.size() == expectedSize && block.size() >= 2 && quint8(block.at(0)) == command &&
           quint8(block.at(1)) == kind;
}

bool CCommonFunction::isAnswerStart(const QByteArray &block, Command command, PacketKind kind,
                                    int expectedSize)
{
    if (block.isEmpty() || block.size() >= expectedSize)
        return false;
    if (quint8(block.at(0)) != command)
        return false;
    return block.size() < 2 || quint8(block.at(1)) == kind;
}

bool CCommonFunction::isFrameStart(char byte)
{
    return quint8(byte) == CommandDownload || quint8(byte) == CommandUpload;
}
