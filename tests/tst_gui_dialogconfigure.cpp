#include "dialogconfigure.h"
#include "dialognewpro.h"
#include "fieldmarks.h"
#include "messages.h"
#include "mycombobox.h"
#include "networkattribut.h"
#include "projectdata.h"
#include "tabledraft.h"
#include "tablefixtures.h"
#include "testfiles.h"
#include "wirelessmoduleconfigure.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTranslator>
#include <QtTest>

using D = CPinDescriptions;

namespace {

const QString none = QStringLiteral("无");
const QStringList diKeys{"Pin",
                         "Mode",
                         "Index",
                         "SliceSelectPinIsEnble",
                         "SliceSelectPin_3Bit",
                         "SliceSelectPin_2Bit",
                         "SliceSelectPin_1Bit",
                         "SliceSelectPin_0Bit"};

// One row's pairs: keys prefixed with the row number.
QStringList rowRecord(int row, const QStringList &keys, const QStringList &values)
{
    QStringList record;
    for (int i = 0; i < keys.size(); ++i)
        record << QString::number(row) + keys.at(i) << values.value(i);
    return record;
}

// What the dialog handed back on OK.
struct Stored
{
    int count = 0;
    int order = 0;
    D::DlgType type = D::DlgNone;
    QStringList information, network, wireless;
};

struct ChipSelects
{
    int count = 0;
    int order = 0;
    D::DlgType type = D::DlgNone;
    QStringList chosen, shown, pins;
};

struct Recorder
{
    int events = 0;
    Stored stored;
    ChipSelects board;
    ChipSelects spi;

    void attach(DialogConfigure &d)
    {
        QObject::connect(&d, &DialogConfigure::updataPinDesINI, &d,
                         [this](D::DlgType t, QStringList i, QStringList n, QStringList w) {
                             stored = {stored.count + 1, ++events, t, i, n, w};
                         });
        auto boardSlot = [this](D::DlgType t, QStringList chosen, QStringList shown,
                                QStringList pins) {
            board = {board.count + 1, ++events, t, chosen, shown, pins};
        };
        QObject::connect(&d, &DialogConfigure::UpdataDISliceSelectPinsOnPushbuttonOKSignal, &d,
                         boardSlot);
        QObject::connect(&d, &DialogConfigure::UpdataDOSliceSelectPinsOnPushbuttonOKSignal, &d,
                         boardSlot);
        QObject::connect(&d, &DialogConfigure::UpdataAISliceSelectPinsOnPushbuttonOKSignal, &d,
                         boardSlot);
        QObject::connect(&d, &DialogConfigure::UpdataAOSliceSelectPinsOnPushbuttonOKSignal, &d,
                         boardSlot);
        QObject::connect(&d, &DialogConfigure::UpdataSPISliceSelectPinsOnPushbuttonOKSignal, &d,
                         [this](D::DlgType t, QStringList chosen, QStringList shown) {
                             spi = {spi.count + 1, ++events, t, chosen, shown, {}};
                         });
    }
};

QComboBox *comboAt(DialogConfigure &d, int row, int column)
{
    return qobject_cast<QComboBox *>(d.table()->cellWidget(row, column));
}

QString textAt(DialogConfigure &d, int row, int column)
{
    const QTableWidgetItem *item = d.table()->item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

void setText(DialogConfigure &d, int row, int column, const QString &text)
{
    d.table()->item(row, column)->setText(text);
}

void choose(QComboBox *box, const QString &text)
{
    const int at = box->findText(text);
    QVERIFY2(at >= 0, qPrintable(text));
    box->setCurrentIndex(at);
}

QStringList entries(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

QStringList headers(const QTableWidget *table)
{
    QStringList list;
    for (int c = 0; c < table->columnCount(); ++c)
        list << table->horizontalHeaderItem(c)->text();
    return list;
}

void pressOk(DialogConfigure &d)
{
    d.findChild<QPushButton *>("pushButtonOK", Qt::FindDirectChildrenOnly)->click();
}

// A left press as the user gives it; the list that opens is closed again.
void pressCell(QComboBox *box)
{
    QTest::mousePress(box, Qt::LeftButton);
    box->hidePopup();
}

// The window is at least the kind's size within the available screen area and
// never larger than that area; every column shows its title, its texts and its
// drop-down entries whole.
void checkFits(DialogConfigure &d, const QSize &least)
{
    const QRect area = d.screen()->availableGeometry();
    QVERIFY2(area.contains(d.frameGeometry()), qPrintable(QStringLiteral("%1x%2 at %3,%4")
                                                              .arg(d.frameGeometry().width())
                                                              .arg(d.frameGeometry().height())
                                                              .arg(d.x())
                                                              .arg(d.y())));
    QVERIFY(d.width() >= std::min(least.width(), area.width() - 16));
    QVERIFY(d.height() >= std::min(least.height(), area.height() - 40));
    const QTableWidget *table = d.table();
    for (int c = 0; c < table->columnCount(); ++c) {
        QStringList texts{table->horizontalHeaderItem(c)->text()};
        for (int r = 0; r < table->rowCount(); ++r) {
            if (const QTableWidgetItem *item = table->item(r, c))
                texts << item->text();
            if (const auto *box = qobject_cast<QComboBox *>(table->cellWidget(r, c))) {
                for (int i = 0; i < box->count(); ++i)
                    texts << box->itemText(i);
            }
            if (const auto *button = qobject_cast<QPushButton *>(table->cellWidget(r, c)))
                texts << button->text();
        }
        for (const QString &text : texts) {
            const int width = table->fontMetrics().size(0, text).width(); // the widest line
            QVERIFY2(width < table->columnWidth(c),
                     qPrintable(QStringLiteral("\"%1\" (%2) in column %3 of %4")
                                    .arg(text)
                                    .arg(width)
                                    .arg(c)
                                    .arg(table->columnWidth(c))));
        }
    }
}

// Every text a person sees in a window: title, labels, buttons, group and tab
// titles, drop-down entries, fields, tooltips, table titles and cells. Other
// windows inside it are left to their own check.
QStringList visibleTexts(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        texts << w->toolTip();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        else if (auto *group = qobject_cast<QGroupBox *>(w))
            texts << group->title();
        else if (auto *line = qobject_cast<QLineEdit *>(w))
            texts << line->text() << line->placeholderText();
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        } else if (auto *box = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < box->count(); ++i)
                texts << box->itemText(i);
        } else if (auto *table = qobject_cast<QTableWidget *>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                texts << table->horizontalHeaderItem(c)->text();
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    if (const QTableWidgetItem *item = table->item(r, c))
                        texts << item->text() << item->toolTip();
                }
            }
        }
    }
    return texts;
}

// DI bit columns: enable in column 3, bit 3 .. bit 0 in columns 4 .. 7.
int diBit(int bit)
{
    return 7 - bit;
}

} // namespace

class TestDialogConfigure : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void comboBoxReportsLeftPressFirst();
    void diTableRestoresAndReturnsItsList();
    void otherRowTablesRoundTrip();
    void cancelEmptyTableAndMissingPins();
    void settingsButtonsWorkOrSayWhyNot_data();
    void settingsButtonsWorkOrSayWhyNot();
    void chipSelectCascades();
    void chipSelectCandidatesOnPress();
    void startTerminalOverlapQuestion();
    void outOfRangeNumbersAreRefused();
    void typedNumbersOutOfRangeStayMarked_data();
    void typedNumbersOutOfRangeStayMarked();
    void longTableFitsTheScreen();
    void openTableFollowsThePins();
    void usartTable();
    void usartWirelessSettings();
    void spiTable();
    void spiNetworkAttributes();
    void spiChipSelectCandidates();
    void englishEverywhere();

private:
    int unexpectedMessages = 0;
};

// A message nobody asked for would block a person; here it is counted.
void TestDialogConfigure::init()
{
    unexpectedMessages = 0;
    Messages::setHandler([this](const Messages::Request &) {
        ++unexpectedMessages;
        return QMessageBox::Cancel;
    });
}

void TestDialogConfigure::cleanup()
{
    Messages::setHandler(nullptr);
    QCOMPARE(unexpectedMessages, 0);
}

void TestDialogConfigure::comboBoxReportsLeftPressFirst()
{
    CMyComboBox box;
    box.addItems({"a", "b"});
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    int clicks = 0;
    bool listOpenAtSignal = true;
    connect(&box, &CMyComboBox::Clicked, &box, [&] {
        ++clicks;
        listOpenAtSignal = box.view()->isVisible();
    });
    QTest::mousePress(&box, Qt::RightButton);
    QCOMPARE(clicks, 0);
    QTest::mousePress(&box, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    QVERIFY(!listOpenAtSignal);
    QVERIFY(box.view()->isVisible());
    box.hidePopup();
}

void TestDialogConfigure::diTableRestoresAndReturnsItsList()
{
    ProjectData p = TableFixtures::projectWith(
        "STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}, {"PA4", "Normal_DI"}});
    p.diInformation = rowRecord(1, diKeys, {"PA0", "1", "10", "1", "0", "0", "PC1", "PC0"}) +
                      rowRecord(2, diKeys, {"PA4", "0", "20", "0", "0", "0", "0", "0"}) +
                      rowRecord(3, diKeys, {"PB9", "1", "30", "0", "0", "0", "0", "0"});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgDI, p);

    QVERIFY(d.isVisible());
    QCOMPARE(d.type, D::DlgDI);
    QCOMPARE(d.windowTitle(), QStringLiteral("数字量输入"));
    checkFits(d, QSize(8 * 100 + 50, 3 * 30 + 100));
    QCOMPARE(headers(d.table()),
             QStringList({"引脚名", "输入模式", "X起始端子", "片选脚使能位", "片选脚第3位",
                          "片选脚第2位", "片选脚第1位", "片选脚第0位"}));
    QCOMPARE(d.table()->rowCount(), 3);
    QCOMPARE(d.table()->item(0, 0)->flags(), Qt::NoItemFlags);
    QCOMPARE(textAt(d, 1, 2), QStringLiteral("2"));
    // The restored row: bits 0 and 1 used, so bit 2 may be chosen next and bit 3 not yet.
    QCOMPARE(comboAt(d, 0, 1)->currentIndex(), 1);
    QCOMPARE(textAt(d, 0, 2), QStringLiteral("10"));
    QCOMPARE(comboAt(d, 0, diBit(0))->currentText(), QStringLiteral("PC0"));
    QCOMPARE(comboAt(d, 0, diBit(1))->currentText(), QStringLiteral("PC1"));
    QVERIFY(comboAt(d, 0, diBit(0))->isEnabled());
    QVERIFY(comboAt(d, 0, diBit(2))->isEnabled());
    QVERIFY(!comboAt(d, 0, diBit(3))->isEnabled());
    QVERIFY(!comboAt(d, 1, diBit(0))->isEnabled());

    pressOk(d);
    QVERIFY(!d.isVisible());
    QCOMPARE(r.board.count, 1);
    QCOMPARE(r.board.type, D::DlgDI);
    QCOMPARE(r.board.chosen, QStringList({none, none, "PC1", "PC0", none, none, none, none, none,
                                          none, none, none}));
    QCOMPARE(r.board.shown, QStringList({none, none, "PC1", "PC0", none, none, none, none, none,
                                         none, none, none}));
    QCOMPARE(r.board.pins, QStringList({"PA0", "PA1", "PA4"}));
    QCOMPARE(r.stored.count, 1);
    QVERIFY(r.board.order < r.stored.order);
    QCOMPARE(r.stored.type, D::DlgDI);
    // PB9 is no longer a DI pin: its record is dropped; PA1 keeps its defaults.
    const QStringList expected =
        rowRecord(1, diKeys, {"PA0", "1", "10", "1", "0", "0", "PC1", "PC0"}) +
        rowRecord(2, diKeys, {"PA1", "0", "2", "0", "0", "0", "0", "0"}) +
        rowRecord(3, diKeys, {"PA4", "0", "20", "0", "0", "0", "0", "0"});
    QCOMPARE(r.stored.information, expected);
    QVERIFY(r.stored.network.isEmpty());
    QVERIFY(r.stored.wireless.isEmpty());

    // Restoring the list just stored and confirming gives it back unchanged.
    p.diInformation = r.stored.information;
    d.launch(D::DlgDI, p);
    pressOk(d);
    QCOMPARE(r.stored.count, 2);
    QCOMPARE(r.stored.information, expected);

    // A single row makes the window taller.
    ProjectData one = TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}});
    d.launch(D::DlgDI, one);
    checkFits(d, QSize(850, 30 + 100 + 100));
    QVERIFY(d.height() >= 230);
}

void TestDialogConfigure::otherRowTablesRoundTrip()
{
    const ProjectData p = TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DO"},
                                                                     {"PA1", "Normal_DO"},
                                                                     {"PA2", "ADC123_IN2"},
                                                                     {"PA3", "ADC123_IN3"},
                                                                     {"PA4", "DAC_OUT1"},
                                                                     {"PA5", "DAC_OUT2"},
                                                                     {"PB0", "EXIT"},
                                                                     {"PB1", "EXIT"},
                                                                     {"PB5", "SYS_RunLed"},
                                                                     {"PB6", "SYS_WatchDog"}});
    struct Case
    {
        D::DlgType type;
        QString title;
        int columns;
        QStringList pins;
    };
    const QVector<Case> cases{{D::DlgDO, "数字量输出", 9, {"PA0", "PA1"}},
                              {D::DlgAI, "模拟量输入", 7, {"PA2", "PA3"}},
                              {D::DlgAO, "模拟量输出", 7, {"PA4", "PA5"}},
                              {D::DlgEXIT, "外部中断", 7, {"PB0", "PB1"}},
                              {D::DlgSYS, "系统特殊引脚配置", 4, {"PB5", "PB6"}}};
    for (const Case &c : cases) {
        TableDraft draft;
        DialogConfigure d(&draft);
        Recorder r;
        r.attach(d);
        d.launch(c.type, p);
        QCOMPARE(d.windowTitle(), c.title);
        QCOMPARE(d.table()->columnCount(), c.columns);
        QCOMPARE(d.table()->rowCount(), 2);
        checkFits(d, QSize(c.columns * 100 + 50, 2 * 20 + 210));
        // Change the second row's drop-downs to their last entries and its number.
        for (int col = 0; col < c.columns; ++col) {
            QComboBox *box = comboAt(d, 1, col);
            if (box && box->isEnabled())
                box->setCurrentIndex(box->count() - 1);
        }
        const int numberColumn = c.type == D::DlgDO     ? 3
                                 : c.type == D::DlgEXIT ? 6
                                 : c.type == D::DlgSYS  ? -1
                                                        : 1;
        if (numberColumn >= 0)
            setText(d, 1, numberColumn, "7");
        pressOk(d);
        QCOMPARE(r.stored.count, 1);
        QCOMPARE(r.stored.type, c.type);
        const QStringList first = r.stored.information;
        QCOMPARE(first.size(), 2 * 2 * c.columns);
        QCOMPARE(first.at(2 * (c.type == D::DlgSYS ? 1 : 0)),
                 QStringLiteral("1Pin")); // keys carry the row number
        QVERIFY(first.contains(c.pins.at(1)));
        QCOMPARE(r.board.count, c.type <= D::DlgAO ? 1 : 0);

        ProjectData stored = p;
        *stored.tableList(c.type) = first;
        d.launch(c.type, stored);
        pressOk(d);
        QCOMPARE(r.stored.information, first);

        switch (c.type) {
        case D::DlgDO:
            QCOMPARE(first.mid(18, 10),
                     QStringList({"2Pin", "PA1", "2Mode", "1", "2Speed", "3", "2Index", "7",
                                  "2SliceSelectPinIsEnble", "2"}));
            break;
        case D::DlgAI:
            QCOMPARE(first.mid(14, 6),
                     QStringList({"2Pin", "PA3", "2Index", "7", "2SliceSelectPinIsEnble", "2"}));
            break;
        case D::DlgEXIT:
            QCOMPARE(first.mid(14), QStringList({"2Pin", "PB1", "2InputMode", "1", "2TriggerMode",
                                                 "1", "2TriggerWay", "2", "2PrePriority", "3",
                                                 "2SubPriority", "3", "2Index", "7"}));
            QCOMPARE(first.at(13), QStringLiteral("1"));
            break;
        case D::DlgSYS:
            QCOMPARE(textAt(d, 0, 0), QStringLiteral("SYS_RunLed"));
            QCOMPARE(first, QStringList({"1SystemPin", "SYS_RunLed", "1Pin", "PB5", "1Mode", "0",
                                         "1Speed", "0", "2SystemPin", "SYS_WatchDog", "2Pin", "PB6",
                                         "2Mode", "1", "2Speed", "3"}));
            break;
        default:
            break;
        }
    }
}

void TestDialogConfigure::settingsButtonsWorkOrSayWhyNot_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<bool>("pins");       // the port's pins assigned
    QTest::addColumn<int>("application"); // chosen in the button's row
    QTest::addColumn<bool>("usable");
    QTest::newRow("SPI1 without pins") << int(D::DlgSPI1) << false << -1 << false;
    QTest::newRow("SPI1 film 1 none") << int(D::DlgSPI1) << true << 0 << false;
    QTest::newRow("SPI1 film 1 Flash") << int(D::DlgSPI1) << true << 1 << false;
    QTest::newRow("SPI1 film 1 自由驱动端") << int(D::DlgSPI1) << true << 2 << true;
    QTest::newRow("USART1 without pins") << int(D::DlgUSART1) << false << -1 << false;
    QTest::newRow("USART1 no module") << int(D::DlgUSART1) << true << 4 << false;
    QTest::newRow("USART1 first module") << int(D::DlgUSART1) << true << 5 << true;
}

// A settings button opens its window, or is greyed and says why; a port
// without its pins says so in its title.
void TestDialogConfigure::settingsButtonsWorkOrSayWhyNot()
{
    QFETCH(int, table);
    QFETCH(bool, pins);
    QFETCH(int, application);
    QFETCH(bool, usable);
    const bool spi = table == D::DlgSPI1;
    QVector<QPair<QString, QString>> functions{{"PA0", "Normal_DI"}};
    if (pins && spi)
        functions += {{"PA5", "SPI1_SCK"}, {"PA6", "SPI1_MISO"}, {"PA7", "SPI1_MOSI"}};
    else if (pins)
        functions += {{"PA9", "USART1_TX"}, {"PA10", "USART1_RX"}};
    const ProjectData p = TableFixtures::projectWith("STM32F103RE", functions);
    TableDraft draft;
    DialogConfigure d(&draft);
    d.launch(D::DlgType(table), p);
    const int row = spi ? 12 : 6;
    if (application >= 0)
        comboAt(d, row, 1)->setCurrentIndex(application);
    auto *button = qobject_cast<QPushButton *>(d.table()->cellWidget(row, 2));
    QVERIFY(button);
    QCOMPARE(button->isEnabled(), usable);
    QCOMPARE(button->toolTip().isEmpty(), usable);
    if (!pins)
        QVERIFY(button->toolTip().contains(spi ? "SPI1" : "USART1"));
    QWidget *settings = spi ? static_cast<QWidget *>(d.networkAttribut()) : d.wirelessModule();
    button->click();
    QCOMPARE(settings->isVisible(), usable);
    // The title of a port without its pins is not that of one with them.
    TableDraft other;
    DialogConfigure assigned(&other);
    QVector<QPair<QString, QString>> all{{"PA0", "Normal_DI"}, {"PA5", "SPI1_SCK"},
                                         {"PA6", "SPI1_MISO"}, {"PA7", "SPI1_MOSI"},
                                         {"PA9", "USART1_TX"}, {"PA10", "USART1_RX"}};
    assigned.launch(D::DlgType(table), TableFixtures::projectWith("STM32F103RE", all));
    QCOMPARE(d.windowTitle() == assigned.windowTitle(), pins);
}

void TestDialogConfigure::cancelEmptyTableAndMissingPins()
{
    ProjectData p = TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}});
    p.diInformation = rowRecord(1, diKeys, {"PA0", "1", "5", "0", "0", "0", "0", "0"});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);

    // Cancel with an edit asks first; kept editing, the edit stays; given
    // up, nothing is handed back. Esc is Cancel.
    QStringList asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    Messages::setHandler([&](const Messages::Request &request) {
        asked << request.text;
        return answer;
    });
    d.launch(D::DlgDI, p);
    d.findChild<QPushButton *>("pushButtonCancel", Qt::FindDirectChildrenOnly)->click();
    QVERIFY(!d.isVisible()); // nothing edited: nothing asked
    d.launch(D::DlgDI, p);
    comboAt(d, 0, 1)->setCurrentIndex(0);
    QTest::keyClick(&d, Qt::Key_Escape);
    QCOMPARE(asked.size(), 1);
    QVERIFY(d.isVisible());
    QCOMPARE(comboAt(d, 0, 1)->currentIndex(), 0);
    answer = QMessageBox::Ignore;
    d.findChild<QPushButton *>("pushButtonCancel", Qt::FindDirectChildrenOnly)->click();
    QVERIFY(!d.isVisible());
    QCOMPARE(r.events, 0);
    QCOMPARE(asked.size(), 2);

    // Enter in a cell's drop-down takes the choice and nothing more; Enter
    // again is OK, and the choice is what is handed back.
    d.launch(D::DlgDI, p);
    comboAt(d, 0, 1)->setFocus();
    comboAt(d, 0, 1)->setCurrentIndex(0);
    QTest::keyClick(comboAt(d, 0, 1), Qt::Key_Return);
    QVERIFY(d.isVisible());
    QTest::keyClick(d.table(), Qt::Key_Return);
    QVERIFY(!d.isVisible());
    QCOMPARE(asked.size(), 2);
    ProjectData confirmed = p;
    confirmed.diInformation = r.stored.information;
    d.launch(D::DlgDI, confirmed);
    QCOMPARE(comboAt(d, 0, 1)->currentIndex(), 0);
    d.hide();
    r.stored = {};
    r.board = {};
    r.events = 0;
    init();

    // A table without pins opens empty and stores an empty list.
    ProjectData noDo = p;
    noDo.doInformation = rowRecord(1, diKeys, {"PA9", "1", "5", "0", "0", "0", "0", "0"});
    d.launch(D::DlgDO, noDo);
    QVERIFY(d.isVisible());
    QCOMPARE(d.table()->rowCount(), 0);
    pressOk(d);
    QCOMPARE(r.stored.count, 1);
    QCOMPARE(r.stored.type, D::DlgDO);
    QVERIFY(r.stored.information.isEmpty());
    QCOMPARE(r.board.count, 1);
    QVERIFY(r.board.chosen.isEmpty());

    // Without a complete pin list nothing is built or shown.
    ProjectData shortList = p;
    shortList.pinFunctions.removeLast();
    d.launch(D::DlgDI, shortList);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.type, D::DlgDO);
    draft.follow(ProjectData());
    QCOMPARE(r.stored.count, 1);
    d.launch(D::DlgNone, p);
    QVERIFY(!d.isVisible());
}

void TestDialogConfigure::chipSelectCascades()
{
    const ProjectData p =
        TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}});
    TableDraft draft;
    DialogConfigure d(&draft);
    d.launch(D::DlgDI, p);
    QComboBox *enable0 = comboAt(d, 0, 3);
    QComboBox *enable1 = comboAt(d, 1, 3);
    QCOMPARE(entries(enable0), QStringList({"关", "开"}));
    QCOMPARE(entries(enable1), QStringList({"关", "开", "同上"}));
    for (int row = 0; row < 2; ++row) {
        for (int bit = 0; bit < 4; ++bit) {
            QVERIFY(!comboAt(d, row, diBit(bit))->isEnabled());
            QCOMPARE(comboAt(d, row, diBit(bit))->currentText(), none);
        }
    }

    enable0->setCurrentIndex(1); // 开
    QVERIFY(comboAt(d, 0, diBit(0))->isEnabled());
    QVERIFY(!comboAt(d, 0, diBit(1))->isEnabled());
    choose(comboAt(d, 0, diBit(0)), "PC0");
    QVERIFY(comboAt(d, 0, diBit(1))->isEnabled());
    choose(comboAt(d, 0, diBit(1)), "PC1");
    QVERIFY(comboAt(d, 0, diBit(2))->isEnabled());
    QVERIFY(!comboAt(d, 0, diBit(3))->isEnabled());

    // "同上" takes the row above's pins and the enabling that goes with them.
    enable1->setCurrentIndex(2);
    QCOMPARE(comboAt(d, 1, diBit(0))->currentText(), QStringLiteral("PC0"));
    QCOMPARE(comboAt(d, 1, diBit(1))->currentText(), QStringLiteral("PC1"));
    QCOMPARE(comboAt(d, 1, diBit(2))->currentText(), none);
    QVERIFY(comboAt(d, 1, diBit(2))->isEnabled());
    QVERIFY(!comboAt(d, 1, diBit(3))->isEnabled());

    // Bit 0 back to "无" clears and locks the bits above it.
    comboAt(d, 0, diBit(0))->setCurrentIndex(0);
    QCOMPARE(comboAt(d, 0, diBit(1))->currentText(), none);
    QVERIFY(!comboAt(d, 0, diBit(1))->isEnabled());
    QVERIFY(comboAt(d, 0, diBit(0))->isEnabled());

    // "关" clears every bit of the row.
    enable1->setCurrentIndex(0);
    for (int bit = 0; bit < 4; ++bit) {
        QCOMPARE(comboAt(d, 1, diBit(bit))->currentText(), none);
        QVERIFY(!comboAt(d, 1, diBit(bit))->isEnabled());
    }
}

void TestDialogConfigure::chipSelectCandidatesOnPress()
{
    const ProjectData p = TableFixtures::projectWith("STM32F103RE",
                                                     {{"PA0", "Normal_DI"},
                                                      {"PC13", " "},
                                                      {"PD0", " "},
                                                      {"PD1", " "},
                                                      {"PA2", " "},
                                                      {"PB2", " "},
                                                      {"PB12", "DI_CS2"},
                                                      {"PB13", "DO_CS1"},
                                                      {"PA10", " "}},
                                                     "Normal_DO");
    TableDraft draft;
    DialogConfigure d(&draft);
    d.launch(D::DlgDI, p);
    QComboBox *bit0 = comboAt(d, 0, diBit(0));
    QComboBox *bit1 = comboAt(d, 0, diBit(1));
    // Grouped by port; PB2, PD0, PD1 and other kinds' chip selects are left out.
    QCOMPARE(entries(bit0), QStringList({none, "PA2", "PA10", "PB12", "PC13"}));

    comboAt(d, 0, 3)->setCurrentIndex(1);
    pressCell(bit0);
    QCOMPARE(entries(bit0), QStringList({none, "PA2", "PA10", "PB12", "PC13"}));
    QCOMPARE(bit0->currentText(), none);
    choose(bit0, "PA10");
    pressCell(bit1);
    QCOMPARE(entries(bit1), QStringList({none, "PA2", "PB12", "PC13"}));
    choose(bit1, "PB12");
    QVERIFY(comboAt(d, 0, diBit(2))->isEnabled());

    // Pressing bit 0 again keeps its choice; bit 1's pin is not offered.
    pressCell(bit0);
    QCOMPARE(entries(bit0), QStringList({none, "PA2", "PA10", "PC13"}));
    QCOMPARE(bit0->currentText(), QStringLiteral("PA10"));
    QCOMPARE(bit1->currentText(), QStringLiteral("PB12"));

    // The candidates follow the project's pins; a chosen pin that another
    // function took stays in its cell, refused with the reason.
    ProjectData changed = p;
    changed.pinFunctions[p.pinNames.indexOf("PA2")] = "Normal_DO";
    changed.pinFunctions[p.pinNames.indexOf("PA10")] = "USART1_RX";
    draft.follow(changed);
    QCOMPARE(entries(bit1), QStringList({none, "PB12", "PC13"}));
    QCOMPARE(bit0->currentText(), QStringLiteral("PA10"));
    QVERIFY(FieldMarks::isMarked(bit0));
    QVERIFY(draft.firstProblem().contains("USART1_RX"));
    draft.follow(p);
    QVERIFY(!FieldMarks::isMarked(bit0));
    QVERIFY(draft.firstProblem().isEmpty());
}

void TestDialogConfigure::startTerminalOverlapQuestion()
{
    QList<Messages::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
    Messages::setHandler([&](const Messages::Request &request) {
        asked << request;
        return answer;
    });
    const ProjectData p = TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"},
                                                                     {"PA1", "Normal_DI"},
                                                                     {"PA2", "ADC123_IN2"},
                                                                     {"PA3", "ADC123_IN3"},
                                                                     {"PA4", "Normal_DO"},
                                                                     {"PA5", "Normal_DO"},
                                                                     {"PA6", "Normal_DO"}});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);

    // Row 1 uses bit 0 (terminals 1..2); row 2 starts at 2.
    for (QMessageBox::StandardButton button : {QMessageBox::Yes, QMessageBox::Cancel}) {
        asked.clear();
        answer = button;
        d.launch(D::DlgDI, p);
        comboAt(d, 0, 3)->setCurrentIndex(1);
        choose(comboAt(d, 0, diBit(0)), "PC0");
        pressOk(d);
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.at(0).icon, QMessageBox::Question);
        QCOMPARE(asked.at(0).title, QStringLiteral("警告"));
        // It names both rows, the start and the one offered.
        for (const char *said : {"2", "1", "3"})
            QVERIFY2(asked.at(0).text.contains(said), qPrintable(asked.at(0).text));
        QCOMPARE(asked.at(0).buttons, QMessageBox::Yes | QMessageBox::Cancel);
        const QString second = button == QMessageBox::Yes ? "3" : "2";
        QCOMPARE(r.stored.information.at(r.stored.information.indexOf("2Index") + 1), second);
        QCOMPARE(textAt(d, 1, 2), second);
    }

    // A row enclosing an earlier range (1..4 around 2..2) is reported as well.
    asked.clear();
    answer = QMessageBox::Yes;
    d.launch(D::DlgAI, p);
    setText(d, 0, 1, "2");
    setText(d, 1, 1, "1");
    comboAt(d, 1, 2)->setCurrentIndex(1);
    choose(comboAt(d, 1, 6), "PC0");
    choose(comboAt(d, 1, 5), "PC1");
    pressOk(d);
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.at(0).text.contains("XA"));
    QCOMPARE(r.stored.type, D::DlgAI);
    QCOMPARE(r.stored.information.at(r.stored.information.indexOf("2Index") + 1),
             QStringLiteral("3"));

    // Default starts without chip selects never overlap.
    asked.clear();
    d.launch(D::DlgDO, p);
    pressOk(d);
    QVERIFY(asked.isEmpty());
    QCOMPARE(r.stored.type, D::DlgDO);
}

void TestDialogConfigure::outOfRangeNumbersAreRefused()
{
    QList<Messages::Request> shown;
    Messages::setHandler([&](const Messages::Request &request) {
        shown << request;
        return QMessageBox::Yes;
    });
    const ProjectData p = TableFixtures::projectWith(
        "STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}, {"PB0", "EXIT"}});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgDI, p);
    for (const char *bad : {"70000", "abc", "", "-1"}) {
        shown.clear();
        setText(d, 1, 2, bad);
        pressOk(d);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).icon, QMessageBox::Warning);
        QVERIFY2(shown.at(0).text.contains("第2行") && shown.at(0).text.contains("X起始端子"),
                 qPrintable(shown.at(0).text));
        QVERIFY(d.isVisible());
        QCOMPARE(r.events, 0);
    }
    setText(d, 1, 2, "65535");
    pressOk(d);
    QCOMPARE(r.stored.count, 1);
    QCOMPARE(r.stored.information.at(r.stored.information.indexOf("2Index") + 1),
             QStringLiteral("65535"));

    // A correction that would run past the last terminal is refused too.
    shown.clear();
    d.launch(D::DlgDI, p);
    setText(d, 0, 2, "65534");
    setText(d, 1, 2, "65535");
    comboAt(d, 0, 3)->setCurrentIndex(1);
    choose(comboAt(d, 0, diBit(0)), "PC0");
    pressOk(d);
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(1).icon, QMessageBox::Warning);
    QCOMPARE(r.stored.count, 1);
    QVERIFY(d.isVisible());

    // Interrupt task numbers are one byte.
    shown.clear();
    d.launch(D::DlgEXIT, p);
    setText(d, 0, 6, "256");
    pressOk(d);
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.at(0).text.contains("中断任务号"));
    QCOMPARE(r.stored.count, 1);
    setText(d, 0, 6, "255");
    pressOk(d);
    QCOMPARE(r.stored.count, 2);
    QCOMPARE(r.stored.information.last(), QStringLiteral("255"));
}

// A number typed into a cell's editor: a refused one stays in the cell as
// typed, marked with the reason, and OK names the cell.
void TestDialogConfigure::typedNumbersOutOfRangeStayMarked_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("range");

    QTest::newRow("start terminal beyond 16 bits") << int(D::DlgDI) << 2 << "99999"
                                                   << "X起始端子"
                                                   << "0到65535";
    QTest::newRow("task number beyond a byte") << int(D::DlgEXIT) << 6 << "300"
                                               << "中断任务号"
                                               << "0到255";
    QTest::newRow("no start terminal") << int(D::DlgDI) << 2 << ""
                                       << "X起始端子"
                                       << "0到65535";
}

void TestDialogConfigure::typedNumbersOutOfRangeStayMarked()
{
    QFETCH(int, kind);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, header);
    QFETCH(QString, range);

    QList<Messages::Request> shown;
    Messages::setHandler([&](const Messages::Request &request) {
        shown << request;
        return QMessageBox::Ok;
    });
    const ProjectData p = TableFixtures::projectWith(
        "STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}, {"PB0", "EXIT"}});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgType(kind), p);
    const int row = d.table()->rowCount() - 1;
    QAbstractItemDelegate *delegate = d.table()->itemDelegateForColumn(column);
    QVERIFY(delegate);
    const QModelIndex index = d.table()->model()->index(row, column);
    auto *editor =
        qobject_cast<QLineEdit *>(delegate->createEditor(d.table(), QStyleOptionViewItem(), index));
    QVERIFY(editor);
    delegate->setEditorData(editor, index);
    QCOMPARE(editor->text(), textAt(d, row, column));
    QVERIFY(!FieldMarks::isMarked(editor));
    editor->clear();
    QTest::keyClicks(editor, "a1x2-");
    QCOMPARE(editor->text(), QStringLiteral("12")); // digits only
    editor->clear();
    QTest::keyClicks(editor, typed);
    QCOMPARE(editor->text(), typed);
    QVERIFY(FieldMarks::isMarked(editor));
    QVERIFY2(editor->toolTip().contains(range), qPrintable(editor->toolTip()));

    delegate->setModelData(editor, d.table()->model(), index);
    delete editor;
    QTableWidgetItem *cell = d.table()->item(row, column);
    QCOMPARE(cell->text(), typed);
    QVERIFY2(cell->toolTip().contains(header) && cell->toolTip().contains(range),
             qPrintable(cell->toolTip()));
    QVERIFY(cell->data(Qt::BackgroundRole).isValid());

    pressOk(d);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, cell->toolTip());
    QVERIFY(shown.at(0).text.contains(QStringLiteral("第%1行").arg(row + 1)));
    QVERIFY(d.isVisible());
    QCOMPARE(r.events, 0);
    QCOMPARE(cell->text(), typed);

    // Corrected, the mark goes and OK takes the value.
    cell->setText("12");
    QVERIFY(cell->toolTip().isEmpty());
    QVERIFY(!cell->data(Qt::BackgroundRole).isValid());
    pressOk(d);
    QCOMPARE(r.stored.count, 1);
}

// A table of many rows fits the available screen area: its rows scroll and
// OK and Cancel stay on the screen.
void TestDialogConfigure::longTableFitsTheScreen()
{
    ProjectData p = ProjectData::fresh("STM32F103RE", false);
    int rows = 0;
    for (int i = 0; i < p.pinNames.size() && rows < 40; ++i) {
        if (p.pinNames.at(i).startsWith('P') && p.pinNames.at(i).size() <= 4) {
            p.pinFunctions[i] = "Normal_DI";
            ++rows;
        }
    }
    QCOMPARE(rows, 40);
    TableDraft draft;
    DialogConfigure d(&draft);
    d.launch(D::DlgDI, p);
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.table()->rowCount(), 40);
    checkFits(d, QSize(850, 40 * 30 + 100));
    QVERIFY(d.table()->verticalScrollBar()->maximum() > 0);
    for (const char *name : {"pushButtonOK", "pushButtonCancel"}) {
        auto *button = d.findChild<QPushButton *>(name, Qt::FindDirectChildrenOnly);
        QVERIFY(d.rect().contains(QRect(button->mapTo(&d, QPoint()), button->size())));
    }
}

// Pins change while the table is open: rows come and go with their pins,
// and what was typed into the rows that stay is kept until OK.
void TestDialogConfigure::openTableFollowsThePins()
{
    ProjectData p =
        TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}});
    p.diInformation = rowRecord(1, diKeys, {"PA0", "1", "1", "0", "0", "0", "0", "0"}) +
                      rowRecord(2, diKeys, {"PA1", "1", "3", "0", "0", "0", "0", "0"});
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgDI, p);
    comboAt(d, 0, 1)->setCurrentIndex(0);
    d.table()->item(0, 2)->setText("7");

    p.pinFunctions[p.pinNames.indexOf("PA1")] = "Normal_DO";
    p.pinFunctions[p.pinNames.indexOf("PA2")] = "Normal_DI";
    p.diInformation = rowRecord(1, diKeys, {"PA0", "1", "1", "0", "0", "0", "0", "0"}) +
                      rowRecord(2, diKeys, {"PA2", "0", "5", "0", "0", "0", "0", "0"});
    draft.follow(p);
    QVERIFY(d.isVisible());
    QCOMPARE(r.stored.count, 0);
    QCOMPARE(d.table()->rowCount(), 2);
    QCOMPARE(d.table()->item(0, 0)->text(), QStringLiteral("PA0"));
    QCOMPARE(comboAt(d, 0, 1)->currentIndex(), 0);
    QCOMPARE(d.table()->item(0, 2)->text(), QStringLiteral("7"));
    QCOMPARE(d.table()->item(1, 0)->text(), QStringLiteral("PA2"));
    QCOMPARE(d.table()->item(1, 2)->text(), QStringLiteral("5"));
}

void TestDialogConfigure::usartTable()
{
    const ProjectData p =
        TableFixtures::projectWith("STM32F103RE", {{"PA9", "USART1_TX"}, {"PA10", "USART1_RX"}});
    const QStringList keys{"TXPinName", "RXPinName", "Baud",           "DataBit",
                           "StopBit",   "CheckBit",  "PortApplication"};
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgUSART1, p);
    QCOMPARE(d.type, D::DlgUSART1);
    QCOMPARE(d.windowTitle(), QStringLiteral("USART1"));
    checkFits(d, QSize(3 * 110 + 70, 7 * 40 + 40));
    QCOMPARE(headers(d.table()), QStringList({"参数", "设定值", "无线设定值"}));
    QVERIFY(d.table()->columnWidth(1) >= 120);
    QCOMPARE(textAt(d, 5, 0), QStringLiteral("校验位"));
    QCOMPARE(d.table()->item(5, 0)->flags(), Qt::ItemIsEnabled);
    QCOMPARE(textAt(d, 0, 1), QStringLiteral("PA9"));
    QCOMPARE(d.table()->item(0, 1)->flags(), Qt::NoItemFlags);
    const QVector<int> counts{7, 2, 4, 3, 12};
    for (int row = 2; row < 7; ++row)
        QCOMPARE(comboAt(d, row, 1)->count(), counts.at(row - 2));

    const QStringList values{"PA9", "PA10", "4", "1", "3", "2", "3"};
    for (int row = 2; row < 7; ++row)
        comboAt(d, row, 1)->setCurrentIndex(values.at(row).toInt());
    pressOk(d);
    QCOMPARE(r.stored.type, D::DlgUSART1);
    QCOMPARE(r.stored.information, TableFixtures::pairs(keys, values));
    QCOMPARE(r.board.count + r.spi.count, 0);

    // Restore then OK gives the list back; a short list or a bad index restores nothing.
    ProjectData stored = p;
    stored.usartInformation[0] = r.stored.information;
    d.launch(D::DlgUSART1, stored);
    pressOk(d);
    QCOMPARE(r.stored.information, TableFixtures::pairs(keys, values));
    stored.usartInformation[0] = r.stored.information.mid(0, 13);
    d.launch(D::DlgUSART1, stored);
    QCOMPARE(comboAt(d, 2, 1)->currentIndex(), 0);
    stored.usartInformation[0] = TableFixtures::pairs(keys, {"X", "Y", "99", "-1", "x", "2", "11"});
    d.launch(D::DlgUSART1, stored);
    pressOk(d);
    QCOMPARE(r.stored.information,
             TableFixtures::pairs(keys, {"PA9", "PA10", "0", "0", "0", "2", "11"}));

    // A port whose pins are not assigned opens with empty drop-downs.
    for (D::DlgType port : {D::DlgUART4, D::DlgUSART6}) {
        d.launch(port, stored);
        QVERIFY(d.windowTitle().startsWith(QStringLiteral("USART%1").arg(port - D::DlgUSART1 + 1)));
        QCOMPARE(comboAt(d, 6, 1)->count(), 0);
        pressOk(d);
        QCOMPARE(r.stored.type, port);
        QCOMPARE(r.stored.information,
                 TableFixtures::pairs(keys, {"", "", "0", "0", "0", "0", "0"}));
    }
}

void TestDialogConfigure::usartWirelessSettings()
{
    ProjectData p =
        TableFixtures::projectWith("STM32F407ZG", {{"PB6", "USART1_TX"}, {"PB7", "USART1_RX"}});
    QStringList sockets;
    for (int n = 1; n <= 8; ++n)
        sockets << QStringLiteral("ApplicationOfSocket%1").arg(n) << QString::number(n % 4)
                << QStringLiteral("IPOfSocket%1").arg(n) << QStringLiteral("10.0.0.%1").arg(n)
                << QStringLiteral("PortOfSocket%1").arg(n) << QString::number(6000 + n);
    p.wirelessInformation[0] = sockets;
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgUSART1, p);
    QCOMPARE(textAt(d, 0, 1), QStringLiteral("PB6"));
    auto *settings = qobject_cast<QPushButton *>(d.table()->cellWidget(6, 2));
    QVERIFY(settings);
    QCOMPARE(settings->text(), QStringLiteral("参数设置"));
    DialogWirelessModuleConfigure *wireless = d.wirelessModule();

    // Only the modem drivers (index 5 and above) have sockets.
    for (int application : {0, 3, 4}) {
        comboAt(d, 6, 1)->setCurrentIndex(application);
        settings->click();
        QVERIFY(!wireless->isVisible());
    }
    comboAt(d, 6, 1)->setCurrentIndex(5);
    settings->click();
    QVERIFY(wireless->isVisible());
    QCOMPARE(wireless->information(), sockets);

    auto *port2 = wireless->findChild<QLineEdit *>("lineEditPortOfSocket2");
    QVERIFY(port2);
    port2->setText("7002");
    wireless->findChild<QPushButton *>("pushButtonSure")->click();
    QVERIFY(!wireless->isVisible());
    QCOMPARE(d.wirelessInformation(), wireless->information());
    QVERIFY(d.isVisible());
    QCOMPARE(r.events, 0);

    pressOk(d);
    QStringList expected = sockets;
    expected[11] = "7002";
    QCOMPARE(r.stored.wireless, expected);
    QVERIFY(r.stored.network.isEmpty());
    QCOMPARE(r.stored.information.last(), QStringLiteral("5"));

    // Another port starts from its own stored sockets (none here).
    d.launch(D::DlgUSART2, p);
    pressOk(d);
    QCOMPARE(r.stored.type, D::DlgUSART2);
    QVERIFY(r.stored.wireless.isEmpty());
}

void TestDialogConfigure::spiTable()
{
    ProjectData p = TableFixtures::projectWith(
        "STM32F103RE",
        {{"PA5", "SPI1_SCK"}, {"PA6", "SPI1_MISO"}, {"PA7", "SPI1_MOSI"}, {"PB0", "SPI1_CS1"}});
    const QStringList keys{"SCKPinName",
                           "MISOPinName",
                           "MOSIPinName",
                           "CommunicationMode",
                           "WorkMode",
                           "DataFrame",
                           "ClockState",
                           "CaptureClockEdge",
                           "FilmSelectionMode",
                           "BaudRatePrefrequencyValue",
                           "DataTransmissionStartBit",
                           "CRCPolynomials",
                           "Film1Application",
                           "SliceSelect1Pin",
                           "Film2Application",
                           "SliceSelect2Pin",
                           "Film3Application",
                           "SliceSelect3Pin"};
    const QStringList values{"PA5", "PA6", "PA7", "3", "1",   "1", "1", "1", "1",
                             "7",   "1",   "1",   "2", "PB0", "1", "0", "0", "PB1"};
    p.spiInformation[0] = TableFixtures::pairs(keys, values);
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgSPI1, p);
    QCOMPARE(d.type, D::DlgSPI1);
    QCOMPARE(d.windowTitle(), QStringLiteral("SPI1"));
    checkFits(d, QSize(3 * 100 + 50, 18 * 30 + 80));
    QCOMPARE(headers(d.table()), QStringList({"参数", "设定值", "以太网设置"}));
    QCOMPARE(textAt(d, 13, 0), QStringLiteral("片选1引脚"));
    QCOMPARE(comboAt(d, 9, 1)->currentText(), QStringLiteral("256分频"));
    QCOMPARE(comboAt(d, 13, 1)->currentText(), QStringLiteral("PB0"));
    // Film 3 has no application: its chip select shows none and cannot be chosen.
    QCOMPARE(comboAt(d, 17, 1)->currentText(), none);
    QVERIFY(!comboAt(d, 17, 1)->isEnabled());
    for (int row : {12, 14, 16}) {
        auto *button = qobject_cast<QPushButton *>(d.table()->cellWidget(row, 2));
        QVERIFY(button);
        QCOMPARE(button->text(), QStringLiteral("网络属性"));
    }

    pressOk(d);
    // Film 3 has no application: its chip select is dropped.
    QCOMPARE(comboAt(d, 17, 1)->currentText(), none);
    QCOMPARE(r.spi.count, 1);
    QVERIFY(r.spi.order < r.stored.order);
    QCOMPARE(r.spi.type, D::DlgSPI1);
    QCOMPARE(r.spi.chosen, QStringList({"PB0", none, none}));
    QCOMPARE(r.spi.shown, QStringList({"PB0", none, "PB1"}));
    QStringList expected = values;
    expected[17] = "0";
    QCOMPARE(r.stored.type, D::DlgSPI1);
    QCOMPARE(r.stored.information, TableFixtures::pairs(keys, expected));
    QCOMPARE(r.stored.network, p.networkInformation[0]);
    QVERIFY(r.stored.wireless.isEmpty());

    p.spiInformation[0] = r.stored.information;
    d.launch(D::DlgSPI1, p);
    pressOk(d);
    QCOMPARE(r.stored.information, TableFixtures::pairs(keys, expected));

    // SPI2's pins are free: empty drop-downs, zeros stored.
    d.launch(D::DlgSPI2, p);
    QCOMPARE(comboAt(d, 13, 1)->count(), 0);
    pressCell(comboAt(d, 13, 1));
    QCOMPARE(comboAt(d, 13, 1)->count(), 0);
    pressOk(d);
    QStringList zeros{"", "", ""};
    for (int row = 3; row < 18; ++row)
        zeros << "0";
    QCOMPARE(r.stored.information, TableFixtures::pairs(keys, zeros));
    QCOMPARE(r.spi.chosen, QStringList({none, none, none}));
}

void TestDialogConfigure::spiNetworkAttributes()
{
    ProjectData p = TableFixtures::projectWith(
        "STM32F103RE", {{"PB3", "SPI3_SCK"}, {"PB4", "SPI3_MISO"}, {"PB5", "SPI3_MOSI"}});
    QStringList network = p.networkInformation[2];
    network[1] = "2";
    network[3] = "192.168.0.5";
    network[5] = "255.255.255.0";
    network[7] = "192.168.0.1";
    network[11] = "50001";
    network[24 + 3] = "10.1.1.1"; // film 3 address
    p.networkInformation[2] = network;
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgSPI3, p);
    CNetworkAttribut *attributes = d.networkAttribut();
    auto button = [&](int film) {
        return qobject_cast<QPushButton *>(d.table()->cellWidget(10 + 2 * film, 2));
    };

    // "无" and "Flash" have no network attributes.
    for (int application : {0, 1}) {
        comboAt(d, 12, 1)->setCurrentIndex(application);
        button(1)->click();
        QVERIFY(!attributes->isVisible());
    }
    comboAt(d, 12, 1)->setCurrentIndex(2);
    button(1)->click();
    QVERIFY(attributes->isVisible());
    QCOMPARE(attributes->windowTitle(), QStringLiteral("软片1应用以太网网络属性设置"));
    auto *ip = attributes->findChild<QLineEdit *>("lineEditIP");
    QCOMPARE(ip->text(), QStringLiteral("192.168.0.5"));
    ip->setText("192.168.0.9");
    attributes->findChild<QPushButton *>("pushButtonOK")->click();
    QVERIFY(!attributes->isVisible());
    // The companion's OK is its own: the table stays open and nothing is stored yet.
    QVERIFY(d.isVisible());
    QCOMPARE(r.events, 0);

    // Film 3 shows its own values; film 1 shows what was just confirmed.
    comboAt(d, 16, 1)->setCurrentIndex(3);
    button(3)->click();
    QCOMPARE(ip->text(), QStringLiteral("10.1.1.1"));
    QCOMPARE(attributes->windowTitle(), QStringLiteral("软片3应用以太网网络属性设置"));
    attributes->findChild<QPushButton *>("pushButtonCancel")->click();
    button(1)->click();
    QCOMPARE(ip->text(), QStringLiteral("192.168.0.9"));
    attributes->close();

    pressOk(d);
    QStringList expected = network;
    expected[3] = "192.168.0.9";
    QCOMPARE(r.stored.network, expected);
    QCOMPARE(r.stored.type, D::DlgSPI3);

    // A stored list too short to split leaves every film empty.
    p.networkInformation[2] = QStringList{"a", "b"};
    d.launch(D::DlgSPI3, p);
    pressOk(d);
    QVERIFY(r.stored.network.isEmpty());
}

void TestDialogConfigure::spiChipSelectCandidates()
{
    const ProjectData p = TableFixtures::projectWith("STM32F103RE",
                                                     {{"PB13", "SPI2_SCK"},
                                                      {"PB14", "SPI2_MISO"},
                                                      {"PB15", "SPI2_MOSI"},
                                                      {"PC13", " "},
                                                      {"PD0", " "},
                                                      {"PD1", " "},
                                                      {"PA2", " "},
                                                      {"PB2", " "},
                                                      {"PB12", "SPI2_CS1"},
                                                      {"PB0", "SPI1_CS1"},
                                                      {"PA10", " "}},
                                                     "Normal_DO");
    TableDraft draft;
    DialogConfigure d(&draft);
    Recorder r;
    r.attach(d);
    d.launch(D::DlgSPI2, p);
    QComboBox *select1 = comboAt(d, 13, 1);
    QComboBox *select2 = comboAt(d, 15, 1);
    // A film without application offers nothing until it has one.
    QVERIFY(!select1->isEnabled());
    comboAt(d, 12, 1)->setCurrentIndex(2);
    QCOMPARE(entries(select1), QStringList({none, "PA2", "PA10", "PB12", "PC13"}));
    choose(select1, "PB12");
    comboAt(d, 14, 1)->setCurrentIndex(3);
    pressCell(select2);
    QCOMPARE(entries(select2), QStringList({none, "PA2", "PA10", "PC13"}));
    QCOMPARE(select2->currentText(), none);
    choose(select2, "PA2");

    // A film without application excludes nothing, and nothing excludes its pin.
    comboAt(d, 14, 1)->setCurrentIndex(0);
    pressCell(select2);
    QCOMPARE(entries(select2), QStringList({none, "PA2", "PA10", "PB12", "PC13"}));
    choose(select2, "PC13");
    pressCell(select1);
    QCOMPARE(entries(select1), QStringList({none, "PA2", "PA10", "PB12", "PC13"}));
    choose(select1, "PB12");

    pressOk(d);
    QCOMPARE(r.spi.chosen, QStringList({"PB12", none, none}));
    QCOMPARE(r.stored.information.mid(26, 4),
             QStringList({"SliceSelect1Pin", "PB12", "Film2Application", "0"}));
}

// In English no window shows a Chinese character: neither the windows made or
// opened before the switch nor those opened after it.
void TestDialogConfigure::englishEverywhere()
{
    ProjectData p = TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"},
                                                               {"PA1", "Normal_DI"},
                                                               {"PA9", "USART1_TX"},
                                                               {"PA10", "USART1_RX"},
                                                               {"PA5", "SPI1_SCK"},
                                                               {"PA6", "SPI1_MISO"},
                                                               {"PA7", "SPI1_MOSI"}});
    DialogNewPro newProject;
    newProject.show();
    TableDraft diDraft;
    DialogConfigure di(&diDraft);
    di.launch(D::DlgDI, p);
    setText(di, 1, 2, "99999"); // a refused number keeps its reason in the cell
    TableDraft spiDraft;
    DialogConfigure spi(&spiDraft);
    spi.launch(D::DlgSPI1, p);
    comboAt(spi, 12, 1)->setCurrentIndex(2);
    qobject_cast<QPushButton *>(spi.table()->cellWidget(12, 2))->click();
    QVERIFY(spi.networkAttribut()->isVisible());

    QTranslator english;
    QVERIFY(english.load(TestFiles::inBinDir(QStringLiteral("lang_English.qm"))));
    QCoreApplication::installTranslator(&english);
    QCoreApplication::sendPostedEvents();

    TableDraft usartDraft;

    DialogConfigure usart(&usartDraft);
    usart.launch(D::DlgUSART1, p);
    comboAt(usart, 6, 1)->setCurrentIndex(5);
    qobject_cast<QPushButton *>(usart.table()->cellWidget(6, 2))->click();
    QVERIFY(usart.wirelessModule()->isVisible());

    const QRegularExpression chinese(
        QStringLiteral("[\\x{3000}-\\x{303F}\\x{3400}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    const QVector<QWidget *> windows{&newProject,           &di,    &spi,
                                     spi.networkAttribut(), &usart, usart.wirelessModule()};
    for (QWidget *window : windows) {
        const QStringList texts = visibleTexts(window);
        QVERIFY(texts.size() > 5);
        for (const QString &text : texts)
            QVERIFY2(!text.contains(chinese),
                     qPrintable(window->metaObject()->className() + QStringLiteral(": ") + text));
    }
    QCOMPARE(di.windowTitle(), QStringLiteral("Digital input"));
    QVERIFY(di.table()->item(1, 2)->toolTip().contains("65535"));
    checkFits(di, QSize(850, 2 * 30 + 100));
    checkFits(spi, QSize(350, 18 * 30 + 80));
    checkFits(usart, QSize(400, 7 * 40 + 40));
    // Long titles ("Chip select bit 3") take two lines, so that the columns
    // need not be as wide as the titles on one.
    const QHeaderView *titles = di.table()->horizontalHeader();
    QVERIFY2(titles->height() >= 2 * titles->fontMetrics().height(),
             qPrintable(QString::number(titles->height())));
    QCoreApplication::removeTranslator(&english);
    QCoreApplication::sendPostedEvents();
}

QTEST_MAIN(TestDialogConfigure)
#include "tst_gui_dialogconfigure.moc"
