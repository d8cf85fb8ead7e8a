#include "messages.h"
#include "networkattribut.h"
#include "wirelessmoduleconfigure.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

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
    void networkInitialStateAndInputRules();
    void networkRestoreAndConfirm();
    void networkAutomaticAddressing();
    void networkRefusesIncompleteValues();

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
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dialog"));
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
    QCOMPARE(widget.windowTitle(), QStringLiteral("Form"));
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

    // Letters and impossible parts cannot be typed; a sixth port digit neither.
    QTest::keyClicks(ip, "abc");
    QVERIFY(ip->text().isEmpty());
    QTest::keyClicks(ip, "192.168.1.30");
    QTest::keyClicks(ip, "0");
    QCOMPARE(ip->text(), QStringLiteral("192.168.1.30"));
    QTest::keyClicks(port, "x655289");
    QCOMPARE(port->text(), QStringLiteral("65528"));

    // Nothing restored yet: manual addressing is stored.
    NetworkResult result;
    record(widget, result);
    widget.openForFilm(1, {});
    QCOMPARE(widget.windowTitle(), QStringLiteral("Form"));
    QCOMPARE(widget.filmType(), CNetworkAttribut::FilmApplication1);
    child<QPushButton>(widget, "pushButtonOK")->click();
    QCOMPARE(result.count, 1);
    QCOMPARE(result.information, filmList(1, {"2", "192.168.1.30", "", "", "", "65528"}));

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
    QTest::mouseClick(child<QRadioButton>(widget, "radioButtonUseAutoGetIP"), Qt::LeftButton);
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
    QTest::mouseClick(child<QRadioButton>(widget, "radioButtonUseManualSetIP"), Qt::LeftButton);
    QVERIFY(child<QLineEdit>(widget, "lineEditIP")->isEnabled());
    QVERIFY(child<QLabel>(widget, "labelIP")->isEnabled());
    widget.openForFilm(2, filmList(2, {"1", "", "", "", "", ""}));
    QVERIFY(child<QRadioButton>(widget, "radioButtonUseAutoGetIP")->isChecked());
    QVERIFY(!child<QLineEdit>(widget, "lineEditIP")->isEnabled());
}

void TestNetworkWireless::networkRefusesIncompleteValues()
{
    CNetworkAttribut widget;
    NetworkResult result;
    record(widget, result);
    widget.openForFilm(1, filmList(1, {"2", "", "", "", "", ""}));
    widget.show();

    struct Field
    {
        const char *edit;
        const char *typed;
        QString named;
    };
    const QVector<Field> fields{{"lineEditIP", "192.168", "IP地址"},
                                {"lineEditSubnetMask", "255.255.255", "子网掩码"},
                                {"lineEditDefaultGeteway", "10.0.0.", "默认网关"},
                                {"lineEditPreferredDNS", "8", "DNS服务器"},
                                {"lineEditLocalStartPort", "123", "本地起始端口"},
                                {"lineEditLocalStartPort", "65529", "本地起始端口"}};
    for (const Field &field : fields) {
        messages.clear();
        QLineEdit *edit = child<QLineEdit>(widget, field.edit);
        edit->clear();
        QTest::keyClicks(edit, field.typed);
        QCOMPARE(edit->text(), QString::fromLatin1(field.typed)); // typing is allowed
        child<QPushButton>(widget, "pushButtonOK")->click();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).icon, QMessageBox::Warning);
        QVERIFY2(messages.at(0).text.contains(field.named), qPrintable(messages.at(0).text));
        QVERIFY(widget.isVisible());
        QCOMPARE(result.count, 0);
        edit->clear();
    }

    // Complete values, and empty ones, are accepted.
    messages.clear();
    child<QLineEdit>(widget, "lineEditIP")->setText("192.168.0.7");
    child<QLineEdit>(widget, "lineEditLocalStartPort")->setText("50000");
    child<QPushButton>(widget, "pushButtonOK")->click();
    QVERIFY(messages.isEmpty());
    QCOMPARE(result.count, 1);
    QCOMPARE(result.information, filmList(1, {"2", "192.168.0.7", "", "", "", "50000"}));
    QVERIFY(!widget.isVisible());
}

QTEST_MAIN(TestNetworkWireless)
#include "tst_gui_networkwireless.moc"
