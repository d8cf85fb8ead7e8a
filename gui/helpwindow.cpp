#include "helpwindow.h"

#include "appfolders.h"

#include <QDir>
#include <QFile>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window), text(new QTextBrowser)
{
    setObjectName(QStringLiteral("HelpWindow"));
    text->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    resize(760, 680);
    // Esc closes it, as it does a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
}

QString HelpWindow::guideFile(bool english)
{
    return AppFolders::guideDirectory() +
           (english ? QStringLiteral("/guide_en.md") : QStringLiteral("/guide_zh.md"));
}

void HelpWindow::showGuide(bool english)
{
    setWindowTitle(tr("使用说明"));
    const QString path = guideFile(english);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        text->setPlainText(tr("无法读取使用说明：%1（%2）")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    text->setMarkdown(QString::fromUtf8(file.readAll()));
}
