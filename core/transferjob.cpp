#include "transferjob.h"

#include <QCoreApplication>

namespace {
// Each transfer of a job counts this much on the progress scale.
constexpr qint64 Unit = 1000;
} // namespace

CTransferJob::CTransferJob(CTransferDriver *driver, QObject *parent)
    : QObject(parent), m_driver(driver)
{
    connect(m_driver, &CTransferDriver::logLine, this, [this](const QString &line) {
        if (isRunning())
            emit logLine(line);
    });
    connect(m_driver, &CTransferDriver::progress, this, &CTransferJob::onProgress);
    connect(m_driver, &CTransferDriver::ended, this, &CTransferJob::onEnded);
}

bool CTransferJob::startDownload(const QString &chip, const QByteArray &table, bool verify)
{
    m_kind = Download;
    m_chip = chip;
    m_table = table;
    m_verifyAsked = verify;
    m_verify = verify ? QStringLiteral("not read back") : QStringLiteral("off");
    m_irregular = false;
    m_sends = 0;
    m_reads.clear();
    m_readRepeated.clear();
    m_retrying = false;
    m_next = Nothing;
    m_cancelRequested = false;
    m_planned = verify ? 2 : 1;
    m_done = 0;
    m_reason.clear();
    m_linkLost = false;
    m_sendTries = 1;
    m_readTries = 0;
    m_driver->beginJob();
    if (run(&m_download, m_download.start(chip, table), Sending))
        return true;
    m_phase = Idle;
    m_reason = tr("没有可发送的内容");
    return false;
}

bool CTransferJob::startUpload(const QString &chip)
{
    m_kind = Upload;
    m_chip = chip;
    m_table.clear();
    m_verifyAsked = false;
    m_verify = QStringLiteral("off");
    m_irregular = false;
    m_sends = 0;
    m_reads.clear();
    m_readRepeated.clear();
    m_retrying = false;
    m_next = Nothing;
    m_cancelRequested = false;
    m_planned = 1;
    m_done = 0;
    m_reason.clear();
    m_linkLost = false;
    m_sendTries = 0;
    m_readTries = 1;
    m_driver->beginJob();
    if (run(&m_upload, m_upload.start(chip), Reading))
        return true;
    m_phase = Idle;
    m_reason = tr("无法开始读取");
    return false;
}

bool CTransferJob::heldNoTable() const
{
    return m_kind == Upload && !succeeded() && m_upload.heldNoTable();
}

void CTransferJob::cancel()
{
    if (!isRunning())
        return;
    if (m_driver->isRunning()) {
        m_driver->cancel(); // its log line, then onEnded(Cancelled)
        return;
    }
    // Between two transfers: nothing more goes out.
    m_cancelRequested = true;
}

void CTransferJob::fail(const QString &reason)
{
    if (!isRunning())
        return;
    m_linkLost = true;
    if (m_driver->isRunning()) {
        m_driver->fail(reason); // its log line, then onEnded(Failed)
        return;
    }
    say(QCoreApplication::translate("CTransferDriver", ": 传输中断：%1\n").arg(reason));
    finish(CTransferDriver::Failed, reason);
}

bool CTransferJob::run(CTransfer *transfer, const QByteArray &first, Phase phase)
{
    m_phase = phase;
    if (!m_driver->start(transfer, first))
        return false;
    emit phaseChanged(phase);
    return true;
}

void CTransferJob::onProgress(qint64 done, qint64 total)
{
    if (!isRunning() || total <= 0)
        return;
    emit progress(m_done * Unit + qMin(done, total) * Unit / total, m_planned * Unit);
}

void CTransferJob::onEnded(CTransferDriver::Outcome outcome, const QString &reason)
{
    if (!isRunning() || m_next != Nothing)
        return;
    if (outcome == CTransferDriver::Cancelled) {
        finish(outcome, tr("传输已取消"));
        return;
    }
    if (outcome == CTransferDriver::Failed) {
        if (!tryAgain())
            finish(outcome, reason);
        return;
    }
    ++m_done;
    if (m_phase == Sending)
        downloadEnded();
    else if (m_phase == ReadingBack)
        readBackEnded();
    else
        readEnded();
}

void CTransferJob::downloadEnded()
{
    ++m_sends;
    m_irregular = m_irregular || m_download.wasIrregular();
    if (!m_verifyAsked && !m_irregular) {
        finish(CTransferDriver::Succeeded, QString());
        return;
    }
    if (!m_verifyAsked && m_sends == 1) {
        m_verify = QStringLiteral("not read back");
        m_planned = 2;
        say(tr(": 传输中有重发、出错或迟到的响应，读回控制器中的配置以确认...\n"));
    }
    m_next = ReadBack;
    // The driver is still saying the end of the transfer: the next begins
    // once it has.
    QMetaObject::invokeMethod(this, &CTransferJob::next, Qt::QueuedConnection);
}

void CTransferJob::readBackEnded()
{
    m_irregular = m_irregular || m_upload.wasIrregular();
    const QByteArray back = m_upload.uploadBuffer();
    QString message;
    const bool same = CReadBack::compare(m_table, back, &message);
    say(message);
    if (same) {
        m_verify = QStringLiteral("same");
        finish(CTransferDriver::Succeeded, QString());
        return;
    }
    int at = 0;
    const int common = qMin(m_table.size(), back.size());
    while (at < common && m_table.at(at) == back.at(at))
        ++at;
    m_verify = QStringLiteral("differs at %1").arg(at);
    if (m_irregular && m_sendTries < 2) {
        say(tr(": 读回的配置与下载的不同，重新下载一次...\n"));
        m_planned += 2;
        m_next = SendAgain;
        QMetaObject::invokeMethod(this, &CTransferJob::next, Qt::QueuedConnection);
        return;
    }
    QString reason = message.trimmed();
    if (reason.startsWith(QLatin1String(": ")))
        reason.remove(0, 2);
    finish(CTransferDriver::Failed, reason);
}

void CTransferJob::readEnded()
{
    m_irregular = m_irregular || m_upload.wasIrregular();
    const QByteArray read = m_upload.uploadBuffer();
    const bool repeated = m_upload.repeatedRequest();
    // Two reads that both repeated a request may agree on the same wrong
    // table (a block slow in every read, its answers taken out of turn):
    // agreement counts only with a read that asked for each block once.
    bool agrees = false, agreesRepeated = false;
    for (int i = 0; i < m_reads.size(); ++i) {
        if (m_reads.at(i) != read)
            continue;
        if (!repeated || !m_readRepeated.at(i))
            agrees = true;
        else
            agreesRepeated = true;
    }
    m_reads << read;
    m_readRepeated << repeated;
    if (agrees || (m_reads.size() == 1 && !m_irregular)) {
        if (agrees)
            say(tr(": 两次读取的配置一致\n"));
        m_table = read;
        finish(CTransferDriver::Succeeded, QString());
        return;
    }
    if (m_reads.size() >= 3) {
        const QString reason = m_readRepeated.count(false) == 0
                                   ? tr("每次读取都有请求重发，读到的配置无法确认")
                                   : tr("三次读取的配置各不相同，无法确定控制器中的配置");
        say(QStringLiteral(": ") + reason + tr("，上载失败！\n"));
        finish(CTransferDriver::Failed, reason);
        return;
    }
    say(m_reads.size() == 1 ? tr(": 读取中有重发、出错或迟到的响应，再读一次以确认...\n")
        : agreesRepeated ? tr(": 两次读取都有请求重发，再读一次以确认...\n")
                         : tr(": 两次读取的配置不同，再读一次...\n"));
    ++m_planned;
    m_next = ReadAgain;
    QMetaObject::invokeMethod(this, &CTransferJob::next, Qt::QueuedConnection);
}

bool CTransferJob::tryAgain()
{
    const CTransfer &failed =
        m_phase == Sending ? static_cast<const CTransfer &>(m_download) : m_upload;
    // No table to read back after a download that went other than planned:
    // the table did not arrive whole (an answer taken for another block's),
    // and is sent once more.
    if (m_phase == ReadingBack && m_upload.heldNoTable() && m_irregular && m_sendTries < 2 &&
        !m_cancelRequested && !m_linkLost) {
        say(tr(": 读回时控制器中没有配置表，重新下载一次...\n"));
        m_verify = QStringLiteral("differs at 0");
        m_planned += 2;
        m_next = SendAgain;
        m_retrying = true;
        QMetaObject::invokeMethod(this, &CTransferJob::next, Qt::QueuedConnection);
        return true;
    }
    // A controller that said nothing at all is not asked again: it has been
    // waited for as long as the link settings say. Nor is one that sends
    // too slowly: the whole again would take as long again.
    if (m_linkLost || m_cancelRequested || failed.refusedByController() ||
        !failed.heardAnything() || failed.failedTooSlow())
        return false;
    m_irregular = true;
    // What the failed transfer left on the line would answer the first
    // request of the next.
    m_retrying = true;
    if (m_phase == Sending && m_sendTries < 2) {
        say(tr(": 下载没有完成，重新下载一次...\n"));
        m_verify = QStringLiteral("not read back");
        m_planned = m_done + 2;
        m_next = SendAgain;
    } else if (m_phase == ReadingBack && m_readTries < 3) {
        say(tr(": 读回没有完成，再读一次...\n"));
        ++m_planned;
        m_next = ReadBack;
    } else if (m_phase == Reading && m_readTries < 3) {
        say(tr(": 读取没有完成，再读一次...\n"));
        ++m_planned;
        m_next = ReadAgain;
    } else {
        return false;
    }
    QMetaObject::invokeMethod(this, &CTransferJob::next, Qt::QueuedConnection);
    return true;
}

void CTransferJob::next()
{
    const Next what = m_next;
    m_next = Nothing;
    if (!isRunning() || what == Nothing)
        return;
    if (m_cancelRequested) {
        say(QCoreApplication::translate("CTransferDriver", ": 传输已取消！控制器停在传输中途。\n"));
        finish(CTransferDriver::Cancelled, tr("传输已取消"));
        return;
    }
    if (m_retrying)
        m_driver->cleanLine();
    m_retrying = false;
    bool started = false;
    if (what == SendAgain) {
        ++m_sendTries;
        started = run(&m_download, m_download.start(m_chip, m_table), Sending);
    } else {
        ++m_readTries;
        if (what == ReadBack)
            say(tr(": 读回控制器中的配置信息，与下载的比较...\n"));
        started = run(&m_upload, m_upload.start(m_chip), what == ReadBack ? ReadingBack : Reading);
    }
    if (!started)
        finish(CTransferDriver::Failed, tr("无法开始读取"));
}

void CTransferJob::say(const QString &message)
{
    emit logLine(CTransferDriver::timestamp() + message);
}

void CTransferJob::finish(CTransferDriver::Outcome outcome, const QString &reason)
{
    m_phase = Done;
    m_next = Nothing;
    m_outcome = outcome;
    m_reason = reason;
    if (outcome == CTransferDriver::Succeeded)
        emit progress(m_planned * Unit, m_planned * Unit);
    emit ended(outcome, reason);
    emit finished(outcome == CTransferDriver::Succeeded);
}
