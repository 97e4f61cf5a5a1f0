// Frames of the driver's-view video by index, as 480 x 240 pictures.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ts {

constexpr int kViewWidth = 480;
constexpr int kViewHeight = 240;

// A 480 x 240 picture, one 0xAARRGGBB word per pixel, rows top to bottom.
struct ViewFrame {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(size_t(kViewWidth) * kViewHeight, 0xFFFFFFFFu);
};

class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Opens a video file; false (and an empty source) when it cannot be read.
    virtual bool open(const std::string& path) = 0;
    // Number of frames; 0 when nothing is open.
    virtual int length() const = 0;
    // Decodes frame `index` into `out`. An index outside the video leaves `out`
    // as it is; returns false when no frame was ever decoded.
    virtual bool getFrame(int index, ViewFrame& out) = 0;
};

}  // namespace ts
