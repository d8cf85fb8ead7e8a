#include "cutfiles.h"

#include <QList>
#include <algorithm>

namespace CutFiles {

namespace {

// A section's lines: its header line, then its key lines (blank lines left
// out). The lines before the first header form a section without header.
struct Section
{
    QByteArray header;
    QList<QByteArray> lines;
};

QList<Section> sectionsOf(const QByteArray &file)
{
    QList<Section> sections{Section()};
    for (const QByteArray &line : file.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        if (line.startsWith('['))
            sections << Section{line, {}};
        else
            sections.last().lines << line;
    }
    return sections;
}

// The lines as the settings write them: a blank line between sections.
QByteArray joined(const QList<Section> &sections)
{
    QList<QByteArray> texts;
    for (const Section &section : sections) {
        QByteArray text = section.header.isEmpty() ? QByteArray() : section.header + '\n';
        for (const QByteArray &line : section.lines)
            text += line + '\n';
        if (!text.isEmpty())
            texts << text;
    }
    return texts.join('\n');
}

bool isKeyLine(const QByteArray &line, const QString &key)
{
    return line.startsWith(QByteArray(key.toUtf8() + '='));
}

QByteArray headerOf(const QString &section)
{
    return '[' + section.toUtf8() + ']';
}

} // namespace

QVector<Header> headers(const QByteArray &file)
{
    QVector<Header> found;
    for (int at = 0; at < file.size();) {
        int next = file.indexOf('\n', at);
        next = next < 0 ? int(file.size()) : next + 1;
        const QByteArray line = file.mid(at, next - at).trimmed();
        const int close = line.indexOf(']');
        if (line.startsWith('[') && close > 0)
            found.append({QString::fromUtf8(line.mid(1, close - 1)), at,
                          at + int(file.mid(at).indexOf(']')) + 1});
        at = next;
    }
    return found;
}

QByteArray cutInside(const QByteArray &file, const QString &section)
{
    const QByteArray header = headerOf(section) + '\n';
    // Where the header starts: every header follows a line end.
    const int start = int(QByteArray('\n' + file).indexOf(QByteArray('\n' + header)));
    if (start < 0)
        return {};
    const int firstKey = start + header.size();
    const int end = file.indexOf("\n\n", firstKey);
    const QByteArray body = file.mid(firstKey, end < 0 ? -1 : end + 1 - firstKey);
    const int lines = body.count('\n');
    if (lines == 0)
        return {};
    int at = firstKey;
    for (int line = 0; line < lines / 2; ++line)
        at = file.indexOf('\n', at) + 1;
    return file.left(at);
}

QByteArray withoutKey(const QByteArray &file, const QString &section, const QString &key)
{
    QList<Section> sections = sectionsOf(file);
    for (Section &s : sections)
        if (s.header == headerOf(section))
            s.lines.erase(std::remove_if(s.lines.begin(), s.lines.end(),
                                         [&](const QByteArray &l) { return isKeyLine(l, key); }),
                          s.lines.end());
    return joined(sections);
}

QByteArray withoutSection(const QByteArray &file, const QString &section)
{
    QList<Section> sections = sectionsOf(file);
    sections.erase(std::remove_if(sections.begin(), sections.end(),
                                  [&](const Section &s) { return s.header == headerOf(section); }),
                   sections.end());
    return joined(sections);
}

QByteArray withValue(const QByteArray &file, const QString &section, const QString &key,
                     const QByteArray &value)
{
    QList<Section> sections = sectionsOf(file);
    for (Section &s : sections)
        if (s.header == headerOf(section))
            for (QByteArray &line : s.lines)
                if (isKeyLine(line, key))
                    line = key.toUtf8() + '=' + value;
    return joined(sections);
}

QByteArray reversed(const QByteArray &file)
{
    QList<Section> sections = sectionsOf(file);
    std::reverse(sections.begin() + 1, sections.end()); // the lines before any header stay first
    for (Section &s : sections)
        std::reverse(s.lines.begin(), s.lines.end());
    return joined(sections);
}

} // namespace CutFiles
