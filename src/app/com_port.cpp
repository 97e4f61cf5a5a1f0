#include "com_port.h"

namespace ts {

namespace {
std::map<QString, QString>& portMap() {
    static std::map<QString, QString> map{{"COM1", "/dev/ttyS0"}, {"COM2", "/dev/ttyS1"}};
    return map;
}
}  // namespace

QString devicePath(const QString& name) {
    auto it = portMap().find(name.toUpper());
    return it != portMap().end() ? it->second : name;
}

void mapPortName(const std::string& assignment) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos) return;
    portMap()[QString::fromStdString(assignment.substr(0, eq)).toUpper()] =
        QString::fromStdString(assignment.substr(eq + 1));
}

ComPort::ComPort(QObject* parent) : QObject(parent) {
    gap_.setSingleShot(true);
    gap_.setInterval(kMessageGapMs);
    connect(&gap_, &QTimer::timeout, this, [this] {
        const std::string message = pending_.toStdString();
        pending_.clear();
        if (onMessage) onMessage(message);
    });
    connect(&port_, &QSerialPort::readyRead, this, [this] { received(); });
}

ComPort::~ComPort() {
    if (port_.isOpen()) port_.close();
}

bool ComPort::open(QString& error) {
    const QString device = devicePath(settings.name);
    port_.setPortName(device);
    // Settings before opening: some devices refuse changes afterwards.
    port_.setBaudRate(settings.baudRate);
    port_.setDataBits(settings.dataBits);
    port_.setParity(settings.parity);
    port_.setStopBits(settings.stopBits);
    port_.setFlowControl(settings.flowControl);
    if (!port_.open(QIODevice::ReadOnly)) {
        error = QString("%1 (%2): %3").arg(settings.name, device, port_.errorString());
        return false;
    }
    // DTR and RTS off; a pseudo-terminal has no such lines, which is no error.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    port_.clearError();
    pending_.clear();
    if (onOpened) onOpened();
    return true;
}

void ComPort::close() {
    if (!port_.isOpen()) return;
    if (onClosing) onClosing();
    gap_.stop();
    pending_.clear();
    port_.close();
}

void ComPort::received() {
    pending_ += port_.readAll();
    gap_.start();  // the message ends with the first pause
}

}  // namespace ts
