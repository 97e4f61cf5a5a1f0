// The live link's dashboard and overlay pages in a real browser: headless
// Chromium loads each page from a drive-mode run of the demo line, and the
// speed the page shows must be the trace's speed at the step the page says it
// shows. The test drives Chromium over its DevTools protocol, so it waits on
// the page's own state, never on a time budget. Screenshots of both pages go
// to $TRAINSIM_SCREENSHOT_DIR when set.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebSocket>

#include <cmath>
#include <functional>
#include <map>
#include <optional>

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 120000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return done();
}

// Away from the first station and still gathering speed when the run ends, so
// that neighbouring steps show different speeds; the starting signal, clear,
// is still ahead. The last step is at 29400 ms.
const char* kScript =
    "@20 jump 0\n@100 start\n@7100 char 5\n@7300 key F1\n@7500 char f\n"
    "@22700 char 5\n@22700 key shift+F1\n@29500 close\n";
constexpr int kLastStep = 29400;

QString chromium() {
    for (const char* name : {"chromium", "chromium-browser"})
        if (QString p = QStandardPaths::findExecutable(name); !p.isEmpty()) return p;
    return {};
}

QString shotPath(const QString& name, const QTemporaryDir& dir) {
    const QByteArray shots = qgetenv("TRAINSIM_SCREENSHOT_DIR");
    return shots.isEmpty() ? dir.filePath(name) : QString::fromLocal8Bit(shots) + "/" + name;
}

// Headless Chromium with one page, spoken to over the DevTools protocol.
class Browser {
public:
    ~Browser() {
        // Closed by its own protocol, it ends its helpers and leaves its
        // profile folder free to remove.
        if (devtools_.state() == QAbstractSocket::ConnectedState) {
            devtools_.sendTextMessage(R"({"id":0,"method":"Browser.close"})");
            waitFor([&] { return process_.state() == QProcess::NotRunning; }, 30000);
        }
        devtools_.abort();
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    // Starts it on `url`; false (with `error`) when it cannot be reached.
    bool open(const QString& url, const QString& profile, std::string& error) {
        process_.start(chromium(), {"--headless", "--no-sandbox",  // as root in CI containers
                                    "--disable-gpu", "--no-first-run", "--user-data-dir=" + profile,
                                    "--window-size=1000,600", "--remote-debugging-port=0", url});
        const QRegularExpression listening("DevTools listening on ws://127\\.0\\.0\\.1:(\\d+)/");
        QByteArray err;
        int port = 0;
        waitFor([&] {
            err += process_.readAllStandardError();
            if (const auto m = listening.match(QString::fromUtf8(err)); m.hasMatch()) port = m.captured(1).toInt();
            return port != 0 || process_.state() == QProcess::NotRunning;
        });
        if (port == 0) {
            error = "chromium did not start: " + err.toStdString();
            return false;
        }
        // The page's own endpoint, from the list of targets.
        QString endpoint;
        waitFor([&] {
            const QJsonArray targets = QJsonDocument::fromJson(httpBody(quint16(port), "/json/list")).array();
            for (const auto& t : targets)
                if (t.toObject().value("type") == "page")
                    endpoint = t.toObject().value("webSocketDebuggerUrl").toString();
            return !endpoint.isEmpty();
        });
        if (endpoint.isEmpty()) {
            error = "chromium lists no page";
            return false;
        }
        QObject::connect(&devtools_, &QWebSocket::textMessageReceived, [this](const QString& m) {
            const QJsonObject o = QJsonDocument::fromJson(m.toUtf8()).object();
            if (o.contains("id")) replies_[o.value("id").toInt()] = o;
        });
        devtools_.open(QUrl(endpoint));
        if (!waitFor([&] { return devtools_.state() == QAbstractSocket::ConnectedState; })) {
            error = "cannot reach chromium's page at " + endpoint.toStdString() + ": " +
                    devtools_.errorString().toStdString();
            return false;
        }
        return true;
    }

    QJsonObject call(const QString& method, const QJsonObject& params = {}) {
        const int id = nextId_++;
        devtools_.sendTextMessage(QJsonDocument(QJsonObject{{"id", id}, {"method", method}, {"params", params}})
                                      .toJson(QJsonDocument::Compact));
        waitFor([&] { return replies_.count(id) > 0; });
        const QJsonObject reply = replies_[id];
        replies_.erase(id);
        return reply.value("result").toObject();
    }

    // The value of a JavaScript expression in the page, as text.
    QString evaluate(const QString& expression) {
        return call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}})
            .value("result")
            .toObject()
            .value("value")
            .toVariant()
            .toString();
    }

    // Evaluates `expression` until it gives `value`, at most `ms`.
    bool waitUntil(const QString& expression, const QString& value, int ms = 120000) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            if (evaluate(expression) == value) return true;
            QDeadlineTimer pause(100);
            while (!pause.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        }
        return false;
    }

    bool screenshot(const QString& path, bool transparent) {
        // The whole page at a second screen's size, whatever the window's frame takes.
        call("Emulation.setDeviceMetricsOverride",
             {{"width", 1000}, {"height", 560}, {"deviceScaleFactor", 1}, {"mobile", false}});
        if (transparent)
            call("Emulation.setDefaultBackgroundColorOverride",
                 {{"color", QJsonObject{{"r", 0}, {"g", 0}, {"b", 0}, {"a", 0}}}});
        const QByteArray png = QByteArray::fromBase64(
            call("Page.captureScreenshot", {{"format", "png"}}).value("data").toString().toLatin1());
        QFile f(path);
        return png.startsWith("\x89PNG") && f.open(QIODevice::WriteOnly) && f.write(png) == png.size();
    }

private:
    // One GET to Chromium's own HTTP endpoint; its body (it may keep the
    // connection open, so the body ends by its Content-Length).
    static QByteArray httpBody(quint16 port, const QByteArray& path) {
        QTcpSocket s;
        s.connectToHost("127.0.0.1", port);
        if (!waitFor([&] { return s.state() == QAbstractSocket::ConnectedState; }, 10000)) return {};
        // Chromium builds the endpoints' addresses from the Host given here.
        s.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) + "\r\n\r\n");
        QByteArray reply;
        const QRegularExpression length("content-length: *(\\d+)", QRegularExpression::CaseInsensitiveOption);
        auto body = [&]() -> std::optional<QByteArray> {
            const qsizetype end = reply.indexOf("\r\n\r\n");
            if (end < 0) return std::nullopt;
            const auto m = length.match(QString::fromLatin1(reply.left(end)));
            if (!m.hasMatch() || reply.size() - end - 4 < m.captured(1).toLongLong()) return std::nullopt;
            return reply.mid(end + 4, m.captured(1).toLongLong());
        };
        waitFor(
            [&] {
                reply += s.readAll();
                return body() || s.state() == QAbstractSocket::UnconnectedState;
            },
            10000);
        return body().value_or(QByteArray());
    }

    QProcess process_;
    QWebSocket devtools_;
    int nextId_ = 1;
    std::map<int, QJsonObject> replies_;
};

// A drive-mode run of the demo line with a live link, waiting for its client.
struct DriveRun {
    QTemporaryDir dir;
    QProcess drive;
    int port = 0;

    ~DriveRun() {
        if (drive.state() != QProcess::NotRunning) {
            drive.kill();
            drive.waitForFinished();
        }
    }

    bool start() {
        QFile s(dir.filePath("script.txt"));
        if (!s.open(QIODevice::WriteOnly)) return false;
        s.write(kScript);
        s.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        drive.setProcessEnvironment(env);
        drive.start(TRAINSIM_BIN,
                    {"drive", "--train", "789", "--data", TRAINSIM_DEMO, "--script", dir.filePath("script.txt"),
                     "--trace", dir.filePath("trace.jsonl"), "--link", "0", "--link-wait", "300"});
        const QRegularExpression re("live link: http://127\\.0\\.0\\.1:(\\d+)/");
        QByteArray err;
        waitFor([&] {
            err += drive.readAllStandardError();
            if (const auto m = re.match(QString::fromUtf8(err)); m.hasMatch()) port = m.captured(1).toInt();
            return port != 0 || drive.state() == QProcess::NotRunning;
        });
        return port != 0;
    }

    QString url(const QString& path) const { return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path); }

    QJsonObject traceStep(qint64 t) {
        QFile f(dir.filePath("trace.jsonl"));
        if (!f.open(QIODevice::ReadOnly)) return {};
        for (const QByteArray& l : f.readAll().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(l).object();
            if (o.value("event") == "step" && o.value("t").toInteger() == t) return o;
        }
        return {};
    }
};

const QString kShownStep = QStringLiteral("document.getElementById('speed').dataset.t || ''");
const QString kShownSpeed = QStringLiteral("document.getElementById('speed').textContent");

// The speed read-out equals the trace's speed at the step the page shows.
void expectTraceSpeed(Browser& b, DriveRun& run) {
    const qint64 t = b.evaluate(kShownStep).toLongLong();
    const QJsonObject step = run.traceStep(t);
    ASSERT_FALSE(step.isEmpty()) << "the trace has no step at t=" << t;
    const auto kmh = qint64(std::floor(double(step.value("speed").toInteger()) / 10000.0));
    EXPECT_GT(kmh, 0) << "the train should be moving at t=" << t;
    EXPECT_EQ(b.evaluate(kShownSpeed), QString::number(kmh)) << "at t=" << t;
}

}  // namespace

TEST(LinkBrowser, DashboardShowsTheTracesSpeed) {
    if (chromium().isEmpty()) GTEST_SKIP() << "no chromium here (Debian's chromium package)";
    DriveRun run;
    ASSERT_TRUE(run.start());
    Browser b;
    std::string error;
    ASSERT_TRUE(b.open(run.url("/"), run.dir.filePath("profile"), error)) << error;
    // The run goes as soon as the page connects; the page shows its last step.
    ASSERT_TRUE(b.waitUntil(kShownStep, QString::number(kLastStep))) << b.evaluate(kShownStep).toStdString();
    ASSERT_TRUE(waitFor([&] { return run.drive.state() == QProcess::NotRunning; }));
    EXPECT_EQ(run.drive.exitCode(), 0);
    expectTraceSpeed(b, run);
    EXPECT_TRUE(b.waitUntil("document.getElementById('state').textContent.startsWith('run ended (close)')", "true"));
    EXPECT_EQ(b.evaluate("document.getElementById('signal').className"), "clear");
    EXPECT_EQ(run.traceStep(kLastStep).value("shownSignalAspect").toInt(), 12);  // a clear aspect's picture
    EXPECT_EQ(b.evaluate("document.getElementById('station').textContent"),
              run.traceStep(kLastStep).value("labels").toObject().value("Label4").toString());
    EXPECT_TRUE(b.screenshot(shotPath("live-link-dashboard.png", run.dir), false));
}

TEST(LinkBrowser, OverlayShowsTheTracesSpeed) {
    if (chromium().isEmpty()) GTEST_SKIP() << "no chromium here (Debian's chromium package)";
    DriveRun run;
    ASSERT_TRUE(run.start());
    Browser b;
    std::string error;
    ASSERT_TRUE(b.open(run.url("/overlay"), run.dir.filePath("profile"), error)) << error;
    ASSERT_TRUE(b.waitUntil(kShownStep, QString::number(kLastStep))) << b.evaluate(kShownStep).toStdString();
    ASSERT_TRUE(waitFor([&] { return run.drive.state() == QProcess::NotRunning; }));
    expectTraceSpeed(b, run);
    EXPECT_EQ(b.evaluate("document.getElementById('sig').className"), "clear");
    EXPECT_EQ(b.evaluate("getComputedStyle(document.body).backgroundColor"), "rgba(0, 0, 0, 0)");
    // Transparent where the page is, as a streaming program's browser source.
    EXPECT_TRUE(b.screenshot(shotPath("live-link-overlay.png", run.dir), true));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
