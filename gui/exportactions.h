#pragma once

#include "projectdata.h"

#include <QCoreApplication>
#include <QString>

class CPinScene;
class QWidget;

// The file menu's exports of the open project: the pin table (CSV), the
// drawing (PNG, SVG or PDF by the suffix) and the review report (PDF or
// HTML). Each asks for a file through FileDialogs, starting beside the
// project file, writes it whole, says a failure in a message box and, on the
// status bar of the window it was asked from, where the file was written.
// The texts are in the window's language: the program's translator is in
// force.
// Each returns whether a file was written (false too when the user cancels
// or no project is open).
class ExportActions
{
    Q_DECLARE_TR_FUNCTIONS(ExportActions)
public:
    // Comma-separated, UTF-8 with a byte-order mark so that spreadsheet
    // programs read the Chinese texts: what `mirel-cli pins --csv` prints.
    static bool exportPinTable(QWidget *parent, const ProjectData &project,
                               const QString &projectPath);
    // The drawing as the pin tab shows it.
    static bool exportPicture(QWidget *parent, CPinScene *scene, const QString &projectPath);
    static bool exportReport(QWidget *parent, const ProjectData &project,
                             const QString &projectPath);

private:
    static QString askPath(QWidget *parent, const QString &caption, const QString &projectPath,
                           const QString &suffix, const QString &filter);
    static bool finish(QWidget *parent, const QString &path, bool written, const QString &error);
    // False, after saying so, when no project is open.
    static bool hasProject(QWidget *parent, bool open);
};
