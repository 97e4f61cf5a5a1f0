// Frame fetch at 480 x 240: H.264 in MP4 (GOP 30, B-frames) and MJPEG in AVI,
// and a 1920 x 1080 H.264 source scaled to the view, sequential and random access. Each fetch is timed; p50 and p95 are
// reported in milliseconds as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>

#include "video/ffmpeg_frame_source.h"
#include "video/video_writer.h"

namespace {

namespace fs = std::filesystem;
constexpr int kFrames = 900;

std::string makeVideo(const char* name, ts::VideoSettings s, int frames = kFrames) {
    const fs::path dir = fs::temp_directory_path() / "trainsim-fetch-bench";
    fs::create_directories(dir);
    const fs::path p = dir / name;
    if (fs::exists(p)) return p.string();
    ts::VideoWriter w(p.string(), s);
    std::vector<uint32_t> px(size_t(s.width) * size_t(s.height));
    std::mt19937 rng(1);
    for (int i = 0; i < frames; ++i) {
        // Moving stripes and some noise: a scene that changes every frame.
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const uint32_t v = uint32_t(((x + i * 4) ^ (y * 3)) & 0xFF);
                px[size_t(y) * size_t(s.width) + size_t(x)] = 0xFF000000u | v << 16 | (v / 2) << 8 | (rng() & 0x1F);
            }
        w.add(px.data());
    }
    w.finish();
    return p.string();
}

std::string h264() {
    ts::VideoSettings s;
    return makeVideo("h264.mp4", s);
}

std::string mjpeg() {
    ts::VideoSettings s;
    s.codec = ts::VideoCodec::MJPEG;
    s.quality = 4;
    return makeVideo("mjpeg.avi", s);
}

// Four seconds are enough at 1080p: random access stays within them.
constexpr int kLargeFrames = 120;

std::string h264Large() {
    ts::VideoSettings s;
    s.width = 1920;
    s.height = 1080;
    return makeVideo("h264-1080p.mp4", s, kLargeFrames);
}

// Times each fetch of the frame `nextIndex()` names at the frame's size and
// reports the median and the 95th percentile.
template <class Next>
void fetches(benchmark::State& state, const std::string& file, ts::ViewFrame frame, Next nextIndex) {
    ts::FfmpegFrameSource src;
    if (!src.open(file)) {
        state.SkipWithError("cannot open video");
        return;
    }
    std::vector<double> ms;
    for (auto _ : state) {
        const int index = nextIndex(src, frame);
        const auto t0 = std::chrono::steady_clock::now();
        src.getFrame(index, frame);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
}

void run(benchmark::State& state, const std::string& file, bool random, int frames = kFrames) {
    std::mt19937 rng(42);
    int next = 0;
    fetches(state, file, ts::ViewFrame{}, [&](ts::FfmpegFrameSource&, ts::ViewFrame&) {
        const int index = random ? int(rng() % unsigned(frames)) : next;
        next = (next + 1) % frames;
        return index;
    });
}

// The route editor's moves over a five-minute ride, shown at 944 x 472: a
// frame back (a seek to the keyframe before and a decode forward), a frame
// on, and 100 frames either way.
constexpr int kLongFrames = 9000;

std::string h264Long() {
    ts::VideoSettings s;
    return makeVideo("h264-long.mp4", s, kLongFrames);
}

void editorSteps(benchmark::State& state, int stride) {
    ts::ViewFrame frame;
    frame.resize(944, 472);
    int index = stride < 0 ? kLongFrames - 1 : 0;
    bool first = true;
    fetches(state, h264Long(), frame, [&](ts::FfmpegFrameSource& src, ts::ViewFrame& f) {
        // The cursor's frame is on screen before the first step.
        if (first) src.getFrame(index, f), first = false;
        index += stride;
        if (index < 0) index = kLongFrames - 1;
        if (index >= kLongFrames) index = 0;
        return index;
    });
}

void BM_EditorStepBack1(benchmark::State& s) { editorSteps(s, -1); }
void BM_EditorStepOn1(benchmark::State& s) { editorSteps(s, 1); }
void BM_EditorStepBack100(benchmark::State& s) { editorSteps(s, -100); }
void BM_EditorStepOn100(benchmark::State& s) { editorSteps(s, 100); }

void BM_H264Sequential(benchmark::State& s) { run(s, h264(), false); }
void BM_H264Random(benchmark::State& s) { run(s, h264(), true); }
void BM_MjpegSequential(benchmark::State& s) { run(s, mjpeg(), false); }
void BM_MjpegRandom(benchmark::State& s) { run(s, mjpeg(), true); }
void BM_H264_1080pScaledSequential(benchmark::State& s) { run(s, h264Large(), false, kLargeFrames); }
void BM_H264_1080pScaledRandom(benchmark::State& s) { run(s, h264Large(), true, kLargeFrames); }

BENCHMARK(BM_H264Sequential)->Unit(benchmark::kMillisecond)->Iterations(900);
BENCHMARK(BM_H264Random)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_MjpegSequential)->Unit(benchmark::kMillisecond)->Iterations(900);
BENCHMARK(BM_MjpegRandom)->Unit(benchmark::kMillisecond)->Iterations(600);
BENCHMARK(BM_H264_1080pScaledSequential)->Unit(benchmark::kMillisecond)->Iterations(120);
BENCHMARK(BM_EditorStepBack1)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_EditorStepOn1)->Unit(benchmark::kMillisecond)->Iterations(300);
BENCHMARK(BM_EditorStepBack100)->Unit(benchmark::kMillisecond)->Iterations(80);
BENCHMARK(BM_EditorStepOn100)->Unit(benchmark::kMillisecond)->Iterations(80);
BENCHMARK(BM_H264_1080pScaledRandom)->Unit(benchmark::kMillisecond)->Iterations(60);

}  // namespace

BENCHMARK_MAIN();
