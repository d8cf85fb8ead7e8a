// The file menu's exports: pin table, picture and report written where the
// file dialog says, in a form standard viewers open.

#include "exportactions.h"
#include "filedialogs.h"
#include "mainwindow.h"
#include "messages.h"
#include "packagedrawing.h"
#include "pinrules.h"
#include "pinscene.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "simprocess.h"
#include "tablefixtures.h"
#include "tableimportpreview.h"

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
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
    void tablesGoOutAndComeBackAsOneStep_data();
    void tablesGoOutAndComeBackAsOneStep();

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

void TestGuiExport::tablesGoOutAndComeBackAsOneStep_data()
{
    QTest::addColumn<bool>("taken");
    QTest::newRow("确定: one step") << true;
    QTest::newRow("取消: nothing") << false;
}

// 导出表格… writes a file per table, replacing files only when asked to;
// 导入表格… of an edited file shows its change and its refusal first, then
// takes the change as one step that one undo takes back.
void TestGuiExport::tablesGoOutAndComeBackAsOneStep()
{
    QFETCH(bool, taken);
    const QString tables = dir.filePath(taken ? "tables-taken" : "tables-not");
    QVERIFY(QDir().mkpath(tables));
    FileDialogs::setFolderHandler(
        [&](const QString &, const QString &, const QString &) { return tables; });
    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(projectPath));
    const ProjectData opened = w.projectData();
    w.findChild<QAction *>("actionExportTables")->trigger();
    const QString di = tables + "/DI.csv";
    QVERIFY(QFile::exists(di) && QFile::exists(tables + "/USART1.csv"));
    // Files of those names are replaced only when the user says so.
    const QByteArray exported = contents(di);
    QFile edit(di);
    QVERIFY(edit.open(QIODevice::WriteOnly) && edit.write("edited") == 6);
    edit.close();
    int asked = 0;
    Messages::setHandler([&](const Messages::Request &) {
        ++asked;
        return QMessageBox::Cancel;
    });
    w.findChild<QAction *>("actionExportTables")->trigger();
    QCOMPARE(asked, 1);
    QCOMPARE(contents(di), QByteArray("edited"));
    Messages::setHandler([&](const Messages::Request &) { return QMessageBox::Yes; });
    w.findChild<QAction *>("actionExportTables")->trigger();
    QCOMPARE(contents(di), exported);

    // One start terminal moved, one mode that is no option.
    QList<QByteArray> lines = exported.split('\n');
    QList<QByteArray> first = lines[1].split(',');
    QList<QByteArray> second = lines[2].split(',');
    first[2] = "4000";
    second[1] = "sideways";
    lines[1] = first.join(',');
    lines[2] = second.join(',');
    QVERIFY(edit.open(QIODevice::WriteOnly) && edit.write(lines.join('\n')) > 0);
    edit.close();
    int changes = -1, refusals = -1;
    QTimer::singleShot(0, [&] {
        auto *preview = qobject_cast<TableImportPreview *>(QApplication::activeModalWidget());
        QVERIFY(preview);
        changes = preview->differenceList()->rowCount();
        refusals = preview->refusalList()->rowCount();
        taken ? preview->accept() : preview->reject();
    });
    const int steps = w.history()->count();
    w.findChild<QAction *>("actionImportTables")->trigger();
    QCOMPARE(changes, 1);
    QCOMPARE(refusals, 1);
    QCOMPARE(w.projectData() == opened, !taken);
    QCOMPARE(w.history()->count(), steps + (taken ? 1 : 0));
    if (taken) {
        QVERIFY(w.projectData().diInformation.contains("4000"));
        w.history()->undo();
        QVERIFY(w.projectData() == opened);
    }
    Messages::setHandler([this](const Messages::Request &request) {
        warnings << request.text;
        return QMessageBox::Ok;
    });
    FileDialogs::setFolderHandler(nullptr);
}

QTEST_MAIN(TestGuiExport)
#include "tst_gui_export.moc"
