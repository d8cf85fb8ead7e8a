#include "exportactions.h"
#include "mainwindow.h"
#include "tablefiles.h"

void MainWindow::addFileCommands(MainMenus::Commands *menuCommands)
{
    menuCommands->exportPinTable = [this] {
        if (tableSettled(tr("导出")))
            ExportActions::exportPinTable(this, projectData(), projectPath());
    };
    menuCommands->exportPicture = [this] {
        ExportActions::exportPicture(this, pinScene, projectPath());
    };
    menuCommands->exportReport = [this] {
        if (tableSettled(tr("导出")))
            ExportActions::exportReport(this, projectData(), projectPath());
    };
    menuCommands->exportTables = [this] {
        if (tableSettled(tr("导出")))
            TableFiles::exportTables(this, projectData(), projectPath());
    };
    // What a table holds typed is applied or left out before the files are
    // laid over the project.
    menuCommands->importTables = [this] {
        if (tableSettled(tr("导入表格")))
            TableFiles::importTables(this, projectController, projectPath());
    };
}
