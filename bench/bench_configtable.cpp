// Times the configuration-table generator and reader on a large project:
// full DI/DO/AI/AO/EXIT/SYS tables, every serial port with sockets and every
// SPI port with its films. Prints microseconds per build and per decode.

#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "dlgdescription.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

QStringList rowPairs(const QStringList &keys, int row, const QStringList &values)
{
    QStringList list;
    for (int i = 0; i < keys.size(); ++i)
        list << QString::number(row) + keys.at(i) << values.at(i);
    return list;
}

ProjectData largeProject(const QString &chip)
{
    ProjectData p = ProjectData::fresh(chip, false);
    const CDlgDescription k;
    const QStringList select{k.sliceSelectPinIsEnble, k.sliceSelectPin3Bit, k.sliceSelectPin2Bit,
                             k.sliceSelectPin1Bit, k.sliceSelectPin0Bit};
    for (int r = 1; r <= 255; ++r) {
        const QString pin = QStringLiteral("P%1%2").arg(QChar('A' + r % 4)).arg(r % 16);
        const QString start = QString::number(16 * r);
        p.diInformation += rowPairs(QStringList{k.pin, k.mode, k.index} + select, r,
                                    {pin, "1", start, "1", "PC3", "PC2", "PC1", "PC0"});
        p.doInformation += rowPairs(QStringList{k.pin, k.mode, k.speed, k.index} + select, r,
                                    {pin, "0", "3", start, "1", "0", "0", "PB1", "PB0"});
        p.aiInformation += rowPairs(QStringList{k.pin, k.index} + select, r,
                                    {pin, start, "0", "0", "0", "0", "0"});
        p.aoInformation += rowPairs(QStringList{k.pin, k.index} + select, r,
                                    {pin, start, "1", "0", "0", "0", "PA1"});
        p.exitInformation += rowPairs({k.pin, k.inputMode, k.triggerMode, k.triggerWay,
                                       k.prePriority, k.subPriority, k.index},
                                      r, {pin, "1", "0", "2", "3", "1", QString::number(r)});
        p.sysInformation +=
            rowPairs({k.systemPin, k.pin, k.mode, k.speed}, r, {"SYS_RunLed", pin, "0", "1"});
    }
    for (int port = 0; port < 6; ++port) {
        const QStringList values{"PA9", "PA10", "0", "0", "0", "0", "5"};
        for (int i = 0; i < 7; ++i)
            p.usartInformation[port] << k.usartKeys.at(i) << values.at(i);
        for (int s = 0; s < 8; ++s)
            p.wirelessInformation[port] << k.socketKeys.at(3 * s) << "1"
                                        << k.socketKeys.at(3 * s + 1) << "10.0.0.1"
                                        << k.socketKeys.at(3 * s + 2) << "5000";
    }
    for (int port = 0; port < 3; ++port) {
        const QStringList values{"PA5", "PA6", "PA7", "0", "0",   "0", "0",   "0", "0",
                                 "7",   "0",   "1",   "2", "PB0", "3", "PB1", "1", "PB2"};
        for (int i = 0; i < 18; ++i)
            p.spiInformation[port] << k.spiKeys.at(i) << values.at(i);
        QStringList network;
        for (int film = 0; film < 3; ++film) {
            const QStringList v{"2",           "192.168.1.10", "255.255.255.0",
                                "192.168.1.1", "8.8.8.8",      "50000"};
            for (int i = 0; i < 6; ++i)
                network << k.networkKeys.at(6 * film + i) << v.at(i);
        }
        p.networkInformation[port] = network;
    }
    return p;
}

} // namespace

int main()
{
    for (const QString &chip : ChipFacts::models()) {
        const ProjectData project = largeProject(chip);
        QByteArray table;
        QString error;
        if (!ConfigTable::buildConfigurationTable(project, &table, &error)) {
            std::fprintf(stderr, "cannot build: %s\n", qPrintable(error));
            return 1;
        }
        const int rounds = 50;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rounds; ++i)
            ConfigTable::buildConfigurationTable(project, &table);
        const double buildUs = double(timer.nsecsElapsed()) / rounds / 1000.0;
        ProjectData decoded;
        timer.restart();
        for (int i = 0; i < rounds; ++i)
            CAnalyzeBinFileToConfigure::decode(table, chip, &decoded);
        const double decodeUs = double(timer.nsecsElapsed()) / rounds / 1000.0;
        std::printf("%s: table of %d bytes, build %.0f us, decode %.0f us, %d DI rows back\n",
                    qPrintable(chip), int(table.size()), buildUs, decodeUs,
                    int(decoded.diInformation.size() / 16));
    }
    return 0;
}
