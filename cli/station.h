#pragma once

#include "linkoptions.h"

#include "batchportresult.h"
#include "batchrecord.h"
#include "portmatch.h"
#include "portwatcher.h"
#include "recordqueue.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

class BatchDownload;

// A production station: waits for controllers on the matching ports and
// programs each one that appears, once, until it goes away and comes back;
// says what happens on stdout and records every port in the record.
class Station : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        QString chip;
        QByteArray table;
        QString project; // as given, for the record
        bool verify = true;
        LinkOptions::Settings link = {};
        QString recordPath; // empty: no record
        bool includePresent = false;
        bool verbose = false; // the driver's lines too
        int intervalMs = PortWatcher::DefaultIntervalMs;
    };

    Station(const Setup &setup, const PortMatch &match, QObject *parent = nullptr);

    void start();
    // Takes no new port; finished() follows once the running transfers end.
    void stop();
    // Cancels the running transfers, as the driver's cancel does.
    void cancel();
    // A row could not be written: the station stopped.
    bool recordFailed() const { return m_recordFailed; }
    // The rows of the record; those that wait for its lock stay until it
    // is free, while later controllers are programmed.
    RecordQueue &record() { return m_record; }

signals:
    void finished();

private:
    void onArrived(const QString &port);
    void onPortFinished(const BatchPortResult &result);
    void onBatchFinished(BatchDownload *batch);
    void checkDone();
    void say(const QString &text) const;

    Setup m_setup;
    PortMatch m_match;
    PortWatcher m_watcher;
    RecordQueue m_record;
    QList<BatchDownload *> m_batches;
    QSet<QString> m_busy;
    bool m_stopping = false;
    bool m_recordFailed = false;
    int m_succeeded = 0;
    int m_failed = 0;
};
