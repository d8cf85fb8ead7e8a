#pragma once

#include "portmatch.h"

#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>

// Watches for matching ports coming and going, by looking at them every
// interval (500 ms). A port arrives once it has been seen on two looks in a
// row (an adapter just plugged in is given a moment to settle), and does not
// arrive again until it has been missing on a look and then comes back.
class PortWatcher : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultIntervalMs = 500;

    explicit PortWatcher(const PortMatch &match, QObject *parent = nullptr);

    void setIntervalMs(int ms) { m_timer.setInterval(ms); }
    // Starts watching. The ports present now are left alone until they go
    // and come back (presentAtStart()), unless takePresent: then they arrive
    // at once.
    void start(bool takePresent);
    void stop() { m_timer.stop(); }
    bool isWatching() const { return m_timer.isActive(); }
    QStringList presentAtStart() const { return m_presentAtStart; }

signals:
    void arrived(QString port);
    // A port that had arrived, or was present at the start, is gone.
    void departed(QString port);

private:
    void look();

    PortMatch m_match;
    QTimer m_timer;
    QStringList m_presentAtStart;
    QSet<QString> m_known;    // arrived or present at the start, and still there
    QSet<QString> m_settling; // seen on the last look for the first time
};
