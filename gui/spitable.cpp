#include "spitable.h"

#include "mycombobox.h"
#include "projecttexts.h"
#include "tablecells.h"

#include <QPushButton>
#include <QTableWidget>

CSpiTable::CSpiTable(QTableWidget *tableWidget, const CDlgDescription &labels, Candidates offered,
                     QObject *parent)
    : QObject(parent), table(tableWidget), text(labels), candidates(std::move(offered))
{
}

void CSpiTable::build(int portNumber, const TableRules::PortPins &pins, const QStringList &stored)
{
    port = portNumber;
    assigned = pins.assigned;
    pinNames = pins.names;
    buttons.clear();
    table->setColumnCount(3);
    table->setRowCount(rowCount);
    table->setHorizontalHeaderLabels(text.headersNetwork);
    for (int c = 0; c < 3; ++c)
        table->setColumnWidth(c, 100);

    const auto options = [this](int row) {
        return assigned ? ProjectTexts::optionsOf(
                              text, CPinDescriptions::DlgType(CPinDescriptions::DlgSPI1 + port - 1),
                              text.spiKeys.value(row))
                        : QStringList();
    };
    const QStringList chipSelectEntries =
        assigned ? QStringList{text.noneText} + candidates() : QStringList();

    for (int r = 0; r < rowCount; ++r) {
        table->setItem(r, 0, TableCells::fixedItem(text.headersSPI.value(r), Qt::ItemIsEnabled));
        if (r < 3)
            table->setItem(r, 1, TableCells::fixedItem(pinNames.value(r)));
        else if (r < applicationRow(1))
            table->setCellWidget(r, 1, TableCells::combo(options(r)));
    }
    for (int film = 1; film <= filmCount; ++film) {
        table->setCellWidget(applicationRow(film), 1,
                             TableCells::combo(options(applicationRow(film))));
        CMyComboBox *chipSelect = TableCells::combo(chipSelectEntries);
        table->setCellWidget(chipSelectRow(film), 1, chipSelect);
        connect(chipSelect, &CMyComboBox::Clicked, this,
                [this, film] { rebuildChipSelectEntries(film); });

        auto *button = new QPushButton(tr("网络属性"));
        table->setCellWidget(applicationRow(film), 2, button);
        buttons << button;
        connect(button, &QPushButton::clicked, this, [this, film] {
            if (filmApplication(film) >= ProjectTexts::firstNetworkApplication)
                emit networkAttributRequested(film);
        });
    }

    if (stored.size() >= 2 * rowCount) {
        for (int r = 3; r < rowCount; ++r) {
            const QString value = stored.at(2 * r + 1);
            if (isChipSelectRow(r))
                TableCells::selectStoredPin(valueCell(r), value);
            else
                TableCells::selectStoredIndex(valueCell(r), value);
        }
    }
}

QString CSpiTable::windowTitle() const
{
    return text.titleSPI + QString::number(port);
}

QSize CSpiTable::windowSize() const
{
    return QSize(3 * 100 + 50, rowCount * 30 + 80);
}

QComboBox *CSpiTable::valueCell(int row) const
{
    return qobject_cast<QComboBox *>(table->cellWidget(row, 1));
}

int CSpiTable::filmApplication(int film) const
{
    QComboBox *box = valueCell(applicationRow(film));
    return box ? box->currentIndex() : -1;
}

QStringList CSpiTable::chipSelectTexts() const
{
    QStringList texts;
    for (int film = 1; film <= filmCount; ++film) {
        const QString shown = valueCell(chipSelectRow(film))->currentText();
        texts << (shown.isEmpty() ? text.noneText : shown);
    }
    return texts;
}

void CSpiTable::clearUnusedChipSelects()
{
    for (int film = 1; film <= filmCount; ++film) {
        QComboBox *box = valueCell(chipSelectRow(film));
        if (filmApplication(film) <= 0 && box->count() > 0)
            box->setCurrentIndex(0);
    }
}

// A film in use may not take a pin that another film in use already shows.
void CSpiTable::rebuildChipSelectEntries(int film)
{
    if (!assigned)
        return;
    QStringList pins = candidates();
    if (filmApplication(film) > 0) {
        for (int other = 1; other <= filmCount; ++other) {
            const QString shown = valueCell(chipSelectRow(other))->currentText();
            if (other != film && filmApplication(other) > 0 && shown != text.noneText)
                pins.removeAll(shown);
        }
    }
    QComboBox *box = valueCell(chipSelectRow(film));
    box->clear();
    box->addItem(text.noneText);
    box->addItems(TableRules::groupedByPort(pins));
    box->setCurrentIndex(0);
}

QStringList CSpiTable::information() const
{
    QStringList information;
    for (int r = 0; r < rowCount; ++r) {
        QString value;
        if (r < 3)
            value = pinNames.value(r);
        else if (isChipSelectRow(r))
            value = TableCells::pinValue(valueCell(r));
        else
            value = TableCells::indexValue(valueCell(r));
        information << text.spiKeys.value(r) << value;
    }
    return information;
}
