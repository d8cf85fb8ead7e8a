#include "commands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

const char kUsage[] =
    "Usage: mirel-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  table PROJECT.cpro -o TABLE.bin [--raw]   write a project's configuration table\n"
    "  decode TABLE.bin --chip MODEL -o PROJECT.cpro\n"
    "                                            turn a table back into a project\n"
    "  download --port DEVICE PROJECT.cpro       send a project's table to the controller\n"
    "  upload --port DEVICE --chip MODEL -o PROJECT.cpro\n"
    "                                            read the controller's table into a project\n"
    "  ports                                     list serial ports\n"
    "\n"
    "Run 'mirel-cli COMMAND --help' for the options of a command.\n";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == "--help" || args.first() == "-h") {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const QString command = args.takeFirst();
    if (command == "table")
        return runTable(args);
    if (command == "decode")
        return runDecode(args);
    if (command == "download")
        return runDownload(args);
    if (command == "upload")
        return runUpload(args);
    if (command == "ports")
        return runPorts(args);
    std::fprintf(stderr, "mirel-cli: unknown command '%s' (try --help)\n", qPrintable(command));
    return 2;
}
