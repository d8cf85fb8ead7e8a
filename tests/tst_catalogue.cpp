#include "dlgdescription.h"
#include "pindescriptions.h"

#include <QtTest>

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void keyListsHaveTheirSizesAndSpelling();
};

void TestCatalogue::keyListsHaveTheirSizesAndSpelling()
{
    CDlgDescription d;
    QCOMPARE(d.usartKeys.size(), 7);
    QCOMPARE(d.socketKeys.size(), 24);
    QCOMPARE(d.spiKeys.size(), 18);
    QCOMPARE(d.networkKeys.size(), 18);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
