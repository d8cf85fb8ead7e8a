#include "wirelessmoduleconfigure.h"
#include "ui_wirelessmoduleconfigure.h"

#include "tablerules.h"

DialogWirelessModuleConfigure::DialogWirelessModuleConfigure(QWidget *parent)
    : QDialog(parent), ui(new Ui::DialogWirelessModuleConfigure)
{
    ui->setupUi(this);
    applications = {ui->comboBoxApplicationOfSocket1, ui->comboBoxApplicationOfSocket2,
                    ui->comboBoxApplicationOfSocket3, ui->comboBoxApplicationOfSocket4,
                    ui->comboBoxApplicationOfSocket5, ui->comboBoxApplicationOfSocket6,
                    ui->comboBoxApplicationOfSocket7, ui->comboBoxApplicationOfSocket8};
    addresses = {ui->lineEditIPOfSocket1, ui->lineEditIPOfSocket2, ui->lineEditIPOfSocket3,
                 ui->lineEditIPOfSocket4, ui->lineEditIPOfSocket5, ui->lineEditIPOfSocket6,
                 ui->lineEditIPOfSocket7, ui->lineEditIPOfSocket8};
    ports = {ui->lineEditPortOfSocket1, ui->lineEditPortOfSocket2, ui->lineEditPortOfSocket3,
             ui->lineEditPortOfSocket4, ui->lineEditPortOfSocket5, ui->lineEditPortOfSocket6,
             ui->lineEditPortOfSocket7, ui->lineEditPortOfSocket8};
    for (int n = 0; n < socketCount; ++n) {
        applications.at(n)->addItems(text.socketApplications);
        applications.at(n)->setCurrentIndex(0);
        addresses.at(n)->setText(QStringLiteral("192.168.1.%1").arg(n + 1));
        ports.at(n)->setText(QString::number(5000 + n));
    }
}

DialogWirelessModuleConfigure::~DialogWirelessModuleConfigure()
{
    delete ui;
}

void DialogWirelessModuleConfigure::fillFromList(const QStringList &information)
{
    if (information.size() != informationSize)
        return;
    for (int n = 0; n < socketCount; ++n) {
        int application = 0;
        if (TableRules::parseWholeNumber(information.at(6 * n + 1), 0,
                                         applications.at(n)->count() - 1, &application))
            applications.at(n)->setCurrentIndex(application);
        addresses.at(n)->setText(information.at(6 * n + 3));
        ports.at(n)->setText(information.at(6 * n + 5));
    }
}

QStringList DialogWirelessModuleConfigure::information() const
{
    QStringList list;
    for (int n = 0; n < socketCount; ++n) {
        list << text.socketKeys.value(3 * n)
             << QString::number(std::max(0, applications.at(n)->currentIndex()))
             << text.socketKeys.value(3 * n + 1) << addresses.at(n)->text()
             << text.socketKeys.value(3 * n + 2) << ports.at(n)->text();
    }
    return list;
}

void DialogWirelessModuleConfigure::on_pushButtonSure_clicked()
{
    emit UpdateWirelessModuleSignal(information());
    close();
}

void DialogWirelessModuleConfigure::on_pushButtonCancel_clicked()
{
    close();
}
