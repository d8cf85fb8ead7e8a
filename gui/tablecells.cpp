#include "tablecells.h"

#include "mycombobox.h"
#include "tablerules.h"

#include <QTableWidgetItem>

namespace TableCells {

QTableWidgetItem *fixedItem(const QString &text, Qt::ItemFlags flags)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(flags);
    return item;
}

QTableWidgetItem *editableItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

CMyComboBox *combo(const QStringList &entries)
{
    auto *box = new CMyComboBox;
    box->addItems(entries);
    if (box->count() > 0)
        box->setCurrentIndex(0);
    return box;
}

void selectStoredIndex(QComboBox *box, const QString &storedValue)
{
    int index = 0;
    if (TableRules::parseWholeNumber(storedValue, 0, box->count() - 1, &index))
        box->setCurrentIndex(index);
}

void selectStoredPin(QComboBox *box, const QString &storedValue)
{
    if (box->count() == 0)
        return;
    const int found = storedValue == QLatin1String("0") ? 0 : box->findText(storedValue);
    box->setCurrentIndex(found < 0 ? 0 : found);
}

QString indexValue(const QComboBox *box)
{
    return QString::number(std::max(0, box->currentIndex()));
}

QString pinValue(const QComboBox *box)
{
    if (box->currentIndex() <= 0 || box->currentText().isEmpty())
        return QStringLiteral("0");
    return box->currentText();
}

} // namespace TableCells
