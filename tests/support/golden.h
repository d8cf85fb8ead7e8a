#pragma once

#include <QString>
#include <QStringList>

// Texts compared with a golden file under tests/data/ (UTF-8, one line each).
// With MIREL_UPDATE_GOLDEN=1 in the environment the file is written instead;
// look at what changed (git diff) before committing it.
namespace Golden {

// Empty when lines are the file's lines; else the first line that differs,
// with its number and both texts.
QString difference(const QString &relativePath, const QStringList &lines);

} // namespace Golden
