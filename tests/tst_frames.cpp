#include "commonfunction.h"
#include "transfer.h"

#include <QtTest>

using CF = CCommonFunction;

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
QByteArray pattern(int size, int seed = 0)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + seed) & 0xFF);
    return out;
}
} // namespace

class TestFrames : public QObject
{
    Q_OBJECT
private slots:
    void checksumMatchesModbus();
    void checksumAgreesWithStoredVectors_data();
    void checksumAgreesWithStoredVectors();
    void integersAndChipCodes();
    void requestLayouts();
    void downloadSplitsAt512();
    void answersAreCheckedWhole();
};

void TestFrames::checksumMatchesModbus()
{
    // The published check value of CRC-16/MODBUS.
    QCOMPARE(CF::crc16("123456789"), quint16(0x4B37));
    QCOMPARE(CF::checksum("123456789"), hex("374B"));
    QCOMPARE(CF::crc16(QByteArray()), quint16(0xFFFF));

    // Upload activation for "STM32F103RE": five header bytes and their CRC,
    // low byte first.
    const QByteArray frame = CF::uploadActivation("STM32F103RE");
    QCOMPARE(frame, hex("3201000101DC68"));
    // A MODBUS frame with its CRC appended low byte first leaves no remainder.
    QCOMPARE(CF::crc16(frame), quint16(0));

    QVERIFY(CF::checksumOk(frame));
    QVERIFY(!CF::checksumOk(hex("3201000101DC69")));
    QVERIFY(!CF::checksumOk(hex("3201000101")));
    QVERIFY(!CF::checksumOk(hex("FFFF")));
    QVERIFY(!CF::checksumOk(QByteArray()));
}

void TestFrames::checksumAgreesWithStoredVectors_data()
{
    // The expected values were computed once by a Python 3 CRC-16/MODBUS
    // written apart from this program (bitwise, and again table-driven; both
    // agreed) and stored here. Known values confirm that one: "123456789"
    // gives 4B37, the MODBUS frames 01 03 00 00 00 01 and 11 06 00 01 00 03
    // end in 84 0A and 9A 9B.
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("crc");
    const auto row = [](const char *name, const QByteArray &data, int crc) {
        QTest::newRow(name) << data << crc;
    };
    row("empty", QByteArray(), 0xFFFF);
    row("00", hex("00"), 0x40BF);
    row("FF", hex("FF"), 0x00FF);
    row("01", hex("01"), 0x807E);
    row("80", hex("80"), 0xE0BE);
    row("A5", hex("A5"), 0x3B7F);
    row("0000", hex("0000"), 0xB001);
    row("FFFF", hex("FFFF"), 0x0000);
    row("check string", "123456789", 0x4B37);
    row("modbus read holding", hex("010300000001"), 0x0A84);
    row("modbus write single", hex("110600010003"), 0x9B9A);
    row("upload activation F103", hex("3201000101"), 0x68DC);
    row("upload activation F407", hex("3201000110"), 0x641C);
    row("download activation F407 1000", hex("3101000110E8030000"), 0x1F97);
    row("upload middle request F103 512", hex("320200020100020000"), 0xAA5B);
    row("download end answer ok", hex("310300031001"), 0x3A7C);
    row("ascii text", "Mirel controller", 0x3F27);
    row("sixteen zero bytes", QByteArray(16, '\0'), 0xF0BE);
    row("sixteen FF bytes", QByteArray(16, '\xFF'), 0x80FE);
    QByteArray counting;
    for (int i = 0; i < 256; ++i)
        counting.append(char(i));
    row("counting 0..255", counting, 0xDE6C);
    row("pattern 512 seed 0", pattern(512, 0), 0x0737);
    row("pattern 513 seed 9", pattern(513, 9), 0x1BAF);
    row("pattern 1000 seed 200", pattern(1000, 200), 0xFC36);
}

void TestFrames::checksumAgreesWithStoredVectors()
{
    QFETCH(QByteArray, data);
    QFETCH(int, crc);
    QCOMPARE(int(CF::crc16(data)), crc);
    // Sent low byte first, and a frame with it passes the check.
    QByteArray wire;
    wire.append(char(crc & 0xFF)).append(char(crc >> 8));
    QCOMPARE(CF::checksum(data), wire);
    QVERIFY(CF::checksumOk(CF::withChecksum(data)) == !data.isEmpty());
}

void TestFrames::integersAndChipCodes()
{
    QCOMPARE(CF::intToBytes(1000), hex("E8030000"));
    QCOMPARE(CF::intToBytes(0), hex("00000000"));
    QCOMPARE(CF::intToBytes(-1), hex("FFFFFFFF"));
    QCOMPARE(CF::intToBytes(0x12345678), hex("78563412"));

    bool ok = false;
    QCOMPARE(CF::readUInt32(hex("00E8030000"), 1, &ok), quint32(1000));
    QVERIFY(ok);
    QCOMPARE(CF::readUInt32(hex("E80300"), 0, &ok), quint32(0));
    QVERIFY(!ok);
    QCOMPARE(CF::readUInt32(hex("E8030000"), -1, &ok), quint32(0));
    QVERIFY(!ok);

    QCOMPARE(CF::chipCode("STM32F103RE"), hex("01"));
    QCOMPARE(CF::chipCode("STM32F407ZG"), hex("10"));
    QCOMPARE(CF::chipCode(""), hex("00"));
    QCOMPARE(CF::chipCode("stm32f103re"), hex("00"));
}

void TestFrames::requestLayouts()
{
    const QString chip = "STM32F407ZG";
    const QByteArray block = pattern(512);
    const QList<QPair<QByteArray, QByteArray>> frames = {
        {CF::downloadActivation(chip, 1000), hex("3101000110E8030000")},
        {CF::downloadMiddle(chip, 0, block), hex("310200021000000000") + block},
        {CF::downloadEnd(chip, 512, pattern(3)), hex("310300031000020000") + pattern(3)},
        {CF::uploadActivation(chip), hex("3201000110")},
        {CF::uploadMiddleRequest(chip, 512), hex("320200021000020000")},
        {CF::uploadEndRequest(chip, 1024), hex("320300031000040000")},
    };
    const QList<int> sizes = {11, 523, 14, 7, 11, 11};
    for (int i = 0; i < frames.size(); ++i) {
        const QByteArray &frame = frames.at(i).first;
        QCOMPARE(frame.size(), sizes.at(i));
        QCOMPARE(frame.left(frame.size() - 2), frames.at(i).second);
        QVERIFY(CF::checksumOk(frame));
        // The chip code of "STM32F407ZG" at offset 4 of every request.
        QCOMPARE(quint8(frame.at(4)), quint8(0x10));
    }
    QCOMPARE(quint8(CF::uploadActivation("STM32F103RE").at(4)), quint8(0x01));
    QCOMPARE(quint8(CF::uploadActivation("other").at(4)), quint8(0x00));
}

void TestFrames::downloadSplitsAt512()
{
    // 512 bytes: activation, then a single end packet of 523 bytes.
    {
        CDownloadTransfer t;
        const QByteArray data = pattern(512);
        QCOMPARE(t.start("STM32F103RE", data), CF::downloadActivation("STM32F103RE", 512));
        const auto step = t.receive(CF::downloadActivationAnswer(0x01, 4096));
        QCOMPARE(t.state(), int(CTransfer::DownloadEndSent));
        QCOMPARE(step.request.size(), 523);
        QCOMPARE(step.request, CF::downloadEnd("STM32F103RE", 0, data));
        QCOMPARE(t.downloadRemaining(), 0);
    }
    // 513 bytes: one middle packet at 0, one end packet with 1 byte at 512.
    {
        CDownloadTransfer t;
        const QByteArray data = pattern(513, 3);
        t.start("STM32F103RE", data);
        auto step = t.receive(CF::downloadActivationAnswer(0x01, 513));
        QCOMPARE(t.state(), int(CTransfer::DownloadMiddleSent));
        QCOMPARE(step.request, CF::downloadMiddle("STM32F103RE", 0, data.left(512)));
        QCOMPARE(t.downloadOffset(), 512);
        QCOMPARE(t.downloadRemaining(), 1);
        step = t.receive(CF::downloadMiddleAnswer(0x01, 1));
        QCOMPARE(t.state(), int(CTransfer::DownloadEndSent));
        QCOMPARE(step.request, CF::downloadEnd("STM32F103RE", 512, data.right(1)));
        QCOMPARE(step.request.size(), 12);
        QCOMPARE(t.downloadBlock(), data.right(1));
    }
}

void TestFrames::answersAreCheckedWhole()
{
    const QByteArray good = CF::downloadMiddleAnswer(0x01, 1);
    QCOMPARE(good.size(), 8);
    QVERIFY(CF::checksumOk(good));
    QVERIFY(CF::isAnswer(good, CF::CommandDownload, CF::PacketMiddle, 8));
    // Wrong kind, wrong command, wrong size.
    QVERIFY(!CF::isAnswer(good, CF::CommandDownload, CF::PacketEnd, 8));
    QVERIFY(!CF::isAnswer(good, CF::CommandUpload, CF::PacketMiddle, 8));
    QVERIFY(!CF::isAnswer(good, CF::CommandDownload, CF::PacketMiddle, 11));

    // Right header, wrong CRC: a checksum error, the answer is never taken.
    QByteArray bad = good;
    bad[bad.size() - 1] = char(bad.at(bad.size() - 1) ^ 0x01);
    QVERIFY(!CF::checksumOk(bad));
    CDownloadTransfer t;
    t.start("STM32F103RE", pattern(100));
    QByteArray badActivation = CF::downloadActivationAnswer(0x01, 4096);
    badActivation[6] = char(badActivation.at(6) ^ 0x40);
    QVERIFY(t.receive(badActivation).messages.isEmpty()); // a longer answer may be coming
    // Heard as the answer, damaged: the request goes again at once.
    const auto step = t.silence();
    QCOMPARE(step.messages.value(0), QString(": 校验码错误！\n"));
    QCOMPARE(step.request, CF::downloadActivation("STM32F103RE", 100));
    QCOMPARE(t.state(), int(CTransfer::DownloadActivationSent));

    // Answers the controller builds carry their sizes.
    QCOMPARE(CF::downloadActivationAnswer(1, 5).size(), 11);
    QCOMPARE(CF::uploadActivationAnswer(1, 5).size(), 11);
    QCOMPARE(CF::uploadMiddleAnswer(1, pattern(512)).size(), 519);
    QCOMPARE(CF::uploadEndAnswer(1, pattern(10)).size(), 17);
    QCOMPARE(CF::downloadEndAnswer(1, 1).size(), 8);

    // A start of an answer: shorter, first bytes agree.
    QVERIFY(CF::isAnswerStart(hex("32"), CF::CommandUpload, CF::PacketMiddle, 519));
    QVERIFY(CF::isAnswerStart(hex("3202AA"), CF::CommandUpload, CF::PacketMiddle, 519));
    QVERIFY(!CF::isAnswerStart(hex("3203AA"), CF::CommandUpload, CF::PacketMiddle, 519));
    QVERIFY(!CF::isAnswerStart(hex("AA32"), CF::CommandUpload, CF::PacketMiddle, 519));
    QVERIFY(!CF::isAnswerStart(QByteArray(), CF::CommandUpload, CF::PacketMiddle, 519));
    QVERIFY(!CF::isAnswerStart(good, CF::CommandDownload, CF::PacketMiddle, 8));
}

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
