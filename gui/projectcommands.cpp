#include "projectcommands.h"

#include "chipfacts.h"
#include "configtable.h"
#include "dlgdescription.h"
#include "filecheck.h"
#include "filedialogs.h"
#include "languagesettings.h"
#include "messages.h"
#include "projectcontroller.h"
#include "projectfile.h"
#include "projectfilesystem.h"
#include "projecthistory.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QStatusBar>

ProjectCommands::ProjectCommands(ProjectController *controller, LanguageSettings *startup,
                                 View shown)
    : model(controller), settings(startup), view(std::move(shown))
{
}

void ProjectCommands::showStatus(const QString &message, int timeout)
{
    view.window->statusBar()->showMessage(message, timeout);
}

bool ProjectCommands::maybeSave()
{
    if (view.tableMayLeave && !view.tableMayLeave())
        return false;
    model->settle();
    if (!model->isModified())
        return true;
    const auto answer = Messages::question(
        view.window, tr("提示"), tr("当前工程有未保存的修改，是否保存？"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, {}, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return save(false);
    return answer == QMessageBox::Discard;
}

// The project is the user's work: it is always written. The table file
// follows only when every value fits it.
bool ProjectCommands::save(bool chooseFile)
{
    if (!model->isOpen())
        return false;
    const QString current = model->filePath();
    const QString path =
        chooseFile || current.isEmpty()
            ? paths.askSavePath(view.window, current, model->project().currentChip + ".cpro")
            : current;
    if (path.isEmpty())
        return false;
    // Once the save is sure to happen: what a table holds typed goes in or
    // stays out as the user says.
    if (view.tableSettled && !view.tableSettled(tr("保存")))
        return false;
    QString error;
    if (!model->save(path, &error)) {
        Messages::warning(view.window, tr("保存工程"), tr("工程没有保存：%1").arg(error));
        return false;
    }
    paths.remember(path);
    if (view.projectFileUsed)
        view.projectFileUsed(path);
    if (!settings->rememberProject(path, &error))
        showStatus(tr("下次启动不会打开这个工程：%1").arg(error));
    writeTableFile();
    const QString openTable = view.editedTableTitle ? view.editedTableTitle() : QString();
    if (!openTable.isEmpty())
        showStatus(tr("工程已保存；表格“%1”仍然打开，其中没有确定的修改不在文件中").arg(openTable));
    return true;
}

void ProjectCommands::openAsked()
{
    // The questions come once a file is chosen: a cancelled open changes nothing.
    const QString path = FileDialogs::getOpenFileName(
        view.window, tr("打开"), paths.startFolder(model->filePath()), tr("项目文件(*.cpro)"));
    if (!path.isEmpty() && maybeSave())
        open(path);
}

bool ProjectCommands::open(const QString &filePath, ProjectController::Origin madeFrom)
{
    QString error;
    if (!openFile(filePath, &error, true, madeFrom)) {
        // Empty when the user chose not to open a file cut short.
        if (!error.isEmpty())
            Messages::warning(view.window, tr("打开工程"), tr("无法打开工程文件：%1").arg(error));
        return false;
    }
    return true;
}

bool ProjectCommands::openAsking(const QString &filePath)
{
    return maybeSave() && open(filePath);
}

void ProjectCommands::openAtStart(const QString &filePath)
{
    if (filePath.isEmpty() || !openAsking(filePath))
        reopenLast();
}

bool ProjectCommands::openUploaded(const QString &filePath, ProjectController::Origin madeFrom)
{
    if (!maybeSave()) {
        showStatus(
            madeFrom == ProjectController::Origin::DownloadTable
                ? tr("由下载的配置生成的工程没有打开，当前工程保持不变；它在 %1").arg(filePath)
                : tr("读取的配置没有打开，当前工程保持不变；它在 %1").arg(filePath));
        return false;
    }
    return open(filePath, madeFrom);
}

bool ProjectCommands::openFile(const QString &filePath, QString *error, bool mayAskIfCut,
                               ProjectController::Origin madeFrom)
{
    ProjectData loaded;
    QString cut;
    QStringList notes;
    if (!(mayAskIfCut ? ProjectFile::readEvenIfCut(filePath, &loaded, &cut, error, &notes)
                      : ProjectFile::read(filePath, &loaded, error, &notes)))
        return false;
    // A file this program saved that has lost part of itself opens only when
    // the user says so, and then as changed: saving it writes it whole again.
    if (!cut.isEmpty()) {
        const auto answer = Messages::question(
            view.window, tr("打开工程"),
            tr("%1\n\n这个文件是本程序保存的，但已经缺了一部分（复制或传送可能被中断了）。"
               "打开后，缺少的设置为空或取默认值，工程算作已修改。仍然打开吗？")
                .arg(cut),
            QMessageBox::Open | QMessageBox::Cancel,
            {{QMessageBox::Open, tr("仍然打开")}, {QMessageBox::Cancel, tr("不打开")}},
            QMessageBox::Cancel);
        if (answer != QMessageBox::Open) {
            error->clear();
            showStatus(tr("没有打开 %1").arg(QDir::toNativeSeparators(filePath)));
            return false;
        }
    }
    // A project made from a table lives in the upload folder, which goes now:
    // it is shown as new and unsaved, and its first save asks for a file.
    const bool uploaded = ProjectPaths::isInUploadFolder(filePath);
    const QVector<ProjectProblem> dropped =
        FileCheck::readWarnings(loaded) + FileCheck::asWarnings(notes);
    const QStringList released =
        model->openProject(loaded, filePath, uploaded ? madeFrom : ProjectController::Origin::File);
    // Not what the file held when it was saved: changed until saved again.
    if (!cut.isEmpty())
        model->history()->resetClean();
    if (!uploaded) {
        paths.remember(filePath);
        if (view.projectFileUsed)
            view.projectFileUsed(filePath);
    }
    removeDirectoryTree(ProjectPaths::uploadFolder());
    if (!released.isEmpty())
        showStatus(
            tr("工程文件中这些片选引脚与表格不一致，已按表格释放：%1").arg(released.join(", ")));
    tellDropped(dropped);
    return true;
}

// What the file said and the opened project no longer holds, in the words
// mirel-cli uses for it.
void ProjectCommands::tellDropped(const QVector<ProjectProblem> &dropped)
{
    if (dropped.isEmpty())
        return;
    constexpr int shown = 12;
    QStringList lines;
    for (int i = 0; i < dropped.size() && i < shown; ++i)
        lines << dropped.at(i).message;
    if (dropped.size() > shown)
        lines << tr("……还有 %1 条").arg(dropped.size() - shown);
    Messages::warning(view.window, tr("提示"),
                      tr("工程文件中有 %1 个值不能照原样打开：\n%2")
                          .arg(dropped.size())
                          .arg(lines.join(QLatin1Char('\n'))));
}

void ProjectCommands::reopenLast()
{
    const QString path = settings->rememberedProject();
    if (path.isEmpty())
        return;
    paths.remember(path);
    // Nobody asked for it: a file cut short is said on the status bar only.
    QString error;
    if (!openFile(path, &error, false, ProjectController::Origin::File))
        showStatus(tr("无法重新打开上次的工程：%1").arg(error));
}

void ProjectCommands::writeTableFile()
{
    const QString appDir = ProjectPaths::applicationDirectory();
    if (!model->isOpen() || appDir.isEmpty())
        return;
    const ProjectData &project = model->project();
    const QString dir =
        ChipFacts::isKnown(project.currentChip) ? appDir + "/bin/" + project.currentChip : appDir;
    const QString path = dir + "/" + CDlgDescription().configTableFileName;
    const QVector<ProjectProblem> problems = model->problems();
    const ProjectProblem problem = ProjectCheck::firstError(problems);
    if (problem.severity == ProjectProblem::Error) {
        reportProblem(problem);
        return;
    }
    QString error;
    if (!ConfigTable::writeTableFile(project, path, &error)) {
        Messages::warning(view.window, tr("生成配置表"), tr("配置表的文件没有更新：%1").arg(error));
        return;
    }
    // Say where: an installed program writes it into the user's data folder.
    if (view.tableFileWritten)
        view.tableFileWritten(QFileInfo(path).absoluteFilePath());
    QString done =
        tr("配置表的文件已经重新生成完成！") + QLatin1Char(' ') + QDir::toNativeSeparators(path);
    const QStringList warnings = ProjectCheck::warnings(problems);
    if (!warnings.isEmpty())
        done += QStringLiteral(" | ") + warnings.join(QStringLiteral(" | "));
    showStatus(done, warnings.isEmpty() ? 5000 : 0);
}

void ProjectCommands::reportProblem(const ProjectProblem &problem)
{
    const bool hasCell = problem.table != CPinDescriptions::DlgNone && problem.row > 0;
    const auto answer =
        Messages::show(view.window, QMessageBox::Warning, tr("生成配置表"),
                       tr("配置表的文件没有更新：%1").arg(problem.message),
                       hasCell ? QMessageBox::Open | QMessageBox::Close : QMessageBox::Close);
    if (answer == QMessageBox::Open && view.openTableAt)
        view.openTableAt(problem.table, problem.row, problem.column);
}
