#pragma once

#include <QSettings>
#include <QString>
#include <functional>

// Writing an INI file (the settings helpers' format: INI, UTF-8 codec) whole
// or not at all. The edits are made on a copy in a private temporary folder;
// the copy is read back and checked to hold exactly what was written, then
// its bytes replace the file through AtomicFile. The temporary folder is
// removed on every path; one left by a writer that was killed is removed by
// the next write.
namespace IniFile {

// Applies edit to the file's current content (none when it does not exist)
// and writes the result to filePath. Sections and keys the edit does not
// touch are kept. False with a message naming the file when it is not a
// file, cannot be read, or the result cannot be written; the old file is
// then left as it was.
bool update(const QString &filePath, const std::function<void(QSettings *)> &edit,
            QString *error = nullptr);

// As update, but starts from nothing: the file holds only what edit writes,
// an older file at the path is replaced, not merged.
bool replace(const QString &filePath, const std::function<void(QSettings *)> &edit,
             QString *error = nullptr);

} // namespace IniFile
