#pragma once

#include <QString>
#include <QStringList>

// The projects opened or saved last, most recent first, kept with the
// start-up settings (section "RecentProjects", keys File1 to File10).
namespace RecentProjects {

constexpr int MaxCount = 10;

// What the start-up settings file in folder holds: at most MaxCount paths,
// the empty ones skipped.
QStringList load(const QString &folder);
// Writes the list (its first MaxCount paths) as the whole section, or
// nothing; the rest of the file is kept. False with a message when it cannot
// be written.
bool save(const QString &folder, const QStringList &paths, QString *error = nullptr);
// The list with path in front, as an absolute path: once, at most MaxCount.
QStringList withFront(const QStringList &paths, const QString &path);

} // namespace RecentProjects
