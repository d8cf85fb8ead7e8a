#include "tablerules.h"

#include <algorithm>

namespace TableRules {

namespace {

const QStringList &portPrefixes()
{
    static const QStringList prefixes{"PA", "PB", "PC", "PD", "PE", "PF", "PG"};
    return prefixes;
}

// The function text of a pin by name, or a null string when the pin is not in
// the lists.
QString functionOfPin(const QStringList &pinNames, const QStringList &pinFunctions,
                      const QString &pin)
{
    const int at = pinNames.indexOf(pin);
    if (at < 0 || at >= pinFunctions.size())
        return QString();
    return pinFunctions.at(at);
}

// True when every pin of the group carries exactly its signal name.
bool groupComplete(const QStringList &group, const QStringList &signalNames,
                   const QStringList &pinNames, const QStringList &pinFunctions)
{
    if (group.isEmpty() || group.size() != signalNames.size())
        return false;
    for (int i = 0; i < group.size(); ++i) {
        if (functionOfPin(pinNames, pinFunctions, group.at(i)) != signalNames.at(i))
            return false;
    }
    return true;
}

// Picks the pins of a port: the alternative group wins when both are complete.
PortPins pickGroup(const QStringList &first, const QStringList &alternative,
                   const QStringList &signalNames, const QStringList &pinNames,
                   const QStringList &pinFunctions)
{
    PortPins result;
    for (int i = 0; i < signalNames.size(); ++i)
        result.names << QString();
    for (const QStringList *group : {&first, &alternative}) {
        if (groupComplete(*group, signalNames, pinNames, pinFunctions)) {
            result.names = *group;
            result.assigned = true;
        }
    }
    return result;
}

} // namespace

TableRows rowsOfTable(CPinDescriptions::DlgType type, const QStringList &pinNames,
                      const QStringList &pinFunctions)
{
    QString contained;
    switch (type) {
    case CPinDescriptions::DlgDI:
        contained = QStringLiteral("Normal_DI");
        break;
    case CPinDescriptions::DlgDO:
        contained = QStringLiteral("Normal_DO");
        break;
    case CPinDescriptions::DlgAI:
        contained = QStringLiteral("ADC");
        break;
    case CPinDescriptions::DlgAO:
        contained = QStringLiteral("DAC");
        break;
    case CPinDescriptions::DlgEXIT:
        contained = QStringLiteral("EXIT");
        break;
    case CPinDescriptions::DlgSYS:
        break;
    default:
        return {};
    }
    TableRows rows;
    const int count = std::min(pinNames.size(), pinFunctions.size());
    for (int i = 0; i < count; ++i) {
        const QString &function = pinFunctions.at(i);
        const bool member = type == CPinDescriptions::DlgSYS
                                ? function.startsWith(QLatin1String("SYS"))
                                : function.contains(contained);
        if (member) {
            rows.pins << pinNames.at(i);
            rows.functions << function;
        }
    }
    return rows;
}

QString chipSelectName(CPinDescriptions::DlgType type)
{
    switch (type) {
    case CPinDescriptions::DlgDI:
        return QStringLiteral("DI_CS");
    case CPinDescriptions::DlgDO:
        return QStringLiteral("DO_CS");
    case CPinDescriptions::DlgAI:
        return QStringLiteral("AI_CS");
    case CPinDescriptions::DlgAO:
        return QStringLiteral("AO_CS");
    case CPinDescriptions::DlgSPI1:
        return QStringLiteral("SPI1_CS");
    case CPinDescriptions::DlgSPI2:
        return QStringLiteral("SPI2_CS");
    case CPinDescriptions::DlgSPI3:
        return QStringLiteral("SPI3_CS");
    default:
        return QString();
    }
}

QStringList chipSelectCandidates(const QStringList &pinNames, const QStringList &pinFunctions,
                                 const QString &chipSelectName)
{
    static const QStringList reserved{"PD0", "PD1", "PB2", "PDR_ON"};
    QStringList candidates;
    if (chipSelectName.isEmpty())
        return candidates;
    const int count = std::min(pinNames.size(), pinFunctions.size());
    for (int i = 0; i < count; ++i) {
        const QString &name = pinNames.at(i);
        if (!portPrefixes().contains(name.left(2)) || reserved.contains(name))
            continue;
        const QString &function = pinFunctions.at(i);
        if (function == QLatin1String(" ") || function.contains(chipSelectName))
            candidates << name;
    }
    return candidates;
}

QStringList groupedByPort(const QStringList &pins)
{
    QStringList grouped;
    for (const QString &prefix : portPrefixes()) {
        QVector<QPair<int, QString>> port;
        for (const QString &pin : pins) {
            if (!pin.startsWith(prefix))
                continue;
            bool ok = false;
            const int number = pin.mid(2).toInt(&ok);
            port.append({ok ? number : 0, pin});
        }
        std::stable_sort(port.begin(), port.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &entry : qAsConst(port))
            grouped << entry.second;
    }
    return grouped;
}

PortPins usartPins(const QString &chipModel, int port, const QStringList &pinNames,
                   const QStringList &pinFunctions)
{
    static const QStringList names{"USART1", "USART2", "USART3", "UART4", "UART5", "USART6"};
    static const QVector<QStringList> groupsF103{
        {"PA9", "PA10"}, {"PA2", "PA3"}, {"PB10", "PB11"}, {"PC10", "PC11"}, {"PC12", "PD2"}, {}};
    static const QVector<QStringList> firstF407{{"PA9", "PA10"},  {"PA2", "PA3"},  {"PD8", "PD9"},
                                                {"PC10", "PC11"}, {"PC12", "PD2"}, {"PC6", "PC7"}};
    static const QVector<QStringList> alternativeF407{
        {"PB6", "PB7"}, {"PD5", "PD6"}, {"PB10", "PB11"}, {"PA0", "PA1"}, {}, {"PG14", "PG9"}};
    if (port < 1 || port > 6)
        return PortPins{{QString(), QString()}, false};
    const QString name = names.at(port - 1);
    const QStringList signalNames{name + "_TX", name + "_RX"};
    if (chipModel == QLatin1String("STM32F103RE"))
        return pickGroup(groupsF103.at(port - 1), {}, signalNames, pinNames, pinFunctions);
    if (chipModel == QLatin1String("STM32F407ZG"))
        return pickGroup(firstF407.at(port - 1), alternativeF407.at(port - 1), signalNames,
                         pinNames, pinFunctions);
    return pickGroup({}, {}, signalNames, pinNames, pinFunctions);
}

PortPins spiPins(const QString &chipModel, int port, const QStringList &pinNames,
                 const QStringList &pinFunctions)
{
    static const QVector<QStringList> groupsF103{
        {"PA5", "PA6", "PA7"}, {"PB13", "PB14", "PB15"}, {"PB3", "PB4", "PB5"}};
    static const QVector<QStringList> firstF407{
        {"PA5", "PA6", "PA7"}, {"PB13", "PB14", "PB15"}, {"PC10", "PC11", "PC12"}};
    static const QVector<QStringList> alternativeF407{
        {"PB3", "PB4", "PB5"}, {"PB10", "PC2", "PC3"}, {"PB3", "PB4", "PB5"}};
    if (port < 1 || port > 3)
        return PortPins{{QString(), QString(), QString()}, false};
    const QString name = QStringLiteral("SPI%1").arg(port);
    const QStringList signalNames{name + "_SCK", name + "_MISO", name + "_MOSI"};
    if (chipModel == QLatin1String("STM32F103RE"))
        return pickGroup(groupsF103.at(port - 1), {}, signalNames, pinNames, pinFunctions);
    if (chipModel == QLatin1String("STM32F407ZG"))
        return pickGroup(firstF407.at(port - 1), alternativeF407.at(port - 1), signalNames,
                         pinNames, pinFunctions);
    return pickGroup({}, {}, signalNames, pinNames, pinFunctions);
}

int usedBits(const QStringList &bitTextsHighFirst, const QString &noneText)
{
    const int count = std::min(4, int(bitTextsHighFirst.size()));
    for (int i = 0; i < count; ++i) {
        const QString &text = bitTextsHighFirst.at(i);
        if (!text.isEmpty() && text != noneText)
            return count - i;
    }
    return 0;
}

bool rangesOverlap(const TerminalRange &a, const TerminalRange &b)
{
    return a.start <= b.end() && b.start <= a.end();
}

int correctedStart(const QVector<TerminalRange> &rows, int row)
{
    if (rows.isEmpty() || row <= 0 || row >= rows.size())
        return rows.value(row).start;
    int start = rows.first().start;
    for (int j = 0; j < row; ++j)
        start = std::max(start, rows.at(j).start + (1 << rows.at(j).bits));
    return start;
}

int checkStartTerminals(QVector<TerminalRange> &rows,
                        const std::function<bool(int row, int earlierRow)> &askToCorrect)
{
    int overlaps = 0;
    for (int r = 1; r < rows.size(); ++r) {
        for (int i = 0; i < r; ++i) {
            if (!rangesOverlap(rows.at(i), rows.at(r)))
                continue;
            ++overlaps;
            if (askToCorrect && askToCorrect(r, i))
                rows[r].start = correctedStart(rows, r);
        }
    }
    return overlaps;
}

bool parseWholeNumber(const QString &text, int minimum, int maximum, int *value)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int number = text.toInt();
    if (number < minimum || number > maximum)
        return false;
    if (value)
        *value = number;
    return true;
}

bool isDottedAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (part.size() > 3 || !parseWholeNumber(part, 0, 255))
            return false;
    }
    return true;
}

} // namespace TableRules
