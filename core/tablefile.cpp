#include "configtable.h"

#include "tablelayout.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

// The two forms of a table on disk and on the line, and atomic writing.
namespace ConfigTable {

namespace {

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

} // namespace

QByteArray fileForm(const QList<QByteArray> &sections)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    for (const QByteArray &section : sections)
        stream << section;
    return out;
}

bool saveFile(const QString &filePath, const QByteArray &bytes, QString *error)
{
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        setError(error, QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));
        return false;
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(filePath, file.errorString()));
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(filePath, file.errorString()));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        setError(error, QStringLiteral("cannot write %1: %2").arg(filePath, file.errorString()));
        return false;
    }
    return true;
}

bool writeTableFile(const ProjectData &project, const QString &filePath, QString *error)
{
    QList<QByteArray> sections;
    if (!buildSections(project, &sections, error))
        return false;
    return saveFile(filePath, fileForm(sections), error);
}

bool toTransferForm(const QByteArray &data, QByteArray *transfer, QString *error)
{
    QVector<TableLayout::SectionSpan> spans;
    // File form: sixteen length-prefixed blocks that fill the data exactly.
    QByteArray joined;
    qint64 pos = 0;
    int blocks = 0;
    while (blocks < TableLayout::SectionCount && data.size() - pos >= 4) {
        const auto *p = reinterpret_cast<const uchar *>(data.constData() + pos);
        const quint32 length =
            (quint32(p[0]) << 24) | (quint32(p[1]) << 16) | (quint32(p[2]) << 8) | quint32(p[3]);
        if (qint64(length) > data.size() - pos - 4)
            break;
        joined += data.mid(int(pos + 4), int(length));
        pos += 4 + qint64(length);
        ++blocks;
    }
    if (blocks == TableLayout::SectionCount && pos == data.size()) {
        QString why;
        if (!TableLayout::splitSections(joined, &spans, &why)) {
            setError(error,
                     QStringLiteral("the sixteen blocks of the file do not form a table: ") + why);
            return false;
        }
        *transfer = joined;
        return true;
    }
    QString why;
    if (!TableLayout::splitSections(data, &spans, &why)) {
        setError(error, QStringLiteral("not a configuration table: ") + why);
        return false;
    }
    *transfer = data;
    return true;
}

} // namespace ConfigTable
