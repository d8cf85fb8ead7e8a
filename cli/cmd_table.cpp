#include "chipfacts.h"
#include "commandline.h"
#include "commands.h"
#include "filenames.h"

#include "atomicfile.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "filecheck.h"
#include "filekind.h"
#include "projectcheck.h"
#include "projectfile.h"

#include <QCommandLineParser>
#include <QFile>
#include <cstdio>

using Cli::failure;
using Cli::parse;
using Cli::TerminationHold;
using Cli::usageError;

namespace {

const char kTableHelp[] =
    "Usage: mirel-cli table PROJECT.cpro -o TABLE.bin [--raw]\n"
    "\n"
    "Writes the configuration table of a project.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   the table file to write (replaced whole or left untouched)\n"
    "  --raw               write the transfer form (the bytes sent to the controller)\n"
    "                      instead of the file form (sixteen length-prefixed sections)\n"
    "  -h, --help          show this help\n";

const char kDecodeHelp[] =
    "Usage: mirel-cli decode TABLE.bin --chip MODEL -o PROJECT.cpro\n"
    "\n"
    "Turns a configuration table (file form or transfer form) back into a project.\n"
    "\n"
    "Options:\n"
    "  --chip MODEL        the controller's chip: STM32F103RE or STM32F407ZG\n"
    "  -o, --output FILE   the project file to write (replaced whole or left untouched)\n"
    "  -h, --help          show this help\n";

} // namespace

int runTable(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    const QCommandLineOption raw(QStringLiteral("raw"), QString());
    parser.addOptions({help, output, raw});
    QString message;
    if (!parse(parser, args, &message))
        return usageError("table", message);
    if (parser.isSet(help)) {
        std::fputs(kTableHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError("table", QStringLiteral("expected one project file"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return usageError("table", QStringLiteral("no output file given (-o TABLE.bin)"));
    const QString projectPath = positional.first();
    const QString tablePath = parser.value(output);
    message = Cli::outputOverInput(tablePath, projectPath);
    if (!message.isEmpty())
        return usageError("table", message);

    ProjectData project;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(Cli::inputPath(projectPath), &project, &dropped, &message))
        return failure("table", projectPath, message);
    for (const ProjectProblem &warning : qAsConst(dropped))
        Cli::warning("table", projectPath, warning.message);
    const ProjectProblem problem = ProjectCheck::firstError(ProjectCheck::problems(project));
    if (problem.severity == ProjectProblem::Error)
        return failure("table", projectPath, problem.message);
    QList<QByteArray> sections;
    if (!ConfigTable::buildSections(project, &sections, &message))
        return failure("table", projectPath, message);
    QByteArray bytes;
    if (parser.isSet(raw)) {
        for (const QByteArray &section : qAsConst(sections))
            bytes += section;
    } else {
        bytes = ConfigTable::fileForm(sections);
    }
    QString target;
    if (!Cli::outputPath(tablePath, &target, &message))
        return failure("table", tablePath, message);
    const TerminationHold hold;
    if (!AtomicFile::write(target, bytes, &message) || !Cli::finishOutputs(&message))
        return failure("table", tablePath, message);
    return 0;
}

int runDecode(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    const QCommandLineOption chip(QStringLiteral("chip"), QString(), QStringLiteral("MODEL"));
    parser.addOptions({help, output, chip});
    QString message;
    if (!parse(parser, args, &message))
        return usageError("decode", message);
    if (parser.isSet(help)) {
        std::fputs(kDecodeHelp, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return usageError("decode", QStringLiteral("expected one table file"));
    if (!parser.isSet(chip))
        return usageError("decode", QStringLiteral("no chip model given (--chip MODEL)"));
    if (!parser.isSet(output) || parser.value(output).isEmpty())
        return usageError("decode", QStringLiteral("no output file given (-o PROJECT.cpro)"));
    const QString chipModel = parser.value(chip);
    if (!ChipFacts::isKnown(chipModel))
        return usageError("decode", QStringLiteral("unknown chip model \"%1\" (%2)")
                                        .arg(chipModel, ChipFacts::models().join(" or ")));
    const QString tablePath = positional.first();
    const QString projectPath = parser.value(output);
    message = Cli::outputOverInput(projectPath, tablePath);
    if (!message.isEmpty())
        return usageError("decode", message);

    const QString input = Cli::inputPath(tablePath);
    const QString why = FileKind::whyNotReadable(input);
    if (!why.isEmpty())
        return failure("decode", tablePath, why);
    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return failure("decode", tablePath, file.errorString());
    const QByteArray data = file.readAll();
    QByteArray table;
    if (!ConfigTable::toTransferForm(data, &table, &message))
        return failure("decode", tablePath, message);
    ProjectData project;
    QStringList warnings;
    if (!CAnalyzeBinFileToConfigure::decode(table, chipModel, &project, &message, &warnings))
        return failure("decode", tablePath, message);
    for (const QString &warning : qAsConst(warnings))
        Cli::warning("decode", tablePath, warning);
    QString target;
    if (!Cli::outputPath(projectPath, &target, &message))
        return failure("decode", projectPath, message);
    const TerminationHold hold;
    if (!CAnalyzeBinFileToConfigure::writeProject(project, target, &message) ||
        !Cli::finishOutputs(&message))
        return failure("decode", projectPath, message);
    return 0;
}
