#pragma once

#include <QObject>

// Turns SIGINT and SIGTERM (on Windows the console's Ctrl+C) into a signal of
// the event loop while it lives, so that a run can end in good order:
// requested(1) on the first, requested(2) on the next, and so on. The
// default actions come back when it is destroyed. One at a time. Defined
// with the rest of the program's system calls (cliplatform_*.cpp).
class StopSignal : public QObject
{
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    bool isValid() const { return m_watch != nullptr; }

signals:
    void requested(int count);

private:
    QObject *m_watch = nullptr; // what tells the event loop

    int m_count = 0;
};
