#pragma once

#include <QString>

// Removes a directory with everything below it; its parent folders stay,
// even when left empty. An empty path gives false; a directory that does not
// exist, true.
bool removeDirectoryTree(const QString &directoryPath);
