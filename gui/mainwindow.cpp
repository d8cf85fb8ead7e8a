#include "mainwindow.h"

#include "aboutpindle.h"
#include "appfolders.h"
#include "chipfacts.h"
#include "configtable.h"
#include "dialogconfigure.h"
#include "downloadtab.h"
#include "filedialogs.h"
#include "inifile.h"
#include "messages.h"
#include "pinitem.h"
#include "pinscene.h"
#include "progressbar.h"
#include "projectfile.h"
#include "projectfilesystem.h"
#include "projectstep.h"
#include "qttranslations.h"
#include "settingshelpers.h"
#include "ui_mainwindow.h"
#include "wirelessmoduleconfigure.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QTranslator>
#include <QUndoStack>

namespace {

using D = CPinDescriptions;

const QColor kActive(85, 169, 255);
const QColor kInactive(225, 225, 225);

// The one translator of the program; replaced on every language load.
QTranslator *g_translator = nullptr;

void paintButton(QPushButton *button, const QColor &colour)
{
    QPalette palette = button->palette();
    palette.setBrush(QPalette::All, QPalette::Button, colour);
    button->setPalette(palette);
    button->setAutoFillBackground(true);
    button->setFlat(true);
}

// A menu entry with an icon (may be null), a shortcut, and what it runs.
template <typename Receiver, typename Slot>
QAction *addEntry(QMenu *menu, const QIcon &icon, const QKeySequence &shortcut, Receiver *receiver,
                  Slot slot)
{
    QAction *action = menu->addAction(icon, QString());
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, receiver, slot);
    return action;
}

// Launch and silent-refresh order of the save command: every list is rebuilt
// from the drawing before the project is written.
const D::DlgType kSaveRefreshOrder[] = {
    D::DlgDI,    D::DlgDO,     D::DlgAI,     D::DlgAO,     D::DlgSPI1,   D::DlgSPI2,
    D::DlgSPI3,  D::DlgEXIT,   D::DlgUSART1, D::DlgUSART2, D::DlgUSART3, D::DlgUART4,
    D::DlgUART5, D::DlgUSART6, D::DlgSPI1,   D::DlgSPI2,   D::DlgSPI3,   D::DlgSYS};

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainWindow)
{
    baseTitle = softwareInitialization.windowTitle;
    history = new QUndoStack(this);
    connect(history, &QUndoStack::cleanChanged, this, &MainWindow::updateTitle);
    checkpointTimer.setSingleShot(true);
    checkpointTimer.setInterval(0);
    connect(&checkpointTimer, &QTimer::timeout, this, &MainWindow::checkpoint);
    ui->setupUi(this);
    arrangePinTab();
    ui->tabWidget->setCurrentIndex(0);
    buildMenus();
    loadStartupLanguage();
    reopenLastProject();
    connect(&newProjectDialog, &DialogNewPro::NewProject, this, &MainWindow::SlotNewProject);
    // A table read back from the controller (or the download's own data)
    // becomes the shown project once it is decoded and the user agrees.
    connect(&analyzer, &CAnalyzeBinFileToConfigure::UploadBinFileToConfigureSignal, this,
            &MainWindow::openUploadedProject);

    CDownloadTab::Hooks hooks;
    hooks.currentChip = [this] { return project.currentChip; };
    hooks.hasProject = [this] { return pinScene != nullptr; };
    hooks.buildTable = [this](QByteArray *table, QString *error) {
        return buildTable(table, error);
    };
    hooks.analyzeUpload = [this](const QByteArray &table, const QString &chip, QString *error) {
        return analyzer.analyze(table, chip, applicationDirectory(), nullptr, error);
    };
    hooks.appDir = [] { return applicationDirectory(); };
    downloadTab = new CDownloadTab(this, hooks, this);
    downloadTab->fillDefaultPaths();
    updateTitle();
}

MainWindow::~MainWindow()
{
    // The history and the drawing go first: neither may call back into a
    // window that is half gone, nor outlive the pin board they show.
    history->disconnect(this);
    delete history;
    ui->PinsView->setScene(nullptr);
    delete pinScene;
    delete configureDialog;
    delete aboutBox;
    delete projectSettings;
    delete ui;
}

QString MainWindow::applicationDirectory()
{
    return AppFolders::dataDirectory();
}

QPushButton *MainWindow::peripheralButton(D::DlgType type) const
{
    switch (type) {
    case D::DlgDI:
        return ui->pushButtonDI;
    case D::DlgDO:
        return ui->pushButtonDO;
    case D::DlgAI:
        return ui->pushButtonADC;
    case D::DlgAO:
        return ui->pushButtonDAC;
    case D::DlgEXIT:
        return ui->pushButtonEXIT;
    case D::DlgUSART1:
        return ui->pushButtonUSART1;
    case D::DlgUSART2:
        return ui->pushButtonUSART2;
    case D::DlgUSART3:
        return ui->pushButtonUSART3;
    case D::DlgUART4:
        return ui->pushButtonUART4;
    case D::DlgUART5:
        return ui->pushButtonUART5;
    case D::DlgUSART6:
        return ui->pushButtonUSART6;
    case D::DlgSPI1:
        return ui->pushButtonSPI1;
    case D::DlgSPI2:
        return ui->pushButtonSPI2;
    case D::DlgSPI3:
        return ui->pushButtonSPI3;
    case D::DlgSYS:
        return ui->pushButtonSYS;
    case D::DlgNone:
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------- pin tab

// The peripheral buttons scroll in their own column, never narrower than
// their texts, so that the drawing takes what is left of any screen; a search
// field above the drawing finds pins by name or signal.
void MainWindow::arrangePinTab()
{
    QGridLayout *grid = ui->gridLayout_3;
    QLayoutItem *firstColumn = grid->itemAtPosition(0, 0);
    QLayoutItem *secondColumn = grid->itemAtPosition(0, 1);
    if (!firstColumn || !secondColumn || !firstColumn->layout() || !secondColumn->layout())
        return;
    grid->removeItem(firstColumn);
    grid->removeItem(secondColumn);
    grid->removeWidget(ui->PinsView);

    auto *buttons = new QWidget;
    buttons->setObjectName(QStringLiteral("peripheralButtons"));
    auto *columns = new QHBoxLayout(buttons);
    columns->setContentsMargins(0, 0, 0, 0);
    // addLayout moves the columns' buttons into the new widget.
    for (QLayout *column : {firstColumn->layout(), secondColumn->layout()}) {
        column->setParent(nullptr);
        columns->addLayout(column);
        columns->setAlignment(column, Qt::AlignTop);
    }
    peripheralScroll = new QScrollArea;
    peripheralScroll->setObjectName(QStringLiteral("peripheralScroll"));
    peripheralScroll->setWidget(buttons);
    peripheralScroll->setWidgetResizable(true);
    peripheralScroll->setFrameShape(QFrame::NoFrame);
    peripheralScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    peripheralScroll->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    fitPeripheralColumn();

    pinSearch = new QLineEdit;
    pinSearch->setObjectName(QStringLiteral("lineEditPinSearch"));
    pinSearch->setClearButtonEnabled(true);
    connect(pinSearch, &QLineEdit::textChanged, this, &MainWindow::findPins);
    auto *findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        pinSearch->setFocus();
        pinSearch->selectAll();
    });

    auto *drawing = new QVBoxLayout;
    drawing->addWidget(pinSearch);
    drawing->addWidget(ui->PinsView);
    grid->addWidget(peripheralScroll, 0, 0);
    grid->addLayout(drawing, 0, 1);
    grid->setColumnStretch(1, 1);
}

// The button column as wide as its widest text in the language on show.
void MainWindow::fitPeripheralColumn()
{
    if (!peripheralScroll)
        return;
    QWidget *buttons = peripheralScroll->widget();
    for (QPushButton *button : buttons->findChildren<QPushButton *>()) {
        button->setMinimumSize(0, 0);
        button->setMinimumSize(button->sizeHint());
    }
    buttons->adjustSize();
    const int scrollBar = peripheralScroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    peripheralScroll->setFixedWidth(buttons->sizeHint().width() + scrollBar + 4);
}

void MainWindow::findPins(const QString &query)
{
    if (!pinScene)
        return;
    const QVector<CPinItem *> found = pinScene->markPins(query);
    if (!found.isEmpty())
        ui->PinsView->centerOn(found.first());
    if (query.trimmed().isEmpty())
        statusBar()->clearMessage();
    else if (found.isEmpty())
        statusBar()->showMessage(tr("没有找到“%1”").arg(query.trimmed()));
    else
        statusBar()->showMessage(tr("找到 %1 个引脚").arg(found.size()));
}

// ---------------------------------------------------------------- menus

void MainWindow::buildMenus()
{
    fileMenu = menuBar()->addMenu(QString());
    editMenu = menuBar()->addMenu(QString());
    settingsMenu = menuBar()->addMenu(QString());
    projectMenu = menuBar()->addMenu(QString());
    helpMenu = menuBar()->addMenu(QString());

    // The file menu runs the same commands as the toolbar.
    fileNewAction = addEntry(fileMenu, ui->actionNew->icon(), QKeySequence::New, ui->actionNew,
                             &QAction::trigger);
    fileOpenAction = addEntry(fileMenu, ui->actionOpen->icon(), QKeySequence::Open, ui->actionOpen,
                              &QAction::trigger);
    fileSaveAction = addEntry(fileMenu, ui->actionSave->icon(), QKeySequence::Save, ui->actionSave,
                              &QAction::trigger);
    fileSaveAsAction = addEntry(fileMenu, QIcon(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
                                this, [this] { saveProject(true); });
    fileMenu->addSeparator();
    quitAction =
        addEntry(fileMenu, QIcon(), QKeySequence(Qt::CTRL | Qt::Key_Q), this, [this] { close(); });

    undoAction = addEntry(editMenu, QIcon(), QKeySequence::Undo, history, &QUndoStack::undo);
    redoAction = editMenu->addAction(QString(), history, &QUndoStack::redo);
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    undoAction->setEnabled(false);
    redoAction->setEnabled(false);
    connect(history, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::undoTextChanged, this, &MainWindow::retranslateMenus);
    connect(history, &QUndoStack::redoTextChanged, this, &MainWindow::retranslateMenus);

    languageMenu = settingsMenu->addMenu(QString());
    chineseAction = languageMenu->addAction(QString(), this, [this] { switchLanguage(2052); });
    englishAction = languageMenu->addAction(QString(), this, [this] { switchLanguage(1033); });

    uploadConfigureAction =
        projectMenu->addAction(QString(), this, &MainWindow::UploadConfigureFileFromChipSlot);
    aboutAction = helpMenu->addAction(QString(), this, [this] {
        aboutBox = new CAboutPindle;
        aboutBox->setAttribute(Qt::WA_DeleteOnClose);
        aboutBox->show();
    });
    retranslateMenus();
}

void MainWindow::retranslateMenus()
{
    fileMenu->setTitle(tr("文件"));
    fileNewAction->setText(tr("新建"));
    fileOpenAction->setText(tr("打开"));
    fileSaveAction->setText(tr("保存"));
    fileSaveAsAction->setText(tr("另存为…"));
    quitAction->setText(tr("退出"));
    editMenu->setTitle(tr("编辑"));
    if (pinSearch)
        pinSearch->setPlaceholderText(tr("查找引脚或信号（如 PA9、USART2_TX、SPI1）"));
    const QString undoText = history->undoText();
    const QString redoText = history->redoText();
    undoAction->setText(undoText.isEmpty() ? tr("撤销") : tr("撤销 %1").arg(undoText));
    redoAction->setText(redoText.isEmpty() ? tr("重做") : tr("重做 %1").arg(redoText));
    settingsMenu->setTitle(tr("设置"));
    languageMenu->setTitle(tr("语言切换"));
    chineseAction->setText(tr("简体中文"));
    englishAction->setText(tr("英文"));
    projectMenu->setTitle(tr("工程"));
    uploadConfigureAction->setText(tr("上传配置文件"));
    helpMenu->setTitle(tr("帮助"));
    aboutAction->setText(tr("关于"));
}

void MainWindow::UploadConfigureFileFromChipSlot()
{
    // Reading the controller's table is the upload of the firmware tab.
    ui->tabWidget->setCurrentWidget(ui->DownLoad);
    ui->pushButtonUploadBinFile->setFocus();
}

void MainWindow::on_actionInLineDownLoad_triggered()
{
    ui->tabWidget->setCurrentWidget(ui->DownLoad);
    ui->pushButtonConfigureMirelHardwareInformation->setFocus();
}

void MainWindow::on_actionInLineUpload_triggered()
{
    UploadConfigureFileFromChipSlot();
}

// ---------------------------------------------------------------- language and
// start-up

QString MainWindow::startupSettingsPath() const
{
    return AppFolders::settingsDirectory() + "/" + softwareInitialization.settingsFileName;
}

QSettings *MainWindow::reopenStartupSettings()
{
    delete projectSettings;
    projectSettings = openSettings(startupSettingsPath());
    return projectSettings;
}

QTranslator *MainWindow::activeTranslator()
{
    return g_translator;
}

void MainWindow::loadLanguage(int id)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator);
        delete g_translator;
    }
    g_translator = new QTranslator;
    QString file;
    if (id == 2052)
        file = AppFolders::translationsDirectory() + "/lang_Chinses.qm";
    else if (id == 1033)
        file = AppFolders::translationsDirectory() + "/lang_English.qm";
    if (!file.isEmpty() && g_translator->load(file))
        QCoreApplication::installTranslator(g_translator);
    installQtTranslations(id);
    ui->retranslateUi(this);
    retranslateMenus();
    fitPeripheralColumn();
    updateTitle();
}

void MainWindow::loadStartupLanguage()
{
    QSettings *settings = reopenStartupSettings();
    const int id = readValue(settings, softwareInitialization.languageSection,
                             softwareInitialization.languageKey)
                       .toInt();
    loadLanguage(id);
}

void MainWindow::switchLanguage(int id)
{
    languageId = id;
    loadLanguage(id);
    const auto &names = softwareInitialization;
    QString error;
    if (!IniFile::update(
            startupSettingsPath(),
            [&](QSettings *settings) {
                clearSection(settings, names.languageSection);
                writeValue(settings, names.languageSection, names.languageKey, QString::number(id));
            },
            &error))
        statusBar()->showMessage(tr("语言设置没有保存：%1").arg(error));
}

void MainWindow::reopenLastProject()
{
    QSettings *settings = reopenStartupSettings();
    const QString path = readValue(settings, softwareInitialization.projectSection,
                                   softwareInitialization.projectKey);
    if (path.isEmpty())
        return;
    lastFolder = QFileInfo(path).absolutePath();
    QString error;
    if (!openProjectFile(path, &error))
        statusBar()->showMessage(tr("无法重新打开上次的工程：%1").arg(error));
}

void MainWindow::rememberProject(const QString &path)
{
    const auto &names = softwareInitialization;
    QString error;
    if (!IniFile::update(
            startupSettingsPath(),
            [&](QSettings *settings) {
                writeValue(settings, names.projectSection, names.projectKey, path);
            },
            &error))
        statusBar()->showMessage(tr("下次启动不会打开这个工程：%1").arg(error));
}

// "[*]" shows as "*" while the project has unsaved changes.
void MainWindow::updateTitle()
{
    QString title = baseTitle;
    if (!projectFilePath.isEmpty())
        title += " ( " + projectFilePath + " ) ";
    else if (pinScene && fromController)
        title += " ( " + tr("从控制器读取，尚未保存") + " ) ";
    setWindowTitle(pinScene ? title + QStringLiteral("[*]") : title);
    setWindowModified(isProjectModified());
}

bool MainWindow::isProjectModified() const
{
    return pinScene && (fromController || !history->isClean());
}

bool MainWindow::maybeSave()
{
    checkpoint();
    if (!isProjectModified())
        return true;
    const auto answer =
        Messages::question(this, tr("提示"), tr("当前工程有未保存的修改，是否保存？"),
                           QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save)
        return saveProject(false);
    return answer == QMessageBox::Discard;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!maybeSave()) {
        event->ignore();
        return;
    }
    // The table windows have no parent: they go with the main window.
    if (configureDialog) {
        configureDialog->networkAttribut()->close();
        configureDialog->wirelessModule()->close();
        configureDialog->close();
    }
    newProjectDialog.close();
    if (aboutBox)
        aboutBox->close();
    event->accept();
}

// ---------------------------------------------------------------- undo

void MainWindow::scheduleCheckpoint()
{
    if (!recordingSuspended)
        checkpointTimer.start();
}

void MainWindow::checkpoint()
{
    checkpointTimer.stop();
    if (!pinScene || recordingSuspended || project == lastSnapshot)
        return;
    const ProjectData before = lastSnapshot;
    lastSnapshot = project;
    history->push(new CProjectStep(CProjectStep::describe(before, project), before, project,
                                   [this](const ProjectData &p) { restoreProject(p); }));
}

void MainWindow::restoreProject(const ProjectData &snapshot)
{
    if (!pinScene)
        return;
    ++recordingSuspended;
    checkpointTimer.stop();
    project = snapshot;
    pinBoard->restoreFunctions(snapshot.pinFunctions);
    lastSnapshot = project;
    // An open table shows the restored values, not the ones undone.
    if (configureDialog && configureDialog->isVisible())
        configureDialog->launch(configureDialog->dlgType(), project);
    --recordingSuspended;
}

void MainWindow::resetHistory(bool unsavedOrigin)
{
    checkpointTimer.stop();
    history->clear();
    lastSnapshot = project;
    fromController = unsavedOrigin;
    updateTitle();
}

// ---------------------------------------------------------------- project
// lifecycle

void MainWindow::on_actionNew_triggered()
{
    if (!maybeSave())
        return;
    newProjectDialog.show();
    newProjectDialog.raise();
}

// A new project has no file yet: the first save asks for one, so the previous
// project's file is never overwritten by it.
void MainWindow::SlotNewProject(QString chipName, bool isSelectRAM)
{
    ++recordingSuspended;
    project = ProjectData::fresh(chipName, isSelectRAM);
    if (configureDialog) {
        delete configureDialog;
        configureDialog = nullptr;
    }
    if (pinScene) {
        ui->PinsView->translate(QPointF(-500, -150));
        ui->PinsView->setScene(nullptr);
        delete pinScene;
        pinScene = nullptr;
    }
    pinBoard = std::make_unique<PinBoard>(chipName, isSelectRAM);
    configureDialog = new DialogConfigure;
    connect(configureDialog, &DialogConfigure::updataPinDesINI, this,
            &MainWindow::SlotUpdataPinDesINI);
    pinScene = new CPinScene(pinBoard.get(), this);
    // Chip-select pins chosen in a table are placed on the drawing.
    connect(configureDialog, &DialogConfigure::UpdataSPISliceSelectPinsOnPushbuttonOKSignal,
            pinScene, &CPinScene::onSpiSliceSelectOk);
    connect(configureDialog, &DialogConfigure::UpdataDISliceSelectPinsOnPushbuttonOKSignal,
            pinScene, &CPinScene::onBoardSliceSelectOk);
    connect(configureDialog, &DialogConfigure::UpdataDOSliceSelectPinsOnPushbuttonOKSignal,
            pinScene, &CPinScene::onBoardSliceSelectOk);
    connect(configureDialog, &DialogConfigure::UpdataAISliceSelectPinsOnPushbuttonOKSignal,
            pinScene, &CPinScene::onBoardSliceSelectOk);
    connect(configureDialog, &DialogConfigure::UpdataAOSliceSelectPinsOnPushbuttonOKSignal,
            pinScene, &CPinScene::onBoardSliceSelectOk);
    connect(pinScene, &CPinScene::updataButtonActive, this, &MainWindow::SlotUpdataButtonActive);
    connect(pinScene, &CPinScene::updataButtonActive, this, &MainWindow::scheduleCheckpoint);
    SlotUpdataButtonActive();
    ui->PinsView->setScene(pinScene);
    ui->PinsView->translate(QPointF(500, 150));
    ui->PinsView->show();
    // Every new drawing is shown whole, once the view has its size.
    QTimer::singleShot(0, this, [this] {
        if (pinScene)
            ui->PinsView->fitToView(pinScene->itemsBoundingRect());
    });
    if (pinSearch)
        pinSearch->clear();
    --recordingSuspended;
    projectFilePath.clear();
    resetHistory(false);
}

void MainWindow::on_actionOpen_triggered()
{
    if (!maybeSave())
        return;
    const QString path =
        FileDialogs::getOpenFileName(this, tr("打开"), startFolder(), tr("项目文件(*.cpro)"));
    if (path.isEmpty())
        return;
    OpenConfigureEngineeringFile(path);
}

void MainWindow::openUploadedProject(const QString &filePath)
{
    if (!maybeSave()) {
        statusBar()->showMessage(tr("读取的配置没有打开，当前工程保持不变；它在 %1").arg(filePath));
        return;
    }
    if (OpenConfigureEngineeringFile(filePath))
        ui->tabWidget->setCurrentIndex(0);
}

bool MainWindow::isInUploadFolder(const QString &path) const
{
    const QString folder =
        QDir::cleanPath(QDir(applicationDirectory() + descriptions.uploadDirectory).absolutePath());
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return target == folder || target.startsWith(folder + QLatin1Char('/'));
}

// The folder a file dialog starts in: the open project's, the last opened or
// saved one's, else the user's documents; always one that exists.
QString MainWindow::startFolder() const
{
    QStringList candidates;
    if (!projectFilePath.isEmpty())
        candidates << QFileInfo(projectFilePath).absolutePath();
    candidates << lastFolder << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    for (const QString &folder : qAsConst(candidates))
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}

bool MainWindow::OpenConfigureEngineeringFile(QString filePath)
{
    QString error;
    if (!openProjectFile(filePath, &error)) {
        Messages::warning(this, tr("打开工程"), tr("无法打开工程文件：%1").arg(error));
        return false;
    }
    return true;
}

bool MainWindow::openProjectFile(const QString &filePath, QString *error)
{
    ProjectData loaded;
    if (!ProjectFile::read(filePath, &loaded, error))
        return false;
    ++recordingSuspended;
    SlotNewProject(loaded.currentChip, loaded.useExternalRam());

    // Pins with a function in the file show it on the drawing; fixed and
    // external-bus pins keep what the drawing gives them.
    pinFunctionsRead = loaded.pinFunctions;
    for (int i = 0; i < pinBoard->pinCount() && i < pinFunctionsRead.size(); ++i) {
        const QString &function = pinFunctionsRead.at(i);
        if (function.trimmed().isEmpty() || !pinBoard->isFree(i))
            continue;
        if (pinDescriptions.functionsOf(project.currentChip, pinBoard->pinName(i)).isEmpty())
            continue;
        pinBoard->setFunction(i, function);
    }
    const QStringList pinNames = project.pinNames;
    const QStringList pinFunctions = project.pinFunctions;
    project = loaded;
    project.pinNames = pinNames;
    project.pinFunctions = pinFunctions;
    SlotUpdataButtonActive();
    const QStringList released = applyChipSelectsToScene();
    --recordingSuspended;

    // A project read from a controller lives in the upload folder, which goes
    // now: it is shown as new and unsaved, and its first save asks for a file.
    const bool uploaded = isInUploadFolder(filePath);
    projectFilePath = uploaded ? QString() : filePath;
    if (!uploaded)
        lastFolder = QFileInfo(filePath).absolutePath();
    resetHistory(uploaded);
    removeDirectoryTree(applicationDirectory() + descriptions.uploadDirectory);
    if (!released.isEmpty())
        statusBar()->showMessage(
            tr("工程文件中这些片选引脚与表格不一致，已按表格释放：%1").arg(released.join(", ")));
    return true;
}

// The chip-select pins the tables' lists name are placed on the drawing. A
// pin that carries a table's chip select the list does not name (a file
// written by hand, or one whose row has gone) is freed first; returns those
// pins as "PB0 (SPI1_CS1)".
QStringList MainWindow::applyChipSelectsToScene()
{
    QStringList released;
    const D::DlgType tables[] = {D::DlgDI,   D::DlgDO,   D::DlgAI,  D::DlgAO,
                                 D::DlgSPI1, D::DlgSPI2, D::DlgSPI3};
    for (D::DlgType type : tables) {
        const QStringList before = pinBoard->functions();
        for (const QString &pin :
             pinBoard->releaseUnusedChipSelects(type, chipSelectPinsInUse(project, type)))
            released << QStringLiteral("%1 (%2)").arg(pin, before.value(pinBoard->indexOfPin(pin)));
    }
    const auto shown = [this](const QString &pin) {
        return pin.isEmpty() ? descriptions.noneText : pin;
    };
    for (D::DlgType type : {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO}) {
        QStringList chipSelects, rowPins;
        for (const ChipSelectRow &row : chipSelectRows(project, type)) {
            rowPins << row.pin;
            for (const QString &pin : row.bitPins)
                chipSelects << shown(pin);
        }
        pinScene->onBoardSliceSelectOk(type, chipSelects, QStringList(), rowPins);
    }
    for (int port = 1; port <= 3; ++port) {
        QStringList chipSelects;
        for (const QString &pin : spiChipSelectPins(project, port))
            chipSelects << shown(pin);
        if (!project.spiInformation[port - 1].isEmpty())
            pinScene->onSpiSliceSelectOk(D::DlgType(D::DlgSPI1 + port - 1), chipSelects,
                                         QStringList());
    }
    return released;
}

void MainWindow::on_actionSave_triggered()
{
    saveProject(false);
}

bool MainWindow::saveProject(bool chooseFile)
{
    if (!configureDialog || !pinScene)
        return false;
    checkpoint();
    // Rebuilding every list from the drawing is not a change of the user's.
    ++recordingSuspended;
    for (D::DlgType type : kSaveRefreshOrder)
        refreshSilently(type);
    // A chip select whose row has gone is no table's any more: free it.
    for (D::DlgType type :
         {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgSPI1, D::DlgSPI2, D::DlgSPI3})
        pinBoard->releaseUnusedChipSelects(type, chipSelectPinsInUse(project, type));
    --recordingSuspended;
    lastSnapshot = project;

    const QString path = chooseFile || projectFilePath.isEmpty() ? askSavePath() : projectFilePath;
    if (path.isEmpty())
        return false;
    QString error;
    if (!ProjectFile::write(project, path, &error)) {
        Messages::warning(this, tr("保存工程"), tr("工程没有保存：%1").arg(error));
        return false;
    }
    projectFilePath = path;
    lastFolder = QFileInfo(path).absolutePath();
    fromController = false;
    rememberProject(path);
    history->setClean();
    updateTitle();
    on_actionChangeBin_triggered();
    return true;
}

// The file the user chooses for the project, with ".cpro" added to a name
// without suffix; empty when cancelled or refused (with a message).
QString MainWindow::askSavePath()
{
    QString path = FileDialogs::getSaveFileName(this, tr("保存为"), startFolder(),
                                                tr("configure(*.cpro)"), QStringLiteral("cpro"));
    if (path.isEmpty())
        return QString();
    QString problem = savePathProblem(path);
    if (problem.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".cpro");
        problem = savePathProblem(path);
    }
    if (!problem.isEmpty()) {
        Messages::warning(this, tr("保存工程"), tr("工程没有保存：%1").arg(problem));
        return QString();
    }
    return path;
}

QString MainWindow::savePathProblem(const QString &path) const
{
    if (QFileInfo(path).isDir())
        return tr("%1 是一个文件夹").arg(path);
    if (isInUploadFolder(path))
        return tr("%1 在读取控制器配置所用的临时文件夹中，该文件夹会被删除").arg(path);
    return QString();
}

void MainWindow::on_actionChangeBin_triggered()
{
    if (!pinScene)
        return;
    const QString appDir = applicationDirectory();
    if (appDir.isEmpty())
        return;
    QString dir = appDir;
    if (pinDescriptions.isKnownChip(project.currentChip))
        dir = appDir + "/bin/" + project.currentChip;
    const QString path = dir + "/" + descriptions.configTableFileName;
    QString error;
    if (!ConfigTable::writeTableFile(project, path, &error)) {
        Messages::warning(this, tr("生成配置表"), tr("配置表的文件没有更新：%1").arg(error));
        return;
    }
    // Say where: an installed program writes it into the user's data folder.
    ui->lineEditPathConf->setText(QFileInfo(path).absoluteFilePath());
    statusBar()->showMessage(tr("配置表的文件已经重新生成完成！") + QLatin1Char(' ') +
                                 QDir::toNativeSeparators(path),
                             5000);
}

bool MainWindow::buildTable(QByteArray *table, QString *error) const
{
    return ConfigTable::buildConfigurationTable(project, table, error);
}

// ---------------------------------------------------------------- tables

void MainWindow::SlotUpdataPinDesINI(D::DlgType type, QStringList iniInformation,
                                     QStringList networkAttributInformation,
                                     QStringList wirelessModubleInformation)
{
    QStringList *list = project.tableList(type);
    if (!list)
        return;
    *list = iniInformation;
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
        project.wirelessInformation[type - D::DlgUSART1] = wirelessModubleInformation;
    else if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
        project.networkInformation[type - D::DlgSPI1] = networkAttributInformation;
    scheduleCheckpoint();
}

void MainWindow::SlotUpdataButtonActive()
{
    for (int t = D::DlgDI; t <= D::DlgSYS; ++t)
        paintButton(peripheralButton(D::DlgType(t)), kInactive);
    if (!pinScene)
        return;
    project.pinNames.clear();
    project.pinFunctions.clear();
    project.pinNames = pinBoard->pinNames();
    for (const QString &function : pinBoard->functions()) {
        project.pinFunctions << function;
        const D::DlgType type = ChipFacts::tableOf(function);
        if (type != D::DlgNone)
            paintButton(peripheralButton(type), kActive);
    }
    if (configureDialog)
        configureDialog->setPinLists(project.pinNames, project.pinFunctions, project.pinCount());
    connect(pinScene, &CPinScene::UpdataDISliceSelectPinsSignal, this,
            &MainWindow::UpdataDISliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataDOSliceSelectPinsSignal, this,
            &MainWindow::UpdataDOSliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataAISliceSelectPinsSignal, this,
            &MainWindow::UpdataAISliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataAOSliceSelectPinsSignal, this,
            &MainWindow::UpdataAOSliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataSPI1SliceSelectPinsSignal, this,
            &MainWindow::UpdataSPI1SliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataSPI2SliceSelectPinsSignal, this,
            &MainWindow::UpdataSPI2SliceSelectPinsSlot, Qt::UniqueConnection);
    connect(pinScene, &CPinScene::UpdataSPI3SliceSelectPinsSignal, this,
            &MainWindow::UpdataSPI3SliceSelectPinsSlot, Qt::UniqueConnection);
}

void MainWindow::launch(D::DlgType type)
{
    if (!configureDialog || !pinScene)
        return;
    configureDialog->launch(type, project);
}

void MainWindow::refreshSilently(D::DlgType type)
{
    if (!configureDialog || !pinScene)
        return;
    configureDialog->refreshSilently(type, project);
}

void MainWindow::on_pushButtonDI_clicked()
{
    launch(D::DlgDI);
}
void MainWindow::on_pushButtonDO_clicked()
{
    launch(D::DlgDO);
}
void MainWindow::on_pushButtonADC_clicked()
{
    launch(D::DlgAI);
}
void MainWindow::on_pushButtonDAC_clicked()
{
    launch(D::DlgAO);
}
void MainWindow::on_pushButtonEXIT_clicked()
{
    launch(D::DlgEXIT);
}
void MainWindow::on_pushButtonUSART1_clicked()
{
    launch(D::DlgUSART1);
}
void MainWindow::on_pushButtonUSART2_clicked()
{
    launch(D::DlgUSART2);
}
void MainWindow::on_pushButtonUSART3_clicked()
{
    launch(D::DlgUSART3);
}
void MainWindow::on_pushButtonUART4_clicked()
{
    launch(D::DlgUART4);
}
void MainWindow::on_pushButtonUART5_clicked()
{
    launch(D::DlgUART5);
}
void MainWindow::on_pushButtonUSART6_clicked()
{
    launch(D::DlgUSART6);
}
void MainWindow::on_pushButtonSPI1_clicked()
{
    launch(D::DlgSPI1);
}
void MainWindow::on_pushButtonSPI2_clicked()
{
    launch(D::DlgSPI2);
}
void MainWindow::on_pushButtonSPI3_clicked()
{
    launch(D::DlgSPI3);
}
void MainWindow::on_pushButtonSYS_clicked()
{
    launch(D::DlgSYS);
}

// The drawing cleared chip-select pins of a table: rebuild its stored list
// without showing the dialog. The next button refresh connects the slot again.
void MainWindow::UpdataDISliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataDISliceSelectPinsSignal, this,
               &MainWindow::UpdataDISliceSelectPinsSlot);
    refreshSilently(D::DlgDI);
}
void MainWindow::UpdataDOSliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataDOSliceSelectPinsSignal, this,
               &MainWindow::UpdataDOSliceSelectPinsSlot);
    refreshSilently(D::DlgDO);
}
void MainWindow::UpdataAISliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataAISliceSelectPinsSignal, this,
               &MainWindow::UpdataAISliceSelectPinsSlot);
    refreshSilently(D::DlgAI);
}
void MainWindow::UpdataAOSliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataAOSliceSelectPinsSignal, this,
               &MainWindow::UpdataAOSliceSelectPinsSlot);
    refreshSilently(D::DlgAO);
}
void MainWindow::UpdataSPI1SliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataSPI1SliceSelectPinsSignal, this,
               &MainWindow::UpdataSPI1SliceSelectPinsSlot);
    refreshSilently(D::DlgSPI1);
}
void MainWindow::UpdataSPI2SliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataSPI2SliceSelectPinsSignal, this,
               &MainWindow::UpdataSPI2SliceSelectPinsSlot);
    refreshSilently(D::DlgSPI2);
}
void MainWindow::UpdataSPI3SliceSelectPinsSlot()
{
    disconnect(pinScene, &CPinScene::UpdataSPI3SliceSelectPinsSignal, this,
               &MainWindow::UpdataSPI3SliceSelectPinsSlot);
    refreshSilently(D::DlgSPI3);
}

// ---------------------------------------------------------------- firmware tab

void MainWindow::on_pushButtonFileComf_clicked()
{
    downloadTab->pickFile(0);
}
void MainWindow::on_pushButtonFileFirmware_clicked()
{
    downloadTab->pickFile(1);
}
void MainWindow::on_pushButtonFileSAlgorithm_clicked()
{
    downloadTab->pickFile(2);
}
void MainWindow::on_pushButtonFileCAlgorithm_clicked()
{
    downloadTab->pickFile(3);
}
void MainWindow::on_pushButtonFileDrive_clicked()
{
    downloadTab->pickFile(4);
}
void MainWindow::on_pushButtonFileProgram_clicked()
{
    downloadTab->pickFile(5);
}
void MainWindow::on_pushButtonConf_clicked()
{
    downloadTab->markKind(0);
}
void MainWindow::on_pushButtonFirmware_clicked()
{
    downloadTab->markKind(1);
}
void MainWindow::on_pushButtonSAlgorithm_clicked()
{
    downloadTab->markKind(2);
}
void MainWindow::on_pushButtonCAlgorithm_clicked()
{
    downloadTab->markKind(3);
}
void MainWindow::on_pushButtonDrive_clicked()
{
    downloadTab->markKind(4);
}
void MainWindow::on_pushButtonProgram_clicked()
{
    downloadTab->markKind(5);
}
void MainWindow::on_pushButtonClearText_clicked()
{
    downloadTab->clearLog();
}
void MainWindow::on_pushButtonClearText_2_clicked()
{
    ui->textEdit->clear();
}
void MainWindow::on_pushButtonCancel_clicked()
{
    downloadTab->clearMarking();
}
void MainWindow::on_pushButtonUploadBinFile_clicked()
{
    downloadTab->startUpload();
}
void MainWindow::on_pushButtonConfigureMirelHardwareInformation_clicked()
{
    downloadTab->startDownload();
}
void MainWindow::on_pushButton_clicked()
{
    downloadTab->analyzeDownloadData();
}
