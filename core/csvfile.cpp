#include "csvfile.h"

namespace CsvFile {

namespace {

const QByteArray kBom("\xEF\xBB\xBF");
const QChar kQuote = QLatin1Char('"');
const QChar kCr = QLatin1Char('\r');
const QChar kLf = QLatin1Char('\n');

bool fail(QString *error, int line, const QString &reason)
{
    if (error)
        *error = QStringLiteral("line %1: %2").arg(line).arg(reason);
    return false;
}

bool isLineEnd(QChar c)
{
    return c == kCr || c == kLf;
}

// The 1-based line of the byte at end: CRLF, LF and a lone CR each end a line.
int lineOfByte(const QByteArray &bytes, int end)
{
    int line = 1;
    for (int i = 0; i < end; ++i) {
        if (bytes.at(i) == '\r' || (bytes.at(i) == '\n' && (i == 0 || bytes.at(i - 1) != '\r')))
            ++line;
    }
    return line;
}

// The text of bytes without their byte-order mark; false naming the line of
// the first NUL byte or of the first bytes that are not UTF-8.
bool decode(QByteArray bytes, QString *text, QString *error)
{
    if (bytes.startsWith(kBom))
        bytes.remove(0, kBom.size());
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        return fail(error, lineOfByte(bytes, nul), QStringLiteral("a NUL byte, not text"));
    *text = QString::fromUtf8(bytes);
    // Bytes that are not UTF-8 come back as U+FFFD and differ when encoded again.
    const QByteArray again = text->toUtf8();
    if (again == bytes)
        return true;
    int same = 0;
    while (same < bytes.size() && same < again.size() && bytes.at(same) == again.at(same))
        ++same;
    return fail(error, lineOfByte(bytes, same), QStringLiteral("not UTF-8 text"));
}

// The separator of the record starting at from: whichever of ',' and ';'
// occurs more often outside quotes before the record's line end.
QChar detectSeparator(const QString &text, int from)
{
    int commas = 0;
    int semicolons = 0;
    bool quoted = false;
    for (int i = from; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == kQuote)
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (isLineEnd(c))
            break;
        else if (c == QLatin1Char(','))
            ++commas;
        else if (c == QLatin1Char(';'))
            ++semicolons;
    }
    return semicolons > commas ? QLatin1Char(';') : QLatin1Char(',');
}

// Reads the text record by record into the table; line is the 1-based line
// of the character at pos.
class Reader
{
public:
    Reader(const QString &source, Table *into) : text(source), table(into) {}

    bool read(QString *error)
    {
        while (pos < text.size()) {
            if (isLineEnd(text.at(pos))) {
                skipLineEnd(); // an empty line is no row
                continue;
            }
            if (table->rows.isEmpty())
                table->separator = detectSeparator(text, pos);
            table->lines.append(line);
            table->rows.append(QStringList());
            if (!readRecord(&table->rows.last(), error))
                return false;
        }
        return true;
    }

private:
    // Passes one line end: CRLF, LF or a lone CR.
    void skipLineEnd()
    {
        if (text.at(pos) == kCr && pos + 1 < text.size() && text.at(pos + 1) == kLf)
            ++pos;
        ++pos;
        ++line;
    }

    // Reads fields up to the record's line end (passed) or the end of the text.
    bool readRecord(QStringList *fields, QString *error)
    {
        for (;;) {
            QString field;
            if (pos < text.size() && text.at(pos) == kQuote) {
                if (!readQuoted(&field, error))
                    return false;
            } else {
                while (pos < text.size() && text.at(pos) != table->separator &&
                       !isLineEnd(text.at(pos)))
                    field += text.at(pos++);
            }
            fields->append(field);
            if (pos >= text.size())
                return true;
            if (isLineEnd(text.at(pos))) {
                skipLineEnd();
                return true;
            }
            ++pos; // the separator
        }
    }

    // Reads a field in quotes starting at its opening quote; line ends inside
    // are kept as they are.
    bool readQuoted(QString *field, QString *error)
    {
        const int opened = line;
        ++pos;
        for (;;) {
            if (pos >= text.size())
                return fail(error, opened, QStringLiteral("a quote is not closed"));
            const QChar c = text.at(pos++);
            if (c == kQuote) {
                if (pos < text.size() && text.at(pos) == kQuote) {
                    field->append(kQuote); // a doubled quote stands for one
                    ++pos;
                    continue;
                }
                break;
            }
            if (c == kCr || (c == kLf && text.at(pos - 2) != kCr))
                ++line;
            field->append(c);
        }
        if (pos < text.size() && text.at(pos) != table->separator && !isLineEnd(text.at(pos)))
            return fail(error, line, QStringLiteral("text after a closing quote"));
        return true;
    }

    const QString &text;
    Table *table;
    int pos = 0;
    int line = 1;
};

// Either separator is quoted, whichever is used: a reader that guesses the
// separator from the first row is never misled by a bare one.
bool needsQuotes(const QString &field, QChar separator)
{
    if (field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' ')))
        return true;
    return field.contains(separator) || field.contains(QLatin1Char(',')) ||
           field.contains(QLatin1Char(';')) || field.contains(kQuote) || field.contains(kCr) ||
           field.contains(kLf);
}

QString quoted(QString field)
{
    field.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + field + kQuote;
}

} // namespace

bool parse(const QByteArray &bytes, Table *table, QString *error)
{
    *table = Table();
    QString text;
    if (!decode(bytes, &text, error))
        return false;
    Table result;
    if (!Reader(text, &result).read(error))
        return false;
    *table = result;
    return true;
}

QByteArray write(const QVector<QStringList> &rows, QChar separator)
{
    QString text;
    for (const QStringList &row : rows) {
        if (row.size() == 1 && row.first().isEmpty()) {
            text += QStringLiteral("\"\"\r\n"); // else an empty line, read as no row
            continue;
        }
        for (int i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += separator;
            text += needsQuotes(row.at(i), separator) ? quoted(row.at(i)) : row.at(i);
        }
        text += QStringLiteral("\r\n");
    }
    return kBom + text.toUtf8();
}

} // namespace CsvFile
