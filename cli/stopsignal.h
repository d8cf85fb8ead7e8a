#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop while it lives
// (through a pipe the handler writes to), so that a run can end in good
// order: requested(1) on the first, requested(2) on the next, and so on.
// The default actions come back when it is destroyed. One at a time.
class StopSignal : public QObject
{
    Q_OBJECT
public:
    explicit StopSignal(QObject *parent = nullptr);
    ~StopSignal() override;

    bool isValid() const { return m_notifier != nullptr; }

signals:
    void requested(int count);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
    int m_count = 0;
};
