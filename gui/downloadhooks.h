#pragma once

#include "downloadtab.h"

class CAnalyzeBinFileToConfigure;
class ProjectController;

// What the firmware tab asks of the main window, answered by the open
// project: its chip, its configuration table, and the decoding of a table
// read from the controller. Both must outlive the hooks.
namespace DownloadHooks {

CDownloadTab::Hooks forProject(const ProjectController *model,
                               CAnalyzeBinFileToConfigure *analyzer);

} // namespace DownloadHooks
