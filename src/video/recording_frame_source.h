// A frame source without a decoder, for tests: it paints each frame a grey
// level from its index and records which frames were asked for.
#pragma once
#include <vector>

#include "devices/frame_source.h"

namespace ts {

class RecordingFrameSource final : public FrameSource {
public:
    explicit RecordingFrameSource(int frames = 0) : frames_(frames) {}
    bool open(const std::string& path) override {
        opened.push_back(path);
        return frames_ > 0;
    }
    int length() const override { return frames_; }
    bool getFrame(int index, ViewFrame& out) override {
        requested.push_back(index);
        if (index < 0 || index >= frames_) return decodedAny_;
        const uint32_t grey = uint32_t(index % 256);
        std::fill(out.pixels.begin(), out.pixels.end(), 0xFF000000u | grey << 16 | grey << 8 | grey);
        decodedAny_ = true;
        return true;
    }
    std::vector<std::string> opened;
    std::vector<int> requested;

private:
    int frames_;
    bool decodedAny_ = false;
};

}  // namespace ts
