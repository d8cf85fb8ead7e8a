#pragma once

#include "batchportresult.h"
#include "downloadtab.h"

#include <QDialog>
#include <QStringList>

class BatchDownload;
class BatchRecordRows;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QTimer;

// The window "批量下载" of the firmware tab: the open project's table sent
// to several controllers at once, one per ticked port. The ports are the
// adapters present (looked at again every second, the ticks kept) and the
// device paths typed in; each shows its progress and how it ended. A port
// that fails fails alone. With a record file, a row per port is appended.
class BatchPanel : public QDialog
{
    Q_OBJECT
public:
    static constexpr int PollIntervalMs = 1000;

    // The table comes as the single download's does: through the tab's hooks.
    explicit BatchPanel(CDownloadTab::Hooks hooks, QWidget *parent = nullptr);
    ~BatchPanel() override;

    // The wait for an answer and the repeats, as the tab has them.
    void setLink(int timeoutMs, int retries);
    void setVerify(bool verify);
    void setRecordPath(const QString &path);

    // The ports listed, in their order.
    QStringList ports() const;
    // Adds a typed device path (kept however the adapters change); false
    // when it is empty or listed already.
    bool addPort(const QString &path);
    void setTicked(const QString &port, bool ticked);
    bool isTicked(const QString &port) const;
    QStringList tickedPorts() const;
    // The progress (percent) and the outcome shown for a port.
    int progressOf(const QString &port) const;
    QString outcomeOf(const QString &port) const;
    QString statusText() const;

    // Looks at the adapters present again: new ones are added unticked,
    // gone ones removed; typed paths and ticks stay. Nothing changes while a
    // batch runs.
    void refreshPorts();

    // Starts the batch on the ticked ports; false, with a message, when
    // there is no project, no table, no port ticked or the record file
    // cannot take rows.
    bool start();
    void cancel();
    bool isRunning() const;
    const BatchDownload *batch() const { return m_batch; }
    // The rows of the record, written or waiting for its lock.
    BatchRecordRows *recordRows() const { return m_record; }

signals:
    void batchFinished(bool allSucceeded);

public slots:
    // Closing while rows wait for the record offers to save them elsewhere.
    void reject() override;

protected:
    void changeEvent(QEvent *event) override;

private:
    struct Row
    {
        QString port;
        bool typed = false;
    };
    void buildForm();
    void retranslate();
    QString outcomeText(const BatchPortResult &result) const;
    // How the batch ended: all succeeded, or how many failed; and whether
    // the record missed a row.
    QString summary() const;
    void setPorts(const QStringList &listed);
    int rowOf(const QString &port) const;
    void addRow(const QString &port, bool typed, bool ticked);
    QProgressBar *barAt(int row) const;
    QTableWidgetItem *outcomeAt(int row) const;
    void onProgress(const QString &port, qint64 done, qint64 total);
    void onPortFinished(const BatchPortResult &result);
    void onFinished(bool allSucceeded);
    void pickRecord();
    void addTypedPort();
    void setRunning(bool running);
    void refuse(const QString &message);

    CDownloadTab::Hooks m_hooks;
    BatchDownload *m_batch;
    QTimer *m_poll;
    QList<Row> m_rows;
    QStringList m_listed; // the adapters present at the last look
    QString m_project;
    QByteArray m_table;
    BatchRecordRows *m_record;

    QTableWidget *m_tableView = nullptr;
    QLineEdit *m_portEdit = nullptr;
    QPushButton *m_addPort = nullptr;
    QCheckBox *m_verify = nullptr;
    QLabel *m_recordLabel = nullptr;
    QLineEdit *m_recordEdit = nullptr;
    QPushButton *m_recordPick = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancel = nullptr;
    QLabel *m_status = nullptr;
};
