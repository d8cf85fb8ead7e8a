#include "projectfile.h"

namespace ProjectFile {
bool write(const ProjectData &, const QString &, QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
bool read(const QString &, ProjectData *, QString *error)
{
    if (error)
        *error = QStringLiteral("not available");
    return false;
}
} // namespace ProjectFile
