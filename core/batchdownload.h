#pragma once

#include "batchportresult.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class BatchPortJob;
class QSerialPortInfo;

// Programs several controllers at once, one per serial port, in this
// process: each port has its own link and downloads the same table (and
// reads it back with verify) while the others do. A port that cannot be
// opened, or that goes away midway, fails alone, its result naming the port
// and the reason; the others go on.
//
// start() begins every port it can open; portStarted and the first
// portProgress of those ports come from inside it. Everything else comes
// from the event loop: a port that could not be opened reports portFinished
// first, then the ports report as they end, and finished() follows the last
// one.
class BatchDownload : public QObject
{
    Q_OBJECT
public:
    explicit BatchDownload(QObject *parent = nullptr);
    ~BatchDownload() override;

    // The table to send (transfer form) and its chip model.
    void setTable(const QString &chip, const QByteArray &table);
    // Reads the table back after the download and compares it with what was
    // sent; a difference fails the port.
    void setVerify(bool verify);
    // The least wait for an answer (ms) and the repeats of an unanswered
    // request, for every port.
    void setLink(int timeoutMs, int retries);

    // Starts downloading to every port (names or device paths). False, with
    // errorString(), when a batch is running, there is no table, no port, or
    // a port named twice (also through a link): nothing is started then.
    bool start(const QStringList &ports);
    QString errorString() const { return m_error; }
    // Cancels every running transfer as the driver's cancel does: a log line
    // each, and the ports fail as cancelled.
    void cancel();
    bool isRunning() const { return m_running; }
    // The ports that have ended, in the order they were given.
    QList<BatchPortResult> results() const;

    // The serial number of the adapter behind a port, as QSerialPortInfo
    // gives it; empty when it has none (a pseudo-terminal).
    static QString serialNumberOf(const QString &port);
    // The same, from a list of the system's ports.
    static QString serialNumberIn(const QList<QSerialPortInfo> &infos, const QString &port);

signals:
    // The port is open and its download has begun.
    void portStarted(QString port);
    // Bytes sent (and read back, with verify) out of the total.
    void portProgress(QString port, qint64 done, qint64 total);
    // The port driver's timestamped log lines, each ending in a newline.
    void portLog(QString port, QString line);
    void portFinished(BatchPortResult result);
    void finished(bool allSucceeded);

private:
    struct Entry
    {
        QString port;
        BatchPortJob *job = nullptr; // null once it has ended
        bool ended = false;
        BatchPortResult result;
    };
    void onJobFinished(int index);
    void announceUnopened();
    void checkDone();

    QString m_chip;
    QByteArray m_table;
    bool m_verify = false;
    int m_timeoutMs;
    int m_retries;
    bool m_running = false;
    bool m_announcing = false; // the ports that did not open are still to be announced
    QList<Entry> m_entries;
    QString m_error;
};
