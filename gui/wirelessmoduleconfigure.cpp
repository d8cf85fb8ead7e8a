#include "wirelessmoduleconfigure.h"
#include "ui_wirelessmoduleconfigure.h"

#include "fieldmarks.h"
#include "messages.h"
#include "projectdata.h"
#include "screenplace.h"
#include "settingsrules.h"
#include "tablerules.h"

#include <QEvent>
#include <QRegularExpressionValidator>
#include <QStyleOptionFrame>

using SettingsRules::SocketField;

namespace {

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
    ui->pushButtonSure->setDefault(true); // Enter confirms
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
        fitWidest(ports.at(n), QString::number(SettingsRules::highestSocketPort));
        addresses.at(n)->setText(QStringLiteral("192.168.1.%1").arg(n + 1));
        ports.at(n)->setText(QString::number(5000 + n));
        connect(addresses.at(n), &QLineEdit::textEdited, this, [this, n] {
            FieldMarks::mark(addresses.at(n), addressProblem(n));
            emit fieldsEdited();
        });
        connect(ports.at(n), &QLineEdit::textEdited, this, [this, n] {
            FieldMarks::mark(ports.at(n), portProblem(n));
            emit fieldsEdited();
        });
        // A socket put to use needs its address.
        connect(applications.at(n), QOverload<int>::of(&QComboBox::activated), this, [this, n] {
            if (FieldMarks::isMarked(addresses.at(n)))
                FieldMarks::mark(addresses.at(n), addressProblem(n));
            emit fieldsEdited();
        });
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
        const int socket = n + 1;
        int application = 0;
        if (TableRules::parseWholeNumber(
                valueOf(information, SettingsRules::socketKey(socket, SocketField::Application)), 0,
                applications.at(n)->count() - 1, &application))
            applications.at(n)->setCurrentIndex(application);
        addresses.at(n)->setText(
            valueOf(information, SettingsRules::socketKey(socket, SocketField::Ip)));
        ports.at(n)->setText(
            valueOf(information, SettingsRules::socketKey(socket, SocketField::Port)));
        FieldMarks::mark(addresses.at(n), QString());
        FieldMarks::mark(ports.at(n), QString());
    }
}

QStringList DialogWirelessModuleConfigure::information() const
{
    QVector<QVector<QString>> sockets;
    for (int n = 0; n < socketCount; ++n)
        sockets.append({QString::number(std::max(0, applications.at(n)->currentIndex())),
                        addresses.at(n)->text(), ports.at(n)->text()});
    return SettingsRules::socketList(sockets);
}

void DialogWirelessModuleConfigure::focusField(int socket, SocketField field)
{
    const int n = std::max(0, std::min(socket, int(socketCount)) - 1);
    QWidget *widget = field == SocketField::Application ? static_cast<QWidget *>(applications.at(n))
                      : field == SocketField::Ip        ? addresses.at(n)
                                                        : ports.at(n);
    raise();
    activateWindow();
    ui->scrollArea_tab->ensureWidgetVisible(widget);
    widget->setFocus();
}

QString DialogWirelessModuleConfigure::problemOf(int n, SocketField field) const
{
    const QLineEdit *edit = field == SocketField::Ip ? addresses.at(n) : ports.at(n);
    const SettingsRules::FieldProblem problem =
        SettingsRules::socketProblem(information(), n + 1, field);
    return problem.error || edit->isModified() ? problem.message : QString();
}

QString DialogWirelessModuleConfigure::addressProblem(int n) const
{
    return problemOf(n, SocketField::Ip);
}

QString DialogWirelessModuleConfigure::portProblem(int n) const
{
    return problemOf(n, SocketField::Port);
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
    accept();
}

void DialogWirelessModuleConfigure::on_pushButtonCancel_clicked()
{
    reject();
}

void DialogWirelessModuleConfigure::reject()
{
    emit cancelled();
    QDialog::reject();
}
