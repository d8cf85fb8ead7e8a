#pragma once

#include <QCoreApplication>
#include <QString>

class QWidget;

// Where project files go: the folder a file dialog starts in, the file the
// user picks for saving (".cpro" added to a bare name), and the places a
// project may not be saved to.
class ProjectPaths
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)
public:
    // The folder of config/ and bin/<chip>/ (see AppFolders).
    static QString applicationDirectory();

    // The folder last opened from or saved to.
    void remember(const QString &filePath);
    // The open project's folder, the last one, the user's documents: the
    // first that exists, else home.
    QString startFolder(const QString &projectPath) const;
    // Asks for the file to save to, offering the project's file or, for a
    // project without one, suggestedName in the start folder; empty when
    // cancelled or refused (with a message).
    QString askSavePath(QWidget *parent, const QString &projectPath,
                        const QString &suggestedName) const;
    // Why a project cannot be saved there; empty when it can.
    QString savePathProblem(const QString &path) const;
    // Inside the folder where a table read from a controller is unpacked.
    static bool isInUploadFolder(const QString &path);
    static QString uploadFolder();
    // The project named on the command line (arguments without the
    // program): the first that is not an option, or the one after "--"; a
    // file: URL gives its file. Absolute; empty when none is named.
    static QString fromArguments(const QStringList &arguments);

private:
    QString lastFolder;
};
