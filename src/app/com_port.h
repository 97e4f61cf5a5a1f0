// ComPort1: the serial port of a driving window. Port names "COM1" and "COM2"
// stand for /dev/ttyS0 and /dev/ttyS1 unless the command line maps them
// elsewhere; any other name (a path such as /dev/ttyUSB0) is used as it is.
// Bytes that arrive without a pause are delivered as one message.
#pragma once
#include <QObject>
#include <QSerialPort>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

namespace ts {

struct PortSettings {
    QString name = "COM1";
    qint32 baudRate = 19200;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::EvenParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

// The device path a port name stands for.
QString devicePath(const QString& name);
// Maps a port name to a device for the rest of the program ("COM1=/dev/ttyUSB0").
void mapPortName(const std::string& assignment);

class ComPort : public QObject {
    Q_OBJECT
public:
    // The pause (ms) that ends a message: a character takes about 0.5 ms at 19 200 baud.
    static constexpr int kMessageGapMs = 10;

    explicit ComPort(QObject* parent = nullptr);
    ~ComPort() override;

    PortSettings settings;
    bool isOpen() const { return port_.isOpen(); }
    // Opens with the current settings; false with `error` naming the device and the reason.
    bool open(QString& error);
    void close();

    std::function<void()> onOpened;                     // COMOpened
    std::function<void()> onClosing;                    // COMClosed
    std::function<void(const std::string&)> onMessage;  // RxChar

private:
    void received();
    QSerialPort port_;
    QTimer gap_;
    QByteArray pending_;
};

}  // namespace ts
