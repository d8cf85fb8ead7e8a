// mirel-cli check, and what the other commands say of a project's problems.

#include "chipfacts.h"
#include "clirun.h"
#include "filecheck.h"
#include "projectcheck.h"
#include "projectfile.h"
#include "projectsync.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

using D = CPinDescriptions;
using TableFixtures::saved;
using TableFixtures::setRowValue;
using TableFixtures::setValue;

Q_DECLARE_METATYPE(ProjectData)

namespace {

const QString F407 = ChipFacts::F407;

// The lines mirel-cli writes for the warnings of a file read.
QString warningLines(const char *command, const QString &path, const ProjectData &file)
{
    QString lines;
    for (const ProjectProblem &warning : FileCheck::readWarnings(file))
        lines += QStringLiteral("mirel-cli %1: %2: %3\n").arg(command, path, warning.message);
    return lines;
}

// F407 with an error in a cell, one without a cell, overlapping terminals
// and a chip select that opening the file drops.
ProjectData troubled()
{
    ProjectData p = saved(F407);
    setValue(p.diInformation, "2Index", "70000");
    setValue(p.networkInformation[0], "FilmApplication1IPAddr", "192.168.0.300");
    setValue(p.doInformation, "2Index", valueOf(p.doInformation, "1Index"));
    setRowValue(p, D::DlgDI, "PA1", "SliceSelectPin_1Bit", "PA0");
    return p;
}

} // namespace

class TestCliCheck : public QObject
{
    Q_OBJECT
private slots:
    void checkNamesEveryCell_data();
    void checkNamesEveryCell();
    void checkInJson();
    void cliRefusesFilmsSharingAChipSelect();
    void cliWarnsOfDroppedValues();

private:
    QTemporaryDir dir;
};

void TestCliCheck::checkNamesEveryCell_data()
{
    QTest::addColumn<ProjectData>("file");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("places"); // what each line names before the message
    QTest::newRow("nothing to say") << saved(F407) << 0 << QStringList();
    ProjectData warned = saved(F407);
    setValue(warned.doInformation, "2Index", valueOf(warned.doInformation, "1Index"));
    QTest::newRow("warnings alone") << warned << 0 << QStringList{"DO row 2 Y起始端子: warning: "};
    QTest::newRow("errors and warnings")
        << troubled() << 1
        << QStringList{"DI row 2 X起始端子: ", "SPI1 film 1 IP地址: ",
                       "DO row 2 Y起始端子: warning: ", "DI row 2 片选脚第1位: warning: "};
    // What the settings windows refuse, said where it lies.
    ProjectData settings = saved(F407);
    setValue(settings.spiInformation[1], "Film3Application", "2");
    setValue(settings.networkInformation[1], "FilmApplication3UseAutoGetIP", "2");
    setValue(settings.networkInformation[1], "FilmApplication3IPAddr", "");
    setValue(settings.networkInformation[1], "FilmApplication3SubnetMas", "255.255.0.0");
    setValue(settings.networkInformation[1], "FilmApplication3DefaultGeteway", "10.0.0.1");
    setValue(settings.networkInformation[1], "FilmApplication3LocalStartPort", "100");
    setValue(settings.usartInformation[0], "PortApplication", "5");
    setValue(settings.wirelessInformation[0], "ApplicationOfSocket3", "1");
    setValue(settings.wirelessInformation[0], "IPOfSocket3", "");
    QTest::newRow("settings windows' rules")
        << settings << 1
        << QStringList{"USART1 socket 3 IP地址: ", "SPI2 film 3 IP地址: ",
                       "SPI2 film 3 本地起始端口: warning: "};
}

// One line a problem: the file, the table, row and column where there are
// some, and the message; the table's errors, its warnings, what opening dropped.
void TestCliCheck::checkNamesEveryCell()
{
    QFETCH(ProjectData, file);
    QFETCH(int, exitCode);
    QFETCH(QStringList, places);
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("checked.cpro");
    QVERIFY(ProjectFile::write(file, path));
    ProjectData read;
    QVERIFY(ProjectFile::read(path, &read));
    const QVector<ProjectProblem> problems =
        ProjectCheck::problems(ProjectSync::current(read)) + FileCheck::readWarnings(read);
    QCOMPARE(problems.size(), places.size());
    QString expected;
    for (int i = 0; i < problems.size(); ++i)
        expected += path + ": " + places.at(i) + problems.at(i).message + "\n";
    CliRun run({"check", path});
    QCOMPARE(run.finish(), exitCode);
    QCOMPARE(run.out(), expected);
    QVERIFY(run.err().isEmpty());
}

void TestCliCheck::checkInJson()
{
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("json.cpro");
    QVERIFY(ProjectFile::write(troubled(), path));
    CliRun run({"check", path, "--json"});
    QCOMPARE(run.finish(), 1);
    const QJsonArray list = QJsonDocument::fromJson(run.out().toUtf8()).array();
    QCOMPARE(list.size(), 4);
    const QStringList keys{"column", "message", "row", "severity", "table", "value"};
    for (const QJsonValue &entry : list) {
        QJsonObject object = entry.toObject();
        object.remove("film"); // a network setting's film
        QCOMPARE(object.keys(), keys);
    }
    const QJsonObject cell = list.at(0).toObject(), cellless = list.at(1).toObject();
    QCOMPARE(cell.value("severity").toString(), QStringLiteral("error"));
    QCOMPARE(cell.value("table").toString(), QStringLiteral("DI"));
    QCOMPARE(cell.value("row").toInt(), 2);
    QCOMPARE(cell.value("column").toString(), QStringLiteral("X起始端子"));
    QCOMPARE(cell.value("value").toString(), QStringLiteral("70000"));
    QCOMPARE(cellless.value("table").toString(), QStringLiteral("SPI1"));
    QVERIFY(cellless.value("row").isNull());
    QCOMPARE(cellless.value("column").toString(), QStringLiteral("IP地址"));
    QCOMPARE(cellless.value("film").toInt(), 1);
    QCOMPARE(cellless.value("value").toString(), QStringLiteral("192.168.0.300"));
    QCOMPARE(list.at(3).toObject().value("severity").toString(), QStringLiteral("warning"));

    CliRun missing({"check", dir.filePath("none.cpro"), "--json"});
    QCOMPARE(missing.finish(), 2);
    QVERIFY(missing.out().isEmpty());
}

void TestCliCheck::cliRefusesFilmsSharingAChipSelect()
{
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("shared.cpro"), out = dir.filePath("shared.bin");
    QVERIFY(ProjectFile::write(
        TableFixtures::spiProject(F407, 1, {"1", "PG6", "2", "PG6", "0", "0"}), path));
    CliRun run({"table", path, "-o", out});
    QCOMPARE(run.finish(), 1);
    QVERIFY2(run.err().contains("PG6"), qPrintable(run.err()));
    QCOMPARE(run.err().count(QLatin1Char('\n')), 1);
    QVERIFY(run.out().isEmpty());
    QVERIFY(!QFile::exists(out));
}

void TestCliCheck::cliWarnsOfDroppedValues()
{
    QVERIFY(dir.isValid());
    ProjectData project = saved(F407);
    QVERIFY(setRowValue(project, D::DlgDI, "PA1", "SliceSelectPin_1Bit", "PA0") > 0);
    const QString path = dir.filePath("dropped.cpro"), clean = dir.filePath("clean.cpro");
    QVERIFY(ProjectFile::write(project, path));
    ProjectData file;
    QVERIFY(ProjectFile::read(path, &file));
    QVERIFY(ProjectFile::write(ProjectSync::current(file), clean));
    const QString lines = warningLines("table", path, file);
    QCOMPARE(lines.count(QLatin1Char('\n')), 1);

    {
        CliRun run({"table", path, "-o", dir.filePath("dropped.bin")});
        QCOMPARE(run.finish(), 0);
        QCOMPARE(run.err(), lines);
        QVERIFY(run.out().isEmpty());
    }
    // The listing goes to stdout as for the file opened and saved again.
    for (const char *form : {"--csv", "--json"}) {
        CliRun run({"pins", path, form}), again({"pins", clean, form});
        QCOMPARE(run.finish(), 0);
        QCOMPARE(again.finish(), 0);
        QCOMPARE(run.out(), again.out());
        QCOMPARE(run.err(), QString(lines).replace("mirel-cli table:", "mirel-cli pins:"));
        QVERIFY(again.err().isEmpty());
    }
    {
        CliRun run({"diff", path, clean});
        QCOMPARE(run.finish(), 0);
        QVERIFY(run.out().isEmpty());
        QCOMPARE(run.err(), QString(lines).replace("mirel-cli table:", "mirel-cli diff:"));
    }
    {
        QTranslator english;
        QVERIFY(english.load(TestFiles::inBinDir(QStringLiteral("lang_English.qm"))));
        QVERIFY(QCoreApplication::installTranslator(&english));
        const QString englishLines = warningLines("table", path, file);
        QCoreApplication::removeTranslator(&english);
        QVERIFY(englishLines != lines);
        CliRun run({"--lang", "en", "table", path, "-o", dir.filePath("english.bin")});
        QCOMPARE(run.finish(), 0);
        QCOMPARE(run.err(), englishLines);
    }
}

QTEST_GUILESS_MAIN(TestCliCheck)
#include "tst_cli_check.moc"
