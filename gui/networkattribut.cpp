#include "networkattribut.h"
#include "ui_networkattribut.h"

#include "fieldmarks.h"
#include "hintkeys.h"
#include "messages.h"
#include "projectdata.h"
#include "screenplace.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>

using SettingsRules::NetworkField;
using SettingsRules::networkKey;

CNetworkAttribut::CNetworkAttribut(QWidget *parent)
    : QWidget(parent, Qt::Window), ui(new Ui::CNetworkAttribut)
{
    ui->setupUi(this);
    // By field, in the order of the film's keys; addressing is the radio buttons.
    fields = {nullptr,
              ui->lineEditIP,
              ui->lineEditSubnetMask,
              ui->lineEditDefaultGeteway,
              ui->lineEditPreferredDNS,
              ui->lineEditLocalStartPort};
    // Only digits and dots can be typed; a value out of range is kept and
    // marked until it is corrected.
    auto *addressCharacters =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9.]{0,31}")), this);
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS})
        edit->setValidator(addressCharacters);
    // The range a start port may take is in the empty field, not only in a tooltip.
    ui->lineEditLocalStartPort->setPlaceholderText(QStringLiteral("%1–%2")
                                                       .arg(SettingsRules::lowestStartPort)
                                                       .arg(SettingsRules::highestStartPort));
    ui->lineEditLocalStartPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), this));
    for (QLineEdit *edit : {ui->lineEditIP, ui->lineEditSubnetMask, ui->lineEditDefaultGeteway,
                            ui->lineEditPreferredDNS, ui->lineEditLocalStartPort}) {
        QFont font = edit->font();
        font.setPixelSize(16);
        edit->setFont(font);
        connect(edit, &QLineEdit::textEdited, this, [this, edit] {
            FieldMarks::mark(edit, problemOf(edit));
            emit fieldsEdited();
        });
    }
    ui->labelIP->setBuddy(ui->lineEditIP);
    ui->labelSubnetMask->setBuddy(ui->lineEditSubnetMask);
    ui->labelDefaultGeteway->setBuddy(ui->lineEditDefaultGeteway);
    ui->labelPreferredDNS->setBuddy(ui->lineEditPreferredDNS);
    HintKeys::bind(this);
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
        emit fieldsEdited();
    });
    connect(ui->radioButtonUseManualSetIP, &QRadioButton::clicked, this, [this] {
        setAddressFieldsEnabled(true);
        emit fieldsEdited();
    });
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
    const QString addressing = valueOf(information, networkKey(film, NetworkField::Addressing));
    if (addressing == QLatin1String("2")) {
        ui->radioButtonUseManualSetIP->setChecked(true);
        setAddressFieldsEnabled(true);
    } else if (addressing == QLatin1String("1")) {
        ui->radioButtonUseAutoGetIP->setChecked(true);
        setAddressFieldsEnabled(false);
    }
    for (int f = int(NetworkField::Ip); f < SettingsRules::networkFieldCount; ++f) {
        QLineEdit *edit = fields.at(f);
        edit->setText(valueOf(information, networkKey(film, NetworkField(f))));
        FieldMarks::mark(edit, QString());
    }
    titleFilm = film;
    setFilmTitle();
}

void CNetworkAttribut::focusField(NetworkField field)
{
    QWidget *widget = fields.value(int(field));
    if (!widget)
        widget = ui->radioButtonUseAutoGetIP->isChecked() ? ui->radioButtonUseAutoGetIP
                                                          : ui->radioButtonUseManualSetIP;
    raise();
    activateWindow();
    ui->scrollArea_tab->ensureWidgetVisible(widget);
    widget->setFocus();
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
        HintKeys::bind(this);
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
    return myType == NoFilm ? QStringList() : fieldsOf(myType);
}

QStringList CNetworkAttribut::fieldsOf(int film) const
{
    QVector<QString> values{ui->radioButtonUseAutoGetIP->isChecked() ? QStringLiteral("1")
                                                                     : QStringLiteral("2")};
    for (int f = int(NetworkField::Ip); f < SettingsRules::networkFieldCount; ++f)
        values << fields.at(f)->text();
    return SettingsRules::filmList(film, values);
}

QString CNetworkAttribut::problemOf(const QLineEdit *edit) const
{
    const int field = int(fields.indexOf(const_cast<QLineEdit *>(edit)));
    if (field <= 0)
        return QString();
    const int film = myType == NoFilm ? int(FilmApplication1) : int(myType);
    const SettingsRules::FieldProblem problem =
        SettingsRules::networkProblem(fieldsOf(film), film, NetworkField(field));
    return problem.error || edit->isModified() ? problem.message : QString();
}

QString CNetworkAttribut::fieldProblem(QLineEdit **field)
{
    QString first;
    for (QLineEdit *edit : qAsConst(fields)) {
        if (!edit)
            continue;
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
    const QScopedValueRollback<bool> confirmed(closingConfirmed, true);
    close();
}

void CNetworkAttribut::on_pushButtonCancel_clicked()
{
    close();
}

void CNetworkAttribut::closeEvent(QCloseEvent *event)
{
    if (!closingConfirmed && isVisible())
        emit cancelled();
    QWidget::closeEvent(event);
}
