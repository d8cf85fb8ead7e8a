#include "batchrecord.h"

#include "atomicfile.h"
#include "commonfunction.h"

#include <QFile>
#include <QFileInfo>

QString BatchRecord::header()
{
    return QStringLiteral(
        "time,port,serial_number,project,table_bytes,table_crc16,outcome,seconds,verify");
}

BatchRecord::BatchRecord(const QString &path, const QString &project, const QByteArray &table)
    : m_path(path), m_project(project), m_tableBytes(table.size()),
      m_crc(CCommonFunction::crc16(table))
{
}

bool BatchRecord::readFile(QByteArray *bytes, QString *error) const
{
    bytes->clear();
    const QFileInfo info(m_path);
    if (!info.exists()) // a link to nowhere too: the write makes the file it names
        return true;
    if (!AtomicFile::isWritableTarget(m_path, error))
        return false;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = tr("无法读取记录文件%1：%2").arg(m_path, file.errorString());
        return false;
    }
    *bytes = file.readAll();
    return true;
}

bool BatchRecord::check(QString *error) const
{
    QByteArray bytes;
    return read(&bytes, error);
}

bool BatchRecord::read(QByteArray *bytes, QString *error) const
{
    if (!readFile(bytes, error))
        return false;
    if (bytes->isEmpty())
        return true;
    QByteArray first = bytes->left(bytes->indexOf('\n'));
    if (first.endsWith('\r'))
        first.chop(1);
    if (first.startsWith("\xEF\xBB\xBF")) // saved again by a spreadsheet
        first.remove(0, 3);
    if (first == header().toUtf8())
        return true;
    *error = tr("%1不是下载记录：第一行应为\"%2\"，记录未写入").arg(m_path, header());
    return false;
}

bool BatchRecord::append(const BatchPortResult &result, QString *error) const
{
    QByteArray bytes;
    if (!read(&bytes, error))
        return false;
    if (bytes.isEmpty())
        bytes = header().toUtf8() + '\n';
    else if (!bytes.endsWith('\n'))
        bytes += '\n';
    bytes += row(result, QDateTime::currentDateTime()).toUtf8() + '\n';
    return AtomicFile::write(m_path, bytes, error);
}

QString BatchRecord::row(const BatchPortResult &result, const QDateTime &time) const
{
    const QString outcome =
        result.ok ? QStringLiteral("ok") : QStringLiteral("failed: ") + result.reason;
    const QStringList fields = {
        isoTime(time),
        result.port,
        result.serialNumber,
        m_project,
        QString::number(m_tableBytes),
        QStringLiteral("%1").arg(m_crc, 4, 16, QLatin1Char('0')).toUpper(),
        outcome,
        QString::number(result.seconds, 'f', 3),
        result.verify,
    };
    QStringList quoted;
    for (const QString &text : fields)
        quoted << field(text);
    return quoted.join(QLatin1Char(','));
}

QString BatchRecord::isoTime(const QDateTime &time)
{
    const int offset = time.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss")) +
           QLatin1Char(offset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString BatchRecord::field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                       text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quote)
        return text;
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}
