// The transfer job against a controller kept in this suite: what it sends,
// what it stores and what it reads back, with faults by request number. A
// job ends exact or failed, never wrong with success.

#include "commonfunction.h"
#include "ptypair.h"
#include "serial.h"
#include "transferjob.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

using CF = CCommonFunction;

namespace {

const QString F103 = QStringLiteral("STM32F103RE");

QByteArray pattern(int size, int seed)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 7 + seed + (i >> 8)) & 0xFF);
    return out;
}

// A controller on the driver's writer: answers each request after a short
// delay, stores downloads and serves uploads from what it holds. Faults by
// request number (1-based, in the order requests arrive): "late" answers
// after the driver's wait has passed, "lost" never answers, "refused"
// answers a download block with status 0 and keeps nothing. storeWrong
// changes one byte of the stored table on its first `storeWrongTimes`
// downloads; fickle serves each upload with other bytes; the upload block at
// slowOffset is answered slowMs late whenever it is asked for.
struct Controller
{
    CTransferDriver *driver = nullptr;
    QMap<int, QString> faults;
    int lateMs = 0;
    quint32 space = 65536;
    int storeWrong = -1;
    int storeWrongTimes = 0;
    bool fickle = false;
    int slowOffset = -1;
    int slowMs = 0;
    int forgetTimes = 0; // the first downloads are not kept at all

    // "3=late,5=refused"
    void addFaults(const QString &list)
    {
        for (const QString &fault : list.split(',', Qt::SkipEmptyParts))
            faults.insert(fault.section('=', 0, 0).toInt(), fault.section('=', 1));
    }

    int requests = 0;
    int activations = 0; // repeats included
    int downloads = 0;
    int uploads = 0;
    QByteArray stored;
    QMap<int, QByteArray> blocks;
    int total = 0;

    // Answers the driver's requests; its wait is 100 ms.
    void attach(CTransferDriver &link)
    {
        driver = &link;
        link.setResponseTimeout(100);
        link.setWriter([this](const QByteArray &request) { take(request); });
    }

    void take(const QByteArray &request)
    {
        ++requests;
        activations += quint8(request.at(1)) == CF::PacketActivation;
        const QString fault = faults.value(requests);
        const QByteArray answer = answerTo(request, fault == QLatin1String("refused"));
        if (fault == QLatin1String("lost") || answer.isEmpty())
            return;
        const bool slow = quint8(request.at(0)) == CF::CommandUpload &&
                          quint8(request.at(1)) != CF::PacketActivation &&
                          int(CF::readUInt32(request, CF::HeaderSize)) == slowOffset;
        const int delay = slow ? slowMs : fault == QLatin1String("late") ? lateMs : 2;
        CTransferDriver *to = driver;
        QTimer::singleShot(delay, to, [to, answer] { to->onBlock(answer); });
    }

    QByteArray answerTo(const QByteArray &request, bool refused)
    {
        const quint8 code = 0x01;
        const bool download = quint8(request.at(0)) == CF::CommandDownload;
        const int kind = quint8(request.at(1));
        if (download && kind == CF::PacketActivation) {
            total = int(CF::readUInt32(request, CF::HeaderSize));
            blocks.clear();
            return CF::downloadActivationAnswer(code, space);
        }
        if (download) {
            if (refused)
                return kind == CF::PacketEnd ? CF::downloadEndAnswer(code, 0)
                                             : CF::downloadMiddleAnswer(code, 0);
            const int offset = int(CF::readUInt32(request, CF::HeaderSize));
            blocks[offset] = request.mid(9, request.size() - 11);
            if (kind == CF::PacketEnd) {
                store();
                return CF::downloadEndAnswer(code, 1);
            }
            return CF::downloadMiddleAnswer(code, 1);
        }
        if (kind == CF::PacketActivation) {
            ++uploads;
            return CF::uploadActivationAnswer(code, quint32(stored.size()));
        }
        const int offset = int(CF::readUInt32(request, CF::HeaderSize));
        QByteArray served = stored;
        if (fickle)
            served[0] = char(uploads);
        return kind == CF::PacketMiddle ? CF::uploadMiddleAnswer(code, served.mid(offset, 512))
                                        : CF::uploadEndAnswer(code, served.mid(offset));
    }

    void store()
    {
        QByteArray data;
        for (int offset = 0; blocks.contains(offset) && data.size() < total;
             offset += int(blocks.value(offset).size()))
            data += blocks.value(offset);
        ++downloads;
        if (storeWrong >= 0 && downloads <= storeWrongTimes && storeWrong < data.size())
            data[storeWrong] = char(data.at(storeWrong) ^ 0xFF);
        stored = downloads <= forgetTimes ? QByteArray() : data;
    }
};

} // namespace

class TestTransferJob : public QObject
{
    Q_OBJECT
private slots:
    void downloadsAreConfirmed_data();
    void downloadsAreConfirmed();
    void uploadsAreReadUntilTwoAgree_data();
    void uploadsAreReadUntilTwoAgree();
    void lineFailuresAreTriedAgain_data();
    void lineFailuresAreTriedAgain();
    void cancelBetweenTransfers();
    void aRetryStartsOnACleanLine();
};

void TestTransferJob::downloadsAreConfirmed_data()
{
    QTest::addColumn<bool>("verify");
    // "3=late,5=refused"; "forget": the first download is not kept at all.
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("storeWrongTimes");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("verifyText");
    QTest::addColumn<int>("downloads");
    QTest::newRow("clean, not verified") << false << "" << 0 << true << "off" << 1;
    QTest::newRow("clean, verified") << true << "" << 0 << true << "same" << 1;
    QTest::newRow("a late answer: read back all the same")
        << false << "2=late" << 0 << true << "same" << 1;
    QTest::newRow("a refused block: read back") << false << "3=refused" << 0 << true << "same" << 1;
    QTest::newRow("stored wrong once after a repeat: sent again")
        << false << "2=lost" << 1 << true << "same" << 2;
    QTest::newRow("stored wrong every time after a repeat")
        << true << "2=lost" << 9 << false << "differs at 700" << 2;
    QTest::newRow("stored wrong on a clean line: no second try")
        << true << "" << 9 << false << "differs at 700" << 1;
    QTest::newRow("stored wrong, not verified, clean: not seen")
        << false << "" << 9 << true << "off" << 1;
    // No table to read back after a repeat: it did not arrive whole, and is
    // sent once more; on a clean line the controller's word stands.
    QTest::newRow("kept nothing after a repeat: sent again")
        << true << "2=lost,forget" << 0 << true << "same" << 2;
    QTest::newRow("kept nothing on a clean line: no second try")
        << true << "forget" << 0 << false << "not read back" << 1;
}

void TestTransferJob::downloadsAreConfirmed()
{
    QFETCH(bool, verify);
    QFETCH(QString, faults);
    QFETCH(int, storeWrongTimes);
    QFETCH(bool, ok);
    QFETCH(QString, verifyText);
    QFETCH(int, downloads);
    CTransferDriver driver;
    Controller controller;
    controller.attach(driver);
    controller.lateMs = 150;
    controller.storeWrong = 700;
    controller.storeWrongTimes = storeWrongTimes;
    controller.forgetTimes = faults.contains(QLatin1String("forget")) ? 1 : 0;
    controller.addFaults(faults);

    CTransferJob job(&driver);
    QSignalSpy finished(&job, &CTransferJob::finished);
    const QByteArray table = pattern(1300, 3);
    QVERIFY(job.startDownload(F103, table, verify));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), ok);
    QCOMPARE(job.succeeded(), ok);
    QCOMPARE(job.verify(), verifyText);
    QCOMPARE(controller.downloads, downloads);
    QVERIFY(!job.isRunning());
    if (ok && verifyText == QLatin1String("same"))
        QCOMPARE(controller.stored, table);
    if (!ok && storeWrongTimes > 0)
        QVERIFY(job.reason().contains(QStringLiteral("700")));
}

void TestTransferJob::uploadsAreReadUntilTwoAgree_data()
{
    QTest::addColumn<QString>("faults");
    QTest::addColumn<bool>("fickle");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("reads");
    QTest::addColumn<int>("slowOffset"); // a block late in every read, -1 none
    QTest::newRow("clean: one read") << "" << false << true << 1 << -1;
    QTest::newRow("a late answer: read again") << "3=late" << false << true << 2 << -1;
    QTest::newRow("a lost answer: read again") << "2=lost" << false << true << 2 << -1;
    QTest::newRow("reads that never agree") << "2=lost" << true << false << 3 << -1;
    QTest::newRow("clean but fickle: one read, taken") << "" << true << true << 1 << -1;
    // Two reads that both repeated a request do not confirm each other.
    QTest::newRow("both reads repeated: a third") << "2=lost,7=lost" << false << true << 3 << -1;
    QTest::newRow("every read repeated") << "2=lost,7=lost,12=lost" << false << false << 3 << -1;
    // The slow block is repeated in the first read only: its late answer
    // raises the wait for the first byte, and the second read confirms.
    QTest::newRow("a block slow in every read") << "" << false << true << 2 << 512;
    QTest::newRow("the last block slow in every read") << "" << false << true << 2 << 1024;
}

void TestTransferJob::uploadsAreReadUntilTwoAgree()
{
    QFETCH(QString, faults);
    QFETCH(bool, fickle);
    QFETCH(bool, ok);
    QFETCH(int, reads);
    QFETCH(int, slowOffset);
    CTransferDriver driver;
    Controller controller;
    controller.attach(driver);
    controller.lateMs = 150;
    controller.slowOffset = slowOffset;
    controller.slowMs = 300;
    controller.fickle = fickle;
    controller.stored = pattern(1300, 9);
    controller.addFaults(faults);

    CTransferJob job(&driver);
    QSignalSpy finished(&job, &CTransferJob::finished);
    QVERIFY(job.startUpload(F103));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), ok);
    QCOMPARE(controller.uploads, reads);
    if (ok && !fickle)
        QCOMPARE(job.table(), controller.stored);
    if (!ok)
        QVERIFY(job.table().isEmpty());
}

void TestTransferJob::lineFailuresAreTriedAgain_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("faults");
    QTest::addColumn<quint32>("space");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("activations"); // activation requests, repeats included
    // One repeat allowed: two lost answers in a row make a transfer fail.
    QTest::newRow("download failed on the line, sent again")
        << false << "2=lost,3=lost" << 65536u << true << 3; // two sends, a read-back
    QTest::newRow("download failed twice on the line")
        << false << "2=lost,3=lost,6=lost,7=lost" << 65536u << false << 2;
    QTest::newRow("no room: the controller said no, once") << false << "" << 100u << false << 1;
    QTest::newRow("read failed on the line, two more agree")
        << true << "2=lost,3=lost" << 65536u << true << 3;
    // Three reads, each losing its first block's answer and that of its repeat.
    QTest::newRow("every read failed")
        << true << "2=lost,3=lost,5=lost,6=lost,8=lost,9=lost" << 65536u << false << 3;
    // A controller that answers nothing is not asked again.
    QTest::newRow("silent controller") << false << "1=lost,2=lost" << 65536u << false << 2;
}

// A transfer the line made fail is tried again (a download once, reads up
// to three in all); what the controller refuses is not.
void TestTransferJob::lineFailuresAreTriedAgain()
{
    QFETCH(bool, upload);
    QFETCH(QString, faults);
    QFETCH(quint32, space);
    QFETCH(bool, ok);
    QFETCH(int, activations);
    CTransferDriver driver;
    driver.setRetries(1);
    Controller controller;
    controller.attach(driver);
    controller.space = space;
    controller.stored = pattern(1300, 5);
    controller.addFaults(faults);
    CTransferJob job(&driver);
    QSignalSpy finished(&job, &CTransferJob::finished);
    const QByteArray table = pattern(1300, 5);
    QVERIFY(upload ? job.startUpload(F103) : job.startDownload(F103, table, false));
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.first().first().toBool(), ok);
    // Each transfer repeats its activation at most once here.
    QCOMPARE(controller.activations, activations);
    if (ok)
        QCOMPARE(upload ? job.table() : controller.stored, table);
}

// A cancel that comes while the job is between its download and the
// read-back: nothing more goes out and the job ends cancelled.
void TestTransferJob::cancelBetweenTransfers()
{
    CTransferDriver driver;
    Controller controller;
    controller.attach(driver);
    CTransferJob job(&driver);
    QSignalSpy finished(&job, &CTransferJob::finished);
    connect(&driver, &CTransferDriver::finished, &job, [&job] { job.cancel(); });
    QVERIFY(job.startDownload(F103, pattern(600, 1), true));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(job.outcome(), CTransferDriver::Cancelled);
    QCOMPARE(controller.uploads, 0);
    QCOMPARE(job.verify(), QStringLiteral("not read back"));
}

// A transfer that failed on the line is tried again on a clean line: the
// repeat of the download waits until what the failed one left has passed.
void TestTransferJob::aRetryStartsOnACleanLine()
{
    PtyPair pty;
    CSerial serial;
    serial.setControllerSettings();
    QVERIFY(serial.open(pty.slavePath()));
    QTRY_VERIFY(!serial.isSettling());
    CTransferDriver driver;
    driver.attach(&serial);
    CTransferJob job(&driver);
    QList<bool> settling; // at the start of each transfer
    connect(&job, &CTransferJob::phaseChanged, this, [&] { settling << serial.isSettling(); });
    QVERIFY(job.startDownload(F103, pattern(300, 2), false));
    const QByteArray activation = CF::downloadActivation(F103, 300);
    QCOMPARE(pty.readMasterBlocking(activation.size(), 5000), activation);
    // An answer of another form, then more of the old line's bytes.
    QVERIFY(pty.writeMaster(CF::uploadActivationAnswer(1, 300)));
    QTRY_COMPARE(settling.size(), 2);
    QVERIFY(pty.writeMaster("left over"));
    QCOMPARE(settling, QList<bool>({false, true}));
    QCOMPARE(pty.readMasterBlocking(activation.size(), 5000), activation);
    job.cancel();
}

QTEST_GUILESS_MAIN(TestTransferJob)
#include "tst_transferjob.moc"
