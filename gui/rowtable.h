#pragma once

#include "dlgdescription.h"
#include "pindescriptions.h"
#include "projectdata.h"

#include <QObject>
#include <QSize>
#include <QStringList>
#include <QVector>
#include <functional>

class QTableWidget;
class QWidget;
class CMyComboBox;

// The tables with one row per pin: DI, DO, AI, AO (with start terminals and
// chip-select bits), EXIT and SYS. Fills the dialog's table widget, keeps the
// chip-select cells consistent while the user edits, and reads the table back
// as an information list.
class CRowTable : public QObject
{
    Q_OBJECT
public:
    // Supplies the chip-select candidates of the table's kind, in chip-pin order.
    using Candidates = std::function<QStringList()>;

    CRowTable(QTableWidget *table, const CDlgDescription &text, CPinDescriptions::DlgType type,
              Candidates candidates, QObject *parent = nullptr);

    // One row per pin (descriptions: the function texts of the SYS rows), then
    // the values of the stored information list.
    void build(const QStringList &pins, const QStringList &descriptions, const QStringList &stored);

    QString windowTitle() const;
    QSize windowSize() const;
    bool usesChipSelects() const { return enableColumn >= 0; }
    int numberColumn() const { return numberCol; }
    int numberMaximum() const;

    // Chip-select texts the restored rows showed when the table was built.
    QStringList shownChipSelects() const { return shownPins; }
    // Per row the texts of bits 3, 2, 1 and 0 ("无" where unused).
    QStringList chipSelectTexts() const;
    // The pin name of every row, in row order.
    QStringList rowPins() const;

    // A message about the first start terminal or task number that is not a
    // whole number in range; empty when every value is fine.
    QString numberProblem() const;
    // The same for the number of one row.
    QString numberProblem(int row) const;
    // Asks about every overlap of terminal ranges and moves a row behind the
    // earlier rows when the user agrees.
    void checkStartTerminals(QWidget *messageParent);
    QStringList information() const;

private:
    using Cell = RowCell;
    struct Column
    {
        Cell cell;
        QString key;
    };

    void defineColumns();
    void fillRow(int row, const QString &pin, const QString &description);
    void restore(const QStringList &stored);
    void onEnableChanged(int row);
    void onBitChanged(int row, int bit);
    void rebuildBitEntries(int row, int bit);
    void applyChipSelectRules(int row);
    // Shows a refused number in its cell: a red background and the reason
    // as the cell's tooltip.
    void markNumber(int row);
    void clearBits(int row, int fromBit);
    CMyComboBox *comboAt(int row, int column) const;
    CMyComboBox *bitCell(int row, int bit) const;

    QTableWidget *table;
    const CDlgDescription &text;
    CPinDescriptions::DlgType type;
    Candidates candidates;
    QVector<Column> columns;
    QStringList headers;
    int pinColumn = 0;
    int numberCol = -1;
    int enableColumn = -1; // bit b sits in column enableColumn + 4 - b
    bool restoring = false;
    QStringList shownPins;
};
