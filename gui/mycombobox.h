#pragma once

#include <QComboBox>

// The drop-down of every table cell. It reports a left press before the list
// opens, so that a cell can rebuild its entries from the current pins.
class CMyComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit CMyComboBox(QWidget *parent = nullptr);

signals:
    void Clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};
