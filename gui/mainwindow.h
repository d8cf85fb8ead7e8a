#pragma once

#include "configanalyzer.h"
#include "dialognewpro.h"
#include "mainmenus.h"
#include "pindescriptions.h"
#include "projectcontroller.h"
#include "projectdata.h"

#include <QMainWindow>
#include <memory>

namespace Ui {
class MainWindow;
}
class QLineEdit;
class QPushButton;
class QToolButton;
class QTranslator;
class ProjectHistory;
class CPinScene;
class DialogConfigure;
class HelpWindow;
class CAboutPindle;
class CDownloadTab;
class LanguageSettings;
class PeripheralPanel;
class ProblemsDock;
struct ProjectProblem;
struct ProjectDifference;
class CompareWindow;
class PinMenuKeys;
class ProjectCommands;
class RecentFiles;

// The one window of the program: the drawing of the open project with its
// peripheral buttons, the firmware tab and the menus. The project itself
// lives in a ProjectController; the window shows it and hands it the user's
// commands.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    // Opens startFile (a project named on the command line) at start instead
    // of the project remembered from last time.
    explicit MainWindow(const QString &startFile, QWidget *parent = nullptr);
    ~MainWindow() override;

    // What the window shows, for the exports and for tests.
    const ProjectData &projectData() const;
    ProjectController *controller() const { return projectController; }
    CPinScene *scene() const { return pinScene; }
    DialogConfigure *configure() const { return configureDialog; }
    QString projectPath() const;
    int currentLanguage() const;
    QPushButton *peripheralButton(CPinDescriptions::DlgType type) const;
    // True when the shown project holds work that no file has: changes since
    // the last save or open, or a project read from a controller.
    bool isProjectModified() const;
    ProjectHistory *history() const;
    // The translator in use (null before the first language load).
    QTranslator *activeTranslator() const;

    void switchLanguage(int id);
    // Opens the table of `type` with the cell of a row (1-based) and column
    // chosen, as a message about that cell offers.
    void openTableAt(CPinDescriptions::DlgType type, int row, int column);

public slots:
    void SlotUpdataButtonActive();
    void SlotUpdataPinDesINI(CPinDescriptions::DlgType type, QStringList iniInformation,
                             QStringList networkAttributInformation,
                             QStringList wirelessModubleInformation);
    bool OpenConfigureEngineeringFile(QString filePath);
    void SlotNewProject(QString chipName, bool isSelectRAM);
    void UploadConfigureFileFromChipSlot();
    // Shows a project built from a controller's table as a new, unsaved
    // project, after asking what to do with unsaved changes of the open one.
    void openUploadedProject(const QString &filePath);
    // A project made from a table (read, or built for a download), once the
    // user agrees; the pin tab shows it.
    void openMadeProject(const QString &filePath, ProjectController::Origin madeFrom);

    void on_actionSave_triggered();
    void on_actionNew_triggered();
    void on_actionOpen_triggered();
    void on_actionChangeBin_triggered();
    void on_actionInLineDownLoad_triggered();
    void on_actionInLineUpload_triggered();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // A new board: a new drawing and a new table window.
    void showNewProject();
    // The problems panel, its counts in the status bar, the marks of the
    // peripheral buttons; a problem activated shows its table cell.
    void setUpProblems();
    void showProblem(const ProjectProblem &problem);
    void compareWithController();
    // The controller's table read for a comparison (see CDownloadTab).
    void showControllerComparison(const QByteArray &table, bool noTable, const QString &failure);
    void showDifference(const ProjectDifference &difference);
    // The project changed: the comparison shown is of the project as it was.
    void forgetComparison();
    void arrangePinTab();
    // An open table and its settings window go down while another tab
    // shows, so that nothing of that tab is hidden, and come back with the
    // pin tab, as they were.
    void tableFollowsTab(int index);
    void findPins(const QString &query);
    void buildMenus();
    // The file menu's exports and imports, each asking about a table's
    // unconfirmed values first.
    void addFileCommands(MainMenus::Commands *menuCommands);
    void retranslate();
    void launch(CPinDescriptions::DlgType type);
    // Before the stored project is used (a download, an export): a table
    // holding unconfirmed values asks whether to apply them first.
    bool tableSettled(const QString &action);
    void updateTitle();
    void showGuide();

    Ui::MainWindow *ui;
    ProjectController *projectController;
    LanguageSettings *language;
    std::unique_ptr<ProjectCommands> commands;
    PeripheralPanel *panel = nullptr;
    ProblemsDock *problemsDock = nullptr;
    CompareWindow *compareWindow = nullptr;
    QStringList comparedPins; // marked on the drawing until the project changes
    CPinScene *pinScene = nullptr;
    DialogConfigure *configureDialog = nullptr;
    DialogNewPro newProjectDialog;
    CAboutPindle *aboutBox = nullptr;
    HelpWindow *helpWindow = nullptr;
    RecentFiles *recentFiles = nullptr;
    PinMenuKeys *pinKeys = nullptr;
    CAnalyzeBinFileToConfigure analyzer;
    CDownloadTab *downloadTab = nullptr;
    QLineEdit *pinSearch = nullptr;
    QToolButton *fitButton = nullptr;

    std::unique_ptr<MainMenus> menus;
};
