#pragma once

#include <QStyledItemDelegate>

// Editor of the start-terminal and task-number cells: digits only, and a value
// outside [minimum, maximum] is never written back into the cell.
class CNumberDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CNumberDelegate(QObject *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return low; }
    int maximum() const { return high; }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    int low = 0;
    int high = 65535;
};
