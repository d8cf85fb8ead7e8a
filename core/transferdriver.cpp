#include "transferdriver.h"

#include "linklog.h"
#include "serial.h"

#include <QDateTime>
#include <QTime>

#include <climits>

CTransferDriver::CTransferDriver(QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_clock.start();
    connect(&m_timer, &QTimer::timeout, this, &CTransferDriver::onTimeout);
}

void CTransferDriver::attach(CSerial *serial)
{
    m_writer = [this, serial](const QByteArray &frame) {
        QString error;
        if (serial->write(frame, &error))
            return;
        // Said once the step that wrote is over.
        QMetaObject::invokeMethod(
            this, [this, error] { fail(error); }, Qt::QueuedConnection);
    };
    m_cleaner = [serial] { serial->settle(); };
    connect(serial, &CSerial::serialReturnData, this, &CTransferDriver::onBytes);
    connect(serial, &CSerial::silence, this, &CTransferDriver::onSilence);
    connect(serial, &CSerial::writeFailed, this, &CTransferDriver::fail);
}

void CTransferDriver::cleanLine()
{
    if (m_cleaner)
        m_cleaner();
}

namespace {
void logFrame(const char *direction, const QByteArray &bytes)
{
    qCDebug(lcLink).noquote() << QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz"))
                              << direction << bytes.size()
                              << QString::fromLatin1(bytes.toHex(' ')).toUpper();
}
} // namespace

void CTransferDriver::write(const QByteArray &request)
{
    logFrame("->", request);
    if (m_writer)
        m_writer(request);
}

void CTransferDriver::setResponseTimeout(int ms)
{
    m_timeout.setFloor(qMax(ms, CTransfer::leastWaitMs()));
    rearm();
}

int CTransferDriver::silentControllerMs() const
{
    CResponseTimeout timeout = m_timeout;
    timeout.restart();
    const int first = timeout.currentMs();
    timeout.backOff();
    return int(qMin<qint64>(first + qint64(m_retries) * timeout.currentMs(), INT_MAX));
}

void CTransferDriver::rearm()
{
    const int waitMs = m_timeout.currentMs();
    if (waitMs != m_shownWaitMs) {
        m_shownWaitMs = waitMs;
        emit waitChanged(waitMs);
    }
    if (!isRunning()) {
        m_timer.stop();
        return;
    }
    m_transfer->setWaitUs(qint64(waitMs) * 1000);
    m_transfer->setFirstByteWaitUs(m_timeout.firstByteUs());
    const qint64 leftUs = m_transfer->deadlineUs() - nowUs();
    m_timer.start(int(qBound(qint64(0), (leftUs + 999) / 1000, qint64(INT_MAX))));
}

bool CTransferDriver::start(CTransfer *transfer, const QByteArray &firstRequest)
{
    // The machine has already been started for this transfer; only another
    // one that still runs is ended.
    m_timer.stop();
    if (m_transfer && m_transfer != transfer)
        m_transfer->abort();
    m_transfer = nullptr;
    if (!transfer || firstRequest.isEmpty() || !transfer->isRunning())
        return false;
    m_transfer = transfer;
    m_transfer->setRetries(m_retries);
    m_timeout.restart();
    emit progress(0, m_transfer->progressTotal());
    write(firstRequest);
    m_transfer->requestSent(nowUs());
    rearm();
    return true;
}

void CTransferDriver::abort()
{
    m_timer.stop();
    if (m_transfer)
        m_transfer->abort();
}

void CTransferDriver::cancel()
{
    if (isRunning())
        stop(Cancelled, QString(), tr(": 传输已取消！控制器停在传输中途。\n"));
}

void CTransferDriver::fail(const QString &reason)
{
    if (isRunning())
        stop(Failed, reason, tr(": 传输中断：%1\n").arg(reason));
}

void CTransferDriver::stop(Outcome outcome, const QString &reason, const QString &message)
{
    abort();
    emit logLine(timestamp() + message);
    emit ended(outcome, reason);
    emit finished(false);
}

bool CTransferDriver::isRunning() const
{
    return m_transfer && m_transfer->isRunning();
}

int CTransferDriver::state() const
{
    return m_transfer ? m_transfer->state() : CTransfer::Idle;
}

QString CTransferDriver::timestamp()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

void CTransferDriver::onBytes(const QByteArray &bytes)
{
    logFrame(isRunning() ? "<-" : "<- (idle)", bytes);
    if (!isRunning())
        return;
    apply(m_transfer->receive(bytes, nowUs()));
}

void CTransferDriver::onSilence()
{
    if (!isRunning())
        return;
    apply(m_transfer->silence(nowUs()));
}

void CTransferDriver::onBlock(const QByteArray &block)
{
    onBytes(block);
    onSilence();
}

void CTransferDriver::onTimeout()
{
    if (!isRunning())
        return;
    // The deadline moves with each byte of an answer; the timer is not set
    // again for every byte, so it may run out early.
    if (m_transfer->deadlineUs() > nowUs()) {
        rearm();
        return;
    }
    // A request goes unanswered; waiting out a drain is not that.
    if (!m_transfer->isDraining()) {
        m_timeout.backOff();
        m_transfer->setWaitUs(qint64(m_timeout.currentMs()) * 1000);
    }
    apply(m_transfer->timeout(nowUs()));
}

void CTransferDriver::apply(const CTransfer::Step &step)
{
    for (const QByteArray &answer : step.answers)
        emit blockReceived(answer);
    if (step.answerUs >= 0)
        m_timeout.addSample(step.answerUs);
    if (step.lateUs >= 0)
        m_timeout.addLateAnswer(step.lateUs);
    const QString stamp = step.messages.isEmpty() ? QString() : timestamp();
    for (const QString &message : step.messages)
        emit logLine(stamp + message);
    if (!m_transfer->isRunning()) {
        rearm();
        const bool success = m_transfer->succeeded();
        if (success) {
            emit progress(m_transfer->progressTotal(), m_transfer->progressTotal());
            emit ended(Succeeded, QString());
        } else {
            // The machine's last message says why, e.g. ": 控制器缓存空间不够，下载失败！\n".
            QString reason = step.messages.isEmpty() ? tr("传输失败") : step.messages.last();
            if (reason.startsWith(QLatin1String(": ")))
                reason.remove(0, 2);
            emit ended(Failed, reason.trimmed());
        }
        emit finished(success);
        return;
    }
    if (!step.request.isEmpty())
        write(step.request);
    rearm();
    if (!step.answers.isEmpty())
        emit progress(m_transfer->progressDone(), m_transfer->progressTotal());
}
