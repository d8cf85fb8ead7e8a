#include "projectfilesystem.h"

#include <QTemporaryDir>
#include <QtTest>

class TestRemoveDirectory : public QObject
{
    Q_OBJECT
private slots:
    void removesTreeButNeverItsParents();
};

static void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

void TestRemoveDirectory::removesTreeButNeverItsParents()
{
    QVERIFY(!removeDirectoryTree(QString()));

    QTemporaryDir root;
    // The upload folder is the only thing below config/: config/ stays.
    const QString upload = root.filePath("config/uploadConfigureFile");
    QVERIFY(QDir().mkpath(upload + "/nested"));
    touch(upload + "/uploadConfigureFile.cpro");
    touch(upload + "/nested/.hidden");
    QVERIFY(removeDirectoryTree(upload));
    QVERIFY(!QFileInfo::exists(upload));
    QVERIFY(QFileInfo(root.filePath("config")).isDir());

    // Nothing to remove is success.
    QVERIFY(removeDirectoryTree(root.filePath("does/not/exist")));
}

QTEST_GUILESS_MAIN(TestRemoveDirectory)
#include "tst_removedirectory.moc"
