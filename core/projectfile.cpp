#include "projectfile.h"

#include "chipfacts.h"
#include "filekind.h"
#include "inifile.h"
#include "settingshelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

namespace ProjectFile {

namespace {

using D = CPinDescriptions;

// Row tables in the order the writer puts them before the serial ports.
const D::DlgType kLeadingRowTables[] = {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT};
// Every row table: the sections with a Count.
const D::DlgType kRowTables[] = {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT, D::DlgSYS};

// The largest row count a file may declare: one row per pin at most.
constexpr int kMaxRows = ChipFacts::pinCountF407;

// The mark of the files this program writes, in [CHIP]: the number of keys
// each section held when written. The name sorts before Type, which QSettings
// writes after it: a file cut between the two lacks its chip model.
const QLatin1String kMarkKey("MirelKeys");
// The last token of the mark: the sum of the counts, so that a mark cut short
// is told from a whole one.
const QLatin1String kMarkTotal("total");
// The digits of a count at most: far more keys than a project ever holds,
// and no overflow.
constexpr int kMaxCountDigits = 6;

// A section the mark names with the keys it held.
struct Promise
{
    QString section;
    int keys = 0;
};

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

void writePairs(QSettings *settings, const QString &section, const QStringList &list)
{
    clearSection(settings, section);
    for (int i = 0; i + 1 < list.size(); i += 2)
        writeValue(settings, section, list.at(i), list.at(i + 1));
}

void writeRowTable(QSettings *settings, const QString &section, const QStringList &list,
                   D::DlgType type)
{
    clearSection(settings, section);
    writeValue(settings, section, QStringLiteral("Count"),
               QString::number(list.size() / stringsPerRow(type)));
    for (int i = 0; i + 1 < list.size(); i += 2)
        writeValue(settings, section, list.at(i), list.at(i + 1));
}

// The rows a row section declares (its Count), checked against the row keys
// it holds: a file cut short loses the Count, which the writer puts after the
// rows, or ends inside it. A section with neither rows nor Count has none.
bool declaredRows(QSettings *settings, const QString &filePath, const QString &section,
                  D::DlgType type, int *count, QString *error)
{
    settings->beginGroup(section);
    const QStringList present = settings->childKeys();
    settings->endGroup();
    const QStringList keys = rowKeys(type);
    QString firstRowKey, lastRowKey;
    int lastRow = 0;
    for (const QString &key : present) {
        int digits = 0;
        while (digits < key.size() && key.at(digits).isDigit())
            ++digits;
        const int row = key.left(digits).toInt();
        if (row < 1 || !keys.contains(key.mid(digits)))
            continue;
        if (firstRowKey.isEmpty())
            firstRowKey = key;
        if (row > lastRow) {
            lastRow = row;
            lastRowKey = key;
        }
    }
    *count = 0;
    if (!present.contains(QStringLiteral("Count"))) {
        if (firstRowKey.isEmpty())
            return true;
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "%1 不完整：[%2] 节有行（%3）却没有 Count")
                            .arg(filePath, section, firstRowKey));
        return false;
    }
    const QString countText = readValue(settings, section, QStringLiteral("Count"));
    bool ok = false;
    *count = countText.trimmed().toInt(&ok);
    if (!ok || *count < 0) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "%1 不完整：[%2] 节的 Count“%3”不是行数")
                            .arg(filePath, section, countText));
        return false;
    }
    if (*count > kMaxRows) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1节声明了%2行（最多%3行）")
                            .arg(section, countText)
                            .arg(kMaxRows));
        return false;
    }
    if (lastRow > *count) {
        setError(error, QCoreApplication::translate("ProjectFile",
                                                    "%1 不完整：[%2] 节的 %3 超出了 Count=%4")
                            .arg(filePath, section, lastRowKey, QString::number(*count)));
        return false;
    }
    return true;
}

// The keys of a section as QSettings reads them (in groups below it too).
int keyCount(QSettings *settings, const QString &section)
{
    settings->beginGroup(section);
    const int count = settings->allKeys().size();
    settings->endGroup();
    return count;
}

// Marks the sections just stored with their key counts, in the order
// QSettings gives the sections of a new file. The count of [CHIP] leaves the
// mark out.
void writeMark(QSettings *settings, QStringList sections)
{
    sections.sort();
    sections.removeDuplicates();
    QStringList tokens;
    int total = 0;
    for (const QString &section : qAsConst(sections)) {
        const int count = keyCount(settings, section);
        if (count == 0)
            continue;
        tokens << section + QLatin1Char(':') + QString::number(count);
        total += count;
    }
    tokens << kMarkTotal + QLatin1Char(':') + QString::number(total);
    writeValue(settings, CPinDescriptions(false).sectionChip, kMarkKey,
               tokens.join(QLatin1Char(' ')));
}

// The sections and counts of a mark; false when it is damaged: a token that
// is not section:count, a section named twice, the total missing or not the
// sum of the counts (the mark was cut short or changed).
bool parseMark(const QString &mark, QVector<Promise> *promises)
{
    const QStringList tokens = mark.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QSet<QString> named;
    qint64 sum = 0;
    for (int i = 0; i < tokens.size(); ++i) {
        const QString &token = tokens.at(i);
        const int colon = token.indexOf(QLatin1Char(':'));
        const QString name = token.left(colon);
        const QString digits = token.mid(colon + 1);
        bool ok = colon > 0 && !digits.isEmpty() && digits.size() <= kMaxCountDigits;
        for (const QChar ch : digits)
            ok = ok && ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
        if (!ok)
            return false;
        const int count = digits.toInt();
        if (i == tokens.size() - 1)
            return name == kMarkTotal && count == sum;
        if (name == kMarkTotal || named.contains(name))
            return false;
        named.insert(name);
        sum += count;
        promises->append({name, count});
    }
    return false; // no total
}

// Empty when the file has no mark or holds every key its mark promises;
// else the message naming the first section that falls short, in the order
// of the file (its headers), then of the mark.
QString shortfall(QSettings *settings, const QString &filePath, const QStringList &headers)
{
    const QString chip = CPinDescriptions(false).sectionChip;
    if (!settings->contains(chip + QLatin1Char('/') + kMarkKey))
        return {};
    const QString mark = readValue(settings, chip, kMarkKey);
    QVector<Promise> promises;
    if (!parseMark(mark, &promises))
        return QCoreApplication::translate("ProjectFile", "%1 不完整：[%2] 节中的 %3 残缺：“%4”")
            .arg(filePath, chip, kMarkKey, mark);
    QStringList order = headers;
    for (const Promise &promise : qAsConst(promises))
        order << promise.section;
    for (const QString &section : qAsConst(order)) {
        const auto promise = std::find_if(promises.cbegin(), promises.cend(),
                                          [&](const Promise &p) { return p.section == section; });
        if (promise == promises.cend())
            continue;
        const int found = keyCount(settings, section) - (section == chip ? 1 : 0);
        if (found >= promise->keys)
            continue;
        if (!headers.contains(section))
            return QCoreApplication::translate("ProjectFile",
                                               "%1 不完整：缺少 [%2] 节（保存时它有 %3 个键）")
                .arg(filePath, section, QString::number(promise->keys));
        return QCoreApplication::translate("ProjectFile",
                                           "%1 不完整：[%2] 节只有 %3 个键，保存时有 %4 个")
            .arg(filePath, section, QString::number(found), QString::number(promise->keys));
    }
    return {};
}

void readRowTable(QSettings *settings, const QString &section, D::DlgType type, int count,
                  QStringList *list)
{
    list->clear();
    const QStringList keys = rowKeys(type);
    for (int row = 1; row <= count; ++row) {
        for (const QString &key : keys) {
            const QString rowKey = QString::number(row) + key;
            *list << rowKey << readValue(settings, section, rowKey);
        }
    }
}

// A line of the file as a message quotes it: its first 80 characters, the
// control characters escaped, so that neither a huge line nor an escape
// sequence reaches the user's terminal.
QString quotedLine(const QByteArray &line)
{
    constexpr int Shown = 80;
    const QString text = QString::fromUtf8(line);
    QString quoted;
    for (int i = 0; i < text.size() && i < Shown; ++i) {
        const ushort code = text.at(i).unicode();
        if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0))
            quoted += QStringLiteral("\\x%1").arg(code, 2, 16, QLatin1Char('0'));
        else
            quoted += text.at(i);
    }
    if (text.size() > Shown)
        quoted += QStringLiteral("…");
    return quoted;
}

// The first line that is neither blank, a comment, a section header nor a
// key=value pair: the end of a file cut short, as a rule. The lines are split
// as QSettings splits them: a backslash or an open quote carries a line on.
// headers gets the section names in the order of the file; notes a line for
// each key given more than once in a section (QSettings takes its last value).
bool wholeLines(const QByteArray &bytes, const QString &filePath, QStringList *headers,
                QStringList *notes, QString *error)
{
    QString section;
    QSet<QString> seen; // "section]key"
    QSet<QString> said;
    int number = 1;
    // A byte order mark is not a line cut short (QSettings refuses the file
    // for it all the same).
    for (int i = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0; i < bytes.size();) {
        const int start = i;
        const int startNumber = number;
        bool inQuotes = false;
        for (; i < bytes.size(); ++i) {
            const char ch = bytes.at(i);
            if (ch == '\\' && i + 1 < bytes.size()) {
                number += bytes.at(++i) == '\n' ? 1 : 0;
            } else if (ch == '"') {
                inQuotes = !inQuotes;
            } else if (ch == '\n' || ch == '\r') {
                if (!inQuotes)
                    break;
                number += ch == '\n' ? 1 : 0;
            }
        }
        const QByteArray line = bytes.mid(start, i - start).trimmed();
        if (i < bytes.size()) {
            number += bytes.at(i) == '\n' ? 1 : 0;
            ++i;
        }
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (!line.startsWith('[') && line.contains('=')) {
            const QString key = QString::fromUtf8(line.left(line.indexOf('=')).trimmed());
            const QString id = section + QLatin1Char(']') + key;
            if (seen.contains(id) && !said.contains(id)) {
                said.insert(id);
                *notes << QCoreApplication::translate(
                              "ProjectFile", "[%1] 节中的键“%2”出现了不止一次，取最后一次的值")
                              .arg(section, quotedLine(key.toUtf8()));
            }
            seen.insert(id);
            continue;
        }
        const int close = line.indexOf(']');
        if (line.startsWith('[') && close > 0) {
            section = QString::fromUtf8(line.mid(1, close - 1));
            *headers << section;
            continue;
        }
        setError(
            error,
            section.isEmpty()
                ? QCoreApplication::translate("ProjectFile", "%1 不完整：第%2行“%3”不是“键=值”")
                      .arg(filePath, QString::number(startNumber), quotedLine(line))
                : QCoreApplication::translate("ProjectFile",
                                              "%1 不完整：第%2行，[%3] 节中的“%4”不是“键=值”")
                      .arg(filePath, QString::number(startNumber), section, quotedLine(line)));
        return false;
    }
    return true;
}

QStringList readKeys(QSettings *settings, const QString &section, const QStringList &keys)
{
    QStringList list;
    for (const QString &key : keys)
        list << key << readValue(settings, section, key);
    return list;
}

} // namespace

void store(const ProjectData &project, QSettings *settings)
{
    const CPinDescriptions names(false);
    QStringList sections{names.sectionChip, names.sectionFsmc, names.sectionDesc};
    writePairs(settings, names.sectionChip, project.chipInformation);
    writePairs(settings, names.sectionFsmc, project.fsmcInformation);
    clearSection(settings, names.sectionDesc);
    for (int i = 0; i < project.pinNames.size(); ++i)
        writeValue(settings, names.sectionDesc, project.pinNames.at(i),
                   project.pinFunctions.value(i, QStringLiteral(" ")));
    for (D::DlgType type : kLeadingRowTables) {
        writeRowTable(settings, sectionOf(type), *project.tableList(type), type);
        sections << sectionOf(type);
    }
    for (int n = 0; n < 6; ++n)
        writePairs(settings, names.sectionUsart.at(n), project.usartInformation[n]);
    for (int n = 0; n < 6; ++n)
        writePairs(settings, names.sectionWireless.at(n), project.wirelessInformation[n]);
    for (int n = 0; n < 3; ++n)
        writePairs(settings, names.sectionSpi.at(n), project.spiInformation[n]);
    writeRowTable(settings, names.sectionSys, project.sysInformation, D::DlgSYS);
    for (int n = 0; n < 3; ++n)
        writePairs(settings, names.sectionNetwork.at(n), project.networkInformation[n]);
    sections << names.sectionUsart << names.sectionWireless << names.sectionSpi << names.sectionSys
             << names.sectionNetwork;
    writeMark(settings, sections);
}

QString markKey()
{
    return kMarkKey;
}

bool write(const ProjectData &project, const QString &filePath, QString *error)
{
    // Starting from the old content keeps the sections this program does not
    // produce.
    return IniFile::update(
        filePath, [&project](QSettings *settings) { store(project, settings); }, error);
}

namespace {

// What read does with a marked file that falls short of its mark.
enum class IfCut
{
    Refuse,
    ReadAnyway
};

// A marked file ends with a line end: one without it was cut inside its last
// value, which may still read as a number (PortOfSocket8=50 for =5008).
QString cutInLastLine(QSettings *settings, const QByteArray &bytes, const QString &filePath,
                      const QStringList &headers)
{
    if (bytes.isEmpty() || bytes.endsWith('\n') ||
        readValue(settings, CPinDescriptions(false).sectionChip, kMarkKey).isEmpty())
        return {};
    const int start = bytes.lastIndexOf('\n') + 1;
    return QCoreApplication::translate(
               "ProjectFile", "%1 不完整：[%2] 节的最后一行“%3”没有行尾，文件在这一行被截断")
        .arg(filePath, headers.value(headers.size() - 1), quotedLine(bytes.mid(start).trimmed()));
}

bool readProject(const QString &filePath, ProjectData *project, IfCut ifCut, QString *cut,
                 QStringList *notes, QString *error)
{
    // Asked before opening: a named pipe would keep the reader waiting.
    const QString why = FileKind::whyNotReadable(filePath);
    if (!why.isEmpty()) {
        setError(error, why);
        return false;
    }
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1 无法读取：%2")
                            .arg(filePath, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, QCoreApplication::translate("ProjectFile", "%1 无法读取：%2")
                            .arg(filePath, file.errorString()));
        return false;
    }
    file.close();
    QStringList headers, fileNotes;
    if (!wholeLines(bytes, filePath, &headers, &fileNotes, error))
        return false;

    std::unique_ptr<QSettings> settings(openSettings(filePath));
    if (settings->status() != QSettings::NoError) {
        setError(error,
                 QCoreApplication::translate("ProjectFile", "%1 不是工程文件").arg(filePath));
        return false;
    }
    // A file cut short is refused before anything else is said of it.
    std::array<int, std::size(kRowTables)> counts{};
    for (size_t i = 0; i < std::size(kRowTables); ++i)
        if (!declaredRows(settings.get(), filePath, sectionOf(kRowTables[i]), kRowTables[i],
                          &counts[i], error))
            return false;
    QString shortOf = shortfall(settings.get(), filePath, headers);
    if (shortOf.isEmpty())
        shortOf = cutInLastLine(settings.get(), bytes, filePath, headers);
    if (!shortOf.isEmpty() && ifCut == IfCut::Refuse) {
        setError(error, shortOf);
        return false;
    }
    const CPinDescriptions names(false);
    const QString chip = readValue(settings.get(), names.sectionChip, QStringLiteral("Type"));
    if (!names.isKnownChip(chip)) {
        setError(error,
                 chip.isEmpty()
                     ? QCoreApplication::translate("ProjectFile", "%1 不是工程文件（没有指明芯片）")
                           .arg(filePath)
                     : QCoreApplication::translate("ProjectFile", "%1 指明了未知的芯片“%2”")
                           .arg(filePath, chip));
        return false;
    }
    bool ok = false;
    const int ram =
        readValue(settings.get(), names.sectionFsmc, QStringLiteral("iSSelectRAM")).toInt(&ok);
    ProjectData result = ProjectData::fresh(chip, ok && ram != 0);

    for (int i = 0; i < result.pinNames.size(); ++i) {
        const QString function =
            readValue(settings.get(), names.sectionDesc, result.pinNames.at(i));
        result.pinFunctions[i] = function.isEmpty() ? QStringLiteral(" ") : function;
    }
    for (size_t i = 0; i < std::size(kRowTables); ++i)
        readRowTable(settings.get(), sectionOf(kRowTables[i]), kRowTables[i], counts[i],
                     result.tableList(kRowTables[i]));
    const CDlgDescription keys;
    for (int n = 0; n < 6; ++n)
        result.usartInformation[n] =
            readKeys(settings.get(), names.sectionUsart.at(n), keys.usartKeys);
    for (int n = 0; n < 3; ++n)
        result.spiInformation[n] = readKeys(settings.get(), names.sectionSpi.at(n), keys.spiKeys);
    for (int n = 0; n < 6; ++n)
        result.wirelessInformation[n] =
            readKeys(settings.get(), names.sectionWireless.at(n), keys.socketKeys);
    for (int n = 0; n < 3; ++n)
        result.networkInformation[n] =
            readKeys(settings.get(), names.sectionNetwork.at(n), keys.networkKeys);
    *project = result;
    if (cut)
        *cut = shortOf;
    if (notes)
        *notes = fileNotes;
    return true;
}

} // namespace

bool read(const QString &filePath, ProjectData *project, QString *error, QStringList *notes)
{
    return readProject(filePath, project, IfCut::Refuse, nullptr, notes, error);
}

bool readEvenIfCut(const QString &filePath, ProjectData *project, QString *cut, QString *error,
                   QStringList *notes)
{
    if (cut)
        cut->clear();
    return readProject(filePath, project, IfCut::ReadAnyway, cut, notes, error);
}

QString sectionOf(CPinDescriptions::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return QStringLiteral("DI");
    case D::DlgDO:
        return QStringLiteral("DO");
    case D::DlgAI:
        return QStringLiteral("AI");
    case D::DlgAO:
        return QStringLiteral("AO");
    case D::DlgEXIT:
        return QStringLiteral("EXIT");
    case D::DlgSYS:
        return QStringLiteral("SYS");
    default:
        break;
    }
    const CPinDescriptions names(false);
    if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
        return names.sectionUsart.value(type - D::DlgUSART1);
    if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
        return names.sectionSpi.value(type - D::DlgSPI1);
    return {};
}

} // namespace ProjectFile
