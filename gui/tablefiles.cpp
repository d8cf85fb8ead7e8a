#include "tablefiles.h"

#include "atomicfile.h"
#include "csvfile.h"
#include "filedialogs.h"
#include "messages.h"
#include "projectcontroller.h"
#include "projectdiff.h"
#include "tablecsv.h"
#include "tableimportpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

namespace {

void showStatus(QWidget *parent, const QString &text)
{
    if (auto *window = qobject_cast<QMainWindow *>(parent ? parent->window() : nullptr))
        window->statusBar()->showMessage(text);
}

} // namespace

QString TableFiles::askFolder(QWidget *parent, const QString &caption, const QString &projectPath)
{
    const QString start =
        projectPath.isEmpty() ? QDir::homePath() : QFileInfo(projectPath).absolutePath();
    return FileDialogs::getExistingDirectory(parent, caption, start);
}

bool TableFiles::exportTables(QWidget *parent, const ProjectData &project,
                              const QString &projectPath)
{
    if (project.pinNames.isEmpty()) {
        Messages::warning(parent, tr("导出"), tr("请先新建或打开一个工程。"));
        return false;
    }
    const QString folder = askFolder(parent, tr("导出表格到文件夹"), projectPath);
    if (folder.isEmpty())
        return false;
    const QVector<TableCsv::File> files = TableCsv::exportTables(project, CDlgDescription());
    const QStringList present = TableCsv::presentIn(files, folder);
    if (!present.isEmpty() &&
        Messages::question(parent, tr("导出表格"),
                           tr("文件夹中已有同名文件：%1\n替换它们吗？").arg(present.join(", ")),
                           QMessageBox::Yes | QMessageBox::Cancel,
                           {{QMessageBox::Yes, tr("替换")}, {QMessageBox::Cancel, tr("取消")}},
                           QMessageBox::Cancel) != QMessageBox::Yes)
        return false;
    for (const TableCsv::File &file : files) {
        QString error;
        if (!AtomicFile::write(QDir(folder).filePath(file.name + ".csv"), CsvFile::write(file.rows),
                               &error)) {
            Messages::warning(parent, tr("导出失败"), error);
            return false;
        }
    }
    showStatus(parent, tr("已导出%n个表格到 %1", nullptr, int(files.size()))
                           .arg(QDir::toNativeSeparators(folder)));
    return true;
}

bool TableFiles::importTables(QWidget *parent, ProjectController *model, const QString &projectPath)
{
    if (!model->isOpen()) {
        Messages::warning(parent, tr("导入表格"), tr("请先新建或打开一个工程。"));
        return false;
    }
    const QString folder = askFolder(parent, tr("从文件夹导入表格"), projectPath);
    if (folder.isEmpty())
        return false;
    const ProjectData project = model->project();
    QMap<QString, QByteArray> files;
    QString error;
    if (!TableCsv::readFolder(project, folder, &files, &error)) {
        Messages::warning(parent, tr("导入表格"), error);
        return false;
    }
    if (files.isEmpty()) {
        Messages::warning(parent, tr("导入表格"),
                          tr("文件夹 %1 中没有表格文件（DI.csv、USART1.csv……）")
                              .arg(QDir::toNativeSeparators(folder)));
        return false;
    }
    const TableCsv::Import read = TableCsv::importTables(project, files, TableCsv::bothLanguages());
    const QVector<ProjectDifference> differences =
        ProjectDiff::compare(project, read.project, CDlgDescription());
    TableImportPreview preview(differences, read.refused, parent);
    if (preview.exec() != QDialog::Accepted || differences.isEmpty())
        return false;
    model->replaceContents(read.project);
    showStatus(parent, tr("已从 %1 导入表格").arg(QDir::toNativeSeparators(folder)));
    return true;
}
