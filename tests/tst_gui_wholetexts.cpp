#include "aboutpindle.h"
#include "dialognewpro.h"
#include "networkattribut.h"
#include "testfiles.h"
#include "wholetexts.h"
#include "wirelessmoduleconfigure.h"

#include <QLabel>
#include <QTranslator>
#include <QtTest>
#include <functional>
#include <memory>

using Make = std::function<QWidget *()>;
Q_DECLARE_METATYPE(Make)

// The small windows show every text whole, in the language they were opened
// in and in the one switched to while they are open.
class TestWholeTexts : public QObject
{
    Q_OBJECT
private slots:
    void windowsShowTheirTextsWhole_data();
    void windowsShowTheirTextsWhole();
    void networkHintWrapsWhereTheWindowEnds();
};

void TestWholeTexts::windowsShowTheirTextsWhole_data()
{
    QTest::addColumn<Make>("make");
    QTest::addColumn<bool>("english");
    const QVector<QPair<const char *, Make>> windows{
        {"about", [] { return new CAboutPindle; }},
        {"new project", [] { return new DialogNewPro; }},
        {"network", [] { return new CNetworkAttribut; }},
        {"wireless", [] { return new DialogWirelessModuleConfigure; }}};
    for (const auto &window : windows) {
        QTest::addRow("%s, Chinese", window.first) << window.second << false;
        QTest::addRow("%s, English", window.first) << window.second << true;
    }
}

void TestWholeTexts::windowsShowTheirTextsWhole()
{
    QFETCH(Make, make);
    QFETCH(bool, english);
    std::unique_ptr<QWidget> window(make());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(TestFiles::inBinDir(QStringLiteral("lang_English.qm"))));
        QCoreApplication::installTranslator(&translator);
        QCoreApplication::processEvents();
    }
    // A window grows to its new texts once the events of the change are over.
    QTRY_COMPARE(WholeTexts::cut(window.get()), QStringList());
    QCoreApplication::removeTranslator(&translator);
}

void TestWholeTexts::networkHintWrapsWhereTheWindowEnds()
{
    CNetworkAttribut window;
    auto *hint = window.findChild<QLabel *>("label");
    QVERIFY(hint->wordWrap());
    QVERIFY2(!hint->text().contains('\n'), qPrintable(hint->text()));
}

QTEST_MAIN(TestWholeTexts)
#include "tst_gui_wholetexts.moc"
