#include "rowtable.h"

#include "messages.h"
#include "mycombobox.h"
#include "projecttexts.h"
#include "tablecells.h"
#include "tablerules.h"

#include <QColor>
#include <QHeaderView>
#include <QTableWidget>

using D = CPinDescriptions;

CRowTable::CRowTable(QTableWidget *tableWidget, const CDlgDescription &labels, D::DlgType kind,
                     Candidates offered, QObject *parent)
    : QObject(parent), table(tableWidget), text(labels), type(kind), candidates(std::move(offered))
{
    defineColumns();
}

void CRowTable::defineColumns()
{
    for (const QString &key : rowKeys(type))
        columns << Column{rowCellOf(key), key};
    headers = ProjectTexts::rowHeaders(text, type);
    for (int c = 0; c < columns.size(); ++c) {
        switch (columns.at(c).cell) {
        case Cell::Pin:
            pinColumn = c;
            break;
        case Cell::Number:
            numberCol = c;
            break;
        case Cell::Enable:
            enableColumn = c;
            break;
        default:
            break;
        }
    }
}

int CRowTable::numberMaximum() const
{
    return type == D::DlgEXIT ? TableRules::maxTaskNumber : TableRules::maxStartTerminal;
}

QString CRowTable::windowTitle() const
{
    return ProjectTexts::rowTitle(text, type);
}

QSize CRowTable::windowSize() const
{
    const int rows = table->rowCount();
    const int width = int(columns.size()) * 100 + 50;
    if (type == D::DlgDI)
        return QSize(width, rows * 30 + 100 + (rows == 1 ? 100 : 0));
    return QSize(width, rows * 20 + 210);
}

void CRowTable::build(const QStringList &pins, const QStringList &descriptions,
                      const QStringList &stored)
{
    table->setColumnCount(int(columns.size()));
    table->setRowCount(int(pins.size()));
    table->setHorizontalHeaderLabels(headers);
    for (int c = 0; c < columns.size(); ++c)
        table->setColumnWidth(c, 100);
    if (type == D::DlgDI) {
        for (int r = 0; r < std::min(int(columns.size()), int(pins.size())); ++r)
            table->setRowHeight(r, 30);
    }
    for (int r = 0; r < pins.size(); ++r)
        fillRow(r, pins.at(r), descriptions.value(r));
    shownPins.clear();
    restore(stored);
    if (numberCol >= 0) {
        for (int r = 0; r < table->rowCount(); ++r)
            markNumber(r);
        connect(table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
            if (item->column() == numberCol)
                markNumber(item->row());
        });
    }
}

void CRowTable::markNumber(int row)
{
    QTableWidgetItem *item = table->item(row, numberCol);
    if (!item)
        return;
    const QString problem = numberProblem(row);
    const QSignalBlocker blocker(table);
    item->setToolTip(problem);
    if (problem.isEmpty())
        item->setData(Qt::BackgroundRole, QVariant());
    else
        item->setBackground(QColor(255, 205, 205));
}

void CRowTable::fillRow(int row, const QString &pin, const QString &description)
{
    const QStringList bitEntries = QStringList{text.noneText} + candidates();
    for (int c = 0; c < columns.size(); ++c) {
        const Column &column = columns.at(c);
        switch (column.cell) {
        case Cell::Pin:
            table->setItem(row, c, TableCells::fixedItem(pin));
            break;
        case Cell::Description:
            table->setItem(row, c, TableCells::fixedItem(description));
            break;
        case Cell::Number:
            table->setItem(row, c, TableCells::editableItem(QString::number(row + 1)));
            break;
        case Cell::Options:
            table->setCellWidget(
                row, c, TableCells::combo(ProjectTexts::optionsOf(text, type, column.key)));
            break;
        case Cell::Enable: {
            // "同上" (the last entry) only below the first row.
            const QStringList entries = ProjectTexts::optionsOf(text, type, column.key);
            CMyComboBox *box =
                TableCells::combo(row > 0 ? entries : QStringList(entries.mid(0, 2)));
            table->setCellWidget(row, c, box);
            connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    [this, row] { onEnableChanged(row); });
            break;
        }
        case Cell::Bit: {
            const int bit = enableColumn + 4 - c;
            CMyComboBox *box = TableCells::combo(bitEntries);
            box->setEnabled(false);
            table->setCellWidget(row, c, box);
            connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    [this, row, bit] { onBitChanged(row, bit); });
            connect(box, &CMyComboBox::Clicked, this,
                    [this, row, bit] { rebuildBitEntries(row, bit); });
            break;
        }
        }
    }
}

void CRowTable::restore(const QStringList &stored)
{
    const int recordSize = 2 * int(columns.size());
    if (recordSize == 0)
        return;
    restoring = true;
    for (int start = 0; start + recordSize <= stored.size(); start += recordSize) {
        const QStringList record = stored.mid(start, recordSize);
        const QString pin = record.at(2 * pinColumn + 1);
        int row = -1;
        for (int r = 0; r < table->rowCount() && row < 0; ++r) {
            const QTableWidgetItem *item = table->item(r, pinColumn);
            if (item && item->text() == pin)
                row = r;
        }
        if (row < 0)
            continue;
        for (int c = 0; c < columns.size(); ++c) {
            const QString value = record.at(2 * c + 1);
            switch (columns.at(c).cell) {
            case Cell::Options:
            case Cell::Enable:
                TableCells::selectStoredIndex(comboAt(row, c), value);
                break;
            case Cell::Number:
                table->item(row, c)->setText(value);
                break;
            case Cell::Bit:
                TableCells::selectStoredPin(comboAt(row, c), value);
                break;
            case Cell::Pin:
            case Cell::Description:
                break;
            }
        }
        if (usesChipSelects()) {
            applyChipSelectRules(row);
            for (int bit = 3; bit >= 0; --bit)
                shownPins << bitCell(row, bit)->currentText();
        }
    }
    restoring = false;
}

CMyComboBox *CRowTable::comboAt(int row, int column) const
{
    return qobject_cast<CMyComboBox *>(table->cellWidget(row, column));
}

CMyComboBox *CRowTable::bitCell(int row, int bit) const
{
    return comboAt(row, enableColumn + 4 - bit);
}

void CRowTable::clearBits(int row, int fromBit)
{
    for (int bit = fromBit; bit <= 3; ++bit) {
        CMyComboBox *box = bitCell(row, bit);
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(0);
        box->setEnabled(false);
    }
}

// Enable "关" frees every bit; otherwise bits are usable from bit 0 upward up
// to the first one left at "无".
void CRowTable::applyChipSelectRules(int row)
{
    if (comboAt(row, enableColumn)->currentIndex() <= 0) {
        clearBits(row, 0);
        return;
    }
    bitCell(row, 0)->setEnabled(true);
    for (int bit = 0; bit < 3; ++bit) {
        if (bitCell(row, bit)->currentIndex() <= 0) {
            clearBits(row, bit + 1);
            return;
        }
        bitCell(row, bit + 1)->setEnabled(true);
    }
}

void CRowTable::onEnableChanged(int row)
{
    if (restoring)
        return;
    const int choice = comboAt(row, enableColumn)->currentIndex();
    if (choice <= 0) {
        clearBits(row, 0);
        return;
    }
    bitCell(row, 0)->setEnabled(true);
    if (choice == 2 && row > 0) {
        // "同上": the same chip-select pins as the row above.
        for (int bit = 0; bit <= 3; ++bit) {
            const QString above = bitCell(row - 1, bit)->currentText();
            CMyComboBox *box = bitCell(row, bit);
            if (box->findText(above) < 0 && above != text.noneText)
                box->addItem(above);
            box->setCurrentIndex(std::max(0, box->findText(above)));
        }
    }
    applyChipSelectRules(row);
}

void CRowTable::onBitChanged(int row, int bit)
{
    if (restoring)
        return;
    if (bitCell(row, bit)->currentIndex() <= 0)
        clearBits(row, bit + 1);
    else if (bit < 3)
        bitCell(row, bit + 1)->setEnabled(true);
}

void CRowTable::rebuildBitEntries(int row, int bit)
{
    QStringList pins = candidates();
    for (int other = 0; other <= 3; ++other) {
        const QString shown = bitCell(row, other)->currentText();
        if (other != bit && shown != text.noneText)
            pins.removeAll(shown);
    }
    CMyComboBox *box = bitCell(row, bit);
    {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItem(text.noneText);
        box->addItems(TableRules::groupedByPort(pins));
        box->setCurrentIndex(0);
    }
    onBitChanged(row, bit);
}

QStringList CRowTable::chipSelectTexts() const
{
    QStringList texts;
    if (!usesChipSelects())
        return texts;
    for (int r = 0; r < table->rowCount(); ++r) {
        for (int bit = 3; bit >= 0; --bit)
            texts << bitCell(r, bit)->currentText();
    }
    return texts;
}

QStringList CRowTable::rowPins() const
{
    QStringList pins;
    for (int r = 0; r < table->rowCount(); ++r)
        pins << table->item(r, pinColumn)->text();
    return pins;
}

QString CRowTable::numberProblem() const
{
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString problem = numberProblem(r);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

QString CRowTable::numberProblem(int row) const
{
    const QTableWidgetItem *item = numberCol >= 0 ? table->item(row, numberCol) : nullptr;
    if (!item || TableRules::parseWholeNumber(item->text(), 0, numberMaximum()))
        return QString();
    return tr("第%1行的%2必须是%3到%4之间的整数！")
        .arg(row + 1)
        .arg(headers.value(numberCol))
        .arg(0)
        .arg(numberMaximum());
}

void CRowTable::checkStartTerminals(QWidget *messageParent)
{
    if (!usesChipSelects())
        return;
    QVector<TableRules::TerminalRange> ranges;
    for (int r = 0; r < table->rowCount(); ++r) {
        QStringList bits;
        for (int bit = 3; bit >= 0; --bit)
            bits << bitCell(r, bit)->currentText();
        TableRules::TerminalRange range;
        range.start = table->item(r, numberCol)->text().toInt();
        range.bits = TableRules::usedBits(bits, text.noneText);
        ranges << range;
    }
    const QVector<TableRules::TerminalRange> before = ranges;
    TableRules::checkStartTerminals(ranges, [&](int row, int) {
        const QString question = tr("请检查第%1行的%2起始端子的值！\n是否自动修改？")
                                     .arg(row + 1)
                                     .arg(ProjectTexts::terminalLetter(type));
        return Messages::question(messageParent, tr("警告"), question,
                                  QMessageBox::Yes | QMessageBox::Cancel) == QMessageBox::Yes;
    });
    for (int r = 0; r < ranges.size(); ++r) {
        if (ranges.at(r).start != before.at(r).start)
            table->item(r, numberCol)->setText(QString::number(ranges.at(r).start));
    }
}

QStringList CRowTable::information() const
{
    QStringList information;
    for (int r = 0; r < table->rowCount(); ++r) {
        const QString prefix = QString::number(r + 1);
        for (int c = 0; c < columns.size(); ++c) {
            QString value;
            switch (columns.at(c).cell) {
            case Cell::Pin:
            case Cell::Description:
            case Cell::Number:
                value = table->item(r, c)->text();
                break;
            case Cell::Options:
            case Cell::Enable:
                value = TableCells::indexValue(comboAt(r, c));
                break;
            case Cell::Bit:
                value = TableCells::pinValue(comboAt(r, c));
                break;
            }
            information << prefix + columns.at(c).key << value;
        }
    }
    return information;
}
