#include "aboutpindle.h"

#include "ui_aboutpindle.h"

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
