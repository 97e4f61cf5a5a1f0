// One 33 ms simulation step of a running train with 501-row signal and speed
// tables and 20 cars.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "driving_run.h"
#include "recording_message_boxes.h"
#include "sound/null_sound.h"
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

void BM_SimulationStep(benchmark::State& state) {
    const fs::path dir = fs::temp_directory_path() / "trainsim-step-bench";
    writeData(dir);
    const fs::path old = fs::current_path();
    fs::current_path(dir);
    ts::VirtualClock clock;
    ts::RecordingMessageBoxes boxes;
    NoPictures pictures;
    ts::NullSound sound;
    ts::RecordingFrameSource video;
    ts::RunHost host;
    ts::DrivingRun run("789", {boxes, clock, pictures, sound, video, host});
    run.formCreate();
    fs::current_path(old);
    run.start1Click();
    run.AsciiDown('f');
    run.AsciiDown('5');
    run.AsciiDown('8');
    run.locked([](ts::Run& r, ts::PanelModel&) {
        r.speed = 600000;
        r.bcPressure = 0;
        r.erPressure = 5000000;
    });
    for (auto _ : state) run.simulationStep();
    run.locked([&](ts::Run& r, ts::PanelModel&) { state.counters["position"] = r.trainPosition; });
}
BENCHMARK(BM_SimulationStep);

}  // namespace

BENCHMARK_MAIN();
