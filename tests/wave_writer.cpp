#include "wave_writer.h"

#include "little_endian.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace ts::test {

std::string fmtChunk(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    std::string f;
    put16(f, tag);
    put16(f, channels);
    put32(f, rate);
    put32(f, rate * channels * bits / 8);
    put16(f, uint16_t(channels * bits / 8));
    put16(f, bits);
    return f;
}

std::string riff(const std::vector<std::pair<std::string, std::string>>& chunks, int64_t delta) {
    std::string body = "WAVE";
    for (const auto& [id, bytes] : chunks) {
        body += id;
        put32(body, uint32_t(bytes.size()));
        body += bytes;
        if (bytes.size() & 1) body += '\0';
    }
    std::string out = "RIFF";
    put32(out, uint32_t(int64_t(body.size()) + delta));
    return out + body;
}

std::string sineWave(double hz, double seconds, int rate, double amplitude) {
    std::string data;
    const int n = int(seconds * rate);
    for (int i = 0; i < n; ++i) {
        const double v = amplitude * std::sin(2 * M_PI * hz * i / rate);
        put16(data, uint16_t(int16_t(std::lround(v * 32767))));
    }
    return riff({{"fmt ", fmtChunk(1, 1, uint32_t(rate), 16)}, {"data", data}});
}

Samples readMono16(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Samples s;
    size_t p = 12;
    while (p + 8 <= b.size()) {
        uint32_t size;
        std::memcpy(&size, &b[p + 4], 4);
        const std::string id = b.substr(p, 4);
        if (id == "fmt ") std::memcpy(&s.rate, &b[p + 12], 4);
        if (id == "data") {
            const size_t n = std::min<size_t>(size, b.size() - p - 8) / 2;
            s.data.resize(n);
            // An empty data chunk leaves the vector without storage to copy into.
            if (n > 0) std::memcpy(s.data.data(), &b[p + 8], n * 2);
            break;
        }
        p += 8 + size + (size & 1);
    }
    return s;
}

double peak(const Samples& s, double from, double to) {
    int m = 0;
    for (size_t i = size_t(from * s.rate); i < std::min(s.data.size(), size_t(to * s.rate)); ++i)
        m = std::max(m, std::abs(int(s.data[i])));
    return m / 32767.0;
}

double frequency(const Samples& s, double from, double to) {
    int crossings = 0;
    const size_t a = size_t(from * s.rate), b = std::min(s.data.size(), size_t(to * s.rate));
    for (size_t i = a + 1; i < b; ++i)
        if ((s.data[i - 1] < 0) != (s.data[i] < 0)) ++crossings;
    return crossings / 2.0 / (double(b - a) / s.rate);
}

}  // namespace ts::test
