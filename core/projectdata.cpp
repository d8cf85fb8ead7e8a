#include "projectdata.h"

ProjectData ProjectData::fresh(const QString &chipModel, bool useExternalRam)
{
    ProjectData project;
    project.currentChip = chipModel;
    const CDlgDescription keys;
    for (auto &network : project.networkInformation) {
        for (int i = 0; i < keys.networkKeys.size(); ++i)
            network << keys.networkKeys.at(i) << (i % 6 == 0 ? QStringLiteral("1") : QString());
    }
    project.chipInformation = QStringList{keys.type, chipModel};
    project.fsmcInformation =
        QStringList{keys.iSSelectRAM, useExternalRam ? QStringLiteral("1") : QStringLiteral("0")};
    const CPinDescriptions pins(false);
    project.pinNames = pins.pinNames(chipModel);
    for (int i = 0; i < project.pinNames.size(); ++i)
        project.pinFunctions << QStringLiteral(" ");
    return project;
}

QStringList *ProjectData::tableList(CPinDescriptions::DlgType type)
{
    using D = CPinDescriptions;
    switch (type) {
    case D::DlgDI:
        return &diInformation;
    case D::DlgDO:
        return &doInformation;
    case D::DlgAI:
        return &aiInformation;
    case D::DlgAO:
        return &aoInformation;
    case D::DlgEXIT:
        return &exitInformation;
    case D::DlgSYS:
        return &sysInformation;
    case D::DlgUSART1:
    case D::DlgUSART2:
    case D::DlgUSART3:
    case D::DlgUART4:
    case D::DlgUART5:
    case D::DlgUSART6:
        return &usartInformation[type - D::DlgUSART1];
    case D::DlgSPI1:
    case D::DlgSPI2:
    case D::DlgSPI3:
        return &spiInformation[type - D::DlgSPI1];
    case D::DlgNone:
        break;
    }
    return nullptr;
}

const QStringList *ProjectData::tableList(CPinDescriptions::DlgType type) const
{
    return const_cast<ProjectData *>(this)->tableList(type);
}

bool ProjectData::operator==(const ProjectData &o) const
{
    return currentChip == o.currentChip && chipInformation == o.chipInformation &&
           fsmcInformation == o.fsmcInformation && pinNames == o.pinNames &&
           pinFunctions == o.pinFunctions && diInformation == o.diInformation &&
           doInformation == o.doInformation && aiInformation == o.aiInformation &&
           aoInformation == o.aoInformation && exitInformation == o.exitInformation &&
           usartInformation == o.usartInformation && wirelessInformation == o.wirelessInformation &&
           spiInformation == o.spiInformation && networkInformation == o.networkInformation &&
           sysInformation == o.sysInformation;
}

int stringsPerRow(CPinDescriptions::DlgType type)
{
    switch (type) {
    case CPinDescriptions::DlgDI:
        return 16;
    case CPinDescriptions::DlgDO:
        return 18;
    case CPinDescriptions::DlgAI:
    case CPinDescriptions::DlgAO:
    case CPinDescriptions::DlgEXIT:
        return 14;
    case CPinDescriptions::DlgSYS:
        return 8;
    default:
        return 0;
    }
}

QStringList rowKeys(CPinDescriptions::DlgType type)
{
    const QStringList select{"SliceSelectPinIsEnble", "SliceSelectPin_3Bit", "SliceSelectPin_2Bit",
                             "SliceSelectPin_1Bit", "SliceSelectPin_0Bit"};
    switch (type) {
    case CPinDescriptions::DlgDI:
        return QStringList{"Pin", "Mode", "Index"} + select;
    case CPinDescriptions::DlgDO:
        return QStringList{"Pin", "Mode", "Speed", "Index"} + select;
    case CPinDescriptions::DlgAI:
    case CPinDescriptions::DlgAO:
        return QStringList{"Pin", "Index"} + select;
    case CPinDescriptions::DlgEXIT:
        return QStringList{"Pin",         "InputMode",   "TriggerMode", "TriggerWay",
                           "PrePriority", "SubPriority", "Index"};
    case CPinDescriptions::DlgSYS:
        return QStringList{"SystemPin", "Pin", "Mode", "Speed"};
    default:
        return {};
    }
}
