// check: what keeps a project's table from being written, cell by cell.

#include "commandline.h"
#include "commands.h"
#include "filenames.h"

#include "filecheck.h"
#include "projectcheck.h"
#include "projecttexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace {

constexpr int ExitClean = 0;
constexpr int ExitErrors = 1;
constexpr int ExitTrouble = 2;

const char kCheckHelp[] =
    "Usage: mirel-cli check PROJECT.cpro [--json] [--lang en|zh]\n"
    "\n"
    "Lists what stands between a project and its configuration table, one line\n"
    "each: every value the table cannot hold (an error), with its table, row and\n"
    "column where a table window shows it, then what is worth knowing but blocks\n"
    "nothing (a warning): rows sharing terminals, values that opening the file\n"
    "dropped or replaced.\n"
    "  FILE: TABLE row N COLUMN: MESSAGE   (a warning's message starts 'warning: ')\n"
    "Exit status: 0 without errors, 1 with errors, 2 when the file cannot be read.\n"
    "\n"
    "Options:\n"
    "  --json              a JSON array of objects with the keys severity (error or\n"
    "                      warning), table, row, column (null where none), value\n"
    "                      and message\n"
    "  --lang en|zh        the language of the texts (default zh)\n"
    "  -h, --help          show this help\n";

// What a film's or socket's problem belongs to: "film" of an SPI port, "socket"
// of a serial port's wireless module.
QString unitOf(const ProjectProblem &problem)
{
    return problem.table >= CPinDescriptions::DlgSPI1 ? QStringLiteral("film")
                                                      : QStringLiteral("socket");
}

// The cell of a problem: "DI row 2 X起始端子", "SPI1 film 2 IP地址", "SPI1", or
// nothing.
QString placeOf(const ProjectProblem &problem)
{
    QStringList parts;
    const QString table = ProjectTexts::tableName(problem.table);
    if (!table.isEmpty())
        parts << table;
    if (!table.isEmpty() && problem.unit > 0)
        return (parts << unitOf(problem) + QLatin1Char(' ') + QString::number(problem.unit)
                      << problem.columnTitle)
            .join(QLatin1Char(' '));
    if (!table.isEmpty() && problem.row > 0)
        parts << QStringLiteral("row %1").arg(problem.row);
    if (!table.isEmpty() && problem.row > 0 && problem.column >= 0 &&
        !problem.columnTitle.isEmpty())
        parts << problem.columnTitle;
    return parts.join(QLatin1Char(' '));
}

QString lineOf(const QString &file, const ProjectProblem &problem)
{
    QString line = file + QStringLiteral(": ");
    const QString place = placeOf(problem);
    if (!place.isEmpty())
        line += place + QStringLiteral(": ");
    if (problem.severity == ProjectProblem::Warning)
        line += QStringLiteral("warning: ");
    return line + problem.message + QLatin1Char('\n');
}

QJsonObject jsonOf(const ProjectProblem &problem)
{
    const QString table = ProjectTexts::tableName(problem.table);
    const bool hasUnit = !table.isEmpty() && problem.unit > 0;
    const bool hasRow = !table.isEmpty() && problem.row > 0 && !hasUnit;
    const bool hasColumn =
        (hasRow || hasUnit) && problem.column >= 0 && !problem.columnTitle.isEmpty();
    QJsonObject entry{{"severity", problem.severity == ProjectProblem::Error
                                       ? QStringLiteral("error")
                                       : QStringLiteral("warning")},
                      {"table", table.isEmpty() ? QJsonValue() : QJsonValue(table)},
                      {"row", hasRow ? QJsonValue(problem.row) : QJsonValue()},
                      {"column", hasColumn ? QJsonValue(problem.columnTitle) : QJsonValue()},
                      {"value", problem.value},
                      {"message", problem.message}};
    // A field of a film's network settings or of a socket: its number.
    if (hasUnit)
        entry.insert(unitOf(problem), problem.unit);
    return entry;
}

} // namespace

int runCheck(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption json(QStringLiteral("json"), QString());
    parser.addOptions({help, json});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("check", message);
    if (parser.isSet(help)) {
        std::fputs(kCheckHelp, stdout);
        return ExitClean;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return Cli::usageError("check", QStringLiteral("expected one project file"));
    const QString &file = positional.first();

    ProjectData project;
    QVector<ProjectProblem> dropped;
    if (!FileCheck::readCurrent(Cli::inputPath(file), &project, &dropped, &message))
        return Cli::failure("check", file, message, ExitTrouble);
    const QVector<ProjectProblem> problems = ProjectCheck::problems(project) + dropped;
    if (parser.isSet(json)) {
        QJsonArray list;
        for (const ProjectProblem &problem : problems)
            list.append(jsonOf(problem));
        Cli::print(QString::fromUtf8(QJsonDocument(list).toJson()));
    } else {
        for (const ProjectProblem &problem : problems)
            Cli::print(lineOf(file, problem));
    }
    return ProjectCheck::hasError(problems) ? ExitErrors : ExitClean;
}
