#include "tablefixtures.h"

#include "chipfacts.h"
#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectsync.h"
#include "tablelayout.h"

#include <algorithm>

namespace TableFixtures {

QStringList pairs(const QStringList &keys, const QStringList &values)
{
    QStringList list;
    for (int i = 0; i < keys.size(); ++i)
        list << keys.at(i) << values.value(i);
    return list;
}

ProjectData projectWith(const QString &chip, const QVector<QPair<QString, QString>> &functions,
                        const QString &background)
{
    ProjectData project = ProjectData::fresh(chip, false);
    for (QString &function : project.pinFunctions)
        function = background;
    for (const auto &entry : functions) {
        const int at = project.pinNames.indexOf(entry.first);
        if (at < 0)
            qFatal("%s has no pin %s", qPrintable(chip), qPrintable(entry.first));
        project.pinFunctions[at] = entry.second;
    }
    return project;
}

namespace {

// Pins and option choices that differ between the two chips.
struct ChipPlan
{
    QString chip;
    bool ram;
    QString doSpeed;
    QString aoSelect;
    QStringList exitPins;
    QStringList sysPins;
    QStringList usartPins;  // TX, RX of ports 1..6 ("" for an unused port)
    QStringList spiSelects; // SPI1 film 1, SPI1 film 2, SPI3 film 1
};

ChipPlan planFor(const QString &chip)
{
    if (chip == ChipFacts::F103)
        return {
            chip,
            false,
            "1",
            "PC6",
            {"PC7", "PC8"},
            {"PC9", "PC13", "PB8", "PA11"},
            {"PA9", "PA10", "PA2", "PA3", "PB10", "PB11", "PC10", "PC11", "PC12", "PD2", "", ""},
            {"PB12", "PB6", "PB7"}};
    return {
        chip,
        true,
        "2",
        "PG6",
        {"PG7", "PG8"},
        {"PE2", "PE3", "PE4", "PE5"},
        {"PB6", "PB7", "PA2", "PA3", "PB10", "PB11", "PC10", "PC11", "PC12", "PD2", "PC6", "PC7"},
        {"PF6", "PF7", "PF8"}};
}

} // namespace

QByteArray hex(const char *spaced)
{
    return QByteArray::fromHex(QByteArray(spaced).replace(' ', ""));
}

QByteArray withReservedBytes(const QByteArray &table, char fill, int *blocks)
{
    namespace L = TableLayout;
    QVector<L::SectionSpan> spans;
    if (!L::splitSections(table, &spans, nullptr))
        qFatal("not a transfer-form table");
    QByteArray padded = table;
    *blocks = 0;
    // A configured SPI record: its mark, three pins, eight options, the CRC
    // option, then per film its application, its pin and its network block:
    // addressing, four addresses and the port before the reserved bytes.
    const int filmsAt = 1 + 3 * L::pinFieldSize + 8 * 2 + 1;
    const int reservedAt = 1 + L::pinFieldSize + 1 + 4 * 4 + 2;
    for (const L::SectionSpan &span : spans) {
        if (span.section < L::Spi1 || span.section > L::Spi3 || span.end - span.begin < 2)
            continue;
        for (int film = 0; film < L::filmCount; ++film, ++*blocks) {
            const int at = span.begin + filmsAt + film * L::filmBlockSize + reservedAt;
            for (int i = at; i < span.begin + filmsAt + (film + 1) * L::filmBlockSize; ++i)
                padded[i] = fill;
        }
    }
    return padded;
}

QStringList row(CPinDescriptions::DlgType type, int number, const QStringList &values)
{
    QStringList keys;
    for (const QString &key : rowKeys(type))
        keys << QString::number(number) + key;
    return pairs(keys, values);
}

QStringList usart(const QString &tx, const QString &rx, const QStringList &options)
{
    return pairs(CDlgDescription().usartKeys, QStringList{tx, rx} + options);
}

QStringList sockets(const QList<QStringList> &socketValues)
{
    QStringList values;
    for (const QStringList &socket : socketValues)
        values += socket;
    return pairs(CDlgDescription().socketKeys, values);
}

QStringList spi(const QStringList &values)
{
    return pairs(CDlgDescription().spiKeys, values);
}

QStringList network(int film, const QStringList &values)
{
    return pairs(CDlgDescription().networkKeys.mid(6 * (film - 1), 6), values);
}

void setFunction(ProjectData &project, const QString &pin, const QString &function)
{
    const int index = project.pinNames.indexOf(pin);
    if (index >= 0)
        project.pinFunctions[index] = function;
}

bool setValue(QStringList &list, const QString &key, const QString &value)
{
    for (int i = 0; i + 1 < list.size(); i += 2) {
        if (list.at(i) == key) {
            list[i + 1] = value;
            return true;
        }
    }
    return false;
}

int setRowValue(ProjectData &project, CPinDescriptions::DlgType type, const QString &pin,
                const QString &key, const QString &value)
{
    QStringList &list = *project.tableList(type);
    for (int row = 1; row * stringsPerRow(type) <= list.size(); ++row) {
        const QString prefix = QString::number(row);
        if (valueOf(list, prefix + "Pin") == pin)
            return setValue(list, prefix + key, value) ? row : 0;
    }
    return 0;
}

int rowsOf(const ProjectData &project, CPinDescriptions::DlgType type)
{
    return int(project.tableList(type)->size()) / stringsPerRow(type);
}

QString rowValue(const ProjectData &project, CPinDescriptions::DlgType type, int row,
                 const QString &key)
{
    return valueOf(*project.tableList(type), QString::number(row) + key);
}

QString rowValue(const ProjectData &project, CPinDescriptions::DlgType type, const QString &pin,
                 const QString &key)
{
    for (int row = 1; row <= rowsOf(project, type); ++row)
        if (rowValue(project, type, row, "Pin") == pin)
            return rowValue(project, type, row, key);
    return QString();
}

ProjectData spiProject(const QString &chip, int port, const QStringList &films)
{
    const ChipFacts::PortGroup group = ChipFacts::spiGroup(chip, port, QLatin1Char('A'));
    QVector<QPair<QString, QString>> functions;
    for (int i = 0; i < group.pins.size(); ++i)
        functions.append({group.pins.at(i), group.signalNames.value(i)});
    ProjectData project = projectWith(chip, functions);
    QStringList values = group.pins;
    while (values.size() < 12)
        values << "0";
    project.spiInformation[port - 1] = spi(values + films);
    return project;
}

ProjectData fullyConfigured(const QString &chipModel)
{
    using D = CPinDescriptions;
    const ChipPlan plan = planFor(chipModel);
    ProjectData p = ProjectData::fresh(chipModel, plan.ram);
    const CPinDescriptions catalogue(plan.ram);
    for (const auto &fixed : catalogue.fixedPins(chipModel))
        p.pinFunctions[fixed.first] = fixed.second;
    if (plan.ram)
        for (const auto &bus : catalogue.externalBusPins())
            p.pinFunctions[bus.first] = bus.second;

    p.diInformation = row(D::DlgDI, 1, {"PA0", "1", "1", "0", "0", "0", "0", "0"}) +
                      row(D::DlgDI, 2, {"PA1", "0", "2", "1", "0", "0", "PC1", "PC0"});
    // Rows come in package order, as the tables store them.
    p.doInformation =
        row(D::DlgDO, 1, {"PB0", "0", "3", "17", "0", "0", "0", "0", "0"}) +
        row(D::DlgDO, 2, {"PA8", "1", plan.doSpeed, "1", "1", "PC5", "PC4", "PC3", "PC2"});
    p.aiInformation = row(D::DlgAI, 1, {"PB1", "1", "0", "0", "0", "0", "0"});
    p.aoInformation = row(D::DlgAO, 1, {"PA4", "3", "1", "0", "0", "0", plan.aoSelect});
    p.exitInformation = row(D::DlgEXIT, 1, {plan.exitPins.at(0), "1", "1", "2", "3", "2", "5"}) +
                        row(D::DlgEXIT, 2, {plan.exitPins.at(1), "0", "0", "0", "0", "0", "1"});
    const QStringList sys{"SYS_RunLed", "SYS_INIT", "SYS_WatchDog", "SYS_FaultLed"};
    const QStringList sysModes{"0", "1", "1", "0"};
    const QStringList sysSpeeds{"1", "0", "3", "0"};
    QVector<int> sysOrder{0, 1, 2, 3};
    std::sort(sysOrder.begin(), sysOrder.end(), [&](int a, int b) {
        return p.pinNames.indexOf(plan.sysPins.at(a)) < p.pinNames.indexOf(plan.sysPins.at(b));
    });
    for (int n = 0; n < sysOrder.size(); ++n) {
        const int i = sysOrder.at(n);
        p.sysInformation +=
            row(D::DlgSYS, n + 1, {sys.at(i), plan.sysPins.at(i), sysModes.at(i), sysSpeeds.at(i)});
        setFunction(p, plan.sysPins.at(i), sys.at(i));
    }

    const QList<QStringList> portOptions{{"4", "1", "2", "2", "5"},  {"0", "0", "0", "0", "11"},
                                         {"6", "0", "3", "1", "3"},  {"1", "0", "1", "0", "7"},
                                         {"2", "1", "0", "1", "10"}, {"5", "1", "1", "2", "8"}};
    QList<QStringList> modem;
    for (int n = 1; n <= 8; ++n)
        modem << QStringList{QString::number((n - 1) % 4),
                             QStringLiteral("10.0.%1.%2").arg(n).arg(200 + n),
                             QString::number(500 + n)};
    for (int port = 1; port <= 6; ++port) {
        const QString tx = plan.usartPins.at(2 * (port - 1));
        const QString rx = plan.usartPins.at(2 * (port - 1) + 1);
        if (tx.isEmpty()) {
            // A port without pins: its table stores every option as "0".
            p.usartInformation[port - 1] = usart(QString(), QString(), {"0", "0", "0", "0", "0"});
            continue;
        }
        p.usartInformation[port - 1] = usart(tx, rx, portOptions.at(port - 1));
        setFunction(p, tx, catalogue.usartTxNames.at(port - 1));
        setFunction(p, rx, catalogue.usartRxNames.at(port - 1));
    }
    p.wirelessInformation[0] = sockets(modem);
    if (plan.ram)
        p.wirelessInformation[5] = sockets(modem.mid(4) + modem.mid(0, 4));

    const QStringList sel = plan.spiSelects;
    p.spiInformation[0] = spi({"PA5", "PA6", "PA7", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                               "2", sel.at(0), "3", sel.at(1), "0", "0"});
    p.spiInformation[1] = spi({"PB13", "PB14", "PB15", "3", "1", "1", "1", "1", "1", "7", "1", "1",
                               "0", "0", "0", "0", "0", "0"});
    p.spiInformation[2] = spi({"PB3", "PB4", "PB5", "1", "0", "1", "0", "1", "0", "3", "0", "0",
                               "1", sel.at(2), "0", "0", "0", "0"});
    p.networkInformation[0] =
        network(1, {"2", "192.168.0.10", "255.255.0.0", "192.168.0.1", "8.8.8.8", "50000"}) +
        network(2, {"1", "", "", "", "8.8.4.4", "50001"}) + network(3, {"1", "", "", "", "", ""});
    const QStringList spiPins{"PA5", "PA6", "PA7", "PB13", "PB14", "PB15", "PB3", "PB4", "PB5"};
    const QStringList signalNames{"SCK", "MISO", "MOSI"};
    for (int i = 0; i < spiPins.size(); ++i)
        setFunction(p, spiPins.at(i),
                    QStringLiteral("SPI%1_%2").arg(i / 3 + 1).arg(signalNames.at(i % 3)));
    setFunction(p, sel.at(0), "SPI1_CS1");
    setFunction(p, sel.at(1), "SPI1_CS2");
    setFunction(p, sel.at(2), "SPI3_CS1");

    for (const QString pin : {"PA0", "PA1"})
        setFunction(p, pin, "Normal_DI");
    setFunction(p, "PC0", "DI_CS1");
    setFunction(p, "PC1", "DI_CS2");
    for (const QString pin : {"PA8", "PB0"})
        setFunction(p, pin, "Normal_DO");
    for (int bit = 0; bit < 4; ++bit)
        setFunction(p, QStringLiteral("PC%1").arg(2 + bit), QStringLiteral("DO_CS%1").arg(bit + 1));
    setFunction(p, "PB1", "ADC");
    setFunction(p, "PA4", "DAC");
    setFunction(p, plan.aoSelect, "AO_CS1");
    for (const QString &pin : plan.exitPins)
        setFunction(p, pin, "EXIT");
    return p;
}

ProjectData saved(const QString &chipModel)
{
    return ProjectSync::current(fullyConfigured(chipModel));
}

} // namespace TableFixtures
