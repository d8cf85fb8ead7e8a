#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QTableWidget;
class TableDraft;

// Copy, paste and fill down in a table window, as spreadsheets do them.
// Ctrl+C puts the selected range on the clipboard as tab-separated text,
// each cell as it shows. Ctrl+V takes such a range (from a spreadsheet, a
// text editor or another table) at the selection's top left cell; Ctrl+D
// fills the selected cells of each column with the column's top cell. Each
// value goes into the draft as if chosen or typed (TableInput), unconfirmed
// until 确定. Cells that do not take their value are named, row and column,
// in one question: paste the rest, or nothing.
class TableClipboard : public QObject
{
    Q_OBJECT
public:
    // draftColumn maps a column of the widget to the draft's (-1: none).
    TableClipboard(QTableWidget *table, TableDraft *draft, std::function<int(int)> draftColumn);

    QString copySelection() const;
    // Pastes tab-separated text at the top left selected cell; false when
    // nothing was taken.
    bool paste(const QString &text);
    bool fillDown();

protected:
    // The table's own copy (of one cell) gives way to the range's.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Put
    {
        int row;
        int column;
        QString text;
    };
    // Takes every value, asking about those refused; false when nothing is
    // taken in the end.
    bool put(const QVector<Put> &values);
    QString cellText(int row, int column) const;

    QTableWidget *table;
    TableDraft *draft;
    std::function<int(int)> draftColumn;
};
