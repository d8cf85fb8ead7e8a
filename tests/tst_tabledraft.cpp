#include "dlgdescription.h"
#include "projectsync.h"
#include "tabledraft.h"
#include "tablefixtures.h"

#include <QSignalSpy>
#include <QtTest>

using D = CPinDescriptions;
using TableFixtures::row;

namespace {

const QString none = QStringLiteral("无");

// The DI table's columns.
constexpr int kMode = 1;
constexpr int kStart = 2;
constexpr int kEnable = 3;
int diBit(int bit)
{
    return 7 - bit;
}

// The row of a pin in the draft's table; -1 when the pin has no row.
int rowOf(const TableDraft &draft, const QString &pin)
{
    return int(draft.table().rowPins.indexOf(pin));
}

QString valueAt(const TableDraft &draft, const QString &pin, int column)
{
    const DraftCell *cell = draft.table().cell(rowOf(draft, pin), column);
    return cell ? cell->value : QStringLiteral("<no cell>");
}

ProjectData threeInputs(const QString &chip = QStringLiteral("STM32F103RE"))
{
    return TableFixtures::projectWith(
        chip, {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}, {"PA2", "Normal_DI"}});
}

// A project with SPI1 on its first pins: SCK PA5, MISO PA6, MOSI PA7.
ProjectData spiProject(const QString &chip)
{
    return TableFixtures::projectWith(
        chip, {{"PA5", "SPI1_SCK"}, {"PA6", "SPI1_MISO"}, {"PA7", "SPI1_MOSI"}});
}

} // namespace

class TestTableDraft : public QObject
{
    Q_OBJECT
private slots:
    void uneditedIsTheDerivedTable_data();
    void uneditedIsTheDerivedTable();
    void typedValuesFollowTheirPin_data();
    void typedValuesFollowTheirPin();
    void restoredValueLiesUnderTheTypedOne();
    void chipSelectCascades_data();
    void chipSelectCascades();
    void chipSelectEntries_data();
    void chipSelectEntries();
    void filmsKeepTheirPinsApart_data();
    void filmsKeepTheirPinsApart();
    void numbersOutOfRange_data();
    void numbersOutOfRange();
    void startTerminalsMoveOnlyWhenAgreed_data();
    void startTerminalsMoveOnlyWhenAgreed();
    void settingsWindowsWriteIntoTheDraft();
    void portValuesWaitForTheirPins();
    void edits();
};

// Nothing typed: the draft shows what the project stores, for every table of
// both chips, so confirming an untouched table changes nothing.
void TestTableDraft::uneditedIsTheDerivedTable_data()
{
    QTest::addColumn<QString>("chip");
    QTest::newRow("STM32F103RE") << "STM32F103RE";
    QTest::newRow("STM32F407ZG") << "STM32F407ZG";
}

void TestTableDraft::uneditedIsTheDerivedTable()
{
    QFETCH(QString, chip);
    const ProjectData project = ProjectSync::current(TableFixtures::fullyConfigured(chip));
    TableDraft draft;
    draft.follow(project);
    for (int t = D::DlgDI; t <= D::DlgSYS; ++t) {
        const auto type = D::DlgType(t);
        draft.open(type);
        const ProjectSync::DerivedTable derived = ProjectSync::deriveTable(type, project);
        QCOMPARE(draft.table().information, derived.information);
        QCOMPARE(draft.table().information, *project.tableList(type));
        if (type >= D::DlgSPI1 && type <= D::DlgSPI3)
            QCOMPARE(draft.table().networkInformation,
                     project.networkInformation.at(type - D::DlgSPI1));
        if (type >= D::DlgUSART1 && type <= D::DlgUSART6)
            QCOMPARE(draft.table().wirelessInformation,
                     project.wirelessInformation.at(type - D::DlgUSART1));
        QVERIFY(!draft.hasEdits());
        QVERIFY2(draft.firstProblem().isEmpty(), qPrintable(draft.firstProblem()));
    }
}

// Typed values belong to their pin: the row moves, goes and comes back, and
// the values go with it.
void TestTableDraft::typedValuesFollowTheirPin_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QStringList>("change"); // pin=function, applied in turn
    QTest::addColumn<int>("rows");
    QTest::newRow("row before removed") << "STM32F103RE" << QStringList{"PA1= "} << 2;
    QTest::newRow("row added before") << "STM32F103RE" << QStringList{"PC13=Normal_DI"} << 4;
    QTest::newRow("typed row removed and back")
        << "STM32F103RE" << QStringList{"PA2= ", "PA2=Normal_DI"} << 3;
    QTest::newRow("other chip, row gone and back")
        << "STM32F407ZG" << QStringList{"PA2=Normal_DO", "PA0= ", "PA2=Normal_DI"} << 2;
}

void TestTableDraft::typedValuesFollowTheirPin()
{
    QFETCH(QString, chip);
    QFETCH(QStringList, change);
    QFETCH(int, rows);
    ProjectData project = threeInputs(chip);
    TableDraft draft;
    draft.follow(ProjectSync::current(project));
    draft.open(D::DlgDI);
    draft.setValue(rowOf(draft, "PA2"), kStart, "33");
    draft.setValue(rowOf(draft, "PA2"), kMode, "1");
    QCOMPARE(valueAt(draft, "PA2", kStart), QStringLiteral("33"));

    for (const QString &step : change) {
        TableFixtures::setFunction(project, step.section('=', 0, 0), step.section('=', 1));
        draft.follow(ProjectSync::current(project));
        // Gone or not, the values are still the draft's.
        QVERIFY(draft.hasEdits());
    }
    QCOMPARE(draft.table().rowPins.size(), rows);
    QCOMPARE(valueAt(draft, "PA2", kStart), QStringLiteral("33"));
    QCOMPARE(valueAt(draft, "PA2", kMode), QStringLiteral("1"));
    const int at = rowOf(draft, "PA2");
    QCOMPARE(draft.table().information.mid(2 * 8 * at, 6),
             QStringList({QString::number(at + 1) + "Pin", "PA2", QString::number(at + 1) + "Mode",
                          "1", QString::number(at + 1) + "Index", "33"}));

    draft.close();
    QVERIFY(!draft.hasEdits());
    draft.open(D::DlgDI);
    QVERIFY(valueAt(draft, "PA2", kStart) != QStringLiteral("33"));
}

// An undo that changes a stored value the user typed over keeps the typed
// value on show; the restored one is what giving up returns to.
void TestTableDraft::restoredValueLiesUnderTheTypedOne()
{
    ProjectData project = ProjectSync::current(threeInputs());
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgDI);
    QSignalSpy changed(&draft, &TableDraft::changed);
    draft.setValue(rowOf(draft, "PA1"), kStart, "40");
    QCOMPARE(changed.count(), 1);

    ProjectData restored = project;
    restored.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "0", "0", "0", "0", "0"}) +
                             row(D::DlgDI, 2, {"PA1", "1", "7", "0", "0", "0", "0", "0"}) +
                             row(D::DlgDI, 3, {"PA2", "0", "9", "0", "0", "0", "0", "0"});
    draft.follow(restored);
    QCOMPARE(valueAt(draft, "PA1", kStart), QStringLiteral("40"));
    QCOMPARE(valueAt(draft, "PA1", kMode), QStringLiteral("1"));
    QCOMPARE(valueAt(draft, "PA2", kStart), QStringLiteral("9"));
    QCOMPARE(draft.unedited().information, restored.diInformation);
}

void TestTableDraft::chipSelectCascades_data()
{
    QTest::addColumn<QStringList>("steps"); // "row:column=value"
    QTest::addColumn<QStringList>("bits");  // per row, bits 3..0 as shown
    QTest::addColumn<QString>("enabled");   // per row, bits 3..0: 1 when choosable
    QTest::newRow("bits fill upward")
        << QStringList{"0:3=1", "0:7=PC0", "0:6=PC1"}
        << QStringList{none, none, "PC1", "PC0", none, none, none, none} << "01110000";
    QTest::newRow("bit 0 back to none clears the bits above")
        << QStringList{"0:3=1", "0:7=PC0", "0:6=PC1", "0:7=0"}
        << QStringList{none, none, none, none, none, none, none, none} << "00010000";
    QTest::newRow("off clears every bit, on brings them back")
        << QStringList{"1:3=1", "1:7=PC0", "1:3=0"}
        << QStringList{none, none, none, none, none, none, none, none} << "00000000";
    QTest::newRow("on again") << QStringList{"1:3=1", "1:7=PC0", "1:3=0", "1:3=1"}
                              << QStringList{none, none, none, none, none, none, none, "PC0"}
                              << "00000011";
    QTest::newRow("same as above takes the row above's pins")
        << QStringList{"0:3=1", "0:7=PC0", "0:6=PC1", "0:5=PC2", "0:4=PC3", "1:3=2"}
        << QStringList{"PC3", "PC2", "PC1", "PC0", "PC3", "PC2", "PC1", "PC0"} << "11111111";
    QTest::newRow("a pin in bit 1 without bit 0 is not kept")
        << QStringList{"0:3=1", "0:6=PC1"}
        << QStringList{none, none, none, none, none, none, none, none} << "00010000";
}

void TestTableDraft::chipSelectCascades()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, bits);
    QFETCH(QString, enabled);
    const ProjectData project =
        TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}});
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgDI);
    // The first row cannot be "same as above".
    QCOMPARE(draft.table().cell(0, kEnable)->entries.size(), 2);
    QCOMPARE(draft.table().cell(1, kEnable)->entries.size(), 3);
    for (const QString &step : steps) {
        const QStringList parts = step.split(QRegularExpression("[:=]"));
        draft.setValue(parts.at(0).toInt(), parts.at(1).toInt(), parts.at(2));
    }
    QCOMPARE(draft.table().chipSelects, bits);
    QString choosable;
    for (int r = 0; r < 2; ++r)
        for (int bit = 3; bit >= 0; --bit)
            choosable += draft.table().cell(r, diBit(bit))->enabled ? '1' : '0';
    QCOMPARE(choosable, enabled);
    // What confirming stores says the same as the cells.
    for (int r = 0; r < 2; ++r)
        for (int bit = 3; bit >= 0; --bit) {
            const QString stored = draft.table().information.value(2 * (8 * r + diBit(bit)) + 1);
            QCOMPARE(stored == "0" ? none : stored, bits.at(4 * r + 3 - bit));
        }
}

// The pins a chip-select cell offers: free pins and the table's own chip
// selects, by port, without the row's other bits; a chosen pin that another
// function takes stays, refused, until it is free again.
void TestTableDraft::chipSelectEntries_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("ownSelect");
    QTest::addColumn<QString>("otherSelect");
    QTest::newRow("DI, F103") << "STM32F103RE" << int(D::DlgDI) << "Normal_DI"
                              << "DI_CS2"
                              << "DO_CS1";
    QTest::newRow("AO, F407") << "STM32F407ZG" << int(D::DlgAO) << "DAC_OUT1"
                              << "AO_CS1"
                              << "AI_CS3";
}

void TestTableDraft::chipSelectEntries()
{
    QFETCH(QString, chip);
    QFETCH(int, type);
    QFETCH(QString, function);
    QFETCH(QString, ownSelect);
    QFETCH(QString, otherSelect);
    const auto kind = D::DlgType(type);
    ProjectData project = TableFixtures::projectWith(chip,
                                                     {{"PA4", function},
                                                      {"PC13", " "},
                                                      {"PD0", " "},
                                                      {"PD1", " "},
                                                      {"PA2", " "},
                                                      {"PB2", " "},
                                                      {"PB12", ownSelect},
                                                      {"PB13", otherSelect},
                                                      {"PA10", " "}},
                                                     "Normal_DO");
    const QStringList keys = rowKeys(kind);
    const int enable = int(keys.indexOf("SliceSelectPinIsEnble"));
    const int bit0 = enable + 4;
    TableDraft draft;
    draft.follow(project);
    draft.open(kind);
    QCOMPARE(draft.table().cell(0, bit0)->entries,
             QStringList({none, "PA2", "PA10", "PB12", "PC13"}));
    draft.setValue(0, enable, "1");
    draft.setValue(0, bit0, "PA10");
    QCOMPARE(draft.table().cell(0, bit0 - 1)->entries, QStringList({none, "PA2", "PB12", "PC13"}));

    TableFixtures::setFunction(project, "PA10", "USART1_RX");
    draft.follow(project);
    const DraftCell *taken = draft.table().cell(0, bit0);
    QCOMPARE(taken->value, QStringLiteral("PA10"));
    QVERIFY(taken->entries.contains("PA10"));
    QVERIFY(taken->problem.contains("USART1_RX"));
    int row = -1, column = -1;
    QCOMPARE(draft.firstProblem(&row, &column), taken->problem);
    QCOMPARE(row, 0);
    QCOMPARE(column, bit0);

    TableFixtures::setFunction(project, "PA10", " ");
    draft.follow(project);
    QVERIFY(draft.firstProblem().isEmpty());
    QCOMPARE(draft.table().cell(0, bit0)->value, QStringLiteral("PA10"));
}

// A film in use never takes the pin another film in use shows; a file that
// gives two films one pin is refused until one of them changes.
void TestTableDraft::filmsKeepTheirPinsApart_data()
{
    QTest::addColumn<QString>("chip");
    QTest::newRow("STM32F103RE") << "STM32F103RE";
    QTest::newRow("STM32F407ZG") << "STM32F407ZG";
}

void TestTableDraft::filmsKeepTheirPinsApart()
{
    QFETCH(QString, chip);
    ProjectData project = spiProject(chip);
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgSPI1);
    QVERIFY(draft.table().portAssigned);
    // Films without an application offer no chip select.
    for (int film = 1; film <= 3; ++film)
        QVERIFY(!draft.table().cell(11 + 2 * film, 0)->enabled);
    draft.setValue(12, 0, "2");
    draft.setValue(13, 0, "PB0");
    draft.setValue(14, 0, "1");
    QVERIFY(!draft.table().cell(15, 0)->entries.contains("PB0"));
    QVERIFY(draft.table().cell(15, 0)->entries.contains("PB1"));
    draft.setValue(15, 0, "PB1");
    // Film 3 without application: excluded from nothing, shows none.
    draft.setValue(17, 0, "PB0");
    QCOMPARE(draft.table().cell(17, 0)->value, QStringLiteral("0"));
    QCOMPARE(draft.table().chipSelects, QStringList({"PB0", "PB1", none}));
    QVERIFY(draft.firstProblem().isEmpty());

    // Film 3 in use on film 1's pin (as a file may hold it): refused.
    draft.setValue(16, 0, "2");
    int row = -1;
    QVERIFY(draft.firstProblem(&row).contains("PB0"));
    QCOMPARE(row, 13);
    const DraftCell *twice = draft.table().cell(17, 0);
    QVERIFY(!twice->problem.isEmpty());
    // The cell still shows its pin, refused.
    QCOMPARE(twice->entries.value(twice->index), QStringLiteral("PB0"));
    draft.setValue(17, 0, chip.endsWith("RE") ? "PC0" : "PG6");
    QVERIFY(draft.firstProblem().isEmpty());
    QCOMPARE(draft.table().information.value(2 * 17 + 1),
             chip.endsWith("RE") ? QStringLiteral("PC0") : QStringLiteral("PG6"));
}

void TestTableDraft::numbersOutOfRange_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("refused");
    QTest::newRow("start 65535") << int(D::DlgDI) << "Normal_DI"
                                 << "65535" << false;
    QTest::newRow("start 65536") << int(D::DlgDO) << "Normal_DO"
                                 << "65536" << true;
    QTest::newRow("start empty") << int(D::DlgAI) << "ADC12_IN0"
                                 << "" << true;
    QTest::newRow("start signed") << int(D::DlgAO) << "DAC_OUT1"
                                  << "-1" << true;
    QTest::newRow("task 255") << int(D::DlgEXIT) << "EXIT0"
                              << "255" << false;
    QTest::newRow("task 256") << int(D::DlgEXIT) << "EXIT0"
                              << "256" << true;
}

void TestTableDraft::numbersOutOfRange()
{
    QFETCH(int, type);
    QFETCH(QString, function);
    QFETCH(QString, typed);
    QFETCH(bool, refused);
    const auto kind = D::DlgType(type);
    const ProjectData project = TableFixtures::projectWith(
        "STM32F103RE", {{"PA0", function}, {"PA1", function}, {"PA2", function}});
    TableDraft draft;
    draft.follow(project);
    draft.open(kind);
    QCOMPARE(draft.table().rowPins.size(), 3);
    const int column = int(rowKeys(kind).indexOf("Index"));
    draft.setValue(2, column, typed);
    int row = -1, at = -1;
    const QString problem = draft.firstProblem(&row, &at);
    QCOMPARE(!problem.isEmpty(), refused);
    if (refused) {
        QCOMPARE(row, 2);
        QCOMPARE(at, column);
        QVERIFY(problem.contains("3"));
    }
}

void TestTableDraft::startTerminalsMoveOnlyWhenAgreed_data()
{
    QTest::addColumn<bool>("agree");
    QTest::addColumn<int>("lastStart");
    QTest::addColumn<QString>("firstStart");
    QTest::newRow("agreed") << true << 1 << "5";
    QTest::newRow("refused") << false << 1 << "1";
    QTest::newRow("agreed beyond the last terminal") << true << 65535 << "65535";
}

// Row 1 uses two chip-select bits (terminals start..start+3); row 2 starts
// inside them.
void TestTableDraft::startTerminalsMoveOnlyWhenAgreed()
{
    QFETCH(bool, agree);
    QFETCH(int, lastStart);
    QFETCH(QString, firstStart);
    ProjectData project =
        TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}, {"PA1", "Normal_DI"}});
    project.diInformation = row(D::DlgDI, 1,
                                {"PA0", "0", QString::number(lastStart == 1 ? 1 : 65533), "1", "0",
                                 "0", "PC1", "PC0"}) +
                            row(D::DlgDI, 2, {"PA1", "0", "9", "0", "0", "0", "0", "0"});
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgDI);
    draft.setValue(1, kStart, QString::number(lastStart == 1 ? 2 : 65534));
    QList<int> asked;
    int offered = -1;
    QCOMPARE(draft.checkStartTerminals([&](const TableDraft::Overlap &overlap) {
        asked << overlap.row << overlap.earlierRow << overlap.start;
        offered = overlap.corrected;
        return agree;
    }),
             1);
    QCOMPARE(asked, QList<int>({1, 0, lastStart == 1 ? 2 : 65534}));
    const QString expected = lastStart == 1 ? (agree ? firstStart : "2") : "65537";
    // The start offered is the one taken.
    QCOMPARE(offered, lastStart == 1 ? 5 : 65537);
    QCOMPARE(draft.table().cell(1, kStart)->value, expected);
    // Moved past the last terminal: refused when confirming.
    QCOMPARE(!draft.firstProblem().isEmpty(), lastStart != 1);
}

// The wireless sockets and the films' network settings confirmed in their
// windows are the draft's until the table is confirmed or given up.
void TestTableDraft::settingsWindowsWriteIntoTheDraft()
{
    const CDlgDescription text;
    ProjectData project = TableFixtures::projectWith("STM32F103RE", {{"PA9", "USART1_TX"},
                                                                     {"PA10", "USART1_RX"},
                                                                     {"PA5", "SPI1_SCK"},
                                                                     {"PA6", "SPI1_MISO"},
                                                                     {"PA7", "SPI1_MOSI"}});
    project.wirelessInformation[0].clear();
    project.networkInformation[0].clear();
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgUSART1);
    QVERIFY(draft.table().wirelessInformation.isEmpty());
    QCOMPARE(draft.sockets().size(), 48);
    QCOMPARE(draft.sockets().at(6 * 7 + 3), QStringLiteral("192.168.1.8"));
    QCOMPARE(draft.sockets().at(6 * 7 + 5), QStringLiteral("5007"));
    draft.setSettings({"IPOfSocket8", "10.0.0.9", "PortOfSocket1", "6000"});
    const QStringList sockets = draft.table().wirelessInformation;
    QCOMPARE(sockets.size(), 48);
    QCOMPARE(sockets.at(6 * 7 + 3), QStringLiteral("10.0.0.9"));
    QCOMPARE(sockets.at(5), QStringLiteral("6000"));
    QCOMPARE(sockets.at(6 * 3 + 3), QStringLiteral("192.168.1.4"));
    QVERIFY(draft.hasEdits());

    // Another table gives them up.
    draft.open(D::DlgSPI1);
    QVERIFY(!draft.hasEdits());
    const QStringList film2 = TableFixtures::network(
        2, {"2", "10.1.1.2", "255.255.255.0", "10.1.1.1", "10.1.1.1", "50001"});
    draft.setSettings(film2);
    QCOMPARE(draft.table().networkInformation.size(), 2 * text.networkKeys.size());
    QCOMPARE(draft.filmNetwork(2), film2);
    QCOMPARE(draft.filmNetwork(1).size(), film2.size());
    QVERIFY(draft.filmNetwork(1) != film2);
    draft.close();
    draft.open(D::DlgSPI1);
    QVERIFY(draft.table().networkInformation.isEmpty());
}

// A port whose pins are taken away keeps what was typed for it, and shows it
// again once its pins are back.
void TestTableDraft::portValuesWaitForTheirPins()
{
    ProjectData project = spiProject("STM32F407ZG");
    TableDraft draft;
    draft.follow(project);
    draft.open(D::DlgSPI1);
    draft.setValue(3, 0, "2");
    draft.setValue(14, 0, "1");
    draft.setValue(15, 0, "PB5");
    QCOMPARE(draft.table().information.value(2 * 15 + 1), QStringLiteral("PB5"));

    ProjectData cleared = project;
    TableFixtures::setFunction(cleared, "PA5", " ");
    draft.follow(cleared);
    QVERIFY(!draft.table().portAssigned);
    QVERIFY(draft.table().cell(3, 0)->entries.isEmpty());
    QVERIFY(draft.firstProblem().isEmpty());
    QVERIFY(draft.hasEdits());

    draft.follow(project);
    QCOMPARE(draft.table().cell(3, 0)->value, QStringLiteral("2"));
    QCOMPARE(draft.table().cell(15, 0)->value, QStringLiteral("PB5"));
}

void TestTableDraft::edits()
{
    const ProjectData project = ProjectSync::current(threeInputs());
    TableDraft draft;
    draft.follow(project);
    QVERIFY(!draft.isOpen());
    draft.setValue(0, kMode, "1"); // no table: nothing happens
    QVERIFY(!draft.hasEdits());
    draft.open(D::DlgDI);
    // Typing the stored value is no edit; a fixed cell takes nothing.
    draft.setValue(0, kMode, valueAt(draft, "PA0", kMode));
    QVERIFY(!draft.hasEdits());
    draft.setValue(0, 0, "PB9");
    QCOMPARE(valueAt(draft, "PA0", 0), QStringLiteral("PA0"));
    QVERIFY(!draft.hasEdits());
    draft.setValue(0, kMode, "1");
    QVERIFY(draft.hasEdits());
    // The same table again keeps them; another one gives them up.
    draft.open(D::DlgDI);
    QVERIFY(draft.hasEdits());
    draft.open(D::DlgDO);
    draft.open(D::DlgDI);
    QVERIFY(!draft.hasEdits());
}

QTEST_GUILESS_MAIN(TestTableDraft)
#include "tst_tabledraft.moc"
