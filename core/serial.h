#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

// The one connection to the controller: a serial port whose bytes are
// handed on as they arrive (serialReturnData), and whose silences are
// reported: silence() follows when no byte has arrived for 10 ms.
// A port that goes away while open (adapter unplugged, far end hung up) is
// closed and reported by portLost.
//
// Every transfer starts on a clean line: opening a port throws away what
// waits on it (such as the answer to a request of a program killed
// mid-transfer) and, when there was any, whatever follows until the line
// has been quiet for QuietMs (SettleLimitMs at most, for a line that never
// falls silent); settle() always waits for the quiet. Writes asked for
// meanwhile go out once the line is clean; a clean line is used at once.
class CSerial : public QObject
{
    Q_OBJECT
public:
    static constexpr int GapMs = 10;
    static constexpr int ReadBufferSize = 256;
    static constexpr int QuietMs = 30;
    static constexpr int SettleLimitMs = 300;

    explicit CSerial(QObject *parent = nullptr);
    ~CSerial() override;

    void setPortSettings(qint32 baudRate, QSerialPort::DataBits dataBits,
                         QSerialPort::Parity parity, QSerialPort::StopBits stopBits);
    // The settings the controller uses: 115200 baud, 8 data bits, no parity, 1 stop bit.
    void setControllerSettings();

    // Opens the named port (a listed name, or a device path: a name with a
    // slash, relative to the working folder unless absolute) for reading and
    // writing. On failure returns false and, when error is given, why.
    bool open(const QString &portName, QString *error = nullptr);
    bool isOpen() const;
    // Writes every byte, starting at once. False, with the reason naming the
    // port when error is given, when the port is closed or takes fewer bytes.
    // While the line settles, the bytes wait and go out once it is clean; a
    // failure then is said by writeFailed.
    bool write(const QByteArray &data, QString *error = nullptr);
    // Discards what waits on the line and what arrives until it is quiet.
    void settle();
    bool isSettling() const { return settling; }
    // Closes the port if it is open; returns whether it is closed.
    bool close();

    // The system's serial port names, in the system's order.
    static QStringList availablePorts();

signals:
    // Bytes as they are read from the port.
    void serialReturnData(QByteArray data);
    // No byte has arrived for GapMs since the last bytes.
    void silence();
    // The open port went away (QSerialPort::ResourceError, or the line hung
    // up); it has been closed and can be opened again. reason names the
    // port and says why.
    void portLost(QString reason);
    // Bytes held while the line settled could not be written.
    void writeFailed(QString reason);

public slots:
    void readyReadSlot();
    void TimerTimeOut();

private:
    void onPortError(QSerialPort::SerialPortError error);
    bool lineHungUp() const;
    void closeLostPort(quint64 opening, const QString &reason);
    bool writeNow(const QByteArray &data, QString *error);
    void settleStep();
    void beginSettling();
    void endSettling();

    QSerialPort port;
    QTimer gapTimer;
    QElapsedTimer clock;
    qint64 lastByteUs = 0;
    bool burst = false;   // bytes came since the last silence
    QString openedName;   // as the user gave it
    quint64 openings = 0; // counts open(): a loss noticed earlier keeps off a reopened port
    bool lossPending = false;
    // The clean start: bytes discarded and held back until the line is quiet.
    QTimer settleTimer;
    bool settling = false;
    qint64 settleStartUs = 0;
    qint64 discarded = 0;
    QByteArray heldWrites;
};
