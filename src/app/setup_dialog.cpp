#include "setup_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace ts {

bool runSetupDialog(QWidget* parent, PortSettings& s) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Setup");
    auto* group = new QGroupBox(" Settings ", &dialog);
    auto* form = new QFormLayout(group);

    auto* port = new QComboBox;
    port->setEditable(true);  // a typed path is taken as it is
    port->addItems({"COM1", "COM2"});
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) port->addItem(info.systemLocation());
    port->setCurrentText(s.name);
    auto* baud = new QComboBox;
    for (int b : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200}) baud->addItem(QString::number(b), b);
    baud->setCurrentIndex(baud->findData(s.baudRate));
    auto* data = new QComboBox;
    for (int d : {5, 6, 7, 8}) data->addItem(QString::number(d), d);
    data->setCurrentIndex(data->findData(int(s.dataBits)));
    auto* stop = new QComboBox;
    stop->addItem("1", int(QSerialPort::OneStop));
    stop->addItem("1.5", int(QSerialPort::OneAndHalfStop));
    stop->addItem("2", int(QSerialPort::TwoStop));
    stop->setCurrentIndex(stop->findData(int(s.stopBits)));
    // The choices are ours; the caption, the group and the field names are the port's own.
    auto* parity = new QComboBox;
    parity->addItem(QCoreApplication::translate("SetupDialog", "None"), int(QSerialPort::NoParity));
    parity->addItem(QCoreApplication::translate("SetupDialog", "Even"), int(QSerialPort::EvenParity));
    parity->addItem(QCoreApplication::translate("SetupDialog", "Odd"), int(QSerialPort::OddParity));
    parity->addItem(QCoreApplication::translate("SetupDialog", "Mark"), int(QSerialPort::MarkParity));
    parity->addItem(QCoreApplication::translate("SetupDialog", "Space"), int(QSerialPort::SpaceParity));
    parity->setCurrentIndex(parity->findData(int(s.parity)));
    auto* flow = new QComboBox;
    flow->addItem(QCoreApplication::translate("SetupDialog", "None"), int(QSerialPort::NoFlowControl));
    flow->addItem(QCoreApplication::translate("SetupDialog", "Hardware"), int(QSerialPort::HardwareControl));
    flow->addItem(QCoreApplication::translate("SetupDialog", "Software"), int(QSerialPort::SoftwareControl));
    flow->setCurrentIndex(flow->findData(int(s.flowControl)));
    form->addRow("Port", port);
    form->addRow("Baud rate", baud);
    form->addRow("Data bits", data);
    form->addRow("Stop bits", stop);
    form->addRow("Parity", parity);
    form->addRow("Flow control", flow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    // Worded as the port's dialog has them in every language, not as Qt translates them.
    buttons->button(QDialogButtonBox::Ok)->setText("OK");
    buttons->button(QDialogButtonBox::Cancel)->setText("Cancel");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(group);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    s.name = port->currentText().trimmed();
    s.baudRate = baud->currentData().toInt();
    s.dataBits = QSerialPort::DataBits(data->currentData().toInt());
    s.stopBits = QSerialPort::StopBits(stop->currentData().toInt());
    s.parity = QSerialPort::Parity(parity->currentData().toInt());
    s.flowControl = QSerialPort::FlowControl(flow->currentData().toInt());
    return true;
}

}  // namespace ts
