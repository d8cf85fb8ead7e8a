#include "projectcompare.h"
#include "projectfile.h"
#include "settingshelpers.h"
#include "tablefixtures.h"

#include <QTemporaryDir>
#include <QtTest>
#include <memory>

class TestProjectFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTripKeepsEveryList();
    void rewriteShrinksRowsAndKeepsForeignSections();
    void handWrittenFileOpens();
    void badFilesAreRefusedWithAMessage();
    void cutFileIsRefusedOrReadsWhole_data();
    void cutFileIsRefusedOrReadsWhole();
    void handWrittenRowsAndComments_data();
    void handWrittenRowsAndComments();
    void unwritableTargetIsReportedAndOldFileKept();
    void settingsHelpersReadAbsentAndCutAtNul();

private:
    static ProjectData configuredProject();
    static QByteArray contentOf(const QString &path);
};

ProjectData TestProjectFile::configuredProject()
{
    ProjectData p = ProjectData::fresh("STM32F407ZG", true);
    p.pinFunctions[p.pinNames.indexOf("PA0")] = "Normal_DI";
    p.pinFunctions[p.pinNames.indexOf("PA1")] = "Normal_DI";
    p.pinFunctions[p.pinNames.indexOf("PA9")] = "USART1_TX";
    p.pinFunctions[p.pinNames.indexOf("PA10")] = "USART1_RX";
    p.pinFunctions[p.pinNames.indexOf("PB0")] = "DI_CS1";
    p.diInformation = QStringList{"1Pin",
                                  "PA0",
                                  "1Mode",
                                  "1",
                                  "1Index",
                                  "1",
                                  "1SliceSelectPinIsEnble",
                                  "1",
                                  "1SliceSelectPin_3Bit",
                                  "0",
                                  "1SliceSelectPin_2Bit",
                                  "0",
                                  "1SliceSelectPin_1Bit",
                                  "0",
                                  "1SliceSelectPin_0Bit",
                                  "PB0",
                                  "2Pin",
                                  "PA1",
                                  "2Mode",
                                  "0",
                                  "2Index",
                                  "3",
                                  "2SliceSelectPinIsEnble",
                                  "0",
                                  "2SliceSelectPin_3Bit",
                                  "0",
                                  "2SliceSelectPin_2Bit",
                                  "0",
                                  "2SliceSelectPin_1Bit",
                                  "0",
                                  "2SliceSelectPin_0Bit",
                                  "0"};
    p.exitInformation = QStringList{"1Pin",        "PC0", "1InputMode",   "0", "1TriggerMode", "1",
                                    "1TriggerWay", "2",   "1PrePriority", "3", "1SubPriority", "0",
                                    "1Index",      "7"};
    p.pinFunctions[p.pinNames.indexOf("PC0")] = "EXIT";
    p.usartInformation[0] = QStringList{
        "TXPinName", "PA9", "RXPinName",       "PA10", "Baud", "4", "DataBit", "1", "StopBit", "2",
        "CheckBit",  "2",   "PortApplication", "5"};
    const CDlgDescription keys;
    for (int i = 0; i < keys.socketKeys.size(); ++i)
        p.wirelessInformation[0] << keys.socketKeys.at(i)
                                 << (i % 3 == 0   ? "1"
                                     : i % 3 == 1 ? "10.0.0.7"
                                                  : "502");
    p.sysInformation =
        QStringList{"1SystemPin", "SYS_RunLed", "1Pin", "PC1", "1Mode", "0", "1Speed", "3"};
    p.pinFunctions[p.pinNames.indexOf("PC1")] = "SYS_RunLed";
    // Non-ASCII values survive the UTF-8 codec.
    p.networkInformation[1][3] = QStringLiteral("网关 192.168.0.1");
    return p;
}

QByteArray TestProjectFile::contentOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestProjectFile::roundTripKeepsEveryList()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.cpro");
    const ProjectData original = configuredProject();
    QString error;
    QVERIFY2(ProjectFile::write(original, path, &error), qPrintable(error));
    ProjectData read;
    QVERIFY2(ProjectFile::read(path, &read, &error), qPrintable(error));
    // Unconfigured ports read back as their keys with empty values.
    ProjectData expected = original;
    const CDlgDescription keys;
    const auto unconfigured = [](QStringList &list, const QStringList &keyList) {
        if (list.isEmpty())
            for (const QString &key : keyList)
                list << key << QString();
    };
    for (int n = 0; n < 6; ++n) {
        unconfigured(expected.usartInformation[n], keys.usartKeys);
        unconfigured(expected.wirelessInformation[n], keys.socketKeys);
    }
    for (int n = 0; n < 3; ++n)
        unconfigured(expected.spiInformation[n], keys.spiKeys);
    COMPARE_PROJECTS(read, expected);

    // Saving the opened project twice gives the same bytes.
    QVERIFY(ProjectFile::write(read, path, &error));
    const QByteArray first = contentOf(path);
    QVERIFY(ProjectFile::write(read, path, &error));
    QCOMPARE(contentOf(path), first);
    QVERIFY(first.contains("iSSelectRAM=1"));
    QVERIFY(first.contains("Count=2"));
}

void TestProjectFile::rewriteShrinksRowsAndKeepsForeignSections()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("p.cpro");
    ProjectData p = configuredProject();
    QVERIFY(ProjectFile::write(p, path));
    {
        std::unique_ptr<QSettings> s(openSettings(path));
        writeValue(s.get(), "NOTES", "author", QStringLiteral("李工"));
    }
    p.diInformation = p.diInformation.mid(0, 16);
    QVERIFY(ProjectFile::write(p, path));
    std::unique_ptr<QSettings> s(openSettings(path));
    QCOMPARE(readValue(s.get(), "DI", "Count"), QStringLiteral("1"));
    QVERIFY(readValue(s.get(), "DI", "2Pin").isEmpty());
    QCOMPARE(readValue(s.get(), "NOTES", "author"), QStringLiteral("李工"));
}

void TestProjectFile::handWrittenFileOpens()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.cpro");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[CHIP]\nType=STM32F103RE\n\n[FSMC]\niSSelectRAM=0\n\n[DESC]\nPA0=Normal_DI\n"
            "PA9=USART1_TX\nPA10=USART1_RX\n\n[DI]\nCount=1\n1Pin=PA0\n1Mode=1\n1Index=1\n"
            "1SliceSelectPinIsEnble=0\n1SliceSelectPin_3Bit=0\n1SliceSelectPin_2Bit=0\n"
            "1SliceSelectPin_1Bit=0\n1SliceSelectPin_0Bit=0\n\n[USART1]\nTXPinName=PA9\n"
            "RXPinName=PA10\nBaud=0\nDataBit=0\nStopBit=0\nCheckBit=0\nPortApplication=1\n"
            "Unexpected=ignored\n");
    f.close();
    ProjectData p;
    QString error;
    QVERIFY2(ProjectFile::read(path, &p, &error), qPrintable(error));
    QCOMPARE(p.currentChip, QStringLiteral("STM32F103RE"));
    QCOMPARE(p.pinNames.size(), 64);
    QCOMPARE(p.pinFunctions.at(p.pinNames.indexOf("PA0")), QStringLiteral("Normal_DI"));
    QCOMPARE(p.pinFunctions.at(0), QStringLiteral(" "));
    QCOMPARE(p.diInformation.size(), 16);
    QCOMPARE(p.diInformation.at(3), QStringLiteral("1"));
    QCOMPARE(p.usartInformation[0].size(), 14);
    QVERIFY(!p.usartInformation[0].contains("Unexpected"));
    QCOMPARE(p.usartInformation[0].last(), QStringLiteral("1"));
    QVERIFY(p.doInformation.isEmpty());
    // The fresh network defaults are replaced by what the file holds (nothing).
    QCOMPARE(p.networkInformation[0].size(), 36);
}

void TestProjectFile::badFilesAreRefusedWithAMessage()
{
    QTemporaryDir dir;
    ProjectData p = ProjectData::fresh("STM32F103RE", false);
    const ProjectData before = p;
    QString error;
    QVERIFY(!ProjectFile::read(dir.filePath("missing.cpro"), &p, &error));
    QVERIFY(error.contains("missing.cpro"));
    QVERIFY(!ProjectFile::read(dir.path(), &p, &error));
    QVERIFY(error.contains(dir.path()));

    const QString unknown = dir.filePath("unknown.cpro");
    QFile f(unknown);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[CHIP]\nType=STM32F999\n");
    f.close();
    QVERIFY(!ProjectFile::read(unknown, &p, &error));
    QVERIFY(error.contains("STM32F999"));

    const QString huge = dir.filePath("huge.cpro");
    QFile h(huge);
    QVERIFY(h.open(QIODevice::WriteOnly));
    h.write("[CHIP]\nType=STM32F103RE\n[DI]\nCount=2000000000\n");
    h.close();
    QVERIFY(!ProjectFile::read(huge, &p, &error));
    QVERIFY(error.contains("DI"));
    QVERIFY(p == before);
}

void TestProjectFile::cutFileIsRefusedOrReadsWhole_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("written by the window") << QString();
    QTest::newRow("sync data") << QStringLiteral(MIREL_SOURCE_DIR
                                                 "/tests/data/sync/lagging01.cpro");
}

// A file cut anywhere either is refused or reads every row table as the whole
// file has it (none for a table whose section is gone). One cut inside a row
// section that has rows must be refused, naming the section: its Count, which
// follows the rows, is missing or cut itself.
void TestProjectFile::cutFileIsRefusedOrReadsWhole()
{
    using D = CPinDescriptions;
    QFETCH(QString, source);
    QTemporaryDir dir;
    QString error;
    if (source.isEmpty()) {
        source = dir.filePath("whole.cpro");
        QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), source, &error));
    }
    const QByteArray whole = contentOf(source);
    ProjectData complete;
    QVERIFY2(ProjectFile::read(source, &complete, &error), qPrintable(error));

    // Cuts: at the start and in the middle of every line, at every byte of a
    // Count line, and none at all.
    QVector<int> cuts;
    for (int at = 0; at < whole.size();) {
        const int next = whole.indexOf('\n', at) + 1;
        cuts << at << (at + next) / 2;
        if (whole.mid(at).startsWith("Count="))
            for (int byte = at + 1; byte < next; ++byte)
                cuts << byte;
        at = next;
    }
    cuts << int(whole.size());

    const D::DlgType rowTables[] = {D::DlgDI, D::DlgDO, D::DlgAI, D::DlgAO, D::DlgEXIT, D::DlgSYS};
    const QByteArray lines = '\n' + whole; // every header after a line end
    for (const int cut : qAsConst(cuts)) {
        const QString path = dir.filePath(QStringLiteral("cut%1.cpro").arg(cut));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(whole.left(cut)) == cut);
        file.close();
        ProjectData read;
        const bool ok = ProjectFile::read(path, &read, &error);
        const QByteArray where = "cut at " + QByteArray::number(cut) + ": " + error.toUtf8();
        QVERIFY2(ok || error.contains(path), where.constData());
        for (const D::DlgType type : rowTables) {
            const QString header = '[' + ProjectFile::sectionOf(type) + ']';
            const int at =
                lines.indexOf(QByteArray('\n' + header.toUtf8() + '\n')); // header's start
            const int firstKey = at < 0 ? int(whole.size()) : at + header.size() + 1;
            const int next = whole.indexOf("\n[", firstKey);
            const int end =
                firstKey + whole.mid(firstKey, next < 0 ? -1 : next - firstKey).trimmed().size();
            const bool started = cut > firstKey;
            const QStringList &rows = *complete.tableList(type);
            if (started && cut < end && !rows.isEmpty())
                QVERIFY2(!ok && error.contains(header), qPrintable(header + where));
            else if (ok)
                QVERIFY2(*read.tableList(type) == (started ? rows : QStringList()),
                         qPrintable(header + where));
        }
        if (cut == whole.size())
            QVERIFY(ok && read == complete);
    }
}

void TestProjectFile::handWrittenRowsAndComments_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("refusal"); // what the message names; empty: it opens
    const auto diRow = [](int n, const char *pin) -> QByteArray {
        const QByteArray r = QByteArray::number(n);
        return r + "Pin=" + pin + "\n" + r + "Mode=0\n" + r + "Index=" + r + "\n" + r +
               "SliceSelectPinIsEnble=0\n" + r + "SliceSelectPin_3Bit=0\n" + r +
               "SliceSelectPin_2Bit=0\n" + r + "SliceSelectPin_1Bit=0\n" + r +
               "SliceSelectPin_0Bit=0\n";
    };
    const QByteArray head = "[CHIP]\nType=STM32F103RE\n[DESC]\nPA0=Normal_DI\nPA1=Normal_DI\n";
    QTest::newRow("comment lines")
        << QByteArray("; written by hand\n" + head + "[DI]\n; two rows\n" + diRow(1, "PA0") +
                      diRow(2, "PA1") + "Count=2\n")
        << QStringList();
    QTest::newRow("one row beyond Count")
        << QByteArray(head + "[DI]\n" + diRow(1, "PA0") + diRow(2, "PA1") + "Count=1\n")
        << QStringList{"[DI]", "Count=1"};
    QTest::newRow("a row and Count 0") << head + "[DI]\n" + diRow(1, "PA0") + "Count=0\n"
                                       << QStringList{"[DI]", "Count=0"};
}

void TestProjectFile::handWrittenRowsAndComments()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, refusal);
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.cpro");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    ProjectData p;
    QString error;
    QCOMPARE(ProjectFile::read(path, &p, &error), refusal.isEmpty());
    for (const QString &named : refusal)
        QVERIFY2(error.contains(named), qPrintable(error));
    if (refusal.isEmpty())
        QCOMPARE(valueOf(p.diInformation, "2Pin"), QStringLiteral("PA1"));
}

void TestProjectFile::unwritableTargetIsReportedAndOldFileKept()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("plain-file");
    QFile f(blocker);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    QString error;
    QVERIFY(!ProjectFile::write(configuredProject(), blocker + "/p.cpro", &error));
    QVERIFY(!error.isEmpty());
    // A directory in place of the file is refused and left alone.
    QVERIFY(!ProjectFile::write(configuredProject(), dir.path(), &error));
    QVERIFY(QFileInfo(dir.path()).isDir());
    // No temporary files are left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"plain-file"});
}

void TestProjectFile::settingsHelpersReadAbsentAndCutAtNul()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("s.ini");
    {
        std::unique_ptr<QSettings> s(openSettings(path));
        writeValue(s.get(), "A", "k", QString("ab") + QChar(0) + "cd");
        writeValue(s.get(), "A", "gone", "x");
        writeValue(s.get(), "B", "k", "kept");
        clearSection(s.get(), "A");
        writeValue(s.get(), "A", "k2", QString("ab") + QChar(0) + "cd");
    }
    std::unique_ptr<QSettings> s(openSettings(path));
    QCOMPARE(readValue(s.get(), "A", "k2"), QStringLiteral("ab"));
    QVERIFY(readValue(s.get(), "A", "gone").isEmpty());
    QCOMPARE(readValue(s.get(), "B", "k"), QStringLiteral("kept"));
    QVERIFY(readValue(s.get(), "C", "none").isEmpty());
}

QTEST_GUILESS_MAIN(TestProjectFile)
#include "tst_projectfile.moc"
