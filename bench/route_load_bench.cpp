// Loading a full-size route file: 501 rows in every table, 100 stations.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "data/route_reader.h"
#include "recording_message_boxes.h"

namespace {

class NoPictures final : public ts::PictureLoader {
public:
    std::optional<int> load(const std::string&) override { return 0; }
    ts::PictureSize size(int) const override { return {50, 50}; }
};

std::string writeRoute() {
    std::string t = "[LineName]\nBench line\n[StartPos]\n100\n[FrameRate]\n30\n[StartTime]\n864000\n";
    auto rows = [&](const char* marker, auto row) {
        t += marker;
        t += "\n";
        for (int i = 0; i < 501; ++i) t += row(i) + "\n";
        t += "#\n";
    };
    t += "[SoundData]\n";
    for (int i = 0; i < 100; ++i) t += "s" + std::to_string(i) + ".wav\n";
    t += "#\n[Station]\n";
    for (int i = 0; i < 100; ++i)
        t += "Station " + std::to_string(i) + ",0," + std::to_string(i * 1000) + "," + std::to_string(i * 1000 + 20) +
             ",0,900000,899000,150000\n";
    t += "#\n";
    rows("[Signal]", [](int i) {
        return "0,S" + std::to_string(i) + ",3," + std::to_string(i * 100) + "," + std::to_string(i * 100 + 100) +
               ",90,95,0,0";
    });
    rows("[Slope]", [](int i) { return "2.5," + std::to_string(i * 100) + "," + std::to_string(i * 100 + 50); });
    rows("[Sign]", [](int i) { return "1," + std::to_string(i * 100) + "," + std::to_string(i * 100 + 50); });
    rows("[SpeedLimit]", [](int i) { return "60," + std::to_string(i) + ",2,3"; });
    rows("[SpeedCheck]", [](int i) { return "60," + std::to_string(i); });
    rows("[Sound]", [](int i) { return "1," + std::to_string(i) + ",2,1,0"; });
    rows("[Announce]", [](int i) { return "1," + std::to_string(i); });
    rows("[Doppler]", [](int i) { return "1," + std::to_string(i) + ",2,3"; });
    rows("[SpeedUnit]", [](int i) { return std::to_string(i * 100) + "," + std::to_string(i * 100 + 100) + ",60,60"; });
    const auto path = std::filesystem::temp_directory_path() / "trainsim-bench_line.txt";
    std::ofstream(path, std::ios::binary) << t;
    return path.string();
}

void BM_LoadRoute501Rows(benchmark::State& state) {
    const std::string path = writeRoute();
    NoPictures pictures;
    ts::RecordingMessageBoxes boxes;
    for (auto _ : state) {
        ts::RouteData route;
        ts::readRouteFile(path, route, pictures, boxes);
        benchmark::DoNotOptimize(route.stationTable.data());
    }
}
BENCHMARK(BM_LoadRoute501Rows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
