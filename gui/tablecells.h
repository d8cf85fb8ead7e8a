#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

class QComboBox;
class QTableWidgetItem;
class CMyComboBox;

// Small helpers shared by the parameter tables for making and reading cells.
namespace TableCells {

// A centred, read-only text cell with exactly the given flags.
QTableWidgetItem *fixedItem(const QString &text, Qt::ItemFlags flags = Qt::NoItemFlags);
// A centred, editable text cell.
QTableWidgetItem *editableItem(const QString &text);
// A drop-down cell holding the entries, first entry selected.
CMyComboBox *combo(const QStringList &entries);

// Selects the entry whose position a stored value names; a value that is not
// a valid position leaves the selection as it is.
void selectStoredIndex(QComboBox *box, const QString &storedValue);
// Selects a stored pin: "0" means no pin (first entry), any other value is
// looked up by text; an unknown text selects the first entry.
void selectStoredPin(QComboBox *box, const QString &storedValue);
// The selected position in decimal, "0" when nothing is selected.
QString indexValue(const QComboBox *box);
// The stored form of a pin cell: "0" for no pin (the first entry or nothing
// shown), otherwise the pin name.
QString pinValue(const QComboBox *box);

} // namespace TableCells
