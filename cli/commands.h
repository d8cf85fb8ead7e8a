#pragma once

#include <QStringList>

// Each sub-command takes the arguments after its name and returns the exit status.
int runTable(const QStringList &args);
int runDecode(const QStringList &args);
int runDownload(const QStringList &args);
int runUpload(const QStringList &args);
int runPorts(const QStringList &args);
