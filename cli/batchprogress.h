#pragma once

#include "batchportresult.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// What a download to several ports shows while it runs. On a terminal: one
// line per port (a bar, the percentage, the bytes and the state), rewritten
// in place with cursor moves at most ten times a second. Elsewhere: the
// driver's lines as they come, each with its port in front.
class BatchProgress : public QObject
{
    Q_OBJECT
public:
    BatchProgress(const QStringList &ports, bool terminal, bool verify, QObject *parent = nullptr);

    void started(const QString &port);
    void progress(const QString &port, qint64 done, qint64 total);
    void log(const QString &port, const QString &line);
    void finished(const BatchPortResult &result);
    // Draws the last state of every line.
    void end();

    // The table of the outcomes: port, outcome, seconds, verify.
    static QString summary(const QList<BatchPortResult> &results);
    // The columns a text takes on a terminal (wide characters take two).
    static int columns(const QString &text);

private:
    struct Row
    {
        QString port;
        QString state;
        qint64 done = 0;
        qint64 total = 0;
    };
    Row *row(const QString &port);
    void changed();
    void draw();
    QString text(const Row &row, int width) const;

    QList<Row> m_rows;
    bool m_terminal;
    bool m_verify;
    bool m_drawn = false;
    QTimer m_timer;
};
