#include "configanalyzer.h"

// Filled in by the configuration-table work.
CAnalyzeBinFileToConfigure::CAnalyzeBinFileToConfigure(QObject *parent) : QObject(parent) {}

bool CAnalyzeBinFileToConfigure::decode(const QByteArray &, const QString &, ProjectData *,
                                        QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}

bool CAnalyzeBinFileToConfigure::analyze(const QByteArray &t, const QString &c, const QString &,
                                         QString *, QString *error)
{
    return decode(t, c, nullptr, error);
}
