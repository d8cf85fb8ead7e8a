#include "networkattribut.h"
#include "ui_networkattribut.h"

#include "fieldencoder.h"
#include "fieldmarks.h"
#include "messages.h"
#include "screenplace.h"
#include "tablerules.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>

CNetworkAttribut::CNetworkAttribut(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::CNetworkAttribut)
{
    ui->setupUi(this);
    // Only digits and dots can be typed; a value out of range is kept and
    // marked until it is corrected.
    auto *addressCharacters =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]{0,31}")), this);
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS})
        edit->setValidator(addressCharacters);
    ui->lineEditLocalStartPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), this));
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS, ui->lineEditLocalStartPort}) {
        QFont font = edit->font();
        font.setPixelSize(16);
        edit->setFont(font);
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit] { FieldMarks::mark(edit, problemOf(edit)); });
    }
    // The DNS server is always entered by hand.
    ui->radioButtonUseAutoGetDNS->setChecked(false);
    ui->radioButtonUseAutoGetDNS->setEnabled(false);
    ui->radioButtonUseManualSetDNS->setChecked(true);
    ui->radioButtonUseManualSetDNS->setEnabled(true);

    connect(ui->radioButtonUseAutoGetIP, &QRadioButton::clicked, this, [this] {
        setAddressFieldsEnabled(false);
        for (QLineEdit *edit :
             {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway}) {
            edit->clear();
            FieldMarks::mark(edit, QString());
        }
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
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS, ui->lineEditLocalStartPort})
        FieldMarks::mark(edit, QString());
    titleFilm = film;
    setFilmTitle();
}

void CNetworkAttribut::setFilmTitle()
{
    if (titleFilm > 0)
        setWindowTitle(tr("软片%1应用以太网网络属性设置").arg(titleFilm));
}

void CNetworkAttribut::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setFilmTitle();
        for (QLineEdit *edit : findChildren<QLineEdit *>()) {
            if (FieldMarks::isMarked(edit))
                FieldMarks::mark(edit, problemOf(edit));
        }
    }
    QWidget::changeEvent(event);
}

void CNetworkAttribut::showEvent(QShowEvent *event)
{
    if (!placed) {
        placed = true;
        ScreenPlace::fit(this, ScreenPlace::unscrolled(this, ui->scrollArea_tab));
    }
    ScreenPlace::keepOnScreen(this);
    QWidget::showEvent(event);
}

void CNetworkAttribut::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (auto *button = qobject_cast<QPushButton *>(focusWidget()))
            button->click();
        else
            on_pushButtonOK_clicked();
        return;
    case Qt::Key_Escape:
        on_pushButtonCancel_clicked();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
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

bool CNetworkAttribut::manualAddressing() const
{
    return !ui->radioButtonUseAutoGetIP->isChecked();
}

QString CNetworkAttribut::problemOf(const QLineEdit *field) const
{
    const QString value = field->text();
    if (field == ui->lineEditLocalStartPort) {
        int ignored = 0;
        const bool fits =
            field->isModified()
                ? value.isEmpty() ||
                      TableRules::parseWholeNumber(value, lowestStartPort, highestStartPort)
                : FieldEncoder(QString(), 0).number(QString(), value, 0xFFFF, &ignored);
        if (fits)
            return QString();
        return tr("本地起始端口“%1”无效：请填写%2到%3之间的整数。")
            .arg(value)
            .arg(lowestStartPort)
            .arg(highestStartPort);
    }
    QString name;
    if (field == ui->lineEditIP)
        name = tr("IP地址");
    else if (field == ui->lineEditSubnetMask)
        name = tr("子网掩码");
    else if (field == ui->lineEditDefaultGeteway)
        name = tr("默认网关");
    else if (field == ui->lineEditPreferredDNS)
        name = tr("DNS服务器");
    else
        return QString();
    const bool required = field != ui->lineEditPreferredDNS && manualAddressing();
    if (value.isEmpty() && required)
        return tr("使用下面的IP地址时必须填写%1，例如192.168.1.10。").arg(name);
    if (value.isEmpty() || TableRules::isDottedAddress(value))
        return QString();
    return tr("%1“%2”不完整：请填写四段0到255之间的数字，例如192.168.1.10。").arg(name, value);
}

QString CNetworkAttribut::fieldProblem(QLineEdit **field)
{
    QString first;
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS, ui->lineEditLocalStartPort}) {
        const QString problem = problemOf(edit);
        FieldMarks::mark(edit, problem);
        if (!problem.isEmpty() && first.isEmpty()) {
            first = problem;
            if (field)
                *field = edit;
        }
    }
    return first;
}

void CNetworkAttribut::on_pushButtonOK_clicked()
{
    QLineEdit *field = nullptr;
    // Without a film there is nothing to hand back but an empty list.
    const QString problem = myType == NoFilm ? QString() : fieldProblem(&field);
    if (!problem.isEmpty()) {
        if (field)
            field->setFocus();
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
