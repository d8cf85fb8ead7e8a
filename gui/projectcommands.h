#pragma once

#include "pindescriptions.h"
#include "projectcheck.h"
#include "projectcontroller.h"
#include "projectpaths.h"

#include <QCoreApplication>
#include <functional>

class QMainWindow;
class LanguageSettings;

// The file commands of the window: open, save, save as, the question about
// unsaved changes, the project remembered for the next start and the table
// file written beside the program. Messages go to the window's boxes and its
// status bar.
class ProjectCommands
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    struct View
    {
        QMainWindow *window = nullptr;
        // Opens a table with a cell (row 1-based) chosen.
        std::function<void(CPinDescriptions::DlgType type, int row, int column)> openTableAt;
        // The title of the table window on show while it holds unconfirmed
        // edits; empty otherwise.
        std::function<QString()> editedTableTitle;
        // The table file was written there.
        std::function<void(const QString &path)> tableFileWritten;
        // A project file was opened or saved (for the recent projects).
        std::function<void(const QString &path)> projectFileUsed;
        // The table on show may go: it holds no unconfirmed edits, or the
        // user applied or discarded them.
        std::function<bool()> tableMayLeave;
        // The project may be used as it is stored (action names the use):
        // the table on show holds no unconfirmed edits, or the user applied
        // them or chose to leave them out.
        std::function<bool(const QString &action)> tableSettled;
    };

    ProjectCommands(ProjectController *controller, LanguageSettings *settings, View view);

    // Asks about a table's unconfirmed edits, then whether to save unsaved
    // changes; false when the user cancels or the save did not happen, so the
    // command that asked must not go on.
    bool maybeSave();
    // Writes the project: to its file, or to a file the user chooses (always
    // when chooseFile, or when it has none yet); then the table file.
    bool save(bool chooseFile);
    // Asks for a project file, then about unsaved work, and opens it.
    void openAsked();
    // Opens a project file; says why when it cannot. A file in the upload
    // folder is a project made from a table (madeFrom), shown as new and
    // unsaved.
    bool open(const QString &filePath,
              ProjectController::Origin madeFrom = ProjectController::Origin::Controller);
    // Opens a project file chosen outside the open dialog (a recent project,
    // a dropped file), after asking about unsaved changes.
    bool openAsking(const QString &filePath);
    // At start: the file named on the command line, else (or when it cannot
    // be opened, after saying why) the project remembered from last time.
    void openAtStart(const QString &filePath);
    // A project decoded from a table (read from a controller, or built for
    // the last download), once the user agrees.
    bool openUploaded(const QString &filePath, ProjectController::Origin madeFrom);
    void reopenLast();
    // The configuration table beside the program, when every value fits it.
    void writeTableFile();

    const ProjectPaths &projectPaths() const { return paths; }

private:
    // Reads and shows a project file. A file this program saved that falls
    // short of what it held is refused, or with mayAskIfCut opened once the
    // user agrees, as changed; error is left empty when the user declines.
    bool openFile(const QString &filePath, QString *error, bool mayAskIfCut,
                  ProjectController::Origin madeFrom);
    void showStatus(const QString &message, int timeout = 0);
    void tellDropped(const QVector<ProjectProblem> &dropped);
    // Says once why the table cannot be built, offering to open the cell.
    void reportProblem(const ProjectProblem &problem);

    ProjectController *model;
    LanguageSettings *settings;
    View view;
    ProjectPaths paths;
};
