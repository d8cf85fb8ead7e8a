#include "tablerules.h"

#include "chipfacts.h"
#include "projecttexts.h"

#include <QCoreApplication>
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

} // namespace

TableRows rowsOfTable(CPinDescriptions::DlgType type, const QStringList &pinNames,
                      const QStringList &pinFunctions)
{
    TableRows rows;
    if (type >= CPinDescriptions::DlgUSART1 && type <= CPinDescriptions::DlgSPI3)
        return rows;
    const int count = std::min(pinNames.size(), pinFunctions.size());
    for (int i = 0; i < count; ++i) {
        if (type != CPinDescriptions::DlgNone && ChipFacts::tableOf(pinFunctions.at(i)) == type) {
            rows.pins << pinNames.at(i);
            rows.functions << pinFunctions.at(i);
        }
    }
    return rows;
}

QStringList chipSelectCandidates(const QStringList &pinNames, const QStringList &pinFunctions,
                                 const QString &chipSelectName)
{
    const QStringList &reserved = ChipFacts::chipSelectExcluded();
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

namespace {

PortPins portPins(const ChipFacts::PortGroup &first, const ChipFacts::PortGroup &alternative,
                  int signalCount, const QStringList &pinNames, const QStringList &pinFunctions)
{
    PortPins result;
    for (int i = 0; i < signalCount; ++i)
        result.names << QString();
    // The alternative group wins when both are complete.
    for (const ChipFacts::PortGroup *group : {&first, &alternative}) {
        if (groupComplete(group->pins, group->signalNames, pinNames, pinFunctions)) {
            result.names = group->pins;
            result.assigned = true;
        }
    }
    return result;
}

} // namespace

PortPins usartPins(const QString &chipModel, int port, const QStringList &pinNames,
                   const QStringList &pinFunctions)
{
    return portPins(ChipFacts::serialGroup(chipModel, port, QLatin1Char('A')),
                    ChipFacts::serialGroup(chipModel, port, QLatin1Char('B')), 2, pinNames,
                    pinFunctions);
}

PortPins spiPins(const QString &chipModel, int port, const QStringList &pinNames,
                 const QStringList &pinFunctions)
{
    return portPins(ChipFacts::spiGroup(chipModel, port, QLatin1Char('A')),
                    ChipFacts::spiGroup(chipModel, port, QLatin1Char('B')), 3, pinNames,
                    pinFunctions);
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

int filmSharingChipSelect(const QStringList &applications, const QStringList &pins, int film)
{
    const auto isSet = [](const QString &value) {
        return !value.isEmpty() && value != QLatin1String("0");
    };
    const auto inUse = [&](int f) {
        return isSet(applications.value(f - 1)) && isSet(pins.value(f - 1));
    };
    if (!inUse(film))
        return 0;
    for (int other = 1; other <= spiFilmCount; ++other)
        if (other != film && inUse(other) && pins.value(other - 1) == pins.value(film - 1))
            return other;
    return 0;
}

void cascadeBits(QStringList &bitsLowFirst, bool enabled, const QString &none)
{
    bool used = enabled;
    for (QString &bit : bitsLowFirst) {
        if (!used)
            bit = none;
        used = used && bit != none;
    }
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

bool bitChoosable(const QStringList &bitsLowFirst, bool enabled, int bit, const QString &none)
{
    return enabled && (bit == 0 || bitsLowFirst.value(bit - 1, none) != none);
}

QString numberProblem(CPinDescriptions::DlgType type, int row, const QString &columnTitle,
                      const QString &value)
{
    if (parseWholeNumber(value, 0, numberMaximum(type)))
        return QString();
    return QCoreApplication::translate("TableRules",
                                       "%1 表第%2行的%3“%4”写不进配置表：必须是%5到%6之间的整数")
        .arg(ProjectTexts::tableName(type))
        .arg(row)
        .arg(columnTitle, value)
        .arg(0)
        .arg(numberMaximum(type));
}

} // namespace TableRules
