#include "configtable.h"

// Filled in by the configuration-table work.
namespace ConfigTable {
QByteArray encodePin(const QString &, const QString &) { return {}; }
bool buildSections(const ProjectData &, QList<QByteArray> *, QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
bool buildConfigurationTable(const ProjectData &p, QByteArray *, QString *error)
{
    return buildSections(p, nullptr, error);
}
QByteArray fileForm(const QList<QByteArray> &) { return {}; }
bool writeTableFile(const ProjectData &p, const QString &, QString *error)
{
    return buildSections(p, nullptr, error);
}
bool toTransferForm(const QByteArray &, QByteArray *, QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
} // namespace ConfigTable
