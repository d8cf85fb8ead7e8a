#pragma once

#include "projectdata.h"

#include <QCoreApplication>
#include <QString>

class ProjectController;
class QWidget;

// 导出表格… and 导入表格… of the file menu: the project's tables as CSV files
// in a folder, one per table (see TableCsv), and such files read back. Files
// of the same names are replaced only when the user agrees; an import shows
// what it would change and what it refuses before it changes anything, and
// is then one change and one undo step.
class TableFiles
{
    Q_DECLARE_TR_FUNCTIONS(TableFiles)
public:
    // Whether files were written (false when cancelled or failed, said).
    static bool exportTables(QWidget *parent, const ProjectData &project,
                             const QString &projectPath);
    // Whether the project took an import.
    static bool importTables(QWidget *parent, ProjectController *model, const QString &projectPath);

private:
    static QString askFolder(QWidget *parent, const QString &caption, const QString &projectPath);
};
