#include "projecttexts.h"

#include "chipfacts.h"
#include "projectfile.h"
#include "settingsrules.h"

namespace ProjectTexts {

namespace {

using D = CPinDescriptions;

bool isRowTable(D::DlgType type)
{
    return !rowKeys(type).isEmpty();
}

bool isSerial(D::DlgType type)
{
    return type >= D::DlgUSART1 && type <= D::DlgUSART6;
}

bool isSpi(D::DlgType type)
{
    return type >= D::DlgSPI1 && type <= D::DlgSPI3;
}

bool isPinKey(D::DlgType type, const QString &key)
{
    if (isRowTable(type))
        return key == QLatin1String("Pin") || key.startsWith(QLatin1String("SliceSelectPin_"));
    return key.endsWith(QLatin1String("PinName")) ||
           (key.startsWith(QLatin1String("SliceSelect")) && key.endsWith(QLatin1String("Pin")));
}

// "0" and an empty text both mean: no pin.
bool hasPin(const QString &stored)
{
    return !stored.isEmpty() && stored != QLatin1String("0");
}

QStringList rowTableOptions(const CDlgDescription &text, D::DlgType type, const QString &key)
{
    if (key == text.sliceSelectPinIsEnble) // the cell offers 关, 开, 同上
        return {text.enableOptions.value(1), text.enableOptions.value(0),
                text.enableOptions.value(2)};
    const bool outputs = type == D::DlgDO || type == D::DlgSYS;
    if (key == text.mode)
        return type == D::DlgDI ? text.diInputModes : outputs ? text.doOutputModes : QStringList();
    if (key == text.speed)
        return outputs ? text.doSpeeds : QStringList();
    if (type != D::DlgEXIT)
        return {};
    if (key == text.inputMode)
        return text.exitInputModes;
    if (key == text.triggerMode)
        return text.exitTriggerModes;
    if (key == text.triggerWay)
        return text.exitTriggerWays;
    if (key == text.prePriority)
        return text.prePriorities;
    if (key == text.subPriority)
        return text.subPriorities;
    return {};
}

QStringList portOptions(const CDlgDescription &text, D::DlgType type, const QString &key)
{
    if (isSerial(type)) {
        if (key.startsWith(QLatin1String("ApplicationOfSocket")))
            return text.socketApplications;
        const QVector<QStringList> options{text.baudRates, text.dataBitOptions, text.stopBitOptions,
                                           text.parityOptions, text.portApplications};
        return options.value(text.usartKeys.indexOf(key) - 2);
    }
    if (isSpi(type)) {
        const QVector<QStringList> options{text.spiCommunicationModes,
                                           text.spiWorkModes,
                                           text.spiDataFrames,
                                           text.spiClockStates,
                                           text.spiCaptureEdges,
                                           text.spiCsModes,
                                           text.spiPrescalers,
                                           text.spiFirstBits,
                                           text.spiCrcPolynomials,
                                           text.film1Applications,
                                           {},
                                           text.film2Applications,
                                           {},
                                           text.film3Applications};
        return options.value(text.spiKeys.indexOf(key) - 3);
    }
    return {};
}

// Rows of a table shown as parameter and value.
QVector<QStringList> fieldRows(const CDlgDescription &text, D::DlgType type,
                               const QStringList &list, const QStringList &keys,
                               const QStringList &titles)
{
    QVector<QStringList> rows;
    for (int i = 0; i < keys.size(); ++i)
        rows << QStringList{titles.value(i),
                            valueText(text, type, keys.at(i), valueOf(list, keys.at(i)))};
    return rows;
}

Table rowTable(const ProjectData &project, const CDlgDescription &text, D::DlgType type)
{
    Table table{tableName(type), rowTitle(text, type), rowHeaders(text, type), {}, false, {}, type};
    const QStringList &list = *project.tableList(type);
    const QStringList keys = rowKeys(type);
    for (int row = 1; row * stringsPerRow(type) <= list.size(); ++row) {
        QStringList cells;
        for (const QString &key : keys)
            cells << valueText(text, type, key, valueOf(list, QString::number(row) + key));
        table.rows << cells;
    }
    table.used = !table.rows.isEmpty();
    return table;
}

QVector<Table> serialTables(const ProjectData &project, const CDlgDescription &text, int port)
{
    const D::DlgType type = D::DlgType(D::DlgUSART1 + port - 1);
    const QString name = tableName(type);
    const QStringList &list = project.usartInformation.at(port - 1);
    Table serial{name,
                 name,
                 text.headersNetwork.mid(0, 2),
                 fieldRows(text, type, list, text.usartKeys, text.headersUSART),
                 hasPin(valueOf(list, text.usartKeys.value(0))),
                 {},
                 type};

    Table wireless{name + QLatin1Char(' ') + text.titleWireless,
                   text.titleWireless,
                   text.headersSocket,
                   {},
                   false,
                   name,
                   type};
    const QStringList &sockets = project.wirelessInformation.at(port - 1);
    for (int socket = 0; socket < text.socketKeys.size() / 3; ++socket) {
        QStringList cells{text.socketName.arg(socket + 1)};
        for (int field = 0; field < 3; ++field) {
            const QString key =
                SettingsRules::socketKey(socket + 1, SettingsRules::SocketField(field));
            cells << valueText(text, type, key, valueOf(sockets, key));
        }
        wireless.rows << cells;
    }
    wireless.used =
        serial.used && valueOf(list, text.usartKeys.value(6)).toInt() >= firstWirelessApplication;
    return {serial, wireless};
}

QVector<Table> spiTables(const ProjectData &project, const CDlgDescription &text, int port)
{
    const D::DlgType type = D::DlgType(D::DlgSPI1 + port - 1);
    const QString name = tableName(type);
    const QStringList &list = project.spiInformation.at(port - 1);
    Table spi{name,
              name,
              text.headersNetwork.mid(0, 2),
              fieldRows(text, type, list, text.spiKeys, text.headersSPI),
              hasPin(valueOf(list, text.spiKeys.value(0))),
              {},
              type};

    Table network{name + QLatin1Char(' ') + text.titleNetwork,
                  text.titleNetwork,
                  text.headersFilmNetwork,
                  {},
                  false,
                  name,
                  type};
    for (int film = 1; film <= 3; ++film) {
        const QStringList block = networkBlock(project, port, film);
        QStringList cells{text.filmName.arg(film)};
        for (int i = 0; i + 1 < block.size(); i += 2)
            cells << valueText(text, type, block.at(i), block.at(i + 1));
        network.rows << cells;
        const QString application = QStringLiteral("Film%1Application").arg(film);
        if (spi.used && valueOf(list, application).toInt() >= firstNetworkApplication)
            network.used = true;
    }
    return {spi, network};
}

} // namespace

QString tableName(D::DlgType type)
{
    if (isSerial(type))
        return ChipFacts::serialPorts().at(type - D::DlgUSART1);
    if (isSpi(type))
        return ChipFacts::spiPorts().at(type - D::DlgSPI1);
    return ProjectFile::sectionOf(type);
}

QString terminalLetter(D::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return QStringLiteral("X");
    case D::DlgDO:
        return QStringLiteral("Y");
    case D::DlgAI:
        return QStringLiteral("XA");
    case D::DlgAO:
        return QStringLiteral("YA");
    default:
        return QString();
    }
}

QString rowTitle(const CDlgDescription &text, D::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return text.titleDI;
    case D::DlgDO:
        return text.titleDO;
    case D::DlgAI:
        return text.titleAI;
    case D::DlgAO:
        return text.titleAO;
    case D::DlgEXIT:
        return text.titleEXIT;
    case D::DlgSYS:
        return text.titleSYS;
    default:
        return QString();
    }
}

QStringList rowHeaders(const CDlgDescription &text, D::DlgType type)
{
    switch (type) {
    case D::DlgDI:
        return text.headersDI;
    case D::DlgDO:
        return text.headersDO;
    case D::DlgAI:
        return text.headersAI;
    case D::DlgAO:
        return text.headersAO;
    case D::DlgEXIT:
        return text.headersEXIT;
    case D::DlgSYS:
        return text.headersSYS;
    default:
        return QStringList();
    }
}

QStringList optionsOf(const CDlgDescription &text, D::DlgType type, const QString &key)
{
    return isRowTable(type) ? rowTableOptions(text, type, key) : portOptions(text, type, key);
}

QString valueText(const CDlgDescription &text, D::DlgType type, const QString &key,
                  const QString &value)
{
    if (isPinKey(type, key))
        return hasPin(value) ? value : text.noneText;
    if (key.endsWith(QLatin1String("UseAutoGetIP"))) // stored from 1
        return text.addressingOptions.value(value.toInt() - 1, value);
    const QStringList options = optionsOf(text, type, key);
    bool ok = false;
    const int index = value.toInt(&ok);
    return ok && index >= 0 && index < options.size() ? options.at(index) : value;
}

QVector<Table> tablesOf(const ProjectData &project, const CDlgDescription &text)
{
    QVector<Table> tables{rowTable(project, text, D::DlgDI), rowTable(project, text, D::DlgDO),
                          rowTable(project, text, D::DlgAI), rowTable(project, text, D::DlgAO),
                          rowTable(project, text, D::DlgEXIT)};
    for (int port = 1; port <= ChipFacts::serialPorts().size(); ++port)
        tables += serialTables(project, text, port);
    for (int port = 1; port <= ChipFacts::spiPorts().size(); ++port)
        tables += spiTables(project, text, port);
    tables << rowTable(project, text, D::DlgSYS);
    return tables;
}

} // namespace ProjectTexts
