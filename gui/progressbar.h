#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The small progress window of a transfer: a label, a bar from 0 to 100 and
// a button. While the transfer runs the button is "取消" (cancelRequested);
// at its end the window shows how it ended: the bar at 100 % and "完成" on
// success, otherwise the words saying what happened and "关闭".
class CProgressBar : public QDialog
{
    Q_OBJECT
public:
    explicit CProgressBar(QWidget *parent = nullptr);

    void setLabelText(const QString &text);
    QString labelText() const;
    void setValue(int percent);
    int value() const;
    // How long each answer is waited for, under the bar while it runs.
    void setWaitText(const QString &text);
    // done of total bytes, as a percentage.
    void setProgress(qint64 done, qint64 total);

    // A transfer starts: the label, the bar at 0, the button "取消".
    void begin(const QString &label);
    // It succeeded: the bar at 100 % and "完成".
    void showSucceeded();
    // It failed or was cancelled: text instead of the bar, and "关闭".
    void showEnded(const QString &text);
    bool isRunning() const { return m_running; }

    // Closing the window (title bar, Escape) while a transfer runs asks to
    // cancel it.
    void reject() override;

signals:
    // The user wants the running transfer stopped.
    void cancelRequested();

private:
    void showButtons(bool running);

    QLabel *m_label;
    QProgressBar *m_bar;
    QLabel *m_wait;
    QPushButton *m_finish;
    QPushButton *m_cancel;
    bool m_running = false;
};
