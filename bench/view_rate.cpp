// Measures the driver's view in a real window: a run at the recorded speed for
// the given seconds (default 22), with the real timers and painting thread,
// then prints the frames the train moved onto and the frames painted.
// Run it under a display, e.g. xvfb-run -a view_rate DEMO_DIR.
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <cstdio>
#include <unistd.h>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "qt_timers.h"
#include "recording_message_boxes.h"
#include "title_window.h"
#include "value_window.h"

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: view_rate DATA_DIR [SECONDS]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 22;
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
    form->start1Click();
    // Follow the recording: the train runs at the recorded speed, a frame a tick.
    form->keyDown(ts::Key::F1, ts::ShiftState{true, false, false, false});
    form->asciiDown('f');
    form->run().locked([](ts::Run& r, ts::PanelModel&) { r.trainPosition = 300; });
    QTest::qWait(seconds * 1000);
    const auto requested = form->run().framesRequested();
    const auto painted = form->run().framesPainted();
    std::printf("frames requested %lld, painted %lld (%.2f %%) in %d s\n", (long long)requested, (long long)painted,
                requested ? 100.0 * painted / requested : 0.0, seconds);
    form->close();
    return 0;
}
