#pragma once

#include "configanalyzer.h"
#include "dialognewpro.h"
#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"
#include "softwareinitialization.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace Ui {
class MainWindow;
}
class QAction;
class QLineEdit;
class QScrollArea;
class QMenu;
class QPushButton;
class QSettings;
class QTranslator;
class QUndoStack;
class CPinScene;
class PinBoard;
class DialogConfigure;
class CAboutPindle;
class CDownloadTab;

// The one window of the program. It holds the open project, owns the pin
// drawing and the parameter dialog, and routes the user's commands.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Read access for tests and the transfer tab.
    const ProjectData &projectData() const { return project; }
    CPinScene *scene() const { return pinScene; }
    DialogConfigure *configure() const { return configureDialog; }
    QString projectPath() const { return projectFilePath; }
    int currentLanguage() const { return languageId; }
    QPushButton *peripheralButton(CPinDescriptions::DlgType type) const;
    // True when the shown project holds work that no file has: changes since
    // the last save or open, or a project read from a controller.
    bool isProjectModified() const;
    QUndoStack *undoStack() const { return history; }

    // Builds the transfer form of the open project's configuration table.
    bool buildTable(QByteArray *table, QString *error) const;
    void switchLanguage(int id);
    // The translator in use (null before the first language load).
    static QTranslator *activeTranslator();
    // The folder of config/ and bin/<chip>/ (see AppFolders).
    static QString applicationDirectory();

public slots:
    void SlotUpdataButtonActive();
    void SlotUpdataPinDesINI(CPinDescriptions::DlgType type, QStringList iniInformation,
                             QStringList networkAttributInformation,
                             QStringList wirelessModubleInformation);
    bool OpenConfigureEngineeringFile(QString filePath);
    void SlotNewProject(QString chipName, bool isSelectRAM);
    void UpdataDISliceSelectPinsSlot();
    void UpdataDOSliceSelectPinsSlot();
    void UpdataAISliceSelectPinsSlot();
    void UpdataAOSliceSelectPinsSlot();
    void UpdataSPI1SliceSelectPinsSlot();
    void UpdataSPI2SliceSelectPinsSlot();
    void UpdataSPI3SliceSelectPinsSlot();
    void UploadConfigureFileFromChipSlot();
    // Shows a project built from a controller's table as a new, unsaved
    // project, after asking what to do with unsaved changes of the open one.
    void openUploadedProject(const QString &filePath);

    void on_pushButtonDI_clicked();
    void on_pushButtonDO_clicked();
    void on_pushButtonADC_clicked();
    void on_pushButtonDAC_clicked();
    void on_pushButtonEXIT_clicked();
    void on_pushButtonUSART1_clicked();
    void on_pushButtonUSART2_clicked();
    void on_pushButtonUSART3_clicked();
    void on_pushButtonUART4_clicked();
    void on_pushButtonUART5_clicked();
    void on_pushButtonUSART6_clicked();
    void on_pushButtonSPI1_clicked();
    void on_pushButtonSPI2_clicked();
    void on_pushButtonSPI3_clicked();
    void on_pushButtonSYS_clicked();
    void on_actionSave_triggered();
    void on_actionNew_triggered();
    void on_actionOpen_triggered();
    void on_actionChangeBin_triggered();
    void on_pushButtonFileComf_clicked();
    void on_pushButtonFileFirmware_clicked();
    void on_pushButtonFileSAlgorithm_clicked();
    void on_pushButtonFileCAlgorithm_clicked();
    void on_pushButtonFileDrive_clicked();
    void on_pushButtonFileProgram_clicked();
    void on_pushButtonConf_clicked();
    void on_pushButtonFirmware_clicked();
    void on_pushButtonSAlgorithm_clicked();
    void on_pushButtonCAlgorithm_clicked();
    void on_pushButtonDrive_clicked();
    void on_pushButtonProgram_clicked();
    void on_pushButtonClearText_clicked();
    void on_pushButtonClearText_2_clicked();
    void on_pushButtonCancel_clicked();
    void on_pushButtonUploadBinFile_clicked();
    void on_pushButtonConfigureMirelHardwareInformation_clicked();
    void on_actionInLineDownLoad_triggered();
    void on_actionInLineUpload_triggered();
    void on_pushButton_clicked();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Asks whether to save unsaved changes; false when the user cancels or the
    // save did not happen, so the action that asked must not go on.
    bool maybeSave();
    // Refreshes every list and writes the project: to its file, or to a file
    // the user chooses (always when chooseFile, or when it has none yet).
    bool saveProject(bool chooseFile);
    QString askSavePath();
    QString savePathProblem(const QString &path) const;
    QString startFolder() const;
    bool isInUploadFolder(const QString &path) const;
    // Undo history: a step is recorded once the event that changed the project
    // is over, so that a pin choice and the tables it refreshes are one step.
    void scheduleCheckpoint();
    void checkpoint();
    void restoreProject(const ProjectData &snapshot);
    void resetHistory(bool unsavedOrigin);
    bool openProjectFile(const QString &filePath, QString *error);
    void arrangePinTab();
    void fitPeripheralColumn();
    void findPins(const QString &query);
    void buildMenus();
    void retranslateMenus();
    void loadLanguage(int id);
    void loadStartupLanguage();
    void reopenLastProject();
    void launch(CPinDescriptions::DlgType type);
    void refreshSilently(CPinDescriptions::DlgType type);
    QStringList applyChipSelectsToScene();
    void updateTitle();
    void rememberProject(const QString &path);
    QString startupSettingsPath() const;
    QSettings *reopenStartupSettings();

    Ui::MainWindow *ui;
    CPinDescriptions pinDescriptions{false};
    std::unique_ptr<PinBoard> pinBoard; // the pins of the open project
    CPinScene *pinScene = nullptr;
    DialogConfigure *configureDialog = nullptr;
    DialogNewPro newProjectDialog;
    ProjectData project; // chip, pin names and functions, information lists
    QStringList pinFunctionsRead;
    QString projectFilePath;
    QSettings *projectSettings = nullptr;
    QPointer<CAboutPindle> aboutBox;
    int languageId = 0;
    CDlgDescription descriptions;
    CSoftwareInitialization softwareInitialization;
    CAnalyzeBinFileToConfigure analyzer;
    CDownloadTab *downloadTab = nullptr;
    QString baseTitle;
    QLineEdit *pinSearch = nullptr;
    QScrollArea *peripheralScroll = nullptr;
    QUndoStack *history = nullptr;
    QTimer checkpointTimer;
    ProjectData lastSnapshot; // the project as the newest undo step left it
    int recordingSuspended = 0;
    bool fromController = false; // shown project was read from a controller
    QString lastFolder;          // folder of the last opened or saved project

    QMenu *fileMenu = nullptr;
    QMenu *editMenu = nullptr;
    QMenu *settingsMenu = nullptr;
    QMenu *languageMenu = nullptr;
    QMenu *projectMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QAction *fileNewAction = nullptr;
    QAction *fileOpenAction = nullptr;
    QAction *fileSaveAction = nullptr;
    QAction *fileSaveAsAction = nullptr;
    QAction *quitAction = nullptr;
    QAction *undoAction = nullptr;
    QAction *redoAction = nullptr;
    QAction *chineseAction = nullptr;
    QAction *englishAction = nullptr;
    QAction *uploadConfigureAction = nullptr;
    QAction *aboutAction = nullptr;
};
