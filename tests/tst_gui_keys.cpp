// The window from the keyboard: the menus' Alt letters, a pin's function
// menu opened by Shift+F10 or the menu key, and the user guide on F1.

#include "dialogconfigure.h"
#include "helpwindow.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinitem.h"
#include "pinscene.h"
#include "windowfiles.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFocusFrame>
#include <QGraphicsView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QTextBrowser>
#include <QtTest>

class TestGuiKeys : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void altLettersOpenTheMenus_data();
    void altLettersOpenTheMenus();
    void aSearchedPinTakesItsFunctionByKeys_data();
    void aSearchedPinTakesItsFunctionByKeys();
    void aClickedPinOpensItsMenuAndArrowsStillPan();
    void f1ShowsTheGuideInTheProgramsLanguage();
    void f8TakesTheKeyboardToTheProblems();
    void theLanguageOnShowIsChecked();
    void theFocusIsDrawnWhereverItCameFrom_data();
    void theFocusIsDrawnWhereverItCameFrom();
    void aTableOpensWithTheKeyboardOnItsFirstInput_data();
    void aTableOpensWithTheKeyboardOnItsFirstInput();
};

namespace {

QString functionOf(const MainWindow &w, const QString &pin)
{
    return w.projectData().pinFunctions.value(w.projectData().pinNames.indexOf(pin));
}

QGraphicsView *drawing(MainWindow &w)
{
    return w.findChild<QGraphicsView *>("PinsView");
}

// The first line of a guide shipped with the program.
QString guideTitle(const QString &file)
{
    QFile guide(QStringLiteral(MIREL_SOURCE_DIR "/docs/") + file);
    return guide.open(QIODevice::ReadOnly) ? QString::fromUtf8(guide.readLine()).mid(2).trimmed()
                                           : QString();
}

// Whether `shown` looks other with the keyboard on `taker` than with it on
// `elsewhere`: the focus is drawn, though it came by a click.
bool focusDrawn(QWidget *shown, QWidget *taker, QWidget *elsewhere)
{
    taker->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    const QImage with = shown->grab().toImage();
    elsewhere->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    return taker->hasFocus() == false && with != shown->grab().toImage();
}

} // namespace

void TestGuiKeys::init()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Ok; });
}

void TestGuiKeys::cleanup()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler(nullptr);
}

void TestGuiKeys::altLettersOpenTheMenus_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("menu");
    QTest::newRow("文件(&F)") << int(Qt::Key_F) << 0;
    QTest::newRow("编辑(&E)") << int(Qt::Key_E) << 1;
    QTest::newRow("设置(&S)") << int(Qt::Key_S) << 2;
    QTest::newRow("工程(&P)") << int(Qt::Key_P) << 3;
    QTest::newRow("帮助(&H)") << int(Qt::Key_H) << 4;
}

void TestGuiKeys::altLettersOpenTheMenus()
{
    QFETCH(int, key);
    QFETCH(int, menu);
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QAction *title = w.menuBar()->actions().at(menu);
    QCOMPARE(title->text(), QString::fromUtf8(QTest::currentDataTag()));
    QTest::keyClick(&w, Qt::Key(key), Qt::AltModifier);
    QTRY_VERIFY(title->menu()->isVisible());
    title->menu()->close();
}

void TestGuiKeys::aSearchedPinTakesItsFunctionByKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    QTest::newRow("menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
}

// Ctrl+F, the pin's name, Enter, then the key: the menu a right click opens,
// walked with the arrow keys and confirmed with Enter.
void TestGuiKeys::aSearchedPinTakesItsFunctionByKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    MainWindow w;
    w.resize(1280, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.SlotNewProject("STM32F103RE", false);
    QTest::keyClick(&w, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "pa9");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), drawing(w));

    QTest::keyClick(drawing(w), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QMenu *menu = w.scene()->pinMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(w.scene()->currentItem()->pinName(), QStringLiteral("PA9"));
    for (int i = 0;
         i < 20 && (!menu->activeAction() || menu->activeAction()->text() != "USART1_TX"); ++i)
        QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    QTRY_COMPARE(functionOf(w, "PA9"), QStringLiteral("USART1_TX"));
    QVERIFY(!menu->isVisible());
}

void TestGuiKeys::aClickedPinOpensItsMenuAndArrowsStillPan()
{
    MainWindow w;
    w.resize(1280, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.SlotNewProject("STM32F103RE", false);
    QGraphicsView *view = drawing(w);
    // 适合窗口 (Ctrl+0): the whole drawing.
    QTest::qWait(50); // the first fit, once the view has its size
    QTest::keyClick(&w, Qt::Key_0, Qt::ControlModifier);
    QTRY_VERIFY(view->viewport()->rect().contains(
        view->mapFromScene(w.scene()->itemsBoundingRect()).boundingRect()));
    CPinItem *pa0 = w.scene()->pinItems().at(w.projectData().pinNames.indexOf("PA0"));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      view->mapFromScene(pa0->sceneBoundingRect().center()));

    // Without a menu the arrow keys move the drawing, the pin keeps focus.
    const QPointF centre = view->mapToScene(view->viewport()->rect().center());
    QTest::keyClick(view, Qt::Key_Left);
    QVERIFY(view->mapToScene(view->viewport()->rect().center()) != centre);
    QVERIFY(!w.scene()->pinMenu()->isVisible());

    QTest::keyClick(view, Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(w.scene()->pinMenu()->isVisible());
    QCOMPARE(w.scene()->currentItem(), pa0);
    QTest::keyClick(w.scene()->pinMenu(), Qt::Key_Escape);
    QVERIFY(!w.scene()->pinMenu()->isVisible());
}

void TestGuiKeys::f1ShowsTheGuideInTheProgramsLanguage()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, Qt::Key_F1);
    auto *help = w.findChild<HelpWindow *>();
    QVERIFY(help && help->isVisible());
    const QString zh = guideTitle("guide_zh.md");
    QVERIFY(!zh.isEmpty());
    QVERIFY2(help->browser()->toPlainText().startsWith(zh),
             qPrintable(help->browser()->toPlainText().left(80)));
    w.switchLanguage(1033);
    QVERIFY(help->browser()->toPlainText().startsWith(guideTitle("guide_en.md")));
    help->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), help);
    QTest::keyClick(help, Qt::Key_Escape);
    QVERIFY(!help->isVisible());
    w.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QTest::keyClick(&w, Qt::Key_F1);
    QCOMPARE(w.findChildren<HelpWindow *>().size(), 1);
    QVERIFY(help->isVisible());
    QVERIFY(w.close());
    QVERIFY(!help->isVisible());
}

// F8 shows the problems with the keyboard in them; pressed there, it hides
// them; pressed elsewhere while they show, it takes the keyboard back to them.
void TestGuiKeys::f8TakesTheKeyboardToTheProblems()
{
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.SlotNewProject("STM32F103RE", false);
    auto *dock = w.findChild<QDockWidget *>("problemsDock");
    QVERIFY(dock);
    const auto keyboardInDock = [dock] {
        QWidget *focus = QApplication::focusWidget();
        return focus && dock->isAncestorOf(focus);
    };
    for (bool hiddenFirst : {true, false}) {
        if (hiddenFirst)
            dock->hide();
        drawing(w)->setFocus();
        QTest::keyClick(drawing(w), Qt::Key_F8);
        QVERIFY(dock->isVisible());
        QTRY_VERIFY(keyboardInDock());
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    QVERIFY(!dock->isVisible());
}

// Each language is named in itself in both languages, and the one on show
// is checked, also after a switch made from the menu.
void TestGuiKeys::theLanguageOnShowIsChecked()
{
    MainWindow w;
    w.show();
    QMenu *languages = w.menuBar()->actions().at(2)->menu()->actions().at(0)->menu();
    QVERIFY(languages);
    const QList<QAction *> entries = languages->actions();
    QCOMPARE(entries.size(), 2);
    const QStringList namesInChinese{entries.at(0)->text(), entries.at(1)->text()};
    QVERIFY(entries.at(0)->isChecked() && !entries.at(1)->isChecked());
    entries.at(1)->trigger();
    QCOMPARE(w.currentLanguage(), 1033);
    QVERIFY(!entries.at(0)->isChecked() && entries.at(1)->isChecked());
    QCOMPARE((QStringList{entries.at(0)->text(), entries.at(1)->text()}), namesInChinese);
    entries.at(0)->trigger();
    QCOMPARE(w.currentLanguage(), 2052);
    QVERIFY(entries.at(0)->isChecked() && !entries.at(1)->isChecked());
}

void TestGuiKeys::theFocusIsDrawnWhereverItCameFrom_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("the tab bar") << "tabs";
    QTest::newRow("the drawing") << "drawing";
    QTest::newRow("the new project's chip box") << "chip";
    QTest::newRow("a drop-down of a table") << "cell";
}

// Every control that takes the keyboard shows it has it, also when it got it
// by a click or when its window opened; and the panel of peripheral buttons
// is no stop of its own: Tab from the drawing goes on to a button.
void TestGuiKeys::theFocusIsDrawnWhereverItCameFrom()
{
    QFETCH(QString, where);
    MainWindow w;
    w.resize(1280, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.SlotNewProject("STM32F103RE", false);
    auto *search = w.findChild<QLineEdit *>("lineEditPinSearch");
    if (where == "tabs") {
        QTabBar *tabs = w.findChild<QTabBar *>();
        QVERIFY(focusDrawn(tabs, tabs, search));
    } else if (where == "drawing") {
        QVERIFY(focusDrawn(drawing(w), drawing(w), search));
        drawing(w)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(drawing(w), Qt::Key_Tab);
        QVERIFY(qobject_cast<QPushButton *>(QApplication::focusWidget()));
    } else if (where == "chip") {
        QTest::keyClick(&w, Qt::Key_N, Qt::ControlModifier);
        QWidget *dialog = QApplication::activeModalWidget();
        QTRY_VERIFY((dialog = QApplication::activeModalWidget()));
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto *chip = dialog->findChild<QComboBox *>();
        QTRY_COMPARE(QApplication::focusWidget(), chip);
        QVERIFY(focusDrawn(chip, chip, dialog->findChild<QPushButton *>()));
        dialog->close();
    } else {
        QVERIFY(w.OpenConfigureEngineeringFile(
            QStringLiteral(MIREL_SOURCE_DIR "/tests/data/sync/derived07.cpro")));
        w.findChild<QPushButton *>("pushButtonSYS")->click();
        DialogConfigure *table = w.configure();
        QVERIFY(QTest::qWaitForWindowExposed(table));
        QTableWidget *cells = table->table();
        QVERIFY(cells->cellWidget(cells->currentRow(), cells->currentColumn()));
        QVERIFY(
            focusDrawn(cells->viewport(), cells, table->findChild<QPushButton *>("pushButtonOK")));
        // The frame goes round the drop-down that covers the current cell.
        cells->setFocus(Qt::MouseFocusReason);
        QWidget *box = cells->cellWidget(cells->currentRow(), cells->currentColumn());
        auto *frame = cells->findChild<QFocusFrame *>();
        QVERIFY(frame && frame->isVisible());
        QVERIFY(frame->geometry().contains(box->geometry()) &&
                frame->geometry() != box->geometry());
    }
}

void TestGuiKeys::aTableOpensWithTheKeyboardOnItsFirstInput_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::newRow("DI: the first row's input mode") << "pushButtonDI" << 0 << 1;
    QTest::newRow("SYS: the first row's output mode") << "pushButtonSYS" << 0 << 2;
    QTest::newRow("SPI3: its mode (above: the pins)") << "pushButtonSPI3" << 3 << 1;
}

// A table opened with the mouse has the keyboard on its first cell that takes
// input; the arrows walk the cells past the drop-downs, Space opens the
// current one, and Enter in the table still confirms it.
void TestGuiKeys::aTableOpensWithTheKeyboardOnItsFirstInput()
{
    QFETCH(QString, button);
    QFETCH(int, row);
    QFETCH(int, column);
    MainWindow w;
    w.resize(1280, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(w.OpenConfigureEngineeringFile(
        QStringLiteral(MIREL_SOURCE_DIR "/tests/data/sync/derived07.cpro")));
    w.findChild<QPushButton *>(button)->click();
    DialogConfigure *table = w.configure();
    QVERIFY(QTest::qWaitForWindowActive(table));
    QTableWidget *cells = table->table();
    QTRY_COMPARE(QApplication::focusWidget(), cells);
    QCOMPARE(cells->currentRow(), row);
    QCOMPARE(cells->currentColumn(), column);
    auto *box = qobject_cast<QComboBox *>(cells->cellWidget(row, column));
    QVERIFY(box);
    // Down walks the cells, the drop-downs stay as they are.
    const QString shown = box->currentText();
    QTest::keyClick(cells, Qt::Key_Down);
    QCOMPARE(cells->currentRow(), row + 1);
    QCOMPARE(QApplication::focusWidget(), cells);
    QCOMPARE(box->currentText(), shown);
    QTest::keyClick(cells, Qt::Key_Up);
    QTest::keyClick(cells, Qt::Key_Space);
    QTRY_VERIFY(box->view()->isVisible());
    box->hidePopup();
    QTRY_COMPARE(QApplication::focusWidget(), cells);
    QSignalSpy confirmed(table->findChild<QPushButton *>("pushButtonOK"), &QPushButton::clicked);
    QTest::keyClick(cells, Qt::Key_Return);
    QCOMPARE(confirmed.count(), 1);
}

QTEST_MAIN(TestGuiKeys)
#include "tst_gui_keys.moc"
