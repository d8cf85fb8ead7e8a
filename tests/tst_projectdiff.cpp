#include "chipfacts.h"
#include "projectdiff.h"
#include "tablefixtures.h"

#include <QtTest>

// What `diff` and `upload --compare` say of two configurations.
class TestProjectDiff : public QObject
{
    Q_OBJECT
private slots:
    void externalRamIsNamedAsItIs_data();
    void externalRamIsNamedAsItIs();
};

void TestProjectDiff::externalRamIsNamedAsItIs_data()
{
    QTest::addColumn<bool>("before");
    QTest::addColumn<bool>("after");
    QTest::addColumn<QStringList>("said"); // the lines about the external RAM
    QTest::newRow("switched on") << false << true << QStringList{"外部RAM: 关 → 开"};
    QTest::newRow("switched off") << true << false << QStringList{"外部RAM: 开 → 关"};
    QTest::newRow("on both") << true << true << QStringList();
    QTest::newRow("off both") << false << false << QStringList();
}

void TestProjectDiff::externalRamIsNamedAsItIs()
{
    QFETCH(bool, before);
    QFETCH(bool, after);
    QFETCH(QStringList, said);
    const auto held = [](bool ram) {
        ProjectData project = ProjectData::fresh(ChipFacts::F407, ram);
        TableFixtures::setFunction(project, "PA0", "Normal_DI");
        ProjectData form;
        QString error;
        if (!ProjectDiff::controllerForm(project, &form, &error))
            qFatal("%s", qPrintable(error));
        return form;
    };
    const QStringList lines =
        ProjectDiff::differences(held(before), held(after), CDlgDescription());
    QCOMPARE(lines.filter(QStringLiteral("外部RAM")), said);
}

QTEST_GUILESS_MAIN(TestProjectDiff)
#include "tst_projectdiff.moc"
