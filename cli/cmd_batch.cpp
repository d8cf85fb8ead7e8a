// download to one port or to several at once.

#include "batchprogress.h"
#include "batchrun.h"
#include "commandline.h"
#include "stopsignal.h"

#include "batchdownload.h"
#include "batchrecord.h"

#include <QEventLoop>
#include <QSet>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void printLine(const QString &line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

} // namespace

int runBatch(const BatchRun &run)
{
    const bool single = run.ports.size() == 1;
    BatchDownload batch;
    batch.setTable(run.chip, run.table);
    batch.setVerify(run.verify);
    batch.setLink(run.link.timeoutMs, run.link.retries);
    const BatchRecord record(run.recordPath, run.project, run.table);
    bool recordFailed = false;

    // One port: the driver's lines as they come, and a port that does not
    // open said on stderr, as the download of one controller always did.
    QSet<QString> opened;
    std::unique_ptr<BatchProgress> progress;
    if (single) {
        QObject::connect(&batch, &BatchDownload::portLog, &batch,
                         [](const QString &, const QString &line) { printLine(line); });
    } else {
        progress =
            std::make_unique<BatchProgress>(run.ports, ::isatty(STDOUT_FILENO) == 1, run.verify);
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
                         QString error;
                         const Cli::TerminationHold hold;
                         if (!record.append(result, &error)) {
                             LinkOptions::failure("download", error);
                             recordFailed = true;
                         }
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
