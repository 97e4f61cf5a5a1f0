#include "link_dialog.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "driving_window.h"
#include "link_session.h"

namespace ts {

namespace {

QString statusText(LinkSession* link) {
    if (!link) return QObject::tr("The live link is off.");
    const LinkServer& s = link->server();
    const QString base = QStringLiteral("http://127.0.0.1:%1/").arg(s.port());
    const QString query = s.token().isEmpty() ? QString() : "?token=" + s.token();
    QString text = QObject::tr(
                       "Live link open at %1\nDashboard: %2\nOverlay: %3\nClients connected: %4\n"
                       "Clients may drive: %5")
                       .arg(base, base + query, base + "overlay" + query)
                       .arg(s.clientCount())
                       .arg(s.control ? QObject::tr("yes") : QObject::tr("no"));
    if (!s.token().isEmpty()) {
        text += QObject::tr("\nOpen to the network. Token: %1").arg(s.token());
        for (const QString& a : s.networkAddresses()) text += QObject::tr("\nOn the network: %1").arg(a);
    }
    return text;
}

}  // namespace

void showLinkDialog(TForm1* form) {
    QDialog d(form);
    d.setObjectName("linkDialog");
    d.setWindowTitle(QObject::tr("Live link"));
    auto* layout = new QVBoxLayout(&d);
    auto* status = new QLabel(statusText(programLink()));
    status->setObjectName("linkStatus");
    status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(status);
    auto* port = new QSpinBox;
    port->setObjectName("linkPort");
    port->setRange(1024, 65535);
    port->setValue(kDefaultLinkPort);
    port->setPrefix(QObject::tr("Port "));
    auto* control = new QCheckBox(QObject::tr("Let clients drive (send the driver's commands)"));
    control->setObjectName("linkControl");
    auto* lan = new QCheckBox(QObject::tr("Let other machines on the network connect (with a token)"));
    lan->setObjectName("linkLan");
    auto* error = new QLabel;
    error->setObjectName("linkError");
    error->setStyleSheet("color: #b00");
    layout->addWidget(port);
    layout->addWidget(control);
    layout->addWidget(lan);
    layout->addWidget(error);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* open = buttons->addButton(QObject::tr("Open"), QDialogButtonBox::ActionRole);
    open->setObjectName("linkOpen");
    layout->addWidget(buttons);
    auto refresh = [=] {
        const bool on = programLink() != nullptr;
        port->setVisible(!on);
        control->setVisible(!on);
        lan->setVisible(!on);
        open->setVisible(!on);
        status->setText(statusText(programLink()));
    };
    QObject::connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
    QObject::connect(open, &QPushButton::clicked, &d, [=] {
        std::string why;
        if (!openProgramLink(quint16(port->value()), control->isChecked(), lan->isChecked(), why)) {
            error->setText(QObject::tr("Cannot open the live link: %1").arg(QString::fromStdString(why)));
            return;
        }
        error->clear();
        programLink()->follow(form);
        QObject::connect(&programLink()->server(), &LinkServer::clientsChanged, status, [=] { refresh(); });
        refresh();
    });
    if (programLink())
        QObject::connect(&programLink()->server(), &LinkServer::clientsChanged, status, [=] { refresh(); });
    refresh();
    d.exec();
}

}  // namespace ts
