#include "chipfacts.h"
#include "dlgdescription.h"
#include "golden.h"
#include "pindescriptions.h"
#include "projectcompare.h"
#include "projectdata.h"
#include "softwareinitialization.h"

#include <QtTest>

// The catalogue's keys, option orders, titles and file names are part of the
// project file and configuration-table formats, and its pin lists are the
// drawing: a changed character or order breaks every stored project. They
// are written out and compared with golden files under tests/data/catalogue/
// (read once by eye against the datasheets and the table layout).
// MIREL_UPDATE_GOLDEN=1 writes the files anew.
namespace {

using D = CPinDescriptions;

QString line(const char *name, const QStringList &values)
{
    return QString::fromLatin1(name) + QStringLiteral(" = ") + values.join(QStringLiteral(" | "));
}

#define TEXT(object, member) line(#member, QStringList{object.member})
#define LIST(object, member) line(#member, object.member)

QStringList vocabulary()
{
    const CDlgDescription d;
    QStringList out{TEXT(d, type),
                    TEXT(d, iSSelectRAM),
                    TEXT(d, pin),
                    TEXT(d, mode),
                    TEXT(d, inputMode),
                    TEXT(d, triggerMode),
                    TEXT(d, triggerWay),
                    TEXT(d, prePriority),
                    TEXT(d, subPriority),
                    TEXT(d, speed),
                    TEXT(d, index),
                    TEXT(d, count),
                    TEXT(d, sliceSelectPinIsEnble),
                    TEXT(d, sliceSelectPin3Bit),
                    TEXT(d, sliceSelectPin2Bit),
                    TEXT(d, sliceSelectPin1Bit),
                    TEXT(d, sliceSelectPin0Bit),
                    TEXT(d, systemPin),
                    TEXT(d, noneText),
                    LIST(d, usartKeys),
                    LIST(d, socketKeys),
                    LIST(d, spiKeys),
                    LIST(d, networkKeys),
                    LIST(d, enableOptions),
                    LIST(d, diInputModes),
                    LIST(d, doOutputModes),
                    LIST(d, doSpeeds),
                    LIST(d, exitInputModes),
                    LIST(d, exitTriggerModes),
                    LIST(d, exitTriggerWays),
                    LIST(d, prePriorities),
                    LIST(d, subPriorities),
                    LIST(d, baudRates),
                    LIST(d, dataBitOptions),
                    LIST(d, stopBitOptions),
                    LIST(d, parityOptions),
                    LIST(d, portApplications),
                    LIST(d, socketApplications),
                    LIST(d, spiCommunicationModes),
                    LIST(d, spiWorkModes),
                    LIST(d, spiDataFrames),
                    LIST(d, spiClockStates),
                    LIST(d, spiCaptureEdges),
                    LIST(d, spiCsModes),
                    LIST(d, spiPrescalers),
                    LIST(d, spiFirstBits),
                    LIST(d, spiCrcPolynomials),
                    LIST(d, film1Applications),
                    LIST(d, film2Applications),
                    LIST(d, film3Applications),
                    LIST(d, reservedOptions1),
                    LIST(d, reservedOptions2),
                    LIST(d, addressingOptions),
                    TEXT(d, titleDI),
                    TEXT(d, titleDO),
                    TEXT(d, titleAI),
                    TEXT(d, titleAO),
                    TEXT(d, titleSYS),
                    TEXT(d, titleEXIT),
                    TEXT(d, titleUSART),
                    TEXT(d, titleSPI),
                    TEXT(d, titleNewProject),
                    LIST(d, headersDI),
                    LIST(d, headersDO),
                    LIST(d, headersAI),
                    LIST(d, headersAO),
                    LIST(d, headersEXIT),
                    LIST(d, headersWireless),
                    LIST(d, headersUSART),
                    LIST(d, headersNetwork),
                    LIST(d, headersSPI),
                    LIST(d, headersSYS),
                    LIST(d, headersChipSelect),
                    LIST(d, headersSocket),
                    LIST(d, headersFilmNetwork),
                    TEXT(d, socketName),
                    TEXT(d, filmName),
                    TEXT(d, titleWireless),
                    TEXT(d, titleNetwork),
                    TEXT(d, configureBaseName),
                    TEXT(d, configTableFileName),
                    TEXT(d, firmwareFileName),
                    TEXT(d, primaryFunctionFileName),
                    TEXT(d, clientFunctionFileName),
                    TEXT(d, driveFileName),
                    TEXT(d, uploadDirectory),
                    TEXT(d, uploadProjectFileName)};

    const CSoftwareInitialization s;
    out << TEXT(s, settingsFileName) << TEXT(s, projectSection) << TEXT(s, projectKey)
        << TEXT(s, languageSection) << TEXT(s, languageKey) << TEXT(s, transferSection)
        << TEXT(s, timeoutKey) << TEXT(s, retriesKey) << TEXT(s, verifyKey)
        << TEXT(s, recentSection) << TEXT(s, recentKey) << TEXT(s, windowTitle);

    const CPinDescriptions c(false);
    out << TEXT(c, chipF103) << TEXT(c, chipF407) << TEXT(c, normalDI) << TEXT(c, normalDO)
        << TEXT(c, adc) << TEXT(c, dac) << TEXT(c, exit) << TEXT(c, clearPin) << TEXT(c, sysInit)
        << TEXT(c, sysRunLed) << TEXT(c, sysFaultLed) << TEXT(c, sysWatchDog)
        << LIST(c, spiChipSelects) << LIST(c, boardChipSelects) << TEXT(c, ocsIn) << TEXT(c, ocsOut)
        << TEXT(c, nrst) << TEXT(c, boot1) << TEXT(c, boot0) << LIST(c, externalBusNames)
        << TEXT(c, sectionChip) << TEXT(c, sectionChipModel) << TEXT(c, sectionFsmc)
        << TEXT(c, sectionDesc) << TEXT(c, sectionDI) << TEXT(c, sectionDO) << TEXT(c, sectionAI)
        << TEXT(c, sectionAO) << TEXT(c, sectionExit) << LIST(c, sectionUsart)
        << LIST(c, sectionWireless) << LIST(c, sectionSpi) << TEXT(c, sectionSys)
        << LIST(c, sectionNetwork) << LIST(c, usartNames) << TEXT(c, usart) << TEXT(c, uart)
        << LIST(c, spiNames) << TEXT(c, spi) << LIST(c, timerNames) << TEXT(c, sys)
        << LIST(c, usartTxNames) << LIST(c, usartRxNames) << LIST(c, spiSckNames)
        << LIST(c, spiMisoNames) << LIST(c, spiMosiNames) << TEXT(c, sck) << TEXT(c, miso)
        << TEXT(c, mosi) << line("commonFunctions", CPinDescriptions::commonFunctions());

    for (D::DlgType t : {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT, D::DlgSYS})
        out << line(QMetaEnum::fromType<D::DlgType>().valueToKey(t), rowKeys(t)) +
                   QStringLiteral(" (%1 strings a row)").arg(stringsPerRow(t));
    return out;
}

// Every pin of a package: its name, what it is, the functions it offers
// (and, where they differ, those offered with external RAM).
QStringList pins(const QString &chip)
{
    const CPinDescriptions plain(false);
    const CPinDescriptions ram(true);
    QMap<int, QString> roles;
    for (int index : plain.powerPins(chip))
        roles[index] = QStringLiteral("power");
    for (const auto &fixed : plain.fixedPins(chip))
        roles[fixed.first] = QStringLiteral("fixed ") + fixed.second;
    if (ChipFacts::hasExternalBus(chip))
        for (const auto &bus : plain.externalBusPins())
            roles[bus.first] += QStringLiteral("external bus ") + bus.second;
    QStringList out;
    const QStringList names = plain.pinNames(chip);
    for (int i = 0; i < names.size(); ++i) {
        const QStringList offered = plain.functionsOf(chip, names.at(i));
        QString text = QStringLiteral("%1 %2").arg(i + 1).arg(names.at(i));
        if (roles.contains(i))
            text += QStringLiteral(" [") + roles.value(i) + QLatin1Char(']');
        out << text + QStringLiteral(": ") + offered.join(QStringLiteral(" | "));
        if (ram.functionsOf(chip, names.at(i)) != offered)
            out << QStringLiteral("    with external RAM: ") +
                       ram.functionsOf(chip, names.at(i)).join(QStringLiteral(" | "));
    }
    return out;
}

// The lists of a new project (the pin names are in the pin files).
QStringList freshProjects()
{
    QStringList out;
    for (const auto &[chip, withRam] : {std::pair<QString, bool>{ChipFacts::F103, false},
                                        {ChipFacts::F407, false},
                                        {ChipFacts::F407, true}}) {
        const QString title = QStringLiteral("%1 external RAM %2: ").arg(chip).arg(withRam);
        for (const auto &list : ProjectCompare::namedLists(ProjectData::fresh(chip, withRam)))
            if (list.first != QLatin1String("pinNames"))
                out << title + list.first + QStringLiteral(" = ") +
                           list.second.join(QStringLiteral(" | "));
    }
    return out;
}

} // namespace

class TestCatalogue : public QObject
{
    Q_OBJECT
private slots:
    void matchesGoldenFile_data();
    void matchesGoldenFile();
};

void TestCatalogue::matchesGoldenFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("vocabulary") << "catalogue/vocabulary.txt" << vocabulary();
    QTest::newRow("STM32F103RE pins") << "catalogue/pins-STM32F103RE.txt" << pins(ChipFacts::F103);
    QTest::newRow("STM32F407ZG pins") << "catalogue/pins-STM32F407ZG.txt" << pins(ChipFacts::F407);
    QTest::newRow("new projects") << "catalogue/new-projects.txt" << freshProjects();
}

void TestCatalogue::matchesGoldenFile()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    const QString difference = Golden::difference(file, lines);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
