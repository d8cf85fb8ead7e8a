#pragma once

#include <QByteArray>
#include <QString>

// A pseudo-terminal pair in raw mode for serial tests: the program under test
// opens slavePath() like a serial port; the test plays the far end through
// the master side.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // Writes to the far end; returns whether every byte went out.
    bool writeMaster(const QByteArray &data);
    // Everything the program has written so far (does not wait).
    QByteArray readMaster();
    // Waits up to waitMs for size bytes from the program, without running
    // any event loop (poll on the far end); returns what came.
    QByteArray readMasterBlocking(int size, int waitMs);
    // Closes the far end for good: the program's side of the line hangs up,
    // as when an adapter is pulled out.
    void hangUp();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
