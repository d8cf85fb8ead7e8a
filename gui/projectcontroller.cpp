#include "projectcontroller.h"

#include "pinrules.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "projectsync.h"
#include "tabledraft.h"

#include <QScopedValueRollback>

ProjectController::ProjectController(QObject *parent)
    : QObject(parent), steps(new ProjectHistory(this)), tableDraft(new TableDraft(this))
{
    settleTimer.setSingleShot(true);
    settleTimer.setInterval(0);
    connect(&settleTimer, &QTimer::timeout, this, &ProjectController::settle);
    connect(steps, &ProjectHistory::cleanChanged, this, &ProjectController::modifiedChanged);
    connect(steps, &ProjectHistory::restore, this, &ProjectController::restore);
}

ProjectController::~ProjectController()
{
    // The history's watchers may be gone already: it goes quietly, before
    // this object is half gone.
    steps->blockSignals(true);
}

const ProjectData &ProjectController::project() const
{
    derive();
    return data;
}

bool ProjectController::isModified() const
{
    return isOpen() && (made != Origin::File || !steps->isClean());
}

QVector<ProjectProblem> ProjectController::problems() const
{
    return ProjectCheck::problems(project());
}

bool ProjectController::buildTable(QByteArray *table, QString *error) const
{
    return ProjectCheck::buildTable(project(), table, error);
}

void ProjectController::derive() const
{
    if (!stale || !board || deriving)
        return;
    const QScopedValueRollback<bool> guard(deriving, true);
    stale = false;
    ProjectSync::refresh(data, *board);
}

void ProjectController::pinsChanged()
{
    if (deriving || restoring)
        return;
    stale = true;
    unannounced = true;
    settleTimer.start();
}

void ProjectController::settle()
{
    settleTimer.stop();
    if (!board)
        return;
    // Whoever read the project meanwhile derived it already; the change is
    // announced all the same.
    const bool announce = stale || unannounced;
    unannounced = false;
    derive();
    if (announce) {
        tableDraft->follow(data);
        emit projectChanged();
    }
    record();
}

void ProjectController::record()
{
    if (!board || data == lastSnapshot)
        return;
    const ProjectData before = lastSnapshot;
    lastSnapshot = data;
    steps->push(before, data);
}

void ProjectController::restore(const ProjectData &snapshot)
{
    if (!board)
        return;
    {
        const QScopedValueRollback<bool> guard(restoring, true);
        settleTimer.stop();
        unannounced = false;
        data = snapshot;
        board->restoreFunctions(snapshot.pinFunctions);
        stale = true;
        derive(); // a snapshot is derived already: this changes nothing
        lastSnapshot = data;
    }
    tableDraft->follow(data);
    emit projectRestored();
}

void ProjectController::resetHistory(Origin origin)
{
    settleTimer.stop();
    unannounced = false;
    steps->clear();
    lastSnapshot = data;
    made = origin;
    emit modifiedChanged();
}

void ProjectController::newProject(const QString &chipModel, bool useExternalRam)
{
    settleTimer.stop();
    board = std::make_unique<PinBoard>(chipModel, useExternalRam);
    connect(board.get(), &PinBoard::pinChanged, this, &ProjectController::pinsChanged);
    data = ProjectData::fresh(chipModel, useExternalRam);
    stale = true;
    derive();
    path.clear();
    resetHistory(Origin::File);
    tableDraft->close();
    tableDraft->follow(data);
    emit projectReplaced();
}

QStringList ProjectController::openProject(const ProjectData &file, const QString &filePath,
                                           Origin origin)
{
    settleTimer.stop();
    auto opened = std::make_unique<PinBoard>(file.currentChip, file.useExternalRam());
    ProjectData loaded;
    const QStringList released = ProjectSync::load(file, &loaded, opened.get());
    board = std::move(opened);
    connect(board.get(), &PinBoard::pinChanged, this, &ProjectController::pinsChanged);
    data = loaded;
    stale = false;
    path = origin == Origin::File ? filePath : QString();
    resetHistory(origin);
    tableDraft->close();
    tableDraft->follow(data);
    emit projectReplaced();
    return released;
}

void ProjectController::confirmTable(CPinDescriptions::DlgType type, const QStringList &information,
                                     const QStringList &networkInformation,
                                     const QStringList &wirelessInformation)
{
    if (!board || !data.tableList(type))
        return;
    // The chip selects chosen in the table land on the pins first, and with
    // the lists make one change and one step.
    ProjectSync::confirmTable(data, *board, tableDraft, type, information, networkInformation,
                              wirelessInformation);
    stale = true;
    settle();
}

void ProjectController::replaceContents(const ProjectData &changed)
{
    if (!board || changed.currentChip != data.currentChip)
        return;
    {
        const QScopedValueRollback<bool> guard(restoring, true);
        board->restoreFunctions(changed.pinFunctions);
    }
    data = changed;
    stale = true;
    unannounced = true;
    settle();
}

bool ProjectController::save(const QString &filePath, QString *error)
{
    settle();
    if (!ProjectFile::write(project(), filePath, error))
        return false;
    path = filePath;
    made = Origin::File;
    steps->setClean();
    emit modifiedChanged();
    return true;
}
