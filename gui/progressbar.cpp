#include "progressbar.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

CProgressBar::CProgressBar(QWidget *parent)
    : QDialog(parent), m_label(new QLabel(tr("上传配置文件"), this)), m_bar(new QProgressBar(this)),
      m_wait(new QLabel(this)), m_finish(new QPushButton(tr("完成"), this)),
      m_cancel(new QPushButton(tr("取消"), this))
{
    setObjectName(QStringLiteral("CProgressBar"));
    setWindowTitle(tr("进度"));
    m_label->setObjectName(QStringLiteral("label"));
    m_label->setWordWrap(true);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_wait->setObjectName(QStringLiteral("labelWait"));
    m_wait->setWordWrap(true);
    m_finish->setObjectName(QStringLiteral("pushButtonFinish"));
    m_cancel->setObjectName(QStringLiteral("pushButtonCancel"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    layout->addWidget(m_wait);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_finish);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    resize(360, 120);
    showButtons(false);

    connect(m_finish, &QPushButton::clicked, this, &QDialog::close);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressBar::cancelRequested);
}

void CProgressBar::setLabelText(const QString &text)
{
    m_label->setText(text);
}

QString CProgressBar::labelText() const
{
    return m_label->text();
}

void CProgressBar::setWaitText(const QString &text)
{
    m_wait->setText(text);
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

void CProgressBar::begin(const QString &label)
{
    setLabelText(label);
    setValue(0);
    m_bar->show();
    m_wait->show();
    showButtons(true);
}

void CProgressBar::showSucceeded()
{
    setValue(100);
    m_bar->show();
    m_wait->hide();
    m_finish->setText(tr("完成"));
    showButtons(false);
}

void CProgressBar::showEnded(const QString &text)
{
    setLabelText(text);
    m_bar->hide();
    m_wait->hide();
    m_finish->setText(tr("关闭"));
    showButtons(false);
}

void CProgressBar::reject()
{
    if (m_running)
        emit cancelRequested();
    QDialog::reject();
}

void CProgressBar::showButtons(bool running)
{
    m_running = running;
    m_finish->setVisible(!running);
    m_cancel->setVisible(running);
}
