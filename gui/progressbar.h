#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small progress window of a transfer: a label, a bar from 0 to 100 and
// the button "完成" that closes it.
class CProgressBar : public QDialog
{
    Q_OBJECT
public:
    explicit CProgressBar(QWidget *parent = nullptr);

    void setLabelText(const QString &text);
    QString labelText() const;
    void setValue(int percent);
    int value() const;
    // done of total bytes, as a percentage.
    void setProgress(qint64 done, qint64 total);

private:
    QLabel *m_label;
    QProgressBar *m_bar;
    QPushButton *m_finish;
};
