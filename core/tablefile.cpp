#include "configtable.h"

#include "atomicfile.h"
#include "tablelayout.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QIODevice>

// The two forms of a table on disk and on the line.
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

bool writeTableFile(const ProjectData &project, const QString &filePath, QString *error)
{
    QList<QByteArray> sections;
    if (!buildSections(project, &sections, error))
        return false;
    return AtomicFile::write(filePath, fileForm(sections), error);
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
                     QCoreApplication::translate("ConfigTable", "文件的十六个块组不成配置表：%1")
                         .arg(why));
            return false;
        }
        *transfer = joined;
        return true;
    }
    QString why;
    if (!TableLayout::splitSections(data, &spans, &why)) {
        setError(error, QCoreApplication::translate("ConfigTable", "不是配置表：%1").arg(why));
        return false;
    }
    *transfer = data;
    return true;
}

} // namespace ConfigTable
