#pragma once

#include "dlgdescription.h"
#include "tablerules.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <functional>

class QComboBox;
class QPushButton;
class QTableWidget;

// The table of one SPI port: its SCK/MISO/MOSI pins, the bus settings and the
// three film applications, each with its chip-select pin and a button that
// asks for the film's network attributes.
class CSpiTable : public QObject
{
    Q_OBJECT
public:
    static constexpr int rowCount = 18;
    static constexpr int filmCount = 3;
    // Film k (1..3): its application in row 10 + 2k, its chip select below.
    static int applicationRow(int film) { return 10 + 2 * film; }
    static int chipSelectRow(int film) { return 11 + 2 * film; }
    static bool isChipSelectRow(int row) { return row > 12 && row % 2 == 1; }

    // Supplies the port's chip-select candidates, in chip-pin order.
    using Candidates = std::function<QStringList()>;

    CSpiTable(QTableWidget *table, const CDlgDescription &text, Candidates candidates,
              QObject *parent = nullptr);

    // port: 1..3. The option cells are filled only when the port's pins are assigned.
    void build(int port, const TableRules::PortPins &pins, const QStringList &stored);

    QString windowTitle() const;
    QSize windowSize() const;
    // The film's chosen application, -1 when the cell is empty.
    int filmApplication(int film) const;
    QPushButton *networkButton(int film) const { return buttons.value(film - 1); }
    // The chip-select texts of films 1, 2 and 3 ("无" for none).
    QStringList chipSelectTexts() const;
    // A film without application keeps no chip select.
    void clearUnusedChipSelects();
    QStringList information() const;

signals:
    // "网络属性" of a film with a network application was pressed.
    void networkAttributRequested(int film);

private:
    QComboBox *valueCell(int row) const;
    void rebuildChipSelectEntries(int film);

    QTableWidget *table;
    const CDlgDescription &text;
    Candidates candidates;
    int port = 0;
    bool assigned = false;
    QStringList pinNames;
    QVector<QPushButton *> buttons;
};
