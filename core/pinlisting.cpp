#include "pinlisting.h"

#include "chipfacts.h"
#include "projecttexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using D = CPinDescriptions;

bool isBoardTable(D::DlgType type)
{
    return type >= D::DlgDI && type <= D::DlgAO;
}

// What a chip-select pin selects. The function names it: "DI_CS1" is bit 0
// of the DI rows, "SPI2_CS3" the pin of film 3; the rows of a board table
// that use the pin follow in brackets.
QString chipSelectRole(const ProjectData &project, const CDlgDescription &text,
                       const QString &function, const QString &pin)
{
    const D::DlgType type = ChipFacts::chipSelectTableOf(function);
    if (type == D::DlgNone)
        return QString();
    const int number = function.mid(ChipFacts::chipSelectPrefix(type).size()).toInt();
    if (!isBoardTable(type)) {
        const int key = int(text.spiKeys.indexOf(QStringLiteral("SliceSelect%1Pin").arg(number)));
        return text.headersSPI.value(key, function);
    }
    // Bit n - 1; the headers run enable, bit 3, ..., bit 0.
    QString role = text.headersChipSelect.value(5 - number, function);
    QStringList users;
    for (const ChipSelectRow &row : chipSelectRows(project, type))
        if (row.bitPins.contains(pin))
            users << row.pin;
    if (!users.isEmpty())
        role += QStringLiteral(" (%1)").arg(users.join(QStringLiteral(", ")));
    return role;
}

// Columns a terminal gives a character: two for the wide East Asian ones.
int displayWidth(const QString &text)
{
    int width = 0;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const bool wide = (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) ||
                          (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) ||
                          (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60) ||
                          (u >= 0xFFE0 && u <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

QString csvCell(const QString &cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')))
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QStringList cells(const PinListing::Entry &entry)
{
    return {QString::number(entry.number), entry.name, entry.function, entry.table,
            entry.chipSelect};
}

} // namespace

PinListing::PinListing(const ProjectData &project, const CDlgDescription &text)
    : chip(project.currentChip), pinHeader(text.headersDI.value(0))
{
    for (int i = 0; i < project.pinNames.size(); ++i) {
        Entry entry;
        entry.number = i + 1;
        entry.name = project.pinNames.at(i);
        entry.function = project.pinFunctions.value(i).trimmed();
        D::DlgType type = ChipFacts::chipSelectTableOf(entry.function);
        if (type == D::DlgNone)
            type = ChipFacts::tableOf(entry.function);
        entry.table = ProjectTexts::tableName(type);
        entry.chipSelect = chipSelectRole(project, text, entry.function, entry.name);
        rows << entry;
    }
}

QStringList PinListing::headers() const
{
    return {tr("序号"), pinHeader, tr("功能"), tr("所属表"), tr("片选")};
}

QString PinListing::toText() const
{
    QVector<QStringList> lines{headers()};
    for (const Entry &entry : rows)
        lines << cells(entry);
    QVector<int> widths(5, 0);
    for (const QStringList &line : qAsConst(lines))
        for (int c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths.at(c), displayWidth(line.at(c)));
    QString out;
    for (const QStringList &line : qAsConst(lines)) {
        QString text;
        for (int c = 0; c < line.size(); ++c) {
            const QString padding(widths.at(c) - displayWidth(line.at(c)), QLatin1Char(' '));
            // Numbers stand right, texts left.
            text += c == 0 ? padding + line.at(c) : line.at(c) + padding;
            text += QLatin1String("  ");
        }
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        out += text + QLatin1Char('\n');
    }
    return out;
}

QString PinListing::toCsv() const
{
    QString out;
    QVector<QStringList> lines{headers()};
    for (const Entry &entry : rows)
        lines << cells(entry);
    for (const QStringList &line : qAsConst(lines)) {
        QStringList quoted;
        for (const QString &cell : line)
            quoted << csvCell(cell);
        out += quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return out;
}

QByteArray PinListing::toJson() const
{
    QJsonArray pins;
    for (const Entry &entry : rows)
        pins.append(QJsonObject{{"number", entry.number},
                                {"name", entry.name},
                                {"function", entry.function},
                                {"table", entry.table},
                                {"chipSelect", entry.chipSelect}});
    return QJsonDocument(QJsonObject{{"chip", chip}, {"pins", pins}}).toJson();
}
