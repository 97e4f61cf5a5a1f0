#include "pack/video_fingerprint.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdio>
#include <set>

namespace ts::pack {

namespace {

constexpr int kHashColumns = 9, kHashRows = 8;
// Samples within this many frames of a station's stop frame.
constexpr int kStationReach = kViewFramesPerSecond;
constexpr int kStationSpacing = 3;
// More lines than an hour-long fingerprint could have is not a fingerprint.
constexpr size_t kMaxSamples = 2'000'000;

int grey(uint32_t argb) {
    const int r = int((argb >> 16) & 0xFF), g = int((argb >> 8) & 0xFF), b = int(argb & 0xFF);
    return (r * 299 + g * 587 + b * 114) / 1000;
}

ViewFrame hashPicture() {
    ViewFrame f;
    f.resize(kHashPictureWidth, kHashPictureHeight);
    return f;
}

}  // namespace

uint64_t differenceHash(const ViewFrame& picture) {
    if (picture.width <= 0 || picture.height <= 0) return 0;
    // Area averages over a 9 × 8 grid of the picture.
    int cells[kHashRows][kHashColumns];
    for (int gy = 0; gy < kHashRows; ++gy) {
        const int y0 = gy * picture.height / kHashRows, y1 = std::max(y0 + 1, (gy + 1) * picture.height / kHashRows);
        for (int gx = 0; gx < kHashColumns; ++gx) {
            const int x0 = gx * picture.width / kHashColumns,
                      x1 = std::max(x0 + 1, (gx + 1) * picture.width / kHashColumns);
            int64_t sum = 0, n = 0;
            for (int y = y0; y < std::min(y1, picture.height); ++y)
                for (int x = x0; x < std::min(x1, picture.width); ++x, ++n)
                    sum += grey(picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)]);
            cells[gy][gx] = n ? int(sum * 16 / n) : 0;  // sixteenths keep small steps apart
        }
    }
    uint64_t h = 0;
    for (int gy = 0; gy < kHashRows; ++gy)
        for (int gx = 0; gx + 1 < kHashColumns; ++gx) h = (h << 1) | (cells[gy][gx] > cells[gy][gx + 1] ? 1u : 0u);
    return h;
}

int hashDistance(uint64_t a, uint64_t b) { return std::popcount(a ^ b); }

std::optional<VideoFingerprint> fingerprintVideo(FrameSource& video, const std::vector<int>& stationFrames,
                                                 const Progress& progress) {
    const int length = video.length();
    if (length <= 0) return std::nullopt;
    std::set<int> frames;
    for (int f = 0; f < length; f += kSampleSpacing) frames.insert(f);
    for (int s : stationFrames)
        for (int f = s - kStationReach; f <= s + kStationReach; f += kStationSpacing)
            if (f >= 0 && f < length) frames.insert(f);
    VideoFingerprint out;
    out.length = length;
    out.samples.reserve(frames.size());
    ViewFrame picture = hashPicture();
    size_t done = 0;
    for (int f : frames) {
        if (!video.getFrame(f, picture)) return std::nullopt;
        out.samples.push_back({f, differenceHash(picture)});
        if (progress && ++done % 32 == 0 && !progress(double(done) / double(frames.size()))) return std::nullopt;
    }
    return out;
}

std::optional<std::vector<uint64_t>> hashEveryFrame(FrameSource& video, const Progress& progress) {
    const int length = video.length();
    if (length <= 0) return std::nullopt;
    std::vector<uint64_t> hashes(size_t(length), 0);
    ViewFrame picture = hashPicture();
    for (int f = 0; f < length; ++f) {
        if (!video.getFrame(f, picture)) return std::nullopt;
        hashes[size_t(f)] = differenceHash(picture);
        if (progress && f % 64 == 0 && !progress(double(f) / double(length))) return std::nullopt;
    }
    return hashes;
}

std::string fingerprintText(const VideoFingerprint& fingerprint) {
    std::string out = "length " + std::to_string(fingerprint.length) + "\n";
    char line[48];
    for (const FingerprintSample& s : fingerprint.samples) {
        std::snprintf(line, sizeof line, "%d %016llx\n", s.frame, static_cast<unsigned long long>(s.hash));
        out += line;
    }
    return out;
}

std::optional<VideoFingerprint> parseFingerprint(std::string_view text) {
    VideoFingerprint out;
    bool first = true;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const char* b = line.data();
        const char* e = b + line.size();
        if (first) {
            if (line.substr(0, 7) != "length ") return std::nullopt;
            const auto r = std::from_chars(b + 7, e, out.length);
            if (r.ec != std::errc() || r.ptr != e || out.length <= 0) return std::nullopt;
            first = false;
            continue;
        }
        FingerprintSample s;
        auto r = std::from_chars(b, e, s.frame);
        if (r.ec != std::errc() || r.ptr == e || *r.ptr != ' ' || s.frame < 0 || s.frame >= out.length)
            return std::nullopt;
        r = std::from_chars(r.ptr + 1, e, s.hash, 16);
        if (r.ec != std::errc() || r.ptr != e) return std::nullopt;
        if (!out.samples.empty() && s.frame <= out.samples.back().frame) return std::nullopt;
        if (out.samples.size() >= kMaxSamples) return std::nullopt;
        out.samples.push_back(s);
    }
    if (first || out.samples.empty()) return std::nullopt;
    return out;
}

}  // namespace ts::pack
