#include "serial.h"

#include "linklog.h"
#include "platform.h"
#include "portname.h"

#include <QSerialPortInfo>

CSerial::CSerial(QObject *parent) : QObject(parent), port(this), gapTimer(this), settleTimer(this)
{
    settleTimer.setSingleShot(true);
    settleTimer.setTimerType(Qt::PreciseTimer);
    connect(&settleTimer, &QTimer::timeout, this, &CSerial::settleStep);
    gapTimer.setSingleShot(true);
    gapTimer.setTimerType(Qt::PreciseTimer);
    clock.start();
    connect(&gapTimer, &QTimer::timeout, this, &CSerial::TimerTimeOut);
    connect(&port, &QSerialPort::readyRead, this, &CSerial::readyReadSlot);
    connect(&port, &QSerialPort::errorOccurred, this, &CSerial::onPortError);
}

CSerial::~CSerial()
{
    close();
}

void CSerial::setPortSettings(qint32 baudRate, QSerialPort::DataBits dataBits,
                              QSerialPort::Parity parity, QSerialPort::StopBits stopBits)
{
    port.setBaudRate(baudRate, QSerialPort::AllDirections);
    port.setDataBits(dataBits);
    port.setParity(parity);
    port.setStopBits(stopBits);
    port.setReadBufferSize(ReadBufferSize);
}

void CSerial::setControllerSettings()
{
    setPortSettings(QSerialPort::Baud115200, QSerialPort::Data8, QSerialPort::NoParity,
                    QSerialPort::OneStop);
}

bool CSerial::open(const QString &portName, QString *error)
{
    if (port.isOpen())
        port.close();
    ++openings;
    openedName = portName.trimmed();
    port.setPortName(PortName::toOpen(portName));
    if (portName.trimmed().isEmpty()) {
        if (error)
            *error = tr("No serial port chosen");
        return false;
    }
    if (!port.open(QIODevice::ReadWrite)) {
        if (error)
            *error = tr("Cannot open %1: %2").arg(portName, port.errorString());
        return false;
    }
    // What waits on the line is read and thrown away. A line that held
    // something (a killed program's answer) is also let fall quiet before
    // the first request; a clean one is used at once.
    beginSettling();
    port.waitForReadyRead(0);
    port.clear(QSerialPort::Input);
    if (discarded == 0)
        endSettling();
    return port.isOpen();
}

void CSerial::settle()
{
    if (!port.isOpen())
        return;
    beginSettling();
    // What a half-finished answer left in the buffers goes first.
    port.clear(QSerialPort::Input);
    discarded += port.readAll().size();
}

void CSerial::beginSettling()
{
    if (!settling) {
        settling = true;
        settleStartUs = clock.nsecsElapsed() / 1000;
        discarded = 0;
    }
    burst = false;
    gapTimer.stop();
    lastByteUs = clock.nsecsElapsed() / 1000;
    settleTimer.start(QuietMs);
}

void CSerial::settleStep()
{
    if (!settling)
        return;
    const qint64 now = clock.nsecsElapsed() / 1000;
    const qint64 quietUs = now - lastByteUs;
    if (port.isOpen() && quietUs < QuietMs * 1000 && now - settleStartUs < SettleLimitMs * 1000) {
        settleTimer.start(int((QuietMs * 1000 - quietUs + 999) / 1000));
        return;
    }
    endSettling();
}

void CSerial::endSettling()
{
    settling = false;
    settleTimer.stop();
    if (discarded > 0)
        qCDebug(lcLink).noquote() << "discarded" << discarded << "bytes left on" << openedName;
    const QByteArray held = heldWrites;
    heldWrites.clear();
    QString error;
    if (!held.isEmpty() && !writeNow(held, &error))
        emit writeFailed(error);
}

bool CSerial::isOpen() const
{
    return port.isOpen();
}

bool CSerial::write(const QByteArray &data, QString *error)
{
    if (settling && port.isOpen()) {
        heldWrites += data;
        return true;
    }
    return writeNow(data, error);
}

bool CSerial::writeNow(const QByteArray &data, QString *error)
{
    if (!port.isOpen()) {
        if (error)
            *error = tr("串口未打开");
        return false;
    }
    port.clearError();
    const qint64 written = port.write(data);
    // Out now, not when the event loop next looks at the port.
    port.flush();
    const QSerialPort::SerialPortError failed = port.error();
    if (written == data.size() &&
        (failed == QSerialPort::NoError || failed == QSerialPort::TimeoutError))
        return true;
    if (error)
        *error = tr("串口%1写入失败（%2）").arg(openedName, port.errorString());
    return false;
}

bool CSerial::close()
{
    settling = false;
    settleTimer.stop();
    heldWrites.clear();
    if (port.isOpen())
        port.close();
    return !port.isOpen();
}

void CSerial::onPortError(QSerialPort::SerialPortError error)
{
    if (lossPending || !port.isOpen())
        return;
    QString reason;
    if (error == QSerialPort::ResourceError)
        reason = port.errorString();
    else if ((error == QSerialPort::ReadError || error == QSerialPort::WriteError) && lineHungUp())
        // A line that hung up reads as end of file, which QSerialPort takes
        // for a read error, again and again until the port is closed.
        reason = tr("设备已挂断");
    else
        return;
    // Closed once QSerialPort has finished with the notification that
    // reported the error.
    lossPending = true;
    const quint64 opening = openings;
    QMetaObject::invokeMethod(
        this, [this, opening, reason] { closeLostPort(opening, reason); }, Qt::QueuedConnection);
}

bool CSerial::lineHungUp() const
{
    return Platform::lineHungUp(qintptr(port.handle()));
}

void CSerial::closeLostPort(quint64 opening, const QString &reason)
{
    lossPending = false;
    // Closed or opened again in the meantime: that port is not lost.
    if (opening != openings || !port.isOpen())
        return;
    close();
    emit portLost(tr("串口%1连接已断开（%2）").arg(openedName, reason));
}

QStringList CSerial::availablePorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names << info.portName();
    return names;
}

void CSerial::readyReadSlot()
{
    if (!port.isOpen())
        return;
    const QByteArray bytes = port.readAll();
    if (bytes.isEmpty())
        return;
    if (settling) {
        discarded += bytes.size();
        lastByteUs = clock.nsecsElapsed() / 1000;
        return;
    }
    // The timer is set once for a burst; when it runs out it looks at when
    // the last byte came (restarting it for every read costs more than the
    // read on a paced line).
    lastByteUs = clock.nsecsElapsed() / 1000;
    burst = true;
    if (!gapTimer.isActive())
        gapTimer.start(GapMs);
    emit serialReturnData(bytes);
}

void CSerial::TimerTimeOut()
{
    if (!burst)
        return;
    const qint64 quietUs = clock.nsecsElapsed() / 1000 - lastByteUs;
    if (quietUs < GapMs * 1000) {
        gapTimer.start(int((GapMs * 1000 - quietUs + 999) / 1000));
        return;
    }
    burst = false;
    emit silence();
}
