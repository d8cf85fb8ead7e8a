#include "aboutpindle.h"

#include "ui_aboutpindle.h"

#include <QEvent>
#include <QPixmap>

CAboutPindle::CAboutPindle(QWidget *parent) : QWidget(parent), ui(new Ui::CAboutPindle)
{
    ui->setupUi(this);
    connect(ui->pushButtonClose, &QPushButton::clicked, this, &QWidget::close);
    setWindowTitle(tr("关于Mirel配置软件"));
    ui->labelLogo->setPixmap(QPixmap(QStringLiteral(":/ico/PindleLogo.png")));
}

CAboutPindle::~CAboutPindle()
{
    delete ui;
}

void CAboutPindle::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        setWindowTitle(tr("关于Mirel配置软件"));
    }
    QWidget::changeEvent(event);
}
