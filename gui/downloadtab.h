#pragma once

#include "transfer.h"
#include "transferdriver.h"
#include "transferjob.h"

#include <QColor>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace Ui {
class CDownloadTab;
}
class BatchPanel;
class CProgressBar;
class CSerial;
class LinkTrace;
class QLineEdit;
class QPushButton;
class QTimer;

// The main window's firmware tab, with its own form: the serial port
// controls, the download of the project's configuration table (read back and
// compared when asked) and the upload of the controller's, the log and raw
// views, and the six file kinds that can be picked and marked. What belongs
// to the project comes through the window's hooks. The response time-out,
// the repeats and the read-back are kept in the start-up settings file: in
// the hooks' appDir, or where the program keeps that file when appDir is its
// data folder.
class CDownloadTab : public QWidget
{
    Q_OBJECT
public:
    struct Hooks
    {
        std::function<QString()> currentChip;
        std::function<bool()> hasProject;
        // The open project's configuration table, transfer form.
        std::function<bool(QByteArray *table, QString *error)> buildTable;
        // Turns a table into a project and offers it to the window, which
        // asks before it replaces the open project.
        // What the decoding passed over goes to warnings.
        std::function<bool(const QByteArray &table, const QString &chip, QString *error,
                           QStringList *warnings)>
            analyzeUpload;
        // The same for the table built for the last download, sent or not:
        // the window shows the project as made from it.
        std::function<bool(const QByteArray &table, const QString &chip, QString *error,
                           QStringList *warnings)>
            makeProjectOfDownload;
        std::function<QString()> appDir;
        // The open project's file (may be empty): named in the batch record.
        std::function<QString()> projectPath;
        // Before the project's table is built: values typed into a table and
        // not confirmed are applied or left out as the user says; false
        // when the user cancels.
        std::function<bool(const QString &action)> settleTable;
    };

    enum FileKind
    {
        KindConf = 0,
        KindFirmware,
        KindSAlgorithm,
        KindCAlgorithm,
        KindDrive,
        KindProgram,
        KindCount
    };

    static const QColor ActiveColor;   // RGB 85, 169, 255
    static const QColor InactiveColor; // RGB 225, 225, 225
    static constexpr int MaxDriverNumber = 48;

    explicit CDownloadTab(Hooks hooks, QWidget *parent = nullptr);
    ~CDownloadTab() override;

    // Where the window's commands lead: the download or the upload button
    // takes the focus; a configuration table just written is the one offered.
    void focusDownload();
    void focusUpload();
    void setConfigTablePath(const QString &path);

    void startDownload();
    void startUpload();
    // Reads the controller's table for the open project's chip and hands it
    // over (controllerRead) instead of making a project of it.
    void startCompare();
    // Downloads the project and, once it is there, compares again.
    void startDownloadThenCompare();
    // Stops the running transfer (the progress window's "取消").
    void cancelTransfer();
    // Before the program quits: true when no transfer runs, or the user
    // chose to stop it (it is then cancelled).
    bool mayQuit();
    void pickFile(int kind);
    void markKind(int kind);
    void clearMarking();
    void clearLog();
    void clearRawView();
    // Passes the bytes still held for the download to the analysis.
    void analyzeDownloadData();
    void fillDefaultPaths();
    // The upload chip box shows the open project's chip; a chip chosen by
    // hand holds until the project's chip changes.
    void followProjectChip();

    void openPort();
    void closePort();
    void refreshPorts();
    // Looks at the adapters present: the list is refreshed when they changed.
    void pollPorts();
    // The port last opened, kept with the transfer settings.
    QString lastPort() const { return m_lastPort; }

    // The window "批量下载": the same table sent to several ports at once.
    void openBatchPanel();
    BatchPanel *batchPanel() const;
    bool batchRunning() const;
    void cancelBatch();

    // Response time-out and repeats of each request (the spin boxes show
    // them), and whether a download is read back and compared.
    void setResponseTimeout(int ms);
    void setRetries(int retries);
    void setVerifyAfterDownload(bool verify);
    const CTransferDriver *driver() const { return m_driver; }

    int state() const;
    quint8 selectedKind() const { return m_selectedKind; }
    QString selectedStartMessage() const { return m_selectedStartMessage; }
    QString selectedPath() const { return m_selectedPath; }
    const CDownloadTransfer &download() const { return m_job->downloadMachine(); }
    const CTransferJob *job() const { return m_job; }
    CSerial *serial() const { return m_serial; }
    CProgressBar *progressWindow() const;

    // The driver number in a driver file's name: the two digits 5 and 6
    // places after "06-" (0 when they are not digits).
    static int driverNumber(const QString &path);
    // Paints a button or field with a fixed colour.
    static void paint(QWidget *widget, const QColor &color);

signals:
    // What the read of a comparison gave: the table; or none, with noTable
    // when the controller holds none, else the failure's reason.
    void controllerRead(const QByteArray &table, bool noTable, const QString &failure);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    struct KindWidgets
    {
        QLineEdit *path = nullptr;
        QPushButton *picker = nullptr;
        QPushButton *mark = nullptr;
    };

    void connectWidgets();
    void appendLog(const QString &line);
    void showRawBlock(const QByteArray &block);
    void transferFinished(bool success);
    // The progress window says how the transfer ended.
    void showTransferEnd(CTransferDriver::Outcome outcome, const QString &reason);
    // The open port went away: the transfer ends, the port shows closed.
    void portLost(const QString &message);
    void showProgressWindow(const QString &label);
    // The wait in force, and how long a silent controller is waited for.
    void showWait();
    // A confirmation begins: a read-back, the table sent again, a read again.
    void showPhase(CTransferJob::Phase phase);
    QString settingsFolder() const;
    void loadSettings();
    void saveSettings();
    void setTransferButtonsEnabled(bool enabled);
    QString chipFolder() const;
    // Says what is marked, and that marked files are not sent.
    void showMarking();
    bool portIsOpen() const;
    // The port list looked at again by itself, and the batch window's button.
    void setUpPollAndBatch();

    Ui::CDownloadTab *ui;
    Hooks m_hooks;
    CSerial *m_serial;
    CTransferDriver *m_driver;
    CTransferJob *m_job;
    QPointer<CProgressBar> m_progress;
    LinkTrace *m_trace;

    quint8 m_selectedKind = 0;
    QString m_selectedStartMessage;
    QString m_selectedPath;

    bool m_readingBack = false; // the job reads a download back
    bool m_comparing = false;   // the upload is read for a comparison
    KindWidgets m_kinds[KindCount];
    QStringList m_listedPorts;
    QTimer *m_portPoll = nullptr;
    QString m_lastPort;
    QString m_followedChip; // the project's chip the upload box last took
    bool m_compareAfterDownload = false;
    QPointer<BatchPanel> m_batchPanel;
};
