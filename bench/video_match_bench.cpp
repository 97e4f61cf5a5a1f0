// Fingerprinting a long 1080p video and matching a copy of it against the
// fingerprint, as packing and installing a route do: wall time of each step
// and the process's peak memory. Makes its own video (moving stripes and a
// counter of blocks, so that every half second differs) of SECONDS seconds.
// Usage: video_match_bench [SECONDS] [FOLDER]   (default 60 s, /tmp)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "pack/video_fingerprint.h"
#include "pack/video_match.h"
#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

using namespace ts;
using Clock = std::chrono::steady_clock;

namespace {

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

long peakKilobytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// A picture of the made-up ride at frame i: stripes that drift, and blocks that count the seconds.
void paint(std::vector<uint32_t>& px, int w, int h, int i) {
    const int second = i / 30;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int stripe = ((x + i * 7) / 97 + (y + second * 13) / 61) & 1;
            const int block = (second >> ((x * 8 / w) + (y * 2 / h) * 8)) & 1;
            const uint32_t v = uint32_t(60 + stripe * 80 + block * 90);
            px[size_t(y) * size_t(w) + size_t(x)] = 0xFF000000u | (v << 16) | ((v / 2) << 8) | (255 - v);
        }
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp";
    const std::string file = (folder / "video_match_bench_1080p.mp4").string();
    const int w = 1920, h = 1080;
    if (!std::filesystem::exists(file)) {
        VideoSettings s;
        s.width = w;
        s.height = h;
        s.gop = 30;
        s.quality = 30;
        s.threads = 2;
        VideoWriter out(file, s);
        std::vector<uint32_t> px(size_t(w) * h);
        for (int i = 0; i < seconds * 30; ++i) {
            paint(px, w, h, i);
            out.add(px.data());
        }
        if (!out.finish()) return 1;
    }
    FfmpegFrameSource video;
    video.setDecoderThreads(2, 0);
    if (!video.open(file)) return 1;
    const double minutes = video.length() / 30.0 / 60.0;

    auto t = Clock::now();
    const auto fingerprint = pack::fingerprintVideo(video, {}, {});
    const double fingerprinting = since(t);
    if (!fingerprint) return 1;

    FfmpegFrameSource copy;
    copy.setDecoderThreads(2, 0);
    copy.open(file);
    t = Clock::now();
    const auto hashes = pack::hashEveryFrame(copy, {});
    const double hashing = since(t);
    if (!hashes) return 1;
    t = Clock::now();
    const auto match = pack::matchVideo(*fingerprint, *hashes);
    const double matching = since(t);

    std::printf("video: %.2f min of 1920x1080 H.264, %d frames, %zu fingerprint samples\n", minutes, video.length(),
                fingerprint->samples.size());
    std::printf("fingerprint: %.1f s (%.1f s per hour of video)\n", fingerprinting, fingerprinting * 60 / minutes);
    std::printf("copy hashed: %.1f s (%.1f s per hour)\n", hashing, hashing * 60 / minutes);
    std::printf("matched: %.2f s (offset %.2f, rate %.6f, %d of %d match)\n", matching, match.offset, match.rate,
                match.matched, match.compared);
    // Matching alone grows with the samples times the copy's frames: an hour of
    // made-up hashes (a copy cut 3.5 s short) shows what an hour costs.
    std::mt19937_64 rng(1);
    std::vector<uint64_t> hour(108000);
    for (auto& v : hour) v = rng();
    pack::VideoFingerprint hourPrint;
    hourPrint.length = int(hour.size());
    for (int f = 0; f < hourPrint.length; f += pack::kSampleSpacing) hourPrint.samples.push_back({f, hour[size_t(f)]});
    const std::vector<uint64_t> hourCopy(hour.begin() + 105, hour.end());
    t = Clock::now();
    const auto hourMatch = pack::matchVideo(hourPrint, hourCopy);
    std::printf("an hour's hashes matched: %.2f s (offset %.2f, rate %.6f)\n", since(t), hourMatch.offset,
                hourMatch.rate);
    std::printf("peak memory: %.1f MB\n", peakKilobytes() / 1024.0);
    return match.accepted ? 0 : 1;
}
