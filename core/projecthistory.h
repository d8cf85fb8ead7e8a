#pragma once

#include "projectdata.h"

#include <QObject>
#include <QString>
#include <QVector>

// The user's steps on the open project (a pin assignment with the partner
// pins and chip selects it changed, a confirmed table), each kept as the
// project before and after it. Undo and redo announce the state to put in
// place; whoever owns the project shows it. The clean point is the state
// last saved.
class ProjectHistory : public QObject
{
    Q_OBJECT
public:
    explicit ProjectHistory(QObject *parent = nullptr);

    // A step already made: it can be undone; the steps that could be redone go.
    void push(const ProjectData &before, const ProjectData &after);
    // Puts the state before the newest step (after the next one) back.
    void undo();
    void redo();
    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < steps.size(); }
    // What the step undone or redone next changes ("引脚 PA0 Normal_DI",
    // "DI 表格"), in the language now active; empty when there is none.
    QString undoText() const;
    QString redoText() const;
    int count() const { return int(steps.size()); }

    // No steps, and the state now is clean.
    void clear();
    bool isClean() const { return done == cleanAt; }
    // The state now is the one saved.
    void setClean();
    // No state is the one saved, not even the first.
    void resetClean();

    // The words for the change from before to after.
    static QString describe(const ProjectData &before, const ProjectData &after);

signals:
    // Undo or redo: the project must become `state`.
    void restore(const ProjectData &state);
    // What can be undone or redone changed.
    void changed();
    void cleanChanged(bool clean);

private:
    struct Step
    {
        ProjectData before;
        ProjectData after;
    };
    // Moves to `at` steps done, announcing what changed.
    void moveTo(int at, const ProjectData &state);
    void announce(bool wasClean);

    QVector<Step> steps;
    int done = 0;    // steps done: the next undo takes steps[done - 1]
    int cleanAt = 0; // -1: no state is clean
};
