// Writes PCM wave files for sound tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ts::test {

// 16-bit mono sine tone.
std::string sineWave(double hz, double seconds, int rate = 22050, double amplitude = 0.8);
// A RIFF file with these raw chunks (id, bytes) and a declared RIFF size.
std::string riff(const std::vector<std::pair<std::string, std::string>>& chunks, int64_t riffSizeDelta = 0);
std::string fmtChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);

// Reads a mono 16-bit wave written by the mixer.
struct Samples {
    int rate = 0;
    std::vector<int16_t> data;
};
Samples readMono16(const std::string& path);

// Peak absolute amplitude (0..1) and zero-crossing frequency over [from, to) seconds.
double peak(const Samples& s, double from, double to);
double frequency(const Samples& s, double from, double to);

}  // namespace ts::test
