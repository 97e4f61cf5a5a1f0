#include "link_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTcpSocket>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>

#include <algorithm>

#include "link_protocol.h"

namespace ts {

namespace {

// A request's head larger than this is not a browser's.
constexpr qsizetype kMaxRequestHead = 8192;
// What a client may leave unread before it counts as slow.
constexpr qint64 kSlowClientBytes = 4 * 1024 * 1024;

bool isUpgrade(const QByteArray& head) {
    for (const QByteArray& line : head.split('\n')) {
        const QByteArray l = line.trimmed().toLower();
        if (l.startsWith("upgrade:") && l.contains("websocket")) return true;
    }
    return false;
}

}  // namespace

LinkServer::LinkServer(QObject* parent)
    : QObject(parent), ws_(QStringLiteral("trainsim"), QWebSocketServer::NonSecureMode) {
    connect(&tcp_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = tcp_.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { httpReadable(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    connect(&ws_, &QWebSocketServer::newConnection, this, &LinkServer::accept);
    // A web page the user visits elsewhere must not reach the run: browsers
    // name the page's origin, and only our own pages' origin is let in.
    // Programs that give no origin are local programs and welcome.
    connect(&ws_, &QWebSocketServer::originAuthenticationRequired, this, [this](QWebSocketCorsAuthenticator* a) {
        const QString origin = a->origin();
        const QString port = QString::number(tcp_.serverPort());
        a->setAllowed(origin.isEmpty() || origin == "http://127.0.0.1:" + port || origin == "http://localhost:" + port);
    });
}

LinkServer::~LinkServer() {
    for (auto& c : clients_) {
        c->socket->disconnect(this);
        c->socket->abort();
        c->socket->deleteLater();
    }
}

bool LinkServer::listen(quint16 port, std::string& error) {
    if (tcp_.listen(QHostAddress::LocalHost, port)) return true;
    error = tcp_.errorString().toStdString();
    return false;
}

QString LinkServer::address() const { return QStringLiteral("http://127.0.0.1:%1/").arg(tcp_.serverPort()); }

void LinkServer::httpReadable(QTcpSocket* s) {
    const QByteArray head = s->peek(kMaxRequestHead + 1);
    const qsizetype end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > kMaxRequestHead) s->abort();
        return;  // the rest of the head is still coming
    }
    const QByteArray request = head.left(end);
    if (isUpgrade(request)) {
        // The WebSocket server reads the handshake from the socket itself.
        s->disconnect(this);
        disconnect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        ws_.handleConnection(s);
        return;
    }
    s->read(end + 4);
    const qsizetype lineEnd = request.indexOf('\r');
    const QList<QByteArray> first = (lineEnd < 0 ? request : request.first(lineEnd)).split(' ');
    if (first.size() != 3 || !first[2].startsWith("HTTP/1.")) {
        s->abort();
        return;
    }
    s->disconnect(this);
    serve(s, first[0], first[1]);
}

void LinkServer::serve(QTcpSocket* s, const QByteArray& method, const QByteArray& target) {
    QByteArray status = "200 OK", type = "text/html; charset=utf-8", body;
    const qsizetype query = target.indexOf('?');
    const QByteArray path = query < 0 ? target : target.first(query);
    QString file;
    if (path == "/" || path == "/index.html")
        file = QStringLiteral(":/link/dashboard.html");
    else if (path == "/overlay")
        file = QStringLiteral(":/link/overlay.html");
    if (method != "GET" && method != "HEAD") {
        status = "405 Method Not Allowed";
        type = "text/plain; charset=utf-8";
        body = "Only GET is served here.\n";
    } else if (QFile f(file); file.isEmpty() || !f.open(QIODevice::ReadOnly)) {
        status = "404 Not Found";
        type = "text/plain; charset=utf-8";
        body = "Not found.\n";
    } else {
        body = f.readAll();
    }
    QByteArray out = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                     "\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n\r\n";
    if (method != "HEAD") out += body;
    s->write(out);
    s->disconnectFromHost();
}

void LinkServer::accept() {
    while (QWebSocket* s = ws_.nextPendingConnection()) {
        if (clientCount() >= kLinkMaxClients) {
            s->close(QWebSocketProtocol::CloseCodeTooMuchData, QStringLiteral("too many clients"));
            connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
            continue;
        }
        s->setMaxAllowedIncomingMessageSize(kLinkMaxMessage);
        s->setMaxAllowedIncomingFrameSize(kLinkMaxMessage);
        auto c = std::make_unique<Client>();
        c->socket = s;
        c->window.start();
        Client* raw = c.get();
        clients_.push_back(std::move(c));
        connect(s, &QWebSocket::textMessageReceived, this, [this, raw](const QString& t) { received(raw, t); });
        connect(s, &QWebSocket::binaryMessageReceived, this, [raw](const QByteArray& b) {
            if (b.size() > kLinkMaxMessage) {
                raw->socket->close(QWebSocketProtocol::CloseCodeTooMuchData,
                                   QStringLiteral("message larger than 64 kB"));
                return;
            }
            raw->socket->sendTextMessage(QString::fromStdString(linkReply("error", "error", "text messages only")));
        });
        connect(s, &QWebSocket::disconnected, this, [this, raw] { drop(raw); });
        if (hello) s->sendTextMessage(QString::fromStdString(hello()));
        emit clientsChanged(clientCount());
    }
}

void LinkServer::received(Client* c, const QString& text) {
    if (c->window.elapsed() >= 1000) {
        c->window.restart();
        c->inWindow = 0;
        c->warned = false;
    }
    if (++c->inWindow > kLinkMaxRate) {
        if (!c->warned)
            c->socket->sendTextMessage(QString::fromStdString(linkReply(
                "warning", "warning", "more than 100 messages a second: the rest of this second is dropped")));
        c->warned = true;
        return;
    }
    const std::string bytes = text.toStdString();
    if (bytes.size() > size_t(kLinkMaxMessage)) {
        // Qt's own limit does not always hold for a message in one frame.
        c->socket->sendTextMessage(QString::fromStdString(linkReply("error", "error", "message larger than 64 kB")));
        c->socket->close(QWebSocketProtocol::CloseCodeTooMuchData, QStringLiteral("message larger than 64 kB"));
        return;
    }
    const LinkRequest r = parseLinkRequest(bytes);
    std::string error = r.error;
    if (r.kind == LinkRequest::Kind::Subscribe) {
        c->allFields = r.allFields;
        c->fields = r.fields;
        c->every = r.every;
    } else if (r.kind == LinkRequest::Kind::Command) {
        if (!control)
            error = "control is not enabled (start the link with --link-control)";
        else if (!apply)
            error = "no run to drive";
        else
            error = apply(r.command);
    }
    if (!error.empty()) c->socket->sendTextMessage(QString::fromStdString(linkReply("error", "error", error)));
}

void LinkServer::drop(Client* c) {
    const auto it = std::find_if(clients_.begin(), clients_.end(), [c](const auto& x) { return x.get() == c; });
    if (it == clients_.end()) return;
    c->socket->disconnect(this);
    c->socket->deleteLater();
    clients_.erase(it);
    emit clientsChanged(clientCount());
}

void LinkServer::sendState(const LinkState& state) {
    std::string whole;
    std::vector<Client*> slow;
    for (auto& c : clients_) {
        if (c->socket->state() != QAbstractSocket::ConnectedState) continue;
        if (c->steps++ % c->every != 0) continue;
        if (dropSlow && c->socket->bytesToWrite() > kSlowClientBytes) {
            slow.push_back(c.get());
            continue;
        }
        if (c->allFields) {
            if (whole.empty()) whole = state.json();
            c->socket->sendTextMessage(QString::fromStdString(whole));
        } else {
            c->socket->sendTextMessage(QString::fromStdString(state.json(&c->fields)));
        }
    }
    for (Client* c : slow) {
        c->socket->abort();
        drop(c);
    }
}

void LinkServer::sendEnd(const std::string& reason) {
    const QString m = QString::fromStdString(linkReply("end", "reason", reason));
    for (auto& c : clients_)
        if (c->socket->state() == QAbstractSocket::ConnectedState) c->socket->sendTextMessage(m);
}

bool LinkServer::waitForClient(int ms) {
    QDeadlineTimer deadline(ms);
    while (clients_.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return !clients_.empty();
}

void LinkServer::flush(int ms) {
    QDeadlineTimer deadline(ms);
    auto pending = [this] {
        for (const auto& c : clients_)
            if (c->socket->bytesToWrite() > 0) return true;
        return false;
    };
    while (pending() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

}  // namespace ts
