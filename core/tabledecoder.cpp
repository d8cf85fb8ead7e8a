#include "tabledecoder.h"

#include "chipfacts.h"

#include "dlgdescription.h"
#include "pindescriptions.h"
#include "settingsrules.h"

#include <QCoreApplication>

namespace L = TableLayout;

namespace {

const QString &kF103 = ChipFacts::F103;
const QString kOff = QStringLiteral("0"); // enable index of "关" in the row tables
const QString kOn = QStringLiteral("1");  // enable index of "开"

// The table kind whose information list a row section fills.
CPinDescriptions::DlgType tableOf(int rowSection)
{
    switch (rowSection) {
    case L::DI:
        return CPinDescriptions::DlgDI;
    case L::DO:
        return CPinDescriptions::DlgDO;
    case L::AI:
        return CPinDescriptions::DlgAI;
    case L::AO:
        return CPinDescriptions::DlgAO;
    case L::Exit:
        return CPinDescriptions::DlgEXIT;
    default:
        return CPinDescriptions::DlgSYS;
    }
}

QString hex(int value, int width = 2)
{
    return QStringLiteral("0x%1").arg(value, width, 16, QLatin1Char('0'));
}

} // namespace

TableDecoder::TableDecoder(const QByteArray &table, const QString &chipModel)
    : data(table), chip(chipModel)
{
}

bool TableDecoder::decode(const QVector<L::SectionSpan> &spans, ProjectData *project,
                          QString *error)
{
    // A new project's defaults; what the table holds replaces them.
    result = ProjectData::fresh(chip, false);
    for (const L::SectionSpan &span : qAsConst(spans)) {
        if (!decodeSection(span)) {
            if (error)
                *error = message;
            return false;
        }
    }
    result.fsmcInformation[1] = externalRam ? QStringLiteral("1") : QStringLiteral("0");

    // Pin functions: the fixed pins, the external bus, then what the table assigns.
    for (const auto &fixed : catalogue.fixedPins(chip))
        result.pinFunctions[fixed.first] = fixed.second;
    if (externalRam && chip != kF103) {
        for (const auto &bus : catalogue.externalBusPins())
            if (bus.first >= 0 && bus.first < result.pinFunctions.size())
                result.pinFunctions[bus.first] = bus.second;
    }
    for (const auto &assignment : qAsConst(functions)) {
        const int index = result.pinNames.indexOf(assignment.first);
        if (index >= 0)
            result.pinFunctions[index] = assignment.second;
    }
    *project = result;
    return true;
}

bool TableDecoder::decodeSection(const L::SectionSpan &span)
{
    section = span.section;
    pos = span.begin;
    end = span.end;
    row = 0;
    bool ok = false;
    if (section == L::Fsmc)
        ok = decodeFsmc();
    else if (L::isRowSection(section))
        ok = decodeRows(section);
    else if (section >= L::Usart1 && section <= L::Usart6)
        ok = decodeUsart(section - L::Usart1 + 1);
    else
        ok = decodeSpi(section - L::Spi1 + 1);
    if (ok && pos != end)
        ok = fail(QCoreApplication::translate("TableDecoder", "多出%1字节").arg(end - pos));
    return ok;
}

bool TableDecoder::decodeFsmc()
{
    // The generator writes the ASCII digit; 0x00/0x01 are accepted as well.
    const int flag = u8();
    if (flag == '1' || flag == 0x01)
        externalRam = true;
    else if (flag == '0' || flag == 0x00)
        externalRam = false;
    else
        return fail(QCoreApplication::translate("TableDecoder", "外置RAM标志%1既不是0也不是1")
                        .arg(hex(flag)));
    return true;
}

bool TableDecoder::decodeRows(int rowSection)
{
    const int count = u8();
    if (count == 0)
        return true;
    u8(); // row size, checked by the walk
    QStringList *list = result.tableList(tableOf(rowSection));
    for (int r = 1; r <= count; ++r) {
        row = r;
        if (!decodeRow(rowSection, r, list))
            return false;
    }
    row = 0;
    return true;
}

bool TableDecoder::decodeRow(int rowSection, int r, QStringList *list)
{
    const QString n = QString::number(r);
    QString pinText;
    QString value;
    switch (rowSection) {
    case L::DI:
    case L::DO: {
        if (!pin(keys.pin, &pinText))
            return false;
        *list << n + keys.pin << pinText;
        const bool input = rowSection == L::DI;
        if (!option(keys.mode, u8(), input ? L::inputModeCodes(chip) : L::outputModeCodes(chip),
                    &value))
            return false;
        *list << n + keys.mode << value;
        if (!input) {
            if (!option(keys.speed, u8(), L::speedCodes(chip), &value))
                return false;
            *list << n + keys.speed << value;
        }
        *list << n + keys.index << QString::number(le16());
        assign(pinText, input ? QStringLiteral("Normal_DI") : QStringLiteral("Normal_DO"));
        return decodeChipSelects(input ? QStringLiteral("DI_CS") : QStringLiteral("DO_CS"), n,
                                 list);
    }
    case L::AI:
    case L::AO: {
        if (!pin(keys.pin, &pinText))
            return false;
        *list << n + keys.pin << pinText << n + keys.index << QString::number(le16());
        const bool input = rowSection == L::AI;
        assign(pinText, input ? QStringLiteral("ADC") : QStringLiteral("DAC"));
        return decodeChipSelects(input ? QStringLiteral("AI_CS") : QStringLiteral("AO_CS"), n,
                                 list);
    }
    case L::Exit: {
        if (!pin(keys.pin, &pinText))
            return false;
        *list << n + keys.pin << pinText;
        if (!option(keys.inputMode, u8(), L::inputModeCodes(chip), &value))
            return false;
        *list << n + keys.inputMode << value;
        int trigger = u8();
        if (chip == kF103 && trigger == 0x01) // older tables of this chip
            trigger = L::triggerModeCodes().at(0);
        if (!option(keys.triggerMode, trigger, L::triggerModeCodes(), &value))
            return false;
        *list << n + keys.triggerMode << value;
        if (!option(keys.triggerWay, u8(), L::triggerWayCodes(), &value))
            return false;
        *list << n + keys.triggerWay << value;
        if (!option(keys.prePriority, u8(), {0, 1, 2, 3}, &value))
            return false;
        *list << n + keys.prePriority << value;
        if (!option(keys.subPriority, u8(), {0, 1, 2, 3}, &value))
            return false;
        *list << n + keys.subPriority << value << n + keys.index << QString::number(u8());
        assign(pinText, QStringLiteral("EXIT"));
        return true;
    }
    default: {
        const int code = u8();
        const QStringList names = L::systemFunctions();
        if (code < 1 || code > names.size())
            return fail(QCoreApplication::translate("TableDecoder", "%1：未知的系统功能代码%2")
                            .arg(keys.systemPin, hex(code)));
        const QString function = names.at(code - 1);
        if (!pin(keys.pin, &pinText))
            return false;
        *list << n + keys.systemPin << function << n + keys.pin << pinText;
        if (!option(keys.mode, u8(), L::outputModeCodes(chip), &value))
            return false;
        *list << n + keys.mode << value;
        if (!option(keys.speed, u8(), L::speedCodes(chip), &value))
            return false;
        *list << n + keys.speed << value;
        assign(pinText, function);
        return true;
    }
    }
}

// Count byte and the four pins (bit 0 first in the table, bit 3 first in the
// list). The enable reads "开" when the pins address more than one chip.
bool TableDecoder::decodeChipSelects(const QString &prefix, const QString &rowKey,
                                     QStringList *list)
{
    const int count = u8();
    int used = 0;
    while (used < 4 && (1 << used) < count)
        ++used;
    if (count != (1 << used))
        return fail(
            QCoreApplication::translate("TableDecoder", "片选数%1不是1、2、4、8或16").arg(count));
    QStringList bits; // bit 0 first
    for (int bit = 0; bit < 4; ++bit) {
        QString pinText;
        if (!pin(QStringLiteral("SliceSelectPin_%1Bit").arg(bit), &pinText))
            return false;
        bits << pinText;
    }
    for (int bit = 0; bit < used; ++bit) {
        if (bits.at(bit) == kOff)
            return fail(QCoreApplication::translate("TableDecoder", "片选数为%1，但第%2位没有引脚")
                            .arg(count)
                            .arg(bit));
        assign(bits.at(bit), prefix + QString::number(bit + 1));
    }
    *list << rowKey + keys.sliceSelectPinIsEnble << (used > 0 ? kOn : kOff);
    *list << rowKey + keys.sliceSelectPin3Bit << bits.at(3) << rowKey + keys.sliceSelectPin2Bit
          << bits.at(2) << rowKey + keys.sliceSelectPin1Bit << bits.at(1)
          << rowKey + keys.sliceSelectPin0Bit << bits.at(0);
    return true;
}

bool TableDecoder::decodeUsart(int port)
{
    if (u8() == 0) {
        // An unused port reads back as its table stores a port whose pins
        // are not assigned: no pin names, every option "0".
        QStringList &list = result.usartInformation[port - 1];
        for (int i = 0; i < keys.usartKeys.size(); ++i)
            list << keys.usartKeys.at(i) << (i < 2 ? QString() : QStringLiteral("0"));
        return true;
    }
    QString tx;
    QString rx;
    if (!pin(keys.usartKeys.at(0), &tx) || !pin(keys.usartKeys.at(1), &rx))
        return false;
    QStringList values{tx, rx};
    QString value;
    const int baud = be24();
    const int dataBits = be16();
    const int stopBits = be16();
    const int parity = be16();
    int application = u8();
    // Older tables number the first six applications 0x00-0x05; 0x03-0x05
    // stand for "ModbusRTU驱动", "自由驱动" and "2G-M6313驱动".
    if (application >= 0x03 && application <= 0x05)
        application = L::portApplicationCodes().at(application);
    if (!option(keys.usartKeys.at(2), baud, L::baudRates(), &value))
        return false;
    values << value;
    if (!option(keys.usartKeys.at(3), dataBits, L::dataBitCodes(), &value))
        return false;
    values << value;
    if (!option(keys.usartKeys.at(4), stopBits, L::stopBitCodes(), &value))
        return false;
    values << value;
    if (!option(keys.usartKeys.at(5), parity, L::parityCodes(), &value))
        return false;
    values << value;
    if (!option(keys.usartKeys.at(6), application, L::portApplicationCodes(), &value))
        return false;
    values << value;
    QStringList &list = result.usartInformation[port - 1];
    list.clear();
    for (int i = 0; i < keys.usartKeys.size(); ++i)
        list << keys.usartKeys.at(i) << values.at(i);
    assign(tx, catalogue.usartTxNames.at(port - 1));
    assign(rx, catalogue.usartRxNames.at(port - 1));
    return decodeSockets(port);
}

// The eight sockets behind a port record. Sockets exactly as an empty
// socket list encodes them read back as that empty list.
bool TableDecoder::decodeSockets(int port)
{
    QStringList values;
    bool allEmpty = true;
    for (int socket = 1; socket <= L::socketCount; ++socket) {
        int first = u8();
        QString application;
        if (first != L::socketMarker) {
            application = QString(QLatin1Char(char(first)));
            first = u8();
        }
        if (first != L::socketMarker)
            return fail(QCoreApplication::translate("TableDecoder", "通道%1没有标记").arg(socket));
        const QString ip = address();
        const int portNumber = le16();
        allEmpty = allEmpty && application.isEmpty() && ip == QLatin1String("0.168.250.1") &&
                   portNumber == 0;
        values << application << ip << QString::number(portNumber);
    }
    QStringList &wireless = result.wirelessInformation[port - 1];
    wireless.clear();
    if (allEmpty)
        return true;
    for (int i = 0; i < keys.socketKeys.size(); ++i)
        wireless << keys.socketKeys.at(i) << values.at(i);
    return true;
}

bool TableDecoder::decodeSpi(int port)
{
    if (u8() == 0) {
        QStringList &list = result.spiInformation[port - 1];
        for (int i = 0; i < keys.spiKeys.size(); ++i)
            list << keys.spiKeys.at(i) << (i < 3 ? QString() : QStringLiteral("0"));
        return true;
    }
    QStringList values;
    QString text;
    const QString spiName = QStringLiteral("SPI%1").arg(port);
    const QStringList signalNames{spiName + QStringLiteral("_SCK"),
                                  spiName + QStringLiteral("_MISO"),
                                  spiName + QStringLiteral("_MOSI")};
    for (int i = 0; i < 3; ++i) {
        if (!pin(keys.spiKeys.at(i), &text))
            return false;
        values << text;
        assign(text, signalNames.at(i));
    }
    const QVector<QVector<int>> options{L::spiDirectionCodes(), L::spiModeCodes(),
                                        L::spiDataSizeCodes(),  L::spiPolarityCodes(),
                                        L::spiPhaseCodes(),     L::spiChipSelectCodes(),
                                        L::spiPrescalerCodes(), L::spiFirstBitCodes()};
    for (int i = 0; i < options.size(); ++i) {
        if (!option(keys.spiKeys.at(3 + i), be16(), options.at(i), &text))
            return false;
        values << text;
    }
    if (!option(keys.spiKeys.at(11), u8(), L::spiCrcCodes(), &text))
        return false;
    values << text;
    QStringList network;
    for (int film = 1; film <= L::filmCount; ++film) {
        const int at = 12 + 2 * (film - 1);
        if (!option(keys.spiKeys.at(at), u8(), L::filmApplicationCodes(), &text))
            return false;
        values << text;
        if (!pin(keys.spiKeys.at(at + 1), &text))
            return false;
        values << text;
        if (text != kOff)
            assign(text, QStringLiteral("%1_CS%2").arg(spiName).arg(film));
        if (!decodeNetworkBlock(film, &network))
            return false;
    }
    QStringList &list = result.spiInformation[port - 1];
    list.clear();
    for (int i = 0; i < keys.spiKeys.size(); ++i)
        list << keys.spiKeys.at(i) << values.at(i);
    result.networkInformation[port - 1] = network;
    return true;
}

// A film's network block. Automatic addressing leaves address, mask and
// gateway empty, as the network dialog does; an unset DNS (0.0.0.0) and port
// (0) read back empty.
bool TableDecoder::decodeNetworkBlock(int film, QStringList *network)
{
    const int blockEnd = pos + L::networkBlockSize;
    const int automatic = u8();
    if (automatic > 2)
        return fail(QCoreApplication::translate("TableDecoder", "软片%1：寻址值%2既不是1也不是2")
                        .arg(film)
                        .arg(automatic));
    QStringList values{automatic == 0 ? QString() : QString::number(automatic)};
    for (int a = 0; a < 4; ++a) {
        const QString text = address();
        const bool cleared =
            (automatic == 1 && a < 3) || (a == 3 && text == QLatin1String("0.0.0.0"));
        values << (cleared ? QString() : text);
    }
    const int port = le16();
    values << (port == 0 ? QString() : QString::number(port));
    if (!need(blockEnd - pos))
        return false;
    // The reserved rest of the block is passed over; a controller that pads
    // it is still read, but not without a word.
    int set = 0, first = -1;
    for (; pos < blockEnd; ++pos)
        if (data.at(pos) != '\0' && ++set == 1)
            first = pos;
    if (set > 0)
        notes << QCoreApplication::translate(
                     "TableDecoder",
                     "%1段：软片%2的网络设置有%3个保留字节不是0（第一个在表中%4处），已忽略")
                     .arg(L::sectionName(section), QString::number(film), QString::number(set),
                          hex(first, 4));
    for (int i = 0; i < 6; ++i)
        *network << SettingsRules::networkKey(film, SettingsRules::NetworkField(i)) << values.at(i);
    return true;
}

bool TableDecoder::need(int count)
{
    if (count < 0 || end - pos < count)
        return fail(QCoreApplication::translate("TableDecoder", "该段提前结束"));
    return true;
}

int TableDecoder::u8()
{
    if (pos >= end) {
        if (message.isEmpty())
            fail(QCoreApplication::translate("TableDecoder", "该段提前结束"));
        pos = end + 1; // stays past the end; the section check reports it
        return -1;
    }
    return static_cast<unsigned char>(data.at(pos++));
}

int TableDecoder::be16()
{
    const int high = u8();
    const int low = u8();
    return high < 0 || low < 0 ? -1 : (high << 8) | low;
}

int TableDecoder::le16()
{
    const int low = u8();
    const int high = u8();
    return high < 0 || low < 0 ? -1 : (high << 8) | low;
}

int TableDecoder::be24()
{
    const int high = u8();
    const int rest = be16();
    return high < 0 || rest < 0 ? -1 : (high << 16) | rest;
}

bool TableDecoder::pin(const QString &key, QString *text)
{
    quint32 base = 0;
    for (int i = 0; i < 4; ++i)
        base = (base << 8) | quint32(u8() & 0xFF);
    const int mask = be16();
    if (pos > end)
        return false;
    if (base == 0 && mask == 0) {
        *text = kOff;
        return true;
    }
    int number = 0;
    while (number < 16 && (1 << number) != mask)
        ++number;
    for (int port = 1; number < 16 && port <= L::lastPortIndex(chip); ++port) {
        quint32 portAddress = 0;
        if (L::portBase(chip, port, &portAddress) && portAddress == base) {
            *text = QStringLiteral("P%1%2").arg(QChar(64 + port)).arg(number);
            return true;
        }
    }
    // A pin of the other chip: the table was read for the wrong chip, which
    // the user can put right.
    for (const QString &other : ChipFacts::models()) {
        for (int port = 1; other != chip && number < 16 && port <= L::lastPortIndex(other);
             ++port) {
            quint32 portAddress = 0;
            if (L::portBase(other, port, &portAddress) && portAddress == base)
                return fail(QCoreApplication::translate(
                                "TableDecoder",
                                "%1：这个配置表是%2的，不是%3的（引脚P%4%5在%3上没有），"
                                "请选择芯片%2再读取")
                                .arg(key, other, chip, QChar(64 + port))
                                .arg(number));
        }
    }
    // No chip has it: the bytes are not a pin at all.
    return fail(QCoreApplication::translate(
                    "TableDecoder",
                    "%1：读到的引脚代码（端口地址%3、掩码%4）不是%2的引脚，配置表可能已损坏")
                    .arg(key, chip, hex(int(base), 8), hex(mask, 4)));
}

bool TableDecoder::option(const QString &key, int code, const QVector<int> &codes, QString *index)
{
    if (pos > end)
        return false;
    const int found = L::optionOf(codes, code);
    if (found < 0)
        return fail(
            QCoreApplication::translate("TableDecoder", "%1：未知的代码%2").arg(key, hex(code)));
    *index = QString::number(found);
    return true;
}

QString TableDecoder::address()
{
    QStringList parts;
    for (int i = 0; i < 4; ++i)
        parts << QString::number(u8() & 0xFF);
    return parts.join(QLatin1Char('.'));
}

bool TableDecoder::fail(const QString &what)
{
    if (!message.isEmpty())
        return false;
    if (row > 0)
        message = QCoreApplication::translate("TableDecoder", "%1段第%2行：%3")
                      .arg(L::sectionName(section), QString::number(row), what);
    else
        message = QCoreApplication::translate("TableDecoder", "%1段：%2")
                      .arg(L::sectionName(section), what);
    return false;
}

void TableDecoder::assign(const QString &pinText, const QString &function)
{
    if (pinText != kOff)
        functions.append({pinText, function});
}
