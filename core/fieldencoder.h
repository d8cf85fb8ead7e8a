#pragma once

#include "configtable.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// Byte writers of the configuration table (values taken modulo their width).
namespace TableBytes {
void put8(QByteArray &out, int value);
void putBE16(QByteArray &out, int value);
void putLE16(QByteArray &out, int value);
void putBE24(QByteArray &out, int value);
void putBE32(QByteArray &out, quint32 value);
} // namespace TableBytes

// Encodes the fields of one table section for a chip. A value that cannot be
// encoded is refused and the section goes on with the next value, so that
// every refusal is known; each names the section, the row (when set), the key
// and the value, in the language of the program.
class FieldEncoder
{
    Q_DECLARE_TR_FUNCTIONS(FieldEncoder)

public:
    FieldEncoder(const QString &chipModel, int section);

    void setRow(int number) { row = number; }
    // Every value refused so far, in the order they were given.
    const QVector<ConfigTable::Refusal> &refusals() const { return refused; }

    // Records the refusal of a value and returns false.
    bool fail(const QString &key, const QString &value, const QString &reason);

    // Six-byte pin field; "0" gives six zero bytes.
    bool pin(const QString &key, const QString &text, QByteArray &out);
    // An option stored as its index; its code takes `width` bytes (1, 2 or 3, BE).
    bool option(const QString &key, const QString &value, const QVector<int> &codes,
                QByteArray &out, int width = 1);
    bool optionIndex(const QString &key, const QString &value, int count, int *index);
    // A number field: an empty text counts as 0; any other text that is not
    // a number, or a number the field cannot hold (below 0 or above max), is
    // refused.
    bool number(const QString &key, const QString &value, int max, int *result);
    // The chip-select count byte of a DI/DO/AI/AO row: 1 when the enable is
    // off ("关" or its table index 0), otherwise 2 to the number of pins set
    // from bit 0 up. `bits` is bit 0 first.
    bool chipSelectCount(const QString &enable, const QStringList &bits, QByteArray &out);
    // The dotted parts of an address, each 0-255; an empty address is the
    // single part 0.
    bool addressParts(const QString &key, const QString &address, QVector<int> *bytes);
    // An address written into `block` by the placement rule: part j of an
    // address with p parts goes to offset first + p * slot + j. More than
    // seven parts are refused, so a 32-byte block is never overrun.
    bool placeAddress(const QString &key, const QString &address, int first, int slot,
                      QByteArray &block);

private:
    QString chip;
    int section;
    int row = 0;
    QVector<ConfigTable::Refusal> refused;
};
