#pragma once

#include "transfer.h"
#include "transferdriver.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// One exchange with the controller as the user asks for it, run on a driver
// whose link is open, and said to succeed only when its outcome is certain:
// - a download is read back and compared when asked to (verify), and always
//   when anything on the line went other than planned (a request repeated,
//   an answer refused, late or drained). A read-back that differs after such
//   a transfer gets the table sent once more and read back again; a second
//   difference, or a difference after a clean transfer, fails. A download
//   or a read-back that the line made fail is tried once more.
// - an upload whose transfer went other than planned is read again, at most
//   three reads in all (failed ones included), until two reads agree, one
//   of them without a repeated request; otherwise it fails.
// A transfer that failed on the line is tried again on a clean line; one
// that failed because the controller sends too slowly is not.
// What the controller itself refuses (no room, no table), a controller that
// says nothing at all, a lost port and a cancel end the job at once.
// Every front end runs its transfers through here: the window, the batch
// ports and the command line.
class CTransferJob : public QObject
{
    Q_OBJECT
public:
    enum Kind
    {
        Download,
        Upload
    };
    enum Phase
    {
        Idle,
        Sending,
        ReadingBack,
        Reading,
        Done
    };
    Q_ENUM(Phase)

    // The driver is not owned; it must outlive the job.
    explicit CTransferJob(CTransferDriver *driver, QObject *parent = nullptr);

    // Starts a download of table; false when nothing can be sent (an empty
    // table, an unknown chip), with reason() saying why and no signal.
    bool startDownload(const QString &chip, const QByteArray &table, bool verify);
    // Starts reading the controller's table.
    bool startUpload(const QString &chip);
    // Ends the job as the driver's cancel does (a log line, then the end).
    void cancel();
    // The link failed (port closed or gone): the job ends now, failed.
    void fail(const QString &reason);

    bool isRunning() const { return m_phase != Idle && m_phase != Done; }
    Kind kind() const { return m_kind; }
    Phase phase() const { return m_phase; }
    QString chip() const { return m_chip; }
    // The table sent (download) or read (upload, once it succeeded).
    QByteArray table() const { return m_table; }
    bool succeeded() const { return m_outcome == CTransferDriver::Succeeded && m_phase == Done; }
    CTransferDriver::Outcome outcome() const { return m_outcome; }
    // Why the job failed; empty on success.
    QString reason() const { return m_reason; }
    // An upload that failed because the controller holds no table.
    bool heldNoTable() const;
    // How a download's read-back went: "same", "differs at N", "off" (not
    // asked for and not needed) or "not read back".
    QString verify() const { return m_verify; }
    // The bytes the download has not sent yet (what a failed download was
    // still holding), as the download machine keeps them.
    const CDownloadTransfer &downloadMachine() const { return m_download; }

signals:
    // The driver's timestamped lines and the job's own.
    void logLine(QString line);
    // Bytes done of the job as planned so far: a confirmation adds to it.
    void progress(qint64 done, qint64 total);
    // A read-back or a repeated read begins.
    void phaseChanged(CTransferJob::Phase phase);
    // The job ended: outcome and reason as the driver's ended() has them.
    void ended(CTransferDriver::Outcome outcome, QString reason);
    void finished(bool success);

private:
    void onEnded(CTransferDriver::Outcome outcome, const QString &reason);
    void onProgress(qint64 done, qint64 total);
    void next();
    // The transfer before failed on the line: try again when allowed.
    bool tryAgain();
    bool run(CTransfer *transfer, const QByteArray &first, Phase phase);
    void downloadEnded();
    void readBackEnded();
    void readEnded();
    void say(const QString &message);
    void finish(CTransferDriver::Outcome outcome, const QString &reason);

    CTransferDriver *m_driver;
    CDownloadTransfer m_download;
    CUploadTransfer m_upload;
    Kind m_kind = Download;
    Phase m_phase = Idle;
    QString m_chip;
    QByteArray m_table;
    bool m_verifyAsked = false;
    bool m_irregular = false; // any transfer of the job so far
    int m_sends = 0;          // downloads of the table
    QList<QByteArray> m_reads;
    QList<bool> m_readRepeated; // whether each read repeated a request
    bool m_retrying = false;    // the next transfer follows a failed one
    bool m_linkLost = false;
    int m_sendTries = 0; // downloads started
    int m_readTries = 0; // read-backs or reads started
    // What runs next, once the driver has finished with the transfer before.
    enum Next
    {
        Nothing,
        SendAgain,
        ReadBack,
        ReadAgain
    };
    Next m_next = Nothing;
    bool m_cancelRequested = false;
    // Progress: the transfers planned and those done.
    int m_planned = 1;
    int m_done = 0;
    CTransferDriver::Outcome m_outcome = CTransferDriver::Failed;
    QString m_reason;
    QString m_verify = QStringLiteral("off");
};
