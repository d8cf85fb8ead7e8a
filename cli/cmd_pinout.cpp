// The commands that show a project to people: pins and report.

#include "commandline.h"
#include "commands.h"
#include "filenames.h"

#include "dlgdescription.h"
#include "filecheck.h"
#include "pinlisting.h"
#include "projectfile.h"
#include "projectreport.h"

#include <QFileInfo>
#include <cstdio>

namespace {

const char kPinsHelp[] =
    "Usage: mirel-cli pins PROJECT.cpro [--csv | --json] [--lang en|zh]\n"
    "\n"
    "Lists every pin of the project's package, pin 1 first: its number, name and\n"
    "function, the table that uses it and, for a chip select, what it selects.\n"
    "\n"
    "Options:\n"
    "  --csv               comma-separated values, a header line first\n"
    "  --json              one JSON object: the chip and its pins\n"
    "  --lang en|zh        the language of the texts (default zh)\n"
    "  -h, --help          show this help\n";

const char kReportHelp[] =
    "Usage: mirel-cli report PROJECT.cpro -o REPORT.pdf|REPORT.html [--lang en|zh]\n"
    "\n"
    "Writes the review document of a project: the chip, the drawing of the package,\n"
    "the pin table and every table the project uses with its option texts, its\n"
    "network and wireless settings. A .pdf is A4 pages with the drawing on the\n"
    "first; an .html is one file with the drawing inside.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   the report to write (replaced whole or left untouched)\n"
    "  --lang en|zh        the language of the texts (default zh)\n"
    "  -h, --help          show this help\n";

} // namespace

int runPins(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption csv(QStringLiteral("csv"), QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    parser.addOptions({help, csv, json});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("pins", message);
    if (parser.isSet(help)) {
        std::fputs(kPinsHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return Cli::usageError("pins", QStringLiteral("expected one project file"));
    if (parser.isSet(csv) && parser.isSet(json))
        return Cli::usageError("pins", QStringLiteral("--csv and --json exclude each other"));

    ProjectData project;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(Cli::inputPath(positional.first()), &project, &dropped, &message))
        return Cli::failure("pins", positional.first(), message);
    for (const ProjectProblem &warning : qAsConst(dropped))
        Cli::warning("pins", positional.first(), warning.message);
    const CDlgDescription text;
    const PinListing listing(project, text);
    if (parser.isSet(json))
        Cli::print(QString::fromUtf8(listing.toJson()));
    else
        Cli::print(parser.isSet(csv) ? listing.toCsv() : listing.toText());
    return 0;
}

int runReport(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    parser.addOptions({help, output});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("report", message);
    if (parser.isSet(help)) {
        std::fputs(kReportHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return Cli::usageError("report", QStringLiteral("expected one project file"));
    const QString reportPath = parser.value(output);
    if (reportPath.isEmpty())
        return Cli::usageError("report", QStringLiteral("no output file given (-o REPORT.pdf)"));
    if (!ProjectReport::suffixes().contains(QFileInfo(reportPath).suffix().toLower()))
        return Cli::usageError(
            "report", QStringLiteral("%1: the report is a .pdf or an .html file").arg(reportPath));
    message = Cli::outputOverInput(reportPath, positional.first());
    if (!message.isEmpty())
        return Cli::usageError("report", message);

    ProjectData project;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(Cli::inputPath(positional.first()), &project, &dropped, &message))
        return Cli::failure("report", positional.first(), message);
    for (const ProjectProblem &warning : qAsConst(dropped))
        Cli::warning("report", positional.first(), warning.message);
    const ProjectReport report(project, QFileInfo(positional.first()).fileName());
    QString target;
    if (!Cli::outputPath(reportPath, &target, &message))
        return Cli::failure("report", reportPath, message);
    const Cli::TerminationHold hold;
    if (!report.write(target, &message) || !Cli::finishOutputs(&message))
        return Cli::failure("report", reportPath, message);
    return 0;
}
