// station: programs every controller that appears on the matching ports.

#include "batchrun.h"
#include "commands.h"
#include "linkoptions.h"
#include "station.h"
#include "stopsignal.h"

#include "portmatch.h"

#include <QCommandLineParser>
#include <QEventLoop>

using LinkOptions::failure;
using LinkOptions::usageError;

int runStation(const QStringList &args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Wait for controllers and program each one that appears on a matching port: once, and "
        "again only after it has gone away and come back. Ports that match when the station "
        "starts are left alone until they come back (unless --include-present); other ports "
        "are never opened. Ctrl+C stops once the running transfers end; a second Ctrl+C "
        "cancels them.");
    LinkOptions::add(parser, false);
    parser.addOptions({
        {"project", "The project whose table is sent.", "PROJECT.cpro"},
        {"match",
         "The ports to watch: a device path pattern (/dev/ttyUSB*, /dev/serial/by-id/*, "
         "matched in the file system, links and pseudo-terminals too), a port name pattern "
         "(ttyUSB*), or an adapter's USB vid:pid in hex (0403:6001).",
         "PATTERN"},
        {"no-verify",
         "Do not read the table back after each download (by default it is read back and "
         "compared byte for byte)."},
        {"verify", "Read the table back and compare it (the default)."},
        {"record", "Append a row per programmed port to this CSV file.", "FILE.csv"},
        {"include-present", "Also program the matching ports present at the start."},
        {"interval-ms", "Look for ports this often (default 500).", "MS"},
        {"verbose", "Print the driver's lines of every port too."},
    });
    int exitCode = 0;
    if (!LinkOptions::parseArguments(parser, "station", args, &exitCode))
        return exitCode;

    Station::Setup setup;
    QString error;
    if (!parser.positionalArguments().isEmpty())
        return usageError("station", "unexpected argument " + parser.positionalArguments().first());
    setup.project = parser.value("project");
    if (setup.project.isEmpty())
        return usageError("station", "--project PROJECT.cpro is required");
    if (!parser.isSet("match"))
        return usageError("station", "--match PATTERN is required: a device path pattern such "
                                     "as /dev/ttyUSB*, or an adapter's vid:pid");
    PortMatch match;
    if (!match.parse(parser.value("match"), &error))
        return usageError("station", "--match: " + error);
    if (!LinkOptions::read(parser, &setup.link, &error))
        return usageError("station", error);
    if (parser.isSet("interval-ms")) {
        bool ok = false;
        setup.intervalMs = parser.value("interval-ms").toInt(&ok);
        if (!ok || setup.intervalMs < 10 || setup.intervalMs > 60000)
            return usageError("station", "--interval-ms: expected milliseconds from 10 to 60000");
    }
    const QString record = parser.value("record");
    if (!LinkOptions::outputsAreFiles("station", {record}, &exitCode))
        return exitCode;
    setup.verify = !parser.isSet("no-verify");
    setup.includePresent = parser.isSet("include-present");
    setup.verbose = parser.isSet("verbose");

    if (!LinkOptions::projectTable(setup.project, &setup.table, &setup.chip, &error))
        return failure("station", error);
    if (setup.table.isEmpty())
        return failure("station", "the configuration table is empty");
    if (!record.isEmpty() && !LinkOptions::prepareRecord("station", record, setup.project,
                                                         setup.table, &setup.recordPath, &exitCode))
        return exitCode;

    Station station(setup, match);
    StopSignal stop;
    QObject::connect(&stop, &StopSignal::requested, &station, [&station](int count) {
        if (count == 1)
            station.stop();
        else
            station.cancel();
    });
    QEventLoop loop;
    QObject::connect(&station, &Station::finished, &loop, &QEventLoop::quit);
    station.start();
    loop.exec();
    // The last rows are waited for, a minute at most, before the end.
    station.record().setGiveUpMs(60000);
    const bool written = setup.recordPath.isEmpty() || finishRecord("station", station.record());
    return station.recordFailed() || !written ? LinkOptions::ExitFailed : 0;
}
