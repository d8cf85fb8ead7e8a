#include "mainwindow.h"

#include "aboutpindle.h"
#include "dialogconfigure.h"
#include "downloadhooks.h"
#include "focuscues.h"
#include "helpwindow.h"
#include "languagesettings.h"
#include "mainmenus.h"
#include "packagedrawing.h"
#include "peripheralpanel.h"
#include "pinitem.h"
#include "pinmenukeys.h"
#include "pinrules.h"
#include "pinscene.h"
#include "problemsdock.h"
#include "projectcommands.h"
#include "projectcontroller.h"
#include "projectdrop.h"
#include "projecthistory.h"
#include "recentfiles.h"
#include "screenplace.h"
#include "ui_mainwindow.h"
#include "wirelessmoduleconfigure.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

namespace {
// Pin labels are at least this many pixels high when a drawing opens.
constexpr qreal kReadableLabelPx = 8;
} // namespace

using D = CPinDescriptions;

MainWindow::MainWindow(QWidget *parent) : MainWindow(QString(), parent) {}

MainWindow::MainWindow(const QString &startFile, QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), projectController(new ProjectController(this)),
      language(new LanguageSettings(this))
{
    ui->setupUi(this);
    FocusCues::install(qApp);
    // Unmaximized on a small screen, the window still fits it.
    ScreenPlace::fit(this, size());
    arrangePinTab();
    ui->tabWidget->setCurrentIndex(0);
    setUpProblems();
    buildMenus();
    connect(language, &LanguageSettings::languageLoaded, this, &MainWindow::retranslate);
    language->loadSaved();
    CDownloadTab::Hooks hooks =
        DownloadHooks::forProject(projectController, &analyzer, [this](const QString &path) {
            openMadeProject(path, ProjectController::Origin::DownloadTable);
        });
    hooks.settleTable = [this](const QString &action) { return tableSettled(action); };
    downloadTab = new CDownloadTab(hooks);
    ui->layoutFirmwareTab->addWidget(downloadTab);
    connect(downloadTab, &CDownloadTab::controllerRead, this,
            &MainWindow::showControllerComparison);

    ProjectController *model = projectController;
    connect(model, &ProjectController::projectReplaced, this, &MainWindow::showNewProject);
    // The firmware tab's default files and upload chip follow the chip of
    // the project shown.
    connect(model, &ProjectController::projectReplaced, this, [this] {
        downloadTab->fillDefaultPaths();
        downloadTab->followProjectChip();
    });
    connect(model, &ProjectController::modifiedChanged, this, &MainWindow::updateTitle);
    connect(model, &ProjectController::projectChanged, this, [this] {
        // Whatever the status bar said was of the project as it was.
        statusBar()->clearMessage();
        SlotUpdataButtonActive();
    });
    // An open table follows the project through its draft.
    connect(model, &ProjectController::projectRestored, this, &MainWindow::SlotUpdataButtonActive);
    ProjectCommands::View view;
    view.window = this;
    view.openTableAt = [this](D::DlgType type, int row, int column) {
        openTableAt(type, row, column);
    };
    view.editedTableTitle = [this] {
        return configureDialog && configureDialog->hasUnconfirmedEdits()
                   ? configureDialog->windowTitle()
                   : QString();
    };
    view.tableFileWritten = [this](const QString &path) { downloadTab->setConfigTablePath(path); };
    view.tableMayLeave = [this] {
        const bool may = !configureDialog || configureDialog->mayLeave();
        tableFollowsTab(ui->tabWidget->currentIndex()); // asked about over another tab
        return may;
    };
    view.tableSettled = [this](const QString &action) { return tableSettled(action); };
    view.projectFileUsed = [this](const QString &path) {
        QString error;
        if (!recentFiles->add(path, &error))
            statusBar()->showMessage(tr("最近打开的列表没有保存：%1").arg(error));
    };
    commands = std::make_unique<ProjectCommands>(projectController, language, view);
    // A file named on the command line is opened once the window is up, so
    // that a message about it shows over the window.
    if (startFile.isEmpty())
        commands->reopenLast();
    else
        QTimer::singleShot(0, this, [this, startFile] { commands->openAtStart(startFile); });
    // Dropped on the window, a project opens; the drawing takes no drops of
    // its own.
    ui->PinsView->setAcceptDrops(false);
    new ProjectDrop(this, [this](const QString &path) { commands->openAsking(path); });
    // Nothing can change behind the new-project dialog.
    newProjectDialog.setParent(this, newProjectDialog.windowFlags());
    newProjectDialog.setWindowModality(Qt::WindowModal);
    connect(&newProjectDialog, &DialogNewPro::NewProject, this, &MainWindow::SlotNewProject);
    // A table read back from the controller (or the download's own data)
    // becomes the shown project once it is decoded and the user agrees.
    connect(&analyzer, &CAnalyzeBinFileToConfigure::UploadBinFileToConfigureSignal, this,
            &MainWindow::openUploadedProject);
    downloadTab->fillDefaultPaths();
    downloadTab->followProjectChip();
    updateTitle();
}

MainWindow::~MainWindow()
{
    // The drawing goes before the board it shows, the table window before
    // the draft it edits.
    projectController->disconnect(this);
    ui->PinsView->setScene(nullptr);
    delete pinScene;
    delete configureDialog;
    delete projectController;
    delete ui;
}

const ProjectData &MainWindow::projectData() const
{
    return projectController->project();
}

QString MainWindow::projectPath() const
{
    return projectController->filePath();
}

int MainWindow::currentLanguage() const
{
    return int(language->language());
}

QTranslator *MainWindow::activeTranslator() const
{
    return language->translator();
}

ProjectHistory *MainWindow::history() const
{
    return projectController->history();
}

bool MainWindow::isProjectModified() const
{
    return projectController->isModified();
}

QPushButton *MainWindow::peripheralButton(D::DlgType type) const
{
    return panel ? panel->button(type) : nullptr;
}

void MainWindow::SlotUpdataButtonActive()
{
    if (panel)
        panel->showFunctions(projectController->isOpen()
                                 ? projectController->pinBoard()->functions()
                                 : QStringList());
}

// ---------------------------------------------------------------- tables

void MainWindow::launch(D::DlgType type)
{
    if (!configureDialog || !projectController->isOpen())
        return;
    if (configureDialog->isVisible() && configureDialog->dlgType() == type) {
        configureDialog->raise(); // the same table: what was typed stays
        configureDialog->activateWindow();
        return;
    }
    if (!configureDialog->mayLeave())
        return;
    const bool wasShown = configureDialog->isVisible();
    configureDialog->launch(type, projectController->project());
    // A table opened afresh leaves the peripheral buttons free to click.
    if (!wasShown)
        ScreenPlace::beside(configureDialog, panel);
}

bool MainWindow::tableSettled(const QString &action)
{
    const bool settled = !configureDialog || configureDialog->settleBeforeUse(action);
    tableFollowsTab(ui->tabWidget->currentIndex()); // asked about over another tab
    return settled;
}

void MainWindow::tableFollowsTab(int index)
{
    if (configureDialog)
        configureDialog->setAside(ui->tabWidget->widget(index) != ui->Pinout);
}

void MainWindow::openTableAt(D::DlgType type, int row, int column)
{
    launch(type);
    if (configureDialog && configureDialog->isVisible())
        configureDialog->showCell(row - 1, column);
}

void MainWindow::SlotUpdataPinDesINI(D::DlgType type, QStringList iniInformation,
                                     QStringList networkAttributInformation,
                                     QStringList wirelessModubleInformation)
{
    // Whatever the status bar said of the table on show is over.
    statusBar()->clearMessage();
    projectController->confirmTable(type, iniInformation, networkAttributInformation,
                                    wirelessModubleInformation);
}

// ---------------------------------------------------------------- project
// lifecycle

// "[*]" shows as "*" while the project has unsaved changes.
void MainWindow::updateTitle()
{
    const ProjectController *model = projectController;
    QString title = QStringLiteral("Mirel");
    if (!model->filePath().isEmpty())
        title += " ( " + model->filePath() + " ) ";
    else if (model->isOpen() && model->origin() == ProjectController::Origin::Controller)
        title += " ( " + tr("从控制器读取，尚未保存") + " ) ";
    else if (model->isOpen() && model->origin() == ProjectController::Origin::DownloadTable)
        title += " ( " + tr("由下载的配置生成，尚未保存") + " ) ";
    setWindowTitle(model->isOpen() ? title + QStringLiteral("[*]") : title);
    setWindowModified(model->isModified());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!commands->maybeSave() || !downloadTab->mayQuit()) {
        event->ignore();
        return;
    }
    // The table windows go with the main window.
    if (configureDialog) {
        configureDialog->networkAttribut()->close();
        configureDialog->wirelessModule()->close();
        configureDialog->hide(); // its edits were asked about
    }
    newProjectDialog.close();
    if (aboutBox)
        aboutBox->close();
    if (helpWindow)
        helpWindow->close();
    event->accept();
}

void MainWindow::on_actionNew_triggered()
{
    if (!commands->maybeSave())
        return;
    newProjectDialog.show();
    newProjectDialog.raise();
}

// A new project has no file yet: the first save asks for one, so the previous
// project's file is never overwritten by it.
void MainWindow::SlotNewProject(QString chipName, bool isSelectRAM)
{
    projectController->newProject(chipName, isSelectRAM);
}

void MainWindow::showNewProject()
{
    // What the status bar said was of the project before.
    statusBar()->clearMessage();
    delete configureDialog;
    if (pinScene) {
        ui->PinsView->translate(QPointF(-500, -150));
        ui->PinsView->setScene(nullptr);
        delete pinScene;
    }
    configureDialog = new DialogConfigure(projectController->draft(), this);
    // The project's commands work while a table has the keyboard.
    configureDialog->addActions(menus->projectActions());
    connect(configureDialog, &DialogConfigure::updataPinDesINI, this,
            &MainWindow::SlotUpdataPinDesINI);
    pinScene = new CPinScene(projectController->pinBoard(), this);
    connect(pinScene, &CPinScene::updataButtonActive, this, &MainWindow::SlotUpdataButtonActive);
    panel->showChip(projectController->pinBoard()->chipModel());
    SlotUpdataButtonActive();
    ui->PinsView->setScene(pinScene);
    ui->PinsView->translate(QPointF(500, 150));
    ui->PinsView->show();
    // Every new drawing is shown whole, once the view has its size.
    QTimer::singleShot(0, this, [this] {
        if (pinScene)
            ui->PinsView->fitReadable(pinScene->itemsBoundingRect(),
                                      kReadableLabelPx / PackageDrawing::labelPixelSize);
    });
    if (pinSearch)
        pinSearch->clear();
    pinKeys->setScene(pinScene);
    updateTitle();
}

void MainWindow::on_actionOpen_triggered()
{
    commands->openAsked();
}

void MainWindow::openUploadedProject(const QString &filePath)
{
    openMadeProject(filePath, ProjectController::Origin::Controller);
}

void MainWindow::openMadeProject(const QString &filePath, ProjectController::Origin madeFrom)
{
    if (commands->openUploaded(filePath, madeFrom))
        ui->tabWidget->setCurrentIndex(0);
}

bool MainWindow::OpenConfigureEngineeringFile(QString filePath)
{
    return commands->open(filePath);
}

void MainWindow::on_actionSave_triggered()
{
    commands->save(false);
}

void MainWindow::on_actionChangeBin_triggered()
{
    commands->writeTableFile();
}

// ---------------------------------------------------------------- menus and
// language

void MainWindow::buildMenus()
{
    MainMenus::Commands menuCommands;
    menuCommands.newProject = ui->actionNew;
    menuCommands.open = ui->actionOpen;
    menuCommands.save = ui->actionSave;
    menuCommands.saveAs = [this] { this->commands->save(true); };
    addFileCommands(&menuCommands);
    menuCommands.quit = [this] { close(); };
    menuCommands.switchLanguage = [this](int id) { switchLanguage(id); };
    menuCommands.currentLanguage = [this] { return currentLanguage(); };
    menuCommands.uploadConfiguration = [this] { UploadConfigureFileFromChipSlot(); };
    menuCommands.compareWithController = [this] { compareWithController(); };
    menuCommands.problems = problemsDock->keyAction();
    menuCommands.about = [this] {
        if (!aboutBox)
            aboutBox = new CAboutPindle(this);
        aboutBox->setWindowFlag(Qt::Window);
        aboutBox->show();
        aboutBox->raise();
    };
    menuCommands.guide = [this] { showGuide(); };
    menus = std::make_unique<MainMenus>(menuBar(), menuCommands, history());
    recentFiles = new RecentFiles(
        menus->recentMenu(), [this](const QString &path) { commands->openAsking(path); }, this);
    recentFiles->setStartProject([this] { return language->rememberedProject(); });
}

void MainWindow::showGuide()
{
    if (!helpWindow)
        helpWindow = new HelpWindow(this);
    helpWindow->showGuide(language->language() == LanguageSettings::English);
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
}

void MainWindow::retranslate()
{
    ui->retranslateUi(this);
    menus->retranslate();
    recentFiles->rebuild();
    if (helpWindow)
        helpWindow->showGuide(language->language() == LanguageSettings::English);
    pinSearch->setPlaceholderText(tr("查找引脚或信号（如 PA9、USART2_TX、SPI1）"));
    fitButton->setText(tr("适合窗口"));
    fitButton->setToolTip(tr("显示整个芯片并转正（Ctrl+0）"));
    // A button's new text takes its mnemonic as the shortcut: Ctrl+0 after it.
    fitButton->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    panel->fitWidth();
    // The panel may have grown under an open table: the table moves aside
    // once the window has taken its new layout.
    QTimer::singleShot(0, this, [this] {
        if (configureDialog && ScreenPlace::covers(configureDialog, panel))
            ScreenPlace::beside(configureDialog, panel);
    });
    updateTitle();
}

void MainWindow::switchLanguage(int id)
{
    QString error;
    if (!language->switchTo(LanguageSettings::fromId(id), &error))
        statusBar()->showMessage(tr("语言设置没有保存：%1").arg(error));
}

void MainWindow::UploadConfigureFileFromChipSlot()
{
    // Reading the controller's table is the upload of the firmware tab.
    ui->tabWidget->setCurrentWidget(ui->DownLoad);
    downloadTab->focusUpload();
}

void MainWindow::on_actionInLineDownLoad_triggered()
{
    ui->tabWidget->setCurrentWidget(ui->DownLoad);
    downloadTab->focusDownload();
}

void MainWindow::on_actionInLineUpload_triggered()
{
    UploadConfigureFileFromChipSlot();
}
