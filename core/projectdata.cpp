#include "projectdata.h"

ProjectData ProjectData::fresh(const QString &chipModel, bool useExternalRam)
{
    ProjectData project;
    project.currentChip = chipModel;
    const CDlgDescription keys;
    for (auto &network : project.networkInformation)
        network = freshNetwork();
    project.chipInformation = QStringList{keys.type, chipModel};
    project.fsmcInformation =
        QStringList{keys.iSSelectRAM, useExternalRam ? QStringLiteral("1") : QStringLiteral("0")};
    const CPinDescriptions pins(false);
    project.pinNames = pins.pinNames(chipModel);
    for (int i = 0; i < project.pinNames.size(); ++i)
        project.pinFunctions << QStringLiteral(" ");
    return project;
}

QStringList ProjectData::freshNetwork()
{
    const CDlgDescription keys;
    QStringList network;
    for (int i = 0; i < keys.networkKeys.size(); ++i)
        network << keys.networkKeys.at(i) << (i % 6 == 0 ? QStringLiteral("1") : QString());
    return network;
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
    return 2 * int(rowKeys(type).size());
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

RowCell rowCellOf(const QString &key)
{
    if (key == QLatin1String("Pin"))
        return RowCell::Pin;
    if (key == QLatin1String("SystemPin"))
        return RowCell::Description;
    if (key == QLatin1String("Index"))
        return RowCell::Number;
    if (key == QLatin1String("SliceSelectPinIsEnble"))
        return RowCell::Enable;
    if (key.startsWith(QLatin1String("SliceSelectPin_")))
        return RowCell::Bit;
    return RowCell::Options;
}

QString valueOf(const QStringList &list, const QString &key)
{
    for (int i = 0; i + 1 < list.size(); i += 2)
        if (list.at(i) == key)
            return list.at(i + 1);
    return QString();
}

bool ProjectData::useExternalRam() const
{
    return valueOf(fsmcInformation, QStringLiteral("iSSelectRAM")) == QLatin1String("1");
}

QString recordValue(const QStringList &list, int record, int field, int fields)
{
    return list.value(2 * (record * fields + field) + 1);
}

int recordCount(const QStringList &list, int fields)
{
    return fields > 0 ? int(list.size()) / (2 * fields) : 0;
}

void setValueOf(QStringList &list, const QString &key, const QString &value)
{
    for (int i = 0; i + 1 < list.size(); i += 2)
        if (list.at(i) == key) {
            list[i + 1] = value;
            return;
        }
    list << key << value;
}

namespace {

// "0" is what a table stores for a bit or film without a pin.
QString pinOrEmpty(const QString &stored)
{
    return stored == QLatin1String("0") ? QString() : stored;
}

} // namespace

QVector<ChipSelectRow> chipSelectRows(const ProjectData &project, CPinDescriptions::DlgType type)
{
    QVector<ChipSelectRow> rows;
    const QStringList *list = project.tableList(type);
    const int perRow = stringsPerRow(type);
    if (!list || perRow == 0 || !rowKeys(type).contains(QLatin1String("SliceSelectPin_0Bit")))
        return rows;
    for (int row = 1; row * perRow <= list->size(); ++row) {
        const QString prefix = QString::number(row);
        ChipSelectRow entry;
        entry.pin = valueOf(*list, prefix + QLatin1String("Pin"));
        for (int bit = 3; bit >= 0; --bit)
            entry.bitPins << pinOrEmpty(
                valueOf(*list, prefix + QStringLiteral("SliceSelectPin_%1Bit").arg(bit)));
        rows << entry;
    }
    return rows;
}

QStringList spiChipSelectPins(const ProjectData &project, int port)
{
    QStringList pins;
    if (port < 1 || port > int(project.spiInformation.size()))
        return pins;
    for (int film = 1; film <= 3; ++film)
        pins << pinOrEmpty(valueOf(project.spiInformation.at(port - 1),
                                   QStringLiteral("SliceSelect%1Pin").arg(film)));
    return pins;
}

QStringList chipSelectPinsInUse(const ProjectData &project, CPinDescriptions::DlgType type)
{
    QStringList pins;
    if (type >= CPinDescriptions::DlgSPI1 && type <= CPinDescriptions::DlgSPI3)
        pins = spiChipSelectPins(project, type - CPinDescriptions::DlgSPI1 + 1);
    else
        for (const ChipSelectRow &row : chipSelectRows(project, type))
            pins += row.bitPins;
    pins.removeAll(QString());
    return pins;
}

QStringList networkBlock(const ProjectData &project, int port, int film)
{
    QStringList block;
    if (port < 1 || port > int(project.networkInformation.size()) || film < 1 || film > 3)
        return block;
    const CDlgDescription keys;
    const QString prefix = QStringLiteral("FilmApplication%1").arg(film);
    for (const QString &key : keys.networkKeys)
        if (key.startsWith(prefix))
            block << key << valueOf(project.networkInformation.at(port - 1), key);
    return block;
}
