#include "tableview.h"

#include "fieldmarks.h"
#include "mycombobox.h"
#include "projecttexts.h"
#include "tablecells.h"
#include "tablerules.h"

#include <QColor>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <cstdlib>

using D = CPinDescriptions;

namespace {

bool sameShape(const DraftTable &a, const DraftTable &b)
{
    if (a.type != b.type || a.rowPins != b.rowPins || a.rows.size() != b.rows.size())
        return false;
    for (int r = 0; r < a.rows.size(); ++r) {
        if (a.rows.at(r).size() != b.rows.at(r).size())
            return false;
        for (int c = 0; c < a.rows.at(r).size(); ++c)
            if (a.rows.at(r).at(c).kind != b.rows.at(r).at(c).kind)
                return false;
    }
    return true;
}

bool isSpi(D::DlgType type)
{
    return type >= D::DlgSPI1 && type <= D::DlgSPI3;
}

} // namespace

CTableView::CTableView(QTableWidget *table, const CDlgDescription &labels, QObject *parent)
    : QObject(parent), widget(table), text(labels)
{
    connect(widget, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const int column = draftColumn(item->column());
        const DraftCell *cell = current.cell(item->row(), column);
        if (cell && cell->kind == DraftCell::Number && item->text() != cell->value)
            emit valueChosen(item->row(), column, item->text());
    });
}

bool CTableView::isRowTable() const
{
    return current.type != D::DlgNone &&
           !(current.type >= D::DlgUSART1 && current.type <= D::DlgSPI3);
}

int CTableView::widgetColumn(int column) const
{
    return isRowTable() ? column : column + 1;
}

int CTableView::draftColumn(int column) const
{
    if (isRowTable())
        return column;
    return column == 1 ? 0 : -1;
}

bool CTableView::show(const DraftTable &table)
{
    const bool rebuilt = !sameShape(table, current);
    current = table;
    if (rebuilt)
        build(table);
    else
        update(table);
    return rebuilt;
}

void CTableView::build(const DraftTable &table)
{
    const QSignalBlocker blocker(widget);
    for (int c = 0; c < widget->columnCount(); ++c)
        widget->setItemDelegateForColumn(c, nullptr);
    widget->clear();
    numberCol = -1;
    if (table.type == D::DlgNone) {
        widget->setRowCount(0);
        widget->setColumnCount(0);
        return;
    }
    const bool rows = isRowTable();
    const int columns = rows ? int(rowKeys(table.type).size()) : 3;
    widget->setColumnCount(columns);
    widget->setRowCount(int(table.rows.size()));
    if (rows) {
        // A title of three words or more ("Chip select bit 3") takes two
        // lines: the columns are as narrow as their values allow.
        QStringList titles = ProjectTexts::rowHeaders(text, table.type);
        for (QString &title : titles) {
            if (title.count(QLatin1Char(' ')) < 2)
                continue;
            const int middle = int(title.size()) / 2;
            int best = -1;
            for (int at = int(title.indexOf(QLatin1Char(' '))); at >= 0;
                 at = int(title.indexOf(QLatin1Char(' '), at + 1)))
                if (best < 0 || std::abs(at - middle) < std::abs(best - middle))
                    best = at;
            title[best] = QLatin1Char('\n');
        }
        widget->setHorizontalHeaderLabels(titles);
    } else
        widget->setHorizontalHeaderLabels(isSpi(table.type) ? text.headersNetwork
                                                            : text.headersWireless);
    const int width = rows || isSpi(table.type) ? 100 : 120;
    for (int c = 0; c < columns; ++c)
        widget->setColumnWidth(c, width);
    for (int r = 0; r < table.rows.size(); ++r)
        buildRow(r, table.rows.at(r));
    updateSettingsButtons(table);
    if (table.type == D::DlgDI)
        for (int r = 0; r < std::min(columns, int(table.rows.size())); ++r)
            widget->setRowHeight(r, 30);
}

void CTableView::buildRow(int row, const QVector<DraftCell> &cells)
{
    if (!isRowTable()) {
        const QStringList &titles = isSpi(current.type) ? text.headersSPI : text.headersUSART;
        widget->setItem(row, 0, TableCells::fixedItem(titles.value(row), Qt::ItemIsEnabled));
        const bool hasButton = isSpi(current.type) ? row >= TableRules::spiApplicationRow(1) &&
                                                         !TableRules::isSpiChipSelectRow(row)
                                                   : row == TableRules::usartApplicationRow;
        if (hasButton) {
            auto *button = new QPushButton(isSpi(current.type) ? tr("网络属性") : tr("参数设置"));
            button->setFocusPolicy(Qt::NoFocus); // Space on its cell presses it
            widget->setCellWidget(row, 2, button);
            connect(button, &QPushButton::clicked, this,
                    [this, row] { emit settingsRequested(row); });
        }
    }
    for (int c = 0; c < cells.size(); ++c) {
        const DraftCell &cell = cells.at(c);
        const int column = widgetColumn(c);
        switch (cell.kind) {
        case DraftCell::Fixed:
            widget->setItem(row, column, TableCells::fixedItem(cell.value));
            break;
        case DraftCell::Number:
            widget->setItem(row, column, TableCells::editableItem(cell.value));
            numberCol = column;
            break;
        case DraftCell::Options:
        case DraftCell::ChipSelect: {
            CMyComboBox *box = TableCells::combo(cell.entries);
            widget->setCellWidget(row, column, box);
            const bool pin = cell.kind == DraftCell::ChipSelect;
            connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    [this, box, row, c, pin](int i) {
                        if (i < 0)
                            return;
                        emit valueChosen(row, c,
                                         !pin ? QString::number(i)
                                              : (i == 0 ? QStringLiteral("0") : box->itemText(i)));
                    });
            break;
        }
        }
        updateCell(row, c, cell);
    }
}

void CTableView::update(const DraftTable &table)
{
    for (int r = 0; r < table.rows.size(); ++r)
        for (int c = 0; c < table.rows.at(r).size(); ++c)
            updateCell(r, c, table.rows.at(r).at(c));
    updateSettingsButtons(table);
}

void CTableView::updateSettingsButtons(const DraftTable &table)
{
    if (isRowTable())
        return;
    const bool spi = isSpi(table.type);
    const int first =
        spi ? ProjectTexts::firstNetworkApplication : ProjectTexts::firstWirelessApplication;
    for (int r = 0; r < table.rows.size(); ++r) {
        auto *button = qobject_cast<QPushButton *>(widget->cellWidget(r, 2));
        if (!button)
            continue;
        // A button that can do nothing is greyed and says why.
        const bool usable = table.portAssigned && table.rows.at(r).value(0).index >= first;
        button->setEnabled(usable);
        button->setToolTip(usable                ? QString()
                           : !table.portAssigned ? unassignedText()
                           : spi ? tr("软片的应用为自由驱动端或Studio服务端时才有网络属性")
                                 : tr("端口应用为无线模块时才有参数设置"));
    }
}

QString CTableView::unassignedText() const
{
    return tr("%1 的引脚还没有分配：先在芯片图上分配，再填写这个表格")
        .arg(ProjectTexts::tableName(current.type));
}

void CTableView::updateCell(int row, int c, const DraftCell &cell)
{
    const int column = widgetColumn(c);
    if (auto *box = qobject_cast<QComboBox *>(widget->cellWidget(row, column))) {
        const QSignalBlocker blocker(box);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (shown != cell.entries) {
            box->clear();
            box->addItems(cell.entries);
        }
        box->setCurrentIndex(cell.index);
        box->setEnabled(cell.enabled);
        FieldMarks::mark(box, cell.problem);
        return;
    }
    QTableWidgetItem *item = widget->item(row, column);
    if (!item)
        return;
    const QSignalBlocker blocker(widget);
    if (item->text() != cell.value)
        item->setText(cell.value);
    if (cell.kind != DraftCell::Number)
        return;
    item->setToolTip(cell.problem);
    if (cell.problem.isEmpty())
        item->setData(Qt::BackgroundRole, QVariant());
    else
        item->setBackground(QColor(255, 205, 205));
    // The view paints the new background at once.
    widget->viewport()->update();
}

QString CTableView::windowTitle() const
{
    if (isRowTable())
        return ProjectTexts::rowTitle(text, current.type);
    const QString title = isSpi(current.type)
                              ? text.titleSPI + QString::number(current.type - D::DlgSPI1 + 1)
                              : text.titleUSART + QString::number(current.type - D::DlgUSART1 + 1);
    // A port without its pins has nothing to fill in: the title says why.
    return current.portAssigned ? title : title + tr("（引脚未分配）");
}

QSize CTableView::windowSize() const
{
    const int rows = int(current.rows.size());
    if (isSpi(current.type))
        return QSize(3 * 100 + 50, rows * 30 + 80);
    if (!isRowTable())
        return QSize(3 * 110 + 70, rows * 40 + 40);
    const int width = int(rowKeys(current.type).size()) * 100 + 50;
    if (current.type == D::DlgDI)
        return QSize(width, rows * 30 + 100 + (rows == 1 ? 100 : 0));
    return QSize(width, rows * 20 + 210);
}
