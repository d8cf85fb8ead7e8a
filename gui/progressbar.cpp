#include "progressbar.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressBar::CProgressBar(QWidget *parent)
    : QDialog(parent), m_label(new QLabel(tr("上传配置文件"), this)), m_bar(new QProgressBar(this)),
      m_finish(new QPushButton(tr("完成"), this))
{
    setObjectName(QStringLiteral("CProgressBar"));
    setWindowTitle(tr("进度"));
    m_label->setObjectName(QStringLiteral("label"));
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_finish->setObjectName(QStringLiteral("pushButtonFinish"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_finish, 0, Qt::AlignRight);
    resize(360, 120);

    connect(m_finish, &QPushButton::clicked, this, &QDialog::close);
}

void CProgressBar::setLabelText(const QString &text)
{
    m_label->setText(text);
}

QString CProgressBar::labelText() const
{
    return m_label->text();
}

void CProgressBar::setValue(int percent)
{
    m_bar->setValue(qBound(0, percent, 100));
}

int CProgressBar::value() const
{
    return m_bar->value();
}

void CProgressBar::setProgress(qint64 done, qint64 total)
{
    if (total <= 0)
        return;
    setValue(int(qBound<qint64>(0, done, total) * 100 / total));
}
