#include "aboutpindle.h"
#include "dialogconfigure.h"
#include "fieldmarks.h"
#include "filedialogs.h"
#include "interactivevview.h"
#include "mainwindow.h"
#include "messages.h"
#include "packagedrawing.h"
#include "pinchoice.h"
#include "pinitem.h"
#include "pinscene.h"
#include "projectcontroller.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "settingshelpers.h"
#include "simprocess.h"
#include "tablefixtures.h"

#include <QAction>
#include <QComboBox>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QTranslator>

#include <QtTest>
#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formHasItsWidgetsMenusAndTitle();
    void newProjectDrawsThePackageAndColoursButtons();
    void saveThenOpenGivesTheSameProject();
    void badProjectFilesAreRefusedAndTheProjectKept();
    void startupReopensTheLastProjectOrReportsItMissing();
    void languageSwitchPersistsAndKeepsTheTitle();
    void workIsSavedWhereChosenAndUndone();
    void unsavedChangesAreAskedAbout();
    void tableEditsAreNeverDroppedUnasked();
    void failedUploadKeepsTheOpenProject_data();
    void failedUploadKeepsTheOpenProject();
    void chipSelectsFollowTheTables();
    void aValueTheTableCannotHoldBlocksOnlyTheTable();
    void saveAsksNothingAboutHiddenTables();
    void oneAboutBoxThatGoesWithTheWindow();
    void fitsTheScreenAndFindsPins();
    void turnedDrawingFindsAndFits();

private:
    QString settingsPath() const
    {
        return QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt";
    }
    QStringList messages;
};

void TestMainWindow::init()
{
    QFile::remove(settingsPath());
    messages.clear();
    Messages::setHandler([this](const Messages::Request &r) {
        messages << r.text;
        return QMessageBox::Yes;
    });
}

void TestMainWindow::cleanup()
{
    QFile::remove(settingsPath());
    Messages::setHandler(nullptr);
    FileDialogs::setOpenHandler(nullptr);
    FileDialogs::setSaveHandler(nullptr);
}

void TestMainWindow::formHasItsWidgetsMenusAndTitle()
{
    MainWindow w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Mirel"));
    QVERIFY(!w.scene()); // no settings file: no project
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QStringLiteral("引脚配置"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("固件更新"));
    QCOMPARE(tabs->currentIndex(), 0);

    for (const char *name :
         {"pushButtonDI", "pushButtonDO", "pushButtonADC", "pushButtonDAC", "pushButtonEXIT",
          "pushButtonSYS", "pushButtonUSART1", "pushButtonUART4", "pushButtonUSART6",
          "pushButtonSPI3", "pushButtonOpenCom", "pushButtonCloseCom",
          "pushButtonConfigureMirelHardwareInformation", "pushButtonUploadBinFile",
          "pushButtonFileProgram", "pushButtonCancel"})
        QVERIFY2(w.findChild<QPushButton *>(name), name);
    QCOMPARE(w.findChild<QPushButton *>("pushButtonADC")->text(), QStringLiteral("AI_ADC"));
    QVERIFY(w.findChild<QWidget *>("PinsView"));
    QVERIFY(w.findChild<QWidget *>("textEditInform"));
    // Both 清除消息 buttons clear their box.
    auto *raw = w.findChild<QTextEdit *>("textEdit");
    auto *log = w.findChild<QTextEdit *>("textEditInform");
    raw->setPlainText("31 01");
    log->setPlainText("2026-01-01 00:00:00: x\n");
    w.findChild<QPushButton *>("pushButtonClearText_2")->click();
    w.findChild<QPushButton *>("pushButtonClearText")->click();
    QVERIFY(raw->toPlainText().isEmpty());
    QVERIFY(log->toPlainText().isEmpty());

    auto *toolbar = w.findChild<QToolBar *>("mainToolBar");
    QStringList order;
    for (QAction *a : toolbar->actions())
        order << a->objectName();
    QCOMPARE(order, (QStringList{"actionNew", "actionOpen", "actionSave", "actionInLineDownLoad",
                                 "actionInLineUpload"}));
    for (QAction *a : toolbar->actions())
        QVERIFY(!a->icon().isNull());

    QStringList menus;
    for (QAction *a : w.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"文件(&F)", "编辑(&E)", "设置(&S)", "工程(&P)", "帮助(&H)"}));
    QMenu *file = w.menuBar()->actions().at(0)->menu();
    QCOMPARE(file->actions().size(), 14); // with 导出表格… and 导入表格…
    QCOMPARE(file->actions().at(0)->shortcut(), QKeySequence(QKeySequence::New));
    QCOMPARE(file->actions().at(2)->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(file->actions().at(3)->shortcut(), QKeySequence("Ctrl+Shift+S"));
    QMenu *edit = w.menuBar()->actions().at(1)->menu();
    QCOMPARE(edit->actions().at(0)->shortcut(), QKeySequence("Ctrl+Z"));
    QCOMPARE(edit->actions().at(1)->shortcut(), QKeySequence("Ctrl+Shift+Z"));
    QCOMPARE(file->actions().at(5)->text(), QStringLiteral("导出引脚表…"));

    // "新建" of the file menu runs the toolbar command: the dialog appears.
    file->actions().at(0)->trigger();
    auto *dialog = qApp->findChild<QWidget *>("DialogNewPro");
    Q_UNUSED(dialog);
    bool shown = false;
    for (QWidget *top : QApplication::topLevelWidgets())
        shown |= top->objectName() == "DialogNewPro" && top->isVisible();
    QVERIFY(shown);
}

void TestMainWindow::newProjectDrawsThePackageAndColoursButtons()
{
    MainWindow w;
    w.resize(1284, 718);
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    QVERIFY(w.scene());
    QCOMPARE(w.scene()->pinItems().size(), 64);
    // The first drawing is shown readable: whole, or with its labels 8 px
    // high from its first pin on; 适合窗口 shows it whole.
    auto *view = w.findChild<CInteractivevView *>("PinsView");
    const auto wholeInView = [&] {
        return view->viewport()->rect().contains(
            view->mapFromScene(w.scene()->itemsBoundingRect()).boundingRect());
    };
    QTRY_VERIFY(wholeInView() ||
                view->transform().m11() >= 8.0 / PackageDrawing::labelPixelSize - 1e-6);
    view->resetAndFit(w.scene()->itemsBoundingRect());
    QVERIFY(wholeInView());
    QCOMPARE(w.projectData().pinCount(), 64);
    QCOMPARE(w.projectData().pinFunctions.at(6), QStringLiteral("NRST"));
    auto colourOf = [&](CPinDescriptions::DlgType t) {
        return w.peripheralButton(t)->palette().color(QPalette::Button);
    };
    QCOMPARE(colourOf(CPinDescriptions::DlgDI), QColor(225, 225, 225));
    const int pa0 = w.projectData().pinNames.indexOf("PA0");
    w.scene()->setPinFunction(pa0, "Normal_DI");
    QCOMPARE(w.projectData().pinFunctions.at(pa0), QStringLiteral("Normal_DI"));
    QCOMPARE(colourOf(CPinDescriptions::DlgDI), QColor(85, 169, 255));
    QCOMPARE(colourOf(CPinDescriptions::DlgDO), QColor(225, 225, 225));
    w.scene()->setPinFunction(w.projectData().pinNames.indexOf("PA9"), "USART1_TX");
    QCOMPARE(colourOf(CPinDescriptions::DlgUSART1), QColor(85, 169, 255));

    // A second project replaces the drawing.
    w.SlotNewProject("STM32F407ZG", true);
    QCOMPARE(w.scene()->pinItems().size(), 144);
    QCOMPARE(w.projectData().fsmcInformation, (QStringList{"iSSelectRAM", "1"}));
    QCOMPARE(colourOf(CPinDescriptions::DlgDI), QColor(225, 225, 225));
}

void TestMainWindow::saveThenOpenGivesTheSameProject()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("round.cpro");
    FileDialogs::setSaveHandler(
        [&](const QString &, const QString &, const QString &) { return path; });
    ProjectData saved;
    {
        MainWindow w;
        w.SlotNewProject("STM32F103RE", false);
        const QStringList names = w.projectData().pinNames;
        w.scene()->setPinFunction(names.indexOf("PA0"), "Normal_DI");
        w.scene()->setPinFunction(names.indexOf("PA1"), "Normal_DO");
        w.scene()->setPinFunction(names.indexOf("PA9"), "USART1_TX");
        w.scene()->setPinFunction(names.indexOf("PA10"), "USART1_RX");
        w.scene()->setPinFunction(names.indexOf("PC0"), "SYS_RunLed");
        w.on_actionSave_triggered();
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(w.windowTitle(), "Mirel ( " + path + " ) [*]");
        saved = w.projectData();
        QCOMPARE(saved.diInformation.size(), 16);
        QCOMPARE(saved.doInformation.size(), 18);
        QCOMPARE(saved.sysInformation.size(), 8);
        QCOMPARE(saved.usartInformation[0].value(1), QStringLiteral("PA9"));
        // The configuration table was rebuilt beside the program.
        QVERIFY(QFileInfo::exists(QCoreApplication::applicationDirPath() +
                                  "/bin/STM32F103RE/02Configure_0x8007800.bin"));
        auto *conf = w.findChild<QLineEdit *>("lineEditPathConf");
        QVERIFY(conf->text().contains("STM32F103RE"));
        // The upload chip follows the project's; one chosen by hand holds
        // until the project's chip changes.
        auto *uploadChip = w.findChild<QComboBox *>("comboBoxChipModel");
        QCOMPARE(uploadChip->currentText(), QString("STM32F103RE"));
        w.SlotNewProject("STM32F407ZG", true);
        QCOMPARE(uploadChip->currentText(), QString("STM32F407ZG"));
        uploadChip->setCurrentText("STM32F103RE");
        w.SlotNewProject("STM32F407ZG", false);
        QCOMPARE(uploadChip->currentText(), QString("STM32F103RE"));
        // A project of the other chip: the tab no longer names this chip's table.
        QVERIFY2(!conf->text().contains("STM32F103RE"), qPrintable(conf->text()));
    }
    std::unique_ptr<QSettings> s(openSettings(settingsPath()));
    QCOMPARE(readValue(s.get(), "EngineeringFilePath", "filePath"), path);

    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    QCOMPARE(w.findChild<QComboBox *>("comboBoxChipModel")->currentText(), QString("STM32F103RE"));
    const ProjectData &opened = w.projectData();
    QCOMPARE(opened.pinFunctions, saved.pinFunctions);
    QCOMPARE(opened.diInformation, saved.diInformation);
    QCOMPARE(opened.doInformation, saved.doInformation);
    QCOMPARE(opened.sysInformation, saved.sysInformation);
    QCOMPARE(opened.usartInformation[0], saved.usartInformation[0]);
    QCOMPARE(w.windowTitle(), "Mirel ( " + path + " ) [*]");
    const int pa9 = opened.pinNames.indexOf("PA9");
    QCOMPARE(w.scene()->pinItems().at(pa9)->functionText(), QStringLiteral("USART1_TX"));
}

void TestMainWindow::badProjectFilesAreRefusedAndTheProjectKept()
{
    QTemporaryDir dir;
    MainWindow w;
    w.SlotNewProject("STM32F103RE", false);
    CPinScene *scene = w.scene();
    QVERIFY(!w.OpenConfigureEngineeringFile(dir.filePath("missing.cpro")));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.last().contains("missing.cpro"));
    QVERIFY(!w.OpenConfigureEngineeringFile(dir.path()));
    QFile f(dir.filePath("alien.cpro"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[CHIP]\nType=Z80\n");
    f.close();
    QVERIFY(!w.OpenConfigureEngineeringFile(f.fileName()));
    QVERIFY(messages.last().contains("Z80"));
    QCOMPARE(w.scene(), scene);
    QCOMPARE(w.projectData().currentChip, QStringLiteral("STM32F103RE"));
    QCOMPARE(w.windowTitle(), QStringLiteral("Mirel[*]"));

    // A save that cannot be written is reported.
    FileDialogs::setSaveHandler([&](const QString &, const QString &, const QString &) {
        return dir.path(); // a directory, not a file
    });
    w.on_actionSave_triggered();
    QVERIFY(messages.size() == 4);
    QCOMPARE(w.windowTitle(), QStringLiteral("Mirel[*]"));
}

void TestMainWindow::startupReopensTheLastProjectOrReportsItMissing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("last.cpro");
    {
        std::unique_ptr<QSettings> s(openSettings(settingsPath()));
        writeValue(s.get(), "EngineeringFilePath", "filePath", path);
    }
    {
        MainWindow w; // the file does not exist yet
        QVERIFY(!w.scene());
        QVERIFY(w.statusBar()->currentMessage().contains(path));
        QVERIFY(messages.isEmpty());
    }
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[CHIP]\nType=STM32F407ZG\n[FSMC]\niSSelectRAM=1\n[DESC]\nPA0=Normal_DI\n");
    f.close();
    MainWindow w;
    QVERIFY(w.scene());
    QCOMPARE(w.scene()->pinItems().size(), 144);
    QCOMPARE(w.projectData().currentChip, QStringLiteral("STM32F407ZG"));
    QVERIFY(w.projectData().useExternalRam());
    QCOMPARE(w.currentLanguage(), 0);
}

void TestMainWindow::languageSwitchPersistsAndKeepsTheTitle()
{
    {
        MainWindow w;
        w.switchLanguage(1033);
        QCOMPARE(w.windowTitle(), QStringLiteral("Mirel"));
        auto *tabs = w.findChild<QTabWidget *>("tabWidget");
        QVERIFY(tabs->tabText(0) != QStringLiteral("引脚配置"));
        QVERIFY(w.menuBar()->actions().at(0)->text() != QStringLiteral("文件"));
        // The firmware tab has a form of its own: it follows the language too.
        auto *openPort = w.findChild<QPushButton *>("pushButtonOpenCom");
        QTRY_COMPARE(openPort->text(), QStringLiteral("Open port"));
        QCOMPARE(w.findChild<QPushButton *>("pushButtonCancel")->text(), QStringLiteral("Cancel"));
        std::unique_ptr<QSettings> s(openSettings(settingsPath()));
        QCOMPARE(readValue(s.get(), "LanguageID", "LanguageID"), QStringLiteral("1033"));
        // Back to Chinese and again to English: one translator at a time.
        w.switchLanguage(2052);
        QCOMPARE(tabs->tabText(0), QStringLiteral("引脚配置"));
        QTRY_COMPARE(openPort->text(), QStringLiteral("打开串口"));
        QPointer<QTranslator> previous = w.activeTranslator();
        w.switchLanguage(1033);
        QVERIFY(previous.isNull()); // replaced, not added
        previous = w.activeTranslator();
        w.switchLanguage(1033);
        QVERIFY(previous.isNull());
        QVERIFY(w.activeTranslator());
        QVERIFY(tabs->tabText(0) != QStringLiteral("引脚配置"));
    }
    MainWindow next; // comes up in English
    QVERIFY(next.findChild<QTabWidget *>("tabWidget")->tabText(0) != QStringLiteral("引脚配置"));
    // The drawing's fit button too, at start and after a switch.
    auto *fit = next.findChild<QToolButton *>("toolButtonFit");
    const QRegularExpression han(QStringLiteral("\\p{Han}"));
    QVERIFY2(!fit->text().contains(han) && !fit->toolTip().contains(han), qPrintable(fit->text()));
    next.switchLanguage(2052);
    next.switchLanguage(1033);
    QVERIFY2(!fit->text().contains(han) && !fit->toolTip().contains(han), qPrintable(fit->text()));
    QCOMPARE(next.findChild<QPushButton *>("pushButtonOpenCom")->text(),
             QStringLiteral("Open port"));
    next.switchLanguage(2052);
    QCOMPARE(next.findChild<QTabWidget *>("tabWidget")->tabText(0), QStringLiteral("引脚配置"));
}

static QString functionOf(const MainWindow &w, const QString &pin)
{
    return w.projectData().pinFunctions.value(w.projectData().pinNames.indexOf(pin));
}

void TestMainWindow::workIsSavedWhereChosenAndUndone()
{
    QTemporaryDir dir;
    QStringList startFolders;
    FileDialogs::setSaveHandler([&](const QString &, const QString &start, const QString &) {
        startFolders << start;
        return dir.filePath("board"); // typed without a suffix
    });
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.SlotNewProject("STM32F103RE", false);
    QVERIFY(!w.isWindowModified());

    // A serial pin fills its partner; Ctrl+Z takes both back, and the project
    // is unmodified again; Ctrl+Shift+Z redoes it.
    choose(w, "PA9", "USART1_TX");
    QCOMPARE(functionOf(w, "PA10"), QStringLiteral("USART1_RX"));
    QVERIFY(w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(functionOf(w, "PA9"), QStringLiteral(" "));
    QCOMPARE(functionOf(w, "PA10"), QStringLiteral(" "));
    QCOMPARE(w.scene()->pinItems().at(w.projectData().pinNames.indexOf("PA10"))->functionText(),
             QStringLiteral(" "));
    QVERIFY(!w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(functionOf(w, "PA10"), QStringLiteral("USART1_RX"));

    // The first save asks, in a folder that exists, and adds the suffix.
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    const QString path = dir.filePath("board.cpro");
    QCOMPARE(startFolders.size(), 1);
    QVERIFY(QFileInfo(startFolders.at(0)).absoluteDir().exists());
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(w.windowTitle(), "Mirel ( " + path + " ) [*]");
    QVERIFY(!w.isWindowModified());

    // Later saves write that file without a dialog.
    choose(w, "PA0", "Normal_DI");
    QVERIFY(w.isWindowModified());
    QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(startFolders.size(), 1);
    ProjectData onDisk;
    QVERIFY(ProjectFile::read(path, &onDisk));
    QCOMPARE(onDisk.pinFunctions, w.projectData().pinFunctions);
    QVERIFY(!w.isWindowModified());
    // Undoing past the save is a change; redoing returns to the saved state.
    w.history()->undo();
    QVERIFY(w.isWindowModified());
    QCOMPARE(functionOf(w, "PA0"), QStringLiteral(" "));
    w.history()->redo();
    QVERIFY(!w.isWindowModified());

    // A folder, or the upload folder that the program removes, is refused.
    FileDialogs::setSaveHandler(
        [&](const QString &, const QString &, const QString &) { return dir.path(); });
    messages.clear();
    w.findChild<QMenuBar *>()->actions().at(0)->menu()->actions().at(3)->trigger(); // 另存为
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.last().contains(dir.path()));
    QCOMPARE(w.projectPath(), path);
}

void TestMainWindow::unsavedChangesAreAskedAbout()
{
    QTemporaryDir dir;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    Messages::setHandler([&](const Messages::Request &r) {
        messages << r.text;
        return answer;
    });
    QStringList openFilters;
    QString openReply; // the file chosen in the open dialog
    FileDialogs::setOpenHandler([&](const QString &, const QString &start, const QString &filter) {
        openFilters << filter;
        return QFileInfo(start).isDir() ? openReply : QStringLiteral("no start folder");
    });
    FileDialogs::setSaveHandler([&](const QString &, const QString &, const QString &) {
        return dir.filePath("kept.cpro");
    });
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");

    // Cancel: the window stays, nothing is opened or started.
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(messages.size(), 1);
    // Open asks once a file is chosen: cancelled in its dialog, nothing is asked.
    w.on_actionOpen_triggered();
    QCOMPARE(openFilters.size(), 1);
    QCOMPARE(messages.size(), 1);
    w.on_actionNew_triggered();
    QVERIFY(!qApp->findChild<QWidget *>("DialogNewPro") ||
            !qApp->findChild<QWidget *>("DialogNewPro")->isVisible());
    QCOMPARE(messages.size(), 2);
    QCOMPARE(functionOf(w, "PA0"), QStringLiteral("Normal_DI"));

    // A project read from the controller, not opened: the status bar says so
    // until the project changes.
    w.openUploadedProject(dir.filePath("read.cpro"));
    QVERIFY(w.statusBar()->currentMessage().contains("没有打开"));
    choose(w, "PA2", "Normal_DI");
    QVERIFY(w.statusBar()->currentMessage().isEmpty());

    // The open dialog lists project files; with one chosen, Save writes the
    // project first, then the file is opened.
    openReply = dir.filePath("other.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::saved("STM32F407ZG"), openReply));
    answer = QMessageBox::Save;
    w.on_actionOpen_triggered();
    QVERIFY(QFileInfo(dir.filePath("kept.cpro")).isFile());
    QCOMPARE(openFilters.last(), QStringLiteral("项目文件(*.cpro)"));
    QCOMPARE(w.projectData().currentChip, QStringLiteral("STM32F407ZG"));

    // Discard: the window closes and takes the table window with it.
    choose(w, "PA1", "Normal_DO");
    w.configure()->launch(CPinDescriptions::DlgDO, w.projectData());
    answer = QMessageBox::Discard;
    QVERIFY(w.configure()->isVisible());
    QVERIFY(w.close());
    QVERIFY(!w.configure()->isVisible());
}

void TestMainWindow::tableEditsAreNeverDroppedUnasked()
{
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    Messages::setHandler([&](const Messages::Request &r) {
        asked << r.text;
        // The question about unsaved changes, after the table's: not saved.
        return r.buttons.testFlag(QMessageBox::Save) ? QMessageBox::Discard : answer;
    });
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    choose(w, "PA1", "Normal_DO");
    auto press = [&w](const char *name) { w.findChild<QPushButton *>(name)->click(); };
    auto cell = [&w] {
        return qobject_cast<QComboBox *>(w.configure()->table()->cellWidget(0, 1));
    };
    press("pushButtonDI");
    const int stored = cell()->currentIndex();
    cell()->setCurrentIndex(stored == 0 ? 1 : 0);
    const int edited = cell()->currentIndex();
    const QStringList before = w.projectData().diInformation;

    // Another table: 取消 keeps the edit on show, 应用 confirms it first.
    press("pushButtonDO");
    QCOMPARE(asked.size(), 1);
    QCOMPARE(w.configure()->dlgType(), CPinDescriptions::DlgDI);
    QCOMPARE(cell()->currentIndex(), edited);
    answer = QMessageBox::Apply;
    press("pushButtonDO");
    QCOMPARE(w.configure()->dlgType(), CPinDescriptions::DlgDO);
    QVERIFY(w.projectData().diInformation != before);
    // The same table's button keeps what was typed.
    cell()->setCurrentIndex(cell()->currentIndex() == 0 ? 1 : 0);
    const int doEdit = cell()->currentIndex();
    press("pushButtonDO");
    QCOMPARE(cell()->currentIndex(), doEdit);
    QCOMPARE(asked.size(), 2);
    // A new project asks about the table before anything else.
    answer = QMessageBox::Cancel;
    w.on_actionNew_triggered();
    QCOMPARE(asked.size(), 3);
    QVERIFY(asked.last().contains("未确定的修改"));
    QVERIFY(w.configure()->isVisible());
    // The new-project dialog blocks the window behind it.
    answer = QMessageBox::Ignore;
    w.on_actionNew_triggered();
    QWidget *newProject = w.findChild<QWidget *>("DialogNewPro");
    QVERIFY(newProject && newProject->isVisible());
    QCOMPARE(newProject->windowModality(), Qt::WindowModal);
    newProject->close();
}

void TestMainWindow::failedUploadKeepsTheOpenProject_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::newRow("refused length") << QStringList{"--upload-length", "0"};
    QTest::newRow("table that does not decode") << QStringList{"--raw-table", "GARBAGE"};
}

void TestMainWindow::failedUploadKeepsTheOpenProject()
{
#ifndef Q_OS_UNIX
    QSKIP("the stand-in controller needs a pseudo-terminal");
#endif
    QFETCH(QStringList, simArguments);
    QTemporaryDir dir;
    const QString garbage = dir.filePath("garbage.bin");
    QFile f(garbage);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(700, '\x5a'));
    f.close();
    simArguments.replaceInStrings("GARBAGE", garbage);
    SimProcess sim(simArguments);
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));

    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F407ZG", false);
    choose(w, "PA0", "Normal_DI");
    const ProjectData before = w.projectData();
    CPinScene *scene = w.scene();
    const QString title = w.windowTitle();

    w.findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
    w.findChild<QPushButton *>("pushButtonOpenCom")->click();
    w.findChild<QPushButton *>("pushButtonUploadBinFile")->click();
    auto *upload = w.findChild<QPushButton *>("pushButtonUploadBinFile");
    QVERIFY(!upload->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(upload->isEnabled(), 20000);

    QCOMPARE(w.scene(), scene);
    QVERIFY(w.projectData() == before);
    QCOMPARE(w.windowTitle(), title);
    QVERIFY(w.isWindowModified());
    QVERIFY(messages.isEmpty()); // nothing to replace, so nothing asked
}

void TestMainWindow::chipSelectsFollowTheTables()
{
    // A file whose drawing and tables disagree: the tables' pins win.
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.cpro");
    {
        std::unique_ptr<QSettings> s(openSettings(path));
        writeValue(s.get(), "CHIP", "Type", "STM32F103RE");
        writeValue(s.get(), "FSMC", "iSSelectRAM", "0");
        const QStringList desc{"PA5=SPI1_SCK", "PA6=SPI1_MISO", "PA7=SPI1_MOSI", "PB0=SPI1_CS1",
                               "PA0=Normal_DI"};
        for (const QString &pin : desc)
            writeValue(s.get(), "DESC", pin.section('=', 0, 0), pin.section('=', 1));
        const QStringList spi1 =
            TableFixtures::spi({"PA5", "PA6", "PA7", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                "1", "PB1", "0", "0", "0", "0"});
        for (int i = 0; i + 1 < spi1.size(); i += 2)
            writeValue(s.get(), "SPI1", spi1.at(i), spi1.at(i + 1));
        const QStringList di{"Count=1",
                             "1Pin=PA0",
                             "1SliceSelectPinIsEnble=1",
                             "1SliceSelectPin_3Bit=0",
                             "1SliceSelectPin_2Bit=PC2",
                             "1SliceSelectPin_1Bit=PC1",
                             "1SliceSelectPin_0Bit=PC0"};
        for (const QString &pair : di)
            writeValue(s.get(), "DI", pair.section('=', 0, 0), pair.section('=', 1));
    }
    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    for (const QString expected :
         {"PB1=SPI1_CS1", "PB0= ", "PC0=DI_CS1", "PC1=DI_CS2", "PC2=DI_CS3", "PC3= "})
        QCOMPARE(expected.section('=', 0, 0) + "=" + functionOf(w, expected.section('=', 0, 0)),
                 expected);
    QVERIFY(w.statusBar()->currentMessage().contains("PB0"));

    // The SPI1 table is open with PB0 chosen when PB0 becomes a digital input
    // on the drawing: the table follows the drawing and keeps the choice,
    // marked with the function that took the pin, until it is free again.
    DialogConfigure *table = w.configure();
    table->launch(CPinDescriptions::DlgSPI1, w.projectData());
    auto *chipSelect = qobject_cast<QComboBox *>(table->table()->cellWidget(13, 1));
    QVERIFY(chipSelect);
    chipSelect->setCurrentText("PB0");
    QCOMPARE(chipSelect->currentText(), QStringLiteral("PB0"));
    messages.clear();
    choose(w, "PB0", "Normal_DI");
    QVERIFY(messages.isEmpty());
    QVERIFY(table->isVisible());
    chipSelect = qobject_cast<QComboBox *>(table->table()->cellWidget(13, 1));
    QCOMPARE(chipSelect->currentText(), QStringLiteral("PB0"));
    QVERIFY(FieldMarks::isMarked(chipSelect));
    QCOMPARE(functionOf(w, "PB0"), QStringLiteral("Normal_DI"));
    // 确定 refuses the taken pin, naming its function.
    table->on_pushButtonOK_clicked();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().contains("PB0") && messages.first().contains("Normal_DI"));
    QVERIFY(table->isVisible());
    // Undone on the drawing, the pin is free and the choice stands.
    w.history()->undo();
    chipSelect = qobject_cast<QComboBox *>(table->table()->cellWidget(13, 1));
    QCOMPARE(chipSelect->currentText(), QStringLiteral("PB0"));
    QVERIFY(!FieldMarks::isMarked(chipSelect));
}

// A file holds a start terminal of 70000 and a pin is drawn: save writes the
// project with the new row, says once which cell the table cannot hold,
// offers that cell, and writes no table; a download refuses in the same words.
void TestMainWindow::aValueTheTableCannotHoldBlocksOnlyTheTable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("refused.cpro");
    ProjectData file =
        TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", " "}});
    file.diInformation = TableFixtures::row(CPinDescriptions::DlgDI, 1,
                                            {"PA0", "0", "70000", "0", "0", "0", "0", "0"});
    QVERIFY(ProjectFile::write(file, path));
    const QString tableFile =
        QCoreApplication::applicationDirPath() + "/bin/STM32F103RE/02Configure_0x8007800.bin";
    QFile::remove(tableFile);

    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    choose(w, "PA1", "Normal_DI");
    QList<Messages::Request> asked;
    Messages::setHandler([&](const Messages::Request &r) {
        asked << r;
        return QMessageBox::Open;
    });
    w.on_actionSave_triggered();

    ProjectData written;
    QVERIFY(ProjectFile::read(path, &written));
    QCOMPARE(chipSelectRows(written, CPinDescriptions::DlgDI).size(), 2);
    QCOMPARE(valueOf(written.diInformation, "1Index"), QStringLiteral("70000"));
    QVERIFY(!w.isWindowModified());
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().buttons & QMessageBox::Open);
    QVERIFY2(asked.first().text.contains("DI 表第1行的X起始端子“70000”"),
             qPrintable(asked.first().text));
    QVERIFY(!QFileInfo::exists(tableFile));
    DialogConfigure *table = w.configure();
    QVERIFY(table->isVisible());
    QCOMPARE(table->dlgType(), CPinDescriptions::DlgDI);
    QCOMPARE(table->table()->currentRow(), 0);
    QCOMPARE(table->table()->currentColumn(), 2);

    QByteArray bytes;
    QString error;
    QVERIFY(!w.controller()->buildTable(&bytes, &error));
    QVERIFY(asked.first().text.contains(error));
}

// A pin moves from the digital inputs to the outputs, in front of a stored
// row whose terminals its default start would share: save asks nothing and
// writes the project, the new row's terminals behind the stored ones.
void TestMainWindow::saveAsksNothingAboutHiddenTables()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("quiet.cpro");
    FileDialogs::setSaveHandler(
        [&](const QString &, const QString &, const QString &) { return path; });
    MainWindow w;
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    choose(w, "PC8", "Normal_DO");
    DialogConfigure *table = w.configure();
    table->launch(CPinDescriptions::DlgDO, w.projectData());
    auto *enable = qobject_cast<QComboBox *>(table->table()->cellWidget(0, 4));
    enable->setCurrentIndex(1);
    auto *bit0 = qobject_cast<QComboBox *>(table->table()->cellWidget(0, 8));
    bit0->setCurrentIndex(bit0->findText("PB0"));
    table->on_pushButtonOK_clicked();
    QCOMPARE(functionOf(w, "PB0"), QStringLiteral("DO_CS1"));
    choose(w, "PA0", "Normal_DO");
    messages.clear();
    w.on_actionSave_triggered();
    QCOMPARE(messages, QStringList());
    QVERIFY(QFileInfo::exists(path));
    QCOMPARE(valueOf(w.projectData().doInformation, "1Pin"), QStringLiteral("PA0"));
    QCOMPARE(valueOf(w.projectData().doInformation, "1Index"), QStringLiteral("3"));
    QVERIFY(!w.statusBar()->currentMessage().contains("重叠"));
}

void TestMainWindow::oneAboutBoxThatGoesWithTheWindow()
{
    MainWindow w;
    QMenu *help = w.menuBar()->actions().last()->menu();
    help->actions().last()->trigger();
    help->actions().last()->trigger();
    const QList<CAboutPindle *> boxes = w.findChildren<CAboutPindle *>();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(boxes.first()->isVisible());
    w.close();
    QVERIFY(!boxes.first()->isVisible());
}

void TestMainWindow::fitsTheScreenAndFindsPins()
{
    MainWindow w;
    w.resize(1366, 768);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // Every peripheral button shows its whole text, however short the window.
    auto *column = w.findChild<QWidget *>("peripheralButtons");
    QVERIFY(column);
    const QList<QPushButton *> buttons = column->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), 15);
    for (QPushButton *button : buttons) {
        QVERIFY2(button->width() > button->fontMetrics().horizontalAdvance(button->text()),
                 qPrintable(button->objectName()));
        QVERIFY2(button->height() >= button->sizeHint().height(), qPrintable(button->objectName()));
    }

    // Each new drawing opens readable, the second as the first: whole, or
    // with its labels 8 px high and its first pin in view.
    auto *view = w.findChild<QGraphicsView *>("PinsView");
    for (const QString chip : {"STM32F103RE", "STM32F407ZG"}) {
        w.SlotNewProject(chip, false);
        QCoreApplication::processEvents();
        const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
        const QRectF drawing = w.scene()->itemsBoundingRect();
        QVERIFY2(shown.contains(drawing) ||
                     (view->transform().m11() >= 8.0 / PackageDrawing::labelPixelSize - 1e-6 &&
                      shown.contains(drawing.topLeft() + QPointF(8, 8))),
                 qPrintable(chip));
    }

    // The search field marks the pins a name or a signal finds.
    auto *search = w.findChild<QLineEdit *>("lineEditPinSearch");
    QVERIFY(search);
    const auto marked = [&](const QString &query) {
        search->setText(query);
        QStringList pins;
        for (CPinItem *item : w.scene()->pinItems())
            if (item->isMarked())
                pins << item->pinName();
        return pins;
    };
    QCOMPARE(marked("USART2_TX"), (QStringList{"PA2", "PD5"}));
    QCOMPARE(marked("pa9"), QStringList{"PA9"});
    QVERIFY(marked("SPI1").contains("PB3"));
    QVERIFY(marked("").isEmpty());
}

void TestMainWindow::turnedDrawingFindsAndFits()
{
    MainWindow w;
    w.resize(1200, 800);
    w.show();
    w.SlotNewProject("STM32F407ZG", false);
    QCoreApplication::processEvents();
    auto *view = w.findChild<QGraphicsView *>("PinsView");
    auto *search = w.findChild<QLineEdit *>("lineEditPinSearch");
    const auto marked = [&](const QString &query) { search->setText(query); };
    // On a turned drawing the pin found is still brought to the middle.
    view->setFocus();
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(view, Qt::Key_Space); // 45 degrees
    for (const QString pin : {"PA9", "PE2", "PG15"}) {
        marked(pin);
        CPinItem *hit = nullptr;
        for (CPinItem *item : w.scene()->pinItems())
            if (item->isMarked())
                hit = item;
        QVERIFY(hit);
        const QPointF middle = view->mapFromScene(hit->sceneBoundingRect().center());
        QVERIFY2(QLineF(middle, QRectF(view->viewport()->rect()).center()).length() < 3,
                 qPrintable(pin));
    }
    // 适合窗口 (Ctrl+0) turns it back and shows it whole.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keySequence(w.windowHandle(), QKeySequence(QStringLiteral("Ctrl+0")));
    QTRY_VERIFY(!view->transform().isRotating()); // a button's shortcut clicks it a moment later
    const QRectF whole = view->mapToScene(view->viewport()->rect()).boundingRect();
    QVERIFY(whole.contains(w.scene()->itemsBoundingRect()));
}

QTEST_MAIN(TestMainWindow)
#include "tst_gui_mainwindow.moc"
