#include "chipfacts.h"
#include "pinbench.h"
#include "pinrules.h"

#include <QtTest>

namespace {

using ChipFacts::F103;
using ChipFacts::F407;

using Bench = PinBench;

const QStringList kSpi1A{"PA5", "PA6", "PA7"};
const QStringList kSpi1B{"PB3", "PB4", "PB5"};
const QStringList kSpi1Signals{"SPI1_SCK", "SPI1_MISO", "SPI1_MOSI"};
const QStringList kSpi3Signals{"SPI3_SCK", "SPI3_MISO", "SPI3_MOSI"};

} // namespace

class TestPinRules : public QObject
{
    Q_OBJECT
private slots:
    void startStateAndHelpers();
    void menuOfPowerFixedAndBusPins();
    void boardChipSelectPinsAreLocked();
    void spiChipSelectPinsLockWhileTheirSpiIsComplete();
    void systemFunctionsAreUnique();
    void choosingWritesAndFillsFreePartners();
    void clearingFreesSerialPartners();
    void clearingAnSpiPinClearsItsChipSelects();
    void sharedSpiPinsClearTheRightSpi();
    void clearingABoardPinFreesItsChipSelects();
    void spiAlternativeGroupsOnF407();
    void serialAlternativeGroupsOnF407();
    void placingSpiChipSelects();
    void placingBoardChipSelects();
    void placementsRejectBadInput();
    void noAssignmentIsDroppedSilently_data();
    void noAssignmentIsDroppedSilently();
};

void TestPinRules::startStateAndHelpers()
{
    Bench f103(F103);
    QCOMPARE(f103.board.pinCount(), 64);
    QCOMPARE(f103.text("PD0"), QString("OCS_IN"));
    QCOMPARE(f103.text("PD1"), QString("OCS_OUT"));
    QCOMPARE(f103.text("NRST"), QString("NRST"));
    QCOMPARE(f103.text("PB2"), QString("BOOT1"));
    QCOMPARE(f103.text("BOOT0"), QString("BOOT0"));
    QVERIFY(f103.board.isFree(f103.at("PA0")));
    QCOMPARE(f103.board.function(-1), QString(" "));
    QCOMPARE(f103.board.function(64), QString(" "));

    Bench plain(F407, false);
    Bench ram(F407, true);
    QCOMPARE(plain.text("PH0"), QString("OCS_IN"));
    QCOMPARE(plain.text("PD14"), QString(" "));
    QCOMPARE(ram.text("PD14"), QString("FSMC_D0"));
    QCOMPARE(ram.text("PG12"), QString("FSMC_NE4"));
    QCOMPARE(ram.withText("FSMC_").size(), 40);

    QCOMPARE(f103.board.spiGroups().size(), 3);
    QCOMPARE(f103.board.serialGroups().size(), 5);
    QCOMPARE(plain.board.spiGroups().size(), 6);
    QCOMPARE(plain.board.serialGroups().size(), 11);
    QCOMPARE(plain.board.serialGroups().at(10).pins, QStringList({"PG14", "PG9"}));

    plain.set(kSpi1B, kSpi1Signals);
    QVERIFY(plain.board.isPeripheralComplete("SPI1"));
    QVERIFY(plain.board.isPeripheralComplete("SPI1", 'B'));
    QVERIFY(!plain.board.isPeripheralComplete("SPI1", 'A'));
    QVERIFY(!plain.board.isPeripheralComplete("SPI3")); // same pins, other names
    plain.set("PB5", "SPI1_CS1");
    QVERIFY(!plain.board.isPeripheralComplete("SPI1"));

    // Shorter than the package: the rest reads free; fixed pins keep theirs.
    f103.board.restoreFunctions({"Normal_DI", "Normal_DI", "ClearPin", " ", "Normal_DO"});
    QCOMPARE(f103.text("PC13"), QString("Normal_DI"));
    QCOMPARE(f103.text("PC15"), QString(" "));
    QCOMPARE(f103.text("PD0"), QString("OCS_IN"));
    QCOMPARE(f103.text("PA0"), QString(" "));
}

void TestPinRules::menuOfPowerFixedAndBusPins()
{
    Bench f103(F103);
    QVERIFY(f103.menu("VBAT").isEmpty());
    QVERIFY(f103.menu("VDD1").isEmpty());
    QVERIFY(f103.menu("PD0").isEmpty());
    QVERIFY(f103.menu("PB2").isEmpty());
    QVERIFY(f103.menu("NRST").isEmpty());
    QVERIFY(f103.board.menuEntries(-1).isEmpty());
    const QVector<PinBoard::MenuEntry> pa9 = f103.menu("PA9");
    QCOMPARE(pa9.size(), 10);
    QCOMPARE(pa9.first().text, QString("USART1_TX"));
    QCOMPARE(pa9.last().text, QString("ClearPin"));
    QCOMPARE(f103.enabledCount("PA9"), 10);

    Bench ram(F407, true);
    QVERIFY(ram.menu("PE7").isEmpty());
    QVERIFY(ram.menu("PH0").isEmpty());
    Bench plain(F407, false);
    QCOMPARE(plain.menu("PE7").size(), 11);
    QVERIFY(plain.menu("PB12").size() <= PinBoard::maxMenuEntries);
}

void TestPinRules::boardChipSelectPinsAreLocked()
{
    for (const QString select : {"DI_CS2", "DO_CS1", "AI_CS4", "AO_CS3"}) {
        Bench f103(F103);
        f103.set("PB0", select);
        QCOMPARE(f103.menu("PB0").size(), 11);
        QCOMPARE(f103.enabledCount("PB0"), 0);
        QCOMPARE(f103.enabledCount("PB1"), 11); // other pins unaffected
    }
}

void TestPinRules::spiChipSelectPinsLockWhileTheirSpiIsComplete()
{
    Bench f103(F103);
    f103.set("PB0", "SPI1_CS1");
    QCOMPARE(f103.enabledCount("PB0"), 11);
    f103.set(kSpi1A, kSpi1Signals);
    QCOMPARE(f103.enabledCount("PB0"), 0);
    // A chip select of another SPI is not held by SPI1.
    f103.set("PB1", "SPI2_CS1");
    QCOMPARE(f103.enabledCount("PB1"), 11);
    f103.set("PA7", "Normal_DO");
    QCOMPARE(f103.enabledCount("PB0"), 11);

    // On F407 either group holds the chip selects.
    Bench f407(F407);
    f407.set("PB0", "SPI1_CS2");
    f407.set(kSpi1B, kSpi1Signals);
    QCOMPARE(f407.enabledCount("PB0"), 0);
    f407.set("PB4", "Normal_DI");
    QCOMPARE(f407.enabledCount("PB0"), f407.menu("PB0").size());
}

void TestPinRules::systemFunctionsAreUnique()
{
    Bench f103(F103);
    QVERIFY(f103.enabled("PA1", "SYS_RunLed"));
    f103.choose("PA0", "SYS_RunLed");
    QCOMPARE(f103.text("PA0"), QString("SYS_RunLed"));
    QVERIFY(!f103.enabled("PA1", "SYS_RunLed"));
    QVERIFY(!f103.enabled("PC0", "SYS_RunLed"));
    QVERIFY(!f103.enabled("PA0", "SYS_RunLed"));
    QVERIFY(f103.enabled("PA1", "SYS_INIT"));
    QVERIFY(f103.enabled("PA1", "SYS_FaultLed"));
    QVERIFY(f103.enabled("PA1", "SYS_WatchDog"));
    QVERIFY(f103.enabled("PA1", "Normal_DI"));
    f103.choose("PA0", "ClearPin");
    QVERIFY(f103.enabled("PA1", "SYS_RunLed"));
}

void TestPinRules::choosingWritesAndFillsFreePartners()
{
    Bench f103(F103);
    PinBoard::Outcome out = f103.choose("PA9", "USART1_TX");
    QCOMPARE(f103.text("PA9"), QString("USART1_TX"));
    QCOMPARE(f103.text("PA10"), QString("USART1_RX"));
    QCOMPARE(f103.changedPins(out), QStringList({"PA9", "PA10"}));
    QVERIFY(out.changes.at(0).assigned && out.changes.at(1).assigned);
    QVERIFY(out.fired.isEmpty());

    Bench occupied(F103);
    occupied.set("PA10", "Normal_DI");
    out = occupied.choose("PA9", "USART1_TX");
    QCOMPARE(occupied.text("PA10"), QString("Normal_DI"));
    QCOMPARE(occupied.changedPins(out), QStringList({"PA9"}));

    // From the RX side too, and UART5 across two ports.
    Bench rx(F103);
    rx.choose("PD2", "UART5_RX");
    QCOMPARE(rx.text("PC12"), QString("UART5_TX"));

    // SPI: both other pins, each only when free.
    Bench spi(F103);
    spi.set("PA7", "Normal_DO");
    out = spi.choose("PA6", "SPI1_MISO");
    QCOMPARE(spi.text("PA5"), QString("SPI1_SCK"));
    QCOMPARE(spi.text("PA7"), QString("Normal_DO"));
    QCOMPARE(spi.changedPins(out), QStringList({"PA6", "PA5"}));

    // A non-group function writes only its own pin.
    Bench single(F103);
    out = single.choose("PA5", "DAC_OUT2");
    QCOMPARE(single.changedPins(out), QStringList({"PA5"}));
    QCOMPARE(single.board.applyChoice(single.at("PA5"), 99, " ").changes.size(), 0);
    QCOMPARE(single.board.applyChoice(single.at("VDD1"), 0, " ").changes.size(), 0);
}

void TestPinRules::clearingFreesSerialPartners()
{
    Bench f103(F103);
    f103.choose("PA9", "USART1_TX");
    PinBoard::Outcome out = f103.choose("PA9", "ClearPin");
    QCOMPARE(f103.text("PA9"), QString(" "));
    QCOMPARE(f103.text("PA10"), QString(" "));
    QCOMPARE(f103.changedPins(out), QStringList({"PA9", "PA10"}));
    QVERIFY(!out.changes.at(0).assigned);

    Bench kept(F103);
    kept.choose("PA10", "USART1_RX");
    kept.set("PA9", "Normal_DO");
    kept.choose("PA10", "ClearPin");
    QCOMPARE(kept.text("PA9"), QString("Normal_DO"));
}

void TestPinRules::clearingAnSpiPinClearsItsChipSelects()
{
    Bench f103(F103);
    f103.set(kSpi1A, kSpi1Signals);
    f103.set("PB0", "SPI1_CS1");
    f103.set("PC4", "SPI2_CS1");
    PinBoard::Outcome out = f103.choose("PA5", "ClearPin");
    QCOMPARE(f103.changedPins(out), QStringList({"PA5", "PA6", "PA7", "PB0"}));
    QCOMPARE(out.count(PinBoard::SignalSPI1), 1);
    QCOMPARE(out.fired.size(), 1);
    QCOMPARE(f103.text("PC4"), QString("SPI2_CS1"));

    // One signal per chip-select pin freed.
    Bench three(F103);
    three.set(kSpi1A, kSpi1Signals);
    three.set(QStringList{"PB0", "PB1", "PC0"}, QStringList{"SPI1_CS1", "SPI1_CS2", "SPI1_CS3"});
    out = three.choose("PA7", "ClearPin");
    QCOMPARE(out.count(PinBoard::SignalSPI1), 3);
    QVERIFY(three.withText("SPI1").isEmpty());

    // Without both partners the chip selects stay.
    Bench partial(F103);
    partial.set(QStringList{"PA5", "PA6"}, QStringList{"SPI1_SCK", "SPI1_MISO"});
    partial.set("PB0", "SPI1_CS1");
    out = partial.choose("PA5", "ClearPin");
    QCOMPARE(partial.changedPins(out), QStringList({"PA5"}));
    QCOMPARE(partial.text("PA6"), QString("SPI1_MISO"));
    QCOMPARE(partial.text("PB0"), QString("SPI1_CS1"));
    QVERIFY(out.fired.isEmpty());
}

void TestPinRules::sharedSpiPinsClearTheRightSpi()
{
    // SPI3 on PB3..PB5 while SPI1 is complete on PA5..PA7: clearing PB3 must
    // take SPI3's chip selects, never SPI1's.
    Bench f407(F407);
    f407.set(kSpi1B, kSpi3Signals);
    f407.set(kSpi1A, kSpi1Signals);
    f407.set(QStringList{"PC0", "PC1"}, QStringList{"SPI1_CS1", "SPI3_CS1"});
    PinBoard::Outcome out = f407.choose("PB3", "ClearPin");
    QCOMPARE(f407.text("PC0"), QString("SPI1_CS1"));
    QCOMPARE(f407.text("PC1"), QString(" "));
    QCOMPARE(f407.text("PB4"), QString(" "));
    QCOMPARE(out.count(PinBoard::SignalSPI3), 1);
    QCOMPARE(out.count(PinBoard::SignalSPI1), 0);

    Bench spi1(F407);
    spi1.set(kSpi1B, kSpi1Signals);
    spi1.set("PC0", "SPI1_CS1");
    out = spi1.choose("PB5", "ClearPin");
    QCOMPARE(out.count(PinBoard::SignalSPI1), 1);
    QVERIFY(spi1.withText("SPI").isEmpty());
}

void TestPinRules::clearingABoardPinFreesItsChipSelects()
{
    struct Case
    {
        const char *function;
        const char *select;
        PinBoard::SelectSignal signal;
    };
    const Case cases[] = {{"Normal_DI", "DI_CS", PinBoard::SignalDI},
                          {"Normal_DO", "DO_CS", PinBoard::SignalDO},
                          {"ADC12_IN8", "AI_CS", PinBoard::SignalAI},
                          {"DAC_OUT1", "AO_CS", PinBoard::SignalAO}};
    for (const Case &c : cases) {
        Bench f103(F103);
        f103.set("PA4", c.function);
        f103.set(
            QStringList{"PC0", "PC1", "PC2"},
            QStringList{QString(c.select) + "4", QString(c.select) + "3", QString(c.select) + "2"});
        f103.set("PC3", "DI_CS1");
        if (QLatin1String(c.select) == QLatin1String("DI_CS"))
            f103.set("PC3", "DO_CS1");
        PinBoard::Outcome out = f103.choose("PA4", "ClearPin");
        QCOMPARE(out.count(c.signal), 3);
        QCOMPARE(out.fired.size(), 3);
        QVERIFY(f103.withText(c.select).isEmpty());
        QVERIFY(!f103.board.isFree(f103.at("PC3")));
    }

    // The function before the choice decides, not the function after it.
    Bench other(F103);
    other.set("PA4", "EXIT");
    other.set("PC0", "DI_CS1");
    PinBoard::Outcome out = other.board.applyFunction(other.at("PA4"), "ClearPin", "EXIT");
    QVERIFY(out.fired.isEmpty());
    QCOMPARE(other.text("PC0"), QString("DI_CS1"));
    // Any other function over a DI pin frees them as ClearPin does, so that
    // no chip select is left locked without a row; another input keeps them.
    other.set("PA4", "Normal_DI");
    out = other.choose("PA4", "Normal_DI");
    QVERIFY(out.fired.isEmpty());
    out = other.choose("PA4", "Normal_DO");
    QCOMPARE(out.count(PinBoard::SignalDI), 1);
    QVERIFY(other.board.isFree(other.at("PC0")));
}

void TestPinRules::spiAlternativeGroupsOnF407()
{
    Bench f407(F407);
    // Neither complete: both offered.
    QVERIFY(f407.enabled("PA5", "SPI1_SCK"));
    QVERIFY(f407.enabled("PB3", "SPI1_SCK"));
    QVERIFY(f407.enabled("PB3", "SPI3_SCK"));

    f407.set(kSpi1A, kSpi1Signals);
    QVERIFY(!f407.enabled("PB3", "SPI1_SCK"));
    QVERIFY(!f407.enabled("PB4", "SPI1_MISO"));
    QVERIFY(f407.enabled("PB3", "SPI3_SCK")); // another SPI's entry on the same pin
    QVERIFY(f407.enabled("PA5", "SPI1_SCK"));
    QVERIFY(f407.enabled("PB3", "Normal_DI"));

    Bench onB(F407);
    onB.set(kSpi1B, kSpi1Signals);
    QVERIFY(!onB.enabled("PA5", "SPI1_SCK"));
    QVERIFY(!onB.enabled("PA7", "SPI1_MOSI"));
    QVERIFY(onB.enabled("PB3", "SPI1_SCK"));
    // Group A wins when both are complete.
    onB.set(kSpi1A, kSpi1Signals);
    QVERIFY(onB.enabled("PA5", "SPI1_SCK"));
    QVERIFY(!onB.enabled("PB3", "SPI1_SCK"));

    // SPI2's second group spans two ports.
    Bench spi2(F407);
    spi2.set(QStringList{"PB13", "PB14", "PB15"},
             QStringList{"SPI2_SCK", "SPI2_MISO", "SPI2_MOSI"});
    QVERIFY(!spi2.enabled("PC2", "SPI2_MISO"));
    QVERIFY(!spi2.enabled("PB10", "SPI2_SCK"));
    QVERIFY(spi2.enabled("PB10", "USART3_TX"));

    // The group rule overrides a lock: an SPI chip select on PA5 with SPI1
    // complete on B keeps SPI1_SCK off on PA5 either way.
    Bench locked(F407);
    locked.set(kSpi1B, kSpi1Signals);
    locked.set("PA5", "SPI1_CS1");
    QCOMPARE(locked.enabledCount("PA5"), 0);
}

void TestPinRules::serialAlternativeGroupsOnF407()
{
    Bench usart2(F407);
    QVERIFY(usart2.enabled("PA2", "USART2_TX"));
    QVERIFY(usart2.enabled("PD5", "USART2_TX"));
    usart2.choose("PA2", "USART2_TX");
    QCOMPARE(usart2.text("PA3"), QString("USART2_RX"));
    QVERIFY(!usart2.enabled("PA2", "USART2_TX"));
    QVERIFY(!usart2.enabled("PA3", "USART2_RX"));
    QVERIFY(!usart2.enabled("PD5", "USART2_TX"));
    QVERIFY(!usart2.enabled("PD6", "USART2_RX"));
    QVERIFY(usart2.enabled("PA2", "ClearPin"));

    Bench onB(F407);
    onB.set(QStringList{"PG14", "PG9"}, QStringList{"USART6_TX", "USART6_RX"});
    QVERIFY(!onB.enabled("PC6", "USART6_TX"));
    QVERIFY(!onB.enabled("PG14", "USART6_TX"));

    // USART1 follows the A-wins rule.
    Bench usart1(F407);
    usart1.set(QStringList{"PB6", "PB7"}, QStringList{"USART1_TX", "USART1_RX"});
    QVERIFY(!usart1.enabled("PA9", "USART1_TX"));
    QVERIFY(usart1.enabled("PB6", "USART1_TX"));

    // The same signal on a pin outside the groups is not affected.
    Bench usart3(F407);
    usart3.set(QStringList{"PD8", "PD9"}, QStringList{"USART3_TX", "USART3_RX"});
    QVERIFY(!usart3.enabled("PB10", "USART3_TX"));
    QVERIFY(usart3.enabled("PC10", "USART3_TX"));

    Bench uart5(F407);
    QVERIFY(uart5.enabled("PC12", "UART5_TX"));
    uart5.choose("PC12", "UART5_TX");
    QCOMPARE(uart5.text("PD2"), QString("UART5_RX"));
    QVERIFY(!uart5.enabled("PC12", "UART5_TX"));
    QVERIFY(!uart5.enabled("PD2", "UART5_RX"));
    QVERIFY(uart5.enabled("PC12", "SPI3_MOSI"));

    Bench uart4(F407);
    uart4.choose("PA0", "UART4_TX");
    QCOMPARE(uart4.text("PA1"), QString("UART4_RX"));
    QVERIFY(!uart4.enabled("PC10", "UART4_TX"));

    // On F103 the groups are not alternatives: nothing is turned off.
    Bench f103(F103);
    f103.set(QStringList{"PA2", "PA3"}, QStringList{"USART2_TX", "USART2_RX"});
    QVERIFY(f103.enabled("PA2", "USART2_TX"));
}

void TestPinRules::placingSpiChipSelects()
{
    Bench f103(F103);
    PinBoard::Outcome out = f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI2,
                                                           {"PB0", "0", "PC4"}, {"0", "0", "0"});
    QCOMPARE(f103.text("PB0"), QString("SPI2_CS1"));
    QCOMPARE(f103.text("PC4"), QString("SPI2_CS3"));
    QCOMPARE(out.changes.size(), 2);
    QVERIFY(out.fired.isEmpty());

    // Moving: the old ones are freed first, then the new ones written.
    out = f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI2, {"PC4", "PC5", "PB1", "PC0"},
                                         {"PB0", "0", "PC4"});
    QCOMPARE(f103.changedPins(out), QStringList({"PB0", "PC4", "PC4", "PC5", "PB1"}));
    QCOMPARE(f103.text("PB0"), QString(" "));
    QCOMPARE(f103.text("PC4"), QString("SPI2_CS1"));
    QCOMPARE(f103.text("PC5"), QString("SPI2_CS2"));
    QCOMPARE(f103.text("PB1"), QString("SPI2_CS3"));
    QCOMPARE(f103.text("PC0"), QString(" ")); // a fourth name is ignored

    // An empty new list leaves everything in place.
    out = f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI2, {}, {"PC4", "PC5", "PB1"});
    QVERIFY(out.changes.isEmpty());
    QCOMPARE(f103.withText("SPI2_CS").size(), 3);

    // SPI1 and SPI3 get their own prefixes.
    f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI3, {"PC0"}, {});
    QCOMPARE(f103.text("PC0"), QString("SPI3_CS1"));
}

void TestPinRules::placingBoardChipSelects()
{
    Bench f103(F103);
    const QStringList pins{"PC0", "PC1", "PC2", "PC3", "PB0", "PB1", "PC4", "PC5"};
    PinBoard::Outcome out =
        f103.board.placeBoardChipSelects(CPinDescriptions::DlgDI, pins, {}, {"PA0", "PA1"});
    QStringList texts;
    for (const QString &pin : pins)
        texts << f103.text(pin);
    QCOMPARE(texts, QStringList({"DI_CS4", "DI_CS3", "DI_CS2", "DI_CS1", "DI_CS4", "DI_CS3",
                                 "DI_CS2", "DI_CS1"}));
    QCOMPARE(out.changes.size(), 8);

    // Unused bits ("无") name no pin; old pins are freed.
    out = f103.board.placeBoardChipSelects(
        CPinDescriptions::DlgDI, {QString::fromUtf8("无"), "PA8", "PA11", "PC0"}, pins, {"PA0"});
    QCOMPARE(f103.withText("DI_CS"), QStringList({"PC0=DI_CS1", "PA8=DI_CS3", "PA11=DI_CS2"}));

    for (auto type : {CPinDescriptions::DlgDO, CPinDescriptions::DlgAI, CPinDescriptions::DlgAO}) {
        Bench b(F103);
        b.board.placeBoardChipSelects(type, {"PC0", "PC1", "PC2", "PC3"}, {}, {"PA0"});
        QCOMPARE(b.text("PC0"), ChipFacts::chipSelectPrefix(type) + "4");
        QCOMPARE(b.text("PC3"), ChipFacts::chipSelectPrefix(type) + "1");
    }
}

void TestPinRules::placementsRejectBadInput()
{
    Bench f103(F103);
    const QStringList four{"PC0", "PC1", "PC2", "PC3"};
    auto none = [&](const PinBoard::Outcome &out) { return out.changes.isEmpty(); };
    QVERIFY(none(f103.board.placeBoardChipSelects(CPinDescriptions::DlgDI, four + four, {},
                                                  {"PA0"}))); // 8 names, 1 board
    QVERIFY(none(f103.board.placeBoardChipSelects(CPinDescriptions::DlgDI, four, {}, {})));
    QVERIFY(none(f103.board.placeBoardChipSelects(CPinDescriptions::DlgDI, {}, four, {"PA0"})));
    QVERIFY(none(f103.board.placeBoardChipSelects(CPinDescriptions::DlgSPI1, four, {}, {"PA0"})));
    QVERIFY(none(f103.board.placeSpiChipSelects(CPinDescriptions::DlgDI, four, {})));
    QVERIFY(none(f103.board.placeSpiChipSelects(CPinDescriptions::DlgNone, four, {})));
    QVERIFY(f103.withText("_CS").isEmpty());

    // Names from a file that point at fixed or power pins are not written.
    f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI1, {"PB2", "VDD1", "PX9"}, {});
    QCOMPARE(f103.text("PB2"), QString("BOOT1"));
    QCOMPARE(f103.text("VDD1"), QString(" "));
    // An old name whose pin was given another function meanwhile keeps it.
    f103.set("PC0", "Normal_DI");
    f103.board.placeSpiChipSelects(CPinDescriptions::DlgSPI1, {"PC1"}, {"PC0"});
    QCOMPARE(f103.text("PC0"), QString("Normal_DI"));
    QCOMPARE(f103.text("PC1"), QString("SPI1_CS1"));
}

// Each row is a sequence of steps on a board, then what must hold:
//   set:PIN=TEXT     writes a pin directly (a project being opened)
//   choose:PIN=ENTRY picks a menu entry, as the user does
//   spi1:PINS        the SPI1 table places chip selects on PINS (comma list)
//   keep1:PINS       SPI1's list names only PINS: other SPI1 chip selects go
//   is:PIN=TEXT      the pin carries TEXT afterwards
//   off:PIN=ENTRY    the pin's menu shows ENTRY disabled
void TestPinRules::noAssignmentIsDroppedSilently_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("board chip select stays locked on a serial group")
        << F407
        << QStringList{"set:PA9=DI_CS1", "off:PA9=USART1_TX", "off:PA9=Normal_DO", "is:PA9=DI_CS1"};
    QTest::newRow("spi chip select stays locked on an spi group")
        << F407
        << QStringList{"choose:PA5=SPI1_SCK", "set:PB13=SPI1_CS1", "off:PB13=SPI2_SCK",
                       "is:PB13=SPI1_CS1"};
    QTest::newRow("chip select never lands on an occupied pin")
        << F103
        << QStringList{"choose:PA5=SPI1_SCK", "set:PB0=Normal_DI", "spi1:PB0,PB1",
                       "is:PB0=Normal_DI", "is:PB1=SPI1_CS2"};
    QTest::newRow("clearing a serial pin keeps another port's partner")
        << F407
        << QStringList{"set:PA0=UART4_TX",      "set:PA1=ETH_MII_RX_CLK", "choose:PA0=ClearPin",
                       "is:PA1=ETH_MII_RX_CLK", "set:PC10=UART4_TX",      "set:PC11=USART3_RX",
                       "choose:PC10=ClearPin",  "is:PC11=USART3_RX"};
    QTest::newRow("clearing a serial pin frees its own partner")
        << F407
        << QStringList{"choose:PA0=UART4_TX", "is:PA1=UART4_RX", "choose:PA0=ClearPin", "is:PA1= "};
    QTest::newRow("a digital input that becomes an output frees its chip selects")
        << F103
        << QStringList{"set:PA0=Normal_DI", "set:PC0=DI_CS4", "choose:PA0=Normal_DO", "is:PC0= "};
    QTest::newRow("a chip select the list does not name is freed")
        << F103
        << QStringList{
               "choose:PA5=SPI1_SCK", "set:PB0=SPI1_CS1", "keep1:PB1", "spi1:PB1", "is:PB0= ",
               "is:PB1=SPI1_CS1"};
}

void TestPinRules::noAssignmentIsDroppedSilently()
{
    QFETCH(QString, chip);
    QFETCH(QStringList, steps);
    Bench b(chip);
    for (const QString &step : steps) {
        const QString verb = step.section(':', 0, 0);
        const QString what = step.section(':', 1);
        const QString pin = what.section('=', 0, 0);
        const QString text = what.section('=', 1);
        if (verb == "set")
            b.set(pin, text);
        else if (verb == "choose")
            b.choose(pin, text);
        else if (verb == "spi1")
            b.board.placeSpiChipSelects(CPinDescriptions::DlgSPI1, what.split(','), {});
        else if (verb == "keep1")
            b.board.releaseUnusedChipSelects(CPinDescriptions::DlgSPI1, what.split(','));
        else if (verb == "is")
            QVERIFY2(b.text(pin) == text, qPrintable(step + " but is " + b.text(pin)));
        else if (verb == "off")
            QVERIFY2(!b.enabled(pin, text), qPrintable(step));
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

QTEST_GUILESS_MAIN(TestPinRules)
#include "tst_pinrules.moc"
