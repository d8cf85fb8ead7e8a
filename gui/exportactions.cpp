#include "exportactions.h"

#include "atomicfile.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "messages.h"
#include "pictureexport.h"
#include "pinlisting.h"
#include "pinscene.h"
#include "projectreport.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QPainter>
#include <QStatusBar>

QString ExportActions::askPath(QWidget *parent, const QString &caption, const QString &projectPath,
                               const QString &suffix, const QString &filter)
{
    // A new project has no file yet: its exports start in the home folder.
    const QFileInfo project(projectPath);
    const QString start = projectPath.isEmpty()
                              ? QDir::home().filePath(QStringLiteral("mirel.") + suffix)
                              : project.absoluteDir().filePath(project.completeBaseName() +
                                                               QLatin1Char('.') + suffix);
    return FileDialogs::getSaveFileName(parent, caption, start, filter, suffix);
}

bool ExportActions::hasProject(QWidget *parent, bool open)
{
    if (open)
        return true;
    Messages::warning(parent, tr("导出"), tr("请先新建或打开一个工程。"));
    return false;
}

bool ExportActions::finish(QWidget *parent, const QString &path, bool written, const QString &error)
{
    if (!written) {
        Messages::warning(parent, tr("导出失败"), error);
        return false;
    }
    auto *window = qobject_cast<QMainWindow *>(parent ? parent->window() : nullptr);
    if (window)
        window->statusBar()->showMessage(
            tr("已导出到 %1").arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return true;
}

bool ExportActions::exportPinTable(QWidget *parent, const ProjectData &project,
                                   const QString &projectPath)
{
    if (!hasProject(parent, !project.pinNames.isEmpty()))
        return false;
    const QString path = askPath(parent, tr("导出引脚表"), projectPath, QStringLiteral("csv"),
                                 tr("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return false;
    const PinListing listing(project, CDlgDescription());
    QString error;
    const bool written =
        AtomicFile::write(path, QByteArray("\xEF\xBB\xBF") + listing.toCsv().toUtf8(), &error);
    return finish(parent, path, written, error);
}

bool ExportActions::exportPicture(QWidget *parent, CPinScene *scene, const QString &projectPath)
{
    if (!hasProject(parent, scene != nullptr))
        return false;
    const QString path = askPath(parent, tr("导出图片"), projectPath, QStringLiteral("png"),
                                 tr("PNG 图片 (*.png);;SVG 矢量图 (*.svg);;PDF 文档 (*.pdf)"));
    if (path.isEmpty())
        return false;
    const QRectF area = scene->itemsBoundingRect();
    QString error;
    const bool written = PictureExport::write(
        path, area, [scene, area](QPainter *painter) { scene->render(painter, area, area); },
        &error);
    return finish(parent, path, written, error);
}

bool ExportActions::exportReport(QWidget *parent, const ProjectData &project,
                                 const QString &projectPath)
{
    if (!hasProject(parent, !project.pinNames.isEmpty()))
        return false;
    const QString path = askPath(parent, tr("导出报告"), projectPath, QStringLiteral("pdf"),
                                 tr("PDF 文档 (*.pdf);;HTML 网页 (*.html)"));
    if (path.isEmpty())
        return false;
    const QString name =
        projectPath.isEmpty() ? project.currentChip : QFileInfo(projectPath).fileName();
    QString error;
    const bool written = ProjectReport(project, name).write(path, &error);
    return finish(parent, path, written, error);
}
