#include "filenames.h"

#include "cliplatform.h"
#include "filekind.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QVector>
#include <algorithm>

namespace Cli {

namespace {

// An output made under a stand-in name in its folder.
struct Output
{
    int folder;
    QByteArray standIn;
    QByteArray name;
    QString argument;
};

QHash<QString, QByteArray> &bytesOf() // shown form -> bytes
{
    static QHash<QString, QByteArray> names;
    return names;
}

QHash<QString, QString> &argumentOf() // path made here -> what it stands for
{
    static QHash<QString, QString> paths;
    return paths;
}

QVector<Output> &outputs()
{
    static QVector<Output> made;
    return made;
}

// The length of the UTF-8 sequence at bytes[at], 0 when none starts there.
int sequenceAt(const QByteArray &bytes, int at)
{
    const auto byte = [&](int i) { return i < bytes.size() ? quint8(bytes.at(i)) : 0; };
    const quint8 lead = byte(at);
    if (lead < 0x80)
        return 1;
    const int length = lead >= 0xC2 && lead <= 0xDF   ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    for (int i = 1; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    const quint8 second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0; // too long a form, a surrogate or beyond U+10FFFF
    return length;
}

// The bytes as text: UTF-8 where they are, \xNN for every other byte.
QString shownBytes(const QByteArray &bytes)
{
    QString text;
    for (int at = 0; at < bytes.size();) {
        const int length = sequenceAt(bytes, at);
        if (length > 0) {
            text += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
        } else {
            text += QLatin1String("\\x") +
                    QString::number(quint8(bytes.at(at)), 16).toUpper().rightJustified(2, '0');
            ++at;
        }
    }
    return text;
}

} // namespace

QStringList arguments(const QByteArrayList &argv)
{
    QStringList list;
    for (const QByteArray &bytes : argv) {
        const QString text = QFile::decodeName(bytes);
        if (QFile::encodeName(text) == bytes) {
            list << text;
            continue;
        }
        list << shownBytes(bytes);
        bytesOf().insert(list.last(), bytes);
        // "--output=NAME": the name alone too.
        const int equals = bytes.indexOf('=');
        if (bytes.startsWith('-') && equals > 0)
            bytesOf().insert(shownBytes(bytes.mid(equals + 1)), bytes.mid(equals + 1));
    }
    return list;
}

QString unreachableName()
{
    if (bytesOf().isEmpty() || CliPlatform::reachesNamesByBytes())
        return QString();
    QStringList names = bytesOf().keys();
    names.sort();
    return names.first();
}

QString inputPath(const QString &argument)
{
    static QHash<QString, QString> reached;
    const auto bytes = bytesOf().constFind(argument);
    if (bytes == bytesOf().constEnd() || !CliPlatform::reachesNamesByBytes())
        return argument;
    if (!reached.contains(argument)) {
        const QString path = CliPlatform::reach(*bytes);
        if (path.isEmpty())
            return argument;
        reached.insert(argument, path);
        argumentOf().insert(path, argument);
    }
    return reached.value(argument);
}

// The bytes of an argument that is not UTF-8, for writing to: null for an
// ordinary name; false with a message where such names cannot be reached.
static bool writtenBytes(const QString &argument, const QByteArray **bytes, QString *error)
{
    const auto found = bytesOf().constFind(argument);
    *bytes = found == bytesOf().constEnd() ? nullptr : &found.value();
    if (!*bytes || CliPlatform::reachesNamesByBytes())
        return true;
    *error = QStringLiteral("%1: a name that is not UTF-8 cannot be written here").arg(argument);
    return false;
}

bool outputPath(const QString &argument, QString *path, QString *error)
{
    *path = argument;
    const QByteArray *bytes = nullptr;
    if (!writtenBytes(argument, &bytes, error))
        return false;
    if (!bytes)
        return true;
    bool isFile = false;
    const QByteArray found = CliPlatform::resolved(*bytes, &isFile);
    if (!found.isEmpty() && !isFile) { // the writer refuses it and says what it is
        *path = inputPath(argument);
        return true;
    }
    // Through a link, the file it points to is written.
    const QByteArray target = found.isEmpty() ? *bytes : found;
    const int slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(qMax(slash, 1));
    QString reason;
    const int fd = CliPlatform::openFolder(folder, &reason);
    if (fd < 0) {
        *error = QStringLiteral("cannot write %1: %2").arg(argument, reason);
        return false;
    }
    // Its suffix kept: the writer may go by it.
    const QByteArray standIn = ".mirel-" + QByteArray::number(QCoreApplication::applicationPid()) +
                               '-' + QByteArray::number(outputs().size()) + ".part." +
                               QFileInfo(argument).suffix().toUtf8();
    const QString folderPath = CliPlatform::descriptorPath(fd);
    *path = folderPath + QLatin1Char('/') + QString::fromLatin1(standIn);
    argumentOf().insert(*path, argument);
    argumentOf().insert(folderPath, shownBytes(folder));
    outputs() << Output{fd, standIn, target.mid(slash + 1), argument};
    return true;
}

bool appendPath(const QString &argument, QString *path, QString *error)
{
    *path = argument;
    const QByteArray *bytes = nullptr;
    if (!writtenBytes(argument, &bytes, error))
        return false;
    if (!bytes)
        return true;
    QString reason;
    if (!CliPlatform::makeFile(*bytes, &reason)) {
        *error = QCoreApplication::translate("AppendFile", "无法写入%1：%2").arg(argument, reason);
        return false;
    }
    *path = inputPath(argument);
    return true;
}

QString whyNotOutput(const QString &argument)
{
    return FileKind::whyNotWritable(inputPath(argument));
}

bool finishOutputs(QString *error)
{
    const QVector<Output> made = outputs();
    outputs().clear();
    for (const Output &output : made) {
        bool written = false;
        QString reason;
        if (!CliPlatform::renameInFolder(output.folder, output.standIn, output.name, &written,
                                         &reason)) {
            *error = QStringLiteral("cannot write %1: %2").arg(output.argument, reason);
            return false;
        }
    }
    return true;
}

QString shown(QString message)
{
    // The longest first: /proc/self/fd/1 is the start of /proc/self/fd/12.
    QStringList paths = argumentOf().keys();
    std::sort(paths.begin(), paths.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (const QString &path : qAsConst(paths))
        message.replace(path, argumentOf().value(path));
    return message;
}

} // namespace Cli
