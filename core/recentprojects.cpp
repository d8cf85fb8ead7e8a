#include "recentprojects.h"

#include "settingshelpers.h"
#include "softwareinitialization.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace RecentProjects {

namespace {

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

QStringList load(const QString &folder)
{
    QStringList paths;
    if (folder.isEmpty())
        return paths;
    const CSoftwareInitialization names;
    const std::unique_ptr<QSettings> settings(openSettings(startupSettingsPath(folder)));
    for (int i = 1; i <= MaxCount; ++i) {
        const QString path =
            readValue(settings.get(), names.recentSection, names.recentKey + QString::number(i));
        if (!path.isEmpty())
            paths << path;
    }
    return paths;
}

bool save(const QString &folder, const QStringList &paths, QString *error)
{
    const CSoftwareInitialization names;
    return rewriteStartupSection(
        folder, names.recentSection,
        [&](QSettings *settings) {
            for (int i = 0; i < paths.size() && i < MaxCount; ++i)
                writeValue(settings, names.recentSection, names.recentKey + QString::number(i + 1),
                           paths.at(i));
        },
        error);
}

QStringList withFront(const QStringList &paths, const QString &path)
{
    const QString front = absolute(path);
    QStringList result{front};
    for (const QString &other : paths)
        if (result.size() < MaxCount && absolute(other) != front)
            result << other;
    return result;
}

} // namespace RecentProjects
