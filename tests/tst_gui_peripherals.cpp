#include "flatbutton.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinitem.h"
#include "pinscene.h"
#include "projectfile.h"
#include "tablefixtures.h"

#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using D = CPinDescriptions;

// The peripheral buttons beside the drawing and what the pins of an opened
// project offer.
class TestPeripherals : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void buttonsFollowTheChip();
    void everyButtonShowsOnALowScreen();
    void aStoredBusSignalOpensAndStays();
    void flatButtonsMarkTheKeyboardFocus_data();
    void flatButtonsMarkTheKeyboardFocus();

private:
    QString settingsPath() const
    {
        return QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt";
    }
};

void TestPeripherals::init()
{
    QFile::remove(settingsPath());
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Yes; });
}

void TestPeripherals::cleanup()
{
    QFile::remove(settingsPath());
    Messages::setHandler(nullptr);
}

void TestPeripherals::buttonsFollowTheChip()
{
    MainWindow w;
    QPushButton *usart6 = w.peripheralButton(D::DlgUSART6);
    QVERIFY(usart6->isEnabled());
    for (const QString chip : {"STM32F103RE", "STM32F407ZG", "STM32F103RE"}) {
        w.SlotNewProject(chip, false);
        const bool has = chip == "STM32F407ZG";
        QCOMPARE(usart6->isEnabled(), has);
        QCOMPARE(usart6->toolTip(), has ? QString() : chip + " 没有 USART6");
        QVERIFY(w.peripheralButton(D::DlgUART5)->isEnabled());
        QVERIFY(w.peripheralButton(D::DlgUART5)->toolTip().isEmpty());
    }
}

void TestPeripherals::everyButtonShowsOnALowScreen()
{
    MainWindow w;
    w.resize(1366, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto *panel = w.findChild<QScrollArea *>("peripheralScroll");
    QVERIFY(panel);
    // Only buttons that open a table.
    const QList<QPushButton *> buttons = panel->widget()->findChildren<QPushButton *>();
    QCOMPARE(buttons.size(), D::DlgSYS - D::DlgDI + 1);
    for (int type = D::DlgDI; type <= D::DlgSYS; ++type) {
        QPushButton *button = w.peripheralButton(D::DlgType(type));
        QVERIFY(buttons.contains(button));
        const QRect shown(button->mapTo(panel->viewport(), QPoint()), button->size());
        QVERIFY2(button->isVisible() && panel->viewport()->rect().contains(shown),
                 qPrintable(button->text()));
    }
}

void TestPeripherals::aStoredBusSignalOpensAndStays()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bus.cpro");
    const QString chip = QStringLiteral("STM32F103RE");
    QVERIFY(ProjectFile::write(TableFixtures::projectWith(chip, {{"PB7", "FSMC_NADV"}}), path));

    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    const int pb7 = w.projectData().pinNames.indexOf("PB7");
    CPinItem *item = w.scene()->pinItems().at(pb7);
    QCOMPARE(item->functionText(), QStringLiteral("FSMC_NADV"));
    w.scene()->prepareMenu(item);
    QVERIFY(w.scene()->currentFunctions().contains("TIM4_CH2"));
    QVERIFY(!w.scene()->currentFunctions().contains("FSMC_NADV"));

    w.scene()->setPinFunction(w.projectData().pinNames.indexOf("PA0"), "Normal_DI");
    w.on_actionSave_triggered();
    ProjectData saved;
    QVERIFY(ProjectFile::read(path, &saved));
    QCOMPARE(saved.pinFunctions.at(pb7), QStringLiteral("FSMC_NADV"));
}

void TestPeripherals::flatButtonsMarkTheKeyboardFocus_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("in use") << QColor(85, 169, 255);
    QTest::newRow("not in use") << QColor(225, 225, 225);
}

void TestPeripherals::flatButtonsMarkTheKeyboardFocus()
{
    QFETCH(QColor, colour);
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *flat = new QPushButton(QStringLiteral("DI"));
    auto *other = new QPushButton(QStringLiteral("DO"));
    layout->addWidget(flat);
    layout->addWidget(other);
    FlatButton::paint(flat, colour);
    FlatButton::paint(flat, colour); // painted again, as the pins change
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    const QImage without = flat->grab().toImage();
    flat->setFocus();
    QTRY_VERIFY(flat->hasFocus());
    QVERIFY(flat->grab().toImage() != without);
    QVERIFY(flat->isFlat());
}

QTEST_MAIN(TestPeripherals)
#include "tst_gui_peripherals.moc"
