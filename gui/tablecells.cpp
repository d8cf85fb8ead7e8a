#include "tablecells.h"

#include "mycombobox.h"

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
    // The keyboard stays with the table while it walks the cells; Space or
    // F4 opens the drop-down of the current one (CellFocus).
    box->setFocusPolicy(Qt::NoFocus);
    box->addItems(entries);
    if (box->count() > 0)
        box->setCurrentIndex(0);
    return box;
}

} // namespace TableCells
