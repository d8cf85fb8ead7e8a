#include "fieldencoder.h"

#include "configtable.h"
#include "tablelayout.h"

namespace L = TableLayout;

namespace TableBytes {

void put8(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
}

void putBE16(QByteArray &out, int value)
{
    put8(out, value >> 8);
    put8(out, value);
}

void putLE16(QByteArray &out, int value)
{
    put8(out, value);
    put8(out, value >> 8);
}

void putBE24(QByteArray &out, int value)
{
    put8(out, value >> 16);
    putBE16(out, value);
}

void putBE32(QByteArray &out, quint32 value)
{
    putBE16(out, int(value >> 16));
    putBE16(out, int(value & 0xFFFF));
}

} // namespace TableBytes

using namespace TableBytes;

FieldEncoder::FieldEncoder(const QString &chipModel, int sectionIndex)
    : chip(chipModel), section(sectionIndex)
{
}

bool FieldEncoder::fail(const QString &key, const QString &value, const QString &reason)
{
    const QString message =
        row > 0 ? tr("%1段第%2行的%3：“%4”%5")
                      .arg(L::sectionName(section), QString::number(row), key, value, reason)
                : tr("%1段的%2：“%3”%4").arg(L::sectionName(section), key, value, reason);
    refused.append(ConfigTable::Refusal{section, row, key, value, message});
    return false;
}

bool FieldEncoder::pin(const QString &key, const QString &text, QByteArray &out)
{
    const QByteArray field = ConfigTable::encodePin(chip, text);
    if (field.size() != L::pinFieldSize)
        return fail(key, text, tr("不是%1的引脚").arg(chip));
    out += field;
    return true;
}

bool FieldEncoder::option(const QString &key, const QString &value, const QVector<int> &codes,
                          QByteArray &out, int width)
{
    int index = -1;
    if (!optionIndex(key, value, codes.size(), &index))
        return false;
    const int code = codes.at(index);
    if (width == 1)
        put8(out, code);
    else if (width == 2)
        putBE16(out, code);
    else
        putBE24(out, code);
    return true;
}

bool FieldEncoder::optionIndex(const QString &key, const QString &value, int count, int *index)
{
    bool ok = false;
    const int parsed = value.toInt(&ok);
    if (!ok || parsed < 0 || parsed >= count)
        return fail(key, value, tr("不是选项序号（0到%1）").arg(count - 1));
    *index = parsed;
    return true;
}

bool FieldEncoder::number(const QString &key, const QString &value, int max, int *result)
{
    bool ok = false;
    const qlonglong parsed = value.toLongLong(&ok);
    if (value.isEmpty()) {
        *result = 0;
        return true;
    }
    if (!ok)
        return fail(key, value, tr("不是数字"));
    if (parsed < 0 || parsed > max)
        return fail(key, value, tr("超出字段范围（0到%1）").arg(max));
    *result = int(parsed);
    return true;
}

bool FieldEncoder::chipSelectCount(const QString &enable, const QStringList &bits, QByteArray &out)
{
    static const QStringList enableValues{QStringLiteral("0"),  QStringLiteral("1"),
                                          QStringLiteral("2"),  QStringLiteral("关"),
                                          QStringLiteral("开"), QStringLiteral("同上")};
    const int which = enableValues.indexOf(enable);
    if (which < 0)
        return fail(QStringLiteral("SliceSelectPinIsEnble"), enable, tr("不是使能选项（0到2）"));
    const bool off = which == 0 || which == 3;
    int used = 0;
    while (!off && used < bits.size() && bits.at(used) != QLatin1String("0"))
        ++used;
    put8(out, 1 << used);
    return true;
}

bool FieldEncoder::placeAddress(const QString &key, const QString &address, int first, int slot,
                                QByteArray &block)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    if (parts.size() > 7)
        return fail(key, address, tr("超过七段"));
    QVector<int> bytes;
    if (!addressParts(key, address, &bytes))
        return false;
    for (int j = 0; j < bytes.size(); ++j) {
        const int at = first + bytes.size() * slot + j;
        Q_ASSERT(at < block.size());
        block[at] = char(bytes.at(j));
    }
    return true;
}

bool FieldEncoder::addressParts(const QString &key, const QString &address, QVector<int> *bytes)
{
    if (address.isEmpty()) {
        *bytes = {0};
        return true;
    }
    for (const QString &part : address.split(QLatin1Char('.'))) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || part.trimmed().isEmpty() || value < 0 || value > 255)
            return fail(key, address, tr("不是地址（每段0到255）"));
        *bytes << value;
    }
    return true;
}
