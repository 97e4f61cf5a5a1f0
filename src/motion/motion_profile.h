// The picture's own motion, frame by frame: what a cab video tells about the
// train's speed without any other record. Each frame's optical flow against
// the frame before, over the lower part of the view where the ground lies,
// reduced to a few numbers per frame (kept beside the video, so that fitting
// the speed again after a new distance mark costs nothing).
#pragma once
#include <array>
#include <atomic>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace ts::motion {

// Rows of the analysed picture are gathered into this many bands, from
// kBandTop of the height down to kBandBottom.
constexpr int kBands = 16;
constexpr double kBandTop = 0.30;
constexpr double kBandBottom = 0.98;
// The analysed picture: the 2:1 view at a reduced size, grey.
constexpr int kAnalysisWidth = 320;
constexpr int kAnalysisHeight = 160;

// The rows [first, end) of band b, and the row at their middle (rows counted
// from the picture's top edge, so a pixel's middle is half a row below its
// index).
constexpr int bandFirstRow(int b) {
    const int top = int(kBandTop * kAnalysisHeight), bottom = int(kBandBottom * kAnalysisHeight);
    return top + (bottom - top) * b / kBands;
}
constexpr double bandMiddleRow(int b) { return 0.5 * (bandFirstRow(b) + bandFirstRow(b + 1)); }

struct FrameMotion {
    // Median vertical flow (pixels of the analysed picture, downwards
    // positive) of each band's textured pixels beside the track, from frame
    // i - 1 to frame i; NaN where a band has too little texture.
    std::array<float, kBands> down{};
    // Median length of the flow over the textured pixels of all bands: near 0
    // where nothing moves.
    float moving = 0;
    // Where the rails meet in the picture (rows of the analysed picture, from
    // the top of its first row): the ground's vanishing row read off the
    // track itself. NaN where the rails could not be followed.
    float railsRow = std::numeric_limits<float>::quiet_NaN();
};

struct MotionProfile {
    std::vector<FrameMotion> frames;  // frame 0 has no motion of its own (that of the first step)
    int size() const { return int(frames.size()); }
};

// The motion measured from frame `from` to frame `to` (a step of one frame
// where anything moves, of several where the picture stands), per frame.
struct MotionStep {
    int from = 0, to = 0;
    FrameMotion motion;
};

// Each of `n` frames' motion from the steps (in order, covering the video):
// between the middles of two steps it runs straight from one to the other,
// a band with no say (NaN) in one taking the other's; before the first and
// after the last middle it holds.
MotionProfile motionOfFrames(const std::vector<MotionStep>& steps, int n);

// Progress from 0 to 1; true from `cancel` stops the analysis (nullopt).
struct AnalysisControl {
    std::function<void(double)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

// Analyses every frame (of 1/30 s of recording) of the video; nullopt when it
// cannot be opened or was cancelled (`error` then says which).
std::optional<MotionProfile> analyseVideo(const std::string& videoPath, const AnalysisControl& control,
                                          std::string* error = nullptr);

// The cache beside the video ("<video>.motion"), valid while the video keeps
// its size and modification time.
std::string cachePath(const std::string& videoPath);
std::optional<MotionProfile> readCache(const std::string& videoPath);
bool writeCache(const std::string& videoPath, const MotionProfile& profile);

// The cache when it is valid, else an analysis written to the cache.
std::optional<MotionProfile> loadOrAnalyse(const std::string& videoPath, const AnalysisControl& control,
                                           std::string* error = nullptr, bool* fromCache = nullptr);

}  // namespace ts::motion
