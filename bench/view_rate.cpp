// Measures the driver's view in a real window: a run for the given seconds
// (default 22) with the real timers and painting thread, at the recorded
// speed or at a fraction of it, at a window scale and with or without the
// smooth view. Prints the frames the train moved onto and the frames painted,
// the time of the paint routine and of the window's paint, the share of paints
// on time at 30 a second, and the program's processor time.
// Run it under a display, e.g. xvfb-run -a view_rate DEMO_DIR [SECONDS] [--scale 2] [--smooth off] [--slow 5].
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: view_rate DATA_DIR [SECONDS] [--scale N] [--smooth on|off] [--slow K]\n");
        return 2;
    }
    int seconds = 22, slow = 1;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--scale" && i + 1 < argc) ts::app().viewScale = ts::parseViewScale(argv[++i]).value_or(1);
        else if (a == "--smooth" && i + 1 < argc) ts::app().smoothView = ts::parseSmoothView(argv[++i]).value_or(true);
        else if (a == "--slow" && i + 1 < argc) slow = std::max(1, std::atoi(argv[++i]));
        else seconds = std::atoi(argv[i]);
    }
    QApplication app(argc, argv);
    ts::RecordingMessageBoxes boxes;
    ts::QtTimerFactory timers;
    ts::app().boxes = &boxes;
    ts::app().timers = &timers;
    ts::app().help = new ts::TForm4;
    ts::app().valueDisplay = new ts::TForm3;
    auto* title = new ts::TForm5;
    ts::TForm1* form = title->createDrivingWindow("789");
    form->show();
    form->activateWindow();
    QTest::qWait(300);

    using Clock = std::chrono::steady_clock;
    std::vector<double> routine, widget, gaps, rounds;  // rounds: a routine and the window paint after it
    Clock::time_point last{};
    form->paintMeasured = [&](double ms) {
        routine.push_back(ms);
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
    form->run().locked([](ts::Run& r, ts::PanelModel&) { r.trainPosition = 300; });
    QTimer hold;
    if (slow == 1) {
        // Follow the recording: the train runs at the recorded speed, a frame a tick.
        form->keyDown(ts::Key::F1, ts::ShiftState{true, false, false, false});
    } else {
        // Brakes off, and the speed held at a fraction of the recorded one.
        form->asciiDown('5');
        QObject::connect(&hold, &QTimer::timeout, [&] {
            form->run().locked([&](ts::Run& r, ts::PanelModel&) { r.speed = int64_t(r.recordedSpeedKmh) * 10000 / slow; });
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
    std::printf("scale %g, smooth %s, %s: frames requested %lld, painted %lld (%.2f %%) in %d s\n",
                form->drawnScale(), form->smoothView() ? "on" : "off",
                slow == 1 ? "recorded speed" : ("1/" + std::to_string(slow) + " of the recorded speed").c_str(),
                (long long)requested, (long long)painted, requested ? 100.0 * painted / requested : 0.0, seconds);
    std::printf("paint routine p50 %.2f ms, p95 %.2f ms; window paint p50 %.2f ms, p95 %.2f ms (%zu paints)\n",
                percentile(routine, 0.5), percentile(routine, 0.95), percentile(widget, 0.5), percentile(widget, 0.95),
                widget.size());
    std::printf("a paint (routine and window) p50 %.2f ms, p95 %.2f ms\n", percentile(rounds, 0.5),
                percentile(rounds, 0.95));
    std::printf("paint rounds %zu, on time (within 50 ms of the last) %.2f %%; processor %.1f %% of one core\n",
                gaps.size() + 1, gaps.empty() ? 0.0 : 100.0 * double(gaps.size() - size_t(late)) / double(gaps.size()),
                100.0 * cpu / wall);
    hold.stop();
    form->close();
    return 0;
}
