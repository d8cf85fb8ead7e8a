#include "downloadtab.h"

#include "appfolders.h"
#include "chipfacts.h"
#include "dlgdescription.h"
#include "filedialogs.h"
#include "messages.h"
#include "mycombobox.h"
#include "progressbar.h"
#include "serial.h"
#include "transferdriver.h"
#include "transfersettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextEdit>

const QColor CDownloadTab::ActiveColor = QColor(85, 169, 255);
const QColor CDownloadTab::InactiveColor = QColor(225, 225, 225);

namespace {

struct KindInfo
{
    const char *pathField;
    const char *pickerButton;
    const char *markButton;
    quint8 code; // the driver's code is its number
};

const KindInfo kKinds[CDownloadTab::KindCount] = {
    {"lineEditPathConf", "pushButtonFileComf", "pushButtonConf", 0xE2},
    {"lineEditPathFirmware", "pushButtonFileFirmware", "pushButtonFirmware", 0xE3},
    {"lineEditPathSAlgorithm", "pushButtonFileSAlgorithm", "pushButtonSAlgorithm", 0xE4},
    {"lineEditPahtCAlgorithm", "pushButtonFileCAlgorithm", "pushButtonCAlgorithm", 0xE5},
    {"lineEditPathDrive", "pushButtonFileDrive", "pushButtonDrive", 0x00},
    {"lineEditPathProgram", "pushButtonFileProgram", "pushButtonProgram", 0xE7},
};

bool validKind(int kind)
{
    return kind >= 0 && kind < CDownloadTab::KindCount;
}

} // namespace

CDownloadTab::CDownloadTab(QWidget *window, Hooks hooks, QObject *parent)
    : QObject(parent ? parent : window), m_window(window), m_hooks(std::move(hooks)),
      m_serial(new CSerial(this)), m_driver(new CTransferDriver(this))
{
    m_driver->attach(m_serial);
    connect(m_driver, &CTransferDriver::blockReceived, this, &CDownloadTab::showRawBlock);
    connect(m_driver, &CTransferDriver::logLine, this, &CDownloadTab::appendLog);
    connect(m_driver, &CTransferDriver::ended, this, &CDownloadTab::showTransferEnd);
    connect(m_driver, &CTransferDriver::finished, this, &CDownloadTab::transferFinished);
    connect(m_serial, &CSerial::portLost, this, &CDownloadTab::portLost);
    connect(m_driver, &CTransferDriver::progress, this, [this](qint64 done, qint64 total) {
        if (m_progress)
            m_progress->setProgress(done, total);
    });
    connectWidgets();
}

CDownloadTab::~CDownloadTab()
{
    m_driver->abort();
}

template <typename T> T *CDownloadTab::widget(const char *name) const
{
    T *w = m_window ? m_window->findChild<T *>(QLatin1String(name)) : nullptr;
    if (!w)
        qWarning("CDownloadTab: the window has no %s", name);
    return w;
}

void CDownloadTab::connectWidgets()
{
    m_comboPorts = widget<QComboBox>("comboBoxComNo");
    m_comboChip = widget<QComboBox>("comboBoxChipModel");
    m_buttonOpen = widget<QPushButton>("pushButtonOpenCom");
    m_buttonClose = widget<QPushButton>("pushButtonCloseCom");
    m_buttonDownload = widget<QPushButton>("pushButtonConfigureMirelHardwareInformation");
    m_buttonUpload = widget<QPushButton>("pushButtonUploadBinFile");
    m_spinTimeout = widget<QSpinBox>("spinBoxResponseTimeout");
    m_spinRetries = widget<QSpinBox>("spinBoxRetries");
    m_checkVerify = widget<QCheckBox>("checkBoxVerifyDownload");
    m_log = widget<QTextEdit>("textEditInform");
    m_raw = widget<QTextEdit>("textEdit");
    m_tabs = widget<QTabWidget>("tabWidget");
    for (int k = 0; k < KindCount; ++k) {
        m_kinds[k].path = widget<QLineEdit>(kKinds[k].pathField);
        m_kinds[k].picker = widget<QPushButton>(kKinds[k].pickerButton);
        m_kinds[k].mark = widget<QPushButton>(kKinds[k].markButton);
        if (m_kinds[k].picker)
            connect(m_kinds[k].picker, &QPushButton::clicked, this, [this, k] { pickFile(k); });
        if (m_kinds[k].mark)
            connect(m_kinds[k].mark, &QPushButton::clicked, this, [this, k] { markKind(k); });
    }
    const auto onClick = [this](const char *name, void (CDownloadTab::*run)()) {
        if (auto *button = widget<QPushButton>(name))
            connect(button, &QPushButton::clicked, this, run);
    };
    onClick("pushButtonConfigureMirelHardwareInformation", &CDownloadTab::startDownload);
    onClick("pushButtonUploadBinFile", &CDownloadTab::startUpload);
    onClick("pushButtonClearText", &CDownloadTab::clearLog);
    onClick("pushButtonClearText_2", &CDownloadTab::clearRawView);
    onClick("pushButtonCancel", &CDownloadTab::clearMarking);
    onClick("pushButton", &CDownloadTab::analyzeDownloadData);

    if (m_comboPorts) {
        // A device path can be typed as well as picked (e.g. a pseudo-terminal).
        m_comboPorts->setEditable(true);
        if (auto *combo = qobject_cast<CMyComboBox *>(m_comboPorts))
            connect(combo, &CMyComboBox::Clicked, this, &CDownloadTab::refreshPorts);
        refreshPorts();
    }
    if (m_comboChip) {
        m_comboChip->clear();
        m_comboChip->addItems(ChipFacts::models());
    }
    if (m_buttonOpen)
        connect(m_buttonOpen, &QPushButton::clicked, this, &CDownloadTab::openPort);
    if (m_buttonClose) {
        connect(m_buttonClose, &QPushButton::clicked, this, &CDownloadTab::closePort);
        paint(m_buttonClose, ActiveColor); // the port starts closed
    }
    if (m_spinTimeout) {
        m_spinTimeout->setRange(TransferSettings::MinTimeoutMs, TransferSettings::MaxTimeoutMs);
        m_spinTimeout->setSingleStep(100);
        m_spinTimeout->setKeyboardTracking(false);
    }
    if (m_spinRetries) {
        m_spinRetries->setRange(0, TransferSettings::MaxRetries);
        m_spinRetries->setKeyboardTracking(false);
    }
    loadSettings();
    // Connected once the stored values are shown: a change is the user's.
    if (m_spinTimeout)
        connect(m_spinTimeout, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int ms) {
            m_driver->setResponseTimeout(ms);
            saveSettings();
        });
    if (m_spinRetries)
        connect(m_spinRetries, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int n) {
            m_driver->setRetries(n);
            saveSettings();
        });
    if (m_checkVerify)
        connect(m_checkVerify, &QCheckBox::toggled, this, &CDownloadTab::saveSettings);
}

QString CDownloadTab::settingsFolder() const
{
    // The start-up settings file sits beside the program's data, or, for an
    // installed program, in the user's configuration folder.
    const QString appDir = m_hooks.appDir ? m_hooks.appDir() : QString();
    if (!appDir.isEmpty() && appDir == AppFolders::dataDirectory())
        return AppFolders::settingsDirectory();
    return appDir;
}

void CDownloadTab::loadSettings()
{
    const TransferSettings stored = TransferSettings::load(settingsFolder());
    m_driver->setResponseTimeout(stored.timeoutMs);
    m_driver->setRetries(stored.retries);
    if (m_spinTimeout)
        m_spinTimeout->setValue(stored.timeoutMs);
    if (m_spinRetries)
        m_spinRetries->setValue(stored.retries);
    if (m_checkVerify)
        m_checkVerify->setChecked(stored.verify);
}

void CDownloadTab::saveSettings()
{
    const QString folder = settingsFolder();
    if (folder.isEmpty())
        return;
    TransferSettings settings;
    settings.timeoutMs = m_driver->responseTimeout();
    settings.retries = m_driver->retries();
    settings.verify = m_checkVerify && m_checkVerify->isChecked();
    QString error;
    if (!settings.save(folder, &error))
        appendLog(CTransferDriver::timestamp() + tr(": 传输设置没有保存：%1\n").arg(error));
}

// ------------------------------------------------------------------ port

void CDownloadTab::refreshPorts()
{
    if (!m_comboPorts)
        return;
    // A typed device path is not a listed port; it survives the refresh.
    const QString previous = m_comboPorts->currentText();
    const bool typed = !previous.isEmpty() && !m_listedPorts.contains(previous);
    m_listedPorts = CSerial::availablePorts();
    m_comboPorts->clear();
    m_comboPorts->addItems(m_listedPorts);
    if (typed)
        m_comboPorts->setEditText(previous);
    else if (m_listedPorts.contains(previous))
        m_comboPorts->setCurrentIndex(m_listedPorts.indexOf(previous));
}

void CDownloadTab::openPort()
{
    const QString name = m_comboPorts ? m_comboPorts->currentText().trimmed() : QString();
    const bool wasOpen = m_serial->isOpen();
    m_serial->setControllerSettings();
    QString error;
    if (!m_serial->open(name, &error)) {
        appendLog(CTransferDriver::timestamp() + tr(": 打开串口失败：%1\n").arg(error));
        if (wasOpen) {
            // Reopening closed the port that was open: show it closed.
            m_driver->fail(tr("串口已关闭"));
            setTransferButtonsEnabled(true);
            paint(m_buttonClose, ActiveColor);
            paint(m_buttonOpen, InactiveColor);
        }
        Messages::warning(m_window, tr("警告"), tr("打开串口失败"));
        return;
    }
    paint(m_buttonOpen, ActiveColor);
    paint(m_buttonClose, InactiveColor);
}

void CDownloadTab::closePort()
{
    m_driver->fail(tr("串口已关闭"));
    setTransferButtonsEnabled(true);
    if (m_serial->close()) {
        paint(m_buttonClose, ActiveColor);
        paint(m_buttonOpen, InactiveColor);
    }
}

void CDownloadTab::portLost(const QString &reason)
{
    const QString message = tr("串口连接已断开（%1）").arg(reason);
    if (m_driver->isRunning())
        m_driver->fail(message);
    else
        appendLog(CTransferDriver::timestamp() + QStringLiteral(": ") + message +
                  QLatin1Char('\n'));
    setTransferButtonsEnabled(true);
    paint(m_buttonClose, ActiveColor);
    paint(m_buttonOpen, InactiveColor);
}

bool CDownloadTab::portIsOpen() const
{
    return m_serial->isOpen();
}

void CDownloadTab::setResponseTimeout(int ms)
{
    if (m_spinTimeout)
        m_spinTimeout->setValue(ms);
    else
        m_driver->setResponseTimeout(ms);
}

void CDownloadTab::setRetries(int retries)
{
    if (m_spinRetries)
        m_spinRetries->setValue(retries);
    else
        m_driver->setRetries(retries);
}

void CDownloadTab::setVerifyAfterDownload(bool verify)
{
    if (m_checkVerify)
        m_checkVerify->setChecked(verify);
}

int CDownloadTab::state() const
{
    return m_driver->state();
}

// ------------------------------------------------------------- transfers

void CDownloadTab::startDownload()
{
    if (!m_hooks.hasProject || !m_hooks.hasProject()) {
        Messages::warning(m_window, tr("警告"),
                          tr("没有打开的工程：请先新建或打开工程，再下载配置"));
        return;
    }
    if (!portIsOpen()) {
        Messages::warning(m_window, tr("警告"), tr("串口未打开！"));
        return;
    }
    QByteArray table;
    QString error;
    if (!m_hooks.buildTable || !m_hooks.buildTable(&table, &error) || table.isEmpty()) {
        if (error.isEmpty())
            error = tr("没有可下载的配置信息");
        appendLog(CTransferDriver::timestamp() + tr(": 配置表生成失败：%1\n").arg(error));
        return;
    }
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    const QByteArray first = m_download.start(chip, table);
    m_readingBack = false;
    if (!m_driver->start(&m_download, first))
        return;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("下载配置文件"));
}

void CDownloadTab::startUpload()
{
    if (!portIsOpen()) {
        Messages::warning(m_window, tr("警告"), tr("串口通讯未打开，无法进行配置文件的上传！"));
        return;
    }
    // The open project stays until the controller's table has arrived and
    // been decoded; the window then asks before it replaces the project.
    const QString chip = m_comboChip ? m_comboChip->currentText() : QString();
    const QByteArray first = m_upload.start(chip);
    m_readingBack = false;
    if (!m_driver->start(&m_upload, first))
        return;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("上传配置文件"));
}

void CDownloadTab::transferFinished(bool success)
{
    setTransferButtonsEnabled(true);
    const bool download = m_driver->transfer() == &m_download;
    if (download && success && m_checkVerify && m_checkVerify->isChecked()) {
        startReadBack();
        return;
    }
    if (m_readingBack) {
        finishReadBack(success);
        return;
    }
    if (!success || download)
        return;
    QString error;
    const bool made =
        m_hooks.analyzeUpload &&
        m_hooks.analyzeUpload(m_upload.uploadBuffer(), m_upload.uploadChipModel(), &error);
    if (!made)
        appendLog(CTransferDriver::timestamp() +
                  tr(": 上载的配置信息无法生成工程：%1\n").arg(error));
}

void CDownloadTab::startReadBack()
{
    appendLog(CTransferDriver::timestamp() + tr(": 读回控制器中的配置信息，与下载的比较...\n"));
    const QByteArray first = m_upload.start(m_download.chipModel());
    if (!m_driver->start(&m_upload, first))
        return;
    m_readingBack = true;
    setTransferButtonsEnabled(false);
    showProgressWindow(tr("读回校验"));
}

void CDownloadTab::finishReadBack(bool success)
{
    m_readingBack = false;
    if (!success)
        return; // the progress window and the log say why
    QString message;
    const bool same = CReadBack::compare(m_download.table(), m_upload.uploadBuffer(), &message);
    appendLog(CTransferDriver::timestamp() + message);
    if (!same && m_progress)
        m_progress->showEnded(message.mid(2).trimmed()); // without ": "
}

void CDownloadTab::analyzeDownloadData()
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    QString error;
    const bool made =
        m_hooks.analyzeUpload && m_hooks.analyzeUpload(m_download.downloadData(), chip, &error);
    if (!made)
        appendLog(CTransferDriver::timestamp() + tr(": 配置信息无法生成工程：%1\n").arg(error));
}

void CDownloadTab::showProgressWindow(const QString &label)
{
    if (!m_progress) {
        m_progress = new CProgressBar(m_window);
        connect(m_progress, &CProgressBar::cancelRequested, this, &CDownloadTab::cancelTransfer);
    }
    m_progress->begin(label);
    m_progress->show();
    m_progress->raise();
}

void CDownloadTab::setTransferButtonsEnabled(bool enabled)
{
    if (m_buttonDownload)
        m_buttonDownload->setEnabled(enabled);
    if (m_buttonUpload)
        m_buttonUpload->setEnabled(enabled);
}

void CDownloadTab::cancelTransfer()
{
    m_driver->cancel();
}

void CDownloadTab::showTransferEnd(CTransferDriver::Outcome outcome, const QString &reason)
{
    if (!m_progress)
        return;
    const bool upload = m_driver->transfer() == &m_upload;
    switch (outcome) {
    case CTransferDriver::Succeeded:
        m_progress->showSucceeded();
        break;
    case CTransferDriver::Failed:
        if (m_readingBack)
            m_progress->showEnded(tr("读回校验失败：%1").arg(reason));
        else
            m_progress->showEnded(upload ? tr("上传失败：%1").arg(reason)
                                         : tr("下载失败：%1").arg(reason));
        break;
    case CTransferDriver::Cancelled:
        if (m_readingBack)
            m_progress->showEnded(tr("读回校验已取消"));
        else
            m_progress->showEnded(upload ? tr("上传已取消") : tr("下载已取消"));
        break;
    }
}

// ------------------------------------------------------------ log views

void CDownloadTab::appendLog(const QString &line)
{
    if (!m_log)
        return;
    // Added at the end: the text before stays as it is, however long.
    m_log->moveCursor(QTextCursor::End);
    m_log->insertPlainText(line);
    m_log->ensureCursorVisible();
}

void CDownloadTab::showRawBlock(const QByteArray &block)
{
    if (!m_raw)
        return;
    const int zero = block.indexOf('\0');
    m_raw->moveCursor(QTextCursor::End);
    m_raw->insertPlainText(QString::fromUtf8(zero < 0 ? block : block.left(zero)));
}

void CDownloadTab::clearLog()
{
    if (m_log)
        m_log->clear();
}

void CDownloadTab::clearRawView()
{
    if (m_raw)
        m_raw->clear();
}

// ------------------------------------------------------------ file kinds

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
        FileDialogs::getOpenFileName(m_window, tr("打开"), chipFolder(), tr(filters[kind]));
    if (path.isEmpty())
        return;
    if (m_kinds[kind].path)
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
    const QString path = m_kinds[kind].path ? m_kinds[kind].path->text() : QString();
    quint8 code = kKinds[kind].code;
    if (kind == KindDrive) {
        const int number = driverNumber(path);
        if (number > MaxDriverNumber) {
            Messages::warning(m_window, tr("警告"), tr("驱动文件名错误，驱动编号不允许超过48"));
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
}

void CDownloadTab::fillDefaultPaths()
{
    const QString chip = m_hooks.currentChip ? m_hooks.currentChip() : QString();
    if (!ChipFacts::isKnown(chip))
        return;
    const CDlgDescription names;
    const QString defaults[] = {names.configTableFileName, names.firmwareFileName,
                                names.primaryFunctionFileName, names.clientFunctionFileName,
                                names.driveFileName};
    for (int k = KindConf; k <= KindDrive; ++k) {
        const QFileInfo file(chipFolder() + QLatin1Char('/') + defaults[k]);
        if (file.exists() && m_kinds[k].path)
            m_kinds[k].path->setText(file.absoluteFilePath());
    }
}

void CDownloadTab::paint(QWidget *widget, const QColor &color)
{
    if (!widget)
        return;
    QPalette palette = widget->palette();
    palette.setBrush(QPalette::All, QPalette::Button, color);
    palette.setBrush(QPalette::All, QPalette::Base, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    if (auto *button = qobject_cast<QPushButton *>(widget))
        button->setFlat(true);
}
