// What a user types into a table stays until it is confirmed or given up:
// through undo and redo, pin changes that take its row away and bring it
// back, a language switched twice, and the table's settings windows; and
// nothing that uses the project drops it without a question.

#include "dialogconfigure.h"
#include "fieldmarks.h"
#include "filecheck.h"
#include "filedialogs.h"
#include "mainwindow.h"
#include "messages.h"
#include "pinchoice.h"
#include "pinrules.h"
#include "projectcontroller.h"
#include "projectfile.h"
#include "projecthistory.h"
#include "screenfit.h"
#include "tablecsv.h"
#include "tabledraft.h"
#include "tablefixtures.h"
#include "wirelessmoduleconfigure.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using D = CPinDescriptions;

namespace {

QTableWidget *tableOf(MainWindow &w)
{
    return w.configure()->table();
}

QComboBox *comboAt(MainWindow &w, int row, int column)
{
    return qobject_cast<QComboBox *>(tableOf(w)->cellWidget(row, column));
}

QString textAt(MainWindow &w, int row, int column)
{
    const QTableWidgetItem *item = tableOf(w)->item(row, column);
    return item ? item->text() : QStringLiteral("<no item>");
}

// The row of a pin in the open row table.
int rowOf(MainWindow &w, const QString &pin)
{
    for (int r = 0; r < tableOf(w)->rowCount(); ++r)
        if (textAt(w, r, 0) == pin)
            return r;
    return -1;
}

// Typed into a cell as the editor commits it.
void type(MainWindow &w, int row, int column, const QString &text)
{
    QTableWidgetItem *item = tableOf(w)->item(row, column);
    QVERIFY(item);
    item->setText(text);
}

void press(MainWindow &w, const char *button)
{
    auto *found = w.findChild<QPushButton *>(button);
    QVERIFY2(found, button);
    found->click();
}

// Ctrl+Z or Ctrl+Shift+Z pressed in the table window.
void keyInTable(MainWindow &w, Qt::KeyboardModifiers modifiers)
{
    DialogConfigure *table = w.configure();
    table->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(table));
    QTest::keyClick(tableOf(w), Qt::Key_Z, modifiers);
    QCoreApplication::processEvents();
}

} // namespace

class TestGuiTableDrafts : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void undoAndRedoKeepTypedValues();
    void aClearedRowComesBackWithItsValues();
    void aClearedPortComesBackWithItsValues();
    void languageSwitchedTwiceStillAsks();
    void aTableReopenedSpeaksTheNewLanguage_data();
    void aTableReopenedSpeaksTheNewLanguage();
    void settingsWindowsGoWithTheirTable();
    void aSettingsWindowsTypedValueIsAnEdit_data();
    void aSettingsWindowsTypedValueIsAnEdit();
    void usingTheProjectAsksAboutTypedValues_data();
    void usingTheProjectAsksAboutTypedValues();
    void questionsDefaultToKeepingWork();
    void openingSaysWhatTheFileLoses();
    void theTableFollowsPinsReadEarly();
    void rangesAreCopiedPastedAndFilledDown_data();
    void rangesAreCopiedPastedAndFilledDown();

private:
    QList<Messages::Request> asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
};

void TestGuiTableDrafts::init()
{
    QFile::remove(QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt");
    asked.clear();
    answer = QMessageBox::Cancel;
    Messages::setHandler([this](const Messages::Request &r) {
        asked << r;
        return answer;
    });
}

void TestGuiTableDrafts::cleanup()
{
    Messages::setHandler(nullptr);
    QFile::remove(QCoreApplication::applicationDirPath() + "/SoftwareInitialization.txt");
}

// A start terminal typed, an unrelated pin set, Ctrl+Z and Ctrl+Shift+Z in
// the table window: the project's steps go back and forth, the typed value
// stays, and nothing is asked.
void TestGuiTableDrafts::undoAndRedoKeepTypedValues()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    for (const char *pin : {"PA0", "PA1", "PA2"})
        choose(w, pin, "Normal_DI");
    press(w, "pushButtonDI");
    QCOMPARE(w.configure()->parentWidget(), &w);
    type(w, rowOf(w, "PA2"), 2, "33");
    choose(w, "PC6", "Normal_DO");
    QVERIFY(w.history()->canUndo());

    keyInTable(w, Qt::ControlModifier);
    QCOMPARE(w.projectData().pinFunctions.at(w.projectData().pinNames.indexOf("PC6")),
             QStringLiteral(" "));
    QVERIFY(w.configure()->isVisible());
    QCOMPARE(textAt(w, rowOf(w, "PA2"), 2), QStringLiteral("33"));
    keyInTable(w, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.projectData().pinFunctions.at(w.projectData().pinNames.indexOf("PC6")),
             QStringLiteral("Normal_DO"));
    QCOMPARE(textAt(w, rowOf(w, "PA2"), 2), QStringLiteral("33"));
    QVERIFY(asked.isEmpty());

    w.configure()->on_pushButtonOK_clicked();
    QVERIFY(!w.configure()->isVisible());
    QVERIFY(w.projectData().diInformation.join(',').contains("3Index,33"));
}

// 上拉输入 and 21 typed on PA0, PA0 cleared on the drawing, Ctrl+Z: the row
// comes back with what was typed.
void TestGuiTableDrafts::aClearedRowComesBackWithItsValues()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    for (const char *pin : {"PA0", "PA1"})
        choose(w, pin, "Normal_DI");
    press(w, "pushButtonDI");
    comboAt(w, 0, 1)->setCurrentIndex(1);
    type(w, 0, 2, "21");
    choose(w, "PA0", "ClearPin");
    QCOMPARE(rowOf(w, "PA0"), -1);
    QCOMPARE(tableOf(w)->rowCount(), 1);
    QVERIFY(w.configure()->hasUnconfirmedEdits());
    w.history()->undo();
    QCOMPARE(rowOf(w, "PA0"), 0);
    QCOMPARE(comboAt(w, 0, 1)->currentText(), QStringLiteral("上拉输入"));
    QCOMPARE(textAt(w, 0, 2), QStringLiteral("21"));
    QVERIFY(asked.isEmpty());
}

// SPI1 with film 2 = Flash and a chip select: PA5 cleared empties the
// table without a word, and the undo brings every value back.
void TestGuiTableDrafts::aClearedPortComesBackWithItsValues()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F407ZG", false);
    choose(w, "PA5", "SPI1_SCK");
    press(w, "pushButtonSPI1");
    comboAt(w, 14, 1)->setCurrentIndex(1); // Flash
    QComboBox *chipSelect = comboAt(w, 15, 1);
    QVERIFY(chipSelect->isEnabled());
    chipSelect->setCurrentIndex(chipSelect->findText("PB5"));
    QCOMPARE(chipSelect->currentText(), QStringLiteral("PB5"));

    choose(w, "PA5", "ClearPin");
    QVERIFY(asked.isEmpty());
    QCOMPARE(comboAt(w, 14, 1)->count(), 0);
    QVERIFY(w.configure()->hasUnconfirmedEdits());
    w.history()->undo();
    QCOMPARE(comboAt(w, 14, 1)->currentIndex(), 1);
    QCOMPARE(comboAt(w, 15, 1)->currentText(), QStringLiteral("PB5"));
    QVERIFY(!FieldMarks::isMarked(comboAt(w, 15, 1)));
    QVERIFY(asked.isEmpty());
}

// Chinese, English, Chinese: the typed value is on show and Esc still asks.
void TestGuiTableDrafts::languageSwitchedTwiceStillAsks()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    press(w, "pushButtonDI");
    type(w, 0, 2, "44");
    w.switchLanguage(1033);
    QCoreApplication::processEvents();
    QCOMPARE(comboAt(w, 0, 1)->itemText(0), QStringLiteral("Pull-down input"));
    w.switchLanguage(2052);
    QCoreApplication::processEvents();
    QCOMPARE(textAt(w, 0, 2), QStringLiteral("44"));
    QVERIFY(w.configure()->hasUnconfirmedEdits());
    w.configure()->reject();
    QCOMPARE(asked.size(), 1);
    QVERIFY(w.configure()->isVisible());
    QCOMPARE(textAt(w, 0, 2), QStringLiteral("44"));
}

void TestGuiTableDrafts::aTableReopenedSpeaksTheNewLanguage_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::newRow("SPI1, Chinese to English") << "pushButtonSPI1" << 2052 << 1033;
    QTest::newRow("SPI1, English to Chinese") << "pushButtonSPI1" << 1033 << 2052;
    QTest::newRow("DI, Chinese to English") << "pushButtonDI" << 2052 << 1033;
    QTest::newRow("DI, English to Chinese") << "pushButtonDI" << 1033 << 2052;
}

// A table given up with 取消, the language switched, the table opened
// again: its titles, rows and buttons are the new language's, none cut.
void TestGuiTableDrafts::aTableReopenedSpeaksTheNewLanguage()
{
    QFETCH(QString, button);
    QFETCH(int, from);
    QFETCH(int, to);
    MainWindow w;
    w.show();
    w.switchLanguage(from);
    w.SlotNewProject("STM32F407ZG", false);
    choose(w, "PA0", "Normal_DI");
    choose(w, "PA5", "SPI1_SCK");
    choose(w, "PA6", "SPI1_MISO");
    choose(w, "PA7", "SPI1_MOSI");
    press(w, button.toLatin1().constData());
    w.configure()->findChild<QPushButton *>("pushButtonCancel")->click();
    QVERIFY(!w.configure()->isVisible());
    w.switchLanguage(to);
    QCoreApplication::processEvents();
    press(w, button.toLatin1().constData());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the old table's buttons
    const QRegularExpression han(QStringLiteral("\\p{Han}"));
    QStringList chinese;
    for (const QString &text : ScreenFit::texts(w.configure()))
        if (han.match(text).hasMatch())
            chinese << text;
    QVERIFY2(chinese.isEmpty() == (to == 1033), qPrintable(chinese.join(" | ")));
    for (int c = 0; c < tableOf(w)->columnCount(); ++c) {
        const QString title = tableOf(w)->horizontalHeaderItem(c)->text();
        QVERIFY2(han.match(title).hasMatch() == (to == 2052), qPrintable(title));
    }
    const QStringList cut = ScreenFit::cutCells(tableOf(w));
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(" | ")));
    w.switchLanguage(2052);
}

// USART1 drives a modem; socket 1's address typed in its window; Ctrl+N,
// 应用 and then 取消: the table and its window are gone together, and the
// project holds the address.
void TestGuiTableDrafts::settingsWindowsGoWithTheirTable()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA9", "USART1_TX");
    press(w, "pushButtonUSART1");
    comboAt(w, 6, 1)->setCurrentIndex(5);
    qobject_cast<QPushButton *>(tableOf(w)->cellWidget(6, 2))->click();
    DialogWirelessModuleConfigure *sockets = w.configure()->wirelessModule();
    QVERIFY(sockets->isVisible());
    auto *address = sockets->findChild<QLineEdit *>("lineEditIPOfSocket1");
    address->selectAll();
    QTest::keyClicks(address, "10.0.0.7");
    // Another tab puts both down, typed values and all; the pin tab brings
    // them back.
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    tabs->setCurrentIndex(1);
    QVERIFY(!w.configure()->isVisible() && !sockets->isVisible());
    tabs->setCurrentIndex(0);
    QVERIFY(w.configure()->isVisible() && sockets->isVisible());
    QCOMPARE(address->text(), QStringLiteral("10.0.0.7"));
    QVERIFY(w.controller()->draft()->sockets().contains(QStringLiteral("10.0.0.7")));

    QList<QMessageBox::StandardButton> answers{QMessageBox::Apply, QMessageBox::Cancel};
    Messages::setHandler([&](const Messages::Request &r) {
        asked << r;
        return answers.isEmpty() ? QMessageBox::Cancel : answers.takeFirst();
    });
    w.on_actionNew_triggered();
    QVERIFY(!w.configure()->isVisible());
    QVERIFY(!sockets->isVisible());
    const QStringList stored = w.projectData().wirelessInformation.at(0);
    QCOMPARE(stored.value(stored.indexOf("IPOfSocket1") + 1), QStringLiteral("10.0.0.7"));
    QCOMPARE(w.projectData().usartInformation.at(0).value(13), QStringLiteral("5"));

    // Given up with its table, the window goes too.
    press(w, "pushButtonUSART1");
    qobject_cast<QPushButton *>(tableOf(w)->cellWidget(6, 2))->click();
    QVERIFY(sockets->isVisible());
    comboAt(w, 2, 1)->setCurrentIndex(0);
    answers = {QMessageBox::Discard};
    w.configure()->reject();
    QVERIFY(!w.configure()->isVisible());
    QVERIFY(!sockets->isVisible());
}

void TestGuiTableDrafts::aSettingsWindowsTypedValueIsAnEdit_data()
{
    QTest::addColumn<bool>("network");
    QTest::addColumn<QString>("road");
    QTest::addColumn<bool>("asks");
    QTest::newRow("network, the table's 取消") << true << "cancel" << true;
    QTest::newRow("sockets, quit") << false << "quit" << true;
    QTest::newRow("network, open") << true << "open" << true;
    QTest::newRow("sockets, the table's 取消") << false << "cancel" << true;
    QTest::newRow("network given up, the table's 取消") << true << "settings cancel" << false;
    QTest::newRow("sockets given up, the table's 取消") << false << "settings cancel" << false;
}

// A value typed into an open settings window is one of the table's
// unconfirmed edits, asked about wherever they are; the window's own 取消
// gives it up.
void TestGuiTableDrafts::aSettingsWindowsTypedValueIsAnEdit()
{
    QFETCH(bool, network);
    QFETCH(QString, road);
    QFETCH(bool, asks);
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    // The film or the port is put to use and confirmed first.
    const int row = network ? 12 : 6;
    if (network) {
        choose(w, "PA5", "SPI1_SCK");
        choose(w, "PA6", "SPI1_MISO");
        choose(w, "PA7", "SPI1_MOSI");
    } else {
        choose(w, "PA9", "USART1_TX");
        choose(w, "PA10", "USART1_RX");
    }
    const char *button = network ? "pushButtonSPI1" : "pushButtonUSART1";
    press(w, button);
    comboAt(w, row, 1)->setCurrentIndex(network ? 2 : 5);
    press(w, "pushButtonOK");
    QVERIFY(!w.configure()->isVisible());
    press(w, button);
    qobject_cast<QPushButton *>(tableOf(w)->cellWidget(row, 2))->click();
    QWidget *settings = network ? static_cast<QWidget *>(w.configure()->networkAttribut())
                                : w.configure()->wirelessModule();
    QVERIFY(settings->isVisible());
    auto *field = settings->findChild<QLineEdit *>(network ? "lineEditLocalStartPort"
                                                           : "lineEditPortOfSocket8");
    field->selectAll();
    QTest::keyClicks(field, "50123");
    QVERIFY(asked.isEmpty());

    if (road == "settings cancel") {
        settings->findChild<QPushButton *>("pushButtonCancel")->click();
        QVERIFY(!settings->isVisible());
        road = "cancel";
    }
    answer = QMessageBox::Cancel;
    if (road == "cancel")
        w.configure()->reject();
    else if (road == "quit")
        w.close();
    else {
        // The question comes once a file is chosen.
        QTemporaryDir dir;
        const QString other = dir.filePath("other.cpro");
        QVERIFY(ProjectFile::write(TableFixtures::saved("STM32F407ZG"), other));
        FileDialogs::setOpenHandler(
            [other](const QString &, const QString &, const QString &) { return other; });
        w.on_actionOpen_triggered();
        FileDialogs::setOpenHandler(nullptr);
        QCOMPARE(w.projectData().currentChip, QStringLiteral("STM32F103RE"));
    }
    const bool askedAboutTheTable =
        !asked.isEmpty() && asked.first().text.contains(QStringLiteral("未确定"));
    QCOMPARE(askedAboutTheTable, asks);
    // Kept on the question's default; gone with the window otherwise.
    QCOMPARE(w.configure()->isVisible(), asks);
    QCOMPARE(settings->isVisible(), asks);
    QCOMPARE(w.configure()->hasUnconfirmedEdits(), asks);
}

void TestGuiTableDrafts::usingTheProjectAsksAboutTypedValues_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("applied");
    for (const char *road : {"save", "download"}) {
        QTest::addRow("%s, cancel", road) << road << int(QMessageBox::Cancel) << false << false;
        QTest::addRow("%s, leave them out", road)
            << road << int(QMessageBox::Ignore) << true << false;
        QTest::addRow("%s, apply", road) << road << int(QMessageBox::Apply) << true << true;
    }
}

// Ctrl+S, or a download from the firmware tab (where the table has stepped
// aside), with a typed value in the open table: the question comes first,
// with the table on show. The file holds what the answer says, a cancelled
// save writes nothing, and only then the port is looked at. Left out or
// cancelled, the value stays typed in its table, which steps aside again
// until the pin tab returns.
void TestGuiTableDrafts::usingTheProjectAsksAboutTypedValues()
{
    QFETCH(QString, road);
    QFETCH(int, reply);
    QFETCH(bool, goesOn);
    QFETCH(bool, applied);
    QTemporaryDir dir;
    const QString path = dir.filePath("typed.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::saved("STM32F103RE"), path));
    const QDateTime before = QFileInfo(path).lastModified();
    MainWindow w;
    w.show();
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    press(w, "pushButtonDI");
    type(w, 0, 2, "4321");
    bool tableShownWhenAsked = false;
    Messages::setHandler([&](const Messages::Request &r) {
        if (asked.isEmpty())
            tableShownWhenAsked = w.configure()->isVisible();
        asked << r;
        return asked.size() == 1 ? QMessageBox::StandardButton(reply) : QMessageBox::Ok;
    });
    QTest::qWait(20); // a later write has a later time
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    const bool save = road == "save";
    if (save) {
        w.on_actionSave_triggered();
    } else {
        tabs->setCurrentIndex(1);
        QVERIFY(!w.configure()->isVisible());
        QVERIFY(w.configure()->hasUnconfirmedEdits());
        press(w, "pushButtonConfigureMirelHardwareInformation");
    }
    QVERIFY(tableShownWhenAsked);
    QCOMPARE(asked.first().defaultButton, QMessageBox::Cancel);
    // A download's next word is the closed port's.
    QCOMPARE(asked.size(), !save && goesOn ? 2 : 1);
    ProjectData stored;
    QVERIFY(ProjectFile::read(path, &stored));
    QCOMPARE(QFileInfo(path).lastModified() != before, save && goesOn);
    QCOMPARE(stored.diInformation.contains("4321"), save && applied);
    QCOMPARE(w.projectData().diInformation.contains("4321"), applied);
    QCOMPARE(w.configure()->hasUnconfirmedEdits(), !applied);
    QCOMPARE(w.configure()->isVisible(), save && !applied);
    tabs->setCurrentIndex(0);
    QCOMPARE(w.configure()->isVisible(), !applied);
    if (!applied)
        QCOMPARE(textAt(w, 0, 2), QStringLiteral("4321"));
}

// Enter on any of the table's questions keeps what was typed.
void TestGuiTableDrafts::questionsDefaultToKeepingWork()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    choose(w, "PA1", "Normal_DO");
    press(w, "pushButtonDI");
    type(w, 0, 2, "9");
    w.configure()->reject();
    press(w, "pushButtonDO");
    // The table's 取消 and another table ask the one question, with the
    // same answers.
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0).defaultButton, QMessageBox::Cancel);
    QCOMPARE(asked.at(1).defaultButton, QMessageBox::Cancel);
    QCOMPARE(asked.at(0).buttons, asked.at(1).buttons);
    QCOMPARE(asked.at(0).buttonTexts, asked.at(1).buttonTexts);
    QCOMPARE(w.configure()->dlgType(), D::DlgDI);
    QCOMPARE(textAt(w, 0, 2), QStringLiteral("9"));
}

// A file whose DI table names a pin without the function and a film chip
// select on a reserved pin opens with both gone, and the window says so in
// the words of the command line.
void TestGuiTableDrafts::openingSaysWhatTheFileLoses()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("lossy.cpro");
    ProjectData file = TableFixtures::projectWith(
        "STM32F103RE",
        {{"PA0", "Normal_DI"}, {"PA5", "SPI1_SCK"}, {"PA6", "SPI1_MISO"}, {"PA7", "SPI1_MOSI"}});
    file.diInformation =
        TableFixtures::row(D::DlgDI, 1, {"PA0", "1", "1", "0", "0", "0", "0", "0"}) +
        TableFixtures::row(D::DlgDI, 2, {"PB9", "1", "7", "0", "0", "0", "0", "0"});
    file.spiInformation[0] = TableFixtures::spi({"PA5", "PA6", "PA7", "0", "0", "0", "0", "0", "0",
                                                 "0", "0", "0", "1", "PB2", "0", "0", "0", "0"});
    QString error;
    QVERIFY2(ProjectFile::write(file, path, &error), qPrintable(error));
    ProjectData read;
    QVERIFY(ProjectFile::read(path, &read, &error));
    const QVector<ProjectProblem> lost = FileCheck::readWarnings(read);
    QCOMPARE(lost.size(), 2);

    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    QCOMPARE(asked.size(), 1);
    for (const ProjectProblem &problem : lost)
        QVERIFY2(asked.first().text.contains(problem.message), qPrintable(asked.first().text));
    QCOMPARE(w.projectData().diInformation.size(), 16);
    // Saved again, the file holds what the window shows and opens quietly.
    asked.clear();
    QVERIFY(w.controller()->save(path, &error));
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    QVERIFY(asked.isEmpty());
}

// A pin drawn and the project read (by an export, say) before the event is
// over: the open table still takes the new row.
void TestGuiTableDrafts::theTableFollowsPinsReadEarly()
{
    MainWindow w;
    w.show();
    w.SlotNewProject("STM32F103RE", false);
    choose(w, "PA0", "Normal_DI");
    press(w, "pushButtonDI");
    QCOMPARE(tableOf(w)->rowCount(), 1);
    PinBoard *board = w.controller()->pinBoard();
    const int pin = board->indexOfPin("PA1");
    board->applyFunction(pin, "Normal_DI", board->function(pin));
    QCOMPARE(w.projectData().diInformation.size(), 32);
    QCoreApplication::processEvents();
    QCOMPARE(tableOf(w)->rowCount(), 2);
    QCOMPARE(textAt(w, 1, 0), QStringLiteral("PA1"));
}

void TestGuiTableDrafts::rangesAreCopiedPastedAndFilledDown_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("reply"); // to the question about refused cells
    QTest::newRow("rows 1-2 copied onto rows 5-6") << "copy" << int(QMessageBox::Cancel);
    QTest::newRow("a block from a text editor") << "typed" << int(QMessageBox::Cancel);
    QTest::newRow("a refused cell: nothing pasted") << "refused" << int(QMessageBox::Cancel);
    QTest::newRow("a refused cell: the rest pasted") << "refused" << int(QMessageBox::Yes);
    QTest::newRow("filled down") << "fill" << int(QMessageBox::Cancel);
}

// Ctrl+C, Ctrl+V and Ctrl+D in a table window: values taken as if typed,
// unconfirmed until 确定, refused cells asked about; 取消 drops them all.
void TestGuiTableDrafts::rangesAreCopiedPastedAndFilledDown()
{
    QFETCH(QString, road);
    QFETCH(int, reply);
    MainWindow w;
    w.show();
    QVERIFY(w.OpenConfigureEngineeringFile(MIREL_SOURCE_DIR "/tests/data/sync/derived07.cpro"));
    press(w, "pushButtonDI");
    QTableWidget *table = tableOf(w);
    QVERIFY(QTest::qWaitForWindowActive(w.configure()));
    const QString pullUp = comboAt(w, 0, 1)->itemText(1);
    const QString pullDown = comboAt(w, 0, 1)->itemText(0);
    QCOMPARE(comboAt(w, 4, 1)->currentText(), pullDown);
    answer = QMessageBox::StandardButton(reply);
    const auto select = [table](int top, int left, int bottom, int right) {
        table->clearSelection();
        table->setCurrentCell(top, left);
        table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
        table->setFocus();
    };
    QString expectedAt4 = pullDown, expectedTerminal = textAt(w, 4, 2);
    if (road == "copy") {
        comboAt(w, 0, 1)->setCurrentIndex(1);
        type(w, 0, 2, "40");
        select(0, 1, 1, 2);
        QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text().count('\t'), 2); // two rows of two
        select(4, 1, 4, 1);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(textAt(w, 5, 2), textAt(w, 1, 2));
        expectedAt4 = pullUp;
        expectedTerminal = "40";
    } else if (road == "typed" || road == "refused") {
        // In English, as a spreadsheet in English hands it over.
        const QString english = TableCsv::bothLanguages().last()->diInputModes.value(1);
        QApplication::clipboard()->setText(english + "\t50\r\n" + english + "\t" +
                                           (road == "refused" ? "70000" : "51") + "\r\n");
        select(4, 1, 4, 1);
        QTest::keyClick(table, Qt::Key_V, Qt::ControlModifier);
        const bool taken = road == "typed" || answer == QMessageBox::Yes;
        QCOMPARE(asked.size(), road == "refused" ? 1 : 0);
        expectedAt4 = taken ? pullUp : pullDown;
        expectedTerminal = taken ? "50" : expectedTerminal;
    } else {
        comboAt(w, 0, 1)->setCurrentIndex(1);
        select(0, 1, 7, 1);
        QTest::keyClick(table, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(comboAt(w, 7, 1)->currentText(), pullUp);
        expectedAt4 = pullUp;
    }
    QCOMPARE(comboAt(w, 4, 1)->currentText(), expectedAt4);
    QCOMPARE(textAt(w, 4, 2), expectedTerminal);
    const bool edited = expectedAt4 == pullUp;
    QCOMPARE(w.configure()->hasUnconfirmedEdits(), edited);
    QVERIFY(!w.projectData().diInformation.contains(QStringLiteral("50"))); // unconfirmed
    // 取消, and 不应用: the pasted values go with the typed ones.
    asked.clear();
    answer = QMessageBox::Ignore;
    w.configure()->reject();
    QCOMPARE(asked.size(), edited ? 1 : 0);
    press(w, "pushButtonDI");
    QCOMPARE(comboAt(w, 4, 1)->currentText(), pullDown);
}

QTEST_MAIN(TestGuiTableDrafts)
#include "tst_gui_tabledrafts.moc"
