// Measures the driver's view in a real window: a run for the given seconds
// (default 22) with the real timers and painting thread, at the recorded
// speed or at a fraction of it, at a window scale and with or without the
// smooth view. Prints the frames the train moved onto and the frames painted,
// the time of the paint routine and of the window's paint, the share of paints
// on time at 30 a second, the program's processor time and peak memory, the
// 33 ms timer's mean period and lateness, and (--click) the time from a click
// on a train on the title screen to its driving window drawn, first and again.
// Run it under a display, e.g. xvfb-run -a view_rate DEMO_DIR [SECONDS] [--scale 2] [--smooth off] [--slow 5]
// [--click].
// --video FILE drives the route over another video (its [Path] replaced in a
// copy of the route file); --fast K runs at K times the recorded speed;
// --back KMH runs backwards at that speed; --jumps N times N station jumps
// from the click to the station's own picture on view; --from FRAME stands the
// train there first (default 300).
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include "app_state.h"
#include "cab_view.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "title_window.h"
#include "value_window.h"

namespace {

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

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

using Clock = std::chrono::steady_clock;

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

// The first paint of the next driving window after `pick` is called.
class FirstPaint : public QObject {
public:
    Clock::time_point at{};
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && at == Clock::time_point{} && o->objectName() == "TForm1") {
            at = Clock::now();
            QTimer::singleShot(200, [] {
                if (ts::app().current) ts::app().current->close();
            });
        }
        return false;
    }
};

double clickToWindow(ts::TForm5* title, const char* code) {
    FirstPaint watch;
    qApp->installEventFilter(&watch);
    const auto t0 = Clock::now();
    // What a click on the train's button does; returns when the window has closed again.
    QMetaObject::invokeMethod(
        title, [title, code] { std::string(code) == "789" ? title->Train1Click() : title->Train2Click(); });
    while (watch.at == Clock::time_point{} || ts::app().current->isVisible()) QTest::qWait(20);
    qApp->removeEventFilter(&watch);
    return std::chrono::duration<double, std::milli>(watch.at - t0).count();
}

// A copy of the route file with [Path] naming `video`; its path.
std::string routeWithVideo(const std::string& code, const std::string& video) {
    std::ifstream in(code + "_line.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string out, line;
    bool next = false;
    std::istringstream lines(text.str());
    while (std::getline(lines, line)) {
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr) line.pop_back();
        out += next ? video : line;
        out += cr ? "\r\n" : "\n";
        next = line == "[Path]";
    }
    const std::string path = "/tmp/view_rate_" + std::to_string(getpid()) + "_line.txt";
    std::ofstream(path, std::ios::binary) << out;
    return path;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: view_rate DATA_DIR [SECONDS] [--scale N] [--smooth on|off] [--slow K]\n");
        return 2;
    }
    int seconds = 22, slow = 1, fast = 1, back = 0, jumps = 0, from = 300;
    bool click = false;
    std::string video;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--scale" && i + 1 < argc)
            ts::app().viewScale = ts::parseViewScale(argv[++i]).value_or(1);
        else if (a == "--smooth" && i + 1 < argc)
            ts::app().smoothView = ts::parseSmoothView(argv[++i]).value_or(true);
        else if (a == "--slow" && i + 1 < argc)
            slow = std::max(1, std::atoi(argv[++i]));
        else if (a == "--click")
            click = true;
        else if (a == "--video" && i + 1 < argc)
            video = argv[++i];
        else if (a == "--fast" && i + 1 < argc)
            fast = std::max(1, std::atoi(argv[++i]));
        else if (a == "--back" && i + 1 < argc)
            back = std::max(1, std::atoi(argv[++i]));
        else if (a == "--jumps" && i + 1 < argc)
            jumps = std::max(1, std::atoi(argv[++i]));
        else if (a == "--from" && i + 1 < argc)
            from = std::max(0, std::atoi(argv[++i]));
        else
            seconds = std::atoi(argv[i]);
    }
    QApplication app(argc, argv);
    ts::RecordingMessageBoxes boxes;
    TimedTimers timers;
    ts::app().boxes = &boxes;
    ts::app().timers = &timers;
    ts::app().help = new ts::TForm4;
    ts::app().valueDisplay = new ts::TForm3;
    auto* title = new ts::TForm5;
    if (click) {
        title->show();
        QTest::qWait(300);
        const double first = clickToWindow(title, "789");
        const double again = clickToWindow(title, "789");
        std::printf("click to driving window drawn: first %.0f ms, again %.0f ms\n", first, again);
        return 0;
    }
    ts::TForm1* form = nullptr;
    if (video.empty()) {
        form = title->createDrivingWindow("789");
    } else {
        form = new ts::TForm1("789", [](const std::string&) {});
        ts::app().current = form;
        form->run().setRouteFile(routeWithVideo("789", video));
        form->formCreate();
    }
    form->show();
    form->activateWindow();
    QTest::qWait(300);

    std::vector<double> routine, widget, gaps, rounds;  // rounds: a routine and the window paint after it
    Clock::time_point last{};
    int standIns = 0;  // paints that showed a nearer picture while the frame was decoded
    form->paintMeasured = [&](double ms) {
        routine.push_back(ms);
        if (!form->viewSettled()) ++standIns;
        rounds.push_back(ms);
        const auto now = Clock::now();
        if (last != Clock::time_point{}) gaps.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    };
    form->cabView()->painted = [&](double ms) {
        widget.push_back(ms);
        if (!rounds.empty()) rounds.back() += ms;
    };

    form->start1Click();
    form->asciiDown('f');
    form->run().locked([&](ts::Run& r, ts::PanelModel&) { r.trainPosition = from; });
    QTimer hold;
    std::vector<double> jumpTimes;
    if (jumps > 0) {
        // Each jump: the Move menu's station, then wait until its own picture is on view.
        int stations = 0;
        form->run().locked([&](ts::Run& r, ts::PanelModel&) { stations = r.stationCount(); });
        QTest::qWait(3000);  // the pictures of the jumps are decoded in the background after loading
        for (int j = 0; j < jumps && stations > 0; ++j) {
            const int station = (j * 7 + 3) % stations;
            const auto t0 = Clock::now();
            form->stationClick(station);
            int target = -1;
            do {
                QTest::qWait(1);
                form->run().locked(
                    [&](ts::Run& r, ts::PanelModel&) { target = r.lastPaintedFrame == r.trainPosition ? 1 : -1; });
            } while ((target < 0 || !form->viewSettled()) && Clock::now() - t0 < std::chrono::seconds(20));
            jumpTimes.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            QTest::qWait(500);
        }
        std::printf("station jump to its picture shown: p50 %.0f ms, p95 %.0f ms, longest %.0f ms (%zu jumps)\n",
                    percentile(jumpTimes, 0.5), percentile(jumpTimes, 0.95), percentile(jumpTimes, 1.0),
                    jumpTimes.size());
        form->close();
        return 0;
    }
    if (back > 0) {
        // Reverser back, brakes off, the speed held.
        form->asciiDown('b');
        form->asciiDown('5');
        form->run().locked([&](ts::Run& r, ts::PanelModel&) { r.trainPosition = from; });
        QObject::connect(&hold, &QTimer::timeout, [&] {
            form->run().locked([&](ts::Run& r, ts::PanelModel&) { r.speed = -int64_t(back) * 10000; });
        });
        hold.start(5);
    } else if (fast > 1) {
        form->asciiDown('5');
        QObject::connect(&hold, &QTimer::timeout, [&] {
            form->run().locked(
                [&](ts::Run& r, ts::PanelModel&) { r.speed = int64_t(r.recordedSpeedKmh) * 10000 * fast; });
        });
        hold.start(5);
    } else if (slow == 1) {
        // Follow the recording: the train runs at the recorded speed, a frame a tick.
        form->keyDown(ts::Key::F1, ts::ShiftState{true, false, false, false});
    } else {
        // Brakes off, and the speed held at a fraction of the recorded one.
        form->asciiDown('5');
        QObject::connect(&hold, &QTimer::timeout, [&] {
            form->run().locked(
                [&](ts::Run& r, ts::PanelModel&) { r.speed = int64_t(r.recordedSpeedKmh) * 10000 / slow; });
        });
        hold.start(5);
    }
    const double cpu0 = cpuSeconds();
    const auto wall0 = Clock::now();
    QTest::qWait(seconds * 1000);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = std::chrono::duration<double>(Clock::now() - wall0).count();
    const auto requested = form->run().framesRequested();
    const auto painted = form->run().framesPainted();
    const auto late = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 50; });
    const std::string pace = back > 0    ? "backwards at " + std::to_string(back) + " km/h"
                             : fast > 1  ? std::to_string(fast) + "x the recorded speed"
                             : slow == 1 ? std::string("recorded speed")
                                         : "1/" + std::to_string(slow) + " of the recorded speed";
    std::printf("scale %g, smooth %s, %s: frames requested %lld, painted %lld (%.2f %%) in %d s\n", form->drawnScale(),
                form->smoothView() ? "on" : "off", pace.c_str(), (long long)requested, (long long)painted,
                requested ? 100.0 * painted / requested : 0.0, seconds);
    std::printf("paint routine p50 %.2f ms, p95 %.2f ms; window paint p50 %.2f ms, p95 %.2f ms (%zu paints)\n",
                percentile(routine, 0.5), percentile(routine, 0.95), percentile(widget, 0.5), percentile(widget, 0.95),
                widget.size());
    std::printf("a paint (routine and window) p50 %.2f ms, p95 %.2f ms\n", percentile(rounds, 0.5),
                percentile(rounds, 0.95));
    std::printf(
        "paint rounds %zu, on time (within 50 ms of the last) %.2f %%, longest gap %.0f ms, "
        "showing a nearer frame %d; processor %.1f %% of one core\n",
        gaps.size() + 1, gaps.empty() ? 0.0 : 100.0 * double(gaps.size() - size_t(late)) / double(gaps.size()),
        percentile(gaps, 1.0), standIns, 100.0 * cpu / wall);
    // The 33 ms thread: how much later than one period after the one before each tick came.
    std::vector<double> lateness;
    double meanPeriod = 0;
    if (timers.ticks.size() > 1) {
        const auto& k = timers.ticks;
        meanPeriod = std::chrono::duration<double, std::milli>(k.back() - k.front()).count() / double(k.size() - 1);
        for (size_t i = 1; i < k.size(); ++i)
            lateness.push_back(
                std::max(0.0, std::chrono::duration<double, std::milli>(k[i] - k[i - 1]).count() - 33.0));
    }
    std::printf("33 ms timer: %zu ticks, mean period %.3f ms, lateness p50 %.3f ms, p99 %.3f ms; peak memory %.1f MB\n",
                timers.ticks.size(), meanPeriod, percentile(lateness, 0.5), percentile(lateness, 0.99),
                peakMegabytes());
    hold.stop();
    form->close();
    return 0;
}
