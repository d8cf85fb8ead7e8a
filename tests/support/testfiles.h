#pragma once

#include <QByteArray>
#include <QString>

// Whole files for the suites: written and read back plainly, so that a test
// sees exactly the bytes a program left.
namespace TestFiles {

bool write(const QString &path, const QByteArray &bytes);
// The file's bytes; empty when it cannot be read.
QByteArray read(const QString &path);
// A file beside the suite's own program: mirel-cli, mirel-sim, the
// translations (every program of a build lands in one folder).
QString inBinDir(const QString &name);

} // namespace TestFiles
