#pragma once

#include "commonfunction.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One transfer with the controller, driven by its answers: each accepted
// answer gives the next request. The machine knows nothing of ports: it takes
// the bytes as they arrive, the silences of the line and the response
// time-outs, each with the time it happened (microseconds on any steady
// clock), and hands back the frame to send and the log messages (each
// ": ...\n", without timestamp).
//
// Answers are cut by what the current state expects. An answer with the
// expected header, the expected length and a good checksum is taken at once.
// An answer with another header, or longer than expected, is the state's
// format error at once. A silence of the line judges what the length cannot
// tell: a start of the expected answer is kept (the rest may follow after a
// pause); anything else held is a checksum error and dropped. When a start
// kept over a silence does not fit the bytes that follow, it was a short
// answer: it alone is dropped.
//
// Every answer is matched to its request. Bytes that began before the current
// request was sent cannot answer it. When a request had to be repeated, the
// controller may still answer the copies after the answer was taken: such late
// answers are recognised (header of the former request, received before the
// current one was sent, or arriving when a late answer is due rather than the
// answer to the current request) and dropped with a log line.
//
// States: 0 idle; 1..3 download activation, middle, end sent; 4..6 upload
// activation, middle request, end request sent.
class CTransfer
{
    Q_DECLARE_TR_FUNCTIONS(CTransfer)
public:
    enum State
    {
        Idle = 0,
        DownloadActivationSent = 1,
        DownloadMiddleSent = 2,
        DownloadEndSent = 3,
        UploadActivationSent = 4,
        UploadMiddleSent = 5,
        UploadEndSent = 6
    };

    struct Step
    {
        QStringList messages; // log messages, in order
        QByteArray request;   // frame to write now; empty when nothing is sent
        // The answers judged in this step, as received: taken, dropped as
        // late, or refused.
        QList<QByteArray> answers;
        // How long the answer taken in this step took, from its request to
        // its last byte, when the request went out once; -1 otherwise.
        qint64 answerUs = -1;
        // Bytes of an answer arrived: the wait for the answer starts again.
        bool heard = false;
    };

    static constexpr int DefaultRetries = 3;
    // The most bytes held while an answer is put together: the largest
    // answer, and as much again for a late answer followed by the next.
    static constexpr int ReceiveLimit = 2 * CCommonFunction::UploadMiddleAnswerSize;

    virtual ~CTransfer() = default;

    int state() const { return m_state; }
    bool isRunning() const { return m_state != Idle; }
    // True once the transfer ended with everything exchanged.
    bool succeeded() const { return m_succeeded; }

    // How often an unanswered request is repeated before the transfer fails.
    void setRetries(int retries) { m_retries = retries < 0 ? 0 : retries; }
    int retries() const { return m_retries; }

    // The first request, as returned by start(), was written at atUs. The
    // requests the machine returns later count as written at the time of
    // the call that returned them.
    void requestSent(qint64 atUs);
    // Bytes from the line, as they arrive.
    Step receive(const QByteArray &bytes, qint64 nowUs = 0);
    // The line has been quiet for a while (10 ms).
    Step silence(qint64 nowUs = 0);
    // No acceptable answer came in time: drop what is kept and repeat the
    // last request, or end the transfer when the repeats are used up.
    Step timeout(qint64 nowUs = 0);
    // Ends the transfer at once (port closed, new transfer).
    void abort();

    // The last request sent, as repeated on a time-out.
    QByteArray lastRequest() const { return m_lastRequest; }
    // Bytes held back while waiting for the rest of an answer.
    QByteArray pendingBytes() const { return m_pending; }
    // Late answers that may still come for the request answered last.
    int lateAnswersOwed() const { return m_owed; }

    // Progress of the transfer in bytes.
    virtual qint64 progressDone() const = 0;
    virtual qint64 progressTotal() const = 0;

protected:
    // Takes an answer with the expected header, length and checksum; acts
    // only in its own states.
    virtual Step takeAnswer(const QByteArray &answer) = 0;
    // The state's message for an answer of the wrong form.
    virtual QString formatError() const = 0;
    // The answer expected in the current state.
    virtual int expectedSize() const = 0;
    virtual CCommonFunction::PacketKind expectedKind() const = 0;
    virtual CCommonFunction::Command command() const = 0;

    // Records and returns a new request (resets the repeat count).
    QByteArray send(const QByteArray &request);
    void begin(int state);
    void finish(bool success);
    void setState(int state) { m_state = state; }

private:
    // The length of the answer at the head of the held bytes, and whether
    // it is a late one; 0 when it cannot be an answer now.
    int headSize(bool *late) const;
    void process(Step &step, qint64 nowUs);
    void accept(Step &step, const QByteArray &answer, qint64 nowUs);
    // The head of the held bytes is of the wrong form: a start kept over a
    // silence is dropped alone (true), otherwise the transfer fails with the
    // state's format error (false).
    bool refuse(Step &step);
    bool arrivesWhenLateAnswerIsDue(qint64 nowUs) const;
    void dropFront(int count);
    void clearHeld();

    int m_state = Idle;
    bool m_succeeded = false;
    int m_retries = DefaultRetries;
    int m_repeatsUsed = 0;
    QByteArray m_lastRequest;
    QByteArray m_pending;
    QVector<int> m_cuts; // positions in m_pending where the line fell silent
    int m_early = 0;     // leading bytes of m_pending received before the request was sent

    // The current request: when each copy went out, answers heard so far.
    QVector<qint64> m_sent;
    int m_heard = 0;
    // Late answers to the request answered before it.
    int m_owed = 0;
    quint8 m_lateCommand = 0;
    quint8 m_lateKind = 0;
    int m_lateSize = 0;
    QVector<qint64> m_lateDueUs; // after the current request went out, when each is due
    qint64 m_answerGapUs = 0;    // how long after its last copy that answer came
    qint64 m_shortestUs = -1;    // the quickest answer of this transfer
};

// Sends a configuration table (or any file) to the controller in blocks of
// at most 512 bytes: activation with the total length, middle packets of 512
// bytes, one end packet with the rest.
class CDownloadTransfer : public CTransfer
{
    Q_DECLARE_TR_FUNCTIONS(CDownloadTransfer)
public:
    // Starts a download of data for a chip model; returns the activation
    // frame to send. An empty table cannot be sent: returns an empty frame
    // and stays idle.
    QByteArray start(const QString &chipModel, const QByteArray &data);

    QString chipModel() const { return m_chip; }
    QByteArray downloadData() const { return m_data; } // bytes still to send
    int downloadRemaining() const { return m_data.size(); }
    QByteArray downloadBlock() const { return m_block; }
    int downloadOffset() const { return m_offset; }
    int totalLength() const { return m_total; }
    // Everything the download sends, whatever has been sent so far.
    QByteArray table() const { return m_table; }

    qint64 progressDone() const override;
    qint64 progressTotal() const override { return m_total; }

protected:
    Step takeAnswer(const QByteArray &answer) override;
    QString formatError() const override;
    int expectedSize() const override;
    CCommonFunction::PacketKind expectedKind() const override;
    CCommonFunction::Command command() const override { return CCommonFunction::CommandDownload; }

private:
    QByteArray nextBlock();

    QString m_chip;
    QByteArray m_table;
    QByteArray m_data;
    QByteArray m_block;
    int m_offset = 0;
    int m_total = 0;
};

// Reads the controller's configuration table: activation (the controller
// announces the length), middle requests of 512 bytes, one end request.
class CUploadTransfer : public CTransfer
{
    Q_DECLARE_TR_FUNCTIONS(CUploadTransfer)
public:
    // The largest table length accepted from the controller: the largest
    // table the generator writes.
    static int maxTableLength();

    // Starts an upload; returns the activation frame to send.
    QByteArray start(const QString &chipModel);

    QString uploadChipModel() const { return m_chip; }
    QByteArray uploadBuffer() const { return m_buffer; }
    int uploadTotal() const { return m_total; }
    int uploadOffset() const { return m_offset; }

    qint64 progressDone() const override { return m_buffer.size(); }
    qint64 progressTotal() const override { return m_total; }

protected:
    Step takeAnswer(const QByteArray &answer) override;
    QString formatError() const override;
    int expectedSize() const override;
    CCommonFunction::PacketKind expectedKind() const override;
    CCommonFunction::Command command() const override { return CCommonFunction::CommandUpload; }

private:
    QByteArray nextRequest();

    QString m_chip;
    QByteArray m_buffer;
    int m_total = 0;
    int m_offset = 0;
    int m_endLength = 0; // data bytes of the end answer
};

// A table read back after a download, compared with what was sent.
class CReadBack
{
    Q_DECLARE_TR_FUNCTIONS(CReadBack)
public:
    // True when back holds the sent bytes, followed by nothing or by padding
    // (a run of 0xFF or 0x00, as a controller that rounds to its flash write
    // unit keeps). message is the log message (": ...\n"): "校验一致", or
    // the first offset where the two differ.
    static bool compare(const QByteArray &sent, const QByteArray &back, QString *message);
};
