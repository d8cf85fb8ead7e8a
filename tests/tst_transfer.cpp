#include "commonfunction.h"
#include "responsetimeout.h"
#include "transfer.h"
#include "transferdriver.h"

#include <QRegularExpression>
#include <QtTest>

using CF = CCommonFunction;

namespace {
const QString F103 = QStringLiteral("STM32F103RE");

QByteArray pattern(int size, int seed = 0)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 13 + seed) & 0xFF);
    return out;
}

QByteArray corrupt(QByteArray frame)
{
    frame[frame.size() - 2] = char(frame.at(frame.size() - 2) ^ 0x5A);
    return frame;
}

// A block as the line hands it over: its bytes, then a silence.
CTransfer::Step block(CTransfer &t, const QByteArray &bytes)
{
    CTransfer::Step step = t.receive(bytes);
    const CTransfer::Step after = t.silence();
    step.messages += after.messages;
    step.request += after.request;
    return step;
}

// The table a transfer of 1300 bytes carries: no two blocks alike.
QByteArray table1300()
{
    QByteArray out = pattern(1300, 7);
    for (int i = 0; i < out.size(); ++i)
        out[i] = char(out.at(i) ^ (i >> 8));
    return out;
}
const QByteArray Table1300 = table1300();

// What a transfer of Table1300 to or from an STM32F103RE hears, by letter:
// A the download activation answer, M a download middle answer, F one
// reporting a buffer failure, E the download end answer, U an upload
// activation answer, 0 1 the upload middle answers, 2 the upload end answer,
// N stray bytes.
QByteArray heard(QChar letter)
{
    switch (letter.toLatin1()) {
    case 'A':
        return CF::downloadActivationAnswer(1, 4096);
    case 'M':
        return CF::downloadMiddleAnswer(1, 1);
    case 'F':
        return CF::downloadMiddleAnswer(1, 0);
    case 'E':
        return CF::downloadEndAnswer(1, 1);
    case 'U':
        return CF::uploadActivationAnswer(1, 1300);
    case '0':
    case '1':
        return CF::uploadMiddleAnswer(1, Table1300.mid(512 * (letter.toLatin1() - '0'), 512));
    case '2':
        return CF::uploadEndAnswer(1, Table1300.mid(1024));
    default:
        return QByteArray::fromHex("A55AFF0013");
    }
}

// A log message as a word: act, sent, read, done, crc, hex, late, repeat,
// drained, differ, status, format, flood.
QString word(const QString &message)
{
    const QList<QPair<const char *, const char *>> words = {
        {"激活成功", "act"},        {"正在发送", "sent"},     {"正在读取", "read"},
        {"下载成功", "done"},       {"生成文件", "done"},     {"校验码错误", "crc"},
        {"无效数据", "hex"},        {"迟到", "late"},         {"没有到达", "drained"},
        {"重发请求", "repeat"},     {"哪一次正确", "differ"}, {"以先收到", "status"},
        {"响应数据错误", "format"}, {"超过", "flood"},        {"缓存失败", "buffer"}};
    for (const auto &w : words)
        if (message.contains(QString::fromUtf8(w.first)))
            return QLatin1String(w.second);
    return message;
}

// A request as a word: a, m0, m512, e1024.
QString word(const QByteArray &request)
{
    if (request.at(1) == CF::PacketActivation)
        return "a";
    const QString offset = QString::number(CF::readUInt32(request, CF::HeaderSize));
    return (request.at(1) == CF::PacketMiddle ? "m" : "e") + offset;
}
} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT
private slots:
    void downloadOf1000Bytes();
    void downloadRefusalsAndFailures();
    void uploadOf1024And512Bytes();
    void uploadFailures();
    void announcedLengthIsChecked();
    void answersInPieces();
    void timeoutsRepeatThenFail();
    void answersMatchTheirRequests_data();
    void answersMatchTheirRequests();
    void tricklingAnswersAreBounded_data();
    void tricklingAnswersAreBounded();
    void firstByteWaitHoldsTheFirstByteOnly();
    void waitAdaptsToTheController_data();
    void waitAdaptsToTheController();
    void readBackIsCompared_data();
    void readBackIsCompared();
    void driverIgnoresIdleBlocksAndStampsLines();
    void driverRepeatsOnItsOwnClock();
};

void TestTransfer::downloadOf1000Bytes()
{
    const QByteArray data = pattern(1000);
    CDownloadTransfer t;
    QCOMPARE(t.start(F103, data), CF::downloadActivation(F103, 1000));
    QCOMPARE(t.state(), 1);
    QCOMPARE(t.downloadRemaining(), 1000);

    auto step = t.receive(CF::downloadActivationAnswer(0x01, 1000));
    QCOMPARE(step.messages, QStringList{": 下载Mirel配置信息时，激活成功，即将下载配置信息！\n"});
    QCOMPARE(step.request, CF::downloadMiddle(F103, 0, data.left(512)));
    QCOMPARE(t.state(), 2);
    QCOMPARE(t.downloadOffset(), 512);
    QCOMPARE(t.downloadRemaining(), 488);
    QCOMPARE(t.downloadData(), data.mid(512));

    step = t.receive(CF::downloadMiddleAnswer(0x01, 1));
    QCOMPARE(step.messages, QStringList{": 正在发送...\n"});
    QCOMPARE(step.request, CF::downloadEnd(F103, 512, data.mid(512)));
    QCOMPARE(step.request.size(), 11 + 488);
    QCOMPARE(t.state(), 3);
    QCOMPARE(t.progressDone(), qint64(512));

    step = t.receive(CF::downloadEndAnswer(0x01, 1));
    QCOMPARE(step.messages, QStringList{": 控制器接收完毕，下载成功！\n"});
    QVERIFY(step.request.isEmpty());
    QCOMPARE(t.state(), 0);
    QVERIFY(t.succeeded());
    QCOMPARE(t.progressDone(), qint64(1000));

    // Once idle, nothing is taken.
    step = t.receive(CF::downloadEndAnswer(0x01, 1));
    QVERIFY(step.messages.isEmpty());

    // Nothing to send: the download does not start.
    QVERIFY(t.start(F103, QByteArray()).isEmpty());
    QCOMPARE(t.state(), 0);
}

void TestTransfer::downloadRefusalsAndFailures()
{
    const QByteArray data = pattern(1000);
    struct Case
    {
        QList<QByteArray> answers;
        QString lastMessage;
        int endState;
    };
    const QList<Case> cases = {
        // 100 bytes of buffer space for a 1000-byte table.
        {{CF::downloadActivationAnswer(1, 100)}, ": 控制器缓存空间不够，下载失败！\n", 0},
        {{CF::downloadMiddleAnswer(1, 1)}, ": 激活的响应数据错误！\n", 0},
        {{CF::downloadActivationAnswer(1, 999)}, ": 控制器缓存空间不够，下载失败！\n", 0},
        {{CF::downloadActivationAnswer(1, 4096), CF::downloadEndAnswer(1, 1)},
         ": 中间包的响应数据错误！\n",
         0},
        {{CF::downloadActivationAnswer(1, 4096), CF::downloadMiddleAnswer(1, 0)},
         ": 控制器缓存失败！\n",
         2},
        {{CF::downloadActivationAnswer(1, 4096), CF::downloadMiddleAnswer(1, 1),
          CF::downloadMiddleAnswer(1, 1)},
         ": 结尾包的响应数据错误！\n",
         0},
        {{CF::downloadActivationAnswer(1, 4096), CF::downloadMiddleAnswer(1, 1),
          CF::downloadEndAnswer(1, 2)},
         ": 控制器缓存失败！\n",
         3},
        // An upload answer of the right size does not pass for a download one.
        {{CF::uploadActivationAnswer(1, 4096)}, ": 激活的响应数据错误！\n", 0},
    };
    for (const Case &c : cases) {
        CDownloadTransfer t;
        t.start(F103, data);
        CTransfer::Step step;
        for (const QByteArray &answer : c.answers)
            step = block(t, answer);
        QCOMPARE(step.messages.value(0), c.lastMessage);
        QVERIFY(step.request.isEmpty());
        QCOMPARE(t.state(), c.endState);
        QVERIFY(!t.succeeded());
    }

    // A buffer failure keeps the state: a good answer afterwards still counts.
    CDownloadTransfer t;
    t.start(F103, data);
    t.receive(CF::downloadActivationAnswer(1, 4096));
    t.receive(CF::downloadMiddleAnswer(1, 7));
    const auto step = t.receive(CF::downloadMiddleAnswer(1, 1));
    QCOMPARE(step.request, CF::downloadEnd(F103, 512, data.mid(512)));
    // So does one after a checksum error, judged when the line falls silent:
    // the damaged answer was the only one owed, so the request goes again.
    QVERIFY(t.receive(corrupt(CF::downloadEndAnswer(1, 1))).messages.isEmpty());
    const auto refused = t.silence();
    QCOMPARE(refused.messages.value(0), QString(": 校验码错误！\n"));
    QVERIFY(refused.messages.value(1).contains("31 03 00 03 01 01"));
    QCOMPARE(refused.request, CF::downloadEnd(F103, 512, data.mid(512)));
    QCOMPARE(t.state(), 3);
    t.receive(CF::downloadEndAnswer(1, 1));
    QVERIFY(t.succeeded());
}

void TestTransfer::uploadOf1024And512Bytes()
{
    const QByteArray table = pattern(1024, 5);
    CUploadTransfer t;
    QCOMPARE(t.start(F103), CF::uploadActivation(F103));
    QCOMPARE(t.state(), 4);

    auto step = t.receive(CF::uploadActivationAnswer(0x01, 1024));
    QCOMPARE(step.messages, QStringList{": 上载Mirel配置信息时，激活成功，即将读取配置信息！\n"});
    QCOMPARE(step.request, CF::uploadMiddleRequest(F103, 0));
    QCOMPARE(t.uploadTotal(), 1024);
    QCOMPARE(t.uploadOffset(), 512);
    QCOMPARE(t.state(), 5);

    step = t.receive(CF::uploadMiddleAnswer(0x01, table.left(512)));
    QCOMPARE(step.messages, QStringList{": 上载Mirel配置信息时，正在读取...\n"});
    QCOMPARE(step.request, CF::uploadEndRequest(F103, 512));
    QCOMPARE(t.state(), 6);
    QCOMPARE(t.progressDone(), qint64(512));

    const QByteArray endAnswer = CF::uploadEndAnswer(0x01, table.mid(512));
    QCOMPARE(endAnswer.size(), 519);
    step = t.receive(endAnswer);
    QCOMPARE(step.messages, QStringList{": 上载Mirel配置信息完成，正在生成文件！\n"});
    QVERIFY(step.request.isEmpty());
    QCOMPARE(t.state(), 0);
    QVERIFY(t.succeeded());
    QCOMPARE(t.uploadBuffer(), table);

    // 512 bytes: the first request after the activation is the end request at 0.
    const QByteArray small = pattern(512, 9);
    QCOMPARE(t.start("STM32F407ZG"), CF::uploadActivation("STM32F407ZG"));
    QVERIFY(t.uploadBuffer().isEmpty());
    step = t.receive(CF::uploadActivationAnswer(0x10, 512));
    QCOMPARE(step.request, CF::uploadEndRequest("STM32F407ZG", 0));
    QCOMPARE(t.state(), 6);
    t.receive(CF::uploadEndAnswer(0x10, small));
    QVERIFY(t.succeeded());
    QCOMPARE(t.uploadBuffer(), small);
    QCOMPARE(t.uploadChipModel(), QString("STM32F407ZG"));
}

void TestTransfer::uploadFailures()
{
    const QByteArray table = pattern(1500);
    struct Case
    {
        QList<QByteArray> answers;
        QString lastMessage;
    };
    const QList<Case> cases = {
        {{CF::downloadActivationAnswer(1, 1500)}, ": 上载Mirel配置信息时，激活的响应数据错误！\n"},
        {{CF::uploadActivationAnswer(1, 1500), CF::uploadEndAnswer(1, table.left(512))},
         ": 上载Mirel配置信息时，中间包的响应数据错误！\n"},
        {{CF::uploadActivationAnswer(1, 1500), CF::uploadMiddleAnswer(1, table.left(512)),
          CF::uploadMiddleAnswer(1, table.mid(512, 512)),
          CF::uploadMiddleAnswer(1, table.mid(1024, 512))},
         ": 上载Mirel配置信息时，结尾包的响应数据错误！\n"},
        {{CF::uploadActivationAnswer(1, 1500), CF::uploadMiddleAnswer(1, table.left(512)),
          CF::uploadMiddleAnswer(1, table.mid(512, 512)),
          CF::uploadEndAnswer(1, table.mid(1024) + 'x')},
         ": 上载Mirel配置信息时，结尾包的响应数据错误！\n"},
    };
    for (const Case &c : cases) {
        CUploadTransfer t;
        t.start(F103);
        CTransfer::Step step;
        for (const QByteArray &answer : c.answers)
            step = block(t, answer);
        QCOMPARE(step.messages.value(0), c.lastMessage);
        QCOMPARE(t.state(), 0);
        QVERIFY(!t.succeeded());
    }
}

void TestTransfer::announcedLengthIsChecked()
{
    const qint64 largest = CUploadTransfer::maxTableLength();
    const QList<qint64> bad = {0, -1, -512, largest + 1, 0xFFFFFFFFLL};
    for (qint64 length : bad) {
        CUploadTransfer t;
        t.start(F103);
        const auto step = t.receive(CF::uploadActivationAnswer(1, quint32(length)));
        QCOMPARE(step.messages.size(), 1);
        QVERIFY2(step.messages.first().contains("长度无效"), qPrintable(step.messages.first()));
        QVERIFY(step.request.isEmpty());
        QCOMPARE(t.state(), 0);
        // Only a length of 0 says the controller holds no table.
        QCOMPARE(t.heldNoTable(), length == 0);
        t.start(F103);
        QVERIFY(!t.heldNoTable()); // a new upload forgets it
    }
    CUploadTransfer t;
    t.start(F103);
    const auto step = t.receive(CF::uploadActivationAnswer(1, quint32(largest)));
    QCOMPARE(step.request, CF::uploadMiddleRequest(F103, 0));
    QVERIFY(!t.heldNoTable());
}

void TestTransfer::answersInPieces()
{
    // An activation answer cut in three pieces is taken once whole.
    CDownloadTransfer d;
    const QByteArray data = pattern(600);
    d.start(F103, data);
    const QByteArray answer = CF::downloadActivationAnswer(1, 4096);
    QVERIFY(d.receive(answer.left(1)).messages.isEmpty());
    QVERIFY(d.receive(answer.mid(1, 6)).messages.isEmpty());
    QCOMPARE(d.pendingBytes(), answer.left(7));
    auto step = d.receive(answer.mid(7));
    QCOMPARE(step.request, CF::downloadMiddle(F103, 0, data.left(512)));
    QVERIFY(d.pendingBytes().isEmpty());

    step = d.receive(CF::downloadMiddleAnswer(1, 1));
    QCOMPARE(step.request, CF::downloadEnd(F103, 512, data.mid(512)));

    // An upload middle answer of 519 bytes in two pieces.
    CUploadTransfer u;
    const QByteArray table = pattern(700, 1);
    u.start(F103);
    u.receive(CF::uploadActivationAnswer(1, 700));
    const QByteArray middle = CF::uploadMiddleAnswer(1, table.left(512));
    QVERIFY(u.receive(middle.left(300)).messages.isEmpty());
    step = u.receive(middle.mid(300));
    QCOMPARE(step.request, CF::uploadEndRequest(F103, 512));
    const QByteArray end = CF::uploadEndAnswer(1, table.mid(512));
    u.receive(end.left(2));
    u.receive(end.mid(2, 100));
    step = u.receive(end.mid(102));
    QCOMPARE(step.messages, QStringList{": 上载Mirel配置信息完成，正在生成文件！\n"});
    QCOMPARE(u.uploadBuffer(), table);
}

void TestTransfer::timeoutsRepeatThenFail()
{
    CUploadTransfer t;
    const QByteArray activation = t.start(F103);
    // A kept piece is dropped on a time-out, and the request repeated.
    t.receive(CF::uploadActivationAnswer(1, 100).left(4));
    for (int i = 1; i <= 3; ++i) {
        const auto step = t.timeout();
        QCOMPARE(step.request, activation);
        // The first time, the piece kept is named: the answer came too slowly.
        QCOMPARE(step.messages.size(), i == 1 ? 2 : 1);
        QVERIFY(i > 1 || step.messages.first().contains(QStringLiteral("4字节")));
        QVERIFY(step.messages.last().contains(QString::number(i)));
        QVERIFY(t.pendingBytes().isEmpty());
        QCOMPARE(t.state(), 4);
    }
    // The answer to a repeat is taken; the next request waits for the
    // duplicates, or for the wait to pass without them; the count starts
    // again for the next request.
    auto step = t.receive(CF::uploadActivationAnswer(1, 100));
    QVERIFY(step.request.isEmpty());
    QVERIFY(t.isDraining());
    QCOMPARE(t.timeout().request, CF::uploadEndRequest(F103, 0));
    for (int i = 1; i <= 3; ++i)
        QCOMPARE(t.timeout().request, CF::uploadEndRequest(F103, 0));
    step = t.timeout();
    QVERIFY(step.request.isEmpty());
    QCOMPARE(step.messages.size(), 1);
    QVERIFY(step.messages.first().contains("失败"));
    QCOMPARE(t.state(), 0);
    QVERIFY(!t.succeeded());
    QVERIFY(t.timeout().messages.isEmpty());
    QVERIFY(t.wasIrregular());

    // The same machine again, on a clean line: nothing to confirm.
    const QByteArray table = pattern(100, 4);
    t.start(F103);
    t.receive(CF::uploadActivationAnswer(1, 100));
    t.receive(CF::uploadEndAnswer(1, table));
    QVERIFY(t.succeeded());
    QCOMPARE(t.uploadBuffer(), table);
    QVERIFY(!t.wasIrregular());

    // No repeats at all.
    CDownloadTransfer d;
    d.setRetries(0);
    d.start(F103, pattern(10));
    QVERIFY(d.timeout().request.isEmpty());
    QCOMPARE(d.state(), 0);
}

void TestTransfer::answersMatchTheirRequests_data()
{
    // A script of what happens at which millisecond after the first request
    // went out: "A:5" the activation answer arrives, "MM:9" two middle
    // answers in one read, "A<4:5" its first four bytes, "A>4:9" the rest,
    // "A!:5" with a wrong checksum, "A+:5" one byte longer (and its checksum
    // after it), "N*300:5" stray bytes 300 times, "S:15" the line falls
    // silent, "T:2000" the wait ends. A script that begins with "U" is an
    // upload of Table1300, any other a download of it. exact: the transfer
    // succeeds (an upload with exactly that table).
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("requests");
    QTest::addColumn<bool>("exact");
    QTest::newRow("cut by length alone") << "A:5 M:10 M:15 E:20"
                                         << "act sent sent done"
                                         << "a m0 m512 e1024" << true;
    QTest::newRow("start kept over a silence") << "A<4:5 S:15 A>4:70"
                                               << "act"
                                               << "a m0" << false;
    QTest::newRow("short answer, then the answer") << "A<4:5 S:15 A:70"
                                                   << "crc hex act"
                                                   << "a m0" << false;
    QTest::newRow("wrong checksum: heard, so asked again at once")
        << "A!:5 S:15 A:20 M:30 M:40 E:50"
        << "crc hex repeat act sent sent done"
        << "a a m0 m512 e1024" << true;
    QTest::newRow("longer than expected") << "A+:5 S:15"
                                          << "format"
                                          << "a" << false;
    QTest::newRow("another header") << "S:1 U:5 S:15"
                                    << "format"
                                    << "a" << false;
    QTest::newRow("stray bytes, then silence") << "N:5 S:15"
                                               << "crc hex"
                                               << "a" << false;
    QTest::newRow("stray bytes without end") << "N*300:5"
                                             << "flood"
                                             << "a" << false;
    QTest::newRow("answered twice, asked once") << "AM:5 S:15"
                                                << "act format"
                                                << "a m0" << false;
    QTest::newRow("buffer failure, then the repeat stored") << "A:1 F:5 T:2001 M:2010 M:2020 E:2030"
                                                            << "act buffer repeat sent sent done"
                                                            << "a m0 m0 m512 e1024" << true;
    // Slow controllers and repeats: after a repeat the next request waits
    // for the duplicate.
    QTest::newRow("late answer to the repeated activation") << "T:2000 A:2100 A:4100 M:4200"
                                                            << "repeat act late sent"
                                                            << "a a m0 m512" << false;
    QTest::newRow("one answer late, the repeat's right behind it")
        << "A:1 T:2001 MM:2300 M:2310 E:2320"
        << "act repeat sent late sent done"
        << "a m0 m0 m512 e1024" << true;
    QTest::newRow("steadily late: the duplicate when it is due")
        << "A:1 T:2001 M:2101 M:4101 M:4202"
        << "act repeat sent late sent"
        << "a m0 m0 m512 e1024" << false;
    QTest::newRow("lost request: no duplicate, the wait passes")
        << "A:1 T:2001 M:2002 T:6001 M:6100"
        << "act repeat sent drained sent"
        << "a m0 m0 m512 e1024" << false;
    QTest::newRow("a duplicate's other status is logged, the first stands")
        << "A:1 T:2001 M:2300 F:2310 M:2400 E:2500"
        << "act repeat sent status sent done"
        << "a m0 m0 m512 e1024" << true;
    QTest::newRow("the last answer drained before the end") << "A:1 M:5 M:9 T:2009 E:2300 E:2310"
                                                            << "act sent sent repeat late done"
                                                            << "a m0 m512 e1024 e1024" << true;
    // Uploads: a duplicate taken for the next block would shift the table.
    QTest::newRow("upload: a late answer with its duplicate")
        << "U:1 T:2001 0:2300 0:2310 1:2400 2:2500"
        << "act repeat read late read done"
        << "a m0 m0 m512 e1024" << true;
    QTest::newRow("upload: a late answer, its duplicate and a lost answer")
        << "U:1 T:2001 0:2300 0:2310 T:4310 1:4400 T:8400 2:8500"
        << "act repeat read late repeat read drained done"
        << "a m0 m0 m512 m512 e1024" << true;
    QTest::newRow("upload: a late answer whose duplicate is lost")
        << "U:1 T:2001 0:2300 T:6001 1:6100 2:6200"
        << "act repeat read drained read done"
        << "a m0 m0 m512 e1024" << true;
    QTest::newRow("upload: a corrupt answer followed by good ones")
        << "U:1 0!:100 S:110 0:150 1:200 2:300"
        << "act crc hex repeat read read done"
        << "a m0 m0 m512 e1024" << true;
    // The repeat's answer comes after the drain gave up and the next block
    // was asked for: it has that block's header, but the taken one's bytes.
    QTest::newRow("upload: the duplicate after the next request")
        << "U:1 T:2001 0:4500 T:6500 0:9000 1:9050 2:9100"
        << "act repeat read drained late read done"
        << "a m0 m0 m512 e1024" << true;
    QTest::newRow("upload: a duplicate that differs") << "U:1 T:2001 0:2300 1:2310"
                                                      << "act repeat read differ"
                                                      << "a m0 m0" << false;
    QTest::newRow("upload: stray bytes glued to every answer") << "NU:1 N0:100 N1:200 N2:300"
                                                               << "crc hex act crc hex read "
                                                                  "crc hex read crc hex done"
                                                               << "a m0 m512 e1024" << true;
}

void TestTransfer::answersMatchTheirRequests()
{
    QFETCH(QString, script);
    QFETCH(QString, log);
    QFETCH(QString, requests);
    QFETCH(bool, exact);
    const bool isUpload = script.startsWith('U') || script.startsWith("NU");
    CDownloadTransfer download;
    CUploadTransfer upload;
    CTransfer &t = isUpload ? static_cast<CTransfer &>(upload) : download;
    QStringList said;
    QStringList sent{word(isUpload ? upload.start(F103) : download.start(F103, Table1300))};
    t.requestSent(0);
    for (const QString &event : script.split(' ')) {
        QString what = event.section(':', 0, 0);
        const qint64 us = event.section(':', 1).toLongLong() * 1000;
        CTransfer::Step step;
        if (what == "S") {
            step = t.silence(us);
        } else if (what == "T") {
            step = t.timeout(us);
        } else {
            QByteArray bytes;
            int count = 1;
            QString letters = what.section(QRegularExpression("[<>!+*]"), 0, 0);
            for (QChar c : letters)
                bytes += heard(c);
            const QString modifier = what.mid(letters.size());
            const int n = modifier.mid(1).toInt();
            if (modifier.startsWith('<'))
                bytes = bytes.left(n);
            else if (modifier.startsWith('>'))
                bytes = bytes.mid(n);
            else if (modifier == "!")
                bytes = corrupt(bytes);
            else if (modifier == "+") // one byte more, the checksum at its end
                bytes = CF::withChecksum(bytes.chopped(CF::ChecksumSize) + 'x');
            else if (modifier.startsWith('*'))
                count = n;
            for (int i = 0; i < count && t.isRunning(); ++i) {
                const CTransfer::Step part = t.receive(bytes, us);
                step.messages += part.messages;
                step.request += part.request;
            }
        }
        for (const QString &message : step.messages)
            said << word(message);
        if (!step.request.isEmpty())
            sent << word(step.request);
    }
    QCOMPARE(said.join(' '), log);
    QCOMPARE(sent.join(' '), requests);
    QCOMPARE(t.succeeded(), exact);
    if (isUpload && t.succeeded())
        QCOMPARE(upload.uploadBuffer(), Table1300);
    // Anything repeated, refused, late or drained leaves the transfer to be
    // confirmed; stray bytes in front of an answer do not.
    static const QRegularExpression irregular(
        QStringLiteral("\\b(repeat|late|drained|buffer|status|differ)\\b"));
    QCOMPARE(t.wasIrregular(), irregular.match(log).hasMatch());
}

void TestTransfer::tricklingAnswersAreBounded_data()
{
    QTest::addColumn<bool>("upload");
    QTest::addColumn<int>("gapMs"); // between two bytes of every answer
    QTest::addColumn<int>("waitMs");
    QTest::newRow("activation, a byte a second") << true << 1000 << 2000;
    QTest::newRow("activation, a byte every 300 ms") << false << 300 << 2000;
    QTest::newRow("short wait, a byte every 20 ms") << true << 20 << 100;
}

// A controller that sends one byte at a time: every answer is waited for
// no longer than the wait and the line time of its bytes, and the transfer
// fails after its repeats, saying why.
void TestTransfer::tricklingAnswersAreBounded()
{
    QFETCH(bool, upload);
    QFETCH(int, gapMs);
    QFETCH(int, waitMs);
    CDownloadTransfer download;
    CUploadTransfer uploadTransfer;
    CTransfer &t = upload ? static_cast<CTransfer &>(uploadTransfer) : download;
    t.setWaitUs(qint64(waitMs) * 1000);
    upload ? uploadTransfer.start(F103) : download.start(F103, Table1300);
    t.requestSent(0);
    const QByteArray answer =
        upload ? CF::uploadActivationAnswer(1, 1300) : CF::downloadActivationAnswer(1, 4096);
    const qint64 bound = qint64(waitMs) * 1000 + CTransfer::lineAllowanceUs(answer.size());
    qint64 now = 0;
    qint64 sentAt = 0;
    int requests = 1;
    QStringList said;
    for (int i = 0; t.isRunning() && i < 10000; ++i) {
        const qint64 next = now + qint64(gapMs) * 1000;
        QVERIFY(t.deadlineUs() <= sentAt + bound);
        if (t.deadlineUs() <= next) {
            now = t.deadlineUs();
            const CTransfer::Step step = t.timeout(now);
            said += step.messages;
            if (!step.request.isEmpty()) {
                ++requests;
                sentAt = now;
            }
            continue;
        }
        now = next;
        t.receive(answer.mid(i % answer.size(), 1), now);
    }
    QVERIFY(!t.isRunning());
    QVERIFY(!t.succeeded());
    QCOMPARE(requests, 1 + t.retries());
    QVERIFY(now <= requests * bound);
    QVERIFY(said.join(QString()).contains(QStringLiteral("控制器发送过慢")));
    QVERIFY(said.last().contains(QStringLiteral("控制器发送过慢")));
    QVERIFY(t.failedTooSlow());
}

// A controller known to be slow in one place is given its time for the
// first byte of an answer, and no more for the rest of it.
void TestTransfer::firstByteWaitHoldsTheFirstByteOnly()
{
    const QByteArray answer = CF::uploadActivationAnswer(1, 1300);
    const qint64 allowance = CTransfer::lineAllowanceUs(answer.size());
    CUploadTransfer t;
    t.setWaitUs(2000000);
    t.setFirstByteWaitUs(5000000);
    t.start(F103);
    t.requestSent(0);
    QCOMPARE(t.deadlineUs(), qint64(5000000));
    // A first byte after 4 s: the rest within the line time of its bytes.
    t.receive(answer.left(1), 4000000);
    QCOMPARE(t.deadlineUs(), 4000000 + allowance);
    // Let in by the raised wait alone: the slow place's, no estimate's.
    const CTransfer::Step slow = t.receive(answer.mid(1), 4001000);
    QCOMPARE(slow.answerUs, qint64(-1));
    QCOMPARE(slow.lateUs, qint64(4001000));
    // A trickle that begins at once is bounded as without the raise.
    CUploadTransfer quick;
    quick.setWaitUs(2000000);
    quick.setFirstByteWaitUs(5000000);
    quick.start(F103);
    quick.requestSent(0);
    quick.receive(answer.left(1), 500000);
    QCOMPARE(quick.deadlineUs(), 2000000 + allowance);
    QCOMPARE(quick.receive(answer.mid(1), 600000).answerUs, qint64(600000));
    // Nothing heard after a repeat: the raise holds for the repeat too.
    CUploadTransfer silent;
    silent.setWaitUs(2000000);
    silent.setFirstByteWaitUs(5000000);
    silent.start(F103);
    silent.requestSent(0);
    QVERIFY(!silent.timeout(5000000).request.isEmpty());
    QVERIFY(silent.repeatedRequest());
    QCOMPARE(silent.deadlineUs(), qint64(10000000));
    // The owed duplicate of a repeated block, dropped while the next block
    // is awaited, is no start of that block's answer.
    CUploadTransfer owed;
    owed.setWaitUs(2000000);
    owed.setFirstByteWaitUs(5000000);
    owed.start(F103);
    owed.requestSent(0);
    QCOMPARE(word(owed.receive(heard('U'), 1000).request), QStringLiteral("m0"));
    QCOMPARE(word(owed.timeout(6001000).request), QStringLiteral("m0"));
    QVERIFY(owed.receive(heard('0'), 7000000).request.isEmpty()); // its duplicate is owed
    QCOMPARE(word(owed.timeout(12000000).request), QStringLiteral("m512"));
    QVERIFY(word(owed.receive(heard('0'), 12100000).messages.value(0)) == QStringLiteral("late"));
    QCOMPARE(owed.deadlineUs(), qint64(17000000));
}

void TestTransfer::waitAdaptsToTheController_data()
{
    // Answer times in ms, "r" for a repeat, "L" an answer to a repeated
    // request and how long after its first copy; the wait that follows, and
    // the least wait for a first byte.
    QTest::addColumn<QString>("events");
    QTest::addColumn<int>("waitMs");
    QTest::addColumn<int>("firstByteMs");
    QTest::newRow("nothing measured") << "" << 2000 << 0;
    QTest::newRow("quick answers") << "40 45 40" << 2000 << 0;
    QTest::newRow("answers after 2.1 s") << "2100" << 6300 << 0;
    QTest::newRow("one late answer among quick ones") << "40 40 40 2100" << 2392 << 0;
    QTest::newRow("repeated: twice as long, once") << "r r" << 4000 << 0;
    QTest::newRow("a measured answer ends the doubling") << "r 40" << 2000 << 0;
    // Karn's rule keeps late answers out of the estimate, not out of the
    // first byte's wait.
    QTest::newRow("a late answer raises the first byte's wait") << "r L4500" << 4000 << 5625;
    QTest::newRow("the longest of them holds") << "r L4500 L3000 40" << 2000 << 5625;
    QTest::newRow("ten seconds at most") << "r L9000" << 4000 << 10000;
}

void TestTransfer::waitAdaptsToTheController()
{
    QFETCH(QString, events);
    QFETCH(int, waitMs);
    QFETCH(int, firstByteMs);
    CResponseTimeout timeout(2000);
    for (const QString &e : events.split(' ', Qt::SkipEmptyParts)) {
        if (e == "r")
            timeout.backOff();
        else if (e.startsWith('L'))
            timeout.addLateAnswer(e.mid(1).toLongLong() * 1000);
        else
            timeout.addSample(e.toLongLong() * 1000);
    }
    QCOMPARE(timeout.currentMs(), waitMs);
    QCOMPARE(timeout.firstByteUs(), qint64(firstByteMs) * 1000);
    timeout.endJob();
    QCOMPARE(timeout.firstByteUs(), qint64(0));
}

void TestTransfer::readBackIsCompared_data()
{
    QTest::addColumn<QByteArray>("back");
    QTest::addColumn<bool>("same");
    QTest::addColumn<QString>("says");
    const QByteArray sent = pattern(600);
    QByteArray changed = sent;
    changed[517] = char(changed.at(517) ^ 0x10);
    QTest::newRow("same") << sent << true << "校验一致";
    QTest::newRow("padded") << sent + QByteArray(24, char(0xFF)) << true << "24字节填充";
    QTest::newRow("one byte wrong") << changed << false << "偏移517";
    QTest::newRow("shorter") << sent.left(599) << false << "偏移599";
    QTest::newRow("more than padding") << sent + "\xFF\x01" << false << "偏移600";
}

void TestTransfer::readBackIsCompared()
{
    QFETCH(QByteArray, back);
    QFETCH(bool, same);
    QFETCH(QString, says);
    QString message;
    QCOMPARE(CReadBack::compare(pattern(600), back, &message), same);
    QVERIFY2(message.contains(says), qPrintable(message));
}

void TestTransfer::driverIgnoresIdleBlocksAndStampsLines()
{
    CTransferDriver driver;
    // No wait shorter than the line takes for the longest exchange.
    driver.setResponseTimeout(1);
    QCOMPARE(driver.responseTimeout(), CTransfer::leastWaitMs());
    driver.setResponseTimeout(2000);
    QList<QByteArray> written;
    driver.setWriter([&](const QByteArray &frame) { written << frame; });
    QSignalSpy lines(&driver, &CTransferDriver::logLine);
    QSignalSpy blocks(&driver, &CTransferDriver::blockReceived);
    QSignalSpy done(&driver, &CTransferDriver::finished);

    // Idle: nothing is looked at, not even a bad checksum.
    driver.onBlock(QByteArray::fromHex("00112233"));
    driver.onBlock(CF::downloadActivationAnswer(1, 10));
    QCOMPARE(lines.count(), 0);
    QCOMPARE(blocks.count(), 0);

    CDownloadTransfer t;
    QVERIFY(driver.start(&t, t.start(F103, pattern(20))));
    QCOMPARE(written, QList<QByteArray>{CF::downloadActivation(F103, 20)});
    driver.onBlock(CF::downloadActivationAnswer(1, 10));
    QCOMPARE(blocks.count(), 1);
    QCOMPARE(lines.count(), 1);
    const QString line = lines.at(0).at(0).toString();
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: ");
    QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
    QVERIFY(line.endsWith(": 控制器缓存空间不够，下载失败！\n"));
    QCOMPARE(done.count(), 1);
    QCOMPARE(done.at(0).at(0).toBool(), false);
    QCOMPARE(driver.state(), 0);
    // Over: later blocks are ignored again.
    driver.onBlock(CF::downloadActivationAnswer(1, 100));
    QCOMPARE(lines.count(), 1);

    // abort() ends quietly.
    QVERIFY(driver.start(&t, t.start(F103, pattern(20))));
    driver.abort();
    QCOMPARE(driver.state(), 0);
    QCOMPARE(done.count(), 1);
    // A machine that refuses to start sends nothing.
    written.clear();
    QVERIFY(!driver.start(&t, t.start(F103, QByteArray())));
    QVERIFY(written.isEmpty());
}

void TestTransfer::driverRepeatsOnItsOwnClock()
{
    CTransferDriver driver;
    driver.setResponseTimeout(20);
    driver.setRetries(2);
    QList<QByteArray> written;
    driver.setWriter([&](const QByteArray &frame) { written << frame; });
    QSignalSpy done(&driver, &CTransferDriver::finished);
    QSignalSpy lines(&driver, &CTransferDriver::logLine);

    // Never answered: two repeats, then a failure line and the end.
    CUploadTransfer t;
    driver.start(&t, t.start(F103));
    QVERIFY(done.wait(5000));
    QCOMPARE(done.at(0).at(0).toBool(), false);
    QCOMPARE(written.size(), 3);
    for (const QByteArray &frame : written)
        QCOMPARE(frame, CF::uploadActivation(F103));
    QCOMPARE(lines.count(), 3);
    QVERIFY(lines.last().at(0).toString().contains("失败"));
    QCOMPARE(driver.state(), 0);

    // Answered after one repeat: the transfer goes on and succeeds.
    written.clear();
    done.clear();
    QSignalSpy progress(&driver, &CTransferDriver::progress);
    const QByteArray table = pattern(600, 2);
    driver.setWriter([&](const QByteArray &frame) {
        written << frame;
        if (written.size() == 1)
            return; // the first activation goes unanswered
        QByteArray answer;
        if (frame == CF::uploadActivation(F103))
            answer = CF::uploadActivationAnswer(1, 600);
        else if (frame == CF::uploadMiddleRequest(F103, 0))
            answer = CF::uploadMiddleAnswer(1, table.left(512));
        else if (frame == CF::uploadEndRequest(F103, 512))
            answer = CF::uploadEndAnswer(1, table.mid(512));
        QTimer::singleShot(0, &driver, [&driver, answer] { driver.onBlock(answer); });
    });
    driver.start(&t, t.start(F103));
    QVERIFY(done.wait(5000));
    QCOMPARE(done.at(0).at(0).toBool(), true);
    QCOMPARE(written.size(), 4);
    QCOMPARE(t.uploadBuffer(), table);
    QCOMPARE(progress.last().at(0).toLongLong(), qint64(600));
    QCOMPARE(progress.last().at(1).toLongLong(), qint64(600));
}

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
