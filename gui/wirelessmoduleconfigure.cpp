#include "wirelessmoduleconfigure.h"
#include "ui_wirelessmoduleconfigure.h"

#include "fieldencoder.h"
#include "fieldmarks.h"
#include "messages.h"
#include "screenplace.h"
#include "tablerules.h"

#include <QEvent>
#include <QRegularExpressionValidator>
#include <QStyleOptionFrame>

namespace {

constexpr int highestPort = 65535;

// What the table accepts for a socket, whatever the dialog would let a user type.
bool encodableAddress(const QString &address)
{
    FieldEncoder probe(QString(), 0);
    QVector<int> parts;
    return probe.addressParts(QString(), address, &parts);
}

bool encodablePort(const QString &port)
{
    FieldEncoder probe(QString(), 0);
    int value = 0;
    return probe.number(QString(), port, highestPort, &value);
}

// A field never narrower than the widest value it takes.
void fitWidest(QLineEdit *edit, const QString &widest)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QFontMetrics metrics = edit->fontMetrics();
    const QSize text(metrics.horizontalAdvance(widest) + 4, metrics.height());
    edit->setMinimumWidth(
        edit->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, edit).width());
}

} // namespace

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
    // Only digits and dots can be typed; a value out of range is kept and
    // marked until it is corrected.
    auto *addressCharacters =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]{0,31}")), this);
    auto *portCharacters =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), this);
    // Each box is as wide as its longest item in the language on show: its
    // size follows the items and the layout never squeezes it.
    for (QComboBox *box : qAsConst(applications)) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setSizePolicy(QSizePolicy::Fixed, box->sizePolicy().verticalPolicy());
    }
    fillApplications();
    for (int n = 0; n < socketCount; ++n) {
        applications.at(n)->setCurrentIndex(0);
        addresses.at(n)->setValidator(addressCharacters);
        ports.at(n)->setValidator(portCharacters);
        fitWidest(addresses.at(n), QStringLiteral("255.255.255.255"));
        fitWidest(ports.at(n), QString::number(highestPort));
        addresses.at(n)->setText(QStringLiteral("192.168.1.%1").arg(n + 1));
        ports.at(n)->setText(QString::number(5000 + n));
        connect(addresses.at(n), &QLineEdit::textEdited, this,
                [this, n] { FieldMarks::mark(addresses.at(n), addressProblem(n)); });
        connect(ports.at(n), &QLineEdit::textEdited, this,
                [this, n] { FieldMarks::mark(ports.at(n), portProblem(n)); });
    }
}

DialogWirelessModuleConfigure::~DialogWirelessModuleConfigure()
{
    delete ui;
}

void DialogWirelessModuleConfigure::fillApplications()
{
    for (QComboBox *box : qAsConst(applications)) {
        const int chosen = box->currentIndex();
        box->clear();
        box->addItems(text.socketApplications);
        box->setCurrentIndex(chosen);
    }
}

void DialogWirelessModuleConfigure::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        text.retranslate();
        fillApplications();
        for (int n = 0; n < socketCount; ++n) {
            if (FieldMarks::isMarked(addresses.at(n)))
                FieldMarks::mark(addresses.at(n), addressProblem(n));
            if (FieldMarks::isMarked(ports.at(n)))
                FieldMarks::mark(ports.at(n), portProblem(n));
        }
    }
    QDialog::changeEvent(event);
}

void DialogWirelessModuleConfigure::showEvent(QShowEvent *event)
{
    if (!placed) {
        placed = true;
        ScreenPlace::fit(this, ScreenPlace::unscrolled(this, ui->scrollArea_tab));
    }
    ScreenPlace::keepOnScreen(this);
    QDialog::showEvent(event);
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
        FieldMarks::mark(addresses.at(n), QString());
        FieldMarks::mark(ports.at(n), QString());
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

QString DialogWirelessModuleConfigure::addressProblem(int n) const
{
    const QLineEdit *edit = addresses.at(n);
    const QString address = edit->text();
    if (TableRules::isDottedAddress(address) || (!edit->isModified() && encodableAddress(address)))
        return QString();
    return tr("通道%1的IP地址“%2”无效：请填写四段0到255之间的数字，例如192.168.1.10。")
        .arg(n + 1)
        .arg(address);
}

QString DialogWirelessModuleConfigure::portProblem(int n) const
{
    const QLineEdit *edit = ports.at(n);
    const QString port = edit->text();
    if (TableRules::parseWholeNumber(port, 0, highestPort) ||
        (!edit->isModified() && encodablePort(port)))
        return QString();
    return tr("通道%1的端口号“%2”无效：请填写0到%3之间的整数。")
        .arg(n + 1)
        .arg(port)
        .arg(highestPort);
}

void DialogWirelessModuleConfigure::on_pushButtonSure_clicked()
{
    QString first;
    QLineEdit *firstField = nullptr;
    for (int n = 0; n < socketCount; ++n) {
        for (QLineEdit *edit : {addresses.at(n), ports.at(n)}) {
            const QString problem = edit == addresses.at(n) ? addressProblem(n) : portProblem(n);
            FieldMarks::mark(edit, problem);
            if (!problem.isEmpty() && !firstField) {
                first = problem;
                firstField = edit;
            }
        }
    }
    if (firstField) {
        firstField->setFocus();
        Messages::warning(this, tr("警告"), first);
        return;
    }
    emit UpdateWirelessModuleSignal(information());
    close();
}

void DialogWirelessModuleConfigure::on_pushButtonCancel_clicked()
{
    close();
}
