#pragma once

#include <QStyledItemDelegate>

// Editor of the start-terminal and task-number cells: digits only. A value
// outside [minimum, maximum] is kept as typed; while it is typed the editor
// shows a red frame and the allowed range as its tooltip, and the table marks
// the cell until it is corrected.
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

    // Why the text is refused, or empty when it is a whole number in range.
    QString problem(const QString &text) const;

private:
    int low = 0;
    int high = 65535;
};
