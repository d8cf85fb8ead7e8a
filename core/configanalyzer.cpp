#include "configanalyzer.h"

#include "atomicfile.h"
#include "dlgdescription.h"
#include "projectfile.h"
#include "tabledecoder.h"
#include "tablelayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

CAnalyzeBinFileToConfigure::CAnalyzeBinFileToConfigure(QObject *parent) : QObject(parent) {}

bool CAnalyzeBinFileToConfigure::decode(const QByteArray &table, const QString &chipModel,
                                        ProjectData *project, QString *error)
{
    // The walk over the sections is checked before any decoding starts.
    if (TableLayout::lastPortIndex(chipModel) == 0) {
        if (error)
            *error = QStringLiteral("unknown chip model \"%1\"").arg(chipModel);
        return false;
    }
    QVector<TableLayout::SectionSpan> spans;
    if (!TableLayout::splitSections(table, &spans, error))
        return false;
    ProjectData decoded;
    TableDecoder decoder(table, chipModel);
    if (!decoder.decode(spans, &decoded, error))
        return false;
    if (project)
        *project = decoded;
    return true;
}

bool CAnalyzeBinFileToConfigure::analyze(const QByteArray &table, const QString &chipModel,
                                         const QString &appDir, QString *writtenPath,
                                         QString *error)
{
    if (appDir.isEmpty()) {
        if (error)
            *error = QStringLiteral("no application folder to write the project into");
        return false;
    }
    ProjectData project;
    if (!decode(table, chipModel, &project, error))
        return false;
    const CDlgDescription names;
    const QString path = appDir + names.uploadDirectory + names.uploadProjectFileName;
    if (!writeProject(project, path, error))
        return false;
    if (writtenPath)
        *writtenPath = path;
    emit UploadBinFileToConfigureSignal(path);
    return true;
}

bool CAnalyzeBinFileToConfigure::writeProject(const ProjectData &project, const QString &filePath,
                                              QString *error)
{
    // The project is rendered into a private folder first, then its bytes
    // replace the target in one step.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        if (error)
            *error = QStringLiteral("cannot create a temporary folder: ") + scratch.errorString();
        return false;
    }
    const QString draft = scratch.filePath(QStringLiteral("project.cpro"));
    if (!ProjectFile::write(project, draft, error))
        return false;
    QFile rendered(draft);
    if (!rendered.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read back %1: %2").arg(draft, rendered.errorString());
        return false;
    }
    return AtomicFile::write(filePath, rendered.readAll(), error);
}
