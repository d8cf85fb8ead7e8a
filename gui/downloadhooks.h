#pragma once

#include "downloadtab.h"

class CAnalyzeBinFileToConfigure;
class ProjectController;

// What the firmware tab asks of the main window, answered by the open
// project: its chip, its configuration table, and the decoding of a table
// read from the controller or built for a download. Both must outlive the
// hooks. A table read is offered through the analyzer's signal; a project
// made from the download's table goes to openDownloadProject.
namespace DownloadHooks {

CDownloadTab::Hooks forProject(const ProjectController *model, CAnalyzeBinFileToConfigure *analyzer,
                               std::function<void(const QString &path)> openDownloadProject);

} // namespace DownloadHooks
