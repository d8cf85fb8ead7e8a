#include "aboutpindle.h"
#include "dialogconfigure.h"
#include "dialognewpro.h"
#include "messages.h"
#include "screenplace.h"
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
    void aTableGoesBesideTheButtons_data();
    void aTableGoesBesideTheButtons();
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

void TestSmallDialogs::aTableGoesBesideTheButtons_data()
{
    QTest::addColumn<QRect>("area");   // the screen's available area
    QTest::addColumn<QRect>("panel");  // the peripheral buttons
    QTest::addColumn<QSize>("table");  // the table window, frame included
    QTest::addColumn<int>("width");    // the width it gets
    QTest::addColumn<bool>("besides"); // the buttons stay uncovered
    const QRect small(0, 0, 1024, 600);
    QTest::newRow("DI, 1024x600, Chinese")
        << small << QRect(10, 120, 290, 400) << QSize(946, 420) << 724 << true;
    QTest::newRow("DI, 1024x600, after a switch to English")
        << small << QRect(10, 120, 410, 400) << QSize(946, 420) << 604 << true;
    QTest::newRow("USART, 1024x600")
        << small << QRect(10, 120, 290, 400) << QSize(400, 700) << 400 << true;
    QTest::newRow("DI, 1920x1080 at 150 %")
        << QRect(0, 0, 1280, 690) << QRect(10, 120, 350, 500) << QSize(946, 420) << 920 << true;
    QTest::newRow("no room beside: over the buttons, on the screen")
        << small << QRect(10, 120, 900, 400) << QSize(946, 420) << 320 << false;
}

// A table window opens right of the peripheral buttons, narrower (it
// scrolls) where it would reach past the screen, always on the screen.
void TestSmallDialogs::aTableGoesBesideTheButtons()
{
    QFETCH(QRect, area);
    QFETCH(QRect, panel);
    QFETCH(QSize, table);
    QFETCH(int, width);
    QFETCH(bool, besides);
    const QRect placed = ScreenPlace::besideRect(table, panel, area, 320);
    QCOMPARE(placed.width(), width);
    QVERIFY(area.contains(placed));
    QCOMPARE(!placed.intersects(panel), besides);
    if (besides)
        QCOMPARE(placed.left(), panel.right() + 1);
}

void TestSmallDialogs::enterPressesTheDrawnDefault_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("keyboardOn");   // a button's name; empty: no button
    QTest::addColumn<QString>("drawnDefault"); // the button drawn as the default
    QTest::newRow("table") << "table"
                           << ""
                           << "pushButtonOK";
    QTest::newRow("table, keyboard on 取消") << "table"
                                             << "pushButtonCancel"
                                             << "pushButtonCancel";
    QTest::newRow("sockets") << "sockets"
                             << ""
                             << "pushButtonSure";
    QTest::newRow("sockets, keyboard on 取消") << "sockets"
                                               << "pushButtonCancel"
                                               << "pushButtonCancel";
    QTest::newRow("new project") << "new"
                                 << ""
                                 << "pushButton";
}

// In every dialog the button drawn as the default is the one Enter presses,
// wherever the keyboard is.
void TestSmallDialogs::enterPressesTheDrawnDefault()
{
    QFETCH(QString, dialog);
    QFETCH(QString, keyboardOn);
    QFETCH(QString, drawnDefault);
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
    // Where no button has the keyboard, Enter confirms.
    QCOMPARE(drawn->objectName(), drawnDefault);
    QSignalSpy pressed(drawn, &QPushButton::clicked);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : target,
                    Qt::Key_Return);
    QCOMPARE(pressed.count(), 1);
    Messages::setHandler(nullptr);
}

QTEST_MAIN(TestSmallDialogs)
#include "tst_gui_smalldialogs.moc"
