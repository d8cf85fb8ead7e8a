#include "portname.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace PortName {

namespace {

// COM3, com3, \\.\COM12, //./COM12: the number, or -1 for another name.
int comNumber(const QString &name, bool *device)
{
    static const QRegularExpression com(
        QStringLiteral("^(\\\\\\\\\\.\\\\|//\\./)?COM([1-9][0-9]{0,2})$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(name);
    if (!match.hasMatch())
        return -1;
    *device = !match.captured(1).isEmpty();
    return match.captured(2).toInt();
}

} // namespace

QString toOpen(const QString &typed, Style style)
{
    const QString name = typed.trimmed();
    if (style == Windows) {
        bool device = false;
        const int number = comNumber(name, &device);
        if (number < 0)
            return name;
        return (device ? QStringLiteral("\\\\.\\COM") : QStringLiteral("COM")) +
               QString::number(number);
    }
    // A name with a slash is a path, relative to the working folder as any
    // file's; a bare name (ttyUSB0) is the system's.
    if (name.contains(QLatin1Char('/')) && QFileInfo(name).isRelative())
        return QFileInfo(name).absoluteFilePath();
    return name;
}

QString identity(const QString &typed, Style style)
{
    const QString name = toOpen(typed, style);
    if (style == Windows) {
        bool device = false;
        const int number = comNumber(name, &device);
        return number < 0 ? name : QStringLiteral("COM") + QString::number(number);
    }
    const QString canonical = QFileInfo(name).canonicalFilePath();
    return canonical.isEmpty() ? name : canonical;
}

QString example(Style style)
{
    return style == Windows ? QStringLiteral("COM3") : QStringLiteral("/dev/ttyUSB0");
}

QString hint(Style style)
{
    return (style == Windows ? QCoreApplication::translate("PortName", "串口名，例如 %1")
                             : QCoreApplication::translate("PortName", "设备路径，例如 %1"))
        .arg(example(style));
}

} // namespace PortName
