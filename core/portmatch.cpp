#include "portmatch.h"

#include "platform.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QSet>

namespace {

// Whether c is one of the set that starts at pattern[at] ('['): *next is
// where the pattern goes on after its ']'. False with *next at -1 when no
// ']' closes it: the '[' is then an ordinary character.
bool inSet(const QString &pattern, int at, QChar c, bool escapes, int *next)
{
    int i = at + 1;
    const bool negated =
        i < pattern.size() && (pattern[i] == QLatin1Char('!') || pattern[i] == QLatin1Char('^'));
    if (negated)
        ++i;
    bool found = false;
    // A ']' right after the '[' (or the '!') is one of the set.
    for (bool first = true; i < pattern.size() && (first || pattern[i] != QLatin1Char(']'));
         first = false) {
        const auto take = [&] {
            if (escapes && pattern[i] == QLatin1Char('\\') && i + 1 < pattern.size())
                ++i;
            return pattern[i++];
        };
        const QChar low = take();
        QChar high = low;
        if (i + 1 < pattern.size() && pattern[i] == QLatin1Char('-') &&
            pattern[i + 1] != QLatin1Char(']')) {
            ++i;
            high = take();
        }
        if (low <= c && c <= high)
            found = true;
    }
    if (i >= pattern.size()) {
        *next = -1;
        return false;
    }
    *next = i + 1;
    return found != negated && c != QLatin1Char('/');
}

// The components of a path pattern that hold wildcards.
bool hasWildcard(const QString &part)
{
    return part.contains(QLatin1Char('*')) || part.contains(QLatin1Char('?')) ||
           part.contains(QLatin1Char('['));
}

// Each device once, by the first path that reaches it.
QStringList distinct(const QStringList &paths)
{
    QStringList list;
    QSet<QString> seen;
    for (const QString &path : paths) {
        const QString canonical = QFileInfo(path).canonicalFilePath();
        const QString id = canonical.isEmpty() ? path : canonical;
        if (seen.contains(id))
            continue;
        seen.insert(id);
        list << path;
    }
    return list;
}

} // namespace

bool PortMatch::parse(const QString &text, QString *error)
{
    m_text = text.trimmed();
    m_adapter = false;
    if (m_text.isEmpty()) {
        *error = tr("串口匹配为空");
        return false;
    }
    if (m_text.contains(QLatin1Char('/')))
        return true;
    const QRegularExpression adapter(QStringLiteral("^([0-9A-Fa-f]{1,4}):([0-9A-Fa-f]{1,4})$"));
    const QRegularExpressionMatch match = adapter.match(m_text);
    if (match.hasMatch()) {
        m_adapter = true;
        m_vendor = quint16(match.captured(1).toUInt(nullptr, 16));
        m_product = quint16(match.captured(2).toUInt(nullptr, 16));
        return true;
    }
    if (m_text.contains(QLatin1Char(':')) && m_text.count(QLatin1Char(':')) == 1 &&
        !m_text.contains(QLatin1Char('*')) && !m_text.contains(QLatin1Char('?'))) {
        *error = tr("\"%1\"不是vid:pid（十六进制，如0403:6001）").arg(m_text);
        return false;
    }
    return true;
}

QStringList PortMatch::present() const
{
    QStringList ports;
    if (m_adapter)
        ports = adapterPorts();
    else if (m_text.contains(QLatin1Char('/')))
        ports = pathPorts();
    else
        ports = namePorts();
    ports.sort();
    return distinct(ports);
}

QStringList PortMatch::adapterPorts() const
{
    QStringList ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier() &&
            info.vendorIdentifier() == m_vendor && info.productIdentifier() == m_product)
            ports << info.systemLocation();
    }
    return ports;
}

QStringList PortMatch::pathPorts() const
{
    QStringList ports;
    const QStringList paths = expand(m_text);
    for (const QString &path : paths)
        if (Platform::isSerialDevice(path))
            ports << path;
    return ports;
}

QStringList PortMatch::expand(const QString &pattern)
{
    const bool absolute = pattern.startsWith(QLatin1Char('/'));
    const QStringList parts = pattern.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QStringList found{absolute ? QStringLiteral("/") : QString()};
    for (int i = 0; i < parts.size() && !found.isEmpty(); ++i) {
        const QString &part = parts.at(i);
        QStringList next;
        for (const QString &folder : qAsConst(found)) {
            const QString prefix = folder.isEmpty() || folder.endsWith(QLatin1Char('/'))
                                       ? folder
                                       : QString(folder + '/');
            if (!hasWildcard(part)) {
                next << prefix + part;
                continue;
            }
            const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
            QStringList names = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                              QDir::NoDotAndDotDot);
            names.sort();
            for (const QString &name : qAsConst(names)) {
                // As a shell expands it: a leading dot is matched by a dot.
                if (name.startsWith(QLatin1Char('.')) && !part.startsWith(QLatin1Char('.')))
                    continue;
                if (matches(part, name))
                    next << prefix + name;
            }
        }
        found = next;
    }
    QStringList present;
    for (const QString &path : qAsConst(found))
        if (!path.isEmpty() && (QFileInfo::exists(path) || QFileInfo(path).isSymLink()))
            present << path;
    return present;
}

bool PortMatch::matches(const QString &pattern, const QString &name, bool escapes)
{
    int p = 0, t = 0;
    int starP = -1, starT = -1; // where the last '*' began and what it took
    while (t < name.size()) {
        if (p < pattern.size()) {
            const QChar c = pattern[p];
            if (c == QLatin1Char('*')) {
                starP = ++p;
                starT = t;
                continue;
            }
            if (c == QLatin1Char('[')) {
                int next = -1;
                if (inSet(pattern, p, name[t], escapes, &next)) {
                    p = next;
                    ++t;
                    continue;
                }
                if (next < 0 && name[t] == c) {
                    ++p;
                    ++t;
                    continue;
                }
            } else if (c == QLatin1Char('?')) {
                if (name[t] != QLatin1Char('/')) {
                    ++p;
                    ++t;
                    continue;
                }
            } else if (escapes && c == QLatin1Char('\\') && p + 1 < pattern.size()) {
                if (pattern[p + 1] == name[t]) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (c == name[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        // The last '*' takes one more character, never a '/'.
        if (starP < 0 || name[starT] == QLatin1Char('/'))
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

QStringList PortMatch::namePorts() const
{
    QStringList ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        if (matches(m_text, info.portName()) || matches(m_text, info.systemLocation()))
            ports << info.systemLocation();
    }
    return ports;
}
