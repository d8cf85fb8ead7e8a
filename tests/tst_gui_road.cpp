#include "configanalyzer.h"
#include "configtable.h"
#include "dialogconfigure.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinchoice.h"
#include "pinitem.h"
#include "pinscene.h"
#include "projectcompare.h"
#include "projectdiff.h"
#include "projecttexts.h"
#include "simprocess.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QtTest>

// The whole road of a newcomer: new project, pins, tables, save, download to
// the stand-in controller, upload back into a project that shows the same tables.
class TestRoad : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void newProjectToControllerAndBack_data();
    void newProjectToControllerAndBack();
    void downloadBeforeSavingSendsTheDrawing();
    void paddedUploadOpensWithANote();
};

namespace {

} // namespace

void TestRoad::cleanup()
{
    Messages::setHandler(nullptr);
    FileDialogs::setSaveHandler(nullptr);
    QFile::remove(QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt");
}

void TestRoad::newProjectToControllerAndBack_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QStringList>("assignments"); // pin=function
    QTest::newRow("STM32F103RE") << "STM32F103RE" << QStringList{"PA0=Normal_DI", "PA1=Normal_DO",
                                                                 "PA9=USART1_TX", "PA10=USART1_RX",
                                                                 "PA5=SPI1_SCK",  "PA6=SPI1_MISO",
                                                                 "PA7=SPI1_MOSI", "PC0=ADC123_IN10",
                                                                 "PC1=EXIT",      "PB0=SYS_RunLed"};
    QTest::newRow("STM32F407ZG") << "STM32F407ZG"
                                 << QStringList{
                                        "PA0=Normal_DI",    "PE2=Normal_DO", "PB6=USART1_TX",
                                        "PB7=USART1_RX",    "PC10=SPI3_SCK", "PC11=SPI3_MISO",
                                        "PC12=SPI3_MOSI",   "PA4=DAC_OUT1",  "PF6=EXIT",
                                        "PG6=SYS_WatchDog", "PC6=USART6_TX", "PC7=USART6_RX"};
}

void TestRoad::newProjectToControllerAndBack()
{
    QFETCH(QString, chip);
    QFETCH(QStringList, assignments);

    QProcess sim;
    sim.start(TestFiles::inBinDir(QStringLiteral("mirel-sim")), QStringList());
    QVERIFY(sim.waitForStarted());
    QVERIFY(sim.waitForReadyRead(5000));
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QVERIFY(device.startsWith('/'));
    auto stopSim = qScopeGuard([&] {
        sim.terminate();
        sim.waitForFinished(5000);
    });

    QTemporaryDir dir;
    const QString path = dir.filePath("road.cpro");
    int saveDialogs = 0;
    FileDialogs::setSaveHandler([&](const QString &, const QString &, const QString &) {
        ++saveDialogs;
        return path;
    });
    QStringList questions;
    Messages::setHandler([&](const Messages::Request &r) {
        questions << r.text;
        return QMessageBox::Discard;
    });

    MainWindow w;
    w.show();
    w.SlotNewProject(chip, false);
    for (const QString &a : assignments) {
        const QString pin = a.section('=', 0, 0);
        const int index = w.projectData().pinNames.indexOf(pin);
        QVERIFY2(index >= 0, qPrintable(pin));
        w.scene()->setPinFunction(index, a.section('=', 1));
    }
    w.on_actionSave_triggered();
    QVERIFY(QFileInfo::exists(path));
    const ProjectData saved = w.projectData();
    QCOMPARE(saved.diInformation.size(), 16);
    QCOMPARE(saved.usartInformation[0].value(1), assignments.at(2).section('=', 0, 0));

    auto *ports = w.findChild<QComboBox *>("comboBoxComNo");
    ports->setEditText(device);
    w.findChild<QPushButton *>("pushButtonOpenCom")->click();
    auto *log = w.findChild<QTextEdit *>("textEditInform");
    w.findChild<QPushButton *>("pushButtonConfigureMirelHardwareInformation")->click();
    QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains("控制器接收完毕，下载成功！"), 15000);

    w.findChild<QComboBox *>("comboBoxChipModel")->setCurrentText(chip);
    w.findChild<QPushButton *>("pushButtonUploadBinFile")->click();
    QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains("上载Mirel配置信息完成"), 15000);
    // The saved project is replaced without a question; the one read back is
    // new and unsaved, and the upload folder goes without its parent.
    QTRY_VERIFY_WITH_TIMEOUT(w.windowTitle().contains("从控制器读取"), 20000);
    QVERIFY(questions.isEmpty());
    QVERIFY(w.isWindowModified());
    QVERIFY(w.projectPath().isEmpty());
    const QString appDir = QCoreApplication::applicationDirPath();
    QVERIFY(!QFileInfo::exists(appDir + "/config/uploadConfigureFile"));
    QVERIFY(QFileInfo(appDir + "/config").isDir());

    const ProjectData &back = w.projectData();
    // The project read back holds what the saved one does, as the
    // controller holds them (a section the file lists without values is an
    // empty list there).
    ProjectData held, heldBack;
    QVERIFY(ProjectDiff::controllerForm(saved, &held));
    QVERIFY(ProjectDiff::controllerForm(back, &heldBack));
    COMPARE_PROJECTS(heldBack, held);
    for (const QString &a : assignments) {
        const int index = back.pinNames.indexOf(a.section('=', 0, 0));
        // The table carries analogue pins as plain "ADC" and "DAC".
        QString function = a.section('=', 1);
        if (function.startsWith("ADC") || function.startsWith("DAC"))
            function.truncate(3);
        QCOMPARE(w.scene()->pinItems().at(index)->functionText(), function);
    }
    w.on_actionSave_triggered();
    QCOMPARE(saveDialogs, 2);
    QVERIFY(!w.isWindowModified());
}

// Pins drawn, one table confirmed, one more pin drawn, nothing saved: the
// controller receives what the drawing shows, and so does every later door.
void TestRoad::downloadBeforeSavingSendsTheDrawing()
{
    QTemporaryDir dir;
    const QString received = dir.filePath("received.bin");
    SimProcess sim({"--save", received});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Messages::setHandler([](const Messages::Request &r) {
        qWarning("unexpected message: %s", qPrintable(r.text));
        return QMessageBox::Discard;
    });

    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    for (const QString &step : QStringList{"PC8=Normal_DO", "PC9=Normal_DO", "PA9=USART1_TX",
                                           "PA5=SPI1_SCK", "PB0=EXIT", "PA0=Normal_DI"})
        choose(w, step.section('=', 0, 0), step.section('=', 1));
    w.configure()->launch(CPinDescriptions::DlgDO, w.projectData());
    w.configure()->on_pushButtonOK_clicked();
    choose(w, "PC7", "Normal_DO");
    choose(w, "PA0", "Normal_DO"); // a DI row becomes a DO row

    w.findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
    w.findChild<QPushButton *>("pushButtonOpenCom")->click();
    w.findChild<QCheckBox *>("checkBoxVerifyDownload")->setChecked(true);
    auto *log = w.findChild<QTextEdit *>("textEditInform");
    w.findChild<QPushButton *>("pushButtonConfigureMirelHardwareInformation")->click();
    QTRY_VERIFY_WITH_TIMEOUT(log->toPlainText().contains("校验一致"), 20000);

    ProjectData held;
    QString error;
    QVERIFY2(
        CAnalyzeBinFileToConfigure::decode(TestFiles::read(received), "STM32F103RE", &held, &error),
        qPrintable(error));
    QCOMPARE(chipSelectRows(held, CPinDescriptions::DlgDO).size(), 4);
    QVERIFY(held.diInformation.isEmpty());
    QCOMPARE(held.usartInformation[0].value(3), QStringLiteral("PA10"));
    // What the window would show a reviewer is what the controller holds.
    ProjectData wanted;
    QVERIFY(ProjectDiff::controllerForm(w.projectData(), &wanted, &error));
    const CDlgDescription text;
    QCOMPARE(ProjectDiff::differences(wanted, held, text), QStringList());
    for (const ProjectTexts::Table &table : ProjectTexts::tablesOf(w.projectData(), text))
        if (table.name == "DO" || table.name == "EXIT" || table.name == "USART1")
            QVERIFY2(table.used, qPrintable(table.name));

    // Saved afterwards, the file gives the same bytes on the command line.
    const QString path = dir.filePath("drawn.cpro");
    FileDialogs::setSaveHandler(
        [&](const QString &, const QString &, const QString &) { return path; });
    w.on_actionSave_triggered();
    const QString table = dir.filePath("table.bin");
    const CliResult cli = runCli({"table", path, "-o", table, "--raw"});
    QVERIFY2(cli.exitCode == 0, qPrintable(cli.err));
    QCOMPARE(TestFiles::read(table), TestFiles::read(received));
}

// A controller that pads the reserved bytes of its network blocks: its table
// opens, and the log says what was passed over.
void TestRoad::paddedUploadOpensWithANote()
{
    QTemporaryDir dir;
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(TableFixtures::fullyConfigured("STM32F407ZG"), &sections));
    int blocks = 0;
    QFile table(dir.filePath("padded.raw"));
    QVERIFY(table.open(QIODevice::WriteOnly));
    table.write(TableFixtures::withReservedBytes(sections.join(), '\x01', &blocks));
    table.close();
    SimProcess sim({"--raw-table", table.fileName()});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Discard; });

    MainWindow w;
    w.findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
    w.findChild<QPushButton *>("pushButtonOpenCom")->click();
    w.findChild<QComboBox *>("comboBoxChipModel")->setCurrentText("STM32F407ZG");
    w.findChild<QPushButton *>("pushButtonUploadBinFile")->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.windowTitle().contains("从控制器读取"), 20000);
    const QString log = w.findChild<QTextEdit *>("textEditInform")->toPlainText();
    QVERIFY2(blocks > 0 && log.count("保留字节") == blocks, qPrintable(log));
}

QTEST_MAIN(TestRoad)
#include "tst_gui_road.moc"
