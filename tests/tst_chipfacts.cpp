#include "chipfacts.h"
#include "pindescriptions.h"
#include "tablerules.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

// The program's chip facts checked against the vendor's open pin data: a pin
// group, a chip-select pin or a package position that the chip does not have
// fails here.
class TestChipFacts : public QObject
{
    Q_OBJECT
private slots:
    void groupSignalsExistOnTheirPins_data();
    void groupSignalsExistOnTheirPins();
    void packageAndChipSelectPinsMatchThePackage_data();
    void packageAndChipSelectPinsMatchThePackage();
    void functionsBelongToTheirTables_data();
    void functionsBelongToTheirTables();
    void serialTablesOnlyForPortsThePackageHas_data();
    void serialTablesOnlyForPortsThePackageHas();
};

namespace {

// One package as the vendor's data describes it.
struct Package
{
    QStringList positions;                 // pin names, position 1 first
    QHash<QString, QStringList> signalsOf; // pin name -> signals
    QHash<QString, QString> typeOf;        // pin name -> "I/O", "Power", ...
};

QString dataFile(const QString &model)
{
    return QStringLiteral(MIREL_SOURCE_DIR "/tests/data/pin-data/") + model + "Tx.xml";
}

// Port pin names carry their extra function in the vendor's spelling
// ("PC14-OSC32_IN"); the program uses the port pin name alone.
QString portPinName(const QString &vendorName)
{
    static const QRegularExpression portPin(QStringLiteral("^P[A-G][0-9]+"));
    const QRegularExpressionMatch m = portPin.match(vendorName);
    return m.hasMatch() ? m.captured() : vendorName;
}

Package readPackage(const QString &model)
{
    Package package;
    QFile file(dataFile(model));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    QXmlStreamReader xml(&file);
    QString pin;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("Pin")) {
            pin = portPinName(xml.attributes().value("Name").toString());
            const int position = xml.attributes().value("Position").toInt();
            while (package.positions.size() < position)
                package.positions << QString();
            if (position > 0)
                package.positions[position - 1] = pin;
            package.typeOf[pin] = xml.attributes().value("Type").toString();
        } else if (xml.name() == QLatin1String("Signal") && !pin.isEmpty()) {
            package.signalsOf[pin] << xml.attributes().value("Name").toString();
        }
    }
    if (xml.hasError())
        qFatal("%s: %s", qPrintable(file.fileName()), qPrintable(xml.errorString()));
    return package;
}

const Package &package(const QString &model)
{
    static QHash<QString, Package> cache;
    if (!cache.contains(model))
        cache.insert(model, readPackage(model));
    return cache[model];
}

} // namespace

void TestChipFacts::groupSignalsExistOnTheirPins_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("signal");
    for (const QString &model : ChipFacts::models()) {
        QVector<ChipFacts::PortGroup> groups = ChipFacts::serialGroups(model);
        groups += ChipFacts::spiGroups(model);
        for (const ChipFacts::PortGroup &group : qAsConst(groups))
            for (int i = 0; i < group.pins.size(); ++i)
                QTest::addRow("%s %s%c %s", qPrintable(model), qPrintable(group.port),
                              group.variant.toLatin1(), qPrintable(group.signalNames.at(i)))
                    << model << group.pins.at(i) << group.signalNames.at(i);
    }
}

void TestChipFacts::groupSignalsExistOnTheirPins()
{
    QFETCH(QString, model);
    QFETCH(QString, pin);
    QFETCH(QString, signal);
    QVERIFY2(package(model).signalsOf.value(pin).contains(signal),
             qPrintable(pin + " carries no " + signal));
    // The pin's menu offers the signal, so the group can be chosen at all.
    const CPinDescriptions catalogue(false);
    QVERIFY2(catalogue.functionsOf(model, pin).contains(signal),
             qPrintable(pin + "'s menu lacks " + signal));
}

void TestChipFacts::packageAndChipSelectPinsMatchThePackage_data()
{
    QTest::addColumn<QString>("model");
    for (const QString &model : ChipFacts::models())
        QTest::newRow(qPrintable(model)) << model;
}

void TestChipFacts::packageAndChipSelectPinsMatchThePackage()
{
    QFETCH(QString, model);
    const Package &vendor = package(model);
    const CPinDescriptions catalogue(false);
    const QStringList pins = catalogue.pinNames(model);
    QCOMPARE(pins.size(), ChipFacts::pinCount(model));
    QCOMPARE(vendor.positions.size(), ChipFacts::pinCount(model));

    // Every port pin stands at its position; a chip select can go on every
    // port pin but the excluded ones, and each of those is an I/O pin.
    static const QRegularExpression portPin(QStringLiteral("^P[A-G][0-9]+$"));
    QStringList freePins;
    for (int i = 0; i < pins.size(); ++i) {
        if (portPin.match(vendor.positions.at(i)).hasMatch() ||
            portPin.match(pins.at(i)).hasMatch())
            QCOMPARE(pins.at(i), vendor.positions.at(i));
        freePins << QStringLiteral(" ");
    }
    const QStringList candidates = TableRules::chipSelectCandidates(
        pins, freePins, ChipFacts::chipSelectPrefix(CPinDescriptions::DlgDI));

    // Chip selects go on any port pin of the package but the fixed ones
    // (oscillator and boot pins), which never carry one.
    QStringList fixed;
    for (const auto &entry : catalogue.fixedPins(model))
        fixed << pins.value(entry.first);
    QStringList expected;
    for (const QString &pin : vendor.positions)
        if (portPin.match(pin).hasMatch() && vendor.typeOf.value(pin) == QLatin1String("I/O") &&
            !fixed.contains(pin))
            expected << pin;
    // PD0 and PD1 are the oscillator pins of the STM32F103RE; the rule keeps
    // them free on the STM32F407ZG as well.
    expected.removeAll(QStringLiteral("PD0"));
    expected.removeAll(QStringLiteral("PD1"));
    QCOMPARE(candidates, expected);
}

void TestChipFacts::functionsBelongToTheirTables_data()
{
    using D = CPinDescriptions;
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("chipSelectTable");
    QTest::newRow("digital input") << "Normal_DI" << int(D::DlgDI) << int(D::DlgNone);
    QTest::newRow("analogue input") << "ADC123_IN10" << int(D::DlgAI) << int(D::DlgNone);
    QTest::newRow("analogue output") << "DAC_OUT1" << int(D::DlgAO) << int(D::DlgNone);
    QTest::newRow("interrupt") << "EXIT" << int(D::DlgEXIT) << int(D::DlgNone);
    QTest::newRow("uart 4") << "UART4_RX" << int(D::DlgUART4) << int(D::DlgNone);
    QTest::newRow("usart 6") << "USART6_TX" << int(D::DlgUSART6) << int(D::DlgNone);
    QTest::newRow("spi clock") << "SPI2_SCK" << int(D::DlgSPI2) << int(D::DlgNone);
    QTest::newRow("system pin") << "SYS_WatchDog" << int(D::DlgSYS) << int(D::DlgNone);
    QTest::newRow("board chip select") << "AO_CS3" << int(D::DlgNone) << int(D::DlgAO);
    QTest::newRow("spi chip select") << "SPI3_CS2" << int(D::DlgNone) << int(D::DlgSPI3);
    QTest::newRow("timer") << "TIM1_CH2" << int(D::DlgNone) << int(D::DlgNone);
    QTest::newRow("free") << " " << int(D::DlgNone) << int(D::DlgNone);
}

void TestChipFacts::functionsBelongToTheirTables()
{
    QFETCH(QString, function);
    QFETCH(int, table);
    QFETCH(int, chipSelectTable);
    QCOMPARE(int(ChipFacts::tableOf(function)), table);
    QCOMPARE(int(ChipFacts::chipSelectTableOf(function)), chipSelectTable);
}

void TestChipFacts::serialTablesOnlyForPortsThePackageHas_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("port");
    for (const QString &model : ChipFacts::models())
        for (int port = 1; port <= ChipFacts::serialPorts().size(); ++port)
            QTest::addRow("%s %s", qPrintable(model),
                          qPrintable(ChipFacts::serialPorts().at(port - 1)))
                << model << port;
}

void TestChipFacts::serialTablesOnlyForPortsThePackageHas()
{
    QFETCH(QString, model);
    QFETCH(int, port);
    const QString transmit = ChipFacts::serialPorts().at(port - 1) + "_TX";
    bool onThePackage = false;
    for (const QStringList &signalNames : package(model).signalsOf)
        onThePackage = onThePackage || signalNames.contains(transmit);
    const auto table = CPinDescriptions::DlgType(CPinDescriptions::DlgUSART1 + port - 1);
    QCOMPARE(ChipFacts::hasTable(model, table), onThePackage);
    QVERIFY(ChipFacts::hasTable(model, CPinDescriptions::DlgSPI3));
    QVERIFY(!ChipFacts::hasTable(QStringLiteral("STM32F100"), table));
}

QTEST_GUILESS_MAIN(TestChipFacts)
#include "tst_chipfacts.moc"
