#pragma once

// For the window's suites only (it needs QtWidgets): whether a window can be
// used on a screen of a given size.

#include "wholetexts.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTableWidget>
#include <QTextEdit>

namespace ScreenFit {

inline QRect rectIn(const QWidget *widget, const QWidget *window)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

// The visible controls of a window that cannot be reached: outside the
// window, or inside a scroll area whose viewport is not wholly in it. What a
// scroll area holds is reached by scrolling, and so is what an item view
// holds (the cell widgets).
inline QStringList unreachable(const QWidget *window)
{
    QStringList found;
    const QRect whole = window->rect();
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        const bool control =
            qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
            qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
            qobject_cast<const QAbstractScrollArea *>(w) || qobject_cast<const QTabBar *>(w) ||
            (qobject_cast<const QLabel *>(w) && !static_cast<const QLabel *>(w)->text().isEmpty());
        if (!control || !w->isVisibleTo(window) || w->window() != window)
            continue;
        // The nearest scroll area around it decides, through its viewport.
        const QWidget *shownIn = w;
        for (const QWidget *up = w->parentWidget(); up && up != window; up = up->parentWidget()) {
            if (const auto *area = qobject_cast<const QAbstractScrollArea *>(up)) {
                if (area->viewport()->isAncestorOf(w))
                    shownIn = area->viewport();
                break;
            }
        }
        if (!whole.contains(rectIn(shownIn, window)))
            found << w->metaObject()->className() + QStringLiteral(" ") + w->objectName();
    }
    return found;
}

// The texts of a table whose column is too narrow for them: the header and
// every cell, those scrolled out of view too; a cell's combo box needs its
// field as wide as its widest option.
inline QStringList cutCells(const QTableWidget *table)
{
    QStringList found;
    const QFontMetrics metrics = table->fontMetrics();
    const int cellMargin = 2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    const QHeaderView *header = table->horizontalHeader();
    const int headerMargin = 2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin);
    for (int c = 0; c < table->columnCount(); ++c) {
        if (table->isColumnHidden(c))
            continue;
        const int width = table->columnWidth(c);
        if (const QTableWidgetItem *item = table->horizontalHeaderItem(c)) {
            const QFontMetrics headerMetrics = header->fontMetrics();
            int needed = 0;
            for (const QString &line : item->text().split(QLatin1Char('\n')))
                needed = std::max(needed, headerMetrics.horizontalAdvance(line));
            if (width < needed + headerMargin)
                found << QStringLiteral("header: ") + item->text();
        }
        for (int r = 0; r < table->rowCount(); ++r) {
            if (const QTableWidgetItem *item = table->item(r, c))
                if (width < metrics.horizontalAdvance(item->text()) + cellMargin)
                    found << QStringLiteral("cell %1,%2: ").arg(r).arg(c) + item->text();
            if (const auto *box = qobject_cast<const QComboBox *>(table->cellWidget(r, c))) {
                QStyleOptionComboBox option;
                option.initFrom(box);
                option.rect = QRect(0, 0, width, table->rowHeight(r));
                const int field = box->style()
                                      ->subControlRect(QStyle::CC_ComboBox, &option,
                                                       QStyle::SC_ComboBoxEditField, box)
                                      .width();
                for (int i = 0; i < box->count(); ++i)
                    if (field < box->fontMetrics().horizontalAdvance(box->itemText(i)))
                        found << QStringLiteral("combo %1,%2: ").arg(r).arg(c) + box->itemText(i);
            }
        }
    }
    return found;
}

// Every text of the window that is cut: labels, buttons, combo boxes
// (WholeTexts) and the headers and cells of its tables.
inline QStringList cut(const QWidget *window)
{
    QStringList found = WholeTexts::cut(window);
    for (const QTableWidget *table : window->findChildren<QTableWidget *>())
        if (table->isVisibleTo(window))
            found += cutCells(table);
    return found;
}

// The texts a window shows: its title, labels, buttons, combo items, tab
// titles, menu entries, table headers and cells, tooltips of buttons.
inline QStringList texts(const QWidget *window)
{
    QStringList all{window->windowTitle()};
    for (const QLabel *label : window->findChildren<QLabel *>())
        all << label->text();
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        all << button->text() << button->toolTip();
    for (const QComboBox *box : window->findChildren<QComboBox *>())
        for (int i = 0; i < box->count(); ++i)
            all << box->itemText(i);
    for (const QLineEdit *edit : window->findChildren<QLineEdit *>())
        all << edit->placeholderText();
    for (const QMenu *menu : window->findChildren<QMenu *>())
        for (const QAction *action : menu->actions())
            all << action->text() << action->toolTip();
    for (const QTabBar *bar : window->findChildren<QTabBar *>())
        for (int i = 0; i < bar->count(); ++i)
            all << bar->tabText(i);
    for (const QTableWidget *table : window->findChildren<QTableWidget *>()) {
        for (int c = 0; c < table->columnCount(); ++c)
            if (const QTableWidgetItem *item = table->horizontalHeaderItem(c))
                all << item->text();
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                if (const QTableWidgetItem *item = table->item(r, c))
                    all << item->text();
    }
    return all;
}

} // namespace ScreenFit
