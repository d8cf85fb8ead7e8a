#include "inifile.h"

#include "atomicfile.h"
#include "platform.h"
#include "settingshelpers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QVariantMap>
#include <memory>

namespace IniFile {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Every key of the settings with its value.
QVariantMap contentOf(QSettings *settings)
{
    QVariantMap content;
    const QStringList keys = settings->allKeys();
    for (const QString &key : keys)
        content.insert(key, settings->value(key));
    return content;
}

// The scratch folders bear the number of the process that makes them: one
// left behind by a process that was killed can be told from one in use.
const QLatin1String kScratchPrefix("mirel-ini-");

// Removes the scratch folders of writers that no longer run: folders of this
// user named like this writer's, whose process is gone, and in them only the
// files this writer makes (a folder holding anything else stays).
void removeStaleScratch()
{
    const QDir temp(QDir::tempPath());
    const QStringList names =
        temp.entryList({kScratchPrefix + QLatin1Char('*')},
                       QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &name : names) {
        const QStringList parts = name.mid(kScratchPrefix.size()).split(QLatin1Char('-'));
        bool ok = false;
        const qint64 pid = parts.first().toLongLong(&ok);
        if (!ok || parts.size() != 2 || pid <= 0 || pid == QCoreApplication::applicationPid())
            continue;
        const QString path = temp.filePath(name);
        if (!Platform::processGone(pid) || !Platform::isOwnFolder(path))
            continue;
        QDir folder(path);
        const QStringList files = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QString &file : files)
            if (file.startsWith(QLatin1String("draft.ini")) ||
                file.startsWith(QLatin1String("check.ini")))
                folder.remove(file);
        temp.rmdir(name);
    }
}

// The INI bytes of start (none: an empty file) with the edits applied. The
// settings write a copy in a private temporary folder, which is removed on
// return whatever the outcome; one that a killed writer left is removed by
// the next.
bool render(const QString &filePath, const QByteArray *start,
            const std::function<void(QSettings *)> &edit, QByteArray *bytes, QString *error)
{
    removeStaleScratch();
    QTemporaryDir scratch(QDir::tempPath() + QLatin1Char('/') + kScratchPrefix +
                          QString::number(QCoreApplication::applicationPid()) +
                          QLatin1String("-XXXXXX"));
    if (!scratch.isValid())
        return fail(error, QCoreApplication::translate("IniFile", "无法写入%1：没有临时文件夹：%2")
                               .arg(filePath, scratch.errorString()));
    const QString draft = scratch.filePath(QStringLiteral("draft.ini"));
    QString why;
    if (start && !AtomicFile::write(draft, *start, &why))
        return fail(error,
                    QCoreApplication::translate("IniFile", "无法写入%1：%2").arg(filePath, why));

    QVariantMap written;
    {
        std::unique_ptr<QSettings> settings(openSettings(draft));
        if (settings->status() == QSettings::NoError) {
            edit(settings.get());
            settings->sync();
        }
        switch (settings->status()) {
        case QSettings::NoError:
            break;
        case QSettings::FormatError:
            return fail(
                error,
                QCoreApplication::translate("IniFile", "%1 无法作为INI文件读取").arg(filePath));
        default:
            return fail(error,
                        QCoreApplication::translate("IniFile", "无法写入%1：临时副本%2无法写入")
                            .arg(filePath, draft));
        }
        written = contentOf(settings.get());
    }

    // QSettings writes through QSaveFile as well and, like it, reports no
    // error when a full disk cuts the copy short: read the copy back and
    // compare it with what was written. The copy is checked under a new name
    // because QSettings caches the files it has read and would answer from
    // its cache for the old one.
    const QString check = scratch.filePath(QStringLiteral("check.ini"));
    QByteArray content;
    if (QFileInfo::exists(draft)) { // absent when nothing at all was written
        if (!QFile::rename(draft, check))
            return fail(error,
                        QCoreApplication::translate("IniFile", "无法写入%1：临时副本%2无法改名")
                            .arg(filePath, draft));
        QFile file(check);
        if (!file.open(QIODevice::ReadOnly))
            return fail(error,
                        QCoreApplication::translate("IniFile", "无法写入%1：临时副本无法读取：%2")
                            .arg(filePath, file.errorString()));
        content = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(error,
                        QCoreApplication::translate("IniFile", "无法写入%1：临时副本无法读取：%2")
                            .arg(filePath, file.errorString()));
    }
    const std::unique_ptr<QSettings> reread(openSettings(check));
    if (reread->status() != QSettings::NoError || contentOf(reread.get()) != written)
        return fail(error, QCoreApplication::translate(
                               "IniFile", "无法写入%1：%2中的临时副本不完整（磁盘满了吗？）")
                               .arg(filePath, QFileInfo(scratch.path()).absolutePath()));
    *bytes = content;
    return true;
}

} // namespace

bool update(const QString &filePath, const std::function<void(QSettings *)> &edit, QString *error)
{
    if (!AtomicFile::isWritableTarget(filePath, error))
        return false;
    QByteArray old;
    const bool exists = QFileInfo::exists(filePath);
    if (exists) {
        QFile file(filePath);
        if (!file.open(QIODevice::ReadOnly))
            return fail(error, QCoreApplication::translate("IniFile", "无法读取%1：%2")
                                   .arg(filePath, file.errorString()));
        old = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return fail(error, QCoreApplication::translate("IniFile", "无法读取%1：%2")
                                   .arg(filePath, file.errorString()));
    }
    QByteArray bytes;
    return render(filePath, exists ? &old : nullptr, edit, &bytes, error) &&
           AtomicFile::write(filePath, bytes, error);
}

bool replace(const QString &filePath, const std::function<void(QSettings *)> &edit, QString *error)
{
    QByteArray bytes;
    return AtomicFile::isWritableTarget(filePath, error) &&
           render(filePath, nullptr, edit, &bytes, error) &&
           AtomicFile::write(filePath, bytes, error);
}

} // namespace IniFile
