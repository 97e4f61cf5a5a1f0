// Frames of the driver's-view video by index, as pictures of the size asked for.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

constexpr int kViewWidth = 480;
constexpr int kViewHeight = 240;

// A picture of the view, one 0xAARRGGBB word per pixel, rows top to bottom:
// 480 x 240, or the size the view is shown at when the window is scaled.
struct ViewFrame {
    int width = kViewWidth;
    int height = kViewHeight;
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(kViewWidth) * kViewHeight, 0xFFFFFFFFu);

    // A frame of another size starts white, as a fresh one does.
    void resize(int w, int h) {
        if (w == width && h == height) return;
        width = w;
        height = h;
        pixels.assign(size_t(w) * size_t(h), 0xFFFFFFFFu);
    }
};

// How a picture whose shape is not the view's 2:1 is fitted into the view:
// cut to 2:1 around its centre, or shown whole between black bars.
enum class PictureFit { Crop, Letterbox };

// Every video is presented as frames of 1/30 s of its recording, whatever
// its own frame rate: frame i is the picture nearest to i / 30 s.
constexpr int kViewFramesPerSecond = 30;

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // How pictures of another shape are fitted; takes effect from the next frame.
    virtual void setFit(PictureFit) {}
    // Where the route's frames lie in this copy of the video (the route's
    // [VideoAlignment]): route frame f is the file's frame offset + f × rate /
    // 1e6, in frames of 1/30 s. Taken at the next open; length() then counts
    // the route's frames.
    virtual void setAlignment(int /*offsetFrames*/, int /*rateMillionths*/) {}
    // Opens a video file; false (and an empty source) when it cannot be read.
    virtual bool open(const std::string& path) = 0;
    // Number of frames; 0 when nothing is open.
    virtual int length() const = 0;
    // Decodes frame `index` into `out`, converted to out's size. An index outside the video leaves `out`
    // as it is; returns false when no frame was ever decoded.
    virtual bool getFrame(int index, ViewFrame& out) = 0;
};

}  // namespace ts
