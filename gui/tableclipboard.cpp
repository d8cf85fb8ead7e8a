#include "tableclipboard.h"

#include "messages.h"
#include "tablecsv.h"
#include "tabledraft.h"
#include "tableinput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QShortcut>
#include <QTableWidget>

namespace {

// The rows a selection spans, as the bounding range of its cells (or the
// current cell when nothing is selected).
QTableWidgetSelectionRange rangeOf(const QTableWidget *table)
{
    const QList<QTableWidgetSelectionRange> ranges = table->selectedRanges();
    if (ranges.isEmpty())
        return QTableWidgetSelectionRange(table->currentRow(), table->currentColumn(),
                                          table->currentRow(), table->currentColumn());
    int top = ranges.first().topRow(), left = ranges.first().leftColumn();
    int bottom = ranges.first().bottomRow(), right = ranges.first().rightColumn();
    for (const QTableWidgetSelectionRange &r : ranges) {
        top = std::min(top, r.topRow());
        left = std::min(left, r.leftColumn());
        bottom = std::max(bottom, r.bottomRow());
        right = std::max(right, r.rightColumn());
    }
    return QTableWidgetSelectionRange(top, left, bottom, right);
}

} // namespace

TableClipboard::TableClipboard(QTableWidget *tableWidget, TableDraft *tableDraft,
                               std::function<int(int)> toDraftColumn)
    : QObject(tableWidget), table(tableWidget), draft(tableDraft),
      draftColumn(std::move(toDraftColumn))
{
    const auto shortcut = [this](const QKeySequence &keys, const std::function<void()> &run) {
        auto *key = new QShortcut(keys, table);
        key->setContext(Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, run);
    };
    shortcut(QKeySequence::Copy, [this] { QApplication::clipboard()->setText(copySelection()); });
    shortcut(QKeySequence::Paste, [this] { paste(QApplication::clipboard()->text()); });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_D), [this] { fillDown(); });
    table->installEventFilter(this);
}

bool TableClipboard::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != table ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QObject::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool copy = key->matches(QKeySequence::Copy);
    const bool pasteKeys = key->matches(QKeySequence::Paste);
    const bool fill = key->key() == Qt::Key_D && key->modifiers() == Qt::ControlModifier;
    if (!copy && !pasteKeys && !fill)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the key comes as a key press, here
        return true;
    }
    if (copy)
        QApplication::clipboard()->setText(copySelection());
    else if (pasteKeys)
        paste(QApplication::clipboard()->text());
    else
        fillDown();
    return true;
}

QString TableClipboard::cellText(int row, int column) const
{
    if (auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, column)))
        return box->currentText();
    if (table->cellWidget(row, column))
        return QString(); // a button
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

QString TableClipboard::copySelection() const
{
    const QTableWidgetSelectionRange range = rangeOf(table);
    if (range.topRow() < 0 || range.leftColumn() < 0)
        return QString();
    QStringList lines;
    for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
        QStringList cells;
        for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
            cells << cellText(r, c);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool TableClipboard::paste(const QString &text)
{
    const QTableWidgetSelectionRange range = rangeOf(table);
    if (range.topRow() < 0 || range.leftColumn() < 0 || text.isEmpty())
        return false;
    QString block = text;
    block.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = block.split(QLatin1Char('\n'));
    if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // the line end after the last row
    QVector<Put> values;
    for (int r = 0; r < lines.size(); ++r) {
        const QStringList cells = lines.at(r).split(QLatin1Char('\t'));
        for (int c = 0; c < cells.size(); ++c)
            values << Put{range.topRow() + r, range.leftColumn() + c, cells.at(c)};
    }
    return put(values);
}

bool TableClipboard::fillDown()
{
    const QTableWidgetSelectionRange range = rangeOf(table);
    if (range.rowCount() < 2)
        return false;
    QVector<Put> values;
    for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
        for (int r = range.topRow() + 1; r <= range.bottomRow(); ++r)
            values << Put{r, c, cellText(range.topRow(), c)};
    return put(values);
}

bool TableClipboard::put(const QVector<Put> &values)
{
    const auto languages = TableCsv::bothLanguages();
    QStringList refused;
    QVector<Put> taken; // with the stored value it replaced, to go back
    for (const Put &value : values) {
        const int column = value.column < table->columnCount() ? draftColumn(value.column) : -1;
        const DraftCell *cell =
            value.row < table->rowCount() ? draft->table().cell(value.row, column) : nullptr;
        const QString where = tr("第%1行第%2列").arg(value.row + 1).arg(value.column + 1);
        if (!cell) {
            refused << where + tr("：表格中没有这一格");
            continue;
        }
        const QString before = cell->value;
        const QString why = TableInput::take(*draft, value.row, column, value.text, languages);
        if (!why.isEmpty())
            refused << where + QStringLiteral("：") + why;
        else if (draft->table().cell(value.row, column)->value != before)
            taken << Put{value.row, column, before};
    }
    if (refused.isEmpty())
        return !taken.isEmpty();
    const bool rest = !taken.isEmpty() &&
                      Messages::question(table->window(), tr("粘贴"),
                                         tr("这些格子不接受粘贴的值：\n%1\n\n粘贴其余的值吗？")
                                             .arg(refused.join(QLatin1Char('\n'))),
                                         QMessageBox::Yes | QMessageBox::Cancel,
                                         {{QMessageBox::Yes, tr("粘贴其余的值")},
                                          {QMessageBox::Cancel, tr("都不粘贴")}},
                                         QMessageBox::Cancel) == QMessageBox::Yes;
    if (taken.isEmpty())
        Messages::warning(table->window(), tr("粘贴"),
                          tr("没有粘贴任何值：\n%1").arg(refused.join(QLatin1Char('\n'))));
    if (rest)
        return true;
    for (int i = int(taken.size()) - 1; i >= 0; --i)
        draft->setValue(taken.at(i).row, taken.at(i).column, taken.at(i).text);
    return false;
}
