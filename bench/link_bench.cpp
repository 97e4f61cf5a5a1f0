// Measures the live link in a real driving window: the time from the end of
// each 100 ms step to its state message at loopback clients (p50/p95), the
// program's processor time, and the 33 ms timer's lateness (p50/p99), with N
// clients reading every message (0 for the figures without the link's load).
// The clients run in a child process (this program with --clients), so that
// the processor time is the program's alone; both sides time with the
// system's monotonic clock.
// Usage: link_bench DATA_DIR [SECONDS] [CLIENTS]   (e.g. QT_QPA_PLATFORM=offscreen link_bench demo 30 16)
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWebSocket>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "link_session.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "title_window.h"
#include "value_window.h"

namespace {

using Clock = std::chrono::steady_clock;

int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The program's timers, with the 33 ms thread's ticks timed.
class TimedTimers final : public ts::TimerFactory {
public:
    std::vector<Clock::time_point> ticks;
    std::unique_ptr<ts::PeriodicTimer> create(int periodMs, ts::TimerThread thread,
                                              std::function<void()> tick) override {
        if (thread == ts::TimerThread::Ui) return real_.create(periodMs, thread, std::move(tick));
        return real_.create(periodMs, thread, [this, t = std::move(tick)] {
            ticks.push_back(Clock::now());
            t();
        });
    }

private:
    ts::QtTimerFactory real_;
};

// The child: N clients that note when each state message came, and print
// "step nanoseconds" lines once the link closes.
int clients(int n, int port) {
    std::vector<std::unique_ptr<QWebSocket>> sockets;
    std::vector<std::pair<int64_t, int64_t>> got;
    got.reserve(size_t(n) * 6000);
    int open = 0;
    for (int i = 0; i < n; ++i) {
        auto s = std::make_unique<QWebSocket>();
        QObject::connect(s.get(), &QWebSocket::textMessageReceived, [&got](const QString& m) {
            const int64_t at = nowNs();
            // The step number without a JSON parser's cost in the timing.
            const qsizetype k = m.indexOf(QLatin1String("\"step\":"));
            if (k >= 0 && m.startsWith(QLatin1String("{\"type\":\"state\"")))
                got.emplace_back(QStringView(m).mid(k + 7, 20).split(u',').front().toLongLong(), at);
        });
        QObject::connect(s.get(), &QWebSocket::connected, [&open] { ++open; });
        QObject::connect(s.get(), &QWebSocket::disconnected, [&open] {
            if (--open == 0) QCoreApplication::quit();
        });
        s->open(QUrl(QStringLiteral("ws://127.0.0.1:%1/").arg(port)));
        sockets.push_back(std::move(s));
    }
    QCoreApplication::exec();
    for (const auto& [step, at] : got) std::printf("%lld %lld\n", (long long)step, (long long)at);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--clients") {
        QCoreApplication app(argc, argv);
        return clients(std::atoi(argv[2]), std::atoi(argv[3]));
    }
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: link_bench DATA_DIR [SECONDS] [CLIENTS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 30;
    const int n = argc > 3 ? std::clamp(std::atoi(argv[3]), 0, ts::kLinkMaxClients) : 16;
    QApplication app(argc, argv);
    ts::RecordingMessageBoxes boxes;
    TimedTimers timers;
    ts::app().boxes = &boxes;
    ts::app().timers = &timers;
    ts::app().gameControllers = false;
    ts::app().help = new ts::TForm4;
    ts::app().valueDisplay = new ts::TForm3;
    auto* title = new ts::TForm5;
    ts::app().title = title;
    ts::TForm1* form = title->createDrivingWindow("789");
    form->show();

    std::string error;
    if (!ts::openProgramLink(0, false, false, error)) {
        std::fprintf(stderr, "link_bench: cannot open the live link: %s\n", error.c_str());
        return 1;
    }
    // The end of each step, noted before the link builds and sends its message.
    std::map<int64_t, int64_t> stepEnds;
    bool measuring = false;
    form->afterStep = [&] {
        if (!measuring) return;
        int64_t step = 0;
        form->run().locked([&](ts::Run& r, ts::PanelModel&) { step = r.presentationTicks; });
        stepEnds.emplace(step, nowNs());
    };
    ts::programLink()->follow(form);
    ts::LinkServer& server = ts::programLink()->server();
    // And once the link has handed the message to the kernel.
    std::map<int64_t, int64_t> sent;
    form->afterStep = [&, linked = form->afterStep] {
        linked();
        if (!measuring) return;
        int64_t step = 0;
        form->run().locked([&](ts::Run& r, ts::PanelModel&) { step = r.presentationTicks; });
        sent.emplace(step, nowNs());
    };

    QProcess child;
    if (n > 0) {
        child.start(QCoreApplication::applicationFilePath(),
                    {"--clients", QString::number(n), QString::number(server.port())});
        while (server.clientCount() < n) {
            QTest::qWait(20);
            if (child.state() == QProcess::NotRunning) {
                std::fprintf(stderr, "link_bench: the clients ended early\n");
                return 1;
            }
        }
    }
    form->start1Click();
    form->asciiDown('f');
    form->run().locked([&](ts::Run& r, ts::PanelModel&) { r.trainPosition = 300; });
    // Follow the recording: the train runs at the recorded speed.
    form->keyDown(ts::Key::F1, ts::ShiftState{true, false, false, false});
    QTest::qWait(1000);

    measuring = true;
    const double cpu0 = cpuSeconds();
    const auto wall0 = Clock::now();
    QTest::qWait(seconds * 1000);
    const double cpu = cpuSeconds() - cpu0;
    const auto wall1 = Clock::now();
    const double wall = std::chrono::duration<double>(wall1 - wall0).count();
    measuring = false;
    form->start1Click();  // stops both timers: the timer thread's ticks may be read from here on
    std::vector<Clock::time_point> ticks;
    std::copy_if(timers.ticks.begin(), timers.ticks.end(), std::back_inserter(ticks),
                 [&](Clock::time_point t) { return t >= wall0 && t <= wall1; });

    std::vector<double> latency, sending;
    for (const auto& [step, at] : sent)
        if (const auto it = stepEnds.find(step); it != stepEnds.end()) sending.push_back(double(at - it->second) / 1e6);
    if (n > 0) {
        ts::closeProgramLink();
        child.waitForFinished(120000);
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> f = line.split(' ');
            if (f.size() != 2) continue;
            const auto it = stepEnds.find(f[0].toLongLong());
            if (it != stepEnds.end()) latency.push_back(double(f[1].toLongLong() - it->second) / 1e6);
        }
    }
    std::vector<double> lateness;
    for (size_t i = 1; i < ticks.size(); ++i)
        lateness.push_back(
            std::max(0.0, std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count() - 33.0));
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    std::printf("%d clients, %.0f s, load average %.2f %.2f %.2f\n", n, wall, load[0], load[1], load[2]);
    std::printf("processor: %.2f s, %.2f %% of one core\n", cpu, 100.0 * cpu / wall);
    if (n > 0)
        std::printf("step end to message sent (built, written to every socket): p50 %.3f ms, p95 %.3f ms\n",
                    percentile(sending, 0.5), percentile(sending, 0.95));
    if (n > 0)
        std::printf(
            "step end to message at a client: p50 %.3f ms, p95 %.3f ms, max %.3f ms (%zu messages, %zu steps)\n",
            percentile(latency, 0.5), percentile(latency, 0.95), percentile(latency, 1.0), latency.size(),
            stepEnds.size());
    std::printf("33 ms timer: %zu ticks, lateness p50 %.3f ms, p99 %.3f ms\n", ticks.size(), percentile(lateness, 0.5),
                percentile(lateness, 0.99));
    form->close();
    return 0;
}
