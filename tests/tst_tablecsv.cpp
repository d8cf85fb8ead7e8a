// A project's tables written as CSV files and read back: a round trip of
// every sample project in both languages gives the project it started from,
// and what a spreadsheet may hand back wrongly is refused where it stands.

#include "clirun.h"
#include "csvfile.h"
#include "projectcheck.h"
#include "projectfile.h"
#include "projectsync.h"
#include "tablecsv.h"
#include "tablefixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TestTableCsv : public QObject
{
    Q_OBJECT
private slots:
    void aRoundTripGivesTheProjectBack_data();
    void aRoundTripGivesTheProjectBack();
    void whatATableWouldNotTakeIsRefused_data();
    void whatATableWouldNotTakeIsRefused();
    void theCommandLineRoads_data();
    void theCommandLineRoads();
};

namespace {

QMap<QString, QByteArray> asFiles(const QVector<TableCsv::File> &tables, QChar separator)
{
    QMap<QString, QByteArray> files;
    for (const TableCsv::File &table : tables)
        files.insert(table.name, CsvFile::write(table.rows, separator));
    return files;
}

// The sample project most tables are used in: DI rows, SPI with films.
ProjectData sample()
{
    ProjectData project;
    [&] {
        QVERIFY(
            ProjectSync::readCurrent(MIREL_SOURCE_DIR "/tests/data/sync/derived07.cpro", &project));
    }();
    return project;
}

} // namespace

void TestTableCsv::aRoundTripGivesTheProjectBack_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("language");
    const QDir samples(MIREL_SOURCE_DIR "/tests/data/sync");
    for (const QString &name : samples.entryList({"*.cpro"}, QDir::Files, QDir::Name))
        for (int language = 0; language < TableCsv::bothLanguages().size(); ++language)
            QTest::addRow("%s, %s", qPrintable(name), language ? "English" : "Chinese")
                << samples.filePath(name) << language;
}

// Exported and imported unchanged, in either language and with either
// separator, a project is the same project and writes the same table.
void TestTableCsv::aRoundTripGivesTheProjectBack()
{
    QFETCH(QString, path);
    QFETCH(int, language);
    QVERIFY2(TableCsv::bothLanguages().size() == 2, "the English texts are missing");
    ProjectData project;
    QVERIFY(ProjectSync::readCurrent(path, &project));
    const auto text = TableCsv::bothLanguages().at(language);
    const QVector<TableCsv::File> tables = TableCsv::exportTables(project, *text);
    QVERIFY(!tables.isEmpty());
    const TableCsv::Import read = TableCsv::importTables(
        project, asFiles(tables, language ? ';' : ','), TableCsv::bothLanguages());
    QStringList refused;
    for (const TableCsv::Refusal &refusal : read.refused)
        refused << refusal.text();
    QVERIFY2(refused.isEmpty(), qPrintable(refused.join('\n')));
    QCOMPARE(read.tablesRead.size(), tables.size());
    QVERIFY(read.project == project);
    QByteArray before, after;
    QCOMPARE(ProjectCheck::buildTable(project, &before),
             ProjectCheck::buildTable(read.project, &after));
    QCOMPARE(after, before);
}

void TestTableCsv::whatATableWouldNotTakeIsRefused_data()
{
    // A cell of a sample's export changed as a spreadsheet hands it back.
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("row");    // the file's row, 0 the titles; -1: `value` is the file
    QTest::addColumn<int>("column"); // 0-based
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("refusedAt");   // the 1-based column named; 0 the file; -1 taken
    QTest::addColumn<QString>("zhShown"); // taken: what a Chinese export shows, if not `value`
    const CDlgDescription zh;
    const QString pullUpInEnglish = TableCsv::bothLanguages().last()->diInputModes.value(1);
    QTest::newRow("an option in the other language")
        << "DI" << 1 << 1 << pullUpInEnglish << -1 << zh.diInputModes.value(1);
    QTest::newRow("a chip select enabled")
        << "DI" << 1 << 3 << zh.enableOptions.value(0) << -1 << QString();
    QTest::newRow("a number") << "DI" << 2 << 2 << "40" << -1 << QString();
    QTest::newRow("an SPI parameter")
        << "SPI3" << 4 << 1 << zh.spiCommunicationModes.value(1) << -1 << QString();
    QTest::newRow("an unknown option") << "DI" << 1 << 1 << "sideways" << 2 << QString();
    QTest::newRow("a number out of range") << "DI" << 8 << 2 << "70000" << 3 << QString();
    QTest::newRow("同上 in the first row")
        << "DI" << 1 << 3 << zh.enableOptions.value(2) << 4 << QString();
    QTest::newRow("a greyed cell") << "DI" << 1 << 4 << "PA0" << 5 << QString();
    QTest::newRow("a pin without the function") << "DI" << 3 << 0 << "PB3" << 1 << QString();
    QTest::newRow("an unknown parameter") << "SPI3" << 4 << 0 << "Speed" << 1 << QString();
    QTest::newRow("an unknown column title") << "DI" << 0 << 2 << "Terminal" << 3 << QString();
    QTest::newRow("an empty file") << "DI" << -1 << 0 << "" << 0 << QString();
    QTest::newRow("a file that is not CSV")
        << "DI" << -1 << 0 << QString::fromLatin1("\xff\xfe\x01 binary") << 0 << QString();
}

// A changed value the table window would take is taken; one it would not is
// refused at its file, line and column, and nothing else changes.
void TestTableCsv::whatATableWouldNotTakeIsRefused()
{
    QFETCH(QString, file);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, value);
    QFETCH(int, refusedAt);
    QFETCH(QString, zhShown);
    const ProjectData project = sample();
    const CDlgDescription zh;
    QVector<TableCsv::File> tables = TableCsv::exportTables(project, zh);
    QMap<QString, QByteArray> files = asFiles(tables, ',');
    QVERIFY(files.contains(file));
    QVERIFY(!files.contains("AI")); // a table without rows is not written
    if (row < 0) {
        files[file] = value.toLatin1();
    } else {
        for (TableCsv::File &table : tables)
            if (table.name == file) {
                QVERIFY(row < table.rows.size() && column < table.rows.at(row).size());
                table.rows[row][column] = value;
                files[file] = CsvFile::write(table.rows);
            }
    }
    const TableCsv::Import read = TableCsv::importTables(project, files, TableCsv::bothLanguages());
    if (refusedAt < 0) {
        QCOMPARE(read.refused.size(), 0);
        QVERIFY(!(read.project == project));
        // Exported again, the cell shows the value in the program's language.
        for (const TableCsv::File &again : TableCsv::exportTables(read.project, zh))
            if (again.name == file)
                QCOMPARE(again.rows.at(row).at(column), zhShown.isEmpty() ? value : zhShown);
        return;
    }
    QCOMPARE(read.refused.size(), 1);
    const TableCsv::Refusal refusal = read.refused.first();
    QCOMPARE(refusal.file, file + ".csv");
    QCOMPARE(refusal.line, row < 0 ? 0 : row + 1);
    QCOMPARE(refusal.column, refusedAt);
    QVERIFY(!refusal.message.isEmpty());
    QVERIFY(read.project == project);
}

void TestTableCsv::theCommandLineRoads_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("status");
    QTest::newRow("unchanged: the project as saved") << "same" << 0;
    QTest::newRow("a refused value: nothing written") << "refused" << 1;
    QTest::newRow("-o the project itself") << "over input" << 2;
    QTest::newRow("files present without --force") << "present" << 2;
    QTest::newRow("files present with --force") << "force" << 0;
    QTest::newRow("a folder without table files") << "empty" << 2;
}

// export-tables and import-tables: their outputs and exit status.
void TestTableCsv::theCommandLineRoads()
{
    QFETCH(QString, road);
    QFETCH(int, status);
    QTemporaryDir dir;
    const QString project = MIREL_SOURCE_DIR "/tests/data/sync/derived07.cpro";
    const QString tables = dir.filePath("tables");
    const QString made = dir.filePath("made.cpro");
    CliRun exported({"export-tables", project, "-o", tables});
    QCOMPARE(exported.finish(), 0);
    QVERIFY(QFile::exists(tables + "/DI.csv") && QFile::exists(tables + "/SPI3_NETWORK.csv"));
    if (road == "present" || road == "force") {
        const QDateTime before = QFileInfo(tables + "/DI.csv").lastModified();
        QTest::qWait(20);
        QStringList again{"export-tables", project, "-o", tables};
        if (road == "force")
            again << "--force";
        CliRun run(again);
        QCOMPARE(run.finish(), status);
        QCOMPARE(QFileInfo(tables + "/DI.csv").lastModified() != before, status == 0);
        return;
    }
    if (road == "refused") {
        QFile di(tables + "/DI.csv");
        QVERIFY(di.open(QIODevice::ReadWrite));
        const QByteArray edited = di.readAll().replace(",8,", ",70000,");
        QVERIFY(di.resize(0) && di.write(edited) == edited.size());
    }
    QStringList imported{"import-tables", project, road == "empty" ? dir.path() : tables, "-o",
                         road == "over input" ? project : made};
    CliRun run(imported);
    QCOMPARE(run.finish(), status);
    QCOMPARE(QFile::exists(made), status == 0);
    if (road == "refused")
        QVERIFY2(run.out().contains("DI.csv:2:3: "), qPrintable(run.out()));
    if (status != 0)
        return;
    // The file is the one saving the opened project writes.
    ProjectData opened;
    QVERIFY(ProjectSync::readCurrent(project, &opened));
    const QString saved = dir.filePath("saved.cpro");
    QVERIFY(ProjectFile::write(opened, saved));
    QFile a(made), b(saved);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
}

QTEST_GUILESS_MAIN(TestTableCsv)
#include "tst_tablecsv.moc"
