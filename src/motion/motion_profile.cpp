#include "motion/motion_profile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/video/tracking.hpp>

#include "motion/hand_over.h"
#include "motion/rails_row.h"
#include "text/our_text.h"
#include "video/ffmpeg_frame_source.h"

namespace ts::motion {

namespace {

namespace fs = std::filesystem;

// Sobel |dx| + |dy| (of 0-255 grey) from which a pixel counts as textured.
constexpr int kTextureThreshold = 40;
constexpr size_t kMinTexturedPixels = 12;

float median(std::vector<float>& v) {
    if (v.empty()) return 0;
    const auto mid = v.begin() + ptrdiff_t(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

cv::Mat greyOf(const ViewFrame& f) {
    const cv::Mat bgra(f.height, f.width, CV_8UC4, const_cast<uint32_t*>(f.pixels.data()));
    cv::Mat grey;
    cv::cvtColor(bgra, grey, cv::COLOR_BGRA2GRAY);
    return grey;
}

// Where the picture has texture: the flow of a plain surface (sky, a bare
// platform, a wall) is only filled in from its edges, and says nothing.
cv::Mat texturedMask(const cv::Mat& grey) {
    cv::Mat gx, gy, mag;
    cv::Sobel(grey, gx, CV_16S, 1, 0, 3);
    cv::Sobel(grey, gy, CV_16S, 0, 1, 3);
    cv::Mat ax, ay;
    cv::convertScaleAbs(gx, ax);
    cv::convertScaleAbs(gy, ay);
    cv::add(ax, ay, mag);
    return mag > kTextureThreshold;
}

FrameMotion measure(const cv::Mat& flow, const cv::Mat& textured) {
    FrameMotion m;
    // The ground either side of the track: not the middle third, where the
    // sleepers' even spacing lets the flow take one sleeper for the next at
    // speed, nor the outer tenths, where lineside objects stand.
    const int outer = flow.cols / 10, inner = flow.cols / 3;
    std::vector<float> down, all;
    for (int b = 0; b < kBands; ++b) {
        down.clear();
        for (int y = bandFirstRow(b); y < bandFirstRow(b + 1); ++y) {
            const auto* row = flow.ptr<cv::Vec2f>(y);
            const auto* mask = textured.ptr<uint8_t>(y);
            for (int x = outer; x < flow.cols - outer; ++x) {
                if ((x >= inner && x < flow.cols - inner) || !mask[x]) continue;
                down.push_back(row[x][1]);
                all.push_back(std::hypot(row[x][0], row[x][1]));
            }
        }
        // Too few textured pixels: the band has no say (NaN).
        m.down[size_t(b)] = down.size() >= kMinTexturedPixels ? median(down) : std::nanf("");
    }
    m.moving = median(all);
    return m;
}

struct CacheHeader {
    char magic[8] = {'T', 'S', 'M', 'O', 'T', 'N', '0', '2'};
    int64_t videoSize = 0;
    int64_t videoTime = 0;
    int32_t frames = 0;
    int32_t bands = kBands;
};

// A decoded picture on its way to the flow.
struct Picture {
    int frame = 0;
    cv::Mat grey, textured;
};

// The rails' meeting point in the bands' rows: the rails are found at pixel
// indices (a pixel's middle at its index), the bands count rows from the
// picture's top edge (a pixel's middle half a row below its index).
float railsRowOf(const cv::Mat& grey) {
    const auto row = railsVanishingRow({grey.ptr(), grey.cols, grey.rows, int(grey.step)});
    return row ? float(*row + 0.5) : std::nanf("");
}

// Enough to ride out a slow picture (a keyframe) on either side; a few
// hundred kilobytes.
constexpr size_t kPicturesInFlight = 8;

// On every way out of the analysis: the decoding thread is told to stop and
// waited for, before the source it reads goes.
struct DecoderJoin {
    HandOver<Picture>& pictures;
    std::thread& thread;
    ~DecoderJoin() {
        pictures.stop();
        thread.join();
    }
};

// The flow's size comes out short where it is a fraction of a pixel (a tenth
// short below 0.3 pixels a frame against the true motion of the project's
// test videos). So each step is long enough for the nearest band to move
// kLeastStepFlow pixels, up to kStillStep frames: one frame at speed, two or
// three while the train starts or stops. Where the picture stands still
// (below kStillFlow pixels a frame, a train at rest) the steps are kStillStep
// frames: a quarter of the flows on a video's stands, and the stand's ends
// still found to a few frames. The step follows from the motion measured,
// never from timing, so that a video's analysis is the same every time.
constexpr float kStillFlow = 0.3f;
constexpr int kStillStep = 4;
constexpr float kLeastStepFlow = 3;

int stepAfter(const FrameMotion& perFrame) {
    // The largest motion of a frame: the nearest band's (the ground nearest
    // the camera runs fastest) or the flow's median length (a turn, a pan).
    float largest = perFrame.moving;
    for (float d : perFrame.down)
        if (!std::isnan(d)) largest = std::max(largest, std::abs(d));
    if (largest < kStillFlow) return kStillStep;
    return std::clamp(int(std::ceil(double(kLeastStepFlow) / largest)), 1, kStillStep);
}

FrameMotion perFrame(FrameMotion m, int frames) {
    for (float& d : m.down) d /= float(frames);
    m.moving /= float(frames);
    return m;
}

float between(float a, float b, float t) {
    if (std::isnan(a)) return b;
    if (std::isnan(b)) return a;
    return a + (b - a) * t;
}

bool videoStamp(const std::string& videoPath, int64_t& size, int64_t& time) {
    std::error_code ec;
    const auto s = fs::file_size(videoPath, ec);
    if (ec) return false;
    const auto t = fs::last_write_time(videoPath, ec);
    if (ec) return false;
    size = int64_t(s);
    time = int64_t(t.time_since_epoch().count());
    return true;
}

}  // namespace

// A step's motion stands at its middle, and a frame between two middles
// takes the straight line between them, so that the speed has no stairs.
MotionProfile motionOfFrames(const std::vector<MotionStep>& steps, int n) {
    MotionProfile profile;
    profile.frames.resize(size_t(n));
    if (steps.empty()) return profile;
    // The middle of a frame's own motion is half a frame before it.
    auto middle = [](const MotionStep& s) { return 0.5 * (s.from + s.to); };
    size_t k = 0;
    for (int i = 0; i < n; ++i) {
        const double at = i - 0.5;
        while (k + 1 < steps.size() && middle(steps[k + 1]) <= at) ++k;
        const MotionStep& a = steps[k];
        if (k + 1 == steps.size() || at <= middle(a)) {
            profile.frames[size_t(i)] = a.motion;
            continue;
        }
        const MotionStep& b = steps[k + 1];
        const auto t = float((at - middle(a)) / (middle(b) - middle(a)));
        FrameMotion& m = profile.frames[size_t(i)];
        for (size_t band = 0; band < m.down.size(); ++band)
            m.down[band] = between(a.motion.down[band], b.motion.down[band], t);
        m.moving = between(a.motion.moving, b.motion.moving, t);
        m.railsRow = between(a.motion.railsRow, b.motion.railsRow, t);
    }
    return profile;
}

std::optional<MotionProfile> analyseVideo(const std::string& videoPath, const AnalysisControl& control,
                                          std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<MotionProfile> {
        if (error) *error = why;
        return std::nullopt;
    };
    FfmpegFrameSource source;
    // Two threads decode large pictures faster when played straight through,
    // and the loop filter only polishes what the flow does not need.
    source.setDecoderThreads(2, 0);
    source.setQuickDecode(true);
    if (!source.open(videoPath) || source.length() < 2)
        return fail(trText("SpeedFromVideo", "the video cannot be read"));
    const int n = source.length();
    // The pictures are decoded on a thread of their own while the flow of the
    // ones before is measured here: each side takes a good part of the time,
    // and the machine has more than one core. Every frame is decoded (the
    // source decodes the pictures between anyway); only the flow skips.
    HandOver<Picture> pictures(kPicturesInFlight);
    std::thread decoder([&] {
        try {
            ViewFrame frame;
            frame.resize(kAnalysisWidth, kAnalysisHeight);
            for (int i = 0; i < n; ++i) {
                if (!source.getFrame(i, frame)) break;
                if (!pictures.put({i, greyOf(frame), {}})) break;
            }
        } catch (const std::exception&) {
            // Ends the pictures early: the analysis says the video cannot be decoded.
        }
        pictures.close();
    });
    const DecoderJoin join{pictures, decoder};
    const auto undecodable = [&] { return fail(trText("SpeedFromVideo", "the video cannot be decoded")); };
    cv::Ptr<cv::DISOpticalFlow> dis = cv::DISOpticalFlow::create(cv::DISOpticalFlow::PRESET_MEDIUM);
    std::vector<MotionStep> steps;
    std::optional<Picture> previous = pictures.take();
    if (!previous) return undecodable();
    // The last step's flow starts the next one's search (scaled to its length).
    cv::Mat flow;
    int step = 1, lastStep = 1;
    while (previous->frame < n - 1) {
        if (control.cancel && control.cancel->load()) return fail("cancelled");
        const int to = std::min(previous->frame + step, n - 1);
        std::optional<Picture> p;
        do {
            p = pictures.take();
        } while (p && p->frame < to);
        if (!p) return undecodable();
        const int frames = p->frame - previous->frame;
        if (!flow.empty() && frames != lastStep) flow *= double(frames) / lastStep;
        dis->calc(previous->grey, p->grey, flow);
        previous->textured = texturedMask(previous->grey);
        FrameMotion motion = perFrame(measure(flow, previous->textured), frames);
        // The rails as the step leaves them: a jump of the picture between
        // two frames shows as the step's change of rows. (Here rather than
        // beside the decoding, which takes the longer, and only for the
        // pictures a step ends on.)
        motion.railsRow = railsRowOf(p->grey);
        steps.push_back({previous->frame, p->frame, motion});
        lastStep = frames;
        step = stepAfter(steps.back().motion);
        if (control.progress && previous->frame / 64 != p->frame / 64) control.progress(double(p->frame + 1) / n);
        previous = std::move(p);
    }
    if (control.progress) control.progress(1.0);
    return motionOfFrames(steps, n);
}

std::string cachePath(const std::string& videoPath) { return videoPath + ".motion"; }

std::optional<MotionProfile> readCache(const std::string& videoPath) {
    CacheHeader want;
    if (!videoStamp(videoPath, want.videoSize, want.videoTime)) return std::nullopt;
    std::ifstream in(cachePath(videoPath), std::ios::binary);
    if (!in) return std::nullopt;
    CacheHeader got;
    in.read(reinterpret_cast<char*>(&got), sizeof got);
    if (!in || std::memcmp(got.magic, want.magic, sizeof got.magic) != 0 || got.videoSize != want.videoSize ||
        got.videoTime != want.videoTime || got.bands != kBands || got.frames < 2 || got.frames > 50'000'000)
        return std::nullopt;
    MotionProfile p;
    p.frames.resize(size_t(got.frames));
    in.read(reinterpret_cast<char*>(p.frames.data()), std::streamsize(p.frames.size() * sizeof(FrameMotion)));
    if (!in || in.peek() != std::char_traits<char>::eof()) return std::nullopt;
    return p;
}

bool writeCache(const std::string& videoPath, const MotionProfile& profile) {
    CacheHeader h;
    if (!videoStamp(videoPath, h.videoSize, h.videoTime)) return false;
    h.frames = int32_t(profile.frames.size());
    // Written beside and renamed, so that a reader never sees half a cache.
    const std::string path = cachePath(videoPath), part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(&h), sizeof h);
        out.write(reinterpret_cast<const char*>(profile.frames.data()),
                  std::streamsize(profile.frames.size() * sizeof(FrameMotion)));
        if (!out.flush()) {
            std::error_code ec;
            fs::remove(part, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(part, path, ec);
    if (!ec) return true;
    fs::remove(part, ec);
    return false;
}

std::optional<MotionProfile> loadOrAnalyse(const std::string& videoPath, const AnalysisControl& control,
                                           std::string* error, bool* fromCache) {
    if (auto cached = readCache(videoPath)) {
        if (fromCache) *fromCache = true;
        if (control.progress) control.progress(1.0);
        return cached;
    }
    if (fromCache) *fromCache = false;
    auto p = analyseVideo(videoPath, control, error);
    if (p) writeCache(videoPath, *p);  // a read-only folder only costs the next run the analysis
    return p;
}

}  // namespace ts::motion
