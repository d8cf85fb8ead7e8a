#pragma once

#include "dlgdescription.h"
#include "projectdata.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// The pinout of a project: one entry per package pin, pin 1 first, with the
// table that uses the pin and, for a chip select, what it selects. Written
// as aligned text for a terminal, as CSV or as JSON.
class PinListing
{
    Q_DECLARE_TR_FUNCTIONS(PinListing)
public:
    struct Entry
    {
        int number = 0;
        QString name;
        QString function;   // empty for a free pin
        QString table;      // "DI", "USART2", "SPI1", ...; empty when no table
        QString chipSelect; // "片选2引脚", "片选脚第0位 (PA1)"; empty otherwise
    };

    PinListing(const ProjectData &project, const CDlgDescription &text);

    const QVector<Entry> &entries() const { return rows; }
    // The column titles: number, pin, function, table, chip select.
    QStringList headers() const;

    // Columns padded to their widest cell (a Chinese character counts twice).
    QString toText() const;
    // A header line, then one line per pin; cells quoted where needed.
    QString toCsv() const;
    // {"chip": ..., "pins": [{"number", "name", "function", "table", "chipSelect"}]}
    QByteArray toJson() const;

private:
    QString chip;
    QVector<Entry> rows;
    QString pinHeader;
};
