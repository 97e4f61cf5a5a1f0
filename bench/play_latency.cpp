// Measures the delay from Play to sound in the mix: the mix goes to a wave
// file in real time, and the first sounding sample is compared with the wall
// time of the Play call. Prints one line per try and the median.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "sound/openal_sound.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

int main() {
    const fs::path dir = fs::temp_directory_path() / "trainsim-latency";
    fs::create_directories(dir);
    std::ofstream(dir / "al.conf")
        << "[general]\ndrivers=wave\nchannels=mono\nsample-type=int16\nfrequency=22050\n[wave]\nfile="
        << (dir / "mix.wav").string() << "\n";
    setenv("ALSOFT_CONF", (dir / "al.conf").c_str(), 1);
    {
        // A click: one second of full-scale square wave.
        std::string data;
        for (int i = 0; i < 22050; ++i) {
            const int16_t v = (i / 20) % 2 ? 20000 : -20000;
            data += char(v & 0xFF);
            data += char((v >> 8) & 0xFF);
        }
        auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
        std::string fmt =
            std::string("\x01\x00\x01\x00", 4) + le32(22050) + le32(44100) + std::string("\x02\x00\x10\x00", 4);
        std::string body = "WAVEfmt " + le32(16) + fmt + "data" + le32(uint32_t(data.size())) + data;
        std::ofstream(dir / "click.wav", std::ios::binary) << "RIFF" << le32(uint32_t(body.size())) << body;
    }
    std::vector<double> ms;
    for (int t = 0; t < 7; ++t) {
        double playAt = 0;
        {
            ts::OpenAlSound bank(8);
            bank.errors.debugOption = 0;
            const auto opened = Clock::now();
            if (!bank.startUp()) return 1;
            bank.Channel(0).setWaveData(bank.loadWave((dir / "click.wav").string()));
            std::this_thread::sleep_for(std::chrono::milliseconds(300 + 37 * t));
            playAt = std::chrono::duration<double>(Clock::now() - opened).count();
            bank.Channel(0).Play();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        std::ifstream in(dir / "mix.wav", std::ios::binary);
        const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const size_t data = b.find("data") + 8;
        size_t first = 0;
        for (size_t i = data; i + 1 < b.size(); i += 2) {
            int16_t v;
            std::memcpy(&v, &b[i], 2);
            if (std::abs(v) > 1000) {
                first = (i - data) / 2;
                break;
            }
        }
        const double latency = (first / 22050.0 - playAt) * 1000;
        std::printf("try %d: %.1f ms\n", t, latency);
        ms.push_back(latency);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("median Play-to-mix delay: %.1f ms\n", ms[ms.size() / 2]);
    fs::remove_all(dir);
    return 0;
}
