#pragma once

#include "batchportresult.h"
#include "batchrecord.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

// The rows of one record on their way to the file. A row is made when its
// port ends (its time is that moment) and appended at once when the record's
// lock is free; while another program holds the lock, the rows wait here and
// the lock is tried again from a timer, so that no transfer and no window
// waits for it. A row that cannot be written for another reason (the disk,
// the file no longer a record) stays here too: nothing is lost, and its
// owner shows or saves what waits.
class RecordQueue : public QObject
{
    Q_OBJECT
public:
    static constexpr int RetryMs = 50;

    explicit RecordQueue(const BatchRecord &record, QObject *parent = nullptr);

    QString path() const { return m_record.path(); }
    // The rows added from now on are of this record (another table sent to
    // the same file); rows that wait stay as they were made.
    void setRecord(const BatchRecord &record) { m_record = record; }
    // The row of one port, appended now or once the lock is free.
    void add(const BatchPortResult &result);
    // After this long without the lock the rows wait no more: failed() says
    // so and they stay waiting (0, the default: they wait for ever).
    void setGiveUpMs(int ms) { m_giveUpMs = qMax(0, ms); }

    // Rows not written yet, each a line of the record without its line end.
    QStringList waitingRows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    // Whether the lock is tried again (rows wait and nothing failed).
    bool isWaitingForLock() const { return m_retry.isActive(); }
    // How long the oldest row has waited, in ms; 0 when none waits.
    qint64 waitedMs() const;
    // Why the waiting rows are no longer tried; empty while they are.
    QString error() const { return m_error; }
    // The rows waiting are given up: written elsewhere, or said elsewhere.
    void clear();
    // Tries the rows that wait once more at once (after a failure too).
    void flush();

signals:
    // Rows were written, began or stopped waiting, or failed.
    void changed();
    // The rows that wait can no longer be written, and why.
    void failed(QString error);

private:
    void fail(const QString &error);

    BatchRecord m_record;
    QStringList m_rows;
    QTimer m_retry;
    QElapsedTimer m_waiting;
    int m_giveUpMs = 0;
    QString m_error;
};
