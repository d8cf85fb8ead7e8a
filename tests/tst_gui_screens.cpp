#include "batchpanel.h"
#include "comparewindow.h"
#include "dialogconfigure.h"
#include "dialognewpro.h"
#include "downloadtab.h"
#include "mainwindow.h"
#include "messages.h"
#include "networkattribut.h"
#include "projectcheck.h"
#include "screenfit.h"
#include "windowfiles.h"
#include "wirelessmoduleconfigure.h"

#include <QDeadlineTimer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <memory>

using D = CPinDescriptions;

namespace {

enum Language
{
    Chinese,
    EnglishAtStart,
    EnglishAfterSwitch
};

// The windows a user meets: the main window on each tab, every table, the
// settings windows of a table, the batch window and the new-project dialog.
QStringList windowNames()
{
    QStringList names{"pins", "firmware", "network", "wireless", "batch", "new project", "compare"};
    for (int type = D::DlgDI; type <= D::DlgSYS; ++type)
        names << QStringLiteral("table %1").arg(type);
    return names;
}

} // namespace

Q_DECLARE_METATYPE(Language)

// Every window can be used on the screens people have, in both languages:
// whatever it holds can be reached, and no text is cut.
class TestScreens : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void everyWindowFitsTheScreen_data();
    void everyWindowFitsTheScreen();

private:
    // Opens the window called name from w; null when it cannot be found.
    QWidget *open(MainWindow &w, const QString &name);
    QTemporaryDir dir;
};

void TestScreens::init()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler([](const Messages::Request &) { return QMessageBox::Yes; });
}

void TestScreens::cleanup()
{
    QFile::remove(startupSettingsPath());
    Messages::setHandler(nullptr);
}

void TestScreens::everyWindowFitsTheScreen_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QSize>("screen");
    const QVector<QPair<const char *, Language>> languages{
        {"Chinese", Chinese},
        {"English at start", EnglishAtStart},
        {"English after a switch", EnglishAfterSwitch}};
    // 1920x1080 at 150 % or 1366x768 less a taskbar; and the least size
    // served by scrolling.
    for (const QSize screen : {QSize(1280, 680), QSize(1024, 576)})
        for (const auto &language : languages)
            QTest::addRow("%s, %dx%d", language.first, screen.width(), screen.height())
                << language.second << screen;
}

QWidget *TestScreens::open(MainWindow &w, const QString &name)
{
    auto *tabs = w.findChild<QTabWidget *>("tabWidget");
    if (name == "pins" || name == "firmware") {
        tabs->setCurrentIndex(name == "pins" ? 0 : 1);
        // The offline update unfolded: the tab at its tallest.
        w.findChild<QToolButton *>("toolButtonOffline")->setChecked(name == "firmware");
        // Unfolded, it shows the files.
        if (name == "firmware" && !w.findChild<QLineEdit *>("lineEditPathConf")->isVisible())
            return nullptr;
        return &w;
    }
    if (name.startsWith("table ")) {
        w.openTableAt(D::DlgType(name.mid(6).toInt()), 1, 0);
        return w.configure();
    }
    if (name == "compare") {
        // A controller holding the project with a row changed.
        ProjectData held = w.projectData();
        TableFixtures::setValue(held.doInformation, "1Mode", "1");
        QByteArray table;
        if (!ProjectCheck::buildTable(held, &table))
            return nullptr;
        emit w.findChild<CDownloadTab *>()->controllerRead(table, false, QString());
        return w.findChild<CompareWindow *>();
    }
    if (name == "new project")
        return w.findChild<DialogNewPro *>();
    if (name == "batch") {
        auto *tab = w.findChild<CDownloadTab *>();
        tab->openBatchPanel();
        BatchPanel *panel = tab->batchPanel();
        // A port that fails, with its reason in the result column.
        panel->addPort(dir.filePath("no-such-adapter"));
        panel->setTicked(dir.filePath("no-such-adapter"), true);
        panel->start();
        QDeadlineTimer deadline(10000);
        while (panel->isRunning() && !deadline.hasExpired())
            QTest::qWait(20);
        return panel->isRunning() ? nullptr : panel;
    }
    // The settings window opened from its table's button.
    const bool network = name == "network";
    w.openTableAt(network ? D::DlgSPI1 : D::DlgUSART1, 1, 0);
    for (QPushButton *button : w.configure()->findChildren<QPushButton *>()) {
        if (!w.configure()->findChild<QTableWidget *>()->isAncestorOf(button))
            continue;
        button->click();
        QWidget *settings =
            network ? static_cast<QWidget *>(w.configure()->findChild<CNetworkAttribut *>())
                    : w.configure()->findChild<DialogWirelessModuleConfigure *>();
        if (settings && settings->isVisible())
            return settings;
    }
    return nullptr;
}

void TestScreens::everyWindowFitsTheScreen()
{
    QFETCH(Language, language);
    QFETCH(QSize, screen);
    if (language == EnglishAtStart) {
        MainWindow first;
        first.switchLanguage(1033);
    }
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("full.cpro");
    QVERIFY(ProjectFile::write(TableFixtures::fullyConfigured("STM32F407ZG"), path));
    MainWindow w;
    QVERIFY(w.OpenConfigureEngineeringFile(path));
    w.resize(screen);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QRegularExpression han(QStringLiteral("\\p{Han}"));
    QStringList problems;
    for (const QString &name : windowNames()) {
        // Each window opened in Chinese, then the language switched.
        if (language == EnglishAfterSwitch)
            w.switchLanguage(2052);
        QWidget *shown = open(w, name);
        if (!shown) {
            problems << name + QStringLiteral(": did not open");
            continue;
        }
        if (language == EnglishAfterSwitch)
            w.switchLanguage(1033);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        // A window grows to its new texts once the events of a change are
        // over; then it is put on that screen, as large as it wants or as
        // the screen.
        QTest::qWait(1);
        shown->resize(shown->size().boundedTo(screen));
        QTest::qWait(1);
        if (shown->width() > screen.width() || shown->height() > screen.height())
            problems << name + QStringLiteral(": %1x%2").arg(shown->width()).arg(shown->height());
        for (const QString &control : ScreenFit::unreachable(shown))
            problems << name + QStringLiteral(": out of reach: ") + control;
        for (const QString &text : ScreenFit::cut(shown))
            problems << name + QStringLiteral(": cut: ") + text;
        // Not one Chinese character is left in English, but the name the
        // language menu gives Chinese in its own script.
        for (QString text : ScreenFit::texts(shown)) {
            const QString whole = text;
            // What the system said of the failed port is kept as it was said.
            if (text.contains(QStringLiteral("no-such-adapter")))
                continue;
            if (language != Chinese && text.remove(QStringLiteral("简体中文")).contains(han))
                problems << name + QStringLiteral(": Chinese: ") + whole;
        }
        if (shown != &w)
            shown->close();
    }
    QVERIFY2(problems.isEmpty(), qPrintable(QLatin1Char('\n') + problems.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestScreens)
#include "tst_gui_screens.moc"
