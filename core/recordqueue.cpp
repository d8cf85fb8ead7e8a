#include "recordqueue.h"

#include <QDateTime>

RecordQueue::RecordQueue(const BatchRecord &record, QObject *parent)
    : QObject(parent), m_record(record)
{
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, &RecordQueue::flush);
}

void RecordQueue::add(const BatchPortResult &result)
{
    if (m_rows.isEmpty())
        m_waiting.start();
    m_rows << m_record.row(result, QDateTime::currentDateTime());
    // A row behind others that failed waits with them: the order stays.
    if (m_error.isEmpty())
        flush();
    else
        emit changed();
}

qint64 RecordQueue::waitedMs() const
{
    return m_rows.isEmpty() || !m_waiting.isValid() ? 0 : m_waiting.elapsed();
}

void RecordQueue::clear()
{
    m_rows.clear();
    m_retry.stop();
    m_error.clear();
    emit changed();
}

void RecordQueue::flush()
{
    if (m_rows.isEmpty()) {
        m_retry.stop();
        return;
    }
    m_error.clear();
    QString error;
    bool busy = false;
    if (m_record.tryAppend(m_rows, &error, &busy)) {
        m_rows.clear();
        m_retry.stop();
        emit changed();
        return;
    }
    if (!busy) {
        fail(error);
        return;
    }
    if (m_giveUpMs > 0 && waitedMs() >= m_giveUpMs) {
        fail(tr("%1，%2秒后仍未放开，%3行记录没有写入")
                 .arg(error)
                 .arg((m_giveUpMs + 999) / 1000)
                 .arg(m_rows.size()));
        return;
    }
    if (!m_retry.isActive()) {
        m_retry.start();
        emit changed();
    }
}

void RecordQueue::fail(const QString &error)
{
    m_retry.stop();
    m_error = error;
    emit changed();
    emit failed(error);
}
