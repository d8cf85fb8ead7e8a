#include "configanalyzer.h"
#include "configtable.h"
#include "platform.h"
#include "projectfile.h"
#include "simprocess.h"
#include "smalltmpfs.h"
#include "tablefixtures.h"
#include "testfiles.h"
#include "testplatform.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <iterator>

namespace {

const QString F103 = QStringLiteral("STM32F103RE");
const QString F407 = QStringLiteral("STM32F407ZG");

using Run = CliResult;

Run cli(const QStringList &arguments)
{
    return runCli(arguments);
}

// A file by the bytes of its name.
QByteArray rawContents(const QByteArray &name)
{
    std::ifstream file(name.constData(), std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return file ? QByteArray(bytes.data(), int(bytes.size())) : QByteArray();
}

bool oneLine(const QString &text)
{
    return text.endsWith(QLatin1Char('\n')) && text.count(QLatin1Char('\n')) == 1;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestCliTable : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void helpAndUsageErrors();
    void usageErrorsExitTwo_data();
    void usageErrorsExitTwo();
    void tableWritesFileOrTransferForm();
    void decodeReadsEitherFormIntoAProject();
    void failuresAreOneLineAndWriteNothing();
    void decodeWarnsOfReservedBytes();
    void namesThatAreNotUtf8();
    void fullDiskFailsAndKeepsTheOldTable();

private:
    QTemporaryDir dir;
    QString projectPath;
    ProjectData saved; // the project as the file holds it
};

void TestCliTable::initTestCase()
{
    QVERIFY(QFile::exists(TestFiles::inBinDir(QStringLiteral("mirel-cli"))));
    QVERIFY(dir.isValid());
    projectPath = dir.filePath("full.cpro");
    QString error;
    QVERIFY2(ProjectFile::write(TableFixtures::fullyConfigured(F407), projectPath, &error),
             qPrintable(error));
    QVERIFY2(ProjectFile::read(projectPath, &saved, &error), qPrintable(error));
}

void TestCliTable::helpAndUsageErrors()
{
    for (const char *command : {"table", "decode"}) {
        const Run help = cli({command, "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Usage: mirel-cli ") + command));
        QVERIFY(help.err.isEmpty());
    }
}

void TestCliTable::usageErrorsExitTwo_data()
{
    // The inputs: a table, and the project under other names.
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(saved, &sections));
    const QString table = dir.filePath("usage.raw"), html = dir.filePath("project.html");
    const QString link = dir.filePath("link.bin"), hard = dir.filePath("hard.bin");
    QVERIFY(writeBytes(table, sections.join()) && QFile::copy(projectPath, html));
    QVERIFY(QFile::link(projectPath, link) || QFileInfo(link).isSymLink());
    QVERIFY(QFile::exists(hard) || TestPlatform::hardLink(projectPath, hard));

    const QString p = projectPath, out = dir.filePath("usage.out"), tty = "/dev/null";
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no command") << QStringList{};
    QTest::newRow("only a language") << QStringList{"--lang", "en"};
    QTest::newRow("unknown language") << QStringList{"--lang", "fr", "pins", p};
    QTest::newRow("unknown command") << QStringList{"frobnicate", p};
    QTest::newRow("table: no output") << QStringList{"table", p};
    QTest::newRow("table: no project") << QStringList{"table", "-o", out};
    QTest::newRow("table: unknown option") << QStringList{"table", p, "-o", out, "--frobnicate"};
    QTest::newRow("table: two projects") << QStringList{"table", p, p, "-o", out};
    QTest::newRow("table: over its project") << QStringList{"table", p, "-o", p};
    QTest::newRow("table: over a link to it") << QStringList{"table", p, "-o", link};
    QTest::newRow("table: over a hard link") << QStringList{"table", hard, "-o", p};
    QTest::newRow("decode: no chip") << QStringList{"decode", table, "-o", out};
    QTest::newRow("decode: no output") << QStringList{"decode", table, "--chip", F103};
    QTest::newRow("decode: unknown chip")
        << QStringList{"decode", table, "--chip", "STM32F030", "-o", out};
    QTest::newRow("decode: over its table")
        << QStringList{"decode", table, "--chip", F407, "-o", table};
    QTest::newRow("pins: two forms") << QStringList{"pins", p, "--csv", "--json"};
    QTest::newRow("pins: a switch's value") << QStringList{"pins", "--csv=1", p};
    QTest::newRow("report: no form") << QStringList{"report", p, "-o", out};
    QTest::newRow("report: no value") << QStringList{"report", p, "-o"};
    QTest::newRow("report: over its project") << QStringList{"report", html, "-o", html};
    QTest::newRow("check: no project") << QStringList{"check", "--json"};
    QTest::newRow("check: two projects") << QStringList{"check", p, p};
    QTest::newRow("diff: one file") << QStringList{"diff", p};
    QTest::newRow("diff: unknown chip") << QStringList{"diff", p, table, "--chip", "Z80"};
    QTest::newRow("download: no port") << QStringList{"download", p};
    QTest::newRow("download: bad wait")
        << QStringList{"download", "--port", tty, "--timeout-ms", "soon", p};
    QTest::newRow("upload: no chip") << QStringList{"upload", "--port", tty, "-o", out};
    QTest::newRow("upload: no output") << QStringList{"upload", "--port", tty, "--chip", F407};
    QTest::newRow("ports: an argument") << QStringList{"ports", p};
}

// Exit status 2, a message, and nothing written or replaced.
void TestCliTable::usageErrorsExitTwo()
{
    QFETCH(QStringList, args);
    const QByteArray project = contents(projectPath), table = contents(dir.filePath("usage.raw"));
    const Run run = cli(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains("(try --help)") || run.err.startsWith("Usage:"), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(dir.filePath("usage.out")));
    QCOMPARE(contents(projectPath), project);
    QCOMPARE(contents(dir.filePath("usage.raw")), table);
    QCOMPARE(contents(dir.filePath("hard.bin")), project);
}

void TestCliTable::tableWritesFileOrTransferForm()
{
    QList<QByteArray> sections;
    QString error;
    QVERIFY2(ConfigTable::buildSections(saved, &sections, &error), qPrintable(error));

    const QString filePath = dir.filePath("out/table.bin");
    Run run = cli({"table", projectPath, "-o", filePath});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QVERIFY(run.err.isEmpty());
    QCOMPARE(contents(filePath), ConfigTable::fileForm(sections));

    const QString rawPath = dir.filePath("out/table.raw");
    run = cli({"table", projectPath, "-o", rawPath, "--raw"});
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QCOMPARE(contents(rawPath), sections.join());

    // An existing file is replaced.
    run = cli({"table", projectPath, "--output", rawPath});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contents(rawPath), ConfigTable::fileForm(sections));
}

void TestCliTable::decodeReadsEitherFormIntoAProject()
{
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(saved, &sections));
    const QString filePath = dir.filePath("decode.bin");
    const QString rawPath = dir.filePath("decode.raw");
    QVERIFY(writeBytes(filePath, ConfigTable::fileForm(sections)));
    QVERIFY(writeBytes(rawPath, sections.join()));

    for (const QString &input : {filePath, rawPath}) {
        const QString output = dir.filePath("decoded.cpro");
        QVERIFY(writeBytes(output, "[LEFTOVER]\nKey=1\n"));
        const Run run = cli({"decode", input, "--chip", F407, "-o", output});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(run.err.isEmpty());
        QVERIFY(!contents(output).contains("LEFTOVER"));
        ProjectData decoded;
        QString error;
        QVERIFY2(ProjectFile::read(output, &decoded, &error), qPrintable(error));
        QVERIFY(decoded == saved);
    }
}

void TestCliTable::failuresAreOneLineAndWriteNothing()
{
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(saved, &sections));
    const QByteArray table = sections.join();

    // A project with a start terminal the table cannot hold.
    ProjectData broken = saved;
    broken.diInformation[5] = QStringLiteral("70000");
    const QString brokenPath = dir.filePath("broken.cpro");
    QVERIFY(ProjectFile::write(broken, brokenPath));
    const QString truncatedPath = dir.filePath("truncated.bin");
    QVERIFY(writeBytes(truncatedPath, table.left(table.size() / 2)));
    const QString tablePath = dir.filePath("good.bin");
    QVERIFY(writeBytes(tablePath, table));
    const QString missing = dir.filePath("missing.cpro");
    const QByteArray project = contents(projectPath);
    const QString cutPath = dir.filePath("cut.cpro"); // the first rows without their Count
    QVERIFY(writeBytes(cutPath, project.left(project.indexOf("Count="))));

    struct Case
    {
        QStringList args;
        QString output;
        QStringList mentions;
    };
    const QString tableOut = dir.filePath("failed.bin");
    const QString projectOut = dir.filePath("failed.cpro");
    const QString pipe = dir.filePath("pipe"); // nobody writes to it: a read would wait
    QVERIFY(TestPlatform::makePipe(pipe));
    const QList<Case> cases{
        {{"table", missing, "-o", tableOut}, tableOut, {missing}},
        {{"table", brokenPath, "-o", tableOut}, tableOut, {brokenPath, "DI", "70000"}},
        {{"table", cutPath, "-o", tableOut}, tableOut, {cutPath, "[AI]", "Count"}},
        {{"table", projectPath, "-o", dir.path()}, dir.path(), {dir.path() + " 是文件夹"}},
        {{"table", projectPath, "-o", pipe}, pipe, {pipe + " 是命名管道"}},
        {{"table", pipe, "-o", tableOut}, tableOut, {pipe + " 是命名管道"}},
        {{"decode", pipe, "--chip", F407, "-o", projectOut}, projectOut, {pipe + " 是命名管道"}},
        {{"decode", dir.filePath("none.bin"), "--chip", F407, "-o", projectOut},
         projectOut,
         {"none.bin"}},
        {{"decode", truncatedPath, "--chip", F407, "-o", projectOut},
         projectOut,
         {truncatedPath, "结束"}},
        {{"decode", tablePath, "--chip", F103, "-o", projectOut}, projectOut, {tablePath, F103}},
        {{"decode", projectPath, "--chip", F407, "-o", projectOut}, projectOut, {projectPath}},
    };
    for (const Case &c : cases) {
        const Run run = cli(c.args);
        QVERIFY2(run.exitCode == 1, qPrintable(c.args.join(' ') + ": " + run.err));
        QVERIFY2(oneLine(run.err), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
        for (const QString &mention : c.mentions)
            QVERIFY2(run.err.contains(mention), qPrintable(run.err + " lacks " + mention));
        QVERIFY2(!QFileInfo(c.output).isFile(), qPrintable(c.output));
    }

    // A failed run leaves an existing output as it was.
    QVERIFY(writeBytes(tableOut, "old table"));
    QCOMPARE(cli({"table", brokenPath, "-o", tableOut}).exitCode, 1);
    QCOMPARE(contents(tableOut), QByteArray("old table"));
    QVERIFY(writeBytes(projectOut, "old project"));
    QCOMPARE(cli({"decode", truncatedPath, "--chip", F407, "-o", projectOut}).exitCode, 1);
    QCOMPARE(contents(projectOut), QByteArray("old project"));
}

// A table whose network blocks carry reserved bytes that are not 0 reads as
// the table without them, and the decoding says what it passed over.
void TestCliTable::decodeWarnsOfReservedBytes()
{
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(saved, &sections));
    int blocks = 0;
    const QByteArray padded = TableFixtures::withReservedBytes(sections.join(), '\x5A', &blocks);
    ProjectData plain, read;
    QStringList warnings;
    QVERIFY(CAnalyzeBinFileToConfigure::decode(sections.join(), F407, &plain, nullptr, &warnings));
    QVERIFY(blocks > 0 && warnings.isEmpty());
    QVERIFY(CAnalyzeBinFileToConfigure::decode(padded, F407, &read, nullptr, &warnings));
    QVERIFY(read == plain);
    QCOMPARE(warnings.size(), blocks);

    const QString input = dir.filePath("padded.raw"), output = dir.filePath("padded.cpro");
    QVERIFY(writeBytes(input, padded));
    const Run run = cli({"decode", input, "--chip", F407, "-o", output});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, "mirel-cli decode: " + input + ": " +
                          warnings.join("\nmirel-cli decode: " + input + ": ") + '\n');
    QVERIFY(run.err.contains("SPI1") && run.err.contains("保留字节"));
    QVERIFY(ProjectFile::read(output, &read) && read == saved);
}

// A name is bytes: one that is not UTF-8 is read and written by its own bytes
// and shown with those bytes as \xNN.
void TestCliTable::namesThatAreNotUtf8()
{
    const QByteArray folder = QFile::encodeName(dir.path()) + '/';
    const QByteArray project = contents(projectPath), name = folder + "caf\xE9.cpro";
    {
        std::ofstream file(name.constData(), std::ios::binary | std::ios::trunc);
        QVERIFY(file.write(project.constData(), project.size()).flush().good());
    }
    if (QByteArray(Platform::name()) == "portable") {
        // Such names cannot be reached here: refused, with the name, before
        // anything is read or written.
        const Run run = runCliInShell(dir.path(), "c table \"$(n 'caf\\351.cpro')\" -o \"$(n "
                                                  "'t\\377.bin')\"");
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("caf\\xE9.cpro: a name that is not UTF-8 cannot be reached"),
                 qPrintable(run.err));
        QCOMPARE(rawContents(name), project);
        QVERIFY(rawContents(folder + "t\xFF.bin").isEmpty());
        return;
    }
    Run run = runCliInShell(
        dir.path(),
        "c table \"$(n 'caf\\351.cpro')\" -o \"$(n 't\\377.bin')\" && "
        "c decode \"$(n 't\\377.bin')\" --chip STM32F407ZG -o \"$(n 'n\\351.cpro')\" && "
        "c --lang en report \"$(n 'caf\\351.cpro')\" -o \"$(n 'r\\351.html')\"");
    QVERIFY2(run.exitCode == 0, qPrintable(run.err));
    QList<QByteArray> sections;
    QVERIFY(ConfigTable::buildSections(saved, &sections));
    QCOMPARE(rawContents(folder + "t\xFF.bin"), ConfigTable::fileForm(sections));
    ProjectData decoded;
    QVERIFY(writeBytes(dir.filePath("decoded.cpro"), rawContents(folder + "n\xE9.cpro")));
    QVERIFY(ProjectFile::read(dir.filePath("decoded.cpro"), &decoded) && decoded == saved);
    QVERIFY(rawContents(folder + "r\xE9.html").contains("Digital input"));
    QVERIFY(QDir(dir.path()).entryList({".mirel-*"}, QDir::AllEntries | QDir::Hidden).isEmpty());

    run = runCliInShell(dir.path(), "c pins \"$(n 'gone\\351.cpro')\"");
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains("gone\\xE9.cpro "), qPrintable(run.err));
    run = runCliInShell(dir.path(), "c table \"$(n 'caf\\351.cpro')\" -o \"$(n 'caf\\351.cpro')\"");
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(rawContents(name), project);
}

void TestCliTable::fullDiskFailsAndKeepsTheOldTable()
{
    SmallTmpfs disk(8);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.why()));
    const QString out = disk.filePath("02Configure_0x8007800.bin");
    const QByteArray old(6000, 'o'); // two pages: the disk is full
    QVERIFY(writeBytes(out, old));
    const Run run = cli({"table", projectPath, "-o", out});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(oneLine(run.err) && run.err.contains(out), qPrintable(run.err));
    QCOMPARE(contents(out), old);
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{"02Configure_0x8007800.bin"});
}

QTEST_GUILESS_MAIN(TestCliTable)
#include "tst_cli_table.moc"
