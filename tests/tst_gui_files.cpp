// Opening projects from outside the open dialog: the recent projects of the
// file menu, a file named on the command line, a file dropped on the window.

#include "filedialogs.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinchoice.h"
#include "projectpaths.h"
#include "recentprojects.h"
#include "settingshelpers.h"
#include "windowfiles.h"

#include <QDropEvent>
#include <QGraphicsView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

class TestGuiFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void recentProjectsFollowOpenAndSave();
    void startFileOpensInsteadOfTheLastProject_data();
    void startFileOpensInsteadOfTheLastProject();
    void argumentsNameTheProject_data();
    void argumentsNameTheProject();
    void droppedProjectsOpenOtherFilesAreRefused_data();
    void droppedProjectsOpenOtherFilesAreRefused();

private:
    QStringList messages;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
};

namespace {

QMenu *recentMenu(MainWindow &w)
{
    QMenu *file = w.menuBar()->actions().at(0)->menu();
    for (QAction *action : file->actions())
        if (action->menu() && action->text() == QStringLiteral("最近打开"))
            return action->menu();
    return nullptr;
}

// The entries of the submenu as it shows, above the line; below it are the
// greyed line naming the project the next start opens, and 清除列表.
QList<QAction *> recentEntries(MainWindow &w, bool belowTheLine = false)
{
    QMenu *menu = recentMenu(w);
    menu->popup(QPoint());
    menu->close();
    QList<QAction *> entries;
    bool below = false;
    for (QAction *action : menu->actions()) {
        below = below || action->isSeparator();
        if (!action->isSeparator() && below == belowTheLine)
            entries << action;
    }
    return entries;
}

QStringList recentTexts(MainWindow &w)
{
    QStringList texts;
    for (QAction *action : recentEntries(w))
        texts << action->text();
    return texts;
}

} // namespace

void TestGuiFiles::init()
{
    QFile::remove(startupSettingsPath());
    messages.clear();
    answer = QMessageBox::Ok;
    Messages::setHandler([this](const Messages::Request &r) {
        messages << r.text;
        return answer;
    });
}

void TestGuiFiles::cleanup()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler(nullptr);
    FileDialogs::setSaveHandler(nullptr);
}

void TestGuiFiles::recentProjectsFollowOpenAndSave()
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.cpro");
    const QString b = dir.filePath("b & c.cpro");
    const QString gone = dir.filePath("gone.cpro");
    writeProject(a);
    writeProject(gone);
    FileDialogs::setSaveHandler(
        [&](const QString &, const QString &, const QString &) { return b; });
    {
        MainWindow w;
        QVERIFY(!recentMenu(w)->menuAction()->isEnabled()); // nothing yet
        QVERIFY(w.OpenConfigureEngineeringFile(gone));
        QVERIFY(w.OpenConfigureEngineeringFile(a));
        w.menuBar()->actions().at(0)->menu()->actions().at(3)->trigger(); // 另存为
        QCOMPARE(w.projectPath(), b);
    }
    // Newest first, kept for the next start; a file that is gone is greyed.
    QVERIFY(QFile::remove(gone));
    MainWindow w;
    w.show();
    QCOMPARE(recentTexts(w),
             (QStringList{"&1 " + dir.filePath("b && c.cpro"), "&2 " + a, "&3 " + gone}));
    const QList<QAction *> entries = recentEntries(w);
    QVERIFY(entries.at(0)->isEnabled() && entries.at(1)->isEnabled());
    QVERIFY(!entries.at(2)->isEnabled());
    QVERIFY(entries.at(2)->toolTip().contains("不存在") && entries.at(2)->toolTip().contains(gone));
    // The next start opens the project saved last, greyed below the line.
    QCOMPARE(recentEntries(w, true).size(), 2);
    QCOMPARE(recentEntries(w, true).first()->toolTip(), QDir::toNativeSeparators(b));
    QVERIFY(!recentEntries(w, true).first()->isEnabled());

    // An entry opens its project once unsaved changes are seen to.
    QVERIFY(w.OpenConfigureEngineeringFile(a));
    choose(w, "PA1", "Normal_DO");
    answer = QMessageBox::Cancel;
    recentEntries(w).at(1)->trigger();
    QTRY_COMPARE(messages.size(), 1);
    QCOMPARE(w.projectPath(), a);
    answer = QMessageBox::Discard;
    recentEntries(w).at(1)->trigger();
    QTRY_COMPARE(w.projectPath(), b);
    QVERIFY(!w.isWindowModified());
    QVERIFY(w.OpenConfigureEngineeringFile(a)); // opened, not saved: b still starts
    QCOMPARE(recentEntries(w).first()->text(), "&1 " + a);
    QCOMPARE(recentEntries(w, true).first()->toolTip(), QDir::toNativeSeparators(b));

    // 清除列表 empties it, here and in the settings file.
    recentMenu(w)->actions().last()->trigger();
    QTRY_VERIFY(!recentMenu(w)->menuAction()->isEnabled());
    QVERIFY(RecentProjects::load(QCoreApplication::applicationDirPath()).isEmpty());
}

void TestGuiFiles::startFileOpensInsteadOfTheLastProject_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("opens");
    QTest::newRow("a project") << "named.cpro" << true;
    QTest::newRow("missing") << "missing.cpro" << false;
    QTest::newRow("not a project") << "alien.cpro" << false;
}

// A file that cannot be opened is said, and the last project opens as at
// any start.
void TestGuiFiles::startFileOpensInsteadOfTheLastProject()
{
    QFETCH(QString, named);
    QFETCH(bool, opens);
    QTemporaryDir dir;
    const QString last = dir.filePath("last.cpro");
    writeProject(last, "STM32F407ZG");
    writeProject(dir.filePath("named.cpro"));
    QFile alien(dir.filePath("alien.cpro"));
    QVERIFY(alien.open(QIODevice::WriteOnly));
    alien.write("[CHIP]\nType=Z80\n");
    alien.close();
    {
        std::unique_ptr<QSettings> s(openSettings(startupSettingsPath()));
        writeValue(s.get(), "EngineeringFilePath", "filePath", last);
    }
    const QString path = dir.filePath(named);
    MainWindow w(path);
    w.show();
    QTRY_VERIFY(w.scene());
    QCOMPARE(w.projectPath(), opens ? path : last);
    QCOMPARE(messages.size(), opens ? 0 : 1);
    if (!opens)
        QVERIFY2(messages.first().contains(path), qPrintable(messages.first()));
}

void TestGuiFiles::argumentsNameTheProject_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("project");
    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("path") << QStringList{"/tmp/a/../b.cpro"} << "/tmp/b.cpro";
    QTest::newRow("relative") << QStringList{"b.cpro"}
                              << QDir::current().absoluteFilePath("b.cpro");
    QTest::newRow("URL") << QStringList{"file:///tmp/%E5%B7%A5.cpro"} << "/tmp/工.cpro";
    QTest::newRow("options skipped") << QStringList{"--reverse", "/tmp/b.cpro"} << "/tmp/b.cpro";
    QTest::newRow("after --") << QStringList{"--", "-b.cpro"}
                              << QDir::current().absoluteFilePath("-b.cpro");
}

void TestGuiFiles::argumentsNameTheProject()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, project);
    QCOMPARE(ProjectPaths::fromArguments(arguments), project);
}

void TestGuiFiles::droppedProjectsOpenOtherFilesAreRefused_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("taken");
    QTest::newRow("project") << QStringList{"drop.cpro"} << true;
    QTest::newRow("suffix in capitals") << QStringList{"DROP.CPRO"} << true;
    QTest::newRow("text file") << QStringList{"notes.txt"} << false;
    QTest::newRow("two projects") << QStringList{"drop.cpro", "DROP.CPRO"} << false;
    QTest::newRow("web address") << QStringList{"http://example.org/drop.cpro"} << false;
}

// Dragged over the drawing, the window takes a project (copied, never
// moved) and opens it after asking about unsaved changes.
void TestGuiFiles::droppedProjectsOpenOtherFilesAreRefused()
{
    QFETCH(QStringList, files);
    QFETCH(bool, taken);
    QTemporaryDir dir;
    QList<QUrl> urls;
    for (const QString &file : files) {
        urls << (file.contains(':') ? QUrl(file) : QUrl::fromLocalFile(dir.filePath(file)));
        if (!file.contains(':'))
            writeProject(dir.filePath(file));
    }
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F407ZG", false);
    choose(w, "PA1", "Normal_DO");
    QMimeData data;
    data.setUrls(urls);
    const auto actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.findChild<QGraphicsView *>("PinsView")->viewport(), &enter);
    QCOMPARE(enter.isAccepted(), taken);
    QDropEvent drop(QPointF(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QCOMPARE(drop.isAccepted(), taken);
    QCOMPARE(drop.dropAction(), taken ? Qt::CopyAction : drop.dropAction());
    if (!taken) {
        QTest::qWait(50);
        QVERIFY(messages.isEmpty());
        QVERIFY(w.projectPath().isEmpty());
        return;
    }
    answer = QMessageBox::Discard;
    QTRY_COMPARE(w.projectPath(), dir.filePath(files.first()));
    QCOMPARE(messages.size(), 1); // the unsaved changes
    QCOMPARE(w.projectData().currentChip, QStringLiteral("STM32F103RE"));
}

QTEST_MAIN(TestGuiFiles)
#include "tst_gui_files.moc"
