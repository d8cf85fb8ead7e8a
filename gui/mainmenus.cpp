#include "mainmenus.h"

#include "projecthistory.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

// A menu entry with an icon (may be null), a shortcut, and what it runs.
QAction *addEntry(QMenu *menu, const QIcon &icon, const QKeySequence &shortcut,
                  const std::function<void()> &run)
{
    QAction *action = menu->addAction(icon, QString());
    action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, menu, [run] { run(); });
    return action;
}

QAction *addEntry(QMenu *menu, const std::function<void()> &run)
{
    return addEntry(menu, QIcon(), QKeySequence(), run);
}

} // namespace

MainMenus::MainMenus(QMenuBar *bar, const Commands &run, ProjectHistory *steps)
    : history(steps), currentLanguage(run.currentLanguage)
{
    fileMenu = bar->addMenu(QString());
    editMenu = bar->addMenu(QString());
    settingsMenu = bar->addMenu(QString());
    projectMenu = bar->addMenu(QString());
    helpMenu = bar->addMenu(QString());

    const auto trigger = [](QAction *action) { return [action] { action->trigger(); }; };
    fileNewAction =
        addEntry(fileMenu, run.newProject->icon(), QKeySequence::New, trigger(run.newProject));
    fileOpenAction = addEntry(fileMenu, run.open->icon(), QKeySequence::Open, trigger(run.open));
    fileSaveAction = addEntry(fileMenu, run.save->icon(), QKeySequence::Save, trigger(run.save));
    fileSaveAsAction =
        addEntry(fileMenu, QIcon(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), run.saveAs);
    fileMenu->addSeparator();
    exportPinTableAction = addEntry(fileMenu, run.exportPinTable);
    exportPictureAction = addEntry(fileMenu, run.exportPicture);
    exportReportAction = addEntry(fileMenu, run.exportReport);
    exportTablesAction = addEntry(fileMenu, run.exportTables);
    importTablesAction = addEntry(fileMenu, run.importTables);
    exportTablesAction->setObjectName(QStringLiteral("actionExportTables"));
    importTablesAction->setObjectName(QStringLiteral("actionImportTables"));
    fileMenu->addSeparator();
    recentProjectsMenu = fileMenu->addMenu(QString());
    fileMenu->addSeparator();
    quitAction = addEntry(fileMenu, QIcon(), QKeySequence(Qt::CTRL | Qt::Key_Q), run.quit);

    undoAction = addEntry(editMenu, QIcon(), QKeySequence::Undo, [this] { history->undo(); });
    redoAction = addEntry(editMenu, [this] { history->redo(); });
    redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    undoAction->setEnabled(history->canUndo());
    redoAction->setEnabled(history->canRedo());
    QObject::connect(history, &ProjectHistory::changed, editMenu, [this] {
        undoAction->setEnabled(history->canUndo());
        redoAction->setEnabled(history->canRedo());
        retranslate();
    });

    languageMenu = settingsMenu->addMenu(QString());
    // A switch that could not be made leaves the language on show checked.
    const auto switchTo = [this, run](int id) {
        return [this, run, id] {
            run.switchLanguage(id);
            checkLanguageOnShow();
        };
    };
    chineseAction = addEntry(languageMenu, switchTo(2052));
    englishAction = addEntry(languageMenu, switchTo(1033));
    // Each language is named in itself, and the one on show is checked.
    auto *languages = new QActionGroup(languageMenu);
    for (QAction *action : {chineseAction, englishAction}) {
        action->setCheckable(true);
        languages->addAction(action);
    }
    chineseAction->setText(QStringLiteral("简体中文"));
    englishAction->setText(QStringLiteral("English"));

    uploadConfigureAction = addEntry(projectMenu, run.uploadConfiguration);
    compareAction = addEntry(projectMenu, QIcon(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
                             run.compareWithController);
    problemsAction = run.problems;
    projectMenu->addAction(problemsAction);
    guideAction = addEntry(helpMenu, QIcon(), QKeySequence::HelpContents, run.guide);
    aboutAction = addEntry(helpMenu, run.about);
    retranslate();
}

void MainMenus::retranslate()
{
    fileMenu->setTitle(tr("文件(&F)"));
    fileNewAction->setText(tr("新建"));
    fileOpenAction->setText(tr("打开"));
    fileSaveAction->setText(tr("保存"));
    fileSaveAsAction->setText(tr("另存为…"));
    exportPinTableAction->setText(tr("导出引脚表…"));
    exportPictureAction->setText(tr("导出图片…"));
    exportReportAction->setText(tr("导出报告…"));
    exportTablesAction->setText(tr("导出表格…"));
    importTablesAction->setText(tr("导入表格…"));
    recentProjectsMenu->setTitle(tr("最近打开"));
    quitAction->setText(tr("退出"));
    editMenu->setTitle(tr("编辑(&E)"));
    const QString undoText = history->undoText();
    const QString redoText = history->redoText();
    undoAction->setText(undoText.isEmpty() ? tr("撤销") : tr("撤销 %1").arg(undoText));
    redoAction->setText(redoText.isEmpty() ? tr("重做") : tr("重做 %1").arg(redoText));
    settingsMenu->setTitle(tr("设置(&S)"));
    languageMenu->setTitle(tr("语言切换"));
    checkLanguageOnShow();
    projectMenu->setTitle(tr("工程(&P)"));
    uploadConfigureAction->setText(tr("上传配置文件"));
    compareAction->setText(tr("与控制器比较"));
    problemsAction->setText(tr("问题列表"));
    helpMenu->setTitle(tr("帮助(&H)"));
    guideAction->setText(tr("使用说明"));
    aboutAction->setText(tr("关于"));
}

void MainMenus::checkLanguageOnShow()
{
    if (currentLanguage)
        languageAction(currentLanguage())->setChecked(true);
}
