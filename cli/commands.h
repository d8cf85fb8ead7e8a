#pragma once

#include <QStringList>

// Each sub-command takes the arguments after its name and returns the exit status.
int runTable(const QStringList &args);
int runDecode(const QStringList &args);
int runPins(const QStringList &args);
int runReport(const QStringList &args);
int runDiff(const QStringList &args);
int runDownload(const QStringList &args);
int runUpload(const QStringList &args);
int runPorts(const QStringList &args);
int runStation(const QStringList &args);
int runCheck(const QStringList &args);
int runExportTables(const QStringList &args);
int runImportTables(const QStringList &args);

// upload --compare: prints whether the table read from the controller holds
// what the project would write, and what differs (a table of another chip
// differs in the chip). 0 when it does, 1 when it differs or the controller
// holds no table, 2 when the project or the table cannot be read or the
// project cannot be made into a table. The project is read by the bytes of
// its name.
int compareWithProject(const QByteArray &table, const QString &projectPath);
