#include "aboutpindle.h"
#include "dialogconfigure.h"
#include "dialognewpro.h"
#include "messages.h"
#include "tabledraft.h"
#include "tablefixtures.h"
#include "wirelessmoduleconfigure.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QtTest>

class TestSmallDialogs : public QObject
{
    Q_OBJECT
private slots:
    void newProjectOffersRamOnlyForTheF407();
    void aboutBoxShowsNameVersionAndLogo();
    void enterPressesTheDrawnDefault_data();
    void enterPressesTheDrawnDefault();
};

void TestSmallDialogs::newProjectOffersRamOnlyForTheF407()
{
    DialogNewPro dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("新建"));
    auto *chips = dialog.findChild<QComboBox *>("comboBoxChips");
    auto *ram = dialog.findChild<QCheckBox *>("checkBoxSelectRAM");
    QVERIFY(chips && ram);
    QCOMPARE(chips->count(), 2);
    QCOMPARE(chips->itemText(0), QStringLiteral("STM32F103RE"));
    QCOMPARE(chips->itemText(1), QStringLiteral("STM32F407ZG"));
    QVERIFY(!ram->isEnabled());

    // A click on the words, past the box, ticks it; a second clears it.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    chips->setCurrentIndex(1);
    QVERIFY(ram->isEnabled());
    const int box = ram->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                    ram->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    const QPoint onText(box + ram->fontMetrics().horizontalAdvance(ram->text()) / 2,
                        ram->height() / 2);
    QVERIFY(!ram->text().isEmpty() && ram->rect().contains(onText));
    QTest::mouseClick(ram, Qt::LeftButton, {}, onText);
    QVERIFY(ram->isChecked());
    QTest::mouseClick(ram, Qt::LeftButton, {}, onText);
    QVERIFY(!ram->isChecked());
    QTest::mouseClick(ram, Qt::LeftButton, {}, onText);
    QVERIFY(dialog.isSelectRAM);

    QSignalSpy spy(&dialog, &DialogNewPro::NewProject);
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

void TestSmallDialogs::enterPressesTheDrawnDefault_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("keyboardOn"); // a button's name; empty: no button
    QTest::newRow("table") << "table"
                           << "";
    QTest::newRow("table, keyboard on 取消") << "table"
                                             << "pushButtonCancel";
    QTest::newRow("sockets") << "sockets"
                             << "";
    QTest::newRow("sockets, keyboard on 取消") << "sockets"
                                               << "pushButtonCancel";
    QTest::newRow("new project") << "new"
                                 << "";
}

// In every dialog the button drawn as the default is the one Enter presses,
// wherever the keyboard is.
void TestSmallDialogs::enterPressesTheDrawnDefault()
{
    QFETCH(QString, dialog);
    QFETCH(QString, keyboardOn);
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Cancel; });
    TableDraft draft;
    std::unique_ptr<QDialog> shown;
    if (dialog == "table") {
        auto *table = new DialogConfigure(&draft);
        table->launch(CPinDescriptions::DlgDI,
                      TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}}));
        shown.reset(table);
    } else if (dialog == "sockets") {
        shown = std::make_unique<DialogWirelessModuleConfigure>();
    } else {
        shown = std::make_unique<DialogNewPro>();
    }
    shown->show();
    QVERIFY(QTest::qWaitForWindowExposed(shown.get()));
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown.get()));
    QWidget *target = shown.get();
    if (!keyboardOn.isEmpty()) {
        target = shown->findChild<QPushButton *>(keyboardOn, Qt::FindDirectChildrenOnly);
        if (!target)
            target = shown->findChild<QPushButton *>(keyboardOn);
        QVERIFY(target);
        target->setFocus(Qt::TabFocusReason);
    }
    QPushButton *drawn = nullptr;
    for (QPushButton *button : shown->findChildren<QPushButton *>())
        if (button->isDefault() && button->window() == shown.get())
            drawn = button;
    QVERIFY(drawn);
    QSignalSpy pressed(drawn, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target,
                    Qt::Key_Return);
    QCOMPARE(pressed.count(), 1);
    Messages::setHandler(nullptr);
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_gui_smalldialogs.moc"
