#pragma once

#include "commonfunction.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// One transfer with the controller, driven by its answers: each accepted
// answer gives the next request. The machine knows nothing of ports or
// clocks: it takes received blocks and response time-outs and hands back the
// frame to send and the log messages (each ": ...\n", without timestamp).
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
    };

    static constexpr int DefaultRetries = 3;

    virtual ~CTransfer() = default;

    int state() const { return m_state; }
    bool isRunning() const { return m_state != Idle; }
    // True once the transfer ended with everything exchanged.
    bool succeeded() const { return m_succeeded; }

    // How often an unanswered request is repeated before the transfer fails.
    void setRetries(int retries) { m_retries = retries < 0 ? 0 : retries; }
    int retries() const { return m_retries; }

    // A block as cut by the serial link. A block that could be the start of
    // the expected answer is kept until the rest arrives; otherwise the
    // checksum is checked, then the answer is taken by the current state.
    Step receive(const QByteArray &block);
    // No acceptable answer came in time: drop what is kept and repeat the
    // last request, or end the transfer when the repeats are used up.
    Step timeout();
    // Ends the transfer at once (port closed, new transfer).
    void abort();

    // The last request sent, as repeated on a time-out.
    QByteArray lastRequest() const { return m_lastRequest; }
    // Bytes held back while waiting for the rest of an answer.
    QByteArray pendingBytes() const { return m_pending; }

    // Progress of the transfer in bytes.
    virtual qint64 progressDone() const = 0;
    virtual qint64 progressTotal() const = 0;

protected:
    // Takes an answer whose checksum is right; acts only in its own states.
    virtual Step takeAnswer(const QByteArray &answer) = 0;
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
    int m_state = Idle;
    bool m_succeeded = false;
    int m_retries = DefaultRetries;
    int m_repeatsUsed = 0;
    QByteArray m_lastRequest;
    QByteArray m_pending;
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

    qint64 progressDone() const override;
    qint64 progressTotal() const override { return m_total; }

protected:
    Step takeAnswer(const QByteArray &answer) override;
    int expectedSize() const override;
    CCommonFunction::PacketKind expectedKind() const override;
    CCommonFunction::Command command() const override { return CCommonFunction::CommandDownload; }

private:
    QByteArray nextBlock();

    QString m_chip;
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
    // The largest table length accepted from the controller.
    static constexpr qint64 MaxTableLength = 1024 * 1024;

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
