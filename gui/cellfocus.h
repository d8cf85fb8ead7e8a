#pragma once

#include <QObject>
#include <QPointer>

class QFocusFrame;
class QTableWidget;
class QWidget;

// Where the keyboard is in a table whose cells may hold their own widgets
// (drop-downs, buttons). Such a widget covers its cell, and with it the
// table's mark of the current cell: while the table has the keyboard, a
// frame is drawn around the current cell's widget instead. The arrows walk
// the cells, never into a widget; Space, F4 or Alt+Down opens the current
// drop-down (F2 hands it the keyboard), Space presses a button; Enter stays
// the window's.
class CellFocus : public QObject
{
    Q_OBJECT
public:
    explicit CellFocus(QTableWidget *table);

    // Makes the first cell that takes input current and gives the table the
    // keyboard: a table just opened shows where typing goes.
    void startAtFirstInput();
    // The widget the frame is drawn around; none while the table lacks the
    // keyboard or its current cell has no widget of its own.
    QWidget *framedWidget() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow();
    bool takesInput(int row, int column) const;
    bool enterCellWidget(int key);

    QTableWidget *table;
    QFocusFrame *frame;
};
