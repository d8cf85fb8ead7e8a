#include "networkattribut.h"
#include "ui_networkattribut.h"

#include "messages.h"
#include "tablerules.h"

#include <QIntValidator>
#include <QRegularExpressionValidator>

CNetworkAttribut::CNetworkAttribut(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::CNetworkAttribut)
{
    ui->setupUi(this);
    addressValidator = new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\b(?:(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\.){3}"
                                          "(?:25[0-5]|2[0-4][0-9]|[01]?[0-9][0-9]?)\\b")),
        this);
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS})
        edit->setValidator(addressValidator);
    ui->lineEditLocalStartPort->setValidator(
        new QIntValidator(lowestStartPort, highestStartPort, this));
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS, ui->lineEditLocalStartPort}) {
        QFont font = edit->font();
        font.setPixelSize(16);
        edit->setFont(font);
    }
    // The DNS server is always entered by hand.
    ui->radioButtonUseAutoGetDNS->setChecked(false);
    ui->radioButtonUseAutoGetDNS->setEnabled(false);
    ui->radioButtonUseManualSetDNS->setChecked(true);
    ui->radioButtonUseManualSetDNS->setEnabled(true);

    connect(ui->radioButtonUseAutoGetIP, &QRadioButton::clicked, this, [this] {
        setAddressFieldsEnabled(false);
        ui->lineEditIP->clear();
        ui->lineEditSubnetMask->clear();
        ui->lineEditDefaultGeteway->clear();
    });
    connect(ui->radioButtonUseManualSetIP, &QRadioButton::clicked, this,
            [this] { setAddressFieldsEnabled(true); });
    connect(ui->radioButtonUseAutoGetDNS, &QRadioButton::clicked, this, [this] {
        setDnsFieldEnabled(false);
        ui->lineEditPreferredDNS->clear();
    });
    connect(ui->radioButtonUseManualSetDNS, &QRadioButton::clicked, this,
            [this] { setDnsFieldEnabled(true); });
}

CNetworkAttribut::~CNetworkAttribut()
{
    delete ui;
}

void CNetworkAttribut::setAddressFieldsEnabled(bool enabled)
{
    const QList<QWidget *> widgets{ui->labelIP,
                                   ui->lineEditIP,
                                   ui->labelSubnetMask,
                                   ui->lineEditSubnetMask,
                                   ui->labelDefaultGeteway,
                                   ui->lineEditDefaultGeteway};
    for (QWidget *widget : widgets)
        widget->setEnabled(enabled);
}

void CNetworkAttribut::setDnsFieldEnabled(bool enabled)
{
    ui->labelPreferredDNS->setEnabled(enabled);
    ui->lineEditPreferredDNS->setEnabled(enabled);
}

void CNetworkAttribut::openForFilm(int film, const QStringList &information)
{
    myType =
        film >= FilmApplication1 && film <= FilmApplication3 ? NetworkAttributType(film) : NoFilm;
    if (information.size() < informationSize)
        return;
    const QString addressing = information.at(1);
    if (addressing == QLatin1String("2")) {
        ui->radioButtonUseManualSetIP->setChecked(true);
        setAddressFieldsEnabled(true);
    } else if (addressing == QLatin1String("1")) {
        ui->radioButtonUseAutoGetIP->setChecked(true);
        setAddressFieldsEnabled(false);
    }
    ui->lineEditIP->setText(information.at(3));
    ui->lineEditSubnetMask->setText(information.at(5));
    ui->lineEditDefaultGeteway->setText(information.at(7));
    ui->lineEditPreferredDNS->setText(information.at(9));
    ui->lineEditLocalStartPort->setText(information.at(11));
    setWindowTitle(tr("软片%1应用以太网网络属性设置").arg(film));
}

QStringList CNetworkAttribut::information() const
{
    if (myType == NoFilm)
        return {};
    const QStringList keys = text.networkKeys.mid((myType - 1) * 6, 6);
    const QStringList values{ui->radioButtonUseAutoGetIP->isChecked() ? QStringLiteral("1")
                                                                      : QStringLiteral("2"),
                             ui->lineEditIP->text(),
                             ui->lineEditSubnetMask->text(),
                             ui->lineEditDefaultGeteway->text(),
                             ui->lineEditPreferredDNS->text(),
                             ui->lineEditLocalStartPort->text()};
    QStringList list;
    for (int i = 0; i < values.size(); ++i)
        list << keys.value(i) << values.at(i);
    return list;
}

QString CNetworkAttribut::fieldProblem() const
{
    const QVector<QPair<const QLineEdit *, QString>> addresses{
        {ui->lineEditIP, tr("IP地址")},
        {ui->lineEditSubnetMask, tr("子网掩码")},
        {ui->lineEditDefaultGeteway, tr("默认网关")},
        {ui->lineEditPreferredDNS, tr("DNS服务器")}};
    for (const auto &field : addresses) {
        const QString value = field.first->text();
        if (!value.isEmpty() && !TableRules::isDottedAddress(value))
            return tr("%1“%2”不完整：请填写四段0到255之间的数字，例如192.168.1.10。")
                .arg(field.second, value);
    }
    const QString port = ui->lineEditLocalStartPort->text();
    if (!port.isEmpty() && !TableRules::parseWholeNumber(port, lowestStartPort, highestStartPort))
        return tr("本地起始端口“%1”无效：请填写%2到%3之间的整数。")
            .arg(port)
            .arg(lowestStartPort)
            .arg(highestStartPort);
    return QString();
}

void CNetworkAttribut::on_pushButtonOK_clicked()
{
    const QString problem = fieldProblem();
    if (!problem.isEmpty()) {
        Messages::warning(this, tr("警告"), problem);
        return;
    }
    emit UpdateNetworkAttributSignal(myType, information());
    close();
}

void CNetworkAttribut::on_pushButtonCancel_clicked()
{
    close();
}
