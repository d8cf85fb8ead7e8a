#pragma once

#include "batchportresult.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class QWidget;
class RecordQueue;

// The record of the batch window: each port's row on its way to the file.
// While another program holds the record's lock, the rows wait (the window
// says how many) and are written once it is free; closing the window with
// rows waiting offers to save them to another file.
class BatchRecordRows : public QObject
{
    Q_OBJECT
public:
    explicit BatchRecordRows(QWidget *window);

    // Makes ready for the rows of a batch sending table, from project, to
    // path (empty: no record). False with the message to show when the file
    // cannot take rows, or rows of an earlier batch still wait for another.
    bool prepare(const QString &path, const QString &project, const QByteArray &table,
                 QString *refusal);
    // The row of a port that ended.
    void add(const BatchPortResult &result);
    // What the summary says of the record: why rows were not written, or how
    // many wait; empty when every row is written.
    QString state() const;
    // Rows that are not written yet.
    int waiting() const;
    // Asked when the window closes; false keeps it open.
    bool mayClose();
    // Asked when the program quits, as the rows that wait would go with it:
    // false keeps the program running.
    bool mayQuit();
    const RecordQueue *queue() const { return m_queue; }

signals:
    // Rows were written, began waiting or failed.
    void changed();

private:
    bool saveElsewhere();

    QWidget *m_window;
    RecordQueue *m_queue = nullptr;
    QString m_project;
    QByteArray m_table;
};
