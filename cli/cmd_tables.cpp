// A project's tables as CSV files: export-tables and import-tables.

#include "commandline.h"
#include "commands.h"
#include "filenames.h"

#include "atomicfile.h"
#include "csvfile.h"
#include "dlgdescription.h"
#include "filecheck.h"
#include "filekind.h"
#include "projectdiff.h"
#include "projectfile.h"
#include "tablecsv.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

constexpr int ExitDone = 0;
constexpr int ExitRefused = 1;
constexpr int ExitTrouble = 2;

const char kExportHelp[] =
    "Usage: mirel-cli export-tables PROJECT.cpro -o DIR [--force] [--lang en|zh]\n"
    "\n"
    "Writes every table the project uses as a CSV file into DIR, named after the\n"
    "table's section of the project file (DI.csv, USART2.csv, SPI1.csv,\n"
    "SPI1_NETWORK.csv, USART1_WIRELESSMODBULE.csv): the column titles first, then\n"
    "every cell as the table window shows it. UTF-8 with a byte-order mark, CRLF.\n"
    "Exit status: 0 when written, 2 on an error (files of those names are kept\n"
    "unless --force is given).\n"
    "\n"
    "Options:\n"
    "  -o, --output DIR    the folder to write into (made when missing)\n"
    "  --force             replace files of those names\n"
    "  --lang en|zh        the language of titles and options (default zh)\n"
    "  -h, --help          show this help\n";

const char kImportHelp[] =
    "Usage: mirel-cli import-tables PROJECT.cpro DIR -o NEW.cpro [--lang en|zh]\n"
    "\n"
    "Reads the CSV files of DIR named as export-tables names them into the project\n"
    "and writes the result to NEW.cpro; a table without a file stays as it is.\n"
    "Titles and options may be in either language, fields separated by commas or\n"
    "semicolons. Rows of the pin tables are found by their pin, parameters by their\n"
    "title, films and sockets by their name. A value is taken as its table window\n"
    "takes it; prints what changes, and every value refused as FILE:LINE:COLUMN.\n"
    "Exit status: 0 when written, 1 when something was refused (nothing is\n"
    "written), 2 on an error.\n"
    "\n"
    "Options:\n"
    "  -o, --output FILE   the project to write; never PROJECT.cpro itself\n"
    "  --lang en|zh        the language of the lines printed (default zh)\n"
    "  -h, --help          show this help\n";

bool readProject(const char *command, const QString &path, ProjectData *project, int *status)
{
    const QString input = Cli::inputPath(path);
    QString error = FileKind::whyNotReadable(input);
    QVector<ProjectProblem> dropped;
    if (error.isEmpty() && FileCheck::readCurrent(input, project, &dropped, &error))
        return true;
    *status = Cli::failure(command, path, error, ExitTrouble);
    return false;
}

} // namespace

int runExportTables(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("DIR"));
    const QCommandLineOption force(QStringLiteral("force"));
    parser.addOptions({help, output, force});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("export-tables", message);
    if (parser.isSet(help)) {
        std::fputs(kExportHelp, stdout);
        return ExitDone;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return Cli::usageError("export-tables", QStringLiteral("expected one project file"));
    if (parser.value(output).isEmpty())
        return Cli::usageError("export-tables", QStringLiteral("no folder given (-o DIR)"));
    ProjectData project;
    int status = ExitDone;
    if (!readProject("export-tables", positional.first(), &project, &status))
        return status;
    const QDir folder(parser.value(output));
    const QVector<TableCsv::File> files = TableCsv::exportTables(project, CDlgDescription());
    const QStringList present = TableCsv::presentIn(files, folder.path());
    if (!parser.isSet(force) && !present.isEmpty())
        return Cli::failure("export-tables", folder.path(),
                            QStringLiteral("holds %1 already (--force replaces them)")
                                .arg(present.join(QStringLiteral(", "))),
                            ExitTrouble);
    const Cli::TerminationHold hold;
    for (const TableCsv::File &file : files) {
        const QString path = folder.filePath(file.name + ".csv");
        if (!AtomicFile::write(path, CsvFile::write(file.rows), &message))
            return Cli::failure("export-tables", path, message, ExitTrouble);
        Cli::print(path + QLatin1Char('\n'));
    }
    return ExitDone;
}

int runImportTables(const QStringList &args)
{
    QCommandLineParser parser;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption output({QStringLiteral("o"), QStringLiteral("output")}, QString(),
                                    QStringLiteral("FILE"));
    parser.addOptions({help, output});
    QString message;
    if (!Cli::parse(parser, args, &message))
        return Cli::usageError("import-tables", message);
    if (parser.isSet(help)) {
        std::fputs(kImportHelp, stdout);
        return ExitDone;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 2)
        return Cli::usageError("import-tables",
                               QStringLiteral("expected a project file and a folder"));
    if (parser.value(output).isEmpty())
        return Cli::usageError("import-tables",
                               QStringLiteral("no output file given (-o NEW.cpro)"));
    const QString projectPath = positional.at(0);
    const QString outputPath = parser.value(output);
    message = Cli::outputOverInput(outputPath, projectPath);
    if (!message.isEmpty())
        return Cli::usageError("import-tables", message);
    ProjectData project;
    int status = ExitDone;
    if (!readProject("import-tables", projectPath, &project, &status))
        return status;
    const QDir folder(positional.at(1));
    if (!QFileInfo(folder.path()).isDir())
        return Cli::failure("import-tables", folder.path(), QStringLiteral("is no folder"),
                            ExitTrouble);
    QMap<QString, QByteArray> files;
    if (!TableCsv::readFolder(project, folder.path(), &files, &message))
        return Cli::failure("import-tables", folder.path(), message, ExitTrouble);
    if (files.isEmpty())
        return Cli::failure("import-tables", folder.path(),
                            QStringLiteral("holds no table file (DI.csv, USART1.csv, ...)"),
                            ExitTrouble);
    const TableCsv::Import read = TableCsv::importTables(project, files, TableCsv::bothLanguages());
    QString printed;
    for (const QString &line : ProjectDiff::differences(project, read.project, CDlgDescription()))
        printed += line + QLatin1Char('\n');
    for (const TableCsv::Refusal &refusal : read.refused)
        printed += folder.filePath(refusal.text()) + QLatin1Char('\n');
    Cli::print(printed);
    if (!read.refused.isEmpty()) {
        std::fprintf(stderr, "mirel-cli import-tables: %d value(s) refused, nothing written\n",
                     int(read.refused.size()));
        return ExitRefused;
    }
    QString target;
    if (!Cli::outputPath(outputPath, &target, &message))
        return Cli::failure("import-tables", outputPath, message, ExitTrouble);
    const Cli::TerminationHold hold;
    if (!ProjectFile::write(read.project, target, &message) || !Cli::finishOutputs(&message))
        return Cli::failure("import-tables", outputPath, message, ExitTrouble);
    return ExitDone;
}
