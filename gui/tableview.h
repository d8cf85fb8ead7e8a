#pragma once

#include "dlgdescription.h"
#include "tabledraft.h"

#include <QObject>
#include <QSize>
#include <QVector>

class QPushButton;
class QTableWidget;
class QWidget;

// Shows a table of the draft in the dialog's table widget and hands back
// what the user chooses or types; it decides nothing. Row tables take one
// column per cell; the serial and SPI tables show the parameter's title,
// its value and, beside the port or film application, the button of its
// settings window.
class CTableView : public QObject
{
    Q_OBJECT
public:
    CTableView(QTableWidget *table, const CDlgDescription &text, QObject *parent = nullptr);

    // Shows the table; the cells are made anew only when its shape changed.
    // Returns true when they were.
    bool show(const DraftTable &table);
    // The widget column of a draft column.
    int widgetColumn(int column) const;
    // The draft column of a widget column; -1 for a title or button column.
    int draftColumn(int widgetColumn) const;
    int numberColumn() const { return numberCol; }
    QString windowTitle() const;
    QSize windowSize() const;

signals:
    // A cell's value in the stored form: an option index, "0" or a pin, or
    // the typed text.
    void valueChosen(int row, int column, const QString &value);
    // The settings button of a row was pressed.
    void settingsRequested(int row);

private:
    void build(const DraftTable &table);
    void buildRow(int row, const QVector<DraftCell> &cells);
    void update(const DraftTable &table);
    void updateCell(int row, int column, const DraftCell &cell);
    // The settings buttons of a port table are usable only where they can
    // open something; otherwise greyed, saying why.
    void updateSettingsButtons(const DraftTable &table);
    QString unassignedText() const;
    bool isRowTable() const;

    QTableWidget *widget;
    const CDlgDescription &text;
    DraftTable current;
    int numberCol = -1;
};
