#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QMenu;

// The 最近打开 submenu of the file menu: the projects opened or saved last,
// most recent first, as the start-up settings keep them (see
// RecentProjects). A project whose file is gone is greyed and its tooltip
// says so; 清除列表 empties the list. The submenu is greyed while the list
// is empty. Choosing a project hands its path to `open`.
class RecentFiles : public QObject
{
    Q_OBJECT
public:
    RecentFiles(QMenu *menu, std::function<void(const QString &path)> open,
                QObject *parent = nullptr);

    QStringList paths() const;
    // Puts path in front of the list and keeps it; false with the reason
    // when the list could not be kept.
    bool add(const QString &path, QString *error = nullptr);
    bool clear(QString *error = nullptr);
    // Fills the submenu again, in the language now active and with the
    // files as they are now.
    void rebuild();
    // The project the next start opens (the last one saved, which need not
    // be the first of the list): the submenu names it in a greyed line.
    void setStartProject(std::function<QString()> startProject);

private:
    QMenu *menu;
    std::function<void(const QString &path)> open;
    std::function<QString()> startProject;
};
