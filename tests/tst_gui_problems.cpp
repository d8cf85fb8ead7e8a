// The project's problems in view as the user works, and the project set
// against what a controller holds.

#include "comparewindow.h"
#include "dialogconfigure.h"
#include "downloadtab.h"
#include "mainwindow.h"
#include "messages.h"
#include "networkattribut.h"
#include "peripheralpanel.h"
#include "pinitem.h"
#include "pinscene.h"
#include "problemsdock.h"
#include "progressbar.h"
#include "projectcheck.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "projectsync.h"
#include "tablefixtures.h"
#include "windowfiles.h"
#include "wirelessmoduleconfigure.h"

#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using D = CPinDescriptions;
using TableFixtures::setValue;

namespace {

// Writes the table a controller holding project would send.
bool writeTable(const ProjectData &project, const QString &path)
{
    QByteArray bytes;
    QFile file(path);
    return ProjectCheck::buildTable(ProjectSync::current(project), &bytes) &&
           file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// tests/standin started with arguments; its device, empty when it did not start.
QString startStandIn(QProcess &standin, const QStringList &arguments)
{
    standin.start(QStringLiteral("python3"),
                  QStringList{QStringLiteral(MIREL_SOURCE_DIR "/tests/standin/standin.py")} +
                      arguments);
    if (!standin.waitForReadyRead(5000))
        return QString();
    return QString::fromLocal8Bit(standin.readLine()).trimmed();
}

// The port to device opened in the firmware tab and 与控制器比较 pressed: the
// comparison window once it shows, null when it does not.
CompareWindow *compareOver(MainWindow &w, const QString &device)
{
    w.findChild<QComboBox *>("comboBoxComNo")->setEditText(device);
    w.findChild<CDownloadTab *>()->openPort();
    w.findChild<QPushButton *>("pushButtonCompare")->click();
    CompareWindow *compare = nullptr;
    const bool shown = QTest::qWaitFor(
        [&] { return (compare = w.findChild<CompareWindow *>()) && compare->isVisible(); }, 20000);
    return shown ? compare : nullptr;
}

} // namespace

class TestGuiProblems : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void problemsFollowTheEdits();
    void noProjectIsNotAProjectWithoutProblems();
    void aSettingsProblemOpensItsWindow_data();
    void aSettingsProblemOpensItsWindow();
    void comparisonListsWhatTheControllerHolds();
    void whatIsNotAComparisonIsSaidAsSuch_data();
    void whatIsNotAComparisonIsSaidAsSuch();

private:
    QTemporaryDir dir;
};

void TestGuiProblems::init()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Yes; });
}

void TestGuiProblems::cleanup()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler(nullptr);
}

void TestGuiProblems::problemsFollowTheEdits()
{
    // Two DO rows on the same terminals: a warning, kept as stored.
    ProjectData file = TableFixtures::saved("STM32F103RE");
    QVERIFY(setValue(file.doInformation, "2Index", "17"));
    const QString path = dir.filePath("overlap.cpro");
    QVERIFY(ProjectFile::write(file, path));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    auto *dock = w.findChild<ProblemsDock *>();
    QVERIFY(dock);
    QCOMPARE(dock->problems().size(), 1);
    const ProjectProblem overlap = dock->problems().first();
    QCOMPARE(overlap.severity, ProjectProblem::Warning);
    QCOMPARE(overlap.table, D::DlgDO);
    QCOMPARE(overlap.row, 2);
    QVERIFY(!w.peripheralButton(D::DlgDO)->icon().isNull());
    QVERIFY(w.peripheralButton(D::DlgDI)->icon().isNull());
    const QString counts = dock->countLabel()->text();

    // Enter on the problem: its table, at its cell.
    QTableWidget *list = dock->list();
    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Return);
    DialogConfigure *table = w.configure();
    QVERIFY(table->isVisible());
    QCOMPARE(table->dlgType(), D::DlgDO);
    QCOMPARE(table->table()->currentRow(), overlap.row - 1);
    QCOMPARE(table->table()->currentColumn(), overlap.column);

    // The user moves the row's terminals apart and confirms: no problem.
    table->table()->item(1, overlap.column)->setText("40");
    w.findChild<QPushButton *>("pushButtonOK")->click();
    QVERIFY(dock->problems().isEmpty());
    QVERIFY(w.peripheralButton(D::DlgDO)->icon().isNull());
    QVERIFY(dock->countLabel()->text() != counts);
    // Undone, it is back.
    w.history()->undo();
    QCOMPARE(dock->problems().size(), 1);
    QCOMPARE(dock->problems().first().row, 2);
    QCOMPARE(dock->countLabel()->text(), counts);
    QVERIFY(!w.peripheralButton(D::DlgDO)->icon().isNull());
}

// Without a project the panel does not say the project has no problems.
void TestGuiProblems::noProjectIsNotAProjectWithoutProblems()
{
    MainWindow w;
    auto *dock = w.findChild<ProblemsDock *>();
    auto *said = dock->findChild<QLabel *>("labelNoProblem");
    QVERIFY(said);
    const QString withoutProject = said->text();
    w.SlotNewProject("STM32F103RE", false);
    QVERIFY(dock->problems().isEmpty());
    QVERIFY(!said->text().isEmpty());
    QVERIFY(said->text() != withoutProject);
}

void TestGuiProblems::aSettingsProblemOpensItsWindow_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<int>("table");
    QTest::addColumn<QString>("key");   // the value left empty
    QTest::addColumn<QString>("field"); // where the keyboard goes
    QTest::newRow("F407 SPI3 film 2 gateway")
        << "STM32F407ZG" << int(D::DlgSPI3) << "FilmApplication2DefaultGeteway"
        << "lineEditDefaultGeteway";
    QTest::newRow("F103 USART1 socket 8 address")
        << "STM32F103RE" << int(D::DlgUSART1) << "IPOfSocket8"
        << "lineEditIPOfSocket8";
}

// A problem of a film's network or of a socket opens its table and, over it,
// the settings window with the keyboard on the field, from either tab.
void TestGuiProblems::aSettingsProblemOpensItsWindow()
{
    QFETCH(QString, chip);
    QFETCH(int, table);
    QFETCH(QString, key);
    QFETCH(QString, field);
    ProjectData file = TableFixtures::saved(chip);
    const bool spi = table >= D::DlgSPI1;
    if (spi) {
        const int port = table - D::DlgSPI1;
        QVERIFY(setValue(file.spiInformation[port], "Film2Application", "3"));
        QVERIFY(setValue(file.networkInformation[port], "FilmApplication2UseAutoGetIP", "2"));
        QVERIFY(setValue(file.networkInformation[port], "FilmApplication2IPAddr", "10.0.0.2"));
        QVERIFY(setValue(file.networkInformation[port], "FilmApplication2SubnetMas", "255.0.0.0"));
    } else {
        QVERIFY(setValue(file.usartInformation[0], "PortApplication", "6"));
        QVERIFY(setValue(file.wirelessInformation[0], "ApplicationOfSocket8", "2"));
    }
    QVERIFY(setValue(
        spi ? file.networkInformation[table - D::DlgSPI1] : file.wirelessInformation[0], key, ""));
    const QString path = dir.filePath("settings.cpro");
    QVERIFY(ProjectFile::write(file, path));
    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    auto *dock = w.findChild<ProblemsDock *>();
    QCOMPARE(dock->problems().size(), 1);
    // Asked for from the firmware tab, the table comes beside its drawing.
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentIndex(1);
    QTableWidget *list = dock->list();
    list->setCurrentCell(0, 0);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(int(w.configure()->dlgType()), table);
    QWidget *settings = spi ? static_cast<QWidget *>(w.configure()->networkAttribut())
                            : w.configure()->wirelessModule();
    QVERIFY(settings->isVisible());
    QVERIFY(settings->focusWidget());
    QCOMPARE(settings->focusWidget()->objectName(), field);
}

void TestGuiProblems::comparisonListsWhatTheControllerHolds()
{
    const ProjectData project = TableFixtures::saved("STM32F407ZG");
    const QString path = dir.filePath("project.cpro");
    QVERIFY(ProjectFile::write(project, path));
    // The controller holds the project changed in three places.
    ProjectData held = project;
    QVERIFY(setValue(held.doInformation, "1Mode", "1"));
    QVERIFY(setValue(held.diInformation, "2Index", "30"));
    QVERIFY(setValue(held.usartInformation[1], "Baud", "4"));
    QVERIFY(writeTable(held, dir.filePath("held.bin")));
    QProcess standin;
    const QString device = startStandIn(
        standin, {"--table", dir.filePath("held.bin"), "--log", dir.filePath("requests.log")});
    QVERIFY(!device.isEmpty());

    MainWindow w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    CompareWindow *compare = compareOver(w, device);
    QVERIFY(compare);
    QStringList found;
    for (const ProjectDifference &d : compare->differences())
        found << d.tableName + QLatin1Char(' ') + QString::number(d.row) + QLatin1Char(' ') + d.pin;
    QCOMPARE(found, (QStringList{"DI 2 PA1", "DO 1 PB0", "USART2 3 "}));
    QCOMPARE(compare->list()->rowCount(), 3);
    // The comparison says how the read went: no progress box is left over.
    QVERIFY(!w.findChild<CDownloadTab *>()->progressWindow()->isVisible());
    // Read as the project's chip (0x10), whatever the upload box says.
    QFile log(dir.filePath("requests.log"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> requests = log.readAll().trimmed().split('\n');
    QVERIFY(!requests.isEmpty());
    for (const QByteArray &request : requests)
        QVERIFY2(request.endsWith(" 10"), request.constData());
    QVERIFY(compare->findChild<QPushButton *>("pushButtonOpenController")->isEnabled());
    // The differing pins are marked on the drawing, until the project changes.
    QStringList marked;
    for (CPinItem *pin : w.scene()->pinItems())
        if (pin->isMarked())
            marked << pin->pinName();
    marked.sort();
    QCOMPARE(marked, (QStringList{"PA1", "PB0"}));
    // Enter on a difference: its table at its cell.
    compare->list()->setCurrentCell(1, 0);
    QTest::keyClick(compare->list(), Qt::Key_Return);
    QCOMPARE(w.configure()->dlgType(), D::DlgDO);
    QCOMPARE(w.configure()->table()->currentRow(), 0);
    QCOMPARE(w.configure()->table()->currentColumn(), compare->differences().at(1).column);
    QTableWidget *cells = w.configure()->table();
    for (int c = 0; c < cells->columnCount(); ++c)
        if (cells->horizontalHeaderItem(c)->text().contains(QStringLiteral("起始端子")))
            cells->item(0, c)->setText(QStringLiteral("60"));
    w.findChild<QPushButton *>("pushButtonOK")->click();
    for (CPinItem *pin : w.scene()->pinItems())
        QVERIFY2(!pin->isMarked(), qPrintable(pin->pinName()));
    QVERIFY(compare->verdict().startsWith(QStringLiteral("（工程已修改")));
    // Its own download is compared again: the controller now holds the
    // project, and the list says so.
    compare->findChild<QPushButton *>("pushButtonDownloadProject")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!compare->verdict().startsWith(QStringLiteral("（工程已修改")), 20000);
    QTRY_VERIFY(!w.findChild<CDownloadTab *>()->progressWindow()->isVisible());
    QVERIFY(compare->differences().isEmpty());
    QVERIFY2(compare->verdict().contains(QStringLiteral("相同")), qPrintable(compare->verdict()));
    standin.terminate();
    standin.waitForFinished(5000);
}

void TestGuiProblems::whatIsNotAComparisonIsSaidAsSuch_data()
{
    QTest::addColumn<QStringList>("standin");
    QTest::addColumn<QString>("said");
    // It holds no table: it announces a length of 0.
    QTest::newRow("empty controller") << QStringList() << QStringLiteral("没有配置表");
    // Every answer damaged: the read fails, whatever it is tried again.
    QStringList damaged;
    for (int request = 1; request <= 24; ++request)
        damaged << QStringLiteral("%1=corrupt").arg(request);
    QTest::newRow("failed read") << QStringList{"--table", "<project>", "--faults",
                                                damaged.join(QLatin1Char(','))}
                                 << QStringLiteral("没有读到控制器中的配置");
}

void TestGuiProblems::whatIsNotAComparisonIsSaidAsSuch()
{
    QFETCH(QStringList, standin);
    QFETCH(QString, said);
    const QString path = dir.filePath("project.cpro");
    const ProjectData project = TableFixtures::saved("STM32F103RE");
    QVERIFY(ProjectFile::write(project, path));
    QVERIFY(writeTable(project, dir.filePath("project.bin")));
    standin.replaceInStrings(QStringLiteral("<project>"), dir.filePath("project.bin"));
    QProcess controller;
    const QString device = startStandIn(controller, standin);
    QVERIFY(!device.isEmpty());
    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    CompareWindow *compare = compareOver(w, device);
    QVERIFY(compare);
    QVERIFY2(compare->verdict().contains(said), qPrintable(compare->verdict()));
    QVERIFY(!compare->verdict().contains(QStringLiteral("相同")));
    QVERIFY(compare->differences().isEmpty());
    QVERIFY(!compare->findChild<QPushButton *>("pushButtonOpenController")->isEnabled());
    controller.terminate();
    controller.waitForFinished(5000);
}

QTEST_MAIN(TestGuiProblems)
#include "tst_gui_problems.moc"
