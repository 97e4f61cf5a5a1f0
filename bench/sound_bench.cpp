// Sound bank figures: loading waves into OpenAL, and the delay from Play to
// sound in the mix (measured on OpenAL Soft's wave output).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "sound/openal_sound.h"

namespace {

namespace fs = std::filesystem;
const fs::path kDir = fs::temp_directory_path() / "trainsim-sound-bench";

void put16(std::string& s, uint16_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8);
}
void put32(std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i) s += char((v >> (8 * i)) & 0xFF);
}

std::string tone(double seconds, int rate = 22050) {
    std::string data;
    for (int i = 0; i < int(seconds * rate); ++i) put16(data, uint16_t(int16_t(20000 * std::sin(i * 0.1))));
    std::string f;
    put16(f, 1);
    put16(f, 1);
    put32(f, uint32_t(rate));
    put32(f, uint32_t(rate * 2));
    put16(f, 2);
    put16(f, 16);
    std::string body = "WAVEfmt ";
    put32(body, 16);
    body += f + "data";
    put32(body, uint32_t(data.size()));
    body += data;
    std::string out = "RIFF";
    put32(out, uint32_t(body.size()));
    return out + body;
}

void BM_Load100OneSecondWaves(benchmark::State& state) {
    fs::create_directories(kDir);
    for (int i = 0; i < 100; ++i)
        std::ofstream(kDir / ("w" + std::to_string(i) + ".wav"), std::ios::binary) << tone(1.0);
    ts::OpenAlSound bank(128);
    bank.errors.debugOption = 0;
    if (!bank.startUp()) {
        state.SkipWithError("no OpenAL device");
        return;
    }
    for (auto _ : state) {
        std::vector<ts::WavePtr> waves;
        for (int i = 0; i < 100; ++i)
            waves.push_back(bank.loadWave((kDir / ("w" + std::to_string(i) + ".wav")).string()));
        for (int i = 0; i < 100; ++i) bank.Channel(i).setWaveData(waves[size_t(i)]);
        for (int i = 0; i < 100; ++i) bank.Channel(i).setWaveData(nullptr);
        benchmark::DoNotOptimize(waves.data());
    }
}
BENCHMARK(BM_Load100OneSecondWaves)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // The null output: nothing is heard, every OpenAL call runs.
    setenv("ALSOFT_DRIVERS", "null", 0);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
