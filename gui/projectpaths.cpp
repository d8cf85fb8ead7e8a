#include "projectpaths.h"

#include "appfolders.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "filekind.h"
#include "messages.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

QString ProjectPaths::applicationDirectory()
{
    return AppFolders::dataDirectory();
}

QString ProjectPaths::uploadFolder()
{
    return applicationDirectory() + CDlgDescription().uploadDirectory;
}

void ProjectPaths::remember(const QString &filePath)
{
    lastFolder = QFileInfo(filePath).absolutePath();
}

bool ProjectPaths::isInUploadFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(uploadFolder()).absolutePath());
    const QString target = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return target == folder || target.startsWith(folder + QLatin1Char('/'));
}

QString ProjectPaths::startFolder(const QString &projectPath) const
{
    QStringList candidates;
    if (!projectPath.isEmpty())
        candidates << QFileInfo(projectPath).absolutePath();
    candidates << lastFolder << QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    for (const QString &folder : qAsConst(candidates))
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    return QDir::homePath();
}

QString ProjectPaths::askSavePath(QWidget *parent, const QString &projectPath,
                                  const QString &suggestedName) const
{
    const QString offered = projectPath.isEmpty()
                                ? QDir(startFolder(projectPath)).filePath(suggestedName)
                                : projectPath;
    QString path = FileDialogs::getSaveFileName(parent, tr("保存为"), offered,
                                                tr("configure(*.cpro)"), QStringLiteral("cpro"));
    if (path.isEmpty())
        return QString();
    QString problem = savePathProblem(path);
    if (problem.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".cpro");
        problem = savePathProblem(path);
    }
    if (!problem.isEmpty()) {
        Messages::warning(parent, tr("保存工程"), tr("工程没有保存：%1").arg(problem));
        return QString();
    }
    return path;
}

QString ProjectPaths::savePathProblem(const QString &path) const
{
    const QString why = FileKind::whyNotWritable(path);
    if (!why.isEmpty())
        return why;
    if (isInUploadFolder(path))
        return tr("%1 在读取控制器配置所用的临时文件夹中，该文件夹会被删除").arg(path);
    return QString();
}

QString ProjectPaths::fromArguments(const QStringList &arguments)
{
    const int end = int(arguments.indexOf(QStringLiteral("--")));
    QString named = end >= 0 ? arguments.value(end + 1) : QString();
    for (int i = 0; named.isEmpty() && i < (end >= 0 ? end : arguments.size()); ++i)
        if (!arguments.at(i).startsWith(QLatin1Char('-')))
            named = arguments.at(i);
    if (named.startsWith(QLatin1String("file:")))
        named = QUrl(named).toLocalFile();
    return named.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(named).absoluteFilePath());
}
