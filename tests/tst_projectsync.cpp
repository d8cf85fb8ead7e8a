#include "chipfacts.h"
#include "pinrules.h"
#include "projectcheck.h"
#include "projectcompare.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "projectsync.h"
#include "tablefixtures.h"

#include <QTemporaryDir>
#include <QtTest>

using D = CPinDescriptions;
using TableFixtures::row;

namespace {

const QString kData = QStringLiteral(MIREL_SOURCE_DIR "/tests/data/sync/");

// "PA0=Normal_DI" is a menu choice (partners follow), "PB0:DI_CS1" puts the
// text on the pin as a file would.
void drawPins(PinBoard &board, const QStringList &steps)
{
    for (const QString &step : steps) {
        const bool choice = step.contains(QLatin1Char('='));
        const QStringList parts = step.split(choice ? QLatin1Char('=') : QLatin1Char(':'));
        const int index = board.indexOfPin(parts.at(0));
        QVERIFY2(index >= 0, qPrintable(step));
        if (choice)
            board.applyFunction(index, parts.at(1), board.function(index));
        else
            board.setFunction(index, parts.at(1));
    }
}

ProjectData readProject(const QString &name)
{
    ProjectData project;
    QString error;
    if (!ProjectFile::read(kData + name, &project, &error))
        qFatal("%s: %s", qPrintable(name), qPrintable(error));
    return project;
}

} // namespace

class TestProjectSync : public QObject
{
    Q_OBJECT
private slots:
    void historyStepsBackAndForth_data();
    void historyStepsBackAndForth();
    void derivesOneTable_data();
    void derivesOneTable();
    void matchesTheTableWindow_data();
    void matchesTheTableWindow();
    void tablesTakeChipSelectsInTurn();
    void openingKeepsASavedProject_data();
    void openingKeepsASavedProject();
    void openingFreesChipSelectsNoListNames();
    void openingLeavesFixedAndBusPins_data();
    void openingLeavesFixedAndBusPins();
    void openingNamesChipSelectsAsTheirListDoes_data();
    void openingNamesChipSelectsAsTheirListDoes();
    void aProjectUsingEveryTableIsItsOwnDerivation();
    void problemsNameTheCell_data();
    void problemsNameTheCell();
};

void TestProjectSync::derivesOneTable_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QStringList>("pins");
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QStringList>("expectedPins");

    const QString f103 = ChipFacts::F103;
    const QStringList none{"0", "0", "0", "0", "0"};
    QTest::newRow("assigned pin gets a default row")
        << f103 << QStringList{"PA0=Normal_DI"} << int(D::DlgDI) << QStringList()
        << row(D::DlgDI, 1, QStringList{"PA0", "0", "1"} + none) << QStringList();
    QTest::newRow("stored values stay with their pin, rows renumber")
        << f103 << QStringList{"PA0=Normal_DI", "PA1=Normal_DI", "PA0=Normal_DO"} << int(D::DlgDI)
        << row(D::DlgDI, 1, QStringList{"PA0", "1", "7"} + none) +
               row(D::DlgDI, 2, QStringList{"PA1", "1", "9"} + none)
        << row(D::DlgDI, 1, QStringList{"PA1", "1", "9"} + none) << QStringList();
    QTest::newRow("a new row starts behind the rows before it")
        << f103 << QStringList{"PC8=Normal_DO", "PC9=Normal_DO"} << int(D::DlgDO)
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "0", "PB0"})
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "0", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "0", "0", "3", "0", "0", "0", "0", "0"})
        << QStringList{"PB0:DO_CS1"};
    QTest::newRow("a new row in front of stored ones goes behind them")
        << f103 << QStringList{"PC8=Normal_DO", "PC9=Normal_DO", "PC7=Normal_DO"} << int(D::DlgDO)
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "0", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "0", "0", "3", "0", "0", "0", "0", "0"})
        << row(D::DlgDO, 1, {"PC7", "0", "0", "4", "0", "0", "0", "0", "0"}) +
               row(D::DlgDO, 2, {"PC8", "0", "0", "1", "1", "0", "0", "0", "PB0"}) +
               row(D::DlgDO, 3, {"PC9", "0", "0", "3", "0", "0", "0", "0", "0"})
        << QStringList{"PB0:DO_CS1"};
    QTest::newRow("a stored overlap is kept as stored")
        << f103 << QStringList{"PC8=Normal_DO", "PC9=Normal_DO"} << int(D::DlgDO)
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "PB1", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "1", "2", "2", "0", "0", "0", "0", "0"})
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "PB1", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "1", "2", "2", "0", "0", "0", "0", "0"})
        << QStringList{"PB0:DO_CS1", "PB1:DO_CS2"};
    QTest::newRow("an option outside its list and a refused start stay readable")
        << f103 << QStringList{"PA0=Normal_DI"} << int(D::DlgDI)
        << row(D::DlgDI, 1, QStringList{"PA0", "99", "70000"} + none)
        << row(D::DlgDI, 1, QStringList{"PA0", "0", "70000"} + none) << QStringList();
    QTest::newRow("bits are used from bit 0 upward")
        << f103 << QStringList{"PA2:ADC123_IN2"} << int(D::DlgAI)
        << row(D::DlgAI, 1, {"PA2", "4", "1", "PB2", "PB0", "PB1", "0"})
        << row(D::DlgAI, 1, {"PA2", "4", "1", "0", "0", "0", "0"}) << QStringList{"PB1: "};
    QTest::newRow("a row with chip selects off has none")
        << f103 << QStringList{"PA4=DAC_OUT1"} << int(D::DlgAO)
        << row(D::DlgAO, 1, {"PA4", "2", "0", "0", "0", "0", "PB0"})
        << row(D::DlgAO, 1, {"PA4", "2", "0", "0", "0", "0", "0"}) << QStringList{"PB0: "};
    QTest::newRow("a chip select on a pin with another function is dropped")
        << f103 << QStringList{"PA0=Normal_DI", "PB0=Normal_DO"} << int(D::DlgDI)
        << row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "0", "PB0"})
        << row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "0", "0"})
        << QStringList{"PB0:Normal_DO"};
    QTest::newRow("the chip select of a row that has gone is freed")
        << f103 << QStringList{"PB0:DI_CS1"} << int(D::DlgDI)
        << row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "0", "PB0"}) << QStringList()
        << QStringList{"PB0: "};
    QTest::newRow("same as above is refused in the first row")
        << f103 << QStringList{"PA0=Normal_DI", "PA1=Normal_DI"} << int(D::DlgDI)
        << row(D::DlgDI, 1, {"PA0", "0", "1", "2", "0", "0", "0", "0"}) +
               row(D::DlgDI, 2, {"PA1", "0", "2", "2", "0", "0", "0", "0"})
        << row(D::DlgDI, 1, {"PA0", "0", "1", "0", "0", "0", "0", "0"}) +
               row(D::DlgDI, 2, {"PA1", "0", "2", "2", "0", "0", "0", "0"})
        << QStringList();
    QTest::newRow("a serial port takes its partner pin")
        << f103 << QStringList{"PA9=USART1_TX"} << int(D::DlgUSART1)
        << TableFixtures::usart("", "", {"1", "1", "1", "1", "5"})
        << TableFixtures::usart("PA9", "PA10", {"1", "1", "1", "1", "5"})
        << QStringList{"PA10:USART1_RX"};
    QTest::newRow("a cleared serial port stores no options")
        << f103 << QStringList{"PA9=USART1_TX", "PA9=ClearPin"} << int(D::DlgUSART1)
        << TableFixtures::usart("PA9", "PA10", {"1", "1", "1", "1", "5"})
        << TableFixtures::usart("", "", {"0", "0", "0", "0", "0"}) << QStringList{"PA10: "};
    QTest::newRow("a film without application has no chip select")
        << f103 << QStringList{"PA5=SPI1_SCK"} << int(D::DlgSPI1)
        << TableFixtures::spi({"", "", "", "1", "1", "1", "1", "1", "1", "7", "1", "1", "0", "PB0",
                               "2", "PB1", "0", "0"})
        << TableFixtures::spi({"PA5", "PA6", "PA7", "1", "1", "1", "1", "1", "1", "7", "1", "1",
                               "0", "0", "2", "PB1", "0", "0"})
        << QStringList{"PB0: ", "PB1:SPI1_CS2", "PA7:SPI1_MOSI"};
    QTest::newRow("system pins carry their function")
        << f103 << QStringList{"PC13:SYS_RunLed", "PB5:SYS_INIT"} << int(D::DlgSYS)
        << row(D::DlgSYS, 1, {"SYS_INIT", "PB5", "1", "2"})
        << row(D::DlgSYS, 1, {"SYS_RunLed", "PC13", "0", "0"}) +
               row(D::DlgSYS, 2, {"SYS_INIT", "PB5", "1", "2"})
        << QStringList();
}

void TestProjectSync::derivesOneTable()
{
    QFETCH(QString, chip);
    QFETCH(QStringList, pins);
    QFETCH(int, type);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, expected);
    QFETCH(QStringList, expectedPins);

    PinBoard board(chip, false);
    drawPins(board, pins);
    ProjectData project = ProjectData::fresh(chip, false);
    *project.tableList(D::DlgType(type)) = stored;
    ProjectSync::refresh(project, board);
    QCOMPARE(*project.tableList(D::DlgType(type)), expected);
    for (const QString &pin : expectedPins) {
        const QStringList parts = pin.split(QLatin1Char(':'));
        QCOMPARE(board.function(board.indexOfPin(parts.at(0))), parts.at(1));
    }
    QCOMPARE(project.pinFunctions, board.functions());
    // A derived project derives to itself.
    const ProjectData derived = project;
    QVERIFY(!ProjectSync::refresh(project, board));
    QCOMPARE(project, derived);
}

// One free pin named by two tables goes to the table that comes first: the
// boards before the SPI ports, SPI1 before SPI2; a pin a film lets go is
// free for the next table at once.
void TestProjectSync::tablesTakeChipSelectsInTurn()
{
    const auto spiWith = [](const QString &sck, const QString &application,
                            const QString &chipSelect) {
        return TableFixtures::spi({sck, "", "", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                                   application, chipSelect, "0", "0", "0", "0"});
    };
    const QString f103 = ChipFacts::F103;
    {
        PinBoard board(f103, false);
        drawPins(board, {"PA0=Normal_DI", "PA5=SPI1_SCK"});
        ProjectData project = ProjectData::fresh(f103, false);
        project.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "0", "PB0"});
        project.spiInformation[0] = spiWith("PA5", "1", "PB0");
        ProjectSync::refresh(project, board);
        QCOMPARE(board.function(board.indexOfPin("PB0")), QStringLiteral("DI_CS1"));
        QCOMPARE(valueOf(project.spiInformation[0], "SliceSelect1Pin"), QStringLiteral("0"));
    }
    {
        PinBoard board(f103, false);
        drawPins(board, {"PA5=SPI1_SCK", "PB13=SPI2_SCK", "PB0:SPI1_CS1"});
        ProjectData project = ProjectData::fresh(f103, false);
        project.spiInformation[0] = spiWith("PA5", "0", "PB0");
        project.spiInformation[1] = spiWith("PB13", "1", "PB0");
        ProjectSync::refresh(project, board);
        QCOMPARE(valueOf(project.spiInformation[0], "SliceSelect1Pin"), QStringLiteral("0"));
        QCOMPARE(valueOf(project.spiInformation[1], "SliceSelect1Pin"), QStringLiteral("PB0"));
        QCOMPARE(board.function(board.indexOfPin("PB0")), QStringLiteral("SPI2_CS1"));
    }
}

// Projects whose lists lag their pins, and the lists the table window wrote
// for them when saving (every table built and confirmed in turn, an overlap
// in a row it added corrected, one it restored kept).
void TestProjectSync::matchesTheTableWindow_data()
{
    QTest::addColumn<QString>("number");
    for (int i = 1; i <= 12; ++i) {
        const QString number = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
        QTest::newRow(qPrintable(number)) << number;
    }
}

void TestProjectSync::matchesTheTableWindow()
{
    QFETCH(QString, number);
    ProjectData project = readProject("lagging" + number + ".cpro");
    const ProjectData expected = readProject("derived" + number + ".cpro");
    PinBoard board(project.currentChip, project.useExternalRam());
    board.restoreFunctions(project.pinFunctions);
    QVERIFY(ProjectSync::refresh(project, board));
    COMPARE_PROJECTS(project, expected);
}

void TestProjectSync::openingKeepsASavedProject_data()
{
    matchesTheTableWindow_data();
}

// What the window saved comes back unchanged from the file; a lagging file,
// once opened, is saved and opened again without a change.
void TestProjectSync::openingKeepsASavedProject()
{
    QFETCH(QString, number);
    const ProjectData saved = readProject("derived" + number + ".cpro");
    COMPARE_PROJECTS(ProjectSync::current(saved), saved);
    const ProjectData opened = ProjectSync::current(readProject("lagging" + number + ".cpro"));
    COMPARE_PROJECTS(ProjectSync::current(opened), opened);
}

void TestProjectSync::openingFreesChipSelectsNoListNames()
{
    ProjectData file = ProjectData::fresh(ChipFacts::F103, false);
    TableFixtures::setFunction(file, "PB0", "SPI1_CS1");
    TableFixtures::setFunction(file, "PB1", "DI_CS1");
    TableFixtures::setFunction(file, "PA0", "Normal_DI");
    file.diInformation = row(D::DlgDI, 1, {"PA0", "0", "1", "1", "0", "0", "0", "PB1"});
    PinBoard board(file.currentChip, false);
    ProjectData project;
    QCOMPARE(ProjectSync::load(file, &project, &board), QStringList{"PB0 (SPI1_CS1)"});
    QCOMPARE(board.function(board.indexOfPin("PB0")), PinBoard::freeText);
    QCOMPARE(board.function(board.indexOfPin("PB1")), QStringLiteral("DI_CS1"));
    QCOMPARE(project.diInformation, file.diInformation);
}

void TestProjectSync::openingLeavesFixedAndBusPins_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<bool>("ram");
    QTest::newRow("STM32F103RE") << ChipFacts::F103 << false;
    QTest::newRow("STM32F407ZG") << ChipFacts::F407 << false;
    QTest::newRow("STM32F407ZG with external RAM") << ChipFacts::F407 << true;
}

// A file (edited by hand) that puts a function on every pin: it lands on the
// pins the drawing lets the user give one; supply, fixed and external-bus
// pins stay as the chip has them.
void TestProjectSync::openingLeavesFixedAndBusPins()
{
    QFETCH(QString, chip);
    QFETCH(bool, ram);
    ProjectData file = ProjectData::fresh(chip, ram);
    for (QString &function : file.pinFunctions)
        function = QStringLiteral("Normal_DI");
    QTemporaryDir dir;
    QVERIFY(ProjectFile::write(file, dir.filePath("every-pin.cpro")));
    ProjectData opened;
    QVERIFY(ProjectSync::readCurrent(dir.filePath("every-pin.cpro"), &opened));

    const PinBoard chipAsMade(chip, ram);
    for (int i = 0; i < chipAsMade.pinCount(); ++i) {
        const bool offersFunctions = !chipAsMade.menuEntries(i).isEmpty();
        QCOMPARE(chipAsMade.pinName(i) + ": " + opened.pinFunctions.at(i),
                 chipAsMade.pinName(i) + ": " +
                     (offersFunctions ? QStringLiteral("Normal_DI") : chipAsMade.function(i)));
    }
}

void TestProjectSync::openingNamesChipSelectsAsTheirListDoes_data()
{
    QTest::addColumn<QStringList>("pins");        // pin=function as the file has them
    QTest::addColumn<int>("type");                // the table naming the chip selects
    QTest::addColumn<QStringList>("values");      // its one row
    QTest::addColumn<QStringList>("chipSelects"); // pin=function once opened, package order
    // Bits 0 and 1 on PB0 and PB1, the pins' texts the other way round.
    QTest::newRow("DI") << QStringList{"PA0=Normal_DI", "PB0=DI_CS2", "PB1=DI_CS1"} << int(D::DlgDI)
                        << QStringList{"PA0", "0", "1", "1", "0", "0", "PB1", "PB0"}
                        << QStringList{"PB0=DI_CS1", "PB1=DI_CS2"};
    QTest::newRow("AI") << QStringList{"PC0=ADC123_IN10", "PB0=AI_CS2", "PB1=AI_CS3", "PC1=AI_CS1"}
                        << int(D::DlgAI) << QStringList{"PC0", "1", "1", "0", "PC1", "PB1", "PB0"}
                        << QStringList{"PC1=AI_CS3", "PB0=AI_CS1", "PB1=AI_CS2"};
}

// A file whose pins name their chip-select bits otherwise than the table
// (edited by hand, or from an older program) opens with the table's names.
void TestProjectSync::openingNamesChipSelectsAsTheirListDoes()
{
    QFETCH(QStringList, pins);
    QFETCH(int, type);
    QFETCH(QStringList, values);
    QFETCH(QStringList, chipSelects);
    ProjectData file = ProjectData::fresh(ChipFacts::F103, false);
    for (const QString &pin : pins)
        TableFixtures::setFunction(file, pin.section('=', 0, 0), pin.section('=', 1));
    *file.tableList(D::DlgType(type)) = row(D::DlgType(type), 1, values);
    const ProjectData opened = ProjectSync::current(file);
    QStringList found;
    for (int i = 0; i < opened.pinNames.size(); ++i)
        if (opened.pinFunctions.at(i).contains("_CS"))
            found << opened.pinNames.at(i) + "=" + opened.pinFunctions.at(i);
    QCOMPARE(found, chipSelects);
}

void TestProjectSync::aProjectUsingEveryTableIsItsOwnDerivation()
{
    for (const QString &chip : ChipFacts::models()) {
        const ProjectData full = TableFixtures::fullyConfigured(chip);
        QCOMPARE(ProjectSync::current(full), full);
    }
}

void TestProjectSync::problemsNameTheCell_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("warnings");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QString>("words");

    const QStringList none{"0", "0", "0", "0", "0"};
    QTest::newRow("start terminal past the last")
        << int(D::DlgDI) << row(D::DlgDI, 1, QStringList{"PA0", "0", "70000"} + none) << 1 << 0 << 1
        << 2 << 65535 << "DI 表第1行的X起始端子“70000”";
    QTest::newRow("start terminal that is no number")
        << int(D::DlgAI)
        << row(D::DlgAI, 1, QStringList{"PA2", "1"} + none) +
               row(D::DlgAI, 2, QStringList{"PA3", "-4"} + none)
        << 1 << 0 << 2 << 1 << 65535 << "AI 表第2行的XA起始端子“-4”";
    QTest::newRow("task number past a byte")
        << int(D::DlgEXIT) << row(D::DlgEXIT, 1, {"PB0", "0", "0", "0", "0", "0", "256"}) << 1 << 0
        << 1 << 6 << 255 << "EXIT 表第1行的中断任务号“256”";
    QTest::newRow("the last start and task number fit")
        << int(D::DlgEXIT) << row(D::DlgEXIT, 1, {"PB0", "0", "0", "0", "0", "0", "255"}) << 0 << 0
        << 0 << 0 << 0 << QString();
    QTest::newRow("shared terminals are only a warning")
        << int(D::DlgDO)
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "PB1", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "0", "0", "4", "0", "0", "0", "0", "0"})
        << 0 << 1 << 2 << 3 << 0 << "DO 表第2行的Y起始端子与第1行";
    QTest::newRow("terminals side by side")
        << int(D::DlgDO)
        << row(D::DlgDO, 1, {"PC8", "0", "0", "1", "1", "0", "0", "PB1", "PB0"}) +
               row(D::DlgDO, 2, {"PC9", "0", "0", "5", "0", "0", "0", "0", "0"})
        << 0 << 0 << 0 << 0 << 0 << QString();
    QTest::newRow("an option the encoder refuses is at its parameter")
        << int(D::DlgUSART1) << TableFixtures::usart("PA9", "PA10", {"9", "0", "0", "0", "0"}) << 1
        << 0 << 3 << 1 << 0 << "USART1";
}

void TestProjectSync::problemsNameTheCell()
{
    QFETCH(int, type);
    QFETCH(QStringList, list);
    QFETCH(int, errors);
    QFETCH(int, warnings);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, maximum);
    QFETCH(QString, words);

    ProjectData project =
        TableFixtures::projectWith(ChipFacts::F103, {{"PA9", "USART1_TX"}, {"PA10", "USART1_RX"}});
    *project.tableList(D::DlgType(type)) = list;
    const QVector<ProjectProblem> problems = ProjectCheck::problems(project);
    QCOMPARE(int(ProjectCheck::warnings(problems).size()), warnings);
    QCOMPARE(int(problems.size()), errors + warnings);
    QCOMPARE(ProjectCheck::hasError(problems), errors > 0);
    QByteArray table;
    QString message;
    QCOMPARE(ProjectCheck::buildTable(project, &table, &message), errors == 0);
    if (problems.isEmpty())
        return;
    const ProjectProblem &first = problems.first();
    QVERIFY2(first.message.contains(words), qPrintable(first.message));
    QCOMPARE(first.row, row);
    QCOMPARE(first.column, column);
    if (errors > 0) {
        QCOMPARE(message, first.message);
        QCOMPARE(first.maximum, maximum);
        QCOMPARE(first.table, D::DlgType(type));
    }
}

void TestProjectSync::historyStepsBackAndForth_data()
{
    // Steps 1..3 make states 1..3 from state 0. "u" undo, "r" redo, "p" a
    // new step from the state now, "s" saved here, "x" saved state lost, "c"
    // cleared. Then: steps done, the state last put back (-1: none), clean.
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("restored");
    QTest::addColumn<bool>("clean");
    QTest::newRow("three steps") << "ppp" << 3 << -1 << false;
    QTest::newRow("undo to the start is clean") << "pppuuu" << 0 << 0 << true;
    QTest::newRow("undo past the start") << "puu" << 0 << 0 << true;
    QTest::newRow("redo puts the later state") << "pppuur" << 2 << 2 << false;
    QTest::newRow("redo past the end") << "prr" << 1 << -1 << false;
    QTest::newRow("saved, then undone") << "ppsu" << 1 << 1 << false;
    QTest::newRow("saved, undone and redone") << "ppsur" << 2 << 2 << true;
    QTest::newRow("a step drops what could be redone") << "pppuupr" << 2 << 1 << false;
    QTest::newRow("the saved state dropped never comes back") << "ppsuupuuurr" << 1 << 3 << false;
    QTest::newRow("no state saved") << "pxuu" << 0 << 0 << false;
    QTest::newRow("a step in place of the saved one") << "ppsup" << 2 << 1 << false;
    QTest::newRow("cleared") << "ppuc" << 0 << 1 << true;
}

// The history keeps each step's states: undo puts back the state before a
// step, redo the one after; a new step drops the steps that could be redone,
// and with them a saved state among them.
void TestProjectSync::historyStepsBackAndForth()
{
    QFETCH(QString, moves);
    QFETCH(int, done);
    QFETCH(int, restored);
    QFETCH(bool, clean);
    QVector<ProjectData> states;
    for (int i = 0; i <= 6; ++i)
        states << ProjectData::fresh("STM32F103RE", false);
    for (int i = 0; i <= 6; ++i)
        states[i].diInformation = QStringList{"1Pin", QString::number(i)};
    ProjectHistory history;
    int now = 0;
    int made = 0;
    int put = -1;
    connect(&history, &ProjectHistory::restore, this, [&](const ProjectData &state) {
        put = states.indexOf(state);
        now = put;
    });
    for (const QChar move : moves) {
        if (move == 'p') {
            history.push(states.at(now), states.at(++made));
            now = made;
        } else if (move == 'u') {
            history.undo();
        } else if (move == 'r') {
            history.redo();
        } else if (move == 's') {
            history.setClean();
        } else if (move == 'x') {
            history.resetClean();
        } else {
            history.clear();
        }
    }
    QCOMPARE(put, restored);
    QCOMPARE(history.isClean(), clean);
    // As many steps as were done can be undone, each saying what it changed.
    int steps = 0;
    for (; history.canUndo(); ++steps) {
        QVERIFY(history.undoText().contains("DI"));
        history.undo();
    }
    QCOMPARE(steps, done);
    // Undone whole, the project is back where it began (the history kept
    // nothing before it was cleared).
    if (!moves.contains('c'))
        QCOMPARE(now, 0);
}

QTEST_GUILESS_MAIN(TestProjectSync)
#include "tst_projectsync.moc"
