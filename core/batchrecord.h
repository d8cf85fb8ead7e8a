#pragma once

#include "batchportresult.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// The record of a production line: a CSV file (UTF-8) with one row per port
// per run, under a header row written when the file is new:
//   time,port,serial_number,project,table_bytes,table_crc16,outcome,seconds,verify
// time is ISO 8601 with the zone offset, table_crc16 the CRC-16/MODBUS of the
// table bytes sent (four hex digits), outcome "ok" or "failed: " and the
// reason, verify as BatchPortResult has it. Every append rewrites the whole
// file through AtomicFile: the record on disk is always whole.
class BatchRecord
{
    Q_DECLARE_TR_FUNCTIONS(BatchRecord)
public:
    static QString header();

    // Rows about sending table, from project (the path as given), to path.
    BatchRecord(const QString &path, const QString &project, const QByteArray &table);

    QString path() const { return m_path; }
    // Whether rows can be appended: the file is missing or empty, or it is
    // such a record (its first line is the header). False with a message
    // naming the file otherwise.
    bool check(QString *error) const;
    // Appends the row of one port, at the current time; the header first when
    // the file is new. False with a message, the file left as it was.
    bool append(const BatchPortResult &result, QString *error) const;

    // The row of one port, without the line end.
    QString row(const BatchPortResult &result, const QDateTime &time) const;
    // The time as ISO 8601 with its offset from UTC: 2024-05-01T08:30:00+02:00.
    static QString isoTime(const QDateTime &time);
    // A field as CSV writes it: in double quotes, its quotes doubled, when it
    // holds a comma, a quote, a line break or spaces at either end.
    static QString field(const QString &text);

private:
    // The file's bytes; empty when there is none.
    bool readFile(QByteArray *bytes, QString *error) const;
    // The same, refused unless it is empty or such a record.
    bool read(QByteArray *bytes, QString *error) const;

    QString m_path;
    QString m_project;
    int m_tableBytes = 0;
    quint16 m_crc = 0;
};
