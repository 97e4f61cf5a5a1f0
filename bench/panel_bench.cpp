// The driving window of the demo data set under the offscreen platform:
// loading each demo train (the first load in the process, then again), and
// redrawing the whole window (cab panel, view and read-outs) after a step.
// Run it from anywhere: panel_bench DEMO_DIR [benchmark options].
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

#include "app_state.h"
#include "driving_window.h"
#include "help_window.h"
#include "recording_message_boxes.h"
#include "title_window.h"
#include "value_window.h"
#include "virtual_clock.h"

namespace {

ts::TForm5* title = nullptr;

std::unique_ptr<ts::TForm1> load(const std::string& code) {
    return std::unique_ptr<ts::TForm1>(title->createDrivingWindow(code));
}

void BM_LoadDemoTrain(benchmark::State& state, const std::string& code) {
    for (auto _ : state) {
        auto form = load(code);
        state.PauseTiming();
        ts::app().current = nullptr;
        form.reset();
        state.ResumeTiming();
    }
}

void BM_PanelRender(benchmark::State& state) {
    auto form = load("789");
    form->show();
    QApplication::processEvents();
    form->start1Click();
    form->asciiDown('f');
    form->keyDown(ts::Key::F1, ts::ShiftState{true, false, false, false});
    QImage image(form->size() * form->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 3; ++i) form->run().simulationStep();
        form->run().presentationStep();
        form->paintRoutine();
        state.ResumeTiming();
        form->refresh();
        QPainter painter(&image);
        form->render(&painter);
    }
    ts::app().current = nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: panel_bench DEMO_DIR [benchmark options]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qargc = 1;
    QApplication app(qargc, argv);
    ts::RecordingMessageBoxes boxes;
    ts::VirtualClock clock;
    ts::app().boxes = &boxes;
    ts::app().timers = &clock;
    ts::app().startPainter = false;
    ts::app().help = new ts::TForm4;
    ts::app().valueDisplay = new ts::TForm3;
    title = new ts::TForm5;
    // The first load of a train pays for the libraries' and fonts' first use.
    benchmark::RegisterBenchmark("BM_LoadDemoTrain/789/first", BM_LoadDemoTrain, std::string("789"))
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadDemoTrain/40/first", BM_LoadDemoTrain, std::string("40"))
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadDemoTrain/789/again", BM_LoadDemoTrain, std::string("789"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadDemoTrain/40/again", BM_LoadDemoTrain, std::string("40"))
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PanelRender", BM_PanelRender)->Unit(benchmark::kMillisecond);
    char* args[64];
    int n = 0;
    args[n++] = argv[0];
    for (int i = 2; i < argc && n < 63; ++i) args[n++] = argv[i];
    benchmark::Initialize(&n, args);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
