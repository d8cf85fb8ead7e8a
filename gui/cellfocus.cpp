#include "cellfocus.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QTableWidget>

CellFocus::CellFocus(QTableWidget *tableWidget)
    : QObject(tableWidget), table(tableWidget), frame(new QFocusFrame(tableWidget))
{
    // The frame in the colour of a selection, as the styles draw focus.
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Highlight));
    frame->setPalette(palette);
    frame->hide(); // until there is a widget to go round
    table->installEventFilter(this);
    connect(table, &QTableWidget::currentCellChanged, this, &CellFocus::follow);
}

QWidget *CellFocus::framedWidget() const
{
    return frame->widget();
}

bool CellFocus::takesInput(int row, int column) const
{
    if (QWidget *own = table->cellWidget(row, column))
        return own->isEnabled();
    const QTableWidgetItem *item = table->item(row, column);
    return item && (item->flags() & Qt::ItemIsEnabled) && (item->flags() & Qt::ItemIsEditable);
}

void CellFocus::startAtFirstInput()
{
    for (int r = 0; r < table->rowCount(); ++r)
        for (int c = 0; c < table->columnCount(); ++c)
            if (takesInput(r, c)) {
                table->setCurrentCell(r, c);
                r = table->rowCount(); // done
                break;
            }
    table->setFocus(Qt::OtherFocusReason);
    follow();
}

void CellFocus::follow()
{
    QWidget *own = table->hasFocus()
                       ? table->cellWidget(table->currentRow(), table->currentColumn())
                       : nullptr;
    if (frame->widget() != own)
        frame->setWidget(own);
}

bool CellFocus::enterCellWidget(int key)
{
    QWidget *own = table->cellWidget(table->currentRow(), table->currentColumn());
    if (!own || !own->isEnabled())
        return false;
    // The list opens over the table, which keeps the keyboard once a choice
    // is made; F2 hands the keyboard to the drop-down itself.
    if (auto *box = qobject_cast<QComboBox *>(own)) {
        if (key == Qt::Key_F2)
            box->setFocus(Qt::TabFocusReason);
        else
            box->showPopup();
    } else if (auto *button = qobject_cast<QAbstractButton *>(own)) {
        if (key == Qt::Key_Space)
            button->click();
    }
    return true;
}

bool CellFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == table) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            follow();
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool down = key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier);
            if ((down || key->key() == Qt::Key_Space || key->key() == Qt::Key_F2 ||
                 key->key() == Qt::Key_F4) &&
                enterCellWidget(key->key()))
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
