// The live link: its request parser, its state message, and a real drive-mode
// run watched and driven by a WebSocket client, checked against the trace.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>

#include <functional>
#include <memory>
#include <vector>

#include "link_protocol.h"
#include "link_state.h"

using namespace ts;

namespace {

const QString kBasic = TRAINSIM_FIXTURES "/basic";

// Runs the event loop until `done` holds or `ms` pass.
bool waitFor(const std::function<bool()>& done, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

QJsonObject object(const QString& text) { return QJsonDocument::fromJson(text.toUtf8()).object(); }

// A drive-mode run with a live link on a free port.
struct LinkedDrive {
    QTemporaryDir dir;
    QProcess process;
    int port = 0;
    QString token;  // with --link-lan

    explicit LinkedDrive(const QString& script, QStringList extra = {}) {
        QFile s(dir.filePath("script.txt"));
        s.open(QIODevice::WriteOnly);
        s.write(script.toUtf8());
        s.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(TRAINSIM_BIN,
                      QStringList{"drive", "--train", "789", "--data", kBasic, "--script", dir.filePath("script.txt"),
                                  "--trace", dir.filePath("trace.jsonl"), "--record", dir.filePath("run.rec"), "--link",
                                  "0", "--link-wait", "60"} +
                          extra);
        const QRegularExpression re("live link: http://127\\.0\\.0\\.1:(\\d+)/");
        const QRegularExpression tokenLine("live link token: (\\w+)\n");
        const bool lan = extra.contains("--link-lan");
        QByteArray err;
        waitFor([&] {
            err += process.readAllStandardError();
            const auto m = re.match(QString::fromUtf8(err));
            if (m.hasMatch()) port = m.captured(1).toInt();
            const auto t = tokenLine.match(QString::fromUtf8(err));
            if (t.hasMatch()) token = t.captured(1);
            return (port != 0 && (!lan || !token.isEmpty())) || process.state() == QProcess::NotRunning;
        });
    }
    ~LinkedDrive() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // QProcess::waitForFinished fails for a process that has already ended.
    bool finished() {
        return waitFor([&] { return process.state() == QProcess::NotRunning; });
    }
    QList<QJsonObject> trace(const QString& event) {
        QFile f(dir.filePath("trace.jsonl"));
        f.open(QIODevice::ReadOnly);
        QList<QJsonObject> out;
        for (const QByteArray& l : f.readAll().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(l).object();
            if (o.value("event").toString() == event) out.push_back(o);
        }
        return out;
    }
};

// A client that keeps every message.
struct Client {
    QWebSocket socket;
    QStringList received;
    explicit Client(int port, const QString& origin = {}, const QString& query = {}) : socket(origin) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& m) { received << m; });
        socket.open(QUrl(QStringLiteral("ws://127.0.0.1:%1/%2").arg(port).arg(query)));
    }
    QList<QJsonObject> ofType(const QString& type) const {
        QList<QJsonObject> out;
        for (const auto& m : received)
            if (const QJsonObject o = object(m); o.value("type").toString() == type) out.push_back(o);
        return out;
    }
    bool ended() const { return !ofType("end").isEmpty(); }
    void send(const QJsonObject& o) { socket.sendTextMessage(QJsonDocument(o).toJson(QJsonDocument::Compact)); }
};

}  // namespace

TEST(LinkRequest, DriverCommandsPassTheScriptParser) {
    auto r = parseLinkRequest(R"({"type":"command","command":"char z"})");
    ASSERT_EQ(r.kind, LinkRequest::Kind::Command) << r.error;
    EXPECT_EQ(r.command.kind, ScriptCommand::Kind::Char);
    EXPECT_EQ(r.command.text, "z");
    r = parseLinkRequest(R"({"type":"command","command":"key shift+F8"})");
    ASSERT_EQ(r.kind, LinkRequest::Kind::Command) << r.error;
    EXPECT_TRUE(r.command.shift);
    r = parseLinkRequest(R"({"type":"command","command":"wheel up 2"})");
    ASSERT_EQ(r.kind, LinkRequest::Kind::Command) << r.error;
    EXPECT_EQ(r.command.amount, 2);
    EXPECT_EQ(parseLinkRequest(R"({"type":"command","command":"start"})").kind, LinkRequest::Kind::Command);
}

TEST(LinkRequest, RefusesWhatIsNotADriversInput) {
    struct Case {
        const char* text;
        const char* why;
    };
    const Case cases[] = {
        {R"({"type":"command","command":"close"})", "not a driver's input"},
        {R"({"type":"command","command":"snapshot /tmp/x.png"})", "not a driver's input"},
        {R"({"type":"command","command":"jump 1"})", "not a driver's input"},
        {R"({"type":"command","command":"char z\n@5 close"})", "one line"},
        {R"({"type":"command","command":"fly away"})", "bad command"},
        {R"({"type":"command","command":""})", "empty"},
        {R"({"type":"command","command":7})", "must be a text"},
        {R"({"type":"command"})", "must be a text"},
        {R"({"type":"command","command":"char z)", "malformed JSON"},
        {R"([1,2])", "JSON object"},
        {R"({"command":"char z"})", "\"type\" missing"},
        {R"({"type":"launch"})", "unknown type"},
        {R"({"type":"subscribe","every":0})", "\"every\""},
        {R"({"type":"subscribe","every":1.5})", "\"every\""},
        {R"({"type":"subscribe","fields":"speed"})", "\"fields\""},
        {R"({"type":"subscribe","fields":[1]})", "\"fields\""},
    };
    for (const auto& c : cases) {
        const auto r = parseLinkRequest(c.text);
        EXPECT_EQ(r.kind, LinkRequest::Kind::Invalid) << c.text;
        EXPECT_NE(r.error.find(c.why), std::string::npos) << c.text << " -> " << r.error;
    }
    const std::string huge = R"({"type":"command","command":")" + std::string(70000, 'x') + "\"}";
    EXPECT_NE(parseLinkRequest(huge).error.find("64 kB"), std::string::npos);
    const std::string longCommand = R"({"type":"command","command":"serial )" + std::string(300, 'x') + "\"}";
    EXPECT_NE(parseLinkRequest(longCommand).error.find("256"), std::string::npos);
}

TEST(LinkRequest, SubscriptionNarrowsTheStateMessage) {
    const auto r = parseLinkRequest(R"({"type":"subscribe","fields":["speed","labels"],"every":5})");
    ASSERT_EQ(r.kind, LinkRequest::Kind::Subscribe) << r.error;
    EXPECT_EQ(r.every, 5);
    ts::Run run;
    run.speed = 123456;
    run.presentationTicks = 7;
    PanelModel panel;
    panel.labels["Label3"] = "09:00:00";
    const LinkState s = linkState(LinkMoment{4200, {}, {}}, run, panel);
    const QJsonObject all = object(QString::fromStdString(s.json()));
    EXPECT_EQ(all.value("speed").toInteger(), 123456);
    EXPECT_TRUE(all.contains("bcPressure"));
    const QJsonObject some = object(QString::fromStdString(s.json(&r.fields)));
    EXPECT_EQ(some.value("type").toString(), "state");
    EXPECT_EQ(some.value("t").toInteger(), 4200);
    EXPECT_EQ(some.value("step").toInteger(), 7);
    EXPECT_EQ(some.value("speed").toInteger(), 123456);
    EXPECT_EQ(some.value("labels").toObject().value("Label3").toString(), "09:00:00");
    EXPECT_FALSE(some.contains("bcPressure"));
}

// Every step's message equals the trace's step line, and commands sent over
// the link move the handles and are recorded as the keyboard's would be.
TEST(LinkDrive, StreamsEveryStepAndTakesCommands) {
    LinkedDrive drive("@0 start\n@20000 close\n", {"--link-control"});
    ASSERT_NE(drive.port, 0) << drive.process.readAllStandardError().toStdString();
    Client c(drive.port);
    bool sent = false;
    QObject::connect(&c.socket, &QWebSocket::textMessageReceived, [&](const QString& m) {
        if (sent || object(m).value("type").toString() != "state") return;
        sent = true;
        for (const char* cmd : {"char f", "char z", "char z", "fly", "close"})
            c.send({{"type", "command"}, {"command", cmd}});
        c.socket.sendTextMessage("{not json");
    });
    ASSERT_TRUE(waitFor([&] { return c.ended(); })) << c.received.size();
    ASSERT_TRUE(drive.finished());
    EXPECT_EQ(drive.process.exitCode(), 0) << drive.process.readAllStandardError().toStdString();

    const auto hello = c.ofType("hello");
    ASSERT_EQ(hello.size(), 1);
    EXPECT_EQ(hello[0].value("train").toString(), "789");
    EXPECT_TRUE(hello[0].value("control").toBool());
    EXPECT_FALSE(hello[0].value("stations").toArray().isEmpty());

    const auto states = c.ofType("state");
    const auto steps = drive.trace("step");
    ASSERT_EQ(states.size(), steps.size());
    ASSERT_EQ(states.size(), 199);  // steps at 100 .. 19900 ms
    for (int i = 0; i < states.size(); ++i) {
        const QJsonObject& s = states[i];
        const QJsonObject& t = steps[i];
        EXPECT_EQ(s.value("t"), t.value("t")) << i;
        for (const char* k : {"speed", "clockTicks", "bcPressure", "mrPressure", "powerNotch", "brakeNotch", "reverser",
                              "shownSignalAspect", "stopDistance", "doorsOpen"})
            EXPECT_EQ(s.value(k), t.value(k)) << i << " " << k;
        EXPECT_EQ(s.value("labels"), t.value("labels")) << i;
    }
    // The handles stand where the keyboard's same inputs leave them.
    QTemporaryDir dir;
    QFile script(dir.filePath("keys.txt"));
    script.open(QIODevice::WriteOnly);
    script.write("@0 start\n@200 char f\n@300 char z\n@400 char z\n@20000 close\n");
    script.close();
    QProcess keyboard;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    keyboard.setProcessEnvironment(env);
    keyboard.start(TRAINSIM_BIN, {"drive", "--train", "789", "--data", kBasic, "--script", script.fileName()});
    ASSERT_TRUE(keyboard.waitForFinished(60000));
    QJsonObject last;
    for (const QByteArray& l : keyboard.readAllStandardOutput().split('\n'))
        if (const QJsonObject o = QJsonDocument::fromJson(l).object(); o.value("event") == "step") last = o;
    for (const char* k : {"reverser", "powerNotch", "brakeNotch"}) {
        EXPECT_EQ(states.back().value(k), last.value(k)) << k;
    }
    for (const char* k : {"reverser", "brakeNotch"})
        EXPECT_NE(states.front().value(k), last.value(k)) << k << ": the inputs changed nothing";
    // The refused ones got a reason each; the run went on.
    const auto errors = c.ofType("error");
    ASSERT_EQ(errors.size(), 3);
    EXPECT_NE(errors[0].value("error").toString().indexOf("bad command"), -1);
    EXPECT_NE(errors[1].value("error").toString().indexOf("not a driver's input"), -1);
    EXPECT_NE(errors[2].value("error").toString().indexOf("malformed JSON"), -1);
    EXPECT_EQ(c.ofType("end").front().value("reason").toString(), "close");

    // The recording holds the link's inputs as the keyboard's lines.
    QFile rec(drive.dir.filePath("run.rec"));
    ASSERT_TRUE(rec.open(QIODevice::ReadOnly));
    const QString recording = QString::fromUtf8(rec.readAll());
    EXPECT_EQ(recording.count(QRegularExpression(" char z\\r?\\n")), 2) << recording.toStdString();

    // Replayed, the recording drives the same run step for step.
    QProcess replay;
    replay.setProcessEnvironment(env);
    replay.start(TRAINSIM_BIN, {"drive", "--data", kBasic, "--script", rec.fileName()});
    ASSERT_TRUE(replay.waitForFinished(60000));
    EXPECT_EQ(replay.exitCode(), 0) << replay.readAllStandardError().toStdString();
    QList<QJsonObject> replayed;
    for (const QByteArray& l : replay.readAllStandardOutput().split('\n'))
        if (const QJsonObject o = QJsonDocument::fromJson(l).object(); o.value("event") == "step") replayed << o;
    ASSERT_EQ(replayed.size(), steps.size());
    for (int i = 0; i < steps.size(); ++i) {
        ASSERT_EQ(steps[i], replayed[i]) << "step " << i;
    }
}

TEST(LinkDrive, RefusesCommandsWithoutControlAndForeignPages) {
    LinkedDrive drive("@0 start\n@20000 close\n");
    ASSERT_NE(drive.port, 0);
    Client foreign(drive.port, "http://evil.example");
    Client c(drive.port);
    bool sent = false;
    QObject::connect(&c.socket, &QWebSocket::textMessageReceived, [&](const QString& m) {
        if (sent || object(m).value("type").toString() != "state") return;
        sent = true;
        c.send({{"type", "command"}, {"command", "char z"}});
    });
    ASSERT_TRUE(waitFor([&] { return c.ended(); }));
    ASSERT_TRUE(drive.finished());
    const auto errors = c.ofType("error");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_NE(errors[0].value("error").toString().indexOf("control is not enabled"), -1);
    for (const auto& s : c.ofType("state")) EXPECT_EQ(s.value("powerNotch").toInt(), 0);
    // The page from elsewhere never got in.
    EXPECT_TRUE(foreign.received.isEmpty());
    EXPECT_NE(foreign.socket.state(), QAbstractSocket::ConnectedState);
}

// Opened for the network, clients without the token or with a wrong one are
// told why and closed; they neither start the run nor harm it, and the client
// with the token sees every step.
TEST(LinkDrive, NetworkLinkRefusesClientsWithoutTheToken) {
    LinkedDrive drive("@0 start\n@10000 close\n", {"--link-lan"});
    ASSERT_NE(drive.port, 0);
    ASSERT_EQ(drive.token.size(), 32);
    Client none(drive.port), wrong(drive.port, {}, "?token=" + QString(drive.token).replace(0, 1, "x"));
    ASSERT_TRUE(waitFor([&] {
        return none.socket.state() == QAbstractSocket::UnconnectedState &&
               wrong.socket.state() == QAbstractSocket::UnconnectedState && !none.received.isEmpty() &&
               !wrong.received.isEmpty();
    }));
    ASSERT_EQ(none.ofType("error").size(), 1);
    EXPECT_NE(none.ofType("error")[0].value("error").toString().indexOf("token is needed"), -1);
    ASSERT_EQ(wrong.ofType("error").size(), 1);
    EXPECT_NE(wrong.ofType("error")[0].value("error").toString().indexOf("wrong token"), -1);
    EXPECT_TRUE(none.ofType("hello").isEmpty());
    EXPECT_TRUE(wrong.ofType("hello").isEmpty());
    // They did not start the run: it still waits for a client.
    EXPECT_EQ(drive.process.state(), QProcess::Running);
    EXPECT_TRUE(drive.trace("step").isEmpty());

    Client right(drive.port, {}, "?token=" + drive.token);
    ASSERT_TRUE(waitFor([&] { return right.ended(); }));
    ASSERT_TRUE(drive.finished());
    EXPECT_EQ(drive.process.exitCode(), 0);
    EXPECT_EQ(right.ofType("hello").size(), 1);
    const auto states = right.ofType("state");
    const auto steps = drive.trace("step");
    ASSERT_EQ(states.size(), 99);
    ASSERT_EQ(states.size(), steps.size());
    for (int i = 0; i < states.size(); ++i) EXPECT_EQ(states[i].value("speed"), steps[i].value("speed")) << i;
}

// Floods are cut with one warning and a 17th client is turned away; the
// others see the run to its end.
TEST(LinkDrive, LimitsFloodsAndClients) {
    LinkedDrive drive("@0 start\n@60000 close\n");
    ASSERT_NE(drive.port, 0);
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 17; ++i) clients.push_back(std::make_unique<Client>(drive.port));
    Client& flood = *clients[0];
    bool sent = false;
    QObject::connect(&flood.socket, &QWebSocket::textMessageReceived, [&](const QString& m) {
        if (sent || object(m).value("type").toString() != "state") return;
        sent = true;
        for (int i = 0; i < 150; ++i) flood.send({{"type", "subscribe"}});
    });
    ASSERT_TRUE(waitFor([&] { return flood.ended(); }));
    ASSERT_TRUE(drive.finished());
    EXPECT_EQ(drive.process.exitCode(), 0);
    int greeted = 0, turnedAway = 0;
    for (const auto& c : clients) {
        greeted += !c->ofType("hello").isEmpty();
        turnedAway += c->received.isEmpty();
    }
    EXPECT_EQ(greeted, 16);
    EXPECT_EQ(turnedAway, 1);
    EXPECT_EQ(flood.ofType("warning").size(), 1);
    EXPECT_TRUE(flood.ofType("error").isEmpty());
    EXPECT_EQ(flood.ofType("state").size(), 599);
}

TEST(LinkDrive, ServesTheDashboardOverHttp) {
    LinkedDrive drive("@0 start\n@1000 close\n");
    ASSERT_NE(drive.port, 0);
    auto get = [&](const QByteArray& request) {
        QTcpSocket s;
        s.connectToHost("127.0.0.1", quint16(drive.port));
        EXPECT_TRUE(s.waitForConnected(30000));
        s.write(request);
        QByteArray reply;
        waitFor([&] {
            reply += s.readAll();
            return s.state() == QAbstractSocket::UnconnectedState;
        });
        return reply + s.readAll();
    };
    const QByteArray page = get("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(page.startsWith("HTTP/1.1 200 OK")) << page.left(200).toStdString();
    EXPECT_NE(page.indexOf("new WebSocket"), -1);
    EXPECT_TRUE(get("GET /overlay HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 200 OK"));
    EXPECT_TRUE(get("GET /../etc/passwd HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 404"));
    EXPECT_TRUE(get("POST / HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 405"));
    // The run is unharmed: a client still sees it to its end.
    Client c(drive.port);
    ASSERT_TRUE(waitFor([&] { return c.ended(); }));
    EXPECT_EQ(c.ofType("state").size(), 9);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
