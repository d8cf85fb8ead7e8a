#include "projectcompare.h"

namespace ProjectCompare {

namespace {

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// The name of the entry at index of a list: a pin for the pin lists, the key
// for a key/value list.
QString entryName(const QString &list, const QStringList &values, int index,
                  const QStringList &pinNames)
{
    if (list == QLatin1String("pinFunctions") || list == QLatin1String("pinNames"))
        return pinNames.value(index, QStringLiteral("pin %1").arg(index + 1));
    if (list == QLatin1String("currentChip"))
        return QString();
    return index % 2 == 1 ? values.value(index - 1) : QStringLiteral("key #%1").arg(index / 2 + 1);
}

} // namespace

QVector<QPair<QString, QStringList>> namedLists(const ProjectData &p)
{
    QVector<QPair<QString, QStringList>> lists{
        {"currentChip", {p.currentChip}},       {"chipInformation", p.chipInformation},
        {"fsmcInformation", p.fsmcInformation}, {"pinNames", p.pinNames},
        {"pinFunctions", p.pinFunctions},       {"diInformation", p.diInformation},
        {"doInformation", p.doInformation},     {"aiInformation", p.aiInformation},
        {"aoInformation", p.aoInformation},     {"exitInformation", p.exitInformation}};
    for (int n = 0; n < 6; ++n)
        lists.append({QStringLiteral("usartInformation[%1]").arg(n), p.usartInformation[n]});
    for (int n = 0; n < 6; ++n)
        lists.append({QStringLiteral("wirelessInformation[%1]").arg(n), p.wirelessInformation[n]});
    for (int n = 0; n < 3; ++n)
        lists.append({QStringLiteral("spiInformation[%1]").arg(n), p.spiInformation[n]});
    for (int n = 0; n < 3; ++n)
        lists.append({QStringLiteral("networkInformation[%1]").arg(n), p.networkInformation[n]});
    lists.append({"sysInformation", p.sysInformation});
    return lists;
}

QString firstDifference(const ProjectData &actual, const ProjectData &expected,
                        const QStringList &ignored)
{
    const auto got = namedLists(actual);
    const auto want = namedLists(expected);
    for (int l = 0; l < want.size(); ++l) {
        const QString &name = want.at(l).first;
        const QStringList &a = got.at(l).second;
        const QStringList &e = want.at(l).second;
        if (ignored.contains(name) || a == e)
            continue;
        for (int i = 0; i < qMax(a.size(), e.size()); ++i) {
            if (i < a.size() && i < e.size() && a.at(i) == e.at(i))
                continue;
            const QString entry = entryName(name, i < e.size() ? e : a, i, expected.pinNames);
            const QString where = entry.isEmpty() ? name : name + QLatin1Char(' ') + entry;
            if (i >= a.size())
                return QStringLiteral("%1: missing, expected %2 (%3 strings, expected %4)")
                    .arg(where, quoted(e.at(i)))
                    .arg(a.size())
                    .arg(e.size());
            if (i >= e.size())
                return QStringLiteral("%1: %2 is one too many (%3 strings, expected %4)")
                    .arg(where, quoted(a.at(i)))
                    .arg(a.size())
                    .arg(e.size());
            return QStringLiteral("%1: %2, expected %3")
                .arg(where, quoted(a.at(i)), quoted(e.at(i)));
        }
    }
    if (ignored.isEmpty() && actual != expected)
        return QStringLiteral("the projects differ in a part namedLists() does not name");
    return QString();
}

} // namespace ProjectCompare
