#include "batchdownload.h"
#include "batchpanel.h"
#include "batchrecord.h"
#include "batchrecordrows.h"
#include "downloadtab.h"
#include "filedialogs.h"
#include "messages.h"
#include "recordqueue.h"
#include "serial.h"
#include "simprocess.h"
#include "softwareinitialization.h"
#include "testfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/file.h>

namespace {

QByteArray pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 31 + 7) & 0xFF);
    return out;
}

// Message boxes answered and kept instead of shown.
struct Boxes
{
    QList<Messages::Request> seen;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    Boxes()
    {
        Messages::setHandler([this](const Messages::Request &r) {
            seen << r;
            return answer;
        });
    }
    ~Boxes() { Messages::setHandler(nullptr); }
};

// What the window would answer.
struct Window
{
    bool project = true;
    QByteArray table = pattern(3000);

    CDownloadTab::Hooks hooks()
    {
        CDownloadTab::Hooks h;
        h.currentChip = [] { return QStringLiteral("STM32F103RE"); };
        h.hasProject = [this] { return project; };
        h.buildTable = [this](QByteArray *t, QString *) {
            *t = table;
            return !table.isEmpty();
        };
        h.projectPath = [] { return QStringLiteral("/projects/line.mirel"); };
        return h;
    }
};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBatch : public QObject
{
    Q_OBJECT
private slots:
    void formHasTheNamedWidgets();
    void refusesWithoutProjectOrPort_data();
    void refusesWithoutProjectOrPort();
    void typedPathsStayAndKeepTheirTicks();
    void downloadsToEveryTickedPort_data();
    void downloadsToEveryTickedPort();
    void rowsWaitForARecordLockedElsewhere_data();
    void rowsWaitForARecordLockedElsewhere();
    void tabOpensTheBatchAndAsksBeforeQuitting();
    void tabRemembersTheLastPortOpened();
};

void TestBatch::formHasTheNamedWidgets()
{
    Window win;
    BatchPanel panel(win.hooks());
    QCOMPARE(panel.windowTitle(), QString("批量下载"));
    QCOMPARE(panel.findChild<QPushButton *>("pushButtonStart")->text(), QString("开始"));
    QCOMPARE(panel.findChild<QPushButton *>("pushButtonCancel")->text(), QString("取消"));
    QCOMPARE(panel.findChild<QPushButton *>("pushButtonAddPort")->text(), QString("添加"));
    QCOMPARE(panel.findChild<QPushButton *>("pushButtonRecord")->text(), QString("选择…"));
    QCOMPARE(panel.findChild<QCheckBox *>("checkBoxVerify")->text(), QString("下载后读回校验"));
    QVERIFY(panel.findChild<QLineEdit *>("lineEditPort"));
    QVERIFY(panel.findChild<QLineEdit *>("lineEditRecord"));
    QVERIFY(!panel.findChild<QPushButton *>("pushButtonCancel")->isEnabled());
}

void TestBatch::refusesWithoutProjectOrPort_data()
{
    QTest::addColumn<bool>("project");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QString>("message");
    QTest::newRow("no project") << false << true
                                << "没有打开的工程：请先新建或打开工程，再批量下载配置";
    QTest::newRow("no port ticked") << true << false << "没有勾选串口：请至少勾选一个串口";
}

void TestBatch::refusesWithoutProjectOrPort()
{
    QFETCH(bool, project);
    QFETCH(bool, ticked);
    QFETCH(QString, message);
    Boxes boxes;
    Window win;
    win.project = project;
    BatchPanel panel(win.hooks());
    for (const QString &port : panel.ports())
        panel.setTicked(port, false);
    QVERIFY(panel.addPort("/dev/mirel-no-such-port"));
    panel.setTicked("/dev/mirel-no-such-port", ticked);
    QVERIFY(!panel.start());
    QVERIFY(!panel.isRunning());
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.at(0).text, message);
    QCOMPARE(panel.statusText(), message);
}

void TestBatch::typedPathsStayAndKeepTheirTicks()
{
    Window win;
    BatchPanel panel(win.hooks());
    const int listed = panel.ports().size();
    panel.findChild<QLineEdit *>("lineEditPort")->setText("/tmp/mirel-a");
    panel.findChild<QPushButton *>("pushButtonAddPort")->click();
    QVERIFY(panel.findChild<QLineEdit *>("lineEditPort")->text().isEmpty());
    QVERIFY(panel.addPort(" /tmp/mirel-b "));
    QVERIFY(!panel.addPort("/tmp/mirel-a")); // listed once
    QVERIFY(!panel.addPort("  "));
    QCOMPARE(panel.ports().size(), listed + 2);
    QVERIFY(panel.isTicked("/tmp/mirel-a"));
    panel.setTicked("/tmp/mirel-a", false);
    panel.refreshPorts();
    QVERIFY(panel.ports().contains("/tmp/mirel-a"));
    QVERIFY(panel.ports().contains("/tmp/mirel-b"));
    QVERIFY(!panel.isTicked("/tmp/mirel-a"));
    QVERIFY(panel.isTicked("/tmp/mirel-b"));
}

void TestBatch::downloadsToEveryTickedPort_data()
{
    // Which of the three ports has a missing device, or a controller that
    // stops midway (-1: none); whether the download is read back.
    QTest::addColumn<int>("missing");
    QTest::addColumn<int>("killed");
    QTest::addColumn<bool>("verify");
    QTest::newRow("every port exact") << -1 << -1 << false;
    QTest::newRow("every port exact, read back") << -1 << -1 << true;
    QTest::newRow("one port missing") << 1 << -1 << false;
    QTest::newRow("one controller stops midway") << -1 << 2 << false;
    QTest::newRow("one controller stops midway, read back") << -1 << 0 << true;
}

void TestBatch::downloadsToEveryTickedPort()
{
    QFETCH(int, missing);
    QFETCH(int, killed);
    QFETCH(bool, verify);
    Boxes boxes;
    QTemporaryDir dir;
    Window win;
    std::unique_ptr<SimProcess> sims[3];
    QStringList ports;
    QStringList saved;
    for (int i = 0; i < 3; ++i) {
        saved << dir.filePath(QStringLiteral("saved%1.bin").arg(i));
        if (i == missing) {
            ports << dir.filePath("no-such-device");
            continue;
        }
        sims[i] = std::make_unique<SimProcess>(QStringList{"--save", saved.at(i)});
        QVERIFY2(!sims[i]->device().isEmpty(), qPrintable(sims[i]->error()));
        ports << sims[i]->device();
    }
    BatchPanel panel(win.hooks());
    for (const QString &port : panel.ports())
        panel.setTicked(port, false);
    for (const QString &port : ports)
        QVERIFY(panel.addPort(port));
    panel.setVerify(verify);
    panel.setLink(300, 1);
    const QString record = dir.filePath("record.csv");
    panel.setRecordPath(record);
    if (killed >= 0) {
        // Stopped at its first progress: nothing more of it is read.
        const QString port = ports.at(killed);
        connect(panel.batch(), &BatchDownload::portProgress, this,
                [&, port](const QString &p, qint64 done, qint64 total) {
                    if (p == port && done < total && sims[killed])
                        sims[killed]->stop();
                });
    }
    QSignalSpy finished(&panel, &BatchPanel::batchFinished);
    QVERIFY(panel.start());
    QVERIFY(panel.isRunning());
    QVERIFY(!panel.findChild<QPushButton *>("pushButtonStart")->isEnabled());
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.at(0).at(0).toBool(), missing < 0 && killed < 0);
    QVERIFY(!panel.isRunning());
    QVERIFY(panel.findChild<QPushButton *>("pushButtonStart")->isEnabled());
    QVERIFY(boxes.seen.isEmpty());

    const QStringList rows = QString::fromUtf8(readAll(record)).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0), BatchRecord::header());
    for (int i = 0; i < 3; ++i) {
        const QString port = ports.at(i);
        QString row;
        for (const QString &r : rows) {
            if (r.contains(QLatin1Char(',') + port + QLatin1Char(',')))
                row = r;
        }
        QVERIFY2(!row.isEmpty(), qPrintable(port));
        if (i == missing || i == killed) {
            QVERIFY2(panel.outcomeOf(port).startsWith("失败："), qPrintable(panel.outcomeOf(port)));
            QVERIFY2(panel.outcomeOf(port).contains(port), qPrintable(panel.outcomeOf(port)));
            QVERIFY2(row.contains(",failed: "), qPrintable(row));
            if (i == missing)
                QVERIFY(!QFile::exists(saved.at(i)));
            continue;
        }
        QCOMPARE(panel.outcomeOf(port), verify ? QString("成功，读回校验一致") : QString("成功"));
        QCOMPARE(panel.progressOf(port), 100);
        QVERIFY2(row.contains(",ok,"), qPrintable(row));
        QTRY_COMPARE_WITH_TIMEOUT(readAll(saved.at(i)), win.table, 10000);
    }
}

void TestBatch::rowsWaitForARecordLockedElsewhere_data()
{
    QTest::addColumn<bool>("saveElsewhere");
    QTest::newRow("saved elsewhere on closing") << true;
    QTest::newRow("left to wait, written once free") << false;
}

// Another program holds the record's lock: the batch ends all the same, the
// window says how many rows wait, and closing offers to save them elsewhere.
void TestBatch::rowsWaitForARecordLockedElsewhere()
{
    QFETCH(bool, saveElsewhere);
    Boxes boxes;
    boxes.answer = saveElsewhere ? QMessageBox::Save : QMessageBox::Cancel;
    QTemporaryDir dir;
    const QString record = dir.filePath("record.csv");
    const QString other = dir.filePath("other.csv");
    QString offered;
    FileDialogs::setSaveHandler([&](const QString &, const QString &start, const QString &) {
        offered = start;
        return other;
    });
    SimProcess sim;
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    CDownloadTab tab(win.hooks());
    tab.findChild<QPushButton *>("pushButtonBatch")->click();
    BatchPanel &panel = *tab.batchPanel();
    for (const QString &port : panel.ports())
        panel.setTicked(port, false);
    QVERIFY(panel.addPort(sim.device()));
    panel.setRecordPath(record);
    QVERIFY(TestFiles::write(record, BatchRecord::header().toUtf8() + '\n'));
    QFile locked(record);
    QVERIFY(locked.open(QIODevice::ReadOnly));
    connect(panel.batch(), &BatchDownload::portStarted, this,
            [&locked] { ::flock(locked.handle(), LOCK_EX); });
    QSignalSpy finished(&panel, &BatchPanel::batchFinished);
    panel.show();
    QVERIFY(panel.start());
    QVERIFY(finished.wait(30000));
    QCOMPARE(panel.recordRows()->waiting(), 1);
    QVERIFY(panel.statusText().contains(record));
    panel.reject();
    QCOMPARE(boxes.seen.size(), 1);
    QVERIFY(!panel.isVisible());
    if (!saveElsewhere) {
        // Quitting would lose them: asked again, and the quit called off.
        QVERIFY(!tab.mayQuit());
        QCOMPARE(boxes.seen.size(), 2);
        QCOMPARE(boxes.seen.last().defaultButton, QMessageBox::Save);
    }
    ::flock(locked.handle(), LOCK_UN);
    const QByteArray header = BatchRecord::header().toUtf8() + '\n';
    if (saveElsewhere) {
        QCOMPARE(panel.recordRows()->waiting(), 0);
        QCOMPARE(offered, dir.filePath("record-unwritten.csv")); // beside the record
        QVERIFY(TestFiles::read(other).startsWith(header));
        QVERIFY(TestFiles::read(other).contains(QByteArray(sim.device().toUtf8() + ",,")));
        QTest::qWait(2 * RecordQueue::RetryMs);
        QCOMPARE(TestFiles::read(record), header);
    } else {
        QTRY_COMPARE(panel.recordRows()->waiting(), 0);
        QVERIFY(TestFiles::read(record).contains(QByteArray(sim.device().toUtf8() + ",,")));
        QVERIFY(!QFile::exists(other));
    }
    FileDialogs::setSaveHandler(nullptr);
}

void TestBatch::tabOpensTheBatchAndAsksBeforeQuitting()
{
    Boxes boxes;
    Window win;
    SimProcess sim;
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    CDownloadTab tab(win.hooks());
    QVERIFY(!tab.batchPanel());
    QPushButton *open = tab.findChild<QPushButton *>("pushButtonBatch");
    QVERIFY(open);
    QCOMPARE(open->text(), QString("批量下载…"));
    open->click();
    BatchPanel *panel = tab.batchPanel();
    QVERIFY(panel && panel->isVisible());
    QVERIFY(tab.mayQuit()); // nothing runs: no question
    QVERIFY(boxes.seen.isEmpty());

    for (const QString &port : panel->ports())
        panel->setTicked(port, false);
    QVERIFY(panel->addPort(sim.device()));
    QVERIFY(panel->start());
    boxes.answer = QMessageBox::No;
    QVERIFY(!tab.mayQuit());
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.at(0).title, QString("退出"));
    QVERIFY(panel->isRunning());
    boxes.answer = QMessageBox::Yes;
    QSignalSpy finished(panel, &BatchPanel::batchFinished);
    QVERIFY(tab.mayQuit());
    QVERIFY(finished.wait(30000));
    QCOMPARE(panel->outcomeOf(sim.device()), QString("失败：传输已取消"));
}

void TestBatch::tabRemembersTheLastPortOpened()
{
    Boxes boxes;
    QTemporaryDir dir;
    Window win;
    CDownloadTab::Hooks hooks = win.hooks();
    hooks.appDir = [&dir] { return dir.path(); };
    SimProcess sim;
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    {
        CDownloadTab tab(hooks);
        QCOMPARE(tab.lastPort(), QString());
        // A typed device path opens, and the list looked at again keeps it.
        tab.findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
        tab.openPort();
        QVERIFY(tab.serial()->isOpen());
        QCOMPARE(tab.lastPort(), sim.device());
        tab.refreshPorts();
        tab.pollPorts();
        QCOMPARE(tab.findChild<QComboBox *>("comboBoxComNo")->currentText(), sim.device());
    }
    QSettings settings(dir.filePath(CSoftwareInitialization().settingsFileName),
                       QSettings::IniFormat);
    QCOMPARE(settings.value("Transfer/LastPort").toString(), sim.device());
    CDownloadTab tab(hooks); // a new tab offers it
    QCOMPARE(tab.lastPort(), sim.device());
    QCOMPARE(tab.findChild<QComboBox *>("comboBoxComNo")->currentText(), sim.device());
    QVERIFY(boxes.seen.isEmpty());
}

QTEST_MAIN(TestBatch)
#include "tst_gui_batch.moc"
