#pragma once

#include "dlgdescription.h"
#include "tabledraft.h"

#include <QCoreApplication>
#include <QString>
#include <QVector>

// Text taken into a cell of a table as its window takes a choice or typing,
// wherever the text comes from: a file of the table, the clipboard, a fill
// down. An option is found by its text in any language given, a chip select
// among the pins the cell offers (or the none text), a number is typed.
class TableInput
{
    Q_DECLARE_TR_FUNCTIONS(TableInput)
public:
    // What a cell shows: an option's text, a pin, a number.
    static QString shown(const DraftCell &cell);

    // Takes `text` into the open draft's cell; `languages` are the texts the
    // options may be written in. Text the cell shows already (in any of
    // them) changes nothing. Returns why the cell does not take it (a greyed
    // or fixed cell, no such option, a number out of range), the cell then
    // unchanged; empty when it took it.
    static QString take(TableDraft &draft, int row, int column, const QString &text,
                        const QVector<const CDlgDescription *> &languages);
};
