#include "recentfiles.h"

#include "appfolders.h"
#include "recentprojects.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

RecentFiles::RecentFiles(QMenu *recentMenu, std::function<void(const QString &)> openProject,
                         QObject *parent)
    : QObject(parent), menu(recentMenu), open(std::move(openProject))
{
    menu->setToolTipsVisible(true); // a greyed entry says why
    // A file may have gone since the menu was filled.
    connect(menu, &QMenu::aboutToShow, this, &RecentFiles::rebuild);
    rebuild();
}

QStringList RecentFiles::paths() const
{
    return RecentProjects::load(AppFolders::settingsDirectory());
}

bool RecentFiles::add(const QString &path, QString *error)
{
    const bool kept = RecentProjects::save(AppFolders::settingsDirectory(),
                                           RecentProjects::withFront(paths(), path), error);
    rebuild();
    return kept;
}

bool RecentFiles::clear(QString *error)
{
    const bool kept = RecentProjects::save(AppFolders::settingsDirectory(), {}, error);
    rebuild();
    return kept;
}

void RecentFiles::setStartProject(std::function<QString()> project)
{
    startProject = std::move(project);
    rebuild();
}

void RecentFiles::rebuild()
{
    // An entry's command runs once the menu is done with the entry: the
    // entries are made again when the list changes.
    menu->clear();
    const QStringList recent = paths();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *action = menu->addAction(number + QLatin1Char(' ') + shown);
        const bool exists = QFileInfo(path).isFile();
        action->setEnabled(exists);
        action->setToolTip(exists ? QDir::toNativeSeparators(path)
                                  : tr("文件已不存在：%1").arg(QDir::toNativeSeparators(path)));
        connect(action, &QAction::triggered, this,
                [this, path] { QTimer::singleShot(0, this, [this, path] { open(path); }); });
    }
    menu->addSeparator();
    const QString start = startProject ? startProject() : QString();
    if (!start.isEmpty()) {
        QString name = QFileInfo(start).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *note = menu->addAction(tr("下次启动时打开最后保存的工程：%1").arg(name));
        note->setEnabled(false);
        note->setToolTip(QDir::toNativeSeparators(start));
    }
    QAction *clearAction = menu->addAction(tr("清除列表"));
    connect(clearAction, &QAction::triggered, this,
            [this] { QTimer::singleShot(0, this, [this] { clear(); }); });
    menu->menuAction()->setEnabled(!recent.isEmpty());
}
