#include "downloadtab.h"
#include "filedialogs.h"
#include "messages.h"
#include "mycombobox.h"
#include "progressbar.h"
#include "ptypair.h"
#include "serial.h"
#include "simprocess.h"
#include "softwareinitialization.h"
#include "testfiles.h"
#include "transferdriver.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSerialPort>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

namespace {

const char *const kButtons[] = {
    "pushButtonOpenCom",
    "pushButtonCloseCom",
    "pushButtonConfigureMirelHardwareInformation",
    "pushButtonUploadBinFile",
    "pushButton",
    "pushButtonClearText",
    "pushButtonClearText_2",
    "pushButtonFileComf",
    "pushButtonFileFirmware",
    "pushButtonFileSAlgorithm",
    "pushButtonFileCAlgorithm",
    "pushButtonFileDrive",
    "pushButtonFileProgram",
    "pushButtonConf",
    "pushButtonFirmware",
    "pushButtonSAlgorithm",
    "pushButtonCAlgorithm",
    "pushButtonDrive",
    "pushButtonProgram",
    "pushButtonCancel",
};
const char *const kPaths[] = {"lineEditPathConf",       "lineEditPathFirmware",
                              "lineEditPathSAlgorithm", "lineEditPahtCAlgorithm",
                              "lineEditPathDrive",      "lineEditPathProgram"};
const char *const kMarks[] = {"pushButtonConf",       "pushButtonFirmware", "pushButtonSAlgorithm",
                              "pushButtonCAlgorithm", "pushButtonDrive",    "pushButtonProgram"};

QByteArray pattern(int size)
{
    QByteArray out(size, '\0');
    for (int i = 0; i < size; ++i)
        out[i] = char((i * 17 + 3) & 0xFF);
    return out;
}

// The tab as the main window holds it: the second page of a tab widget.
struct Form
{
    QTabWidget tabs;
    CDownloadTab *tab;
    explicit Form(CDownloadTab::Hooks hooks) : tab(new CDownloadTab(std::move(hooks)))
    {
        tabs.addTab(new QWidget, "pins");
        tabs.addTab(tab, "download");
        tabs.setCurrentIndex(1);
    }
    template <typename T> T *get(const char *name) { return tab->findChild<T *>(name); }
    QPushButton *button(const char *name) { return get<QPushButton>(name); }
    QLineEdit *path(int kind) { return get<QLineEdit>(kPaths[kind]); }
    QString log() { return get<QTextEdit>("textEditInform")->toPlainText(); }
};

QColor colorOf(QWidget *w)
{
    return w->palette().color(qobject_cast<QLineEdit *>(w) ? QPalette::Base : QPalette::Button);
}

// Everything the window would do, recorded.
struct Window
{
    QString chip = "STM32F103RE";
    bool project = true;
    QByteArray table;
    QStringList calls;
    QByteArray analyzed;
    QString analyzedChip;
    bool analysisWorks = true;
    QString appDir;

    CDownloadTab::Hooks hooks()
    {
        CDownloadTab::Hooks h;
        h.currentChip = [this] { return chip; };
        h.hasProject = [this] { return project; };
        h.buildTable = [this](QByteArray *t, QString *error) {
            calls << "buildTable";
            *t = table;
            if (table.isEmpty())
                *error = "no project";
            return !table.isEmpty();
        };
        h.analyzeUpload = [this](const QByteArray &t, const QString &c, QString *error,
                                 QStringList *) {
            calls << "analyze";
            analyzed = t;
            analyzedChip = c;
            if (!analysisWorks)
                *error = "bad table";
            return analysisWorks;
        };
        h.makeProjectOfDownload = [this](const QByteArray &t, const QString &c, QString *,
                                         QStringList *) {
            calls << "make";
            analyzed = t;
            analyzedChip = c;
            return true;
        };
        h.appDir = [this] { return appDir; };
        return h;
    }
};

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

} // namespace

class TestDownloadTab : public QObject
{
    Q_OBJECT
private slots:
    void formHasTheNamedWidgets();
    void portControls();
    void transfersNeedAnOpenPort();
    void downloadThroughTheStandIn();
    void uploadKeepsTheProjectUntilTheTableIsRead();
    void failuresEndTheTransfer();
    void transfersEndedEarly_data();
    void transfersEndedEarly();
    void idleBlocksAreIgnored();
    void pickingFiles();
    void markingKinds();
    void defaultPaths();
    void progressWindow();
    void settingsKeptBesideTheProgram_data();
    void settingsKeptBesideTheProgram();
    void downloadReadBack_data();
    void downloadReadBack();
};

// Tests and users find the tab's widgets by these names.
void TestDownloadTab::formHasTheNamedWidgets()
{
    Window win;
    Form form(win.hooks());
    for (const char *name : kButtons)
        QVERIFY2(form.button(name), name);
    for (const char *name : kPaths)
        QVERIFY2(form.get<QLineEdit>(name), name);
    QVERIFY(qobject_cast<CMyComboBox *>(form.get<QComboBox>("comboBoxComNo")));
    QVERIFY(form.get<QComboBox>("comboBoxChipModel"));
    QVERIFY(form.get<QSpinBox>("spinBoxResponseTimeout"));
    QVERIFY(form.get<QSpinBox>("spinBoxRetries"));
    QVERIFY(form.get<QCheckBox>("checkBoxVerifyDownload"));
    QVERIFY(form.get<QTextEdit>("textEditInform")->isReadOnly());
    QVERIFY(form.get<QTextEdit>("textEdit")->isReadOnly());
    QCOMPARE(form.button("pushButtonOpenCom")->text(), QString("打开串口"));
    QCOMPARE(form.button("pushButtonClearText_2")->text(), QString("清除消息"));
    QCOMPARE(form.get<QToolButton>("toolButtonOffline")->text(), QString("离线更新"));
}

void TestDownloadTab::portControls()
{
    Boxes boxes;
    Window win;
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    auto *ports = form.get<QComboBox>("comboBoxComNo");
    auto *chips = form.get<QComboBox>("comboBoxChipModel");
    QVERIFY(ports->isEditable());
    QCOMPARE(chips->count(), 2);
    QCOMPARE(chips->itemText(0), QString("STM32F103RE"));
    QCOMPARE(chips->itemText(1), QString("STM32F407ZG"));
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::ActiveColor);
    QVERIFY(form.button("pushButtonCloseCom")->isFlat());
    QVERIFY(form.button("pushButtonCloseCom")->autoFillBackground());

    // A port that cannot be opened: the warning, colours unchanged.
    ports->setEditText("/nonexistent/port");
    const QColor openBefore = colorOf(form.button("pushButtonOpenCom"));
    form.button("pushButtonOpenCom")->click();
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.at(0).title, QString("警告"));
    QCOMPARE(boxes.seen.at(0).text, QString("打开串口失败"));
    QCOMPARE(boxes.seen.at(0).icon, QMessageBox::Warning);
    QSerialPort probe("/nonexistent/port"); // the system's reason
    QVERIFY(!probe.open(QIODevice::ReadWrite));
    QVERIFY2(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: 打开串口失败：.*" +
                                QRegularExpression::escape(probe.errorString()) + "\n$")
                 .match(form.log())
                 .hasMatch(),
             qPrintable(form.log()));
    QVERIFY(!tab.serial()->isOpen());
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), openBefore);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::ActiveColor);

    // A typed device path opens, and survives a refresh of the list.
    PtyPair pty;
    ports->setEditText(pty.slavePath());
    emit qobject_cast<CMyComboBox *>(ports)->Clicked();
    QCOMPARE(ports->currentText(), pty.slavePath());
    QCOMPARE(ports->count(), CSerial::availablePorts().size());
    form.button("pushButtonOpenCom")->click();
    QVERIFY(tab.serial()->isOpen());
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), CDownloadTab::ActiveColor);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::InactiveColor);
    form.button("pushButtonCloseCom")->click();
    QVERIFY(!tab.serial()->isOpen());
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), CDownloadTab::InactiveColor);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::ActiveColor);
    QCOMPARE(boxes.seen.size(), 1);

    // Opening another port that fails leaves none open, and the buttons say so.
    form.button("pushButtonOpenCom")->click();
    QVERIFY(tab.serial()->isOpen());
    ports->setEditText("/nonexistent/port");
    form.button("pushButtonOpenCom")->click();
    QCOMPARE(boxes.seen.size(), 2);
    QVERIFY(!tab.serial()->isOpen());
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), CDownloadTab::InactiveColor);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::ActiveColor);

    // A port that goes away while idle shows closed, and the log says why.
    PtyPair gone;
    ports->setEditText(gone.slavePath());
    form.button("pushButtonOpenCom")->click();
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), CDownloadTab::ActiveColor);
    gone.hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!tab.serial()->isOpen(), 5000);
    QVERIFY2(form.log().endsWith(": 串口" + gone.slavePath() + "连接已断开（设备已挂断）\n"),
             qPrintable(form.log()));
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")), CDownloadTab::InactiveColor);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")), CDownloadTab::ActiveColor);
}

void TestDownloadTab::transfersNeedAnOpenPort()
{
    Boxes boxes;
    Window win;
    win.project = true;
    win.table = pattern(100);
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    tab.startDownload();
    tab.startUpload();
    win.project = false; // nothing to download, whatever the port
    tab.startDownload();
    QCOMPARE(boxes.seen.size(), 3);
    QVERIFY(boxes.seen.at(2).text.contains("没有打开的工程"));
    QCOMPARE(boxes.seen.at(0).title, QString("警告"));
    QCOMPARE(boxes.seen.at(0).text, QString("串口未打开！"));
    QCOMPARE(boxes.seen.at(1).title, QString("警告"));
    QCOMPARE(boxes.seen.at(1).text, QString("串口通讯未打开，无法进行配置文件的上传！"));
    QVERIFY(win.calls.isEmpty());
    QCOMPARE(tab.state(), 0);
    QVERIFY(!tab.progressWindow());
}

void TestDownloadTab::downloadThroughTheStandIn()
{
    Boxes boxes;
    QTemporaryDir dir;
    const QString saved = dir.filePath("saved.bin");
    SimProcess sim({"--save", saved});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    win.table = pattern(1000);
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    form.get<QComboBox>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();
    QVERIFY(tab.serial()->isOpen());
    // Opening the port is a line of the log that names it.
    QCOMPARE(form.log().count('\n'), 1);
    QVERIFY(form.log().contains(sim.device()));
    tab.setVerifyAfterDownload(false); // the download alone

    // Each log line is added at the end; the text before is never rewritten.
    QSignalSpy changes(form.get<QTextEdit>("textEditInform")->document(),
                       &QTextDocument::contentsChange);
    tab.startDownload();
    QCOMPARE(tab.state(), 1);
    QVERIFY(!form.button("pushButtonConfigureMirelHardwareInformation")->isEnabled());
    QVERIFY(!form.button("pushButtonUploadBinFile")->isEnabled());
    QVERIFY(tab.progressWindow() && tab.progressWindow()->isVisible());
    QCOMPARE(tab.progressWindow()->labelText(), QString("下载配置文件"));
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), 0, 20000);

    // After the port's line, the download's.
    const QStringList lines = form.log().split('\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(lines.size(), 3);
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: ");
    for (const QString &line : lines)
        QVERIFY2(stamp.match(line).hasMatch(), qPrintable(line));
    QVERIFY(lines.at(0).endsWith(": 下载Mirel配置信息时，激活成功，即将下载配置信息！"));
    QVERIFY(lines.at(1).endsWith(": 正在发送..."));
    QVERIFY(lines.at(2).endsWith(": 控制器接收完毕，下载成功！"));
    QVERIFY(form.log().endsWith("\n"));
    QVERIFY(changes.count() >= 3);
    for (const auto &change : qAsConst(changes))
        QCOMPARE(change.at(1).toInt(), 0); // characters removed
    QTRY_COMPARE_WITH_TIMEOUT(QFile(saved).size(), qint64(1000), 5000);
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), win.table);
    QVERIFY(form.button("pushButtonConfigureMirelHardwareInformation")->isEnabled());
    QVERIFY(form.button("pushButtonUploadBinFile")->isEnabled());
    QCOMPARE(tab.progressWindow()->value(), 100);
    QVERIFY(!tab.progressWindow()->findChild<QPushButton *>("pushButtonFinish")->isHidden());
    QVERIFY(tab.progressWindow()->findChild<QPushButton *>("pushButtonCancel")->isHidden());
    // The answers appear in the raw view in hex, one a line.
    const QStringList raw =
        form.get<QTextEdit>("textEdit")->toPlainText().split('\n', Qt::SkipEmptyParts);
    QCOMPARE(raw.size(), 3);
    QVERIFY(raw.at(0).startsWith("31 01 00 01 01 00 A8 00 00"));
    QVERIFY(raw.at(2).startsWith("31 03 00 03 01 01"));

    // Clearing starts a fresh log.
    tab.clearLog();
    QVERIFY(form.log().isEmpty());

    // A table that cannot be built: a log line, nothing sent.
    win.table.clear();
    tab.startDownload();
    QCOMPARE(tab.state(), 0);
    QVERIFY(form.log().contains("no project"));
    QVERIFY(boxes.seen.isEmpty());
}

void TestDownloadTab::uploadKeepsTheProjectUntilTheTableIsRead()
{
    Boxes boxes;
    QTemporaryDir dir;
    const QByteArray table = pattern(1200);
    const QString tablePath = dir.filePath("held.bin");
    {
        QFile f(tablePath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(table);
    }
    SimProcess sim({"--raw-table", tablePath});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    win.project = true;
    win.chip = "STM32F103RE"; // the open project's; the upload takes the combo box's
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    form.get<QComboBox>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();
    form.get<QComboBox>("comboBoxChipModel")->setCurrentText("STM32F407ZG");

    // Nothing is asked or closed before the table has arrived: the window asks
    // when the decoded project is offered to it.
    tab.startUpload();
    QCOMPARE(tab.state(), 4);
    QVERIFY(boxes.seen.isEmpty());
    QVERIFY(win.calls.isEmpty());
    QCOMPARE(form.tabs.currentIndex(), 1);
    QVERIFY(tab.progressWindow() && tab.progressWindow()->isVisible());
    QCOMPARE(tab.progressWindow()->windowTitle(), QString("进度"));
    QCOMPARE(tab.progressWindow()->labelText(), QString("上传配置文件"));
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), 0, 20000);
    QCOMPARE(win.calls, QStringList{"analyze"});
    QCOMPARE(win.analyzed, table);
    QCOMPARE(win.analyzedChip, QString("STM32F407ZG"));
    QCOMPARE(tab.job()->chip(), QString("STM32F407ZG"));
    QCOMPARE(tab.progressWindow()->value(), 100);
    QVERIFY(form.log().endsWith(": 上载Mirel配置信息完成，正在生成文件！\n"));
    QCOMPARE(form.log().count(": 上载Mirel配置信息时，正在读取...\n"), 2);

    // A table the analysis refuses is reported.
    win.calls.clear();
    win.analysisWorks = false;
    tab.clearLog();
    tab.startUpload();
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), 0, 20000);
    QCOMPARE(win.calls, QStringList{"analyze"});
    QVERIFY(form.log().contains("bad table"));
    // The progress window does not call that done, and hints at the chip.
    QVERIFY(tab.progressWindow()->labelText().contains("bad table"));
    QVERIFY(tab.progressWindow()->labelText().contains("芯片型号"));
    // The raw view shows what came, in hex.
    QVERIFY2(form.get<QTextEdit>("textEdit")->toPlainText().contains("32 01 00 01"),
             qPrintable(form.get<QTextEdit>("textEdit")->toPlainText().left(200)));

    // The bytes still held for a download make a project of the project's chip.
    win.calls.clear();
    tab.analyzeDownloadData();
    QCOMPARE(win.calls, QStringList{"make"});
    QCOMPARE(win.analyzedChip, QString("STM32F103RE"));
    QCOMPARE(win.analyzed, tab.download().downloadData());
}

void TestDownloadTab::failuresEndTheTransfer()
{
    Boxes boxes;
    SimProcess sim({"--never-answer"});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    win.table = pattern(700);
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    tab.setResponseTimeout(200);
    tab.setRetries(1);
    form.get<QComboBox>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();
    // The wait in force is shown, and how long a silent controller takes.
    QCOMPARE(form.get<QLabel>("labelWait")->text(),
             QString("当前等待响应200 ms；\n控制器无响应时约1秒后放弃"));
    QSignalSpy waits(tab.driver(), &CTransferDriver::waitChanged);

    tab.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), 0, 20000);
    // It doubled for the repeat.
    QCOMPARE(waits.value(0).value(0).toInt(), 400);
    QVERIFY(form.get<QLabel>("labelWait")->text().startsWith("当前等待响应400 ms"));
    const QStringList lines = form.log().split('\n', Qt::SkipEmptyParts).mid(1);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).contains("重发"));
    QVERIFY(lines.at(1).contains("传输失败"));
    QCOMPARE(tab.progressWindow()->labelText(),
             QString("下载失败：控制器无有效响应（已重发1次），传输失败！"));
    QVERIFY(form.button("pushButtonConfigureMirelHardwareInformation")->isEnabled());
    QVERIFY(form.button("pushButtonUploadBinFile")->isEnabled());
    // Nothing was sent past the activation: all the table is still held.
    QCOMPARE(tab.download().downloadData(), win.table);

    // Closing the port ends a transfer at once.
    tab.setResponseTimeout(60000);
    tab.startUpload();
    QCOMPARE(tab.state(), 4);
    QVERIFY(!form.button("pushButtonUploadBinFile")->isEnabled());
    // Quitting asks first: keep running, or stop and leave the controller
    // mid-transfer.
    boxes.answer = QMessageBox::No;
    QVERIFY(!tab.mayQuit());
    QCOMPARE(tab.state(), 4);
    QCOMPARE(boxes.seen.last().buttonTexts.value(QMessageBox::Yes), QString("中止传输并退出"));
    boxes.answer = QMessageBox::Yes;
    QVERIFY(tab.mayQuit());
    QCOMPARE(tab.state(), 0);
    QVERIFY(form.log().endsWith(": 传输已取消！控制器停在传输中途。\n"));
    boxes.seen.clear();
    QVERIFY(tab.mayQuit()); // nothing runs: nothing asked
    QVERIFY(boxes.seen.isEmpty());
    tab.startUpload();
    form.button("pushButtonCloseCom")->click();
    QCOMPARE(tab.state(), 0);
    QVERIFY(form.button("pushButtonUploadBinFile")->isEnabled());

    // The frames on the line can be shown in the log.
    form.get<QCheckBox>("checkBoxLinkTrace")->setChecked(true);
    tab.openPort();
    tab.startUpload();
    QVERIFY2(form.log().contains("-> 7 32 01 00 01 01"), qPrintable(form.log()));
    form.get<QCheckBox>("checkBoxLinkTrace")->setChecked(false);
    QVERIFY(boxes.seen.isEmpty());
}

void TestDownloadTab::transfersEndedEarly_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("upload");
    QTest::addColumn<QString>("logStart");    // the last log line, after its timestamp
    QTest::addColumn<QString>("windowStart"); // the progress window's words
    QTest::addColumn<bool>("portClosed");
    QTest::newRow("cancelled") << "cancel" << false << ": 传输已取消！"
                               << "下载已取消" << false;
    QTest::newRow("window closed") << "close window" << true << ": 传输已取消！"
                                   << "上传已取消" << false;
    QTest::newRow("port closed") << "close port" << true << ": 传输中断：串口已关闭"
                                 << "上传失败：串口已关闭" << true;
    QTest::newRow("controller gone") << "stop controller" << false << ": 传输中断：串口/dev/"
                                     << "下载失败：串口/dev/" << true;
    QTest::newRow("reopen failed") << "open a missing port" << false << ": 传输中断：串口已关闭"
                                   << "下载失败：串口已关闭" << true;
}

void TestDownloadTab::transfersEndedEarly()
{
    QFETCH(QString, how);
    QFETCH(bool, upload);
    QFETCH(QString, logStart);
    QFETCH(QString, windowStart);
    QFETCH(bool, portClosed);
    Boxes boxes;
    QTemporaryDir dir;
    const QString tablePath = dir.filePath("held.bin");
    {
        QFile f(tablePath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(pattern(1200));
    }
    // The activation is answered, then nothing more: the transfer waits.
    SimProcess sim({"--raw-table", tablePath, "--drop", "2-"});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    win.table = pattern(1000);
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    tab.setResponseTimeout(60000);
    form.get<QComboBox>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();
    if (upload)
        tab.startUpload();
    else
        tab.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), upload ? 5 : 2, 10000);
    CProgressBar *window = tab.progressWindow();
    auto *cancel = window->findChild<QPushButton *>("pushButtonCancel");
    auto *finish = window->findChild<QPushButton *>("pushButtonFinish");
    QVERIFY(!cancel->isHidden());
    QVERIFY(finish->isHidden());

    if (how == "cancel")
        cancel->click();
    else if (how == "close window")
        window->close();
    else if (how == "close port")
        form.button("pushButtonCloseCom")->click();
    else if (how == "stop controller")
        QVERIFY(sim.stop());
    else {
        form.get<QComboBox>("comboBoxComNo")->setEditText("/nonexistent/port");
        tab.openPort();
    }
    QTRY_COMPARE_WITH_TIMEOUT(tab.state(), 0, 10000);

    const QString last = form.log().split('\n', Qt::SkipEmptyParts).last();
    const QRegularExpression stamp("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d: ");
    QVERIFY2(stamp.match(last).hasMatch() && last.mid(19).startsWith(logStart), qPrintable(last));
    QVERIFY(form.button("pushButtonConfigureMirelHardwareInformation")->isEnabled());
    QVERIFY(form.button("pushButtonUploadBinFile")->isEnabled());
    QVERIFY2(window->labelText().startsWith(windowStart), qPrintable(window->labelText()));
    QVERIFY(window->findChild<QProgressBar *>()->isHidden());
    QVERIFY(cancel->isHidden());
    QVERIFY(!finish->isHidden());
    QCOMPARE(tab.serial()->isOpen(), !portClosed);
    QCOMPARE(colorOf(form.button("pushButtonCloseCom")),
             portClosed ? CDownloadTab::ActiveColor : CDownloadTab::InactiveColor);
    QCOMPARE(colorOf(form.button("pushButtonOpenCom")),
             portClosed ? CDownloadTab::InactiveColor : CDownloadTab::ActiveColor);
    QCOMPARE(boxes.seen.size(), how == "open a missing port" ? 1 : 0);
}

void TestDownloadTab::idleBlocksAreIgnored()
{
    PtyPair pty;
    Window win;
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    QVERIFY(tab.serial()->open(pty.slavePath()));
    QTRY_VERIFY(!tab.serial()->isSettling());
    QSignalSpy blocks(tab.serial(), &CSerial::serialReturnData);
    QSignalSpy silences(tab.serial(), &CSerial::silence);
    QVERIFY(pty.writeMaster(QByteArray::fromHex("31010001") + "garbage"));
    QTRY_COMPARE_WITH_TIMEOUT(silences.count(), 1, 5000);
    QVERIFY(!blocks.isEmpty());
    QVERIFY(form.log().isEmpty());
    QVERIFY(form.get<QTextEdit>("textEdit")->toPlainText().isEmpty());
}

void TestDownloadTab::pickingFiles()
{
    Window win;
    win.appDir = "/opt/mirel";
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    QStringList asked;
    QString reply;
    FileDialogs::setOpenHandler(
        [&](const QString &caption, const QString &dir, const QString &filter) {
            asked = QStringList{caption, dir, filter};
            return reply;
        });
    // Every filter lists its files: no stray separator after the pattern.
    const QStringList filters = {"配置文件(*.bin)", "固件(*.bin)",     "算法文件(*.bin)",
                                 "算法文件(*.bin)", "驱动文件(*.bin)", "工程文件(*.bin)"};
    for (int kind = 0; kind < CDownloadTab::KindCount; ++kind) {
        reply = QString("/data/file%1.bin").arg(kind);
        tab.pickFile(kind);
        QCOMPARE(asked, (QStringList{"打开", "/opt/mirel/bin/STM32F103RE", filters.at(kind)}));
        QCOMPARE(form.path(kind)->text(), reply);
        QCOMPARE(tab.selectedPath(), reply);
    }
    // Cancelled: nothing changes.
    reply.clear();
    tab.pickFile(CDownloadTab::KindConf);
    QCOMPARE(form.path(CDownloadTab::KindConf)->text(), QString("/data/file0.bin"));
    QCOMPARE(tab.selectedPath(), QString("/data/file5.bin"));
    // No known chip: the folder stops at bin/.
    win.chip.clear();
    tab.pickFile(CDownloadTab::KindFirmware);
    QCOMPARE(asked.at(1), QString("/opt/mirel/bin/"));
    FileDialogs::setOpenHandler(nullptr);
}

void TestDownloadTab::markingKinds()
{
    Boxes boxes;
    Window win;
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    const QList<quint8> codes = {0xE2, 0xE3, 0xE4, 0xE5, 1, 0xE7};
    const QStringList messages = {"开始更新配置文件。。。\n",   "开始更新固件文件。。。\n",
                                  "开始更新原算法文件。。。\n", "开始更新自定义算法文件。。。\n",
                                  "开始更新驱动1文件。。。\n",  "开始更新控制程序文件。。。\n"};
    form.path(CDownloadTab::KindDrive)->setText("/x/06-0001-01ModbusRTUDrive_0x805D000.bin");
    for (int kind = 0; kind < CDownloadTab::KindCount; ++kind) {
        if (kind != CDownloadTab::KindDrive)
            form.path(kind)->setText(QString("/x/%1.bin").arg(kind));
        tab.markKind(kind);
        QCOMPARE(tab.selectedKind(), codes.at(kind));
        QCOMPARE(tab.selectedStartMessage(), messages.at(kind));
        QCOMPARE(tab.selectedPath(), form.path(kind)->text());
        for (int other = 0; other < CDownloadTab::KindCount; ++other) {
            const QColor expected =
                other == kind ? CDownloadTab::ActiveColor : CDownloadTab::InactiveColor;
            QCOMPARE(colorOf(form.button(kMarks[other])), expected);
            QCOMPARE(colorOf(form.path(other)), expected);
        }
    }
    QVERIFY(boxes.seen.isEmpty());
    // The tab says what is marked, and that marked files are not sent.
    auto *marked = form.get<QLabel>("labelMarked");
    QVERIFY(marked->text().contains("/x/5.bin（文件不存在）"));
    QVERIFY(marked->text().contains("不发送"));
    QTemporaryDir dir;
    QFile real(dir.filePath("real.bin"));
    QVERIFY(real.open(QIODevice::WriteOnly) && real.write(QByteArray(1234, 'x')) == 1234);
    real.close();
    form.path(CDownloadTab::KindProgram)->setText(real.fileName());
    tab.markKind(CDownloadTab::KindProgram);
    QVERIFY2(marked->text().startsWith("已标记：real.bin（1234字节）"), qPrintable(marked->text()));
    tab.clearMarking();
    QVERIFY(marked->text().startsWith("没有标记文件"));
    tab.markKind(CDownloadTab::KindProgram);

    // Driver numbers: above 48 refused with a warning, the marking stays.
    form.path(CDownloadTab::KindDrive)->setText("/x/06-0049-01Drive.bin");
    tab.markKind(CDownloadTab::KindDrive);
    QCOMPARE(boxes.seen.size(), 1);
    QCOMPARE(boxes.seen.at(0).title, QString("警告"));
    QCOMPARE(boxes.seen.at(0).text, QString("驱动文件名错误，驱动编号不允许超过48"));
    QCOMPARE(tab.selectedKind(), quint8(0xE7));
    QCOMPARE(colorOf(form.button("pushButtonProgram")), CDownloadTab::ActiveColor);
    form.path(CDownloadTab::KindDrive)->setText("/x/06-0048-01Drive.bin");
    tab.markKind(CDownloadTab::KindDrive);
    QCOMPARE(tab.selectedKind(), quint8(48));

    QCOMPARE(CDownloadTab::driverNumber("06-0001-01ModbusRTUDrive_0x805D000.bin"), 1);
    QCOMPARE(CDownloadTab::driverNumber("/2024-06-01/x/06-0012-01Drive.bin"), 12);
    QCOMPARE(CDownloadTab::driverNumber("abcd37efg.bin"), 37); // no "06-": 5th and 6th
    QCOMPARE(CDownloadTab::driverNumber("abcdXYefg.bin"), 0);
    QCOMPARE(CDownloadTab::driverNumber("06-00"), 0);
    form.path(CDownloadTab::KindDrive)->setText("/x/driverXY.bin");
    tab.markKind(CDownloadTab::KindDrive);
    QCOMPARE(tab.selectedKind(), quint8(0));
    QCOMPARE(colorOf(form.button("pushButtonDrive")), CDownloadTab::ActiveColor);

    tab.clearMarking();
    QCOMPARE(tab.selectedKind(), quint8(0));
    QVERIFY(tab.selectedStartMessage().isEmpty());
    QVERIFY(tab.selectedPath().isEmpty());
    for (int kind = 0; kind < CDownloadTab::KindCount; ++kind) {
        QCOMPARE(colorOf(form.button(kMarks[kind])), CDownloadTab::InactiveColor);
        QCOMPARE(colorOf(form.path(kind)), CDownloadTab::InactiveColor);
    }
}

void TestDownloadTab::defaultPaths()
{
    QTemporaryDir app;
    QVERIFY(QDir(app.path()).mkpath("bin/STM32F407ZG"));
    const QString folder = app.path() + "/bin/STM32F407ZG/";
    for (const char *name :
         {"02Configure_0x8007800.bin", "06-0001-01ModbusRTUDrive_0x805D000.bin"}) {
        QFile f(folder + name);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    Window win;
    win.appDir = app.path();
    win.chip = "";
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    tab.fillDefaultPaths();
    for (int kind = 0; kind < CDownloadTab::KindCount; ++kind)
        QVERIFY(form.path(kind)->text().isEmpty());

    win.chip = "STM32F407ZG";
    tab.fillDefaultPaths();
    QCOMPARE(form.path(CDownloadTab::KindConf)->text(),
             QFileInfo(folder + "02Configure_0x8007800.bin").absoluteFilePath());
    QCOMPARE(form.path(CDownloadTab::KindDrive)->text(),
             QFileInfo(folder + "06-0001-01ModbusRTUDrive_0x805D000.bin").absoluteFilePath());
    QVERIFY(form.path(CDownloadTab::KindFirmware)->text().isEmpty());
    QVERIFY(form.path(CDownloadTab::KindSAlgorithm)->text().isEmpty());
    QVERIFY(form.path(CDownloadTab::KindCAlgorithm)->text().isEmpty());
    QVERIFY(form.path(CDownloadTab::KindProgram)->text().isEmpty());

    // Another chip: its own table file; no driver of the other chip is shown.
    QVERIFY(QDir(app.path()).mkpath("bin/STM32F103RE"));
    const QString f103 = app.path() + "/bin/STM32F103RE/02Configure_0x8007800.bin";
    QVERIFY(TestFiles::write(f103, "x"));
    win.chip = "STM32F103RE";
    tab.fillDefaultPaths();
    QCOMPARE(form.path(CDownloadTab::KindConf)->text(), QFileInfo(f103).absoluteFilePath());
    QVERIFY(form.path(CDownloadTab::KindDrive)->text().isEmpty());
    // A file chosen by hand stays whatever the chip.
    const QString chosen = app.path() + "/mine.bin";
    form.path(CDownloadTab::KindConf)->setText(chosen);
    win.chip = "STM32F407ZG";
    tab.fillDefaultPaths();
    QCOMPARE(form.path(CDownloadTab::KindConf)->text(), chosen);
    QCOMPARE(form.path(CDownloadTab::KindDrive)->text(),
             QFileInfo(folder + "06-0001-01ModbusRTUDrive_0x805D000.bin").absoluteFilePath());
}

void TestDownloadTab::progressWindow()
{
    CProgressBar bar;
    QCOMPARE(bar.windowTitle(), QString("进度"));
    QCOMPARE(bar.labelText(), QString("上传配置文件"));
    auto *progress = bar.findChild<QProgressBar *>();
    QVERIFY(progress);
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(bar.value(), 0);
    bar.setProgress(512, 1024);
    QCOMPARE(bar.value(), 50);
    bar.setProgress(5, 0); // nothing known: unchanged
    QCOMPARE(bar.value(), 50);
    bar.setProgress(2000, 1024);
    QCOMPARE(bar.value(), 100);
    bar.show();
    QVERIFY(bar.isVisible());
    auto *finish = bar.findChild<QPushButton *>();
    QVERIFY(finish);
    QCOMPARE(finish->text(), QString("完成"));
    finish->click();
    QVERIFY(!bar.isVisible());
}

void TestDownloadTab::settingsKeptBesideTheProgram_data()
{
    // What the start-up settings file holds; what the tab then shows.
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("timeoutMs");
    QTest::addColumn<int>("retries");
    QTest::addColumn<bool>("verify");
    // A download is read back unless the user turned it off.
    QTest::newRow("nothing yet") << "" << 2000 << 3 << true;
    QTest::newRow("kept") << "TimeoutMs=5000\nRetries=1\nVerifyAfterDownload=1" << 5000 << 1
                          << true;
    QTest::newRow("turned off, kept") << "VerifyAfterDownload=0" << 2000 << 3 << false;
    QTest::newRow("out of range") << "TimeoutMs=0\nRetries=99\nVerifyAfterDownload=x" << 2000 << 3
                                  << true;
}

void TestDownloadTab::settingsKeptBesideTheProgram()
{
    QFETCH(QString, stored);
    QFETCH(int, timeoutMs);
    QFETCH(int, retries);
    QFETCH(bool, verify);
    QTemporaryDir dir;
    const QString file = dir.filePath(CSoftwareInitialization().settingsFileName);
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[LanguageID]\nLanguageID=1\n");
        if (!stored.isEmpty())
            f.write("[Transfer]\n" + stored.toUtf8() + "\n");
    }
    Window win;
    win.appDir = dir.path();
    {
        Form form(win.hooks());
        CDownloadTab &tab = *form.tab;
        QCOMPARE(form.get<QSpinBox>("spinBoxResponseTimeout")->value(), timeoutMs);
        QCOMPARE(form.get<QSpinBox>("spinBoxRetries")->value(), retries);
        QCOMPARE(form.get<QCheckBox>("checkBoxVerifyDownload")->isChecked(), verify);
        QCOMPARE(tab.driver()->responseTimeout(), timeoutMs);
        QCOMPARE(tab.driver()->retries(), retries);
        // Changed in the tab: used at once and kept.
        form.get<QSpinBox>("spinBoxResponseTimeout")->setValue(4500);
        form.get<QSpinBox>("spinBoxRetries")->setValue(5);
        form.get<QCheckBox>("checkBoxVerifyDownload")->setChecked(!verify);
        QCOMPARE(tab.driver()->responseTimeout(), 4500);
        QCOMPARE(tab.driver()->retries(), 5);
    }
    Form form(win.hooks()); // a new tab shows what was kept
    QCOMPARE(form.get<QSpinBox>("spinBoxResponseTimeout")->value(), 4500);
    QCOMPARE(form.get<QSpinBox>("spinBoxRetries")->value(), 5);
    QCOMPARE(form.get<QCheckBox>("checkBoxVerifyDownload")->isChecked(), !verify);
    QSettings settings(file, QSettings::IniFormat);
    QCOMPARE(settings.value("LanguageID/LanguageID").toInt(), 1); // the rest is kept
}

void TestDownloadTab::downloadReadBack_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QString>("logEnd");
    QTest::addColumn<QString>("windowStart");
    QTest::newRow("stored as sent")
        << QStringList() << ": 校验一致：控制器中的1000字节与下载的相同\n"
        << "读回校验";
    QTest::newRow("one byte stored wrong")
        << QStringList{"--corrupt-store", "600"} << "偏移600处（下载0xdb，读回0x24）\n"
        << "读回校验失败：校验不一致：第一个不同的字节在偏移600处";
}

void TestDownloadTab::downloadReadBack()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QString, logEnd);
    QFETCH(QString, windowStart);
    Boxes boxes;
    SimProcess sim(simArgs);
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Window win;
    win.table = pattern(1000);
    Form form(win.hooks());
    CDownloadTab &tab = *form.tab;
    tab.setVerifyAfterDownload(true);
    form.get<QComboBox>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();
    tab.startDownload();
    QTRY_VERIFY_WITH_TIMEOUT(form.log().endsWith(logEnd), 20000);
    QCOMPARE(tab.state(), 0);
    QVERIFY(form.log().contains(": 控制器接收完毕，下载成功！\n"));
    QVERIFY(form.log().contains(": 读回控制器中的配置信息，与下载的比较...\n"));
    QCOMPARE(win.calls, QStringList{"buildTable"}); // nothing offered to the window
    QVERIFY2(tab.progressWindow()->labelText().startsWith(windowStart),
             qPrintable(tab.progressWindow()->labelText()));
    QVERIFY(form.button("pushButtonConfigureMirelHardwareInformation")->isEnabled());
}

QTEST_MAIN(TestDownloadTab)
#include "tst_gui_downloadtab.moc"
