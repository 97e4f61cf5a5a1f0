// The two steps of a running train with 501-row signal and speed tables and
// 20 cars: the 33 ms simulation step, and the 100 ms event-and-presentation
// step on a device-free sound bank of 128 channels.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "recording_message_boxes.h"
#include "run/driving_run.h"
#include "sound/null_sound.h"
#include "sound/recording_sound.h"
#include "video/recording_frame_source.h"
#include "virtual_clock.h"

namespace {

namespace fs = std::filesystem;

class NoPictures final : public ts::PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return 0; }
    ts::PictureSize size(int) const override { return {50, 50}; }
};

void writeData(const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream(dir / "mascon.txt") << "#\n";
    std::ofstream(dir / "string.txt") << "";
    std::ofstream line(dir / "789_line.txt");
    line << "[StartPos]\n100\n[FrameRate]\n30\n[StartTime]\n864000\n[Signal]\n";
    for (int i = 0; i < 501; ++i)
        line << "0,S" << i << ",3," << i * 200 << "," << i * 200 + 200 << "," << i * 200 + 150 << "," << i * 200 + 190
             << ",0,0\n";
    line << "#\n[SpeedUnit]\n";
    for (int i = 0; i < 501; ++i) line << i * 200 << "," << i * 200 + 200 << ",60,70\n";
    line << "#\n";
    std::ofstream train(dir / "789_train.txt");
    train << "[Handle]\n0\n[BrakeType]\n1\n[Brake]\n8\n[Power]\n1\n[BrakeRate]\n4.0\n[PowerDelay]\n1\n[BrakeDelay]\n1\n"
             "[BrakeUp]\n200\n[BrakeDown]\n300\n[EBPress]\n440\n[HighAirPress]\n880\n[LowAirPress]\n780\n"
             "[Engine_Type]\n1\n[Mt]\n400\n[Cars]\n20\n[Tons]\n700\n[MaxSpeed]\n130\n[Mc]\n1\n"
             "[Notch]\n3.0\n2.5\n40\n80\n0.98\n#\n";
}

// A run of the 501-row line, started and moving.
struct RunningTrain {
    ts::VirtualClock clock;
    ts::RecordingMessageBoxes boxes;
    NoPictures pictures;
    ts::RecordingSound sound{128, [] { return int64_t(0); }};
    ts::RecordingFrameSource video;
    ts::RunHost host;
    std::unique_ptr<ts::DrivingRun> run;

    RunningTrain() {
        const fs::path dir = fs::temp_directory_path() / "trainsim-step-bench";
        writeData(dir);
        const fs::path old = fs::current_path();
        fs::current_path(dir);
        sound.startUp();
        run = std::make_unique<ts::DrivingRun>("789", ts::RunServices{boxes, clock, pictures, sound, video, host});
        run->formCreate();
        fs::current_path(old);
        run->start1Click();
        run->AsciiDown('f');
        run->AsciiDown('5');
        run->AsciiDown('8');
        run->locked([](ts::Run& r, ts::PanelModel&) {
            r.speed = 600000;
            r.bcPressure = 0;
            r.erPressure = 5000000;
        });
    }
};

void BM_SimulationStep(benchmark::State& state) {
    RunningTrain t;
    for (auto _ : state) t.run->simulationStep();
    t.run->locked([&](ts::Run& r, ts::PanelModel&) { state.counters["position"] = r.trainPosition; });
}
BENCHMARK(BM_SimulationStep);

void BM_PresentationStep(benchmark::State& state) {
    RunningTrain t;
    int64_t n = 0;
    for (auto _ : state) {
        // Three simulation steps to each presentation step, as the timers run them.
        state.PauseTiming();
        for (int i = 0; i < 3; ++i) t.run->simulationStep();
        if (++n % 64 == 0) t.sound.takeOps();  // the sound log would grow without bound
        state.ResumeTiming();
        t.run->presentationStep();
    }
}
BENCHMARK(BM_PresentationStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
