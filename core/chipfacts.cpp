#include "chipfacts.h"

namespace ChipFacts {

namespace {

using D = CPinDescriptions;

// Pins of each port, by port number - 1; an empty entry where the chip has no
// such pins.
struct PortPins
{
    QVector<QStringList> first;
    QVector<QStringList> alternative;
};

const PortPins &serialPins(const QString &model)
{
    static const PortPins f103{
        {{"PA9", "PA10"}, {"PA2", "PA3"}, {"PB10", "PB11"}, {"PC10", "PC11"}, {"PC12", "PD2"}, {}},
        {{}, {}, {}, {}, {}, {}}};
    static const PortPins f407{
        {{"PA9", "PA10"},
         {"PA2", "PA3"},
         {"PD8", "PD9"},
         {"PC10", "PC11"},
         {"PC12", "PD2"},
         {"PC6", "PC7"}},
        {{"PB6", "PB7"}, {"PD5", "PD6"}, {"PB10", "PB11"}, {"PA0", "PA1"}, {}, {"PG14", "PG9"}}};
    static const PortPins none{{{}, {}, {}, {}, {}, {}}, {{}, {}, {}, {}, {}, {}}};
    return model == F103 ? f103 : model == F407 ? f407 : none;
}

const PortPins &spiPins(const QString &model)
{
    static const PortPins f103{
        {{"PA5", "PA6", "PA7"}, {"PB13", "PB14", "PB15"}, {"PB3", "PB4", "PB5"}}, {{}, {}, {}}};
    static const PortPins f407{
        {{"PA5", "PA6", "PA7"}, {"PB13", "PB14", "PB15"}, {"PC10", "PC11", "PC12"}},
        {{"PB3", "PB4", "PB5"}, {"PB10", "PC2", "PC3"}, {"PB3", "PB4", "PB5"}}};
    static const PortPins none{{{}, {}, {}}, {{}, {}, {}}};
    return model == F103 ? f103 : model == F407 ? f407 : none;
}

PortGroup makeGroup(const PortPins &pins, const QStringList &ports, const QStringList &suffixes,
                    int port, QChar variant)
{
    PortGroup group;
    if (port < 1 || port > ports.size())
        return group;
    group.port = ports.at(port - 1);
    group.variant = variant;
    const QVector<QStringList> &sets = variant == QLatin1Char('B') ? pins.alternative : pins.first;
    group.pins = sets.value(port - 1);
    if (!group.pins.isEmpty())
        for (const QString &suffix : suffixes)
            group.signalNames << group.port + suffix;
    return group;
}

const QStringList kSerialSuffixes{"_TX", "_RX"};
const QStringList kSpiSuffixes{"_SCK", "_MISO", "_MOSI"};

QVector<PortGroup> allGroups(const QString &model, bool serial)
{
    QVector<PortGroup> groups;
    const int ports = serial ? serialPorts().size() : spiPorts().size();
    for (QChar variant : {QLatin1Char('A'), QLatin1Char('B')})
        for (int port = 1; port <= ports; ++port) {
            PortGroup group =
                serial ? serialGroup(model, port, variant) : spiGroup(model, port, variant);
            if (!group.pins.isEmpty())
                groups << group;
        }
    return groups;
}

} // namespace

const QStringList &models()
{
    static const QStringList list{F103, F407};
    return list;
}

bool isKnown(const QString &model)
{
    return models().contains(model);
}

int pinCount(const QString &model)
{
    return model == F103 ? pinCountF103 : model == F407 ? pinCountF407 : 0;
}

quint8 code(const QString &model)
{
    return model == F103 ? 0x01 : model == F407 ? 0x10 : 0x00;
}

bool hasExternalBus(const QString &model)
{
    return model == F407;
}

const QStringList &serialPorts()
{
    static const QStringList ports{"USART1", "USART2", "USART3", "UART4", "UART5", "USART6"};
    return ports;
}

const QStringList &spiPorts()
{
    static const QStringList ports{"SPI1", "SPI2", "SPI3"};
    return ports;
}

PortGroup serialGroup(const QString &model, int port, QChar variant)
{
    return makeGroup(serialPins(model), serialPorts(), kSerialSuffixes, port, variant);
}

PortGroup spiGroup(const QString &model, int port, QChar variant)
{
    return makeGroup(spiPins(model), spiPorts(), kSpiSuffixes, port, variant);
}

QVector<PortGroup> serialGroups(const QString &model)
{
    return allGroups(model, true);
}

QVector<PortGroup> spiGroups(const QString &model)
{
    return allGroups(model, false);
}

bool hasTable(const QString &model, D::DlgType type)
{
    if (type < D::DlgUSART1 || type > D::DlgUSART6)
        return isKnown(model);
    const int port = type - D::DlgUSART1 + 1;
    return !serialGroup(model, port, QLatin1Char('A')).pins.isEmpty() ||
           !serialGroup(model, port, QLatin1Char('B')).pins.isEmpty();
}

const QStringList &chipSelectExcluded()
{
    static const QStringList pins{"PD0", "PD1", "PB2", "PDR_ON"};
    return pins;
}

QString chipSelectPrefix(D::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return QStringLiteral("DI_CS");
    case D::DlgDO:
        return QStringLiteral("DO_CS");
    case D::DlgAI:
        return QStringLiteral("AI_CS");
    case D::DlgAO:
        return QStringLiteral("AO_CS");
    case D::DlgSPI1:
    case D::DlgSPI2:
    case D::DlgSPI3:
        return spiPorts().at(type - D::DlgSPI1) + QStringLiteral("_CS");
    default:
        return QString();
    }
}

D::DlgType chipSelectTableOf(const QString &function)
{
    for (D::DlgType type :
         {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgSPI1, D::DlgSPI2, D::DlgSPI3})
        if (function.startsWith(chipSelectPrefix(type)))
            return type;
    return D::DlgNone;
}

D::DlgType tableOf(const QString &function)
{
    if (chipSelectTableOf(function) != D::DlgNone)
        return D::DlgNone;
    if (function.contains(QLatin1String("Normal_DI")))
        return D::DlgDI;
    if (function.contains(QLatin1String("Normal_DO")))
        return D::DlgDO;
    if (function.contains(QLatin1String("ADC")))
        return D::DlgAI;
    if (function.contains(QLatin1String("DAC")))
        return D::DlgAO;
    if (function.contains(QLatin1String("EXIT")))
        return D::DlgEXIT;
    for (int n = 0; n < serialPorts().size(); ++n)
        if (function.startsWith(serialPorts().at(n) + QLatin1Char('_')))
            return D::DlgType(D::DlgUSART1 + n);
    for (int n = 0; n < spiPorts().size(); ++n)
        if (function.startsWith(spiPorts().at(n) + QLatin1Char('_')))
            return D::DlgType(D::DlgSPI1 + n);
    if (function.startsWith(QLatin1String("SYS")))
        return D::DlgSYS;
    return D::DlgNone;
}

} // namespace ChipFacts
