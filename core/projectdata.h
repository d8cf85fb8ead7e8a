#pragma once

#include "pindescriptions.h"

#include <QString>
#include <QStringList>
#include <array>

// The project in memory: the chip, the pin functions and one information list
// (alternating key and value strings) per project-file section.
struct ProjectData
{
    QString currentChip;
    QStringList chipInformation;
    QStringList fsmcInformation;
    QStringList pinNames;     // package pin names, pin 1 first
    QStringList pinFunctions; // function text of each pin, " " when none
    QStringList diInformation;
    QStringList doInformation;
    QStringList aiInformation;
    QStringList aoInformation;
    QStringList exitInformation;
    std::array<QStringList, 6> usartInformation;
    std::array<QStringList, 6> wirelessInformation;
    std::array<QStringList, 3> spiInformation;
    std::array<QStringList, 3> networkInformation;
    QStringList sysInformation;

    bool useExternalRam() const { return fsmcInformation.value(1) == QLatin1String("1"); }
    int pinCount() const { return pinNames.size(); }

    // A fresh project for a chip: the defaults a new project starts with.
    // Pin names come from the catalogue; pin functions are left empty (the
    // drawing fills them).
    static ProjectData fresh(const QString &chipModel, bool useExternalRam);

    // The information list of a table kind (DI..SYS), or nullptr for DlgNone.
    QStringList *tableList(CPinDescriptions::DlgType type);
    const QStringList *tableList(CPinDescriptions::DlgType type) const;

    bool operator==(const ProjectData &other) const;
    bool operator!=(const ProjectData &other) const { return !(*this == other); }
};

// Strings per row of the row tables (DI, DO, AI, AO, EXIT, SYS).
int stringsPerRow(CPinDescriptions::DlgType type);

// The keys of one row of a row table (DI, DO, AI, AO, EXIT, SYS), in the
// order the table writes them; empty for other kinds.
QStringList rowKeys(CPinDescriptions::DlgType type);
