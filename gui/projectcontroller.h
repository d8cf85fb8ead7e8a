#pragma once

#include "pindescriptions.h"
#include "projectcheck.h"
#include "projectdata.h"

#include <QObject>
#include <QTimer>
#include <memory>

class PinBoard;
class ProjectHistory;
class TableDraft;

// The open project: its pins (a PinBoard), the information lists derived
// from them, the file it belongs to and the history of the user's steps.
// Every change comes through here and is announced; the window, the drawing
// and the tables show what it holds. After a pin change the lists follow the
// pins before anybody reads them, and the change becomes one undo step once
// the event that made it is over.
class ProjectController : public QObject
{
    Q_OBJECT
public:
    explicit ProjectController(QObject *parent = nullptr);
    ~ProjectController() override;

    // Where a project without a file of its own came from.
    enum class Origin
    {
        File,         // a project file (or a new project)
        Controller,   // read from a controller
        DownloadTable // made from the table built for the last download
    };

    bool isOpen() const { return board != nullptr; }
    // The project with every list in line with the pins.
    const ProjectData &project() const;
    PinBoard *pinBoard() const { return board.get(); }
    QString filePath() const { return path; }
    // Made from a table (read from a controller, or built for a download)
    // and not saved since: File otherwise.
    Origin origin() const { return made; }
    bool isModified() const;
    ProjectHistory *history() const { return steps; }
    // The table being edited: it follows every change of the project and
    // keeps what the user typed until the table is confirmed or given up.
    TableDraft *draft() const { return tableDraft; }

    // What keeps the project from its configuration table (errors) and what
    // is worth a look (warnings).
    QVector<ProjectProblem> problems() const;
    // The transfer form of the table; false with the first problem's words
    // when a value cannot be encoded.
    bool buildTable(QByteArray *table, QString *error) const;

    void newProject(const QString &chipModel, bool useExternalRam);
    // Shows a project read from a file; returns the chip-select pins the file
    // carried without a list naming them, now free ("PB0 (SPI1_CS1)").
    // A project made from a table has no file: filePath stays empty.
    QStringList openProject(const ProjectData &file, const QString &filePath, Origin origin);
    // A table confirmed in its window: its list and the sub-lists of its port,
    // with the chip selects the table's draft shows placed on the pins; one
    // change, one step.
    void confirmTable(CPinDescriptions::DlgType type, const QStringList &information,
                      const QStringList &networkInformation,
                      const QStringList &wirelessInformation);
    // Writes the project file; on success the project belongs to it.
    // Takes the tables and pins of `changed`, a project of the same chip, as
    // one change and one step (an import of table files).
    void replaceContents(const ProjectData &changed);
    bool save(const QString &filePath, QString *error);
    // Brings the lists in line and records the pending step now.
    void settle();

signals:
    // A new or opened project: a new board, a new drawing.
    void projectReplaced();
    // Lists or pins changed by the user's work.
    void projectChanged();
    // Undo or redo put an earlier state back.
    void projectRestored();
    // The project gained or lost unsaved changes.
    void modifiedChanged();

private:
    void pinsChanged();
    void derive() const;
    void record();
    void restore(const ProjectData &snapshot);
    void resetHistory(Origin origin);

    mutable ProjectData data;
    std::unique_ptr<PinBoard> board;
    QString path;
    Origin made = Origin::File;
    ProjectHistory *steps;
    TableDraft *tableDraft;
    QTimer settleTimer;
    ProjectData lastSnapshot;   // the project as the newest undo step left it
    mutable bool stale = false; // pins changed since the lists were derived
    bool unannounced = false;   // pins changed since the last projectChanged
    mutable bool deriving = false;
    bool restoring = false;
};
