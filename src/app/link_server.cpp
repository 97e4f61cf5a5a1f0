#include "link_server.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkInterface>
#include <QPointer>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QUrlQuery>
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

// Compares in a time that does not tell how much of a guess was right.
bool sameSecret(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

// 128 bits from the system's cryptographic source, as 32 hex digits: easy to
// type on a phone, impossible to guess.
QString newToken() {
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    QString t;
    for (quint32 w : words) t += QStringLiteral("%1").arg(w, 8, 16, QLatin1Char('0'));
    return t;
}

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
            // Only a link opened for the network answers another machine
            // (the listening address already keeps them out; this says so).
            if (token_.isEmpty() && !s->peerAddress().isLoopback()) {
                s->abort();
                s->deleteLater();
                continue;
            }
            connect(s, &QTcpSocket::readyRead, this, [this, s] { httpReadable(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    connect(&ws_, &QWebSocketServer::newConnection, this, &LinkServer::accept);
    // A web page the user visits elsewhere must not reach the run: browsers
    // name the page's origin, and only our own pages' origin is let in.
    // Programs that give no origin are local programs and welcome.
    connect(&ws_, &QWebSocketServer::originAuthenticationRequired, this,
            [this](QWebSocketCorsAuthenticator* a) { a->setAllowed(ownOrigin(a->origin())); });
}

bool LinkServer::ownOrigin(const QString& origin) const {
    if (origin.isEmpty()) return true;
    const QString port = QString::number(tcp_.serverPort());
    if (origin == "http://127.0.0.1:" + port || origin == "http://localhost:" + port) return true;
    if (token_.isEmpty()) return false;
    // Open for the network, our pages also come from this machine's other
    // addresses. A name is not trusted: anyone's name can point here.
    const QUrl u(origin);
    if (u.scheme() != "http" || u.port() != tcp_.serverPort() || u.path().size() > 0) return false;
    const QHostAddress host(u.host());
    return !host.isNull() && QNetworkInterface::allAddresses().contains(host);
}

QString LinkServer::tokenRefusal(const QUrl& target) const {
    if (token_.isEmpty()) return {};
    const QUrlQuery q(target);
    if (!q.hasQueryItem("token"))
        return tr("a token is needed: open the address the program shows, which ends in ?token=…");
    if (!sameSecret(q.queryItemValue("token").toUtf8(), token_.toUtf8())) return tr("wrong token");
    return {};
}

LinkServer::~LinkServer() {
    for (auto& c : clients_) {
        c->socket->disconnect(this);
        c->socket->abort();
        c->socket->deleteLater();
    }
}

bool LinkServer::listen(quint16 port, std::string& error, bool lan) {
    token_ = lan ? newToken() : QString();
    if (tcp_.listen(lan ? QHostAddress::Any : QHostAddress::LocalHost, port)) return true;
    error = tcp_.errorString().toStdString();
    token_.clear();
    return false;
}

QString LinkServer::address() const {
    QString a = QStringLiteral("http://127.0.0.1:%1/").arg(tcp_.serverPort());
    if (!token_.isEmpty()) a += "?token=" + token_;
    return a;
}

QStringList LinkServer::networkAddresses() const {
    QStringList out;
    if (token_.isEmpty()) return out;
    for (const QHostAddress& h : QNetworkInterface::allAddresses()) {
        if (h.isLoopback() || h.isLinkLocal() || h.protocol() != QAbstractSocket::IPv4Protocol) continue;
        out << QStringLiteral("http://%1:%2/?token=%3").arg(h.toString()).arg(tcp_.serverPort()).arg(token_);
    }
    return out;
}

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
    const QString refusal = tokenRefusal(QUrl::fromEncoded("http://link" + target));
    if (!refusal.isEmpty()) {
        status = "403 Forbidden";
        type = "text/plain; charset=utf-8";
        body = "The live link refused this request: " + refusal.toUtf8() + ".\n";
    } else if (method != "GET" && method != "HEAD") {
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
        if (const QString refusal = tokenRefusal(s->requestUrl()); !refusal.isEmpty()) {
            // Told why in a message, so that a page or a script can show it.
            s->sendTextMessage(QString::fromStdString(linkReply("error", "error", refusal.toStdString())));
            s->close(QWebSocketProtocol::CloseCodePolicyViolated, refusal);
            connect(s, &QWebSocket::disconnected, s, &QObject::deleteLater);
            continue;
        }
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
        // Into the kernel now rather than after whatever the event loop does
        // next (a paint): a step's message should not wait behind it.
        c->socket->flush();
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

void LinkServer::closeClients(int ms) {
    // Closing may drop a client at once, which changes the list.
    std::vector<QPointer<QWebSocket>> open;
    for (auto& c : clients_)
        if (c->socket->state() == QAbstractSocket::ConnectedState) open.emplace_back(c->socket);
    for (const QPointer<QWebSocket>& s : open)
        if (s) s->close(QWebSocketProtocol::CloseCodeNormal, QStringLiteral("the run ended"));
    QDeadlineTimer deadline(ms);
    while (!clients_.empty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

}  // namespace ts
