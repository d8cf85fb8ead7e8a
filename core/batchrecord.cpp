#include "batchrecord.h"

#include "appendfile.h"
#include "commonfunction.h"

#include <QFile>

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

bool BatchRecord::open(AppendFile *file, bool *empty, QString *error) const
{
    return file->open(error) && recognised(file, empty, error);
}

// Enough for the header, a byte order mark a spreadsheet may have put in
// front and a line end (CR LF too): a first line that does not end within it
// is longer than the header, and no header.
static int headerBytes()
{
    return int(BatchRecord::header().toUtf8().size()) + 6;
}

bool BatchRecord::recognised(AppendFile *file, bool *empty, QString *error) const
{
    const qint64 size = file->size();
    *empty = size == 0;
    if (*empty)
        return true;
    QByteArray first;
    return file->read(0, headerBytes(), &first, error) && startsWithHeader(first, error);
}

bool BatchRecord::startsWithHeader(QByteArray first, QString *error) const
{
    const QByteArray expected = header().toUtf8();
    const int end = first.indexOf('\n');
    if (end >= 0)
        first.truncate(end);
    if (first.endsWith('\r'))
        first.chop(1);
    if (first.startsWith("\xEF\xBB\xBF"))
        first.remove(0, 3);
    if (first == expected)
        return true;
    *error = tr("%1不是下载记录：第一行应为\"%2\"，记录未写入").arg(m_path, header());
    return false;
}

bool BatchRecord::check(QString *error) const
{
    AppendFile file(m_path);
    bool empty = false;
    bool busy = false;
    if (file.tryOpen(error, &busy))
        return recognised(&file, &empty, error);
    if (!busy)
        return false;
    // Another writer holds the lock: its first line is read without it (the
    // header is written once, under the lock), and the rows will wait.
    QFile plain(m_path);
    if (!plain.open(QIODevice::ReadOnly)) {
        *error = tr("无法读取%1：%2").arg(m_path, plain.errorString());
        return false;
    }
    const QByteArray first = plain.read(headerBytes());
    return first.isEmpty() || startsWithHeader(first, error);
}

bool BatchRecord::lead(AppendFile *file, bool empty, QByteArray *bytes, QString *error) const
{
    if (empty) {
        *bytes = header().toUtf8() + '\n';
        return true;
    }
    QByteArray last;
    if (!file->read(file->size() - 1, 1, &last, error))
        return false;
    bytes->clear();
    if (last != "\n")
        *bytes = "\n";
    return true;
}

bool BatchRecord::append(const BatchPortResult &result, QString *error) const
{
    AppendFile file(m_path);
    bool empty = false;
    QByteArray bytes;
    if (!open(&file, &empty, error) || !lead(&file, empty, &bytes, error))
        return false;
    bytes += row(result, QDateTime::currentDateTime()).toUtf8() + '\n';
    return file.append(bytes, error);
}

bool BatchRecord::tryAppend(const QStringList &rows, QString *error, bool *busy) const
{
    AppendFile file(m_path);
    bool empty = false;
    QByteArray bytes;
    if (!file.tryOpen(error, busy) || !recognised(&file, &empty, error) ||
        !lead(&file, empty, &bytes, error))
        return false;
    for (const QString &line : rows)
        bytes += line.toUtf8() + '\n';
    return file.append(bytes, error);
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
