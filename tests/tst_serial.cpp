#include "commonfunction.h"
#include "ptypair.h"
#include "serial.h"

#include <QElapsedTimer>
#include <QtTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The line settings of a terminal, read or changed through its own path.
bool lineSettings(const QString &path, termios *tio, const termios *set = nullptr)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return false;
    const bool ok = set ? tcsetattr(fd, TCSANOW, set) == 0 : tcgetattr(fd, tio) == 0;
    ::close(fd);
    return ok;
}

} // namespace

class TestSerial : public QObject
{
    Q_OBJECT
private slots:
    void openFailsClearly();
    void writesReachTheFarEnd();
    void controllerSettingsOnTheLine_data();
    void controllerSettingsOnTheLine();
    void writtenBytesAreOnTheLineAtOnce_data();
    void writtenBytesAreOnTheLineAtOnce();
    void silenceCutsBlocks();
    void longAnswerIsOneBlock();
    void closingWithBytesBuffered();
    void lineIsCleanAtEveryStart();
    void lostPortIsClosed_data();
    void lostPortIsClosed();
};

void TestSerial::openFailsClearly()
{
    CSerial serial;
    serial.setControllerSettings();
    QString error;
    QVERIFY(!serial.open("/nonexistent/mirel-port", &error));
    QVERIFY(!serial.isOpen());
    QVERIFY(error.contains("/nonexistent/mirel-port"));
    error.clear();
    QVERIFY(!serial.open("  ", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(serial.close());
    // Writing to a closed port sends nothing and says so.
    error.clear();
    QVERIFY(!serial.write("ignored", &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!serial.isOpen());
}

void TestSerial::writesReachTheFarEnd()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    CSerial serial;
    serial.setControllerSettings();
    QString error;
    QVERIFY2(serial.open(pty.slavePath(), &error), qPrintable(error));
    QVERIFY(serial.isOpen());
    const QByteArray frame = QByteArray::fromHex("3201000101DC68");
    QVERIFY(serial.write(frame));
    QByteArray got;
    QTRY_COMPARE_WITH_TIMEOUT((got += pty.readMaster()), frame, 5000);
    QVERIFY(serial.close());
    QVERIFY(!serial.isOpen());
    QVERIFY(!serial.write(frame));
    QTest::qWait(30);
    QVERIFY(pty.readMaster().isEmpty());
}

void TestSerial::controllerSettingsOnTheLine_data()
{
    // The line as the port finds it before opening: the settings must be
    // the link's own, not what the line happened to hold.
    QTest::addColumn<bool>("otherSettingsFirst");
    QTest::newRow("raw line") << false;
    QTest::newRow("9600 7E2 with flow control") << true;
}

void TestSerial::controllerSettingsOnTheLine()
{
    QFETCH(bool, otherSettingsFirst);
    PtyPair pty;
    QVERIFY(pty.isValid());
    termios tio{};
    if (otherSettingsFirst) {
        QVERIFY(lineSettings(pty.slavePath(), &tio));
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        tio.c_cflag = (tio.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
        tio.c_iflag |= IXON | IXOFF;
        QVERIFY(lineSettings(pty.slavePath(), nullptr, &tio));
    }
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    QVERIFY(lineSettings(pty.slavePath(), &tio));
    // 115200 baud both ways, 8 data bits, no parity, 1 stop bit, no flow control.
    QCOMPARE(cfgetispeed(&tio), speed_t(B115200));
    QCOMPARE(cfgetospeed(&tio), speed_t(B115200));
    QCOMPARE(tio.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t(0));
    QCOMPARE(tio.c_iflag & (IXON | IXOFF), tcflag_t(0));
    // A pseudo-terminal keeps 8 data bits and no parity whatever it is told
    // (Linux forces them): what the port was told is read from the port.
    const auto *port = serial.findChild<QSerialPort *>();
    QVERIFY(port);
    QCOMPARE(port->baudRate(), 115200);
    QCOMPARE(port->dataBits(), QSerialPort::Data8);
    QCOMPARE(port->parity(), QSerialPort::NoParity);
    QCOMPARE(port->stopBits(), QSerialPort::OneStop);
    QCOMPARE(port->flowControl(), QSerialPort::NoFlowControl);
}

void TestSerial::writtenBytesAreOnTheLineAtOnce_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::newRow("upload activation") << CCommonFunction::uploadActivation("STM32F103RE");
    QTest::newRow("download middle") << CCommonFunction::downloadMiddle(
        "STM32F407ZG", 512, QByteArray(CCommonFunction::MaxBlockSize, '\x5A'));
}

void TestSerial::writtenBytesAreOnTheLineAtOnce()
{
    // A request waits for no event loop: when write() returns, its bytes are
    // on the line (the far end reads them while this thread only waits).
    QFETCH(QByteArray, frame);
    PtyPair pty;
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    serial.write(frame);
    QCOMPARE(pty.readMasterBlocking(frame.size(), 5000), frame);
}

void TestSerial::silenceCutsBlocks()
{
    // Bytes are handed on as they are read; a silence follows them.
    PtyPair pty;
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    QStringList order;
    connect(&serial, &CSerial::serialReturnData,
            [&order](const QByteArray &b) { order << QString::fromLatin1("bytes:" + b); });
    connect(&serial, &CSerial::silence, [&order] { order << "silence"; });
    QVERIFY(pty.writeMaster("first-"));
    QTRY_COMPARE_WITH_TIMEOUT(order.size(), 2, 5000);
    QCOMPARE(order, QStringList({"bytes:first-", "silence"}));
    QVERIFY(pty.writeMaster("second"));
    QTRY_COMPARE_WITH_TIMEOUT(order.size(), 4, 5000);
    QCOMPARE(order.mid(2), QStringList({"bytes:second", "silence"}));

    // A pause shorter than the silence is no silence. A busy machine can
    // stretch a 5 ms pause past the 10 ms silence; such an attempt is
    // measured and repeated.
    bool measured = false;
    for (int attempt = 0; attempt < 10 && !measured; ++attempt) {
        PtyPair pair;
        CSerial link;
        link.setControllerSettings();
        QVERIFY(link.open(pair.slavePath()));
        QTRY_VERIFY(!link.isSettling());
        QByteArray heard;
        connect(&link, &CSerial::serialReturnData, [&heard](const QByteArray &b) { heard += b; });
        QSignalSpy silences(&link, &CSerial::silence);
        QElapsedTimer gap;
        QVERIFY(pair.writeMaster("first-"));
        gap.start();
        QTest::qWait(5);
        QVERIFY(pair.writeMaster("second"));
        const qint64 pause = gap.elapsed();
        QTRY_VERIFY_WITH_TIMEOUT(!silences.isEmpty(), 5000);
        QTest::qWait(40); // nothing more may follow
        if (pause >= 9)
            continue;
        measured = true;
        QCOMPARE(silences.count(), 1);
        QCOMPARE(heard, QByteArray("first-second"));
    }
    if (!measured)
        QSKIP("the machine is too busy to keep a 5 ms pause");
}

void TestSerial::longAnswerIsOneBlock()
{
    // More than the 256-byte read buffer, written at once: whole, then one
    // silence.
    PtyPair pty;
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    QByteArray heard;
    connect(&serial, &CSerial::serialReturnData, [&heard](const QByteArray &b) { heard += b; });
    QSignalSpy silences(&serial, &CSerial::silence);
    QByteArray answer(519, '\0');
    for (int i = 0; i < answer.size(); ++i)
        answer[i] = char(i);
    QVERIFY(pty.writeMaster(answer));
    QTRY_COMPARE_WITH_TIMEOUT(silences.count(), 1, 5000);
    QCOMPARE(heard, answer);
}

void TestSerial::closingWithBytesBuffered()
{
    // Closed before the bytes were read: nothing comes out.
    {
        PtyPair pty;
        CSerial serial;
        serial.setControllerSettings();
        QVERIFY(serial.open(pty.slavePath()));
        QTRY_VERIFY(!serial.isSettling());
        QTRY_VERIFY(!serial.isSettling());
        QSignalSpy blocks(&serial, &CSerial::serialReturnData);
        QVERIFY(pty.writeMaster("never read"));
        QVERIFY(serial.close());
        QTest::qWait(50);
        QCOMPARE(blocks.count(), 0);
    }
    // Closed right after the bytes were taken in: they have come out.
    {
        PtyPair pty;
        CSerial serial;
        serial.setControllerSettings();
        QVERIFY(serial.open(pty.slavePath()));
        QTRY_VERIFY(!serial.isSettling());
        QTRY_VERIFY(!serial.isSettling());
        QSignalSpy blocks(&serial, &CSerial::serialReturnData);
        auto *port = serial.findChild<QSerialPort *>();
        QVERIFY(port);
        // Connected after the link's own handler, so it runs just after it.
        connect(port, &QSerialPort::readyRead, &serial, [&serial] { serial.close(); });
        QVERIFY(pty.writeMaster("buffered"));
        QTRY_COMPARE_WITH_TIMEOUT(blocks.count(), 1, 5000);
        QVERIFY(!serial.isOpen());
        QCOMPARE(blocks.at(0).at(0).toByteArray(), QByteArray("buffered"));
    }
}

void TestSerial::lineIsCleanAtEveryStart()
{
    // A clean line is used at once: the first request goes out as written.
    {
        PtyPair clean;
        CSerial serial;
        serial.setControllerSettings();
        QVERIFY(serial.open(clean.slavePath()));
        QVERIFY(!serial.isSettling());
        const QByteArray request = CCommonFunction::uploadActivation("STM32F103RE");
        QVERIFY(serial.write(request));
        QCOMPARE(clean.readMasterBlocking(request.size(), 1000), request);
    }
    // An answer left on the line by a program killed mid-transfer, and one
    // that follows it at once: neither reaches the next transfer, whose
    // request goes out once the line is quiet. settle() does the same again.
    PtyPair pty;
    QVERIFY(pty.writeMaster("left before the opening"));
    CSerial serial;
    serial.setControllerSettings();
    QByteArray heard;
    connect(&serial, &CSerial::serialReturnData, [&heard](const QByteArray &b) { heard += b; });
    for (int start = 0; start < 2; ++start) {
        if (start == 0)
            QVERIFY(serial.open(pty.slavePath()));
        else
            serial.settle();
        QVERIFY(serial.isSettling());
        QTest::qWait(CSerial::QuietMs / 3);
        QVERIFY(pty.writeMaster("still arriving"));
        const QByteArray request = CCommonFunction::uploadActivation("STM32F407ZG");
        QVERIFY(serial.write(request));
        QVERIFY(pty.readMaster().isEmpty()); // held while the line settles
        QTRY_VERIFY_WITH_TIMEOUT(!serial.isSettling(), CSerial::SettleLimitMs + 1000);
        QCOMPARE(pty.readMasterBlocking(request.size(), 5000), request);
        QVERIFY(heard.isEmpty());
        QVERIFY(pty.writeMaster("answer"));
        QTRY_COMPARE(heard, QByteArray("answer"));
        heard.clear();
    }
}

void TestSerial::lostPortIsClosed_data()
{
    QTest::addColumn<bool>("hangUp");
    QTest::newRow("far end hung up") << true;
    // On Linux a far end that goes away first reads as end of file, before a
    // write could fail with a resource error: that error is raised by hand.
    QTest::newRow("resource error") << false;
}

void TestSerial::lostPortIsClosed()
{
    QFETCH(bool, hangUp);
    PtyPair pty;
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    QSignalSpy lost(&serial, &CSerial::portLost);
    if (hangUp)
        pty.hangUp();
    else
        emit serial.findChild<QSerialPort *>()->errorOccurred(QSerialPort::ResourceError);
    QTRY_COMPARE_WITH_TIMEOUT(lost.count(), 1, 5000);
    QVERIFY(!serial.isOpen());
    QVERIFY(!lost.at(0).at(0).toString().isEmpty());
}

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_serial.moc"
