#include "wav_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "devices/file_check.h"

namespace ts {

double WaveSound::seconds() const {
    if (format.sampleRate == 0 || format.blockAlign == 0) return 0;
    return double(data.size() / format.blockAlign) / format.sampleRate;
}

namespace {

uint32_t le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

struct Chunk {
    size_t body = 0;  // offset of the chunk's data
    size_t size = 0;  // bytes really present
};

// Finds a sub-chunk with this id between `begin` and `end`.
std::optional<Chunk> findChunk(const std::vector<uint8_t>& b, size_t begin, size_t end, const char* id) {
    size_t p = begin;
    while (p + 8 <= end) {
        const uint32_t declared = le32(&b[p + 4]);
        const size_t body = p + 8;
        const size_t size = std::min<size_t>(declared, end - body);
        if (std::memcmp(&b[p], id, 4) == 0) return Chunk{body, size};
        // Chunks are padded to an even length.
        const size_t next = body + size_t(declared) + (declared & 1);
        if (next <= p || next > end) break;
        p = next;
    }
    return std::nullopt;
}

}  // namespace

std::optional<WaveSound> loadWav(const std::string& path, std::string& error) {
    // A folder, pipe or device counts as a missing file.
    std::vector<uint8_t> bytes;
    bool readable = checkFile(path) == FileRefusal::None;
    if (readable) {
        try {
            std::ifstream in(path, std::ios::binary);
            readable = bool(in);
            if (readable) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            readable = readable && !in.bad();
        } catch (const std::exception&) {
            readable = false;
        }
    }
    if (!readable) {
        error = path + "が、見つかりません";
        return std::nullopt;
    }
    return parseWav(bytes, path, error);
}

std::optional<WaveSound> parseWav(const std::vector<uint8_t>& b, const std::string& path, std::string& error) {
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(&b[8], "WAVE", 4) != 0) {
        error = path + "は、WAVEファイルではありません";
        return std::nullopt;
    }
    const size_t riffEnd = std::min<size_t>(b.size(), 8 + size_t(le32(&b[4])));
    auto fmt = findChunk(b, 12, riffEnd, "fmt ");
    if (!fmt) {
        error = path + "には、fmtチャンクが有りません";
        return std::nullopt;
    }
    if (fmt->size < 16) {
        error = path + "のfmtチャンクが不正です";
        return std::nullopt;
    }
    WaveSound w;
    const uint8_t* f = &b[fmt->body];
    w.format.formatTag = le16(f);
    w.format.channels = le16(f + 2);
    w.format.sampleRate = le32(f + 4);
    w.format.blockAlign = le16(f + 12);
    w.format.bitsPerSample = le16(f + 14);
    auto data = findChunk(b, 12, riffEnd, "data");
    if (!data) {
        error = path + "には、dataチャンクが有りません";
        return std::nullopt;
    }
    const WaveFormat& wf = w.format;
    const bool supported = wf.formatTag == 1 && (wf.channels == 1 || wf.channels == 2) &&
                           (wf.bitsPerSample == 8 || wf.bitsPerSample == 16) && wf.sampleRate > 0 &&
                           wf.blockAlign == wf.channels * wf.bitsPerSample / 8;
    if (!supported) {
        error = path + "サウンドバッファの作成に失敗しました";
        return std::nullopt;
    }
    const size_t whole = data->size / wf.blockAlign * wf.blockAlign;
    w.data.assign(b.begin() + std::ptrdiff_t(data->body), b.begin() + std::ptrdiff_t(data->body + whole));
    return w;
}

}  // namespace ts
