#include "serial.h"

#include <QSerialPortInfo>

CSerial::CSerial(QObject *parent) : QObject(parent), port(this), gapTimer(this)
{
    gapTimer.setSingleShot(false);
    connect(&gapTimer, &QTimer::timeout, this, &CSerial::TimerTimeOut);
    connect(&port, &QSerialPort::readyRead, this, &CSerial::readyReadSlot);
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
    port.setPortName(portName);
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
    return port.isOpen();
}

bool CSerial::isOpen() const
{
    return port.isOpen();
}

void CSerial::write(const QByteArray &data)
{
    if (!port.isOpen())
        return;
    port.write(data);
}

bool CSerial::close()
{
    if (port.isOpen())
        port.close();
    return !port.isOpen();
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
    if (gapTimer.isActive())
        gapTimer.stop();
    rxBuffer.append(port.readAll());
    gapTimer.start(GapMs);
}

void CSerial::TimerTimeOut()
{
    if (!gapTimer.isActive())
        return;
    gapTimer.stop();
    const QByteArray block = rxBuffer;
    rxBuffer.clear();
    emit serialReturnData(block);
}
