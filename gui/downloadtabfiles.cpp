// The firmware tab's files: picking a file of each kind, the default
// paths, and marking one kind.
#include "downloadtab.h"

#include "appfolders.h"
#include "chipfacts.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "messages.h"
#include "ui_downloadtab.h"

#include <QFileInfo>

namespace {

// The code of each file kind; the driver's code is its number.
const quint8 kKindCodes[CDownloadTab::KindCount] = {0xE2, 0xE3, 0xE4, 0xE5, 0x00, 0xE7};

bool validKind(int kind)
{
    return kind >= 0 && kind < CDownloadTab::KindCount;
}

} // namespace

QString CDownloadTab::chipFolder() const
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    const QString appDir = m_hooks.appDir ? m_hooks.appDir() : QString();
    return appDir + QStringLiteral("/bin/") + (ChipFacts::isKnown(chip) ? chip : QString());
}

void CDownloadTab::pickFile(int kind)
{
    if (!validKind(kind))
        return;
    static const char *const filters[KindCount] = {
        QT_TR_NOOP("配置文件(*.bin)"), QT_TR_NOOP("固件(*.bin)"),     QT_TR_NOOP("算法文件(*.bin)"),
        QT_TR_NOOP("算法文件(*.bin)"), QT_TR_NOOP("驱动文件(*.bin)"), QT_TR_NOOP("工程文件(*.bin)"),
    };
    const QString path =
        FileDialogs::getOpenFileName(this, tr("打开"), chipFolder(), tr(filters[kind]));
    if (path.isEmpty())
        return;
    m_kinds[kind].path->setText(path);
    m_selectedPath = path;
}

int CDownloadTab::driverNumber(const QString &path)
{
    // Looked up in the file name: a folder such as "2024-06-01" must not count.
    const QString name = QFileInfo(path).fileName();
    const int start = name.indexOf(QLatin1String("06-"));
    bool ok = false;
    const int number = name.mid(start + 5, 2).toInt(&ok, 10);
    return ok ? number : 0;
}

void CDownloadTab::markKind(int kind)
{
    if (!validKind(kind))
        return;
    const QString path = m_kinds[kind].path->text();
    quint8 code = kKindCodes[kind];
    if (kind == KindDrive) {
        const int number = driverNumber(path);
        if (number > MaxDriverNumber) {
            Messages::warning(this, tr("警告"), tr("驱动文件名错误，驱动编号不允许超过48"));
            return;
        }
        code = quint8(number);
    }
    static const char *const startMessages[KindCount] = {
        QT_TR_NOOP("开始更新配置文件。。。\n"),   QT_TR_NOOP("开始更新固件文件。。。\n"),
        QT_TR_NOOP("开始更新原算法文件。。。\n"), QT_TR_NOOP("开始更新自定义算法文件。。。\n"),
        QT_TR_NOOP("开始更新驱动1文件。。。\n"),  QT_TR_NOOP("开始更新控制程序文件。。。\n"),
    };
    clearMarking();
    paint(m_kinds[kind].mark, ActiveColor);
    paint(m_kinds[kind].path, ActiveColor);
    m_selectedKind = code;
    m_selectedStartMessage = tr(startMessages[kind]);
    m_selectedPath = path;
    showMarking();
}

void CDownloadTab::clearMarking()
{
    for (const KindWidgets &k : m_kinds) {
        paint(k.mark, InactiveColor);
        paint(k.path, InactiveColor);
    }
    m_selectedKind = 0;
    m_selectedStartMessage.clear();
    m_selectedPath.clear();
    showMarking();
}

void CDownloadTab::showMarking()
{
    for (const KindWidgets &k : m_kinds) {
        if (k.mark)
            k.mark->setToolTip(tr("标记这个文件：只记下要更新哪个文件，不发送"));
    }
    const QString notSent =
        tr("本版本不发送标记的文件：“配置Mirel硬件信息”总是发送当前工程的配置表。");
    if (m_selectedStartMessage.isEmpty()) {
        ui->labelMarked->setText(tr("没有标记文件。") + QLatin1Char('\n') + notSent);
        return;
    }
    const QFileInfo file(m_selectedPath);
    const QString what = file.isFile()
                             ? tr("已标记：%1（%2字节）").arg(file.fileName()).arg(file.size())
                             : tr("已标记：%1（文件不存在）").arg(m_selectedPath);
    ui->labelMarked->setText(what + QLatin1Char('\n') + notSent);
}

// Each kind's file in the open project's chip folder, when it is there. A
// path that is empty or the default of a chip follows the project's chip
// (another chip's file is never shown for this one); a path chosen by hand
// stays.
void CDownloadTab::fillDefaultPaths()
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    if (!ChipFacts::isKnown(chip))
        return;
    const QString appDir = m_hooks.appDir ? m_hooks.appDir() : QString();
    const CDlgDescription names;
    const QString defaults[] = {names.configTableFileName, names.firmwareFileName,
                                names.primaryFunctionFileName, names.clientFunctionFileName,
                                names.driveFileName};
    const auto defaultOf = [&](int kind, const QString &model) {
        return QFileInfo(appDir + QStringLiteral("/bin/") + model + QLatin1Char('/') +
                         defaults[kind]);
    };
    for (int k = KindConf; k <= KindDrive; ++k) {
        const QString shown = m_kinds[k].path->text();
        bool followsChip = shown.isEmpty();
        for (const QString &model : ChipFacts::models())
            followsChip = followsChip || QFileInfo(shown) == defaultOf(k, model);
        if (!followsChip)
            continue;
        const QFileInfo file = defaultOf(k, chip);
        m_kinds[k].path->setText(file.exists() ? file.absoluteFilePath() : QString());
    }
}
