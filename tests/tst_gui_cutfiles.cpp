// The window and project files this program wrote that have lost part of
// themselves: it says so and opens one only when the user agrees, as a
// changed project.

#include "cutfiles.h"
#include "mainwindow.h"
#include "messages.h"
#include "projectcompare.h"
#include "projectcontroller.h"
#include "projectsync.h"
#include "settingshelpers.h"
#include "testfiles.h"
#include "windowfiles.h"

#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class TestGuiCutFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cutFileOpensOnlyWhenTheUserAgrees_data();
    void cutFileOpensOnlyWhenTheUserAgrees();
    void cutLastProjectIsNotOpenedAtStart();

private:
    QList<Messages::Request> requests;
    // The answer to a question; NoButton: the default button (Enter).
    QMessageBox::StandardButton reply = QMessageBox::NoButton;
};

void TestGuiCutFiles::init()
{
    QFile::remove(startupSettingsPath());
    requests.clear();
    Messages::setHandler([this](const Messages::Request &r) {
        requests << r;
        if (r.icon != QMessageBox::Question)
            return QMessageBox::Ok;
        return reply == QMessageBox::NoButton ? r.defaultButton : reply;
    });
}

void TestGuiCutFiles::cleanup()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler(nullptr);
}

void TestGuiCutFiles::cutFileOpensOnlyWhenTheUserAgrees_data()
{
    QTest::addColumn<QString>("section"); // the cut falls inside it; empty: not cut
    QTest::addColumn<int>("answer");      // to the question; NoButton: Enter
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("opens");
    const int open = QMessageBox::Open, cancel = QMessageBox::Cancel, enter = QMessageBox::NoButton;
    QTest::newRow("whole") << QString() << open << false << true;
    QTest::newRow("cut inside [SPI1], opened") << "SPI1" << open << true << true;
    QTest::newRow("cut inside [SPI1], declined") << "SPI1" << cancel << true << false;
    QTest::newRow("cut inside [SPI1], Enter") << "SPI1" << enter << true << false;
    QTest::newRow("cut inside [DESC], opened") << "DESC" << open << true << true;
    QTest::newRow("cut inside [USART2], declined") << "USART2" << cancel << true << false;
    // A row table without its Count cannot be read even so: refused.
    QTest::newRow("cut inside [DI]") << "DI" << open << false << false;
}

void TestGuiCutFiles::cutFileOpensOnlyWhenTheUserAgrees()
{
    QFETCH(QString, section);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, opens);
    reply = QMessageBox::StandardButton(answer);
    QTemporaryDir dir;
    const QString before = dir.filePath("before.cpro");
    const QString whole = dir.filePath("whole.cpro");
    const QString path = dir.filePath("cut.cpro");
    writeProject(before);
    QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), whole));
    const QByteArray bytes = TestFiles::read(whole);
    QVERIFY(
        TestFiles::write(path, section.isEmpty() ? bytes : CutFiles::cutInside(bytes, section)));

    MainWindow w;
    w.show();
    QVERIFY(w.OpenConfigureEngineeringFile(before));
    QVERIFY(requests.isEmpty());
    QCOMPARE(w.OpenConfigureEngineeringFile(path), opens);

    // One box: the question, or the refusal; none for a whole file.
    QCOMPARE(requests.size(), section.isEmpty() ? 0 : 1);
    if (!requests.isEmpty()) {
        const Messages::Request &said = requests.first();
        QCOMPARE(said.icon == QMessageBox::Question, asked);
        QVERIFY2(said.text.contains(path) && said.text.contains('[' + section + ']'),
                 qPrintable(said.text));
        if (asked) {
            QVERIFY(said.buttons.testFlag(QMessageBox::Open));
            QVERIFY(said.defaultButton != QMessageBox::Open); // Enter keeps what is open
        }
    }
    QCOMPARE(w.projectPath(), opens ? path : before);
    // A cut file opened is not what it was saved as: changed until saved.
    const bool cut = !section.isEmpty();
    QCOMPARE(w.isProjectModified(), opens && cut);
    QCOMPARE(w.isWindowModified(), opens && cut);
    if (!opens)
        return;
    ProjectData file;
    QString error, said;
    QVERIFY(ProjectFile::readEvenIfCut(path, &file, &said, &error));
    COMPARE_PROJECTS(w.controller()->project(), ProjectSync::current(file));
    QVERIFY(w.controller()->save(path, &error));
    QVERIFY(!w.isProjectModified());
    QVERIFY2(ProjectFile::read(path, &file, &error), qPrintable(error));
}

// The project remembered from last time is opened without a word from the
// user: a cut one is not opened, and the status bar says why.
void TestGuiCutFiles::cutLastProjectIsNotOpenedAtStart()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("last.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F103RE"), path));
    QVERIFY(TestFiles::write(path, CutFiles::cutInside(TestFiles::read(path), "SPI2")));
    {
        std::unique_ptr<QSettings> s(openSettings(startupSettingsPath()));
        writeValue(s.get(), "EngineeringFilePath", "filePath", path);
    }
    MainWindow w;
    w.show();
    QCoreApplication::processEvents();
    QVERIFY(requests.isEmpty());
    QVERIFY(w.projectPath().isEmpty());
    QVERIFY(!w.isProjectModified());
    const QString status = w.statusBar()->currentMessage();
    QVERIFY2(status.contains(path) && status.contains("[SPI2]"), qPrintable(status));
}

QTEST_MAIN(TestGuiCutFiles)
#include "tst_gui_cutfiles.moc"
