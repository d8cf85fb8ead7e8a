#include "downloadhooks.h"

#include "configanalyzer.h"
#include "projectcontroller.h"
#include "projectpaths.h"

#include <QSignalBlocker>

CDownloadTab::Hooks
DownloadHooks::forProject(const ProjectController *model, CAnalyzeBinFileToConfigure *analyzer,
                          std::function<void(const QString &path)> openDownloadProject)
{
    CDownloadTab::Hooks hooks;
    hooks.currentChip = [model] {
        return model->isOpen() ? model->project().currentChip : QString();
    };
    hooks.hasProject = [model] { return model->isOpen(); };
    hooks.buildTable = [model](QByteArray *table, QString *error) {
        return model->buildTable(table, error);
    };
    hooks.analyzeUpload = [analyzer](const QByteArray &table, const QString &chip, QString *error,
                                     QStringList *warnings) {
        return analyzer->analyze(table, chip, ProjectPaths::applicationDirectory(), nullptr, error,
                                 warnings);
    };
    hooks.makeProjectOfDownload =
        [analyzer, openDownloadProject](const QByteArray &table, const QString &chip,
                                        QString *error, QStringList *warnings) {
            QString path;
            {
                // Not a table read from a controller: it is not offered as one.
                const QSignalBlocker quiet(analyzer);
                if (!analyzer->analyze(table, chip, ProjectPaths::applicationDirectory(), &path,
                                       error, warnings))
                    return false;
            }
            if (openDownloadProject)
                openDownloadProject(path);
            return true;
        };
    hooks.appDir = [] { return ProjectPaths::applicationDirectory(); };
    hooks.projectPath = [model] { return model->isOpen() ? model->filePath() : QString(); };
    return hooks;
}
