#include "portwatcher.h"

#include <utility>

PortWatcher::PortWatcher(const PortMatch &match, QObject *parent)
    : QObject(parent), m_match(match), m_timer(this)
{
    m_timer.setInterval(DefaultIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &PortWatcher::look);
}

void PortWatcher::start(bool takePresent)
{
    m_known.clear();
    m_settling.clear();
    const QStringList now = m_match.present();
    m_presentAtStart = takePresent ? QStringList() : now;
    for (const QString &port : now)
        m_known.insert(port);
    m_timer.start();
    if (takePresent) {
        for (const QString &port : now)
            emit arrived(port);
    }
}

void PortWatcher::look()
{
    const QStringList now = m_match.present();
    const QSet<QString> there(now.begin(), now.end());
    QStringList gone;
    for (const QString &port : std::as_const(m_known)) {
        if (!there.contains(port))
            gone << port;
    }
    gone.sort();
    m_settling.intersect(there);
    QStringList settled;
    for (const QString &port : now) {
        if (m_known.contains(port))
            continue;
        if (m_settling.remove(port)) {
            m_known.insert(port);
            settled << port;
        } else {
            m_settling.insert(port);
        }
    }
    for (const QString &port : gone) {
        m_known.remove(port);
        emit departed(port);
    }
    for (const QString &port : settled)
        emit arrived(port);
}
