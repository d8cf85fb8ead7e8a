#include "usarttable.h"

#include "mycombobox.h"
#include "tablecells.h"

#include <QPushButton>
#include <QTableWidget>

CUsartTable::CUsartTable(QTableWidget *tableWidget, const CDlgDescription &labels, QObject *parent)
    : QObject(parent), table(tableWidget), text(labels)
{
}

void CUsartTable::build(int portNumber, const TableRules::PortPins &pins, const QStringList &stored)
{
    port = portNumber;
    pinNames = pins.names;
    table->setColumnCount(3);
    table->setRowCount(rowCount);
    table->setHorizontalHeaderLabels(text.headersWireless);
    for (int c = 0; c < 3; ++c)
        table->setColumnWidth(c, 120);

    const auto type = CPinDescriptions::DlgType(CPinDescriptions::DlgUSART1 + port - 1);
    for (int r = 0; r < rowCount; ++r) {
        table->setItem(r, 0, TableCells::fixedItem(text.headersUSART.value(r), Qt::ItemIsEnabled));
        if (r < 2)
            table->setItem(r, 1, TableCells::fixedItem(pinNames.value(r)));
        else
            table->setCellWidget(
                r, 1,
                TableCells::combo(pins.assigned
                                      ? ProjectTexts::optionsOf(text, type, text.usartKeys.value(r))
                                      : QStringList()));
    }
    button = new QPushButton(tr("参数设置"));
    table->setCellWidget(applicationRow, 2, button);
    connect(button, &QPushButton::clicked, this, [this] {
        if (portApplication() >= firstWirelessApplication)
            emit wirelessSettingsRequested();
    });

    if (stored.size() >= 2 * rowCount) {
        for (int r = 2; r < rowCount; ++r) {
            auto *box = qobject_cast<QComboBox *>(table->cellWidget(r, 1));
            TableCells::selectStoredIndex(box, stored.at(2 * r + 1));
        }
    }
}

QString CUsartTable::windowTitle() const
{
    return text.titleUSART + QString::number(port);
}

QSize CUsartTable::windowSize() const
{
    return QSize(3 * 110 + 70, rowCount * 40 + 40);
}

int CUsartTable::portApplication() const
{
    auto *box = qobject_cast<QComboBox *>(table->cellWidget(applicationRow, 1));
    return box ? box->currentIndex() : -1;
}

QStringList CUsartTable::information() const
{
    QStringList information;
    for (int r = 0; r < rowCount; ++r) {
        QString value;
        if (r < 2)
            value = pinNames.value(r);
        else
            value = TableCells::indexValue(qobject_cast<QComboBox *>(table->cellWidget(r, 1)));
        information << text.usartKeys.value(r) << value;
    }
    return information;
}
