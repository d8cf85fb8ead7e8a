#pragma once

#include "commonfunction.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVector>

// One transfer with the controller, driven by its answers: each accepted
// answer gives the next request. The machine knows nothing of ports or
// timers: it takes the bytes as they arrive, the silences of the line and
// the ends of its waits, each with the time it happened (microseconds on any
// steady clock), and hands back the frame to send and the log messages (each
// ": ...\n", without timestamp). deadlineUs() says when the current wait
// ends; whoever runs the machine calls timeout() then.
//
// Answers carry no offset, so an answer is matched to its request by the
// order of the line alone:
// - The expected answer (its header, its length, a good checksum) is found
//   wherever it lies in the bytes held: bytes in front of it are line noise,
//   a checksum error that costs nothing else.
// - Bytes that make no answer are judged at a silence of the line: a start
//   of an answer is kept (the rest may follow after a pause); a whole frame
//   of another form is the state's format error; anything else is a
//   checksum error, and the transfer goes on.
// - Every copy of a request is answered at most once. An answer refused for
//   its checksum (a block of the answer's length) counts as heard: when every
//   copy has been heard and none answered well, the request is repeated at
//   once.
// - After a repeat, the first good answer is taken and the line is drained:
//   the next request (or the end of the transfer) waits until every copy has
//   been heard, each duplicate dropped with a log line, or until the wait
//   has passed without them. A duplicate is compared in what is read of an
//   answer (its size, its header and the field used); an upload whose
//   duplicate carries other table bytes fails, a download logs the other
//   status and keeps the first. An upload's duplicate still owed when the
//   next block is asked for is the block identical to the answer taken,
//   whenever it comes: two answers of one header cannot be told apart by
//   their order any more.
// - Bytes that began before the current request went out cannot answer it.
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
        // The blocks judged in this step, as received: taken, dropped as
        // duplicates, or refused.
        QList<QByteArray> answers;
        // How long the answer taken in this step took, from its request to
        // its last byte, when the request went out once within the wait in
        // force; -1 otherwise.
        qint64 answerUs = -1;
        // How long the answer taken in this step took from the first copy
        // of its request, when the request had been repeated or only the
        // raised wait for the first byte let the answer in; -1 otherwise.
        qint64 lateUs = -1;
    };

    static constexpr int DefaultRetries = 3;
    static constexpr qint64 DefaultWaitUs = 2000 * 1000;
    // The most bytes held while an answer is put together: the largest
    // answer, and as much again of noise or of a duplicate in front of it.
    static constexpr int ReceiveLimit = 2 * CCommonFunction::UploadMiddleAnswerSize;

    virtual ~CTransfer() = default;

    int state() const { return m_state; }
    bool isRunning() const { return m_state != Idle; }
    // True once the transfer ended with everything exchanged.
    bool succeeded() const { return m_succeeded; }

    // How often an unanswered request is repeated before the transfer fails.
    void setRetries(int retries) { m_retries = retries < 0 ? 0 : retries; }
    int retries() const { return m_retries; }
    // The wait for an answer now in force; may change at any time.
    void setWaitUs(qint64 us) { m_waitUs = us > 0 ? us : DefaultWaitUs; }
    qint64 waitUs() const { return m_waitUs; }
    // The least wait for the first byte of an answer (a controller known to
    // be slow); the bound on the whole answer once it has begun stays the
    // wait in force and the line time of its bytes.
    void setFirstByteWaitUs(qint64 us) { m_firstByteWaitUs = qMax<qint64>(0, us); }

    // The first request, as returned by start(), was written at atUs. The
    // requests the machine returns later count as written at the time of
    // the call that returned them.
    void requestSent(qint64 atUs);
    // Bytes from the line, as they arrive.
    Step receive(const QByteArray &bytes, qint64 nowUs = 0);
    // The line has been quiet for a while (10 ms).
    Step silence(qint64 nowUs = 0);
    // When the current wait ends: no answer came to the request, or the
    // duplicates owed after a repeat did not come.
    qint64 deadlineUs() const;
    // The wait has ended: repeat the last request, or end the transfer when
    // the repeats are used up; after a repeat answered, go on without the
    // missing duplicates.
    Step timeout(qint64 nowUs = 0);
    // Ends the transfer at once (port closed, new transfer).
    void abort();

    // The last request sent, as repeated on a time-out.
    QByteArray lastRequest() const { return m_lastRequest; }
    // Bytes held back while waiting for the rest of an answer.
    QByteArray pendingBytes() const { return m_pending; }
    // True while the answer to a repeated request has been taken and its
    // duplicates are awaited; nothing is sent meanwhile.
    bool isDraining() const { return m_draining; }
    // Whether anything went other than planned since the transfer started:
    // a request repeated, an answer refused, stray bytes, a late answer
    // dropped or awaited. Such a transfer is confirmed before it is trusted.
    bool wasIrregular() const { return m_irregular; }
    // A failed transfer that the controller itself refused (no room for the
    // table, no table to read); any other failure is the line's, and trying
    // again may succeed.
    bool refusedByController() const { return m_controllerRefused; }
    // Whether the controller sent anything at all since the transfer started.
    bool heardAnything() const { return m_heardAnything; }
    // Whether a request of this transfer was sent more than once.
    bool repeatedRequest() const { return m_repeated; }
    // A failed transfer whose request was left unanswered after a wait that
    // ended with part of an answer: the controller sends too slowly, and
    // trying the whole again only takes as long again.
    bool failedTooSlow() const { return m_tooSlow; }

    // The longest an answer of `size` bytes may take to arrive whole once it
    // is due: the time its bytes take on a line at 115200 baud, twice, and
    // a little more. Added to the wait in force, it bounds every answer, so
    // a controller that sends one byte at a time cannot hold a transfer.
    static qint64 lineAllowanceUs(int size);
    // The least wait for an answer that makes sense: the line allowance of
    // the longest exchange (a middle download request of 523 bytes and its
    // answer). A shorter wait would give up on a controller that answers at
    // once.
    static int leastWaitMs();

    // Progress of the transfer in bytes.
    virtual qint64 progressDone() const = 0;
    virtual qint64 progressTotal() const = 0;

protected:
    // Takes an answer with the expected header, length and checksum; acts
    // only in its own states. Ends a transfer that is done by complete().
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
    // Everything is exchanged: the transfer succeeds, once the line is
    // drained of duplicates.
    void complete();
    void finish(bool success);
    // Ends the transfer failed because the controller said no.
    void finishRefused();
    void setState(int state) { m_state = state; }

private:
    // A frame the held bytes hold whole.
    struct Found
    {
        int at = -1;
        int size = 0;
        bool former = false; // a duplicate owed to the request before
    };
    Found findAnswer() const;
    // Where an answer that the bytes so far do not complete may begin; -1
    // when none.
    int openStart() const;
    void process(Step &step, qint64 nowUs);
    void take(Step &step, const QByteArray &answer, qint64 nowUs);
    void duplicate(Step &step, const QByteArray &answer, qint64 nowUs);
    // Bytes that make no answer: a checksum error, heard as an answer when
    // they have an answer's length.
    void refuse(Step &step, const QByteArray &bytes, qint64 nowUs);
    // Every copy heard: go on after a drain, repeat when none was answered.
    void allHeard(Step &step, qint64 nowUs);
    void release(Step &step, qint64 nowUs);
    // Sends the last request again (after a silent wait, or answers
    // refused), or ends the transfer when the repeats are used up.
    Step repeat(qint64 nowUs, bool refused);
    bool sameReading(const QByteArray &first, const QByteArray &again) const;
    void dropFront(int count);
    void clearHeld();

    int m_state = Idle;
    bool m_succeeded = false;
    bool m_irregular = false;
    bool m_controllerRefused = false;
    bool m_heardAnything = false;
    bool m_repeated = false;
    bool m_tooSlow = false;
    bool m_partialAnswer = false; // a wait for the current request ended mid-answer
    int m_retries = DefaultRetries;
    int m_repeatsUsed = 0;
    qint64 m_waitUs = DefaultWaitUs;
    qint64 m_firstByteWaitUs = 0;
    QByteArray m_lastRequest;
    QByteArray m_pending;
    int m_early = 0; // leading bytes of m_pending received before the request was sent

    // The current request: when each copy went out, answers heard so far,
    // when the last byte of an answer was heard.
    QVector<qint64> m_sent;
    int m_heard = 0;
    qint64 m_heardUs = -1;
    qint64 m_startedUs = -1; // when the answer on its way began
    // The drain after a repeat: the answer taken and how long after the
    // first copy it came, what waits for the drain.
    bool m_draining = false;
    QByteArray m_taken;
    qint64 m_takenAfterUs = 0;
    QByteArray m_held;
    bool m_heldComplete = false;
    QStringList m_heldMessages; // the word of the end, said when it comes
    // Duplicates still owed to the request before, after a drain ran out:
    // recognised by their header when it differs from the current one, and
    // an upload's by its bytes.
    int m_formerOwed = 0;
    QByteArray m_former;
    QByteArray m_refused; // the last bytes refused, for the final word
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
    // The controller answered that it holds no table (a length of 0).
    bool heldNoTable() const { return m_noTable; }

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
    bool m_noTable = false;
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
