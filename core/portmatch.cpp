#include "portmatch.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QSet>

#ifdef Q_OS_UNIX
#include <fnmatch.h>
#include <glob.h>
#include <sys/stat.h>
#endif

namespace {

bool wildcardMatch(const QString &pattern, const QString &text)
{
#ifdef Q_OS_UNIX
    return ::fnmatch(QFile::encodeName(pattern).constData(), QFile::encodeName(text).constData(),
                     FNM_PATHNAME) == 0;
#else
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(pattern),
                                QRegularExpression::CaseInsensitiveOption);
    return re.match(text).hasMatch();
#endif
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
#ifdef Q_OS_UNIX
    glob_t found = {};
    if (::glob(QFile::encodeName(m_text).constData(), 0, nullptr, &found) == 0) {
        for (size_t i = 0; i < found.gl_pathc; ++i) {
            struct stat info = {};
            const char *path = found.gl_pathv[i];
            if (::stat(path, &info) != 0 || !S_ISCHR(info.st_mode))
                continue;
            const QString name = QFile::decodeName(path);
            if (QFileInfo(name).canonicalFilePath() == QLatin1String("/dev/ptmx") ||
                QFileInfo(name).fileName() == QLatin1String("ptmx"))
                continue; // opening it would make a new pseudo-terminal
            ports << name;
        }
    }
    ::globfree(&found);
#else
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        if (wildcardMatch(m_text, info.systemLocation()))
            ports << info.systemLocation();
    }
#endif
    return ports;
}

QStringList PortMatch::namePorts() const
{
    QStringList ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos) {
        if (wildcardMatch(m_text, info.portName()))
            ports << info.systemLocation();
    }
    return ports;
}
