#include "chipfacts.h"
#include "interactivevview.h"
#include "packagedrawing.h"
#include "pinitem.h"
#include "pinscene.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

CPinItem *pin(const CPinScene &scene, const QString &name)
{
    const int index = scene.indexOfPin(name);
    return index >= 0 ? scene.pinItems().at(index) : nullptr;
}

void setPin(CPinScene &scene, const QString &name, const QString &text)
{
    scene.setPinFunction(scene.indexOfPin(name), text);
}

// Triggers the menu entry with the given text after preparing the pin's menu.
bool choose(CPinScene &scene, const QString &pinName, const QString &entry)
{
    scene.prepareMenu(pin(scene, pinName));
    for (QAction *action : scene.pinMenu()->actions()) {
        if (action->text() == entry && action->isEnabled()) {
            action->trigger();
            return true;
        }
    }
    return false;
}

void sendSceneMouse(CPinScene &scene, QEvent::Type type, const QPointF &scenePos,
                    Qt::MouseButton button)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(scenePos);
    event.setScreenPos(QPoint(100, 100));
    event.setButton(button);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : button);
    QApplication::sendEvent(&scene, &event);
}

void sendViewMouse(CInteractivevView &view, QEvent::Type type, const QPoint &pos,
                   Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

// Zoom factors travel as float, so products are compared to float precision.
bool near(qreal a, qreal b)
{
    return qAbs(a - b) <= 1e-6 * qAbs(b);
}

QPointF viewCentre(const CInteractivevView &view)
{
    return view.mapToScene(view.viewport()->rect().center());
}

} // namespace

class TestGuiPinScene : public QObject
{
    Q_OBJECT
private slots:
    void f103PackageGeometry();
    void f407PackageGeometry();
    void coloursOfPowerFixedAndBusPins();
    void menuIsPreparedAndAppliedThroughActions();
    void clearPinFreesPinsAndTellsTheTables();
    void theMenuFromTheKeyboard();
    void mouseTracksHoverAndOpensTheMenu();
    void chipSelectsArePlacedFromTheTables();
    void viewZoomStopsAtItsLimits();
    void theDrawingOpensReadable_data();
    void theDrawingOpensReadable();
    void viewRotatesAndPans();
    void paintingFillsTheThirdNextToTheBody();
};

void TestGuiPinScene::f103PackageGeometry()
{
    CPinScene scene(F103, false);
    QCOMPARE(scene.chipModel(), F103);
    QCOMPARE(scene.items().size(), 65);
    QCOMPARE(scene.pinItems().size(), 64);
    QCOMPARE(scene.bodyItem()->rect(), QRectF(-256, -256, 512, 512));
    QCOMPARE(scene.bodyItem()->kind(), int(CPinItem::BodyKind));
    QCOMPARE(scene.bodyItem()->pinName(), F103);
    QCOMPARE(scene.bodyItem()->boundingRect(), QRectF(-257, -257, 514, 514));

    const QVector<CPinItem *> pins = scene.pinItems();
    for (int i = 0; i < pins.size(); ++i) {
        QCOMPARE(pins.at(i)->pinNumber(), i + 1);
        QCOMPARE(pins.at(i)->side(), i / 16);
        QCOMPARE(pins.at(i)->kind(), int(CPinItem::PinKind));
    }
    // The corner pins of each side.
    QCOMPARE(pins.at(0)->pinName(), QString("VBAT"));
    QCOMPARE(pins.at(0)->rect(), QRectF(-456, -256, 200, 27));
    QCOMPARE(pins.at(16)->pinName(), QString("PA3"));
    QCOMPARE(pins.at(16)->rect(), QRectF(-256, 256, 27, 200));
    QCOMPARE(pins.at(32)->pinName(), QString("PB12"));
    QCOMPARE(pins.at(32)->rect(), QRectF(256, 224, 200, 27));
    QCOMPARE(pins.at(48)->pinName(), QString("PA14"));
    QCOMPARE(pins.at(48)->rect(), QRectF(224, -456, 27, 200));
    for (CPinItem *item : pins) {
        switch (item->side()) {
        case CPinItem::LeftSide:
            QVERIFY(item->rect().top() >= pins.at(0)->rect().top());
            break;
        case CPinItem::BottomSide:
            QVERIFY(item->rect().left() >= pins.at(16)->rect().left());
            break;
        case CPinItem::RightSide:
            QVERIFY(item->rect().top() <= pins.at(32)->rect().top());
            break;
        default:
            QVERIFY(item->rect().left() <= pins.at(48)->rect().left());
        }
        // Pins touch the body but never overlap it or each other.
        QVERIFY(!item->rect().intersects(scene.bodyItem()->rect()));
        for (CPinItem *other : pins)
            QVERIFY(other == item || !item->rect().intersects(other->rect()));
    }
    QCOMPARE(pins.at(8)->label(), QString("9:PC1"));
}

void TestGuiPinScene::f407PackageGeometry()
{
    CPinScene scene(F407, true);
    QCOMPARE(scene.items().size(), 145);
    const QVector<CPinItem *> pins = scene.pinItems();
    QCOMPARE(pins.size(), 144);
    QCOMPARE(scene.bodyItem()->rect(), QRectF(-576, -576, 1152, 1152));
    QCOMPARE(pins.at(0)->rect(), QRectF(-826, -576, 250, 27));
    QCOMPARE(pins.at(36)->pinName(), QString("PA3"));
    QCOMPARE(pins.at(36)->rect(), QRectF(-576, 576, 27, 250));
    QCOMPARE(pins.at(72)->pinName(), QString("PB12"));
    QCOMPARE(pins.at(72)->rect(), QRectF(576, 544, 250, 27));
    QCOMPARE(pins.at(108)->pinName(), QString("PA14"));
    QCOMPARE(pins.at(108)->rect(), QRectF(544, -826, 27, 250));
    QCOMPARE(pins.at(143)->side(), int(CPinItem::TopSide));
    QCOMPARE(pins.at(143)->rect(), QRectF(-576, -826, 27, 250));
    QCOMPARE(CPinItem::sideOf(36, 144), int(CPinItem::LeftSide));
    QCOMPARE(CPinItem::sideOf(37, 144), int(CPinItem::BottomSide));
}

void TestGuiPinScene::coloursOfPowerFixedAndBusPins()
{
    CPinScene f103(F103, false);
    QCOMPARE(f103.bodyItem()->colour(), QColor(200, 200, 200));
    for (int number : {1, 12, 13, 18, 19, 31, 32, 47, 48, 63, 64})
        QCOMPARE(f103.pinItems().at(number - 1)->colour(), QColor(255, 254, 145));
    const QStringList fixed{"OCS_IN", "OCS_OUT", "NRST", "BOOT1", "BOOT0"};
    const int fixedNumbers[] = {5, 6, 7, 28, 60};
    for (int i = 0; i < 5; ++i) {
        CPinItem *item = f103.pinItems().at(fixedNumbers[i] - 1);
        QCOMPARE(item->functionText(), fixed.at(i));
        QCOMPARE(item->colour(), QColor(199, 215, 88));
    }
    QCOMPARE(pin(f103, "PA0")->colour(), QColor(Qt::white));
    QCOMPARE(pin(f103, "PA0")->functionText(), QString(" "));

    CPinScene plain(F407, false);
    QCOMPARE(pin(plain, "PD14")->functionText(), QString(" "));
    QCOMPARE(pin(plain, "PD14")->colour(), QColor(Qt::white));
    QCOMPARE(pin(plain, "PH0")->functionText(), QString("OCS_IN"));
    QCOMPARE(plain.pinItems().at(137)->functionText(), QString("BOOT0"));
    QCOMPARE(pin(plain, "PDR_ON")->colour(), QColor(255, 254, 145));
    QCOMPARE(pin(plain, "VCAP_1")->colour(), QColor(255, 254, 145));

    CPinScene ram(F407, true);
    QVERIFY(ram.useExternalRam());
    QCOMPARE(pin(ram, "PD14")->functionText(), QString("FSMC_D0"));
    QCOMPARE(pin(ram, "PD14")->colour(), QColor(199, 215, 88));
    QCOMPARE(pin(ram, "PE1")->functionText(), QString("FSMC_NBL1"));
    QCOMPARE(pin(ram, "PD4")->functionText(), QString("FSMC_NOE"));
    int bus = 0;
    for (CPinItem *item : ram.pinItems())
        bus += item->functionText().startsWith("FSMC_") ? 1 : 0;
    QCOMPARE(bus, 40);
    QVERIFY(ram.catalogue().functionsOf(F407, "PE7").isEmpty());
}

void TestGuiPinScene::menuIsPreparedAndAppliedThroughActions()
{
    CPinScene scene(F103, false);
    QSignalSpy changed(&scene, &CPinScene::updataButtonActive);

    scene.prepareMenu(pin(scene, "PA9"));
    QCOMPARE(scene.currentItem(), pin(scene, "PA9"));
    QCOMPARE(scene.pinMenu()->font().pixelSize(), 14);
    const QList<QAction *> actions = scene.pinMenu()->actions();
    QCOMPARE(actions.size(), 11);
    QCOMPARE(actions.at(0)->text(), QString("PA9"));
    QVERIFY(!actions.at(0)->isEnabled());
    QCOMPARE(actions.at(1), scene.menuActions().at(0));
    QCOMPARE(actions.at(1)->text(), QString("USART1_TX"));
    QCOMPARE(actions.at(10)->text(), QString("ClearPin"));
    QCOMPARE(scene.currentFunctions(), scene.catalogue().functionsOf(F103, "PA9"));

    actions.at(1)->trigger(); // USART1_TX
    QCOMPARE(pin(scene, "PA9")->functionText(), QString("USART1_TX"));
    QCOMPARE(pin(scene, "PA9")->colour(), QColor(0, 188, 13));
    QCOMPARE(pin(scene, "PA10")->functionText(), QString("USART1_RX"));
    QCOMPARE(pin(scene, "PA10")->colour(), QColor(0, 188, 13));
    QCOMPARE(changed.count(), 2);

    // A power pin shows its name and what it is, both greyed; a board chip
    // select is all locked.
    scene.prepareMenu(pin(scene, "VDD1"));
    QCOMPARE(scene.pinMenu()->actions().size(), 2);
    QCOMPARE(scene.pinMenu()->actions().at(1)->text(),
             scene.pinBoard()->roleOf(scene.indexOfPin("VDD1")));
    QCOMPARE(scene.pinMenu()->actions().at(1)->toolTip(), QString("电源引脚"));
    for (QAction *action : scene.pinMenu()->actions())
        QVERIFY(!action->isEnabled());
    setPin(scene, "PB0", "DI_CS2");
    scene.prepareMenu(pin(scene, "PB0"));
    for (QAction *action : scene.pinMenu()->actions())
        QVERIFY(!action->isEnabled());

    // A function written straight into an item (as when a project is
    // opened) counts for the next menu.
    setPin(scene, "PC0", "SYS_RunLed");
    scene.prepareMenu(pin(scene, "PC1"));
    QVERIFY(!choose(scene, "PC1", "SYS_RunLed"));
    QVERIFY(choose(scene, "PC1", "SYS_INIT"));
    QCOMPARE(pin(scene, "PC1")->functionText(), QString("SYS_INIT"));

    // An action fired with no pin prepared does nothing.
    scene.prepareMenu(nullptr);
    changed.clear();
    scene.SlotAction0();
    QCOMPARE(changed.count(), 0);
}

// The menu opens on its first entry that can be chosen; a letter moves to
// the next entry that begins with it; the pin's function is checked; a
// greyed entry says why beside it.
void TestGuiPinScene::theMenuFromTheKeyboard()
{
    CPinScene scene(F103, false);
    QVERIFY(choose(scene, "PA9", "USART1_TX"));
    scene.prepareMenu(pin(scene, "PA9"));
    QMenu *menu = scene.pinMenu();
    scene.popupMenu(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction *first = nullptr;
    for (QAction *action : menu->actions())
        if (!first && action->isEnabled())
            first = action;
    QVERIFY(first);
    QCOMPARE(menu->activeAction(), first);
    for (QAction *action : menu->actions())
        QCOMPARE(action->isChecked(), action->text() == "USART1_TX");
    // Letters, again and again through the entries that begin with them
    // (the pin offers two beginning with N and one with C).
    QStringList reached;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(menu, Qt::Key_N);
        reached << menu->activeAction()->text();
    }
    QVERIFY2(reached.at(0).startsWith('N') && reached.at(1).startsWith('N'),
             qPrintable(reached.join(',')));
    QVERIFY(reached.at(0) != reached.at(1));
    QCOMPARE(reached.at(2), reached.at(0));
    QTest::keyClick(menu, Qt::Key_C);
    QVERIFY(menu->activeAction()->text().startsWith('C'));
    menu->close();

    // Every entry of a board's chip select is greyed, each with its reason.
    setPin(scene, "PB0", "DI_CS2");
    scene.prepareMenu(pin(scene, "PB0"));
    int said = 0;
    for (QAction *action : scene.menuActions()) {
        if (!menu->actions().contains(action) || action->toolTip().isEmpty())
            continue;
        QVERIFY(!action->isEnabled());
        QVERIFY2(action->text().endsWith('\t' + action->toolTip()), qPrintable(action->text()));
        ++said;
    }
    QVERIFY(said > 0);
}

void TestGuiPinScene::clearPinFreesPinsAndTellsTheTables()
{
    CPinScene scene(F103, false);
    QVERIFY(choose(scene, "PA9", "USART1_TX"));
    QSignalSpy changed(&scene, &CPinScene::updataButtonActive);
    QVERIFY(choose(scene, "PA9", "ClearPin"));
    QCOMPARE(pin(scene, "PA9")->functionText(), QString(" "));
    QCOMPARE(pin(scene, "PA9")->colour(), QColor(Qt::white));
    QCOMPARE(pin(scene, "PA10")->functionText(), QString(" "));
    QVERIFY(changed.count() >= 1);

    // ClearPin on a free pin still reports a change.
    changed.clear();
    QVERIFY(choose(scene, "PC5", "ClearPin"));
    QCOMPARE(changed.count(), 1);

    // Clearing an SPI pin frees the group and the SPI's chip selects.
    QVERIFY(choose(scene, "PA5", "SPI1_SCK"));
    QCOMPARE(pin(scene, "PA7")->functionText(), QString("SPI1_MOSI"));
    setPin(scene, "PB0", "SPI1_CS1");
    QSignalSpy spi1(&scene, &CPinScene::UpdataSPI1SliceSelectPinsSignal);
    QSignalSpy spi2(&scene, &CPinScene::UpdataSPI2SliceSelectPinsSignal);
    QStringList seenOnSignal;
    connect(&scene, &CPinScene::UpdataSPI1SliceSelectPinsSignal, this,
            [&] { seenOnSignal << pin(scene, "PA7")->functionText(); });
    QVERIFY(choose(scene, "PA5", "ClearPin"));
    QCOMPARE(spi1.count(), 1);
    QCOMPARE(spi2.count(), 0);
    QCOMPARE(seenOnSignal, QStringList({" "})); // the drawing is final when told
    for (const QString name : {"PA5", "PA6", "PA7", "PB0"}) {
        QCOMPARE(pin(scene, name)->functionText(), QString(" "));
        QCOMPARE(pin(scene, name)->colour(), QColor(Qt::white));
    }

    // Clearing a DI pin frees the DI boards' chip selects.
    QVERIFY(choose(scene, "PA4", "Normal_DI"));
    setPin(scene, "PC0", "DI_CS1");
    setPin(scene, "PC1", "DO_CS1");
    QSignalSpy di(&scene, &CPinScene::UpdataDISliceSelectPinsSignal);
    QSignalSpy dox(&scene, &CPinScene::UpdataDOSliceSelectPinsSignal);
    QVERIFY(choose(scene, "PA4", "ClearPin"));
    QCOMPARE(di.count(), 1);
    QCOMPARE(dox.count(), 0);
    QCOMPARE(pin(scene, "PC0")->functionText(), QString(" "));
    QCOMPARE(pin(scene, "PC1")->functionText(), QString("DO_CS1"));
}

void TestGuiPinScene::mouseTracksHoverAndOpensTheMenu()
{
    CPinScene scene(F103, false);
    QCOMPARE(scene.hoverFunction(), QString(" "));
    setPin(scene, "PA9", "Normal_DO");
    const QPointF onPa9 = pin(scene, "PA9")->rect().center();
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseMove, onPa9, Qt::NoButton);
    QCOMPARE(scene.hoverFunction(), QString("Normal_DO"));
    QCOMPARE(scene.hoverPinName(), QString("PA9"));

    // Moving over the body keeps the last pin.
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseMove, QPointF(0, 0), Qt::NoButton);
    QCOMPARE(scene.hoverPinName(), QString("PA9"));

    sendSceneMouse(scene, QEvent::GraphicsSceneMousePress, onPa9, Qt::RightButton);
    QCOMPARE(scene.currentItem(), pin(scene, "PA9"));
    QVERIFY(scene.pinMenu()->isVisible());
    QCOMPARE(scene.pinMenu()->actions().at(0)->text(), QString("PA9"));
    scene.pinMenu()->close();
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseRelease, onPa9, Qt::RightButton);

    // A right press on the body or a left press on a pin opens nothing.
    sendSceneMouse(scene, QEvent::GraphicsSceneMousePress, QPointF(0, 0), Qt::RightButton);
    QVERIFY(!scene.pinMenu()->isVisible());
    QCOMPARE(scene.currentItem(), pin(scene, "PA9"));
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseRelease, QPointF(0, 0), Qt::RightButton);
    const QPointF onPa10 = pin(scene, "PA10")->rect().center();
    sendSceneMouse(scene, QEvent::GraphicsSceneMousePress, onPa10, Qt::LeftButton);
    sendSceneMouse(scene, QEvent::GraphicsSceneMouseRelease, onPa10, Qt::LeftButton);
    QVERIFY(!scene.pinMenu()->isVisible());
    QCOMPARE(scene.currentItem(), pin(scene, "PA9"));
}

// The drawing shows the chip selects the tables place on the board.
void TestGuiPinScene::chipSelectsArePlacedFromTheTables()
{
    CPinScene scene(F103, false);
    QSignalSpy changed(&scene, &CPinScene::updataButtonActive);
    const QStringList pins{"PC0", "PC1", "PC2", "PC3", "PB0", "PB1", "PC4", "PC5"};
    scene.pinBoard()->placeBoardChipSelects(CPinDescriptions::DlgDI, pins, {}, {"PA0", "PA1"});
    QStringList texts;
    for (const QString &name : pins) {
        texts << pin(scene, name)->functionText();
        QCOMPARE(pin(scene, name)->colour(), QColor(0, 188, 13));
    }
    QCOMPARE(texts, QStringList({"DI_CS4", "DI_CS3", "DI_CS2", "DI_CS1", "DI_CS4", "DI_CS3",
                                 "DI_CS2", "DI_CS1"}));
    QCOMPARE(changed.count(), 8);

    // Two names short of the second board: nothing moves.
    changed.clear();
    scene.pinBoard()->placeBoardChipSelects(CPinDescriptions::DlgDI, pins.mid(0, 6), pins,
                                            {"PA0", "PA1"});
    QCOMPARE(changed.count(), 0);
    QCOMPARE(pin(scene, "PC5")->functionText(), QString("DI_CS1"));

    scene.pinBoard()->placeSpiChipSelects(CPinDescriptions::DlgSPI2, {"PA8", "0", "0"},
                                          {"0", "0", "0"});
    QCOMPARE(pin(scene, "PA8")->functionText(), QString("SPI2_CS1"));
    scene.pinBoard()->placeSpiChipSelects(CPinDescriptions::DlgSPI2, {}, {"PA8"});
    QCOMPARE(pin(scene, "PA8")->functionText(), QString("SPI2_CS1"));
    scene.pinBoard()->placeSpiChipSelects(CPinDescriptions::DlgSPI2, {"0", "PA11"}, {"PA8"});
    QCOMPARE(pin(scene, "PA8")->functionText(), QString(" "));
    QCOMPARE(pin(scene, "PA8")->colour(), QColor(Qt::white));
    QCOMPARE(pin(scene, "PA11")->functionText(), QString("SPI2_CS2"));

    // Out-of-range writes are ignored.
    changed.clear();
    scene.setPinFunction(-1, "X");
    scene.setPinFunction(64, "X");
    QCOMPARE(changed.count(), 0);
}

void TestGuiPinScene::theDrawingOpensReadable_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QSize>("view");
    QTest::newRow("F407 at 1366x768") << "STM32F407ZG" << QSize(960, 520);
    QTest::newRow("F103 at 1366x768") << F103 << QSize(960, 520);
    QTest::newRow("F407 on a large screen") << "STM32F407ZG" << QSize(3000, 2000);
}

// A drawing opens with its labels at least 8 px high, whole where it fits
// so, else from its top left corner; 适合窗口 shows it whole.
void TestGuiPinScene::theDrawingOpensReadable()
{
    QFETCH(QString, chip);
    QFETCH(QSize, view);
    CPinScene scene(chip, false);
    CInteractivevView shown;
    shown.setScene(&scene);
    shown.resize(view);
    shown.show();
    QVERIFY(QTest::qWaitForWindowExposed(&shown));
    const QRectF drawing = scene.itemsBoundingRect();
    const qreal least = 8.0 / PackageDrawing::labelPixelSize;
    const auto scaleOf = [&shown] { return shown.transform().m11(); };
    shown.resetAndFit(drawing);
    const qreal whole = scaleOf();
    QVERIFY(shown.mapFromScene(drawing).boundingRect().width() <= shown.viewport()->width());
    shown.fitReadable(drawing, least);
    QVERIFY2(scaleOf() >= least - 1e-6, qPrintable(QString::number(scaleOf())));
    QVERIFY(qAbs(scaleOf() - std::max(whole, least)) < 1e-3);
    const QPoint corner = shown.mapFromScene(drawing.topLeft() + QPointF(1, 1));
    QVERIFY(shown.viewport()->rect().adjusted(-2, -2, 2, 2).contains(corner));
    // The fit kept when the view changes size stays readable.
    shown.resize(view / 2);
    QVERIFY(scaleOf() >= least - 1e-6);
}

void TestGuiPinScene::viewZoomStopsAtItsLimits()
{
    CPinScene scene(F103, false);
    CInteractivevView view;
    view.setScene(&scene);
    view.resize(800, 600);
    QCOMPARE(view.scale(), 1.0);
    QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(view.sceneRect(), QRectF(-1073741824.0, -1073741824.0, 2147483647.0, 2147483647.0));

    view.zoomIn();
    QVERIFY(near(view.scale(), 1.1));
    QVERIFY(near(view.transform().m11(), 1.1));

    for (int i = 0; i < 200; ++i)
        view.zoomIn();
    const qreal top = view.scale();
    const QTransform atTop = view.transform();
    QVERIFY(atTop.m11() <= 100);
    QVERIFY(atTop.m11() * 1.1 > 100);
    view.zoomIn();
    QCOMPARE(view.scale(), top);
    QCOMPARE(view.transform(), atTop);

    for (int i = 0; i < 400; ++i)
        view.zoomOut();
    const qreal bottom = view.scale();
    QVERIFY(view.transform().m11() >= 0.07);
    QVERIFY(view.transform().m11() * 0.9 < 0.07);
    view.zoomOut();
    QCOMPARE(view.scale(), bottom);
    QVERIFY(near(view.scale(), view.transform().m11()));

    // The wheel zooms one step per event, in either direction.
    view.zoom(10);
    const qreal before = view.scale();
    QWheelEvent up(QPointF(10, 10), view.mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, 120),
                   Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &up);
    QVERIFY(near(view.scale(), before * 1.1));
    QWheelEvent down(QPointF(10, 10), view.mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, -120),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &down);
    QVERIFY(near(view.scale(), before * 1.1 * 0.9));
    QTest::keyClick(&view, Qt::Key_Plus);
    QVERIFY(near(view.scale(), before * 1.1 * 0.9 * 1.1));
}

void TestGuiPinScene::viewRotatesAndPans()
{
    CPinScene scene(F103, false);
    CInteractivevView view;
    view.setScene(&scene);
    view.resize(800, 600);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    const QTransform start = view.transform();
    QTest::keyClick(&view, Qt::Key_Space);
    QVERIFY(qAbs(view.transform().m12()) > 0.05); // turned
    QTest::keyClick(&view, Qt::Key_Enter);
    QVERIFY(qFuzzyCompare(view.transform().m11(), start.m11()));
    QVERIFY(qAbs(view.transform().m12()) < 1e-9);
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClick(&view, Qt::Key_Space);
    QVERIFY(qAbs(view.transform().m21()) < 1e-9);

    // Arrow keys move the drawing by a tenth of the view.
    QPointF centre = viewCentre(view);
    const qreal tenth = view.viewport()->width() / 10.0 / view.scale();
    QTest::keyClick(&view, Qt::Key_Right);
    QVERIFY(qAbs(viewCentre(view).x() - (centre.x() - tenth)) <= 1);
    QVERIFY(qAbs(viewCentre(view).y() - centre.y()) <= 1);

    // A right-button drag does not pan; a left-button drag does.
    const QPoint a(400, 300), b(460, 340);
    centre = viewCentre(view);
    sendViewMouse(view, QEvent::MouseButtonPress, a, Qt::RightButton, Qt::RightButton);
    QVERIFY(!view.isPanning());
    sendViewMouse(view, QEvent::MouseMove, b, Qt::NoButton, Qt::RightButton);
    sendViewMouse(view, QEvent::MouseButtonRelease, b, Qt::RightButton, Qt::NoButton);
    scene.pinMenu()->close();
    QCOMPARE(viewCentre(view), centre);

    sendViewMouse(view, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(view.isPanning());
    sendViewMouse(view, QEvent::MouseMove, b, Qt::NoButton, Qt::LeftButton);
    sendViewMouse(view, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    QVERIFY(!view.isPanning());
    const QPointF moved = viewCentre(view) - centre;
    QVERIFY(qAbs(moved.x() + 60) <= 1); // the drawing follows the mouse
    QVERIFY(qAbs(moved.y() + 40) <= 1);

    // Replacing a scene is framed by these two calls in the main window.
    centre = viewCentre(view);
    view.translate(-500, -150);
    view.translate(500, 150);
    QVERIFY((viewCentre(view) - centre).manhattanLength() <= 2);
}

void TestGuiPinScene::paintingFillsTheThirdNextToTheBody()
{
    QVERIFY(!QPixmap(":/ico/Logo5.png").isNull());
    QVERIFY(!QPixmap(":/ico/background.jpg").isNull());

    CPinScene scene(F103, false);
    QVERIFY(choose(scene, "PA9", "USART1_TX"));
    QVERIFY(choose(scene, "PA3", "USART2_RX"));
    const QRectF area(-460, -460, 920, 920);
    QImage image(920, 920, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        scene.render(&painter, QRectF(0, 0, 920, 920), area);
    }
    auto at = [&](const QPointF &scenePos) {
        const QPointF p = scenePos - area.topLeft();
        return image.pixelColor(int(p.x()), int(p.y()));
    };
    // PA9 sits on the right side: its left third is green, the rest is not.
    const QRectF pa9 = pin(scene, "PA9")->rect();
    QCOMPARE(at(pa9.topLeft() + QPointF(3, 3)), QColor(0, 188, 13));
    QVERIFY(at(pa9.topRight() + QPointF(-3, 3)) != QColor(0, 188, 13));
    // PA3 sits on the bottom: the top third is green.
    const QRectF pa3 = pin(scene, "PA3")->rect();
    QCOMPARE(at(pa3.topLeft() + QPointF(3, 3)), QColor(0, 188, 13));
    QVERIFY(at(pa3.bottomLeft() + QPointF(3, -3)) != QColor(0, 188, 13));
    // A power pin's label third on the left side lies at its right end.
    const QRectF vbat = scene.pinItems().at(0)->rect();
    QCOMPARE(at(vbat.topRight() + QPointF(-3, 3)), QColor(255, 254, 145));
    // The body border inside the picture margin is the body grey.
    QCOMPARE(at(QPointF(-252, -252)), QColor(200, 200, 200));

    // A whole F407 package paints too.
    CPinScene big(F407, true);
    QImage whole(600, 600, QImage::Format_ARGB32);
    whole.fill(Qt::white);
    QPainter painter(&whole);
    big.render(&painter);
    painter.end();
    QVERIFY(whole.pixelColor(300, 300) != QColor(Qt::white));
}

QTEST_MAIN(TestGuiPinScene)
#include "tst_gui_pinscene.moc"
