#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVector>

// Tables as comma-separated text (RFC 4180), the way spreadsheet programs
// open and save them: rows of text fields, a field in double quotes when it
// holds the separator, a quote or a line end.
namespace CsvFile {

struct Table
{
    QChar separator = QLatin1Char(',');
    QVector<QStringList> rows;
    QVector<int> lines; // 1-based line in the file where each row starts
};

// Reads CSV text. Accepts UTF-8 with or without a byte-order mark; CRLF, LF
// and lone CR line ends; a comma or a semicolon between fields, whichever
// occurs more often outside quotes in the first record (a tie is a comma);
// fields in double quotes holding separators, doubled quotes and line ends,
// kept as they are. A last line without a line end is a row; empty lines
// are not. False with a short reason naming the 1-based line when the bytes
// are not CSV text: a NUL byte, invalid UTF-8, a quote still open at the end
// of the file, or text between a closing quote and the separator or line
// end; the table is then empty. An empty file, or one of only a byte-order
// mark or blank lines, is a table without rows.
bool parse(const QByteArray &bytes, Table *table, QString *error);

// The rows as CSV: UTF-8 with a byte-order mark, CRLF after every row, the
// given separator between fields. A field is quoted, its quotes doubled,
// when it holds the separator, a quote, CR or LF, or begins or ends with a
// space; a row of a single empty field is written as "" so that it is read
// back as a row.
QByteArray write(const QVector<QStringList> &rows, QChar separator = QLatin1Char(','));

} // namespace CsvFile
