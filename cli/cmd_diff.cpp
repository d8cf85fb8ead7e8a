// The comparison of configurations: diff, and upload --compare.

#include "commandline.h"
#include "commands.h"
#include "filenames.h"

#include "chipfacts.h"
#include "configanalyzer.h"
#include "configtable.h"
#include "filecheck.h"
#include "filekind.h"
#include "projectdiff.h"
#include "projectfile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr int ExitSame = 0;
constexpr int ExitDiffer = 1;
constexpr int ExitTrouble = 2;

const char kDiffHelp[] =
    "Usage: mirel-cli diff A B [--chip MODEL] [--lang en|zh]\n"
    "\n"
    "Compares what two configurations write to the controller. A and B are each a\n"
    "project (.cpro) or a configuration table (file form or transfer form). Prints\n"
    "one line per difference from A to B: pins whose function changed, then table\n"
    "cells with their option texts. Two projects that write the same table are equal.\n"
    "Exit status: 0 when equal, 1 when they differ, 2 on an error.\n"
    "\n"
    "Options:\n"
    "  --chip MODEL        the chip of a table (STM32F103RE or STM32F407ZG); without\n"
    "                      it a table takes the chip of the project it is compared with\n"
    "  --lang en|zh        the language of the texts (default zh)\n"
    "  -h, --help          show this help\n";

// One side of a comparison: a table (transfer form) or a project.
struct Side
{
    QString path;
    bool isTable = false;
    QByteArray table;
    ProjectData project;
    QVector<ProjectProblem> dropped; // what opening the project changed
};

bool readSide(const QString &path, Side *side, QString *error)
{
    side->path = path;
    *error = FileKind::whyNotReadable(path);
    if (!error->isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    if (ConfigTable::toTransferForm(file.readAll(), &side->table)) {
        side->isTable = true;
        return true;
    }
    if (FileCheck::readCurrent(path, &side->project, &side->dropped, error))
        return true;
    *error = QStringLiteral("neither a configuration table nor a project: %1").arg(*error);
    return false;
}

// What the controller holds after the side is written to it.
bool heldForm(const Side &side, const QString &chip, ProjectData *held, QString *error)
{
    if (side.isTable)
        return CAnalyzeBinFileToConfigure::decode(side.table, chip, held, error);
    return ProjectDiff::controllerForm(side.project, held, error);
}

int printDifferences(const QVector<ProjectDifference> &differences)
{
    for (const ProjectDifference &difference : differences)
        Cli::print(difference.line() + QLatin1Char('\n'));
    return differences.isEmpty() ? ExitSame : ExitDiffer;
}

} // namespace

int runDiff(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption chipOption(QStringLiteral("chip"), QString(), QStringLiteral("MODEL"));
    parser.addOptions({help, chipOption});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("diff", message);
    if (parser.isSet(help)) {
        std::fputs(kDiffHelp, stdout);
        return ExitSame;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return Cli::usageError("diff", QStringLiteral("expected two files to compare"));
    const QString chipGiven = parser.value(chipOption);
    if (parser.isSet(chipOption) && !ChipFacts::isKnown(chipGiven))
        return Cli::usageError("diff", QStringLiteral("unknown chip model \"%1\" (%2)")
                                           .arg(chipGiven, ChipFacts::models().join(" or ")));

    Side sides[2];
    for (int i = 0; i < 2; ++i) {
        if (!readSide(Cli::inputPath(positional.at(i)), &sides[i], &message))
            return Cli::failure("diff", positional.at(i), message, ExitTrouble);
        for (const ProjectProblem &warning : qAsConst(sides[i].dropped))
            Cli::warning("diff", positional.at(i), warning.message);
    }
    ProjectData held[2];
    for (int i = 0; i < 2; ++i) {
        const Side &other = sides[1 - i];
        const QString chip = !chipGiven.isEmpty() || !sides[i].isTable ? chipGiven
                             : other.isTable                           ? QString()
                                                                       : other.project.currentChip;
        if (sides[i].isTable && chip.isEmpty())
            return Cli::usageError(
                "diff",
                QStringLiteral("%1 is a table: give its chip (--chip MODEL)").arg(sides[i].path));
        if (!heldForm(sides[i], chip, &held[i], &message))
            return Cli::failure("diff", sides[i].path, message, ExitTrouble);
    }
    return printDifferences(ProjectDiff::compare(held[0], held[1], CDlgDescription()));
}

int compareWithProject(const QByteArray &table, const QString &projectPath)
{
    ProjectData project;
    QString message;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(Cli::inputPath(projectPath), &project, &dropped, &message))
        return Cli::failure("upload", projectPath, message, ExitTrouble);
    for (const ProjectProblem &warning : qAsConst(dropped))
        Cli::warning("upload", projectPath, warning.message);
    using Comparison = ProjectDiff::ControllerComparison;
    const Comparison comparison = ProjectDiff::withController(project, table, CDlgDescription());
    switch (comparison.outcome) {
    case Comparison::ProjectRefused:
        return Cli::failure("upload", projectPath, comparison.message, ExitTrouble);
    case Comparison::Unreadable:
        return Cli::failure(
            "upload", QString(),
            QStringLiteral("the table read back cannot be decoded: %1").arg(comparison.message),
            ExitTrouble);
    case Comparison::NoTable:
        Cli::print(comparison.message + QLatin1Char('\n'));
        return ExitDiffer;
    case Comparison::Equal:
    case Comparison::Differs:
    case Comparison::OtherChip:
        break;
    }
    const int count = int(comparison.differences.size());
    Cli::print(ProjectDiff::verdict(QFileInfo(projectPath).fileName(), count) + QLatin1Char('\n'));
    return printDifferences(comparison.differences);
}
