#include "golden.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Golden {

QString difference(const QString &relativePath, const QStringList &lines)
{
    const QString path = QStringLiteral(MIREL_SOURCE_DIR "/tests/data/") + relativePath;
    const QByteArray text = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QFile file(path);
    if (qEnvironmentVariableIntValue("MIREL_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return QString();
    }
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2 (MIREL_UPDATE_GOLDEN=1 writes it)")
            .arg(path, file.errorString());
    const QStringList stored = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QStringList made = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int i = 0; i < qMax(stored.size(), made.size()); ++i) {
        if (stored.value(i) == made.value(i) && i < stored.size() && i < made.size())
            continue;
        return QStringLiteral("%1 line %2:\n  now:    %3\n  stored: %4")
            .arg(relativePath)
            .arg(i + 1)
            .arg(i < made.size() ? made.at(i) : QStringLiteral("(no line)"),
                 i < stored.size() ? stored.at(i) : QStringLiteral("(no line)"));
    }
    return QString();
}

} // namespace Golden
