#include "recentprojects.h"
#include "settingshelpers.h"
#include "softwareinitialization.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The recent projects of the file menu, as the start-up settings keep them.
class TestRecentProjects : public QObject
{
    Q_OBJECT
private slots:
    void newestFirstOnceAtMostTen_data();
    void newestFirstOnceAtMostTen();
    void keptBesideTheOtherSettings();
};

void TestRecentProjects::newestFirstOnceAtMostTen_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first") << QStringList{} << "/p/a.cpro" << QStringList{"/p/a.cpro"};
    QTest::newRow("again moves to the front")
        << QStringList{"/p/a.cpro", "/p/b.cpro", "/p/c.cpro"} << "/p/x/../b.cpro"
        << QStringList{"/p/b.cpro", "/p/a.cpro", "/p/c.cpro"};
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QStringLiteral("/p/%1.cpro").arg(i);
    QTest::newRow("the oldest of ten goes")
        << ten << "/p/new.cpro" << (QStringList{"/p/new.cpro"} + ten.mid(0, 9));
    QTest::newRow("relative") << QStringList{} << "a.cpro"
                              << QStringList{QDir::current().absoluteFilePath("a.cpro")};
}

void TestRecentProjects::newestFirstOnceAtMostTen()
{
    QFETCH(QStringList, before);
    QFETCH(QString, opened);
    QFETCH(QStringList, after);
    QCOMPARE(RecentProjects::withFront(before, opened), after);
}

// Paths with the characters an INI file treats specially come back as they
// went in; the language and the remembered project stay.
void TestRecentProjects::keptBesideTheOtherSettings()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(CSoftwareInitialization().settingsFileName);
    {
        std::unique_ptr<QSettings> s(openSettings(file));
        writeValue(s.get(), "LanguageID", "LanguageID", "1033");
        writeValue(s.get(), "RecentProjects", "File7", "/old/stale.cpro");
    }
    const QStringList paths{"/home/工程/a, b;c#d.cpro", "/tmp/x & y\\z.cpro", "/tmp/plain.cpro"};
    QString error;
    QVERIFY2(RecentProjects::save(dir.path(), paths, &error), qPrintable(error));
    QCOMPARE(RecentProjects::load(dir.path()), paths);
    std::unique_ptr<QSettings> s(openSettings(file));
    QCOMPARE(readValue(s.get(), "LanguageID", "LanguageID"), QStringLiteral("1033"));
    QCOMPARE(readValue(s.get(), "RecentProjects", "File1"), paths.first());

    QVERIFY(RecentProjects::save(dir.path(), {}));
    QVERIFY(RecentProjects::load(dir.path()).isEmpty());
    QVERIFY(RecentProjects::load(dir.filePath("missing")).isEmpty());
}

QTEST_GUILESS_MAIN(TestRecentProjects)
#include "tst_recentprojects.moc"
