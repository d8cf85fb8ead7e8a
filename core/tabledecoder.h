#pragma once

#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"
#include "tablelayout.h"

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

// Reads the sections of a transfer-form table back into project data, the
// way the tables store their values (option indexes, "0" for an unused pin),
// and rebuilds the pin functions the drawing shows for them.
class TableDecoder
{
public:
    // `table` must outlive the decoder; `chipModel` is a known model.
    TableDecoder(const QByteArray &table, const QString &chipModel);

    // Decodes the sections that TableLayout::splitSections found in the table.
    bool decode(const QVector<TableLayout::SectionSpan> &spans, ProjectData *project,
                QString *error);
    // What the decoding passed over: reserved bytes that are not 0, one line
    // per network block.
    QStringList warnings() const { return notes; }

private:
    bool decodeSection(const TableLayout::SectionSpan &span);
    bool decodeFsmc();
    bool decodeRows(int section);
    bool decodeRow(int section, int row, QStringList *list);
    bool decodeChipSelects(const QString &prefix, const QString &rowKey, QStringList *list);
    bool decodeUsart(int port);
    bool decodeSockets(int port);
    bool decodeSpi(int port);
    bool decodeNetworkBlock(int film, QStringList *network);

    // Field readers over the current section; a read past its end fails.
    bool need(int count);
    int u8();
    int be16();
    int le16();
    int be24();
    bool pin(const QString &key, QString *text);
    bool option(const QString &key, int code, const QVector<int> &codes, QString *index);
    QString address();
    bool fail(const QString &what);

    void assign(const QString &pinText, const QString &function);

    const QByteArray &data;
    const QString chip;
    const CDlgDescription keys;
    const CPinDescriptions catalogue{false};
    int pos = 0;
    int end = 0;
    int section = -1;
    int row = 0;
    QString message;
    QStringList notes;
    ProjectData result;
    bool externalRam = false;
    QVector<QPair<QString, QString>> functions; // (pin, function) in table order
};
