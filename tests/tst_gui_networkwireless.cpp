#include "fieldmarks.h"
#include "messages.h"
#include "networkattribut.h"
#include "testfiles.h"
#include "wirelessmoduleconfigure.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>
#include <memory>

namespace {

template <typename T> T *child(QWidget &parent, const char *name)
{
    T *found = parent.findChild<T *>(QString::fromLatin1(name));
    Q_ASSERT(found);
    return found;
}

struct NetworkResult
{
    int count = 0;
    CNetworkAttribut::NetworkAttributType film = CNetworkAttribut::NoFilm;
    QStringList information;
};

void record(CNetworkAttribut &widget, NetworkResult &result)
{
    QObject::connect(&widget, &CNetworkAttribut::UpdateNetworkAttributSignal, &widget,
                     [&result](CNetworkAttribut::NetworkAttributType film, QStringList list) {
                         result = {result.count + 1, film, list};
                     });
}

QStringList filmList(int film, const QStringList &values)
{
    const QStringList names{"UseAutoGetIP",   "IPAddr",       "SubnetMas",
                            "DefaultGeteway", "PreferredDNS", "LocalStartPort"};
    QStringList list;
    for (int i = 0; i < names.size(); ++i)
        list << QStringLiteral("FilmApplication%1").arg(film) + names.at(i) << values.value(i);
    return list;
}

QStringList socketList(const QVector<QStringList> &sockets)
{
    QStringList list;
    for (int n = 0; n < sockets.size(); ++n) {
        list << QStringLiteral("ApplicationOfSocket%1").arg(n + 1) << sockets.at(n).value(0)
             << QStringLiteral("IPOfSocket%1").arg(n + 1) << sockets.at(n).value(1)
             << QStringLiteral("PortOfSocket%1").arg(n + 1) << sockets.at(n).value(2);
    }
    return list;
}

} // namespace

class TestNetworkWireless : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void wirelessDefaultsAndConfirm();
    void wirelessAppliesOnlyWholeLists();
    void wirelessRefusesWhatTheTableCannotTake_data();
    void wirelessRefusesWhatTheTableCannotTake();
    void networkInitialStateAndInputRules();
    void networkRestoreAndConfirm();
    void networkAutomaticAddressing();
    void networkRefusesIncompleteValues_data();
    void networkRefusesIncompleteValues();
    void enterConfirmsAndEscCancels_data();
    void enterConfirmsAndEscCancels();
    void shownLettersReachTheirFields_data();
    void shownLettersReachTheirFields();

private:
    QList<Messages::Request> messages;
};

void TestNetworkWireless::init()
{
    messages.clear();
    Messages::setHandler([this](const Messages::Request &request) {
        messages << request;
        return QMessageBox::Ok;
    });
}

void TestNetworkWireless::cleanup()
{
    Messages::setHandler(nullptr);
}

void TestNetworkWireless::wirelessDefaultsAndConfirm()
{
    DialogWirelessModuleConfigure dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("无线模块参数设置"));
    QCOMPARE(child<QTabWidget>(dialog, "tabWidget")->tabText(0), QStringLiteral("设置"));
    QCOMPARE(child<QGroupBox>(dialog, "groupBox")->title(), QStringLiteral("通道1"));
    QCOMPARE(child<QGroupBox>(dialog, "groupBox_8")->title(), QStringLiteral("通道8"));
    QComboBox *application = child<QComboBox>(dialog, "comboBoxApplicationOfSocket5");
    QCOMPARE(application->count(), 4);
    QCOMPARE(application->itemText(2), QStringLiteral("远程通讯"));

    int count = 0;
    QStringList confirmed;
    connect(&dialog, &DialogWirelessModuleConfigure::UpdateWirelessModuleSignal, &dialog,
            [&](QStringList list) {
                ++count;
                confirmed = list;
            });
    dialog.show();
    child<QPushButton>(dialog, "pushButtonSure")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(count, 1);
    QCOMPARE(confirmed.size(), 48);
    QCOMPARE(confirmed.mid(0, 6), QStringList({"ApplicationOfSocket1", "0", "IPOfSocket1",
                                               "192.168.1.1", "PortOfSocket1", "5000"}));
    QCOMPARE(confirmed.mid(42), QStringList({"ApplicationOfSocket8", "0", "IPOfSocket8",
                                             "192.168.1.8", "PortOfSocket8", "5007"}));
    for (int n = 1; n <= 8; ++n) {
        QCOMPARE(confirmed.at(6 * (n - 1) + 3), QStringLiteral("192.168.1.%1").arg(n));
        QCOMPARE(confirmed.at(6 * (n - 1) + 5), QString::number(4999 + n));
    }

    // Cancel closes without handing anything back.
    dialog.show();
    child<QLineEdit>(dialog, "lineEditIPOfSocket1")->setText("1.1.1.1");
    child<QPushButton>(dialog, "pushButtonCancel")->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(count, 1);
}

void TestNetworkWireless::wirelessAppliesOnlyWholeLists()
{
    DialogWirelessModuleConfigure dialog;
    const QStringList before = dialog.information();
    QVector<QStringList> sockets;
    for (int n = 1; n <= 8; ++n)
        sockets << QStringList{QString::number(n % 4), QStringLiteral("10.0.%1.1").arg(n),
                               QString::number(9000 + n)};
    const QStringList stored = socketList(sockets);

    dialog.fillFromList(stored.mid(0, 47));
    QCOMPARE(dialog.information(), before);
    dialog.fillFromList(stored + QStringList{"extra"});
    QCOMPARE(dialog.information(), before);
    dialog.fillFromList(stored);
    QCOMPARE(dialog.information(), stored);
    QCOMPARE(child<QComboBox>(dialog, "comboBoxApplicationOfSocket3")->currentText(),
             QStringLiteral("透传"));
    QCOMPARE(child<QLineEdit>(dialog, "lineEditPortOfSocket6")->text(), QStringLiteral("9006"));

    // An application that is not in the list keeps the current choice.
    QStringList odd = stored;
    odd[1] = "9";
    odd[7] = "x";
    dialog.fillFromList(odd);
    QCOMPARE(dialog.information(), stored);
}

void TestNetworkWireless::networkInitialStateAndInputRules()
{
    CNetworkAttribut widget;
    QVERIFY(widget.isWindow());
    QCOMPARE(widget.windowTitle(), QStringLiteral("以太网网络属性设置"));
    QCOMPARE(widget.size(), QSize(453, 614));
    QCOMPARE(child<QTabWidget>(widget, "tabWidget")->tabText(0), QStringLiteral("常用"));
    QCOMPARE(child<QGroupBox>(widget, "groupBox_4")->title(), QStringLiteral("本地起始端口"));
    QVERIFY(!child<QRadioButton>(widget, "radioButtonUseAutoGetIP")->isChecked());
    QVERIFY(!child<QRadioButton>(widget, "radioButtonUseManualSetIP")->isChecked());
    QVERIFY(!child<QRadioButton>(widget, "radioButtonUseAutoGetDNS")->isChecked());
    QVERIFY(!child<QRadioButton>(widget, "radioButtonUseAutoGetDNS")->isEnabled());
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseManualSetDNS")->isChecked());
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseManualSetDNS")->isEnabled());

    QLineEdit *ip = child<QLineEdit>(widget, "lineEditIP");
    QLineEdit *port = child<QLineEdit>(widget, "lineEditLocalStartPort");
    QCOMPARE(ip->font().pixelSize(), 16);
    QCOMPARE(port->font().pixelSize(), 16);
    QVERIFY(ip->text().isEmpty());

    // Letters cannot be typed; digits are never dropped: a part or a port
    // out of range stays as typed, marked with the reason.
    QTest::keyClicks(ip, "abc");
    QVERIFY(ip->text().isEmpty());
    QTest::keyClicks(ip, "192.168.1.300");
    QCOMPARE(ip->text(), QStringLiteral("192.168.1.300"));
    QVERIFY(FieldMarks::isMarked(ip));
    QVERIFY2(ip->toolTip().contains("0到255"), qPrintable(ip->toolTip()));
    QTest::keyClick(ip, Qt::Key_Backspace);
    QVERIFY(!FieldMarks::isMarked(ip));
    QVERIFY(ip->toolTip().isEmpty());
    QTest::keyClicks(port, "x655289");
    QCOMPARE(port->text(), QStringLiteral("655289"));
    QVERIFY(FieldMarks::isMarked(port));
    QTest::keyClick(port, Qt::Key_Backspace);
    QTest::keyClick(port, Qt::Key_Backspace);
    QCOMPARE(port->text(), QStringLiteral("6552"));
    QTest::keyClick(port, Qt::Key_8);
    QVERIFY(!FieldMarks::isMarked(port));

    // Nothing restored yet: manual addressing is stored.
    NetworkResult result;
    record(widget, result);
    widget.openForFilm(1, {});
    QCOMPARE(widget.windowTitle(), QStringLiteral("以太网网络属性设置"));
    QCOMPARE(widget.filmType(), CNetworkAttribut::FilmApplication1);
    child<QLineEdit>(widget, "lineEditSubnetMask")->setText("255.255.255.0");
    child<QLineEdit>(widget, "lineEditDefaultGeteway")->setText("192.168.1.1");
    child<QPushButton>(widget, "pushButtonOK")->click();
    QCOMPARE(result.count, 1);
    QCOMPARE(result.information,
             filmList(1, {"2", "192.168.1.30", "255.255.255.0", "192.168.1.1", "", "65528"}));

    // Without a film the list is empty.
    CNetworkAttribut unopened;
    NetworkResult none;
    record(unopened, none);
    child<QPushButton>(unopened, "pushButtonOK")->click();
    QCOMPARE(none.count, 1);
    QCOMPARE(none.film, CNetworkAttribut::NoFilm);
    QVERIFY(none.information.isEmpty());
    QVERIFY(messages.isEmpty());
}

void TestNetworkWireless::networkRestoreAndConfirm()
{
    CNetworkAttribut widget;
    NetworkResult result;
    record(widget, result);
    const QStringList film2 =
        filmList(2, {"2", "192.168.3.20", "255.255.255.0", "192.168.3.1", "8.8.8.8", "50010"});
    widget.openForFilm(2, film2);
    widget.show();
    QCOMPARE(widget.windowTitle(), QStringLiteral("软片2应用以太网网络属性设置"));
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseManualSetIP")->isChecked());
    QVERIFY(child<QLineEdit>(widget, "lineEditSubnetMask")->isEnabled());
    QCOMPARE(child<QLineEdit>(widget, "lineEditDefaultGeteway")->text(),
             QStringLiteral("192.168.3.1"));
    child<QPushButton>(widget, "pushButtonOK")->click();
    QVERIFY(!widget.isVisible());
    QCOMPARE(result.count, 1);
    QCOMPARE(result.film, CNetworkAttribut::FilmApplication2);
    QCOMPARE(result.information, film2);

    // A short list keeps fields and title; the list is built for the new film.
    widget.openForFilm(3, film2.mid(0, 11));
    QCOMPARE(widget.windowTitle(), QStringLiteral("软片2应用以太网网络属性设置"));
    child<QPushButton>(widget, "pushButtonOK")->click();
    QCOMPARE(result.film, CNetworkAttribut::FilmApplication3);
    QCOMPARE(result.information, filmList(3, {"2", "192.168.3.20", "255.255.255.0", "192.168.3.1",
                                              "8.8.8.8", "50010"}));

    // An unknown addressing value leaves the radio buttons as they are.
    widget.openForFilm(1, filmList(1, {"7", "", "", "", "", ""}));
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseManualSetIP")->isChecked());

    // Cancel hands nothing back.
    widget.show();
    child<QPushButton>(widget, "pushButtonCancel")->click();
    QVERIFY(!widget.isVisible());
    QCOMPARE(result.count, 2);
    QVERIFY(messages.isEmpty());
}

void TestNetworkWireless::networkAutomaticAddressing()
{
    CNetworkAttribut widget;
    NetworkResult result;
    record(widget, result);
    widget.openForFilm(
        1, filmList(1, {"2", "192.168.3.20", "255.255.255.0", "192.168.3.1", "8.8.8.8", "50010"}));
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    // A click on the button's text, as a person gives it.
    QTest::mouseClick(child<QRadioButton>(widget, "radioButtonUseAutoGetIP"), Qt::LeftButton, {},
                      QPoint(8, 8));
    for (const char *name : {"labelIP", "lineEditIP", "labelSubnetMask", "lineEditSubnetMask",
                             "labelDefaultGeteway", "lineEditDefaultGeteway"})
        QVERIFY2(!child<QWidget>(widget, name)->isEnabled(), name);
    QVERIFY(child<QLineEdit>(widget, "lineEditIP")->text().isEmpty());
    QVERIFY(child<QLineEdit>(widget, "lineEditPreferredDNS")->isEnabled());
    child<QPushButton>(widget, "pushButtonOK")->click();
    QCOMPARE(result.information, filmList(1, {"1", "", "", "", "8.8.8.8", "50010"}));
    QVERIFY(messages.isEmpty());

    // Manual addressing opens the fields again; a stored "1" closes them.
    widget.show();
    QTest::mouseClick(child<QRadioButton>(widget, "radioButtonUseManualSetIP"), Qt::LeftButton, {},
                      QPoint(8, 8));
    QVERIFY(child<QLineEdit>(widget, "lineEditIP")->isEnabled());
    QVERIFY(child<QLabel>(widget, "labelIP")->isEnabled());
    widget.openForFilm(2, filmList(2, {"1", "", "", "", "", ""}));
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseAutoGetIP")->isChecked());
    QVERIFY(!child<QLineEdit>(widget, "lineEditIP")->isEnabled());
}

// Each row puts one value into a film opened with complete values: typed as
// a person types it, or restored from a stored list. An empty message means
// the value is accepted.
void TestNetworkWireless::networkRefusesIncompleteValues_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QStringList>("named");

    const QStringList ip{"IP地址"};
    const QStringList port{"本地起始端口", "50000", "65528"};
    QTest::newRow("address part above 255")
        << "lineEditIP"
        << "192.168.1.300" << true << (ip + QStringList{"192.168.1.300"});
    QTest::newRow("address of two parts") << "lineEditIP"
                                          << "192.168" << true << ip;
    QTest::newRow("manual addressing without address") << "lineEditIP"
                                                       << "" << true << ip;
    QTest::newRow("restored manual addressing without address") << "lineEditIP"
                                                                << "" << false << ip;
    QTest::newRow("mask of three parts") << "lineEditSubnetMask"
                                         << "255.255.255" << true << QStringList{"子网掩码"};
    QTest::newRow("manual addressing without gateway") << "lineEditDefaultGeteway"
                                                       << "" << true << QStringList{"默认网关"};
    QTest::newRow("gateway ending in a dot") << "lineEditDefaultGeteway"
                                             << "10.0.0." << true << QStringList{"默认网关"};
    QTest::newRow("server of one part") << "lineEditPreferredDNS"
                                        << "8" << true << QStringList{"DNS服务器"};
    QTest::newRow("typed port below the start ports")
        << "lineEditLocalStartPort"
        << "8000" << true << (port + QStringList{"8000"});
    QTest::newRow("typed port above the start ports") << "lineEditLocalStartPort"
                                                      << "65529" << true << port;
    QTest::newRow("typed port beyond 16 bits") << "lineEditLocalStartPort"
                                               << "655289" << true << port;
    QTest::newRow("restored port beyond 16 bits") << "lineEditLocalStartPort"
                                                  << "70000" << false << port;
    QTest::newRow("restored port the table takes") << "lineEditLocalStartPort"
                                                   << "8000" << false << QStringList();
    QTest::newRow("no server") << "lineEditPreferredDNS"
                               << "" << true << QStringList();
    QTest::newRow("no port") << "lineEditLocalStartPort"
                             << "" << true << QStringList();
}

void TestNetworkWireless::networkRefusesIncompleteValues()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(bool, typed);
    QFETCH(QStringList, named);

    CNetworkAttribut widget;
    NetworkResult result;
    record(widget, result);
    const QStringList names{"lineEditIP", "lineEditSubnetMask", "lineEditDefaultGeteway",
                            "lineEditPreferredDNS", "lineEditLocalStartPort"};
    QStringList values{"2", "192.168.3.20", "255.255.255.0", "192.168.3.1", "8.8.8.8", "50010"};
    if (!typed)
        values[1 + names.indexOf(field)] = value;
    widget.openForFilm(1, filmList(1, values));
    widget.show();
    QLineEdit *edit = widget.findChild<QLineEdit *>(field);
    QVERIFY(edit);
    if (typed) {
        edit->clear();
        QTest::keyClicks(edit, value);
        QCOMPARE(edit->text(), value); // typing never drops a digit
    }
    child<QPushButton>(widget, "pushButtonOK")->click();

    if (named.isEmpty()) {
        QVERIFY(messages.isEmpty());
        QCOMPARE(result.count, 1);
        QCOMPARE(result.information.at(3 + 2 * names.indexOf(field)), value);
        QVERIFY(!widget.isVisible());
        return;
    }
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.at(0).icon, QMessageBox::Warning);
    for (const QString &part : named)
        QVERIFY2(messages.at(0).text.contains(part), qPrintable(messages.at(0).text));
    // The window stays open with what was typed, the field marked.
    QVERIFY(widget.isVisible());
    QCOMPARE(result.count, 0);
    QCOMPARE(edit->text(), value);
    QVERIFY(FieldMarks::isMarked(edit));
    QCOMPARE(edit->toolTip(), messages.at(0).text);
}

// Socket values as stored by a file, or typed over the defaults.
void TestNetworkWireless::wirelessRefusesWhatTheTableCannotTake_data()
{
    QTest::addColumn<int>("socket");
    QTest::addColumn<bool>("address");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<QStringList>("named");

    QTest::newRow("restored address with letters")
        << 2 << true << "999.abc.1" << false << QStringList{"通道2", "IP地址", "999.abc.1"};
    QTest::newRow("typed address part above 255")
        << 5 << true << "192.168.1.300" << true << QStringList{"通道5", "IP地址", "192.168.1.300"};
    QTest::newRow("typed address of three parts")
        << 1 << true << "10.0.0" << true << QStringList{"通道1", "IP地址"};
    QTest::newRow("typed empty address")
        << 8 << true << "" << true << QStringList{"通道8", "IP地址"};
    QTest::newRow("restored port with letters")
        << 3 << false << "port99999" << false << QStringList{"通道3", "端口号", "port99999"};
    QTest::newRow("restored port not a number")
        << 4 << false << "5O00" << false << QStringList{"通道4", "端口号"};
    QTest::newRow("typed port beyond 16 bits")
        << 6 << false << "70000" << true << QStringList{"通道6", "端口号", "65535"};
    QTest::newRow("typed empty port") << 7 << false << "" << true << QStringList{"通道7", "端口号"};
    QTest::newRow("typed port 0") << 7 << false << "0" << true << QStringList();
    QTest::newRow("typed highest port") << 7 << false << "65535" << true << QStringList();
}

void TestNetworkWireless::wirelessRefusesWhatTheTableCannotTake()
{
    QFETCH(int, socket);
    QFETCH(bool, address);
    QFETCH(QString, value);
    QFETCH(bool, typed);
    QFETCH(QStringList, named);

    DialogWirelessModuleConfigure dialog;
    int count = 0;
    QStringList confirmed;
    connect(&dialog, &DialogWirelessModuleConfigure::UpdateWirelessModuleSignal, &dialog,
            [&](QStringList list) {
                ++count;
                confirmed = list;
            });
    QStringList stored = dialog.information();
    const int at = 6 * (socket - 1) + (address ? 3 : 5);
    if (!typed) {
        stored[at] = value;
        dialog.fillFromList(stored);
    }
    dialog.show();
    const QString name = address ? QStringLiteral("lineEditIPOfSocket%1").arg(socket)
                                 : QStringLiteral("lineEditPortOfSocket%1").arg(socket);
    QLineEdit *edit = dialog.findChild<QLineEdit *>(name);
    QVERIFY(edit);
    if (typed) {
        edit->clear();
        QTest::keyClicks(edit, value);
        QCOMPARE(edit->text(), value);
    }
    child<QPushButton>(dialog, "pushButtonSure")->click();

    if (named.isEmpty()) {
        QVERIFY(messages.isEmpty());
        QCOMPARE(count, 1);
        QCOMPARE(confirmed.at(at), value);
        return;
    }
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.at(0).icon, QMessageBox::Warning);
    for (const QString &part : named)
        QVERIFY2(messages.at(0).text.contains(part), qPrintable(messages.at(0).text));
    QVERIFY(dialog.isVisible());
    QCOMPARE(count, 0);
    QCOMPARE(edit->text(), value);
    QVERIFY(FieldMarks::isMarked(edit));
}

void TestNetworkWireless::enterConfirmsAndEscCancels_data()
{
    QTest::addColumn<bool>("wireless");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("onCancel"); // the focus on 取消 rather than on a field
    QTest::addColumn<bool>("confirmed");
    for (const bool wireless : {false, true}) {
        const char *name = wireless ? "wireless" : "network";
        QTest::addRow("%s, Enter", name) << wireless << int(Qt::Key_Return) << false << true;
        QTest::addRow("%s, keypad Enter", name) << wireless << int(Qt::Key_Enter) << false << true;
        QTest::addRow("%s, Esc", name) << wireless << int(Qt::Key_Escape) << false << false;
        QTest::addRow("%s, Enter on Cancel", name)
            << wireless << int(Qt::Key_Return) << true << false;
    }
}

void TestNetworkWireless::enterConfirmsAndEscCancels()
{
    QFETCH(bool, wireless);
    QFETCH(int, key);
    QFETCH(bool, onCancel);
    QFETCH(bool, confirmed);
    std::unique_ptr<QWidget> window;
    int confirmations = 0;
    if (wireless) {
        auto *dialog = new DialogWirelessModuleConfigure;
        connect(dialog, &DialogWirelessModuleConfigure::UpdateWirelessModuleSignal, dialog,
                [&confirmations] { ++confirmations; });
        window.reset(dialog);
    } else {
        auto *network = new CNetworkAttribut;
        connect(network, &CNetworkAttribut::UpdateNetworkAttributSignal, network,
                [&confirmations] { ++confirmations; });
        network->openForFilm(1, {});
        for (const auto &field : {std::make_pair("lineEditIP", "192.168.1.10"),
                                  std::make_pair("lineEditSubnetMask", "255.255.255.0"),
                                  std::make_pair("lineEditDefaultGeteway", "192.168.1.1"),
                                  std::make_pair("lineEditPreferredDNS", "8.8.8.8"),
                                  std::make_pair("lineEditLocalStartPort", "50000")})
            child<QLineEdit>(*network, field.first)->setText(field.second);
        window.reset(network);
    }
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QWidget *focus = window->findChild<QLineEdit *>();
    if (onCancel)
        focus = child<QPushButton>(*window, "pushButtonCancel");
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    QTest::keyClick(focus, Qt::Key(key));
    QCOMPARE(confirmations, confirmed ? 1 : 0);
    QVERIFY(!window->isVisible());
    QVERIFY(messages.isEmpty());
}

void TestNetworkWireless::shownLettersReachTheirFields_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("reached");
    QTest::addColumn<bool>("automatic"); // the addressing afterwards
    for (bool english : {false, true}) {
        const char *language = english ? "English, " : "";
        QTest::newRow(qPrintable(QString("%1Alt+O").arg(language)))
            << english << int(Qt::Key_O) << "radioButtonUseAutoGetIP" << true;
        QTest::newRow(qPrintable(QString("%1Alt+S").arg(language)))
            << english << int(Qt::Key_S) << "radioButtonUseManualSetIP" << false;
        QTest::newRow(qPrintable(QString("%1Alt+D").arg(language)))
            << english << int(Qt::Key_D) << "lineEditDefaultGeteway" << false;
        QTest::newRow(qPrintable(QString("%1Alt+P").arg(language)))
            << english << int(Qt::Key_P) << "lineEditPreferredDNS" << false;
    }
}

// The letters the network window shows after its controls, "（O）", work with
// Alt in both languages; the texts stay as they are.
void TestNetworkWireless::shownLettersReachTheirFields()
{
    QFETCH(bool, english);
    QFETCH(int, key);
    QFETCH(QString, reached);
    QFETCH(bool, automatic);
    QTranslator translator;
    if (english) {
        QVERIFY(translator.load(TestFiles::inBinDir(QStringLiteral("lang_English.qm"))));
        QCoreApplication::installTranslator(&translator);
    }
    CNetworkAttribut window;
    window.openForFilm(
        1, {"FilmApplication1UseAutoGetIP", "2", "FilmApplication1IPAddr", "10.0.0.2",
            "FilmApplication1SubnetMas", "255.0.0.0", "FilmApplication1DefaultGeteway", "10.0.0.1",
            "FilmApplication1PreferredDNS", "", "FilmApplication1LocalStartPort", "50000"});
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key(key), Qt::AltModifier);
    QVERIFY(window.focusWidget());
    QCOMPARE(window.focusWidget()->objectName(), reached);
    QCOMPARE(window.findChild<QRadioButton *>("radioButtonUseAutoGetIP")->isChecked(), automatic);
    if (english)
        QCoreApplication::removeTranslator(&translator);
}

QTEST_MAIN(TestNetworkWireless)
#include "tst_gui_networkwireless.moc"
