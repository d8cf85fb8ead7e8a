#include "csvfile.h"

#include <QtTest>

namespace {

using Rows = QVector<QStringList>;
using Lines = QVector<int>;

const QByteArray kBom("\xEF\xBB\xBF");

QByteArray withBom(const char *text)
{
    return kBom + QByteArray(text);
}

} // namespace

class TestCsvFile : public QObject
{
    Q_OBJECT
private slots:
    void readsRows_data();
    void readsRows();
    void refusesWhatIsNotCsv_data();
    void refusesWhatIsNotCsv();
    void writesQuotedFieldsWithBomAndCrlf_data();
    void writesQuotedFieldsWithBomAndCrlf();
    void awkwardFieldsSurviveARoundTrip_data();
    void awkwardFieldsSurviveARoundTrip();
};

void TestCsvFile::readsRows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<Lines>("lines");

    const Rows abcd{{"a", "b"}, {"c", "d"}};
    QTest::newRow("LF, no BOM") << QByteArray("a,b\nc,d\n") << "," << abcd << Lines{1, 2};
    QTest::newRow("CRLF with BOM") << withBom("a,b\r\nc,d\r\n") << "," << abcd << Lines{1, 2};
    QTest::newRow("lone CR") << QByteArray("a,b\rc,d\r") << "," << abcd << Lines{1, 2};
    QTest::newRow("last line without line end")
        << QByteArray("a,b\r\nc,d") << "," << abcd << Lines{1, 2};
    QTest::newRow("empty lines are no rows")
        << QByteArray("\r\n\r\na,b\n\n\nc,d\n\n") << "," << abcd << Lines{3, 6};
    QTest::newRow("semicolons") << QByteArray("a;b,c;d\n") << ";" << Rows{{"a", "b,c", "d"}}
                                << Lines{1};
    QTest::newRow("a tie is a comma")
        << QByteArray("a,b;c\n") << "," << Rows{{"a", "b;c"}} << Lines{1};
    QTest::newRow("separators in quotes do not count")
        << QByteArray("\"x;y;z\",w\n") << "," << Rows{{"x;y;z", "w"}} << Lines{1};
    QTest::newRow("empty fields") << QByteArray(",a,\n") << "," << Rows{{"", "a", ""}} << Lines{1};
    QTest::newRow("quoted separator, quote and line end")
        << QByteArray("\"x,y\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",z\r\nlast,row\r\n") << ","
        << Rows{{"x,y", "say \"hi\""}, {"two\r\nlines", "z"}, {"last", "row"}} << Lines{1, 2, 4};
    QTest::newRow("empty file") << QByteArray() << "," << Rows() << Lines();
    QTest::newRow("only a BOM") << kBom << "," << Rows() << Lines();
    QTest::newRow("only blank lines") << QByteArray("\r\n\n\r") << "," << Rows() << Lines();
    // As spreadsheet programs save them: UTF-8 with a BOM, CRLF and commas ...
    QTest::newRow("saved with BOM and CRLF")
        << withBom("序号,名称,说明\r\n1,温度传感器,\"量程 0~100℃,精度 0.5\"\r\n2,压力,\r\n") << ","
        << Rows{{"序号", "名称", "说明"},
                {"1", "温度传感器", "量程 0~100℃,精度 0.5"},
                {"2", "压力", ""}}
        << Lines{1, 2, 3};
    // ... and where the decimal mark is a comma: semicolons and LF.
    QTest::newRow("saved with semicolons and LF")
        << QByteArray("Pin;Function;Comment\nPA0;Normal_DI;\"first line\nsecond line\"\n"
                      "PA1;Normal_DO;3,5 V\n")
        << ";"
        << Rows{{"Pin", "Function", "Comment"},
                {"PA0", "Normal_DI", "first line\nsecond line"},
                {"PA1", "Normal_DO", "3,5 V"}}
        << Lines{1, 2, 4};
}

void TestCsvFile::readsRows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, separator);
    QFETCH(Rows, rows);
    QFETCH(Lines, lines);
    CsvFile::Table table;
    QString error;
    QVERIFY2(CsvFile::parse(bytes, &table, &error), qPrintable(error));
    QCOMPARE(table.rows, rows);
    QCOMPARE(table.lines, lines);
    QCOMPARE(QString(table.separator), separator);
}

void TestCsvFile::refusesWhatIsNotCsv_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("line");

    QTest::newRow("NUL byte") << QByteArray("a,b\r\nc\0d\r\n", 10) << 2;
    QTest::newRow("picture") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 3;
    QTest::newRow("Latin-1 text") << QByteArray("Temp\xE9rature;1\n") << 1;
    QTest::newRow("bad byte after a BOM") << withBom("a\nb\r\nc\xFF\n") << 3;
    QTest::newRow("cut UTF-8 sequence") << QByteArray("a\n\xE6\xB8") << 2;
    QTest::newRow("quote open at the end") << QByteArray("a,b\n\"c,d\ne,f\n") << 2;
    QTest::newRow("lone quote at the end") << QByteArray("a,\"") << 1;
    QTest::newRow("text after a closing quote") << QByteArray("a\n\"ab\"c,d\n") << 2;
    QTest::newRow("text after a quote over two lines") << QByteArray("\"x\r\ny\"z\n") << 2;
}

void TestCsvFile::refusesWhatIsNotCsv()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, line);
    CsvFile::Table table;
    table.rows.append(QStringList{"old"});
    QString error;
    QVERIFY(!CsvFile::parse(bytes, &table, &error));
    QVERIFY2(error.startsWith(QStringLiteral("line %1: ").arg(line)), qPrintable(error));
    QVERIFY(table.rows.isEmpty());
    QVERIFY(table.lines.isEmpty());
}

void TestCsvFile::writesQuotedFieldsWithBomAndCrlf_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("plain") << Rows{{"a", "b"}, {"c", "d"}} << "," << withBom("a,b\r\nc,d\r\n");
    QTest::newRow("no rows") << Rows() << "," << kBom;
    QTest::newRow("quotes") << Rows{{"x,y", "say \"hi\"", " lead", "trail ", "in side"}} << ","
                            << withBom(
                                   "\"x,y\",\"say \"\"hi\"\"\",\" lead\",\"trail \",in side\r\n");
    // Either separator is quoted: "1,5;2,5" would be read back with commas.
    QTest::newRow("semicolons") << Rows{{"3,5", "a;b", "c"}} << ";"
                                << withBom("\"3,5\";\"a;b\";c\r\n");
    QTest::newRow("line ends") << Rows{{"a\nb", "c\rd"}} << "," << withBom("\"a\nb\",\"c\rd\"\r\n");
    QTest::newRow("a single empty field")
        << Rows{{""}, {"", ""}} << "," << withBom("\"\"\r\n,\r\n");
    QTest::newRow("Chinese") << Rows{{"温度", "压力"}} << "," << withBom("温度,压力\r\n");
}

void TestCsvFile::writesQuotedFieldsWithBomAndCrlf()
{
    QFETCH(Rows, rows);
    QFETCH(QString, separator);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CsvFile::write(rows, separator.at(0)), bytes);
}

void TestCsvFile::awkwardFieldsSurviveARoundTrip_data()
{
    QTest::addColumn<QString>("separator");
    QTest::newRow("comma") << ",";
    QTest::newRow("semicolon") << ";";
}

void TestCsvFile::awkwardFieldsSurviveARoundTrip()
{
    QFETCH(QString, separator);
    const Rows rows{{"name", "note", "unit"},
                    {"a,b", "c;d", "he said \"no\""},
                    {"line\r\nbreak", "cr\ronly", "lf\nonly"},
                    {" lead", "trail ", "\"\""},
                    {"温度,压力", "传感器;接口", "℃"},
                    {""},
                    {"", "", "last"}};
    const QByteArray bytes = CsvFile::write(rows, separator.at(0));
    QVERIFY(bytes.startsWith(kBom));
    QVERIFY(bytes.endsWith(QString(separator + separator + "last\r\n").toUtf8()));
    CsvFile::Table table;
    QString error;
    QVERIFY2(CsvFile::parse(bytes, &table, &error), qPrintable(error));
    QCOMPARE(QString(table.separator), separator);
    QCOMPARE(table.rows, rows);
    // The third row holds three line ends: CRLF, CR and LF.
    QCOMPARE(table.lines, (Lines{1, 2, 3, 7, 8, 9, 10}));
}

QTEST_GUILESS_MAIN(TestCsvFile)
#include "tst_csvfile.moc"
