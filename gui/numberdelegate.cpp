#include "numberdelegate.h"

#include "tablerules.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

CNumberDelegate::CNumberDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void CNumberDelegate::setRange(int minimum, int maximum)
{
    low = minimum;
    high = maximum;
}

QWidget *CNumberDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                       const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    const int digits = QString::number(high).size();
    editor->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{1,%1}").arg(digits)), editor));
    editor->setAlignment(Qt::AlignCenter);
    return editor;
}

void CNumberDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->setText(index.data(Qt::EditRole).toString());
}

void CNumberDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                   const QModelIndex &index) const
{
    auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line || !TableRules::parseWholeNumber(line->text(), low, high))
        return;
    model->setData(index, line->text(), Qt::EditRole);
}
