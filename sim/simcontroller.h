#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// A set of request numbers (counted from 1) given as "3", "2,5", "4-6" or
// "4-" (4 and every later one).
class RequestNumbers
{
public:
    // Parses text; returns false on anything that is not such a list.
    bool parse(const QString &text);
    bool contains(qint64 n) const;
    bool isEmpty() const { return m_ranges.isEmpty(); }

private:
    struct Range
    {
        qint64 first;
        qint64 last; // -1: no end
    };
    QList<Range> m_ranges;
};

// Faults the stand-in controller can be told to make, for tests. Every
// number refers to the request being answered (requests are counted from 1
// as they arrive, whatever their kind).
struct FaultPlan
{
    RequestNumbers badCrc;     // answer with a wrong checksum
    RequestNumbers drop;       // do not answer at all
    RequestNumbers split;      // answer in two pieces with a pause between
    RequestNumbers garbage;    // put stray bytes in front of the answer
    RequestNumbers failStatus; // download middle/end: report a buffer failure
    RequestNumbers delay;      // answer late (all requests when empty and delayMs is set)
    RequestNumbers flood;      // instead of the answer, bytes without end
    int splitPauseMs = 60;
    int delayMs = 0;                     // how late, after the request has arrived
    int trickleMs = 0;                   // every answer one byte at a time, this far apart
    std::optional<qint64> corruptStore;  // downloads: store the byte at this offset wrong
    bool bufferFull = false;             // activation: announce less space than asked for
    bool neverAnswer = false;            // read everything, answer nothing
    std::optional<quint32> uploadLength; // announce this table length instead
};

// The controller's side of the protocol: takes the bytes the program sends,
// cuts them into requests, and gives the answers (with any planned faults).
// Downloads are stored at their offsets; a completed download becomes the
// table that uploads read. A download is held in memory up to StoreLimit
// bytes; a longer one is answered but every packet of it refused.
class SimController
{
public:
    static constexpr qint64 StoreLimit = 16 * 1024 * 1024;

    struct Chunk
    {
        QByteArray bytes;
        int pauseBeforeMs = 0; // quiet time after the piece before
        int delayMs = 0;       // not before this long after the request arrived
        bool endless = false;  // the bytes are sent again and again, without end
        QString transfer;      // set on the answer that ends a transfer: what it was
    };

    void setFaults(const FaultPlan &plan) { m_faults = plan; }
    void setBufferSpace(quint32 bytes) { m_bufferSpace = bytes; }
    void setTable(const QByteArray &table) { m_table = table; }
    QByteArray table() const { return m_table; }
    // Called with the whole table each time a download completes.
    void onDownloadComplete(std::function<void(const QByteArray &)> f) { m_complete = f; }
    void onLog(std::function<void(const QString &)> f) { m_log = f; }

    // Bytes from the line; returns the answer pieces to send, in order.
    QList<Chunk> feed(const QByteArray &bytes);
    // The line has been quiet for a while: an unfinished request is either
    // a download end packet of unknown length (taken whole) or dropped.
    QList<Chunk> silence();
    bool hasPartialRequest() const { return !m_rx.isEmpty(); }
    qint64 requestCount() const { return m_requests; }

private:
    int frameLength() const; // 0: not yet known, -1: not a request start
    QList<Chunk> handle(const QByteArray &frame);
    QByteArray answer(const QByteArray &frame);
    QList<Chunk> deliver(QByteArray answer, const QString &ends);
    void log(const QString &text) const;

    FaultPlan m_faults;
    quint32 m_bufferSpace = 0xA800;
    QByteArray m_table;
    QByteArray m_rx;
    qint64 m_requests = 0;

    // The download being received.
    bool m_receiving = false;
    QByteArray m_incoming;
    qint64 m_incomingTotal = 0;
    QString m_ends; // what the answer being built ends, if it ends a transfer

    std::function<void(const QByteArray &)> m_complete;
    std::function<void(const QString &)> m_log;
};
