// download to one port or to several at once.

#include "batchprogress.h"
#include "batchrun.h"
#include "cliplatform.h"
#include "commandline.h"
#include "stopsignal.h"

#include "batchdownload.h"
#include "batchrecord.h"
#include "recordqueue.h"

#include <QEventLoop>
#include <QSet>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

bool finishRecord(const char *command, RecordQueue &queue)
{
    if (!queue.isEmpty() && queue.error().isEmpty()) {
        QEventLoop loop;
        QObject::connect(&queue, &RecordQueue::changed, &loop, [&] {
            if (queue.isEmpty() || !queue.error().isEmpty())
                loop.quit();
        });
        // Said once the wait is long enough to be noticed.
        QTimer::singleShot(2000, &loop, [&] {
            std::fputs(QStringLiteral("mirel-cli %1: waiting for the lock of %2 to write %3 "
                                      "rows\n")
                           .arg(QLatin1String(command), queue.path())
                           .arg(queue.waitingRows().size())
                           .toUtf8()
                           .constData(),
                       stderr);
        });
        loop.exec();
    }
    if (queue.isEmpty())
        return true;
    // Nothing is lost: the rows go to stderr, to be added by hand.
    std::fputs(QStringLiteral("mirel-cli %1: rows not written to %2:\n")
                   .arg(QLatin1String(command), queue.path())
                   .toUtf8()
                   .constData(),
               stderr);
    for (const QString &row : queue.waitingRows())
        std::fputs((row + QLatin1Char('\n')).toUtf8().constData(), stderr);
    return false;
}

int runBatch(const BatchRun &run)
{
    const bool single = run.ports.size() == 1;
    BatchDownload batch;
    batch.setTable(run.chip, run.table);
    batch.setVerify(run.verify);
    batch.setLink(run.link.timeoutMs, run.link.retries);
    // The rows wait for a lock another program holds, for a minute at most.
    RecordQueue record(BatchRecord(run.recordPath, run.project, run.table));
    record.setGiveUpMs(60000);
    bool recordFailed = false;
    QObject::connect(&record, &RecordQueue::failed, &record, [&](const QString &error) {
        LinkOptions::failure("download", error);
        recordFailed = true;
    });

    // One port: the driver's lines as they come, and a port that does not
    // open said on stderr, as the download of one controller always did.
    QSet<QString> opened;
    std::unique_ptr<BatchProgress> progress;
    if (single) {
        QObject::connect(&batch, &BatchDownload::portLog, &batch,
                         [](const QString &, const QString &line) { printLine(line); });
    } else {
        progress =
            std::make_unique<BatchProgress>(run.ports, CliPlatform::stdoutIsTerminal(), run.verify);
        QObject::connect(&batch, &BatchDownload::portProgress, progress.get(),
                         &BatchProgress::progress);
        QObject::connect(&batch, &BatchDownload::portLog, progress.get(), &BatchProgress::log);
        QObject::connect(&batch, &BatchDownload::portStarted, progress.get(),
                         &BatchProgress::started);
    }
    // Ctrl+C (or SIGTERM) cancels the transfers, on one port as on several:
    // the ports that were cancelled end failed and are recorded as such.
    StopSignal stop;
    QObject::connect(&stop, &StopSignal::requested, &batch, [&batch, single](int count) {
        if (count == 1)
            std::fputs(single ? "mirel-cli download: cancelling the transfer\n"
                              : "mirel-cli download: cancelling the transfers\n",
                       stderr);
        batch.cancel();
    });
    QObject::connect(&batch, &BatchDownload::portStarted, &batch,
                     [&opened](const QString &port) { opened.insert(port); });
    QObject::connect(&batch, &BatchDownload::portFinished, &batch,
                     [&](const BatchPortResult &result) {
                         if (progress)
                             progress->finished(result);
                         else if (!result.ok && !opened.contains(result.port))
                             LinkOptions::failure("download", result.reason);
                         if (run.recordPath.isEmpty())
                             return;
                         const Cli::TerminationHold hold;
                         record.add(result);
                     });

    QEventLoop loop;
    bool allOk = false;
    QObject::connect(&batch, &BatchDownload::finished, &loop, [&](bool ok) {
        allOk = ok;
        loop.quit();
    });
    if (!batch.start(run.ports))
        return LinkOptions::failure("download", batch.errorString());
    loop.exec();

    if (!run.recordPath.isEmpty() && !finishRecord("download", record))
        recordFailed = true;
    if (progress) {
        progress->end();
        const QList<BatchPortResult> results = batch.results();
        printLine(QStringLiteral("\n") + BatchProgress::summary(results));
        int failed = 0;
        for (const BatchPortResult &result : results)
            failed += result.ok ? 0 : 1;
        if (failed > 0)
            LinkOptions::failure(
                "download",
                QStringLiteral("%1 of %2 ports failed").arg(failed).arg(results.size()));
    }
    return allOk && !recordFailed ? 0 : LinkOptions::ExitFailed;
}
