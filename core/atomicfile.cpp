#include "atomicfile.h"

#include "filekind.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace AtomicFile {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool isWritableTarget(const QString &filePath, QString *error)
{
    // A device or a pipe would be replaced by a plain file. A symbolic link
    // counts as what it points to.
    const QString why = FileKind::whyNotWritable(filePath);
    return why.isEmpty() || fail(error, why);
}

bool write(const QString &filePath, const QByteArray &bytes, QString *error)
{
    if (!isWritableTarget(filePath, error))
        return false;
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return fail(
            error,
            QCoreApplication::translate("AtomicFile", "无法创建文件夹%1").arg(info.absolutePath()));

    // QSaveFile writes into a temporary file beside the target (beside the
    // file a link points to) and renames it over the target on commit().
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(error, QCoreApplication::translate("AtomicFile", "无法写入%1：%2")
                               .arg(filePath, file.errorString()));
    // A small content stays in the write buffer until it is flushed: a full
    // disk shows only there, and commit() flushes without reporting it, then
    // renames the short file over the target. So flush and check first.
    // When the system takes only part of a write (the disk fills up half way)
    // Qt has no reason to give; the next attempt fails with the system's.
    bool whole = true;
    for (qint64 done = 0; whole && done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        whole = written > 0;
        done += written;
    }
    if (whole && !file.flush()) {
        file.flush(); // for the reason
        whole = false;
    }
    if (!whole || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString(); // cancelWriting() replaces it
        file.cancelWriting();                      // the destructor removes the temporary file
        return fail(
            error,
            QCoreApplication::translate("AtomicFile", "无法写入%1：%2").arg(filePath, reason));
    }
    if (!file.commit())
        return fail(error, QCoreApplication::translate("AtomicFile", "无法写入%1：%2")
                               .arg(filePath, file.errorString()));
    return true;
}

} // namespace AtomicFile
