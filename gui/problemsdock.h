#pragma once

#include "projectcheck.h"

#include <QDockWidget>

class ProjectController;
class QAction;
class QLabel;
class QTableWidget;

// The problems of the open project as it stands, one a row, checked again
// after every change: errors first, where each lies (table, row, column)
// and what it is. Activating a row (double click or Enter) asks the window
// to show its place; the counts go to a label the window puts in its
// status bar.
class ProblemsDock : public QDockWidget
{
    Q_OBJECT
public:
    ProblemsDock(ProjectController *model, QWidget *parent = nullptr);

    const QVector<ProjectProblem> &problems() const { return shown; }
    QTableWidget *list() const { return table; }
    QLabel *countLabel() const { return counts; }
    // Checks the project again (in the language now active).
    void check();
    // The panel's key (F8, checked while it shows): shows the panel with the
    // keyboard in its list; pressed in the list, hides it; pressed elsewhere
    // while it shows, moves the keyboard into the list.
    QAction *keyAction() const { return key; }

signals:
    void problemsChanged(const QVector<ProjectProblem> &problems);
    void problemActivated(const ProjectProblem &problem);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fill();

    ProjectController *model;
    void keyPressed();

    QAction *key;
    QTableWidget *table;
    QLabel *none;
    QLabel *counts;
    QVector<ProjectProblem> shown;
};
