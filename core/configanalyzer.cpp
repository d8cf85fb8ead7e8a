#include "configanalyzer.h"

#include "dlgdescription.h"
#include "inifile.h"
#include "projectfile.h"
#include "tabledecoder.h"
#include "tablelayout.h"

#include <QCoreApplication>

CAnalyzeBinFileToConfigure::CAnalyzeBinFileToConfigure(QObject *parent) : QObject(parent) {}

bool CAnalyzeBinFileToConfigure::decode(const QByteArray &table, const QString &chipModel,
                                        ProjectData *project, QString *error, QStringList *warnings)
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
    if (warnings)
        *warnings = decoder.warnings();
    if (project)
        *project = decoded;
    return true;
}

bool CAnalyzeBinFileToConfigure::analyze(const QByteArray &table, const QString &chipModel,
                                         const QString &appDir, QString *writtenPath,
                                         QString *error, QStringList *warnings)
{
    if (appDir.isEmpty()) {
        if (error)
            *error = QCoreApplication::translate("ConfigAnalyzer", "没有可写入工程的程序文件夹");
        return false;
    }
    ProjectData project;
    if (!decode(table, chipModel, &project, error, warnings))
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
    return IniFile::replace(
        filePath, [&project](QSettings *settings) { ProjectFile::store(project, settings); },
        error);
}
