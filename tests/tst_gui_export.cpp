// The file menu's exports: pin table, picture and report written where the
// file dialog says, in a form standard viewers open.

#include "exportactions.h"
#include "filedialogs.h"
#include "messages.h"
#include "packagedrawing.h"
#include "pinrules.h"
#include "pinscene.h"
#include "projectfile.h"
#include "simprocess.h"
#include "tablefixtures.h"

#include <QImage>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestGuiExport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void exportsWriteWhatViewersOpen_data();
    void exportsWriteWhatViewersOpen();

private:
    QTemporaryDir dir;
    ProjectData project;
    QString projectPath;
    QStringList warnings;
};

void TestGuiExport::initTestCase()
{
    QVERIFY(dir.isValid());
    project = TableFixtures::fullyConfigured(QStringLiteral("STM32F407ZG"));
    projectPath = dir.filePath("board.cpro");
    QVERIFY(ProjectFile::write(project, projectPath));
    Messages::setHandler([this](const Messages::Request &request) {
        warnings << request.text;
        return QMessageBox::Ok;
    });
}

void TestGuiExport::cleanup()
{
    warnings.clear();
}

void TestGuiExport::exportsWriteWhatViewersOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("pin table") << "pins"
                               << "board.csv" << QByteArray("\xEF\xBB\xBF");
    QTest::newRow("PNG") << "picture"
                         << "board.png" << QByteArray("\x89PNG\r\n\x1a\n");
    QTest::newRow("SVG") << "picture"
                         << "board.svg" << QByteArray("<?xml");
    QTest::newRow("PDF picture") << "picture"
                                 << "board.pdf" << QByteArray("%PDF-");
    QTest::newRow("PDF report") << "report"
                                << "report.pdf" << QByteArray("%PDF-");
    QTest::newRow("HTML report") << "report"
                                 << "report.html" << QByteArray("<!DOCTYPE html>");
    QTest::newRow("picture of an unknown kind") << "picture"
                                                << "board.bmp" << QByteArray();
}

void TestGuiExport::exportsWriteWhatViewersOpen()
{
    QFETCH(QString, kind);
    QFETCH(QString, file);
    QFETCH(QByteArray, start);
    const QString path = dir.filePath(file);
    FileDialogs::setSaveHandler([&](const QString &, const QString &startPath, const QString &) {
        // The dialog starts beside the project, named after it.
        return QFileInfo(startPath).completeBaseName() == "board" &&
                       QFileInfo(startPath).absolutePath() == dir.path()
                   ? path
                   : QString();
    });
    PinBoard board(project.currentChip, project.useExternalRam());
    board.restoreFunctions(project.pinFunctions);
    CPinScene scene(&board);
    QMainWindow window;
    QWidget *parent = window.statusBar(); // asked from inside the window
    bool written = false;
    if (kind == "pins")
        written = ExportActions::exportPinTable(parent, project, projectPath);
    else if (kind == "picture")
        written = ExportActions::exportPicture(parent, &scene, projectPath);
    else
        written = ExportActions::exportReport(parent, project, projectPath);
    FileDialogs::setSaveHandler(nullptr);

    const QByteArray bytes = contents(path);
    QCOMPARE(written, !start.isEmpty());
    QCOMPARE(warnings.size(), start.isEmpty() ? 1 : 0);
    if (start.isEmpty()) // the message names the kinds there are
        QVERIFY(warnings.first().contains("PNG"));
    QVERIFY(bytes.startsWith(start));
    // The status bar says where a file went.
    QCOMPARE(window.statusBar()->currentMessage().contains(QDir::toNativeSeparators(path)),
             !start.isEmpty());
    if (start.isEmpty())
        return;
    if (file.endsWith(".csv")) // what the command line prints
        QCOMPARE(bytes.mid(3), runCli({"pins", projectPath, "--csv"}).out.toUtf8());
    if (file.endsWith(".png")) {
        const QImage image = QImage::fromData(bytes, "PNG");
        QCOMPARE(image.size(), QSize(4096, 4096));
        // The drawing is there: just inside the label of pin 34 (PA0, assigned)
        // the picture is green.
        const QRectF area = scene.itemsBoundingRect();
        const QRectF label = PackageDrawing::labelRect(
            PackageDrawing::pinRect(project.currentChip, 144, 33), PackageDrawing::LeftSide);
        const QPointF inside =
            (label.topLeft() + QPointF(3, 3) - area.topLeft()) * 4096 / area.width();
        QCOMPARE(image.pixelColor(inside.toPoint()), PackageDrawing::assignedColour());
    }
    if (file.endsWith(".svg"))
        QVERIFY(bytes.contains(">34:PA0<") && bytes.contains("viewBox"));
    if (file.endsWith(".pdf"))
        QVERIFY(bytes.trimmed().endsWith("%%EOF") && bytes.size() > 20000);
    if (file.endsWith(".html"))
        QVERIFY(bytes.contains("<svg") && bytes.contains("SPI1 以太网"));
}

QTEST_MAIN(TestGuiExport)
#include "tst_gui_export.moc"
