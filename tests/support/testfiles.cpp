#include "testfiles.h"

#include <QCoreApplication>
#include <QFile>

bool TestFiles::write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray TestFiles::read(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString TestFiles::inBinDir(const QString &name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}
