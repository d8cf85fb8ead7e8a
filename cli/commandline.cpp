#include "commandline.h"

#include "filekind.h"
#include "filenames.h"

#include <cstdio>

namespace Cli {

int failure(const char *command, const QString &path, QString message, int status)
{
    message = shown(message).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString file = shown(path);
    if (!file.isEmpty() && !message.contains(file))
        message = file + QStringLiteral(": ") + message;
    std::fprintf(stderr, "mirel-cli %s: %s\n", command, message.toUtf8().constData());
    return status;
}

void warning(const char *command, const QString &file, const QString &note)
{
    failure(command, file, note);
}

int usageError(const char *command, const QString &message)
{
    return failure(command, QString(), message + QStringLiteral(" (try --help)"), 2);
}

bool parse(QCommandLineParser &parser, const QStringList &args, QString *message)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(QStringList{QStringLiteral("mirel-cli")} + args)) {
        *message = parser.errorText();
        return false;
    }
    return true;
}

QString outputOverInput(const QString &output, const QString &input)
{
    if (!FileKind::sameFile(inputPath(output), inputPath(input)))
        return QString();
    return QStringLiteral("the output %1 is the same file as the input %2: it would be replaced")
        .arg(output, input);
}

void print(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

} // namespace Cli
