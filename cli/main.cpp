#include "appfolders.h"
#include "commands.h"
#include "filenames.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <QTranslator>
#include <cstdio>
#include <memory>

namespace {

const char kUsage[] =
    "Usage: mirel-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  table PROJECT.cpro -o TABLE.bin [--raw]   write a project's configuration table\n"
    "  decode TABLE.bin --chip MODEL -o PROJECT.cpro\n"
    "                                            turn a table back into a project\n"
    "  check PROJECT.cpro [--json]               what keeps a project's table from being written\n"
    "  pins PROJECT.cpro [--csv | --json]        list every pin with its function and table\n"
    "  report PROJECT.cpro -o REPORT.pdf|.html   write the project's review document\n"
    "  diff A B                                  what differs between two projects or tables\n"
    "  export-tables PROJECT.cpro -o DIR         write the project's tables as CSV files\n"
    "  import-tables PROJECT.cpro DIR -o NEW.cpro\n"
    "                                            read CSV files of its tables into a project\n"
    "  download --port DEVICE PROJECT.cpro       send a project's table to the controller\n"
    "  download --port A --port B ... PROJECT.cpro [--record FILE.csv]\n"
    "                                            send it to several controllers at once\n"
    "  upload --port DEVICE --chip MODEL -o PROJECT.cpro [--compare PROJECT.cpro]\n"
    "                                            read the controller's table into a project\n"
    "  ports                                     list serial ports\n"
    "  station --project PROJECT.cpro --match PATTERN [--no-verify] [--record FILE.csv]\n"
    "                                            program every controller that appears\n"
    "\n"
    "check, pins, report, diff, the table files and upload --compare speak Chinese, or English "
    "with --lang en.\n"
    "Run 'mirel-cli COMMAND --help' for the options of a command.\n";

// Takes "--lang CODE" or "--lang=CODE" out of the arguments. False with a
// message for a code other than en or zh.
bool takeLanguage(QStringList *args, QString *code, QString *error)
{
    for (int i = 0; i < args->size(); ++i) {
        const QString arg = args->at(i);
        if (arg == QLatin1String("--lang") && i + 1 < args->size()) {
            *code = args->at(i + 1);
            args->erase(args->begin() + i, args->begin() + i + 2);
        } else if (arg.startsWith(QLatin1String("--lang="))) {
            *code = arg.mid(7);
            args->removeAt(i);
        } else if (arg == QLatin1String("--lang")) {
            *error = QStringLiteral("--lang needs en or zh");
            return false;
        } else {
            continue;
        }
        break;
    }
    if (!code->isEmpty() && *code != QLatin1String("en") && *code != QLatin1String("zh")) {
        *error = QStringLiteral("--lang: unknown language \"%1\" (en or zh)").arg(*code);
        return false;
    }
    return true;
}

// The program's own translator, where the window finds it: the texts are
// written in Chinese.
bool installLanguage(const QString &code, QTranslator *translator)
{
    if (code != QLatin1String("en"))
        return true;
    const QString file = AppFolders::translationsDirectory() + "/lang_English.qm";
    return translator->load(file) && QCoreApplication::installTranslator(translator);
}

// Whether the command is report, the one that draws: the first argument
// that is not --lang or its language.
bool drawing(const QByteArrayList &given)
{
    for (int i = 1; i < given.size(); ++i) {
        if (given.at(i) == "--lang")
            ++i;
        else if (!given.at(i).startsWith("--lang="))
            return given.at(i) == "report";
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArrayList given(argv, argv + argc); // the application takes some of its own
    // Only a command that draws starts a window system, one without a screen.
    std::unique_ptr<QCoreApplication> app;
    if (drawing(given)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QStringList args = Cli::arguments(given).mid(1);
    const QString unreachable = Cli::unreachableName();
    if (!unreachable.isEmpty()) {
        std::fprintf(stderr,
                     "mirel-cli: %s: a name that is not UTF-8 cannot be reached in this build\n",
                     unreachable.toUtf8().constData());
        return 2;
    }
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    QString language, error;
    if (!takeLanguage(&args, &language, &error)) {
        std::fprintf(stderr, "mirel-cli: %s (try --help)\n", qPrintable(error));
        return 2;
    }
    QTranslator translator;
    if (!installLanguage(language, &translator)) {
        std::fputs("mirel-cli: the English texts (lang_English.qm) are missing\n", stderr);
        return 2;
    }
    if (args.isEmpty()) { // only --lang
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString command = args.takeFirst();
    if (command == "table")
        return runTable(args);
    if (command == "decode")
        return runDecode(args);
    if (command == "check")
        return runCheck(args);
    if (command == "pins")
        return runPins(args);
    if (command == "report")
        return runReport(args);
    if (command == "export-tables")
        return runExportTables(args);
    if (command == "import-tables")
        return runImportTables(args);
    if (command == "diff")
        return runDiff(args);
    if (command == "download")
        return runDownload(args);
    if (command == "upload")
        return runUpload(args);
    if (command == "ports")
        return runPorts(args);
    if (command == "station")
        return runStation(args);
    std::fprintf(stderr, "mirel-cli: unknown command '%s' (try --help)\n", qPrintable(command));
    return 2;
}
