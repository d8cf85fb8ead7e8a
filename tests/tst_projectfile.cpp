#include "cutfiles.h"
#include "projectcompare.h"
#include "projectfile.h"
#include "settingshelpers.h"
#include "tablefixtures.h"
#include "testfiles.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
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
    void markedFileCutAnywhereIsRefusedOrWhole_data();
    void markedFileCutAnywhereIsRefusedOrWhole();
    void markedFileEditedByHand_data();
    void markedFileEditedByHand();
    void cutFileReadAnywayReadsAsUnmarked_data();
    void cutFileReadAnywayReadsAsUnmarked();
    void projectsOfTheSuitesOpenUnmarked();
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
    QTest::addColumn<QStringList>("note");    // what a note of the reading names
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
        << QStringList() << QStringList();
    QTest::newRow("one row beyond Count")
        << QByteArray(head + "[DI]\n" + diRow(1, "PA0") + diRow(2, "PA1") + "Count=1\n")
        << QStringList{"[DI]", "Count=1"} << QStringList();
    QTest::newRow("a row and Count 0") << head + "[DI]\n" + diRow(1, "PA0") + "Count=0\n"
                                       << QStringList{"[DI]", "Count=0"} << QStringList();
    // The last of two values is taken, as before, and said.
    QTest::newRow("a key given twice")
        << QByteArray(head + "[DI]\n2Pin=PB9\n" + diRow(1, "PA0") + diRow(2, "PA1") + "Count=2\n")
        << QStringList() << QStringList{"[DI]", "2Pin"};
    // A message quotes 80 characters of a line at most, escaped.
    QTest::newRow("a huge line with an escape sequence")
        << QByteArray(head + "[DI]\n\x1b[2J" + QByteArray(20000, 'x') + "\n")
        << QStringList{"[DI]", "\\x1b[2Jxxx"} << QStringList();
}

void TestProjectFile::handWrittenRowsAndComments()
{
    QFETCH(QByteArray, text);
    QFETCH(QStringList, refusal);
    QFETCH(QStringList, note);
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.cpro");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    ProjectData p;
    QString error;
    QStringList notes;
    QCOMPARE(ProjectFile::read(path, &p, &error, &notes), refusal.isEmpty());
    for (const QString &named : refusal)
        QVERIFY2(error.contains(named), qPrintable(error));
    QVERIFY2(error.size() < path.size() + 120, qPrintable(error));
    QVERIFY(std::none_of(error.cbegin(), error.cend(), [](QChar c) { return c < ' '; }));
    QCOMPARE(notes.size(), note.isEmpty() ? 0 : 1);
    for (const QString &named : note)
        QVERIFY2(notes.first().contains(named), qPrintable(notes.first()));
    if (refusal.isEmpty())
        QCOMPARE(valueOf(p.diInformation, "2Pin"), QStringLiteral("PA1"));
}

void TestProjectFile::markedFileCutAnywhereIsRefusedOrWhole_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<bool>("foreignSection");
    QTest::newRow("STM32F103RE") << "STM32F103RE" << false;
    QTest::newRow("STM32F407ZG") << "STM32F407ZG" << false;
    QTest::newRow("STM32F407ZG with a section of another program") << "STM32F407ZG" << true;
}

// A file this program wrote, cut at any byte, is refused or reads as the
// whole file: never as another project, also when the cut falls inside its
// last value (PortOfSocket8=50 for =5008), which every file written ends
// with a line end. Once the mark is in, a refusal names the section the cut
// falls in or the one after it.
void TestProjectFile::markedFileCutAnywhereIsRefusedOrWhole()
{
    QFETCH(QString, chip);
    QFETCH(bool, foreignSection);
    QTemporaryDir dir;
    const QString source = dir.filePath("whole.cpro");
    const ProjectData project = TableFixtures::fullyConfigured(chip);
    QString error;
    if (foreignSection) {
        std::unique_ptr<QSettings> s(openSettings(source));
        writeValue(s.get(), "NOTES", "author", QStringLiteral("李工"));
        writeValue(s.get(), "NOTES", "checked", "2024-05-01");
    }
    QVERIFY2(ProjectFile::write(project, source, &error), qPrintable(error));
    const QByteArray whole = TestFiles::read(source);
    QCOMPARE(whole.contains("[NOTES]"), foreignSection);
    ProjectData complete;
    QVERIFY2(ProjectFile::read(source, &complete, &error), qPrintable(error));

    // The sections of the mark (this program's own).
    QStringList marked;
    {
        std::unique_ptr<QSettings> s(openSettings(source));
        for (const QString &token : readValue(s.get(), "CHIP", ProjectFile::markKey()).split(' '))
            marked << token.section(':', 0, 0);
    }
    QVERIFY(marked.contains("CHIP") && !marked.contains("NOTES"));
    const QVector<CutFiles::Header> headers = CutFiles::headers(whole);
    const int markStart =
        int(whole.indexOf(QByteArray('\n' + ProjectFile::markKey().toUtf8() + '='))) + 1;
    QVERIFY(markStart > 0);
    QVERIFY(whole.endsWith('\n'));
    for (int cut = 0; cut <= whole.size(); ++cut) {
        const QString path = dir.filePath(QStringLiteral("cut%1.cpro").arg(cut));
        QVERIFY(TestFiles::write(path, whole.left(cut)));
        ProjectData read;
        error.clear();
        const bool ok = ProjectFile::read(path, &read, &error);
        QFile::remove(path);
        const QByteArray where = "cut at " + QByteArray::number(cut) + ": " + error.toUtf8();
        if (ok) {
            QVERIFY2(read == complete && cut == whole.size(), where.constData());
            continue;
        }
        QVERIFY2(error.contains(path), where.constData());
        if (cut <= markStart)
            continue;
        int in = 0; // the section whose header the cut has passed
        while (in + 1 < headers.size() && headers.at(in + 1).end <= cut)
            ++in;
        QStringList named{'[' + headers.at(in).name + ']'};
        for (int next = in + 1; next < headers.size() && named.size() == 1; ++next)
            if (marked.contains(headers.at(next).name))
                named << '[' + headers.at(next).name + ']';
        QVERIFY2(std::any_of(named.cbegin(), named.cend(),
                             [&](const QString &section) { return error.contains(section); }),
                 qPrintable(named.join(" or ") + ", " + where));
    }
}

void TestProjectFile::markedFileEditedByHand_data()
{
    QTest::addColumn<QByteArray>("file"); // as written
    QTest::addColumn<QByteArray>("edited");
    QTest::addColumn<QString>("refusal");  // the section named; empty: it opens
    QTest::addColumn<bool>("sameProject"); // when it opens: reads as the file written

    QTemporaryDir dir;
    const QString path = dir.filePath("whole.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), path));
    const QByteArray f = TestFiles::read(path);
    const QString mark = ProjectFile::markKey();
    std::unique_ptr<QSettings> s(openSettings(path));
    const QString marked = readValue(s.get(), "CHIP", mark);
    QVERIFY(!marked.isEmpty());
    // The mark promising one key more in [USART2] (and in the total).
    QStringList tokens = marked.split(' ');
    for (QString &token : tokens) {
        const QStringList parts = token.split(':');
        if (parts.first() == "USART2" || parts.first() == "total")
            token = parts.first() + ':' + QString::number(parts.last().toInt() + 1);
    }
    const QByteArray promisesMore = tokens.join(' ').toUtf8();
    QVERIFY(promisesMore != marked.toUtf8());
    // The mark naming [USART2] twice, its total made to fit.
    tokens = marked.split(' ');
    const QString usart2 = tokens.filter(QRegularExpression("^USART2:")).value(0);
    QVERIFY(!usart2.isEmpty());
    tokens.insert(tokens.size() - 1, usart2);
    tokens.last() = "total:" + QString::number(tokens.last().section(':', 1).toInt() +
                                               usart2.section(':', 1).toInt());
    const QByteArray namesTwice = tokens.join(' ').toUtf8();
    // Another program's order of sections, [CHIP] first.
    const int chipAt = f.indexOf("[CHIP]\n");
    const QByteArray otherOrder = f.mid(chipAt, f.indexOf("\n\n", chipAt) + 2 - chipAt) +
                                  CutFiles::withoutSection(CutFiles::reversed(f), "CHIP");

    using CutFiles::withoutKey;
    using CutFiles::withValue;
    QTest::newRow("another order of sections") << f << otherOrder << "" << true;
    QTest::newRow("another order of sections, cut inside [SPI1]")
        << f << CutFiles::cutInside(otherOrder, "SPI1") << "SPI1" << false;
    QTest::newRow("a value changed") << f << withValue(f, "USART2", "Baud", "9") << "" << false;
    QTest::newRow("a pin's function changed")
        << f << withValue(f, "DESC", "PA0", "Normal_DO") << "" << false;
    QTest::newRow("a value emptied")
        << f << withValue(f, "SPI1", "BaudRatePrefrequencyValue", "") << "" << false;
    QTest::newRow("sections and keys reversed") << f << CutFiles::reversed(f) << "" << true;
    QTest::newRow("a key added") << f << QByteArray(f).replace("[SPI2]\n", "[SPI2]\nNote=x\n") << ""
                                 << true;
    QTest::newRow("CRLF line ends") << f << QByteArray(f).replace("\n", "\r\n") << "" << true;
    QTest::newRow("the mark taken out") << f << withoutKey(f, "CHIP", mark) << "" << true;
    QTest::newRow("a key taken out") << f << withoutKey(f, "USART2", "Baud") << "USART2" << false;
    QTest::newRow("a pin taken out") << f << withoutKey(f, "DESC", "PA0") << "DESC" << false;
    QTest::newRow("the chip model taken out")
        << f << withoutKey(f, "CHIP", "Type") << "CHIP" << false;
    QTest::newRow("a section taken out")
        << f << CutFiles::withoutSection(f, "SPI2_NETWORK") << "SPI2_NETWORK" << false;
    QTest::newRow("the mark promising more")
        << f << withValue(f, "CHIP", mark, promisesMore) << "USART2" << false;
    QTest::newRow("a count of the mark changed")
        << f << withValue(f, "CHIP", mark, QByteArray(promisesMore).replace("total:", "total:1"))
        << "CHIP" << false;
    QTest::newRow("the mark cut short")
        << f << withValue(f, "CHIP", mark, marked.left(marked.lastIndexOf(' ')).toUtf8()) << "CHIP"
        << false;
    QTest::newRow("the mark naming a section twice")
        << f << withValue(f, "CHIP", mark, namesTwice) << "CHIP" << false;
    QTest::newRow("the mark emptied") << f << withValue(f, "CHIP", mark, "") << "CHIP" << false;
}

// A marked file opens with any value edited and in any order, and is refused
// once a key of its mark is missing; without its mark it reads as any file.
void TestProjectFile::markedFileEditedByHand()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, edited);
    QFETCH(QString, refusal);
    QFETCH(bool, sameProject);
    QVERIFY(edited != file);
    // The edits keep the rest of the file as it was written.
    QCOMPARE(CutFiles::withValue(file, "CHIP", "Type", "STM32F407ZG"), file);
    QTemporaryDir dir;
    const QString path = dir.filePath("edited.cpro");
    const QString written = dir.filePath("written.cpro");
    const QString unmarked = dir.filePath("unmarked.cpro");
    QVERIFY(TestFiles::write(path, edited) && TestFiles::write(written, file));
    QVERIFY(
        TestFiles::write(unmarked, CutFiles::withoutKey(edited, "CHIP", ProjectFile::markKey())));
    ProjectData read, asWritten, asUnmarked;
    QString error;
    QVERIFY(ProjectFile::read(written, &asWritten, &error));
    const bool ok = ProjectFile::read(path, &read, &error);
    QVERIFY2(ok == refusal.isEmpty(), qPrintable(error));
    if (!ok) {
        QVERIFY2(error.contains(path) && error.contains('[' + refusal + ']'), qPrintable(error));
        return;
    }
    QVERIFY2(ProjectFile::read(unmarked, &asUnmarked, &error), qPrintable(error));
    COMPARE_PROJECTS(read, asUnmarked);
    QCOMPARE(read == asWritten, sameProject);
}

void TestProjectFile::cutFileReadAnywayReadsAsUnmarked_data()
{
    QTest::addColumn<QString>("section"); // the cut falls inside it; empty: not cut
    QTest::addColumn<bool>("opens");      // when asked to read it anyway
    QTest::newRow("not cut") << QString() << true;
    QTest::newRow("inside [SPI1]") << "SPI1" << true;
    QTest::newRow("inside [DESC]") << "DESC" << true;
    QTest::newRow("inside [USART1_WIRELESSMODBULE]") << "USART1_WIRELESSMODBULE" << true;
    // A row table without its Count and a file without a chip model are
    // refused as in any file.
    QTest::newRow("inside [DI]") << "DI" << false;
    QTest::newRow("inside [CHIP]") << "CHIP" << false;
}

// Asked to, the reader opens a cut file as it would without its mark, and
// says what read refuses it for. Without the mark the cut file opens as
// before, absent keys empty.
void TestProjectFile::cutFileReadAnywayReadsAsUnmarked()
{
    QFETCH(QString, section);
    QFETCH(bool, opens);
    QTemporaryDir dir;
    const QString source = dir.filePath("whole.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), source));
    const QByteArray whole = TestFiles::read(source);
    const QByteArray bytes = section.isEmpty() ? whole : CutFiles::cutInside(whole, section);
    QVERIFY(!bytes.isEmpty());
    const QString path = dir.filePath("cut.cpro");
    const QString unmarked = dir.filePath("unmarked.cpro");
    QVERIFY(TestFiles::write(path, bytes));
    QVERIFY(
        TestFiles::write(unmarked, CutFiles::withoutKey(bytes, "CHIP", ProjectFile::markKey())));

    ProjectData complete, refused, anyway, lenient;
    QString error, refusal, cut = "stale";
    QVERIFY(ProjectFile::read(source, &complete, &error));
    const bool whole_ = ProjectFile::read(path, &refused, &refusal);
    QCOMPARE(whole_, section.isEmpty());
    if (!whole_)
        QVERIFY2(refusal.contains(path) && refusal.contains('[' + section + ']'),
                 qPrintable(refusal));
    QCOMPARE(ProjectFile::readEvenIfCut(path, &anyway, &cut, &error), opens);
    QCOMPARE(ProjectFile::read(unmarked, &lenient, &error), opens);
    if (!opens) {
        QVERIFY2(error.contains('[' + section + ']') || section == "CHIP", qPrintable(error));
        QVERIFY(cut.isEmpty());
        return;
    }
    QCOMPARE(cut, whole_ ? QString() : refusal);
    COMPARE_PROJECTS(anyway, lenient);
    QCOMPARE(anyway == complete, whole_);
}

// The projects the suites keep have no mark and open as they always did.
void TestProjectFile::projectsOfTheSuitesOpenUnmarked()
{
    QDirIterator files(QStringLiteral(MIREL_SOURCE_DIR "/tests/data"), {"*.cpro"}, QDir::Files,
                       QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        QVERIFY2(!TestFiles::read(path).contains(ProjectFile::markKey().toUtf8()),
                 qPrintable(path));
        ProjectData p;
        QString error;
        QVERIFY2(ProjectFile::read(path, &p, &error), qPrintable(error));
        ++count;
    }
    QVERIFY(count > 0);
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
