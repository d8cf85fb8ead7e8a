#pragma once

#include <QByteArray>
#include <QString>

// The bytes exchanged with the controller: requests for a download (sending a
// table) and an upload (reading it back), the answers the controller gives,
// and the CRC-16/MODBUS checksum (low byte first) that closes every frame.
// All multi-byte integers on the line are little-endian.
class CCommonFunction
{
public:
    enum Command : quint8
    {
        CommandDownload = 0x31,
        CommandUpload = 0x32
    };
    enum PacketKind : quint8
    {
        PacketActivation = 0x01,
        PacketMiddle = 0x02,
        PacketEnd = 0x03
    };

    static constexpr int HeaderSize = 5;
    static constexpr int ChecksumSize = 2;
    static constexpr int MaxBlockSize = 512;
    // Answers with a fixed size; the upload end answer is remaining + 7.
    static constexpr int ActivationAnswerSize = 11;
    static constexpr int DownloadAnswerSize = 8;
    static constexpr int UploadMiddleAnswerSize = HeaderSize + MaxBlockSize + ChecksumSize;

    // CRC-16/MODBUS: reflected polynomial 0xA001, start 0xFFFF, no final XOR.
    static quint16 crc16(const QByteArray &data);
    // The checksum as it is sent: low byte, high byte.
    static QByteArray checksum(const QByteArray &data);
    static QByteArray withChecksum(const QByteArray &data);
    // True when the block is at least 3 bytes long and its last two bytes
    // are the checksum of the rest.
    static bool checksumOk(const QByteArray &block);

    static QByteArray intToBytes(qint32 value);
    // The little-endian uint32 at offset; 0 and *ok false when out of range.
    static quint32 readUInt32(const QByteArray &data, int offset, bool *ok = nullptr);

    // "STM32F103RE" 0x01, "STM32F407ZG" 0x10, anything else 0x00.
    static QByteArray chipCode(const QString &chipModel);

    // Requests.
    static QByteArray downloadActivation(const QString &chipModel, qint32 totalLength);
    static QByteArray downloadMiddle(const QString &chipModel, qint32 offset,
                                     const QByteArray &block);
    static QByteArray downloadEnd(const QString &chipModel, qint32 offset,
                                  const QByteArray &lastBlock);
    static QByteArray uploadActivation(const QString &chipModel);
    static QByteArray uploadMiddleRequest(const QString &chipModel, qint32 offset);
    static QByteArray uploadEndRequest(const QString &chipModel, qint32 offset);

    // Answers, as the controller builds them (used by the stand-in controller
    // and the tests). chipCode is the byte echoed at offset 4.
    static QByteArray downloadActivationAnswer(quint8 chipCode, quint32 freeSpace);
    static QByteArray downloadMiddleAnswer(quint8 chipCode, quint8 status);
    static QByteArray downloadEndAnswer(quint8 chipCode, quint8 status);
    static QByteArray uploadActivationAnswer(quint8 chipCode, quint32 tableLength);
    static QByteArray uploadMiddleAnswer(quint8 chipCode, const QByteArray &block512);
    static QByteArray uploadEndAnswer(quint8 chipCode, const QByteArray &lastBlock);

    // The answer check after the checksum: size and bytes 0 and 1.
    static bool isAnswer(const QByteArray &block, Command command, PacketKind kind,
                         int expectedSize);
    // True when block could be the start of that answer: shorter than
    // expectedSize and its first bytes (up to two) match.
    static bool isAnswerStart(const QByteArray &block, Command command, PacketKind kind,
                              int expectedSize);
    // True for the first byte of a frame of this protocol (a command byte).
    static bool isFrameStart(char byte);

private:
    static QByteArray header(Command command, PacketKind kind, quint8 chipCode);
    static QByteArray header(Command command, PacketKind kind, const QString &chipModel);
};
