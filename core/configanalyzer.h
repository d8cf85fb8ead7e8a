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
    static bool decode(const QByteArray &table, const QString &chipModel, ProjectData *project,
                       QString *error = nullptr);

    // Decodes and writes appDir + "/config/uploadConfigureFile/uploadConfigureFile.cpro".
    // On success emits UploadBinFileToConfigureSignal with the written path.
    bool analyze(const QByteArray &table, const QString &chipModel, const QString &appDir,
                 QString *writtenPath = nullptr, QString *error = nullptr);

signals:
    void UploadBinFileToConfigureSignal(QString filePath);
};
