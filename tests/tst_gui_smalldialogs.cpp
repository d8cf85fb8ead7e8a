#include "aboutpindle.h"
#include "dialognewpro.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestSmallDialogs : public QObject
{
    Q_OBJECT
private slots:
    void newProjectOffersRamOnlyForTheF407();
    void aboutBoxShowsNameVersionAndLogo();
};

void TestSmallDialogs::newProjectOffersRamOnlyForTheF407()
{
    DialogNewPro dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("新建"));
    auto *chips = dialog.findChild<QComboBox *>("comboBoxChips");
    auto *ram = dialog.findChild<QCheckBox *>("checkBoxSelectRAM");
    auto *ramLabel = dialog.findChild<QLabel *>("labelSelectRAM");
    QVERIFY(chips && ram && ramLabel);
    QCOMPARE(chips->count(), 2);
    QCOMPARE(chips->itemText(0), QStringLiteral("STM32F103RE"));
    QCOMPARE(chips->itemText(1), QStringLiteral("STM32F407ZG"));
    QVERIFY(!ram->isEnabled());
    QVERIFY(!ramLabel->isEnabled());

    chips->setCurrentIndex(1);
    QVERIFY(ram->isEnabled());
    ram->setChecked(true);
    QVERIFY(dialog.isSelectRAM);

    QSignalSpy spy(&dialog, &DialogNewPro::NewProject);
    dialog.show();
    dialog.findChild<QPushButton *>("pushButton")->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("STM32F407ZG"));
    QCOMPARE(spy.at(0).at(1).toBool(), true);
    QVERIFY(!dialog.isVisible());

    // Switching back to the F103 unchecks the box: no external RAM.
    chips->setCurrentIndex(0);
    QVERIFY(!ram->isChecked());
    QVERIFY(!dialog.isSelectRAM);
    dialog.findChild<QPushButton *>("pushButton")->click();
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("STM32F103RE"));
    QCOMPARE(spy.at(1).at(1).toBool(), false);

    // Cancel emits nothing.
    dialog.show();
    dialog.findChild<QPushButton *>("pushButton_2")->click();
    QCOMPARE(spy.count(), 2);
    QVERIFY(!dialog.isVisible());
}

void TestSmallDialogs::aboutBoxShowsNameVersionAndLogo()
{
    CAboutPindle box;
    QCOMPARE(box.windowTitle(), QStringLiteral("关于Mirel配置软件"));
    QCOMPARE(box.findChild<QLabel *>("label")->text(), QStringLiteral("Mirel 1.0.0"));
    QCOMPARE(box.findChild<QLabel *>("labelCreatTime")->text(),
             QStringLiteral("Mirel创建于2019年4月29日"));
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QPixmap logo = box.findChild<QLabel *>("labelLogo")->pixmap();
#else
    const QPixmap logo = box.findChild<QLabel *>("labelLogo")->pixmap(Qt::ReturnByValue);
#endif
    QVERIFY(!logo.isNull());
    box.show();
    box.findChild<QPushButton *>("pushButtonClose")->click();
    QVERIFY(!box.isVisible());
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_gui_smalldialogs.moc"
