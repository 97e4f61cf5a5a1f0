// The route editor's video pane on a video file, scripted: 100 random jumps
// (go to a frame), then frames back and on, each timed from the request to its
// own picture on view; meanwhile a 2 ms timer on the user-interface thread
// measures the longest time that thread was busy (how long a key would wait).
// Run it under a display: xvfb-run -a editor_seek VIDEO [SEEKS]
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "video_pane.h"

namespace {

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, size_t(p * double(v.size())))];
}

// Milliseconds from the move to the frame's own picture on view.
double timedMove(ts::editor::VideoPane& pane, int frame, double& callMs) {
    QElapsedTimer t;
    t.start();
    pane.setFrame(frame);
    callMs = double(t.nsecsElapsed()) / 1e6;
    while (!pane.pictureExact() && t.elapsed() < 60000) QTest::qWait(1);
    return double(t.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: editor_seek VIDEO [SEEKS]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const int seeks = argc > 2 ? std::max(1, std::atoi(argv[2])) : 100;
    ts::editor::VideoPane pane;
    pane.resize(960, 520);
    static_cast<QWidget&>(pane).show();
    if (!pane.open(QString::fromLocal8Bit(argv[1]), false)) {
        std::fprintf(stderr, "editor_seek: cannot read %s\n", argv[1]);
        return 1;
    }
    QTest::qWait(500);
    // The user-interface thread's longest busy stretch: gaps between 2 ms ticks.
    QElapsedTimer beat;
    beat.start();
    qint64 lastBeat = 0;
    double busiest = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = beat.nsecsElapsed();
        busiest = std::max(busiest, double(now - lastBeat) / 1e6 - 2.0);
        lastBeat = now;
    });
    ticker.start(2);
    std::mt19937 rng(11);
    std::vector<double> jump, back, on;
    double call = 0, longestCall = 0;
    const int frames = pane.frameCount();
    for (int i = 0; i < seeks; ++i) {
        jump.push_back(timedMove(pane, int(rng() % unsigned(frames)), call));
        longestCall = std::max(longestCall, call);
    }
    const double busyJumps = busiest;
    for (int i = 0; i < 30; ++i) {
        const int at = 100 + int(rng() % unsigned(std::max(frames - 200, 1)));
        timedMove(pane, at, call);
        back.push_back(timedMove(pane, at - 1, call));
        longestCall = std::max(longestCall, call);
        on.push_back(timedMove(pane, at, call));
        on.push_back(timedMove(pane, at + 1, call));
        longestCall = std::max(longestCall, call);
    }
    std::printf("%s: %d frames of 1/30 s%s\n", argv[1], frames,
                pane.usingCopy() ? ", decoded from its quick-seeking working copy" : "");
    std::printf("go to a frame until its picture is shown: p50 %.0f ms, p95 %.0f ms, longest %.0f ms (%d jumps)\n",
                percentile(jump, 0.5), percentile(jump, 0.95), percentile(jump, 1.0), seeks);
    std::printf("one frame back: p50 %.1f ms, p95 %.1f ms; one frame on: p50 %.1f ms, p95 %.1f ms\n",
                percentile(back, 0.5), percentile(back, 0.95), percentile(on, 0.5), percentile(on, 0.95));
    std::printf(
        "user-interface thread busy at most %.1f ms during the jumps (%.1f ms overall); longest move call %.2f ms\n",
        busyJumps, busiest, longestCall);
    return 0;
}
