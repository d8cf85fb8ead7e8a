#include "numberdelegate.h"

#include "fieldmarks.h"
#include "tablerules.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

CNumberDelegate::CNumberDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void CNumberDelegate::setRange(int minimum, int maximum)
{
    low = minimum;
    high = maximum;
}

QString CNumberDelegate::problem(const QString &text) const
{
    if (TableRules::parseWholeNumber(text, low, high))
        return QString();
    return tr("“%1”不在允许的范围内：请填写%2到%3之间的整数。").arg(text).arg(low).arg(high);
}

QWidget *CNumberDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                       const QModelIndex &) const
{
    auto *editor = new QLineEdit(parent);
    // Every digit typed stays: a number out of range is shown as refused,
    // never cut short.
    editor->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), editor));
    editor->setAlignment(Qt::AlignCenter);
    connect(editor, &QLineEdit::textChanged, editor,
            [this, editor](const QString &text) { FieldMarks::mark(editor, problem(text)); });
    return editor;
}

void CNumberDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor)) {
        line->setText(index.data(Qt::EditRole).toString());
        FieldMarks::mark(line, problem(line->text()));
    }
}

void CNumberDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                   const QModelIndex &index) const
{
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        model->setData(index, line->text(), Qt::EditRole);
}
