// The live link: a WebSocket server for the run's state and the driver's
// commands, and on the same port a small HTTP server for the dashboard pages.
// It listens on 127.0.0.1 only, or, opened for the network, on every interface
// with a random token that every client, page or WebSocket, must present. It
// lives on the user-interface thread, where steps end and inputs are applied,
// so it needs no lock of its own.
#pragma once
#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>
#include <QWebSocketServer>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "drive_script.h"
#include "link_state.h"

class QTcpSocket;
class QWebSocket;

namespace ts {

// The port `trainsim --link` takes when given none.
constexpr int kDefaultLinkPort = 47800;
constexpr int kLinkMaxClients = 16;
constexpr int kLinkMaxRate = 100;  // messages a second from one client

class LinkServer : public QObject {
    Q_OBJECT
public:
    explicit LinkServer(QObject* parent = nullptr);
    ~LinkServer() override;

    // Port 0 takes a free one. False with `error` set when it cannot listen.
    // `lan`: every interface, and a new token that every client must present.
    bool listen(quint16 port, std::string& error, bool lan = false);
    quint16 port() const { return tcp_.serverPort(); }
    // The dashboard's address on this machine (with the token when there is one).
    QString address() const;
    // Open for the network: the token, and the dashboard's address on each of
    // this machine's network addresses. Empty on 127.0.0.1 only.
    const QString& token() const { return token_; }
    QStringList networkAddresses() const;
    int clientCount() const { return int(clients_.size()); }

    // Commands are taken only when control was allowed when starting the link.
    bool control = false;
    // A client that cannot keep up is dropped (the window); the drive mode
    // instead waits for every client, so that they see the whole run.
    bool dropSlow = true;
    // The hello message for a new client.
    std::function<std::string()> hello;
    // Applies a driver command; returns why it was refused, or empty.
    std::function<std::string(const ScriptCommand&)> apply;

    void sendState(const LinkState& state);
    void sendEnd(const std::string& reason);
    // Runs the event loop until a client connects or `ms` pass; true when one did.
    bool waitForClient(int ms);
    // Runs the event loop until every client took what was sent, at most `ms`.
    void flush(int ms);
    // Closes every client with the WebSocket closing handshake and runs the
    // event loop until they are gone, at most `ms`: a program that ends with
    // its clients still connected would reset them, and a client that had
    // not yet read the last states would lose them.
    void closeClients(int ms);

signals:
    void clientsChanged(int count);

private:
    struct Client {
        QWebSocket* socket = nullptr;
        bool allFields = true;
        std::set<std::string> fields;
        int every = 1;
        int64_t steps = 0;
        QElapsedTimer window;  // the current second of the rate limit
        int inWindow = 0;
        bool warned = false;
    };

    void httpReadable(QTcpSocket* socket);
    // Why a request with this target may not come in; empty when it may.
    QString tokenRefusal(const QUrl& target) const;
    bool ownOrigin(const QString& origin) const;
    void serve(QTcpSocket* socket, const QByteArray& method, const QByteArray& path);
    void accept();
    void received(Client* c, const QString& text);
    void drop(Client* c);

    QTcpServer tcp_;
    QWebSocketServer ws_;
    QString token_;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace ts
