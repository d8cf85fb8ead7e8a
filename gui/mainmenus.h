#pragma once

#include <QCoreApplication>
#include <QList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class ProjectHistory;

// The menus of the main window: 文件, 编辑, 设置, 工程 and 帮助, each with its
// Alt letter. The file menu runs the toolbar's own actions and holds the
// 最近打开 submenu (filled by RecentFiles); undo and redo name the step they
// take back or make again; F1 opens the user guide.
class MainMenus
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    struct Commands
    {
        QAction *newProject;
        QAction *open;
        QAction *save;
        std::function<void()> saveAs;
        std::function<void()> exportPinTable;
        std::function<void()> exportPicture;
        std::function<void()> exportReport;
        std::function<void()> exportTables;
        std::function<void()> importTables;
        std::function<void()> quit;
        std::function<void(int languageId)> switchLanguage;
        // The language on show (2052 Chinese, 1033 English): checked in its menu.
        std::function<int()> currentLanguage;
        std::function<void()> uploadConfiguration;
        // Reads the controller's table and lists how it differs from the project.
        std::function<void()> compareWithController;
        // Shows the problems panel with the keyboard in it, or hides it (checkable).
        QAction *problems;
        std::function<void()> guide;
        std::function<void()> about;
    };

    MainMenus(QMenuBar *bar, const Commands &commands, ProjectHistory *history);
    // Takes the texts again in the language now active.
    void retranslate();
    QMenu *recentMenu() const { return recentProjectsMenu; }
    // The language entries, by their language's id.
    QAction *languageAction(int languageId) const
    {
        return languageId == 1033 ? englishAction : chineseAction;
    }
    // The project's commands with shortcuts (new, open, save, save as, undo,
    // redo) and quit: other windows of the program take them too.
    QList<QAction *> projectActions() const
    {
        return {fileNewAction, fileOpenAction, fileSaveAction, fileSaveAsAction,
                undoAction,    redoAction,     quitAction};
    }

private:
    void checkLanguageOnShow();

    ProjectHistory *history;
    std::function<int()> currentLanguage;
    QMenu *fileMenu;
    QMenu *recentProjectsMenu;
    QMenu *editMenu;
    QMenu *settingsMenu;
    QMenu *languageMenu;
    QMenu *projectMenu;
    QMenu *helpMenu;
    QAction *fileNewAction;
    QAction *fileOpenAction;
    QAction *fileSaveAction;
    QAction *fileSaveAsAction;
    QAction *exportPinTableAction;
    QAction *exportPictureAction;
    QAction *exportReportAction;
    QAction *exportTablesAction;
    QAction *importTablesAction;
    QAction *quitAction;
    QAction *undoAction;
    QAction *redoAction;
    QAction *chineseAction;
    QAction *englishAction;
    QAction *uploadConfigureAction;
    QAction *compareAction;
    QAction *problemsAction;
    QAction *guideAction;
    QAction *aboutAction;
};
