#include "smalltmpfs.h"

#include "testplatform.h"

#include <QProcess>

SmallTmpfs::SmallTmpfs(int kilobytes)
{
    if (!TestPlatform::isRoot()) {
        m_why = QStringLiteral("mounting a small tmpfs needs root");
        return;
    }
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder: ") + m_dir.errorString();
        return;
    }
    QProcess mount;
    mount.start(QStringLiteral("mount"),
                {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                 QStringLiteral("size=%1k").arg(kilobytes), QStringLiteral("tmpfs"), m_dir.path()});
    const bool ran = mount.waitForFinished(30000) && mount.exitStatus() == QProcess::NormalExit;
    m_mounted = ran && mount.exitCode() == 0;
    if (!m_mounted)
        m_why = QStringLiteral("mount -t tmpfs failed: ") +
                (ran ? QString::fromLocal8Bit(mount.readAllStandardError()).trimmed()
                     : mount.errorString());
}

SmallTmpfs::~SmallTmpfs()
{
    if (m_mounted)
        QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
}
