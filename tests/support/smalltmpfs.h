#pragma once

#include <QString>
#include <QTemporaryDir>

// A tmpfs of a few kilobytes mounted on a private folder, to fill a disk on
// purpose. Mounting needs root; when it is not possible, isMounted() is false
// and why() says so. Unmounted and removed when destroyed.
class SmallTmpfs
{
public:
    explicit SmallTmpfs(int kilobytes);
    ~SmallTmpfs();
    SmallTmpfs(const SmallTmpfs &) = delete;
    SmallTmpfs &operator=(const SmallTmpfs &) = delete;

    bool isMounted() const { return m_mounted; }
    QString why() const { return m_why; }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
