#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QTableWidgetItem;
class CMyComboBox;

// Small helpers shared by the parameter tables for making cells.
namespace TableCells {

// A centred, read-only text cell with exactly the given flags.
QTableWidgetItem *fixedItem(const QString &text, Qt::ItemFlags flags = Qt::NoItemFlags);
// A centred, editable text cell.
QTableWidgetItem *editableItem(const QString &text);
// A drop-down cell holding the entries, first entry selected.
CMyComboBox *combo(const QStringList &entries);

} // namespace TableCells
