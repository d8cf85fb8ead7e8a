#include "tablelayout.h"

#include "chipfacts.h"

#include <QCoreApplication>
#include <QStringList>

namespace TableLayout {

namespace {

const char *const kTags[SectionCount] = {"FSMC",   "DI",     "DO",     "AI",     "AO",     "EXIT",
                                         "USART1", "USART2", "USART3", "USART4", "USART5", "USART6",
                                         "SPI1",   "SPI2",   "SPI3",   "SYS"};

const QString &kF103 = ChipFacts::F103;
const QString &kF407 = ChipFacts::F407;

void setError(QString *error, const QString &message)
{
    if (error)
        *error = message;
}

// The tag bytes as readable text for a message: printable ASCII as is, the
// rest as \xNN.
QString printable(const QByteArray &bytes)
{
    QString text;
    for (char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return text;
}

// Bounds-checked walk over the table.
class Walker
{
public:
    explicit Walker(const QByteArray &table) : data(table) {}

    int position() const { return pos; }
    int left() const { return data.size() - pos; }
    bool atEnd() const { return pos >= data.size(); }

    bool byte(int *value)
    {
        if (left() < 1)
            return false;
        *value = static_cast<unsigned char>(data.at(pos++));
        return true;
    }
    bool skip(qint64 count)
    {
        if (count < 0 || count > left())
            return false;
        pos += int(count);
        return true;
    }
    QByteArray bytes(int count) const { return data.mid(pos, count); }

private:
    const QByteArray &data;
    int pos = 0;
};

QString cutShort(int section, int atByte, const QString &what)
{
    return QCoreApplication::translate("TableLayout", "配置表在%1段的第%2字节处结束（缺少%3）")
        .arg(sectionName(section))
        .arg(atByte)
        .arg(what);
}

bool walkRows(Walker &w, int section, QString *error)
{
    int count = 0;
    if (!w.byte(&count)) {
        setError(error, cutShort(section, w.position(),
                                 QCoreApplication::translate("TableLayout", "行数")));
        return false;
    }
    if (count == 0)
        return true;
    int size = 0;
    if (!w.byte(&size)) {
        setError(error, cutShort(section, w.position(),
                                 QCoreApplication::translate("TableLayout", "行长")));
        return false;
    }
    if (size != rowSize(section)) {
        setError(error,
                 QCoreApplication::translate("TableLayout", "%1段声明每行%2字节，实际每行%3字节")
                     .arg(sectionName(section))
                     .arg(size)
                     .arg(rowSize(section)));
        return false;
    }
    if (!w.skip(qint64(count) * size)) {
        setError(error, QCoreApplication::translate("TableLayout",
                                                    "%1段声明了%2行、每行%3字节，但只剩%4字节")
                            .arg(sectionName(section))
                            .arg(count)
                            .arg(size)
                            .arg(w.left()));
        return false;
    }
    return true;
}

// The size byte of a port record (0: port unused) and the fixed record behind it.
bool walkRecord(Walker &w, int section, int expected, bool *present, QString *error)
{
    int size = 0;
    if (!w.byte(&size)) {
        setError(error, cutShort(section, w.position(),
                                 QCoreApplication::translate("TableLayout", "记录长度")));
        return false;
    }
    *present = size != 0;
    if (size == 0)
        return true;
    if (size != expected) {
        setError(error, QCoreApplication::translate("TableLayout", "%1段声明记录长%2字节，实际为%3")
                            .arg(sectionName(section))
                            .arg(size)
                            .arg(expected));
        return false;
    }
    if (!w.skip(expected)) {
        setError(error, cutShort(section, w.position(),
                                 QCoreApplication::translate("TableLayout", "端口记录")));
        return false;
    }
    return true;
}

bool walkUsart(Walker &w, int section, QString *error)
{
    bool present = false;
    if (!walkRecord(w, section, usartFixedSize, &present, error))
        return false;
    if (!present)
        return true;
    for (int socket = 1; socket <= socketCount; ++socket) {
        int first = 0;
        if (!w.byte(&first)) {
            setError(error,
                     cutShort(section, w.position(),
                              QCoreApplication::translate("TableLayout", "通道%1").arg(socket)));
            return false;
        }
        if (first >= '0' && first < '0' + socketApplicationCount) {
            int marker = 0;
            if (!w.byte(&marker)) {
                setError(
                    error,
                    cutShort(section, w.position(),
                             QCoreApplication::translate("TableLayout", "通道%1").arg(socket)));
                return false;
            }
            first = marker;
        }
        if (first != socketMarker) {
            setError(error, QCoreApplication::translate("TableLayout",
                                                        "%1段通道%2：第%4字节处有意外的字节0x%3")
                                .arg(sectionName(section))
                                .arg(socket)
                                .arg(first, 2, 16, QLatin1Char('0'))
                                .arg(w.position() - 1));
            return false;
        }
        if (!w.skip(socketAddressSize)) {
            setError(
                error,
                cutShort(section, w.position(),
                         QCoreApplication::translate("TableLayout", "通道%1的地址").arg(socket)));
            return false;
        }
    }
    return true;
}

bool walkSpi(Walker &w, int section, QString *error)
{
    bool present = false;
    return walkRecord(w, section, spiRecordSize, &present, error);
}

bool walkBody(Walker &w, int section, QString *error)
{
    if (section == Fsmc) {
        if (!w.skip(1)) {
            setError(error, cutShort(section, w.position(),
                                     QCoreApplication::translate("TableLayout", "外置RAM标志")));
            return false;
        }
        return true;
    }
    if (isRowSection(section))
        return walkRows(w, section, error);
    if (section >= Usart1 && section <= Usart6)
        return walkUsart(w, section, error);
    return walkSpi(w, section, error);
}

} // namespace

QByteArray tag(int section)
{
    if (section < 0 || section >= SectionCount)
        return {};
    return QByteArray(kTags[section]);
}

QString sectionName(int section)
{
    return QString::fromLatin1(tag(section));
}

bool isRowSection(int section)
{
    return rowSize(section) > 0;
}

int rowSize(int section)
{
    switch (section) {
    case DI:
        return 34;
    case DO:
        return 35;
    case AI:
    case AO:
        return 33;
    case Exit:
        return 12;
    case Sys:
        return 9;
    default:
        return 0;
    }
}

bool splitSections(const QByteArray &table, QVector<SectionSpan> *spans, QString *error)
{
    spans->clear();
    if (table.isEmpty()) {
        setError(error, QCoreApplication::translate("TableLayout", "配置表是空的"));
        return false;
    }
    Walker w(table);
    for (int expected = 0; expected < SectionCount; ++expected) {
        const int tagAt = w.position();
        if (w.atEnd()) {
            setError(error,
                     QCoreApplication::translate("TableLayout", "配置表在%1字节后结束，没有%2段")
                         .arg(table.size())
                         .arg(sectionName(expected)));
            return false;
        }
        int length = 0;
        w.byte(&length);
        if (length == 0 || length > w.left()) {
            setError(error,
                     QCoreApplication::translate("TableLayout", "第%1字节处没有段标记").arg(tagAt));
            return false;
        }
        const QByteArray found = w.bytes(length);
        w.skip(length);
        int section = -1;
        for (int s = 0; s < SectionCount; ++s)
            if (tag(s) == found)
                section = s;
        if (section < 0) {
            setError(error,
                     QCoreApplication::translate("TableLayout", "第%2字节处有未知的段标记“%1”")
                         .arg(printable(found))
                         .arg(tagAt));
            return false;
        }
        if (section < expected) {
            setError(error,
                     QCoreApplication::translate("TableLayout", "第%2字节处的%1段重复或顺序不对")
                         .arg(sectionName(section))
                         .arg(tagAt));
            return false;
        }
        if (section > expected) {
            setError(error, QCoreApplication::translate("TableLayout",
                                                        "缺少%1段：第%3字节处的%2段顺序不对")
                                .arg(sectionName(expected), sectionName(section))
                                .arg(tagAt));
            return false;
        }
        SectionSpan span;
        span.section = section;
        span.begin = w.position();
        if (!walkBody(w, section, error))
            return false;
        span.end = w.position();
        spans->append(span);
    }
    // Padding: one fill byte, 0xFF or 0x00, up to the end.
    const int end = w.position();
    if (end < table.size()) {
        const char fill = table.at(end);
        bool padding = fill == char(0xFF) || fill == char(0x00);
        for (int at = end; padding && at < table.size(); ++at)
            padding = table.at(at) == fill;
        if (!padding) {
            setError(error, QCoreApplication::translate("TableLayout",
                                                        "SYS段之后第%2字节起的%1字节不是填充")
                                .arg(table.size() - end)
                                .arg(end));
            spans->clear();
            return false;
        }
    }
    return true;
}

int maxTableSize()
{
    int size = 0;
    for (int section = 0; section < SectionCount; ++section) {
        size += 1 + tag(section).size();
        if (section == Fsmc)
            size += 1; // the external-RAM flag
        else if (isRowSection(section))
            size += 2 + maxRows * rowSize(section); // row count, row size, rows
        else if (section >= Usart1 && section <= Usart6)
            size += 1 + usartFixedSize + socketCount * socketMaxSize;
        else
            size += 1 + spiRecordSize;
    }
    return size;
}

int lastPortIndex(const QString &chipModel)
{
    if (chipModel == kF103)
        return 7;
    if (chipModel == kF407)
        return 11;
    return 0;
}

bool portBase(const QString &chipModel, int portIndex, quint32 *base)
{
    if (portIndex < 1 || portIndex > lastPortIndex(chipModel))
        return false;
    const quint32 portA = chipModel == kF103 ? 0x40010800u : 0x40020000u;
    *base = portA + 0x400u * quint32(portIndex - 1);
    return true;
}

QVector<int> inputModeCodes(const QString &chipModel)
{
    if (chipModel == kF103)
        return {0x28, 0x48};
    if (chipModel == kF407)
        return {0x02, 0x01};
    return {};
}

QVector<int> outputModeCodes(const QString &chipModel)
{
    if (chipModel == kF103)
        return {0x10, 0x14};
    if (chipModel == kF407)
        return {0x00, 0x01};
    return {};
}

QVector<int> speedCodes(const QString &chipModel)
{
    if (chipModel == kF103)
        return {0x01, 0x02, 0x03, 0x03};
    if (chipModel == kF407)
        return {0x00, 0x01, 0x02, 0x03};
    return {};
}

QVector<int> triggerModeCodes()
{
    return {0x00, 0x04};
}

QVector<int> triggerWayCodes()
{
    return {0x08, 0x0C, 0x10};
}

QVector<int> baudRates()
{
    return {115200, 56000, 19200, 14400, 9600, 4800, 2400};
}

QVector<int> dataBitCodes()
{
    return {0x0000, 0x1000};
}

QVector<int> stopBitCodes()
{
    return {0x0000, 0x1000, 0x2000, 0x3000};
}

QVector<int> parityCodes()
{
    return {0x0000, 0x0400, 0x0600};
}

QVector<int> portApplicationCodes()
{
    return {0x00, 0x01, 0x02, 0x10, 0x11, 0x20, 0x21, 0x30, 0x31, 0x40, 0x41, 0x50};
}

QVector<int> spiDirectionCodes()
{
    return {0x0000, 0x0400, 0x8000, 0xC000};
}

QVector<int> spiModeCodes()
{
    return {0x0104, 0x0000};
}

QVector<int> spiDataSizeCodes()
{
    return {0x0000, 0x0800};
}

QVector<int> spiPolarityCodes()
{
    return {0x0002, 0x0000};
}

QVector<int> spiPhaseCodes()
{
    return {0x0000, 0x0001};
}

QVector<int> spiChipSelectCodes()
{
    return {0x0200, 0x0000};
}

QVector<int> spiPrescalerCodes()
{
    QVector<int> codes;
    for (int i = 0; i < 8; ++i)
        codes << i * 8;
    return codes;
}

QVector<int> spiFirstBitCodes()
{
    return {0x0000, 0x0080};
}

QVector<int> spiCrcCodes()
{
    return {7, 16};
}

QVector<int> filmApplicationCodes()
{
    return {0x00, 0x01, 0x10, 0x11};
}

QStringList systemFunctions()
{
    return {QStringLiteral("SYS_INIT"), QStringLiteral("SYS_RunLed"),
            QStringLiteral("SYS_FaultLed"), QStringLiteral("SYS_WatchDog")};
}

int optionOf(const QVector<int> &codes, int code)
{
    return codes.lastIndexOf(code);
}

} // namespace TableLayout
