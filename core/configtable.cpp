#include "configtable.h"

#include "fieldencoder.h"
#include "settingsrules.h"
#include "tablelayout.h"
#include "tablerules.h"

#include <QCoreApplication>
#include <QVector>
#include <functional>

namespace ConfigTable {

namespace {

namespace L = TableLayout;
using namespace TableBytes;
using Refusals = QVector<Refusal>;

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

QByteArray tagged(int section)
{
    QByteArray out;
    const QByteArray tag = L::tag(section);
    put8(out, tag.size());
    out += tag;
    return out;
}

QString chipOf(const ProjectData &project)
{
    return project.currentChip.isEmpty() ? valueOf(project.chipInformation, QStringLiteral("Type"))
                                         : project.currentChip;
}

bool knownChip(const QString &chipModel)
{
    return L::lastPortIndex(chipModel) > 0;
}

// The values of record `record` of `count` keys (a row, or a whole vertical
// table); missing ones are empty.
QStringList valuesAt(const QStringList &list, int record, int count)
{
    QStringList values;
    for (int v = 0; v < count; ++v)
        values << recordValue(list, record, v, count);
    return values;
}

// The bytes of a section once every value was given to the encoder; they
// count only when nothing was refused.
// A section encoded whole, or refused in the words of its first refusal.
template <typename Encode> bool wholeSection(Encode encode, QByteArray *section, QString *error)
{
    Refusals found;
    const QByteArray bytes = encode(&found);
    if (!found.isEmpty()) {
        setError(error, found.first().message);
        return false;
    }
    *section = bytes;
    return true;
}

using RowEncoder = std::function<void(FieldEncoder &, const QStringList &, QByteArray &)>;

// Pin fields and option codes exist for the two chip models only.
bool checkChip(const QString &chip, int section, Refusals *found)
{
    if (knownChip(chip))
        return true;
    found->append(Refusal{section, 0, QString(), chip,
                          QCoreApplication::translate("ConfigTable", "%1段：未知的芯片型号“%2”")
                              .arg(L::sectionName(section), chip)});
    return false;
}

QByteArray rowSection(const ProjectData &project, int section, const QStringList &list,
                      int stringsPerRow, const RowEncoder &encodeRow, Refusals *found)
{
    const int rows = list.size() / stringsPerRow;
    if (rows > L::maxRows)
        found->append(
            Refusal{section, 0, QString(), QString::number(rows),
                    QCoreApplication::translate("ConfigTable", "%1段有%2行，一个表最多%3行")
                        .arg(L::sectionName(section))
                        .arg(rows)
                        .arg(L::maxRows)});
    const QString chip = chipOf(project);
    if (rows > 0 && !checkChip(chip, section, found))
        return {};
    QByteArray bytes = tagged(section);
    put8(bytes, rows);
    if (rows > 0)
        put8(bytes, L::rowSize(section));
    FieldEncoder encoder(chip, section);
    for (int r = 0; r < rows; ++r) {
        encoder.setRow(r + 1);
        const int before = int(encoder.refusals().size());
        QByteArray row;
        encodeRow(encoder, valuesAt(list, r, stringsPerRow / 2), row);
        Q_ASSERT(encoder.refusals().size() > before || row.size() == L::rowSize(section));
        bytes += row;
    }
    *found += encoder.refusals();
    return bytes;
}

// Slice-select part of a DI/DO/AI/AO row: `values` holds the enable at
// `enableAt`, then bits 3, 2, 1, 0; the table takes the count, then the pins
// bit 0 first.
void encodeChipSelects(FieldEncoder &e, const QStringList &values, int enableAt, QByteArray &row)
{
    const QStringList bits{values.at(enableAt + 4), values.at(enableAt + 3),
                           values.at(enableAt + 2), values.at(enableAt + 1)};
    e.chipSelectCount(values.at(enableAt), bits, row);
    for (int bit = 0; bit < 4; ++bit)
        e.pin(QStringLiteral("SliceSelectPin_%1Bit").arg(bit), bits.at(bit), row);
}

void encodeStartTerminal(FieldEncoder &e, const QString &value, QByteArray &row)
{
    int terminal = 0;
    e.number(QStringLiteral("Index"), value, TableRules::maxStartTerminal, &terminal);
    putLE16(row, terminal);
}

const QString kPin = QStringLiteral("Pin");
const QString kMode = QStringLiteral("Mode");
const QString kSpeed = QStringLiteral("Speed");

// One wireless socket: application digit (none when empty), the marker, the
// address over the default 192.168.250.1, the port (LE16).
void encodeSocket(FieldEncoder &e, const QStringList &wireless, int socket, QByteArray &out)
{
    using SettingsRules::SocketField;
    const QString applicationKey = SettingsRules::socketKey(socket, SocketField::Application);
    const QString application = valueOf(wireless, applicationKey);
    const QString address = valueOf(wireless, SettingsRules::socketKey(socket, SocketField::Ip));
    const QString portKey = SettingsRules::socketKey(socket, SocketField::Port);
    const QString port = valueOf(wireless, portKey);
    if (!application.isEmpty()) {
        int index = 0;
        e.optionIndex(applicationKey, application, L::socketApplicationCount, &index);
        out += QByteArray::number(index);
    }
    out += L::socketMarker;
    QByteArray ip("\xC0\xA8\xFA\x01", 4);
    QVector<int> parts;
    if (e.addressParts(SettingsRules::socketKey(socket, SocketField::Ip), address, &parts))
        for (int j = 0; j < parts.size() && j < 4; ++j)
            ip[j] = char(parts.at(j));
    out += ip;
    int portNumber = 0;
    e.number(portKey, port, 0xFFFF, &portNumber);
    putLE16(out, portNumber);
}

// The 32-byte network block of film `film` (1..3) from a port's network list.
void encodeNetworkBlock(FieldEncoder &e, const QStringList &network, int film, QByteArray &out)
{
    using SettingsRules::NetworkField;
    QStringList values;
    QStringList keys;
    for (int f = 0; f < SettingsRules::networkFieldCount; ++f) {
        keys << SettingsRules::networkKey(film, NetworkField(f));
        values << valueOf(network, keys.last());
    }
    QByteArray block(L::networkBlockSize, '\0');
    const char defaults[] = "\x02\xC0\xA8\x01\x58\xFF\xFF\xFF\x00\xC0\xA8\x01\x01";
    for (int i = 0; i < 13; ++i)
        block[i] = defaults[i];
    // The addressing value: 1 automatic, 2 manual (0 or empty: not chosen).
    int automatic = 0;
    if (!values.at(0).isEmpty())
        e.optionIndex(keys.at(0), values.at(0), 3, &automatic);
    block[0] = char(automatic);
    for (int a = 0; a < 4; ++a) {
        // An empty address is one zero part, placed inside the address field
        // (all four empty give 0.0.0.0 there). It never overwrites an
        // address the user entered: a manual address without a DNS server
        // keeps its last byte.
        if (values.at(a + 1).isEmpty() && a > 0 && !values.at(1).isEmpty())
            continue;
        e.placeAddress(keys.at(a + 1), values.at(a + 1), 1, a, block);
    }
    int port = 0;
    e.number(keys.at(5), values.at(5), 0xFFFF, &port);
    block[17] = char(port & 0xFF);
    block[18] = char(port >> 8);
    out += block;
}

bool anyEmpty(const QStringList &values)
{
    for (const QString &value : values)
        if (value.isEmpty())
            return true;
    return false;
}

bool checkPort(int port, int last, const char *kind, Refusals *found)
{
    if (port >= 1 && port <= last)
        return true;
    found->append(Refusal{-1, 0, QString(), QString::number(port),
                          QCoreApplication::translate("ConfigTable", "没有%1端口%2")
                              .arg(QLatin1String(kind))
                              .arg(port)});
    return false;
}

QByteArray fsmcSection(const ProjectData &project, Refusals *found)
{
    const QString flag = valueOf(project.fsmcInformation, QStringLiteral("iSSelectRAM"));
    if (flag != QLatin1String("0") && flag != QLatin1String("1"))
        found->append(Refusal{
            L::Fsmc, 0, QStringLiteral("iSSelectRAM"), flag,
            QCoreApplication::translate("ConfigTable", "FSMC段的iSSelectRAM：“%1”既不是0也不是1")
                .arg(flag)});
    return tagged(L::Fsmc) + flag.toUtf8();
}

QByteArray diSection(const ProjectData &project, Refusals *found)
{
    const QString chip = chipOf(project);
    const auto row = [&](FieldEncoder &e, const QStringList &v, QByteArray &out) {
        e.pin(kPin, v.at(0), out);
        e.option(kMode, v.at(1), L::inputModeCodes(chip), out);
        encodeStartTerminal(e, v.at(2), out);
        encodeChipSelects(e, v, 3, out);
    };
    return rowSection(project, L::DI, project.diInformation, 16, row, found);
}

QByteArray doSection(const ProjectData &project, Refusals *found)
{
    const QString chip = chipOf(project);
    const auto row = [&](FieldEncoder &e, const QStringList &v, QByteArray &out) {
        e.pin(kPin, v.at(0), out);
        e.option(kMode, v.at(1), L::outputModeCodes(chip), out);
        e.option(kSpeed, v.at(2), L::speedCodes(chip), out);
        encodeStartTerminal(e, v.at(3), out);
        encodeChipSelects(e, v, 4, out);
    };
    return rowSection(project, L::DO, project.doInformation, 18, row, found);
}

// AI and AO rows: the pin, the start terminal, the chip selects.
QByteArray analogSection(const ProjectData &project, int section, Refusals *found)
{
    const auto row = [&](FieldEncoder &e, const QStringList &v, QByteArray &out) {
        e.pin(kPin, v.at(0), out);
        encodeStartTerminal(e, v.at(1), out);
        encodeChipSelects(e, v, 2, out);
    };
    const QStringList &list = section == L::AI ? project.aiInformation : project.aoInformation;
    return rowSection(project, section, list, 14, row, found);
}

QByteArray exitSection(const ProjectData &project, Refusals *found)
{
    const QString chip = chipOf(project);
    const auto row = [&](FieldEncoder &e, const QStringList &v, QByteArray &out) {
        int pre = 0;
        int sub = 0;
        int task = 0;
        e.pin(kPin, v.at(0), out);
        e.option(QStringLiteral("InputMode"), v.at(1), L::inputModeCodes(chip), out);
        e.option(QStringLiteral("TriggerMode"), v.at(2), L::triggerModeCodes(), out);
        e.option(QStringLiteral("TriggerWay"), v.at(3), L::triggerWayCodes(), out);
        e.optionIndex(QStringLiteral("PrePriority"), v.at(4), 4, &pre);
        e.optionIndex(QStringLiteral("SubPriority"), v.at(5), 4, &sub);
        e.number(QStringLiteral("Index"), v.at(6), TableRules::maxTaskNumber, &task);
        put8(out, pre);
        put8(out, sub);
        put8(out, task);
    };
    return rowSection(project, L::Exit, project.exitInformation, 14, row, found);
}

QByteArray sysSection(const ProjectData &project, Refusals *found)
{
    const QString chip = chipOf(project);
    const auto row = [&](FieldEncoder &e, const QStringList &v, QByteArray &out) {
        const int function = L::systemFunctions().indexOf(v.at(0));
        if (function < 0)
            e.fail(QStringLiteral("SystemPin"), v.at(0),
                   QCoreApplication::translate("ConfigTable", "不是系统功能"));
        put8(out, function + 1);
        e.pin(kPin, v.at(1), out);
        e.option(kMode, v.at(2), L::outputModeCodes(chip), out);
        e.option(kSpeed, v.at(3), L::speedCodes(chip), out);
    };
    return rowSection(project, L::Sys, project.sysInformation, 8, row, found);
}

QByteArray usartSection(const ProjectData &project, int port, Refusals *found)
{
    if (!checkPort(port, 6, "serial", found))
        return {};
    const int sectionId = L::Usart1 + port - 1;
    const QStringList &list = project.usartInformation.at(port - 1);
    QByteArray bytes = tagged(sectionId);
    const QStringList v = valuesAt(list, 0, 7);
    if (list.size() != 14 || anyEmpty(v)) {
        put8(bytes, 0);
        return bytes;
    }
    const QString chip = chipOf(project);
    if (!checkChip(chip, sectionId, found))
        return {};
    put8(bytes, L::usartFixedSize);
    FieldEncoder e(chip, sectionId);
    e.pin(QStringLiteral("TXPinName"), v.at(0), bytes);
    e.pin(QStringLiteral("RXPinName"), v.at(1), bytes);
    e.option(QStringLiteral("Baud"), v.at(2), L::baudRates(), bytes, 3);
    e.option(QStringLiteral("DataBit"), v.at(3), L::dataBitCodes(), bytes, 2);
    e.option(QStringLiteral("StopBit"), v.at(4), L::stopBitCodes(), bytes, 2);
    e.option(QStringLiteral("CheckBit"), v.at(5), L::parityCodes(), bytes, 2);
    e.option(QStringLiteral("PortApplication"), v.at(6), L::portApplicationCodes(), bytes);
    const QStringList &wireless = project.wirelessInformation.at(port - 1);
    for (int socket = 1; socket <= L::socketCount; ++socket)
        encodeSocket(e, wireless, socket, bytes);
    *found += e.refusals();
    return bytes;
}

QByteArray spiSection(const ProjectData &project, int port, Refusals *found)
{
    if (!checkPort(port, 3, "SPI", found))
        return {};
    const int sectionId = L::Spi1 + port - 1;
    const QStringList v = valuesAt(project.spiInformation.at(port - 1), 0, 18);
    QByteArray bytes = tagged(sectionId);
    if (anyEmpty(v)) {
        put8(bytes, 0);
        return bytes;
    }
    const QString chip = chipOf(project);
    if (!checkChip(chip, sectionId, found))
        return {};
    put8(bytes, L::spiRecordSize);
    FieldEncoder e(chip, sectionId);
    const QVector<QPair<const char *, QVector<int>>> options{
        {"CommunicationMode", L::spiDirectionCodes()},
        {"WorkMode", L::spiModeCodes()},
        {"DataFrame", L::spiDataSizeCodes()},
        {"ClockState", L::spiPolarityCodes()},
        {"CaptureClockEdge", L::spiPhaseCodes()},
        {"FilmSelectionMode", L::spiChipSelectCodes()},
        {"BaudRatePrefrequencyValue", L::spiPrescalerCodes()},
        {"DataTransmissionStartBit", L::spiFirstBitCodes()}};
    e.pin(QStringLiteral("SCKPinName"), v.at(0), bytes);
    e.pin(QStringLiteral("MISOPinName"), v.at(1), bytes);
    e.pin(QStringLiteral("MOSIPinName"), v.at(2), bytes);
    for (int i = 0; i < options.size(); ++i)
        e.option(QLatin1String(options.at(i).first), v.at(3 + i), options.at(i).second, bytes, 2);
    e.option(QStringLiteral("CRCPolynomials"), v.at(11), L::spiCrcCodes(), bytes);
    const QStringList &network = project.networkInformation.at(port - 1);
    for (int film = 1; film <= L::filmCount; ++film) {
        const int at = 12 + 2 * (film - 1);
        e.option(QStringLiteral("Film%1Application").arg(film), v.at(at), L::filmApplicationCodes(),
                 bytes);
        e.pin(QStringLiteral("SliceSelect%1Pin").arg(film), v.at(at + 1), bytes);
        encodeNetworkBlock(e, network, film, bytes);
    }
    Q_ASSERT(!e.refusals().isEmpty() ||
             bytes.size() == tagged(sectionId).size() + 1 + L::spiRecordSize);
    *found += e.refusals();
    return bytes;
}

} // namespace

QByteArray encodePin(const QString &chipModel, const QString &pinText)
{
    if (!knownChip(chipModel))
        return {};
    if (pinText == QLatin1String("0"))
        return QByteArray(L::pinFieldSize, '\0');
    if (pinText.size() < 3 || pinText.at(0) != QLatin1Char('P'))
        return {};
    const int portIndex = pinText.at(1).unicode() - 64;
    const QString numberText = pinText.mid(2);
    for (QChar c : numberText)
        if (!c.isDigit() || c.unicode() > 127)
            return {};
    bool ok = false;
    const int number = numberText.toInt(&ok);
    quint32 base = 0;
    const bool canonical = numberText.size() == 1 || (numberText.size() == 2 && number >= 10);
    if (!ok || !canonical || number > 15 || !L::portBase(chipModel, portIndex, &base))
        return {};
    QByteArray field;
    putBE32(field, base);
    putBE16(field, 1 << number);
    return field;
}

bool encodeFsmcSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return fsmcSection(project, found); }, section,
                        error);
}

bool encodeDiSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return diSection(project, found); }, section, error);
}

bool encodeDoSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return doSection(project, found); }, section, error);
}

bool encodeAiSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return analogSection(project, L::AI, found); },
                        section, error);
}

bool encodeAoSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return analogSection(project, L::AO, found); },
                        section, error);
}

bool encodeExitSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return exitSection(project, found); }, section,
                        error);
}

bool encodeSysSection(const ProjectData &project, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return sysSection(project, found); }, section,
                        error);
}

bool encodeUsartSection(const ProjectData &project, int port, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return usartSection(project, port, found); },
                        section, error);
}

bool encodeSpiSection(const ProjectData &project, int port, QByteArray *section, QString *error)
{
    return wholeSection([&](Refusals *found) { return spiSection(project, port, found); }, section,
                        error);
}

bool buildSections(const ProjectData &project, QList<QByteArray> *sections, QString *error,
                   QVector<Refusal> *refusals)
{
    Refusals found;
    QList<QByteArray> built;
    const QString chip = chipOf(project);
    if (knownChip(chip)) {
        built << fsmcSection(project, &found) << diSection(project, &found)
              << doSection(project, &found) << analogSection(project, L::AI, &found)
              << analogSection(project, L::AO, &found) << exitSection(project, &found);
        for (int port = 1; port <= 6; ++port)
            built << usartSection(project, port, &found);
        for (int port = 1; port <= 3; ++port)
            built << spiSection(project, port, &found);
        built << sysSection(project, &found);
    } else {
        found.append(
            Refusal{-1, 0, QString(), chip,
                    QCoreApplication::translate("ConfigTable", "未知的芯片型号“%1”").arg(chip)});
    }
    if (refusals)
        *refusals = found;
    if (!found.isEmpty()) {
        setError(error, found.first().message);
        return false;
    }
    if (sections)
        *sections = built;
    return true;
}

bool buildConfigurationTable(const ProjectData &project, QByteArray *table, QString *error,
                             QVector<Refusal> *refusals)
{
    QList<QByteArray> sections;
    if (!buildSections(project, &sections, error, refusals))
        return false;
    QByteArray joined;
    for (const QByteArray &section : qAsConst(sections))
        joined += section;
    if (table)
        *table = joined;
    return true;
}

} // namespace ConfigTable
