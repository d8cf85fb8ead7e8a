#pragma once

#include "projectdiff.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// The window "与控制器比较": what the controller holds set against the
// project, a row per difference (table, row, field, the project's value and
// the controller's). A controller without a table, a table of the other
// chip and a failed read are said as such, never as "no differences". From
// here the project can be downloaded, or the controller's configuration
// opened as a new project; activating a row shows its place.
class CompareWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CompareWindow(QWidget *parent = nullptr);

    // Sets the table read from a controller (empty when it holds none)
    // against the project, named projectName, and shows how they differ.
    void compare(const ProjectData &project, const QByteArray &held, const QString &projectName);
    // The read failed before anything could be compared.
    void showFailure(const QString &reason);
    // The table of the last comparison, as the controller holds it.
    QByteArray controllerTable() const { return heldTable; }
    // The project changed since the comparison: its list is of the project
    // as it was then.
    void markOutdated();

    QString verdict() const;
    QTableWidget *list() const { return table; }
    const QVector<ProjectDifference> &differences() const { return shown; }

signals:
    void downloadRequested();
    void openRequested();
    void differenceActivated(const ProjectDifference &difference);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    // The comparison made again, in the language now active.
    void present();
    void fill();

    QLabel *said;
    QTableWidget *table;
    QPushButton *download;
    QPushButton *open;
    QPushButton *close;
    QVector<ProjectDifference> shown;
    ProjectData compared; // the project as it was compared
    QByteArray heldTable;
    QString name;
    QString failure;       // the read failed: why
    bool readable = false; // a table was read and decoded: it can be opened
    bool outdated = false; // the project changed since
};
