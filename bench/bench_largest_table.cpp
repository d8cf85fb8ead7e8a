// Writes the project with the largest configuration table the tables allow
// and prints the table's length: every serial and SPI port configured with
// all its sockets and films, and every other port pin of the STM32F407ZG
// (without external RAM) an output row, the widest row there is.

#include "chipfacts.h"
#include "configtable.h"
#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"
#include "projectfile.h"
#include "projectsync.h"

#include <QCoreApplication>
#include <QSet>
#include <cstdio>

namespace {

QStringList pairs(const QStringList &keys, const QStringList &values)
{
    QStringList list;
    for (int i = 0; i < keys.size(); ++i)
        list << keys.at(i) << values.value(i);
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_largest_table PROJECT.cpro\n");
        return 2;
    }
    const QString chip = ChipFacts::F407;
    const CDlgDescription names;
    const CPinDescriptions catalogue(false);
    ProjectData project = ProjectData::fresh(chip, false);

    const QStringList usartPins = {"PB6",  "PB7",  "PA2",  "PA3", "PB10", "PB11",
                                   "PC10", "PC11", "PC12", "PD2", "PC6",  "PC7"};
    const QStringList spiPins = {"PA5", "PA6", "PA7", "PB13", "PB14", "PB15", "PB3", "PB4", "PB5"};
    QSet<QString> used(usartPins.begin(), usartPins.end());
    used.unite(QSet<QString>(spiPins.begin(), spiPins.end()));
    for (const auto &fixed : catalogue.fixedPins(chip))
        used.insert(project.pinNames.value(fixed.first));

    const auto draw = [&project](const QString &pin, const QString &function) {
        project.pinFunctions[project.pinNames.indexOf(pin)] = function;
    };
    for (const auto &fixed : catalogue.fixedPins(chip))
        project.pinFunctions[fixed.first] = fixed.second;
    for (int port = 0; port < 6; ++port) {
        draw(usartPins.at(2 * port), ChipFacts::serialPorts().at(port) + "_TX");
        draw(usartPins.at(2 * port + 1), ChipFacts::serialPorts().at(port) + "_RX");
    }
    const QStringList spiSignals{"_SCK", "_MISO", "_MOSI"};
    for (int i = 0; i < spiPins.size(); ++i)
        draw(spiPins.at(i), ChipFacts::spiPorts().at(i / 3) + spiSignals.at(i % 3));
    for (int port = 0; port < 6; ++port) {
        project.usartInformation[port] =
            pairs(names.usartKeys,
                  {usartPins.at(2 * port), usartPins.at(2 * port + 1), "0", "0", "0", "0", "5"});
        QStringList sockets;
        for (int s = 1; s <= 8; ++s)
            sockets << "1" << QStringLiteral("10.0.%1.%2").arg(port).arg(s) << "502";
        project.wirelessInformation[port] = pairs(names.socketKeys, sockets);
    }
    for (int port = 0; port < 3; ++port) {
        project.spiInformation[port] =
            pairs(names.spiKeys,
                  {spiPins.at(3 * port), spiPins.at(3 * port + 1), spiPins.at(3 * port + 2), "0",
                   "0", "0", "0", "0", "0", "7", "0", "0", "1", "0", "1", "0", "1", "0"});
        QStringList network;
        for (int film = 0; film < 3; ++film)
            network << "0"
                    << "192.168.1.10"
                    << "255.255.255.0"
                    << "192.168.1.1"
                    << "8.8.8.8"
                    << "8000";
        project.networkInformation[port] = pairs(names.networkKeys, network);
    }

    const QStringList doKeys = rowKeys(CPinDescriptions::DlgDO);
    int row = 0;
    for (const QString &pin : project.pinNames) {
        if (used.contains(pin) || CPinDescriptions::portPinIndex(pin) >= 112 ||
            catalogue.functionsOf(chip, pin).isEmpty())
            continue;
        ++row;
        draw(pin, QStringLiteral("Normal_DO"));
        QStringList keys;
        for (const QString &key : doKeys)
            keys << QString::number(row) + key;
        project.doInformation +=
            pairs(keys, {pin, "0", "0", QString::number(row), "1", "0", "0", "0", "0"});
    }

    // The drawing and the lists agree: the window and mirel-cli keep it as it is.
    if (ProjectSync::current(project) != project) {
        std::fprintf(stderr, "bench_largest_table: the lists do not follow the pins\n");
        return 1;
    }
    QString error;
    QByteArray table;
    if (!ConfigTable::buildConfigurationTable(project, &table, &error)) {
        std::fprintf(stderr, "bench_largest_table: %s\n", qPrintable(error));
        return 1;
    }
    if (!ProjectFile::write(project, QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "bench_largest_table: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%d\n", int(table.size()));
    return 0;
}
