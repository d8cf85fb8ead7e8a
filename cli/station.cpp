#include "station.h"

#include "commandline.h"

#include "batchdownload.h"
#include "transferdriver.h"

#include <utility>

Station::Station(const Setup &setup, const PortMatch &match, QObject *parent)
    : QObject(parent), m_setup(setup), m_match(match), m_watcher(match, this),
      m_record(BatchRecord(setup.recordPath, setup.project, setup.table))
{
    connect(&m_record, &RecordQueue::failed, this, [this](const QString &error) {
        Cli::failure("station", QString(), error);
        m_recordFailed = true;
        stop();
    });
    m_watcher.setIntervalMs(setup.intervalMs);
    connect(&m_watcher, &PortWatcher::arrived, this, &Station::onArrived);
    connect(&m_watcher, &PortWatcher::departed, this,
            [this](const QString &port) { say(port + QStringLiteral(": gone")); });
}

void Station::say(const QString &text) const
{
    Cli::print(CTransferDriver::timestamp() + QLatin1Char(' ') + text + QLatin1Char('\n'));
}

void Station::start()
{
    // The ports there now are known before the wait is announced: one that
    // comes after the announcement is never taken for one present at the start.
    m_watcher.start(m_setup.includePresent);
    Cli::print(QStringLiteral("mirel-cli station: waiting for controllers at %1 (Ctrl+C stops)\n")
                   .arg(m_match.text()));
    const QStringList present = m_watcher.presentAtStart();
    if (!present.isEmpty())
        Cli::print(QStringLiteral("mirel-cli station: left alone until they come back: %1\n")
                       .arg(present.join(QStringLiteral(", "))));
}

void Station::onArrived(const QString &port)
{
    if (m_stopping)
        return;
    if (m_busy.contains(port)) {
        say(port + QStringLiteral(": back while still being programmed; passed over"));
        return;
    }
    auto *batch = new BatchDownload(this);
    batch->setTable(m_setup.chip, m_setup.table);
    batch->setVerify(m_setup.verify);
    batch->setLink(m_setup.link.timeoutMs, m_setup.link.retries);
    connect(batch, &BatchDownload::portFinished, this, &Station::onPortFinished);
    connect(batch, &BatchDownload::finished, this, [this, batch] { onBatchFinished(batch); });
    if (m_setup.verbose)
        connect(batch, &BatchDownload::portLog, this, [](const QString &name, const QString &line) {
            Cli::print(name + QStringLiteral(": ") + line);
        });
    say(port + QStringLiteral(": programming"));
    if (!batch->start({port})) {
        say(port + QStringLiteral(": ") + batch->errorString());
        delete batch;
        return;
    }
    m_busy.insert(port);
    m_batches.append(batch);
}

void Station::onPortFinished(const BatchPortResult &result)
{
    (result.ok ? m_succeeded : m_failed) += 1;
    const QString outcome =
        result.ok ? QStringLiteral("ok") : QStringLiteral("failed: ") + result.reason;
    say(QStringLiteral("%1: %2, %3 s, verify %4")
            .arg(result.port, outcome, QString::number(result.seconds, 'f', 2), result.verify));
    if (m_setup.recordPath.isEmpty())
        return;
    const Cli::TerminationHold hold;
    m_record.add(result);
}

void Station::onBatchFinished(BatchDownload *batch)
{
    const QList<BatchPortResult> results = batch->results();
    for (const BatchPortResult &result : results)
        m_busy.remove(result.port);
    m_batches.removeOne(batch);
    batch->deleteLater();
    checkDone();
}

void Station::stop()
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_watcher.stop();
    if (!m_batches.isEmpty())
        Cli::print(QStringLiteral("mirel-cli station: stopping once the running transfers end "
                                  "(Ctrl+C again cancels them)\n"));
    checkDone();
}

void Station::cancel()
{
    for (BatchDownload *batch : std::as_const(m_batches))
        batch->cancel();
}

void Station::checkDone()
{
    if (!m_stopping || !m_batches.isEmpty())
        return;
    Cli::print(QStringLiteral("mirel-cli station: stopped; %1 programmed, %2 failed\n")
                   .arg(m_succeeded)
                   .arg(m_failed));
    emit finished();
}
