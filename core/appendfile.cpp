#include "appendfile.h"

#include "filekind.h"
#include "platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

int g_lockWaitMs = 10000;

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("AppendFile", "无法写入%1：%2").arg(path, reason);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return QCoreApplication::translate("AppendFile", "无法读取%1：%2").arg(path, reason);
}

QString held(const QString &path, int waitMs)
{
    if (waitMs <= 0)
        return QCoreApplication::translate("AppendFile", "%1被另一个程序锁住").arg(path);
    return QCoreApplication::translate("AppendFile", "%1被另一个程序锁住，%2秒后仍未放开")
        .arg(path)
        .arg((waitMs + 999) / 1000);
}

} // namespace

struct AppendFile::Handle : Platform::LockedFile
{
};

AppendFile::AppendFile(const QString &path) : m_path(path) {}

AppendFile::~AppendFile() = default;

int AppendFile::lockWaitMs()
{
    return g_lockWaitMs;
}

void AppendFile::setLockWaitMs(int ms)
{
    g_lockWaitMs = qMax(0, ms);
}

bool AppendFile::open(QString *error)
{
    bool busy = false;
    return openWaiting(g_lockWaitMs, error, &busy);
}

bool AppendFile::tryOpen(QString *error, bool *busy)
{
    return openWaiting(0, error, busy);
}

bool AppendFile::openWaiting(int waitMs, QString *error, bool *busy)
{
    *busy = false;
    m_handle.reset();
    // A device is never opened: opening a serial port alone changes its lines.
    const QString why = FileKind::whyNotWritable(m_path);
    if (!why.isEmpty())
        return fail(error, why);
    const QFileInfo info(m_path);
    if (!info.isSymLink() && !info.absoluteDir().exists())
        return fail(error,
                    cannotWrite(m_path, QCoreApplication::translate("AppendFile", "文件夹%1不存在")
                                            .arg(info.absolutePath())));
    auto handle = std::make_unique<Handle>();
    QString reason;
    switch (handle->open(m_path, waitMs, &reason)) {
    case Platform::LockedFile::Opened:
        break;
    case Platform::LockedFile::Busy:
        *busy = true;
        return fail(error, held(m_path, waitMs));
    case Platform::LockedFile::NotAFile: {
        const QString kind = FileKind::whyNotWritable(m_path);
        return fail(error,
                    !kind.isEmpty()
                        ? kind
                        : QCoreApplication::translate("FileKind", "%1 不是文件").arg(m_path));
    }
    case Platform::LockedFile::LockFailed:
        return fail(
            error, QCoreApplication::translate("AppendFile", "无法锁定%1：%2").arg(m_path, reason));
    case Platform::LockedFile::Failed:
        return fail(error, cannotWrite(m_path, reason));
    }
    m_handle = std::move(handle);
    return true;
}

qint64 AppendFile::size() const
{
    return m_handle ? m_handle->size() : -1;
}

bool AppendFile::read(qint64 offset, int length, QByteArray *bytes, QString *error) const
{
    bytes->clear();
    if (!m_handle)
        return fail(error, cannotRead(m_path, QStringLiteral("not open")));
    QString reason;
    return m_handle->readAt(offset, length, bytes, &reason) ||
           fail(error, cannotRead(m_path, reason));
}

bool AppendFile::append(const QByteArray &bytes, QString *error)
{
    if (!m_handle)
        return fail(error, cannotWrite(m_path, QStringLiteral("not open")));
    if (size() < 0)
        return fail(error, cannotWrite(m_path, QStringLiteral("no length")));
    QString reason;
    return m_handle->appendSynced(bytes, &reason) || fail(error, cannotWrite(m_path, reason));
}
