#pragma once

#include "projectdata.h"

#include <QObject>

// Turns configuration-table bytes (transfer form) back into a project.
class CAnalyzeBinFileToConfigure : public QObject
{
    Q_OBJECT
public:
    explicit CAnalyzeBinFileToConfigure(QObject *parent = nullptr);

    // Decodes a table for a chip model into project data. Fails with a clear
    // message on truncated, oversized or garbage input; never reads out of bounds.
    // The project holds what the tables store (option indexes, "0" for an
    // unused pin) and the pin functions the drawing shows for them.
    // Reserved bytes that are not 0 are passed over, each network block
    // holding some named in warnings.
    static bool decode(const QByteArray &table, const QString &chipModel, ProjectData *project,
                       QString *error = nullptr, QStringList *warnings = nullptr);

    // Decodes and writes appDir + "/config/uploadConfigureFile/uploadConfigureFile.cpro".
    // On success emits UploadBinFileToConfigureSignal with the written path.
    bool analyze(const QByteArray &table, const QString &chipModel, const QString &appDir,
                 QString *writtenPath = nullptr, QString *error = nullptr,
                 QStringList *warnings = nullptr);

    // Writes a project file whole or not at all, with only the project's own
    // sections (an older file at the path is replaced, not merged).
    static bool writeProject(const ProjectData &project, const QString &filePath,
                             QString *error = nullptr);

signals:
    void UploadBinFileToConfigureSignal(QString filePath);
};
