#pragma once

#include "projectdata.h"

#include <QUndoCommand>
#include <functional>

// One step of the user's work on the open project (a pin assignment with the
// partner pins and chip selects it changed, or a confirmed table), kept as the
// project before and after it. Undo and redo hand one of the two to the
// window, which shows it.
class CProjectStep : public QUndoCommand
{
public:
    using Apply = std::function<void(const ProjectData &)>;

    CProjectStep(const QString &text, ProjectData before, ProjectData after, Apply apply);

    void undo() override;
    void redo() override;

    // The words a menu shows for the change from before to after.
    static QString describe(const ProjectData &before, const ProjectData &after);

private:
    ProjectData m_before;
    ProjectData m_after;
    Apply m_apply;
    bool m_done = true; // pushed after the change was made
};
