#pragma once

#include "batchportresult.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class AppendFile;

// The record of a production line: a CSV file (UTF-8) with one row per port
// per run, under a header row written when the file is new:
//   time,port,serial_number,project,table_bytes,table_crc16,outcome,seconds,verify
// time is ISO 8601 with the zone offset, table_crc16 the CRC-16/MODBUS of the
// table bytes sent (four hex digits), outcome "ok" or "failed: " and the
// reason, verify as BatchPortResult has it. Several writers may share one
// record (the window, several mirel-cli downloads and stations): a row is
// appended under the file's lock (AppendFile), the header decided under the
// same lock, so that every row of every writer is kept and the header comes
// once. An append reads only the first line and the last byte.
class BatchRecord
{
    Q_DECLARE_TR_FUNCTIONS(BatchRecord)
public:
    static QString header();

    // Rows about sending table, from project (the path as given), to path.
    BatchRecord(const QString &path, const QString &project, const QByteArray &table);

    QString path() const { return m_path; }
    // Whether rows can be appended: the file opens for appending (a missing
    // one is made, empty) and is empty or such a record (its first line is
    // the header). False with a message naming the file otherwise: another
    // first line, a folder or device, a file or folder that cannot be
    // written (read-only, no permission, a missing folder). Never waits: a
    // record whose lock another program holds is judged by its first line.
    bool check(QString *error) const;
    // Appends the row of one port, at the current time; the header first when
    // the file is empty, and a line end first when its last line lacks one.
    // False with a message, the file left as it was.
    bool append(const BatchPortResult &result, QString *error) const;
    // Appends rows (lines without their line ends) as append() does, but
    // without waiting for the lock: while another holds it, false with
    // *busy set and the file untouched.
    bool tryAppend(const QStringList &rows, QString *error, bool *busy) const;

    // The row of one port, without the line end.
    QString row(const BatchPortResult &result, const QDateTime &time) const;
    // The time as ISO 8601 with its offset from UTC: 2024-05-01T08:30:00+02:00.
    static QString isoTime(const QDateTime &time);
    // A field as CSV writes it: in double quotes, its quotes doubled, when it
    // holds a comma, a quote, a line break or spaces at either end.
    static QString field(const QString &text);

private:
    // Opens and locks the file, and tells whether it is empty. False with a
    // message unless it is empty or such a record.
    bool open(AppendFile *file, bool *empty, QString *error) const;
    // The header when the file is empty, the line end its last line lacks.
    bool lead(AppendFile *file, bool empty, QByteArray *bytes, QString *error) const;
    bool recognised(AppendFile *file, bool *empty, QString *error) const;
    bool startsWithHeader(QByteArray first, QString *error) const;

    QString m_path;
    QString m_project;
    int m_tableBytes = 0;
    quint16 m_crc = 0;
};
