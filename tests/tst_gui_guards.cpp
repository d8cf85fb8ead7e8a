// Guards of the window that keep the user's files and the controller right:
// a new project never writes over the file of the one before, a save brings
// the table file up to date, a failed download is not read back, and a table
// opened again lets every chip-select bit it needs be chosen.

#include "configtable.h"
#include "dialogconfigure.h"
#include "dlgdescription.h"
#include "downloadtab.h"
#include "filedialogs.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinchoice.h"
#include "pinscene.h"
#include "projectfile.h"
#include "projectpaths.h"
#include "simprocess.h"
#include "tabledraft.h"
#include "tablefixtures.h"
#include "transferjob.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using D = CPinDescriptions;

namespace {

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The window's save command as Ctrl+S reaches it.
QAction *saveShortcut(const MainWindow &window)
{
    for (QAction *action : window.findChildren<QAction *>())
        if (action->shortcuts().contains(QKeySequence(QKeySequence::Save)))
            return action;
    return nullptr;
}

} // namespace

class TestGuiGuards : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void newProjectAsksWhereToSave_data();
    void newProjectAsksWhereToSave();
    void saveRewritesTheTableFile_data();
    void saveRewritesTheTableFile();
    void failedDownloadIsNotReadBack_data();
    void failedDownloadIsNotReadBack();
    void aFailedDownloadsTableMakesAProject();
    void reopenedRowOffersItsNextChipSelectBit_data();
    void reopenedRowOffersItsNextChipSelectBit();

private:
    QTemporaryDir dir;
    int saveDialogs = 0;
    QString offered; // what the save dialog started with
    QString savePath;
};

void TestGuiGuards::init()
{
    // No project remembered from another suite reopens at start.
    QFile::remove(QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt");
    saveDialogs = 0;
    savePath = dir.filePath("chosen.cpro");
    QFile::remove(savePath);
    offered.clear();
    FileDialogs::setSaveHandler([this](const QString &, const QString &start, const QString &) {
        ++saveDialogs;
        offered = start;
        return savePath;
    });
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Discard; });
}

void TestGuiGuards::cleanup()
{
    Messages::setHandler(nullptr);
    FileDialogs::setSaveHandler(nullptr);
    QFile::remove(QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt");
}

void TestGuiGuards::newProjectAsksWhereToSave_data()
{
    QTest::addColumn<bool>("savedBefore"); // else opened
    QTest::newRow("after an opened project") << false;
    QTest::newRow("after a saved project") << true;
}

void TestGuiGuards::newProjectAsksWhereToSave()
{
    QFETCH(bool, savedBefore);
    const QString previous = dir.filePath("previous.cpro");
    MainWindow w;
    if (savedBefore) {
        savePath = previous;
        w.SlotNewProject("STM32F103RE", false);
        w.on_actionSave_triggered();
        savePath = dir.filePath("chosen.cpro");
        saveDialogs = 0;
    } else {
        QVERIFY(ProjectFile::write(
            TableFixtures::projectWith("STM32F103RE", {{"PA0", "Normal_DI"}}), previous));
        QVERIFY(w.OpenConfigureEngineeringFile(previous));
    }
    const QByteArray before = contentOf(previous);
    QVERIFY(!before.isEmpty());

    w.SlotNewProject("STM32F407ZG", false);
    QAction *save = saveShortcut(w);
    QVERIFY(save);
    save->trigger();
    QCOMPARE(saveDialogs, 1);
    // A name is offered in an existing folder, never the previous project's file.
    QVERIFY(offered != previous);
    QVERIFY(QFileInfo(offered).absoluteDir().exists());
    QVERIFY2(offered.endsWith("STM32F407ZG.cpro"), qPrintable(offered));
    QCOMPARE(contentOf(previous), before);
    ProjectData written;
    QVERIFY(ProjectFile::read(savePath, &written));
    QCOMPARE(written.currentChip, QStringLiteral("STM32F407ZG"));
}

void TestGuiGuards::saveRewritesTheTableFile_data()
{
    QTest::addColumn<QString>("chip");
    QTest::newRow("STM32F103RE") << "STM32F103RE";
    QTest::newRow("STM32F407ZG") << "STM32F407ZG";
}

void TestGuiGuards::saveRewritesTheTableFile()
{
    QFETCH(QString, chip);
    const QString tablePath = ProjectPaths::applicationDirectory() + "/bin/" + chip + "/" +
                              CDlgDescription().configTableFileName;
    QVERIFY(writeFile(tablePath, "a table of an older project"));

    MainWindow w;
    w.SlotNewProject(chip, false);
    const QStringList names = w.projectData().pinNames;
    w.scene()->setPinFunction(names.indexOf("PA0"), "Normal_DI");
    w.scene()->setPinFunction(names.indexOf("PA1"), "Normal_DO");
    w.on_actionSave_triggered();
    QCOMPARE(saveDialogs, 1);

    const QString expectedPath = dir.filePath("expected.bin");
    QVERIFY(ConfigTable::writeTableFile(w.projectData(), expectedPath));
    QCOMPARE(contentOf(tablePath), contentOf(expectedPath));
}

void TestGuiGuards::failedDownloadIsNotReadBack_data()
{
    QTest::addColumn<QStringList>("controller"); // mirel-sim's options
    QTest::addColumn<bool>("succeeds");
    QTest::newRow("block refused") << QStringList{"--fail-status", "2-"} << false;
    QTest::newRow("no room") << QStringList{"--buffer-full"} << false;
    QTest::newRow("accepted") << QStringList() << true;
}

void TestGuiGuards::failedDownloadIsNotReadBack()
{
    QFETCH(QStringList, controller);
    QFETCH(bool, succeeds);
    SimProcess sim(controller);
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));

    QByteArray table;
    QVERIFY(ConfigTable::buildConfigurationTable(TableFixtures::fullyConfigured("STM32F103RE"),
                                                 &table, nullptr));
    CDownloadTab::Hooks hooks;
    hooks.currentChip = [] { return QStringLiteral("STM32F103RE"); };
    hooks.hasProject = [] { return true; };
    hooks.buildTable = [&table](QByteArray *t, QString *) {
        *t = table;
        return true;
    };
    hooks.analyzeUpload = [](const QByteArray &, const QString &, QString *, QStringList *) {
        return true;
    };
    hooks.appDir = [this] { return dir.path(); };
    CDownloadTab tab(hooks);
    tab.setVerifyAfterDownload(true);
    tab.findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
    tab.openPort();

    // The transfers of the job, and how the job ended.
    QList<bool> ends;
    bool readBackStarted = false;
    connect(tab.driver(), &CTransferDriver::finished, &tab, [&](bool success) { ends << success; });
    connect(tab.job(), &CTransferJob::phaseChanged, &tab, [&](CTransferJob::Phase phase) {
        readBackStarted = readBackStarted || phase == CTransferJob::ReadingBack;
    });
    QSignalSpy jobEnds(tab.job(), &CTransferJob::finished);
    tab.startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(jobEnds.count(), 1, 30000);
    QCOMPARE(ends.first(), succeeds);
    QCOMPARE(readBackStarted, succeeds);
    QCOMPARE(jobEnds.first().first().toBool(), succeeds);
    if (succeeds)
        QCOMPARE(ends, QList<bool>({true, true}));
    else
        QCOMPARE(tab.state(), int(CTransfer::Idle));
}

// 由下载的配置生成工程 after a download the controller refused: the table
// built for it becomes the project once the unsaved one is let go, and the
// title does not say it was read from the controller.
void TestGuiGuards::aFailedDownloadsTableMakesAProject()
{
    SimProcess sim({"--buffer-full"});
    QVERIFY2(!sim.device().isEmpty(), qPrintable(sim.error()));
    QList<Messages::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    Messages::setHandler([&](const Messages::Request &r) {
        asked << r;
        return answer;
    });
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    const QString unsaved = w.windowTitle();
    auto *tab = w.findChild<CDownloadTab *>();
    QVERIFY(tab);
    tab->findChild<QComboBox *>("comboBoxComNo")->setEditText(sim.device());
    tab->openPort();
    QSignalSpy jobEnds(tab->job(), &CTransferJob::finished);
    tab->startDownload();
    QTRY_COMPARE_WITH_TIMEOUT(jobEnds.count(), 1, 30000);
    QVERIFY(!jobEnds.first().first().toBool());

    auto *make = tab->findChild<QPushButton *>("pushButton");
    QVERIFY(make);
    asked.clear();
    make->click();
    // The unsaved project is asked about first; kept, nothing changes.
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().buttons.testFlag(QMessageBox::Save));
    QCOMPARE(w.windowTitle(), unsaved);
    answer = QMessageBox::Discard;
    make->click();
    QVERIFY(w.isWindowModified());
    const QString made = w.windowTitle();
    QVERIFY(made != unsaved);
    // Not the title of a project read from the controller.
    QVERIFY(!made.contains(QCoreApplication::translate("MainWindow", "从控制器读取，尚未保存")));
}

void TestGuiGuards::reopenedRowOffersItsNextChipSelectBit_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("bitsSet"); // bits 0.. stored with a pin
    for (int bits = 0; bits <= 4; ++bits)
        QTest::addRow("DI, %d bits", bits) << int(D::DlgDI) << bits;
    QTest::newRow("DO, 3 bits") << int(D::DlgDO) << 3;
    QTest::newRow("AI, 3 bits") << int(D::DlgAI) << 3;
    QTest::newRow("AO, 2 bits") << int(D::DlgAO) << 2;
}

// A row stored with chip selects on bits 0..n-1: opened again, bits 0..n
// can be chosen (the next one to add a board), the bits above cannot.
void TestGuiGuards::reopenedRowOffersItsNextChipSelectBit()
{
    QFETCH(int, type);
    QFETCH(int, bitsSet);
    const auto kind = D::DlgType(type);
    const QStringList pins{"PB0", "PB1", "PC0", "PC1"};
    const QStringList keys = rowKeys(kind);
    QStringList values;
    for (const QString &key : keys) {
        const int bit = key.startsWith("SliceSelectPin_") ? key.mid(15, 1).toInt() : -1;
        if (rowCellOf(key) == RowCell::Pin)
            values << "PA0";
        else if (rowCellOf(key) == RowCell::Enable)
            values << "1";
        else if (bit >= 0)
            values << (bit < bitsSet ? pins.at(bit) : QStringLiteral("0"));
        else
            values << "1";
    }
    const QString function = kind == D::DlgDI   ? QStringLiteral("Normal_DI")
                             : kind == D::DlgDO ? QStringLiteral("Normal_DO")
                             : kind == D::DlgAI ? QStringLiteral("ADC1_IN0")
                                                : QStringLiteral("DAC_OUT1");
    ProjectData project = TableFixtures::projectWith("STM32F103RE", {{"PA0", function}});
    *project.tableList(kind) = TableFixtures::row(kind, 1, values);
    TableDraft draft;
    DialogConfigure dialog(&draft);
    dialog.launch(kind, project);
    const CDlgDescription text;
    QTableWidget &widget = *dialog.table();
    QCOMPARE(widget.rowCount(), 1);

    for (int bit = 0; bit <= 3; ++bit) {
        const int column = int(keys.indexOf(QStringLiteral("SliceSelectPin_%1Bit").arg(bit)));
        auto *box = qobject_cast<QComboBox *>(widget.cellWidget(0, column));
        QVERIFY(box);
        QVERIFY2(box->isEnabled() == (bit <= bitsSet), qPrintable(QString::number(bit)));
        QCOMPARE(box->currentText(), bit < bitsSet ? pins.at(bit) : text.noneText);
    }
    QCOMPARE(draft.table().information, TableFixtures::row(kind, 1, values));
    dialog.hide();
}

QTEST_MAIN(TestGuiGuards)
#include "tst_gui_guards.moc"
