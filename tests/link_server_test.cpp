// The live link's server on its own, in this process: what it does with an
// oversized message and, opened for the network, with clients that bring no
// token or a wrong one. Everything waits on the sockets' own events, with
// generous deadlines, so that a loaded machine only makes it slower.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QTcpSocket>
#include <QWebSocket>

#include <functional>
#include <memory>
#include <string>

#include "link_server.h"
#include "link_state.h"

using namespace ts;

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

QJsonObject object(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

struct Peer {
    QWebSocket socket;
    QStringList received;
    bool closed = false;
    explicit Peer(const QString& url) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) { received << m; });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { closed = true; });
        socket.open(QUrl(url));
    }
    int count(const QString& type) const {
        int n = 0;
        for (const auto& m : received) n += object(m).value("type").toString() == type;
        return n;
    }
    QString lastError() const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (const QJsonObject o = object(*it); o.value("type") == "error") return o.value("error").toString();
        return {};
    }
};

// A server with a hello, as a run would give it.
struct Server {
    LinkServer link;
    explicit Server(bool lan = false) {
        link.hello = [] { return std::string(R"({"type":"hello","v":1})"); };
        std::string error;
        EXPECT_TRUE(link.listen(0, error, lan)) << error;
    }
    QString ws(const QString& query = {}) const {
        return QStringLiteral("ws://127.0.0.1:%1/%2").arg(link.port()).arg(query);
    }
    void sendStep(int64_t t) {
        ts::Run run;
        run.speed = 420000;
        PanelModel panel;
        link.sendState(linkState(LinkMoment{t, {}, {}}, run, panel));
    }
};

QByteArray httpGet(quint16 port, const QByteArray& target, const QHostAddress& host = QHostAddress::LocalHost) {
    QTcpSocket s;
    s.connectToHost(host, port);
    if (!waitFor([&] { return s.state() == QAbstractSocket::ConnectedState; })) return {};
    s.write("GET " + target + " HTTP/1.1\r\nHost: x\r\n\r\n");
    QByteArray reply;
    waitFor([&] {
        reply += s.readAll();
        return s.state() == QAbstractSocket::UnconnectedState;
    });
    return reply + s.readAll();
}

// A non-loopback IPv4 address of this machine, if it has one.
QHostAddress networkAddress() {
    for (const QHostAddress& h : QNetworkInterface::allAddresses())
        if (!h.isLoopback() && !h.isLinkLocal() && h.protocol() == QAbstractSocket::IPv4Protocol) return h;
    return {};
}

}  // namespace

// A message over 64 kB, in one frame or in many, closes that client only: the
// others still get every state and answers.
TEST(LinkServer, OversizedMessageClosesOnlyItsClient) {
    Server server;
    Peer good(server.ws()), oneFrame(server.ws()), manyFrames(server.ws());
    ASSERT_TRUE(waitFor([&] { return good.count("hello") && oneFrame.count("hello") && manyFrames.count("hello"); }));
    ASSERT_EQ(server.link.clientCount(), 3);
    const QString big = R"({"type":"subscribe","fields":[")" + QString(70000, 'x') + "\"]}";
    manyFrames.socket.setOutgoingFrameSize(8192);
    oneFrame.socket.sendTextMessage(big);
    manyFrames.socket.sendTextMessage(big);
    ASSERT_TRUE(waitFor([&] { return oneFrame.closed && manyFrames.closed; }))
        << oneFrame.socket.state() << " " << manyFrames.socket.state();
    ASSERT_TRUE(waitFor([&] { return server.link.clientCount() == 1; })) << server.link.clientCount();
    EXPECT_FALSE(good.closed);
    server.sendStep(100);
    server.sendStep(200);
    good.socket.sendTextMessage("{not json");
    ASSERT_TRUE(waitFor([&] { return good.count("state") == 2 && good.count("error") == 1; })) << good.received.size();
    EXPECT_EQ(object(good.received[1]).value("speed").toInteger(), 420000);
    EXPECT_NE(good.lastError().indexOf("malformed JSON"), -1);
    EXPECT_EQ(oneFrame.count("state"), 0);
    EXPECT_EQ(manyFrames.count("state"), 0);
    // A message just under the limit is an ordinary (here, refused) request.
    good.socket.sendTextMessage(R"({"type":"launch","pad":")" + QString(60000, 'y') + "\"}");
    ASSERT_TRUE(waitFor([&] { return good.count("error") == 2; }));
    EXPECT_NE(good.lastError().indexOf("unknown type"), -1);
    EXPECT_FALSE(good.closed);
}

// Opened for the network, every client must bring the token: a WebSocket
// without it or with a wrong one is told why and closed, and never counts as
// a client; the pages answer 403 without it.
TEST(LinkServer, NetworkLinkWantsTheToken) {
    Server server(true);
    const QString token = server.link.token();
    ASSERT_EQ(token.size(), 32);
    EXPECT_NE(token, Server(true).link.token());  // a new one each time
    EXPECT_TRUE(server.link.address().endsWith("/?token=" + token)) << server.link.address().toStdString();

    Peer none(server.ws()), wrong(server.ws("?token=" + QString(32, '0'))),
        shorter(server.ws("?token=" + token.left(31)));
    ASSERT_TRUE(waitFor([&] { return none.closed && wrong.closed && shorter.closed; }));
    EXPECT_NE(none.lastError().indexOf("token is needed"), -1) << none.received.join('\n').toStdString();
    EXPECT_NE(wrong.lastError().indexOf("wrong token"), -1) << wrong.received.join('\n').toStdString();
    EXPECT_NE(shorter.lastError().indexOf("wrong token"), -1);
    for (const Peer* p : {&none, &wrong, &shorter}) EXPECT_EQ(p->count("hello"), 0);
    EXPECT_EQ(server.link.clientCount(), 0);

    Peer right(server.ws("?token=" + token));
    ASSERT_TRUE(waitFor([&] { return right.count("hello") == 1; }));
    EXPECT_EQ(server.link.clientCount(), 1);
    server.sendStep(100);
    ASSERT_TRUE(waitFor([&] { return right.count("state") == 1; }));

    EXPECT_TRUE(httpGet(server.link.port(), "/").startsWith("HTTP/1.1 403"));
    EXPECT_TRUE(httpGet(server.link.port(), "/overlay?token=nope").startsWith("HTTP/1.1 403"));
    const QByteArray page = httpGet(server.link.port(), "/overlay?token=" + token.toUtf8());
    EXPECT_TRUE(page.startsWith("HTTP/1.1 200")) << page.left(100).toStdString();
    EXPECT_NE(page.indexOf("location.search"), -1) << "the page must carry the token on to its WebSocket";

    // From this machine's network address, with the token, as a phone would.
    const QHostAddress lan = networkAddress();
    if (lan.isNull()) GTEST_SKIP() << "this machine has no network address besides loopback";
    EXPECT_TRUE(server.link.networkAddresses().contains(
        QStringLiteral("http://%1:%2/?token=%3").arg(lan.toString()).arg(server.link.port()).arg(token)));
    Peer phone(QStringLiteral("ws://%1:%2/?token=%3").arg(lan.toString()).arg(server.link.port()).arg(token));
    ASSERT_TRUE(waitFor([&] { return phone.count("hello") == 1; }));
    EXPECT_TRUE(httpGet(server.link.port(), "/?token=" + token.toUtf8(), lan).startsWith("HTTP/1.1 200"));
    EXPECT_TRUE(httpGet(server.link.port(), "/", lan).startsWith("HTTP/1.1 403"));
}

// Without --link-lan another address does not even reach the link, and the
// link shows no token.
TEST(LinkServer, LoopbackLinkIsNotOnTheNetwork) {
    Server server;
    EXPECT_TRUE(server.link.token().isEmpty());
    EXPECT_TRUE(server.link.networkAddresses().isEmpty());
    const QHostAddress lan = networkAddress();
    if (lan.isNull()) GTEST_SKIP() << "this machine has no network address besides loopback";
    QTcpSocket s;
    bool failed = false;
    QObject::connect(&s, &QTcpSocket::errorOccurred, [&] { failed = true; });
    s.connectToHost(lan, server.link.port());
    ASSERT_TRUE(waitFor([&] { return failed || s.state() == QAbstractSocket::ConnectedState; }));
    EXPECT_TRUE(failed) << "connected from " << lan.toString().toStdString();
    EXPECT_EQ(s.error(), QAbstractSocket::ConnectionRefusedError);
    Peer local(server.ws());
    ASSERT_TRUE(waitFor([&] { return local.count("hello") == 1; }));
}
