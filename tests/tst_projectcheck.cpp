#include "chipfacts.h"
#include "dlgdescription.h"
#include "filecheck.h"
#include "projectcheck.h"
#include "projectfile.h"
#include "projectsync.h"
#include "projecttexts.h"
#include "tablefixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using D = CPinDescriptions;

Q_DECLARE_METATYPE(ProjectData)

namespace {

const QString F103 = ChipFacts::F103;
const QString F407 = ChipFacts::F407;

using TableFixtures::rowsOf;
using TableFixtures::rowValue;
using TableFixtures::saved;
using TableFixtures::setRowValue;
using TableFixtures::setValue;
using TableFixtures::spiProject;

int column(D::DlgType type, const QString &key)
{
    return int(rowKeys(type).indexOf(key));
}

// The window's row (1-based) of a serial or SPI key.
int keyRow(const QStringList &keys, const QString &key)
{
    return int(keys.indexOf(key)) + 1;
}

QString optionCount(D::DlgType type, const QString &key)
{
    return QString::number(ProjectTexts::optionsOf(CDlgDescription(), type, key).size());
}

QVector<ProjectProblem> errorsOf(const QVector<ProjectProblem> &problems)
{
    QVector<ProjectProblem> errors;
    for (const ProjectProblem &problem : problems)
        if (problem.severity == ProjectProblem::Error)
            errors << problem;
    return errors;
}

// The words of a message without what names the cell, the values and the
// numbers: the same for the same kind of change in any table.
QString wording(const ProjectProblem &problem)
{
    return QString(problem.message)
        .remove(QRegularExpression(QStringLiteral("“[^”]*”")))
        .remove(problem.columnTitle)
        .remove(ProjectTexts::tableName(problem.table))
        .remove(QRegularExpression(QStringLiteral("\\d")));
}

// The wording of the one warning of a file; empty unless there is one.
QString onlyWarning(const ProjectData &file)
{
    const QVector<ProjectProblem> warnings = FileCheck::readWarnings(file);
    return warnings.size() == 1 ? wording(warnings.first()) : QString();
}

// A problem as the rows of everyErrorHasItsCell give it: severity, table,
// row, the key the window shows in its cell ("-" for none) and value.
QString placed(const ProjectProblem &problem)
{
    const CDlgDescription text;
    const QStringList keys = rowKeys(problem.table);
    const QStringList &portKeys = problem.table >= D::DlgSPI1 ? text.spiKeys : text.usartKeys;
    QString key = problem.column < 0 ? QStringLiteral("-")
                  : keys.isEmpty()   ? portKeys.value(problem.row - 1)
                                     : keys.value(problem.column);
    // A film's or a socket's field: "Film2Application/2:IP地址".
    if (problem.unit > 0)
        key += QStringLiteral("/%1:%2").arg(problem.unit).arg(problem.columnTitle);
    const QString table = ProjectTexts::tableName(problem.table);
    return QStringList{problem.severity == ProjectProblem::Error ? "error" : "warning",
                       table.isEmpty() ? "-" : table, QString::number(problem.row), key,
                       problem.value}
        .join(QLatin1Char(' '));
}

} // namespace

class TestProjectCheck : public QObject
{
    Q_OBJECT
private slots:
    void droppedValuesAreWarnedOf_data();
    void droppedValuesAreWarnedOf();
    void aBitGoesWithTheBitBelowIt();
    void eachKindOfChangeHasItsWords();
    void whatTheProgramWroteHasNoWarnings_data();
    void whatTheProgramWroteHasNoWarnings();
    void readCurrentGivesTheWarnings();
    void filmsSharingAChipSelect_data();
    void filmsSharingAChipSelect();
    void errorsComeFirstInTableOrder();
    void everyErrorHasItsCell_data();
    void everyErrorHasItsCell();

private:
    QTemporaryDir dir;
};

void TestProjectCheck::droppedValuesAreWarnedOf_data()
{
    const CDlgDescription text;
    QTest::addColumn<ProjectData>("file");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("otherRow");

    {
        // PA0 is a DI row, no free pin: no chip select.
        ProjectData file = saved(F407);
        const int row = setRowValue(file, D::DlgDI, "PA1", "SliceSelectPin_1Bit", "PA0");
        QTest::newRow("DI bit on a row's pin")
            << file << int(D::DlgDI) << row << column(D::DlgDI, "SliceSelectPin_1Bit") << "PA0"
            << 0;
    }
    {
        // The AO row uses bit 0 only.
        ProjectData file = saved(F103);
        const int row = setRowValue(file, D::DlgAO, "PA4", "SliceSelectPin_0Bit", "PB2");
        QTest::newRow("AO bit on a pin never offered")
            << file << int(D::DlgAO) << row << column(D::DlgAO, "SliceSelectPin_0Bit") << "PB2"
            << 0;
    }
    {
        ProjectData file = saved(F407);
        QVERIFY(setValue(file.spiInformation[0], "SliceSelect2Pin", "PA1"));
        QTest::newRow("SPI1 chip select on a DI pin")
            << file << int(D::DlgSPI1) << keyRow(text.spiKeys, "SliceSelect2Pin") << 1 << "PA1"
            << 0;
    }
    {
        ProjectData file = saved(F103);
        QVERIFY(setValue(file.spiInformation[2], "SliceSelect1Pin", "PD0"));
        QTest::newRow("SPI3 chip select on a pin never offered")
            << file << int(D::DlgSPI3) << keyRow(text.spiKeys, "SliceSelect1Pin") << 1 << "PD0"
            << 0;
    }
    {
        ProjectData file = saved(F407);
        const QString beyond = optionCount(D::DlgDO, "Mode");
        const int row = setRowValue(file, D::DlgDO, "PB0", "Mode", beyond);
        QTest::newRow("DO mode beyond its options")
            << file << int(D::DlgDO) << row << column(D::DlgDO, "Mode") << beyond << 0;
    }
    {
        ProjectData file = saved(F103);
        const int row = setRowValue(file, D::DlgEXIT, "PC8", "TriggerWay", "-1");
        QTest::newRow("EXIT trigger below its options")
            << file << int(D::DlgEXIT) << row << column(D::DlgEXIT, "TriggerWay") << "-1" << 0;
    }
    {
        // The first row cannot be "as above".
        ProjectData file = saved(F407);
        const QString pin = valueOf(file.diInformation, "1Pin");
        QCOMPARE(setRowValue(file, D::DlgDI, pin, "SliceSelectPinIsEnble", "2"), 1);
        QTest::newRow("DI first row's enable as above")
            << file << int(D::DlgDI) << 1 << column(D::DlgDI, "SliceSelectPinIsEnble") << "2" << 0;
    }
    {
        ProjectData file = saved(F407);
        const QString beyond = optionCount(D::DlgUSART2, "Baud");
        QVERIFY(setValue(file.usartInformation[1], "Baud", beyond));
        QTest::newRow("USART2 baud rate beyond its options")
            << file << int(D::DlgUSART2) << keyRow(text.usartKeys, "Baud") << 1 << beyond << 0;
    }
    {
        ProjectData file = saved(F103);
        QVERIFY(setValue(file.usartInformation[3], "CheckBit", "1x"));
        QTest::newRow("UART4 parity not a number")
            << file << int(D::DlgUART4) << keyRow(text.usartKeys, "CheckBit") << 1 << "1x" << 0;
    }
    {
        // PB0 is a DO row.
        ProjectData file = saved(F407);
        const int row = rowsOf(file, D::DlgDI) + 1;
        file.diInformation +=
            TableFixtures::row(D::DlgDI, row, {"PB0", "0", "9", "0", "0", "0", "0", "0"});
        QTest::newRow("DI row on a DO pin")
            << file << int(D::DlgDI) << row << column(D::DlgDI, "Pin") << "PB0" << 0;
    }
    {
        ProjectData file = saved(F103);
        const int row = rowsOf(file, D::DlgSYS) + 1;
        file.sysInformation += TableFixtures::row(D::DlgSYS, row, {"SYS_RunLed", "PC0", "0", "0"});
        QTest::newRow("SYS row on a free pin")
            << file << int(D::DlgSYS) << row << column(D::DlgSYS, "Pin") << "PC0" << 0;
    }
    {
        // The later row of a pin is the one kept.
        ProjectData file = saved(F407);
        const int row = setRowValue(file, D::DlgDI, "PA1", "Mode", "0");
        const int later = rowsOf(file, D::DlgDI) + 1;
        file.diInformation +=
            TableFixtures::row(D::DlgDI, later, {"PA1", "1", "2", "1", "0", "0", "PC1", "PC0"});
        QTest::newRow("DI pin in two rows")
            << file << int(D::DlgDI) << row << column(D::DlgDI, "Pin") << "PA1" << later;
    }
}

// One warning naming the file's table, row, column and value.
void TestProjectCheck::droppedValuesAreWarnedOf()
{
    QFETCH(ProjectData, file);
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(int, otherRow);
    QVERIFY(row > 0 && column >= 0);

    const QVector<ProjectProblem> warnings = FileCheck::readWarnings(file);
    QStringList messages;
    for (const ProjectProblem &warning : warnings)
        messages << warning.message;
    QVERIFY2(warnings.size() == 1, qPrintable(messages.join(QLatin1Char('\n'))));
    const ProjectProblem &warning = warnings.first();
    QCOMPARE(warning.severity, ProjectProblem::Warning);
    QCOMPARE(int(warning.table), table);
    QCOMPARE(warning.row, row);
    QCOMPARE(warning.column, column);
    QCOMPARE(warning.value, value);
    QCOMPARE(warning.otherRow, otherRow);
    const QString name = ProjectTexts::tableName(D::DlgType(table));
    QVERIFY2(warning.message.startsWith(name + QLatin1Char(' ')), qPrintable(warning.message));
    QVERIFY2(warning.message.contains(QString::number(row)), qPrintable(warning.message));
    QVERIFY2(warning.message.contains(value), qPrintable(warning.message));
    if (otherRow > 0)
        QVERIFY2(warning.message.contains(QString::number(otherRow)), qPrintable(warning.message));
    // A replaced option names what stands there now.
    const ProjectData opened = ProjectSync::current(file);
    const QStringList &list = *opened.tableList(D::DlgType(table));
    const bool rowTable = !rowKeys(D::DlgType(table)).isEmpty();
    const CDlgDescription text;
    const QString key = rowTable              ? rowKeys(D::DlgType(table)).at(column)
                        : table >= D::DlgSPI1 ? text.spiKeys.at(row - 1)
                                              : text.usartKeys.at(row - 1);
    if (!ProjectTexts::optionsOf(text, D::DlgType(table), key).isEmpty()) {
        const QString now = rowTable ? rowValue(opened, D::DlgType(table),
                                                rowValue(file, D::DlgType(table), row, "Pin"), key)
                                     : valueOf(list, key);
        QVERIFY2(
            warning.message.contains(ProjectTexts::valueText(text, D::DlgType(table), key, now)),
            qPrintable(warning.message));
    }
    // Opening the file once more gives no news.
    QVERIFY(FileCheck::readWarnings(opened).isEmpty());
}

// Bits count from bit 0: a bit above one that went goes with it.
void TestProjectCheck::aBitGoesWithTheBitBelowIt()
{
    ProjectData file = saved(F407);
    const int row = setRowValue(file, D::DlgDO, "PA8", "SliceSelectPin_1Bit", "PB0");
    QVERIFY(row > 0);
    const QVector<ProjectProblem> warnings = FileCheck::readWarnings(file);
    QCOMPARE(warnings.size(), 3);
    QCOMPARE(warnings.at(0).column, column(D::DlgDO, "SliceSelectPin_3Bit"));
    QCOMPARE(warnings.at(1).column, column(D::DlgDO, "SliceSelectPin_2Bit"));
    QCOMPARE(warnings.at(2).column, column(D::DlgDO, "SliceSelectPin_1Bit"));
    for (const ProjectProblem &warning : warnings)
        QCOMPARE(warning.row, row);
    // Only bit 1 sits on a pin that cannot be a chip select: its message
    // says so, those of the bits above it another thing.
    QCOMPARE(wording(warnings.at(0)), wording(warnings.at(1)));
    QVERIFY(wording(warnings.at(1)) != wording(warnings.at(2)));
}

// The same kind of change has the same words in every table, another kind
// other words.
void TestProjectCheck::eachKindOfChangeHasItsWords()
{
    ProjectData boardBit = saved(F407);
    QVERIFY(setRowValue(boardBit, D::DlgDI, "PA1", "SliceSelectPin_1Bit", "PA0") > 0);
    ProjectData filmPin = saved(F407);
    QVERIFY(setValue(filmPin.spiInformation[0], "SliceSelect2Pin", "PA1"));
    ProjectData rowOption = saved(F407);
    QVERIFY(setRowValue(rowOption, D::DlgDO, "PB0", "Mode", optionCount(D::DlgDO, "Mode")) > 0);
    ProjectData portOption = saved(F407);
    QVERIFY(setValue(portOption.usartInformation[1], "Baud", optionCount(D::DlgUSART2, "Baud")));
    // A film without an application has no chip select, whatever its pin.
    ProjectData filmless = saved(F407);
    QVERIFY(setValue(filmless.spiInformation[0], "Film2Application", "0"));

    QVERIFY(!onlyWarning(boardBit).isEmpty());
    QCOMPARE(onlyWarning(filmPin), onlyWarning(boardBit));
    QVERIFY(!onlyWarning(rowOption).isEmpty());
    QCOMPARE(onlyWarning(portOption), onlyWarning(rowOption));
    QVERIFY(onlyWarning(rowOption) != onlyWarning(boardBit));
    QVERIFY(!onlyWarning(filmless).isEmpty());
    QVERIFY(onlyWarning(filmless) != onlyWarning(filmPin));
    QVERIFY(onlyWarning(filmless) != onlyWarning(rowOption));
}

void TestProjectCheck::whatTheProgramWroteHasNoWarnings_data()
{
    QTest::addColumn<ProjectData>("file");
    for (const QString &chip : {F103, F407}) {
        QTest::newRow(qPrintable("new " + chip))
            << ProjectSync::current(ProjectData::fresh(chip, chip == F407));
        QTest::newRow(qPrintable("every table " + chip)) << saved(chip);
    }
    const QDir data(QStringLiteral(MIREL_SOURCE_DIR "/tests/data/sync"));
    const QStringList names = data.entryList({"derived*.cpro"});
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        ProjectData file;
        QString error;
        QVERIFY2(ProjectFile::read(data.filePath(name), &file, &error), qPrintable(error));
        QTest::newRow(qPrintable(name)) << file;
    }
    {
        // PA0's row is the drawing's: opening puts it behind PA1's terminals.
        ProjectData file = saved(F407);
        QVERIFY(setRowValue(file, D::DlgDI, "PA1", "Index", "1") == 2);
        QCOMPARE(valueOf(file.diInformation, "1Pin"), QStringLiteral("PA0"));
        QStringList values;
        for (const QString &key : rowKeys(D::DlgDI))
            values << valueOf(file.diInformation, "2" + key);
        file.diInformation = TableFixtures::row(D::DlgDI, 1, values);
        const ProjectData opened = ProjectSync::current(file);
        QCOMPARE(valueOf(opened.diInformation, "1Pin"), QStringLiteral("PA0"));
        QVERIFY(valueOf(opened.diInformation, "1Index") != QLatin1String("1"));
        QTest::newRow("a row the drawing adds") << file;
    }
    {
        // A section the file lacks stores nothing.
        ProjectData file = saved(F407);
        for (int i = 1; i < file.usartInformation[1].size(); i += 2)
            file.usartInformation[1][i].clear();
        QTest::newRow("a serial port without its section") << file;
    }
}

void TestProjectCheck::whatTheProgramWroteHasNoWarnings()
{
    QFETCH(ProjectData, file);
    QStringList messages;
    for (const ProjectProblem &warning : FileCheck::readWarnings(file))
        messages << warning.message;
    QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
}

void TestProjectCheck::readCurrentGivesTheWarnings()
{
    QVERIFY(dir.isValid());
    ProjectData file = saved(F407);
    QVERIFY(setRowValue(file, D::DlgDI, "PA1", "SliceSelectPin_1Bit", "PA0") > 0);
    const QString path = dir.filePath("read.cpro");
    QVERIFY(ProjectFile::write(file, path));
    ProjectData project, read;
    QVERIFY(ProjectFile::read(path, &read));
    QVector<ProjectProblem> warnings;
    QString error;
    QVERIFY2(FileCheck::readCurrent(path, &project, &warnings, &error), qPrintable(error));
    QCOMPARE(project, ProjectSync::current(read));
    QCOMPARE(ProjectCheck::warnings(warnings),
             ProjectCheck::warnings(FileCheck::readWarnings(read)));
    QCOMPARE(warnings.size(), 1);
    QVERIFY(FileCheck::readCurrent(path, &project, nullptr));
    QVERIFY(!FileCheck::readCurrent(dir.filePath("none.cpro"), &project, &warnings, &error));
    QVERIFY(!error.isEmpty());
}

void TestProjectCheck::filmsSharingAChipSelect_data()
{
    const CDlgDescription text;
    QTest::addColumn<ProjectData>("file");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("row"); // 0: no error
    QTest::addColumn<int>("otherRow");
    QTest::addColumn<QString>("pin");
    const auto films = [](const QString &a1, const QString &p1, const QString &a2,
                          const QString &p2, const QString &a3,
                          const QString &p3) { return QStringList{a1, p1, a2, p2, a3, p3}; };
    const int cs1 = keyRow(text.spiKeys, "SliceSelect1Pin");
    const int cs2 = keyRow(text.spiKeys, "SliceSelect2Pin");
    const int cs3 = keyRow(text.spiKeys, "SliceSelect3Pin");
    QTest::newRow("F407 SPI1 films 1 and 2")
        << spiProject(F407, 1, films("1", "PG6", "2", "PG6", "0", "0")) << 1 << cs2 << cs1 << "PG6";
    QTest::newRow("F407 SPI3 films 1 and 3")
        << spiProject(F407, 3, films("2", "PG6", "0", "0", "1", "PG6")) << 3 << cs3 << cs1 << "PG6";
    QTest::newRow("F103 SPI2 films 2 and 3")
        << spiProject(F103, 2, films("1", "PC0", "1", "PC3", "3", "PC3")) << 2 << cs3 << cs2
        << "PC3";
    QTest::newRow("F103 SPI1 film 2 without application")
        << spiProject(F103, 1, films("1", "PC0", "0", "PC0", "0", "0")) << 1 << 0 << 0 << "PC0";
    QTest::newRow("F407 SPI1 film 1 without application")
        << spiProject(F407, 1, films("0", "PG6", "1", "PG6", "0", "0")) << 1 << 0 << 0 << "PG6";
    QTest::newRow("F407 SPI2 different pins")
        << spiProject(F407, 2, films("1", "PG6", "1", "PG7", "1", "PG8")) << 2 << 0 << 0 << "PG6";
}

// Films with applications on one chip select: an error at the later film's
// chip select, which keeps the table from being built.
void TestProjectCheck::filmsSharingAChipSelect()
{
    QFETCH(ProjectData, file);
    QFETCH(int, port);
    QFETCH(int, row);
    QFETCH(int, otherRow);
    QFETCH(QString, pin);

    const ProjectData project = ProjectSync::current(file);
    const auto type = D::DlgType(D::DlgSPI1 + port - 1);
    // Opening keeps the chip selects of films with an application.
    if (row > 0)
        QCOMPARE(spiChipSelectPins(project, port).count(pin), 2);
    QByteArray table;
    QString error;
    for (const ProjectData &checked : {file, project}) {
        const QVector<ProjectProblem> errors = errorsOf(ProjectCheck::problems(checked));
        if (row == 0) {
            QVERIFY2(errors.isEmpty(), qPrintable(errors.value(0).message));
            QVERIFY2(ProjectCheck::buildTable(checked, &table, &error), qPrintable(error));
            continue;
        }
        QCOMPARE(errors.size(), 1);
        const ProjectProblem &problem = errors.first();
        QCOMPARE(problem.table, type);
        QCOMPARE(problem.row, row);
        QCOMPARE(problem.column, 1);
        QCOMPARE(problem.otherRow, otherRow);
        QCOMPARE(problem.value, pin);
        QVERIFY2(problem.message.startsWith(ProjectTexts::tableName(type) + QLatin1Char(' ')),
                 qPrintable(problem.message));
        QVERIFY2(problem.message.contains(pin), qPrintable(problem.message));
        QVERIFY(!ProjectCheck::buildTable(checked, &table, &error));
        QCOMPARE(error, problem.message);
    }
}

void TestProjectCheck::errorsComeFirstInTableOrder()
{
    ProjectData file = saved(F407);
    QVERIFY(setRowValue(file, D::DlgDI, "PA1", "Index", "start") > 0);
    QVERIFY(setValue(file.spiInformation[0], "SliceSelect2Pin",
                     valueOf(file.spiInformation[0], "SliceSelect1Pin")));
    QVERIFY(setRowValue(file, D::DlgDO, "PA8", "Index", valueOf(file.doInformation, "1Index")) > 0);
    const QVector<ProjectProblem> problems = ProjectCheck::problems(ProjectSync::current(file));
    QVERIFY(problems.size() >= 3);
    QCOMPARE(problems.at(0).severity, ProjectProblem::Error);
    QCOMPARE(problems.at(0).table, D::DlgDI);
    QCOMPARE(problems.at(1).severity, ProjectProblem::Error);
    QCOMPARE(problems.at(1).table, D::DlgSPI1);
    bool overlap = false;
    for (int i = 2; i < problems.size(); ++i) {
        QCOMPARE(problems.at(i).severity, ProjectProblem::Warning);
        overlap = overlap || problems.at(i).table == D::DlgDO;
    }
    QVERIFY(overlap);
}

void TestProjectCheck::everyErrorHasItsCell_data()
{
    QTest::addColumn<ProjectData>("project");
    QTest::addColumn<QStringList>("expected");
    using Edit = std::function<void(ProjectData &)>;
    const auto row = [](const char *name, const QString &chip, const Edit &edit,
                        const QStringList &expected) {
        ProjectData p = saved(chip);
        edit(p);
        QTest::newRow(name) << p << expected;
    };
    row("F407 DO mode", F407, [](ProjectData &p) { setValue(p.doInformation, "1Mode", "9"); },
        {"error DO 1 Mode 9"});
    row("F103 EXIT trigger", F103,
        [](ProjectData &p) { setValue(p.exitInformation, "2TriggerWay", "3"); },
        {"error EXIT 2 TriggerWay 3"});
    row("F103 DO terminals overlapping", F103,
        [](ProjectData &p) { setValue(p.doInformation, "2Index", "17"); },
        {"warning DO 2 Index 17"});
    const QString cs = valueOf(saved(F407).spiInformation[0], "SliceSelect1Pin");
    const Edit sharedChipSelect = [cs](ProjectData &p) {
        setValue(p.spiInformation[0], "SliceSelect2Pin", cs);
    };
    row("F407 SPI1 films on one chip select", F407, sharedChipSelect,
        {"error SPI1 16 SliceSelect2Pin " + cs});
    row("F407 SPI1 network address", F407,
        [](ProjectData &p) {
            setValue(p.networkInformation[0], "FilmApplication1IPAddr", "192.168.0.300");
        },
        {"error SPI1 13 Film1Application/1:IP地址 192.168.0.300"});
    row("F103 USART1 socket port", F103,
        [](ProjectData &p) { setValue(p.wirelessInformation[0], "PortOfSocket2", "70000"); },
        {"error USART1 7 PortApplication/2:端口号 70000"});
    // The rules of the settings windows, for films and sockets in use.
    const auto manualFilm = [](int film, const QString &ip) {
        return [film, ip](ProjectData &p) {
            setValue(p.spiInformation[2], QStringLiteral("Film%1Application").arg(film), "3");
            const QString prefix = QStringLiteral("FilmApplication%1").arg(film);
            setValue(p.networkInformation[2], prefix + "UseAutoGetIP", "2");
            setValue(p.networkInformation[2], prefix + "IPAddr", ip);
            setValue(p.networkInformation[2], prefix + "SubnetMas", "255.255.255.0");
            setValue(p.networkInformation[2], prefix + "DefaultGeteway", "192.168.1.1");
        };
    };
    row("F407 SPI3 film 3 manual without an address", F407, manualFilm(3, ""),
        {"error SPI3 17 Film3Application/3:IP地址 "});
    // Two fields of one film are two problems.
    row("F407 SPI3 film 3 without an address, its DNS server refused", F407,
        [manualFilm](ProjectData &p) {
            manualFilm(3, "")(p);
            setValue(p.networkInformation[2], "FilmApplication3PreferredDNS", "8.8.4.400");
        },
        {"error SPI3 17 Film3Application/3:IP地址 ",
         "error SPI3 17 Film3Application/3:DNS服务器 8.8.4.400"});
    // The encoder's refusal of a field the rules leave alone is told beside
    // the rules' problem of another field of the same film.
    row("F407 SPI3 film 1 addressing refused, start port too large", F407,
        [](ProjectData &p) {
            setValue(p.spiInformation[2], "Film1Application", "2");
            setValue(p.networkInformation[2], "FilmApplication1UseAutoGetIP", "5");
            setValue(p.networkInformation[2], "FilmApplication1LocalStartPort", "70000");
        },
        {"error SPI3 13 Film1Application/1:本地起始端口 70000",
         "error SPI3 13 Film1Application/1:IP地址设置 5"});
    row("F407 SPI3 film 2 incomplete address", F407, manualFilm(2, "192.168"),
        {"warning SPI3 15 Film2Application/2:IP地址 192.168"});
    row("F407 SPI3 film 2 without application", F407,
        [manualFilm](ProjectData &p) {
            manualFilm(2, "")(p);
            setValue(p.spiInformation[2], "Film2Application", "1");
        },
        {});
    row("F407 SPI3 film 1 automatic with a start port below the window's", F407,
        [](ProjectData &p) {
            setValue(p.spiInformation[2], "Film1Application", "2");
            setValue(p.networkInformation[2], "FilmApplication1LocalStartPort", "100");
        },
        {"warning SPI3 13 Film1Application/1:本地起始端口 100"});
    row("F407 SPI3 film 1 start port at the window's last", F407,
        [](ProjectData &p) {
            setValue(p.spiInformation[2], "Film1Application", "2");
            setValue(p.networkInformation[2], "FilmApplication1LocalStartPort", "65528");
        },
        {});
    const auto socketInUse = [](int port, int socket, const QString &ip) {
        return [port, socket, ip](ProjectData &p) {
            setValue(p.usartInformation[port - 1], "PortApplication", "11");
            setValue(p.wirelessInformation[port - 1],
                     QStringLiteral("ApplicationOfSocket%1").arg(socket), "3");
            setValue(p.wirelessInformation[port - 1], QStringLiteral("IPOfSocket%1").arg(socket),
                     ip);
        };
    };
    row("F407 USART6 socket 8 in use without an address", F407, socketInUse(6, 8, ""),
        {"error USART6 7 PortApplication/8:IP地址 "});
    row("F407 USART6 socket 8 not driving a module", F407,
        [socketInUse](ProjectData &p) {
            socketInUse(6, 8, "")(p);
            setValue(p.usartInformation[5], "PortApplication", "4");
        },
        {});
    row("F407 USART6 socket 8 incomplete address", F407, socketInUse(6, 8, "10.0.0"),
        {"warning USART6 7 PortApplication/8:IP地址 10.0.0"});
    row("F407 USART6 socket 8 unused, its address incomplete", F407,
        [socketInUse](ProjectData &p) {
            socketInUse(6, 8, "10.0.0")(p);
            setValue(p.wirelessInformation[5], "ApplicationOfSocket8", "0");
        },
        {});
    row("F103 external RAM", F103, [](ProjectData &p) { p.fsmcInformation[1] = "yes"; },
        {"error - 0 - yes"});
    row("unknown chip", F407, [](ProjectData &p) { p.currentChip = "STM32F030"; },
        {"error - 0 - STM32F030"});
    row("F103 DI rows beyond the count", F103,
        [](ProjectData &p) {
            p.diInformation.clear();
            for (int r = 1; r <= 256; ++r)
                p.diInformation += TableFixtures::row(
                    D::DlgDI, r, {"PA0", "0", QString::number(r), "0", "0", "0", "0", "0"});
        },
        {"error DI 0 - 256"});
    // The start terminal is refused once, in the check's words.
    row("F407 several at once", F407,
        [sharedChipSelect](ProjectData &p) {
            sharedChipSelect(p);
            setValue(p.sysInformation, "1SystemPin", "SYS_Beeper");
            setValue(p.networkInformation[0], "FilmApplication2PreferredDNS", "8.8.4.400");
            setValue(p.spiInformation[0], "BaudRatePrefrequencyValue", "8");
            setValue(p.usartInformation[1], "Baud", "99");
            setValue(p.doInformation, "1Speed", "9");
            setValue(p.doInformation, "2Mode", "9");
            setValue(p.diInformation, "2Index", "70000");
        },
        {"error DI 2 Index 70000", "error DO 1 Speed 9", "error DO 2 Mode 9",
         "error USART2 3 Baud 99", "error SPI1 10 BaudRatePrefrequencyValue 8",
         "error SPI1 15 Film2Application/2:DNS服务器 8.8.4.400",
         "error SPI1 16 SliceSelect2Pin " + cs, "error SYS 1 SystemPin SYS_Beeper"});
}

// Every value the table cannot hold, at the cell of the window showing it,
// in table order; the first is what keeps the table from being built.
void TestProjectCheck::everyErrorHasItsCell()
{
    QFETCH(ProjectData, project);
    QFETCH(QStringList, expected);
    QByteArray table;
    const QVector<ProjectProblem> problems = ProjectCheck::problems(project, &table);
    QStringList found;
    for (const ProjectProblem &problem : problems)
        found << placed(problem);
    QCOMPARE(found, expected);
    // The column's title as the table shows it; a port's parameter names its row.
    const QVector<ProjectTexts::Table> shown = ProjectTexts::tablesOf(project, CDlgDescription());
    for (const ProjectProblem &problem : problems) {
        QCOMPARE(problem.columnTitle.isEmpty(), problem.column < 0);
        if (problem.unit > 0)
            continue; // the field of a settings window
        for (const ProjectTexts::Table &window : shown)
            if (problem.column >= 0 && window.type == problem.table && window.partOf.isEmpty())
                QCOMPARE(problem.columnTitle, window.headers.size() > 2
                                                  ? window.headers.value(problem.column)
                                                  : window.rows.value(problem.row - 1).value(0));
    }
    const bool refused = ProjectCheck::hasError(problems);
    QCOMPARE(table.isEmpty(), refused);
    QString error;
    QCOMPARE(ProjectCheck::buildTable(project, &table, &error), !refused);
    QCOMPARE(error, ProjectCheck::firstError(problems).message);
}

QTEST_GUILESS_MAIN(TestProjectCheck)
#include "tst_projectcheck.moc"
